#pragma once
// A windowed control's own picture as its window shows it, without the
// controls it holds: what lies behind those controls.
#include "platform/gui/Controls.h"
#include "platform/gui/Graphics.h"

// Paints Control's window (its background, frame and what it draws itself,
// such as a panel's caption) onto Target with the window's top-left corner
// at (X, Y), leaving out its child controls. Nothing for nullptr.
void PaintWindowPicture(TWinControl* Control, TCanvas* Target, int X, int Y);
