// A custom control's own scroll bars, its update area and pixel scrolling,
// the right-to-left canvas, and the line and edge drawing grids use.
#include "platform/gui/CustomControl.h"
#include "platform/gui/Forms.h"
#include "platform/gui/GdiLines.h"
#include "platform/gui/QtApp.h"
#include "platform/gui/WindowScroll.h"

#include <QScrollBar>
#include <QWidget>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

// Paints each row of 10 pixels in its own grey and counts what it paints.
class TStripes : public TCustomControl {
public:
    explicit TStripes(TComponent* AOwner) : TCustomControl(AOwner) { SetKeepImage(true); }

    std::vector<TRect> Clips;
    std::vector<TMessage> Scrolls;
    int Shade = 0;

protected:
    void Paint() override {
        Clips.push_back(Canvas()->ClipRect());
        for (int Y = 0; Y < ClientHeight(); Y += 10) {
            Canvas()->Brush()->SetColor(static_cast<TColor>((Y + Shade) % 250 * 0x010101));
            Canvas()->FillRect(Rect(0, Y, ClientWidth(), Y + 10));
        }
    }
    void Dispatch(TMessage& Message) override {
        if (Message.Msg == WM_VSCROLL || Message.Msg == WM_HSCROLL) Scrolls.push_back(Message);
        TCustomControl::Dispatch(Message);
    }
};

class WindowScrollTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        Control.SetBounds(0, 0, 100, 100);
        Control.HandleNeeded();
        Control.Update();
        Control.Clips.clear();
    }
    TStripes Control{nullptr};
};

