// A combo cell's list as the user meets it: opened by the cell's button,
// sized to its rows, placed under the cell, and a click on a row carries
// the row's value into the cell.
#include "ShownMouseFixture.h"

#include "grid/model/Columns.h"
#include "grid/model/Combo.h"
#include "grid/model/InplaceControl.h"
#include "grid/view/DropDownForm.h"
#include "platform/gui/Forms.h"

#include <string>
#include <vector>

using namespace grid;

namespace {

class ComboList : public ShownMouseFixture {
protected:
    // Columns 1 and 2 combo cells with lists of their own, column 3 a
    // combo cell on the grid's own list; the grid edits and keeps values.
    void ShowCombos(int Rows1 = 6) {
        ShowFocused(4, 5);
        Grid->SetGridMode(gmEdit);
        Grid->SetStoreData(true);
        for (int C = 1; C <= 3; ++C) Grid->GetCol(C)->SetButtonType(btCombo);
        FillList(1, Rows1, "A");
        FillList(2, 2, "B");
        Grid->OnComboInit = [this](TObject*, TgxComboGrid*, int C, int R) {
            Log("init", C, R);
        };
        Grid->OnComboDropDown = [this](TObject*, TgxComboGrid*, int C, int R) {
            Log("drop", C, R);
        };
        Grid->OnComboRollUp = [this](TObject*, TgxComboGrid*, int C, int R) {
            Log("roll", C, R);
        };
    }
    // A list of its own for a column: Rows rows, column 1 Prefix and the
    // row number, column 2 a second text.
    void FillList(int Col, int Rows, const char* Prefix) {
        TgxCol* C = Grid->GetCol(Col);
        C->AssignCombo();
        TgxComboGrid* L = C->GetCombo()->GetGrid();
        L->SetStoreData(true);
        L->SetGridColCount(2);
        L->SetGridRowCount(Rows);
        for (int R = 1; R <= Rows; ++R) {
            L->SetCellValue(1, R, Variant(AnsiString(Prefix) + AnsiString(std::to_string(R).c_str())));
            L->SetCellValue(2, R, Variant(AnsiString("second")));
        }
    }
    void Log(const std::string& What, int C, int R) {
        Events.push_back(What + " " + std::to_string(C) + "," +
                         std::to_string(R));
    }
    QPoint OnButton(int Col, int Row) const {
        const TRect R = Grid->CellRect(Col, Row);
        return QPoint(R.Right - 3, R.Top + 4);
    }
    void ClickButton(int Col, int Row) {
        Press(OnButton(Col, Row));
        Release(OnButton(Col, Row));
    }
    TgxComboGrid* List() { return Grid->CurrentComboGrid(); }
    // A real click on a list row's first cell.
    void ClickListRow(int ListRow) {
        TgxComboGrid* L = List();
        const TRect R = L->CellRect(1, ListRow);
        const int F = L->WindowFrameWidth();
        const QPoint P((R.Left + R.Right) / 2 + F, (R.Top + R.Bottom) / 2 + F);
        SendMouse(L->Widget(), QEvent::MouseButtonPress, P, Qt::LeftButton);
        SendMouse(L->Widget(), QEvent::MouseButtonRelease, P, Qt::LeftButton);
    }

    std::vector<std::string> Events;
};

TEST_F(ComboList, OpeningRaisesInitAndDropDownAndAnotherCellsListClosesTheFirst) {
    ShowCombos();
    ClickButton(1, 1);
    EXPECT_EQ(Events, (std::vector<std::string>{"init 1,1", "drop 1,1"}));
    EXPECT_EQ(Grid->ComboDataCol(), 1);
    // The same cell's list again: nothing happens.
    Grid->ShowCombo();
    EXPECT_EQ(Events.size(), 2U);
    Events.clear();
    Grid->DisplayCombo(2, 1);
    EXPECT_EQ(Events, (std::vector<std::string>{"roll 1,1", "init 2,1", "drop 2,1"}));
    EXPECT_EQ(Grid->ComboDataCol(), 2);
    EXPECT_EQ(List()->GetGridRowCount(), 2);
    EXPECT_EQ(AnsiString(List()->GetCellValue(1, 2)), AnsiString("B2"));
}

TEST_F(ComboList, AColumnsListChangedAfterItWasShownOpensAsItIsNow) {
    ShowCombos(3);
    ClickButton(1, 1);
    ASSERT_EQ(List()->GetGridRowCount(), 3);
    Grid->HideCombo();
    FillList(1, 5, "N");
    ClickButton(1, 1);
    ASSERT_TRUE(Grid->ComboVisible());
    EXPECT_EQ(List()->GetGridRowCount(), 5);
    EXPECT_EQ(AnsiString(List()->GetCellValue(1, 2)), AnsiString("N2"));
}

TEST_F(ComboList, ClickingARowPutsItsValueColumnIntoTheCellAndRollsUp) {
    const struct {
        int ValueCol;
        const char* Want;
    } Cases[] = {{1, "A3"}, {2, "second"}};
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.ValueCol);
        ShowCombos();
        Grid->GetCol(1)->GetCombo()->SetValueCol(C.ValueCol);
        ClickButton(1, 2);
        ASSERT_TRUE(Grid->ComboVisible());
        Events.clear();
        ClickListRow(3);
        EXPECT_FALSE(Grid->ComboVisible());
        EXPECT_EQ(Events, (std::vector<std::string>{"roll 1,2"}));
        EXPECT_EQ(AnsiString(Grid->GridControl()->GetValue()), AnsiString(C.Want));
        EXPECT_TRUE(Grid->Focused() || Grid->GridControl()->Focused());
        delete Form;
        Form = nullptr;
        Events.clear();
    }
}

TEST_F(ComboList, TheGetValueEventDecidesTheValueAndIsTakenAsText) {
    ShowCombos();
    std::vector<std::string> Asked;
    Grid->OnComboGetValue = [&](TObject*, TgxComboGrid*, int C, int R, int ListRow, Variant& V) {
        Asked.push_back(std::to_string(C) + "," + std::to_string(R) + "," + std::to_string(ListRow));
        V = Variant(42);
    };
    ClickButton(1, 3);
    ClickListRow(2);
    EXPECT_EQ(Asked, (std::vector<std::string>{"1,3,2"}));
    const Variant V = Grid->GridControl()->GetValue();
    EXPECT_EQ(V.Type(), varString);
    EXPECT_EQ(AnsiString(V), AnsiString("42"));
}

TEST_F(ComboList, AFailingGetValueStillRollsTheListUpAndPassesTheErrorOn) {
    ShowCombos();
    AnsiString Shown;
    Application->OnException = [&](TObject*, const Exception& E) { Shown = E.Message; };
    Grid->OnComboGetValue = [](TObject*, TgxComboGrid*, int, int, int, Variant&) {
        throw Exception("no value");
    };
    ClickButton(1, 2);
    Events.clear();
    ClickListRow(1);
    Application->OnException = nullptr;
    EXPECT_EQ(Shown, "no value");
    EXPECT_FALSE(Grid->ComboVisible());
    EXPECT_EQ(Events, (std::vector<std::string>{"roll 1,2"}));
    EXPECT_TRUE(Grid->Focused() || Grid->GridControl()->Focused());
}

} // namespace
