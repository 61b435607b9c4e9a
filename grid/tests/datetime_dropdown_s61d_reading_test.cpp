// A date-time cell's calendar on a shown grid: set up from each definition
// once, opened by the button in either mode, and its pop-up window left
// clean even when closing it fails.
#include "DropDownFixture.h"
#include "grid/model/CellButtons.h"
#include "grid/view/DateTimeDropDownCalendar.h"
#include "grid/view/DropDownForm.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/DateTimeFormat.h"
#include "platform/rtl/FloatFormat.h"

#include <QTimer>

#include <algorithm>
#include <vector>

using namespace grid;

namespace {

class DateTimeMore : public DropDownFixture {
protected:
    void SetUp() override {
        DropDownFixture::SetUp();
        Grid->SetStoreData(true);
        Grid->OnDateTimeInit = [this](TObject*, TgxDateTimeDefComponent* I, int C,
                                      const Variant& R) {
            Calls.push_back("init " + IntToStr(C) + "," + R.AsString() +
                            (I->GetPopupForm() ? " popup" : " drop"));
        };
        Grid->OnDateTimeRollUp = [this](TObject*, TgxDateTimeDefComponent*, int C,
                                        const Variant& R) {
            Calls.push_back("up " + IntToStr(C) + "," + R.AsString());
        };
    }
    void ClickButton(int DataCol, int DataRow) {
        const TRect R = Grid->CellRect(Grid->GetDisplayCol(DataCol), Grid->GetDisplayRow(DataRow));
        ClickAt(Grid->Widget(), QPoint(R.Right - 4, (R.Top + R.Bottom) / 2));
        QApplication::processEvents();
    }
    TgxCalendarDateTimeDef* Instance() {
        return dynamic_cast<TgxCalendarDateTimeDef*>(Grid->DateTimeInstance());
    }
    std::vector<AnsiString> Calls;
};

// Each cell's definition is copied into the one instance when the cell is
// set up, and the instance learns whether it pops up.
TEST_F(DateTimeMore, EachCellSetsTheInstanceUpFromItsDefinitionAndMode) {
    auto* Times = new TgxCalendarDateTimeDef(Form);
    Times->SetDateTimeDisplay(dtTime);
    auto* Dates = new TgxCalendarDateTimeDef(Form);
    Grid->GetCol(1)->SetButtonType(btDateTimeDropDown);
    Grid->GetCol(1)->SetDateTimeDef(Times);
    Grid->GetCol(2)->SetButtonType(btDateTimePopup);
    Grid->GetCol(2)->SetDateTimeDef(Dates);
    Grid->SetCellValue(2, 1, Variant(EncodeDate(2024, 3, 15)));
    GoTo(1, 1);
    ClickButton(1, 1);
    ASSERT_TRUE(Grid->DateTimeVisible());
    EXPECT_EQ(Instance()->GetDateTimeDisplay(), dtTime);
    ClickButton(1, 1);
    // The pop-up of the next cell runs modally; Escape ends it.
    GoTo(2, 1);
    QTimer::singleShot(0, [this] { TypeKey(Instance()->Calendar()->Widget(), Qt::Key_Escape); });
    ClickButton(2, 1);
    EXPECT_EQ(Instance()->GetDateTimeDisplay(), dtDate);
    EXPECT_FALSE(Grid->GetDateTimeForm()->Visible());
    EXPECT_EQ(Calls, (std::vector<AnsiString>{"init 1,1 drop", "up 1,1", "init 2,1 popup",
                                              "up 2,1"}));
    EXPECT_EQ(Grid->CurrentCell()->GetValue().AsString(), DateToStr(EncodeDate(2024, 3, 15)));
}

// A failure while the pop-up window closes still takes the picked day,
// clears the window's handlers and ends the opening: the next press opens
// the calendar again.
TEST_F(DateTimeMore, APopupWhoseClosingFailsStillEndsClean) {
    auto* Dates = new TgxCalendarDateTimeDef(Form);
    Grid->GetCol(2)->SetButtonType(btDateTimePopup);
    Grid->GetCol(2)->SetDateTimeDef(Dates);
    Grid->SetCellValue(2, 2, Variant(EncodeDate(2024, 3, 15)));
    GoTo(2, 2);
    int Failures = 0;
    bool Fail = true;
    Grid->OnDateTimeDropDown = [&](TObject*, TgxDateTimeDefComponent*, int, const Variant&) {
        QTimer::singleShot(0, [&] {
            // The pop-up's own window, made after this event.
            Grid->GetDateTimeForm()->OnCloseQuery = [&](TObject*, bool&) {
                if (!Fail) return;
                ++Failures;
                throw Exception("closing refused");
            };
            TgxMonthCalendar* Calendar = Instance()->Calendar();
            const TRect Day = Calendar->DayRect(EncodeDate(2024, 3, 21));
            ClickAt(Calendar->Widget(),
                    QPoint((Day.Left + Day.Right) / 2, (Day.Top + Day.Bottom) / 2));
        });
    };
    ClickButton(2, 2);
    EXPECT_EQ(Failures, 1);
    EXPECT_EQ(Grid->CurrentCell()->GetValue().AsString(), DateToStr(EncodeDate(2024, 3, 21)));
    EXPECT_FALSE(Grid->GetDateTimeForm()->OnActivate);
    EXPECT_FALSE(Grid->GetDateTimeForm()->OnClose);
    EXPECT_EQ(Grid->DateTimeDataCol(), -1);
    EXPECT_EQ(std::count(Calls.begin(), Calls.end(), AnsiString("up 2,2")), 1);
    // Opened again, it runs and closes as ever.
    Fail = false;
    Grid->OnDateTimeDropDown = [&](TObject*, TgxDateTimeDefComponent*, int, const Variant&) {
        QTimer::singleShot(0, [this] { TypeKey(Instance()->Calendar()->Widget(), Qt::Key_Escape); });
    };
    Calls.clear();
    ClickButton(2, 2);
    EXPECT_EQ(Calls, (std::vector<AnsiString>{"up 2,2"}));
    EXPECT_FALSE(Grid->GetDateTimeForm()->Visible());
}

// F4 on a current cell the view was scrolled away from brings the cell
// back and opens the calendar just under it.
TEST_F(DateTimeMore, TheKeyOpensTheCalendarOnlyUnderACellInView) {
    auto* Dates = new TgxCalendarDateTimeDef(Form);
    Grid->SetGridRowCount(60);
    Grid->GetCol(2)->SetButtonType(btDateTimeDropDown);
    Grid->GetCol(2)->SetDateTimeDef(Dates);
    GoTo(2, 2);
    Grid->SetTopRow(Grid->GetDisplayRow(40));
    QApplication::processEvents();
    ASSERT_FALSE(Grid->CurrentCellInView());
    Key(Qt::Key_F4);
    ASSERT_TRUE(Grid->DateTimeVisible());
    EXPECT_TRUE(Grid->CurrentCellInView());
    const TRect Cell = Grid->CellRect(Grid->Col(), Grid->Row());
    const TPoint Under = Grid->ClientToScreen(TPoint{Cell.Left, Cell.Bottom});
    EXPECT_EQ(Grid->GetDateTimeForm()->Top(), Under.Y);
}

// A picked day, written into the cell as text, is where the calendar
// starts when it opens again, whatever the cell's display.
TEST_F(DateTimeMore, APickedValueIsWhereTheCalendarStartsNextTime) {
    auto* Def = new TgxCalendarDateTimeDef(Form);
    Grid->GetCol(2)->SetButtonType(btDateTimeDropDown);
    Grid->GetCol(2)->SetDateTimeDef(Def);
    for (const TgxDateTimeDisplay Display : {dtDate, dtDateTime}) {
        SCOPED_TRACE(static_cast<int>(Display));
        Def->SetDateTimeDisplay(Display);
        Grid->SetCellValue(2, 2, Variant(TDateTime(EncodeDate(2024, 3, 15) + 0.5)));
        GoTo(2, 3);
        GoTo(2, 2);
        ClickButton(2, 2);
        ASSERT_TRUE(Grid->DateTimeVisible());
        TgxMonthCalendar* Calendar = Instance()->Calendar();
        const TRect Day = Calendar->DayRect(EncodeDate(2024, 3, 21));
        ClickAt(Calendar->Widget(), QPoint((Day.Left + Day.Right) / 2, (Day.Top + Day.Bottom) / 2));
        QApplication::processEvents();
        ASSERT_FALSE(Grid->DateTimeVisible());
        const AnsiString Written = Grid->CurrentCell()->GetValue().AsString();
        ClickButton(2, 2);
        ASSERT_TRUE(Grid->DateTimeVisible());
        const Variant Start = Instance()->GetDateTime();
        ASSERT_FALSE(Start.IsEmpty()) << Written.c_str();
        EXPECT_EQ(static_cast<int>(Start.AsDateTime()), static_cast<int>(EncodeDate(2024, 3, 21)))
            << Written.c_str();
        EXPECT_EQ(Calendar->Date(), static_cast<double>(EncodeDate(2024, 3, 21)));
        ClickButton(2, 2);
    }
}

// A grid going away with its calendar down leaves no watch behind and no
// link at the definition, which outlives it.
TEST_F(DateTimeMore, AGridGoingAwayWithItsCalendarDownLeavesNothingBehind) {
    auto* Def = new TgxCalendarDateTimeDef(nullptr);
    Grid->GetCol(2)->SetButtonType(btDateTimeDropDown);
    Grid->GetCol(2)->SetDateTimeDef(Def);
    GoTo(2, 2);
    ClickButton(2, 2);
    ASSERT_TRUE(Grid->DateTimeVisible());
    ASSERT_TRUE(GridHooksRegistered(Grid));
    TgxBaseGrid* Gone = Grid;
    delete Form;
    Form = nullptr;
    Grid = nullptr;
    QApplication::processEvents();
    EXPECT_FALSE(GridHooksRegistered(Gone));
    EXPECT_EQ(Def->LinkEntries(), 0);
    delete Def;
}

} // namespace
