// Painting held off and let go again (fast assign, redrawing off), what a
// count change leaves of the selections, the row bar's marks, the fixed
// boundary line and a form's change of scale, seen through the grid's
// public calls, real key events and pixels of its backing image.
#include "grid/model/Columns.h"
#include "grid/model/Rows.h"
#include "grid/tests/GridEditFixture.h"
#include "platform/gui/Scaling.h"
#include "platform/gui/WindowScroll.h"

#include <filesystem>
#include <unistd.h>

using namespace grid;

namespace {

class GridRedraw : public GridEditFixture {
protected:
    void SetUp() override {
        GridEditFixture::SetUp();
        Grid->OnPaint = [this](TObject*) { ++Paints; };
        Grid->Update();
        Paints = 0;
    }
    TColor Pixel(int X, int Y) { return Grid->Canvas()->Pixels(X, Y); }
    std::vector<TColor> PixelsOf(const TRect& R) {
        Grid->Update();
        std::vector<TColor> Result;
        for (int Y = R.Top; Y < R.Bottom; ++Y)
            for (int X = R.Left; X < R.Right; ++X)
                Result.push_back(Pixel(X, Y));
        return Result;
    }
    int CountOf(const std::vector<TColor>& Pixels, TColor Color) {
        return static_cast<int>(std::count(Pixels.begin(), Pixels.end(), Color));
    }
    TRect RowBarCell(int DataRow) { return Grid->CellRect(0, Grid->GetDisplayRow(DataRow)); }
    TColor CellCentre(int DataCol, int DataRow) {
        Grid->Update();
        const TRect R = Grid->CellRect(Grid->GetDisplayCol(DataCol), Grid->GetDisplayRow(DataRow));
        return Pixel((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
    }
    bool EditorShown() { return Grid->GridControl() && Grid->GridControl()->GetVisible(); }

    int Paints = 0;
};

// ---- count changes ----------------------------------------------------------------------------

TEST_F(GridRedraw, ShrinkingPastTheSelectionLeavesTheSelectionStatusAndReportsIt) {
    struct TCase {
        const char* Name;
        bool Cols;
    };
    for (const TCase& Case : {TCase{"columns", true}, TCase{"rows", false}}) {
        SCOPED_TRACE(Case.Name);
        Grid->SetGridColCount(6);
        Grid->SetGridRowCount(8);
        GoTo(1, 1);
        if (Case.Cols)
            Grid->SelectCols(5, 6, true);
        else
            Grid->SelectRows(7, 8, true);
        ASSERT_EQ(Grid->GridStatus(), Case.Cols ? grColSelect : grRowSelect);
        std::vector<TgxSelectType> Selects;
        std::vector<std::pair<TgxGridStatus, TgxGridStatus>> Statuses;
        Grid->OnSelectChanged = [&](TObject*, TgxSelectType Type, bool) { Selects.push_back(Type); };
        Grid->OnGridStatusChanged = [&](TObject*, TgxGridStatus Old, TgxGridStatus New) {
            Statuses.emplace_back(Old, New);
        };
        if (Case.Cols)
            Grid->SetGridColCount(3);
        else
            Grid->SetGridRowCount(5);
        QApplication::processEvents();

        EXPECT_EQ(Grid->GridStatus(), grNormal);
        EXPECT_EQ(Case.Cols ? Grid->ColSelection().Count() : Grid->RowSelection().Count(), 0);
        EXPECT_EQ(Selects, std::vector<TgxSelectType>{Case.Cols ? stColSelect : stRowSelect});
        ASSERT_EQ(Statuses.size(), 1u);
        EXPECT_EQ(Statuses[0].first, Case.Cols ? grColSelect : grRowSelect);
        EXPECT_EQ(Statuses[0].second, grNormal);
        // Editing goes on at once: typing reaches the current cell.
        EXPECT_TRUE(Grid->InEditMode());
        Type("k");
        EXPECT_EQ(EditorText(), "k");
        Press(Qt::Key_Escape);
        Press(Qt::Key_Escape);
        Grid->OnSelectChanged = nullptr;
        Grid->OnGridStatusChanged = nullptr;
    }
}

TEST_F(GridRedraw, ASelectionThatSurvivesTheCountChangeStaysQuiet) {
    Grid->SetGridColCount(6);
    GoTo(1, 1);
    Grid->SelectCols(2, 3, true);
    int Events = 0;
    Grid->OnSelectChanged = [&](TObject*, TgxSelectType, bool) { ++Events; };
    Grid->OnGridStatusChanged = [&](TObject*, TgxGridStatus, TgxGridStatus) { ++Events; };
    Grid->SetGridColCount(4);
    EXPECT_EQ(Grid->GridStatus(), grColSelect);
    EXPECT_EQ(Grid->ColSelection().Count(), 2);
    EXPECT_EQ(Events, 0);
}

// ---- fast assign and redrawing -------------------------------------------------------------------

TEST_F(GridRedraw, FastAssignPaintsNothingUntilItsLastEndAndThenOnce) {
    GoTo(1, 1);
    ASSERT_TRUE(EditorShown());
    const TRect Cell = Grid->CellRect(Grid->GetDisplayCol(2), Grid->GetDisplayRow(3));
    const std::vector<TColor> Empty = PixelsOf(Cell);
    Paints = 0;

    Grid->SetFastAssign(true);
    Grid->SetFastAssign(true);
    EXPECT_FALSE(Grid->PaintEnabled());
    EXPECT_FALSE(EditorShown());
    Grid->SetGridRowCount(80);
    for (int R = 1; R <= 80; ++R)
        Grid->SetCellValue(2, R, Variant("value " + std::to_string(R)));
    Grid->InvalidateRow(3);
    Grid->InvalidateCol(2);
    Grid->InvalidateCell(2, 3);
    Grid->Repaint();
    QApplication::processEvents();
    EXPECT_EQ(Paints, 0);
    // The scroll range waits for the end too.
    EXPECT_FALSE(ScrollBarVisible(Grid, SB_VERT));

    Grid->SetFastAssign(false);
    EXPECT_TRUE(Grid->GetFastAssign());
    Grid->Repaint();
    EXPECT_EQ(Paints, 0);

    Grid->SetFastAssign(false);
    EXPECT_FALSE(Grid->GetFastAssign());
    EXPECT_TRUE(Grid->PaintEnabled());
    EXPECT_TRUE(EditorShown());
    QApplication::processEvents();
    Grid->Update();
    EXPECT_EQ(Paints, 1);
    EXPECT_NE(PixelsOf(Cell), Empty);
    EXPECT_TRUE(ScrollBarVisible(Grid, SB_VERT));

    // An end more than there were starts changes nothing.
    Grid->SetFastAssign(false);
    EXPECT_TRUE(Grid->PaintEnabled());
    EXPECT_FALSE(Grid->GetFastAssign());
}

TEST_F(GridRedraw, RedrawingOffHoldsPaintsAndItsEndRepaintsAtOnce) {
    Grid->SetEnableRedraw(false);
    Grid->SetEnableRedraw(false);
    EXPECT_FALSE(Grid->GetEnableRedraw());
    EXPECT_FALSE(Grid->CanPaint());
    Grid->Repaint();
    QApplication::processEvents();
    EXPECT_EQ(Paints, 0);
    Grid->SetEnableRedraw(true);
    EXPECT_FALSE(Grid->GetEnableRedraw());
    EXPECT_EQ(Paints, 0);
    Grid->SetEnableRedraw(true);
    EXPECT_TRUE(Grid->GetEnableRedraw());
    EXPECT_EQ(Paints, 1); // no Update asked for
    // Ends beyond the starts leave the counter at 0: one start stops again.
    Grid->SetEnableRedraw(true);
    Grid->SetEnableRedraw(false);
    EXPECT_FALSE(Grid->GetEnableRedraw());
    Grid->SetEnableRedraw(true);
    EXPECT_TRUE(Grid->GetEnableRedraw());
}

TEST_F(GridRedraw, ExportRunsWithRedrawingOffAndRepaintsAfter) {
    Grid->SetCellValue(1, 1, Variant("a"));
    bool RedrawDuring = true;
    Grid->OnCellLoaded = [&](TObject*, int, int, Variant&) {
        RedrawDuring = RedrawDuring && Grid->GetEnableRedraw();
    };
    const std::filesystem::path File =
        std::filesystem::temp_directory_path() / ("grid-redraw-" + std::to_string(getpid()) + ".csv");
    Paints = 0;
    Grid->ExportCSV(File.string());
    std::filesystem::remove(File);
    EXPECT_TRUE(Grid->GetEnableRedraw());
    EXPECT_EQ(Paints, 1);
}

// ---- settings that repaint ---------------------------------------------------------------------

TEST_F(GridRedraw, ChangingDrawOverlapRepaintsTheCells) {
    GoTo(1, 1);
    Grid->GetCol(Variant(2))->SetColor(clRed);
    Grid->SetRowColor(3, clBlue);
    EXPECT_EQ(CellCentre(2, 3), clRed);
    Grid->SetDrawOverlap(doDrawRowOnTop);
    EXPECT_EQ(CellCentre(2, 3), clBlue);
    Grid->SetDrawOverlap(doDrawColOnTop);
    EXPECT_EQ(CellCentre(2, 3), clRed);
}

// ---- row bar marks ----------------------------------------------------------------------------

TEST_F(GridRedraw, TheRowBarShowsTheChangedPictureWhileARowEditRuns) {
    struct TCase {
        TgxRowChangedIndicator Mode;
        bool Changed;
    };
    for (const TCase& Case : {TCase{riOn, true}, TCase{riAutoReset, true}, TCase{riOff, false}}) {
        SCOPED_TRACE(static_cast<int>(Case.Mode));
        Grid->SetRowChangedIndicator(Case.Mode);
        GoTo(1, 2);
        const std::vector<TColor> Plain = PixelsOf(RowBarCell(2));
        Type("x");
        Press(Qt::Key_Tab);
        ASSERT_EQ(At(), (std::pair{2, 2}));
        ASSERT_TRUE(Grid->RowEditing());
        const std::vector<TColor> During = PixelsOf(RowBarCell(2));
        EXPECT_EQ(During != Plain, Case.Changed);
        // The row edit ends on the way to another row: that row has the plain arrow.
        GoTo(1, 4);
        EXPECT_EQ(PixelsOf(RowBarCell(4)), Plain);
    }
}

TEST_F(GridRedraw, ASelectedCurrentRowShowsItsMarkLightOnTheSelection) {
    for (const TgxSelectionType Type : {sltInvert, sltColor}) {
        SCOPED_TRACE(static_cast<int>(Type));
        Grid->SetSelectionType(Type);
        Grid->SetSelectionColor(clNavy);
        Grid->DeleteAllRowSelection();
        GoTo(1, 2);
        Grid->Invalidate();
        const std::vector<TColor> Plain = PixelsOf(RowBarCell(2));
        Grid->SelectRows(2, 2, true);
        ASSERT_TRUE(Grid->IsRowSelected(2));
        Grid->Invalidate();
        const std::vector<TColor> Selected = PixelsOf(RowBarCell(2));
        // Where the plain mark is black the selected one is white.
        int Mark = 0;
        for (std::size_t I = 0; I < Plain.size(); ++I)
            if (Plain[I] == clBlack && Selected[I] != clBlack) {
                ++Mark;
                EXPECT_EQ(Selected[I], clWhite);
            }
        EXPECT_GT(Mark, 10);
    }
}

// ---- fixed boundary line --------------------------------------------------------------------

TEST_F(GridRedraw, AHiddenLastFixedRowHandsItsBoundaryLineToTheRowAbove) {
    Grid->SetFixedRowCount(2);
    Grid->SetFixedLineColor(clRed);
    const TRect Cell = Grid->CellRect(Grid->GetDisplayCol(2), 1);
    const int X = (Cell.Left + Cell.Right) / 2;
    Grid->Invalidate();
    Grid->Update();
    // A cell's line is the pixel row just under its rectangle.
    EXPECT_NE(Pixel(X, Cell.Bottom), clRed);
    EXPECT_EQ(Pixel(X, Grid->CellRect(Grid->GetDisplayCol(2), 2).Bottom), clRed);
    Grid->SetRowVisible(2, false);
    Grid->Invalidate();
    Grid->Update();
    EXPECT_EQ(Pixel(X, Cell.Bottom), clRed);
}

// ---- change of scale -------------------------------------------------------------------------

TEST_F(GridRedraw, AFormScaledFrom96To144DpiScalesTheGridsOwnSizes) {
    for (const bool Auto : {true, false}) {
        SCOPED_TRACE(Auto ? "AutoScale" : "no AutoScale");
        Grid->SetAutoScale(Auto);
        Grid->GetCol(Variant(2))->SetWidth(50);
        Grid->SetRowHeight(3, 20);
        const int Width = Grid->Width();
        const int DefaultCol = Grid->DefaultColWidth();
        const int DefaultRow = Grid->DefaultRowHeight();
        const auto Scaled = [&](int Value) { return Auto ? (Value * 3 + 1) / 2 : Value; };

        ScaleForm(Form, 144, 96);
        EXPECT_EQ(Grid->Width(), Width * 3 / 2);
        EXPECT_EQ(Grid->GetRowBarWidth(), Scaled(14));
        EXPECT_EQ(Grid->ColWidths(0), Scaled(14));
        EXPECT_EQ(Grid->GetHeadingHeight(), Scaled(15));
        EXPECT_EQ(Grid->RowHeights(0), Scaled(15));
        EXPECT_EQ(Grid->DefaultButtonWidth(), Scaled(11));
        EXPECT_EQ(Grid->DefaultButtonHeight(), Scaled(9));
        EXPECT_EQ(Grid->GetCol(Variant(2))->Width(), Scaled(50));
        EXPECT_EQ(Grid->ColWidths(Grid->GetDisplayCol(2)), Scaled(50));
        EXPECT_EQ(Grid->RowHeights(Grid->GetDisplayRow(3)), Scaled(20));
        EXPECT_EQ(Grid->DefaultColWidth(), Scaled(DefaultCol));
        EXPECT_EQ(Grid->DefaultRowHeight(), Scaled(DefaultRow));

        // The screen going back to 96 dpi scales every form back.
        ScreenPixelsPerInchChanged(144, 96);
        EXPECT_EQ(Grid->Width(), Width);
        EXPECT_EQ(Grid->GetRowBarWidth(), 14);
        EXPECT_EQ(Grid->GetHeadingHeight(), 15);
        EXPECT_EQ(Grid->GetCol(Variant(2))->Width(), 50);
        EXPECT_EQ(Grid->DefaultColWidth(), DefaultCol);
    }
}

// ---- layout ---------------------------------------------------------------------------------

TEST_F(GridRedraw, TheLargestTopRowIsNeverAHiddenRow) {
    Grid->SetGridRowCount(40);
    const int Max = Grid->GetMaxTopRow();
    ASSERT_GT(Max, 2);
    Grid->SetRowVisible(Grid->GetDataRow(Max - 1), false);
    EXPECT_EQ(Grid->GetMaxTopRow(), Max);
    // Hidden rows at the top: never above the first row shown.
    for (int R = 1; R <= 40; ++R)
        Grid->SetRowVisible(R, R > 36);
    EXPECT_EQ(Grid->GetMaxTopRow(), Grid->GetDisplayRow(37));
    // Nothing shown at all: the first scrollable row.
    for (int R = 1; R <= 40; ++R)
        Grid->SetRowVisible(R, false);
    EXPECT_EQ(Grid->GetMaxTopRow(), Grid->FixedRows());
}

TEST_F(GridRedraw, ChangingTheFixedColumnsKeepsTheEditorOverTheCurrentCell) {
    GoTo(3, 2);
    ASSERT_TRUE(EditorShown());
    Grid->SetFixedColCount(1);
    QApplication::processEvents();
    ASSERT_TRUE(EditorShown());
    const TRect Cell = Grid->CellRect(Grid->Col(), Grid->Row());
    EXPECT_GE(Grid->GridControl()->GetLeft(), Cell.Left);
    EXPECT_LT(Grid->GridControl()->GetLeft(), Cell.Right);
    EXPECT_GE(Grid->GridControl()->GetTop(), Cell.Top);
    EXPECT_LT(Grid->GridControl()->GetTop(), Cell.Bottom);
}

} // namespace
