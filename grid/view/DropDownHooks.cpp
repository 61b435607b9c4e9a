// The watch over the application's mouse presses and activation changes
// while any grid has a drop-down open.
#include "grid/model/BaseGrid.h"
#include "grid/model/Combo.h"
#include "grid/view/DropDownForm.h"
#include "grid/view/GridResources.h"
#include "platform/gui/Forms.h"
#include "platform/gui/InputHook.h"

#include <algorithm>
#include <vector>

namespace grid {

namespace {

// The grids themselves are listed in the unit's shared hooked-grid list.
struct TGridHooks {
    TInputHook Hook;
};

TGridHooks& Hooks() {
    static TGridHooks State;
    return State;
}

bool Registered(const TgxBaseGrid* Grid) {
    const auto& Grids = HookedGrids();
    return std::find(Grids.begin(), Grids.end(), Grid) != Grids.end();
}

// The press goes to the grid itself, its in-place control, its open list
// or its calendar: the drop-down stays.
bool PressInside(TgxBaseGrid* Grid, HWND Target) {
    if (!Target) return false;
    if (Target == Grid || Grid->ContainsControl(Target)) return true;
    if (Grid->ComboCreated()) {
        TgxComboGrid* List = Grid->GetCombo()->GetGrid();
        if (Target == List || List->ContainsControl(Target)) return true;
    }
    return Grid->IsDateTimeHandle(Target);
}

void MousePressed(const TMouseHookInfo& Info) {
    switch (Info.Msg) {
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        break;
    default:
        return;
    }
    // Closing a drop-down changes the list: walk a copy, newest first, and
    // skip grids that left meanwhile.
    const std::vector<TgxBaseGrid*> Grids = HookedGrids();
    for (auto It = Grids.rbegin(); It != Grids.rend(); ++It) {
        TgxBaseGrid* Grid = *It;
        if (!Grid || !Registered(Grid)) continue;
        if (PressInside(Grid, Info.Window)) return;
        if (Grid->GetInDesignMode() && !Grid->DateTimeVisible()) return;
        Grid->CheckDropDownOff(false);
    }
}

// A drop-down form or the grid's own form becoming active changes nothing
// the user sees: the grid keeps the keyboard and its drop-down stays.
// So does a window losing the activation to one of those (a window system
// may activate a pop-up that asked not to be). A drop-down form that
// itself held the activation and loses it to another window, or to
// another application, closes the drop-down like any other window would.
bool KeepsDropDown(TgxBaseGrid* Grid, const TActivationHookInfo& Info) {
    // A drop-down form being hidden gives up an activation it should never
    // have had: that is its own closing, not the user going elsewhere.
    if (!Info.Active && Info.Window && dynamic_cast<TgxDropDownForm*>(Info.Window) &&
        !Info.Window->Visible())
        return true;
    // While a window loses the activation, the one taking it is already
    // the active one (none when another application takes it).
    HWND Taking = Info.Active ? Info.Window : Screen->ActiveForm();
    return Taking &&
           (dynamic_cast<TgxDropDownForm*>(Taking) || Taking == GetParentForm(Grid));
}

void ActivationChanged(const TActivationHookInfo& Info) {
    const std::vector<TgxBaseGrid*> Grids = HookedGrids();
    for (auto It = Grids.rbegin(); It != Grids.rend(); ++It) {
        TgxBaseGrid* Grid = *It;
        if (!Grid || !Registered(Grid) || KeepsDropDown(Grid, Info)) continue;
        if (!Grid->GetInDesignMode() || Grid->DateTimeVisible()) Grid->CheckDropDownOff(false);
    }
}

void RemoveHookWhenUnused() {
    if (HookedGrids().empty()) Hooks().Hook.Remove();
}

} // namespace

void RegisterGridHooks(TgxBaseGrid* Grid) {
    if (!Hooks().Hook.Installed()) Hooks().Hook = TInputHook(MousePressed, ActivationChanged);
    HookedGrids().push_back(Grid);
}

void UnregisterGridHooks(TgxBaseGrid* Grid) {
    auto& Grids = HookedGrids();
    if (auto It = std::find(Grids.begin(), Grids.end(), Grid); It != Grids.end()) Grids.erase(It);
    RemoveHookWhenUnused();
}

void UnregisterGridHooksAll(TgxBaseGrid* Grid) {
    auto& Grids = HookedGrids();
    Grids.erase(std::remove(Grids.begin(), Grids.end(), Grid), Grids.end());
    RemoveHookWhenUnused();
}

bool GridHooksRegistered(const TgxBaseGrid* Grid) {
    return Registered(Grid);
}

bool GridHooksInstalled() {
    return Hooks().Hook.Installed();
}

} // namespace grid
