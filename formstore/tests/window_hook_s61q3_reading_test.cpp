// Hooks on one control seen through Perform: order of the handlers, what
// a handled before-handler stops, WM_QUIT / WM_DESTROY, errors in handlers
// and the subclassing coming back after the window is rebuilt.
#include "formstore/WindowHook.h"

#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/classes/Filer.h"
#include "platform/classes/ObjectText.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using formstore::TFsWindowHook;

namespace {

constexpr unsigned WM_ORDER_PROBE = WM_USER + 0x21;

class HookMessages : public ::testing::Test {
protected:
    void SetUp() override {
        Application->Initialize();
        Application->OnException = [this](TObject*, const Exception& E) { Errors.push_back(E.Message); };
        Form = std::make_unique<TForm>(nullptr);
        Panel = new TPanel(Form.get());
        Panel->SetParent(Form.get());
        // The control's procedure as it was before any hook: records the
        // message and answers 42 for the probe.
        auto Inner = Panel->WindowProc;
        Panel->WindowProc = [this, Inner](TMessage& M) {
            if (M.Msg == WM_ORDER_PROBE || M.Msg == WM_QUIT || M.Msg == WM_DESTROY) {
                Log.push_back("proc");
                M.Result = 42;
                if (M.Msg == WM_DESTROY)
                    Inner(M);
                return;
            }
            Inner(M);
        };
    }
    void TearDown() override {
        Form.reset();
        Application->ProcessMessages();
        Application->OnException = nullptr;
    }

    TFsWindowHook* AddHook(const std::string& Name, bool HandleBefore = false) {
        auto* Hook = new TFsWindowHook(Form.get());
        Hook->BeforeMessage = [this, Name, HandleBefore](TObject*, TMessage& M, bool& Handled) {
            if (M.Msg == WM_ORDER_PROBE || M.Msg == WM_QUIT || M.Msg == WM_DESTROY) {
                Log.push_back(Name + " before");
                Handled = HandleBefore;
            }
        };
        Hook->AfterMessage = [this, Name](TObject*, TMessage& M, bool&) {
            if (M.Msg == WM_ORDER_PROBE || M.Msg == WM_QUIT || M.Msg == WM_DESTROY)
                Log.push_back(Name + " after " + std::to_string(M.Result));
        };
        Hook->SetWinControl(Panel);
        return Hook;
    }

