#include "grid/foundation/CellStore.h"
#include "grid/foundation/CellStoreBitmaps.h"
#include "platform/gui/Graphics.h"
#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace grid;

namespace {

Variant Pic(TBitmap* Bitmap) {
    return VarFromObject(Bitmap);
}

// Fills columns 1..Count of Row with their own numbers.
void FillRow(Tgx2DStorage& S, int Row, int Count) {
    for (int Col = 1; Col <= Count; ++Col)
        S.SetValue(Col, Row, vtpInteger, Variant(Col));
}

TEST(CellStore, ValuesReadBackByType) {
    Tgx2DStorage S(0, 0);
    TBitmap Bitmap;
    const struct {
        TgxValueType Type;
        Variant In;
        TVarType OutType;
        Variant Out;
    } Cases[] = {
        {vtpString, Variant("text"), varString, Variant("text")},
        {vtpString, Variant(""), varString, Variant("")},
        {vtpString, Variant(12), varString, Variant("12")},
        {vtpInteger, Variant("-7"), varInteger, Variant(-7)},
        {vtpPictureName, Variant("img.3"), varString, Variant("img.3")},
        {vtpNull, Variant(1), varNull, Null()},
        {vtpNone, Variant(1), varEmpty, Unassigned()},
    };
    int Col = 0;
    for (const auto& C : Cases) {
        SCOPED_TRACE(++Col);
        S.SetValue(Col, 2, C.Type, C.In);
        EXPECT_EQ(S.GetValueType(Col, 2), C.Type);
        const Variant Got = S.GetValue(Col, 2);
        EXPECT_EQ(Got.Type(), C.OutType);
        if (!C.Out.IsEmpty() && !C.Out.IsNull()) {
            EXPECT_TRUE(Got == C.Out);
        }
    }
    S.SetValue(9, 2, vtpPicture, Pic(&Bitmap));
    EXPECT_EQ(VarToObject(S.GetValue(9, 2)), &Bitmap);

    // Outside the cells there is nothing, and asking allocates nothing.
    const std::pair<int, int> Outside[] = {{0, 2}, {-1, 2}, {1, -1}, {1, 500}, {5000, 2}};
    for (auto [C, R] : Outside) {
        EXPECT_TRUE(S.GetValue(C, R).IsEmpty());
        EXPECT_EQ(S.GetValueType(C, R), vtpNone);
    }
}

TEST(CellStore, UnassignedAllocatesNothingAndClearsATypedCell) {
    Tgx2DStorage S(0, 0);
    S.SetValue(3, 4, vtpString, Unassigned());
    EXPECT_EQ(S.AllocRows(), 0);
    S.SetValue(3, 4, vtpString, Variant("x"));
    S.SetValue(3, 4, vtpString, Unassigned());
    EXPECT_EQ(S.GetValueType(3, 4), vtpNone);
    EXPECT_EQ(S.MaxColValueSet(4), 0);
}

TEST(CellStore, RowsAndColumnsGrowInSteps) {
    Tgx2DStorage S(4, 5);
    S.SetValue(2, 3, vtpInteger, Variant(1));
    EXPECT_EQ(S.AllocRows(), 6);    // the expected rows and the backup row
    EXPECT_EQ(S.ColCapacity(3), 4); // the expected columns at once
    EXPECT_EQ(S.ColCount(3), 4);
    S.SetValue(7, 3, vtpInteger, Variant(1));
    EXPECT_EQ(S.ColCapacity(3), 17); // beyond them: ten to spare
    S.SetValue(1, 8, vtpInteger, Variant(1));
    EXPECT_EQ(S.AllocRows(), 18);
    EXPECT_EQ(S.MaxRowSet(), 8);
    EXPECT_EQ(S.MaxColValueSet(3), 7);
}

TEST(CellStore, ChangingATypeReleasesWhatTheCellHeld) {
    // Run under ASan: a text or count left behind shows as a leak.
    Tgx2DStorage S(0, 0);
    TBitmap Bitmap;
    S.SetValue(1, 1, vtpString, Variant("a"));
    S.SetValue(1, 1, vtpPictureName, Variant("b"));
    S.SetValue(1, 1, vtpPicture, Pic(&Bitmap));
    S.SetValue(1, 1, vtpString, Variant("c"));
    S.SetValue(1, 1, vtpNull, Variant("d"));
    EXPECT_EQ(S.GetValueType(1, 1), vtpNull);
    S.SetValue(1, 1, vtpString, Variant("e"));
    EXPECT_EQ(S.GetValue(1, 1).AsString(), "e");
}

TEST(CellStore, AFailedConversionLeavesAClearedCell) {
    Tgx2DStorage S(0, 0);
    TBitmap Bitmap;
    S.SetValue(1, 1, vtpPicture, Pic(&Bitmap));
    EXPECT_THROW(S.SetValue(1, 1, vtpInteger, Variant("abc")), EVariantTypeCastError);
    EXPECT_EQ(S.GetValueType(1, 1), vtpNone);
    // A number is no bitmap, and an object of another class is none either.
    EXPECT_THROW(S.SetValue(2, 1, vtpPicture, Variant(1234)), EVariantTypeCastError);
    TFont Font;
    EXPECT_THROW(S.SetValue(2, 1, vtpPicture, VarFromObject(&Font)), EVariantTypeCastError);
    EXPECT_EQ(S.GetValueType(2, 1), vtpNone);
}

TEST(CellStore, BadCoordinatesAndTypesAreRefused) {
    Tgx2DStorage S(0, 0);
    EXPECT_THROW(S.SetValue(0, 1, vtpInteger, Variant(1)), ERangeError);
    EXPECT_THROW(S.SetValue(1, -1, vtpInteger, Variant(1)), ERangeError);
    EXPECT_THROW(S.SetValue(MaxStoreIndex + 1, 1, vtpInteger, Variant(1)), ERangeError);
    EXPECT_THROW(S.SetValue(1, 1, static_cast<TgxValueType>(6), Variant(1)), ERangeError);
    EXPECT_EQ(S.AllocRows(), 0);
}

TEST(CellStore, DeleteColsKeepsAFewSpareSlotsOrReallocates) {
    const struct {
        int AllocCols, DropFirst, First, Last, Count, Capacity;
    } Cases[] = {
        // 12 columns, 2 dropped first: 10 columns in capacity 12.
        {12, 2, 2, 3, 8, 12},
        // 20 columns: 8 gone leaves 8 spare slots, too many to keep.
        {20, 0, 2, 9, 12, 12},
        // Deleting past the end stops at the row's last column.
        {12, 2, 9, 50, 8, 12},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Last);
        Tgx2DStorage S(C.AllocCols, 0);
        FillRow(S, 1, C.AllocCols);
        if (C.DropFirst) S.DeleteCols(1, C.DropFirst);
        const int Before = S.ColCount(1);
        S.DeleteCols(C.First, C.Last);
        EXPECT_EQ(S.ColCount(1), C.Count);
        EXPECT_EQ(S.ColCapacity(1), C.Capacity);
        // Columns after the deleted ones moved down.
        const int Shift = std::min(C.Last, Before) - C.First + 1;
        for (int Col = 1; Col <= C.Count; ++Col) {
            const int Old = Col < C.First ? Col : Col + Shift;
            EXPECT_EQ(S.GetValue(Col, 1).AsInteger(), Old + C.DropFirst) << Col;
        }
        // The vacated slots hold nothing once the row grows back into them.
        S.SetValue(C.Capacity, 1, vtpString, Variant("end"));
        for (int Col = C.Count + 1; Col < C.Capacity; ++Col)
            EXPECT_EQ(S.GetValueType(Col, 1), vtpNone) << Col;
    }
}

