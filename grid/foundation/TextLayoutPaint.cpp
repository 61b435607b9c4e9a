#include "grid/foundation/TextLayoutPaint.h"

#include "grid/foundation/TextChars.h"

#include <algorithm>

namespace grid {

namespace {

std::string_view Proper(std::string_view Text) {
    const auto Zero = Text.find('\0');
    return Zero == std::string_view::npos ? Text : Text.substr(0, Zero);
}

int Length(std::string_view Text) {
    return static_cast<int>(Text.size());
}

std::string_view Slice(std::string_view Text, int From, int To) {
    From = std::clamp(From, 0, Length(Text));
    To = std::clamp(To, From, Length(Text));
    return Text.substr(static_cast<std::size_t>(From), static_cast<std::size_t>(To - From));
}

// Text drawn over what is there: the brush is clear while the painter draws,
// and comes back as it was.
class TTransparentText {
public:
    explicit TTransparentText(TCanvas* Canvas)
        : FBrush(Canvas->Brush()), FColor(FBrush->Color()), FStyle(FBrush->Style()) {
        FBrush->SetStyle(bsClear);
    }
    ~TTransparentText() {
        FBrush->SetColor(FColor);
        FBrush->SetStyle(FStyle);
    }
    TTransparentText(const TTransparentText&) = delete;
    TTransparentText& operator=(const TTransparentText&) = delete;

private:
    TBrush* FBrush;
    TColor FColor;
    TBrushStyle FStyle;
};

// What a selection looks like on one line: bytes relative to the line.
struct TLineSelection {
    int Start = 0;
    int Length = 0;
    TColor FontColor = clHighlightText;
    TColor Color = clHighlight;
};

// One line's bytes as they are drawn, and where they sit in the line.
struct TDrawnPart {
    std::string_view Bytes;
    int Offset = 0; // of Bytes within the line
};

// A line less its line break; a right-justified line also less the blanks
// around it, which would keep it off the right edge.
TDrawnPart DrawnPart(std::string_view Line, TAlignment Alignment) {
    int From = 0;
    int To = Length(Line);
    while (To > From && EofLineChar(Line, To - 1))
        --To;
    if (Alignment == taRightJustify) {
        while (From < To && IsSpaceChar(Line, From))
            ++From;
        while (To > From && IsSpaceChar(Line, To - 1))
            --To;
    }
    return {Slice(Line, From, To), From};
}

// Draws Bytes at X clipped to Clip; a part that starts at or past the clip's
// right edge is left out. Gives the x after it, or X itself when the caller
// said it draws nothing after (measuring is what text drawing costs most).
int DrawPart(TCanvas* Canvas, const TTextMetric& Metrics, const TRect& Clip, int X, int Y,
             std::string_view Bytes, bool WantEnd = true) {
    if (Bytes.empty()) return X;
    const int Width = WantEnd ? MeasureText(Canvas, Metrics, Bytes) : 0;
    if (X < Clip.Right) Canvas->TextRect(Clip, X, Y, AnsiString(Bytes));
    return X + Width;
}

// Draws Bytes with the character at the 1-based Underline (if it lies in
// them) underlined.
int DrawUnderlined(TCanvas* Canvas, const TTextMetric& Metrics, const TRect& Clip, int X, int Y,
                   std::string_view Bytes, int Underline, bool WantEnd = true) {
    if (Underline < 1 || Underline > Length(Bytes))
        return DrawPart(Canvas, Metrics, Clip, X, Y, Bytes, WantEnd);
    const int At = Underline - 1;
    const int End = At + std::max(1, NextCharCount(Bytes, At));
    X = DrawPart(Canvas, Metrics, Clip, X, Y, Slice(Bytes, 0, At));
    TFont* Font = Canvas->Font();
    const TFontStyles Style = Font->Style();
    Font->SetStyle(Style + TFontStyles{fsUnderline});
    X = DrawPart(Canvas, Metrics, Clip, X, Y, Slice(Bytes, At, End));
    Font->SetStyle(Style);
    return DrawPart(Canvas, Metrics, Clip, X, Y, Slice(Bytes, End, Length(Bytes)), WantEnd);
}

TRect Intersect(const TRect& A, const TRect& B) {
    TRect R{std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right),
            std::min(A.Bottom, B.Bottom)};
    if (R.Right < R.Left) R.Right = R.Left;
    if (R.Bottom < R.Top) R.Bottom = R.Top;
    return R;
}

// The selection's background: a parallelogram leaning with an italic font's
// slant, clipped to Clip.
void FillSelection(TCanvas* Canvas, const TTextMetric& Metrics, const TRect& Clip, int X1, int X2,
                   int Top, int Bottom, TColor Color) {
    const TFontStyles Style = Canvas->Font()->Style();
    int Slant = Style.Contains(fsItalic) ? Metrics.tmOverhang : 0;
    if (Slant > 0 && Style.Contains(fsBold)) --Slant;
    TBrush* Brush = Canvas->Brush();
    const TColor OldColor = Brush->Color();
    const TBrushStyle OldStyle = Brush->Style();
    Brush->SetColor(Color);
    const TRect Band = Intersect(TRect{X1, Top, X2 + Slant, Bottom}, Clip);
    if (Slant <= 0) {
        Canvas->FillRect(Band);
    } else if (Band.Width() > 0 && Band.Height() > 0) {
        TPen* Pen = Canvas->Pen();
        const TColor OldPen = Pen->Color();
        Pen->SetColor(Color);
        auto ClampX = [&](int X) { return std::clamp(X, Band.Left, Band.Right - 1); };
        Canvas->Polygon({Point(ClampX(X1 + Slant), Band.Top), Point(ClampX(X2 + Slant), Band.Top),
                         Point(ClampX(X2), Band.Bottom - 1), Point(ClampX(X1), Band.Bottom - 1)});
        Pen->SetColor(OldPen);
    }
    Brush->SetColor(OldColor);
    Brush->SetStyle(OldStyle);
}

// Draws one line's bytes at X: the part before the selection and after it in
// the font's colour, the selected part in the selection colours over a band
// from Top to Bottom.
void DrawLine(TCanvas* Canvas, const TTextMetric& Metrics, const TRect& Clip, int X, int Y, int Top,
              int Bottom, std::string_view Bytes, int Underline, const TLineSelection* Selection) {
    const int Len = Length(Bytes);
    const int From = Selection ? std::clamp(Selection->Start, 0, Len) : Len;
    const int To = Selection ? std::clamp(Selection->Start + Selection->Length, From, Len) : Len;
    if (From >= To) {
        DrawUnderlined(Canvas, Metrics, Clip, X, Y, Bytes, Underline, false);
        return;
    }
    X = DrawUnderlined(Canvas, Metrics, Clip, X, Y, Slice(Bytes, 0, From), Underline);
    const std::string_view Selected = Slice(Bytes, From, To);
    FillSelection(Canvas, Metrics, Clip, X, X + MeasureText(Canvas, Metrics, Selected), Top, Bottom,
                  Selection->Color);
    TFont* Font = Canvas->Font();
    const TColor FontColor = Font->Color();
    Font->SetColor(Selection->FontColor);
    X = DrawUnderlined(Canvas, Metrics, Clip, X, Y, Selected, Underline - From);
    Font->SetColor(FontColor);
    DrawUnderlined(Canvas, Metrics, Clip, X, Y, Slice(Bytes, To, Len), Underline - To, false);
}

// Where a line of one of the multi-line painters starts.
int LineX(TCanvas* Canvas, const TTextMetric& Metrics, const TRect& Rect, int X,
          std::string_view Bytes, TAlignment Alignment) {
    switch (Alignment) {
    case taRightJustify:
        return Rect.Right - FullTextWidth(Canvas, Metrics, Bytes) - 1;
    case taCenter:
        return std::max(X, Rect.Left + (Rect.Width() - FullTextWidth(Canvas, Metrics, Bytes)) / 2);
    case taLeftJustify:
        break;
    }
    return X;
}

// One line of text in Rect: placed vertically by VertAlignment and
// horizontally by Alignment; a right-justified text too long for the room
// shows its end. Line breaks in it show as spaces.
void PaintSingleLine(TCanvas* Canvas, const TTextMetric& Metrics, std::string_view Text,
                     const TRect& Rect, int X, int Y, TAlignment Alignment,
                     TgxVertAlignment VertAlignment, int Underline,
                     const TLineSelection* Selection) {
    Canvas->FillRect(Rect);
    if (VertAlignment == vtaBottom) {
        Y = Rect.Bottom - Metrics.tmHeight;
    } else if (VertAlignment == vtaCenter && Rect.Bottom - Y > Metrics.tmHeight + 1) {
        Y += (Rect.Bottom - Y - Metrics.tmHeight) / 2;
    }

    AnsiString Printed(Text);
    std::replace_if(
        Printed.begin(), Printed.end(), [](char C) { return C == '\r' || C == '\n'; }, ' ');
    const std::string_view Shown = Printed;
    const int Len = Length(Text);
    const int Room = Rect.Right - X;

    int First = 0;
    int Count = Len;
    int StartX = X;
    if (Alignment == taCenter) {
        StartX =
            std::max(X, Rect.Left + (Rect.Width() - FullTextWidth(Canvas, Metrics, Shown)) / 2);
    } else {
        // Only as much as fits, the last character perhaps crossing the edge.
        const bool FromEnd = Alignment == taRightJustify;
        Count = PCharToByteLen(Text, Room / std::max(1, Metrics.tmAveCharWidth), Len, FromEnd);
        int Edge = FromEnd ? Len - Count : Count; // never inside a CR LF pair
        if (Edge > 0 && Edge < Len && PrevCharCount(Text, Edge + 1) == 2 && EofLineChar(Text, Edge))
            Count += 1;
        auto Part = [&] {
            return FromEnd ? Slice(Shown, Len - Count, Len) : Slice(Shown, 0, Count);
        };
        // Most texts fit whole: one measure then says so, and gives the
        // width a right-aligned text starts from.
        int Whole = -1;
        if (Count < Len) {
            Whole = MeasureText(Canvas, Metrics, Shown);
            if (Whole < Room) Count = Len;
        }
        while (Count < Len && MeasureText(Canvas, Metrics, Part()) < Room) {
            Edge = FromEnd ? Len - Count : Count;
            Count += FromEnd ? PrevCharCount(Text, Edge) : NextCharCount(Text, Edge);
        }
        if (FromEnd) {
            First = Len - Count;
            const int Width = Count == Len && Whole > 0 ? Whole + Metrics.tmOverhang
                                                        : FullTextWidth(Canvas, Metrics, Part());
            StartX = Rect.Right - (Width + 1);
        }
    }

    TLineSelection Relative;
    if (Selection) {
        Relative = *Selection;
        Relative.Start -= First;
    }
    const TTransparentText Transparent(Canvas);
    DrawLine(Canvas, Metrics, Rect, StartX, Y, Y, Y + Metrics.tmHeight,
             Slice(Shown, First, First + Count), Underline - First,
             Selection ? &Relative : nullptr);
}

} // namespace

