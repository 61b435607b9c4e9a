#include "grid/foundation/CellStore.h"

#include "grid/foundation/CellStoreBitmaps.h"
#include "platform/gui/Graphics.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <stdexcept>
#include <string>
#include <utility>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#endif

namespace grid {

namespace {

// Row blocks come from the store's own chunks, which the sanitizer sees as
// one allocation each: the parts of a chunk not handed out as a block are
// marked unusable, so that running past a row's end is still caught.
#if defined(__SANITIZE_ADDRESS__)
void Poison(const void* Start, std::size_t Bytes) {
    ASAN_POISON_MEMORY_REGION(Start, Bytes);
}
void Unpoison(const void* Start, std::size_t Bytes) {
    ASAN_UNPOISON_MEMORY_REGION(Start, Bytes);
}
#else
void Poison(const void*, std::size_t) {}
void Unpoison(const void*, std::size_t) {}
#endif

bool IsText(TgxValueType Type) {
    return Type == vtpString || Type == vtpPictureName;
}

TBitmap* BitmapOf(std::uint64_t Slot) {
    return reinterpret_cast<TBitmap*>(static_cast<std::uintptr_t>(Slot));
}

std::uint64_t SlotOf(TBitmap* Bitmap) {
    return reinterpret_cast<std::uintptr_t>(Bitmap);
}

std::uint32_t TextStart(std::uint64_t Slot) {
    return static_cast<std::uint32_t>(Slot);
}

std::uint32_t TextLength(std::uint64_t Slot) {
    return static_cast<std::uint32_t>(Slot >> 32);
}

std::uint64_t TextSlot(std::uint32_t Start, std::size_t Length) {
    return Start | (static_cast<std::uint64_t>(Length) << 32);
}

// A row's text area is addressed by 32-bit offsets.
constexpr std::size_t TextLimit = 0xFFFFFFF0u;

// Sizes asked for as "expected plus one" or "wanted plus ten" stay within
// what a vector index can address.
std::int32_t Grown(std::int64_t Size) {
    return static_cast<std::int32_t>(std::min<std::int64_t>(Size, INT32_MAX));
}

// The first and last sizeof(TWord) bytes of N (between one and two words),
// which between them cover all N.
template <class TWord> void CopyEnds(char* To, const char* From, std::size_t N) {
    TWord Head, Tail;
    std::memcpy(&Head, From, sizeof Head);
    std::memcpy(&Tail, From + N - sizeof Tail, sizeof Tail);
    std::memcpy(To, &Head, sizeof Head);
    std::memcpy(To + N - sizeof Tail, &Tail, sizeof Tail);
}

// Cell texts are mostly a few words: up to 16 bytes they are copied in two
// overlapping moves of fixed size, without a call into the library.
void CopyText(char* To, std::string_view Text) {
    const char* From = Text.data();
    const std::size_t N = Text.size();
    if (N > 16)
        std::memcpy(To, From, N);
    else if (N >= 8)
        CopyEnds<std::uint64_t>(To, From, N);
    else if (N >= 4)
        CopyEnds<std::uint32_t>(To, From, N);
    else
        for (std::size_t I = 0; I < N; ++I)
            To[I] = From[I];
}

} // namespace

// ---- row blocks ------------------------------------------------------------

void* Tgx2DStorage::AllocateBlock(std::size_t Bytes) {
    if (Bytes > ArenaMax) {
        void* Block = std::malloc(Bytes);
        if (!Block) throw std::bad_alloc();
        ++FLargeBlocks;
        return Block;
    }
    const std::size_t Size = (Bytes + ArenaStep - 1) & ~(ArenaStep - 1);
    void*& Free = FArena.FreeBlocks[Size / ArenaStep - 1];
    if (Free) {
        void* Block = Free;
        Unpoison(Block, Bytes);
        std::memcpy(&Free, Block, sizeof Free); // the next free block of the size
        return Block;
    }
    if (static_cast<std::size_t>(FArena.End - FArena.Next) < Size) {
        FArena.Chunks.reserve(FArena.Chunks.size() + 1);
        void* Chunk = std::malloc(ArenaChunk);
        if (!Chunk) throw std::bad_alloc();
        Poison(Chunk, ArenaChunk);
        FArena.Chunks.push_back(Chunk);
        FArena.Next = static_cast<char*>(Chunk);
        FArena.End = FArena.Next + ArenaChunk;
    }
    void* Block = FArena.Next;
    FArena.Next += Size;
    Unpoison(Block, Bytes);
    return Block;
}

void Tgx2DStorage::ReleaseBlock(TRowHead* R) {
    const std::size_t Bytes = BlockSize(R->Capacity, R->TextRoom);
    if (Bytes > ArenaMax) {
        std::free(R);
        --FLargeBlocks;
        return;
    }
    const std::size_t Size = (Bytes + ArenaStep - 1) & ~(ArenaStep - 1);
    void*& Free = FArena.FreeBlocks[Size / ArenaStep - 1];
    std::memcpy(static_cast<void*>(R), &Free, sizeof Free);
    Free = R;
    // The link to the next free block is read only by AllocateBlock, which
    // makes the block usable first.
    Poison(R, Size);
}

void Tgx2DStorage::ReleaseArena() {
    for (void* Chunk : FArena.Chunks) {
        Unpoison(Chunk, ArenaChunk);
        std::free(Chunk);
    }
    FArena = TArena();
}

Tgx2DStorage::TRowHead* Tgx2DStorage::NewRow(std::int32_t Capacity, std::uint32_t TextRoom) {
    auto* R = static_cast<TRowHead*>(AllocateBlock(BlockSize(Capacity, TextRoom)));
    R->ColCount = 0;
    R->Capacity = Capacity;
    R->TextUsed = 0;
    R->TextRoom = TextRoom;
    // vtpNone is 0, and so is an empty slot.
    std::memset(R + 1, 0, TypeBytes(Capacity) + sizeof(std::uint64_t) * Capacity);
    return R;
}

void Tgx2DStorage::Reallocate(TRowHead*& R, std::int32_t NewCapacity) {
    TRowHead* New = NewRow(NewCapacity, R->TextUsed);
    const auto Kept = static_cast<std::size_t>(std::min(R->Capacity, NewCapacity));
    std::memcpy(Types(New), Types(R), Kept);
    std::memcpy(Slots(New), Slots(R), Kept * sizeof(std::uint64_t));
    // Offsets stay as they are: the text area moves whole.
    if (R->TextUsed) std::memcpy(TextArea(New), TextArea(R), R->TextUsed);
    New->ColCount = std::min(R->ColCount, NewCapacity);
    New->TextUsed = R->TextUsed;
    ReleaseBlock(R);
    R = New;
}

void Tgx2DStorage::GrowTexts(TRowHead*& R, std::size_t Extra) {
    std::size_t Live = 0;
    const TgxValueType* T = Types(R);
    const std::uint64_t* S = Slots(R);
    for (std::int32_t I = 0; I < R->ColCount; ++I)
        if (IsText(T[I])) Live += TextLength(S[I]);
    const std::size_t Need = Live + Extra;
    if (Need > TextLimit)
        throw std::length_error("A grid row cannot hold " + std::to_string(Need) +
                                " bytes of text");
    std::size_t Room = R->TextRoom;
    if (Need > Room) {
        // Geometric, so a row filled text by text is copied a few times
        // only; a small step keeps the slack of a short row small.
        Room = std::min(std::max(Need, Room + Room / 8 + 16), TextLimit);
    }
    const std::size_t Bytes = BlockSize(R->Capacity, static_cast<std::uint32_t>(Room));
    if (Live == R->TextUsed) {
        // No holes: the block only needs to be longer.
        if (BlockSize(R->Capacity, R->TextRoom) > ArenaMax) {
            auto* Block = static_cast<TRowHead*>(std::realloc(R, Bytes));
            if (!Block) throw std::bad_alloc();
            R = Block;
        } else {
            auto* Block = static_cast<TRowHead*>(AllocateBlock(Bytes));
            std::memcpy(static_cast<void*>(Block), R, BlockSize(R->Capacity, R->TextUsed));
            ReleaseBlock(R);
            R = Block;
        }
        R->TextRoom = static_cast<std::uint32_t>(Room);
        return;
    }
    TRowHead* New = NewRow(R->Capacity, static_cast<std::uint32_t>(Room));
    New->ColCount = R->ColCount;
    const auto Count = static_cast<std::size_t>(R->Capacity);
    std::memcpy(Types(New), Types(R), Count);
    std::memcpy(Slots(New), Slots(R), Count * sizeof(std::uint64_t));
    // The texts are packed again in column order.
    std::uint32_t Used = 0;
    std::uint64_t* NS = Slots(New);
    for (std::int32_t I = 0; I < R->ColCount; ++I) {
        if (!IsText(T[I])) continue;
        const std::string_view Text = TextOf(R, static_cast<std::size_t>(I));
        if (!Text.empty()) std::memcpy(TextArea(New) + Used, Text.data(), Text.size());
        NS[I] = TextSlot(Used, Text.size());
        Used += static_cast<std::uint32_t>(Text.size());
    }
    New->TextUsed = Used;
    ReleaseBlock(R);
    R = New;
}

void Tgx2DStorage::StoreText(TRowHead*& R, std::size_t Index, std::string_view Text) {
    std::uint64_t& Old = Slots(R)[Index];
    if (IsText(Types(R)[Index]) && Text.size() <= TextLength(Old)) {
        // It fits where the old text was.
        if (!Text.empty()) std::memmove(TextArea(R) + TextStart(Old), Text.data(), Text.size());
        Old = TextSlot(TextStart(Old), Text.size());
        return;
    }
    // The old text becomes a hole, left out when the area grows; a text
    // too long for the row leaves the cell as it was.
    const std::uint64_t Was = Old;
    Old = 0;
    if (R->TextRoom - R->TextUsed < Text.size()) {
        try {
            GrowTexts(R, Text.size());
        } catch (...) {
            Slots(R)[Index] = Was;
            throw;
        }
    }
    const std::uint32_t Start = R->TextUsed;
    CopyText(TextArea(R) + Start, Text);
    R->TextUsed = Start + static_cast<std::uint32_t>(Text.size());
    Slots(R)[Index] = TextSlot(Start, Text.size());
}

void Tgx2DStorage::ReleaseRowPictures(const TRowHead* R) {
    const TgxValueType* T = Types(R);
    if (!std::memchr(T, static_cast<int>(vtpPicture), static_cast<std::size_t>(R->ColCount)))
        return;
    const std::uint64_t* S = Slots(R);
    for (std::int32_t I = 0; I < R->ColCount; ++I)
        if (T[I] == vtpPicture) UpdateSharedBitmapRef(BitmapOf(S[I]), true);
}

// ---- the row table ---------------------------------------------------------

Tgx2DStorage::Tgx2DStorage(std::int32_t AColAllocSize, std::int32_t ARowAllocSize)
    : FColAllocSize(AColAllocSize), FRowAllocSize(ARowAllocSize) {}

Tgx2DStorage::~Tgx2DStorage() {
    Clear(0, true);
    ReleaseArena();
}

Tgx2DStorage::TPage* Tgx2DStorage::FindPage(std::int32_t PageNo) const {
    const auto Found = FPages.find(PageNo);
    if (Found == FPages.end()) return nullptr;
    FFoundPageNo = PageNo;
    FFoundPage = const_cast<TPage*>(&Found->second);
    return FFoundPage;
}

Tgx2DStorage::TRowHead*& Tgx2DStorage::NewPageSlot(std::int32_t Row) {
    const std::int32_t PageNo = Row >> PageBits;
    // Rows are mostly added at the end: hint the map there.
    TPage* Page = &FPages.try_emplace(FPages.end(), PageNo)->second;
    FFoundPageNo = PageNo;
    FFoundPage = Page;
    return Page->Rows[Row & (PageSize - 1)];
}

void Tgx2DStorage::DropRow(std::int32_t Row) {
    const std::int32_t PageNo = Row >> PageBits;
    TPage* Page = PageAt(PageNo);
    if (!Page) return;
    TRowHead*& R = Page->Rows[Row & (PageSize - 1)];
    if (!R) return;
    ReleaseBlock(R);
    R = nullptr;
    if (--FRowsHeld == 0) ReleaseArena();
    if (--Page->Held == 0) {
        FFoundPageNo = -1;
        FFoundPage = nullptr;
        FPages.erase(PageNo);
    }
}

std::int32_t Tgx2DStorage::NextHeld(std::int32_t From) const {
    From = std::max(From, 0);
    const std::int32_t FromPage = From >> PageBits;
    for (auto Entry = FPages.lower_bound(FromPage); Entry != FPages.end(); ++Entry) {
        const std::int32_t First = Entry->first == FromPage ? From & (PageSize - 1) : 0;
        for (std::int32_t I = First; I < PageSize; ++I)
            if (Entry->second.Rows[I]) return (Entry->first << PageBits) | I;
    }
    return -1;
}

std::int32_t Tgx2DStorage::ColCount(std::int32_t Row) const {
    const TRowHead* R = RowAt(Row);
    return R ? R->ColCount : 0;
}

std::int32_t Tgx2DStorage::ColCapacity(std::int32_t Row) const {
    const TRowHead* R = RowAt(Row);
    return R ? R->Capacity : 0;
}

void Tgx2DStorage::CellOutOfRange(std::int32_t Col, std::int32_t Row) {
    throw ERangeError(Format("Cell column %d, row %d out of range", Col, Row));
}

// ---- reading cells ---------------------------------------------------------

Variant Tgx2DStorage::GetValue(std::int32_t Col, std::int32_t Row) const {
    const TRowHead* R = RowAt(Row);
    if (!R || Col < 1 || Col > R->ColCount) return Unassigned();
    const auto Index = static_cast<std::size_t>(Col - 1);
    const std::uint64_t Slot = Slots(R)[Index];
    switch (Types(R)[Index]) {
    case vtpString:
    case vtpPictureName: {
        const std::string_view Text = TextOf(R, Index);
        return Variant(AnsiString(Text.data(), Text.size()));
    }
    case vtpInteger:
        return Variant(static_cast<int>(Slot));
    case vtpPicture:
        return VarFromObject(BitmapOf(Slot));
    case vtpNull:
        return Null();
    default:
        return Unassigned();
    }
}

TgxValueType Tgx2DStorage::GetValueType(std::int32_t Col, std::int32_t Row) const {
    const TRowHead* R = RowAt(Row);
    if (!R || Col < 1 || Col > R->ColCount) return vtpNone;
    return Types(R)[static_cast<std::size_t>(Col - 1)];
}

std::int32_t Tgx2DStorage::MaxRowSet() const {
    // Every row held has cells; the backup row does not count.
    if (FPages.empty()) return 0;
    const auto& [PageNo, Page] = *FPages.rbegin();
    for (std::int32_t I = PageSize - 1; I >= 0; --I)
        if (Page.Rows[I]) return std::max((PageNo << PageBits) | I, 0);
    return 0;
}

std::int32_t Tgx2DStorage::MaxColValueSet(std::int32_t Row) const {
    const TRowHead* R = RowAt(Row);
    if (!R) return 0;
    const TgxValueType* T = Types(R);
    for (std::int32_t Col = R->ColCount; Col >= 1; --Col)
        if (T[Col - 1] != vtpNone) return Col;
    return 0;
}

// ---- writing cells ---------------------------------------------------------

void Tgx2DStorage::SetValue(std::int32_t Col, std::int32_t Row, TgxValueType Type,
                            const Variant& Value) {
    TRowHead* R = RowAt(Row);
    TgxValueType Current = R && Col >= 1 && Col <= R->ColCount ? Types(R)[Col - 1] : vtpNone;
    if (Value.IsEmpty() && Current == vtpNone) return;
    if (static_cast<std::uint8_t>(Type) > static_cast<std::uint8_t>(vtpNull))
        throw ERangeError(Format("Cell value type %d out of range", static_cast<int>(Type)));
    // A string converts without fail, so its text is had before the row is
    // made, and a new row is made with room for it.
    if (IsText(Type) && Value.Type() == varString) {
        SetText(Col, Row, Type, Value.StringView());
        return;
    }
    CheckCell(Col, Row);
    if (Row >= FAllocRows) CheckCreateRow(Row);
    if (!R || Col > R->ColCount) CheckCreateCol(Col, Row, 0);
    const auto Index = static_cast<std::size_t>(Col - 1);

    TgxValueType NewType = Type;
    if (Value.IsEmpty()) {
        ClearValue(Col, Row);
        NewType = vtpNone;
    } else {
        switch (Type) {
        case vtpString:
        case vtpPictureName: {
            if (!IsText(Current) && Current != vtpNone) ClearValue(Col, Row);
            StoreText(RowSlot(Row), Index, Value.AsString());
            break;
        }
        case vtpInteger: {
            if (Current != vtpNone && Current != vtpInteger) ClearValue(Col, Row);
            const int Number = Value.AsInteger();
            Slots(RowAt(Row))[Index] = static_cast<std::uint64_t>(static_cast<std::int64_t>(Number));
            break;
        }
        case vtpPicture: {
            if (Current != vtpNone && Current != vtpPicture) {
                ClearValue(Col, Row);
                Current = vtpNone;
            }
            TObject* Object = VarToObject(Value);
            auto* Bitmap = dynamic_cast<TBitmap*>(Object);
            if (Object && !Bitmap)
                throw EVariantTypeCastError("Could not convert variant of type (" +
                                            Object->ClassName() + ") into type (TBitmap)");
            SetBitmapValue(Col, Row, Bitmap, Current);
            break;
        }
        default: // vtpNone, vtpNull
            ClearValue(Col, Row);
            break;
        }
    }
    Types(RowAt(Row))[Index] = NewType;
}

void Tgx2DStorage::SetText(std::int32_t Col, std::int32_t Row, TgxValueType Type,
                           std::string_view Text) {
    CheckCell(Col, Row);
    TRowHead* R = RowAt(Row);
    TRowHead*& Held = R ? RowSlot(Row) : NewHeldRow(Col, Row, Text.size());
    if (Col > Held->ColCount) CheckCreateCol(Col, Row, Text.size());
    const auto Index = static_cast<std::size_t>(Col - 1);
    const TgxValueType Current = Types(Held)[Index];
    if (!IsText(Current) && Current != vtpNone) ClearValue(Col, Row);
    StoreText(Held, Index, Text);
    Types(Held)[Index] = Type;
}

void Tgx2DStorage::SetBitmapValue(std::int32_t Col, std::int32_t Row, TBitmap* Bitmap,
                                  TgxValueType CurrentType) {
    CheckCell(Col, Row);
    CheckCreateRow(Row);
    CheckCreateCol(Col, Row);
    TRowHead* R = RowAt(Row);
    const auto Index = static_cast<std::size_t>(Col - 1);
    const bool Same = Types(R)[Index] == vtpPicture && BitmapOf(Slots(R)[Index]) == Bitmap;
    if (CurrentType == vtpPicture && Same) return;
    // Whatever the cell held goes first, so no text or count is left behind.
    if (Types(R)[Index] != vtpNone) ClearValue(Col, Row);
    Slots(R)[Index] = SlotOf(Bitmap);
    Types(R)[Index] = vtpPicture;
    FHeldPicture = true;
    UpdateSharedBitmapRef(Bitmap, false);
}

void Tgx2DStorage::ClearValue(std::int32_t Col, std::int32_t Row) {
    TRowHead* R = RowAt(Row);
    if (!R || Col < 1 || Col > R->ColCount) return;
    const auto Index = static_cast<std::size_t>(Col - 1);
    const std::uint64_t Slot = Slots(R)[Index];
    const TgxValueType Type = Types(R)[Index];
    // A text's bytes stay behind as a hole until the text area next grows.
    Slots(R)[Index] = 0;
    Types(R)[Index] = vtpNone;
    if (Type == vtpPicture) UpdateSharedBitmapRef(BitmapOf(Slot), true);
}

void Tgx2DStorage::ClearRow(std::int32_t Row, std::int32_t NewColCount) {
    TRowHead* R = RowAt(Row);
    if (!R) return;
    for (std::int32_t Col = 1; Col <= R->ColCount; ++Col)
        ClearValue(Col, Row);
    if (NewColCount >= 0) ResizeRowCols(Row, NewColCount);
}

void Tgx2DStorage::ClearCol(std::int32_t Col) {
    if (Col < 1) return;
    for (std::int32_t Row = NextHeld(1); Row >= 0; Row = NextHeld(Row + 1))
        if (RowAt(Row)->ColCount >= Col) ClearValue(Col, Row);
}

void Tgx2DStorage::Clear(std::int32_t FirstRow, bool Resize) {
    // The backup row belongs to the rows it was copied from.
    if (FirstRow <= 1) FirstRow = 0;
    ClearRowsFrom(FirstRow);
    if (Resize && FirstRow == 0) FAllocRows = 0;
}

void Tgx2DStorage::ClearRowsFrom(std::int32_t FirstRow) {
    // The rows go whole, with their texts; only the pictures they hold are
    // shared with others, and give back their references first, in order.
    FirstRow = std::max(FirstRow, 0);
    const std::int32_t FirstPage = FirstRow >> PageBits;
    const auto First = FPages.lower_bound(FirstPage);
    if (First == FPages.end()) return;
    if (FHeldPicture) {
        for (auto Entry = First; Entry != FPages.end(); ++Entry) {
            const std::int32_t From = Entry->first == FirstPage ? FirstRow & (PageSize - 1) : 0;
            for (std::int32_t I = From; I < PageSize; ++I)
                if (const TRowHead* R = Entry->second.Rows[I]) ReleaseRowPictures(R);
        }
    }
    FFoundPageNo = -1;
    FFoundPage = nullptr;
    // When every row goes the chunks go whole, so only the large blocks
    // are given back one by one.
    const bool All = FirstRow == 0;
    if (All && FLargeBlocks == 0) {
        FPages.clear();
        FRowsHeld = 0;
        ReleaseArena();
        return;
    }
    const auto Drop = [this, All](TRowHead* R) {
        if (!All) {
            ReleaseBlock(R);
        } else if (BlockSize(R->Capacity, R->TextRoom) > ArenaMax) {
            std::free(R);
            --FLargeBlocks;
        }
    };
    auto Whole = First;
    if (First->first == FirstPage) {
        // The page the first row is on keeps the rows before it.
        TPage& Page = First->second;
        for (std::int32_t I = FirstRow & (PageSize - 1); I < PageSize; ++I) {
            if (!Page.Rows[I]) continue;
            Drop(Page.Rows[I]);
            Page.Rows[I] = nullptr;
            --Page.Held;
            --FRowsHeld;
        }
        ++Whole;
        if (Page.Held == 0) FPages.erase(First);
    }
    for (auto Entry = Whole; Entry != FPages.end(); ++Entry) {
        for (TRowHead* R : Entry->second.Rows)
            if (R) Drop(R);
        FRowsHeld -= Entry->second.Held;
    }
    FPages.erase(Whole, FPages.end());
    if (FRowsHeld == 0) ReleaseArena();
}

// ---- allocation ------------------------------------------------------------

void Tgx2DStorage::CheckCreateRow(std::int32_t Row) {
    if (Row < AllocRows()) return;
    if (Row < static_cast<std::int64_t>(FRowAllocSize) + 1)
        ResizeRows(Grown(static_cast<std::int64_t>(FRowAllocSize) + 1));
    else
        ResizeRows(Grown(static_cast<std::int64_t>(Row) + 10));
}

void Tgx2DStorage::CheckCreateCol(std::int32_t Col, std::int32_t Row) {
    CheckCreateCol(Col, Row, 0);
}

void Tgx2DStorage::CheckCreateCol(std::int32_t Col, std::int32_t Row, std::size_t TextHint) {
    TRowHead* R = RowAt(Row);
    if (R && Col <= R->ColCount) return;
    if (R && Col <= R->Capacity)
        R->ColCount = Col;
    else if (Col < FColAllocSize)
        ResizeRowCols(Row, FColAllocSize, TextHint);
    else
        ResizeRowCols(Row, Grown(static_cast<std::int64_t>(Col) + 10), TextHint);
}

Tgx2DStorage::TRowHead*& Tgx2DStorage::NewHeldRow(std::int32_t Col, std::int32_t Row,
                                                   std::size_t TextHint) {
    // As CheckCreateRow and CheckCreateCol would make it, looked up once.
    if (Row >= FAllocRows) CheckCreateRow(Row);
    const std::int32_t Capacity =
        Col < FColAllocSize ? FColAllocSize : Grown(static_cast<std::int64_t>(Col) + 10);
    TRowHead*& Entry = RowSlot(Row);
    const std::size_t Room = TextHint ? std::max<std::size_t>(TextHint, 16) : 0;
    Entry = NewRow(Capacity, static_cast<std::uint32_t>(std::min(Room, TextLimit)));
    ++PageAt(Row >> PageBits)->Held;
    ++FRowsHeld;
    Entry->ColCount = Capacity;
    return Entry;
}

void Tgx2DStorage::ResizeRows(std::int32_t NewCount) {
    if (NewCount < 0) throw ERangeError(Format("Row count %d out of range", NewCount));
    // Rows dropped here must give back their texts and bitmap counts even
    // when the caller did not clear them. Every held row lies below
    // AllocRows, so growing drops none.
    if (NewCount < FAllocRows) ClearRowsFrom(NewCount);
    FAllocRows = NewCount;
}

void Tgx2DStorage::ResizeRowCols(std::int32_t Row, std::int32_t NewCount) {
    ResizeRowCols(Row, NewCount, 0);
}

void Tgx2DStorage::ResizeRowCols(std::int32_t Row, std::int32_t NewCount, std::size_t TextHint) {
    if (Row < 0 || Row >= AllocRows()) throw ERangeError(Format("Row %d out of range", Row));
    if (NewCount < 0) throw ERangeError(Format("Column count %d out of range", NewCount));
    if (TRowHead* Held = RowAt(Row)) {
        for (std::int32_t Col = NewCount + 1; Col <= Held->ColCount; ++Col)
            ClearValue(Col, Row);
    }
    if (NewCount == 0) {
        DropRow(Row);
        return;
    }
    TRowHead*& Entry = RowSlot(Row);
    if (!Entry) {
        // A new row's first text gets the room its first growth would give,
        // so a row of short texts is not copied while it is filled.
        const std::size_t Room = TextHint ? std::max<std::size_t>(TextHint, 16) : 0;
        Entry = NewRow(NewCount, static_cast<std::uint32_t>(std::min(Room, TextLimit)));
        ++PageAt(Row >> PageBits)->Held;
        ++FRowsHeld;
    } else if (NewCount != Entry->Capacity) {
        // Slots past the column count are empty already, so growing leaves
        // everything from the old column count on empty.
        Reallocate(Entry, NewCount);
    }
    Entry->ColCount = NewCount;
}

// ---- rows and columns ------------------------------------------------------

void Tgx2DStorage::DeleteRows(std::int32_t First, std::int32_t Last) {
    if (First > Last || First >= AllocRows()) return;
    if (First < 0) throw ERangeError(Format("Row %d out of range", First));
    Last = std::min(Last, AllocRows() - 1);
    // Only the held rows need clearing.
    for (std::int32_t Row = NextHeld(First); Row >= 0 && Row <= Last; Row = NextHeld(Row + 1))
        ClearRow(Row, 0); // drops the row
    // The rows after the deleted ones move down, in order: each lands below
    // the rows still to move, so no two meet.
    const std::int32_t Removed = Last - First + 1;
    std::vector<std::pair<std::int32_t, TRowHead*>> Moving;
    for (std::int32_t Row = NextHeld(Last + 1); Row >= 0; Row = NextHeld(Row + 1))
        Moving.emplace_back(Row, RowAt(Row));
    for (const auto& [Row, R] : Moving) {
        TPage* From = PageAt(Row >> PageBits);
        From->Rows[Row & (PageSize - 1)] = nullptr;
        if (--From->Held == 0) {
            FFoundPageNo = -1;
            FFoundPage = nullptr;
            FPages.erase(Row >> PageBits);
        }
        TRowHead*& To = RowSlot(Row - Removed);
        To = R;
        ++PageAt((Row - Removed) >> PageBits)->Held;
    }
    FAllocRows -= Removed;
}

void Tgx2DStorage::DeleteCols(std::int32_t First, std::int32_t Last) {
    if (First > Last) return;
    if (First < 1) throw ERangeError(Format("Column %d out of range", First));
    for (std::int32_t Row = NextHeld(0); Row >= 0; Row = NextHeld(Row + 1)) {
        TRowHead* R = RowAt(Row);
        if (R->ColCount < First) continue;
        const std::int32_t L = std::min(Last, R->ColCount);
        for (std::int32_t Col = First; Col <= L; ++Col)
            ClearValue(Col, Row);
        const std::int32_t Removed = L - First + 1;
        const auto From = static_cast<std::ptrdiff_t>(L);
        const auto To = static_cast<std::ptrdiff_t>(First - 1);
        const auto End = static_cast<std::ptrdiff_t>(R->ColCount);
        // A text's slot says where it lies in the text area, so it moves
        // with its cell like any other value.
        std::copy(Slots(R) + From, Slots(R) + End, Slots(R) + To);
        std::copy(Types(R) + From, Types(R) + End, Types(R) + To);
        R->ColCount -= Removed;
        // The moved slots now live below the new count; the tail holds only
        // stale copies of them, which must not be released.
        const auto Tail = static_cast<std::ptrdiff_t>(R->ColCount);
        std::fill(Slots(R) + Tail, Slots(R) + End, 0);
        std::fill(Types(R) + Tail, Types(R) + End, vtpNone);
        if (R->ColCount == 0)
            DropRow(Row);
        else if (R->Capacity - R->ColCount >= 8) {
            // A few spare slots are kept, more are given back.
            TRowHead*& Entry = RowSlot(Row);
            const std::int32_t Count = Entry->ColCount;
            Reallocate(Entry, Count);
        }
    }
}

void Tgx2DStorage::CopyRow(std::int32_t From, std::int32_t To) {
    if (To < 0 || To >= AllocRows()) return;
    if (!RowAt(From)) {
        ClearRow(To, 0);
        return;
    }
    const std::int32_t Count = ColCount(From);
    for (std::int32_t Col = 1; Col <= Count; ++Col)
        SetValue(Col, To, GetValueType(Col, From), GetValue(Col, From));
    for (std::int32_t Col = Count + 1; Col <= ColCount(To); ++Col)
        ClearValue(Col, To);
}

void Tgx2DStorage::BackupRow(std::int32_t Row) {
    CopyRow(Row, 0);
}

void Tgx2DStorage::RestoreBackupRow(std::int32_t Row) {
    CopyRow(0, Row);
    ClearBackupRow();
}

void Tgx2DStorage::ClearBackupRow() {
    ClearRow(0, 0);
}

void Tgx2DStorage::Assign(const Tgx2DStorage* Source) {
    // Assigning a store to itself would clear the rows it is copying.
    if (!Source || Source == this) return;
    FDesignMode = Source->DesignMode();
    const std::int32_t MaxRow = Source->MaxRowSet();
    if (MaxRow > 0) {
        Clear(MaxRow + 1, false);
        ResizeRows(Grown(
            std::max<std::int64_t>(static_cast<std::int64_t>(FRowAllocSize) + 1, MaxRow + 1)));
    } else {
        Clear(0, true);
    }
    // Only rows that hold cells on either side need work; the others are
    // empty on both.
    for (std::int32_t Row = NextHeld(1); Row >= 0; Row = NextHeld(Row + 1))
        if (!Source->RowAt(Row)) ClearRow(Row, 0);
    for (std::int32_t Row = Source->NextHeld(1); Row >= 0; Row = Source->NextHeld(Row + 1)) {
        const std::int32_t Count = Source->MaxColValueSet(Row);
        ClearRow(Row, Count > 0 ? std::max(Count, FColAllocSize) : 0);
        // The widest column first, so the row is sized once.
        for (std::int32_t Col = Count; Col >= 1; --Col)
            SetValue(Col, Row, Source->GetValueType(Col, Row), Source->GetValue(Col, Row));
    }
}

} // namespace grid