TEST(CellStore, DeleteColsReachesEveryRowAndFreesEmptiedOnes) {
    Tgx2DStorage S(0, 0);
    S.SetValue(2, 1, vtpString, Variant("keep"));
    S.SetValue(5, 1, vtpString, Variant("moves"));
    S.SetValue(1, 2, vtpString, Variant("short row"));
    S.BackupRow(1);
    S.DeleteCols(3, 4);
    EXPECT_EQ(S.GetValue(3, 1).AsString(), "moves");
    EXPECT_EQ(S.GetValue(3, 0).AsString(), "moves"); // the backup row too
    EXPECT_EQ(S.GetValue(1, 2).AsString(), "short row");
    S.DeleteCols(1, 100);
    EXPECT_EQ(S.MaxRowSet(), 0);
    EXPECT_EQ(S.ColCapacity(1), 0);
}

TEST(CellStore, DeleteRowsMovesLaterRowsDown) {
    Tgx2DStorage S(0, 0);
    for (int Row = 1; Row <= 6; ++Row)
        S.SetValue(1, Row, vtpInteger, Variant(Row));
    const int Alloc = S.AllocRows();
    S.DeleteRows(2, 3);
    EXPECT_EQ(S.AllocRows(), Alloc - 2);
    EXPECT_EQ(S.GetValue(1, 1).AsInteger(), 1);
    EXPECT_EQ(S.GetValue(1, 2).AsInteger(), 4);
    EXPECT_EQ(S.MaxRowSet(), 4);
    S.DeleteRows(3, 1000); // cut at the last row
    EXPECT_EQ(S.AllocRows(), 3);
    EXPECT_EQ(S.MaxRowSet(), 2);
    S.DeleteRows(5, 9); // nothing there
    S.DeleteRows(2, 1); // empty range
    EXPECT_EQ(S.AllocRows(), 3);
}

