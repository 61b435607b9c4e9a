// Keys while a drop-down of the current cell is open: the list's keys are
// handed on to the list grid, the date-time drop-down's to its window.
#include "grid/model/BaseGrid.h"
#include "grid/model/Combo.h"
#include "grid/model/CurrentCell.h"
#include "grid/model/InplaceControl.h"
#include "grid/view/DropDownForm.h"
#include "platform/gui/Controls.h"
#include "platform/gui/Messages.h"

namespace grid {

namespace {

const TShiftState NoShift{};

// Hands a key to the list grid's own key handling.
void ForwardToList(TgxBaseGrid& Grid, Word Key, TShiftState Shift) {
    TgxCombo* Combo = Grid.GetCombo();
    if (!Combo || !Combo->GetGrid()) return;
    Word K = Key;
    Combo->GetGrid()->KeyDown(K, Shift);
}

} // namespace

bool TgxBaseGrid::ProcessKeyDownCombo(Word& Key, TShiftState Shift) {
    TgxCustomGridControl* Control = FGridControl;
    const bool AllSelected = CurrentCell()->AllSelected();
    const bool SingleLine = !Control || !Control->MultiLine();
    const bool KeyEditing = Control && Control->GetKeyEdit();
    if (Shift == TShiftState{ssCtrl}) {
        if (AllSelected || SingleLine) ForwardToList(*this, Key, Shift);
        return true;
    }
    if (Shift == TShiftState{ssShift}) {
        if (Key == VK_TAB) CheckDropDownOff(false);
        return false;
    }
    if (Shift != NoShift) return false;
    switch (Key) {
    case VK_TAB:
        CheckDropDownOff(false);
        return false;
    case VK_RETURN:
        if (!GetInDesignMode()) {
            TgxCombo* Combo = GetCombo();
            TgxComboGrid* List = Combo ? Combo->GetGrid() : nullptr;
            if (List)
                ComboClickCell(List, List->GetDataCol(List->Col()), List->GetDataRow(List->Row()));
        }
        return true;
    case VK_ESCAPE:
        CheckDropDownOff(false);
        return true;
    case VK_PRIOR:
    case VK_NEXT:
    case VK_UP:
    case VK_DOWN:
        if (AllSelected || SingleLine || !KeyEditing) ForwardToList(*this, Key, Shift);
        return true;
    case VK_END:
    case VK_HOME:
        if (KeyEditing) return false;
        ForwardToList(*this, Key == VK_END ? VK_DOWN : VK_UP, TShiftState{ssCtrl});
        return true;
    case VK_LEFT:
    case VK_RIGHT:
        if (AllSelected || !KeyEditing) ForwardToList(*this, Key, Shift);
        return true;
    default:
        return false;
    }
}

void TgxBaseGrid::ProcessKeyDownDateTime(Word& Key, TShiftState Shift) {
    auto Send = [this](Word K) {
        if (TgxDropDownForm* Form = GetDateTimeForm(); Form && Form->HandleAllocated())
            SendMessage(Form, WM_KEYDOWN, K, 0);
    };
    bool Consumed = true;
    if (Shift == TShiftState{ssShift}) {
        if (Key == VK_TAB) {
            Send(VK_ESCAPE);
            Consumed = false;
        }
    } else if (Shift == TShiftState{ssAlt}) {
        if (Key == VK_UP || Key == VK_DOWN)
            Send(VK_ESCAPE);
        else
            Consumed = false;
    } else if (Shift == NoShift) {
        switch (Key) {
        case VK_TAB:
            Send(VK_ESCAPE);
            Consumed = false;
            break;
        case VK_F4:
            Send(VK_ESCAPE);
            break;
        case VK_RETURN:
        case VK_ESCAPE:
        case VK_PRIOR:
        case VK_NEXT:
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN:
            Send(Key);
            break;
        default:
            break;
        }
    }
    if (Consumed) Key = 0;
}

} // namespace grid
