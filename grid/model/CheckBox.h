#pragma once
// The grid's in-place check box: a 13 by 13 check image centred in the
// cell, toggled by a click or the space key, its value a Variant that check
// box values texts can map to texts, with one level of undo. The grid also
// paints check-box cells that are not being edited through it.
#include "grid/model/GridControl.h"

#include "platform/gui/StdCtrls.h"

#include <array>
#include <memory>

namespace grid {

// The looks; the grid passes its own check-box style by ordinal.
enum class TgxGridCheckBoxStyle : std::uint8_t { cbFlat, cbWin95, cbWinNT };
using enum TgxGridCheckBoxStyle;

// The shared image strip: 18 images of 13 by 13 pixels, image n in rows
// 13n to 13n + 12 (WinNT, Win95 and flat looks, each checked, unchecked and
// grayed, then the pressed copy of each at n + 9). Built on first use.
TBitmap* CheckBoxImageStrip();
inline constexpr int gxCheckImageSize = 13;

class TgxGridCheckBox : public TgxGridControl {
public:
    explicit TgxGridCheckBox(TComponent* AOwner);
    ~TgxGridCheckBox() override;
    AnsiString ClassName() const override { return "TgxGridCheckBox"; }

    // ---- value and state
    TCheckBoxState State() const { return FState; }
    const Variant& Value() const { return FValue; }
    // As a value, when OnCanChange allows; as an edit, when the edit check
    // allows. Either clears the undo state.
    void SetValue(const Variant& Value);
    void SetEditValue(const Variant& Value, bool Flag);
    void SetCheckBoxState(TCheckBoxState State);
    void SetEditCheckBoxState(TCheckBoxState State, bool Flag);
    // The next state of the cycle, keeping the state before the first
    // toggle for undo.
    void ToggleCheckBoxState();
    // Restores the value before the first toggle; true when it did.
    bool Undo();
    bool UndoSaved() const { return FOldStateSaved; }

    bool AllowGrayed = false;
    // Texts of the states (checked | unchecked | grayed); empty for
    // integer values.
    AnsiString CheckBoxValues;
    // The colour a user bitmap's pressed copy replaces, and by what.
    TColor CheckBoxMaskColor = clWhite;
    TColor CheckBoxMaskToColor = clSilver;

    // ---- looks
    TgxGridCheckBoxStyle CheckBoxStyle() const { return FCheckBoxStyle; }
    void SetCheckBoxStyle(TgxGridCheckBoxStyle Value);
    // A bitmap of the user's for a state, in every style until it is
    // removed (nullptr).
    void SetCheckBoxBitmap(TCheckBoxState State, TBitmap* Bitmap);
    // The bitmap to copy the state's image from, its area and copy mode;
    // with UsePressed the pressed copy while the box is pressed.
    TBitmap* GetCheckBoxBitmap(TCheckBoxState State, TCopyMode& Mode, bool UsePressed,
                               TRect& Source);
    // Draws the box's look into the rectangle of any canvas.
    void DrawCheck(TCanvas* ACanvas, const TRect& R, bool FocusedLook);
    // Drops the pressed look of a mouse press.
    void ResetSelectState();
    // The left button or the space key holds the box down now.
    bool Pressed() const;

    bool IsEditKey(char Key) override { return Key == ' '; }
    void Dispatch(TMessage& Message) override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void KeyUp(Word& Key, TShiftState Shift) override;
    void WMSetFocus(TMessage& Message) override;
    void WMKillFocus(TMessage& Message) override;
    void WMLButtonUp(TMessage& Message) override;

private:
    void AssignValue(const Variant& Value, bool Edit, bool Flag);
    void Toggled();
    bool Swallowing() const;
    int& ImageIndex(TCheckBoxState State);

    TCheckBoxState FOldState = cbUnchecked;
    Variant FOldValue{0};
    bool FOldStateSaved = false;
    std::array<std::unique_ptr<TBitmap>, 3> FStateBitmaps;
    int FCheckedImage = 3;
    int FUncheckedImage = 4;
    int FGrayedImage = 5;
    TCheckBoxState FState = cbUnchecked;
    Variant FValue{0};
    TgxGridCheckBoxStyle FCheckBoxStyle = cbWin95;
    int FWin95Base = 3;
    int FWinNTBase = 0;
    int FFlatBase = 6;
    bool FPressedInside = false;
    bool FMousePressing = false;
    bool FSpaceDown = false;
    bool FMouseRefused = false;
    bool FSpaceRefused = false;
};

} // namespace grid
