#pragma once
// What a font's measures and drawn glyphs depend on (its colour does not
// count), kept to tell whether a cached Qt font or its measures still hold.
#include "platform/gui/Graphics.h"

struct TFontKey {
    AnsiString Name;
    int Height = 0;
    unsigned Style = 0;
    TFontPitch Pitch = TFontPitch::fpDefault;
    TFontCharset Charset = 0;
    int PixelsPerInch = 0;

    explicit TFontKey(const TFont& Font)
        : Name(Font.Name()), Height(Font.Height()), Style(Font.Style().Bits()), Pitch(Font.Pitch()),
          Charset(Font.Charset()), PixelsPerInch(Font.PixelsPerInch()) {}
    // Compared without a copy: the name is checked last, as it costs most.
    bool Matches(const TFont& Font) const {
        return Height == Font.Height() && Style == Font.Style().Bits() && Pitch == Font.Pitch() &&
               Charset == Font.Charset() && PixelsPerInch == Font.PixelsPerInch() &&
               Name == Font.Name();
    }
};
