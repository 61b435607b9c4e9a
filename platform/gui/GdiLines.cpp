#include "platform/gui/GdiLines.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// Saves the canvas's pen and brush and puts them back.
class TToolsKeeper {
public:
    explicit TToolsKeeper(TCanvas* Canvas) : FCanvas(Canvas) {
        FPen.Assign(Canvas->Pen());
        FBrush.Assign(Canvas->Brush());
    }
    ~TToolsKeeper() {
        FCanvas->Pen()->Assign(&FPen);
        FCanvas->Brush()->Assign(&FBrush);
    }
    TToolsKeeper(const TToolsKeeper&) = delete;
    TToolsKeeper& operator=(const TToolsKeeper&) = delete;

private:
    TCanvas* FCanvas;
    TPen FPen;
    TBrush FBrush;
};

// One segment of a geometric pen. An axis-aligned segment (all a grid
// draws) is a filled band; any other is the band's polygon.
void GeometricSegment(TCanvas* Canvas, TPoint A, TPoint B, const TGeometricPen& Pen) {
    const int W = std::max(Pen.Width, 1);
    const int Before = W / 2, After = W - Before;
    const unsigned Cap = Pen.Style & PS_ENDCAP_MASK;
    const int Extend = Cap == PS_ENDCAP_FLAT ? 0 : Before;
    if (A.Y == B.Y) {
        const int L = std::min(A.X, B.X) - Extend, R = std::max(A.X, B.X) + Extend;
        Canvas->FillRect(Rect(L, A.Y - Before, R, A.Y + After));
        return;
    }
    if (A.X == B.X) {
        const int T = std::min(A.Y, B.Y) - Extend, Bm = std::max(A.Y, B.Y) + Extend;
        Canvas->FillRect(Rect(A.X - Before, T, A.X + After, Bm));
        return;
    }
    // A slanted band: offset both ends across the direction of travel.
    const double DX = B.X - A.X, DY = B.Y - A.Y;
    const double Len = std::sqrt(DX * DX + DY * DY);
    const double NX = -DY / Len * W / 2.0, NY = DX / Len * W / 2.0;
    const double EX = DX / Len * Extend, EY = DY / Len * Extend;
    auto P = [](double X, double Y) { return Point(static_cast<int>(std::lround(X)), static_cast<int>(std::lround(Y))); };
    Canvas->Polygon({P(A.X - EX + NX, A.Y - EY + NY), P(B.X + EX + NX, B.Y + EY + NY),
                     P(B.X + EX - NX, B.Y + EY - NY), P(A.X - EX - NX, A.Y - EY - NY)});
}

} // namespace

void PolyPolyline(TCanvas* Canvas, const std::vector<TPoint>& Points,
                  const std::vector<int>& Counts, const TGeometricPen* Pen) {
    if (!Canvas) return;
    std::size_t First = 0;
    if (!Pen || (Pen->Style & PS_GEOMETRIC) == 0) {
        for (int Count : Counts) {
            if (Count < 0 || First + static_cast<std::size_t>(Count) > Points.size()) return;
            if (Count >= 2)
                Canvas->Polyline(std::vector<TPoint>(Points.begin() + static_cast<long>(First),
                                                     Points.begin() + static_cast<long>(First) + Count));
            First += static_cast<std::size_t>(Count);
        }
        return;
    }
    TToolsKeeper Keep(Canvas);
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(Pen->Color);
    Canvas->Pen()->SetStyle(psSolid);
    Canvas->Pen()->SetMode(pmCopy);
    Canvas->Pen()->SetWidth(1);
    Canvas->Pen()->SetColor(Pen->Color);
    for (int Count : Counts) {
        if (Count < 0 || First + static_cast<std::size_t>(Count) > Points.size()) return;
        for (int I = 1; I < Count; ++I)
            GeometricSegment(Canvas, Points[First + I - 1], Points[First + I], *Pen);
        First += static_cast<std::size_t>(Count);
    }
}

bool DrawEdge(TCanvas* Canvas, TRect& R, unsigned Edge, unsigned Flags) {
    if (!Canvas) return false;
    TToolsKeeper Keep(Canvas);
    Canvas->Brush()->SetStyle(bsSolid);
    TRect Box = R;
    // Outer edge first, then the inner one inside it.
    struct TRing {
        unsigned Raised, Sunken;
        TColor RaisedLight, RaisedDark, SunkenLight, SunkenDark;
    };
    const TRing Rings[2] = {
        {BDR_RAISEDOUTER, BDR_SUNKENOUTER, cl3DLight, cl3DDkShadow, clBtnShadow, clBtnHighlight},
        {BDR_RAISEDINNER, BDR_SUNKENINNER, clBtnHighlight, clBtnShadow, cl3DDkShadow, cl3DLight}};
    for (const TRing& Ring : Rings) {
        TColor TopLeft, BottomRight;
        if (Edge & Ring.Raised) {
            TopLeft = Ring.RaisedLight;
            BottomRight = Ring.RaisedDark;
        } else if (Edge & Ring.Sunken) {
            TopLeft = Ring.SunkenLight;
            BottomRight = Ring.SunkenDark;
        } else {
            continue;
        }
        if (Flags & BF_MONO) TopLeft = BottomRight = &Ring == &Rings[0] ? clWindowFrame : clWindow;
        if (Box.Width() <= 0 || Box.Height() <= 0) break;
        if (Flags & BF_BOTTOM) {
            Canvas->Brush()->SetColor(BottomRight);
            Canvas->FillRect(Rect(Box.Left, Box.Bottom - 1, Box.Right, Box.Bottom));
        }
        if (Flags & BF_RIGHT) {
            Canvas->Brush()->SetColor(BottomRight);
            Canvas->FillRect(Rect(Box.Right - 1, Box.Top, Box.Right, Box.Bottom));
        }
        if (Flags & BF_TOP) {
            Canvas->Brush()->SetColor(TopLeft);
            Canvas->FillRect(Rect(Box.Left, Box.Top, Box.Right - ((Flags & BF_RIGHT) ? 1 : 0), Box.Top + 1));
        }
        if (Flags & BF_LEFT) {
            Canvas->Brush()->SetColor(TopLeft);
            Canvas->FillRect(Rect(Box.Left, Box.Top, Box.Left + 1, Box.Bottom - ((Flags & BF_BOTTOM) ? 1 : 0)));
        }
        if (Flags & BF_LEFT) ++Box.Left;
        if (Flags & BF_TOP) ++Box.Top;
        if (Flags & BF_RIGHT) --Box.Right;
        if (Flags & BF_BOTTOM) --Box.Bottom;
    }
    if ((Flags & BF_MIDDLE) && Box.Width() > 0 && Box.Height() > 0) {
        Canvas->Brush()->SetColor(clBtnFace);
        Canvas->FillRect(Box);
    }
    if (Flags & BF_ADJUST) R = Box;
    return true;
}
