// The grid's hosting of its in-place control: which control edits the
// current cell, where it sits and how it looks, showing and hiding it as
// the cell editor, and bringing a cell into view so the control can sit
// on it.
#include "grid/model/BaseGrid.h"
#include "grid/model/CellButtons.h"
#include "grid/model/Columns.h"
#include "grid/model/ControlWrappers.h"
#include "grid/model/CurrentCell.h"
#include "grid/model/Rows.h"
#include "grid/model/DrawData.h"
#include "platform/gui/Forms.h"

#include <algorithm>

namespace grid {

void TgxBaseGrid::SetMaxTextLength(int DisplayCol, int Length) {
    if (DisplayCol == Col() && InEditMode() && FGridControl) FGridControl->SetMaxLength(Length);
}

void TgxBaseGrid::SetWantTabs(bool Value) {
    if (Value == FWantTabs) return;
    FWantTabs = Value;
    if (FGridControl) FGridControl->SetWantTabs(Value);
}

void TgxBaseGrid::SetFlatButtons(bool Value) {
    if (Value == FFlatButtons) return;
    FFlatButtons = Value;
    InvalidateGridNow();
}

void TgxBaseGrid::SetRowBarIndicator(bool Value) {
    if (Value == FRowBarIndicator) return;
    FRowBarIndicator = Value;
    if (Row() > 0) CheckInvalidateCell(0, Row());
}

void TgxBaseGrid::SetControlProperties(TgxCustomGridControl* Control) {
    if (!Control || !HandleAllocated() || GetInDesignMode()) return;
    const int DataCol = GetCurrentDataCol();
    const int DataRow = GetCurrentDataRow();
    const bool Is3D = GiveCell3D(DataCol, DataRow);
    TFont* Font = GiveCellFont(DataCol, DataRow);
    TColor Color = GiveCellColor(DataCol, DataRow, Is3D);
    TColor FontColor = Font ? Font->Color() : clNone;
    if (Control->IsEditControl()) {
        if (FEditColor != clNone) Color = FEditColor;
        if (FEditFontColor != clNone) FontColor = FEditFontColor;
    }
    const TRect R = CellRect(Col(), Row());
    int Width = ColWidths(Col()) - FVertLineWidth - 3;
    int Height = RowHeights(Row()) - FHorzLineWidth;
    Control->SetKeyEdit(true);
    Control->SetMouseSelect(true);
    TgxDropDownStyle Style = ddDropDown;
    const TgxButtonType Button = GiveCellButton(DataCol, DataRow, Style);
    if (Button != btNone) {
        if (TgxCustomButton* Painter = GridCellButton(Col(), Button))
            Width = std::max(Width - Painter->FullWidth(), 0);
        if (Button == btVertSpin || Button == btHorzSpin) {
            Control->SetKeyEdit(GiveCellSpinOptions(DataCol, DataRow).Contains(spoKeyEdit));
        } else if (Button == btCombo || Button == btDateTimeDropDown || Button == btDateTimePopup) {
            Control->SetKeyEdit(Style != ddDropDownList);
            Control->SetMouseSelect(Style != ddDropDownList);
        }
    } else if (Is3D && FVertLineWidth == 0) {
        Width -= 1;
    }
    if (Is3D && FHorzLineWidth == 0) Height -= 1;
    if (CanSetControl()) {
        Control->SetLeft(R.Left + 3);
        Control->SetTop(R.Top);
        Control->SetWidth(std::max(Width, 0));
        Control->SetHeight(std::max(Height, 0));
    }
    Control->SetColor(Color);
    if (Font) Control->SetFont(Font);
    if (FontColor != clNone && Control->GetFont()) Control->GetFont()->SetColor(FontColor);
    Control->SetCtl3D(Is3D);
    Control->SetAlignment(GiveCellAlignment(DataCol, DataRow));
    Control->SetVertAlignment(GiveCellVertAlignment(DataCol, DataRow));
    Control->SetWordWrap(GiveCellWordWrap(DataCol, DataRow));
    if (DataCol >= 1) Control->SetMaxLength(FCols->Item(DataCol)->MaxLength());
    Control->SetWantTabs(FWantTabs);
    Control->SetAlwaysShowFocus(FAlwaysShowFocus);
    if (auto* Check = dynamic_cast<TgxCheckGridControl*>(Control)) {
        if (DataCol >= 1) Check->SetAllowGrayed(FCols->Item(DataCol)->AllowGrayed());
        Check->SetCheckBoxValues(CurCellCheckBoxValues());
    }
}

void TgxBaseGrid::UpdateControlProperties(const TgxDrawData& Data) {
    TgxCustomGridControl* Control = FGridControl;
    if (!Control) return;
    // The grid's edit colours stay ahead of the cell's, as when the control
    // was placed.
    const bool Edit = Control->IsEditControl();
    const TColor Color = Edit && FEditColor != clNone ? FEditColor : Data.Color;
    if (Control->GetColor() != Color) Control->SetColor(Color);
    if (Data.Font && Control->GetFont() != Data.Font) {
        TFont Wanted;
        Wanted.Assign(Data.Font);
        if (Edit && FEditFontColor != clNone) Wanted.SetColor(FEditFontColor);
        // Every paint of the cell comes here: an unchanged font is left
        // alone so the control is not redrawn for nothing.
        if (!Control->GetFont() || !(*Control->GetFont() == Wanted)) Control->SetFont(&Wanted);
    }
    const TAlignment Alignment = Data.HorzAlignment == htaRight    ? taRightJustify
                                 : Data.HorzAlignment == htaCenter ? taCenter
                                                                   : taLeftJustify;
    if (Control->GetAlignment() != Alignment) Control->SetAlignment(Alignment);
    if (Control->GetVertAlignment() != Data.VertAlignment)
        Control->SetVertAlignment(Data.VertAlignment);
    if (Control->GetWordWrap() != Data.WordWrap) Control->SetWordWrap(Data.WordWrap);
}

void TgxBaseGrid::SetGridControl(TgxControlType ControlType) {
    TgxCustomGridControl* Control = GridCellControl(ControlType);
    if (Control == FGridControl) return;
    if (FGridControl) DoHideControl(true);
    FGridControl = Control;
    if (FGridControl) SetControlEvents(FGridControl);
    ClearControlBuffer();
}

void TgxBaseGrid::CheckEnableControl(bool Enable, bool Redisplay, TgxTextSelectMode SelectMode) {
    if (Enable == FEditorShown) return;
    FEditorShown = Enable;
    if (EditorActive()) {
        FControlSelectMode = SelectMode;
        if (SelectMode == gxAll)
            CurrentCell()->SelectAll();
        else if (SelectMode == gxNone)
            CurrentCell()->SetSelLength(0);
    }
    if (Redisplay) RedisplayControl(true);
}

bool TgxBaseGrid::EditorActive() {
    return GridControlActive() && FEditorShown && InEditState();
}

bool TgxBaseGrid::InternalShowEditor(TgxTextSelectMode SelectMode, bool Update) {
    if (!InEditState() || FEditorShown || !GridControlActive()) return false;
    bool Cancel = false;
    DoShowEditor(GetCurrentDataCol(), GetCurrentDataRow(), Cancel);
    if (Cancel) return false;
    FEditorEventRaised = true;
    ClearCurrentFocusRect(false);
    CheckEnableControl(true, true, SelectMode);
    if (Update && HandleAllocated()) TCustomControl::Update();
    return FEditorShown;
}

bool TgxBaseGrid::ShowEditor() {
    return InternalShowEditor(gxAll, true);
}

bool TgxBaseGrid::StartShowEditor(bool Update) {
    if (!GridControlActive() || !InEditState()) return false;
    if (!StartEdit() || !StartCellChange(GetCurrentDataCol(), true)) return false;
    return FEditorShown || InternalShowEditor(gxAll, Update);
}

bool TgxBaseGrid::HideEditor() {
    if (!FEditorShown || FAlwaysShowEditor) return false;
    if (!CheckEndEdit(GetCurrentDataCol(), GetCurrentDataRow(), true)) return false;
    CheckEnableControl(FAlwaysShowEditor, true, FControlSelectMode);
    DrawCurrentFocusRect(false);
    if (HandleAllocated()) TCustomControl::Update();
    // Ending the edit above told the application already when it had been
    // told of the showing; it hears of the hiding once.
    if (FEditorEventRaised) {
        FEditorEventRaised = false;
        DoHideEditor(GetCurrentDataCol(), GetCurrentDataRow());
    }
    return true;
}

namespace {

void LoadControlValue(TgxBaseGrid& Grid) {
    const int DataCol = Grid.GetCurrentDataCol();
    const int DataRow = Grid.GetCurrentDataRow();
    if (Grid.InGridState() && DataRow >= 1 && !Grid.CurrentCell()->ValueSet(DataCol, DataRow))
        Grid.SetControlValue(Grid.GetCellValue(DataCol, DataRow), false, false);
}

} // namespace

void TgxBaseGrid::ShowGridControl() {
    if (GetInDesignMode() || !HandleAllocated() || GetFastAssign()) return;
    if (CanSetControl()) {
        const bool WasPlaced = FControlPlaced;
        FControlPlaced = true;
        SetGridControl(CurCellControlType());
        if (!FGridControl) return;
        if (FGridControl->GetVisible() || WasPlaced) {
            int OldCol = -1;
            int OldRow = -1;
            const bool Found =
                CellFromXY(FGridControl->GetLeft(), FGridControl->GetTop(), OldCol, OldRow);
            DoHideControl(false);
            if (Found && !FSuppressInvalidate && (OldCol != Col() || OldRow != Row()))
                CheckInvalidateCell(OldCol, OldRow);
        }
        // The control takes the cell's value before it is shown over it.
        LoadControlValue(*this);
        SetControlProperties(FGridControl);
        SetControlMask();
        CheckInvalidateCell(Col(), Row());
        FSuppressInvalidate = false;
        MakeGridControlVisible();
        return;
    }
    SetGridControl(CurCellControlType());
    if (FGridControl) {
        FGridControl->SetLeft(-FGridControl->GetWidth());
        FGridControl->SetTop(-FGridControl->GetHeight());
        // Set aside in an editing grid, it still holds the cell it came
        // from: the keys it gets and what it shows when the cell comes into
        // view are the new cell's.
        if (InEditMode()) LoadControlValue(*this);
    }
    SetControlMask();
}

void TgxBaseGrid::MakeGridControlVisible() {
    if (GetInDesignMode() || !HandleAllocated() || !FGridControl) return;
    if (FGridMode != gmEdit && FGridMode != gmEditInsert) return;
    if (!FEditorShown) return;
    if (Row() < TopRow() && Row() >= FixedRows()) return;
    if (Col() < LeftCol() && Col() >= FixedCols()) return;
    if (Row() > MaxVisibleRow() || Col() > MaxVisibleCol()) return;
    // A fixed area as wide or as tall as the window leaves the cell no room
    // on screen: shown, the editor would sit over the headings.
    const TRect Cell = CellRect(Col(), Row());
    if (Cell.Right <= Cell.Left || Cell.Bottom <= Cell.Top) return;
    FControlPlaced = true;
    FControlHiddenOnRequest = false;
    // The control gets its window inside the grid when it is first shown.
    if (FGridControl->GetParent() != this) FGridControl->SetParent(this);
    FGridControl->Show();
    if (FocusToGridControl() && !InSetFocus()) FGridControl->SetFocus();
    FGridControl->Invalidate();
}

bool TgxBaseGrid::FocusToGridControl() {
    return FGridControl && Focused() && FGridControl->GetVisible() && !GetInDesignMode();
}

void TgxBaseGrid::SetCanProcessKey(bool Allow) {
    if (!Allow)
        ++FKeyBlock;
    else if (FKeyBlock > 0)
        --FKeyBlock;
}

// ---- bringing a cell into view ----------------------------------------------------------------

void TgxBaseGrid::MoveColToRight(int DisplayCol, int& LeftColOut) {
    int W = ColWidths(DisplayCol) + FFixedWidth;
    int Added = 0;
    for (int C = DisplayCol; C - 1 >= FixedCols(); --C) {
        const int Next = ColWidths(C - 1);
        if (ClientWidth() < W + Next - FVertLineWidth) break;
        if (C - 1 < FixedCols()) break;
        W += Next;
        ++Added;
    }
    LeftColOut = std::max(DisplayCol - Added, FixedCols());
    if (!FCols->Item(GetDataCol(LeftColOut))->Visible()) {
        int Next = 0;
        LeftColOut = GetNextCol(LeftColOut, false, false, Next) ? Next : DisplayCol;
    }
}

void TgxBaseGrid::MoveRowToBottom(int DisplayRow, int& TopRowOut) {
    int H = RowHeights(DisplayRow) + FFixedHeight;
    int Added = 0;
    for (int R = DisplayRow; R - 1 >= FixedRows(); --R) {
        const int Next = RowHeights(R - 1);
        if (ClientHeight() < H + Next - FHorzLineWidth) break;
        H += Next;
        ++Added;
    }
    TopRowOut = std::max(DisplayRow - Added, FixedRows());
    if (DisplayRow == GetGridRowCount() && TopRowOut < DisplayRow && FGridMode == gmEditInsert &&
        FInsertionRowShown && H < ClientHeight() && H + RowHeights(RowCount() - 1) > ClientHeight())
        ++TopRowOut;
    if (TopRowOut < RowCount() && !IsRowVisible(GetDataRow(TopRowOut))) {
        int Next = 0;
        TopRowOut = GetNextRow(TopRowOut, false, false, Next) ? Next : DisplayRow;
    }
}

void TgxBaseGrid::MoveRowIntoView(int DisplayRow, int& TopRowOut) {
    TopRowOut = TopRow();
    if (!HandleAllocated()) return;
    const int Visible = GetVisibleRowCount();
    if (DisplayRow <= TopRow() + Visible - 1) {
        if (DisplayRow >= FixedRows() && DisplayRow < TopRow()) TopRowOut = DisplayRow;
        return;
    }
    int Need = 0;
    for (int R = TopRow() + Visible; R <= DisplayRow && R < RowCount(); ++R)
        Need += RowHeights(R);
    // Of a row cut by the bottom edge only its hidden part must come up.
    if (const int Cut = TopRow() + Visible; Cut == MaxVisibleRow() && CalcRowOffset(Cut) >= 0)
        Need -= ClientHeight() - CalcRowOffset(Cut);
    while (Need > 0 && TopRowOut < RowCount() - 1) {
        if (TopRowOut == DisplayRow && RowHeights(TopRowOut) + FFixedHeight > ClientHeight()) break;
        Need -= RowHeights(TopRowOut);
        ++TopRowOut;
    }
    if (TopRowOut < RowCount() && !IsRowVisible(GetDataRow(TopRowOut))) {
        int Next = 0;
        if (GetNextRow(TopRowOut, false, false, Next)) TopRowOut = Next;
    }
}

int TgxBaseGrid::MoveToDisplayCol(int ALeftCol, int DisplayCol, TgxViewPosition ViewPosition) {
    int Result = ALeftCol;
    if (DisplayCol < ALeftCol) {
        Result = std::max(DisplayCol, FixedCols());
        if (ViewPosition == vpRight || ViewPosition == vpBoth) MoveColToRight(DisplayCol, Result);
    } else if (DisplayCol >= MaxVisibleCol()) {
        MoveColToRight(DisplayCol, Result);
        Result = std::max(Result, ALeftCol);
    }
    return Result;
}

void TgxBaseGrid::PutInView(int DisplayCol, int DisplayRow, TgxViewPosition ViewPosition,
                            bool InvalidateOldRowBar, bool SetCurrent,
                            TgxChangeTopLeft ChangeTopLeft) {
    CheckHideControl(true);
    const int NewLeft = MoveToDisplayCol(LeftCol(), DisplayCol, ViewPosition);
    int NewTop = TopRow();
    if (DisplayRow < TopRow()) {
        NewTop = std::max(DisplayRow, FixedRows());
        if (ViewPosition == vpBottom || ViewPosition == vpBoth) MoveRowToBottom(DisplayRow, NewTop);
    } else if (DisplayRow >= MaxVisibleRow()) {
        NewTop = DisplayRow;
        MoveRowToBottom(DisplayRow, NewTop);
        NewTop = std::max(NewTop, TopRow());
    }
    if (SetCurrent) {
        if (DisplayCol != Col() || DisplayRow != Row()) ClearCurrentFocusRect(false);
        const int OldRow = Row();
        if (DisplayRow == OldRow) {
            SetCurrentPosition(DisplayCol, DisplayRow, true, true);
        } else if (NewTop == TopRow()) {
            CheckInvalidateCell(0, OldRow);
            SetCurrentPositionAndDraw(DisplayCol, DisplayRow, true, true);
        } else {
            SetCurrentPosition(DisplayCol, DisplayRow, true, true);
            if (InvalidateOldRowBar) CheckInvalidateCell(0, OldRow);
        }
    }
    FControlSelectMode = gxAll;
    const bool LeftChanged = NewLeft != LeftCol();
    const bool TopChanged = NewTop != TopRow();
    if (ChangeTopLeft == ctlBoth && LeftChanged && TopChanged) {
        SetEnablePaint(false);
        try {
            MoveTopLeft(NewLeft, NewTop);
        } catch (...) {
            SetEnablePaint(true);
            throw;
        }
        SetEnablePaint(true);
        InvalidateGridNow();
    } else if ((ChangeTopLeft == ctlLeft || ChangeTopLeft == ctlBoth) && LeftChanged) {
        MoveTopLeft(NewLeft, TopRow());
    } else if ((ChangeTopLeft == ctlTop || ChangeTopLeft == ctlBoth) && TopChanged) {
        MoveTopLeft(LeftCol(), NewTop);
    }
    ShowGridControl();
    DrawCurrentFocusRect(false);
}

void TgxBaseGrid::PutCellInView(int DataCol, int DataRow) {
    if (!CheckIndex(itCol, DataCol, GetGridColCount(), 1)) return;
    if (!CheckIndex(itRow, DataRow, GetGridRowCount(), 1)) return;
    PutInView(GetDisplayCol(DataCol), GetDisplayRow(DataRow), vpNone, true, false, ctlBoth);
}

} // namespace grid
