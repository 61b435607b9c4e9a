#include "components/PellworthGrid.h"
#include "grid/model/Columns.h"
#include "grid/model/Combo.h"
#include "grid/model/CurrentCell.h"
#include "grid/model/PropDefaults.h"
#include "grid/model/DrawData.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtApp.h"
#include "platform/rtl/FloatFormat.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

using namespace components;

namespace {

// A company grid of 3 columns and 5 rows without a window.
class PellworthGridTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        Grid = std::make_unique<TPellworthGrid>(nullptr);
        Grid->SetName("Grid1");
        Grid->SetGridColCount(3);
        Grid->SetGridRowCount(5);
    }
    AnsiString Cell(int Col, int Row) { return VarToStr(Grid->GetCellValue(Col, Row)); }

    std::unique_ptr<TPellworthGrid> Grid;
};

// A store beside the grid: every value goes here while it is attached.
class MapProvider : public TGridCellProvider {
public:
    void GetValue(int Col, int Row, Variant& Value) override { Value = Cells[{Col, Row}]; }
    void SetValue(int Col, int Row, const Variant& Value) override { Cells[{Col, Row}] = Value; }
    std::map<std::pair<int, int>, Variant> Cells;
};

TEST_F(PellworthGridTest, ConstructorGivesTheCompanyDefaults) {
    EXPECT_FALSE(Grid->RowSelect());
    EXPECT_FALSE(Grid->AlwaysShowEditor());
    EXPECT_EQ(Grid->EditColor(), clYellow);
    EXPECT_EQ(Grid->FocusColor(), clYellow);
    EXPECT_EQ(Grid->LineColor(), clTeal);
    EXPECT_EQ(Grid->ResizeRows(), grid::rrNone);
    EXPECT_FALSE(Grid->RowMoving());
    EXPECT_EQ(Grid->RowChangedIndicator(), grid::riAutoReset);
    EXPECT_FALSE(Grid->SelectFixed());
    EXPECT_EQ(Grid->SelectionType(), grid::sltColor);
    EXPECT_TRUE(Grid->StoreData());
    EXPECT_TRUE(Grid->ThumbTracking());
    EXPECT_EQ(Grid->CellSelectMode(), grid::cmNone);
    EXPECT_FALSE(Grid->SaveColumnWidths()->Enabled());
    EXPECT_FALSE(Grid->SaveColumnPositions()->Enabled());
    EXPECT_EQ(Grid->CellProvider, nullptr);
}

TEST(ParseGridNumber, DropsMoneyMarksAndFallsBackToTheNumericPrefix) {
    const struct {
        const char* Text;
        long double Expected;
    } Cases[] = {{"$1,200%", 1200}, {"12abc", 12},    {"abc", 0},    {"", 0},
                 {"1,5", 15},       {"-3.25", -3.25}, {"  7", 7},    {"Info", 0},
                 {"nancy", 0},      {"inf", 0},       {"0x1F", 0},   {"1e400", 0},
                 {"2.5e3 kg", 2500}, {"-.5x", -0.5},  {"7e", 7},     {"+", 0}};
    for (const auto& C : Cases)
        EXPECT_DOUBLE_EQ(static_cast<double>(ParseGridNumber(C.Text)),
                         static_cast<double>(C.Expected))
            << C.Text;
}

TEST_F(PellworthGridTest, ColumnFormatsShapeTheTextButNotTheValue) {
    Grid->SetColFormat(1, "#,##0.00");
    Grid->SetColFormat(2, "0.00");
    const struct {
        int Col;
        const char* Stored;
        const char* Shown;
    } Cases[] = {
        {1, "1234.5", "1,234.50"},
        {2, "$1,200%", "1200.00"},
        {2, "12abc", "12.00"},
        {2, "abc", "0.00"},
        {2, "", ""},
        {2, "-", "-"},
        {3, "1234.5", "1234.5"}, // no format
    };
    for (const auto& C : Cases) {
        Grid->SetGridDataCell(C.Stored, C.Col, 1);
        EXPECT_EQ(Grid->FormattedCellValue(C.Col, 1), C.Shown) << C.Stored;
        EXPECT_EQ(Cell(C.Col, 1), C.Stored);
    }
    EXPECT_EQ(Grid->GetColFormat(1), "#,##0.00");
    EXPECT_EQ(Grid->GetColFormat(3), "");
    Grid->SetColFormat(1, "");
    EXPECT_EQ(Grid->FormattedCellValue(1, 1), "1234.5") << "an empty format switches it off";
}

