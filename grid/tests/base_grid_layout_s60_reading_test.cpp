// The base grid control as a program sets it up: its defaults, counts and
// extents, the window frame it asks for, the cells and the client area it
// lays out and paints.
#include "BaseGridFixture.h"
#include "platform/gui/Colors.h"
#include "platform/gui/tests/GuiTestSupport.h"

#include <QApplication>
#include <QImage>
#include <QWidget>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace gridtest;

// A draw grid whose window styles can be asked for.
class TStyledGrid : public TProbeDrawGrid {
public:
    using TProbeDrawGrid::TProbeDrawGrid;
    TCreateParams Params() {
        TCreateParams P;
        CreateParams(P);
        return P;
    }
};

using BaseGridReading = GridOnForm<TStyledGrid>;

TEST(BaseGridDefaults, ANewGridHasFiveByFiveCellsAndItsDefaultBounds) {
    EnsureQtApplication();
    TDrawGrid_ts G(nullptr);
    EXPECT_EQ(G.ColCount(), 5);
    EXPECT_EQ(G.RowCount(), 5);
    EXPECT_EQ(G.FixedCols(), 1);
    EXPECT_EQ(G.FixedRows(), 1);
    EXPECT_EQ(G.Col(), 1);
    EXPECT_EQ(G.Row(), 1);
    EXPECT_EQ(G.LeftCol(), 1);
    EXPECT_EQ(G.TopRow(), 1);
    EXPECT_EQ(G.Width(), 320);
    EXPECT_EQ(G.Height(), 120);
    EXPECT_EQ(G.DefaultColWidth(), 64);
    EXPECT_EQ(G.DefaultRowHeight(), 24);
    EXPECT_EQ(G.Options(), DefaultGridOptions);
    EXPECT_EQ(G.Color(), clWindow);
    EXPECT_TRUE(G.TabStop());
    EXPECT_EQ(G.Selection(), (TGridRect{1, 1, 1, 1}));
}

TEST_F(BaseGridReading, CountsAndFixedCountsKeepTheirRules) {
    Grid->SetColCount(0);
    EXPECT_EQ(Grid->ColCount(), 1);
    EXPECT_EQ(Grid->FixedCols(), 0);
    Grid->SetRowCount(-3);
    EXPECT_EQ(Grid->RowCount(), 1);
    EXPECT_EQ(Grid->FixedRows(), 0);
    Grid->SetColCount(5);
    Grid->SetRowCount(5);
    struct {
        bool Cols;
        int Value;
        const char* Message;
    } const Bad[] = {
        {true, 5, "Fixed column count must be less than column count"},
        {false, 5, "Fixed row count must be less than row count"},
        {true, -1, "Grid index out of range"},
        {false, -1, "Grid index out of range"},
    };
    for (const auto& B : Bad) {
        try {
            if (B.Cols)
                Grid->SetFixedCols(B.Value);
            else
                Grid->SetFixedRows(B.Value);
            ADD_FAILURE() << B.Message;
        } catch (const EInvalidGridOperation& E) {
            EXPECT_EQ(std::string(E.Message), B.Message);
        }
    }
    EXPECT_EQ(Grid->FixedCols(), 0);
    Grid->SetFixedCols(2);
    EXPECT_EQ(Grid->Col(), 2);
    EXPECT_EQ(Grid->LeftCol(), 2);
}

