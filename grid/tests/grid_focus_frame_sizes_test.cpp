// Probes of the focus frame, the row heights, column widths and visible
// ranges, the shared cell objects, and the row and cell accessors, reached
// only through the calls and events a program or a user makes, on a shown
// grid whose pixels are read back.
#include "grid/model/CellButtons.h"
#include "grid/model/CellProps.h"
#include "grid/model/Columns.h"
#include "grid/model/ControlWrappers.h"
#include "grid/model/GxGrid.h"
#include "grid/model/InplaceControl.h"
#include "grid/model/Rows.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtApp.h"
#include "platform/gui/StdCtrls.h"
#include "platform/gui/tests/GuiTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

namespace {

using namespace grid;

class FocusFrameAndSizes : public ::testing::Test {
protected:
    void SetUp() override { EnsureQtApplication(); }
    void TearDown() override { delete Form; }

    // A browse grid (no in-place editor) on an active form, white cells and
    // white lines, so anything not white inside an empty cell is a frame.
    void Show(int Cols = 6, int Rows = 40, TgxGridMode Mode = gmBrowse) {
        Form = new TForm(nullptr);
        Form->SetBounds(20, 20, 640, 420);
        Grid = new TgxGrid(Form);
        Grid->SetName("Grid1");
        Grid->SetParent(Form);
        Grid->SetBounds(0, 0, 420, 300);
        Other = new TEdit(Form);
        Other->SetParent(Form);
        Other->SetBounds(450, 10, 100, 24);
        ShowActive(*Form);
        Grid->SetGridMode(Mode);
        Grid->SetGridColCount(Cols);
        Grid->SetGridRowCount(Rows);
        Grid->SetColor(clWhite);
        Grid->SetLineColor(clWhite);
        Grid->SetFocus();
        QApplication::processEvents();
        PaintAll();
    }
    void PaintAll() {
        Grid->Invalidate();
        Grid->Update();
        QApplication::processEvents();
    }
    // Paints only what is waiting to be painted.
    void Flush() {
        QApplication::processEvents();
        Grid->Update();
    }
    // Pixels of one display cell's box that are not the colour C.
    int CountNot(int DC, int DR, TColor C) {
        const TRect R = Grid->CellRect(DC, DR);
        int N = 0;
        for (int Y = R.Top; Y < R.Bottom; ++Y)
            for (int X = R.Left; X < R.Right; ++X)
                if (X >= 0 && Y >= 0 && Grid->Canvas()->Pixels(X, Y) != C) ++N;
        return N;
    }
    // Pixels of colour C on the middle line of a display cell's box.
    int CountOnMiddleLine(int DC, int DR, TColor C) {
        const TRect R = Grid->CellRect(DC, DR);
        const int Y = (R.Top + R.Bottom) / 2;
        int N = 0;
        for (int X = R.Left - 2; X < R.Right + 2; ++X)
            if (Grid->Canvas()->Pixels(X, Y) == C) ++N;
        return N;
    }
    TColor Inside(int DC, int DR) {
        const TRect R = Grid->CellRect(DC, DR);
        return Grid->Canvas()->Pixels(R.Left + 3, (R.Top + R.Bottom) / 2);
    }
    std::vector<TColor> Shot() {
        std::vector<TColor> P;
        for (int Y = 0; Y < Grid->ClientHeight(); ++Y)
            for (int X = 0; X < Grid->ClientWidth(); ++X)
                P.push_back(Grid->Canvas()->Pixels(X, Y));
        return P;
    }
    void Press(int QtKey) {
        QWidget* W = QApplication::focusWidget();
        TypeKey(W ? W : Grid->Widget(), QtKey);
        QApplication::processEvents();
    }

