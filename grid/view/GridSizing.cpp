// Resize zones: which column or row boundary lies under the mouse, the
// dotted line that follows the mouse while a boundary is dragged, and the
// new width or height applied on release.
#include "grid/model/BaseGrid.h"
#include "grid/model/Columns.h"
#include "grid/model/GridGuards.h"
#include "grid/model/Rows.h"

#include <algorithm>

namespace grid {

namespace {

bool IsRowResize(TgxMouseStatus S) {
    return S == msRowResize || S == msHeadingResize;
}
bool IsColResize(TgxMouseStatus S) {
    return S == msColResize || S == msRowBarResize;
}

// Saves the canvas's pen and brush colour and puts them back.
class TPenKeeper {
public:
    explicit TPenKeeper(TCanvas* Canvas) : FCanvas(Canvas), FBrush(Canvas->Brush()->Color()) {
        FPen.Assign(Canvas->Pen());
    }
    ~TPenKeeper() {
        FCanvas->Pen()->Assign(&FPen);
        FCanvas->Brush()->SetColor(FBrush);
    }
    TPenKeeper(const TPenKeeper&) = delete;
    TPenKeeper& operator=(const TPenKeeper&) = delete;

private:
    TCanvas* FCanvas;
    TPen FPen;
    TColor FBrush;
};

} // namespace

// ---- the boundaries tested ---------------------------------------------------------------------

int TgxBaseGrid::NextSizingCol(int DisplayCol) const {
    // Fixed columns first, then the scrollable ones from the left column on:
    // a column scrolled out to the left has no boundary on screen.
    const auto NextVisible = [this](int From) {
        for (int D = std::max(From + 1, 1); D <= GetGridColCount(); ++D)
            if (FCols->Item(GetDataCol(D))->Visible()) return D;
        return -1;
    };
    const int LastFixed = FixedCols() - 1;
    if (DisplayCol < LastFixed) {
        const int Next = NextVisible(DisplayCol);
        if (Next >= 0 && Next <= LastFixed) return Next;
    }
    if (DisplayCol <= LastFixed) return NextVisible(std::max(LeftCol(), FixedCols()) - 1);
    return NextVisible(DisplayCol);
}

int TgxBaseGrid::NextSizingRow(int DisplayRow) const {
    const auto NextVisible = [this](int From) {
        for (int D = std::max(From + 1, 1); D <= GetGridRowCount(); ++D)
            if (RowObjectShown(GetDataRow(D))) return D;
        return -1;
    };
    const int LastFixed = FixedRows() - 1;
    if (DisplayRow < LastFixed) {
        const int Next = NextVisible(DisplayRow);
        if (Next >= 0 && Next <= LastFixed) return Next;
    }
    if (DisplayRow <= LastFixed) return NextVisible(std::max(TopRow(), FixedRows()) - 1);
    return NextVisible(DisplayRow);
}

// ---- hit tests ---------------------------------------------------------------------------------

void TgxBaseGrid::CalcColSizingState(int X, TgxMouseStatus& Status) {
    if (FResizeCols == rcNone) return;
    int C = GetRowBarOn() ? 0 : NextSizingCol(0);
    if (C < 0) return;
    int Edge = ColWidths(C) - 1;
    const int Width = ClientWidth();
    while (Edge - 2 < Width) {
        // A band of four pixels: two left of the line, the line, one right.
        if (Edge - 2 <= X && X <= Edge + 1) {
            FMouseSizingIndex = C;
            FSizingLinePos = Edge;
            FSizingOffset = Edge - X;
            Status = C == 0 ? msRowBarResize : msColResize;
            return;
        }
        C = NextSizingCol(C);
        if (C < 0) return;
        Edge += ColWidths(C);
    }
}

void TgxBaseGrid::CalcRowSizingState(int Y, TgxMouseStatus& Status) {
    if (FResizeRows == rrNone) return;
    int R = GetHeadingOn() ? 0 : NextSizingRow(0);
    if (R < 0) return;
    int Edge = RowHeights(R) - 1;
    const int Height = ClientHeight();
    while (Edge - 2 < Height) {
        // Rows get a band of five pixels: two either side of the line.
        if (Edge - 2 <= Y && Y <= Edge + 2) {
            FMouseSizingIndex = R;
            FSizingLinePos = Edge;
            FSizingOffset = Edge - Y;
            Status = R == 0 ? msHeadingResize : msRowResize;
            return;
        }
        R = NextSizingRow(R);
        if (R < 0) return;
        Edge += RowHeights(R);
    }
}

bool TgxBaseGrid::RowBarSizingArea(int X) const {
    return X >= ColWidths(0) - 3;
}

bool TgxBaseGrid::HeadingSizingArea(int Y) const {
    return Y >= RowHeights(0) - 3;
}

TgxMouseStatus TgxBaseGrid::GetSizingState(int X, int Y, int DisplayRow, int DisplayCol) {
    TgxMouseStatus Status = msNormal;
    // Row boundaries win over column boundaries where both are near.
    if ((DisplayCol == 0 || FResizeRowsInGrid) &&
        (DisplayRow > 0 || (DisplayRow == 0 && HeadingSizingArea(Y))))
        CalcRowSizingState(Y, Status);
    if (Status == msNormal && (DisplayRow == 0 || FResizeColsInGrid) && DisplayCol >= 0 &&
        (DisplayCol > 0 || RowBarSizingArea(X)))
        CalcColSizingState(X, Status);
    return Status;
}

bool TgxBaseGrid::MDSizing(int X, int Y, int DisplayRow, int DisplayCol) {
    const TgxMouseStatus Status = GetSizingState(X, Y, DisplayRow, DisplayCol);
    if (!IsRowResize(Status) && !IsColResize(Status)) return false;
    SetMouseStatus(Status);
    return true;
}

void TgxBaseGrid::MouseDownResize() {
    if (!IsRowResize(FMouseStatus) && !IsColResize(FMouseStatus)) return;
    Update();
    FMouseSizingLineDrawn = false;
    DrawSizingLine();
}

// ---- the sizing line ---------------------------------------------------------------------------

void TgxBaseGrid::DrawSizingLine() {
    if (!HandleAllocated()) return;
    TCanvas* C = Canvas();
    TPenKeeper Keep(C);
    // XOR with white inverts what is under the line, so drawing it again
    // takes it away (XOR with black would leave the pixels as they are).
    C->Pen()->SetStyle(psDot);
    C->Pen()->SetMode(pmXor);
    C->Pen()->SetWidth(1);
    C->Pen()->SetColor(clWhite);
    C->Brush()->SetColor(Color());
    const int LastCol =
        FVisibleCols.VisibleCount() ? FVisibleCols.GetItem(FVisibleCols.VisibleCount()) : 0;
    const int LastRow =
        FVisibleRows.VisibleCount() ? FVisibleRows.GetItem(FVisibleRows.VisibleCount()) : 0;
    if (IsRowResize(FMouseStatus)) {
        int Right = ClientWidth();
        if (GetVisibleColCount() + LeftCol() >= ColCount()) {
            TRect R = CellRect(LastCol, TopRow());
            if (R.Right <= R.Left) R = CellRect(LastCol, MaxVisibleRow());
            Right = R.Right + FVertLineWidth;
        }
        C->MoveTo(0, FSizingLinePos);
        C->LineTo(Right, FSizingLinePos);
    } else if (IsColResize(FMouseStatus)) {
        int Bottom = ClientHeight();
        if (GetVisibleRowCount() + TopRow() >= RowCount()) {
            TRect R = CellRect(LeftCol(), LastRow);
            if (R.Bottom <= R.Top) R = CellRect(MaxVisibleCol(), LastRow);
            Bottom = R.Bottom + FHorzLineWidth;
        }
        C->MoveTo(FSizingLinePos, 0);
        C->LineTo(FSizingLinePos, Bottom);
    } else {
        return;
    }
    FMouseSizingLineDrawn = !FMouseSizingLineDrawn;
}

// ---- completing a resize -----------------------------------------------------------------------

void TgxBaseGrid::MUResizedCol(int X, bool Apply) {
    if (FMouseSizingLineDrawn) DrawSizingLine();
    const bool ByDblClick = FSizingByDblClick;
    FSizingByDblClick = false;
    const int C = FMouseSizingIndex;
    if (!Apply || C < 0 || C >= ColCount()) return;
    const int Left = CalcColOffset(C);
    if (Left < 0) return;
    if (ByDblClick && ColWidths(C) + Left == FSizingLinePos + 1) {
        // A double-click on the boundary: back to the default width.
        int Default = DefaultColWidth();
        if (C == 0)
            Default = FRowBarWidthRef;
        else if (FResizeCols != rcAll)
            Default = FCols->Item(GetDataCol(C))->SetWidthValue();
        FSizingLinePos = Left + Default - 1;
    } else {
        FSizingLinePos = X + FSizingOffset;
        if (!(IsComboGrid() && Designing()))
            FSizingLinePos = std::min(FSizingLinePos, ClientWidth());
    }
    // A line at or left of the column's own left edge changes nothing.
    if (FSizingLinePos <= Left) return;
    const int Width = FSizingLinePos + 1 - Left;
    if (C == 0) {
        const TFlagScope Sizing(FSizingRowBar);
        SetRowBarWidth(Width);
    } else if (FResizeCols == rcAll) {
        if (Width != ColWidths(C)) {
            ChangeAllColWidths(Width, true);
            CheckTopLeft(false);
        }
    } else {
        // The column keeps its own default width for a later double-click.
        FCols->Item(GetDataCol(C))->CopyWidth(Width);
    }
    RedisplayControl();
}

void TgxBaseGrid::MUResizedRow(int Y, bool Apply) {
    if (FMouseSizingLineDrawn) DrawSizingLine();
    const bool ByDblClick = FSizingByDblClick;
    FSizingByDblClick = false;
    const int R = FMouseSizingIndex;
    if (!Apply || R < 0 || R >= RowCount()) return;
    const int Top = CalcRowOffset(R);
    if (Top < 0) return;
    if (ByDblClick && RowHeights(R) + Top == FSizingLinePos + 1) {
        // Back to the heading's, the grid's or the row's own previous height.
        int Default = RowHeights(R);
        if (R == 0)
            Default = FHeadingHeightRef;
        else if (FResizeRows == rrAll)
            Default = DefaultRowHeight();
        else if (const int DataRow = GetDataRow(R); DataRow > 0)
            Default = FRows->GetOldRowHeight(DataRow);
        FSizingLinePos = Top + Default - 1;
    } else {
        FSizingLinePos = std::min(Y + FSizingOffset, ClientHeight());
    }
    if (FSizingLinePos <= Top) return;
    const int Height = FSizingLinePos + 1 - Top;
    if (R == 0) {
        const TFlagScope Sizing(FSizingHeading);
        SetHeadingHeight(Height);
    } else if (FResizeRows == rrAll) {
        if (Height != RowHeights(R)) {
            ChangeAllRowHeights(Height, true);
            CheckTopLeft(false);
        }
    } else {
        // The row keeps its previous height for a later double-click.
        FRows->CopyRowHeight(GetDataRow(R), Height);
    }
    RedisplayControl();
    Update();
}

} // namespace grid