void DisplayText(TCanvas* Canvas, std::string_view Text, int Height, TRect Rect, int X, int Y,
                 TAlignment Alignment, TgxVertAlignment VertAlignment, bool WordWrap,
                 int UnderlineIndex) {
    if (Rect.Left >= Rect.Right) return;
    const TTextMetric Metrics = GetTextMetrics(Canvas);
    const int Spacing = TextLineSpacing(Metrics);
    const int LineHeight = Metrics.tmHeight + Spacing;
    const std::string_view All = Proper(Text);
    Y += Spacing;

    if (!WordWrap || !IsMultiLineText(Height - Spacing, LineHeight)) {
        if (Alignment != taLeftJustify || VertAlignment == vtaBottom ||
            VertAlignment == vtaCenter || StrNScanEol(All, Length(All)) >= 0) {
            PaintSingleLine(Canvas, Metrics, All, Rect, X, Y, Alignment, VertAlignment,
                            UnderlineIndex, nullptr);
            return;
        }
        Canvas->FillRect(Rect);
        const TTransparentText Transparent(Canvas);
        DrawUnderlined(Canvas, Metrics, Rect, X, Y, All, UnderlineIndex, false);
        return;
    }

    int Width = Rect.Right - X;
    Canvas->FillRect(Rect);
    if (Alignment == taRightJustify && X > Rect.Left) Rect.Left = X;
    Width -= 1;

    TgxIntegerList Lines;
    const bool Listed = (VertAlignment == vtaBottom || VertAlignment == vtaCenter) && !All.empty();
    if (Listed)
        GetTextLines(Canvas, All, Height, Width, Alignment, true, Lines,
                     Rect.Height() / LineHeight + 1);
    Y = GetVertTopOffset(Y, Rect, Listed ? &Lines : nullptr, Spacing, VertAlignment, Metrics);

    const TTransparentText Transparent(Canvas);
    int Offset = 0;
    int Underline = UnderlineIndex;
    for (int Index = 0; Rect.Bottom >= Rect.Top; ++Index) {
        int LineLength = 0;
        if (Listed) {
            if (Index >= Lines.Count()) break;
            Offset = Lines.GetItem(Index);
            const int Next = Index + 1 < Lines.Count() ? Lines.GetItem(Index + 1) : Length(All);
            LineLength = Next - Offset;
        } else if (!GetNextLine(Canvas, Metrics, All.substr(static_cast<std::size_t>(Offset)),
                                Width - 1, Alignment, LineLength)) {
            break;
        }
        const TDrawnPart Part = DrawnPart(Slice(All, Offset, Offset + LineLength), Alignment);
        DrawUnderlined(Canvas, Metrics, Rect,
                       LineX(Canvas, Metrics, Rect, X, Part.Bytes, Alignment), Y, Part.Bytes,
                       Underline - Part.Offset, false);
        Y += LineHeight;
        Rect.Top += LineHeight;
        Offset += LineLength;
        Underline -= LineLength;
    }
}