TEST_F(BaseGridReading, WidthsMakeTheirArrayOnFirstSetAndTheDefaultDropsIt) {
    EXPECT_FALSE(Grid->ColWidthsStored(nullptr));
    Grid->SetColWidths(2, 100);
    EXPECT_EQ(Grid->StoredColWidths(), (std::vector<std::int32_t>{64, 64, 100, 64, 64}));
    EXPECT_TRUE(Grid->ColWidthsStored(nullptr));
    EXPECT_THROW(Grid->SetColWidths(5, 10), EInvalidGridOperation);
    EXPECT_EQ(Grid->ColWidths(5), 64);
    EXPECT_THROW((void)Grid->ColWidths(-1), EInvalidGridOperation);
    Grid->SetDefaultColWidth(40);
    EXPECT_FALSE(Grid->ColWidthsStored(nullptr));
    for (int I = 0; I < 5; ++I)
        EXPECT_EQ(Grid->ColWidths(I), 40);
    Grid->SetTabStops(1, false);
    EXPECT_THROW(Grid->SetTabStops(5, false), EInvalidGridOperation);
    EXPECT_FALSE(Grid->TabStops(1));
    EXPECT_TRUE(Grid->TabStops(2));
}

TEST_F(BaseGridReading, ShrinkingTheRowsTakesTheCurrentCellAndTheAnchorAlong) {
    Grid->SetRowCount(8);
    Grid->SetRow(6);
    Grid->SetRowCount(4);
    EXPECT_EQ(Grid->Row(), 3);
    EXPECT_EQ(Grid->Anchor().Y, 3);
    // A size too large fails and keeps the old counts.
    Grid->SetRowHeights(1, 30);
    EXPECT_THROW(Grid->SetRowCount(0x7FFFFFF), EInvalidGridOperation);
    EXPECT_EQ(Grid->RowCount(), 4);
    EXPECT_EQ(Grid->RowHeights(3), 24);
}

TEST_F(BaseGridReading, MovingAColumnTakesItsWidthAndTabStopAlong) {
    Grid->SetColWidths(1, 90);
    Grid->SetTabStops(1, false);
    Grid->SetCol(2);
    std::vector<std::pair<int, int>> Moves;
    Grid->OnColumnMoved = [&](TObject*, int From, int To) { Moves.emplace_back(From, To); };
    PaintAll();
    Grid->MoveColumn(1, 3);
    Flush();
    EXPECT_EQ(Moves, (std::vector<std::pair<int, int>>{{1, 3}}));
    for (int C = 1; C <= 3; ++C)
        EXPECT_NE(std::find(Painted.Cells.begin(), Painted.Cells.end(), std::make_pair(C, 1)),
                  Painted.Cells.end())
            << C;
    EXPECT_EQ(Grid->ColWidths(3), 90);
    EXPECT_FALSE(Grid->TabStops(3));
    EXPECT_TRUE(Grid->TabStops(1));
    EXPECT_EQ(Grid->Col(), 1);
}

TEST_F(BaseGridReading, AZeroWidthColumnIsNotDrawnButItsLineHitsIt) {
    Grid->SetColWidths(2, 0);
    PaintAll();
    Grid->Invalidate();
    Flush();
    for (const auto& C : Painted.Cells)
        EXPECT_NE(C.first, 2);
    const TRect Before = Grid->CellRect(1, 1);
    const TGridCoord Hit = Grid->MouseCoord(Before.Right + 1, Before.Top + 3);
    EXPECT_EQ(Hit.X, 2);
}

TEST_F(BaseGridReading, CellsOutOfViewHaveNoRectangle) {
    Grid->SetColCount(30);
    Grid->SetRowCount(40);
    Grid->SetLeftCol(5);
    EXPECT_EQ(Grid->CellRect(3, 2), TRect());
    EXPECT_EQ(Grid->CellRect(Grid->LeftCol() + Grid->VisibleColCount() + 2, 2), TRect());
    EXPECT_NE(Grid->CellRect(0, 2), TRect());
    EXPECT_NE(Grid->CellRect(5, 2), TRect());
}

