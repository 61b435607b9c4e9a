// One grid taking over the state of another, whole or by groups, and
// groups of properties set back to their defaults, on grids shown on forms.
#include "grid/model/Columns.h"
#include "grid/model/Combo.h"
#include "grid/model/GxGrid.h"
#include "grid/model/PropDefaults.h"
#include "grid/model/Rows.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtApp.h"
#include "platform/rtl/FloatFormat.h"

#include <QApplication>
#include <QWidget>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace grid;

namespace {

class StateTransferTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        Form = new TForm(nullptr);
        Form->SetBounds(10, 10, 700, 500);
        Source = Make(0, 5, 6);
        Target = Make(330, 5, 6);
        Form->Show();
    }
    void TearDown() override { delete Form; }
    TgxGrid* Make(int Left, int Cols, int Rows) {
        auto* G = new TgxGrid(Form);
        G->SetParent(Form);
        G->SetStoreData(true);
        G->SetBounds(Left, 0, 320, 300);
        G->SetGridColCount(Cols);
        G->SetGridRowCount(Rows);
        return G;
    }
    void Fill(TgxGrid* G, const char* Tag) {
        for (int Row = 1; Row <= G->GetGridRowCount(); ++Row)
            for (int Col = 1; Col <= G->GetGridColCount(); ++Col)
                G->SetCellValue(Col, Row, AnsiString(Tag) + IntToStr(Col) + "/" + IntToStr(Row));
    }

    TForm* Form = nullptr;
    TgxGrid* Source = nullptr;
    TgxGrid* Target = nullptr;
};

TEST_F(StateTransferTest, AssignTakesTheDisplayOrderAndReportsEachMovedColumn) {
    Source->GetCol(2)->SetDisplayCol(4);
    ASSERT_EQ(Source->GetDisplayCol(2), 4);
    std::vector<std::pair<int, int>> Moves;
    bool AnyByUser = false;
    Target->OnColMoved = [&](TObject*, int To, int Count, bool ByUser) {
        Moves.push_back({To, Count});
        AnyByUser |= ByUser;
    };
    Target->Assign(Source);
    for (int Col = 1; Col <= 5; ++Col)
        EXPECT_EQ(Target->GetDisplayCol(Col), Source->GetDisplayCol(Col)) << Col;
    const std::vector<std::pair<int, int>> Expected = {{4, 1}, {2, 1}, {3, 1}};
    EXPECT_EQ(Moves, Expected);
    EXPECT_FALSE(AnyByUser);
}

TEST_F(StateTransferTest, KindsDecideWhichCountsAndDefaultsFollow) {
    struct Case {
        TgxPropKinds Kinds;
        int Cols, Rows, ColWidth, RowHeight;
    };
    const int W0 = Target->DefaultColWidth(), H0 = Target->DefaultRowHeight();
    const Case Cases[] = {
        {{pkRows}, 5, 9, W0, 31},
        {{pkCols}, 3, 6, 91, H0},
        {{pkGrid}, 5, 6, W0, H0},
        {{pkGrid, pkCols, pkRows}, 3, 9, 91, 31},
        // Cells need room: the counts grow to the source's, never shrink.
        {{pkCells}, 5, 9, W0, H0},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(static_cast<int>(C.Kinds.Bits()));
        TgxGrid* From = Make(0, 3, 9);
        From->SetDefaultColWidth(91);
        From->SetDefaultRowHeight(31);
        TgxGrid* To = Make(330, 5, 6);
        To->AssignPropKinds(From, C.Kinds, true);
        EXPECT_EQ(To->GetGridColCount(), C.Cols);
        EXPECT_EQ(To->GetGridRowCount(), C.Rows);
        EXPECT_EQ(To->DefaultColWidth(), C.ColWidth);
        EXPECT_EQ(To->DefaultRowHeight(), C.RowHeight);
        delete From;
        delete To;
    }
}

TEST_F(StateTransferTest, CopyDataDropsValuesBeyondTheCounts) {
    TgxGrid* Big = Make(0, 7, 9);
    Fill(Big, "b");
    Fill(Target, "t");
    Target->CopyData(Big);
    for (int Row = 1; Row <= 6; ++Row)
        for (int Col = 1; Col <= 5; ++Col)
            EXPECT_EQ(VarToStr(Target->GetCellValue(Col, Row)),
                      VarToStr(Big->GetCellValue(Col, Row)));
    Target->SetGridColCount(7);
    Target->SetGridRowCount(9);
    for (int Row = 1; Row <= 9; ++Row)
        for (int Col = 1; Col <= 7; ++Col)
            if (Row > 6 || Col > 5)
                EXPECT_TRUE(Target->GetCellValue(Col, Row).IsEmpty()) << Col << "/" << Row;

    Fill(Source, "s");
    Source->CopyData(Source);
    EXPECT_EQ(VarToStr(Source->GetCellValue(3, 4)), AnsiString("s3/4"));
    delete Big;
}

