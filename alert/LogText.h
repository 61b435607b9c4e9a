#pragma once
// Texts that come from the database or a mail server, made safe for one
// line of the results log: a line break, a NUL or another control
// character in an address or a reply must not start a line of its own in
// the log (and on standard error), nor cut it short.
#include "platform/rtl/AnsiString.h"

// The text with every control character written as an escape: \r, \n, \t,
// \0, or \xHH for the others (DEL included), and a backslash doubled, so
// the escaped text reads back unambiguously.
AnsiString EscapedLogText(const AnsiString& Text);
