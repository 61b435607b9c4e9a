// A form's window state and size limits: the state a window takes before it
// is on screen, placements applied to hidden windows, the main form while
// the application is minimised, and the sizes the window may take.
#include "platform/gui/Forms.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

TWindowPlacement PlacementOf(TCustomForm* Form) {
    TWindowPlacement P;
    EXPECT_TRUE(GetWindowPlacement(Form, &P));
    return P;
}

TEST(FormWindowState, OnShowSeesTheStateTheWindowWillTakeAndAPlacementRoundTripKeepsIt) {
    for (TWindowState State : {wsMaximized, wsMinimized}) {
        auto Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(100, 120, 400, 300);
        Form->SetWindowState(State);
        TWindowState InShow = wsNormal;
        Form->OnShow = [&](TObject*) {
            InShow = Form->WindowState();
            // What a placement store does in OnShow: read it and put it back.
            TWindowPlacement P = PlacementOf(Form.get());
            SetWindowPlacement(Form.get(), &P);
            EXPECT_FALSE(Form->Widget()->isVisible()) << "not on screen before OnShow ends";
        };
        Form->Show();
        const int Ordinal = static_cast<int>(State);
        EXPECT_EQ(InShow, State) << Ordinal;
        EXPECT_EQ(Form->WindowState(), State) << Ordinal;
        EXPECT_EQ(PlacementOf(Form.get()).rcNormalPosition, Rect(100, 120, 500, 420)) << Ordinal;
    }
}

TEST(FormWindowState, AHiddenWindowTakesAPlacementWithoutAppearingAndStillShowsLater) {
    auto Form = std::make_unique<TForm>(nullptr);
    Form->HandleNeeded();
    Form->SetWindowState(wsMaximized);
    int Shows = 0;
    Form->OnShow = [&](TObject*) { ++Shows; };
    TWindowPlacement P;
    P.showCmd = SW_HIDE;
    P.rcNormalPosition = Rect(30, 40, 430, 340);
    ASSERT_TRUE(SetWindowPlacement(Form.get(), &P));
    EXPECT_FALSE(Form->Widget()->isVisible());
    EXPECT_FALSE(Form->Visible());

    Form->Show();
    EXPECT_EQ(Shows, 1);
    EXPECT_TRUE(Form->Widget()->isVisible());
    EXPECT_EQ(Form->WindowState(), wsMaximized);
    EXPECT_EQ(PlacementOf(Form.get()).rcNormalPosition, Rect(30, 40, 430, 340));
}

TEST(FormWindowState, AWindowMaximisedOnScreenKeepsItsStateWhileHidden) {
    auto Form = std::make_unique<TForm>(nullptr);
    Form->Show();
    // As the window manager's maximise button does.
    Form->Widget()->showMaximized();
    Form->Hide();
    EXPECT_EQ(Form->WindowState(), wsMaximized);
    EXPECT_TRUE(IsZoomed(Form.get()));
    Form->Show();
    EXPECT_EQ(Form->WindowState(), wsMaximized);
    EXPECT_TRUE(Form->Widget()->windowState() & Qt::WindowMaximized);
}

TEST(FormWindowState, TheMainFormReadsTheStateItComesBackToWhileTheApplicationIsMinimised) {
    Application->Initialize();
    TForm* Main = nullptr;
    Application->CreateForm(Main);
    std::unique_ptr<TForm> Owned(Main);
    Application->RemoveComponent(Main);
    ASSERT_EQ(Application->MainForm(), Main);
    Main->SetBounds(50, 60, 400, 300);
    Main->Show();
    int Minimises = 0;
    int Restores = 0;
    Application->OnMinimize = [&](TObject*) { ++Minimises; };
    Application->OnRestore = [&](TObject*) { ++Restores; };

    struct Case {
        const char* Name;
        TWindowState Before;
        std::function<void()> Minimise;
        std::function<void()> Restore;
    };
    const Case Cases[] = {
        {"the application", wsNormal, [] { Application->Minimize(); },
         [] { Application->Restore(); }},
        {"the application, maximised", wsMaximized, [] { Application->Minimize(); },
         [] { Application->Restore(); }},
        {"the system menu", wsMaximized, [&] { Main->Perform(WM_SYSCOMMAND, SC_MINIMIZE); },
         [&] { Main->Perform(WM_SYSCOMMAND, SC_RESTORE); }},
        {"the window manager", wsNormal, [&] { Main->Widget()->showMinimized(); },
         [&] { Main->Widget()->showNormal(); }},
        {"the form's own state", wsNormal, [&] { Main->SetWindowState(wsMinimized); },
         [] { Application->Restore(); }},
    };
    for (const Case& C : Cases) {
        Main->SetWindowState(C.Before);
        C.Minimise();
        EXPECT_TRUE(Application->Minimized()) << C.Name;
        EXPECT_TRUE(Main->Widget()->windowState() & Qt::WindowMinimized) << C.Name;
        EXPECT_EQ(Main->WindowState(), C.Before) << C.Name;
        EXPECT_FALSE(IsIconic(Main)) << C.Name;
        EXPECT_EQ(PlacementOf(Main).showCmd,
                  static_cast<unsigned>(C.Before == wsMaximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL))
            << C.Name;
        C.Restore();
        EXPECT_FALSE(Application->Minimized()) << C.Name;
        EXPECT_EQ(Main->WindowState(), C.Before) << C.Name;
    }
    EXPECT_EQ(Minimises, 5);
    EXPECT_EQ(Restores, 5);
    EXPECT_EQ(PlacementOf(Main).rcNormalPosition, Rect(50, 60, 450, 360));

    Application->OnMinimize = nullptr;
    Application->OnRestore = nullptr;
}

TEST(FormSizeLimits, TheWindowHoldsToTheFormsAnswerToTheSizeQuestion) {
    auto Form = std::make_unique<TForm>(nullptr);
    Form->SetBounds(10, 10, 400, 300);
    Form->Constraints()->SetMinWidth(200);
    // Stands for a hook on the form's messages that limits the size.
    bool Limit = false;
    TPoint MinSeen;
    const TWndMethod Own = Form->WindowProc;
    Form->WindowProc = [&](TMessage& M) {
        Own(M);
        if (M.Msg != WM_GETMINMAXINFO || !Limit) return;
        auto* Info = reinterpret_cast<TMinMaxInfo*>(M.LParam);
        MinSeen = Info->ptMinTrackSize;
        Info->ptMaxTrackSize = Point(500, 350);
    };
    Form->Show();
    QWidget* W = Form->Widget();
    EXPECT_EQ(W->minimumSize(), QSize(200, 0));
    EXPECT_EQ(W->maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));

    Limit = true;
    Form->UpdateSizeLimits();
    EXPECT_EQ(MinSeen, Point(200, 0)) << "the constraints answer first";
    EXPECT_EQ(W->maximumSize(), QSize(500, 350));

    // Bounds set in code are held to the answer as well.
    Form->SetBounds(10, 10, 800, 600);
    EXPECT_EQ(Form->BoundsRect(), Rect(10, 10, 510, 360));
    EXPECT_EQ(W->size(), QSize(500, 350));

    // A constraint that leaves the bounds as they are still changes the limits.
    Form->Constraints()->SetMinHeight(320);
    EXPECT_EQ(W->minimumSize(), QSize(200, 320));
    Limit = false;
    Form->Constraints()->SetMinWidth(0);
    EXPECT_EQ(W->minimumSize(), QSize(0, 320));
    EXPECT_EQ(W->maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
}

} // namespace
