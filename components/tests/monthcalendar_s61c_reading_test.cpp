// The month calendar as a user meets it: a calendar on a shown form, days
// picked with real key and mouse events on its day grid, dates set through
// its properties, and what the grid draws read back from its picture.
#include "components/MonthCalendar.h"
#include "components/MonthCalendarEditor.h"

#include "platform/gui/Colors.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Forms.h"
#include "platform/gui/tests/GuiTestSupport.h"
#include "platform/classes/TypInfo.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatSettings.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

using components::DayOfWeek_t;
using components::TPWCalendar;
using TCell = std::pair<int, int>;

class MonthCalendarStrictReading : public ::testing::Test {
protected:
    void SetUp() override {
        ResetFormatSettings();
        Application->Initialize();
        Clock.SetNow(EncodeDate(2004, 5, 12) + 0.5);
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, 400, 300);
        Calendar = new TPWCalendar(Form.get());
        Calendar->SetParent(Form.get());
        Calendar->OnDateChange = [this](TObject* Sender, TDateTime D) {
            EXPECT_EQ(Sender, Calendar);
            Changes.push_back(D);
        };
        ShowActive(*Form);
        Application->ProcessMessages();
    }
    void TearDown() override {
        Form.reset();
        Application->ProcessMessages();
        ResetFormatSettings();
    }

    QWidget* GridWidget() const { return Calendar->StringGrid()->Widget(); }
    QPoint CenterOf(int ACol, int ARow) const {
        const TRect R = Calendar->StringGrid()->CellRect(ACol, ARow);
        return QPoint((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
    }
    TCell CellOfDay(int ADay) const {
        for (int R = 1; R <= 6; ++R)
            for (int C = 0; C < 7; ++C)
                if (Calendar->StringGrid()->Cells(C, R) == std::to_string(ADay)) return {C, R};
        return {-1, -1};
    }
    std::set<TCell> Selected() const {
        std::set<TCell> Result;
        for (int R = 0; R <= 6; ++R)
            for (int C = 0; C < 7; ++C)
                if (Calendar->IsCellSelected(C, R)) Result.insert({C, R});
        return Result;
    }
    void Key(int QtKey, Qt::KeyboardModifiers Mods = Qt::NoModifier) {
        TypeKey(GridWidget(), QtKey, QString(), Mods);
    }
    // The day grid's picture.
    std::unique_ptr<TBitmap> Picture() const {
        auto Bmp = std::make_unique<TBitmap>();
        Bmp->SetPixelFormat(pf24bit);
        Bmp->SetSize(Calendar->StringGrid()->Width(), Calendar->StringGrid()->Height());
        Calendar->StringGrid()->PaintTo(Bmp->Canvas(), 0, 0);
        return Bmp;
    }

    ManualClock Clock;
    ScopedClock ClockScope{Clock};
    std::unique_ptr<TForm> Form;
    TPWCalendar* Calendar = nullptr;
    std::vector<TDateTime> Changes;
};

TEST_F(MonthCalendarStrictReading, ANewCalendarIsLaidOutAndShowsToday) {
    EXPECT_EQ(Calendar->Width(), 221);
    EXPECT_EQ(Calendar->Height(), 203);
    auto* G = Calendar->StringGrid();
    EXPECT_EQ(Calendar->Panel()->Name(), "Panel");
    EXPECT_EQ(Calendar->Label()->Name(), "Label");
    EXPECT_EQ(G->Name(), "StringGrid");
    EXPECT_EQ(Calendar->VertScrollBar()->Name(), "VertScrollBar");
    EXPECT_EQ(G->ColCount(), 7);
    EXPECT_EQ(G->RowCount(), 7);
    EXPECT_EQ(G->RowHeights(0), 13);
    EXPECT_EQ(G->RowHeights(1), 27);
    EXPECT_EQ(G->ColWidths(3), 27);
    EXPECT_FALSE(G->DefaultDrawing());
    EXPECT_EQ(G->Left(), 3);
    EXPECT_EQ(G->Top(), 17);
    auto* S = Calendar->VertScrollBar();
    EXPECT_EQ(S->Min(), 23880);
    EXPECT_EQ(S->Max(), 24599);
    EXPECT_EQ(S->SmallChange(), 1);
    EXPECT_EQ(S->LargeChange(), 12);
    EXPECT_EQ(S->Kind(), sbVertical);
    EXPECT_EQ(S->Position(), 2004 * 12 + 4);
    EXPECT_EQ(Calendar->DateFormat(), "mmmm yyyy");
    EXPECT_EQ(Calendar->StartOfWeek(), DayOfWeek_t::Sun);
    EXPECT_FALSE(Calendar->MultiSelect());
    EXPECT_FALSE(Calendar->HeadingSelect());
    EXPECT_TRUE(Calendar->GetTabStop());
    EXPECT_EQ(Calendar->GetDate(), "5/12/2004");
    EXPECT_EQ(Calendar->Label()->Caption(), "May 2004");
    EXPECT_EQ(Selected(), (std::set<TCell>{CellOfDay(12)}));
    EXPECT_EQ(Calendar->GetFocusDate(), EncodeDate(2004, 5, 12));
}

TEST_F(MonthCalendarStrictReading, PatternsFollowTheirModes) {
    for (int Mode = 0; Mode < TPWCalendar::CellModeCount; ++Mode) {
        SCOPED_TRACE(Mode);
        TBitmap* P = Calendar->Pattern(Mode);
        ASSERT_EQ(P->Width(), 8);
        ASSERT_EQ(P->Height(), 8);
        for (int Y = 0; Y < 8; ++Y)
            for (int X = 0; X < 8; ++X) {
                const TColor Got = P->Canvas()->Pixels(X, Y);
                if (Mode == 0) {
                    if (X < 4) EXPECT_EQ(Got, clWhite);
                } else if (Mode == 1) {
                    EXPECT_EQ(Got, (X % 2 == Y % 2) ? clSilver : clWhite) << X << "," << Y;
                } else {
                    const TColor Line = Mode == 2 ? clSilver : Mode == 3 ? clLime : clRed;
                    EXPECT_EQ(Got, (X + 7 * Y + 1) % 4 == 0 ? Line : clWhite) << X << "," << Y;
                }
            }
    }
}

TEST_F(MonthCalendarStrictReading, TheWeekStartsWhereItIsTold) {
    struct TCase {
        DayOfWeek_t Start;
        const char* FirstName;
        TCell Day1, Day31;
    };
    const TCase Cases[] = {
        {DayOfWeek_t::Sun, "Sun", {6, 1}, {1, 6}},
        {DayOfWeek_t::Mon, "Mon", {5, 1}, {0, 6}},
        {DayOfWeek_t::Sat, "Sat", {0, 1}, {2, 5}},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.FirstName);
        Calendar->SetStartOfWeek(C.Start);
        EXPECT_EQ(Calendar->StringGrid()->Cells(0, 0), C.FirstName);
        EXPECT_EQ(CellOfDay(1), C.Day1);
        EXPECT_EQ(CellOfDay(31), C.Day31);
        EXPECT_EQ(CellOfDay(32), (TCell{-1, -1}));
        EXPECT_EQ(Calendar->GetCellDate(C.Day31.first, C.Day31.second), EncodeDate(2004, 5, 31));
    }
    Calendar->SetStartOfWeek(DayOfWeek_t::Mon);
    EXPECT_EQ(Calendar->StringGrid()->Cells(6, 0), "Sun");
}

