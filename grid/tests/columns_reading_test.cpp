// Column properties through the public calls, the shown grid and the form
// streams a designer writes and a program reads.
#include "FormTextFixture.h"
#include "ShownGridFixture.h"
#include "StubDateTimeDef.h"

#include "grid/model/Columns.h"
#include "grid/model/Combo.h"
#include "grid/model/CurrentCell.h"
#include "grid/model/InplaceControl.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace grid;

namespace {

class ColumnsReading : public ShownGridFixture {
protected:
    // The colour painted in the middle of a data cell.
    TColor CellPixel(int DataCol, int DataRow) {
        Grid->Update();
        const TRect R = Grid->CellRect(Grid->GetDisplayCol(DataCol), Grid->GetDisplayRow(DataRow));
        return Grid->Canvas()->Pixels((R.Left + R.Right) / 2, R.Bottom - 2);
    }
};

TEST_F(ColumnsReading, NewColumnsTakeTheBaseWidthAndTheirOwnPosition) {
    ShowGrid(4, 3);
    for (int C = 1; C <= 4; ++C) {
        TgxCol* Col = Grid->GetCol(C);
        EXPECT_EQ(Col->DisplayCol(), C);
        EXPECT_EQ(Col->Width(), Grid->ColWidths(C));
        EXPECT_TRUE(Col->DefaultProps());
    }
    Grid->SetGridColCount(6);
    EXPECT_EQ(Grid->GetCol(6)->DisplayCol(), 6);
    EXPECT_TRUE(Grid->GetCol(6)->Empty());
}

TEST_F(ColumnsReading, DisplayPositionsOutsideTheColumnsChangeNothing) {
    ShowGrid(4, 3);
    std::vector<int> Moves;
    Grid->OnColMoved = [&](TObject*, int To, int Count, bool ByUser) {
        Moves.push_back(To * 100 + Count * 10 + (ByUser ? 1 : 0));
    };
    for (int P : {0, -1, 5, 2})
        Grid->GetCol(2)->SetDisplayCol(P);
    EXPECT_TRUE(Moves.empty());
    Grid->GetCol(2)->SetDisplayCol(4);
    EXPECT_EQ(Grid->GetCol(2)->DisplayCol(), 4);
    EXPECT_EQ(Grid->GetDataCol(4), 2);
    EXPECT_EQ(Grid->GetCol(4)->DisplayCol(), 3);
    EXPECT_EQ(Moves, std::vector<int>{410});
}

TEST_F(ColumnsReading, AlignmentPairsFollowEachOther) {
    ShowGrid(3, 3);
    TgxCol* C = Grid->GetCol(1);
    C->SetHorzAlignment(htaRight);
    EXPECT_EQ(C->Alignment(), taRightJustify);
    EXPECT_TRUE(C->Align());
    C->SetAlign(false);
    EXPECT_EQ(C->HorzAlignment(), htaDefault);
    C->SetAlignment(taCenter);
    C->SetAlign(true);
    EXPECT_EQ(C->HorzAlignment(), htaCenter);
    C->SetHeadingHorzAlignment(htaCenter);
    EXPECT_EQ(C->HeadingAlignment(), taCenter);
    EXPECT_TRUE(C->HeadingAlign());
    C->SetHeadingAlign(false);
    EXPECT_EQ(C->HeadingHorzAlignment(), htaDefault);
}

TEST_F(ColumnsReading, HeadingTextsAndMarkup) {
    ShowGrid(3, 3);
    TgxCol* C = Grid->GetCol(1);
    C->SetFieldName("Amount");
    EXPECT_EQ(C->GetHeading(), "Amount");
    EXPECT_EQ(C->XMLHeading(), "Amount");
    C->SetFieldName("");
    C->SetHeading("Net total");
    EXPECT_EQ(C->XMLHeading(), "Net_total");
    struct Case {
        TgxHorzAlignment Align;
        const char* Cell;
        const char* Header;
    } Cases[] = {
        {htaLeft, "<td>x</td>", "<th width=80>Net total</th>"},
        {htaRight, "<td align=\"right\">x</td>", "<th width=80 align=\"right\">Net total</th>"},
        {htaCenter, "<td align=\"center\">x</td>", "<th width=80 align=\"center\">Net total</th>"},
    };
    C->SetWidth(80);
    for (const Case& K : Cases) {
        C->SetHorzAlignment(K.Align);
        EXPECT_EQ(C->HTMLCell("x"), K.Cell);
        EXPECT_EQ(C->HTMLHeader(), K.Header);
    }
}

TEST_F(ColumnsReading, AcceleratorPositionOfTheHeading) {
    ShowGrid(3, 3);
    TgxCol* C = Grid->GetCol(1);
    struct Case {
        const char* Heading;
        int Pos;
    } Cases[] = {{"&File", 1}, {"Sa&ve", 3}, {"A&&B", 0}, {"A&&B&c", 4}, {"plain", 0}, {"end&", 0}};
    for (const Case& K : Cases) {
        C->SetHeading(K.Heading);
        EXPECT_EQ(C->AccelPos(), K.Pos) << K.Heading;
    }
}

TEST_F(ColumnsReading, MaxLengthIsNeverNegative) {
    ShowGrid(3, 3);
    Grid->GetCol(1)->SetMaxLength(-5);
    EXPECT_EQ(Grid->GetCol(1)->MaxLength(), 0);
}

TEST_F(ColumnsReading, FindColByFieldNameOnly) {
    ShowGrid(3, 3);
    Grid->GetCol(2)->SetFieldName("Customer");
    Grid->GetCol(3)->SetHeading("Price");
    EXPECT_EQ(Grid->GridCols()->FindCol("CUSTOMER"), Grid->GetCol(2));
    EXPECT_EQ(Grid->GetCol(Variant("customer")), Grid->GetCol(2));
    EXPECT_EQ(Grid->GridCols()->FindCol("Price"), nullptr);
}

TEST_F(ColumnsReading, ColumnNumbersOutsideTheListYieldNoneOrTheRangeError) {
    ShowGrid(3, 3);
    const int Count = Grid->GridCols()->Count();
    Grid->SetReportInvalidOps(false);
    EXPECT_EQ(Grid->GridCols()->GetCol(Count), nullptr);
    EXPECT_EQ(Grid->GridCols()->GetCol(-1), nullptr);
    Grid->SetReportInvalidOps(true);
    Grid->SetName("Grid1");
    try {
        Grid->GridCols()->GetCol(Count);
        ADD_FAILURE() << "no range error";
    } catch (const Exception& E) {
        EXPECT_EQ(E.Message, "Grid1: Column index " + std::to_string(Count) + " out of range");
    }
}

TEST_F(ColumnsReading, HidingTheCurrentColumnNeedsTheEditToEnd) {
    ShowGrid(3, 3);
    Grid->SetCurrentCell(2, 1);
    Grid->OnEndCellEdit = [](TObject*, int, int, bool& Cancel) { Cancel = true; };
    Grid->CurrentCell()->SetValue("typed");
    Grid->GetCol(2)->SetVisible(false);
    EXPECT_TRUE(Grid->GetCol(2)->Visible());
    EXPECT_GT(Grid->ColWidths(2), 0);
    Grid->OnEndCellEdit = nullptr;
    Grid->GetCol(2)->SetVisible(false);
    EXPECT_FALSE(Grid->GetCol(2)->Visible());
    EXPECT_EQ(Grid->ColWidths(2), 0);
    EXPECT_NE(Grid->GetCurrentDataCol(), 2);
}

TEST_F(ColumnsReading, HidingASelectedColumnDeselectsIt) {
    ShowGrid(4, 3);
    Grid->SelectCols(2, 3, true);
    Grid->GetCol(3)->SetVisible(false);
    EXPECT_FALSE(Grid->GetCol(3)->GetSelected());
    EXPECT_TRUE(Grid->GetCol(2)->GetSelected());
    Grid->GetCol(3)->SetVisible(true);
    EXPECT_EQ(Grid->ColWidths(3), Grid->GetCol(3)->Width());
}

TEST_F(ColumnsReading, OwnFontChangesPartFromTheGridFontButOwnCopiesDoNot) {
    ShowGrid(3, 3);
    TgxCol* C = Grid->GetCol(1);
    C->SetAutoCreateFont(true);
    TFont* Own = C->GetFont();
    ASSERT_NE(Own, nullptr);
    EXPECT_TRUE(C->ParentFont());
    Grid->Font()->SetSize(14); // the column's own copy follows
    EXPECT_TRUE(C->ParentFont());
    EXPECT_EQ(C->GetFont()->Size(), 14);
    C->GetFont()->SetStyle(TFontStyles{fsBold}); // the user's own change
    EXPECT_FALSE(C->ParentFont());
}

TEST_F(ColumnsReading, CheckBoxValuesAreCheckedBeforeTheyAreKept) {
    ShowGrid(3, 3);
    Grid->SetName("Grid1");
    TgxCol* C = Grid->GetCol(1);
    C->SetCheckBoxValues("Yes|No");
    try {
        C->SetCheckBoxValues("Yes");
        ADD_FAILURE() << "accepted";
    } catch (const EInvalidGridOperation& E) {
        EXPECT_EQ(E.Message, "Grid1: Invalid CheckBoxValues. CheckBoxValues have the format "
                             "'Checked|Unchecked|Grayed'. The Grayed value is optional");
    }
    EXPECT_EQ(C->CheckBoxValues(), "Yes|No");
}

TEST_F(ColumnsReading, CellLookSettersRepaintTheColumn) {
    ShowGrid(4, 3);
    const TColor Before = CellPixel(2, 2);
    Grid->GetCol(2)->SetColor(clRed);
    EXPECT_EQ(CellPixel(2, 2), clRed);
    Grid->GetCol(2)->Reset(TgxProperties{prColor});
    EXPECT_EQ(CellPixel(2, 2), Before);
}

TEST_F(ColumnsReading, ReadOnlyMovesTheCurrentCellOff) {
    ShowGrid(4, 3);
    Grid->SetCurrentCell(2, 1);
    Grid->GetCol(2)->SetReadOnly(true);
    EXPECT_NE(Grid->GetCurrentDataCol(), 2);
}

TEST_F(ColumnsReading, ResetReturnsTheListedPropertiesOnly) {
    ShowGrid(4, 3);
    TgxCol* C = Grid->GetCol(2);
    C->SetColor(clRed);
    C->SetHeadingColor(clBlue);
    C->SetReadOnly(true);
    C->SetTag(7);
    C->SetSpinIncrement(3);
    C->SetWidth(90);
    C->CopyWidth(50);
    C->SetDisplayCol(4);
    C->SetAllowGrayed(true);
    C->Reset(TgxProperties{prColor, prTag, prSpinIncrement, prWidth, prDisplayNumber, prAllowGrayed,
                           prHeight});
    EXPECT_EQ(C->Color(), clNone);
    EXPECT_EQ(C->HeadingColor(), clNone);
    EXPECT_EQ(C->Tag(), 0);
    EXPECT_EQ(C->SpinIncrement(), 1.0);
    EXPECT_EQ(C->Width(), 90);
    EXPECT_EQ(C->DisplayCol(), 2);
    EXPECT_TRUE(C->ReadOnly());
    EXPECT_TRUE(C->AllowGrayed());
}

TEST_F(ColumnsReading, ButtonsAndCombosStayOffTheListGridsColumns) {
    ShowGrid(3, 3);
    Grid->GetCol(1)->SetButtonType(btCombo);
    TgxCombo* Combo = Grid->GetCombo();
    ASSERT_NE(Combo, nullptr);
    TgxComboGrid* List = Combo->GetGrid();
    ASSERT_NE(List, nullptr);
    TgxCol* ListCol = List->GetCol(1);
    ListCol->SetButtonType(btNormal);
    EXPECT_EQ(ListCol->ButtonType(), btDefault);
    ListCol->SetCombo(Combo);
    EXPECT_EQ(ListCol->GetCombo(), nullptr);
}

// A column's published properties through the binary form stream and its
// text: what differs from the default is written, and read back the same.
TEST_F(ColumnsReading, PublishedPropertiesRoundTripThroughTheForm) {
    ShowGrid(4, 3);
    Form->SetName("Form1");
    Grid->SetName("Grid1");
    TgxCol* C = Grid->GetCol(2);
    C->SetHeading("Two words");
    C->SetFieldName("F2");
    C->SetHorzAlignment(htaCenter);
    C->SetSpinIncrement(2.5);
    C->SetMaxLength(7);
    C->SetWidth(90);
    C->SetControlType(ctCheck);
    C->SetCheckBoxValues("Y|N");
    C->SetSpinOptions(TgxSpinOptions{spoKeyEdit});
    C->SetHeadingButton(cbNone);
    C->SetSortPicture(spUp);
    C->SetPrintTotals(true);
    C->SetKeepAspectRatio(dopOn);
    const std::string Text = FormText(*Form);
    for (const char* Line :
         {"Col.Heading = 'Two words'", "Col.SpinIncrement = 2.5", "Col.Width = 90",
          "Col.ControlType = ctCheck", "Col.SortPicture = spUp", "Col.HeadingButton = cbNone",
          "Col.PrintTotals = True", "Col.KeepAspectRatio = dopOn",
          "Col.SpinOptions = [spoKeyEdit]"})
        EXPECT_NE(Text.find(Line), std::string::npos) << Line << "\n" << Text;
    // Columns at their defaults write nothing of themselves.
    EXPECT_EQ(Text.find("DataCol = 1"), std::string::npos) << Text;

    for (bool AsText : {false, true}) {
        TForm Into(nullptr);
        if (AsText)
            ReadFormText(Text, Into);
        else
            CopyThroughFormFile(*Form, Into);
        auto* Read = dynamic_cast<TgxGrid*>(Into.FindComponent("Grid1"));
        ASSERT_NE(Read, nullptr);
        TgxCol* R = Read->GetCol(2);
        EXPECT_EQ(R->Heading(), "Two words");
        EXPECT_EQ(R->FieldName(), "F2");
        EXPECT_EQ(R->HorzAlignment(), htaCenter);
        EXPECT_EQ(R->Alignment(), taCenter);
        EXPECT_EQ(R->SpinIncrement(), 2.5);
        EXPECT_EQ(R->MaxLength(), 7);
        EXPECT_EQ(R->Width(), 90);
        EXPECT_EQ(Read->ColWidths(2), 90);
        EXPECT_EQ(R->ControlType(), ctCheck);
        EXPECT_EQ(R->CheckBoxValues(), "Y|N");
        EXPECT_EQ(R->SpinOptions(), TgxSpinOptions{spoKeyEdit});
        EXPECT_EQ(R->HeadingButton(), cbNone);
        EXPECT_EQ(R->SortPicture(), spUp);
        EXPECT_TRUE(R->PrintTotals());
        EXPECT_EQ(R->KeepAspectRatio(), dopOn);
        EXPECT_TRUE(Read->GetCol(1)->DefaultProps());
    }
}

// Older forms stored the alignment as identifiers of the old pair.
TEST_F(ColumnsReading, OldAlignmentIdentifiersAreRead) {
    ShowGrid(3, 3);
    Form->SetName("Form1");
    Grid->SetName("Grid1");
    Grid->GetCol(2)->SetTag(1);
    std::string Text = FormText(*Form);
    const std::string Tag = "Col.Tag = 1";
    const auto At = Text.find(Tag);
    ASSERT_NE(At, std::string::npos) << Text;
    Text.replace(At, Tag.size(),
                 "Col.Alignment = taRightJustify\n        Col.Align = True\n"
                 "        Col.HeadingAlignment = TACENTER\n        Col.HeadingAlign = True");
    TForm Into(nullptr);
    ReadFormText(Text, Into);
    auto* Read = dynamic_cast<TgxGrid*>(Into.FindComponent("Grid1"));
    ASSERT_NE(Read, nullptr);
    TgxCol* C = Read->GetCol(2);
    EXPECT_EQ(C->HorzAlignment(), htaRight);
    EXPECT_EQ(C->HeadingHorzAlignment(), htaCenter);
}

} // namespace