TEST_F(StateTransferTest, AssignFromSomethingElseIsAConversionError) {
    TFont Font;
    Fill(Target, "t");
    EXPECT_THROW(Target->Assign(&Font), EConvertError);
    EXPECT_EQ(VarToStr(Target->GetCellValue(2, 2)), AnsiString("t2/2"));
}

TEST_F(StateTransferTest, SelectionsFollowAndSetTheStatus) {
    struct Case {
        bool Cols;
        TgxGridStatus Status;
        TgxSelectType Kind;
    } const Cases[] = {{true, grColSelect, stColSelect}, {false, grRowSelect, stRowSelect}};
    for (const Case& C : Cases) {
        TgxGrid* From = Make(0, 5, 6);
        TgxGrid* To = Make(330, 5, 6);
        if (C.Cols)
            From->SelectCols(2, 3, true);
        else
            From->SelectRows(2, 3, true);
        std::vector<TgxSelectType> Changes;
        To->OnSelectChanged = [&](TObject*, TgxSelectType T, bool) { Changes.push_back(T); };
        To->Assign(From);
        EXPECT_EQ(To->GridStatus(), C.Status);
        for (int I = 1; I <= 5; ++I) {
            const bool Want = I == 2 || I == 3;
            if (C.Cols)
                EXPECT_EQ(To->GetCol(I)->GetSelected(), Want) << I;
            else
                EXPECT_EQ(To->GetRowSelected(I), Want) << I;
        }
        EXPECT_EQ(Changes, std::vector<TgxSelectType>{C.Kind});
        delete From;
        delete To;
    }
}

TEST_F(StateTransferTest, HiddenColumnsAndRowsAreLaidOutEmpty) {
    Source->GetCol(3)->SetVisible(false);
    Source->SetRowVisible(2, false);
    Target->Assign(Source);
    EXPECT_FALSE(Target->GetCol(3)->Visible());
    EXPECT_FALSE(Target->GetRowVisible(2));
    EXPECT_EQ(Target->ColWidths(Target->GetDisplayCol(3)), 0);
    EXPECT_EQ(Target->RowHeights(Target->GetDisplayRow(2)), 0);
    EXPECT_EQ(Target->ColWidths(Target->GetDisplayCol(2)), Target->DefaultColWidth());
    EXPECT_EQ(Target->GetVisibleColCount(), Source->GetVisibleColCount());
}

TEST_F(StateTransferTest, ResetGroupsAndPropertiesGoBackToDefaults) {
    Target->GetCol(2)->SetColor(clRed);
    Target->SetRowColor(3, clBlue);
    Target->SetCellColor(4, 4, clGreen);
    Target->SetRowChanged(5, true);

    Target->ResetColProperties({});
    EXPECT_EQ(Target->GetCol(2)->Color(), clRed);

    Target->ResetRowProperties({prChanged});
    EXPECT_FALSE(Target->GetRowChanged(5));
    EXPECT_EQ(Target->GetRowColor(3), clBlue);

    Target->ResetPropKinds({pkCols});
    EXPECT_EQ(Target->GetCol(2)->Color(), clNone);
    EXPECT_EQ(Target->GetRowColor(3), clBlue);
    EXPECT_EQ(Target->GetCellColor(4, 4), clGreen);

    Target->ResetProperties({prColor});
    EXPECT_EQ(Target->GetRowColor(3), clNone);
    EXPECT_EQ(Target->GetCellColor(4, 4), clNone);
    // The rows group was never reset: its count stays.
    EXPECT_EQ(Target->GetGridRowCount(), 6);
}

TEST_F(StateTransferTest, DesignModeCopiesToTheSourcesDisplayPositions) {
    Fill(Source, "s");
    Source->SetCellColor(2, 1, clRed);
    Source->GetCol(2)->SetDisplayCol(4);
    Target->SetInDesignMode(true);
    Target->Assign(Source);
    EXPECT_EQ(VarToStr(Target->GetCellValue(4, 1)), AnsiString("s2/1"));
    EXPECT_EQ(Target->GetCellColor(4, 1), clRed);
    EXPECT_EQ(VarToStr(Target->GetCellValue(1, 1)), AnsiString("s1/1"));
}