    std::unique_ptr<TForm> Form;
    TPanel* Panel = nullptr;
    std::vector<std::string> Log;
    std::vector<AnsiString> Errors;
};

using TLog = std::vector<std::string>;

struct OrderCase {
    const char* Name;
    unsigned Msg;
    bool SecondHandles; // the hook attached last sets handled
    TLog Expected;
};

TEST_F(HookMessages, HandlersRunLastAttachedFirstAndHandledStopsAllButDestroy) {
    const OrderCase Cases[] = {
        {"plain", WM_ORDER_PROBE, false, {"b before", "a before", "proc", "b after 42", "a after 42"}},
        {"handled", WM_ORDER_PROBE, true, {"b before"}},
        {"quit", WM_QUIT, false, {"proc", "b after 42", "a after 42"}},
        {"destroy handled", WM_DESTROY, true, {"b before", "proc", "b after 42", "a after 42"}},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        Log.clear();
        auto* A = AddHook("a");
        auto* B = AddHook("b", C.SecondHandles);
        Panel->Perform(C.Msg);
        EXPECT_EQ(Log, C.Expected);
        delete B;
        delete A;
        Application->ProcessMessages();
    }
}

TEST_F(HookMessages, PerformAnswersWhatTheControlsProcedureAnswered) {
    AddHook("a");
    EXPECT_EQ(Panel->Perform(WM_ORDER_PROBE), 42);
}

TEST_F(HookMessages, DetachingOneOfTwoKeepsTheOtherAndTheLastRestoresTheControl) {
    auto* A = AddHook("a");
    auto* B = AddHook("b");
    A->SetActive(false);
    Panel->Perform(WM_ORDER_PROBE);
    EXPECT_EQ(Log, (TLog{"b before", "proc", "b after 42"}));
    Log.clear();
    B->SetWinControl(nullptr);
    Application->ProcessMessages();
    Panel->Perform(WM_ORDER_PROBE);
    EXPECT_EQ(Log, (TLog{"proc"}));
    Log.clear();
    A->SetActive(true);
    Panel->Perform(WM_ORDER_PROBE);
    EXPECT_EQ(Log, (TLog{"a before", "proc", "a after 42"}));
}

TEST_F(HookMessages, AnErrorInAHandlerIsShownAndTheNextHookStillRuns) {
    AddHook("a");
    auto* B = AddHook("b");
    B->BeforeMessage = [](TObject*, TMessage& M, bool&) {
        if (M.Msg == WM_ORDER_PROBE)
            throw Exception("before went wrong");
    };
    B->AfterMessage = [](TObject*, TMessage& M, bool&) {
        if (M.Msg == WM_ORDER_PROBE)
            throw Exception("after went wrong");
    };
    LRESULT R = 0;
    EXPECT_NO_THROW(R = Panel->Perform(WM_ORDER_PROBE));
    EXPECT_EQ(R, 42);
    EXPECT_EQ(Log, (TLog{"a before", "proc", "a after 42"}));
    EXPECT_EQ(Errors, (std::vector<AnsiString>{"before went wrong", "after went wrong"}));
}

TEST_F(HookMessages, AProcedureInstalledOverTheHookIsLeftInPlaceWhenTheHookGoes) {
    auto* A = AddHook("a");
    auto Below = Panel->WindowProc;
    Panel->WindowProc = [this, Below](TMessage& M) {
        if (M.Msg == WM_ORDER_PROBE)
            Log.push_back("over");
        Below(M);
    };
    delete A;
    Application->ProcessMessages();
    Panel->Perform(WM_ORDER_PROBE);
    EXPECT_EQ(Log, (TLog{"over", "proc"}));
}

TEST_F(HookMessages, TheHookComesBackAfterTheWindowIsDestroyed) {
    AddHook("a");
    Panel->Perform(WM_DESTROY);
    Log.clear();
    Application->ProcessMessages();
    Panel->Perform(WM_ORDER_PROBE);
    EXPECT_EQ(Log, (TLog{"a before", "proc", "a after 42"}));
}

TEST_F(HookMessages, FreeingTheHookedControlLeavesTheHookWithoutAControl) {
    auto* A = AddHook("a");
    delete Panel;
    Panel = nullptr;
    EXPECT_EQ(A->WinControl(), nullptr);
    Application->ProcessMessages();
    EXPECT_TRUE(A->Active());
}

TEST_F(HookMessages, MovingTheHookToAnotherControlLeavesTheFirstUnhooked) {
    auto* A = AddHook("a");
    auto* Other = new TPanel(Form.get());
    Other->SetParent(Form.get());
    A->SetWinControl(Other);
    Application->ProcessMessages();
    Panel->Perform(WM_ORDER_PROBE);
    EXPECT_EQ(Log, (TLog{"proc"}));
    Log.clear();
    Other->Perform(WM_ORDER_PROBE);
    EXPECT_EQ(Log, (TLog{"a before", "a after 0"}));
    EXPECT_EQ(A->WinControl(), Other);
    EXPECT_TRUE(A->NotIsForm());
    EXPECT_FALSE(A->IsForm());
}

TEST_F(HookMessages, AHookOnItsOwnerFormIsAForm) {
    auto* A = new TFsWindowHook(Form.get());
    A->SetWinControl(Form.get());
    EXPECT_TRUE(A->IsForm());
    EXPECT_FALSE(A->NotIsForm());
    A->SetWinControl(nullptr);
    EXPECT_FALSE(A->IsForm());
    EXPECT_FALSE(A->NotIsForm());
}

} // namespace

namespace {

TEST_F(HookMessages, AHookOnTheOwnerFormGoesThroughTheFormStreamAsIsForm) {
    auto* A = new TFsWindowHook(Form.get());
    A->SetName("Hook");
    A->SetWinControl(Form.get());
    Form->SetName("HookForm");
    TMemoryStream Binary;
    WriteComponentRes(&Binary, Form.get());
    Binary.SetPosition(0);
    TMemoryStream Text;
    ObjectBinaryToText(&Binary, &Text);
    const std::string Written(static_cast<const char*>(Text.Memory()), static_cast<size_t>(Text.GetSize()));
    EXPECT_NE(Written.find("IsForm = True"), std::string::npos) << Written;
    EXPECT_EQ(Written.find("WinControl"), std::string::npos) << Written;

    auto Copy = std::make_unique<TForm>(nullptr);
    Binary.SetPosition(0);
    ReadComponentRes(&Binary, Copy.get());
    auto* Read = dynamic_cast<TFsWindowHook*>(Copy->FindComponent("Hook"));
    ASSERT_NE(Read, nullptr);
    EXPECT_EQ(Read->WinControl(), Copy.get());
    EXPECT_TRUE(Read->IsForm());
}

} // namespace

