// Copying a grid's state group by group: each kind moves its own group and
// nothing of the others, and a reset of a kind gives its group a new grid's
// state and leaves the others as they were.
#include "grid/model/Columns.h"
#include "grid/model/GxGrid.h"
#include "platform/gui/Forms.h"
#include "platform/gui/PublishedProps.h"
#include "platform/gui/QtApp.h"
#include "platform/rtl/Streams.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

using namespace grid;

namespace {

// What a grid holds in each group, as text; the column, row and cell maps
// list only what is set.
struct TGroups {
    std::string Grid, Cols, Rows, Cells, Counts;
};

std::string ColourMapText(const std::map<std::pair<int, int>, TColor>& Map) {
    std::ostringstream S;
    for (const auto& [At, Color] : Map)
        S << At.first << ',' << At.second << '=' << Color << ' ';
    return S.str();
}

std::map<std::pair<int, int>, TColor> CellColors(TgxGrid& G) {
    std::map<std::pair<int, int>, TColor> Map;
    for (int R = 1; R <= G.GetGridRowCount(); ++R)
        for (int C = 1; C <= G.GetGridColCount(); ++C)
            if (G.GetCellColor(C, R) != clNone) Map[{C, R}] = G.GetCellColor(C, R);
    return Map;
}

TGroups GroupsOf(TgxGrid& G) {
    TGroups Result;
    std::ostringstream Grid;
    Grid << "LineColor " << G.LineColor() << " Tag " << G.Tag() << " Align "
         << static_cast<int>(G.Align()) << " MinWidth " << G.Constraints()->MinWidth()
         << " FocusBorder " << static_cast<int>(G.FocusBorder()) << " RowBarWidth "
         << G.GetRowBarWidth() << " HeadingHeight " << G.GetHeadingHeight();
    Result.Grid = Grid.str();
    std::map<std::pair<int, int>, TColor> Cols, Rows;
    for (int C = 1; C <= G.GetGridColCount(); ++C)
        if (G.GridCols()->Item(C)->Color() != clNone) Cols[{C, 0}] = G.GridCols()->Item(C)->Color();
    for (int R = 1; R <= G.GetGridRowCount(); ++R)
        if (G.GetRowColor(R) != clNone) Rows[{0, R}] = G.GetRowColor(R);
    Result.Cols = "width " + std::to_string(G.DefaultColWidth()) + " " + ColourMapText(Cols);
    Result.Rows = "height " + std::to_string(G.DefaultRowHeight()) + " " + ColourMapText(Rows);
    Result.Cells = ColourMapText(CellColors(G));
    Result.Counts =
        std::to_string(G.GetGridColCount()) + "x" + std::to_string(G.GetGridRowCount());
    return Result;
}

// 7 columns 80 wide by 6 rows 18 high, a setting of each group other than
// a new grid's and a cell beyond a new grid's 4 by 4.
void MakeSource(TgxGrid& G) {
    G.SetGridColCount(7);
    G.SetGridRowCount(6);
    G.SetDefaultColWidth(80);
    G.SetDefaultRowHeight(18);
    G.SetLineColor(0x00112233);
    G.SetTag(5);
    G.SetAlign(alTop);
    G.Constraints()->SetMinWidth(50);
    G.SetFocusBorder(fbDouble);
    G.SetRowBarWidth(20);
    G.SetHeadingHeight(25);
    G.GridCols()->Item(3)->SetColor(0x0000FF00);
    G.SetRowColor(2, 0x00FF0000);
    G.SetCellColor(6, 5, 0x000000FF);
    G.SetStoreData(true);
}

// A new grid's 4 by 4 with settings of its own in every group and a value.
void MakeTarget(TgxGrid& G) {
    G.SetLineColor(0x00445566);
    G.SetTag(9);
    G.GridCols()->Item(2)->SetColor(0x00808000);
    G.SetRowColor(3, 0x00008080);
    G.SetCellColor(2, 2, 0x00800080);
    G.SetStoreData(true);
    G.SetCellValue(1, 1, Variant("kept"));
}

class GridKindsCopy : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        PublishGuiClasses();
    }
};

