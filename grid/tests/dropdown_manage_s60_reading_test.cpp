// The grid's side of its drop-downs: making the shared list and its form,
// what the list grid is set to, whether a drop-down is open, closing it,
// the value picked in a calendar, and where a drop-down form goes.
#include "DropDownFixture.h"
#include "grid/model/GridTypes.h"
#include "grid/view/DateTimeDropDownCalendar.h"
#include "grid/view/DropDownForm.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/DateTimeFormat.h"
#include "platform/rtl/FormatSettings.h"

#include <functional>
#include <string>
#include <vector>

namespace {

using namespace grid;

class DropDownManageReading : public DropDownFixture {
protected:
    // Column 2 drops down a calendar of the given kind.
    void CalendarColumn(TgxDateTimeDisplay Display, TgxButtonType Button) {
        auto* Def = new TgxCalendarDateTimeDef(Form);
        Def->SetDateTimeDisplay(Display);
        Grid->SetDateTimeDef(Def);
        Grid->GetCol(2)->SetButtonType(Button);
    }
    // The calendar the grid opened for its current cell.
    TgxCalendarDateTimeDef* Open() {
        auto* Shown = dynamic_cast<TgxCalendarDateTimeDef*>(Grid->DateTimeInstance());
        EXPECT_NE(Shown, nullptr);
        return Shown;
    }
    std::vector<int> RolledUp;
    void CountRollUps() {
        Grid->OnComboRollUp = [this](TObject*, TgxComboGrid*, int C, int) {
            RolledUp.push_back(C);
        };
        Grid->OnDateTimeRollUp = [this](TObject*, TgxDateTimeDefComponent*, int C,
                                        const Variant&) { RolledUp.push_back(-C); };
    }
};

TEST_F(DropDownManageReading, NothingIsMadeOrOpenOnAFreshGrid) {
    CountRollUps();
    EXPECT_FALSE(Grid->ComboVisible());
    EXPECT_FALSE(Grid->DateTimeVisible());
    EXPECT_FALSE(Grid->DropDownVisible());
    EXPECT_FALSE(Grid->ComboCreated());
    Grid->CheckDropDownOff(false);
    EXPECT_FALSE(Grid->TurnComboOff(false, true));
    EXPECT_FALSE(Grid->TurnDateTimeOff(false, true));
    EXPECT_TRUE(RolledUp.empty());
    EXPECT_FALSE(Grid->ComboCreated());
}

TEST_F(DropDownManageReading, TheBaseGridHasNoListToMake) {
    grid::TgxBaseGrid Bare(Form);
    Bare.SetName("Bare1");
    struct Case {
        const char* Method;
        std::function<void()> Call;
    };
    for (const Case& K : {Case{"CreateCombo", [&] { Bare.GetCombo(); }},
                          Case{"CreateComboGrid", [&] { Bare.CreateComboGrid(); }}}) {
        try {
            K.Call();
            ADD_FAILURE() << "a base grid made a list through " << K.Method;
        } catch (const EInvalidGridOperation& E) {
            const std::string Text = E.what();
            EXPECT_NE(Text.find(std::string("Cannot create combo box. Method ") + K.Method +
                                " has not been not implemented in derived class"),
                      std::string::npos)
                << Text;
            EXPECT_NE(Text.find("Bare1"), std::string::npos) << Text;
        }
    }
    EXPECT_FALSE(Bare.ComboCreated());
}

TEST_F(DropDownManageReading, TheSharedListTakesTheGridsLooksAndListSettings) {
    Grid->SetColor(clYellow);
    Grid->Font()->SetSize(13);
    Grid->SetSelectionColor(clRed);
    Grid->SetEditColor(clLime);
    Grid->SetDefaultButtonWidth(19);
    TgxComboGrid* List = Grid->GetCombo()->GetGrid();
    ASSERT_NE(List, nullptr);
    EXPECT_TRUE(Grid->ComboCreated());
    EXPECT_EQ(List->Color(), clYellow);
    EXPECT_EQ(List->Font()->Size(), 13);
    EXPECT_EQ(List->SelectionColor(), clRed);
    EXPECT_EQ(List->EditColor(), clLime);
    EXPECT_EQ(List->DefaultButtonWidth(), 19);
    EXPECT_EQ(List->DefaultRowHeight(), Grid->DropDownRowHeight());
    EXPECT_EQ(Grid->DropDownRowHeight(), 14);
    EXPECT_EQ(List->GetGridColCount(), 1);
    EXPECT_EQ(List->RowChangedIndicator(), riAutoReset);
    EXPECT_FALSE(List->GetHeadingOn());
    EXPECT_FALSE(List->GetRowBarOn());
    EXPECT_EQ(List->GridScrollBars(), ssVertical);
    EXPECT_FALSE(List->TabStop());
    EXPECT_TRUE(List->ThumbTracking());
    EXPECT_EQ(List->RowSelectMode(), rsSingle);
    EXPECT_EQ(List->ColSelectMode(), csNone);
    EXPECT_EQ(List->GridMode(), gmListBox);
    EXPECT_FALSE(List->RowMoving());
    EXPECT_FALSE(List->ColMoving());
    EXPECT_TRUE(List->AlwaysShowEditor());
    EXPECT_FALSE(List->AlwaysShowFocus());
    EXPECT_EQ(List->FocusBorder(), fbDot);
    EXPECT_EQ(List->ResizeCols(), rcNone);
    EXPECT_EQ(List->ResizeRows(), rrNone);
    EXPECT_TRUE(List->Visible());
    // Its form waits hidden and disabled, at the grid's left, in its font.
    TgxDropDownForm* Drop = Grid->GetComboForm();
    EXPECT_FALSE(Drop->Visible());
    EXPECT_FALSE(Drop->Enabled());
    EXPECT_EQ(Drop->Left(), Grid->Left());
    EXPECT_EQ(Drop->Font()->Size(), 13);
    EXPECT_FALSE(Grid->ComboVisible());
}

TEST_F(DropDownManageReading, AnOpenListClosesOnceWithOneRollUp) {
    CountRollUps();
    GiveColumnList(2, {"one", "two"});
    GoTo(2, 1);
    Key(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(Grid->ComboVisible());
    EXPECT_TRUE(Grid->DropDownVisible());
    Grid->CheckDropDownOff(false);
    EXPECT_FALSE(Grid->ComboVisible());
    EXPECT_EQ(RolledUp, std::vector<int>{2});
    Grid->CheckDropDownOff(false);
    EXPECT_EQ(RolledUp, std::vector<int>{2});
    Key(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(Grid->ComboVisible());
    EXPECT_TRUE(Grid->TurnComboOff(false, true));
    EXPECT_FALSE(Grid->TurnComboOff(false, true));
    EXPECT_FALSE(Grid->ComboVisible());
}

TEST_F(DropDownManageReading, TotalColWidthAddsTheDataColumns) {
    Grid->GetCol(1)->SetWidth(30);
    Grid->GetCol(2)->SetWidth(40);
    int Sum = 0;
    for (int C = 1; C <= Grid->GetGridColCount(); ++C) Sum += Grid->GetCol(C)->Width();
    EXPECT_EQ(Grid->TotalColWidth(), Sum);
}

TEST_F(DropDownManageReading, DropDownFormsStayInTheWorkArea) {
    const TRect Work = Screen->WorkAreaRect();
    const int W = Work.Right - Work.Left;
    const int H = Work.Bottom - Work.Top;
    const int RowHeight = Grid->RowHeights(2);
    const int Line = Grid->VertLineWidth();
    struct Case {
        TPoint Pos, Size, Expected;
    };
    for (const Case K : {
             Case{Point(100, 100), Point(200, 150), Point(100, 100)},
             Case{Point(W - 50, 100), Point(200, 150), Point(W - 200, 100)},
             Case{Point(W - 50, 100), Point(W + 300, 150), Point(Work.Left, 100)},
             Case{Point(100, H - 40), Point(200, 150),
                  Point(100, H - 40 + Line - RowHeight - 150)},
             Case{Point(100, 60), Point(200, H), Point(100, Work.Top)},
         }) {
        TPoint Pos = K.Pos;
        Grid->PositionDropDownForm(2, 2, K.Size, Pos);
        EXPECT_EQ(Pos.X, K.Expected.X) << K.Pos.X << "," << K.Pos.Y;
        EXPECT_EQ(Pos.Y, K.Expected.Y) << K.Pos.X << "," << K.Pos.Y;
    }
    TPoint Pos = Point(5, 5);
    Grid->PositionPopupForm(2, 2, Point(301, 201), Pos);
    EXPECT_EQ(Pos.X, (W - 301) / 2);
    EXPECT_EQ(Pos.Y, (H - 201) / 2);
}

TEST_F(DropDownManageReading, PickedDateTimesBecomeTextInTheGridsFormats) {
    Grid->SetStoreData(true);
    CalendarColumn(dtDate, btDateTimeDropDown);
    GoTo(2, 1);
    Grid->DisplayDateTime(2, 1);
    ASSERT_TRUE(Grid->DateTimeVisible());
    TgxCalendarDateTimeDef* Def = Open();
    const TDateTime Day = EncodeDate(2024, 3, 7);
    const AnsiString Date = FormatDateTime(Grid->EditDateFormat(), Day);
    struct Case {
        TgxDateTimeDisplay Display;
        Variant Picked;
        AnsiString Expected;
    };
    const TDateTime Millis = Day + 5.0 / 86400000.0;
    for (const Case& K : {Case{dtDate, Variant(TDateTime(Day)), Date},
                          Case{dtDateTime, Variant(TDateTime(Millis)), Date},
                          Case{dtDate, Variant(AnsiString("as typed")), "as typed"}}) {
        Def->SetDateTimeDisplay(K.Display);
        Def->SetDateTime(K.Picked);
        Variant Value;
        Grid->GetDateTimeValue(2, 1, Value);
        EXPECT_EQ(Value.AsString(), K.Expected) << int(K.Display);
    }
    // The years are always written in four digits.
    EXPECT_NE(Date.find("2024"), AnsiString::npos) << Date;
    // The application has the last word on the value.
    Grid->OnDateTimeGetValue = [](TObject*, TgxDateTimeDefComponent*, int, int, Variant& V) {
        V = Variant(AnsiString("changed"));
    };
    Variant Value;
    Grid->GetDateTimeValue(2, 1, Value);
    EXPECT_EQ(Value.AsString(), "changed");
    Grid->CheckDropDownOff(false);
}

TEST_F(DropDownManageReading, APickedDayGoesIntoTheCellAndClosesTheCalendar) {
    CountRollUps();
    Grid->SetStoreData(true);
    Grid->SetGridMode(gmEdit);
    CalendarColumn(dtDate, btDateTimeDropDown);
    GoTo(2, 1);
    Grid->DisplayDateTime(2, 1);
    ASSERT_TRUE(Grid->DateTimeVisible());
    TgxCalendarDateTimeDef* Def = Open();
    const TDateTime Day = EncodeDate(2024, 3, 7);
    Def->Calendar()->SetDate(Day);
    QApplication::processEvents();
    const TRect Box = Def->Calendar()->DayRect(Day);
    ClickAt(Def->Calendar()->Widget(), QPoint((Box.Left + Box.Right) / 2, (Box.Top + Box.Bottom) / 2));
    QApplication::processEvents();
    EXPECT_FALSE(Grid->DateTimeVisible());
    EXPECT_EQ(CurrentText(), FormatDateTime(Grid->EditDateFormat(), Day));
    EXPECT_EQ(RolledUp, std::vector<int>{-2});
    EXPECT_TRUE(Grid->Focused() || Editor()->Focused());
}

TEST_F(DropDownManageReading, ACancelledCalendarLeavesTheCellAsItWas) {
    CountRollUps();
    Grid->SetStoreData(true);
    Grid->SetGridMode(gmEdit);
    Grid->SetCellValue(2, 1, Variant(AnsiString("kept")));
    CalendarColumn(dtDate, btDateTimeDropDown);
    GoTo(2, 1);
    Grid->DisplayDateTime(2, 1);
    ASSERT_TRUE(Grid->DateTimeVisible());
    TgxCalendarDateTimeDef* Def = Open();
    Def->Calendar()->SetDate(EncodeDate(2024, 3, 7));
    QApplication::processEvents();
    Key(Qt::Key_Escape);
    EXPECT_FALSE(Grid->DateTimeVisible());
    EXPECT_EQ(CurrentText(), "kept");
    EXPECT_EQ(RolledUp, std::vector<int>{-2});
    EXPECT_TRUE(Grid->Focused() || Editor()->Focused());
}

TEST_F(DropDownManageReading, AnEmptyPickOnlyClosesTheCalendar) {
    Grid->SetStoreData(true);
    Grid->SetGridMode(gmEdit);
    Grid->SetCellValue(2, 1, Variant(AnsiString("kept")));
    CalendarColumn(dtDate, btDateTimeDropDown);
    GoTo(2, 1);
    Grid->DisplayDateTime(2, 1);
    ASSERT_TRUE(Grid->DateTimeVisible());
    TgxCalendarDateTimeDef* Def = Open();
    Def->SetDateTime(Variant());
    Grid->DateTimeSelect(nullptr);
    QApplication::processEvents();
    EXPECT_FALSE(Grid->DateTimeVisible());
    EXPECT_EQ(CurrentText(), "kept");
}

TEST_F(DropDownManageReading, AValueOfTheWrongKindIsRefusedAfterTheCalendarCloses) {
    CountRollUps();
    Grid->SetStoreData(true);
    Grid->SetGridMode(gmEdit);
    Grid->SetCellValue(2, 1, Variant(AnsiString("kept")));
    CalendarColumn(dtDate, btDateTimeDropDown);
    Grid->OnDateTimeGetValue = [](TObject*, TgxDateTimeDefComponent*, int, int, Variant& V) {
        V = Variant(true);
    };
    GoTo(2, 1);
    Grid->DisplayDateTime(2, 1);
    ASSERT_TRUE(Grid->DateTimeVisible());
    QApplication::processEvents();
    Open()->SetDateTime(Variant(EncodeDate(2024, 3, 7)));
    EXPECT_THROW(Grid->DateTimeSelect(nullptr), EInvalidGridOperation);
    EXPECT_FALSE(Grid->DateTimeVisible());
    EXPECT_EQ(CurrentText(), "kept");
    EXPECT_EQ(RolledUp, std::vector<int>{-2});
    EXPECT_TRUE(Grid->Focused() || Editor()->Focused());
}

TEST_F(DropDownManageReading, TimesFollowTheSystemTimeFormat) {
    Grid->SetStoreData(true);
    CalendarColumn(dtTime, btDateTimeDropDown);
    GoTo(2, 1);
    Grid->DisplayDateTime(2, 1);
    ASSERT_TRUE(Grid->DateTimeVisible());
    TgxCalendarDateTimeDef* Def = Open();
    EXPECT_TRUE(Grid->IsDateTimeHandle(Def->Calendar()->Handle()));
    EXPECT_FALSE(Grid->IsDateTimeHandle(Grid->Handle()));
    const TDateTime At = EncodeDate(2024, 3, 7) + EncodeTime(7, 5, 9, 0);
    const AnsiString Date = FormatDateTime(Grid->EditDateFormat(), At);
    const TFormatSettings Saved = FormatSettings();
    struct Case {
        const char* TimeFormat;
        const char* AM;
        TgxDateTimeDisplay Display;
        AnsiString Expected;
    };
    // A system without AM and PM leaves the marker out of the time.
    for (const Case& K : {Case{"h:nn:ss AMPM", "", dtTime, "7:05:09"},
                          Case{"hh:nn:ss", "", dtDateTime, Date + " 07:05:09"},
                          Case{"h:nn:ss AMPM", "AM", dtTime, "7:05:09 AM"}}) {
        FormatSettings().LongTimeFormat = K.TimeFormat;
        FormatSettings().TimeAMString = K.AM;
        FormatSettings().TimePMString = *K.AM ? "PM" : "";
        Def->SetDateTimeDisplay(K.Display);
        Def->SetDateTime(Variant(At));
        Variant Value;
        Grid->GetDateTimeValue(2, 1, Value);
        EXPECT_EQ(Value.AsString(), K.Expected) << K.TimeFormat << " " << int(K.Display);
    }
    FormatSettings() = Saved;
    Grid->CheckDropDownOff(false);
}

TEST_F(DropDownManageReading, AListIsSetUpOncePerCell) {
    int Inits = 0;
    Grid->OnComboInit = [&Inits](TObject*, TgxComboGrid*, int, int) { ++Inits; };
    GiveColumnList(2, {"one", "two"});
    GiveColumnList(3, {"three"});
    GoTo(2, 1);
    Key(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(Grid->ComboVisible());
    Grid->CheckDropDownOff(false);
    Key(Qt::Key_Down, Qt::AltModifier);
    Grid->CheckDropDownOff(false);
    EXPECT_EQ(Inits, 1);
    // Set up once per cell: leaving the cell and coming back sets it up
    // afresh.
    GoTo(3, 1);
    GoTo(2, 1);
    Key(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(Grid->ComboVisible());
    Grid->CheckDropDownOff(false);
    EXPECT_EQ(Inits, 2);
}

TEST_F(DropDownManageReading, ResetTakesEveryLevelBackToItsDefaults) {
    Grid->SetColor(clYellow);
    Grid->SetHorzAlignment(htaRight);
    Grid->GetCol(2)->SetColor(clRed);
    Grid->GetCol(2)->SetButtonType(btNormal);
    Grid->SetRowColor(3, clBlue);
    Grid->SetCellColor(2, 2, clGreen);
    Grid->Reset();
    EXPECT_EQ(Grid->Color(), clWindow);
    EXPECT_EQ(Grid->HorzAlignment(), htaDefault);
    EXPECT_EQ(Grid->GetCol(2)->Color(), clNone);
    EXPECT_EQ(Grid->GetCol(2)->ButtonType(), btDefault);
    EXPECT_EQ(Grid->GetRowColor(3), clNone);
    EXPECT_EQ(Grid->GetCellColor(2, 2), clNone);
    EXPECT_EQ(Grid->GiveCellColor(2, 3, false), clWindow);
}

TEST_F(DropDownManageReading, InDesignModeTheListIsAnEditableGrid) {
    Grid->SetInDesignMode(true);
    TgxComboGrid* List = Grid->GetCombo()->GetGrid();
    EXPECT_EQ(List->GetGridColCount(), 2);
    EXPECT_EQ(List->RowSelectMode(), rsMulti);
    EXPECT_EQ(List->ColSelectMode(), csMulti);
    EXPECT_EQ(List->GridMode(), gmEdit);
    EXPECT_TRUE(List->RowMoving());
    EXPECT_TRUE(List->ColMoving());
    EXPECT_FALSE(List->AlwaysShowEditor());
    EXPECT_TRUE(List->AlwaysShowFocus());
    EXPECT_EQ(List->FocusBorder(), fbDouble);
    EXPECT_EQ(List->ResizeCols(), rcSingle);
    EXPECT_EQ(List->ResizeRows(), rrAll);
    EXPECT_FALSE(List->GetHeadingOn());
    Grid->SetInDesignMode(false);
}

} // namespace
