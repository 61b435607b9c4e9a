#include "grid/foundation/TextLayout.h"

#include "grid/foundation/TextChars.h"
#include "platform/gui/FontKey.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace grid {

namespace {

// The text proper: up to its first zero byte.
std::string_view Proper(std::string_view Text) {
    const auto Zero = Text.find('\0');
    return Zero == std::string_view::npos ? Text : Text.substr(0, Zero);
}

int Length(std::string_view Text) {
    return static_cast<int>(Text.size());
}

// Whether this system's measurements already include a synthesised italic's
// overhang: two letters then measure less than twice one letter, since each
// measurement carries the overhang once. Measured once, on first use.
bool OverhangInMeasure() {
    static const bool Flag = [] {
        TBitmap Bitmap;
        Bitmap.SetSize(8, 8);
        TCanvas* Canvas = Bitmap.Canvas();
        Canvas->Font()->SetName("MS Sans Serif");
        Canvas->Font()->SetStyle(TFontStyles{fsItalic});
        const AnsiString Text = "XX";
        return Canvas->TextWidth(Text) < 2 * Canvas->TextWidth(Text.substr(0, 1));
    }();
    return Flag;
}

} // namespace

TTextMetric GetTextMetrics(TCanvas* Canvas) {
    // Every cell painted asks for these, nearly always in the font the last
    // one used; measuring the alphabet each time would cost more than the
    // text itself. The measures of the last font are kept.
    struct TLast {
        TFontKey Key;
        TTextMetric Metrics;
    };
    thread_local std::optional<TLast> Last;
    const TFont& Font = *Canvas->Font();
    if (Last && Last->Key.Matches(Font)) return Last->Metrics;
    // The average width the way the system reckons it for a proportional
    // font: the width of the alphabet in both cases over 52, rounded.
    static const AnsiString Alphabet = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
    TTextMetric Metrics;
    Metrics.tmHeight = Canvas->TextExtent("Wg").cy;
    Metrics.tmAveCharWidth = (Canvas->TextWidth(Alphabet) / 26 + 1) / 2;
    // Outline fonts draw italic and bold themselves: no synthesised overhang,
    // and the drawing layer reports no external leading.
    Metrics.tmOverhang = 0;
    Metrics.tmExternalLeading = 0;
    Last.emplace(TLast{TFontKey(Font), Metrics});
    return Metrics;
}

bool IsMultiLineText(int Height, int LineHeight) {
    return Height - LineHeight >= LineHeight / 3;
}

int TextLineSpacing(const TTextMetric& Metrics) {
    return gxIsFarEast && Metrics.tmExternalLeading > 0 ? 1 : 0;
}

int MeasureText(TCanvas* Canvas, const TTextMetric& Metrics, std::string_view Text) {
    if (Text.empty()) return 0;
    int Width = Canvas->TextWidth(AnsiString(Text));
    if (Width > 0 && OverhangInMeasure()) Width -= Metrics.tmOverhang;
    return Width;
}

int FullTextWidth(TCanvas* Canvas, const TTextMetric& Metrics, std::string_view Text) {
    const int Width = MeasureText(Canvas, Metrics, Text);
    return Width > 0 ? Width + Metrics.tmOverhang : Width;
}

int GetPrintCharWidth(TCanvas* Canvas, const TTextMetric& Metrics, std::string_view Text, int N,
                      bool SkipBreaks, bool AddOverhang) {
    const std::string_view Part = Proper(Text).substr(0, static_cast<std::size_t>(std::max(N, 0)));
    AnsiString Printed;
    Printed.reserve(Part.size());
    for (int Pos = 0; Pos < Length(Part);) {
        const int Start = Pos;
        if (GetEofLine(Part, Pos)) {
            if (!SkipBreaks) Printed += ' ';
            continue;
        }
        Pos = Start + 1;
        Printed += Part[static_cast<std::size_t>(Start)];
    }
    int Width = MeasureText(Canvas, Metrics, Printed);
    if (AddOverhang && Width > 0) Width += Metrics.tmOverhang;
    return Width;
}

namespace {

// The full widths of the spans of one text that line breaking asks for.
// Where the canvas can measure a stretch of plain ASCII in one pass, every
// span inside it is read off that one measurement, and stepping over its
// characters needs no look at their bytes (one byte each, no line ends).
class TLineWidths {
public:
    TLineWidths(TCanvas* Canvas, const TTextMetric& Metrics, std::string_view All)
        : FCanvas(Canvas), FMetrics(Metrics), FAll(All) {
        // The thread keeps one run's arrays for the next text: a grid row
        // measured then allocates none.
        thread_local TTextRun Kept;
        thread_local bool KeptInUse = false;
        if (!KeptInUse) {
            KeptInUse = true;
            FKeptInUse = &KeptInUse;
            FRun = &Kept;
        } else {
            FRun = &FOwn.emplace();
        }
    }
    ~TLineWidths() {
        if (FKeptInUse) *FKeptInUse = false;
    }
    TLineWidths(const TLineWidths&) = delete;
    TLineWidths& operator=(const TLineWidths&) = delete;

