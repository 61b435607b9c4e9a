#include "components/SlidingPanel.h"

#include "platform/gui/Forms.h"
#include "platform/gui/QtApp.h"
#include "platform/gui/tests/GuiTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using components::OpenFrom_t;
using components::TSlidingPanel;

// A form in the designer: what it owns is being designed too.
class TDesignedForm : public TForm {
public:
    TDesignedForm() : TForm(nullptr) { SetDesigning(true); }
};

class SlidingPanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 600, 400);
        Panel = new TSlidingPanel(Form);
        Panel->SetParent(Form);
        Panel->SetBounds(20, 10, 150, 120);
        Form->Show();
    }

    void TearDown() override { delete Form; }

    TPanel* Strip() const { return static_cast<TPanel*>(Panel->Controls(0)); }
    TPaintBox* Arrow() const { return static_cast<TPaintBox*>(Strip()->Controls(0)); }
    void ClickStrip() { ClickAt(Strip()->Widget(), QPoint(2, 2)); }

    TForm* Form = nullptr;
    TSlidingPanel* Panel = nullptr;
};

TEST_F(SlidingPanelTest, StartsOpenFromTheLeftWithAnEightPixelStrip) {
    EXPECT_EQ(Panel->OpenFrom(), components::ofLeft);
    EXPECT_EQ(Panel->OpenSize(), 150);
    EXPECT_EQ(Panel->HighlightColor(), clHighlight);
    EXPECT_EQ(Panel->HighlightArrowColor(), clHighlightText);
    EXPECT_FALSE(Panel->Collapsed());
    EXPECT_EQ(Strip()->Align(), alLeft);
    EXPECT_EQ(Strip()->Width(), 8);
    EXPECT_EQ(Strip()->BevelOuter(), bvNone);
    // The arrow box sits in the middle of the strip, and stays there as
    // the panel grows.
    EXPECT_EQ(Arrow()->BoundsRect(),
              Rect(1, (Strip()->Height() - 9) / 2, 7, (Strip()->Height() - 9) / 2 + 9));
    Panel->SetHeight(320);
    EXPECT_NEAR(Arrow()->Top(), (Strip()->Height() - 9) / 2, 1);
}

TEST_F(SlidingPanelTest, ClickOnTheStripCollapsesToTheStripAndOpensAgain) {
    // A raised outer bevel of width 1 around the strip: 8 + 2.
    ClickStrip();
    EXPECT_EQ(Panel->BoundsRect(), Rect(20, 10, 30, 130));
    EXPECT_TRUE(Panel->Collapsed());
    ClickStrip();
    EXPECT_EQ(Panel->BoundsRect(), Rect(20, 10, 170, 130));
    EXPECT_FALSE(Panel->Collapsed());
    // A click on the arrow does the same.
    ClickAt(Arrow()->Widget(), QPoint(2, 2));
    EXPECT_TRUE(Panel->Collapsed());
}

struct TEdgeCase {
    const char* Name;
    OpenFrom_t Edge;
    TRect CollapsedBounds;
    int OpenSize;
};

class SlidingPanelEdge : public SlidingPanelTest,
                         public ::testing::WithParamInterface<TEdgeCase> {};

TEST_P(SlidingPanelEdge, CollapseKeepsTheEdgeOppositeTheStrip) {
    const TEdgeCase& C = GetParam();
    const TRect Open = Panel->BoundsRect();
    // Changing the edge at run time takes the present size as the open size.
    Panel->SetOpenFrom(C.Edge);
    EXPECT_EQ(Panel->OpenSize(), C.OpenSize);
    Panel->Collapse();
    EXPECT_EQ(Panel->BoundsRect(), C.CollapsedBounds);
    EXPECT_TRUE(Panel->Collapsed());
    Panel->Collapse();
    EXPECT_EQ(Panel->BoundsRect(), C.CollapsedBounds);
    Panel->Expand();
    EXPECT_EQ(Panel->BoundsRect(), Open);
    Panel->Expand();
    EXPECT_EQ(Panel->BoundsRect(), Open);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, SlidingPanelEdge,
    ::testing::Values(TEdgeCase{"Left", components::ofLeft, Rect(20, 10, 30, 130), 150},
                      TEdgeCase{"Right", components::ofRight, Rect(160, 10, 170, 130), 150},
                      TEdgeCase{"Top", components::ofTop, Rect(20, 10, 170, 20), 120},
                      TEdgeCase{"Bottom", components::ofBottom, Rect(20, 120, 170, 130), 120}),
    [](const ::testing::TestParamInfo<TEdgeCase>& Info) { return std::string(Info.param.Name); });

TEST_F(SlidingPanelTest, CollapsedSizeCountsEveryBevel) {
    Panel->SetBevelInner(bvLowered);
    Panel->SetBevelWidth(2);
    EXPECT_EQ(Panel->GetCollapsedSize(), 16);
    Panel->SetBevelOuter(bvNone);
    EXPECT_EQ(Panel->GetCollapsedSize(), 12);
    // Any panel that is exactly that narrow counts as collapsed.
    Panel->SetWidth(12);
    EXPECT_TRUE(Panel->Collapsed());
}

