#pragma once
// Scoped switches of a grid, undone when the scope ends, also when an
// exception leaves it: painting off, redrawing off, fast assignment on, and
// any flag on.
#include "grid/foundation/CountScope.h"
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

// Sets a flag for the life of a scope, however the scope is left.
class TFlagScope {
public:
    explicit TFlagScope(bool& Flag) : FFlag(Flag) { FFlag = true; }
    ~TFlagScope() { FFlag = false; }
    TFlagScope(const TFlagScope&) = delete;
    TFlagScope& operator=(const TFlagScope&) = delete;

private:
    bool& FFlag;
};

} // namespace grid
