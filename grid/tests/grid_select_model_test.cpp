// The grid's selection model (rows, columns or one block, one kind at a
// time) and the drawing of its changes, checked against what a full repaint
// shows.
#include "grid/tests/GridSelectFixture.h"
#include "grid/model/Rows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <tuple>
#include <vector>

using namespace grid;
using namespace gridselect;

namespace {

class GridSelectModel : public SelectionGrid {
protected:
    // Every other pixel of the grid's image, for comparing two pictures.
    std::vector<TColor> Picture() {
        std::vector<TColor> Result;
        for (int Y = 0; Y < Grid->ClientHeight(); Y += 2)
            for (int X = 0; X < Grid->ClientWidth(); X += 2)
                Result.push_back(Grid->Canvas()->Pixels(X, Y));
        return Result;
    }
    void PaintAll() {
        Grid->Invalidate();
        Grid->Update();
    }
};

// ---- the selection model ------------------------------------------------------------------------

TEST_F(GridSelectModel, ProgramSelectionRules) {
    // Rows: a reversed span is not turned round.
    Grid->SelectRows(6, 4, true);
    EXPECT_EQ(Grid->RowSelection().Count(), 0);
    Grid->SelectRows(4, 6, true);
    EXPECT_EQ(Marks(Grid->RowSelection()), (std::set<int>{4, 5, 6}));
    EXPECT_EQ(Grid->GridStatus(), grRowSelect);
    // Columns remove the rows first; a block removes both.
    Grid->SelectCols(2, 3, true);
    EXPECT_EQ(Grid->RowSelection().Count(), 0);
    EXPECT_EQ(Marks(Grid->ColSelection()), (std::set<int>{2, 3}));
    EXPECT_EQ(Grid->GridStatus(), grColSelect);
    // Unselecting rows while columns are selected does nothing.
    Grid->SelectRows(1, 40, false);
    EXPECT_EQ(Grid->ColSelection().Count(), 2);
    // A reversed block is turned round.
    Grid->SelectCells(5, 9, 2, 3);
    EXPECT_EQ(Grid->ColSelection().Count(), 0);
    EXPECT_EQ(Grid->GridStatus(), grCellSelect);
    const TRect Range = Grid->SelectedRange();
    EXPECT_EQ((std::vector<int>{Range.Left, Range.Top, Range.Right, Range.Bottom}),
              (std::vector<int>{2, 3, 5, 9}));
    EXPECT_TRUE(Grid->IsCellSelected(2, 3));
    EXPECT_TRUE(Grid->IsCellSelected(5, 9));
    EXPECT_FALSE(Grid->IsCellSelected(6, 9));
    EXPECT_FALSE(Grid->IsCellSelected(0, 3)); // the row bar shows rows only
    EXPECT_FALSE(Grid->IsCellSelected(2, 0));
    // Single-row mode: two rows are refused, one moves the current row.
    Grid->SetRowSelectMode(rsSingle);
    Grid->SelectRows(7, 8, true);
    EXPECT_EQ(Grid->GridStatus(), grCellSelect);
    Grid->SelectRows(7, 7, true);
    EXPECT_EQ(Marks(Grid->RowSelection()), (std::set<int>{7}));
    EXPECT_EQ(Grid->Row(), 7);
    Grid->SelectRows(12, 12, true);
    EXPECT_EQ(Marks(Grid->RowSelection()), (std::set<int>{12}));
    EXPECT_EQ(Grid->Row(), 12);
}

TEST_F(GridSelectModel, SelectedPropertiesGoThroughTheGridsSelection) {
    std::vector<std::pair<TgxGridStatus, TgxGridStatus>> Statuses;
    Grid->OnGridStatusChanged = [&](TObject*, TgxGridStatus Old, TgxGridStatus New) {
        Statuses.emplace_back(Old, New);
    };
    Grid->SetRowSelected(2, true);
    EXPECT_EQ(Grid->GridStatus(), grRowSelect);
    Grid->SetRowColor(5, clRed);
    Grid->GetRow(5)->SetSelected(true);
    EXPECT_TRUE(Grid->GetRow(5)->GetSelected());
    EXPECT_EQ(Marks(Grid->RowSelection()), (std::set<int>{2, 5}));
    Reported.clear();
    Grid->GetCol(3)->SetSelected(true);
    EXPECT_EQ(Grid->GridStatus(), grColSelect);
    EXPECT_EQ(Grid->RowSelection().Count(), 0);
    EXPECT_EQ(Marks(Grid->ColSelection()), (std::set<int>{3}));
    EXPECT_NE(std::find(Reported.begin(), Reported.end(), stColSelect), Reported.end());
    EXPECT_NE(std::find(Reported.begin(), Reported.end(), stRowSelect), Reported.end());
    Grid->GetCol(3)->SetSelected(false);
    EXPECT_EQ(Grid->GridStatus(), grNormal);
    ASSERT_FALSE(Statuses.empty());
    EXPECT_EQ(Statuses.back(), std::make_pair(grColSelect, grNormal));
}

TEST_F(GridSelectModel, HidingASelectedLineDropsItFromTheSelectionAndReportsIt) {
    Grid->SelectCols(4, 4, true);
    Reported.clear();
    Grid->GetCol(4)->SetVisible(false);
    EXPECT_EQ(Grid->ColSelection().Count(), 0);
    EXPECT_EQ(Grid->GridStatus(), grNormal);
    EXPECT_EQ(Reported, std::vector<TgxSelectType>{stColSelect});
    Grid->SelectRows(5, 6, true);
    Reported.clear();
    Grid->SetRowVisible(5, false);
    EXPECT_EQ(Marks(Grid->RowSelection()), (std::set<int>{6}));
    EXPECT_EQ(Reported, std::vector<TgxSelectType>{stRowSelect});
    // A block loses its hidden edge column.
    Grid->SelectCells(2, 2, 3, 3);
    Grid->GetCol(3)->SetVisible(false);
    EXPECT_EQ(Grid->SelectedRange().Right, 2);
}

TEST_F(GridSelectModel, HidingTheCurrentLineMovesTheCurrentCellAndShowingGivesOneBack) {
    Grid->SetCurrentCell(2, 3);
    Grid->GetCol(2)->SetVisible(false);
    EXPECT_EQ(Grid->Col(), 3);
    Grid->SetRowVisible(3, false);
    EXPECT_EQ(Grid->Row(), 4);
    // With every column hidden there is no current column; showing one
    // makes it current.
    for (int C = 1; C <= Grid->GetGridColCount(); ++C)
        Grid->GetCol(C)->SetVisible(false);
    EXPECT_EQ(Grid->Col(), 0);
    Grid->GetCol(5)->SetVisible(true);
    EXPECT_EQ(Grid->Col(), Grid->GetDisplayCol(5));
}

TEST_F(GridSelectModel, AReadOnlyCurrentLineHandsTheCurrentCellOn) {
    Grid->SetCurrentCell(2, 3);
    Grid->SetRowReadOnly(3, true);
    EXPECT_EQ(Grid->Row(), 4);
    Grid->SetSkipReadOnly(false);
    Grid->SetRowReadOnly(4, true);
    EXPECT_EQ(Grid->Row(), 4);
}

TEST_F(GridSelectModel, CellSelectedQuestions) {
    Grid->SelectCols(3, 3, true);
    struct TCase {
        int Col, Row;
        bool Selected;
    };
    for (const TCase& C : std::vector<TCase>{{0, 0, false},
                                             {3, 0, true},
                                             {4, 0, false},
                                             {3, 17, true},
                                             {0, 17, false},
                                             {3, 40, true},
                                             {3, 41, false},
                                             {-1, 2, false},
                                             {12, 2, false}}) {
        SCOPED_TRACE(std::to_string(C.Col) + "," + std::to_string(C.Row));
        EXPECT_EQ(Grid->IsCellSelected(C.Col, C.Row), C.Selected);
    }
    Grid->SelectRows(5, 5, true);
    EXPECT_TRUE(Grid->IsCellSelected(0, 5));
    EXPECT_TRUE(Grid->IsCellSelected(9, 5));
    EXPECT_FALSE(Grid->IsCellSelected(3, 0)); // the columns went
    EXPECT_TRUE(Grid->RowRangeSelected(5, 5));
    EXPECT_FALSE(Grid->RowRangeUnselected(4, 6));
    EXPECT_TRUE(Grid->RowRangeUnselected(6, 9));
}

// A block stays on its cells when columns or rows before it or inside it
// are deleted or hidden, and goes when its last column or row goes; what
// the screen shows follows, in the selection colour.
TEST_F(GridSelectModel, ABlockFollowsDeletedAndHiddenColumnsAndRowsAndVanishesWithItsLast) {
    Grid->SetSelectionType(sltColor);
    Grid->SetSelectionColor(clYellow);
    struct Case {
        const char* What;
        TRect Block;
        std::function<void()> Change;
        TRect Expected; // all 0: no block left
        TgxGridStatus Status;
    };
    const Case Cases[] = {
        {"its only column deleted", Rect(3, 2, 3, 4), [&] { Grid->DeleteCols(3, 3); },
         Rect(0, 0, 0, 0), grNormal},
        {"a column left of it deleted", Rect(4, 2, 5, 4), [&] { Grid->DeleteCols(2, 2); },
         Rect(3, 2, 4, 4), grCellSelect},
        {"a column inside it deleted", Rect(4, 2, 6, 4), [&] { Grid->DeleteCols(5, 5); },
         Rect(4, 2, 5, 4), grCellSelect},
        {"columns right of it deleted", Rect(2, 2, 3, 4), [&] { Grid->DeleteCols(5, 8); },
         Rect(2, 2, 3, 4), grCellSelect},
        {"rows above it deleted", Rect(2, 5, 3, 8), [&] { Grid->DeleteRows(1, 2); },
         Rect(2, 3, 3, 6), grCellSelect},
        {"its only row deleted", Rect(2, 5, 3, 5), [&] { Grid->DeleteRows(5, 5); },
         Rect(0, 0, 0, 0), grNormal},
        {"its left column hidden", Rect(3, 2, 5, 4),
         [&] { Grid->GetCol(Variant(3))->SetVisible(false); }, Rect(4, 2, 5, 4), grCellSelect},
        {"its right column hidden", Rect(3, 2, 5, 4),
         [&] { Grid->GetCol(Variant(5))->SetVisible(false); }, Rect(3, 2, 4, 4), grCellSelect},
        {"its only column hidden", Rect(3, 2, 3, 4),
         [&] { Grid->GetCol(Variant(3))->SetVisible(false); }, Rect(0, 0, 0, 0), grNormal},
        {"its top row hidden", Rect(2, 5, 3, 8), [&] { Grid->SetRowVisible(5, false); },
         Rect(2, 6, 3, 8), grCellSelect},
        // A count change takes only the columns and rows it deletes.
        {"rows added", Rect(3, 2, 6, 4), [&] { Grid->SetGridRowCount(50); }, Rect(3, 2, 6, 4),
         grCellSelect},
        {"columns added", Rect(3, 2, 6, 4), [&] { Grid->SetGridColCount(10); },
         Rect(3, 2, 6, 4), grCellSelect},
        {"rows below it cut", Rect(3, 2, 6, 4), [&] { Grid->SetGridRowCount(20); },
         Rect(3, 2, 6, 4), grCellSelect},
        {"columns cut through it", Rect(3, 2, 6, 4), [&] { Grid->SetGridColCount(4); },
         Rect(3, 2, 4, 4), grCellSelect},
        {"rows cut through it", Rect(2, 2, 3, 5), [&] { Grid->SetGridRowCount(3); },
         Rect(2, 2, 3, 3), grCellSelect},
        {"all its columns cut", Rect(3, 2, 6, 4), [&] { Grid->SetGridColCount(2); },
         Rect(0, 0, 0, 0), grNormal},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.What);
        Grid->SetGridColCount(0);
        Grid->SetGridRowCount(0);
        Grid->SetGridColCount(8);
        Grid->SetGridRowCount(40);
        Grid->SelectCells(C.Block.Left, C.Block.Top, C.Block.Right, C.Block.Bottom);
        Reported.clear();
        C.Change();
        const TRect R = Grid->SelectedRange();
        EXPECT_EQ((std::vector<int>{R.Left, R.Top, R.Right, R.Bottom}),
                  (std::vector<int>{C.Expected.Left, C.Expected.Top, C.Expected.Right,
                                    C.Expected.Bottom}));
        EXPECT_EQ(Grid->GridStatus(), C.Status);
        const bool Changed = C.Expected.Left != C.Block.Left || C.Expected.Top != C.Block.Top ||
                             C.Expected.Right != C.Block.Right ||
                             C.Expected.Bottom != C.Block.Bottom;
        EXPECT_EQ(std::count(Reported.begin(), Reported.end(), stCellSelect), Changed ? 1 : 0);
        // The cell that moved into the old block's place shows unselected.
        PaintAll();
        const TRect Cell = Grid->CellRect(C.Block.Left, C.Block.Top);
        const bool Selected = C.Status == grCellSelect && C.Expected.Left <= C.Block.Left &&
                              C.Expected.Top <= C.Block.Top;
        EXPECT_EQ(Grid->Canvas()->Pixels(Cell.Right - 2, Cell.Bottom - 2) == clYellow, Selected);
    }
}

