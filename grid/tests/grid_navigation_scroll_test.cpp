// Scrolling that moves the pixels already on screen: whatever the mode, the
// picture afterwards is the one a full repaint gives; and the auto-scroll
// wait between two steps.
#include "grid/model/GxGrid.h"
#include "grid/tests/FilledGridFixture.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Messages.h"
#include "platform/gui/StdCtrls.h"
#include "platform/gui/QtApp.h"
#include "platform/rtl/Clock.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace grid;

namespace {

class GridScrollMode : public FilledGridFixture {
protected:
    void SetUp() override { ShowFilledGrid(200, 7); }
    int Differences(const std::vector<TColor>& A, const std::vector<TColor>& B) {
        int Count = 0;
        for (std::size_t I = 0; I < A.size() && I < B.size(); ++I)
            if (A[I] != B[I]) ++Count;
        return Count;
    }
};

class ReadCountingClock : public IClock {
public:
    TDateTime Now() override { return 0.0; }
    std::uint32_t TickCount() override {
        ++Reads;
        return Ticks += 10;
    }
    std::uint32_t Ticks = 1000;
    int Reads = 0;
};

} // namespace

// Each step moves the current cell with the view, as the keys do, so the
// in-place control (or the selected row) keeps its place on screen.
TEST_F(GridScrollMode, EveryModeLeavesThePictureAFullRepaintGives) {
    using M = TgxBaseGrid::TgxScrollMode;
    struct TStep {
        const char* Name;
        M Mode;
        int DCol, DRow;
    };
    const TStep Steps[] = {
        {"window, one row down", M::smWindow, 0, 1},
        {"window, a page up", M::smWindow, 0, -8},
        {"window, two columns right", M::smWindow, 2, 0},
        {"window, one column left", M::smWindow, -1, 0},
        {"control, one row down", M::smGridControl, 0, 1},
        {"control, two rows up", M::smGridControl, 0, -2},
        {"control, one column right", M::smGridControl, 1, 0},
        {"control, one column left", M::smGridControl, -1, 0},
        {"row select, three rows down", M::smRowSelect, 0, 3},
        {"row select, one row up", M::smRowSelect, 0, -1},
        {"window, both at once", M::smWindow, 1, 1},
    };
    Grid->MoveTopLeft(3, 20);
    Grid->SetCurrentPosition(4, 24, true, true);
    PaintAll();
    for (const TStep& Step : Steps) {
        const int Left = Grid->LeftCol() + Step.DCol;
        const int Top = Grid->TopRow() + Step.DRow;
        Grid->SetCurrentPosition(Grid->Col() + Step.DCol, Grid->Row() + Step.DRow, true, true);
        Grid->ScrollGrid(Left, Top, Step.Mode);
        ASSERT_EQ(Grid->LeftCol(), Left) << Step.Name;
        ASSERT_EQ(Grid->TopRow(), Top) << Step.Name;
        EXPECT_EQ(Grid->ScrollMode(), M::smWindow) << Step.Name;
        Grid->Update();
        const std::vector<TColor> Scrolled = Shot();
        PaintAll();
        EXPECT_EQ(Differences(Scrolled, Shot()), 0) << Step.Name;
    }
}

TEST_F(GridScrollMode, AutoScrollWaitsByItsSpeed) {
    ReadCountingClock Ticks;
    ScopedClock Use(Ticks);
    Grid->SetScrollSpeed(spHigh);
    EXPECT_TRUE(Grid->ScrollDelay(0, 0, 1));
    EXPECT_EQ(Ticks.Reads, 0) << "no wait at high speed";

    Grid->SetScrollSpeed(spLow);
    const std::uint32_t Start = Ticks.Ticks;
    EXPECT_TRUE(Grid->ScrollDelay(0, 0, 1));
    EXPECT_GE(Ticks.Ticks - Start, 200u);
    EXPECT_LE(Ticks.Ticks - Start, 220u);
    // The next step waits again from its own start.
    const std::uint32_t Again = Ticks.Ticks;
    EXPECT_TRUE(Grid->ScrollDelay(0, 0, 1));
    EXPECT_GE(Ticks.Ticks - Again, 200u);
}

TEST_F(GridScrollMode, AScrollBarTakesTheFocusForTheGrid) {
    auto* Other = new TEdit(Form);
    Other->SetParent(Form);
    Other->SetBounds(410, 10, 60, 20);
    Other->SetFocus();
    ASSERT_FALSE(Grid->Focused());
    const int Top = Grid->TopRow();
    Grid->Perform(WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(Grid->TopRow(), Top + 1);
    EXPECT_TRUE(Grid->Focused());
}
