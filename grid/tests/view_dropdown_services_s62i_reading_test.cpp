// The drop-down and editing services of the grid view that the model relies
// on, probed through a shown grid, real keys and the public calls.
#include "DropDownFixture.h"
#include "StubDateTimeDef.h"

#include "grid/view/DateTimeDropDownCalendar.h"
#include "grid/view/DropDownForm.h"
#include "platform/gui/Messages.h"
#include "platform/gui/TimerService.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/DateTimeFormat.h"
#include "platform/rtl/Exceptions.h"

#include <algorithm>
#include <string>
#include <vector>

using namespace grid;

namespace {

class ViewDropDownServicesTest : public DropDownFixture {
protected:
    void Log(const char* what) { Events.push_back(what); }
    void Watch() {
        Grid->OnComboInit = [this](TObject*, TgxComboGrid*, int c, int r) {
            Events.push_back("init " + std::to_string(c) + "," + std::to_string(r));
        };
        Grid->OnComboDropDown = [this](TObject*, TgxComboGrid*, int c, int r) {
            Events.push_back("drop " + std::to_string(c) + "," + std::to_string(r));
        };
        Grid->OnComboRollUp = [this](TObject*, TgxComboGrid*, int c, int r) {
            Events.push_back("up " + std::to_string(c) + "," + std::to_string(r));
        };
    }
    std::vector<std::string> Events;
};

TEST_F(ViewDropDownServicesTest, TheComboFormAndListAreSetUpFromTheGrid) {
    TgxDropDownForm* form = Grid->GetComboForm();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(Grid->GetComboForm(), form) << "made once";
    EXPECT_EQ(form->Owner(), Grid);
    EXPECT_FALSE(form->Visible());
    EXPECT_FALSE(form->Enabled());
    EXPECT_EQ(form->Left(), Grid->Left());
    EXPECT_EQ(form->Font()->Name(), Grid->Font()->Name());

    TgxComboGrid* list = Grid->GetCombo()->GetGrid();
    EXPECT_FALSE(list->GetHeadingOn());
    EXPECT_FALSE(list->GetRowBarOn());
    EXPECT_EQ(list->GridMode(), gmListBox);
    EXPECT_EQ(list->GetHeadingHeight(), 15);
    EXPECT_EQ(list->GetRowBarWidth(), 14);
    EXPECT_EQ(list->Color(), Grid->Color());
    EXPECT_EQ(list->Font()->Name(), Grid->Font()->Name());
    EXPECT_EQ(list->SelectionColor(), Grid->SelectionColor());
}

TEST_F(ViewDropDownServicesTest, DropAndRollUpReportTheDroppedCellOnce) {
    GiveColumnList(2, {"alpha", "beta", "gamma"});
    Grid->GetCol(2)->SetWidth(90);
    Watch();
    GoTo(2, 3);
    Key(Qt::Key_F4);
    ASSERT_TRUE(Grid->ComboVisible());
    EXPECT_EQ(Grid->ComboDataCol(), 2);
    EXPECT_EQ(Grid->ComboDataRow(), 3);
    Key(Qt::Key_Escape);
    EXPECT_FALSE(Grid->ComboVisible());
    EXPECT_EQ(Grid->ComboDataCol(), -1);
    EXPECT_EQ(Grid->ComboSearchValue(), "");
    EXPECT_FALSE(Grid->TurnComboOff(false, false)) << "nothing left to close";
    EXPECT_EQ(Events, (std::vector<std::string>{"init 2,3", "drop 2,3", "up 2,3"}));

    // Another cell makes the next drop-down set the list up again.
    Events.clear();
    GoTo(2, 1);
    Key(Qt::Key_F4);
    Key(Qt::Key_Escape);
    EXPECT_EQ(Events, (std::vector<std::string>{"init 2,1", "drop 2,1", "up 2,1"}));
}

TEST_F(ViewDropDownServicesTest, TheSharedListTakesTheDroppedColumnsWidth) {
    Grid->SetGridColCount(3);
    Grid->SetGridRowCount(3);
    for (int col : {1, 3}) Grid->GetCol(col)->SetButtonType(btCombo);
    Grid->GetCol(1)->SetWidth(90);
    Grid->GetCol(3)->SetWidth(50);
    for (auto [col, width] : {std::pair{1, 90}, std::pair{3, 50}}) {
        GoTo(col, 2);
        Key(Qt::Key_F4);
        ASSERT_TRUE(Grid->ComboVisible()) << col;
        EXPECT_EQ(DroppedList()->DefaultColWidth(), width + 10) << col;
        EXPECT_GE(DroppedList()->DefaultRowHeight(), DroppedList()->CalcTextHeight()) << col;
        Key(Qt::Key_Escape);
    }
}

TEST_F(ViewDropDownServicesTest, AClickElsewhereRollsTheComboUpOnce) {
    GiveColumnList(1, {"one", "two"});
    Watch();
    GoTo(1, 2);
    Key(Qt::Key_F4);
    ASSERT_TRUE(Grid->ComboVisible());
    Events.clear();
    ClickAt(Elsewhere->Widget(), QPoint(20, 20));
    QApplication::processEvents();
    EXPECT_FALSE(Grid->ComboVisible());
    EXPECT_EQ(Events, (std::vector<std::string>{"up 1,2"}));
    EXPECT_EQ(Grid->ComboDataCol(), -1);
}

TEST_F(ViewDropDownServicesTest, HidingTheComboClosesItOnceAndReportsTheRollUp) {
    GiveColumnList(1, {"one", "two"});
    Watch();
    GoTo(1, 2);
    Key(Qt::Key_F4);
    ASSERT_TRUE(Grid->ComboVisible());
    Events.clear();
    Grid->HideCombo();
    EXPECT_FALSE(Grid->ComboVisible());
    Grid->HideCombo();
    EXPECT_EQ(Events, (std::vector<std::string>{"up 1,2"}));
}

TEST_F(ViewDropDownServicesTest, DropDownFormsStayInsideTheWorkArea) {
    Grid->SetGridColCount(3);
    Grid->SetGridRowCount(3);
    const TRect work = Screen->WorkAreaRect();
    const int rowHeight = Grid->RowHeights(2);
    struct Case {
        const char* what;
        TPoint pos, size;
        TPoint expected;
    };
    const Case cases[] = {
        {"fits", {100, 100}, {150, 100}, {100, 100}},
        {"past the right edge", {work.Right - 50, 100}, {150, 100}, {work.Right - 150, 100}},
        {"wider than the work area", {work.Right - 50, 100}, {work.Width() + 40, 100},
         {work.Left, 100}},
        {"past the bottom",
         {100, work.Bottom - 20},
         {150, 100},
         {100, work.Bottom - 20 + Grid->VertLineWidth() - rowHeight - 100}},
        {"taller than the work area", {100, work.Bottom - 20}, {150, work.Height() + 50},
         {100, work.Top}},
    };
    for (const Case& c : cases) {
        TPoint pos = c.pos;
        Grid->PositionDropDownForm(2, 2, c.size, pos);
        EXPECT_EQ(pos.X, c.expected.X) << c.what;
        EXPECT_EQ(pos.Y, c.expected.Y) << c.what;
    }
    TPoint pos{0, 0};
    Grid->PositionPopupForm(1, 1, TPoint{200, 100}, pos);
    EXPECT_EQ(pos.X, work.Left + (work.Width() - 200) / 2);
    EXPECT_EQ(pos.Y, work.Top + (work.Height() - 100) / 2);
}

TEST_F(ViewDropDownServicesTest, DateTimeTypesDropDownOnlyWhereADefinitionApplies) {
    Grid->SetGridColCount(2);
    Grid->SetGridRowCount(2);
    Grid->GetCol(1)->SetButtonType(btDateTimeDropDown);
    Grid->GetCol(2)->SetButtonType(btDateTimeDropDown);
    StubDateTimeDef def(Form);
    Grid->GetCol(2)->SetDateTimeDef(&def);
    EXPECT_FALSE(Grid->CanDropDown(1, 1, {btDateTimeDropDown, btDateTimePopup}));
    EXPECT_TRUE(Grid->CanDropDown(2, 1, {btDateTimeDropDown, btDateTimePopup}));
    EXPECT_FALSE(Grid->DateTimeVisible());
    EXPECT_FALSE(Grid->TurnDateTimeOff(false, false));
}

TEST_F(ViewDropDownServicesTest, EndEditCheckAsksOnlyWhenLeavingTheCell) {
    Grid->SetGridColCount(3);
    Grid->SetGridRowCount(3);
    Grid->SetStoreData(true);
    bool refuse = true;
    int cellAsks = 0, rowAsks = 0, hides = 0;
    Grid->OnEndCellEdit = [&](TObject*, int, int, bool& cancel) {
        ++cellAsks;
        cancel = refuse;
    };
    Grid->OnEndRowEdit = [&](TObject*, int, bool& cancel) {
        ++rowAsks;
        cancel = refuse;
    };
    Grid->OnHideEditor = [&](TObject*, int, int) { ++hides; };
    GoTo(1, 1);
    EXPECT_TRUE(Grid->CheckEndEdit(3, 3, true)) << "no edit under way";
    ASSERT_TRUE(Grid->StartEdit());
    EXPECT_TRUE(Grid->CellEditing());
    EXPECT_TRUE(Grid->CheckEndEdit(1, 1, true)) << "the current cell";
    EXPECT_EQ(cellAsks + rowAsks, 0);
    EXPECT_FALSE(Grid->CheckEndEdit(2, 1, true)) << "refused for another column";
    EXPECT_EQ(cellAsks, 1);
    EXPECT_EQ(rowAsks, 0);
    EXPECT_FALSE(Grid->CheckEndEdit(1, 2, true)) << "refused for another row";
    EXPECT_GE(cellAsks + rowAsks, 2);
    EXPECT_TRUE(Grid->CellEditing()) << "the edit stays";
    refuse = false;
    EXPECT_TRUE(Grid->CheckEndEdit(2, 2, true));
}

TEST_F(ViewDropDownServicesTest, StartEditNeedsEditStateAndCanBeSuspended) {
    Grid->SetGridColCount(2);
    Grid->SetGridRowCount(2);
    GoTo(1, 1);
    struct Case {
        const char* what;
        TgxGridMode mode;
        bool suspended, refuse, started;
    };
    const Case cases[] = {
        {"browse", gmBrowse, false, false, false},
        {"list box", gmListBox, false, false, false},
        {"refused", gmEdit, false, true, false},
        {"edit", gmEdit, false, false, true},
    };
    for (const Case& c : cases) {
        Grid->SetGridMode(c.mode);
        if (c.suspended) Grid->SetEnableStartEdit(false);
        Grid->OnStartCellEdit = [&](TObject*, int, int, bool& cancel) { cancel = c.refuse; };
        EXPECT_EQ(Grid->StartEdit(), c.started) << c.what;
        EXPECT_EQ(Grid->CellEditing(), c.started) << c.what;
        if (c.suspended) Grid->SetEnableStartEdit(true);
        Grid->EndEdit(true);
    }
}

TEST_F(ViewDropDownServicesTest, OldHeadingAlignmentSetsTheNewOne) {
    struct Case {
        TAlignment old;
        TgxHorzAlignment expected;
    };
    const Case cases[] = {
        {taLeftJustify, htaDefault}, {taRightJustify, htaRight}, {taCenter, htaCenter}};
    for (const Case& c : cases) {
        Grid->SetHeadingAlignment(c.old);
        EXPECT_EQ(Grid->HeadingAlignment(), c.old);
        EXPECT_EQ(Grid->HeadingHorzAlignment(), c.expected) << static_cast<int>(c.old);
    }
}

TEST_F(ViewDropDownServicesTest, FocusIsTheGridsOrItsEditorsOnly) {
    Grid->SetGridColCount(2);
    Grid->SetGridRowCount(2);
    GoTo(1, 1);
    Grid->SetFocus();
    QApplication::processEvents();
    EXPECT_TRUE(Grid->IsFocused());
    Key(Qt::Key_F2);
    EXPECT_TRUE(Grid->IsFocused()) << "the editor has it";
    Elsewhere->SetFocus();
    QApplication::processEvents();
    EXPECT_FALSE(Grid->IsFocused());
}

TEST_F(ViewDropDownServicesTest, EditorAnnouncementsComeInPairs) {
    Grid->SetGridColCount(3);
    Grid->SetGridRowCount(3);
    Grid->SetStoreData(true);
    std::vector<std::string> log;
    Grid->OnShowEditor = [&](TObject*, int c, int r, bool&) {
        log.push_back("show " + std::to_string(c) + "," + std::to_string(r));
    };
    Grid->OnHideEditor = [&](TObject*, int c, int r) {
        log.push_back("hide " + std::to_string(c) + "," + std::to_string(r));
    };
    Grid->SetAlwaysShowEditor(false);
    Grid->SetFocus();
    Grid->SetCurrentCell(1, 1);
    QApplication::processEvents();
    auto press = [&](int key) {
        QWidget* target = QApplication::focusWidget();
        TypeKey(target ? target : Grid->Widget(), key, {}, Qt::NoModifier);
        QApplication::processEvents();
    };
    for (int key :
         {Qt::Key_F2, Qt::Key_Down, Qt::Key_F2, Qt::Key_Escape, Qt::Key_F2, Qt::Key_Right})
        press(key);
    int shows = 0, hides = 0;
    for (const std::string& line : log) (line[0] == 's' ? shows : hides) += 1;
    EXPECT_LE(hides, shows) << "never hidden without being shown first";
    EXPECT_GE(shows, 2);
    for (std::size_t i = 1; i < log.size(); ++i)
        EXPECT_NE(log[i].substr(0, 4), log[i - 1].substr(0, 4)) << "two in a row at " << i;
}

} // namespace

