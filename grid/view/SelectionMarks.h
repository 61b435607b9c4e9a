#pragma once
// Selecting or unselecting one whole row or column and drawing it at once;
// a position already in the wanted state is left alone (and not drawn).
// And showing a change made in the selection colours.

namespace grid {

class TgxBaseGrid;

void MarkRow(TgxBaseGrid& Grid, int DisplayRow, bool Select);
void MarkCol(TgxBaseGrid& Grid, int DisplayCol, bool Select);
// Every selected row but Keep goes plain.
void UnselectRowsBut(TgxBaseGrid& Grid, int Keep);

// Coloured selections are drawn by the paint: the cells whose state changed
// were invalidated, and are painted once, now, at the end of the change, as
// inverted cells show at once.
void ShowColouredChange(TgxBaseGrid& Grid);

} // namespace grid
