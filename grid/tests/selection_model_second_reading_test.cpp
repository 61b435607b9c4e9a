// The selection model through its public calls on a shown grid: which cells
// count as selected, the three kinds replacing each other, the events, and
// what the screen shows.
#include "GridEditFixture.h"
#include "ShownGridFixture.h"

#include "grid/model/Columns.h"
#include "grid/model/CurrentCell.h"
#include "platform/gui/QtApp.h"

#include <QImage>
#include <QWidget>

#include <algorithm>
#include <functional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

using namespace grid;

namespace {

class SelectionModelProbe : public ShownGridFixture {
protected:
    void SetUp() override {
        ShowGrid(5, 8);
        Grid->SetRowSelectMode(rsMulti);
        Grid->SetColSelectMode(csMulti);
        Grid->SetCellSelectMode(cmRange);
        Grid->OnSelectChanged = [this](TObject*, TgxSelectType T, bool ByUser) {
            Events.emplace_back(T, ByUser);
        };
        Grid->OnGridStatusChanged = [this](TObject*, TgxGridStatus, TgxGridStatus N) {
            Statuses.push_back(N);
        };
    }
    QImage Shot() {
        // Events posted while the first pass runs (a focus change, say)
        // wait for the next one.
        QApplication::processEvents();
        QApplication::processEvents();
        return Grid->Widget()->grab().toImage();
    }
    QRgb Pixel(const QImage& Img, int Col, int Row) {
        TRect R = Grid->CellRect(Col, Row);
        return Img.pixel(R.Left + 3, (R.Top + R.Bottom) / 2);
    }
    int CurDisplayRow() { return Grid->GetDisplayRow(Grid->GetCurrentDataRow()); }
    int CurDisplayCol() { return Grid->GetDisplayCol(Grid->GetCurrentDataCol()); }
    std::vector<std::pair<TgxSelectType, bool>> Events;
    std::vector<TgxGridStatus> Statuses;
};

TEST_F(SelectionModelProbe, WhichCellsCountAsSelected) {
    Grid->SelectCols(2, 2, true);
    struct Case { int Col, Row; bool Selected; } Cases[] = {
        {0, 0, false}, {2, 0, true}, {3, 0, false}, {2, 5, true}, {3, 5, false},
        {6, 3, false}, {2, 9, false}, {-1, 1, false}};
    for (const Case& C : Cases)
        EXPECT_EQ(Grid->IsCellSelected(C.Col, C.Row), C.Selected) << C.Col << "," << C.Row;
    Grid->SelectRows(3, 3, true);
    EXPECT_TRUE(Grid->IsCellSelected(0, 3));
    EXPECT_TRUE(Grid->IsCellSelected(4, 3));
    EXPECT_FALSE(Grid->IsCellSelected(0, 0));
    EXPECT_FALSE(Grid->IsCellSelected(2, 0)) << "the row selection replaced the columns";
    Grid->SelectCells(2, 2, 3, 4);
    EXPECT_TRUE(Grid->IsCellSelected(3, 4));
    EXPECT_FALSE(Grid->IsCellSelected(4, 4));
    EXPECT_FALSE(Grid->IsCellSelected(0, 3)) << "the range replaced the rows";
}

TEST_F(SelectionModelProbe, RowSpansAreNotSwappedAndSingleModeTakesOneRow) {
    Grid->SelectRows(5, 3, true);
    EXPECT_EQ(Grid->GridStatus(), grNormal);
    EXPECT_TRUE(Events.empty());
    Grid->SetRowSelectMode(rsSingle);
    Grid->SelectRows(3, 4, true);
    EXPECT_EQ(Grid->GridStatus(), grNormal);
    int Col = CurDisplayCol();
    Grid->SelectRows(6, 6, true);
    EXPECT_EQ(Grid->GridStatus(), grRowSelect);
    EXPECT_EQ(CurDisplayRow(), 6);
    EXPECT_EQ(CurDisplayCol(), Col);
    Grid->SelectRows(4, 4, true);
    EXPECT_EQ(CurDisplayRow(), 4);
    EXPECT_TRUE(Grid->RowRangeUnselected(5, 8)) << "single mode keeps one row";
    EXPECT_TRUE(Grid->RowRangeSelected(4, 4));
}

TEST_F(SelectionModelProbe, RowSpanIsClampedToTheRows) {
    Grid->SelectRows(-3, 99, true);
    EXPECT_TRUE(Grid->RowRangeSelected(1, 8));
    Grid->ResetSelection();
    Grid->SelectAll();
    EXPECT_TRUE(Grid->RowRangeSelected(1, 8));
    EXPECT_EQ(Grid->GridStatus(), grRowSelect);
    Grid->SelectRows(2, 3, false);
    EXPECT_TRUE(Grid->RowRangeUnselected(2, 3));
    EXPECT_TRUE(Grid->RowRangeSelected(4, 8));
}

TEST_F(SelectionModelProbe, KindsReplaceEachOtherAndEventsFollowInOrder) {
    Grid->SelectRows(2, 3, true);
    Events.clear();
    Grid->SelectCols(2, 3, true);
    EXPECT_EQ(Grid->GridStatus(), grColSelect);
    EXPECT_TRUE(Grid->RowRangeUnselected(1, 8));
    EXPECT_TRUE(Grid->ColRangeSelected(2, 3));
    ASSERT_GE(Events.size(), 2u);
    EXPECT_EQ(Events[0].first, stRowSelect);
    EXPECT_EQ(Events[1].first, stColSelect);
    EXPECT_EQ(Events.size(), 2u) << "one event per kind that changed";

    Grid->SelectRows(2, 3, false);
    EXPECT_EQ(Grid->GridStatus(), grColSelect) << "unselecting rows leaves columns alone";
    EXPECT_TRUE(Grid->ColRangeSelected(2, 3));

    Events.clear();
    Grid->SelectCells(4, 5, 2, 2);
    EXPECT_EQ(Grid->GridStatus(), grCellSelect);
    EXPECT_TRUE(Grid->ColRangeUnselected(1, 5));
    TRect R = Grid->SelectedRange();
    EXPECT_EQ(R.Left, 2);
    EXPECT_EQ(R.Top, 2);
    EXPECT_EQ(R.Right, 4);
    EXPECT_EQ(R.Bottom, 5);
    ASSERT_EQ(Events.size(), 2u);
    EXPECT_EQ(Events[0].first, stColSelect);
    EXPECT_EQ(Events[1].first, stCellSelect);
    EXPECT_FALSE(Events[1].second);
    EXPECT_FALSE(Statuses.empty());
    EXPECT_EQ(Statuses.back(), grCellSelect);

    Grid->ResetSelection();
    EXPECT_EQ(Grid->GridStatus(), grNormal);
    EXPECT_EQ(Statuses.back(), grNormal);
    EXPECT_FALSE(Grid->IsCellSelected(3, 3));
}

TEST_F(SelectionModelProbe, OutOfRangeSpansAreIgnored) {
    struct Case { int A, B, C, D; } Cells[] = {{-2, 1, 0, 3}, {6, 1, 7, 2}, {1, -3, 2, 0}, {1, 9, 2, 10}};
    for (const Case& C : Cells) {
        Grid->SelectCells(C.A, C.B, C.C, C.D);
        EXPECT_EQ(Grid->GridStatus(), grNormal) << C.A << "," << C.B;
    }
    Grid->SelectCols(6, 9, true);
    Grid->SelectCols(-1, 0, true);
    EXPECT_EQ(Grid->GridStatus(), grNormal);
    Grid->SelectCols(4, 99, true);
    EXPECT_TRUE(Grid->ColRangeSelected(4, 5));
}

TEST_F(SelectionModelProbe, DeleteSelectionsOnlyTakesTheNamedKind) {
    Grid->SelectCols(2, 2, true);
    Grid->DeleteSelections({grRowSelect}, true);
    EXPECT_EQ(Grid->GridStatus(), grColSelect);
    Grid->DeleteSelections({}, true);
    EXPECT_EQ(Grid->GridStatus(), grNormal);
    EXPECT_TRUE(Grid->ColRangeUnselected(1, 5));
}

TEST_F(SelectionModelProbe, RangeFollowsDeletedAndHiddenColumns) {
    Grid->SelectCells(3, 2, 3, 4);
    Grid->DeleteCols(3, 3);
    EXPECT_EQ(Grid->GridStatus(), grNormal);
    EXPECT_FALSE(Grid->IsCellSelected(3, 3));

    Grid->SelectCells(2, 2, 4, 4);
    Grid->DeleteCols(1, 1);
    TRect R = Grid->SelectedRange();
    EXPECT_EQ(R.Left, 1);
    EXPECT_EQ(R.Right, 3);
    Grid->DeleteRows(3, 3);
    R = Grid->SelectedRange();
    EXPECT_EQ(R.Top, 2);
    EXPECT_EQ(R.Bottom, 3);
}

TEST_F(SelectionModelProbe, StartAndChangeCellSelectionByQuadrant) {
    Grid->StartCellSelection(3, 4);
    EXPECT_EQ(Grid->GridStatus(), grCellSelect);
    struct Case { int Col, Row; TRect Want; } Cases[] = {
        {5, 6, TRect{3, 4, 5, 6}}, {1, 2, TRect{1, 2, 3, 4}}, {5, 2, TRect{3, 2, 5, 4}},
        {1, 6, TRect{1, 4, 3, 6}}, {3, 4, TRect{3, 4, 3, 4}}};
    for (const Case& C : Cases) {
        Grid->ChangeCellSelection(C.Col, C.Row);
        TRect R = Grid->SelectedRange();
        EXPECT_EQ(R.Left, C.Want.Left) << C.Col << "," << C.Row;
        EXPECT_EQ(R.Top, C.Want.Top) << C.Col << "," << C.Row;
        EXPECT_EQ(R.Right, C.Want.Right) << C.Col << "," << C.Row;
        EXPECT_EQ(R.Bottom, C.Want.Bottom) << C.Col << "," << C.Row;
    }
}

TEST_F(SelectionModelProbe, ScreenShowsExactlyTheSelection) {
    QImage Before = Shot();
    Grid->SelectRows(2, 3, true);
    QImage Rows = Shot();
    EXPECT_NE(Pixel(Rows, 2, 2), Pixel(Before, 2, 2));
    EXPECT_NE(Pixel(Rows, 3, 3), Pixel(Before, 3, 3));
    EXPECT_EQ(Pixel(Rows, 2, 4), Pixel(Before, 2, 4));
    Grid->SelectCells(2, 5, 3, 6);
    QImage Cells = Shot();
    EXPECT_EQ(Pixel(Cells, 2, 2), Pixel(Before, 2, 2)) << "the rows went back";
    EXPECT_NE(Pixel(Cells, 3, 6), Pixel(Before, 3, 6));
    EXPECT_EQ(Pixel(Cells, 4, 6), Pixel(Before, 4, 6));
    Grid->SelectCells(3, 6, 4, 7);
    QImage Moved = Shot();
    EXPECT_EQ(Pixel(Moved, 2, 5), Pixel(Before, 2, 5));
    EXPECT_NE(Pixel(Moved, 3, 6), Pixel(Before, 3, 6));
    EXPECT_NE(Pixel(Moved, 4, 7), Pixel(Before, 4, 7));
    Grid->ResetSelection();
    QImage After = Shot();
    for (int Row = 1; Row <= 7; ++Row)
        EXPECT_EQ(Pixel(After, 3, Row), Pixel(Before, 3, Row)) << Row;
}

TEST_F(SelectionModelProbe, SelectionColourPaintsTheSelectedRows) {
    Grid->SetSelectionType(sltColor);
    Grid->SetSelectionColor(clRed);
    Grid->SelectRows(2, 2, true);
    QImage Img = Shot();
    EXPECT_EQ(QColor(Pixel(Img, 2, 2)), QColor(Qt::red));
    EXPECT_NE(QColor(Pixel(Img, 2, 3)), QColor(Qt::red));
    Grid->SelectRows(2, 2, false);
    Img = Shot();
    EXPECT_NE(QColor(Pixel(Img, 2, 2)), QColor(Qt::red));
}

using SelectionEditProbe = GridEditFixture;

TEST_F(SelectionEditProbe, VetoedEditKeepsTheSelection) {
    using namespace grid;
    Grid->SetRowSelectMode(rsMulti);
    Grid->SetColSelectMode(csMulti);
    Grid->SetCellSelectMode(cmRange);
    LogEvents();
    RefuseCell = true;
    GoTo(1, 1);
    Type("ab");
    Grid->SelectRows(2, 3, true);
    EXPECT_EQ(Grid->GridStatus(), grNormal);
    Grid->SelectCols(2, 3, true);
    EXPECT_EQ(Grid->GridStatus(), grNormal);
    Grid->SelectCells(2, 2, 3, 3);
    EXPECT_EQ(Grid->GridStatus(), grNormal);
    RefuseCell = false;
    Grid->SelectRows(2, 3, true);
    EXPECT_EQ(Grid->GridStatus(), grRowSelect);
    EXPECT_EQ(Stored(1, 1), "ab");
}

TEST_F(SelectionModelProbe, ListBoxSingleRowCannotBeUnselected) {
    Grid->SetGridMode(gmListBox);
    Grid->SetRowSelectMode(rsSingle);
    Grid->SelectRows(3, 3, true);
    Grid->SelectRows(3, 3, false);
    EXPECT_TRUE(Grid->RowRangeSelected(3, 3));
    Grid->ResetSelection();
    EXPECT_TRUE(Grid->RowRangeSelected(CurDisplayRow(), CurDisplayRow()));
}

TEST_F(SelectionModelProbe, RowsOffScreenAreMarkedToo) {
    Grid->SetGridRowCount(60);
    Grid->SelectRows(40, 55, true);
    EXPECT_TRUE(Grid->RowRangeSelected(40, 55));
    EXPECT_TRUE(Grid->RowRangeUnselected(1, 39));
    Grid->SelectRows(45, 60, false);
    EXPECT_TRUE(Grid->RowRangeSelected(40, 44));
    EXPECT_TRUE(Grid->RowRangeUnselected(45, 60));
}

}  // namespace