namespace {

// The list's form hangs under the dropped cell and ends at its right edge
// when it is narrower than the column; the list fills the form from its
// top-left corner.
TEST_F(ViewDropDownServicesTest, TheComboFormHangsUnderTheDroppedCell) {
    Grid->SetGridColCount(3);
    Grid->SetGridRowCount(4);
    Grid->GetCol(1)->SetButtonType(btCombo); // the shared list: wider than its column
    Grid->GetCol(1)->SetWidth(80);
    GiveColumnList(2, {"a", "b"})->SetDefaultColWidth(60);
    Grid->GetCol(2)->SetWidth(220);
    for (int col : {1, 2}) {
        GoTo(col, 2);
        Key(Qt::Key_F4);
        ASSERT_TRUE(Grid->ComboVisible()) << col;
        TgxDropDownForm* form = Grid->GetComboForm();
        const TRect cell = Grid->CellRect(Grid->GetDisplayCol(col), Grid->GetDisplayRow(2));
        const TPoint bottomLeft = Grid->ClientToScreen(TPoint{cell.Left, cell.Bottom});
        const TPoint bottomRight = Grid->ClientToScreen(TPoint{cell.Right, cell.Bottom});
        if (form->Width() < cell.Width())
            EXPECT_EQ(form->Left() + form->Width(), bottomRight.X) << col;
        else
            EXPECT_EQ(form->Left(), bottomLeft.X) << col;
        EXPECT_GE(form->Top(), bottomLeft.Y) << col;
        EXPECT_LE(form->Top(), bottomLeft.Y + Grid->HorzLineWidth()) << col;
        EXPECT_EQ(DroppedList()->Left(), 0) << col;
        EXPECT_EQ(DroppedList()->Top(), 0) << col;
        Key(Qt::Key_Escape);
    }
}

TEST_F(ViewDropDownServicesTest, OnlyAListTakesTheInitialColumnWidth) {
    const int before = Grid->DefaultColWidth();
    Grid->InitComboColWidth(50);
    EXPECT_EQ(Grid->DefaultColWidth(), before);
    TgxComboGrid* list = Grid->GetCombo()->GetGrid();
    list->InitComboColWidth(50);
    EXPECT_EQ(list->DefaultColWidth(), 60);
}

TEST_F(ViewDropDownServicesTest, ARefusedEndOfEditKeepsTheCurrentCell) {
    Grid->SetGridColCount(3);
    Grid->SetGridRowCount(3);
    Grid->SetStoreData(true);
    Grid->OnEndCellEdit = [](TObject*, int, int, bool& cancel) { cancel = true; };
    GoTo(1, 1);
    ASSERT_TRUE(Grid->StartEdit());
    Grid->SetCurrentCell(2, 2);
    EXPECT_EQ(Grid->Col(), 1);
    EXPECT_EQ(Grid->Row(), 1);
    Grid->SetCurrentDataRow(3);
    EXPECT_EQ(Grid->Row(), 1);
    Grid->OnEndCellEdit = nullptr;
    Grid->SetCurrentCell(2, 2);
    EXPECT_EQ(Grid->Col(), 2);
    EXPECT_EQ(Grid->Row(), 2);
}

TEST_F(ViewDropDownServicesTest, AScrollBarLineMovesTheTopRowAndFocusesTheGrid) {
    Grid->SetGridColCount(2);
    Grid->SetGridRowCount(60);
    Elsewhere->SetFocus();
    QApplication::processEvents();
    const int top = Grid->TopRow();
    Grid->Perform(WM_VSCROLL, SB_LINEDOWN, 0);
    QApplication::processEvents();
    EXPECT_EQ(Grid->TopRow(), top + 1);
    EXPECT_TRUE(Grid->IsFocused());
}

TEST_F(ViewDropDownServicesTest, TheExportSettingsAreCopiedWithTheGrid) {
    Grid->XMLExport()->SetEncoding("ISO-8859-1");
    Grid->XMLExport()->SetStandAlone(false);
    TgxGrid copy(Form);
    copy.Assign(Grid);
    EXPECT_EQ(copy.XMLExport()->Encoding(), "ISO-8859-1");
    EXPECT_FALSE(copy.XMLExport()->StandAlone());
    EXPECT_NE(copy.XMLExport(), Grid->XMLExport()) << "each grid owns its own";
}

TEST_F(ViewDropDownServicesTest, AFastAssignPutsTheTopLeftRightAtItsEnd) {
    Grid->SetGridColCount(2);
    Grid->SetGridRowCount(60);
    Grid->SetTopLeft(1, 50);
    ASSERT_GT(Grid->TopRow(), 20);
    Grid->SetFastAssign(true);
    Grid->SetGridRowCount(10);
    Grid->SetFastAssign(false);
    EXPECT_LE(Grid->TopRow(), std::max(1, Grid->GetMaxTopRow()));
    EXPECT_EQ(Grid->MaxVisibleRow(), 10);
}

TEST_F(ViewDropDownServicesTest, ACellRangeShrinksOffAHiddenEdge) {
    Grid->SetGridColCount(4);
    Grid->SetGridRowCount(4);
    Grid->SetCellSelectMode(cmRange);
    Grid->SelectCells(1, 1, 3, 3);
    ASSERT_EQ(Grid->GridStatus(), grCellSelect);
    Grid->GetCol(3)->SetVisible(false);
    EXPECT_EQ(Grid->SelectedRange().Right, 2);
    Grid->SetRowVisible(1, false);
    EXPECT_EQ(Grid->SelectedRange().Top, 2);
    EXPECT_EQ(Grid->SelectedRange().Left, 1);
    EXPECT_EQ(Grid->SelectedRange().Bottom, 3);
}

} // namespace

