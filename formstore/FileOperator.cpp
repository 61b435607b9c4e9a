#include "formstore/FileOperator.h"

#include "formstore/FileUtil.h"
#include "formstore/ProgressList.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <filesystem>
#include <fnmatch.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace formstore {

namespace {

// Names separated by ';' or '|'; empty names are dropped.
std::vector<AnsiString> SplitNames(const AnsiString& Text) {
    std::vector<AnsiString> Names;
    std::size_t From = 0;
    for (;;) {
        const std::size_t Separator = Text.find_first_of(";|", From);
        AnsiString Name = Text.substr(From, Separator - From);
        if (!Name.empty()) Names.push_back(std::move(Name));
        if (Separator == AnsiString::npos) return Names;
        From = Separator + 1;
    }
}

AnsiString FolderOf(const AnsiString& Path) {
    const auto Slash = Path.rfind('/');
    return Slash == AnsiString::npos ? AnsiString() : Path.substr(0, Slash + 1);
}

AnsiString NameOf(const AnsiString& Path) {
    const auto Slash = Path.rfind('/');
    return Slash == AnsiString::npos ? Path : Path.substr(Slash + 1);
}

AnsiString Trimmed(AnsiString Path) {
    while (Path.size() > 1 && Path.back() == '/')
        Path.pop_back();
    return Path;
}

bool Exists(const AnsiString& Path) {
    struct stat Info;
    return ::lstat(Path.c_str(), &Info) == 0;
}

// A folder itself, never a link to one.
bool IsFolder(const AnsiString& Path) {
    struct stat Info;
    return ::lstat(Path.c_str(), &Info) == 0 && S_ISDIR(Info.st_mode);
}

bool SameFile(const AnsiString& A, const AnsiString& B) {
    struct stat InfoA, InfoB;
    return ::lstat(A.c_str(), &InfoA) == 0 && ::lstat(B.c_str(), &InfoB) == 0 &&
           InfoA.st_dev == InfoB.st_dev && InfoA.st_ino == InfoB.st_ino;
}

// Whether Inner is Outer or lies inside it.
bool Within(const AnsiString& Inner, const AnsiString& Outer) {
    std::error_code Ignored;
    const std::string In = std::filesystem::weakly_canonical(Inner.c_str(), Ignored).string();
    const std::string Out = std::filesystem::weakly_canonical(Outer.c_str(), Ignored).string();
    return In == Out || In.starts_with(Out == "/" ? Out : Out + "/");
}

[[noreturn]] void RaiseErrno(const AnsiString& Path) {
    throw EInOutError(Format("%s: %s", Path, std::strerror(errno)));
}

std::vector<AnsiString> FolderNames(const AnsiString& Folder) {
    std::vector<AnsiString> Names;
    DIR* Dir = ::opendir(Folder.empty() ? "." : Folder.c_str());
    if (!Dir) RaiseErrno(Folder);
    while (const dirent* Entry = ::readdir(Dir)) {
        const AnsiString Name = Entry->d_name;
        if (Name != "." && Name != "..") Names.push_back(Name);
    }
    ::closedir(Dir);
    std::sort(Names.begin(), Names.end());
    return Names;
}

// Copies a file, a link (as a link, never what it points to) or a folder
// with everything in it, merging into a folder that is already there.
void CopyTree(const AnsiString& From, const AnsiString& To) {
    struct stat Info;
    if (::lstat(From.c_str(), &Info) != 0) RaiseErrno(From);
    if (S_ISLNK(Info.st_mode)) {
        std::vector<char> Target(static_cast<std::size_t>(Info.st_size) + 1);
        const ssize_t Length = ::readlink(From.c_str(), Target.data(), Target.size());
        if (Length < 0) RaiseErrno(From);
        if (Exists(To) && ::unlink(To.c_str()) != 0) RaiseErrno(To);
        if (::symlink(AnsiString(Target.data(), static_cast<std::size_t>(Length)).c_str(),
                      To.c_str()) != 0)
            RaiseErrno(To);
    } else if (S_ISDIR(Info.st_mode)) {
        if (::mkdir(To.c_str(), 0777) != 0 && !(errno == EEXIST && IsFolder(To))) RaiseErrno(To);
        for (const AnsiString& Name : FolderNames(From))
            CopyTree(From + "/" + Name, To + "/" + Name);
    } else {
        CopyFileEx(From, To, true, false, nullptr);
    }
}

void RemoveTree(const AnsiString& Path) {
    if (IsFolder(Path)) {
        if (!ClearDir(Path, true))
            throw EInOutError(Format("%s: not everything could be deleted", Path));
    } else if (::unlink(Path.c_str()) != 0) {
        RaiseErrno(Path);
    }
}

void MoveTree(const AnsiString& From, const AnsiString& To) {
    if (::rename(From.c_str(), To.c_str()) == 0) return;
    // Another file system, or a folder merged into one that has content.
    if (errno != EXDEV && errno != ENOTEMPTY && errno != EEXIST) RaiseErrno(From);
    CopyTree(From, To);
    RemoveTree(From);
}

// "Copy of name", "Copy (2) of name", ... in the same folder; a bounded
// search that raises when no name is free.
AnsiString CopyName(const AnsiString& Target) {
    const AnsiString Folder = FolderOf(Target);
    const AnsiString Name = NameOf(Target);
    for (int N = 1; N <= 1000; ++N) {
        const AnsiString Candidate =
            Folder + (N == 1 ? AnsiString("Copy of ") : Format("Copy (%d) of ", N)) + Name;
        if (!Exists(Candidate)) return Candidate;
    }
    throw EInOutError(Format("No free name for a copy of %s", Target));
}

// The window that shows how far the operation is.
class TProgressWindow {
public:
    TProgressWindow(const AnsiString& Title, int Count, bool ShowNames)
        : FForm(std::make_unique<TForm>(nullptr)) {
        FForm->SetCaption(Title);
        FForm->SetBorderStyle(bsDialog);
        FForm->SetBounds(0, 0, 360, 90);
        FForm->SetPosition(poScreenCenter);
        if (ShowNames) {
            FName = new TLabel(FForm.get());
            FName->SetParent(FForm.get());
            FName->SetBounds(12, 10, 336, 18);
        }
        FBar = new TProgressBar(FForm.get());
        FBar->SetParent(FForm.get());
        FBar->SetBounds(12, 36, 336, 18);
        SetProgressMin(FBar, 0);
        SetProgressMax(FBar, Count);
        SetProgressValue(FBar, 0);
        FForm->Show();
    }

