// The window hook seen from its users: messages sent to a real control,
// hooks attached and detached through their properties, a control whose
// window is rebuilt, and a form stream that carries the hook.
#include "formstore/WindowHook.h"

#include "platform/classes/Filer.h"
#include "platform/classes/ObjectText.h"
#include "platform/classes/TypInfo.h"
#include "platform/gui/Controls.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

using formstore::TFsWindowHook;
using formstore::THookMessageEvent;

constexpr unsigned WM_USER_PROBE = WM_USER + 7;
constexpr unsigned WM_FAIL = WM_USER + 8;

// A control whose own window procedure writes "own" to the log for the
// probe messages, answers them with a result of its own and fails on one.
class TProbeControl : public TWinControl {
public:
    TProbeControl(TComponent* AOwner, std::vector<std::string>& Log)
        : TWinControl(AOwner), FLog(Log) {}
    AnsiString ClassName() const override { return "TProbeControl"; }

    void WndProc(TMessage& Message) override {
        if (Message.Msg == WM_USER_PROBE || Message.Msg == WM_DESTROY || Message.Msg == WM_QUIT) {
            FLog.push_back("own");
            Message.Result = 42;
        }
        if (Message.Msg == WM_FAIL) throw Exception("own procedure failed");
        TWinControl::WndProc(Message);
    }
    // Destroys the control's window and makes a new one.
    void RebuildWindow() {
        DestroyWidget();
        HandleNeeded();
    }

private:
    std::vector<std::string>& FLog;
};

class WindowHookStrictReading : public ::testing::Test {
protected:
    void SetUp() override {
        Application->Initialize();
        Application->OnException = [this](TObject*, const Exception& E) {
            Errors.push_back(E.Message);
        };
        Form = std::make_unique<TForm>(nullptr);
        Control = new TProbeControl(Form.get(), Log);
        Control->SetParent(Form.get());
        Control->HandleNeeded();
    }
    void TearDown() override {
        Form.reset();
        Application->ProcessMessages();
        Application->OnException = nullptr;
    }

    // A hook on Control named Name that logs "<Name>.before" and
    // "<Name>.after" and sets Handled in its before-handler when asked.
    TFsWindowHook* AddHook(const std::string& Name, bool HandleBefore = false,
                           TWinControl* Target = nullptr) {
        auto* Hook = new TFsWindowHook(Form.get());
        Hook->BeforeMessage = [this, Name, HandleBefore, Hook](TObject* Sender, TMessage& M,
                                                               bool& Handled) {
            EXPECT_EQ(Sender, Hook);
            if (M.Msg == WM_USER_PROBE || M.Msg == WM_DESTROY || M.Msg == WM_QUIT) {
                Log.push_back(Name + ".before");
                if (HandleBefore) Handled = true;
            }
        };
        Hook->AfterMessage = [this, Name](TObject*, TMessage& M, bool&) {
            if (M.Msg == WM_USER_PROBE || M.Msg == WM_DESTROY || M.Msg == WM_QUIT || M.Msg == WM_FAIL) {
                Log.push_back(Name + ".after");
                LastResult = M.Result;
            }
        };
        Hook->SetWinControl(Target ? Target : Control);
        return Hook;
    }

    std::vector<std::string> Send(unsigned Msg = WM_USER_PROBE) {
        Log.clear();
        Control->Perform(Msg);
        return Log;
    }

    using TLog = std::vector<std::string>;
    std::vector<std::string> Log;
    std::vector<AnsiString> Errors;
    LRESULT LastResult = 0;
    std::unique_ptr<TForm> Form;
    TProbeControl* Control = nullptr;
};

TEST_F(WindowHookStrictReading, NewHookIsActiveWithoutControl) {
    TFsWindowHook Hook(nullptr);
    EXPECT_TRUE(Hook.Active());
    EXPECT_EQ(Hook.WinControl(), nullptr);
    EXPECT_FALSE(Hook.IsForm());
    EXPECT_FALSE(Hook.NotIsForm());
    // Activating without a control still leaves it active.
    Hook.SetActive(false);
    EXPECT_FALSE(Hook.Active());
    Hook.SetActive(true);
    EXPECT_TRUE(Hook.Active());
}

