#include "mail/MxReadMemoryStream.h"

namespace mail {

void TMxReadMemoryStream::SetBlock(const void* ABlock, std::int64_t ASize) {
    // The stream never writes through the pointer (Write stores nothing).
    SetPointer(const_cast<void*>(ABlock), ASize);
    Seek(0, soBeginning);
}

int TMxReadMemoryStream::Write(const void*, int) {
    return 0;
}

} // namespace mail
