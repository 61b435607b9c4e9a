#include "components/PaletteBitmaps.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace components {

namespace {

// Colour indices of the standard palette.
enum : char {
    Black = 0,
    Maroon = 1,
    Green = 2,
    Olive = 3,
    Navy = 4,
    Purple = 5,
    Teal = 6,
    Silver = 7,
    Gray = 8,
    Red = 9,
    Lime = 10,
    Yellow = 11,
    Blue = 12,
    Fuchsia = 13,
    Aqua = 14,
    White = 15
};

class TCanvas16 {
public:
    TCanvas16() { FPixels.fill(Silver); }
    void Fill(int L, int T, int R, int B, char C) {
        for (int Y = std::max(T, 0); Y <= std::min(B, PaletteBitmapSize - 1); ++Y)
            for (int X = std::max(L, 0); X <= std::min(R, PaletteBitmapSize - 1); ++X)
                FPixels[static_cast<std::size_t>(Y * PaletteBitmapSize + X)] = C;
    }
    void Frame(int L, int T, int R, int B, char C) {
        Fill(L, T, R, T, C);
        Fill(L, B, R, B, C);
        Fill(L, T, L, B, C);
        Fill(R, T, R, B, C);
    }
    // A face with one colour along its top and left edges and another
    // along its bottom and right ones.
    void Bevel(int L, int T, int R, int B, char Face, char TopLeft, char BottomRight) {
        Fill(L, T, R, B, Face);
        Fill(L, T, R, T, TopLeft);
        Fill(L, T, L, B, TopLeft);
        Fill(L, B, R, B, BottomRight);
        Fill(R, T, R, B, BottomRight);
    }
    // Raised: light top and left, dark bottom and right.
    void Raised(int L, int T, int R, int B) { Bevel(L, T, R, B, Silver, White, Gray); }
    // An edit box: white, sunken frame.
    void Edit(int L, int T, int R, int B) { Bevel(L, T, R, B, White, Gray, Silver); }
    std::string Text() const {
        std::string Result;
        Result.reserve(FPixels.size());
        for (char C : FPixels)
            Result += "0123456789abcdef"[static_cast<unsigned char>(C)];
        return Result;
    }

private:
    std::array<char, PaletteBitmapSize * PaletteBitmapSize> FPixels{};
};

// A button face with a green check and a red cross beside it.
std::string ColorBitBtn() {
    TCanvas16 C;
    C.Frame(1, 5, 22, 18, Black);
    C.Raised(2, 6, 21, 17);
    for (int I = 0; I < 3; ++I)
        C.Fill(5 + I, 11 + I, 5 + I, 12 + I, Green);
    for (int I = 0; I < 4; ++I)
        C.Fill(8 + I, 12 - I, 8 + I, 13 - I, Green);
    for (int I = 0; I < 5; ++I) {
        C.Fill(14 + I, 9 + I, 14 + I, 9 + I, Red);
        C.Fill(18 - I, 9 + I, 18 - I, 9 + I, Red);
    }
    return C.Text();
}

// A month page: red heading, a grid of days, today marked.
std::string Calendar() {
    TCanvas16 C;
    C.Frame(2, 2, 21, 21, Black);
    C.Fill(3, 3, 20, 20, White);
    C.Fill(3, 3, 20, 7, Red);
    C.Fill(7, 4, 16, 5, White);
    for (int Row = 0; Row < 4; ++Row)
        for (int Col = 0; Col < 5; ++Col)
            C.Fill(4 + Col * 3 + Col / 2, 9 + Row * 3, 5 + Col * 3 + Col / 2, 10 + Row * 3, Gray);
    C.Frame(10, 14, 14, 17, Blue);
    return C.Text();
}

// An edit box with a small calendar button at its right end.
std::string DateEdit() {
    TCanvas16 C;
    C.Edit(1, 6, 22, 17);
    C.Fill(3, 10, 4, 13, Black);
    C.Fill(6, 10, 7, 13, Black);
    C.Fill(9, 11, 10, 11, Black);
    C.Raised(15, 8, 21, 16);
    C.Fill(16, 9, 20, 10, Red);
    C.Fill(16, 11, 20, 15, White);
    C.Fill(17, 12, 17, 12, Black);
    C.Fill(19, 14, 19, 14, Black);
    return C.Text();
}

// An edit box with a telephone handset over it.
std::string PhoneEdit() {
    TCanvas16 C;
    C.Edit(1, 12, 22, 21);
    for (int X : {4, 7, 10, 13, 16, 19})
        C.Fill(X, 16, X + 1, 17, Black);
    C.Fill(5, 3, 18, 5, Navy);
    C.Fill(3, 4, 6, 9, Navy);
    C.Fill(17, 4, 20, 9, Navy);
    return C.Text();
}

// An edit box with a letter above it.
std::string ZipEdit() {
    TCanvas16 C;
    C.Edit(1, 13, 22, 21);
    for (int X : {4, 8, 12, 16})
        C.Fill(X, 16, X + 2, 18, Black);
    C.Frame(4, 1, 19, 11, Black);
    C.Fill(5, 2, 18, 10, Yellow);
    for (int I = 0; I < 7; ++I) {
        C.Fill(5 + I, 2 + I, 5 + I, 2 + I, Black);
        C.Fill(18 - I, 2 + I, 18 - I, 2 + I, Black);
    }
    return C.Text();
}

std::string Upper(std::string Text) {
    std::transform(Text.begin(), Text.end(), Text.begin(),
                   [](unsigned char C) { return static_cast<char>(std::toupper(C)); });
    return Text;
}

} // namespace

std::string PaletteBitmap(const std::string& Name) {
    const std::string Key = Upper(Name);
    if (Key == "TCOLORBITBTN") return ColorBitBtn();
    if (Key == "TPWCALENDAR") return Calendar();
    if (Key == "TPWDATEEDIT") return DateEdit();
    if (Key == "TPWPHONEEDIT") return PhoneEdit();
    if (Key == "TPWZIPEDIT") return ZipEdit();
    return std::string();
}

std::uint32_t PaletteColor(int Index) {
    static constexpr std::uint32_t Colors[16] = {
        0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
        0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    return Index >= 0 && Index < 16 ? Colors[Index] : 0;
}

} // namespace components
