// Painting a custom control onto another canvas, as a printout does.
#include "platform/gui/CustomControl.h"
#include "platform/gui/QtApp.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// Left half red, right half blue; the canvas's clip is noted.
class THalves : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    bool Fail = false;
    int Paints = 0;

protected:
    void Paint() override {
        ++Paints;
        Canvas()->Brush()->SetColor(clRed);
        Canvas()->FillRect(Rect(0, 0, Width() / 2, Height()));
        Canvas()->Brush()->SetColor(clBlue);
        Canvas()->FillRect(Rect(Width() / 2, 0, Width(), Height()));
        if (Fail) throw std::runtime_error("paint failed");
    }
};

class PaintToTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        Control.SetBounds(0, 0, 20, 10);
        Target.SetSize(40, 30);
        Target.Canvas()->Brush()->SetColor(clWhite);
        Target.Canvas()->FillRect(Rect(0, 0, 40, 30));
    }

    THalves Control{nullptr};
    TBitmap Target;
};

TEST_F(PaintToTest, TheWholeControlLandsAtTheOffsetAndItsOwnImageStays) {
    Control.Canvas()->Brush()->SetColor(clLime);
    Control.Canvas()->FillRect(Rect(0, 0, 20, 10));
    Control.PaintTo(Target.Canvas(), 5, 7);
    EXPECT_EQ(Target.Canvas()->Pixels(4, 7), clWhite);
    EXPECT_EQ(Target.Canvas()->Pixels(5, 7), clRed);
    EXPECT_EQ(Target.Canvas()->Pixels(14, 16), clRed);
    EXPECT_EQ(Target.Canvas()->Pixels(15, 7), clBlue);
    EXPECT_EQ(Target.Canvas()->Pixels(24, 16), clBlue);
    EXPECT_EQ(Target.Canvas()->Pixels(25, 16), clWhite);
    EXPECT_EQ(Target.Canvas()->Pixels(24, 17), clWhite);
    // The control's canvas draws into its own image again.
    EXPECT_EQ(Control.Canvas()->Pixels(0, 0), clLime);
    Control.Canvas()->Brush()->SetColor(clYellow);
    Control.Canvas()->FillRect(Rect(0, 0, 1, 1));
    EXPECT_EQ(Control.Canvas()->Pixels(0, 0), clYellow);
    EXPECT_EQ(Target.Canvas()->Pixels(5, 7), clRed);
}

TEST_F(PaintToTest, APartOutsideTheTargetIsCutAndAFailedPaintLeavesNoTrace) {
    Control.PaintTo(Target.Canvas(), 30, 25);
    EXPECT_EQ(Target.Canvas()->Pixels(29, 24), clWhite);
    EXPECT_EQ(Target.Canvas()->Pixels(30, 25), clRed);
    EXPECT_EQ(Target.Canvas()->Pixels(39, 29), clRed);
    Control.PaintTo(Target.Canvas(), 25, 25);
    EXPECT_EQ(Target.Canvas()->Pixels(39, 29), clBlue);

    Control.Fail = true;
    EXPECT_THROW(Control.PaintTo(Target.Canvas(), 0, 0), std::runtime_error);
    EXPECT_EQ(Target.Canvas()->Pixels(0, 0), clWhite);
    Control.Fail = false;
    Control.Canvas()->Brush()->SetColor(clLime);
    Control.Canvas()->FillRect(Rect(0, 0, 1, 1));
    EXPECT_EQ(Control.Canvas()->Pixels(0, 0), clLime);
}

} // namespace
