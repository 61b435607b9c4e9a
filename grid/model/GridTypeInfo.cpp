#include "grid/model/GridTypeInfo.h"

namespace grid {

#define GRID_ENUM_TYPE(Function, Name, ...)                                                        \
    const TTypeInfo& Function() {                                                                  \
        static const TTypeInfo Info = MakeEnumType(Name, {__VA_ARGS__});                           \
        return Info;                                                                               \
    }

GRID_ENUM_TYPE(AlignmentTypeInfo, "TAlignment", "taLeftJustify", "taRightJustify", "taCenter")
GRID_ENUM_TYPE(HorzAlignmentTypeInfo, "TgxHorzAlignment", "htaLeft", "htaRight", "htaCenter",
               "htaDefault")
GRID_ENUM_TYPE(VertAlignmentTypeInfo, "TgxVertAlignment", "vtaTop", "vtaBottom", "vtaCenter",
               "vtaDefault")
GRID_ENUM_TYPE(WordWrapTypeInfo, "TgxWordWrap", "uiOn", "uiOff", "uiDefault")
GRID_ENUM_TYPE(ControlTypeTypeInfo, "TgxControlType", "ctNone", "ctText", "ctCheck", "ctPicture",
               "ctDefault")
GRID_ENUM_TYPE(ButtonTypeTypeInfo, "TgxButtonType", "btCombo", "btNormal", "btNone", "btDefault",
               "btVertSpin", "btHorzSpin", "btDateTimeDropDown", "btDateTimePopup")
GRID_ENUM_TYPE(DropDownStyleTypeInfo, "TgxDropDownStyle", "ddDropDown", "ddDropDownList")
GRID_ENUM_TYPE(DrawOptionTypeInfo, "TgxDrawOption", "dopOn", "dopOff", "dopDefault")
GRID_ENUM_TYPE(ColHeadingButtonTypeInfo, "TgxColHeadingButton", "cbCell", "cbButton", "cbGrid",
               "cbNone")
GRID_ENUM_TYPE(SortPictureTypeInfo, "TgxSortPicture", "spUp", "spDown", "spBullet", "spNone")
GRID_ENUM_TYPE(ReadOnlyTypeInfo, "TgxReadOnly", "roOn", "roOff", "roDefault")

#undef GRID_ENUM_TYPE

namespace {

const TTypeInfo& SpinOptionTypeInfo() {
    static const TTypeInfo Info =
        MakeEnumType("TgxSpinOption", {"spoAutoRepeat", "spoAutoIncrement", "spoKeyEdit"});
    return Info;
}

const TTypeInfo& PropKindTypeInfo() {
    static const TTypeInfo Info =
        MakeEnumType("TgxPropKind", {"pkGrid", "pkCols", "pkRows", "pkCells"});
    return Info;
}

} // namespace

const TTypeInfo& SpinOptionsTypeInfo() {
    static const TTypeInfo Info = MakeSetType("TgxSpinOptions", SpinOptionTypeInfo());
    return Info;
}

const TTypeInfo& PropKindsTypeInfo() {
    static const TTypeInfo Info = MakeSetType("TgxPropKinds", PropKindTypeInfo());
    return Info;
}

} // namespace grid