TEST_F(MonthCalendarStrictReading, InvalidDatesShowTheBoxAndChangeNothing) {
    struct TCase {
        const char* Name;
        const char* Start;
        std::function<void(TPWCalendar&)> Set;
    };
    const TCase Cases[] = {
        {"text", "2/10/2005", [](TPWCalendar& C) { C.SetDate("not a date"); }},
        {"day", "2/10/2005", [](TPWCalendar& C) { C.SetDay(31); }},
        {"month", "2/10/2005", [](TPWCalendar& C) { C.SetMonth(13); }},
        {"year", "2/10/2005", [](TPWCalendar& C) { C.SetYear(0); }},
        {"month without the day", "1/31/2005", [](TPWCalendar& C) { C.SetMonth(2); }},
        {"year without the day", "2/29/2004", [](TPWCalendar& C) { C.SetYear(2005); }},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        Calendar->SetDate(C.Start);
        Changes.clear();
        TMessageBoxRecorder Boxes;
        C.Set(*Calendar);
        ASSERT_EQ(Boxes.Boxes.size(), 1u);
        EXPECT_EQ(Boxes.Boxes[0].Text, "Invalid date");
        EXPECT_EQ(Boxes.Boxes[0].Caption, "Error");
        EXPECT_EQ(Boxes.Boxes[0].Flags, 16u);
        EXPECT_EQ(Calendar->GetDate(), C.Start);
        EXPECT_TRUE(Changes.empty());
    }
}

