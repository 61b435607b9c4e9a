#pragma once
// A grid named "Grid1" on a shown form (offscreen) beside a panel to click
// on, with helpers to give a column a list of its own.
#include "grid/model/Columns.h"
#include "grid/model/Combo.h"
#include "grid/model/CurrentCell.h"
#include "grid/model/GxGrid.h"
#include "grid/model/InplaceControl.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtApp.h"
#include "platform/gui/tests/GuiTestSupport.h"

#include <gtest/gtest.h>

#include <initializer_list>

class DropDownFixture : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        Screen->OverrideSize(1024, 768);
        Form = new TForm(nullptr);
        Form->SetBounds(20, 20, 640, 420);
        Grid = new grid::TgxGrid(Form);
        Grid->SetName("Grid1");
        Grid->SetParent(Form);
        Grid->SetBounds(0, 0, 420, 300);
        Elsewhere = new TPanel(Form);
        Elsewhere->SetParent(Form);
        Elsewhere->SetBounds(440, 10, 100, 100);
        ShowActive(*Form);
        QApplication::processEvents();
    }
    void TearDown() override {
        // The editor goes before the grid it paints on.
        if (Grid) Grid->HideEditor();
        delete Form;
        Screen->OverrideSize(0, 0);
    }

    // Column DataCol gets a combo button and a stored list of its own.
    grid::TgxComboGrid* GiveColumnList(int DataCol, std::initializer_list<const char*> Items) {
        grid::TgxCol* Column = Grid->GetCol(DataCol);
        Column->SetButtonType(grid::btCombo);
        Column->SetParentCombo(false);
        grid::TgxComboGrid* List = Column->GetCombo()->GetGrid();
        List->SetStoreData(true);
        List->SetGridRowCount(static_cast<int>(Items.size()));
        int Row = 1;
        for (const char* Item : Items)
            List->SetCellValue(1, Row++, Variant(AnsiString(Item)));
        return List;
    }
    // Makes a data cell current.
    void GoTo(int DataCol, int DataRow) {
        Grid->SetCurrentCell(Grid->GetDisplayCol(DataCol), Grid->GetDisplayRow(DataRow));
    }
    // The list grid the grid drops down (its shared combo's).
    grid::TgxComboGrid* DroppedList() { return Grid->GetCombo()->GetGrid(); }
    int ListRow() { return DroppedList()->GetDataRow(DroppedList()->Row()); }
    AnsiString CurrentText() {
        const Variant V = Grid->CurrentCell()->GetValue();
        return V.IsEmpty() || V.IsNull() ? AnsiString() : V.AsString();
    }
    // The window of the current cell's in-place control.
    TWinControl* Editor() { return Grid->GridCellControl(Grid->CurCellControlType())->GetHandle(); }
    void Key(int QtKey, Qt::KeyboardModifiers Mods = Qt::NoModifier, const QString& Text = {}) {
        TypeKey(Grid->Widget(), QtKey, Text, Mods);
        QApplication::processEvents();
    }

    TForm* Form = nullptr;
    grid::TgxGrid* Grid = nullptr;
    TPanel* Elsewhere = nullptr;
};