namespace {

// Handlers that change the hooks of the control while a message is on its
// way: each hook still sees the message at most once, before and after,
// and a freed one is not called.
TEST_F(HookMessages, HandlersThatChangeTheHooksMidMessage) {
    struct Case {
        const char* Name;
        bool InAfter; // the change is made by b's after-handler, else before
        int Change;   // 0: free a, 1: free b itself, 2: add hook c, 3: free the control
        TLog Expected;
    };
    const Case Cases[] = {
        {"before frees the next hook", false, 0, {"b before", "proc", "b after 42"}},
        {"before frees its own hook", false, 1, {"b before", "a before", "proc", "a after 42"}},
        {"before adds a hook", false, 2, {"b before", "a before", "proc", "c after 42", "b after 42", "a after 42"}},
        {"after frees the next hook", true, 0, {"b before", "a before", "proc", "b after 42"}},
        {"after frees its own hook", true, 1, {"b before", "a before", "proc", "b after 42", "a after 42"}},
        {"after frees the control", true, 3, {"b before", "a before", "proc", "b after 42"}},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        if (!Panel) {
            Panel = new TPanel(Form.get());
            Panel->SetParent(Form.get());
            auto Inner = Panel->WindowProc;
            Panel->WindowProc = [this, Inner](TMessage& M) {
                if (M.Msg == WM_ORDER_PROBE) {
                    Log.push_back("proc");
                    M.Result = 42;
                    return;
                }
                Inner(M);
            };
        }
        Log.clear();
        auto* A = AddHook("a");
        auto* B = AddHook("b");
        TFsWindowHook* Added = nullptr;
        bool Done = false;
        auto Change = [&, Case = C.Change] {
            if (Done)
                return;
            Done = true;
            switch (Case) {
            case 0: delete A; A = nullptr; break;
            case 1: delete B; B = nullptr; break;
            case 2: Added = AddHook("c"); break;
            default: delete Panel; Panel = nullptr; break;
            }
        };
        auto& Event = C.InAfter ? B->AfterMessage : B->BeforeMessage;
        auto Plain = Event;
        Event = [Plain, Change](TObject* S, TMessage& M, bool& H) mutable {
            auto Keep = Plain; // the event may be freed with its hook
            auto Act = Change;
            Keep(S, M, H);
            if (M.Msg == WM_ORDER_PROBE)
                Act();
        };
        if (Panel)
            Panel->Perform(WM_ORDER_PROBE);
        EXPECT_EQ(Log, C.Expected);
        delete Added;
        delete B;
        delete A;
        Application->ProcessMessages();
    }
}

TEST_F(HookMessages, AnAfterHandlerThatSetsHandledStopsTheEarlierHooks) {
    AddHook("a");
    auto* B = AddHook("b");
    auto Plain = B->AfterMessage;
    B->AfterMessage = [Plain](TObject* S, TMessage& M, bool& H) {
        Plain(S, M, H);
        H = true;
    };
    Panel->Perform(WM_ORDER_PROBE);
    EXPECT_EQ(Log, (TLog{"b before", "a before", "proc", "b after 42"}));
}

TEST_F(HookMessages, AnInactiveHookAttachesOnlyWhenMadeActive) {
    auto* A = new TFsWindowHook(Form.get());
    A->AfterMessage = [this](TObject*, TMessage& M, bool&) {
        if (M.Msg == WM_ORDER_PROBE)
            Log.push_back("a after");
    };
    A->SetActive(false);
    A->SetWinControl(Panel);
    EXPECT_EQ(A->WinControl(), Panel);
    Panel->Perform(WM_ORDER_PROBE);
    EXPECT_EQ(Log, (TLog{"proc"}));
    A->SetActive(true);
    Panel->Perform(WM_ORDER_PROBE);
    EXPECT_EQ(Log, (TLog{"proc", "proc", "a after"}));
}

} // namespace

namespace {

TEST_F(HookMessages, TheUtilityWindowIgnoresHooksItDoesNotKnow) {
    AddHook("a");
    HWND Utility = TFsWindowHook::GetHookHandle();
    ASSERT_NE(Utility, nullptr);
    int Stranger = 0;
    for (unsigned Msg : {formstore::CM_RECREATEWINDOW, formstore::CM_DESTROYHOOK})
        EXPECT_TRUE(PostMessage(Utility, Msg, 0, reinterpret_cast<LPARAM>(&Stranger)));
    Application->ProcessMessages();
    EXPECT_TRUE(Errors.empty());
    Panel->Perform(WM_ORDER_PROBE);
    EXPECT_EQ(Log, (TLog{"a before", "proc", "a after 42"}));
}

TEST_F(HookMessages, AHookFreedWhileTheRebuildIsPendingLeavesTheControlUnhooked) {
    auto* A = AddHook("a");
    Panel->Perform(WM_DESTROY);
    delete A;
    Application->ProcessMessages();
    Log.clear();
    Panel->Perform(WM_ORDER_PROBE);
    EXPECT_EQ(Log, (TLog{"proc"}));
    // and a new hook still attaches cleanly
    AddHook("b");
    Panel->Perform(WM_ORDER_PROBE);
    EXPECT_EQ(Log, (TLog{"proc", "b before", "proc", "b after 42"}));
}

} // namespace

