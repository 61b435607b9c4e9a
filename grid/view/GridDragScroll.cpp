// Auto-scroll while a drag holds the mouse outside the scrollable area: a
// loop inside the mouse-move handling that scrolls one row or column per
// step and carries the drag along, for as long as the mouse stays where it
// is. It looks at the waiting input between steps (never a timer), so a
// move, a button, a key or the loss of the capture ends it at once and is
// then handled in its turn. Also the helpers that keep a row (column) in
// place when all rows (columns) are resized.
#include "grid/model/BaseGrid.h"
#include "grid/model/GridGuards.h"
#include "platform/gui/Forms.h"
#include "platform/gui/PendingInput.h"

#include <algorithm>
#include <cmath>

namespace grid {

bool TgxBaseGrid::CheckMouseOverGrid(int X, int Y) const {
    return HandleAllocated() && X >= 0 && X < ClientWidth() && Y >= FixedHeight() &&
           Y < ClientHeight();
}

// ---- the trigger ----------------------------------------------------------------------------

bool TgxBaseGrid::ScrollCols(int X, int& DisplayCol, int& DisplayRow) {
    if (!HandleAllocated()) return false;
    if (X >= ClientWidth() && FixedCols() < ColCount()) {
        if (FScrollHold) return true;
        if (LeftCol() >= GetMaxLeftCol()) return false;
        MoveView(mdLeft, DisplayCol, DisplayRow);
        DisplayCol = std::min(DisplayCol, ColCount() - 1);
        return true;
    }
    if (X < FixedWidth() && LeftCol() > FixedCols()) {
        // A block or a column drag that began in the frozen columns stays there.
        if ((FGridStatus == grCellSelect && FRangeAnchor.X < FixedCols()) ||
            (FGridStatus == grColSelect && Col() < FixedCols())) {
            FScrollHold = false;
            return false;
        }
        if (FScrollHold) return true;
        MoveView(mdRight, DisplayCol, DisplayRow);
        DisplayCol = std::max(DisplayCol, 1);
        return true;
    }
    FScrollHold = false;
    return false;
}

bool TgxBaseGrid::ScrollRows(int Y, int& DisplayCol, int& DisplayRow) {
    if (!HandleAllocated()) return false;
    if (Y >= ClientHeight() && FixedRows() < RowCount()) {
        if (FScrollHold) return true;
        if (TopRow() >= GetMaxTopRow()) return false;
        MoveView(mdUp, DisplayCol, DisplayRow);
        DisplayRow = std::min(DisplayRow, RowCount() - 1);
        return true;
    }
    if (Y < FixedHeight() && TopRow() > FixedRows()) {
        if ((FGridStatus == grCellSelect && FRangeAnchor.Y < FixedRows()) ||
            (FGridStatus == grRowSelect && Row() < FixedRows())) {
            FScrollHold = false;
            return false;
        }
        if (FScrollHold) return true;
        MoveView(mdDown, DisplayCol, DisplayRow);
        DisplayRow = std::max(DisplayRow, 1);
        return true;
    }
    FScrollHold = false;
    return false;
}

// ---- the loop -------------------------------------------------------------------------------

namespace {

enum class TDragKind { Rows, Cols, Range, RowMove, ColMove, None };

} // namespace

void TgxBaseGrid::MoveView(TgxMoveDirection Direction, int& DisplayCol, int& DisplayRow) {
    TDragKind Kind = TDragKind::None;
    if (FMouseStatus == msColMove)
        Kind = TDragKind::ColMove;
    else if (FMouseStatus == msRowMove)
        Kind = TDragKind::RowMove;
    else if (FMouseStatus == msRowSelect || FGridStatus == grRowSelect)
        Kind = TDragKind::Rows;
    else if (FMouseStatus == msColSelect || FGridStatus == grColSelect)
        Kind = TDragKind::Cols;
    else if (FGridStatus == grCellSelect)
        Kind = TDragKind::Range;
    if (Kind == TDragKind::None) return;
    const bool Across = Direction == mdLeft || Direction == mdRight;
    const int LastRow = std::max(RowCount() - 1 - (InsertionRowShown() ? 1 : 0), 1);
    auto RowShown = [&](int R) {
        const int Y = CalcRowOffset(R);
        return Y >= 0 && Y < ClientHeight();
    };
    auto ColShown = [&](int C) {
        const int X = CalcColOffset(C);
        return X >= 0 && X < ClientWidth();
    };
    // The last row (column) on screen, also when it shows only in part.
    auto LastRowShown = [&]() {
        int R = std::max(MaxVisibleRow(), TopRow());
        while (R + 1 < RowCount() && RowShown(R + 1))
            ++R;
        while (R > TopRow() && !RowShown(R))
            --R;
        return R;
    };
    auto LastColShown = [&]() {
        int C = std::max(MaxVisibleCol(), LeftCol());
        while (C + 1 < ColCount() && ColShown(C + 1))
            ++C;
        while (C > LeftCol() && !ColShown(C))
            --C;
        return C;
    };

    // A block held past a corner of the data area scrolls both ways at
    // once, a row and a column per step, towards that corner (not up into
    // the frozen rows when it began there).
    TgxMoveDirection Vertical = mdUp;
    bool Diagonal = false;
    if (Kind == TDragKind::Range && Across) {
        if (FDragY >= ClientHeight() && TopRow() < GetMaxTopRow()) {
            Diagonal = true;
        } else if (FDragY < FixedHeight() && TopRow() > FixedRows() &&
                   FRangeAnchor.Y >= FixedRows()) {
            Diagonal = true;
            Vertical = mdDown;
        }
    }
    // The drag follows the cell at the edge being scrolled towards; the
    // other coordinate is the one under the mouse.
    auto Follow = [&](int C, int R) {
        C = std::clamp(C, 1, std::max(ColCount() - 1, 1));
        R = std::clamp(R, 1, LastRow);
        switch (Kind) {
        case TDragKind::Rows:
            DragRowsTo(R);
            break;
        case TDragKind::Cols:
            DragColsTo(C);
            break;
        case TDragKind::Range:
            ChangeCellSelection(C, R);
            break;
        case TDragKind::RowMove:
            if (R != FMovePos) ChangeRowMovePos(R);
            break;
        case TDragKind::ColMove:
            if (C != FMovePos) ChangeColMovePos(C);
            break;
        case TDragKind::None:
            break;
        }
    };
    auto Carry = [&]() {
        int C = -1;
        int R = -1;
        ColRowFromXY(FDragX, FDragY, C, R);
        if (Across)
            C = Direction == mdLeft ? LastColShown() : LeftCol();
        else
            R = Direction == mdUp ? LastRowShown() : TopRow();
        if (Diagonal) R = Vertical == mdUp ? LastRowShown() : TopRow();
        Follow(C, R);
    };
    // The move mark is drawn on the pixels: it goes before a scroll and
    // comes back after it, so it never scrolls along.
    auto HideMark = [&]() {
        if (Kind == TDragKind::RowMove && FRowMoveMarkDrawn) DrawRowMove();
        if (Kind == TDragKind::ColMove && FColMoveMarkDrawn) DrawColMove();
    };
    auto ShowMark = [&]() {
        if (Kind == TDragKind::RowMove && !FRowMoveMarkDrawn) DrawRowMove();
        if (Kind == TDragKind::ColMove && !FColMoveMarkDrawn) DrawColMove();
    };
    auto AtEdgeOf = [&](TgxMoveDirection Towards) {
        switch (Towards) {
        case mdLeft:
            return LeftCol() >= GetMaxLeftCol();
        case mdRight:
            return LeftCol() <= FixedCols();
        case mdUp:
            return TopRow() >= GetMaxTopRow();
        case mdDown:
            return TopRow() <= FixedRows();
        }
        return true;
    };
    auto AtEdge = [&]() { return AtEdgeOf(Direction) && (!Diagonal || AtEdgeOf(Vertical)); };
    auto InputWaiting = [&]() {
        return PeekMessage(nullptr, this, WM_MOUSEFIRST, WM_MOUSELAST, PM_NOREMOVE) ||
               CheckEscape();
    };

    Carry();
    Update();
    while (MouseCapture() && !InputWaiting() && !AtEdge()) {
        const TPoint P = ClientToScreen(TPoint{FDragX, FDragY});
        if (!ScrollDelay(P.X, P.Y, Diagonal ? 2 : Across ? 0 : 1)) break;
        HideMark();
        const int OldLeft = LeftCol();
        const int OldTop = TopRow();
        int NewLeft = OldLeft;
        int NewTop = OldTop;
        auto Step = [&](TgxMoveDirection Towards) {
            if (AtEdgeOf(Towards)) return;
            switch (Towards) {
            case mdLeft:
                ++NewLeft;
                break;
            case mdRight:
                --NewLeft;
                break;
            case mdUp:
                ++NewTop;
                break;
            case mdDown:
                --NewTop;
                break;
            }
        };
        Step(Direction);
        if (Diagonal) Step(Vertical);
        MoveTopLeft(NewLeft, NewTop);
        const bool Moved = LeftCol() != OldLeft || TopRow() != OldTop;
        if (Moved) Carry();
        Update();
        ShowMark();
        if (!Moved) break;
    }
    // The drag ends on the cell now under the mouse.
    ColRowFromXY(FDragX, FDragY, DisplayCol, DisplayRow);
    if (Across)
        DisplayCol = Direction == mdLeft ? std::min(DisplayCol, LastColShown())
                                         : std::max(DisplayCol, LeftCol());
    else
        DisplayRow = Direction == mdUp ? std::min(DisplayRow, LastRowShown())
                                       : std::max(DisplayRow, TopRow());
    if (Diagonal)
        DisplayRow = Vertical == mdUp ? std::min(DisplayRow, LastRowShown())
                                      : std::max(DisplayRow, TopRow());
    DisplayCol = std::clamp(DisplayCol, 1, std::max(ColCount() - 1, 1));
    DisplayRow = std::clamp(DisplayRow, 1, LastRow);
    HideMark();
    Follow(DisplayCol, DisplayRow);
    Update();
    ShowMark();
}

// ---- keeping a row (column) in place after all sizes changed --------------------------------

int TgxBaseGrid::RowsInView(int Height, int Top) const {
    if (!HandleAllocated()) return 0;
    return std::min((ClientHeight() - Top) / std::max(Height, 1) + 1, RowCount() - 1);
}

int TgxBaseGrid::ColsInView(int Width, int Left) const {
    if (!HandleAllocated()) return 0;
    return std::min((ClientWidth() - Left) / std::max(Width, 1) + 1, ColCount() - 1);
}

void TgxBaseGrid::SetNewTopRow(int DisplayRow, int Height, int Y) {
    if (!HandleAllocated()) return;
    const double Above = static_cast<double>(Y - FixedHeight()) / std::max(Height, 1);
    int Top = DisplayRow - static_cast<int>(std::lround(Above));
    const int Fit = std::max((ClientHeight() - FixedHeight()) / std::max(Height, 1), 1);
    if (DisplayRow - Top + 1 > Fit) Top = DisplayRow - Fit + 1;
    Top = std::clamp(Top, FixedRows(), std::max(GetMaxTopRow(), FixedRows()));
    TgxPaintOff Off(*this);
    MoveTopLeft(LeftCol(), Top);
}

void TgxBaseGrid::SetNewLeftCol(int DisplayCol, int Width, int X) {
    if (!HandleAllocated()) return;
    const double Before = static_cast<double>(X - FixedWidth()) / std::max(Width, 1);
    int Left = DisplayCol - static_cast<int>(std::lround(Before));
    const int Fit = std::max((ClientWidth() - FixedWidth()) / std::max(Width, 1), 1);
    if (DisplayCol - Left + 1 > Fit) Left = DisplayCol - Fit + 1;
    Left = std::clamp(Left, FixedCols(), std::max(GetMaxLeftCol(), FixedCols()));
    TgxPaintOff Off(*this);
    MoveTopLeft(Left, TopRow());
}

// The row (column) being resized stays where the mouse has it; outside a
// resize the current one does.
void TgxBaseGrid::ChangeAllRowHeights(int Height, bool KeepPosition) {
    const bool Resizing =
        FMouseStatus == msRowResize && FMouseSizingIndex >= 1 && FMouseSizingIndex < RowCount();
    const int Keep = Resizing ? FMouseSizingIndex : Row();
    const int Y = HandleAllocated() ? CalcRowOffset(Keep) : -1;
    {
        TgxPaintOff Off(*this);
        // The heading row keeps its own height.
        const bool HeadingOn = GetHeadingOn();
        const int Heading = HeadingOn ? GetHeadingHeight() : 0;
        SetDefaultRowHeight(Height);
        if (HeadingOn && GetHeadingHeight() != Heading) {
            SetHeadingHeight(Heading);
            UpdateScrollRange();
        }
    }
    if (KeepPosition && Y >= 0) SetNewTopRow(Keep, Height, Y);
}

void TgxBaseGrid::ChangeAllColWidths(int Width, bool KeepPosition) {
    const bool Resizing =
        FMouseStatus == msColResize && FMouseSizingIndex >= 1 && FMouseSizingIndex < ColCount();
    const int Keep = Resizing ? FMouseSizingIndex : Col();
    const int X = HandleAllocated() ? CalcColOffset(Keep) : -1;
    {
        TgxPaintOff Off(*this);
        // The row bar keeps its own width.
        const bool RowBarOn = GetRowBarOn();
        const int Bar = RowBarOn ? GetRowBarWidth() : 0;
        SetDefaultColWidth(Width);
        if (RowBarOn && GetRowBarWidth() != Bar) {
            SetRowBarWidth(Bar);
            UpdateScrollRange();
        }
    }
    if (KeepPosition && X >= 0) SetNewLeftCol(Keep, Width, X);
}

} // namespace grid