TEST_F(StateTransferTest, AssignTakesRowOrderColumnWidthsAndRowsWithoutObjects) {
    Source->SetDisplayRownr(2, 4);
    ASSERT_EQ(Source->GetDisplayRow(2), 4);
    Source->GetCol(1)->SetWidth(121);
    Source->SetRowHeight(5, 37);
    Source->SetRowChanged(6, true);
    Target->SetRowColor(3, clBlue);
    std::vector<int> Moves;
    Target->OnRowMoved = [&](TObject*, int To, int Count, bool) {
        EXPECT_EQ(Count, 1);
        Moves.push_back(To);
    };
    Target->Assign(Source);
    for (int Row = 1; Row <= 6; ++Row)
        EXPECT_EQ(Target->GetDisplayRow(Row), Source->GetDisplayRow(Row)) << Row;
    EXPECT_EQ(Moves, (std::vector<int>{4, 2, 3}));
    EXPECT_EQ(Target->ColWidths(Target->GetDisplayCol(1)), 121);
    EXPECT_EQ(Target->RowHeights(Target->GetDisplayRow(5)), 37);
    EXPECT_EQ(Target->GetRowColor(3), clNone);
    EXPECT_TRUE(Target->GetRowChanged(6));
    EXPECT_FALSE(Target->GetRowChanged(5));
}

TEST_F(StateTransferTest, GridLevelCopySkipsPlaceNameAndListedProperties) {
    Source->SetName("SourceGrid");
    Target->SetName("TargetGrid");
    Source->SetLineColor(clFuchsia);
    Source->Constraints()->SetMinWidth(77);
    const TRect Before = Target->BoundsRect();
    Target->AssignPropKinds(Source, {pkGrid}, true);
    EXPECT_EQ(Target->Name(), AnsiString("TargetGrid"));
    EXPECT_EQ(Target->BoundsRect(), Before);
    EXPECT_EQ(Target->LineColor(), clFuchsia);
    EXPECT_EQ(Target->Constraints()->MinWidth(), 77);

    TgxGrid* Other = Make(0, 5, 6);
    Other->AssignProperties(Source, "LineColor;Constraints");
    EXPECT_NE(Other->LineColor(), clFuchsia);
    EXPECT_NE(Other->Constraints()->MinWidth(), 77);
    delete Other;
}

TEST_F(StateTransferTest, CellRangeFollowsAndPlainGridIsNormal) {
    Source->SelectCells(2, 2, 3, 4);
    Target->Assign(Source);
    EXPECT_EQ(Target->GridStatus(), grCellSelect);
    TgxGrid* Plain = Make(0, 5, 6);
    Target->Assign(Plain);
    EXPECT_EQ(Target->GridStatus(), grNormal);
    delete Plain;
}

TEST_F(StateTransferTest, DesignModeAnswerIsTakenOver) {
    Source->SetInDesignMode(true);
    ASSERT_FALSE(Target->GetInDesignMode());
    Target->Assign(Source);
    EXPECT_TRUE(Target->GetInDesignMode());
}

TEST_F(StateTransferTest, ResetTakesTheDefaultsOfANewGridAndKeepsTheValues) {
    Fill(Target, "t");
    Target->SetLineColor(clRed);
    Target->GetCol(2)->SetColor(clRed);
    Target->Reset();
    TgxGrid Fresh(nullptr);
    EXPECT_EQ(Target->LineColor(), Fresh.LineColor());
    EXPECT_EQ(Target->GetCol(2)->Color(), clNone);
    EXPECT_TRUE(Target->StoreData());
    EXPECT_EQ(VarToStr(Target->GetCellValue(2, 3)), AnsiString("t2/3"));
}

