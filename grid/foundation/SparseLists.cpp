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

TStringSparseList::TStringSparseList(TSPAQuantum Quantum) : FQuantum(Quantum) {}

TStringSparseList::~TStringSparseList() = default;

void TStringSparseList::CheckIndex(int Index) const {
    const int Limit = 65536 * (FQuantum == SPALarge ? 256 : 16);
    if (Index < 0 || Index >= Limit) ListIndexError(Index);
}

void TStringSparseList::Changed() {
    if (OnChange) OnChange(this);
}

void TStringSparseList::StoreObject(int Index, TObject* AObject) {
    if (!FObjects) {
        if (!AObject) return;
        FObjects = std::make_unique<TSparseList>(FQuantum);
    }
    FObjects->StoreAt(Index, AObject);
}

AnsiString TStringSparseList::Get(int Index) const {
    CheckIndex(Index);
    return AnsiString(FTexts.Text(Index));
}

TObject* TStringSparseList::GetObject(int Index) const {
    CheckIndex(Index);
    return FObjects ? static_cast<TObject*>(FObjects->ItemAt(Index)) : nullptr;
}

void TStringSparseList::Put(int Index, const AnsiString& S) {
    CheckIndex(Index);
    // An item stays while it has text or an object; the object is kept.
    FTexts.Store(Index, !S.empty() || GetObject(Index), S);
    FCount = HighBound() + 1;
    Changed();
}

void TStringSparseList::PutObject(int Index, TObject* AObject) {
    CheckIndex(Index);
    if (FTexts.Present(Index)) {
        StoreObject(Index, AObject);
    } else if (AObject) {
        StoreObject(Index, AObject);
        try {
            FTexts.Store(Index, true, {});
        } catch (...) {
            FObjects->StoreAt(Index, nullptr);
            throw;
        }
        FCount = HighBound() + 1;
    }
    Changed();
}

void TStringSparseList::Insert(int Index, const AnsiString& S) {
    if (Index < 0) ListIndexError(Index);
    // Moving the last addressable item further up fails before anything moves.
    const int Limit = 65536 * (FQuantum == SPALarge ? 256 : 16);
    if (Index < FCount && FCount >= Limit) ListIndexError(FCount);
    CheckIndex(Index);
    FTexts.Insert(Index, S);
    if (FObjects) FObjects->InsertAt(Index, nullptr);
    if (FCount < Index) FCount = Index;
    ++FCount;
    Changed();
}

void TStringSparseList::Delete(int Index) {
    if (Index < 0 || Index >= FCount) return;
    FTexts.Erase(Index);
    if (FObjects) FObjects->DeleteAt(Index);
    --FCount;
    Changed();
}

void TStringSparseList::Exchange(int Index1, int Index2) {
    CheckIndex(Index1);
    CheckIndex(Index2);
    const bool Present1 = FTexts.Present(Index1);
    const AnsiString Text1(FTexts.Text(Index1));
    TObject* Object1 = GetObject(Index1);
    const bool Present2 = FTexts.Present(Index2);
    const AnsiString Text2(FTexts.Text(Index2));
    TObject* Object2 = GetObject(Index2);
    FTexts.Store(Index1, Present2, Text2);
    StoreObject(Index1, Object2);
    FTexts.Store(Index2, Present1, Text1);
    StoreObject(Index2, Object1);
    // As with any store, the count follows the highest item.
    FCount = HighBound() + 1;
}

void TStringSparseList::Clear() {
    FTexts.Clear();
    FObjects.reset();
    FCount = 0;
    Changed();
}

std::vector<TStringSparseList::TStoredItem> TStringSparseList::StoredItems() const {
    std::vector<TStoredItem> Items;
    for (int I = 0; I < FTexts.Length(); ++I)
        if (FTexts.Present(I)) Items.push_back({I, AnsiString(FTexts.Text(I))});
    return Items;
}

void TStringSparseList::LoadStoredItems(const std::vector<TStoredItem>& Items) {
    for (const TStoredItem& Item : Items)
        Insert(Item.Index, Item.Text);
}

} // namespace grid
