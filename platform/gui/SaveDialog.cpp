#include "platform/gui/SaveDialog.h"

#include "platform/gui/Controls.h"
#include "platform/gui/QtApp.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>
#include <iostream>
#include <vector>

namespace {

TFileDialogAnswerer& CurrentAnswerer() {
    static TFileDialogAnswerer Answerer;
    return Answerer;
}

struct TFilterEntry {
    AnsiString Description;
    AnsiString Patterns;
};

std::vector<TFilterEntry> ParseFilter(const AnsiString& Filter) {
    std::vector<TFilterEntry> Result;
    std::vector<AnsiString> Parts;
    std::size_t Start = 0;
    while (Start <= Filter.size()) {
        const std::size_t Bar = Filter.find('|', Start);
        const std::size_t End = Bar == AnsiString::npos ? Filter.size() : Bar;
        Parts.push_back(Filter.substr(Start, End - Start));
        if (Bar == AnsiString::npos) break;
        Start = Bar + 1;
    }
    // A description without patterns is its own pattern.
    for (std::size_t I = 0; I < Parts.size(); I += 2) {
        if (Parts[I].empty() && I + 1 >= Parts.size()) break;
        Result.push_back({Parts[I], I + 1 < Parts.size() ? Parts[I + 1] : Parts[I]});
    }
    return Result;
}

// The one extension a pattern list names ("*.csv" gives "csv"), else empty.
AnsiString SingleExtension(const AnsiString& Patterns) {
    if (Patterns.size() < 3 || Patterns.compare(0, 2, "*.") != 0) return {};
    const AnsiString Ext = Patterns.substr(2);
    if (Ext.find_first_of("*?;. ") != AnsiString::npos) return {};
    return Ext;
}

bool ShowQtDialog(HWND Owner, TFileDialogRequest& Request) {
    QWidget* Parent = nullptr;
    if (Owner && Owner->WidgetAllocated()) Parent = Owner->Widget()->window();
    QFileDialog Dialog(Parent, ToQString(Request.Title), ToQString(Request.InitialDir));
    Dialog.setAcceptMode(QFileDialog::AcceptSave);
    Dialog.setFileMode(QFileDialog::AnyFile);
    const std::vector<TFilterEntry> Filters = ParseFilter(Request.Filter);
    QStringList Names;
    for (const TFilterEntry& F : Filters) {
        QString Patterns = ToQString(F.Patterns);
        Patterns.replace(';', ' ');
        Names << ToQString(F.Description) + " (" + Patterns + ")";
    }
    if (!Names.isEmpty()) {
        Dialog.setNameFilters(Names);
        const int Index = std::clamp(Request.FilterIndex, 1, static_cast<int>(Names.size()));
        Dialog.selectNameFilter(Names[Index - 1]);
    }
    if (!Request.FileName.empty()) Dialog.selectFile(ToQString(Request.FileName));
    if (Dialog.exec() != QDialog::Accepted || Dialog.selectedFiles().isEmpty()) return false;
    Request.FileName = FromQString(Dialog.selectedFiles().front());
    const int Chosen = static_cast<int>(Names.indexOf(Dialog.selectedNameFilter()));
    if (Chosen >= 0) Request.FilterIndex = Chosen + 1;
    return true;
}

} // namespace

AnsiString TSaveDialog::WithDefaultExt(const AnsiString& Name, const AnsiString& Filter,
                                       int FilterIndex, const AnsiString& DefaultExt) {
    if (Name.empty() || DefaultExt.empty()) return Name;
    const std::size_t Slash = Name.find_last_of('/');
    const std::size_t Dot = Name.find_last_of('.');
    if (Dot != AnsiString::npos && (Slash == AnsiString::npos || Dot > Slash)) return Name;
    const std::vector<TFilterEntry> Filters = ParseFilter(Filter);
    AnsiString Ext = DefaultExt;
    if (!Filters.empty()) {
        const std::size_t Index =
            static_cast<std::size_t>(std::clamp(FilterIndex, 1, static_cast<int>(Filters.size())));
        if (AnsiString Single = SingleExtension(Filters[Index - 1].Patterns); !Single.empty())
            Ext = Single;
    }
    return Name + "." + Ext;
}

bool TSaveDialog::Execute() {
    TFileDialogRequest Request{FTitle,      FFilter,     FFilterIndex < 1 ? 1 : FFilterIndex,
                               FDefaultExt, FInitialDir, FFileName};
    bool Chosen = false;
    if (TFileDialogAnswerer& Answerer = CurrentAnswerer()) {
        Chosen = Answerer(Request);
    } else {
        EnsureQtApplication();
        if (IsHeadlessPlatform()) {
            std::cerr << "Save file: " << FTitle << " (cancelled: no display)" << std::endl;
            return false;
        }
        Chosen = ShowQtDialog(dynamic_cast<TWinControl*>(Owner()), Request);
    }
    if (!Chosen || Request.FileName.empty()) return false;
    FFilterIndex = Request.FilterIndex;
    FFileName = WithDefaultExt(Request.FileName, FFilter, FFilterIndex, FDefaultExt);
    return true;
}

ScopedFileDialogAnswerer::ScopedFileDialogAnswerer(TFileDialogAnswerer Answerer)
    : FPrevious(std::move(CurrentAnswerer())) {
    CurrentAnswerer() = std::move(Answerer);
}

ScopedFileDialogAnswerer::~ScopedFileDialogAnswerer() {
    CurrentAnswerer() = std::move(FPrevious);
}
