#pragma once
// TRegistry: typed values under keys of a registry root. A key is opened by
// a path relative to the open key, or from the root when the path starts
// with '\'; values are then read and written in the open key. Every write
// reaches the store at once; LazyWrite is accepted and changes nothing.
//
// Reads follow the framework's rules: a value of another type than the read
// asks for raises "Invalid data type for '%s'"; a missing value raises
// "Failed to get data for '%s'", except ReadString (empty text) and
// ReadBinaryData (0 bytes). A write with no key open, on a key opened
// without KEY_SET_VALUE or on a key deleted meanwhile raises
// "Failed to set data for '%s'".
#include "platform/registry/RegistryTypes.h"
#include "platform/rtl/Object.h"
#include "platform/rtl/TDateTime.h"

#include <vector>

class TStrings;

class TRegistry : public TObject {
public:
    TRegistry();
    explicit TRegistry(REGSAM AAccess);
    AnsiString ClassName() const override { return "TRegistry"; }

    HKEY RootKey() const { return FRootKey; }
    // A different root closes the open key.
    void SetRootKey(HKEY Value);
    // The rights the next key is opened with.
    REGSAM Access() const { return FAccess; }
    void SetAccess(REGSAM Value) { FAccess = Value; }
    bool LazyWrite() const { return FLazyWrite; }
    void SetLazyWrite(bool Value) { FLazyWrite = Value; }
    // The open key's path from the root, as it was asked for; empty with no key open.
    AnsiString CurrentPath() const { return FKey.CurrentPath; }

    // Opens Key, creating it and its missing parents when CanCreate. False
    // when it does not exist (and may not be created) or the path is invalid.
    bool OpenKey(const AnsiString& Key, bool CanCreate);
    // Opens an existing key with KEY_READ, which stays the access from then on.
    bool OpenKeyReadOnly(const AnsiString& Key);
    void CloseKey();
    // Creates Key (nothing happens when it exists) without opening it; raises
    // "Failed to create key %s" when it cannot.
    bool CreateKey(const AnsiString& Key);
    // Deletes Key with all its subkeys and values.
    bool DeleteKey(const AnsiString& Key);
    bool KeyExists(const AnsiString& Key) const;
    bool HasSubKeys() const;
    // Clear Strings and fill it with the open key's subkey / value names.
    void GetKeyNames(TStrings* Strings) const;
    void GetValueNames(TStrings* Strings) const;

    bool ValueExists(const AnsiString& Name) const;
    bool DeleteValue(const AnsiString& Name);
    // False (and an empty Value) when the value does not exist.
    bool GetDataInfo(const AnsiString& ValueName, TRegDataInfo& Value) const;
    // rdUnknown when the value does not exist.
    TRegDataType GetDataType(const AnsiString& ValueName) const;
    // -1 when the value does not exist.
    int GetDataSize(const AnsiString& ValueName) const;

    AnsiString ReadString(const AnsiString& Name) const;
    void WriteString(const AnsiString& Name, const AnsiString& Value);
    void WriteExpandString(const AnsiString& Name, const AnsiString& Value);
    int ReadInteger(const AnsiString& Name) const;
    void WriteInteger(const AnsiString& Name, int Value);
    // Stored as an integer, 0 or 1; any other integer reads as true.
    bool ReadBool(const AnsiString& Name) const;
    void WriteBool(const AnsiString& Name, bool Value);
    // Floating-point numbers and times are stored as eight binary bytes.
    double ReadFloat(const AnsiString& Name) const;
    void WriteFloat(const AnsiString& Name, double Value);
    TDateTime ReadDateTime(const AnsiString& Name) const;
    void WriteDateTime(const AnsiString& Name, TDateTime Value);
    TDateTime ReadDate(const AnsiString& Name) const { return ReadDateTime(Name); }
    void WriteDate(const AnsiString& Name, TDateTime Value) { WriteDateTime(Name, Value); }
    TDateTime ReadTime(const AnsiString& Name) const { return ReadDateTime(Name); }
    void WriteTime(const AnsiString& Name, TDateTime Value) { WriteDateTime(Name, Value); }
    // Copies the value into Buffer and gives its size; 0 when it does not
    // exist; "Invalid data type for '%s'" when it is not binary or does not fit.
    int ReadBinaryData(const AnsiString& Name, void* Buffer, int BufSize) const;
    void WriteBinaryData(const AnsiString& Name, const void* Buffer, int BufSize);

protected:
    // The open key, so a descendant can work in a subkey for a moment and come back.
    struct TOpenKey {
        bool Open = false;
        std::vector<AnsiString> Path;
        AnsiString CurrentPath;
        REGSAM Access = 0;
    };
    TOpenKey SaveOpenKey() const { return FKey; }
    void RestoreOpenKey(const TOpenKey& Key) { FKey = Key; }
    [[noreturn]] static void ReadError(const AnsiString& Name);

private:
    struct TTarget {
        bool Valid = false;
        std::vector<AnsiString> Path;
        AnsiString CurrentPath;
        bool Relative = false;
    };
    TTarget Resolve(const AnsiString& Key) const;
    bool Open(const TTarget& Target, bool CanCreate, REGSAM WithAccess);
    struct TFoundValue {
        TRegDataType Type = rdUnknown;
        AnsiString Data;
    };
    // False when no key is open, the key cannot be read or has no such value.
    bool FindValue(const AnsiString& Name, TFoundValue& Found) const;
    void PutData(const AnsiString& Name, TRegDataType Type, AnsiString Data);
    AnsiString GetBinary(const AnsiString& Name, std::size_t Size) const;

    HKEY FRootKey = HKEY_CURRENT_USER;
    REGSAM FAccess = KEY_ALL_ACCESS;
    bool FLazyWrite = true;
    TOpenKey FKey;
};