TEST_F(WindowHookStrictReading, HandlersRunLastAttachedFirstAroundTheOwnProcedure) {
    struct TCase {
        const char* Name;
        unsigned Msg;
        bool FirstHandles; // the hook attached first sets Handled before
        bool SecondHandles;
        TLog Expected;
    };
    const TCase Cases[] = {
        {"plain message", WM_USER_PROBE, false, false,
         {"B.before", "A.before", "own", "B.after", "A.after"}},
        {"last attached handles", WM_USER_PROBE, false, true, {"B.before"}},
        {"first attached handles", WM_USER_PROBE, true, false, {"B.before", "A.before"}},
        {"destroy always reaches the control", WM_DESTROY, false, true,
         {"B.before", "own", "B.after", "A.after"}},
        {"quit skips the before-handlers", WM_QUIT, true, true, {"own", "B.after", "A.after"}},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        auto* A = AddHook("A", C.FirstHandles);
        auto* B = AddHook("B", C.SecondHandles);
        EXPECT_EQ(Send(C.Msg), C.Expected);
        delete B;
        delete A;
        Application->ProcessMessages();
        EXPECT_EQ(Send(C.Msg), TLog{"own"});
    }
}

TEST_F(WindowHookStrictReading, AfterHandlersSeeTheControlsResult) {
    AddHook("A");
    EXPECT_EQ(Control->Perform(WM_USER_PROBE), 42);
    EXPECT_EQ(LastResult, 42);
}

TEST_F(WindowHookStrictReading, AnAfterHandlerThatHandlesStopsTheRest) {
    AddHook("A");
    auto* B = AddHook("B");
    B->AfterMessage = [this](TObject*, TMessage& M, bool& Handled) {
        if (M.Msg == WM_USER_PROBE) Log.push_back("B.after");
        Handled = true;
    };
    EXPECT_EQ(Send(), (TLog{"B.before", "A.before", "own", "B.after"}));
}

TEST_F(WindowHookStrictReading, AfterHandlersRunWhenTheOwnProcedureFails) {
    AddHook("A");
    Log.clear();
    EXPECT_THROW(Control->Perform(WM_FAIL), Exception);
    EXPECT_EQ(Log, TLog{"A.after"});
}

TEST_F(WindowHookStrictReading, HandlerErrorsGoToTheApplicationAndTheMessageGoesOn) {
    auto* A = AddHook("A");
    auto* B = new TFsWindowHook(Form.get());
    B->BeforeMessage = [](TObject*, TMessage& M, bool&) {
        if (M.Msg == WM_USER_PROBE) throw Exception("before went wrong");
    };
    B->AfterMessage = [](TObject*, TMessage& M, bool&) {
        if (M.Msg == WM_USER_PROBE) throw Exception("after went wrong");
    };
    B->SetWinControl(Control);
    ASSERT_NE(A, B);
    EXPECT_NO_THROW(EXPECT_EQ(Control->Perform(WM_USER_PROBE), 42));
    EXPECT_EQ(Log, (TLog{"A.before", "own", "A.after"}));
    EXPECT_EQ(Errors, (std::vector<AnsiString>{"before went wrong", "after went wrong"}));
}

TEST_F(WindowHookStrictReading, DetachingOneOfTwoKeepsTheOtherAndTheLastRestores) {
    auto* A = AddHook("A");
    auto* B = AddHook("B");
    B->SetActive(false);
    EXPECT_FALSE(B->Active());
    EXPECT_EQ(Send(), (TLog{"A.before", "own", "A.after"}));
    A->SetActive(false);
    EXPECT_EQ(Send(), TLog{"own"});
    // Attaching again puts the hook last in line.
    A->SetActive(true);
    B->SetActive(true);
    EXPECT_EQ(Send(), (TLog{"B.before", "A.before", "own", "B.after", "A.after"}));
}

TEST_F(WindowHookStrictReading, AProcedureInstalledOverTheHookIsLeftInPlace) {
    auto* A = AddHook("A");
    TWndMethod Hooked = Control->WindowProc;
    Control->WindowProc = [this, Hooked](TMessage& M) {
        if (M.Msg == WM_USER_PROBE) Log.push_back("outer");
        Hooked(M);
    };
    EXPECT_EQ(Send(), (TLog{"outer", "A.before", "own", "A.after"}));
    A->SetActive(false);
    EXPECT_EQ(Send().front(), "outer");
}

