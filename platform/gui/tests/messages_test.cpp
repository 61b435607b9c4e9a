// Messages: dispatch through WindowProc, a procedure put in front of a
// control's, queued messages, Qt mouse input as messages, capture, and the
// parent font.
#include "GuiTestSupport.h"

#include "platform/gui/ExtCtrls.h"
#include "platform/gui/StdCtrls.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

class Recorder : public TWinControl {
public:
    using TWinControl::TWinControl;
    std::vector<unsigned> Seen;
    std::vector<std::string> Mouse;

protected:
    void Dispatch(TMessage& Message) override {
        Seen.push_back(Message.Msg);
        if (Message.Msg == WM_USER + 1) {
            Message.Result = static_cast<LRESULT>(Message.WParam + Message.LParam);
            return;
        }
        TWinControl::Dispatch(Message);
    }
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override {
        Mouse.push_back("down " + std::to_string(static_cast<int>(Button)) + " " +
                        std::to_string(X) + "," + std::to_string(Y) +
                        (Shift.Contains(ssLeft) ? " left" : ""));
    }
    void MouseUp(TMouseButton, TShiftState, int X, int Y) override {
        Mouse.push_back("up " + std::to_string(X) + "," + std::to_string(Y));
    }
};

class MessagesTest : public ::testing::Test {
protected:
    void SetUp() override {
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 300, 200);
        Target = new Recorder(Form);
        Target->SetParent(Form);
        Target->SetBounds(20, 30, 100, 50);
        Other = new Recorder(Form);
        Other->SetParent(Form);
        Other->SetBounds(150, 30, 100, 50);
        Form->Show();
    }
    void TearDown() override { delete Form; }

    TForm* Form = nullptr;
    Recorder* Target = nullptr;
    Recorder* Other = nullptr;
};

TEST_F(MessagesTest, PerformAndSendMessageReturnTheHandlersResult) {
    EXPECT_EQ(Target->Perform(WM_USER + 1, 2, 3), 5);
    EXPECT_EQ(SendMessage(Target, WM_USER + 1, 4, 5), 9);
}

TEST_F(MessagesTest, AProcedureInFrontSeesAndMaySwallowMessages) {
    std::vector<std::string> Trace;
    TWndMethod Previous = Target->WindowProc;
    Target->WindowProc = [&](TMessage& M) {
        if (M.Msg == WM_USER + 2) {
            Trace.push_back("swallowed");
            return;
        }
        Trace.push_back("before");
        Previous(M);
        Trace.push_back("after " + std::to_string(M.Result));
    };
    Target->Perform(WM_USER + 2);
    Target->Perform(WM_USER + 1, 1, 1);
    EXPECT_EQ(Trace, (std::vector<std::string>{"swallowed", "before", "after 2"}));
    EXPECT_EQ(Target->Seen.back(), WM_USER + 1);
    Target->WindowProc = Previous;
}

TEST_F(MessagesTest, PostedMessagesArriveLaterAndNotAfterTheWindowIsGone) {
    auto* Doomed = new Recorder(nullptr);
    ASSERT_TRUE(PostMessage(Target, WM_USER + 3));
    ASSERT_TRUE(PostMessage(Doomed, WM_USER + 3));
    EXPECT_EQ(std::count(Target->Seen.begin(), Target->Seen.end(), WM_USER + 3), 0);
    delete Doomed;
    Application->ProcessMessages();
    EXPECT_EQ(std::count(Target->Seen.begin(), Target->Seen.end(), WM_USER + 3), 1);
}

TEST_F(MessagesTest, QtMouseInputArrivesAsMessagesInClientCoordinates) {
    QWidget* W = Target->Widget();
    SendMouse(W, QEvent::MouseButtonPress, QPoint(7, 9));
    SendMouse(W, QEvent::MouseButtonRelease, QPoint(8, 10));
    SendMouse(W, QEvent::MouseButtonPress, QPoint(3, 4), Qt::RightButton);
    EXPECT_EQ(Target->Mouse,
              (std::vector<std::string>{"down 0 7,9 left", "up 8,10", "down 1 3,4"}));
    EXPECT_TRUE(Other->Mouse.empty());
    EXPECT_EQ(std::count(Target->Seen.begin(), Target->Seen.end(), WM_LBUTTONDOWN), 1);
}

TEST_F(MessagesTest, TheCapturingControlGetsTheMouseWhereverItIs) {
    Target->SetMouseCapture(true);
    SendMouse(Other->Widget(), QEvent::MouseButtonPress, QPoint(5, 5));
    // Other's point 5,5 lies 130 pixels to the right of Target's origin.
    ASSERT_EQ(Target->Mouse.size(), 1u);
    EXPECT_EQ(Target->Mouse[0], "down 0 135,5 left");
    EXPECT_TRUE(Other->Mouse.empty());
    SetCaptureControl(nullptr);
    EXPECT_FALSE(Target->MouseCapture());
}

TEST_F(MessagesTest, ChildrenFollowTheParentFontUntilGivenTheirOwn) {
    auto* Label = new TLabel(Form);
    Label->SetParent(Form);
    Form->Font()->SetName("Liberation Sans");
    Form->Font()->SetStyle({fsBold});
    EXPECT_EQ(Label->Font()->Name(), "Liberation Sans");
    EXPECT_TRUE(Label->ParentFont());

    Label->Font()->SetColor(clBlue);
    EXPECT_FALSE(Label->ParentFont());
    Form->Font()->SetName("DejaVu Sans");
    EXPECT_EQ(Label->Font()->Name(), "Liberation Sans");
    EXPECT_EQ(Label->Font()->Color(), clBlue);
}

TEST_F(MessagesTest, FreeingAControlFromItsOwnClickIsSafe) {
    auto* Button = new TButton(Form);
    Button->SetParent(Form);
    Button->OnClick = [&](TObject*) { delete Button; };
    Click(Button);
    Application->ProcessMessages();
    EXPECT_EQ(Form->ControlCount(), 2);
}

} // namespace
