// Cell values kept by the grid: the type each kind of cell stores a value
// as, the values a kind of cell refuses and the message that names the
// grid, the stored values that go when a column's kind changes, the store
// going with StoreData, and the index checks.
#include "ShownGridFixture.h"

#include "grid/foundation/CellStore.h"
#include "grid/foundation/ImageList.h"
#include "platform/rtl/StringList.h"
#include "grid/model/Columns.h"
#include "grid/model/InplaceControl.h"
#include "grid/model/Combo.h"
#include "grid/model/GxGrid.h"
#include "platform/gui/Clipboard.h"
#include "platform/gui/Forms.h"
#include <QApplication>
#include "platform/gui/QtApp.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace grid;

namespace {

std::string RaisedText(const std::function<void()>& Call) {
    try {
        Call();
    } catch (const EInvalidGridOperation& E) {
        return E.Message;
    }
    return "(nothing raised)";
}

class ValuesReading : public ShownGridFixture {
protected:
    void SetUp() override {
        ShowGrid(3, 3);
        Grid->SetName("Grid1");
    }
};

TEST_F(ValuesReading, EachKindOfCellStoresAValueAsItsOwnType) {
    Grid->SetStoreData(true);
    TBitmap Picture;
    Picture.SetSize(4, 4);
    const struct {
        TgxControlType Type;
        Variant Value;
        TgxValueType Stored;
    } Cases[] = {
        {ctText, Variant(5), TgxValueType::vtpString},
        {ctText, Variant("a"), TgxValueType::vtpString},
        {ctCheck, Variant("yes"), TgxValueType::vtpString},
        {ctCheck, Null(), TgxValueType::vtpNull},
        {ctCheck, Variant(1), TgxValueType::vtpInteger},
        {ctPicture, Variant("Sun"), TgxValueType::vtpPictureName},
        {ctPicture, VarFromObject(&Picture), TgxValueType::vtpPicture},
        {ctNone, Variant("a"), TgxValueType::vtpNone},
    };
    for (const auto& C : Cases) {
        EXPECT_EQ(TgxBaseGrid::ControlDataType(C.Type, C.Value), C.Stored) << int(C.Type);
        Grid->SetDataValue(2, 2, C.Type, C.Value);
        EXPECT_EQ(Grid->DataStore()->GetValueType(2, 2), C.Stored) << int(C.Type);
    }
    EXPECT_EQ(Grid->GetDataValue(2, 2, ctNone).Type(), varEmpty);
    Grid->SetDataValue(2, 2, ctText, Variant(5));
    EXPECT_EQ(Grid->GetDataValue(2, 2, ctText).AsString(), "5");
}

TEST_F(ValuesReading, WithoutStoreDataNothingIsKeptOrRead) {
    EXPECT_EQ(Grid->DataStore(), nullptr);
    Grid->SetDataValue(1, 1, ctText, Variant("a"));
    EXPECT_EQ(Grid->DataStore(), nullptr);
    EXPECT_TRUE(VarIsEmpty(Grid->GetDataValue(1, 1, ctText)));
}

TEST_F(ValuesReading, AValueAKindOfCellCannotTakeIsRefusedNamingTheGrid) {
    const struct {
        TgxControlType Type;
        Variant Value;
        const char* Message; // nullptr: accepted
    } Cases[] = {
        {ctCheck, Variant(true),
         "Grid1: Invalid cell value. A checkbox column requires a value of type TCheckBoxState "
         "or string"},
        {ctCheck, Variant(static_cast<unsigned char>(1)), nullptr},
        {ctCheck, Variant(2), nullptr},
        {ctCheck, Null(), nullptr},
        {ctCheck, VarAsType(Variant("x"), varOleStr), nullptr},
        {ctText, Variant(2.5),
         "Grid1: Invalid cell value. A text column requires a value of type string"},
        {ctText, VarAsType(Variant("x"), varOleStr), nullptr},
        {ctPicture, Variant(2.5),
         "Grid1: Invalid cell value. A picture column requires a value of type TBitmap or string"},
        {ctPicture, Variant(2), nullptr},
        {ctNone, Variant(2.5), nullptr},
    };
    for (const auto& C : Cases) {
        if (C.Message)
            EXPECT_EQ(RaisedText([&] { Grid->CheckVarType(C.Type, C.Value); }), C.Message);
        else
            EXPECT_TRUE(Grid->CheckVarType(C.Type, C.Value)) << int(C.Type);
    }
    // A check-box cell whose application hands it a Boolean refuses it.
    Grid->GridCols()->GetCol(1)->SetControlType(ctCheck);
    Grid->OnCellLoaded = [](TObject*, int, int, Variant& Value) { Value = Variant(true); };
    EXPECT_NE(RaisedText([&] { Grid->GetCellValue(1, 2); }).find("A checkbox column"),
              std::string::npos);
    // With the checks off a refusal only answers false.
    Grid->SetReportInvalidOps(false);
    EXPECT_FALSE(Grid->CheckVarType(ctCheck, Variant(true)));
    EXPECT_FALSE(Grid->CheckIndex(itRow, 0, 3, 1));
}

TEST_F(ValuesReading, IndexChecksNameTheGridAndTheBadIndex) {
    EXPECT_EQ(RaisedText([&] { Grid->CheckIndex(itRow, 0, 3, 1); }),
              "Grid1: Row index 0 out of range");
    EXPECT_EQ(RaisedText([&] { Grid->CheckIndex(itCol, 7, 3, 1); }),
              "Grid1: Column index 7 out of range");
    EXPECT_EQ(RaisedText([&] { Grid->SetRowColor(0, clRed); }), "Grid1: Row index 0 out of range");
    EXPECT_EQ(RaisedText([&] { Grid->SetRowColor(4, clRed); }), "Grid1: Row index 4 out of range");
    EXPECT_EQ(RaisedText([&] { Grid->SetCellColor(0, 1, clRed); }),
              "Grid1: Column index 0 out of range");
    EXPECT_TRUE(Grid->CheckIndex(itRow, 3, 3, 1));
}

TEST_F(ValuesReading, ACellPropertyCannotBeReadInsideTheCellLoadedEvent) {
    std::string Seen;
    Grid->OnCellLoaded = [&](TObject*, int C, int R, Variant&) {
        if (C == 2 && R == 2) Seen = RaisedText([&] { Grid->GetCellValue(1, 2); });
    };
    Grid->GetCellValue(2, 2);
    EXPECT_EQ(Seen, "Grid1: Cannot get Cell property value while in OnCellLoaded event");
    Grid->OnCellLoaded = nullptr;
    EXPECT_NO_THROW(Grid->GetCellValue(2, 2));
}

TEST_F(ValuesReading, ACombosListNamesItsGridInItsMessages) {
    TgxComboGrid* List = Grid->GetCombo()->GetGrid();
    EXPECT_EQ(RaisedText([&] { List->CheckIndex(itRow, 0, 3, 1); }),
              "Grid1.Combo: Row index 0 out of range");
}

TEST_F(ValuesReading, AColumnTurnedIntoAnotherKindKeepsOnlyTheValuesItCanShow) {
    Grid->SetStoreData(true);
    Grid->SetCellValue(1, 1, Variant("abc"));
    Grid->SetCellValue(1, 2, Variant("def"));
    Grid->GridCols()->GetCol(1)->SetControlType(ctCheck);
    EXPECT_EQ(Grid->DataStore()->GetValueType(1, 1), TgxValueType::vtpString);
    EXPECT_EQ(Grid->DataStore()->GetValue(1, 2).AsString(), "def");
    Grid->GridCols()->GetCol(1)->SetControlType(ctPicture);
    EXPECT_EQ(Grid->DataStore()->GetValueType(1, 1), TgxValueType::vtpNone);
    EXPECT_EQ(Grid->DataStore()->GetValueType(1, 2), TgxValueType::vtpNone);
}

TEST_F(ValuesReading, StoreDataOffDropsTheValuesAndRepaints) {
    Grid->SetStoreData(true);
    ASSERT_NE(Grid->DataStore(), nullptr);
    Grid->ImageListIds()->Add("{ID}");
    Grid->GridCols()->GetCol(1)->SetColor(clWhite);
    Grid->Font()->SetColor(clBlack);
    Grid->SetCellValue(1, 2, Variant("WWWWW"));
    Grid->Update();
    const TRect R = Grid->CellRect(1, 2);
    auto Dark = [&] {
        int N = 0;
        for (int X = R.Left; X < R.Right; ++X)
            for (int Y = R.Top; Y < R.Bottom; ++Y)
                if (Grid->Canvas()->Pixels(X, Y) == clBlack) ++N;
        return N;
    };
    EXPECT_GT(Dark(), 0);
    Grid->SetStoreData(false);
    Grid->Update();
    EXPECT_EQ(Grid->DataStore(), nullptr);
    EXPECT_EQ(Grid->ImageListIds()->Count(), 0);
    EXPECT_EQ(Dark(), 0);
    Grid->SetStoreData(true);
    ASSERT_NE(Grid->DataStore(), nullptr);
    EXPECT_TRUE(VarIsEmpty(Grid->GetDataValue(1, 2, ctText)));
}

TEST_F(ValuesReading, ATextForTheEditorIsATextWhateverItCameAs) {
    EXPECT_EQ(TgxBaseGrid::CheckStrValue(ctText, Variant(12)).Type(), varString);
    EXPECT_EQ(TgxBaseGrid::CheckStrValue(ctText, Variant(12)).AsString(), "12");
    EXPECT_EQ(TgxBaseGrid::CheckStrValue(ctText, VarAsType(Variant("w"), varOleStr)).Type(),
              varString);
    EXPECT_TRUE(VarIsNull(TgxBaseGrid::CheckStrValue(ctText, Null())));
    EXPECT_EQ(TgxBaseGrid::CheckStrValue(ctCheck, Variant(1)).Type(), varInteger);
}

} // namespace

