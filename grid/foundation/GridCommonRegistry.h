#pragma once
// Registry keys named by one text, the way grid settings are addressed:
// "\\HKEY_LOCAL_MACHINE\Software\X" names a root and a key, a path without
// the two leading backslashes is a key under the default root.
#include "platform/registry/Registry.h"
#include "platform/rtl/AnsiString.h"

#include <memory>

class TWinControl;

namespace grid {

// Opens the key of the path, creating it first when Create is set. nullptr
// when it cannot be opened; ERegistryException "Unknown registry key %s"
// for a root name that is not one of the four known roots.
std::unique_ptr<TRegistry> OpenRegistryKey(const AnsiString& Path, bool Create);

// The string value Name under Key of Root; empty when the key or the value
// is missing.
AnsiString GetRegStrValue(HKEY Root, const AnsiString& Key, const AnsiString& Name);

// The code of the development environment the library was built for.
AnsiString GetCompilerVersion();

// Would open the library's help at Keyword, from the help of the
// development environment GetCompilerVersion names. There is no help
// system here, so no environment is known and nothing opens.
void ShowHelpTopic(TWinControl* Window, const AnsiString& Keyword);

} // namespace grid
