// Grid-level settings that do more than store, the visible extent, direct
// sizing and scaling, through the public calls on a shown grid.
#include "ShownGridFixture.h"

#include "StubDateTimeDef.h"
#include "grid/model/Columns.h"
#include "grid/model/Combo.h"
#include "grid/model/Rows.h"

#include <gtest/gtest.h>

#include <vector>

using namespace grid;

namespace {

class SettingsReading : public ShownGridFixture {
protected:
    TColor Pixel(int DisplayCol, int DisplayRow) {
        Grid->Update();
        const TRect R = Grid->CellRect(DisplayCol, DisplayRow);
        return Grid->Canvas()->Pixels((R.Left + R.Right) / 2, R.Bottom - 2);
    }
};

TEST_F(SettingsReading, WithoutAWindowNothingIsVisible) {
    EnsureQtApplication();
    TgxGrid Alone(nullptr);
    EXPECT_EQ(Alone.GetVisibleColCount(), 0);
    EXPECT_EQ(Alone.GetVisibleRowCount(), 0);
    EXPECT_EQ(Alone.GetVisibleCols(), 0.0);
    EXPECT_EQ(Alone.GetVisibleRows(), 0.0);
}

TEST_F(SettingsReading, AHalfShownColumnCountsAsAFraction) {
    ShowGrid(10, 30);
    Grid->Update();
    // Lines included, each data column takes its width in pixels.
    const int Bar = Grid->ColWidths(0);
    const int Client = Grid->ClientWidth();
    const int Width = 64;
    const int Whole = (Client - Bar) / Width;
    const int Rest = Client - Bar - Whole * Width;
    // Make the last column's visible part exactly half of it.
    Grid->GetCol(Whole + 1)->SetWidth(2 * Rest);
    EXPECT_EQ(Grid->GetVisibleColCount(), Whole);
    EXPECT_DOUBLE_EQ(Grid->GetVisibleCols(), Whole + 0.5);
    const int Rows = Grid->GetVisibleRowCount();
    EXPECT_GT(Rows, 0);
    EXPECT_GE(Grid->GetVisibleRows(), Rows);
    EXPECT_LT(Grid->GetVisibleRows(), Rows + 1);
}

TEST_F(SettingsReading, HiddenColumnsDoNotCountAsVisible) {
    ShowGrid(10, 3);
    const double Before = Grid->GetVisibleCols();
    Grid->GetCol(2)->SetVisible(false);
    // One column fewer fits... no: the hidden one gives its room to the next.
    EXPECT_DOUBLE_EQ(Grid->GetVisibleCols(), Before);
    Grid->SetFixedColCount(2);
    EXPECT_DOUBLE_EQ(Grid->GetVisibleCols(), Before);
}

TEST_F(SettingsReading, RowHeightsOfTheBaseControl) {
    ShowGrid(3, 4);
    Grid->SetRowHeight(2, 30);
    EXPECT_EQ(Grid->GetGridRowHeights(Grid->GetDisplayRow(2)), 30);
    EXPECT_EQ(Grid->GetGridRowHeights(-1), 0);
    EXPECT_EQ(Grid->GetGridRowHeights(Grid->RowCount()), 0);
}

TEST_F(SettingsReading, DirectSizingAnswersWhetherAnythingChanged) {
    ShowGrid(3, 4);
    std::vector<int> Cols, Rows;
    Grid->OnColResized = [&](TObject*, int C) { Cols.push_back(C); };
    Grid->OnRowResized = [&](TObject*, int R) { Rows.push_back(R); };
    EXPECT_FALSE(Grid->ResizeCol(2, Grid->ColWidths(2)));
    EXPECT_TRUE(Grid->ResizeCol(2, 90));
    EXPECT_EQ(Grid->ColWidths(2), 90);
    EXPECT_TRUE(Cols.empty());
    EXPECT_TRUE(Grid->ResizeRow(2, 30, true));
    EXPECT_TRUE(Rows.empty());
    EXPECT_TRUE(Grid->ResizeRow(3, 31, false));
    EXPECT_EQ(Grid->RowHeights(3), 31);
    EXPECT_FALSE(Grid->ResizeRow(3, 31, false));
}

TEST_F(SettingsReading, ScalingRowsColumnsAndFonts) {
    ShowGrid(3, 4);
    Grid->ScaleRows(2, 2, TScalingFlags{sfHeight, sfFont});
    EXPECT_EQ(Grid->DefaultRowHeight(), 14);
    Grid->SetRowHeight(2, 20);
    TFont Big;
    Big.Assign(Grid->Font());
    Big.SetSize(10);
    Grid->SetRowFont(3, &Big);
    Grid->ScaleRows(3, 2, TScalingFlags{sfHeight, sfFont});
    EXPECT_EQ(Grid->DefaultRowHeight(), 21);
    EXPECT_EQ(Grid->GetRowHeight(2), 30);
    EXPECT_EQ(Grid->GetRowHeight(1), 21);
    EXPECT_EQ(Grid->RowHeights(Grid->GetDisplayRow(1)), 21);
    EXPECT_EQ(Grid->GetRowFont(3)->Size(), 15);
    // Width alone leaves the fonts.
    Grid->GetCol(2)->SetFont(&Big);
    Grid->GetCol(3)->SetWidth(50);
    Grid->ScaleCols(3, 2, TScalingFlags{sfWidth});
    EXPECT_EQ(Grid->DefaultColWidth(), 96);
    EXPECT_EQ(Grid->GetCol(3)->Width(), 75);
    EXPECT_EQ(Grid->ColWidths(3), 75);
    EXPECT_EQ(Grid->GetCol(2)->GetFont()->Size(), 10);
    Grid->ScaleCols(3, 2, TScalingFlags{sfFont});
    EXPECT_EQ(Grid->GetCol(2)->GetFont()->Size(), 15);
    Grid->SetCellFont(1, 1, &Big);
    Grid->ScaleCells(1, 2, TScalingFlags{sfFont});
    EXPECT_EQ(Grid->GetCellFont(1, 1)->Size(), 5);
}

TEST_F(SettingsReading, CheckBoxValuesWithoutABarAreRefused) {
    ShowGrid(3, 3);
    Grid->SetName("Grid1");
    Grid->SetCheckBoxValues("Yes|No|Maybe");
    for (const char* Bad : {"Yes", "a|b|c|d"}) {
        try {
            Grid->SetCheckBoxValues(Bad);
            ADD_FAILURE() << "accepted " << Bad;
        } catch (const EInvalidGridOperation& E) {
            EXPECT_EQ(E.Message, "Grid1: Invalid CheckBoxValues. CheckBoxValues have the format "
                                 "'Checked|Unchecked|Grayed'. The Grayed value is optional");
        }
        EXPECT_EQ(Grid->CheckBoxValues(), "Yes|No|Maybe");
    }
}

TEST_F(SettingsReading, HeadingStyleForHTML) {
    ShowGrid(3, 3);
    Grid->Font()->SetName("Arial");
    Grid->Font()->SetSize(8);
    Grid->Font()->SetStyle(TFontStyles{fsBold});
    Grid->SetHeadingHeight(15);
    Grid->Font()->SetColor(static_cast<TColor>(0x80000008)); // clWindowText
    // System colours come out as the fixed colours HTML output uses.
    EXPECT_EQ(Grid->HTMLFont(),
              " style=\"font-family: 'Arial'; font-size: 8; background: clSilver; "
              "color: clLime; font-weight: BOLD; height: 15px;\"");
    Grid->Font()->SetStyle(TFontStyles{});
    EXPECT_NE(Grid->HTMLFont().find("font-weight: NORMAL;"), AnsiString::npos);
    Grid->Font()->SetColor(0x123456);
    EXPECT_NE(Grid->HTMLFont().find("color: $00123456;"), AnsiString::npos) << Grid->HTMLFont();
}

TEST_F(SettingsReading, SelectionLookSettersRepaintTheSelection) {
    ShowGrid(4, 4);
    Grid->SelectRows(2, 2, true);
    Grid->SetSelectionType(sltColor);
    Grid->SetSelectionColor(clRed);
    EXPECT_EQ(Pixel(2, 2), clRed);
    Grid->SetSelectionColor(clBlue);
    EXPECT_EQ(Pixel(2, 2), clBlue);
    Grid->SetSelectionType(sltInvert);
    const TColor Changed = Pixel(2, 2);
    Grid->Invalidate();
    EXPECT_EQ(Changed, Pixel(2, 2));
    EXPECT_NE(Changed, clBlue);
}

TEST_F(SettingsReading, AListGridFollowsItsParentsScaling) {
    ShowGrid(3, 3);
    Grid->GetCol(1)->SetButtonType(btCombo);
    TgxComboGrid* List = Grid->GetCombo()->GetGrid();
    ASSERT_NE(List, nullptr);
    const bool Before = Grid->GetAutoScale();
    Grid->SetAutoScale(!Before);
    EXPECT_EQ(List->GetAutoScale(), !Before);
    List->SetAutoScale(Before);
    EXPECT_EQ(List->GetAutoScale(), !Before);
    EXPECT_EQ(Grid->GetAutoScale(), !Before);
}

TEST_F(SettingsReading, AListGridMakesRoomForABarItAlwaysShows) {
    ShowGrid(3, 3);
    Grid->GetCol(1)->SetButtonType(btCombo);
    TgxComboGrid* List = Grid->GetCombo()->GetGrid();
    ASSERT_NE(List, nullptr);
    List->SetGridRowCount(2);
    List->SetDropDownRows(4);
    Grid->SetCurrentCell(1, 1);
    Grid->ShowCombo();
    ASSERT_TRUE(Grid->ComboVisible());
    const int Narrow = List->Width();
    Grid->HideCombo();
    List->SetAlwaysShowScrollBar(ssVertical);
    Grid->ShowCombo();
    ASSERT_TRUE(Grid->ComboVisible());
    EXPECT_EQ(List->Width(), Narrow + List->GetVertScrollBarWidth());
    Grid->HideCombo();
}

} // namespace

