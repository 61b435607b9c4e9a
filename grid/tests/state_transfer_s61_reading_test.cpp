// Taking over another grid's state, whole or by groups, and setting groups
// and single properties back to their defaults, seen through the grid's own
// calls.
#include "grid/foundation/CellStore.h"
#include "grid/model/Columns.h"
#include "grid/model/Combo.h"
#include "grid/model/GxGrid.h"
#include "grid/model/Rows.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtApp.h"
#include "platform/gui/tests/GuiTestSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QWidget>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

namespace {

using namespace grid;

// A published grid that records the moves it reports.
class TTransferLogGrid : public TgxGrid {
public:
    using TgxGrid::TgxGrid;
    void DoColMoved(int ToDisplayCol, int Count, bool ByUser) override {
        ColMoves.emplace_back(ToDisplayCol, Count);
        TgxGrid::DoColMoved(ToDisplayCol, Count, ByUser);
    }
    void DoRowMoved(int ToDisplayRow, int Count, bool ByUser) override {
        RowMoves.emplace_back(ToDisplayRow, Count);
        TgxGrid::DoRowMoved(ToDisplayRow, Count, ByUser);
    }
    void DoSelectChanged(TgxSelectType SelectType, bool ByUser) override {
        SelectChanges.push_back(SelectType);
        TgxGrid::DoSelectChanged(SelectType, ByUser);
    }
    std::vector<std::pair<int, int>> ColMoves;
    std::vector<std::pair<int, int>> RowMoves;
    std::vector<TgxSelectType> SelectChanges;
};

class StateTransfer : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        Source = std::make_unique<TTransferLogGrid>(nullptr);
        Source->SetName("Source");
        Target = std::make_unique<TTransferLogGrid>(nullptr);
        Target->SetName("Target");
    }
    static std::vector<int> DisplayOrder(TgxBaseGrid& G) {
        std::vector<int> R;
        for (int D = 1; D <= G.GetGridColCount(); ++D)
            R.push_back(G.GetDataCol(D));
        return R;
    }
    std::unique_ptr<TTransferLogGrid> Source;
    std::unique_ptr<TTransferLogGrid> Target;
};

// ---- Assign and the design-mode answer --------------------------------------------

TEST_F(StateTransfer, AssignTakesOverTheSourcesDesignModeAnswerUnlessAlreadyDesigning) {
    struct Case {
        bool SourceDesign, TargetDesign, Expected;
    };
    for (const Case C : {Case{true, false, true}, Case{false, false, false},
                         Case{false, true, true}, Case{true, true, true}}) {
        SetUp();
        Source->SetInDesignMode(C.SourceDesign);
        Target->SetInDesignMode(C.TargetDesign);
        Target->Assign(Source.get());
        EXPECT_EQ(Target->GetInDesignMode(), C.Expected)
            << C.SourceDesign << " " << C.TargetDesign;
    }
}

TEST_F(StateTransfer, AssignFromAnotherKindOfObjectRaisesAndChangesNothing) {
    TgxCol Col(Source.get(), 1);
    Target->SetGridColCount(6);
    EXPECT_ANY_THROW(Target->Assign(&Col));
    EXPECT_EQ(Target->GetGridColCount(), 6);
}

TEST_F(StateTransfer, AssignOfAMovedColumnCopiesTheOrderAndReportsEachShiftedColumn) {
    Source->SetGridColCount(5);
    Target->SetGridColCount(5);
    Source->GetCol(2)->SetDisplayCol(4);
    ASSERT_EQ(DisplayOrder(*Source), (std::vector<int>{1, 3, 4, 2, 5}));
    Target->Assign(Source.get());
    EXPECT_EQ(DisplayOrder(*Target), (std::vector<int>{1, 3, 4, 2, 5}));
    // Data columns 2, 3 and 4 now stand at 4, 2 and 3: each reported once.
    EXPECT_EQ(Target->ColMoves,
              (std::vector<std::pair<int, int>>{{4, 1}, {2, 1}, {3, 1}}));
    for (int D = 1; D <= 5; ++D)
        EXPECT_EQ(Target->GetCol(Target->GetDataCol(D))->DisplayCol(), D);
}

TEST_F(StateTransfer, AssignOfAMovedRowCopiesTheOrderAndReportsEachShiftedRow) {
    Source->SetGridRowCount(5);
    Target->SetGridRowCount(5);
    Source->ChangeDisplayRow(2, 4);
    ASSERT_EQ(Source->GetDataRow(4), 2);
    Target->Assign(Source.get());
    for (int D = 1; D <= 5; ++D)
        EXPECT_EQ(Target->GetDataRow(D), Source->GetDataRow(D)) << D;
    EXPECT_EQ(Target->RowMoves.size(), 3u);
}

// ---- the grid level ----------------------------------------------------------------

