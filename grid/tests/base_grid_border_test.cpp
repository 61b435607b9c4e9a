// The base grid's border: a single border is a sunken client edge around
// the cells and the scroll bars, and changing it lays the grid out again.
#include "BaseGridFixture.h"
#include "GridShot.h"

#include "platform/gui/Colors.h"
#include "platform/gui/tests/GuiTestSupport.h"

namespace gridtest {
namespace {

class BaseGridBorder : public GridOnForm<TProbeStringGrid> {
protected:
    void SetUp() override {
        GridOnForm::SetUp();
        Grid->SetColCount(8);
        Grid->SetRowCount(20);
        for (int R = 0; R < 20; ++R)
            for (int C = 0; C < 8; ++C)
                Grid->SetCells(C, R, std::to_string(C) + "," + std::to_string(R));
    }

    // The whole control as it shows, frame included.
    std::unique_ptr<TBitmap> Shot() {
        auto B = std::make_unique<TBitmap>();
        B->SetSize(Grid->Width(), Grid->Height());
        Grid->PaintTo(B->Canvas());
        return B;
    }
};

TEST_F(BaseGridBorder, ASingleBorderIsASunkenEdgeAroundTheCells) {
    ASSERT_EQ(Grid->BorderStyle(), bsSingle);
    SaveControlShot(*Grid, "base_grid_single_border");
    const auto B = Shot();
    TCanvas* C = B->Canvas();
    // Outer ring dark at the top and left, light at the bottom and right;
    // the inner ring darker still, then the first fixed cell.
    EXPECT_EQ(C->Pixels(0, 100), ColorToRGB(clBtnShadow));
    EXPECT_EQ(C->Pixels(100, 0), ColorToRGB(clBtnShadow));
    EXPECT_EQ(C->Pixels(1, 100), ColorToRGB(cl3DDkShadow));
    EXPECT_EQ(C->Pixels(Grid->Width() - 1, 10), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(C->Pixels(10, Grid->Height() - 1), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(C->Pixels(5, 5), ColorToRGB(clBtnFace)); // inside cell (0, 0)
    // The client area lies inside both the edge and the scroll bars.
    const int Bar = GetSystemMetrics(SM_CXVSCROLL);
    EXPECT_EQ(Grid->ClientWidth(), Grid->Width() - 4 - Bar);
    EXPECT_EQ(Grid->ClientHeight(), Grid->Height() - 4 - Bar);
    EXPECT_EQ(Grid->ClientToScreen(Point(0, 0)),
              Grid->Parent()->ClientToScreen(Point(Grid->Left() + 2, Grid->Top() + 2)));
}

TEST_F(BaseGridBorder, APressOnTheWindowHitsTheCellUnderIt) {
    // Cell (2, 3) lies at client (131.., 75..): two pixels further in the window.
    const TRect Cell = Grid->CellRect(2, 3);
    SendMouse(Grid->Widget(), QEvent::MouseButtonPress, QPoint(Cell.Left + 2 + 5, Cell.Top + 2 + 5));
    SendMouse(Grid->Widget(), QEvent::MouseButtonRelease,
              QPoint(Cell.Left + 2 + 5, Cell.Top + 2 + 5));
    EXPECT_EQ((TGridCoord{Grid->Col(), Grid->Row()}), (TGridCoord{2, 3}));
}

TEST_F(BaseGridBorder, ChangingTheBorderLaysTheGridOutAgain) {
    Grid->SetOptions(Grid->Options() + TGridOptions{goEditing, goAlwaysShowEditor});
    Grid->SetCol(2);
    ASSERT_NE(Grid->InplaceEditor(), nullptr);
    const int Width = Grid->ClientWidth(), Height = Grid->ClientHeight();
    const int Rows = Grid->VisibleRowCount();
    const TRect Edited = Grid->InplaceEditor()->BoundsRect();

    Grid->SetBorderStyle(bsNone);
    EXPECT_EQ(Grid->ClientWidth(), Width + 4);
    EXPECT_EQ(Grid->ClientHeight(), Height + 4);
    // Four more pixels of height: the rows that fit are counted again, and
    // the scroll range follows.
    TGridDrawInfo Info;
    Grid->CalcDrawInfo(Info);
    EXPECT_EQ(Info.Vert.GridExtent, Height + 4);
    EXPECT_GE(Grid->VisibleRowCount(), Rows);
    // The cells now reach the window's edge, and the editor stays over its cell.
    const auto B = Shot();
    EXPECT_EQ(B->Canvas()->Pixels(1, 110), ColorToRGB(clBtnFace)); // inside cell (0, 4)
    EXPECT_EQ(Grid->InplaceEditor()->BoundsRect(), Edited);
    EXPECT_EQ(Grid->InplaceEditor()->ClientToScreen(Point(0, 0)),
              Grid->ClientToScreen(Point(Edited.Left, Edited.Top)));

    Grid->SetBorderStyle(bsSingle);
    EXPECT_EQ(Grid->ClientWidth(), Width);
    EXPECT_EQ(Shot()->Canvas()->Pixels(1, 110), ColorToRGB(cl3DDkShadow));
    EXPECT_EQ(Grid->InplaceEditor()->ClientToScreen(Point(0, 0)),
              Grid->ClientToScreen(Point(Edited.Left, Edited.Top)));
}

TEST_F(BaseGridBorder, AFlatGridHasAOnePixelBorderAndPlainFixedCells) {
    const int Width = Grid->ClientWidth();
    Grid->SetCtl3D(false);
    EXPECT_EQ(Grid->ClientWidth(), Width + 2);
    const auto B = Shot();
    EXPECT_EQ(B->Canvas()->Pixels(0, 110), ColorToRGB(clWindowFrame));
    EXPECT_EQ(B->Canvas()->Pixels(Grid->Width() - 1, 110), ColorToRGB(clWindowFrame));
    // Cell (0, 4) starts at x 1, with no raised edge of its own.
    EXPECT_EQ(B->Canvas()->Pixels(1, 110), ColorToRGB(clBtnFace));
    EXPECT_EQ(B->Canvas()->Pixels(10, 101), ColorToRGB(clBtnFace));
    Grid->SetCtl3D(true);
    EXPECT_EQ(Grid->ClientWidth(), Width);
    EXPECT_EQ(Shot()->Canvas()->Pixels(12, 102), ColorToRGB(clBtnHighlight)); // the raised top
}

// A grid given its parent and size before the form shows, with nothing
// that would lay it out again (no scroll bar, no resize): the window as it
// shows has the sunken edge all round and the cells right inside it.
class BaseGridBorderAtShow : public GridOnForm<TProbeStringGrid> {};

TEST_F(BaseGridBorderAtShow, AGridShownWithoutScrollBarsHasItsEdgeAndItsCellsInsideIt) {
    ASSERT_EQ(Grid->ClientWidth(), Grid->Width() - 4); // no scroll bar
    QApplication::processEvents();
    for (const bool BorderChanged : {false, true}) {
        SCOPED_TRACE(BorderChanged ? "after the border went and came back" : "as first shown");
        if (BorderChanged) {
            Grid->SetBorderStyle(bsNone);
            Grid->SetBorderStyle(bsSingle);
            QApplication::processEvents();
        }
        EXPECT_EQ(Grid->ClientToScreen(Point(0, 0)),
                  Grid->Parent()->ClientToScreen(Point(Grid->Left() + 2, Grid->Top() + 2)));
        // What the window shows, the frame and the client widget inside it.
        const QImage Shown = Grid->Widget()->grab().toImage();
        ASSERT_EQ(Shown.width(), Grid->Width());
        const auto At = [&](int X, int Y) {
            const QRgb P = Shown.pixel(X, Y);
            return static_cast<TColor>(qRed(P) | qGreen(P) << 8 | qBlue(P) << 16);
        };
        EXPECT_EQ(At(0, 100), ColorToRGB(clBtnShadow));
        EXPECT_EQ(At(1, 100), ColorToRGB(cl3DDkShadow));
        EXPECT_EQ(At(Grid->Width() - 1, 100), ColorToRGB(clBtnHighlight));
        EXPECT_EQ(At(100, Grid->Height() - 1), ColorToRGB(clBtnHighlight));
        // Beside the last column and under the last row the grid's colour,
        // up to the edge.
        EXPECT_EQ(At(Grid->Width() - 4, 100), ColorToRGB(Grid->Color()));
        EXPECT_EQ(At(100, Grid->Height() - 4), ColorToRGB(Grid->Color()));
        EXPECT_EQ(At(5, 5), ColorToRGB(clBtnFace)); // inside cell (0, 0)
    }
}

} // namespace
} // namespace gridtest
