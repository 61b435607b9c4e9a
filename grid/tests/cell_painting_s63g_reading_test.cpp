// Cell painting as the shown window shows it: the ground a raised picture
// cell leaves around a small picture, and check cells drawn by the in-place
// control of an editing grid.
#include "DropDownFixture.h"
#include "ShownGridPixels.h"

#include "platform/gui/Colors.h"
#include "platform/gui/Graphics.h"
#include "platform/rtl/Variant.h"

#include <memory>

using namespace grid;

namespace {

std::unique_ptr<TBitmap> Solid(TColor C) {
    auto B = std::make_unique<TBitmap>();
    B->SetSize(6, 6);
    B->Canvas()->Brush()->SetColor(C);
    B->Canvas()->FillRect(Rect(0, 0, 6, 6));
    return B;
}

struct GroundCase {
    const char* Name;
    bool Raised;
    TColor Ground;
};

class PictureGround : public ShownGridPixels, public ::testing::WithParamInterface<GroundCase> {};

// A small, unstretched picture leaves the rest of its cell in the cell's
// ground: the button face for a raised cell, the grid colour otherwise.
TEST_P(PictureGround, UncoveredPartOfThePictureCellShowsTheGround) {
    ShowFocused(4, 4);
    Grid->SetStretchPicture(false);
    Grid->SetCenterPicture(false);
    Grid->SetShrinkPicture(false);
    Grid->SetColor(clYellow);
    Grid->SetIs3D(GetParam().Raised);
    Grid->SetCellControlType(3, 3, ctPicture);
    auto Red = Solid(clRed);
    Grid->SetCellValue(3, 3, VarFromObject(Red.get()));
    Grid->SetCol(1);
    Grid->SetRow(1);
    Grid->InvalidateGridNow();
    Shot();
    const TRect R = Grid->CellRect(3, 3);
    EXPECT_GT(CountOf(Rect(R.Left, R.Top, R.Right, R.Bottom), clRed), 0) << "picture drawn";
    // The lower right quarter lies beyond the 6-pixel picture.
    const TRect Far = Rect((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2, R.Right - 3,
                           R.Bottom - 3);
    const int All = (Far.Right - Far.Left) * (Far.Bottom - Far.Top);
    EXPECT_EQ(CountOf(Far, ColorToRGB(GetParam().Ground)), All);
}

INSTANTIATE_TEST_SUITE_P(Cells, PictureGround,
                         ::testing::Values(GroundCase{"Flat", false, clYellow},
                                           GroundCase{"Raised", true, clBtnFace}),
                         [](const auto& I) { return std::string(I.param.Name); });

// The current check cell of an editing grid is drawn by the in-place check
// control; its box shows the same mark as the same value in a cell that is
// not current, and a checked and an unchecked cell differ.
class CheckThroughControl : public ShownGridPixels, public ::testing::WithParamInterface<bool> {};

TEST_P(CheckThroughControl, CurrentCheckCellOfAnEditingGridShowsItsMark) {
    ShowGrid(4, 4);
    Grid->SetStoreData(true);
    Grid->SetGridMode(gmEdit);
    Grid->SetAlwaysShowEditor(true);
    for (int R = 1; R <= 3; ++R) Grid->SetCellControlType(2, R, ctCheck);
    Grid->SetCellValue(2, 2, Variant(GetParam() ? 1 : 0));
    Grid->SetCellValue(2, 3, Variant(GetParam() ? 1 : 0));
    Grid->SetCellValue(2, 1, Variant(GetParam() ? 0 : 1));
    ShowActive(*Form);
    Grid->SetFocus();
    Grid->SetCol(2);
    Grid->SetRow(2);
    Settle();
    Shot();
    // The box in the middle of the cell, clear of the focus frame.
    auto Box = [&](int Row) {
        const TRect R = Grid->CellRect(2, Row);
        const int Mid = (R.Left + R.Right) / 2;
        return Pixels(Rect(Mid - 7, R.Top + 1, Mid + 7, R.Bottom - 1));
    };
    EXPECT_EQ(Box(2), Box(3)) << "current cell drawn by the control";
    EXPECT_NE(Box(1), Box(3)) << "the other state";
}

// Space on the in-place check control flips the current cell, and the grid
// shows the new state at once.
TEST_P(CheckThroughControl, FlippedBufferShowsAtOnce) {
    ShowGrid(4, 4);
    Grid->SetStoreData(true);
    Grid->SetGridMode(gmEdit);
    Grid->SetAlwaysShowEditor(true);
    for (int R = 1; R <= 3; ++R) Grid->SetCellControlType(2, R, ctCheck);
    Grid->SetCellValue(2, 1, Variant(GetParam() ? 0 : 1));
    Grid->SetCellValue(2, 2, Variant(GetParam() ? 1 : 0));
    ShowActive(*Form);
    Grid->SetFocus();
    Grid->SetCol(2);
    Grid->SetRow(2);
    Settle();
    TypeKey(QApplication::focusWidget(), Qt::Key_Space, " ");
    Settle();
    Grid->InvalidateGridNow();
    Shot();
    auto Box = [&](int Row) {
        const TRect R = Grid->CellRect(2, Row);
        const int Mid = (R.Left + R.Right) / 2;
        return Pixels(Rect(Mid - 7, R.Top + 1, Mid + 7, R.Bottom - 1));
    };
    EXPECT_EQ(Box(2), Box(1));
}

INSTANTIATE_TEST_SUITE_P(Values, CheckThroughControl, ::testing::Bool());

}  // namespace

namespace {

struct ListCase {
    const char* Name;
    TgxSelectionType ParentType;
    bool Coloured;
};

class ListSelectionColour : public DropDownFixture, public ::testing::WithParamInterface<ListCase> {};

// A drop-down list left at the default selection type colours or inverts its
// selected row as the grid it drops from does.
TEST_P(ListSelectionColour, DroppedListFollowsItsParentGrid) {
    Grid->SetStoreData(true);
    Grid->SetGridMode(gmEdit);
    Grid->SetSelectionType(GetParam().ParentType);
    Grid->SetSelectionColor(clRed);
    TgxComboGrid* List = GiveColumnList(2, {"a", "b", "c"});
    Grid->SetCellValue(2, 1, Variant(AnsiString("b")));
    List->SetSelectionType(sltDefault);
    List->SetSelectionColor(clLime);
    Grid->SetFocus();
    GoTo(2, 1);
    Key(Qt::Key_F4);
    ASSERT_TRUE(Grid->DropDownVisible());
    ASSERT_GT(List->Row(), 0);
    const QImage Shot = List->Widget()->grab().toImage();
    int Lime = 0;
    for (int Y = 0; Y < Shot.height(); ++Y)
        for (int X = 0; X < Shot.width(); ++X) Lime += Shot.pixel(X, Y) == qRgb(0, 255, 0);
    EXPECT_EQ(Lime > 0, GetParam().Coloured) << Lime;
}

INSTANTIATE_TEST_SUITE_P(
    Parents, ListSelectionColour,
    ::testing::Values(ListCase{"Colour", sltColor, true}, ListCase{"Invert", sltInvert, false}),
    [](const auto& I) { return std::string(I.param.Name); });

}  // namespace