    // How many bytes from Offset on lie in a measured plain stretch, which
    // reaches Want bytes on where the text allows.
    int PlainFrom(int Offset, int Want) {
        const int End = FRunStart + FRunLength;
        if (Offset < FRunStart || Offset >= End || (!FRunComplete && End - Offset < Want)) {
            // Measured well past the line, so that the lines after it are
            // read off the same pass; but not to the end of a long text of
            // which only a few lines are wanted.
            const std::size_t Limit = static_cast<std::size_t>(std::max(8 * Want, 4096));
            const std::string_view Part = FAll.substr(static_cast<std::size_t>(Offset), Limit);
            FRunStart = Offset;
            FRunLength = static_cast<int>(FCanvas->TextRun(Part, *FRun));
            FRunComplete = FRunLength < static_cast<int>(Limit);
        }
        return FRunStart + FRunLength - Offset;
    }

    // FullTextWidth of Len bytes from Offset.
    int operator()(int Offset, int Len) {
        if (Len < 1 || Offset < FRunStart || Offset + Len > FRunStart + FRunLength)
            return FullTextWidth(FCanvas, FMetrics,
                                 FAll.substr(static_cast<std::size_t>(Offset),
                                             static_cast<std::size_t>(std::max(Len, 0))));
        // As MeasureText and FullTextWidth make of the measurement.
        const auto From = static_cast<std::size_t>(Offset - FRunStart);
        int Width = FRun->Width(From, From + static_cast<std::size_t>(Len));
        if (Width > 0 && OverhangInMeasure()) Width -= FMetrics.tmOverhang;
        return Width > 0 ? Width + FMetrics.tmOverhang : Width;
    }

private:
    TCanvas* FCanvas;
    const TTextMetric& FMetrics;
    std::string_view FAll;
    TTextRun* FRun = nullptr;
    std::optional<TTextRun> FOwn;
    bool* FKeptInUse = nullptr;
    int FRunStart = 0;
    int FRunLength = 0;
    bool FRunComplete = false; // ends where the plain stretch or the text does
};

// The line of All that starts at Offset, as GetNextLine gives it.
bool NextLine(TLineWidths& StartWidth, const TTextMetric& Metrics, std::string_view All,
              int Offset, int Width, TAlignment Alignment, int& LineLength) {
    LineLength = 0;
    const std::string_view Text = All.substr(static_cast<std::size_t>(Offset));
    if (Text.empty()) return false;

    // A right-justified line is drawn without the spaces that start it.
    const int Skip = Alignment == taRightJustify ? StrNSkipSpace(Text, Length(Text)) : 0;
    const std::string_view Rest = Text.substr(static_cast<std::size_t>(Skip));
    const int RestLen = Length(Rest);
    const int Start = Offset + Skip;
    // Guess from the average character width, then correct by characters.
    const int Guess = Width / std::max(1, Metrics.tmAveCharWidth);
    // Up to Plain, every character is one byte and none ends a line.
    const int Want = static_cast<int>(std::min(2LL * std::max(Guess, 32), 1LL << 24));
    const int Plain = RestLen > 0 ? StartWidth.PlainFrom(Start, Want) : 0;
    const auto Next = [&](int Pos) { return Pos < Plain ? Pos + 1 : Pos + NextCharCount(Rest, Pos); };
    const auto Prev = [&](int Pos) { return Pos <= Plain ? Pos - 1 : Pos - PrevCharCount(Rest, Pos); };
    const auto LineEndAt = [&](int Pos) { return Pos >= Plain && EofLineChar(Rest, Pos); };

    int Len = Guess <= Plain     ? std::max(Guess, 0)
              : Plain == RestLen ? RestLen
                                 : PCharToByteLen(Rest, Guess, RestLen, false);
    const int Eol = Len <= Plain ? -1 : StrNScanEol(Rest, Len);
    if (Eol >= 0) Len = Eol;
    int Measured = StartWidth(Start, Len);
    if (Measured < Width) {
        while (Len < RestLen && !LineEndAt(Len)) {
            const int After = Next(Len);
            if (StartWidth(Start, After) > Width) break;
            Len = After;
        }
    } else {
        while (Len > 0 && Measured > Width) {
            Len = Prev(Len);
            Measured = StartWidth(Start, Len);
        }
    }

    // Break after the last blank rather than inside a word.
    if (Len < RestLen && !IsSpaceChar(Rest, Len) && !LineEndAt(Len)) {
        int Space = -1;
        if (Len <= Plain) {
            // A plain stretch holds no tabs: its only blank is the space.
            Space = Len - 1;
            while (Space >= 0 && Rest[static_cast<std::size_t>(Space)] != ' ')
                --Space;
        } else {
            Space = StrRNSpaceScan(Rest, Len);
        }
        if (Space >= 0) Len = Space + 1;
    }

    int SpacesEnd = Len;
    while (SpacesEnd < RestLen && IsSpaceChar(Rest, SpacesEnd))
        ++SpacesEnd;
    if (Alignment == taRightJustify) {
        // Trailing blanks would keep the line off the right edge: they go to
        // the next line, which skips them. Blanks that run up to a line end
        // or the end of the text stay here, or they would make a line of
        // their own that shows nothing; the painters leave them undrawn.
        int Trimmed = Len;
        while (Trimmed > 0 && IsSpaceChar(Rest, Trimmed - 1))
            --Trimmed;
        Len = SpacesEnd < RestLen && !LineEndAt(SpacesEnd) ? Trimmed : SpacesEnd;
    } else {
        Len = SpacesEnd;
    }
    GetEofLine(Rest, Len);

    // A character too wide for the width still makes a line of its own.
    if (Len == 0 && RestLen > 0) Len = NextCharCount(Rest, 0);

    LineLength = Skip + Len;
    return LineLength > 0;
}

} // namespace

