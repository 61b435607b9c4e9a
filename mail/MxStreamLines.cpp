#include "mail/MxStreamLines.h"

#include "mail/MxExceptions.h"

#include <cstddef>

namespace mail {

namespace {
constexpr int ChunkSize = 2048;
}

AnsiString StreamReadLine(TStream* AStream, int AMaxLength, bool ARaiseAtEnd) {
    if (auto* source = dynamic_cast<TMxLineSource*>(AStream)) {
        return source->ReadLineFromSource(AMaxLength);
    }

    const std::int64_t start = AStream->GetPosition();
    AnsiString line;
    char chunk[ChunkSize];
    bool readAny = false;
    std::int64_t consumed = 0; // bytes used from start, terminator included
    bool done = false;
    while (!done) {
        const int got = AStream->Read(chunk, ChunkSize);
        if (got <= 0) break;
        readAny = true;
        for (int i = 0; i < got; ++i) {
            if (AMaxLength >= 0 && static_cast<int>(line.size()) >= AMaxLength) {
                done = true;
                break;
            }
            const char c = chunk[i];
            if (c == '\n') {
                consumed += 1;
                done = true;
                break;
            }
            if (c == '\r') {
                consumed += 1;
                // A LF right after the CR belongs to the same terminator, even
                // when it starts the next chunk.
                char next = 0;
                if (i + 1 < got) {
                    next = chunk[i + 1];
                } else if (AStream->Read(&next, 1) != 1) {
                    next = 0;
                }
                if (next == '\n') consumed += 1;
                done = true;
                break;
            }
            line += c;
            consumed += 1;
        }
    }
    if (!readAny && ARaiseAtEnd) {
        throw EMxEndOfStream("End of stream: " + AStream->ClassName() + " at " +
                             std::to_string(start));
    }
    AStream->Seek(start + consumed, soBeginning);
    return line;
}

void StreamWriteLine(TStream* AStream, const AnsiString& AText) {
    const AnsiString line = AText + "\r\n";
    AStream->WriteBuffer(line.data(), static_cast<int>(line.size()));
}

} // namespace mail
