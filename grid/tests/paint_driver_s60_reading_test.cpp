// The paint driver of the grid as a program drives it: what a paint draws
// and raises, the counters that hold painting and redrawing off, bulk
// changes under fast assign, the row bar's marks and scaling.
#include "FormTextFixture.h"
#include "ShownGridPixels.h"
#include "grid/model/Columns.h"
#include "grid/model/GridControl.h"
#include "grid/model/InplaceControl.h"
#include "grid/view/GridReport.h"
#include "platform/gui/Scaling.h"
#include "platform/rtl/Streams.h"

#include <QApplication>

#include <algorithm>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace grid;

// A grid that keeps the display cells it painted.
class TPaintLogGrid : public TgxGrid {
public:
    using TgxGrid::TgxGrid;
    void DoDrawCell(int DisplayCol, int DisplayRow, bool Selected, const TRect& Rect) override {
        Drawn.insert({DisplayCol, DisplayRow});
        TgxGrid::DoDrawCell(DisplayCol, DisplayRow, Selected, Rect);
    }
    std::set<std::pair<int, int>> Drawn;
};

class PaintDriverReading : public ShownGridPixels {
protected:
    // A logging grid in place of the fixture's, shown and painted once.
    TPaintLogGrid* ShowLogging(int Cols, int Rows) {
        ShowGrid(Cols, Rows);
        delete Grid;
        auto* G = new TPaintLogGrid(Form);
        G->SetParent(Form);
        G->SetBounds(0, 0, 400, 300);
        G->SetGridColCount(Cols);
        G->SetGridRowCount(Rows);
        G->OnPaint = [this](TObject*) { ++Paints; };
        Grid = G;
        Repaint();
        return G;
    }
    void Repaint() {
        QApplication::processEvents();
        Grid->Invalidate();
        Grid->Update();
        QApplication::processEvents();
    }
    int Paints = 0;
};

TEST_F(PaintDriverReading, EveryPaintRaisesOnPaintOnceAndOnlyCellsInTheClipAreDrawn) {
    TPaintLogGrid* G = ShowLogging(5, 8);
    const int Before = Paints;
    Repaint();
    EXPECT_EQ(Paints, Before + 1);
    G->Drawn.clear();
    G->InvalidateCell(2, 3);
    G->Update();
    EXPECT_EQ(G->Drawn, (std::set<std::pair<int, int>>{{2, 3}}));
}

TEST_F(PaintDriverReading, InvalidatingARowOrAColumnTakesInItsFixedCells) {
    TPaintLogGrid* G = ShowLogging(4, 6);
    G->Drawn.clear();
    G->InvalidateRow(3);
    G->Update();
    EXPECT_TRUE(G->Drawn.count({0, 3})) << "row bar cell";
    EXPECT_TRUE(G->Drawn.count({4, 3}));
    for (const auto& C : G->Drawn)
        EXPECT_EQ(C.second, 3);
    G->Drawn.clear();
    G->InvalidateCol(2);
    G->Update();
    EXPECT_TRUE(G->Drawn.count({2, 0})) << "heading cell";
    EXPECT_TRUE(G->Drawn.count({2, 6}));
    for (const auto& C : G->Drawn)
        EXPECT_EQ(C.first, 2);
}

// A sequence of calls on one counter and whether it is on afterwards.
struct TCounterCase {
    const char* Name;
    std::vector<bool> Calls;
    bool PaintOn;
};

TEST_F(PaintDriverReading, CountersNeverGoBelowZero) {
    EnsureQtApplication();
    const TCounterCase Cases[] = {
        {"more ons than offs", {true, true, false, true, true}, true},
        {"on before off", {true, true, false}, false},
        {"nested offs", {false, false, true}, false},
        {"balanced", {false, false, true, true}, true},
    };
    for (const TCounterCase& C : Cases) {
        TgxGrid G(nullptr);
        for (bool B : C.Calls)
            G.SetEnablePaint(B);
        EXPECT_EQ(G.GetEnablePaint(), C.PaintOn) << C.Name;
        for (bool B : C.Calls)
            G.SetEnableRedraw(B);
        EXPECT_EQ(G.GetEnableRedraw(), C.PaintOn) << C.Name;
        for (bool B : C.Calls)
            G.SetSetComboExtents(B);
        EXPECT_EQ(G.GetSetComboExtents(), C.PaintOn) << C.Name;
        for (bool B : C.Calls)
            G.SetFocusRectDisabled(!B);
        EXPECT_EQ(G.GetFocusRectDisabled(), !C.PaintOn) << C.Name;
    }
}

