#pragma once
// Loading a shared library by name and calling its registration entry.
#include "platform/rtl/AnsiString.h"

namespace formstore {

// The library loaded with dlopen (all symbols bound now); free it with
// dlclose. A library that cannot be loaded raises EWin32Error naming it
// and the loader's reason.
void* LoadDLL(const AnsiString& LibName);
// Loads the library, calls its "DllRegisterServer" when it has one, and
// frees it again: true when the entry was there and called. Loading errors
// are raised as by LoadDLL.
bool RegisterServer(const AnsiString& ModuleName);

} // namespace formstore
