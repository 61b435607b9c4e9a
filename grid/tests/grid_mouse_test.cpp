// The grid's mouse offscreen: resize zones and resizing, the gestures a
// press starts and what its release raises, deleting and moving columns
// and rows, and cell buttons with the spin repeat under a fake timer.
#include "grid/model/Columns.h"
#include "grid/model/GxGrid.h"
#include "grid/model/InplaceControl.h"
#include "grid/tests/ShownGridFixture.h"
#include "grid/view/GridResources.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Messages.h"
#include "platform/gui/QtApp.h"
#include "platform/gui/TimerService.h"
#include "platform/gui/tests/GuiTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

using namespace grid;

namespace {

class GridMouse : public ShownGridFixture {
protected:
    void SetUp() override {
        ShowGrid(10, 20);
        Grid->SetFocus();
        Grid->OnMouseStatusChanged = [this](TObject*, TgxMouseStatus, TgxMouseStatus New) {
            Statuses.push_back(New);
        };
    }

    void Down(int X, int Y, unsigned Keys = 0) {
        Grid->Perform(WM_LBUTTONDOWN, MK_LBUTTON | Keys, PointToLParam(X, Y));
    }
    void DoubleDown(int X, int Y) {
        Grid->Perform(WM_LBUTTONDBLCLK, MK_LBUTTON, PointToLParam(X, Y));
    }
    void Move(int X, int Y, unsigned Keys = MK_LBUTTON) {
        Grid->Perform(WM_MOUSEMOVE, Keys, PointToLParam(X, Y));
    }
    void Up(int X, int Y) { Grid->Perform(WM_LBUTTONUP, 0, PointToLParam(X, Y)); }

    // The x of the grid line right of a display column, the y below a row.
    int ColEdge(int C) const { return Grid->CellRect(C, 1).Right; }
    int RowEdge(int R) const { return Grid->CellRect(1, R).Bottom; }
    int MidX(int C) const {
        const TRect R = Grid->CellRect(C, 1);
        return (R.Left + R.Right) / 2;
    }
    int MidY(int R) const {
        const TRect Rc = Grid->CellRect(1, R);
        return (Rc.Top + Rc.Bottom) / 2;
    }
    std::vector<int> DisplayOrder() const {
        std::vector<int> Order;
        for (int D = 1; D <= Grid->GetGridColCount(); ++D)
            Order.push_back(Grid->GetDataCol(D));
        return Order;
    }

