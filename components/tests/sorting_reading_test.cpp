// Sorting the company grid by display order and the list of its selected
// rows, read through public calls and real mouse input on a shown grid.
#include "components/PellworthGrid.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtApp.h"
#include "platform/gui/tests/GuiTestSupport.h"
#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QWidget>

#include <algorithm>
#include <string>
#include <vector>

using components::TPellworthGrid;

namespace {

class SortingReading : public ::testing::Test {
protected:
    TPellworthGrid* Show(int Cols, int Rows) {
        EnsureQtApplication();
        Form = new TForm(nullptr);
        Form->SetBounds(10, 10, 600, 400);
        auto* G = new TPellworthGrid(Form);
        G->SetParent(Form);
        G->SetBounds(0, 0, 400, 300);
        ShowActive(*Form);
        G->SetGridColCount(Cols);
        G->SetGridRowCount(Rows);
        QApplication::processEvents();
        return G;
    }
    // Fills column Col of data rows 1.. with the texts.
    static void Fill(TPellworthGrid& G, int Col, const std::vector<std::string>& Texts) {
        for (std::size_t I = 0; I < Texts.size(); ++I)
            G.SetCellValue(Col, static_cast<int>(I) + 1, Variant(AnsiString(Texts[I].c_str())));
    }
    // The texts of column Col in display order.
    static std::vector<std::string> Shown(TPellworthGrid& G, int Col) {
        std::vector<std::string> R;
        for (int P = 1; P <= G.GetGridRowCount(); ++P)
            R.push_back(VarToStr(G.GetCellValue(Col, G.GetDataRownr(P))).c_str());
        return R;
    }
    void TearDown() override { delete Form; }

