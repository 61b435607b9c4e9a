#pragma once
// A storing grid of 4 columns and 5 rows on a shown, active form
// (offscreen), driven by real key events sent where the keyboard focus is,
// with a log of the editing events.
#include "grid/model/Columns.h"
#include "grid/model/CurrentCell.h"
#include "grid/model/GxGrid.h"
#include "grid/model/InplaceControl.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtApp.h"
#include "platform/gui/tests/GuiTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class GridEditFixture : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        Form = new TForm(nullptr);
        Form->SetBounds(20, 20, 640, 420);
        Grid = new grid::TgxGrid(Form);
        Grid->SetName("Grid1");
        Grid->SetParent(Form);
        Grid->SetBounds(0, 0, 420, 300);
        Grid->SetStoreData(true);
        Grid->SetGridRowCount(5);
        ShowActive(*Form);
        Grid->SetFocus();
        QApplication::processEvents();
    }
    void TearDown() override { delete Form; }

    // Logs the edit events as "start cell 1,2", "end row 2" ...
    void LogEvents() {
        using namespace grid;
        Grid->OnStartCellEdit = [this](TObject*, int C, int R, bool&) {
            Log.push_back("start cell " + Cell(C, R));
        };
        Grid->OnEndCellEdit = [this](TObject*, int C, int R, bool& Cancel) {
            Log.push_back("end cell " + Cell(C, R));
            Cancel = RefuseCell;
        };
        Grid->OnStartRowEdit = [this](TObject*, int R, bool&) {
            Log.push_back("start row " + std::to_string(R));
        };
        Grid->OnEndRowEdit = [this](TObject*, int R, bool& Cancel) {
            Log.push_back("end row " + std::to_string(R));
            Cancel = RefuseRow;
        };
        Grid->OnUndoCellEdit = [this](TObject*, int C, int R, bool, bool&) {
            Log.push_back("undo cell " + Cell(C, R));
        };
        Grid->OnUndoRowEdit = [this](TObject*, int R, bool, bool&) {
            Log.push_back("undo row " + std::to_string(R));
        };
        Grid->OnInsertRow = [this](TObject*, int R, bool) {
            Log.push_back("insert row " + std::to_string(R));
        };
        Grid->OnDeleteRow = [this](TObject*, int R, bool) {
            Log.push_back("delete row " + std::to_string(R));
        };
    }
    static std::string Cell(int C, int R) { return std::to_string(C) + "," + std::to_string(R); }

    // The widget that has the keyboard: the grid or its editor.
    QWidget* KeyTarget() {
        QWidget* W = QApplication::focusWidget();
        return W ? W : Grid->Widget();
    }
    void Press(int QtKey, Qt::KeyboardModifiers Mods = Qt::NoModifier, const QString& Text = {}) {
        TypeKey(KeyTarget(), QtKey, Text, Mods);
        QApplication::processEvents();
    }
    void Type(const QString& Text) {
        for (QChar C : Text)
            Press(C.toUpper().unicode(), Qt::NoModifier, QString(C));
    }
    // Makes a data cell current.
    void GoTo(int DataCol, int DataRow) {
        Grid->SetCurrentCell(Grid->GetDisplayCol(DataCol), Grid->GetDisplayRow(DataRow));
        QApplication::processEvents();
    }
    std::pair<int, int> At() const {
        return {Grid->GetCurrentDataCol(), Grid->GetCurrentDataRow()};
    }
    AnsiString Stored(int C, int R) {
        const Variant V = Grid->GetDataValue(C, R, Grid->GiveCellControlType(C, R));
        return V.IsEmpty() || V.IsNull() ? AnsiString() : V.AsString();
    }
    AnsiString EditorText() {
        const Variant V = Grid->GridControl() ? Grid->GridControl()->GetValue() : Variant();
        return V.IsEmpty() || V.IsNull() ? AnsiString() : V.AsString();
    }

    TForm* Form = nullptr;
    grid::TgxGrid* Grid = nullptr;
    std::vector<std::string> Log;
    bool RefuseCell = false;
    bool RefuseRow = false;
};
