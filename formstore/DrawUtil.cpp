#include "formstore/DrawUtil.h"

#include "formstore/ScanColors.h"

#include "platform/gui/CustomControl.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace formstore {

namespace {

// a * b / c rounded half away from zero.
int MulDiv(int A, int B, int C) {
    return static_cast<int>(std::lround(static_cast<double>(A) * B / C));
}

TRect Bounds(int Left, int Top, int Width, int Height) {
    return Rect(Left, Top, Left + Width, Top + Height);
}

// Saves a canvas's brush and puts it back on leaving.
class TBrushKeeper {
public:
    explicit TBrushKeeper(TCanvas* Canvas) : FCanvas(Canvas) { FSaved.Assign(Canvas->Brush()); }
    ~TBrushKeeper() { FCanvas->Brush()->Assign(&FSaved); }
    TBrushKeeper(const TBrushKeeper&) = delete;
    TBrushKeeper& operator=(const TBrushKeeper&) = delete;

private:
    TCanvas* FCanvas;
    TBrush FSaved;
};

class TCanvasLock {
public:
    explicit TCanvasLock(TCanvas* Canvas) : FCanvas(Canvas) { FCanvas->Lock(); }
    ~TCanvasLock() { FCanvas->Unlock(); }
    TCanvasLock(const TCanvasLock&) = delete;
    TCanvasLock& operator=(const TCanvasLock&) = delete;

private:
    TCanvas* FCanvas;
};

} // namespace

void GradientFillRect(TCanvas* Canvas, const TRect& ARect, TColor StartColor, TColor EndColor,
                      TFillDirection Direction, std::uint8_t Colors) {
    if (ARect.Right <= ARect.Left || ARect.Bottom <= ARect.Top) return;
    TBrushKeeper Keep(Canvas);
    if (Colors < 2) {
        Canvas->Brush()->SetColor(StartColor);
        Canvas->FillRect(ARect);
        return;
    }
    const TColor Start = ColorToRGB(StartColor);
    const TColor End = ColorToRGB(EndColor);
    const bool Forward = Direction == fdTopToBottom || Direction == fdLeftToRight;
    const TColor Base = Forward ? Start : End;
    const TColor Other = Forward ? End : Start;
    const int DeltaR = Red(Other) - Red(Base);
    const int DeltaG = Green(Other) - Green(Base);
    const int DeltaB = Blue(Other) - Blue(Base);

    const bool Vertical = Direction == fdTopToBottom || Direction == fdBottomToTop;
    const int Extent = Vertical ? ARect.Height() : ARect.Width();
    const int N = std::max(2, std::min<int>(Colors, Extent));
    const int Band = Extent / N;
    // Band I as a rectangle: Length pixels from Offset along the gradient.
    auto Strip = [&](int Offset, int Length) {
        return Vertical
                   ? Rect(ARect.Left, ARect.Top + Offset, ARect.Right, ARect.Top + Offset + Length)
                   : Rect(ARect.Left + Offset, ARect.Top, ARect.Left + Offset + Length,
                          ARect.Bottom);
    };
    if (Band > 0) {
        for (int I = 0; I < N; ++I) {
            Canvas->Brush()->SetColor(
                RGB(static_cast<std::uint8_t>(Red(Base) + MulDiv(I, DeltaR, N - 1)),
                    static_cast<std::uint8_t>(Green(Base) + MulDiv(I, DeltaG, N - 1)),
                    static_cast<std::uint8_t>(Blue(Base) + MulDiv(I, DeltaB, N - 1))));
            Canvas->FillRect(Strip(I * Band, Band));
        }
    }
    const int Rest = Extent % N;
    if (Rest > 0) {
        Canvas->Brush()->SetColor(Forward ? End : Start);
        Canvas->FillRect(Strip(Extent - Rest, Rest));
    }
}

