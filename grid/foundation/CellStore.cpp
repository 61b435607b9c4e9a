#include "grid/foundation/CellStore.h"

#include "grid/foundation/CellStoreBitmaps.h"
#include "platform/gui/Graphics.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"

#include <algorithm>
#include <utility>

namespace grid {

namespace {

bool IsText(TgxValueType Type) {
    return Type == vtpString || Type == vtpPictureName;
}

TBitmap* BitmapOf(std::intptr_t Slot) {
    return reinterpret_cast<TBitmap*>(Slot);
}

// Sizes asked for as "expected plus one" or "wanted plus ten" stay within
// what a vector index can address.
std::int32_t Grown(std::int64_t Size) {
    return static_cast<std::int32_t>(std::min<std::int64_t>(Size, INT32_MAX));
}

} // namespace

void Tgx2DStorage::TRow::SetSlot(std::size_t Index, std::intptr_t Value) {
    if (!Values) {
        if (Value == 0) return;
        Values = std::make_unique<std::intptr_t[]>(static_cast<std::size_t>(Capacity));
    }
    Values[Index] = Value;
}

void Tgx2DStorage::TRow::Reallocate(std::int32_t NewCapacity) {
    const auto Size = static_cast<std::size_t>(NewCapacity);
    const auto Kept = static_cast<std::size_t>(std::min(Capacity, NewCapacity));
    auto NewTypes = std::make_unique<TgxValueType[]>(Size); // all vtpNone
    std::copy(Types.get(), Types.get() + Kept, NewTypes.get());
    Types = std::move(NewTypes);
    if (Values) {
        auto NewValues = std::make_unique<std::intptr_t[]>(Size);
        std::copy(Values.get(), Values.get() + Kept, NewValues.get());
        Values = std::move(NewValues);
    }
    Capacity = NewCapacity;
}

Tgx2DStorage::Tgx2DStorage(std::int32_t AColAllocSize, std::int32_t ARowAllocSize)
    : FColAllocSize(AColAllocSize), FRowAllocSize(ARowAllocSize) {}

Tgx2DStorage::~Tgx2DStorage() {
    Clear(0, true);
}

Tgx2DStorage::TRow* Tgx2DStorage::RowAt(std::int32_t Row) {
    return const_cast<TRow*>(std::as_const(*this).RowAt(Row));
}

const Tgx2DStorage::TRow* Tgx2DStorage::RowAt(std::int32_t Row) const {
    if (Row < 0 || Row >= FAllocRows) return nullptr;
    if (Row == FFoundRow) return FFound;
    const auto Found = FRows.find(Row);
    if (Found == FRows.end()) return nullptr;
    FFoundRow = Row;
    FFound = const_cast<TRow*>(&Found->second);
    return FFound;
}

std::int32_t Tgx2DStorage::ColCount(std::int32_t Row) const {
    const TRow* R = RowAt(Row);
    return R ? R->ColCount : 0;
}

std::int32_t Tgx2DStorage::ColCapacity(std::int32_t Row) const {
    const TRow* R = RowAt(Row);
    return R ? R->Capacity : 0;
}

void Tgx2DStorage::CheckCell(std::int32_t Col, std::int32_t Row) {
    if (Col < 1 || Col > MaxStoreIndex || Row < 0 || Row > MaxStoreIndex)
        throw ERangeError(Format("Cell column %d, row %d out of range", Col, Row));
}

// ---- reading cells ---------------------------------------------------------

Variant Tgx2DStorage::GetValue(std::int32_t Col, std::int32_t Row) const {
    const TRow* R = RowAt(Row);
    if (!R || Col < 1 || Col > R->ColCount) return Unassigned();
    const auto Index = static_cast<std::size_t>(Col - 1);
    const std::intptr_t Slot = R->Slot(Index);
    switch (R->Types[Index]) {
    case vtpString:
    case vtpPictureName: {
        const std::string_view Text = R->Texts.Text(static_cast<int>(Index));
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
    const TRow* R = RowAt(Row);
    if (!R || Col < 1 || Col > R->ColCount) return vtpNone;
    return R->Types[static_cast<std::size_t>(Col - 1)];
}

std::int32_t Tgx2DStorage::MaxRowSet() const {
    // Every row held has cells; the backup row does not count.
    if (FRows.empty() || FRows.rbegin()->first < 1) return 0;
    return FRows.rbegin()->first;
}

std::int32_t Tgx2DStorage::MaxColValueSet(std::int32_t Row) const {
    const TRow* R = RowAt(Row);
    if (!R) return 0;
    for (std::int32_t Col = R->ColCount; Col >= 1; --Col)
        if (R->Types[static_cast<std::size_t>(Col - 1)] != vtpNone) return Col;
    return 0;
}

// ---- writing cells ---------------------------------------------------------

void Tgx2DStorage::SetText(TRow& R, std::int32_t Index, const AnsiString& Text) {
    R.Texts.Store(Index, true, Text);
}

void Tgx2DStorage::SetValue(std::int32_t Col, std::int32_t Row, TgxValueType Type,
                            const Variant& Value) {
    TgxValueType Current = GetValueType(Col, Row);
    if (Value.IsEmpty() && Current == vtpNone) return;
    if (static_cast<std::uint8_t>(Type) > static_cast<std::uint8_t>(vtpNull))
        throw ERangeError(Format("Cell value type %d out of range", static_cast<int>(Type)));
    CheckCell(Col, Row);
    CheckCreateRow(Row);
    CheckCreateCol(Col, Row);
    TRow& R = *RowAt(Row);
    const auto Index = static_cast<std::size_t>(Col - 1);

    TgxValueType NewType = Type;
    if (Value.IsEmpty()) {
        ClearValue(Col, Row);
        NewType = vtpNone;
    } else {
        switch (Type) {
        case vtpString:
        case vtpPictureName:
            if (!IsText(Current) && Current != vtpNone) ClearValue(Col, Row);
            SetText(R, static_cast<std::int32_t>(Index), Value.AsString());
            break;
        case vtpInteger: {
            if (Current != vtpNone && Current != vtpInteger) ClearValue(Col, Row);
            const int Number = Value.AsInteger();
            R.SetSlot(Index, Number);
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
    R.Types[Index] = NewType;
}

void Tgx2DStorage::SetBitmapValue(std::int32_t Col, std::int32_t Row, TBitmap* Bitmap,
                                  TgxValueType CurrentType) {
    CheckCell(Col, Row);
    CheckCreateRow(Row);
    CheckCreateCol(Col, Row);
    TRow& R = *RowAt(Row);
    const auto Index = static_cast<std::size_t>(Col - 1);
    const bool Same = R.Types[Index] == vtpPicture && BitmapOf(R.Slot(Index)) == Bitmap;
    if (CurrentType == vtpPicture && Same) return;
    // Whatever the cell held goes first, so no text or count is left behind.
    if (R.Types[Index] != vtpNone) ClearValue(Col, Row);
    R.SetSlot(Index, reinterpret_cast<std::intptr_t>(Bitmap));
    R.Types[Index] = vtpPicture;
    UpdateSharedBitmapRef(Bitmap, false);
}

void Tgx2DStorage::ClearValue(std::int32_t Col, std::int32_t Row) {
    TRow* R = RowAt(Row);
    if (!R || Col < 1 || Col > R->ColCount) return;
    const auto Index = static_cast<std::size_t>(Col - 1);
    const std::intptr_t Slot = R->Slot(Index);
    const TgxValueType Type = R->Types[Index];
    R->SetSlot(Index, 0);
    R->Types[Index] = vtpNone;
    if (IsText(Type))
        R->Texts.Store(static_cast<int>(Index), false, {});
    else if (Type == vtpPicture)
        UpdateSharedBitmapRef(BitmapOf(Slot), true);
}

void Tgx2DStorage::ClearRow(std::int32_t Row, std::int32_t NewColCount) {
    TRow* R = RowAt(Row);
    if (!R) return;
    for (std::int32_t Col = 1; Col <= R->ColCount; ++Col)
        ClearValue(Col, Row);
    if (NewColCount >= 0) ResizeRowCols(Row, NewColCount);
}

void Tgx2DStorage::ClearCol(std::int32_t Col) {
    if (Col < 1) return;
    for (auto& [Row, R] : FRows)
        if (Row >= 1 && R.ColCount >= Col) ClearValue(Col, Row);
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
    const auto First = FRows.lower_bound(FirstRow);
    for (auto Entry = First; Entry != FRows.end(); ++Entry) {
        const TRow& R = Entry->second;
        for (std::int32_t Col = 1; Col <= R.ColCount; ++Col) {
            const auto Index = static_cast<std::size_t>(Col - 1);
            if (R.Types[Index] == vtpPicture) UpdateSharedBitmapRef(BitmapOf(R.Slot(Index)), true);
        }
    }
    if (First == FRows.end()) return;
    FFoundRow = -1;
    FFound = nullptr;
    FRows.erase(First, FRows.end());
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
    TRow* R = RowAt(Row);
    if (R && Col <= R->ColCount) return;
    if (R && Col <= R->Capacity)
        R->ColCount = Col;
    else if (Col < FColAllocSize)
        ResizeRowCols(Row, FColAllocSize);
    else
        ResizeRowCols(Row, Grown(static_cast<std::int64_t>(Col) + 10));
}

void Tgx2DStorage::ResizeRows(std::int32_t NewCount) {
    if (NewCount < 0) throw ERangeError(Format("Row count %d out of range", NewCount));
    // Rows dropped here must give back their texts and bitmap counts even
    // when the caller did not clear them.
    ClearRowsFrom(NewCount);
    FAllocRows = NewCount;
}

void Tgx2DStorage::ResizeRowCols(std::int32_t Row, std::int32_t NewCount) {
    if (Row < 0 || Row >= AllocRows()) throw ERangeError(Format("Row %d out of range", Row));
    if (NewCount < 0) throw ERangeError(Format("Column count %d out of range", NewCount));
    if (TRow* Held = RowAt(Row)) {
        for (std::int32_t Col = NewCount + 1; Col <= Held->ColCount; ++Col)
            ClearValue(Col, Row);
    }
    if (NewCount == 0) {
        FFoundRow = -1;
        FRows.erase(Row);
        return;
    }
    TRow* Entry = &FRows[Row];
    // The cells are written next: keep it as the row found last.
    FFoundRow = Row;
    FFound = Entry;
    // Slots past the column count are empty already, so growing leaves
    // everything from the old column count on empty.
    if (NewCount != Entry->Capacity) Entry->Reallocate(NewCount);
    Entry->ColCount = NewCount;
}

// ---- rows and columns ------------------------------------------------------

void Tgx2DStorage::DeleteRows(std::int32_t First, std::int32_t Last) {
    if (First > Last || First >= AllocRows()) return;
    if (First < 0) throw ERangeError(Format("Row %d out of range", First));
    Last = std::min(Last, AllocRows() - 1);
    // Only the held rows need clearing, from the last down.
    for (auto Held = FRows.upper_bound(Last); Held != FRows.begin();) {
        const std::int32_t Row = (--Held)->first;
        if (Row < First) break;
        ClearRow(Row, 0); // drops the entry
        Held = FRows.upper_bound(Row);
    }
    // The rows after the deleted ones move down; each lands below the rows
    // still to move, so no two meet.
    const std::int32_t Removed = Last - First + 1;
    FFoundRow = -1;
    for (auto Next = FRows.upper_bound(Last); Next != FRows.end();) {
        auto Moving = FRows.extract(Next++);
        Moving.key() -= Removed;
        FRows.insert(std::move(Moving));
    }
    FAllocRows -= Removed;
}

void Tgx2DStorage::DeleteCols(std::int32_t First, std::int32_t Last) {
    if (First > Last) return;
    if (First < 1) throw ERangeError(Format("Column %d out of range", First));
    for (auto Next = FRows.begin(); Next != FRows.end();) {
        const std::int32_t Row = Next->first;
        TRow* R = &(Next++)->second;
        if (R->ColCount < First) continue;
        const std::int32_t L = std::min(Last, R->ColCount);
        for (std::int32_t Col = First; Col <= L; ++Col)
            ClearValue(Col, Row);
        const std::int32_t Removed = L - First + 1;
        const auto From = static_cast<std::ptrdiff_t>(L);
        const auto To = static_cast<std::ptrdiff_t>(First - 1);
        const auto End = static_cast<std::ptrdiff_t>(R->ColCount);
        if (R->Values)
            std::copy(R->Values.get() + From, R->Values.get() + End, R->Values.get() + To);
        std::copy(R->Types.get() + From, R->Types.get() + End, R->Types.get() + To);
        for (std::int32_t I = 0; I < Removed; ++I)
            R->Texts.Erase(First - 1);
        R->ColCount -= Removed;
        // The moved slots now live below the new count; the tail holds only
        // stale copies of them, which must not be released.
        const auto Tail = static_cast<std::ptrdiff_t>(R->ColCount);
        if (R->Values) std::fill(R->Values.get() + Tail, R->Values.get() + End, 0);
        std::fill(R->Types.get() + Tail, R->Types.get() + End, vtpNone);
        if (R->ColCount == 0) {
            FFoundRow = -1;
            FRows.erase(Row);
        }
        else if (R->Capacity - R->ColCount >= 8)
            R->Reallocate(R->ColCount); // a few spare slots are kept, more are given back
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
    for (auto Next = FRows.lower_bound(1); Next != FRows.end();) {
        const std::int32_t Row = (Next++)->first;
        if (!Source->RowAt(Row)) ClearRow(Row, 0);
    }
    for (const auto& [Row, R] : Source->FRows) {
        if (Row < 1) continue;
        const std::int32_t Count = Source->MaxColValueSet(Row);
        ClearRow(Row, Count > 0 ? std::max(Count, FColAllocSize) : 0);
        // The widest column first, so the row is sized once.
        for (std::int32_t Col = Count; Col >= 1; --Col)
            SetValue(Col, Row, Source->GetValueType(Col, Row), Source->GetValue(Col, Row));
    }
}

} // namespace grid
