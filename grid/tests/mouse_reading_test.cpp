// The grid's mouse gestures driven by real mouse events on a shown grid:
// where a press starts a resize, what a resize, a double-click on an edge
// and a cancel leave, the heading press, the right button, and the click
// events a release raises (or, after a resize or a double-click, doesn't).
#include "ShownMouseFixture.h"
#include "grid/model/Columns.h"


#include <tuple>
#include <vector>

using namespace grid;

namespace {

class MouseReading : public ShownMouseFixture {
protected:
    void Show(int Cols, int Rows) {
        ShowFocused(Cols, Rows);
        Grid->OnMouseStatusChanged = [this](TObject*, TgxMouseStatus Old, TgxMouseStatus New) {
            Statuses.emplace_back(Old, New);
        };
        Grid->OnClick = [this](TObject*) { ++Clicks; };
        Grid->OnClickCell = [this](TObject*, int DC, const Variant& DR, int UC, const Variant& UR,
                                   TgxClickPosition DP, TgxClickPosition UP) {
            CellClicks.emplace_back(DC, DR.AsInteger(), UC, UR.AsInteger(), DP, UP);
        };
    }

    std::vector<std::pair<TgxMouseStatus, TgxMouseStatus>> Statuses;
    int Clicks = 0;
    std::vector<std::tuple<int, int, int, int, TgxClickPosition, TgxClickPosition>> CellClicks;
};

// A press near a grid line starts a resize only inside the line's zone:
// two pixels left to one right of a column line, two either side of a row line.
TEST_F(MouseReading, PressStartsAResizeOnlyWithinTheEdgeZone) {
    Show(4, 6);
    const int HeadingY = Grid->CellRect(1, 0).Top + 5;
    const int RowBarX = Grid->CellRect(0, 1).Left + 5;
    struct Case {
        const char* Name;
        QPoint At;
        TgxMouseStatus Expected;
    };
    const Case Cases[] = {
        {"column line", QPoint(ColEdge(1), HeadingY), msColResize},
        {"1 right of column line", QPoint(ColEdge(1) + 1, HeadingY), msColResize},
        {"2 right of column line", QPoint(ColEdge(1) + 2, HeadingY), msColSelect},
        {"2 left of column line", QPoint(ColEdge(1) - 2, HeadingY), msColResize},
        {"3 left of column line", QPoint(ColEdge(1) - 3, HeadingY), msColSelect},
        {"2 below row line", QPoint(RowBarX, RowEdge(2) + 2), msRowResize},
        {"2 above row line", QPoint(RowBarX, RowEdge(2) - 2), msRowResize},
        {"3 below row line", QPoint(RowBarX, RowEdge(2) + 3), msRowSelect},
        {"heading's lower line", QPoint(RowBarX, RowEdge(0)), msHeadingResize},
        {"row bar's right line", QPoint(ColEdge(0), HeadingY), msRowBarResize},
    };
    for (const Case& C : Cases) {
        Press(C.At);
        EXPECT_EQ(Grid->MouseStatus(), C.Expected) << C.Name;
        Grid->CancelMouseAction();
        Release(C.At);
        EXPECT_EQ(Grid->MouseStatus(), msNormal) << C.Name;
        Grid->ResetSelection();
    }
}

// Dragging a column line sets the width where the line was let go, never
// below the column's left edge; no click follows a resize.
TEST_F(MouseReading, DraggingAColumnLineResizesWithoutAClick) {
    Show(4, 6);
    const int Width = Grid->ColWidths(2);
    const int HeadingY = Grid->CellRect(2, 0).Top + 5;
    int Resized = 0;
    Grid->OnColResized = [&](TObject*, int) { ++Resized; };
    Press(QPoint(ColEdge(2), HeadingY));
    Move(QPoint(ColEdge(2) + 20, HeadingY));
    Release(QPoint(ColEdge(2) + 20, HeadingY));
    EXPECT_EQ(Grid->ColWidths(2), Width + 20);
    EXPECT_EQ(Resized, 1);
    EXPECT_EQ(Clicks, 0);
    EXPECT_TRUE(CellClicks.empty());

    const int Now = Grid->ColWidths(2);
    const int Left = Grid->CellRect(2, 0).Left;
    Press(QPoint(ColEdge(2), HeadingY));
    Move(QPoint(Left - 5, HeadingY));
    Release(QPoint(Left - 5, HeadingY));
    EXPECT_EQ(Grid->ColWidths(2), Now);
    EXPECT_EQ(Grid->MouseStatus(), msNormal);
}

// Cancelling a resize half-way changes nothing.
TEST_F(MouseReading, CancelledResizeChangesNothing) {
    Show(4, 6);
    const int Width = Grid->ColWidths(1);
    const int HeadingY = Grid->CellRect(1, 0).Top + 5;
    Press(QPoint(ColEdge(1), HeadingY));
    Move(QPoint(ColEdge(1) + 30, HeadingY));
    Grid->CancelMouseAction();
    EXPECT_EQ(Grid->MouseStatus(), msNormal);
    Release(QPoint(ColEdge(1) + 30, HeadingY));
    EXPECT_EQ(Grid->ColWidths(1), Width);
}

// A double-click on a column line puts the column back to its default
// width; with every column resized together, all columns.
TEST_F(MouseReading, DoubleClickOnAColumnLineRestoresTheDefaultWidth) {
    for (TgxResizeCols Mode : {rcSingle, rcAll}) {
        Show(4, 6);
        Grid->SetResizeCols(Mode);
        const int Default = Grid->ColWidths(3);
        const int HeadingY = Grid->CellRect(1, 0).Top + 5;
        // The user widens column 1 (a drag with every column sized together
        // would make its width the default), and column 2 is widened by code.
        if (Mode == rcSingle) {
            Press(QPoint(ColEdge(1), HeadingY));
            Move(QPoint(ColEdge(1) + 25, HeadingY));
            Release(QPoint(ColEdge(1) + 25, HeadingY));
        } else {
            Grid->GetCol(Variant(1))->SetWidth(Default + 25);
        }
        Grid->GetCol(Variant(2))->SetWidth(Default + 35);
        ASSERT_EQ(Grid->ColWidths(1), Default + 25);
        DoubleClick(QPoint(ColEdge(1), HeadingY));
        EXPECT_EQ(Grid->ColWidths(1), Default) << static_cast<int>(Mode);
        EXPECT_EQ(Grid->ColWidths(2), Mode == rcAll ? Default : Default + 35)
            << static_cast<int>(Mode);
        EXPECT_EQ(Clicks, 0);
        EXPECT_TRUE(CellClicks.empty());
        delete Form;
        Form = nullptr;
        Statuses.clear();
    }
}

// A pressed heading let go outside it reports the release but no click.
TEST_F(MouseReading, HeadingReleasedOutsideGivesNoHeadingClick) {
    Show(4, 6);
    Grid->SetHeadingButton(hbCell);
    std::vector<std::string> Events;
    Grid->OnHeadingDown = [&](TObject*, int C) { Events.push_back("down" + std::to_string(C)); };
    Grid->OnHeadingUp = [&](TObject*, int C) { Events.push_back("up" + std::to_string(C)); };
    Grid->OnHeadingClick = [&](TObject*, int C) { Events.push_back("click" + std::to_string(C)); };
    Press(CellMid(2, 0));
    EXPECT_EQ(Grid->MouseStatus(), msHeadingDown);
    EXPECT_TRUE(Grid->HeadingPressed());
    Move(CellMid(2, 2));
    EXPECT_FALSE(Grid->HeadingPressed());
    Release(CellMid(2, 2));
    EXPECT_EQ(Events, (std::vector<std::string>{"down2", "up2"}));
    Events.clear();
    Press(CellMid(3, 0));
    Move(CellMid(3, 2));
    Move(CellMid(3, 0));
    EXPECT_TRUE(Grid->HeadingPressed());
    Release(CellMid(3, 0));
    EXPECT_EQ(Events, (std::vector<std::string>{"down3", "up3", "click3"}));
    EXPECT_EQ(Grid->MouseStatus(), msNormal);
}

// The right button moves the current cell to an unselected cell only.
TEST_F(MouseReading, RightClickMovesTheCurrentCellOnlyToAnUnselectedCell) {
    Show(4, 6);
    Press(CellMid(3, 4), Qt::RightButton);
    Release(CellMid(3, 4), Qt::RightButton);
    EXPECT_EQ(Grid->GetCurrentDataCol(), 3);
    EXPECT_EQ(Grid->GetCurrentDataRow(), 4);
    // Select row 2 through its row bar, then right-click inside it.
    Press(CellMid(0, 2));
    Release(CellMid(0, 2));
    ASSERT_TRUE(Grid->GetRowSelected(2));
    const int Col = Grid->GetCurrentDataCol();
    Press(CellMid(1, 2), Qt::RightButton);
    Release(CellMid(1, 2), Qt::RightButton);
    EXPECT_EQ(Grid->GetCurrentDataCol(), Col);
    EXPECT_TRUE(Grid->GetRowSelected(2));
}

// A release raises OnClick and OnClickCell with the data cells and the
// kinds of place pressed and let go.
TEST_F(MouseReading, ReleaseRaisesTheCellClickWithPlaces) {
    Show(4, 6);
    struct Case {
        QPoint Down;
        QPoint Up;
        std::tuple<int, int, int, int, TgxClickPosition, TgxClickPosition> Expected;
    };
    const std::vector<Case> Cases = {
        {CellMid(2, 3), CellMid(2, 3), {2, 3, 2, 3, cpCell, cpCell}},
        {CellMid(0, 3), CellMid(0, 3), {0, 3, 0, 3, cpRowBar, cpRowBar}},
        {CellMid(2, 0), CellMid(2, 0), {2, 0, 2, 0, cpHeading, cpHeading}},
        {CellMid(0, 0), CellMid(0, 0), {0, 0, 0, 0, cpUpperLeft, cpUpperLeft}},
    };
    for (const Case& C : Cases) {
        CellClicks.clear();
        Clicks = 0;
        Press(C.Down);
        Release(C.Up);
        EXPECT_EQ(Clicks, 1);
        ASSERT_EQ(CellClicks.size(), 1u);
        EXPECT_EQ(CellClicks[0], C.Expected);
    }
}

// A double-click raises the cell's double-click with its place, and the
// release after a double-click that selected nothing raises no click.
TEST_F(MouseReading, DoubleClickAndNoClickAfterIt) {
    Show(4, 6);
    std::vector<std::tuple<int, int, TgxClickPosition>> Dbl;
    Grid->OnDblClickCell = [&](TObject*, int C, const Variant& R, TgxClickPosition P) {
        Dbl.emplace_back(C, R.AsInteger(), P);
    };
    const QPoint P = CellMid(0, 2);
    Press(P);
    Release(P);
    Clicks = 0;
    CellClicks.clear();
    SendMouse(W, QEvent::MouseButtonDblClick, At(P));
    Release(P);
    EXPECT_EQ(Dbl, (std::vector<std::tuple<int, int, TgxClickPosition>>{{0, 2, cpRowBar}}));
    EXPECT_EQ(Clicks, 0);
    EXPECT_TRUE(CellClicks.empty());
}

// Each status change is reported once, old and new.
TEST_F(MouseReading, StatusChangesReportedOnceEach) {
    Show(4, 6);
    Press(CellMid(0, 2));
    Move(CellMid(0, 4));
    Release(CellMid(0, 4));
    EXPECT_EQ(Statuses, (std::vector<std::pair<TgxMouseStatus, TgxMouseStatus>>{
                            {msNormal, msRowSelect}, {msRowSelect, msNormal}}));
}

// A press within the first three pixels of a data cell starts a range.
TEST_F(MouseReading, PressAtACellsLeftEdgeStartsARange) {
    Show(4, 6);
    const TRect R = Grid->CellRect(2, 3);
    Press(QPoint(R.Left + 1, (R.Top + R.Bottom) / 2));
    EXPECT_EQ(Grid->MouseStatus(), msCellSelect);
    Move(CellMid(3, 5));
    Release(CellMid(3, 5));
    EXPECT_EQ(Grid->GridStatus(), grCellSelect);
    const TRect Range = Grid->SelectedRange();
    EXPECT_EQ(std::make_tuple(Range.Left, Range.Top, Range.Right, Range.Bottom),
              std::make_tuple(2, 3, 3, 5));
}

// A drag started from a selected cell ends the press: no selection change,
// no mouse-down event.
TEST_F(MouseReading, DragStartedByTheApplicationEndsThePress) {
    Show(4, 6);
    Press(CellMid(0, 3));
    Release(CellMid(0, 3));
    ASSERT_TRUE(Grid->GetRowSelected(3));
    int Downs = 0;
    Grid->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++Downs; };
    Grid->OnCanStartDrag = [this](TObject*, bool& CanDrag) {
        CanDrag = true;
        Grid->BeginDrag(true);
    };
    Press(CellMid(2, 3));
    EXPECT_EQ(Downs, 0);
    EXPECT_TRUE(Grid->GetRowSelected(3));
    Release(CellMid(2, 3));
    Grid->EndDrag(false);
}

} // namespace

