#pragma once
// The grid's handle on an in-place control. The grid never talks to the
// edit box or the check box directly: it holds one wrapper per kind of cell
// and drives the control through the wrapper's operations, which the
// concrete wrappers (ControlWrappers.h) fill in.
#include "grid/model/GridControl.h"

#include <memory>

namespace grid {

class TgxMaskDefsComponent;

class TgxCustomGridControl {
public:
    virtual ~TgxCustomGridControl();
    TgxCustomGridControl(const TgxCustomGridControl&) = delete;
    TgxCustomGridControl& operator=(const TgxCustomGridControl&) = delete;

    // The wrapped window.
    TgxGridControl* Control() const { return FControl.get(); }

    virtual TWinControl* GetGrid() const = 0;
    virtual void SetGrid(TWinControl* Value) = 0;
    virtual TColor GetColor() const = 0;
    virtual void SetColor(TColor Value) = 0;
    virtual TFont* GetFont() const = 0;
    virtual void SetFont(TFont* Value) = 0;

    virtual bool GetVisible() const;
    virtual void SetVisible(bool Value);
    virtual void SetMouseCapture(bool Value);
    virtual bool GetMouseCapture() const;

    // The framework's events of the control (OnEnter ..) and the in-place
    // control's own (OnEndKeyDown ..), stored in the control.
    virtual void SetEnter(TNotifyEvent Value);
    virtual void SetExit(TNotifyEvent Value);
    virtual void SetKillFocus(TNotifyEvent Value);
    virtual void SetKeyDown(TKeyEvent Value);
    virtual void SetKeyUp(TKeyEvent Value);
    virtual void SetKeyPress(TKeyPressEvent Value);
    virtual void SetClick(TNotifyEvent Value);
    virtual void SetDblClick(TNotifyEvent Value);
    virtual void SetDragDrop(TDragDropEvent Value);
    virtual void SetDragOver(TDragOverEvent Value);
    virtual void SetEndDrag(TEndDragEvent Value);
    virtual void SetMouseDown(TMouseEvent Value);
    virtual void SetMouseMove(TMouseMoveEvent Value);
    virtual void SetMouseUp(TMouseEvent Value);
    virtual void SetStartDrag(TStartDragEvent Value);
    virtual void SetEndKeyDown(TKeyEvent Value);
    virtual void SetEndKeyUp(TKeyEvent Value);
    virtual void SetEndKeyPress(TKeyPressEvent Value);
    virtual void SetNotifyChanged(TgxNotifyChangedEvent Value);
    virtual void SetChanged(TgxChangedEvent Value);
    virtual void SetEdit(TgxEditEvent Value);
    virtual void SetCanChange(TgxCanChangeEvent Value);
    virtual void SetUndoChanged(TgxUndoChangedEvent Value);
    virtual void SetWantKey(TgxWantKeyEvent Value);
    virtual void SetInvalidKeys(TgxInvalidKeysEvent Value);
    virtual void SetEditTextResized(TgxEditTextResizedEvent Value);

    // Text operations; the base does nothing and answers 0 or empty.
    virtual void SetSelStart(int Value);
    virtual void SetSelLength(int Value);
    virtual void SetSelText(const AnsiString& Value);
    virtual void SetValue(const Variant& Value) = 0;
    virtual void SetEditValue(const Variant& Value, bool Flag) = 0;
    virtual void SetKeyEdit(bool Value);
    virtual void SetMouseSelect(bool Value);
    virtual void SetCursor(TCursor Value);
    virtual void SetMaxLength(int Value);
    virtual void SetWantTabs(bool Value);
    virtual void SetMaskDefs(TgxMaskDefsComponent* Value);
    virtual void SetMaskName(const AnsiString& Value);
    virtual void SetAlwaysShowFocus(bool Value);

    virtual TNotifyEvent GetEnter() const;
    virtual TNotifyEvent GetExit() const;
    virtual TNotifyEvent GetKillFocus() const;
    virtual TKeyEvent GetKeyDown() const;
    virtual TKeyEvent GetKeyUp() const;
    virtual TKeyPressEvent GetKeyPress() const;
    virtual TNotifyEvent GetClick() const;
    virtual TNotifyEvent GetDblClick() const;
    virtual TDragDropEvent GetDragDrop() const;
    virtual TDragOverEvent GetDragOver() const;
    virtual TEndDragEvent GetEndDrag() const;
    virtual TMouseEvent GetMouseDown() const;
    virtual TMouseMoveEvent GetMouseMove() const;
    virtual TMouseEvent GetMouseUp() const;
    virtual TStartDragEvent GetStartDrag() const;
    virtual TKeyEvent GetEndKeyDown() const;
    virtual TKeyEvent GetEndKeyUp() const;
    virtual TKeyPressEvent GetEndKeyPress() const;
    virtual TgxNotifyChangedEvent GetNotifyChanged() const;
    virtual TgxChangedEvent GetChanged() const;
    virtual TgxEditEvent GetEdit() const;
    virtual TgxCanChangeEvent GetCanChange() const;
    virtual TgxUndoChangedEvent GetUndoChanged() const;
    virtual TgxWantKeyEvent GetWantKey() const;
    virtual TgxInvalidKeysEvent GetInvalidKeys() const;
    virtual TgxEditTextResizedEvent GetEditTextResized() const;

