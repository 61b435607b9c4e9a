#include "formstore/Library.h"

#include "formstore/MiscUtil.h"

#include "platform/rtl/Format.h"

#include <cerrno>
#include <dlfcn.h>

namespace formstore {

void* LoadDLL(const AnsiString& LibName) {
    errno = 0;
    void* Handle = ::dlopen(LibName.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (Handle) return Handle;
    const int Code = errno != 0 ? errno : ENOEXEC;
    const char* Reason = ::dlerror();
    EWin32Error Error(Format("Win32 Error.  Code: %d.\n%s", Code,
                             Reason ? AnsiString(Reason) : "Cannot load " + LibName));
    Error.ErrorCode = Code;
    throw Error;
}

bool RegisterServer(const AnsiString& ModuleName) {
    void* Handle = LoadDLL(ModuleName);
    using TRegisterProc = long (*)();
    auto* Register = reinterpret_cast<TRegisterProc>(::dlsym(Handle, "DllRegisterServer"));
    if (Register) Register();
    ::dlclose(Handle);
    return Register != nullptr;
}

} // namespace formstore