namespace {

TgxImage* AddPicture(TgxImageList& List, const char* Name) {
    TgxImage* Image = List.Images()->Add();
    TBitmap Bitmap;
    Bitmap.SetSize(6, 6);
    Image->SetBitmap(&Bitmap);
    Image->SetRefName(Name);
    return Image;
}

TEST_F(ValuesReading, PictureValuesFollowTheirPictureAndOutliveTheirList) {
    auto* First = new TgxImageList(Form);
    TgxImage* Sun = AddPicture(*First, "Sun");
    Grid->SetImageList(First);
    Grid->GridCols()->GetCol(1)->SetControlType(ctPicture);
    Grid->SetStoreData(true);
    Grid->SetInDesignMode(true);
    Grid->SetCellValue(1, 2, Variant("Sun"));
    ASSERT_EQ(Grid->ImageListIds()->Count(), 1);
    EXPECT_EQ(Grid->ImageListIds()->Strings(0), First->GetGUID());
    EXPECT_EQ(Grid->GetDataValue(1, 2, ctPicture).AsString(), "Sun");
    // A renamed picture is read by its new name.
    Sun->SetRefName("Star");
    EXPECT_EQ(Grid->GetDataValue(1, 2, ctPicture).AsString(), "Star");
    // Its list gone and another in its place, the name stays readable and,
    // while designing, points into the new list.
    Grid->SetInDesignMode(false);
    Grid->SetImageList(nullptr);
    delete First;
    EXPECT_EQ(Grid->GetDataValue(1, 2, ctPicture).AsString(), "Star");
    auto* Second = new TgxImageList(Form);
    AddPicture(*Second, "Star");
    ASSERT_NE(Second->GetGUID(), Grid->ImageListIds()->Strings(0));
    Grid->SetImageList(Second);
    EXPECT_EQ(Grid->GetDataValue(1, 2, ctPicture).AsString(), "Star");
    Grid->SetInDesignMode(true);
    EXPECT_EQ(Grid->GetDataValue(1, 2, ctPicture).AsString(), "Star");
    EXPECT_EQ(Grid->ImageListIndex(Second->GetGUID()), 1);
    EXPECT_EQ(Grid->ImageListIds()->Count(), 2);
}

} // namespace

