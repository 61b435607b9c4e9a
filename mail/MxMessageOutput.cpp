#include "mail/MxMessageOutput.h"

namespace mail {

TMxMessageOutput::TMxMessageOutput(TSink ASink, std::size_t AChunkSize)
    : FSink(std::move(ASink)), FChunkSize(AChunkSize) {}

int TMxMessageOutput::Read(void*, int) {
    return 0;
}

std::int64_t TMxMessageOutput::Seek(std::int64_t, TSeekOrigin) {
    return -1;
}

void TMxMessageOutput::LineEnd() {
    FBuffer += "\r\n";
    FAtLineStart = true;
    FPendingCR = false;
}

void TMxMessageOutput::Append(const char* AText, std::size_t ACount) {
    const char* next = AText;
    const char* const end = next + ACount;
    while (next < end) {
        const char c = *next;
        if (c == '\n') {
            LineEnd();
            ++next;
            continue;
        }
        // A CR is a line end of its own unless a LF follows.
        if (FPendingCR) LineEnd();
        if (c == '\r') {
            FPendingCR = true;
            ++next;
            continue;
        }
        if (FAtLineStart && c == '.') FBuffer += '.';
        // The rest of the line goes in one piece.
        const char* stop = next + 1;
        while (stop < end && *stop != '\r' && *stop != '\n')
            ++stop;
        FBuffer.append(next, static_cast<std::size_t>(stop - next));
        FAtLineStart = false;
        next = stop;
    }
}

int TMxMessageOutput::Write(const void* Buffer, int Count) {
    if (Count <= 0 || Buffer == nullptr) return 0;
    Append(static_cast<const char*>(Buffer), static_cast<std::size_t>(Count));
    PassFullChunk();
    return Count;
}

void TMxMessageOutput::PassFullChunk() {
    if (FBuffer.size() < FChunkSize) return;
    AnsiString text;
    text.swap(FBuffer);
    FSink(text);
}

void TMxMessageOutput::WriteText(const AnsiString& AText) {
    Write(AText.data(), static_cast<int>(AText.size()));
}

void TMxMessageOutput::WriteLine(const AnsiString& AText) {
    Append(AText.data(), AText.size());
    // A CR that ended the text is a line end of its own.
    if (FPendingCR) LineEnd();
    LineEnd();
    PassFullChunk();
}

void TMxMessageOutput::WriteEnd(const AnsiString& ALine) {
    if (FPendingCR || !FAtLineStart) LineEnd();
    FBuffer += ALine;
    FBuffer += "\r\n";
}

void TMxMessageOutput::Flush() {
    if (FPendingCR) LineEnd();
    if (FBuffer.empty()) return;
    // Cleared first: a sink that fails must not see the text again.
    AnsiString text;
    text.swap(FBuffer);
    FSink(text);
}

} // namespace mail
