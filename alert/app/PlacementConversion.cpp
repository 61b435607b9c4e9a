#include "alert/app/PlacementConversion.h"

#include "components/ExtractWord.h"
#include "components/RegistryRoutines.h"
#include "formstore/FormPlacement.h"
#include "formstore/PlacementFormat.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/Format.h"

#include <algorithm>
#include <climits>
#include <memory>

HKEY PlacementRootKey(std::uint8_t Root) {
    switch (Root) {
    case 1:
        return HKEY_LOCAL_MACHINE;
    case 2:
        return HKEY_CURRENT_CONFIG;
    case 3:
        return HKEY_CLASSES_ROOT;
    case 4:
        return HKEY_USERS;
    case 5:
        return HKEY_DYN_DATA;
    default:
        return HKEY_CURRENT_USER;
    }
}

AnsiString PlacementSuffix() {
    return formstore::ScreenSizeSuffix();
}

AnsiString ReadPlacementValue(TRegistry& Reg, const AnsiString& Name) {
    AnsiString Text = components::ReadRegistryString(Reg, Name + PlacementSuffix(), "", false);
    if (Text.empty()) Text = components::ReadRegistryString(Reg, Name, "", false);
    return Text;
}

void WritePlacementValue(TRegistry& Reg, const AnsiString& Name, const AnsiString& Text) {
    components::WriteRegistryString(Reg, Name + PlacementSuffix(), Text);
    components::WriteRegistryString(Reg, Name, Text);
}

namespace {

// A stored text is not to be trusted to keep right and bottom within range.
int SumWithinRange(int A, int B) {
    const long long Sum = static_cast<long long>(A) + B;
    return static_cast<int>(std::clamp<long long>(Sum, INT_MIN, INT_MAX));
}

void ConvertNormPos(TRegistry& Reg) {
    const AnsiString Text = ReadPlacementValue(Reg, "NormPos");
    if (Text.empty()) return;
    const components::TSysCharSet Delims{',', ' '};
    const int Left = StrToIntDef(components::GetWord(1, Text, Delims), 0);
    const int Top = StrToIntDef(components::GetWord(2, Text, Delims), 0);
    const int Width = StrToIntDef(components::GetWord(3, Text, Delims), 0);
    const int Height = StrToIntDef(components::GetWord(4, Text, Delims), 0);
    WritePlacementValue(
        Reg, "NormPos",
        Format("%d,%d,%d,%d", Left, Top, SumWithinRange(Left, Width), SumWithinRange(Top, Height)));
}

void ConvertIntegerValue(TRegistry& Reg, const AnsiString& Path, const AnsiString& Name) {
    if (Reg.GetDataType(Name) != rdInteger) return;
    const int Value = Reg.ReadInteger(Name);
    if (!Reg.DeleteValue(Name))
        throw Exception(Format("Could not delete registry value: %s\\%s", Path, Name));
    // Unlike the placement texts above, a failure here would lose the value
    // just deleted, so it is not swallowed.
    Reg.WriteString(Name, IntToStr(Value));
}

} // namespace

void ConvertPlacementValues(std::uint8_t Root, const AnsiString& KeyPath,
                            const AnsiString& Section) {
    auto Reg = std::make_unique<TRegistry>();
    Reg->SetRootKey(PlacementRootKey(Root));
    AnsiString Path = KeyPath;
    if (Path.empty() || Path.back() != '\\') Path += '\\';
    Path += Section;
    if (!Reg->OpenKey(Path, false)) return;
    if (Reg->GetDataType("Flags") != rdInteger) return;
    ConvertNormPos(*Reg);
    for (const char* Name : {"Flags", "PixelsPerInch", "ShowCmd"})
        ConvertIntegerValue(*Reg, Path, Name);
}

void ConvertFormPlacement(formstore::TFormPlacement* Placement) {
    ConvertPlacementValues(static_cast<std::uint8_t>(Placement->RegistryRoot()),
                           Placement->GetIniFileName(), Placement->GetIniSection());
}
