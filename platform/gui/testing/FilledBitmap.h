#pragma once
// A bitmap of one colour, for glyph and drawing tests.
#include "platform/gui/Graphics.h"

#include <memory>

namespace testing_support {

inline std::unique_ptr<TBitmap> Filled(int Width, int Height, TColor Color) {
    auto Bitmap = std::make_unique<TBitmap>();
    Bitmap->SetSize(Width, Height);
    Bitmap->Canvas()->Brush()->SetColor(Color);
    Bitmap->Canvas()->FillRect(Rect(0, 0, Width, Height));
    return Bitmap;
}

} // namespace testing_support
