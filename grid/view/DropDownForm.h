#pragma once
// The borderless form a grid's drop-down (its combo list or its calendar)
// lives on, and the application-wide watch that closes an open drop-down
// when the user presses the mouse outside it or another window takes the
// activation. Every grid with an open drop-down is registered with the
// watch; the watch is there while any grid is.
#include "platform/gui/PopupForm.h"

namespace grid {

class TgxBaseGrid;

class TgxDropDownForm : public TPopupForm {
public:
    // Owner is the grid; the form stays above the grid's window.
    explicit TgxDropDownForm(TComponent* AOwner);
    AnsiString ClassName() const override { return "TgxDropDownForm"; }

    // Off: the form is an ordinary tool window (the date-time pop-up). Set
    // before the form's window is made; a made window keeps its kind.
    bool DropDown() const { return FDropDown; }
    void SetDropDown(bool Value);

protected:
    QWidget* CreateWidget() override;
    void WidgetCreated() override;
    void UpdateWidgetVisible() override;
    // A dropped form never has the keyboard: the keys its grid hands it go
    // on to the control it shows.
    void KeyDown(Word& Key, TShiftState Shift) override;

private:
    bool FDropDown = true;
};

// The grid's drop-down opened (closed). A grid may be registered more than
// once; each unregistering takes one entry out.
void RegisterGridHooks(TgxBaseGrid* Grid);
void UnregisterGridHooks(TgxBaseGrid* Grid);
// Takes every entry of Grid out (a grid going away).
void UnregisterGridHooksAll(TgxBaseGrid* Grid);
// Whether the grid is registered, and whether the watch is there.
bool GridHooksRegistered(const TgxBaseGrid* Grid);
bool GridHooksInstalled();

} // namespace grid
