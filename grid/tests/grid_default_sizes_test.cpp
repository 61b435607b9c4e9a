// A new default row height or column width resizes the data rows and
// columns; the heading and the row bar keep their own sizes, seen in the
// sizes the grid reports and in where it paints them.
#include "grid/tests/ShownGridFixture.h"

#include <functional>

using namespace grid;

namespace {

class GridDefaultSizes : public ShownGridFixture {
protected:
    void SetUp() override {
        ShowGrid(4, 6);
        Grid->SetHeadingColor(clAqua);
        Grid->SetColor(clWhite);
    }
    TColor Pixel(int X, int Y) {
        Grid->Invalidate();
        Grid->Update();
        return Grid->Canvas()->Pixels(X, Y);
    }
};

TEST_F(GridDefaultSizes, ANewDefaultSizeLeavesTheHeadingAndTheRowBarTheirOwn) {
    struct TCase {
        const char* Name;
        std::function<void()> Set;
        int Heading, RowBar; // their pixel sizes afterwards
        int DefaultRow, DefaultCol;
    };
    const TCase Cases[] = {
        {"row height",
         [&] {
             Grid->SetHeadingHeight(15);
             Grid->SetDefaultRowHeight(22);
         },
         15, 14, 22, 64},
        {"column width",
         [&] {
             Grid->SetRowBarWidth(14);
             Grid->SetDefaultColWidth(40);
         },
         15, 14, 22, 40},
        {"row height with the heading off",
         [&] {
             Grid->SetHeadingOn(false);
             Grid->SetDefaultRowHeight(30);
         },
         0, 14, 30, 40},
        {"column width with the row bar off",
         [&] {
             Grid->SetRowBarOn(false);
             Grid->SetDefaultColWidth(50);
         },
         0, 0, 30, 50},
        {"both back on",
         [&] {
             Grid->SetHeadingOn(true);
             Grid->SetRowBarOn(true);
         },
         15, 14, 30, 50},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        Case.Set();
        EXPECT_EQ(Grid->GetHeadingHeight(), 15);
        EXPECT_EQ(Grid->GetRowBarWidth(), 14);
        EXPECT_EQ(Grid->RowHeights(0), Case.Heading);
        EXPECT_EQ(Grid->ColWidths(0), Case.RowBar);
        EXPECT_EQ(Grid->RowHeights(Grid->GetDisplayRow(2)), Case.DefaultRow);
        EXPECT_EQ(Grid->ColWidths(Grid->GetDisplayCol(2)), Case.DefaultCol);

        // The heading's colour ends where the first row starts, the row
        // bar's where the first column starts.
        const TRect First = Grid->CellRect(1, 1);
        EXPECT_EQ(First.Top, Case.Heading);
        EXPECT_EQ(First.Left, Case.RowBar);
        const int X = (First.Left + First.Right) / 2;
        // Row 2: the current row's bar carries its mark.
        const TRect Second = Grid->CellRect(1, 2);
        const int Y = (Second.Top + Second.Bottom) / 2;
        if (Case.Heading > 0) EXPECT_EQ(Pixel(X, Case.Heading - 3), clAqua);
        EXPECT_EQ(Pixel(X, Case.Heading + 3), clWhite);
        if (Case.RowBar > 0) EXPECT_EQ(Pixel(Case.RowBar - 3, Y), clAqua);
        EXPECT_EQ(Pixel(Case.RowBar + 3, Y), clWhite);
    }
}

} // namespace