namespace {

// What the window shows now against what a full repaint shows.
class SelectionScreenProbe : public SelectionModelProbe {
protected:
    QImage Repainted() {
        Grid->Invalidate();
        Grid->Update();
        return Shot();
    }
    // Empty when the screen matches a full repaint; else where it differs,
    // in pixels and cells, so that a rare failure can be read from its log.
    std::string DifferenceFromRepaint() {
        const QImage Now = Shot();
        const QImage Full = Repainted();
        if (Now == Full) return {};
        if (Now.size() != Full.size() || Now.format() != Full.format())
            return "the images differ in size or format";
        int Left = Now.width(), Top = Now.height(), Right = -1, Bottom = -1;
        for (int Y = 0; Y < Now.height(); ++Y)
            for (int X = 0; X < Now.width(); ++X)
                if (Now.pixel(X, Y) != Full.pixel(X, Y)) {
                    Left = std::min(Left, X);
                    Right = std::max(Right, X);
                    Top = std::min(Top, Y);
                    Bottom = std::max(Bottom, Y);
                }
        std::ostringstream Out;
        Out << "pixels " << Left << ".." << Right << " x " << Top << ".." << Bottom;
        int C = -1, R = -1;
        if (Grid->CellFromXY(Left, Top, C, R)) Out << " from cell " << C << "," << R;
        if (Grid->CellFromXY(Right, Bottom, C, R)) Out << " to cell " << C << "," << R;
        Out << "; current cell " << Grid->Col() << "," << Grid->Row()
            << (Grid->Focused() ? ", focused" : ", not focused");
        return Out.str();
    }
};

TEST_F(SelectionScreenProbe, ShownSelectionMatchesAFullRepaint) {
    Grid->SetGridRowCount(40);
    struct Step { const char* What; std::function<void(TgxGrid*)> Do; } Steps[] = {
        {"row 2", [](TgxGrid* G) { G->SelectRows(2, 2, true); }},
        {"all visible rows", [](TgxGrid* G) { G->SelectRows(1, 40, true); }},
        {"unselect 3..5", [](TgxGrid* G) { G->SelectRows(3, 5, false); }},
        {"columns", [](TgxGrid* G) { G->SelectCols(2, 3, true); }},
        {"select all", [](TgxGrid* G) { G->SelectAll(); }},
        {"cells", [](TgxGrid* G) { G->SelectCells(2, 2, 3, 4); }},
        {"cells moved", [](TgxGrid* G) { G->SelectCells(3, 3, 4, 6); }},
        {"range grown", [](TgxGrid* G) { G->ChangeCellSelection(1, 1); }},
        {"range restarted", [](TgxGrid* G) { G->StartCellSelection(2, 2); }},
        {"reset", [](TgxGrid* G) { G->ResetSelection(); }},
        {"column then unselect", [](TgxGrid* G) { G->SelectCols(2, 4, true); G->SelectCols(3, 3, false); }},
    };
    for (const Step& S : Steps) {
        S.Do(Grid);
        EXPECT_EQ(DifferenceFromRepaint(), "") << S.What;
    }
}

TEST_F(SelectionScreenProbe, RowsScrolledOutStaySelected) {
    Grid->SetGridRowCount(60);
    Grid->SetCurrentCell(1, 50);
    QApplication::processEvents();
    Grid->SelectRows(1, 60, true);
    Grid->SetCurrentCell(1, 1);
    QApplication::processEvents();
    EXPECT_EQ(DifferenceFromRepaint(), "");
    EXPECT_TRUE(Grid->IsCellSelected(2, 2));
}

TEST_F(SelectionModelProbe, HidingARangeSideMovesItInward) {
    Grid->SelectCells(2, 2, 4, 4);
    Grid->GridCols()->GetCol(Grid->GetDataCol(2))->SetVisible(false);
    EXPECT_EQ(Grid->SelectedRange().Left, 3);
    Grid->GridCols()->GetCol(Grid->GetDataCol(4))->SetVisible(false);
    EXPECT_EQ(Grid->SelectedRange().Right, 3);
}

TEST_F(SelectionModelProbe, ListBoxMultiRowResetDropsTheRows) {
    Grid->SetGridMode(gmListBox);
    Grid->SelectRows(2, 4, true);
    Grid->ResetSelection();
    EXPECT_TRUE(Grid->RowRangeUnselected(1, 8));
    EXPECT_EQ(Grid->GridStatus(), grNormal);
}

}  // namespace

