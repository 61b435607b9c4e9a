// The grid's column and row marks by range: tables of cases, the row
// anchor, rows the application refuses, the order in which changes are
// reported, and a randomised run against a plain set.
#include "grid/tests/GridSelectFixture.h"

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

class GridSelectRanges : public SelectionGrid {};

// ---- range bookkeeping --------------------------------------------------------------------------

enum class TOp { Add, Delete, Toggle, New, DeleteAll };

struct TRangeCase {
    const char* Name;
    std::vector<std::tuple<TOp, int, int>> Ops;
    std::set<int> Hidden; // data columns / rows hidden first
    std::set<int> Expected;
    TgxGridStatus Status;
};

void Apply(TgxBaseGrid& G, bool Rows, TOp Op, int From, int To) {
    switch (Op) {
    case TOp::Add:
        Rows ? G.AddRowSelection(From, To) : G.AddColSelection(From, To);
        break;
    case TOp::Delete:
        Rows ? G.DeleteRowSelection(From, To) : G.DeleteColSelection(From, To);
        break;
    case TOp::Toggle:
        Rows ? G.ChangeRowSelection(From, To) : G.ChangeColSelection(From, To);
        break;
    case TOp::New:
        Rows ? G.NewRowSelection(From, To) : G.NewColSelection(From, To);
        break;
    case TOp::DeleteAll:
        Rows ? G.DeleteAllRowSelection() : G.DeleteAllColSelection();
        break;
    }
}

TEST_F(GridSelectRanges, RangesOnColumnsAndRowsKeepMarksEndsCountAndStatus) {
    const std::vector<TRangeCase> Cases = {
        {"reversed span", {{TOp::Add, 5, 3}}, {}, {3, 4, 5}, grNormal},
        {"hidden stays out", {{TOp::Add, 3, 6}}, {4}, {3, 5, 6}, grNormal},
        {"clipped below 1", {{TOp::Add, -4, 2}}, {}, {1, 2}, grNormal},
        {"span below 1 is nothing", {{TOp::Add, -4, 0}}, {}, {}, grNormal},
        {"delete covering all", {{TOp::Add, 3, 8}, {TOp::Delete, 1, 11}}, {}, {}, grNormal},
        {"delete the middle", {{TOp::Add, 2, 8}, {TOp::Delete, 4, 6}}, {}, {2, 3, 7, 8}, grNormal},
        {"delete the first ones",
         {{TOp::Add, 2, 8}, {TOp::Delete, 1, 3}},
         {},
         {4, 5, 6, 7, 8},
         grNormal},
        {"delete the last ones",
         {{TOp::Add, 2, 8}, {TOp::Delete, 8, 6}},
         {},
         {2, 3, 4, 5},
         grNormal},
        {"merge two spans",
         {{TOp::Add, 2, 4}, {TOp::Add, 6, 8}, {TOp::Add, 4, 6}},
         {},
         {2, 3, 4, 5, 6, 7, 8},
         grNormal},
        {"toggle from nothing adds", {{TOp::Toggle, 3, 4}}, {}, {3, 4}, grNormal},
        {"toggle splits", {{TOp::Add, 2, 8}, {TOp::Toggle, 4, 5}}, {}, {2, 3, 6, 7, 8}, grNormal},
        {"toggle overlapping", {{TOp::Add, 2, 4}, {TOp::Toggle, 3, 6}}, {}, {2, 5, 6}, grNormal},
        {"toggle twice restores",
         {{TOp::Add, 2, 4}, {TOp::Toggle, 3, 6}, {TOp::Toggle, 6, 3}},
         {},
         {2, 3, 4},
         grNormal},
        {"toggle skips hidden", {{TOp::Add, 2, 3}, {TOp::Toggle, 2, 5}}, {4}, {5}, grNormal},
        {"new replaces", {{TOp::Add, 2, 4}, {TOp::New, 7, 9}}, {}, {7, 8, 9}, grNormal},
        {"delete all",
         {{TOp::Add, 2, 4}, {TOp::Add, 9, 9}, {TOp::DeleteAll, 0, 0}},
         {},
         {},
         grNormal},
    };
    for (const bool Rows : {false, true}) {
        for (const auto& Case : Cases) {
            SCOPED_TRACE(std::string(Case.Name) + (Rows ? " (rows)" : " (columns)"));
            Grid->DeleteAllColSelection();
            Grid->DeleteAllRowSelection();
            for (int N = 1; N <= 12; ++N) {
                if (Rows)
                    Grid->SetRowVisible(N, !Case.Hidden.count(N));
                else
                    Grid->GetCol(Variant(N))->SetVisible(!Case.Hidden.count(N));
            }
            for (const auto& [Op, From, To] : Case.Ops)
                Apply(*Grid, Rows, Op, From, To);
            TgxSelection& S = Rows ? Grid->RowSelection() : Grid->ColSelection();
            EXPECT_EQ(Marks(S), Case.Expected);
            EXPECT_EQ(S.Count(), static_cast<int>(Case.Expected.size()));
            EXPECT_EQ(S.First(), Case.Expected.empty() ? -1 : *Case.Expected.begin());
            EXPECT_EQ(S.Last(), Case.Expected.empty() ? -1 : *Case.Expected.rbegin());
            const TgxGridStatus Expected =
                Case.Expected.empty() ? grNormal : (Rows ? grRowSelect : grColSelect);
            EXPECT_EQ(Grid->GridStatus(), Expected);
            if (Rows) {
                EXPECT_EQ(Grid->SelectionAnchorRow() == -1, Case.Expected.empty());
            }
        }
    }
}

