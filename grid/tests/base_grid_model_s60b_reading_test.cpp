// The base grid's model and layout as a calling program and a person see
// them: counts, extents, the current cell, hit tests, moves and the
// painted lines and cells.
#include "BaseGridFixture.h"

#include "platform/gui/Colors.h"

#include <QApplication>

#include <string>

using namespace gridtest;

namespace {

using BaseGridModelReading = GridOnForm<TProbeDrawGrid>;

} // namespace

TEST_F(BaseGridModelReading, ANewGridHasItsDefaults) {
    TProbeDrawGrid Fresh(nullptr);
    EXPECT_EQ(Fresh.ColCount(), 5);
    EXPECT_EQ(Fresh.RowCount(), 5);
    EXPECT_EQ(Fresh.FixedCols(), 1);
    EXPECT_EQ(Fresh.FixedRows(), 1);
    EXPECT_EQ((TGridCoord{Fresh.Col(), Fresh.Row()}), (TGridCoord{1, 1}));
    EXPECT_EQ((TGridCoord{Fresh.LeftCol(), Fresh.TopRow()}), (TGridCoord{1, 1}));
    EXPECT_EQ(Fresh.Anchor(), (TGridCoord{1, 1}));
    EXPECT_EQ(Fresh.Width(), 320);
    EXPECT_EQ(Fresh.Height(), 120);
    EXPECT_EQ(Fresh.DefaultColWidth(), 64);
    EXPECT_EQ(Fresh.DefaultRowHeight(), 24);
    EXPECT_EQ(Fresh.GridLineWidth(), 1);
    EXPECT_EQ(Fresh.FixedColor(), clBtnFace);
    EXPECT_EQ(Fresh.Color(), clWindow);
    EXPECT_EQ(Fresh.Options(), DefaultGridOptions);
    EXPECT_EQ(Fresh.ScrollBars(), ssBoth);
    EXPECT_EQ(Fresh.BorderStyle(), bsSingle);
    EXPECT_TRUE(Fresh.DefaultDrawing());
    EXPECT_TRUE(Fresh.SaveCellExtents());
    EXPECT_FALSE(Fresh.EditorMode());
    EXPECT_EQ(Fresh.InplaceEditor(), nullptr);
    EXPECT_EQ(Fresh.GridState(), gsNormal);
    EXPECT_TRUE(Fresh.TabStop());
    EXPECT_FALSE(Fresh.ParentColor());
    EXPECT_FALSE(Fresh.ColWidthsStored(nullptr));
    EXPECT_FALSE(Fresh.RowHeightsStored(nullptr));
}

TEST_F(BaseGridModelReading, CountSettersKeepTheFixedBandBelowTheCount) {
    struct Case {
        int FixedCols, NewCount, WantCount, WantFixed;
    };
    for (const Case C : {Case{1, 0, 1, 0}, Case{1, -4, 1, 0}, Case{3, 3, 3, 2}, Case{2, 8, 8, 2}}) {
        TProbeDrawGrid G(nullptr);
        G.SetColCount(6);
        G.SetFixedCols(C.FixedCols);
        G.SetColCount(C.NewCount);
        EXPECT_EQ(G.ColCount(), C.WantCount) << C.NewCount;
        EXPECT_EQ(G.FixedCols(), C.WantFixed) << C.NewCount;
        EXPECT_LT(G.Col(), G.ColCount());
        EXPECT_GE(G.Col(), G.FixedCols());
    }
}

