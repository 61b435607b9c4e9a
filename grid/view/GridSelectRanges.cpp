// The range bookkeeping on the column and row marks: adding, removing and
// toggling spans of display positions while the counts, the first and last
// selected positions, the grid status and the row anchor stay exact, and
// the changes are collected until they are reported.
#include "grid/model/BaseGrid.h"
#include "grid/model/Columns.h"

#include <utility>

namespace grid {

namespace {

// Orders the span and cuts it to 1 .. Last; false when nothing is left.
bool PrepareSpan(int& From, int& To, int Last) {
    if (To < From) std::swap(From, To);
    To = std::min(To, Last);
    if (From < 1) From = 1;
    return To >= 1 && From <= To;
}

int SelectIndex(TgxSelectType Type) {
    return static_cast<int>(Type);
}

} // namespace

// ---- columns --------------------------------------------------------------------------------

void TgxBaseGrid::AddColSelection(int FromCol, int ToCol) {
    if (!PrepareSpan(FromCol, ToCol, ColCount() - 1)) return;
    for (int C = FromCol; C <= ToCol; ++C) {
        if (FColSelection.GetSelected(C)) continue;
        const int DataCol = GetDataCol(C);
        if (DataCol < 1 || DataCol >= FCols->Count() || !FCols->Item(DataCol)->Visible()) continue;
        SetSelectChanged(stColSelect);
        FColSelection.SetSelected(C, true);
    }
    if (FColSelection.Count() > 0 && FGridStatus == grNormal) FGridStatus = grColSelect;
}

void TgxBaseGrid::DeleteColSelection(int FromCol, int ToCol) {
    if (FColSelection.Count() == 0) return;
    if (!PrepareSpan(FromCol, ToCol, ColCount() - 1)) return;
    if (FromCol <= FColSelection.First() && ToCol >= FColSelection.Last()) {
        SetSelectChanged(stColSelect);
        FColSelection.Reset();
    } else {
        int C = FColSelection.GetSelected(FromCol) ? FromCol : FColSelection.Next(FromCol);
        while (C != -1 && C <= ToCol) {
            const int Next = FColSelection.Next(C);
            SetSelectChanged(stColSelect);
            FColSelection.SetSelected(C, false);
            C = Next;
        }
    }
    if (FColSelection.Count() == 0 && FGridStatus == grColSelect) FGridStatus = grNormal;
}

void TgxBaseGrid::ChangeColSelection(int FromCol, int ToCol) {
    if (FColSelection.Count() == 0) {
        AddColSelection(FromCol, ToCol);
        return;
    }
    if (!PrepareSpan(FromCol, ToCol, ColCount() - 1)) return;
    for (int C = FromCol; C <= ToCol; ++C) {
        const int DataCol = GetDataCol(C);
        if (DataCol < 1 || DataCol >= FCols->Count() || !FCols->Item(DataCol)->Visible()) continue;
        SetSelectChanged(stColSelect);
        FColSelection.SetSelected(C, !FColSelection.GetSelected(C));
    }
    if (FColSelection.Count() == 0 && FGridStatus == grColSelect)
        FGridStatus = grNormal;
    else if (FColSelection.Count() > 0 && FGridStatus == grNormal)
        FGridStatus = grColSelect;
}

void TgxBaseGrid::NewColSelection(int FromCol, int ToCol) {
    DeleteAllColSelection();
    AddColSelection(FromCol, ToCol);
}

void TgxBaseGrid::DeleteAllColSelection() {
    DeleteColSelection(1, ColCount() - 1);
}

int TgxBaseGrid::NumberOfColsSelected(int From, int To) const {
    return FColSelection.RangeCount(From, To);
}

// ---- rows -----------------------------------------------------------------------------------

void TgxBaseGrid::AddRowSelection(int FromRow, int ToRow) {
    if (!PrepareSpan(FromRow, ToRow, RowCount() - 1)) return;
    for (int R = FromRow; R <= ToRow; ++R) {
        if (FRowSelection.GetSelected(R)) continue;
        const int DataRow = GetDataRow(R);
        if (DataRow < 1 || !IsRowVisible(DataRow)) continue;
        if (!CanSelectRow(FSelAnchorRow, Variant(DataRow))) continue;
        SetSelectChanged(stRowSelect);
        FRowSelection.SetSelected(R, true);
        if (FRowSelection.Count() == 1) FSelAnchorRow = R;
    }
    if (FRowSelection.Count() > 0 && FGridStatus == grNormal) FGridStatus = grRowSelect;
}

void TgxBaseGrid::DeleteRowSelection(int FromRow, int ToRow) {
    if (FRowSelection.Count() == 0) {
        FSelAnchorRow = -1;
        return;
    }
    if (!PrepareSpan(FromRow, ToRow, RowCount() - 1)) return;
    if (FromRow <= FRowSelection.First() && ToRow >= FRowSelection.Last()) {
        SetSelectChanged(stRowSelect);
        FRowSelection.Reset();
    } else {
        int R = FRowSelection.GetSelected(FromRow) ? FromRow : FRowSelection.Next(FromRow);
        while (R != -1 && R <= ToRow) {
            const int Next = FRowSelection.Next(R);
            SetSelectChanged(stRowSelect);
            FRowSelection.SetSelected(R, false);
            if (FRowSelection.Count() == 1) FSelAnchorRow = R;
            R = Next;
        }
    }
    if (FRowSelection.Count() == 0) {
        FSelAnchorRow = -1;
        if (FGridStatus == grRowSelect) FGridStatus = grNormal;
    }
}

void TgxBaseGrid::ChangeRowSelection(int FromRow, int ToRow) {
    if (FRowSelection.Count() == 0) {
        AddRowSelection(FromRow, ToRow);
        return;
    }
    if (!PrepareSpan(FromRow, ToRow, GetGridRowCount())) return;
    for (int R = FromRow; R <= ToRow; ++R) {
        const int DataRow = GetDataRow(R);
        if (DataRow < 1 || !IsRowVisible(DataRow)) continue;
        if (!CanSelectRow(FSelAnchorRow, Variant(DataRow))) continue;
        const bool Select = !FRowSelection.GetSelected(R);
        SetSelectChanged(stRowSelect);
        FRowSelection.SetSelected(R, Select);
        if (FRowSelection.Count() == 1) FSelAnchorRow = R;
    }
    if (FRowSelection.Count() == 0) {
        FSelAnchorRow = -1;
        if (FGridStatus == grRowSelect) FGridStatus = grNormal;
    } else if (FGridStatus == grNormal) {
        FGridStatus = grRowSelect;
    }
}

void TgxBaseGrid::NewRowSelection(int FromRow, int ToRow) {
    DeleteAllRowSelection();
    AddRowSelection(FromRow, ToRow);
}

void TgxBaseGrid::DeleteAllRowSelection() {
    DeleteRowSelection(1, RowCount() - 1);
}

int TgxBaseGrid::NumberOfRowsSelected(int From, int To) const {
    return FRowSelection.RangeCount(From, To);
}

// ---- reporting ------------------------------------------------------------------------------

void TgxBaseGrid::SetSelectChanged(TgxSelectType SelectType) {
    FSelectChanged[SelectIndex(SelectType)] = true;
}

void TgxBaseGrid::SelectChanged(TgxSelectType SelectType, bool ByUser) {
    bool& Pending = FSelectChanged[SelectIndex(SelectType)];
    if (!Pending) return;
    Pending = false;
    if (!IsLoading()) DoSelectChanged(SelectType, ByUser);
}

void TgxBaseGrid::SelectionsChanged(bool ByUser) {
    SelectChanged(stRowSelect, ByUser);
    SelectChanged(stColSelect, ByUser);
    SelectChanged(stCellSelect, ByUser);
}

} // namespace grid
