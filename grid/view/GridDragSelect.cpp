// Dragging with the left button held: a row or column selection follows the
// mouse from the current row (column), a cell range from its anchor, and the
// drop mark of a row or column move follows it; the drags end applied or
// undone.
#include "grid/model/BaseGrid.h"
#include "grid/view/SelectionMarks.h"

#include <algorithm>

namespace grid {

namespace {

// The positions of the span A..B (either order) that are not in C..D.
template <class Fn> void EachOutside(int A, int B, int C, int D, Fn Do) {
    const int Lo = std::min(A, B);
    const int Hi = std::max(A, B);
    const int Lo2 = std::min(C, D);
    const int Hi2 = std::max(C, D);
    if (Hi < Lo2 || Hi2 < Lo) {
        Do(Lo, Hi);
        return;
    }
    if (Lo < Lo2) Do(Lo, Lo2 - 1);
    if (Hi > Hi2) Do(Hi2 + 1, Hi);
}

} // namespace

// ---- rows -----------------------------------------------------------------------------------

// The last row a drag may reach: an insertion row at the end does not count.
static int LastDragRow(const TgxBaseGrid& G) {
    return G.RowCount() - 1 - (G.InsertionRowShown() ? 1 : 0);
}

static int FirstDragRow(const TgxBaseGrid& G) {
    return G.SelectFixed() ? 1 : std::max(G.FixedRows(), 1);
}

static int FirstDragCol(const TgxBaseGrid& G) {
    return G.SelectFixed() ? 1 : std::max(G.FixedCols(), 1);
}

void TgxBaseGrid::MouseMoveRowSelecting(int X, int Y, int DisplayCol, int DisplayRow) {
    FDragX = X;
    FDragY = Y;
    FMouseOverGrid = CheckMouseOverGrid(X, Y);
    DisplayRow = std::clamp(DisplayRow, FirstDragRow(*this), std::max(LastDragRow(*this), 1));
    if (ScrollRows(Y, DisplayCol, DisplayRow) || FScrollHold) return;
    switch (CompareRowPos(DisplayRow)) {
    case 1:
        SelectLargerRows(DisplayRow);
        break;
    case -1:
        SelectSmallerRows(DisplayRow);
        break;
    default:
        SelectCurrentRow(DisplayRow);
        break;
    }
}

void TgxBaseGrid::SelectLargerRows(int DisplayRow) {
    DragRowsTo(DisplayRow);
}

void TgxBaseGrid::SelectSmallerRows(int DisplayRow) {
    DragRowsTo(DisplayRow);
}

void TgxBaseGrid::SelectCurrentRow(int DisplayRow) {
    DragRowsTo(DisplayRow);
}

// The rows from the anchor (the current row) to the old end that the new
// end leaves go plain, the rows it reaches are selected; in a single-row
// mode the one selected row and the current row follow the mouse.
void TgxBaseGrid::DragRowsTo(int DisplayRow) {
    DisplayRow = std::clamp(DisplayRow, FirstDragRow(*this), std::max(LastDragRow(*this), 1));
    if (FRowSelectEnd < 1) FRowSelectEnd = Row();
    if (FRowSelectMode == rsMulti) {
        if (DisplayRow == FRowSelectEnd) return;
        const int Anchor = Row();
        EachOutside(Anchor, FRowSelectEnd, Anchor, DisplayRow,
                    [this](int A, int B) { InvertRowSelection(A, B, false); });
        EachOutside(Anchor, DisplayRow, Anchor, FRowSelectEnd,
                    [this](int A, int B) { InvertRowSelection(A, B, true); });
        InvertRowSelection(Anchor, Anchor, true);
        FRowSelectEnd = DisplayRow;
        return;
    }
    if (DisplayRow == FRowSelectEnd && FRowSelection.GetSelected(DisplayRow)) return;
    if (FRowSelectEnd >= 1) MarkRow(*this, FRowSelectEnd, false);
    if (DisplayRow != Row()) SetCurrentPositionAndDraw(Col(), DisplayRow, true, true);
    if (FMouseOverGrid || !IsComboGrid()) {
        AddRowSelection(DisplayRow, DisplayRow);
        if (FRowSelection.GetSelected(DisplayRow)) InvertRow(DisplayRow, true);
    }
    FRowSelectEnd = DisplayRow;
}

// ---- columns --------------------------------------------------------------------------------

void TgxBaseGrid::MouseMoveColSelecting(int X, int Y, int DisplayCol, int DisplayRow) {
    FDragX = X;
    FDragY = Y;
    if (ScrollCols(X, DisplayCol, DisplayRow) || FScrollHold) return;
    DisplayCol = std::clamp(DisplayCol, FirstDragCol(*this), std::max(ColCount() - 1, 1));
    if (DisplayCol > Col())
        SelectLargerCols(DisplayCol);
    else if (DisplayCol < Col())
        SelectSmallerCols(DisplayCol);
    else
        SelectCurrentCol(DisplayCol);
}

void TgxBaseGrid::SelectLargerCols(int DisplayCol) {
    DragColsTo(DisplayCol);
}

void TgxBaseGrid::SelectSmallerCols(int DisplayCol) {
    DragColsTo(DisplayCol);
}

void TgxBaseGrid::SelectCurrentCol(int DisplayCol) {
    DragColsTo(DisplayCol);
}

void TgxBaseGrid::DragColsTo(int DisplayCol) {
    DisplayCol = std::clamp(DisplayCol, FirstDragCol(*this), std::max(ColCount() - 1, 1));
    if (FColSelectEnd < 1) FColSelectEnd = Col();
    if (DisplayCol == FColSelectEnd) return;
    const int Anchor = Col();
    auto Mark = [this](int A, int B, bool Select) {
        for (int C = A; C <= B; ++C)
            MarkCol(*this, C, Select);
    };
    EachOutside(Anchor, FColSelectEnd, Anchor, DisplayCol,
                [&Mark](int A, int B) { Mark(A, B, false); });
    EachOutside(Anchor, DisplayCol, Anchor, FColSelectEnd,
                [&Mark](int A, int B) { Mark(A, B, true); });
    Mark(Anchor, Anchor, true);
    FColSelectEnd = DisplayCol;
}

// ---- cell ranges ----------------------------------------------------------------------------

void TgxBaseGrid::MouseMoveSetPosition(int X, int Y, int& DisplayCol, int& DisplayRow, int& NewX,
                                       int& NewY) {
    NewX = X;
    NewY = Y;
    DisplayCol = std::min(DisplayCol, std::max(ColCount() - 1, 1));
    DisplayRow = std::min(DisplayRow, std::max(LastDragRow(*this), 1));
}

void TgxBaseGrid::MouseMoveRangeSelecting(int X, int Y, int DisplayCol, int DisplayRow) {
    FDragX = X;
    FDragY = Y;
    if (FGridStatus != grCellSelect) return;
    if (ScrollCols(X, DisplayCol, DisplayRow)) return;
    if (ScrollRows(Y, DisplayCol, DisplayRow)) return;
    ChangeCellSelection(DisplayCol, DisplayRow);
}

// ---- moving ---------------------------------------------------------------------------------

void TgxBaseGrid::ChangeColMovePos(int DisplayCol) {
    if (FColMoveMarkDrawn) DrawColMove();
    FMovePos = DisplayCol;
    DrawColMove();
}

void TgxBaseGrid::ChangeRowMovePos(int DisplayRow) {
    if (FRowMoveMarkDrawn) DrawRowMove();
    FMovePos = DisplayRow;
    DrawRowMove();
}

void TgxBaseGrid::MouseMoveColMoving(int X, int Y, int DisplayCol, int DisplayRow) {
    FDragX = X;
    FDragY = Y;
    if (ScrollCols(X, DisplayCol, DisplayRow)) return;
    const int Last = ColCount() - 1;
    if (DisplayCol >= Last && FMoveStart != Last) {
        const int Edge = CalcColOffset(Last);
        const bool Past = Edge >= 0 && X > Edge + ColWidths(Last) / 2;
        if (Past != FPastLastCol) {
            if (FColMoveMarkDrawn) DrawColMove();
            FPastLastCol = Past;
        }
    } else if (FPastLastCol) {
        if (FColMoveMarkDrawn) DrawColMove();
        FPastLastCol = false;
    }
    DisplayCol = std::clamp(DisplayCol, std::max(LeftCol(), FixedCols()), std::max(Last, 1));
    if (DisplayCol != FMovePos)
        ChangeColMovePos(DisplayCol);
    else if (!FColMoveMarkDrawn)
        DrawColMove();
}

void TgxBaseGrid::MouseMoveRowMoving(int X, int Y, int DisplayCol, int DisplayRow) {
    FDragX = X;
    FDragY = Y;
    if (ScrollRows(Y, DisplayCol, DisplayRow)) return;
    const int Last = LastDragRow(*this);
    if (DisplayRow >= Last && FMoveStart != Last) {
        const int Edge = CalcRowOffset(Last);
        const bool Past = Edge >= 0 && Y > Edge + RowHeights(Last) / 2;
        if (Past != FPastLastRow) {
            if (FRowMoveMarkDrawn) DrawRowMove();
            FPastLastRow = Past;
        }
    } else if (FPastLastRow) {
        if (FRowMoveMarkDrawn) DrawRowMove();
        FPastLastRow = false;
    }
    DisplayRow = std::clamp(DisplayRow, std::max(TopRow(), FixedRows()), std::max(Last, 1));
    if (DisplayRow != FMovePos && DisplayRow >= 1 && DisplayRow <= GetGridRowCount())
        ChangeRowMovePos(DisplayRow);
    else if (!FRowMoveMarkDrawn)
        DrawRowMove();
}

// ---- the ends of the drags ------------------------------------------------------------------

// Puts the marks back as they were when the drag began, drawing the
// positions that change.
static void RestoreMarks(TgxBaseGrid& G, TgxSelection& Now, const TgxSelection& Then, bool Rows) {
    auto Flip = [&](int P) {
        if (Rows)
            MarkRow(G, P, Then.GetSelected(P));
        else
            MarkCol(G, P, Then.GetSelected(P));
    };
    for (int P = Now.First(); P != -1;) {
        const int Next = Now.Next(P);
        Flip(P);
        P = Next;
    }
    for (int P = Then.First(); P != -1; P = Then.Next(P))
        Flip(P);
}

void TgxBaseGrid::EndRowSelecting(bool Apply) {
    if (!Apply) {
        RestoreMarks(*this, FRowSelection, FDragStartSelection, true);
        SetMouseCapture(false);
    }
    FRowSelectEnd = -1;
    SelectionsChanged(true);
}

void TgxBaseGrid::EndColSelecting(bool Apply) {
    if (!Apply) {
        RestoreMarks(*this, FColSelection, FDragStartSelection, false);
        SetMouseCapture(false);
    }
    FColSelectEnd = -1;
    SelectionsChanged(true);
}

void TgxBaseGrid::EndCellSelecting(bool Apply) {
    if (!Apply) {
        DeleteSelections({grCellSelect}, false);
        SetMouseCapture(false);
    }
    SelectionsChanged(true);
}

void TgxBaseGrid::EndColMoving(bool Apply) {
    if (FColMoveMarkDrawn) DrawColMove();
    FColMoveMarkDrawn = false;
    if (!Apply) {
        SetMouseCapture(false);
        return;
    }
    const int From = FMoveStart;
    const int To = FMovePos;
    if (To >= 1 && To != From && !FColSelection.GetSelected(To)) {
        MoveColRange(From, To);
        SetCurrentPositionAndDraw(To, Row(), true, true);
        ShowGridControl();
        DrawCurrentFocusRect(false);
    }
    Update();
    CheckRowColChanged();
    if (FColSelection.Count() > 0) FGridStatus = grColSelect;
}

void TgxBaseGrid::EndRowMoving(bool Apply) {
    if (FRowMoveMarkDrawn) DrawRowMove();
    FRowMoveMarkDrawn = false;
    if (!Apply) {
        SetMouseCapture(false);
        return;
    }
    const int From = FMoveStart;
    const int To = FMovePos;
    if (To >= 1 && To != From && !FRowSelection.GetSelected(To)) {
        const int DataRow = GetDataRow(Row());
        MoveRowRange(From, To);
        const int Now = GetDisplayRow(DataRow);
        if (Now >= 1 && Now != Row()) SetCurrentPositionAndDraw(Col(), Now, true, true);
    }
    Update();
    CheckRowColChanged();
    if (FRowSelection.Count() > 0) FGridStatus = grRowSelect;
}

} // namespace grid
