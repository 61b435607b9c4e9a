// The base grid's side of the in-place editor (making, loading, placing and
// hiding it, and taking its text back), its focus handling, and the
// window messages it answers.
#include "grid/foundation/CustomGrid.h"

#include "grid/foundation/InplaceEdit.h"
#include "platform/gui/Forms.h"
#include "platform/gui/WindowScroll.h"
#include "platform/rtl/DateTime.h"

namespace grid {

// ---- editor hosting -------------------------------------------------------------------------

std::unique_ptr<TInplaceEdit> TCustomGrid_ts::CreateEditor() {
    return std::make_unique<TInplaceEdit>(nullptr);
}

bool TCustomGrid_ts::IsActiveControl() {
    if (TCustomForm* Form = GetParentForm(this)) {
        if (static_cast<TControl*>(Form) != this) return Form->ActiveControl() == this;
    }
    // Without a form: the focus is on the grid or on a window inside it.
    if (Focused()) return true;
    for (int I = 0; I < ControlCount(); ++I)
        if (auto* Child = dynamic_cast<TWinControl*>(Controls(I)); Child && Child->Focused())
            return true;
    return false;
}

bool TCustomGrid_ts::CanEditShow() {
    return FOptions.Contains(goEditing) && !FOptions.Contains(goRowSelect) && FEditorMode &&
           !Designing() && HandleAllocated() &&
           (FOptions.Contains(goAlwaysShowEditor) || IsActiveControl());
}

void TCustomGrid_ts::ShowEditor() {
    FEditorMode = true;
    UpdateEdit();
}

void TCustomGrid_ts::HideEditor() {
    FEditorMode = false;
    HideEdit();
}

void TCustomGrid_ts::ShowEditorChar(char Ch) {
    ShowEditor();
    if (FInplaceEdit)
        PostMessage(FInplaceEdit.get(), WM_CHAR, static_cast<unsigned char>(Ch), 0);
}

void TCustomGrid_ts::UpdateEdit() {
    if (!CanEditShow()) return;
    auto Load = [this] {
        FInplaceCol = FCurrent.X;
        FInplaceRow = FCurrent.Y;
        // Loading sets the editor's text, which must not flow back into the
        // cell it came from.
        FLoadingEditor = true;
        try {
            FInplaceEdit->UpdateContents();
        } catch (...) {
            FLoadingEditor = false;
            throw;
        }
        FLoadingEditor = false;
        // A limit of -1 marks a cell that may not be changed.
        FCanEditModify = GetEditLimit() != -1;
        FInplaceEdit->SelectAll();
    };
    if (!FInplaceEdit) {
        FInplaceEdit = CreateEditor();
        FInplaceEdit->SetGrid(this);
        FInplaceEdit->SetParent(this);
        Load();
    } else if (FInplaceCol != FCurrent.X || FInplaceRow != FCurrent.Y) {
        HideEdit();
        Load();
    }
    if (CanEditShow()) FInplaceEdit->Move(CellRect(FCurrent.X, FCurrent.Y));
}

void TCustomGrid_ts::HideEdit() {
    if (!FInplaceEdit) return;
    struct TForget {
        TCustomGrid_ts& Grid;
        ~TForget() {
            Grid.FInplaceCol = -1;
            Grid.FInplaceRow = -1;
            Grid.FInplaceEdit->Hide();
        }
    } Forget{*this};
    UpdateText();
}

void TCustomGrid_ts::UpdateText() {
    if (FInplaceEdit && FInplaceCol != -1 && FInplaceRow != -1)
        SetEditText(FInplaceCol, FInplaceRow, FInplaceEdit->Text());
}

void TCustomGrid_ts::InvalidateEditor() {
    FInplaceCol = -1;
    FInplaceRow = -1;
    UpdateEdit();
}

// ---- keys ------------------------------------------------------------------------------------

void TCustomGrid_ts::KeyUp(Word& Key, TShiftState Shift) {
    TCustomControl::KeyUp(Key, Shift);
}

void TCustomGrid_ts::KeyPress(char& Key) {
    TCustomControl::KeyPress(Key);
    if (!FOptions.Contains(goAlwaysShowEditor) && Key == '\r') {
        if (FEditorMode)
            HideEditor();
        else
            ShowEditor();
        Key = 0;
    }
}

void TCustomGrid_ts::DblClick() {
    TCustomControl::DblClick();
}

bool TCustomGrid_ts::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
    return WheelDelta < 0 ? DoMouseWheelDown(Shift, MousePos) : DoMouseWheelUp(Shift, MousePos);
}