namespace {

// A repeat step that fails lets go of the held spin button: the error is
// passed on, and the next tick repeats nothing.
TEST_F(ViewDropDownServicesTest, AFailingSpinRepeatReleasesTheButton) {
    FakeTimerService timers;
    ScopedTimerService useTimers(timers);
    Grid->SetGridColCount(2);
    Grid->SetGridRowCount(2);
    Grid->GetCol(1)->SetButtonType(btVertSpin);
    Grid->GetCol(1)->SetWidth(80);
    GoTo(1, 1);
    int repeats = 0;
    // The press itself takes the first step; the timer's repeats fail.
    Grid->OnSpinRepeat = [&](TObject*, int, const Variant&, int count, TgxSpinButton) {
        ++repeats;
        if (count > 1) throw Exception("spin failed");
    };
    const TRect cell = Grid->CellRect(1, 1);
    QPoint at;
    bool found = false;
    for (int x = cell.Right - 3; x > cell.Right - 20 && !found; --x)
        for (int y = cell.Top + 3; y < cell.Bottom && !found; ++y)
            if (Grid->SpinPartAt(x, y, 1, 1) == spbIncrement) {
                at = QPoint(x, y);
                found = true;
            }
    ASSERT_TRUE(found);
    SendMouse(Grid->Widget(), QEvent::MouseButtonPress, at);
    EXPECT_EQ(repeats, 1);
    EXPECT_EQ(Grid->PressedSpinPart(), spbIncrement);
    // The tick's error reaches the application's exception display.
    std::vector<AnsiString> shown;
    Application->OnException = [&](TObject*, const Exception& e) { shown.push_back(e.Message); };
    timers.Advance(600);
    EXPECT_EQ(shown, std::vector<AnsiString>{"spin failed"});
    EXPECT_EQ(repeats, 2);
    EXPECT_EQ(Grid->PressedSpinPart(), spbNone);
    timers.Advance(400);
    EXPECT_EQ(repeats, 2) << "no more repeats after the error";
    SendMouse(Grid->Widget(), QEvent::MouseButtonRelease, at);
    Application->OnException = nullptr;
    EXPECT_EQ(shown.size(), 1u);
}

} // namespace

