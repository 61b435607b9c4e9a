#include "mail/MxStackPosix.h"

#include "mail/MxNetExceptions.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/StringList.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace mail {

static_assert(MxAfInet == AF_INET && MxSockStream == SOCK_STREAM && MxIpProtoTcp == IPPROTO_TCP &&
              MxTcpNoDelay == TCP_NODELAY);
static_assert(MxShutdownSend == SHUT_WR && MxSolSocket == SOL_SOCKET && MxSoError == SO_ERROR);

namespace {

// Like the Winsock error, the last error belongs to the thread that made
// the call.
thread_local int tLastError = 0;

int FailWithErrno() {
    tLastError = WinsockCodeOfErrno(errno);
    return MxSocketError;
}

int FailWithCode(int ACode) {
    tLastError = ACode;
    return MxSocketError;
}

void IgnoreSigPipe() {
    static std::once_flag once;
    std::call_once(once, [] {
        // Leave a handler the program installed itself alone.
        struct sigaction current {};
        if (sigaction(SIGPIPE, nullptr, &current) == 0 && current.sa_handler == SIG_DFL) {
            struct sigaction ignore {};
            ignore.sa_handler = SIG_IGN;
            sigemptyset(&ignore.sa_mask);
            sigaction(SIGPIPE, &ignore, nullptr);
        }
    });
}

// The Winsock code for a bad argument.
constexpr int WSAEINVAL = 10022;

// A port outside 0 to 65535 would wrap round to some other port and reach
// whatever listens there.
void CheckPort(TMxStack& AStack, int APort) {
    if (APort < 0 || APort > 65535)
        throw EMxSocketError(WSAEINVAL, AStack.ErrorText(WSAEINVAL) + " The port " +
                                            std::to_string(APort) + " lies outside 0 to 65535.");
}

sockaddr_in MakeAddress(TMxStack& AStack, const AnsiString& AIP, int APort) {
    CheckPort(AStack, APort);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(APort));
    if (AIP.empty()) {
        address.sin_addr.s_addr = htonl(INADDR_ANY);
    } else {
        const TMxAddressBytes bytes = AStack.TextToAddressBytes(AIP);
        std::memcpy(&address.sin_addr.s_addr, bytes.data(), 4);
    }
    return address;
}

void ReadAddress(TMxStack& AStack, const sockaddr_storage& AAddress, int& AFamily, AnsiString& AIP,
                 int& APort) {
    AFamily = AAddress.ss_family;
    AIP.clear();
    APort = 0;
    if (AAddress.ss_family != AF_INET) return;
    const auto& in = reinterpret_cast<const sockaddr_in&>(AAddress);
    TMxAddressBytes bytes{};
    std::memcpy(bytes.data(), &in.sin_addr.s_addr, 4);
    AIP = AStack.AddressBytesToText(bytes);
    APort = ntohs(in.sin_port);
}

struct AddrInfoDeleter {
    void operator()(addrinfo* AInfo) const { freeaddrinfo(AInfo); }
};
using AddrInfoPtr = std::unique_ptr<addrinfo, AddrInfoDeleter>;

// The IPv4 addresses of AHostName; nullptr with the last error set when
// the resolver has none.
AddrInfoPtr LookUp(const AnsiString& AHostName) {
    // A NUL would cut the name the resolver sees: such a name has no host.
    if (AHostName.empty() || AHostName.find('\0') != AnsiString::npos) {
        FailWithCode(WSAHOST_NOT_FOUND);
        return nullptr;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const int result = getaddrinfo(AHostName.c_str(), nullptr, &hints, &found);
    if (result != 0) {
        FailWithCode(WinsockCodeOfResolverError(result, errno));
        return nullptr;
    }
    return AddrInfoPtr(found);
}

AnsiString AddressText(const addrinfo* AInfo) {
    const auto* in = reinterpret_cast<const sockaddr_in*>(AInfo->ai_addr);
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &in->sin_addr, text, sizeof text);
    return text;
}

} // namespace

