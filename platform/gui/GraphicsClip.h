#pragma once
// Clipping set on a device context itself rather than on one canvas: every
// canvas that draws into the context afterwards is held to it, as code that
// shares one off-screen surface between several drawers expects.
#include "platform/gui/Graphics.h"
#include "platform/gui/Types.h"

// Limits all drawing into Dc to R; an empty R lets nothing through, and
// nullptr lifts the limit. Nothing happens without a context.
void SelectClipRect(HDC Dc, const TRect* R);
