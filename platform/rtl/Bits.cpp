#include "platform/rtl/Bits.h"

#include "platform/rtl/Exceptions.h"

#include <limits>

namespace {

[[noreturn]] void BitsError() {
    throw EBitsError("Bits index out of range");
}

} // namespace

void TBits::SetSize(int Value) {
    if (Value < 0) BitsError();
    const auto Size = static_cast<std::size_t>(Value);
    // Lists of rows grow one row at a time, for which a push costs far
    // less than a general resize.
    if (Size == FBits.size() + 1)
        FBits.push_back(false);
    else
        FBits.resize(Size, false);
}

bool TBits::GetBit(int Index) const {
    if (Index < 0 || Index >= Size()) BitsError();
    return FBits[static_cast<std::size_t>(Index)];
}

void TBits::SetBit(int Index, bool Value) {
    // The largest index would need a size one past the int range.
    if (Index < 0 || Index == std::numeric_limits<int>::max()) BitsError();
    if (Index >= Size()) SetSize(Index + 1);
    FBits[static_cast<std::size_t>(Index)] = Value;
}

int TBits::OpenBit() const {
    for (int I = 0; I < Size(); ++I)
        if (!FBits[static_cast<std::size_t>(I)]) return I;
    return Size();
}
