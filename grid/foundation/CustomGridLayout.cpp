// The base grid's layout: where the cells lie for the present client size
// and top-left, which cell is under a point, the screen rectangle of a
// block of cells, and repainting blocks of cells. Every walk starts at a
// fixed cell or the top-left and stops at the client edge.
#include "grid/foundation/CustomGrid.h"

#include "platform/gui/WindowScroll.h"

#include <algorithm>

namespace grid {

namespace {

// The start pixel of cell Line on the axis, 0 when it is off screen.
int LinePos(const TGridAxisDrawInfo& Axis, int Line) {
    int Result = 0;
    int Start = 0;
    if (Line >= Axis.FixedCellCount) {
        if (Line >= Axis.FirstGridCell) Result = Axis.FixedBoundary;
        Start = Axis.FirstGridCell;
    }
    for (int I = Start; I < Line; ++I) {
        Result += Axis.GetExtent(I) + Axis.EffectiveLineWidth;
        if (Result > Axis.GridExtent) return 0;
    }
    return Result;
}

// The screen span of cells Min..Max on the axis; false when none of it shows.
bool CalcAxis(const TGridAxisDrawInfo& Axis, int Min, int Max, bool IncludeLine, int& ScreenMin,
              int& ScreenMax) {
    if (Min >= Axis.FixedCellCount && Min < Axis.FirstGridCell) {
        if (Max < Axis.FirstGridCell) return false;
        Min = Axis.FirstGridCell;
    }
    if (Max > Axis.LastFullVisibleCell) {
        Max = Axis.LastFullVisibleCell;
        if (Max < Axis.GridCellCount - 1) ++Max;
        if (LinePos(Axis, Max) == 0) --Max;
    }
    ScreenMin = LinePos(Axis, Min);
    ScreenMax = LinePos(Axis, Max);
    if (ScreenMax == 0)
        ScreenMax = ScreenMin + Axis.GetExtent(Min);
    else
        ScreenMax += Axis.GetExtent(Max);
    if (ScreenMax > Axis.GridExtent) ScreenMax = Axis.GridExtent;
    if (IncludeLine) ScreenMax += Axis.EffectiveLineWidth;
    return true;
}

void CalcFixedAxis(TGridAxisDrawInfo& Axis, const TCustomGrid_ts* Grid, bool Lines, int LineWidth,
                   int FixedCount, int FirstCell, int CellCount, TGetExtentsFunc Extent) {
    Axis.Grid = Grid;
    Axis.GetExtentFunc = Extent;
    Axis.EffectiveLineWidth = Lines ? LineWidth : 0;
    Axis.FixedCellCount = FixedCount;
    Axis.FirstGridCell = FirstCell;
    Axis.GridCellCount = CellCount;
    Axis.FixedBoundary = 0;
    for (int I = 0; I < FixedCount; ++I)
        Axis.FixedBoundary += Axis.GetExtent(I) + Axis.EffectiveLineWidth;
}

void CalcAxisLayout(TGridAxisDrawInfo& Axis, int UseExtent) {
    Axis.GridExtent = UseExtent;
    Axis.GridBoundary = Axis.FixedBoundary;
    Axis.FullVisBoundary = Axis.FixedBoundary;
    Axis.LastFullVisibleCell = Axis.FirstGridCell;
    for (int I = Axis.FirstGridCell; I < Axis.GridCellCount; ++I) {
        Axis.GridBoundary += Axis.GetExtent(I) + Axis.EffectiveLineWidth;
        if (Axis.GridBoundary > Axis.GridExtent + Axis.EffectiveLineWidth) {
            Axis.GridBoundary = Axis.GridExtent;
            break;
        }
        Axis.LastFullVisibleCell = I;
        Axis.FullVisBoundary = Axis.GridBoundary;
    }
}

int CalcMaxCell(const TGridAxisDrawInfo& Axis, int Start) {
    int Result = Start;
    if (Start < Axis.FixedCellCount) return Result;
    int Line = Axis.GridExtent + Axis.EffectiveLineWidth;
    for (int I = Start; I >= Axis.FixedCellCount; --I) {
        const int Extent = Axis.GetExtent(I);
        if (Extent <= 0) continue;
        Line -= Extent + Axis.EffectiveLineWidth;
        if (Line < Axis.FixedBoundary) {
            if (Result == Start && Axis.GetExtent(Start) <= 0) Result = I;
            break;
        }
        Result = I;
    }
    return Result;
}

int CellAt(const TGridAxisDrawInfo& Axis, int N) {
    int Start, End, Line;
    if (N < Axis.FixedBoundary) {
        // Before the fixed boundary only a fixed cell can be hit: a point
        // left of (above) a grid without fixed cells hits nothing.
        Start = 0;
        End = Axis.FixedCellCount;
        Line = 0;
    } else {
        Start = Axis.FirstGridCell;
        End = Axis.GridCellCount;
        Line = Axis.FixedBoundary;
    }
    // Past the client edge there is nothing to find, however many cells follow.
    const int Limit = std::max(N, Axis.GridExtent);
    for (int I = Start; I < End; ++I) {
        Line += Axis.GetExtent(I) + Axis.EffectiveLineWidth;
        if (N < Line) return I;
        if (Line > Limit) break;
    }
    return -1;
}

} // namespace

void TCustomGrid_ts::CalcFixedInfo(TGridDrawInfo& DrawInfo) const {
    const TGridOptions O = FOptions;
    CalcFixedAxis(DrawInfo.Horz, this, O.Contains(goFixedVertLine) || O.Contains(goVertLine),
                  FGridLineWidth, FFixedCols, FTopLeft.X, FColCount, &TCustomGrid_ts::GetColWidths);
    CalcFixedAxis(DrawInfo.Vert, this, O.Contains(goFixedHorzLine) || O.Contains(goHorzLine),
                  FGridLineWidth, FFixedRows, FTopLeft.Y, FRowCount,
                  &TCustomGrid_ts::GetRowHeights);
}

void TCustomGrid_ts::CalcDrawInfo(TGridDrawInfo& DrawInfo) const {
    // One look at the client area for both axes: it asks the frame and the
    // scroll bars each time, and a row added to the grid comes here often.
    const TRect Client = ClientRect();
    CalcDrawInfoXY(DrawInfo, Client.Width(), Client.Height());
}

void TCustomGrid_ts::CalcDrawInfoXY(TGridDrawInfo& DrawInfo, int UseWidth, int UseHeight) const {
    CalcFixedInfo(DrawInfo);
    CalcAxisLayout(DrawInfo.Horz, UseWidth);
    CalcAxisLayout(DrawInfo.Vert, UseHeight);
}

TGridCoord TCustomGrid_ts::CalcMaxTopLeft(const TGridCoord& Coord,
                                          const TGridDrawInfo& DrawInfo) const {
    return TGridCoord{CalcMaxCell(DrawInfo.Horz, Coord.X), CalcMaxCell(DrawInfo.Vert, Coord.Y)};
}

TGridCoord TCustomGrid_ts::CalcCoordFromPoint(int X, int Y, const TGridDrawInfo& DrawInfo) const {
    if (UseRightToLeftAlignment()) X = ClientWidth() - X;
    return TGridCoord{CellAt(DrawInfo.Horz, X), CellAt(DrawInfo.Vert, Y)};
}

TGridCoord TCustomGrid_ts::MouseCoord(int X, int Y) const {
    TGridDrawInfo DrawInfo;
    CalcDrawInfo(DrawInfo);
    TGridCoord Result = CalcCoordFromPoint(X, Y, DrawInfo);
    if (Result.X < 0 || Result.Y < 0) Result = {-1, -1};
    return Result;
}

bool TCustomGrid_ts::RowBelowClient(int Row, TGridAxisDrawInfo& Vert, bool& Laid) const {
    const bool HorzLines = FOptions.Contains(goFixedHorzLine) || FOptions.Contains(goHorzLine);
    TRowsBelow Now;
    Now.TopRow = FTopLeft.Y;
    Now.RowCount = FRowCount;
    Now.FixedRows = FFixedRows;
    Now.LineWidth = HorzLines ? FGridLineWidth : 0;
    Now.DefaultHeight = FDefaultRowHeight;
    Now.ClientHeight = ClientHeight();
    Now.Heights = FRowHeights.Stamp();
    Laid = !FRowsBelow.Matches(Now);
    if (Laid) {
        CalcFixedAxis(Vert, this, HorzLines, FGridLineWidth, FFixedRows, FTopLeft.Y, FRowCount,
                      &TCustomGrid_ts::GetRowHeights);
        CalcAxisLayout(Vert, Now.ClientHeight);
        // The row after the last one wholly shown may show in part; the
        // rows after that start at or past the client's bottom edge.
        Now.First = Vert.LastFullVisibleCell + 2;
        FRowsBelow = Now;
    }
    return Row >= FRowsBelow.First;
}

TRect TCustomGrid_ts::GridRectToScreenRect(const TGridRect& GridRect, bool IncludeLine) const {
    TRect Result;
    if (GridRect.Left > GridRect.Right || GridRect.Top > GridRect.Bottom) return Result;
    TGridDrawInfo DrawInfo;
    // Rows first: a row added below the screen, the usual case, then needs
    // no look at the columns at all, fixed or not.
    bool Laid = false;
    if (RowBelowClient(GridRect.Top, DrawInfo.Vert, Laid)) return Result;
    CalcFixedInfo(DrawInfo);
    if (!Laid) CalcAxisLayout(DrawInfo.Vert, ClientHeight());
    CalcAxisLayout(DrawInfo.Horz, ClientWidth());
    return GridRectToScreenRect(GridRect, IncludeLine, DrawInfo);
}

TRect TCustomGrid_ts::GridRectToScreenRect(const TGridRect& GridRect, bool IncludeLine,
                                           const TGridDrawInfo& DrawInfo) const {
    TRect Result;
    if (GridRect.Left > GridRect.Right || GridRect.Top > GridRect.Bottom) return Result;
    if (GridRect.Top > DrawInfo.Vert.LastFullVisibleCell + 1) return Result;
    if (GridRect.Left > DrawInfo.Horz.LastFullVisibleCell + 1) return Result;
    TRect R;
    if (!CalcAxis(DrawInfo.Horz, GridRect.Left, GridRect.Right, IncludeLine, R.Left, R.Right) ||
        !CalcAxis(DrawInfo.Vert, GridRect.Top, GridRect.Bottom, IncludeLine, R.Top, R.Bottom))
        return Result;
    // While painting, the canvas mirrors by itself.
    if (UseRightToLeftAlignment() && Canvas()->MirrorWidth() == 0) {
        const int W = ClientWidth();
        R = Rect(W - R.Right, R.Top, W - R.Left, R.Bottom);
    }
    return R;
}

TRect TCustomGrid_ts::BoxRect(int ALeft, int ATop, int ARight, int ABottom) const {
    return GridRectToScreenRect(TGridRect{ALeft, ATop, ARight, ABottom}, false);
}

TRect TCustomGrid_ts::CellRect(int ACol, int ARow) const {
    return BoxRect(ACol, ARow, ACol, ARow);
}

int TCustomGrid_ts::VisibleColCount() const {
    TGridDrawInfo DrawInfo;
    CalcDrawInfo(DrawInfo);
    return DrawInfo.Horz.LastFullVisibleCell - FTopLeft.X + 1;
}

int TCustomGrid_ts::VisibleRowCount() const {
    TGridDrawInfo DrawInfo;
    CalcDrawInfo(DrawInfo);
    return DrawInfo.Vert.LastFullVisibleCell - FTopLeft.Y + 1;
}

int TCustomGrid_ts::GridWidth() const {
    TGridDrawInfo DrawInfo;
    CalcDrawInfo(DrawInfo);
    return DrawInfo.Horz.GridBoundary;
}

int TCustomGrid_ts::GridHeight() const {
    TGridDrawInfo DrawInfo;
    CalcDrawInfo(DrawInfo);
    return DrawInfo.Vert.GridBoundary;
}

// ---- repainting ------------------------------------------------------------------------------

void TCustomGrid_ts::InvalidateRect(const TGridRect& ARect) {
    if (!HandleAllocated()) return;
    const TRect R = GridRectToScreenRect(ARect, true);
    if (R.Right > R.Left && R.Bottom > R.Top) ::InvalidateRect(this, &R, false);
}

void TCustomGrid_ts::InvalidateCell(int ACol, int ARow) {
    InvalidateRect(TGridRect{ACol, ARow, ACol, ARow});
}

// A column's cells on screen: the fixed rows and the rows shown (the
// screen rectangle keeps to what is visible).
void TCustomGrid_ts::InvalidateCol(int ACol) {
    if (!HandleAllocated()) return;
    InvalidateRect(TGridRect{ACol, 0, ACol, FRowCount - 1});
}

void TCustomGrid_ts::InvalidateRow(int ARow) {
    if (!HandleAllocated()) return;
    InvalidateRect(TGridRect{0, ARow, FColCount - 1, ARow});
}

void TCustomGrid_ts::InvalidateGrid() {
    Invalidate();
}

namespace {

// The parts of A outside B (at most four bands).
void Subtract(const TRect& A, const TRect& B, std::vector<TRect>& Out) {
    if (A.Right <= A.Left || A.Bottom <= A.Top) return;
    const TRect I{std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right),
                  std::min(A.Bottom, B.Bottom)};
    if (I.Right <= I.Left || I.Bottom <= I.Top) {
        Out.push_back(A);
        return;
    }
    if (A.Top < I.Top) Out.push_back(Rect(A.Left, A.Top, A.Right, I.Top));
    if (I.Bottom < A.Bottom) Out.push_back(Rect(A.Left, I.Bottom, A.Right, A.Bottom));
    if (A.Left < I.Left) Out.push_back(Rect(A.Left, I.Top, I.Left, I.Bottom));
    if (I.Right < A.Right) Out.push_back(Rect(I.Right, I.Top, A.Right, I.Bottom));
}

} // namespace

void TCustomGrid_ts::SelectionMoved(const TGridRect& OldSel) {
    if (!HandleAllocated()) return;
    const TRect OldRect = GridRectToScreenRect(OldSel, true);
    const TRect NewRect = GridRectToScreenRect(Selection(), true);
    if (OldRect == NewRect) return;
    std::vector<TRect> Parts;
    Subtract(OldRect, NewRect, Parts);
    Subtract(NewRect, OldRect, Parts);
    for (const TRect& R : Parts)
        ::InvalidateRect(this, &R, false);
}

} // namespace grid