    TForm* Form = nullptr;
    TgxGrid* Grid = nullptr;
    TEdit* Other = nullptr;
};

// ---------------------------------------------------------------------------
// The focus frame

TEST_F(FocusFrameAndSizes, DottedFrameMarksTheCurrentCellOfAFocusedGrid) {
    Show();
    ASSERT_EQ(Grid->FocusBorder(), fbDot);
    ASSERT_TRUE(Grid->IsFocused());
    EXPECT_TRUE(Grid->DisplayFocusRect(Grid->Col(), Grid->Row()));
    Grid->SetCurrentCell(2, 2);
    PaintAll();
    EXPECT_GT(CountNot(2, 2, clWhite), 0);
    // A cell that is not current has no frame.
    EXPECT_EQ(CountNot(3, 3, clWhite), 0);
}

TEST_F(FocusFrameAndSizes, NoFrameWhileASelectionIsActive) {
    Show();
    Grid->SetCurrentCell(2, 2);
    PaintAll();
    ASSERT_GT(CountNot(2, 2, clWhite), 0);
    Grid->SelectRows(6, 7, true);
    Flush();
    EXPECT_EQ(Grid->GridStatus(), grRowSelect);
    EXPECT_FALSE(Grid->FocusRectActive());
    EXPECT_EQ(CountNot(2, 2, clWhite), 0);
}

TEST_F(FocusFrameAndSizes, FrameGoesWhenTheGridLosesTheFocusAndComesBack) {
    Show();
    Grid->SetCurrentCell(2, 2);
    PaintAll();
    ASSERT_GT(CountNot(2, 2, clWhite), 0);
    Other->SetFocus();
    QApplication::processEvents();
    Flush();
    EXPECT_FALSE(Grid->IsFocused());
    EXPECT_EQ(CountNot(2, 2, clWhite), 0);
    Grid->SetFocus();
    QApplication::processEvents();
    Flush();
    EXPECT_GT(CountNot(2, 2, clWhite), 0);
}

TEST_F(FocusFrameAndSizes, ArrowKeyMovesTheFrameToTheNewCell) {
    Show();
    Grid->SetCurrentCell(2, 2);
    PaintAll();
    ASSERT_GT(CountNot(2, 2, clWhite), 0);
    Press(Qt::Key_Down);
    Flush();
    EXPECT_EQ(Grid->Row(), 3);
    EXPECT_EQ(CountNot(2, 2, clWhite), 0);
    EXPECT_GT(CountNot(2, 3, clWhite), 0);
    Press(Qt::Key_Right);
    Flush();
    EXPECT_EQ(CountNot(2, 3, clWhite), 0);
    EXPECT_GT(CountNot(3, 3, clWhite), 0);
}

TEST_F(FocusFrameAndSizes, SingleBorderDrawsOneFrameAndDoubleTwo) {
    Show();
    Grid->SetCurrentCell(2, 2);
    Grid->SetFocusBorderColor(clRed);
    Grid->SetFocusBorder(fbSingle);
    PaintAll();
    EXPECT_EQ(CountOnMiddleLine(2, 2, clRed), 2);
    Grid->SetFocusBorder(fbDouble);
    PaintAll();
    EXPECT_EQ(CountOnMiddleLine(2, 2, clRed), 4);
}

TEST_F(FocusFrameAndSizes, FocusColourSetterRepaintsTheCurrentCell) {
    Show();
    Grid->SetCurrentCell(2, 2);
    PaintAll();
    Grid->SetFocusFontColor(clBlue);
    Flush();
    Grid->SetFocusColor(clYellow);
    Flush();
    const TColor Seen = Inside(2, 2);
    PaintAll();
    const TColor Repainted = Inside(2, 2);
    ASSERT_EQ(Repainted, clYellow) << "the focus colour is not used at all";
    EXPECT_EQ(Seen, Repainted);
}

// ---------------------------------------------------------------------------
// Row heights, column widths, visible ranges and shared cell objects

TEST_F(FocusFrameAndSizes, DefaultRowHeightZeroMakesEveryRowOnePixel) {
    Show(4, 10);
    Grid->SetDefaultRowHeight(0);
    EXPECT_EQ(Grid->DefaultRowHeight(), 1);
    for (int R = 1; R <= 10; ++R) {
        EXPECT_EQ(Grid->RowHeights(Grid->GetDisplayRow(R)), 1) << R;
        EXPECT_EQ(Grid->GetRowHeight(R), 1) << R;
    }
}

TEST_F(FocusFrameAndSizes, HidingARowKeepsItsStoredHeight) {
    Show(4, 10);
    Grid->SetRowHeight(3, 30);
    ASSERT_EQ(Grid->RowHeights(Grid->GetDisplayRow(3)), 30);
    Grid->SetRowVisible(3, false);
    EXPECT_EQ(Grid->RowHeights(Grid->GetDisplayRow(3)), 0);
    EXPECT_EQ(Grid->GetRowHeight(3), 30);
    Grid->SetRowVisible(3, true);
    EXPECT_EQ(Grid->RowHeights(Grid->GetDisplayRow(3)), 30);
}

TEST_F(FocusFrameAndSizes, PageDownReportsTheTopLeftChangeOnceByUser) {
    Show(4, 60);
    std::vector<std::tuple<int, int, int, int, bool>> Seen;
    Grid->OnTopLeftChanged = [&](TObject*, int OC, int OR, int NC, int NR, bool ByUser) {
        Seen.emplace_back(OC, OR, NC, NR, ByUser);
    };
    Press(Qt::Key_PageDown);
    ASSERT_EQ(Seen.size(), 1u);
    EXPECT_EQ(std::get<1>(Seen[0]), 1);
    EXPECT_EQ(std::get<3>(Seen[0]), Grid->TopRow());
    EXPECT_GT(Grid->TopRow(), 1);
    EXPECT_TRUE(std::get<4>(Seen[0]));
    Seen.clear();
    Grid->SetTopRow(1);
    ASSERT_EQ(Seen.size(), 1u);
    EXPECT_FALSE(std::get<4>(Seen[0]));
}

TEST_F(FocusFrameAndSizes, ScrollBarPageReportsTheTopLeftChangeByUser) {
    Show(4, 60);
    std::vector<bool> ByUsers;
    Grid->OnTopLeftChanged = [&](TObject*, int, int, int, int, bool ByUser) {
        ByUsers.push_back(ByUser);
    };
    Grid->Perform(WM_VSCROLL, SB_PAGEDOWN, 0);
    QApplication::processEvents();
    ASSERT_EQ(ByUsers.size(), 1u);
    EXPECT_TRUE(ByUsers[0]);
}

TEST_F(FocusFrameAndSizes, VisibleCountsAreZeroWithoutAWindow) {
    EnsureQtApplication();
    TgxGrid G(nullptr);
    G.SetGridColCount(5);
    G.SetGridRowCount(5);
    ASSERT_FALSE(G.HandleAllocated());
    EXPECT_EQ(G.LastVisibleCol(1), 0);
    EXPECT_EQ(G.LastVisibleRow(1), 0);
    EXPECT_EQ(G.CompVisibleCols(1), 0);
    EXPECT_EQ(G.CompVisibleRows(1), 0);
    EXPECT_EQ(G.PrevVisibleCols(), 0);
    EXPECT_EQ(G.VisibleScrollRows(), 0);
    EXPECT_EQ(G.VisibleScrollCols(), 0);
    EXPECT_EQ(G.PrevScrollRows(), 0);
    EXPECT_EQ(G.PrevScrollCols(), 0);
}

// ---------------------------------------------------------------------------
// Row and cell accessors

TEST_F(FocusFrameAndSizes, RowColourBackToNoneLeavesNoRowObject) {
    Show(4, 5);
    Grid->SetRowColor(2, clNone);
    EXPECT_EQ(Grid->GetRow(2), nullptr);
    Grid->SetRowColor(2, clRed);
    ASSERT_NE(Grid->GetRow(2), nullptr);
    EXPECT_EQ(Grid->GetRowColor(2), clRed);
    Grid->SetRowColor(2, clNone);
    EXPECT_EQ(Grid->GetRow(2), nullptr);
}

TEST_F(FocusFrameAndSizes, UnknownFieldNameRaisesWithTheGridName) {
    Show(4, 5);
    try {
        Grid->GetCol(Variant(std::string("Nope")));
        ADD_FAILURE() << "no error";
    } catch (const Exception& E) {
        EXPECT_EQ(AnsiString(E.Message), AnsiString("Grid1: Unknown field name 'Nope'"));
    }
}

TEST_F(FocusFrameAndSizes, MovingARowByProgramReportsAndRepaints) {
    Show(4, 8);
    Grid->SetStoreData(true);
    for (int R = 1; R <= 8; ++R)
        Grid->SetCellValue(1, R, Variant(std::string("R") + std::to_string(R)));
    Grid->SetCurrentCell(1, Grid->GetDisplayRow(2));
    PaintAll();
    std::vector<std::tuple<int, int, bool>> Moved;
    Grid->OnRowMoved = [&](TObject*, int To, int Count, bool ByUser) {
        Moved.emplace_back(To, Count, ByUser);
    };
    Grid->SetDisplayRownr(2, 2);
    Grid->SetDisplayRownr(2, 99);
    EXPECT_TRUE(Moved.empty());
    Grid->SetDisplayRownr(2, 5);
    ASSERT_EQ(Moved.size(), 1u);
    EXPECT_EQ(Moved[0], std::make_tuple(5, 1, false));
    EXPECT_EQ(Grid->GetDisplayRow(2), 5);
    EXPECT_EQ(Grid->GetDataRow(5), 2);
    EXPECT_EQ(Grid->GetCurrentDataRow(), 2);
    EXPECT_EQ(Grid->Row(), 5);
    Flush();
    const auto Seen = Shot();
    PaintAll();
    EXPECT_TRUE(Seen == Shot());
}

} // namespace
