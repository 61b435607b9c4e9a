#pragma once
// A string list's lines as a vector, so that a test compares them with one
// EXPECT_EQ or ElementsAre and a failure shows every line.
#include "platform/rtl/StringList.h"

#include <vector>

inline std::vector<AnsiString> Lines(const TStrings& Strings) {
    std::vector<AnsiString> lines;
    for (int i = 0; i < Strings.Count(); ++i)
        lines.push_back(Strings[i]);
    return lines;
}