TEST_F(BaseGridModelReading, BadFixedCountsAndIndexesNameTheFault) {
    struct Case {
        const char* What;
        std::function<void(TProbeDrawGrid&)> Op;
        const char* Message;
    };
    const Case Cases[] = {
        {"fixed cols = count", [](auto& G) { G.SetFixedCols(5); },
         "Fixed column count must be less than column count"},
        {"fixed rows = count", [](auto& G) { G.SetFixedRows(5); },
         "Fixed row count must be less than row count"},
        {"fixed cols < 0", [](auto& G) { G.SetFixedCols(-1); }, "Grid index out of range"},
        {"fixed rows < 0", [](auto& G) { G.SetFixedRows(-1); }, "Grid index out of range"},
        {"width at count", [](auto& G) { G.SetColWidths(5, 10); }, "Grid index out of range"},
        {"height at count", [](auto& G) { G.SetRowHeights(5, 10); }, "Grid index out of range"},
        {"tab stop at count", [](auto& G) { G.SetTabStops(5, false); }, "Grid index out of range"},
        {"width below 0", [](auto& G) { (void)G.ColWidths(-1); }, "Grid index out of range"},
        {"delete too many", [](auto& G) { G.AdjustSize(2, -4, false); },
         "Too many rows or columns deleted"},
    };
    for (const Case& C : Cases) {
        TProbeDrawGrid G(nullptr);
        EXPECT_NE(GridErrorText([&] { C.Op(G); }).find(C.Message), std::string::npos) << C.What;
        EXPECT_EQ(G.ColCount(), 5) << C.What;
        EXPECT_EQ(G.FixedCols(), 1) << C.What;
        EXPECT_EQ(G.FixedRows(), 1) << C.What;
    }
}

TEST_F(BaseGridModelReading, FixedCountResetsCurrentTopLeftAndAnchor) {
    Grid->SetColCount(8);
    Grid->SetRowCount(8);
    Grid->SetCol(5);
    Grid->SetRow(6);
    Grid->SetFixedRows(2);
    EXPECT_EQ((TGridCoord{Grid->Col(), Grid->Row()}), (TGridCoord{1, 2}));
    EXPECT_EQ((TGridCoord{Grid->LeftCol(), Grid->TopRow()}), (TGridCoord{1, 2}));
    EXPECT_EQ(Grid->Anchor(), (TGridCoord{1, 2}));
}

TEST_F(BaseGridModelReading, ExtentArraysComeWithTheFirstSetAndGoWithTheDefault) {
    Grid->SetColWidths(2, 100);
    EXPECT_EQ(Grid->StoredColWidths(), (std::vector<std::int32_t>{64, 64, 100, 64, 64}));
    EXPECT_TRUE(Grid->ColWidthsStored(nullptr));
    EXPECT_EQ(Grid->ColWidths(5), 64) << "a read at the count gives the default";
    EXPECT_EQ(Grid->ColWidths(500), 64);
    Grid->SetColCount(7);
    EXPECT_EQ(Grid->StoredColWidths(), (std::vector<std::int32_t>{64, 64, 100, 64, 64, 64, 64}));
    Grid->SetDefaultColWidth(30);
    EXPECT_FALSE(Grid->ColWidthsStored(nullptr));
    for (int I = 0; I < 7; ++I)
        EXPECT_EQ(Grid->ColWidths(I), 30) << I;
    EXPECT_EQ(Grid->CellRect(2, 1).Width(), 30) << "the layout follows the new default";

    EXPECT_TRUE(Grid->TabStops(3));
    Grid->SetTabStops(3, false);
    EXPECT_FALSE(Grid->TabStops(3));
    EXPECT_TRUE(Grid->TabStops(2));
    EXPECT_TRUE(Grid->TabStops(99)) << "past the count: the default";
}

TEST_F(BaseGridModelReading, StoredExtentsReadBackOnlyAtTheGridsCount) {
    Grid->LoadColWidths({10, 20, 30, 40, 50});
    EXPECT_EQ(Grid->CellRect(2, 1).Width(), 30);
    EXPECT_THROW(Grid->LoadColWidths({1, 2, 3}), EReadError);
    EXPECT_THROW(Grid->LoadRowHeights({1, 2, 3, 4, 5, 6}), EReadError);
    EXPECT_EQ(Grid->ColWidths(4), 50) << "a bad list leaves the widths";

    TProbeDrawGrid Ancestor(nullptr);
    EXPECT_TRUE(Grid->ColWidthsStored(&Ancestor)) << "one absent array differs";
    Ancestor.LoadColWidths({10, 20, 30, 40, 50});
    EXPECT_FALSE(Grid->ColWidthsStored(&Ancestor));
    Ancestor.SetColWidths(4, 51);
    EXPECT_TRUE(Grid->ColWidthsStored(&Ancestor));
    EXPECT_FALSE(Grid->RowHeightsStored(&Ancestor)) << "two absent arrays are equal";
    Grid->SetSaveCellExtents(false);
    EXPECT_FALSE(Grid->ColWidthsStored(nullptr));
}

