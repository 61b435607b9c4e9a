#include "grid/foundation/OrderedSets.h"
#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>

using namespace grid;

namespace {

// Checks every stored balance against the real heights and the order of keys.
int VerifiedHeight(const TgxSetNode* Node) {
    if (!Node) return 0;
    const int L = VerifiedHeight(Node->Left);
    const int R = VerifiedHeight(Node->Right);
    EXPECT_EQ(Node->Balance, R - L);
    return 1 + std::max(L, R);
}

class KeyElement : public TgxSetElement {
public:
    KeyElement(int Key, int Tag, int* Released) : Key(Key), Tag(Tag), Released(Released) {}
    ~KeyElement() override { ++*Released; }
    std::uint8_t Compare(const TgxCustomSet*, const TgxSetElement* Other) const override {
        const int K = static_cast<const KeyElement*>(Other)->Key;
        return K == Key ? gxKeyEqual : K < Key ? gxKeySmaller : gxKeyLarger;
    }
    std::uint8_t CompareKey(const TgxCustomSet*,
                            std::span<const TVarRec> KeyValues) const override {
        const int K = KeyValues.size() == 1 ? KeyValues[0].VInteger : -1;
        return K == Key ? gxKeyEqual : K < Key ? gxKeySmaller : gxKeyLarger;
    }
    int Key;
    int Tag;
    int* Released;
};

// Adapters giving each set the same face for the randomised comparison.
struct IntegerAdapter {
    TgxIntegerSet Set;
    void Add(int K) { EXPECT_EQ(*Set.Add(K), K); }
    bool Has(int K) { return Set.Get(K) != nullptr; }
    void Remove(int K) { Set.Remove(K); }
    int At(const TgxSetList& L, int I) { return *static_cast<std::int32_t*>(L.GetItems(I)); }
};
struct StringAdapter {
    TgxStringSet Set;
    static AnsiString Key(int K) { // fixed width, so text order is number order
        AnsiString S = std::to_string(K + 10000);
        return AnsiString(6 - S.size(), '0') + S;
    }
    void Add(int K) { EXPECT_EQ(*Set.Add(Key(K)), Key(K)); }
    bool Has(int K) { return Set.Get(Key(K)) != nullptr; }
    void Remove(int K) { Set.Remove(Key(K)); }
    int At(const TgxSetList& L, int I) {
        return std::stoi(*static_cast<AnsiString*>(L.GetItems(I))) - 10000;
    }
};
struct RealAdapter {
    TgxRealSet Set;
    void Add(int K) { Set.Add(K / 4.0); }
    bool Has(int K) { return Set.Get(K / 4.0) != nullptr; }
    void Remove(int K) { Set.Remove(K / 4.0); }
    int At(const TgxSetList& L, int I) {
        return static_cast<int>(*static_cast<double*>(L.GetItems(I)) * 4);
    }
};
struct VariantAdapter {
    TgxVariantSet Set;
    void Add(int K) { Set.Add(Variant(K)); }
    bool Has(int K) { return Set.Get(Variant(K)) != nullptr; }
    void Remove(int K) { Set.Remove(Variant(K)); }
    int At(const TgxSetList& L, int I) {
        return static_cast<int>(*static_cast<Variant*>(L.GetItems(I)));
    }
};
struct ObjectAdapter {
    TgxObjectSet Set;
    int Released = 0;
    void Add(int K) { Set.Add(new KeyElement(K, 0, &Released)); }
    bool Has(int K) { return Set.Get({K}) != nullptr; }
    void Remove(int K) { Set.Remove({K}); }
    int At(const TgxSetList& L, int I) { return static_cast<KeyElement*>(L.GetItems(I))->Key; }
};

template <class Adapter> void CompareWithStdSet(unsigned Seed) {
    Adapter A;
    std::set<int> Model;
    std::mt19937 Random(Seed);
    std::uniform_int_distribution<int> Key(-300, 300);
    for (int Step = 0; Step < 3000; ++Step) {
        const int K = Key(Random);
        switch (Random() % 3) {
        case 0:
            A.Add(K);
            Model.insert(K);
            break;
        case 1:
            A.Remove(K);
            Model.erase(K);
            break;
        default:
            ASSERT_EQ(A.Has(K), Model.count(K) == 1) << "step " << Step << " key " << K;
        }
        ASSERT_EQ(A.Set.Count(), static_cast<int>(Model.size())) << "step " << Step;
        ASSERT_TRUE(A.Set.CheckBalance()) << "step " << Step;
        if (Step % 100 == 0) VerifiedHeight(A.Set.Root());
    }
    VerifiedHeight(A.Set.Root());
    const auto L = A.Set.List();
    ASSERT_EQ(L->Count(), static_cast<int>(Model.size()));
    int I = 1;
    for (int K : Model)
        EXPECT_EQ(A.At(*L, I++), K);
}

TEST(OrderedSets, RandomOperationsMatchStdSet) {
    for (unsigned Seed : {1u, 7u, 42u}) {
        CompareWithStdSet<IntegerAdapter>(Seed);
        CompareWithStdSet<StringAdapter>(Seed);
        CompareWithStdSet<RealAdapter>(Seed);
        CompareWithStdSet<VariantAdapter>(Seed);
        CompareWithStdSet<ObjectAdapter>(Seed);
    }
}

TEST(OrderedSets, AscendingInsertionStaysBalanced) {
    TgxIntegerSet Set;
    for (int K = 1; K <= 1000; ++K) {
        Set.Add(K);
        ASSERT_TRUE(Set.CheckBalance()) << K;
    }
    EXPECT_LE(Set.CheckHeight(), 14);
    const auto L = Set.List();
    for (int I = 1; I <= 1000; ++I)
        ASSERT_EQ(*static_cast<std::int32_t*>(L->GetItems(I)), I);
    EXPECT_EQ(L->GetItems(0), nullptr);
    EXPECT_EQ(L->GetItems(1001), nullptr);
}

TEST(OrderedSets, KeysAreUniqueAndExact) {
    TgxIntegerSet Integers;
    std::int32_t* First = Integers.Add(5);
    EXPECT_EQ(Integers.Add(5), First);
    EXPECT_EQ(Integers.Count(), 1);

    TgxStringSet Strings;
    Strings.Add("a");
    Strings.Add("A");
    Strings.Add("ab");
    Strings.Add("\xC3\xA9"); // above every ASCII byte
    const auto L = Strings.List();
    ASSERT_EQ(L->Count(), 4);
    const char* Order[] = {"A", "a", "ab", "\xC3\xA9"};
    for (int I = 0; I < 4; ++I)
        EXPECT_EQ(*static_cast<AnsiString*>(L->GetItems(I + 1)), Order[I]);

    TgxRealSet Reals;
    Reals.Add(0.1 + 0.2);
    Reals.Add(0.3);
    Reals.Add(std::nan(""));
    Reals.Add(std::nan(""));
    EXPECT_EQ(Reals.Count(), 3);
    EXPECT_NE(Reals.Get(std::nan("")), nullptr);
}

TEST(OrderedSets, RemovalCasesKeepTheTreeValid) {
    // Root of three, an inner node with two children, and the last node.
    const struct {
        std::vector<int> Keys;
        int Removed;
    } Cases[] = {
        {{2, 1, 3}, 2}, {{4, 2, 6, 1, 3, 5, 7}, 2},    {{4, 2, 6, 1, 3, 5, 7}, 4},
        {{9}, 9},       {{5, 3, 8, 2, 4, 7, 9, 1}, 8}, {{5, 3, 8, 2, 4, 7, 9, 6}, 3},
    };
    for (const auto& C : Cases) {
        TgxIntegerSet Set;
        std::set<int> Model(C.Keys.begin(), C.Keys.end());
        for (int K : C.Keys)
            Set.Add(K);
        Set.Remove(C.Removed);
        Set.Remove(1000); // absent: nothing happens
        Model.erase(C.Removed);
        EXPECT_TRUE(Set.CheckBalance());
        VerifiedHeight(Set.Root());
        ASSERT_EQ(Set.Count(), static_cast<int>(Model.size()));
        const auto L = Set.List();
        int I = 1;
        for (int K : Model)
            EXPECT_EQ(*static_cast<std::int32_t*>(L->GetItems(I++)), K);
        if (Model.empty()) {
            EXPECT_EQ(Set.Root(), nullptr);
        }
    }
}

TEST(OrderedSets, ObjectSetOwnsAndReplacesElements) {
    int Released = 0;
    {
        TgxObjectSet Set;
        auto* A = new KeyElement(1, 1, &Released);
        auto* B = new KeyElement(1, 2, &Released);
        EXPECT_EQ(Set.Add(A), A);
        EXPECT_EQ(Set.Add(A), A); // the same object again: kept
        EXPECT_EQ(Released, 0);
        EXPECT_EQ(Set.Add(B), B);
        EXPECT_EQ(Released, 1); // A went
        EXPECT_EQ(static_cast<KeyElement*>(Set.Get({1}))->Tag, 2);
        EXPECT_EQ(Set.Get({1, 2}), nullptr); // the element sees the whole key, no more
        Set.Add(new KeyElement(2, 0, &Released));
        Set.Remove({2});
        EXPECT_EQ(Released, 2);
        EXPECT_EQ(Set.Count(), 1);

        TgxObjectSet Copy;
        EXPECT_THROW(Copy.Assign(Set), EInvalidOperation); // would share the elements
        EXPECT_EQ(Copy.Count(), 0);
        EXPECT_FALSE(Copy.GetAssigning());
    }
    EXPECT_EQ(Released, 3);
}

TEST(OrderedSets, AssignCopiesShapeAndValues) {
    TgxStringSet Source;
    for (int K = 0; K < 50; ++K)
        Source.Add(std::to_string(K * 7 % 50));
    TgxStringSet Copy;
    Copy.Assign(Source);
    EXPECT_EQ(Copy.Count(), 50);
    EXPECT_EQ(Copy.CheckHeight(), Source.CheckHeight());
    VerifiedHeight(Copy.Root());
    Source.Clear();
    EXPECT_EQ(Source.Count(), 0);
    EXPECT_NE(Copy.Get("49"), nullptr);
}

TEST(OrderedSets, NodeStackAndSetListIgnoreOutOfRange) {
    TgxNodeStack Stack;
    EXPECT_EQ(Stack.Pop().Node, nullptr);
    EXPECT_EQ(Stack.GetItem(1).Direction, 0);
    for (int I = 0; I < 25; ++I)
        Stack.Push(nullptr, 1);
    EXPECT_EQ(Stack.Top(), 25);
    Stack.Replace(26, nullptr, -1); // ignored
    EXPECT_EQ(Stack.GetItem(25).Direction, 1);

    TgxSetList List(2);
    int X = 0;
    List.SetItems(3, &X);
    List.SetItems(0, &X);
    EXPECT_EQ(List.GetItems(3), nullptr);
    List.SetItems(2, &X);
    EXPECT_EQ(List.GetItems(2), &X);
}

} // namespace
