#pragma once
// Japanese text between the local double-byte coding (Shift_JIS) and the
// 7-bit mail coding ISO-2022-JP (RFC 1468).
#include "platform/rtl/AnsiString.h"

namespace mail {

// Double-byte characters become JIS X 0208 pairs inside ESC $ B ... ESC ( B;
// half-width katakana become their full-width forms, joined with a following
// (semi-)voiced sound mark where such a character exists. Bytes that form no
// Shift_JIS character pass unchanged.
AnsiString ShiftJisToIso2022Jp(const AnsiString& AText);

// ESC $ B (or the older ESC $ @) enters and ESC ( B (or ESC ( J) leaves
// double-byte mode; pairs in double-byte mode become Shift_JIS; other bytes
// pass.
AnsiString Iso2022JpToShiftJis(const AnsiString& AText);

} // namespace mail
