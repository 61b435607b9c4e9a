#include "grid/foundation/GridCommonCheckBox.h"
#include "grid/foundation/GridCommonText.h"
#include "platform/rtl/StrUtils.h"

#include <algorithm>
#include <array>

namespace grid {

namespace {

// Checked, unchecked and grayed text, in that order; missing parts empty.
std::array<AnsiString, 3> Parts(const AnsiString& Values) {
    std::array<AnsiString, 3> Result;
    AnsiString Rest = Values;
    for (AnsiString& Part : Result)
        SeparateFirstPart(Rest, Part, '|');
    return Result;
}

int Index(TCheckBoxState State) {
    switch (State) {
    case cbChecked:
        return 0;
    case cbUnchecked:
        return 1;
    default:
        return 2;
    }
}

} // namespace

bool CheckBoxValuesOk(const AnsiString& Values) {
    if (Values.empty()) return true;
    const auto First = Values.find('|');
    if (First == AnsiString::npos) return false;
    if (std::count(Values.begin(), Values.end(), '|') > 2) return false;
    return !Parts(Values)[1].empty();
}

AnsiString CheckBoxToString(TCheckBoxState State, const AnsiString& Values) {
    return Parts(Values)[Index(State)];
}

TCheckBoxState StringToCheckBox(const AnsiString& Text, const AnsiString& Values) {
    if (Values.empty()) return cbGrayed;
    const auto P = Parts(Values);
    const AnsiString Upper = AnsiUpperCase(Text);
    if (Upper == AnsiUpperCase(P[0])) return cbChecked;
    if (Upper == AnsiUpperCase(P[1])) return cbUnchecked;
    return cbGrayed;
}

Variant CheckBoxToVariant(TCheckBoxState State, const AnsiString& Values) {
    if (Values.empty()) return Variant(static_cast<int>(State));
    const AnsiString Part = CheckBoxToString(State, Values);
    if (SameText(Part, "Null")) return Null();
    return Variant(Part);
}

TCheckBoxState VariantToCheckBox(const Variant& Value, const AnsiString& Values) {
    const TVarType Type = VarType(Value);
    if (Type == varString || Type == varOleStr) return StringToCheckBox(Value.AsString(), Values);
    if (VarTypeIsInteger(Type)) {
        // A stored number outside the three states must not become a
        // state that does not exist.
        const auto N = Value.AsInt64();
        if (N == 0) return cbUnchecked;
        if (N == 1) return cbChecked;
        return cbGrayed;
    }
    if (Type == varNull) {
        const auto P = Parts(Values);
        if (P[0] == "Null") return cbChecked;
        if (P[1] == "Null") return cbUnchecked;
    }
    return cbGrayed;
}

} // namespace grid
