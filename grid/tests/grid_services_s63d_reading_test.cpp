// The grid's small services as the rest of the grid and its callers use them:
// predicates, current-row access, counters and the drop-down placement.
#include "ShownGridFixture.h"

#include "grid/foundation/ImageList.h"
#include "grid/model/Columns.h"
#include "grid/model/Rows.h"
#include "platform/gui/Graphics.h"

#include <gtest/gtest.h>

using namespace grid;

namespace {

class GridServices : public ShownGridFixture {};

TEST_F(GridServices, SpinButtonsAreTheTwoSpinTypes) {
    const struct {
        TgxButtonType Type;
        bool Spin;
    } Cases[] = {{btCombo, false},          {btNormal, false},       {btNone, false},
                 {btDefault, false},        {btVertSpin, true},      {btHorzSpin, true},
                 {btDateTimeDropDown, false}, {btDateTimePopup, false}};
    for (const auto& C : Cases)
        EXPECT_EQ(TgxBaseGrid::IsSpinButton(C.Type), C.Spin) << static_cast<int>(C.Type);
}

TEST_F(GridServices, PictureTransparentColourComesFromTheItemOrGoesToTheGrid) {
    ShowGrid(2, 2);
    TgxImageList List(nullptr);
    TgxImage* Item = List.Images()->Add();
    Item->SetTransparentMode(tmFixed);
    Item->SetTransparentColor(clRed);

    Item->SetTransparent(true);
    EXPECT_EQ(Grid->PictureTransparentColor(nullptr, Item), clRed);
    Item->SetTransparent(false);
    EXPECT_EQ(Grid->PictureTransparentColor(nullptr, Item), clNone);

    const TColor Before = Grid->TransparentColor();
    TBitmap Plain;
    Plain.SetSize(4, 4);
    EXPECT_EQ(Grid->PictureTransparentColor(&Plain, nullptr), clNone);
    EXPECT_EQ(Grid->TransparentColor(), Before) << "an opaque bitmap leaves the grid's colour";

    TBitmap Bare;
    Bare.SetSize(4, 4);
    Bare.SetTransparentMode(tmFixed);
    Bare.SetTransparentColor(clLime);
    Bare.SetTransparent(true);
    EXPECT_EQ(Grid->PictureTransparentColor(&Bare, nullptr), clNone);
    EXPECT_EQ(Grid->TransparentColor(), clLime);
    EXPECT_EQ(Grid->PictureTransparentColor(nullptr, nullptr), clNone);
}

TEST_F(GridServices, DropDownNeedsTheButtonAWritableCellAndAnEditingMode) {
    ShowGrid(3, 3);
    const struct {
        TgxButtonType Button;
        TgxReadOnly ReadOnly;
        TgxGridMode Mode;
        bool Expected;
    } Cases[] = {
        {btCombo, roOff, gmEdit, true},
        {btCombo, roOff, gmEditInsert, true},
        {btNormal, roOff, gmEdit, false},
        {btCombo, roOn, gmEdit, false},
        {btCombo, roOff, gmListBox, false},
        {btCombo, roOff, gmBrowse, false},
        // A date-time button drops nothing without a date-time definition.
        {btDateTimeDropDown, roOff, gmEdit, false},
    };
    for (const auto& C : Cases) {
        Grid->SetGridMode(C.Mode);
        Grid->SetCellButtonType(2, 2, C.Button);
        Grid->SetCellReadOnly(2, 2, C.ReadOnly);
        EXPECT_EQ(Grid->CanDropDown(2, 2, {btCombo, btDateTimeDropDown}), C.Expected)
            << static_cast<int>(C.Button) << " " << static_cast<int>(C.ReadOnly) << " "
            << static_cast<int>(C.Mode);
    }
}

TEST_F(GridServices, ModePredicates) {
    ShowGrid(2, 2);
    const struct {
        TgxGridMode Mode;
        bool Skip;
        bool CanSkip, EditMode, EditState, GridState, RowSelect;
    } Cases[] = {
        {gmEdit, true, true, true, true, true, false},
        {gmEditInsert, true, true, true, true, true, false},
        {gmBrowse, true, true, false, false, true, false},
        {gmListBox, true, false, false, false, false, false},
        {gmEdit, false, false, true, true, true, false},
    };
    for (const auto& C : Cases) {
        Grid->SetGridMode(C.Mode);
        Grid->SetSkipReadOnly(C.Skip);
        const int M = static_cast<int>(C.Mode);
        EXPECT_EQ(Grid->CanSkipReadOnly(), C.CanSkip) << M;
        EXPECT_EQ(Grid->InEditMode(), C.EditMode) << M;
        EXPECT_EQ(Grid->InEditState(), C.EditState) << M;
        EXPECT_EQ(Grid->InGridState(), C.GridState) << M;
    }
    Grid->SetGridMode(gmListBox);
    Grid->SetRowSelectMode(rsSingle);
    EXPECT_TRUE(Grid->InRowSelectMode());
    Grid->SetRowSelectMode(rsMulti);
    EXPECT_FALSE(Grid->InRowSelectMode());

    // Without data rows there is nothing to edit or browse.
    Grid->SetGridMode(gmEdit);
    Grid->SetGridRowCount(0);
    EXPECT_TRUE(Grid->InEditMode());
    EXPECT_FALSE(Grid->InEditState());
    EXPECT_FALSE(Grid->InGridState());
}

TEST_F(GridServices, InsertRowIsTheLastBaseRowInEditInsert) {
    ShowGrid(2, 3);
    Grid->SetGridMode(gmEditInsert);
    const int Last = Grid->RowCount() - 1;
    EXPECT_TRUE(Grid->IsInsertRow(Last));
    EXPECT_FALSE(Grid->IsInsertRow(Last - 1));
    Grid->SetGridMode(gmEdit);
    EXPECT_FALSE(Grid->IsInsertRow(Grid->RowCount() - 1));
}

TEST_F(GridServices, OldEditModeNames) {
    const struct {
        const char* Name;
        TgxEditMode Mode;
    } Cases[] = {{"emnone", emNone},
                 {"emeditinsert", emEditInsert},
                 {"embrowse", emBrowse},
                 {"emedit", emEdit},
                 {"anything", emEdit}};
    for (const auto& C : Cases)
        EXPECT_EQ(TgxBaseGrid::EditModeStrValue(C.Name), C.Mode) << C.Name;
}

TEST_F(GridServices, CurrentDataRowIgnoresRowsOutsideTheGrid) {
    ShowGrid(3, 5);
    Grid->SetCurrentDataRow(3);
    EXPECT_EQ(Grid->GetCurrentDataRow(), 3);
    for (int Bad : {-1, 6, 100}) {
        Grid->SetCurrentDataRow(Bad);
        EXPECT_EQ(Grid->GetCurrentDataRow(), 3) << Bad;
    }
}

TEST_F(GridServices, PaintAndFastAssignCountersNest) {
    ShowGrid(2, 2);
    Grid->SetEnablePaint(true);  // no lock to remove: must not go below zero
    Grid->SetEnablePaint(false);
    EXPECT_FALSE(Grid->CanPaint());
    Grid->SetEnablePaint(false);
    Grid->SetEnablePaint(true);
    EXPECT_FALSE(Grid->CanPaint());
    Grid->SetEnablePaint(true);
    EXPECT_TRUE(Grid->CanPaint());

    EXPECT_FALSE(Grid->GetFastAssign());
    Grid->SetFastAssign(true);
    Grid->SetFastAssign(true);
    Grid->SetFastAssign(false);
    EXPECT_TRUE(Grid->GetFastAssign());
    Grid->SetFastAssign(false);
    EXPECT_FALSE(Grid->GetFastAssign());
}

TEST_F(GridServices, AcceleratorFindsTheHeadingColumn) {
    ShowGrid(3, 2);
    Grid->GridCols()->Item(1)->SetHeading("&Name");
    Grid->GridCols()->Item(2)->SetHeading("Ci&ty");
    EXPECT_EQ(Grid->GetAccelHeading('n'), 1);
    EXPECT_EQ(Grid->GetAccelHeading('T'), 2);
    EXPECT_LE(Grid->GetAccelHeading('q'), 0);
}

TEST_F(GridServices, PictureOptionsFollowTheOverlapOrder) {
    ShowGrid(3, 3);
    Grid->GridCols()->Item(2)->SetStretchPicture(dopOn);
    Grid->GridRows()->CreateDataRow(2)->SetPicture(0, dopOff);
    Grid->SetDrawOverlap(doDrawColOnTop);
    EXPECT_EQ(Grid->GiveCellStretchPicture(2, 2), dopOn);
    Grid->SetDrawOverlap(doDrawRowOnTop);
    EXPECT_EQ(Grid->GiveCellStretchPicture(2, 2), dopOff);
    EXPECT_EQ(Grid->GiveCellStretchPicture(2, 1), dopOn);
    EXPECT_EQ(Grid->GiveCellStretchPicture(1, 1), dopDefault);
    Grid->GridCols()->Item(0)->SetStretchPicture(dopOn);
    EXPECT_EQ(Grid->GiveCellStretchPicture(0, 2), dopDefault) << "the row bar has no picture options";
    EXPECT_EQ(Grid->GiveCellStretchPicture(2, 0), dopDefault) << "nor has the heading";
}

TEST_F(GridServices, HeadingAlignmentFromTheOldAlignment) {
    ShowGrid(2, 2);
    const struct {
        TAlignment Old;
        TgxHorzAlignment Horz;
    } Cases[] = {{taCenter, htaCenter}, {taRightJustify, htaRight}, {taLeftJustify, htaDefault}};
    for (const auto& C : Cases) {
        Grid->SetHeadingAlignment(C.Old);
        EXPECT_EQ(Grid->HeadingHorzAlignment(), C.Horz) << static_cast<int>(C.Old);
    }
}

TEST_F(GridServices, CellRectAndCellFromXYAgree) {
    ShowGrid(4, 6);
    for (int Col = 0; Col <= 3; ++Col)
        for (int Row = 0; Row <= 4; ++Row) {
            const TRect R = Grid->CellRect(Col, Row);
            int C = -1, Rw = -1;
            ASSERT_TRUE(Grid->CellFromXY((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2, C, Rw));
            EXPECT_EQ(C, Col);
            EXPECT_EQ(Rw, Row);
        }
}

TEST_F(GridServices, VisibleExtentsNeedAWindow) {
    EnsureQtApplication();
    TgxGrid Loose(nullptr);
    Loose.SetGridColCount(3);
    Loose.SetGridRowCount(30);
    EXPECT_EQ(Loose.MaxVisibleCol(), 0);
    EXPECT_EQ(Loose.MaxVisibleRow(), 0);
    EXPECT_EQ(Loose.GetMaxTopRow(), 0);

    ShowGrid(3, 30);
    EXPECT_GT(Grid->MaxVisibleRow(), 1);
    EXPECT_LT(Grid->MaxVisibleRow(), Grid->RowCount() - 1);
    EXPECT_GT(Grid->GetMaxTopRow(), 1);
    // From the largest top row the last row is in view.
    Grid->SetTopRow(Grid->GetMaxTopRow());
    EXPECT_EQ(Grid->MaxVisibleRow(), Grid->RowCount() - 1);
}

TEST_F(GridServices, DeletingAColumnSelectionIsClamped) {
    ShowGrid(4, 3);
    Grid->DeleteColSelection(-5, 99);  // nothing selected: nothing happens
    Grid->SelectCols(1, 4, true);
    ASSERT_EQ(Grid->GridStatus(), grColSelect);
    Grid->DeleteColSelection(3, 99);
    EXPECT_TRUE(Grid->ColSelection().GetSelected(1));
    EXPECT_TRUE(Grid->ColSelection().GetSelected(2));
    EXPECT_FALSE(Grid->ColSelection().GetSelected(3));
    EXPECT_FALSE(Grid->ColSelection().GetSelected(4));
}

TEST_F(GridServices, DropDownFormStaysInTheWorkArea) {
    ShowGrid(3, 3);
    const TRect Work = Screen->WorkAreaRect();
    const TPoint Size{200, 150};
    const int RowHeight = Grid->RowHeights(2);
    struct Case {
        TPoint Pos;
        TPoint Expected;
    };
    const Case Cases[] = {
        {TPoint{Work.Left + 10, Work.Top + 10}, TPoint{Work.Left + 10, Work.Top + 10}},
        {TPoint{Work.Right - 50, Work.Top + 10}, TPoint{Work.Right - 200, Work.Top + 10}},
        {TPoint{Work.Left + 10, Work.Bottom - 20},
         TPoint{Work.Left + 10, Work.Bottom - 20 + Grid->VertLineWidth() - RowHeight - 150}},
    };
    for (const auto& C : Cases) {
        TPoint Pos = C.Pos;
        Grid->PositionDropDownForm(2, 2, Size, Pos);
        EXPECT_EQ(Pos.X, C.Expected.X);
        EXPECT_EQ(Pos.Y, C.Expected.Y);
    }
    TPoint Pos{0, 0};
    Grid->PositionPopupForm(2, 2, Size, Pos);
    EXPECT_EQ(Pos.X, Work.Left + (Work.Width() - 200) / 2);
    EXPECT_EQ(Pos.Y, Work.Top + (Work.Height() - 150) / 2);
}

}  // namespace
