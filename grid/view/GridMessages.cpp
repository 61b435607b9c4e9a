// The window messages the grid answers itself, its two window timers and
// the hiding and re-showing of the in-place control around them.
#include "grid/foundation/IntLists.h"
#include "grid/model/BaseGrid.h"
#include "grid/model/Columns.h"
#include "grid/model/Combo.h"
#include "grid/model/GridGuards.h"
#include "grid/model/CurrentCell.h"
#include "grid/model/InplaceControl.h"
#include "grid/model/Rows.h"
#include "grid/view/DropDownForm.h"
#include "platform/gui/Controls.h"
#include "platform/gui/Messages.h"
#include "platform/gui/Scaling.h"
#include "platform/gui/WindowScroll.h"

#include <algorithm>

namespace grid {

// ---- timers ----------------------------------------------------------------------------------

bool TgxBaseGrid::StopTimer(unsigned& Handle) {
    if (Handle == 0) return false;
    if (HandleAllocated()) KillTimer(this, Handle);
    Handle = 0;
    return true;
}

void TgxBaseGrid::StartTimer(unsigned& Handle, unsigned TimerId, bool Restart, unsigned Period) {
    if (!Restart && Handle != 0) return;
    StopTimer(Handle);
    if (!HandleAllocated()) return;
    Handle = SetTimer(this, TimerId, Period);
}

void TgxBaseGrid::StartButtonTimer() {
    StartTimer(FButtonTimer, ButtonTimerId, false, ButtonTimerPeriod);
}

void TgxBaseGrid::StartSpinTimer(bool First) {
    if (FSpinTimer != 0) return;
    FFirstSpinPeriod = First;
    StartTimer(FSpinTimer, SpinTimerId, false,
               static_cast<unsigned>(First ? FSpinStartDelay : FSpinRepeatDelay));
}

void TgxBaseGrid::CheckRestartSpinTimer() {
    if (FSpinTimer == 0 || !FFirstSpinPeriod) return;
    StopTimer(FSpinTimer);
    FFirstSpinPeriod = false;
    StartTimer(FSpinTimer, SpinTimerId, true, static_cast<unsigned>(FSpinRepeatDelay));
}

// ---- the in-place control around messages
// ------------------------------------------------------------

bool TgxBaseGrid::CurrentCellInView() const {
    if (Row() < TopRow() && Row() >= FixedRows()) return false;
    if (Col() < LeftCol() && Col() >= FixedCols()) return false;
    return Row() <= MaxVisibleRow() && Col() <= MaxVisibleCol() && Row() > 0 && Col() > 0;
}

bool TgxBaseGrid::GridControlActive() {
    if (FGridStatus != grNormal) return false;
    if (FGridMode != gmEdit && FGridMode != gmEditInsert) return false;
    return !CurCellReadOnly() && !CurCellSelected();
}

bool TgxBaseGrid::CanSetControl() {
    // Whether the cell is in view walks the rows shown, so a grid that is
    // browsing (the control never shows) says no before it.
    if (FGridStatus != grNormal || (FGridMode != gmEdit && FGridMode != gmEditInsert)) return false;
    return !GetInDesignMode() && CurrentCellInView() && GridControlActive();
}

bool TgxBaseGrid::ControlDisplayed() const {
    return FGridControl && FGridControl->GetVisible() && FControlPlaced;
}

void TgxBaseGrid::DoHideControl(bool Invalidate) {
    if (!HandleAllocated() || GetFastAssign() || !FGridControl) return;
    if (!FInHideControl) {
        // The grid taking the focus back must not show the control again
        // from its focus handling, so the flag stays on until it has it.
        const TFlagScope Hiding(FInHideControl);
        const bool HadFocus = FGridControl->Focused();
        FGridControl->Hide();
        if (HadFocus && Visible()) TWinControl::SetFocus();
    }
    FControlPlaced = false;
    if (Invalidate) {
        int C = -1;
        int R = -1;
        if (CellFromXY(FGridControl->GetLeft(), FGridControl->GetTop(), C, R) && C > 0 && R > 0)
            CheckInvalidateCell(C, R);
    }
}

void TgxBaseGrid::HideGridControl(bool KeepInPlace) {
    if (GetInDesignMode() || !HandleAllocated() || GetFastAssign()) return;
    FControlHiddenOnRequest = true;
    DoHideControl(!KeepInPlace);
}

bool TgxBaseGrid::CheckHideControl(bool Invalidate) {
    if (GetFastAssign()) return false;
    const bool Shown = FGridControl && FGridControl->GetVisible();
    if (Invalidate || Shown) DoHideControl(Invalidate);
    return Shown;
}

void TgxBaseGrid::RedisplayControl(bool Force) {
    CheckHideControl(Force);
    ShowGridControl();
}

void TgxBaseGrid::CheckSetMask(int DataCol, int DataRow) {
    if (GetInDesignMode() || DataCol < 1 || DataCol > GetGridColCount()) return;
    if (DataRow < 1 || DataRow > GetGridRowCount()) return;
    if (DataCol == GetCurrentDataCol() && DataRow == GetCurrentDataRow()) SetControlMask();
}

// ---- messages ----------------------------------------------------------------------------------

// Columns and rows that keep a copy of the grid font while following it,
// and the cells, take a new grid font over.
void TgxBaseGrid::CheckOwnFonts() {
    for (int I = 0; I < FAutoFontCols->Count(); ++I) {
        const int DataCol = FAutoFontCols->GetItem(I);
        if (DataCol >= 0 && DataCol < FCols->Count()) FCols->Item(DataCol)->CheckFont();
    }
    for (int I = 0; I < FAutoFontRows->Count(); ++I) {
        const int DataRow = FAutoFontRows->GetItem(I);
        if (DataRow < 0 || DataRow >= FRows->Count()) continue;
        if (TgxRow* Row = FRows->Item(DataRow)) Row->CheckFont();
    }
    UpdateCellFonts();
}

namespace {

bool UserInput(unsigned Msg) {
    switch (Msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_CHAR:
    case WM_VSCROLL:
    case WM_HSCROLL:
    case WM_MOUSEWHEEL:
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        return true;
    default:
        return false;
    }
}

} // namespace

void TgxBaseGrid::Dispatch(TMessage& Message) {
    if (UserInput(Message.Msg)) {
        const TCountScope Input(FUserInput);
        DispatchMessage(Message);
        return;
    }
    DispatchMessage(Message);
}

void TgxBaseGrid::DispatchMessage(TMessage& Message) {
    switch (Message.Msg) {
    case CM_FONTCHANGED:
        TCustomGrid_ts::Dispatch(Message);
        CheckOwnFonts();
        return;
    case WM_CUT:
        CutCellToClipboard();
        return;
    case WM_COPY:
        CopyCellToClipboard();
        return;
    case WM_PASTE:
        PasteCellFromClipboard();
        return;
    case WM_MOUSEWHEEL: {
        const TWMMouseWheel Wheel(Message);
        TShiftState Shift;
        if (GetKeyState(VK_SHIFT) < 0) Shift << ssShift;
        if (GetKeyState(VK_CONTROL) < 0) Shift << ssCtrl;
        if (GetKeyState(VK_MENU) < 0) Shift << ssAlt;
        const TPoint At = Point(SignedLo(static_cast<std::uintptr_t>(Message.LParam)),
                                SignedHi(static_cast<std::uintptr_t>(Message.LParam)));
        if (Wheel.WheelDelta() != 0 && DoMouseWheel(Shift, Wheel.WheelDelta(), At))
            Message.Result = 1;
        else
            TCustomGrid_ts::Dispatch(Message);
        return;
    }
    case CM_DIALOGCHAR: {
        // Alt and a heading's accelerator clicks that heading, in a grid
        // that could take the focus: not in a disabled or hidden one.
        const int DataCol = CanFocus() && CanSetFocus()
                                ? GetAccelHeading(static_cast<char>(Message.WParam))
                                : 0;
        if (DataCol > 0) {
            DoHeadingClick(DataCol);
            Message.Result = 1;
        } else {
            TCustomGrid_ts::Dispatch(Message);
        }
        return;
    }
    case CM_CURSORCHANGED:
        TCustomGrid_ts::Dispatch(Message);
        for (TgxControlType Type : {ctText, ctCheck})
            if (TgxCustomGridControl* Control = GridCellControl(Type)) Control->SetCursor(Cursor());
        return;
    case CM_ENTER:
        ++FSetFocusCount;
        try {
            TCustomGrid_ts::Dispatch(Message);
        } catch (...) {
            --FSetFocusCount;
            throw;
        }
        --FSetFocusCount;
        return;
    case CM_PARENTFONTCHANGED:
        TCustomGrid_ts::Dispatch(Message);
        if (FHeadingParentFont) {
            // The message may carry the font itself; else the parent's.
            TFont* From = Message.WParam != 0 ? reinterpret_cast<TFont*>(Message.LParam)
                          : Parent()              ? Parent()->Font()
                                                  : nullptr;
            if (From) FollowHeadingFont(From);
        }
        return;
    case WM_PAINT:
        // Painting waits while it is off; the area stays due.
        if (!CanPaint()) {
            FPaintSkipped = true;
            return;
        }
        // The canvas is on the memory surface for one cell: a paint now
        // would land there, not in the window. It follows the cell.
        if (FPaintingOffScreen) {
            FOffScreenPaintSkipped = true;
            return;
        }
        TCustomGrid_ts::Dispatch(Message);
        return;
    case CM_CHANGESCALE:
        // The form scaled the grid's bounds and font; its own sizes follow.
        ChangeScale(static_cast<int>(Message.WParam), static_cast<int>(Message.LParam));
        // The form scaled the in-place control too, as a child of the grid;
        // it belongs over its cell, wherever the cells are now.
        if (Message.WParam != Message.LParam) RedisplayControl(false);
        return;
    case WM_SETREDRAW:
        // The grid's redraw counter holds the state; its paint gate acts on it.
        return;
    case WM_ERASEBKGND:
        // Every pixel is painted by the grid.
        if (GetInDesignMode())
            TCustomGrid_ts::Dispatch(Message);
        else
            Message.Result = 1;
        return;
    default:
        TCustomGrid_ts::Dispatch(Message);
    }
}

void TgxBaseGrid::WMSize(TMessage& Message) {
    TCustomGrid_ts::WMSize(Message);
    CheckTopLeft(false);
    if (auto* List = dynamic_cast<TgxComboGrid*>(this))
        AdjustComboGridExtents(List->DropDownCols(), List->DropDownRows());
    if (!IsLoading()) DoResize();
    UpdateScrollRange();
}

void TgxBaseGrid::Resize() {
    Realign();
}

void TgxBaseGrid::CMFontChanged(TMessage& Message) {
    TCustomGrid_ts::CMFontChanged(Message);
    for (int I = 0; I < FAutoFontCols->Count(); ++I)
        if (TgxCol* C = FCols->Item(FAutoFontCols->GetItem(I))) C->CheckFont();
    for (int I = 0; I < FAutoFontRows->Count(); ++I)
        if (TgxRow* R = FRows->Item(FAutoFontRows->GetItem(I))) R->CheckFont();
    UpdateCellFonts();
    for (TgxDropDownForm* Form : {FComboForm, FDateTimeForm})
        if (Form) Form->Font()->Assign(Font());
    InvalidateGridNow();
}

void TgxBaseGrid::WidgetCreated() {
    TCustomGrid_ts::WidgetCreated();
    SetGridControlParent();
    SetCurrentPosition(Col(), Row(), true, true);
    if (FGridControl) FGridControl->Hide();
    FControlPlaced = false;
    FControlSelectMode = gxCurrent;
    ShowGridControl();
    UpdateScrollRange();
}

void TgxBaseGrid::SetGridControlParent() {
    if (!HandleAllocated()) return;
    // The edit and check controls live in the grid's window.
    for (TgxControlType Type : {ctText, ctCheck})
        if (TgxCustomGridControl* Control = GridCellControl(Type)) Control->SetParent(this);
}

void TgxBaseGrid::WMGetDlgCode(TMessage& Message) {
    TCustomGrid_ts::WMGetDlgCode(Message);
    Message.Result |= DLGC_WANTCHARS;
    if ((InEditMode() || FocusRectActive()) && FWantTabs && GetKeyState(VK_CONTROL) >= 0)
        Message.Result |= DLGC_WANTTAB;
}

void TgxBaseGrid::WMTimer(TMessage& Message) {
    if (Message.WParam == ButtonTimerId)
        CheckMousePosition();
    else if (Message.WParam == SpinTimerId)
        SpinTimerEvent();
    TCustomGrid_ts::WMTimer(Message);
}

void TgxBaseGrid::WMSetFocus(TMessage& Message) {
    ++FSetFocusCount;
    try {
        TCustomGrid_ts::WMSetFocus(Message);
    } catch (...) {
        --FSetFocusCount;
        throw;
    }
    --FSetFocusCount;
    if (Destroying() || FInHideControl || FControlHiddenOnRequest) return;
    if (!FGridControl || !FGridControl->GetVisible())
        ShowGridControl();
    else if (FocusToGridControl())
        FGridControl->SetFocus();
    FocusChanged(false);
}

void TgxBaseGrid::WMKillFocus(TMessage& Message) {
    TCustomGrid_ts::WMKillFocus(Message);
    if (Destroying()) return;
    if (!FAlwaysShowEditor || DisplayFocusRect(Col(), Row())) FocusChanged(false);
}

void TgxBaseGrid::DoEnter() {
    // The focus taken back by a refused exit is no entry.
    if (InDoExit()) return;
    if (FGridControl && FGridControl->GetVisible()) FGridControl->Invalidate();
    TCustomControl::DoEnter();
}

void TgxBaseGrid::DoExit() {
    // The whole exit, the OnExit handler included, runs inside the counter.
    const TCountScope Exiting(FDoExitCount);
    // An edit that may not end keeps the focus here, and the grid is not left.
    bool MayLeave = false;
    try {
        MayLeave = CanEndCellEdit(true);
    } catch (...) {
        if (!Destroying() && CanFocus()) SetFocus();
        throw;
    }
    if (!MayLeave) {
        if (!Destroying() && CanFocus()) SetFocus();
        return;
    }
    // An open list stays: the drop-down hooks close it when the press or
    // the activation that took the focus lands outside it.
    ResetComboSearchValue();
    if (FGridControl && FGridControl->GetVisible()) FGridControl->Invalidate();
    TCustomControl::DoExit();
}

// ---- the mouse wheel -----------------------------------------------------------------------

namespace {

bool WheelScroll(TgxBaseGrid& Grid, int Code) {
    const int Lines =
        std::max(std::min(TgxBaseGrid::WheelScrollLines, Grid.GetVisibleRowCount()), 1);
    for (int I = 0; I < Lines; ++I)
        Grid.Perform(WM_VSCROLL, static_cast<WPARAM>(Code), 0);
    Grid.Perform(WM_VSCROLL, SB_ENDSCROLL, 0);
    return true;
}

} // namespace

bool TgxBaseGrid::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
    const bool Done = TCustomGrid_ts::DoMouseWheelDown(Shift, MousePos);
    if (Done || !Shift.Empty()) return Done;
    return WheelScroll(*this, SB_LINEDOWN);
}

bool TgxBaseGrid::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
    const bool Done = TCustomGrid_ts::DoMouseWheelUp(Shift, MousePos);
    if (Done || !Shift.Empty()) return Done;
    return WheelScroll(*this, SB_LINEUP);
}

} // namespace grid