std::unique_ptr<TBitmap> CreateTwoColorsBrushPattern(TColor Color1, TColor Color2) {
    auto Result = std::make_unique<TBitmap>();
    Result->SetSize(8, 8);
    const std::uint32_t First = ColorToScan(Color1);
    const std::uint32_t Second = ColorToScan(Color2);
    for (int Y = 0; Y < 8; ++Y) {
        std::uint32_t* Line = Result->ScanLine(Y);
        for (int X = 0; X < 8; ++X)
            Line[X] = (X % 2) == (Y % 2) ? Second : First;
    }
    return Result;
}

void ShadeRect(TCanvas* Canvas, const TRect& Rect) {
    static constexpr std::array<std::uint8_t, 8> HatchBits{0x11, 0x22, 0x44, 0x88,
                                                           0x11, 0x22, 0x44, 0x88};
    TBitmap Pattern;
    Pattern.SetSize(8, 8);
    Pattern.SetMonochrome(true);
    for (int Y = 0; Y < 8; ++Y) {
        std::uint32_t* Line = Pattern.ScanLine(Y);
        for (int X = 0; X < 8; ++X)
            Line[X] = (HatchBits[Y] & (0x80 >> X)) ? 0xFFFFFFFFu : 0xFF000000u;
    }
    TBrushKeeper Keep(Canvas);
    const TColor SavedText = Canvas->Font()->Color();
    const TCopyMode SavedMode = Canvas->CopyMode();
    // A monochrome pattern paints its set (white) bits in the brush colour
    // and the others in the text colour; ANDed onto the pixels, black
    // darkens and white leaves them.
    Canvas->Brush()->SetBitmap(&Pattern);
    Canvas->Brush()->SetColor(clBlack);
    Canvas->Font()->SetColor(clWhite);
    Canvas->SetCopyMode(0x00A000C9);
    Canvas->CopyRect(Rect, Canvas, Rect);
    Canvas->SetCopyMode(SavedMode);
    Canvas->Font()->SetColor(SavedText);
}

// ---- transparent bitmaps -------------------------------------------------------

namespace {

void StretchBitmapTransparent(TCanvas* Dest, TBitmap* Bitmap, TColor TransparentColor, int DstX,
                              int DstY, int DstW, int DstH, int SrcX, int SrcY, int SrcW,
                              int SrcH) {
    if (!Dest || !Bitmap || Bitmap->Empty()) return;
    if (DstW < 1) DstW = Bitmap->Width();
    if (DstH < 1) DstH = Bitmap->Height();
    if (SrcW < 1 || SrcH < 1) {
        SrcX = 0;
        SrcY = 0;
        SrcW = Bitmap->Width();
        SrcH = Bitmap->Height();
    }
    TCanvas* Source = Bitmap->Canvas();
    TCanvasLock Lock(Source);
    const TRect Target = Bounds(DstX, DstY, DstW, DstH);
    const TRect Part = Bounds(SrcX, SrcY, SrcW, SrcH);
    if (TransparentColor == clNone) {
        Dest->CopyRect(Target, Source, Part);
        return;
    }
    if (Bitmap->Monochrome())
        TransparentColor = clWhite;
    else if (TransparentColor == clDefault)
        TransparentColor = Source->Pixels(0, Bitmap->Height() - 1);
    TBitmap Piece;
    Piece.SetSize(SrcW, SrcH);
    Piece.Canvas()->CopyRect(Rect(0, 0, SrcW, SrcH), Source, Part);
    Piece.SetTransparentColor(ColorToRGB(TransparentColor));
    Piece.SetTransparent(true);
    Dest->StretchDraw(Target, &Piece);
}

// The transparent colour a caller's clDefault stands for.
TColor ResolveTransparent(TBitmap* Bitmap, TColor Color) {
    return ColorToRGB(Color == clDefault ? Bitmap->TransparentColor() : Color);
}

} // namespace

