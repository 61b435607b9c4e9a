// Picture cells as a shown grid paints them: which colour drops out as
// transparent, and the selection overlay over a picture.
#include "ShownGridPixels.h"

#include "grid/foundation/GridCommonVariant.h"
#include "grid/foundation/ImageList.h"
#include "grid/model/Columns.h"
#include "grid/model/CurrentCell.h"

#include <algorithm>
#include <memory>

using namespace grid;

namespace {

// 16 x 16: a red ground with a blue 8 x 8 square in the middle.
std::unique_ptr<TBitmap> RedWithBlueSquare() {
    auto B = std::make_unique<TBitmap>();
    B->SetSize(16, 16);
    B->Canvas()->Brush()->SetColor(clRed);
    B->Canvas()->FillRect(Rect(0, 0, 16, 16));
    B->Canvas()->Brush()->SetColor(clBlue);
    B->Canvas()->FillRect(Rect(4, 4, 12, 12));
    return B;
}

class CellPictureS63c : public ShownGridPixels {
protected:
    void ShowPictureGrid() {
        ShowFocused(3, 3);
        Grid->GridCols()->Item(1)->SetControlType(ctPicture);
        Grid->SetColor(clWhite);
        Grid->SetStretchPicture(false);
        Grid->SetShrinkPicture(false);
        Grid->SetCenterPicture(true);
    }
    TgxImage* AddImage(const AnsiString& Name, bool Transparent) {
        if (!List) {
            List = new TgxImageList(Form);
            Grid->SetImageList(List);
        }
        TgxImage* Image = List->GetImageCollection()->Add();
        auto Bitmap = RedWithBlueSquare();
        Image->SetBitmap(Bitmap.get());
        Image->SetRefName(Name);
        Image->SetTransparent(Transparent);
        if (Transparent) Image->SetTransparentColor(clRed);
        return Image;
    }
    TRect PictureCell() { return Grid->CellRect(1, 1); }