#include "grid/view/GridResources.h"
#include "platform/gui/QtApp.h"

#include <QCursor>

namespace {

bool SameCursor(const QCursor& A, const QCursor& B) {
    if (A.shape() != B.shape()) return false;
    if (A.shape() != Qt::BitmapCursor) return true;
    return A.hotSpot() == B.hotSpot() && A.pixmap().toImage() == B.pixmap().toImage();
}

// The pointer's shape follows what a press there would do.
TEST_F(MouseReading, CursorShowsWhatAPressWouldDo) {
    Show(4, 6);
    const int HeadingY = Grid->CellRect(1, 0).Top + 5;
    const TRect Cell = Grid->CellRect(2, 3);
    struct Case {
        const char* Name;
        QPoint P;
        TCursor Expected;
    };
    const Case Cases[] = {
        {"column line", QPoint(ColEdge(1), HeadingY), crHSplit},
        {"row line in the row bar", QPoint(5, RowEdge(2)), crVSplit},
        {"row bar of a data row", CellMid(0, 3), crGxHorArrowRight},
        {"heading", CellMid(2, 0), crGxVertArrowDown},
        {"first pixels of a cell", QPoint(Cell.Left + 1, (Cell.Top + Cell.Bottom) / 2),
         crGxArrowRev},
        {"text cell being edited", CellMid(2, 3), crIBeam},
        {"empty area below the rows", QPoint(CellMid(2, 3).x(), 290), crDefault},
    };
    for (const Case& C : Cases) {
        QCursor::setPos(W->mapToGlobal(At(C.P)));
        Move(C.P, Qt::NoButton);
        EXPECT_TRUE(SameCursor(W->cursor(), ToQCursor(C.Expected))) << C.Name;
    }
}

// A row line dragged in the row bar sets the height of every row (rows
// are sized together by default); the heading's line sets the heading.
TEST_F(MouseReading, DraggingRowLinesSizesRowsAndHeading) {
    Show(4, 6);
    const int Height = Grid->RowHeights(2);
    Press(QPoint(5, RowEdge(2)));
    Move(QPoint(5, RowEdge(2) + 10));
    Release(QPoint(5, RowEdge(2) + 10));
    EXPECT_EQ(Grid->RowHeights(2), Height + 10);
    EXPECT_EQ(Grid->RowHeights(5), Height + 10);
    const int Heading = Grid->RowHeights(0);
    Press(QPoint(5, RowEdge(0)));
    Move(QPoint(5, RowEdge(0) + 6));
    Release(QPoint(5, RowEdge(0) + 6));
    EXPECT_EQ(Grid->RowHeights(0), Heading + 6);
    EXPECT_EQ(Grid->RowHeights(2), Height + 10);
    EXPECT_EQ(Clicks, 0);
}

// A handler that fails inside a gesture's end still leaves the mouse idle.
TEST_F(MouseReading, FailingResizeHandlerStillEndsTheGesture) {
    Show(4, 6);
    Grid->OnColResized = [](TObject*, int) { throw Exception("refused"); };
    const int HeadingY = Grid->CellRect(1, 0).Top + 5;
    Press(QPoint(ColEdge(1), HeadingY));
    Move(QPoint(ColEdge(1) + 10, HeadingY));
    try {
        Release(QPoint(ColEdge(1) + 10, HeadingY));
    } catch (const Exception&) {
    }
    EXPECT_EQ(Grid->MouseStatus(), msNormal);
    Grid->OnColResized = nullptr;
    Press(CellMid(0, 3));
    EXPECT_EQ(Grid->MouseStatus(), msRowSelect);
    Release(CellMid(0, 3));
}

} // namespace

