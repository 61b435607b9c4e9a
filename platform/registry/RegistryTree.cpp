#include "platform/registry/RegistryTree.h"

#include "platform/rtl/StrUtils.h"

#include <algorithm>

namespace registry_store {

AnsiString FoldName(const AnsiString& Name) {
    return AnsiUpperCase(Name);
}

bool SplitKeyPath(const AnsiString& Path, std::vector<AnsiString>& Names) {
    Names.clear();
    std::size_t start = 0;
    while (start < Path.size()) {
        std::size_t end = Path.find('\\', start);
        if (end == AnsiString::npos) end = Path.size();
        AnsiString name = Path.substr(start, end - start);
        const bool hasControl = std::any_of(name.begin(), name.end(), [](char c) {
            return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
        });
        if (name.empty() || name.size() > 255 || hasControl) return false;
        Names.push_back(std::move(name));
        start = end + 1;
    }
    return true;
}

const TValue* TKey::FindValue(const AnsiString& ValueName) const {
    const AnsiString folded = FoldName(ValueName);
    for (const TValue& value : Values)
        if (FoldName(value.Name) == folded) return &value;
    return nullptr;
}

void TKey::SetValue(const AnsiString& ValueName, TRegDataType Type, AnsiString Data) {
    if (auto* existing = const_cast<TValue*>(FindValue(ValueName))) {
        existing->Type = Type;
        existing->Data = std::move(Data);
        return;
    }
    Values.push_back(TValue{ValueName, Type, std::move(Data)});
}

bool TKey::DeleteValue(const AnsiString& ValueName) {
    const AnsiString folded = FoldName(ValueName);
    const auto found = std::find_if(Values.begin(), Values.end(), [&](const TValue& value) {
        return FoldName(value.Name) == folded;
    });
    if (found == Values.end()) return false;
    Values.erase(found);
    return true;
}

const TKey* TKey::FindSubKey(const AnsiString& KeyName) const {
    const auto found = SubKeys.find(FoldName(KeyName));
    return found == SubKeys.end() ? nullptr : found->second.get();
}

bool TKey::DeleteSubKey(const AnsiString& KeyName) {
    return SubKeys.erase(FoldName(KeyName)) > 0;
}

const TKey* TKey::Find(const std::vector<AnsiString>& Path) const {
    const TKey* key = this;
    for (const AnsiString& name : Path) {
        key = key->FindSubKey(name);
        if (!key) return nullptr;
    }
    return key;
}

TKey* TKey::Find(const std::vector<AnsiString>& Path) {
    return const_cast<TKey*>(static_cast<const TKey*>(this)->Find(Path));
}

TKey& TKey::Force(const std::vector<AnsiString>& Path, bool& Created) {
    Created = false;
    TKey* key = this;
    for (const AnsiString& name : Path) {
        auto& slot = key->SubKeys[FoldName(name)];
        if (!slot) {
            slot = std::make_unique<TKey>(name);
            Created = true;
        }
        key = slot.get();
    }
    return *key;
}

} // namespace registry_store