    virtual Variant GetValue() const = 0;
    virtual int GetSelStart() const;
    virtual int GetSelLength() const;
    virtual AnsiString GetSelText() const;
    virtual bool GetKeyEdit() const;
    virtual bool GetMouseSelect() const;
    virtual TCursor GetCursor() const;
    virtual int GetMaxLength() const;
    virtual bool GetWantTabs() const;
    virtual TgxMaskDefsComponent* GetMaskDefs() const;
    virtual AnsiString GetMaskName() const;
    virtual bool GetAlwaysShowFocus() const;

    virtual void Hide();
    virtual void Show();
    virtual void Repaint();
    virtual void Invalidate();
    // Draws the control's look for a cell into any canvas; what the
    // integers mean is told by each wrapper.
    virtual void DrawControl(TCanvas* Canvas, int Height, const TRect& Rect, int Top, int Left,
                             bool Focused) = 0;
    virtual void SetFocus();
    virtual bool CanFocus() const;
    virtual TPoint ScreenToClient(const TPoint& P) const;
    virtual void SaveCurrentState();
    virtual bool Focused() const;
    virtual bool IsEditControl() const = 0;
    virtual bool IsEditKey(char Key);
    virtual bool MultiLine() const;
    virtual void CutToClipboard(bool Flag);
    virtual void CopyToClipboard();
    virtual void PasteFromClipboard(bool Flag);
    virtual void SelectAll();
    virtual void DblClick();

    int GetLeft() const { return FControl->Left(); }
    int GetTop() const { return FControl->Top(); }
    int GetWidth() const { return FControl->Width(); }
    int GetHeight() const { return FControl->Height(); }
    // Each setter reaches the control only when the value differs.
    void SetLeft(int Value);
    void SetTop(int Value);
    void SetWidth(int Value);
    void SetHeight(int Value);
    TWinControl* GetParent() const { return FControl->Parent(); }
    void SetParent(TWinControl* Value);
    bool GetCtl3D() const { return FControl->Ctl3D(); }
    void SetCtl3D(bool Value) { FControl->SetCtl3D(Value); }
    // The control's window when it has a parent; none without, so that no
    // window is made for a parentless control.
    HWND GetHandle() const;
    TComponentState ComponentState() const { return FControl->ComponentState(); }
    void SetAlignment(TAlignment Value) { FControl->SetAlignment(Value); }
    void SetVertAlignment(TgxVertAlignment Value) { FControl->SetVertAlignment(Value); }
    void SetWordWrap(TgxWordWrap Value) { FControl->SetWordWrap(Value); }
    TAlignment GetAlignment() const { return FControl->Alignment(); }
    TgxVertAlignment GetVertAlignment() const { return FControl->VertAlignment(); }
    TgxWordWrap GetWordWrap() const { return FControl->WordWrap(); }
    void SetLeftMargin(int Value) { FControl->SetLeftMargin(Value); }
    int GetLeftMargin() const { return FControl->LeftMargin(); }

protected:
    // Takes the control the concrete wrapper made.
    explicit TgxCustomGridControl(std::unique_ptr<TgxGridControl> AControl);

    std::unique_ptr<TgxGridControl> FControl;
};

// The wrapper for cells without an editor: a plain, hidden control that
// keeps no colour, font or value.
class TgxDefaultGridControl : public TgxCustomGridControl {
public:
    explicit TgxDefaultGridControl(TComponent* AOwner);

    TWinControl* GetGrid() const override { return FControl->Grid(); }
    void SetGrid(TWinControl* Value) override { FControl->SetGrid(Value); }
    TColor GetColor() const override { return clNone; }
    void SetColor(TColor) override {}
    TFont* GetFont() const override { return FControl->Font(); }
    void SetFont(TFont*) override {}
    Variant GetValue() const override { return Variant(); }
    void SetValue(const Variant&) override {}
    void SetEditValue(const Variant&, bool) override {}
    void DrawControl(TCanvas*, int, const TRect&, int, int, bool) override {}
    bool IsEditControl() const override { return false; }
};

} // namespace grid