    FakeTimerService Timers;
    ScopedTimerService TimerScope{Timers};
    std::vector<TgxMouseStatus> Statuses;
};

// ---- resize zones ----------------------------------------------------------------------------

TEST_F(GridMouse, ResizeZonesAreFourPixelsForColumnsAndFiveForRows) {
    struct Case {
        const char* What;
        int X;
        int Y;
        TgxMouseStatus Status;
        int Index;
    };
    const int E1 = ColEdge(1);
    const int R2 = RowEdge(2);
    const int Bar = ColEdge(0);
    const int Head = RowEdge(0);
    const Case Cases[] = {
        {"two left of a column line", E1 - 2, 5, msColResize, 1},
        {"on a column line", E1, 5, msColResize, 1},
        {"one right of a column line", E1 + 1, 5, msColResize, 1},
        {"two right of a column line", E1 + 2, 5, msNormal, -1},
        {"three left of a column line", E1 - 3, 5, msNormal, -1},
        {"two below a row line in the row bar", 3, R2 + 2, msRowResize, 2},
        {"two above a row line in the row bar", 3, R2 - 2, msRowResize, 2},
        {"three below a row line", 3, R2 + 3, msNormal, -1},
        {"a row line inside the data", MidX(2), R2, msNormal, -1},
        {"the heading's own line in the row bar", 3, Head, msHeadingResize, 0},
        {"the row bar's own line in the heading", Bar, 5, msRowBarResize, 0},
    };
    for (const Case& C : Cases) {
        int Col = -1;
        int Row = -1;
        Grid->CellFromXY(C.X, C.Y, Col, Row);
        EXPECT_EQ(Grid->GetSizingState(C.X, C.Y, Row, Col), C.Status) << C.What;
        if (C.Status != msNormal) {
            EXPECT_EQ(Grid->SizingIndex(), C.Index) << C.What;
        }
    }
}

TEST_F(GridMouse, HiddenColumnsAndTheRowBarOffAreNeverOffered) {
    // A hidden column has no line of its own: the line there is column 1's.
    Grid->GridCols()->Item(2)->SetVisible(false);
    const int E1 = ColEdge(1);
    int Col = -1;
    int Row = -1;
    Grid->CellFromXY(E1, 5, Col, Row);
    ASSERT_EQ(Grid->GetSizingState(E1, 5, Row, Col), msColResize);
    EXPECT_EQ(Grid->SizingIndex(), 1);

    // Without the row bar its line is no zone; the first is column 1's.
    Grid->SetRowBarOn(false);
    TgxMouseStatus Status = msNormal;
    Grid->CalcColSizingState(0, Status);
    EXPECT_EQ(Status, msNormal);
    Grid->CalcColSizingState(ColEdge(1), Status);
    EXPECT_EQ(Status, msColResize);
    EXPECT_EQ(Grid->SizingIndex(), 1);

    // A line whose band starts at the client's right edge is no zone (on
    // a grid without the client edge, whose columns end where this counts).
    Grid->SetBorderStyle(bsNone);
    Status = msNormal;
    Grid->CalcColSizingState(Grid->ClientWidth() + 2, Status);
    EXPECT_EQ(Status, msNormal);
}

TEST_F(GridMouse, ResizingIsOffWhereTheGridSaysSo) {
    const int E1 = ColEdge(1);
    Grid->SetResizeCols(rcNone);
    EXPECT_EQ(Grid->GetSizingState(E1, 5, 0, 1), msNormal);
    Grid->SetResizeCols(rcSingle);
    // Inside the data a column line is a zone only with ResizeColsInGrid.
    EXPECT_EQ(Grid->GetSizingState(E1, MidY(3), 3, 1), msNormal);
    Grid->SetResizeColsInGrid(true);
    EXPECT_EQ(Grid->GetSizingState(E1, MidY(3), 3, 1), msColResize);
}

// ---- the gestures of a press -------------------------------------------------------------------

TEST_F(GridMouse, DraggingAHeadingLineResizesTheColumnAndRaisesNoClick) {
    const int Width = Grid->ColWidths(2);
    const int Edge = ColEdge(2);
    int Clicks = 0;
    Grid->OnClick = [&](TObject*) { ++Clicks; };
    Grid->OnClickCell = [&](TObject*, int, const Variant&, int, const Variant&, TgxClickPosition,
                            TgxClickPosition) { ++Clicks; };
    int Resized = -1;
    Grid->OnColResized = [&](TObject*, int DataCol) { Resized = DataCol; };

    Down(Edge, 5);
    EXPECT_EQ(Grid->MouseStatus(), msColResize);
    Move(Edge + 10, 5);
    Move(Edge + 30, 5);
    EXPECT_EQ(Grid->SizingLinePos(), Edge + 30);
    Up(Edge + 30, 5);

    EXPECT_EQ(Grid->MouseStatus(), msNormal);
    EXPECT_EQ(Grid->ColWidths(2), Width + 30);
    EXPECT_EQ(Grid->GridCols()->Item(2)->Width(), Width + 30);
    EXPECT_EQ(Resized, 2);
    EXPECT_EQ(Clicks, 0);
    EXPECT_EQ(Statuses, (std::vector<TgxMouseStatus>{msColResize, msNormal}));
}

// While one heading is held down no other heading takes a click, and no
// column past the last has a left edge.
TEST_F(GridMouse, AHeldHeadingKeepsTheOthersFromBeingClicked) {
    Grid->SetHeadingButton(hbCell);
    EXPECT_TRUE(Grid->CanClickHeading(MidX(5), 5, 5));
    Down(MidX(4), 5);
    ASSERT_EQ(Grid->MouseStatus(), msHeadingDown);
    EXPECT_TRUE(Grid->CanClickHeading(MidX(4), 5, 4));
    EXPECT_FALSE(Grid->CanClickHeading(MidX(5), 5, 5));
    Up(MidX(4), 5);
    EXPECT_TRUE(Grid->CanClickHeading(MidX(5), 5, 5));

    Grid->SetGridColCount(3);
    EXPECT_GE(Grid->CalcColOffset(3), 0);
    EXPECT_EQ(Grid->CalcColOffset(4), -1);
    EXPECT_EQ(Grid->CalcColOffset(40), -1);
}

// Resizing every row (column) at once by one of them keeps that one where
// the mouse has it, not the current one.
TEST_F(GridMouse, ResizingAllRowsOrColumnsKeepsTheResizedOneInPlace) {
    Grid->SetGridRowCount(60);
    Grid->SetGridColCount(40);
    Grid->SetResizeRows(rrAll);
    Grid->SetResizeCols(rcAll);
    Grid->SetTopRow(10);
    Grid->SetLeftCol(10);
    Grid->SetCurrentCell(11, 12);
    QWidget* W = Grid->Widget();
    const auto Drag = [&](QPoint From, QPoint To) {
        SendMouse(W, QEvent::MouseButtonPress, From);
        SendMouse(W, QEvent::MouseMove, To, Qt::NoButton, Qt::LeftButton);
        SendMouse(W, QEvent::MouseButtonRelease, To);
    };
    const int Height = Grid->RowHeights(16);
    const int Top = Grid->CalcRowOffset(16);
    const int RowLine = Grid->CellRect(0, 16).Bottom;
    Drag(QPoint(5, RowLine), QPoint(5, RowLine + 12));
    ASSERT_EQ(Grid->RowHeights(16), Height + 12);
    EXPECT_LE(std::abs(Grid->CalcRowOffset(16) - Top), (Height + 12) / 2);
    EXPECT_EQ(Grid->Row(), 12);

    const int Width = Grid->ColWidths(13);
    const int Left = Grid->CalcColOffset(13);
    const int ColLine = Grid->CellRect(13, 0).Right;
    Drag(QPoint(ColLine, 5), QPoint(ColLine + 30, 5));
    ASSERT_EQ(Grid->ColWidths(13), Width + 30);
    EXPECT_LE(std::abs(Grid->CalcColOffset(13) - Left), (Width + 30) / 2);
    EXPECT_EQ(Grid->Col(), 11);
}

// A press on a cell's button first makes the cell current as far as the
// grid allows it: not in a read-only frozen row, only the row in a
// read-only column; a move shows the editor on the new cell at once.
TEST_F(GridMouse, APressOnACellsButtonMovesThereAsFarAsAllowed) {
    Grid->SetGridMode(gmEdit);
    Grid->SetAlwaysDetectButton(true);
    Grid->SetFixedRowCount(1);
    Grid->SetSelectFixed(false);
    Grid->SetRowReadOnly(1, true);
    Grid->GetCol(Variant(4))->SetReadOnly(true);
    for (int C = 2; C <= 6; ++C)
        Grid->GetCol(Variant(C))->SetButtonType(btNormal);
    int Downs = 0;
    Grid->OnButtonDown = [&](TObject*, int, const Variant&) { ++Downs; };
    struct Case {
        const char* What;
        int Col;
        int Row;
        int ToCol;
        int ToRow;
        int Pressed; // OnButtonDown raised
    };
    const Case Cases[] = {
        {"a read-only frozen row", 3, 1, 2, 5, 0},
        {"a read-only column", 4, 7, 2, 7, 0},
        {"an editable cell", 5, 8, 5, 8, 1},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.What);
        Grid->SetCurrentCell(2, 5);
        Downs = 0;
        const TRect Cell = Grid->CellRect(C.Col, C.Row);
        const QPoint At(Cell.Right - 3, Cell.Top + 4);
        SendMouse(Grid->Widget(), QEvent::MouseButtonPress, At);
        SendMouse(Grid->Widget(), QEvent::MouseButtonRelease, At);
        EXPECT_EQ(Grid->Col(), C.ToCol);
        EXPECT_EQ(Grid->Row(), C.ToRow);
        EXPECT_EQ(Downs, C.Pressed);
        // The editor stands on the current cell.
        TgxCustomGridControl* Editor = Grid->GridControl();
        ASSERT_NE(Editor, nullptr);
        const TRect Now = Grid->CellRect(Grid->Col(), Grid->Row());
        EXPECT_TRUE(Editor->GetVisible());
        EXPECT_GE(Editor->GetTop(), Now.Top);
        EXPECT_LT(Editor->GetTop(), Now.Bottom);
    }
}

// Pressing the button of a cell inside a selected block shows the press at
// once, inverted, before the block goes and the cell becomes current.
TEST_F(GridMouse, APressOnASelectedCellsButtonFlashesItBeforeTheBlockGoes) {
    Grid->SetGridMode(gmEdit);
    Grid->SetSelectionType(sltColor);
    Grid->SetSelectionColor(clYellow);
    Grid->GetCol(Variant(5))->SetButtonType(btNormal);
    Grid->SetCurrentCell(2, 5);
    Grid->SelectCells(4, 7, 6, 9);
    Grid->Invalidate();
    Grid->Update();
    const TRect Cell = Grid->CellRect(5, 8);
    const int X = Cell.Right - 2;
    const int Y = Cell.Top + 1;
    const TColor Before = Grid->Canvas()->Pixels(X, Y);
    TColor AtMove = clNone;
    Grid->OnColChanged = [&](TObject*, int, int) { AtMove = Grid->Canvas()->Pixels(X, Y); };
    const QPoint At(Cell.Right - 3, Cell.Top + 4);
    SendMouse(Grid->Widget(), QEvent::MouseButtonPress, At);
    SendMouse(Grid->Widget(), QEvent::MouseButtonRelease, At);
    EXPECT_EQ(AtMove, Before ^ 0xFFFFFF);
    EXPECT_EQ(Grid->GridStatus(), grNormal);
    EXPECT_EQ(Grid->Col(), 5);
    EXPECT_EQ(Grid->Row(), 8);
}