TEST_F(StateTransferTest, UniformResizingGivesEveryColumnAndRowOneSize) {
    Target->GetCol(2)->SetWidth(140);
    Target->GetCol(2)->SetColor(clRed);
    Target->SetResizeCols(TgxResizeCols::rcAll);
    Target->ResetColProperties({prColor});
    EXPECT_EQ(Target->GetCol(2)->Width(), 140);
    EXPECT_EQ(Target->GetCol(2)->Color(), clNone);
    Target->ResetColProperties({prWidth});
    for (int Col = 2; Col <= 5; ++Col)
        EXPECT_EQ(Target->ColWidths(Target->GetDisplayCol(Col)),
                  Target->ColWidths(Target->GetDisplayCol(1)))
            << Col;

    Target->SetRowHeight(3, 44);
    Target->SetResizeRows(TgxResizeRows::rrAll);
    Target->ResetRowProperties({prHeight});
    for (int Row = 2; Row <= 6; ++Row)
        EXPECT_EQ(Target->RowHeights(Target->GetDisplayRow(Row)),
                  Target->RowHeights(Target->GetDisplayRow(1)))
            << Row;
}

TEST_F(StateTransferTest, ResettingSelectedEndsEachKindOfSelection) {
    Target->SelectCells(2, 2, 3, 3);
    ASSERT_EQ(Target->GridStatus(), grCellSelect);
    Target->ResetCellProperties({prSelected});
    EXPECT_EQ(Target->GridStatus(), grNormal);
    Target->SelectCols(2, 3, true);
    Target->ResetColProperties({prSelected});
    EXPECT_FALSE(Target->GetCol(2)->GetSelected());
    EXPECT_EQ(Target->GridStatus(), grNormal);
    Target->SelectRows(2, 3, true);
    Target->ResetRowProperties({prSelected});
    EXPECT_FALSE(Target->GetRowSelected(2));
    EXPECT_EQ(Target->GridStatus(), grNormal);
}

TEST_F(StateTransferTest, WithoutDataTheKeptValuesMustFitTheNewCellTypes) {
    Fill(Target, "t");
    Source->GetCol(2)->SetControlType(ctPicture);
    Target->AssignPropKinds(Source, {pkCols}, false);
    EXPECT_EQ(Target->GetCol(2)->ControlType(), ctPicture);
    for (int Row = 1; Row <= 6; ++Row) {
        EXPECT_TRUE(Target->GetCellValue(2, Row).IsEmpty()) << Row;
        EXPECT_EQ(VarToStr(Target->GetCellValue(3, Row)), "t3/" + IntToStr(Row));
    }
}

TEST_F(StateTransferTest, CurrentCellAndPaintingFollowASmallerSource) {
    Target->SetCurrentCell(5, 6);
    TgxGrid* Small = Make(0, 2, 3);
    Fill(Small, "m");
    Target->Assign(Small);
    EXPECT_LE(Target->Col(), 2);
    EXPECT_LE(Target->Row(), 3);
    EXPECT_GE(Target->Col(), 1);
    EXPECT_GE(Target->Row(), 1);
    Target->Invalidate();
    QApplication::processEvents();
    EXPECT_FALSE(Target->Widget()->grab().isNull());
    EXPECT_EQ(VarToStr(Target->GetCellValue(2, 3)), AnsiString("m2/3"));
    delete Small;
}

TEST_F(StateTransferTest, ResetDisplayNumbersAndChangedFlagsOfPlainRows) {
    Target->SetDisplayRownr(2, 5);
    ASSERT_EQ(Target->GetDisplayRow(2), 5);
    Target->SetRowChanged(3, true);
    Target->ResetRowProperties({prDisplayNumber, prChanged});
    for (int Row = 1; Row <= 6; ++Row) {
        EXPECT_EQ(Target->GetDisplayRow(Row), Row);
        EXPECT_FALSE(Target->GetRowChanged(Row));
    }
}

TEST_F(StateTransferTest, ListGridKeepsItsModesAndSelections) {
    auto* List = new TgxComboGrid(Form);
    List->SetParent(Form);
    List->SetGridColCount(5);
    List->SetGridRowCount(6);
    const TgxGridMode Mode = List->GridMode();
    const TgxRowSelectMode Select = List->RowSelectMode();
    const TgxGridStatus Status = List->GridStatus();
    Source->SetGridMode(Mode == gmBrowse ? gmEdit : gmBrowse);
    Source->SetRowSelectMode(Select == rsMulti ? rsSingle : rsMulti);
    Source->SetLineColor(clFuchsia);
    Source->SelectCols(2, 2, true);
    List->AssignPropKinds(Source, AllPropKinds, true);
    EXPECT_EQ(List->GridMode(), Mode);
    EXPECT_EQ(List->RowSelectMode(), Select);
    EXPECT_EQ(List->LineColor(), clFuchsia);
    EXPECT_FALSE(List->GetCol(2)->GetSelected());
    EXPECT_EQ(List->GridStatus(), Status);

    Target->AssignPropKinds(Source, {pkGrid}, true);
    EXPECT_EQ(Target->GridMode(), Source->GridMode());
    EXPECT_EQ(Target->RowSelectMode(), Source->RowSelectMode());
}

