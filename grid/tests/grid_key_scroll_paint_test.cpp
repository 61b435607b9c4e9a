// Keys that scroll the grid while cells wait to be repainted (the current
// cell left behind, the row indicator): once painted, the picture is the
// one a full repaint gives, whether the move scrolled the pixels or not.
#include "grid/model/GxGrid.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtApp.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace grid;

namespace {

class GridKeyScrollPaint : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        Form = new TForm(nullptr);
        Form->SetBounds(10, 10, 500, 360);
        Grid = new TgxGrid(Form);
        Grid->SetParent(Form);
        Grid->SetBounds(0, 0, 400, 260);
        Form->Show();
        Grid->SetGridMode(gmBrowse);
        Grid->SetStoreData(true);
        Grid->SetGridColCount(12);
        Grid->SetGridRowCount(300);
        Grid->SetColor(clWhite);
        for (int R = 1; R <= 300; ++R)
            for (int C = 1; C <= 12; ++C)
                Grid->SetCellValue(C, R, Variant(std::to_string(R * 100 + C)));
        Grid->SetRowColor(9, clYellow);
        Grid->SetFocus();
        PaintAll();
    }
    void TearDown() override { delete Form; }

    void PaintAll() {
        Grid->Invalidate();
        Grid->Update();
    }
    void Press(Word K, TShiftState Shift = {}) { Grid->KeyDown(K, Shift); }
    std::vector<TColor> Shot() {
        std::vector<TColor> Pixels;
        for (int Y = 0; Y < Grid->ClientHeight(); ++Y)
            for (int X = 0; X < Grid->ClientWidth(); ++X)
                Pixels.push_back(Grid->Canvas()->Pixels(X, Y));
        return Pixels;
    }

    TForm* Form = nullptr;
    TgxGrid* Grid = nullptr;
};

} // namespace

TEST_F(GridKeyScrollPaint, EveryScrollingKeyLeavesThePictureAFullRepaintGives) {
    struct TStep {
        const char* Name;
        Word Key;
        TShiftState Shift;
    };
    const TStep Steps[] = {
        {"page down", VK_NEXT, {}},
        {"page down again", VK_NEXT, {}},
        {"page up", VK_PRIOR, {}},
        {"down past the last full row", VK_DOWN, {}},
        {"end of the grid", VK_END, {ssCtrl}},
        {"up past the top row", VK_UP, {}},
        {"start of the grid", VK_HOME, {ssCtrl}},
    };
    for (const TStep& Step : Steps) {
        if (Step.Key == VK_DOWN) {
            // From the last fully shown row, so the move scrolls by one row.
            while (Grid->Row() < Grid->TopRow() + Grid->VisibleRowCount() - 1)
                Press(VK_DOWN);
            Grid->Update();
        } else if (Step.Key == VK_UP) {
            while (Grid->Row() > Grid->TopRow())
                Press(VK_UP);
            Grid->Update();
        }
        const int Top = Grid->TopRow(), Left = Grid->LeftCol();
        Press(Step.Key, Step.Shift);
        EXPECT_TRUE(Grid->TopRow() != Top || Grid->LeftCol() != Left) << Step.Name;
        Grid->Update();
        const std::vector<TColor> Scrolled = Shot();
        PaintAll();
        EXPECT_TRUE(Scrolled == Shot()) << Step.Name;
    }
}