    TgxImageList* List = nullptr;
    std::unique_ptr<TBitmap> Bitmap = RedWithBlueSquare();
};

// Where the colour a picture drops out comes from, and what it leaves in
// the grid's own TransparentColor.
TEST_F(CellPictureS63c, TransparentColourComesFromTheRightSource) {
    enum Source { BareBitmap, ImageItem, DrawInfo };
    struct Case {
        const char* Name;
        Source From;
        bool PictureTransparent; // the bitmap's flag, or the image item's
        TColor GridColour;       // the grid's TransparentColor set beforehand
        bool RedShows;
        TColor GridColourAfter;
    };
    const Case Cases[] = {
        {"opaque bitmap", BareBitmap, false, clNone, true, clNone},
        {"opaque bitmap, grid colour", BareBitmap, false, clRed, false, clRed},
        {"transparent bitmap hands its colour to the grid", BareBitmap, true, clNone, false, clRed},
        {"opaque image item", ImageItem, false, clNone, true, clNone},
        {"transparent image item keeps its colour", ImageItem, true, clNone, false, clNone},
        {"draw-info colour", DrawInfo, false, clNone, false, clNone},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        ShowPictureGrid();
        Grid->SetTransparentColor(C.GridColour);
        if (C.From == ImageItem) {
            AddImage("pic", C.PictureTransparent);
            Grid->SetCellValue(1, 1, Variant(AnsiString("pic")));
        } else {
            Bitmap->SetTransparentColor(clRed);
            Bitmap->SetTransparent(C.PictureTransparent);
            Grid->SetCellValue(1, 1, BitmapToVariant(Bitmap.get()));
        }
        if (C.From == DrawInfo)
            Grid->OnGetDrawInfo = [](TObject*, int DataCol, int DataRow, TgxDrawInfo& Info) {
                if (DataCol == 1 && DataRow == 1) Info.TransparentColor = clRed;
            };
        Grid->Invalidate();
        Settle();
        Shot();
        EXPECT_EQ(CountOf(PictureCell(), clRed) > 0, C.RedShows);
        EXPECT_GT(CountOf(PictureCell(), clBlue), 0);
        EXPECT_EQ(Grid->TransparentColor(), C.GridColourAfter);
        delete Form;
        Form = nullptr;
        List = nullptr;
    }
}

// A picture cell the application loads with a value that is no picture
// (a number, say) is painted empty; the paint goes on.
TEST_F(CellPictureS63c, LoadedValueThatIsNoPicturePaintsEmpty) {
    ShowPictureGrid();
    AddImage("first", false);
    AddImage("second", false);
    Grid->OnCellLoaded = [](TObject*, int DataCol, int DataRow, Variant& Value) {
        if (DataCol == 1 && DataRow == 1) Value = Variant(1);
    };
    AnsiString Reported;
    Application->OnException = [&](TObject*, const Exception& E) { Reported = E.Message; };
    Grid->Invalidate();
    EXPECT_NO_THROW(Settle());
    Shot();
    Application->OnException = nullptr;
    EXPECT_EQ(Reported, "");
    const TRect R = PictureCell();
    EXPECT_EQ(CountOf(R, clWhite), (R.Right - R.Left) * (R.Bottom - R.Top));
}

// A selected picture with a selection colour gets the checkered overlay:
// the colour on every other pixel, the picture between.
TEST_F(CellPictureS63c, SelectedPictureShowsCheckeredSelectionColour) {
    ShowPictureGrid();
    Grid->SetStretchPicture(true);
    Grid->SetShrinkPicture(true);
    Grid->SetCenterPicture(false);
    Grid->SetSelectionType(sltColor);
    Grid->SetSelectionColor(clLime);
    Grid->SetCellValue(1, 1, BitmapToVariant(Bitmap.get()));
    Grid->SetCol(2);
    Grid->SetRow(2);
    Grid->NewRowSelection(1, 1);
    Grid->Invalidate();
    Settle();
    Shot();
    const TRect R = PictureCell();
    const int Lime = CountOf(R, clLime);
    const int Cell = (R.Right - R.Left) * (R.Bottom - R.Top);
    EXPECT_GT(Lime, Cell / 3);
    EXPECT_LT(Lime, Cell * 2 / 3);
    EXPECT_GT(CountOf(R, clRed) + CountOf(R, clBlue), Cell / 3);
}


// What a picture cell shows around and instead of its picture.
TEST_F(CellPictureS63c, PictureCellGroundAndNarrowCells) {
    const TColor Face = ColorToRGB(clBtnFace);
    struct Case {
        const char* Name;
        bool Is3D;
        int Width;       // of the picture column
        bool HasPicture; // else the cell is empty
        bool Selected;   // with a lime selection colour
        bool BlueShows;
        TColor Ground;    // the colour left of the centred picture
        bool LimeChecker; // about half the cell lime
    };
    const Case Cases[] = {
        {"flat", false, 64, true, false, true, clWhite, false},
        {"raised: button face around the picture", true, 64, true, false, true, Face, false},
        {"too narrow for the picture", false, 4, true, false, false, clWhite, false},
        {"empty and selected: checker over the ground", false, 64, false, true, false, clNone,
         true},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        ShowPictureGrid();
        Grid->GridCols()->Item(1)->SetWidth(C.Width);
        Grid->GridCols()->Item(1)->SetIs3D(C.Is3D);
        Grid->SetSelectionType(sltColor);
        Grid->SetSelectionColor(clLime);
        Bitmap->SetTransparentColor(clRed);
        Bitmap->SetTransparent(true);
        if (C.HasPicture) Grid->SetCellValue(1, 1, BitmapToVariant(Bitmap.get()));
        if (C.Selected) Grid->NewRowSelection(1, 1);
        Grid->Invalidate();
        Settle();
        Shot();
        const TRect R = PictureCell();
        const int Cell = (R.Right - R.Left) * (R.Bottom - R.Top);
        EXPECT_EQ(CountOf(R, clBlue) > 0, C.BlueShows);
        EXPECT_EQ(CountOf(R, clRed), 0);
        if (C.Ground != clNone) EXPECT_EQ(At(R.Left + 5, (R.Top + R.Bottom) / 2), C.Ground);
        const int Lime = CountOf(R, clLime);
        if (C.LimeChecker) {
            EXPECT_GT(Lime, Cell / 3);
            EXPECT_LT(Lime, Cell * 2 / 3);
        } else {
            EXPECT_EQ(Lime, 0);
        }
        delete Form;
        Form = nullptr;
    }
}


// The checker of selected picture cells lines up across cells, empty or
// not: the selection colour always falls on pixels of one parity.
TEST_F(CellPictureS63c, SelectionCheckerLinesUpAcrossCells) {
    ShowPictureGrid();
    Grid->SetSelectionType(sltColor);
    Grid->SetSelectionColor(clLime);
    Bitmap->SetTransparentColor(clRed);
    Bitmap->SetTransparent(true);
    Grid->SetCellValue(1, 3, BitmapToVariant(Bitmap.get()));
    Grid->NewRowSelection(1, 3);
    Grid->Invalidate();
    Settle();
    Shot();
    int Parities[2] = {0, 0};
    for (int Row = 1; Row <= 3; ++Row) {
        const TRect R = Grid->CellRect(1, Row);
        for (int Y = R.Top; Y < R.Bottom; ++Y)
            for (int X = R.Left; X < R.Right; ++X)
                if (At(X, Y) == clLime) ++Parities[(X + Y) & 1];
    }
    EXPECT_GT(Parities[0] + Parities[1], 0);
    EXPECT_EQ(std::min(Parities[0], Parities[1]), 0);
}


// A column's own picture options win over the grid's.
TEST_F(CellPictureS63c, ColumnPictureOptionsOverrideTheGrids) {
    struct Case {
        const char* Name;
        bool GridStretch;
        TgxDrawOption ColStretch;
        TgxDrawOption ColCenter;
        bool Stretched;
    };
    const Case Cases[] = {
        {"grid stretches", true, dopDefault, dopDefault, true},
        {"column stretches", false, dopOn, dopDefault, true},
        {"column does not stretch", true, dopOff, dopDefault, false},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        ShowPictureGrid();
        Grid->SetStretchPicture(C.GridStretch);
        Grid->SetKeepAspectRatio(false);
        TgxCol* Col = Grid->GridCols()->Item(1);
        Col->SetStretchPicture(C.ColStretch);
        Col->SetCenterPicture(C.ColCenter);
        Grid->SetCellValue(1, 1, BitmapToVariant(Bitmap.get()));
        Grid->Invalidate();
        Settle();
        Shot();
        const TRect R = PictureCell();
        // Unstretched, the 8 x 8 square shows as it is; stretched to the
        // 64-wide cell it is far wider.
        const int Blue = CountOf(R, clBlue);
        if (C.Stretched)
            EXPECT_GT(Blue, 8 * 8 * 2);
        else
            EXPECT_EQ(Blue, 8 * 8);
        delete Form;
        Form = nullptr;
    }
}


// A picture the current cell holds in its buffer, or the one it shows
// from the grid's storage, is drawn by the same transparency rules as any
// other cell.
// Disabled: in an editing grid the plain in-place control laid over the
// current picture cell paints its own blank image over the picture the grid
// drew beneath it, so the current cell shows white.
TEST_F(CellPictureS63c, PictureOfTheCurrentCell) {
    for (const bool Buffered : {false, true})
        for (const bool Transparent : {false, true}) {
            SCOPED_TRACE(::testing::Message() << (Buffered ? "buffered " : "stored ")
                                              << (Transparent ? "transparent" : "opaque"));
            ShowPictureGrid();
            Grid->SetGridMode(gmEdit);
            Bitmap->SetTransparentColor(clRed);
            Bitmap->SetTransparent(Transparent);
            if (!Buffered) Grid->SetCellValue(1, 1, BitmapToVariant(Bitmap.get()));
            Grid->SetCol(1);
            Grid->SetRow(1);
            if (Buffered) {
                ASSERT_TRUE(Grid->CurrentCell()->SetValue(BitmapToVariant(Bitmap.get())));
                ASSERT_TRUE(Grid->CurrentCell()->ValueSet(1, 1));
            }
            Grid->Invalidate();
            Settle();
            Shot();
            EXPECT_GT(CountOf(PictureCell(), clBlue), 0);
            EXPECT_EQ(CountOf(PictureCell(), clRed) > 0, !Transparent);
            delete Form;
            Form = nullptr;
        }
}

} // namespace
