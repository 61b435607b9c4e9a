// The grid as a window on a form: a size change raises OnResize once, the
// heading and the columns that follow a font take the form's font, the
// window's making hosts the editor at the current cell, and a spin button
// steps a picture cell through its image list.
#include "grid/foundation/ImageList.h"
#include "grid/model/Columns.h"
#include "grid/model/GxGrid.h"
#include "grid/model/InplaceControl.h"
#include "grid/tests/GridEditFixture.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtApp.h"
#include "platform/gui/tests/GuiTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace grid;

namespace {

class GridWindow : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(20, 20, 500, 400);
        Grid = new TgxGrid(Form.get());
        Grid->SetParent(Form.get());
        Grid->SetBounds(0, 0, 300, 200);
    }
    std::unique_ptr<TForm> Form;
    TgxGrid* Grid = nullptr;
};

TEST_F(GridWindow, ASizeChangeRaisesOnResizeOnce) {
    Form->Show();
    int Resized = 0;
    Grid->OnResize = [&](TObject* Sender) {
        EXPECT_EQ(Sender, Grid);
        ++Resized;
    };
    Grid->SetBounds(0, 0, 320, 220);
    EXPECT_EQ(Resized, 1);
    Grid->SetBounds(10, 10, 320, 220); // moved, not resized
    EXPECT_EQ(Resized, 1);
    // The form's own size change reaches a grid that fills it.
    Grid->SetAlign(alClient);
    const int Before = Resized;
    Form->SetBounds(20, 20, 600, 450);
    QApplication::processEvents();
    EXPECT_EQ(Resized, Before + 1);
    EXPECT_EQ(Grid->Width(), Form->ClientWidth());
}

TEST_F(GridWindow, TheHeadingAndTheFollowingColumnsTakeTheFormsFont) {
    Form->Show();
    TgxCol* Following = Grid->GridCols()->Item(2);
    Following->SetAutoCreateFont(true);
    ASSERT_NE(Following->GetFont(), nullptr);
    Form->Font()->SetSize(19);
    EXPECT_EQ(Grid->Font()->Size(), 19);
    EXPECT_EQ(Grid->HeadingFont()->Size(), 19);
    EXPECT_TRUE(Grid->HeadingParentFont());
    EXPECT_EQ(Following->GetFont()->Size(), 19);

    // A heading font of its own stays; following the parent again takes
    // the parent's at once.
    TFont Own;
    Own.SetSize(8);
    Grid->SetHeadingFont(&Own);
    EXPECT_FALSE(Grid->HeadingParentFont());
    Form->Font()->SetSize(15);
    EXPECT_EQ(Grid->HeadingFont()->Size(), 8);
    Grid->SetHeadingParentFont(true);
    EXPECT_EQ(Grid->HeadingFont()->Size(), 15);
}

TEST_F(GridWindow, TheWindowsMakingHostsTheEditorAtTheCurrentCell) {
    Grid->SetStoreData(true);
    Grid->SetCellValue(3, 2, Variant("here"));
    Grid->SetCurrentCell(3, 2);
    ASSERT_FALSE(Grid->HandleAllocated());
    ShowActive(*Form);
    QApplication::processEvents();
    TgxCustomGridControl* Editor = Grid->GridControl();
    ASSERT_NE(Editor, nullptr);
    EXPECT_EQ(Editor->GetParent(), Grid);
    EXPECT_TRUE(Editor->GetVisible());
    const TRect Cell = Grid->CellRect(3, 2);
    EXPECT_GE(Editor->GetLeft(), Cell.Left);
    EXPECT_LE(Editor->GetLeft(), Cell.Right);
    EXPECT_GE(Editor->GetTop(), Cell.Top);
    EXPECT_LE(Editor->GetTop(), Cell.Bottom);
}

// ---- spin steps on picture cells ----------------------------------------------------------

class GridSpinPicture : public GridEditFixture {
protected:
    void SetUp() override {
        GridEditFixture::SetUp();
        Images = std::make_unique<TgxImageList>(nullptr);
        for (const char* Name : {"Bolt", "faces.Grin", "Nut", "faces.Smile", "Washer"})
            Images->Images()->Add()->SetRefName(Name);
        Grid->SetImageList(Images.get());
        TgxCol* Col = Grid->GetCol(1);
        Col->SetControlType(ctPicture);
        Col->SetButtonType(btVertSpin);
        Col->SetSpinOptions({spoAutoIncrement});
        // The text editor that had the first cell goes.
        GoTo(2, 2);
        Grid->SetFocus();
    }
    void TearDown() override {
        GridEditFixture::TearDown();
        Images.reset();
    }
    // A click on the upper (Up) or lower half of the current cell's button.
    void Spin(bool Up) {
        const TRect Cell = Grid->CellRect(Grid->Col(), Grid->Row());
        const QPoint At(Cell.Right - 2, Up ? Cell.Top + 2 : Cell.Bottom - 2);
        // Cell coordinates are the client widget's, inside the grid's frame.
        ClickAt(Grid->ClientWidget(), At);
        QApplication::processEvents();
    }
    AnsiString Shown() {
        const Variant V = Grid->CurrentCell()->GetValue();
        return V.IsEmpty() || V.IsNull() ? AnsiString() : V.AsString();
    }
    std::unique_ptr<TgxImageList> Images;
};

TEST_F(GridSpinPicture, TheButtonStepsThroughThePicturesOfTheSameSet) {
    Grid->SetCellValue(1, 1, Variant("Bolt"));
    Grid->SetCellValue(1, 2, Variant("faces.Grin"));
    GoTo(1, 1);
    Spin(true);
    EXPECT_EQ(Shown(), "Nut");
    Spin(true);
    EXPECT_EQ(Shown(), "Washer");
    Spin(true);
    EXPECT_EQ(Shown(), "Bolt"); // round again
    Spin(false);
    EXPECT_EQ(Shown(), "Washer");
    EXPECT_TRUE(Grid->CellEditing());
    GoTo(1, 2);
    EXPECT_EQ(Stored(1, 1), "Washer");
    // A picture of a set steps within its set and keeps the set's name.
    Spin(true);
    EXPECT_EQ(Shown(), "faces.Smile");
    // The application may refuse a step.
    Grid->OnSpinIncrement = [](TObject*, int, int, bool, Variant&, int&, int&, bool& Accept) {
        Accept = false;
    };
    Spin(true);
    EXPECT_EQ(Shown(), "faces.Smile");
}

} // namespace
