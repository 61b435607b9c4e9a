#pragma once
// Platform-internal: what WindowScroll.cpp reaches of a custom control's
// painting machinery (its own scroll bars and its update area).
#include "platform/gui/CustomControl.h"

#include <QPointer>

class QScrollBar;

// One of the window's own scroll bars.
struct TControlPainterBar {
    QPointer<QScrollBar> Widget;
    bool Shown = false;
    bool Enabled = true;
    int Min = 0;
    int Max = 0;
    unsigned Page = 0;
    int Pos = 0;
    int TrackPos = 0;
};

TControlPainterBar& ControlPainterBar(TPaintedControl<TWinControl>& Control, int Bar);
// Shows or hides the bar; the client area and WM_SIZE follow.
void ControlPainterShowBar(TPaintedControl<TWinControl>& Control, int Bar, bool Show);
// Shows the bar's range, page and position on its widget.
void ControlPainterApplyBar(TPaintedControl<TWinControl>& Control, int Bar);
// Paints the update area now.
void ControlPainterFlush(TPaintedControl<TWinControl>& Control);
