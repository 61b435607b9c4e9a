// Where a point on a shown grid offers to resize a column or a row, what a
// press there starts, and the dotted line that follows the mouse.
#include "ShownMouseFixture.h"

#include "grid/model/BaseGrid.h"
#include "platform/gui/Graphics.h"

#include <gtest/gtest.h>

using namespace grid;

namespace {

class HitZones : public ShownMouseFixture {
protected:
    void SetUp() override { ShowFocused(5, 20); }
    // The x of display column C's right boundary: the widths summed from
    // the row bar (or the first column), less one.
    int ColBoundary(int C) const {
        int E = -1;
        for (int I = Grid->GetRowBarOn() ? 0 : 1; I <= C; ++I)
            E += Grid->ColWidths(I);
        return E;
    }
    int RowBoundary(int R) const {
        int E = -1;
        for (int I = Grid->GetHeadingOn() ? 0 : 1; I <= R; ++I)
            E += Grid->RowHeights(I);
        return E;
    }
};

TEST_F(HitZones, ColumnBandIsFourPixelsAndRowBandFive) {
    const int E = ColBoundary(2);
    struct Case {
        int Dx;
        bool Hit;
    } Cols[] = {{-3, false}, {-2, true}, {0, true}, {1, true}, {2, false}};
    for (const auto& C : Cols) {
        const TgxMouseStatus S = Grid->GetSizingState(E + C.Dx, 3, 0, 2);
        EXPECT_EQ(S, C.Hit ? msColResize : msNormal) << C.Dx;
        if (C.Hit) {
            EXPECT_EQ(Grid->SizingIndex(), 2);
            EXPECT_EQ(Grid->SizingLinePos(), E);
            EXPECT_EQ(Grid->SizingOffset(), -C.Dx);
        }
    }
    const int R = RowBoundary(3);
    struct Case Rows[] = {{-3, false}, {-2, true}, {0, true}, {2, true}, {3, false}};
    for (const auto& C : Rows) {
        const TgxMouseStatus S = Grid->GetSizingState(3, R + C.Dx, 3, 0);
        EXPECT_EQ(S, C.Hit ? msRowResize : msNormal) << C.Dx;
        if (C.Hit) {
            EXPECT_EQ(Grid->SizingIndex(), 3);
            EXPECT_EQ(Grid->SizingLinePos(), R);
            EXPECT_EQ(Grid->SizingOffset(), -C.Dx);
        }
    }
}

TEST_F(HitZones, RowBarAndHeadingBoundariesHaveTheirOwnStatus) {
    const int EB = ColBoundary(0);
    EXPECT_EQ(Grid->GetSizingState(EB, 3, 0, 0), msRowBarResize);
    EXPECT_EQ(Grid->SizingIndex(), 0);
    const int EH = RowBoundary(0);
    EXPECT_EQ(Grid->GetSizingState(3, EH, 0, 0), msHeadingResize);
    EXPECT_EQ(Grid->SizingIndex(), 0);
    // Without the row bar its boundary is gone; the first one tested is the
    // first column's.
    Grid->SetRowBarOn(false);
    EXPECT_EQ(Grid->GetSizingState(ColBoundary(1), 3, 0, 1), msColResize);
    EXPECT_EQ(Grid->SizingIndex(), 1);
}

TEST_F(HitZones, InsideTheGridNothingResizesUnlessAllowed) {
    const int E = ColBoundary(2), R = RowBoundary(3);
    EXPECT_EQ(Grid->GetSizingState(E, 30, 2, 2), msNormal);
    EXPECT_EQ(Grid->GetSizingState(30, R, 3, 2), msNormal);
    Grid->SetResizeColsInGrid(true);
    EXPECT_EQ(Grid->GetSizingState(E, RowBoundary(2) - 5, 2, 2), msColResize);
    Grid->SetResizeRowsInGrid(true);
    EXPECT_EQ(Grid->GetSizingState(ColBoundary(2) - 8, R, 3, 2), msRowResize);
    // Rows take precedence over columns where both are hit.
    EXPECT_EQ(Grid->GetSizingState(E, R, 3, 2), msRowResize);
    Grid->SetResizeCols(rcNone);
    Grid->SetResizeRows(rrNone);
    EXPECT_EQ(Grid->GetSizingState(E, R, 3, 2), msNormal);
}

TEST_F(HitZones, OverTheHeadingARowBoundaryOnlyInItsSizingStrip) {
    const int EH = RowBoundary(0);
    // In a heading cell (not the row bar) no row boundary is offered.
    EXPECT_EQ(Grid->GetSizingState(ColBoundary(1) - 10, EH, 0, 1), msNormal);
    // In the row bar's heading cell, only from the heading's bottom - 2 on.
    EXPECT_EQ(Grid->GetSizingState(3, EH - 2, 0, 0), msHeadingResize);
    EXPECT_EQ(Grid->GetSizingState(3, EH - 4, 0, 0), msNormal);
}

TEST_F(HitZones, HiddenAndOffWindowBoundariesAreNeverOffered) {
    Grid->SetColWidths(2, 0);
    const int E1 = ColBoundary(1);
    // Column 2 has no width: its boundary coincides with column 1's, and
    // the hit names column 1.
    EXPECT_EQ(Grid->GetSizingState(E1, 3, 0, 1), msColResize);
    EXPECT_NE(Grid->SizingIndex(), 2);
    // A column reaching beyond the window: its boundary is not hit.
    Grid->SetColWidths(3, 1000);
    const int E3 = ColBoundary(3);
    EXPECT_EQ(Grid->GetSizingState(E3, 3, 0, 3), msNormal);
}

// A press in the first pixels of a data cell starts a range selection in
// every column alike; the row bar's zone does not reach into the cells.
TEST_F(HitZones, PressAtADataCellsLeftEdgeSelectsARange) {
    for (int Col : {1, 2, 3}) {
        for (int Dx : {0, 1, 2}) {
            const TRect R = Grid->CellRect(Col, 3);
            const QPoint P(R.Left + Dx, (R.Top + R.Bottom) / 2);
            Press(P);
            EXPECT_EQ(Grid->MouseStatus(), msCellSelect) << "col " << Col << " dx " << Dx;
            Release(P);
            EXPECT_EQ(Grid->MouseStatus(), msNormal);
        }
    }
}

// The same with the row selected and movable, and the row bar's last
// pixel beside it still belonging to the row bar.
TEST_F(HitZones, PressAtTheLeftEdgeBesideASelectedRowStillSelectsARange) {
    Grid->SetRowSelectMode(rsMulti);
    const TRect Bar = Grid->CellRect(0, 3);
    const QPoint InBar(Bar.Right - 1, (Bar.Top + Bar.Bottom) / 2);
    Press(InBar);
    Release(InBar);
    for (int Col : {1, 2}) {
        for (int Dx : {0, 1}) {
            const TRect R = Grid->CellRect(Col, 3);
            const QPoint P(R.Left + Dx, (R.Top + R.Bottom) / 2);
            Press(P);
            EXPECT_EQ(Grid->MouseStatus(), msCellSelect) << "col " << Col << " dx " << Dx;
            Release(P);
        }
    }
}

TEST_F(HitZones, DraggingABoundaryDrawsAndMovesTheDottedLineThenResizes) {
    const int E = ColBoundary(2);
    const int Y = RowBoundary(4) + 3;
    Grid->Invalidate();
    Grid->Update();
    TCanvas* C = Grid->Canvas();
    const TColor Before = C->Pixels(E, Y);
    Press(QPoint(E, 3));
    ASSERT_EQ(Grid->MouseStatus(), msColResize);
    // The XOR line runs down the window at the boundary.
    bool Drawn = false;
    for (int Dy = 0; Dy < 2; ++Dy)
        Drawn = Drawn || C->Pixels(E, Y + Dy) != Before || C->Pixels(E, Y + Dy + 1) != Before;
    EXPECT_TRUE(Drawn);
    Move(QPoint(E + 10, 3));
    EXPECT_EQ(Grid->SizingLinePos(), E + 10);
    // The old line is gone.
    EXPECT_EQ(C->Pixels(E, Y), Before);
    const int OldWidth = Grid->ColWidths(2);
    Release(QPoint(E + 10, 3));
    EXPECT_EQ(Grid->MouseStatus(), msNormal);
    EXPECT_EQ(Grid->ColWidths(2), OldWidth + 10);
}

} // namespace