TEST_F(StateTransfer, AssignPropertiesSkipsTheListedAndTheFixedNamesInAnyCase) {
    Source->SetLineColor(clRed);
    Source->SetEditColor(clBlue);
    Source->SetSkipReadOnly(true);
    Source->SetDefaultColWidth(40);
    Source->SetDefaultRowHeight(30);
    Source->SetBounds(5, 6, 321, 123);
    Source->Constraints()->SetMaxWidth(900);
    Target->SetBounds(1, 2, 200, 100);
    Target->AssignProperties(Source.get(), "LINECOLOR;defaultRowHeight;Constraints");
    EXPECT_EQ(Target->LineColor(), TgxBaseGrid(nullptr).LineColor());
    EXPECT_EQ(Target->EditColor(), clBlue);
    EXPECT_TRUE(Target->SkipReadOnly());
    EXPECT_EQ(Target->DefaultColWidth(), 40);
    EXPECT_NE(Target->DefaultRowHeight(), 30);
    EXPECT_EQ(Target->Constraints()->MaxWidth(), 0);
    EXPECT_EQ(Target->Left(), 1);
    EXPECT_EQ(Target->Top(), 2);
    EXPECT_EQ(Target->Width(), 200);
    EXPECT_EQ(Target->Height(), 100);
    EXPECT_EQ(Target->Name(), "Target");

    Source->SetVisible(false);
    Target->AssignProperties(Source.get(), "");
    EXPECT_TRUE(Target->Visible());
    EXPECT_EQ(Target->LineColor(), clRed);
    EXPECT_EQ(Target->DefaultRowHeight(), 30);
    EXPECT_EQ(Target->Constraints()->MaxWidth(), 900);
    EXPECT_EQ(Target->Width(), 200);
}

TEST_F(StateTransfer, EachGroupCopiesOnlyTheCountsAndDefaultSizesItOwns) {
    struct Case {
        TgxPropKinds Kinds;
        int Cols, Rows, ColWidth, RowHeight;
    };
    // Source: 7 x 9, default sizes 40 and 30; target: 4 x 4, 64 and 14...
    for (const Case C : {Case{{pkGrid}, 3, 5, 64, 20},
                         Case{{pkGrid, pkCols}, 7, 5, 40, 20},
                         Case{{pkRows}, 3, 9, 64, 30},
                         Case{{pkCols}, 7, 5, 40, 20},
                         Case{{pkCells}, 7, 9, 64, 20}}) {
        SetUp();
        Source->SetGridColCount(7);
        Source->SetGridRowCount(9);
        Source->SetDefaultColWidth(40);
        Source->SetDefaultRowHeight(30);
        Target->SetGridColCount(3);
        Target->SetGridRowCount(5);
        Target->SetDefaultRowHeight(20);
        Target->AssignPropKinds(Source.get(), C.Kinds, false);
        EXPECT_EQ(Target->GetGridColCount(), C.Cols);
        EXPECT_EQ(Target->GetGridRowCount(), C.Rows);
        EXPECT_EQ(Target->DefaultColWidth(), C.ColWidth);
        EXPECT_EQ(Target->DefaultRowHeight(), C.RowHeight);
    }
}

TEST_F(StateTransfer, CellsGroupNeverShrinksTheCounts) {
    Source->SetGridColCount(2);
    Source->SetGridRowCount(2);
    Target->SetGridColCount(6);
    Target->SetGridRowCount(8);
    Target->AssignPropKinds(Source.get(), {pkCells}, false);
    EXPECT_EQ(Target->GetGridColCount(), 6);
    EXPECT_EQ(Target->GetGridRowCount(), 8);
}

// ---- columns and rows --------------------------------------------------------------

TEST_F(StateTransfer, ColumnsTakeTheSourcesLookAndHiddenColumnsAreZeroWide) {
    Source->SetGridColCount(4);
    Target->SetGridColCount(4);
    Source->GetCol(2)->SetColor(clYellow);
    Source->GetCol(3)->SetVisible(false);
    Target->AssignPropKinds(Source.get(), {pkCols}, false);
    EXPECT_EQ(Target->GetCol(2)->Color(), clYellow);
    EXPECT_FALSE(Target->GetCol(3)->Visible());
    EXPECT_EQ(Target->ColWidths(Target->GetDisplayCol(3)), 0);
    EXPECT_EQ(Target->ColWidths(Target->GetDisplayCol(2)), Target->GetCol(2)->Width());
}

TEST_F(StateTransfer, RowObjectsFollowTheSourceAndDefaultRowsLoseTheirObjects) {
    Source->SetGridRowCount(5);
    Target->SetGridRowCount(5);
    Source->SetRowColor(2, clGreen);
    Source->SetRowVisible(4, false);
    Target->SetRowColor(3, clRed);
    ASSERT_NE(Target->GetRow(3), nullptr);
    Target->AssignPropKinds(Source.get(), {pkRows}, false);
    EXPECT_EQ(Target->GetRowColor(2), clGreen);
    EXPECT_EQ(Target->GetRowColor(3), clNone);
    EXPECT_EQ(Target->GetRow(3), nullptr);
    EXPECT_EQ(Target->GetRow(1), nullptr);
    EXPECT_FALSE(Target->GetRowVisible(4));
    EXPECT_EQ(Target->RowHeights(Target->GetDisplayRow(4)), 0);
    EXPECT_EQ(Source->GetRow(3), nullptr) << "copying leaves the source as it was";
}

