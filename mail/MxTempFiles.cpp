#include "mail/MxTempFiles.h"

#include "mail/MxExceptions.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <unistd.h>
#include <vector>

namespace mail {

namespace {

AnsiString WithTrailingDelimiter(AnsiString APath) {
    if (APath.empty() || APath.back() != '/') APath += '/';
    return APath;
}

} // namespace

AnsiString TempDirectory() {
    // Read once: the folder does not move while the program runs.
    static const AnsiString directory = [] {
        const char* env = std::getenv("TMPDIR");
        return WithTrailingDelimiter(env != nullptr && *env != '\0' ? env : "/tmp");
    }();
    return directory;
}

AnsiString MakeTempFileName(const AnsiString& ADirectory) {
    const AnsiString directory =
        ADirectory.empty() ? TempDirectory() : WithTrailingDelimiter(ADirectory);
    const AnsiString pattern = directory + "MxtXXXXXX.tmp";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = mkstemps(name.data(), 4);
    if (fd < 0) {
        const int error = errno;
        throw EMxException("Cannot create a temporary file in \"" + directory +
                           "\": " + std::strerror(error));
    }
    close(fd);
    return AnsiString(name.data());
}

} // namespace mail
