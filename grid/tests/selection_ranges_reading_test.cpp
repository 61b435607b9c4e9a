// The range bookkeeping of whole-column and whole-row selections: the
// marks, their first, last and count, the grid status, the anchor row and
// the collected change reports.
#include "GridSelectFixture.h"

#include <set>
#include <vector>

using namespace gridselect;

namespace {

class SelectionRanges : public SelectionGrid {
protected:
    std::set<int> Rows() { return Marks(Grid->RowSelection()); }
    std::set<int> Cols() { return Marks(Grid->ColSelection()); }
    void ExpectEnds(const TgxSelection& S, int First, int Last, int Count, const char* What) {
        EXPECT_EQ(S.First(), First) << What;
        EXPECT_EQ(S.Last(), Last) << What;
        EXPECT_EQ(S.Count(), Count) << What;
    }
};

TEST_F(SelectionRanges, AddingColumnsTurnsTheSpanAndSkipsHiddenOnes) {
    struct Case {
        int From, To;
        std::set<int> Expected;
    };
    Grid->GetCol(7)->SetVisible(false);
    const Case Cases[] = {
        {5, 3, {3, 4, 5}}, {10, 99, {10, 11, 12}}, {-2, 2, {1, 2}}, {-3, 0, {}}, {6, 8, {6, 8}},
    };
    for (const Case& C : Cases) {
        Grid->DeleteAllColSelection();
        Grid->AddColSelection(C.From, C.To);
        EXPECT_EQ(Cols(), C.Expected) << C.From << ".." << C.To;
        if (!C.Expected.empty())
            ExpectEnds(Grid->ColSelection(), *C.Expected.begin(), *C.Expected.rbegin(),
                       static_cast<int>(C.Expected.size()), "add");
        EXPECT_EQ(Grid->GridStatus(), C.Expected.empty() ? grNormal : grColSelect)
            << C.From << ".." << C.To;
    }
    EXPECT_EQ(Grid->NumberOfColsSelected(1, 7), 1);
    EXPECT_EQ(Grid->NumberOfColsSelected(1, 12), 2);
}

TEST_F(SelectionRanges, DeletingKeepsTheEndsExact) {
    Grid->AddColSelection(2, 8);
    Grid->DeleteColSelection(4, 5);
    ExpectEnds(Grid->ColSelection(), 2, 8, 5, "middle");
    Grid->DeleteColSelection(3, 2);
    ExpectEnds(Grid->ColSelection(), 6, 8, 3, "front");
    Grid->DeleteColSelection(7, 12);
    ExpectEnds(Grid->ColSelection(), 6, 6, 1, "back");
    EXPECT_EQ(Grid->GridStatus(), grColSelect);
    Grid->DeleteColSelection(1, 12);
    ExpectEnds(Grid->ColSelection(), -1, -1, 0, "all");
    EXPECT_EQ(Grid->GridStatus(), grNormal);

    Grid->AddRowSelection(3, 9);
    Grid->DeleteRowSelection(1, 40);
    ExpectEnds(Grid->RowSelection(), -1, -1, 0, "rows at once");
    EXPECT_EQ(Grid->GridStatus(), grNormal);
}

TEST_F(SelectionRanges, TogglingTwiceRestoresSelectionAndStatus) {
    Grid->AddRowSelection(2, 3);
    Grid->ChangeRowSelection(3, 6);
    EXPECT_EQ(Rows(), (std::set<int>{2, 4, 5, 6}));
    ExpectEnds(Grid->RowSelection(), 2, 6, 4, "toggled");
    Grid->ChangeRowSelection(6, 3);
    EXPECT_EQ(Rows(), (std::set<int>{2, 3}));
    ExpectEnds(Grid->RowSelection(), 2, 3, 2, "back");
    EXPECT_EQ(Grid->GridStatus(), grRowSelect);
    Grid->DeleteAllRowSelection();
    Grid->ChangeRowSelection(3, 4);
    EXPECT_EQ(Grid->GridStatus(), grRowSelect);
    Grid->ChangeRowSelection(3, 4);
    EXPECT_TRUE(Rows().empty());
    EXPECT_EQ(Grid->GridStatus(), grNormal);

    Grid->AddColSelection(3, 3);
    Grid->AddColSelection(5, 5);
    Grid->ChangeColSelection(1, 3);
    ExpectEnds(Grid->ColSelection(), 1, 5, 3, "columns toggled");
    Grid->ChangeColSelection(5, 5);
    ExpectEnds(Grid->ColSelection(), 1, 2, 2, "last toggled off");
    Grid->GetCol(4)->SetVisible(false);
    Grid->ChangeColSelection(3, 5);
    EXPECT_EQ(Cols(), (std::set<int>{1, 2, 3, 5}));
    Grid->ChangeColSelection(1, 5);
    EXPECT_TRUE(Cols().empty());
    EXPECT_EQ(Grid->GridStatus(), grNormal);
}

TEST_F(SelectionRanges, NewSelectionsReplaceTheOldOnes) {
    Grid->AddColSelection(6, 8);
    Grid->NewColSelection(4, 3);
    EXPECT_EQ(Cols(), (std::set<int>{3, 4}));
    Grid->DeleteAllColSelection();
    Grid->AddRowSelection(10, 12);
    Grid->NewRowSelection(2, 2);
    EXPECT_EQ(Rows(), std::set<int>{2});
    EXPECT_EQ(Grid->NumberOfRowsSelected(1, 40), 1);
}

TEST_F(SelectionRanges, TheApplicationKeepsRowsOutByTheirDataNumber) {
    Grid->Refused = {4};
    Grid->AddRowSelection(2, 6);
    EXPECT_EQ(Rows(), (std::set<int>{2, 3, 5, 6}));
    Grid->ChangeRowSelection(3, 5);
    EXPECT_EQ(Rows(), (std::set<int>{2, 6}));
    Grid->DeleteAllRowSelection();
    // Data row 4 shown at display row 8 is still refused; data row 8, now
    // at display row 7, is not.
    Grid->SetDisplayRownr(4, 8);
    Grid->Asked.clear();
    Grid->AddRowSelection(7, 8);
    EXPECT_EQ(Rows(), std::set<int>{7});
    EXPECT_EQ(Grid->Asked, (std::vector<int>{8, 4}));
    Grid->ChangeRowSelection(7, 8);
    EXPECT_TRUE(Rows().empty());
}

TEST_F(SelectionRanges, HiddenRowsStayOut) {
    Grid->SetRowVisible(5, false);
    Grid->AddRowSelection(4, 6);
    EXPECT_EQ(Rows(), (std::set<int>{4, 6}));
    Grid->ChangeRowSelection(4, 6);
    EXPECT_TRUE(Rows().empty());
}

TEST_F(SelectionRanges, TheAnchorIsTheRowThatWasSelectedAlone) {
    EXPECT_EQ(Grid->SelectionAnchorRow(), -1);
    Grid->AddRowSelection(5, 5);
    EXPECT_EQ(Grid->SelectionAnchorRow(), 5);
    Grid->AddRowSelection(7, 9);
    EXPECT_EQ(Grid->SelectionAnchorRow(), 5);
    Grid->DeleteRowSelection(5, 8);
    EXPECT_EQ(Grid->RowSelection().Count(), 1);
    Grid->DeleteRowSelection(9, 9);
    EXPECT_EQ(Grid->SelectionAnchorRow(), -1);
    Grid->DeleteRowSelection(1, 40);
    EXPECT_EQ(Grid->SelectionAnchorRow(), -1);
    Grid->ChangeRowSelection(3, 3);
    EXPECT_EQ(Grid->SelectionAnchorRow(), 3);
    Grid->ChangeRowSelection(3, 3);
    EXPECT_EQ(Grid->SelectionAnchorRow(), -1);
}

TEST_F(SelectionRanges, ChangesAreReportedOncePerKindWhenAsked) {
    Grid->AddRowSelection(2, 3);
    Grid->AddRowSelection(6, 7);
    EXPECT_TRUE(Reported.empty());
    Grid->SelectionsChanged(true);
    EXPECT_EQ(Reported, std::vector<TgxSelectType>{stRowSelect});
    EXPECT_TRUE(LastByUser);
    Grid->SelectionsChanged(true);
    EXPECT_EQ(Reported.size(), 1u);

    Reported.clear();
    Grid->SetSelectChanged(stCellSelect);
    Grid->DeleteRowSelection(2, 2);
    Grid->SelectionsChanged(false);
    EXPECT_EQ(Reported, (std::vector<TgxSelectType>{stRowSelect, stCellSelect}));
    EXPECT_FALSE(LastByUser);

    Reported.clear();
    Grid->SelectChanged(stColSelect, true);
    EXPECT_TRUE(Reported.empty());
    Grid->AddColSelection(2, 2);
    Grid->SelectChanged(stColSelect, true);
    Grid->SelectChanged(stColSelect, true);
    EXPECT_EQ(Reported, std::vector<TgxSelectType>{stColSelect});
    // A range that changes nothing marks nothing.
    Reported.clear();
    Grid->AddColSelection(2, 2);
    Grid->DeleteColSelection(5, 6);
    Grid->SelectionsChanged(true);
    EXPECT_TRUE(Reported.empty());
}

} // namespace
