#pragma once
// Alignment types of grid cells and the questions the grid asks about the
// controls it hosts: does one of them have the focus, is it visible, does a
// window belong to it.
#include "platform/gui/Controls.h"

#include <cstdint>

namespace grid {

// Streamed with the grid's properties: the ordinals stay as they are.
enum class TgxHorzAlignment : std::uint8_t { htaLeft, htaRight, htaCenter, htaDefault };
using enum TgxHorzAlignment;
enum class TgxVertAlignment : std::uint8_t { vtaTop, vtaBottom, vtaCenter, vtaDefault };
using enum TgxVertAlignment;

// htaDefault when the alignment is not set, else the matching alignment.
TgxHorzAlignment AlignmentToHorzAlignment(TAlignment Alignment, bool IsSet);
// Right and center map over; everything else, htaDefault included, is left.
TAlignment HorzAlignmentToAlignment(TgxHorzAlignment Alignment);
// Whether the value sets an alignment (anything but htaDefault).
bool HorzAlignmentToAlign(TgxHorzAlignment Alignment);

// The control, or any windowed control inside it at any depth, has the focus.
bool ControlFocused(TControl* Control);
// The control and each of its parents are visible.
bool ControlVisible(TControl* Control);
// Handle is the control's window or that of a windowed control inside it;
// false while the control has no window yet.
bool IsControlHandle(HWND Handle, TWinControl* Control);

} // namespace grid
