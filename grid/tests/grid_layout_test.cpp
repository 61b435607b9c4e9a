// Counts, insertion, moves and hiding of columns and rows, checked against a
// plain reference model, and the debug grid the alert program fills.
#include "GridModelFixture.h"

#include "grid/foundation/CellStore.h"
#include "grid/model/CellProps.h"
#include "grid/model/Columns.h"
#include "grid/model/Rows.h"

#include <algorithm>
#include <random>
#include <string>
#include <vector>

using namespace grid;

namespace {

// What the grid should hold: the display order of data rows and columns,
// every value by data numbers, and the sizes and visibility each data row
// and column carries.
struct TReference {
    std::vector<int> RowOrder{0}; // display position -> data row
    std::vector<int> ColOrder{0};
    std::vector<std::vector<std::string>> Values{{}}; // [data row][data col]
    std::vector<std::vector<int>> Tags{{}};           // cell properties, the same way
    std::vector<int> RowHeight{0};
    std::vector<int> ColWidth{0};
    std::vector<bool> ColVisible{true};

    int Rows() const { return static_cast<int>(RowOrder.size()) - 1; }
    int Cols() const { return static_cast<int>(ColOrder.size()) - 1; }
};

class TModelWalk {
public:
    TModelWalk(TgxBaseGrid& Grid, unsigned Seed) : FGrid(Grid), FRandom(Seed) {
        FGrid.SetStoreData(true);
        FGrid.SetGridColCount(0);
        FGrid.SetGridRowCount(0);
    }

    std::string Token() { return "v" + std::to_string(++FNext); }
    int Pick(int Low, int High) { return std::uniform_int_distribution<int>(Low, High)(FRandom); }

    void InsertRow() {
        const int P = Pick(1, FRef.Rows() + 1);
        FGrid.InsertRow(P);
        const int R = FRef.Rows() + 1;
        FRef.RowOrder.insert(FRef.RowOrder.begin() + P, R);
        FRef.Values.emplace_back(static_cast<std::size_t>(FRef.Cols() + 1));
        FRef.Tags.emplace_back(static_cast<std::size_t>(FRef.Cols() + 1));
        FRef.RowHeight.push_back(FGrid.DefaultRowHeight());
        for (int C = 1; C <= FRef.Cols(); ++C)
            SetValue(C, R);
    }

    void InsertCol() {
        const int P = Pick(1, FRef.Cols() + 1);
        FGrid.InsertCol(P);
        const int C = FRef.Cols() + 1;
        FRef.ColOrder.insert(FRef.ColOrder.begin() + P, C);
        for (auto& Row : FRef.Values)
            Row.resize(static_cast<std::size_t>(C + 1));
        for (auto& Row : FRef.Tags)
            Row.resize(static_cast<std::size_t>(C + 1));
        FRef.ColWidth.push_back(FGrid.DefaultColWidth());
        FRef.ColVisible.push_back(true);
        for (int R = 1; R <= FRef.Rows(); ++R)
            SetValue(C, R);
    }

    void ShrinkRows() {
        const int N = Pick(0, FRef.Rows());
        FGrid.SetGridRowCount(N);
        std::erase_if(FRef.RowOrder, [N](int R) { return R > N; });
        FRef.Values.resize(static_cast<std::size_t>(N + 1));
        FRef.Tags.resize(static_cast<std::size_t>(N + 1));
        FRef.RowHeight.resize(static_cast<std::size_t>(N + 1));
    }

    void ShrinkCols() {
        const int N = Pick(0, FRef.Cols());
        FGrid.SetGridColCount(N);
        std::erase_if(FRef.ColOrder, [N](int C) { return C > N; });
        for (auto& Row : FRef.Values)
            Row.resize(static_cast<std::size_t>(N + 1));
        for (auto& Row : FRef.Tags)
            Row.resize(static_cast<std::size_t>(N + 1));
        FRef.ColWidth.resize(static_cast<std::size_t>(N + 1));
        FRef.ColVisible.resize(static_cast<std::size_t>(N + 1));
    }

