#include "grid/foundation/CellStore.h"
#include "grid/foundation/CellStoreBitmaps.h"
#include "grid/foundation/IntLists.h"
#include "platform/gui/Graphics.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"

#include <gtest/gtest.h>

#include <string>

using namespace grid;

namespace {

// The bytes of a "Data" stream, put together field by field.
struct Data {
    std::string Bytes;

    Data& I(std::int32_t V) {
        const auto U = static_cast<std::uint32_t>(V);
        for (int Shift = 0; Shift < 32; Shift += 8)
            Bytes += static_cast<char>(U >> Shift);
        return *this;
    }
    Data& B(std::uint8_t V) {
        Bytes += static_cast<char>(V);
        return *this;
    }
    Data& T(const std::string& Text) {
        I(static_cast<std::int32_t>(Text.size()));
        Bytes += Text;
        return *this;
    }
    Data& Raw(const std::string& More) {
        Bytes += More;
        return *this;
    }
};

std::string SavedStore(const Tgx2DStorage& S) {
    TMemoryStream M;
    S.SaveToStream(&M);
    return std::string(static_cast<const char*>(M.Memory()), static_cast<std::size_t>(M.GetSize()));
}

std::string Image(TBitmap& Bitmap) {
    TMemoryStream M;
    Bitmap.SaveToStream(&M);
    return std::string(static_cast<const char*>(M.Memory()), static_cast<std::size_t>(M.GetSize()));
}

void LoadStore(Tgx2DStorage& S, const std::string& Bytes, const TList* Map = nullptr) {
    TMemoryStream M;
    M.WriteBuffer(Bytes.data(), static_cast<int>(Bytes.size()));
    M.SetPosition(0);
    S.LoadFromStream(&M, Map);
}

int SharedCount() {
    return SharedBitmaps() ? SharedBitmaps()->Count() : 0;
}

TBitmap* BitmapAt(const Tgx2DStorage& S, int Col, int Row) {
    return dynamic_cast<TBitmap*>(VarToObject(S.GetValue(Col, Row)));
}

TEST(GridDataStream, AnEmptyStoreIsEightZeroBytes) {
    Tgx2DStorage S(0, 0);
    EXPECT_EQ(SavedStore(S), std::string(8, '\0'));
    S.SetValue(1, 1, vtpString, Variant("gone"));
    LoadStore(S, std::string(8, '\0'));
    EXPECT_EQ(S.AllocRows(), 0);
}

TEST(GridDataStream, LayoutOfRowsAndCells) {
    Tgx2DStorage S(0, 0);
    S.SetValue(1, 2, vtpString, Variant("ab"));
    S.SetValue(2, 2, vtpInteger, Variant(-2));
    S.SetValue(4, 2, vtpNull, Null());
    S.SetValue(5, 2, vtpPictureName, Variant(""));
    S.SetValue(1, 3, vtpInteger, Variant(1)); // emptied again: not written
    S.ClearValue(1, 3);
    S.SetValue(8, 5, vtpInteger, Variant(1)); // the row once reached column 8
    S.SetValue(3, 5, vtpInteger, Variant(7));
    S.ClearValue(8, 5);
    S.SetValue(1, 6, vtpPicture, Null()); // a picture cell without a bitmap
    S.BackupRow(2);                       // never written

    Data Expected;
    Expected.I(2).I(5).B(1).T("ab").B(2).I(-2).B(0).B(5).B(4).T(""); // row 2, five columns
    Expected.I(5).I(3).B(0).B(0).B(2).I(7);                          // row 5, three columns
    Expected.I(6).I(1).B(0);                                         // row 6, one column
    Expected.I(0).I(0);                                              // end of rows, no pictures
    EXPECT_EQ(SavedStore(S), Expected.Bytes);
}

TEST(GridDataStream, ValuesComeBackWithoutAMap) {
    Tgx2DStorage S(0, 0);
    S.SetValue(1, 1, vtpString, Variant(""));
    S.SetValue(2, 1, vtpInteger, Variant(-2147483647 - 1));
    S.SetValue(3, 1, vtpNull, Null());
    S.SetValue(2, 40, vtpPictureName, Variant("list.7"));
    S.SetValue(1, 40, vtpString, Variant(std::string("a\0b", 3)));
    Tgx2DStorage T(0, 0);
    T.SetValue(9, 9, vtpInteger, Variant(9)); // replaced by the load
    LoadStore(T, SavedStore(S));
    EXPECT_EQ(T.GetValueType(1, 1), vtpString);
    EXPECT_EQ(T.GetValue(1, 1).Type(), varString);
    EXPECT_EQ(T.GetValue(2, 1).AsInteger(), -2147483647 - 1);
    EXPECT_TRUE(T.GetValue(3, 1).IsEmpty()); // a null cell stores nothing when read
    EXPECT_EQ(T.GetValueType(2, 40), vtpPictureName);
    EXPECT_EQ(T.GetValue(2, 40).AsString(), "list.7");
    EXPECT_EQ(T.GetValue(1, 40).AsString(), std::string("a\0b", 3));
    EXPECT_EQ(T.GetValueType(9, 9), vtpNone);
    EXPECT_EQ(T.MaxRowSet(), 40);
}

TEST(GridDataStream, EachBitmapIsWrittenOnceAndSharedWhenRead) {
    TBitmap A, B;
    A.SetSize(2, 1);
    B.SetSize(3, 4);
    Tgx2DStorage S(0, 0);
    S.SetValue(1, 1, vtpPicture, VarFromObject(&A));
    S.SetValue(2, 1, vtpPicture, VarFromObject(&A));
    S.SetValue(1, 2, vtpPicture, VarFromObject(&A));
    S.SetValue(2, 2, vtpPicture, VarFromObject(&B));
    const std::string Bytes = SavedStore(S);
    Data Expected;
    Expected.I(1).I(2).B(3).I(1).B(3).I(1); // picture numbers by first appearance
    Expected.I(2).I(2).B(3).I(1).B(3).I(2);
    Expected.I(0).I(2).Raw(Image(A)).Raw(Image(B)); // each image once
    EXPECT_EQ(Bytes, Expected.Bytes);

    const int Before = SharedCount();
    TBitmap* Read = nullptr;
    {
        Tgx2DStorage T(0, 0);
        LoadStore(T, Bytes);
        Read = BitmapAt(T, 1, 1);
        ASSERT_NE(Read, nullptr);
        EXPECT_EQ(BitmapAt(T, 2, 1), Read);
        EXPECT_EQ(BitmapAt(T, 1, 2), Read);
        EXPECT_EQ(Read->Width(), 2);
        EXPECT_EQ(SharedBitmapElement(Read)->RefCount, 3);
        TBitmap* Other = BitmapAt(T, 2, 2);
        EXPECT_EQ(Other->Height(), 4);
        EXPECT_EQ(SharedCount(), Before + 2);

        // Saved again, the shared bitmaps keep their numbering.
        EXPECT_EQ(SavedStore(T), Bytes);
    }
    // The last cell showing a bitmap read from a stream frees it.
    EXPECT_EQ(SharedCount(), Before);
}

TEST(GridDataStream, AColumnMapPlacesAndDropsStreamColumns) {
    TBitmap Pic;
    Pic.SetSize(1, 1);
    Tgx2DStorage Source(0, 0);
    Source.SetValue(1, 1, vtpString, Variant("a"));
    Source.SetValue(2, 1, vtpPicture, VarFromObject(&Pic));
    Source.SetValue(3, 1, vtpString, Variant("c"));

    Tgx2DStorage T(0, 0);
    for (int Col = 1; Col <= 4; ++Col)
        T.SetValue(Col, 1, vtpInteger, Variant(Col));
    T.SetValue(4, 9, vtpInteger, Variant(94));
    T.SetValue(1, 9, vtpInteger, Variant(91));
    TgxIntegerList Map;
    Map.AddItem(4); // stream column 1 goes to column 4
    Map.AddItem(0); // stream column 2 is dropped

    const int Before = SharedCount();
    LoadStore(T, SavedStore(Source), &Map);
    EXPECT_EQ(T.GetValue(4, 1).AsString(), "a");
    EXPECT_EQ(T.GetValue(2, 1).AsInteger(), 2);  // not written: kept
    EXPECT_EQ(T.GetValue(3, 1).AsString(), "c"); // beyond the map: its own number
    EXPECT_EQ(T.GetValue(1, 1).AsInteger(), 1);
    EXPECT_EQ(T.GetValueType(4, 9), vtpNone); // mapped columns are emptied first
    EXPECT_EQ(T.GetValue(1, 9).AsInteger(), 91);
    EXPECT_EQ(SharedCount(), Before); // the dropped picture leaves nothing behind
}

TEST(GridDataStream, NullAndUnknownTypesReadNothing) {
    Tgx2DStorage T(0, 0);
    T.SetValue(2, 1, vtpInteger, Variant(5));
    const TgxIntegerList NoEntries; // a map that keeps every column where it is
    LoadStore(T, Data().I(1).I(4).B(5).B(9).B(2).I(77).B(0).I(-3).I(1).B(2).I(8).I(0).I(0).Bytes,
         &NoEntries);
    EXPECT_EQ(T.GetValue(1, 1).Type(), varEmpty);
    EXPECT_EQ(T.GetValue(2, 1).AsInteger(), 5); // type 9 carried nothing
    EXPECT_EQ(T.GetValue(3, 1).AsInteger(), 77);
    EXPECT_EQ(T.MaxRowSet(), 1); // the row below 1 was read and dropped
}

TEST(GridDataStream, DamagedStreamsRaiseAndLeaveTheStoreAsItWas) {
    const std::string Good = Data().I(1).I(1).B(2).I(42).Bytes;
    const auto Row2 = [&](const Data& Rest) { return Good + Data().I(2).Bytes + Rest.Bytes; };
    // Counts and lengths are checked against the bytes left before anything
    // is allocated for them; the message names the bad value.
    const struct {
        const char* Message;
        std::string Bytes;
    } Cases[] = {
        {"Stream read error", Good + "\2\0"},
        {"Invalid text length 2147483647", Row2(Data().I(1).B(1).I(0x7FFFFFFF))},
        {"Invalid text length -1", Row2(Data().I(1).B(1).I(-1).I(0).I(0))},
        {"Invalid column count 2147483647", Row2(Data().I(0x7FFFFFFF).B(0))},
        {"Invalid column count -1", Row2(Data().I(-1).I(0).I(0))},
        {"Invalid row number 2147483632", Good + Data().I(0x7FFFFFF0).I(1).B(0).I(0).I(0).Bytes},
        {"Invalid picture number 1000000", Row2(Data().I(1).B(3).I(1000000).I(0))},
        {"Invalid picture count 1000000", Good + Data().I(0).I(1000000).Bytes},
        // Row numbers of tens of millions once sized the row table before
        // the stream turned out short: 512 MB for these 16 bytes, 1 GB for
        // the 17 below.
        {"Stream read error", Data().I(0x4000000).I(1).B(2).I(7).Raw(std::string(3, '\0')).Bytes},
        {"Stream read error", Data().I(0x7FFFFFB).I(1).B(2).I(7).I(0).Bytes},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Message);
        const int Before = SharedCount();
        Tgx2DStorage T(0, 0);
        T.SetValue(3, 5, vtpString, Variant("before"));
        const std::string Held = SavedStore(T);
        const std::int32_t Rows = T.AllocRows();
        try {
            LoadStore(T, C.Bytes);
            ADD_FAILURE() << "no error";
        } catch (const EReadError& E) {
            EXPECT_EQ(std::string(E.what()).rfind(C.Message, 0), 0u) << E.what();
        }
        EXPECT_EQ(SavedStore(T), Held);
        EXPECT_EQ(T.AllocRows(), Rows);
        EXPECT_EQ(T.RowsHeld(), 1);
        EXPECT_EQ(SharedCount(), Before);
    }

