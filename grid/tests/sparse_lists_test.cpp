#include "grid/foundation/SparseLists.h"

#include "platform/classes/Filer.h"
#include "platform/classes/Publish.h"
#include "platform/rtl/Streams.h"

#include "HeapBytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <map>
#include <random>
#include <string>
#include <vector>

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

TEST(SparseList, NegativeIndexesRaiseAndFarOnesAreStored) {
    for (TSPAQuantum Quantum : {SPASmall, SPALarge}) {
        TSparseList L(Quantum);
        // Far past 65536 sections of either size, up to the last 32-bit index.
        for (int Far : {1048576, 16777216 + 5, 200000000, INT_MAX - 1}) {
            L.StoreAt(Far, P(3));
            EXPECT_EQ(L.ItemAt(Far), P(3)) << Far;
            EXPECT_EQ(L.Count(), Far + 1);
            EXPECT_EQ(L.ItemAt(Far - 1), nullptr);
            L.StoreAt(Far, nullptr);
            EXPECT_EQ(L.Count(), 0);
            EXPECT_EQ(L.Array().SectionCount(), 0);
        }
        try {
            L.StoreAt(-1, P(4));
            ADD_FAILURE();
        } catch (const EListError& E) {
            EXPECT_EQ(E.Message, "List index out of bounds (-1)");
        }
        EXPECT_THROW(L.ItemAt(-7), EListError);
        EXPECT_THROW(L.InsertAt(-1, P(4)), EListError);
        // The last index can't move up any further: nothing moves.
        L.StoreAt(INT_MAX - 1, P(3));
        EXPECT_THROW(L.InsertAt(0, P(4)), EListError);
        EXPECT_EQ(L.ItemAt(0), nullptr);
        EXPECT_EQ(L.ItemAt(INT_MAX - 1), P(3));
    }
}

TEST(SparseList, ShiftsAcrossSectionsMatchAPlainList) {
    // Random stores, inserts, deletes and moves over a few sections of 16,
    // checked after each step against a vector doing the same.
    std::mt19937 Random(35);
    for (int Round = 0; Round < 20; ++Round) {
        TSparseList L(SPASmall);
        std::vector<void*> Plain;
        auto At = [&](int I) { return I < static_cast<int>(Plain.size()) ? Plain[I] : nullptr; };
        auto Grow = [&](int N) {
            if (static_cast<int>(Plain.size()) < N) Plain.resize(N);
        };
        for (int Step = 0; Step < 300; ++Step) {
            const int I = static_cast<int>(Random() % 90);
            const int J = static_cast<int>(Random() % 90);
            void* Item = Random() % 3 ? P(static_cast<int>(Random() % 8)) : nullptr;
            switch (Random() % 4) {
            case 0:
                L.StoreAt(I, Item);
                Grow(I + 1);
                Plain[I] = Item;
                while (!Plain.empty() && !Plain.back()) Plain.pop_back();
                break;
            case 1:
                L.InsertAt(I, Item);
                Grow(I);
                Plain.insert(Plain.begin() + I, Item);
                break;
            case 2:
                if (I < static_cast<int>(Plain.size())) Plain.erase(Plain.begin() + I);
                L.DeleteAt(I);
                break;
            default:
                if (I != J) {
                    void* Moved = At(I);
                    if (I < static_cast<int>(Plain.size())) Plain.erase(Plain.begin() + I);
                    Grow(J);
                    Plain.insert(Plain.begin() + J, Moved);
                }
                L.MoveItem(I, J);
                break;
            }
            int High = -1, Sections = 0;
            for (int K = 0; K < static_cast<int>(Plain.size()); ++K)
                if (Plain[K]) High = K;
            for (int S = 0; S * 16 < static_cast<int>(Plain.size()); ++S)
                for (int K = S * 16; K < S * 16 + 16; ++K)
                    if (At(K)) {
                        ++Sections;
                        break;
                    }
            ASSERT_EQ(L.Array().HighBound(), High) << Round << "/" << Step;
            ASSERT_EQ(L.Array().SectionCount(), Sections) << Round << "/" << Step;
            for (int K = 0; K < 120; ++K)
                ASSERT_EQ(L.ItemAt(K), At(K)) << Round << "/" << Step << " at " << K;
            ASSERT_EQ(L.Count(), static_cast<int>(Plain.size())) << Round << "/" << Step;
        }
    }
}

