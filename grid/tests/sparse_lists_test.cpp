#include "grid/foundation/SparseLists.h"

#include "platform/classes/Filer.h"
#include "platform/classes/Publish.h"
#include "platform/rtl/Streams.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>
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
    };
    for (const Case& C : Cases) {
        TMemoryStream Stream;
        {
            TWriter W(&Stream);
            W.WriteSignature();
            W.WriteStr("TListHolder");
            W.WriteStr("Holder");
            W.WriteStr("Lines.List");
            W.WriteInteger(C.Count);
            for (const auto& [Index, Text] : C.Items) {
                W.WriteInteger(Index);
                W.WriteString(Text);
            }
            W.WriteListEnd();
            W.WriteListEnd();
        }
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
