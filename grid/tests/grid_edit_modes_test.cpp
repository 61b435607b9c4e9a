// Grid modes and editing options, the editor's hosting and the grid's two
// window timers.
#include "GridEditFixture.h"
#include "platform/gui/TimerService.h"

#include <functional>

using namespace grid;

namespace {

class GridEditModes : public GridEditFixture {};

} // namespace

TEST_F(GridEditModes, OldEditModeTextsReadAsTheirGridModes) {
    struct Case {
        const char* Text;
        TgxEditMode Mode;
    };
    for (const Case C : {Case{"emBrowse", emBrowse}, Case{"EMBROWSE", emBrowse},
                         Case{"emnone", emNone}, Case{"emEditInsert", emEditInsert},
                         Case{"emEdit", emEdit}, Case{"something else", emEdit}})
        EXPECT_EQ(TgxBaseGrid::EditModeStrValue(C.Text), C.Mode) << C.Text;
    Grid->SetEditMode(emBrowse);
    EXPECT_EQ(Grid->GridMode(), gmBrowse);
    EXPECT_EQ(Grid->EditMode(), emBrowse);
}

TEST_F(GridEditModes, TheCurrentPositionInDataNumbers) {
    GoTo(2, 3);
    EXPECT_EQ(Grid->GetCurrentDataCol(), 2);
    EXPECT_EQ(Grid->GetCurrentDataRow(), 3);
    Grid->SetCurrentDataRow(4);
    EXPECT_EQ(At(), std::make_pair(2, 4));
    Grid->SetCurrentDataRow(99); // out of range: ignored
    Grid->SetCurrentDataCol(-1);
    EXPECT_EQ(At(), std::make_pair(2, 4));
    // A moved column keeps its data number at its new place.
    Grid->GetCol(1)->SetDisplayCol(3);
    Grid->SetCurrentDataCol(1);
    EXPECT_EQ(Grid->Col(), 3);
    EXPECT_EQ(Grid->GetCurrentDataCol(), 1);
}

TEST_F(GridEditModes, WithoutAlwaysShowEditorF2ShowsTheEditorAndEscapeHidesIt) {
    std::vector<std::string> Shown;
    Grid->OnShowEditor = [&](TObject*, int C, int R, bool&) {
        Shown.push_back("show " + Cell(C, R));
    };
    Grid->OnHideEditor = [&](TObject*, int C, int R) { Shown.push_back("hide " + Cell(C, R)); };
    GoTo(2, 2);
    Grid->SetAlwaysShowEditor(false);
    EXPECT_FALSE(Grid->EditorShown());
    Press(Qt::Key_F2);
    EXPECT_TRUE(Grid->EditorShown());
    Press(Qt::Key_Escape);
    EXPECT_FALSE(Grid->EditorShown());
    EXPECT_EQ(Shown, (std::vector<std::string>{"show 2,2", "hide 2,2"}));
    // With the editor always shown it cannot be hidden.
    Grid->SetAlwaysShowEditor(true);
    EXPECT_TRUE(Grid->EditorShown());
    EXPECT_FALSE(Grid->HideEditor());
    EXPECT_TRUE(Grid->EditorShown());
}

TEST_F(GridEditModes, TheEditorsSizeAroundButtonsAndMissingLines) {
    GoTo(2, 2);
    TgxCustomGridControl* Edit = Grid->GridControl();
    const int Width = Grid->ColWidths(2);
    const int Height = Grid->RowHeights(2);
    struct Case {
        const char* Name;
        TgxGridLines Lines;
        bool Is3D;
        int W;
        int H;
    };
    // A raised cell without lines loses the pixel of the missing line too.
    for (const Case C : {Case{"lines", glBoth, false, Width - 4, Height - 1},
                         Case{"no lines", glNone, false, Width - 3, Height},
                         Case{"raised with lines", glBoth, true, Width - 4, Height - 1},
                         Case{"raised without lines", glNone, true, Width - 4, Height - 1}}) {
        Grid->SetGridLines(C.Lines);
        Grid->GetCol(2)->SetIs3D(C.Is3D);
        Grid->RedisplayControl(true);
        EXPECT_EQ(Edit->GetWidth(), C.W) << C.Name;
        EXPECT_EQ(Edit->GetHeight(), C.H) << C.Name;
    }
    // A combo cell that only lists takes no keys; a button wider than the
    // cell leaves a control of width 0.
    Grid->GetCol(2)->SetButtonType(btCombo);
    Grid->GetCol(2)->SetDropDownStyle(ddDropDownList);
    Grid->RedisplayControl(true);
    EXPECT_FALSE(Edit->GetKeyEdit());
    EXPECT_FALSE(Edit->GetMouseSelect());
    Grid->GetCol(2)->SetWidth(6);
    Grid->RedisplayControl(true);
    EXPECT_EQ(Edit->GetWidth(), 0);
}