TEST_F(GridMouse, ThePressDecidesTheGestureAndTheReleaseEndsIt) {
    Grid->SetCellButtonType(3, 4, btNormal);
    Grid->SetHeadingButton(hbCell);
    const TRect Button = Grid->CellRect(3, 4);
    struct Case {
        const char* What;
        int X;
        int Y;
        TgxMouseStatus Held;
        bool Clicked;
    };
    const Case Cases[] = {
        {"a heading line", ColEdge(2), 5, msColResize, false},
        {"a row line in the row bar", 3, RowEdge(3), msRowResize, false},
        {"the heading's lower line", 3, RowEdge(0), msHeadingResize, false},
        {"the row bar's right line", ColEdge(0), 5, msRowBarResize, false},
        {"a clickable heading", MidX(4), 5, msHeadingDown, true},
        {"a cell's button", Button.Right - 2, Button.Top + 3, msButtonDown, false},
        {"the row bar of a data row", 5, MidY(6), msRowSelect, true},
    };
    for (const Case& C : Cases) {
        int Clicks = 0;
        Grid->OnClick = [&](TObject*) { ++Clicks; };
        Statuses.clear();
        Down(C.X, C.Y);
        EXPECT_EQ(Grid->MouseStatus(), C.Held) << C.What;
        Up(C.X, C.Y);
        EXPECT_EQ(Grid->MouseStatus(), msNormal) << C.What;
        EXPECT_EQ(Clicks, C.Clicked ? 1 : 0) << C.What;
        // Each change was reported once, with the new value.
        EXPECT_EQ(Statuses, (std::vector<TgxMouseStatus>{C.Held, msNormal})) << C.What;
    }
}

TEST_F(GridMouse, TheSizingLineIsDrawnOverWhatIsThereAndTakenAwayAgain) {
    Grid->Update();
    const int Edge = ColEdge(2);
    const int X = Edge + 20;
    const int Y = MidY(5);
    const TColor Before = Grid->Canvas()->Pixels(X, Y);
    Down(Edge, 5);
    Move(X, 5);
    // A dotted line: one of two neighbouring pixels shows it.
    const bool Shown =
        Grid->Canvas()->Pixels(X, Y) != Before || Grid->Canvas()->Pixels(X, Y + 1) != Before;
    EXPECT_TRUE(Shown);
    Grid->CancelMouseAction();
    EXPECT_EQ(Grid->MouseStatus(), msNormal);
    EXPECT_EQ(Grid->Canvas()->Pixels(X, Y), Before);
    EXPECT_EQ(Grid->Canvas()->Pixels(X, Y + 1), Before);
    Up(X, 5);
}

TEST_F(GridMouse, ARightClickMovesTheCurrentCellOnlyToAnUnselectedCell) {
    const auto RightClick = [&](int X, int Y) {
        Grid->Perform(WM_RBUTTONDOWN, MK_RBUTTON, PointToLParam(X, Y));
        Grid->Perform(WM_RBUTTONUP, 0, PointToLParam(X, Y));
    };
    RightClick(MidX(4), MidY(5));
    EXPECT_EQ(Grid->Col(), 4);
    EXPECT_EQ(Grid->Row(), 5);
    // On a heading the row stays, in the row bar the column stays.
    RightClick(MidX(2), 5);
    EXPECT_EQ(Grid->Col(), 2);
    EXPECT_EQ(Grid->Row(), 5);
    RightClick(5, MidY(3));
    EXPECT_EQ(Grid->Col(), 2);
    EXPECT_EQ(Grid->Row(), 3);

    Grid->SelectRows(7, 7, true);
    ASSERT_TRUE(Grid->IsCellSelected(3, 7));
    RightClick(MidX(3), MidY(7));
    EXPECT_EQ(Grid->Row(), 3);
}

TEST_F(GridMouse, ASizingLineLeftOfTheColumnChangesNothingAndRowsResizeInTheRowBar) {
    const int Width = Grid->ColWidths(2);
    const int Left = Grid->CellRect(2, 0).Left;
    Down(ColEdge(2), 5);
    Move(Left - 5, 5);
    Up(Left - 5, 5);
    EXPECT_EQ(Grid->ColWidths(2), Width);

    const int Height = Grid->RowHeights(3);
    Down(3, RowEdge(3));
    EXPECT_EQ(Grid->MouseStatus(), msRowResize);
    Move(3, RowEdge(3) + 12);
    Up(3, RowEdge(3) + 12);
    EXPECT_EQ(Grid->RowHeights(3), Height + 12);
    EXPECT_EQ(Grid->GetRowHeight(3), Height + 12);
}

TEST_F(GridMouse, ADoubleClickOnAColumnLineRestoresItsDefaultWidth) {
    const int Width = Grid->ColWidths(2);
    Down(ColEdge(2), 5);
    Move(ColEdge(2) + 20, 5);
    Up(ColEdge(2) + 20, 5);
    ASSERT_EQ(Grid->ColWidths(2), Width + 20);
    int DblClicks = 0;
    Grid->OnDblClickCell = [&](TObject*, int, const Variant&, TgxClickPosition) { ++DblClicks; };

    const int Edge = ColEdge(2);
    Down(Edge, 5);
    Up(Edge, 5);
    DoubleDown(Edge, 5);
    Up(Edge, 5);
    EXPECT_EQ(Grid->ColWidths(2), Width);
    EXPECT_EQ(DblClicks, 0);
}

// The row bar and the heading return to the size the program gave them
// last, not to one the user dragged.
TEST_F(GridMouse, ADoubleClickOnTheRowBarOrHeadingLineRestoresTheSizeLastSetByProgram) {
    Grid->SetRowBarWidth(30);
    Grid->SetHeadingHeight(24);
    int Bar = ColEdge(0);
    Down(Bar, 5);
    Move(Bar + 20, 5);
    Up(Bar + 20, 5);
    ASSERT_EQ(Grid->GetRowBarWidth(), 50);
    Bar = ColEdge(0);
    Down(Bar, 5);
    Up(Bar, 5);
    DoubleDown(Bar, 5);
    Up(Bar, 5);
    EXPECT_EQ(Grid->GetRowBarWidth(), 30);

    int Head = RowEdge(0);
    Down(3, Head);
    Move(3, Head + 10);
    Up(3, Head + 10);
    ASSERT_EQ(Grid->GetHeadingHeight(), 34);
    Head = RowEdge(0);
    Down(3, Head);
    Up(3, Head);
    DoubleDown(3, Head);
    Up(3, Head);
    EXPECT_EQ(Grid->GetHeadingHeight(), 24);
}

