// The grid's "Data" stream: the typed cells of every row that has any, then
// the distinct bitmaps of the picture cells. Integers are 32-bit, least
// significant byte first; a type is one byte.
#include "grid/foundation/CellStore.h"

#include "grid/foundation/CellStoreBitmaps.h"
#include "platform/gui/Graphics.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Lists.h"
#include "platform/rtl/Streams.h"

#include <array>
#include <climits>
#include <map>
#include <memory>
#include <vector>

namespace grid {

namespace {

// What is left to read. Every count and length of the stream is checked
// against it before anything is allocated for it.
std::int64_t BytesLeft(TStream* Stream) {
    return Stream->GetSize() - Stream->GetPosition();
}

std::uint8_t ReadTypeByte(TStream* Stream) {
    std::uint8_t Type = 0;
    Stream->ReadBuffer(&Type, 1);
    return Type;
}

void WriteTypeByte(TStream* Stream, TgxValueType Type) {
    const auto Byte = static_cast<std::uint8_t>(Type);
    Stream->WriteBuffer(&Byte, 1);
}

// The column map keeps integers in its pointer slots.
std::int32_t MapEntry(const TList* ColMap, int Index) {
    return static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(ColMap->Get(Index)));
}

// A load holds a count on every shared bitmap it makes until it ends, so
// that a cell the stream overwrites cannot free a bitmap later cells show.
// Giving the counts back frees the bitmaps no cell took.
void ReleasePictures(const std::map<std::int32_t, TBitmap*>& Pictures) {
    for (const auto& [Number, Bitmap] : Pictures)
        UpdateSharedBitmapRef(Bitmap, true);
}

// An empty bitmap saves no bytes at all, which would leave its place in the
// picture list unreadable. It goes out as a bitmap file header alone, whose
// total size (the header's own 14 bytes) no image can have.
constexpr int EmptyImageSize = 14;

void WriteEmptyImage(TStream* Stream) {
    // "BM", the total size, two reserved words, the offset of the (absent)
    // pixels; the numbers least significant byte first.
    std::array<std::uint8_t, EmptyImageSize> Header{'B', 'M'};
    Header[2] = EmptyImageSize;
    Header[10] = EmptyImageSize;
    Stream->WriteBuffer(Header.data(), EmptyImageSize);
}

// Reads past an empty image; false (and nothing read) for any other.
bool SkipEmptyImage(TStream* Stream) {
    if (BytesLeft(Stream) < EmptyImageSize) return false;
    const std::int64_t Start = Stream->GetPosition();
    std::array<std::uint8_t, EmptyImageSize> Header{};
    Stream->ReadBuffer(Header.data(), EmptyImageSize);
    const bool Empty = Header[0] == 'B' && Header[1] == 'M' && Header[2] == EmptyImageSize &&
                       Header[3] == 0 && Header[4] == 0 && Header[5] == 0;
    if (!Empty) Stream->SetPosition(Start);
    return Empty;
}

// One cell value read from a stream, kept until the whole stream has been
// read, so that a stream that fails half-way changes nothing.
struct ReadCell {
    std::int32_t Col;
    std::int32_t Row;
    TgxValueType Type;
    Variant Value;
};

} // namespace

void Tgx2DStorage::WriteInteger(TStream* Stream, std::int32_t Value) {
    const auto U = static_cast<std::uint32_t>(Value);
    const std::array<std::uint8_t, 4> Bytes{
        static_cast<std::uint8_t>(U), static_cast<std::uint8_t>(U >> 8),
        static_cast<std::uint8_t>(U >> 16), static_cast<std::uint8_t>(U >> 24)};
    Stream->WriteBuffer(Bytes.data(), 4);
}

std::int32_t Tgx2DStorage::ReadInteger(TStream* Stream) {
    std::array<std::uint8_t, 4> Bytes{};
    Stream->ReadBuffer(Bytes.data(), 4);
    const std::uint32_t U = Bytes[0] | (Bytes[1] << 8) | (Bytes[2] << 16) |
                            (static_cast<std::uint32_t>(Bytes[3]) << 24);
    return static_cast<std::int32_t>(U);
}

