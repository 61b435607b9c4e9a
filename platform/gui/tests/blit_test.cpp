// Pattern and block transfers by raster operation.
#include "platform/gui/Blit.h"

#include "platform/gui/Forms.h"

#include <gtest/gtest.h>

namespace {

TEST(Blit, PatBltCombinesTheAreaWithTheBrush) {
    struct Case {
        unsigned Rop;
        TColor Brush;
        TColor Before;
        TColor After;
    };
    const Case Cases[] = {
        {PATCOPY, clRed, clWhite, clRed},
        {PATINVERT, clWhite, clRed, 0xFFFF00}, // brush xor pixel
        {DSTINVERT, clRed, clWhite, clBlack},
        {BLACKNESS, clRed, clWhite, clBlack},
        {WHITENESS, clRed, clBlack, clWhite},
    };
    for (const Case& C : Cases) {
        TBitmap B;
        B.SetSize(6, 6);
        B.Canvas()->Brush()->SetColor(C.Before);
        B.Canvas()->FillRect(Rect(0, 0, 6, 6));
        B.Canvas()->Brush()->SetColor(C.Brush);
        EXPECT_TRUE(PatBlt(B.Canvas(), 1, 1, 3, 3, C.Rop));
        EXPECT_EQ(B.Canvas()->Pixels(2, 2), C.After) << std::hex << C.Rop;
        EXPECT_EQ(B.Canvas()->Pixels(4, 4), C.Before) << std::hex << C.Rop; // outside the area
        EXPECT_EQ(B.Canvas()->CopyMode(), cmSrcCopy);                       // left as it was
    }
    TBitmap B;
    B.SetSize(2, 2);
    EXPECT_FALSE(PatBlt(B.Canvas(), 0, 0, 0, 2, PATCOPY));
    EXPECT_FALSE(PatBlt(nullptr, 0, 0, 2, 2, PATCOPY));
}

TEST(Blit, BitBltMergeCopyGivesWhiteSourcePixelsTheBrushColour) {
    TBitmap Source;
    Source.SetSize(2, 1);
    Source.Canvas()->SetPixels(0, 0, clWhite);
    Source.Canvas()->SetPixels(1, 0, clBlack);
    TBitmap Dest;
    Dest.SetSize(4, 1);
    Dest.Canvas()->Brush()->SetColor(clYellow);
    EXPECT_TRUE(BitBlt(Dest.Canvas(), 1, 0, 2, 1, Source.Canvas(), 0, 0, MERGECOPY));
    EXPECT_EQ(Dest.Canvas()->Pixels(1, 0), clYellow);
    EXPECT_EQ(Dest.Canvas()->Pixels(2, 0), clBlack);
    EXPECT_TRUE(BitBlt(Dest.Canvas(), 0, 0, 2, 1, Source.Canvas(), 0, 0, SRCCOPY));
    EXPECT_EQ(Dest.Canvas()->Pixels(0, 0), clWhite);
}

} // namespace