TEST_F(GridEditModes, PuttingACellInViewScrollsWithoutMovingTheCurrentCell) {
    Grid->SetGridRowCount(200);
    GoTo(1, 1);
    Grid->PutCellInView(2, 150);
    EXPECT_EQ(At(), std::make_pair(1, 1));
    EXPECT_GT(Grid->TopRow(), 100);
    const TRect R = Grid->CellRect(2, 150);
    EXPECT_LE(R.Bottom, Grid->ClientHeight());
    EXPECT_GT(R.Bottom, R.Top);
    Grid->PutCellInView(1, 5);
    EXPECT_EQ(Grid->TopRow(), 5);
}

TEST_F(GridEditModes, KeyProcessingNestsAndNeverGoesBelowZero) {
    EXPECT_TRUE(Grid->GetCanProcessKey());
    Grid->SetCanProcessKey(true);
    Grid->SetCanProcessKey(false);
    EXPECT_FALSE(Grid->GetCanProcessKey());
    Grid->SetCanProcessKey(true);
    EXPECT_TRUE(Grid->GetCanProcessKey());
}

TEST_F(GridEditModes, TheSpinTimerStartsOnceAndSwitchesToItsRepeatPeriodOnce) {
    FakeTimerService Timers;
    ScopedTimerService Use(Timers);
    int Ticks = 0;
    struct TSpinGrid : TgxGrid {
        using TgxGrid::TgxGrid;
        int* Count = nullptr;
        void SpinTimerEvent() override {
            ++*Count;
            CheckRestartSpinTimer();
        }
    };
    auto* Spinner = new TSpinGrid(Form);
    Spinner->Count = &Ticks;
    Spinner->SetParent(Form);
    Spinner->HandleNeeded();
    const int Before = Timers.Count();
    Spinner->StartSpinTimer(true);
    Spinner->StartSpinTimer(true); // running already: nothing
    EXPECT_EQ(Timers.Count(), Before + 1);
    EXPECT_EQ(Timers.NextTickIn(), Spinner->SpinStartDelay());
    Timers.Advance(Spinner->SpinStartDelay());
    EXPECT_EQ(Ticks, 1);
    EXPECT_EQ(Timers.NextTickIn(), Spinner->SpinRepeatDelay());
    Timers.Advance(Spinner->SpinRepeatDelay() * 3);
    EXPECT_EQ(Ticks, 4);
    // A grid that goes stops its timers.
    delete Spinner;
    EXPECT_EQ(Timers.Count(), Before);
}

TEST_F(GridEditModes, SingleRowSelectionKeepsOnlyTheCurrentRowOfASelection) {
    GoTo(1, 3);
    Grid->AddRowSelection(2, 4);
    ASSERT_EQ(Grid->GridStatus(), grRowSelect);
    EXPECT_TRUE(Grid->GetCurrentSelected());
    Grid->SetRowSelectMode(rsSingle);
    EXPECT_EQ(Grid->RowSelection().Count(), 1);
    EXPECT_TRUE(Grid->GetCurrentSelected());
    // Without the current row among them none is kept; rsNone drops them all.
    Grid->SetRowSelectMode(rsMulti);
    Grid->AddRowSelection(4, 5);
    Grid->SetRowSelectMode(rsNone);
    EXPECT_EQ(Grid->RowSelection().Count(), 0);
}