    // What a deletion of one data row does: everything kept for it goes,
    // later rows move down one number, then the count drops.
    void DeleteRow() {
        if (FRef.Rows() < 1) return;
        ++Deletions;
        const int R = Pick(1, FRef.Rows());
        FGrid.DeleteAllAtRow(R, FGrid.RowCount() - 1);
        FGrid.DeleteRowData(R, R);
        FGrid.SetGridRowCount(FRef.Rows() - 1);
        std::erase(FRef.RowOrder, R);
        for (int& Data : FRef.RowOrder)
            if (Data > R) --Data;
        FRef.Values.erase(FRef.Values.begin() + R);
        FRef.Tags.erase(FRef.Tags.begin() + R);
        FRef.RowHeight.erase(FRef.RowHeight.begin() + R);
    }

    void DeleteCol() {
        if (FRef.Cols() < 1) return;
        ++Deletions;
        const int C = Pick(1, FRef.Cols());
        FGrid.DeleteAllAtCol(C, FGrid.ColCount() - 1);
        FGrid.DeleteColData(C, C);
        FGrid.SetGridColCount(FRef.Cols() - 1);
        std::erase(FRef.ColOrder, C);
        for (int& Data : FRef.ColOrder)
            if (Data > C) --Data;
        for (auto& Row : FRef.Values)
            Row.erase(Row.begin() + C);
        for (auto& Row : FRef.Tags)
            Row.erase(Row.begin() + C);
        FRef.ColWidth.erase(FRef.ColWidth.begin() + C);
        FRef.ColVisible.erase(FRef.ColVisible.begin() + C);
    }

    void MoveRow() {
        if (FRef.Rows() < 1) return;
        ++Moves;
        const int R = Pick(1, FRef.Rows());
        const int P = Pick(1, FRef.Rows());
        FGrid.SetDisplayRownr(R, P);
        std::erase(FRef.RowOrder, R);
        FRef.RowOrder.insert(FRef.RowOrder.begin() + P, R);
    }

    void MoveCol() {
        if (FRef.Cols() < 1) return;
        const int C = Pick(1, FRef.Cols());
        const int P = Pick(1, FRef.Cols());
        FGrid.GetCol(C)->SetDisplayCol(P);
        std::erase(FRef.ColOrder, C);
        FRef.ColOrder.insert(FRef.ColOrder.begin() + P, C);
    }

    void SizeRow() {
        if (FRef.Rows() < 1) return;
        const int R = Pick(1, FRef.Rows());
        const int H = Pick(10, 40);
        FGrid.SetRowHeight(R, H);
        FRef.RowHeight[static_cast<std::size_t>(R)] = H;
    }

    void SizeOrHideCol() {
        if (FRef.Cols() < 1) return;
        const int C = Pick(1, FRef.Cols());
        if (Pick(0, 1) == 0) {
            const int W = Pick(20, 90);
            FGrid.GetCol(C)->SetWidth(W);
            FRef.ColWidth[static_cast<std::size_t>(C)] = W;
        } else {
            const bool V = !FRef.ColVisible[static_cast<std::size_t>(C)];
            FGrid.GetCol(C)->SetVisible(V);
            FRef.ColVisible[static_cast<std::size_t>(C)] = V;
        }
    }

    void Step() {
        switch (Pick(0, 9)) {
        case 8:
            DeleteRow();
            break;
        case 9:
            DeleteCol();
            break;
        case 0:
            InsertRow();
            break;
        case 1:
            InsertCol();
            break;
        case 2:
            if (Pick(0, 3) == 0) ShrinkRows();
            break;
        case 3:
            if (Pick(0, 3) == 0) ShrinkCols();
            break;
        case 4:
            MoveRow();
            break;
        case 5:
            MoveCol();
            break;
        case 6:
            SizeRow();
            break;
        default:
            SizeOrHideCol();
            break;
        }
    }