TEST_F(PellworthGridTest, TypedAccessSuppressesWrittenZerosOnlyForDoubles) {
    double D = 0.0;
    Grid->SetGridDataCell(D, 1, 1);
    EXPECT_EQ(Cell(1, 1), "") << "a zero double is a blank cell";
    Grid->SetGridDataCell(0, 1, 2);
    EXPECT_EQ(Cell(1, 2), "0") << "an integer zero is kept";
    Grid->SetColDisplayZero(1, true);
    Grid->SetGridDataCell(D, 1, 3);
    EXPECT_EQ(Cell(1, 3), "0");
    Grid->SetColDisplayZero(1, false);
    EXPECT_FALSE(Grid->GetColDisplayZero(1));
    const float F = 0.0f;
    Grid->SetGridDataCell(F, 1, 3);
    EXPECT_EQ(Cell(1, 3), "");

    Grid->SetGridDataCell("   ", 2, 1);
    Grid->SetGridDataCell("1,5", 2, 2);
    Grid->GetGridDataCell(D, 2, 1);
    EXPECT_EQ(D, 0.0);
    Grid->GetGridDataCell(D, 2, 2);
    EXPECT_EQ(D, 15.0);

    int I = -1;
    Grid->SetGridDataCell("12abc", 3, 1);
    Grid->GetGridDataCell(I, 3, 1);
    EXPECT_EQ(I, 0) << "a conversion error reads as 0";
    Grid->SetGridDataCell(42, 3, 2);
    Grid->GetGridDataCell(I, 3, 2);
    EXPECT_EQ(I, 42);

    char Text[16];
    Grid->GetGridDataCell(Text, 3, 2);
    EXPECT_STREQ(Text, "42");
    // By display position: data column 3 shown first.
    Grid->SetDisplayColnr(3, 1);
    Grid->SetGridDisplayCell("x", 1, 4);
    EXPECT_EQ(Cell(3, 4), "x");
    Grid->GetGridDisplayCell(Text, 1, 2);
    EXPECT_STREQ(Text, "42");
}

TEST_F(PellworthGridTest, ACellProviderTakesEveryValueAndKeepsZeros) {
    MapProvider Provider;
    Grid->SetGridDataCell("own", 1, 1);
    Grid->CellProvider = &Provider;
    Grid->SetGridDataCell("theirs", 1, 1);
    const double Zero = 0.0;
    Grid->SetGridDataCell(Zero, 2, 1);
    EXPECT_EQ(VarToStr(Provider.Cells[{1, 1}]), "theirs");
    EXPECT_EQ(VarToStr(Provider.Cells[{2, 1}]), "0") << "no suppression for a provider";
    EXPECT_EQ(Cell(1, 1), "theirs");
    Variant Loaded = "painted";
    Grid->DoCellLoaded(1, 1, Loaded);
    EXPECT_EQ(VarToStr(Loaded), "theirs");

    Grid->CellProvider = nullptr;
    EXPECT_EQ(Cell(1, 1), "own") << "the grid's own store was not touched";
}

TEST_F(PellworthGridTest, EditRelaysHandTheEditedValueToTheProviderBeforeTheEvents) {
    MapProvider Provider;
    Grid->CellProvider = &Provider;
    Grid->SetGridMode(grid::gmEdit);
    std::vector<std::string> Seen;
    Grid->OnCellEdit = [&](TObject*, int Col, int Row, bool) {
        Seen.push_back("edit " + std::to_string(Col) + "," + std::to_string(Row) + " " +
                       VarToStr(Provider.Cells[{Col, Row}]));
    };
    bool CancelEnd = true;
    Grid->OnEndCellEdit = [&](TObject*, int Col, int Row, bool& Cancel) {
        Seen.push_back("end " + std::to_string(Col) + "," + std::to_string(Row) + " " +
                       VarToStr(Provider.Cells[{Col, Row}]));
        Cancel = CancelEnd;
    };
    Grid->SetCurrentCell(2, 3);
    ASSERT_TRUE(Grid->Edit());
    Grid->CurrentCell()->SetBuffer(Variant(AnsiString("typed")), false);

    // Only a combo column hands its value on while the edit runs.
    Grid->CellEdit(2, 3, true);
    Grid->GetCol(2)->SetButtonType(grid::btCombo);
    Grid->CellEdit(2, 3, true);
    EXPECT_EQ(Seen, (std::vector<std::string>{"edit 2,3 ", "edit 2,3 typed"}));

    // Ending the edit hands it on before the handler refuses the end.
    Provider.Cells.clear();
    Seen.clear();
    Grid->EndEdit(false);
    EXPECT_EQ(Seen, std::vector<std::string>{"end 2,3 typed"});
    EXPECT_TRUE(Grid->CellEditing());
    CancelEnd = false;
    Grid->EndEdit(false);
    EXPECT_FALSE(Grid->CellEditing());

    // The relays themselves take the row as a variant.
    Provider.Cells.clear();
    Grid->CurrentCell()->SetBuffer(Variant(AnsiString("again")), false);
    bool Cancel = true;
    Grid->DoEndCellEdit(2, Variant(AnsiString("3")), Cancel);
    EXPECT_FALSE(Cancel);
    EXPECT_EQ(VarToStr(Provider.Cells[{2, 3}]), "again");
}