int WinsockCodeOfErrno(int AErrno) {
    switch (AErrno) {
    case EINTR:
        return 10004;
    case EBADF:
        return 10009;
    case EACCES:
        return 10013;
    case EPERM:
        return 10013;
    case EFAULT:
        return 10014;
    case EINVAL:
        return 10022;
    case EMFILE:
        return 10024;
    case EAGAIN:
        return 10035; // EWOULDBLOCK is the same value
    case EINPROGRESS:
        return 10036;
    case EALREADY:
        return 10037;
    case ENOTSOCK:
        return 10038;
    case EDESTADDRREQ:
        return 10039;
    case EMSGSIZE:
        return 10040;
    case EPROTOTYPE:
        return 10041;
    case ENOPROTOOPT:
        return 10042;
    case EPROTONOSUPPORT:
        return 10043;
    case ESOCKTNOSUPPORT:
        return 10044;
    case EOPNOTSUPP:
        return 10045;
    case EPFNOSUPPORT:
        return 10046;
    case EAFNOSUPPORT:
        return 10047;
    case EADDRINUSE:
        return 10048;
    case EADDRNOTAVAIL:
        return 10049;
    case ENETDOWN:
        return 10050;
    case ENETUNREACH:
        return 10051;
    case ENETRESET:
        return 10052;
    case ECONNABORTED:
        return 10053;
    case ECONNRESET:
        return 10054;
    case ENOBUFS:
        return 10055;
    case EISCONN:
        return 10056;
    case ENOTCONN:
        return 10057;
    // Writing to a connection the peer or we have shut down.
    case EPIPE:
        return 10058;
    case ESHUTDOWN:
        return 10058;
    case ETOOMANYREFS:
        return 10059;
    case ETIMEDOUT:
        return 10060;
    case ECONNREFUSED:
        return 10061;
    case ELOOP:
        return 10062;
    case ENAMETOOLONG:
        return 10063;
    case EHOSTDOWN:
        return 10064;
    case EHOSTUNREACH:
        return 10065;
    case ENOTEMPTY:
        return 10066;
    default:
        return AErrno;
    }
}

int WinsockCodeOfResolverError(int AResult, int AErrno) {
    switch (AResult) {
    case EAI_NONAME:
        return WSAHOST_NOT_FOUND;
    case EAI_AGAIN:
        return WSATRY_AGAIN;
    case EAI_FAIL:
        return WSANO_RECOVERY;
#ifdef EAI_NODATA
    case EAI_NODATA:
        return WSANO_DATA;
#endif
#ifdef EAI_ADDRFAMILY
    case EAI_ADDRFAMILY:
        return WSANO_DATA;
#endif
    case EAI_SYSTEM:
        return WinsockCodeOfErrno(AErrno);
    case EAI_MEMORY:
        return 10055;
    default:
        return WSANO_RECOVERY;
    }
}

TMxStackPosix::TMxStackPosix() {
    IgnoreSigPipe();
}

std::shared_ptr<TMxStack> CreateStackPosix() {
    return std::make_shared<TMxStackPosix>();
}

void TMxStackPosix::RefreshLocalAddresses() {
    TStringList& list = LocalAddressList();
    list.Clear();
    AddrInfoPtr found = LookUp(SockHostName());
    if (!found) CheckSocketResult(MxSocketError);
    for (const addrinfo* info = found.get(); info; info = info->ai_next) {
        list.Add(AddressText(info));
    }
}

TMxSocket TMxStackPosix::SockAccept(TMxSocket ASocket, AnsiString& AIP, int& APort) {
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    int result;
    do {
        result = accept4(ASocket, reinterpret_cast<sockaddr*>(&address), &length, SOCK_CLOEXEC);
    } while (result < 0 && errno == EINTR);
    if (result < 0) return FailWithErrno();
    int family = 0;
    ReadAddress(*this, address, family, AIP, APort);
    return result;
}

