// TTimer and the per-window timers on the fake timer service: no test
// waits for real time.
#include "GuiTestSupport.h"

#include "platform/gui/Dialogs.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/TimerService.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/DateTime.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class TimerTest : public ::testing::Test {
protected:
    FakeTimerService Service{&Clock};
    ManualClock Clock{EncodeDate(2024, 3, 1) + EncodeTime(10, 0, 0, 0)};
    ScopedClock ClockScope{Clock};
    ScopedTimerService Scope{Service};
    std::vector<std::int64_t> Ticks;

    std::unique_ptr<TTimer> MakeTimer(unsigned Interval) {
        auto T = std::make_unique<TTimer>(nullptr);
        T->SetInterval(Interval);
        T->OnTimer = [this](TObject*) { Ticks.push_back(Service.Elapsed()); };
        return T;
    }
};

TEST_F(TimerTest, TicksEveryIntervalWithTheClockAtTheTick) {
    auto T = MakeTimer(300);
    TDateTime Seen = 0;
    T->OnTimer = [&](TObject*) {
        Ticks.push_back(Service.Elapsed());
        Seen = Now();
    };
    Service.Advance(1000);
    EXPECT_EQ(Ticks, (std::vector<std::int64_t>{300, 600, 900}));
    EXPECT_DOUBLE_EQ(Seen, EncodeDate(2024, 3, 1) + EncodeTime(10, 0, 0, 900));
}

TEST_F(TimerTest, ANewIntervalOrEnablingRestartsTheCountdown) {
    auto T = MakeTimer(1000);
    Service.Advance(700);
    T->SetInterval(1000); // the same interval: the countdown goes on
    Service.Advance(300);
    T->SetInterval(500); // restarts at 1000
    Service.Advance(400);
    T->SetEnabled(false);
    Service.Advance(1000);
    T->SetEnabled(true); // restarts at 2400
    Service.Advance(600);
    EXPECT_EQ(Ticks, (std::vector<std::int64_t>{1000, 2900}));
}

TEST_F(TimerTest, ATickIsNotReenteredWhileItsHandlerRuns) {
    auto T = MakeTimer(100);
    int Depth = 0;
    int MaxDepth = 0;
    T->OnTimer = [&](TObject*) {
        ++Depth;
        MaxDepth = std::max(MaxDepth, Depth);
        Ticks.push_back(Service.Elapsed());
        if (Ticks.size() == 1)
            Service.Advance(350); // the handler runs long: ticks fall due meanwhile
        --Depth;
    };
    Service.Advance(500);
    EXPECT_EQ(MaxDepth, 1);
    EXPECT_EQ(Ticks, (std::vector<std::int64_t>{100, 500}));
}

TEST_F(TimerTest, TicksGoOnWhileAMessageBoxIsOpen) {
    auto T = MakeTimer(1000);
    TMessageBoxRecorder Boxes;
    Boxes.WhileOpen = [&](const TMessageBoxRequest&) { Service.Advance(2500); };
    MessageBox(nullptr, "Check the daily alerts batch ahead of scheduled run time?", "Confirm",
               MB_YESNO | MB_ICONINFORMATION | MB_DEFBUTTON2 | MB_TOPMOST);
    EXPECT_EQ(Ticks, (std::vector<std::int64_t>{1000, 2000}));
}

TEST_F(TimerTest, AnExceptionFromTheHandlerIsShownAndTheTimerGoesOn) {
    auto T = MakeTimer(100);
    T->OnTimer = [this](TObject*) {
        Ticks.push_back(Service.Elapsed());
        throw Exception("Database not open");
    };
    TMessageBoxRecorder Boxes;
    // The box of the first failure stays open while the next tick fails.
    Boxes.WhileOpen = [&](const TMessageBoxRequest&) {
        if (Boxes.Boxes.size() == 1) Service.Advance(100);
    };
    Service.Advance(100);
    EXPECT_EQ(Ticks, (std::vector<std::int64_t>{100, 200}));
    ASSERT_EQ(Boxes.Boxes.size(), 2u);
    EXPECT_EQ(Boxes.Boxes[0].Text, "Database not open.");
    EXPECT_TRUE(T->Enabled());
}

TEST_F(TimerTest, FreeingTheTimerInItsHandlerIsSafe) {
    auto T = MakeTimer(100);
    TTimer* Raw = T.release();
    Raw->OnTimer = [&](TObject*) {
        Ticks.push_back(Service.Elapsed());
        delete Raw;
    };
    Service.Advance(500);
    EXPECT_EQ(Ticks, (std::vector<std::int64_t>{100}));
    EXPECT_EQ(Service.Count(), 0);
}

// A control that records the timer messages it gets.
class TimerControl : public TWinControl {
public:
    using TWinControl::TWinControl;
    std::vector<int> Ids;

protected:
    void Dispatch(TMessage& Message) override {
        if (Message.Msg == WM_TIMER) Ids.push_back(TWMTimer(Message).TimerID());
        TWinControl::Dispatch(Message);
    }
};

TEST_F(TimerTest, WindowTimersSendTheirIdUntilKilledOrTheWindowGoes) {
    auto* C = new TimerControl(nullptr);
    SetTimer(C, 1, 50);
    SetTimer(C, 2, 120);
    Service.Advance(130);
    EXPECT_TRUE(KillTimer(C, 1));
    EXPECT_FALSE(KillTimer(C, 1));
    Service.Advance(120);
    EXPECT_EQ(C->Ids, (std::vector<int>{1, 1, 2, 2}));
    delete C;
    EXPECT_EQ(Service.Count(), 0);
}

} // namespace
