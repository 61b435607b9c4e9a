#include "platform/gui/RunningInstance.h"

#include "platform/gui/QtApp.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"

#include <QSocketNotifier>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <poll.h>
#include <string>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

constexpr char Request[] = "activate\n";

// The folder of the announcements; empty when there is none that is this
// user's own.
AnsiString InstanceFolder(bool Create) {
    const char* Runtime = std::getenv("XDG_RUNTIME_DIR");
    struct stat Info;
    AnsiString Folder;
    if (Runtime && *Runtime && ::stat(Runtime, &Info) == 0 && S_ISDIR(Info.st_mode)) {
        Folder = AnsiString(Runtime) + "/beaconmill-instances";
    } else {
        Folder = Format("/tmp/beaconmill-%u", static_cast<unsigned>(::getuid()));
    }
    if (Create) ::mkdir(Folder.c_str(), 0700);
    // Someone else's folder (in /tmp anyone may make it first) is not used.
    if (::lstat(Folder.c_str(), &Info) != 0 || !S_ISDIR(Info.st_mode) ||
        Info.st_uid != ::getuid() || (Info.st_mode & 0077) != 0)
        return {};
    return Folder;
}

AnsiString SocketPath(const AnsiString& Folder, pid_t Pid) {
    return Folder + Format("/%d.sock", static_cast<int>(Pid));
}

AnsiString TitlePath(const AnsiString& Folder, pid_t Pid) {
    return Folder + Format("/%d.title", static_cast<int>(Pid));
}

// The file's text, at most 64 KiB of it; false when it cannot be read.
bool ReadSmallFile(const AnsiString& Path, std::string& Text) {
    const int Fd = ::open(Path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (Fd < 0) return false;
    char Buffer[512];
    ssize_t Got;
    while ((Got = ::read(Fd, Buffer, sizeof Buffer)) > 0 && Text.size() < 65536)
        Text.append(Buffer, static_cast<std::size_t>(Got));
    ::close(Fd);
    return Got == 0 || Text.size() >= 65536;
}

bool FillAddress(const AnsiString& Path, sockaddr_un& Address) {
    Address = {};
    Address.sun_family = AF_UNIX;
    if (Path.size() >= sizeof Address.sun_path) return false;
    std::memcpy(Address.sun_path, Path.c_str(), Path.size() + 1);
    return true;
}

bool WriteAll(int Fd, const char* Data, std::size_t Size) {
    while (Size > 0) {
        const ssize_t Done = ::write(Fd, Data, Size);
        if (Done < 0 && errno == EINTR) continue;
        if (Done <= 0) return false;
        Data += Done;
        Size -= static_cast<std::size_t>(Done);
    }
    return true;
}

} // namespace

struct TRunningInstance::TImpl {
    AnsiString LockFile, TitleFile, Socket;
    int LockFd = -1;
    int ListenFd = -1;
    std::function<void()> OnActivate;
    std::unique_ptr<QSocketNotifier> Listener;
    struct TClient {
        std::unique_ptr<QSocketNotifier> Notifier;
        std::string Received;
    };
    std::map<int, TClient> Clients;

    ~TImpl() {
        for (auto& [Fd, Client] : Clients) {
            Client.Notifier.reset();
            ::close(Fd);
        }
        Listener.reset();
        if (ListenFd >= 0) {
            ::close(ListenFd);
            ::unlink(Socket.c_str());
        }
        if (LockFd >= 0) {
            ::unlink(LockFile.c_str());
            ::close(LockFd);
        }
        if (!TitleFile.empty()) ::unlink(TitleFile.c_str());
    }