bool TCustomGrid_ts::DoMouseWheelDown(TShiftState, TPoint) {
    return false;
}

bool TCustomGrid_ts::DoMouseWheelUp(TShiftState, TPoint) {
    return false;
}

void TCustomGrid_ts::DoExit() {
    TCustomControl::DoExit();
    if (!FOptions.Contains(goAlwaysShowEditor)) HideEditor();
}

bool TCustomGrid_ts::WantsKey(Word Key) const {
    return const_cast<TCustomGrid_ts*>(this)->Perform(CM_WANTSPECIALKEY, Key) != 0;
}

// ---- messages ---------------------------------------------------------------------------------

void TCustomGrid_ts::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_GETDLGCODE:
        WMGetDlgCode(Message);
        return;
    case CM_WANTSPECIALKEY:
        CMWantSpecialKey(Message);
        return;
    case WM_CHAR:
        WMChar(Message);
        return;
    case WM_SETFOCUS:
        WMSetFocus(Message);
        return;
    case WM_KILLFOCUS:
        WMKillFocus(Message);
        return;
    case WM_LBUTTONDOWN:
        WMLButtonDown(Message);
        return;
    case WM_NCHITTEST:
        WMNCHitTest(Message);
        return;
    case WM_SETCURSOR:
        WMSetCursor(Message);
        return;
    case WM_SIZE:
        WMSize(Message);
        return;
    case WM_HSCROLL:
        WMHScroll(Message);
        return;
    case WM_VSCROLL:
        WMVScroll(Message);
        return;
    case WM_TIMER:
        WMTimer(Message);
        return;
    case WM_CANCELMODE:
        WMCancelMode(Message);
        return;
    case CM_CANCELMODE:
        CMCancelMode(Message);
        return;
    case CM_FONTCHANGED:
        CMFontChanged(Message);
        return;
    case CM_CTL3DCHANGED:
        CMCtl3DChanged(Message);
        return;
    case CM_COLORCHANGED:
        // The data cells and the area beyond them are painted in the colour.
        TCustomControl::Dispatch(Message);
        Invalidate();
        return;
    case CM_SHOWINGCHANGED:
        CMShowingChanged(Message);
        return;
    case CM_DESIGNHITTEST:
        CMDesignHitTest(Message);
        return;
    case WM_COMMAND:
        WMCommand(Message);
        return;
    default:
        TCustomControl::Dispatch(Message);
    }
}

void TCustomGrid_ts::WMGetDlgCode(TMessage& Message) {
    Message.Result = DLGC_WANTARROWS;
    if (!FOptions.Contains(goRowSelect)) {
        if (FOptions.Contains(goTabs)) Message.Result |= DLGC_WANTTAB;
        if (FOptions.Contains(goEditing)) Message.Result |= DLGC_WANTCHARS;
    }
}

void TCustomGrid_ts::CMWantSpecialKey(TMessage& Message) {
    TCustomControl::Dispatch(Message);
    if (FOptions.Contains(goEditing) && Message.WParam == VK_RETURN) Message.Result = 1;
}

void TCustomGrid_ts::WMChar(TMessage& Message) {
    const auto Ch = static_cast<unsigned char>(Message.WParam);
    if (FOptions.Contains(goEditing) && (Ch == 8 || Ch >= 32))
        ShowEditorChar(static_cast<char>(Ch));
    else
        TCustomControl::Dispatch(Message);
}

void TCustomGrid_ts::WMSetFocus(TMessage& Message) {
    TCustomControl::Dispatch(Message);
    const auto From = reinterpret_cast<TWinControl*>(Message.WParam);
    if (!FInplaceEdit || From != FInplaceEdit.get()) {
        InvalidateRect(Selection());
        UpdateEdit();
    }
}