    // Every cell, both mappings, sizes and the visible-column list.
    ::testing::AssertionResult Matches() const {
        if (FGrid.GetGridRowCount() != FRef.Rows() || FGrid.GetGridColCount() != FRef.Cols())
            return ::testing::AssertionFailure() << "counts differ";
        for (int D = 1; D <= FRef.Rows(); ++D) {
            const int R = FRef.RowOrder[static_cast<std::size_t>(D)];
            if (FGrid.GetDataRow(D) != R || FGrid.GetDisplayRow(R) != D)
                return ::testing::AssertionFailure() << "row map at display " << D;
            if (FGrid.RowHeights(D) != FRef.RowHeight[static_cast<std::size_t>(R)])
                return ::testing::AssertionFailure() << "height at display row " << D;
        }
        std::vector<int> Visible;
        for (int D = 1; D <= FRef.Cols(); ++D) {
            const int C = FRef.ColOrder[static_cast<std::size_t>(D)];
            if (FGrid.GetDataCol(D) != C || FGrid.GetDisplayCol(C) != D)
                return ::testing::AssertionFailure() << "column map at display " << D;
            const bool Shown = FRef.ColVisible[static_cast<std::size_t>(C)];
            const int Width = Shown ? FRef.ColWidth[static_cast<std::size_t>(C)] : 0;
            if (FGrid.ColWidths(D) != Width)
                return ::testing::AssertionFailure() << "width at display column " << D;
            if (Shown) Visible.push_back(D);
        }
        std::vector<int> Listed;
        const TgxVisibleItems& Items = const_cast<TgxBaseGrid&>(FGrid).VisibleCols();
        for (int K = 1; K <= Items.VisibleCount(); ++K)
            Listed.push_back(Items.GetItem(K));
        if (Listed != Visible) return ::testing::AssertionFailure() << "visible columns differ";
        for (int R = 1; R <= FRef.Rows(); ++R)
            for (int C = 1; C <= FRef.Cols(); ++C) {
                const std::string Got =
                    const_cast<TgxBaseGrid&>(FGrid).GetCellValue(C, R).AsString();
                if (Got != FRef.Values[static_cast<std::size_t>(R)][static_cast<std::size_t>(C)])
                    return ::testing::AssertionFailure() << "value at " << C << "," << R;
                if (const_cast<TgxBaseGrid&>(FGrid).GetCellTag(C, R) !=
                    FRef.Tags[static_cast<std::size_t>(R)][static_cast<std::size_t>(C)])
                    return ::testing::AssertionFailure() << "tag at " << C << "," << R;
            }
        return ::testing::AssertionSuccess();
    }

private:
    void SetValue(int C, int R) {
        const std::string V = Token();
        FGrid.SetCellValue(C, R, Variant(AnsiString(V)));
        FRef.Values[static_cast<std::size_t>(R)][static_cast<std::size_t>(C)] = V;
        // Every fifth cell gets a property of its own.
        if (FNext % 5 == 0) {
            FGrid.SetCellTag(C, R, FNext);
            FRef.Tags[static_cast<std::size_t>(R)][static_cast<std::size_t>(C)] = FNext;
        }
    }

public:
    int Deletions = 0;
    int Moves = 0;

private:
    TgxBaseGrid& FGrid;
    TReference FRef;
    std::mt19937 FRandom;
    int FNext = 0;
};

} // namespace

TEST_F(GridModelTest, RandomEditsMatchAPlainReferenceModel) {
    for (unsigned Seed : {1u, 2u, 3u}) {
        TgxBaseGrid Walked(nullptr);
        TModelWalk Walk(Walked, Seed);
        for (int I = 0; I < 6; ++I) {
            Walk.InsertCol();
            Walk.InsertRow();
        }
        for (int Step = 0; Step < 400; ++Step) {
            Walk.Step();
            ASSERT_TRUE(Walk.Matches()) << "seed " << Seed << ", step " << Step;
        }
        EXPECT_GT(Walk.Deletions, 20);
        EXPECT_GT(Walk.Moves, 20);
    }
}

TEST_F(GridModelTest, CountsIgnoreNegativeAndEqualValuesAndReportChanges) {
    std::vector<std::pair<int, int>> Reported;
    Grid->OnColCountChanged = [&](TObject*, int Old, int New) { Reported.emplace_back(Old, New); };
    Grid->SetGridColCount(4);
    Grid->SetGridColCount(-3);
    EXPECT_EQ(Grid->GetGridColCount(), 0);
    EXPECT_EQ(Grid->ColCount(), 1);
    Grid->SetGridColCount(2);
    EXPECT_EQ(Reported, (std::vector<std::pair<int, int>>{{4, 0}, {0, 2}}));
}

