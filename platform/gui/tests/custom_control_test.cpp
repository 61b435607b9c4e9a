#include "platform/gui/CustomControl.h"
#include "platform/gui/QtApp.h"

#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>

#include <vector>

namespace {

// Paints its left half red and its right half blue.
class TPatternControl : public TCustomControl {
public:
    using TCustomControl::TCustomControl;

    int Paints = 0;
    TRect PaintClip;

protected:
    void Paint() override {
        ++Paints;
        PaintClip = Canvas()->ClipRect();
        Canvas()->Brush()->SetColor(clRed);
        Canvas()->FillRect(Rect(0, 0, Width() / 2, Height()));
        Canvas()->Brush()->SetColor(clBlue);
        Canvas()->FillRect(Rect(Width() / 2, 0, Width(), Height()));
    }
};

class CustomControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        Control.SetBounds(0, 0, 40, 20);
    }

    std::vector<TColor> Pixels() {
        std::vector<TColor> Result;
        for (int Y = 0; Y < Control.Height(); ++Y)
            for (int X = 0; X < Control.Width(); ++X)
                Result.push_back(Control.Canvas()->Pixels(X, Y));
        return Result;
    }

    TPatternControl Control{nullptr};
};

TEST_F(CustomControlTest, PaintMessageDrawsTheWholeControlIntoItsImage) {
    Control.Perform(WM_PAINT);
    EXPECT_EQ(Control.Paints, 1);
    EXPECT_EQ(Control.PaintClip, Rect(0, 0, 40, 20));
    EXPECT_EQ(Control.Canvas()->Pixels(0, 0), clRed);
    EXPECT_EQ(Control.Canvas()->Pixels(19, 19), clRed);
    EXPECT_EQ(Control.Canvas()->Pixels(20, 0), clBlue);
    EXPECT_EQ(Control.Canvas()->Pixels(39, 19), clBlue);
    // Outside a paint the canvas reaches the whole image again.
    EXPECT_EQ(Control.Canvas()->ClipRect(), Rect(0, 0, 40, 20));
}

TEST_F(CustomControlTest, WidgetShowsWhatPaintDrew) {
    const QImage Shot = Control.Widget()->grab().toImage();
    ASSERT_EQ(Shot.width(), 40);
    EXPECT_GE(Control.Paints, 1);
    EXPECT_EQ(QColor(Shot.pixel(5, 5)), QColor(Qt::red));
    EXPECT_EQ(QColor(Shot.pixel(30, 15)), QColor(Qt::blue));
}

TEST_F(CustomControlTest, XorLineOutsideAPaintTwiceLeavesTheImage) {
    Control.Perform(WM_PAINT);
    const std::vector<TColor> Before = Pixels();
    TCanvas* Canvas = Control.Canvas();
    Canvas->Pen()->SetMode(pmXor);
    Canvas->Pen()->SetColor(clWhite);
    Canvas->MoveTo(0, 10);
    Canvas->LineTo(40, 10);
    EXPECT_EQ(Canvas->Pixels(5, 10), clAqua);    // red inverted
    EXPECT_EQ(Canvas->Pixels(30, 10), clYellow); // blue inverted
    Canvas->MoveTo(0, 10);
    Canvas->LineTo(40, 10);
    EXPECT_EQ(Pixels(), Before);
    EXPECT_EQ(Control.Paints, 1);
}

TEST_F(CustomControlTest, ImageFollowsTheControlsSizeKeepingWhatWasDrawn) {
    Control.Perform(WM_PAINT);
    Control.SetColor(clLime);
    Control.SetBounds(0, 0, 60, 30);
    EXPECT_EQ(Control.Canvas()->ClipRect(), Rect(0, 0, 60, 30));
    EXPECT_EQ(Control.Canvas()->Pixels(5, 5), clRed);
    EXPECT_EQ(Control.Canvas()->Pixels(50, 25), clLime);
    Control.Perform(WM_PAINT);
    EXPECT_EQ(Control.Canvas()->Pixels(50, 25), clBlue);
}

} // namespace