// The painter's text as the company grid hands it on.
class PaintedGrid : public TPellworthGrid {
public:
    using TPellworthGrid::TPellworthGrid;
    void Paint(const AnsiString& Text, int DataCol) {
        grid::TgxDrawData Data;
        Data.DataCol = DataCol;
        Data.DataRow = 1;
        DrawCellText(Text, Data, false);
    }
};

TEST_F(PellworthGridTest, TheDrawTextHandlerSeesTheFormattedTextAndChangesOnlyThePainting) {
    PaintedGrid G(nullptr);
    G.SetGridColCount(1);
    G.SetGridRowCount(1);
    G.SetColFormat(1, "0.0");
    AnsiString Seen;
    G.OnDrawCellText = [&](TObject* Sender, AnsiString& Text, grid::TgxDrawData&, bool) {
        EXPECT_EQ(Sender, &G);
        Seen = Text;
        Text = "changed";
    };
    G.SetGridDataCell("2", 1, 1);
    G.Paint("2", 1);
    EXPECT_EQ(Seen, "2.0");
    EXPECT_EQ(VarToStr(G.GetCellValue(1, 1)), "2");
}

TEST_F(PellworthGridTest, ColumnPreconditionsStopTheProgram) {
    EXPECT_DEATH(Grid->GetColFormat(0), "DataCol > 0 && DataCol <= Cols");
    EXPECT_DEATH(Grid->SetColDisplayZero(4, true), "file TPellworthGrid");
    EXPECT_DEATH(Grid->SetRowFontStyle(6, {}), "DataRow > 0 && DataRow <= Rows");
}

// ---- row fonts ---------------------------------------------------------------------------

TEST_F(PellworthGridTest, RowStylesReachTheCellsUpToTheLastColumn) {
    for (const int LastCol : {2, 0}) {
        SetUp();
        Grid->SetRowFontStyleLastCol(LastCol);
        Grid->SetRowFontStyle(2, {fsBold});
        EXPECT_FALSE(Grid->GetRowParentFont(2));
        EXPECT_TRUE(Grid->GetRowFont(2)->Style().Contains(fsBold));
        for (int Col = 1; Col <= 3; ++Col) {
            const bool Reached = LastCol == 0 || Col <= LastCol;
            EXPECT_EQ(!Grid->GetCellParentFont(Col, 2), Reached) << Col;
            if (Reached) EXPECT_TRUE(Grid->GetCellFont(Col, 2)->Style().Contains(fsBold));
        }
    }
}

TEST_F(PellworthGridTest, AResetRowKeepsOnlyCellsWithAColourOfTheirOwn) {
    Grid->GetCol(3)->SetParentFont(false);
    Grid->GetCol(3)->GetFont()->SetColor(clBlue);
    Grid->SetCellFontColor(2, 1, clRed);
    Grid->SetRowFontStyles(1, {fsBold, fsItalic}, 0);
    EXPECT_EQ(Grid->GetCellFont(1, 1)->Color(), Grid->Font()->Color());
    EXPECT_EQ(Grid->GetCellFont(2, 1)->Color(), clRed);
    EXPECT_EQ(Grid->GetCellFont(3, 1)->Color(), clBlue) << "the column's colour is kept";

    Grid->ResetRowFontStyles(1, 0);
    EXPECT_TRUE(Grid->GetRowParentFont(1));
    EXPECT_TRUE(Grid->GetCellParentFont(1, 1));
    EXPECT_FALSE(Grid->GetCellParentFont(2, 1)) << "its own red survives";
    EXPECT_TRUE(Grid->GetCellParentFont(3, 1));

    Grid->SetCellFontColor(2, 1, Grid->Font()->Color());
    EXPECT_TRUE(Grid->GetCellParentFont(2, 1)) << "the grid's colour is no colour of its own";

    Grid->SetRowFontColors(4, clGreen, 2);
    EXPECT_EQ(Grid->GetRowFont(4)->Color(), clGreen);
    EXPECT_EQ(Grid->GetCellFont(2, 4)->Color(), clGreen);
    EXPECT_TRUE(Grid->GetCellParentFont(3, 4));
}

