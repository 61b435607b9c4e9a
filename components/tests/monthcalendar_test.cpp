#include "components/MonthCalendar.h"
#include "components/MonthCalendarEditor.h"

#include "platform/gui/Dialogs.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtApp.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/FormatSettings.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

using components::DayOfWeek_t;
using components::TDayOfWeekEditor;
using components::TPWCalendar;

namespace {

// In May 2004 (starting on a Saturday) with the week from Sunday, row 1 holds
// day 1 in column 6, row 3 holds days 9..15 and row 6 days 30 and 31.
class MonthCalendarTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        ResetFormatSettings();
        Calendar = std::make_unique<TPWCalendar>(nullptr);
        Calendar->OnDateChange = [this](TObject*, TDateTime D) { Changes.push_back(D); };
        // Shown on a form, as the operator meets it: the grid takes the
        // focus when clicked.
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, 300, 260);
        Calendar->SetParent(Form.get());
        Form->Show();
    }
    void TearDown() override {
        Calendar.reset();
        Form.reset();
        ResetFormatSettings();
    }

    QWidget* Grid() { return Calendar->StringGrid()->Widget(); }

    void Key(int QtKey, Qt::KeyboardModifiers Mods = Qt::NoModifier) {
        QKeyEvent Press(QEvent::KeyPress, QtKey, Mods);
        QApplication::sendEvent(Grid(), &Press);
        QKeyEvent Release(QEvent::KeyRelease, QtKey, Mods);
        QApplication::sendEvent(Grid(), &Release);
    }

    QPoint CellCentre(int Col, int Row) {
        const TRect R = Calendar->StringGrid()->CellRect(Col, Row);
        return QPoint((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
    }

    void Mouse(QEvent::Type Type, QPoint At, Qt::MouseButton Button = Qt::LeftButton) {
        const Qt::MouseButtons Held =
            Type == QEvent::MouseButtonRelease
                ? Qt::MouseButtons(Qt::NoButton)
                : Qt::MouseButtons(Type == QEvent::MouseMove ? Qt::LeftButton : Button);
        QMouseEvent E(Type, QPointF(At), QPointF(Grid()->mapToGlobal(At)),
                      Type == QEvent::MouseMove ? Qt::NoButton : Button, Held, Qt::NoModifier);
        QApplication::sendEvent(Grid(), &E);
    }

    void Drag(QPoint From, QPoint To) {
        Mouse(QEvent::MouseButtonPress, From);
        Mouse(QEvent::MouseMove, To);
        Mouse(QEvent::MouseButtonRelease, To);
    }

    int SelectedCount() {
        int N = 0;
        for (int R = 0; R < 7; ++R)
            for (int C = 0; C < 7; ++C)
                N += Calendar->IsCellSelected(C, R);
        return N;
    }

    std::vector<TDateTime> SelectedDates() {
        std::vector<TDateTime> Dates;
        TDateTime D;
        for (bool More = Calendar->GetFirstSelectedDate(D); More;
             More = Calendar->GetNextSelectedDate(D))
            Dates.push_back(D);
        return Dates;
    }

    ManualClock Clock{EncodeDate(2004, 5, 12) + EncodeTime(10, 30, 0, 0)};
    ScopedClock ClockScope{Clock};
    TMessageBoxRecorder Boxes;
    std::unique_ptr<TForm> Form;
    std::unique_ptr<TPWCalendar> Calendar;
    std::vector<TDateTime> Changes;
};

TEST_F(MonthCalendarTest, StartsOnTodayWithItsLayoutAndOneSelectedCell) {
    EXPECT_EQ(Calendar->Width(), 221);
    EXPECT_EQ(Calendar->Height(), 203);
    for (const char* Name : {"Panel", "Label", "StringGrid", "VertScrollBar"})
        EXPECT_NE(Calendar->FindComponent(Name), nullptr) << Name;
    TScrollBar* Bar = Calendar->VertScrollBar();
    EXPECT_EQ(Bar->Min(), 1990 * 12);
    EXPECT_EQ(Bar->Max(), 2049 * 12 + 11);
    EXPECT_EQ(Bar->LargeChange(), 12);
    EXPECT_EQ(Bar->Position(), 2004 * 12 + 4);
    EXPECT_EQ(Calendar->StringGrid()->RowHeights(0), 13);
    EXPECT_EQ(Calendar->StringGrid()->RowHeights(1), 27);
    EXPECT_TRUE(Calendar->GetTabStop());
    EXPECT_FALSE(Calendar->MultiSelect());
    EXPECT_EQ(Calendar->StartOfWeek(), DayOfWeek_t::Sun);

    EXPECT_EQ(Calendar->GetDate(), "5/12/2004");
    EXPECT_EQ(Calendar->Label()->Caption(), "May 2004");
    EXPECT_EQ(Calendar->GetFocusDate(), EncodeDate(2004, 5, 12));
    EXPECT_EQ(SelectedCount(), 1);
    EXPECT_TRUE(Calendar->IsCellSelected(3, 3));
    EXPECT_TRUE(Boxes.Boxes.empty());
}

TEST_F(MonthCalendarTest, TodayIsShownAlsoUnderADayFirstDateFormat) {
    // Today written month first and read back day first would be 5 December.
    FormatSettings().ShortDateFormat = "dd.MM.yyyy";
    FormatSettings().DateSeparator = '.';
    TPWCalendar Other(nullptr);
    EXPECT_EQ(Other.DateValue(), EncodeDate(2004, 5, 12));
    EXPECT_TRUE(Boxes.Boxes.empty());
    // Text set later is read with the process-wide format.
    Other.SetDate("01.06.2004");
    EXPECT_EQ(Other.DateValue(), EncodeDate(2004, 6, 1));
    // '/' in the written form stands for the date separator.
    EXPECT_EQ(Other.GetDate(), "6.1.2004");
}

TEST_F(MonthCalendarTest, DaysAreLaidOutFromTheStartOfWeek) {
    struct Case {
        DayOfWeek_t Start;
        int Day, Col, Row;
    };
    for (const Case& C : {Case{DayOfWeek_t::Sun, 1, 6, 1}, Case{DayOfWeek_t::Sun, 31, 1, 6},
                          Case{DayOfWeek_t::Mon, 1, 5, 1}, Case{DayOfWeek_t::Mon, 31, 0, 6},
                          Case{DayOfWeek_t::Sat, 1, 0, 1}, Case{DayOfWeek_t::Sat, 31, 2, 5}}) {
        Calendar->SetStartOfWeek(C.Start);
        EXPECT_EQ(Calendar->StringGrid()->Cells(C.Col, C.Row), IntToStr(C.Day))
            << static_cast<int>(C.Start) << " day " << C.Day;
    }
    Calendar->SetStartOfWeek(DayOfWeek_t::Wed);
    EXPECT_EQ(Calendar->StringGrid()->Cells(0, 0), "Wed");
    EXPECT_EQ(Calendar->StringGrid()->Cells(4, 0), "Sun");
    EXPECT_EQ(Calendar->StringGrid()->Cells(6, 0), "Tue");
    // The focus follows the day to its new cell.
    EXPECT_EQ(Calendar->GetFocusDate(), EncodeDate(2004, 5, 12));
    EXPECT_EQ(SelectedCount(), 1);
}

TEST_F(MonthCalendarTest, InvalidDatesShowTheBoxAndChangeNothing) {
    const std::vector<std::function<void()>> Attempts = {
        [&] { Calendar->SetDate("13/1/2004"); }, [&] { Calendar->SetDate("someday"); },
        [&] { Calendar->SetDay(32); },           [&] { Calendar->SetMonth(13); },
        [&] { Calendar->SetYear(1989); },        [&] { Calendar->SetDate("1/1/2050"); },
    };
    Calendar->SetDate("1/31/2004");
    Changes.clear();
    for (size_t I = 0; I < Attempts.size(); ++I) {
        Boxes.Boxes.clear();
        Attempts[I]();
        ASSERT_EQ(Boxes.Boxes.size(), 1u) << I;
        EXPECT_EQ(Boxes.Boxes[0].Text, "Invalid date");
        EXPECT_EQ(Boxes.Boxes[0].Caption, "Error");
        EXPECT_EQ(Boxes.Boxes[0].Flags, 16u);
        EXPECT_EQ(Calendar->GetDate(), "1/31/2004") << I;
    }
    // January 31 has no February counterpart.
    Boxes.Boxes.clear();
    Calendar->SetMonth(2);
    EXPECT_EQ(Boxes.Boxes.size(), 1u);
    EXPECT_TRUE(Changes.empty());
}

TEST_F(MonthCalendarTest, PartSettersMoveTheDate) {
    Calendar->SetDay(3);
    EXPECT_EQ(Calendar->GetDate(), "5/3/2004");
    EXPECT_EQ(Changes.back(), EncodeDate(2004, 5, 3));
    Calendar->SetMonth(9);
    EXPECT_EQ(Calendar->GetDate(), "9/3/2004");
    EXPECT_EQ(Calendar->VertScrollBar()->Position(), 2004 * 12 + 8);
    Calendar->SetYear(1999);
    EXPECT_EQ(Calendar->GetDate(), "9/3/1999");
    EXPECT_EQ(Calendar->Label()->Caption(), "September 1999");
    Calendar->SetDateFormat("mm/yy");
    EXPECT_EQ(Calendar->Label()->Caption(), "09/99");
}

TEST_F(MonthCalendarTest, ScrollingKeepsTheDayWithinTheMonth) {
    Calendar->SetDate("1/31/2004");
    Key(Qt::Key_PageDown);
    EXPECT_EQ(Calendar->GetDate(), "2/29/2004");
    Key(Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(Calendar->GetDate(), "2/28/2005");
    Key(Qt::Key_PageUp);
    EXPECT_EQ(Calendar->GetDate(), "1/28/2005");
    EXPECT_EQ(Changes.back(), EncodeDate(2005, 1, 28));
    EXPECT_EQ(SelectedCount(), 1);
    // The scroll bar ends the months.
    Calendar->SetDate("12/15/2049");
    Key(Qt::Key_PageDown);
    EXPECT_EQ(Calendar->GetDate(), "12/15/2049");
}

TEST_F(MonthCalendarTest, KeysMoveTheFocusDay) {
    struct Case {
        int FromDay;
        int QtKey;
        Qt::KeyboardModifiers Mods;
        bool HeadingSelect;
        int ToDay; // 0: the focus went to the heading row
        bool Consumed;
    };
    const Case Cases[] = {
        {12, Qt::Key_Right, Qt::NoModifier, false, 13, true},
        {12, Qt::Key_Left, Qt::NoModifier, false, 11, true},
        {15, Qt::Key_Right, Qt::NoModifier, false, 15, true}, // column 6
        {12, Qt::Key_Up, Qt::NoModifier, false, 5, true},
        {12, Qt::Key_Down, Qt::NoModifier, false, 19, true},
        {12, Qt::Key_Home, Qt::NoModifier, false, 9, true},
        {12, Qt::Key_End, Qt::NoModifier, false, 15, true},
        {1, Qt::Key_Home, Qt::NoModifier, false, 1, true},
        {12, Qt::Key_Home, Qt::ControlModifier, false, 1, true},
        {12, Qt::Key_End, Qt::ControlModifier, false, 31, true},
        {26, Qt::Key_Down, Qt::NoModifier, false, 26, false}, // nothing below
        {1, Qt::Key_Up, Qt::NoModifier, false, 1, false},
        {3, Qt::Key_Up, Qt::NoModifier, false, 3, false}, // empty cell above
        {3, Qt::Key_Up, Qt::NoModifier, true, 0, true},   // over it to the heading
    };
    for (const Case& C : Cases) {
        Calendar->SetHeadingSelect(C.HeadingSelect);
        Calendar->SetDay(C.FromDay);
        Word VKey = 0;
        const auto Handler = Calendar->StringGrid()->OnKeyDown;
        Calendar->StringGrid()->OnKeyDown = [&](TObject* S, Word& K, TShiftState Sh) {
            Handler(S, K, Sh);
            VKey = K;
        };
        Key(C.QtKey, C.Mods);
        Calendar->StringGrid()->OnKeyDown = Handler;
        const AnsiString Where = "from " + IntToStr(C.FromDay) + " key " + IntToStr(C.QtKey);
        EXPECT_EQ(VKey == 0, C.Consumed) << Where;
        if (C.ToDay == 0) {
            EXPECT_EQ(Calendar->FocusRow(), 0) << Where;
            EXPECT_EQ(Calendar->Day(), C.FromDay) << Where;
        } else {
            EXPECT_EQ(Calendar->Day(), C.ToDay) << Where;
            EXPECT_EQ(Calendar->GetFocusDate(), EncodeDate(2004, 5, C.ToDay)) << Where;
            EXPECT_EQ(SelectedCount(), 1) << Where;
        }
    }
}

TEST_F(MonthCalendarTest, ShiftKeysStretchTheSelectionAndKeepTheDate) {
    for (int I = 0; I < 5; ++I)
        Key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(Calendar->GetStartDate(), EncodeDate(2004, 5, 12));
    EXPECT_EQ(Calendar->GetEndDate(), EncodeDate(2004, 5, 15)); // stopped at column 6
    Key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(Calendar->GetEndDate(), EncodeDate(2004, 5, 22));
    EXPECT_EQ(SelectedDates().size(), 11u);
    EXPECT_EQ(Calendar->GetDate(), "5/12/2004");
    Key(Qt::Key_Home, Qt::ShiftModifier);
    EXPECT_EQ(Calendar->GetEndDate(), EncodeDate(2004, 5, 16));
    // Upwards the end may pass the focus: the run then ends at the focus.
    Key(Qt::Key_Up, Qt::ShiftModifier);
    Key(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(Calendar->GetStartDate(), EncodeDate(2004, 5, 2));
    EXPECT_EQ(Calendar->GetEndDate(), EncodeDate(2004, 5, 12));
    // Not into the heading row.
    Key(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(Calendar->GetStartDate(), EncodeDate(2004, 5, 2));
    // A plain key collapses the run onto the new focus.
    Key(Qt::Key_Right);
    EXPECT_EQ(SelectedDates(), std::vector<TDateTime>{EncodeDate(2004, 5, 13)});
}

TEST_F(MonthCalendarTest, MouseSetsTheDateAndDragsARunWithMultiSelect) {
    Mouse(QEvent::MouseButtonPress, CellCentre(1, 2), Qt::RightButton);
    Mouse(QEvent::MouseButtonRelease, CellCentre(1, 2), Qt::RightButton);
    EXPECT_EQ(Calendar->Day(), 12);

    Drag(CellCentre(1, 2), CellCentre(3, 3));
    EXPECT_EQ(Calendar->Day(), 3);
    EXPECT_EQ(Changes.back(), EncodeDate(2004, 5, 3));
    EXPECT_EQ(SelectedCount(), 1); // no run without MultiSelect

    Calendar->SetMultiSelect(true);
    Drag(CellCentre(1, 2), CellCentre(3, 3));
    EXPECT_EQ(Calendar->GetStartDate(), EncodeDate(2004, 5, 3));
    EXPECT_EQ(Calendar->GetEndDate(), EncodeDate(2004, 5, 12));
    EXPECT_EQ(SelectedDates().size(), 10u);

    // Dragging onto an empty cell or the headings leaves the run as it was.
    Drag(CellCentre(6, 5), CellCentre(4, 6));
    EXPECT_EQ(SelectedDates(), std::vector<TDateTime>{EncodeDate(2004, 5, 29)});
    Drag(CellCentre(6, 5), CellCentre(2, 0));
    EXPECT_EQ(SelectedDates(), std::vector<TDateTime>{EncodeDate(2004, 5, 29)});
}

TEST_F(MonthCalendarTest, HeadingDragSelectsWholeWeekdayColumnsAndKeepsTheDate) {
    Calendar->SetMultiSelect(true);
    Calendar->SetHeadingSelect(true);
    Changes.clear();
    Drag(CellCentre(1, 0), CellCentre(3, 0));
    EXPECT_TRUE(Changes.empty());
    EXPECT_EQ(Calendar->GetDate(), "5/12/2004");
    for (int C = 0; C < 7; ++C)
        EXPECT_EQ(Calendar->IsCellSelected(C, 0), C >= 1 && C <= 3) << C;
    // Mondays to Wednesdays of May 2004: 3-5, 10-12, 17-19, 24-26, 31.
    EXPECT_EQ(SelectedDates().size(), 13u);
    EXPECT_EQ(SelectedCount(), 16);
    EXPECT_EQ(Calendar->GetEndDate(), EncodeDate(2004, 5, 31));
    // Without HeadingSelect a heading can't be picked.
    Calendar->SetHeadingSelect(false);
    Drag(CellCentre(1, 0), CellCentre(3, 0));
    EXPECT_EQ(SelectedCount(), 16);
}

TEST_F(MonthCalendarTest, CellDatesAndModes) {
    EXPECT_EQ(Calendar->GetCellDate(1, 6), EncodeDate(2004, 5, 31));
    for (auto [C, R] : {std::pair{2, 0}, std::pair{0, 1}, std::pair{4, 6}, std::pair{7, 1}}) {
        EXPECT_TRUE(Calendar->IsCellEmpty(C, R)) << C << "," << R;
        try {
            Calendar->GetCellDate(C, R);
            ADD_FAILURE() << C << "," << R;
        } catch (const Exception& E) {
            EXPECT_EQ(E.Message, "Cell does not contain a date");
        }
    }
    Calendar->SetCellMode(2, 2, 4);
    EXPECT_EQ(Calendar->GetCellMode(2, 2), 4);
    EXPECT_THROW(Calendar->SetCellMode(2, 2, 5), ERangeError);
    EXPECT_THROW(Calendar->SetCellMode(7, 0, 1), ERangeError);

    Calendar->ClearSelection();
    EXPECT_EQ(Calendar->GetStartDate(), 0.0);
    EXPECT_EQ(Calendar->GetEndDate(), 0.0);
    TDateTime D;
    EXPECT_FALSE(Calendar->GetFirstSelectedDate(D));
}

TEST(MonthCalendarDays, DaysInMonthCountsLeapFebruaries) {
    EXPECT_EQ(TPWCalendar::DaysInMonth(2004, 2), 29);
    EXPECT_EQ(TPWCalendar::DaysInMonth(2000, 2), 29);
    EXPECT_EQ(TPWCalendar::DaysInMonth(1900, 2), 28);
    EXPECT_EQ(TPWCalendar::DaysInMonth(2003, 4), 30);
    EXPECT_EQ(TPWCalendar::DaysInMonth(2003, 12), 31);
    EXPECT_THROW(TPWCalendar::DaysInMonth(2003, 13), ERangeError);
}

TEST_F(MonthCalendarTest, PaintsPatternsSelectionAndFocusFrame) {
    Calendar->SetMultiSelect(true);
    Drag(CellCentre(0, 3), CellCentre(2, 3)); // 9 (focus), 10, 11 selected
    Calendar->SetCellMode(3, 3, 2);           // 12: silver diagonals
    grid::TStringGrid_ts* G = Calendar->StringGrid();
    G->Perform(WM_PAINT);
    TCanvas* C = G->Canvas();
    auto At = [&](int Col, int Row, int DX, int DY) {
        const TRect R = G->CellRect(Col, Row);
        return C->Pixels(R.Left + DX, R.Top + DY);
    };
    EXPECT_EQ(At(0, 3, 0, 0), clBlack);               // focus frame, outer line
    EXPECT_EQ(At(0, 3, 1, 1), clBlack);               // and inner line
    EXPECT_EQ(At(0, 3, 3, 3), clWhite);               // the focus cell isn't inverted
    EXPECT_EQ(At(1, 3, 2, 2), clBlack);               // selected: white inverted
    EXPECT_EQ(At(4, 3, 2, 2), clWhite);               // plain mode 0
    EXPECT_EQ(At(1, 0, 0, 0), ColorToRGB(clBtnFace)); // heading fill, left of its text
    // The pattern tiles from the grid's origin.
    const TRect R = G->CellRect(3, 3);
    int Silver = 0;
    for (int Y = R.Top + 1; Y < R.Top + 6; ++Y) // the corner, clear of the text
        for (int X = R.Left + 1; X < R.Left + 6; ++X) {
            const bool Line = ((X % 8) + 7 * (Y % 8) + 1) % 4 == 0;
            EXPECT_EQ(C->Pixels(X, Y), Line ? clSilver : clWhite) << X << "," << Y;
            Silver += Line;
        }
    EXPECT_GT(Silver, 0);
}

TEST_F(MonthCalendarTest, DayOfWeekEditorOffersAndStoresTheNames) {
    TDayOfWeekEditor Editor(Calendar.get());
    EXPECT_TRUE(Editor.GetAttributes().Contains(paValueList));
    EXPECT_TRUE(Editor.GetAttributes().Contains(paRevertable));
    std::vector<AnsiString> Names;
    Editor.GetValues([&](const AnsiString& S) { Names.push_back(S); });
    EXPECT_EQ(Names, (std::vector<AnsiString>{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"}));
    EXPECT_EQ(Editor.GetValue(), "Sun");
    Editor.SetValue("Thu");
    EXPECT_EQ(Calendar->StartOfWeek(), DayOfWeek_t::Thu);
    EXPECT_EQ(Editor.GetValue(), "Thu");
    for (const char* Other : {"thu", "Monday", ""}) {
        Editor.SetValue(Other);
        EXPECT_EQ(Calendar->StartOfWeek(), DayOfWeek_t::Thu) << Other;
    }
}

// A calendar placed on a form in the designer.
class TDesignableCalendar : public TPWCalendar {
public:
    using TPWCalendar::TPWCalendar;
    void Design() { SetDesigning(true); }
};

TEST_F(MonthCalendarTest, KeepsItsSizeOnlyWhileDesigned) {
    Calendar->SetBounds(5, 6, 300, 250);
    EXPECT_EQ(Calendar->Width(), 300);
    TDesignableCalendar Designed(nullptr);
    Designed.Design();
    Designed.SetBounds(5, 6, 300, 250);
    EXPECT_EQ(Designed.Left(), 5);
    EXPECT_EQ(Designed.Width(), 221);
    EXPECT_EQ(Designed.Height(), 203);
}

} // namespace