void Tgx2DStorage::WriteString(TStream* Stream, const AnsiString& Value) {
    if (Value.size() > static_cast<std::size_t>(INT32_MAX))
        throw EWriteError(Format("Cell text of %d bytes is too long to write",
                                 static_cast<std::int64_t>(Value.size())));
    const auto Length = static_cast<std::int32_t>(Value.size());
    WriteInteger(Stream, Length);
    Stream->WriteBuffer(Value.data(), Length);
}

AnsiString Tgx2DStorage::ReadString(TStream* Stream) {
    const std::int32_t Length = ReadInteger(Stream);
    if (Length < 0 || Length > BytesLeft(Stream))
        throw EReadError(Format("Invalid text length %d in grid data", Length));
    AnsiString Text(static_cast<std::size_t>(Length), '\0');
    Stream->ReadBuffer(Text.data(), Length);
    return Text;
}

void Tgx2DStorage::WritePicture(TStream* Stream, TBitmap* Bitmap, TgxBitmapSet& Numbers,
                                std::vector<TBitmap*>& Order) {
    // Bitmaps are numbered from 1 in order of first appearance, so each is
    // written once however many cells show it.
    TgxBitmapElement* Element = Numbers.AddBitmap(Bitmap);
    if (Element->StreamIndex == 0) {
        Order.push_back(Bitmap);
        Element->StreamIndex = static_cast<std::int32_t>(Order.size());
    }
    WriteInteger(Stream, Element->StreamIndex);
}

TBitmap* Tgx2DStorage::ReadPicture(TStream* Stream, std::map<std::int32_t, TBitmap*>& Pictures) {
    const std::int32_t Number = ReadInteger(Stream);
    if (Number <= 0)
        throw EListError(
            Format("List index out of bounds (%d)", static_cast<std::int64_t>(Number) - 1));
    // Every picture number has its image later in the stream.
    if (Number > BytesLeft(Stream))
        throw EReadError(Format("Invalid picture number %d in grid data", Number));
    // Only the numbers met take a bitmap, however large they are. The image
    // follows after the rows; until then the bitmap is empty.
    TBitmap*& Bitmap = Pictures[Number];
    if (!Bitmap) {
        Bitmap = CreateSharedBitmap()->Bitmap;
        UpdateSharedBitmapRef(Bitmap, false); // the load's own count, see ReleasePictures
    }
    return Bitmap;
}

void Tgx2DStorage::WriteBitmapList(TStream* Stream, const std::vector<TBitmap*>& Order) {
    WriteInteger(Stream, static_cast<std::int32_t>(Order.size()));
    for (TBitmap* Bitmap : Order) {
        if (Bitmap->Empty())
            WriteEmptyImage(Stream);
        else
            Bitmap->SaveToStream(Stream);
    }
}

void Tgx2DStorage::ReadBitmapList(TStream* Stream,
                                  const std::map<std::int32_t, TBitmap*>& Pictures) {
    const std::int32_t Count = ReadInteger(Stream);
    if (Count < 0 || Count > BytesLeft(Stream))
        throw EReadError(Format("Invalid picture count %d in grid data", Count));
    // Images no cell refers to are read past.
    std::unique_ptr<TBitmap> Scratch;
    for (std::int32_t Number = 1; Number <= Count; ++Number) {
        if (SkipEmptyImage(Stream)) continue;
        const auto Found = Pictures.find(Number);
        TBitmap* Target = Found != Pictures.end() ? Found->second : nullptr;
        if (!Target) {
            if (!Scratch) Scratch = std::make_unique<TBitmap>();
            Target = Scratch.get();
        }
        Target->LoadFromStream(Stream);
    }
}

