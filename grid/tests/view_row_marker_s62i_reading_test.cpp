// The current-row mark in the row bar follows the current row, drawn and
// erased on the window as the keys move it.
#include "ShownGridPixels.h"

using namespace grid;

namespace {

class ViewRowMarkerTest : public ShownGridPixels {
protected:
    std::vector<TColor> RowBar(int DisplayRow) { return Pixels(Grid->CellRect(0, DisplayRow)); }
};

TEST_F(ViewRowMarkerTest, TheMarkMovesWithTheCurrentRow) {
    ShowFocused(3, 5);
    Grid->SetRowBarOn(true);
    Grid->SetRowBarWidth(16);
    Shot();
    ASSERT_EQ(Grid->Row(), 2);
    const std::vector<TColor> plain = RowBar(4);
    EXPECT_NE(RowBar(2), plain) << "the current row is marked";
    EXPECT_EQ(RowBar(3), plain);
    TypeKey(Grid->Widget(), Qt::Key_Down);
    Shot();
    ASSERT_EQ(Grid->Row(), 3);
    EXPECT_EQ(RowBar(2), plain) << "the old mark is erased";
    EXPECT_NE(RowBar(3), plain) << "the new row is marked";
}

TEST_F(ViewRowMarkerTest, TheInsertionRowKeepsItsMarkWhenLeft) {
    ShowFocused(3, 3);
    Grid->SetRowBarOn(true);
    Grid->SetRowBarWidth(16);
    Grid->SetGridMode(gmEditInsert);
    Shot();
    const int insertRow = Grid->RowCount() - 1;
    ASSERT_TRUE(Grid->IsInsertRow(insertRow));
    const std::vector<TColor> plain = RowBar(1);
    const std::vector<TColor> insertMark = RowBar(insertRow);
    EXPECT_NE(insertMark, plain) << "the insertion row shows its picture";
    Grid->SetCurrentCell(1, insertRow);
    Shot();
    Grid->SetCurrentCell(1, 1);
    Shot();
    EXPECT_EQ(RowBar(insertRow), insertMark) << "left again, it shows its picture again";
    EXPECT_NE(RowBar(1), plain);
}

} // namespace
