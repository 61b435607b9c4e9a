#pragma once
// The store in which a grid that keeps its own data holds its cell values:
// a table of rows, each a growable array of cells, every cell a type byte
// and one slot. Rows and columns are the grid's data numbers, counted from
// 1; row 0 is the backup row of a row edit. The store also writes and reads
// its values as the grid's "Data" stream (GridDataStream.cpp).
#include "grid/foundation/PackedTexts.h"
#include "platform/rtl/Object.h"
#include "platform/rtl/Variant.h"

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

class TBitmap;
class TList;
class TStream;

namespace grid {

class TgxBitmapSet;

// Streamed as one byte: the ordinals are part of the "Data" format.
enum class TgxValueType : std::uint8_t {
    vtpNone,        // nothing; reads as Unassigned
    vtpString,      // a text
    vtpInteger,     // a signed 32-bit integer
    vtpPicture,     // a bitmap the store refers to but never owns
    vtpPictureName, // a text naming a picture of an image list
    vtpNull         // reads as Null
};
using enum TgxValueType;

// Cell and row numbers beyond the largest grid there can be.
inline constexpr std::int32_t MaxStoreIndex = 0x7FFFFFC;

class Tgx2DStorage : public TObject {
public:
    Tgx2DStorage(std::int32_t AColAllocSize, std::int32_t ARowAllocSize);
    ~Tgx2DStorage() override;
    AnsiString ClassName() const override { return "Tgx2DStorage"; }

    // Copies the source's rows 1 and up (not its backup row) and DesignMode.
    virtual void Assign(const Tgx2DStorage* Source);
    virtual void BackupRow(std::int32_t Row);
    virtual void ClearBackupRow();
    // Columns after the deleted ones move down, in every row.
    virtual void DeleteCols(std::int32_t First, std::int32_t Last);
    // Rows after the deleted ones take the lower numbers.
    virtual void DeleteRows(std::int32_t First, std::int32_t Last);
    virtual Variant GetValue(std::int32_t Col, std::int32_t Row) const;
    virtual TgxValueType GetValueType(std::int32_t Col, std::int32_t Row) const;
    // ColMap (a list of integers, as TgxIntegerList keeps them), when given,
    // places stream column i at data column ColMap[i-1]; 0 or below drops it.
    virtual void LoadFromStream(TStream* Stream, const TList* ColMap);
    virtual void RestoreBackupRow(std::int32_t Row);
    virtual void SaveToStream(TStream* Stream) const;
    virtual void SetValue(std::int32_t Col, std::int32_t Row, TgxValueType Type,
                          const Variant& Value);

    void SetBitmapValue(std::int32_t Col, std::int32_t Row, TBitmap* Bitmap,
                        TgxValueType CurrentType);
    void ClearValue(std::int32_t Col, std::int32_t Row);
    // NewColCount 0 frees the row's arrays; below 0 keeps their size.
    void ClearRow(std::int32_t Row, std::int32_t NewColCount);
    void ClearCol(std::int32_t Col);
    // From FirstRow on (1 means 0: the backup row too); Resize with
    // FirstRow 0 drops the row table.
    void Clear(std::int32_t FirstRow, bool Resize);
    std::int32_t MaxRowSet() const;
    std::int32_t MaxColValueSet(std::int32_t Row) const;
    void CheckCreateRow(std::int32_t Row);
    void CheckCreateCol(std::int32_t Col, std::int32_t Row);
    void ResizeRows(std::int32_t NewCount);
    void ResizeRowCols(std::int32_t Row, std::int32_t NewCount);
    void CopyRow(std::int32_t From, std::int32_t To);

    std::int32_t ColAllocSize() const { return FColAllocSize; }
    void SetColAllocSize(std::int32_t Value) { FColAllocSize = Value; }
    std::int32_t RowAllocSize() const { return FRowAllocSize; }
    void SetRowAllocSize(std::int32_t Value) { FRowAllocSize = Value; }
    bool DesignMode() const { return FDesignMode; }
    void SetDesignMode(bool Value) { FDesignMode = Value; }

    // Rows 0 .. AllocRows-1 exist, the backup row included. Only the rows
    // holding cells take memory, so a large row number costs no more than a
    // small one.
    std::int32_t AllocRows() const { return FAllocRows; }
    // Rows that hold cells.
    std::int32_t RowsHeld() const { return static_cast<std::int32_t>(FRows.size()); }
    // Columns 1 .. ColCount exist in the row; 0 for a row without cells.
    std::int32_t ColCount(std::int32_t Row) const;
    // Slots allocated for the row.
    std::int32_t ColCapacity(std::int32_t Row) const;

protected:
    // The per-field steps of the "Data" stream. A save numbers its
    // distinct bitmaps in Numbers and lists them in Order; a load keeps the
    // bitmaps made for its picture numbers in Pictures, by number.
    static void WriteInteger(TStream* Stream, std::int32_t Value);
    static void WriteString(TStream* Stream, const AnsiString& Value);
    static void WritePicture(TStream* Stream, TBitmap* Bitmap, TgxBitmapSet& Numbers,
                             std::vector<TBitmap*>& Order);
    static void WriteBitmapList(TStream* Stream, const std::vector<TBitmap*>& Order);
    static std::int32_t ReadInteger(TStream* Stream);
    static AnsiString ReadString(TStream* Stream);
    static TBitmap* ReadPicture(TStream* Stream, std::map<std::int32_t, TBitmap*>& Pictures);
    static void ReadBitmapList(TStream* Stream, const std::map<std::int32_t, TBitmap*>& Pictures);

private:
    // Types has Capacity entries; column c is at c-1. Texts are packed end
    // to end in one block per row, by column. Values (a picture's TBitmap or
    // an integer) is made only when the row holds such a cell, so a row of
    // short texts costs little more than its characters.
    struct TRow {
        std::int32_t ColCount = 0;
        std::int32_t Capacity = 0;
        std::unique_ptr<TgxValueType[]> Types;
        std::unique_ptr<std::intptr_t[]> Values;
        TPackedTexts Texts;
        std::intptr_t Slot(std::size_t Index) const { return Values ? Values[Index] : 0; }
        void SetSlot(std::size_t Index, std::intptr_t Value);
        // Capacity becomes NewCapacity; entries beyond it must be empty.
        void Reallocate(std::int32_t NewCapacity);
    };

    // The row's cells, or nullptr for a row without any.
    TRow* RowAt(std::int32_t Row);
    const TRow* RowAt(std::int32_t Row) const;
    static void CheckCell(std::int32_t Col, std::int32_t Row);
    // Clears (and so drops) every held row from FirstRow on.
    void ClearRowsFrom(std::int32_t FirstRow);
    void SetText(TRow& R, std::int32_t Index, const AnsiString& Text);

    std::int32_t FColAllocSize;
    std::int32_t FRowAllocSize;
    std::map<std::int32_t, TRow> FRows; // by row number; a row without cells has none
    // The row found last: a painted screen reads a row's cells one after
    // the other. Forgotten whenever a row is taken out of FRows.
    mutable std::int32_t FFoundRow = -1;
    mutable TRow* FFound = nullptr;
    std::int32_t FAllocRows = 0;
    bool FDesignMode = false;
};

} // namespace grid