TEST(SparseList, StoresAtTheIndexLimitRaiseTheListError) {
    // One past the last index: a count there would overflow.
    for (TSPAQuantum Quantum : {SPASmall, SPALarge}) {
        TSparseList L(Quantum);
        L.StoreAt(3, P(1));
        for (int Op = 0; Op < 2; ++Op) {
            try {
                Op == 0 ? L.StoreAt(INT_MAX, P(2)) : L.InsertAt(INT_MAX, P(2));
                ADD_FAILURE() << "op " << Op;
            } catch (const EListError& E) {
                EXPECT_EQ(E.Message, "List index out of bounds (2147483647)");
            }
            EXPECT_EQ(L.Count(), 4);
            EXPECT_EQ(L.ItemAt(3), P(1));
            EXPECT_EQ(L.ItemAt(INT_MAX), nullptr);
        }
        TStringSparseList S(Quantum);
        TObject Thing;
        EXPECT_THROW(S.Put(INT_MAX, "x"), EListError);
        EXPECT_THROW(S.PutObject(INT_MAX, &Thing), EListError);
        EXPECT_THROW(S.Insert(INT_MAX, "x"), EListError);
        EXPECT_EQ(S.Count(), 0);
        EXPECT_EQ(S.Get(INT_MAX), "");
    }
}

// A plain model of a sparse string list: the present items by index.
struct TPlainList {
    struct TItem {
        std::string Text;
        TObject* Object = nullptr;
    };
    std::map<int, TItem> Items;
    long long Count = 0;

    long long High() const { return Items.empty() ? -1 : Items.rbegin()->first; }
    void Shift(int From, int By) {
        std::map<int, TItem> Moved;
        for (auto& [Index, Item] : Items)
            Moved[Index >= From ? Index + By : Index] = Item;
        Items = std::move(Moved);
    }
    void Put(int I, const std::string& S) {
        const auto It = Items.find(I);
        TObject* Object = It != Items.end() ? It->second.Object : nullptr;
        if (!S.empty() || Object)
            Items[I] = {S, Object};
        else
            Items.erase(I);
        Count = High() + 1;
    }
    void PutObject(int I, TObject* Object) {
        if (const auto It = Items.find(I); It != Items.end()) {
            It->second.Object = Object;
        } else if (Object) {
            Items[I] = {"", Object};
            Count = High() + 1;
        }
    }
    void Insert(int I, const std::string& S) {
        Shift(I, 1);
        Items[I] = {S, nullptr};
        Count = std::max<long long>(Count, I) + 1;
    }
    void Delete(int I) {
        if (I >= Count) return;
        Items.erase(I);
        Shift(I + 1, -1);
        --Count;
    }
    void Exchange(int I, int J) {
        const auto A = Items.find(I), B = Items.find(J);
        const bool HasA = A != Items.end(), HasB = B != Items.end();
        const TItem ItemA = HasA ? A->second : TItem{}, ItemB = HasB ? B->second : TItem{};
        Items.erase(I);
        Items.erase(J);
        if (HasB) Items[I] = ItemB;
        if (HasA) Items[J] = ItemA;
        Count = High() + 1;
    }
};