TEST_F(GridMouse, WithResizeAllEveryColumnTakesTheNewWidthAndADoubleClickTheDefault) {
    Grid->SetResizeCols(rcAll);
    const int Width = Grid->ColWidths(2);
    Down(ColEdge(2), 5);
    Move(ColEdge(2) + 16, 5);
    Up(ColEdge(2) + 16, 5);
    for (int C = 1; C <= 5; ++C)
        EXPECT_EQ(Grid->ColWidths(C), Width + 16) << C;

    const int Edge = ColEdge(3);
    Down(Edge, 5);
    Up(Edge, 5);
    DoubleDown(Edge, 5);
    Up(Edge, 5);
    for (int C = 1; C <= 5; ++C)
        EXPECT_EQ(Grid->ColWidths(C), Grid->DefaultColWidth()) << C;
}

TEST_F(GridMouse, ADoubleClickOnACellIsReportedOnceAndItsReleaseIsNoClick) {
    Grid->SetGridMode(gmBrowse);
    int Clicks = 0;
    int DblClicks = 0;
    std::vector<std::pair<int, int>> Cells;
    Grid->OnClick = [&](TObject*) { ++Clicks; };
    Grid->OnDblClick = [&](TObject*) { ++DblClicks; };
    Grid->OnDblClickCell = [&](TObject*, int C, const Variant& R, TgxClickPosition Pos) {
        EXPECT_EQ(Pos, cpCell);
        Cells.emplace_back(C, R.AsInteger());
    };
    // Away from the current cell a double-click selects nothing, so its
    // release is no click.
    DoubleDown(MidX(3), MidY(4));
    Up(MidX(3), MidY(4));
    EXPECT_EQ(DblClicks, 1);
    EXPECT_EQ(Cells, (std::vector<std::pair<int, int>>{{3, 4}}));
    EXPECT_EQ(Clicks, 0);
}

TEST_F(GridMouse, ADragStartedFromASelectedCellEndsThePress) {
    Grid->SelectRows(4, 4, true);
    ASSERT_TRUE(Grid->IsCellSelected(3, 4));
    int MouseDowns = 0;
    Grid->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++MouseDowns; };
    Grid->OnCanStartDrag = [&](TObject*, bool&) { Grid->BeginDrag(true); };
    Down(MidX(3), MidY(4));
    EXPECT_TRUE(Grid->Dragging());
    EXPECT_EQ(MouseDowns, 0);
    EXPECT_EQ(Grid->MouseStatus(), msNormal);
    EXPECT_TRUE(Grid->IsCellSelected(3, 4)); // the selection is as it was
    Grid->EndDrag(false);
    Up(MidX(3), MidY(4));
}

TEST_F(GridMouse, AHeadingReleasedAwayFromItIsNoClick) {
    Grid->SetHeadingButton(hbCell);
    std::vector<std::string> Events;
    Grid->OnHeadingDown = [&](TObject*, int C) { Events.push_back("down " + std::to_string(C)); };
    Grid->OnHeadingUp = [&](TObject*, int C) { Events.push_back("up " + std::to_string(C)); };
    Grid->OnHeadingClick = [&](TObject*, int C) { Events.push_back("click " + std::to_string(C)); };

    Down(MidX(3), 5);
    EXPECT_EQ(Grid->MouseStatus(), msHeadingDown);
    EXPECT_TRUE(Grid->HeadingPressed());
    Move(MidX(3), MidY(4));
    EXPECT_FALSE(Grid->HeadingPressed());
    Up(MidX(3), MidY(4));
    EXPECT_EQ(Events, (std::vector<std::string>{"down 3", "up 3"}));

    Events.clear();
    Down(MidX(3), 5);
    Up(MidX(3), 5);
    EXPECT_EQ(Events, (std::vector<std::string>{"down 3", "up 3", "click 3"}));
    EXPECT_EQ(Grid->MouseStatus(), msNormal);
}

TEST_F(GridMouse, AClickOnACellReportsWhereItWentDownAndUp) {
    struct Click {
        int DownCol;
        int DownRow;
        int UpCol;
        int UpRow;
        TgxClickPosition DownPos;
        TgxClickPosition UpPos;
    };
    std::vector<Click> Clicks;
    Grid->OnClickCell = [&](TObject*, int DC, const Variant& DR, int UC, const Variant& UR,
                            TgxClickPosition DP, TgxClickPosition UP) {
        Clicks.push_back({DC, DR.AsInteger(), UC, UR.AsInteger(), DP, UP});
    };
    Grid->GridCols()->Item(2)->SetDisplayCol(4); // data column 2 shows at position 4
    Down(MidX(4), MidY(3));
    Up(MidX(4), MidY(3));
    ASSERT_EQ(Clicks.size(), 1u);
    EXPECT_EQ(Clicks[0].DownCol, 2);
    EXPECT_EQ(Clicks[0].DownRow, 3);
    EXPECT_EQ(Clicks[0].DownPos, cpCell);
    EXPECT_EQ(Clicks[0].UpPos, cpCell);

    struct PosCase {
        int Col;
        int Row;
        TgxClickPosition Pos;
    };
    for (const PosCase& P :
         {PosCase{-1, 3, cpNone}, PosCase{2, -1, cpNone}, PosCase{0, 0, cpUpperLeft},
          PosCase{0, 3, cpRowBar}, PosCase{2, 0, cpHeading}, PosCase{2, 3, cpCell}})
        EXPECT_EQ(Grid->ClickPos(P.Col, P.Row), P.Pos) << P.Col << "," << P.Row;
}

TEST_F(GridMouse, TheCursorFollowsTheZoneUnderTheMouse) {
    struct Case {
        const char* What;
        int X;
        int Y;
        TCursor Cursor;
    };
    const Case Cases[] = {
        {"a heading line", ColEdge(2), 5, crHSplit},
        {"a row line in the row bar", 3, RowEdge(3), crVSplit},
        {"the row bar of a data row", 3, MidY(3), crGxHorArrowRight},
        {"a heading of a selectable column", MidX(3), 5, crGxVertArrowDown},
        {"the first pixels of a data cell", Grid->CellRect(3, 3).Left + 1, MidY(3), crGxArrowRev},
        {"inside a text cell of an editing grid", MidX(3), MidY(3), crIBeam},
        {"outside the client area", -5, MidY(3), crDefault},
    };
    for (const Case& C : Cases) {
        int Col = -1;
        int Row = -1;
        Grid->CellFromXY(C.X, C.Y, Col, Row);
        EXPECT_EQ(Grid->ShapeCursor(C.X, C.Y, Row, Col), C.Cursor) << C.What;
    }
}