TEST_F(GridSelectRanges, AnchorRowFollowsTheSingleSelectedRow) {
    struct TCase {
        const char* Name;
        std::vector<std::tuple<TOp, int, int>> Ops;
        int Anchor;
    };
    const std::vector<TCase> Cases = {
        {"first row added", {{TOp::Add, 5, 7}}, 5},
        {"second span keeps it", {{TOp::Add, 5, 5}, {TOp::Add, 9, 10}}, 5},
        {"count drops to one", {{TOp::Add, 5, 7}, {TOp::Delete, 6, 7}}, 7},
        {"all gone", {{TOp::Add, 5, 7}, {TOp::Delete, 1, 40}}, -1},
        {"deleting with nothing selected", {{TOp::Delete, 3, 4}}, -1},
        {"toggled down to one", {{TOp::Add, 5, 6}, {TOp::Toggle, 6, 6}}, 6},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        Grid->DeleteAllRowSelection();
        for (const auto& [Op, From, To] : Case.Ops)
            Apply(*Grid, true, Op, From, To);
        EXPECT_EQ(Grid->SelectionAnchorRow(), Case.Anchor);
    }
}

TEST_F(GridSelectRanges, RefusedRowsStayOutAndTheApplicationSeesDataRowsAfterAMove) {
    Grid->SetDisplayRownr(3, 8); // data row 3 now shows at display row 8
    Grid->Refused = {3};
    Grid->Asked.clear();
    Grid->AddRowSelection(7, 9);
    EXPECT_EQ(Marks(Grid->RowSelection()), (std::set<int>{7, 9}));
    EXPECT_NE(std::find(Grid->Asked.begin(), Grid->Asked.end(), 3), Grid->Asked.end());
    Grid->ChangeRowSelection(6, 9);
    EXPECT_EQ(Marks(Grid->RowSelection()), (std::set<int>{6}));
}

// ---- reporting ----------------------------------------------------------------------------------

TEST_F(GridSelectRanges, ChangesAreReportedOncePerKindRowsThenColumnsThenCells) {
    struct TCase {
        const char* Name;
        std::vector<TgxSelectType> Marked;
        std::vector<TgxSelectType> Reported;
    };
    const std::vector<TCase> Cases = {
        {"nothing marked", {}, {}},
        {"reverse order",
         {stCellSelect, stColSelect, stRowSelect},
         {stRowSelect, stColSelect, stCellSelect}},
        {"repeats collapse",
         {stColSelect, stColSelect, stCellSelect, stColSelect},
         {stColSelect, stCellSelect}},
        {"rows alone", {stRowSelect}, {stRowSelect}},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        Grid->SelectionsChanged(false);
        Reported.clear();
        for (TgxSelectType T : Case.Marked)
            Grid->SetSelectChanged(T);
        Grid->SelectionsChanged(true);
        EXPECT_EQ(Reported, Case.Reported);
        Reported.clear();
        Grid->SelectionsChanged(true); // marks are consumed
        EXPECT_TRUE(Reported.empty());
    }
    EXPECT_EQ(static_cast<int>(stRowSelect), 0);
    EXPECT_EQ(static_cast<int>(stColSelect), 1);
    EXPECT_EQ(static_cast<int>(stCellSelect), 2);
}

