#include "components/ButtonGlyphText.h"

#include <algorithm>
#include <vector>

namespace components {

namespace {

// One line of text with its accelerator marks taken out, and the byte
// offset of the character to underline (-1 for none).
struct TTextLine {
    AnsiString Text;
    int Underline = -1;
};

std::vector<TTextLine> SplitLines(const AnsiString& Text, bool Prefix) {
    std::vector<TTextLine> Lines(1);
    for (std::size_t I = 0; I < Text.size(); ++I) {
        const char C = Text[I];
        if (C == '\r' && I + 1 < Text.size() && Text[I + 1] == '\n') continue;
        if (C == '\n' || C == '\r') {
            Lines.emplace_back();
            continue;
        }
        TTextLine& Line = Lines.back();
        if (Prefix && C == '&') {
            if (I + 1 >= Text.size()) continue;
            ++I;
            if (Text[I] != '&') Line.Underline = static_cast<int>(Line.Text.size());
        }
        Line.Text += Text[I];
    }
    return Lines;
}

} // namespace

int DrawText(TCanvas* Canvas, const AnsiString& Text, TRect& R, unsigned Flags) {
    const std::vector<TTextLine> Lines = SplitLines(Text, (Flags & DT_NOPREFIX) == 0);
    const int LineHeight = Canvas->TextHeight("Wg");
    int Width = 0;
    for (const TTextLine& Line : Lines)
        Width = std::max(Width, Line.Text.empty() ? 0 : Canvas->TextWidth(Line.Text));
    const int Height = LineHeight * static_cast<int>(Lines.size());
    if (Flags & DT_CALCRECT) {
        R.Right = R.Left + Width;
        R.Bottom = R.Top + Height;
        return Height;
    }
    int Y = R.Top;
    if ((Flags & DT_SINGLELINE) && (Flags & DT_VCENTER))
        Y = R.Top + (R.Height() - LineHeight) / 2;
    else if ((Flags & DT_SINGLELINE) && (Flags & DT_BOTTOM))
        Y = R.Bottom - LineHeight;
    for (const TTextLine& Line : Lines) {
        const int LineWidth = Line.Text.empty() ? 0 : Canvas->TextWidth(Line.Text);
        int X = R.Left;
        if (Flags & DT_CENTER)
            X = R.Left + (R.Width() - LineWidth) / 2;
        else if (Flags & DT_RIGHT)
            X = R.Right - LineWidth;
        if (!Line.Text.empty()) Canvas->TextOut(X, Y, Line.Text);
        if (Line.Underline >= 0) {
            const int From = X + Canvas->TextWidth(Line.Text.substr(0, Line.Underline));
            const int To = From + Canvas->TextWidth(Line.Text.substr(Line.Underline, 1));
            TPen* Pen = Canvas->Pen();
            const TColor SavedColor = Pen->Color();
            Pen->SetColor(Canvas->Font()->Color());
            Canvas->MoveTo(From, Y + LineHeight - 1);
            Canvas->LineTo(To, Y + LineHeight - 1);
            Pen->SetColor(SavedColor);
        }
        Y += LineHeight;
    }
    return Height;
}

} // namespace components