namespace {

// Whether the widget shows the cursor the grid's number names.
bool Shows(QWidget* W, TCursor Cursor) {
    const QCursor Want = ToQCursor(Cursor);
    const QCursor Has = W->cursor();
    if (Has.shape() != Want.shape()) return false;
    if (Has.shape() != Qt::BitmapCursor) return true;
    return Has.hotSpot() == Want.hotSpot() && Has.pixmap().toImage() == Want.pixmap().toImage() &&
           Has.bitmap().toImage() == Want.bitmap().toImage();
}

} // namespace

// A frozen line that cannot be selected offers no selection under the
// mouse: the row bar's arrow and the range strip's arrow are for lines a
// press there would select.
TEST_F(GridMouse, FrozenLinesShowNoSelectionCursorsUnlessSelectable) {
    Grid->SetGridMode(gmEdit);
    Grid->SetRowSelectMode(rsMulti);
    Grid->SetCellSelectMode(cmRange);
    Grid->SetFixedRowCount(1);
    Grid->SetFixedColCount(1);
    GridUnitStartup();
    // The mouse moves over the client area; the cursor is the window's.
    QWidget* Client = Grid->ClientWidget();
    QWidget* W = Grid->Widget();
    struct Case {
        const char* What;
        int Col;
        int Row;
        bool RowBar; // else the strip at the cell's left edge
        bool Selectable;
    };
    const Case Cases[] = {
        {"row bar of the frozen row", 0, 1, true, false},
        {"row bar of a free row", 0, 3, true, true},
        {"strip of a cell in the frozen row", 3, 1, false, false},
        {"strip of a cell in the frozen column", 1, 3, false, false},
        {"strip of a free cell", 3, 3, false, true},
    };
    for (bool SelectFixed : {false, true}) {
        Grid->SetSelectFixed(SelectFixed);
        for (const Case& C : Cases) {
            SCOPED_TRACE(std::string(C.What) + (SelectFixed ? ", frozen selectable" : ""));
            const TRect Cell = Grid->CellRect(C.Col, C.Row);
            const int X = C.RowBar ? (Cell.Left + Cell.Right) / 2 : Cell.Left + 1;
            // A move elsewhere first, so each case sets the cursor itself.
            SendMouse(Client, QEvent::MouseMove, QPoint(MidX(5), MidY(5)), Qt::NoButton);
            SendMouse(Client, QEvent::MouseMove, QPoint(X, (Cell.Top + Cell.Bottom) / 2),
                      Qt::NoButton);
            const TCursor Offer = C.RowBar ? crGxHorArrowRight : crGxArrowRev;
            EXPECT_EQ(Shows(W, Offer), C.Selectable || SelectFixed);
        }
    }
}

// ---- deleting and moving ---------------------------------------------------------------------

TEST_F(GridMouse, DeletingColumnsKeepsTheCurrentCellOnItsColumn) {
    Grid->SetStoreData(true);
    for (int C = 1; C <= 10; ++C)
        Grid->SetCellValue(C, 1, Variant(AnsiString("c" + std::to_string(C))));
    Grid->SetCurrentCell(5, 2);
    std::vector<int> Deleted;
    Grid->OnDeleteCol = [&](TObject*, int DataCol, bool ByUser) {
        EXPECT_FALSE(ByUser);
        Deleted.push_back(DataCol);
    };
    Grid->DeleteCols(2, 3);
    EXPECT_EQ(Deleted, (std::vector<int>{3, 2}));
    EXPECT_EQ(Grid->GetGridColCount(), 8);
    EXPECT_EQ(Grid->GetDataCol(Grid->Col()), 3);
    EXPECT_EQ(Grid->GetCellValue(3, 1).AsString(), "c5");
    EXPECT_EQ(Grid->GetCellValue(2, 1).AsString(), "c4");
    EXPECT_EQ(DisplayOrder(), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}));

    // Out of range: clamped, or nothing at all.
    Deleted.clear();
    Grid->DeleteCols(8, 50);
    Grid->DeleteCols(20, 30);
    Grid->DeleteCols(3, 2);
    EXPECT_EQ(Deleted, (std::vector<int>{8}));
    EXPECT_EQ(Grid->GetGridColCount(), 7);
}

// Columns and rows that go before, at or past the current cell: each move of
// the current data column or row is reported once, and the next move from
// there is reported against the new number.
TEST_F(GridMouse, TheCurrentCellReportsWhereDeletingHidingOrShrinkingMovesIt) {
    struct Report {
        char What;
        int Old;
        int New;
        bool operator==(const Report&) const = default;
    };
    std::vector<Report> Reports;
    Grid->OnColChanged = [&](TObject*, int Old, int New) { Reports.push_back({'c', Old, New}); };
    Grid->OnRowChanged = [&](TObject*, int Old, int New) { Reports.push_back({'r', Old, New}); };
    struct Case {
        const char* What;
        std::function<void()> Change;
        std::vector<Report> Expected;
        int DataCol; // where the current cell is afterwards
        int DataRow;
    };
    const Case Cases[] = {
        {"columns before it deleted", [&] { Grid->DeleteCols(2, 3); }, {{'c', 5, 3}}, 3, 2},
        // The column that takes its place has the same data number.
        {"the current column deleted", [&] { Grid->DeleteCols(5, 5); }, {}, 5, 2},
        {"columns after it deleted", [&] { Grid->DeleteCols(6, 8); }, {}, 5, 2},
        {"rows before it deleted", [&] { Grid->DeleteRows(1, 1); }, {{'r', 2, 1}}, 5, 1},
        {"the current column hidden",
         [&] { Grid->GetCol(Variant(5))->SetVisible(false); }, {{'c', 5, 6}}, 6, 2},
        {"the current row hidden", [&] { Grid->SetRowVisible(2, false); }, {{'r', 2, 3}}, 5, 3},
        {"the count shrunk past it", [&] { Grid->SetGridColCount(3); }, {{'c', 5, 3}}, 3, 2},
        {"the row count shrunk past it", [&] { Grid->SetGridRowCount(1); }, {{'r', 2, 1}}, 5, 1},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.What);
        Grid->SetGridColCount(8);
        Grid->SetGridRowCount(4);
        for (int Col = 1; Col <= 8; ++Col)
            Grid->GetCol(Variant(Col))->SetVisible(true);
        for (int Row = 1; Row <= 4; ++Row)
            Grid->SetRowVisible(Row, true);
        Grid->SetCurrentCell(5, 2);
        Reports.clear();
        C.Change();
        EXPECT_EQ(Reports, C.Expected);
        EXPECT_EQ(Grid->GetDataCol(Grid->Col()), C.DataCol);
        EXPECT_EQ(Grid->GetDataRow(Grid->Row()), C.DataRow);
        // Back to a cell from there is reported against the new position.
        Reports.clear();
        Grid->SetCurrentCell(1, 1);
        std::vector<Report> Back;
        if (C.DataCol != 1) Back.push_back({'c', C.DataCol, 1});
        if (C.DataRow != 1) Back.push_back({'r', C.DataRow, 1});
        EXPECT_EQ(Reports, Back);
        Grid->SetGridColCount(0);
        Grid->SetGridRowCount(0);
    }
}

