// WM_SETFOCUS and WM_KILLFOCUS name the other window, and WM_GETDLGCODE
// decides whether Tab stays with a control.
#include "platform/gui/Forms.h"
#include "platform/gui/QtApp.h"
#include "platform/gui/StdCtrls.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <gtest/gtest.h>

#include <vector>

namespace {

// An edit that logs its focus messages and may ask for Tab.
class TFocusLog : public TEdit {
public:
    using TEdit::TEdit;
    std::vector<std::pair<unsigned, HWND>> Seen;
    bool WantTab = false;
    int Tabs = 0;

protected:
    void Dispatch(TMessage& Message) override {
        if (Message.Msg == WM_SETFOCUS || Message.Msg == WM_KILLFOCUS)
            Seen.emplace_back(Message.Msg, reinterpret_cast<HWND>(Message.WParam));
        if (Message.Msg == WM_GETDLGCODE && WantTab) {
            Message.Result = DLGC_WANTTAB;
            return;
        }
        if (Message.Msg == WM_KEYDOWN && Message.WParam == VK_TAB) ++Tabs;
        TEdit::Dispatch(Message);
    }
};

TEST(FocusHandles, FocusMessagesNameTheOtherWindowAndTabStaysWhenWanted) {
    EnsureQtApplication();
    TForm Form(nullptr);
    Form.SetBounds(0, 0, 200, 100);
    auto* A = new TFocusLog(&Form);
    A->SetParent(&Form);
    auto* B = new TFocusLog(&Form);
    B->SetParent(&Form);
    B->SetTop(40);
    Form.Show();
    A->SetFocus();
    A->Seen.clear();
    B->SetFocus();
    ASSERT_FALSE(A->Seen.empty());
    EXPECT_EQ(A->Seen.back(), std::make_pair(WM_KILLFOCUS, static_cast<HWND>(B)));
    ASSERT_FALSE(B->Seen.empty());
    EXPECT_EQ(B->Seen.back(), std::make_pair(WM_SETFOCUS, static_cast<HWND>(A)));

    // Tab moves on from a control that does not want it, and stays with one that does.
    B->WantTab = true;
    QKeyEvent Tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QApplication::sendEvent(B->Widget(), &Tab);
    EXPECT_TRUE(B->Focused());
    EXPECT_EQ(B->Tabs, 1);
    B->WantTab = false;
    QApplication::sendEvent(B->Widget(), &Tab);
    EXPECT_FALSE(B->Focused());
}

} // namespace
