// Watching presses and activation application-wide, and looking at the
// input waiting to be handled.
#include "PanelForm.h"

#include "platform/gui/InputHook.h"
#include "platform/gui/PendingInput.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class InputHookTest : public PanelForm {
protected:
    void SetUp() override {
        PanelForm::SetUp();
        Left = AddPanel(Form, 10);
        Right = AddPanel(Form, 150);
        Form->Show();
    }

    TPanel* Left = nullptr;
    TPanel* Right = nullptr;
};

TEST_F(InputHookTest, APressAnywhereIsToldWithItsWindowAndScreenPoint) {
    std::vector<TMouseHookInfo> Seen;
    TInputHook Hook([&](const TMouseHookInfo& I) { Seen.push_back(I); }, nullptr);
    SendMouse(Left->Widget(), QEvent::MouseButtonPress, QPoint(5, 6));
    SendMouse(Left->Widget(), QEvent::MouseButtonRelease, QPoint(5, 6));
    SendMouse(Right->Widget(), QEvent::MouseButtonPress, QPoint(7, 8), Qt::RightButton);
    SendMouse(Right->Widget(), QEvent::MouseMove, QPoint(9, 9));
    ASSERT_EQ(Seen.size(), 2u);
    EXPECT_EQ(Seen[0].Msg, WM_LBUTTONDOWN);
    EXPECT_EQ(Seen[0].Window, Left);
    const QPoint G = Left->Widget()->mapToGlobal(QPoint(5, 6));
    EXPECT_EQ(Seen[0].ScreenPos.X, G.x());
    EXPECT_EQ(Seen[0].ScreenPos.Y, G.y());
    EXPECT_EQ(Seen[1].Msg, WM_RBUTTONDOWN);
    EXPECT_EQ(Seen[1].Window, Right);

    // The control holding the capture is the target wherever the press is.
    Left->SetMouseCapture(true);
    SendMouse(Right->Widget(), QEvent::MouseButtonPress, QPoint(1, 1));
    Left->SetMouseCapture(false);
    ASSERT_EQ(Seen.size(), 3u);
    EXPECT_EQ(Seen[2].Window, Left);
}

TEST_F(InputHookTest, APressPassedOnToTheParentIsToldOnce) {
    // A plain widget inside the panel leaves its presses to the panel.
    auto* Inner = new QWidget(Left->Widget());
    Inner->setGeometry(10, 10, 20, 20);
    Inner->show();
    int Presses = 0;
    HWND Window = nullptr;
    TInputHook Hook(
        [&](const TMouseHookInfo& I) {
            ++Presses;
            Window = I.Window;
        },
        nullptr);
    SendMouse(Inner, QEvent::MouseButtonPress, QPoint(2, 2));
    SendMouse(Inner, QEvent::MouseButtonRelease, QPoint(2, 2));
    SendMouse(Inner, QEvent::MouseButtonPress, QPoint(2, 2));
    EXPECT_EQ(Presses, 2);
    EXPECT_EQ(Window, Left);
}

TEST_F(InputHookTest, NewestFirstAndAHookMayRemoveAnother) {
    std::vector<std::string> Order;
    auto Older = std::make_unique<TInputHook>(
        [&](const TMouseHookInfo&) { Order.push_back("older"); }, nullptr);
    TInputHook Newer(
        [&](const TMouseHookInfo&) {
            Order.push_back("newer");
            Older.reset();
        },
        nullptr);
    EXPECT_EQ(InputHookCount(), 2);
    SendMouse(Left->Widget(), QEvent::MouseButtonPress, QPoint(1, 1));
    EXPECT_EQ(Order, (std::vector<std::string>{"newer"}));
    EXPECT_EQ(InputHookCount(), 1);
}

TEST_F(InputHookTest, HooksGoWithTheirHandles) {
    int Told = 0;
    {
        TInputHook A([&](const TMouseHookInfo&) { ++Told; }, nullptr);
        TInputHook B = std::move(A);
        EXPECT_FALSE(A.Installed());
        EXPECT_TRUE(B.Installed());
        EXPECT_EQ(InputHookCount(), 1);
        SendMouse(Left->Widget(), QEvent::MouseButtonPress, QPoint(1, 1));
    }
    EXPECT_EQ(InputHookCount(), 0);
    SendMouse(Left->Widget(), QEvent::MouseButtonPress, QPoint(1, 1));
    EXPECT_EQ(Told, 1);
}

TEST_F(InputHookTest, ActivationChangesAreToldPerWindow) {
    TForm Other(nullptr);
    Other.SetBounds(500, 100, 100, 100);
    Other.Show();
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    QApplication::setActiveWindow(Form->Widget());
    std::vector<std::pair<HWND, bool>> Seen;
    TInputHook Hook(nullptr,
                    [&](const TActivationHookInfo& I) { Seen.emplace_back(I.Window, I.Active); });
    QApplication::setActiveWindow(Other.Widget());
    QT_WARNING_POP
    // The platform tells the newly active window first.
    ASSERT_EQ(Seen.size(), 2u);
    EXPECT_EQ(Seen[0], std::make_pair(static_cast<HWND>(&Other), true));
    EXPECT_EQ(Seen[1], std::make_pair(static_cast<HWND>(Form), false));
}

