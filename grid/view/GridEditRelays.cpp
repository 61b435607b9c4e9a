// The relays of editing, the current cell, rows and the date-time lists:
// the base grid decides when, a relay tells the application, and a derived
// grid may replace any of them. The gated ones keep quiet while the grid
// is being loaded.
#include "grid/model/BaseGrid.h"

namespace grid {

bool TgxBaseGrid::CanActivateEvent() const {
    return !IsLoading() && !Reading();
}

void TgxBaseGrid::DoStartCellEdit(int DataCol, int DataRow, bool& Cancel) {
    Cancel = false;
    if (OnStartCellEdit) OnStartCellEdit(this, DataCol, DataRow, Cancel);
}

void TgxBaseGrid::DoStartRowEdit(int DataRow, bool& Cancel) {
    Cancel = false;
    if (OnStartRowEdit) OnStartRowEdit(this, DataRow, Cancel);
}

void TgxBaseGrid::DoEndCellEdit(int DataCol, int DataRow, bool& Cancel) {
    Cancel = false;
    if (OnEndCellEdit) OnEndCellEdit(this, DataCol, DataRow, Cancel);
}

void TgxBaseGrid::DoEndRowEdit(int, bool& Cancel) {
    Cancel = false;
    if (OnEndRowEdit) OnEndRowEdit(this, GetCurrentDataRow(), Cancel);
}

void TgxBaseGrid::DoShowEditor(int DataCol, int DataRow, bool& Cancel) {
    Cancel = false;
    if (OnShowEditor) OnShowEditor(this, DataCol, DataRow, Cancel);
}

void TgxBaseGrid::DoHideEditor(int DataCol, int DataRow) {
    if (OnHideEditor) OnHideEditor(this, DataCol, DataRow);
}

void TgxBaseGrid::DoInvalidMaskValue(int DataCol, int DataRow, bool& Accept) {
    Accept = false;
    if (OnInvalidMaskValue) OnInvalidMaskValue(this, DataCol, DataRow, Accept);
}

void TgxBaseGrid::DoInvalidMaskEdit(const AnsiString& Keys, int DataCol, int DataRow,
                                    bool& Accept) {
    Accept = false;
    if (OnInvalidMaskEdit) OnInvalidMaskEdit(this, Keys, DataCol, DataRow, Accept);
}

void TgxBaseGrid::DoUndoCellEdit(int DataCol, int DataRow, bool ByUser, bool& Cancel) {
    Cancel = false;
    if (OnUndoCellEdit) OnUndoCellEdit(this, DataCol, DataRow, ByUser, Cancel);
}

void TgxBaseGrid::DoUndoRowEdit(int DataRow, bool ByUser, bool& Cancel) {
    Cancel = false;
    if (OnUndoRowEdit) OnUndoRowEdit(this, DataRow, ByUser, Cancel);
}

void TgxBaseGrid::DoCellEdit(int DataCol, int DataRow, bool ByUser) {
    if (OnCellEdit) OnCellEdit(this, DataCol, DataRow, ByUser);
}

void TgxBaseGrid::DoCellChanged(int OldCol, int NewCol, int OldRow, int NewRow) {
    if (OnCellChanged && CanActivateEvent()) OnCellChanged(this, OldCol, NewCol, OldRow, NewRow);
}

void TgxBaseGrid::DoRowChanged(int OldRow, int NewRow) {
    if (OnRowChanged && CanActivateEvent()) OnRowChanged(this, OldRow, NewRow);
}

void TgxBaseGrid::DoDeleteRow(int DataRow, bool ByUser) {
    if (OnDeleteRow && CanActivateEvent()) OnDeleteRow(this, DataRow, ByUser);
}

void TgxBaseGrid::DoInsertRow(int DataRow, bool ByUser) {
    if (OnInsertRow && CanActivateEvent()) OnInsertRow(this, DataRow, ByUser);
}

void TgxBaseGrid::DoDateTimeInit(TgxDateTimeDefComponent* Def, int DataCol, int DataRow) {
    if (OnDateTimeInit) OnDateTimeInit(this, Def, DataCol, Variant(DataRow));
}

void TgxBaseGrid::DoDateTimeDropDown(TgxDateTimeDefComponent* Def, int DataCol, int DataRow) {
    if (OnDateTimeDropDown) OnDateTimeDropDown(this, Def, DataCol, Variant(DataRow));
}

void TgxBaseGrid::DoDateTimeRollUp(TgxDateTimeDefComponent* Def, int DataCol, int DataRow) {
    if (OnDateTimeRollUp) OnDateTimeRollUp(this, Def, DataCol, Variant(DataRow));
}

void TgxBaseGrid::DoDateTimeGetValue(TgxDateTimeDefComponent* Def, int DataCol, int DataRow,
                                     Variant& Value) {
    if (OnDateTimeGetValue) OnDateTimeGetValue(this, Def, DataCol, DataRow, Value);
}

} // namespace grid