TEST_F(MonthCalendarStrictReading, DaysMonthsAndYearsMoveTheDate) {
    struct TCase {
        const char* Name;
        std::function<void(TPWCalendar&)> Set;
        const char* Expected;
        int Position;
    };
    const TCase Cases[] = {
        {"day", [](TPWCalendar& C) { C.SetDay(20); }, "5/20/2004", 2004 * 12 + 4},
        {"month", [](TPWCalendar& C) { C.SetMonth(9); }, "9/12/2004", 2004 * 12 + 8},
        {"year", [](TPWCalendar& C) { C.SetYear(2010); }, "5/12/2010", 2010 * 12 + 4},
        {"date", [](TPWCalendar& C) { C.SetDate("1/3/1990"); }, "1/3/1990", 1990 * 12},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        Calendar->SetDate("5/12/2004");
        Changes.clear();
        C.Set(*Calendar);
        EXPECT_EQ(Calendar->GetDate(), C.Expected);
        EXPECT_EQ(Calendar->VertScrollBar()->Position(), C.Position);
        ASSERT_EQ(Changes.size(), 1u);
        EXPECT_EQ(Changes[0], Calendar->DateValue());
        EXPECT_EQ(Selected().size(), 1u);
        EXPECT_EQ(Calendar->GetEndDate(), Calendar->DateValue());
    }
    Changes.clear();
    Calendar->SetDay(Calendar->Day());
    Calendar->SetMonth(Calendar->Month());
    Calendar->SetYear(Calendar->Year());
    EXPECT_TRUE(Changes.empty()) << "an unchanged value changes nothing";
}

TEST_F(MonthCalendarStrictReading, ScrollingKeepsTheDayWithinTheMonth) {
    struct TCase {
        const char* Start;
        int Key;
        Qt::KeyboardModifiers Mods;
        const char* Expected;
    };
    const TCase Cases[] = {
        {"1/31/2004", Qt::Key_PageDown, Qt::NoModifier, "2/29/2004"},
        {"1/31/2005", Qt::Key_PageDown, Qt::NoModifier, "2/28/2005"},
        {"3/31/2005", Qt::Key_PageUp, Qt::NoModifier, "2/28/2005"},
        {"2/29/2004", Qt::Key_PageDown, Qt::ControlModifier, "2/28/2005"},
        {"5/12/2004", Qt::Key_PageUp, Qt::ControlModifier, "5/12/2003"},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Start);
        Calendar->SetDate(C.Start);
        Changes.clear();
        Key(C.Key, C.Mods);
        EXPECT_EQ(Calendar->GetDate(), C.Expected);
        EXPECT_EQ(Changes.size(), 1u);
    }
    EXPECT_TRUE(Calendar->StringGrid()->Focused());
}

TEST_F(MonthCalendarStrictReading, ArrowsHomeAndEndMoveTheFocus) {
    // May 2004, week from Sunday: 1 is at (6, 1), 31 at (1, 6).
    struct TCase {
        const char* Start;
        int Key;
        Qt::KeyboardModifiers Mods;
        const char* Expected;
    };
    const TCase Cases[] = {
        {"5/12/2004", Qt::Key_Right, Qt::NoModifier, "5/13/2004"},
        {"5/12/2004", Qt::Key_Left, Qt::NoModifier, "5/11/2004"},
        {"5/12/2004", Qt::Key_Up, Qt::NoModifier, "5/5/2004"},
        {"5/12/2004", Qt::Key_Down, Qt::NoModifier, "5/19/2004"},
        {"5/12/2004", Qt::Key_Home, Qt::NoModifier, "5/9/2004"},
        {"5/12/2004", Qt::Key_End, Qt::NoModifier, "5/15/2004"},
        {"5/12/2004", Qt::Key_Home, Qt::ControlModifier, "5/1/2004"},
        {"5/12/2004", Qt::Key_End, Qt::ControlModifier, "5/31/2004"},
        {"5/15/2004", Qt::Key_Right, Qt::NoModifier, "5/15/2004"}, // column 6
        {"5/1/2004", Qt::Key_Left, Qt::NoModifier, "5/1/2004"},    // empty neighbour
        {"5/4/2004", Qt::Key_Up, Qt::NoModifier, "5/4/2004"},      // nothing above
        {"5/25/2004", Qt::Key_Down, Qt::NoModifier, "5/25/2004"},  // nothing below
        {"5/23/2004", Qt::Key_Down, Qt::NoModifier, "5/30/2004"},
        {"5/2/2004", Qt::Key_Home, Qt::NoModifier, "5/2/2004"},
        {"5/30/2004", Qt::Key_End, Qt::NoModifier, "5/31/2004"},
        {"5/3/2004", Qt::Key_Home, Qt::NoModifier, "5/2/2004"},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(std::string(C.Start) + " key " + std::to_string(C.Key));
        Calendar->SetDate(C.Start);
        Key(C.Key, C.Mods);
        EXPECT_EQ(Calendar->GetDate(), C.Expected);
        EXPECT_EQ(Selected(), (std::set<TCell>{CellOfDay(Calendar->Day())}));
    }
}

