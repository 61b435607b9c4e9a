#include "grid/view/SelectionMarks.h"

#include "grid/model/BaseGrid.h"

namespace grid {

// A selected position is drawn after it joins the selection (which may
// refuse it), an unselected one before it leaves, so the drawing always
// matches the state the selection ends in.
void MarkRow(TgxBaseGrid& Grid, int DisplayRow, bool Select) {
    TgxSelection& Sel = Grid.RowSelection();
    if (Sel.GetSelected(DisplayRow) == Select) return;
    if (Select) {
        Grid.AddRowSelection(DisplayRow, DisplayRow);
        if (Sel.GetSelected(DisplayRow)) Grid.InvertRow(DisplayRow, true);
    } else {
        Grid.InvertRow(DisplayRow, false);
        Grid.DeleteRowSelection(DisplayRow, DisplayRow);
    }
}

void MarkCol(TgxBaseGrid& Grid, int DisplayCol, bool Select) {
    TgxSelection& Sel = Grid.ColSelection();
    if (Sel.GetSelected(DisplayCol) == Select) return;
    if (Select) {
        Grid.AddColSelection(DisplayCol, DisplayCol);
        if (Sel.GetSelected(DisplayCol)) Grid.InvertCol(DisplayCol, ivBoth, nullptr, true);
    } else {
        Grid.InvertCol(DisplayCol, ivBoth, nullptr, false);
        Grid.DeleteColSelection(DisplayCol, DisplayCol);
    }
}

void UnselectRowsBut(TgxBaseGrid& Grid, int Keep) {
    TgxSelection& Sel = Grid.RowSelection();
    for (int R = Sel.First(); R != -1;) {
        const int Next = Sel.Next(R);
        if (R != Keep) MarkRow(Grid, R, false);
        R = Next;
    }
}

void ShowColouredChange(TgxBaseGrid& Grid) {
    if (Grid.SelectionColorEnabled() && Grid.HandleAllocated() && !Grid.Painting()) Grid.Update();
}

} // namespace grid
