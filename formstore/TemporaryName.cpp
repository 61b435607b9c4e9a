#include "formstore/TemporaryName.h"

#include <atomic>
#include <string>
#include <unistd.h>

namespace formstore {

AnsiString TemporaryNameBeside(const AnsiString& Path) {
    static std::atomic<unsigned> Counter{0};
    const auto Slash = Path.rfind('/');
    const AnsiString Folder = Slash == AnsiString::npos ? AnsiString() : Path.substr(0, Slash + 1);
    const AnsiString Name = Slash == AnsiString::npos ? Path : Path.substr(Slash + 1);
    return Folder + "." + Name + "." + std::to_string(::getpid()) + "." +
           std::to_string(Counter++) + ".tmp";
}

} // namespace formstore