TEST_F(MonthCalendarStrictReading, ShiftArrowsStretchTheSelectionAndKeepTheDate) {
    Calendar->SetMultiSelect(true);
    Calendar->SetDate("5/12/2004"); // (3, 3)
    for (int I = 0; I < 5; ++I) Key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(Calendar->GetDate(), "5/12/2004");
    EXPECT_EQ(Selected(), (std::set<TCell>{{3, 3}, {4, 3}, {5, 3}, {6, 3}}));
    Key(Qt::Key_Down, Qt::ShiftModifier);
    std::set<TCell> Expected;
    for (int C = 3; C < 7; ++C) Expected.insert({C, 3});
    for (int C = 0; C < 7; ++C) Expected.insert({C, 4});
    EXPECT_EQ(Selected(), Expected);
    EXPECT_EQ(Calendar->GetStartDate(), EncodeDate(2004, 5, 12));
    EXPECT_EQ(Calendar->GetEndDate(), EncodeDate(2004, 5, 22));

    std::vector<int> Walked;
    TDateTime D = 0;
    for (bool More = Calendar->GetFirstSelectedDate(D); More;
         More = Calendar->GetNextSelectedDate(D)) {
        int Y, M, Dd;
        TPWCalendar::DecodeDate(D, Y, M, Dd);
        Walked.push_back(Dd);
    }
    EXPECT_EQ(Walked, (std::vector<int>{12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22}));

    Key(Qt::Key_Home, Qt::ShiftModifier);
    EXPECT_EQ(Calendar->GetEndDate(), EncodeDate(2004, 5, 16));
    Key(Qt::Key_End, Qt::ShiftModifier);
    EXPECT_EQ(Calendar->GetEndDate(), EncodeDate(2004, 5, 22));
    Calendar->ClearSelection();
    EXPECT_EQ(Calendar->GetEndDate(), 0.0);
    EXPECT_EQ(Calendar->GetStartDate(), 0.0);
    EXPECT_FALSE(Calendar->GetFirstSelectedDate(D));
}

TEST_F(MonthCalendarStrictReading, ClickingADayTakesItsDate) {
    Calendar->SetDate("5/12/2004");
    Changes.clear();
    const TCell Day20 = CellOfDay(20);
    ClickAt(GridWidget(), CenterOf(Day20.first, Day20.second));
    EXPECT_EQ(Calendar->GetDate(), "5/20/2004");
    EXPECT_EQ(Changes.size(), 1u);
    EXPECT_EQ(Selected(), (std::set<TCell>{Day20}));
    // An empty cell, a heading without HeadingSelect and the right button do nothing.
    ClickAt(GridWidget(), CenterOf(0, 1));
    ClickAt(GridWidget(), CenterOf(2, 0));
    const TCell Day5 = CellOfDay(5);
    SendMouse(GridWidget(), QEvent::MouseButtonPress, CenterOf(Day5.first, Day5.second),
              Qt::RightButton);
    SendMouse(GridWidget(), QEvent::MouseButtonRelease, CenterOf(Day5.first, Day5.second),
              Qt::RightButton);
    EXPECT_EQ(Calendar->GetDate(), "5/20/2004");
    EXPECT_EQ(Selected(), (std::set<TCell>{Day20}));
}

