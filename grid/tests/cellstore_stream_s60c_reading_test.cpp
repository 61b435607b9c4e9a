// The cell store and its "Data" stream, byte for byte, as a grid's form
// writes and reads it.
#include "grid/foundation/CellStore.h"
#include "grid/foundation/CellStoreBitmaps.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/QtApp.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Lists.h"
#include "platform/rtl/Streams.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace grid;
using ByteVector = std::vector<unsigned char>;

// Builds the expected stream the way the format reads.
struct Expect {
    ByteVector B;
    Expect& I(std::int32_t V) {
        for (int K = 0; K < 4; ++K)
            B.push_back(static_cast<unsigned char>(static_cast<std::uint32_t>(V) >> (8 * K)));
        return *this;
    }
    Expect& T(TgxValueType V) {
        B.push_back(static_cast<unsigned char>(V));
        return *this;
    }
    Expect& S(const std::string& Text) {
        I(static_cast<std::int32_t>(Text.size()));
        B.insert(B.end(), Text.begin(), Text.end());
        return *this;
    }
};

ByteVector Save(const Tgx2DStorage& Store) {
    TMemoryStream M;
    Store.SaveToStream(&M);
    const auto* P = static_cast<const unsigned char*>(M.Memory());
    return ByteVector(P, P + M.GetSize());
}

void LoadBytes(Tgx2DStorage& Store, const ByteVector& Data, const TList* Map = nullptr) {
    TMemoryStream M;
    M.Write(Data.data(), static_cast<int>(Data.size()));
    M.SetPosition(0);
    Store.LoadFromStream(&M, Map);
}

Variant Text(const char* S) {
    return Variant(AnsiString(S));
}

TEST(CellStoreStreamReading, WritesEachKindOfCellAsTheFormatSays) {
    Tgx2DStorage Store(0, 0);
    EXPECT_EQ(Save(Store), Expect().I(0).I(0).B);

    Store.SetValue(1, 2, vtpString, Text("ab"));
    // column 2 left as vtpNone in the middle
    Store.SetValue(3, 2, vtpInteger, Variant(-7));
    Store.SetValue(4, 2, vtpNull, Null());
    Store.SetValue(5, 2, vtpString, Text(""));
    Store.SetValue(6, 2, vtpPictureName, Text("pic"));
    // A row once wider, cleared back to column 2.
    Store.SetValue(1, 5, vtpInteger, Variant(1));
    Store.SetValue(2, 5, vtpInteger, Variant(2));
    Store.SetValue(4, 5, vtpInteger, Variant(4));
    Store.SetValue(4, 5, vtpNone, Unassigned());
    // A row whose only cell was cleared is not written; nor the backup row.
    Store.SetValue(1, 7, vtpString, Text("gone"));
    Store.ClearValue(1, 7);
    Store.SetValue(1, 0, vtpString, Text("backup"));

    const ByteVector Want = Expect()
                           .I(2).I(6)
                           .T(vtpString).S("ab")
                           .T(vtpNone)
                           .T(vtpInteger).I(-7)
                           .T(vtpNull)
                           .T(vtpString).S("")
                           .T(vtpPictureName).S("pic")
                           .I(5).I(2)
                           .T(vtpInteger).I(1)
                           .T(vtpInteger).I(2)
                           .I(0)
                           .I(0)
                           .B;
    EXPECT_EQ(Save(Store), Want);

    // Read back without a map: the Null cell stays unset, the empty text is a text.
    Tgx2DStorage Back(0, 0);
    Back.SetValue(9, 9, vtpInteger, Variant(9));
    LoadBytes(Back, Want);
    EXPECT_EQ(Back.GetValueType(9, 9), vtpNone);
    EXPECT_EQ(Back.GetValue(1, 2).AsString(), "ab");
    EXPECT_EQ(Back.GetValue(3, 2).AsInteger(), -7);
    EXPECT_EQ(Back.GetValueType(4, 2), vtpNone);
    EXPECT_TRUE(Back.GetValue(4, 2).IsEmpty());
    EXPECT_EQ(Back.GetValueType(5, 2), vtpString);
    EXPECT_EQ(Back.GetValue(5, 2).AsString(), "");
    EXPECT_EQ(Back.GetValueType(6, 2), vtpPictureName);
    EXPECT_EQ(Back.GetValue(2, 5).AsInteger(), 2);
    EXPECT_EQ(Back.GetValueType(1, 0), vtpNone);

    // Eight zero bytes empty a store.
    LoadBytes(Back, Expect().I(0).I(0).B);
    EXPECT_EQ(Back.MaxRowSet(), 0);
    EXPECT_EQ(Save(Back), Expect().I(0).I(0).B);
}