TEST_F(GridSelectRanges, SeveralRangeOperationsGiveOneReport) {
    Grid->SelectionsChanged(false);
    Reported.clear();
    Grid->AddRowSelection(2, 3);
    Grid->AddRowSelection(5, 6);
    Grid->SelectionsChanged(true);
    EXPECT_EQ(Reported, (std::vector<TgxSelectType>{stRowSelect}));
    EXPECT_TRUE(LastByUser);
    Reported.clear();
    Grid->AddRowSelection(2, 3); // no change: nothing to report
    Grid->SelectionsChanged(true);
    EXPECT_TRUE(Reported.empty());
}

// ---- randomised against a plain set -------------------------------------------------------------

TEST_F(GridSelectRanges, RandomRangeOperationsMatchAReferenceSet) {
    std::mt19937 Random(20261210);
    for (const bool Rows : {false, true}) {
        SCOPED_TRACE(Rows ? "rows" : "columns");
        const int Last = Rows ? Grid->RowCount() - 1 : Grid->ColCount() - 1;
        std::set<int> Hidden;
        std::set<int> Refused;
        for (int N = 1; N <= Last; ++N) {
            const bool Hide = Random() % 7 == 0;
            if (Hide) Hidden.insert(N);
            if (Rows)
                Grid->SetRowVisible(N, !Hide);
            else
                Grid->GetCol(Variant(N))->SetVisible(!Hide);
            if (Rows && !Hide && Random() % 9 == 0) Refused.insert(N);
        }
        Grid->Refused = Refused;
        Grid->DeleteAllColSelection();
        Grid->DeleteAllRowSelection();
        std::set<int> Reference;
        auto Selectable = [&](int P) { return !Hidden.count(P) && !Refused.count(P); };
        for (int Step = 0; Step < 600; ++Step) {
            const TOp Op = static_cast<TOp>(Random() % 5);
            int From = static_cast<int>(Random() % (Last + 6)) - 3;
            int To = static_cast<int>(Random() % (Last + 6)) - 3;
            SCOPED_TRACE("step " + std::to_string(Step));
            Apply(*Grid, Rows, Op, From, To);
            if (To < From) std::swap(From, To);
            const int Lo = std::max(From, 1);
            const int Hi = std::min(To, Last);
            switch (Op) {
            case TOp::New:
                Reference.clear();
                [[fallthrough]];
            case TOp::Add:
                for (int P = Lo; P <= Hi; ++P)
                    if (Selectable(P)) Reference.insert(P);
                break;
            case TOp::Delete:
                for (int P = Lo; P <= Hi; ++P)
                    Reference.erase(P);
                break;
            case TOp::Toggle:
                for (int P = Lo; P <= Hi; ++P) {
                    if (!Selectable(P)) continue;
                    if (Reference.count(P))
                        Reference.erase(P);
                    else
                        Reference.insert(P);
                }
                break;
            case TOp::DeleteAll:
                Reference.clear();
                break;
            }
            TgxSelection& S = Rows ? Grid->RowSelection() : Grid->ColSelection();
            ASSERT_EQ(Marks(S), Reference);
            ASSERT_EQ(S.Count(), static_cast<int>(Reference.size()));
            ASSERT_EQ(S.First(), Reference.empty() ? -1 : *Reference.begin());
            ASSERT_EQ(S.Last(), Reference.empty() ? -1 : *Reference.rbegin());
            const int InSpan = static_cast<int>(std::count_if(
                Reference.begin(), Reference.end(), [&](int P) { return P >= From && P <= To; }));
            ASSERT_EQ(Rows ? Grid->NumberOfRowsSelected(To, From)
                           : Grid->NumberOfColsSelected(To, From),
                      InSpan);
        }
        Grid->DeleteAllColSelection();
        Grid->DeleteAllRowSelection();
        for (int N = 1; N <= Last; ++N)
            Rows ? Grid->SetRowVisible(N, true) : Grid->GetCol(Variant(N))->SetVisible(true);
        Grid->Refused.clear();
    }
}

} // namespace
