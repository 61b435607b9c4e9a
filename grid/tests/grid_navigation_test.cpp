// Moving the current cell: the reading-order searches, moving off a column
// or row that went out of use, and making a data cell current.
#include "GridModelFixture.h"
#include "grid/model/Columns.h"

#include <vector>

using namespace grid;

namespace {

class GridNavigation : public GridModelTest {
protected:
    void SetUp() override {
        GridModelTest::SetUp();
        Grid->SetGridColCount(6);
        Grid->SetGridRowCount(5);
    }
    void Hide(int DisplayCol) { Grid->GetCol(Grid->GetDataCol(DisplayCol))->SetVisible(false); }
    void ReadOnly(int DisplayCol) {
        Grid->GetCol(Grid->GetDataCol(DisplayCol))->SetReadOnly(true);
    }
};

struct TMoveCase {
    const char* Name;
    std::vector<int> Hidden;
    std::vector<int> ReadOnly;
    int From;
    bool SkipReadOnly;
    int Expected;
};

} // namespace

TEST_F(GridNavigation, MoveToNewColTriesRightThenLeftThenTheLeftmost) {
    const TMoveCase Cases[] = {
        {"the column itself", {}, {}, 3, true, 3},
        {"hidden: the next one right", {3}, {}, 3, true, 4},
        {"hidden to the end: the next one left", {3, 4, 5, 6}, {}, 4, true, 2},
        {"read-only and skipped", {}, {3}, 3, true, 4},
        {"read-only, not skipped", {}, {3}, 3, false, 3},
        {"beyond the last column: the last", {}, {}, 7, true, 6},
        {"only read-only ones left: the leftmost", {1, 2, 3}, {4, 5, 6}, 2, true, 4},
        {"every column hidden", {1, 2, 3, 4, 5, 6}, {}, 3, true, 0},
    };
    for (const TMoveCase& Case : Cases) {
        SetUp();
        for (int C : Case.ReadOnly)
            ReadOnly(C);
        for (int C : Case.Hidden)
            Hide(C);
        Grid->MoveToNewCol(Case.From, false, Case.SkipReadOnly, false);
        EXPECT_EQ(Grid->Col(), Case.Expected) << Case.Name;
        EXPECT_EQ(Grid->PositionedDataCol(), Grid->GetDataCol(Case.Expected)) << Case.Name;
    }
}

TEST_F(GridNavigation, MoveToNewRowNeverLandsOnTheInsertionRow) {
    Grid->SetGridMode(gmEditInsert);
    Grid->SetGridRowCount(3);
    ASSERT_TRUE(Grid->IsInsertRow(4));
    Grid->SetRowVisible(Grid->GetDataRow(3), false);
    Grid->MoveToNewRow(3, false, false, false);
    EXPECT_EQ(Grid->Row(), 2) << "the last data row that shows";
    Grid->MoveToNewRow(1, false, false, false);
    EXPECT_EQ(Grid->Row(), 1);
    EXPECT_EQ(Grid->PrevDisplayRow(), 2);
}

TEST_F(GridNavigation, ReadingOrderSearches) {
    Hide(2);
    ReadOnly(4);
    Grid->SetRowVisible(Grid->GetDataRow(3), false);
    struct TCase {
        const char* Name;
        bool Next;
        int Col, Row;
        bool EditableOnly;
        bool Found;
        int NewCol, NewRow;
    };
    const TCase Cases[] = {
        {"row 0 starts at the top", true, 5, 0, false, true, 1, 1},
        {"skips a hidden column", true, 1, 1, false, true, 3, 1},
        {"a read-only column counts", true, 3, 1, false, true, 4, 1},
        {"editable only passes it", true, 3, 1, true, true, 5, 1},
        {"wraps past a hidden row", true, 6, 2, false, true, 1, 4},
        {"nothing after the last cell", true, 6, 5, false, false, 0, 0},
        {"below the grid is invalid", true, 1, 6, false, false, 0, 0},
        {"back past a hidden column", false, 3, 1, false, true, 1, 1},
        {"back wraps past a hidden row", false, 1, 4, false, true, 6, 2},
        {"back, editable only", false, 5, 1, true, true, 3, 1},
        {"nothing before the first cell", false, 1, 1, false, false, 0, 0},
    };
    for (const TCase& Case : Cases) {
        int C = 0;
        int R = 0;
        const bool Found = Case.Next ? Grid->GetNextCell(Case.Col, Case.Row, Case.EditableOnly, C, R)
                                     : Grid->GetPrevCell(Case.Col, Case.Row, Case.EditableOnly, C, R);
        EXPECT_EQ(Found, Case.Found) << Case.Name;
        if (Found && Case.Found) {
            EXPECT_EQ(C, Case.NewCol) << Case.Name;
            EXPECT_EQ(R, Case.NewRow) << Case.Name;
        }
    }
}