TEST(StringSparseList, FollowsAPlainMapNearSectionDirectoryAndIndexBorders) {
    // Indexes cluster around the places where storage changes shape: the
    // ends of sections of 16 and 256, of chunks and directories of
    // sections, and the last 32-bit index.
    const int Borders[] = {0,       16,      256,     4096,    65536,
                           1 << 20, 1 << 24, 1 << 28, INT_MAX - 1};
    std::mt19937 Random(125);
    TObject Things[4];
    for (TSPAQuantum Quantum : {SPASmall, SPALarge}) {
        for (int Round = 0; Round < 24; ++Round) {
            TStringSparseList L(Quantum);
            TPlainList Plain;
            auto Pick = [&] {
                const long long Base = Borders[Random() % std::size(Borders)];
                const long long I = Base + static_cast<int>(Random() % 81) - 40;
                return static_cast<int>(std::clamp<long long>(I, 0, INT_MAX - 1));
            };
            for (int Step = 0; Step < 160; ++Step) {
                const int I = Pick(), J = Pick();
                const std::string Text = Random() % 4 ? "t" + std::to_string(Random() % 1000) : "";
                TObject* Object = Random() % 3 ? &Things[Random() % 4] : nullptr;
                const int Op = static_cast<int>(Random() % 5);
                switch (Op) {
                case 0:
                    L.Put(I, Text);
                    Plain.Put(I, Text);
                    break;
                case 1:
                    L.PutObject(I, Object);
                    Plain.PutObject(I, Object);
                    break;
                case 2:
                    if (I < Plain.Count && Plain.Count >= INT_MAX) {
                        // The last index can't move up any further.
                        ASSERT_THROW(L.Insert(I, Text), EListError);
                    } else {
                        L.Insert(I, Text);
                        Plain.Insert(I, Text);
                    }
                    break;
                case 3:
                    L.Delete(I);
                    Plain.Delete(I);
                    break;
                default:
                    L.Exchange(I, J);
                    Plain.Exchange(I, J);
                    break;
                }
                const std::string Where = std::to_string(Round) + "/" + std::to_string(Step) +
                                          " op " + std::to_string(Op) + " at " + std::to_string(I);
                ASSERT_EQ(L.Count(), Plain.Count) << Where;
                const auto Stored = L.StoredItems();
                ASSERT_EQ(Stored.size(), Plain.Items.size()) << Where;
                auto It = Plain.Items.begin();
                for (const auto& Item : Stored) {
                    ASSERT_EQ(Item.Index, It->first) << Where;
                    ASSERT_EQ(Item.Text, It->second.Text) << Where;
                    ASSERT_EQ(L.GetObject(Item.Index), It->second.Object) << Where;
                    ++It;
                }
                for (int K : {I - 1, I, I + 1, J - 1, J + 1}) {
                    if (K < 0) continue;
                    const auto Found = Plain.Items.find(K);
                    const bool Has = Found != Plain.Items.end();
                    ASSERT_EQ(L.Get(K), Has ? Found->second.Text : "") << Where << " probe " << K;
                    ASSERT_EQ(L.GetObject(K), Has ? Found->second.Object : nullptr) << Where;
                }
            }
        }
    }
}

