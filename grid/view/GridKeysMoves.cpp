// The moves of the current cell by key: up and down, page up and down,
// the Ctrl moves to the edges, and Tab, Enter and their mirrors. Each move
// ends the running edit towards its target first and stays put when the
// edit refuses to end.
#include "grid/model/BaseGrid.h"
#include "grid/model/CurrentCell.h"
#include "grid/view/SelectionMarks.h"

#include <algorithm>

namespace grid {

namespace {

bool RowSelecting(const TgxBaseGrid& Grid) {
    return Grid.GridStatus() == grRowSelect;
}

// Scrolling around the in-place control when the cell can be edited (or
// shows the focus frame), else around the row's mark.
TgxBaseGrid::TgxScrollMode EditScrollMode(TgxBaseGrid& Grid) {
    return !Grid.CurCellReadOnly() || Grid.FocusRectActive() ? TgxBaseGrid::smGridControl
                                                             : TgxBaseGrid::smRowSelect;
}

// Puts the current cell on row Target of its column, scrolling to NewTop
// when the top row has to change, and repaints the row marks of the row left
// and the row reached.
void StepCurrentRow(TgxBaseGrid& Grid, int Target, int NewTop) {
    const bool TopStays = NewTop == Grid.TopRow();
    Grid.HideGridControl(TopStays);
    if (TopStays) Grid.ClearCurrentFocusRect(false);
    Grid.SetControlSelectMode(gxAll);
    const int OldRow = Grid.Row();
    Grid.SetCurrentPosition(Grid.Col(), Target, true, TopStays);
    if (!TopStays) Grid.ScrollGrid(Grid.LeftCol(), NewTop, EditScrollMode(Grid));
    Grid.ShowGridControl();
    Grid.DrawCurrentFocusRect(false);
    Grid.CheckRowColChanged();
    Grid.CheckInvalidateCell(0, OldRow);
    Grid.CheckInvalidateCell(0, Grid.Row());
}

} // namespace

// ---- up and down
// ---------------------------------------------------------------------------------

void TgxBaseGrid::KeyDownVK_Down() {
    if (!CanMoveToPos(Col(), Row())) return;
    if (!InEditMode() && !FocusRectActive()) {
        VK_DownRowSelect();
        return;
    }
    int Target = 0;
    if (!GetNextRow(Row(), CanSkipReadOnly(), false, Target)) {
        int C = 0;
        if (FGridMode == gmEditInsert && FInsertionRowShown && Row() < RowCount() - 1)
            Target = RowCount() - 1; // below the last row waits the insertion row
        else if (!GetNextDownCell(Col(), Row(), false, C, Target))
            return;
    }
    if (Target <= Row() || Target >= RowCount() || !CanMoveToPos(Col(), Target)) return;
    if (!CheckEndEdit(GetDataCol(Col()), GetDataRow(Target), true)) return;
    int NewTop = TopRow();
    MoveRowIntoView(Target, NewTop);
    FRefocusOnKeyUp = FKeyNavigation;
    StepCurrentRow(*this, Target, NewTop);
}

void TgxBaseGrid::KeyDownVK_Up() {
    if (!CanMoveToPos(Col(), Row())) return;
    if (!InEditMode() && !FocusRectActive()) {
        VK_UpRowSelect();
        return;
    }
    int Target = 0;
    if (!GetPrevRow(Row(), CanSkipReadOnly(), false, Target)) {
        int C = 0;
        if (!GetNextUpCell(Col(), Row(), false, C, Target)) return;
    }
    if (Target >= Row() || Target < 1) return;
    if (!CheckEndEdit(GetDataCol(Col()), GetDataRow(Target), true)) return;
    int NewTop = TopRow();
    if (Target < TopRow() && TopRow() > FixedRows()) NewTop = std::max(Target, MinTopRow());
    FRefocusOnKeyUp = FKeyNavigation;
    StepCurrentRow(*this, Target, NewTop);
}

namespace {

// The row selection restarts at Target, and the highlight goes with it:
// the rows left are drawn plain, the target drawn selected (off screen it
// shows as the scroll uncovers it).
void SelectOnlyRow(TgxBaseGrid& Grid, int Target) {
    UnselectRowsBut(Grid, Target);
    MarkRow(Grid, Target, true);
}

// A move of the current row without editing: the row selection of a
// row-selecting grid follows it.
void RowSelectMove(TgxBaseGrid& Grid, int Target) {
    const bool Selecting = RowSelecting(Grid);
    Grid.ClearCurrentFocusRect(false);
    Grid.CheckInvalidateCell(0, Grid.Row());
    int NewTop = Grid.TopRow();
    if (Target < Grid.TopRow() && Target >= Grid.FixedRows())
        NewTop = Target;
    else
        Grid.MoveRowIntoView(Target, NewTop);
    if (Selecting) SelectOnlyRow(Grid, Target);
    Grid.SetCurrentPositionAndDraw(Grid.Col(), Target, true, true);
    if (NewTop != Grid.TopRow()) Grid.MoveTopLeft(Grid.LeftCol(), NewTop);
    Grid.DrawCurrentFocusRect(false);
    Grid.CheckRowColChanged();
    if (Selecting) ShowColouredChange(Grid);
}

} // namespace

void TgxBaseGrid::VK_DownRowSelect() {
    int Target = 0;
    if (!GetNextRow(Row(), false, InRowSelectMode(), Target) || Target >= RowCount()) return;
    if (!CanMoveToPos(Col(), Target)) return;
    RowSelectMove(*this, Target);
}

void TgxBaseGrid::VK_UpRowSelect() {
    int Target = 0;
    if (!GetPrevRow(Row(), false, InRowSelectMode(), Target) || Target < 1) return;
    RowSelectMove(*this, Target);
}

// ---- pages
// -----------------------------------------------------------------------------------------

namespace {

// Moves to a row found by a page key, scrolling to NewTop.
void PageMove(TgxBaseGrid& Grid, int Target, int NewTop) {
    Grid.HideGridControl(false);
    Grid.ClearCurrentFocusRect(false);
    Grid.CheckInvalidateCell(0, Grid.Row());
    const bool Selecting = RowSelecting(Grid);
    if (Selecting) SelectOnlyRow(Grid, Target);
    Grid.SetCurrentPositionAndDraw(Grid.Col(), Target, true, true);
    if (NewTop != Grid.TopRow()) Grid.MoveTopLeft(Grid.LeftCol(), NewTop);
    Grid.ShowGridControl();
    Grid.DrawCurrentFocusRect(false);
    Grid.CheckRowColChanged();
    if (Selecting) ShowColouredChange(Grid);
}

} // namespace

void TgxBaseGrid::KeyDownVK_Prior() {
    if (!CanMoveToPos(Col(), Row())) return;
    const bool RowSelect = RowSelecting(*this);
    const int Top = TopMostRow(CanSkipReadOnly(), RowSelect);
    if (Top == 0 || Top >= Row()) return;
    const int V = std::max(GetVisibleRowCount(), 1);
    int Target = Top;
    int Found = 0;
    if (Row() - V > Top && GetPrevRow(Row() - V + 1, CanSkipReadOnly(), RowSelect, Found))
        Target = Found;
    Target = std::max(Target, Top);
    if (Target == Row() && Top < Row()) --Target;
    if (Target == Row()) return;
    if (!CheckEndEdit(GetDataCol(Col()), GetDataRow(Target), true)) return;
    const int D = std::max(Row() - Target, V);
    const int NewTop = std::max(TopRow() - D, FixedRows());
    FRefocusOnKeyUp = FKeyNavigation;
    PageMove(*this, Target, NewTop);
}

int TgxBaseGrid::CalcNewTopRowVK_Next(int Target) {
    const int V = std::max(GetVisibleRowCount(), 1);
    const int F = Row() < FixedRows() ? FixedRows() - Row() : 0;
    int C = Target - Row() - F > V ? std::min(Target + TopRow() - Row() - F, RowCount() - 1)
                                   : std::min(V + TopRow(), RowCount() - 1);
    int H = RowHeights(C) + FFixedHeight;
    int R = C + 1;
    while (R < RowCount() && H + RowHeights(R) <= ClientHeight()) {
        H += RowHeights(R);
        ++R;
    }
    if (R < RowCount()) return C;
    // The end of the grid: the top that lets the last rows fill the window.
    while (C - 1 >= FixedRows() && H + RowHeights(C - 1) <= ClientHeight()) {
        --C;
        H += RowHeights(C);
    }
    return C;
}

void TgxBaseGrid::KeyDownVK_Next() {
    if (!CanMoveToPos(Col(), Row())) return;
    const bool RowSelect = RowSelecting(*this);
    const int Bottom = BottomMostRow(CanSkipReadOnly(), RowSelect);
    if (Bottom == 0 || Bottom <= Row()) return;
    const int V = std::max(GetVisibleRowCount(), 1);
    int Target = Bottom;
    int Found = 0;
    if (Row() < FixedRows()) {
        if (GetNextRow(V + FixedRows() - 1, CanSkipReadOnly(), RowSelect, Found)) Target = Found;
    } else if (Row() + V < Bottom) {
        if (GetNextRow(Row() + V - 1, CanSkipReadOnly(), RowSelect, Found)) Target = Found;
    }
    Target = std::min(Target, Bottom);
    if (Target == Row() && Bottom > Row()) ++Target;
    if (Target == Row()) return;
    if (!CheckEndEdit(GetDataCol(Col()), GetDataRow(Target), true)) return;
    int NewTop = TopRow();
    if (MaxVisibleRow() <= RowCount() - 1)
        NewTop = std::max(CalcNewTopRowVK_Next(Target), FixedRows());
    FRefocusOnKeyUp = FKeyNavigation;
    PageMove(*this, Target, NewTop);
}

// ---- Ctrl moves
// ----------------------------------------------------------------------------------------

namespace {

// A move to the grid's edge: the edit ends towards it, the row selection
// restarts there, and the cell is put in view.
void EdgeMove(TgxBaseGrid& Grid, int TargetCol, int TargetRow, TgxChangeTopLeft Change) {
    if (TargetCol < 1 || TargetRow < 1) return;
    if (TargetCol == Grid.Col() && TargetRow == Grid.Row()) {
        Grid.PutInView(TargetCol, TargetRow, vpNone, true, false, Change);
        return;
    }
    if (!Grid.CheckEndEdit(Grid.GetDataCol(TargetCol), Grid.GetDataRow(TargetRow), true)) return;
    const bool Selecting = RowSelecting(Grid);
    if (Selecting) SelectOnlyRow(Grid, TargetRow);
    Grid.PutInView(TargetCol, TargetRow, vpNone, true, true, Change);
    Grid.CheckRowColChanged();
    if (Selecting) ShowColouredChange(Grid);
}

} // namespace

void TgxBaseGrid::KeyCtrl_Home() {
    const bool RowSelect = RowSelecting(*this);
    EdgeMove(*this, LeftMostCol(CanSkipReadOnly(), RowSelect),
             TopMostRow(CanSkipReadOnly(), RowSelect), ctlBoth);
}

void TgxBaseGrid::KeyCtrl_End() {
    const bool RowSelect = RowSelecting(*this);
    EdgeMove(*this, RightMostCol(CanSkipReadOnly(), RowSelect),
             BottomMostRow(CanSkipReadOnly(), RowSelect), ctlBoth);
}

void TgxBaseGrid::KeyCtrl_Up() {
    EdgeMove(*this, Col(), TopMostRow(CanSkipReadOnly(), RowSelecting(*this)), ctlBoth);
}

void TgxBaseGrid::KeyCtrl_Down() {
    EdgeMove(*this, Col(), BottomMostRow(CanSkipReadOnly(), RowSelecting(*this)), ctlBoth);
}

void TgxBaseGrid::KeyCtrl_Left() {
    EdgeMove(*this, LeftMostCol(CanSkipReadOnly(), false), Row(),
             FGridMode == gmListBox ? ctlLeft : ctlBoth);
}

void TgxBaseGrid::KeyCtrl_Right() {
    EdgeMove(*this, RightMostCol(CanSkipReadOnly(), false), Row(),
             FGridMode == gmListBox ? ctlLeft : ctlBoth);
}

// ---- Tab, Enter and their mirrors
// ------------------------------------------------------------------------

namespace {

// Ends the edit in place: the row is written and the cell's text selected.
void EndInPlace(TgxBaseGrid& Grid) {
    if (!Grid.CheckEndEdit(-1, -1, true)) return;
    Grid.CheckInvalidateRow(Grid.Row());
    Grid.CurrentCell()->SelectAll();
}

} // namespace

void TgxBaseGrid::KeyDownVK_Tab(Word Key) {
    if (!CanMoveToPos(Col(), Row())) return;
    const bool EditableOnly = CanSkipReadOnly();
    int C = 0;
    int R = 0;
    bool Found = GetNextCell(Col(), Row(), EditableOnly, C, R) && (FTabRowWrap || R == Row());
    if (!Found || !CanMoveToPos(C, R)) {
        if (Key == VK_RETURN) EndInPlace(*this);
        return;
    }
    if (!CheckEndEdit(GetDataCol(C), GetDataRow(R), true)) return;
    // Ending the edit may have changed the grid (a row appended or taken back).
    Found = GetNextCell(Col(), Row(), EditableOnly, C, R) && (FTabRowWrap || R == Row());
    if (!Found) {
        if (Key == VK_RETURN) EndInPlace(*this);
        return;
    }
    FRefocusOnKeyUp = FKeyNavigation;
    PutInView(C, R, vpNone, true, true, ctlBoth);
    CheckRowColChanged();
}

void TgxBaseGrid::ShiftKeyDownVK_Tab() {
    if (!CanMoveToPos(Col(), Row())) return;
    const bool EditableOnly = CanSkipReadOnly();
    int C = 0;
    int R = 0;
    if (!GetPrevCell(Col(), Row(), EditableOnly, C, R) || !(FTabRowWrap || R == Row())) return;
    if (!CanMoveToPos(C, R)) return;
    if (!CheckEndEdit(GetDataCol(C), GetDataRow(R), true)) return;
    if (!GetPrevCell(Col(), Row(), EditableOnly, C, R) || !(FTabRowWrap || R == Row())) return;
    FRefocusOnKeyUp = FKeyNavigation;
    PutInView(C, R, vpNone, true, true, ctlBoth);
    CheckRowColChanged();
}

} // namespace grid
