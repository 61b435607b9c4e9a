// Cell values read, written and shown through the grid's public calls, with
// a shown storing grid and real keys for the editing paths.
#include "GridEditFixture.h"

#include "grid/foundation/CustomGrid.h"
#include "grid/model/BaseGrid.h"

#include <gtest/gtest.h>

using namespace grid;

namespace {

class CellValuesThird : public GridEditFixture {};

TEST_F(CellValuesThird, EditedCurrentCellReadsTheEditorValueWithoutLoadEvents) {
    Grid->SetCellValue(1, 1, Variant("old"));
    GoTo(1, 1);
    Type("ab");
    int Loaded = 0;
    Grid->OnCellLoaded = [&](TObject*, int, int, Variant&) { ++Loaded; };
    const Variant V = Grid->GetCellValue(1, 1);
    EXPECT_EQ(V.AsString(), EditorText());
    EXPECT_NE(V.AsString(), AnsiString("old"));
    EXPECT_EQ(Loaded, 0);
}

TEST_F(CellValuesThird, OutOfRangeCellsReadUnassignedAndIgnoreWrites) {
    const int Cols = Grid->GetGridColCount(), Rows = Grid->GetGridRowCount();
    const std::pair<int, int> Outside[] = {{0, 1}, {1, 0}, {Cols + 1, 1}, {1, Rows + 1}, {-1, -1}};
    for (auto [C, R] : Outside) {
        Grid->SetCellValue(C, R, Variant("x"));
        Grid->SetCellPText(C, R, "y");
        EXPECT_TRUE(Grid->GetCellValue(C, R).IsEmpty()) << C << "," << R;
    }
}

TEST_F(CellValuesThird, StoredValuesAreConvertedByTheCellsType) {
    Grid->SetCellValue(2, 2, Variant(42));
    const Variant T = Grid->GetDataValue(2, 2, ctText);
    EXPECT_EQ(T.Type(), varString);
    EXPECT_EQ(T.AsString(), AnsiString("42"));
    EXPECT_EQ(Grid->GetCellValue(2, 2).AsString(), AnsiString("42"));
}

TEST_F(CellValuesThird, ReadingInsideTheLoadEventIsRefusedByName) {
    Grid->SetCellValue(1, 2, Variant("a"));
    std::string Message;
    Grid->OnCellLoaded = [&](TObject*, int C, int, Variant&) {
        if (C != 1) return;
        try {
            Grid->GetCellValue(2, 2);
        } catch (const EInvalidGridOperation& E) {
            Message = E.Message.c_str();
        }
    };
    Grid->GetCellValue(1, 2);
    EXPECT_EQ(Message, "Grid1: Cannot get Cell property value while in OnCellLoaded event");
    // The read flag is down again: a later read works.
    Grid->OnCellLoaded = nullptr;
    EXPECT_EQ(Grid->GetCellValue(1, 2).AsString(), AnsiString("a"));
}

TEST_F(CellValuesThird, TheLoadEventSuppliesTheValueRead) {
    Grid->SetStoreData(false);
    Grid->OnCellLoaded = [](TObject*, int C, int R, Variant& V) {
        V = Variant(AnsiString("c") + AnsiString(std::to_string(C).c_str()) + "r" +
                    AnsiString(std::to_string(R).c_str()));
    };
    EXPECT_EQ(Grid->GetCellValue(3, 4).AsString(), AnsiString("c3r4"));
}

TEST_F(CellValuesThird, CheckStatesAndEmptyValuesByType) {
    struct Case {
        Variant In;
        bool Same;
    } Cases[] = {{Variant(1), true},          {Variant((unsigned char)0), true},
                 {Null(), true},              {Variant("Yes"), true},
                 {Variant(TDateTime(45000.0)), false}, {Variant(2.5), false},
                 {Variant(true), false}};
    for (const auto& C : Cases) {
        const Variant Out = TgxBaseGrid::GetCheckBoxValue(C.In);
        if (C.Same)
            EXPECT_EQ(Out.Type(), C.In.Type());
        else
            EXPECT_EQ(Out.AsInteger(), 2) << C.In.Type();
    }
    EXPECT_EQ(TgxBaseGrid::EmptyCellValue(ctText).Type(), varString);
    EXPECT_EQ(TgxBaseGrid::EmptyCellValue(ctText).AsString(), AnsiString());
    EXPECT_EQ(TgxBaseGrid::EmptyCellValue(ctCheck).AsInteger(), 2);
    EXPECT_EQ(TgxBaseGrid::EmptyCellValue(ctPicture).AsInteger(), 0);
    EXPECT_TRUE(TgxBaseGrid::EmptyCellValue(ctNone).IsEmpty());
}

TEST_F(CellValuesThird, StartEditDisableNestsAndNeverGoesBelowZero) {
    Grid->SetEnableStartEdit(false);
    Grid->SetEnableStartEdit(false);
    Grid->SetEnableStartEdit(true);
    EXPECT_FALSE(Grid->GetEnableStartEdit());
    Grid->SetEnableStartEdit(true);
    EXPECT_TRUE(Grid->GetEnableStartEdit());
    Grid->SetEnableStartEdit(true);
    Grid->SetEnableStartEdit(false);
    EXPECT_FALSE(Grid->GetEnableStartEdit());
    Grid->SetEnableStartEdit(true);
    // No typing goes into the cell while disabled.
    Grid->SetCellValue(1, 1, Variant("keep"));
    GoTo(1, 1);
    Grid->SetEnableStartEdit(false);
    Type("z");
    Grid->SetEnableStartEdit(true);
    EXPECT_EQ(Stored(1, 1), AnsiString("keep"));
}

TEST_F(CellValuesThird, StateTestsFollowModeAndStatus) {
    struct Case {
        TgxGridMode Mode;
        bool Edit, Grid;
    } Cases[] = {{gmEdit, true, true},       {gmEditInsert, true, true},
                 {gmBrowse, false, true},    {gmListBox, false, false}};
    for (const auto& C : Cases) {
        Grid->SetGridMode(C.Mode);
        EXPECT_EQ(Grid->InEditMode(), C.Edit) << int(C.Mode);
        EXPECT_EQ(Grid->InGridMode(), C.Grid) << int(C.Mode);
        EXPECT_EQ(Grid->InEditState(), C.Edit) << int(C.Mode);
        EXPECT_EQ(Grid->InGridState(), C.Grid) << int(C.Mode);
    }
    Grid->SetGridMode(gmListBox);
    Grid->SetRowSelectMode(rsSingle);
    EXPECT_TRUE(Grid->InRowSelectMode());
    EXPECT_FALSE(Grid->CanSkipReadOnly());
    Grid->SetGridMode(gmEdit);
    EXPECT_FALSE(Grid->InRowSelectMode());
    Grid->SetGridRowCount(0);
    EXPECT_FALSE(Grid->InEditState());
    EXPECT_FALSE(Grid->InGridState());
    EXPECT_TRUE(Grid->InEditMode());
}

TEST_F(CellValuesThird, WritingTheCurrentCellReloadsItsEditor) {
    Grid->SetCellValue(2, 3, Variant("one"));
    GoTo(2, 3);
    Grid->SetCellValue(2, 3, Variant("two"));
    EXPECT_EQ(Stored(2, 3), AnsiString("two"));
    EXPECT_EQ(EditorText(), AnsiString("two"));
    Grid->SetCellPText(2, 3, "three");
    EXPECT_EQ(Stored(2, 3), AnsiString("three"));
}

TEST_F(CellValuesThird, ProgramMoveOfTheCurrentCellEndsAPendingEdit) {
    LogEvents();
    GoTo(1, 1);
    Type("q");
    RefuseCell = true;
    GoTo(2, 2);
    EXPECT_EQ(At(), std::make_pair(1, 1));
    RefuseCell = false;
    GoTo(2, 2);
    EXPECT_EQ(At(), std::make_pair(2, 2));
    EXPECT_EQ(Stored(1, 1), AnsiString("q"));
}

} // namespace