TEST_F(StateTransfer, ChangedRowsAreCopiedOutsideDesignModeOnly) {
    for (const bool Design : {false, true}) {
        SetUp();
        Source->SetGridRowCount(6);
        Target->SetGridRowCount(6);
        Source->SetRowChanged(2, true);
        Source->SetRowChanged(5, true);
        Target->SetRowChanged(3, true);
        Target->SetInDesignMode(Design);
        Target->AssignChangedRows(Source.get());
        for (int R = 1; R <= 6; ++R)
            EXPECT_EQ(Target->GetRowChanged(R), Design ? R == 3 : (R == 2 || R == 5))
                << Design << " row " << R;
    }
}

// ---- cells and values: by data number, or by display position in design mode -------

TEST_F(StateTransfer, CellPropertiesAndValuesGoByDataNumberOrByDisplayPositionInDesignMode) {
    for (const bool Design : {false, true}) {
        SetUp();
        Source->SetGridColCount(4);
        Source->SetGridRowCount(4);
        Target->SetGridColCount(4);
        Target->SetGridRowCount(4);
        Source->SetStoreData(true);
        Source->SetCellColor(2, 3, clAqua);
        Source->SetCellValue(2, 3, Variant(AnsiString("two-three")));
        Source->GetCol(2)->SetDisplayCol(4); // data column 2 shows at 4
        Source->ChangeDisplayRow(3, 1);      // data row 3 shows at 1
        Target->SetInDesignMode(Design);
        Target->AssignPropKinds(Source.get(), {pkCells}, true);
        const int C = Design ? 4 : 2;
        const int R = Design ? 1 : 3;
        EXPECT_EQ(Target->GetCellColor(C, R), clAqua) << Design;
        EXPECT_EQ(Target->GetCellValue(C, R).AsString(), "two-three") << Design;
        if (Design) {
            EXPECT_EQ(Target->GetCellColor(2, 3), clNone);
            EXPECT_TRUE(Target->GetCellValue(2, 3).AsString().empty());
        }
    }
}

TEST_F(StateTransfer, WithoutDataTheKeptValuesAreCheckedAgainstTheNewCellTypes) {
    struct Case {
        TgxPropKind Kind;
        void (*MakePicture)(TgxBaseGrid&); // makes cell (2, 1) a picture cell
    };
    for (const Case C :
         {Case{pkCols, [](TgxBaseGrid& G) { G.GetCol(2)->SetControlType(ctPicture); }},
          Case{pkRows, [](TgxBaseGrid& G) { G.SetRowControlType(1, ctPicture); }},
          Case{pkCells, [](TgxBaseGrid& G) { G.SetCellControlType(2, 1, ctPicture); }}}) {
        SetUp();
        Source->SetGridColCount(3);
        Target->SetGridColCount(3);
        Target->SetStoreData(true);
        Target->SetCellValue(1, 2, Variant(AnsiString("keep")));
        Target->SetCellValue(2, 1, Variant(AnsiString("drop")));
        C.MakePicture(*Source);
        Target->AssignPropKinds(Source.get(), {C.Kind}, false);
        EXPECT_TRUE(Target->StoreData());
        EXPECT_EQ(Target->GetCellValue(1, 2).AsString(), "keep");
        EXPECT_TRUE(Target->GetCellValue(2, 1).AsString().empty())
            << static_cast<int>(C.Kind);
    }
}

TEST_F(StateTransfer, GridDataFollowsTheSourcesStoreDataSwitch) {
    Target->SetStoreData(true);
    Target->SetCellValue(1, 1, Variant(AnsiString("x")));
    Target->AssignGridData(Source.get());
    EXPECT_FALSE(Target->StoreData());
    EXPECT_EQ(Target->DataStore(), nullptr);
}

TEST_F(StateTransfer, CopyDataDropsStoredRowsAndColumnsBeyondTheTargetsCounts) {
    Source->SetGridColCount(5);
    Source->SetGridRowCount(6);
    Source->SetStoreData(true);
    for (int C = 1; C <= 5; ++C)
        for (int R = 1; R <= 6; ++R)
            Source->SetCellValue(C, R, Variant(AnsiString("v")));
    Target->SetGridColCount(3);
    Target->SetGridRowCount(4);
    Target->SetStoreData(true);
    Target->CopyData(Source.get());
    EXPECT_EQ(Target->GetCellValue(3, 4).AsString(), "v");
    EXPECT_EQ(Target->DataStore()->MaxRowSet(), 4);
    for (int R = 1; R <= 4; ++R)
        EXPECT_EQ(Target->DataStore()->MaxColValueSet(R), 3) << R;
    EXPECT_EQ(Target->GetGridColCount(), 3);
    EXPECT_EQ(Target->GetGridRowCount(), 4);
}

TEST_F(StateTransfer, CopyDataFromItselfKeepsEveryValue) {
    Target->SetStoreData(true);
    Target->SetCellValue(2, 2, Variant(AnsiString("mine")));
    Target->CopyData(Target.get());
    EXPECT_EQ(Target->GetCellValue(2, 2).AsString(), "mine");
}

