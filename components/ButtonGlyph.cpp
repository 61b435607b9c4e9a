#include "components/ButtonGlyph.h"

#include "components/ButtonGlyphText.h"

namespace components {

namespace {

std::unique_ptr<TGlyphCache>& CacheSlot() {
    static std::unique_ptr<TGlyphCache> Cache;
    return Cache;
}

TGlyphCache& NeedCache() {
    auto& Cache = CacheSlot();
    if (!Cache) Cache = std::make_unique<TGlyphCache>();
    return *Cache;
}

bool Horizontal(TButtonLayout Layout) {
    return Layout == blGlyphLeft || Layout == blGlyphRight;
}

} // namespace

TGlyphCache* GlyphCache() {
    return CacheSlot().get();
}

TButtonGlyph::TButtonGlyph() : FOriginal(std::make_unique<TBitmap>()) {
    FOriginal->OnChange = [this](TObject* Sender) { GlyphChanged(Sender); };
    NeedCache();
}

TButtonGlyph::~TButtonGlyph() {
    FOriginal->OnChange = nullptr;
    Invalidate();
    if (TGlyphCache* Cache = GlyphCache(); Cache && Cache->Empty()) CacheSlot().reset();
}

void TButtonGlyph::Invalidate() {
    for (int& Index : FIndexs) {
        if (Index != -1 && FGlyphList) FGlyphList->Delete(Index);
        Index = -1;
    }
    if (FGlyphList)
        if (TGlyphCache* Cache = GlyphCache()) Cache->ReturnList(FGlyphList);
    FGlyphList = nullptr;
}

void TButtonGlyph::GlyphChanged(TObject*) {
    FTransparentColor = FOriginal->TransparentColor();
    Invalidate();
    if (OnChange) OnChange(this);
}

void TButtonGlyph::SetGlyph(TBitmap* Value) {
    Invalidate();
    FOriginal->Assign(Value);
    if (Value && Value->Height() > 0) {
        FTransparentColor = Value->TransparentColor();
        // A zero width would give no glyph at all; such a bitmap keeps the
        // number it had.
        if (Value->Width() > 0 && Value->Width() % Value->Height() == 0) {
            const int Glyphs = Value->Width() / Value->Height();
            FNumGlyphs = Glyphs > 4 ? 1 : Glyphs;
        }
    }
}

void TButtonGlyph::SetNumGlyphs(int Value) {
    if (Value == FNumGlyphs || Value <= 0) return;
    Invalidate();
    FNumGlyphs = Value;
    GlyphChanged(FOriginal.get());
}

int TButtonGlyph::CreateButtonGlyph(TButtonState State) {
    if (State == bsDown && FNumGlyphs < 3) State = bsUp;
    int& Index = FIndexs[static_cast<std::size_t>(State)];
    if (Index != -1) return Index;
    // A source of no area has no image to cut (and would divide by zero).
    if (FOriginal->Width() <= 0 || FOriginal->Height() <= 0) return -1;
    const int IWidth = FOriginal->Width() / FNumGlyphs;
    const int IHeight = FOriginal->Height();
    if (IWidth <= 0) return -1;
    if (!FGlyphList) FGlyphList = NeedCache().GetList(IWidth, IHeight);

    TBitmap Work;
    Work.SetSize(IWidth, IHeight);
    TCanvas* Dest = Work.Canvas();
    Dest->Brush()->SetColor(FFaceColor);
    const TRect IRect = Rect(0, 0, IWidth, IHeight);
    int Image = static_cast<int>(State);
    if (Image >= FNumGlyphs) Image = 0;
    const TRect ORect = Rect(Image * IWidth, 0, (Image + 1) * IWidth, IHeight);
    TCanvas* Source = FOriginal->Canvas();
    const auto SourcePixel = [&](int X, int Y) { return Source->Pixels(ORect.Left + X, Y); };

    if (State != bsDisabled) {
        Dest->CopyRect(IRect, Source, ORect);
        Index = FGlyphList->AddMasked(
            &Work, FOriginal->TransparentMode() == tmFixed ? FTransparentColor : clDefault);
        return Index;
    }

    if (FNumGlyphs > 1) {
        Dest->CopyRect(IRect, Source, ORect);
        // White lights up, grey shades, and the background takes the face
        // colour; later replacements win where colours coincide.
        const std::pair<TColor, TColor> Replace[] = {
            {clWhite, clBtnHighlight},
            {clGray, clBtnShadow},
            {FTransparentColor, FFaceColor},
        };
        for (const auto& [From, To] : Replace) {
            const TColor Match = ColorToRGB(From);
            const TColor Paint = ColorToRGB(To);
            for (int Y = 0; Y < IHeight; ++Y)
                for (int X = 0; X < IWidth; ++X)
                    if (SourcePixel(X, Y) == Match) Dest->SetPixels(X, Y, Paint);
        }
    } else {
        // An embossed outline of the glyph's black pixels (white ones for a
        // monochrome glyph) on the face colour.
        const TColor Ink = FOriginal->Monochrome() ? clWhite : clBlack;
        Dest->FillRect(IRect);
        const TColor Light = ColorToRGB(clBtnHighlight);
        const TColor Shadow = ColorToRGB(clBtnShadow);
        for (int Y = 0; Y < IHeight; ++Y)
            for (int X = 0; X < IWidth; ++X)
                if (SourcePixel(X, Y) == Ink) Dest->SetPixels(X + 1, Y + 1, Light);
        for (int Y = 0; Y < IHeight; ++Y)
            for (int X = 0; X < IWidth; ++X)
                if (SourcePixel(X, Y) == Ink) Dest->SetPixels(X, Y, Shadow);
    }
    Index = FGlyphList->AddMasked(&Work, clDefault);
    return Index;
}

void TButtonGlyph::CalcButtonLayout(TCanvas* Canvas, const TRect& Client, const TPoint& Offset,
                                    const AnsiString& Caption, TButtonLayout Layout, int Margin,
                                    int Spacing, TPoint& GlyphPos, TRect& TextBounds,
                                    unsigned BiDiFlags) {
    if (BiDiFlags & DT_RIGHT) {
        if (Layout == blGlyphLeft)
            Layout = blGlyphRight;
        else if (Layout == blGlyphRight)
            Layout = blGlyphLeft;
    }
    const TPoint ClientSize{Client.Width(), Client.Height()};
    TPoint GlyphSize;
    if (FOriginal->Width() > 0 && FOriginal->Height() > 0)
        GlyphSize = {FOriginal->Width() / FNumGlyphs, FOriginal->Height()};
    TPoint TextSize;
    if (!Caption.empty()) {
        TextBounds = Rect(0, 0, Client.Width(), 0);
        DrawText(Canvas, Caption, TextBounds, DT_CALCRECT | BiDiFlags);
        TextSize = {TextBounds.Width(), TextBounds.Height()};
    } else {
        TextBounds = Rect(0, 0, 0, 0);
    }

    TPoint TextPos;
    if (Horizontal(Layout)) {
        GlyphPos.Y = (ClientSize.Y - GlyphSize.Y + 1) / 2;
        TextPos.Y = (ClientSize.Y - TextSize.Y + 1) / 2;
    } else {
        GlyphPos.X = (ClientSize.X - GlyphSize.X + 1) / 2;
        TextPos.X = (ClientSize.X - TextSize.X + 1) / 2;
    }

    if (TextSize.X == 0 || GlyphSize.X == 0) Spacing = 0;
    const int ClientExtent = Horizontal(Layout) ? ClientSize.X : ClientSize.Y;
    const int GlyphExtent = Horizontal(Layout) ? GlyphSize.X : GlyphSize.Y;
    const int TextExtent = Horizontal(Layout) ? TextSize.X : TextSize.Y;
    if (Margin == -1) {
        if (Spacing == -1) {
            Margin = (ClientExtent - GlyphExtent - TextExtent) / 3;
            Spacing = Margin;
        } else {
            Margin = (ClientExtent - (GlyphExtent + Spacing + TextExtent) + 1) / 2;
        }
    } else if (Spacing == -1) {
        Spacing = (ClientExtent - Margin - GlyphExtent - TextExtent) / 2;
    }

    switch (Layout) {
    case blGlyphLeft:
        GlyphPos.X = Margin;
        TextPos.X = GlyphPos.X + GlyphSize.X + Spacing;
        break;
    case blGlyphRight:
        GlyphPos.X = ClientSize.X - Margin - GlyphSize.X;
        TextPos.X = GlyphPos.X - Spacing - TextSize.X;
        break;
    case blGlyphTop:
        GlyphPos.Y = Margin;
        TextPos.Y = GlyphPos.Y + GlyphSize.Y + Spacing;
        break;
    case blGlyphBottom:
        GlyphPos.Y = ClientSize.Y - Margin - GlyphSize.Y;
        TextPos.Y = GlyphPos.Y - Spacing - TextSize.Y;
        break;
    }

    GlyphPos.X += Client.Left + Offset.X;
    GlyphPos.Y += Client.Top + Offset.Y;
    // The caption moves by the offset's horizontal value on both axes, as
    // the framework's bit button does; the button always passes (0, 0).
    const int DX = TextPos.X + Client.Left + Offset.X;
    const int DY = TextPos.Y + Client.Top + Offset.X;
    TextBounds = Rect(TextBounds.Left + DX, TextBounds.Top + DY, TextBounds.Right + DX,
                      TextBounds.Bottom + DY);
}

void TButtonGlyph::DrawButtonGlyph(TCanvas* Canvas, const TPoint& GlyphPos, TButtonState State,
                                   bool) {
    if (FOriginal->Width() <= 0 || FOriginal->Height() <= 0) return;
    const int Index = CreateButtonGlyph(State);
    // Transparent and normal drawing look alike: the list has no background
    // colour of its own, so the mask decides in both.
    if (Index >= 0 && FGlyphList) FGlyphList->Draw(Canvas, GlyphPos.X, GlyphPos.Y, Index);
}

void TButtonGlyph::DrawButtonText(TCanvas* Canvas, const AnsiString& Caption, TRect TextBounds,
                                  TButtonState State, unsigned BiDiFlags) {
    Canvas->Brush()->SetStyle(bsClear);
    const unsigned Flags = DT_CENTER | DT_VCENTER | BiDiFlags;
    if (State == bsDisabled) {
        TRect Lit = Rect(TextBounds.Left + 1, TextBounds.Top + 1, TextBounds.Right + 1,
                         TextBounds.Bottom + 1);
        Canvas->Font()->SetColor(clBtnHighlight);
        DrawText(Canvas, Caption, Lit, Flags);
        Canvas->Font()->SetColor(clBtnShadow);
        DrawText(Canvas, Caption, TextBounds, Flags);
    } else {
        DrawText(Canvas, Caption, TextBounds, Flags);
    }
}

TRect TButtonGlyph::Draw(TCanvas* Canvas, const TRect& Client, const TPoint& Offset,
                         const AnsiString& Caption, TButtonLayout Layout, int Margin, int Spacing,
                         TButtonState State, bool Transparent, unsigned BiDiFlags) {
    TPoint GlyphPos;
    TRect TextBounds;
    CalcButtonLayout(Canvas, Client, Offset, Caption, Layout, Margin, Spacing, GlyphPos, TextBounds,
                     BiDiFlags);
    DrawButtonGlyph(Canvas, GlyphPos, State, Transparent || State == bsExclusive);
    if (!Caption.empty()) DrawButtonText(Canvas, Caption, TextBounds, State, BiDiFlags);
    return TextBounds;
}

} // namespace components