TEST_F(PaintDriverReading, NothingPaintsWhilePaintingOrRedrawingIsOff) {
    ShowLogging(3, 3);
    Grid->SetEnablePaint(false);
    int Before = Paints;
    Repaint();
    EXPECT_EQ(Paints, Before);
    // What was put off is still due.
    Grid->SetEnablePaint(true);
    Grid->Update();
    QApplication::processEvents();
    EXPECT_GT(Paints, Before);

    Grid->SetEnableRedraw(false);
    Before = Paints;
    Repaint();
    EXPECT_EQ(Paints, Before);
    // Redrawing on again repaints at once.
    Grid->SetEnableRedraw(true);
    EXPECT_GT(Paints, Before);
}

TEST_F(PaintDriverReading, NestedFastAssignEndsWithTheOuterCallAndThenChecksTheTopLeft) {
    ShowLogging(3, 60);
    Grid->SetTopRow(30);
    ASSERT_EQ(Grid->TopRow(), 30);
    Grid->SetFastAssign(true);
    Grid->SetFastAssign(true);
    Grid->SetGridRowCount(4);
    const int Before = Paints;
    Grid->Invalidate();
    Grid->Update();
    Grid->InvalidateRow(1);
    Grid->InvalidateCol(1);
    Grid->InvalidateCell(1, 1);
    QApplication::processEvents();
    EXPECT_EQ(Paints, Before);
    Grid->SetFastAssign(false);
    EXPECT_TRUE(Grid->GetFastAssign());
    QApplication::processEvents();
    EXPECT_EQ(Paints, Before);
    Grid->SetFastAssign(false);
    EXPECT_FALSE(Grid->GetFastAssign());
    EXPECT_TRUE(Grid->GetEnablePaint());
    EXPECT_EQ(Grid->TopRow(), 1);
    Grid->Update();
    QApplication::processEvents();
    EXPECT_GT(Paints, Before);
    // One more end than starts changes nothing.
    Grid->SetFastAssign(false);
    EXPECT_FALSE(Grid->GetFastAssign());
    EXPECT_TRUE(Grid->GetEnablePaint());
}

TEST_F(PaintDriverReading, AFailingCellPainterLeavesTheGridAndTheSharedCanvasFree) {
    ShowLogging(3, 3);
    auto* Other = new TgxGrid(Form);
    Other->SetParent(Form);
    Other->SetBounds(400, 0, 150, 150);
    int OtherPaints = 0;
    Other->OnPaint = [&](TObject*) { ++OtherPaints; };
    bool Fail = true;
    static_cast<TgxGrid*>(Grid)->OnPaintCell = [&](TObject*, int, int, TRect, TgxPaintCellState,
                                                   bool&) {
        if (Fail) throw std::runtime_error("painter failed");
    };
    try {
        Repaint();
    } catch (...) {
    }
    Fail = false;
    EXPECT_FALSE(Grid->Painting());
    const int Before = Paints;
    Repaint();
    EXPECT_GT(Paints, Before);
    Other->Invalidate();
    Other->Update();
    EXPECT_GT(OtherPaints, 0);
}

TEST_F(PaintDriverReading, TheAreaPastTheLastColumnAndRowTakesTheGridColour) {
    ShowFocused(2, 3);
    Grid->SetColor(clYellow);
    for (int C = 1; C <= 2; ++C)
        Grid->GetCol(C)->SetColor(clLime);
    Shot();
    const TRect Last = Grid->CellRect(2, 3);
    EXPECT_EQ(At(Last.Right + 5, Last.Top + 3), clYellow);
    EXPECT_EQ(At(Last.Left + 3, Last.Bottom + 5), clYellow);
    EXPECT_EQ(At(Last.Left + 3, Last.Top + 3), clLime);
    // With the last row cut by the bottom edge nothing is left below it.
    Grid->SetGridRowCount(40);
    Shot();
    const int H = Grid->ClientHeight();
    EXPECT_EQ(At(Grid->CellRect(1, 1).Left + 3, H - 1), clLime);
}

// The line settings and what the lines under a 3-D cell and under the fixed
// rows then look like.
struct TLineCase {
    const char* Name;
    TgxGridLines Lines;
    TColor FixedLine;
    TColor Under3D;    // the line under and right of a 3-D cell
    TColor UnderPlain; // the line under a plain cell
    TColor UnderFixed; // the line under the fixed data row
};

