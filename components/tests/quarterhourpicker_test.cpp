#include "components/QuarterHourPicker.h"

#include "platform/gui/Forms.h"
#include "platform/gui/QtApp.h"
#include "platform/gui/tests/GuiTestSupport.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/DateTimeFormat.h"

#include <QDateTimeEdit>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using components::TCustomDateTimePicker;

const TDateTime Day = EncodeDate(2024, 3, 9);

TDateTime At(int Hour, int Min, int Sec = 0) {
    return Day + EncodeTime(Hour, Min, Sec, 0);
}

std::string Shown(TDateTime Value) {
    return FormatDateTime("yyyy/mm/dd hh:nn:ss", Value);
}

class QuarterHourPickerTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        Form = new TForm(nullptr);
        Picker = new TCustomDateTimePicker(Form);
        Picker->SetParent(Form);
        Picker->SetKind(dtkTime);
        Picker->OnChange = [this](TObject*) { ++Changes; };
        Form->Show();
    }

    void TearDown() override { delete Form; }

    QDateTimeEdit* Edit() { return static_cast<QDateTimeEdit*>(Picker->Widget()); }

    // The operator puts a new time into the picker, by typing or by a step
    // of one field.
    void OperatorSets(int Hour, int Min, int Sec = 0) {
        Edit()->setDateTime(QDateTime(QDate(2024, 3, 9), QTime(Hour, Min, Sec)));
    }

    TForm* Form = nullptr;
    TCustomDateTimePicker* Picker = nullptr;
    int Changes = 0;
};

struct TChangeCase {
    const char* Name;
    int FromHour, FromMin;
    int ToHour, ToMin, ToSec;
    int WantHour, WantMin;
};

class QuarterHourPickerChange : public QuarterHourPickerTest,
                                public ::testing::WithParamInterface<TChangeCase> {};

TEST_P(QuarterHourPickerChange, SnapsTheOperatorsChangeToAQuarterHour) {
    const TChangeCase& C = GetParam();
    Picker->SetDateTime(At(C.FromHour, C.FromMin));
    OperatorSets(C.ToHour, C.ToMin, C.ToSec);
    EXPECT_EQ(Shown(Picker->DateTime()), Shown(At(C.WantHour, C.WantMin)));
    EXPECT_EQ(Changes, 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, QuarterHourPickerChange,
                         ::testing::Values(
                             // One-minute steps move a whole quarter hour, across the hour and
                             // around midnight on the same date (the minute field wraps alone).
                             TChangeCase{"StepUp", 10, 15, 10, 16, 0, 10, 30},
                             TChangeCase{"StepDown", 10, 15, 10, 14, 0, 10, 0},
                             TChangeCase{"StepUpIntoNextHour", 10, 45, 10, 46, 0, 11, 0},
                             TChangeCase{"StepDownFromTheHour", 10, 0, 10, 59, 0, 9, 45},
                             TChangeCase{"StepUpPastMidnight", 23, 45, 23, 46, 0, 0, 0},
                             TChangeCase{"StepDownPastMidnight", 0, 0, 0, 59, 0, 23, 45},
                             // Anything else is rounded to the nearest quarter hour.
                             TChangeCase{"TypedRoundsDown", 10, 15, 10, 7, 0, 10, 0},
                             TChangeCase{"TypedRoundsUp", 10, 15, 10, 8, 0, 10, 15},
                             TChangeCase{"TypedRoundsToMidnight", 10, 15, 23, 53, 0, 0, 0},
                             TChangeCase{"HourChangedKeepsQuarter", 10, 30, 14, 30, 0, 14, 30},
                             TChangeCase{"SecondsDropped", 10, 30, 10, 30, 59, 10, 30}),
                         [](const ::testing::TestParamInfo<TChangeCase>& Info) {
                             return std::string(Info.param.Name);
                         });

TEST_F(QuarterHourPickerTest, ArrowKeysOnTheMinutesStepAQuarterHourEach) {
    Picker->SetDateTime(At(23, 15));
    Edit()->setCurrentSection(QDateTimeEdit::MinuteSection);
    std::vector<std::string> Seen;
    for (int I = 0; I < 4; ++I) {
        TypeKey(Edit(), Qt::Key_Up);
        Seen.push_back(Shown(Picker->DateTime()));
    }
    for (int I = 0; I < 2; ++I) {
        TypeKey(Edit(), Qt::Key_Down);
        Seen.push_back(Shown(Picker->DateTime()));
    }
    EXPECT_EQ(Seen, (std::vector<std::string>{"2024/03/09 23:30:00", "2024/03/09 23:45:00",
                                              "2024/03/09 00:00:00", "2024/03/09 00:15:00",
                                              "2024/03/09 00:00:00", "2024/03/09 23:45:00"}));
    EXPECT_EQ(Changes, 6);
}

TEST_F(QuarterHourPickerTest, ArrowStepsAreLimitedToOne) {
    struct TStep {
        int Asked, Taken;
    };
    for (const TStep S : {TStep{10, 1}, TStep{-7, -1}, TStep{1, 1}, TStep{-1, -1}, TStep{0, 0}}) {
        NMUPDOWN Notify;
        Notify.hdr.hwndFrom = Picker;
        Notify.hdr.code = UDN_DELTAPOS;
        Notify.iDelta = S.Asked;
        Picker->Perform(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&Notify));
        EXPECT_EQ(Notify.iDelta, S.Taken) << "asked for " << S.Asked;
    }
    // Other notifications pass untouched.
    NMUPDOWN Other;
    Other.hdr.code = UDN_DELTAPOS + 1;
    Other.iDelta = 10;
    Picker->Perform(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&Other));
    EXPECT_EQ(Other.iDelta, 10);
}

TEST_F(QuarterHourPickerTest, ValueSetInCodeStaysAsSetAndIsWhereTheNextStepStarts) {
    Picker->SetDateTime(At(8, 7, 30));
    EXPECT_EQ(Shown(Picker->DateTime()), Shown(At(8, 7, 30)));
    EXPECT_EQ(Changes, 0);
    Picker->SetDateTime(At(10, 15));
    OperatorSets(10, 16);
    EXPECT_EQ(Shown(Picker->DateTime()), Shown(At(10, 30)));
}

} // namespace
