// The grid's services as a user drives them on a shown, focused grid: the
// cell-changed and status-changed reports, the editor's show and hide, the
// combo drop-down's start and roll-up, and the combo list's set-up.
#include "ShownMouseFixture.h"

#include "grid/model/Combo.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

using namespace grid;

namespace {

class GridFlowServices : public ShownMouseFixture {
protected:
    QWidget* Focused() const {
        QWidget* F = QApplication::focusWidget();
        return F ? F : W;
    }
    void Key(int K, Qt::KeyboardModifiers Mods = Qt::NoModifier) {
        TypeKey(Focused(), K, QString(), Mods);
        QApplication::processEvents();
    }
};

TEST_F(GridFlowServices, CellChangedIsReportedOncePerMove) {
    ShowFocused(3, 4);
    std::vector<std::tuple<int, int, int, int>> Changes;
    Grid->OnCellChanged = [&](TObject*, int OldCol, int NewCol, int OldRow, int NewRow) {
        Changes.emplace_back(OldCol, NewCol, OldRow, NewRow);
    };
    Key(Qt::Key_Down);
    ASSERT_EQ(Changes.size(), 1u);
    EXPECT_EQ(std::get<1>(Changes[0]), 1);
    EXPECT_EQ(std::get<3>(Changes[0]), 2);
    Press(CellMid(2, 2));
    Release(CellMid(2, 2));
    ASSERT_EQ(Changes.size(), 2u);
    EXPECT_EQ(Changes[1], std::make_tuple(1, 2, 2, 2));
    // The current cell clicked again is no change.
    Press(CellMid(2, 2));
    Release(CellMid(2, 2));
    EXPECT_EQ(Changes.size(), 2u);
}

TEST_F(GridFlowServices, SelectingColumnsReportsTheStatusOnce) {
    ShowFocused(3, 4);
    std::vector<std::pair<TgxGridStatus, TgxGridStatus>> Reports;
    Grid->OnGridStatusChanged = [&](TObject*, TgxGridStatus Old, TgxGridStatus New) {
        Reports.emplace_back(Old, New);
    };
    Press(CellMid(2, 0));
    Release(CellMid(2, 0));
    ASSERT_EQ(Grid->GridStatus(), grColSelect);
    ASSERT_EQ(Reports.size(), 1u);
    EXPECT_EQ(Reports[0], std::make_pair(grNormal, grColSelect));
    EXPECT_FALSE(Grid->FocusRectActive()) << "no focus rectangle while columns are selected";
    EXPECT_FALSE(Grid->InEditMode());

    Press(CellMid(1, 2));
    Release(CellMid(1, 2));
    EXPECT_EQ(Grid->GridStatus(), grNormal);
    ASSERT_EQ(Reports.size(), 2u);
    EXPECT_EQ(Reports[1], std::make_pair(grColSelect, grNormal));
    EXPECT_TRUE(Grid->FocusRectActive());
}

TEST_F(GridFlowServices, ColumnsAreSelectedOnlyInColumnSelectMode) {
    ShowFocused(3, 4);
    Grid->SetColSelectMode(csNone);
    Grid->SelectCols(1, 2, true);
    EXPECT_FALSE(Grid->ColSelection().GetSelected(1));
    EXPECT_EQ(Grid->GridStatus(), grNormal);
    Grid->SetColSelectMode(csMulti);
    Grid->SelectCols(0, 99, true);  // clamped to the data columns
    EXPECT_TRUE(Grid->ColSelection().GetSelected(1));
    EXPECT_TRUE(Grid->ColSelection().GetSelected(3));
    EXPECT_FALSE(Grid->ColSelection().GetSelected(0));
}

TEST_F(GridFlowServices, EditorShowAndHideAreReportedForTheEditedCell) {
    ShowFocused(3, 4);
    Grid->SetAlwaysShowEditor(false);
    std::vector<std::pair<int, int>> Shown, Hidden;
    Grid->OnShowEditor = [&](TObject*, int C, int R, bool&) { Shown.emplace_back(C, R); };
    Grid->OnHideEditor = [&](TObject*, int C, int R) { Hidden.emplace_back(C, R); };
    Key(Qt::Key_F2);
    ASSERT_EQ(Shown.size(), 1u);
    EXPECT_EQ(Shown[0], std::make_pair(1, 1));
    EXPECT_TRUE(Hidden.empty());
    Key(Qt::Key_Down);
    ASSERT_EQ(Hidden.size(), 1u);
    EXPECT_EQ(Hidden[0], std::make_pair(1, 1));
    EXPECT_EQ(Grid->GetCurrentDataRow(), 2);
}

TEST_F(GridFlowServices, ComboDropsDownInitialisedAndRollsUpOnce) {
    ShowFocused(3, 4);
    Grid->SetCellButtonType(1, 1, btCombo);
    Grid->SetColWidths(1, 90);
    std::vector<std::pair<int, int>> Inits, RollUps;
    Grid->OnComboInit = [&](TObject*, TgxComboGrid*, int C, int R) { Inits.emplace_back(C, R); };
    Grid->OnComboRollUp = [&](TObject*, TgxComboGrid*, int C, int R) { RollUps.emplace_back(C, R); };
    EXPECT_FALSE(Grid->TurnComboOff(false, false)) << "nothing is open yet";

    Key(Qt::Key_F4);
    ASSERT_TRUE(Grid->ComboVisible());
    ASSERT_EQ(Inits.size(), 1u);
    EXPECT_EQ(Inits[0], std::make_pair(1, 1));
    TgxComboGrid* List = Grid->GetCombo()->GetGrid();
    EXPECT_EQ(List->DefaultColWidth(), 90 + 10);
    EXPECT_GE(List->DefaultRowHeight(), Grid->CalcTextHeight());

    Key(Qt::Key_Escape);
    EXPECT_FALSE(Grid->ComboVisible());
    ASSERT_EQ(RollUps.size(), 1u);
    EXPECT_EQ(RollUps[0], std::make_pair(1, 1));

    // The list stays initialised for the same cell; another cell starts over.
    Key(Qt::Key_F4);
    EXPECT_TRUE(Grid->ComboVisible());
    EXPECT_EQ(Inits.size(), 1u);
    EXPECT_TRUE(Grid->TurnComboOff(false, true));
    Grid->SetCellButtonType(1, 2, btCombo);
    Key(Qt::Key_Down);
    Key(Qt::Key_F4);
    ASSERT_EQ(Inits.size(), 2u);
    EXPECT_EQ(Inits[1], std::make_pair(1, 2));
    EXPECT_TRUE(Grid->TurnComboOff(false, true));
    EXPECT_FALSE(Grid->ComboVisible());
}

TEST_F(GridFlowServices, TheGridsComboListIsAPlainList) {
    ShowFocused(3, 4);
    TgxCombo* Combo = Grid->GetCombo();
    ASSERT_NE(Combo, nullptr);
    EXPECT_EQ(Grid->GetCombo(), Combo) << "made once";
    TgxComboGrid* List = Combo->GetGrid();
    ASSERT_NE(List, nullptr);
    EXPECT_EQ(List->DropDownRows(), 4);
    EXPECT_EQ(List->DropDownCols(), 1);
    EXPECT_EQ(List->ValueCol(), 1);
    EXPECT_EQ(List->ComboDisplayCol(), 1);
    EXPECT_EQ(List->CompareType(), ctCaseInsensitive);
    EXPECT_FALSE(List->StoreData());
    EXPECT_EQ(List->GetGridRowCount(), 0);
    EXPECT_EQ(List->GetGridColCount(), 1);
    EXPECT_FALSE(List->GetHeadingOn());
    EXPECT_FALSE(List->GetRowBarOn());
    EXPECT_EQ(List->GridMode(), gmListBox);
    EXPECT_EQ(List->Color(), Grid->Color());
}

TEST_F(GridFlowServices, EditsStartOnlyInEditState) {
    ShowFocused(3, 4);
    const struct {
        TgxGridMode Mode;
        bool Starts;
    } Cases[] = {{gmBrowse, false}, {gmListBox, false}, {gmEdit, true}};
    for (const auto& C : Cases) {
        Grid->SetGridMode(C.Mode);
        EXPECT_EQ(Grid->StartEdit(), C.Starts) << static_cast<int>(C.Mode);
    }
}

TEST_F(GridFlowServices, SizingStateAtTheGridLines) {
    ShowFocused(3, 4);
    const int ColLine = ColEdge(1);
    const TRect Heading = Grid->CellRect(1, 0);
    const TRect Data = Grid->CellRect(1, 2);
    EXPECT_EQ(Grid->GetSizingState(ColLine, (Heading.Top + Heading.Bottom) / 2, 0, 1), msColResize);
    EXPECT_EQ(Grid->GetSizingState((Data.Left + Data.Right) / 2, (Data.Top + Data.Bottom) / 2, 2, 1),
              msNormal);
}

TEST_F(GridFlowServices, AllColumnsAndRowsTakeOneSize) {
    ShowFocused(4, 5);
    Grid->SetColWidths(2, 120);
    Grid->ChangeAllColWidths(55, false);
    Grid->ChangeAllRowHeights(21, false);
    for (int C = 1; C <= 4; ++C) EXPECT_EQ(Grid->ColWidths(C), 55) << C;
    for (int R = 1; R <= 5; ++R) EXPECT_EQ(Grid->RowHeights(R), 21) << R;
    EXPECT_TRUE(Grid->CanPaint()) << "painting is on again afterwards";
}

}  // namespace
