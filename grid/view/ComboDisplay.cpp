// Opening a combo cell's list, setting the list up from the cell's combo,
// the events around it, and carrying a chosen row back into the cell.
#include "grid/foundation/GridCommonVariant.h"
#include "grid/model/BaseGrid.h"
#include "grid/model/Columns.h"
#include "grid/model/Combo.h"
#include "grid/model/CurrentCell.h"
#include "grid/model/GridGuards.h"
#include "grid/view/DropDownForm.h"
#include "platform/gui/WindowPos.h"

namespace grid {

namespace {

void FocusTheGrid(TgxBaseGrid* Grid) {
    if (Grid->HandleAllocated() && Grid->CanFocus() && !Grid->Focused()) Grid->SetFocus();
}

} // namespace

// ---- the concrete grid makes the list -------------------------------------------------------

TgxCombo* TgxCustomGrid::CreateCombo() {
    return new TgxCombo(this);
}

TgxComboGrid* TgxCustomGrid::CreateComboGrid() {
    return new TgxComboGrid(GetComboForm());
}

// ---- opening ------------------------------------------------------------------------------

void TgxBaseGrid::DisplayCombo(int DataCol, int DataRow) {
    CheckComboCreated();
    CheckDropDownOff(false);
    InternalShowCombo(DataCol, DataRow);
    RegisterGridHooks(this);
    FocusTheGrid(this);
    // The list does not scroll by itself before the mouse has been in it.
    FCombo->GetGrid()->SetScrollHold(true);
}

void TgxBaseGrid::ShowCombo() {
    if (!CurrentCellInView()) return;
    const int DataCol = CurrentCell()->GetDataCol();
    const int DataRow = CurrentCell()->GetDataRow();
    if (!CanDropDown(DataCol, DataRow, {btCombo})) return;
    if (ComboVisible() && FComboCol == DataCol && FComboRow == DataRow) return;
    CheckDropDownOff(false);
    PutCellInView(DataCol, DataRow);
    DisplayCombo(DataCol, DataRow);
}

bool TgxBaseGrid::ComboButtonDown(int DataCol, int DataRow) {
    if (ComboVisible() && FComboCol == DataCol && FComboRow == DataRow) {
        CheckDropDownOff(false);
        return true;
    }
    if (!CanDropDown(DataCol, DataRow, {btCombo})) return false;
    DisplayCombo(DataCol, DataRow);
    return true;
}

void TgxBaseGrid::InternalShowCombo(int DataCol, int DataRow) {
    TgxDropDownForm* Form = GetComboForm();
    TgxComboGrid* List = FCombo->GetGrid();
    Form->HandleNeeded();
    List->HandleNeeded();
    if (List->GetGridRowCount() > 0) {
        List->SetEnablePaint(false);
        try {
            List->SetTopRow(List->GetDisplayRow(1));
            if (CheckInitComboRow()) List->SetRow(List->GetDisplayRow(1));
        } catch (...) {
            List->SetEnablePaint(true);
            throw;
        }
        List->SetEnablePaint(true);
    }
    ComboInit(DataCol, DataRow);
    ComboDropDown(DataCol, DataRow);
    SetComboGridExtents(List->DropDownCols(), List->DropDownRows());
    PositionComboRow();
    List->CheckRowSelection(true);
    SetComboFormExtents(List);
    FComboPointSet = !GetInDesignMode();
    SetComboPoint();
    Form->SetEnabled(true);
    SetWindowPos(Form, HWND_TOP, Form->Left(), Form->Top(), Form->Width(), Form->Height(),
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
    if (HandleAllocated()) Update();
    List->Update();
}

// ---- setting the list up ------------------------------------------------------------------

void TgxBaseGrid::ComboInit(int DataCol, int DataRow) {
    TFlagScope InInit(FInComboInit);
    const bool Design = GetInDesignMode();
    if (FComboInitialized && !Design && DataCol == FComboInitCol && DataRow == FComboInitRow)
        return;
    CheckComboCreated();
    TgxCombo* Own = GiveCellCombo(DataCol, DataRow);
    if (Own) {
        if (Own != FLastUsedCombo || Design) {
            FCombo->Assign(Own);
            FLastUsedCombo = Own;
        }
    } else {
        TgxComboGrid* List = FCombo->GetGrid();
        if (!Design && !FLastUsedCombo)
            InitCombo(FCombo.get());
        else
            FCombo->Reset();
        FCombo->SetDropDownStyle(GiveCellDropDownStyle(DataCol, DataRow));
        if (DataCol >= 1 && DataCol <= GetGridColCount())
            List->InitComboColWidth(GetCol(DataCol)->Width());
        List->SetDefaultRowHeight(std::max(FDropDownRowHeight, List->CalcTextHeight()));
        FLastUsedCombo = nullptr;
    }
    InitComboData(Own != nullptr);
    ActivateComboInit(DataCol, DataRow);
    FComboInitialized = true;
    FComboInitCol = DataCol;
    FComboInitRow = DataRow;
}

void TgxBaseGrid::ComboDropDown(int DataCol, int DataRow) {
    if (FComboCol != -1) return;
    ResetComboSearchValue();
    ActivateComboDropDown(DataCol, DataRow);
    FComboCol = DataCol;
    FComboRow = DataRow;
}

void TgxBaseGrid::ComboRollUp() {
    if (FComboCol == -1) return;
    ResetComboSearchValue();
    const int Col = FComboCol;
    const int Row = FComboRow;
    FComboCol = FComboRow = -1;
    ActivateComboRollUp(Col, Row);
    // A button the list covered may be under the mouse now.
    if (HandleAllocated()) CheckMousePosition();
}

void TgxBaseGrid::ActivateComboInit(int DataCol, int DataRow) {
    DoComboInit(DataCol, Variant(DataRow));
}

void TgxBaseGrid::ActivateComboDropDown(int DataCol, int DataRow) {
    DoComboDropDown(DataCol, Variant(DataRow));
}

void TgxBaseGrid::ActivateComboRollUp(int DataCol, int DataRow) {
    DoComboRollUp(DataCol, Variant(DataRow));
}

void TgxBaseGrid::DoComboInit(int DataCol, const Variant& DataRow) {
    if (OnComboInit) OnComboInit(this, CurrentComboGrid(), DataCol, DataRow.AsInteger());
}

void TgxBaseGrid::DoComboDropDown(int DataCol, const Variant& DataRow) {
    if (OnComboDropDown) OnComboDropDown(this, CurrentComboGrid(), DataCol, DataRow.AsInteger());
}

void TgxBaseGrid::DoComboRollUp(int DataCol, const Variant& DataRow) {
    if (OnComboRollUp) OnComboRollUp(this, CurrentComboGrid(), DataCol, DataRow.AsInteger());
}

TgxComboGrid* TgxBaseGrid::CurrentComboGrid() {
    return FCombo ? FCombo->GetGrid() : nullptr;
}

void TgxBaseGrid::DoComboGetValue(int DataCol, int DataRow, Variant& Value, int ListRow) {
    if (OnComboGetValue && FCombo)
        OnComboGetValue(this, FCombo->GetGrid(), DataCol, DataRow, ListRow, Value);
}

// ---- taking a value -----------------------------------------------------------------------

void TgxBaseGrid::GetComboValue(int ValueCol, Variant& Value) {
    Value = Variant();
    TgxComboGrid* List = GetCombo()->GetGrid();
    const int ListRow = List->GetDataRow(List->Row());
    if (ListRow < 1 || ListRow > List->GetGridRowCount()) return;
    const int DataCol = CurrentCell()->GetDataCol();
    const int DataRow = CurrentCell()->GetDataRow();
    DoComboGetValue(DataCol, DataRow, Value, ListRow);
    const TgxControlType Type = GiveCellControlType(DataCol, DataRow);
    if (!Value.IsEmpty()) {
        if (Type == ctText && !Value.IsNull()) Value = Variant(Value.AsString());
        return;
    }
    if (Type == ctNone || ValueCol <= 0) return;
    Value = List->GetCellValue(ValueCol, ListRow);
    // A stored list without a value there gives the cell's empty value.
    if (Value.IsEmpty() && List->StoreData()) Value = EmptyCellValue(Type);
}

void TgxBaseGrid::SetComboValue(const Variant& Value) {
    if (!Value.IsEmpty()) CheckVarType(CurCellControlType(), Value);
    SetCurrentValue(Value, true, true);
}

void TgxBaseGrid::SetCurrentValue(const Variant& Value, bool SelectAll, bool ByUser) {
    if (Value.IsEmpty() || !InGridState()) return;
    if (VariantEqual(CurrentCell()->GetValue(), Value)) return;
    SetControlValue(Value, true, ByUser);
    if (SelectAll && CurCellControlType() == ctText) CurrentCell()->SelectAll();
}

void TgxBaseGrid::ComboClickCell(TObject*, int, int) {
    TgxComboGrid* List = GetCombo()->GetGrid();
    const int ListRow = List->GetDataRow(List->Row());
    const bool RowChosen = List->GetGridRowCount() > 0 && List->GetGridColCount() > 0 &&
                           ListRow >= 1 && ListRow <= List->GetGridRowCount() &&
                           (List->GridStatus() == grRowSelect || List->GridMode() == gmListBox);
    if (!RowChosen) {
        ShowGridControl();
        CheckDropDownOff(false);
        FocusTheGrid(this);
        return;
    }
    const int ValueCol =
        List->ValueCol() >= 0 && List->ValueCol() <= List->GetGridColCount() ? List->ValueCol() : 0;
    const bool WasOpen = TurnComboOff(false, true);
    try {
        Variant Value;
        GetComboValue(ValueCol, Value);
        ShowGridControl();
        SetComboValue(Value);
    } catch (...) {
        if (WasOpen) ComboRollUp();
        FocusTheGrid(this);
        throw;
    }
    if (WasOpen) ComboRollUp();
    FocusTheGrid(this);
}

void TgxBaseGrid::MouseCaptureToCombo() {
    if (!FCaptureToCombo || !FCombo) return;
    FCaptureToCombo = false;
    TgxComboGrid* List = FCombo->GetGrid();
    const TRect R = List->CellRect(List->Col(), List->Row());
    // Row before column, as the selection's mouse presses take them.
    List->MDRowSelect(TShiftState(), R.Left, List->Row(), List->Col(), R.Top);
    // The list's own release reads the press from here.
    List->SetMouseDownColRow(List->Col(), List->Row());
    List->SetMouseCapture(true);
}

} // namespace grid