TEST(CellStore, BackupAndRestoreARow) {
    Tgx2DStorage S(0, 0);
    S.SetValue(1, 2, vtpString, Variant("before"));
    S.SetValue(2, 2, vtpInteger, Variant(5));
    S.BackupRow(2);
    S.SetValue(1, 2, vtpString, Variant("edited"));
    S.SetValue(4, 2, vtpInteger, Variant(9));
    S.SetValue(30, 2, vtpInteger, Variant(9)); // wider than the backup
    S.RestoreBackupRow(2);
    EXPECT_EQ(S.GetValue(1, 2).AsString(), "before");
    EXPECT_EQ(S.GetValue(2, 2).AsInteger(), 5);
    EXPECT_EQ(S.GetValueType(4, 2), vtpNone);
    EXPECT_EQ(S.MaxColValueSet(2), 2);
    EXPECT_EQ(S.ColCount(0), 0); // the backup is gone

    // A row that had no cells comes back empty.
    S.BackupRow(3);
    S.SetValue(1, 3, vtpString, Variant("new"));
    S.RestoreBackupRow(3);
    EXPECT_EQ(S.MaxColValueSet(3), 0);

    S.BackupRow(2);
    S.ClearBackupRow();
    EXPECT_EQ(S.ColCount(0), 0);
    EXPECT_EQ(S.GetValue(1, 2).AsString(), "before");
}

TEST(CellStore, AssignCopiesDataRowsButNotTheBackup) {
    Tgx2DStorage Source(0, 0);
    Source.SetDesignMode(true);
    Source.SetValue(3, 1, vtpString, Variant("a"));
    Source.SetValue(1, 2, vtpNull, Variant(0));
    Source.BackupRow(1);
    Tgx2DStorage Target(0, 0);
    for (int Row = 1; Row <= 5; ++Row)
        Target.SetValue(2, Row, vtpInteger, Variant(Row));
    Target.Assign(&Source);
    EXPECT_TRUE(Target.DesignMode());
    EXPECT_EQ(Target.GetValue(3, 1).AsString(), "a");
    EXPECT_TRUE(Target.GetValue(1, 2).IsNull());
    EXPECT_EQ(Target.GetValueType(2, 1), vtpNone);
    EXPECT_EQ(Target.MaxRowSet(), 2);
    EXPECT_EQ(Target.ColCount(0), 0);

    Target.Assign(&Target); // no change, nothing lost
    Target.Assign(nullptr);
    EXPECT_EQ(Target.GetValue(3, 1).AsString(), "a");

    Target.Assign(std::make_unique<Tgx2DStorage>(0, 0).get());
    EXPECT_EQ(Target.AllocRows(), 0);
}

TEST(CellStore, ClearColAndClear) {
    Tgx2DStorage S(0, 0);
    FillRow(S, 1, 3);
    FillRow(S, 2, 1);
    S.BackupRow(1);
    S.ClearCol(2);
    EXPECT_EQ(S.GetValueType(2, 1), vtpNone);
    EXPECT_EQ(S.GetValueType(2, 0), vtpInteger); // the backup row keeps it
    EXPECT_EQ(S.GetValueType(3, 1), vtpInteger);
    ASSERT_EQ(S.GetValueType(1, 2), vtpInteger); // row 2 is the row found last
    S.Clear(2, false);
    EXPECT_EQ(S.MaxRowSet(), 1);
    EXPECT_EQ(S.GetValueType(1, 2), vtpNone);
    S.Clear(1, false); // row 1 means the backup row too
    EXPECT_EQ(S.MaxRowSet(), 0);
    EXPECT_EQ(S.ColCount(0), 0);
    EXPECT_GT(S.AllocRows(), 0);
    S.Clear(0, true);
    EXPECT_EQ(S.AllocRows(), 0);
}

