#include "grid/foundation/SparseLists.h"

#include "grid/foundation/InsertPlaces.h"

#include "platform/classes/Filer.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace grid {

namespace {

[[noreturn]] void ListIndexError(int Index) {
    throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
}

} // namespace

TSparsePointerArray::TSparsePointerArray(TSPAQuantum Quantum)
    : FSectionShift(SectionShiftOf(Quantum)), FSectionSize(1 << FSectionShift),
      FIndexMask(FSectionSize - 1) {}

TSparsePointerArray::~TSparsePointerArray() = default;

void TSparsePointerArray::CheckIndex(int Index) const {
    if (Index < 0) ListIndexError(Index);
}

std::uint64_t TSparsePointerArray::TDirectory::MadeWord(std::size_t Word) const {
    const std::size_t C = Word / WordsPerChunk;
    return C < Chunks.size() && Chunks[C] ? Chunks[C]->Made[Word % WordsPerChunk] : 0;
}

void** TSparsePointerArray::Section(int S) const {
    const std::size_t D = static_cast<std::size_t>(S >> DirectoryShift);
    if (D >= FDirectories.size() || !FDirectories[D]) return nullptr;
    const TDirectory& Dir = *FDirectories[D];
    const std::size_t Slot = static_cast<std::size_t>(S & DirectoryMask);
    const std::size_t C = Slot >> ChunkShift;
    return C < Dir.Chunks.size() && Dir.Chunks[C] ? Dir.Chunks[C]->Sections[Slot % ChunkSize].get()
                                                  : nullptr;
}

void** TSparsePointerArray::MakeSection(int S) {
    const std::size_t D = static_cast<std::size_t>(S >> DirectoryShift);
    if (D >= FDirectories.size()) FDirectories.resize(D + 1);
    if (!FDirectories[D]) FDirectories[D] = std::make_unique<TDirectory>();
    TDirectory& Dir = *FDirectories[D];
    const std::size_t Slot = static_cast<std::size_t>(S & DirectoryMask);
    const std::size_t C = Slot >> ChunkShift;
    if (C >= Dir.Chunks.size()) Dir.Chunks.resize(C + 1);
    if (!Dir.Chunks[C]) Dir.Chunks[C] = std::make_unique<TChunk>();
    TChunk& Chunk = *Dir.Chunks[C];
    const std::size_t InChunk = Slot % ChunkSize;
    if (!Chunk.Sections[InChunk]) {
        Chunk.Sections[InChunk] = std::make_unique<void*[]>(FSectionSize);
        Chunk.Made[InChunk / 64] |= std::uint64_t(1) << (InChunk % 64);
    }
    return Chunk.Sections[InChunk].get();
}

void TSparsePointerArray::FreeSection(int S) {
    TDirectory& Dir = *FDirectories[static_cast<std::size_t>(S >> DirectoryShift)];
    const std::size_t Slot = static_cast<std::size_t>(S & DirectoryMask);
    std::unique_ptr<TChunk>& Chunk = Dir.Chunks[Slot >> ChunkShift];
    const std::size_t InChunk = Slot % ChunkSize;
    Chunk->Sections[InChunk].reset();
    Chunk->Made[InChunk / 64] &= ~(std::uint64_t(1) << (InChunk % 64));
    if (std::all_of(std::begin(Chunk->Made), std::end(Chunk->Made), [](std::uint64_t W) { return W == 0; }))
        Chunk.reset();
}

bool TSparsePointerArray::SectionEmpty(int S) const {
    void** Slots = Section(S);
    return std::all_of(Slots, Slots + FSectionSize, [](void* P) { return P == nullptr; });
}

