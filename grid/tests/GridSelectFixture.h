#pragma once
// A grid on a shown offscreen form for the selection tests: its application
// refuses the rows a test names and records the data rows it was asked
// about, and every selection report is kept.
#include "grid/foundation/GridCommonVariant.h"
#include "grid/model/Columns.h"
#include "grid/model/GxGrid.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtApp.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace gridselect {

using namespace grid;

class TRefusingGrid : public TgxGrid {
public:
    using TgxGrid::TgxGrid;
    std::set<int> Refused;
    std::vector<int> Asked;
    void DoCanSelectRow(int, const Variant& DataRow, bool& Cancel) override {
        const int Row = DataRow.AsInteger();
        Asked.push_back(Row);
        if (Refused.count(Row)) Cancel = true;
    }
};

// The selected positions of a column or row selection.
inline std::set<int> Marks(const TgxSelection& S) {
    std::set<int> Result;
    for (int P = S.First(); P != -1; P = S.Next(P))
        Result.insert(P);
    return Result;
}

class SelectionGrid : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        Form = new TForm(nullptr);
        Form->SetBounds(10, 10, 640, 420);
        Grid = new TRefusingGrid(Form);
        Grid->SetParent(Form);
        Grid->SetBounds(0, 0, 520, 320);
        Form->Show();
        Grid->SetGridColCount(12);
        Grid->SetGridRowCount(40);
        Grid->SetColor(clWhite);
        Grid->OnSelectChanged = [this](TObject*, TgxSelectType Type, bool ByUser) {
            Reported.push_back(Type);
            LastByUser = ByUser;
        };
    }
    void TearDown() override { delete Form; }

    TForm* Form = nullptr;
    TRefusingGrid* Grid = nullptr;
    std::vector<TgxSelectType> Reported;
    bool LastByUser = false;
};

} // namespace gridselect