TEST_F(MonthCalendarStrictReading, DraggingAcrossHeadingsSelectsWholeColumns) {
    Calendar->SetMultiSelect(true);
    Calendar->SetHeadingSelect(true);
    Calendar->SetDate("5/12/2004");
    Changes.clear();
    SendMouse(GridWidget(), QEvent::MouseButtonPress, CenterOf(1, 0));
    SendMouse(GridWidget(), QEvent::MouseMove, CenterOf(2, 0), Qt::NoButton, Qt::LeftButton);
    SendMouse(GridWidget(), QEvent::MouseMove, CenterOf(3, 2), Qt::NoButton, Qt::LeftButton);
    SendMouse(GridWidget(), QEvent::MouseButtonRelease, CenterOf(3, 0));
    std::set<TCell> Expected;
    for (int C = 1; C <= 3; ++C)
        for (int R = 0; R <= 6; ++R)
            if (!Calendar->StringGrid()->Cells(C, R).empty()) Expected.insert({C, R});
    EXPECT_EQ(Selected(), Expected);
    EXPECT_EQ(Calendar->GetDate(), "5/12/2004");
    EXPECT_TRUE(Changes.empty());
    // The walk gives the days of the three columns, never a heading.
    std::vector<int> Walked;
    TDateTime D = 0;
    for (bool More = Calendar->GetFirstSelectedDate(D); More;
         More = Calendar->GetNextSelectedDate(D))
        Walked.push_back(static_cast<int>(D - EncodeDate(2004, 5, 1)) + 1);
    EXPECT_EQ(Walked, (std::vector<int>{3, 4, 5, 10, 11, 12, 17, 18, 19, 24, 25, 26, 31}));
    // A later move without the button held no longer drags.
    SendMouse(GridWidget(), QEvent::MouseMove, CenterOf(5, 0));
    EXPECT_EQ(Selected(), Expected);
}

TEST_F(MonthCalendarStrictReading, DraggingOverDaysSelectsTheRunBetween) {
    Calendar->SetMultiSelect(true);
    Calendar->SetDate("5/12/2004");
    const TCell From = CellOfDay(4), To = CellOfDay(9);
    SendMouse(GridWidget(), QEvent::MouseButtonPress, CenterOf(From.first, From.second));
    SendMouse(GridWidget(), QEvent::MouseMove, CenterOf(To.first, To.second), Qt::NoButton,
              Qt::LeftButton);
    SendMouse(GridWidget(), QEvent::MouseMove, CenterOf(0, 0), Qt::NoButton, Qt::LeftButton);
    SendMouse(GridWidget(), QEvent::MouseButtonRelease, CenterOf(To.first, To.second));
    EXPECT_EQ(Calendar->GetDate(), "5/4/2004");
    EXPECT_EQ(Calendar->GetStartDate(), EncodeDate(2004, 5, 4));
    EXPECT_EQ(Calendar->GetEndDate(), EncodeDate(2004, 5, 9));
    EXPECT_EQ(Selected().size(), 6u);

    // Without MultiSelect a press picks one day and a move drags nothing.
    Calendar->SetMultiSelect(false);
    SendMouse(GridWidget(), QEvent::MouseButtonPress, CenterOf(From.first, From.second));
    SendMouse(GridWidget(), QEvent::MouseMove, CenterOf(To.first, To.second), Qt::NoButton,
              Qt::LeftButton);
    SendMouse(GridWidget(), QEvent::MouseButtonRelease, CenterOf(To.first, To.second));
    EXPECT_EQ(Selected(), (std::set<TCell>{From}));
}

TEST_F(MonthCalendarStrictReading, CellDatesOfHeadingsAndEmptyCellsAreRefused) {
    for (TCell C : {TCell{3, 0}, TCell{0, 1}, TCell{6, 6}}) {
        try {
            Calendar->GetCellDate(C.first, C.second);
            ADD_FAILURE() << C.first << "," << C.second;
        } catch (const Exception& E) {
            EXPECT_EQ(E.Message, "Cell does not contain a date");
        }
        EXPECT_TRUE(Calendar->IsCellEmpty(C.first, C.second));
    }
    EXPECT_FALSE(Calendar->IsCellEmpty(6, 1));
}

