#pragma once
// Reading and writing single values in a key the caller has opened on a
// TRegistry; the routines never open, create or close keys. Reads give the
// default for a missing value and for one that cannot be read (another type);
// writes swallow every error, so a setting that cannot be stored never stops
// the caller.
#include "platform/registry/Registry.h"

namespace components {

// The stored string, or Default. With WriteDefault a missing value is
// created with Default; an error in that write reaches the caller.
AnsiString ReadRegistryString(TRegistry& Reg, const AnsiString& Name, const AnsiString& Default,
                              bool WriteDefault);
void WriteRegistryString(TRegistry& Reg, const AnsiString& Name, const AnsiString& Value);

// The stored integer, or Default; WriteDefault as for strings.
int ReadRegistryInteger(TRegistry& Reg, const AnsiString& Name, int Default, bool WriteDefault);
void WriteRegistryInteger(TRegistry& Reg, const AnsiString& Name, int Value);

} // namespace components
