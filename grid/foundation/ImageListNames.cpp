#include "grid/foundation/ImageListNames.h"

#include "platform/rtl/StrUtils.h"

namespace grid {

TgxImageName SplitImageName(const AnsiString& Text) {
    TgxImageName Result;
    const std::size_t Dot = Text.find('.');
    if (Dot == AnsiString::npos) {
        Result.Name = Trim(Text);
        return Result;
    }
    Result.HasSet = true;
    Result.SetName = Trim(Text.substr(0, Dot));
    Result.Name = Trim(Text.substr(Dot + 1));
    return Result;
}

bool SameImageText(const AnsiString& A, const AnsiString& B) {
    return AnsiSameText(Trim(A), Trim(B));
}

long long ImageNameNumber(const AnsiString& Name) {
    static const AnsiString Prefix = "image";
    const AnsiString Text = Trim(Name);
    if (Text.size() <= Prefix.size() || !AnsiSameText(Text.substr(0, Prefix.size()), Prefix))
        return -1;
    // Leading zeros count by value ("Image01" is number 1); a number too
    // long to matter for the search is no number.
    long long Number = 0;
    for (std::size_t I = Prefix.size(); I < Text.size(); ++I) {
        const char C = Text[I];
        if (C < '0' || C > '9') return -1;
        if (Number > 100000000000LL) return -1;
        Number = Number * 10 + (C - '0');
    }
    return Number;
}

} // namespace grid
