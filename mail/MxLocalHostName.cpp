#include "mail/MxComponent.h"
#include "mail/MxExceptions.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace mail {

// The name the host knows itself by, as the socket stack reads it: into a
// 250-byte buffer, cut at the first NUL.
AnsiString TMxComponent::GetLocalHostName() {
    char buffer[250] = {};
    if (gethostname(buffer, sizeof buffer - 1) != 0) {
        const int error = errno;
        throw EMxSocketError(error, std::string("Cannot read the local host name: ") +
                                        std::strerror(error));
    }
    return AnsiString(buffer);
}

} // namespace mail