int TSparsePointerArray::NextSection(int S) const {
    for (std::size_t D = static_cast<std::size_t>(S >> DirectoryShift); D < FDirectories.size();
         ++D, S = static_cast<int>(D << DirectoryShift)) {
        if (!FDirectories[D]) continue;
        const TDirectory& Dir = *FDirectories[D];
        std::size_t Word = static_cast<std::size_t>(S & DirectoryMask) / 64;
        if (Word >= Dir.Words()) continue;
        std::uint64_t Bits = Dir.MadeWord(Word) & (~std::uint64_t(0) << (S & 63));
        for (;;) {
            if (Bits)
                return static_cast<int>((D << DirectoryShift) + Word * 64 +
                                        static_cast<std::size_t>(std::countr_zero(Bits)));
            if (++Word >= Dir.Words()) break;
            Bits = Dir.MadeWord(Word);
        }
    }
    return -1;
}

int TSparsePointerArray::PrevSection(int S) const {
    if (S < 0) return -1;
    std::size_t D = static_cast<std::size_t>(S >> DirectoryShift);
    std::size_t Slot = static_cast<std::size_t>(S & DirectoryMask);
    if (D >= FDirectories.size()) {
        D = FDirectories.size();
        if (D == 0) return -1;
        --D;
        Slot = DirectoryMask;
    }
    for (;; Slot = DirectoryMask) {
        if (FDirectories[D]) {
            const TDirectory& Dir = *FDirectories[D];
            if (Dir.Words() > 0) {
                std::size_t Word = std::min(Slot / 64, Dir.Words() - 1);
                std::uint64_t Bits = Dir.MadeWord(Word);
                if (Word == Slot / 64) Bits &= ~std::uint64_t(0) >> (63 - Slot % 64);
                for (;;) {
                    if (Bits)
                        return static_cast<int>((D << DirectoryShift) + Word * 64 + 63 -
                                                static_cast<std::size_t>(std::countl_zero(Bits)));
                    if (Word == 0) break;
                    Bits = Dir.MadeWord(--Word);
                }
            }
        }
        if (D == 0) return -1;
        --D;
    }
}

int TSparsePointerArray::HighestFrom(int Index) const {
    if (Index < 0) return -1;
    const int Top = Index >> FSectionShift;
    for (int S = PrevSection(Top); S >= 0; S = PrevSection(S - 1)) {
        void** Slots = Section(S);
        for (int I = S == Top ? (Index & FIndexMask) : FIndexMask; I >= 0; --I)
            if (Slots[I]) return (S << FSectionShift) + I;
    }
    return -1;
}

int TSparsePointerArray::LowestFrom(int Index) const {
    Index = std::max(Index, 0);
    const int Bottom = Index >> FSectionShift;
    for (int S = NextSection(Bottom); S >= 0; S = NextSection(S + 1)) {
        void** Slots = Section(S);
        for (int I = S == Bottom ? (Index & FIndexMask) : 0; I < FSectionSize; ++I)
            if (Slots[I]) return (S << FSectionShift) + I;
    }
    return -1;
}

void* TSparsePointerArray::ItemAt(int Index) const {
    if (Index == FCachedIndex && Index >= 0) return FCachedItem;
    CheckIndex(Index);
    void** Slots = Section(Index >> FSectionShift);
    void* Item = Slots ? Slots[Index & FIndexMask] : nullptr;
    FCachedIndex = Index;
    FCachedItem = Item;
    return Item;
}

void** TSparsePointerArray::SlotAt(int Index) {
    CheckIndex(Index);
    // One past the last index: a count could not reach beyond it.
    if (Index >= MaxIndexes) ListIndexError(Index);
    void** Slots = MakeSection(Index >> FSectionShift);
    if (Index > FHighBound) FHighBound = Index;
    ClearCache();
    return &Slots[Index & FIndexMask];
}

void TSparsePointerArray::StoreAt(int Index, void* Item) {
    if (!Item && !ItemAt(Index)) return;
    *SlotAt(Index) = Item;
    if (Item) return;
    if (SectionEmpty(Index >> FSectionShift)) FreeSection(Index >> FSectionShift);
    // Only taking the highest item away lowers the bound, to the next one
    // down; the walk passes made sections only.
    if (Index == FHighBound) FHighBound = HighestFrom(Index - 1);
}

