#pragma once
// The glyph renderer of the colour bit button: turns a source bitmap of one
// to four glyph images side by side into one image per button state, lays
// glyph and caption out in a rectangle and draws them. Glyph backgrounds
// take the face colour the button hands in, not the system button colour.
#include "components/ButtonGlyphList.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/Graphics.h"
#include "platform/rtl/Object.h"

#include <array>
#include <cstdint>
#include <memory>

namespace components {

// The index of a state's glyph image in the source bitmap.
enum class TButtonState : std::uint8_t { bsUp, bsDisabled, bsDown, bsExclusive };
using enum TButtonState;

class TButtonGlyph : public TObject {
public:
    TButtonGlyph();
    ~TButtonGlyph() override;
    AnsiString ClassName() const override { return "TButtonGlyph"; }

    // The source bitmap.
    TBitmap* Glyph() const { return FOriginal.get(); }
    // Copies the bitmap; a width that is a whole multiple of the height
    // gives that many glyphs (one when it would be five or more).
    void SetGlyph(TBitmap* Value);
    int NumGlyphs() const { return FNumGlyphs; }
    // Values below 1 are ignored.
    void SetNumGlyphs(int Value);
    TColor FaceColor() const { return FFaceColor; }
    // Images already built keep the colour they were built with.
    void SetFaceColor(TColor Value) { FFaceColor = Value; }
    TColor TransparentColor() const { return FTransparentColor; }

    // Lays out and draws glyph and caption into Client; returns the
    // caption's rectangle.
    TRect Draw(TCanvas* Canvas, const TRect& Client, const TPoint& Offset,
               const AnsiString& Caption, TButtonLayout Layout, int Margin, int Spacing,
               TButtonState State, bool Transparent, unsigned BiDiFlags);
    // Where Draw puts the glyph's top-left corner and the caption.
    void CalcButtonLayout(TCanvas* Canvas, const TRect& Client, const TPoint& Offset,
                          const AnsiString& Caption, TButtonLayout Layout, int Margin, int Spacing,
                          TPoint& GlyphPos, TRect& TextBounds, unsigned BiDiFlags);

    // Builds the state's image when it isn't yet; the slot in GlyphList, or
    // -1 without a source.
    int CreateButtonGlyph(TButtonState State);
    // The shared list the images are in, once one was built.
    TGlyphList* GlyphList() const { return FGlyphList; }

    // The glyph or the number of glyphs changed.
    TNotifyEvent OnChange;

private:
    void GlyphChanged(TObject* Sender);
    // Frees the built images and hands the list back to the cache.
    void Invalidate();
    void DrawButtonGlyph(TCanvas* Canvas, const TPoint& GlyphPos, TButtonState State,
                         bool Transparent);
    void DrawButtonText(TCanvas* Canvas, const AnsiString& Caption, TRect TextBounds,
                        TButtonState State, unsigned BiDiFlags);

    std::unique_ptr<TBitmap> FOriginal;
    TGlyphList* FGlyphList = nullptr;
    std::array<int, 4> FIndexs{-1, -1, -1, -1};
    TColor FTransparentColor = clOlive;
    int FNumGlyphs = 1;
    TColor FFaceColor = clBtnFace;
};

// The cache all renderers share; nullptr while no renderer exists.
TGlyphCache* GlyphCache();

} // namespace components