TEST_F(WindowHookStrictReading, MovingToAnotherControlReleasesTheFirst) {
    std::vector<std::string> OtherLog;
    auto* Other = new TProbeControl(Form.get(), OtherLog);
    Other->SetParent(Form.get());
    auto* A = AddHook("A");
    A->SetWinControl(Other);
    EXPECT_EQ(A->WinControl(), Other);
    EXPECT_TRUE(A->Active());
    Application->ProcessMessages(); // the old control hook is freed now
    EXPECT_EQ(Send(), TLog{"own"});
    Log.clear();
    Other->Perform(WM_USER_PROBE);
    EXPECT_EQ(Log, (TLog{"A.before", "A.after"}));
    EXPECT_NE(TFsWindowHook::GetHookHandle(), nullptr);
    // An inactive hook keeps the control it is given without hooking it.
    A->SetActive(false);
    A->SetWinControl(Control);
    EXPECT_EQ(A->WinControl(), Control);
    EXPECT_EQ(Send(), TLog{"own"});
}

TEST_F(WindowHookStrictReading, FreeingTheControlClearsTheHook) {
    auto* A = AddHook("A");
    delete Control;
    Control = nullptr;
    EXPECT_EQ(A->WinControl(), nullptr);
    Application->ProcessMessages();
    EXPECT_TRUE(Errors.empty());
}

TEST_F(WindowHookStrictReading, ARebuiltWindowIsStillHooked) {
    AddHook("A");
    Control->RebuildWindow();
    Application->ProcessMessages();
    EXPECT_EQ(Send(), (TLog{"A.before", "own", "A.after"}));
}

TEST_F(WindowHookStrictReading, DestroyMessageUnhooksUntilTheRehookArrives) {
    AddHook("A");
    Send(WM_DESTROY);
    EXPECT_EQ(Send(), TLog{"own"});
    Application->ProcessMessages();
    EXPECT_EQ(Send(), (TLog{"A.before", "own", "A.after"}));
}

TEST_F(WindowHookStrictReading, IsFormTellsTheOwnerFormFromOtherControls) {
    auto* OnForm = new TFsWindowHook(Form.get());
    OnForm->SetWinControl(Form.get());
    EXPECT_TRUE(OnForm->IsForm());
    EXPECT_FALSE(OnForm->NotIsForm());
    auto* OnControl = AddHook("A");
    EXPECT_FALSE(OnControl->IsForm());
    EXPECT_TRUE(OnControl->NotIsForm());
}

TEST_F(WindowHookStrictReading, AFormStreamKeepsTheOwnerFormAsTheHookedControl) {
    ASSERT_NE(GetClass("TFsWindowHook"), nullptr);
    TForm Source(nullptr);
    auto* Hook = new TFsWindowHook(&Source);
    Hook->SetName("WinHook");
    Hook->SetWinControl(&Source);
    TMemoryStream Stream;
    WriteComponentRes(&Stream, &Source);

    TMemoryStream Text;
    Stream.SetPosition(0);
    ObjectBinaryToText(&Stream, &Text);
    const std::string Written(static_cast<const char*>(Text.Memory()),
                              static_cast<std::size_t>(Text.GetSize()));
    EXPECT_NE(Written.find("IsForm = True"), std::string::npos) << Written;
    EXPECT_EQ(Written.find("WinControl"), std::string::npos) << Written;

    TForm Copy(nullptr);
    Stream.SetPosition(0);
    ReadComponentRes(&Stream, &Copy);
    auto* Read = dynamic_cast<TFsWindowHook*>(Copy.FindComponent("WinHook"));
    ASSERT_NE(Read, nullptr);
    EXPECT_EQ(Read->WinControl(), &Copy);
    EXPECT_TRUE(Read->IsForm());
}

TEST_F(WindowHookStrictReading, AHookFreedByAnotherOwnerStillLetsGo) {
    TComponent Elsewhere(nullptr);
    auto* Hook = new TFsWindowHook(&Elsewhere);
    Hook->SetWinControl(Control);
    delete Control;
    Control = nullptr;
    EXPECT_EQ(Hook->WinControl(), nullptr);
    Application->ProcessMessages();
}

