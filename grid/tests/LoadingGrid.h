#pragma once
// A grid that can be put into the state a form reader puts it in, for
// tests of what the grid keeps quiet about while it loads.
#include "grid/model/GxGrid.h"

class TLoadingGrid : public grid::TgxGrid {
public:
    using grid::TgxGrid::TgxGrid;
    void BeginLoad() { Loading(); }

    // Takes the place of a grid on its form, 400 x 300 with the given counts.
    static TLoadingGrid* Replace(grid::TgxGrid*& Grid, TWinControl* Form, int Cols, int Rows) {
        delete Grid;
        auto* G = new TLoadingGrid(Form);
        G->SetParent(Form);
        G->SetBounds(0, 0, 400, 300);
        G->SetGridColCount(Cols);
        G->SetGridRowCount(Rows);
        Grid = G;
        return G;
    }
};
