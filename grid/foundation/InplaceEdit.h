#pragma once
// The borderless masked edit a grid lays over its current cell. It loads
// its text, mask and length limit from the grid, hands navigation keys back
// to the grid, and lets the grid decide whether the text may change. The
// grid owns it, shows, moves and hides it, and reads its text back.
#include "platform/gui/Mask.h"

#include <cstdint>

namespace grid {

class TCustomGrid_ts;

class TInplaceEdit : public TCustomMaskEdit {
public:
    explicit TInplaceEdit(TComponent* AOwner);
    AnsiString ClassName() const override { return "TInplaceEdit"; }

    TCustomGrid_ts* Grid() const { return FGrid; }
    void SetGrid(TCustomGrid_ts* Value) { FGrid = Value; }

    // Reloads text, mask and limit for the grid's current cell.
    virtual void UpdateContents();
    // The window moved or changed size: re-applies the formatting rectangle.
    virtual void BoundsChanged();

    // Shows the editor over Rect (an empty rectangle hides it).
    void Move(const TRect& Loc);
    // As Move, without redrawing what was under the old place.
    void UpdateLoc(const TRect& Loc);
    // Hides the window; the grid takes the focus back when the editor had it.
    void Hide();
    void SetFocus() override;
    // Whether the editor lies exactly over Rect (grid client coordinates).
    bool PosEqual(const TRect& Rect);
    // Caret after the text, nothing selected.
    void Deselect();
    // Repaints the editor and the part of the grid under it.
    void Invalidate();

    // When the grid last saw a left-button press, 0 once used.
    std::uint32_t ClickTime() const { return FClickTime; }
    void SetClickTime(std::uint32_t Value) { FClickTime = Value; }

    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void KeyUp(Word& Key, TShiftState Shift) override;

protected:
    virtual bool EditCanModify();
    void DblClick() override;
    virtual bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);
    void WndProc(TMessage& Message) override;
    void Dispatch(TMessage& Message) override;
    bool WantsKey(Word Key) const override;
    void Change() override;

private:
    void InternalMove(const TRect& Loc, bool Redraw);
    // The text the editor holds (what is shown, literals included).
    int TextLength() const;
    void GetSel(int& SelStart, int& SelEnd);

    TCustomGrid_ts* FGrid = nullptr;
    std::uint32_t FClickTime = 0;
    bool FLoading = false;
};

} // namespace grid
