// The program's own cursors: made from a picture and mask or from bit
// planes, registered by number, shown on a control by that number.
#include "platform/gui/Cursors.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtApp.h"
#include "platform/rtl/Exceptions.h"

#include <QCursor>
#include <QPixmap>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr int ArrowId = 14100;

// A 4 x 3 picture: red left column, blue elsewhere; the mask lets the
// screen through in the right column.
std::unique_ptr<TBitmap> Picture(TColor Left, TColor Rest, int Width = 4, int Height = 3) {
    auto B = std::make_unique<TBitmap>();
    B->SetSize(Width, Height);
    B->Canvas()->Brush()->SetColor(Rest);
    B->Canvas()->FillRect(Rect(0, 0, Width, Height));
    B->Canvas()->Brush()->SetColor(Left);
    B->Canvas()->FillRect(Rect(0, 0, 1, Height));
    return B;
}

class CursorsTest : public ::testing::Test {
protected:
    void SetUp() override { EnsureQtApplication(); }
    void TearDown() override { Screen->SetCursors(ArrowId, nullptr); }
};

TEST_F(CursorsTest, PictureAndMaskGiveColoursAndHoles) {
    auto Image = Picture(clRed, clBlue);
    auto Mask = Picture(clBlack, clBlack);
    Mask->Canvas()->Brush()->SetColor(clWhite);
    Mask->Canvas()->FillRect(Rect(3, 0, 4, 3));
    HCURSOR C = CreateCursorFromBitmaps(Image.get(), Mask.get(), 1, 2);
    EXPECT_EQ(CursorSize(C).X, 4);
    EXPECT_EQ(CursorSize(C).Y, 3);
    EXPECT_EQ(CursorHotSpot(C).X, 1);
    EXPECT_EQ(CursorHotSpot(C).Y, 2);
    EXPECT_EQ(CursorPixel(C, 0, 0), clRed);
    EXPECT_EQ(CursorPixel(C, 2, 1), clBlue);
    EXPECT_EQ(CursorPixel(C, 3, 1), clNone);
    EXPECT_TRUE(DestroyCursor(C));
}

TEST_F(CursorsTest, BitPlanesFollowTheAndXorRules) {
    // One row of 4 pixels, padded to 16 bits: AND 0011, XOR 0101.
    const std::uint8_t And[] = {0x30, 0x00};
    const std::uint8_t Xor[] = {0x50, 0x00};
    HCURSOR C = CreateCursor(0, 0, 4, 1, And, Xor);
    EXPECT_EQ(CursorPixel(C, 0, 0), clBlack);
    EXPECT_EQ(CursorPixel(C, 1, 0), clWhite);
    EXPECT_EQ(CursorPixel(C, 2, 0), clNone);
    EXPECT_EQ(CursorPixel(C, 3, 0), clBlack); // inverted screen, shown black
    EXPECT_TRUE(DestroyCursor(C));
}

TEST_F(CursorsTest, BadImagesAreRefused) {
    auto Image = Picture(clRed, clBlue);
    auto Smaller = Picture(clBlack, clBlack, 3, 3);
    TBitmap Empty;
    const std::uint8_t Plane[] = {0, 0};
    EXPECT_THROW(CreateCursorFromBitmaps(Image.get(), Smaller.get(), 0, 0), EInvalidOperation);
    EXPECT_THROW(CreateCursorFromBitmaps(&Empty, &Empty, 0, 0), EInvalidOperation);
    EXPECT_THROW(CreateCursorFromBitmaps(Image.get(), Image.get(), 4, 0), EInvalidOperation);
    EXPECT_THROW(CreateCursor(0, 0, 0, 1, Plane, Plane), EInvalidOperation);
    EXPECT_THROW(CreateCursor(0, 1, 1, 1, Plane, Plane), EInvalidOperation);
    EXPECT_FALSE(DestroyCursor(nullptr));
}

TEST_F(CursorsTest, ARegisteredCursorShowsOnAControlByItsNumber) {
    auto Image = Picture(clRed, clBlue);
    auto Mask = Picture(clBlack, clBlack);
    HCURSOR C = CreateCursorFromBitmaps(Image.get(), Mask.get(), 2, 1);
    Screen->SetCursors(ArrowId, C);
    EXPECT_EQ(Screen->Cursors(ArrowId), C);
    // The screen's list owns it now.
    EXPECT_FALSE(DestroyCursor(C));

    TForm Form(nullptr);
    Form.SetCursor(ArrowId);
    const QCursor Shown = Form.Widget()->cursor();
    ASSERT_EQ(Shown.shape(), Qt::BitmapCursor);
    EXPECT_EQ(Shown.hotSpot(), QPoint(2, 1));
    EXPECT_EQ(Shown.pixmap().toImage().pixel(0, 0), 0xFFFF0000u);

    // Replacing the entry frees the old cursor; removing it gives the
    // platform's arrow for the number.
    HCURSOR Other = CreateCursorFromBitmaps(Image.get(), Mask.get(), 0, 0);
    Screen->SetCursors(ArrowId, Other);
    EXPECT_EQ(Screen->Cursors(ArrowId), Other);
    Screen->SetCursors(ArrowId, nullptr);
    EXPECT_EQ(Screen->Cursors(ArrowId), nullptr);
    Form.SetCursor(crDefault);
    Form.SetCursor(ArrowId);
    EXPECT_EQ(Form.Widget()->cursor().shape(), Qt::ArrowCursor);
    // A handle that isn't a live cursor of ours is refused.
    EXPECT_THROW(Screen->SetCursors(ArrowId, Other), EInvalidOperation);
}

TEST_F(CursorsTest, AStandardNumberCanBeReplaced) {
    auto Image = Picture(clRed, clBlue);
    auto Mask = Picture(clBlack, clBlack);
    Screen->SetCursors(crHSplit, CreateCursorFromBitmaps(Image.get(), Mask.get(), 0, 0));
    TForm Form(nullptr);
    Form.SetCursor(crHSplit);
    EXPECT_EQ(Form.Widget()->cursor().shape(), Qt::BitmapCursor);
    Screen->SetCursors(crHSplit, nullptr);
    Form.SetCursor(crDefault);
    Form.SetCursor(crHSplit);
    EXPECT_EQ(Form.Widget()->cursor().shape(), Qt::SizeHorCursor);
}

} // namespace