    Tgx2DStorage T(0, 0);
    try {
        LoadStore(T, Row2(Data().I(1).B(3).I(0).I(0).I(0)));
        FAIL() << "picture number 0 was taken";
    } catch (const EListError& E) {
        EXPECT_STREQ(E.what(), "List index out of bounds (-1)");
    }
    EXPECT_EQ(T.AllocRows(), 0);
}

TEST(GridDataStream, ALargeRowNumberCostsOneRow) {
    const std::string Bytes = Data().I(0x7FFFFFB).I(1).B(2).I(7).I(0).I(0).Bytes;
    Tgx2DStorage T(0, 0);
    LoadStore(T, Bytes);
    EXPECT_EQ(T.GetValue(1, 0x7FFFFFB).AsInteger(), 7);
    EXPECT_EQ(T.MaxRowSet(), 0x7FFFFFB);
    EXPECT_EQ(T.RowsHeld(), 1);
    EXPECT_EQ(SavedStore(T), Bytes);
    // Rows still count and move as before.
    T.DeleteRows(1, 0x7FFFFFA);
    EXPECT_EQ(T.GetValue(1, 1).AsInteger(), 7);
    EXPECT_EQ(T.AllocRows(), 11);
}

TEST(GridDataStream, AnUnreadableImageLeavesTheStoreAsItWas) {
    Tgx2DStorage T(0, 0);
    T.SetValue(1, 1, vtpInteger, Variant(1));
    const int Before = SharedCount();
    const std::string Bytes =
        Data().I(1).I(2).B(3).I(1).B(3).I(1).I(0).I(1).Raw(std::string(64, 'x')).Bytes;
    EXPECT_ANY_THROW(LoadStore(T, Bytes));
    EXPECT_EQ(T.GetValueType(1, 1), vtpInteger);
    EXPECT_EQ(T.GetValueType(2, 1), vtpNone);
    EXPECT_EQ(SharedCount(), Before);
}

