#include "platform/classes/Collection.h"
#include "platform/classes/Component.h"

#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class TValueItem : public TCollectionItem {
public:
    using TCollectionItem::TCollectionItem;
    AnsiString ClassName() const override { return "TValueItem"; }

    int Value() const { return FValue; }
    void SetValue(int Value) {
        FValue = Value;
        Changed(false);
    }
    void Assign(TPersistent* Source) override {
        if (auto* Other = dynamic_cast<TValueItem*>(Source)) {
            SetValue(Other->FValue);
            return;
        }
        TCollectionItem::Assign(Source);
    }

private:
    int FValue = 0;
};

class TOtherItem : public TCollectionItem {
public:
    using TCollectionItem::TCollectionItem;
    AnsiString ClassName() const override { return "TOtherItem"; }
};

// An item whose name the collection hands out when it joins.
class TNamedItem : public TCollectionItem {
public:
    using TCollectionItem::TCollectionItem;
    AnsiString ClassName() const override { return "TNamedItem"; }
    AnsiString GetDisplayName() const override { return FName; }
    void SetDisplayName(const AnsiString& Value) override {
        FName = Value;
        TCollectionItem::SetDisplayName(Value);
    }

private:
    AnsiString FName;
};

// Records every Update: "all" for the whole list, else the item's ID.
class TRecordingCollection : public TOwnedCollection {
public:
    explicit TRecordingCollection(
        TCollectionItemClass ItemClass = CollectionItemClass<TValueItem>(),
        TPersistent* Owner = nullptr)
        : TOwnedCollection(Owner, std::move(ItemClass)) {}
    AnsiString ClassName() const override { return "TRecordingCollection"; }

    std::vector<std::string> Updates;
    TValueItem* Item(int Index) const { return static_cast<TValueItem*>(Items(Index)); }

protected:
    void Update(TCollectionItem* Item) override {
        Updates.push_back(Item == nullptr ? "all" : std::to_string(Item->ID()));
    }
    void SetItemName(TCollectionItem* Item) override {
        // Only works on a whole item: the display name setter is an override.
        if (auto* Named = dynamic_cast<TNamedItem*>(Item))
            Named->SetDisplayName("Item" + std::to_string(Item->ID()));
    }
};

std::vector<int> ValuesOf(const TRecordingCollection& Collection) {
    std::vector<int> Values;
    for (int I = 0; I < Collection.Count(); ++I)
        Values.push_back(Collection.Item(I)->Value());
    return Values;
}

TEST(Collection, UpdateIsReportedOncePerChangeOrOncePerBatch) {
    TRecordingCollection Collection;
    auto* First = static_cast<TValueItem*>(Collection.Add());
    Collection.Add();
    First->SetValue(7);
    EXPECT_EQ(Collection.Updates, (std::vector<std::string>{"all", "all", "0"}));

    Collection.Updates.clear();
    Collection.BeginUpdate();
    Collection.BeginUpdate();
    Collection.Add();
    First->SetValue(8);
    Collection.Delete(1);
    Collection.EndUpdate();
    EXPECT_TRUE(Collection.Updates.empty());
    Collection.EndUpdate();
    EXPECT_EQ(Collection.Updates, (std::vector<std::string>{"all"}));

    struct Case {
        const char* What;
        std::function<void()> Change;
    };
    const Case Cases[] = {
        {"Clear", [&] { Collection.Clear(); }},
        {"Assign",
         [&] {
             TRecordingCollection Source;
             Source.Add();
             Source.Add();
             Collection.Assign(&Source);
         }},
        {"Insert without a move", [&] { Collection.Insert(Collection.Count()); }},
        {"Delete", [&] { Collection.Delete(0); }},
    };
    for (const Case& C : Cases) {
        Collection.Add();
        Collection.Updates.clear();
        C.Change();
        EXPECT_EQ(Collection.Updates, (std::vector<std::string>{"all"})) << C.What;
    }
}

TEST(Collection, ItemsKeepTheirIdsWhileMovingAbout) {
    TRecordingCollection Collection;
    for (int Value : {10, 20, 30})
        static_cast<TValueItem*>(Collection.Add())->SetValue(Value);
    auto* Inserted = static_cast<TValueItem*>(Collection.Insert(1));
    Inserted->SetValue(15);
    EXPECT_EQ(ValuesOf(Collection), (std::vector<int>{10, 15, 20, 30}));
    EXPECT_EQ(Inserted->ID(), 3);
    EXPECT_EQ(Inserted->Index(), 1);

    Collection.Item(3)->SetIndex(0);
    EXPECT_EQ(ValuesOf(Collection), (std::vector<int>{30, 10, 15, 20}));
    EXPECT_EQ(Collection.FindItemID(2), Collection.Item(0));
    EXPECT_EQ(Collection.FindItemID(99), nullptr);

    Collection.Delete(1);
    EXPECT_EQ(ValuesOf(Collection), (std::vector<int>{30, 15, 20}));
    EXPECT_EQ(Collection.FindItemID(0), nullptr);
    EXPECT_EQ(Collection.Add()->ID(), 4); // IDs are never reused
}

