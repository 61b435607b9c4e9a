#pragma once
// A stream over a connection: reads take exactly the bytes asked for,
// writes send at once, and StreamReadLine reads its lines straight from the
// connection. It cannot seek.
#include "mail/MxStreamLines.h"
#include "platform/rtl/Streams.h"

namespace mail {

class TMxTCPConnection;

class TMxTCPStream : public TStream, public TMxLineSource {
public:
    explicit TMxTCPStream(TMxTCPConnection* AConnection) : FConnection(AConnection) {}
    AnsiString ClassName() const override { return "TMxTCPStream"; }

    TMxTCPConnection* Connection() const { return FConnection; }

    int Read(void* Buffer, int Count) override;
    int Write(const void* Buffer, int Count) override;
    std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override;
    AnsiString ReadLineFromSource(int AMaxLength) override;

private:
    TMxTCPConnection* FConnection;
};

} // namespace mail
