#include "grid/model/CellButtons.h"

#include "grid/model/BaseGrid.h"
#include "platform/gui/Graphics.h"

#include <memory>

namespace grid {

namespace {

TBitmap* MakeCopy(TBitmap* Source) {
    auto Copy = std::make_unique<TBitmap>();
    Copy->Assign(Source);
    return Copy.release();
}

} // namespace

TBitmap* SharedArrowBitmap() {
    static TBitmap* Bitmap = new TBitmap(); // lives as long as the process
    return Bitmap;
}

TBitmap* SharedDetailBitmap() {
    static TBitmap* Bitmap = new TBitmap();
    return Bitmap;
}

TgxCustomButton::TgxCustomButton(TgxBaseGrid* Grid, TBitmap* Bitmap, TColor TransparentColor,
                                 int Width, int Height)
    : FGrid(Grid), FBitmap(Bitmap), FHeight(Height), FWidth(Width),
      FTransparentColor(TransparentColor) {}

int TgxCustomButton::FullWidth() const {
    return 2 * FGrid->ButtonEdgeWidth() + FWidth;
}

int TgxCustomButton::FullHeight() const {
    return 2 * FGrid->ButtonEdgeWidth() + FHeight;
}

TgxBitmapButton::TgxBitmapButton(TgxBaseGrid* Grid, TBitmap* Bitmap, TColor TransparentColor,
                                 int Width, int Height, TBitmap* SharedDefault)
    : TgxCustomButton(Grid, Bitmap, TransparentColor, Width, Height), FDefault(SharedDefault) {
    if (Bitmap && Bitmap != SharedDefault) FOwnBitmap = MakeCopy(Bitmap);
}

TgxBitmapButton::~TgxBitmapButton() {
    if (FOwnBitmap != SharedArrowBitmap() && FOwnBitmap != SharedDetailBitmap()) delete FOwnBitmap;
}

TBitmap* TgxBitmapButton::GetBitmap() const {
    return FOwnBitmap ? FOwnBitmap : FDefault;
}

bool TgxBitmapButton::IsDefault() const {
    return GetBitmap() == FDefault;
}

TgxComboButton::TgxComboButton(TgxBaseGrid* Grid, TBitmap* Bitmap, TColor TransparentColor,
                               int Width, int Height)
    : TgxBitmapButton(Grid, Bitmap, TransparentColor, Width, Height, SharedArrowBitmap()) {}

TgxNormalButton::TgxNormalButton(TgxBaseGrid* Grid, TBitmap* Bitmap, TColor TransparentColor,
                                 int Width, int Height)
    : TgxBitmapButton(Grid, Bitmap, TransparentColor, Width, Height, SharedDetailBitmap()) {}

TgxDateTimeButton::TgxDateTimeButton(TgxBaseGrid* Grid, TBitmap* Bitmap, TColor TransparentColor,
                                     int Width, int Height)
    : TgxCustomButton(Grid, Bitmap, TransparentColor, Width, Height) {
    if (Bitmap == SharedDetailBitmap())
        FPopup = true;
    else if (Bitmap != SharedArrowBitmap() && Bitmap)
        FOwnBitmap = MakeCopy(Bitmap);
}

TgxDateTimeButton::~TgxDateTimeButton() {
    delete FOwnBitmap;
}

TBitmap* TgxDateTimeButton::GetBitmap() const {
    if (FOwnBitmap) return FOwnBitmap;
    return FPopup ? SharedDetailBitmap() : SharedArrowBitmap();
}

bool TgxDateTimeButton::IsDefault() const {
    return FOwnBitmap == nullptr;
}

} // namespace grid
