#include "formstore/FileUtil.h"

#include "formstore/ProgressList.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"

#include <algorithm>
#include <atomic>
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

// A new file beside Dest that no one else uses; -1 when none can be made.
int CreateTemporaryBeside(const AnsiString& Dest, AnsiString& TempName) {
    static std::atomic<unsigned> Counter{0};
    for (int Attempt = 0; Attempt < 100; ++Attempt) {
        TempName = FolderOf(Dest) + "." + NameOf(Dest) + "." + std::to_string(::getpid()) + "." +
                   std::to_string(Counter++) + ".tmp";
        const int Fd = ::open(TempName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (Fd >= 0 || errno != EEXIST) return Fd;
    }
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

// Windows file masks: '*' and '?' only, "*.*" matching every name.
bool MatchesMask(const char* Name, const char* Mask) {
    if (std::strcmp(Mask, "*.*") == 0) return true;
    const char* Star = nullptr;
    const char* Resume = nullptr;
    while (*Name != '\0') {
        if (*Mask == '*') {
            Star = Mask++;
            Resume = Name;
        } else if (*Mask == '?' || *Mask == *Name) {
            ++Mask;
            ++Name;
        } else if (Star != nullptr) {
            Mask = Star + 1;
            Name = ++Resume;
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
    if (::mkdir(Dir.c_str(), 0777) != 0 && !(errno == EEXIST && DirExists(Dir)))
        throw EInOutError(Format("Cannot create directory %s: %s", Dir, std::strerror(errno)));
}

void CopyFile(const AnsiString& FileName, const AnsiString& DestName, TComponent* ProgressControl) {
    CopyFileEx(FileName, DestName, false, false, ProgressControl);
}

void CopyFileEx(const AnsiString& FileName, const AnsiString& DestName, bool OverwriteReadOnly,
                bool /*ShellDialog*/, TComponent* ProgressControl) {
    const AnsiString Dest = DirExists(DestName) ? WithSlash(DestName) + NameOf(FileName) : DestName;

    TFd Source(::open(FileName.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat SourceInfo;
    if (Source.Fd < 0 || ::fstat(Source.Fd, &SourceInfo) != 0 || S_ISDIR(SourceInfo.st_mode))
        throw EFOpenError(Format("Cannot open file %s", FileName));

    struct ProgressReset {
        TComponent* Control;
        ~ProgressReset() { SetProgressValue(Control, 0); }
    } Reset{ProgressControl};
    const std::int64_t Size = SourceInfo.st_size;
    const int Shift = ProgressShift(Size);
    SetProgressMax(ProgressControl, ScaledProgress(Size, Shift));
    SetProgressMin(ProgressControl, 0);
    SetProgressValue(ProgressControl, 0);

    ForceDirectories(FolderOf(Dest));
    // Read-only maps to the owner's write permission; the rename would
    // replace such a file regardless, so it is refused here unless asked.
    struct stat DestInfo;
    if (!OverwriteReadOnly && ::stat(Dest.c_str(), &DestInfo) == 0 && !(DestInfo.st_mode & S_IWUSR))
        throw EFCreateError(Format("Cannot create file %s", Dest));

    AnsiString TempName;
    TFd Target(CreateTemporaryBeside(Dest, TempName));
    if (Target.Fd < 0) throw EFCreateError(Format("Cannot create file %s", Dest));
    struct TempRemover {
        const AnsiString& Name;
        bool Armed = true;
        ~TempRemover() {
            if (Armed) ::unlink(Name.c_str());
        }
    } Remover{TempName};

    std::vector<char> Buffer(8192);
    std::int64_t Total = 0;
    for (;;) {
        const ssize_t Count = ReadSome(Source.Fd, Buffer.data(), Buffer.size());
        if (Count < 0) throw EReadError("Stream read error");
        Total += Count;
        if (Count > 0 && !WriteAll(Target.Fd, Buffer.data(), static_cast<std::size_t>(Count)))
            throw EWriteError("Stream write error");
        SetProgressValue(ProgressControl, ScaledProgress(Total, Shift));
        if (static_cast<std::size_t>(Count) < Buffer.size()) break;
    }

    const timespec Times[2] = {SourceInfo.st_atim, SourceInfo.st_mtim};
    ::futimens(Target.Fd, Times);
    if (!Target.Close()) throw EWriteError("Stream write error");
    if (::rename(TempName.c_str(), Dest.c_str()) != 0)
        throw EFCreateError(Format("Cannot create file %s", Dest));
    Remover.Armed = false;
}

void MoveFile(const AnsiString& FileName, const AnsiString& DestName) {
    if (DestName.empty()) throw EFCreateError(Format("Cannot create file %s", DestName));
    const AnsiString Dest = std::filesystem::absolute(DestName.c_str()).string();
    if (::rename(FileName.c_str(), Dest.c_str()) == 0) return;
    struct stat Info;
    if (::lstat(FileName.c_str(), &Info) != 0)
        throw EFOpenError(Format("Cannot open file %s", FileName));
    // The original cleared a read-only attribute here so that the source
    // could be deleted; on Linux deleting depends on the folder alone.
    CopyFile(FileName, Dest, nullptr);
    if (::unlink(FileName.c_str()) != 0)
        throw EInOutError(Format("Cannot delete file %s: %s", FileName, std::strerror(errno)));
}

void MoveFileEx(const AnsiString& FileName, const AnsiString& DestName, bool /*ShellDialog*/) {
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
    return Date + Time;
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

bool ClearDir(const AnsiString& Path, bool Delete) {
    struct stat Info;
    // lstat: a link to a directory is not a directory to clear.
    if (::lstat(Path.c_str(), &Info) != 0 || !S_ISDIR(Info.st_mode)) return false;
    const AnsiString Dir = WithSlash(Path);
    std::vector<AnsiString> Names;
    const bool Complete = ListDirectory(Dir, Names);
    bool Result = Complete;
    for (const AnsiString& Name : Names) {
        const AnsiString Entry = Dir + Name;
        if (::lstat(Entry.c_str(), &Info) == 0 && S_ISDIR(Info.st_mode))
            Result = ClearDir(Entry, true) && Result;
        else
            Result = ::unlink(Entry.c_str()) == 0 && Result;
    }
    if (Delete && Result && !IsRoot(Path)) Result = ::rmdir(Path.c_str()) == 0;
    return Result;
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
