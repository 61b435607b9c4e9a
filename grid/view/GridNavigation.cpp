// The searches keyboard and mouse navigation use: the next or previous
// display column or row that is visible, selectable and, when asked, not
// read-only.
#include "grid/model/BaseGrid.h"
#include "grid/model/Columns.h"
#include "grid/model/Rows.h"

#include <algorithm>

namespace grid {

bool TgxBaseGrid::CanSkipReadOnly() const {
    return !GetInDesignMode() && FSkipReadOnly && FGridMode != gmListBox;
}

bool TgxBaseGrid::InRowSelectMode() const {
    return FGridMode == gmListBox && FRowSelectMode == rsSingle;
}

namespace {

struct TStopRule {
    bool SkipReadOnly;
    bool RowSelect;
    bool ListBox;
    bool SelectFixed;
    int Fixed;
    bool SelectableHere(int Position) const {
        return (!RowSelect && !ListBox) || Position >= Fixed || SelectFixed;
    }
    // The first two conditions of a stop; the forward column walk adds the
    // grid's own SkipReadOnly.
    bool Stops(int Position, bool ReadOnly) const {
        const bool Here = SelectableHere(Position);
        return (!ReadOnly && Here) || ((!SkipReadOnly || ListBox) && Here);
    }
};

} // namespace

bool TgxBaseGrid::GetNextCol(int DisplayCol, bool SkipReadOnlyCols, bool RowSelect,
                             int& NewCol) const {
    const TStopRule Rule{SkipReadOnlyCols, RowSelect, FGridMode == gmListBox, FSelectFixed,
                         FixedCols()};
    const int Last = GetGridColCount();
    for (NewCol = std::max(DisplayCol + 1, 1); NewCol <= Last; ++NewCol) {
        const TgxCol* Col = FCols->Item(GetDataCol(NewCol));
        if (!Col->Visible()) continue;
        if (Rule.Stops(NewCol, Col->ReadOnly()) || (Col->ReadOnly() && !FSkipReadOnly)) return true;
    }
    return false;
}

bool TgxBaseGrid::GetPrevCol(int DisplayCol, bool SkipReadOnlyCols, bool RowSelect,
                             int& NewCol) const {
    const TStopRule Rule{SkipReadOnlyCols, RowSelect, FGridMode == gmListBox, FSelectFixed,
                         FixedCols()};
    for (NewCol = std::min(DisplayCol - 1, GetGridColCount()); NewCol > 0; --NewCol) {
        const TgxCol* Col = FCols->Item(GetDataCol(NewCol));
        if (Col->Visible() && Rule.Stops(NewCol, Col->ReadOnly())) return true;
    }
    return false;
}

bool TgxBaseGrid::GetNextRow(int DisplayRow, bool SkipReadOnlyRows, bool RowSelect,
                             int& NewRow) const {
    const TStopRule Rule{SkipReadOnlyRows, RowSelect, FGridMode == gmListBox, FSelectFixed,
                         FixedRows()};
    const int Last = RowCount() - 1;
    for (NewRow = std::max(DisplayRow + 1, 1); NewRow <= Last; ++NewRow) {
        const int DataRow = GetDataRow(NewRow);
        if (IsRowVisible(DataRow) && Rule.Stops(NewRow, IsRowReadOnly(DataRow))) return true;
    }
    return false;
}

bool TgxBaseGrid::GetPrevRow(int DisplayRow, bool SkipReadOnlyRows, bool RowSelect,
                             int& NewRow) const {
    const TStopRule Rule{SkipReadOnlyRows, RowSelect, FGridMode == gmListBox, FSelectFixed,
                         FixedRows()};
    for (NewRow = std::min(DisplayRow - 1, RowCount() - 1); NewRow > 0; --NewRow) {
        const int DataRow = GetDataRow(NewRow);
        if (IsRowVisible(DataRow) && Rule.Stops(NewRow, IsRowReadOnly(DataRow))) return true;
    }
    return false;
}

int TgxBaseGrid::LeftMostCol(bool SkipReadOnlyCols, bool RowSelect) const {
    int Col = 0;
    return GetNextCol(0, SkipReadOnlyCols, RowSelect, Col) ? Col : 0;
}

int TgxBaseGrid::RightMostCol(bool SkipReadOnlyCols, bool RowSelect) const {
    int Col = 0;
    return GetPrevCol(GetGridColCount() + 1, SkipReadOnlyCols, RowSelect, Col) ? Col : 0;
}

int TgxBaseGrid::TopMostRow(bool SkipReadOnlyRows, bool RowSelect) const {
    int Row = 0;
    return GetNextRow(0, SkipReadOnlyRows, RowSelect, Row) && Row <= GetGridRowCount() ? Row : 0;
}

int TgxBaseGrid::BottomMostRow(bool SkipReadOnlyRows, bool RowSelect) const {
    int Row = 0;
    if (GetPrevRow(GetGridRowCount() + 1, SkipReadOnlyRows, RowSelect, Row)) return Row;
    return FGridMode == gmEditInsert && InsertionRowShown() ? RowCount() - 1 : 0;
}

} // namespace grid
