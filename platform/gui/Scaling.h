#pragma once
// A change of scale of a form and its controls: a form scaled by M / D (by
// the program, or because the screen's pixels per inch changed) scales the
// bounds and the own fonts of every control on it, and then tells each
// control, so that a control with sizes of its own scales them too.
class TControl;
class TCustomForm;

// Sent to each control after its bounds and font were scaled: WParam the
// numerator, LParam the denominator. (Within the platform's own message
// numbers, below those left to its users.)
inline constexpr unsigned CM_CHANGESCALE = 0xB000 + 50;

// Scales the control's bounds and, unless it follows its parent's, its
// font, then its children, then sends it CM_CHANGESCALE. Nothing when M
// equals D or D is 0.
void ScaleControl(TControl* Control, int M, int D);
// The form's client size and every control on it; the form keeps its place.
void ScaleForm(TCustomForm* Form, int M, int D);
// The screen went from OldPixelsPerInch to NewPixelsPerInch: every form is
// scaled by the ratio.
void ScreenPixelsPerInchChanged(int OldPixelsPerInch, int NewPixelsPerInch);
