#pragma once
// Line drawing beyond the canvas's own: many polylines in one call, pens
// with a geometric width, end caps and joins, and the 3-D edges of
// buttons and fixed cells.
#include "platform/gui/Graphics.h"

#include <vector>

// Pen style bits of a geometric pen (the drawing layer's numbers).
inline constexpr unsigned PS_SOLID = 0x00000000;
inline constexpr unsigned PS_ENDCAP_ROUND = 0x00000000;
inline constexpr unsigned PS_ENDCAP_SQUARE = 0x00000100;
inline constexpr unsigned PS_ENDCAP_FLAT = 0x00000200;
inline constexpr unsigned PS_JOIN_ROUND = 0x00000000;
inline constexpr unsigned PS_JOIN_BEVEL = 0x00001000;
inline constexpr unsigned PS_JOIN_MITER = 0x00002000;
inline constexpr unsigned PS_COSMETIC = 0x00000000;
inline constexpr unsigned PS_GEOMETRIC = 0x00010000;
inline constexpr unsigned PS_ENDCAP_MASK = 0x00000F00;
inline constexpr unsigned PS_JOIN_MASK = 0x0000F000;

// A solid geometric pen: Width pixels wide, its ends cut by the end cap
// (flat: at the end point; square: half the width beyond it; round: a half
// disc) and its corners by the join.
struct TGeometricPen {
    unsigned Style = PS_GEOMETRIC | PS_ENDCAP_FLAT | PS_JOIN_MITER;
    int Width = 1;
    TColor Color = clBlack;
};

// Draws Counts.size() polylines, the i-th made of the next Counts[i]
// points, with the canvas's pen (Pen nullptr) or the geometric pen. A
// polyline of fewer than two points draws nothing.
void PolyPolyline(TCanvas* Canvas, const std::vector<TPoint>& Points,
                  const std::vector<int>& Counts, const TGeometricPen* Pen = nullptr);

// Edge kinds and the sides to draw, as the drawing layer numbers them.
inline constexpr unsigned BDR_RAISEDOUTER = 0x0001;
inline constexpr unsigned BDR_SUNKENOUTER = 0x0002;
inline constexpr unsigned BDR_RAISEDINNER = 0x0004;
inline constexpr unsigned BDR_SUNKENINNER = 0x0008;
inline constexpr unsigned BDR_OUTER = 0x0003;
inline constexpr unsigned BDR_INNER = 0x000C;
inline constexpr unsigned EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER;
inline constexpr unsigned EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER;
inline constexpr unsigned EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER;
inline constexpr unsigned EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER;
inline constexpr unsigned BF_LEFT = 0x0001;
inline constexpr unsigned BF_TOP = 0x0002;
inline constexpr unsigned BF_RIGHT = 0x0004;
inline constexpr unsigned BF_BOTTOM = 0x0008;
inline constexpr unsigned BF_TOPLEFT = BF_TOP | BF_LEFT;
inline constexpr unsigned BF_BOTTOMRIGHT = BF_BOTTOM | BF_RIGHT;
inline constexpr unsigned BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM;
inline constexpr unsigned BF_MIDDLE = 0x0800;
inline constexpr unsigned BF_ADJUST = 0x2000;
inline constexpr unsigned BF_MONO = 0x8000;

// Draws the outer, then the inner one-pixel edge of Edge along the sides
// in Flags: raised edges light at the top and left and dark at the bottom
// and right, sunken ones the other way round. BF_MONO draws them flat
// instead, raised or sunken alike: the outer edge all in clWindowFrame, the
// inner all in clWindow. BF_MIDDLE fills what is inside with clBtnFace;
// BF_ADJUST shrinks R by the edges drawn.
bool DrawEdge(TCanvas* Canvas, TRect& R, unsigned Edge, unsigned Flags);