TEST_F(GridMouse, DeletingTheLastRowsOfAnInsertingGridLeavesItsInsertionRow) {
    Grid->SetGridMode(gmEditInsert);
    Grid->SetGridRowCount(5);
    std::vector<int> Deleted;
    Grid->OnDeleteRow = [&](TObject*, int DataRow, bool) { Deleted.push_back(DataRow); };
    Grid->DeleteRows(4, 5);
    EXPECT_EQ(Deleted, (std::vector<int>{5, 4}));
    EXPECT_EQ(Grid->GetGridRowCount(), 3);
    EXPECT_TRUE(Grid->InsertionRowShown());
    EXPECT_EQ(Grid->RowCount(), 3 + 2);
}

// A grid whose edit may be told to refuse ending.
class TRefusingGrid : public TgxGrid {
public:
    using TgxGrid::TgxGrid;
    bool CheckEndEdit(int DataCol, int DataRow, bool ByUser) override {
        return !Refuse && TgxGrid::CheckEndEdit(DataCol, DataRow, ByUser);
    }
    bool Refuse = false;
};

TEST_F(GridMouse, AnEditThatWillNotEndKeepsItsColumnFromBeingDeleted) {
    auto* G = new TRefusingGrid(Form);
    G->SetParent(Form);
    G->SetGridColCount(6);
    G->SetGridRowCount(3);
    G->SetCurrentCell(3, 1);
    int Deleted = 0;
    G->OnDeleteCol = [&](TObject*, int, bool) { ++Deleted; };
    G->Refuse = true;
    G->DeleteCols(2, 4);
    EXPECT_EQ(G->GetGridColCount(), 6);
    EXPECT_EQ(Deleted, 0);
    // Columns away from the current one go without asking.
    G->DeleteCols(5, 6);
    EXPECT_EQ(G->GetGridColCount(), 4);
    EXPECT_EQ(Deleted, 2);
}

TEST_F(GridMouse, DeletingSelectedRowsLeavesTheInsertionRow) {
    Grid->SetGridMode(gmEditInsert);
    Grid->SetGridRowCount(6);
    ASSERT_TRUE(Grid->InsertionRowShown());
    const int Insertion = Grid->RowCount() - 1;
    std::vector<int> Deleted;
    Grid->OnDeleteRow = [&](TObject*, int DataRow, bool) { Deleted.push_back(DataRow); };
    Grid->RowSelection().SetSelected(Insertion, true);
    Grid->DeleteSelectedRows();
    EXPECT_TRUE(Deleted.empty());
    EXPECT_EQ(Grid->GetGridRowCount(), 6);

    Grid->RowSelection().SetSelected(2, true);
    Grid->RowSelection().SetSelected(5, true);
    Grid->DeleteSelectedRows();
    EXPECT_EQ(Deleted, (std::vector<int>{5, 2}));
    EXPECT_EQ(Grid->GetGridRowCount(), 4);
    EXPECT_TRUE(Grid->InsertionRowShown());
    EXPECT_EQ(Grid->RowCount(), 4 + 2);
}

TEST_F(GridMouse, MovingColumnsGathersTheSelectedOnesIntoOneBlock) {
    struct Case {
        const char* What;
        std::vector<int> Selected;
        int From;
        int To;
        std::vector<int> Order;
        int MovedTo;
        int Count;
    };
    const Case Cases[] = {
        {"2 and 7 onto 5", {2, 7}, 2, 5, {1, 3, 4, 5, 2, 7, 6, 8, 9, 10}, 5, 2},
        {"3 and 8 onto 2", {3, 8}, 8, 2, {1, 3, 8, 2, 4, 5, 6, 7, 9, 10}, 2, 2},
        {"4 with none selected onto 9", {}, 4, 9, {1, 2, 3, 5, 6, 7, 8, 9, 4, 10}, 9, 1},
        {"1, 5 and 9 onto 5", {1, 5, 9}, 5, 5, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, -1, 0},
    };
    for (const Case& C : Cases) {
        Grid->OnColMoved = nullptr;
        for (int D = 1; D <= 10; ++D) // back to the data order
            Grid->GridCols()->Item(D)->SetDisplayCol(D);
        Grid->ColSelection().Reset();
        for (int P : C.Selected)
            Grid->ColSelection().SetSelected(P, true);
        int MovedTo = -1;
        int Count = 0;
        Grid->OnColMoved = [&](TObject*, int To, int N, bool) {
            MovedTo = To;
            Count = N;
        };
        Grid->MoveColRange(C.From, C.To);
        EXPECT_EQ(DisplayOrder(), C.Order) << C.What;
        EXPECT_EQ(MovedTo, C.MovedTo) << C.What;
        EXPECT_EQ(Count, C.Count) << C.What;
        if (!C.Selected.empty() && C.From != C.To) {
            const int First = C.MovedTo;
            EXPECT_EQ(Grid->ColSelection().First(), First) << C.What;
            EXPECT_EQ(Grid->ColSelection().Last(), First + int(C.Selected.size()) - 1) << C.What;
        }
    }
}

TEST_F(GridMouse, AMovedColumnTakesItsWidthAlong) {
    Grid->GridCols()->Item(2)->SetWidth(100);
    Grid->MoveColRange(2, 6);
    EXPECT_EQ(Grid->GetDataCol(6), 2);
    EXPECT_EQ(Grid->ColWidths(6), 100);
    EXPECT_EQ(Grid->ColWidths(2), Grid->GridCols()->Item(3)->Width());
}

