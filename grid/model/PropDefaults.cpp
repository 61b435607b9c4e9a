#include "grid/model/PropDefaults.h"

#include "grid/foundation/CustomGrid.h"

#include "platform/rtl/StrUtils.h"

#include <array>

namespace grid {

TgxProperties AllProperties() {
    return TgxProperties::FromBits((TgxProperties::TBits{1} << gxPropertyCount) - 1);
}

Variant PropertyDefaultValue(TgxProperty Prop) {
    Variant Result;
    switch (Prop) {
    case prColor:
        Result = static_cast<int>(clNone);
        break;
    case prFont:
    case prCombo:
    case prDateTime:
    case prData:
        Result = ObjectToVariant(nullptr);
        break;
    case prReadOnly:
    case prAlign:
    case prIs3D:
    case prSelected:
        Result = false;
        break;
    case prAlignment:
        Result = static_cast<int>(taLeftJustify);
        break;
    case prWordWrap:
        Result = static_cast<int>(uiDefault);
        break;
    case prButtonType:
        Result = static_cast<int>(btDefault);
        break;
    case prDropDownStyle:
        Result = static_cast<int>(ddDropDown);
        break;
    case prCellReadOnly:
        Result = static_cast<int>(roDefault);
        break;
    case prParentFont:
    case prParentCombo:
        Result = true;
        break;
    case prMask:
        Result = AnsiString();
        break;
    case prPicture:
        // One default for each of the four picture options.
        Result = static_cast<int>(dopDefault);
        break;
    case prControlType:
        Result = static_cast<int>(ctDefault);
        break;
    case prSpinOptions:
        Result =
            static_cast<int>(TgxSpinOptions{spoAutoRepeat, spoAutoIncrement, spoKeyEdit}.Bits());
        break;
    case prSpinIncrement:
        Result = 1;
        break;
    case prHorzAlignment:
        Result = static_cast<int>(htaDefault);
        break;
    case prVertAlignment:
        Result = static_cast<int>(vtaDefault);
        break;
    case prTag:
        Result = 0;
        break;
    default:
        // Display number, sizes, visibility, change mark, heading button,
        // sort picture, maximum length and grayed state have no default.
        break;
    }
    return Result;
}

AnsiString ColorToHex(TColor Color) {
    static constexpr char Digits[] = "0123456789ABCDEF";
    const auto Bits = static_cast<std::uint32_t>(Color);
    AnsiString Result;
    for (int Shift : {0, 8, 16}) {
        const unsigned Byte = (Bits >> Shift) & 0xFF;
        Result += Digits[Byte >> 4];
        Result += Digits[Byte & 0xF];
    }
    return Result;
}

TColor TranslateColor(TColor Color) {
    // Indexed by the system colour's index, 1 to 24.
    static constexpr std::array<TColor, 25> Fixed = {
        0,        0xFFFF00, 0x000000, 0xFF0000, 0x808080, 0xFFFFFF, 0x808080, 0x008000, 0x00FF00,
        0xC0C0C0, 0x000080, 0x800000, 0x008080, 0x800080, 0x0000FF, 0xC0C0C0, 0x808000, 0xFFFFFF,
        0x000000, 0x00FFFF, 0x00FFFF, 0x00FFFF, 0x00FFFF, 0x00FFFF, 0x00FFFF};
    const auto Bits = static_cast<std::uint32_t>(Color);
    if (Bits < 0x80000001u || Bits > 0x80000018u) return Color;
    return Fixed[Bits - 0x80000000u];
}

TGridRect MakeGridRect(int Left, int Top, int Right, int Bottom) {
    return TGridRect{Left, Top, Right, Bottom};
}

int OldAlignmentOrdinal(const AnsiString& Identifier) {
    const AnsiString Name = LowerCase(Identifier);
    if (Name == "tarightjustify") return 1;
    if (Name == "tacenter") return 2;
    return 0;
}

} // namespace grid
