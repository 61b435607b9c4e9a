// Hooks on a control's window procedure, through the component's public
// calls and messages sent to the hooked control.
#include "formstore/WindowHook.h"

#include "platform/gui/Controls.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/tests/GuiTestSupport.h"
#include "platform/gui/Forms.h"
#include "platform/classes/Filer.h"
#include "platform/classes/ObjectText.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace formstore;

namespace {

constexpr unsigned ProbeMsg = WM_USER + 77;

// A control that logs what its own window procedure gets and can have its
// window rebuilt.
class TLoggingControl : public TWinControl {
public:
    TLoggingControl(TComponent* AOwner, std::vector<std::string>& Log)
        : TWinControl(AOwner), FLog(Log) {}
    void WndProc(TMessage& Message) override {
        if (Message.Msg == ProbeMsg || Message.Msg == WM_QUIT || Message.Msg == WM_DESTROY) {
            FLog.push_back("control");
            Message.Result = 42;
            return;
        }
        TWinControl::WndProc(Message);
    }
    void Design() { SetDesigning(true); }
    void Rebuild() {
        DestroyWidget();
        HandleNeeded();
    }

private:
    std::vector<std::string>& FLog;
};

class WindowHookFreshReading : public ::testing::Test {
protected:
    void SetUp() override {
        Application->Initialize();
        Application->OnException = [this](TObject*, const Exception& E) {
            Errors.push_back(E.Message.c_str());
        };
        Form = std::make_unique<TForm>(nullptr);
        Control = new TLoggingControl(Form.get(), Log);
        Control->SetParent(Form.get());
    }
    void TearDown() override {
        Form.reset();
        Application->ProcessMessages();
        Application->OnException = nullptr;
    }

    TFsWindowHook* MakeHook(const std::string& Name, bool HandleBefore = false) {
        auto* Hook = new TFsWindowHook(Form.get());
        Hook->BeforeMessage = [this, Name, HandleBefore](TObject* Sender, TMessage& Msg,
                                                         bool& Handled) {
            if (Msg.Msg != ProbeMsg && Msg.Msg != WM_QUIT && Msg.Msg != WM_DESTROY)
                return;
            EXPECT_NE(Sender, nullptr);
            Log.push_back(Name + " before");
            if (HandleBefore) {
                Msg.Result = 7;
                Handled = true;
            }
        };
        Hook->AfterMessage = [this, Name](TObject*, TMessage& Msg, bool&) {
            if (Msg.Msg != ProbeMsg && Msg.Msg != WM_QUIT && Msg.Msg != WM_DESTROY)
                return;
            Log.push_back(Name + " after " + std::to_string(Msg.Result));
        };
        Hook->SetWinControl(Control);
        return Hook;
    }

    std::vector<std::string> Send(unsigned Msg = ProbeMsg) {
        Log.clear();
        LastResult = Control->Perform(Msg);
        return Log;
    }

