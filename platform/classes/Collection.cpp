#include "platform/classes/Collection.h"

#include "platform/rtl/Exceptions.h"

#include <algorithm>
#include <exception>
#include <string>

namespace {

[[noreturn]] void IndexError(int Index) {
    throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
}

// Holds updates back for a scope, also when it is left by an exception. On
// that way out a failing Update must not end the program: the exception
// already under way is the one to report.
class TUpdateScope {
public:
    explicit TUpdateScope(TCollection& Collection)
        : FCollection(Collection), FUncaught(std::uncaught_exceptions()) {
        FCollection.BeginUpdate();
    }
    ~TUpdateScope() noexcept(false) {
        if (std::uncaught_exceptions() == FUncaught) {
            FCollection.EndUpdate();
            return;
        }
        try {
            FCollection.EndUpdate();
        } catch (...) {
        }
    }
    TUpdateScope(const TUpdateScope&) = delete;
    TUpdateScope& operator=(const TUpdateScope&) = delete;

private:
    TCollection& FCollection;
    int FUncaught;
};

} // namespace

// ---- TCollectionItem ----

TCollectionItem::TCollectionItem(TCollection* Collection) {
    if (Collection == nullptr) return;
    if (Collection->FBuilding > 0)
        Collection->LinkItem(this);
    else
        Collection->InsertItem(this);
}

TCollectionItem::~TCollectionItem() {
    if (FCollection != nullptr) FCollection->RemoveItem(this);
}

AnsiString TCollectionItem::GetNamePath() const {
    if (FCollection == nullptr) return ClassName();
    return FCollection->GetNamePath() + "[" + std::to_string(Index()) + "]";
}

TPersistent* TCollectionItem::GetOwner() const {
    return FCollection;
}

void TCollectionItem::SetCollection(TCollection* Value) {
    if (Value == FCollection) return;
    if (Value != nullptr && Value->FItemClass.Accepts && !Value->FItemClass.Accepts(this))
        throw EListError("A " + ClassName() + " cannot be an item of a " + Value->ClassName());
    if (FCollection != nullptr) FCollection->RemoveItem(this);
    if (Value != nullptr) Value->InsertItem(this);
}

int TCollectionItem::Index() const {
    if (FCollection == nullptr) return -1;
    const auto& Items = FCollection->FItems;
    auto Found = std::find(Items.begin(), Items.end(), this);
    return Found == Items.end() ? -1 : static_cast<int>(Found - Items.begin());
}

void TCollectionItem::SetIndex(int Value) {
    const int CurIndex = Index();
    if (CurIndex < 0 || CurIndex == Value) return;
    FCollection->MoveItem(CurIndex, Value);
    Changed(true);
}

void TCollectionItem::SetDisplayName(const AnsiString&) {
    Changed(false);
}

void TCollectionItem::Changed(bool AllItems) {
    if (FCollection != nullptr && FCollection->FUpdateCount == 0)
        FCollection->Update(AllItems ? nullptr : this);
}

// ---- TCollection ----

TCollection::TCollection(TCollectionItemClass ItemClass) : FItemClass(std::move(ItemClass)) {}

TCollection::~TCollection() {
    // Our own overrides are gone by now; no Update while the items go.
    FUpdateCount = 1;
    while (!FItems.empty())
        delete FItems.back();
}

AnsiString TCollection::GetNamePath() const {
    const TPersistent* Owner = GetOwner();
    if (Owner == nullptr || FPropName.empty()) return ClassName();
    const AnsiString OwnerPath = Owner->GetNamePath();
    if (OwnerPath.empty()) return ClassName();
    return OwnerPath + "." + FPropName;
}

void TCollection::CheckIndex(int Index) const {
    if (Index < 0 || Index >= Count()) IndexError(Index);
}

TCollectionItem* TCollection::Items(int Index) const {
    CheckIndex(Index);
    return FItems[static_cast<std::size_t>(Index)];
}

void TCollection::SetItem(int Index, TCollectionItem* Value) {
    Items(Index)->Assign(Value);
}

TCollectionItem* TCollection::Add() {
    if (!FItemClass.Create) throw EListError(ClassName() + " has no item class to add an item of");
    TCollectionItem* Item = nullptr;
    ++FBuilding;
    try {
        Item = FItemClass.Create(this);
    } catch (...) {
        --FBuilding;
        throw;
    }
    --FBuilding;
    if (Item == nullptr) throw EListError(ClassName() + " could not make an item");
    if (Item->FCollection != this) {
        // The item class made an item somewhere else: bring it here the
        // ordinary way, or free it if it doesn't belong.
        try {
            Item->SetCollection(this);
        } catch (...) {
            delete Item;
            throw;
        }
        return Item;
    }
    SetItemName(Item);
    Changed();
    return Item;
}

TCollectionItem* TCollection::Insert(int Index) {
    // Check first: an item added and then refused its place would stay.
    if (Index < 0 || Index > Count()) IndexError(Index);
    TCollectionItem* Item = Add();
    Item->SetIndex(Index);
    return Item;
}

void TCollection::Delete(int Index) {
    delete Items(Index);
}

void TCollection::Clear() {
    if (FItems.empty()) return;
    TUpdateScope Scope(*this);
    while (!FItems.empty())
        delete FItems.back();
}

TCollectionItem* TCollection::FindItemID(int ID) const {
    for (TCollectionItem* Item : FItems)
        if (Item->FID == ID) return Item;
    return nullptr;
}

void TCollection::Assign(TPersistent* Source) {
    auto* Other = dynamic_cast<TCollection*>(Source);
    if (Other == nullptr) {
        TPersistent::Assign(Source);
        return;
    }
    // Clearing first would leave nothing to copy from.
    if (Other == this) return;
    TUpdateScope Scope(*this);
    Clear();
    for (int I = 0; I < Other->Count(); ++I)
        Add()->Assign(Other->Items(I));
}

void TCollection::BeginUpdate() {
    ++FUpdateCount;
}

void TCollection::EndUpdate() {
    if (FUpdateCount > 0) --FUpdateCount;
    Changed();
}

void TCollection::Changed() {
    if (FUpdateCount == 0) Update(nullptr);
}

void TCollection::SetItemName(TCollectionItem*) {}

void TCollection::Update(TCollectionItem*) {}

void TCollection::LinkItem(TCollectionItem* Item) {
    FItems.push_back(Item);
    Item->FCollection = this;
    Item->FID = FNextID++;
}

void TCollection::InsertItem(TCollectionItem* Item) {
    LinkItem(Item);
    SetItemName(Item);
    Changed();
}

void TCollection::RemoveItem(TCollectionItem* Item) {
    auto Found = std::find(FItems.begin(), FItems.end(), Item);
    if (Found != FItems.end()) FItems.erase(Found);
    Item->FCollection = nullptr;
    Changed();
}

void TCollection::MoveItem(int CurIndex, int NewIndex) {
    CheckIndex(NewIndex);
    TCollectionItem* Item = FItems[static_cast<std::size_t>(CurIndex)];
    FItems.erase(FItems.begin() + CurIndex);
    FItems.insert(FItems.begin() + NewIndex, Item);
}