void StretchBitmapRectTransparent(TCanvas* Dest, int DstX, int DstY, int DstW, int DstH,
                                  const TRect& SrcRect, TBitmap* Bitmap, TColor TransparentColor) {
    StretchBitmapTransparent(Dest, Bitmap, TransparentColor, DstX, DstY, DstW, DstH, SrcRect.Left,
                             SrcRect.Top, SrcRect.Width(), SrcRect.Height());
}

void DrawBitmapRectTransparent(TCanvas* Dest, int DstX, int DstY, const TRect& SrcRect,
                               TBitmap* Bitmap, TColor TransparentColor) {
    StretchBitmapTransparent(Dest, Bitmap, TransparentColor, DstX, DstY, SrcRect.Width(),
                             SrcRect.Height(), SrcRect.Left, SrcRect.Top, SrcRect.Width(),
                             SrcRect.Height());
}

void DrawBitmapTransparent(TCanvas* Dest, int DstX, int DstY, TBitmap* Bitmap,
                           TColor TransparentColor) {
    StretchBitmapTransparent(Dest, Bitmap, TransparentColor, DstX, DstY, 0, 0, 0, 0, 0, 0);
}

std::unique_ptr<TBitmap> ChangeBitmapColor(TBitmap* Bitmap, TColor Color, TColor NewColor) {
    auto Result = std::make_unique<TBitmap>();
    Result->SetSize(Bitmap->Width(), Bitmap->Height());
    const TRect Whole = Rect(0, 0, Bitmap->Width(), Bitmap->Height());
    Result->Canvas()->Brush()->SetColor(NewColor);
    Result->Canvas()->BrushCopy(Whole, Bitmap, Whole, ColorToRGB(Color));
    return Result;
}

std::unique_ptr<TBitmap> CreateDisabledBitmapEx(TBitmap* FOriginal, TColor OutlineColor,
                                                TColor BackColor, TColor HighlightColor,
                                                TColor ShadowColor, bool DrawHighlight) {
    const int Width = FOriginal->Width();
    const int Height = FOriginal->Height();
    // The image's shape: true where the original is not transparent.
    const TColor Transparent = ResolveTransparent(FOriginal, OutlineColor);
    std::vector<bool> Shape(static_cast<std::size_t>(Width) * Height);
    for (int Y = 0; Y < Height; ++Y) {
        const std::uint32_t* Line = FOriginal->ScanLine(Y);
        for (int X = 0; X < Width; ++X)
            Shape[static_cast<std::size_t>(Y) * Width + X] = ScanToColor(Line[X]) != Transparent;
    }

    auto Result = std::make_unique<TBitmap>();
    Result->SetSize(Width, Height);
    const std::uint32_t Back = ColorToScan(BackColor);
    for (int Y = 0; Y < Height; ++Y)
        std::fill_n(Result->ScanLine(Y), Width, Back);
    auto Paint = [&](int Offset, TColor Color) {
        const std::uint32_t Pixel = ColorToScan(Color);
        for (int Y = 0; Y + Offset < Height; ++Y) {
            std::uint32_t* Line = Result->ScanLine(Y + Offset);
            for (int X = 0; X + Offset < Width; ++X)
                if (Shape[static_cast<std::size_t>(Y) * Width + X]) Line[X + Offset] = Pixel;
        }
    };
    if (DrawHighlight) Paint(1, HighlightColor);
    Paint(0, ShadowColor);
    return Result;
}

std::unique_ptr<TBitmap> CreateDisabledBitmap(TBitmap* FOriginal, TColor OutlineColor) {
    return CreateDisabledBitmapEx(FOriginal, OutlineColor, clBtnFace, clBtnHighlight, clBtnShadow,
                                  true);
}

std::unique_ptr<TBitmap> CreateBitmapFromIcon(TIcon* Icon, TColor BackColor) {
    auto Result = std::make_unique<TBitmap>();
    Result->SetSize(Icon->Width(), Icon->Height());
    Result->Canvas()->Brush()->SetColor(BackColor);
    Result->Canvas()->FillRect(Rect(0, 0, Icon->Width(), Icon->Height()));
    Result->Canvas()->Draw(0, 0, Icon);
    Result->SetTransparentColor(BackColor);
    Result->SetTransparent(true);
    return Result;
}

