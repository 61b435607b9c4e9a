// Text and check cells as the shown window paints them: narrow cells, the
// application's drawing events and the selection look.
#include "ShownGridPixels.h"

#include "grid/model/Columns.h"
#include "platform/gui/Colors.h"
#include "platform/rtl/Variant.h"

using namespace grid;

namespace {

class CellPaintShown : public ShownGridPixels {
protected:
    void SetUp() override {
        ShowFocused(5, 5);
        Grid->SetCol(1);
        Grid->SetRow(1);
    }
    void Repaint() {
        Grid->Invalidate();
        Settle();
        Shot();
    }
    bool IsDark(TColor C) {
        return (C & 0xFF) < 0x60 && ((C >> 8) & 0xFF) < 0x60 && ((C >> 16) & 0xFF) < 0x60;
    }
    // Dark pixels of the cell's inside, in its left and right halves.
    std::pair<int, int> DarkHalves(int Col, int Row) {
        const TRect R = Grid->CellRect(Col, Row);
        const int Mid = (R.Left + R.Right) / 2;
        int Left = 0, Right = 0;
        for (int Y = R.Top + 1; Y < R.Bottom - 1; ++Y)
            for (int X = R.Left + 1; X < R.Right - 1; ++X)
                if (IsDark(At(X, Y))) ++(X < Mid ? Left : Right);
        return {Left, Right};
    }
    int Dark(int Col, int Row) {
        const auto [L, R] = DarkHalves(Col, Row);
        return L + R;
    }
};

TEST_F(CellPaintShown, TextNeedsMoreThanItsInsetToShow) {
    struct {
        int Width;
        bool Shows;
    } const Cases[] = {{4, false}, {60, true}};
    for (const auto& C : Cases) {
        Grid->GridCols()->Item(3)->SetWidth(C.Width);
        Grid->SetCellValue(3, 3, Variant("WWWWWW"));
        Repaint();
        EXPECT_EQ(Dark(3, 3) > 0, C.Shows) << "width " << C.Width;
    }
}

TEST_F(CellPaintShown, DrawInfoDefaultAlignmentDrawsLeft) {
    Grid->GridCols()->Item(3)->SetHorzAlignment(htaRight);
    Grid->SetCellValue(3, 3, Variant("II"));
    Repaint();
    auto [L, R] = DarkHalves(3, 3);
    EXPECT_TRUE(L == 0 && R > 0) << "column's own right alignment " << L << " " << R;
    Grid->OnGetDrawInfo = [](TObject*, int, int, TgxDrawInfo& I) { I.HorzAlignment = htaDefault; };
    Repaint();
    std::tie(L, R) = DarkHalves(3, 3);
    EXPECT_TRUE(L > 0 && R == 0) << "handler's default " << L << " " << R;
}

TEST_F(CellPaintShown, ValueLeftUnassignedByTheApplicationPaintsEmpty) {
    Grid->SetCellValue(3, 3, Variant("WWWW"));
    Repaint();
    ASSERT_GT(Dark(3, 3), 0);
    Grid->OnCellLoaded = [](TObject*, int, int, Variant& V) { V = Variant(); };
    Repaint();
    EXPECT_EQ(Dark(3, 3), 0);
}

TEST_F(CellPaintShown, SelectedCellsAreColouredOnlyWithASelectionColour) {
    Grid->SetSelectionType(sltColor);
    struct {
        TColor Selection;
        bool Cancel;
        TColor Expected;
    } const Cases[] = {{clNone, false, clBlack}, {clLime, false, clLime}, {clNone, true, clBlack}};
    for (const auto& C : Cases) {
        Grid->SetSelectionColor(C.Selection);
        // A handler that draws the cell itself paints it white.
        Grid->OnPaintCell = [&](TObject*, int, int, TRect R, TgxPaintCellState, bool& Cancel) {
            Cancel = C.Cancel;
            if (!Cancel) return;
            Grid->Canvas()->Brush()->SetColor(clWhite);
            Grid->Canvas()->FillRect(R);
        };
        Grid->SelectCells(3, 3, 3, 3);
        Repaint();
        const TRect R = Grid->CellRect(3, 3);
        EXPECT_EQ(At((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2), C.Expected)
            << "selection " << std::hex << C.Selection << " cancel " << C.Cancel;
    }
}

} // namespace

namespace {

TEST_F(CellPaintShown, EmptyCellsLookLikeTheirKindsEmptyValue) {
    struct {
        const char* Name;
        TgxControlType Type;
        Variant Empty;
        Variant Shown;
    } const Cases[] = {{"check", ctCheck, Variant(2), Variant(1)},
                       {"text", ctText, Variant(""), Variant("W")}};
    for (const auto& C : Cases) {
        Grid->SetCellControlType(3, 3, C.Type);
        Grid->SetCellControlType(3, 4, C.Type);
        Grid->SetCellControlType(3, 2, C.Type);
        Grid->SetCellValue(3, 4, C.Empty);
        Grid->SetCellValue(3, 2, C.Shown);
        Repaint();
        auto Inside = [&](int Row) {
            const TRect R = Grid->CellRect(3, Row);
            return Pixels(Rect(R.Left, R.Top, R.Right, R.Bottom - 1));
        };
        EXPECT_EQ(Inside(3), Inside(4)) << C.Name;
        EXPECT_NE(Inside(3), Inside(2)) << C.Name << " with a value";
    }
}

TEST_F(CellPaintShown, EditColourColoursOnlyTheCurrentTextCellOfAnEditingGrid) {
    Grid->SetGridMode(gmEdit);
    Grid->SetAlwaysShowEditor(true);
    Grid->SetEditColor(clYellow);
    Grid->SetCellControlType(3, 4, ctCheck);
    struct {
        int Row;
        bool Yellow;
    } const Cases[] = {{3, true}, {4, false}};
    for (const auto& C : Cases) {
        Grid->SetCol(3);
        Grid->SetRow(C.Row);
        Repaint();
        const TRect R = Grid->CellRect(3, C.Row);
        EXPECT_EQ(CountOf(Rect(R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom - 2), clYellow) > 0,
                  C.Yellow)
            << "row " << C.Row;
        const TRect O = Grid->CellRect(2, C.Row);
        EXPECT_EQ(CountOf(O, clYellow), 0) << "beside row " << C.Row;
    }
}

} // namespace
