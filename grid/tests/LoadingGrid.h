#pragma once
// A grid that can be put into the state a form reader puts it in, for
// tests of what the grid keeps quiet about while it loads.
#include "grid/model/GxGrid.h"

class TLoadingGrid : public grid::TgxGrid {
public:
    using grid::TgxGrid::TgxGrid;
    void BeginLoad() { Loading(); }
};