TEST_F(PellworthGridTest, FontSizeReachesEveryOwnFontAndSetsTheRowHeights) {
    Grid->GetCol(2)->SetParentFont(false);
    Grid->SetRowFontStyles(3, {fsBold}, 1);
    Grid->SetFontSize(12);
    EXPECT_EQ(Grid->Font()->Size(), 12);
    EXPECT_EQ(Grid->HeadingFont()->Size(), 12);
    EXPECT_EQ(Grid->GetCol(2)->GetFont()->Size(), 12);
    EXPECT_EQ(Grid->GetRowFont(3)->Size(), 12);
    EXPECT_EQ(Grid->GetCellFont(1, 3)->Size(), 12);
    const int Expected = Grid->Canvas()->TextHeight("Wy") + 2;
    EXPECT_EQ(Grid->DefaultRowHeight(), Expected);
    EXPECT_EQ(Grid->GetHeadingHeight(), Expected);
}

// ---- sorting and the selected rows ----------------------------------------------------------

class PellworthSortTest : public PellworthGridTest {
protected:
    void Fill(int Col, std::vector<Variant> Values) {
        Grid->SetGridRowCount(static_cast<int>(Values.size()));
        for (std::size_t R = 0; R < Values.size(); ++R)
            Grid->SetCellValue(Col, static_cast<int>(R) + 1, Values[R]);
    }
    // Column Col's texts in display order.
    std::vector<std::string> Shown(int Col) {
        std::vector<std::string> Texts;
        for (int P = 1; P <= Grid->GetGridRowCount(); ++P)
            Texts.push_back(Cell(Col, Grid->GetDataRow(P)));
        return Texts;
    }
    void SortBy(std::vector<int> Cols, int Order, int CaseMode = 0) {
        Grid->Sort(Cols.data(), static_cast<int>(Cols.size()), Order, CaseMode);
    }
};

TEST_F(PellworthSortTest, TextSortsByBytesOrWithoutCaseAndStaysStable) {
    Fill(1, {"b", "A", "a"});
    SortBy({1}, 0);
    EXPECT_EQ(Shown(1), (std::vector<std::string>{"A", "a", "b"}));
    SortBy({1}, 1);
    EXPECT_EQ(Shown(1), (std::vector<std::string>{"b", "a", "A"}));

    // Without case, equal keys keep their data order, ascending and descending.
    Fill(1, {"abc", "x", "ABC", "Abc"});
    Fill(2, {"1", "2", "3", "4"});
    SortBy({1}, 0, 1);
    EXPECT_EQ(Shown(2), (std::vector<std::string>{"1", "3", "4", "2"}));
    SortBy({1}, 1, 1);
    EXPECT_EQ(Shown(2), (std::vector<std::string>{"2", "1", "3", "4"}));
    Grid->Unsort();
    EXPECT_EQ(Shown(2), (std::vector<std::string>{"1", "2", "3", "4"}));
}

// A row's key is the text of its cells run together, compared byte by
// byte: numbers sort as text, and where one column ends does not count.
TEST_F(PellworthSortTest, KeysAreTheCellTextsJoinedAndComparedAsBytes) {
    Fill(1, {Variant(9), Variant(100), Variant(AnsiString()), Variant(10), Variant(-2.5)});
    SortBy({1}, 0);
    EXPECT_EQ(Shown(1), (std::vector<std::string>{"", "-2.5", "10", "100", "9"}));

    Fill(1, {"AB", "A", "AB", "A"});
    Fill(2, {"C", "BC", "D", "BB"});
    Fill(3, {"1", "2", "3", "4"});
    SortBy({1, 2}, 0);
    // "ABB" < "ABC" = "ABC" < "ABD": the equal keys keep their data order.
    EXPECT_EQ(Shown(3), (std::vector<std::string>{"4", "1", "2", "3"}));

    // Bytes beyond ASCII come after every ASCII byte.
    Fill(1, {"\xC3\xA9t\xC3\xA9", "zoo", "Zoo"});
    SortBy({1}, 0);
    EXPECT_EQ(Shown(1), (std::vector<std::string>{"Zoo", "zoo", "\xC3\xA9t\xC3\xA9"}));
}

