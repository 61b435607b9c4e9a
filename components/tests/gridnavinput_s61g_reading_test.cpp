// The company grid's column auto-size, its walks over hidden rows, the
// check-box cells toggled by space and by a click, the drop-down list made
// from one text, and its palette registration, all through the public path.
#include "components/PellworthGrid.h"
#include "grid/model/Columns.h"
#include "grid/model/Combo.h"
#include "platform/classes/DesignRegistry.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/QtApp.h"
#include "platform/gui/tests/GuiTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace components;
using namespace grid;

namespace {

class PellworthNavInput : public ::testing::Test {
protected:
    void Show(int Cols, int Rows, int Height = 300) {
        EnsureQtApplication();
        Form = new TForm(nullptr);
        Form->SetBounds(10, 10, 600, 500);
        Grid = new TPellworthGrid(Form);
        Grid->SetParent(Form);
        Grid->SetBounds(0, 0, 400, Height);
        Grid->SetStoreData(true);
        Grid->SetGridColCount(Cols);
        Grid->SetGridRowCount(Rows);
        ShowActive(*Form);
        Grid->SetFocus();
        QApplication::processEvents();
    }
    // Shrinks the grid until the window counts exactly N rows.
    void FitRows(int N) {
        for (int H = 400; H > 20; --H) {
            Grid->SetBounds(0, 0, 400, H);
            if (static_cast<int>(std::trunc(Grid->GetVisibleRows())) == N) return;
        }
        FAIL() << "no height shows " << N << " rows";
    }
    int TextW(const AnsiString& S, TFont* F) {
        Measure.Canvas()->Font()->Assign(F);
        return Measure.Canvas()->TextWidth(S);
    }
    TgxCol* Col(int C) { return Grid->GridCols()->GetCol(C); }
    QPoint CellMid(int DisplayCol, int DisplayRow) {
        const TRect R = Grid->CellRect(DisplayCol, DisplayRow);
        const int F = Grid->WindowFrameWidth();
        return QPoint((R.Left + R.Right) / 2 + F, (R.Top + R.Bottom) / 2 + F);
    }
    void TearDown() override { delete Form; }

