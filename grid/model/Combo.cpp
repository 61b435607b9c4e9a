#include "grid/model/Combo.h"

#include "grid/model/Columns.h"

namespace grid {

// ---- list grid ----------------------------------------------------------------------------

TgxComboGrid::TgxComboGrid(TComponent* AOwner) : TgxCustomGrid(AOwner), FGrid(this) {
    // A list at run time is a list box; a list grid keeps its mode after.
    SetGridMode(gmListBox);
    SetRowSelectMode(rsSingle);
    SetIsComboGrid(true);
    if (auto* Form = dynamic_cast<TWinControl*>(AOwner)) SetParent(Form);
    if (AOwner) FParentGrid = dynamic_cast<TgxBaseGrid*>(AOwner->Owner());
    // A dropped list is flat; a list being read keeps the look it was saved
    // with.
    if (!Reading()) {
        SetCtl3D(false);
        SetParentCtl3D(false);
    }
}

TgxComboGrid::~TgxComboGrid() {
    FGrid = nullptr;
}

void TgxComboGrid::Assign(TPersistent* Source) {
    auto* From = dynamic_cast<TgxComboGrid*>(Source);
    if (!From) {
        TgxCustomGrid::Assign(Source);
        return;
    }
    if (From == this) return;
    // The list's extent, columns and values; of the grid-wide settings the
    // list takes its looks from its parent grid.
    SetStoreData(From->StoreData());
    SetGridColCount(From->GetGridColCount());
    SetGridRowCount(From->GetGridRowCount());
    SetDefaultColWidth(From->DefaultColWidth());
    SetDefaultRowHeight(From->DefaultRowHeight());
    for (int C = 1; C <= GetGridColCount(); ++C)
        GetCol(C)->Assign(From->GetCol(C));
    // Rows and cells the definition hides, sizes or colours stay so in the
    // dropped list.
    AssignRowProperties(From);
    AssignCellProperties(From);
    // So do its heading and row bar, which the list's size counts.
    SetHeadingOn(From->GetHeadingOn());
    SetHeadingHeight(From->GetHeadingHeight());
    SetRowBarOn(From->GetRowBarOn());
    SetRowBarWidth(From->GetRowBarWidth());
    CopyData(From);
    SetFont(From->Font());
    SetColor(From->Color());
    FDropDownRows = From->FDropDownRows;
    FDropDownCols = From->FDropDownCols;
    FValueCol = From->FValueCol;
    FComboDisplayCol = From->FComboDisplayCol;
    FValueColSorted = From->FValueColSorted;
    FCompareType = From->FCompareType;
    FAutoSearch = From->FAutoSearch;
    FAutoFill = From->FAutoFill;
    FAutoFillConvertCase = From->FAutoFillConvertCase;
    FDropDownStyle = From->FDropDownStyle;
}

void TgxComboGrid::ResetListSettings() {
    FDropDownRows = 4;
    FDropDownCols = 1;
    FValueCol = 1;
    FComboDisplayCol = 1;
    FValueColSorted = false;
    FCompareType = ctCaseInsensitive;
    FAutoSearch = asNone;
    FAutoFill = false;
    FAutoFillConvertCase = afcOnEdit;
    FDropDownStyle = ddDropDown;
}

void TgxComboGrid::SetDropDownRows(int Value) {
    if (Value == FDropDownRows) return;
    FDropDownRows = Value;
    AdjustComboGridExtents(FDropDownCols, FDropDownRows);
}

void TgxComboGrid::SetDropDownCols(int Value) {
    if (Value == FDropDownCols) return;
    FDropDownCols = Value;
    AdjustComboGridExtents(FDropDownCols, FDropDownRows);
}

void TgxComboGrid::SetAutoFill(bool Value) {
    if (Value == FAutoFill) return;
    FAutoFill = Value;
    // A list being read takes its search as it was saved, whatever order
    // the two settings come in.
    if (Value && !IsLoading() && !Reading() && FAutoSearch == asNone) FAutoSearch = asTop;
}

void TgxComboGrid::SetDropDownStyle(TgxDropDownStyle Value) {
    if (Value == FDropDownStyle) return;
    FDropDownStyle = Value;
    if (FParentGrid) FParentGrid->RedisplayControl(true);
}

void TgxComboGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TgxCustomGrid::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft || !FParentGrid || GetInDesignMode() || !FParentGrid->ComboVisible())
        return;
    int DisplayCol = 0;
    int DisplayRow = 0;
    if (!CellFromXY(X, Y, DisplayCol, DisplayRow) || DisplayRow < FixedRows() ||
        DisplayCol < FixedCols())
        return;
    if (DisplayRow != Row()) SetRow(DisplayRow);
    FParentGrid->ComboClickCell(this, GetDataCol(DisplayCol), GetDataRow(DisplayRow));
}

