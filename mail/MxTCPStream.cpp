#include "mail/MxTCPStream.h"

#include "mail/MxStack.h"
#include "mail/MxTCPConnection.h"

namespace mail {

int TMxTCPStream::Read(void* Buffer, int Count) {
    FConnection->ReadExact(Buffer, Count);
    return Count < 0 ? 0 : Count;
}

int TMxTCPStream::Write(const void* Buffer, int Count) {
    FConnection->WriteBytes(Buffer, Count);
    return Count < 0 ? 0 : Count;
}

std::int64_t TMxTCPStream::Seek(std::int64_t, TSeekOrigin) {
    return -1;
}

AnsiString TMxTCPStream::ReadLineFromSource(int AMaxLength) {
    return FConnection->ReadLine("\n", MxTimeoutDefault, AMaxLength);
}

} // namespace mail
