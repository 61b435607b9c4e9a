// Message boxes through the test seam, and the application's display of an
// exception that escapes an event handler.
#include "GuiTestSupport.h"

#include "platform/gui/Dialogs.h"
#include "platform/gui/StdCtrls.h"

#include <gtest/gtest.h>

namespace {

TEST(Dialogs, TheSeamSeesTheBoxAndGivesTheAnswer) {
    TMessageBoxRecorder Boxes;
    Boxes.Answers.push_back(IDYES);
    const unsigned Flags = MB_YESNO | MB_ICONINFORMATION | MB_DEFBUTTON2 | MB_TOPMOST;
    EXPECT_EQ(MessageBox(nullptr, "Check the daily alerts batch ahead of scheduled run time?",
                         "Confirm", Flags),
              IDYES);
    // Without a queued answer the default button answers.
    EXPECT_EQ(Application->MessageBox("Need an entry for server, port, and account name.", "Error",
                                      MB_OK | MB_ICONWARNING | MB_TOPMOST),
              IDOK);
    EXPECT_EQ(MessageBox(nullptr, "Again?", "Confirm", Flags), IDNO);
    ASSERT_EQ(Boxes.Boxes.size(), 3u);
    EXPECT_EQ(Boxes.Boxes[0].Text, "Check the daily alerts batch ahead of scheduled run time?");
    EXPECT_EQ(Boxes.Boxes[0].Caption, "Confirm");
    EXPECT_EQ(Boxes.Boxes[0].Flags, 0x40144u);
    EXPECT_EQ(Boxes.Boxes[1].Flags, MB_OK | MB_ICONWARNING | MB_TOPMOST);
}

TEST(Dialogs, DefaultButtonsFollowTheFlags) {
    struct Case {
        unsigned Flags;
        int Default;
    };
    for (const Case& C : {Case{MB_OK, IDOK}, Case{MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL},
                          Case{MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
                          Case{MB_ABORTRETRYIGNORE | MB_DEFBUTTON2, IDRETRY},
                          Case{MB_YESNO | MB_DEFBUTTON3, IDYES}})
        EXPECT_EQ(MessageBoxDefault(C.Flags), C.Default) << C.Flags;
}

TEST(Dialogs, MessageDlgCaptionsAndButtons) {
    TMessageBoxRecorder Boxes;
    Boxes.Answers = {IDNO, IDOK};
    EXPECT_EQ(MessageDlg("Delete it?", mtConfirmation, TMsgDlgButtons{mbYes, mbNo}, 0), mrNo);
    EXPECT_EQ(MessageDlg("Saved", mtInformation, TMsgDlgButtons{mbOK}, 0), mrOk);
    ASSERT_EQ(Boxes.Boxes.size(), 2u);
    EXPECT_EQ(Boxes.Boxes[0].Caption, "Confirm");
    EXPECT_EQ(Boxes.Boxes[0].Flags, MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(Boxes.Boxes[1].Caption, "Information");
}

TEST(Dialogs, ShowExceptionEndsTheMessageWithAFullStop) {
    TMessageBoxRecorder Boxes;
    Application->SetTitle("Beacon Mill");
    // Characters above '.' in the character set ('?' among them) get the stop.
    for (const char* Text : {"Database not open", "Already done.", "Stop!", "Really?"})
        Application->ShowException(Exception(Text));
    ASSERT_EQ(Boxes.Boxes.size(), 4u);
    EXPECT_EQ(Boxes.Boxes[0].Text, "Database not open.");
    EXPECT_EQ(Boxes.Boxes[1].Text, "Already done.");
    EXPECT_EQ(Boxes.Boxes[2].Text, "Stop!");
    EXPECT_EQ(Boxes.Boxes[3].Text, "Really?.");
    EXPECT_EQ(Boxes.Boxes[0].Caption, "Beacon Mill");
    EXPECT_EQ(Boxes.Boxes[0].Flags, MB_OK | MB_ICONSTOP);
}

TEST(Dialogs, AnExceptionEscapingAButtonHandlerIsShownAndTheProgramGoesOn) {
    TMessageBoxRecorder Boxes;
    Application->SetTitle("Beacon Mill");
    auto* Form = new TForm(nullptr);
    auto* Button = new TButton(Form);
    Button->SetParent(Form);
    int Clicks = 0;
    Button->OnClick = [&](TObject*) {
        ++Clicks;
        throw Exception("An invalid Alert Id ('77') was encountered");
    };
    auto* Quiet = new TButton(Form);
    Quiet->SetParent(Form);
    Quiet->SetTop(40);
    Quiet->OnClick = [&](TObject*) { throw EAbort("silent"); };
    Form->Show();

    Click(Button);
    Click(Quiet);
    Click(Button);

    EXPECT_EQ(Clicks, 2);
    ASSERT_EQ(Boxes.Boxes.size(), 2u);
    EXPECT_EQ(Boxes.Boxes[0].Text, "An invalid Alert Id ('77') was encountered.");
    EXPECT_EQ(Boxes.Boxes[0].Flags, MB_OK | MB_ICONSTOP);
    delete Form;
}

TEST(Dialogs, OnExceptionReplacesTheDisplay) {
    TMessageBoxRecorder Boxes;
    std::string Seen;
    Application->OnException = [&](TObject*, const Exception& E) { Seen = E.Message; };
    try {
        throw EConvertError("'abc' is not a valid integer value");
    } catch (...) {
        Application->HandleException(nullptr);
    }
    Application->OnException = nullptr;
    EXPECT_EQ(Seen, "'abc' is not a valid integer value");
    EXPECT_TRUE(Boxes.Boxes.empty());
}

} // namespace