TEST_F(WindowScrollTest, ARangeShowsTheBarAndTakesItsRoomFromTheClientArea) {
    EXPECT_EQ(Control.ClientWidth(), 100);
    SetScrollRange(&Control, SB_VERT, 0, 127, true);
    EXPECT_TRUE(ScrollBarVisible(&Control, SB_VERT));
    EXPECT_EQ(Control.ClientWidth(), 100 - GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_EQ(SetScrollPos(&Control, SB_VERT, 200, true), 0);
    EXPECT_EQ(GetScrollPos(&Control, SB_VERT), 127); // held within the range
    SetScrollRange(&Control, SB_VERT, 0, 0, true);
    EXPECT_FALSE(ScrollBarVisible(&Control, SB_VERT));
    EXPECT_EQ(Control.ClientWidth(), 100);
}

TEST_F(WindowScrollTest, TheUsersInputOnTheBarArrivesAsScrollMessages) {
    SetScrollRange(&Control, SB_VERT, 0, 127, true);
    auto* Bar = Control.Widget()->findChild<QScrollBar*>();
    ASSERT_NE(Bar, nullptr);
    Bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    Bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    Bar->triggerAction(QAbstractSlider::SliderToMaximum);
    std::vector<int> Codes;
    for (const TMessage& M : Control.Scrolls)
        Codes.push_back(LoWord(M.WParam));
    EXPECT_EQ(Codes, (std::vector<int>{SB_LINEDOWN, SB_ENDSCROLL, SB_PAGEUP, SB_ENDSCROLL, SB_BOTTOM,
                                       SB_ENDSCROLL}));
    // The bar's position stays where the control put it.
    EXPECT_EQ(GetScrollPos(&Control, SB_VERT), 0);
    EXPECT_EQ(Bar->value(), 0);
}

// Only what differs is handed to the bar widget, so after every kind of
// change it must still show exactly the control's range, page, position and
// state, even after the user dragged its thumb or its parent was disabled.
TEST_F(WindowScrollTest, TheBarWidgetShowsWhatTheControlLastSetAfterEachChange) {
    enum TStep { Range, Page, Pos, All, Drag, Disable, Enable, ParentOff, ParentOn };
    struct TCase {
        TStep Step;
        int A;
        int B;
    };
    const TCase Steps[] = {
        {Range, 1, 40},  {Page, 10, 0},   {Pos, 12, 0},    {Range, 1, 41},   {Range, 1, 41},
        {Drag, 25, 0},   {Range, 1, 42},  {Drag, 3, 0},    {Pos, 12, 0},     {All, 0, 30},
        {Page, 7, 0},    {Disable, 0, 0}, {ParentOff, 0, 0}, {ParentOn, 0, 0}, {Range, 1, 50},
        {ParentOff, 0, 0}, {Enable, 0, 0}, {ParentOn, 0, 0}, {Pos, 60, 0},    {Page, 1, 0},
        {Range, 5, 6},   {Pos, 5, 0},     {Drag, 6, 0},    {All, 1, 200},    {Pos, 150, 0},
        {ParentOff, 0, 0}, {Disable, 0, 0}, {ParentOn, 0, 0}, {Pos, 10, 0},   {Enable, 0, 0}};
    SetScrollRange(&Control, SB_VERT, 0, 127, true);
    auto* Bar = Control.Widget()->findChild<QScrollBar*>();
    ASSERT_NE(Bar, nullptr);
    int N = 0;
    for (const TCase& C : Steps) {
        TScrollInfo Info;
        switch (C.Step) {
        case Range:
            SetScrollRange(&Control, SB_VERT, C.A, C.B, true);
            break;
        case Page:
            Info.fMask = SIF_PAGE;
            Info.nPage = static_cast<unsigned>(C.A);
            SetScrollInfo(&Control, SB_VERT, Info, true);
            break;
        case Pos:
            SetScrollPos(&Control, SB_VERT, C.A, true);
            break;
        case All:
            Info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
            Info.nMin = C.A;
            Info.nMax = C.B;
            Info.nPage = 9;
            Info.nPos = C.B / 2;
            SetScrollInfo(&Control, SB_VERT, Info, true);
            break;
        case Drag:
            // The thumb moves under the mouse; the control leaves its position.
            Bar->setSliderPosition(C.A);
            EnableScrollBar(&Control, SB_VERT, ESB_ENABLE_BOTH);
            break;
        case Disable:
            EnableScrollBar(&Control, SB_VERT, ESB_DISABLE_BOTH);
            break;
        case Enable:
            EnableScrollBar(&Control, SB_VERT, ESB_ENABLE_BOTH);
            break;
        case ParentOff:
        case ParentOn:
            Control.SetEnabled(C.Step == ParentOn);
            break;
        }
        TScrollInfo Now;
        Now.fMask = SIF_ALL;
        ASSERT_TRUE(GetScrollInfo(&Control, SB_VERT, Now));
        const int Page = static_cast<int>(Now.nPage);
        SCOPED_TRACE("step " + std::to_string(N++));
        EXPECT_EQ(Bar->minimum(), Now.nMin);
        EXPECT_EQ(Bar->maximum(), std::max(Now.nMin, Now.nMax - std::max(Page - 1, 0)));
        EXPECT_EQ(Bar->pageStep(), std::max(Page, 1));
        EXPECT_EQ(Bar->value(), Now.nPos);
        EXPECT_EQ(Bar->sliderPosition(), Now.nPos);
        EXPECT_EQ(Bar->isEnabled(), Control.Enabled() && ScrollBarEnabled(&Control, SB_VERT));
    }
}

TEST_F(WindowScrollTest, ScrollingMovesThePixelsAndPaintsOnlyWhatItUncovered) {
    const TColor Row3 = Control.Canvas()->Pixels(5, 35);
    ScrollWindowEx(&Control, 0, -20, nullptr, nullptr, nullptr, SW_INVALIDATE);
    EXPECT_EQ(Control.Canvas()->Pixels(5, 15), Row3);
    TRect Pending;
    ASSERT_TRUE(GetUpdateRect(&Control, &Pending));
    EXPECT_EQ(Pending, Rect(0, 80, 100, 100));
    UpdateWindow(&Control);
    ASSERT_EQ(Control.Clips.size(), 1u);
    EXPECT_EQ(Control.Clips[0], Rect(0, 80, 100, 100));
    EXPECT_FALSE(GetUpdateRect(&Control, nullptr));
    // An area already waiting moves along with the pixels.
    const TRect Waiting = Rect(0, 50, 10, 60);
    InvalidateRect(&Control, &Waiting, false);
    ScrollWindowEx(&Control, 0, -10, nullptr, nullptr, nullptr, 0);
    ASSERT_TRUE(GetUpdateRect(&Control, &Pending));
    EXPECT_EQ(Pending, Rect(0, 40, 10, 50));
}

// A control invalidated whole over and over keeps one area waiting; once
// a validate, a paint or a scroll took part of it, the next whole
// invalidation must wait for all of it again.
TEST_F(WindowScrollTest, InvalidatingAllAfterTheAreaShrankWaitsForAllAgain) {
    const TRect All = Rect(0, 0, 100, 100);
    const TRect Top = Rect(0, 0, 100, 50);
    const std::vector<std::function<void()>> Shrinks = {
        [&] { ValidateRect(&Control, &Top); },
        [&] { UpdateWindow(&Control); },
        [&] { ScrollWindowEx(&Control, 0, -20, nullptr, nullptr, nullptr, 0); },
    };
    int N = 0;
    for (const auto& Shrink : Shrinks) {
        SCOPED_TRACE("shrink " + std::to_string(N++));
        InvalidateRect(&Control, nullptr, false);
        InvalidateRect(&Control, nullptr, false);
        Shrink();
        TRect Pending;
        if (GetUpdateRect(&Control, &Pending)) {
            EXPECT_NE(Pending, All);
        }
        InvalidateRect(&Control, nullptr, false);
        ASSERT_TRUE(GetUpdateRect(&Control, &Pending));
        EXPECT_EQ(Pending, All);
        UpdateWindow(&Control);
    }
}

TEST(MirroredCanvas, DrawsXMirroredAndKeepsTextReadable) {
    EnsureQtApplication();
    TBitmap B;
    B.SetSize(100, 20);
    TCanvas* C = B.Canvas();
    C->Brush()->SetColor(clWhite);
    C->FillRect(Rect(0, 0, 100, 20));
    C->SetMirrorWidth(100);
    C->Brush()->SetColor(clRed);
    C->FillRect(Rect(0, 0, 10, 20)); // the first ten pixels land at the right
    C->SetMirrorWidth(0);
    EXPECT_EQ(C->Pixels(95, 5), clRed);
    EXPECT_EQ(C->Pixels(89, 5), clWhite);
    EXPECT_EQ(C->Pixels(5, 5), clWhite);
}

TEST(GdiLines, GeometricBandsAndRaisedEdges) {
    EnsureQtApplication();
    TBitmap B;
    B.SetSize(40, 40);
    TCanvas* C = B.Canvas();
    C->Brush()->SetColor(clWhite);
    C->FillRect(Rect(0, 0, 40, 40));
    const TGeometricPen Pen{PS_GEOMETRIC | PS_ENDCAP_FLAT | PS_JOIN_MITER, 3, clBlue};
    PolyPolyline(C, {Point(10, 5), Point(10, 30), Point(20, 5), Point(20, 30)}, {2, 2}, &Pen);
    // Three pixels wide around x 10 (9..11), ending flat at y 30.
    EXPECT_EQ(C->Pixels(9, 20), clBlue);
    EXPECT_EQ(C->Pixels(11, 20), clBlue);
    EXPECT_EQ(C->Pixels(12, 20), clWhite);
    EXPECT_EQ(C->Pixels(10, 30), clWhite);
    EXPECT_EQ(C->Pixels(20, 29), clBlue);

    TRect R = Rect(0, 0, 40, 40);
    DrawEdge(C, R, BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
    EXPECT_EQ(C->Pixels(0, 20), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(C->Pixels(39, 20), ColorToRGB(clBtnShadow));
    EXPECT_EQ(R, Rect(1, 1, 39, 39));
}

TEST(GdiLines, MonoEdgesAreFlatWhicheverWayTheyFace) {
    EnsureQtApplication();
    TBitmap B;
    B.SetSize(20, 20);
    TCanvas* C = B.Canvas();
    const TColor Frame = ColorToRGB(clWindowFrame), Window = ColorToRGB(clWindow);
    struct TCase {
        const char* Name;
        unsigned Edge;
        bool Inner; // an inner ring is drawn too
    };
    for (const TCase& T : {TCase{"raised outer", BDR_RAISEDOUTER, false},
                           TCase{"sunken", EDGE_SUNKEN, true}, TCase{"raised", EDGE_RAISED, true}}) {
        C->Brush()->SetColor(clRed);
        C->FillRect(Rect(0, 0, 20, 20));
        TRect R = Rect(0, 0, 20, 20);
        DrawEdge(C, R, T.Edge, BF_RECT | BF_MONO | BF_ADJUST);
        // Every side of a ring takes the same colour.
        for (const TPoint P : {Point(0, 10), Point(10, 0), Point(19, 10), Point(10, 19)})
            EXPECT_EQ(C->Pixels(P.X, P.Y), Frame) << T.Name << " outer " << P.X << "," << P.Y;
        for (const TPoint P : {Point(1, 10), Point(10, 1), Point(18, 10), Point(10, 18)})
            EXPECT_EQ(C->Pixels(P.X, P.Y), T.Inner ? Window : ColorToRGB(clRed))
                << T.Name << " inner " << P.X << "," << P.Y;
        EXPECT_EQ(R, T.Inner ? Rect(2, 2, 18, 18) : Rect(1, 1, 19, 19)) << T.Name;
    }
}

} // namespace
