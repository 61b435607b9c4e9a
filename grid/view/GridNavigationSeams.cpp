// Minimal bodies for what the edit flow and the editor hosting own; in
// browse mode no edit starts and no in-place control is shown, so these have
// nothing to do until those land.
#include "grid/model/BaseGrid.h"

namespace grid {

void TgxBaseGrid::CheckRowColChanged() {}

void TgxBaseGrid::CheckInsertionRow(bool) {}

void TgxBaseGrid::HideGridControl(bool) {}

void TgxBaseGrid::ShowGridControl() {}

} // namespace grid