TEST_F(MonthCalendarStrictReading, DaysInMonthFollowsLeapYears) {
    const std::tuple<int, int, int> Cases[] = {{2004, 2, 29}, {2005, 2, 28}, {1900, 2, 28},
                                               {2000, 2, 29}, {2005, 4, 30}, {2005, 12, 31}};
    for (auto [Y, M, Days] : Cases) EXPECT_EQ(TPWCalendar::DaysInMonth(Y, M), Days) << Y << M;
}

TEST_F(MonthCalendarStrictReading, CellsAreDrawnByModeSelectionAndFocus) {
    Calendar->SetMultiSelect(true);
    Calendar->SetDate("5/12/2004"); // focus (3, 3)
    Key(Qt::Key_Right, Qt::ShiftModifier); // (4, 3) selected, not focus
    Calendar->SetCellMode(5, 3, 3);        // lime lines, not selected
    Application->ProcessMessages();
    auto Bmp = Picture();
    TCanvas* C = Bmp->Canvas();
    auto* G = Calendar->StringGrid();
    // The picture has the grid's border around its client area.
    const int Off = (G->Width() - G->ClientWidth()) / 2;
    auto At = [&](int ACol, int ARow) {
        TRect R = G->CellRect(ACol, ARow);
        return Rect(R.Left + Off, R.Top + Off, R.Right + Off, R.Bottom + Off);
    };
    const TRect Sel = At(4, 3), Foc = At(3, 3), Plain = At(5, 3), Head = At(2, 0);
    // The mode-0 pattern: the left half of each 8-pixel run white; inverted
    // (black) on the selected cell; the focus cell framed in black inside.
    EXPECT_EQ(C->Pixels(Sel.Left + 9, Sel.Top + 3), clBlack);
    EXPECT_EQ(C->Pixels(Foc.Left + 9, Foc.Top + 3), clWhite);
    EXPECT_EQ(C->Pixels(Foc.Left, Foc.Top + 12), clBlack);
    EXPECT_EQ(C->Pixels(Foc.Left + 1, Foc.Top + 12), clBlack);
    // Mode 3: lime on the pattern's diagonal, white elsewhere.
    const int PX = Plain.Left + 3, PY = Plain.Top + 2;
    bool SawLime = false;
    for (int X = PX; X < PX + 8; ++X) SawLime |= C->Pixels(X, PY) == clLime;
    EXPECT_TRUE(SawLime);
    EXPECT_EQ(Calendar->GetCellMode(5, 3), 3);
    // Headings: button face, framed in black one pixel outside.
    EXPECT_EQ(C->Pixels(Head.Left + 1, Head.Top + 1), ColorToRGB(clBtnFace));
    EXPECT_EQ(C->Pixels(Head.Left - 1, Head.Top + 5), clBlack);
    EXPECT_EQ(C->Pixels(Head.Left + 5, Head.Bottom), clBlack);
}

