// The company grid on a shown form: fitting a column to its texts, scrolling
// and finding rows while some are hidden, check-box cells toggled by the
// space bar and the mouse, drop-down lists from one text, and the palette.
#include "components/PellworthGrid.h"
#include "grid/model/Columns.h"
#include "grid/model/Combo.h"
#include "platform/classes/DesignRegistry.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtApp.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

using namespace components;

namespace {

class CompanyGridOnForm : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        Form = new TForm(nullptr);
        Form->SetBounds(10, 10, 600, 400);
        Grid = new TPellworthGrid(Form);
        Grid->SetParent(Form);
        Grid->SetBounds(0, 0, 400, 300);
        Form->Show();
        Grid->SetGridColCount(3);
        Grid->SetGridRowCount(20);
    }
    void TearDown() override { delete Form; }

    // The window shows exactly Rows data rows.
    void ShowRows(int Rows) {
        const int Height = Grid->RowHeights(0) + Rows * Grid->RowHeights(1) + 2;
        Grid->SetBounds(0, 0, 400, Height + (Grid->Height() - Grid->ClientHeight()));
        ASSERT_EQ(static_cast<int>(Grid->GetVisibleRows()), Rows);
    }
    int TextWidth(TFont* Font, const AnsiString& Text) {
        Grid->Canvas()->Font()->Assign(Font);
        return Grid->Canvas()->TextWidth(Text);
    }
    void PressSpace() {
        QWidget* W =
            QApplication::focusWidget() ? QApplication::focusWidget() : Grid->ClientWidget();
        QKeyEvent Down(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ");
        QApplication::sendEvent(W, &Down);
        QKeyEvent Up(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, " ");
        QApplication::sendEvent(W, &Up);
    }
    void Click(int DisplayCol, int DisplayRow) {
        const TRect R = Grid->CellRect(DisplayCol, DisplayRow);
        const QPointF At((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
        QWidget* W = Grid->ClientWidget();
        QMouseEvent Press(QEvent::MouseButtonPress, At, W->mapToGlobal(At), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(W, &Press);
        QMouseEvent Release(QEvent::MouseButtonRelease, At, W->mapToGlobal(At), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(W, &Release);
    }
    std::vector<int> SelectedRows() {
        std::vector<int> Rows;
        for (int r = 1; r <= Grid->GetGridRowCount(); ++r)
            if (Grid->GetRowSelected(r))
                Rows.push_back(r);
        return Rows;
    }

    TForm* Form = nullptr;
    TPellworthGrid* Grid = nullptr;
};

TEST_F(CompanyGridOnForm, AutoSizeMeasuresCellsInTheirPaintFontAndTheHeading) {
    Grid->GetCol(1)->SetHeading("");
    Grid->SetCellValue(1, 1, Variant(AnsiString("ab")));
    for (const char* Text : {"short\nthe much longer line", "short\r\nthe much longer line",
                             "short\rthe much longer line"}) {
        SCOPED_TRACE(Text);
        Grid->SetCellValue(1, 2, Variant(AnsiString(Text)));
        Grid->AutoSizeCol(1);
        EXPECT_EQ(Grid->GetCol(1)->Width(), TextWidth(Grid->Font(), "the much longer line") + 7);
    }

    Grid->GetCol(1)->SetButtonType(grid::btCombo);
    Grid->AutoSizeCol(1);
    EXPECT_EQ(Grid->GetCol(1)->Width(), TextWidth(Grid->Font(), "the much longer line") + 20);

    // A bold row is measured bold; a hidden row not at all.
    Grid->GetCol(1)->SetButtonType(grid::btNone);
    Grid->SetRowVisible(2, false);
    Grid->SetCellValue(1, 3, Variant(AnsiString("WWWWWWWWWW")));
    TFont Bold;
    Bold.Assign(Grid->Font());
    Bold.SetStyle(TFontStyles{TFontStyle::fsBold});
    Grid->SetRowFont(3, &Bold);
    Grid->AutoSizeCol(1);
    ASSERT_GT(TextWidth(&Bold, "WWWWWWWWWW"), TextWidth(Grid->Font(), "WWWWWWWWWW"));
    EXPECT_EQ(Grid->GetCol(1)->Width(), TextWidth(&Bold, "WWWWWWWWWW") + 7);

    // A long heading in the column's own font wins over short cells.
    Grid->GetCol(2)->SetHeading("A rather long heading\nx");
    TFont Big;
    Big.Assign(Grid->Font());
    Big.SetSize(Grid->Font()->Size() * 2);
    Grid->GetCol(2)->SetHeadingFont(&Big);
    Grid->GetCol(2)->SetHeadingParentFont(false);
    Grid->SetCellValue(2, 1, Variant(AnsiString("x")));
    Grid->AutoSizeCol(2);
    EXPECT_EQ(Grid->GetCol(2)->Width(), TextWidth(&Big, "A rather long heading") + 7);

    // A handler's minimum stands for its row's text.
    Grid->OnGetCellMinimumWidth = [](TObject*, int, int Row, int& Minimum, bool& Handled) {
        if (Row == 1) {
            Minimum = 200;
            Handled = true;
        }
    };
    Grid->AutoSizeCol(3);
    EXPECT_EQ(Grid->GetCol(3)->Width(),
              std::max(207, TextWidth(Grid->HeadingFont(), Grid->GetCol(3)->Heading()) + 7));
}

TEST_F(CompanyGridOnForm, AutoSizeColumnsLeavesHiddenAndCheckColumnsAlone) {
    for (int c = 1; c <= 3; ++c) {
        Grid->GetCol(c)->SetWidth(333);
        Grid->GetCol(c)->SetHeading("");
        Grid->SetCellValue(c, 1, Variant(AnsiString("abc")));
    }
    Grid->GetCol(2)->SetVisible(false);
    Grid->GetCol(3)->SetControlType(grid::TgxControlType::ctCheck);
    Grid->AutoSizeColumns();
    EXPECT_EQ(Grid->GetCol(1)->Width(), TextWidth(Grid->Font(), "abc") + 7);
    EXPECT_EQ(Grid->GetCol(2)->SetWidthValue(), 333);
    EXPECT_EQ(Grid->GetCol(3)->Width(), 333);
}

TEST_F(CompanyGridOnForm, ScrollMovesTheTopRowWithinTheRows) {
    ShowRows(3);
    struct Case {
        int Top, Lines, Expected;
    } const Cases[] = {
        {3, -5, 1}, {3, -1, 2}, {1, -1, 1}, {3, 0, 3}, {3, 4, 7}, {15, 10, 18},
    };
    for (const Case& c : Cases) {
        SCOPED_TRACE(testing::Message() << c.Top << " by " << c.Lines);
        Grid->SetTopRow(c.Top);
        ASSERT_EQ(Grid->TopRow(), c.Top);
        Grid->Scroll(c.Lines);
        EXPECT_EQ(Grid->TopRow(), c.Expected);
    }
}

TEST_F(CompanyGridOnForm, BottomRowCountsOnlyVisibleRows) {
    ShowRows(3);
    Grid->SetRowVisible(4, false);
    Grid->SetRowVisible(5, false);
    Grid->SetTopRow(3);
    EXPECT_EQ(Grid->GetBottomRow(), 7);

    Grid->SetTopRow(19);
    EXPECT_EQ(Grid->GetBottomRow(), 20);

    Grid->SetBottomRow(7);
    EXPECT_EQ(Grid->TopRow(), 3);
    Grid->SetBottomRow(20);
    EXPECT_EQ(Grid->TopRow(), 18);

    // Rows beyond the grid are no rows: the bottom stays the last row.
    Grid->SetBottomRow(25);
    EXPECT_EQ(Grid->TopRow(), 18);
}

TEST_F(CompanyGridOnForm, VisibleRowsAreFoundAroundHiddenOnes) {
    Grid->SetGridRowCount(10);
    for (int r : {1, 2, 5, 6, 10})
        Grid->SetRowVisible(r, false);
    struct Case {
        bool Next;
        int Row;
        bool Inclusive;
        int Expected;
    } const Cases[] = {
        {true, 1, true, 3},    {true, 3, true, 3},   {true, 3, false, 4},
        {true, 4, false, 7},   {true, 9, false, 9},  {true, 10, false, 10},
        {false, 7, false, 4},  {false, 6, true, 4},  {false, 3, false, 3},
        {false, 2, true, 2},   {true, -5, true, 3},  {false, 30, true, 9},
        {true, 30, false, 30}, {false, 0, false, 0},
    };
    for (const Case& c : Cases) {
        SCOPED_TRACE(testing::Message() << (c.Next ? "next " : "prev ") << c.Row);
        EXPECT_EQ(c.Next ? Grid->NextVisibleRow(c.Row, c.Inclusive)
                         : Grid->PrevVisibleRow(c.Row, c.Inclusive),
                  c.Expected);
    }
    EXPECT_EQ(Grid->FirstVisibleRow(), 3);
}

TEST_F(CompanyGridOnForm, MakeDataRowVisibleScrollsAndMakesTheRowCurrent) {
    ShowRows(3);
    struct Case {
        int Top, Row, ExpectedTop;
    } const Cases[] = {
        {5, 2, 1},   // above the window within the first three rows
        {10, 6, 6},  // above the window further down
        {5, 6, 5},   // inside the window
        {5, 8, 8},   // below the window
    };
    for (const Case& c : Cases) {
        SCOPED_TRACE(c.Row);
        Grid->SetTopRow(c.Top);
        Grid->MakeDataRowVisible(c.Row);
        EXPECT_EQ(Grid->TopRow(), c.ExpectedTop);
        EXPECT_EQ(Grid->GetCurrentDataRow(), c.Row);
    }
}

TEST_F(CompanyGridOnForm, ColListFillsTheColumnsOwnDropDown) {
    struct Case {
        const char* List;
        std::vector<AnsiString> Entries;
    } const Cases[] = {
        {"\tA\tB", {"", "A", "B"}},
        {"A\t\tB", {"A", "B"}},
        {"One", {"One"}},
        {"", {}},
    };
    for (const Case& c : Cases) {
        SCOPED_TRACE(c.List);
        Grid->SetColList(1, c.List);
        grid::TgxCol* Col = Grid->GetCol(1);
        EXPECT_FALSE(Col->ParentCombo());
        auto* List = Col->GetCombo()->GetGrid();
        EXPECT_TRUE(List->StoreData());
        EXPECT_EQ(List->GetGridColCount(), 1);
        std::vector<AnsiString> Got;
        for (int r = 1; r <= List->GetGridRowCount(); ++r)
            Got.push_back(List->GetCellValue(1, r).AsString());
        EXPECT_EQ(Got, c.Entries);
    }
}

TEST_F(CompanyGridOnForm, SpaceTogglesTheCurrentCheckCell) {
    Grid->SetGridMode(grid::gmEdit);
    Grid->GetCol(2)->SetControlType(grid::TgxControlType::ctCheck);
    Grid->SetCellValue(2, 3, Variant(1));
    Grid->SetCellValue(2, 4, Variant(0));
    Grid->SetCellValue(1, 3, Variant(AnsiString("text")));
    Grid->SetFocus();
    struct Case {
        int Row;
        int Expected;
    } const Cases[] = {{3, 0}, {4, 1}, {3, 1}};
    for (const Case& c : Cases) {
        SCOPED_TRACE(c.Row);
        Grid->SetCurrentDataCol(2);
        Grid->SetCurrentDataRow(c.Row);
        PressSpace();
        EXPECT_EQ(Grid->GetCellValue(2, c.Row).AsInteger(), c.Expected);
        EXPECT_FALSE(Grid->EditorShown());
    }
    // Values stored as text compare as numbers; a word is no 0.
    struct TextCase {
        const char* Value;
        int Expected;
    } const TextCases[] = {{"0", 1}, {"1", 0}, {"7", 0}, {"yes", 0}};
    for (const TextCase& c : TextCases) {
        SCOPED_TRACE(c.Value);
        Grid->SetCellValue(2, 6, Variant(AnsiString(c.Value)));
        Grid->SetCurrentDataCol(2);
        Grid->SetCurrentDataRow(6);
        PressSpace();
        EXPECT_EQ(Grid->GetCellValue(2, 6).AsInteger(), c.Expected);
    }

    // In a text column the space is an ordinary key.
    Grid->SetCurrentDataCol(1);
    Grid->SetCurrentDataRow(3);
    PressSpace();
    EXPECT_NE(Grid->GetCellValue(1, 3).AsString(), "0");

    // A grid that may not edit leaves the box as it is.
    Grid->SetGridMode(grid::gmBrowse);
    Grid->SetCurrentDataCol(2);
    Grid->SetCurrentDataRow(4);
    PressSpace();
    EXPECT_EQ(Grid->GetCellValue(2, 4).AsInteger(), 1);

    // Without a current row the key is dropped.
    Grid->SetGridMode(grid::gmEdit);
    Grid->SetGridRowCount(0);
    PressSpace();
    EXPECT_EQ(Grid->GetGridRowCount(), 0);
}

TEST_F(CompanyGridOnForm, AutoSizeTakesTheCellsOwnFont) {
    Grid->GetCol(1)->SetHeading("");
    Grid->SetCellValue(1, 1, Variant(AnsiString("MMMM")));
    TFont Large;
    Large.Assign(Grid->Font());
    Large.SetSize(Grid->Font()->Size() * 3);
    Grid->SetCellFont(1, 1, &Large);
    Grid->AutoSizeCol(1);
    EXPECT_EQ(Grid->GetCol(1)->Width(), TextWidth(&Large, "MMMM") + 7);
}

TEST_F(CompanyGridOnForm, ClickOnACheckCellTogglesWithoutSelectingTheRow) {
    Grid->SetGridMode(grid::gmEdit);
    Grid->SetRowSelect(true);
    Grid->GetCol(2)->SetControlType(grid::TgxControlType::ctCheck);
    Grid->SetCellValue(2, 5, Variant(0));
    Grid->SetRowSelected(2, true);

    Click(Grid->GetDisplayColnr(2), Grid->GetDisplayRownr(5));
    EXPECT_EQ(Grid->GetCellValue(2, 5).AsInteger(), 1);
    EXPECT_EQ(Grid->GetCurrentDataRow(), 5);
    EXPECT_EQ(Grid->GetCurrentDataCol(), 2);
    EXPECT_TRUE(SelectedRows().empty());

    // A click on another cell selects just its row.
    Grid->SetRowSelected(9, true);
    Click(Grid->GetDisplayColnr(1), Grid->GetDisplayRownr(4));
    EXPECT_EQ(SelectedRows(), std::vector<int>{4});
    EXPECT_EQ(Grid->GetCellValue(2, 5).AsInteger(), 1);

    // A grid that may not edit still makes the box current and clears the
    // selection, but leaves the value.
    Grid->SetGridMode(grid::gmBrowse);
    Click(Grid->GetDisplayColnr(2), Grid->GetDisplayRownr(7));
    EXPECT_EQ(Grid->GetCellValue(2, 7).AsString(), "");
    EXPECT_EQ(Grid->GetCurrentDataRow(), 7);
    EXPECT_TRUE(SelectedRows().empty());
}

// A column that does not exist is refused like every grid operation on one,
// and left alone quietly when the grid reports no invalid operations.
TEST_F(CompanyGridOnForm, ColumnsThatDoNotExistAreRefused) {
    for (const int Col : {0, 4, -1}) {
        SCOPED_TRACE(Col);
        EXPECT_THROW(Grid->AutoSizeCol(Col), grid::EInvalidGridOperation);
        EXPECT_THROW(Grid->SetColList(Col, "A\tB"), grid::EInvalidGridOperation);
    }
    Grid->SetReportInvalidOps(false);
    for (const int Col : {0, 4, -1}) {
        SCOPED_TRACE(Col);
        EXPECT_NO_THROW(Grid->AutoSizeCol(Col));
        EXPECT_NO_THROW(Grid->SetColList(Col, "A\tB"));
    }
}

// When the grid cannot leave the cell being edited, a click on a check box
// elsewhere toggles nothing: least of all the cell that stays current.
TEST_F(CompanyGridOnForm, AClickThatCannotMoveTheCurrentCellTogglesNothing) {
    Grid->SetGridMode(grid::gmEdit);
    Grid->GetCol(2)->SetControlType(grid::TgxControlType::ctCheck);
    Grid->SetCellValue(1, 3, Variant(AnsiString("kept")));
    Grid->SetCellValue(2, 5, Variant(0));
    Grid->OnEndCellEdit = [](TObject*, int, int, bool& Cancel) { Cancel = true; };
    Grid->SetFocus();
    Grid->SetCurrentDataCol(1);
    Grid->SetCurrentDataRow(3);
    ASSERT_TRUE(Grid->Edit());

    Click(Grid->GetDisplayColnr(2), Grid->GetDisplayRownr(5));
    EXPECT_EQ(Grid->GetCurrentDataCol(), 1);
    EXPECT_EQ(Grid->GetCurrentDataRow(), 3);
    EXPECT_EQ(Grid->GetCellValue(1, 3).AsString(), "kept");
    EXPECT_EQ(Grid->GetCellValue(2, 5).AsInteger(), 0);
}

TEST(CompanyGridPalette, RegisterPutsTheGridOnThePellworthPage) {
    tpellworthgrid::Register();
    const auto Classes = PaletteComponents("Pellworth");
    EXPECT_TRUE(std::any_of(Classes.begin(), Classes.end(), [](const TClassInfo* c) {
        return c->ClassName == "TPellworthGrid";
    }));
}

} // namespace