TEST_F(StateTransferTest, AnErrorOnTheWayLeavesTheGridPainting) {
    Source->GetCol(2)->SetDisplayCol(4);
    Target->OnColMoved = [](TObject*, int, int, bool) { throw Exception("handler failed"); };
    EXPECT_THROW(Target->Assign(Source), Exception);
    EXPECT_FALSE(Target->GetFastAssign());
    Target->OnColMoved = nullptr;
    Target->SetLineColor(clRed);
    EXPECT_NO_THROW(Target->Assign(Source));
    EXPECT_FALSE(Target->GetFastAssign());
}

TEST_F(StateTransferTest, AnUnchangedSelectionIsNotReported) {
    Source->SelectCols(2, 3, true);
    Target->SelectCols(2, 3, true);
    int Changes = 0;
    Target->OnSelectChanged = [&](TObject*, TgxSelectType, bool) { ++Changes; };
    Target->Assign(Source);
    EXPECT_EQ(Changes, 0);
    EXPECT_EQ(Target->GridStatus(), grColSelect);
}

TEST_F(StateTransferTest, DesignModeCopiesValuesOfMovedRowsToTheirDisplayRows) {
    Fill(Source, "s");
    Source->SetDisplayRownr(2, 5);
    Source->SetCellColor(1, 2, clRed);
    Target->SetInDesignMode(true);
    Target->Assign(Source);
    EXPECT_EQ(VarToStr(Target->GetCellValue(1, 5)), AnsiString("s1/2"));
    EXPECT_EQ(Target->GetCellColor(1, 5), clRed);
    EXPECT_EQ(VarToStr(Target->GetCellValue(1, 1)), AnsiString("s1/1"));
}

TEST_F(StateTransferTest, AssignTakesTheSourcesStoreSetting) {
    Fill(Target, "t");
    TgxGrid* NoStore = Make(0, 5, 6);
    NoStore->SetStoreData(false);
    TgxGrid* Copy = Make(0, 5, 6);
    Copy->Assign(Target);
    EXPECT_TRUE(Copy->StoreData());
    EXPECT_EQ(VarToStr(Copy->GetCellValue(4, 5)), AnsiString("t4/5"));
    Target->Assign(NoStore);
    EXPECT_FALSE(Target->StoreData());
    delete NoStore;
    delete Copy;
}

TEST_F(StateTransferTest, ListedDefaultSizesStayWhateverTheirCase) {
    Source->SetDefaultColWidth(93);
    Source->SetDefaultRowHeight(29);
    struct Case {
        const char* Excluded;
        bool Width, Height;
    } const Cases[] = {
        {"", true, true}, {"defaultCOLwidth;", false, true}, {"DEFAULTROWHEIGHT;Tag", true, false}};
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Excluded);
        TgxGrid* To = Make(330, 5, 6);
        const int W = To->DefaultColWidth(), H = To->DefaultRowHeight();
        To->AssignProperties(Source, C.Excluded);
        EXPECT_EQ(To->DefaultColWidth(), C.Width ? 93 : W);
        EXPECT_EQ(To->DefaultRowHeight(), C.Height ? 29 : H);
        delete To;
    }
}

TEST_F(StateTransferTest, ARowBackAtItsDefaultsLosesItsObject) {
    Target->SetRowColor(3, clBlue);
    ASSERT_NE(Target->GetRow(3), nullptr);
    Target->ResetRowProperties({prColor});
    EXPECT_EQ(Target->GetRow(3), nullptr);
    Target->SetRowColor(4, clBlue);
    Target->SetRowHeight(4, 40);
    Target->ResetRowProperties({prColor});
    ASSERT_NE(Target->GetRow(4), nullptr);
    EXPECT_EQ(Target->GetRowHeight(4), 40);
}

TEST_F(StateTransferTest, DesignModeTakesNoSelections) {
    Source->SelectCols(2, 3, true);
    Target->SetInDesignMode(true);
    Target->Assign(Source);
    EXPECT_FALSE(Target->GetCol(2)->GetSelected());
    EXPECT_EQ(Target->GridStatus(), grNormal);
}

} // namespace