TEST(Collection, OutOfRangePositionsRaiseAndChangeNothing) {
    TRecordingCollection Collection;
    Collection.Add();
    Collection.Add();
    const std::function<void()> Actions[] = {
        [&] { Collection.Items(2); },
        [&] { Collection.Items(-1); },
        [&] { Collection.Delete(2); },
        [&] { Collection.Insert(3); },
        [&] { Collection.Insert(-1); },
        [&] { Collection.Item(0)->SetIndex(2); },
        [&] { Collection.Item(0)->SetIndex(-1); },
    };
    for (const auto& Action : Actions) {
        EXPECT_THROW(Action(), EListError);
        EXPECT_EQ(Collection.Count(), 2);
        EXPECT_EQ(Collection.Item(0)->ID(), 0);
    }
}

TEST(Collection, ItemMovesBetweenCollectionsOfItsClassOnly) {
    TRecordingCollection From;
    TRecordingCollection To;
    TRecordingCollection Others(CollectionItemClass<TOtherItem>());
    To.Add();
    auto* Item = From.Add();
    Item->SetCollection(&To);
    EXPECT_EQ(From.Count(), 0);
    ASSERT_EQ(To.Count(), 2);
    EXPECT_EQ(Item->Collection(), &To);
    EXPECT_EQ(Item->ID(), 1);

    try {
        Item->SetCollection(&Others);
        ADD_FAILURE() << "no error";
    } catch (const EListError& E) {
        EXPECT_EQ(E.Message, "A TValueItem cannot be an item of a TRecordingCollection");
    }
    EXPECT_EQ(Item->Collection(), &To);
    EXPECT_EQ(To.Count(), 2);

    Item->SetCollection(nullptr);
    EXPECT_EQ(To.Count(), 1);
    EXPECT_EQ(Item->Index(), -1);
    delete Item;
}

TEST(Collection, AssignCopiesItemByItem) {
    TRecordingCollection Source;
    for (int Value : {1, 2, 3})
        static_cast<TValueItem*>(Source.Add())->SetValue(Value);
    TRecordingCollection Dest;
    Dest.Add();
    Dest.Assign(&Source);
    EXPECT_EQ(ValuesOf(Dest), (std::vector<int>{1, 2, 3}));

    Dest.Assign(&Dest);
    EXPECT_EQ(ValuesOf(Dest), (std::vector<int>{1, 2, 3}));

    TRecordingCollection Others(CollectionItemClass<TOtherItem>());
    Others.Add();
    EXPECT_THROW(Dest.Assign(&Others), EConvertError);
    try {
        Dest.Assign(&Others);
    } catch (const EConvertError& E) {
        EXPECT_EQ(E.Message, "Cannot assign a TOtherItem to a TValueItem");
    }
    TComponent NotACollection(nullptr);
    try {
        Dest.Assign(&NotACollection);
        ADD_FAILURE() << "no error";
    } catch (const EConvertError& E) {
        EXPECT_EQ(E.Message, "Cannot assign a TComponent to a TRecordingCollection");
    }
    // A failed assignment still ends its batch of updates.
    Dest.Updates.clear();
    Dest.Add();
    EXPECT_EQ(Dest.Updates, (std::vector<std::string>{"all"}));
}

TEST(Collection, OverridesSeeTheWholeItemAndNamesFollowTheOwner) {
    TComponent Grid(nullptr);
    Grid.SetName("Grid1");
    TRecordingCollection Collection(CollectionItemClass<TNamedItem>(), &Grid);
    Collection.SetPropName("Columns");
    Collection.Add();
    Collection.Add();
    EXPECT_EQ(Collection.Items(1)->DisplayName(), "Item1");
    EXPECT_EQ(Collection.Owner(), &Grid);
    EXPECT_EQ(Collection.GetNamePath(), "Grid1.Columns");
    EXPECT_EQ(Collection.Items(1)->GetNamePath(), "Grid1.Columns[1]");

    TCollection Plain(CollectionItemClass<TCollectionItem>());
    EXPECT_EQ(Plain.Add()->DisplayName(), "TCollectionItem");
    EXPECT_EQ(Plain.Items(0)->GetNamePath(), "TCollection[0]");
}

} // namespace
