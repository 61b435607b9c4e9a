// The top of the grid's painting: lines, then every cell that meets the
// clip rectangle (fixed rows and columns first, then the scrolling ones
// from the top-left cell on, walking the lists of visible rows and
// columns), then the empty area beyond the last column and row.
#include "grid/model/BaseGrid.h"
#include "grid/model/DrawData.h"
#include "grid/view/GridResources.h"
#include "platform/gui/GraphicsTextRun.h"

#include <algorithm>

namespace grid {

namespace {

int ListPosition(const TgxVisibleItems& Items, int Position) {
    bool Found = false;
    return const_cast<TgxVisibleItems&>(Items).Locate(Position, Found);
}

} // namespace

void TgxBaseGrid::Paint() {
    FPainting = true;
    FLastPaintFont = nullptr;
    FPaintClient = ClientRect();
    try {
        PaintGrid();
        DoPaint();
    } catch (...) {
        FPainting = false;
        FPaintRow = FPaintCol = -1;
        // A failed paint still leaves the scroll bars right for the rows there are.
        UpdatePendingScrollBars();
        throw;
    }
    FPainting = false;
    FPaintRow = FPaintCol = -1;
    FPaintedOnce = true;
    UpdatePendingScrollBars();
}

void TgxBaseGrid::UpdatePendingScrollBars() {
    if (FScrollRangePending) UpdateScrollRange();
    if (FScrollPosPending) UpdateScrollPos();
}

void TgxBaseGrid::PaintGrid() {
    TRect Clip = Canvas()->ClipRect();
    Clip.Left = std::max(Clip.Left, 0);
    Clip.Top = std::max(Clip.Top, 0);
    Clip.Right = std::min(Clip.Right, ClientWidth());
    Clip.Bottom = std::min(Clip.Bottom, ClientHeight());
    const int FirstCol = ListPosition(FVisibleCols, LeftCol());
    const int FirstRow = ListPosition(FVisibleRows, TopRow());
    int Right = 0;
    int Bottom = 0;
    DrawGridLines(Clip, FirstCol, FirstRow);
    {
        const TCanvasTextRun Texts(Canvas());
        DrawCells(Clip, FirstCol, Right, Bottom, FirstRow);
    }
    DrawEmptyArea(Right, Bottom);
}

void TgxBaseGrid::DrawCells(const TRect& Clip, int FirstCol, int& Right, int& Bottom,
                            int FirstRow) {
    Right = ClientWidth() + 1;
    Bottom = ClientHeight() + 1;
    int Y = 0;
    for (int R = 0; R < FixedRows() && Y < Clip.Bottom; ++R) {
        const int H = RowHeights(R);
        if (H > 0 && Y + H > Clip.Top) DrawRowCells(R, Y, Right, FirstCol, Clip);
        Y += H;
    }
    int K = FirstRow;
    for (; Y < Clip.Bottom && K <= FVisibleRows.VisibleCount(); ++K) {
        const int R = FVisibleRows.GetItem(K);
        if (R >= RowCount()) {
            K = FVisibleRows.VisibleCount() + 1;
            break;
        }
        const int H = RowHeights(R);
        if (Y + H > Clip.Top) DrawRowCells(R, Y, Right, FirstCol, Clip);
        Y += H;
    }
    if (K > FVisibleRows.VisibleCount() && Y < Bottom) Bottom = Y;
}

void TgxBaseGrid::DrawRowCells(int DisplayRow, int Y, int& Right, int FirstCol, const TRect& Clip) {
    const int H = RowHeights(DisplayRow);
    FPaintRow = DisplayRow;
    FPaintRowTop = Y;
    int X = 0;
    for (int C = 0; C < FixedCols() && X < Clip.Right; ++C) {
        const int W = ColWidths(C);
        FPaintCol = C;
        FPaintColLeft = X;
        if (W > 0 && X + W > Clip.Left)
            DoDrawCell(C, DisplayRow, CellPaintSelected(C, DisplayRow), Rect(X, Y, X + W, Y + H));
        X += W;
    }
    int K = FirstCol;
    for (; X < Clip.Right && K <= FVisibleCols.VisibleCount(); ++K) {
        const int C = FVisibleCols.GetItem(K);
        if (C >= ColCount()) {
            K = FVisibleCols.VisibleCount() + 1;
            break;
        }
        const int W = ColWidths(C);
        FPaintCol = C;
        FPaintColLeft = X;
        if (X + W > Clip.Left)
            DoDrawCell(C, DisplayRow, CellPaintSelected(C, DisplayRow), Rect(X, Y, X + W, Y + H));
        X += W;
    }
    FPaintRow = FPaintCol = -1;
    if (K > FVisibleCols.VisibleCount() && X < Right) Right = X;
}

void TgxBaseGrid::DrawEmptyArea(int Right, int Bottom) {
    TCanvas* C = Canvas();
    if (Right >= ClientWidth() && Bottom >= ClientHeight()) return;
    C->Brush()->SetStyle(bsSolid);
    if (C->Brush()->Color() != Color()) C->Brush()->SetColor(Color());
    if (Right < ClientWidth()) C->FillRect(Rect(Right, 0, ClientWidth(), Bottom));
    if (Bottom < ClientHeight()) C->FillRect(Rect(0, Bottom, ClientWidth(), ClientHeight()));
}

// ---- grid lines --------------------------------------------------------------------------------

namespace {

// Collects a line in runs of one colour and one raised setting.
struct TLineRuns {
    TCanvas* Canvas;
    bool Horizontal;
    int Fixed; // the line's own coordinate
    bool LinesOn;
    int Start = -1;
    TColor RunColor = clNone;
    bool Run3D = false;
    void Add(int From, int To, TColor Color, bool Is3D) {
        if (Start >= 0 && (Color != RunColor || Is3D != Run3D)) Flush(From);
        if (Start < 0) {
            Start = From;
            RunColor = Color;
            Run3D = Is3D;
        }
        End = To;
    }
    void Flush(int At) {
        if (Start >= 0 && (Run3D || LinesOn) && At > Start) {
            Canvas->Pen()->SetColor(RunColor);
            if (Horizontal) {
                Canvas->MoveTo(Start, Fixed);
                Canvas->LineTo(At, Fixed);
            } else {
                Canvas->MoveTo(Fixed, Start);
                Canvas->LineTo(Fixed, At);
            }
        }
        Start = -1;
    }
    void Finish() { Flush(End); }
    int End = 0;
};

} // namespace

void TgxBaseGrid::DrawGridLines(const TRect& Clip, int FirstCol, int FirstRow) {
    TCanvas* C = Canvas();
    C->Pen()->SetStyle(psSolid);
    C->Pen()->SetMode(pmCopy);
    C->Pen()->SetWidth(1);
    C->Pen()->SetColor(FLineColor);
    const bool HorzOn = FGridLines == glHorzLines || FGridLines == glBoth;
    const bool VertOn = FGridLines == glVertLines || FGridLines == glBoth;
    const TColor FixedColor = FFixedLineColor;

    // The columns (rows) on screen after the row bar (heading), with their edges.
    struct TSpan {
        int Index;
        int From;
        int To;
    };
    std::vector<TSpan> Cols;
    int X = ColWidths(0);
    for (int D = 1; D < FixedCols() && X < ClientWidth(); ++D) {
        Cols.push_back({D, X, X + ColWidths(D)});
        X += ColWidths(D);
    }
    for (int K = FirstCol; K <= FVisibleCols.VisibleCount() && X < ClientWidth(); ++K) {
        const int D = FVisibleCols.GetItem(K);
        if (D >= ColCount()) break;
        Cols.push_back({D, X, std::min(X + ColWidths(D), ClientWidth())});
        X += ColWidths(D);
    }
    std::vector<TSpan> Rows;
    int Y = RowHeights(0);
    for (int D = 1; D < FixedRows() && Y < ClientHeight(); ++D) {
        Rows.push_back({D, Y, Y + RowHeights(D)});
        Y += RowHeights(D);
    }
    for (int K = FirstRow; K <= FVisibleRows.VisibleCount() && Y < ClientHeight(); ++K) {
        const int D = FVisibleRows.GetItem(K);
        if (D >= RowCount()) break;
        Rows.push_back({D, Y, std::min(Y + RowHeights(D), ClientHeight())});
        Y += RowHeights(D);
    }
    // The fixed area's boundary is its last row (column) on screen: a
    // hidden last fixed row hands its line to the one above.
    int LastFixedRow = -1;
    for (int D = FixedRows() - 1; D >= 1 && LastFixedRow < 0; --D)
        if (RowHeights(D) > 0) LastFixedRow = D;
    int LastFixedCol = -1;
    for (int D = FixedCols() - 1; D >= 1 && LastFixedCol < 0; --D)
        if (ColWidths(D) > 0) LastFixedCol = D;
    // Whether each cell on screen is raised, asked once for both passes.
    std::vector<char> Raised(Rows.size() * Cols.size(), -1);
    const auto Is3DAt = [&](std::size_t RowAt, std::size_t ColAt) {
        char& Known = Raised[RowAt * Cols.size() + ColAt];
        if (Known < 0)
            Known = GiveCell3D(GetDataCol(Cols[ColAt].Index), GetDataRow(Rows[RowAt].Index));
        return Known != 0;
    };

    for (std::size_t RowAt = 0; RowAt < Rows.size(); ++RowAt) {
        const TSpan& R = Rows[RowAt];
        if (R.To - R.From <= 0 || R.To - 1 < Clip.Top || R.To - 1 > Clip.Bottom) continue;
        const bool FixedLine = R.Index == LastFixedRow && FixedColor != clNone && HorzOn;
        TLineRuns Runs{C, true, R.To - 1, HorzOn};
        for (std::size_t ColAt = 0; ColAt < Cols.size(); ++ColAt) {
            const TSpan& Col = Cols[ColAt];
            const bool Is3D = !FixedLine && Is3DAt(RowAt, ColAt);
            Runs.Add(Col.From, Col.To, FixedLine ? FixedColor : Is3D ? clGray : FLineColor, Is3D);
        }
        Runs.Finish();
    }
    for (std::size_t ColAt = 0; ColAt < Cols.size(); ++ColAt) {
        const TSpan& Col = Cols[ColAt];
        if (Col.To - Col.From <= 0 || Col.To - 1 < Clip.Left || Col.To - 1 > Clip.Right) continue;
        const bool FixedLine = Col.Index == LastFixedCol && FixedColor != clNone && VertOn;
        TLineRuns Runs{C, false, Col.To - 1, VertOn};
        for (std::size_t RowAt = 0; RowAt < Rows.size(); ++RowAt) {
            const TSpan& R = Rows[RowAt];
            const bool Is3D = !FixedLine && Is3DAt(RowAt, ColAt);
            Runs.Add(R.From, R.To, FixedLine ? FixedColor : Is3D ? clGray : FLineColor, Is3D);
        }
        Runs.Finish();
    }
}

// ---- selection state while painting -------------------------------------------------------------

bool TgxBaseGrid::CellPaintSelected(int DisplayCol, int DisplayRow) const {
    return IsCellSelected(DisplayCol, DisplayRow);
}

bool TgxBaseGrid::SelectionColorEnabled() const {
    if (FSelectionType == sltDefault)
        if (const TgxBaseGrid* Parent = GetParentGrid()) return Parent->SelectionColorEnabled();
    return FSelectionType == sltColor && FSelectionColor != clNone;
}

} // namespace grid
