#pragma once
// The clipboard, for text: what cut, copy and paste of the program's own
// text controls put there and take from it. It stands on the system
// clipboard where there is one; on a platform without (offscreen) it holds
// the text within the process, so cut and paste still meet.
#include "platform/rtl/AnsiString.h"

// Clipboard formats a text user asks about.
inline constexpr unsigned CF_TEXT = 1;
inline constexpr unsigned CF_UNICODETEXT = 13;

class TClipboard {
public:
    // The text on the clipboard (UTF-8); empty when it holds none.
    AnsiString AsText() const;
    // Puts the text on the clipboard in place of what was there.
    void SetAsText(const AnsiString& Value);
    // Whether the clipboard holds data of the format (text formats only).
    bool HasFormat(unsigned Format) const;
    void Clear();
};

// The one clipboard of the program.
TClipboard* Clipboard();
