#include "formstore/AppStorage.h"

#include "formstore/FormPlacement.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"

#include <climits>
#include <cstdint>
#include <filesystem>

namespace formstore {

AnsiString DefCompanyName;
bool RegUseAppTitle = false;
std::function<AnsiString()> OnGetDefaultIniName;

namespace {

// The executable's file name without its folder.
AnsiString ExeFileName() {
    return std::filesystem::path(Application->ExeName()).filename().string();
}

AnsiString WithoutExtension(const AnsiString& FileName) {
    const std::size_t Dot = FileName.find_last_of('.');
    return Dot == AnsiString::npos ? FileName : FileName.substr(0, Dot);
}

} // namespace

AnsiString GetDefaultSection(TComponent* Component) {
    if (!Component) return {};
    if (auto* Form = dynamic_cast<TCustomForm*>(Component)) return Form->ClassName();
    if (auto* Control = dynamic_cast<TControl*>(Component)) {
        if (TCustomForm* Form = GetParentForm(Control)) return Form->ClassName() + Control->Name();
        if (Control->Parent()) return Control->Parent()->Name() + Control->Name();
        return Control->Name();
    }
    if (auto* Form = dynamic_cast<TCustomForm*>(Component->Owner()))
        return Format("%s.%s", Form->ClassName(), Component->Name());
    return Component->Name();
}

AnsiString GetDefaultIniName() {
    if (OnGetDefaultIniName) return OnGetDefaultIniName();
    return WithoutExtension(ExeFileName()) + ".INI";
}

AnsiString GetDefaultIniRegKey() {
    AnsiString Result = "Software\\";
    if (!DefCompanyName.empty()) Result += DefCompanyName + "\\";
    const AnsiString Title = RegUseAppTitle ? Application->Title() : AnsiString();
    Result += Title.empty() ? WithoutExtension(ExeFileName()) : Title;
    return Result;
}

void GetDefaultIniData(TControl* Control, AnsiString& IniFileName, AnsiString& Section,
                       bool UseRegistry) {
    IniFileName.clear();
    if (Control) {
        if (auto* Form = dynamic_cast<TCustomForm*>(Control->Owner()))
            for (int I = 0; I < Form->ComponentCount(); ++I)
                if (auto* Placement = dynamic_cast<TFormPlacement*>(Form->Components(I))) {
                    IniFileName = Placement->GetIniFileName();
                    break;
                }
    }
    Section = GetDefaultSection(Control);
    if (IniFileName.empty())
        IniFileName = UseRegistry ? GetDefaultIniRegKey() : GetDefaultIniName();
}

AnsiString GetUniqueFileNameInDir(const AnsiString& Path, const AnsiString& FileNameMask) {
    const std::filesystem::path Folder(Path);
    // A link takes its name whether or not its target exists: a caller
    // writing to the name would otherwise write where the link points.
    const auto Taken = [&](const AnsiString& Name) {
        std::error_code Error;
        const auto Status = std::filesystem::symlink_status(Folder / Name, Error);
        if (Error && Error != std::errc::no_such_file_or_directory)
            throw EInOutError("Cannot look for " + Name + " in " + Path + ": " + Error.message());
        return std::filesystem::exists(Status);
    };
    // A pattern without a number gives one name only.
    if (Format(FileNameMask, 0) == Format(FileNameMask, 1)) {
        const AnsiString Name = Format(FileNameMask, 0);
        return Taken(Name) ? AnsiString() : Name;
    }
    for (std::int64_t I = 0; I <= INT_MAX; ++I) {
        const AnsiString Name = Format(FileNameMask, static_cast<int>(I));
        if (!Taken(Name)) return Name;
    }
    return {};
}

LRESULT AppBroadcast(unsigned Msg, WPARAM WParam, LPARAM LParam) {
    LRESULT Result = -1;
    for (int I = 0; I < Screen->FormCount(); ++I)
        Result = SendMessage(Screen->Forms(I), Msg, WParam, LParam);
    return Result;
}

} // namespace formstore