void DisplayTextLines(TCanvas* Canvas, std::string_view Text, int Height, TRect Rect, int X, int Y,
                      int SelStart, int SelLength, const TgxIntegerList* Lines, int TopLine,
                      int ScrollPos, TColor SelFontColor, TColor SelColor, TAlignment Alignment,
                      TgxVertAlignment VertAlignment, bool WordWrap) {
    if (Rect.Left >= Rect.Right) return;
    const TTextMetric Metrics = GetTextMetrics(Canvas);
    const int Spacing = TextLineSpacing(Metrics);
    const int LineHeight = Metrics.tmHeight + Spacing;
    const std::string_view All = Proper(Text);
    const int Len = Length(All);
    Y += Spacing;

    if (!Lines) {
        // Nothing laid out yet: an empty line.
        Canvas->FillRect(Rect);
        return;
    }
    TLineSelection Selection{SelStart, SelLength, SelFontColor, SelColor};
    const TLineSelection* Selected = SelLength > 0 ? &Selection : nullptr;

    if (!WordWrap || !IsMultiLineText(Height - Spacing, LineHeight)) {
        // Left and centred text show from ScrollPos on; right-justified text
        // shows its first ScrollPos bytes, their end at the right edge.
        const int Scroll = std::clamp(ScrollPos, 0, Len);
        const bool Right = Alignment == taRightJustify;
        const std::string_view Shown = Right ? Slice(All, 0, Scroll) : Slice(All, Scroll, Len);
        if (!Right) Selection.Start -= Scroll;
        PaintSingleLine(Canvas, Metrics, Shown, Rect, X, Y, Alignment, VertAlignment, 0, Selected);
        return;
    }

    if (Alignment == taRightJustify && X > Rect.Left) {
        Canvas->FillRect(TRect{Rect.Left, Rect.Top, X, Rect.Bottom});
        Rect.Left = X;
    }
    Canvas->FillRect(Rect);
    Y = GetVertTopOffset(Y, Rect, Lines, Spacing, VertAlignment, Metrics);

    const TTransparentText Transparent(Canvas);
    for (int Index = std::max(TopLine, 0); Index < Lines->Count() && Y < Rect.Bottom; ++Index) {
        const int Start = Lines->GetItem(Index);
        const int End = Index + 1 < Lines->Count() ? Lines->GetItem(Index + 1) : Len;
        const TDrawnPart Part = DrawnPart(Slice(All, Start, End), Alignment);
        const TRect Band{Rect.Left, Y, Rect.Right, std::min(Y + LineHeight, Rect.Bottom)};
        TLineSelection OnLine = Selection;
        OnLine.Start -= Start + Part.Offset;
        DrawLine(Canvas, Metrics, Band, LineX(Canvas, Metrics, Rect, X, Part.Bytes, Alignment), Y,
                 Band.Top, Band.Bottom, Part.Bytes, 0, Selected ? &OnLine : nullptr);
        Y += LineHeight;
    }
}

} // namespace grid