TEST(StringSparseList, AFarItemCostsASectionNotAnEntryPerIndex) {
    // What the list holds after each write, whatever the index.
    constexpr std::size_t Bound = 64 * 1024;
    TObject Thing;
    for (TSPAQuantum Quantum : {SPASmall, SPALarge}) {
        for (int Far : {12000000, 20000000, 1100000000, INT_MAX - 1}) {
            const std::size_t Before = gridtest::HeapBytes();
            {
                TStringSparseList L(Quantum);
                L.Put(Far, "x");
                EXPECT_LT(gridtest::HeapBytes() - Before, Bound) << "Put " << Far;
                EXPECT_EQ(L.Count(), Far + 1);
            }
            {
                TStringSparseList L(Quantum);
                L.PutObject(Far, &Thing);
                EXPECT_LT(gridtest::HeapBytes() - Before, Bound) << "PutObject " << Far;
                EXPECT_EQ(L.GetObject(Far), &Thing);
            }
            {
                TStringSparseList L(Quantum);
                L.Put(3, "near");
                L.Insert(Far - 1, "y");
                L.Insert(Far - 1000, "z"); // the far item moves up a place
                EXPECT_LT(gridtest::HeapBytes() - Before, Bound) << "Insert " << Far;
                EXPECT_EQ(L.Get(Far - 1000), "z");
                EXPECT_EQ(L.Get(Far), "y");
                EXPECT_EQ(L.Get(3), "near");
                L.Delete(0);
                EXPECT_EQ(L.Get(Far - 1), "y");
            }
        }
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
    try {
        L.Get(-1);
        ADD_FAILURE();
    } catch (const EListError& E) {
        EXPECT_EQ(E.Message, "List index out of bounds (-1)");
    }
    // Past the old reach of a small list: stored like any other index.
    L.Put(3000000, "far");
    EXPECT_EQ(L.Get(3000000), "far");
    EXPECT_EQ(L.Count(), 3000001);
}

// A component holding a sparse string list as a published property, so the
// list goes through a form stream the way a program's form takes it.
class TListHolder : public TComponent {
public:
    using TComponent::TComponent;
    AnsiString ClassName() const override { return "TListHolder"; }
    TStringSparseList* Lines() const { return &FLines; }
    void SetLines(TStringSparseList* Value) { FLines.Assign(static_cast<const TStrings*>(Value)); }

private:
    mutable TStringSparseList FLines{SPASmall};
};

const TPublished<TListHolder, TComponent> ListHolderClass(
    "TListHolder",
    [](auto& C) { C.Property("Lines", &TListHolder::Lines, &TListHolder::SetLines); }, true);

TEST(StringSparseList, TheListPropertyGoesThroughAFormStream) {
    TListHolder Source(nullptr), Target(nullptr);
    Source.SetName("Holder");
    TObject Thing;
    Source.Lines()->Put(2, "two");
    Source.Lines()->Put(70000, "far");
    Source.Lines()->PutObject(5, &Thing); // present, with empty text
    TMemoryStream Stream;
    WriteComponentRes(&Stream, &Source);
    const std::string Bytes(static_cast<const char*>(Stream.Memory()),
                            static_cast<std::size_t>(Stream.GetSize()));
    EXPECT_NE(Bytes.find("Lines.List"), std::string::npos);

    Stream.SetPosition(0);
    ReadComponentRes(&Stream, &Target);
    TStringSparseList* Back = Target.Lines();
    EXPECT_EQ(Back->Count(), 70001);
    EXPECT_EQ(Back->Get(2), "two");
    EXPECT_EQ(Back->Get(70000), "far");
    EXPECT_EQ(Back->GetObject(5), nullptr); // objects stay behind
    const auto Items = Back->StoredItems();
    ASSERT_EQ(Items.size(), 3u);
    EXPECT_EQ(Items[1].Index, 5);

    // An empty list is written too, as a count of 0.
    TListHolder Empty(nullptr);
    TMemoryStream EmptyStream;
    WriteComponentRes(&EmptyStream, &Empty);
    const std::string EmptyBytes(static_cast<const char*>(EmptyStream.Memory()),
                                 static_cast<std::size_t>(EmptyStream.GetSize()));
    EXPECT_NE(EmptyBytes.find("Lines.List"), std::string::npos);
}

// A form stream of one list holder whose "List" property says Count and
// holds Items, as a hand-made (or hostile) file would.
void WriteListStream(TStream& Stream, std::int64_t Count,
                     const std::vector<std::pair<int, AnsiString>>& Items) {
    TWriter W(&Stream);
    W.WriteSignature();
    W.WriteStr("TListHolder");
    W.WriteStr("Holder");
    W.WriteStr("Lines.List");
    W.WriteInteger(Count);
    for (const auto& [Index, Text] : Items) {
        W.WriteInteger(Index);
        W.WriteString(Text);
    }
    W.WriteListEnd();
    W.WriteListEnd();
}

TEST(StringSparseList, FarIndexesInAStreamCostASection) {
    // The reader's first use sets up what it keeps for every later read;
    // only what the list itself takes is measured.
    {
        TMemoryStream Warm;
        WriteListStream(Warm, 1, {{1, "a"}});
        Warm.SetPosition(0);
        TListHolder Target(nullptr);
        ReadComponentRes(&Warm, &Target);
    }
    for (int Far : {40000000, 2000000000, INT_MAX - 1}) {
        TMemoryStream Stream;
        WriteListStream(Stream, 1, {{Far, "a"}});
        Stream.SetPosition(0);
        const std::size_t Before = gridtest::HeapBytes();
        TListHolder Target(nullptr);
        ReadComponentRes(&Stream, &Target);
        EXPECT_LT(gridtest::HeapBytes() - Before, std::size_t(64 * 1024)) << Far;
        EXPECT_EQ(Target.Lines()->Get(Far), "a");
        EXPECT_EQ(Target.Lines()->Count(), Far + 1);
    }
}

// Read back, each item of "List" is inserted at its index in turn, moving
// up the ones already there: in any order, as Insert one by one does; and
// 200,000 items in descending order read in normal time.
TEST(StringSparseList, AListStreamInsertsEachItemAtItsIndexInTurn) {
    std::mt19937 Random(54);
    std::vector<std::pair<int, AnsiString>> Mixed;
    for (int K = 0; K < 300; ++K)
        Mixed.push_back({static_cast<int>(Random() % 400), "m" + std::to_string(K)});
    std::vector<std::pair<int, AnsiString>> Descending;
    for (int K = 0; K < 40; ++K)
        Descending.push_back({90 - 2 * K, "d" + std::to_string(K)});
    for (const auto* Items : {&Mixed, &Descending}) {
        TMemoryStream Stream;
        WriteListStream(Stream, static_cast<std::int64_t>(Items->size()), *Items);
        Stream.SetPosition(0);
        TListHolder Target(nullptr);
        ReadComponentRes(&Stream, &Target);
        TStringSparseList OneByOne(SPASmall);
        for (const auto& [Index, Text] : *Items)
            OneByOne.Insert(Index, Text);
        EXPECT_EQ(Target.Lines()->Count(), OneByOne.Count());
        const auto Got = Target.Lines()->StoredItems();
        const auto Want = OneByOne.StoredItems();
        ASSERT_EQ(Got.size(), Want.size());
        for (std::size_t I = 0; I < Got.size(); ++I) {
            EXPECT_EQ(Got[I].Index, Want[I].Index);
            EXPECT_EQ(Got[I].Text, Want[I].Text);
        }
    }

    // Item k at 2 (n - 1 - k): each later one moves it up once more.
    const int N = 200000;
    std::vector<std::pair<int, AnsiString>> Many;
    for (int K = 0; K < N; ++K)
        Many.push_back({2 * (N - 1 - K), std::to_string(K)});
    TMemoryStream Stream;
    WriteListStream(Stream, N, Many);
    Stream.SetPosition(0);
    TListHolder Target(nullptr);
    ReadComponentRes(&Stream, &Target);
    EXPECT_EQ(Target.Lines()->Count(), 3 * (N - 1) + 1);
    const auto Items = Target.Lines()->StoredItems();
    ASSERT_EQ(Items.size(), static_cast<std::size_t>(N));
    for (int M = 0; M < N; ++M) {
        ASSERT_EQ(Items[M].Index, 3 * M);
        ASSERT_EQ(Items[M].Text, std::to_string(N - 1 - M));
    }
}

TEST(StringSparseList, ABadListInAStreamIsRefused) {
    struct Case {
        const char* Name;
        std::int64_t Count;
        std::vector<std::pair<int, AnsiString>> Items;
        const char* Message;
    };
    const Case Cases[] = {
        {"negative count", -3, {}, "List holds -3 items"},
        {"count beyond the items", 1000000, {{1, "a"}}, "integer expected"},
        {"negative index", 1, {{-4, "a"}}, "List index out of bounds (-4)"},
        {"index past the last", 1, {{INT_MAX, "a"}}, "List index out of bounds (2147483647)"},
        {"count beyond far items", 3, {{40000000, "a"}, {2000000000, "b"}}, "integer expected"},
    };
    for (const Case& C : Cases) {
        TMemoryStream Stream;
        WriteListStream(Stream, C.Count, C.Items);
        Stream.SetPosition(0);
        TListHolder Target(nullptr);
        try {
            ReadComponentRes(&Stream, &Target);
            ADD_FAILURE() << C.Name;
        } catch (const EReadError& E) {
            EXPECT_NE(E.Message.find(C.Message), AnsiString::npos) << C.Name << ": " << E.Message;
        }
    }
}

} // namespace