namespace {

TEST_F(SettingsReading, TheGridsDateTimeDefinitionIsForgottenWhenItGoes) {
    ShowGrid(3, 3);
    auto* First = new StubDateTimeDef(Form);
    auto* Second = new StubDateTimeDef(Form);
    Grid->SetDateTimeDef(First);
    Grid->SetDateTimeDef(Second);
    delete First;
    EXPECT_EQ(Grid->DateTimeDef(), Second);
    delete Second;
    EXPECT_EQ(Grid->DateTimeDef(), nullptr);
}

} // namespace

namespace {

// The focus frame's look is repainted as soon as it changes.
TEST_F(SettingsReading, FocusFrameSettersRepaintTheFrame) {
    ShowGrid(4, 4);
    Grid->SetGridMode(gmBrowse);
    Grid->SetAlwaysShowFocus(true);
    Grid->SetCurrentCell(2, 2);
    Grid->SetFocusBorderColor(clRed);
    Grid->SetFocusBorder(fbSingle);
    const auto FramePixel = [&] {
        Grid->Update();
        const TRect R = Grid->CellRect(2, 2);
        return Grid->Canvas()->Pixels((R.Left + R.Right) / 2, R.Top);
    };
    EXPECT_EQ(FramePixel(), clRed);
    Grid->SetFocusBorderColor(clBlue);
    EXPECT_EQ(FramePixel(), clBlue);
    Grid->SetFocusBorder(fbNone);
    EXPECT_NE(FramePixel(), clBlue);
}

} // namespace