void AssignBitmapCell(TGraphic* Source, TBitmap* Dest, int Cols, int Rows, int Index) {
    if (!Source || !Dest) return;
    Cols = std::max(1, Cols);
    Rows = std::max(1, Rows);
    Index = std::max(0, Index);
    const int CellWidth = Source->Width() / Cols;
    const int CellHeight = Source->Height() / Rows;
    const int Left = (Index % Cols) * CellWidth;
    const int Top = (Index / Cols) * CellHeight;
    Dest->SetSize(CellWidth, CellHeight);
    const TRect Cell = Rect(0, 0, CellWidth, CellHeight);
    if (auto* Bitmap = dynamic_cast<TBitmap*>(Source)) {
        Dest->Canvas()->CopyRect(Cell, Bitmap->Canvas(), Bounds(Left, Top, CellWidth, CellHeight));
        Dest->SetTransparentColor(Bitmap->TransparentColor());
    } else {
        Dest->Canvas()->Brush()->SetColor(clSilver);
        Dest->Canvas()->FillRect(Cell);
        Dest->Canvas()->Draw(-Left, -Top, Source);
    }
    Dest->SetTransparent(Source->Transparent());
}

// ---- text -----------------------------------------------------------------------

namespace {

// Lines of text as the platform's text drawing lays them out: CR LF, CR
// or LF end a line; with WordWrap a line is broken between words where
// the next word would pass MaxWidth (a word wider than that stands alone
// and is clipped); tabs stop every TabWidth pixels.
class TTextLayout {
public:
    TTextLayout(TCanvas* Canvas, int TabWidth) : FCanvas(Canvas), FTabWidth(TabWidth) {}

    int Width(const AnsiString& Line) const {
        int X = 0;
        std::size_t From = 0;
        for (;;) {
            const std::size_t Tab = Line.find('\t', From);
            X += FCanvas->TextWidth(Line.substr(From, Tab - From));
            if (Tab == AnsiString::npos) return X;
            X = NextTabStop(X);
            From = Tab + 1;
        }
    }

    // Draws the line at (X, Y) clipped to Clip, without filling.
    void Draw(const TRect& Clip, int X, int Y, const AnsiString& Line) const {
        std::size_t From = 0;
        const int Origin = X;
        for (;;) {
            const std::size_t Tab = Line.find('\t', From);
            const AnsiString Piece = Line.substr(From, Tab - From);
            if (!Piece.empty()) FCanvas->TextRect(Clip, X, Y, Piece);
            X += FCanvas->TextWidth(Piece);
            if (Tab == AnsiString::npos) return;
            X = Origin + NextTabStop(X - Origin);
            From = Tab + 1;
        }
    }

    std::vector<AnsiString> Lines(const AnsiString& Text, bool WordWrap, int MaxWidth) const {
        std::vector<AnsiString> Result;
        std::size_t From = 0;
        for (;;) {
            const std::size_t Break = Text.find_first_of("\r\n", From);
            const AnsiString Line = Text.substr(From, Break - From);
            if (WordWrap)
                Wrap(Line, MaxWidth, Result);
            else
                Result.push_back(Line);
            if (Break == AnsiString::npos) return Result;
            From = Break + 1;
            if (Text[Break] == '\r' && From < Text.size() && Text[From] == '\n') ++From;
        }
    }

private:
    int NextTabStop(int X) const { return FTabWidth > 0 ? (X / FTabWidth + 1) * FTabWidth : X; }

