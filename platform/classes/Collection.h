#pragma once
// A list of items of one class that owns them: the form streaming system
// reads and writes it item by item, and the collection hears of every change
// (Update) so the control that shows the items can redraw once per change,
// or once per batch of changes between BeginUpdate and EndUpdate.
#include "platform/rtl/Persistent.h"
#include "platform/rtl/AnsiString.h"

#include <functional>
#include <type_traits>
#include <vector>

class TCollection;
class TCollectionItem;

// The item class of a collection: how to make one, and which items belong.
struct TCollectionItemClass {
    std::function<TCollectionItem*(TCollection* Collection)> Create;
    // Whether an existing item may join the collection; empty accepts all.
    std::function<bool(const TCollectionItem* Item)> Accepts;
};

// The item class whose items are T (T's constructor takes the collection).
template <class T> TCollectionItemClass CollectionItemClass() {
    static_assert(std::is_base_of_v<TCollectionItem, T>, "items derive from TCollectionItem");
    return {[](TCollection* Collection) -> TCollectionItem* { return new T(Collection); },
            [](const TCollectionItem* Item) { return dynamic_cast<const T*>(Item) != nullptr; }};
}

class TCollectionItem : public TPersistent {
public:
    // Joins Collection (when given), which then owns the item. Make items
    // through the collection's Add or Insert: those tell the collection
    // only once the item is whole, so its overrides see the full item.
    explicit TCollectionItem(TCollection* Collection);
    // Leaves the collection.
    ~TCollectionItem() override;

    AnsiString ClassName() const override { return "TCollectionItem"; }
    // "<collection path>[<index>]".
    AnsiString GetNamePath() const override;
    TPersistent* GetOwner() const override;

    TCollection* Collection() const { return FCollection; }
    // Moves the item to another collection (which then owns it), or out of
    // any with nullptr. A collection of another item class refuses it with
    // EListError, the item staying where it was.
    virtual void SetCollection(TCollection* Value);

    // A number unique within the collection, kept while the item moves
    // about in it; a new one on joining another collection.
    int ID() const { return FID; }

    // Position in the collection (-1 outside one); setting it moves the
    // item, EListError when the position is out of range.
    int Index() const;
    virtual void SetIndex(int Value);

    // The text the designer lists the item by; the class name here.
    AnsiString DisplayName() const { return GetDisplayName(); }
    virtual AnsiString GetDisplayName() const { return ClassName(); }
    virtual void SetDisplayName(const AnsiString& Value);

protected:
    // Tells the collection this item (or, with AllItems, the whole list)
    // has changed, unless it is between BeginUpdate and EndUpdate.
    void Changed(bool AllItems);

private:
    friend class TCollection;

    TCollection* FCollection = nullptr;
    int FID = 0;
};

class TCollection : public TPersistent {
public:
    explicit TCollection(TCollectionItemClass ItemClass);
    // Frees the items without calling Update.
    ~TCollection() override;

    AnsiString ClassName() const override { return "TCollection"; }
    // "<owner path>.<property name>", or the class name when either is not
    // known.
    AnsiString GetNamePath() const override;
    TPersistent* Owner() const { return GetOwner(); }

    const TCollectionItemClass& ItemClass() const { return FItemClass; }

    int Count() const { return static_cast<int>(FItems.size()); }
    // EListError when Index is out of range.
    TCollectionItem* Items(int Index) const;
    // Assigns Value to the item at Index.
    void SetItem(int Index, TCollectionItem* Value);

    // A new item at the end (Add) or at Index, 0 to Count (Insert).
    TCollectionItem* Add();
    TCollectionItem* Insert(int Index);
    // Frees the item at Index; EListError when Index is out of range.
    void Delete(int Index);
    // Frees every item, with a single Update at the end.
    void Clear();
    TCollectionItem* FindItemID(int ID) const;

    // From another collection: replaces the items by new ones, each
    // assigned from the source's item at the same position, with a single
    // Update at the end. Other sources go to TPersistent's rule.
    void Assign(TPersistent* Source) override;

    // Between BeginUpdate and EndUpdate changes are not reported one by
    // one; the outermost EndUpdate reports them all at once.
    virtual void BeginUpdate();
    virtual void EndUpdate();

    // The name of the owner's property that holds this collection.
    const AnsiString& PropName() const { return FPropName; }
    void SetPropName(const AnsiString& Value) { FPropName = Value; }

protected:
    // Reports a change of the whole list, unless updates are held back.
    void Changed();
    // Gives a newly joined item a name, if the class names its items.
    virtual void SetItemName(TCollectionItem* Item);
    // Item has changed, or (nullptr) the list or several items have.
    virtual void Update(TCollectionItem* Item);
    int UpdateCount() const { return FUpdateCount; }

private:
    friend class TCollectionItem;

    void LinkItem(TCollectionItem* Item);
    void InsertItem(TCollectionItem* Item);
    void RemoveItem(TCollectionItem* Item);
    void MoveItem(int CurIndex, int NewIndex);
    void CheckIndex(int Index) const;

    TCollectionItemClass FItemClass;
    std::vector<TCollectionItem*> FItems;
    int FUpdateCount = 0;
    int FNextID = 0;
    // Set while Add makes an item: the item's constructor only links itself
    // in, and Add finishes the insertion once the item is whole.
    int FBuilding = 0;
    AnsiString FPropName;
};

// A collection that knows the object it belongs to, for the name path and
// the designer.
class TOwnedCollection : public TCollection {
public:
    TOwnedCollection(TPersistent* AOwner, TCollectionItemClass ItemClass)
        : TCollection(std::move(ItemClass)), FOwner(AOwner) {}

    AnsiString ClassName() const override { return "TOwnedCollection"; }
    TPersistent* GetOwner() const override { return FOwner; }

private:
    TPersistent* FOwner;
};
