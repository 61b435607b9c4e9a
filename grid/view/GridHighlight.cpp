// The drawing side of selection: a block of cells, a row, a column, the
// heading or the row bar shown highlighted or plain. Without a selection
// colour the pixels are inverted at once (inverting twice restores them),
// exactly where the paint inverts a selected cell, so a later repaint shows
// the same picture; with a selection colour the cells are repainted from
// the selection they show.
#include "grid/model/BaseGrid.h"
#include "platform/gui/Blit.h"
#include "platform/gui/WindowScroll.h"

#include <algorithm>

namespace grid {

namespace {

bool Empty(const TRect& R) {
    return R.Right <= R.Left || R.Bottom <= R.Top;
}

// The pixels, along one axis, of the positions First .. Last that are on
// screen: the fixed positions below Fixed always, the scrolling ones from
// Scroll on up to the last one shown. Those are contiguous on screen.
template <class OffsetOf, class SizeOf>
bool ScreenSpan(int First, int Last, int Fixed, int Scroll, int MaxShown, int Room, OffsetOf Offset,
                SizeOf Size, int& A, int& B) {
    if (First > Last) return false;
    const int Start = First < Fixed ? First : std::max(First, Scroll);
    if (Start > Last) return false;
    // An offset past the room is off screen as well as a negative one.
    auto Shown = [&](int P) {
        const int O = Offset(P);
        return O >= 0 && O < Room;
    };
    if (!Shown(Start)) return false;
    A = Offset(Start);
    int End =
        Last >= Scroll ? std::min(Last, std::max(MaxShown, Start)) : std::min(Last, Fixed - 1);
    if (End < Start) return false;
    while (End > Start && Offset(End) < 0)
        --End;
    // The last one shown may lie past MaxShown: it may show only in part.
    while (End < Last && Last >= Scroll && Offset(End + 1) >= 0)
        ++End;
    B = std::min(Offset(End) + Size(End), Room);
    return B > A;
}

} // namespace

// The box of on-screen pixels of the cells Left..Right x Top..Bottom, each
// cell with its grid lines, cut at the client edge; empty when none shows.
static TRect CellsOnScreen(const TgxBaseGrid& G, int Left, int Top, int Right, int Bottom) {
    TRect R{0, 0, 0, 0};
    if (!G.HandleAllocated()) return R;
    if (!ScreenSpan(
            Left, Right, G.FixedCols(), G.LeftCol(), G.MaxVisibleCol(), G.ClientWidth(),
            [&G](int C) { return G.CalcColOffset(C); }, [&G](int C) { return G.ColWidths(C); },
            R.Left, R.Right))
        return TRect{0, 0, 0, 0};
    if (!ScreenSpan(
            Top, Bottom, G.FixedRows(), G.TopRow(), G.MaxVisibleRow(), G.ClientHeight(),
            [&G](int Row) { return G.CalcRowOffset(Row); },
            [&G](int Row) { return G.RowHeights(Row); }, R.Top, R.Bottom))
        return TRect{0, 0, 0, 0};
    return R;
}

void TgxBaseGrid::RectInvert(TCanvas* DC, const TRect& R, bool) {
    if (Empty(R)) return;
    if (!HandleAllocated() || !CanPaint() || !DC) {
        ::InvalidateRect(this, &R, false);
        return;
    }
    PatBlt(DC, R.Left, R.Top, R.Right - R.Left, R.Bottom - R.Top, DSTINVERT);
}

void TgxBaseGrid::GridRectInvert(TCanvas* DC, const TRect& Cells, bool State, const TRect& Clip) {
    const TRect R =
        Empty(Clip) ? CellsOnScreen(*this, Cells.Left, Cells.Top, Cells.Right, Cells.Bottom) : Clip;
    if (Empty(R)) return;
    if (!HandleAllocated() || !PaintEnabled() || SelectionColorEnabled()) {
        // Coloured cells are painted from the selection they show; the
        // paint also inverts the fixed cells of a selection.
        ::InvalidateRect(this, &R, false);
        return;
    }
    RectInvert(DC ? DC : Canvas(), R, State);
}

void TgxBaseGrid::InvertRange(int Left, int Top, TCanvas* DC, bool State, const TRect& Clip,
                              int Bottom, int Right) {
    if (!HandleAllocated()) return;
    // A side scrolled out of view at the top (left) stops at the fixed part.
    if (Bottom >= FixedRows() && Bottom < TopRow()) Bottom = FixedRows() - 1;
    if (Right >= FixedCols() && Right < LeftCol()) Right = FixedCols() - 1;
    GridRectInvert(DC, TRect{Left, Top, Right, Bottom}, State, Clip);
}

void TgxBaseGrid::InvertCell(int DisplayCol, int DisplayRow, TCanvas* DC, bool State,
                             const TRect& Clip) {
    InvertRange(DisplayCol, DisplayRow, DC, State, Clip, DisplayRow, DisplayCol);
}

void TgxBaseGrid::InvertRow(int DisplayRow, bool State, TCanvas* DC) {
    if (!HandleAllocated()) return;
    const int DataRow = GetDataRow(DisplayRow);
    if (DataRow < 1 || !CanSelectRow(FSelAnchorRow, Variant(DataRow))) return;
    const bool FixedPart = GetRowBarOn() || FixedColCount() > 0;
    const bool ScrollPart = FixedCols() < ColCount();
    if (!FixedPart && !ScrollPart) return;
    const int Left = FixedPart ? 0 : LeftCol();
    const int Right = ScrollPart ? std::min(GetVisibleColCount() + LeftCol(), ColCount() - 1)
                                 : std::min(FixedCols() - 1, MaxVisibleCol());
    GridRectInvert(DC, TRect{Left, DisplayRow, Right, DisplayRow}, State, TRect{0, 0, 0, 0});
}

void TgxBaseGrid::InvertCol(int DisplayCol, TgxInvert Part, TCanvas* DC, bool State) {
    if (!HandleAllocated() || Part == ivNone) return;
    const TRect None{0, 0, 0, 0};
    if ((GetHeadingOn() && (Part == ivHead || Part == ivBoth)) || FixedRowCount() > 0) {
        const int LastFixed = std::min(FixedRows() - 1, MaxVisibleRow());
        if (Part == ivHead)
            GridRectInvert(DC, TRect{DisplayCol, 0, DisplayCol, 0}, State, None);
        else if (Part == ivBoth)
            GridRectInvert(DC, TRect{DisplayCol, 0, DisplayCol, LastFixed}, State, None);
        else if (LastFixed >= 1)
            GridRectInvert(DC, TRect{DisplayCol, 1, DisplayCol, LastFixed}, State, None);
    }
    if ((Part == ivData || Part == ivBoth) && FixedRows() < RowCount()) {
        const int Bottom = std::min(GetVisibleRowCount() + TopRow(), RowCount() - 1);
        GridRectInvert(DC, TRect{DisplayCol, TopRow(), DisplayCol, Bottom}, State, None);
    }
}

void TgxBaseGrid::InvertHeading(bool State) {
    if (!HandleAllocated() || !GetHeadingOn()) return;
    const TRect None{0, 0, 0, 0};
    if (FixedColCount() > 0) GridRectInvert(nullptr, TRect{1, 0, FixedCols() - 1, 0}, State, None);
    if (FixedCols() < ColCount())
        GridRectInvert(nullptr, TRect{LeftCol(), 0, MaxVisibleCol(), 0}, State, None);
}

void TgxBaseGrid::InvertLabel(bool State) {
    if (!HandleAllocated() || !GetRowBarOn()) return;
    const TRect None{0, 0, 0, 0};
    if (FixedRowCount() > 0) GridRectInvert(nullptr, TRect{0, 1, 0, FixedRows() - 1}, State, None);
    if (FixedRows() < RowCount())
        GridRectInvert(nullptr, TRect{0, TopRow(), 0, MaxVisibleRow()}, State, None);
}

void TgxBaseGrid::InvertGrid(bool State) {
    InvertLabel(State);
    GridRectInvert(nullptr, TRect{1, 1, MaxVisibleCol(), MaxVisibleRow()}, State,
                   TRect{0, 0, 0, 0});
}

// ---- dragging out a range: only what changed is drawn ---------------------------------------

void TgxBaseGrid::InvertNew(const TRect& NewRange) {
    switch (FGridStatus) {
    case grCellSelect:
        InvertNewRangeSelecting(NewRange);
        break;
    case grColSelect:
        InvertNewColSelecting(NewRange);
        break;
    case grRowSelect:
        InvertNewRowSelecting(NewRange);
        break;
    default:
        break;
    }
}

void TgxBaseGrid::InvertNewRangeSelecting(const TRect& NewRange) {
    const TRect Old = FRange;
    TRect New = NewRange;
    New.Left = std::max(New.Left, 1);
    New.Top = std::max(New.Top, 1);
    // Parts off screen draw nothing; the block is not cut here, so that the
    // old and the new one are compared as they are.
    const TRect None{0, 0, 0, 0};
    auto Draw = [&](int L, int T, int R, int B, bool State) {
        if (L <= R && T <= B) InvertRange(L, T, nullptr, State, None, B, R);
    };
    const bool OldEmpty =
        Old.Left < 1 || Old.Top < 1 || Old.Right < Old.Left || Old.Bottom < Old.Top;
    const bool Overlap = !OldEmpty && New.Left <= Old.Right && Old.Left <= New.Right &&
                         New.Top <= Old.Bottom && Old.Top <= New.Bottom;
    if (!Overlap) {
        if (!OldEmpty) Draw(Old.Left, Old.Top, Old.Right, Old.Bottom, false);
        Draw(New.Left, New.Top, New.Right, New.Bottom, true);
        return;
    }
    if (New.Right < New.Left || New.Bottom < New.Top) return;
    const int G = std::max(Old.Top, New.Top);
    const int H = std::min(Old.Bottom, New.Bottom);
    // Rows above the common rows.
    if (New.Top < Old.Top)
        Draw(New.Left, New.Top, New.Right, Old.Top - 1, true);
    else if (Old.Top < New.Top)
        Draw(Old.Left, Old.Top, Old.Right, New.Top - 1, false);
    // Columns left and right within the common rows.
    if (New.Left < Old.Left)
        Draw(New.Left, G, Old.Left - 1, H, true);
    else if (Old.Left < New.Left)
        Draw(Old.Left, G, New.Left - 1, H, false);
    if (Old.Right < New.Right)
        Draw(Old.Right + 1, G, New.Right, H, true);
    else if (New.Right < Old.Right)
        Draw(New.Right + 1, G, Old.Right, H, false);
    // Rows below the common rows.
    if (Old.Bottom < New.Bottom)
        Draw(New.Left, Old.Bottom + 1, New.Right, New.Bottom, true);
    else if (New.Bottom < Old.Bottom)
        Draw(Old.Left, New.Bottom + 1, Old.Right, Old.Bottom, false);
}

// Whole selected columns give way to a block: each selected column on
// screen goes plain over its full height, and the block shows highlighted
// (a selected column's cells inside it are inverted twice, so they stay).
void TgxBaseGrid::InvertNewColSelecting(const TRect& NewRange) {
    TRect New = NewRange;
    New.Left = std::max(New.Left, LeftCol());
    New.Right = std::min(New.Right, MaxVisibleCol());
    New.Top = std::max(New.Top, TopRow());
    New.Bottom = std::min(New.Bottom, MaxVisibleRow());
    const int Last = MaxVisibleCol();
    for (int C = FColSelection.GetSelected(LeftCol()) ? LeftCol() : FColSelection.Next(LeftCol());
         C != -1 && C <= Last; C = FColSelection.Next(C))
        InvertCol(C, ivBoth, nullptr, false);
    if (New.Left <= New.Right && New.Top <= New.Bottom)
        InvertRange(New.Left, New.Top, nullptr, true, TRect{0, 0, 0, 0}, New.Bottom, New.Right);
}

void TgxBaseGrid::InvertNewRowSelecting(const TRect& NewRange) {
    TRect New = NewRange;
    New.Left = std::max(New.Left, LeftCol());
    New.Right = std::min(New.Right, MaxVisibleCol());
    New.Top = std::max(New.Top, TopRow());
    New.Bottom = std::min(New.Bottom, MaxVisibleRow());
    const int Last = MaxVisibleRow();
    for (int R = FRowSelection.GetSelected(TopRow()) ? TopRow() : FRowSelection.Next(TopRow());
         R != -1 && R <= Last; R = FRowSelection.Next(R))
        InvertRow(R, false, nullptr);
    if (New.Left <= New.Right && New.Top <= New.Bottom)
        InvertRange(New.Left, New.Top, nullptr, true, TRect{0, 0, 0, 0}, New.Bottom, New.Right);
}

} // namespace grid
