#pragma once
// A bitmap of one colour, for drawing tests.
#include "platform/gui/Graphics.h"

#include <memory>

namespace formstore_test {

inline std::unique_ptr<TBitmap> Filled(int Width, int Height, TColor Color) {
    auto Bitmap = std::make_unique<TBitmap>();
    Bitmap->SetSize(Width, Height);
    Bitmap->Canvas()->Brush()->SetColor(Color);
    Bitmap->Canvas()->FillRect(Rect(0, 0, Width, Height));
    return Bitmap;
}

} // namespace formstore_test
