#include "grid/foundation/InplaceEdit.h"

#include "grid/foundation/CustomGrid.h"
#include "platform/gui/Beep.h"
#include "platform/gui/Forms.h"
#include "platform/gui/WindowScroll.h"
#include "platform/rtl/DateTime.h"

namespace grid {

TInplaceEdit::TInplaceEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {
    SetTabStop(false);
    // Flat over the cell whatever look the grid's form has.
    SetParentCtl3D(false);
    // The cell's grid lines frame it.
    SetBorderStyle(bsNone);
    // The grid shows it where and when it is needed.
    SetVisible(false);
}

void TInplaceEdit::UpdateContents() {
    if (!FGrid) return;
    // Loading is no edit: the emptied text must not be written back into
    // the cell it is about to be read from.
    FLoading = true;
    struct TLoading {
        bool& Flag;
        ~TLoading() { Flag = false; }
    } Loading{FLoading};
    SetText(AnsiString());
    SetEditMask(FGrid->GetEditMask(FGrid->Col(), FGrid->Row()));
    const AnsiString Text = FGrid->GetEditText(FGrid->Col(), FGrid->Row());
    // The limit bounds what is typed; a cell already longer than it must
    // come back whole, or hiding the editor would write the cut text back.
    const int Limit = FGrid->GetEditLimit();
    const int Length = static_cast<int>(Text.size());
    SetMaxLength(Limit > 0 && Limit < Length ? Length : Limit);
    SetText(Text);
}

void TInplaceEdit::Change() {
    if (!FLoading) TCustomMaskEdit::Change();
}

void TInplaceEdit::BoundsChanged() {
    TRect R = Rect(2, 2, Width() - 2, Height());
    Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&R));
    Perform(EM_SCROLLCARET);
}

void TInplaceEdit::Move(const TRect& Loc) {
    InternalMove(Loc, true);
}

void TInplaceEdit::UpdateLoc(const TRect& Loc) {
    InternalMove(Loc, false);
}

void TInplaceEdit::InternalMove(const TRect& Loc, bool Redraw) {
    if (Loc.Right <= Loc.Left || Loc.Bottom <= Loc.Top) {
        Hide();
        return;
    }
    HandleNeeded();
    Redraw = Redraw || !Visible();
    Invalidate();
    SetBounds(Loc.Left, Loc.Top, Loc.Width(), Loc.Height());
    SetVisible(true);
    BoundsChanged();
    if (Redraw) Invalidate();
    if (FGrid && FGrid->Focused()) SetFocus();
}

void TInplaceEdit::Hide() {
    if (!HandleAllocated() || !Visible()) return;
    Invalidate();
    const bool HadFocus = Focused();
    SetVisible(false);
    if (HadFocus && FGrid && FGrid->CanFocus()) FGrid->SetFocus();
}

void TInplaceEdit::SetFocus() {
    // Focusing it again must not pass the form's focus through the grid:
    // the grid would see itself left and close the editor.
    if (Visible() && CanFocus() && !Focused()) TCustomMaskEdit::SetFocus();
}

bool TInplaceEdit::PosEqual(const TRect& Rect) {
    return BoundsRect() == Rect;
}

void TInplaceEdit::Deselect() {
    Perform(EM_SETSEL, 0x7FFFFFFF, static_cast<LPARAM>(-1));
}

void TInplaceEdit::Invalidate() {
    TCustomMaskEdit::Invalidate();
    if (FGrid && Visible()) {
        const TRect R = BoundsRect();
        ValidateRect(FGrid, &R);
        InvalidateRect(FGrid, &R, false);
    }
}

bool TInplaceEdit::EditCanModify() {
    return FGrid && FGrid->CanEditModify();
}

void TInplaceEdit::DblClick() {
    if (FGrid) FGrid->DblClick();
}

bool TInplaceEdit::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
    return FGrid && FGrid->DoMouseWheel(Shift, WheelDelta, MousePos);
}

int TInplaceEdit::TextLength() const {
    return static_cast<int>(EditText().size());
}

void TInplaceEdit::GetSel(int& SelStart, int& SelEnd) {
    Perform(EM_GETSEL, reinterpret_cast<WPARAM>(&SelStart), reinterpret_cast<LPARAM>(&SelEnd));
}

