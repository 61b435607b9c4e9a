#include "grid/foundation/GridCommonResStr.h"

#include <limits>
#include <map>

namespace grid {

namespace {

std::map<int, AnsiString>& Table() {
    static std::map<int, AnsiString> Strings;
    return Strings;
}

} // namespace

void AddResourceString(int Ident, const AnsiString& Text) {
    Table()[Ident] = Text;
}

AnsiString LoadResString(int Ident) {
    const auto Found = Table().find(Ident);
    return Found == Table().end() ? AnsiString() : Found->second;
}

AnsiString ResourceStr(const Variant& Value) {
    if (!Value.IsArray() && VarTypeIsInteger(VarType(Value))) {
        // A number no identifier can have names nothing.
        const std::int64_t Ident = Value.AsInt64();
        if (Ident < std::numeric_limits<int>::min() || Ident > std::numeric_limits<int>::max())
            return AnsiString();
        return LoadResString(static_cast<int>(Ident));
    }
    return VarToStr(Value);
}

} // namespace grid