TEST_F(BaseGridModelReading, ShrinkingTheCountPullsTheCurrentCellAndAnchorIn) {
    Grid->SetRowCount(10);
    Grid->SetRow(8);
    Grid->SetRowCount(4);
    EXPECT_EQ(Grid->Row(), 3);
    EXPECT_EQ(Grid->Anchor().Y, 3);
    EXPECT_EQ(Grid->Selection(), (TGridRect{1, 3, 1, 3}));
}

TEST_F(BaseGridModelReading, AFailedSizeChangeKeepsTheOldCounts) {
    Grid->SetColWidths(1, 80);
    const std::string Message = GridErrorText([&] { Grid->SetColCount(134217726); });
    EXPECT_NE(Message.find("Grid too large for operation"), std::string::npos) << Message;
    EXPECT_EQ(Grid->ColCount(), 5);
    EXPECT_EQ(Grid->StoredColWidths(), (std::vector<std::int32_t>{64, 80, 64, 64, 64}));
}

TEST_F(BaseGridModelReading, RowSelectKeepsTheAnchorAtTheLastColumn) {
    TGridOptions O = Grid->Options();
    O.Include(goRowSelect);
    O.Include(goAlwaysShowEditor);
    Grid->SetOptions(O);
    EXPECT_FALSE(Grid->Options().Contains(goAlwaysShowEditor));
    EXPECT_EQ(Grid->Anchor().X, 4);
    Grid->SetColCount(7);
    EXPECT_EQ(Grid->Anchor().X, 6);
    EXPECT_EQ(Grid->Selection(), (TGridRect{1, 1, 6, 1}));
}

TEST_F(BaseGridModelReading, SelectionSetsAnchorAndCurrent) {
    Grid->SetSelection({3, 4, 2, 1});
    EXPECT_EQ(Grid->Anchor(), (TGridCoord{3, 4}));
    EXPECT_EQ((TGridCoord{Grid->Col(), Grid->Row()}), (TGridCoord{2, 1}));
    EXPECT_EQ(Grid->Selection(), (TGridRect{2, 1, 3, 4}));
    Grid->SetCol(4);
    EXPECT_EQ(Grid->Selection(), (TGridRect{4, 1, 4, 1})) << "Col moves the anchor too";
}

TEST_F(BaseGridModelReading, LayoutFollowsTheClientArea) {
    // 400 x 300 client less borders: one fixed column of 64 + line, four
    // of 64 + line fit: the grid ends at 5 x 65.
    Grid->SetColCount(5);
    Grid->SetRowCount(30);
    EXPECT_EQ(Grid->GridWidth(), 325);
    EXPECT_EQ(Grid->VisibleColCount(), 4);
    const int Rows = (Grid->ClientHeight() - 25) / 25;
    EXPECT_EQ(Grid->VisibleRowCount(), Rows);
    EXPECT_EQ(Grid->GridHeight(), Grid->ClientHeight());
    EXPECT_EQ(Grid->CellRect(0, 0), (TRect{0, 0, 64, 24}));
    EXPECT_EQ(Grid->CellRect(2, 3), (TRect{130, 75, 194, 99}));
    EXPECT_EQ(Grid->BoxRect(1, 1, 2, 2), (TRect{65, 25, 194, 74}));
    EXPECT_EQ(Grid->MouseCoord(130, 75), (TGridCoord{2, 3}));
    EXPECT_EQ(Grid->MouseCoord(129, 74), (TGridCoord{1, 2})) << "a line belongs to the cell before";
    EXPECT_EQ(Grid->MouseCoord(390, 10), (TGridCoord{-1, -1}));
    Grid->SetTopRow(5);
    EXPECT_EQ(Grid->CellRect(2, 3), (TRect{})) << "scrolled out of view";
    EXPECT_EQ(Grid->CellRect(2, 5), (TRect{130, 25, 194, 49}));
    EXPECT_EQ(Grid->CellRect(2, 5 + Rows + 2), (TRect{})) << "beyond the last visible + 1";
    EXPECT_EQ(Grid->MouseCoord(10, 30), (TGridCoord{0, 5}));
}