namespace {

// A column's own list travels in the form as the list grid's component
// stream, and only while the column drops it down.
TEST_F(ColumnsReading, OwnComboTravelsThroughTheFormWhileTheColumnDropsItDown) {
    ShowGrid(3, 3);
    Form->SetName("Form1");
    Grid->SetName("Grid1");
    TgxCol* C = Grid->GetCol(2);
    C->SetParentCombo(false);
    ASSERT_NE(C->GetCombo(), nullptr);
    TgxComboGrid* List = C->GetCombo()->GetGrid();
    List->SetStoreData(true);
    List->SetGridRowCount(2);
    List->SetCellValue(1, 2, "second");
    List->SetDropDownRows(5);
    EXPECT_EQ(FormText(*Form).find("Col.Combo"), std::string::npos);
    C->SetButtonType(btCombo);
    C->SetDropDownStyle(ddDropDownList);
    const std::string Text = FormText(*Form);
    EXPECT_NE(Text.find("Col.Combo = {"), std::string::npos) << Text;
    for (bool AsText : {false, true}) {
        TForm Into(nullptr);
        if (AsText)
            ReadFormText(Text, Into);
        else
            CopyThroughFormFile(*Form, Into);
        auto* Read = dynamic_cast<TgxGrid*>(Into.FindComponent("Grid1"));
        ASSERT_NE(Read, nullptr);
        TgxCol* R = Read->GetCol(2);
        ASSERT_NE(R->GetCombo(), nullptr) << AsText;
        EXPECT_FALSE(R->ParentCombo());
        EXPECT_EQ(R->DropDownStyle(), ddDropDownList);
        TgxComboGrid* ReadList = R->GetCombo()->GetGrid();
        EXPECT_EQ(ReadList->DropDownRows(), 5);
        EXPECT_EQ(ReadList->GetCellValue(1, 2).AsString(), "second");
        EXPECT_EQ(ReadList->Name(), "");
    }
}

TEST_F(ColumnsReading, OwnFontsTravelThroughTheFormOnlyWhenParted) {
    ShowGrid(3, 3);
    Form->SetName("Form1");
    Grid->SetName("Grid1");
    Grid->GetCol(1)->SetAutoCreateFont(true);
    Grid->GetCol(1)->GetFont();
    TFont Bold;
    Bold.Assign(Grid->Font());
    Bold.SetStyle(TFontStyles{fsBold});
    Grid->GetCol(2)->SetFont(&Bold);
    Grid->GetCol(3)->SetHeadingFont(&Bold);
    const std::string Text = FormText(*Form);
    EXPECT_EQ(Text.find("Col.Font.Name", Text.find("DataCol = 1")), Text.find("Col.Font.Name"))
        << "a copy of the grid font is not stored\n"
        << Text;
    EXPECT_NE(Text.find("Col.ParentFont = False"), std::string::npos) << Text;
    EXPECT_NE(Text.find("Col.HeadingParentFont = False"), std::string::npos) << Text;
    TForm Into(nullptr);
    ReadFormText(Text, Into);
    auto* Read = dynamic_cast<TgxGrid*>(Into.FindComponent("Grid1"));
    ASSERT_NE(Read, nullptr);
    EXPECT_TRUE(Read->GetCol(1)->ParentFont());
    EXPECT_FALSE(Read->GetCol(2)->ParentFont());
    ASSERT_NE(Read->GetCol(2)->GetFont(), nullptr);
    EXPECT_TRUE(Read->GetCol(2)->GetFont()->Style().Contains(fsBold));
    EXPECT_FALSE(Read->GetCol(3)->HeadingParentFont());
    ASSERT_NE(Read->GetCol(3)->GetHeadingFont(), nullptr);
    EXPECT_TRUE(Read->GetCol(3)->GetHeadingFont()->Style().Contains(fsBold));
}

TEST_F(ColumnsReading, WidthsReachTheBaseGridAndAreReported) {
    ShowGrid(4, 3);
    std::vector<int> Resized;
    Grid->OnColResized = [&](TObject*, int DataCol) { Resized.push_back(DataCol); };
    Grid->GetCol(3)->SetDisplayCol(1);
    Resized.clear();
    Grid->GetCol(3)->SetWidth(80);
    EXPECT_EQ(Grid->ColWidths(1), 80);
    EXPECT_EQ(Resized, std::vector<int>{3});
    Grid->GetCol(3)->SetVisible(false);
    Grid->GetCol(3)->SetWidth(90);
    EXPECT_EQ(Grid->ColWidths(1), 0);
    Grid->GetCol(3)->SetVisible(true);
    EXPECT_EQ(Grid->ColWidths(1), 90);
    // The row bar's column is column 0.
    Grid->GridCols()->GetCol(0)->SetWidth(30);
    EXPECT_EQ(Grid->GetRowBarWidth(), 30);
}

TEST_F(ColumnsReading, CurrentColumnSettingsReachTheEditor) {
    ShowGrid(3, 3);
    Grid->SetCurrentCell(2, 1);
    ASSERT_NE(Grid->GridControl(), nullptr);
    Grid->GetCol(2)->SetMaxLength(4);
    EXPECT_EQ(Grid->GridControl()->GetMaxLength(), 4);
    Grid->GetCol(2)->SetMaskName("digits");
    EXPECT_EQ(Grid->GridControl()->GetMaskName(), "digits");
}

TEST_F(ColumnsReading, AColumnsOwnListStartsAtItsWidth) {
    ShowGrid(3, 3);
    TgxCol* C = Grid->GetCol(2);
    C->SetWidth(70);
    C->SetDropDownStyle(ddDropDownList);
    C->AssignCombo();
    ASSERT_NE(C->GetCombo(), nullptr);
    EXPECT_FALSE(C->ParentCombo());
    EXPECT_EQ(C->GetCombo()->GetGrid()->DefaultColWidth(), 80);
    EXPECT_EQ(C->GetCombo()->GetGrid()->DropDownStyle(), ddDropDownList);
    C->SetParentCombo(true);
    EXPECT_EQ(C->GetCombo(), nullptr);
}

TEST_F(ColumnsReading, FixedColumnsAndTheWidestText) {
    ShowGrid(4, 3);
    Grid->SetFixedColCount(2);
    EXPECT_TRUE(Grid->GridCols()->GetCol(0)->GetFixed());
    EXPECT_TRUE(Grid->GetCol(1)->GetFixed());
    EXPECT_TRUE(Grid->GetCol(2)->GetFixed());
    EXPECT_FALSE(Grid->GetCol(3)->GetFixed());
    EXPECT_EQ(Grid->GetCol(4)->GetMaxTextWidth(), 0);
    Grid->SetStoreData(true);
    Grid->SetCellValue(4, 1, "i");
    Grid->SetCellValue(4, 3, "a much longer text");
    const int Wide = Grid->GetCol(4)->GetMaxTextWidth();
    EXPECT_EQ(Wide, Grid->GetCellTextWidth(4, 3));
    Grid->SetRowVisible(3, false);
    EXPECT_LT(Grid->GetCol(4)->GetMaxTextWidth(), Wide);
}

} // namespace

