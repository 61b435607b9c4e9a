// A shown grid driven by a long seeded sequence of public operations and
// real key events, checked after every step against a plain model (the
// walk itself is the grid walk fuzz target's; its corpus is replayed with
// the others).
#include "grid/fuzz/FuzzTargets.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

TEST(GridWalk, SeededWalksOfOperationsOnAShownGridMatchThePlainModel) {
    for (unsigned Seed : {6u, 7u, 8u, 12u, 15u, 18u, 24u, 25u, 29u, 32u, 42u, 45u, 50u, 57u, 68u,
                          71u, 128u, 205u, 222u}) {
        std::mt19937 Random(Seed);
        std::vector<std::uint8_t> Bytes(1000);
        for (auto& Byte : Bytes)
            Byte = static_cast<std::uint8_t>(Random() & 0xFF);
        EXPECT_EQ(grid::fuzz::WalkGrid(Bytes.data(), Bytes.size()), "") << "seed " << Seed;
    }
}

} // namespace