TEST_F(GridKindsCopy, EachKindCopiesAndResetsItsGroupOnly) {
    const std::vector<TgxPropKinds> Table = {
        {pkGrid},         {pkCols},          {pkRows},         {pkCells},
        {pkGrid, pkCols}, {pkGrid, pkRows},  {pkGrid, pkCells}, {pkCols, pkRows},
        {pkCols, pkCells}, {pkRows, pkCells}, AllPropKinds};
    for (const TgxPropKinds Kinds : Table) {
        SCOPED_TRACE("kinds " + std::to_string(Kinds.Bits()));
        TgxGrid Source(nullptr);
        MakeSource(Source);
        TgxGrid Target(nullptr);
        MakeTarget(Target);
        const TGroups From = GroupsOf(Source), Was = GroupsOf(Target);
        ASSERT_NE(From.Grid, Was.Grid);
        ASSERT_NE(From.Cols, Was.Cols);
        ASSERT_NE(From.Rows, Was.Rows);
        ASSERT_NE(From.Cells, Was.Cells);

        try {
            Target.AssignPropKinds(&Source, Kinds, false);
        } catch (const Exception& E) {
            ADD_FAILURE() << E.Message;
            continue;
        }
        const TGroups Got = GroupsOf(Target);
        EXPECT_EQ(Got.Grid, Kinds.Contains(pkGrid) ? From.Grid : Was.Grid);
        EXPECT_EQ(Got.Cols, Kinds.Contains(pkCols) ? From.Cols : Was.Cols);
        EXPECT_EQ(Got.Rows, Kinds.Contains(pkRows) ? From.Rows : Was.Rows);
        EXPECT_EQ(Got.Cells, Kinds.Contains(pkCells) ? From.Cells : Was.Cells);
        // The counts are the column and row groups'; cells copied to a
        // smaller grid make room for themselves.
        const int Cols = Kinds.Contains(pkCols) || Kinds.Contains(pkCells) ? 7 : 4;
        const int Rows = Kinds.Contains(pkRows) || Kinds.Contains(pkCells) ? 6 : 4;
        EXPECT_EQ(Got.Counts, std::to_string(Cols) + "x" + std::to_string(Rows));
        // The values are no group: a copy without them keeps this grid's.
        EXPECT_EQ(VarToStr(Target.GetCellValue(1, 1)), "kept");

        // The reset: the kinds' groups as a new grid's, the rest untouched
        // (but for cells that no longer have a column or row to stand in).
        TgxGrid Fresh(nullptr);
        const TGroups New = GroupsOf(Fresh);
        const auto CellsWere = CellColors(Target);
        Target.ResetPropKinds(Kinds);
        const TGroups Reset = GroupsOf(Target);
        EXPECT_EQ(Reset.Grid, Kinds.Contains(pkGrid) ? New.Grid : Got.Grid);
        EXPECT_EQ(Reset.Cols, Kinds.Contains(pkCols) ? New.Cols : Got.Cols);
        EXPECT_EQ(Reset.Rows, Kinds.Contains(pkRows) ? New.Rows : Got.Rows);
        std::map<std::pair<int, int>, TColor> Left;
        if (!Kinds.Contains(pkCells))
            for (const auto& [At, Color] : CellsWere)
                if (At.first <= Target.GetGridColCount() && At.second <= Target.GetGridRowCount())
                    Left[At] = Color;
        EXPECT_EQ(Reset.Cells, ColourMapText(Left));
        EXPECT_EQ(VarToStr(Target.GetCellValue(1, 1)), "kept");
    }
}

TEST_F(GridKindsCopy, AResetOfColumnsOrRowsKeepsTheCells) {
    // Directly and through a load of a state that holds only that group.
    for (const TgxPropKinds Kinds : {TgxPropKinds{pkCols}, TgxPropKinds{pkRows}}) {
        SCOPED_TRACE(Kinds.Contains(pkCols) ? "columns" : "rows");
        TgxGrid G(nullptr);
        G.SetCellColor(2, 2, 0x00123456);
        G.ResetPropKinds(Kinds);
        EXPECT_EQ(G.GetCellColor(2, 2), 0x00123456);

        TgxGrid Other(nullptr);
        TMemoryStream State;
        Other.SavePropToStream(&State, Kinds, AllProperties(), false);
        State.SetPosition(0);
        G.LoadFromStream(&State, cmaNone);
        EXPECT_EQ(G.GetCellColor(2, 2), 0x00123456);
    }
}

TEST_F(GridKindsCopy, TheGridGroupKeepsItsPlaceInTheTabOrder) {
    TForm Form(nullptr);
    auto* A = new TgxGrid(&Form);
    A->SetParent(&Form);
    auto* B = new TgxGrid(&Form);
    B->SetParent(&Form);
    ASSERT_EQ(A->TabOrder(), 0);
    ASSERT_EQ(B->TabOrder(), 1);
    A->Constraints()->SetMinWidth(50);
    B->AssignPropKinds(A, {pkGrid}, false);
    EXPECT_EQ(A->TabOrder(), 0);
    EXPECT_EQ(B->TabOrder(), 1);
    EXPECT_EQ(B->Constraints()->MinWidth(), 50);
}

TEST_F(GridKindsCopy, ACopiedRowSelectionIsAnnounced) {
    TgxGrid Source(nullptr);
    Source.SetRowSelected(2, true);
    Source.SetRowSelected(3, true);
    TgxGrid Target(nullptr);
    std::vector<TgxSelectType> Seen;
    Target.OnSelectChanged = [&](TObject*, TgxSelectType Type, bool ByUser) {
        EXPECT_FALSE(ByUser);
        Seen.push_back(Type);
    };
    Target.AssignPropKinds(&Source, {pkRows}, false);
    EXPECT_TRUE(Target.IsRowSelected(2));
    EXPECT_TRUE(Target.IsRowSelected(3));
    EXPECT_EQ(Seen, std::vector<TgxSelectType>{stRowSelect});
    // The same selection again changes nothing and says nothing.
    Seen.clear();
    Target.AssignPropKinds(&Source, {pkRows}, false);
    EXPECT_TRUE(Seen.empty());
}

} // namespace
