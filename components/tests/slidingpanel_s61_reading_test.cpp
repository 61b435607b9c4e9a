// The sliding panel on a shown form, worked through its click strip with
// real mouse events and read back from its bounds and its pixels.
#include "components/SlidingPanel.h"
#include "platform/gui/Colors.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtApp.h"
#include "platform/gui/tests/GuiTestSupport.h"

#include <gtest/gtest.h>

#include <QImage>
#include <memory>
#include <vector>

namespace components {
namespace {

class SlidingPanelReading : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, 500, 400);
        Panel = new TSlidingPanel(Form.get());
        Panel->SetParent(Form.get());
        Panel->SetBounds(100, 50, 150, 120);
        ShowActive(*Form);
    }
    std::vector<int> Bounds() const {
        return {Panel->Left(), Panel->Top(), Panel->Width(), Panel->Height()};
    }
    // A point in the middle of the strip, in the panel's coordinates.
    QPoint StripPoint() const {
        const int B = Panel->BevelWidth();
        switch (Panel->OpenFrom()) {
        case ofLeft:
            return {B + 4, B + 3};
        case ofRight:
            return {Panel->Width() - B - 4, B + 3};
        case ofTop:
            return {B + 3, B + 4};
        default:
            return {B + 3, Panel->Height() - B - 4};
        }
    }
    void ClickStrip() {
        QWidget* W = Panel->Widget()->childAt(StripPoint());
        ASSERT_NE(W, nullptr);
        ClickAt(W, W->mapFrom(Panel->Widget(), StripPoint()));
    }
    TColor PixelAt(int X, int Y) const {
        const QImage I = Panel->Widget()->grab().toImage();
        const QRgb P = I.pixel(X, Y);
        return static_cast<TColor>(qRed(P) | (qGreen(P) << 8) | (qBlue(P) << 16));
    }
    // The arrow box's pixel (X, Y): the box is centred in the strip.
    TColor ArrowPixel(int X, int Y) const {
        const int B = Panel->BevelWidth();
        const bool Across = Panel->OpenFrom() == ofLeft || Panel->OpenFrom() == ofRight;
        const int BoxW = Across ? 6 : 9, BoxH = Across ? 9 : 6;
        int StripL = B, StripT = B, StripW = 8, StripH = 8;
        if (Across)
            StripH = Panel->Height() - 2 * B;
        else
            StripW = Panel->Width() - 2 * B;
        if (Panel->OpenFrom() == ofRight) StripL = Panel->Width() - B - 8;
        if (Panel->OpenFrom() == ofBottom) StripT = Panel->Height() - B - 8;
        return PixelAt(StripL + (StripW - BoxW) / 2 + X, StripT + (StripH - BoxH) / 2 + Y);
    }

    std::unique_ptr<TForm> Form;
    TSlidingPanel* Panel = nullptr;
};

TEST_F(SlidingPanelReading, StripClicksCollapseAndExpandKeepingTheFarEdge) {
    struct Case {
        OpenFrom_t From;
        std::vector<int> Collapsed;
        std::vector<int> Opened;
    } Cases[] = {
        {ofLeft, {100, 50, 10, 120}, {100, 50, 150, 120}},
        {ofRight, {240, 50, 10, 120}, {100, 50, 150, 120}},
        {ofTop, {100, 50, 150, 10}, {100, 50, 150, 120}},
        {ofBottom, {100, 160, 150, 10}, {100, 50, 150, 120}},
    };
    for (const Case& C : Cases) {
        Panel->SetBounds(100, 50, 150, 120);
        Panel->SetOpenFrom(C.From);
        EXPECT_FALSE(Panel->Collapsed());
        ClickStrip();
        EXPECT_EQ(Bounds(), C.Collapsed) << int(C.From);
        EXPECT_TRUE(Panel->Collapsed());
        ClickStrip();
        EXPECT_EQ(Bounds(), C.Opened) << int(C.From);
        EXPECT_FALSE(Panel->Collapsed());
    }
}

TEST_F(SlidingPanelReading, CollapsedSizeCountsTheBevels) {
    EXPECT_EQ(Panel->OpenSize(), 150);
    EXPECT_EQ(Panel->GetCollapsedSize(), 10);
    Panel->SetBevelInner(bvLowered);
    Panel->SetBevelWidth(2);
    EXPECT_EQ(Panel->GetCollapsedSize(), 16);
    Panel->SetBevelOuter(bvNone);
    EXPECT_EQ(Panel->GetCollapsedSize(), 12);
    // A size reached by other means counts too.
    Panel->SetWidth(12);
    EXPECT_TRUE(Panel->Collapsed());
    Panel->Collapse();
    EXPECT_EQ(Panel->Width(), 12);
    Panel->Expand();
    EXPECT_EQ(Panel->Width(), 150);
    Panel->Expand();
    EXPECT_EQ(Panel->Width(), 150);
}