// Each row that changes its place is reported as one move to that place,
// as moving the rows there one at a time would report them.
TEST_F(PellworthSortTest, EveryMoveOfARowIsReportedOnce) {
    std::vector<std::pair<int, int>> Moves;
    Grid->OnRowMoved = [&Moves](TObject*, int To, int Count, bool) { Moves.emplace_back(To, Count); };
    Fill(1, {"a", "b", "c"});
    SortBy({1}, 1);
    EXPECT_EQ(Moves, (std::vector<std::pair<int, int>>{{1, 1}, {2, 1}}));
    Moves.clear();
    SortBy({1}, 1);
    EXPECT_TRUE(Moves.empty()) << "nothing moved";
    Grid->Unsort();
    Moves.clear();
    Fill(1, {"c", "a", "d", "b"});
    SortBy({1}, 0);
    // a to 1, b to 2, c is then in place, d last.
    EXPECT_EQ(Moves, (std::vector<std::pair<int, int>>{{1, 1}, {2, 1}}));
}

TEST_F(PellworthSortTest, LaterColumnsBreakTiesAndHiddenRowsMoveAlong) {
    Fill(1, {"b", "a", "b", "a"});
    Fill(2, {"2", "2", "1", "1"});
    Grid->SetRowVisible(3, false);
    SortBy({1, 2}, 0);
    EXPECT_EQ(Grid->GetDataRow(1), 4);
    EXPECT_EQ(Grid->GetDataRow(2), 2);
    EXPECT_EQ(Grid->GetDataRow(3), 3);
    EXPECT_EQ(Grid->GetDataRow(4), 1);
    EXPECT_FALSE(Grid->GetRowVisible(3));
    EXPECT_EQ(Grid->NextVisibleRow(3, true), 4) << "display row 3 shows the hidden data row";
}

TEST_F(PellworthSortTest, AllRowsMovedAtOnceEndAsWhenMovedOneByOne) {
    // Heights, selection marks, hidden rows and the current row go with
    // their data rows, as the grid's own single moves carry them.
    const auto Prepare = [](TPellworthGrid& G) {
        G.SetGridColCount(1);
        G.SetGridRowCount(6);
        for (int R = 1; R <= 6; ++R)
            G.SetCellValue(1, R, Variant(IntToStr((R * 5) % 7)));
        G.SetRowHeight(2, 30);
        G.SetRowVisible(4, false);
        G.SetRowSelected(3, true);
        G.SetRowSelected(6, true);
        G.SetCurrentCell(1, 5);
    };
    Prepare(*Grid);
    const int Col = 1;
    Grid->Sort(&Col, 1, 0, 0);

    TPellworthGrid Stepwise(nullptr);
    Prepare(Stepwise);
    for (int P = 1; P <= 6; ++P)
        Stepwise.SetDisplayRownr(Grid->GetDataRow(P), P);

    for (int P = 0; P <= 6; ++P) {
        EXPECT_EQ(Grid->GetDataRow(P), Stepwise.GetDataRow(P)) << P;
        EXPECT_EQ(Grid->RowHeights(P), Stepwise.RowHeights(P)) << P;
        EXPECT_EQ(Grid->RowSelection().GetSelected(P), Stepwise.RowSelection().GetSelected(P)) << P;
        EXPECT_EQ(Grid->VisibleRows().GetItem(P), Stepwise.VisibleRows().GetItem(P)) << P;
    }
    for (int R = 1; R <= 6; ++R)
        EXPECT_EQ(Grid->GetDisplayRow(R), Stepwise.GetDisplayRow(R)) << R;
    EXPECT_EQ(Grid->Row(), Stepwise.Row());
    EXPECT_EQ(Grid->GetRowHeight(2), 30);
}

TEST_F(PellworthSortTest, ANullCellStopsTheSortBeforeAnyRowMoves) {
    Fill(1, {"b", "a"});
    MapProvider Provider;
    Provider.Cells[{1, 1}] = "b";
    Provider.Cells[{1, 2}] = Null();
    Grid->CellProvider = &Provider;
    EXPECT_ANY_THROW(SortBy({1}, 0));
    EXPECT_EQ(Grid->GetDataRow(1), 1);
}