TEST(CellStoreStreamReading, AColumnMapPlacesDropsAndKeeps) {
    Tgx2DStorage Store(0, 0);
    Store.SetValue(5, 1, vtpString, Text("kept"));
    Store.SetValue(7, 1, vtpString, Text("cleared"));
    TList Map;
    Map.Add(reinterpret_cast<void*>(std::intptr_t{7})); // stream column 1 -> 7
    Map.Add(reinterpret_cast<void*>(std::intptr_t{0})); // stream column 2 dropped
    const ByteVector Data = Expect()
                           .I(1).I(3)
                           .T(vtpInteger).I(11)
                           .T(vtpString).S("dropped")
                           .T(vtpInteger).I(33)
                           .I(-4).I(1).T(vtpInteger).I(44) // a row below 1 is read and dropped
                           .I(0).I(0)
                           .B;
    LoadBytes(Store, Data, &Map);
    EXPECT_EQ(Store.GetValue(7, 1).AsInteger(), 11);
    EXPECT_EQ(Store.GetValueType(2, 1), vtpNone);
    EXPECT_EQ(Store.GetValue(3, 1).AsInteger(), 33);
    EXPECT_EQ(Store.GetValue(5, 1).AsString(), "kept");
}

TEST(CellStoreStreamReading, ABitmapShownInManyCellsIsWrittenOnceAndSharedWhenRead) {
    EnsureQtApplication();
    TBitmap A, B;
    A.SetSize(2, 1);
    A.ScanLine(0)[0] = 0x00FF0000;
    B.SetSize(1, 1);
    B.ScanLine(0)[0] = 0x000000FF;
    auto Store = std::make_unique<Tgx2DStorage>(0, 0);
    Store->SetValue(1, 1, vtpPicture, VarFromObject(&A));
    Store->SetValue(2, 1, vtpPicture, VarFromObject(&A));
    Store->SetValue(1, 2, vtpPicture, VarFromObject(&B));
    Store->SetValue(2, 2, vtpPicture, VarFromObject(&A));
    const ByteVector Data = Save(*Store);
    ASSERT_GT(Data.size(), 8u);
    // Cells: row 1 pictures 1,1; row 2 pictures 2,1.
    const ByteVector Head = Expect()
                           .I(1).I(2).T(vtpPicture).I(1).T(vtpPicture).I(1)
                           .I(2).I(2).T(vtpPicture).I(2).T(vtpPicture).I(1)
                           .I(0).I(2)
                           .B;
    EXPECT_TRUE(std::equal(Head.begin(), Head.end(), Data.begin()));

    // A program's bitmap is never the store's to free.
    Store.reset();
    EXPECT_EQ(A.Width(), 2);

    Tgx2DStorage Back(0, 0);
    LoadBytes(Back, Data);
    auto* PA = dynamic_cast<TBitmap*>(VarToObject(Back.GetValue(1, 1)));
    auto* PB = dynamic_cast<TBitmap*>(VarToObject(Back.GetValue(1, 2)));
    ASSERT_NE(PA, nullptr);
    ASSERT_NE(PB, nullptr);
    EXPECT_EQ(VarToObject(Back.GetValue(2, 1)), PA);
    EXPECT_EQ(VarToObject(Back.GetValue(2, 2)), PA);
    EXPECT_EQ(PA->Width(), 2);
    EXPECT_EQ(PA->ScanLine(0)[0] & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(PB->ScanLine(0)[0] & 0xFFFFFF, 0x0000FFu);
    ASSERT_NE(SharedBitmapElement(PA), nullptr);
    EXPECT_EQ(SharedBitmapElement(PA)->RefCount, 3);

    // Clearing the last cell that shows a read bitmap frees it.
    Back.ClearValue(1, 2);
    EXPECT_EQ(SharedBitmapElement(PB), nullptr);
    Back.SetValue(1, 1, vtpInteger, Variant(1));
    Back.DeleteCols(1, 2);
    EXPECT_EQ(SharedBitmapElement(PA), nullptr);
}

// A damaged stream fails with an error and leaves the store as it was:
// a form that cannot be read loses none of the values the grid held.
TEST(CellStoreStreamReading, ADamagedStreamFailsAndLeavesTheStoreAsItWas) {
    EnsureQtApplication();
    struct Case {
        const char* Name;
        ByteVector Data;
    };
    const Case Cases[] = {
        {"cut in a text", Expect().I(1).I(1).T(vtpString).S("ok").I(2).I(1).T(vtpString).I(50).B},
        {"cut in a count", Expect().I(1).I(1).T(vtpString).S("ok").I(2).B},
        {"picture number 0", Expect().I(1).I(1).T(vtpString).S("ok").I(2).I(1).T(vtpPicture).I(0).I(0).I(0).B},
        {"picture number below 0", Expect().I(1).I(1).T(vtpString).S("ok").I(2).I(1).T(vtpPicture).I(-3).I(0).I(0).B},
        {"text length below 0", Expect().I(1).I(1).T(vtpString).S("ok").I(2).I(1).T(vtpString).I(-1).I(0).I(0).B},
        {"text longer than the stream", Expect().I(1).I(1).T(vtpString).S("ok").I(2).I(1).T(vtpString).I(0x7FFFFFFF).I(0).I(0).B},
        {"column count beyond the stream", Expect().I(1).I(1).T(vtpString).S("ok").I(2).I(0x7FFFFFFF).T(vtpNull).I(0).I(0).B},
        {"bitmap count beyond the stream", Expect().I(1).I(1).T(vtpString).S("ok").I(0).I(0x7FFFFFFF).B},
        {"no bitmap image", Expect().I(1).I(1).T(vtpString).S("ok").I(2).I(1).T(vtpPicture).I(1).I(0).I(1).B},
        {"bad bitmap image", Expect().I(1).I(1).T(vtpString).S("ok").I(2).I(1).T(vtpPicture).I(1).I(0).I(1).I(0x12345678).I(0).B},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        Tgx2DStorage Store(0, 0);
        Store.SetValue(1, 1, vtpString, Text("before"));
        EXPECT_ANY_THROW(LoadBytes(Store, C.Data));
        EXPECT_EQ(Store.GetValue(1, 1).AsString(), "before");
        EXPECT_EQ(Store.MaxRowSet(), 1);
    }
}

int SharedBitmapCount() {
    return SharedBitmaps() ? SharedBitmaps()->Count() : 0;
}

// Pictures a load makes but no kept cell holds are given back, whether the
// load ends well or not; an empty bitmap makes the round trip too.
TEST(CellStoreStreamReading, PicturesNoCellKeepsAreGivenBack) {
    EnsureQtApplication();
    TBitmap Empty, Dot;
    Dot.SetSize(1, 1);
    ByteVector Images;
    {
        Tgx2DStorage Source(0, 0);
        Source.SetValue(1, 1, vtpPicture, VarFromObject(&Empty));
        Source.SetValue(2, 1, vtpPicture, VarFromObject(&Dot));
        Images = Save(Source);
    }
    const int Before = SharedBitmapCount();
    {
        Tgx2DStorage Back(0, 0);
        LoadBytes(Back, Images);
        auto* Read = dynamic_cast<TBitmap*>(VarToObject(Back.GetValue(1, 1)));
        ASSERT_NE(Read, nullptr);
        EXPECT_TRUE(Read->Empty());
        EXPECT_EQ(SharedBitmapCount(), Before + 2);
    }
    EXPECT_EQ(SharedBitmapCount(), Before);

    TList Map;
    Map.Add(reinterpret_cast<void*>(std::intptr_t{0}));
    Map.Add(reinterpret_cast<void*>(std::intptr_t{0}));
    Tgx2DStorage Dropped(0, 0);
    LoadBytes(Dropped, Images, &Map);
    EXPECT_EQ(Dropped.MaxRowSet(), 0);
    EXPECT_EQ(SharedBitmapCount(), Before);

    ByteVector Cut(Images.begin(), Images.end() - 3);
    EXPECT_ANY_THROW(LoadBytes(Dropped, Cut));
    EXPECT_EQ(SharedBitmapCount(), Before);
}

TEST(CellStoreStreamReading, UnassignedAllocatesNothingAndClearsATypedCell) {
    Tgx2DStorage Store(0, 0);
    Store.SetValue(4, 4, vtpString, Unassigned());
    EXPECT_EQ(Store.AllocRows(), 0);
    Store.SetValue(4, 4, vtpString, Text("x"));
    Store.SetValue(4, 4, vtpString, Unassigned());
    EXPECT_EQ(Store.GetValueType(4, 4), vtpNone);
    EXPECT_EQ(Store.MaxColValueSet(4), 0);
}

TEST(CellStoreStreamReading, DeletingColumnsKeepsFewSpareSlotsAndFreesMany) {
    struct Case {
        std::int32_t Cols, First, Last, WantCount, WantCapacity;
    };
    const Case Cases[] = {
        {12, 2, 3, 10, 12}, // 2 spare: kept
        {20, 2, 10, 11, 11}, // 9 spare: given back
        {10, 9, 15, 8, 10},  // cut at the row's end
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Cols * 100 + C.Last);
        Tgx2DStorage Store(0, 0);
        Store.ResizeRows(3);
        Store.ResizeRowCols(1, C.Cols);
        for (std::int32_t Col = 1; Col <= C.Cols; ++Col)
            Store.SetValue(Col, 1, vtpInteger, Variant(Col));
        Store.DeleteCols(C.First, C.Last);
        EXPECT_EQ(Store.ColCount(1), C.WantCount);
        EXPECT_EQ(Store.ColCapacity(1), C.WantCapacity);
        EXPECT_EQ(Store.GetValue(C.First, 1).IsEmpty(), C.First > C.WantCount);
        if (C.First <= C.WantCount)
            EXPECT_EQ(Store.GetValue(C.First, 1).AsInteger(), C.Last + 1);
        EXPECT_TRUE(Store.GetValue(C.WantCount + 1, 1).IsEmpty());
    }
}