void TSparsePointerArray::InsertGap(int Index) {
    CheckIndex(Index);
    ClearCache();
    if (FHighBound < Index) return;
    if (FHighBound >= MaxIndexes - 1) ListIndexError(FHighBound + 1);
    const int First = Index >> FSectionShift;
    const int Last = FSectionSize - 1;
    // From the top section down, so that each section still holds what the
    // one above takes from it: its last slot goes to the next section's
    // first, made here when that section is not there yet.
    for (int S = PrevSection(FHighBound >> FSectionShift); S >= First;
         S = S == First ? -1 : PrevSection(S - 1)) {
        void** Slots = Section(S);
        void* Out = Slots[Last];
        if (Out && !Section(S + 1)) MakeSection(S + 1)[0] = Out;
        const int From = S == First ? (Index & FIndexMask) : 0;
        std::memmove(&Slots[From + 1], &Slots[From], sizeof(void*) * static_cast<std::size_t>(Last - From));
        void* In = nullptr;
        if (S != First)
            if (void** Below = Section(S - 1)) In = Below[Last];
        Slots[From] = In;
        // Only a section that gave an item and took none can have emptied.
        if (Out && !In && SectionEmpty(S)) FreeSection(S);
    }
    ++FHighBound;
}

void TSparsePointerArray::RemoveSlot(int Index) {
    CheckIndex(Index);
    ClearCache();
    if (FHighBound < Index) return;
    const int First = Index >> FSectionShift;
    const int Last = FSectionSize - 1;
    // From the bottom section up: each section's first slot goes to the
    // last slot of the section below (made here when it is not there),
    // before the section shifts.
    for (int S = NextSection(First); S >= 0; S = NextSection(S + 1)) {
        void** Slots = Section(S);
        const int From = S == First ? (Index & FIndexMask) : 0;
        // What leaves: the dropped item in the first section, else the
        // first slot, which goes to the section below.
        void* Out = Slots[From];
        if (S > First && Out && !Section(S - 1)) MakeSection(S - 1)[Last] = Out;
        std::memmove(&Slots[From], &Slots[From + 1], sizeof(void*) * static_cast<std::size_t>(Last - From));
        void** Above = Section(S + 1);
        void* In = Above ? Above[0] : nullptr;
        Slots[Last] = In;
        if (Out && !In && SectionEmpty(S)) FreeSection(S);
    }
    FHighBound = FHighBound > Index ? FHighBound - 1 : HighestFrom(Index - 1);
}

int TSparsePointerArray::VisitItems(const TSPAApply& Apply) const {
    for (int S = NextSection(0); S >= 0; S = NextSection(S + 1)) {
        void** Slots = Section(S);
        for (int Slot = 0; Slot < FSectionSize; ++Slot) {
            void* Item = Slots[Slot];
            if (!Item) continue;
            const int Result = Apply((S << FSectionShift) + Slot, Item);
            if (Result != 0) return Result;
        }
    }
    return 0;
}

int TSparsePointerArray::SectionCount() const {
    int N = 0;
    for (const auto& Dir : FDirectories)
        if (Dir)
            for (const auto& Chunk : Dir->Chunks)
                if (Chunk)
                    for (std::uint64_t Bits : Chunk->Made)
                        N += std::popcount(Bits);
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
    if (Index >= FList->IndexLimit()) ListIndexError(Index);
    // Reaching past the addressable end fails before anything moves.
    if (Index < FCount && FCount >= FList->IndexLimit()) ListIndexError(FCount);
    FList->InsertGap(Index);
    FList->StoreAt(Index, Item);
    if (FCount < Index) FCount = Index;
    ++FCount;
}