namespace {

TEST_F(SelectionScreenProbe, SelectionColourChangesAreShownAtTheEnd) {
    Grid->SetSelectionType(sltColor);
    Grid->SetSelectionColor(clRed);
    struct Step { const char* What; std::function<void(TgxGrid*)> Do; } Steps[] = {
        {"rows", [](TgxGrid* G) { G->SelectRows(2, 4, true); }},
        {"columns", [](TgxGrid* G) { G->SelectCols(3, 3, true); }},
        {"cells", [](TgxGrid* G) { G->SelectCells(1, 1, 2, 2); }},
        {"range grown", [](TgxGrid* G) { G->ChangeCellSelection(4, 5); }},
        {"reset", [](TgxGrid* G) { G->ResetSelection(); }},
    };
    for (const Step& S : Steps) {
        S.Do(Grid);
        EXPECT_EQ(DifferenceFromRepaint(), "") << S.What;
    }
}

TEST_F(SelectionModelProbe, ProgramSelectionsReportNotByUser) {
    Grid->SelectRows(2, 2, true);
    Grid->SelectCols(2, 2, true);
    Grid->SelectCells(1, 1, 9, 99);
    ASSERT_FALSE(Events.empty());
    for (const auto& E : Events) EXPECT_FALSE(E.second);
    EXPECT_TRUE(Grid->IsCellSelected(5, 8));
    QImage Now = Shot();
    EXPECT_FALSE(Now.isNull());
}

}  // namespace
