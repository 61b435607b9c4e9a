// A bitmap sized one side at a time, as glyphs and pictures are built.
#include "platform/gui/Graphics.h"
#include "platform/gui/QtApp.h"

#include <gtest/gtest.h>

TEST(BitmapExtent, EachSideSetAloneIsKeptUntilTheOtherFollows) {
    EnsureQtApplication();
    struct Case { bool WidthFirst; };
    for (const Case& C : {Case{true}, Case{false}}) {
        TBitmap B;
        if (C.WidthFirst) B.SetWidth(16); else B.SetHeight(12);
        EXPECT_EQ(B.Width(), C.WidthFirst ? 16 : 0);
        EXPECT_EQ(B.Height(), C.WidthFirst ? 0 : 12);
        EXPECT_TRUE(B.Empty());
        EXPECT_THROW(B.ScanLine(0), EInvalidGraphicOperation);
        if (C.WidthFirst) B.SetHeight(12); else B.SetWidth(16);
        EXPECT_EQ(B.Width(), 16);
        EXPECT_EQ(B.Height(), 12);
        EXPECT_FALSE(B.Empty());
        B.Canvas()->Brush()->SetColor(clRed);
        B.Canvas()->FillRect(TRect{0, 0, 16, 12});
        EXPECT_EQ(B.Canvas()->Pixels(15, 11), clRed);
    }
    // A copy keeps the side set so far; emptying forgets it.
    TBitmap Half, Copy;
    Half.SetWidth(9);
    Copy.Assign(&Half);
    EXPECT_EQ(Copy.Width(), 9);
    Copy.Assign(nullptr);
    EXPECT_EQ(Copy.Width(), 0);
}
