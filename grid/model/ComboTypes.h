#pragma once
// The settings and events of combo lists and date-time drop-downs that the
// grid and its lists share.
#include "platform/rtl/Object.h"
#include "platform/rtl/Variant.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace grid {

class TgxCombo;
class TgxComboGrid;
class TgxDateTimeDefComponent;

enum class TgxComboCompareType : std::uint8_t { ctCaseSensitive, ctCaseInsensitive, ctOwn };
using enum TgxComboCompareType;
enum class TgxComboAutoSearchType : std::uint8_t { asNone, asTop, asBottom, asCenter };
using enum TgxComboAutoSearchType;
enum class TgxConvertCase : std::uint8_t { afcOnEdit, afcOnExit, afcNone };
using enum TgxConvertCase;

// A column's, row's, cell's or grid's own combo; freed where the combo is
// complete, so holders need not know it.
struct TgxComboFree {
    void operator()(TgxCombo* Combo) const;
};
using TgxOwnedCombo = std::unique_ptr<TgxCombo, TgxComboFree>;

// Combo is the list grid of the grid's current combo.
using TgxComboCellEvent =
    std::function<void(TObject* Sender, TgxComboGrid* Combo, int DataCol, int DataRow)>;
// Combo is the list grid; ComboDataRow its current data row.
using TgxComboGetValueEvent =
    std::function<void(TObject* Sender, TgxComboGrid* Combo, int GridDataCol, int GridDataRow,
                       int ComboDataRow, Variant& Value)>;
using TgxDateTimeCellEvent = std::function<void(TObject* Sender, TgxDateTimeDefComponent* Def,
                                                int DataCol, const Variant& DataRow)>;
using TgxDateTimeGetValueEvent = std::function<void(TObject* Sender, TgxDateTimeDefComponent* Def,
                                                    int DataCol, int DataRow, Variant& Value)>;

} // namespace grid
