#include "formstore/WindowHook.h"

#include "platform/classes/Filer.h"
#include "platform/classes/ObjectText.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/PublishedProps.h"
#include "platform/rtl/Streams.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace formstore;

namespace {

constexpr unsigned WM_PROBE = WM_USER + 7;

class WindowHook : public ::testing::Test {
protected:
    void SetUp() override {
        Application->Initialize();
        Control = std::make_unique<TWinControl>(nullptr);
        // The control's own procedure, as the hooks find it.
        Control->WindowProc = [this](TMessage& Msg) {
            Log.push_back("proc");
            Msg.Result = 42;
        };
        Application->OnException = [this](TObject*, const Exception& E) {
            Log.push_back("error: " + E.Message);
        };
    }
    void TearDown() override {
        Application->OnException = nullptr;
        Hooks.clear();
        Control.reset();
        Application->ProcessMessages();
    }

    // A hook on the control that logs "<Name>:before" and "<Name>:after";
    // HandleBefore makes its before-handler set Handled.
    TFsWindowHook* AddHook(const std::string& Name, bool HandleBefore = false) {
        auto Hook = std::make_unique<TFsWindowHook>(nullptr);
        Hook->BeforeMessage = [this, Name, HandleBefore](TObject*, TMessage&, bool& Handled) {
            Log.push_back(Name + ":before");
            Handled = HandleBefore;
        };
        Hook->AfterMessage = [this, Name](TObject*, TMessage&, bool&) {
            Log.push_back(Name + ":after");
        };
        Hook->SetWinControl(Control.get());
        Hooks.push_back(std::move(Hook));
        return Hooks.back().get();
    }

    std::vector<std::string> Send(unsigned Msg) {
        Log.clear();
        Control->Perform(Msg);
        return Log;
    }

