// The glyph renderer as the colour bit button drives it: glyph counts from
// the source's shape, the state images it builds, where glyph and caption
// go, and the image list it shares with other renderers.
#include "components/ButtonGlyph.h"
#include "components/ButtonGlyphText.h"
#include "platform/gui/Colors.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/QtApp.h"

#include <gtest/gtest.h>

#include <memory>

namespace components {
namespace {

class ButtonGlyphReading : public ::testing::Test {
protected:
    void SetUp() override { EnsureQtApplication(); }
};

// A source bitmap on an olive ground.
std::unique_ptr<TBitmap> Source(int Width, int Height) {
    auto B = std::make_unique<TBitmap>();
    B->SetSize(Width, Height);
    B->Canvas()->Brush()->SetColor(clOlive);
    B->Canvas()->FillRect(TRect{0, 0, Width, Height});
    return B;
}

// The image of a slot drawn on a white ground.
std::unique_ptr<TBitmap> SlotImage(TButtonGlyph& G, int Slot) {
    TGlyphList* List = G.GlyphList();
    auto Out = std::make_unique<TBitmap>();
    Out->SetSize(List->Width(), List->Height());
    Out->Canvas()->Brush()->SetColor(clWhite);
    Out->Canvas()->FillRect(TRect{0, 0, List->Width(), List->Height()});
    List->Draw(Out->Canvas(), 0, 0, Slot);
    return Out;
}

TEST_F(ButtonGlyphReading, GlyphCountFollowsTheSourceShape) {
    struct Case {
        int Width, Height, Before, After;
    } Cases[] = {
        {64, 16, 1, 4}, {32, 16, 1, 2}, {48, 16, 2, 3},
        {16, 16, 3, 1}, {80, 16, 2, 1}, // five would be too many
        {40, 16, 2, 2},                 // not a whole multiple: unchanged
        {40, 16, 3, 3},
    };
    for (const Case& C : Cases) {
        TButtonGlyph G;
        G.SetNumGlyphs(C.Before);
        auto B = Source(C.Width, C.Height);
        G.SetGlyph(B.get());
        EXPECT_EQ(G.NumGlyphs(), C.After) << C.Width << "x" << C.Height << " from " << C.Before;
        EXPECT_EQ(G.Glyph()->Width(), C.Width);
    }
}

TEST_F(ButtonGlyphReading, SourceChangesTakeItsTransparentColourAndNotify) {
    TButtonGlyph G;
    EXPECT_EQ(G.TransparentColor(), clOlive);
    EXPECT_EQ(G.NumGlyphs(), 1);
    int Changes = 0;
    G.OnChange = [&](TObject*) { ++Changes; };

    auto B = Source(32, 16);
    B->SetTransparentColor(clRed);
    G.SetGlyph(B.get());
    EXPECT_EQ(G.TransparentColor(), clRed);
    EXPECT_GE(Changes, 1);

    // Built images are dropped when the source is drawn on.
    const int Before = G.CreateButtonGlyph(bsUp);
    ASSERT_GE(Before, 0);
    Changes = 0;
    G.Glyph()->SetTransparentColor(clLime);
    EXPECT_EQ(G.TransparentColor(), clLime);
    EXPECT_GE(Changes, 1);

    // Setting the number of glyphs: ignored when equal or not above 0.
    Changes = 0;
    G.SetNumGlyphs(2);
    G.SetNumGlyphs(0);
    G.SetNumGlyphs(-3);
    EXPECT_EQ(Changes, 0);
    EXPECT_EQ(G.NumGlyphs(), 2);
    G.SetNumGlyphs(1);
    EXPECT_EQ(Changes, 1);
    EXPECT_EQ(G.NumGlyphs(), 1);
}

TEST_F(ButtonGlyphReading, StateImagesComeFromTheirGlyphs) {
    // Two glyphs: the first marked blue, the second carrying white, grey,
    // the transparent colour and a plain red pixel.
    TButtonGlyph G;
    auto B = Source(32, 16);
    B->Canvas()->SetPixels(1, 1, clBlue);
    B->Canvas()->SetPixels(17, 1, clWhite);
    B->Canvas()->SetPixels(18, 1, clGray);
    B->Canvas()->SetPixels(19, 1, clGreen);
    // The disabled image is masked by its bottom-left pixel: a red one
    // there lets the face colour of the ground show.
    B->Canvas()->SetPixels(16, 15, clRed);
    B->SetTransparentColor(clOlive);
    G.SetGlyph(B.get());
    G.SetFaceColor(clYellow);
    ASSERT_EQ(G.NumGlyphs(), 2);

    const int Up = G.CreateButtonGlyph(bsUp);
    EXPECT_EQ(G.CreateButtonGlyph(bsDown), Up) << "down with two glyphs shows the up image";
    EXPECT_EQ(G.CreateButtonGlyph(bsUp), Up) << "built once";
    auto UpImage = SlotImage(G, Up);
    EXPECT_EQ(UpImage->Canvas()->Pixels(1, 1), clBlue);
    EXPECT_EQ(UpImage->Canvas()->Pixels(5, 5), clWhite) << "the transparent colour is masked";

    const int Disabled = G.CreateButtonGlyph(bsDisabled);
    EXPECT_NE(Disabled, Up);
    auto Dis = SlotImage(G, Disabled);
    EXPECT_EQ(Dis->Canvas()->Pixels(1, 1), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(Dis->Canvas()->Pixels(2, 1), ColorToRGB(clBtnShadow));
    EXPECT_EQ(Dis->Canvas()->Pixels(3, 1), clGreen);
    EXPECT_EQ(Dis->Canvas()->Pixels(5, 5), clYellow) << "the ground takes the face colour";
    EXPECT_EQ(Dis->Canvas()->Pixels(0, 15), clWhite);

    // Built images keep the face colour they were built with.
    G.SetFaceColor(clAqua);
    EXPECT_EQ(G.CreateButtonGlyph(bsDisabled), Disabled);
    EXPECT_EQ(SlotImage(G, Disabled)->Canvas()->Pixels(5, 5), clYellow);

    // Exclusive with two glyphs falls back to the first image.
    auto Excl = SlotImage(G, G.CreateButtonGlyph(bsExclusive));
    EXPECT_EQ(Excl->Canvas()->Pixels(1, 1), clBlue);
}

TEST_F(ButtonGlyphReading, OneGlyphDisabledIsEmbossed) {
    TButtonGlyph G;
    auto B = Source(16, 16);
    B->Canvas()->SetPixels(4, 4, clBlack);
    B->Canvas()->SetPixels(8, 8, clRed);
    G.SetGlyph(B.get());
    G.SetFaceColor(clYellow);
    auto Dis = SlotImage(G, G.CreateButtonGlyph(bsDisabled));
    EXPECT_EQ(Dis->Canvas()->Pixels(4, 4), ColorToRGB(clBtnShadow));
    EXPECT_EQ(Dis->Canvas()->Pixels(5, 5), ColorToRGB(clBtnHighlight));
    // The face-coloured ground is the bottom-left colour, so it is masked.
    EXPECT_EQ(Dis->Canvas()->Pixels(8, 8), clWhite);
    EXPECT_EQ(Dis->Canvas()->Pixels(12, 2), clWhite);
}

TEST_F(ButtonGlyphReading, LayoutPlacesGlyphAndCaption) {
    TButtonGlyph G;
    auto B = Source(16, 16);
    G.SetGlyph(B.get());
    TBitmap Surface;
    Surface.SetSize(200, 100);
    TCanvas* C = Surface.Canvas();
    const TRect Client{10, 20, 110, 60}; // 100 by 40
    const TSize Text = C->TextExtent("OK");
    struct Case {
        const char* Caption;
        TButtonLayout Layout;
        int Margin, Spacing;
        unsigned Flags;
        int GlyphX, GlyphY;
    } Cases[] = {
        // No caption: spacing ignored, glyph centred by margin -1.
        {"", blGlyphLeft, -1, 4, 0, 10 + 42, 20 + 12},
        {"", blGlyphTop, -1, 4, 0, 10 + 42, 20 + 12},
        {"", blGlyphLeft, 5, -1, 0, 10 + 5, 20 + 12},
        {"", blGlyphRight, 5, 4, 0, 10 + 100 - 5 - 16, 20 + 12},
        // The right-alignment flag swaps left and right.
        {"", blGlyphLeft, 5, 4, DT_RIGHT, 10 + 100 - 5 - 16, 20 + 12},
    };
    for (const Case& K : Cases) {
        TPoint GlyphPos;
        TRect TextBounds;
        G.CalcButtonLayout(C, Client, TPoint{0, 0}, K.Caption, K.Layout, K.Margin, K.Spacing,
                           GlyphPos, TextBounds, K.Flags);
        EXPECT_EQ(GlyphPos.X, K.GlyphX) << int(K.Layout) << " m" << K.Margin;
        EXPECT_EQ(GlyphPos.Y, K.GlyphY) << int(K.Layout) << " m" << K.Margin;
    }

    // With a caption, margin and spacing -1 share what is left in three.
    TPoint GlyphPos;
    TRect TextBounds;
    G.CalcButtonLayout(C, Client, TPoint{3, 7}, "OK", blGlyphLeft, -1, -1, GlyphPos, TextBounds, 0);
    const int Third = (100 - 16 - Text.cx) / 3;
    EXPECT_EQ(GlyphPos.X, 10 + Third + 3);
    EXPECT_EQ(GlyphPos.Y, 20 + 12 + 7);
    EXPECT_EQ(TextBounds.Left, 10 + Third + 16 + Third + 3);
    EXPECT_EQ(TextBounds.Top, 20 + (40 - Text.cy + 1) / 2 + 3)
        << "the caption moves by the offset's horizontal value on both axes";
    EXPECT_EQ(TextBounds.Right - TextBounds.Left, Text.cx);

    // Margin -1 with a spacing centres the pair.
    G.CalcButtonLayout(C, Client, TPoint{0, 0}, "OK", blGlyphLeft, -1, 6, GlyphPos, TextBounds, 0);
    const int Margin = (100 - (16 + 6 + Text.cx) + 1) / 2;
    EXPECT_EQ(GlyphPos.X, 10 + Margin);
    EXPECT_EQ(TextBounds.Left, 10 + Margin + 16 + 6);
    // A margin with spacing -1 puts the caption half-way into what is left.
    G.CalcButtonLayout(C, Client, TPoint{0, 0}, "OK", blGlyphRight, 4, -1, GlyphPos, TextBounds, 0);
    const int Spacing = (100 - 4 - 16 - Text.cx) / 2;
    EXPECT_EQ(GlyphPos.X, 10 + 100 - 4 - 16);
    EXPECT_EQ(TextBounds.Left, GlyphPos.X - Spacing - Text.cx);
}

TEST_F(ButtonGlyphReading, VerticalLayoutsAndNoSource) {
    TButtonGlyph G;
    auto B = Source(16, 16);
    G.SetGlyph(B.get());
    TBitmap Surface;
    Surface.SetSize(200, 100);
    TCanvas* C = Surface.Canvas();
    const TRect Client{0, 0, 60, 80};
    const TSize Text = C->TextExtent("OK");
    TPoint GlyphPos;
    TRect TextBounds;
    G.CalcButtonLayout(C, Client, TPoint{0, 0}, "OK", blGlyphTop, 3, 2, GlyphPos, TextBounds, 0);
    EXPECT_EQ(GlyphPos.X, (60 - 16 + 1) / 2);
    EXPECT_EQ(GlyphPos.Y, 3);
    EXPECT_EQ(TextBounds.Left, (60 - Text.cx + 1) / 2);
    EXPECT_EQ(TextBounds.Top, 3 + 16 + 2);
    G.CalcButtonLayout(C, Client, TPoint{0, 0}, "OK", blGlyphBottom, 3, 2, GlyphPos, TextBounds, 0);
    EXPECT_EQ(GlyphPos.Y, 80 - 3 - 16);
    EXPECT_EQ(TextBounds.Top, GlyphPos.Y - 2 - Text.cy);
    // With the right-alignment flag a glyph-right layout puts it left.
    G.CalcButtonLayout(C, TRect{0, 0, 100, 40}, TPoint{0, 0}, "OK", blGlyphRight, 4, 2, GlyphPos,
                       TextBounds, DT_RIGHT);
    EXPECT_EQ(GlyphPos.X, 4);
    EXPECT_EQ(TextBounds.Left, 4 + 16 + 2);

    // Without a source: no image, and the caption alone is centred.
    G.SetGlyph(nullptr);
    EXPECT_EQ(G.CreateButtonGlyph(bsUp), -1);
    C->Brush()->SetColor(clWhite);
    C->FillRect(TRect{0, 0, 200, 100});
    const TRect R =
        G.Draw(C, TRect{0, 0, 100, 40}, TPoint{0, 0}, "OK", blGlyphLeft, -1, 4, bsUp, false, 0);
    EXPECT_EQ(R.Left, (100 - Text.cx + 1) / 2) << "no glyph: spacing 0, the caption centred";
}

TEST_F(ButtonGlyphReading, DrawPutsGlyphAndCaptionOnTheCanvas) {
    TButtonGlyph G;
    auto B = Source(16, 16);
    B->Canvas()->SetPixels(3, 3, clBlue);
    B->SetTransparentColor(clOlive);
    G.SetGlyph(B.get());
    TBitmap Surface;
    Surface.SetSize(100, 40);
    TCanvas* C = Surface.Canvas();
    C->Brush()->SetColor(clWhite);
    C->FillRect(TRect{0, 0, 100, 40});
    C->Font()->SetColor(clBlack);
    const TRect TextRect =
        G.Draw(C, TRect{0, 0, 100, 40}, TPoint{0, 0}, "Wm", blGlyphLeft, 2, 4, bsUp, true, 0);
    EXPECT_EQ(C->Pixels(2 + 3, 12 + 3), clBlue);
    EXPECT_EQ(C->Pixels(2 + 5, 12 + 5), clWhite) << "transparent drawing keeps the ground";
    bool Ink = false;
    for (int X = TextRect.Left; X < TextRect.Right; ++X)
        for (int Y = TextRect.Top; Y < TextRect.Bottom; ++Y)
            Ink |= C->Pixels(X, Y) == clBlack;
    EXPECT_TRUE(Ink) << "the caption is drawn in the font colour";
    EXPECT_EQ(TextRect.Left, 2 + 16 + 4);

    // Disabled caption: highlight one pixel right and down, shadow on top.
    C->FillRect(TRect{0, 0, 100, 40});
    const TRect R2 =
        G.Draw(C, TRect{0, 0, 100, 40}, TPoint{0, 0}, "Wm", blGlyphLeft, 2, 4, bsDisabled, true, 0);
    bool Shadow = false, Highlight = false, Black = false;
    for (int X = R2.Left; X <= R2.Right; ++X)
        for (int Y = R2.Top; Y <= R2.Bottom; ++Y) {
            Shadow |= C->Pixels(X, Y) == ColorToRGB(clBtnShadow);
            Highlight |= C->Pixels(X, Y) == ColorToRGB(clBtnHighlight) &&
                         ColorToRGB(clBtnHighlight) != clWhite;
            Black |= C->Pixels(X, Y) == clBlack;
        }
    EXPECT_TRUE(Shadow);
    EXPECT_FALSE(Black);
    (void)Highlight;
}

TEST_F(ButtonGlyphReading, RenderersOfOneSizeShareOneListAndFreeIt) {
    ASSERT_EQ(GlyphCache(), nullptr) << "no renderer left over from another test";
    {
        auto A = std::make_unique<TButtonGlyph>();
        auto B = std::make_unique<TButtonGlyph>();
        ASSERT_NE(GlyphCache(), nullptr);
        auto Src = Source(16, 16);
        A->SetGlyph(Src.get());
        B->SetGlyph(Src.get());
        const int SA = A->CreateButtonGlyph(bsUp);
        const int SB = B->CreateButtonGlyph(bsUp);
        ASSERT_NE(A->GlyphList(), nullptr);
        EXPECT_EQ(A->GlyphList(), B->GlyphList());
        EXPECT_NE(SA, SB);
        EXPECT_EQ(A->GlyphList()->Count(), 2);

        // A freed slot is handed out again before the list grows.
        TGlyphList* List = A->GlyphList();
        A->SetNumGlyphs(2); // drops A's images
        EXPECT_EQ(List->Count(), 1);
        A->SetNumGlyphs(1);
        EXPECT_EQ(A->CreateButtonGlyph(bsUp), SA);
        EXPECT_EQ(List->ImageCount(), 2);

        // Another size gets its own list.
        TButtonGlyph Big;
        auto BigSrc = Source(24, 24);
        Big.SetGlyph(BigSrc.get());
        Big.CreateButtonGlyph(bsUp);
        EXPECT_NE(Big.GlyphList(), List);

        A.reset();
        EXPECT_NE(GlyphCache(), nullptr);
        B.reset();
        EXPECT_NE(GlyphCache(), nullptr) << "Big still holds its list";
    }
    EXPECT_EQ(GlyphCache(), nullptr);
}

} // namespace
} // namespace components