TEST_F(SlidingPanelTest, StripFollowsThePanelsColourAndFont) {
    Panel->SetColor(clYellow);
    EXPECT_EQ(Strip()->Color(), clYellow);
    Panel->Font()->SetColor(clMaroon);
    EXPECT_EQ(Strip()->Font()->Color(), clMaroon);
}

TEST_F(SlidingPanelTest, StripLightsUpWhileTheMouseIsOverIt) {
    Panel->SetColor(clSilver);
    Panel->Font()->SetColor(clBlack);
    Panel->SetHighlightColor(clNavy);
    Panel->SetHighlightArrowColor(clYellow);
    SendMouse(Strip()->Widget(), QEvent::MouseMove, QPoint(3, 30), Qt::NoButton);
    EXPECT_EQ(GetCaptureControl(), Strip());
    EXPECT_EQ(Strip()->Color(), clNavy);
    EXPECT_EQ(Strip()->Font()->Color(), clYellow);
    // Moves inside keep it lit; the first one outside puts it out.
    SendMouse(Strip()->Widget(), QEvent::MouseMove, QPoint(7, 60), Qt::NoButton);
    EXPECT_EQ(Strip()->Color(), clNavy);
    SendMouse(Strip()->Widget(), QEvent::MouseMove, QPoint(8, 60), Qt::NoButton);
    EXPECT_EQ(GetCaptureControl(), nullptr);
    EXPECT_EQ(Strip()->Color(), clSilver);
    EXPECT_EQ(Strip()->Font()->Color(), clBlack);
    // The arrow box lights the strip as well.
    SendMouse(Arrow()->Widget(), QEvent::MouseMove, QPoint(1, 1), Qt::NoButton);
    EXPECT_EQ(Strip()->Color(), clNavy);
}

struct TArrowCase {
    const char* Name;
    OpenFrom_t Edge;
    bool Collapsed;
    TPoint Lit;  // inside the arrow
    TPoint Dark; // inside the other way's arrow, outside this one
};

class SlidingPanelArrow : public SlidingPanelTest,
                          public ::testing::WithParamInterface<TArrowCase> {};

TEST_P(SlidingPanelArrow, PointsTheWayThePanelWillMove) {
    const TArrowCase& C = GetParam();
    Panel->SetColor(clSilver);
    Panel->Font()->SetColor(clBlack);
    Panel->SetOpenFrom(C.Edge);
    if (C.Collapsed) Panel->Collapse();
    Arrow()->Perform(WM_PAINT);
    TCanvas* Canvas = Arrow()->Canvas();
    EXPECT_EQ(Canvas->Pixels(C.Lit.X, C.Lit.Y), clBlack);
    EXPECT_EQ(Canvas->Pixels(C.Dark.X, C.Dark.Y), clSilver);
}

// Left and right arrows in a 6 x 9 box, up and down arrows in a 9 x 6 box.
const TPoint LeftOnly = Point(4, 2), RightOnly = Point(1, 2);
const TPoint UpOnly = Point(2, 4), DownOnly = Point(2, 1);

INSTANTIATE_TEST_SUITE_P(
    Arrows, SlidingPanelArrow,
    ::testing::Values(TArrowCase{"LeftOpen", components::ofLeft, false, LeftOnly, RightOnly},
                      TArrowCase{"LeftCollapsed", components::ofLeft, true, RightOnly, LeftOnly},
                      TArrowCase{"TopOpen", components::ofTop, false, UpOnly, DownOnly},
                      TArrowCase{"TopCollapsed", components::ofTop, true, DownOnly, UpOnly},
                      TArrowCase{"RightOpen", components::ofRight, false, RightOnly, LeftOnly},
                      TArrowCase{"RightCollapsed", components::ofRight, true, LeftOnly, RightOnly},
                      TArrowCase{"BottomOpen", components::ofBottom, false, DownOnly, UpOnly},
                      TArrowCase{"BottomCollapsed", components::ofBottom, true, UpOnly, DownOnly}),
    [](const ::testing::TestParamInfo<TArrowCase>& Info) { return std::string(Info.param.Name); });

TEST(SlidingPanelDesign, OpenSizeAndTheDesignedSizeFollowEachOther) {
    EnsureQtApplication();
    TDesignedForm Form;
    auto* Panel = new TSlidingPanel(&Form);
    Panel->SetParent(&Form);
    EXPECT_EQ(Panel->Width(), 150);
    Panel->SetOpenSize(200);
    EXPECT_EQ(Panel->Width(), 200);
    Panel->SetWidth(90);
    EXPECT_EQ(Panel->OpenSize(), 90);
}

TEST_F(SlidingPanelTest, RunTimeResizeLeavesOpenSizeAlone) {
    Panel->SetWidth(90);
    Panel->SetOpenSize(200);
    EXPECT_EQ(Panel->Width(), 90);
    EXPECT_EQ(Panel->OpenSize(), 200);
}

} // namespace
