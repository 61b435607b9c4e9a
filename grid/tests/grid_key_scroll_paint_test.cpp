// Keys that scroll the grid while cells wait to be repainted (the current
// cell left behind, the row indicator): once painted, the picture is the
// one a full repaint gives, whether the move scrolled the pixels or not.
#include "grid/model/GxGrid.h"
#include "grid/tests/FilledGridFixture.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtApp.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace grid;

namespace {

class GridKeyScrollPaint : public FilledGridFixture {
protected:
    void SetUp() override { ShowFilledGrid(300, 9); }
    void Press(Word K, TShiftState Shift = {}) { Grid->KeyDown(K, Shift); }
};

} // namespace

TEST_F(GridKeyScrollPaint, EveryScrollingKeyLeavesThePictureAFullRepaintGives) {
    struct TStep {
        const char* Name;
        Word Key;
        TShiftState Shift;
    };
    const TStep Steps[] = {
        {"page down", VK_NEXT, {}},
        {"page down again", VK_NEXT, {}},
        {"page up", VK_PRIOR, {}},
        {"down past the last full row", VK_DOWN, {}},
        {"end of the grid", VK_END, {ssCtrl}},
        {"up past the top row", VK_UP, {}},
        {"start of the grid", VK_HOME, {ssCtrl}},
    };
    for (const TStep& Step : Steps) {
        if (Step.Key == VK_DOWN) {
            // From the last fully shown row, so the move scrolls by one row.
            while (Grid->Row() < Grid->TopRow() + Grid->VisibleRowCount() - 1)
                Press(VK_DOWN);
            Grid->Update();
        } else if (Step.Key == VK_UP) {
            while (Grid->Row() > Grid->TopRow())
                Press(VK_UP);
            Grid->Update();
        }
        const int Top = Grid->TopRow(), Left = Grid->LeftCol();
        Press(Step.Key, Step.Shift);
        EXPECT_TRUE(Grid->TopRow() != Top || Grid->LeftCol() != Left) << Step.Name;
        Grid->Update();
        const std::vector<TColor> Scrolled = Shot();
        PaintAll();
        EXPECT_TRUE(Scrolled == Shot()) << Step.Name;
    }
}