TEST_F(GridModelTest, CountEventsStaySilentWhileLoading) {
    struct Loadable : TgxBaseGrid {
        using TComponent::Loading;
        using TgxBaseGrid::TgxBaseGrid;
    };
    Grid = std::make_unique<Loadable>(nullptr);
    auto* Loaded = static_cast<Loadable*>(Grid.get());
    int Events = 0;
    Grid->OnColCountChanged = [&](TObject*, int, int) { ++Events; };
    Loaded->Loading();
    Grid->SetGridColCount(6);
    EXPECT_EQ(Events, 0);
    Grid->Loaded();
    Grid->SetGridColCount(7);
    EXPECT_EQ(Events, 1);
    int Status = 0;
    Grid->OnGridStatusChanged = [&](TObject*, TgxGridStatus, TgxGridStatus) { ++Status; };
    Loaded->Loading();
    Grid->DoGridStatusChanged(grNormal, grRowSelect);
    EXPECT_EQ(Status, 1);
}

TEST_F(GridModelTest, InsertRowAppendsAtTheEndButNotBeyond) {
    std::vector<int> Inserted;
    struct Counting : TgxBaseGrid {
        using TgxBaseGrid::TgxBaseGrid;
        std::vector<int>* Seen = nullptr;
        void RowInserted(int DataRow, bool) override { Seen->push_back(DataRow); }
    } Counted(nullptr);
    Counted.SetName("Grid1");
    Counted.Seen = &Inserted;
    Counted.InsertRow(5);
    EXPECT_EQ(Counted.GetGridRowCount(), 5);
    EXPECT_EQ(Counted.GetDisplayRow(5), 5);
    EXPECT_EQ(GridError([&] { Counted.InsertRow(7); }), "Grid1: Row index 7 out of range");
    Counted.SetReportInvalidOps(false);
    Counted.InsertRow(7);
    EXPECT_EQ(Counted.GetGridRowCount(), 5);
    Counted.InsertRow(1);
    EXPECT_EQ(Counted.GetDataRow(1), 6);
    EXPECT_EQ(Inserted, (std::vector<int>{5, 6}));
}

TEST_F(GridModelTest, TheInsertionRowNeverCountsAsADataRow) {
    Grid->SetGridMode(gmEditInsert);
    Grid->SetGridRowCount(3);
    EXPECT_EQ(Grid->GetGridRowCount(), 3);
    EXPECT_EQ(Grid->RowCount(), 5);
    EXPECT_TRUE(Grid->IsInsertRow(4));
    EXPECT_EQ(Grid->GetDataRow(4), -1);
    Grid->SetGridRowCount(4);
    EXPECT_EQ(Grid->RowCount(), 6);
    EXPECT_EQ(Grid->GetDataRow(4), 4);
}

TEST_F(GridModelTest, ShrinkingDropsPropertiesAndValuesOfTheLostColumns) {
    Grid->SetStoreData(true);
    Grid->SetCellColor(4, 2, clRed);
    Grid->SetCellValue(4, 2, Variant("gone"));
    Grid->SetCellColor(2, 2, clRed);
    Grid->GetCol(4)->SetDisplayCol(1);
    Grid->SetGridColCount(3);
    EXPECT_EQ(Grid->CellProps()->Count(), 1);
    EXPECT_NE(Grid->CellProps()->Find(2, 2), nullptr);
    for (int D = 1; D <= 3; ++D)
        EXPECT_EQ(Grid->GetDataCol(D), D);
    Grid->SetGridColCount(4);
    EXPECT_TRUE(Grid->GetCellValue(4, 2).AsString().empty());
    EXPECT_EQ(Grid->GetCellColor(4, 2), clNone);
}

TEST_F(GridModelTest, HidingARowKeepsItsHeight) {
    Grid->SetRowHeight(2, 30);
    Grid->SetRowVisible(2, false);
    EXPECT_EQ(Grid->RowHeights(2), 0);
    EXPECT_EQ(Grid->GetRowHeight(2), 30);
    Grid->SetRowVisible(2, true);
    EXPECT_EQ(Grid->RowHeights(2), 30);
}

