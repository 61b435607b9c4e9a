#include "platform/gui/PaintBox.h"

TPaintBox::TPaintBox(TComponent* AOwner) : TGraphicControl(AOwner) {
    FWidth = 105;
    FHeight = 105;
}

void TPaintBox::Paint() {
    if (OnPaint) OnPaint(this);
}
