// Window hooks on one control: who sees a message when, what a handled
// flag stops, and how hooks come and go.
#include "formstore/WindowHook.h"

#include "platform/classes/Filer.h"
#include "platform/classes/ObjectText.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/Streams.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace formstore;

namespace {

class WindowHookReading : public ::testing::Test {
protected:
    void SetUp() override {
        Application->Initialize();
        Form = std::make_unique<TForm>(nullptr);
        Edit = new TEdit(Form.get());
        Edit->SetParent(Form.get());
        Edit->SetText("abc");
        Application->OnException = [this](TObject*, const Exception& E) {
            Trace.push_back("error " + E.Message);
        };
    }
    void TearDown() override {
        Form.reset();
        Application->ProcessMessages();
        Application->OnException = nullptr;
    }

    // A hook on Edit that notes "<name> before|after <message>" and sets
    // the handled flag before the messages listed in Handles.
    std::unique_ptr<TFsWindowHook> Watch(const AnsiString& Name, std::vector<unsigned> Handles = {}) {
        auto Hook = std::make_unique<TFsWindowHook>(nullptr);
        Hook->BeforeMessage = [this, Name, Handles](TObject* Sender, TMessage& Msg, bool& Handled) {
            if (!Watched(Msg.Msg)) return;
            Trace.push_back(Name + " before " + std::to_string(Msg.Msg));
            for (unsigned H : Handles)
                if (H == Msg.Msg) Handled = true;
            if (Handled) Msg.Result = 99;
            EXPECT_EQ(dynamic_cast<TFsWindowHook*>(Sender)->WinControl(), Edit);
        };
        Hook->AfterMessage = [this, Name](TObject*, TMessage& Msg, bool&) {
            if (!Watched(Msg.Msg)) return;
            Trace.push_back(Name + " after " + std::to_string(Msg.Msg) + " = " +
                            std::to_string(Msg.Result));
        };
        Hook->SetWinControl(Edit);
        return Hook;
    }
    static bool Watched(unsigned Msg) {
        return Msg == WM_GETTEXTLENGTH || Msg == WM_QUIT || Msg == WM_DESTROY;
    }

