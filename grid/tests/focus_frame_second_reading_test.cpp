// The current cell's focus frame as the shown grid paints it: its looks,
// when it shows and when it goes, driven by real keys, clicks and focus.
#include "ShownGridPixels.h"
#include "platform/gui/StdCtrls.h"

#include "platform/gui/tests/GuiTestSupport.h"

using namespace grid;

namespace {

class FocusFrameShown : public ShownGridPixels {
protected:
    void SetUp() override {
        ShowFocused(5, 6);
        Other = new TButton(Form);
        Other->SetParent(Form);
        Other->SetBounds(450, 10, 80, 25);
        QApplication::processEvents();
    }
    // The cell shows a frame when its picture differs from an empty
    // neighbour of the same size that is not current.
    bool FrameShows(int ACol, int ARow) {
        Shot();
        return Pixels(Grid->CellRect(ACol, ARow)) !=
               Pixels(Grid->CellRect(ACol == 1 ? 3 : 1, ARow == 1 ? 4 : 1));
    }
    TButton* Other = nullptr;
};

TEST_F(FocusFrameShown, TheFrameShowsOnlyWithALookConfigured) {
    ASSERT_TRUE(Grid->Focused()) << Grid->IsFocused();
    EXPECT_EQ(Grid->FocusBorder(), fbDot);
    EXPECT_TRUE(FrameShows(2, 2));
    Grid->SetFocusBorder(fbNone);
    EXPECT_FALSE(FrameShows(2, 2)) << "no border and no focus colours: nothing marks the cell";
    Grid->SetFocusColor(clRed);
    EXPECT_TRUE(FrameShows(2, 2)) << "a focus colour alone is a look";
    Grid->SetFocusColor(clNone);
    EXPECT_FALSE(FrameShows(2, 2));
}

TEST_F(FocusFrameShown, SingleAndDoubleDrawOneAndTwoNestedFramesInTheBorderColour) {
    Grid->SetFocusBorderColor(clRed);
    struct Case {
        TgxFocusBorder Border;
        bool Second;
    };
    for (const Case C : {Case{fbSingle, false}, Case{fbDouble, true}}) {
        SCOPED_TRACE(C.Second ? "double" : "single");
        Grid->SetFocusBorder(C.Border);
        Shot();
        const TRect R = Grid->CellRect(2, 2);
        const int L = R.Left + 1, T = R.Top;
        const int Rt = R.Left + Grid->ColWidths(2) - 2, B = R.Top + Grid->RowHeights(2) - 2;
        const int MidY = (T + B) / 2, MidX = (L + Rt) / 2;
        for (const TPoint P : {Point(L, MidY), Point(Rt, MidY), Point(MidX, T), Point(MidX, B)})
            EXPECT_EQ(At(P.X, P.Y), clRed) << P.X << "," << P.Y;
        const TColor Inner = At(L + 1, MidY);
        EXPECT_EQ(Inner == clRed, C.Second);
        EXPECT_EQ(At(MidX, T + 1) == clRed, C.Second);
        EXPECT_NE(At(L + 2, MidY), clRed);
    }
}

TEST_F(FocusFrameShown, TheFrameFollowsKeysAndClicks) {
    ASSERT_TRUE(FrameShows(2, 2));
    TypeKey(Grid->Widget(), Qt::Key_Right);
    ASSERT_EQ(Grid->Col(), 3);
    EXPECT_TRUE(FrameShows(3, 2));
    EXPECT_FALSE(FrameShows(2, 2));
    const TRect R = Grid->CellRect(1, 4);
    const TPoint O = ClientOrigin();
    ClickAt(Grid->Widget(), QPoint((R.Left + R.Right) / 2 + O.X, (R.Top + R.Bottom) / 2 + O.Y));
    ASSERT_EQ(Grid->Col(), 1);
    ASSERT_EQ(Grid->Row(), 4);
    EXPECT_TRUE(FrameShows(1, 4));
    EXPECT_FALSE(FrameShows(3, 2));
}

TEST_F(FocusFrameShown, WithoutAlwaysShowFocusTheFrameGoesWithTheFocus) {
    for (const bool Always : {false, true}) {
        SCOPED_TRACE(Always ? "always show" : "only focused");
        Grid->SetAlwaysShowFocus(Always);
        Grid->SetFocus();
        QApplication::processEvents();
        ASSERT_TRUE(FrameShows(2, 2));
        Other->SetFocus();
        QApplication::processEvents();
        ASSERT_FALSE(Grid->Focused());
        EXPECT_EQ(FrameShows(2, 2), Always);
        Grid->SetFocus();
        QApplication::processEvents();
        EXPECT_TRUE(FrameShows(2, 2)) << "the frame comes back with the focus";
    }
}

TEST_F(FocusFrameShown, AListBoxGridOrAnActiveSelectionShowsNoFrame) {
    Grid->SetFocusBorder(fbSingle);
    Grid->SetFocusBorderColor(clRed);
    ASSERT_TRUE(FrameShows(2, 2));
    Grid->SelectCells(3, 3, 4, 4);
    EXPECT_FALSE(FrameShows(2, 2)) << "a selection takes the frame away";
    Grid->Invalidate();
    EXPECT_FALSE(FrameShows(2, 2)) << "also when the whole grid is painted again";
    Grid->ResetSelection();
    EXPECT_TRUE(FrameShows(2, 2)) << "and it comes back with the selection gone";
    Grid->SetGridMode(gmListBox);
    EXPECT_FALSE(FrameShows(2, 2));
}

TEST_F(FocusFrameShown, ADisabledFrameComesBackWhenTheLastDisableEnds) {
    Grid->SetFocusBorder(fbSingle);
    Grid->SetFocusBorderColor(clRed);
    Grid->SetFocusRectDisabled(true);
    Grid->SetFocusRectDisabled(true);
    Grid->ClearCurrentFocusRect(true);
    EXPECT_FALSE(FrameShows(2, 2));
    Grid->SetFocusRectDisabled(false);
    Grid->DrawCurrentFocusRect(true);
    EXPECT_FALSE(FrameShows(2, 2)) << "the counter nests";
    Grid->SetFocusRectDisabled(false);
    Grid->DrawCurrentFocusRect(true);
    EXPECT_TRUE(FrameShows(2, 2));
}

} // namespace