// Rows of short texts live in the store's chunks, a row with a long text in
// a block of its own; clearing all rows, some or none gives each back once
// (the sanitizer build reports a leak or a second free) and leaves the store
// usable.
TEST(CellStore, ClearingGivesBackRowsOfEverySize) {
    const AnsiString Long(2000, 'x');
    const std::pair<int, bool> Clears[] = {{0, true}, {1, false}, {40, false}, {100, true}};
    for (const auto& [From, Resize] : Clears) {
        SCOPED_TRACE(From);
        Tgx2DStorage S(4, 0);
        for (int Row = 1; Row <= 80; ++Row)
            S.SetValue(1, Row, vtpString, Variant(Row % 7 == 0 ? Long : AnsiString("short")));
        S.Clear(From, Resize);
        const int Kept = From <= 1 ? 0 : std::min(From - 1, 80);
        EXPECT_EQ(S.MaxRowSet(), Kept);
        S.SetValue(2, 70, vtpString, Variant(Long));
        S.SetValue(1, 71, vtpString, Variant("again"));
        EXPECT_EQ(S.GetValue(2, 70).AsString(), Long);
        EXPECT_EQ(S.GetValue(1, 71).AsString(), "again");
        if (Kept >= 7) EXPECT_EQ(S.GetValue(1, 7).AsString(), Long);
    }
}

TEST(CellStoreBitmaps, SharedBitmapsAreCountedPerCellAndFreedWithTheLast) {
    TgxBitmapElement* Element = CreateSharedBitmap();
    TBitmap* Shared = Element->Bitmap;
    TBitmap Own;
    {
        Tgx2DStorage S(0, 0);
        S.SetValue(1, 1, vtpPicture, Pic(Shared));
        // The same bitmap again: no new count, and the only holder doesn't let go.
        S.SetValue(1, 1, vtpPicture, Pic(Shared));
        ASSERT_NE(SharedBitmapElement(Shared), nullptr);
        S.SetValue(2, 1, vtpPicture, Pic(Shared));
        S.SetValue(1, 2, vtpPicture, Pic(&Own));
        EXPECT_EQ(SharedBitmapElement(Shared)->RefCount, 2);
        EXPECT_EQ(SharedBitmapElement(&Own), nullptr);
        S.BackupRow(1);
        EXPECT_EQ(SharedBitmapElement(Shared)->RefCount, 4);
        S.ClearBackupRow();
        S.ClearValue(1, 1);
        EXPECT_EQ(SharedBitmapElement(Shared)->RefCount, 1);
        S.ClearValue(1, 2); // the program's bitmap stays the program's
        S.SetValue(2, 1, vtpString, Variant("no picture"));
        EXPECT_EQ(SharedBitmapElement(Shared), nullptr);
    }
    // A store that goes away gives back its counts.
    Element = CreateSharedBitmap();
    Shared = Element->Bitmap;
    {
        Tgx2DStorage S(0, 0);
        S.SetValue(1, 1, vtpPicture, Pic(Shared));
        S.SetValue(1, 2, vtpPicture, Pic(Shared));
        S.DeleteRows(1, 1);
        EXPECT_EQ(SharedBitmapElement(Shared)->RefCount, 1);
    }
    EXPECT_EQ(SharedBitmapElement(Shared), nullptr);
}

TEST(CellStoreBitmaps, ASetKeysByIdentity) {
    TgxBitmapSet Set;
    TBitmap A, B;
    TgxBitmapElement* EA = Set.AddBitmap(&A);
    EXPECT_EQ(Set.AddBitmap(&A), EA);
    Set.AddBitmap(&B)->RefCount = 2;
    EXPECT_EQ(Set.Count(), 2);
    EXPECT_EQ(Set.GetBitmap(&B)->Bitmap, &B);
    Set.RemoveBitmap(&B);
    EXPECT_NE(Set.GetBitmap(&B), nullptr);
    Set.RemoveBitmap(&B);
    EXPECT_EQ(Set.GetBitmap(&B), nullptr);
    Set.RemoveBitmap(&B); // no longer held: ignored
    EXPECT_EQ(Set.Count(), 1);
    EXPECT_TRUE(Set.CheckBalance());
}

} // namespace
