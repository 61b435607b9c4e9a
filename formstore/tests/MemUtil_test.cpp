#include "formstore/MemUtil.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

using namespace formstore;

namespace {

TEST(MemUtil, BlocksAreZeroFilledKnowTheirSizeAndGrowWithZeros) {
    EXPECT_EQ(AllocMemo(0), nullptr);
    EXPECT_EQ(AllocMemo(-5), nullptr);
    EXPECT_EQ(GetMemoSize(nullptr), 0);

    void* Block = AllocMemo(8);
    ASSERT_NE(Block, nullptr);
    EXPECT_EQ(GetMemoSize(Block), 8);
    const std::array<char, 64> Zeros{};
    EXPECT_TRUE(CompareMem(Block, Zeros.data(), 8));

    std::memset(Block, 0x5A, 8);
    Block = ReallocMemo(Block, 64);
    EXPECT_EQ(GetMemoSize(Block), 64);
    EXPECT_EQ(static_cast<unsigned char*>(Block)[7], 0x5A);
    EXPECT_TRUE(CompareMem(static_cast<char*>(Block) + 8, Zeros.data(), 56));

    Block = ReallocMemo(Block, 4);
    EXPECT_EQ(GetMemoSize(Block), 4);
    FreeMemo(Block);
    EXPECT_EQ(Block, nullptr);
    FreeMemo(Block); // nothing for nothing

    void* Fresh = ReallocMemo(nullptr, 3);
    EXPECT_EQ(GetMemoSize(Fresh), 3);
    EXPECT_EQ(ReallocMemo(Fresh, 0), nullptr);
}

TEST(MemUtil, MovesAndPointerArithmetic) {
    char Text[] = "abcdef";
    HMemCpy(Text + 1, Text, 4); // overlapping
    EXPECT_STREQ(Text, "aabcdf");

    std::array<std::int32_t, 5> Items{1, 2, 3, 4, 5};
    HugeMove(Items.data(), 0, 2, 3);
    EXPECT_EQ(Items, (std::array<std::int32_t, 5>{3, 4, 5, 4, 5}));

    void* P = Text;
    HugeInc(P, 3);
    EXPECT_EQ(*static_cast<char*>(P), 'c');
    HugeDec(P, 2);
    EXPECT_EQ(P, HugeOffset(Text, 1));

    EXPECT_FALSE(CompareMem("abc", "abd", 3));
    EXPECT_TRUE(CompareMem("abc", "abd", 2));

    auto Copy = StrPAlloc("hello");
    EXPECT_STREQ(Copy.get(), "hello");
    AnsiString S = "xy";
    StringToPChar(S)[0] = 'z';
    EXPECT_EQ(S, "zy");
}

} // namespace
