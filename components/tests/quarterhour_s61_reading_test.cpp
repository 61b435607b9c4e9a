// The quarter-hour picker stepped and typed into with real keys on a shown
// form: every value the operator leaves is on a quarter hour.
#include "components/QuarterHourPicker.h"
#include "platform/classes/Filer.h"
#include "platform/classes/ObjectText.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtApp.h"
#include "platform/gui/tests/GuiTestSupport.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Streams.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

namespace components {
namespace {

class QuarterHourReading : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, 300, 100);
        Picker = new TCustomDateTimePicker(Form.get());
        Picker->SetParent(Form.get());
        Picker->SetKind(dtkTime);
        Picker->OnChange = [this](TObject*) { ++Changes; };
        ShowActive(*Form);
        Picker->SetFocus();
    }
    void Set(int H, int M) {
        Picker->SetDateTime(EncodeDate(2004, 5, 12) + EncodeTime(H, M, 0, 0));
    }
    // The caret into the minutes ("hh:|mm:ss").
    void ToMinutes() {
        TypeKey(Picker->Widget(), Qt::Key_Home);
        for (int I = 0; I < 3; ++I)
            TypeKey(Picker->Widget(), Qt::Key_Right);
    }
    std::string Shown() const {
        const TDateTime V = Picker->DateTime();
        const double Day = std::floor(static_cast<double>(V));
        const int Minutes = static_cast<int>(std::lround((static_cast<double>(V) - Day) * 1440));
        char B[32];
        std::snprintf(B, sizeof B, "%d %02d:%02d", static_cast<int>(Day - EncodeDate(2004, 5, 12)),
                      Minutes / 60, Minutes % 60);
        return B;
    }

    std::unique_ptr<TForm> Form;
    TCustomDateTimePicker* Picker = nullptr;
    int Changes = 0;
};

TEST_F(QuarterHourReading, ArrowStepsMoveByQuarterHours) {
    struct Case {
        int H, M, Key;
        const char* Want;
    } Cases[] = {
        {10, 15, Qt::Key_Up, "0 10:30"},       {10, 15, Qt::Key_Down, "0 10:00"},
        {23, 45, Qt::Key_Up, "0 00:00"},       {0, 0, Qt::Key_Down, "0 23:45"},
        {10, 0, Qt::Key_PageUp, "0 10:15"}, // a step of ten minutes is one step
        {10, 30, Qt::Key_PageDown, "0 10:15"},
    };
    for (const Case& C : Cases) {
        Set(C.H, C.M);
        ToMinutes();
        Changes = 0;
        TypeKey(Picker->Widget(), C.Key);
        EXPECT_EQ(Shown(), C.Want) << C.H << ":" << C.M << " key " << std::hex << C.Key;
        EXPECT_EQ(Changes, 1);
    }
    // Steps in a row never skip a quarter.
    Set(9, 0);
    ToMinutes();
    for (const char* Want : {"0 09:15", "0 09:30", "0 09:45", "0 10:00", "0 10:15"}) {
        TypeKey(Picker->Widget(), Qt::Key_Up);
        EXPECT_EQ(Shown(), Want);
    }
    // Seconds set in code are dropped by the step.
    Picker->SetDateTime(EncodeDate(2004, 5, 12) + EncodeTime(10, 15, 40, 0));
    ToMinutes();
    TypeKey(Picker->Widget(), Qt::Key_Up);
    EXPECT_EQ(Picker->DateTime(), EncodeDate(2004, 5, 12) + EncodeTime(10, 30, 0, 0));
}

TEST_F(QuarterHourReading, TimeSetInCodeIsWhereTheNextStepStarts) {
    Picker->SetDateTime(EncodeDate(2004, 5, 12) + EncodeTime(8, 0, 0, 0));
    Picker->SetTime(EncodeTime(10, 15, 0, 0));
    ToMinutes();
    TypeKey(Picker->Widget(), Qt::Key_Up);
    EXPECT_EQ(Shown(), "0 10:30");
    Picker->SetDate(EncodeDate(2004, 5, 13));
    ToMinutes();
    TypeKey(Picker->Widget(), Qt::Key_Down);
    EXPECT_EQ(Shown(), "1 10:15");
}

TEST_F(QuarterHourReading, StreamedPickerStepsFromItsStreamedTime) {
    TStringStream In("object F: TForm\n"
                     "  Left = 0\n  Top = 0\n  Width = 300\n  Height = 100\n"
                     "  object P: TCustomDateTimePicker\n"
                     "    Left = 10\n    Top = 10\n    Kind = dtkTime\n"
                     "    Date = 38119\n    Time = 0.5625\n"
                     "  end\n"
                     "end\n");
    TStringStream Binary("");
    ObjectTextToBinary(&In, &Binary);
    Binary.SetPosition(0);
    TForm Streamed(nullptr);
    ReadComponentRes(&Binary, &Streamed);
    auto* P = dynamic_cast<TCustomDateTimePicker*>(Streamed.FindComponent("P"));
    ASSERT_NE(P, nullptr);
    ShowActive(Streamed);
    P->SetFocus();
    TypeKey(P->Widget(), Qt::Key_Home);
    for (int I = 0; I < 3; ++I)
        TypeKey(P->Widget(), Qt::Key_Right);
    TypeKey(P->Widget(), Qt::Key_Down);
    EXPECT_EQ(P->DateTime(), EncodeDate(2004, 5, 12) + EncodeTime(13, 15, 0, 0));
}

TEST_F(QuarterHourReading, TypedMinutesAreRounded) {
    struct Case {
        int H;
        const char* Typed;
        const char* Want;
    } Cases[] = {
        {10, "07", "0 10:00"}, {10, "08", "0 10:15"}, {10, "22", "0 10:15"},
        {10, "23", "0 10:30"}, {23, "53", "0 00:00"},
    };
    for (const Case& C : Cases) {
        Set(C.H, 30);
        ToMinutes();
        // Select the minutes so the typed ones replace them.
        TypeKey(Picker->Widget(), Qt::Key_Right, {}, Qt::ShiftModifier);
        TypeKey(Picker->Widget(), Qt::Key_Right, {}, Qt::ShiftModifier);
        TypeText(Picker->Widget(), C.Typed);
        EXPECT_EQ(Shown(), C.Want) << C.H << ":" << C.Typed;
        const double Seconds = (static_cast<double>(Picker->DateTime()) * 86400);
        EXPECT_NEAR(std::fmod(Seconds, 900.0), 0.0, 1e-3);
    }
}

} // namespace
} // namespace components