TEST_F(PaintDriverReading, LinesFollowTheirSettingsAndThe3DCells) {
    const TColor Line = clSilver;
    const TLineCase Cases[] = {
        {"no lines", TgxGridLines::glNone, clBlack, clGray, clWhite, clNone},
        {"both, fixed line unset", TgxGridLines::glBoth, clNone, clGray, Line, Line},
        {"both, fixed line red", TgxGridLines::glBoth, clRed, clGray, Line, clRed},
        {"across only", TgxGridLines::glHorzLines, clRed, clGray, Line, clRed},
    };
    for (const TLineCase& C : Cases) {
        ShowFocused(4, 5);
        Grid->SetColor(clWhite);
        Grid->SetLineColor(Line);
        Grid->SetGridLines(C.Lines);
        Grid->SetFixedLineColor(C.FixedLine);
        Grid->SetFixedRowCount(1);
        Grid->SetCellIs3D(2, 3, true);
        Grid->SetCol(1);
        Grid->SetRow(4);
        Grid->Invalidate();
        Shot();
        // The last pixel of a cell's span, its line included when it has one.
        const auto Below = [&](int Col, int Row) { return Grid->CellRect(Col, Row + 1).Top - 1; };
        const int Right = Grid->CellRect(3, 3).Left - 1;
        EXPECT_EQ(At(Grid->CellRect(2, 3).Left + 5, Below(2, 3)), C.Under3D) << C.Name;
        EXPECT_EQ(At(Right, Grid->CellRect(2, 3).Top + 5), C.Under3D) << C.Name;
        EXPECT_EQ(At(Grid->CellRect(3, 4).Left + 5, Below(3, 4)), C.UnderPlain) << C.Name;
        if (C.UnderFixed != clNone)
            EXPECT_EQ(At(Grid->CellRect(3, 1).Left + 5, Below(3, 1)), C.UnderFixed) << C.Name;
        delete Form;
        Form = nullptr;
    }
}

class RowBarMarks : public PaintDriverReading {
protected:
    void ShowEditing() {
        ShowGrid(3, 4);
        Grid->SetStoreData(true);
        ShowActive(*Form);
        Grid->SetFocus();
        QApplication::processEvents();
        Grid->SetCurrentCell(2, 2);
        QApplication::processEvents();
    }
    // The row bar cell of a display row as it shows, from its own top-left.
    std::vector<TColor> Mark(int Row) {
        Shot();
        const TRect R = Grid->CellRect(0, Row);
        std::vector<TColor> Out;
        for (int Y = R.Top; Y < R.Bottom; ++Y)
            for (int X = R.Left; X < R.Right; ++X)
                Out.push_back(At(X, Y));
        return Out;
    }
    void TypeInto() {
        QWidget* W = QApplication::focusWidget();
        TypeKey(W ? W : Grid->Widget(), Qt::Key_A, "a", Qt::NoModifier);
        QApplication::processEvents();
    }
};

TEST_F(RowBarMarks, TheCurrentRowShowsItsArrowAndAnEditedRowItsChangedMark) {
    struct {
        TgxRowChangedIndicator Indicator;
        bool ChangedMark;
    } const Cases[] = {
        {TgxRowChangedIndicator::riOn, true},
        {TgxRowChangedIndicator::riAutoReset, true},
        {TgxRowChangedIndicator::riOff, false},
    };
    for (const auto& C : Cases) {
        ShowEditing();
        Grid->SetRowChangedIndicator(C.Indicator);
        const std::vector<TColor> Plain = Mark(1);
        const std::vector<TColor> Arrow = Mark(2);
        EXPECT_NE(Arrow, Plain);
        TypeInto();
        const std::vector<TColor> Edited = Mark(2);
        EXPECT_EQ(Edited != Arrow, C.ChangedMark) << static_cast<int>(C.Indicator);
        EXPECT_NE(Edited, Plain);
        EXPECT_EQ(Mark(3), Plain);
        delete Form;
        Form = nullptr;
    }
}

TEST_F(RowBarMarks, WithoutTheIndicatorTheCurrentRowIsPlain) {
    ShowEditing();
    Grid->SetRowBarIndicator(false);
    EXPECT_EQ(Mark(2), Mark(1));
    Grid->SetRowBarIndicator(true);
    EXPECT_NE(Mark(2), Mark(1));
}

