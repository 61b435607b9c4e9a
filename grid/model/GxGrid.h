#pragma once
// The grid classes above the core: the custom grid, which raises the
// published events of the hooks the core leaves open, and the published
// grid component.
#include "grid/model/BaseGrid.h"

namespace grid {

class TgxCustomGrid : public TgxBaseGrid {
public:
    using TgxBaseGrid::TgxBaseGrid;
    AnsiString ClassName() const override { return "TgxCustomGrid"; }
};

// The grid a form holds; it publishes the grid's properties.
class TgxGrid : public TgxCustomGrid {
public:
    explicit TgxGrid(TComponent* AOwner);
    AnsiString ClassName() const override { return "TgxGrid"; }
};

} // namespace grid
