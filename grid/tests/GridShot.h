#pragma once
// A picture of a control for people to look at: when BEACONMILL_SHOTS names
// a folder, the control paints itself into Name.bmp there; otherwise nothing.
#include "platform/gui/CustomControl.h"
#include "platform/gui/Graphics.h"

#include <cstdlib>

inline void SaveControlShot(TCustomControl& Control, const char* Name) {
    if (const char* Dir = std::getenv("BEACONMILL_SHOTS")) {
        TBitmap Shot;
        Shot.SetSize(Control.Width(), Control.Height());
        Control.PaintTo(Shot.Canvas());
        Shot.SaveToFile(AnsiString(Dir) + "/" + Name + ".bmp");
    }
}