// ---- selections and the grid status ------------------------------------------------

TEST_F(StateTransfer, SelectionsAreCopiedByKindAndTheStatusFollows) {
    struct Case {
        TgxPropKinds Kinds;
        bool Design;
        TgxGridStatus Status;
    };
    for (const Case C : {Case{{pkCols}, false, grColSelect}, Case{{pkRows}, false, grNormal},
                         Case{{pkCols}, true, grNormal}}) {
        SetUp();
        Source->SelectCols(2, 3, true);
        ASSERT_EQ(Source->GridStatus(), grColSelect);
        Target->SetInDesignMode(C.Design);
        Target->AssignSelections(Source.get(), C.Kinds);
        EXPECT_EQ(Target->GridStatus(), C.Status);
        EXPECT_EQ(Target->ColSelection().Count(), C.Status == grColSelect ? 2 : 0);
    }
    SetUp();
    Source->SelectRows(1, 2, true);
    Target->AssignSelections(Source.get(), {pkRows});
    EXPECT_EQ(Target->GridStatus(), grRowSelect);
    EXPECT_TRUE(Target->GetRowSelected(2));
    SetUp();
    Source->SelectCells(1, 1, 2, 2);
    Target->AssignSelections(Source.get(), {pkCells});
    EXPECT_EQ(Target->GridStatus(), grCellSelect);
    EXPECT_EQ(Target->SelectedRange(), Source->SelectedRange());
}

TEST_F(StateTransfer, ColumnsAndRowsInDesignModeTakeTheSourceAtTheSameDisplayPosition) {
    Source->SetGridColCount(4);
    Source->SetGridRowCount(4);
    Target->SetGridColCount(4);
    Target->SetGridRowCount(4);
    Source->GetCol(2)->SetColor(clYellow);
    Source->GetCol(2)->SetDisplayCol(4);
    Source->SetRowColor(1, clLime);
    Source->ChangeDisplayRow(1, 3);
    Target->SetInDesignMode(true);
    Target->AssignPropKinds(Source.get(), {pkCols, pkRows}, false);
    EXPECT_EQ(Target->GetCol(4)->Color(), clYellow);
    EXPECT_EQ(Target->GetCol(2)->Color(), clNone);
    EXPECT_EQ(Target->GetRowColor(3), clLime);
    EXPECT_EQ(Target->GetRowColor(1), clNone);
    EXPECT_EQ(DisplayOrder(*Target), (std::vector<int>{1, 2, 3, 4}));
    for (int D = 1; D <= 4; ++D)
        EXPECT_EQ(Target->GetDataRow(D), D);
    EXPECT_TRUE(Target->ColMoves.empty());
    EXPECT_TRUE(Target->RowMoves.empty());
}

TEST_F(StateTransfer, SingleGroupCopiesBetweenGridsOfOtherCountsStayInsideBothGrids) {
    Source->SetGridColCount(6);
    Source->SetGridRowCount(7);
    Source->GetCol(6)->SetColor(clRed);
    Source->SetRowColor(7, clRed);
    Source->SetRowColor(2, clGreen);
    Target->SetGridColCount(3);
    Target->SetGridRowCount(3);
    try {
        Target->AssignColProperties(Source.get());
    } catch (const EInvalidGridOperation&) {
    }
    Target->AssignRowProperties(Source.get());
    EXPECT_EQ(Target->GetGridColCount(), 3);
    EXPECT_EQ(Target->GetGridRowCount(), 3);
    EXPECT_EQ(Target->GetRowColor(2), clGreen);
    EXPECT_FALSE(Target->GetFastAssign());
}

TEST_F(StateTransfer, TakingOverASmallerGridKeepsTheCurrentCellInside) {
    Target->SetGridColCount(6);
    Target->SetGridRowCount(6);
    Target->SetCurrentCell(5, 6);
    Source->SetGridColCount(2);
    Source->SetGridRowCount(3);
    Target->AssignPropKinds(Source.get(), {pkCols, pkRows}, false);
    EXPECT_LE(Target->Col(), 2);
    EXPECT_LE(Target->Row(), 3);
    EXPECT_GE(Target->Col(), 1);
    EXPECT_GE(Target->Row(), 1);
    EXPECT_FALSE(Target->GetFastAssign());
}

TEST_F(StateTransfer, CheckGridStatusReadsTheSelections) {
    struct Case {
        bool Col, Row;
        TRect Range;
        TgxGridStatus Status;
    };
    for (const Case C : {Case{true, true, TRect{1, 1, 2, 2}, grColSelect},
                         Case{false, true, TRect{1, 1, 2, 2}, grRowSelect},
                         Case{false, false, TRect{1, 1, 2, 2}, grCellSelect},
                         Case{false, false, TRect(), grNormal}}) {
        SetUp();
        Source->SelectCells(C.Range.Left, C.Range.Top, C.Range.Right, C.Range.Bottom);
        if (C.Range == TRect())
            Source->ResetSelection();
        Target->AssignSelections(Source.get(), {pkCells});
        Target->ColSelection().SetSize(5);
        Target->RowSelection().SetSize(5);
        Target->ColSelection().SetSelected(2, C.Col);
        Target->RowSelection().SetSelected(3, C.Row);
        Target->CheckGridStatus();
        EXPECT_EQ(Target->GridStatus(), C.Status) << C.Col << C.Row;
    }
}

