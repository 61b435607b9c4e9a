#pragma once
// Scoped switches of a grid, undone when the scope ends, also when an
// exception leaves it: painting off, redrawing off, and fast assignment on.
#include "grid/model/BaseGrid.h"

namespace grid {

class TgxPaintOff {
public:
    explicit TgxPaintOff(TgxBaseGrid& Grid) : FGrid(Grid) { FGrid.SetEnablePaint(false); }
    ~TgxPaintOff() { FGrid.SetEnablePaint(true); }
    TgxPaintOff(const TgxPaintOff&) = delete;
    TgxPaintOff& operator=(const TgxPaintOff&) = delete;

private:
    TgxBaseGrid& FGrid;
};

class TgxRedrawOff {
public:
    explicit TgxRedrawOff(TgxBaseGrid& Grid) : FGrid(Grid) { FGrid.SetEnableRedraw(false); }
    ~TgxRedrawOff() { FGrid.SetEnableRedraw(true); }
    TgxRedrawOff(const TgxRedrawOff&) = delete;
    TgxRedrawOff& operator=(const TgxRedrawOff&) = delete;

private:
    TgxBaseGrid& FGrid;
};

class TgxFastAssignOn {
public:
    explicit TgxFastAssignOn(TgxBaseGrid& Grid) : FGrid(Grid) { FGrid.SetFastAssign(true); }
    ~TgxFastAssignOn() { FGrid.SetFastAssign(false); }
    TgxFastAssignOn(const TgxFastAssignOn&) = delete;
    TgxFastAssignOn& operator=(const TgxFastAssignOn&) = delete;

private:
    TgxBaseGrid& FGrid;
};

} // namespace grid
