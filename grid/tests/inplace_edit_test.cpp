// The in-place editor: which keys go back to the grid, read-only cells,
// Enter's selection toggle, and placing.
#include "BaseGridFixture.h"

#include "grid/foundation/InplaceEdit.h"

namespace gridtest {
namespace {

// A string grid whose cells may be made read-only (edit limit -1).
class TLimitGrid : public TProbeStringGrid {
public:
    using TProbeStringGrid::TProbeStringGrid;
    bool ReadOnlyCells = false;
    int GetEditLimit() override { return ReadOnlyCells ? -1 : 0; }
};

class InplaceEditTest : public GridOnForm<TLimitGrid> {
protected:
    void SetUp() override {
        GridOnForm::SetUp();
        Grid->SetCells(2, 2, "hello");
        Grid->SetCells(3, 2, "next");
    }

    TInplaceEdit* Open(TGridOptions Extra = {}) {
        Grid->SetOptions(DefaultGridOptions + TGridOptions{goEditing} + Extra);
        Grid->FocusCell(2, 2, true);
        Grid->SetEditorMode(true);
        TInplaceEdit* E = Grid->InplaceEditor();
        EXPECT_NE(E, nullptr);
        return E;
    }

    TGridCoord Current() const { return {Grid->Col(), Grid->Row()}; }
};

TEST_F(InplaceEditTest, OpensOverTheCurrentCellWithItsText) {
    TInplaceEdit* E = Open();
    EXPECT_TRUE(E->Visible());
    EXPECT_TRUE(E->PosEqual(Grid->CellRect(2, 2)));
    EXPECT_EQ(E->Text(), "hello");
    EXPECT_EQ(Grid->EditorCol(), 2);
    EXPECT_EQ(Grid->EditorRow(), 2);
}

TEST_F(InplaceEditTest, ArrowsAtTheEdgesOfTheTextGoToTheGridOnlyWhenAlwaysShown) {
    TInplaceEdit* E = Open(TGridOptions{goAlwaysShowEditor});
    E->Perform(EM_SETSEL, 2, 2); // caret inside the text
    Word Key = VK_LEFT;
    E->KeyDown(Key, {});
    EXPECT_EQ(Key, VK_LEFT); // the editor moves its caret
    EXPECT_EQ(Current(), (TGridCoord{2, 2}));
    E->Perform(EM_SETSEL, 0, 0);
    Key = VK_LEFT;
    E->KeyDown(Key, {});
    EXPECT_EQ(Key, 0);
    EXPECT_EQ(Current(), (TGridCoord{1, 2}));
    // Down always goes to the grid.
    Key = VK_DOWN;
    Grid->InplaceEditor()->KeyDown(Key, {});
    EXPECT_EQ(Current(), (TGridCoord{1, 3}));
}

TEST_F(InplaceEditTest, WithoutAlwaysShownHomeAndEndStayInTheEditor) {
    TInplaceEdit* E = Open();
    for (Word K : {VK_HOME, VK_END, VK_LEFT, VK_RIGHT}) {
        E->Perform(EM_SETSEL, 0, 0);
        Word Key = K;
        E->KeyDown(Key, {});
        EXPECT_EQ(Key, K);
        EXPECT_EQ(Current(), (TGridCoord{2, 2}));
    }
}

TEST_F(InplaceEditTest, ACellThatMayNotChangeIgnoresEveryEditButNavigates) {
    Grid->ReadOnlyCells = true;
    TInplaceEdit* E = Open();
    EXPECT_FALSE(Grid->CanEditModify());
    E->Perform(WM_CHAR, 'x');
    E->Perform(WM_CHAR, 8); // backspace
    E->Perform(WM_PASTE);
    E->Perform(WM_CUT);
    Word Key = VK_DELETE;
    E->KeyDown(Key, {});
    EXPECT_EQ(Key, 0);
    EXPECT_EQ(E->Text(), "hello");
    EXPECT_EQ(Grid->Cells(2, 2), "hello");
    Key = VK_DOWN;
    E->KeyDown(Key, {});
    EXPECT_EQ(Current(), (TGridCoord{2, 3}));
}

TEST_F(InplaceEditTest, EnterTogglesBetweenAllSelectedAndTheCaretAtTheEnd) {
    TInplaceEdit* E = Open(TGridOptions{goAlwaysShowEditor});
    E->SelectAll();
    E->Perform(WM_CHAR, '\r');
    EXPECT_EQ(E->SelLength(), 0);
    EXPECT_EQ(E->SelStart(), 5);
    E->Perform(WM_CHAR, '\r');
    EXPECT_EQ(E->SelLength(), 5);
    EXPECT_TRUE(Grid->EditorMode()); // always shown: Enter stays in the editor
}

TEST_F(InplaceEditTest, MovingToAnEmptyRectangleHidesIt) {
    TInplaceEdit* E = Open();
    E->Move(TRect{});
    EXPECT_FALSE(E->Visible());
}

TEST_F(InplaceEditTest, MovingTheCurrentCellWritesTheTextAndReloads) {
    TInplaceEdit* E = Open();
    E->SetText("changed");
    EXPECT_EQ(Grid->Cells(2, 2), "changed");
    Grid->SetEditorMode(false);
    Grid->FocusCell(3, 2, true);
    Grid->SetEditorMode(true);
    EXPECT_EQ(E->Text(), "next");
    EXPECT_EQ(Grid->Cells(2, 2), "changed");
}

} // namespace
} // namespace gridtest
