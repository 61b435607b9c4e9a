// The packed text block of the sparse string list, checked against a plain
// vector of optional strings through a long mixed run of changes.
#include "grid/foundation/PackedTexts.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

using namespace grid;

namespace {

using TTextModel = std::vector<std::optional<std::string>>;

void Trim(TTextModel& M) {
    while (!M.empty() && !M.back()) M.pop_back();
}

void ExpectSameTexts(const TPackedTexts& P, const TTextModel& M, int Step) {
    ASSERT_EQ(P.Length(), static_cast<int>(M.size())) << "step " << Step;
    for (int I = 0; I < static_cast<int>(M.size()) + 2; ++I) {
        const bool Present = I < static_cast<int>(M.size()) && M[I].has_value();
        ASSERT_EQ(P.Present(I), Present) << "step " << Step << " index " << I;
        ASSERT_EQ(std::string(P.Text(I)), Present ? *M[I] : "") << "step " << Step << " index " << I;
    }
}

TEST(PackedTexts, FollowsAPlainListThroughMixedChanges) {
    TPackedTexts P;
    TTextModel M;
    unsigned Seed = 12345;
    auto Next = [&Seed](unsigned N) {
        Seed = Seed * 1103515245u + 12345u;
        return (Seed >> 16) % N;
    };
    for (int Step = 0; Step < 3000; ++Step) {
        const int Index = static_cast<int>(Next(40));
        // Texts from empty to long enough to make the block grow and shrink.
        const std::string Text(Next(4) == 0 ? 0 : Next(60), static_cast<char>('a' + Step % 26));
        switch (Next(5)) {
        case 0:
        case 1: // put an item
            P.Store(Index, true, Text);
            if (Index >= static_cast<int>(M.size())) M.resize(Index + 1);
            M[Index] = Text;
            break;
        case 2: // remove an item
            P.Store(Index, false, Text);
            if (Index < static_cast<int>(M.size())) M[Index].reset();
            Trim(M);
            break;
        case 3:
            P.Insert(Index, Text);
            if (Index >= static_cast<int>(M.size())) M.resize(Index);
            M.insert(M.begin() + Index, Text);
            break;
        case 4:
            P.Erase(Index);
            if (Index < static_cast<int>(M.size())) M.erase(M.begin() + Index);
            Trim(M);
            break;
        }
        ExpectSameTexts(P, M, Step);
        if (Step % 1000 == 999) {
            P.Clear();
            M.clear();
        }
    }
}

TEST(PackedTexts, EmptyTextsAndTheLastItemGoing) {
    TPackedTexts P;
    P.Store(3, true, ""); // an item with no text is still there
    EXPECT_EQ(P.Length(), 4);
    EXPECT_TRUE(P.Present(3));
    EXPECT_FALSE(P.Present(2));
    P.Store(3, false, "");
    EXPECT_EQ(P.Length(), 0);
    EXPECT_EQ(P.Capacity(), 0u); // nothing left, nothing held
    P.Store(5, false, "x");      // removing what is not there
    EXPECT_EQ(P.Length(), 0);
}

TEST(PackedTexts, AppendingKeepsTheBlockCloseToItsContent) {
    TPackedTexts P;
    std::size_t Bytes = 0;
    for (int I = 0; I < 1000; ++I) {
        const std::string Text = "R" + std::to_string(I) + "C1";
        P.Store(I, true, Text);
        Bytes += Text.size() + 4;
        // Geometric but small steps: never more than an eighth over, plus a little.
        EXPECT_LE(P.Capacity(), Bytes + Bytes / 8 + 24) << I;
    }
    EXPECT_EQ(std::string(P.Text(999)), "R999C1");
}

} // namespace