    void Step(int Done, const AnsiString& Name) {
        if (FName) FName->SetCaption(Name);
        SetProgressValue(FBar, Done);
        Application->ProcessMessages();
    }

private:
    std::unique_ptr<TForm> FForm;
    TLabel* FName = nullptr;
    TProgressBar* FBar = nullptr;
};

// The program's other windows take no input while the operation runs.
class TOtherWindowsDisabled {
public:
    TOtherWindowsDisabled() {
        for (int I = 0; I < Screen->FormCount(); ++I) {
            TCustomForm* Form = Screen->Forms(I);
            if (Form->Visible() && Form->Enabled()) {
                Form->SetEnabled(false);
                FDisabled.push_back(Form);
            }
        }
    }
    ~TOtherWindowsDisabled() {
        for (TCustomForm* Form : FDisabled)
            for (int I = 0; I < Screen->FormCount(); ++I)
                if (Screen->Forms(I) == Form) Form->SetEnabled(true);
    }
    TOtherWindowsDisabled(const TOtherWindowsDisabled&) = delete;
    TOtherWindowsDisabled& operator=(const TOtherWindowsDisabled&) = delete;

private:
    std::vector<TCustomForm*> FDisabled;
};

struct TStop {}; // unwinds a run the user stopped or that failed

} // namespace

