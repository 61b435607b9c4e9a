// The base grid's keyboard and scroll bars.
#include "BaseGridFixture.h"

namespace gridtest {
namespace {

class BaseGridKeys : public GridOnForm<> {
protected:
    void SetUp() override {
        GridOnForm::SetUp();
        Grid->SetColCount(20);
        Grid->SetRowCount(100);
    }
    // Whole scrolling rows on screen less one: a page.
    int Page() const {
        TGridDrawInfo Info;
        Grid->CalcDrawInfo(Info);
        return Info.Vert.LastFullVisibleCell - Grid->TopRow();
    }
};

TEST_F(BaseGridKeys, KeyTable) {
    struct TCase {
        const char* Name;
        Word Key;
        TShiftState Shift;
        TGridCoord Start;
        TGridCoord Expected; // the current cell afterwards
    };
    const TCase Cases[] = {
        {"down", VK_DOWN, {}, {3, 5}, {3, 6}},
        {"up at the first row", VK_UP, {}, {3, 1}, {3, 1}},
        {"left", VK_LEFT, {}, {3, 5}, {2, 5}},
        {"right at the last column", VK_RIGHT, {}, {19, 5}, {19, 5}},
        {"home", VK_HOME, {}, {7, 5}, {1, 5}},
        {"end", VK_END, {}, {3, 5}, {19, 5}},
        {"ctrl+home", VK_HOME, {ssCtrl}, {7, 50}, {1, 1}},
        {"ctrl+end", VK_END, {ssCtrl}, {3, 5}, {19, 99}},
        {"ctrl+page up", VK_PRIOR, {ssCtrl}, {3, 5}, {3, 1}},
        {"tab", VK_TAB, {}, {19, 5}, {1, 6}},
        {"shift+tab at the first cell wraps to the last", VK_TAB, {ssShift}, {1, 1}, {19, 99}},
        {"alt+tab does nothing", VK_TAB, {ssAlt}, {3, 5}, {3, 5}},
    };
    for (const TCase& C : Cases) {
        Grid->MoveTopLeft(1, 1);
        Grid->FocusCell(C.Start.X, C.Start.Y, true);
        Key(C.Key, C.Shift);
        EXPECT_EQ((TGridCoord{Grid->Col(), Grid->Row()}), C.Expected) << C.Name;
    }
}

TEST_F(BaseGridKeys, TabSkipsColumnsWithoutATabStop) {
    Grid->SetColCount(4);
    Grid->SetRowCount(3);
    for (int C = 1; C < 4; ++C)
        Grid->SetTabStops(C, C == 2);
    Grid->FocusCell(2, 1, true);
    Key(VK_TAB);
    EXPECT_EQ((TGridCoord{Grid->Col(), Grid->Row()}), (TGridCoord{2, 2}));
    Key(VK_TAB);
    EXPECT_EQ((TGridCoord{Grid->Col(), Grid->Row()}), (TGridCoord{2, 1})); // wraps to the first row
    Key(VK_TAB, {ssShift});
    EXPECT_EQ((TGridCoord{Grid->Col(), Grid->Row()}), (TGridCoord{2, 2})); // and back
}

TEST_F(BaseGridKeys, PageDownMovesTopAndCurrentTogetherAndStopsAtTheEnd) {
    const int P = Page();
    Grid->FocusCell(1, 3, true);
    Key(VK_NEXT);
    EXPECT_EQ(Grid->TopRow(), 1 + P);
    EXPECT_EQ(Grid->Row(), 3 + P);
    for (int I = 0; I < 20; ++I)
        Key(VK_NEXT);
    TGridDrawInfo Info;
    Grid->CalcDrawInfo(Info);
    EXPECT_EQ(Grid->TopRow(), Grid->CalcMaxTopLeft(TGridCoord{19, 99}, Info).Y);
    EXPECT_EQ(Grid->Row(), 99);
}

TEST_F(BaseGridKeys, ShiftExtendsTheSelectionFromTheAnchor) {
    Grid->FocusCell(2, 2, true);
    Key(VK_DOWN, {ssShift});
    Key(VK_RIGHT, {ssShift});
    EXPECT_EQ(Grid->Selection(), (TGridRect{2, 2, 3, 3}));
}

TEST_F(BaseGridKeys, ScrollBarCommands) {
    TGridDrawInfo Info;
    Grid->CalcDrawInfo(Info);
    const int MaxTop = Grid->CalcMaxTopLeft(TGridCoord{19, 99}, Info).Y;
    struct TCase {
        const char* Name;
        int Code, Pos;
        int StartTop, ExpectedTop;
    };
    const TCase Cases[] = {
        {"line down", SB_LINEDOWN, 0, 1, 2},
        {"line up at the top", SB_LINEUP, 0, 1, 1},
        {"page down", SB_PAGEDOWN, 0, 1, 1 + Page()},
        {"bottom", SB_BOTTOM, 0, 1, MaxTop},
        {"top", SB_TOP, 0, 50, 1},
        {"thumb position 127", SB_THUMBPOSITION, 127, 1, MaxTop},
        {"thumb position 0", SB_THUMBPOSITION, 0, 40, 1},
        {"thumb track without tracking", SB_THUMBTRACK, 127, 1, 1},
        {"end scroll", SB_ENDSCROLL, 0, 5, 5},
    };
    for (const TCase& C : Cases) {
        Grid->SetTopRow(C.StartTop);
        Grid->Perform(WM_VSCROLL, MakeWParam(static_cast<Word>(C.Code), static_cast<Word>(C.Pos)));
        EXPECT_EQ(Grid->TopRow(), C.ExpectedTop) << C.Name;
    }
    Grid->SetOptions(Grid->Options() + TGridOptions{goThumbTracking});
    Grid->SetTopRow(1);
    Grid->Perform(WM_VSCROLL, MakeWParam(SB_THUMBTRACK, 127));
    EXPECT_EQ(Grid->TopRow(), MaxTop);
}

TEST_F(BaseGridKeys, ScrollingStepsOverHiddenRows) {
    for (int R = 2; R <= 4; ++R)
        Grid->SetRowHeights(R, 0);
    Grid->Perform(WM_VSCROLL, MakeWParam(SB_LINEDOWN, 0));
    EXPECT_EQ(Grid->TopRow(), 5);
}

TEST_F(BaseGridKeys, ScrollBarsFollowTheRangeAndTheTopLeft) {
    EXPECT_TRUE(ScrollBarVisible(Grid, SB_VERT));
    int Min = -1, Max = -1;
    GetScrollRange(Grid, SB_VERT, Min, Max);
    EXPECT_EQ(Max, 127);
    Key(VK_END, {ssCtrl});
    EXPECT_EQ(GetScrollPos(Grid, SB_VERT), 127);
    // A grid whose rows all fit has an empty range and no bar.
    Grid->SetRowCount(3);
    GetScrollRange(Grid, SB_VERT, Min, Max);
    EXPECT_EQ(Max, 0);
    EXPECT_FALSE(ScrollBarVisible(Grid, SB_VERT));
    // The client area has the room back, inside the client edge.
    EXPECT_EQ(Grid->ClientWidth(), Grid->Width() - 2 * Grid->WindowFrameWidth());
}

} // namespace
} // namespace gridtest
