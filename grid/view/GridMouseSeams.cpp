// The hand-over of a press to the in-place control, as the mouse handling
// needs it until the editor hosting provides its own.
#include "grid/model/BaseGrid.h"

namespace grid {

void TgxBaseGrid::MouseMessageToControl(bool Capture) {
    // No in-place control takes presses yet.
    (void)Capture;
}

} // namespace grid
