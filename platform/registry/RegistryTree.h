#pragma once
// The in-memory form of one registry root: keys holding typed values and
// subkeys. Names compare without case and keep the case they were first
// written with.
#include "platform/registry/RegistryTypes.h"
#include "platform/rtl/AnsiString.h"

#include <map>
#include <memory>
#include <vector>

namespace registry_store {

// The form two names are compared in.
AnsiString FoldName(const AnsiString& Name);

// Splits a key path ("Software\Pellworth") into its key names. False when a
// name is empty (a doubled separator), longer than 255 bytes or holds a
// control character; a single trailing separator is allowed.
bool SplitKeyPath(const AnsiString& Path, std::vector<AnsiString>& Names);

struct TValue {
    AnsiString Name;
    TRegDataType Type = rdUnknown;
    // Strings as their text, integers as four bytes low byte first, binary as is.
    AnsiString Data;
};

class TKey {
public:
    explicit TKey(AnsiString name = {}) : Name(std::move(name)) {}

    const TValue* FindValue(const AnsiString& ValueName) const;
    // Replaces the data and type of an existing value (keeping its name's case)
    // or appends a new one.
    void SetValue(const AnsiString& ValueName, TRegDataType Type, AnsiString Data);
    bool DeleteValue(const AnsiString& ValueName);

    const TKey* FindSubKey(const AnsiString& KeyName) const;
    bool DeleteSubKey(const AnsiString& KeyName);
    // The key at Path below this one, or nullptr.
    const TKey* Find(const std::vector<AnsiString>& Path) const;
    TKey* Find(const std::vector<AnsiString>& Path);
    // The key at Path, created with its missing parents; Created tells whether any was missing.
    TKey& Force(const std::vector<AnsiString>& Path, bool& Created);

    AnsiString Name;
    // In the order they were first written.
    std::vector<TValue> Values;
    // By folded name, so they list in the registry's order.
    std::map<AnsiString, std::unique_ptr<TKey>> SubKeys;
};

} // namespace registry_store
