// What the grid answers its in-place control: the control asks before it
// changes anything, reports each change, and hands on the keys and mouse
// events it does not use itself.
#include "grid/model/BaseGrid.h"
#include "grid/model/CurrentCell.h"
#include "grid/model/GridGuards.h"
#include "grid/model/InplaceControl.h"

namespace grid {

namespace {

// The grid's handler for presses in its in-place control.
TMouseEvent MouseDownHandler(TgxBaseGrid& Grid) {
    return [&Grid](TObject* S, TMouseButton B, TShiftState Shift, int X, int Y) {
        Grid.CtrlOnMouseDown(S, B, Shift, X, Y);
    };
}

} // namespace

void TgxBaseGrid::SetControlEvents(TgxCustomGridControl* Control) {
    if (!Control || Control->GetEdit()) return;
    Control->SetEdit([this](TObject* S, bool& Cancel) { CtrlOnEdit(S, Cancel); });
    Control->SetCanChange(
        [this](TObject* S, bool Changing, bool& Cancel) { CtrlOnCanChange(S, Changing, Cancel); });
    Control->SetNotifyChanged(
        [this](TObject* S, bool Changed) { CtrlOnNotifyChanged(S, Changed); });
    Control->SetChanged([this](TObject* S, bool Changed, bool Typed, bool ByUser) {
        CtrlOnChanged(S, Changed, Typed, ByUser);
    });
    Control->SetUndoChanged(
        [this](TObject* S, bool ByUser, bool& Cancel) { CtrlOnUndoChanged(S, ByUser, Cancel); });
    Control->SetWantKey([this](TObject* S, Word Key, bool& Want) { CtrlOnWantKey(S, Key, Want); });
    Control->SetInvalidKeys([this](TObject* S, const AnsiString& Keys, bool& Accept) {
        CtrlOnInvalidMaskEdit(S, Keys, Accept);
    });
    Control->SetEditTextResized(
        [this](TObject* S, bool ByUser) { CtrlOnEditTextResized(S, ByUser); });
    Control->SetKeyDown(
        [this](TObject* S, Word& Key, TShiftState Shift) { CtrlOnKeyDown(S, Key, Shift); });
    Control->SetKeyUp(
        [this](TObject* S, Word& Key, TShiftState Shift) { CtrlOnKeyUp(S, Key, Shift); });
    Control->SetKeyPress([this](TObject* S, char& Key) { CtrlOnKeyPress(S, Key); });
    Control->SetEndKeyDown(
        [this](TObject* S, Word& Key, TShiftState Shift) { CtrlOnEndKeyDown(S, Key, Shift); });
    Control->SetEndKeyPress([this](TObject* S, char& Key) { CtrlOnEndKeyPress(S, Key); });
    Control->SetClick([this](TObject* S) { CtrlOnClick(S); });
    Control->SetDblClick([this](TObject* S) { CtrlOnDblClick(S); });
    Control->SetMouseDown(MouseDownHandler(*this));
    Control->SetMouseUp([this](TObject* S, TMouseButton B, TShiftState Shift, int X, int Y) {
        CtrlOnMouseUp(S, B, Shift, X, Y);
    });
    Control->SetMouseMove(
        [this](TObject* S, TShiftState Shift, int X, int Y) { CtrlOnMouseMove(S, Shift, X, Y); });
}

void TgxBaseGrid::CtrlOnEdit(TObject*, bool& Cancel) {
    Cancel = !(StartCellEdit() && StartRowEdit());
}

void TgxBaseGrid::CtrlOnCanChange(TObject*, bool Changing, bool& Cancel) {
    if (InCellLoaded() || !GetEnableStartEdit() || !Changing || FLoadingControl) {
        Cancel = false;
        return;
    }
    Cancel = !StartCellChange(GetCurrentDataCol(), true);
}

void TgxBaseGrid::CtrlOnNotifyChanged(TObject*, bool ValueChanged) {
    if (!FGridControl) return;
    TgxCurrentCell* Cell = CurrentCell();
    Cell->SelectionReported(FGridControl->GetSelStart(), FGridControl->GetSelLength());
    if (ValueChanged && InGridState() && !FLoadingControl)
        Cell->SetBuffer(FGridControl->GetValue(), false);
}

void TgxBaseGrid::CtrlOnChanged(TObject*, bool ValueChanged, bool FromTyping, bool ByUser) {
    ControlValueChanged(ValueChanged, ByUser, FromTyping);
}

void TgxBaseGrid::CtrlOnUndoChanged(TObject*, bool ByUser, bool& Cancel) {
    if (DropDownVisible()) {
        CheckDropDownOff(false);
        Cancel = true;
        return;
    }
    bool KeepBuffer = false;
    bool Pending = false;
    const bool Done = UndoEdit(false, ByUser, KeepBuffer, Pending);
    Cancel = !(Done && KeepBuffer);
}

void TgxBaseGrid::CtrlOnWantKey(TObject*, Word Key, bool& Want) {
    if (Key != VK_ESCAPE) {
        Want = true;
        return;
    }
    const bool Idle = !FCellEditing && !FRowEditing &&
                      (FMouseStatus == msNormal || FMouseStatus == msButtonDown) &&
                      ComboSearchValue().empty() && !DropDownVisible() && !IsInsertRow(Row()) &&
                      !(FGridMode == gmEditInsert && Row() == RowCount() - 1);
    Want = !Idle;
}

void TgxBaseGrid::CtrlOnInvalidMaskEdit(TObject*, const AnsiString& Keys, bool& Accept) {
    Accept = ActivateInvalidMaskEdit(Keys);
}

void TgxBaseGrid::CtrlOnEditTextResized(TObject*, bool ByUser) {
    DoEditTextResized(ByUser);
}

namespace {

// Switches the grid's own key processing off for its scope.
class TKeyBlock {
public:
    explicit TKeyBlock(TgxBaseGrid& Grid) : FGrid(Grid) { Grid.SetCanProcessKey(false); }
    ~TKeyBlock() { FGrid.SetCanProcessKey(true); }
    TKeyBlock(const TKeyBlock&) = delete;
    TKeyBlock& operator=(const TKeyBlock&) = delete;

private:
    TgxBaseGrid& FGrid;
};

} // namespace

// Keys that reach the grid through its in-place control are the user's
// input as much as those the grid's own window gets.
void TgxBaseGrid::CtrlOnKeyDown(TObject*, Word& Key, TShiftState Shift) {
    const TCountScope Input(FUserInput);
    TKeyBlock Block(*this);
    KeyDown(Key, Shift);
}

void TgxBaseGrid::CtrlOnKeyUp(TObject*, Word& Key, TShiftState Shift) {
    KeyUp(Key, Shift);
}

void TgxBaseGrid::CtrlOnKeyPress(TObject*, char& Key) {
    const TCountScope Input(FUserInput);
    TKeyBlock Block(*this);
    KeyPress(Key);
}

void TgxBaseGrid::CtrlOnEndKeyDown(TObject*, Word& Key, TShiftState Shift) {
    const TCountScope Input(FUserInput);
    ProcessKeyDown(Key, Shift);
}

void TgxBaseGrid::CtrlOnEndKeyPress(TObject*, char& Key) {
    const TCountScope Input(FUserInput);
    if (static_cast<unsigned char>(Key) >= 32) ProcessKeyDropDownList(Key);
}

void TgxBaseGrid::CtrlOnClick(TObject*) {
    Click();
}

void TgxBaseGrid::CtrlOnDblClick(TObject*) {
    DblClick();
}

namespace {

// A point of the control's client area in the grid's client area.
TPoint ToGrid(TgxBaseGrid& Grid, TObject* Sender, int X, int Y) {
    auto* Control = dynamic_cast<TControl*>(Sender);
    if (!Control) return Point(X, Y);
    return Grid.ScreenToClient(Control->ClientToScreen(Point(X, Y)));
}

} // namespace

void TgxBaseGrid::CtrlOnMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X,
                                  int Y) {
    const TPoint P = ToGrid(*this, Sender, X, Y);
    if (IsFocused() || !FCheckMouseFocus) {
        if (Button == mbLeft) SetMouseDownColRow(Col(), Row());
        // A cell that only lists its choices opens its list from a press
        // anywhere on it.
        if (FGridControl && !FGridControl->GetKeyEdit()) {
            int C = -1;
            int R = -1;
            CellFromXY(P.X, P.Y, C, R);
            TgxDropDownStyle Style = ddDropDown;
            const TgxButtonType Type =
                C > 0 && R > 0 ? GiveCellButton(GetDataCol(C), GetDataRow(R), Style) : btNone;
            if ((Type == btCombo || Type == btDateTimeDropDown) && Style == ddDropDownList) {
                MDButtonDown(Shift, P.X, P.Y, C, R);
                SetMouseCapture(true);
            }
        }
    }
    if (OnMouseDown) OnMouseDown(this, Button, Shift, P.X, P.Y);
}

