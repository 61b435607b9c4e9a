#include "grid/foundation/SparseLists.h"

namespace grid {

namespace {

[[noreturn]] void ListIndexError(int Index) {
    throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
}

} // namespace

TSparsePointerArray::TSparsePointerArray(TSPAQuantum Quantum)
    : FSectionShift(Quantum == SPALarge ? 8 : 4), FSectionSize(1 << FSectionShift),
      FIndexMask(FSectionSize - 1) {}

void TSparsePointerArray::CheckIndex(int Index) const {
    // The section number is 16 bits wide: a larger one would wrap round
    // into another section.
    if (Index < 0 || Index >= IndexLimit()) ListIndexError(Index);
}

void* TSparsePointerArray::ItemAt(int Index) const {
    if (Index == FCachedIndex && Index >= 0) return FCachedItem;
    CheckIndex(Index);
    const std::size_t Section = static_cast<std::size_t>(Index >> FSectionShift);
    void* Item = nullptr;
    if (Section < FSections.size() && FSections[Section])
        Item = FSections[Section][Index & FIndexMask];
    FCachedIndex = Index;
    FCachedItem = Item;
    return Item;
}

void** TSparsePointerArray::SlotAt(int Index) {
    CheckIndex(Index);
    const std::size_t Section = static_cast<std::size_t>(Index >> FSectionShift);
    if (Section >= FSections.size()) FSections.resize(Section + 1);
    if (!FSections[Section]) FSections[Section] = std::make_unique<void*[]>(FSectionSize);
    if (Index > FHighBound) FHighBound = Index;
    FCachedIndex = -1;
    FCachedItem = nullptr;
    return &FSections[Section][Index & FIndexMask];
}

void TSparsePointerArray::StoreAt(int Index, void* Item) {
    if (!Item && !ItemAt(Index)) return;
    *SlotAt(Index) = Item;
    if (Item) return;
    const int OldHigh = FHighBound;
    int NewHigh = -1;
    VisitItems([&](int At, void*) {
        if (At > OldHigh) return 1;
        NewHigh = At;
        return 0;
    });
    FHighBound = NewHigh;
}

int TSparsePointerArray::VisitItems(const TSPAApply& Apply) const {
    for (std::size_t Section = 0; Section < FSections.size(); ++Section) {
        if (!FSections[Section]) continue;
        for (int Slot = 0; Slot < FSectionSize; ++Slot) {
            void* Item = FSections[Section][Slot];
            if (!Item) continue;
            const int Result = Apply(static_cast<int>(Section << FSectionShift) + Slot, Item);
            if (Result != 0) return Result;
        }
    }
    return 0;
}

int TSparsePointerArray::SectionCount() const {
    int N = 0;
    for (const auto& Section : FSections)
        N += Section ? 1 : 0;
    return N;
}

TSparseList::TSparseList(TSPAQuantum Quantum)
    : FList(std::make_unique<TSparsePointerArray>(Quantum)), FQuantum(Quantum) {}

void TSparseList::CheckIndex(int Index) {
    if (Index < 0) ListIndexError(Index);
}

void* TSparseList::ItemAt(int Index) const {
    CheckIndex(Index);
    return FList->ItemAt(Index);
}

void TSparseList::StoreAt(int Index, void* Item) {
    CheckIndex(Index);
    FList->StoreAt(Index, Item);
    FCount = FList->HighBound() + 1;
}

void TSparseList::InsertAt(int Index, void* Item) {
    CheckIndex(Index);
    // Reaching past the addressable end fails before anything moves.
    if (Index < FCount && FCount >= FList->IndexLimit()) ListIndexError(FCount);
    for (int I = FCount - 1; I >= Index; --I)
        FList->StoreAt(I + 1, FList->ItemAt(I));
    FList->StoreAt(Index, Item);
    if (FCount < Index) FCount = Index;
    ++FCount;
}

void TSparseList::DeleteAt(int Index) {
    if (Index < 0 || Index >= FCount) return;
    for (int I = Index; I < FCount - 1; ++I)
        FList->StoreAt(I, FList->ItemAt(I + 1));
    FList->StoreAt(FCount - 1, nullptr);
    --FCount;
}

void TSparseList::SwapAt(int Index1, int Index2) {
    void* Item = ItemAt(Index1);
    StoreAt(Index1, ItemAt(Index2));
    StoreAt(Index2, Item);
}

void TSparseList::MoveItem(int CurIndex, int NewIndex) {
    if (CurIndex == NewIndex) return;
    void* Item = ItemAt(CurIndex);
    DeleteAt(CurIndex);
    InsertAt(NewIndex, Item);
}

void TSparseList::ClearItems() {
    FList = std::make_unique<TSparsePointerArray>(FQuantum);
    FCount = 0;
}

TStringSparseList::TStringSparseList(TSPAQuantum Quantum) : FList(Quantum) {}

TStringSparseList::~TStringSparseList() {
    FList.VisitItems([](int, void* Item) {
        delete static_cast<TItem*>(Item);
        return 0;
    });
}

void TStringSparseList::Changed() {
    if (OnChange) OnChange(this);
}

AnsiString TStringSparseList::Get(int Index) const {
    const TItem* Item = ItemAt(Index);
    return Item ? Item->Text : AnsiString();
}

TObject* TStringSparseList::GetObject(int Index) const {
    const TItem* Item = ItemAt(Index);
    return Item ? Item->Object : nullptr;
}

void TStringSparseList::Put(int Index, const AnsiString& S) {
    std::unique_ptr<TItem> Old(ItemAt(Index));
    std::unique_ptr<TItem> New;
    if (!S.empty() || (Old && Old->Object)) New.reset(new TItem{Old ? Old->Object : nullptr, S});
    try {
        FList.StoreAt(Index, New.get());
    } catch (...) {
        (void)Old.release(); // still stored
        throw;
    }
    (void)New.release();
    Changed();
}

void TStringSparseList::PutObject(int Index, TObject* AObject) {
    if (TItem* Item = ItemAt(Index)) {
        Item->Object = AObject;
    } else if (AObject) {
        auto New = std::make_unique<TItem>(TItem{AObject, AnsiString()});
        FList.StoreAt(Index, New.get());
        (void)New.release();
    }
    Changed();
}

void TStringSparseList::Insert(int Index, const AnsiString& S) {
    auto New = std::make_unique<TItem>(TItem{nullptr, S});
    FList.InsertAt(Index, New.get());
    (void)New.release();
    Changed();
}

void TStringSparseList::Delete(int Index) {
    if (Index < 0 || Index >= FList.Count()) return;
    delete ItemAt(Index);
    FList.DeleteAt(Index);
    Changed();
}

void TStringSparseList::Exchange(int Index1, int Index2) {
    FList.SwapAt(Index1, Index2);
}

void TStringSparseList::Clear() {
    FList.VisitItems([](int, void* Item) {
        delete static_cast<TItem*>(Item);
        return 0;
    });
    FList.ClearItems();
    Changed();
}

std::vector<TStringSparseList::TStoredItem> TStringSparseList::StoredItems() const {
    std::vector<TStoredItem> Items;
    FList.VisitItems([&Items](int Index, void* Item) {
        Items.push_back({Index, static_cast<TItem*>(Item)->Text});
        return 0;
    });
    return Items;
}

void TStringSparseList::LoadStoredItems(const std::vector<TStoredItem>& Items) {
    for (const TStoredItem& Item : Items)
        Insert(Item.Index, Item.Text);
}

} // namespace grid