// The frame the grid asks for and the client area it leaves.
TEST_F(BaseGridReading, TheBorderFollowsTheStyleAndTheClientAreaShrinksByIt) {
    Grid->SetScrollBars(ssNone);
    struct {
        TBorderStyle Border;
        bool Ctl3D;
        unsigned Style, ExStyle;
        int Frame;
    } const Cases[] = {
        {bsSingle, true, 0, WS_EX_CLIENTEDGE, 2},
        {bsSingle, false, WS_BORDER, 0, 1},
        {bsNone, true, 0, 0, 0},
        {bsNone, false, 0, 0, 0},
    };
    for (const auto& C : Cases) {
        Grid->SetBorderStyle(C.Border);
        Grid->SetCtl3D(C.Ctl3D);
        const TCreateParams P = Grid->Params();
        const std::string Name =
            std::to_string(static_cast<int>(C.Border)) + " " + std::to_string(C.Ctl3D);
        EXPECT_EQ(P.Style & (WS_BORDER | WS_TABSTOP), C.Style | WS_TABSTOP) << Name;
        EXPECT_EQ(P.ExStyle & WS_EX_CLIENTEDGE, C.ExStyle) << Name;
        EXPECT_EQ(P.WindowClassStyle & CS_DBLCLKS, CS_DBLCLKS) << Name;
        EXPECT_EQ(Grid->ClientWidth(), 400 - 2 * C.Frame) << Name;
        EXPECT_EQ(Grid->ClientHeight(), 300 - 2 * C.Frame) << Name;
    }
    struct {
        TScrollStyle Bars;
        unsigned Style;
    } const Bars[] = {{ssNone, 0},
                      {ssVertical, WS_VSCROLL},
                      {ssHorizontal, WS_HSCROLL},
                      {ssBoth, WS_VSCROLL | WS_HSCROLL}};
    for (const auto& B : Bars) {
        Grid->SetScrollBars(B.Bars);
        EXPECT_EQ(Grid->Params().Style & (WS_VSCROLL | WS_HSCROLL), B.Style);
    }
}

TEST_F(BaseGridReading, RowSelectDropsTheAlwaysShownEditorAndSpansTheRow) {
    Grid->SetCol(2);
    Grid->SetRow(3);
    Grid->SetOptions(TGridOptions{goRowSelect, goAlwaysShowEditor, goEditing});
    EXPECT_FALSE(Grid->Options().Contains(goAlwaysShowEditor));
    EXPECT_EQ(Grid->Selection(), (TGridRect{1, 3, 4, 3}));
    Grid->SetColCount(7);
    EXPECT_EQ(Grid->Selection(), (TGridRect{1, 3, 6, 3}));
    Grid->SetFixedCols(2);
    EXPECT_EQ(Grid->Selection(), (TGridRect{2, 1, 6, 1}));
    Grid->SetOptions(DefaultGridOptions);
    Grid->SetSelection(TGridRect{1, 2, 3, 4});
    EXPECT_EQ(Grid->Anchor(), (TGridCoord{1, 2}));
    EXPECT_EQ(Grid->Col(), 3);
    EXPECT_EQ(Grid->Row(), 4);
}

class BaseGridPaintReading : public GridOnForm<TProbeDrawGrid> {
protected:
    void SetUp() override {
        GridOnForm<TProbeDrawGrid>::SetUp();
        Grid->SetColCount(4);
        Grid->SetRowCount(4);
        Grid->SetFixedColor(clAqua);
        Grid->SetColor(clYellow);
        Grid->OnDrawCell = nullptr;
    }
    // The client area as the window shows it.
    void Shot() {
        QApplication::processEvents();
        Image = Grid->Widget()->grab().toImage();
        const TPoint Client = Grid->ClientToScreen(Point(0, 0));
        const TPoint Outer = Grid->Parent()->ClientToScreen(Point(Grid->Left(), Grid->Top()));
        Origin = Point(Client.X - Outer.X, Client.Y - Outer.Y);
    }
    TColor At(int X, int Y) const {
        const QRgb P = Image.pixel(Origin.X + X, Origin.Y + Y);
        return static_cast<TColor>(qRed(P) | qGreen(P) << 8 | qBlue(P) << 16);
    }
    QImage Image;
    TPoint Origin;
};