namespace {

// A press in the upper-left corner selects every row, passing through the
// all-rows status and back before the press returns.
TEST_F(MouseReading, CornerPressSelectsAllRowsAndReturnsToNormal) {
    Show(4, 6);
    Press(CellMid(0, 0));
    EXPECT_EQ(Statuses, (std::vector<std::pair<TgxMouseStatus, TgxMouseStatus>>{
                            {msNormal, msAllRowSelect}, {msAllRowSelect, msNormal}}));
    Release(CellMid(0, 0));
    for (int Row = 1; Row <= 6; ++Row) EXPECT_TRUE(Grid->GetRowSelected(Row)) << Row;
}

// Whether a held heading is drawn as a button: the grid's button setting
// with the column following the grid, or the column's own button.
TEST_F(MouseReading, HeldHeadingIsAButtonByGridAndColumnSetting) {
    struct Case {
        TgxHeadingButton GridSetting;
        TgxColHeadingButton ColSetting;
        bool Expected;
    };
    const Case Cases[] = {
        {hbCell, cbGrid, false},
        {hbButton, cbGrid, true},
        {hbCell, cbButton, true},
        {hbButton, cbCell, false},
    };
    for (const Case& C : Cases) {
        Show(4, 6);
        Grid->SetHeadingButton(C.GridSetting);
        Grid->GetCol(Variant(2))->SetHeadingButton(C.ColSetting);
        const TRect R = Grid->CellRect(2, 0);
        // The right end of the heading, where a heading button sits.
        const QPoint P(R.Right - 4, (R.Top + R.Bottom) / 2);
        Press(P);
        EXPECT_EQ(Grid->MouseStatus(), msHeadingDown)
            << static_cast<int>(C.GridSetting) << "/" << static_cast<int>(C.ColSetting);
        EXPECT_EQ(Grid->HeadingIsButton(), C.Expected)
            << static_cast<int>(C.GridSetting) << "/" << static_cast<int>(C.ColSetting);
        Release(P);
        delete Form;
        Form = nullptr;
    }
}

} // namespace