TEST(CellStoreStreamReading, RowsEditedMoveAndCopyAsWholeRows) {
    Tgx2DStorage Store(0, 0);
    Store.SetValue(1, 1, vtpString, Text("r1"));
    Store.SetValue(2, 3, vtpString, Text("r3"));
    Store.SetValue(1, 4, vtpInteger, Variant(4));

    // Restoring the backup of a row that had no cells empties it again.
    Store.BackupRow(2);
    Store.SetValue(1, 2, vtpString, Text("typed"));
    Store.RestoreBackupRow(2);
    EXPECT_EQ(Store.GetValueType(1, 2), vtpNone);
    EXPECT_EQ(Store.MaxColValueSet(0), 0);

    // And of a row with cells brings them back.
    Store.BackupRow(3);
    Store.SetValue(2, 3, vtpInteger, Variant(0));
    Store.SetValue(5, 3, vtpInteger, Variant(5));
    Store.RestoreBackupRow(3);
    EXPECT_EQ(Store.GetValue(2, 3).AsString(), "r3");
    EXPECT_EQ(Store.GetValueType(5, 3), vtpNone);

    Store.DeleteRows(2, 3);
    EXPECT_EQ(Store.GetValue(1, 2).AsInteger(), 4);
    EXPECT_EQ(Store.MaxRowSet(), 2);

    Tgx2DStorage Copy(0, 0);
    Copy.SetValue(1, 9, vtpString, Text("old"));
    Store.SetDesignMode(true);
    Store.BackupRow(1);
    Copy.Assign(&Store);
    EXPECT_TRUE(Copy.DesignMode());
    EXPECT_EQ(Copy.GetValue(1, 1).AsString(), "r1");
    EXPECT_EQ(Copy.GetValue(1, 2).AsInteger(), 4);
    EXPECT_EQ(Copy.GetValueType(1, 9), vtpNone);
    EXPECT_EQ(Copy.GetValueType(1, 0), vtpNone);
    EXPECT_EQ(Save(Copy), Save(Store));
}

