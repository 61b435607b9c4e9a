#pragma once
// A column's own drop-down list as a form keeps it: the list grid's saved
// state (its columns, rows, cells and values) followed by the list's own
// settings (sizes, value and display columns, search and fill).
class TStream;

namespace grid {

class TgxComboGrid;

void WriteComboList(TgxComboGrid& List, TStream* Stream);
// Takes an older list too (the saved state alone, its settings left as
// they are). A stored setting outside what a list takes is refused by name.
void ReadComboList(TgxComboGrid& List, TStream* Stream);

} // namespace grid
