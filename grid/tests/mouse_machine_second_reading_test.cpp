// The mouse gesture machine driven by real mouse input on a shown grid:
// where a press starts a resize, how a resize ends, the heading press and
// release, which releases raise clicks and the right button's current cell.
#include "ShownMouseFixture.h"
#include "grid/model/Columns.h"


#include <vector>

using namespace grid;

namespace {

class MouseMachine : public ShownMouseFixture {
protected:
    void SetUp() override {
        ShowFocused(6, 20);
        Grid->OnMouseStatusChanged = [this](TObject*, TgxMouseStatus Old, TgxMouseStatus New) {
            Changes.emplace_back(Old, New);
        };
    }
    // The last pixel of a display column (its grid line), of a display row.
    int ColLine(int DisplayCol) const {
        int X = -1;
        for (int C = 0; C <= DisplayCol; ++C)
            if (C == 0 || C >= Grid->LeftCol()) X += Grid->ColWidths(C);
        return X;
    }
    int RowLine(int DisplayRow) const {
        int Y = -1;
        for (int R = 0; R <= DisplayRow; ++R)
            if (R == 0 || R >= Grid->TopRow()) Y += Grid->RowHeights(R);
        return Y;
    }
    std::vector<std::pair<TgxMouseStatus, TgxMouseStatus>> Changes;
};

TEST_F(MouseMachine, PressNearAGridLineStartsAResizeOnlyWithinItsZone) {
    struct Case {
        bool Col;
        int Index;
        int Offset;
        TgxMouseStatus Expected;
    } const Cases[] = {
        {true, 2, 1, msColResize},     {true, 2, -2, msColResize}, {true, 2, 2, msNormal},
        {true, 2, -3, msNormal},       {false, 3, 2, msRowResize}, {false, 3, -2, msRowResize},
        {false, 3, 3, msNormal},       {true, 0, 0, msRowBarResize},
        {false, 0, 0, msHeadingResize},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(std::to_string(C.Col) + " " + std::to_string(C.Index) + " " +
                     std::to_string(C.Offset));
        // Column edges are taken in the heading row, row edges in the row bar.
        const QPoint P = C.Col ? QPoint(ColLine(C.Index) + C.Offset, RowLine(0) - 5)
                               : QPoint(5, RowLine(C.Index) + C.Offset);
        Press(P);
        TgxMouseStatus Seen = Grid->MouseStatus();
        Release(P);
        // A press that is no resize may end in another gesture (a heading or
        // row-bar selection); only the resize statuses count here.
        if (Seen < msRowResize || Seen > msRowBarResize) Seen = msNormal;
        EXPECT_EQ(Seen, C.Expected);
        EXPECT_EQ(Grid->MouseStatus(), msNormal);
    }
}

TEST_F(MouseMachine, DraggingAColumnEdgeSetsTheWidthAndRaisesNoClick) {
    int Clicks = 0, CellClicks = 0;
    Grid->OnClick = [&](TObject*) { ++Clicks; };
    Grid->OnClickCell = [&](TObject*, int, const Variant&, int, const Variant&, TgxClickPosition,
                            TgxClickPosition) { ++CellClicks; };
    const int Before = Grid->ColWidths(2);
    const QPoint Edge(ColLine(2), RowLine(0) - 5);
    Press(Edge);
    ASSERT_EQ(Grid->MouseStatus(), msColResize);
    Move(Edge + QPoint(20, 0));
    Release(Edge + QPoint(20, 0));
    EXPECT_EQ(Grid->ColWidths(2), Before + 20);
    EXPECT_EQ(Grid->MouseStatus(), msNormal);
    EXPECT_EQ(Clicks, 0);
    EXPECT_EQ(CellClicks, 0);
    // Status reported once per change, in order.
    ASSERT_GE(Changes.size(), 2u);
    EXPECT_EQ(Changes.front(), std::make_pair(msNormal, msColResize));
    EXPECT_EQ(Changes.back(), std::make_pair(msColResize, msNormal));
    for (std::size_t I = 1; I < Changes.size(); ++I)
        EXPECT_EQ(Changes[I - 1].second, Changes[I].first);

    // Dragged left of the column's own left edge: the width stays.
    const int Now = Grid->ColWidths(2);
    const QPoint Edge2(ColLine(2), RowLine(0) - 5);
    Press(Edge2);
    Move(QPoint(ColLine(1) - 10, RowLine(0) - 5));
    Release(QPoint(ColLine(1) - 10, RowLine(0) - 5));
    EXPECT_EQ(Grid->ColWidths(2), Now);
    EXPECT_GE(Grid->ColWidths(2), 1);
}

TEST_F(MouseMachine, DoubleClickOnAColumnEdgeRestoresTheDefaultWidth) {
    for (TgxResizeCols Mode : {rcSingle, rcAll}) {
        SCOPED_TRACE(static_cast<int>(Mode));
        Grid->SetResizeCols(Mode);
        // The widths the program gives the columns are their own default widths.
        Grid->GetCol(1)->SetWidth(30);
        Grid->GetCol(2)->SetWidth(120);
        Grid->GetCol(3)->SetWidth(90);
        if (Mode == rcSingle) {
            // A width dragged by hand is not.
            const QPoint Edge(ColLine(2), RowLine(0) - 5);
            Press(Edge);
            Move(Edge + QPoint(30, 0));
            Release(Edge + QPoint(30, 0));
            ASSERT_EQ(Grid->ColWidths(2), 150);
        }
        int Clicks = 0, DblClicks = 0;
        Grid->OnClick = [&](TObject*) { ++Clicks; };
        Grid->OnDblClick = [&](TObject*) { ++DblClicks; };
        DoubleClick(QPoint(ColLine(2), RowLine(0) - 5));
        if (Mode == rcAll) {
            for (int C = 1; C <= 3; ++C) EXPECT_EQ(Grid->ColWidths(C), Grid->DefaultColWidth());
        } else {
            EXPECT_EQ(Grid->ColWidths(1), 30);
            EXPECT_EQ(Grid->ColWidths(2), 120);
            EXPECT_EQ(Grid->ColWidths(3), 90);
        }
        EXPECT_EQ(DblClicks, 0);
        EXPECT_EQ(Clicks, 0);
        EXPECT_EQ(Grid->MouseStatus(), msNormal);
    }
}

TEST_F(MouseMachine, DraggingARowEdgeSetsTheHeight) {
    const int Before = Grid->RowHeights(3);
    const QPoint Edge(5, RowLine(3));
    Press(Edge);
    ASSERT_EQ(Grid->MouseStatus(), msRowResize);
    Move(Edge + QPoint(0, 9));
    Release(Edge + QPoint(0, 9));
    EXPECT_EQ(Grid->RowHeights(3), Before + 9);
    EXPECT_EQ(Grid->MouseStatus(), msNormal);
}

TEST_F(MouseMachine, EscapeDuringAResizeKeepsTheWidth) {
    const int Before = Grid->ColWidths(2);
    const QPoint Edge(ColLine(2), RowLine(0) - 5);
    Press(Edge);
    Move(Edge + QPoint(25, 0));
    TypeKey(W, Qt::Key_Escape);
    EXPECT_EQ(Grid->MouseStatus(), msNormal);
    Release(Edge + QPoint(25, 0));
    EXPECT_EQ(Grid->ColWidths(2), Before);
}

TEST_F(MouseMachine, HeadingReleasedOutsideRaisesUpButNoClick) {
    Grid->SetHeadingButton(hbCell); // the whole heading cell is a button
    std::vector<std::string> Seen;
    Grid->OnHeadingDown = [&](TObject*, int C) { Seen.push_back("down" + std::to_string(C)); };
    Grid->OnHeadingUp = [&](TObject*, int C) { Seen.push_back("up" + std::to_string(C)); };
    Grid->OnHeadingClick = [&](TObject*, int C) { Seen.push_back("click" + std::to_string(C)); };
    const QPoint H = CellMid(2, 0);
    Press(H);
    EXPECT_EQ(Grid->MouseStatus(), msHeadingDown);
    EXPECT_TRUE(Grid->HeadingPressed());
    Move(CellMid(2, 3));
    EXPECT_FALSE(Grid->HeadingPressed());
    Release(CellMid(2, 3));
    EXPECT_EQ(Seen, (std::vector<std::string>{"down2", "up2"}));
    EXPECT_EQ(Grid->MouseStatus(), msNormal);
    EXPECT_EQ(Grid->HeadingDownCol(), -1);

    // Back over it before the release: a click.
    Seen.clear();
    Press(H);
    Move(CellMid(2, 3));
    Move(H);
    EXPECT_TRUE(Grid->HeadingPressed());
    Release(H);
    EXPECT_EQ(Seen, (std::vector<std::string>{"down2", "up2", "click2"}));
}

TEST_F(MouseMachine, ClickOnACellRaisesClickAndClickCellWithBothPositions) {
    std::vector<std::tuple<int, int, int, int, TgxClickPosition, TgxClickPosition>> Cells;
    int Clicks = 0;
    Grid->OnClick = [&](TObject*) { ++Clicks; };
    Grid->OnClickCell = [&](TObject*, int DC, const Variant& DR, int UC, const Variant& UR,
                            TgxClickPosition DP, TgxClickPosition UP) {
        Cells.emplace_back(DC, DR.AsInteger(), UC, UR.AsInteger(), DP, UP);
    };
    Press(CellMid(2, 3));
    Release(CellMid(2, 3));
    EXPECT_EQ(Clicks, 1);
    ASSERT_EQ(Cells.size(), 1u);
    EXPECT_EQ(Cells[0], std::make_tuple(2, 3, 2, 3, cpCell, cpCell));
    EXPECT_EQ(Grid->MouseDownCol(), 2);
    EXPECT_EQ(Grid->MouseDownRow(), 3);
    EXPECT_EQ(Grid->MouseUpCol(), 2);
    EXPECT_EQ(Grid->MouseUpRow(), 3);

    // A double-click while browsing (no in-place control takes it) is
    // reported once, as a double-click of the cell.
    Grid->SetGridMode(gmBrowse);
    Cells.clear();
    int DblCells = 0, DblClicks = 0;
    Grid->OnDblClick = [&](TObject*) { ++DblClicks; };
    Grid->OnDblClickCell = [&](TObject*, int, const Variant&, TgxClickPosition P) {
        ++DblCells;
        EXPECT_EQ(P, cpCell);
    };
    DoubleClick(CellMid(3, 4));
    EXPECT_EQ(DblCells, 1);
    EXPECT_EQ(DblClicks, 1);
}

TEST_F(MouseMachine, RightPressMovesTheCurrentCellOnlyToAnUnselectedCell) {
    Grid->SetCurrentCell(1, 1);
    Press(CellMid(3, 5), Qt::RightButton);
    Release(CellMid(3, 5), Qt::RightButton);
    EXPECT_EQ(Grid->Col(), 3);
    EXPECT_EQ(Grid->Row(), 5);

    // Heading keeps the row, row bar keeps the column.
    Press(CellMid(2, 0), Qt::RightButton);
    Release(CellMid(2, 0), Qt::RightButton);
    EXPECT_EQ(Grid->Col(), 2);
    EXPECT_EQ(Grid->Row(), 5);
    Press(CellMid(0, 7), Qt::RightButton);
    Release(CellMid(0, 7), Qt::RightButton);
    EXPECT_EQ(Grid->Col(), 2);
    EXPECT_EQ(Grid->Row(), 7);

    // Onto a selected cell: the current cell stays.
    Grid->SetRowSelectMode(rsMulti);
    Press(CellMid(0, 9));
    Release(CellMid(0, 9));
    const int Col = Grid->Col(), Row = Grid->Row();
    ASSERT_TRUE(Grid->IsCellSelected(4, 9));
    Grid->SetCurrentCell(1, 2);
    Press(CellMid(4, 9), Qt::RightButton);
    Release(CellMid(4, 9), Qt::RightButton);
    EXPECT_EQ(Grid->Col(), 1);
    EXPECT_EQ(Grid->Row(), 2);
    (void)Col;
    (void)Row;
}

} // namespace
