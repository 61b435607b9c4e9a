#pragma once
// Cell texts made fit for an export file. The grid holds UTF-8; what a file
// cannot carry is replaced by the stand-in U+FFFD (the replacement
// character): bytes that are no UTF-8, and in XML the control characters
// XML 1.0 has no place for (all below U+0020 but tab, line feed and
// carriage return, and U+FFFE, U+FFFF). CSV carries every character.
#include "platform/rtl/AnsiString.h"

namespace grid {

// What an XML export writes its text in.
enum class TgxXMLCharset { Utf8, Latin1, Ascii };

// The charset for a declared encoding (any case): empty and "UTF-8" write
// UTF-8, "ISO-8859-1" (or "Latin1") single bytes, "US-ASCII" seven-bit
// bytes; false for an encoding the export cannot write.
bool XMLCharsetFor(const AnsiString& Encoding, TgxXMLCharset& Charset);

// The name a declaration gives the charset, the one every XML reader knows
// ("UTF-8", "ISO-8859-1", "US-ASCII") whatever spelling chose it.
const char* XMLEncodingName(TgxXMLCharset Charset);

// An attribute value: the markup characters as entities, tab and line
// breaks as character references (a reader would make blanks of them), a
// character the charset lacks as a character reference.
AnsiString XMLAttributeText(const AnsiString& Text, TgxXMLCharset Charset);

// A heading as an XML name, in UTF-8: ASCII letters, digits, "_", "-" and
// "." and the letters of Latin-1 stay (no digit, "-" or "." first); every
// other character becomes one "_"; an empty heading gives "_".
AnsiString XMLNameText(const AnsiString& Heading);

// A name made by XMLNameText in the charset (its letters beyond ASCII
// become "_" for ASCII).
AnsiString XMLNameIn(const AnsiString& Name, TgxXMLCharset Charset);

// A CSV field's text: valid UTF-8 (NUL included, which CSV carries).
AnsiString CSVText(const AnsiString& Text);

} // namespace grid
