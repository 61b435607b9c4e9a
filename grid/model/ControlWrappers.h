#pragma once
// The grid's wrappers of its two editing controls: one for text cells
// over the edit box, one for check-box cells over the check box.
#include "grid/model/CheckBox.h"
#include "grid/model/EditBox.h"
#include "grid/model/InplaceControl.h"

namespace grid {

// What the two wrappers share: their control keeps the grid, the colour
// and the font it is given.
class TgxStyledGridControl : public TgxCustomGridControl {
public:
    TWinControl* GetGrid() const override { return FControl->Grid(); }
    void SetGrid(TWinControl* Value) override { FControl->SetGrid(Value); }
    TColor GetColor() const override { return FControl->Color(); }
    void SetColor(TColor Value) override { FControl->SetColor(Value); }
    TFont* GetFont() const override { return FControl->Font(); }
    void SetFont(TFont* Value) override { FControl->SetFont(Value); }

protected:
    using TgxCustomGridControl::TgxCustomGridControl;
};

class TgxEditGridControl : public TgxStyledGridControl {
public:
    explicit TgxEditGridControl(TComponent* AOwner);

    TgxGridEditBox* EditBox() const { return static_cast<TgxGridEditBox*>(FControl.get()); }

    // The text as a string.
    Variant GetValue() const override { return Variant(EditBox()->EditText()); }
    void SetValue(const Variant& Value) override;
    void SetEditValue(const Variant& Value, bool Flag) override;
    // Draws the text: Height decides the wrapping, Top and Left are where
    // the first line starts; the focus flag plays no part.
    void DrawControl(TCanvas* Canvas, int Height, const TRect& Rect, int Top, int Left,
                     bool Focused) override;
    bool IsEditControl() const override { return true; }
    bool MultiLine() const override { return EditBox()->LineCount() > 1; }

    void SetSelStart(int Value) override;
    void SetSelLength(int Value) override { EditBox()->SetSelLength(Value); }
    int GetSelStart() const override { return EditBox()->GetSelStart(); }
    int GetSelLength() const override { return EditBox()->GetSelLength(); }
    AnsiString GetSelText() const override { return EditBox()->GetSelText(); }
    void SetSelText(const AnsiString& Value) override { EditBox()->SetSelText(Value); }
    void SetMaxLength(int Value) override { EditBox()->SetMaxLength(Value); }
    int GetMaxLength() const override { return EditBox()->MaxLength(); }
    void SetMaskDefs(TgxMaskDefsComponent* Value) override { EditBox()->SetMaskDefs(Value); }
    TgxMaskDefsComponent* GetMaskDefs() const override { return EditBox()->MaskDefs(); }
    void SetMaskName(const AnsiString& Value) override { EditBox()->SetMaskName(Value); }
    AnsiString GetMaskName() const override { return EditBox()->MaskName(); }
    void SelectAll() override { EditBox()->SelectAll(); }
    void CutToClipboard(bool Flag) override { EditBox()->CutToClipboard(Flag); }
    void CopyToClipboard() override { EditBox()->CopyToClipboard(); }
    void PasteFromClipboard(bool Flag) override { EditBox()->PasteFromClipboard(Flag); }
    // Applies the box's own selection again.
    void SaveCurrentState() override;

    AnsiString GetText() const { return EditBox()->EditText(); }
    void SetText(const AnsiString& Value) { EditBox()->SetText(Value); }
    void SetEditText(const AnsiString& Value, bool Flag) { EditBox()->SetEditText(Value, Flag); }
};

class TgxCheckGridControl : public TgxStyledGridControl {
public:
    explicit TgxCheckGridControl(TComponent* AOwner);

    TgxGridCheckBox* CheckBox() const { return static_cast<TgxGridCheckBox*>(FControl.get()); }

    Variant GetValue() const override { return CheckBox()->Value(); }
    void SetValue(const Variant& Value) override { CheckBox()->SetValue(Value); }
    void SetEditValue(const Variant& Value, bool Flag) override {
        CheckBox()->SetEditValue(Value, Flag);
    }
    // Draws the box into Rect moved to (Left, Top); Height plays no part.
    void DrawControl(TCanvas* Canvas, int Height, const TRect& Rect, int Top, int Left,
                     bool Focused) override;
    bool IsEditControl() const override { return false; }
    // Letting the mouse go also lets the box up.
    void SetMouseCapture(bool Value) override;

    TCheckBoxState GetState() const { return CheckBox()->State(); }
    void SetState(TCheckBoxState Value) { CheckBox()->SetCheckBoxState(Value); }
    void SetEditState(TCheckBoxState Value, bool Flag) {
        CheckBox()->SetEditCheckBoxState(Value, Flag);
    }
    TgxGridCheckBoxStyle GetCheckBoxStyle() const { return CheckBox()->CheckBoxStyle(); }
    void SetCheckBoxStyle(TgxGridCheckBoxStyle Value) { CheckBox()->SetCheckBoxStyle(Value); }
    TBitmap* GetCheckBoxBitmap(TCheckBoxState State, TCopyMode& Mode, bool UsePressed,
                               TRect& Source) {
        return CheckBox()->GetCheckBoxBitmap(State, Mode, UsePressed, Source);
    }
    void SetCheckBoxBitmap(TCheckBoxState State, TBitmap* Bitmap) {
        CheckBox()->SetCheckBoxBitmap(State, Bitmap);
    }
    TColor GetCheckBoxMaskColor() const { return CheckBox()->CheckBoxMaskColor; }
    void SetCheckBoxMaskColor(TColor Value) { CheckBox()->CheckBoxMaskColor = Value; }
    TColor GetCheckBoxMaskToColor() const { return CheckBox()->CheckBoxMaskToColor; }
    void SetCheckBoxMaskToColor(TColor Value) { CheckBox()->CheckBoxMaskToColor = Value; }
    bool GetAllowGrayed() const { return CheckBox()->AllowGrayed; }
    void SetAllowGrayed(bool Value) { CheckBox()->AllowGrayed = Value; }
    const AnsiString& GetCheckBoxValues() const { return CheckBox()->CheckBoxValues; }
    void SetCheckBoxValues(const AnsiString& Value) { CheckBox()->CheckBoxValues = Value; }
};

} // namespace grid
