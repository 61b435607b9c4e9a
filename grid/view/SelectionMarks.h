#pragma once
// Selecting or unselecting one whole row or column and drawing it at once;
// a position already in the wanted state is left alone (and not drawn).

namespace grid {

class TgxBaseGrid;

void MarkRow(TgxBaseGrid& Grid, int DisplayRow, bool Select);
void MarkCol(TgxBaseGrid& Grid, int DisplayCol, bool Select);

} // namespace grid
