// Cell values on their way into and out of the in-place control: loading
// the control, reacting to its changes, the state tests of editing, the
// current cell's clipboard and the program-driven move of the current cell.
#include "grid/foundation/GridCommonVariant.h"
#include "grid/model/BaseGrid.h"
#include "grid/model/Columns.h"
#include "grid/model/ControlWrappers.h"
#include "grid/model/CurrentCell.h"
#include "grid/model/GridLinks.h"
#include "grid/model/DrawData.h"
#include "platform/gui/Graphics.h"

namespace grid {

Variant TgxBaseGrid::EmptyCellValue(TgxControlType ControlType) {
    switch (ControlType) {
    case ctText:
        return Variant(AnsiString());
    case ctCheck:
        return Variant(2);
    case ctPicture:
        return Variant(0);
    default:
        return Variant();
    }
}

Variant TgxBaseGrid::GetCheckBoxValue(const Variant& Value) {
    switch (Value.Type()) {
    case varInteger:
    case varByte:
    case varNull:
    case varString:
        return Value;
    default:
        return Variant(2);
    }
}

bool TgxBaseGrid::InGridMode() const {
    return (FGridMode == gmEdit || FGridMode == gmEditInsert || FGridMode == gmBrowse) &&
           FGridStatus == grNormal;
}

bool TgxBaseGrid::InEditState() const {
    return !GetInDesignMode() && InEditMode() && GetGridRowCount() >= 1 && GetGridColCount() >= 1;
}

void TgxBaseGrid::SetEnableStartEdit(bool Value) {
    if (!Value)
        ++FStartEditDisabled;
    else if (FStartEditDisabled > 0)
        --FStartEditDisabled;
}

void TgxBaseGrid::SetControlValue(const Variant& Value, bool AsEditValue, bool Flag) {
    if (!InGridState()) return;
    const TgxControlType Type = CurCellControlType();
    SetGridControl(Type);
    if (!FGridControl) return;
    SetControlProperties(FGridControl);
    const bool OldLoading = FLoadingControl;
    FLoadingControl = !AsEditValue;
    Variant Shown;
    try {
        Shown = AssignControlValue(Type, Value, Flag, AsEditValue);
    } catch (...) {
        FLoadingControl = OldLoading;
        throw;
    }
    FLoadingControl = OldLoading;
    SetControlMask();
    if (!Shown.IsEmpty() && !Shown.IsNull() && Type != ctPicture && FGridControl->IsEditControl()) {
        if (FControlSelectMode == gxAll)
            FGridControl->SelectAll();
        else if (FControlSelectMode == gxNone)
            FGridControl->SetSelLength(0);
    }
    FControlSelectMode = gxCurrent;
}

Variant TgxBaseGrid::AssignControlValue(TgxControlType ControlType, const Variant& Value, bool Flag,
                                        bool AsEditValue) {
    Variant Shown = Value.IsEmpty() ? EmptyCellValue(ControlType) : Value;
    if (Shown.IsEmpty()) return Shown;
    TgxCurrentCell* Cell = CurrentCell();
    switch (ControlType) {
    case ctText:
    case ctCheck: {
        if (ControlType == ctText && Shown.IsNull()) break;
        const Variant Given =
            ControlType == ctCheck ? GetCheckBoxValue(Shown) : CheckStrValue(ctText, Shown);
        if (!FGridControl) break;
        if (!AsEditValue) Cell->SetBuffer(Given, false);
        if (AsEditValue)
            FGridControl->SetEditValue(Given, Flag);
        else
            FGridControl->SetValue(Given);
        break;
    }
    case ctPicture: {
        if (Shown.IsNull()) break;
        if (Shown.Type() == varString) {
            Cell->SetBuffer(Shown, false);
        } else if (TBitmap* Source = VariantToBitmap(Shown)) {
            auto* Copy = new TBitmap;
            Copy->Assign(Source);
            Cell->SetBuffer(BitmapToVariant(Copy), true);
        } else {
            break;
        }
        ControlValueChanged(AsEditValue, Flag, false);
        break;
    }
    default:
        break;
    }
    return Shown;
}

void TgxBaseGrid::SetControlMask() {
    if (!FGridControl) return;
    FGridControl->SetMaskDefs(MaskLink()->MaskDefs());
    FGridControl->SetMaskName(CurCellMaskName());
}

bool TgxBaseGrid::SetControlCheckBoxValues() {
    auto* Check = static_cast<TgxCheckGridControl*>(GridCellControl(ctCheck));
    const AnsiString Values = CurCellCheckBoxValues();
    if (Check->GetCheckBoxValues() == Values) return false;
    Check->SetCheckBoxValues(Values);
    return true;
}

void TgxBaseGrid::SetCellPText(int DataCol, int DataRow, const char* Text) {
    if (DataCol < 1 || DataCol > GetGridColCount() || DataRow < 1 || DataRow > GetGridRowCount())
        return;
    const AnsiString Value = Text ? AnsiString(Text) : AnsiString();
    const TgxControlType Type = GiveCellControlType(DataCol, DataRow);
    if (FStoreData) SetDataValue(DataCol, DataRow, Type, Variant(Value));
    const int DisplayCol = GetDisplayCol(DataCol);
    const int DisplayRow = GetDisplayRow(DataRow);
    const bool Current = DataCol == GetCurrentDataCol() && DataRow == GetCurrentDataRow();
    if (GetFastAssign() || !HandleAllocated()) return;
    if (FStoreData && !Current) {
        CheckInvalidateCell(DisplayCol, DisplayRow);
        return;
    }
    if (Current && InEditMode() && FGridControl) {
        CurrentCell()->ClearBuffer();
        SetControlValue(Variant(Value), false, false);
        CheckInvalidateCell(DisplayCol, DisplayRow);
        return;
    }
    DrawWrittenValue(DataCol, DataRow, Variant(Value), true);
}

void TgxBaseGrid::DrawWrittenValue(int DataCol, int DataRow, const Variant& Value, bool AsText) {
    const int DisplayCol = GetDisplayCol(DataCol);
    const int DisplayRow = GetDisplayRow(DataRow);
    if (FPainting || !PaintEnabled() || !FCols->Item(DataCol)->Visible() ||
        !IsRowVisible(DataRow)) {
        CheckInvalidateCell(DisplayCol, DisplayRow);
        return;
    }
    TgxDrawData Data;
    GetDrawData(DisplayCol, DisplayRow, Data, true);
    if (Data.InnerRect.Right <= Data.InnerRect.Left || Data.InnerRect.Bottom <= Data.InnerRect.Top)
        return;
    const bool Selected = IsCellSelected(DisplayCol, DisplayRow);
    const bool Inverted = Selected && !SelectionColorEnabled();
    const TRect Outer = Data.OuterRect;
    // A selected cell is drawn in steps that must not be seen one by one:
    // it is put together off-screen and shown whole.
    const bool OffScreen = Selected && PrepareCanvas(Outer);
    try {
        // An inverted cell is turned back first: the value is drawn plain
        // and the cell, its lines with it, inverted once at the end.
        if (Inverted) RectInvert(Canvas(), Outer, true);
        if (AsText)
            DrawCellText(Value.AsString(), Data, Selected);
        else if (Data.ControlType == ctNone)
            DrawEmpty(Data, Selected);
        else
            AssignCellValue(Value.IsEmpty() ? EmptyCellValue(Data.ControlType) : Value, Data,
                            Selected);
        RestoreHandle();
        // The value was drawn over the current cell's frame: it goes back
        // on before the cell reaches the window, as a paint would draw it.
        DrawCellFocusRect(DisplayCol, DisplayRow);
        if (Inverted) RectInvert(Canvas(), Outer, true);
    } catch (...) {
        // The half-drawn cell stays off the window; a paint draws it anew.
        if (OffScreen) {
            CanvasToScreen(TRect{});
            CheckInvalidateCell(DisplayCol, DisplayRow);
        }
        throw;
    }
    if (OffScreen) CanvasToScreen(Outer);
}

namespace {

// The row-bar cell of a changed current row was invalidated; it is painted
// now with the mark the row's edit state asks for.
void ShowRowChangedMark(TgxBaseGrid& Grid, bool ValueChanged) {
    if (ValueChanged && Grid.RowBarIndicator() && Grid.Row() > 0 && Grid.HandleAllocated() &&
        Grid.CanPaint() && !Grid.Painting())
        Grid.Update();
}

} // namespace

void TgxBaseGrid::ControlValueChanged(bool ValueChanged, bool ByUser, bool FromTyping) {
    // Loading the control before the grid was ever shown changes nothing.
    if (!FPaintedOnce) return;
    if (ValueChanged) {
        FValueChanged = FRowChanged = true;
        if (FRowBarIndicator && Row() > 0) CheckInvalidateCell(0, Row());
        if (FGridMode == gmEditInsert && Row() == RowCount() - 1 && !FInsertionRowShown &&
            GetCurrentDataRow() == GetGridRowCount() && !FLoadingControl) {
            // The row typed into stays; a fresh insertion row comes below it.
            SetInsertionRow(true);
            FRowAppendedByEdit = true;
            SetNewRowCount(GetGridRowCount());
            CheckInvalidateRow(RowCount() - 1);
        }
    }
    if (!ValueChanged || FLoadingControl) {
        ShowRowChangedMark(*this, ValueChanged);
        return;
    }
    FCellEditing = FRowModified = true;
    CellEdit(GetCurrentDataCol(), GetCurrentDataRow(), ByUser);
    if (!FRowEditing) FRowEditing = true;
    // The row bar tells at once that the row changed, as the key shows in
    // the editor.
    ShowRowChangedMark(*this, ValueChanged);
    TgxDropDownStyle Style = ddDropDown;
    const TgxButtonType Button = GiveCellButton(GetCurrentDataCol(), GetCurrentDataRow(), Style);
    if (FromTyping && Button == btCombo && Style == ddDropDown) {
        if (!PositionAutoFill(false)) PositionComboRow();
    } else if (ComboVisible()) {
        PositionComboRow();
    }
}

// ---- the clipboard of the current cell ---------------------------------------------------------

namespace {

// A text cell being edited whose control may take keys.
bool ClipboardEditable(TgxBaseGrid& Grid) {
    return Grid.InEditState() && Grid.CurCellControlType() == ctText && Grid.GridControl() &&
           Grid.GridControl()->GetKeyEdit() && Grid.StartShowEditor(false);
}

} // namespace

bool TgxBaseGrid::CopyCellToClipboard() {
    return CurrentCell()->CopyToClipboard();
}

bool TgxBaseGrid::CutCellToClipboard() {
    return ClipboardEditable(*this) && CurrentCell()->CutToClipboard();
}

bool TgxBaseGrid::PasteCellFromClipboard() {
    return ClipboardEditable(*this) && CurrentCell()->PasteFromClipboard();
}

// ---- moving the current cell by program -----------------------------------------------------

void TgxBaseGrid::SetCurrentCell(int DisplayCol, int DisplayRow) {
    if (DisplayCol == Col() && DisplayRow == Row()) return;
    if (!CheckEndEdit(GetDataCol(DisplayCol), GetDataRow(DisplayRow), false)) return;
    HideGridControl(false);
    ClearCurrentFocusRect(false);
    const int OldRow = Row();
    SetCurrentPosition(DisplayCol, DisplayRow, true, true);
    // The editor shown on the new cell holds its text selected, so typing replaces it.
    FControlSelectMode = gxAll;
    FAnchor = FCurrent;
    if (OldRow != Row()) {
        CheckInvalidateCell(0, OldRow);
        CheckInvalidateCell(0, Row());
    }
    ShowGridControl();
    DrawCurrentFocusRect(false);
    CheckRowColChanged();
    CheckRowSelection(false);
    SelectionsChanged(false);
}

void TgxBaseGrid::MoveCurrent(int ACol, int ARow, bool, bool Show) {
    CheckCellIndex(ACol, ARow);
    if (ACol == Col() && ARow == Row()) {
        FAnchor = FCurrent;
        return;
    }
    SetCurrentCell(ACol, ARow);
    // A refused end of the edit keeps the current cell where it was.
    if (Col() != ACol || Row() != ARow) return;
    if (Show) PutInView(ACol, ARow, vpNone, true, false, ctlBoth);
}

void TgxBaseGrid::SetSelection(const TGridRect& Value) {
    MoveCurrent(Value.Right, Value.Bottom, true, true);
    if (Col() == Value.Right && Row() == Value.Bottom) TCustomGrid_ts::SetSelection(Value);
}

} // namespace grid