void TCustomGrid_ts::WMKillFocus(TMessage& Message) {
    TCustomControl::Dispatch(Message);
    InvalidateRect(Selection());
    const auto To = reinterpret_cast<TWinControl*>(Message.WParam);
    if (!FInplaceEdit || To != FInplaceEdit.get()) HideEdit();
}

void TCustomGrid_ts::WMLButtonDown(TMessage& Message) {
    TCustomControl::Dispatch(Message);
    if (FInplaceEdit) FInplaceEdit->SetClickTime(GetTickCount());
}

void TCustomGrid_ts::WMNCHitTest(TMessage& Message) {
    TCustomControl::Dispatch(Message);
    FHitTest = ScreenToClient(Point(SignedLo(static_cast<std::uintptr_t>(Message.LParam)),
                                    SignedHi(static_cast<std::uintptr_t>(Message.LParam))));
}

void TCustomGrid_ts::WMSetCursor(TMessage& Message) {
    if (LoWord(static_cast<std::uintptr_t>(Message.LParam)) == HTCLIENT) {
        TGridState State = FGridState;
        if (State == gsNormal) {
            TGridDrawInfo DrawInfo;
            CalcDrawInfo(DrawInfo);
            int Index = 0, Pos = 0, Ofs = 0;
            CalcSizingState(FHitTest.X, FHitTest.Y, State, Index, Pos, Ofs, DrawInfo);
        }
        if (State == gsRowSizing || State == gsColSizing) {
            SetWindowCursor(this, State == gsRowSizing ? crVSplit : crHSplit);
            Message.Result = 1;
            return;
        }
    }
    TCustomControl::Dispatch(Message);
}

void TCustomGrid_ts::WMSize(TMessage& Message) {
    TCustomControl::Dispatch(Message);
    UpdateScrollRange();
    if (UseRightToLeftAlignment()) InvalidateGrid();
}

void TCustomGrid_ts::WMHScroll(TMessage& Message) {
    TWMScroll M(Message);
    ModifyScrollBar(SB_HORZ, M.ScrollCode(), M.Pos(), true);
}

void TCustomGrid_ts::WMVScroll(TMessage& Message) {
    TWMScroll M(Message);
    ModifyScrollBar(SB_VERT, M.ScrollCode(), M.Pos(), true);
}

void TCustomGrid_ts::WMCancelMode(TMessage& Message) {
    TCustomControl::Dispatch(Message);
    CancelMode();
}

void TCustomGrid_ts::CMCancelMode(TMessage& Message) {
    if (FInplaceEdit) FInplaceEdit->Perform(Message.Msg, Message.WParam, Message.LParam);
    TCustomControl::Dispatch(Message);
    CancelMode();
}

void TCustomGrid_ts::CMFontChanged(TMessage& Message) {
    if (FInplaceEdit) FInplaceEdit->SetFont(Font());
    TCustomControl::Dispatch(Message);
}

void TCustomGrid_ts::CMCtl3DChanged(TMessage& Message) {
    TCustomControl::Dispatch(Message);
    RecreateWnd();
}

void TCustomGrid_ts::CMShowingChanged(TMessage& Message) {
    TCustomControl::Dispatch(Message);
    if (Showing()) UpdateScrollRange();
}

void TCustomGrid_ts::CMDesignHitTest(TMessage& Message) {
    Message.Result = Sizing(SignedLo(static_cast<std::uintptr_t>(Message.LParam)),
                            SignedHi(static_cast<std::uintptr_t>(Message.LParam)))
                         ? 1
                         : 0;
}

void TCustomGrid_ts::WMCommand(TMessage& Message) {
    if (FInplaceEdit && !FLoadingEditor &&
        Message.LParam == reinterpret_cast<LPARAM>(static_cast<TWinControl*>(FInplaceEdit.get())) &&
        HiWord(Message.WParam) == EN_CHANGE)
        UpdateText();
}

} // namespace grid
