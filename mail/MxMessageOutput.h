#pragma once
// The text of a message on its way to the connection. Whatever is written
// leaves as lines ending in CR LF (a lone CR or LF becomes a line end, never
// a bare byte on the wire), and every line that begins with "." gets a
// second "." in front, so no line of the message can end it early. Coders
// write into it like any stream; the text goes out in large pieces.
#include "platform/rtl/AnsiString.h"
#include "platform/rtl/Streams.h"

#include <cstddef>
#include <functional>

namespace mail {

class TMxMessageOutput : public TStream {
public:
    using TSink = std::function<void(const AnsiString& AText)>;
    explicit TMxMessageOutput(TSink ASink, std::size_t AChunkSize = 32768);
    AnsiString ClassName() const override { return "TMxMessageOutput"; }

    int Read(void* Buffer, int Count) override;
    int Write(const void* Buffer, int Count) override;
    std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override;

    void WriteText(const AnsiString& AText);
    void WriteLine(const AnsiString& AText);
    // Ends an open line and adds ALine as it stands, not dot-stuffed: the
    // line that closes the text on the wire goes out with its last piece.
    void WriteEnd(const AnsiString& ALine);
    // Ends a pending CR as a line end and hands everything to the sink.
    void Flush();

private:
    // The text with its line ends made CR LF and its lines dot-stuffed.
    void Append(const char* AText, std::size_t ACount);
    void LineEnd();
    // Hands the buffer to the sink once it holds a chunk.
    void PassFullChunk();

    TSink FSink;
    std::size_t FChunkSize;
    AnsiString FBuffer;
    bool FAtLineStart = true;
    bool FPendingCR = false;
};

} // namespace mail