TEST_F(StateTransfer, EachSelectionKindThatChangesIsAnnouncedOnce) {
    Source->SelectRows(2, 3, true);
    Target->AssignSelections(Source.get(), {pkCols, pkRows, pkCells});
    EXPECT_EQ(std::count(Target->SelectChanges.begin(), Target->SelectChanges.end(),
                         stRowSelect),
              1);
    EXPECT_EQ(std::count(Target->SelectChanges.begin(), Target->SelectChanges.end(),
                         stColSelect),
              0);
    Target->SelectChanges.clear();
    Target->AssignSelections(Source.get(), {pkRows});
    EXPECT_TRUE(Target->SelectChanges.empty()) << "nothing changed the second time";
}

TEST_F(StateTransfer, ResettingOneGroupLeavesTheValuesAndTheGridsPlace) {
    Target->SetBounds(3, 4, 250, 150);
    Target->SetStoreData(true);
    Target->SetCellValue(1, 1, Variant(AnsiString("kept")));
    Target->GetCol(1)->SetColor(clRed);
    Target->ResetPropKinds({pkCols});
    EXPECT_EQ(Target->GetCol(1)->Color(), clNone);
    EXPECT_EQ(Target->Name(), "Target");
    EXPECT_EQ(Target->Width(), 250);
    EXPECT_EQ(Target->Left(), 3);
    EXPECT_TRUE(Target->StoreData());
    EXPECT_EQ(Target->GetCellValue(1, 1).AsString(), "kept");
}

TEST_F(StateTransfer, ResetCellSelectionIsAnnounced) {
    Target->SelectCells(1, 1, 2, 2);
    Target->SelectChanges.clear();
    Target->ResetCellProperties({prSelected});
    EXPECT_EQ(std::count(Target->SelectChanges.begin(), Target->SelectChanges.end(),
                         stCellSelect),
              1);
    EXPECT_EQ(Target->SelectedRange(), TRect());
}

// ---- resets ------------------------------------------------------------------------

TEST_F(StateTransfer, ResetPropKindsBringsBackTheDefaultsOfANewGrid) {
    const TgxGrid Fresh(nullptr);
    Target->SetGridColCount(7);
    Target->SetLineColor(clRed);
    Target->GetCol(2)->SetColor(clRed);
    Target->SetRowColor(2, clRed);
    Target->SetCellColor(1, 1, clRed);
    Target->ResetPropKinds({pkCols, pkRows, pkCells});
    EXPECT_EQ(Target->LineColor(), clRed);
    EXPECT_EQ(Target->GetCol(2)->Color(), clNone);
    EXPECT_EQ(Target->GetRow(2), nullptr);
    EXPECT_EQ(Target->GetCellColor(1, 1), clNone);
    Target->ResetPropKinds({pkGrid});
    EXPECT_EQ(Target->LineColor(), Fresh.LineColor());
    EXPECT_EQ(Target->GetGridColCount(), Fresh.GetGridColCount());
}

TEST_F(StateTransfer, ResettingColumnWidthsWithUniformResizingGivesEveryColumnOneWidth) {
    Target->SetGridColCount(4);
    Target->GetCol(2)->SetWidth(90);
    Target->GetCol(3)->SetWidth(30);
    Target->GetCol(3)->SetColor(clRed);
    Target->SetResizeCols(rcAll);
    Target->ResetColProperties({prWidth, prColor});
    for (int C = 1; C <= 4; ++C) {
        EXPECT_EQ(Target->GetCol(C)->Width(), 64) << C;
        EXPECT_EQ(Target->ColWidths(C), 64) << C;
    }
    EXPECT_EQ(Target->GetCol(3)->Color(), clNone);
}

TEST_F(StateTransfer, ResettingRowHeightsWithUniformResizingGivesEveryRowOneHeight) {
    Target->SetGridRowCount(4);
    Target->SetRowHeight(2, 40);
    Target->SetRowHeight(3, 8);
    Target->SetResizeRows(rrAll);
    Target->ResetRowProperties({prHeight});
    for (int R = 1; R <= 4; ++R) {
        EXPECT_EQ(Target->GetRowHeight(R), 14) << R;
        EXPECT_EQ(Target->RowHeights(R), 14) << R;
    }
}

TEST_F(StateTransfer, ResetRowPropertiesClearsFlagsOrderAndSelectionOfRowsWithoutObjects) {
    Target->SetGridRowCount(5);
    Target->SetRowChanged(2, true);
    Target->ChangeDisplayRow(1, 5);
    Target->SelectRows(3, 4, true);
    Target->ResetRowProperties({prChanged, prDisplayNumber, prSelected});
    for (int R = 1; R <= 5; ++R) {
        EXPECT_FALSE(Target->GetRowChanged(R)) << R;
        EXPECT_EQ(Target->GetDisplayRow(R), R) << R;
        EXPECT_FALSE(Target->GetRowSelected(R)) << R;
        EXPECT_EQ(Target->GetRow(R), nullptr) << R;
    }
}

