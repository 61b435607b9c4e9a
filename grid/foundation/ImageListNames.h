#pragma once
// How image names are written and compared: "set.name" or a plain name in
// the main set, both parts trimmed, compared without regard to case.
#include "platform/rtl/AnsiString.h"

namespace grid {

struct TgxImageName {
    AnsiString SetName;
    AnsiString Name;
    // Whether the text named a set (held a ".").
    bool HasSet = false;
};

// Splits at the first "." and trims both parts.
TgxImageName SplitImageName(const AnsiString& Text);

// Equal without regard to case and surrounding blanks.
bool SameImageText(const AnsiString& A, const AnsiString& B);

// The number n of a name "Image<n>" (any case, the number by value), or -1
// for any other name.
long long ImageNameNumber(const AnsiString& Name);

} // namespace grid