TEST_F(GridModelTest, ResizeEventsReportDataNumbers) {
    std::vector<int> Resized;
    Grid->OnColResized = [&](TObject*, int DataCol) { Resized.push_back(DataCol); };
    Grid->GetCol(2)->SetDisplayCol(4);
    Grid->GetCol(2)->SetWidth(90);
    EXPECT_EQ(Resized, std::vector<int>{2});
    EXPECT_EQ(Grid->ColWidths(4), 90);
}

TEST_F(GridModelTest, FixedCountsAreClampedToTheGrid) {
    Grid->SetFixedRowCount(10);
    EXPECT_EQ(Grid->FixedRows(), Grid->RowCount() - 1);
    Grid->SetFixedRowCount(-1);
    EXPECT_EQ(Grid->FixedRowCount(), 10);
    Grid->SetRowBarOn(false);
    EXPECT_EQ(Grid->ColWidths(0), 0);
    EXPECT_EQ(Grid->GetRowBarWidth(), 14);
    EXPECT_EQ(Grid->ColCount(), 5);
}

TEST_F(GridModelTest, WithoutAWindowNothingIsInView) {
    EXPECT_EQ(Grid->MaxVisibleRow(), 0);
    EXPECT_EQ(Grid->MaxVisibleCol(), 0);
    EXPECT_EQ(Grid->GetMaxTopRow(), 0);
    EXPECT_EQ(Grid->CompVisibleRows(1), 0);
    EXPECT_EQ(Grid->CalcTextHeight(), 0);
    EXPECT_FALSE(Grid->RowInView(1));
}

// ---- the program's debug grid
// ---------------------------------------------------------------------

namespace {

void MakeDebugGrid(TgxBaseGrid& Grid) {
    Grid.SetGridColCount(6);
    Grid.SetGridRowCount(0);
    const std::pair<const char*, int> Columns[] = {{"HistoryString", 221},   {"Alert Id", 46},
                                                   {"Date Triggered", 148},  {"Triggered By", 102},
                                                   {"Alert Recipient", 103}, {"Priority", 39}};
    for (int C = 1; C <= 6; ++C) {
        Grid.GetCol(C)->SetHeading(Columns[C - 1].first);
        Grid.GetCol(C)->SetWidth(Columns[C - 1].second);
    }
    Grid.SetGridMode(gmBrowse);
    Grid.SetWordWrap(uiOn);
    Grid.SetStoreData(true);
}

// What alert creation does for one alert.
void AddAlert(TgxBaseGrid& Grid, const AnsiString& Message, int AlertNbr) {
    Grid.SetGridRowCount(Grid.GetGridRowCount() + 1);
    const int R = Grid.GetGridRowCount();
    Grid.SetCellValue(1, R, Variant(Message));
    Grid.SetCellValue(2, R, Variant(AlertNbr));
    Grid.SetCellValue(3, R, Variant("9:05 AM 12/31/24"));
    Grid.SetCellValue(4, R, Variant(17));
    Grid.SetCellValue(5, R, Variant(23));
    Grid.SetCellValue(6, R, Variant(2));
    Grid.SetRowHeight(R, Grid.GetCellTextLines(1, R) * 14);
}

} // namespace

TEST_F(GridModelTest, TheDebugGridTakesTenThousandAlertsWithoutAWindow) {
    MakeDebugGrid(*Grid);
    for (int I = 1; I <= 10000; ++I)
        AddAlert(
            *Grid,
            I % 2 ? "Job 1001 is over budget\r\nEstimate 120.00\r\nActual 150.00" : "Short one", I);
    ASSERT_EQ(Grid->GetGridRowCount(), 10000);
    EXPECT_EQ(Grid->GetCellTextLines(1, 1), 3);
    EXPECT_EQ(Grid->GetRowHeight(1), 42);
    EXPECT_EQ(Grid->RowHeights(Grid->GetDisplayRow(1)), 42);
    EXPECT_EQ(Grid->GetCellTextLines(1, 2), 1);
    EXPECT_EQ(Grid->GetRowHeight(2), 14);
    EXPECT_EQ(Grid->GetCellValue(2, 9999).AsString(), "9999");
    EXPECT_EQ(Grid->GetCellValue(3, 10000).AsString(), "9:05 AM 12/31/24");
    // Rows of the default height hold no row object.
    EXPECT_EQ(Grid->GridRows()->ObjectCount(), 1 + 5000);
    Grid->SetGridRowCount(0);
    EXPECT_EQ(Grid->GetGridRowCount(), 0);
    EXPECT_EQ(Grid->GridRows()->ObjectCount(), 1);
}

