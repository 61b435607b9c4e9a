#pragma once
// The groups of grid state that saving, loading, assignment and reset work
// on. A set of them is streamed by member name.
#include "platform/classes/SmallSet.h"

#include <cstdint>

namespace grid {

enum class TgxPropKind : std::uint8_t { pkGrid, pkCols, pkRows, pkCells };
using enum TgxPropKind;
using TgxPropKinds = SmallSet<TgxPropKind>;
inline constexpr TgxPropKinds AllPropKinds{pkGrid, pkCols, pkRows, pkCells};

} // namespace grid