    std::unique_ptr<TWinControl> Control;
    std::vector<std::unique_ptr<TFsWindowHook>> Hooks;
    std::vector<std::string> Log;
};

using Lines = std::vector<std::string>;

TEST_F(WindowHook, TheLastAttachedHookSeesEachMessageFirst) {
    AddHook("first");
    AddHook("second");
    EXPECT_EQ(Send(WM_PROBE),
              (Lines{"second:before", "first:before", "proc", "second:after", "first:after"}));
    EXPECT_EQ(Control->Perform(WM_PROBE), 42);
    EXPECT_EQ(Hooks[0]->WinControl(), Control.get());
}

TEST_F(WindowHook, HandledBeforeStopsEverythingButTheDestroyProcedure) {
    AddHook("first");
    AddHook("second", true);
    EXPECT_EQ(Send(WM_PROBE), (Lines{"second:before"}));
    EXPECT_EQ(Send(WM_DESTROY), (Lines{"second:before", "proc", "second:after", "first:after"}));
}

TEST_F(WindowHook, QuitReachesOnlyTheAfterHandlers) {
    AddHook("first");
    AddHook("second", true);
    EXPECT_EQ(Send(WM_QUIT), (Lines{"proc", "second:after", "first:after"}));
}

TEST_F(WindowHook, DestroyUnhooksAndTheControlIsHookedAgainLater) {
    AddHook("only");
    Send(WM_DESTROY);
    EXPECT_EQ(Send(WM_PROBE), (Lines{"proc"}));
    Application->ProcessMessages();
    EXPECT_EQ(Send(WM_PROBE), (Lines{"only:before", "proc", "only:after"}));
}

TEST_F(WindowHook, DetachingTheLastHookGivesTheProcedureBack) {
    TFsWindowHook* First = AddHook("first");
    TFsWindowHook* Second = AddHook("second");
    First->SetActive(false);
    EXPECT_EQ(Send(WM_PROBE), (Lines{"second:before", "proc", "second:after"}));
    Second->SetWinControl(nullptr);
    EXPECT_EQ(Send(WM_PROBE), (Lines{"proc"}));
    // Still active: it follows the next control it is given.
    EXPECT_TRUE(Second->Active());
    Application->ProcessMessages();
    First->SetActive(true);
    EXPECT_EQ(Send(WM_PROBE), (Lines{"first:before", "proc", "first:after"}));
}

TEST_F(WindowHook, AProcedureInstalledOverTheHookIsLeftInPlace) {
    AddHook("hook");
    TWndMethod Hooked = Control->WindowProc;
    Control->WindowProc = [&](TMessage& Msg) {
        Log.push_back("outer");
        Hooked(Msg);
    };
    Hooks[0]->SetActive(false);
    EXPECT_EQ(Send(WM_PROBE), (Lines{"outer", "proc"}));
    // Attached again, the hook still runs once per message.
    Hooks[0]->SetActive(true);
    EXPECT_EQ(Send(WM_PROBE), (Lines{"outer", "hook:before", "proc", "hook:after"}));
}

TEST_F(WindowHook, AFailingHandlerIsReportedAndTheNextOneRuns) {
    AddHook("first");
    TFsWindowHook* Failing = AddHook("second");
    Failing->BeforeMessage = [](TObject*, TMessage&, bool&) { throw Exception("hook broke"); };
    EXPECT_EQ(Send(WM_PROBE),
              (Lines{"error: hook broke", "first:before", "proc", "second:after", "first:after"}));
}

TEST_F(WindowHook, AHookLetsGoOfAControlThatIsFreed) {
    TFsWindowHook* Hook = AddHook("hook");
    Control.reset();
    EXPECT_EQ(Hook->WinControl(), nullptr);
    Application->ProcessMessages();
    // A new control may take the old one's address; it starts unhooked.
    Control = std::make_unique<TWinControl>(nullptr);
    Control->WindowProc = [this](TMessage&) { Log.push_back("proc"); };
    EXPECT_EQ(Send(WM_PROBE), (Lines{"proc"}));
}

TEST_F(WindowHook, IsFormTellsTheOwnerFormApart) {
    TForm Form(nullptr);
    TFsWindowHook OnForm(&Form);
    OnForm.SetWinControl(&Form);
    EXPECT_TRUE(OnForm.IsForm());
    EXPECT_FALSE(OnForm.NotIsForm());
    TFsWindowHook OnControl(&Form);
    OnControl.SetWinControl(Control.get());
    EXPECT_FALSE(OnControl.IsForm());
    EXPECT_TRUE(OnControl.NotIsForm());
    EXPECT_NE(TFsWindowHook::GetHookHandle(), nullptr);
}

class THookedForm : public TForm {
public:
    explicit THookedForm(TComponent* AOwner) : TForm(AOwner) {}
    AnsiString ClassName() const override { return "THookedForm"; }
};

// Hooks on the form itself, on a panel and an inactive one, through a form
// stream: the form is told by "IsForm", the panel by name.
TEST_F(WindowHook, AFormStreamCarriesWhatEachHookIsOn) {
    PublishGuiClasses();
    THookedForm Form(nullptr);
    auto* Panel = new TPanel(&Form);
    Panel->SetName("Panel1");
    Panel->SetParent(&Form);
    auto* OnForm = new TFsWindowHook(&Form);
    OnForm->SetName("FormHook");
    OnForm->SetWinControl(&Form);
    auto* OnPanel = new TFsWindowHook(&Form);
    OnPanel->SetName("PanelHook");
    OnPanel->SetWinControl(Panel);
    auto* Idle = new TFsWindowHook(&Form);
    Idle->SetName("Idle");
    Idle->SetActive(false);

    TStringStream Stream;
    WriteComponentRes(&Stream, &Form);
    TStringStream Text;
    Stream.SetPosition(0);
    ObjectBinaryToText(&Stream, &Text);
    const AnsiString Dump = Text.DataString();
    const auto Block = [&](const AnsiString& Name) {
        const auto Start = Dump.find("object " + Name + ": TFsWindowHook");
        return Start == AnsiString::npos ? AnsiString()
                                         : Dump.substr(Start, Dump.find("end", Start) - Start);
    };
    EXPECT_NE(Block("FormHook").find("IsForm = True"), AnsiString::npos) << Dump;
    EXPECT_EQ(Block("FormHook").find("WinControl"), AnsiString::npos) << Dump;
    EXPECT_NE(Block("PanelHook").find("WinControl = Panel1"), AnsiString::npos) << Dump;
    EXPECT_EQ(Block("PanelHook").find("IsForm"), AnsiString::npos) << Dump;
    EXPECT_NE(Block("Idle").find("Active = False"), AnsiString::npos) << Dump;

    THookedForm Copy(nullptr);
    Stream.SetPosition(0);
    ReadComponentRes(&Stream, &Copy);
    auto* ReadForm = dynamic_cast<TFsWindowHook*>(Copy.FindComponent("FormHook"));
    auto* ReadPanel = dynamic_cast<TFsWindowHook*>(Copy.FindComponent("PanelHook"));
    auto* ReadIdle = dynamic_cast<TFsWindowHook*>(Copy.FindComponent("Idle"));
    ASSERT_TRUE(ReadForm && ReadPanel && ReadIdle);
    EXPECT_EQ(ReadForm->WinControl(), &Copy);
    EXPECT_TRUE(ReadForm->IsForm());
    EXPECT_EQ(ReadPanel->WinControl(), Copy.FindComponent("Panel1"));
    EXPECT_FALSE(ReadIdle->Active());
    EXPECT_EQ(ReadIdle->WinControl(), nullptr);

    // The hook read from the stream is on the form's messages.
    int Seen = 0;
    ReadForm->AfterMessage = [&Seen](TObject*, TMessage& Msg, bool&) {
        if (Msg.Msg == WM_USER + 7) ++Seen;
    };
    Copy.Perform(WM_USER + 7);
    EXPECT_EQ(Seen, 1);
}

} // namespace
