#pragma once
// The window base of the grid's in-place controls (the edit box and the
// check box). Such a control behaves as a part of the grid rather than as a
// focusable control of its own: the grid stays the form's focused control,
// a double click is recognised from two single clicks (the control is
// often shown under the mouse after the grid took the first click),
// painting goes through one off-screen surface shared by all in-place
// controls, and the control asks its owner through events before it
// changes anything.
#include "grid/foundation/GridCommonCanvas.h"
#include "grid/foundation/GridCommonControls.h"
#include "grid/model/PropDefaults.h"
#include "platform/gui/CustomControl.h"

#include <cstdint>
#include <functional>

namespace grid {

using TgxEditEvent = std::function<void(TObject* Sender, bool& Cancel)>;
using TgxCanChangeEvent = std::function<void(TObject* Sender, bool Editing, bool& Cancel)>;
using TgxNotifyChangedEvent = std::function<void(TObject* Sender, bool Value)>;
// The meaning of the three flags is the grid view's; the controls only
// pass them on (edited, text typed, by the user).
using TgxChangedEvent = std::function<void(TObject* Sender, bool A, bool B, bool C)>;
using TgxUndoChangedEvent = std::function<void(TObject* Sender, bool Value, bool& Cancel)>;
using TgxWantKeyEvent = std::function<void(TObject* Sender, Word Key, bool& Want)>;
using TgxInvalidKeysEvent =
    std::function<void(TObject* Sender, const AnsiString& Keys, bool& Accept)>;
using TgxEditTextResizedEvent = std::function<void(TObject* Sender, bool Value)>;

// The off-screen surface all in-place controls paint through.
TgxMemoryCanvas& ControlMemoryCanvas();

class TgxGridControl : public TCustomControl {
public:
    explicit TgxGridControl(TComponent* AOwner);
    ~TgxGridControl() override;
    AnsiString ClassName() const override { return "TgxGridControl"; }

    // The grid that owns the control (not owned).
    TWinControl* Grid() const { return FGrid; }
    void SetGrid(TWinControl* Value) { FGrid = Value; }

    TAlignment Alignment() const { return FAlignment; }
    TgxVertAlignment VertAlignment() const { return FVertAlignment; }
    TgxWordWrap WordWrap() const { return FWordWrap; }
    virtual void SetAlignment(TAlignment Value);
    virtual void SetVertAlignment(TgxVertAlignment Value);
    virtual void SetWordWrap(TgxWordWrap Value);
    int LeftMargin() const { return FLeftMargin; }
    void SetLeftMargin(int Value) { FLeftMargin = Value; }

    bool KeyEdit() const { return FKeyEdit; }
    void SetKeyEdit(bool Value) { FKeyEdit = Value; }
    bool MouseSelect() const { return FMouseSelect; }
    void SetMouseSelect(bool Value) { FMouseSelect = Value; }
    bool WantTabs() const { return FWantTabs; }
    void SetWantTabs(bool Value) { FWantTabs = Value; }
    bool AlwaysShowFocus() const { return FAlwaysShowFocus; }
    void SetAlwaysShowFocus(bool Value) { FAlwaysShowFocus = Value; }
    bool DblClickEmulation() const { return FDblClickEmulation; }

    // The sunken look of the old 3D controls; the grid turns it off.
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool Value);

    // OnCanChange decides; true when not cancelled.
    virtual bool CheckCanChange(bool Editing);
    // False for a key edit while keyboard editing is off; otherwise OnEdit
    // and then CheckCanChange(true) decide.
    virtual bool CheckCanEdit(bool ByKey);
    // Whether the character starts an edit in this control.
    virtual bool IsEditKey(char Key);
    // OnWantKey decides; false without a handler.
    bool WantKey(Word Key);

    // Calls the framework's SetFocus only when not focused already.
    void SetFocus() override;
    // Fires the framework's double click, as a click pair would.
    void PerformDblClick() { DblClick(); }

    void WndProc(TMessage& Message) override;
    void Dispatch(TMessage& Message) override;

    TKeyEvent OnEndKeyDown;
    TKeyEvent OnEndKeyUp;
    TKeyPressEvent OnEndKeyPress;
    TgxEditEvent OnEdit;
    TgxCanChangeEvent OnCanChange;
    TgxNotifyChangedEvent OnNotifyChanged;
    TgxChangedEvent OnChanged;
    TgxUndoChangedEvent OnUndoChanged;
    TNotifyEvent OnKillFocus;
    TgxWantKeyEvent OnWantKey;
    TgxInvalidKeysEvent OnInvalidKeys;
    TgxEditTextResizedEvent OnEditTextResized;

protected:
    // Paints through the shared memory surface and copies the painted area
    // to the control's image.
    void PaintWindow() override;
    // A plain control (the one over a cell without an editor, a picture
    // cell) draws nothing of its own: it shows the grid's pixels beneath it.
    void Paint() override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

    // The control's own handling of the focus messages; the base does the
    // framework's (the focus itself stays the grid's).
    virtual void WMSetFocus(TMessage& Message);
    virtual void WMKillFocus(TMessage& Message);
    virtual void WMLButtonUp(TMessage& Message);

    // The framework's handling of a message, past this class's own.
    void InheritedDispatch(TMessage& Message) { TCustomControl::Dispatch(Message); }
    bool Destroying() const { return ComponentState().Contains(csDestroying); }
    // The box, the grid or the always-show switch asks for the focused look.
    bool ShowsFocus();

    TWinControl* FGrid = nullptr;
    std::uint32_t FLastClickTick = 0;
    TPoint FLastClickPos;
    bool FDblClickPending = false;
    TAlignment FAlignment = taLeftJustify;
    TgxVertAlignment FVertAlignment = vtaDefault;
    TgxWordWrap FWordWrap = uiOn;
    int FLeftMargin = 0;
    bool FClickPending = false;
    bool FMouseDown = false;
    bool FKeyEdit = true;
    bool FDblClickEmulation = true;
    bool FWantTabs = true;
    bool FAlwaysShowFocus = false;
    bool FControlDcPrepared = false;
    bool FMouseSelect = true;
    bool FCtl3D = true;

private:
    void WMLButtonDown(TMessage& Message);
    void WMLButtonDblClk(TMessage& Message);
    void WMGetDlgCode(TMessage& Message);
};

} // namespace grid
