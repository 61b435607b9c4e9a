// The shared strip of check-box images: three looks, three states each,
// and a pressed copy of every image.
#include "grid/model/CheckBox.h"

#include "platform/gui/GdiLines.h"

namespace grid {

namespace {

constexpr int S = gxCheckImageSize;

void Line(TCanvas* C, int X1, int Y1, int X2, int Y2) {
    C->MoveTo(X1, Y1);
    C->LineTo(X2, Y2);
}

TRect Shrunk(const TRect& R, int By) {
    return Rect(R.Left + By, R.Top + By, R.Right - By, R.Bottom - By);
}

void Edge(TCanvas* C, TRect R, unsigned Kind, unsigned Flags) {
    DrawEdge(C, R, Kind, Flags);
}

// The 3D looks sit in a sunken edge; the flat looks draw theirs mono: a
// raised outer edge is a black frame, a sunken one a black frame with a
// white ring inside.
void SunkenEdge(TCanvas* C, const TRect& R) {
    Edge(C, R, EDGE_SUNKEN, BF_RECT);
}

void MonoRaisedOuter(TCanvas* C, const TRect& R) {
    Edge(C, R, BDR_RAISEDOUTER, BF_RECT | BF_MONO);
}

void MonoSunken(TCanvas* C, const TRect& R) {
    Edge(C, R, EDGE_SUNKEN, BF_RECT | BF_MONO);
}

void Win95Tick(TCanvas* C, int L, int T, int R, int B) {
    const int Strokes[3][3] = {{3, 4, 0}, {4, 3, 1}, {5, 2, 2}};
    for (const auto& K : Strokes) {
        C->MoveTo(L + 1, T + K[0]);
        C->LineTo(R - 6, B - K[1]);
        C->LineTo(R - 1, T + K[2]);
    }
}

void DrawImage(TCanvas* C, int Index) {
    const TRect Cell = Rect(0, Index * S, S, Index * S + S);
    C->Pen()->SetColor(clBlack);
    C->Pen()->SetWidth(1);
    C->Pen()->SetStyle(psSolid);
    C->Brush()->SetColor(clWhite);
    C->FillRect(Cell);
    if (Index < 6) {
        SunkenEdge(C, Cell);
        const TRect In = Shrunk(Cell, 2);
        C->Brush()->SetColor(clWhite);
        C->FillRect(In);
        const int L = In.Left, T = In.Top, R = In.Right, B = In.Bottom;
        switch (Index) {
        case 0: // WinNT checked: a cross of three-pixel strokes
            Line(C, L + 1, T + 1, R - 1, B - 1);
            Line(C, L + 2, T + 1, R - 1, B - 2);
            Line(C, L + 1, T + 2, R - 2, B - 1);
            Line(C, R - 2, T + 1, L, B - 1);
            Line(C, R - 3, T + 1, L, B - 2);
            Line(C, R - 2, T + 2, L + 1, B - 1);
            break;
        case 2: // WinNT grayed: black hatching
            Line(C, L + 1, T + 1, R - 1, B - 1);
            for (int I = 0; I <= 3; ++I) {
                Line(C, L + 2 * I + 1, T + 1, R - 1, B - 2 * I - 1);
                Line(C, L + 1, T + 2 * I + 1, R - 2 * I - 1, B - 1);
            }
            break;
        case 3:
            Win95Tick(C, L, T, R, B);
            break;
        case 5: // Win95 grayed: silver hatching under a grey tick
            C->Pen()->SetColor(clSilver);
            for (int I = 0; I <= 4; ++I) {
                Line(C, L + 2 * I + 1, T, R, B - 2 * I - 1);
                Line(C, L, T + 2 * I + 1, R - 2 * I - 1, B);
            }
            C->Pen()->SetColor(clGray);
            Win95Tick(C, L, T, R, B);
            break;
        default: // unchecked: the edge and the white inside only
            break;
        }
        return;
    }
    const int L = Cell.Left, T = Cell.Top, R = Cell.Right, B = Cell.Bottom;
    switch (Index) {
    case 6: // flat checked: a raised frame and an X
        MonoRaisedOuter(C, Cell);
        C->Pen()->SetColor(clBlack);
        Line(C, L, T, R - 1, B - 1);
        Line(C, L, B - 1, R - 1, T);
        break;
    case 7:
        MonoSunken(C, Cell);
        break;
    case 8: // flat grayed: sunken frame and black hatching
        MonoSunken(C, Cell);
        C->Pen()->SetColor(clBlack);
        for (int I = 0; I <= 5; ++I) {
            Line(C, L + 2 * I + 1, T, R, B - 2 * I - 1);
            Line(C, L, T + 2 * I + 1, R - 2 * I - 1, B);
        }
        break;
    default:
        break;
    }
}

std::unique_ptr<TBitmap> BuildStrip() {
    auto Strip = std::make_unique<TBitmap>();
    Strip->SetPixelFormat(pf32bit);
    Strip->SetSize(S, 18 * S);
    TCanvas* C = Strip->Canvas();
    for (int Index = 0; Index < 9; ++Index)
        DrawImage(C, Index);
    // Pressed copies: the 3D looks turn their white silver; the flat looks
    // get a raised frame over them.
    for (int Index = 0; Index < 9; ++Index) {
        const TRect From = Rect(0, Index * S, S, Index * S + S);
        const TRect To = Rect(0, (Index + 9) * S, S, (Index + 9) * S + S);
        if (Index < 6) {
            C->Brush()->SetColor(clSilver);
            C->BrushCopy(To, Strip.get(), From, clWhite);
        } else {
            C->SetCopyMode(cmSrcCopy);
            C->CopyRect(To, C, From);
            MonoRaisedOuter(C, To);
        }
    }
    return Strip;
}

} // namespace

TBitmap* CheckBoxImageStrip() {
    // Built by the first check box and kept for the program's life.
    static const std::unique_ptr<TBitmap> Strip = BuildStrip();
    return Strip.get();
}

} // namespace grid