void TgxBaseGrid::CtrlOnMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X,
                                int Y) {
    const TPoint P = ToGrid(*this, Sender, X, Y);
    if (OnMouseUp) OnMouseUp(this, Button, Shift, P.X, P.Y);
}

void TgxBaseGrid::CtrlOnMouseMove(TObject* Sender, TShiftState Shift, int X, int Y) {
    const TPoint P = ToGrid(*this, Sender, X, Y);
    if (OnMouseMove) OnMouseMove(this, Shift, P.X, P.Y);
}

void TgxBaseGrid::MouseMessageToControl(bool Capture) {
    const bool Pending = FMouseToControl;
    FMouseToControl = false;
    if (!FGridControl) return;
    TgxGridControl* Control = FGridControl->Control();
    if (Pending && FGridControl->GetVisible()) {
        const TPoint P = Control->ScreenToClient(ClientToScreen(FMouseToControlPos));
        if (P.X >= 0 && P.Y >= 0) {
            // The second press of a double click reaches the control only to
            // place the caret: the application heard of the first already.
            const bool Double = FMouseToControlDouble;
            {
                struct TRestore {
                    TgxBaseGrid& Grid;
                    ~TRestore() { Grid.GridControl()->SetMouseDown(MouseDownHandler(Grid)); }
                } Restore{*this};
                if (Double) FGridControl->SetMouseDown(nullptr);
                SendMessage(Control->Handle(), WM_LBUTTONDOWN, Double ? 0 : MK_LBUTTON,
                            PointToLParam(P.X, P.Y));
            }
            // While the button is held the control has the mouse, as it
            // would have had the press been its own.
            if (Control->Focused()) FGridControl->SetMouseCapture(Capture);
        }
    }
    if (!Control->Focused() && FocusToGridControl()) FGridControl->SetFocus();
}

} // namespace grid