TEST_F(PellworthSortTest, SelectedRowsAreListedInDisplayOrder) {
    Grid->BuildSelectedRowsList();
    EXPECT_TRUE(Grid->SelectedRowsList().empty());
    Grid->SetRowSelected(5, true);
    Grid->SetRowSelected(2, true);
    Grid->BuildSelectedRowsList();
    EXPECT_EQ(Grid->SelectedRowsList(), (std::deque<int>{2, 5}));
}

// ---- navigation, input ------------------------------------------------------------------------

TEST_F(PellworthGridTest, VisibleRowSearchesSkipHiddenRowsAndKeepTheirArgumentAtTheEnd) {
    Grid->SetGridRowCount(10);
    Grid->SetRowVisible(4, false);
    Grid->SetRowVisible(5, false);
    EXPECT_EQ(Grid->NextVisibleRow(3, false), 6);
    EXPECT_EQ(Grid->NextVisibleRow(4, true), 6);
    EXPECT_EQ(Grid->NextVisibleRow(10, false), 10);
    EXPECT_EQ(Grid->PrevVisibleRow(6, false), 3);
    EXPECT_EQ(Grid->PrevVisibleRow(5, true), 3);
    EXPECT_EQ(Grid->FirstVisibleRow(), 1);
    Grid->SetRowVisible(1, false);
    EXPECT_EQ(Grid->FirstVisibleRow(), 2);
}

TEST_F(PellworthGridTest, SpaceTogglesACheckBoxCellInsideOneCellEdit) {
    struct Case {
        Variant Before;
        const char* After;
    };
    const Case Cases[] = {{Variant(1), "0"},
                          {Variant(0), "1"},
                          {Variant(7), "0"},
                          {Variant(AnsiString("0")), "1"},
                          {Variant(AnsiString("yes")), "0"}};
    Grid->GetCol(1)->SetControlType(grid::ctCheck);
    Grid->SetGridMode(grid::gmEdit);
    int Started = 0;
    int Ended = 0;
    Grid->OnStartCellEdit = [&](TObject*, int, int, bool&) { ++Started; };
    Grid->OnEndCellEdit = [&](TObject*, int, int, bool&) { ++Ended; };
    int Row = 0;
    for (const Case& C : Cases) {
        ++Row;
        Grid->SetCellValue(1, Row, C.Before);
        Grid->SetCurrentCell(1, Row);
        char Key = ' ';
        Grid->KeyPress(Key);
        EXPECT_EQ(Cell(1, Row), C.After) << VarToStr(C.Before);
        EXPECT_EQ(Started, Row);
        EXPECT_EQ(Ended, Row);
        EXPECT_FALSE(Grid->CellEditing());
    }

    // A grid that may not edit leaves the box as it is.
    Grid->SetGridMode(grid::gmBrowse);
    Grid->SetCurrentCell(1, 1);
    char Key = ' ';
    Grid->KeyPress(Key);
    EXPECT_EQ(Cell(1, 1), "0");
    // Neither does an application that refuses the edit.
    Grid->SetGridMode(grid::gmEdit);
    Grid->OnStartCellEdit = [](TObject*, int, int, bool& Cancel) { Cancel = true; };
    Grid->KeyPress(Key);
    EXPECT_EQ(Cell(1, 1), "0");
}

TEST_F(PellworthGridTest, AColumnListIsCutAtRunsOfTabs) {
    struct Case {
        const char* List;
        std::vector<AnsiString> Entries;
    };
    const Case Cases[] = {{"\tA\tB", {"", "A", "B"}},
                          {"A\t\tB", {"A", "B"}},
                          {"A\tB\t", {"A", "B"}},
                          {"\t\t", {""}},
                          {"", {}},
                          {"One entry", {"One entry"}}};
    for (const Case& C : Cases) {
        Grid->SetColList(2, C.List);
        grid::TgxCol* Column = Grid->GetCol(2);
        EXPECT_FALSE(Column->ParentCombo());
        grid::TgxComboGrid* List = Column->GetCombo()->GetGrid();
        EXPECT_TRUE(List->StoreData());
        EXPECT_EQ(List->GetGridColCount(), 1);
        std::vector<AnsiString> Entries;
        for (int R = 1; R <= List->GetGridRowCount(); ++R)
            Entries.push_back(VarToStr(List->GetCellValue(1, R)));
        EXPECT_EQ(Entries, C.Entries) << C.List;
    }
    EXPECT_TRUE(Grid->GetCol(1)->ParentCombo()) << "other columns keep the grid's list";
}

} // namespace