    void Accept() {
        for (;;) {
            const int Fd = ::accept4(ListenFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
            if (Fd < 0) return;
            TClient& Client = Clients[Fd];
            Client.Notifier = std::make_unique<QSocketNotifier>(Fd, QSocketNotifier::Read);
            QObject::connect(Client.Notifier.get(), &QSocketNotifier::activated,
                             [this, Fd] { Read(Fd); });
        }
    }

    // The title goes into a file of its own, written under a temporary
    // name and renamed over the one before: a search reads the whole of
    // the old title or of the new one. The lock file is never replaced, so
    // its lock tells a search at every moment that this process runs.
    void WriteTitle(const AnsiString& Title) {
        const AnsiString Temp = TitleFile + ".new";
        const int Fd = ::open(Temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        bool Done = Fd >= 0 && WriteAll(Fd, Title.data(), Title.size());
        int Error = errno;
        if (Fd >= 0 && ::close(Fd) != 0 && Done) {
            Done = false;
            Error = errno;
        }
        if (Done && ::rename(Temp.c_str(), TitleFile.c_str()) != 0) {
            Done = false;
            Error = errno;
        }
        if (Done) return;
        ::unlink(Temp.c_str());
        throw EInOutError(Format("Cannot announce in %s: %s", TitleFile, std::strerror(Error)));
    }

    // One request per connection: a line that asks to come to the front.
    void Read(int Fd) {
        auto It = Clients.find(Fd);
        if (It == Clients.end()) return;
        char Buffer[64];
        const ssize_t Got = ::read(Fd, Buffer, sizeof Buffer);
        if (Got < 0 && (errno == EAGAIN || errno == EINTR)) return;
        if (Got > 0) It->second.Received.append(Buffer, static_cast<std::size_t>(Got));
        const bool Complete = It->second.Received.find('\n') != std::string::npos;
        if (Got > 0 && !Complete && It->second.Received.size() < 64) return;
        bool Done = false;
        if (Complete && It->second.Received == Request && OnActivate) {
            try {
                OnActivate();
                Done = true;
            } catch (...) {
            }
        }
        if (Complete) WriteAll(Fd, Done ? "1\n" : "0\n", 2);
        It->second.Notifier->setEnabled(false);
        It->second.Notifier.release()->deleteLater();
        Clients.erase(It);
        ::close(Fd);
    }
};

TRunningInstance::TRunningInstance(const AnsiString& ClassName, const AnsiString& Title,
                                   std::function<void()> OnActivate)
    : F(std::make_unique<TImpl>()) {
    EnsureQtApplication();
    F->OnActivate = std::move(OnActivate);
    const AnsiString Folder = InstanceFolder(true);
    if (Folder.empty()) throw EInOutError("Cannot make this user's folder of running instances");
    const pid_t Pid = ::getpid();
    F->Socket = SocketPath(Folder, Pid);
    F->LockFile = Folder + Format("/%d.lock", static_cast<int>(Pid));

    sockaddr_un Address;
    if (!FillAddress(F->Socket, Address))
        throw EInOutError(Format("Socket name too long: %s", F->Socket));
    F->ListenFd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    ::unlink(F->Socket.c_str());
    if (F->ListenFd < 0 ||
        ::bind(F->ListenFd, reinterpret_cast<sockaddr*>(&Address), sizeof Address) != 0 ||
        ::listen(F->ListenFd, 4) != 0)
        throw EInOutError(Format("Cannot listen on %s: %s", F->Socket, std::strerror(errno)));
    F->Listener = std::make_unique<QSocketNotifier>(F->ListenFd, QSocketNotifier::Read);
    TImpl* Impl = F.get();
    QObject::connect(F->Listener.get(), &QSocketNotifier::activated, [Impl] { Impl->Accept(); });

    // The title first: a search that finds the lock finds a title too.
    F->TitleFile = TitlePath(Folder, Pid);
    F->WriteTitle(Title);
    // Written and locked under a temporary name, then renamed: a search
    // never sees an announcement that is not locked yet.
    const AnsiString Temp = F->LockFile + ".new";
    F->LockFd = ::open(Temp.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (F->LockFd < 0 || ::flock(F->LockFd, LOCK_EX | LOCK_NB) != 0 ||
        !WriteAll(F->LockFd, ClassName.data(), ClassName.size()) ||
        ::rename(Temp.c_str(), F->LockFile.c_str()) != 0) {
        const int Error = errno;
        ::unlink(Temp.c_str());
        throw EInOutError(Format("Cannot announce in %s: %s", F->LockFile, std::strerror(Error)));
    }
}

TRunningInstance::~TRunningInstance() = default;

void TRunningInstance::SetTitle(const AnsiString& Title) {
    F->WriteTitle(Title);
}

pid_t FindRunningInstance(const AnsiString& ClassName, const AnsiString& Title) {
    if (ClassName.empty() && Title.empty()) return 0;
    const AnsiString Folder = InstanceFolder(false);
    if (Folder.empty()) return 0;
    DIR* Dir = ::opendir(Folder.c_str());
    if (!Dir) return 0;
    pid_t Found = 0;
    while (const dirent* Entry = ::readdir(Dir)) {
        const AnsiString Name = Entry->d_name;
        char* End = nullptr;
        const long Pid = std::strtol(Name.c_str(), &End, 10);
        if (Pid <= 0 || End == Name.c_str() || std::strcmp(End, ".lock") != 0) continue;
        if (Pid == ::getpid()) continue;
        const AnsiString Path = Folder + "/" + Name;
        const int Fd = ::open(Path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
        if (Fd < 0) continue;
        if (::flock(Fd, LOCK_SH | LOCK_NB) == 0) {
            // Nobody holds it: the instance has ended without clearing up.
            ::unlink(Path.c_str());
            ::unlink(SocketPath(Folder, static_cast<pid_t>(Pid)).c_str());
            ::unlink(TitlePath(Folder, static_cast<pid_t>(Pid)).c_str());
            ::close(Fd);
            continue;
        }
        ::close(Fd);
        std::string Class, CurrentTitle;
        if (!ReadSmallFile(Path, Class) ||
            !ReadSmallFile(TitlePath(Folder, static_cast<pid_t>(Pid)), CurrentTitle))
            continue;
        if ((ClassName.empty() || Class == ClassName) && (Title.empty() || CurrentTitle == Title)) {
            Found = static_cast<pid_t>(Pid);
            break;
        }
    }
    ::closedir(Dir);
    return Found;
}

bool ActivateRunningInstance(pid_t Instance, int TimeoutMs) {
    const AnsiString Folder = InstanceFolder(false);
    sockaddr_un Address;
    if (Instance <= 0 || Folder.empty() || !FillAddress(SocketPath(Folder, Instance), Address))
        return false;
    // One deadline for the whole request. An instance that handles no
    // events accepts no connection: once its queue is full, connecting
    // waits for it like the answer does.
    const auto Deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(TimeoutMs, 0));
    const auto MsLeft = [&Deadline] {
        const auto Left = std::chrono::ceil<std::chrono::milliseconds>(
            Deadline - std::chrono::steady_clock::now());
        return static_cast<int>(std::max<std::int64_t>(Left.count(), 0));
    };
    const int Fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (Fd < 0) return false;
    bool Result = false;
    // A blocking connect and write on a local socket wait at most the send
    // time-out; a time-out of 0 would mean no limit, so it is at least 1 ms.
    const int Ms = std::max(MsLeft(), 1);
    const timeval SendWait{Ms / 1000, (Ms % 1000) * 1000};
    if (::setsockopt(Fd, SOL_SOCKET, SO_SNDTIMEO, &SendWait, sizeof SendWait) == 0 &&
        ::connect(Fd, reinterpret_cast<sockaddr*>(&Address), sizeof Address) == 0 &&
        WriteAll(Fd, Request, sizeof Request - 1)) {
        pollfd Wait{Fd, POLLIN, 0};
        char Answer[2] = {};
        if (::poll(&Wait, 1, MsLeft()) == 1 && ::recv(Fd, Answer, 2, MSG_DONTWAIT) == 2)
            Result = Answer[0] == '1';
    }
    ::close(Fd);
    return Result;
}
