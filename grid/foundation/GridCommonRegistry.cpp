#include "grid/foundation/GridCommonRegistry.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/StrUtils.h"

#include <utility>

namespace grid {

namespace {

bool RootByName(const AnsiString& Name, HKEY& Root) {
    static const std::pair<const char*, HKEY> Roots[] = {
        {"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
        {"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
        {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
        {"HKEY_USERS", HKEY_USERS},
    };
    for (const auto& [RootName, Value] : Roots) {
        if (Name == RootName) {
            Root = Value;
            return true;
        }
    }
    return false;
}

} // namespace

std::unique_ptr<TRegistry> OpenRegistryKey(const AnsiString& Path, bool Create) {
    auto Registry = std::make_unique<TRegistry>();
    AnsiString Key = Path;
    if (Path.size() >= 2 && Path[0] == '\\' && Path[1] == '\\') {
        const AnsiString Rest = Path.substr(2);
        const auto Slash = Rest.find('\\');
        const AnsiString RootName = UpperCase(Rest.substr(0, Slash));
        Key = Slash == AnsiString::npos ? AnsiString() : Rest.substr(Slash);
        HKEY Root{};
        if (!RootByName(RootName, Root))
            throw ERegistryException(Format("Unknown registry key %s", RootName));
        Registry->SetRootKey(Root);
    }
    if (Key.empty()) Key = "\\";
    if (Create && !Registry->KeyExists(Key)) {
        Registry->SetLazyWrite(false);
        Registry->OpenKey(Key, true);
        Registry->CloseKey();
        Registry->SetLazyWrite(true);
    }
    if (!Registry->OpenKey(Key, false)) return nullptr;
    return Registry;
}

AnsiString GetRegStrValue(HKEY Root, const AnsiString& Key, const AnsiString& Name) {
    TRegistry Registry(KEY_READ);
    Registry.SetRootKey(Root);
    if (!Registry.OpenKeyReadOnly(Key) || !Registry.ValueExists(Name)) return AnsiString();
    return Registry.ReadString(Name);
}

AnsiString GetCompilerVersion() {
    return "C4";
}

void ShowHelpTopic(TWinControl*, const AnsiString&) {}

} // namespace grid