TEST_F(GridEditModes, TypingIntoAGridWithoutItsEditorShownStartsTheEdit) {
    GoTo(2, 2);
    Grid->SetAlwaysShowEditor(false);
    Grid->SetFocus();
    QApplication::processEvents();
    ASSERT_FALSE(Grid->EditorShown());
    Type("7");
    EXPECT_TRUE(Grid->EditorShown());
    EXPECT_TRUE(Grid->CellEditing());
    EXPECT_EQ(EditorText(), "7");
    Press(Qt::Key_Return);
    EXPECT_EQ(Stored(2, 2), "7");
}

TEST_F(GridEditModes, ChangedRowMarksFollowTheIndicatorSetting) {
    struct Case {
        TgxRowChangedIndicator Indicator;
        bool Marked;
    };
    int Row = 1;
    for (const Case C : {Case{riOn, true}, Case{riOff, false}, Case{riAutoReset, false}}) {
        Grid->SetRowChangedIndicator(C.Indicator);
        GoTo(1, Row);
        Type("x");
        Press(Qt::Key_Down);
        EXPECT_EQ(Grid->ChangedRows().GetBit(Row), C.Marked) << static_cast<int>(C.Indicator);
        ++Row;
    }
    // Switching to riAutoReset clears the marks there were.
    Grid->SetRowChangedIndicator(riOn);
    GoTo(1, 1);
    Type("y");
    Press(Qt::Key_Down);
    ASSERT_TRUE(Grid->ChangedRows().GetBit(1));
    Grid->SetRowChangedIndicator(riAutoReset);
    EXPECT_FALSE(Grid->ChangedRows().GetBit(1));
}

TEST_F(GridEditModes, TheEditorsTakeTheGridsCursor) {
    Grid->SetCursor(crHandPoint);
    EXPECT_EQ(Grid->GridCellControl(ctText)->GetCursor(), crHandPoint);
    EXPECT_EQ(Grid->GridCellControl(ctCheck)->GetCursor(), crHandPoint);
}

// A wider or taller button takes its room from the editor beside it at once.
TEST_F(GridEditModes, ResizingTheButtonsResizesTheShownEditor) {
    struct Case {
        const char* Name;
        TgxButtonType Type;
        std::function<void()> Change;
        int Narrower;
    };
    const Case Cases[] = {
        {"edge width", btCombo, [&] { Grid->SetButtonEdgeWidth(Grid->ButtonEdgeWidth() + 4); }, 8},
        {"button width", btCombo, [&] { Grid->SetDefaultButtonWidth(Grid->DefaultButtonWidth() + 5); }, 5},
        {"ellipsis width", btNormal, [&] { Grid->SetDefaultButtonWidth(Grid->DefaultButtonWidth() + 3); }, 3},
        {"spin width", btVertSpin, [&] { Grid->SetSpinButtonWidth(Grid->SpinButtonWidth() + 6); }, 6},
        {"side by side spin", btHorzSpin, [&] { Grid->SetSpinButtonHeight(Grid->SpinButtonHeight() + 2); }, 4},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        Grid->GetCol(2)->SetButtonType(C.Type);
        GoTo(1, 1);
        GoTo(2, 2);
        TgxCustomGridControl* Edit = Grid->GridControl();
        ASSERT_TRUE(Edit && Edit->GetVisible());
        const int Before = Edit->GetWidth();
        C.Change();
        EXPECT_EQ(Edit->GetWidth(), Before - C.Narrower);
    }
}

