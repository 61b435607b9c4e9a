// What deletions and fixed-count changes leave of the current cell's edit:
// the status and reports after selected columns or rows go, the keys and the
// editor afterwards, and typed text kept when the fixed columns change, all
// through public calls and real key events.
#include "grid/tests/GridEditFixture.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

using namespace grid;

namespace {

class GridDeleteEdit : public GridEditFixture {
protected:
    // 6 columns by 4 rows, each cell holding "column:row" as it was made.
    void Fill() {
        Grid->SetGridColCount(6);
        Grid->SetGridRowCount(4);
        for (int R = 1; R <= 4; ++R)
            for (int C = 1; C <= 6; ++C)
                Grid->SetCellValue(C, R, Variant(std::to_string(C) + ":" + std::to_string(R)));
    }
};

TEST_F(GridDeleteEdit, DeletingSelectedColumnsOrRowsHandsTheKeysBackToTheCurrentCell) {
    struct TCase {
        const char* Name;
        bool Cols;
        std::function<void(TgxGrid&)> Delete;
        std::string Shown; // the value of the cell that took the current cell's place
    };
    const std::vector<TCase> Cases{
        {"selected columns", true, [](TgxGrid& G) { G.DeleteSelectedCols(); }, "4:2"},
        {"columns over the selection", true, [](TgxGrid& G) { G.DeleteCols(3, 3); }, "4:2"},
        {"selected rows", false, [](TgxGrid& G) { G.DeleteSelectedRows(); }, "3:3"},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        Fill();
        GoTo(3, 2);
        if (Case.Cols)
            Grid->SelectCols(3, 3, true);
        else
            Grid->SelectRows(2, 2, true);
        ASSERT_EQ(Grid->GridStatus(), Case.Cols ? grColSelect : grRowSelect);
        std::vector<TgxSelectType> Selects;
        std::vector<std::pair<TgxGridStatus, TgxGridStatus>> Statuses;
        Grid->OnSelectChanged = [&](TObject*, TgxSelectType Type, bool) { Selects.push_back(Type); };
        Grid->OnGridStatusChanged = [&](TObject*, TgxGridStatus Old, TgxGridStatus New) {
            Statuses.emplace_back(Old, New);
        };

        Case.Delete(*Grid);
        QApplication::processEvents();

        EXPECT_EQ(Grid->GridStatus(), grNormal);
        EXPECT_EQ(Selects, std::vector<TgxSelectType>{Case.Cols ? stColSelect : stRowSelect});
        EXPECT_EQ(Statuses, (std::vector<std::pair<TgxGridStatus, TgxGridStatus>>{
                                {Case.Cols ? grColSelect : grRowSelect, grNormal}}));
        EXPECT_EQ(At(), std::make_pair(3, 2));
        EXPECT_TRUE(Grid->InEditMode());
        EXPECT_EQ(EditorText(), Case.Shown);

        // Typing goes to the current cell, Tab takes it on to the next one.
        Type("x");
        Press(Qt::Key_Tab);
        EXPECT_EQ(Stored(3, 2), "x");
        EXPECT_EQ(At(), std::make_pair(4, 2));
        Grid->OnSelectChanged = nullptr;
        Grid->OnGridStatusChanged = nullptr;
    }
}

TEST_F(GridDeleteEdit, TypedTextIsSavedWhenTheFixedColumnsChange) {
    LogEvents();
    GoTo(4, 5);
    Type("abc");
    ASSERT_EQ(EditorText(), "abc");
    Grid->SetFixedColCount(2);
    QApplication::processEvents();

    // Ended as leaving the cell and its row for the first scrollable cell,
    // where the base grid puts the current cell.
    EXPECT_EQ(Stored(4, 5), "abc");
    EXPECT_EQ(Log, (std::vector<std::string>{"start cell 4,5", "start row 5", "end cell 4,5",
                                             "end row 5"}));
    EXPECT_EQ(At(), std::make_pair(3, 1));

    // A refused end keeps the edit, the cell and the fixed count.
    GoTo(4, 4);
    Type("xyz");
    RefuseCell = true;
    Grid->SetFixedColCount(0);
    QApplication::processEvents();
    EXPECT_EQ(Grid->FixedColCount(), 2);
    EXPECT_EQ(At(), std::make_pair(4, 4));
    EXPECT_EQ(EditorText(), "xyz");
}

} // namespace
