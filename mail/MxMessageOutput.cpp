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

void TMxMessageOutput::Put(char c) {
    if (c == '\n') {
        LineEnd();
        return;
    }
    // A CR is a line end of its own unless a LF follows.
    if (FPendingCR) LineEnd();
    if (c == '\r') {
        FPendingCR = true;
        return;
    }
    if (FAtLineStart && c == '.') FBuffer += '.';
    FBuffer += c;
    FAtLineStart = false;
}

int TMxMessageOutput::Write(const void* Buffer, int Count) {
    if (Count <= 0 || Buffer == nullptr) return 0;
    const char* bytes = static_cast<const char*>(Buffer);
    for (int i = 0; i < Count; ++i)
        Put(bytes[i]);
    if (FBuffer.size() >= FChunkSize) {
        AnsiString text;
        text.swap(FBuffer);
        FSink(text);
    }
    return Count;
}

void TMxMessageOutput::WriteText(const AnsiString& AText) {
    Write(AText.data(), static_cast<int>(AText.size()));
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