// ---- drawing ------------------------------------------------------------------------------------

TEST_F(GridSelectModel, InvertingABlockTwiceRestoresThePixels) {
    PaintAll();
    const auto Before = Picture();
    Grid->InvertRange(2, 2, nullptr, true, TRect{}, 6, 4);
    EXPECT_NE(Picture(), Before);
    Grid->InvertRange(2, 2, nullptr, false, TRect{}, 6, 4);
    EXPECT_EQ(Picture(), Before);
}

// What a selection change draws at once must be what a full repaint shows
// afterwards, for each kind of change, with inverted and coloured
// selections, and also after scrolling.
TEST_F(GridSelectModel, DrawnChangesLookLikeAFullRepaint) {
    struct TCase {
        const char* Name;
        std::function<void(TgxBaseGrid&)> Change;
    };
    const std::vector<TCase> Cases = {
        {"rows", [](TgxBaseGrid& G) { G.SelectRows(3, 6, true); }},
        {"rows then fewer",
         [](TgxBaseGrid& G) {
             G.SelectRows(3, 9, true);
             G.SelectRows(5, 6, false);
         }},
        {"columns", [](TgxBaseGrid& G) { G.SelectCols(2, 4, true); }},
        {"columns after rows",
         [](TgxBaseGrid& G) {
             G.SelectRows(3, 9, true);
             G.SelectCols(4, 4, true);
         }},
        {"block", [](TgxBaseGrid& G) { G.SelectCells(2, 3, 5, 8); }},
        {"block grown by a column",
         [](TgxBaseGrid& G) {
             G.StartCellSelection(2, 3);
             G.ChangeCellSelection(4, 6);
             G.ChangeCellSelection(5, 6);
         }},
        {"block moved away",
         [](TgxBaseGrid& G) {
             G.SelectCells(2, 2, 3, 3);
             G.SelectCells(6, 8, 7, 9);
         }},
        {"block across the anchor",
         [](TgxBaseGrid& G) {
             G.StartCellSelection(5, 6);
             G.ChangeCellSelection(7, 9);
             G.ChangeCellSelection(2, 3);
         }},
        {"block after scrolling",
         [](TgxBaseGrid& G) {
             G.SelectCells(2, 3, 4, 20);
             G.SetTopRow(10);
             G.Update();
             G.ChangeCellSelection(3, 12);
         }},
        {"reset",
         [](TgxBaseGrid& G) {
             G.SelectCells(2, 3, 4, 8);
             G.ResetSelection();
         }},
    };
    for (const TgxSelectionType Type : {sltInvert, sltColor}) {
        for (const auto& Case : Cases) {
            SCOPED_TRACE(std::string(Case.Name) + (Type == sltColor ? " (colour)" : " (inverted)"));
            Grid->ResetSelection();
            Grid->SetTopRow(1);
            Grid->SetSelectionType(Type);
            Grid->SetSelectionColor(clYellow);
            PaintAll();
            const auto Before = Picture();
            Case.Change(*Grid);
            Grid->Update();
            const auto Drawn = Picture();
            PaintAll();
            EXPECT_EQ(Drawn, Picture());
            if (Grid->GridStatus() != grNormal) {
                EXPECT_NE(Drawn, Before);
            }
        }
    }
}

} // namespace
