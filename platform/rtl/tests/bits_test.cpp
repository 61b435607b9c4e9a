#include "platform/rtl/Bits.h"
#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

namespace {

TEST(TBits, SettingGrowsReadingPastTheEndRaises) {
    TBits Bits;
    EXPECT_EQ(Bits.Size(), 0);
    Bits.SetBit(5, true);
    EXPECT_EQ(Bits.Size(), 6);
    EXPECT_TRUE(Bits.GetBit(5));
    EXPECT_FALSE(Bits[4]);
    Bits.SetBit(2, false);
    EXPECT_EQ(Bits.Size(), 6);

    for (int Bad : {-1, 6, 100}) {
        SCOPED_TRACE(Bad);
        try {
            Bits.GetBit(Bad);
            ADD_FAILURE() << "no exception";
        } catch (const EBitsError& E) {
            EXPECT_EQ(E.Message, "Bits index out of range");
        }
    }
    EXPECT_THROW(Bits.SetBit(-1, true), EBitsError);
    EXPECT_THROW(Bits.SetSize(-1), EBitsError);
    EXPECT_EQ(Bits.Size(), 6);
}

TEST(TBits, OpenBitFindsTheFirstClearBit) {
    TBits Bits;
    EXPECT_EQ(Bits.OpenBit(), 0);
    for (int I = 0; I < 3; ++I)
        Bits.SetBit(I, true);
    EXPECT_EQ(Bits.OpenBit(), 3); // all set: the size
    Bits.SetBit(1, false);
    EXPECT_EQ(Bits.OpenBit(), 1);
}

TEST(TBits, BitsBeyondAShrinkComeBackClear) {
    TBits Bits;
    Bits.SetBit(9, true);
    Bits.SetSize(5);
    Bits.SetSize(10);
    EXPECT_FALSE(Bits.GetBit(9));
}

} // namespace