TEST_F(StateTransfer, ResetColPropertiesDeselectsColumnsOnlyWhenAsked) {
    Target->SelectCols(1, 2, true);
    Target->ResetColProperties({});
    EXPECT_EQ(Target->ColSelection().Count(), 2);
    EXPECT_TRUE(Target->PaintEnabled());
    Target->ResetColProperties({prSelected});
    EXPECT_EQ(Target->ColSelection().Count(), 0);
    EXPECT_TRUE(Target->PaintEnabled());
}

TEST_F(StateTransfer, ResetCellPropertiesEndsACellSelection) {
    Target->SelectCells(1, 1, 2, 2);
    Target->SetCellColor(1, 1, clRed);
    ASSERT_EQ(Target->GridStatus(), grCellSelect);
    Target->ResetCellProperties({prSelected, prColor});
    EXPECT_EQ(Target->GridStatus(), grNormal);
    EXPECT_EQ(Target->GetCellColor(1, 1), clNone);
}


TEST_F(StateTransfer, AListGridKeepsItsOwnRowSelectModeAndGridMode) {
    TgxComboGrid List(nullptr);
    ASSERT_TRUE(List.IsComboGrid());
    List.SetRowSelectMode(rsSingle);
    List.SetGridMode(gmListBox);
    Source->SetRowSelectMode(rsNone);
    Source->SetGridMode(gmBrowse);
    Source->SetLineColor(clRed);
    List.AssignProperties(Source.get(), "");
    EXPECT_EQ(List.RowSelectMode(), rsSingle);
    EXPECT_EQ(List.GridMode(), gmListBox);
    EXPECT_EQ(List.LineColor(), clRed);
    List.SetGridRowCount(4);
    Source->SelectRows(1, 2, true);
    const int Before = List.RowSelection().Count();
    List.AssignSelections(Source.get(), {pkRows});
    EXPECT_EQ(List.RowSelection().Count(), Before) << "a list keeps its own selection";
    EXPECT_FALSE(List.GetRowSelected(2));
    Target->AssignProperties(Source.get(), "");
    EXPECT_EQ(Target->RowSelectMode(), rsNone);
    EXPECT_EQ(Target->GridMode(), gmBrowse);
}

TEST_F(StateTransfer, UniformResetUsesTheGridsDefaultSizes) {
    Target->SetGridColCount(3);
    Target->SetGridRowCount(3);
    Target->SetDefaultColWidth(50);
    Target->SetDefaultRowHeight(22);
    Target->GetCol(2)->SetWidth(90);
    Target->SetRowHeight(2, 40);
    Target->SetResizeCols(rcAll);
    Target->SetResizeRows(rrAll);
    Target->ResetColProperties({prWidth});
    Target->ResetRowProperties({prHeight});
    for (int I = 1; I <= 3; ++I) {
        EXPECT_EQ(Target->ColWidths(I), 50) << I;
        EXPECT_EQ(Target->GetCol(I)->Width(), 50) << I;
        EXPECT_EQ(Target->RowHeights(I), 22) << I;
        EXPECT_EQ(Target->GetRowHeight(I), 22) << I;
    }
}

TEST_F(StateTransfer, SingleResetGivesAColumnItsSetWidthAndDropsDefaultRowObjects) {
    Target->SetGridColCount(3);
    Target->SetGridRowCount(3);
    Target->GetCol(2)->SetWidth(90);
    Target->SetColWidths(2, 33); // as the user's sizing does
    ASSERT_EQ(Target->GetCol(2)->Width(), 33);
    Target->SetResizeRows(rrSingle);
    Target->SetRowColor(1, clRed);
    Target->SetRowColor(2, clRed);
    Target->SetRowHeight(2, 40);
    Target->ResetColProperties({prWidth});
    Target->ResetRowProperties({prColor});
    EXPECT_EQ(Target->GetCol(2)->Width(), 90);
    EXPECT_EQ(Target->ColWidths(2), 90);
    EXPECT_EQ(Target->GetRow(1), nullptr);
    ASSERT_NE(Target->GetRow(2), nullptr);
    EXPECT_EQ(Target->GetRowHeight(2), 40);
}

TEST_F(StateTransfer, DesignModeValuesGrowTheStoreToTheSourcesDisplayPositions) {
    Source->SetGridColCount(6);
    Source->SetGridRowCount(6);
    Source->SetStoreData(true);
    Source->SetCellValue(1, 1, Variant(AnsiString("a")));
    Source->SetCellValue(2, 2, Variant(5));
    Source->ChangeDisplayRow(1, 6); // data row 1 shows last
    Source->GetCol(1)->SetDisplayCol(6);
    Target->SetGridColCount(6);
    Target->SetGridRowCount(6);
    Target->SetStoreData(true);
    Target->SetCellValue(3, 3, Variant(AnsiString("old")));
    Target->SetInDesignMode(true);
    Target->AssignGridData(Source.get());
    EXPECT_EQ(Target->GetCellValue(6, 6).AsString(), "a");
    EXPECT_EQ(Target->GetCellValue(1, 1).AsString(), "5") << "row 2 moved up, column 2 left";
    EXPECT_TRUE(Target->GetCellValue(3, 3).AsString().empty());
}