namespace {

// The number in a text cell with a spin button steps with a press on it.
TEST_F(ValuesReading, ASpinPressStepsTheNumberOfATextCell) {
    Grid->SetStoreData(true);
    TgxCol* Col = Grid->GridCols()->GetCol(2);
    Col->SetControlType(ctText);
    Col->SetButtonType(btVertSpin);
    Col->SetSpinIncrement(5);
    Grid->SetCellValue(2, 1, Variant("10"));
    int Steps = 0;
    Grid->OnSpinIncrement = [&](TObject*, int, int, bool Up, Variant& Value, int&, int&,
                                bool& Accept) {
        ++Steps;
        EXPECT_TRUE(Up);
        EXPECT_EQ(Value.AsString(), "15");
        Accept = true;
    };
    Grid->Update();
    const TRect R = Grid->CellRect(2, 1);
    const int X = R.Right - 3, Y = R.Top + 2;
    Grid->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(X, Y));
    Grid->Perform(WM_LBUTTONUP, 0, PointToLParam(X, Y));
    EXPECT_EQ(Steps, 1);
    ASSERT_NE(Grid->GridControl(), nullptr);
    EXPECT_EQ(Grid->GridControl()->GetValue().AsString(), "15");
    // Refused by the application, the value stays.
    Grid->OnSpinIncrement = [&](TObject*, int, int, bool, Variant&, int&, int&, bool& Accept) {
        ++Steps;
        Accept = false;
    };
    Grid->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(X, Y));
    Grid->Perform(WM_LBUTTONUP, 0, PointToLParam(X, Y));
    EXPECT_EQ(Steps, 2);
    EXPECT_EQ(Grid->GridControl()->GetValue().AsString(), "15");
}

} // namespace