namespace {

TEST_F(ViewDropDownServicesTest, SizingZonesAroundColumnAndRowEdges) {
    Grid->SetGridColCount(3);
    Grid->SetGridRowCount(3);
    Grid->SetRowBarOn(true);
    Grid->SetResizeCols(rcSingle);
    Grid->SetResizeRows(rrSingle);
    const TRect heading = Grid->CellRect(2, 0);
    const TRect rowBar = Grid->CellRect(0, 2);
    const int colEdge = Grid->CalcColOffset(2) + Grid->ColWidths(2) - 1;
    const int rowEdge = Grid->CalcRowOffset(2) + Grid->RowHeights(2) - 1;
    const int midY = (heading.Top + heading.Bottom) / 2;
    const int midX = (rowBar.Left + rowBar.Right) / 2;
    struct Case {
        const char* what;
        int x, y, row, col;
        TgxMouseStatus expected;
    };
    const Case cases[] = {
        {"two left of a column edge", colEdge - 2, midY, 0, 2, msColResize},
        {"one right of a column edge", colEdge + 1, midY, 0, 3, msColResize},
        {"two right of a column edge", colEdge + 2, midY, 0, 3, msNormal},
        {"two above a row edge", midX, rowEdge - 2, 2, 0, msRowResize},
        {"two below a row edge", midX, rowEdge + 2, 3, 0, msRowResize},
        {"three below a row edge", midX, rowEdge + 3, 3, 0, msNormal},
        {"a column edge inside the data", colEdge, rowEdge - 5, 2, 2, msNormal},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Grid->GetSizingState(c.x, c.y, c.row, c.col), c.expected) << c.what;
}

TEST_F(ViewDropDownServicesTest, DraggingAColumnEdgeReportsTheGestureAndTheResize) {
    Grid->SetGridColCount(3);
    Grid->SetGridRowCount(3);
    Grid->SetResizeCols(rcSingle);
    std::vector<std::pair<TgxMouseStatus, TgxMouseStatus>> statuses;
    Grid->OnMouseStatusChanged = [&](TObject*, TgxMouseStatus o, TgxMouseStatus n) {
        statuses.emplace_back(o, n);
    };
    std::vector<int> resized;
    Grid->OnColResized = [&](TObject*, int dataCol) { resized.push_back(dataCol); };
    const int before = Grid->ColWidths(2);
    const int edge = Grid->CalcColOffset(2) + Grid->ColWidths(2) - 1;
    const TRect heading = Grid->CellRect(2, 0);
    const int y = (heading.Top + heading.Bottom) / 2;
    SendMouse(Grid->Widget(), QEvent::MouseButtonPress, QPoint(edge, y));
    SendMouse(Grid->Widget(), QEvent::MouseMove, QPoint(edge + 30, y), Qt::NoButton,
              Qt::LeftButton);
    SendMouse(Grid->Widget(), QEvent::MouseButtonRelease, QPoint(edge + 30, y));
    QApplication::processEvents();
    EXPECT_EQ(Grid->ColWidths(2), before + 30);
    EXPECT_EQ(resized, std::vector<int>{2});
    ASSERT_GE(statuses.size(), 2u);
    EXPECT_EQ(statuses.front().second, msColResize);
    EXPECT_EQ(statuses.back().second, msNormal);
    EXPECT_EQ(Grid->MouseStatus(), msNormal);
}

} // namespace

