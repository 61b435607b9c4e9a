#pragma once
// The grid's property vocabulary: the numbered properties that columns,
// rows and cells hold, the enumerations their values come from, the
// default each property has, and the small value helpers the model, the
// persistence and the view share (HTML colours, old stored alignments).
#include "grid/foundation/GridCommonControls.h"
#include "grid/foundation/GridCommonVariant.h"
#include "platform/classes/SmallSet.h"
#include "platform/gui/Colors.h"
#include "platform/rtl/AnsiString.h"
#include "platform/rtl/Variant.h"

#include <cstdint>

namespace grid {

struct TGridRect;

// The ordinals are streamed (property sets are saved as 5 bytes, bit n for
// property n): keep the order.
enum class TgxProperty : std::uint8_t {
    prColor,
    prFont,
    prDisplayNumber,
    prWidth,
    prHeight,
    prReadOnly,
    prAlign,
    prAlignment,
    prIs3D,
    prSelected,
    prVisible,
    prChanged,
    prHeadingButton,
    prSortPicture,
    prMaxLength,
    prWordWrap,
    prButtonType,
    prDropDownStyle,
    prCellReadOnly,
    prAllowGrayed,
    prParentFont,
    prMask,
    prCombo,
    prParentCombo,
    prPicture,
    prControlType,
    prSpinOptions,
    prSpinIncrement,
    prHorzAlignment,
    prVertAlignment,
    prDateTime,
    prTag,
    prData
};
using enum TgxProperty;
inline constexpr int gxPropertyCount = 33;
using TgxProperties = SmallSet<TgxProperty>;
// Every property, the set a full reset or save works on.
TgxProperties AllProperties();

// The enumerations property values come from; streamed by ordinal.
enum class TgxWordWrap : std::uint8_t { uiOn, uiOff, uiDefault };
using enum TgxWordWrap;
enum class TgxButtonType : std::uint8_t {
    btCombo,
    btNormal,
    btNone,
    btDefault,
    btVertSpin,
    btHorzSpin,
    btDateTimeDropDown,
    btDateTimePopup
};
using enum TgxButtonType;
enum class TgxDropDownStyle : std::uint8_t { ddDropDown, ddDropDownList };
using enum TgxDropDownStyle;
enum class TgxReadOnly : std::uint8_t { roOn, roOff, roDefault };
using enum TgxReadOnly;
enum class TgxDrawOption : std::uint8_t { dopOn, dopOff, dopDefault };
using enum TgxDrawOption;
enum class TgxControlType : std::uint8_t { ctNone, ctText, ctCheck, ctPicture, ctDefault };
using enum TgxControlType;
enum class TgxSpinOption : std::uint8_t { spoAutoRepeat, spoAutoIncrement, spoKeyEdit };
using enum TgxSpinOption;
using TgxSpinOptions = SmallSet<TgxSpinOption>;

// The default of a property: what an element without its own value
// answers, and the value that makes the store drop an element again.
// Properties without a default answer an unassigned Variant; object
// references (fonts, combos, date-time definitions, data) travel as
// ObjectToVariant of no object.
Variant PropertyDefaultValue(TgxProperty Prop);

// Six upper-case hex digits, red first, of the colour as it is (a system
// colour is not resolved first).
AnsiString ColorToHex(TColor Color);

// The fixed colour HTML output uses for the system colours 0x80000001 to
// 0x80000018; every other value comes back unchanged.
TColor TranslateColor(TColor Color);

// A grid rectangle of the four edges, as the view invalidates cell ranges.
TGridRect MakeGridRect(int Left, int Top, int Right, int Bottom);

// The alignment ordinal (0 left, 1 right, 2 centre) of an identifier that
// older forms stored for an alignment: taLeftJustify, taRightJustify or
// taCenter in any case; anything else is 0.
int OldAlignmentOrdinal(const AnsiString& Identifier);

// Reads that identifier from a stored form.
template <class TReaderT> int ReadOldAlignment(TReaderT& Reader) {
    return OldAlignmentOrdinal(Reader.ReadIdent());
}

} // namespace grid
