// Message hooks on a windowed control, through the hook component's public
// calls and messages sent to the control.
#include "formstore/WindowHook.h"

#include "platform/gui/Controls.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/Exceptions.h"
#include "platform/classes/Filer.h"
#include "platform/classes/ObjectText.h"
#include "platform/rtl/Streams.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

using namespace formstore;

namespace {

constexpr unsigned WM_HOOK_PROBE = WM_USER + 71;

struct HookedPanel : ::testing::Test {
    std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
    TPanel* Panel = new TPanel(Form.get());
    std::vector<std::string> Log;

    void SetUp() override {
        Panel->SetParent(Form.get());
        // The control's own handling of the probe message, for the log.
        TWndMethod Own = Panel->WindowProc;
        Panel->WindowProc = [this, Own](TMessage& M) {
            if (M.Msg == WM_HOOK_PROBE || M.Msg == WM_QUIT || M.Msg == WM_DESTROY) {
                Log.push_back("own");
                M.Result = 42;
                return;
            }
            Own(M);
        };
    }

    // A hook on the panel that logs "<name>.before" / "<name>.after" and sets
    // handled in its before-handler when told to.
    TFsWindowHook* AddHook(const std::string& Name, bool HandleBefore = false) {
        auto* Hook = new TFsWindowHook(Form.get());
        Hook->BeforeMessage = [this, Name, HandleBefore](TObject*, TMessage& M, bool& Handled) {
            if (M.Msg == WM_HOOK_PROBE || M.Msg == WM_QUIT || M.Msg == WM_DESTROY) {
                Log.push_back(Name + ".before");
                Handled = HandleBefore;
            }
        };
        Hook->AfterMessage = [this, Name](TObject*, TMessage& M, bool&) {
            if (M.Msg == WM_HOOK_PROBE || M.Msg == WM_QUIT || M.Msg == WM_DESTROY)
                Log.push_back(Name + ".after:" + std::to_string(M.Result));
        };
        Hook->SetWinControl(Panel);
        return Hook;
    }

