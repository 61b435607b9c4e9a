// Every input of every grid fuzz target's corpus, the ones that once failed
// included, run through its target as an ordinary test.
#include "grid/fuzz/FuzzTargets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Target = int (*)(const std::uint8_t*, std::size_t);

void Replay(const char* Corpus, Target Run) {
    std::vector<std::filesystem::path> Inputs;
    for (const auto& Entry : std::filesystem::directory_iterator(Corpus))
        if (Entry.is_regular_file()) Inputs.push_back(Entry.path());
    std::sort(Inputs.begin(), Inputs.end());
    ASSERT_FALSE(Inputs.empty()) << "no inputs in " << Corpus;
    for (const auto& Input : Inputs) {
        SCOPED_TRACE(Input.filename().string());
        std::ifstream File(Input, std::ios::binary);
        const std::string Bytes{std::istreambuf_iterator<char>(File),
                                std::istreambuf_iterator<char>()};
        EXPECT_EQ(Run(reinterpret_cast<const std::uint8_t*>(Bytes.data()), Bytes.size()), 0);
    }
}

TEST(FuzzCorpus, MaskInputs) {
    Replay(GRID_MASK_CORPUS, grid::fuzz::MaskInput);
}

TEST(FuzzCorpus, DataStreamInputs) {
    Replay(GRID_DATASTREAM_CORPUS, grid::fuzz::DataStreamInput);
}

TEST(FuzzCorpus, GridStateInputs) {
    Replay(GRID_STATE_CORPUS, grid::fuzz::GridStateInput);
}

TEST(FuzzCorpus, GridWalkInputs) {
    Replay(GRID_WALK_CORPUS, grid::fuzz::GridWalkInput);
}

} // namespace