namespace {

TEST_F(ValuesReading, OnlyATextCellIsCutOrPastedThroughTheClipboard) {
    Grid->SetStoreData(true);
    Grid->GridCols()->GetCol(1)->SetControlType(ctCheck);
    Grid->SetCellValue(1, 1, Variant("Checked"));
    Grid->SetCellValue(2, 1, Variant("abc"));
    Clipboard()->SetAsText("pasted");
    Grid->SetCurrentCell(1, 1);
    EXPECT_FALSE(Grid->PasteCellFromClipboard());
    EXPECT_FALSE(Grid->CutCellToClipboard());
    EXPECT_EQ(Grid->GetCellValue(1, 1).AsString(), "Checked");
    EXPECT_EQ(Clipboard()->AsText(), "pasted");
    Grid->SetCurrentCell(2, 1);
    // Changes to the editor before the first paint are no edits.
    QApplication::processEvents();
    EXPECT_TRUE(Grid->CopyCellToClipboard());
    EXPECT_EQ(Clipboard()->AsText(), "abc");
    Clipboard()->SetAsText("xyz");
    EXPECT_TRUE(Grid->PasteCellFromClipboard());
    EXPECT_NE(Grid->GetCellValue(2, 1).AsString().find("xyz"), std::string::npos);
}

TEST_F(ValuesReading, ARowTurnedIntoAnotherKindKeepsOnlyTheValuesItCanShow) {
    Grid->SetStoreData(true);
    Grid->SetCellValue(1, 2, Variant("a"));
    Grid->SetCellValue(3, 2, Variant("b"));
    Grid->SetCellValue(1, 3, Variant("c"));
    Grid->SetDrawOverlap(doDrawRowOnTop);
    Grid->SetRowControlType(2, ctPicture);
    EXPECT_EQ(Grid->DataStore()->GetValueType(1, 2), TgxValueType::vtpNone);
    EXPECT_EQ(Grid->DataStore()->GetValueType(3, 2), TgxValueType::vtpNone);
    EXPECT_EQ(Grid->DataStore()->GetValue(1, 3).AsString(), "c");
}

} // namespace

namespace {

TEST_F(ValuesReading, ASpinPressStepsAPictureCellThroughItsList) {
    auto* List = new TgxImageList(Form);
    AddPicture(*List, "Moon");
    AddPicture(*List, "Sun");
    Grid->SetImageList(List);
    Grid->SetStoreData(true);
    TgxCol* Col = Grid->GridCols()->GetCol(2);
    Col->SetControlType(ctPicture);
    Col->SetButtonType(btVertSpin);
    Grid->SetCellValue(2, 1, Variant("Moon"));
    Grid->OnSpinIncrement = [&](TObject*, int, int, bool, Variant& Value, int&, int&,
                                bool& Accept) {
        EXPECT_EQ(Value.AsString(), "Sun");
        Accept = true;
    };
    Grid->Update();
    const TRect R = Grid->CellRect(2, 1);
    Grid->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(R.Right - 3, R.Top + 2));
    Grid->Perform(WM_LBUTTONUP, 0, PointToLParam(R.Right - 3, R.Top + 2));
    EXPECT_EQ(Grid->GetCellValue(2, 1).AsString(), "Sun");
}

TEST_F(ValuesReading, DeletedColumnsAndRowsTakeTheirValuesAlong) {
    Grid->SetStoreData(true);
    for (int C = 1; C <= 3; ++C)
        for (int R = 1; R <= 3; ++R)
            Grid->SetCellValue(C, R, Variant(AnsiString(1, char('a' + C - 1)) + char('0' + R)));
    Grid->DeleteCols(2, 2);
    Grid->DeleteRows(1, 1);
    EXPECT_EQ(Grid->GetGridColCount(), 2);
    EXPECT_EQ(Grid->GetGridRowCount(), 2);
    EXPECT_EQ(Grid->DataStore()->GetValue(1, 1).AsString(), "a2");
    EXPECT_EQ(Grid->DataStore()->GetValue(2, 1).AsString(), "c2");
    EXPECT_EQ(Grid->DataStore()->GetValue(2, 2).AsString(), "c3");
}

} // namespace
