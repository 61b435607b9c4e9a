// The grid unit's shared resources around a shut-down: the cursors stay
// with the screen, and the list of grids with drop-down hooks starts empty
// and holds a grid only while its list is open.
#include "ShownMouseFixture.h"

#include "grid/model/Columns.h"
#include "grid/view/DropDownForm.h"
#include "grid/view/GridResources.h"
#include "platform/gui/Cursors.h"

#include <algorithm>

using namespace grid;

TEST(GridUnitResources, ShutDownLeavesTheCursorsWithTheScreen) {
    EnsureQtApplication();
    const TCursor Id = GridCursorByName("GXVERTARROWDOWN");
    HCURSOR Before = Screen->Cursors(Id);
    ASSERT_NE(Before, nullptr);
    while (GridUnitStarted())
        GridUnitShutdown();
    EXPECT_EQ(Screen->Cursors(Id), Before);
    EXPECT_EQ(CursorSize(Screen->Cursors(Id)).X, 32);
    GridUnitStartup();
    EXPECT_TRUE(HookedGrids().empty());
}

class GridUnitHooks : public ShownMouseFixture {};

TEST_F(GridUnitHooks, AGridIsInTheHookedListOnlyWhileItsListIsOpen) {
    ShowFocused(2, 3);
    Grid->SetGridMode(gmEdit);
    Grid->GetCol(1)->SetButtonType(btCombo);
    const auto Listed = [this] {
        const auto& L = HookedGrids();
        return std::count(L.begin(), L.end(), Grid);
    };
    EXPECT_EQ(Listed(), 0);
    Grid->ShowCombo();
    ASSERT_TRUE(Grid->ComboVisible());
    EXPECT_EQ(Listed(), 1);
    EXPECT_TRUE(GridHooksInstalled());
    Grid->HideCombo();
    EXPECT_EQ(Listed(), 0);
}
