#pragma once
// The store in which a grid that keeps its own data holds its cell values:
// a table of rows, each a growable array of cells, every cell a type byte
// and one slot. Rows and columns are the grid's data numbers, counted from
// 1; row 0 is the backup row of a row edit. The store also writes and reads
// its values as the grid's "Data" stream (GridDataStream.cpp).
#include "platform/rtl/Object.h"
#include "platform/rtl/Variant.h"

#include <cstdint>
#include <map>
#include <string_view>
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

    // As SetValue with a text, for callers that have the text without a
    // Variant holding it. Type is vtpString or vtpPictureName.
    void SetText(std::int32_t Col, std::int32_t Row, TgxValueType Type, std::string_view Text);
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
    std::int32_t RowsHeld() const { return FRowsHeld; }
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
    // A row is one heap block: its counts, a type byte per slot (padded to
    // eight), an eight-byte value per slot (an integer, a picture's TBitmap,
    // or where a text lies in the text area), then the text area. Texts are
    // appended; a text that is replaced or cleared leaves a hole, which goes
    // when the area next has to grow. One allocation a row keeps adding rows
    // cheap and a row of short values small.
    struct TRowHead {
        std::int32_t ColCount;
        std::int32_t Capacity;
        std::uint32_t TextUsed; // bytes of the text area in use, holes included
        std::uint32_t TextRoom; // bytes of the text area
    };
    // The rows by number, in pages of PageSize: adding rows in order fills
    // a page before the next is made, and a page lives only while it holds
    // a row, so a large row number costs no more than a small one.
    static constexpr int PageBits = 6;
    static constexpr std::int32_t PageSize = 1 << PageBits;
    struct TPage {
        std::int32_t Held = 0;
        TRowHead* Rows[PageSize] = {};
    };

    static std::size_t TypeBytes(std::int32_t Capacity) {
        return (static_cast<std::size_t>(Capacity) + 7) & ~std::size_t(7);
    }
    static TgxValueType* Types(TRowHead* R) { return reinterpret_cast<TgxValueType*>(R + 1); }
    static const TgxValueType* Types(const TRowHead* R) {
        return reinterpret_cast<const TgxValueType*>(R + 1);
    }
    static std::uint64_t* Slots(TRowHead* R) {
        return reinterpret_cast<std::uint64_t*>(reinterpret_cast<char*>(R + 1) +
                                                TypeBytes(R->Capacity));
    }
    static const std::uint64_t* Slots(const TRowHead* R) {
        return Slots(const_cast<TRowHead*>(R));
    }
    static char* TextArea(TRowHead* R) { return reinterpret_cast<char*>(Slots(R) + R->Capacity); }
    // A text slot holds the text's offset in the text area in its low half
    // and its length in its high half.
    static std::string_view TextOf(const TRowHead* R, std::size_t Index) {
        const std::uint64_t Slot = Slots(R)[Index];
        return {TextArea(const_cast<TRowHead*>(R)) + static_cast<std::uint32_t>(Slot),
                static_cast<std::size_t>(Slot >> 32)};
    }
    static std::size_t BlockSize(std::int32_t Capacity, std::uint32_t TextRoom) {
        return sizeof(TRowHead) + TypeBytes(Capacity) +
               sizeof(std::uint64_t) * static_cast<std::size_t>(Capacity) + TextRoom;
    }
    // Row blocks of up to ArenaMax bytes are carved from chunks the store
    // owns, a free list for each size in steps of 16 bytes: a row then
    // costs no heap call of its own, and a whole store goes with its chunks.
    static constexpr std::size_t ArenaStep = 16;
    static constexpr std::size_t ArenaMax = 512;
    static constexpr std::size_t ArenaChunk = 64 * 1024;
    struct TArena {
        std::vector<void*> Chunks;
        char* Next = nullptr;
        char* End = nullptr;
        void* FreeBlocks[ArenaMax / ArenaStep] = {};
    };
    void* AllocateBlock(std::size_t Bytes);
    void ReleaseBlock(TRowHead* R);
    // Gives the chunks back; no small block may be in use.
    void ReleaseArena();

    // A block of Capacity empty slots and a text area of TextRoom bytes.
    TRowHead* NewRow(std::int32_t Capacity, std::uint32_t TextRoom);
    // Capacity becomes NewCapacity; slots beyond it must be empty.
    void Reallocate(TRowHead*& R, std::int32_t NewCapacity);
    // Makes room for Extra more bytes of text, dropping the holes.
    void GrowTexts(TRowHead*& R, std::size_t Extra);
    void StoreText(TRowHead*& R, std::size_t Index, std::string_view Text);
    // Puts the row's picture references back.
    static void ReleaseRowPictures(const TRowHead* R);
    // As the public ones; a new row gets room for TextHint bytes of text.
    void CheckCreateCol(std::int32_t Col, std::int32_t Row, std::size_t TextHint);
    void ResizeRowCols(std::int32_t Row, std::int32_t NewCount, std::size_t TextHint);

    // The row's cells, or nullptr for a row without any.
    TRowHead* RowAt(std::int32_t Row) const {
        if (Row < 0 || Row >= FAllocRows) return nullptr;
        const TPage* Page = PageAt(Row >> PageBits);
        return Page ? Page->Rows[Row & (PageSize - 1)] : nullptr;
    }
    // Where the row's block is kept; the page is made when missing.
    TRowHead*& RowSlot(std::int32_t Row) {
        TPage* Page = PageAt(Row >> PageBits);
        return Page ? Page->Rows[Row & (PageSize - 1)] : NewPageSlot(Row);
    }
    TRowHead*& NewPageSlot(std::int32_t Row);
    TPage* PageAt(std::int32_t PageNo) const {
        return PageNo == FFoundPageNo ? FFoundPage : FindPage(PageNo);
    }
    TPage* FindPage(std::int32_t PageNo) const;
    // Drops a held row's block (its pictures must be released already).
    void DropRow(std::int32_t Row);
    // The first row held at or after From, or -1.
    std::int32_t NextHeld(std::int32_t From) const;
    static void CheckCell(std::int32_t Col, std::int32_t Row) {
        if (Col < 1 || Col > MaxStoreIndex || Row < 0 || Row > MaxStoreIndex) [[unlikely]]
            CellOutOfRange(Col, Row);
    }
    [[noreturn]] static void CellOutOfRange(std::int32_t Col, std::int32_t Row);
    // Makes a row that holds no cells yet with room for Col and a text of
    // TextHint bytes.
    TRowHead*& NewHeldRow(std::int32_t Col, std::int32_t Row, std::size_t TextHint);
    // Clears (and so drops) every held row from FirstRow on.
    void ClearRowsFrom(std::int32_t FirstRow);

    std::int32_t FColAllocSize;
    std::int32_t FRowAllocSize;
    std::map<std::int32_t, TPage> FPages; // by row number / PageSize
    std::int32_t FRowsHeld = 0;
    // The page found last: rows are mostly read and written one after the
    // other. Forgotten whenever a page is taken out of FPages.
    mutable std::int32_t FFoundPageNo = -1;
    mutable TPage* FFoundPage = nullptr;
    std::int32_t FAllocRows = 0;
    bool FDesignMode = false;
    // Whether a picture was ever stored: a store that never held one has
    // no references to give back when rows go.
    bool FHeldPicture = false;
    TArena FArena;
    // Row blocks too large for the chunks, each from the heap; while there
    // are none, dropping every row is giving back the chunks.
    std::size_t FLargeBlocks = 0;
};

} // namespace grid
