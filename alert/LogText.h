#pragma once
// Texts that come from the database or a mail server, made safe for one
// line of the results log: a line break, a NUL or another control
// character in an address or a reply must not start a line of its own in
// the log (and on standard error), nor cut it short.
#include "platform/rtl/AnsiString.h"

// The text with every control character written as an escape: \r, \n, \t,
// \0, or \xHH for the others (DEL included), and a backslash doubled, so
// the escaped text reads back unambiguously. The characters some reader of
// the log takes as a break are escaped as \uHHHH: the C1 controls (NEL
// among them, a break to a terminal or a file viewer), the line and
// paragraph separators, and the noncharacters U+FDD0 to U+FDEF (the
// window's text document breaks a block at the first two). Bytes that are
// no well-formed UTF-8 are written as \xHH, since a reader that takes the
// log for an 8-bit code page would see C1 controls in them.
AnsiString EscapedLogText(const AnsiString& Text);
