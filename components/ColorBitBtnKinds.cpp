#include "components/ColorBitBtnKinds.h"

#include <array>
#include <memory>
#include <vector>

namespace components {

namespace {

constexpr int KindCount = 11;

int Ordinal(TBitBtnKind Kind) {
    const int I = static_cast<int>(Kind);
    return I >= 0 && I < KindCount ? I : 0;
}

using TStroke = std::vector<TPoint>;

struct TKindGlyph {
    TColor Ink;
    std::vector<TStroke> Strokes;
    // Outlined circles, as bounding boxes.
    std::vector<TRect> Rings;
};

// The symbol of each kind, drawn into an 18 by 18 cell.
TKindGlyph KindGlyph(TBitBtnKind Kind) {
    const TStroke Check{{3, 9}, {7, 13}, {14, 4}};
    const std::vector<TStroke> Cross{{{4, 4}, {13, 13}}, {{13, 4}, {4, 13}}};
    switch (Kind) {
    case bkOK:
    case bkYes:
        return {clGreen, {Check}, {}};
    case bkCancel:
        return {clRed, Cross, {}};
    case bkHelp:
        return {clNavy,
                {{{5, 6}, {6, 4}, {9, 3}, {12, 4}, {13, 6}, {12, 8}, {9, 10}, {9, 12}},
                 {{9, 14}, {9, 16}}},
                {}};
    case bkNo:
        return {clRed, {{{5, 13}, {13, 5}}}, {Rect(3, 3, 16, 16)}};
    case bkClose:
        return {clTeal, {{{5, 2}, {13, 2}, {13, 16}, {5, 16}, {5, 2}}, {{10, 9}, {11, 9}}}, {}};
    case bkAbort:
        return {clMaroon, {{{6, 6}, {12, 12}}, {{12, 6}, {6, 12}}}, {Rect(2, 2, 17, 17)}};
    case bkRetry:
        return {clNavy,
                {{{13, 6}, {10, 3}, {6, 3}, {3, 6}, {3, 11}, {6, 14}, {10, 14}, {13, 11}},
                 {{13, 2}, {13, 6}, {9, 6}}},
                {}};
    case bkIgnore:
        return {clNavy, {{{3, 9}, {14, 9}}, {{11, 6}, {14, 9}, {11, 12}}}, {}};
    case bkAll:
        return {clGreen, {{{1, 9}, {5, 13}, {12, 4}}, {{6, 9}, {10, 13}, {17, 4}}}, {}};
    default:
        return {clBlack, {}, {}};
    }
}

void DrawSymbol(TCanvas* Canvas, const TKindGlyph& Glyph, int DX, int DY, TColor Ink) {
    Canvas->Pen()->SetColor(Ink);
    Canvas->Pen()->SetWidth(2);
    Canvas->Brush()->SetStyle(bsClear);
    for (const TStroke& Stroke : Glyph.Strokes) {
        std::vector<TPoint> Points;
        for (const TPoint& P : Stroke)
            Points.push_back({P.X + DX, P.Y + DY});
        Canvas->Polyline(Points);
    }
    for (const TRect& R : Glyph.Rings)
        Canvas->Ellipse(R.Left + DX, R.Top + DY, R.Right + DX, R.Bottom + DY);
}

std::unique_ptr<TBitmap> MakeGlyph(TBitBtnKind Kind) {
    auto Bitmap = std::make_unique<TBitmap>();
    const int Height = Kind == bkAll ? 19 : 18;
    Bitmap->SetSize(36, Height);
    TCanvas* Canvas = Bitmap->Canvas();
    Canvas->Brush()->SetColor(clOlive);
    Canvas->FillRect(Rect(0, 0, 36, Height));
    const TKindGlyph Glyph = KindGlyph(Kind);
    DrawSymbol(Canvas, Glyph, 0, 0, Glyph.Ink);
    // The disabled image: the symbol etched in grey on a white shadow.
    DrawSymbol(Canvas, Glyph, 19, 1, clWhite);
    DrawSymbol(Canvas, Glyph, 18, 0, clGray);
    return Bitmap;
}

} // namespace

const AnsiString& BitBtnCaption(TBitBtnKind Kind) {
    static const std::array<AnsiString, KindCount> Captions{
        "",           SOKButton,    SCancelButton, SHelpButton,   SYesButton, SNoButton,
        SCloseButton, SAbortButton, SRetryButton,  SIgnoreButton, SAllButton};
    return Captions[static_cast<std::size_t>(Ordinal(Kind))];
}

TModalResult BitBtnModalResult(TBitBtnKind Kind) {
    static constexpr std::array<TModalResult, KindCount> Results{
        mrNone, mrOk, mrCancel, mrNone, mrYes, mrNo, mrNone, mrAbort, mrRetry, mrIgnore, mrAll};
    return Results[static_cast<std::size_t>(Ordinal(Kind))];
}

const char* BitBtnResName(TBitBtnKind Kind) {
    static constexpr std::array<const char*, KindCount> Names{
        "",        "BBOK",    "BBCANCEL", "BBHELP",   "BBYES", "BBNO",
        "BBCLOSE", "BBABORT", "BBRETRY",  "BBIGNORE", "BBALL"};
    return Names[static_cast<std::size_t>(Ordinal(Kind))];
}

TBitmap* BitBtnGlyph(TBitBtnKind Kind) {
    static std::array<std::unique_ptr<TBitmap>, KindCount> Glyphs;
    if (Kind == bkCustom) return nullptr;
    auto& Slot = Glyphs[static_cast<std::size_t>(Ordinal(Kind))];
    if (!Slot) Slot = MakeGlyph(Kind);
    return Slot.get();
}

} // namespace components