// Entering a cell whose editor is always shown selects its text, so what
// is typed replaces it.
TEST_F(GridEditModes, TypingIntoACellEnteredWithTheEditorShownReplacesItsText) {
    Grid->SetCellValue(1, 2, Variant(AnsiString("c1r2")));
    Grid->SetCellValue(2, 1, Variant(AnsiString("c2r1")));
    ASSERT_TRUE(Grid->AlwaysShowEditor());
    // Moved there by the program, then by the keyboard.
    GoTo(1, 2);
    Type("A");
    EXPECT_EQ(EditorText(), "A");
    Press(Qt::Key_Escape);
    GoTo(1, 1);
    Press(Qt::Key_Down);
    ASSERT_EQ(At(), std::make_pair(1, 2));
    Type("A");
    EXPECT_EQ(EditorText(), "A");
    Press(Qt::Key_Up);
    Press(Qt::Key_Right);
    ASSERT_EQ(At(), std::make_pair(2, 1));
    Type("B");
    EXPECT_EQ(EditorText(), "B");
    EXPECT_EQ(Stored(1, 2), "A");
}

// Without the grid's own storage a value written by the program still
// reaches the editor of the current cell, and a value written for the
// cell being read inside OnCellLoaded is the value read.
TEST_F(GridEditModes, AProgramsValueReachesTheEditorAndTheCellBeingReadWithoutStorage) {
    Grid->SetStoreData(false);
    Grid->SetGridMode(gmEdit);
    GoTo(2, 2);
    Grid->SetCellValue(2, 2, Variant(AnsiString("typed by program")));
    EXPECT_EQ(EditorText(), "typed by program");
    EXPECT_EQ(Grid->CurrentCell()->GetValue().AsString(), "typed by program");
    // Another cell keeps nothing: the application supplies it when asked.
    Grid->SetCellValue(3, 3, Variant(AnsiString("gone")));
    EXPECT_TRUE(Grid->GetCellValue(3, 3).IsEmpty());
    Grid->OnCellLoaded = [&](TObject*, int C, int R, Variant&) {
        if (C == 3 && R == 3) Grid->SetCellValue(3, 3, Variant(AnsiString("from load")));
    };
    EXPECT_EQ(Grid->GetCellValue(3, 3).AsString(), "from load");
    EXPECT_EQ(EditorText(), "typed by program");
}

// A check-box cell keeps a value of another kind and shows it grayed.
TEST_F(GridEditModes, ACheckBoxCellGivenADateKeepsItAndShowsItGrayed) {
    Grid->GetCol(3)->SetControlType(ctCheck);
    const Variant Date(TDateTime(46000.5));
    Grid->SetCellValue(3, 2, Date);
    Grid->SetCellValue(3, 3, Variant(2));
    Grid->SetCellValue(3, 4, Variant(1));
    EXPECT_FALSE(Grid->GetCellValue(3, 2).IsEmpty());
    GoTo(1, 1);
    Grid->Invalidate();
    Grid->Update();
    auto Picture = [&](int Row) {
        const TRect R = Grid->CellRect(3, Row);
        std::vector<TColor> Pixels;
        for (int Y = R.Top; Y < R.Bottom; ++Y)
            for (int X = R.Left; X < R.Right; ++X)
                Pixels.push_back(Grid->Canvas()->Pixels(X, Y));
        return Pixels;
    };
    EXPECT_EQ(Picture(2), Picture(3));
    EXPECT_NE(Picture(2), Picture(4));
}

// A grid never yet shown takes a value into its current cell without
// reporting an edit; once painted, the same change is an edit.
TEST_F(GridEditModes, AValueTakenBeforeTheFirstPaintIsNoEdit) {
    auto* Hidden = new TForm(nullptr);
    auto* Unshown = new TgxGrid(Hidden);
    Unshown->SetParent(Hidden);
    Unshown->SetBounds(0, 0, 300, 200);
    Unshown->SetGridColCount(3);
    Unshown->SetGridRowCount(3);
    Unshown->HandleNeeded();
    int Edits = 0;
    Unshown->OnCellEdit = [&](TObject*, int, int, bool) { ++Edits; };
    Unshown->SetComboValue(Variant(AnsiString("early")));
    EXPECT_EQ(Edits, 0);
    delete Hidden;

    GoTo(2, 2);
    Grid->OnCellEdit = [&](TObject*, int, int, bool) { ++Edits; };
    Grid->Invalidate();
    Grid->Update();
    Grid->SetComboValue(Variant(AnsiString("shown")));
    EXPECT_EQ(Edits, 1);
}
