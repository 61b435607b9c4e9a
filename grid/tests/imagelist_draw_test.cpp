#include "grid/foundation/ImageListDraw.h"

#include <gtest/gtest.h>

using namespace grid;

// Found by the test framework's printer beside TRect.
static void PrintTo(const TRect& R, std::ostream* Out) {
    *Out << "{" << R.Left << "," << R.Top << "," << R.Right << "," << R.Bottom << "}";
}

namespace {

TEST(StretchDraw, PlacesThePictureByTheCellOptions) {
    struct Case {
        const char* What;
        TRect Rect;
        int Width, Height;
        bool Center, Stretch, Shrink, Keep;
        TRect Source, Dest;
    } Cases[] = {
        {"wide picture shrunk into a square, centred",
         {0, 0, 50, 50},
         100,
         50,
         true,
         false,
         true,
         true,
         {0, 0, 100, 50},
         {0, 12, 50, 37}},
        {"wide picture shrunk into a square",
         {0, 0, 50, 50},
         100,
         50,
         false,
         false,
         true,
         true,
         {0, 0, 100, 50},
         {0, 0, 50, 25}},
        {"wide picture cut to its middle",
         {10, 20, 60, 70},
         100,
         50,
         true,
         false,
         false,
         true,
         {25, 0, 75, 50},
         {10, 20, 60, 70}},
        {"small picture kept at its size, centred",
         {0, 0, 40, 30},
         10,
         10,
         true,
         false,
         false,
         true,
         {0, 0, 10, 10},
         {15, 10, 25, 20}},
        {"small picture stretched by its ratio",
         {0, 0, 40, 30},
         10,
         10,
         true,
         true,
         false,
         true,
         {0, 0, 10, 10},
         {5, 0, 35, 30}},
        {"ratio rounds to the nearest pixel",
         {0, 0, 10, 10},
         30,
         20,
         false,
         false,
         true,
         true,
         {0, 0, 30, 20},
         {0, 0, 10, 7}},
        // Without the ratio each direction goes alone; halves go to even.
        {"centred in 5 spare pixels",
         {0, 0, 15, 10},
         10,
         10,
         true,
         false,
         false,
         false,
         {0, 0, 10, 10},
         {2, 0, 12, 10}},
        {"centred in 7 spare pixels",
         {0, 0, 17, 10},
         10,
         10,
         true,
         false,
         false,
         false,
         {0, 0, 10, 10},
         {4, 0, 14, 10}},
        {"large picture cut around its middle",
         {0, 0, 10, 10},
         15,
         13,
         true,
         false,
         false,
         false,
         {2, 2, 12, 12},
         {0, 0, 10, 10}},
        {"large picture cut to its corner",
         {0, 0, 10, 10},
         15,
         13,
         false,
         false,
         false,
         false,
         {0, 0, 10, 10},
         {0, 0, 10, 10}},
        {"large picture shrunk",
         {0, 0, 10, 10},
         15,
         13,
         true,
         false,
         true,
         false,
         {0, 0, 15, 13},
         {0, 0, 10, 10}},
        {"small picture stretched",
         {5, 5, 25, 25},
         10,
         10,
         true,
         true,
         false,
         false,
         {0, 0, 10, 10},
         {5, 5, 25, 25}},
        {"no room at all",
         {0, 0, 10, 0},
         10,
         10,
         true,
         false,
         false,
         true,
         {0, 0, 10, 10},
         {0, 0, 10, 0}},
    };
    for (const Case& C : Cases) {
        const TgxStretchRects R =
            gxStretchRects(C.Rect, C.Width, C.Height, C.Center, C.Stretch, C.Shrink, C.Keep);
        EXPECT_EQ(R.Source, C.Source) << C.What;
        EXPECT_EQ(R.Dest, C.Dest) << C.What;
    }
}

class StretchDrawPixels : public ::testing::Test {
protected:
    void SetUp() override {
        Target.SetSize(8, 8);
        Target.Canvas()->Brush()->SetColor(clBlack);
        Target.Canvas()->FillRect({0, 0, 8, 8});
        Target.Canvas()->Brush()->SetColor(clYellow);
        // A 2x2 picture: red with a lime bottom-left pixel.
        Picture.SetSize(2, 2);
        Picture.Canvas()->Brush()->SetColor(clRed);
        Picture.Canvas()->FillRect({0, 0, 2, 2});
        Picture.Canvas()->SetPixels(0, 1, clLime);
    }
    TColor At(int X, int Y) { return Target.Canvas()->Pixels(X, Y); }

    TBitmap Target;
    TBitmap Picture;
};

TEST_F(StretchDrawPixels, AnEmptyPictureLeavesOnlyTheFill) {
    TBitmap Empty;
    gxStretchDraw(Target.Canvas(), {2, 2, 6, 6}, &Empty, clNone, true, true, true, true);
    EXPECT_EQ(At(2, 2), clYellow);
    EXPECT_EQ(At(5, 5), clYellow);
    EXPECT_EQ(At(6, 6), clBlack);
    gxStretchDraw(Target.Canvas(), {0, 0, 8, 0}, &Picture, clNone, true, true, true, true);
    EXPECT_EQ(At(0, 0), clBlack);
}

TEST_F(StretchDrawPixels, OpaquePicturesAreCopiedWhateverTheCopyMode) {
    Target.Canvas()->SetCopyMode(cmSrcInvert);
    gxStretchDraw(Target.Canvas(), {0, 0, 6, 4}, &Picture, clNone, true, false, false, false);
    EXPECT_EQ(Target.Canvas()->CopyMode(), cmSrcInvert);
    EXPECT_EQ(At(0, 0), clYellow); // fill around the centred picture
    EXPECT_EQ(At(2, 1), clRed);
    EXPECT_EQ(At(2, 2), clLime);
    EXPECT_EQ(At(4, 1), clYellow);
    EXPECT_EQ(At(6, 0), clBlack); // outside the cell
}

TEST_F(StretchDrawPixels, TransparentPixelsShowTheFill) {
    gxStretchDraw(Target.Canvas(), {0, 0, 4, 4}, &Picture, clLime, false, true, false, false);
    EXPECT_EQ(At(0, 0), clRed);
    EXPECT_EQ(At(3, 1), clRed);
    EXPECT_EQ(At(0, 2), clYellow); // the lime quarter, stretched, left out
    EXPECT_EQ(At(1, 3), clYellow);
    EXPECT_EQ(At(2, 3), clRed);
}

} // namespace