TEST_F(MonthCalendarStrictReading, TheWeekdayEditorOffersTheNames) {
    components::TDayOfWeekEditor Editor(Calendar);
    std::vector<AnsiString> Values;
    Editor.GetValues([&](const AnsiString& S) { Values.push_back(S); });
    EXPECT_EQ(Values, (std::vector<AnsiString>{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"}));
    EXPECT_TRUE(Editor.GetAttributes().Contains(paValueList));
    EXPECT_EQ(Editor.GetValue(), "Sun");
    Editor.SetValue("Wed");
    EXPECT_EQ(Calendar->StartOfWeek(), DayOfWeek_t::Wed);
    EXPECT_EQ(Editor.GetValue(), "Wed");
    Editor.SetValue("Wednesday");
    EXPECT_EQ(Calendar->StartOfWeek(), DayOfWeek_t::Wed);
}


TEST_F(MonthCalendarStrictReading, TheCaptionFollowsTheDateFormat) {
    Calendar->SetDateFormat("mmm yy");
    EXPECT_EQ(Calendar->Label()->Caption(), "May 04");
    Calendar->SetMonth(11);
    EXPECT_EQ(Calendar->Label()->Caption(), "Nov 04");
}

TEST_F(MonthCalendarStrictReading, UpReachesTheHeadingsOnlyWithHeadingSelect) {
    Calendar->SetDate("5/1/2004"); // (6, 1)
    Key(Qt::Key_Up);
    EXPECT_EQ(Calendar->FocusRow(), 1);
    Calendar->SetHeadingSelect(true);
    Key(Qt::Key_Up);
    EXPECT_EQ(Calendar->FocusRow(), 0);
    EXPECT_EQ(Calendar->FocusCol(), 6);
    EXPECT_EQ(Calendar->GetDate(), "5/1/2004");
    // A focused heading selects its column; Shift+Down leaves it so.
    const std::set<TCell> Column{{6, 0}, {6, 1}, {6, 2}, {6, 3}, {6, 4}, {6, 5}};
    EXPECT_EQ(Selected(), Column);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(Selected(), Column);
    // A press on a heading focuses it and keeps the date.
    Calendar->SetDate("5/20/2004");
    ClickAt(GridWidget(), CenterOf(5, 0));
    EXPECT_EQ(Calendar->FocusRow(), 0);
    EXPECT_EQ(Calendar->GetDate(), "5/20/2004");
}

TEST_F(MonthCalendarStrictReading, TodayShowsUnderEveryDateFormat) {
    struct TCase {
        const char* Format;
        char Separator;
    };
    const TCase Cases[] = {{"M/d/yyyy", '/'}, {"d/M/yyyy", '/'}, {"dd.MM.yyyy", '.'},
                           {"yyyy-MM-dd", '-'}};
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Format);
        FormatSettings().ShortDateFormat = C.Format;
        FormatSettings().DateSeparator = C.Separator;
        TMessageBoxRecorder Boxes;
        TPWCalendar Fresh(Form.get());
        EXPECT_TRUE(Boxes.Boxes.empty());
        EXPECT_EQ(Fresh.DateValue(), EncodeDate(2004, 5, 12));
        EXPECT_EQ(Fresh.Month(), 5);
        EXPECT_EQ(Fresh.Day(), 12);
    }
}


TEST_F(MonthCalendarStrictReading, AMonthChangeFocusesTheDayGrid) {
    auto* Edit = new TEdit(Form.get());
    Edit->SetParent(Form.get());
    Edit->SetBounds(250, 10, 80, 20);
    Edit->SetFocus();
    ASSERT_FALSE(Calendar->Focused());
    Calendar->SetMonth(8);
    EXPECT_TRUE(Calendar->Focused());
    Edit->SetFocus();
    Calendar->SetDay(3); // same month: the scroll bar does not move
    EXPECT_FALSE(Calendar->Focused());
}


TEST_F(MonthCalendarStrictReading, ThePublishedPropertiesAndTheirDefaults) {
    struct TCase {
        const char* Name;
        std::int64_t Default; // NoDefault where none is declared
    };
    const TCase Cases[] = {
        {"Date", NoDefault},       {"Day", NoDefault},        {"Month", NoDefault},
        {"Year", NoDefault},       {"DateFormat", NoDefault}, {"StartOfWeek", 0},
        {"MultiSelect", 0},        {"HeadingSelect", 0},      {"TabStop", 1},
        {"TabOrder", NoDefault},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        const TPropInfo* P = GetPropInfo(Calendar, C.Name);
        ASSERT_NE(P, nullptr);
        if (C.Default != NoDefault) EXPECT_EQ(P->Default, C.Default);
    }
    EXPECT_NE(GetClass("TPWCalendar"), nullptr);
    // The tab stop is the day grid's.
    Calendar->SetTabStop(false);
    EXPECT_FALSE(Calendar->StringGrid()->TabStop());
    EXPECT_EQ(GetStrProp(Calendar, GetPropInfo(Calendar, "Date")), "5/12/2004");
    SetStrProp(Calendar, GetPropInfo(Calendar, "Date"), "7/4/2005");
    EXPECT_EQ(Calendar->Year(), 2005);
    EXPECT_EQ(Calendar->Month(), 7);
}

// A calendar on a designer's form.
class TDesignedCalendar : public TPWCalendar {
public:
    using TPWCalendar::TPWCalendar;
    using TPWCalendar::SetDesigning;
};

TEST_F(MonthCalendarStrictReading, ADesignedCalendarKeepsItsSize) {
    TDesignedCalendar Designed(nullptr);
    Designed.SetDesigning(true);
    Designed.SetBounds(5, 6, 400, 50);
    EXPECT_EQ(Designed.Left(), 5);
    EXPECT_EQ(Designed.Top(), 6);
    EXPECT_EQ(Designed.Width(), 221);
    EXPECT_EQ(Designed.Height(), 203);
    Calendar->SetBounds(5, 6, 300, 250);
    EXPECT_EQ(Calendar->Width(), 300);
}

} // namespace