namespace {

// The calendar drops down from a date cell; a cancel closes it and leaves
// the value, a pick goes through the get-value event into the cell, and
// each drop-down rolls up once.
TEST_F(ViewDropDownServicesTest, TheCalendarRollsUpOnceOnPickAndCancel) {
    Grid->SetGridColCount(2);
    Grid->SetGridRowCount(2);
    Grid->SetStoreData(true);
    TgxCalendarDateTimeDef def(Form);
    Grid->GetCol(1)->SetButtonType(btDateTimeDropDown);
    Grid->GetCol(1)->SetDateTimeDef(&def);
    Grid->SetCellValue(1, 1, "2024/05/06");
    std::vector<std::string> events;
    Grid->OnDateTimeDropDown = [&](TObject*, TgxDateTimeDefComponent*, int c, const Variant&) {
        events.push_back("drop " + std::to_string(c));
    };
    Grid->OnDateTimeRollUp = [&](TObject*, TgxDateTimeDefComponent*, int c, const Variant&) {
        events.push_back("up " + std::to_string(c));
    };
    Variant handed;
    Grid->OnDateTimeGetValue = [&](TObject*, TgxDateTimeDefComponent*, int, int, Variant& v) {
        handed = v;
        v = Variant(AnsiString("2030/01/02"));
    };
    GoTo(1, 1);
    Key(Qt::Key_F4);
    ASSERT_TRUE(Grid->DateTimeVisible());
    Grid->DateTimeCancel(Grid->DateTimeInstance());
    QApplication::processEvents();
    EXPECT_FALSE(Grid->DateTimeVisible());
    EXPECT_TRUE(Grid->IsFocused());
    EXPECT_EQ(Grid->CurrentCell()->GetValue().AsString(), "2024/05/06");
    EXPECT_TRUE(handed.IsEmpty()) << "a cancel asks for no value";

    Key(Qt::Key_F4);
    ASSERT_TRUE(Grid->DateTimeVisible());
    ASSERT_NE(Grid->DateTimeInstance(), nullptr);
    Grid->DateTimeInstance()->SetDateTime(Variant(EncodeDate(2024, 5, 20)));
    Grid->DateTimeSelect(Grid->DateTimeInstance());
    QApplication::processEvents();
    EXPECT_FALSE(Grid->DateTimeVisible());
    EXPECT_EQ(handed.AsString(), FormatDateTime(Grid->EditDateFormat(), EncodeDate(2024, 5, 20)))
        << "the picked day, in the edit format";
    EXPECT_EQ(Grid->CurrentCell()->GetValue().AsString(), "2030/01/02");

    // A pick without a value only closes the calendar.
    handed = Variant();
    Key(Qt::Key_F4);
    ASSERT_TRUE(Grid->DateTimeVisible());
    Grid->DateTimeInstance()->SetDateTime(Variant());
    Grid->DateTimeSelect(Grid->DateTimeInstance());
    QApplication::processEvents();
    EXPECT_FALSE(Grid->DateTimeVisible());
    EXPECT_TRUE(handed.IsEmpty());
    EXPECT_EQ(Grid->CurrentCell()->GetValue().AsString(), "2030/01/02");
    EXPECT_EQ(events, (std::vector<std::string>{"drop 1", "up 1", "drop 1", "up 1", "drop 1",
                                                "up 1"}));
}

} // namespace

namespace {

// A click on a heading names the data column under it, also after the
// columns were moved; so does a heading's accelerator.
TEST_F(ViewDropDownServicesTest, HeadingsAnswerWithTheirDataColumn) {
    Grid->SetGridColCount(4);
    Grid->SetGridRowCount(3);
    Grid->GetCol(3)->SetHeading("&Zone");
    Grid->SetHeadingButton(hbCell);
    Grid->MoveColRange(3, 1);
    ASSERT_EQ(Grid->GetDataCol(1), 3);
    std::vector<int> clicks;
    Grid->OnHeadingClick = [&](TObject*, int dataCol) { clicks.push_back(dataCol); };
    for (int display : {1, 2}) {
        const TRect r = Grid->CellRect(display, 0);
        ClickAt(Grid->Widget(), QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
        QApplication::processEvents();
    }
    EXPECT_EQ(clicks, (std::vector<int>{3, 1}));
    EXPECT_EQ(Grid->GetAccelHeading('z'), 3);
    Grid->SetFocus();
    QApplication::processEvents();
    Key(Qt::Key_Z, Qt::AltModifier, "z");
    EXPECT_EQ(clicks, (std::vector<int>{3, 1, 3})) << "the accelerator clicks the heading";
}

} // namespace