TEST_F(SlidingPanelReading, ChangingTheEdgeTakesThePresentSize) {
    Panel->SetOpenFrom(ofTop);
    EXPECT_EQ(Panel->OpenSize(), 120);
    Panel->Collapse();
    EXPECT_EQ(Panel->Height(), 10);
    Panel->Expand();
    EXPECT_EQ(Panel->Height(), 120);
    Panel->SetWidth(90);
    Panel->SetOpenFrom(ofRight);
    EXPECT_EQ(Panel->OpenSize(), 90);
    // At run time OpenSize does not resize the panel.
    Panel->SetOpenSize(200);
    EXPECT_EQ(Panel->Width(), 90);
    Panel->Collapse();
    Panel->Expand();
    EXPECT_EQ(Panel->Width(), 200);
}

TEST_F(SlidingPanelReading, ArrowPointsTheWayThePanelWillMove) {
    // Probe pixels that tell the triangles apart: (1, 1) lies on the right
    // and down arrows only; (4, 1) on the left, up and down arrows.
    const TColor Ink = ColorToRGB(Panel->Font()->Color());
    struct Case {
        OpenFrom_t From;
        bool Collapsed;
        bool At11, At41;
    } Cases[] = {
        {ofLeft, false, false, true},  {ofLeft, true, true, false},   {ofRight, false, true, false},
        {ofRight, true, false, true},  {ofTop, false, false, true},   {ofTop, true, true, true},
        {ofBottom, false, true, true}, {ofBottom, true, false, true},
    };
    for (const Case& C : Cases) {
        Panel->SetBounds(100, 50, 150, 120);
        Panel->SetOpenFrom(C.From);
        if (C.Collapsed) Panel->Collapse();
        EXPECT_EQ(ArrowPixel(1, 1) == Ink, C.At11) << int(C.From) << " collapsed " << C.Collapsed;
        EXPECT_EQ(ArrowPixel(4, 1) == Ink, C.At41) << int(C.From) << " collapsed " << C.Collapsed;
        Panel->Expand();
    }
}

TEST_F(SlidingPanelReading, StripLightsUpUnderTheMouse) {
    Panel->SetColor(clSilver);
    Panel->SetHighlightColor(clNavy);
    Panel->SetHighlightArrowColor(clYellow);
    const QPoint P = StripPoint();
    QWidget* Strip = Panel->Widget()->childAt(P);
    ASSERT_NE(Strip, nullptr);
    EXPECT_EQ(PixelAt(P.x(), P.y()), clSilver);
    SendMouse(Strip, QEvent::MouseMove, Strip->mapFrom(Panel->Widget(), P), Qt::NoButton);
    EXPECT_EQ(PixelAt(P.x(), P.y()), clNavy);
    EXPECT_EQ(ArrowPixel(4, 4), clYellow);
    // A move that reports a place outside the strip puts it back.
    SendMouse(Strip, QEvent::MouseMove, QPoint(40, 5), Qt::NoButton);
    EXPECT_EQ(PixelAt(P.x(), P.y()), clSilver);
    EXPECT_EQ(ArrowPixel(4, 4), ColorToRGB(Panel->Font()->Color()));
}

TEST_F(SlidingPanelReading, TheArrowWorksAsTheStripDoes) {
    Panel->SetColor(clSilver);
    Panel->SetHighlightColor(clNavy);
    // The arrow's middle, in the panel's coordinates.
    const QPoint Arrow(Panel->BevelWidth() + 1 + 3, Panel->BevelWidth() + (118 - 9) / 2 + 4);
    QWidget* W = Panel->Widget()->childAt(Arrow);
    ASSERT_NE(W, nullptr);
    SendMouse(W, QEvent::MouseMove, W->mapFrom(Panel->Widget(), Arrow), Qt::NoButton);
    EXPECT_EQ(PixelAt(StripPoint().x(), StripPoint().y()), clNavy);
    ClickAt(W, W->mapFrom(Panel->Widget(), Arrow));
    EXPECT_TRUE(Panel->Collapsed());
    EXPECT_EQ(Panel->Width(), 10);
}

TEST_F(SlidingPanelReading, StripFollowsThePanelsColourAndFont) {
    const QPoint P = StripPoint();
    (void)Panel->Widget()->grab(); // painted once in the old colour
    Panel->SetColor(clTeal);
    EXPECT_EQ(PixelAt(P.x(), P.y()), clTeal);
    EXPECT_EQ(PixelAt(100, 60), clTeal);
    Panel->Font()->SetColor(clRed);
    EXPECT_EQ(ArrowPixel(4, 4), clRed);
}

TEST_F(SlidingPanelReading, WhileDesignedTheWidthFollowsOpenSize) {
    struct DesignForm : TForm {
        using TComponent::SetDesigning;
        using TForm::TForm;
    };
    DesignForm Designer(nullptr);
    Designer.SetDesigning(true);
    auto* P = new TSlidingPanel(&Designer);
    P->SetParent(&Designer);
    EXPECT_EQ(P->Width(), 150);
    P->SetOpenSize(180);
    EXPECT_EQ(P->Width(), 180);
    P->SetWidth(120);
    EXPECT_EQ(P->OpenSize(), 120);
    P->SetOpenFrom(ofTop);
    P->SetOpenSize(60);
    EXPECT_EQ(P->Height(), 60);
    EXPECT_EQ(P->Width(), 120);
}

} // namespace
} // namespace components
