// Texts repainted in part: a repaint that reaches a text's ink box but none
// of its glyphs, seen through the grid's public calls and the pixels of its
// backing image.
#include "grid/model/Columns.h"
#include "grid/tests/ShownGridFixture.h"
#include "platform/gui/WindowScroll.h"

#include <string>

using namespace grid;

namespace {

class GridPaintClip : public ShownGridFixture {
protected:
    TColor Pixel(int X, int Y) { return Grid->Canvas()->Pixels(X, Y); }
    bool AnyPixel(const TRect& R, TColor Color) {
        for (int Y = R.Top; Y < R.Bottom; ++Y)
            for (int X = R.Left; X < R.Right; ++X)
                if (Pixel(X, Y) == Color) return true;
        return false;
    }
};

TEST_F(GridPaintClip, ARepaintBetweenTwoWordsOfAWideTextDrawsNothingThere) {
    ShowGrid(2, 3);
    Grid->SetStoreData(true);
    Grid->SetColor(clWhite);
    Grid->GridCols()->Item(1)->SetWidth(400);
    Grid->GridCols()->Item(1)->SetColor(clWhite);
    Grid->Font()->SetColor(clBlack);
    Grid->SetCellValue(1, 2, Variant("W" + std::string(40, ' ') + "W"));
    Grid->Invalidate();
    Grid->Update();
    const TRect Cell = Grid->CellRect(Grid->GetDisplayCol(1), Grid->GetDisplayRow(2));
    ASSERT_TRUE(AnyPixel(TRect{Cell.Left, Cell.Top, Cell.Left + 30, Cell.Bottom}, clBlack))
        << "the first word is drawn";

    // Between the words, inside the text's ink box but clear of every glyph.
    const int Middle = Cell.Left + 120;
    const TRect Gap{Middle, (Cell.Top + Cell.Bottom) / 2, Middle + 2,
                    (Cell.Top + Cell.Bottom) / 2 + 2};
    InvalidateRect(Grid, &Gap, false);
    Grid->Update();

    EXPECT_FALSE(AnyPixel(Gap, clBlack));
    EXPECT_TRUE(AnyPixel(TRect{Cell.Left, Cell.Top, Cell.Left + 30, Cell.Bottom}, clBlack));
}

} // namespace