namespace {

// A grid whose cell edit may not end keeps the focus: a press on another
// grid then does nothing there but report the press, and the editing grid
// reports neither an exit nor an entry. Once the edit may end, the press
// takes the focus away.
TEST_F(MouseReading, RefusedExitKeepsTheFocusAndThePressDoesNothingElse) {
    Show(4, 6);
    int Exits = 0;
    int Enters = 0;
    Grid->OnExit = [&](TObject*) { ++Exits; };
    Grid->OnEnter = [&](TObject*) { ++Enters; };
    Grid->OnEndCellEdit = [](TObject*, int, int, bool& Cancel) { Cancel = true; };
    Grid->SetCurrentDataCol(2);
    Grid->SetCurrentDataRow(2);
    TypeText(Grid->Widget(), "abc");
    if (!Grid->CellEditing() && QApplication::focusWidget())
        TypeText(QApplication::focusWidget(), "abc");
    ASSERT_TRUE(Grid->CellEditing());

    auto* Other = new TgxGrid(Form);
    Other->SetParent(Form);
    Other->SetBounds(405, 0, 190, 200);
    QApplication::processEvents();
    int Downs = 0;
    std::vector<std::pair<TgxMouseStatus, TgxMouseStatus>> OtherStatuses;
    Other->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++Downs; };
    Other->OnMouseStatusChanged = [&](TObject*, TgxMouseStatus O, TgxMouseStatus N) {
        OtherStatuses.emplace_back(O, N);
    };
    const TRect Bar = Other->CellRect(0, 3);
    const QPoint P((Bar.Left + Bar.Right) / 2 + Other->WindowFrameWidth(),
                   (Bar.Top + Bar.Bottom) / 2 + Other->WindowFrameWidth());
    SendMouse(Other->Widget(), QEvent::MouseButtonPress, P);
    SendMouse(Other->Widget(), QEvent::MouseButtonRelease, P);
    EXPECT_EQ(Downs, 1);
    EXPECT_TRUE(OtherStatuses.empty());
    EXPECT_FALSE(Other->GetRowSelected(3));
    EXPECT_TRUE(Grid->IsFocused());
    EXPECT_EQ(Exits, 0);
    EXPECT_EQ(Enters, 0);
    EXPECT_TRUE(Grid->CellEditing());

