#include "grid/foundation/SparseLists.h"

#include <gtest/gtest.h>

using namespace grid;

namespace {

int Marker[8];
void* P(int I) {
    return &Marker[I];
}

TEST(SparseList, StoringFarOutMakesOneSection) {
    TSparseList L(SPASmall);
    L.StoreAt(1000, P(1));
    EXPECT_EQ(L.Count(), 1001);
    EXPECT_EQ(L.Array().SectionCount(), 1);
    EXPECT_EQ(L.ItemAt(1000), P(1));
    EXPECT_EQ(L.ItemAt(992), nullptr); // same section, empty slot
    EXPECT_EQ(L.ItemAt(50000), nullptr);
    L.StoreAt(5, P(2));
    L.StoreAt(1000, nullptr);
    EXPECT_EQ(L.Count(), 6);
    L.StoreAt(5, nullptr);
    EXPECT_EQ(L.Count(), 0);
    EXPECT_EQ(L.Array().HighBound(), -1);
}

TEST(SparseList, InsertDeleteAndMoveShiftItems) {
    TSparseList L(SPASmall);
    L.InsertAt(10, P(1)); // beyond the count: a gap stays empty
    EXPECT_EQ(L.Count(), 11);
    EXPECT_EQ(L.ItemAt(9), nullptr);
    L.InsertAt(0, P(2));
    EXPECT_EQ(L.Count(), 12);
    EXPECT_EQ(L.ItemAt(11), P(1));
    L.MoveItem(11, 1);
    EXPECT_EQ(L.ItemAt(1), P(1));
    EXPECT_EQ(L.ItemAt(0), P(2));
    EXPECT_EQ(L.Count(), 12);
    L.SwapAt(0, 1); // stores through StoreAt: the count follows the high bound
    EXPECT_EQ(L.ItemAt(0), P(1));
    EXPECT_EQ(L.Count(), 2);
    L.DeleteAt(0);
    L.DeleteAt(40); // ignored
    EXPECT_EQ(L.ItemAt(0), P(2));
    EXPECT_EQ(L.Count(), 1);
    L.ClearItems();
    EXPECT_EQ(L.Count(), 0);
    EXPECT_EQ(L.ItemAt(0), nullptr);
}

TEST(SparseList, BadIndexesRaiseListErrors) {
    const struct {
        TSPAQuantum Quantum;
        int Limit;
    } Cases[] = {{SPASmall, 1048576}, {SPALarge, 16777216}};
    for (const auto& C : Cases) {
        TSparseList L(C.Quantum);
        L.StoreAt(C.Limit - 1, P(3)); // the last addressable index
        EXPECT_EQ(L.ItemAt(C.Limit - 1), P(3));
        // Beyond it, the index would wrap into section 0.
        for (int Bad : {-1, C.Limit, C.Limit + 5})
            try {
                L.StoreAt(Bad, P(4));
                ADD_FAILURE() << Bad;
            } catch (const EListError& E) {
                EXPECT_EQ(E.Message, "List index out of bounds (" + std::to_string(Bad) + ")");
            }
        EXPECT_THROW(L.ItemAt(C.Limit), EListError);
        EXPECT_THROW(L.InsertAt(0, P(4)), EListError); // the last item can't move up
        EXPECT_EQ(L.ItemAt(0), nullptr);
        EXPECT_EQ(L.ItemAt(C.Limit - 1), P(3));
    }
}

TEST(StringSparseList, ItemsComeAndGoWithTextAndObject) {
    TStringSparseList L(SPASmall);
    int Changes = 0;
    L.OnChange = [&Changes](TObject*) { ++Changes; };
    TObject Thing;
    L.Put(3, "c");
    L.PutObject(5, &Thing);
    L.PutObject(6, nullptr); // no item made
    EXPECT_EQ(L.Count(), 6);
    L.Put(5, ""); // keeps the object
    EXPECT_EQ(L.GetObject(5), &Thing);
    L.Put(3, ""); // neither text nor object: gone
    EXPECT_EQ(L.Get(3), "");
    L.PutObject(5, nullptr);
    L.Put(5, "");
    EXPECT_EQ(L.Count(), 0);
    L.Insert(0, "a");
    L.Insert(0, "b");
    L.Exchange(0, 1);
    EXPECT_EQ(L.Get(0), "a");
    L.Delete(0);
    EXPECT_EQ(L.Get(0), "b");
    EXPECT_EQ(Changes, 10); // every change but Exchange
    L.Clear();
    EXPECT_EQ(L.Count(), 0);
}

TEST(StringSparseList, StoredItemsReadBack) {
    TStringSparseList L(SPALarge);
    L.Put(2, "two");
    L.Put(700, "far");
    L.Put(0, "zero");
    const auto Stored = L.StoredItems();
    ASSERT_EQ(Stored.size(), 3u);
    EXPECT_EQ(Stored[1].Index, 2);
    TStringSparseList Back(SPALarge);
    Back.LoadStoredItems(Stored);
    EXPECT_EQ(Back.Count(), 701);
    for (int I : {0, 1, 2, 699, 700})
        EXPECT_EQ(Back.Get(I), L.Get(I)) << I;
}

TEST(StringSparseList, ObjectsMoveWithTheirItems) {
    TStringSparseList L(SPASmall);
    TObject A, B;
    L.Put(0, "a");
    L.PutObject(0, &A);
    L.PutObject(4, &B); // an item with an object and no text
    L.Insert(0, "first");
    EXPECT_EQ(L.GetObject(1), &A);
    EXPECT_EQ(L.GetObject(5), &B);
    EXPECT_EQ(L.GetObject(0), nullptr);
    L.Delete(2);
    EXPECT_EQ(L.GetObject(4), &B);
    EXPECT_EQ(L.Get(1), "a");
    L.Exchange(1, 4);
    EXPECT_EQ(L.GetObject(1), &B);
    EXPECT_EQ(L.Get(1), "");
    EXPECT_EQ(L.GetObject(4), &A);
    EXPECT_EQ(L.Get(4), "a");
    const auto Stored = L.StoredItems();
    ASSERT_EQ(Stored.size(), 3u); // "first", the object-only item and "a"
    EXPECT_EQ(Stored[1].Index, 1);
    EXPECT_EQ(Stored[1].Text, "");
}

TEST(StringSparseList, CountRules) {
    TStringSparseList L(SPASmall);
    L.Put(0, "a");
    L.Put(5, "b");
    L.Delete(5); // the count drops by one, not to the highest item
    EXPECT_EQ(L.Count(), 5);
    EXPECT_EQ(L.Get(4), "");
    L.Put(2, "c"); // a store brings the count back to the highest item
    EXPECT_EQ(L.Count(), 3);
    L.Insert(1, ""); // an inserted empty line is an item until it is put empty
    EXPECT_EQ(L.Count(), 4);
    EXPECT_EQ(L.StoredItems().size(), 3u);
    L.Exchange(0, 9); // a swap stores both places
    EXPECT_EQ(L.Count(), 10);
    EXPECT_EQ(L.Get(9), "a");
    for (int Bad : {-1, 1048576})
        try {
            L.Get(Bad);
            ADD_FAILURE() << Bad;
        } catch (const EListError& E) {
            EXPECT_EQ(E.Message, "List index out of bounds (" + std::to_string(Bad) + ")");
        }
}

} // namespace