bool GetNextLine(TCanvas* Canvas, const TTextMetric& Metrics, std::string_view Text, int Width,
                 TAlignment Alignment, int& LineLength) {
    const std::string_view All = Proper(Text);
    TLineWidths StartWidth(Canvas, Metrics, All);
    return NextLine(StartWidth, Metrics, All, 0, Width, Alignment, LineLength);
}

void GetTextLines(TCanvas* Canvas, std::string_view Text, int Height, int Width,
                  TAlignment Alignment, bool WordWrap, TgxIntegerList& Lines, int MaxLines) {
    const TTextMetric Metrics = GetTextMetrics(Canvas);
    const int Spacing = TextLineSpacing(Metrics);
    const std::string_view All = Proper(Text);
    Lines.Clear();
    if (WordWrap && IsMultiLineText(Height - Spacing, Metrics.tmHeight + Spacing)) {
        TLineWidths StartWidth(Canvas, Metrics, All);
        int Offset = 0;
        int LineLength = 0;
        while ((MaxLines == 0 || Lines.Count() < MaxLines) &&
               NextLine(StartWidth, Metrics, All, Offset, Width - 1, Alignment, LineLength)) {
            Lines.AddItem(Offset);
            Offset += LineLength;
        }
        // The empty line after a final line break.
        if (Lines.Count() > 0 && LastCharIsEofLine(All, Offset)) Lines.AddItem(Offset);
    }
    if (Lines.Count() == 0) Lines.AddItem(0);
}

void GetTextHeight(TCanvas* Canvas, std::string_view Text, int Width, TAlignment Alignment,
                   bool WordWrap, int& LineCount, int& Height) {
    const TTextMetric Metrics = GetTextMetrics(Canvas);
    const std::string_view All = Proper(Text);
    LineCount = 1;
    if (WordWrap) {
        LineCount = 0;
        TLineWidths StartWidth(Canvas, Metrics, All);
        int Offset = 0;
        int LineLength = 0;
        while (NextLine(StartWidth, Metrics, All, Offset, Width - 1, Alignment, LineLength)) {
            ++LineCount;
            Offset += LineLength;
        }
        if (LineCount == 0) LineCount = 1;
        if (LastCharIsEofLine(All, Length(All))) ++LineCount;
    }
    Height = (Metrics.tmHeight + TextLineSpacing(Metrics)) * LineCount;
}

int GetVertTopOffset(int Top, const TRect& Rect, const TgxIntegerList* Lines, int Spacing,
                     TgxVertAlignment VertAlignment, const TTextMetric& Metrics) {
    if (!Lines) return Top;
    const int LineHeight = Metrics.tmHeight + Spacing;
    const int Count = Lines->Count();
    switch (VertAlignment) {
    case vtaBottom: {
        int Y = Rect.Bottom - Metrics.tmHeight;
        for (int Line = 1; Line < Count && Y - LineHeight >= Top; ++Line)
            Y -= LineHeight;
        return Y;
    }
    case vtaCenter:
        if (Count * LineHeight + 1 >= Rect.Bottom - Top) return Top;
        return Top + (Rect.Bottom - Top - Count * LineHeight) / 2;
    case vtaTop:
    case vtaDefault:
        break;
    }
    return Top;
}

} // namespace grid
