#pragma once
// A grid in a 400 x 300 window on a shown form (offscreen).
#include "grid/model/GxGrid.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtApp.h"

#include <gtest/gtest.h>

class ShownGridFixture : public ::testing::Test {
protected:
    void ShowGrid(int ColCount, int RowCount) {
        EnsureQtApplication();
        Form = new TForm(nullptr);
        Form->SetBounds(10, 10, 600, 400);
        Grid = new grid::TgxGrid(Form);
        Grid->SetParent(Form);
        Grid->SetBounds(0, 0, 400, 300);
        Form->Show();
        Grid->SetGridColCount(ColCount);
        Grid->SetGridRowCount(RowCount);
    }
    void TearDown() override { delete Form; }

    TForm* Form = nullptr;
    grid::TgxGrid* Grid = nullptr;
};
