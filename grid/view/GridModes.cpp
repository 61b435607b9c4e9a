// The grid mode with its old twin the edit mode, the insertion row switch,
// the setters of the options that change how the editor looks or where the
// current cell may be, the current position in data numbers and the focus.
#include "grid/model/BaseGrid.h"
#include "grid/model/Columns.h"
#include "grid/model/CurrentCell.h"
#include "grid/model/GridLinks.h"
#include "grid/model/InplaceControl.h"
#include "grid/view/SelectionMarks.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/StrUtils.h"

namespace grid {

// ---- grid mode ---------------------------------------------------------------------------------

TgxEditMode TgxBaseGrid::GridModeToEditMode(TgxGridMode Mode) {
    switch (Mode) {
    case gmListBox:
        return emNone;
    case gmEditInsert:
        return emEditInsert;
    case gmBrowse:
        return emBrowse;
    default:
        return emEdit;
    }
}

TgxGridMode TgxBaseGrid::EditModeToGridMode(TgxEditMode Mode) {
    switch (Mode) {
    case emNone:
        return gmListBox;
    case emEditInsert:
        return gmEditInsert;
    case emBrowse:
        return gmBrowse;
    default:
        return gmEdit;
    }
}

TgxEditMode TgxBaseGrid::EditModeStrValue(const AnsiString& Text) {
    const AnsiString Lower = AnsiLowerCase(Text);
    if (Lower == "emnone") return emNone;
    if (Lower == "emeditinsert") return emEditInsert;
    if (Lower == "embrowse") return emBrowse;
    return emEdit;
}

void TgxBaseGrid::SetEditMode(TgxEditMode Value) {
    SetGridMode(EditModeToGridMode(Value));
}

void TgxBaseGrid::SetGridMode(TgxGridMode Value) {
    if (FIsComboGrid && !GetInDesignMode()) return;
    if (Value == FGridMode) return;
    if (Value == gmListBox && !CheckEndEdit(-1, -1, false)) return;
    SetInsertionRow(Value == gmEditInsert);
    ClearCurrentFocusRect(false);
    FGridMode = Value;
    SetNewRowCount(GetGridRowCount());
    if (Value != gmEditInsert) CheckTopLeft(false);
    if (Value == gmListBox || Value == gmBrowse) {
        ClearCellBuffer();
        if (CheckHideControl(false) && HandleAllocated()) TCustomControl::Update();
    }
    if (!FSettingDefaults && Row() >= 1 && Row() < RowCount())
        MoveToNewRow(Row(), true, InRowSelectMode(), CanSkipReadOnly());
    if (Value == gmEdit || Value == gmEditInsert) {
        FControlSelectMode = gxCurrent;
        ShowGridControl();
    }
    if (GetInDesignMode() && Value != gmListBox) DeleteAllRowSelection();
    DrawCurrentFocusRect(false);
    CheckRowSelection(true);
    SelectionsChanged(false);
    GridStatusChanged();
    InvalidateGridNow();
}

void TgxBaseGrid::SetInsertRowOn() {
    if (FGridMode != gmEditInsert || FInsertionRowShown) return;
    SetInsertionRow(true);
    SetNewRowCount(GetGridRowCount());
}

void TgxBaseGrid::SetInsertRowOff() {
    if (FGridMode != gmEditInsert || !FInsertionRowShown) return;
    SetInsertionRow(false);
    SetNewRowCount(GetGridRowCount() + 1);
    RowInserted(GetGridRowCount(), true);
}

// ---- editor and focus options
// --------------------------------------------------------------------

void TgxBaseGrid::SetAlwaysShowEditor(bool Value) {
    FAlwaysShowEditor = Value;
    CheckDisableControl();
    if (FCellEditing) return;
    if (Value) ClearCurrentFocusRect(false);
    CheckEnableControl(Value, true, gxCurrent);
    if (!Value) {
        CurrentCell()->SelectAll();
        DrawCurrentFocusRect(false);
    }
}

void TgxBaseGrid::CheckDisableControl() {
    FEditorPermanent = FAlwaysShowEditor;
}

void TgxBaseGrid::SetAlwaysShowFocus(bool Value) {
    const bool HasFocus = IsFocused();
    if (!HasFocus && FAlwaysShowFocus) ClearCurrentFocusRect(false);
    FAlwaysShowFocus = Value;
    if (FGridControl) FGridControl->SetAlwaysShowFocus(Value);
    if (!HasFocus) {
        RedisplayControl(false);
        if (Value) DrawCurrentFocusRect(false);
    }
}

void TgxBaseGrid::SetSkipReadOnly(bool Value) {
    if (Value == FSkipReadOnly) return;
    FSkipReadOnly = Value;
    if (Col() >= 1 && Col() < ColCount()) MoveToNewCol(Col(), true, CanSkipReadOnly(), false);
}

void TgxBaseGrid::SetRowChangedIndicator(TgxRowChangedIndicator Value) {
    if (Value == FRowChangedIndicator) return;
    FRowChangedIndicator = Value;
    if (Value == riOff || Value == riAutoReset) {
        ResetRowProperties(TgxProperties{prChanged});
        FChangedRows.SetSize(0);
        FChangedRows.SetSize(RowCount());
        InvalidateGridNow();
    }
}

// ---- looks
// ------------------------------------------------------------------------------------------

void TgxBaseGrid::SetGridLines(TgxGridLines Value) {
    if (Value == FGridLines) return;
    FGridLines = Value;
    FHorzLineWidth = Value == glHorzLines || Value == glBoth ? 1 : 0;
    FVertLineWidth = Value == glVertLines || Value == glBoth ? 1 : 0;
    InvalidateGridNow();
    RedisplayControl(true);
}

void TgxBaseGrid::SetThumbTracking(bool Value) {
    if (Value == FThumbTracking) return;
    FThumbTracking = Value;
    TGridOptions Options = this->Options();
    if (Value)
        Options.Include(goThumbTracking);
    else
        Options.Exclude(goThumbTracking);
    SetOptions(Options);
}

void TgxBaseGrid::SetIs3D(bool Value) {
    if (Value == FIs3D) return;
    FIs3D = Value;
    InvalidateGridNow();
    RedisplayControl(true);
}

void TgxBaseGrid::SetWordWrap(TgxWordWrap Value) {
    if (Value == FWordWrap) return;
    FWordWrap = Value;
    InvalidateGridNow();
    RedisplayControl(true);
}

void TgxBaseGrid::SetReadOnlyButton(bool Value) {
    if (Value == FReadOnlyButton) return;
    FReadOnlyButton = Value;
    InvalidateGridNow();
    RedisplayControl(true);
}

void TgxBaseGrid::SetEditColor(TColor Value) {
    if (Value == FEditColor) return;
    FEditColor = Value;
    RedisplayControl(true);
}

void TgxBaseGrid::SetEditFontColor(TColor Value) {
    if (Value == FEditFontColor) return;
    FEditFontColor = Value;
    RedisplayControl(true);
}

void TgxBaseGrid::SetLineColor(TColor Value) {
    if (Value == FLineColor) return;
    FLineColor = Value;
    InvalidateGridNow();
}

void TgxBaseGrid::SetFixedLineColor(TColor Value) {
    if (Value == FFixedLineColor) return;
    FFixedLineColor = Value;
    InvalidateGridNow();
}

void TgxBaseGrid::SetHeadingColor(TColor Value) {
    if (Value == FHeadingColor) return;
    FHeadingColor = Value;
    InvalidateGridNow();
}

void TgxBaseGrid::SetHeading3D(bool Value) {
    if (Value == FHeading3D) return;
    FHeading3D = Value;
    if (CheckInvalidateRow(0)) TCustomControl::Update();
    if (CheckInvalidateCol(0)) TCustomControl::Update();
}

namespace {

// Index: 1 stretch, 2 shrink, 3 centre, 4 keep aspect ratio.
void SetPictureOption(TgxBaseGrid& Grid, bool& Field, bool Value, int Index) {
    if (Value == Field) return;
    Field = Value;
    if (Grid.Painting()) return;
    // The current cell draws its picture by the grid's options too.
    Grid.CurrentCell()->SetPictureDefault(Index, Value);
    Grid.InvalidateGridNow();
}

} // namespace

void TgxBaseGrid::SetStretchPicture(bool Value) {
    SetPictureOption(*this, FStretchPicture, Value, 1);
}

void TgxBaseGrid::SetShrinkPicture(bool Value) {
    SetPictureOption(*this, FShrinkPicture, Value, 2);
}

void TgxBaseGrid::SetCenterPicture(bool Value) {
    SetPictureOption(*this, FCenterPicture, Value, 3);
}

void TgxBaseGrid::SetKeepAspectRatio(bool Value) {
    SetPictureOption(*this, FKeepAspectRatio, Value, 4);
}

void TgxBaseGrid::SetTransparentColor(TColor Value) {
    if (Value == FTransparentColor) return;
    FTransparentColor = Value;
    if (!Painting()) InvalidateGridNow();
}

void TgxBaseGrid::SetMaskDefs(TgxMaskDefsComponent* Value) {
    if (Value == MaskLink()->MaskDefs()) return;
    MaskLink()->SetMaskDefs(Value);
    SetControlMask();
}

TgxMaskDefsComponent* TgxBaseGrid::GetMaskDefs() const {
    return MaskLink()->MaskDefs();
}

// ---- row selection options ----------------------------------------------------------------

void TgxBaseGrid::SetRowSelectMode(TgxRowSelectMode Value) {
    if (FIsComboGrid && !GetInDesignMode()) return;
    if (Value == FRowSelectMode) return;
    if (CheckHideControl(false) && HandleAllocated()) TCustomControl::Update();
    FRowSelectMode = Value;
    if (FGridStatus == grRowSelect) {
        if (Value == rsNone) {
            DeleteAllRowSelection();
        } else if (Value == rsSingle) {
            const bool CurrentKept = GetCurrentSelected();
            DeleteAllRowSelection();
            if (CurrentKept) AddRowSelection(Row(), Row());
        }
        InvalidateGridNow();
    }
    if (GetInDesignMode() && Value != rsSingle) DeleteAllRowSelection();
    ShowGridControl();
    CheckRowSelection(false);
    SelectionsChanged(false);
    GridStatusChanged();
}

void TgxBaseGrid::SetSelectFixed(bool Value) {
    if (Value == FSelectFixed) return;
    FSelectFixed = Value;
    if (!Value && FixedRows() > 1) {
        // The frozen rows leave the selection and are drawn plain.
        for (int R = 1; R < FixedRows(); ++R)
            MarkRow(*this, R, false);
        if (Row() < FixedRows() && InRowSelectMode()) MoveToNewRow(Row(), true, true, false);
    }
    CheckRowSelection(false);
    SelectionsChanged(false);
    GridStatusChanged();
    ShowColouredChange(*this);
}

bool TgxBaseGrid::GetCurrentSelected() const {
    return Row() >= 1 && Row() < RowCount() && IsRowSelected(GetDataRow(Row()));
}

void TgxBaseGrid::SetCurrentSelected() {
    AddRowSelection(Row(), Row());
}

// ---- the current position in data numbers
// --------------------------------------------------------

int TgxBaseGrid::GetCurrentDataRow() const {
    if (Row() <= 0 || Row() > RowCount() - 1) return 0;
    return GetDataRow(Row());
}

void TgxBaseGrid::SetCurrentDataRow(int DataRow) {
    if (DataRow < 0 || DataRow > RowCount() - 1) return;
    SetCurrentCell(Col(), GetDisplayRow(DataRow));
}

int TgxBaseGrid::GetCurrentDataCol() const {
    if (Col() <= 0 || Col() > ColCount() - 1) return 0;
    return GetDataCol(Col());
}

void TgxBaseGrid::SetCurrentDataCol(int DataCol) {
    if (DataCol < 0 || DataCol > ColCount() - 1) return;
    SetCurrentCell(GetDisplayCol(DataCol), Row());
}

// ---- focus
// ----------------------------------------------------------------------------------------

bool TgxBaseGrid::CanSetFocus() {
    if (!FIsComboGrid) return true;
    TgxBaseGrid* Parent = GetParentGrid();
    return Parent && Parent->ComboVisible() && Parent->GetInDesignMode();
}

void TgxBaseGrid::SetFocus() {
    ++FSetFocusCount;
    try {
        if (CanSetFocus()) TCustomControl::SetFocus();
    } catch (...) {
        --FSetFocusCount;
        throw;
    }
    --FSetFocusCount;
}

void TgxBaseGrid::SetGridFocus() {
    if (!CanFocus()) return;
    SetFocus();
}

bool TgxBaseGrid::HasHeadingButtons() {
    for (int C = 1; C <= GetGridColCount(); ++C) {
        const int D = GetDisplayCol(C);
        if (IsColHeadingButton(D) || ButtonInColHeading(D)) return true;
    }
    return false;
}

} // namespace grid