class TFileOperationRun {
public:
    explicit TFileOperationRun(TFsFileOperator& Op) : FOp(Op), FFlags(Op.Options()) {}

    bool Run() {
        try {
            const std::vector<AnsiString> Sources = ExpandedSources();
            std::unique_ptr<TProgressWindow> Progress;
            TOtherWindowsDisabled Disabled;
            if (FOp.Operation() == foDelete && !ConfirmDelete(Sources)) Stop(true);
            if (!FFlags.Contains(flSilent))
                Progress = std::make_unique<TProgressWindow>(FOp.ProgressTitle(),
                                                             static_cast<int>(Sources.size()),
                                                             !FFlags.Contains(flSimpleProgress));
            const std::vector<AnsiString> Dests = SplitNames(FOp.Destination());
            for (std::size_t I = 0; I < Sources.size(); ++I) {
                if (Progress) Progress->Step(static_cast<int>(I), Sources[I]);
                Do(Sources[I], Sources.size(), Dests, I);
            }
            if (Progress) Progress->Step(static_cast<int>(Sources.size()), AnsiString());
            // A file the user chose not to replace was left undone: the run
            // went on with the others, but did not do all it was asked.
            FOp.FAborted = FSkipped;
            return !FSkipped;
        } catch (const TStop&) {
            return false;
        }
    }

private:
    [[noreturn]] void Stop(bool ByUser) {
        FOp.FAborted = ByUser;
        throw TStop{};
    }

    [[noreturn]] void Fail(const AnsiString& Message) {
        if (!FFlags.Contains(flNoErrorUI))
            MessageBox(Application->MainForm(), Message, "Error", MB_OK | MB_ICONERROR);
        Stop(false);
    }

    int Ask(const AnsiString& Text, const AnsiString& Caption, unsigned Buttons) {
        return MessageBox(Application->MainForm(), Text, Caption, Buttons | MB_ICONQUESTION);
    }

    std::vector<AnsiString> ExpandedSources() {
        std::vector<AnsiString> Result;
        for (const AnsiString& Name : SplitNames(FOp.Source())) {
            AnsiString Mask = NameOf(Name);
            if (Mask.find_first_of("*?") == AnsiString::npos) {
                if (!Exists(Trimmed(Name))) Fail(Format("Cannot find %s", Name));
                Result.push_back(Trimmed(Name));
                continue;
            }
            if (Mask == "*.*") Mask = "*";
            const AnsiString Folder = FolderOf(Name);
            std::vector<AnsiString> Names;
            try {
                Names = FolderNames(Folder);
            } catch (const Exception&) {
                Fail(Format("Cannot find %s", Name));
            }
            for (const AnsiString& Entry : Names)
                if (::fnmatch(Mask.c_str(), Entry.c_str(), 0) == 0 &&
                    !(FFlags.Contains(flFilesOnly) && IsFolder(Folder + Entry)))
                    Result.push_back(Folder + Entry);
        }
        return Result;
    }

    bool ConfirmDelete(const std::vector<AnsiString>& Sources) {
        if (FFlags.Contains(flNoConfirmation) || Sources.empty()) return true;
        const AnsiString Text =
            Sources.size() == 1 ? Format("Are you sure you want to delete '%s'?", Sources.front())
                                : Format("Are you sure you want to delete these %d items?",
                                         static_cast<int>(Sources.size()));
        return Ask(Text, "Confirm File Delete", MB_YESNO) == IDYES;
    }

