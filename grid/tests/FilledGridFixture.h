#pragma once
// A browse-mode grid of 12 columns on a shown form, every cell holding its
// row times 100 plus its column, one row coloured, painted once; and the
// pixels of its client area, for comparing a scrolled picture with a full
// repaint.
#include "grid/model/GxGrid.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtApp.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class FilledGridFixture : public ::testing::Test {
protected:
    void ShowFilledGrid(int RowCount, int ColouredRow) {
        EnsureQtApplication();
        Form = new TForm(nullptr);
        Form->SetBounds(10, 10, 500, 360);
        Grid = new grid::TgxGrid(Form);
        Grid->SetParent(Form);
        Grid->SetBounds(0, 0, 400, 260);
        Form->Show();
        Grid->SetGridMode(grid::gmBrowse);
        Grid->SetStoreData(true);
        Grid->SetGridColCount(12);
        Grid->SetGridRowCount(RowCount);
        Grid->SetColor(clWhite);
        for (int R = 1; R <= RowCount; ++R)
            for (int C = 1; C <= 12; ++C)
                Grid->SetCellValue(C, R, Variant(std::to_string(R * 100 + C)));
        Grid->SetRowColor(ColouredRow, clYellow);
        Grid->SetFocus();
        PaintAll();
    }
    void TearDown() override { delete Form; }

    void PaintAll() {
        Grid->Invalidate();
        Grid->Update();
    }
    std::vector<TColor> Shot() {
        std::vector<TColor> Pixels;
        for (int Y = 0; Y < Grid->ClientHeight(); ++Y)
            for (int X = 0; X < Grid->ClientWidth(); ++X)
                Pixels.push_back(Grid->Canvas()->Pixels(X, Y));
        return Pixels;
    }

    TForm* Form = nullptr;
    grid::TgxGrid* Grid = nullptr;
};