void TInplaceEdit::KeyDown(Word& Key, TShiftState Shift) {
    if (!FGrid) {
        TCustomMaskEdit::KeyDown(Key, Shift);
        return;
    }
    auto HandToGrid = [&] {
        FGrid->KeyDown(Key, Shift);
        Key = 0;
    };
    auto GridEvent = [&] {
        if (FGrid->OnKeyDown) FGrid->OnKeyDown(FGrid, Key, Shift);
    };
    const bool AlwaysShown = FGrid->Options().Contains(goAlwaysShowEditor);
    int Start = 0, End = 0;
    GetSel(Start, End);
    const int Length = TextLength();
    const bool LeftSide = Start == 0 && (End == 0 || End == Length);
    const bool RightSide = (Start == 0 || Start == End) && End == Length;
    switch (Key) {
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_ESCAPE:
        HandToGrid();
        break;
    case VK_TAB:
        if (!Shift.Contains(ssAlt)) HandToGrid();
        break;
    case VK_INSERT:
        if (Shift.Empty())
            HandToGrid();
        else if (Shift == TShiftState{ssShift} && !FGrid->CanEditModify())
            Key = 0;
        break;
    case VK_LEFT:
    case VK_HOME:
        if (AlwaysShown && (Shift.Contains(ssCtrl) || LeftSide)) HandToGrid();
        break;
    case VK_RIGHT:
    case VK_END:
        if (AlwaysShown && (Shift.Contains(ssCtrl) || RightSide)) HandToGrid();
        break;
    case VK_F2:
        GridEvent();
        if (Key == VK_F2) {
            Deselect();
            return;
        }
        break;
    default:
        break;
    }
    if (Key == VK_DELETE && !FGrid->CanEditModify()) Key = 0;
    if (Key != 0) {
        GridEvent();
        if (Key != 0) TCustomMaskEdit::KeyDown(Key, Shift);
    }
}

void TInplaceEdit::KeyPress(char& Key) {
    if (!FGrid) {
        TCustomMaskEdit::KeyPress(Key);
        return;
    }
    FGrid->KeyPress(Key);
    const auto Ch = static_cast<unsigned char>(Key);
    if (Ch > 31 && !FGrid->CanEditAcceptKey(Key)) {
        Key = 0;
        MessageBeep(0);
    }
    switch (static_cast<unsigned char>(Key)) {
    case 8:  // backspace
    case 22: // Ctrl+V
    case 24: // Ctrl+X
        if (!FGrid->CanEditModify()) Key = 0;
        break;
    case 13: {
        int Start = 0, End = 0;
        GetSel(Start, End);
        if (Start == 0 && End == TextLength())
            Deselect();
        else
            SelectAll();
        Key = 0;
        break;
    }
    case 9:
    case 27:
        Key = 0;
        break;
    default:
        if (static_cast<unsigned char>(Key) >= 32 && !FGrid->CanEditModify()) Key = 0;
        break;
    }
    if (Key != 0) TCustomMaskEdit::KeyPress(Key);
}

void TInplaceEdit::KeyUp(Word& Key, TShiftState Shift) {
    if (FGrid)
        FGrid->KeyUp(Key, Shift);
    else
        TCustomMaskEdit::KeyUp(Key, Shift);
}

bool TInplaceEdit::WantsKey(Word Key) const {
    // Enter belongs to the grid's editing, not to the form's default button.
    return FGrid && Key == VK_RETURN ? FGrid->Perform(CM_WANTSPECIALKEY, Key) != 0
                                     : TCustomMaskEdit::WantsKey(Key);
}

void TInplaceEdit::WndProc(TMessage& Message) {
    switch (Message.Msg) {
    case WM_SETFOCUS:
        // The form keeps the grid as its focused control while its editor
        // has the focus.
        if (FGrid) {
            TCustomForm* Form = GetParentForm(this);
            if (Form && Form != static_cast<TControl*>(FGrid)) Form->SetFocusedControl(FGrid);
            DefaultHandler(Message);
            return;
        }
        break;
    case WM_LBUTTONDOWN:
        // A click on the grid that opened the editor, followed quickly by
        // one on the editor, is a double click.
        if (FClickTime != 0 && GetTickCount() - FClickTime < GetDoubleClickTime()) {
            FClickTime = 0;
            TCustomMaskEdit::WndProc(Message);
            DblClick();
            return;
        }
        FClickTime = 0;
        break;
    default:
        break;
    }
    TCustomMaskEdit::WndProc(Message);
}

void TInplaceEdit::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_GETDLGCODE:
        Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_HASSETSEL;
        if (FGrid && FGrid->Options().Contains(goTabs)) Message.Result |= DLGC_WANTTAB;
        return;
    case WM_PASTE:
    case WM_CUT:
    case WM_CLEAR:
        if (EditCanModify()) TCustomMaskEdit::Dispatch(Message);
        return;
    case CM_SHOWINGCHANGED:
        // The grid alone decides when the editor shows.
        return;
    case WM_MOUSEWHEEL: {
        // The wheel over the editor scrolls the grid, as over any cell.
        const TWMMouseWheel Wheel(Message);
        TShiftState Shift;
        if (Wheel.Keys() & MK_SHIFT) Shift << ssShift;
        if (Wheel.Keys() & MK_CONTROL) Shift << ssCtrl;
        if (GetKeyState(VK_MENU) < 0) Shift << ssAlt;
        if (Wheel.WheelDelta() != 0 &&
            DoMouseWheel(Shift, Wheel.WheelDelta(), Point(Wheel.XPos(), Wheel.YPos())))
            Message.Result = 1;
        else
            TCustomMaskEdit::Dispatch(Message);
        return;
    }
    default:
        TCustomMaskEdit::Dispatch(Message);
    }
}

} // namespace grid