TEST_F(BaseGridPaintReading, FixedCellsDataCellsLinesAndTheAreaBeyond) {
    Grid->Invalidate();
    Shot();
    const TRect Fixed = Grid->CellRect(1, 0);
    const TRect Data = Grid->CellRect(2, 2);
    const TRect Last = Grid->CellRect(3, 3);
    EXPECT_EQ(At(Fixed.Left + 5, Fixed.Top + 5), clAqua);
    EXPECT_EQ(At(Data.Left + 5, Data.Top + 5), clYellow);
    EXPECT_EQ(At(Data.Left + 5, Data.Bottom), clSilver);
    EXPECT_EQ(At(Data.Right, Data.Top + 5), clSilver);
    EXPECT_EQ(At(Fixed.Left + 5, Fixed.Bottom), clBlack);
    EXPECT_EQ(At(Last.Right + 10, Last.Top + 5), clYellow);
    EXPECT_EQ(At(Last.Left + 5, Last.Bottom + 10), clYellow);
    // A line whose option is off takes the background of its area.
    Grid->SetOptions(TGridOptions{goFixedVertLine, goVertLine, goHorzLine});
    Shot();
    const TRect F2 = Grid->CellRect(1, 0);
    EXPECT_EQ(At(F2.Left + 5, F2.Bottom), clAqua);
    Grid->SetOptions(TGridOptions{goFixedVertLine, goVertLine, goFixedHorzLine});
    Shot();
    const TRect D2 = Grid->CellRect(2, 2);
    EXPECT_EQ(At(D2.Left + 5, D2.Bottom), clYellow);
    EXPECT_EQ(At(D2.Right, D2.Top + 5), clSilver);
    // On a silver grid the lines are grey.
    Grid->SetColor(clSilver);
    Grid->Invalidate();
    Shot();
    EXPECT_EQ(At(D2.Right, D2.Top + 5), clGray);
}

TEST_F(BaseGridPaintReading, ANewColourShowsWithoutAnotherRepaint) {
    Grid->Invalidate();
    Shot();
    Grid->SetColor(clLime);
    Shot();
    const TRect Data = Grid->CellRect(2, 2);
    EXPECT_EQ(At(Data.Left + 5, Data.Top + 5), clLime);
    const TRect Last = Grid->CellRect(3, 3);
    EXPECT_EQ(At(Last.Right + 10, Last.Top + 5), clLime);
}

TEST_F(BaseGridPaintReading, SelectedCellsAreHighlightedButNotTheFocusedOne) {
    ShowActive(*Form);
    Grid->SetFocus();
    Grid->SetSelection(TGridRect{1, 1, 2, 2});
    Grid->Invalidate();
    Shot();
    const TColor Highlight = ColorToRGB(clHighlight);
    const TRect Other = Grid->CellRect(1, 1);
    const TRect Focused = Grid->CellRect(2, 2);
    EXPECT_EQ(At(Other.Left + 5, Other.Top + 5), Highlight);
    EXPECT_EQ(At(Focused.Left + 5, Focused.Top + 5), clYellow);
    TGridOptions Options = DefaultGridOptions;
    Options.Include(goDrawFocusSelected);
    Grid->SetOptions(Options);
    Grid->Invalidate();
    Shot();
    EXPECT_EQ(At(Focused.Left + 5, Focused.Top + 5), Highlight);
}

using BaseGridChangeReading = GridOnForm<TProbeDrawGrid>;