    // Without the focus check the press goes on all the same.
    Other->SetCheckMouseFocus(false);
    SendMouse(Other->Widget(), QEvent::MouseButtonPress, P);
    SendMouse(Other->Widget(), QEvent::MouseButtonRelease, P);
    EXPECT_TRUE(Other->GetRowSelected(3));
    EXPECT_TRUE(Grid->IsFocused());
    Other->SetCheckMouseFocus(true);
    Other->ResetSelection();

    Grid->OnEndCellEdit = nullptr;
    SendMouse(Other->Widget(), QEvent::MouseButtonPress, P);
    SendMouse(Other->Widget(), QEvent::MouseButtonRelease, P);
    EXPECT_FALSE(Grid->IsFocused());
    EXPECT_TRUE(Other->IsFocused());
    EXPECT_EQ(Exits, 1);
    EXPECT_TRUE(Other->GetRowSelected(3));
}

} // namespace

namespace {

// A cell button clicks when let go over it; let go elsewhere it only
// comes up. Either way the button's up event follows.
TEST_F(MouseReading, CellButtonClicksOnlyWhenReleasedOverIt) {
    Show(4, 6);
    Grid->GetCol(Variant(2))->SetButtonType(btNormal);
    Grid->SetCurrentDataCol(2);
    Grid->SetCurrentDataRow(3);
    std::vector<std::string> Events;
    Grid->OnButtonDown = [&](TObject*, int, const Variant&) { Events.push_back("down"); };
    Grid->OnButtonClick = [&](TObject*, int C, const Variant& R) {
        Events.push_back("click" + std::to_string(C) + "," + std::to_string(R.AsInteger()));
    };
    Grid->OnButtonUp = [&](TObject*, int, const Variant&) { Events.push_back("up"); };
    const TRect R = Grid->CellRect(Grid->GetDisplayCol(2), Grid->GetDisplayRow(3));
    const QPoint OnButton(R.Right - 4, (R.Top + R.Bottom) / 2);
    Press(OnButton);
    ASSERT_EQ(Grid->MouseStatus(), msButtonDown);
    Release(OnButton);
    EXPECT_EQ(Events, (std::vector<std::string>{"down", "click2,3", "up"}));
    Events.clear();
    Press(OnButton);
    Move(CellMid(1, 1));
    Release(CellMid(1, 1));
    EXPECT_EQ(Events, (std::vector<std::string>{"down", "up"}));
    EXPECT_EQ(Clicks, 0);
}

// A double-click on the heading's lower line puts back the default
// heading height; on a row line with rows sized one by one, the row's
// height before the user's change.
TEST_F(MouseReading, DoubleClickOnRowLinesRestoresHeights) {
    Show(4, 6);
    const int Heading = Grid->RowHeights(0);
    Press(QPoint(5, RowEdge(0)));
    Move(QPoint(5, RowEdge(0) + 7));
    Release(QPoint(5, RowEdge(0) + 7));
    ASSERT_EQ(Grid->RowHeights(0), Heading + 7);
    DoubleClick(QPoint(5, RowEdge(0)));
    EXPECT_EQ(Grid->RowHeights(0), Heading);

    Grid->SetResizeRows(rrSingle);
    std::vector<int> Resized;
    Grid->OnRowResized = [&](TObject*, int DataRow) { Resized.push_back(DataRow); };
    const int Height = Grid->RowHeights(2);
    Press(QPoint(5, RowEdge(2)));
    Move(QPoint(5, RowEdge(2) + 9));
    Release(QPoint(5, RowEdge(2) + 9));
    ASSERT_EQ(Grid->RowHeights(2), Height + 9);
    EXPECT_EQ(Resized, std::vector<int>{2});
    ASSERT_EQ(Grid->RowHeights(3), Height);
    DoubleClick(QPoint(5, RowEdge(2)));
    EXPECT_EQ(Grid->RowHeights(2), Height);
    EXPECT_EQ(Clicks, 0);
}

} // namespace

