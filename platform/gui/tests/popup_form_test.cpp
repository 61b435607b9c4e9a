// A form dropped down over a control: placed in screen coordinates, shown
// without taking the activation, closed as the mouse goes elsewhere.
#include "PanelForm.h"

#include "platform/gui/PopupForm.h"
#include "platform/gui/WindowPos.h"

#include <QWindow>
#include <gtest/gtest.h>

namespace {

class PopupFormTest : public PanelForm {
protected:
    void SetUp() override {
        PanelForm::SetUp();
        Owner = AddPanel(Form, 10, 50);
        Elsewhere = AddPanel(Form, 150, 50);
        Popup = new TPopupForm(Owner);
        Inside = AddPanel(Popup, 0, 50);
        ShowActive(*Form);
    }
    void DropDown() {
        SetWindowPos(Popup, HWND_TOP, 400, 300, 120, 80, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }

    TPanel* Owner = nullptr;
    TPanel* Elsewhere = nullptr;
    TPopupForm* Popup = nullptr;
    TPanel* Inside = nullptr;
};

TEST_F(PopupFormTest, ShownAtTheScreenPointWithoutTakingTheActivation) {
    EXPECT_EQ(Popup->OwnerWindow(), Owner);
    DropDown();
    QWidget* W = Popup->Widget();
    EXPECT_TRUE(Popup->Visible());
    EXPECT_TRUE(W->isVisible());
    EXPECT_EQ(W->geometry(), QRect(400, 300, 120, 80));
    EXPECT_EQ(Popup->BoundsRect(), Rect(400, 300, 520, 380));
    EXPECT_TRUE(Form->Active());
    EXPECT_FALSE(Popup->Active());
    EXPECT_TRUE(W->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(W->windowFlags() & Qt::WindowDoesNotAcceptFocus);
    ASSERT_NE(W->windowHandle(), nullptr);
    EXPECT_EQ(W->windowHandle()->transientParent(), Form->Widget()->windowHandle());

    // Moved without showing anew, then hidden and shown by show commands.
    SetWindowPos(Popup, nullptr, 410, 310, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(W->geometry(), QRect(410, 310, 120, 80));
    EXPECT_TRUE(ShowWindow(Popup, SW_HIDE));
    EXPECT_FALSE(W->isVisible());
    EXPECT_FALSE(ShowWindow(Popup, SW_SHOWNOACTIVATE));
    EXPECT_TRUE(W->isVisible());
    EXPECT_TRUE(Form->Active());
}

TEST_F(PopupFormTest, ClosesOnAPressOutsideItAndItsOwner) {
    Popup->SetCloseOnOutsidePress(true);
    int Closed = 0;
    Popup->OnClose = [&](TObject*, TCloseAction&) { ++Closed; };
    EXPECT_EQ(InputHookCount(), 0); // not watching while hidden
    DropDown();
    EXPECT_EQ(InputHookCount(), 1);
    ClickAt(Inside->Widget(), QPoint(5, 5));
    ClickAt(Owner->Widget(), QPoint(5, 5));
    EXPECT_TRUE(Popup->Visible());
    ClickAt(Elsewhere->Widget(), QPoint(5, 5));
    EXPECT_FALSE(Popup->Visible());
    EXPECT_EQ(Closed, 1);
    EXPECT_EQ(InputHookCount(), 0);
}

TEST_F(PopupFormTest, ClosesWhenTheOwnersFormLosesTheActivation) {
    Popup->SetCloseOnOutsidePress(true);
    DropDown();
    TForm Other(nullptr);
    Other.SetBounds(600, 100, 100, 100);
    ShowActive(Other);
    EXPECT_FALSE(Popup->Visible());
    EXPECT_EQ(InputHookCount(), 0);
}

TEST_F(PopupFormTest, OutlivesAnOwnerWindowThatGoesFirst) {
    auto* Loose = new TPopupForm(nullptr);
    Loose->SetOwnerWindow(Elsewhere);
    Loose->SetCloseOnOutsidePress(true);
    SetWindowPos(Loose, HWND_TOP, 10, 10, 50, 50, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    delete Elsewhere;
    EXPECT_EQ(Loose->OwnerWindow(), nullptr);
    ClickAt(Owner->Widget(), QPoint(1, 1));
    EXPECT_FALSE(Loose->Visible());
    delete Loose;
    EXPECT_EQ(InputHookCount(), 0);
}

} // namespace