namespace {

// Own lists of columns, rows and cells change scale with the grid.
TEST_F(SettingsReading, OwnListsChangeScaleWithTheirGrid) {
    ShowGrid(3, 3);
    Grid->GetCol(1)->SetParentCombo(false);
    Grid->SetRowParentCombo(2, false);
    Grid->SetCellParentCombo(3, 3, false);
    TgxComboGrid* ColList = Grid->GetCol(1)->GetCombo()->GetGrid();
    TgxComboGrid* RowList = Grid->GetRowCombo(2)->GetGrid();
    TgxComboGrid* CellList = Grid->GetCellCombo(3, 3)->GetGrid();
    const TScalingFlags All{sfWidth, sfHeight, sfFont};
    TgxComboGrid* Lists[] = {ColList, RowList, CellList};
    for (int I = 0; I < 3; ++I) {
        TgxComboGrid* List = Lists[I];
        const int Height = List->DefaultRowHeight();
        const int Width = List->DefaultColWidth();
        if (I == 0) Grid->ScaleCols(2, 1, All);
        if (I == 1) Grid->ScaleRows(2, 1, All);
        if (I == 2) Grid->ScaleCells(2, 1, All);
        EXPECT_EQ(List->DefaultRowHeight(), 2 * Height) << I;
        EXPECT_EQ(List->DefaultColWidth(), 2 * Width) << I;
    }
}

} // namespace