TEST_F(BaseGridModelReading, AZeroWidthColumnStillOwnsItsLine) {
    Grid->SetColWidths(2, 0);
    // Column 1 spans 65..128, its line 129; column 2 has no pixels, only the line at 130.
    EXPECT_EQ(Grid->MouseCoord(130, 30), (TGridCoord{2, 1}));
    EXPECT_EQ(Grid->MouseCoord(131, 30), (TGridCoord{3, 1}));
    EXPECT_EQ(Grid->CellRect(3, 1).Left, 131);
    PaintAll();
    Grid->Invalidate();
    Grid->Update();
    for (const auto& C : Painted.Cells)
        EXPECT_NE(C.first, 2) << "a column of width 0 is not drawn";
}

TEST_F(BaseGridModelReading, LargestTopLeftFillsTheView) {
    Grid->SetRowCount(40);
    TGridDrawInfo Info;
    Grid->CalcDrawInfo(Info);
    const int Rows = Info.Vert.LastFullVisibleCell - Info.Vert.FirstGridCell + 1;
    EXPECT_EQ(Grid->CalcMaxTopLeft({4, 39}, Info).Y, 39 - Rows + 1);
    EXPECT_EQ(Grid->CalcMaxTopLeft({0, 0}, Info), (TGridCoord{0, 0})) << "a fixed cell stays";
    EXPECT_EQ(Grid->CalcMaxTopLeft({4, 39}, Info).X, 1);
}

TEST_F(BaseGridModelReading, MovingAColumnCarriesItsExtentsAndTheCoordinates) {
    std::vector<std::pair<int, int>> Moved;
    Grid->OnColumnMoved = [&](TObject*, int From, int To) { Moved.emplace_back(From, To); };
    Grid->SetColWidths(1, 11);
    Grid->SetTabStops(1, false);
    Grid->SetCol(2);
    Grid->MoveColumn(1, 3);
    EXPECT_EQ(Grid->StoredColWidths(), (std::vector<std::int32_t>{64, 64, 64, 11, 64}));
    EXPECT_FALSE(Grid->TabStops(3));
    EXPECT_TRUE(Grid->TabStops(1));
    EXPECT_EQ(Grid->Col(), 1);
    EXPECT_EQ(Grid->Anchor().X, 1);
    EXPECT_EQ(Moved, (std::vector<std::pair<int, int>>{{1, 3}}));
    Grid->MoveColumn(2, 2);
    EXPECT_EQ(Moved.size(), 1u) << "no move, no event";

    Grid->SetRowHeights(4, 40);
    Grid->SetRow(1);
    Grid->MoveRow(4, 1);
    EXPECT_EQ(Grid->StoredRowHeights(), (std::vector<std::int32_t>{24, 40, 24, 24, 24}));
    EXPECT_EQ(Grid->Row(), 2);
}

TEST_F(BaseGridModelReading, InsertAndDeleteMoveTheCurrentCell) {
    struct Case {
        int Index, Amount, Current, WantCurrent, WantCount;
    };
    for (const Case C : {Case{2, 2, 3, 5, 7}, Case{2, 2, 1, 1, 7}, Case{2, -2, 3, 2, 3},
                         Case{2, -2, 4, 2, 3}, Case{1, -1, 1, 1, 4}}) {
        Grid->SetColCount(5);
        Grid->SetCol(C.Current);
        Grid->AdjustSize(C.Index, C.Amount, false);
        EXPECT_EQ(Grid->ColCount(), C.WantCount) << C.Index << "," << C.Amount;
        EXPECT_EQ(Grid->Col(), C.WantCurrent) << C.Index << "," << C.Amount << " from " << C.Current;
        Grid->SetColCount(5);
    }
    Grid->SetColWidths(3, 90);
    Grid->DeleteColumn(1);
    EXPECT_EQ(Grid->ColCount(), 4);
    EXPECT_EQ(Grid->ColWidths(2), 90) << "the columns after it close up";
}

