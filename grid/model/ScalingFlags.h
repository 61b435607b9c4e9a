#pragma once
// What a change of scale applies to, by the framework's ordinals.
#include "platform/classes/SmallSet.h"

#include <cstdint>

namespace grid {

enum class TScalingFlag : std::uint8_t { sfLeft, sfTop, sfWidth, sfHeight, sfFont };
using enum TScalingFlag;
using TScalingFlags = SmallSet<TScalingFlag>;

} // namespace grid