void TgxComboFree::operator()(TgxCombo* Combo) const {
    delete Combo;
}

// ---- combo --------------------------------------------------------------------------------

TgxCombo::TgxCombo(TgxBaseGrid* Grid) : FOwnerGrid(Grid), FComboGrid(Grid->CreateComboGrid()) {
    FComboGrid->SetParent(Grid->GetComboFormWindow());
    FComboGrid->SetParentGridCombo(this);
    FComboGrid->SetVisible(false);
    if (!FComboGrid->Reading()) {
        Grid->InitializeComboSettings(FComboGrid);
        Grid->InitCombo(this);
    }
}

TgxCombo::~TgxCombo() {
    if (FOwnerGrid && !FOwnerGrid->Destroying()) FOwnerGrid->CheckLastUsedCombo(this);
    delete FComboGrid;
}

void TgxCombo::Assign(TPersistent* Source) {
    if (auto* From = dynamic_cast<TgxCombo*>(Source)) {
        FComboGrid->Assign(From->GetGrid());
        return;
    }
    TPersistent::Assign(Source);
}

void TgxCombo::SetDropDownRows(int Value) {
    if (Value != GetDropDownRows()) FComboGrid->SetDropDownRows(Value);
}

void TgxCombo::SetDropDownCols(int Value) {
    if (Value != GetDropDownCols()) FComboGrid->SetDropDownCols(Value);
}

void TgxCombo::SetValueCol(int Value) {
    if (Value != GetValueCol()) FComboGrid->SetValueCol(Value);
}

void TgxCombo::SetComboDisplayCol(int Value) {
    if (Value != GetComboDisplayCol()) FComboGrid->SetComboDisplayCol(Value);
}

void TgxCombo::SetValueColSorted(bool Value) {
    if (Value != GetValueColSorted()) FComboGrid->SetValueColSorted(Value);
}

void TgxCombo::SetCompareType(TgxComboCompareType Value) {
    if (Value != GetCompareType()) FComboGrid->SetCompareType(Value);
}

void TgxCombo::SetAutoSearch(TgxComboAutoSearchType Value) {
    if (Value != GetAutoSearch()) FComboGrid->SetAutoSearch(Value);
}

void TgxCombo::SetAutoFill(bool Value) {
    if (Value != GetAutoFill()) FComboGrid->SetAutoFill(Value);
}

void TgxCombo::SetAutoFillConvertCase(TgxConvertCase Value) {
    if (Value != GetAutoFillConvertCase()) FComboGrid->SetAutoFillConvertCase(Value);
}

void TgxCombo::SetAutoLookup(bool Value) {
    if (Value != GetAutoLookup()) FComboGrid->SetAutoLookup(Value);
}

void TgxCombo::SetDropDownStyle(TgxDropDownStyle Value) {
    if (Value != GetDropDownStyle()) FComboGrid->SetDropDownStyle(Value);
}

void TgxCombo::Reset() {
    TgxBaseGrid* Parent = FComboGrid->GetParentGrid();
    FComboGrid->SetEnablePaint(false);
    FComboGrid->SetAutoComboExtents(false);
    try {
        if (Parent) Parent->CheckResetComboInit(this, false);
        FComboGrid->ResetPropKinds(AllPropKinds);
        FComboGrid->ResetListSettings();
        // The parent grid sets the list up again as a new list.
        if (Parent) {
            Parent->InitializeComboSettings(FComboGrid);
            Parent->InitCombo(this);
        }
    } catch (...) {
        FComboGrid->SetAutoComboExtents(true);
        FComboGrid->SetEnablePaint(true);
        throw;
    }
    FComboGrid->SetAutoComboExtents(true);
    FComboGrid->SetEnablePaint(true);
    // Also with the list closed: the grid may no longer know this combo as
    // the one it last copied (its own list forgets that when it is sized),
    // and a reset list must still be copied afresh at the next drop-down,
    // also on the cell it was last shown for.
    if (Parent) FComboGrid->AdjustComboGridExtents(GetDropDownCols(), GetDropDownRows());
}

} // namespace grid