TEST_F(BaseGridChangeReading, InsertingAndDeletingMoveTheCurrentCellAndTheExtents) {
    Grid->SetRowCount(8);
    Grid->SetRowHeights(3, 40);
    Grid->SetRow(5);
    Grid->AdjustSize(2, 2, true);
    EXPECT_EQ(Grid->RowCount(), 10);
    EXPECT_EQ(Grid->Row(), 7);
    EXPECT_EQ(Grid->RowHeights(2), 24);
    EXPECT_EQ(Grid->RowHeights(3), 24);
    Grid->AdjustSize(6, -3, true);
    EXPECT_EQ(Grid->RowCount(), 7);
    EXPECT_EQ(Grid->Row(), 6);
    EXPECT_THROW(Grid->AdjustSize(3, -5, true), EInvalidGridOperation);
    EXPECT_EQ(Grid->RowCount(), 7);
    Grid->AdjustSize(1, 0, false);
    EXPECT_EQ(Grid->ColCount(), 5);
    Grid->SetCol(4);
    Grid->DeleteColumn(2);
    EXPECT_EQ(Grid->ColCount(), 4);
    EXPECT_EQ(Grid->Col(), 3);
}

TEST_F(BaseGridChangeReading, MovingARowTakesItsHeightAndTheCurrentRow) {
    Grid->SetRowHeights(4, 33);
    Grid->SetRow(4);
    Grid->MoveRow(4, 1);
    EXPECT_EQ(Grid->RowHeights(1), 33);
    EXPECT_EQ(Grid->RowHeights(4), 24);
    EXPECT_EQ(Grid->Row(), 1);
    Grid->SetRowHeights(2, 50);
    Grid->SetDefaultRowHeight(20);
    EXPECT_FALSE(Grid->RowHeightsStored(nullptr));
    EXPECT_EQ(Grid->RowHeights(2), 20);
}

TEST_F(BaseGridChangeReading, StoredWidthsMustHoldOneWidthPerColumn) {
    EXPECT_THROW(Grid->LoadColWidths({10, 20}), EReadError);
    Grid->LoadColWidths({10, 20, 30, 40, 50});
    EXPECT_EQ(Grid->ColWidths(4), 50);
}

TEST_F(BaseGridChangeReading, VisibleCountsAndTheGridsExtent) {
    Grid->SetColCount(20);
    Grid->SetRowCount(30);
    const int Cols = (Grid->ClientWidth() - 65) / 65;
    const int Rows = (Grid->ClientHeight() - 25) / 25;
    EXPECT_EQ(Grid->VisibleColCount(), Cols);
    EXPECT_EQ(Grid->VisibleRowCount(), Rows);
    EXPECT_EQ(Grid->GridWidth(), Grid->ClientWidth());
    Grid->SetColCount(3);
    EXPECT_EQ(Grid->GridWidth(), 3 * 65);
    EXPECT_EQ(Grid->VisibleColCount(), 2);
}

TEST_F(BaseGridChangeReading, EditorModeShowsTheTextWithTheCaretAtItsEnd) {
    Grid->SetOptions(DefaultGridOptions + TGridOptions{goEditing});
    Grid->OnGetEditText = [](TObject*, int, int, AnsiString& Value) { Value = "abcd"; };
    Grid->SetEditorMode(true);
    ASSERT_TRUE(Grid->InplaceEditor());
    EXPECT_TRUE(Grid->InplaceEditor()->Visible());
    EXPECT_EQ(Grid->InplaceEditor()->Text(), "abcd");
    EXPECT_EQ(Grid->InplaceEditor()->SelStart(), 4);
    EXPECT_EQ(Grid->InplaceEditor()->SelLength(), 0);
    Grid->SetEditorMode(false);
    EXPECT_FALSE(Grid->InplaceEditor()->Visible());
    // An editor always shown comes with its option.
    Grid->SetOptions(DefaultGridOptions + TGridOptions{goEditing, goAlwaysShowEditor});
    EXPECT_TRUE(Grid->InplaceEditor()->Visible());
    EXPECT_TRUE(Grid->EditorMode());
}