TEST_F(GridModelTest, MovingAndHidingColumnsKeepsValuesWithTheirDataNumbers) {
    MakeDebugGrid(*Grid);
    for (int I = 1; I <= 20; ++I)
        AddAlert(*Grid, "Alert " + std::to_string(I), I);
    Grid->SetCellColor(2, 5, clRed);
    Grid->SetCellColor(3, 6, clTeal);
    Grid->GetCol(2)->SetDisplayCol(5);
    Grid->GetCol(3)->SetVisible(false);
    EXPECT_EQ(Grid->GetDisplayCol(2), 5);
    EXPECT_EQ(Grid->GetDataCol(5), 2);
    EXPECT_EQ(Grid->GetDisplayCol(3), 2);
    EXPECT_EQ(Grid->ColWidths(2), 0);
    EXPECT_EQ(Grid->ColWidths(5), 46);
    for (int R = 1; R <= 20; ++R) {
        EXPECT_EQ(Grid->GetCellValue(2, R).AsString(), std::to_string(R));
        EXPECT_EQ(Grid->GetCellValue(1, R).AsString(), "Alert " + std::to_string(R));
    }
    EXPECT_EQ(Grid->GetCellColor(2, 5), clRed);
    EXPECT_EQ(Grid->GetCellColor(3, 6), clTeal);
    std::vector<int> Visible;
    for (int K = 1; K <= Grid->VisibleCols().VisibleCount(); ++K)
        Visible.push_back(Grid->VisibleCols().GetItem(K));
    EXPECT_EQ(Visible, (std::vector<int>{1, 3, 4, 5, 6}));
}

TEST_F(GridModelTest, GrowingColumnsWithOneHiddenExtendsTheVisibleList) {
    Grid->GetCol(2)->SetVisible(false);
    Grid->SetGridColCount(6);
    std::vector<int> Visible;
    for (int K = 1; K <= Grid->VisibleCols().VisibleCount(); ++K)
        Visible.push_back(Grid->VisibleCols().GetItem(K));
    EXPECT_EQ(Visible, (std::vector<int>{1, 3, 4, 5, 6}));
}

TEST_F(GridModelTest, ARowAddedAfterAShrinkInheritsNothingFromTheRowThatWent) {
    Grid->SetGridMode(gmEditInsert);
    Grid->SetGridRowCount(4);
    Grid->SetRowColor(4, clRed);
    Grid->SetRowHeight(4, 40);
    Grid->SetCellTag(2, 4, 7);
    Grid->SetGridRowCount(3);
    EXPECT_EQ(Grid->RowHeights(4), Grid->DefaultRowHeight()); // the insertion row
    Grid->SetGridRowCount(4);
    EXPECT_EQ(Grid->GetRowColor(4), clNone);
    EXPECT_EQ(Grid->GetRowHeight(4), Grid->DefaultRowHeight());
    EXPECT_EQ(Grid->RowHeights(4), Grid->DefaultRowHeight());
    EXPECT_EQ(Grid->GetCellTag(2, 4), 0);
}

TEST_F(GridModelTest, TheRowCountEventFollowsDataRowsAlsoWhenTheInsertionRowTakesTheirPlace) {
    std::vector<std::pair<int, int>> Reported;
    Grid->OnRowCountChanged = [&](TObject*, int Old, int New) { Reported.emplace_back(Old, New); };
    Grid->SetGridMode(gmEditInsert);
    Grid->SetGridRowCount(3); // the base count stays 5: 3 rows, the insertion row, the heading
    EXPECT_EQ(Grid->RowCount(), 5);
    EXPECT_EQ(Reported, (std::vector<std::pair<int, int>>{{4, 3}}));
}