TEST_F(StateTransfer, ChangedRowsTakeTheSourcesSize) {
    Source->SetGridRowCount(3);
    Source->SetRowChanged(3, true);
    Target->SetGridRowCount(8);
    Target->SetRowChanged(7, true);
    Target->AssignChangedRows(Source.get());
    EXPECT_TRUE(Target->GetRowChanged(3));
    EXPECT_FALSE(Target->GetRowChanged(7));
}


TEST_F(StateTransfer, SelectionsOfALargerGridStopAtThisGridsColumnsAndRows) {
    Source->SetGridColCount(6);
    Source->SetGridRowCount(6);
    Target->SetGridColCount(3);
    Target->SetGridRowCount(3);
    Source->SelectCols(5, 6, true);
    Target->AssignSelections(Source.get(), {pkCols});
    EXPECT_EQ(Target->ColSelection().Count(), 0);
    EXPECT_LE(Target->ColSelection().GetSize(), 4);
    EXPECT_EQ(Target->GridStatus(), grNormal);
    Source->SelectRows(2, 5, true);
    Target->AssignSelections(Source.get(), {pkRows});
    EXPECT_EQ(Target->RowSelection().Count(), 2);
    EXPECT_EQ(Target->RowSelection().Last(), 3);
    EXPECT_EQ(Target->NumberOfRowsSelected(1, 3), 2);
    EXPECT_EQ(Target->GridStatus(), grRowSelect);
}


TEST_F(StateTransfer, TakenHiddenColumnsAreSkippedAndTakenHeightsAreShown) {
    Source->SetGridColCount(4);
    Target->SetGridColCount(4);
    Source->SetGridRowCount(4);
    Target->SetGridRowCount(4);
    Source->GetCol(3)->SetVisible(false);
    Source->SetRowHeight(2, 30);
    Target->SetRowHeight(3, 40);
    Target->AssignPropKinds(Source.get(), {pkCols, pkRows}, false);
    EXPECT_EQ(Target->VisibleCols().VisibleCount(), 3);
    int Next = 0;
    ASSERT_TRUE(Target->GetNextCol(2, false, false, Next));
    EXPECT_EQ(Next, 4) << "the hidden column is passed over";
    EXPECT_EQ(Target->RowHeights(2), 30);
    EXPECT_EQ(Target->RowHeights(3), Target->DefaultRowHeight());
    EXPECT_EQ(Target->GetRow(3), nullptr);
}

TEST_F(StateTransfer, GridDataBringsTheImageListIdsAlong) {
    Source->SetStoreData(true);
    Source->ImageListIds()->Add("images-7");
    Source->SetCellValue(1, 1, Variant(AnsiString("v")));
    Target->AssignGridData(Source.get());
    ASSERT_TRUE(Target->StoreData());
    ASSERT_EQ(Target->ImageListIds()->Count(), 1);
    EXPECT_EQ(Target->ImageListIds()->Strings(0), "images-7");
    EXPECT_EQ(Target->GetCellValue(1, 1).AsString(), "v");
}


TEST_F(StateTransfer, GridLevelCopyTakesFontsAsCopiesCountsByNameAndNoEvents) {
    Source->SetGridColCount(7);
    Source->SetGridRowCount(8);
    Source->Font()->SetColor(clRed);
    Source->Font()->SetStyle(TFontStyles{fsItalic});
    bool SourceClicked = false;
    Source->OnClickCell = [&](TObject*, int, const Variant&, int, const Variant&, TgxClickPosition,
                              TgxClickPosition) {
        SourceClicked = true;
    };
    Target->AssignProperties(Source.get(), "");
    EXPECT_EQ(Target->GetGridColCount(), 7);
    EXPECT_EQ(Target->GetGridRowCount(), 8);
    EXPECT_NE(Target->Font(), Source->Font());
    EXPECT_EQ(Target->Font()->Color(), clRed);
    EXPECT_EQ(Target->Font()->Style(), TFontStyles{fsItalic});
    Source->Font()->SetColor(clBlue);
    EXPECT_EQ(Target->Font()->Color(), clRed) << "a copy, not a share";
    EXPECT_FALSE(Target->OnClickCell) << "events stay the grid's own";
    EXPECT_FALSE(SourceClicked);
}


