#include "grid/foundation/IntLists.h"
#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <climits>

using namespace grid;

namespace {

std::vector<int> ListItems(const TgxSortIntList& L) {
    std::vector<int> Result;
    for (int I = 1; I <= L.Count(); ++I)
        Result.push_back(L.GetItem(I));
    return Result;
}

TEST(SortIntList, LocateGivesPositionOrInsertionPoint) {
    TgxSortIntList Empty;
    bool Found = true;
    EXPECT_EQ(Empty.Locate(5, Found), 1);
    EXPECT_FALSE(Found);

    TgxSortIntList L;
    for (int V : {30, 10, 20, 20})
        L.Add(V);
    EXPECT_EQ(ListItems(L), (std::vector<int>{10, 20, 30}));
    const struct {
        int Value, Position;
        bool Found;
    } Cases[] = {{5, 1, false}, {10, 1, true},  {20, 2, true},       {25, 3, false},
                 {30, 3, true}, {31, 4, false}, {INT_MIN, 1, false}, {INT_MAX, 4, false}};
    for (const auto& C : Cases) {
        EXPECT_EQ(L.Locate(C.Value, Found), C.Position) << C.Value;
        EXPECT_EQ(Found, C.Found) << C.Value;
    }
    L.Remove(20);
    L.Remove(99);
    EXPECT_EQ(ListItems(L), (std::vector<int>{10, 30}));
}

TEST(SortIntList, OutOfRangeIndexesAreHarmless) {
    TgxSortIntList L;
    L.Insert(0, 7);  // 0 means 1
    L.Insert(99, 9); // past the end appends
    L.Insert(-3, 5);
    EXPECT_EQ(ListItems(L), (std::vector<int>{5, 7, 9}));
    EXPECT_EQ(L.GetItem(0), 0);
    EXPECT_EQ(L.GetItem(4), 0);
    L.SetItem(4, 1);
    L.Delete(0);
    L.Delete(4);
    L.SetItem(2, 8);
    EXPECT_EQ(ListItems(L), (std::vector<int>{5, 8, 9}));
}

TEST(SortIntList, CapacityGrowsAndShrinksByHundreds) {
    TgxSortIntList L;
    L.Add(1);
    EXPECT_EQ(L.Capacity(), 101);
    for (int V = 2; V <= 101; ++V)
        L.Add(V);
    EXPECT_EQ(L.Capacity(), 101);
    L.Add(102);
    EXPECT_EQ(L.Capacity(), 202);
    for (int V = 103; V <= 150; ++V)
        L.Add(V);
    while (L.Count() > 101) {
        EXPECT_EQ(L.Capacity(), 202);
        L.Delete(L.Count());
    }
    EXPECT_EQ(L.Capacity(), 101);
    while (L.Count() > 0)
        L.Delete(1);
    EXPECT_EQ(L.Capacity(), 0);

    TgxSortIntList Source, Copy;
    for (int V : {3, 1, 2})
        Source.Add(V);
    Copy.Assign(Source);
    EXPECT_EQ(ListItems(Copy), (std::vector<int>{1, 2, 3}));
    Copy.Assign(TgxSortIntList());
    EXPECT_EQ(Copy.Count(), 0);
    EXPECT_EQ(Copy.Capacity(), 0);
}

TEST(IntegerList, StoresIntegersAndSortsWithoutOverflow) {
    TgxIntegerList L;
    for (int V : {INT_MAX, -1, INT_MIN, 0})
        L.AddItem(V);
    L.Sort(IntCompare);
    EXPECT_EQ(L.GetItem(0), INT_MIN);
    EXPECT_EQ(L.GetItem(3), INT_MAX);
    L.SetItem(1, 42);
    EXPECT_EQ(L.Remove(42), 1);
    EXPECT_THROW(L.GetItem(3), EListError);
}

TEST(IntegerSetList, OwnsCopiesAndFreesItsSets) {
    TgxIntegerSetList Source;
    auto* First = new TgxIntegerSet;
    First->Add(4);
    Source.AddItem(First);
    Source.AddItem(nullptr);
    auto* Third = new TgxIntegerSet;
    Third->Add(8);
    Source.AddItem(Third);

    TgxIntegerSetList Copy;
    Copy.SetCount(2); // the receiver is sized by the caller
    Copy.Assign(Source);
    ASSERT_EQ(Copy.Count(), 2);
    ASSERT_NE(Copy.GetItem(0), nullptr);
    EXPECT_NE(Copy.GetItem(0), First);
    EXPECT_NE(Copy.GetItem(0)->Get(4), nullptr);
    EXPECT_EQ(Copy.GetItem(1), nullptr);

    Source.SetItem(2, new TgxIntegerSet); // the replaced set is freed (ASan checks)
    Source.FreeItems();
    EXPECT_EQ(Source.Count(), 3);
    EXPECT_EQ(Source.GetItem(0), nullptr);
    EXPECT_THROW(Source.GetItem(3), EListError);
}

} // namespace
