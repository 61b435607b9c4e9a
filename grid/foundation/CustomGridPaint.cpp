// Painting the base grid: grid lines, then the four areas of cells (fixed
// corner, fixed rows, fixed columns, data), then what lies beyond the last
// cell. Only the cells from the top-left to the client edge that meet the
// area being painted are drawn.
#include "grid/foundation/CustomGrid.h"

#include "platform/gui/GdiLines.h"

#include <algorithm>

namespace grid {

namespace {

// The canvas draws mirrored for the duration of a right-to-left paint.
class TMirrorGuard {
public:
    TMirrorGuard(TCanvas* Canvas, int Width) : FCanvas(Canvas), FOld(Canvas->MirrorWidth()) {
        Canvas->SetMirrorWidth(Width);
    }
    ~TMirrorGuard() { FCanvas->SetMirrorWidth(FOld); }
    TMirrorGuard(const TMirrorGuard&) = delete;
    TMirrorGuard& operator=(const TMirrorGuard&) = delete;

private:
    TCanvas* FCanvas;
    int FOld;
};

bool Intersects(const TRect& A, const TRect& B) {
    return A.Left < B.Right && B.Left < A.Right && A.Top < B.Bottom && B.Top < A.Bottom;
}

bool InGridRect(int ACol, int ARow, const TGridRect& R) {
    return ACol >= R.Left && ACol <= R.Right && ARow >= R.Top && ARow <= R.Bottom;
}

} // namespace

void TCustomGrid_ts::Paint() {
    const bool RightToLeft = UseRightToLeftAlignment();
    TMirrorGuard Mirror(Canvas(), RightToLeft ? ClientWidth() : 0);

    TGridDrawInfo DrawInfo;
    CalcDrawInfo(DrawInfo);
    const TGridAxisDrawInfo& H = DrawInfo.Horz;
    const TGridAxisDrawInfo& V = DrawInfo.Vert;
    if (H.EffectiveLineWidth > 0 || V.EffectiveLineWidth > 0) DrawLines(DrawInfo);

    const TRect Clip = Canvas()->ClipRect();
    Canvas()->SetFont(Font());
    DrawCells(0, 0, 0, 0, H.FixedBoundary, V.FixedBoundary, FFixedColor, TGridDrawState{gdFixed},
              Clip);
    DrawCells(FTopLeft.X, 0, H.FixedBoundary - FColOffset, 0, H.GridBoundary, V.FixedBoundary,
              FFixedColor, TGridDrawState{gdFixed}, Clip);
    DrawCells(0, FTopLeft.Y, 0, V.FixedBoundary, H.FixedBoundary, V.GridBoundary, FFixedColor,
              TGridDrawState{gdFixed}, Clip);
    DrawCells(FTopLeft.X, FTopLeft.Y, H.FixedBoundary - FColOffset, V.FixedBoundary,
              H.GridBoundary, V.GridBoundary, Color(), TGridDrawState{}, Clip);

    if (FOptions.Contains(goRowSelect) && FDefaultDrawing && !Designing() && Focused()) {
        const TGridRect Sel = Selection();
        const TRect R = BoxRect(Sel.Left, Sel.Top, Sel.Right, Sel.Bottom);
        if (R.Right > R.Left && R.Bottom > R.Top) Canvas()->DrawFocusRect(R);
    }

    // What lies beyond the last column and below the last row.
    Canvas()->Brush()->SetStyle(bsSolid);
    Canvas()->Brush()->SetColor(Color());
    if (H.GridBoundary < H.GridExtent)
        Canvas()->FillRect(Rect(H.GridBoundary, 0, H.GridExtent, V.GridBoundary));
    if (V.GridBoundary < V.GridExtent)
        Canvas()->FillRect(Rect(0, V.GridBoundary, H.GridExtent, V.GridExtent));
}

void TCustomGrid_ts::DrawLines(const TGridDrawInfo& DrawInfo) {
    const TGridAxisDrawInfo& H = DrawInfo.Horz;
    const TGridAxisDrawInfo& V = DrawInfo.Vert;
    const TColor LineColor = ColorToRGB(Color()) == clSilver ? clGray : clSilver;
    const std::size_t MaxStrokes = static_cast<std::size_t>(
        std::max(H.LastFullVisibleCell - FTopLeft.X + FFixedCols,
                 V.LastFullVisibleCell - FTopLeft.Y + FFixedRows) + 3);
    std::vector<TPoint> Points;
    std::vector<int> Counts;
    Points.reserve(MaxStrokes * 2);
    Counts.reserve(MaxStrokes);

    // The lines of one direction across an area: Vertical lines step along
    // the horizontal axis from cell Cell.
    auto AxisLines = [&](const TGridAxisDrawInfo& Axis, bool Vertical, int Cell, const TRect& Area,
                         TColor PenColor) {
        if (Axis.EffectiveLineWidth == 0) return;
        Points.clear();
        Counts.clear();
        const int Start = Vertical ? Area.Left : Area.Top;
        const int Stop = (Vertical ? Area.Right : Area.Bottom) + Axis.EffectiveLineWidth;
        // Mirrored, the canvas already takes a point for the pixel left of
        // it, so the line lands on the mirror of its left-to-right pixel.
        int Line = Start + std::max(Axis.GetExtent(Cell), 0) + Axis.EffectiveLineWidth / 2;
        while (Line <= Stop && Counts.size() < MaxStrokes) {
            if (Vertical) {
                Points.push_back(Point(Line, Area.Top));
                Points.push_back(Point(Line, Area.Bottom));
            } else {
                Points.push_back(Point(Area.Left, Line));
                Points.push_back(Point(Area.Right, Line));
            }
            Counts.push_back(2);
            ++Cell;
            if (Cell >= Axis.GridCellCount) break;
            Line += std::max(Axis.GetExtent(Cell), 0) + Axis.EffectiveLineWidth;
        }
        // A flat-capped solid pen: for a width of 1 the same pixels as the
        // canvas's own pen (the end point left out), drawn as bands.
        const TGeometricPen Pen{PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT | PS_JOIN_MITER,
                                std::max(FGridLineWidth, 1), PenColor};
        PolyPolyline(Canvas(), Points, Counts, &Pen);
    };

    auto AreaLines = [&](const TRect& Area, int Col, int Row, TGridOption HorzOption,
                         TGridOption VertOption, TColor OnColor, TColor OffColor) {
        if (Area.Right <= Area.Left || Area.Bottom <= Area.Top) return;
        const bool DoHorz = FOptions.Contains(HorzOption);
        const bool DoVert = FOptions.Contains(VertOption);
        if (DoHorz) {
            AxisLines(H, true, Col, Area, DoVert ? OnColor : OffColor);
            AxisLines(V, false, Row, Area, DoHorz ? OnColor : OffColor);
        } else {
            AxisLines(V, false, Row, Area, DoHorz ? OnColor : OffColor);
            AxisLines(H, true, Col, Area, DoVert ? OnColor : OffColor);
        }
    };

    AreaLines(Rect(0, 0, H.FixedBoundary, V.FixedBoundary), 0, 0, goFixedHorzLine, goFixedVertLine,
              clBlack, FFixedColor);
    AreaLines(Rect(H.FixedBoundary, 0, H.GridBoundary, V.FixedBoundary), FTopLeft.X, 0,
              goFixedHorzLine, goFixedVertLine, clBlack, FFixedColor);
    AreaLines(Rect(0, V.FixedBoundary, H.FixedBoundary, V.GridBoundary), 0, FTopLeft.Y,
              goFixedHorzLine, goFixedVertLine, clBlack, FFixedColor);
    AreaLines(Rect(H.FixedBoundary, V.FixedBoundary, H.GridBoundary, V.GridBoundary), FTopLeft.X,
              FTopLeft.Y, goHorzLine, goVertLine, LineColor, Color());
}

void TCustomGrid_ts::DrawCells(int ACol, int ARow, int StartX, int StartY, int StopX, int StopY,
                               TColor AreaColor, TGridDrawState IncludeDrawState,
                               const TRect& Clip) {
    const int HorzLine = FOptions.Contains(goFixedVertLine) || FOptions.Contains(goVertLine)
                             ? FGridLineWidth
                             : 0;
    const int VertLine = FOptions.Contains(goFixedHorzLine) || FOptions.Contains(goHorzLine)
                             ? FGridLineWidth
                             : 0;
    // The raised edges of fixed cells, drawn where their lines are asked for.
    unsigned FrameFlags1 = 0, FrameFlags2 = 0;
    if (FOptions.Contains(goFixedVertLine)) {
        FrameFlags1 = BF_RIGHT;
        FrameFlags2 = BF_LEFT;
    }
    if (FOptions.Contains(goFixedHorzLine)) {
        FrameFlags1 |= BF_BOTTOM;
        FrameFlags2 |= BF_TOP;
    }
    const bool Focused = IsActiveControl();
    const TGridRect Sel = Selection();
    const bool Design = Designing();
    const TColor TextColor = Font()->Color();
    TCanvas* C = Canvas();

    int CurRow = ARow;
    TRect Where;
    Where.Top = StartY;
    while (Where.Top < StopY && CurRow < FRowCount) {
        int CurCol = ACol;
        Where.Left = StartX;
        Where.Bottom = Where.Top + GetRowHeights(CurRow);
        while (Where.Left < StopX && CurCol < FColCount) {
            Where.Right = Where.Left + GetColWidths(CurCol);
            if (Where.Right > Where.Left && Intersects(Where, Clip)) {
                TGridDrawState State = IncludeDrawState;
                if (Focused && CurRow == FCurrent.Y && CurCol == FCurrent.X) State << gdFocused;
                if (InGridRect(CurCol, CurRow, Sel)) State << gdSelected;
                const bool UnderEditor = State.Contains(gdFocused) &&
                                         FOptions.Contains(goEditing) && FEditorMode && !Design;
                if (!UnderEditor) {
                    if (FDefaultDrawing || Design) {
                        C->Brush()->SetStyle(bsSolid);
                        if (State.Contains(gdSelected) &&
                            (!State.Contains(gdFocused) || FOptions.Contains(goDrawFocusSelected) ||
                             FOptions.Contains(goRowSelect))) {
                            C->Brush()->SetColor(clHighlight);
                            C->Font()->SetColor(clHighlightText);
                        } else {
                            C->Brush()->SetColor(AreaColor);
                            C->Font()->SetColor(TextColor);
                        }
                        C->FillRect(Where);
                    }
                    DrawCell(CurCol, CurRow, Where, State);
                    if (FDefaultDrawing && FCtl3D && State.Contains(gdFixed) &&
                        (FrameFlags1 | FrameFlags2) != 0) {
                        TRect Edge = Where;
                        if ((FrameFlags1 & BF_RIGHT) == 0)
                            Edge.Right += HorzLine;
                        else if ((FrameFlags1 & BF_BOTTOM) == 0)
                            Edge.Bottom += VertLine;
                        TRect First = Edge, Second = Edge;
                        DrawEdge(C, First, BDR_RAISEDINNER, FrameFlags1);
                        DrawEdge(C, Second, BDR_RAISEDINNER, FrameFlags2);
                    }
                    if (FDefaultDrawing && !Design && State.Contains(gdFocused) &&
                        !(FOptions.Contains(goEditing) && FOptions.Contains(goAlwaysShowEditor)) &&
                        !FOptions.Contains(goRowSelect))
                        C->DrawFocusRect(Where);
                }
            }
            Where.Left = Where.Right + HorzLine;
            ++CurCol;
        }
        Where.Top = Where.Bottom + VertLine;
        ++CurRow;
    }
}

} // namespace grid
