// Taking over another grid's state, whole or by groups, and setting groups
// and single properties back to their defaults.
#include "ShownGridFixture.h"
#include "grid/foundation/CellStore.h"
#include "grid/model/Columns.h"
#include "grid/model/Rows.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/Variant.h"

#include <QApplication>
#include <QImage>
#include <QWidget>

#include <tuple>
#include <vector>

using namespace grid;

namespace {

class GridTransferReading : public ShownGridFixture {
protected:
    void SetUp() override {
        ShowGrid(4, 4);
        Source = new TgxGrid(Form);
        Source->SetParent(Form);
        Source->SetBounds(0, 310, 400, 80);
        Source->SetGridColCount(4);
        Source->SetGridRowCount(4);
    }
    static void Fill(TgxBaseGrid& G, int Cols, int Rows) {
        G.SetStoreData(true);
        for (int C = 1; C <= Cols; ++C)
            for (int R = 1; R <= Rows; ++R)
                G.SetCellValue(C, R, Variant("c" + IntToStr(C) + "r" + IntToStr(R)));
    }
    TgxGrid* Source = nullptr;
};

TEST_F(GridTransferReading, AssignTakesTheDisplayOrderAndReportsEachMovedColumn) {
    Source->ChangeDisplayCol(2, 4);
    ASSERT_EQ(Source->GetDisplayCol(2), 4);
    std::vector<std::tuple<int, int, bool>> Moves;
    Grid->OnColMoved = [&](TObject*, int To, int Count, bool ByUser) {
        Moves.emplace_back(To, Count, ByUser);
    };
    Grid->Assign(Source);
    for (int C = 1; C <= 4; ++C) EXPECT_EQ(Grid->GetDataCol(C), Source->GetDataCol(C)) << C;
    const std::vector<std::tuple<int, int, bool>> Want = {
        {4, 1, false}, {2, 1, false}, {3, 1, false}};
    EXPECT_EQ(Moves, Want);
}

TEST_F(GridTransferReading, AssignFromAnythingElseRaisesAndChangesNothing) {
    TFont Font;
    Grid->SetSelectionColor(clRed);
    EXPECT_THROW(Grid->Assign(&Font), EConvertError);
    EXPECT_EQ(Grid->SelectionColor(), clRed);
    EXPECT_TRUE(Grid->GetEnablePaint());
    // A group that cannot be copied leaves no deferred painting behind.
    Source->SetGridColCount(6);
    EXPECT_THROW(Grid->AssignColProperties(Source), Exception);
    EXPECT_FALSE(Grid->GetFastAssign());
    EXPECT_TRUE(Grid->GetEnablePaint());
}

TEST_F(GridTransferReading, GroupsCopyOnlyTheirOwnCounts) {
    Source->SetGridColCount(6);
    Source->SetGridRowCount(9);
    Source->SetDefaultRowHeight(31);
    Source->SetDefaultColWidth(77);
    Source->SetSelectionColor(clLime);
    struct Case {
        TgxPropKinds Kinds;
        int Cols, Rows, RowHeight, ColWidth;
        TColor Selection;
    };
    const int W = Grid->DefaultColWidth(), H = Grid->GridDefaultRowHeight();
    const TColor Sel = Grid->SelectionColor();
    const std::vector<Case> Cases = {
        {TgxPropKinds{pkRows}, 4, 9, 31, W, Sel},
        {TgxPropKinds{pkCols}, 6, 4, H, 77, Sel},
        {TgxPropKinds{pkGrid}, 4, 4, H, W, clLime},
        {TgxPropKinds{pkCells}, 6, 9, H, W, Sel},
        {TgxPropKinds{pkGrid, pkRows}, 4, 9, 31, W, clLime},
    };
    for (const Case& C : Cases) {
        auto* Target = new TgxGrid(Form);
        Target->SetParent(Form);
        Target->SetGridColCount(4);
        Target->SetGridRowCount(4);
        Target->AssignPropKinds(Source, C.Kinds, false);
        EXPECT_EQ(Target->GetGridColCount(), C.Cols);
        EXPECT_EQ(Target->GetGridRowCount(), C.Rows);
        EXPECT_EQ(Target->GridDefaultRowHeight(), C.RowHeight);
        EXPECT_EQ(Target->DefaultColWidth(), C.ColWidth);
        EXPECT_EQ(Target->SelectionColor(), C.Selection);
        EXPECT_EQ(Target->Top(), 0);
        EXPECT_TRUE(Target->GetEnablePaint());
        delete Target;
    }
}

TEST_F(GridTransferReading, PropertiesLeaveTheExcludedNamesAndThePlace) {
    Source->SetSelectionColor(clLime);
    Source->SetFocusColor(clYellow);
    Source->SetDefaultRowHeight(33);
    Grid->AssignProperties(Source, "selectioncolor;DefaultRowHeight");
    EXPECT_EQ(Grid->FocusColor(), clYellow);
    EXPECT_NE(Grid->SelectionColor(), clLime);
    EXPECT_NE(Grid->GridDefaultRowHeight(), 33);
    EXPECT_EQ(Grid->Top(), 0);
    EXPECT_EQ(Grid->Height(), 300);
    Grid->AssignProperties(Source, "");
    EXPECT_EQ(Grid->SelectionColor(), clLime);
    EXPECT_EQ(Grid->GridDefaultRowHeight(), 33);
}

TEST_F(GridTransferReading, SelectionsFollowAndTheStatusIsRecomputed) {
    Source->SetRowSelectMode(rsMulti);
    Source->SelectRows(2, 3, true);
    std::vector<TgxSelectType> Changes;
    Grid->OnSelectChanged = [&](TObject*, TgxSelectType T, bool) { Changes.push_back(T); };
    Grid->AssignPropKinds(Source, TgxPropKinds{pkRows}, false);
    EXPECT_EQ(Grid->GridStatus(), grRowSelect);
    EXPECT_EQ(Changes, std::vector<TgxSelectType>({stRowSelect}));
    EXPECT_EQ(Grid->NumberOfRowsSelected(1, 4), 2);

    Source->SelectRows(2, 3, false);
    Grid->AssignSelections(Source, TgxPropKinds{pkRows});
    EXPECT_EQ(Grid->GridStatus(), grNormal);
    EXPECT_EQ(Grid->NumberOfRowsSelected(1, 4), 0);
}

TEST_F(GridTransferReading, RowObjectsAndChangedRowsFollowTheSource) {
    Source->SetRowHeight(2, 40);
    Grid->SetRowHeight(3, 50);
    Source->SetRowChanged(4, true);
    Source->ChangeDisplayRow(1, 3);
    std::vector<int> Moved;
    Grid->OnRowMoved = [&](TObject*, int To, int, bool) { Moved.push_back(To); };
    Grid->AssignPropKinds(Source, TgxPropKinds{pkRows}, false);
    EXPECT_EQ(Grid->GetRowHeight(2), 40);
    EXPECT_EQ(Grid->GetRowHeight(3), Grid->GridDefaultRowHeight());
    EXPECT_EQ(Grid->GetRow(3), nullptr);
    EXPECT_EQ(Grid->RowHeights(Grid->GetDisplayRow(2)), 40);
    EXPECT_TRUE(Grid->GetRowChanged(4));
    for (int R = 1; R <= 4; ++R) EXPECT_EQ(Grid->GetDataRow(R), Source->GetDataRow(R)) << R;
    EXPECT_EQ(Moved.size(), 3u);
}

TEST_F(GridTransferReading, CopyDataDropsWhatLiesBeyondTheCounts) {
    Source->SetGridColCount(6);
    Source->SetGridRowCount(7);
    Fill(*Source, 6, 7);
    Grid->SetStoreData(true);
    Grid->SetGridColCount(2);
    Grid->SetGridRowCount(3);
    Grid->CopyData(Source);
    Tgx2DStorage* Store = Grid->DataStore();
    EXPECT_EQ(Store->MaxRowSet(), 3);
    for (int R = 1; R <= 3; ++R) EXPECT_LE(Store->MaxColValueSet(R), 2) << R;
    EXPECT_EQ(Grid->GetCellValue(2, 3), Variant(AnsiString("c2r3")));

    Grid->SetCellValue(1, 1, Variant(AnsiString("own")));
    Grid->CopyData(Grid);
    EXPECT_EQ(Grid->GetCellValue(1, 1), Variant(AnsiString("own")));
}

// A grid in design mode copies to the display positions the source shows,
// at run time by data number.
TEST_F(GridTransferReading, DesignModeCopiesCellsByDisplayPosition) {
    Fill(*Source, 4, 4);
    Source->SetCellColor(2, 1, clRed);
    Source->ChangeDisplayCol(2, 4);
    Source->ChangeDisplayRow(1, 2);
    for (const bool Design : {false, true}) {
        auto* Target = new TgxGrid(Form);
        Target->SetParent(Form);
        Target->SetGridColCount(4);
        Target->SetGridRowCount(4);
        Target->SetInDesignMode(Design);
        Target->AssignPropKinds(Source, TgxPropKinds{pkCells}, true);
        const int C = Design ? 4 : 2, R = Design ? 2 : 1;
        EXPECT_EQ(Target->GetCellColor(C, R), clRed) << Design;
        EXPECT_EQ(Target->GetCellValue(C, R), Variant(AnsiString("c2r1"))) << Design;
        delete Target;
    }
}

TEST_F(GridTransferReading, ResetPropKindsGivesBackANewGridsSettings) {
    const TColor Sel = Grid->SelectionColor();
    const int W = Grid->DefaultColWidth();
    Grid->SetSelectionColor(clLime);
    Grid->SetDefaultColWidth(90);
    Grid->GridCols()->Item(2)->SetWidth(120);
    Grid->SetRowHeight(2, 44);
    Fill(*Grid, 4, 4);
    Grid->ResetPropKinds(TgxPropKinds{pkGrid, pkCols});
    EXPECT_EQ(Grid->SelectionColor(), Sel);
    EXPECT_EQ(Grid->DefaultColWidth(), W);
    EXPECT_EQ(Grid->ColWidths(2), W);
    EXPECT_EQ(Grid->GetRowHeight(2), 44);
    EXPECT_EQ(Grid->GetGridColCount(), 4);
    EXPECT_EQ(Grid->GetCellValue(3, 3), Variant(AnsiString("c3r3")));
}

TEST_F(GridTransferReading, ResetSinglePropertiesOfColumnsRowsAndCells) {
    Grid->SetResizeCols(rcAll);
    Grid->SetResizeRows(rrAll);
    Grid->SetColSelectMode(csMulti);
    Grid->SelectCols(1, 2, true);
    Grid->SetRowHeight(2, 44);
    Grid->SetRowColor(3, clRed);
    Grid->SetCellColor(1, 1, clBlue);
    Grid->ResetColProperties(TgxProperties{});
    EXPECT_EQ(Grid->GridStatus(), grColSelect);
    Grid->ResetColProperties(TgxProperties{prSelected});
    EXPECT_EQ(Grid->GridStatus(), grNormal);

    Grid->ResetRowProperties(TgxProperties{prColor});
    EXPECT_EQ(Grid->GetRowColor(3), clNone);
    EXPECT_EQ(Grid->GetRow(3), nullptr);
    Grid->ResetRowProperties(TgxProperties{prHeight});
    EXPECT_EQ(Grid->RowHeights(2), Grid->RowHeights(1));
    Grid->ResetCellProperties(TgxProperties{prColor});
    EXPECT_EQ(Grid->GetCellColor(1, 1), clNone);
    EXPECT_TRUE(Grid->GetEnablePaint());
}

TEST_F(GridTransferReading, AssignTakesOverTheDesignModeAnswer) {
    Source->SetInDesignMode(true);
    ASSERT_FALSE(Grid->GetInDesignMode());
    Grid->Assign(Source);
    EXPECT_TRUE(Grid->GetInDesignMode());
}

TEST_F(GridTransferReading, ResetRowsGivesBackOrderAndChangedFlags) {
    Grid->ChangeDisplayRow(1, 3);
    Grid->SetRowChanged(2, true);
    Grid->SetRowColor(4, clRed);
    Grid->ResetRowProperties(TgxProperties{prDisplayNumber, prChanged});
    for (int R = 1; R <= 4; ++R) {
        EXPECT_EQ(Grid->GetDisplayRow(R), R) << R;
        EXPECT_FALSE(Grid->GetRowChanged(R)) << R;
    }
    EXPECT_EQ(Grid->GetRowColor(4), clRed);
}

TEST_F(GridTransferReading, ResetCellSelectionIsAnnounced) {
    Grid->SetCellSelectMode(cmRange);
    Grid->SelectCells(1, 1, 2, 2);
    ASSERT_EQ(Grid->GridStatus(), grCellSelect);
    Grid->CheckGridStatus();
    EXPECT_EQ(Grid->GridStatus(), grCellSelect);
    Source->SetCellSelectMode(cmRange);
    Source->SelectCells(2, 2, 3, 4);
    auto* Target = new TgxGrid(Form);
    Target->SetParent(Form);
    Target->AssignPropKinds(Source, TgxPropKinds{pkCells}, false);
    EXPECT_EQ(Target->GridStatus(), grCellSelect);
    EXPECT_TRUE(Target->CellPaintSelected(3, 4));
    EXPECT_FALSE(Target->CellPaintSelected(1, 1));
    std::vector<TgxSelectType> Changes;
    Grid->OnSelectChanged = [&](TObject*, TgxSelectType T, bool) { Changes.push_back(T); };
    Grid->ResetCellProperties(TgxProperties{prSelected});
    EXPECT_EQ(Grid->GridStatus(), grNormal);
    EXPECT_EQ(Changes, std::vector<TgxSelectType>({stCellSelect}));
    EXPECT_FALSE(Grid->CellPaintSelected(2, 2));
}

// With uniform column sizing a width reset gives every column the one width.
TEST_F(GridTransferReading, WidthResetUnderUniformSizing) {
    const int W = Grid->DefaultColWidth();
    Grid->GridCols()->Item(2)->SetWidth(120);
    Grid->SetResizeCols(rcAll);
    Grid->ResetColProperties(TgxProperties{prWidth});
    for (int C = 1; C <= 4; ++C) EXPECT_EQ(Grid->ColWidths(C), W) << C;
}

// Values that no longer fit the copied columns' kinds are dropped; a copy of
// values repaints what it brought.
TEST_F(GridTransferReading, CopiedKindsDropValuesThatNoLongerFit) {
    Fill(*Grid, 4, 4);
    Source->GridCols()->Item(2)->SetControlType(ctPicture);
    Grid->AssignPropKinds(Source, TgxPropKinds{pkCols}, false);
    EXPECT_EQ(VarToStr(Grid->GetCellValue(2, 3)), "");
    EXPECT_EQ(VarToStr(Grid->GetCellValue(3, 3)), "c3r3");

    Source->GridCols()->Item(2)->SetControlType(ctText);
    Fill(*Source, 4, 4);
    Source->SetCellValue(1, 1, Variant(AnsiString("copied")));
    Grid->AssignPropKinds(Source, TgxPropKinds{pkCols}, false);
    QApplication::processEvents();
    Grid->Widget()->grab();
    Grid->CopyData(Source);
    const QImage Now = Grid->Widget()->grab().toImage();
    Grid->Invalidate();
    EXPECT_TRUE(Now == Grid->Widget()->grab().toImage()) << "old values stayed on screen";
    EXPECT_EQ(VarToStr(Grid->GetCellValue(1, 1)), "copied");
}

} // namespace
