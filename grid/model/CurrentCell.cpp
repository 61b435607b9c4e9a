#include "grid/model/CurrentCell.h"

#include "grid/foundation/GridCommonVariant.h"
#include "grid/model/BaseGrid.h"

namespace grid {

int TgxCurrentCell::GetDataCol() const {
    return FGrid->InGridState() ? FGrid->GetDataCol(FGrid->Col()) : -1;
}

int TgxCurrentCell::GetDataRow() const {
    return FGrid->InGridState() ? FGrid->GetDataRow(FGrid->Row()) : -1;
}

Variant TgxCurrentCell::GetValue() {
    if (!FGrid->InGridState()) return Variant();
    const int Col = GetDataCol();
    const int Row = GetDataRow();
    if (ValueSet(Col, Row)) return FBuffer;
    if (Col < 1 || Col > FGrid->GetGridColCount() || Row < 1 || Row > FGrid->GetGridRowCount())
        return Variant();
    return FGrid->GetCellValue(Col, Row);
}

void TgxCurrentCell::SetBuffer(const Variant& Value, bool OwnsObject) {
    if (!FGrid->InGridState()) return;
    ClearBuffer();
    FBufferCol = GetDataCol();
    FBufferRow = GetDataRow();
    FStretchDefault = FShrinkDefault = FCenterDefault = true;
    FKeepAspectDefault = false;
    FTransparentColor = clNone;
    FBuffer = Value;
    FOwnsObject = OwnsObject;
}

void TgxCurrentCell::ClearBuffer() {
    FBufferCol = FBufferRow = -1;
    if (FOwnsObject) delete VariantToObject(FBuffer);
    FBuffer = Variant();
    FOwnsObject = false;
}

bool TgxCurrentCell::ValueSet(int DataCol, int DataRow) const {
    return !FBuffer.IsEmpty() && FBufferCol == DataCol && FBufferRow == DataRow;
}

int TgxCurrentCell::GetTag() const {
    return FGrid->InGridState() ? FGrid->GetCellTag(GetDataCol(), GetDataRow()) : 0;
}

void TgxCurrentCell::SetTag(int Value) {
    if (FGrid->InGridState()) FGrid->SetCellTag(GetDataCol(), GetDataRow(), Value);
}

int TgxCurrentCell::GetTextHeight() const {
    return FGrid->InGridState() ? FGrid->GetCellTextHeight(GetDataCol(), GetDataRow()) : 0;
}

int TgxCurrentCell::GetTextLines() const {
    return FGrid->InGridState() ? FGrid->GetCellTextLines(GetDataCol(), GetDataRow()) : 0;
}

void TgxCurrentCell::MoveTo(int DataCol, int DataRow) {
    if (!FGrid->CheckIndex(itCol, DataCol, FGrid->GetGridColCount(), 1)) return;
    if (!FGrid->CheckIndex(itRow, DataRow, FGrid->GetGridRowCount(), 1)) return;
    if (!FGrid->InGridState()) return;
    FGrid->SetCurrentCell(FGrid->GetDisplayCol(DataCol), FGrid->GetDisplayRow(DataRow));
}

void TgxCurrentCell::Refresh() {
    if (!FGrid->InGridState()) return;
    ClearBuffer();
    if (FGrid->Row() > 0) FGrid->CheckInvalidateCell(FGrid->Col(), FGrid->Row());
}

} // namespace grid
