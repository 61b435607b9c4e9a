#pragma once
// Putting a finished picture onto a canvas's surface, for the platform's
// own sources only.
#include "platform/gui/GraphicsQt.h"

// Copies Picture onto Into with its top-left corner at (X, Y), within the
// surface's clip, and tells the surface which area changed.
void PutPicture(TDeviceContext& Into, const QImage& Picture, int X, int Y);