    TForm* Form = nullptr;
};

struct SortCase {
    const char* Name;
    std::vector<std::string> Col1, Col2;
    std::vector<int> Cols;
    int Order, CaseMode;
    std::vector<std::string> Expect; // column 1 then column 2 joined, in display order
};

TEST_F(SortingReading, OrdersRowsByTheirJoinedKeyTextByteByByte) {
    const SortCase Cases[] = {
        {"ascending", {"b", "A", "a"}, {"", "", ""}, {1}, 0, 0, {"A", "a", "b"}},
        {"descending", {"b", "A", "a"}, {"", "", ""}, {1}, 1, 0, {"b", "a", "A"}},
        {"descending other value", {"b", "A", "a"}, {"", "", ""}, {1}, -7, 0, {"b", "a", "A"}},
        {"numbers as text", {"9", "10", "100"}, {"", "", ""}, {1}, 0, 0, {"10", "100", "9"}},
        {"second column breaks tie", {"x", "x", "a"}, {"2", "1", "3"}, {1, 2}, 0, 0,
         {"a3", "x1", "x2"}},
        {"second column first", {"a", "b", "c"}, {"3", "1", "2"}, {2, 1}, 0, 0, {"b1", "c2", "a3"}},
        {"upper-cased keys", {"b", "C", "a"}, {"", "", ""}, {1}, 0, 1, {"a", "b", "C"}},
        {"upper-cased accents", {"\xC3\xA9" "a", "\xC3\x89" "b", "z"}, {"", "", ""}, {1}, 0, 1,
         {"z", "\xC3\xA9" "a", "\xC3\x89" "b"}},
        {"prefix is less", {"ab", "a", "abc"}, {"", "", ""}, {1}, 0, 0, {"a", "ab", "abc"}},
        {"high bytes above ascii", {"\xE9", "z", "A"}, {"", "", ""}, {1}, 0, 0, {"A", "z", "\xE9"}},
    };
    for (const SortCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        TPellworthGrid* G = Show(2, 3);
        Fill(*G, 1, C.Col1);
        Fill(*G, 2, C.Col2);
        G->Sort(C.Cols.data(), static_cast<int>(C.Cols.size()), C.Order, C.CaseMode);
        std::vector<std::string> Got;
        const auto A = Shown(*G, 1), B = Shown(*G, 2);
        for (std::size_t I = 0; I < A.size(); ++I) Got.push_back(A[I] + B[I]);
        EXPECT_EQ(Got, C.Expect);
        // The data rows keep their numbers and values.
        for (int R = 1; R <= 3; ++R)
            EXPECT_EQ(VarToStr(G->GetCellValue(1, R)), AnsiString(C.Col1[R - 1].c_str()));
        delete Form;
        Form = nullptr;
    }
}

TEST_F(SortingReading, EqualKeysAndNoColumnsStillShowEveryRowOnce) {
    TPellworthGrid* G = Show(2, 4);
    Fill(*G, 1, {"AB", "A", "abc", "ABC"});
    Fill(*G, 2, {"C", "BC", "", ""});
    const int Both[] = {1, 2};
    G->Sort(Both, 2, 0, 1);
    // "AB"+"C", "A"+"BC", "abc" and "ABC" upper-cased are one key.
    std::vector<int> Data;
    for (int P = 1; P <= 4; ++P) Data.push_back(G->GetDataRownr(P));
    std::sort(Data.begin(), Data.end());
    EXPECT_EQ(Data, (std::vector<int>{1, 2, 3, 4}));
    G->Sort(nullptr, 0, 0, 0);
    Data.clear();
    for (int P = 1; P <= 4; ++P) Data.push_back(G->GetDataRownr(P));
    std::sort(Data.begin(), Data.end());
    EXPECT_EQ(Data, (std::vector<int>{1, 2, 3, 4}));
}

TEST_F(SortingReading, UnsortShowsEveryDataRowAtItsOwnNumber) {
    TPellworthGrid* G = Show(1, 20);
    std::vector<std::string> T;
    for (int R = 0; R < 20; ++R) T.push_back(std::string(1, static_cast<char>('t' - R)));
    Fill(*G, 1, T);
    const int One[] = {1};
    G->Sort(One, 1, 0, 0);
    EXPECT_EQ(G->GetDataRownr(1), 20);
    G->Unsort();
    for (int R = 1; R <= 20; ++R) EXPECT_EQ(G->GetDisplayRownr(R), R);
    EXPECT_EQ(Shown(*G, 1), T);
}

// Large enough for the quicksort part of the sort, with many equal keys.
TEST_F(SortingReading, ManyRowsComeOutOrderedBothWays) {
    TPellworthGrid* G = Show(1, 300);
    std::vector<std::string> T;
    unsigned S = 12345;
    for (int R = 0; R < 300; ++R) {
        S = S * 1103515245u + 12345u;
        T.push_back(std::to_string((S >> 16) % 50));
    }
    Fill(*G, 1, T);
    const int One[] = {1};
    G->Sort(One, 1, 0, 0);
    auto Asc = T;
    std::sort(Asc.begin(), Asc.end());
    EXPECT_EQ(Shown(*G, 1), Asc);
    G->Sort(One, 1, 1, 0);
    std::reverse(Asc.begin(), Asc.end());
    EXPECT_EQ(Shown(*G, 1), Asc);
}

class KeyProvider : public components::TGridCellProvider {
public:
    std::vector<Variant> Values;
    grid::TgxBaseGrid* Grid = nullptr;
    // Reads before any row has moved: the keys (painting the moved rows
    // reads them again afterwards).
    int Reads = 0;
    void GetValue(int, int DataRow, Variant& Value) override {
        if (Grid && Grid->GetDataRownr(1) == 1) ++Reads;
        Value = Values[static_cast<std::size_t>(DataRow - 1)];
    }
    void SetValue(int, int, const Variant&) override {}
};

TEST_F(SortingReading, KeysComeFromTheCellProviderOncePerCell) {
    TPellworthGrid* G = Show(1, 3);
    Fill(*G, 1, {"a", "b", "c"});
    KeyProvider P;
    P.Values = {Variant(AnsiString("z")), Variant(AnsiString("y")), Variant(AnsiString("x"))};
    P.Grid = G;
    G->CellProvider = &P;
    const int One[] = {1};
    G->Sort(One, 1, 0, 0);
    EXPECT_EQ(P.Reads, 3);
    EXPECT_EQ(G->GetDataRownr(1), 3);
    EXPECT_EQ(G->GetDataRownr(3), 1);
    G->CellProvider = nullptr;
}

TEST_F(SortingReading, AValueWithoutTextStopsTheSortBeforeAnyRowMoves) {
    TPellworthGrid* G = Show(1, 3);
    KeyProvider P;
    P.Values = {Variant(AnsiString("z")), Null(), Variant(AnsiString("x"))};
    G->CellProvider = &P;
    const int One[] = {1};
    EXPECT_THROW(G->Sort(One, 1, 0, 0), EVariantTypeCastError);
    for (int R = 1; R <= 3; ++R) EXPECT_EQ(G->GetDisplayRownr(R), R);
    EXPECT_TRUE(G->GetEnableRedraw());
    G->CellProvider = nullptr;
}

TEST_F(SortingReading, HiddenRowsStayHiddenAtTheirNewPlaces) {
    TPellworthGrid* G = Show(1, 4);
    Fill(*G, 1, {"d", "c", "b", "a"});
    G->SetRowVisible(2, false);
    const int One[] = {1};
    G->Sort(One, 1, 0, 0);
    EXPECT_FALSE(G->GetRowVisible(2));
    EXPECT_EQ(G->GetDisplayRownr(2), 3);
    // Walking the visible rows skips the hidden one where it now stands.
    EXPECT_EQ(G->NextVisibleRow(3, true), 4);
    EXPECT_EQ(G->NextVisibleRow(1, true), 1);
    const TRect Hidden = G->CellRect(1, 3);
    EXPECT_LE(Hidden.Bottom - Hidden.Top, 1);
    G->Unsort();
    EXPECT_FALSE(G->GetRowVisible(2));
    EXPECT_EQ(G->NextVisibleRow(2, true), 3);
}

// The column's format ("009", "010", "100") is not the key.
TEST_F(SortingReading, NumbersSortByTheirPlainText) {
    TPellworthGrid* G = Show(1, 3);
    G->SetColFormat(1, "000");
    G->SetCellValue(1, 1, Variant(9));
    G->SetCellValue(1, 2, Variant(10));
    G->SetCellValue(1, 3, Variant(100));
    const int One[] = {1};
    G->Sort(One, 1, 0, 0);
    EXPECT_EQ(G->GetDataRownr(1), 2);
    EXPECT_EQ(G->GetDataRownr(2), 3);
    EXPECT_EQ(G->GetDataRownr(3), 1);
}

// Selection marks, heights and the current row go along with their rows;
// every move is reported while redrawing is off, and the grid is repainted
// once the rows stand in their new places.
TEST_F(SortingReading, RowsCarryTheirMarksAndTheGridRepaintsAfterwards) {
    TPellworthGrid* G = Show(1, 5);
    Fill(*G, 1, {"e", "d", "c", "b", "a"});
    G->SetRowHeight(2, 40);
    G->SetRowSelected(2, true);
    G->SetCurrentDataRow(4);
    std::vector<int> Moves;
    bool RedrawWhileMoving = false;
    G->OnRowMoved = [&](TObject*, int To, int, bool) {
        Moves.push_back(To);
        RedrawWhileMoving = RedrawWhileMoving || G->GetEnableRedraw();
    };
    int Paints = 0;
    G->OnPaint = [&](TObject*) { ++Paints; };
    const int One[] = {1};
    G->Sort(One, 1, 0, 0);
    EXPECT_FALSE(RedrawWhileMoving);
    EXPECT_FALSE(Moves.empty());
    EXPECT_TRUE(G->GetEnableRedraw());
    EXPECT_EQ(G->GetDisplayRownr(2), 4);
    EXPECT_EQ(G->GetRowHeight(2), 40);
    EXPECT_EQ(G->GetGridRowHeights(4), 40);
    EXPECT_TRUE(G->RowSelection().GetSelected(4));
    EXPECT_FALSE(G->RowSelection().GetSelected(2));
    EXPECT_EQ(G->GetCurrentDataRow(), 4);
    Paints = 0;
    QApplication::processEvents();
    EXPECT_GE(Paints, 1);
    G->OnRowMoved = nullptr;
    G->OnPaint = nullptr;
}

// The moves a sort reports are the moves of showing each row in turn at
// its place, one at a time.
TEST_F(SortingReading, ReportsTheSameMovesAsPlacingEachRowInTurn) {
    const std::vector<std::string> T = {"d", "a", "e", "c", "b", "f"};
    struct Move {
        int To, Count;
        bool ByUser;
        bool operator==(const Move&) const = default;
    };
    std::vector<Move> BySort, ByHand;
    TPellworthGrid* G = Show(1, 6);
    Fill(*G, 1, T);
    G->OnRowMoved = [&](TObject*, int To, int Count, bool ByUser) {
        BySort.push_back({To, Count, ByUser});
    };
    const int One[] = {1};
    G->Sort(One, 1, 0, 0);
    G->OnRowMoved = [&](TObject*, int To, int Count, bool ByUser) {
        ByHand.push_back({To, Count, ByUser});
    };
    G->Unsort();
    ByHand.clear();
    const int Order[] = {2, 5, 4, 1, 3, 6};
    for (int P = 1; P <= 6; ++P) G->SetDisplayRownr(Order[P - 1], P);
    EXPECT_EQ(BySort.size(), ByHand.size());
    EXPECT_TRUE(BySort == ByHand);
    G->OnRowMoved = nullptr;
}

TEST_F(SortingReading, SortedGridPaintsLikeAGridFilledInThatOrder) {
    TPellworthGrid* G = Show(1, 4);
    Fill(*G, 1, {"delta", "alpha", "charlie", "bravo"});
    G->SetCurrentDataRow(2);
    const int One[] = {1};
    G->Sort(One, 1, 0, 0);
    QApplication::processEvents();
    const QImage Sorted = G->Widget()->grab().toImage();
    delete Form;
    TPellworthGrid* R = Show(1, 4);
    Fill(*R, 1, {"alpha", "bravo", "charlie", "delta"});
    R->SetCurrentDataRow(1);
    QApplication::processEvents();
    const QImage Ref = R->Widget()->grab().toImage();
    EXPECT_TRUE(Sorted == Ref);
}

TEST_F(SortingReading, SelectedRowsListHoldsTheSelectedDisplayRowsAscending) {
    TPellworthGrid* G = Show(2, 6);
    G->BuildSelectedRowsList();
    EXPECT_TRUE(G->SelectedRowsList().empty());
    G->SetRowSelected(5, true);
    G->SetRowSelected(2, true);
    G->BuildSelectedRowsList();
    EXPECT_EQ(std::vector<int>(G->SelectedRowsList().begin(), G->SelectedRowsList().end()),
              (std::vector<int>{2, 5}));
    // Not kept up to date: it changes only when rebuilt.
    G->SetRowSelected(5, false);
    EXPECT_EQ(G->SelectedRowsList().size(), 2u);
    G->BuildSelectedRowsList();
    EXPECT_EQ(std::vector<int>(G->SelectedRowsList().begin(), G->SelectedRowsList().end()),
              (std::vector<int>{2}));
    G->SetRowSelected(2, false);
    G->BuildSelectedRowsList();
    EXPECT_TRUE(G->SelectedRowsList().empty());
}

TEST_F(SortingReading, SelectedRowsListFollowsRowsPickedWithTheMouseAfterASort) {
    TPellworthGrid* G = Show(2, 6);
    Fill(*G, 1, {"f", "e", "d", "c", "b", "a"});
    const int One[] = {1};
    G->Sort(One, 1, 0, 0);
    G->SetFocus();
    QApplication::processEvents();
    QWidget* W = G->Widget();
    const int F = G->WindowFrameWidth();
    auto RowBar = [&](int P) {
        const TRect R = G->CellRect(0, P);
        return QPoint((R.Left + R.Right) / 2 + F, (R.Top + R.Bottom) / 2 + F);
    };
    ClickAt(W, RowBar(2));
    QMouseEvent Press(QEvent::MouseButtonPress, QPointF(RowBar(4)),
                      QPointF(W->mapToGlobal(RowBar(4))), Qt::LeftButton, Qt::LeftButton,
                      Qt::ControlModifier);
    QApplication::sendEvent(W, &Press);
    QMouseEvent Up(QEvent::MouseButtonRelease, QPointF(RowBar(4)),
                   QPointF(W->mapToGlobal(RowBar(4))), Qt::LeftButton, Qt::NoButton,
                   Qt::ControlModifier);
    QApplication::sendEvent(W, &Up);
    TypeKey(W, 0);
    ASSERT_EQ(G->RowSelection().Count(), 2) << "row bar clicks select rows";
    G->BuildSelectedRowsList();
    EXPECT_EQ(std::vector<int>(G->SelectedRowsList().begin(), G->SelectedRowsList().end()),
              (std::vector<int>{2, 4}));
}

// A cell typed into while the rows are sorted keeps its text in its own
// data row.
TEST_F(SortingReading, AnEditGoingOnWhileSortingEndsInItsOwnRow) {
    TPellworthGrid* G = Show(1, 3);
    Fill(*G, 1, {"b", "c", "a"});
    G->SetFocus();
    G->SetCurrentDataRow(1);
    QApplication::processEvents();
    QWidget* W = G->Widget();
    TypeText(W, "x");
    QApplication::processEvents();
    const int One[] = {1};
    G->Sort(One, 1, 0, 0);
    QApplication::processEvents();
    QWidget* Focused = QApplication::focusWidget() ? QApplication::focusWidget() : W;
    TypeKey(Focused, Qt::Key_Return, "\r");
    QApplication::processEvents();
    EXPECT_EQ(VarToStr(G->GetCellValue(1, 1)), AnsiString("x"));
    EXPECT_EQ(VarToStr(G->GetCellValue(1, 2)), AnsiString("c"));
    EXPECT_EQ(VarToStr(G->GetCellValue(1, 3)), AnsiString("a"));
}

// A column beyond the grid reads as an empty value and adds nothing.
TEST_F(SortingReading, EmptyGridsSortAndAColumnBeyondTheGridAddsNothing) {
    const int One[] = {1};
    for (int Rows : {0, 1}) {
        TPellworthGrid* G = Show(1, Rows);
        G->Sort(One, 1, 1, 1);
        G->Unsort();
        if (Rows == 1) EXPECT_EQ(G->GetDisplayRownr(1), 1);
        delete Form;
        Form = nullptr;
    }
    TPellworthGrid* G = Show(1, 3);
    Fill(*G, 1, {"c", "b", "a"});
    const int Beyond[] = {1, 5};
    G->Sort(Beyond, 2, 0, 0);
    EXPECT_EQ(Shown(*G, 1), (std::vector<std::string>{"a", "b", "c"}));
}

// Rows taken out or put in before a sort are sorted with the rest, and
// the sort after them shows every remaining row once.
TEST_F(SortingReading, SortsTheRowsLeftAfterDeletingAndInserting) {
    TPellworthGrid* G = Show(1, 5);
    Fill(*G, 1, {"e", "x", "c", "b", "a"});
    G->DeleteRows(2, 2);
    ASSERT_EQ(G->GetGridRowCount(), 4);
    const int One[] = {1};
    G->Sort(One, 1, 0, 0);
    EXPECT_EQ(Shown(*G, 1), (std::vector<std::string>{"a", "b", "c", "e"}));
    G->InsertRow(1);
    ASSERT_EQ(G->GetGridRowCount(), 5);
    G->SetCellValue(1, G->GetDataRownr(1), Variant(AnsiString("d")));
    G->Sort(One, 1, 1, 0);
    EXPECT_EQ(Shown(*G, 1), (std::vector<std::string>{"e", "d", "c", "b", "a"}));
    G->Unsort();
    for (int R = 1; R <= 5; ++R) EXPECT_EQ(G->GetDisplayRownr(R), R);
}

// A caller that switched redrawing off keeps it off through a sort.
TEST_F(SortingReading, RedrawSwitchedOffByTheCallerStaysOffThroughASort) {
    TPellworthGrid* G = Show(1, 3);
    Fill(*G, 1, {"c", "b", "a"});
    G->SetEnableRedraw(false);
    const int One[] = {1};
    G->Sort(One, 1, 0, 0);
    G->Unsort();
    EXPECT_FALSE(G->GetEnableRedraw());
    G->SetEnableRedraw(true);
    EXPECT_TRUE(G->GetEnableRedraw());
}

} // namespace
