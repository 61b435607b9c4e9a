// A picture cell drawn transparent: the colour an image-list picture names,
// or a bare bitmap's own, lets the cell's background through.
#include "ShownGridPixels.h"

#include "grid/foundation/GridCommonVariant.h"
#include "grid/foundation/ImageList.h"

#include <gtest/gtest.h>

#include <memory>

using namespace grid;

namespace {

class PictureTransparency : public ShownGridPixels {};

std::unique_ptr<TBitmap> RedWithBlueCore(bool Transparent) {
    auto B = std::make_unique<TBitmap>();
    B->SetSize(20, 20);
    B->Canvas()->Brush()->SetColor(clRed);
    B->Canvas()->FillRect(Rect(0, 0, 20, 20));
    B->Canvas()->Brush()->SetColor(clBlue);
    B->Canvas()->FillRect(Rect(5, 5, 15, 15));
    B->SetTransparentMode(tmFixed);
    B->SetTransparentColor(clRed);
    B->SetTransparent(Transparent);
    return B;
}

TEST_F(PictureTransparency, TheTransparentColourShowsTheCellBehind) {
    const struct {
        bool FromList;
        bool Transparent;
    } Cases[] = {{true, true}, {true, false}, {false, true}, {false, false}};
    for (const auto& C : Cases) {
        ShowFocused(3, 3);
        Grid->SetColor(clWhite);
        Grid->SetColWidths(1, 60);
        Grid->SetRowHeights(1, 30);
        Grid->SetCellControlType(1, 1, ctPicture);
        TgxImageList List(nullptr);
        auto Bitmap = RedWithBlueCore(C.FromList ? false : C.Transparent);
        if (C.FromList) {
            TgxImage* Item = List.Images()->Add();
            Item->SetBitmap(Bitmap.get());
            Item->SetRefName("flag");
            Item->SetTransparentMode(tmFixed);
            Item->SetTransparentColor(clRed);
            Item->SetTransparent(C.Transparent);
            Grid->SetImageList(&List);
            Grid->SetCellValue(1, 1, Variant("flag"));
        } else {
            Grid->SetCellValue(1, 1, ObjectToVariant(Bitmap.get()));
        }
        Grid->Invalidate();
        Shot();
        TRect R = Grid->CellRect(1, 1);
        R = Rect(R.Left + 3, R.Top + 3, R.Right - 3, R.Bottom - 3);
        const int Red = CountOf(R, clRed);
        EXPECT_GT(CountOf(R, clBlue), 0) << C.FromList << C.Transparent;
        if (C.Transparent) {
            EXPECT_EQ(Red, 0) << C.FromList;
            EXPECT_GT(CountOf(R, clWhite), 0) << C.FromList;
        } else {
            EXPECT_GT(Red, 0) << C.FromList;
        }
        // Drawing the picture settles: it asks for no further paint.
        int Paints = 0;
        Grid->OnPaint = [&](TObject*) { ++Paints; };
        QApplication::processEvents();
        QApplication::processEvents();
        EXPECT_EQ(Paints, 0) << C.FromList << C.Transparent;
        Grid->OnPaint = nullptr;
        Grid->SetImageList(nullptr);
        Grid->SetCellValue(1, 1, Variant());
        delete Form;
        Form = nullptr;
    }
}

}  // namespace