TEST_F(GridNavigation, UpAndDownInOneColumnSkipHiddenRows) {
    Grid->SetRowVisible(Grid->GetDataRow(3), false);
    int C = 0;
    int R = 0;
    ASSERT_TRUE(Grid->GetNextDownCell(4, 2, false, C, R));
    EXPECT_EQ(C, 4);
    EXPECT_EQ(R, 4);
    ASSERT_TRUE(Grid->GetNextUpCell(4, 4, false, C, R));
    EXPECT_EQ(C, 4);
    EXPECT_EQ(R, 2);
    EXPECT_FALSE(Grid->GetNextDownCell(4, 5, false, C, R));
    EXPECT_FALSE(Grid->GetNextUpCell(4, 1, false, C, R));
}

TEST_F(GridNavigation, TheFirstScrollingColumnAndRowComeAfterTheFrozenOnes) {
    Grid->SetFixedColCount(2);
    Grid->SetFixedRowCount(1);
    EXPECT_EQ(Grid->LeftMostScrollCol(), 3);
    EXPECT_EQ(Grid->TopMostScrollRow(), 2);
    Hide(3);
    EXPECT_EQ(Grid->LeftMostScrollCol(), 4);
    // A frozen column is a target unless navigation selects whole rows.
    EXPECT_EQ(Grid->LeftMostCol(false, false), 1);
    Grid->SetSelectFixed(false);
    Grid->SetGridMode(gmListBox);
    EXPECT_EQ(Grid->LeftMostCol(false, true), 4);
}

TEST_F(GridNavigation, SetNewCurrentCellFollowsTheDataCellAndNotesWhereItCameFrom) {
    Grid->SetNewCurrentCell(4, 3);
    EXPECT_EQ(Grid->Col(), Grid->GetDisplayCol(4));
    EXPECT_EQ(Grid->Row(), Grid->GetDisplayRow(3));
    EXPECT_EQ(Grid->PrevDisplayCol(), 1);
    EXPECT_EQ(Grid->PrevDisplayRow(), 1);

    // Asking for the current cell again changes nothing, also not the
    // position it came from.
    Grid->SetNewCurrentCell(4, 3);
    EXPECT_EQ(Grid->PrevDisplayCol(), 1);

    // A column moved in front of it: the cell keeps its data column.
    Grid->GetCol(5)->SetDisplayCol(2);
    Grid->SetNewCurrentCell(4, 3);
    EXPECT_EQ(Grid->Col(), 5);
    EXPECT_EQ(Grid->GetDataCol(Grid->Col()), 4);
}

TEST_F(GridNavigation, SetNewCurrentCellReportsOnlyAChangedCell) {
    std::vector<std::vector<int>> Changes;
    Grid->OnCellChanged = [&](TObject*, int OldCol, int NewCol, int OldRow, int NewRow) {
        Changes.push_back({OldCol, NewCol, OldRow, NewRow});
    };
    int ColChanges = 0;
    Grid->OnColChanged = [&](TObject*, int, int) { ++ColChanges; };
    Grid->SetNewCurrentCell(1, 1);
    EXPECT_TRUE(Changes.empty()) << "the current cell asked again";
    Grid->SetNewCurrentCell(3, 2);
    ASSERT_EQ(Changes.size(), 1u);
    EXPECT_EQ(Changes[0][1], 3);
    EXPECT_EQ(Changes[0][3], 2);
    EXPECT_EQ(ColChanges, 1);
    // A move within the row reports the column only once more.
    Grid->SetNewCurrentCell(4, 2);
    EXPECT_EQ(Changes.size(), 2u);
    EXPECT_EQ(ColChanges, 2);
}
