// Whole-line selections and the lists of visible display positions.
#include "grid/model/Selection.h"
#include "grid/model/VisibleItems.h"

#include <gtest/gtest.h>

#include <vector>

using namespace grid;

namespace {

std::vector<int> SelectedItems(const TgxVisibleItems& List) {
    std::vector<int> Result;
    for (int K = 1; K <= List.VisibleCount(); ++K)
        Result.push_back(List.GetItem(K));
    return Result;
}

void Select(TgxSelection& S, int Size, std::initializer_list<int> Positions) {
    S.SetSize(Size);
    for (int P : Positions)
        S.SetSelected(P, true);
}

} // namespace

TEST(GridSelection, KeepsFirstLastAndCountAsPositionsComeAndGo) {
    TgxSelection S;
    Select(S, 10, {3, 7});
    EXPECT_EQ(S.First(), 3);
    EXPECT_EQ(S.Last(), 7);
    EXPECT_EQ(S.Count(), 2);
    EXPECT_EQ(S.Next(3), 7);
    EXPECT_EQ(S.Next(7), -1);
    EXPECT_EQ(S.Previous(7), 3);
    EXPECT_EQ(S.Next(0), 3);
    S.SetSelected(3, false);
    EXPECT_EQ(S.First(), 7);
    EXPECT_EQ(S.Count(), 1);
    S.SetSelected(7, false);
    EXPECT_EQ(S.First(), -1);
    EXPECT_EQ(S.Last(), -1);
    EXPECT_EQ(S.Next(0), -1);
}

TEST(GridSelection, PositionZeroAndPositionsPastTheEndAreNeverSelected) {
    TgxSelection S;
    Select(S, 10, {0, 10, 11, -1});
    EXPECT_EQ(S.Count(), 0);
    EXPECT_FALSE(S.GetSelected(0));
    EXPECT_FALSE(S.GetSelected(10));
    // Setting a selected position again changes nothing.
    S.SetSelected(4, true);
    S.SetSelected(4, true);
    EXPECT_EQ(S.Count(), 1);
}

TEST(GridSelection, ShrinkingForgetsThePositionsCutOff) {
    TgxSelection S;
    Select(S, 12, {2, 5, 9});
    S.SetSize(6);
    EXPECT_EQ(S.Count(), 2);
    EXPECT_EQ(S.Last(), 5);
    EXPECT_EQ(S.First(), 2);
    // Growing back brings no old bit back.
    S.SetSize(12);
    EXPECT_FALSE(S.GetSelected(9));
    S.SetSize(2);
    EXPECT_EQ(S.Count(), 0);
    EXPECT_EQ(S.First(), -1);
    EXPECT_EQ(S.Last(), -1);
}

TEST(GridSelection, RangeCountInEitherOrderAndClipped) {
    TgxSelection S;
    Select(S, 12, {2, 5, 9});
    struct Case {
        int A, B, Expected;
    } Cases[] = {{2, 9, 3}, {9, 2, 3}, {3, 8, 1}, {-5, 100, 3}, {6, 8, 0}, {10, 11, 0}, {5, 5, 1}};
    for (const Case& C : Cases)
        EXPECT_EQ(S.RangeCount(C.A, C.B), C.Expected) << C.A << ".." << C.B;
}

TEST(GridSelection, AssignCopiesAndTellsWhetherAnyBitChanged) {
    TgxSelection Target;
    TgxSelection Empty;
    Select(Empty, 5, {});
    EXPECT_FALSE(Target.Assign(Empty));
    EXPECT_EQ(Target.GetSize(), 5);
    TgxSelection Source;
    Select(Source, 8, {1, 6});
    EXPECT_TRUE(Target.Assign(Source));
    EXPECT_EQ(Target.GetSize(), 8);
    EXPECT_EQ(Target.Count(), 2);
    EXPECT_EQ(Target.First(), 1);
    EXPECT_EQ(Target.Last(), 6);
    EXPECT_FALSE(Target.Assign(Source));
    Target.Reset();
    EXPECT_EQ(Target.Count(), 0);
    EXPECT_EQ(Target.GetSize(), 8);
}

TEST(GridVisibleItems, AListWithNothingHiddenStandsForTheIdentity) {
    TgxVisibleItems List;
    List.SetSize(5, 1);
    EXPECT_FALSE(List.Active());
    EXPECT_EQ(List.Count(), 0);
    EXPECT_EQ(List.GetItem(4), 4);
    bool Found = false;
    EXPECT_EQ(List.Locate(3, Found), 3);
    EXPECT_TRUE(Found);
    EXPECT_EQ(List.Locate(7, Found), 6);
    EXPECT_FALSE(Found);
    // Position 0 (the heading) counts as found at 0.
    EXPECT_EQ(List.Locate(0, Found), 0);
    EXPECT_TRUE(Found);
    List.Add(9); // everything is visible already
    EXPECT_EQ(List.Count(), 0);
}

TEST(GridVisibleItems, HidingAndShowingAPosition) {
    TgxVisibleItems List;
    List.SetSize(5, 1);
    List.Remove(3);
    EXPECT_TRUE(List.Active());
    EXPECT_EQ(SelectedItems(List), (std::vector<int>{1, 2, 4, 5}));
    bool Found = true;
    EXPECT_EQ(List.Locate(3, Found), 3);
    EXPECT_FALSE(Found);
    List.Add(3);
    EXPECT_TRUE(List.Active());
    EXPECT_EQ(SelectedItems(List), (std::vector<int>{1, 2, 3, 4, 5}));
}

TEST(GridVisibleItems, MovingADisplayPositionKeepsTheVisibleSet) {
    struct Case {
        std::vector<int> Hidden;
        int From, To;
        std::vector<int> Expected;
    } Cases[] = {
        {{3}, 2, 4, {1, 3, 4, 5}}, // visible 1,2,4,5: 2 goes to 4
        {{2}, 4, 2, {1, 2, 4, 5}}, // visible 1,3,4,5: 4 goes to 2
        {{3}, 3, 5, {1, 2, 3, 4}}, // a hidden position moves to the end
        {{5}, 5, 1, {2, 3, 4, 5}}, // a hidden position moves to the front
        {{2, 4}, 1, 5, {2, 4, 5}}, // the first position goes last
        {{3}, 2, 2, {1, 2, 4, 5}}, // no move
    };
    for (const Case& C : Cases) {
        TgxVisibleItems List;
        List.SetSize(5, 1);
        for (int H : C.Hidden)
            List.Remove(H);
        List.MoveItem(C.From, C.To);
        EXPECT_EQ(SelectedItems(List), C.Expected) << C.From << " -> " << C.To;
    }
}

TEST(GridVisibleItems, SetSizeGrowsAndShrinksAnActiveList) {
    TgxVisibleItems List;
    List.SetSize(4, 1);
    List.Remove(2);
    List.SetSize(List.Size() + 2, 5); // two positions added after 4
    EXPECT_EQ(SelectedItems(List), (std::vector<int>{1, 3, 4, 5, 6}));
    List.SetSize(2, 4); // positions up to 3 stay
    EXPECT_EQ(SelectedItems(List), (std::vector<int>{1, 3}));
}