    std::vector<std::string> Send(unsigned Msg) {
        Log.clear();
        Panel->Perform(Msg);
        return Log;
    }
};

using Strings = std::vector<std::string>;

TEST_F(HookedPanel, HandlersRunFromTheLastAttachedAndHandledStopsAllButDestroy) {
    struct Case {
        const char* Name;
        bool FirstHandles;
        bool SecondHandles;
        unsigned Msg;
        Strings Expected;
    };
    const Case Cases[] = {
        {"nobody handles", false, false, WM_HOOK_PROBE,
         {"b.before", "a.before", "own", "b.after:42", "a.after:42"}},
        {"last attached handles", false, true, WM_HOOK_PROBE, {"b.before"}},
        {"first attached handles", true, false, WM_HOOK_PROBE, {"b.before", "a.before"}},
        {"destroy always runs the procedure", false, true, WM_DESTROY,
         {"b.before", "own", "b.after:42", "a.after:42"}},
        {"quit skips the before-handlers", true, true, WM_QUIT,
         {"own", "b.after:42", "a.after:42"}},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        std::unique_ptr<TFsWindowHook> A(AddHook("a", C.FirstHandles));
        std::unique_ptr<TFsWindowHook> B(AddHook("b", C.SecondHandles));
        EXPECT_EQ(Send(C.Msg), C.Expected);
    }
}

TEST_F(HookedPanel, DetachingOneKeepsTheOtherAndDetachingBothRestoresTheControl) {
    TFsWindowHook* A = AddHook("a");
    TFsWindowHook* B = AddHook("b");
    B->SetActive(false);
    EXPECT_FALSE(B->Active());
    EXPECT_EQ(Send(WM_HOOK_PROBE), (Strings{"a.before", "own", "a.after:42"}));
    A->SetActive(false);
    EXPECT_EQ(Send(WM_HOOK_PROBE), Strings{"own"});
    // Attached again: the one attached last runs first.
    A->SetActive(true);
    B->SetActive(true);
    EXPECT_TRUE(A->Active());
    EXPECT_EQ(Send(WM_HOOK_PROBE), (Strings{"b.before", "a.before", "own", "b.after:42", "a.after:42"}));
}

TEST_F(HookedPanel, AProcedureInstalledOverTheHookStaysWhenTheHookLeaves) {
    std::unique_ptr<TFsWindowHook> A(AddHook("a"));
    TWndMethod Under = Panel->WindowProc;
    Panel->WindowProc = [this, Under](TMessage& M) {
        if (M.Msg == WM_HOOK_PROBE)
            Log.push_back("over");
        Under(M);
    };
    A->SetActive(false);
    EXPECT_EQ(Send(WM_HOOK_PROBE), (Strings{"over", "own"}));
}

TEST_F(HookedPanel, AHandlerErrorIsShownAndTheNextHookAndTheMessageGoOn) {
    std::vector<std::string> Shown;
    Application->OnException = [&](TObject*, const Exception& E) { Shown.push_back(E.Message.c_str()); };
    std::unique_ptr<TFsWindowHook> A(AddHook("a"));
    std::unique_ptr<TFsWindowHook> B(new TFsWindowHook(Form.get()));
    B->BeforeMessage = [](TObject*, TMessage& M, bool&) {
        if (M.Msg == WM_HOOK_PROBE)
            throw Exception("hook failed");
    };
    B->SetWinControl(Panel);
    EXPECT_EQ(Send(WM_HOOK_PROBE), (Strings{"a.before", "own", "a.after:42"}));
    EXPECT_EQ(Shown, Strings{"hook failed"});
    Application->OnException = nullptr;
}

TEST_F(HookedPanel, MovingTheHookToAnotherControlLeavesTheFirstOneAlone) {
    TFsWindowHook* A = AddHook("a");
    EXPECT_EQ(A->WinControl(), Panel);
    EXPECT_NE(TFsWindowHook::GetHookHandle(), HWND(-1));
    auto* Other = new TPanel(Form.get());
    Other->SetParent(Form.get());
    A->SetWinControl(Other);
    EXPECT_EQ(A->WinControl(), Other);
    EXPECT_TRUE(A->Active());
    Application->ProcessMessages(); // frees the old control hook
    EXPECT_EQ(Send(WM_HOOK_PROBE), Strings{"own"});
    Log.clear();
    Other->Perform(WM_HOOK_PROBE);
    EXPECT_EQ(Log, (Strings{"a.before", "a.after:0"}));
}

TEST_F(HookedPanel, TheHookComesBackAfterTheWindowWasDestroyed) {
    std::unique_ptr<TFsWindowHook> A(AddHook("a"));
    Send(WM_DESTROY);
    // Between the destroy and the re-hook the control is not subclassed.
    EXPECT_EQ(Send(WM_HOOK_PROBE), Strings{"own"});
    Application->ProcessMessages();
    EXPECT_EQ(Send(WM_HOOK_PROBE), (Strings{"a.before", "own", "a.after:42"}));
}

TEST_F(HookedPanel, FreeingTheHookedControlClearsTheHook) {
    std::unique_ptr<TFsWindowHook> A(AddHook("a"));
    delete Panel;
    Panel = nullptr;
    EXPECT_EQ(A->WinControl(), nullptr);
    Application->ProcessMessages();
}

TEST_F(HookedPanel, FormTestsAndInactiveHooksDoNotAttach) {
    auto* Hook = new TFsWindowHook(Form.get());
    EXPECT_TRUE(Hook->Active());
    EXPECT_FALSE(Hook->IsForm());
    EXPECT_FALSE(Hook->NotIsForm());
    Hook->SetActive(false);
    Hook->SetWinControl(Panel);
    EXPECT_FALSE(Hook->Active());
    EXPECT_TRUE(Hook->NotIsForm());
    EXPECT_FALSE(Hook->IsForm());
    Log.clear();
    Panel->Perform(WM_HOOK_PROBE);
    EXPECT_EQ(Log, Strings{"own"});
    Hook->SetWinControl(Form.get());
    EXPECT_TRUE(Hook->IsForm());
    EXPECT_FALSE(Hook->NotIsForm());
}

TEST_F(HookedPanel, AnAfterHandlerThatHandlesStopsTheRemainingOnes) {
    std::unique_ptr<TFsWindowHook> A(AddHook("a"));
    std::unique_ptr<TFsWindowHook> B(AddHook("b"));
    B->AfterMessage = [this](TObject*, TMessage& M, bool& Handled) {
        if (M.Msg == WM_HOOK_PROBE) {
            Log.push_back("b.after");
            Handled = true;
        }
    };
    EXPECT_EQ(Send(WM_HOOK_PROBE), (Strings{"b.before", "a.before", "own", "b.after"}));
}

TEST_F(HookedPanel, AFailingControlProcedureStillReachesTheAfterHandlers) {
    std::unique_ptr<TFsWindowHook> A(AddHook("a"));
    TWndMethod Inner = Panel->WindowProc;
    A->SetActive(false);
    Panel->WindowProc = [this, Inner](TMessage& M) {
        if (M.Msg == WM_HOOK_PROBE) {
            Log.push_back("fails");
            throw Exception("procedure failed");
        }
        Inner(M);
    };
    A->SetActive(true);
    Log.clear();
    EXPECT_THROW(Panel->Perform(WM_HOOK_PROBE), Exception);
    EXPECT_EQ(Log, (Strings{"a.before", "fails", "a.after:0"}));
}

TEST_F(HookedPanel, HooksMayLeaveOrBeFreedWhileAMessageIsHandled) {
    struct Case {
        const char* Name;
        bool Free;        // free the other hook rather than moving it off
        bool InBefore;    // from the before-handler rather than the after-handler
        Strings Expected; // what the remaining handlers and the control log
    };
    const Case Cases[] = {
        {"moved off before", false, true, {"b.before", "own", "b.after:42"}},
        {"freed before", true, true, {"b.before", "own", "b.after:42"}},
        {"moved off after", false, false, {"b.before", "a.before", "own", "b.after:42"}},
        {"freed after", true, false, {"b.before", "a.before", "own", "b.after:42"}},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        TFsWindowHook* A = AddHook("a");
        std::unique_ptr<TFsWindowHook> B(AddHook("b"));
        auto Drop = [&C, &A]() {
            if (!A)
                return;
            if (C.Free)
                delete A;
            else
                A->SetWinControl(nullptr);
            A = C.Free ? nullptr : A;
        };
        THookMessageEvent Before = B->BeforeMessage, After = B->AfterMessage;
        B->BeforeMessage = [&, Before](TObject* S, TMessage& M, bool& H) {
            Before(S, M, H);
            if (M.Msg == WM_HOOK_PROBE && C.InBefore)
                Drop();
        };
        B->AfterMessage = [&, After](TObject* S, TMessage& M, bool& H) {
            After(S, M, H);
            if (M.Msg == WM_HOOK_PROBE && !C.InBefore)
                Drop();
        };
        EXPECT_EQ(Send(WM_HOOK_PROBE), C.Expected);
        Application->ProcessMessages();
        EXPECT_EQ(Send(WM_HOOK_PROBE), (Strings{"b.before", "own", "b.after:42"}));
        B.reset();
        delete A;
        Application->ProcessMessages();
        EXPECT_EQ(Send(WM_HOOK_PROBE), Strings{"own"});
    }
}

TEST_F(HookedPanel, TheLastHookLeavingInItsOwnHandlerLetsTheMessageFinish) {
    TFsWindowHook* A = AddHook("a");
    THookMessageEvent Before = A->BeforeMessage;
    A->BeforeMessage = [A, Before](TObject* S, TMessage& M, bool& H) {
        Before(S, M, H);
        if (M.Msg == WM_HOOK_PROBE)
            A->SetWinControl(nullptr);
    };
    EXPECT_EQ(Send(WM_HOOK_PROBE), (Strings{"a.before", "own"}));
    EXPECT_EQ(Send(WM_HOOK_PROBE), Strings{"own"});
    Application->ProcessMessages();
    EXPECT_EQ(Send(WM_HOOK_PROBE), Strings{"own"});
    A->SetWinControl(Panel);
    EXPECT_EQ(Send(WM_HOOK_PROBE), (Strings{"a.before", "own"}));
}

TEST_F(HookedPanel, TheLastHookLeavingAndWaitingForMessagesInItsHandlerLetsTheMessageFinish) {
    std::unique_ptr<TFsWindowHook> A(AddHook("a"));
    A->AfterMessage = [this](TObject*, TMessage& M, bool&) {
        if (M.Msg == WM_HOOK_PROBE)
            Log.push_back("a.after");
    };
    THookMessageEvent Before = A->BeforeMessage;
    TFsWindowHook* Self = A.get();
    A->BeforeMessage = [Self, Before](TObject* S, TMessage& M, bool& H) {
        Before(S, M, H);
        if (M.Msg == WM_HOOK_PROBE) {
            Self->SetWinControl(nullptr);
            Application->ProcessMessages();
        }
    };
    EXPECT_EQ(Send(WM_HOOK_PROBE), (Strings{"a.before", "own"}));
    EXPECT_EQ(Send(WM_HOOK_PROBE), Strings{"own"});
}

TEST_F(HookedPanel, HookingMakesSureTheControlHasAWindow) {
    auto* Fresh = new TPanel(Form.get());
    ASSERT_FALSE(Fresh->HandleAllocated());
    std::unique_ptr<TFsWindowHook> Hook(new TFsWindowHook(Form.get()));
    Hook->SetWinControl(Fresh);
    EXPECT_TRUE(Fresh->HandleAllocated());
}

// A hook class of its own sees the messages through the overridable calls.
struct TCountingHook : TFsWindowHook {
    using TFsWindowHook::TFsWindowHook;
    int Before = 0, After = 0;
    void DoBeforeMessage(TMessage& Msg, bool& Handled) override {
        Before += Msg.Msg == WM_HOOK_PROBE;
        TFsWindowHook::DoBeforeMessage(Msg, Handled);
    }
    void DoAfterMessage(TMessage& Msg, bool& Handled) override {
        After += Msg.Msg == WM_HOOK_PROBE;
        TFsWindowHook::DoAfterMessage(Msg, Handled);
    }
};

TEST_F(HookedPanel, ADerivedHookIsCalledThroughItsOverrides) {
    auto Hook = std::make_unique<TCountingHook>(Form.get());
    Hook->SetWinControl(Panel);
    EXPECT_EQ(Send(WM_HOOK_PROBE), Strings{"own"});
    EXPECT_EQ(Hook->Before, 1);
    EXPECT_EQ(Hook->After, 1);
}

TEST_F(HookedPanel, AControlFreedBeforeItsReHookArrivesIsLeftAlone) {
    std::unique_ptr<TFsWindowHook> A(AddHook("a"));
    Send(WM_DESTROY);
    delete Panel;
    Panel = nullptr;
    Application->ProcessMessages();
    EXPECT_EQ(A->WinControl(), nullptr);
    EXPECT_TRUE(A->Active());
}

TEST_F(HookedPanel, AHookWithoutOwnerForgetsItsControlWhenTheControlIsFreed) {
    std::unique_ptr<TFsWindowHook> Hook(new TFsWindowHook(nullptr));
    Hook->SetWinControl(Panel);
    EXPECT_EQ(Hook->WinControl(), Panel);
    delete Panel;
    Panel = nullptr;
    EXPECT_EQ(Hook->WinControl(), nullptr);
    EXPECT_FALSE(Hook->NotIsForm());
    Application->ProcessMessages();
}

std::string FormText(TComponent* Root) {
    TMemoryStream Bin, Text;
    WriteComponentRes(&Bin, Root);
    Bin.SetPosition(0);
    ObjectBinaryToText(&Bin, &Text);
    return std::string(static_cast<const char*>(Text.Memory()), static_cast<size_t>(Text.GetSize()));
}

TEST(WindowHookStream, ReadsAndWritesTheHookedControlOrTheOwnerForm) {
    const std::string Text = "object HookForm: TForm\n"
                             "  object Panel1: TPanel\n"
                             "  end\n"
                             "  object OnPanel: TFsWindowHook\n"
                             "    WinControl = Panel1\n"
                             "  end\n"
                             "  object OnForm: TFsWindowHook\n"
                             "    Active = False\n"
                             "    IsForm = True\n"
                             "  end\n"
                             "end\n";
    TMemoryStream In, Bin;
    In.Write(Text.data(), static_cast<int>(Text.size()));
    In.SetPosition(0);
    ObjectTextToBinary(&In, &Bin);
    Bin.SetPosition(0);
    auto Form = std::make_unique<TForm>(nullptr);
    ReadComponentRes(&Bin, Form.get());
    auto* OnPanel = dynamic_cast<TFsWindowHook*>(Form->FindComponent("OnPanel"));
    auto* OnForm = dynamic_cast<TFsWindowHook*>(Form->FindComponent("OnForm"));
    ASSERT_NE(OnPanel, nullptr);
    ASSERT_NE(OnForm, nullptr);
    EXPECT_EQ(OnPanel->WinControl(), Form->FindComponent("Panel1"));
    EXPECT_TRUE(OnPanel->Active());
    EXPECT_EQ(OnForm->WinControl(), Form.get());
    EXPECT_FALSE(OnForm->Active());

    const std::string Written = FormText(Form.get());
    EXPECT_NE(Written.find("WinControl = Panel1"), std::string::npos) << Written;
    const size_t IsFormAt = Written.find("IsForm = True");
    EXPECT_NE(IsFormAt, std::string::npos) << Written;
    EXPECT_EQ(Written.find("IsForm", IsFormAt + 1), std::string::npos) << Written;
    EXPECT_EQ(Written.find("WinControl = HookForm"), std::string::npos) << Written;
}

TEST(WindowHookStream, AnInheritedFormWritesIsFormOnlyWhereItDiffersFromTheAncestor) {
    struct Case {
        const char* Name;
        bool AncestorOnForm;
        bool DescendantOnForm;
        const char* Expected; // the IsForm line written, or "" for none
    };
    const Case Cases[] = {
        {"both on the form", true, true, ""},
        {"moved off the form", true, false, "IsForm = False"},
        {"moved onto the form", false, true, "IsForm = True"},
        {"neither on the form", false, false, ""},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        auto Make = [](bool OnForm) {
            auto Form = std::make_unique<TForm>(nullptr);
            Form->SetName("HookForm");
            auto* Panel = new TPanel(Form.get());
            Panel->SetName("Panel1");
            Panel->SetParent(Form.get());
            auto* Hook = new TFsWindowHook(Form.get());
            Hook->SetName("Hook1");
            Hook->SetWinControl(OnForm ? static_cast<TWinControl*>(Form.get()) : Panel);
            return Form;
        };
        auto Ancestor = Make(C.AncestorOnForm);
        auto Descendant = Make(C.DescendantOnForm);
        TMemoryStream Bin, Text;
        TWriter Writer(&Bin);
        Writer.WriteSignature();
        Writer.WriteDescendent(Descendant.get(), Ancestor.get());
        Bin.SetPosition(0);
        ObjectBinaryToText(&Bin, &Text);
        const std::string Written(static_cast<const char*>(Text.Memory()),
                                  static_cast<size_t>(Text.GetSize()));
        if (*C.Expected)
            EXPECT_NE(Written.find(C.Expected), std::string::npos) << Written;
        else
            EXPECT_EQ(Written.find("IsForm"), std::string::npos) << Written;
    }
}

} // namespace