// A grid's own sizes after its form is scaled by 3/2; only an auto-scaling
// grid scales them, and its editor goes with its cell.
TEST_F(RowBarMarks, ScalingTheFormScalesTheGridsOwnSizesAndKeepsTheEditorOverItsCell) {
    struct {
        bool AutoScale;
        int M, D;
    } const Cases[] = {{true, 3, 2}, {false, 3, 2}, {true, 2, 2}};
    for (const auto& C : Cases) {
        ShowEditing();
        Grid->SetAlwaysShowEditor(true);
        Grid->SetHeadingParentFont(false);
        Grid->HeadingFont()->SetSize(8);
        Grid->SetAutoScale(C.AutoScale);
        Grid->SetCurrentCell(2, 2);
        QApplication::processEvents();
        const int Heading = Grid->GetHeadingHeight(), RowBar = Grid->GetRowBarWidth(),
                  ButtonW = Grid->DefaultButtonWidth(), ButtonH = Grid->DefaultButtonHeight(),
                  Width = Grid->GetCol(2)->Width(), Height = Grid->GetRowHeight(2);
        const auto Scaled = [&](int V) {
            return C.AutoScale ? (V * C.M * 2 + C.D) / (2 * C.D) : V;
        };
        ScaleForm(Form, C.M, C.D);
        QApplication::processEvents();
        const std::string Name = std::to_string(C.AutoScale) + " " + std::to_string(C.M);
        EXPECT_EQ(Grid->GetHeadingHeight(), Scaled(Heading)) << Name;
        EXPECT_EQ(Grid->GetRowBarWidth(), Scaled(RowBar)) << Name;
        EXPECT_EQ(Grid->DefaultButtonWidth(), Scaled(ButtonW)) << Name;
        EXPECT_EQ(Grid->DefaultButtonHeight(), Scaled(ButtonH)) << Name;
        EXPECT_EQ(Grid->HeadingFont()->Size(), Scaled(8)) << Name;
        EXPECT_EQ(Grid->GetCol(2)->Width(), Scaled(Width)) << Name;
        EXPECT_EQ(Grid->GetRowHeight(2), Scaled(Height)) << Name;
        ASSERT_TRUE(Grid->GridControl());
        const TWinControl* E = Grid->GridControl()->Control();
        const TRect Cell = Grid->CellRect(2, 2);
        EXPECT_TRUE(E->Visible()) << Name;
        EXPECT_GE(E->Left(), Cell.Left) << Name;
        EXPECT_LE(E->Left() + E->Width(), Cell.Right) << Name;
        EXPECT_GE(E->Top(), Cell.Top) << Name;
        EXPECT_LE(E->Top() + E->Height(), Cell.Bottom) << Name;
        EXPECT_GT(E->Width() * 2, Cell.Right - Cell.Left) << Name;
        delete Form;
        Form = nullptr;
    }
}

TEST_F(PaintDriverReading, ChangingTheDrawOverlapRepaintsWhereRowAndColumnMeet) {
    ShowFocused(3, 4);
    Grid->SetCurrentCell(1, 1);
    Grid->GetCol(2)->SetColor(clBlue);
    Grid->SetRowColor(3, clRed);
    Grid->Invalidate();
    Shot();
    const TRect R = Grid->CellRect(2, 3);
    EXPECT_EQ(At(R.Left + 2, R.Top + 2), clBlue);
    Grid->SetDrawOverlap(TgxDrawOverlap::doDrawRowOnTop);
    Shot();
    EXPECT_EQ(At(R.Left + 2, R.Top + 2), clRed);
}

TEST_F(RowBarMarks, FastAssignTakesTheEditorAwayUntilItEnds) {
    ShowEditing();
    Grid->SetAlwaysShowEditor(true);
    QApplication::processEvents();
    ASSERT_TRUE(Grid->GridControl());
    const TWinControl* E = Grid->GridControl()->Control();
    ASSERT_TRUE(E->Visible());
    Grid->SetFastAssign(true);
    EXPECT_FALSE(E->Visible());
    Grid->SetFastAssign(false);
    QApplication::processEvents();
    EXPECT_TRUE(E->Visible());
}

TEST_F(PaintDriverReading, AReportThatGoesIsForgotten) {
    ShowGrid(3, 3);
    auto* Report = new TgoCustomGridReport(Form);
    Grid->SetGridReport(Report);
    ASSERT_EQ(Grid->GridReport(), Report);
    delete Report;
    EXPECT_EQ(Grid->GridReport(), nullptr);
}