TEST_F(WindowHookStrictReading, HandlersMayDetachOrFreeHooksWhileAMessageRuns) {
    struct TCase {
        const char* Name;
        bool Before; // act in the before-handler, else in the after-handler
        bool FreeIt; // free the hook, else only clear its control
        bool Self = false; // the acting hook lets go of the control too
    };
    const TCase Cases[] = {
        {"clear in before", true, false},
        {"clear in after", false, false},
        {"free in before", true, true},
        {"free in after", false, true},
        {"clear all in before", true, false, true},
        {"clear all in after", false, false, true},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        // The hook attached last runs first and lets go of the two
        // attached before it, which have not had their turn yet.
        auto* A = AddHook("A");
        auto* B = AddHook("B");
        auto* Actor = AddHook("X");
        bool Freed = false;
        THookMessageEvent Act = [this, &C, &Freed, A, B, Actor](TObject*, TMessage& M, bool&) {
            if (M.Msg != WM_USER_PROBE) return;
            Log.push_back("act");
            if (C.FreeIt) {
                delete A;
                delete B;
                Freed = true;
            } else {
                A->SetWinControl(nullptr);
                B->SetWinControl(nullptr);
            }
            if (C.Self) Actor->SetWinControl(nullptr);
        };
        if (C.Before) Actor->BeforeMessage = Act;
        else Actor->AfterMessage = Act;
        Log.clear();
        EXPECT_NO_THROW(EXPECT_EQ(Control->Perform(WM_USER_PROBE), 42));
        EXPECT_EQ(std::count(Log.begin(), Log.end(), "act"), 1);
        EXPECT_EQ(std::count(Log.begin(), Log.end(), "A.after"), 0);
        Application->ProcessMessages();
        delete Actor;
        if (!Freed) {
            delete A;
            delete B;
        }
        Application->ProcessMessages();
        EXPECT_EQ(Send(), TLog{"own"});
    }
}

TEST_F(WindowHookStrictReading, AnInheritedFormWritesIsFormOnlyWhereItDiffers) {
    auto Text = [](TForm& Descendant, TForm& Ancestor) {
        TMemoryStream Binary, Out;
        {
            TWriter Writer(&Binary);
            Writer.WriteSignature();
            Writer.WriteDescendent(&Descendant, &Ancestor);
        }
        Binary.SetPosition(0);
        ObjectBinaryToText(&Binary, &Out);
        return std::string(static_cast<const char*>(Out.Memory()),
                           static_cast<std::size_t>(Out.GetSize()));
    };
    auto MakeForm = [](TForm& F, bool HookOwner) {
        auto* H = new TFsWindowHook(&F);
        H->SetName("WinHook");
        if (HookOwner) H->SetWinControl(&F);
    };
    struct TCase {
        bool AncestorIsForm, DescendantIsForm;
        const char* Expected; // nullptr: not written
    };
    const TCase Cases[] = {
        {true, true, nullptr},
        {true, false, "IsForm = False"},
        {false, true, "IsForm = True"},
        {false, false, nullptr},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(std::to_string(C.AncestorIsForm) + std::to_string(C.DescendantIsForm));
        TForm Ancestor(nullptr), Descendant(nullptr);
        MakeForm(Ancestor, C.AncestorIsForm);
        MakeForm(Descendant, C.DescendantIsForm);
        const std::string Written = Text(Descendant, Ancestor);
        if (C.Expected)
            EXPECT_NE(Written.find(C.Expected), std::string::npos) << Written;
        else
            EXPECT_EQ(Written.find("IsForm"), std::string::npos) << Written;
    }
}

// A control that still gets a message while it is being destroyed.
class TDyingControl : public TProbeControl {
public:
    using TProbeControl::TProbeControl;
    ~TDyingControl() override {
        Destroying();
        Perform(WM_USER_PROBE);
    }
};

TEST_F(WindowHookStrictReading, AControlBeingDestroyedReachesNoHandler) {
    auto* Dying = new TDyingControl(Form.get(), Log);
    Dying->SetParent(Form.get());
    AddHook("A", false, Dying);
    Log.clear();
    delete Dying;
    EXPECT_EQ(Log, TLog{"own"});
    Application->ProcessMessages();
}

} // namespace