TEST(GridDataStream, APictureCellTheStreamOverwritesLeavesItsBitmapToTheOthers) {
    TBitmap A;
    A.SetSize(2, 1);
    // Row 1 comes twice: its picture cell becomes a number, and the picture
    // moves on to column 2.
    const std::string Bytes =
        Data().I(1).I(1).B(3).I(1).I(1).I(2).B(2).I(5).B(3).I(1).I(0).I(1).Raw(Image(A)).Bytes;
    const int Before = SharedCount();
    {
        Tgx2DStorage T(0, 0);
        LoadStore(T, Bytes);
        EXPECT_EQ(T.GetValue(1, 1).AsInteger(), 5);
        TBitmap* Read = BitmapAt(T, 2, 1);
        ASSERT_NE(Read, nullptr);
        EXPECT_EQ(Read->Width(), 2);
        EXPECT_EQ(SharedBitmapElement(Read)->RefCount, 1);
    }
    EXPECT_EQ(SharedCount(), Before);
}

TEST(GridDataStream, EveryCellKindRoundTripsAnEmptyPictureIncluded) {
    TBitmap Empty, Picture;
    Picture.SetSize(2, 1);
    Tgx2DStorage S(0, 0);
    S.SetValue(1, 1, vtpString, Variant("ab"));
    S.SetValue(2, 1, vtpInteger, Variant(-5));
    S.SetValue(3, 1, vtpPicture, VarFromObject(&Empty));
    S.SetValue(4, 1, vtpPictureName, Variant("list.7"));
    S.SetValue(5, 1, vtpNull, Null());
    S.SetValue(6, 1, vtpPicture, VarFromObject(&Picture));
    S.SetValue(1, 2, vtpPicture, VarFromObject(&Empty));
    const std::string Bytes = SavedStore(S);

    const int Before = SharedCount();
    {
        Tgx2DStorage T(0, 0);
        LoadStore(T, Bytes);
        EXPECT_EQ(T.GetValue(1, 1).AsString(), "ab");
        EXPECT_EQ(T.GetValue(2, 1).AsInteger(), -5);
        TBitmap* ReadEmpty = BitmapAt(T, 3, 1);
        ASSERT_NE(ReadEmpty, nullptr);
        EXPECT_TRUE(ReadEmpty->Empty());
        EXPECT_EQ(BitmapAt(T, 1, 2), ReadEmpty);
        EXPECT_EQ(T.GetValue(4, 1).AsString(), "list.7");
        EXPECT_TRUE(T.GetValue(5, 1).IsEmpty()); // a null cell stores nothing when read
        TBitmap* ReadPicture = BitmapAt(T, 6, 1);
        ASSERT_NE(ReadPicture, nullptr);
        EXPECT_EQ(ReadPicture->Width(), 2);
        S.ClearValue(5, 1);
        EXPECT_EQ(SavedStore(T), SavedStore(S));
    }
    EXPECT_EQ(SharedCount(), Before);
}

} // namespace