namespace {

// The control's own mouse events come with each press, move and release.
TEST_F(MouseReading, ControlMouseEventsComeWithEveryStep) {
    Show(4, 6);
    std::vector<std::string> Events;
    Grid->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) {
        Events.push_back("down");
    };
    Grid->OnMouseMove = [&](TObject*, TShiftState, int, int) { Events.push_back("move"); };
    Grid->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { Events.push_back("up"); };
    Press(CellMid(0, 2));
    Move(CellMid(0, 3));
    Release(CellMid(0, 3));
    EXPECT_EQ(Events, (std::vector<std::string>{"down", "move", "up"}));
}

// With Shift held a clickable heading selects its column instead; a double
// press on it away from its lines is pressed again as a single one.
TEST_F(MouseReading, ClickableHeadingWithShiftSelectsAndDoublePressPressesAgain) {
    Show(4, 6);
    Grid->SetHeadingButton(hbCell);
    int Downs = 0;
    Grid->OnHeadingDown = [&](TObject*, int) { ++Downs; };
    const QPoint P = At(CellMid(2, 0));
    QMouseEvent ShiftPress(QEvent::MouseButtonPress, QPointF(P), QPointF(W->mapToGlobal(P)),
                           Qt::LeftButton, Qt::LeftButton, Qt::ShiftModifier);
    QApplication::sendEvent(W, &ShiftPress);
    EXPECT_EQ(Grid->MouseStatus(), msColSelect);
    QMouseEvent ShiftRelease(QEvent::MouseButtonRelease, QPointF(P), QPointF(W->mapToGlobal(P)),
                             Qt::LeftButton, Qt::NoButton, Qt::ShiftModifier);
    QApplication::sendEvent(W, &ShiftRelease);
    TypeKey(W, 0); // lets go of Shift as the platform sees it
    EXPECT_EQ(Downs, 0);
    EXPECT_TRUE(Grid->ColSelection().GetSelected(2));
    Grid->ResetSelection();
    DoubleClick(CellMid(3, 0));
    EXPECT_EQ(Downs, 2);
    EXPECT_EQ(Grid->MouseStatus(), msNormal);
}

} // namespace
