#pragma once
// The bitmap button: a push button with a glyph beside its caption and a
// kind that gives it a standard caption and modal result.
#include "platform/gui/Graphics.h"
#include "platform/gui/StdCtrls.h"

#include <memory>

enum class TBitBtnKind : std::uint8_t {
    bkCustom,
    bkOK,
    bkCancel,
    bkHelp,
    bkYes,
    bkNo,
    bkClose,
    bkAbort,
    bkRetry,
    bkIgnore,
    bkAll
};
using enum TBitBtnKind;

enum class TButtonLayout : std::uint8_t { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
using enum TButtonLayout;

class TBitBtn : public TButton {
public:
    explicit TBitBtn(TComponent* AOwner);
    ~TBitBtn() override;
    AnsiString ClassName() const override { return "TBitBtn"; }

    // A kind other than bkCustom sets the caption, the modal result and
    // whether the button is the form's default or cancel button.
    TBitBtnKind Kind() const { return FKind; }
    void SetKind(TBitBtnKind Value);
    // bkClose closes the form; the others act as a button.
    void Click() override;

    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(TBitmap* Value) { FGlyph->Assign(Value); }
    // How many images side by side the glyph holds (up, disabled, down,
    // held); the first is shown.
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int Value);
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout Value);
    int Margin() const { return FMargin; }
    void SetMargin(int Value) { FMargin = Value; }
    int Spacing() const { return FSpacing; }
    void SetSpacing(int Value) { FSpacing = Value; }

protected:
    void WidgetCreated() override;

private:
    void GlyphChanged();

    std::unique_ptr<TBitmap> FGlyph;
    TBitBtnKind FKind = bkCustom;
    TButtonLayout FLayout = blGlyphLeft;
    int FNumGlyphs = 1;
    int FMargin = -1;
    int FSpacing = 4;
};
