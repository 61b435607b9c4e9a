#include "platform/gui/GraphicsClip.h"
#include "platform/gui/GraphicsQt.h"

void SelectClipRect(HDC Dc, const TRect* R) {
    if (!Dc) return;
    if (!R) {
        Dc->Clip = QRect(); // a null rectangle clips nothing
        return;
    }
    if (R->Width() <= 0 || R->Height() <= 0) {
        // Not null, yet empty: everything drawn is cut away.
        Dc->Clip = QRect(R->Left, R->Top, 0, 1);
        return;
    }
    Dc->Clip = ToQRect(*R);
}
