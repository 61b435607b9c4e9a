// The grid's side of its drop-down list and date-time picker: the shared
// list and its form, closing, and where a drop-down form goes on the screen.
#include "GridEditFixture.h"

#include "grid/model/Columns.h"
#include "grid/model/Combo.h"
#include "grid/view/DropDownForm.h"
#include "platform/rtl/DateTime.h"


using namespace grid;

namespace {

class DropDownManageS60b : public GridEditFixture {};



TEST_F(DropDownManageS60b, ClosingWithNothingOpenRaisesNoRollUp) {
    int RollUps = 0;
    Grid->OnComboRollUp = [&](TObject*, TgxComboGrid*, int, int) { ++RollUps; };
    Grid->OnDateTimeRollUp = [&](TObject*, TgxDateTimeDefComponent*, int, const Variant&) {
        ++RollUps;
    };
    EXPECT_FALSE(Grid->ComboVisible());
    EXPECT_FALSE(Grid->DropDownVisible());
    Grid->CheckDropDownOff(false);
    Grid->GetCombo();  // made, but not opened
    EXPECT_FALSE(Grid->ComboVisible());
    Grid->CheckDropDownOff(true);
    EXPECT_EQ(RollUps, 0);
}

TEST_F(DropDownManageS60b, ListFormStartsHiddenDisabledAtTheGridsLeftInItsFont) {
    Grid->SetLeft(12);
    TgxDropDownForm* F = Grid->GetComboForm();
    ASSERT_NE(F, nullptr);
    EXPECT_EQ(Grid->GetComboForm(), F);
    EXPECT_FALSE(F->Visible());
    EXPECT_FALSE(F->Enabled());
    EXPECT_EQ(F->Left(), 12);
    EXPECT_EQ(F->Font()->Size(), Grid->Font()->Size());
    EXPECT_EQ(F->Font()->Name(), Grid->Font()->Name());
}

TEST_F(DropDownManageS60b, ListGridTakesTheListSettings) {
    Grid->SetCursor(crHandPoint);
    TgxComboGrid* List = Grid->GetCombo()->GetGrid();
    ASSERT_NE(List, nullptr);
    EXPECT_EQ(List->GetGridColCount(), 1);
    EXPECT_FALSE(List->GetHeadingOn());
    EXPECT_FALSE(List->GetRowBarOn());
    EXPECT_EQ(List->GridMode(), gmListBox);
    EXPECT_EQ(List->DefaultRowHeight(), 14);
    EXPECT_EQ(List->Cursor(), crHandPoint);
    EXPECT_EQ(List->DefaultButtonWidth(), Grid->DefaultButtonWidth());
    EXPECT_FALSE(List->TabStop());
    EXPECT_TRUE(List->Visible());
}

// A grid that the test can put into the form designer's hands.
class TDesignedListOwner : public TgxGrid {
public:
    using TgxGrid::TgxGrid;
    void Design(bool On) { SetDesigning(On); }
};

TEST_F(DropDownManageS60b, ListGridInDesignModeCanBeEdited) {
    auto* G = new TDesignedListOwner(Form);
    G->SetParent(Form);
    G->SetBounds(0, 0, 200, 100);
    G->Design(true);
    TgxComboGrid* List = G->GetCombo()->GetGrid();
    ASSERT_NE(List, nullptr);
    EXPECT_EQ(List->GetGridColCount(), 2);
    EXPECT_EQ(List->GridMode(), gmEdit);
    EXPECT_FALSE(List->GetHeadingOn());
}

TEST_F(DropDownManageS60b, TotalColWidthAddsTheDataColumns) {
    int Sum = 0;
    for (int C = 1; C <= Grid->GetGridColCount(); ++C) Sum += Grid->GetCol(C)->Width();
    EXPECT_EQ(Grid->TotalColWidth(), Sum);
    Grid->GetCol(2)->SetWidth(Grid->GetCol(2)->Width() + 13);
    EXPECT_EQ(Grid->TotalColWidth(), Sum + 13);
}

TEST_F(DropDownManageS60b, DropDownFormStaysInTheWorkArea) {
    const TRect W = Screen->WorkAreaRect();
    const int Width = W.Right - W.Left;
    const int Height = W.Bottom - W.Top;
    const TPoint Size{200, 120};
    const int Row = 2;
    const int Flip = Grid->VertLineWidth() - Grid->RowHeights(Row) - Size.Y;
    struct Case {
        const char* Name;
        TPoint From;
        TPoint Size;
        TPoint Expect;
    };
    const int Tall = Height + 10;
    const Case Cases[] = {
        {"fits", {W.Left + 10, W.Top + 10}, Size, {W.Left + 10, W.Top + 10}},
        {"right edge", {Width - 50, W.Top + 10}, Size,
         {std::max(W.Left, Width - Size.X), W.Top + 10}},
        {"bottom edge", {W.Left + 10, Height - 40}, Size,
         {W.Left + 10, std::max(W.Top, Height - 40 + Flip)}},
        {"taller than the area", {W.Left + 10, 30}, {Size.X, Tall}, {W.Left + 10, W.Top}},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        TPoint Pos = C.From;
        Grid->PositionDropDownForm(1, Row, C.Size, Pos);
        EXPECT_EQ(Pos.X, C.Expect.X);
        EXPECT_EQ(Pos.Y, C.Expect.Y);
    }
    TPoint Wide{Width + 40, 50};
    TPoint Pos{100, W.Top};
    Grid->PositionDropDownForm(1, Row, Wide, Pos);
    EXPECT_EQ(Pos.X, W.Left);
}

TEST_F(DropDownManageS60b, PickedValueBecomesTextOnlyWhenItIsADate) {
    Variant Given;
    Grid->OnDateTimeGetValue = [&](TObject*, TgxDateTimeDefComponent*, int, int, Variant& V) {
        V = Given;
    };
    struct Case {
        const char* Name;
        Variant In;
        TVarType Type;
        AnsiString Text;
    };
    const Case Cases[] = {
        {"date", Variant(EncodeDate(2024, 3, 7)), varString, ""},
        {"double", Variant(EncodeDate(2031, 11, 2).Val), varString, ""},
        {"text", Variant("not a date"), varString, "not a date"},
        {"integer", Variant(42), Variant(42).Type(), "42"},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        Given = C.In;
        Variant Out;
        Grid->GetDateTimeValue(1, 1, Out);
        EXPECT_EQ(Out.Type(), C.Type);
        if (!C.Text.empty()) EXPECT_EQ(Out.AsString(), C.Text);
    }
    Given = Variant(EncodeDate(2024, 3, 7));
    Variant Out;
    Grid->GetDateTimeValue(1, 1, Out);
    EXPECT_NE(Out.AsString().find("2024"), std::string::npos) << Out.AsString();
}

TEST_F(DropDownManageS60b, EmptyPickOrCancelHandsTheFocusBackToTheGrid) {
    Grid->SetGridMode(gmEdit);
    Grid->SetCurrentCell(2, 2);
    TEdit* Other = new TEdit(Form);
    Other->SetParent(Form);
    Other->SetBounds(0, 320, 80, 20);
    for (bool Cancel : {false, true}) {
        SCOPED_TRACE(Cancel ? "cancel" : "empty pick");
        Other->SetFocus();
        QApplication::processEvents();
        ASSERT_FALSE(Grid->IsFocused());
        if (Cancel)
            Grid->CancelDateTimeSelection();
        else
            Grid->SetDateTimeSelection();
        QApplication::processEvents();
        EXPECT_TRUE(Grid->IsFocused());
        EXPECT_FALSE(Grid->DropDownVisible());
        EXPECT_TRUE(Grid->GetCellValue(2, 2).IsEmpty());
    }
}

TEST_F(DropDownManageS60b, PopupFormIsCentred) {
    const TRect W = Screen->WorkAreaRect();
    TPoint Pos{0, 0};
    Grid->PositionPopupForm(1, 1, TPoint{201, 99}, Pos);
    EXPECT_EQ(Pos.X, (W.Right - W.Left - 201) / 2);
    EXPECT_EQ(Pos.Y, (W.Bottom - W.Top - 99) / 2);
}

}  // namespace