    // Where a source goes: its own destination with flMultiDest (a bare
    // name renames within the source's folder); otherwise into the
    // destination folder, unless a single source goes to a new name.
    AnsiString TargetOf(const AnsiString& Source, std::size_t Count,
                        const std::vector<AnsiString>& Dests, std::size_t Index) {
        if (FFlags.Contains(flMultiDest) || FOp.Operation() == foRename) {
            if (Index >= Dests.size()) Fail(Format("No destination for %s", Source));
            const AnsiString& Dest = Dests[Index];
            return Dest.find('/') == AnsiString::npos ? FolderOf(Source) + Dest : Trimmed(Dest);
        }
        if (Dests.empty()) Fail(Format("No destination for %s", Source));
        const AnsiString& Dest = Dests.front();
        if (Count > 1 || Dest.back() == '/' || DirExists(Dest))
            return Trimmed(Dest) + "/" + NameOf(Source);
        return Trimmed(Dest);
    }

    void EnsureFolder(const AnsiString& Folder) {
        if (Folder.empty() || DirExists(Folder)) return;
        if (!FFlags.Contains(flNoConfirmMkDir) &&
            Ask(Format("The folder %s does not exist.\n\nDo you want to create it?", Folder),
                "Confirm Folder Create", MB_YESNO) != IDYES)
            Stop(true);
        try {
            ForceDirectories(Folder);
        } catch (const Exception& E) {
            Fail(E.Message);
        }
    }

    // The name to write to, after the rules for a name already taken;
    // empty when the user chose to skip this source.
    AnsiString Resolve(const AnsiString& Source, AnsiString Target) {
        if (!Exists(Target)) return Target;
        const bool Same = SameFile(Source, Target);
        if (FFlags.Contains(flRenameOnCollision) && FOp.Operation() != foRename) {
            try {
                return CopyName(Target);
            } catch (const Exception& E) {
                Fail(E.Message);
            }
        }
        if (Same) {
            if (FOp.Operation() == foRename) return Target; // a change of case, or nothing
            Fail(Format("Cannot copy %s onto itself", Source));
        }
        if (IsFolder(Source) != IsFolder(Target))
            Fail(Format("Cannot replace %s: one is a folder, the other is not", Target));
        if (!FFlags.Contains(flNoConfirmation)) {
            switch (Ask(Format("The file %s already exists.\n\nDo you want to replace it?", Target),
                        "Confirm File Replace", MB_YESNOCANCEL)) {
            case IDYES:
                break;
            case IDNO:
                FSkipped = true;
                return AnsiString();
            default:
                Stop(true);
            }
        }
        return Target;
    }

    void Do(const AnsiString& Source, std::size_t Count, const std::vector<AnsiString>& Dests,
            std::size_t Index) {
        const TFileOperation Operation = FOp.Operation();
        if (Operation == foDelete) {
            Attempt("Cannot delete %s: %s", Source, [&] { RemoveTree(Source); });
            return;
        }
        AnsiString Target = TargetOf(Source, Count, Dests, Index);
        if (IsFolder(Source) && Within(Target, Source) && !SameFile(Source, Target))
            Fail(Format("Cannot put %s into itself", Source));
        EnsureFolder(FolderOf(Target));
        Target = Resolve(Source, Target);
        if (Target.empty()) return;
        switch (Operation) {
        case foCopy:
            Attempt("Cannot copy %s: %s", Source, [&] { CopyTree(Source, Target); });
            break;
        case foMove:
            Attempt("Cannot move %s: %s", Source, [&] { MoveTree(Source, Target); });
            break;
        default:
            Attempt("Cannot rename %s: %s", Source, [&] {
                if (::rename(Source.c_str(), Target.c_str()) != 0) RaiseErrno(Target);
            });
            break;
        }
    }

    template <class F> void Attempt(const char* Message, const AnsiString& Source, F&& Action) {
        try {
            Action();
        } catch (const Exception& E) {
            Fail(Format(Message, Source, E.Message));
        }
    }

    TFsFileOperator& FOp;
    TFileOperFlags FFlags;
    bool FSkipped = false;
};

bool TFsFileOperator::RunOperation() {
    FAborted = false;
    return TFileOperationRun(*this).Run();
}

} // namespace formstore