    void Wrap(const AnsiString& Line, int MaxWidth, std::vector<AnsiString>& Result) const {
        AnsiString Current;
        std::size_t Pos = 0;
        bool Any = false;
        while (Pos < Line.size()) {
            const std::size_t WordStart = Line.find_first_not_of(' ', Pos);
            if (WordStart == AnsiString::npos) break;
            std::size_t WordEnd = Line.find(' ', WordStart);
            if (WordEnd == AnsiString::npos) WordEnd = Line.size();
            const AnsiString Candidate = Line.substr(Pos, WordEnd - Pos);
            if (Any && Width(Current + Candidate) > MaxWidth) {
                Result.push_back(Current);
                Current = Line.substr(WordStart, WordEnd - WordStart);
            } else {
                Current += Candidate;
            }
            Any = true;
            Pos = WordEnd;
        }
        Result.push_back(Current);
    }

    TCanvas* FCanvas;
    int FTabWidth;
};

TAlignment Swapped(TAlignment Alignment) {
    if (Alignment == taLeftJustify) return taRightJustify;
    if (Alignment == taRightJustify) return taLeftJustify;
    return Alignment;
}

// The off-screen bitmap cell texts are composed on; it only grows.
TBitmap& DrawBitmap() {
    static TBitmap Bitmap;
    return Bitmap;
}

} // namespace

void WriteText(TCanvas* ACanvas, const TRect& ARect, int DX, int DY, const AnsiString& Text,
               TAlignment Alignment, bool WordWrap, bool ARightToLeft) {
    const int Width = ARect.Width();
    const int Height = ARect.Height();
    const bool Mirrored = ACanvas->MirrorWidth() > 0;
    // Every colour is a pure colour of a 32-bit surface, so a single line
    // is drawn straight onto the canvas.
    if (!WordWrap && Text.find('\r') == AnsiString::npos) {
        // A mirrored canvas places x from its right edge: text that is not
        // to read right to left keeps the side it is aligned to as seen.
        if (Mirrored && !ARightToLeft) Alignment = Swapped(Alignment);
        int X = ARect.Left + DX;
        if (Alignment == taRightJustify)
            X = ARect.Right - ACanvas->TextWidth(Text) - 3;
        else if (Alignment == taCenter)
            X = ARect.Left + Width / 2 - ACanvas->TextWidth(Text) / 2;
        ACanvas->TextRect(ARect, X, ARect.Top + DY, Text);
        return;
    }
    if (Width <= 0 || Height <= 0) return;
    // The lines are composed left to right and copied into the cell as
    // they are, so they already sit as seen; right-to-left reading on a
    // mirrored canvas starts them from the other side.
    if (Mirrored && ARightToLeft) Alignment = Swapped(Alignment);

    TBitmap& Bitmap = DrawBitmap();
    TCanvas* Canvas = Bitmap.Canvas();
    TCanvasLock Lock(Canvas);
    Bitmap.SetSize(std::max(Bitmap.Width(), Width), std::max(Bitmap.Height(), Height));
    Canvas->Font()->Assign(ACanvas->Font());
    Canvas->Brush()->Assign(ACanvas->Brush());
    // Without a brush the text goes over what the cell already shows, not
    // over whatever the last cell left in the shared bitmap.
    if (ACanvas->Brush()->Style() == bsClear) {
        Canvas->SetCopyMode(cmSrcCopy);
        Canvas->CopyRect(Rect(0, 0, Width, Height), ACanvas, ARect);
    } else {
        Canvas->FillRect(Rect(0, 0, Width, Height));
    }
    Canvas->Brush()->SetStyle(bsClear);

    const TRect Area = Rect(DX, DY, Width - 1, Height - 1);
    const TTextLayout Layout(Canvas, 8 * GetAveCharSize(Canvas).X);
    const int LineHeight = Canvas->TextHeight("W");
    int Y = Area.Top;
    for (const AnsiString& Line : Layout.Lines(Text, WordWrap, Area.Width())) {
        if (Y >= Area.Bottom) break;
        int X = Area.Left;
        if (Alignment == taRightJustify)
            X = Area.Right - Layout.Width(Line);
        else if (Alignment == taCenter)
            X = Area.Left + (Area.Width() - Layout.Width(Line)) / 2;
        Layout.Draw(Area, X, Y, Line);
        Y += LineHeight;
    }
    ACanvas->CopyRect(ARect, Canvas, Rect(0, 0, Width, Height));
}