int TMxStackPosix::SockBind(TMxSocket ASocket, int, const AnsiString& AIP, int APort) {
    const sockaddr_in address = MakeAddress(*this, AIP, APort);
    if (bind(ASocket, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        return FailWithErrno();
    return 0;
}

int TMxStackPosix::SockClose(TMxSocket ASocket) {
    // The descriptor is gone after close even when it reports EINTR.
    if (close(ASocket) != 0 && errno != EINTR) return FailWithErrno();
    return 0;
}

int TMxStackPosix::SockConnect(TMxSocket ASocket, int, const AnsiString& AIP, int APort) {
    const sockaddr_in address = MakeAddress(*this, AIP, APort);
    if (connect(ASocket, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        return FailWithErrno();
    return 0;
}

AnsiString TMxStackPosix::SockHostByName(const AnsiString& AHostName) {
    AddrInfoPtr found = LookUp(AHostName);
    if (!found) CheckSocketResult(MxSocketError);
    return AddressText(found.get());
}

AnsiString TMxStackPosix::SockHostName() {
    char buffer[250] = {};
    if (gethostname(buffer, sizeof buffer - 1) != 0) CheckSocketResult(FailWithErrno());
    return AnsiString(buffer);
}

AnsiString TMxStackPosix::SockHostByAddress(const AnsiString& AAddress) {
    const sockaddr_in address = MakeAddress(*this, AAddress, 0);
    char name[NI_MAXHOST] = {};
    const int result = getnameinfo(reinterpret_cast<const sockaddr*>(&address), sizeof address,
                                   name, sizeof name, nullptr, 0, NI_NAMEREQD);
    if (result != 0) {
        FailWithCode(WinsockCodeOfResolverError(result, errno));
        CheckSocketResult(MxSocketError);
    }
    return AnsiString(name);
}

int TMxStackPosix::SockServiceByName(const AnsiString& AServiceName) {
    if (AServiceName.find('\0') == AnsiString::npos) {
        servent entry{};
        servent* found = nullptr;
        char buffer[1024];
        if (getservbyname_r(AServiceName.c_str(), nullptr, &entry, buffer, sizeof buffer, &found) ==
                0 &&
            found)
            return ntohs(static_cast<std::uint16_t>(found->s_port));
    }
    int port = 0;
    if (!TryStrToInt(AServiceName, port) || port < 0 || port > 65535)
        throw EMxInvalidServiceName(AServiceName + " is not a valid service.");
    return port;
}

std::unique_ptr<TStringList> TMxStackPosix::SockServiceByPort(int APort) {
    // A number outside the port range names no service; cut to 16 bits it
    // would name another port's.
    if (APort < 0 || APort > 65535) return nullptr;
    try {
        servent entry{};
        servent* found = nullptr;
        char buffer[1024];
        if (getservbyport_r(htons(static_cast<std::uint16_t>(APort)), nullptr, &entry, buffer,
                            sizeof buffer, &found) != 0 ||
            !found)
            return nullptr;
        auto list = std::make_unique<TStringList>();
        list->Add(found->s_name);
        for (char** alias = found->s_aliases; alias && *alias; ++alias)
            list->Add(*alias);
        return list;
    } catch (...) {
        return nullptr;
    }
}

std::uint16_t TMxStackPosix::SockHostToNetShort(std::uint16_t AValue) {
    return htons(AValue);
}
std::uint16_t TMxStackPosix::SockNetToHostShort(std::uint16_t AValue) {
    return ntohs(AValue);
}
std::uint32_t TMxStackPosix::SockHostToNetLong(std::uint32_t AValue) {
    return htonl(AValue);
}
std::uint32_t TMxStackPosix::SockNetToHostLong(std::uint32_t AValue) {
    return ntohl(AValue);
}

int TMxStackPosix::SockListen(TMxSocket ASocket, int ABacklog) {
    if (listen(ASocket, ABacklog) != 0) return FailWithErrno();
    return 0;
}

int TMxStackPosix::SockRecv(TMxSocket ASocket, void* ABuffer, int ALength, int AFlags) {
    // A negative length, taken as a size, would let the transfer run far
    // past the caller's buffer; it fails as a bad argument, here and in
    // the other transfers.
    if (ALength < 0) return FailWithCode(WSAEINVAL);
    ssize_t count;
    do {
        count = recv(ASocket, ABuffer, static_cast<std::size_t>(ALength), AFlags);
    } while (count < 0 && errno == EINTR);
    if (count < 0) return FailWithErrno();
    return static_cast<int>(count);
}

int TMxStackPosix::SockRecvFrom(TMxSocket ASocket, void* ABuffer, int ALength, int AFlags,
                                AnsiString& AIP, int& APort) {
    if (ALength < 0) return FailWithCode(WSAEINVAL);
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    ssize_t count;
    do {
        count = recvfrom(ASocket, ABuffer, static_cast<std::size_t>(ALength), AFlags,
                         reinterpret_cast<sockaddr*>(&address), &length);
    } while (count < 0 && errno == EINTR);
    if (count < 0) return FailWithErrno();
    int family = 0;
    ReadAddress(*this, address, family, AIP, APort);
    return static_cast<int>(count);
}

int TMxStackPosix::SockSelect(TMxSocketList* ARead, TMxSocketList* AWrite, TMxSocketList* AError,
                              int ATimeout) {
    // poll has no limit on descriptor numbers, unlike an fd_set; the lists
    // keep their own limit of 64 entries.
    std::vector<pollfd> fds;
    auto watch = [&fds](TMxSocketList* AList, short AEvents) {
        if (!AList) return;
        for (int i = 0; i < AList->SocketCount(); ++i) {
            const TMxSocket socket = AList->SocketAt(i);
            auto it = std::find_if(fds.begin(), fds.end(),
                                   [socket](const pollfd& p) { return p.fd == socket; });
            if (it == fds.end()) {
                fds.push_back(pollfd{socket, AEvents, 0});
            } else {
                it->events = static_cast<short>(it->events | AEvents);
            }
        }
    };
    watch(ARead, POLLIN);
    watch(AWrite, POLLOUT);
    watch(AError, POLLPRI);
    // A socket that is none or has been closed fails the whole wait, as it
    // fails a select; poll would skip the one and call the other ready.
    for (const pollfd& fd : fds)
        if (fd.fd < 0) return FailWithCode(WSAENOTSOCK);

    using clock = std::chrono::steady_clock;
    const auto deadline = clock::now() + std::chrono::milliseconds(ATimeout < 0 ? 0 : ATimeout);
    int ready;
    while (true) {
        int wait = -1;
        if (ATimeout >= 0) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - clock::now());
            wait = left.count() > 0 ? static_cast<int>(left.count()) : 0;
        }
        ready = poll(fds.data(), fds.size(), wait);
        if (ready >= 0 || errno != EINTR) break;
    }
    if (ready < 0) return FailWithErrno();
    for (const pollfd& fd : fds)
        if ((fd.revents & POLLNVAL) != 0) return FailWithCode(WSAENOTSOCK);

    // As with select, a socket with an error or a hang-up counts as ready
    // to read and to write, so the next call reports what happened.
    int count = 0;
    auto refill = [&fds, &count](TMxSocketList* AList, short AEvents) {
        if (!AList) return;
        std::vector<TMxSocket> sockets;
        for (int i = 0; i < AList->SocketCount(); ++i)
            sockets.push_back(AList->SocketAt(i));
        AList->ClearSockets();
        for (TMxSocket socket : sockets) {
            auto it = std::find_if(fds.begin(), fds.end(),
                                   [socket](const pollfd& p) { return p.fd == socket; });
            if (it != fds.end() && (it->revents & AEvents) != 0) {
                AList->AddSocket(socket);
                ++count;
            }
        }
    };
    refill(ARead, POLLIN | POLLHUP | POLLERR);
    refill(AWrite, POLLOUT | POLLHUP | POLLERR);
    refill(AError, POLLPRI);
    return count;
}

int TMxStackPosix::SockSend(TMxSocket ASocket, const void* ABuffer, int ALength, int AFlags) {
    if (ALength < 0) return FailWithCode(WSAEINVAL);
    ssize_t count;
    do {
        count = send(ASocket, ABuffer, static_cast<std::size_t>(ALength), AFlags | MSG_NOSIGNAL);
    } while (count < 0 && errno == EINTR);
    if (count < 0) return FailWithErrno();
    return static_cast<int>(count);
}

int TMxStackPosix::SockSendTo(TMxSocket ASocket, const void* ABuffer, int ALength, int AFlags,
                              const AnsiString& AIP, int APort) {
    if (ALength < 0) return FailWithCode(WSAEINVAL);
    const sockaddr_in address = MakeAddress(*this, AIP, APort);
    ssize_t count;
    do {
        count = sendto(ASocket, ABuffer, static_cast<std::size_t>(ALength), AFlags | MSG_NOSIGNAL,
                       reinterpret_cast<const sockaddr*>(&address), sizeof address);
    } while (count < 0 && errno == EINTR);
    if (count < 0) return FailWithErrno();
    return static_cast<int>(count);
}

int TMxStackPosix::SockSetOption(TMxSocket ASocket, int ALevel, int AOption, const void* AValue,
                                 int ALength) {
    if (setsockopt(ASocket, ALevel, AOption, AValue, static_cast<socklen_t>(ALength)) != 0)
        return FailWithErrno();
    return 0;
}

TMxSocket TMxStackPosix::SockCreate(int AFamily, int AType, int AProtocol) {
    // Close-on-exec: a program the process starts must not keep our
    // connections open.
    const int result = socket(AFamily, AType | SOCK_CLOEXEC, AProtocol);
    if (result < 0) return FailWithErrno();
    return result;
}

int TMxStackPosix::SockShutdown(TMxSocket ASocket, int AHow) {
    if (shutdown(ASocket, AHow) != 0) return FailWithErrno();
    return 0;
}

AnsiString TMxStackPosix::ErrorText(int ACode) {
    if (ACode == WSAHOST_NOT_FOUND)
        return "Socket Error # " + std::to_string(ACode) + "\r\nHost not found.";
    if (ACode > 0 && ACode < 10000) {
        char buffer[256] = {};
        const char* text = strerror_r(ACode, buffer, sizeof buffer);
        return "Socket Error # " + std::to_string(ACode) + "\r\n" + text;
    }
    return TMxStack::ErrorText(ACode);
}

int TMxStackPosix::SockLastError() {
    return tLastError;
}

void TMxStackPosix::SockPeerName(TMxSocket ASocket, int& AFamily, AnsiString& AIP, int& APort) {
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (getpeername(ASocket, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        CheckSocketResult(FailWithErrno());
    ReadAddress(*this, address, AFamily, AIP, APort);
}

void TMxStackPosix::SockLocalName(TMxSocket ASocket, int& AFamily, AnsiString& AIP, int& APort) {
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (getsockname(ASocket, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        CheckSocketResult(FailWithErrno());
    ReadAddress(*this, address, AFamily, AIP, APort);
}

int TMxStackPosix::SockGetOption(TMxSocket ASocket, int ALevel, int AOption, void* AValue,
                                 int& ALength) {
    socklen_t length = static_cast<socklen_t>(ALength);
    if (getsockopt(ASocket, ALevel, AOption, AValue, &length) != 0) return FailWithErrno();
    ALength = static_cast<int>(length);
    // The pending error is a system error number: give it as the code the
    // rest of the transport knows.
    if (ALevel == SOL_SOCKET && AOption == SO_ERROR && length == sizeof(int)) {
        int& code = *static_cast<int*>(AValue);
        if (code != 0) code = WinsockCodeOfErrno(code);
    }
    return 0;
}

int TMxStackPosix::SockSetNonBlocking(TMxSocket ASocket, bool ANonBlocking) {
    const int flags = fcntl(ASocket, F_GETFL);
    if (flags < 0) return FailWithErrno();
    const int wanted = ANonBlocking ? (flags | O_NONBLOCK) : (flags & ~O_NONBLOCK);
    if (wanted != flags && fcntl(ASocket, F_SETFL, wanted) != 0) return FailWithErrno();
    return 0;
}

} // namespace mail
