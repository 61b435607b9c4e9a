// The string grid: cells and objects in sparse storage, the row and column
// views, deferred repaints, and a grid of a million rows whose cost follows
// the screen.
#include "BaseGridFixture.h"
#include "HeapBytes.h"

namespace gridtest {
namespace {

using StringGridTest = GridOnForm<TProbeStringGrid>;

TEST_F(StringGridTest, CellsAndObjectsLiveOnlyWhereSomethingIsStored) {
    TObject Tag;
    Grid->SetCells(2, 3, "x");
    Grid->SetObjects(2, 3, &Tag);
    EXPECT_EQ(Grid->Cells(2, 3), "x");
    EXPECT_EQ(Grid->Objects(2, 3), &Tag);
    EXPECT_EQ(Grid->Cells(4, 4), "");
    EXPECT_EQ(Grid->Cells(-1, 400), "");
    // Writing "" keeps the object.
    Grid->SetCells(2, 3, "");
    EXPECT_EQ(Grid->Objects(2, 3), &Tag);
    EXPECT_EQ(Grid->DataList().Count(), 4);
    // The views of the row and the column were made along the way.
    EXPECT_NE(Grid->RowViews().ItemAt(3), nullptr);
    EXPECT_NE(Grid->ColViews().ItemAt(2), nullptr);
}

TEST_F(StringGridTest, RowAndColumnViews) {
    TStrings* Row = Grid->Rows(1);
    for (int C = 0; C < 5; ++C)
        Row->Put(C, "r" + std::to_string(C));
    EXPECT_EQ(Row->GetCount(), 5);
    EXPECT_EQ(Grid->Cells(3, 1), "r3");
    EXPECT_EQ(Grid->Cols(3)->Get(1), "r3");
    // Every item holds text: Add finds no room and changes nothing.
    EXPECT_EQ(Row->Add("more"), -1);
    EXPECT_EQ(Grid->Cols(2)->Add(""), 0); // the first empty item, as " "
    EXPECT_EQ(Grid->Cells(2, 0), " ");
    EXPECT_THROW(Row->Insert(0, "a"), EInvalidGridOperation);
    EXPECT_THROW(Row->Delete(0), EInvalidGridOperation);
    Grid->Cols(3)->Clear();
    EXPECT_EQ(Grid->Cells(3, 1), "");
    EXPECT_EQ(Grid->Cells(4, 1), "r4");

    TStringList Source;
    Source.Add("a");
    Source.Add("b");
    Grid->SetRows(2, &Source);
    EXPECT_EQ(Grid->Cells(0, 2), "a");
    EXPECT_EQ(Grid->Cells(1, 2), "b");
}

TEST_F(StringGridTest, ClearingARowViewEmptiesItsCellsAndObjects) {
    TObject Tag;
    for (int C = 0; C < 5; ++C)
        Grid->SetCells(C, 2, "c" + std::to_string(C));
    Grid->SetObjects(1, 2, &Tag);
    Grid->SetObjects(4, 3, &Tag);
    Grid->SetCells(3, 3, "other row");
    Grid->Rows(2)->Clear();
    for (int C = 0; C < 5; ++C) {
        EXPECT_EQ(Grid->Cells(C, 2), "") << C;
        EXPECT_EQ(Grid->Objects(C, 2), nullptr) << C;
    }
    EXPECT_EQ(Grid->Cells(3, 3), "other row");
    EXPECT_EQ(Grid->Objects(4, 3), &Tag);
    EXPECT_EQ(static_cast<const TStringSparseList*>(Grid->DataList().ItemAt(2))->GetCount(), 0);
}

TEST_F(StringGridTest, WritesWhileUpdatingRepaintOnceAtTheEnd) {
    PaintAll();
    Grid->Rows(1)->BeginUpdate();
    Grid->SetCells(1, 1, "a");
    Grid->SetCells(2, 2, "b");
    TRect Pending;
    EXPECT_FALSE(GetUpdateRect(Grid, &Pending));
    Grid->Rows(1)->EndUpdate();
    EXPECT_TRUE(GetUpdateRect(Grid, &Pending));
    EXPECT_EQ(Pending, Grid->ClientRect());
}

TEST_F(StringGridTest, SectionSizesAreChosenOnceAtConstruction) {
    Grid->SetColCount(600);
    Grid->SetCells(550, 1, "far");
    EXPECT_EQ(Grid->ColViews().Quantum(), SPASmall);
    EXPECT_EQ(Grid->Cells(550, 1), "far");
    const auto* Row = static_cast<const TStringSparseList*>(Grid->DataList().ItemAt(1));
    ASSERT_NE(Row, nullptr);
    EXPECT_EQ(Row->GetCount(), 551);
}

TEST_F(StringGridTest, MovingRowsAndColumnsCarriesTheirCells) {
    Grid->SetCells(1, 1, "a");
    Grid->SetCells(2, 1, "b");
    Grid->SetCells(1, 2, "c");
    Grid->MoveColumn(1, 3);
    EXPECT_EQ(Grid->Cells(3, 1), "a");
    EXPECT_EQ(Grid->Cells(1, 1), "b");
    Grid->MoveRow(1, 2);
    EXPECT_EQ(Grid->Cells(3, 2), "a");
    EXPECT_EQ(Grid->Cells(3, 1), "c");
}

TEST_F(StringGridTest, MovingAColumnFarCostsWhatItsStoredCellsDo) {
    Grid->SetColCount(1000000);
    Grid->SetRowCount(100);
    for (int R = 1; R <= 50; ++R) {
        Grid->SetCells(1, R, "a" + std::to_string(R));
        Grid->SetCells(2, R, "b");
    }
    Grid->SetCells(3, 60, "only"); // a row whose moved cell is empty
    const std::size_t Before = HeapBytes();
    Grid->MoveColumn(1, 999999);
    EXPECT_LT(HeapBytes() - Before, std::size_t(1) << 20);
    EXPECT_EQ(Grid->Cells(999999, 7), "a7");
    EXPECT_EQ(Grid->Cells(1, 7), "b");
    EXPECT_EQ(Grid->Cells(2, 60), "only");
    EXPECT_EQ(Grid->Cells(999999, 60), "");
    Grid->MoveColumn(999999, 1);
    EXPECT_EQ(Grid->Cells(1, 50), "a50");
    EXPECT_EQ(Grid->Cells(2, 50), "b");
    EXPECT_EQ(Grid->Cells(3, 60), "only");
}

TEST_F(StringGridTest, TypingThenEnterWritesTheCellThroughSetEditText) {
    Grid->SetOptions(Grid->Options() + TGridOptions{goEditing});
    std::vector<AnsiString> Edits;
    Grid->OnSetEditText = [&](TObject*, int, int, const AnsiString& V) { Edits.push_back(V); };
    Grid->FocusCell(2, 2, true);
    Grid->Perform(WM_CHAR, 'h');
    Application->ProcessMessages();
    TInplaceEdit* Editor = Grid->InplaceEditor();
    ASSERT_NE(Editor, nullptr);
    EXPECT_TRUE(Editor->Visible());
    EXPECT_EQ(Editor->BoundsRect(), Grid->CellRect(2, 2));
    Editor->Perform(WM_CHAR, 'i');
    EXPECT_EQ(Grid->Cells(2, 2), "hi"); // every change reaches the cell at once
    Editor->Perform(WM_CHAR, '\r');
    EXPECT_FALSE(Grid->EditorMode());
    EXPECT_FALSE(Editor->Visible());
    EXPECT_EQ(Grid->Cells(2, 2), "hi");
    ASSERT_FALSE(Edits.empty());
    EXPECT_EQ(Edits.back(), "hi");
    // Loading the editor never wrote the cell it came from.
    for (const AnsiString& E : Edits)
        EXPECT_NE(E, "");
}

TEST_F(StringGridTest, RightToLeftDrawsTheFirstColumnAtTheRight) {
    Grid->SetFixedColor(clRed);
    Grid->SetColor(clWhite);
    Grid->SetBiDiMode(bdRightToLeft);
    PaintAll();
    const int W = Grid->ClientWidth();
    TCanvas* C = Grid->Canvas();
    EXPECT_EQ(C->Pixels(W - 20, 40), clRed);  // fixed column 0, row 1
    EXPECT_NE(C->Pixels(20, 40), clRed);      // nothing fixed on the left
    EXPECT_EQ(C->Pixels(W - 100, 40), clWhite); // column 1 beside it
    // A drag at the heading's left edge (the mirrored end of column 1)
    // sizes it.
    Grid->SetOptions(Grid->Options() + TGridOptions{goColSizing});
    const TRect Col1 = Grid->CellRect(1, 0);
    MouseDown(Col1.Left + 1, 10);
    EXPECT_EQ(Grid->GridState(), gsColSizing);
    MouseMove(Col1.Left - 19, 10);
    MouseUp(Col1.Left - 19, 10);
    EXPECT_EQ(Grid->ColWidths(1), 64 + 20);
}

// ---- a million rows ------------------------------------------------------------------------

class MillionRows : public GridOnForm<TProbeStringGrid> {
protected:
    void SetUp() override {
        GridOnForm::SetUp();
        Grid->SetRowCount(1000000);
        Grid->SetCells(1, 999999, "last row");
        Grid->SetCells(1, 500000, "middle");
    }
    // Whole data rows on screen.
    int ScreenRows() const { return Grid->VisibleRowCount(); }
};

TEST_F(MillionRows, CtrlEndLandsOnTheLastRowWithTheThumbAtItsEnd) {
    Grid->SetFixedColor(clSilver);
    Key(VK_END, {ssCtrl});
    EXPECT_EQ(Grid->Row(), 999999);
    EXPECT_EQ(Grid->Col(), 4);
    EXPECT_EQ(GetScrollPos(Grid, SB_VERT), 127);
    PaintAll();
    // The text put in the last row is on screen, in its cell.
    const TRect Cell = Grid->CellRect(1, 999999);
    ASSERT_GT(Cell.Bottom, Cell.Top);
    int Dark = 0;
    for (int Y = Cell.Top; Y < Cell.Bottom; ++Y)
        for (int X = Cell.Left; X < Cell.Right; ++X)
            if (Grid->Canvas()->Pixels(X, Y) != clWindow && Grid->Canvas()->Pixels(X, Y) != clWhite)
                ++Dark;
    EXPECT_GT(Dark, 10);
    EXPECT_EQ(Grid->Cells(1, 999999), "last row");
}

TEST_F(MillionRows, ScrollingRepaintsOnlyTheUncoveredStrip) {
    PaintAll();
    const int Rows = ScreenRows();
    // One line down: the pixels move up and one row is painted.
    Grid->Perform(WM_VSCROLL, MakeWParam(SB_LINEDOWN, 0));
    Flush();
    std::set<int> PaintedRows = Painted.Rows();
    PaintedRows.erase(0); // the heading is not part of the strip
    EXPECT_LE(static_cast<int>(PaintedRows.size()), 2);
    EXPECT_TRUE(PaintedRows.count(Grid->TopRow() + Rows - 1) == 1 ||
                PaintedRows.count(Grid->TopRow() + Rows) == 1);
    // A page down never paints more than one screen, however many rows follow.
    Painted.Reset();
    Key(VK_NEXT);
    Flush();
    EXPECT_LE(Painted.Count(), (Rows + 2) * Grid->ColCount());
    EXPECT_GT(Painted.Count(), 0);
}

TEST_F(MillionRows, AtTheEndHeadingsSizeCellsTakeTypingAndRightToLeftMirrors) {
    Grid->SetOptions(DefaultGridOptions + TGridOptions{goColSizing, goEditing});
    Key(VK_END, {ssCtrl});
    // A heading edge dragged 30 pixels to the right widens column 2.
    const TRect Heading = Grid->CellRect(2, 0);
    MouseDown(Heading.Right - 2, 10);
    MouseMove(Heading.Right + 28, 10);
    MouseUp(Heading.Right + 28, 10);
    EXPECT_EQ(Grid->ColWidths(2), 64 + 30);
    // Typing then Enter writes the last row's cell.
    std::vector<AnsiString> Edits;
    Grid->OnSetEditText = [&](TObject*, int, int, const AnsiString& V) { Edits.push_back(V); };
    Grid->FocusCell(1, 999999, true);
    Grid->Perform(WM_CHAR, 'o');
    Application->ProcessMessages();
    ASSERT_NE(Grid->InplaceEditor(), nullptr);
    Grid->InplaceEditor()->Perform(WM_CHAR, 'k');
    Grid->InplaceEditor()->Perform(WM_CHAR, '\r');
    EXPECT_EQ(Grid->Cells(1, 999999), "ok");
    ASSERT_FALSE(Edits.empty());
    EXPECT_EQ(Edits.back(), "ok");
    // Right to left, the fixed column lies at the right edge.
    Grid->SetFixedColor(clRed);
    Grid->SetBiDiMode(bdRightToLeft);
    PaintAll();
    const int Y = (Grid->CellRect(0, 999999).Top + Grid->CellRect(0, 999999).Bottom) / 2;
    EXPECT_EQ(Grid->Canvas()->Pixels(Grid->ClientWidth() - 20, Y), clRed);
    EXPECT_NE(Grid->Canvas()->Pixels(20, Y), clRed);
}

TEST_F(MillionRows, ThumbPositionsAreScaledOntoTheRows) {
    Grid->Perform(WM_VSCROLL, MakeWParam(SB_THUMBPOSITION, 64));
    const int Expected = 1 + static_cast<int>(std::llround(64.0 * (999999 - ScreenRows()) / 127));
    EXPECT_NEAR(Grid->TopRow(), Expected, 1);
    EXPECT_EQ(GetScrollPos(Grid, SB_VERT), 64);
}

} // namespace
} // namespace gridtest
