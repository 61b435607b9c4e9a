#pragma once
// Where items end up when each in turn is inserted at its index into a
// sparse list (every item at or above the index moving up one place),
// worked out without moving anything.
#include <cstdint>
#include <vector>

namespace grid {

// Indexes[k] >= 0 is the index the k-th item is inserted at, into a list
// that starts empty; the result's k-th entry is that item's index once all
// are in. Takes time in proportion to n log n for n items, in any order.
std::vector<std::int64_t> PlacesAfterInserts(const std::vector<int>& Indexes);

} // namespace grid