TEST(CellStoreStreamReading, AValueThatCannotBecomeTheTypeFailsAfterClearingTheCell) {
    Tgx2DStorage Store(0, 0);
    Store.SetValue(2, 2, vtpString, Text("text"));
    EXPECT_ANY_THROW(Store.SetValue(2, 2, vtpInteger, Text("not a number")));
    EXPECT_NE(Store.GetValueType(2, 2), vtpString);
}

} // namespace

namespace {

// Rows and columns come in steps: the expected size first, then ten beyond
// the one wanted.
TEST(CellStoreStreamReading, RowsAndColumnsGrowInSteps) {
    Tgx2DStorage Store(10, 100);
    Store.SetValue(1, 3, vtpInteger, Variant(1));
    EXPECT_EQ(Store.AllocRows(), 101);
    EXPECT_EQ(Store.ColCount(3), 10);
    EXPECT_EQ(Store.MaxColValueSet(3), 1);
    Store.SetValue(12, 3, vtpInteger, Variant(12));
    EXPECT_EQ(Store.ColCount(3), 22);
    Store.SetValue(1, 500, vtpInteger, Variant(1));
    EXPECT_EQ(Store.AllocRows(), 510);

    // A row whose cells were cleared one by one still has its columns.
    Store.ClearValue(1, 500);
    EXPECT_EQ(Store.MaxRowSet(), 500);
    Store.ClearRow(500, 0);
    EXPECT_EQ(Store.MaxRowSet(), 3);

    Store.SetValue(1, 0, vtpInteger, Variant(0));
    Store.Clear(1, true);
    EXPECT_EQ(Store.GetValueType(1, 0), vtpNone);
    EXPECT_EQ(Store.MaxRowSet(), 0);
    EXPECT_EQ(Store.AllocRows(), 0);
}

} // namespace
