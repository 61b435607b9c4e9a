#pragma once
// Drawing cell and edit-box text: filled background, lines broken and
// aligned as TextLayout.h lays them out, clipped to the rectangle, with an
// underlined accelerator character or a highlighted selection.
#include "grid/foundation/IntLists.h"
#include "grid/foundation/TextLayout.h"
#include "platform/gui/Controls.h"
#include "platform/gui/Graphics.h"

#include <string_view>

namespace grid {

// Draws a cell's text into Rect (filled with the canvas brush first) from the
// origin (X, Y). The text wraps when WordWrap is on and Height has room for
// a second line; otherwise it is one line, its line breaks shown as spaces.
// UnderlineIndex (1-based byte index, 0 for none) underlines that character.
// Nothing is drawn into an empty rectangle.
void DisplayText(TCanvas* Canvas, std::string_view Text, int Height, TRect Rect, int X, int Y,
                 TAlignment Alignment, TgxVertAlignment VertAlignment, bool WordWrap,
                 int UnderlineIndex = 0);

// Draws an edit box's text from its line starts (GetTextLines), the first
// line shown being TopLine. The selection is SelStart (0-based byte offset)
// and SelLength bytes, drawn in SelFontColor over SelColor; SelLength 0 draws
// none. When the text is one line, ScrollPos is the first byte shown for
// left-justified and centred text, and the number of bytes shown (counted
// from the start) for right-justified text, whose end is kept in view.
void DisplayTextLines(TCanvas* Canvas, std::string_view Text, int Height, TRect Rect, int X, int Y,
                      int SelStart, int SelLength, const TgxIntegerList* Lines, int TopLine,
                      int ScrollPos, TColor SelFontColor, TColor SelColor, TAlignment Alignment,
                      TgxVertAlignment VertAlignment, bool WordWrap);

} // namespace grid