TEST_F(BaseGridModelReading, EditorModeShowsTheEditorWithTheCaretAtTheEnd) {
    Grid->OnGetEditText = [](TObject*, int, int, AnsiString& Value) { Value = "hello"; };
    TGridOptions O = Grid->Options();
    O.Include(goEditing);
    Grid->SetOptions(O);
    Grid->SetEditorMode(true);
    ASSERT_NE(Grid->InplaceEditor(), nullptr);
    EXPECT_TRUE(Grid->InplaceEditor()->Visible());
    EXPECT_EQ(Grid->InplaceEditor()->SelStart(), 5);
    EXPECT_EQ(Grid->InplaceEditor()->SelLength(), 0);
    Grid->SetEditorMode(false);
    EXPECT_FALSE(Grid->InplaceEditor()->Visible());
}

TEST_F(BaseGridModelReading, PaintsLinesCellsAndTheFocus) {
    Grid->OnDrawCell = nullptr;
    Grid->SetColCount(3);
    Grid->SetRowCount(3);
    Grid->SetSelection({1, 1, 2, 1});
    Grid->SetFocus();
    QApplication::processEvents();
    PaintAll();
    TCanvas* C = Grid->Canvas();
    EXPECT_EQ(C->Pixels(64, 10), clBlack) << "fixed vertical line";
    EXPECT_EQ(C->Pixels(10, 24), clBlack) << "fixed horizontal line";
    EXPECT_EQ(C->Pixels(100, 74), clSilver) << "data horizontal line";
    EXPECT_EQ(C->Pixels(194, 60), clSilver) << "data vertical line";
    EXPECT_EQ(C->Pixels(30, 12), ColorToRGB(clBtnFace)) << "fixed cell";
    EXPECT_EQ(C->Pixels(100, 60), ColorToRGB(clWindow)) << "data cell";
    EXPECT_EQ(C->Pixels(100, 35), ColorToRGB(clHighlight)) << "selected, not focused";
    EXPECT_EQ(C->Pixels(150, 35), ColorToRGB(clWindow)) << "the focused cell is not highlighted";
    EXPECT_EQ(C->Pixels(300, 35), ColorToRGB(clWindow)) << "right of the grid";
    EXPECT_EQ(C->Pixels(100, 200), ColorToRGB(clWindow)) << "below the grid";

    Grid->SetColor(clSilver);
    PaintAll();
    EXPECT_EQ(C->Pixels(100, 74), clGray) << "lines on a silver grid";

    Grid->SetGridLineWidth(3);
    Grid->Update();
    EXPECT_EQ(C->Pixels(65, 10), clBlack) << "a wider line is painted at once";
    Grid->SetFixedColor(clRed);
    Grid->Update();
    EXPECT_EQ(C->Pixels(30, 12), clRed) << "the fixed colour is painted at once";
}

TEST_F(BaseGridModelReading, RightToLeftMirrorsCellsAndHits) {
    Grid->SetBiDiMode(bdRightToLeft);
    const int W = Grid->ClientWidth();
    EXPECT_EQ(Grid->CellRect(0, 0), (TRect{W - 64, 0, W, 24}));
    EXPECT_EQ(Grid->MouseCoord(W - 10, 10), (TGridCoord{0, 0}));
    EXPECT_EQ(Grid->MouseCoord(W - 70, 30), (TGridCoord{1, 1}));
    PaintAll();
    // Column 0 takes pixels 0..63 and its line 64 left to right.
    for (const bool Flat : {false, true}) {
        Grid->SetCtl3D(!Flat);
        const int M = Grid->ClientWidth() - 1;
        PaintAll();
        EXPECT_EQ(Grid->Canvas()->Pixels(M - 64, 10), clBlack) << "fixed line, flat " << Flat;
        EXPECT_EQ(Grid->Canvas()->Pixels(M - 129, 40), clSilver) << "data line, flat " << Flat;
        EXPECT_EQ(Grid->Canvas()->Pixels(M - 100, 40), ColorToRGB(clWindow)) << Flat;
    }
}
