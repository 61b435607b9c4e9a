// Taking over another grid's state, whole or by groups, as a calling
// program does it.
#include "grid/model/GxGrid.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtApp.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

using namespace grid;

namespace {

class GridStateTransferS60b : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        Form = new TForm(nullptr);
        Form->SetBounds(10, 10, 600, 400);
        Source = Make();
        Target = Make();
        Form->Show();
    }
    void TearDown() override { delete Form; }
    TgxGrid* Make() {
        auto* G = new TgxGrid(Form);
        G->SetParent(Form);
        G->SetBounds(0, 0, 300, 200);
        return G;
    }
    TForm* Form = nullptr;
    TgxGrid* Source = nullptr;
    TgxGrid* Target = nullptr;
};

} // namespace

TEST_F(GridStateTransferS60b, AssignTakesTheDisplayOrderAndReportsTheMovedColumns) {
    Source->SetGridColCount(5);
    Target->SetGridColCount(5);
    Source->ChangeDisplayCol(2, 4);
    std::set<int> Moved;
    Target->OnColMoved = [&](TObject*, int ToDisplayCol, int, bool ByUser) {
        EXPECT_FALSE(ByUser);
        Moved.insert(ToDisplayCol);
    };
    Target->Assign(Source);
    for (int C = 1; C <= 5; ++C)
        EXPECT_EQ(Target->GetDisplayCol(C), Source->GetDisplayCol(C)) << C;
    EXPECT_EQ(Target->GetDisplayCol(2), 4);
    EXPECT_EQ(Moved, (std::set<int>{2, 3, 4}));
}

TEST_F(GridStateTransferS60b, RowsAloneBringTheRowCountAndHeightOnly) {
    Source->SetGridColCount(8);
    Source->SetGridRowCount(9);
    Source->SetDefaultRowHeight(31);
    const int Cols = Target->GetGridColCount();
    Target->AssignPropKinds(Source, TgxPropKinds{pkRows}, false);
    EXPECT_EQ(Target->GetGridRowCount(), 9);
    EXPECT_EQ(Target->DefaultRowHeight(), 31);
    EXPECT_EQ(Target->GetGridColCount(), Cols);
}

TEST_F(GridStateTransferS60b, CopyDataDropsWhatLiesBeyondThisGridsCounts) {
    Source->SetStoreData(true);
    Source->SetGridColCount(6);
    Source->SetGridRowCount(6);
    Source->SetCellValue(2, 2, Variant("kept"));
    Source->SetCellValue(6, 2, Variant("col6"));
    Source->SetCellValue(2, 6, Variant("row6"));
    Target->SetStoreData(true);
    Target->SetGridColCount(3);
    Target->SetGridRowCount(3);
    Target->CopyData(Source);
    EXPECT_EQ(Target->GetCellValue(2, 2).AsString(), "kept");
    Target->SetGridColCount(6);
    Target->SetGridRowCount(6);
    EXPECT_TRUE(Target->GetCellValue(6, 2).IsEmpty()) << "a column beyond the count";
    EXPECT_TRUE(Target->GetCellValue(2, 6).IsEmpty()) << "a row beyond the count";

    Target->SetCellValue(1, 1, Variant("own"));
    Target->CopyData(Target);
    EXPECT_EQ(Target->GetCellValue(1, 1).AsString(), "own");
    EXPECT_EQ(Target->GetCellValue(2, 2).AsString(), "kept");
}

TEST_F(GridStateTransferS60b, ResetGroupsGiveBackANewGridsCountsAndLeaveTheOthers) {
    TgxGrid Fresh(nullptr);
    Target->SetGridColCount(9);
    Target->SetGridRowCount(12);
    Target->SetDefaultRowHeight(33);
    Target->ResetPropKinds(TgxPropKinds{pkRows});
    EXPECT_EQ(Target->GetGridRowCount(), Fresh.GetGridRowCount());
    EXPECT_EQ(Target->DefaultRowHeight(), Fresh.DefaultRowHeight());
    EXPECT_EQ(Target->GetGridColCount(), 9);

    Target->ResetColProperties(TgxProperties{});
    EXPECT_EQ(Target->GetGridColCount(), 9);
}

TEST_F(GridStateTransferS60b, AssignFromAnythingButAGridRaisesAndChangesNothing) {
    Target->SetGridRowCount(7);
    TFont Font;
    EXPECT_THROW(Target->Assign(&Font), EConvertError);
    EXPECT_EQ(Target->GetGridRowCount(), 7);
}
