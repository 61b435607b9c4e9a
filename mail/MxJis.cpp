#include "mail/MxJis.h"

#include <array>
#include <cstdint>

namespace mail {

namespace {

const AnsiString EnterDoubleByte = "\x1B$B";
const AnsiString LeaveDoubleByte = "\x1B(B";

// JIS X 0208 codes of the half-width katakana 0xA1 .. 0xDF.
constexpr std::array<std::uint16_t, 63> HalfWidthKana = {
    0x2123, 0x2156, 0x2157, 0x2122, 0x2126, 0x2572, 0x2521, 0x2523, 0x2525, 0x2527, 0x2529,
    0x2563, 0x2565, 0x2567, 0x2543, 0x213C, 0x2522, 0x2524, 0x2526, 0x2528, 0x252A, 0x252B,
    0x252D, 0x252F, 0x2531, 0x2533, 0x2535, 0x2537, 0x2539, 0x253B, 0x253D, 0x253F, 0x2541,
    0x2544, 0x2546, 0x2548, 0x254A, 0x254B, 0x254C, 0x254D, 0x254E, 0x254F, 0x2552, 0x2555,
    0x2558, 0x255B, 0x255E, 0x255F, 0x2560, 0x2561, 0x2562, 0x2564, 0x2566, 0x2568, 0x2569,
    0x256A, 0x256B, 0x256C, 0x256D, 0x256F, 0x2573, 0x212B, 0x212C};

constexpr std::uint8_t VoicedMark = 0xDE;
constexpr std::uint8_t SemiVoicedMark = 0xDF;

bool IsLeadByte(std::uint8_t b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xEF);
}
bool IsTrailByte(std::uint8_t b) {
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}
bool IsHalfWidthKana(std::uint8_t b) {
    return b >= 0xA1 && b <= 0xDF;
}

// The full-width form of a half-width kana, joined with the sound mark that
// follows it when the pair has a character of its own. AUsedMark tells that
// the mark was taken.
std::uint16_t FullWidthKana(std::uint8_t AKana, int ANext, bool& AUsedMark) {
    AUsedMark = false;
    const std::uint16_t code = HalfWidthKana[AKana - 0xA1];
    if (ANext == VoicedMark) {
        // ka .. to, ha .. ho take the voiced mark; u becomes vu.
        if ((AKana >= 0xB6 && AKana <= 0xC4) || (AKana >= 0xCA && AKana <= 0xCE)) {
            AUsedMark = true;
            return code + 1;
        }
        if (AKana == 0xB3) {
            AUsedMark = true;
            return 0x2574;
        }
    } else if (ANext == SemiVoicedMark && AKana >= 0xCA && AKana <= 0xCE) {
        AUsedMark = true;
        return code + 2;
    }
    return code;
}

std::uint16_t ShiftJisToJis(std::uint8_t s1, std::uint8_t s2) {
    const int row = (s1 >= 0xE0 ? s1 - 0x40 : s1) - 0x81;
    if (s2 >= 0x9F) return static_cast<std::uint16_t>(((row * 2 + 0x22) << 8) | (s2 - 0x7E));
    return static_cast<std::uint16_t>(((row * 2 + 0x21) << 8) | (s2 - (s2 >= 0x80 ? 0x20 : 0x1F)));
}

void AppendShiftJis(AnsiString& AOut, std::uint8_t j1, std::uint8_t j2) {
    const int s1 = ((j1 + 1) >> 1) + (j1 <= 0x5E ? 0x70 : 0xB0);
    const int s2 = (j1 & 1) ? j2 + (j2 >= 0x60 ? 0x20 : 0x1F) : j2 + 0x7E;
    AOut += static_cast<char>(s1);
    AOut += static_cast<char>(s2);
}

} // namespace

AnsiString ShiftJisToIso2022Jp(const AnsiString& AText) {
    AnsiString out;
    bool doubleByte = false;
    auto enter = [&] {
        if (!doubleByte) out += EnterDoubleByte;
        doubleByte = true;
    };
    auto leave = [&] {
        if (doubleByte) out += LeaveDoubleByte;
        doubleByte = false;
    };
    auto appendJis = [&](std::uint16_t code) {
        enter();
        out += static_cast<char>(code >> 8);
        out += static_cast<char>(code & 0xFF);
    };

    const std::size_t n = AText.size();
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint8_t b = static_cast<std::uint8_t>(AText[i]);
        if (IsLeadByte(b) && i + 1 < n && IsTrailByte(static_cast<std::uint8_t>(AText[i + 1]))) {
            appendJis(ShiftJisToJis(b, static_cast<std::uint8_t>(AText[i + 1])));
            ++i;
        } else if (IsHalfWidthKana(b)) {
            const int next = i + 1 < n ? static_cast<std::uint8_t>(AText[i + 1]) : -1;
            bool usedMark = false;
            appendJis(FullWidthKana(b, next, usedMark));
            if (usedMark) ++i;
        } else {
            leave();
            out += static_cast<char>(b);
        }
    }
    leave();
    return out;
}

AnsiString Iso2022JpToShiftJis(const AnsiString& AText) {
    AnsiString out;
    bool doubleByte = false;
    const std::size_t n = AText.size();
    for (std::size_t i = 0; i < n;) {
        if (AText.compare(i, 3, EnterDoubleByte) == 0 || AText.compare(i, 3, "\x1B$@") == 0) {
            doubleByte = true;
            i += 3;
            continue;
        }
        if (AText.compare(i, 3, LeaveDoubleByte) == 0 || AText.compare(i, 3, "\x1B(J") == 0) {
            doubleByte = false;
            i += 3;
            continue;
        }
        const std::uint8_t j1 = static_cast<std::uint8_t>(AText[i]);
        if (doubleByte && i + 1 < n) {
            const std::uint8_t j2 = static_cast<std::uint8_t>(AText[i + 1]);
            if (j1 >= 0x21 && j1 <= 0x7E && j2 >= 0x21 && j2 <= 0x7E) {
                AppendShiftJis(out, j1, j2);
                i += 2;
                continue;
            }
        }
        out += static_cast<char>(j1);
        ++i;
    }
    return out;
}

} // namespace mail
