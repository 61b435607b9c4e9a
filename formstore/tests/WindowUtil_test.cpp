#include "formstore/WindowUtil.h"

#include "formstore/DrawUtil.h"
#include "platform/gui/Forms.h"
#include "platform/gui/TimerService.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

using namespace formstore;

namespace {

class WindowUtil : public ::testing::Test {
protected:
    void SetUp() override {
        Application->Initialize();
        Screen->OverrideSize(1000, 800);
    }
    void TearDown() override {
        Screen->OverrideSize(0, 0);
        Application->ProcessMessages();
    }
};

TEST_F(WindowUtil, CenterWindowKeepsTheWindowOnTheScreen) {
    const struct {
        int Width, Height;
        TPoint Expected;
    } Cases[] = {
        {200, 100, {400, 350}},
        {1000, 800, {0, 0}},
        {1200, 900, {0, 0}}, // larger than the screen: left and top at 0
        {1200, 100, {0, 350}},
    };
    TForm Form(nullptr);
    for (const auto& Case : Cases) {
        Form.SetBounds(7, 9, Case.Width, Case.Height);
        CenterWindow(&Form);
        EXPECT_EQ(Form.BoundsRect().TopLeft(), Case.Expected) << Case.Width << "x" << Case.Height;
        EXPECT_EQ(Form.Width(), Case.Width);
        EXPECT_EQ(Form.Height(), Case.Height);
    }
}

TEST_F(WindowUtil, CenterControlUsesTheParentsClientAreaOrTheScreen) {
    TForm Form(nullptr);
    Form.SetBounds(0, 0, 300, 200);
    auto* Child = new TWinControl(&Form);
    Child->SetParent(&Form);
    const int ClientWidth = Form.ClientWidth();
    const int ClientHeight = Form.ClientHeight();

    Child->SetBounds(5, 5, 100, 50);
    CenterControl(Child);
    EXPECT_EQ(Child->BoundsRect().TopLeft(),
              Point((ClientWidth - 100) / 2, (ClientHeight - 50) / 2));
    Child->SetBounds(5, 5, 1000, 1000);
    CenterControl(Child);
    EXPECT_EQ(Child->BoundsRect().TopLeft(), Point(0, 0));

    CenterControl(&Form);
    EXPECT_EQ(Form.BoundsRect().TopLeft(), Point(350, 300));
}

TEST_F(WindowUtil, MergeFormEmbedsTheFormWithoutBorder) {
    TForm Host(nullptr);
    Host.SetBounds(0, 0, 400, 300);
    for (const bool Show : {true, false}) {
        SCOPED_TRACE(Show);
        auto Guest = std::make_unique<TForm>(nullptr);
        Guest->SetBounds(10, 20, 100, 80);
        Guest->Show();
        MergeForm(&Host, Guest.get(), Show ? alClient : alNone, Show);
        EXPECT_EQ(Guest->Parent(), &Host);
        EXPECT_EQ(Guest->BorderStyle(), bsNone);
        EXPECT_TRUE(Guest->BorderIcons().Empty());
        EXPECT_EQ(Guest->Visible(), Show);
        if (Show) {
            EXPECT_EQ(Guest->Align(), alClient);
            EXPECT_EQ(Guest->BoundsRect(), Host.ClientRect());
        } else {
            EXPECT_EQ(Guest->BoundsRect(), Rect(10, 20, 110, 100));
        }
        Guest->SetParent(nullptr);
        EXPECT_EQ(Host.ControlCount(), 0);
    }
}

TEST_F(WindowUtil, WorkAreaIsTheScreensUsablePart) {
    EXPECT_EQ(ScreenWorkArea(), Rect(0, 0, 1000, 800));
}

TEST_F(WindowUtil, ShowCommandsShowHideAndActivate) {
    TForm Form(nullptr);
    Form.SetBounds(0, 0, 200, 100);
    ShowWinNoAnimate(&Form, SW_SHOW);
    EXPECT_TRUE(Form.Visible());
    ShowWinNoAnimate(&Form, SW_HIDE);
    EXPECT_FALSE(Form.Visible());
    ActivateWindow(&Form);
    EXPECT_TRUE(Form.Visible());
    ActivateWindow(nullptr);
}

// Another process is played by a child of this one, which looks for the
// instance and asks it to come to the front while this one handles its
// events.
class PrevInstance : public WindowUtil {
protected:
    void SetUp() override {
        WindowUtil::SetUp();
        char Template[] = "/tmp/beaconmill-runtime-XXXXXX";
        Runtime = ::mkdtemp(Template);
        const char* Old = std::getenv("XDG_RUNTIME_DIR");
        OldRuntime = Old ? std::optional<std::string>(Old) : std::nullopt;
        ::setenv("XDG_RUNTIME_DIR", Runtime.c_str(), 1);
    }
    void TearDown() override {
        if (OldRuntime)
            ::setenv("XDG_RUNTIME_DIR", OldRuntime->c_str(), 1);
        else
            ::unsetenv("XDG_RUNTIME_DIR");
        std::filesystem::remove_all(Runtime);
        WindowUtil::TearDown();
    }

