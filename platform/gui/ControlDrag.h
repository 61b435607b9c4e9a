#pragma once
// Dragging controls within the application: the drag object a source may
// hand out, which control is being dragged, and the control a drop at a
// screen point would go to. The drag itself is TControl's (BeginDrag,
// EndDrag, OnStartDrag, OnDragOver, OnDragDrop, OnEndDrag): while one is
// going on it has the mouse; the mouse moves tell the controls under it
// (dsDragEnter, dsDragMove, dsDragLeave), the release drops, Escape or
// another button cancels. Nothing here reaches the desktop's drag and drop.
#include "platform/gui/Controls.h"

// What OnStartDrag may hand out to stand for the dragged thing; targets
// get it as their Source. The source keeps it (the drag never frees it).
// Without one, Source is the dragged control.
class TDragObject : public TObject {
public:
    AnsiString ClassName() const override { return "TDragObject"; }
};

// The control being dragged, or nullptr when no drag is going on.
TControl* DragSourceControl();
// A drag is going on (also before its threshold is passed).
bool IsDragging();
// The control that gets a drop at the screen point: the innermost control
// there, disabled ones only with AllowDisabled; nullptr over no control.
TControl* FindDragTarget(const TPoint& Pos, bool AllowDisabled);
// Pixels the mouse must move, button held, before a drag waiting for its
// threshold starts.
int DragThreshold();
