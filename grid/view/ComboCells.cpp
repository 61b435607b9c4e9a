// Which combo a cell drops down: the cell's own, else its column's or its
// row's in DrawOverlap order; none where the grid's shared list serves.
#include "grid/foundation/GridCommonVariant.h"
#include "grid/model/BaseGrid.h"
#include "grid/model/Columns.h"
#include "grid/model/Combo.h"
#include "grid/model/Rows.h"

namespace grid {

TgxCombo* TgxBaseGrid::GiveCellCombo(int DataCol, int DataRow) {
    if (DataCol < 1 || DataCol > GetGridColCount() || DataRow < 1 || DataRow > GetGridRowCount())
        return nullptr;
    const bool Design = GetInDesignMode();
    if (GetCellButtonType(DataCol, DataRow) == btCombo &&
        (!GetCellParentCombo(DataCol, DataRow) || Design))
        if (auto* Own = dynamic_cast<TgxCombo*>(
                VariantToObject(GetCellProperty(DataCol, DataRow, prCombo))))
            return Own;
    const TgxCol* Column = GetCol(DataCol);
    const TgxRow* Line = GetRow(DataRow);
    const bool ColIsCombo = Column->ButtonType() == btCombo;
    const bool RowIsCombo = Line && Line->ButtonType() == btCombo;
    TgxCombo* ColCombo = Column->GetCombo();
    TgxCombo* RowCombo = Line ? Line->GetCombo() : nullptr;
    if (DrawOverlap() == doDrawRowOnTop) {
        if (RowIsCombo && (!Line->ParentCombo() || Design)) return RowCombo;
        return ColIsCombo ? ColCombo : nullptr;
    }
    if (ColIsCombo && (!Column->ParentCombo() || Design)) return ColCombo;
    return RowIsCombo ? RowCombo : nullptr;
}

TgxCombo* TgxBaseGrid::ActiveCombo(int DataCol, const Variant& DataRow) {
    if (!CheckIndex(itCol, DataCol, GetGridColCount(), 1)) return nullptr;
    const int Row = DataRow.AsInteger();
    if (!CheckIndex(itRow, Row, GetGridRowCount(), 0)) return nullptr;
    return GiveCellCombo(DataCol, Row);
}

} // namespace grid
