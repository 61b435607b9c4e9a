#include "grid/model/GridTypes.h"

namespace grid {

bool TgxAlignmentState::SetAlignment(TAlignment Value) {
    if (Value == Alignment) return false;
    Alignment = Value;
    Horz = AlignmentToHorzAlignment(Alignment, Align);
    return true;
}

bool TgxAlignmentState::SetAlign(bool Value) {
    if (Value == Align) return false;
    Align = Value;
    Horz = AlignmentToHorzAlignment(Alignment, Align);
    return true;
}

bool TgxAlignmentState::SetHorz(TgxHorzAlignment Value) {
    if (Value == Horz) return false;
    Horz = Value;
    Alignment = HorzAlignmentToAlignment(Value);
    Align = HorzAlignmentToAlign(Value);
    return true;
}

} // namespace grid