// ---- pending input ------------------------------------------------------------------

void Post(QWidget* W, QEvent::Type Type, QPoint At, Qt::MouseButton Button = Qt::NoButton) {
    QCoreApplication::postEvent(W, new QMouseEvent(Type, QPointF(At), QPointF(W->mapToGlobal(At)),
                                                   Button, Button, Qt::NoModifier));
}

TEST_F(InputHookTest, WaitingInputIsSeenAndStillDeliveredInOrder) {
    std::vector<std::string> Got;
    Left->OnMouseMove = [&](TObject*, TShiftState, int X, int Y) {
        Got.push_back("move " + std::to_string(X) + "," + std::to_string(Y));
    };
    Left->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) {
        Got.push_back("down");
    };
    QCoreApplication::processEvents();
    EXPECT_FALSE(PeekMessage(nullptr, Left, WM_MOUSEFIRST, WM_MOUSELAST, PM_NOREMOVE));

    Post(Left->Widget(), QEvent::MouseMove, QPoint(12, 13));
    Post(Left->Widget(), QEvent::MouseButtonPress, QPoint(12, 13), Qt::LeftButton);
    TMsg Msg;
    ASSERT_TRUE(PeekMessage(&Msg, Left, WM_MOUSEFIRST, WM_MOUSELAST, PM_NOREMOVE));
    EXPECT_EQ(Msg.hwnd, Left);
    EXPECT_EQ(Msg.message, WM_MOUSEMOVE);
    EXPECT_EQ(Msg.pt.X, Left->Widget()->mapToGlobal(QPoint(12, 13)).x());
    EXPECT_TRUE(Got.empty());
    // Looked at again: still there.
    ASSERT_TRUE(PeekMessage(&Msg, Left, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_NOREMOVE));
    EXPECT_EQ(Msg.message, WM_LBUTTONDOWN);
    EXPECT_EQ(SignedLo(static_cast<std::uintptr_t>(Msg.lParam)), 12);
    EXPECT_EQ(SignedHi(static_cast<std::uintptr_t>(Msg.lParam)), 13);
    EXPECT_EQ(Msg.wParam & MK_LBUTTON, MK_LBUTTON);
    // Not for another window, not keys.
    EXPECT_FALSE(PeekMessage(nullptr, Right, 0, 0, PM_NOREMOVE));
    EXPECT_FALSE(PeekMessage(nullptr, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_NOREMOVE));
    QCoreApplication::processEvents();
    EXPECT_EQ(Got, (std::vector<std::string>{"move 12,13", "down"}));
}

TEST_F(InputHookTest, ALoopInsideAHandlerStopsAtInputThatComesMeanwhile) {
    // An auto-scroll-like loop in the move handler: it steps until the
    // user does something, and what the user did is handled after it.
    std::vector<std::string> Got;
    int Steps = 0;
    Left->OnMouseMove = [&](TObject*, TShiftState, int, int) {
        Got.push_back("move");
        while (!PeekMessage(nullptr, Left, WM_MOUSEFIRST, WM_MOUSELAST, PM_NOREMOVE)) {
            if (++Steps == 3)
                Post(Left->Widget(), QEvent::MouseButtonRelease, QPoint(4, 4), Qt::LeftButton);
            ASSERT_LT(Steps, 10);
        }
        Got.push_back("loop ended");
    };
    Left->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { Got.push_back("up"); };
    SendMouse(Left->Widget(), QEvent::MouseMove, QPoint(3, 3), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(Steps, 3);
    EXPECT_EQ(Got, (std::vector<std::string>{"move", "loop ended"}));
    QCoreApplication::processEvents();
    EXPECT_EQ(Got, (std::vector<std::string>{"move", "loop ended", "up"}));
}

TEST_F(InputHookTest, TakenInputIsNeverDelivered) {
    int Moves = 0;
    int Downs = 0;
    Left->OnMouseMove = [&](TObject*, TShiftState, int, int) { ++Moves; };
    Left->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++Downs; };
    Post(Left->Widget(), QEvent::MouseMove, QPoint(1, 1));
    Post(Left->Widget(), QEvent::MouseButtonPress, QPoint(2, 2), Qt::LeftButton);
    TMsg Msg;
    ASSERT_TRUE(PeekMessage(&Msg, nullptr, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE));
    EXPECT_EQ(SignedLo(static_cast<std::uintptr_t>(Msg.lParam)), 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(Moves, 0);
    EXPECT_EQ(Downs, 1);
}

TEST_F(InputHookTest, WaitingKeysAreSeenAsKeyMessages) {
    Left->Widget();
    QCoreApplication::postEvent(Left->Widget(),
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    TMsg Msg;
    ASSERT_TRUE(PeekMessage(&Msg, Left, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE));
    EXPECT_EQ(Msg.message, WM_KEYDOWN);
    EXPECT_EQ(Msg.wParam, VK_ESCAPE);
    EXPECT_FALSE(PeekMessage(nullptr, nullptr, 0, 0, PM_NOREMOVE));
}

} // namespace