void DrawCellTextEx(TCustomControl* Control, int /*ACol*/, int /*ARow*/, const AnsiString& S,
                    const TRect& ARect, TAlignment Align, TVertAlignment VertAlign, bool WordWrap,
                    bool ARightToLeft) {
    TCanvas* Canvas = Control->Canvas();
    int DY = 2;
    if (VertAlign == vaCenter)
        DY = std::max(1, (ARect.Height() - Canvas->TextHeight("W")) / 2);
    else if (VertAlign == vaBottomJustify)
        DY = std::max(2, ARect.Height() - Canvas->TextHeight("W"));
    WriteText(Canvas, ARect, 2, DY, S, Align, WordWrap, ARightToLeft);
}

void DrawCellText(TCustomControl* Control, int ACol, int ARow, const AnsiString& S,
                  const TRect& ARect, TAlignment Align, TVertAlignment VertAlign,
                  bool ARightToLeft) {
    DrawCellTextEx(Control, ACol, ARow, S, ARect, Align, VertAlign, Align == taCenter,
                   ARightToLeft);
}

void DrawCellBitmap(TCustomControl* Control, int /*ACol*/, int /*ARow*/, TGraphic* Graphic,
                    const TRect& Rect) {
    if (!Graphic) return;
    Control->Canvas()->Draw(Rect.Left + (Rect.Width() - Graphic->Width()) / 2,
                            Rect.Top + (Rect.Height() - Graphic->Height()) / 2, Graphic);
}

AnsiString MinimizeText(const AnsiString& Text, TCanvas* Canvas, int MaxWidth) {
    AnsiString Result = Text;
    const int Length = static_cast<int>(Text.size());
    for (int I = 1; I <= Length && Canvas->TextWidth(Result) > MaxWidth; ++I) {
        auto Keep = static_cast<std::size_t>(std::max(0, Length - I - 1));
        // Back off to the start of a UTF-8 sequence rather than split it.
        while (Keep > 0 && (static_cast<unsigned char>(Text[Keep]) & 0xC0) == 0x80)
            --Keep;
        Result = Text.substr(0, Keep) + "...";
    }
    return Result;
}

TPoint GetAveCharSize(TCanvas* Canvas) {
    AnsiString Letters;
    for (char C = 'A'; C <= 'Z'; ++C)
        Letters += C;
    for (char C = 'a'; C <= 'z'; ++C)
        Letters += C;
    const TSize Size = Canvas->TextExtent(Letters);
    return Point(Size.cx / 52, Size.cy);
}

TLogFont CreateRotatedFont(TFont* Font, int Angle) {
    TLogFont Result;
    Result.lfHeight = Font->Height();
    Result.lfWidth = 0;
    Result.lfEscapement = Angle * 10;
    Result.lfOrientation = 0;
    Result.lfWeight = Font->Style().Contains(fsBold) ? 700 : 400;
    Result.lfItalic = Font->Style().Contains(fsItalic);
    Result.lfUnderline = Font->Style().Contains(fsUnderline);
    Result.lfStrikeOut = Font->Style().Contains(fsStrikeOut);
    Result.lfCharSet = Font->Charset();
    Result.lfFaceName = Font->Name() == "Default" ? TFont().Name() : Font->Name();
    Result.lfOutPrecision = 0;
    Result.lfClipPrecision = 0;
    Result.lfQuality = 0;
    Result.lfPitchAndFamily = Font->Pitch() == fpVariable ? 2 : Font->Pitch() == fpFixed ? 1 : 0;
    return Result;
}

TColor PaletteColor(TColor Color) {
    return ColorToRGB(Color) | 0x02000000;
}

} // namespace formstore
