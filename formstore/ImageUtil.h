#pragma once
// Pictures made from other pictures: what lies behind a control, an icon
// from a bitmap, an image-list image drawn embossed; and the program's own
// cursors, the two hand cursors among them.
#include "platform/gui/Controls.h"
#include "platform/gui/Graphics.h"
#include "platform/rtl/AnsiString.h"

#include <memory>

namespace grid {
class TgxImageListComponent;
}

namespace formstore {

// Paints onto Canvas, whose origin is the control's top-left corner, what
// lies behind the control: the parent's own picture (a custom-drawn parent
// paints itself, any other gives its window as shown, a caption included,
// without its child controls), then the visible windowless siblings before
// the control in the parent's list, each where it stands. Nothing without
// a parent.
void CopyParentImage(TControl* Control, TCanvas* Dest);

// An icon of the bitmap in which pixels of TransparentColor are clear
// (clDefault: the bitmap's own transparent colour, clNone: none are).
// Raises EInvalidGraphic for an empty bitmap or one larger than 256 x 256,
// the largest an icon holds.
std::unique_ptr<TIcon> CreateIconFromBitmap(TBitmap* Bitmap, TColor TransparentColor);

// Draws image Index of the list embossed: every pixel of the image that is
// neither transparent nor white goes on the canvas in HighlightColor one
// pixel down and right (when DrawHighlight), then in GrayColor at (X, Y).
// Nothing for an index the list doesn't have.
void ImageListDrawDisabled(grid::TgxImageListComponent* Images, TCanvas* Canvas, int X, int Y,
                           int Index, TColor HighlightColor, TColor GrayColor, bool DrawHighlight);

// The two hand cursors: a pointing hand and a closed, dragging hand.
inline constexpr TCursor crHand = 14000;
inline constexpr TCursor crDragHand = 14001;
// Puts the two hand cursors, "FS_HANDCUR" and "FS_DRAGCUR", in the screen's
// cursor list at crHand and crDragHand (again when something took them
// out). A program that links this unit has them there from its start;
// DefineCursor calls it too.
void RegisterHandCursors();
// Puts the program's cursor of that name ("FS_HANDCUR", "FS_DRAGCUR") in
// the screen's cursor list at the first free number from 100 to 32767 and
// returns the number. Raises grid::EResNotFound "Resource NAME not found"
// for another name, EOutOfResources "Out of system resources" when every
// number is taken.
TCursor DefineCursor(const AnsiString& Name);

} // namespace formstore
