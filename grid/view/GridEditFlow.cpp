// The cell and row edit transaction: starting, ending (with the mask check
// on leaving a cell), the two-step undo, the appended row of an edit-insert
// grid and the reports of a new current cell.
//
// While a cell is edited its value lives in the current cell's buffer; it
// reaches the grid's store only when the cell edit ends. A refused end (a
// mask, a handler) therefore keeps the typed text in the editor and the
// old value in the cell.
#include "grid/foundation/CellStore.h"
#include "grid/foundation/MaskDefs.h"
#include "grid/model/BaseGrid.h"
#include "grid/model/CurrentCell.h"
#include "grid/model/GridLinks.h"
#include "grid/model/InplaceControl.h"

namespace grid {

namespace {

// Sets a flag for its scope and restores it however the scope is left.
class TFlagScope {
public:
    TFlagScope(bool& Flag, bool Value) : FFlag(Flag), FOld(Flag) { Flag = Value; }
    ~TFlagScope() { FFlag = FOld; }
    TFlagScope(const TFlagScope&) = delete;
    TFlagScope& operator=(const TFlagScope&) = delete;

private:
    bool& FFlag;
    bool FOld;
};

} // namespace

// ---- starting ---------------------------------------------------------------------------------

bool TgxBaseGrid::StartEdit() {
    if (!InEditState() || GetCurrentDataCol() < 1 || GetCurrentDataRow() < 1) return false;
    if (!StartCellEdit() || !StartRowEdit()) return false;
    FCellEditing = FRowEditing = FRowModified = true;
    CheckInvalidateRow(Row());
    return true;
}

bool TgxBaseGrid::EditRow() {
    if (FRowEditing) return true;
    if (!StartRowEdit()) return false;
    FRowEditing = FRowModified = true;
    return true;
}

bool TgxBaseGrid::StartCellEdit() {
    if (FCellEditing) return true;
    bool Cancel = false;
    DoStartCellEdit(GetCurrentDataCol(), GetCurrentDataRow(), Cancel);
    return !Cancel;
}

bool TgxBaseGrid::StartRowEdit() {
    if (FRowEditing) return true;
    bool Cancel = false;
    const int DataRow = GetCurrentDataRow();
    DoStartRowEdit(DataRow, Cancel);
    if (Cancel) return false;
    if (FStoreData && DataStore() && DataRow >= 1) DataStore()->BackupRow(DataRow);
    return true;
}

void TgxBaseGrid::CellEdit(int DataCol, int DataRow, bool ByUser) {
    DoCellEdit(DataCol, DataRow, ByUser);
}

// ---- ending ----------------------------------------------------------------------------------

bool TgxBaseGrid::CheckEndEdit(int DataCol, int DataRow, bool ByUser) {
    if (FInEndEditCheck) return true;
    TFlagScope Guard(FInEndEditCheck, true);
    bool Result = true;
    if (FCellEditing || FRowEditing) {
        if (DataRow != GetCurrentDataRow())
            Result = CanEndEdit(ByUser);
        else if (DataCol != GetCurrentDataCol())
            Result = CanEndCellEdit(ByUser);
    }
    if (FEditorEventRaised) {
        FEditorEventRaised = false;
        DoHideEditor(GetCurrentDataCol(), GetCurrentDataRow());
    }
    return Result;
}

bool TgxBaseGrid::CanEndEdit(bool ByUser) {
    return CanEndCellEdit(ByUser) && CanEndRowEdit(ByUser);
}

bool TgxBaseGrid::CanEndCellEdit(bool) {
    if (!FCellEditing) return true;
    CheckSetAutoFillValue();
    if (!CheckMaskValue()) return false;
    // A value its cell cannot hold stays in the editor (the check names it
    // while the grid reports invalid operations).
    TgxCurrentCell* Cell = CurrentCell();
    const int DataCol = GetCurrentDataCol();
    const int DataRow = GetCurrentDataRow();
    const TgxControlType Type = GiveCellControlType(DataCol, DataRow);
    const bool Buffered = Cell->ValueSet(DataCol, DataRow);
    const Variant Value = Buffered ? CheckStrValue(Type, Cell->BufferValue()) : Variant();
    if (Buffered && !Value.IsEmpty() && !CheckVarType(Type, Value)) return false;
    if (!EndCellEdit()) return false;
    // The value the editor holds becomes the cell's.
    if (FStoreData && Buffered) SetDataValue(DataCol, DataRow, Type, Value);
    ResetCellEdit();
    return true;
}

bool TgxBaseGrid::EndCellEdit() {
    bool Cancel = false;
    try {
        DoEndCellEdit(GetCurrentDataCol(), GetCurrentDataRow(), Cancel);
    } catch (...) {
        // A failing handler refuses the end; the edit stays open.
        return false;
    }
    return !Cancel;
}

bool TgxBaseGrid::CanEndRowEdit(bool) {
    if (!FRowEditing) return true;
    if (!EndRowEdit()) return false;
    ResetEdit(GetCurrentDataRow());
    return true;
}

bool TgxBaseGrid::EndRowEdit() {
    bool Cancel = false;
    DoEndRowEdit(GetCurrentDataRow(), Cancel);
    if (Cancel) return false;
    if (FStoreData && DataStore()) DataStore()->ClearBackupRow();
    return true;
}

void TgxBaseGrid::ResetCellEdit() {
    FCellEditing = false;
    FCellEditEnded = true;
}

void TgxBaseGrid::ResetEdit(int DataRow) {
    if (!FRowEditing) return;
    if (DataRow >= 1 && DataRow <= GetGridRowCount() && FRowChangedIndicator == riOn &&
        FRowModified) {
        if (FChangedRows.Size() < RowCount()) FChangedRows.SetSize(RowCount());
        FChangedRows.SetBit(DataRow, true);
        CheckInvalidateCell(0, GetDisplayRow(DataRow));
    }
    FRowEditing = FCellEditEnded = FCellEditing = FRowAppendedByEdit = FRowModified = false;
}

void TgxBaseGrid::EndEdit(bool Cancel) {
    if (!Cancel) {
        CheckEndEdit(-1, -1, false);
        return;
    }
    bool KeepBuffer = false;
    bool Pending = false;
    UndoEdit(true, false, KeepBuffer, Pending);
}

// ---- the mask check on leaving a cell ---------------------------------------------------------

bool TgxBaseGrid::CheckMaskValue() {
    const int DataCol = GetCurrentDataCol();
    const int DataRow = GetCurrentDataRow();
    if (GiveCellControlType(DataCol, DataRow) != ctText) return true;
    AnsiString Name;
    if (!GiveCellMaskName(DataCol, DataRow, Name)) return true;
    TgxMaskItem* Mask = MaskLink()->GetMask(Name);
    if (!Mask || !Mask->GetEvaluate().Contains(mcOnExit)) return true;
    const Variant Value = CurrentCell()->GetValue();
    const AnsiString Text = Value.IsEmpty() || Value.IsNull() ? AnsiString() : Value.AsString();
    AnsiString Fill;
    if (!Mask->ValidInput(Text, Fill, static_cast<int>(Text.size()) + 1, true,
                          Mask->GetAutoFill().Contains(mcOnExit)))
        return ActivateInvalidMaskValue();
    if (!Fill.empty()) {
        const AnsiString Filled = Text + Fill;
        CurrentCell()->SetBuffer(Variant(Filled), false);
        if (FGridControl && FGridControl->IsEditControl()) {
            TFlagScope Loading(FLoadingControl, true);
            FGridControl->SetValue(Variant(Filled));
            FGridControl->SetSelStart(static_cast<int>(Filled.size()));
            FGridControl->SetSelLength(0);
        }
    }
    return true;
}

bool TgxBaseGrid::ActivateInvalidMaskValue() {
    bool Accept = false;
    DoInvalidMaskValue(GetCurrentDataCol(), GetCurrentDataRow(), Accept);
    return Accept;
}

bool TgxBaseGrid::ActivateInvalidMaskEdit(const AnsiString& Keys) {
    bool Accept = false;
    DoInvalidMaskEdit(Keys, GetCurrentDataCol(), GetCurrentDataRow(), Accept);
    return Accept;
}

// ---- undo --------------------------------------------------------------------------------------

bool TgxBaseGrid::CheckUndoRowEdit(bool UndoAll) {
    if (!FRowEditing) return false;
    return UndoAll || !(FCellEditing && FCellEditEnded);
}

bool TgxBaseGrid::UndoCellEdit(bool ByUser) {
    bool Cancel = false;
    DoUndoCellEdit(GetCurrentDataCol(), GetCurrentDataRow(), ByUser, Cancel);
    return !Cancel;
}

bool TgxBaseGrid::UndoRowEdit(bool ByUser, bool DoRow) {
    bool Cancel = false;
    const int DataRow = GetCurrentDataRow();
    DoUndoRowEdit(DataRow, ByUser, Cancel);
    if (Cancel) return false;
    if (DoRow && FStoreData && DataStore() && DataRow >= 1) DataStore()->RestoreBackupRow(DataRow);
    return true;
}

bool TgxBaseGrid::UndoEdit(bool UndoAll, bool ByUser, bool& KeepBuffer, bool& UndoPending) {
    TFlagScope Undoing(FUndoInProgress, true);
    const bool DoRow = CheckUndoRowEdit(UndoAll);
    const bool WasCellEditing = FCellEditing;
    UndoPending = DoRow || FCellEditing;
    KeepBuffer = true;
    if (FCellEditing && !UndoCellEdit(ByUser)) return false;
    if (DoRow && !UndoRowEdit(ByUser, DoRow)) return false;
    // The typed value goes; the control shows the cell's value again.
    if ((WasCellEditing && !ByUser) || (DoRow && !WasCellEditing)) KeepBuffer = false;
    if (WasCellEditing || DoRow) {
        CurrentCell()->ClearBuffer();
        if (FGridControl && InGridState() && Row() < RowCount()) {
            const int DataCol = GetCurrentDataCol();
            const int DataRow = GetCurrentDataRow();
            TFlagScope Loading(FLoadingControl, true);
            SetControlValue(DataRow >= 1 && DataRow <= GetGridRowCount()
                                ? GetCellValue(DataCol, DataRow)
                                : Variant(),
                            false, false);
            if (FControlSelectMode == gxCurrent) FGridControl->SelectAll();
        }
    }
    if (DoRow) {
        FCellEditing = FRowEditing = FCellEditEnded = FRowModified = false;
        if (FRowAppendedByEdit && FInsertionRowShown && Row() == RowCount() - 2) {
            // The fresh insertion row below goes; the row typed into stays
            // an appended row without a change, taken back when it is left.
            SetInsertionRow(false);
            SetNewRowCount(GetGridRowCount());
        }
        FRowAppendedByEdit = false;
        CheckInvalidateRow(Row());
    } else if (WasCellEditing) {
        FCellEditing = false;
        CheckInvalidateCell(Col(), Row());
    }
    return true;
}

// ---- the insertion row --------------------------------------------------------------------------

bool TgxBaseGrid::IsAppendRow(int DisplayRow) const {
    return IsInsertRow(DisplayRow) && FInsertionRowShown;
}

void TgxBaseGrid::CheckInsertionRow(bool Repaint) {
    if (FGridMode != gmEditInsert) return;
    const int Last = RowCount() - 1;
    if (Row() == Last && FInsertionRowShown) {
        // Entering the insertion row makes it a row of its own.
        SetInsertionRow(false);
        SetNewRowCount(GetGridRowCount() + 1);
        RowInserted(GetGridRowCount(), true);
        if (Repaint) CheckInvalidateRow(Last);
    } else if (FReportedDataRow == GetGridRowCount() && !FInsertionRowShown && Row() != Last) {
        // The appended row was left without anything typed into it.
        UndoInsertRow();
    }
}

void TgxBaseGrid::UndoInsertRow() {
    if (FGridMode != gmEditInsert || FInsertionRowShown) return;
    const int Old = GetGridRowCount();
    if (Old < 1) return;
    SetInsertionRow(true);
    SetNewRowCount(Old - 1);
    DeleteRowData(Old, Old);
    DoDeleteRow(Old, true);
    CheckInvalidateRow(RowCount() - 1);
}

void TgxBaseGrid::ShowInsertionRow() {
    if (FGridMode != gmEditInsert || FInsertionRowShown) return;
    FRowAppendedByEdit = false;
    SetInsertionRow(true);
    SetNewRowCount(GetGridRowCount());
}

void TgxBaseGrid::RowInserted(int DataRow, bool ByUser) {
    DoInsertRow(DataRow, ByUser);
}

// ---- reports of a new current cell
// -----------------------------------------------------------------

bool TgxBaseGrid::CheckColChanged() {
    const int DataCol = GetCurrentDataCol();
    if (DataCol == FReportedDataCol) return false;
    const int Old = FReportedDataCol;
    FReportedDataCol = DataCol;
    if (FGridMode != gmListBox) {
        DoColChanged(Old);
    }
    return true;
}

bool TgxBaseGrid::CheckRowChanged() {
    const int DataRow = GetCurrentDataRow();
    if (DataRow == FReportedDataRow) return false;
    const int Old = FReportedDataRow;
    FReportedDataRow = DataRow;
    DoRowChanged(Old, DataRow);
    return true;
}

void TgxBaseGrid::CheckRowColChanged() {
    const int OldCol = FReportedDataCol;
    const int OldRow = FReportedDataRow;
    const bool ColChanged = CheckColChanged();
    const bool RowChanged = CheckRowChanged();
    if (!ColChanged && !RowChanged) return;
    ResetComboSearchValue();
    // A drop-down is set up for the cell it opens on: back on a cell, its
    // list and calendar are set up afresh, with any definition changed since.
    ResetComboInit(false);
    ResetDateTimeInit();
    ActivateCellChanged(OldCol, FReportedDataCol, OldRow, FReportedDataRow);
}

void TgxBaseGrid::ActivateCellChanged(int OldCol, int NewCol, int OldRow, int NewRow) {
    if (FEditorEventRaised) {
        FEditorEventRaised = false;
        DoHideEditor(OldCol, OldRow);
    }
    DoCellChanged(OldCol, NewCol, OldRow, NewRow);
}

// ---- status reports
// ---------------------------------------------------------------------------------

void TgxBaseGrid::GridStatusChanged() {
    if (FGridStatus == FReportedGridStatus) return;
    if (FGridStatus != grNormal) {
        ClearCellBuffer();
        CheckEnableControl(false, true, gxCurrent);
        FControlSelectMode = gxCurrent;
    } else if (FAlwaysShowEditor) {
        // The selection is gone: an editor that is always shown comes back
        // over the current cell, its text selected as for a cell moved to.
        CheckEnableControl(true, true, gxAll);
    }
    const TgxGridStatus Old = FReportedGridStatus;
    FReportedGridStatus = FGridStatus;
    // The focus frame shows only without a selection: it goes with the first
    // selection and comes back with the last one, so its cell is painted anew.
    if ((Old == grNormal) != (FGridStatus == grNormal)) InvalidateFocusRect(Col(), Row(), true);
    DoGridStatusChanged(Old, FGridStatus);
}

void TgxBaseGrid::SetMouseStatus(TgxMouseStatus Value) {
    FMouseStatus = Value;
    MouseStatusChanged();
}

void TgxBaseGrid::MouseStatusChanged() {
    if (FMouseStatus == FReportedMouseStatus) return;
    if (InEditMode() && (FMouseStatus == msRowSelect || FMouseStatus == msColSelect ||
                         FMouseStatus == msCellSelect || FMouseStatus == msAllRowSelect))
        CheckInvalidateCell(Col(), Row());
    const TgxMouseStatus Old = FReportedMouseStatus;
    FReportedMouseStatus = FMouseStatus;
    DoMouseStatusChanged(Old, FMouseStatus);
}

void TgxBaseGrid::ResetChangedRowStatus() {
    const int DataRow = GetCurrentDataRow();
    if (DataRow >= 1 && DataRow < FChangedRows.Size() && FChangedRows.GetBit(DataRow))
        CheckInvalidateCell(0, Row());
    FChangedRows.SetSize(0);
    FChangedRows.SetSize(RowCount());
}

// ---- the current cell's buffer
// -----------------------------------------------------------------------

void TgxBaseGrid::ClearControlBuffer() {
    CurrentCell()->ClearBuffer();
}

void TgxBaseGrid::ClearCellBuffer() {
    CurrentCell()->ClearBuffer();
    FValueChanged = false;
}

void TgxBaseGrid::MoveCellBuffer(int DataCol, int DataRow) {
    TgxCurrentCell* Cell = CurrentCell();
    if (Cell->IsClear()) return;
    Cell->SetBufferCol(DataCol);
    Cell->SetBufferRow(DataRow);
}

bool TgxBaseGrid::StartCellChange(int, bool) {
    return true;
}

} // namespace grid