TEST_F(GridMouse, MovingManySelectedColumnsGathersThemAllAtTheDrop) {
    // 150 selected columns, every second one from 11 to 309, dropped on
    // 300: those up to 300 end there, the five after it follow, and the
    // unselected ones keep their order around the block.
    Grid->SetGridColCount(400);
    std::vector<int> Left, Right, Plain;
    for (int C = 1; C <= 400; ++C) {
        const bool Selected = C >= 11 && C <= 309 && C % 2 == 1;
        if (Selected) Grid->ColSelection().SetSelected(C, true);
        (Selected ? (C <= 300 ? Left : Right) : Plain).push_back(C);
    }
    ASSERT_EQ(Left.size() + Right.size(), 150u);
    std::vector<int> Expected;
    for (int C : Plain)
        if (C <= 300) Expected.push_back(C);
    Expected.insert(Expected.end(), Left.begin(), Left.end());
    Expected.insert(Expected.end(), Right.begin(), Right.end());
    for (int C : Plain)
        if (C > 300) Expected.push_back(C);

    Grid->MoveColRange(11, 300);
    EXPECT_EQ(DisplayOrder(), Expected);
    EXPECT_EQ(Grid->ColSelection().First(), 300 - int(Left.size()) + 1);
    EXPECT_EQ(Grid->ColSelection().Last(), 300 + int(Right.size()));
}

TEST_F(GridMouse, DraggingTheSelectedHeadingsMovesTheBlock) {
    Grid->ColSelection().SetSelected(2, true);
    Grid->ColSelection().SetSelected(7, true);
    Grid->SelectCols(2, 2, true);
    Grid->SelectCols(7, 7, true);
    ASSERT_TRUE(Grid->ColSelection().GetSelected(7));
    Down(MidX(2), 5);
    ASSERT_EQ(Grid->MouseStatus(), msColMove);
    Move(MidX(4), 5);
    Move(MidX(5), 5);
    Up(MidX(5), 5);
    EXPECT_EQ(Grid->MouseStatus(), msNormal);
    EXPECT_EQ(Grid->GetDataCol(5), 2);
    EXPECT_EQ(Grid->GetDataCol(6), 7);
}

