#include "platform/registry/RegistryStore.h"

#include "platform/rtl/UserFolders.h"
#include "platform/registry/RegistryText.h"
#include "platform/registry/SafeFile.h"

namespace registry_store {

namespace {

// Far beyond any settings file; a larger one is not ours or is damaged.
constexpr std::size_t MaxStoreSize = 64u << 20;

AnsiString RequireFile(HKEY Root) {
    AnsiString file = RootFileName(Root);
    if (file.empty())
        throw ERegistryException("Invalid registry root key " +
                                 std::to_string(static_cast<std::uint32_t>(Root)));
    return file;
}

std::unique_ptr<TKey> Parse(const TFileSnapshot& snapshot, const AnsiString& file) {
    if (!snapshot.Exists) return std::make_unique<TKey>();
    return ParseRegistryText(snapshot.Data, file);
}

} // namespace

AnsiString RootName(HKEY Root) {
    switch (static_cast<std::uint32_t>(Root)) {
    case 0x80000000u:
        return "HKEY_CLASSES_ROOT";
    case 0x80000001u:
        return "HKEY_CURRENT_USER";
    case 0x80000002u:
        return "HKEY_LOCAL_MACHINE";
    case 0x80000003u:
        return "HKEY_USERS";
    case 0x80000004u:
        return "HKEY_PERFORMANCE_DATA";
    case 0x80000005u:
        return "HKEY_CURRENT_CONFIG";
    case 0x80000006u:
        return "HKEY_DYN_DATA";
    default:
        return {};
    }
}

AnsiString RootFileName(HKEY Root) {
    const AnsiString name = RootName(Root);
    return name.empty() ? name : ConfigFolder() + "/" + name + ".reg";
}

std::shared_ptr<const TKey> Snapshot(HKEY Root) {
    // Read afresh each time: the files are small, and another process may have
    // replaced the file within the resolution of its time stamp.
    const AnsiString file = RequireFile(Root);
    try {
        return Parse(ReadWholeFile(file, MaxStoreSize), file);
    } catch (const EInOutError& error) {
        throw ERegistryException(error.Message);
    }
}

void Modify(HKEY Root, const std::function<bool(TKey& Keys)>& Change) {
    const AnsiString file = RequireFile(Root);
    try {
        ForceConfigFolder(ConfigFolder());
        TFileLock lock(file);
        std::unique_ptr<TKey> keys = Parse(ReadWholeFile(file, MaxStoreSize), file);
        if (!Change(*keys)) return;
        ReplaceFile(file, RegistryText(*keys, RootName(Root)), 0600);
    } catch (const EInOutError& error) {
        throw ERegistryException(error.Message);
    }
}

} // namespace registry_store