    TForm* Form = nullptr;
    TPellworthGrid* Grid = nullptr;
    TBitmap Measure;
};

TEST_F(PellworthNavInput, AutoSizeFitsTheWidestLineOfCellsAndHeading) {
    Show(3, 3);
    Col(1)->SetHeading("H");
    Grid->SetCellValue(1, 1, Variant(AnsiString("ab")));
    Grid->SetCellValue(1, 2, Variant(AnsiString("x\r\na much longer second line")));
    Grid->AutoSizeCol(1);
    const int Text = TextW("a much longer second line", Grid->Font());
    EXPECT_EQ(Col(1)->Width(), Text + 7);

    Col(1)->SetButtonType(btCombo);
    Grid->AutoSizeCol(1);
    EXPECT_EQ(Col(1)->Width(), Text + 7 + 13);

    // A hidden row is not measured.
    Grid->SetRowVisible(2, false);
    Col(1)->SetButtonType(btDefault);
    Grid->AutoSizeCol(1);
    EXPECT_EQ(Col(1)->Width(), TextW("ab", Grid->Font()) + 7);

    // A long heading in its own font wins over the cells.
    TFont Big;
    Big.Assign(Grid->Font());
    Big.SetSize(Grid->Font()->Size() * 2);
    Col(1)->SetHeading("Heading line\r\nand the much longer heading line");
    Col(1)->SetHeadingParentFont(false);
    Col(1)->SetHeadingFont(&Big);
    Grid->AutoSizeCol(1);
    EXPECT_EQ(Col(1)->Width(), TextW("and the much longer heading line", &Big) + 7);
}

TEST_F(PellworthNavInput, AutoSizeMeasuresEachCellInTheFontItIsPaintedWith) {
    Show(2, 3);
    Col(1)->SetHeading("H");
    TFont Row, Cell, Heading;
    Row.Assign(Grid->Font());
    Row.SetSize(Grid->Font()->Size() * 2);
    Cell.Assign(Grid->Font());
    Cell.SetSize(Grid->Font()->Size() * 3);
    Heading.Assign(Grid->Font());
    Heading.SetSize(Grid->Font()->Size() * 4);
    Grid->SetCellValue(1, 1, Variant(AnsiString("row font")));
    Grid->SetCellValue(1, 2, Variant(AnsiString("cell")));
    Grid->SetRowFont(1, &Row);
    Grid->SetCellFont(1, 2, &Cell);
    Grid->AutoSizeCol(1);
    EXPECT_EQ(Col(1)->Width(),
              std::max(TextW("row font", &Row), TextW("cell", &Cell)) + 7);

    // A heading that follows the grid is measured in the grid's heading font.
    Col(1)->SetHeading("a heading wider than both");
    Grid->SetHeadingFont(&Heading);
    Grid->AutoSizeCol(1);
    EXPECT_EQ(Col(1)->Width(), TextW("a heading wider than both", &Heading) + 7);
}

TEST_F(PellworthNavInput, AutoSizeTakesTheMinimumAHandlerClaims) {
    Show(2, 3);
    Col(1)->SetHeading("H");
    Grid->SetCellValue(1, 1, Variant(AnsiString("ab")));
    std::vector<int> Asked;
    Grid->OnGetCellMinimumWidth = [&](TObject* Sender, int DataCol, int DataRow, int& Min,
                                      bool& Handled) {
        EXPECT_EQ(Sender, Grid);
        EXPECT_EQ(DataCol, 1);
        EXPECT_EQ(Min, 0);
        EXPECT_FALSE(Handled);
        Asked.push_back(DataRow);
        if (DataRow == 2) {
            Min = 200;
            Handled = true;
        }
    };
    Grid->AutoSizeCol(1);
    EXPECT_EQ(Asked, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(Col(1)->Width(), 207);
}

TEST_F(PellworthNavInput, AutoSizeLetsAHandlersErrorThroughAndWorksAfterwards) {
    Show(2, 2);
    Col(1)->SetHeading("H");
    Col(1)->SetWidth(55);
    Grid->SetCellValue(1, 1, Variant(AnsiString("ab")));
    Grid->OnGetCellMinimumWidth = [](TObject*, int, int, int&, bool&) {
        throw Exception("no width");
    };
    EXPECT_THROW(Grid->AutoSizeCol(1), Exception);
    EXPECT_EQ(Col(1)->Width(), 55);
    Grid->OnGetCellMinimumWidth = nullptr;
    Grid->AutoSizeCol(1);
    EXPECT_EQ(Col(1)->Width(), TextW("ab", Grid->Font()) + 7);
}

TEST_F(PellworthNavInput, AutoSizeColumnsSkipsHiddenAndCheckBoxColumns) {
    Show(3, 2);
    for (int C = 1; C <= 3; ++C) {
        Col(C)->SetHeading("H");
        Col(C)->SetWidth(333);
        Grid->SetCellValue(C, 1, Variant(AnsiString("ab")));
    }
    Col(2)->SetVisible(false);
    Col(3)->SetControlType(ctCheck);
    Grid->AutoSizeColumns();
    EXPECT_EQ(Col(1)->Width(), TextW("ab", Grid->Font()) + 7);
    EXPECT_EQ(Col(2)->Width(), 333);
    EXPECT_EQ(Col(3)->Width(), 333);
}

TEST_F(PellworthNavInput, ScrollMovesTheTopRowWithinTheRows) {
    Show(2, 20);
    FitRows(3);
    struct Case { int Top, Lines, Expected; };
    for (const Case& C : {Case{3, -5, 1}, Case{10, -2, 8}, Case{5, 0, 5}, Case{5, 4, 9},
                          Case{1, -1, 1}}) {
        Grid->SetTopRow(C.Top);
        ASSERT_EQ(Grid->TopRow(), C.Top);
        Grid->Scroll(C.Lines);
        EXPECT_EQ(Grid->TopRow(), C.Expected) << C.Top << " by " << C.Lines;
    }
    // At the last row a further scroll down changes nothing.
    const int Top = Grid->TopRow();
    Grid->SetTopRow(20);
    const int Last = Grid->TopRow();
    Grid->Scroll(5);
    EXPECT_EQ(Grid->TopRow(), Last);
    (void)Top;
}

TEST_F(PellworthNavInput, BottomRowCountsHiddenRowsItWalksOver) {
    Show(2, 12);
    FitRows(3);
    Grid->SetRowVisible(4, false);
    Grid->SetRowVisible(5, false);
    Grid->SetTopRow(3);
    ASSERT_EQ(Grid->TopRow(), 3);
    EXPECT_EQ(Grid->GetBottomRow(), 7);

    Grid->SetBottomRow(7);
    EXPECT_EQ(Grid->TopRow(), 3);
    Grid->SetBottomRow(2);
    EXPECT_EQ(Grid->TopRow(), 1);
}

TEST_F(PellworthNavInput, NextAndPrevVisibleRowSkipHiddenRows) {
    Show(2, 10);
    for (int R : {3, 4, 10}) Grid->SetRowVisible(R, false);
    struct Case { bool Next; int Row; bool Inclusive; int Expected; };
    for (const Case& C : {Case{true, 3, true, 5}, Case{true, 2, false, 5},
                          Case{true, 2, true, 2}, Case{true, 9, false, 9},
                          Case{true, 10, false, 10}, Case{false, 4, true, 2},
                          Case{false, 5, false, 2}, Case{false, 5, true, 5},
                          Case{false, 1, false, 1}}) {
        const int Got = C.Next ? Grid->NextVisibleRow(C.Row, C.Inclusive)
                               : Grid->PrevVisibleRow(C.Row, C.Inclusive);
        EXPECT_EQ(Got, C.Expected) << (C.Next ? "next " : "prev ") << C.Row << " "
                                   << C.Inclusive;
    }
    Grid->SetRowVisible(1, false);
    EXPECT_EQ(Grid->FirstVisibleRow(), 2);
}

TEST_F(PellworthNavInput, MakeDataRowVisibleScrollsOnlyWhenOutOfView) {
    Show(2, 20);
    FitRows(3);
    struct Case { int Top, DataRow, ExpectedTop; };
    for (const Case& C : {Case{5, 2, 1}, Case{10, 6, 6}, Case{5, 7, 5}, Case{5, 8, 8},
                          Case{1, 15, 15}}) {
        Grid->SetTopRow(C.Top);
        Grid->MakeDataRowVisible(C.DataRow);
        EXPECT_EQ(Grid->TopRow(), C.ExpectedTop) << C.Top << " to " << C.DataRow;
        EXPECT_EQ(Grid->GetCurrentDataRow(), C.DataRow);
    }
}

TEST_F(PellworthNavInput, SetColListFillsTheColumnsOwnList) {
    Show(2, 2);
    struct Case { const char* List; std::vector<AnsiString> Rows; };
    for (const Case& C : {Case{"\tA\tB", {"", "A", "B"}}, Case{"A\t\tB", {"A", "B"}},
                          Case{"One", {"One"}}}) {
        Grid->SetColList(1, C.List);
        EXPECT_FALSE(Col(1)->ParentCombo());
        TgxCombo* Combo = Col(1)->GetCombo();
        ASSERT_NE(Combo, nullptr);
        TgxBaseGrid* List = Combo->GetGrid();
        EXPECT_TRUE(List->StoreData());
        EXPECT_EQ(List->GetGridColCount(), 1);
        ASSERT_EQ(List->GetGridRowCount(), static_cast<int>(C.Rows.size())) << C.List;
        for (int R = 1; R <= List->GetGridRowCount(); ++R)
            EXPECT_EQ(List->GetCellValue(1, R).AsString(), C.Rows[R - 1]) << C.List;
    }
}

TEST_F(PellworthNavInput, SpaceTogglesTheCurrentCheckBoxCell) {
    Show(2, 3);
    Col(1)->SetControlType(ctCheck);
    struct Case { int Before, After; };
    for (const Case& C : {Case{0, 1}, Case{1, 0}, Case{5, 0}}) {
        Grid->SetCellValue(1, 2, Variant(C.Before));
        Grid->SetCurrentDataCol(1);
        Grid->SetCurrentDataRow(2);
        TypeKey(Grid->Widget(), Qt::Key_Space, " ");
        EXPECT_EQ(Grid->GetCellValue(1, 2).AsInteger(), C.After) << C.Before;
        EXPECT_FALSE(Grid->EditorMode());
    }
    // Space on a text cell is typed into the editor, the cell untouched.
    Grid->SetCellValue(2, 2, Variant(AnsiString("t")));
    Grid->SetCurrentDataCol(2);
    TypeKey(Grid->Widget(), Qt::Key_Space, " ");
    EXPECT_EQ(Grid->GetCellValue(2, 2).AsString(), AnsiString("t"));
}

TEST_F(PellworthNavInput, ClickTogglesACheckBoxCellWithoutSelectingARow) {
    Show(2, 4);
    Col(1)->SetControlType(ctCheck);
    Grid->SetRowSelect(true);
    Grid->SetCellValue(1, 3, Variant(0));
    Grid->SetRowSelected(2, true);
    ClickAt(Grid->Widget(), CellMid(1, 3));
    EXPECT_EQ(Grid->GetCellValue(1, 3).AsInteger(), 1);
    EXPECT_EQ(Grid->GetCurrentDataCol(), 1);
    EXPECT_EQ(Grid->GetCurrentDataRow(), 3);
    for (int R = 1; R <= 4; ++R) EXPECT_FALSE(Grid->GetRowSelected(R)) << R;

    // A click on a text cell with RowSelect selects that row alone.
    ClickAt(Grid->Widget(), CellMid(2, 4));
    EXPECT_EQ(Grid->GetCellValue(1, 3).AsInteger(), 1);
    for (int R = 1; R <= 4; ++R) EXPECT_EQ(Grid->GetRowSelected(R), R == 4) << R;
}

TEST_F(PellworthNavInput, CheckBoxCellsStayWhenNoEditMayStartOrTheClickMisses) {
    Show(2, 4);
    Col(1)->SetControlType(ctCheck);
    Grid->SetCellValue(1, 2, Variant(0));
    // A read-only row refuses the edit: neither space nor a click toggles.
    Grid->SetRowReadOnly(2, true);
    Grid->SetCurrentDataCol(1);
    Grid->SetCurrentDataRow(2);
    TypeKey(Grid->Widget(), Qt::Key_Space, " ");
    ClickAt(Grid->Widget(), CellMid(1, 2));
    EXPECT_EQ(Grid->GetCellValue(1, 2).AsInteger(), 0);
    Grid->SetRowReadOnly(2, false);
    // A right click and a click on the heading are no check-box input.
    SendMouse(Grid->Widget(), QEvent::MouseButtonPress, CellMid(1, 2), Qt::RightButton);
    SendMouse(Grid->Widget(), QEvent::MouseButtonRelease, CellMid(1, 2), Qt::RightButton);
    ClickAt(Grid->Widget(), CellMid(1, 0));
    EXPECT_EQ(Grid->GetCellValue(1, 2).AsInteger(), 0);
}

TEST_F(PellworthNavInput, DisplayOrderDecidesWhereRowsAreFoundAndSelected) {
    Show(2, 20);
    FitRows(3);
    // Data row 20 is shown first, data row 1 last.
    Grid->SetDisplayRownr(20, 1);
    ASSERT_EQ(Grid->GetDisplayRownr(1), 2);
    Grid->SetDisplayRownr(1, 20);
    ASSERT_EQ(Grid->GetDisplayRownr(1), 20);
    Grid->SetTopRow(20);
    const int Lowest = Grid->TopRow();
    Grid->SetTopRow(1);
    Grid->MakeDataRowVisible(1);
    EXPECT_EQ(Grid->TopRow(), Lowest);
    EXPECT_EQ(Grid->GetCurrentDataRow(), 1);
    Grid->MakeDataRowVisible(20);
    EXPECT_EQ(Grid->TopRow(), 1);

    // Hiding data row 20 hides display row 1.
    Grid->SetRowVisible(20, false);
    EXPECT_EQ(Grid->FirstVisibleRow(), 2);

    Grid->SetRowSelect(true);
    ClickAt(Grid->Widget(), CellMid(2, Grid->TopRow() + 1));
    const int Data = Grid->GetDataRownr(Grid->TopRow() + 1);
    for (int R = 1; R <= 20; ++R) EXPECT_EQ(Grid->GetRowSelected(R), R == Data) << R;
}

TEST_F(PellworthNavInput, KeysOnAGridWithoutRowsAreIgnored) {
    Show(2, 0);
    Col(1)->SetControlType(ctCheck);
    TypeKey(Grid->Widget(), Qt::Key_Space, " ");
    TypeKey(Grid->Widget(), Qt::Key_A, "a");
    EXPECT_EQ(Grid->GetGridRowCount(), 0);
    EXPECT_FALSE(Grid->EditorMode());
}

TEST_F(PellworthNavInput, RegisterPutsTheGridOnThePellworthPage) {
    tpellworthgrid::Register();
    tpellworthgrid::Register();
    int Found = 0;
    for (const TClassInfo* C : PaletteComponents("Pellworth"))
        Found += C->ClassName == "TPellworthGrid";
    EXPECT_EQ(Found, 1);
}

} // namespace
