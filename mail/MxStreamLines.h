#pragma once
// Reading and writing text lines on streams.
#include "platform/rtl/AnsiString.h"
#include "platform/rtl/Streams.h"

namespace mail {

// A stream that reads its lines from a connection itself (the TCP stream):
// StreamReadLine hands such a stream the whole job.
class TMxLineSource {
public:
    virtual ~TMxLineSource() = default;
    // One line without its LF terminator, at most AMaxLength bytes.
    virtual AnsiString ReadLineFromSource(int AMaxLength) = 0;
};

// Reads the next line from AStream's position, up to the first CR, LF or
// CR LF (consumed, not returned) or up to AMaxLength bytes (negative: no
// limit), and leaves the stream just after what it used. At the end of the
// stream with nothing left: EMxEndOfStream with ARaiseAtEnd, else "".
AnsiString StreamReadLine(TStream* AStream, int AMaxLength = -1, bool ARaiseAtEnd = true);

// Writes AText and CR LF.
void StreamWriteLine(TStream* AStream, const AnsiString& AText);

} // namespace mail
