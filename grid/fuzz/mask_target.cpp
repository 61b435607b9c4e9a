// Feeds arbitrary pictures, texts and typed input to the edit-mask language.
// Input layout: one flag byte, then picture, '\n', text, '\n', typed input.
// Any outcome but a crash, a sanitizer report or a hang is acceptable:
// syntax errors raise EgxMaskError, texts that don't fit answer false.
#include "grid/fuzz/FuzzTargets.h"

#include "grid/foundation/TextMask.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

std::string NextField(std::string& Rest) {
    const std::size_t End = Rest.find('\n');
    std::string Field = Rest.substr(0, End);
    Rest = End == std::string::npos ? std::string() : Rest.substr(End + 1);
    return Field;
}

} // namespace

namespace grid::fuzz {

int MaskInput(const std::uint8_t* Data, std::size_t Size) {
    if (Size < 1) return 0;
    const std::uint8_t Flags = Data[0];
    std::string Rest(reinterpret_cast<const char*>(Data + 1), Size - 1);
    const std::string Picture = NextField(Rest);
    const std::string Text = NextField(Rest);
    const std::string Input = NextField(Rest);

    grid::TgxTextMask Mask;
    try {
        Mask.SetPicture(Picture);
    } catch (const grid::EgxMaskError&) {
        // Still usable: an invalid picture accepts everything.
    }
    Mask.ValidText(Text, (Flags & 1) != 0);
    std::string Typed = Input;
    const int Caret = static_cast<int>(Flags >> 3) - 2; // also before the start
    Mask.ValidInput(Text, Typed, Caret, (Flags & 2) != 0, (Flags & 4) != 0);
    return 0;
}

} // namespace grid::fuzz
