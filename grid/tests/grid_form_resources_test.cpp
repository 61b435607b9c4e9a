// A form holding an image list, mask definitions and a grid linked to both:
// saved and loaded again, as a binary form and as form text, the grid still
// shows its pictures and still holds typing to its masks.
#include "grid/foundation/ImageList.h"
#include "grid/foundation/MaskDefs.h"
#include "grid/tests/FormTextFixture.h"
#include "grid/tests/GridEditFixture.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace grid;

namespace {

class GridFormResources : public GridEditFixture {
protected:
    void SetUp() override {
        GridEditFixture::SetUp();
        Form->SetName("Form1");
        auto* Pictures = new TgxImageList(Form);
        Pictures->SetName("Pictures");
        TBitmap Bitmap;
        Bitmap.SetSize(8, 8);
        Bitmap.Canvas()->Brush()->SetColor(clRed);
        Bitmap.Canvas()->FillRect({0, 0, 8, 8});
        Pictures->Images()->Add()->SetRefName("Flags.Red");
        Pictures->Images()->Items(0)->SetBitmap(&Bitmap);
        auto* Masks = new TgxMaskDefs(Form);
        Masks->SetName("Masks");
        TgxMask* Code = Masks->Masks()->Add();
        Code->SetName("Code");
        Code->SetPicture("###");
        Code->GetTextCase()->SetCaseType(cstUpper);

        Grid->SetImageList(Pictures);
        Grid->SetMaskDefs(Masks);
        Grid->SetStretchPicture(true);
        Grid->GetCol(1)->SetControlType(ctPicture);
        Grid->SetCellValue(1, 2, Variant("Flags.Red"));
        Grid->GetCol(2)->SetMaskName("Code");
        QApplication::processEvents();
    }
    void TearDown() override {
        Copy.reset();
        GridEditFixture::TearDown();
    }

    // The pixels of a data cell as the grid paints it.
    std::vector<TColor> CellPixels(TgxGrid& G, int DataCol, int DataRow) {
        TBitmap Shot;
        Shot.SetSize(G.Width(), G.Height());
        G.PaintTo(Shot.Canvas());
        const TRect R = G.CellRect(G.GetDisplayCol(DataCol), G.GetDisplayRow(DataRow));
        std::vector<TColor> Pixels;
        for (int Y = R.Top; Y < R.Bottom; ++Y)
            for (int X = R.Left; X < R.Right; ++X)
                Pixels.push_back(Shot.Canvas()->Pixels(X, Y));
        return Pixels;
    }

    // Saves the form and loads it into a new one, through form text or not.
    TgxGrid* Reload(bool AsText) {
        Copy = std::make_unique<TForm>(nullptr);
        if (AsText) {
            Saved = FormText(*Form);
            ReadFormText(Saved, *Copy);
        } else {
            TMemoryStream Binary;
            WriteComponentRes(&Binary, Form);
            Binary.SetPosition(0);
            ReadComponentRes(&Binary, Copy.get());
        }
        Copy->SetBounds(20, 20, 640, 420);
        return dynamic_cast<TgxGrid*>(Copy->FindComponent("Grid1"));
    }

    std::unique_ptr<TForm> Copy;
    std::string Saved;
};

TEST_F(GridFormResources, AReloadedFormShowsThePicturesAndKeepsTheMasks) {
    const std::vector<TColor> Before = CellPixels(*Grid, 1, 2);
    const TRect R = Grid->CellRect(Grid->GetDisplayCol(1), Grid->GetDisplayRow(2));
    ASSERT_EQ(Before.size(), static_cast<std::size_t>((R.Right - R.Left) * (R.Bottom - R.Top)));
    EXPECT_EQ(Before[Before.size() / 2], clRed); // the picture is there to compare

    for (const bool AsText : {false, true}) {
        SCOPED_TRACE(AsText ? "through form text" : "as a binary form");
        TgxGrid* Read = Reload(AsText);
        ASSERT_NE(Read, nullptr);
        if (AsText) {
            SCOPED_TRACE(Saved);
            for (const char* Expected :
                 {"ImageList = Pictures", "MaskDefs = Masks", "GUID = ", "SetNames = ", "ID = 1",
                  "Picture = '###'", "TextCase.CaseType = cstUpper"})
                EXPECT_NE(Saved.find(Expected), std::string::npos) << Expected;
        }
        auto* Pictures = dynamic_cast<TgxImageList*>(Copy->FindComponent("Pictures"));
        auto* Masks = dynamic_cast<TgxMaskDefs*>(Copy->FindComponent("Masks"));
        ASSERT_NE(Pictures, nullptr);
        ASSERT_NE(Masks, nullptr);
        EXPECT_EQ(Read->ImageList(), Pictures);
        EXPECT_EQ(Read->GetMaskDefs(), Masks);
        EXPECT_EQ(Pictures->GetGUID(), dynamic_cast<TgxImageList*>(Grid->ImageList())->GetGUID());

        ShowActive(*Copy);
        QApplication::processEvents();
        EXPECT_EQ(CellPixels(*Read, 1, 2), Before);

        // Typing into the masked column of the loaded grid: the letter is
        // refused, the digits kept.
        TgxGrid* Original = Grid;
        Grid = Read;
        Grid->SetFocus();
        GoTo(2, 1);
        Type("12a3");
        Press(Qt::Key_Tab);
        EXPECT_EQ(Stored(2, 1), "123");
        Grid = Original;
    }
}

} // namespace