    std::unique_ptr<TForm> Form;
    TEdit* Edit = nullptr;
    std::vector<AnsiString> Trace;
};

const auto Len = std::to_string(WM_GETTEXTLENGTH);

TEST_F(WindowHookReading, LastAttachedSeesEachMessageFirstBeforeAndAfter) {
    auto A = Watch("A");
    auto B = Watch("B");
    EXPECT_EQ(Edit->Perform(WM_GETTEXTLENGTH), 3);
    EXPECT_EQ(Trace, (std::vector<AnsiString>{"B before " + Len, "A before " + Len,
                                              "B after " + Len + " = 3", "A after " + Len + " = 3"}));
}

TEST_F(WindowHookReading, HandledBeforeStopsTheRestExceptForDestroy) {
    auto A = Watch("A");
    auto B = Watch("B", {WM_GETTEXTLENGTH, WM_DESTROY});
    EXPECT_EQ(Edit->Perform(WM_GETTEXTLENGTH), 99);
    EXPECT_EQ(Trace, (std::vector<AnsiString>{"B before " + Len}));

    Trace.clear();
    const auto Destroy = std::to_string(WM_DESTROY);
    Edit->Perform(WM_DESTROY);
    EXPECT_EQ(Trace, (std::vector<AnsiString>{"B before " + Destroy, "B after " + Destroy + " = 0",
                                              "A after " + Destroy + " = 0"}));
}

TEST_F(WindowHookReading, ControlAnswersAfreshAfterABeforeHandlerWroteAResult) {
    auto A = Watch("A");
    A->BeforeMessage = [](TObject*, TMessage& Msg, bool&) { Msg.Result = 77; };
    EXPECT_EQ(Edit->Perform(WM_GETTEXTLENGTH), 3);
    EXPECT_EQ(Edit->Perform(WM_DESTROY), 0);
}

TEST_F(WindowHookReading, HookWithoutControlIsActiveAndAttachesOnceGivenOne) {
    TFsWindowHook Hook(nullptr);
    int Seen = 0;
    Hook.AfterMessage = [&](TObject*, TMessage& Msg, bool&) { Seen += Msg.Msg == WM_GETTEXTLENGTH; };
    Hook.SetActive(false);
    EXPECT_FALSE(Hook.Active());
    Hook.SetActive(true);
    EXPECT_TRUE(Hook.Active());
    EXPECT_EQ(Hook.WinControl(), nullptr);
    Hook.SetWinControl(Edit);
    Hook.SetWinControl(Edit);
    Edit->Perform(WM_GETTEXTLENGTH);
    EXPECT_EQ(Seen, 1);
    EXPECT_NE(TFsWindowHook::GetHookHandle(), nullptr);
}

TEST_F(WindowHookReading, QuitReachesOnlyTheAfterHandlers) {
    auto A = Watch("A", {WM_QUIT});
    Edit->Perform(WM_QUIT);
    const auto Quit = std::to_string(WM_QUIT);
    EXPECT_EQ(Trace, (std::vector<AnsiString>{"A after " + Quit + " = 0"}));
}

TEST_F(WindowHookReading, HandlerErrorIsShownAndTheNextHookStillRuns) {
    auto A = Watch("A");
    auto B = Watch("B");
    B->BeforeMessage = [](TObject*, TMessage& Msg, bool&) {
        if (Msg.Msg == WM_GETTEXTLENGTH) throw Exception("hook failed");
    };
    EXPECT_EQ(Edit->Perform(WM_GETTEXTLENGTH), 3);
    EXPECT_EQ(Trace, (std::vector<AnsiString>{"error hook failed", "A before " + Len,
                                              "B after " + Len + " = 3", "A after " + Len + " = 3"}));
}

TEST_F(WindowHookReading, DetachingHooksOneByOneGivesTheControlItsProcedureBack) {
    auto A = Watch("A");
    auto B = Watch("B");
    B->SetActive(false);
    EXPECT_EQ(Edit->Perform(WM_GETTEXTLENGTH), 3);
    EXPECT_EQ(Trace, (std::vector<AnsiString>{"A before " + Len, "A after " + Len + " = 3"}));
    EXPECT_EQ(B->WinControl(), Edit);

    Trace.clear();
    A->SetWinControl(nullptr);
    Application->ProcessMessages();
    EXPECT_EQ(Edit->Perform(WM_GETTEXTLENGTH), 3);
    EXPECT_TRUE(Trace.empty());

    B->SetActive(true);
    Edit->Perform(WM_GETTEXTLENGTH);
    EXPECT_EQ(Trace, (std::vector<AnsiString>{"B before " + Len, "B after " + Len + " = 3"}));
}

TEST_F(WindowHookReading, AnotherProcedureInstalledOverTheHookIsLeftInPlace) {
    auto A = Watch("A");
    TWndMethod Hooked = Edit->WindowProc;
    int Outer = 0;
    Edit->WindowProc = [&](TMessage& Msg) {
        if (Msg.Msg == WM_GETTEXTLENGTH) ++Outer;
        Hooked(Msg);
    };
    A->SetActive(false);
    Application->ProcessMessages();
    EXPECT_EQ(Edit->Perform(WM_GETTEXTLENGTH), 3);
    EXPECT_EQ(Outer, 1);
    EXPECT_EQ(Trace, (std::vector<AnsiString>{}));
}

TEST_F(WindowHookReading, ControlIsHookedAgainAfterItsWindowIsDestroyed) {
    auto A = Watch("A");
    Edit->Perform(WM_DESTROY);
    Trace.clear();
    Application->ProcessMessages();
    Edit->Perform(WM_GETTEXTLENGTH);
    EXPECT_EQ(Trace, (std::vector<AnsiString>{"A before " + Len, "A after " + Len + " = 3"}));
}

TEST_F(WindowHookReading, FreeingTheHookedControlUnhooks) {
    auto A = Watch("A");
    delete Edit;
    Edit = nullptr;
    EXPECT_EQ(A->WinControl(), nullptr);
    Application->ProcessMessages();
    A->SetActive(true);
    EXPECT_EQ(A->WinControl(), nullptr);
}

TEST_F(WindowHookReading, FormStreamSaysIsFormForAHookOnItsOwnForm) {
    auto* Hook = new TFsWindowHook(Form.get());
    Hook->SetName("Hook");
    Hook->SetWinControl(Form.get());
    EXPECT_TRUE(Hook->IsForm());
    EXPECT_FALSE(Hook->NotIsForm());
    TMemoryStream Binary;
    WriteComponentRes(&Binary, Form.get());
    Binary.SetPosition(0);
    TStringStream Text;
    ObjectBinaryToText(&Binary, &Text);
    const AnsiString Stream = Text.DataString();
    EXPECT_NE(Stream.find("IsForm = True"), AnsiString::npos) << Stream;
    EXPECT_EQ(Stream.find("WinControl"), AnsiString::npos) << Stream;

    TForm Copy(nullptr);
    Binary.SetPosition(0);
    ReadComponentRes(&Binary, &Copy);
    auto* Read = dynamic_cast<TFsWindowHook*>(Copy.FindComponent("Hook"));
    ASSERT_NE(Read, nullptr);
    EXPECT_EQ(Read->WinControl(), &Copy);
}

} // namespace