    // Runs Body in a child process while this one handles its events; the
    // child's exit status.
    static int InOtherProcess(const std::function<int()>& Body) {
        const pid_t Child = ::fork();
        if (Child == 0) ::_exit(Body());
        int Status = 0;
        while (::waitpid(Child, &Status, WNOHANG) == 0)
            Application->ProcessMessages();
        return WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
    }

    std::string Runtime;
    std::optional<std::string> OldRuntime;
};

TEST_F(PrevInstance, AnotherProcessFindsTheInstanceAndBringsItsFormBack) {
    TForm Form(nullptr);
    Form.SetCaption("Beacon Mill");
    Form.Show();
    Form.SetWindowState(wsMinimized);
    const std::unique_ptr<TRunningInstance> Instance = AnnounceInstance(&Form);
    const pid_t Self = ::getpid();

    // This process is no previous instance of itself.
    EXPECT_EQ(FindPrevInstance("TForm", "Beacon Mill"), 0);

    const struct {
        const char* Class;
        const char* Title;
        bool Found;
    } cases[] = {
        {"TForm", "Beacon Mill", true}, {"TForm", "", true},   {"", "Beacon Mill", true},
        {"TForm", "Other", false},      {"TOther", "", false}, {"", "", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(InOtherProcess([&] {
                      return FindPrevInstance(c.Class, c.Title) == (c.Found ? Self : 0) ? 0 : 1;
                  }),
                  0)
            << c.Class << " / " << c.Title;

    EXPECT_EQ(InOtherProcess([] { return ActivatePrevInstance("TOther", "") ? 1 : 0; }), 0);
    EXPECT_EQ(Form.WindowState(), wsMinimized);
    EXPECT_EQ(InOtherProcess([] { return ActivatePrevInstance("TForm", "Beacon Mill") ? 0 : 1; }),
              0);
    EXPECT_EQ(Form.WindowState(), wsNormal);
    EXPECT_TRUE(Form.Visible());
}

// The instance is found by the caption its main form has now, not the one
// it had when it announced itself.
TEST_F(PrevInstance, TheInstanceIsFoundByItsFormsCurrentCaption) {
    TForm Form(nullptr);
    Form.SetCaption("Beacon Mill");
    Form.Show();
    const auto Instance = AnnounceInstance(&Form);
    const pid_t Self = ::getpid();
    const auto FoundAs = [&](const char* Title) {
        return InOtherProcess([&] { return FindPrevInstance("TForm", Title) == Self ? 1 : 0; });
    };
    EXPECT_EQ(FoundAs("Beacon Mill"), 1);
    for (const std::string Caption : {"Beacon Mill - alerts", "", "Beacon Mill"}) {
        Form.SetCaption(Caption);
        EXPECT_EQ(FoundAs("Beacon Mill - alerts"), Caption == "Beacon Mill - alerts") << Caption;
        EXPECT_EQ(FoundAs("Beacon Mill"), Caption == "Beacon Mill") << Caption;
        EXPECT_EQ(FoundAs(""), 1) << Caption; // by its class alone
    }
}

TEST_F(PrevInstance, AnInstanceThatEndedIsNotFound) {
    TForm Form(nullptr);
    Form.SetCaption("Beacon Mill");
    // The child announces itself and ends without clearing up, as a crash
    // does: its lock goes with it.
    EXPECT_EQ(InOtherProcess([&] {
                  new TRunningInstance("TForm", "Beacon Mill", [] {});
                  return 0;
              }),
              0);
    EXPECT_EQ(FindPrevInstance("TForm", "Beacon Mill"), 0);
    EXPECT_FALSE(ActivatePrevInstance("TForm", "Beacon Mill"));
    // The search cleared the ended instance's files.
    EXPECT_TRUE(std::filesystem::is_empty(Runtime + "/beaconmill-instances"));

    // An ended instance is gone from the search at once.
    auto Instance = AnnounceInstance(&Form);
    Instance.reset();
    EXPECT_TRUE(std::filesystem::is_empty(Runtime + "/beaconmill-instances"));
}

// The first instance is a child stopped by SIGSTOP: it holds its
// announcement but handles no events. Callers beyond what its queue holds
// used to wait in connect for ever; now every caller answers false once
// the wait for an answer is over.
TEST_F(PrevInstance, AFrozenInstanceHoldsNoCallerPastTheDeadline) {
    const pid_t Frozen = ::fork();
    if (Frozen == 0) {
        new TRunningInstance("TForm", "Beacon Mill", [] {});
        ::raise(SIGSTOP);
        ::_exit(0);
    }
    int Status = 0;
    ASSERT_EQ(::waitpid(Frozen, &Status, WUNTRACED), Frozen);
    ASSERT_TRUE(WIFSTOPPED(Status));

    constexpr int Callers = 10;
    std::vector<pid_t> Children;
    for (int I = 0; I < Callers; ++I) {
        const pid_t Caller = ::fork();
        if (Caller == 0) ::_exit(ActivatePrevInstance("TForm", "Beacon Mill") ? 1 : 0);
        Children.push_back(Caller);
    }
    // Each waits at most two seconds for the answer; a caller still waiting
    // well after that waits for ever.
    const auto GiveUp = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    int Answered = 0;
    for (const pid_t Caller : Children) {
        int CallerStatus = 0;
        while (::waitpid(Caller, &CallerStatus, WNOHANG) == 0 &&
               std::chrono::steady_clock::now() < GiveUp)
            ::poll(nullptr, 0, 20);
        if (std::chrono::steady_clock::now() >= GiveUp &&
            ::waitpid(Caller, &CallerStatus, WNOHANG) == 0) {
            ::kill(Caller, SIGKILL);
            ::waitpid(Caller, &CallerStatus, 0);
            continue;
        }
        EXPECT_TRUE(WIFEXITED(CallerStatus) && WEXITSTATUS(CallerStatus) == 0);
        ++Answered;
    }
    EXPECT_EQ(Answered, Callers);
    ::kill(Frozen, SIGKILL);
    ::waitpid(Frozen, &Status, 0);
}

TEST_F(WindowUtil, KillMessageTakesOnePostedMessageOutAndKeepsTheQuit) {
    TForm Form(nullptr);
    TForm Other(nullptr);
    std::vector<std::pair<unsigned, WPARAM>> Got;
    Form.WindowProc = [&](TMessage& Msg) {
        if (Msg.Msg >= WM_USER || Msg.Msg == WM_QUIT) Got.emplace_back(Msg.Msg, Msg.WParam);
    };
    Other.WindowProc = [&](TMessage& Msg) {
        if (Msg.Msg >= WM_USER) Got.emplace_back(Msg.Msg + 100, Msg.WParam);
    };
    PostMessage(&Form, WM_USER + 1, 1);
    PostMessage(&Form, WM_USER + 1, 2);
    PostMessage(&Other, WM_USER + 1, 3);
    PostMessage(&Form, WM_USER + 2, 4);
    PostMessage(&Form, WM_QUIT, 7);
    KillMessage(&Form, WM_USER + 1);   // the first of the two
    KillMessage(&Form, WM_USER + 3);   // none waiting
    KillMessage(nullptr, WM_USER + 2); // any window
    KillMessage(&Form, WM_QUIT);       // comes again, with its code
    Application->ProcessMessages();
    EXPECT_EQ(Got, (std::vector<std::pair<unsigned, WPARAM>>{
                       {WM_USER + 1, 2}, {WM_USER + 101, 3}, {WM_QUIT, 7}}));
}

TEST_F(WindowUtil, DialogUnitsFollowTheAverageCharacter) {
    TBitmap Bitmap;
    Bitmap.SetSize(1, 1);
    const TPoint Base = GetAveCharSize(Bitmap.Canvas());
    EXPECT_EQ(DialogUnitsToPixelsX(4), Base.X);
    EXPECT_EQ(DialogUnitsToPixelsY(8), Base.Y);
    EXPECT_EQ(DialogUnitsToPixelsX(40), 10 * Base.X);
    EXPECT_EQ(PixelsToDialogUnitsX(3 * Base.X), 12);
    EXPECT_EQ(PixelsToDialogUnitsY(2 * Base.Y), 16);
}

TEST_F(WindowUtil, MessageBoxesGoToTheApplication) {
    TMessageBoxRecorder Boxes;
    Boxes.Answers = {IDNO, mrCancel};
    EXPECT_EQ(MsgBox("Caption", "Text", MB_YESNO | MB_ICONQUESTION), IDNO);
    EXPECT_EQ(MsgDlg("Go on?", mtConfirmation, mbOKCancel, 0), mrCancel);
    ASSERT_EQ(Boxes.Boxes.size(), 2u);
    EXPECT_EQ(Boxes.Boxes[0].Text, "Text");
    EXPECT_EQ(Boxes.Boxes[0].Caption, "Caption");
    EXPECT_EQ(Boxes.Boxes[0].Flags, MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(Boxes.Boxes[1].Text, "Go on?");
}

TEST_F(WindowUtil, NotImplementedTellsTheUserAndAbortsSilently) {
    TMessageBoxRecorder Boxes;
    Screen->SetCursor(crHourGlass);
    EXPECT_THROW(NotImplemented(), EAbort);
    EXPECT_EQ(Screen->Cursor(), crDefault);
    ASSERT_EQ(Boxes.Boxes.size(), 1u);
    EXPECT_EQ(Boxes.Boxes[0].Text, "Функция не реализована");
    EXPECT_EQ(Boxes.Boxes[0].Caption, "Information");
}

// Delay on a clock and timers that move only when the test's messages move
// them: each message handler runs an action and may post the next message.
class DelayTest : public WindowUtil {
protected:
    static constexpr unsigned WM_STEP = WM_USER + 11;

    void SetUp() override {
        WindowUtil::SetUp();
        Target = std::make_unique<TWinControl>(nullptr);
        Target->WindowProc = [this](TMessage& Msg) {
            if (Msg.Msg != WM_STEP) return;
            const std::size_t Step = Handled++;
            if (Step < Steps.size()) Steps[Step]();
            if (Handled < Steps.size()) PostMessage(Target.get(), WM_STEP);
        };
    }
    void TearDown() override {
        Target.reset();
        WindowUtil::TearDown();
    }

    void Run(int MSecs) {
        PostMessage(Target.get(), WM_STEP);
        Delay(MSecs);
        HandledAtReturn = Handled;
    }

    ManualClock Time{0.0, 1000};
    ScopedClock UseClock{Time};
    FakeTimerService Timers{&Time};
    ScopedTimerService UseTimers{Timers};
    std::unique_ptr<TWinControl> Target;
    std::vector<std::function<void()>> Steps;
    std::size_t Handled = 0;
    std::size_t HandledAtReturn = 0;
};

TEST_F(DelayTest, HandlesMessagesUntilItsTimeHasPassed) {
    Steps = {[&] { Timers.Advance(40); }, [&] { Timers.Advance(59); }, [&] { Timers.Advance(1); },
             [&] { Timers.Advance(1000); }};
    Run(100);
    EXPECT_EQ(HandledAtReturn, 3u);
    EXPECT_EQ(Time.TickCount(), 1100u);
    EXPECT_EQ(Timers.Count(), 0); // its wake-up timer is gone
}

TEST_F(DelayTest, AWrapOfTheTickCounterEndsTheWait) {
    Time.SetTickCount(0xFFFFFFF0u);
    Steps = {[&] { Time.SetTickCount(5); }, [&] { Timers.Advance(1000); }};
    Run(100);
    EXPECT_EQ(HandledAtReturn, 1u);
}

} // namespace
