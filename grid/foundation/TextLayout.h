#pragma once
// Breaking cell and edit-box text into lines for a width, and the sizes that
// follow from it. The grid does this itself rather than leaving it to the
// system's text drawing, so that line ends, alignment and multibyte
// characters behave the same in cells, row heights and the edit box.
//
// A text is a view of bytes that ends at its size or its first zero byte;
// positions and line starts are 0-based byte offsets (see TextChars.h).
#include "grid/foundation/GridCommonControls.h"
#include "grid/foundation/IntLists.h"
#include "platform/gui/Controls.h"
#include "platform/gui/Graphics.h"

#include <string_view>

namespace grid {

// The measures of a canvas font that layout works with, in pixels.
struct TTextMetric {
    int tmHeight = 0;          // one line of text
    int tmAveCharWidth = 0;    // the average width of a character
    int tmOverhang = 0;        // extra width a synthesised italic or bold adds
    int tmExternalLeading = 0; // the font's suggested gap between lines
};

// The measures of the canvas's current font.
TTextMetric GetTextMetrics(TCanvas* Canvas);

// Whether a rectangle Height high has room for a second line of LineHeight.
bool IsMultiLineText(int Height, int LineHeight);
// Pixels added between lines: 1 for a multibyte code page whose font asks
// for a gap, else 0.
int TextLineSpacing(const TTextMetric& Metrics);

// The printed width of a text as one measurement gives it: when measurements
// of this system already carry the italic overhang, it is taken off again.
int MeasureText(TCanvas* Canvas, const TTextMetric& Metrics, std::string_view Text);
// The width with its overhang, as line breaking and alignment want it.
int FullTextWidth(TCanvas* Canvas, const TTextMetric& Metrics, std::string_view Text);

// The width of the first N bytes of Text. Each line break is measured as a
// space, or as nothing with SkipBreaks; AddOverhang adds tmOverhang to a
// positive width.
int GetPrintCharWidth(TCanvas* Canvas, const TTextMetric& Metrics, std::string_view Text, int N,
                      bool SkipBreaks, bool AddOverhang);

// The byte length of the line that starts Text when it is broken for Width:
// the spaces and the line break that end it are part of it, and so are the
// spaces a right-justified line starts with. At least one character is
// taken; a word wider than Width is broken inside. False (Length 0) for an
// empty text.
bool GetNextLine(TCanvas* Canvas, const TTextMetric& Metrics, std::string_view Text, int Width,
                 TAlignment Alignment, int& Length);

// Fills Lines with the offsets at which the lines of Text start, breaking
// for Width when WordWrap is on and Height has room for a second line;
// otherwise the text is one line at offset 0. MaxLines (when not 0) stops
// the breaking once that many lines are found. A text that ends with a line
// break gets an empty last line.
void GetTextLines(TCanvas* Canvas, std::string_view Text, int Height, int Width,
                  TAlignment Alignment, bool WordWrap, TgxIntegerList& Lines, int MaxLines = 0);

// The number of lines of Text broken for Width (one without WordWrap) and
// their height in pixels.
void GetTextHeight(TCanvas* Canvas, std::string_view Text, int Width, TAlignment Alignment,
                   bool WordWrap, int& LineCount, int& Height);

// The y of the first line of Lines drawn from Top inside Rect; Top itself
// without a line list.
int GetVertTopOffset(int Top, const TRect& Rect, const TgxIntegerList* Lines, int Spacing,
                     TgxVertAlignment VertAlignment, const TTextMetric& Metrics);

} // namespace grid