void Tgx2DStorage::SaveToStream(TStream* Stream) const {
    TgxBitmapSet Numbers; // never owns the bitmaps it numbers
    std::vector<TBitmap*> Order;
    for (std::int32_t Row = NextHeld(1); Row >= 0; Row = NextHeld(Row + 1)) {
        const std::int32_t Count = MaxColValueSet(Row);
        if (Count <= 0) continue;
        const TRowHead* R = RowAt(Row);
        WriteInteger(Stream, Row);
        WriteInteger(Stream, Count);
        for (std::int32_t Col = 1; Col <= Count; ++Col) {
            const auto Index = static_cast<std::size_t>(Col - 1);
            const TgxValueType Type = Types(R)[Index];
            const std::uint64_t Slot = Slots(R)[Index];
            switch (Type) {
            case vtpString:
            case vtpPictureName: {
                WriteTypeByte(Stream, Type);
                const std::string_view Text = TextOf(R, Index);
                WriteString(Stream, AnsiString(Text.data(), Text.size()));
                break;
            }
            case vtpInteger:
                WriteTypeByte(Stream, Type);
                WriteInteger(Stream, static_cast<std::int32_t>(Slot));
                break;
            case vtpPicture:
                // A picture cell without a bitmap has no image to write: it
                // goes out as an empty cell.
                if (Slot == 0) {
                    WriteTypeByte(Stream, vtpNone);
                    break;
                }
                WriteTypeByte(Stream, Type);
                WritePicture(Stream, reinterpret_cast<TBitmap*>(static_cast<std::uintptr_t>(Slot)),
                             Numbers, Order);
                break;
            default:
                WriteTypeByte(Stream, Type);
                break;
            }
        }
    }
    WriteInteger(Stream, 0);
    WriteBitmapList(Stream, Order);
}

void Tgx2DStorage::LoadFromStream(TStream* Stream, const TList* ColMap) {
    // The whole stream is read before the store is touched: a stream that
    // turns out damaged leaves the store as it was. What is kept grows with
    // the cells read, never with the row or picture numbers alone.
    std::vector<ReadCell> Cells;
    std::map<std::int32_t, TBitmap*> Pictures; // picture number -> its bitmap
    try {
        for (std::int32_t Row = ReadInteger(Stream); Row != 0; Row = ReadInteger(Stream)) {
            if (Row > MaxStoreIndex)
                throw EReadError(Format("Invalid row number %d in grid data", Row));
            const std::int32_t Count = ReadInteger(Stream);
            // Each cell takes at least its type byte.
            if (Count < 0 || Count > BytesLeft(Stream))
                throw EReadError(
                    Format("Invalid column count %d for row %d in grid data", Count, Row));
            for (std::int32_t I = 1; I <= Count; ++I) {
                const std::int32_t Col =
                    ColMap && ColMap->Count() >= I ? MapEntry(ColMap, I - 1) : I;
                if (Col > MaxStoreIndex)
                    throw EReadError(Format("Invalid column number %d in grid data", Col));
                // Values of unmapped columns, or of no data row, are read and dropped.
                const bool Keep = Col > 0 && Row > 0;
                const auto Type = static_cast<TgxValueType>(ReadTypeByte(Stream));
                switch (Type) {
                case vtpString:
                case vtpPictureName: {
                    AnsiString Text = ReadString(Stream);
                    if (Keep) Cells.push_back({Col, Row, Type, Variant(std::move(Text))});
                    break;
                }
                case vtpInteger: {
                    const std::int32_t Number = ReadInteger(Stream);
                    if (Keep) Cells.push_back({Col, Row, Type, Variant(static_cast<int>(Number))});
                    break;
                }
                case vtpPicture: {
                    TBitmap* Bitmap = ReadPicture(Stream, Pictures);
                    if (Keep) Cells.push_back({Col, Row, Type, VarFromObject(Bitmap)});
                    break;
                }
                default: // nothing follows, and nothing is stored
                    break;
                }
            }
        }
        ReadBitmapList(Stream, Pictures);

        if (!ColMap) {
            Clear(0, true);
        } else {
            for (int I = 0; I < ColMap->Count(); ++I)
                if (MapEntry(ColMap, I) > 0) ClearCol(MapEntry(ColMap, I));
        }
        for (const ReadCell& Cell : Cells)
            SetValue(Cell.Col, Cell.Row, Cell.Type, Cell.Value);
    } catch (...) {
        ReleasePictures(Pictures);
        throw;
    }
    ReleasePictures(Pictures);
}

} // namespace grid
