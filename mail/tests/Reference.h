#pragma once
// Runs tests/reference.py (Python's standard library as the independent
// reference) and hands its output back as rows of TAB-separated fields.
#include "PythonRows.h"

#include <string>

namespace mailtest {

// The rows printed by `reference.py AMode`, fed AInput on stdin.
inline std::vector<Row> Reference(const std::string& AMode, const std::string& AInput = "") {
    return PythonRows("reference.py", AMode, AInput);
}

inline std::string FromHex(const std::string& AHex) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < AHex.size(); i += 2) {
        bytes += static_cast<char>(std::stoi(AHex.substr(i, 2), nullptr, 16));
    }
    return bytes;
}

inline std::string ToHex(const std::string& ABytes) {
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char c : ABytes) {
        hex += digits[c >> 4];
        hex += digits[c & 15];
    }
    return hex;
}

} // namespace mailtest
