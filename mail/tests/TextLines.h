#pragma once
// Splitting the texts the mail classes write into their CR LF lines, the
// way the tests look at them line by line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mailtest {

// Every piece between CR LF pairs, the one after the last pair too: a text
// ending in CR LF ends in an empty piece and an empty text is one empty
// piece. Bare CR and LF stay inside their piece.
inline std::vector<std::string> CrLfPieces(const std::string& AText) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = AText.find("\r\n", start);
        pieces.push_back(AText.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) return pieces;
        start = end + 2;
    }
}

// The lines of a text whose last line may lack its CR LF.
inline std::vector<std::string> Lines(const std::string& AText) {
    std::vector<std::string> lines = CrLfPieces(AText);
    if (lines.back().empty()) lines.pop_back();
    return lines;
}

// The lines of a text in which every line must end in CR LF; a last line
// without one fails the test and is left out.
inline std::vector<std::string> TerminatedLines(const std::string& AText) {
    std::vector<std::string> lines = CrLfPieces(AText);
    EXPECT_TRUE(lines.back().empty()) << "line without CR LF: " << lines.back();
    lines.pop_back();
    return lines;
}

} // namespace mailtest
