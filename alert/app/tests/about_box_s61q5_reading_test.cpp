// The about box as the About menu item shows it: its layout, and OK ending
// the modal show.
#include "alert/app/AboutDlg.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

void Click(QWidget* W) {
    const QPointF At = QPointF(W->rect().center());
    const QPointF Global = QPointF(W->mapToGlobal(W->rect().center()));
    QMouseEvent Press(QEvent::MouseButtonPress, At, Global, Qt::LeftButton, Qt::LeftButton, {});
    QApplication::sendEvent(W, &Press);
    QMouseEvent Release(QEvent::MouseButtonRelease, At, Global, Qt::LeftButton, Qt::NoButton, {});
    QApplication::sendEvent(W, &Release);
}

void PressKey(QWidget* W, int Key) {
    QKeyEvent Down(QEvent::KeyPress, Key, {});
    QApplication::sendEvent(W, &Down);
    QKeyEvent Up(QEvent::KeyRelease, Key, {});
    QApplication::sendEvent(W, &Up);
}

struct ControlBox {
    const char* Name;
    TControl* (*Get)(TAboutDlg&);
    int Left, Top, Width, Height;
};

TEST(AboutBox, LaysOutItsLabelsPictureAndButton) {
    Application->Initialize();
    TForm Owner(nullptr);
    auto* Dlg = new TAboutDlg(&Owner);
    EXPECT_EQ(Dlg->Caption(), "About");
    EXPECT_EQ(Dlg->BorderStyle(), bsDialog);
    EXPECT_EQ(Dlg->Position(), poMainFormCenter);
    EXPECT_EQ(Dlg->ClientWidth(), 237);
    EXPECT_EQ(Dlg->ClientHeight(), 184);
    EXPECT_EQ(Dlg->Color(), clBtnFace);
    EXPECT_EQ(Dlg->Font()->Name(), "MS Sans Serif");
    EXPECT_EQ(Dlg->Font()->Height(), -11);

    EXPECT_EQ(Dlg->Label1->Caption(), "Beacon Mill");
    EXPECT_EQ(Dlg->Label2->Caption(), "Version 4.5");
    for (TLabel* Label : {Dlg->Label1, Dlg->Label2}) {
        EXPECT_EQ(Label->Font()->Name(), "MS Sans Serif");
        EXPECT_EQ(Label->Font()->Height(), -16);
        EXPECT_TRUE(Label->Font()->Style().Contains(fsBold));
    }
    EXPECT_TRUE(Dlg->Image1->Stretch());
    EXPECT_TRUE(Dlg->Image1->Transparent());
    ASSERT_NE(Dlg->Image1->Picture()->Graphic(), nullptr);
    EXPECT_FALSE(Dlg->Image1->Picture()->Graphic()->Empty());
    EXPECT_EQ(Dlg->btOK->Kind(), bkOK);
    EXPECT_EQ(Dlg->btOK->Caption(), "OK");
    EXPECT_EQ(Dlg->btOK->TabOrder(), 0);

    const ControlBox Boxes[] = {
        {"Label1", [](TAboutDlg& D) -> TControl* { return D.Label1; }, 32, 32, -1, -1},
        {"Label2", [](TAboutDlg& D) -> TControl* { return D.Label2; }, 32, 59, -1, -1},
        {"Image1", [](TAboutDlg& D) -> TControl* { return D.Image1; }, 176, 24, 33, 41},
        {"btOK", [](TAboutDlg& D) -> TControl* { return D.btOK; }, 88, 144, 75, 25},
    };
    for (const ControlBox& Box : Boxes) {
        SCOPED_TRACE(Box.Name);
        TControl* C = Box.Get(*Dlg);
        ASSERT_NE(C, nullptr);
        EXPECT_EQ(C->Parent(), Dlg);
        EXPECT_EQ(C->Left(), Box.Left);
        EXPECT_EQ(C->Top(), Box.Top);
        if (Box.Width >= 0) {
            EXPECT_EQ(C->Width(), Box.Width);
            EXPECT_EQ(C->Height(), Box.Height);
        }
    }
    delete Dlg;
}

TEST(AboutBox, ClickingOkEndsTheModalShowWithOk) {
    Application->Initialize();
    TForm Owner(nullptr);
    TAboutDlg Dlg(&Owner);
    bool Clicked = false;
    QTimer::singleShot(0, [&] {
        QWidget* Button = Dlg.btOK->Widget();
        ASSERT_TRUE(Button->isVisible());
        Click(Button);
        Clicked = true;
    });
    EXPECT_EQ(Dlg.ShowModal(), mrOk);
    EXPECT_TRUE(Clicked);
    EXPECT_FALSE(Dlg.Visible());
}

TEST(AboutBox, EnterOnTheShownBoxPressesOk) {
    Application->Initialize();
    TForm Owner(nullptr);
    TAboutDlg Dlg(&Owner);
    QTimer::singleShot(0, [&] {
        PressKey(QApplication::focusWidget() ? QApplication::focusWidget() : Dlg.btOK->Widget(), Qt::Key_Return);
    });
    EXPECT_EQ(Dlg.ShowModal(), mrOk);
}

} // namespace
