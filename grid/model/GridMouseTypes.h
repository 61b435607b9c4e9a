#pragma once
// The types of the grid's mouse handling and of moving columns and rows:
// the parts of a spin button, where a click fell, the events of cell
// buttons and cell clicks (a row is handed to them as a Variant), and what
// a refresh puts back.
#include "platform/rtl/Object.h"
#include "platform/rtl/Variant.h"

#include <cstdint>
#include <functional>

namespace grid {

enum class TgxSpinButton : std::uint8_t { spbNone, spbIncrement, spbDecrement };
using enum TgxSpinButton;

enum class TgxClickPosition : std::uint8_t { cpNone, cpUpperLeft, cpRowBar, cpHeading, cpCell };
using enum TgxClickPosition;

// What RefreshData puts back in data order, and where it scrolls to.
enum class TgxResetOrder : std::uint8_t { roCols, roRows, roBoth, roNone };
using enum TgxResetOrder;
enum class TgxResetPosition : std::uint8_t { rpLeft, rpTop, rpTopLeft, rpNone };
using enum TgxResetPosition;

using TgxButtonEvent = std::function<void(TObject* Sender, int DataCol, const Variant& DataRow)>;
using TgxSpinButtonEvent = std::function<void(TObject* Sender, int DataCol, const Variant& DataRow,
                                              TgxSpinButton SpinButton)>;
using TgxSpinRepeatEvent = std::function<void(TObject* Sender, int DataCol, const Variant& DataRow,
                                              int Count, TgxSpinButton SpinButton)>;
using TgxClickCellEvent =
    std::function<void(TObject* Sender, int DataColDown, const Variant& DataRowDown, int DataColUp,
                       const Variant& DataRowUp, TgxClickPosition DownPos, TgxClickPosition UpPos)>;
using TgxDblClickCellEvent =
    std::function<void(TObject* Sender, int DataCol, const Variant& DataRow, TgxClickPosition Pos)>;

} // namespace grid