TEST_F(BaseGridPaintReading, TheFocusedCellHasItsFrameAndFixedCellsTheirEdges) {
    ShowActive(*Form);
    Grid->SetFocus();
    Grid->SetCol(2);
    Grid->SetRow(2);
    Grid->Invalidate();
    Shot();
    const TRect Focused = Grid->CellRect(2, 2);
    const TRect Plain = Grid->CellRect(3, 2);
    const auto Framed = [&](const TRect& R) {
        int N = 0;
        for (int X = R.Left; X < R.Right; ++X)
            N += At(X, R.Top) != clYellow;
        return N;
    };
    EXPECT_GT(Framed(Focused), 0);
    EXPECT_EQ(Framed(Plain), 0);
    // A 3-D grid raises its fixed cells; a flat one leaves them plain.
    const TRect Fixed = Grid->CellRect(2, 0);
    EXPECT_NE(At(Fixed.Left, Fixed.Top + 3), clAqua);
    Grid->SetCtl3D(false);
    Grid->Invalidate();
    Shot();
    const TRect Flat = Grid->CellRect(2, 0);
    EXPECT_EQ(At(Flat.Left, Flat.Top + 3), clAqua);
    // With rows selected the frame goes round the whole row.
    Grid->SetCtl3D(true);
    Grid->SetOptions(DefaultGridOptions + TGridOptions{goRowSelect});
    Grid->Invalidate();
    Shot();
    const TRect Row = Grid->BoxRect(1, 2, 3, 2);
    int N = 0;
    for (int X = Row.Left; X < Row.Right; ++X)
        N += At(X, Row.Top) != ColorToRGB(clHighlight);
    EXPECT_GT(N, (Row.Right - Row.Left) / 3);
}

TEST_F(BaseGridPaintReading, AnOpenEditorCoversItsCellWhichIsThenNotDrawn) {
    std::vector<std::pair<int, int>> Drawn;
    Grid->OnDrawCell = [&](TObject*, int C, int R, TRect, TGridDrawState) {
        Drawn.emplace_back(C, R);
    };
    ShowActive(*Form);
    Grid->SetFocus();
    Grid->SetOptions(DefaultGridOptions + TGridOptions{goEditing});
    Grid->SetCol(2);
    Grid->SetRow(2);
    Grid->SetEditorMode(true);
    Grid->Invalidate();
    Grid->Update();
    EXPECT_EQ(std::count(Drawn.begin(), Drawn.end(), std::make_pair(2, 2)), 0);
    EXPECT_GT(std::count(Drawn.begin(), Drawn.end(), std::make_pair(3, 2)), 0);
}

TEST_F(BaseGridPaintReading, RightToLeftTheColumnsRunFromTheRightEdge) {
    Grid->SetBiDiMode(bdRightToLeft);
    Grid->Invalidate();
    Shot();
    const int W = Grid->ClientWidth();
    const TRect Fixed = Grid->CellRect(0, 1);
    EXPECT_EQ(Fixed.Right, W);
    EXPECT_EQ(Fixed.Left, W - 64);
    const TRect First = Grid->CellRect(1, 1);
    EXPECT_EQ(First.Right, W - 65);
    EXPECT_EQ(At(W - 10, Fixed.Top + 5), clAqua);
    EXPECT_EQ(At(First.Left + 5, First.Top + 5), clYellow);
    EXPECT_EQ(At(5, First.Top + 5), clYellow);
    EXPECT_EQ(Grid->MouseCoord(W - 10, Fixed.Top + 5), (TGridCoord{0, 1}));
    EXPECT_EQ(Grid->MouseCoord(First.Left + 3, First.Top + 5), (TGridCoord{1, 1}));
}

TEST_F(BaseGridChangeReading, ACountChangeRepaintsFromTheLastCellShownUnlessTheViewIsVirtual) {
    for (const bool Virtual : {false, true}) {
        Grid->SetVirtualView(Virtual);
        Grid->SetRowCount(4);
        PaintAll();
        Grid->SetRowCount(5);
        Flush();
        EXPECT_EQ(Painted.Rows().count(1), Virtual ? 1u : 0u) << Virtual;
        EXPECT_EQ(Painted.Rows().count(4), 1u) << Virtual;
    }
}

} // namespace
