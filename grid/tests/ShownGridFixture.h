#pragma once
// A grid (400 x 300 unless told otherwise) on a shown form (offscreen).
#include "grid/model/GxGrid.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtApp.h"

#include <gtest/gtest.h>

class ShownGridFixture : public ::testing::Test {
protected:
    void ShowGrid(int ColCount, int RowCount, int Width = 400, int Height = 300) {
        EnsureQtApplication();
        Form = new TForm(nullptr);
        Form->SetBounds(10, 10, 600, 400);
        Grid = new grid::TgxGrid(Form);
        Grid->SetParent(Form);
        Grid->SetBounds(0, 0, Width, Height);
        Form->Show();
        Grid->SetGridColCount(ColCount);
        Grid->SetGridRowCount(RowCount);
    }
    // Lets queued messages run and the grid paint what they invalidated.
    void Settle() {
        Application->ProcessMessages();
        Grid->Update();
    }
    void TearDown() override { delete Form; }

    TForm* Form = nullptr;
    grid::TgxGrid* Grid = nullptr;
};