TEST_F(GridMouse, ARefreshPutsColumnsBackInDataOrderAndScrollsHome) {
    Grid->SetGridRowCount(60);
    Grid->MoveColRange(2, 6);
    Grid->MoveColRange(9, 1);
    Grid->SetLeftCol(4);
    Grid->SetTopRow(6);
    Grid->RefreshData(roCols, rpLeft);
    EXPECT_EQ(DisplayOrder(), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(Grid->LeftCol(), 1);
    EXPECT_EQ(Grid->TopRow(), 6); // only the columns were asked for
    Grid->RefreshData(roNone, rpTopLeft);
    EXPECT_EQ(Grid->TopRow(), 1);
}

// ---- cell buttons ------------------------------------------------------------------------------

class GridMouseButtons : public GridMouse {
protected:
    void SetUp() override {
        GridMouse::SetUp();
        Grid->SetCellButtonType(3, 4, btVertSpin);
        Grid->SetCellSpinOptions(3, 4, TgxSpinOptions{spoAutoRepeat});
        Grid->SetCellButtonType(2, 2, btNormal);
        Grid->OnSpinRepeat = [this](TObject*, int DataCol, const Variant& DataRow, int Count,
                                    TgxSpinButton Part) {
            EXPECT_EQ(DataCol, 3);
            EXPECT_EQ(DataRow.AsInteger(), 4);
            Repeats.push_back(Count);
            Parts.push_back(Part);
        };
    }
    // A point on the upper (increment) half of a cell's spin button.
    TPoint SpinUp(int C, int R) const {
        const TRect Cell = Grid->CellRect(C, R);
        return Point(Cell.Right - 2, Cell.Top + 2);
    }
    std::vector<int> Repeats;
    std::vector<TgxSpinButton> Parts;
};

TEST_F(GridMouseButtons, AHeldSpinButtonRepeatsAfterTheStartDelay) {
    std::vector<std::string> Events;
    Grid->OnSpinButtonDown = [&](TObject*, int, const Variant&, TgxSpinButton) {
        Events.push_back("down");
    };
    Grid->OnSpinButtonClick = [&](TObject*, int, const Variant&, TgxSpinButton) {
        Events.push_back("click");
    };
    Grid->OnSpinButtonUp = [&](TObject*, int, const Variant&, TgxSpinButton) {
        Events.push_back("up");
    };
    const TPoint P = SpinUp(3, 4);
    Down(P.X, P.Y);
    EXPECT_EQ(Grid->MouseStatus(), msButtonDown);
    EXPECT_EQ(Grid->PressedButtonCol(), 3);
    EXPECT_EQ(Repeats, (std::vector<int>{1}));
    Timers.Advance(499);
    EXPECT_EQ(Repeats, (std::vector<int>{1}));
    Timers.Advance(1);
    EXPECT_EQ(Repeats, (std::vector<int>{1, 2}));
    Timers.Advance(80);
    EXPECT_EQ(Repeats, (std::vector<int>{1, 2, 3}));
    Timers.Advance(80 * 2);
    EXPECT_EQ(Repeats, (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(Parts.front(), spbIncrement);

    Up(P.X, P.Y);
    Timers.Advance(1000);
    EXPECT_EQ(Repeats.size(), 5u);
    EXPECT_EQ(Grid->PressedButtonCol(), -1);
    EXPECT_EQ(Grid->MouseStatus(), msNormal);
    EXPECT_EQ(Events, (std::vector<std::string>{"down", "click", "up"}));
}

TEST_F(GridMouseButtons, WithoutAutoRepeatAPressIsOneStepAndTheLowerHalfCountsDown) {
    Grid->SetCellSpinOptions(3, 4, TgxSpinOptions{});
    const TRect Cell = Grid->CellRect(3, 4);
    const TPoint Lower = Point(Cell.Right - 2, Cell.Top + Grid->SpinButtonHeight() + 3);
    Down(Lower.X, Lower.Y);
    EXPECT_EQ(Grid->PressedSpinPart(), spbDecrement);
    Timers.Advance(1000);
    Up(Lower.X, Lower.Y);
    EXPECT_EQ(Repeats, (std::vector<int>{1}));
    EXPECT_EQ(Parts, (std::vector<TgxSpinButton>{spbDecrement}));
}

TEST_F(GridMouseButtons, LosingTheFocusStopsTheRepeatsAtTheNextTick) {
    auto* Other = new TEdit(Form);
    Other->SetParent(Form);
    Other->SetBounds(420, 10, 100, 20);
    const TPoint P = SpinUp(3, 4);
    Down(P.X, P.Y);
    Timers.Advance(500);
    ASSERT_EQ(Repeats, (std::vector<int>{1, 2}));
    Other->SetFocus();
    Timers.Advance(80 * 5);
    EXPECT_EQ(Repeats, (std::vector<int>{1, 2}));
    EXPECT_EQ(Grid->PressedButtonCol(), -1);
    EXPECT_EQ(Timers.Count(), 0);
}

TEST_F(GridMouseButtons, DraggingOffAPressedButtonRaisesUpButNoClick) {
    std::vector<std::string> Events;
    Grid->OnButtonDown = [&](TObject*, int, const Variant&) { Events.push_back("down"); };
    Grid->OnButtonClick = [&](TObject*, int, const Variant&) { Events.push_back("click"); };
    Grid->OnButtonUp = [&](TObject*, int, const Variant&) { Events.push_back("up"); };
    const TRect Cell = Grid->CellRect(2, 2);
    const TPoint OnButton = Point(Cell.Right - 2, Cell.Top + 3);
    Down(OnButton.X, OnButton.Y);
    Move(MidX(5), MidY(5));
    EXPECT_EQ(Grid->PressedButtonCol(), -1);
    Up(MidX(5), MidY(5));
    EXPECT_EQ(Events, (std::vector<std::string>{"down", "up"}));

    Events.clear();
    Down(OnButton.X, OnButton.Y);
    Up(OnButton.X, OnButton.Y);
    EXPECT_EQ(Events, (std::vector<std::string>{"down", "click", "up"}));
}

TEST_F(GridMouseButtons, AButtonLitUnderTheMouseGoesFlatOnceTheMouseLeaves) {
    const TRect Cell = Grid->CellRect(2, 2);
    const TPoint P = Point(Cell.Right - 2, Cell.Top + 3);
    const int OtherTimers = Timers.Count();
    // The cursor is the screen's: put back where it was afterwards, and the
    // moves that placing it queued are taken here, not by a later test.
    struct TKeepCursor {
        TPoint At = Mouse->CursorPos();
        ~TKeepCursor() {
            Mouse->SetCursorPos(At);
            Application->ProcessMessages();
        }
    } KeepCursor;
    Mouse->SetCursorPos(Grid->ClientToScreen(P));
    Move(P.X, P.Y, 0);
    EXPECT_EQ(Grid->HotButtonCol(), 2);
    EXPECT_EQ(Timers.Count(), OtherTimers + 1);
    EXPECT_EQ(Grid->HotButtonRow(), 2);
    Timers.Advance(50);
    EXPECT_EQ(Grid->HotButtonCol(), 2); // still over it
    // Left without a move the grid sees: the hover timer notices.
    Mouse->SetCursorPos(Grid->ClientToScreen(Point(MidX(5), MidY(5))));
    Timers.Advance(50);
    EXPECT_EQ(Grid->HotButtonCol(), -1);
    EXPECT_EQ(Timers.Count(), OtherTimers);

    // A read-only cell's button lights up only while ReadOnlyButton is on.
    Grid->SetAlwaysDetectButton(true);
    Grid->SetCellReadOnly(2, 2, roOn);
    Grid->SetReadOnlyButton(false);
    Mouse->SetCursorPos(Grid->ClientToScreen(P));
    Move(P.X, P.Y, 0);
    EXPECT_EQ(Grid->HotButtonCol(), -1);
    Grid->SetReadOnlyButton(true);
    Move(P.X + 1, P.Y, 0);
    EXPECT_EQ(Grid->HotButtonCol(), 2);
}

TEST_F(GridMouseButtons, ALitOrPressedButtonWhoseCellGoesIsForgotten) {
    struct TKeepCursor {
        TPoint At = Mouse->CursorPos();
        ~TKeepCursor() {
            Mouse->SetCursorPos(At);
            Application->ProcessMessages();
        }
    } KeepCursor;
    Grid->SetCellButtonType(3, 2, btNormal);
    const TRect Cell = Grid->CellRect(3, 2);
    const TPoint Lit = Point(Cell.Right - 2, Cell.Top + 3);
    Mouse->SetCursorPos(Grid->ClientToScreen(Lit));
    Move(Lit.X, Lit.Y, 0);
    ASSERT_EQ(Grid->HotButtonCol(), 3);
    Grid->SetGridColCount(2);
    EXPECT_EQ(Grid->HotButtonCol(), -1);
    EXPECT_EQ(Grid->HotButtonRow(), -1);

    Grid->SetGridColCount(10);
    Grid->SetCellButtonType(3, 4, btVertSpin);
    Grid->SetCellSpinOptions(3, 4, TgxSpinOptions{spoAutoRepeat});
    const TPoint P = SpinUp(3, 4);
    Down(P.X, P.Y);
    ASSERT_EQ(Grid->PressedButtonCol(), 3);
    const std::size_t Pressed = Repeats.size(); // the press itself steps once
    Grid->SetGridRowCount(3);
    EXPECT_EQ(Grid->PressedButtonCol(), -1);
    EXPECT_EQ(Grid->PressedButtonRow(), -1);
    Timers.Advance(500 + 80 * 3);
    EXPECT_EQ(Repeats.size(), Pressed) << "the spin repeat stopped with its button";
    Up(P.X, P.Y);
}

TEST_F(GridMouseButtons, AButtonReactsOnlyWhereItMay) {
    const TRect Cell = Grid->CellRect(2, 2);
    const int Y = Cell.Top + 3;
    // A narrow column: the button starts 3 pixels from the cell's left edge.
    Grid->GridCols()->Item(2)->SetWidth(8);
    const TRect Narrow = Grid->CellRect(2, 2);
    EXPECT_FALSE(Grid->MouseOverButton(Narrow.Left + 3, Y, 2, 2));
    EXPECT_TRUE(Grid->MouseOverButton(Narrow.Left + 4, Y, 2, 2));
    Grid->GridCols()->Item(2)->SetWidth(64);
    const int X = Grid->CellRect(2, 2).Right - 2;
    EXPECT_TRUE(Grid->MouseOverButton(X, Y, 2, 2));
    EXPECT_FALSE(Grid->MouseOverButton(X, Y, 3, 2)); // no button there

    Grid->SetGridMode(gmBrowse);
    EXPECT_FALSE(Grid->MouseOverButton(X, Y, 2, 2));
    Grid->SetAlwaysDetectButton(true);
    EXPECT_TRUE(Grid->MouseOverButton(X, Y, 2, 2));
    (void)Cell;
}

TEST_F(GridMouseButtons, AnIdleButtonsBackgroundFollowsTheInactiveState) {
    Grid->SetCurrentCell(2, 2);
    EXPECT_EQ(Grid->ButtonColor(3, 4), clBtnFace);
    Grid->SetInactiveButtonState(ibsPicture);
    EXPECT_EQ(Grid->ButtonColor(3, 4), clNone);
    EXPECT_EQ(Grid->ButtonColor(2, 2), clBtnFace);
    Grid->SetCellReadOnly(2, 2, roOn);
    EXPECT_EQ(Grid->ButtonColor(2, 2), clNone);
}

} // namespace