namespace {

std::string StreamText(TMemoryStream& Binary) {
    Binary.SetPosition(0);
    TMemoryStream Text;
    ObjectBinaryToText(&Binary, &Text);
    Binary.SetPosition(0);
    return std::string(static_cast<const char*>(Text.Memory()), static_cast<size_t>(Text.GetSize()));
}

// What the form stream says about the hooked control: a control other than
// the form by reference, the form by the flag alone, nothing when unhooked;
// against an ancestor the flag is written only where it differs.
TEST_F(HookMessages, TheFormStreamNamesTheHookedControl) {
    enum Target { None, ThePanel, TheForm };
    struct Case {
        const char* Name;
        Target Hooked;
        int Ancestor; // -1: no ancestor, else the ancestor's Target
        const char* Present;
        std::vector<const char*> Absent;
    };
    const Case Cases[] = {
        {"panel", ThePanel, -1, "WinControl = Panel1", {"IsForm"}},
        {"form", TheForm, -1, "IsForm = True", {"WinControl"}},
        {"nothing", None, -1, "object Hook", {"IsForm", "WinControl"}},
        {"form over a form", TheForm, TheForm, "object Hook", {"IsForm", "WinControl"}},
        {"nothing over a form", None, TheForm, "IsForm = False", {"WinControl"}},
    };
    Form->SetName("HookForm");
    Panel->SetName("Panel1");
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        auto Target = [&](int T) -> TWinControl* {
            return T == ThePanel ? static_cast<TWinControl*>(Panel) : T == TheForm ? Form.get() : nullptr;
        };
        auto* Hook = new TFsWindowHook(Form.get());
        Hook->SetName("Hook");
        std::unique_ptr<TForm> Ancestor;
        if (C.Ancestor >= 0) {
            Ancestor = std::make_unique<TForm>(nullptr);
            Ancestor->SetName("HookForm");
            auto* Old = new TFsWindowHook(Ancestor.get());
            Old->SetName("Hook");
            Old->SetWinControl(C.Ancestor == TheForm ? Ancestor.get() : nullptr);
        }
        Hook->SetWinControl(Target(C.Hooked));
        TMemoryStream Binary;
        {
            TWriter Writer(&Binary);
            Writer.WriteSignature();
            Writer.WriteDescendent(Form.get(), Ancestor.get());
        }
        const std::string Written = StreamText(Binary);
        EXPECT_NE(Written.find(C.Present), std::string::npos) << Written;
        for (const char* Word : C.Absent)
            EXPECT_EQ(Written.find(Word), std::string::npos) << Word << "\n" << Written;
        if (C.Ancestor < 0) {
            auto Copy = std::make_unique<TForm>(nullptr);
            ReadComponentRes(&Binary, Copy.get());
            auto* Read = dynamic_cast<TFsWindowHook*>(Copy->FindComponent("Hook"));
            ASSERT_NE(Read, nullptr);
            TWinControl* Expected = C.Hooked == ThePanel ? dynamic_cast<TWinControl*>(Copy->FindComponent("Panel1"))
                                  : C.Hooked == TheForm ? Copy.get() : nullptr;
            EXPECT_EQ(Read->WinControl(), Expected);
            if (C.Hooked == ThePanel) {
                EXPECT_NE(Expected, nullptr);
            }
        }
        delete Hook;
        Application->ProcessMessages();
    }
}

} // namespace

namespace {

TEST_F(HookMessages, TheFormFlagHooksNothingWhenTheOwnerIsNotAForm) {
    const std::string Source = "object Root: TPanel\n"
                               "  object Hook: TFsWindowHook\n"
                               "    IsForm = True\n"
                               "  end\n"
                               "end\n";
    TMemoryStream Text;
    Text.Write(Source.data(), static_cast<int>(Source.size()));
    Text.SetPosition(0);
    TMemoryStream Binary;
    ObjectTextToBinary(&Text, &Binary);
    Binary.SetPosition(0);
    auto* Root = new TPanel(Form.get());
    ReadComponentRes(&Binary, Root);
    auto* Read = dynamic_cast<TFsWindowHook*>(Root->FindComponent("Hook"));
    ASSERT_NE(Read, nullptr);
    EXPECT_EQ(Read->WinControl(), nullptr);
    EXPECT_FALSE(Read->IsForm());
}

TEST_F(HookMessages, AHookWithoutOwnerLetsGoOfTheFreedControl) {
    auto Hook = std::make_unique<TFsWindowHook>(nullptr);
    Hook->SetWinControl(Panel);
    delete Panel;
    Panel = nullptr;
    EXPECT_EQ(Hook->WinControl(), nullptr);
    Hook.reset();
    Application->ProcessMessages();
}

} // namespace
