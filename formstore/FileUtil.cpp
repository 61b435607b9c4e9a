#include "formstore/FileUtil.h"

#include "formstore/ProgressList.h"
#include "formstore/ShellFileCopy.h"
#include "formstore/TemporaryName.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace formstore {

namespace {

AnsiString WithSlash(const AnsiString& Dir) {
    return !Dir.empty() && Dir.back() == '/' ? Dir : Dir + '/';
}

// The folder part with its trailing '/', and the name after it.
AnsiString FolderOf(const AnsiString& Path) {
    const auto Slash = Path.rfind('/');
    return Slash == AnsiString::npos ? AnsiString() : Path.substr(0, Slash + 1);
}

AnsiString NameOf(const AnsiString& Path) {
    const auto Slash = Path.rfind('/');
    return Slash == AnsiString::npos ? Path : Path.substr(Slash + 1);
}

bool IsRoot(const AnsiString& Path) {
    return !Path.empty() && Path.find_first_not_of('/') == AnsiString::npos;
}

class TFd {
public:
    explicit TFd(int Fd = -1) : Fd(Fd) {}
    ~TFd() {
        if (Fd >= 0) ::close(Fd);
    }
    TFd(const TFd&) = delete;
    TFd& operator=(const TFd&) = delete;
    // Closes now and reports the close's error (a delayed write error).
    bool Close() {
        const int Result = ::close(Fd);
        Fd = -1;
        return Result == 0;
    }
    int Fd;
};

// Progress values are ints; a file too large for one is reported in larger
// units, maximum and position alike.
int ScaledProgress(std::int64_t Value, int Shift) {
    return static_cast<int>(Value >> Shift);
}

int ProgressShift(std::int64_t Size) {
    int Shift = 0;
    while ((Size >> Shift) > INT_MAX)
        ++Shift;
    return Shift;
}

// The file a chain of symbolic links ends at (which may not exist yet);
// Path itself when it is no link. A loop ends at the last link read.
AnsiString ThroughLinks(AnsiString Path) {
    for (int Hop = 0; Hop < 40; ++Hop) {
        char Buffer[PATH_MAX];
        const ssize_t Length = ::readlink(Path.c_str(), Buffer, sizeof Buffer);
        if (Length <= 0 || static_cast<std::size_t>(Length) >= sizeof Buffer) break;
        const AnsiString Next(Buffer, static_cast<std::size_t>(Length));
        Path = Next.starts_with('/') ? Next : FolderOf(Path) + Next;
    }
    return Path;
}

// A new file beside Dest that no one else uses; -1 when none can be made.
int CreateTemporaryBeside(const AnsiString& Dest, AnsiString& TempName) {
    for (int Attempt = 0; Attempt < 100; ++Attempt) {
        TempName = TemporaryNameBeside(Dest);
        const int Fd = ::open(TempName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (Fd >= 0) return Fd;
        if (errno != EEXIST) break;
    }
    // The name is not ours to remove.
    TempName.clear();
    return -1;
}

bool WriteAll(int Fd, const char* Data, std::size_t Count) {
    while (Count > 0) {
        const ssize_t Written = ::write(Fd, Data, Count);
        if (Written < 0 && errno == EINTR) continue;
        if (Written <= 0) return false;
        Data += Written;
        Count -= static_cast<std::size_t>(Written);
    }
    return true;
}

ssize_t ReadSome(int Fd, char* Buffer, std::size_t Count) {
    ssize_t Result;
    do
        Result = ::read(Fd, Buffer, Count);
    while (Result < 0 && errno == EINTR);
    return Result;
}

// Past one UTF-8 character (its lead byte and the continuation bytes after).
const char* NextChar(const char* P) {
    ++P;
    while ((static_cast<unsigned char>(*P) & 0xC0) == 0x80)
        ++P;
    return P;
}

// Windows file masks: '*' and '?' only, "*.*" matching every name.
bool MatchesMask(const char* Name, const char* Mask) {
    if (std::strcmp(Mask, "*.*") == 0) return true;
    const char* Star = nullptr;
    const char* Resume = nullptr;
    while (*Name != '\0') {
        if (*Mask == '*') {
            Star = Mask++;
            Resume = Name;
        } else if (*Mask == '?') {
            ++Mask;
            Name = NextChar(Name);
        } else if (*Mask == *Name) {
            ++Mask;
            ++Name;
        } else if (Star != nullptr) {
            Mask = Star + 1;
            Name = Resume = NextChar(Resume);
        } else {
            return false;
        }
    }
    while (*Mask == '*')
        ++Mask;
    return *Mask == '\0';
}

// The names of a directory, "." and ".." left out, in name order; false
// when the directory cannot be read to its end.
bool ListDirectory(const AnsiString& Dir, std::vector<AnsiString>& Names) {
    DIR* Handle = ::opendir(Dir.empty() ? "." : Dir.c_str());
    if (Handle == nullptr) return false;
    errno = 0;
    while (const dirent* Entry = ::readdir(Handle)) {
        const AnsiString Name = Entry->d_name;
        if (Name != "." && Name != "..") Names.push_back(Name);
        errno = 0;
    }
    const bool Complete = errno == 0;
    ::closedir(Handle);
    std::sort(Names.begin(), Names.end());
    return Complete;
}

// A copy goes only onto a regular file, and never onto the source itself
// (under another name, through a hard or a symbolic link): writing it
// would empty the source before it is read.
void CheckReplaceable(const struct stat& Source, const struct stat& Dest, const AnsiString& FileName,
                      const AnsiString& DestName) {
    if (Dest.st_dev == Source.st_dev && Dest.st_ino == Source.st_ino)
        throw EFCreateError(
            Format("Cannot create file %s: it is the same file as %s", DestName, FileName));
    if (!S_ISREG(Dest.st_mode))
        throw EFCreateError(Format("Cannot create file %s: it is not a regular file", DestName));
}

} // namespace

bool DirExists(const AnsiString& Name) {
    struct stat Info;
    return ::stat(Name.c_str(), &Info) == 0 && S_ISDIR(Info.st_mode);
}

AnsiString RemoveBackSlash(const AnsiString& DirName) {
    const std::size_t Len = DirName.size();
    if (Len > 1 && DirName.back() == '\\' && !(Len == 3 && DirName[1] == ':'))
        return DirName.substr(0, Len - 1);
    return DirName;
}

void ForceDirectories(AnsiString Dir) {
    if (Dir.empty()) return;
    if (Dir.size() > 1 && Dir.back() == '/') Dir.pop_back();
    if (IsRoot(Dir) || DirExists(Dir)) return;
    const auto Slash = Dir.rfind('/');
    if (Slash != AnsiString::npos)
        ForceDirectories(Slash == 0 ? AnsiString("/") : Dir.substr(0, Slash));
    // A directory that cannot be made is not reported: whoever then writes
    // into it gets the error that names the file.
    ::mkdir(Dir.c_str(), 0777);
}

void CopyFile(const AnsiString& FileName, const AnsiString& DestName, TComponent* ProgressControl) {
    CopyFileEx(FileName, DestName, false, false, ProgressControl);
}

void CopyFileEx(const AnsiString& FileName, const AnsiString& DestName, bool OverwriteReadOnly,
                bool ShellDialog, TComponent* ProgressControl) {
    if (ShellDialog) {
        ShellCopyOrMove(FileName, DestName, false, OverwriteReadOnly);
        return;
    }
    const AnsiString Dest = DirExists(DestName) ? WithSlash(DestName) + NameOf(FileName) : DestName;

    // Opened without waiting: opening a named pipe would wait for a writer.
    TFd Source(::open(FileName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat SourceInfo;
    if (Source.Fd < 0 || ::fstat(Source.Fd, &SourceInfo) != 0 || S_ISDIR(SourceInfo.st_mode))
        throw EFOpenError(Format("Cannot open file %s", FileName));
    // A pipe, socket or device has no end to copy up to.
    if (!S_ISREG(SourceInfo.st_mode))
        throw EFOpenError(Format("Cannot open file %s: it is not a regular file", FileName));
    ::fcntl(Source.Fd, F_SETFL, ::fcntl(Source.Fd, F_GETFL) & ~O_NONBLOCK);

    struct ProgressReset {
        TComponent* Control;
        ~ProgressReset() { SetProgressValue(Control, 0); }
    } Reset{ProgressControl};
    const std::int64_t Size = SourceInfo.st_size;
    const int Shift = ProgressShift(Size);
    SetProgressMax(ProgressControl, ScaledProgress(Size, Shift));
    SetProgressMin(ProgressControl, 0);
    SetProgressValue(ProgressControl, 0);

    // A link is written through to the file it names, so the link stays.
    const AnsiString Target = ThroughLinks(Dest);
    ForceDirectories(FolderOf(Target));
    // Read-only maps to the owner's write permission; the rename would
    // replace such a file regardless, so it is refused here unless asked.
    struct stat DestInfo {};
    const bool DestExists = ::stat(Target.c_str(), &DestInfo) == 0;
    if (DestExists) CheckReplaceable(SourceInfo, DestInfo, FileName, DestName);
    if (DestExists && !OverwriteReadOnly && !(DestInfo.st_mode & S_IWUSR))
        throw EFCreateError(Format("Cannot create file %s", DestName));

    // The copy goes to a temporary file renamed over the destination at the
    // end, so a failure leaves the old destination whole; where no
    // temporary file can be made (a folder the user may not write in, whose
    // files he may), where it cannot take the destination's mode and owner,
    // or where the destination has other names (hard links), the
    // destination is written in place.
    AnsiString TempName;
    TFd Out(CreateTemporaryBeside(Target, TempName));
    struct TempRemover {
        const AnsiString& Name;
        bool Armed = true;
        ~TempRemover() {
            if (Armed && !Name.empty()) ::unlink(Name.c_str());
        }
    } Remover{TempName};
    // Replacing a read-only file leaves it writable: its read-only
    // attribute (the owner's missing write permission) is cleared.
    const mode_t Mode = (DestInfo.st_mode & 07777) | (DestExists ? S_IWUSR : 0);
    if (Out.Fd >= 0 && DestExists &&
        (DestInfo.st_nlink > 1 || ::fchown(Out.Fd, DestInfo.st_uid, DestInfo.st_gid) != 0 ||
         ::fchmod(Out.Fd, Mode) != 0)) {
        Out.Close();
        ::unlink(TempName.c_str());
        TempName.clear();
    }
    if (TempName.empty()) {
        if (DestExists && Mode != (DestInfo.st_mode & 07777)) ::chmod(Target.c_str(), Mode);
        // Emptied only once it is known to be the file checked above: what
        // took its name since may be the source or no regular file.
        Out.Fd = ::open(Target.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
        struct stat OpenedInfo;
        if (Out.Fd >= 0 && ::fstat(Out.Fd, &OpenedInfo) == 0)
            CheckReplaceable(SourceInfo, OpenedInfo, FileName, DestName);
        if (Out.Fd >= 0 && ::ftruncate(Out.Fd, 0) != 0) Out.Close();
    }
    if (Out.Fd < 0) throw EFCreateError(Format("Cannot create file %s", DestName));

    std::vector<char> Buffer(8192);
    std::int64_t Total = 0;
    for (;;) {
        const ssize_t Count = ReadSome(Source.Fd, Buffer.data(), Buffer.size());
        if (Count < 0) throw EReadError("Stream read error");
        Total += Count;
        if (Count > 0 && !WriteAll(Out.Fd, Buffer.data(), static_cast<std::size_t>(Count)))
            throw EWriteError("Stream write error");
        SetProgressValue(ProgressControl, ScaledProgress(Total, Shift));
        if (static_cast<std::size_t>(Count) < Buffer.size()) break;
    }

    const timespec Times[2] = {SourceInfo.st_atim, SourceInfo.st_mtim};
    ::futimens(Out.Fd, Times);
    if (!Out.Close()) throw EWriteError("Stream write error");
    if (!TempName.empty() && ::rename(TempName.c_str(), Target.c_str()) != 0)
        throw EFCreateError(Format("Cannot create file %s", DestName));
    Remover.Armed = false;
}

void MoveFile(const AnsiString& FileName, const AnsiString& DestName) {
    if (DestName.empty()) throw EFCreateError(Format("Cannot create file %s", DestName));
    const AnsiString Dest = std::filesystem::absolute(DestName.c_str()).string();
    if (::rename(FileName.c_str(), Dest.c_str()) == 0) return;
    struct stat Info;
    if (::lstat(FileName.c_str(), &Info) != 0) return;
    // The original cleared a read-only attribute here so that the source
    // could be deleted; on Linux deleting depends on the folder alone.
    CopyFile(FileName, Dest, nullptr);
    if (::unlink(FileName.c_str()) != 0)
        throw EInOutError(Format("Cannot delete file %s: %s", FileName, std::strerror(errno)));
}

void MoveFileEx(const AnsiString& FileName, const AnsiString& DestName, bool ShellDialog) {
    if (ShellDialog)
        ShellCopyOrMove(FileName, DestName, true, true);
    else
        MoveFile(FileName, DestName);
}

std::int64_t GetFileSize(const AnsiString& FileName) {
    struct stat Info;
    if (::stat(FileName.c_str(), &Info) != 0 || S_ISDIR(Info.st_mode)) return -1;
    return Info.st_size;
}

TDateTime FileDateTime(const AnsiString& FileName) {
    struct stat Info;
    if (::stat(FileName.c_str(), &Info) != 0) return 0.0;
    std::tm Local{};
    if (::localtime_r(&Info.st_mtim.tv_sec, &Local) == nullptr) return 0.0;
    TDateTime Date, Time;
    if (!TryEncodeDate(Local.tm_year + 1900, Local.tm_mon + 1, Local.tm_mday, Date) ||
        !TryEncodeTime(Local.tm_hour, Local.tm_min, std::min(Local.tm_sec, 59),
                       static_cast<int>(Info.st_mtim.tv_nsec / 1000000), Time))
        return 0.0;
    // Before 30 Dec 1899 the time of day counts away from zero.
    ReplaceTime(Date, Time);
    return Date;
}

bool HasAttr(const AnsiString& FileName, int Attr) {
    struct stat Info;
    if (::stat(FileName.c_str(), &Info) != 0) return false;
    int Attrs = 0;
    if (!(Info.st_mode & S_IWUSR)) Attrs |= faReadOnly;
    if (NameOf(FileName).starts_with('.')) Attrs |= faHidden;
    if (S_ISDIR(Info.st_mode)) Attrs |= faDirectory;
    if (S_ISREG(Info.st_mode)) Attrs |= faArchive;
    return (Attrs & Attr) == Attr;
}

bool DeleteFiles(const AnsiString& FileMask) {
    const AnsiString Folder = FolderOf(FileMask);
    const AnsiString Mask = NameOf(FileMask);
    if (!DirExists(Folder.empty() ? AnsiString(".") : Folder)) return false;
    std::vector<AnsiString> Names;
    ListDirectory(Folder, Names);
    // "." and ".." match every mask that a lone dot matches, as the
    // original search found them too.
    bool Result = MatchesMask(".", Mask.c_str()) || MatchesMask("..", Mask.c_str());
    for (const AnsiString& Name : Names) {
        if (!MatchesMask(Name.c_str(), Mask.c_str())) continue;
        Result = true;
        if (Name.starts_with('.')) continue;
        const AnsiString Path = Folder + Name;
        struct stat Info;
        if (::lstat(Path.c_str(), &Info) == 0 && S_ISDIR(Info.st_mode)) continue;
        if (::unlink(Path.c_str()) != 0) return false;
    }
    return Result;
}

bool DeleteFilesEx(std::span<const AnsiString> FileMasks) {
    for (const AnsiString& Mask : FileMasks)
        if (!DeleteFiles(Mask)) return false;
    return true;
}

namespace {

// Clears the directory open as Dir, working by names relative to open
// directory handles, so depth and path length do not matter.
bool ClearDirAt(int Dir) {
    const int ListFd = ::dup(Dir);
    DIR* Handle = ListFd < 0 ? nullptr : ::fdopendir(ListFd);
    if (Handle == nullptr) {
        if (ListFd >= 0) ::close(ListFd);
        return false;
    }
    std::vector<AnsiString> Names;
    errno = 0;
    while (const dirent* Entry = ::readdir(Handle)) {
        // Names starting with '.' are left, as hidden ones are.
        if (Entry->d_name[0] != '.') Names.emplace_back(Entry->d_name);
        errno = 0;
    }
    bool Result = errno == 0;
    ::closedir(Handle);
    for (const AnsiString& Name : Names) {
        struct stat Info;
        if (::fstatat(Dir, Name.c_str(), &Info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISDIR(Info.st_mode)) {
            TFd Sub(::openat(Dir, Name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
            const bool Cleared = Sub.Fd >= 0 && ClearDirAt(Sub.Fd);
            Result = Cleared && ::unlinkat(Dir, Name.c_str(), AT_REMOVEDIR) == 0 && Result;
        } else {
            Result = ::unlinkat(Dir, Name.c_str(), 0) == 0 && Result;
        }
    }
    return Result;
}

} // namespace

bool ClearDir(const AnsiString& Path, bool Delete) {
    // O_NOFOLLOW: a link to a directory is not a directory to clear.
    TFd Dir(::open(Path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (Dir.Fd < 0) return false;
    bool Result = ClearDirAt(Dir.Fd);
    if (Delete && Result && !IsRoot(Path)) Result = ::rmdir(Path.c_str()) == 0;
    return Result;
}

namespace {

AnsiString IfPresent(const AnsiString& Name) {
    struct stat Info;
    return !Name.empty() && ::lstat(Name.c_str(), &Info) == 0 ? Name : AnsiString();
}

} // namespace

AnsiString ShortToLongFileName(const AnsiString& ShortName) {
    return IfPresent(ShortName);
}

AnsiString LongToShortFileName(const AnsiString& LongName) {
    return IfPresent(LongName);
}

AnsiString ShortToLongPath(const AnsiString& ShortName) {
    return IfPresent(ShortName);
}

AnsiString LongToShortPath(const AnsiString& LongName) {
    return IfPresent(LongName);
}

AnsiString GetTempDir() {
    const char* Env = std::getenv("TMPDIR");
    if (Env != nullptr && *Env != '\0' && DirExists(Env)) return WithSlash(Env);
    return "/tmp/";
}

bool ValidFileName(const AnsiString& FileName) {
    if (FileName.empty() || FileName.find_first_of("<>\"[]|") != AnsiString::npos) return false;
    const auto Separator = FileName.find_last_of("\\:");
    const AnsiString Name =
        Separator == AnsiString::npos ? FileName : FileName.substr(Separator + 1);
    return Name.find('\\') == AnsiString::npos;
}

namespace {

int SetLock(int Handle, short Type, std::int64_t Offset, std::int64_t Length) {
    struct flock Lock {};
    Lock.l_type = Type;
    Lock.l_whence = SEEK_SET;
    Lock.l_start = Offset;
    Lock.l_len = Length;
    if (Type != F_UNLCK) {
        // A handle open for reading only can hold a shared lock alone.
        const int Mode = ::fcntl(Handle, F_GETFL);
        if (Mode >= 0 && (Mode & O_ACCMODE) == O_RDONLY) Lock.l_type = F_RDLCK;
    }
    return ::fcntl(Handle, F_OFD_SETLK, &Lock) == 0 ? 0 : errno;
}

} // namespace

int FileLock(int Handle, std::int64_t Offset, std::int64_t LockSize) {
    return SetLock(Handle, F_WRLCK, Offset, LockSize);
}

int FileUnlock(int Handle, std::int64_t Offset, std::int64_t UnlockSize) {
    return SetLock(Handle, F_UNLCK, Offset, UnlockSize);
}

} // namespace formstore