namespace {

TEST_F(ColumnsReading, AMovedColumnIsPaintedAtItsNewPlace) {
    ShowGrid(4, 3);
    Grid->GetCol(2)->SetColor(clRed);
    const TColor Plain = CellPixel(3, 2);
    ASSERT_EQ(CellPixel(2, 2), clRed);
    Grid->GetCol(2)->SetDisplayCol(4);
    Grid->Update();
    const TRect At4 = Grid->CellRect(4, 2), At2 = Grid->CellRect(2, 2);
    EXPECT_EQ(Grid->Canvas()->Pixels((At4.Left + At4.Right) / 2, At4.Bottom - 2), clRed);
    EXPECT_EQ(Grid->Canvas()->Pixels((At2.Left + At2.Right) / 2, At2.Bottom - 2), Plain);
}

} // namespace

namespace {

// A new control type keeps only the stored values it can show.
TEST_F(ColumnsReading, ControlTypeKeepsOnlyValuesItCanShow) {
    ShowGrid(3, 3);
    Grid->SetStoreData(true);
    Grid->SetCellValue(2, 2, "text");
    Grid->SetCellValue(3, 2, "text");
    Grid->GetCol(2)->SetControlType(ctCheck);
    EXPECT_EQ(Grid->GetCellValue(2, 2).AsString(), "text");
    Grid->GetCol(3)->SetControlType(ctPicture);
    EXPECT_TRUE(Grid->GetCellValue(3, 2).IsEmpty());
    // Taken over from another grid without its values, likewise.
    Grid->SetCellValue(1, 2, "text");
    TgxGrid* Source = new TgxGrid(Form);
    Source->SetGridColCount(3);
    Source->SetGridRowCount(3);
    Source->GetCol(1)->SetControlType(ctPicture);
    Grid->AssignPropKinds(Source, TgxPropKinds{pkCols}, false);
    EXPECT_TRUE(Grid->GetCellValue(1, 2).IsEmpty());
}

TEST_F(ColumnsReading, ADateTimeDefinitionThatGoesIsForgotten) {
    ShowGrid(3, 3);
    auto* Def = new StubDateTimeDef(Form);
    auto* Other = new StubDateTimeDef(Form);
    Grid->GetCol(2)->SetDateTimeDef(Def);
    Grid->GetCol(2)->SetDateTimeDef(Other);
    delete Def;
    EXPECT_EQ(Grid->GetCol(2)->DateTimeDef(), Other);
    delete Other;
    EXPECT_EQ(Grid->GetCol(2)->DateTimeDef(), nullptr);
    // A grid that goes first leaves the definition nothing to tell.
    auto* Kept = new StubDateTimeDef(nullptr);
    Grid->GetCol(1)->SetDateTimeDef(Kept);
    delete Form;
    Form = nullptr;
    delete Kept;
}

} // namespace