// A shown target grid, to see that what it takes over reaches the screen.
class ShownStateTransfer : public StateTransfer {
protected:
    void SetUp() override {
        StateTransfer::SetUp();
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(10, 10, 600, 400);
        Shown = new TgxGrid(Form.get());
        Shown->SetName("Shown");
        Shown->SetParent(Form.get());
        Shown->SetBounds(0, 0, 400, 300);
        Shown->SetGridMode(gmBrowse);
        Shown->SetStoreData(true);
        ShowActive(*Form);
        QApplication::processEvents();
        Shot();
    }
    void TearDown() override { Form.reset(); }
    void Shot() {
        QApplication::processEvents();
        Image = Shown->Widget()->grab().toImage();
    }
    // Pixels inside the cell at data column and row that pass Match, the
    // cell's frame left out.
    template <class TMatch> int Matching(int C, int R, TMatch Match) {
        const TRect Rect = Shown->CellRect(Shown->GetDisplayCol(C), Shown->GetDisplayRow(R));
        const TPoint O = Shown->ClientToScreen(Point(0, 0));
        const TPoint G = Form->ClientToScreen(Point(Shown->Left(), Shown->Top()));
        int N = 0;
        for (int Y = Rect.Top + 2; Y < Rect.Bottom - 2; ++Y)
            for (int X = Rect.Left + 2; X < Rect.Right - 2; ++X)
                N += Match(Image.pixel(O.X - G.X + X, O.Y - G.Y + Y));
        return N;
    }
    int CountIn(int C, int R, TColor Color) {
        return Matching(C, R, [Color](QRgb P) {
            return static_cast<TColor>(qRed(P) | qGreen(P) << 8 | qBlue(P) << 16) == Color;
        });
    }
    int InkIn(int C, int R) {
        return Matching(C, R, [](QRgb P) { return qGray(P) < 100; });
    }
    std::unique_ptr<TForm> Form;
    TgxGrid* Shown = nullptr;
    QImage Image;
};

TEST_F(ShownStateTransfer, WhatIsTakenOverOrResetIsPaintedWithoutAnotherCall) {
    Source->GetCol(3)->SetColor(clYellow);
    Shown->AssignPropKinds(Source.get(), {pkCols}, false);
    Shot();
    EXPECT_GT(CountIn(3, 2, clYellow), 0);
    Shown->ResetColProperties({prColor});
    Shot();
    EXPECT_EQ(CountIn(3, 2, clYellow), 0);

    Source->SetStoreData(true);
    Source->SetCellValue(2, 2, Variant(AnsiString("WWWW")));
    Shown->CopyData(Source.get());
    Shot();
    EXPECT_GT(InkIn(2, 2), 0);
}


TEST_F(StateTransfer, UniformResetsLeaveHiddenColumnsAndRowsHidden) {
    Target->SetGridColCount(4);
    Target->SetGridRowCount(4);
    Target->GetCol(3)->SetVisible(false);
    Target->SetRowVisible(2, false);
    Target->SetResizeCols(rcAll);
    Target->SetResizeRows(rrAll);
    Target->ResetColProperties({prWidth});
    Target->ResetRowProperties({prHeight});
    EXPECT_FALSE(Target->GetCol(3)->Visible());
    EXPECT_EQ(Target->ColWidths(3), 0);
    EXPECT_EQ(Target->ColWidths(2), Target->DefaultColWidth());
    EXPECT_FALSE(Target->GetRowVisible(2));
    EXPECT_EQ(Target->RowHeights(2), 0);
    EXPECT_EQ(Target->RowHeights(3), Target->DefaultRowHeight());
}


TEST_F(ShownStateTransfer, AResetGridStillFollowsTheFontOfItsForm) {
    Form->Font()->SetColor(clMaroon);
    Form->Font()->SetSize(14);
    ASSERT_TRUE(Shown->ParentFont());
    ASSERT_EQ(Shown->Font()->Color(), clMaroon);
    Shown->SetLineColor(clRed);
    Shown->ResetPropKinds({pkGrid});
    EXPECT_NE(Shown->LineColor(), clRed);
    EXPECT_TRUE(Shown->ParentFont());
    EXPECT_EQ(Shown->Font()->Color(), clMaroon);
    EXPECT_EQ(Shown->Font()->Size(), 14);
    EXPECT_EQ(Shown->Parent(), Form.get());
    EXPECT_TRUE(Shown->Visible());
}


TEST_F(StateTransfer, MovedRowsAndColumnsTakeTheirSizesToTheirNewPlaces) {
    for (const bool Design : {false, true}) {
        SetUp();
        Source->SetGridColCount(5);
        Source->SetGridRowCount(5);
        Target->SetGridColCount(5);
        Target->SetGridRowCount(5);
        Source->SetRowHeight(2, 30);
        Source->GetRow(2)->SetDisplayRow(4);
        ASSERT_EQ(Source->RowHeights(4), 30);
        ASSERT_EQ(Source->GetDataRow(4), 2);
        Source->GetCol(2)->SetWidth(90);
        Source->GetCol(2)->SetDisplayCol(4);
        Target->SetRowHeight(5, 44);
        Target->SetInDesignMode(Design);
        Target->AssignPropKinds(Source.get(), {pkCols, pkRows}, false);
        for (int D = 1; D <= 5; ++D) {
            EXPECT_EQ(Target->RowHeights(D), Source->RowHeights(D)) << Design << " row " << D;
            EXPECT_EQ(Target->ColWidths(D), Source->ColWidths(D)) << Design << " col " << D;
        }
    }
}

} // namespace
