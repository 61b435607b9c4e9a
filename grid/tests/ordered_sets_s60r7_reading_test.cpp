// The balanced sets and the integer lists, through their public calls.
#include "grid/foundation/IntLists.h"
#include "grid/foundation/OrderedSets.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <stdexcept>
#include <vector>

using namespace grid;

namespace {

std::vector<std::int32_t> Listed(const TgxIntegerSet& Set) {
    std::vector<std::int32_t> Out;
    auto L = Set.List();
    for (int I = 1; I <= L->Count(); ++I)
        Out.push_back(*static_cast<std::int32_t*>(L->GetItems(I)));
    return Out;
}

TEST(OrderedSetsReading, AddsAndRemovesKeepTheTreeBalancedAndOrdered) {
    TgxIntegerSet Set;
    for (int K = 1; K <= 1000; ++K) {
        Set.Add(K);
        ASSERT_TRUE(Set.CheckBalance()) << K;
    }
    EXPECT_LE(Set.CheckHeight(), 14);
    std::vector<std::int32_t> Want(1000);
    for (int K = 0; K < 1000; ++K) Want[K] = K + 1;
    EXPECT_EQ(Listed(Set), Want);

    // Random adds and removes against a reference set.
    Set.Clear();
    EXPECT_EQ(Set.Count(), 0);
    EXPECT_EQ(Set.Root(), nullptr);
    std::set<std::int32_t> Ref;
    std::mt19937 Rng(7);
    for (int Step = 0; Step < 4000; ++Step) {
        const std::int32_t K = static_cast<std::int32_t>(Rng() % 300) - 150;
        if (Rng() % 3 == 0) {
            Set.Remove(K);
            Ref.erase(K);
        } else {
            Set.Add(K);
            Ref.insert(K);
        }
        ASSERT_TRUE(Set.CheckBalance()) << Step;
        ASSERT_EQ(Set.Count(), static_cast<int>(Ref.size())) << Step;
    }
    EXPECT_EQ(Listed(Set), std::vector<std::int32_t>(Ref.begin(), Ref.end()));
    for (std::int32_t K : Ref) {
        Set.Remove(K);
        ASSERT_TRUE(Set.CheckBalance());
    }
    EXPECT_EQ(Set.Count(), 0);
    EXPECT_EQ(Set.Root(), nullptr);
    EXPECT_EQ(Set.CheckHeight(), 0);
}

TEST(OrderedSetsReading, RemovingRootsAndInnerNodes) {
    struct Case {
        std::vector<std::int32_t> Keys;
        std::int32_t Gone;
    };
    const Case Cases[] = {
        {{2, 1, 3}, 2},                    // the root of three
        {{50, 30, 70, 20, 40, 60, 80}, 30}, // two children
        {{50, 30, 70, 20, 40, 60, 80}, 50}, // the root with two children
        {{50, 30, 70, 20, 40, 60, 80, 45}, 50},
        {{5}, 5},                           // the last node
        {{1, 2, 3}, 9},                     // absent: nothing happens
    };
    for (const Case& C : Cases) {
        TgxIntegerSet Set;
        for (auto K : C.Keys) Set.Add(K);
        std::set<std::int32_t> Ref(C.Keys.begin(), C.Keys.end());
        Set.Remove(C.Gone);
        Ref.erase(C.Gone);
        EXPECT_TRUE(Set.CheckBalance()) << C.Gone;
        EXPECT_EQ(Set.Get(C.Gone), nullptr);
        EXPECT_EQ(Listed(Set), std::vector<std::int32_t>(Ref.begin(), Ref.end())) << C.Gone;
        EXPECT_EQ(Set.Count(), static_cast<int>(Ref.size()));
        if (Ref.empty()) EXPECT_EQ(Set.Root(), nullptr);
    }
}

TEST(OrderedSetsReading, KeysOfEachKindAreExactAndUnique) {
    TgxStringSet Strings;
    AnsiString* A = Strings.Add("a");
    EXPECT_EQ(Strings.Add("a"), A);
    Strings.Add("A");
    Strings.Add("ab");
    Strings.Add("\xE9"); // above every ASCII letter as an unsigned byte
    Strings.Add("z");
    EXPECT_EQ(Strings.Count(), 5);
    auto L = Strings.List();
    const char* Want[] = {"A", "a", "ab", "z", "\xE9"};
    for (int I = 1; I <= 5; ++I)
        EXPECT_EQ(*static_cast<AnsiString*>(L->GetItems(I)), AnsiString(Want[I - 1])) << I;
    EXPECT_EQ(Strings.Get("b"), nullptr);

    TgxRealSet Reals;
    double* Third = Reals.Add(0.3);
    EXPECT_NE(Reals.Add(0.1 + 0.2), Third);
    EXPECT_EQ(Reals.Add(0.3), Third);
    EXPECT_EQ(Reals.Count(), 2);
    Reals.Remove(0.1 + 0.2);
    EXPECT_EQ(Reals.Get(0.3), Third);
    EXPECT_EQ(Reals.Count(), 1);

    TgxVariantSet Variants;
    Variant* One = Variants.Add(Variant(1));
    Variants.Add(Variant(2.5));
    EXPECT_EQ(Variants.Add(Variant(1.0)), One); // equal as Variants
    EXPECT_EQ(Variants.Add(Variant(1)), One);
    EXPECT_EQ(Variants.Count(), 2);
    EXPECT_TRUE(Variants.CheckBalance());

    TgxIntegerSet Ints;
    Ints.Add(-2147483647 - 1);
    Ints.Add(2147483647);
    Ints.Add(0);
    EXPECT_EQ(Listed(Ints), (std::vector<std::int32_t>{-2147483647 - 1, 0, 2147483647}));
}

// An element keyed by one integer; counts how many are alive.
class Keyed : public TgxSetElement {
public:
    Keyed(int Key, int& Alive) : FKey(Key), FAlive(Alive) { ++FAlive; }
    ~Keyed() override { --FAlive; }
    std::uint8_t Compare(const TgxCustomSet*, const TgxSetElement* Element) const override {
        return Order(static_cast<const Keyed*>(Element)->FKey);
    }
    std::uint8_t CompareKey(const TgxCustomSet*, std::span<const TVarRec> Key) const override {
        return Order(Key[0].VInteger);
    }
    int FKey;

private:
    std::uint8_t Order(int Other) const {
        return Other < FKey ? gxKeySmaller : Other == FKey ? gxKeyEqual : gxKeyLarger;
    }
    int& FAlive;
};

TEST(OrderedSetsReading, AnObjectSetOwnsAndReplacesItsElements) {
    int Alive = 0;
    {
        TgxObjectSet Set;
        for (int K : {5, 3, 8}) Set.Add(new Keyed(K, Alive));
        auto* Second = new Keyed(3, Alive);
        EXPECT_EQ(Set.Add(Second), Second);
        EXPECT_EQ(Alive, 3); // the first 3 was released
        EXPECT_EQ(Set.Count(), 3);
        EXPECT_EQ(Set.Get({3}), Second);
        EXPECT_EQ(Set.Get({4}), nullptr);
        Set.Remove({5});
        EXPECT_EQ(Alive, 2);
        Set.Remove({42});
        EXPECT_EQ(Set.Count(), 2);
        EXPECT_TRUE(Set.CheckBalance());
        EXPECT_EQ(Set.Add(Second), Second); // the same element again: kept
        EXPECT_EQ(Alive, 2);
        // Elements cannot be copied: a copy is refused, leaving both sets whole.
        TgxObjectSet Copy;
        EXPECT_ANY_THROW(Copy.Assign(Set));
        EXPECT_FALSE(Copy.GetAssigning());
        EXPECT_EQ(Copy.Count(), 0);
        EXPECT_EQ(Copy.Root(), nullptr);
        EXPECT_EQ(Set.Get({3}), Second);
    }
    EXPECT_EQ(Alive, 0);
}

TEST(OrderedSetsReading, SetCopyIsDeepAndOrdered) {
    TgxStringSet Source;
    for (const char* S : {"m", "c", "x", "a", "e"}) Source.Add(S);
    TgxStringSet Copy;
    Copy.Assign(Source);
    EXPECT_EQ(Copy.Count(), 5);
    EXPECT_TRUE(Copy.CheckBalance());
    EXPECT_EQ(Copy.CheckHeight(), Source.CheckHeight());
    Source.Remove("c");
    Source.Clear();
    ASSERT_NE(Copy.Get("c"), nullptr);
    EXPECT_EQ(*Copy.Get("c"), AnsiString("c"));
    EXPECT_FALSE(Copy.GetAssigning());
}

TEST(OrderedSetsReading, SortedListLocatesAndKeepsOrder) {
    TgxSortIntList L;
    bool Found = true;
    EXPECT_EQ(L.Locate(5, Found), 1);
    EXPECT_FALSE(Found);
    for (int V : {30, 10, 20, 20}) L.Add(V);
    EXPECT_EQ(L.Count(), 3);
    struct Case {
        int Value, Position;
        bool Found;
    };
    const Case Cases[] = {{25, 3, false}, {20, 2, true}, {5, 1, false},
                          {10, 1, true},  {30, 3, true}, {31, 4, false}};
    for (const Case& C : Cases) {
        EXPECT_EQ(L.Locate(C.Value, Found), C.Position) << C.Value;
        EXPECT_EQ(Found, C.Found) << C.Value;
    }
    EXPECT_EQ(L.GetItem(0), 0);
    EXPECT_EQ(L.GetItem(4), 0);
    L.Delete(0);
    L.Delete(4);
    L.SetItem(9, 99);
    EXPECT_EQ(L.Count(), 3);
    L.Insert(0, 1); // index 0 counts as 1
    EXPECT_EQ(L.GetItem(1), 1);
    EXPECT_EQ(L.GetItem(2), 10);
    L.Remove(20);
    L.Remove(21);
    EXPECT_EQ(L.Count(), 3);
    EXPECT_EQ(L.GetItem(3), 30);
}

TEST(OrderedSetsReading, SortedListCapacityGrowsAndShrinksInSteps) {
    TgxSortIntList L;
    EXPECT_EQ(L.Capacity(), 0);
    L.Add(0);
    EXPECT_EQ(L.Capacity(), 101);
    for (int V = 1; V < 101; ++V) L.Add(V);
    EXPECT_EQ(L.Capacity(), 101);
    L.Add(101); // the 102nd
    EXPECT_EQ(L.Capacity(), 202);
    for (int V = 102; V < 150; ++V) L.Add(V);
    while (L.Count() > 101) L.Delete(L.Count());
    EXPECT_EQ(L.Capacity(), 101);
    while (L.Count() > 1) L.Delete(1);
    EXPECT_EQ(L.Capacity(), 101);
    L.Delete(1);
    EXPECT_EQ(L.Capacity(), 0);

    TgxSortIntList Source, Copy;
    for (int V : {3, 1, 2}) Source.Add(V);
    Copy.Assign(Source);
    EXPECT_EQ(Copy.Count(), 3);
    EXPECT_EQ(Copy.GetItem(3), 3);
    TgxSortIntList Empty;
    Copy.Assign(Empty);
    EXPECT_EQ(Copy.Count(), 0);
    EXPECT_EQ(Copy.Capacity(), 0);
}

TEST(OrderedSetsReading, IntegerListsAndSetLists) {
    TgxIntegerList Ints;
    Ints.AddItem(-7);
    Ints.AddItem(7);
    EXPECT_EQ(Ints.GetItem(0), -7);
    Ints.SetItem(1, 9);
    EXPECT_EQ(Ints.GetItem(1), 9);
    EXPECT_EQ(Ints.Remove(-7), 0);
    EXPECT_ANY_THROW(Ints.GetItem(5));
    EXPECT_ANY_THROW(Ints.SetItem(-1, 1));
    int A = 1, B = 3;
    EXPECT_LT(IntCompare(reinterpret_cast<void*>(static_cast<std::intptr_t>(A)),
                         reinterpret_cast<void*>(static_cast<std::intptr_t>(B))),
              0);

    TgxIntegerSetList Sets;
    auto* First = new TgxIntegerSet;
    First->Add(4);
    Sets.AddItem(First);
    Sets.AddItem(nullptr);
    Sets.AddItem(new TgxIntegerSet);
    TgxIntegerSetList Copy;
    Copy.AddItem(new TgxIntegerSet);
    Copy.AddItem(nullptr);
    Copy.Assign(Sets);
    EXPECT_EQ(Copy.Count(), 2);
    ASSERT_NE(Copy.GetItem(0), nullptr);
    EXPECT_NE(Copy.GetItem(0), First);
    EXPECT_NE(Copy.GetItem(0)->Get(4), nullptr);
    EXPECT_EQ(Copy.GetItem(1), nullptr);
    Sets.FreeItems();
    EXPECT_EQ(Sets.Count(), 3);
    EXPECT_EQ(Sets.GetItem(0), nullptr);
    EXPECT_ANY_THROW(Sets.GetItem(3));
}

TEST(OrderedSetsReading, NodeListsAndPathStacksReadNothingOutsideTheirRange) {
    TgxSetList L(2);
    int X = 0;
    L.SetItems(0, &X);
    L.SetItems(3, &X);
    L.SetItems(2, &X);
    EXPECT_EQ(L.GetItems(0), nullptr);
    EXPECT_EQ(L.GetItems(1), nullptr);
    EXPECT_EQ(L.GetItems(2), &X);
    EXPECT_EQ(L.GetItems(3), nullptr);

    TgxNodeStack Stack;
    EXPECT_EQ(Stack.Pop().Node, nullptr);
    EXPECT_EQ(Stack.GetItem(1).Direction, 0);
    for (int I = 1; I <= 25; ++I) EXPECT_EQ(Stack.Push(nullptr, 1), I);
    Stack.Replace(25, nullptr, -1);
    EXPECT_EQ(Stack.GetItem(25).Direction, -1);
    EXPECT_EQ(Stack.GetItem(26).Direction, 0);
    EXPECT_EQ(Stack.Pop().Direction, -1);
    EXPECT_EQ(Stack.Top(), 24);
}

} // namespace
