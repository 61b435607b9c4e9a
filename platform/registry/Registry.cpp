#include "platform/registry/Registry.h"

#include "platform/registry/RegistryStore.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/StringList.h"

#include <bit>
#include <cstdint>
#include <cstring>

using registry_store::TKey;

namespace {

AnsiString LittleEndian(std::uint64_t value, std::size_t size) {
    AnsiString data(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        data[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    return data;
}

std::uint64_t FromLittleEndian(const AnsiString& data) {
    std::uint64_t value = 0;
    for (std::size_t i = data.size(); i-- > 0;)
        value = (value << 8) | static_cast<unsigned char>(data[i]);
    return value;
}

bool IsText(TRegDataType type) {
    return type == rdString || type == rdExpandString;
}

[[noreturn]] void SetDataError(const AnsiString& name) {
    throw ERegistryException(Format("Failed to set data for '%s'", name));
}

[[noreturn]] void GetDataError(const AnsiString& name) {
    throw ERegistryException(Format("Failed to get data for '%s'", name));
}

} // namespace

TRegistry::TRegistry() = default;

TRegistry::TRegistry(REGSAM AAccess) : FAccess(AAccess) {}

void TRegistry::SetRootKey(HKEY Value) {
    if (Value == FRootKey) return;
    FRootKey = Value;
    CloseKey();
}

void TRegistry::ReadError(const AnsiString& Name) {
    throw ERegistryException(Format("Invalid data type for '%s'", Name));
}

TRegistry::TTarget TRegistry::Resolve(const AnsiString& Key) const {
    TTarget target;
    AnsiString path = Key;
    target.Relative = path.empty() || path.front() != '\\';
    if (!target.Relative) path.erase(0, 1);
    std::vector<AnsiString> names;
    if (registry_store::RootName(FRootKey).empty() || !registry_store::SplitKeyPath(path, names))
        return target;
    if (!path.empty() && path.back() == '\\') path.pop_back();

    target.Valid = true;
    if (target.Relative && FKey.Open) {
        target.Path = FKey.Path;
        target.Path.insert(target.Path.end(), names.begin(), names.end());
        if (FKey.CurrentPath.empty() || path.empty())
            target.CurrentPath = FKey.CurrentPath + path;
        else
            target.CurrentPath = FKey.CurrentPath + "\\" + path;
    } else {
        target.Path = std::move(names);
        target.CurrentPath = path;
    }
    return target;
}

bool TRegistry::Open(const TTarget& Target, bool CanCreate, REGSAM WithAccess) {
    if (!Target.Valid) return false;
    if (!registry_store::Snapshot(FRootKey)->Find(Target.Path)) {
        if (!CanCreate) return false;
        // A subkey of an open key may be created only through a key opened with that right.
        if (Target.Relative && FKey.Open && !(FKey.Access & KEY_CREATE_SUB_KEY)) return false;
        registry_store::Modify(FRootKey, [&](TKey& keys) {
            bool created = false;
            keys.Force(Target.Path, created);
            return created;
        });
    }
    FKey = TOpenKey{true, Target.Path, Target.CurrentPath, WithAccess};
    return true;
}

bool TRegistry::OpenKey(const AnsiString& Key, bool CanCreate) {
    return Open(Resolve(Key), CanCreate, FAccess);
}

bool TRegistry::OpenKeyReadOnly(const AnsiString& Key) {
    if (!Open(Resolve(Key), false, KEY_READ)) return false;
    FAccess = KEY_READ;
    return true;
}

void TRegistry::CloseKey() {
    FKey = TOpenKey{};
}

bool TRegistry::CreateKey(const AnsiString& Key) {
    const TTarget target = Resolve(Key);
    if (!target.Valid || (target.Relative && FKey.Open && !(FKey.Access & KEY_CREATE_SUB_KEY)))
        throw ERegistryException(Format("Failed to create key %s", Key));
    registry_store::Modify(FRootKey, [&](TKey& keys) {
        bool created = false;
        keys.Force(target.Path, created);
        return created;
    });
    return true;
}

bool TRegistry::DeleteKey(const AnsiString& Key) {
    const TTarget target = Resolve(Key);
    // An empty name would be the open key itself; it is not deleted through it.
    if (!target.Valid || target.Path.empty() || Key.empty()) return false;
    bool deleted = false;
    registry_store::Modify(FRootKey, [&](TKey& keys) {
        const std::vector<AnsiString> parentPath(target.Path.begin(), target.Path.end() - 1);
        TKey* parent = keys.Find(parentPath);
        deleted = parent && parent->DeleteSubKey(target.Path.back());
        return deleted;
    });
    return deleted;
}

bool TRegistry::KeyExists(const AnsiString& Key) const {
    const TTarget target = Resolve(Key);
    return target.Valid && registry_store::Snapshot(FRootKey)->Find(target.Path) != nullptr;
}

bool TRegistry::HasSubKeys() const {
    if (!FKey.Open) return false;
    const auto keys = registry_store::Snapshot(FRootKey);
    const TKey* key = keys->Find(FKey.Path);
    return key && !key->SubKeys.empty();
}

void TRegistry::GetKeyNames(TStrings* Strings) const {
    Strings->Clear();
    if (!FKey.Open || !(FKey.Access & KEY_ENUMERATE_SUB_KEYS)) return;
    const auto keys = registry_store::Snapshot(FRootKey);
    if (const TKey* key = keys->Find(FKey.Path))
        for (const auto& [folded, child] : key->SubKeys)
            Strings->Add(child->Name);
}

void TRegistry::GetValueNames(TStrings* Strings) const {
    Strings->Clear();
    if (!FKey.Open || !(FKey.Access & KEY_QUERY_VALUE)) return;
    const auto keys = registry_store::Snapshot(FRootKey);
    if (const TKey* key = keys->Find(FKey.Path))
        for (const auto& value : key->Values)
            Strings->Add(value.Name);
}

bool TRegistry::FindValue(const AnsiString& Name, TFoundValue& Found) const {
    if (!FKey.Open || !(FKey.Access & KEY_QUERY_VALUE)) return false;
    const auto keys = registry_store::Snapshot(FRootKey);
    const TKey* key = keys->Find(FKey.Path);
    const auto* value = key ? key->FindValue(Name) : nullptr;
    if (!value) return false;
    Found.Type = value->Type;
    Found.Data = value->Data;
    return true;
}

bool TRegistry::ValueExists(const AnsiString& Name) const {
    TFoundValue found;
    return FindValue(Name, found);
}

bool TRegistry::DeleteValue(const AnsiString& Name) {
    if (!FKey.Open || !(FKey.Access & KEY_SET_VALUE)) return false;
    bool deleted = false;
    registry_store::Modify(FRootKey, [&](TKey& keys) {
        TKey* key = keys.Find(FKey.Path);
        deleted = key && key->DeleteValue(Name);
        return deleted;
    });
    return deleted;
}

bool TRegistry::GetDataInfo(const AnsiString& ValueName, TRegDataInfo& Value) const {
    Value = TRegDataInfo{};
    TFoundValue found;
    if (!FindValue(ValueName, found)) return false;
    Value.RegData = found.Type;
    Value.DataSize = static_cast<int>(found.Data.size()) + (IsText(found.Type) ? 1 : 0);
    return true;
}

TRegDataType TRegistry::GetDataType(const AnsiString& ValueName) const {
    TRegDataInfo info;
    return GetDataInfo(ValueName, info) ? info.RegData : rdUnknown;
}

int TRegistry::GetDataSize(const AnsiString& ValueName) const {
    TRegDataInfo info;
    return GetDataInfo(ValueName, info) ? info.DataSize : -1;
}

void TRegistry::PutData(const AnsiString& Name, TRegDataType Type, AnsiString Data) {
    if (!FKey.Open || !(FKey.Access & KEY_SET_VALUE)) SetDataError(Name);
    registry_store::Modify(FRootKey, [&](TKey& keys) {
        TKey* key = keys.Find(FKey.Path);
        if (!key) SetDataError(Name);
        if (const auto* old = key->FindValue(Name); old && old->Type == Type && old->Data == Data)
            return false;
        key->SetValue(Name, Type, std::move(Data));
        return true;
    });
}

AnsiString TRegistry::ReadString(const AnsiString& Name) const {
    // As the framework does: a missing value, or an empty one of any type, reads as empty text.
    TFoundValue found;
    if (!FindValue(Name, found) || (!IsText(found.Type) && found.Data.empty())) return {};
    if (!IsText(found.Type)) ReadError(Name);
    return found.Data;
}

void TRegistry::WriteString(const AnsiString& Name, const AnsiString& Value) {
    PutData(Name, rdString, Value);
}

void TRegistry::WriteExpandString(const AnsiString& Name, const AnsiString& Value) {
    PutData(Name, rdExpandString, Value);
}

int TRegistry::ReadInteger(const AnsiString& Name) const {
    TFoundValue found;
    if (!FindValue(Name, found)) GetDataError(Name);
    if (found.Type != rdInteger || found.Data.size() != 4) ReadError(Name);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(FromLittleEndian(found.Data)));
}

void TRegistry::WriteInteger(const AnsiString& Name, int Value) {
    PutData(Name, rdInteger, LittleEndian(static_cast<std::uint32_t>(Value), 4));
}

bool TRegistry::ReadBool(const AnsiString& Name) const {
    return ReadInteger(Name) != 0;
}

void TRegistry::WriteBool(const AnsiString& Name, bool Value) {
    WriteInteger(Name, Value ? 1 : 0);
}

AnsiString TRegistry::GetBinary(const AnsiString& Name, std::size_t Size) const {
    TFoundValue found;
    if (!FindValue(Name, found)) GetDataError(Name);
    if (found.Type != rdBinary || found.Data.size() != Size) ReadError(Name);
    return found.Data;
}

double TRegistry::ReadFloat(const AnsiString& Name) const {
    return std::bit_cast<double>(FromLittleEndian(GetBinary(Name, sizeof(double))));
}

void TRegistry::WriteFloat(const AnsiString& Name, double Value) {
    PutData(Name, rdBinary, LittleEndian(std::bit_cast<std::uint64_t>(Value), sizeof(double)));
}

TDateTime TRegistry::ReadDateTime(const AnsiString& Name) const {
    return TDateTime(ReadFloat(Name));
}

void TRegistry::WriteDateTime(const AnsiString& Name, TDateTime Value) {
    WriteFloat(Name, Value.Val);
}

int TRegistry::ReadBinaryData(const AnsiString& Name, void* Buffer, int BufSize) const {
    TFoundValue found;
    if (!FindValue(Name, found)) return 0;
    if ((found.Type != rdBinary && found.Type != rdUnknown) || BufSize < 0 ||
        found.Data.size() > static_cast<std::size_t>(BufSize))
        ReadError(Name);
    if (!found.Data.empty()) std::memcpy(Buffer, found.Data.data(), found.Data.size());
    return static_cast<int>(found.Data.size());
}

void TRegistry::WriteBinaryData(const AnsiString& Name, const void* Buffer, int BufSize) {
    if (BufSize < 0 || (BufSize > 0 && !Buffer)) SetDataError(Name);
    AnsiString data;
    if (BufSize > 0)
        data.assign(static_cast<const char*>(Buffer), static_cast<std::size_t>(BufSize));
    PutData(Name, rdBinary, std::move(data));
}