TEST_F(PaintDriverReading, ALoadedStateKeepsTheGridsNameAndRepaintsOnceAtTheEnd) {
    ShowLogging(3, 4);
    Grid->SetName("Source");
    TMemoryStream Stream;
    Grid->SaveToStream(&Stream, true);
    Grid->SetName("Target");
    Grid->SetGridRowCount(9);
    const int Before = Paints;
    Stream.SetPosition(0);
    Grid->LoadFromStream(&Stream, cmaNone);
    EXPECT_EQ(Grid->Name(), "Target");
    EXPECT_EQ(Grid->GetGridRowCount(), 4);
    EXPECT_FALSE(Grid->GetFastAssign());
    EXPECT_TRUE(Grid->GetEnablePaint());
    QApplication::processEvents();
    EXPECT_EQ(Paints, Before + 1);
}

TEST_F(RowBarMarks, AGridMovedToAnotherFormTakesItsEditorAlong) {
    ShowEditing();
    Grid->SetAlwaysShowEditor(true);
    QApplication::processEvents();
    ASSERT_TRUE(Grid->GridControl());
    auto* Other = new TForm(nullptr);
    Other->SetBounds(100, 100, 500, 400);
    ShowActive(*Other);
    Grid->SetParent(Other);
    Grid->SetFocus();
    Grid->SetCurrentCell(3, 3);
    QApplication::processEvents();
    TWinControl* E = Grid->GridControl()->Control();
    EXPECT_EQ(E->Widget()->window(), Other->Widget()->window());
    EXPECT_TRUE(E->Visible());
    delete Grid;
    Grid = nullptr;
    delete Other;
}

// Where in a tall row the current-row arrow sits, by the row bar's alignment.
TEST_F(RowBarMarks, TheArrowSitsWhereTheRowBarAlignmentSays) {
    using enum TgxVertAlignment;
    struct {
        TgxVertAlignment Align, GridAlign;
        int Where; // -1 upper third, 0 middle third, 1 lower third
    } const Cases[] = {{vtaTop, vtaCenter, -1},
                       {vtaCenter, vtaTop, 0},
                       {vtaBottom, vtaCenter, 1},
                       {vtaDefault, vtaBottom, 1},
                       {vtaDefault, vtaTop, -1}};
    for (const auto& C : Cases) {
        ShowEditing();
        Grid->SetRowHeight(2, 60);
        Grid->SetRowHeight(3, 60);
        Grid->SetVertAlignment(C.GridAlign);
        Grid->SetRowBarAlignment(C.Align);
        Grid->Invalidate();
        const std::vector<TColor> Arrow = Mark(2), Plain = Mark(3);
        const TRect R = Grid->CellRect(0, 2);
        const int W = R.Right - R.Left, H = R.Bottom - R.Top;
        int Top = H, Bottom = -1;
        for (int I = 0; I < static_cast<int>(Arrow.size()); ++I)
            if (Arrow[I] != Plain[I]) {
                Top = std::min(Top, I / W);
                Bottom = std::max(Bottom, I / W);
            }
        ASSERT_GE(Bottom, Top) << static_cast<int>(C.Align);
        const int Middle = (Top + Bottom) / 2;
        const int Third = Middle * 3 / H - 1;
        EXPECT_EQ(Third, C.Where) << static_cast<int>(C.Align) << " " << Top << ".." << Bottom;
        delete Form;
        Form = nullptr;
    }
}

// A selected current row shows its arrow merged the other way; a selected
// row that is not current has a row bar of its own look, without the arrow.
TEST_F(RowBarMarks, SelectedRowsShowTheirOwnRowBar) {
    ShowEditing();
    const std::vector<TColor> Plain = Mark(3);
    const std::vector<TColor> Arrow = Mark(2);
    Grid->SelectRows(2, 3, true);
    QApplication::processEvents();
    const std::vector<TColor> SelectedArrow = Mark(2);
    const std::vector<TColor> Selected = Mark(3);
    EXPECT_NE(SelectedArrow, Arrow);
    EXPECT_NE(Selected, Plain);
    EXPECT_NE(SelectedArrow, Selected);
    Grid->SelectRows(2, 3, false);
    QApplication::processEvents();
    EXPECT_EQ(Mark(2), Arrow);
    EXPECT_EQ(Mark(3), Plain);
}

// The grid's own controls (its editor, its drop-down form) are not part of
// what a form stores.
TEST_F(RowBarMarks, AStoredGridCarriesNoneOfItsOwnControls) {
    ShowEditing();
    Grid->SetName("Grid1");
    Grid->SetAlwaysShowEditor(true);
    QApplication::processEvents();
    ASSERT_TRUE(Grid->GridControl());
    const std::string Text = FormText(*Grid);
    EXPECT_EQ(Text.find("object", 1), std::string::npos) << Text.substr(0, 400);
}

} // namespace
