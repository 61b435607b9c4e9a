#pragma once
// What the grid's painter gathers for one cell, and what an application's
// draw-info handler may change.
#include "grid/model/GridTypes.h"
#include "platform/classes/SmallSet.h"
#include "platform/gui/Graphics.h"
#include "platform/rtl/Variant.h"

#include <cstdint>
#include <functional>

namespace grid {

struct TgxDrawData {
    std::int32_t DisplayCol = 0;
    std::int32_t DisplayRow = 0;
    std::int32_t DataCol = 0;
    std::int32_t DataRow = 0;
    TgxControlType ControlType = ctNone;
    TRect InnerRect;
    TRect OuterRect;
    TRect TextRect;
    TRect ButtonRect;
    bool HasButton = false;
    TFont* Font = nullptr; // not owned
    bool Is3D = false;
    TgxHorzAlignment HorzAlignment = htaLeft;
    TgxVertAlignment VertAlignment = vtaTop;
    TColor Color = clNone;
    bool EditControl = false;
    TgxWordWrap WordWrap = uiDefault;
    TgxButtonType ButtonType = btNone;
    TgxDropDownStyle DropDownStyle = ddDropDown;
    TColor TransparentColor = clDefault;
};

// Handed to OnGetDrawInfo; the painter copies all six back.
struct TgxDrawInfo {
    TFont* Font = nullptr; // the grid's scratch font, not owned
    TColor Color = clNone;
    TgxHorzAlignment HorzAlignment = htaLeft;
    TgxVertAlignment VertAlignment = vtaTop;
    TgxWordWrap WordWrap = uiDefault;
    TColor TransparentColor = clDefault;
};

enum class TgxPaintCellStateItem : std::uint8_t { psCurrent, psSelected, psFixed };
using enum TgxPaintCellStateItem;
using TgxPaintCellState = SmallSet<TgxPaintCellStateItem>;

using TgxGetDrawInfoEvent =
    std::function<void(TObject* Sender, int DataCol, int DataRow, TgxDrawInfo& DrawInfo)>;
using TgxPaintCellEvent = std::function<void(TObject* Sender, int DataCol, int DataRow, TRect ARect,
                                             TgxPaintCellState State, bool& Cancel)>;
using TgxCellLoadedEvent =
    std::function<void(TObject* Sender, int DataCol, int DataRow, Variant& Value)>;
using TgxRowLoadedEvent = std::function<void(TObject* Sender, int DataRow)>;

} // namespace grid