void TSparseList::DeleteAt(int Index) {
    if (Index < 0 || Index >= FCount) return;
    FList->RemoveSlot(Index);
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

TStringSparseList::TStringSparseList(TSPAQuantum Quantum)
    : FTexts(SectionShiftOf(Quantum)), FQuantum(Quantum) {}

TStringSparseList::~TStringSparseList() = default;

void TStringSparseList::CheckIndex(int Index) const {
    if (Index < 0) ListIndexError(Index);
}

void TStringSparseList::CheckStore(int Index) const {
    if (Index < 0 || Index >= TSparsePointerArray::MaxIndexes) ListIndexError(Index);
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
    CheckStore(Index);
    // An item stays while it has text or an object; the object is kept.
    FTexts.Store(Index, !S.empty() || GetObject(Index), S);
    FCount = HighBound() + 1;
    Changed();
}

void TStringSparseList::PutObject(int Index, TObject* AObject) {
    CheckStore(Index);
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
    CheckStore(Index);
    // Moving the last addressable item further up fails before anything moves.
    if (Index < FCount && FCount >= TSparsePointerArray::MaxIndexes) ListIndexError(FCount);
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
    CheckStore(Index1);
    CheckStore(Index2);
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
    FTexts.VisitItems([&Items](int Index, std::string_view Text) { Items.push_back({Index, AnsiString(Text)}); });
    return Items;
}

void TStringSparseList::LoadStoredItems(const std::vector<TStoredItem>& Items) {
    for (const TStoredItem& Item : Items)
        Insert(Item.Index, Item.Text);
}

// Each item inserted at its index in turn, as if by Insert, but without
// moving the items already placed once for every later one that goes
// below them: into an empty list, where each ends up is worked out first.
void TStringSparseList::InsertStoredItems(const std::vector<TStoredItem>& Items) {
    std::size_t Valid = 0;
    while (Valid < Items.size() && Items[Valid].Index >= 0 &&
           Items[Valid].Index < TSparsePointerArray::MaxIndexes)
        ++Valid;
    std::vector<std::int64_t> Final;
    if (FCount == 0 && HighBound() < 0 && !FObjects) {
        std::vector<int> Indexes;
        Indexes.reserve(Valid);
        for (std::size_t I = 0; I < Valid; ++I)
            Indexes.push_back(Items[I].Index);
        Final = PlacesAfterInserts(Indexes);
        // One that would pass the end goes one by one, to fail where Insert does.
        if (std::any_of(Final.begin(), Final.end(), [](std::int64_t Place) {
                return Place >= TSparsePointerArray::MaxIndexes;
            }))
            Final.clear();
    }
    if (Final.empty()) {
        for (const TStoredItem& Item : Items)
            Insert(Item.Index, Item.Text);
        return;
    }
    for (std::size_t I = 0; I < Valid; ++I) {
        const int Place = static_cast<int>(Final[I]);
        FTexts.Store(Place, true, Items[I].Text);
        FCount = std::max(FCount, Place + 1);
    }
    for (std::size_t I = 0; I < Valid; ++I)
        Changed();
    // The first bad index raises as its Insert would.
    for (std::size_t I = Valid; I < Items.size(); ++I)
        Insert(Items[I].Index, Items[I].Text);
}

void TStringSparseList::DefineProperties(TFiler* Filer) {
    TStrings::DefineProperties(Filer);
    Filer->DefineProperty(
        "List",
        [this](TReader* Reader) {
            // Nothing is made ahead for the count: a count the stream can't
            // back runs out of bytes at the first missing item.
            const std::int64_t Count = Reader->ReadInt64();
            if (Count < 0 || Count > INT_MAX)
                throw EReadError("Invalid property value: List holds " + std::to_string(Count) +
                                 " items");
            // Read whole, then inserted; what was read before a damaged
            // item is inserted all the same.
            std::vector<TStoredItem> Items;
            try {
                for (std::int64_t I = 0; I < Count; ++I) {
                    const int Index = Reader->ReadInteger();
                    Items.push_back({Index, Reader->ReadString()});
                }
            } catch (...) {
                InsertStoredItems(Items);
                throw;
            }
            InsertStoredItems(Items);
        },
        [this](TWriter* Writer) {
            const std::vector<TStoredItem> Items = StoredItems();
            Writer->WriteInteger(static_cast<std::int32_t>(Items.size()));
            for (const TStoredItem& Item : Items) {
                Writer->WriteInteger(Item.Index);
                Writer->WriteString(Item.Text);
            }
        },
        true);
}

} // namespace grid
