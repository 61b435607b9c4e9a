#pragma once
// A bitmap button that draws its whole face itself: a face colour of its
// own, a second colour and font while it is the active button, and a
// second glyph while the mouse is over it.
#include "components/ButtonGlyph.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/OwnerDraw.h"

#include <memory>

namespace components {

class TColorBitBtn : public TPaintedControl<TBitBtn> {
public:
    explicit TColorBitBtn(TComponent* AOwner);
    ~TColorBitBtn() override;
    AnsiString ClassName() const override { return "TColorBitBtn"; }

    // The face colour.
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    // The face colour while the button is active; clNone keeps Color.
    TColor FocusColor() const { return FFocusColor; }
    void SetFocusColor(TColor Value);
    // The caption's font while the button is active. It follows every
    // change of Font for as long as the two are equal.
    TFont* FocusFont() const { return FFocusFont.get(); }
    void SetFocusFont(TFont* Value);

    TBitmap* Glyph() const;
    void SetGlyph(TBitmap* Value);
    // Shown instead of Glyph while the mouse is over the button.
    TBitmap* Glyph2() const { return FGlyph2.get(); }
    void SetGlyph2(TBitmap* Value);
    int NumGlyphs() const;
    // Held to 1 .. 4 (0 is ignored).
    void SetNumGlyphs(int Value);

    // Reads bkCustom (and stays so) once Default, Cancel, the modal result
    // or the glyph no longer match the kind.
    TBitBtnKind Kind();
    void SetKind(TBitBtnKind Value);
    bool IsCustom() { return Kind() == bkCustom; }

    // The framework's signal that this button is (or no longer is) the
    // active one: it has the focus, or it is the default button while the
    // focus is on a control that is no button.
    void SetButtonStyle(bool ADefault);
    bool IsActive() const { return FIsFocused; }

    void Dispatch(TMessage& Message) override;

protected:
    void Paint() override;
    void DrawItem(const TDrawItemStruct& DrawItemStruct);
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void FontChanged() override;
    void SetTextValue(const AnsiString& Value) override;

private:
    void FontChange(TObject* Sender);
    void GlyphChanged(TObject* Sender);
    void CMMouseEnter(TMessage& Message);
    void CMMouseLeave(TMessage& Message);
    // Changes the glyph shown; SetGlyph also makes it the one the hover
    // swap returns to.
    void ChangeGlyph(TBitmap* Value);
    void SetDrawnDown(bool Value);

    bool FPressed = false;
    std::unique_ptr<TCanvas> FCanvas;
    TColor FColor = clBtnFace;
    TColor FFocusColor = clNone;
    std::unique_ptr<TFont> FFocusFont;
    bool FFontsEqual = true;
    bool FIsFocused = false;
    bool FModifiedGlyph = false;
    std::unique_ptr<TButtonGlyph> FGlyph;
    TBitBtnKind FKind = bkCustom;
    std::unique_ptr<TBitmap> FSavedGlyph;
    std::unique_ptr<TBitmap> FGlyph2;
    // The glyph in force before the hover glyph was taken into FSavedGlyph.
    bool FHoverSaved = false;
    // The left button is held down over the button: drawn pushed.
    bool FLeftDown = false;
    bool FDrawnDown = false;
};

// Whether the two fonts look alike: charset, colour, height, name, pitch,
// size and style.
bool FontsEqual(const TFont& A, const TFont& B);

namespace tcolorbitbtn {
// Puts the unit's components on the palette page "Pellworth".
void Register();
} // namespace tcolorbitbtn

} // namespace components