    std::vector<std::string> Log;
    std::vector<std::string> Errors;
    std::unique_ptr<TForm> Form;
    TLoggingControl* Control = nullptr;
    LRESULT LastResult = 0;
};

using Lines = std::vector<std::string>;

TEST_F(WindowHookFreshReading, HooksRunLastAttachedFirstAroundTheControl) {
    MakeHook("A");
    MakeHook("B");
    EXPECT_EQ(Send(), (Lines{"B before", "A before", "control", "B after 42", "A after 42"}));
    EXPECT_EQ(LastResult, 42);
    // WM_QUIT skips every before-handler but not the after-handlers.
    EXPECT_EQ(Send(WM_QUIT), (Lines{"control", "B after 42", "A after 42"}));
}

TEST_F(WindowHookFreshReading, HandledBeforeStopsAllButWmDestroysOwnHandling) {
    MakeHook("A");
    MakeHook("B", true);
    EXPECT_EQ(Send(), (Lines{"B before"}));
    EXPECT_EQ(LastResult, 7);
    // Every after-handler still sees the window go, whatever the before
    // ones did.
    EXPECT_EQ(Send(WM_DESTROY), (Lines{"B before", "control", "B after 42", "A after 42"}));
}

TEST_F(WindowHookFreshReading, HandlerErrorGoesToTheApplicationAndTheMessageGoesOn) {
    MakeHook("A");
    auto* B = MakeHook("B");
    B->BeforeMessage = [](TObject*, TMessage& Msg, bool&) {
        if (Msg.Msg == ProbeMsg)
            throw Exception("before failed");
    };
    EXPECT_EQ(Send(), (Lines{"A before", "control", "B after 42", "A after 42"}));
    EXPECT_EQ(Errors, (std::vector<std::string>{"before failed"}));
}

TEST_F(WindowHookFreshReading, DetachingKeepsOthersAndTheLastRestoresTheProcedure) {
    // A procedure of someone else, put in front before hooking: it must be
    // the one messages go through once every hook has left.
    TWndMethod Own = Control->WindowProc;
    Control->WindowProc = [this, Own](TMessage& M) {
        if (M.Msg == ProbeMsg)
            Log.push_back("own");
        Own(M);
    };
    auto* A = MakeHook("A");
    auto* B = MakeHook("B");
    A->SetActive(false);
    EXPECT_FALSE(A->Active());
    EXPECT_EQ(Send(), (Lines{"B before", "own", "control", "B after 42"}));
    B->SetWinControl(nullptr);
    EXPECT_EQ(B->WinControl(), nullptr);
    EXPECT_EQ(Send(), (Lines{"own", "control"}));
    Application->ProcessMessages();
    EXPECT_EQ(Send(), (Lines{"own", "control"}));
    A->SetActive(true);
    EXPECT_EQ(Send(), (Lines{"A before", "own", "control", "A after 42"}));
}

TEST_F(WindowHookFreshReading, MovingToAnotherControlLeavesTheOldOneAlone) {
    std::vector<std::string> OtherLog;
    auto* Other = new TLoggingControl(Form.get(), OtherLog);
    Other->SetParent(Form.get());
    auto* A = MakeHook("A");
    A->SetWinControl(Other);
    EXPECT_EQ(A->WinControl(), Other);
    EXPECT_TRUE(A->Active());
    EXPECT_EQ(Send(), (Lines{"control"}));
    Application->ProcessMessages();
    EXPECT_EQ(Send(), (Lines{"control"}));
    Log.clear();
    Other->Perform(ProbeMsg);
    EXPECT_EQ(Log, (Lines{"A before", "A after 42"}));
    EXPECT_EQ(OtherLog, (Lines{"control"}));
}

TEST_F(WindowHookFreshReading, RebuiltWindowIsHookedAgain) {
    MakeHook("A");
    Control->HandleNeeded();
    Log.clear();
    Control->Rebuild();
    Application->ProcessMessages();
    EXPECT_EQ(Send(), (Lines{"A before", "control", "A after 42"}));
    // The window going away ends the subclassing; it comes back once the
    // queue has been worked through.
    EXPECT_EQ(Send(WM_DESTROY), (Lines{"A before", "control", "A after 42"}));
    EXPECT_EQ(Send(), (Lines{"control"}));
    Application->ProcessMessages();
    EXPECT_EQ(Send(), (Lines{"A before", "control", "A after 42"}));
}

TEST_F(WindowHookFreshReading, FreeingTheControlOrTheHookLeavesNothingDangling) {
    EXPECT_FALSE(Control->HandleAllocated());
    auto* A = MakeHook("A");
    EXPECT_TRUE(Control->HandleAllocated());
    auto* B = MakeHook("B");
    delete B;
    EXPECT_EQ(Send(), (Lines{"A before", "control", "A after 42"}));
    delete Control;
    Control = nullptr;
    EXPECT_EQ(A->WinControl(), nullptr);
    EXPECT_TRUE(A->Active());
    Application->ProcessMessages();
    EXPECT_EQ(A->WinControl(), nullptr);
}

TEST_F(WindowHookFreshReading, InactiveHookAttachesOnlyWhenActivated) {
    auto* A = new TFsWindowHook(Form.get());
    EXPECT_TRUE(A->Active());
    A->SetActive(false);
    A->AfterMessage = [this](TObject*, TMessage& Msg, bool&) {
        if (Msg.Msg == ProbeMsg)
            Log.push_back("A after");
    };
    A->SetWinControl(Control);
    EXPECT_FALSE(A->Active());
    EXPECT_EQ(A->WinControl(), Control);
    EXPECT_EQ(Send(), (Lines{"control"}));
    A->SetActive(true);
    EXPECT_EQ(Send(), (Lines{"control", "A after"}));
    EXPECT_NE(TFsWindowHook::GetHookHandle(), nullptr);
}

TEST_F(WindowHookFreshReading, IsFormTellsTheOwnerFormFromOtherControls) {
    auto* A = new TFsWindowHook(Form.get());
    EXPECT_FALSE(A->IsForm());
    EXPECT_FALSE(A->NotIsForm());
    A->SetWinControl(Form.get());
    EXPECT_TRUE(A->IsForm());
    EXPECT_FALSE(A->NotIsForm());
    A->SetWinControl(Control);
    EXPECT_FALSE(A->IsForm());
    EXPECT_TRUE(A->NotIsForm());
}

TEST_F(WindowHookFreshReading, TheOwnerFormIsStreamedAsIsFormAndHookedAgainOnReading) {
    delete Control;
    Control = nullptr;
    Form->SetName("HostForm");
    auto* A = new TFsWindowHook(Form.get());
    A->SetName("FormHook");
    A->SetWinControl(Form.get());
    TMemoryStream Binary;
    WriteComponentRes(&Binary, Form.get());
    Binary.SetPosition(0);
    TStringStream Text("");
    ObjectBinaryToText(&Binary, &Text);
    const std::string Written = Text.DataString().c_str();
    EXPECT_NE(Written.find("IsForm = True"), std::string::npos) << Written;
    EXPECT_EQ(Written.find("WinControl"), std::string::npos) << Written;

    delete A;
    Binary.SetPosition(0);
    TForm Read(nullptr);
    ReadComponentRes(&Binary, &Read);
    auto* Hook = dynamic_cast<TFsWindowHook*>(Read.FindComponent("FormHook"));
    ASSERT_NE(Hook, nullptr);
    EXPECT_EQ(Hook->WinControl(), &Read);
    EXPECT_TRUE(Hook->IsForm());
}

TEST_F(WindowHookFreshReading, ProcedurePutOverTheHookSurvivesARebuild) {
    MakeHook("A");
    TWndMethod Hooked = Control->WindowProc;
    Control->WindowProc = [this, Hooked](TMessage& M) {
        if (M.Msg == ProbeMsg)
            Log.push_back("over");
        Hooked(M);
    };
    EXPECT_EQ(Send(), (Lines{"over", "A before", "control", "A after 42"}));
    Control->Rebuild();
    Application->ProcessMessages();
    Control->Rebuild();
    Application->ProcessMessages();
    EXPECT_EQ(Send(), (Lines{"over", "A before", "control", "A after 42"}));
}

TEST_F(WindowHookFreshReading, HookTakenOverBeforeItsFreeingKeepsWorking) {
    auto* A = MakeHook("A");
    A->SetWinControl(nullptr);
    MakeHook("B");
    Application->ProcessMessages();
    EXPECT_EQ(Send(), (Lines{"B before", "control", "B after 42"}));
    A->SetWinControl(Control);
    A->SetWinControl(Control);
    EXPECT_EQ(Send(), (Lines{"A before", "B before", "control", "A after 42", "B after 42"}));
}

TEST_F(WindowHookFreshReading, HandlerFreeingTheControlEndsTheMessageSafely) {
    // The control is gone once the handler returns: nothing more of it is
    // called, nor are the hooks still waiting their turn.
    const struct {
        bool Before;
        Lines Seen;
    } Cases[] = {
        {true, {"free"}},
        {false, {"B before", "A before", "control", "free"}},
    };
    for (const auto& [Before, Seen] : Cases) {
        SCOPED_TRACE(Before ? "before" : "after");
        if (!Control) {
            Control = new TLoggingControl(Form.get(), Log);
            Control->SetParent(Form.get());
        }
        auto* A = MakeHook("A");
        auto* B = MakeHook("B");
        auto Free = [this](TObject*, TMessage& Msg, bool&) {
            if (Msg.Msg != ProbeMsg) return;
            Log.push_back("free");
            TControl* Gone = Control;
            Control = nullptr;
            delete Gone;
        };
        (Before ? B->BeforeMessage : B->AfterMessage) = Free;
        TLoggingControl* Target = Control;
        Log.clear();
        Target->Perform(ProbeMsg);
        EXPECT_EQ(Log, Seen);
        EXPECT_EQ(Control, nullptr);
        EXPECT_EQ(A->WinControl(), nullptr);
        EXPECT_EQ(B->WinControl(), nullptr);
        Application->ProcessMessages();
        delete A;
        delete B;
    }
}

TEST_F(WindowHookFreshReading, HandlerFreeingItsOwnHookLetsTheOthersRun) {
    MakeHook("A");
    auto* B = MakeHook("B");
    B->BeforeMessage = [B](TObject*, TMessage& Msg, bool&) {
        if (Msg.Msg == ProbeMsg) delete B;
    };
    EXPECT_EQ(Send(), (Lines{"A before", "control", "A after 42"}));
    EXPECT_EQ(Send(), (Lines{"A before", "control", "A after 42"}));
}

TEST_F(WindowHookFreshReading, AHookedChildIsStreamedByNameAndFoundAgain) {
    delete Control;
    Control = nullptr;
    Form->SetName("HostForm");
    auto* Panel = new TPanel(Form.get());
    Panel->SetName("Target");
    Panel->SetParent(Form.get());
    auto* A = new TFsWindowHook(Form.get());
    A->SetName("PanelHook");
    A->SetWinControl(Panel);
    TMemoryStream Binary;
    WriteComponentRes(&Binary, Form.get());
    Binary.SetPosition(0);
    TStringStream Text("");
    ObjectBinaryToText(&Binary, &Text);
    const std::string Written = Text.DataString().c_str();
    EXPECT_NE(Written.find("WinControl = Target"), std::string::npos) << Written;
    EXPECT_EQ(Written.find("IsForm"), std::string::npos) << Written;

    Binary.SetPosition(0);
    TForm Read(nullptr);
    ReadComponentRes(&Binary, &Read);
    auto* Hook = dynamic_cast<TFsWindowHook*>(Read.FindComponent("PanelHook"));
    ASSERT_NE(Hook, nullptr);
    EXPECT_EQ(Hook->WinControl(), Read.FindComponent("Target"));
    EXPECT_TRUE(Hook->NotIsForm());
}

TEST_F(WindowHookFreshReading, HookLeftBetweenARebuildAndItsReHookStaysOff) {
    auto* A = MakeHook("A");
    Control->Rebuild();
    A->SetActive(false);
    Application->ProcessMessages();
    EXPECT_EQ(Send(), (Lines{"control"}));
    A->SetActive(true);
    EXPECT_EQ(Send(), (Lines{"A before", "control", "A after 42"}));
    A->SetActive(false);
    EXPECT_EQ(Send(), (Lines{"control"}));
}

TEST_F(WindowHookFreshReading, ClicksOnTheShownControlPassThroughTheHooks) {
    Control->SetBounds(10, 10, 100, 50);
    int Downs = 0;
    Control->OnMouseDown = [&Downs](TObject*, TMouseButton, TShiftState, int, int) { ++Downs; };
    auto* A = new TFsWindowHook(Form.get());
    bool Swallow = false;
    Lines Seen;
    A->BeforeMessage = [&](TObject*, TMessage& Msg, bool& Handled) {
        if (Msg.Msg != WM_LBUTTONDOWN) return;
        Seen.push_back("before");
        Handled = Swallow;
    };
    A->AfterMessage = [&](TObject*, TMessage& Msg, bool&) {
        if (Msg.Msg == WM_LBUTTONDOWN) Seen.push_back("after");
    };
    A->SetWinControl(Control);
    ShowActive(*Form);
    SendMouse(Control->Widget(), QEvent::MouseButtonPress, QPoint(20, 20));
    SendMouse(Control->Widget(), QEvent::MouseButtonRelease, QPoint(20, 20));
    EXPECT_EQ(Seen, (Lines{"before", "after"}));
    EXPECT_EQ(Downs, 1);
    Swallow = true;
    Seen.clear();
    SendMouse(Control->Widget(), QEvent::MouseButtonPress, QPoint(20, 20));
    SendMouse(Control->Widget(), QEvent::MouseButtonRelease, QPoint(20, 20));
    EXPECT_EQ(Seen, (Lines{"before"}));
    EXPECT_EQ(Downs, 1);
}

TEST_F(WindowHookFreshReading, AControlBeingDesignedIsLeftAlone) {
    Control->Design();
    auto* A = MakeHook("A");
    EXPECT_TRUE(A->Active());
    EXPECT_EQ(A->WinControl(), Control);
    EXPECT_EQ(Send(), (Lines{"control"}));
}

TEST_F(WindowHookFreshReading, WindowRebuiltInsideAHandlerStillAnswersAndIsHookedAgain) {
    MakeHook("A");
    auto* B = MakeHook("B");
    bool Rebuilt = false;
    B->BeforeMessage = [&](TObject*, TMessage& Msg, bool&) {
        if (Msg.Msg != ProbeMsg || Rebuilt) return;
        Rebuilt = true;
        Control->Rebuild();
    };
    Control->HandleNeeded();
    Lines First = Send();
    EXPECT_EQ(First, (Lines{"A before", "control", "B after 42", "A after 42"}));
    EXPECT_EQ(LastResult, 42);
    Application->ProcessMessages();
    EXPECT_EQ(Send(), (Lines{"A before", "control", "B after 42", "A after 42"}));
}

TEST_F(WindowHookFreshReading, AnOwnerlessHookLetsGoOfAFreedControl) {
    auto Hook = std::make_unique<TFsWindowHook>(nullptr);
    Hook->AfterMessage = [this](TObject*, TMessage& Msg, bool&) {
        if (Msg.Msg == ProbeMsg) Log.push_back("after");
    };
    Hook->SetWinControl(Control);
    EXPECT_EQ(Send(), (Lines{"control", "after"}));
    delete Control;
    Control = nullptr;
    EXPECT_EQ(Hook->WinControl(), nullptr);
    EXPECT_FALSE(Hook->NotIsForm());
    Application->ProcessMessages();
    Hook.reset();
}

TEST_F(WindowHookFreshReading, HandlerFreeingTheWholeFormEndsTheMessageSafely) {
    MakeHook("A");
    auto* B = MakeHook("B");
    B->BeforeMessage = [this](TObject*, TMessage& Msg, bool&) {
        if (Msg.Msg != ProbeMsg) return;
        Log.push_back("free form");
        Control = nullptr;
        Form.reset();
    };
    TLoggingControl* Target = Control;
    Log.clear();
    Target->Perform(ProbeMsg);
    EXPECT_EQ(Log, (Lines{"free form"}));
    Application->ProcessMessages();
}

TEST_F(WindowHookFreshReading, HandledAfterStopsTheRemainingAfterHandlers) {
    MakeHook("A");
    auto* B = MakeHook("B");
    B->AfterMessage = [this](TObject*, TMessage& Msg, bool& Handled) {
        if (Msg.Msg != ProbeMsg) return;
        Log.push_back("B after");
        Handled = true;
    };
    EXPECT_EQ(Send(), (Lines{"B before", "A before", "control", "B after"}));
    EXPECT_EQ(LastResult, 42);
}

} // namespace
