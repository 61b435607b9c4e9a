#include "mail/MxStack.h"

#include "mail/MxComponent.h"
#include "mail/MxNetExceptions.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/StringList.h"

#include <algorithm>
#include <utility>

namespace mail {

// ------------------------------------------------------------ socket lists

namespace {
[[noreturn]] void RaiseSetSizeExceeded() {
    throw EMxStackSetSizeExceeded("Set Size Exceeded.");
}
} // namespace

TMxSocket TMxSocketListPosix::SocketAt(int AIndex) const {
    if (AIndex < 0 || AIndex >= FCount) RaiseSetSizeExceeded();
    return FSockets[static_cast<std::size_t>(AIndex)];
}

void TMxSocketListPosix::AddSocket(TMxSocket ASocket) {
    if (FCount >= MaxSockets) RaiseSetSizeExceeded();
    FSockets[static_cast<std::size_t>(FCount++)] = ASocket;
}

void TMxSocketListPosix::RemoveSocket(TMxSocket ASocket) {
    for (int i = 0; i < FCount; ++i) {
        if (FSockets[static_cast<std::size_t>(i)] != ASocket) continue;
        --FCount;
        FSockets[static_cast<std::size_t>(i)] = FSockets[static_cast<std::size_t>(FCount)];
        FSockets[static_cast<std::size_t>(FCount)] = 0;
        return;
    }
}

void TMxSocketListPosix::ClearSockets() {
    FSockets.fill(0);
    FCount = 0;
}

std::unique_ptr<TMxSocketList> CreateSocketList() {
    return std::make_unique<TMxSocketListPosix>();
}

// ------------------------------------------------------------ address text

namespace {

// Decimal digits only; anything else, or a value above AMax, fails.
bool ReadNumber(const AnsiString& AText, std::uint64_t AMax, std::uint64_t& AValue) {
    if (AText.empty() || AText.size() > 10) return false;
    std::uint64_t value = 0;
    for (char c : AText) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    if (value > AMax) return false;
    AValue = value;
    return true;
}

int AddressClass(std::uint8_t AFirst) {
    if (AFirst < 128) return 1;
    if (AFirst < 192) return 2;
    if (AFirst < 224) return 3;
    if (AFirst < 240) return 4;
    return 5;
}

} // namespace

TMxParsedAddress ParseAddressText(const AnsiString& AText) {
    std::vector<AnsiString> parts;
    AnsiString rest = AText;
    while (parts.size() < 3) {
        const std::size_t dot = rest.find('.');
        if (dot == AnsiString::npos) break;
        parts.push_back(rest.substr(0, dot));
        rest.erase(0, dot + 1);
    }
    parts.push_back(rest); // the last part keeps any further dots

    TMxParsedAddress result;
    std::array<std::uint64_t, 4> values{};
    static constexpr std::array<std::array<std::uint64_t, 4>, 4> Limits{{
        {4294967295u, 0, 0, 0},
        {255, 16777215, 0, 0},
        {255, 255, 65535, 0},
        {255, 255, 255, 255},
    }};
    const std::size_t count = parts.size();
    for (std::size_t i = 0; i < count; ++i) {
        if (!ReadNumber(parts[i], Limits[count - 1][i], values[i])) return TMxParsedAddress{};
    }
    // The last part fills the bytes that the parts before it leave.
    const std::uint64_t last = values[count - 1];
    for (std::size_t i = 0; i + 1 < count; ++i)
        result.Bytes[i] = static_cast<std::uint8_t>(values[i]);
    for (std::size_t i = count - 1; i < 4; ++i)
        result.Bytes[i] = static_cast<std::uint8_t>(last >> (8 * (3 - i)));
    result.Valid = true;
    switch (count) {
    case 1:
        result.Kind = 2;
        break;
    case 2:
        result.Kind = 1;
        result.Class = 1;
        break;
    case 3:
        result.Kind = 1;
        result.Class = 2;
        break;
    default:
        result.Kind = 1;
        result.Class = AddressClass(result.Bytes[0]);
        break;
    }
    return result;
}

// ------------------------------------------------------------------ stack

TMxStack::TMxStack() = default;
TMxStack::~TMxStack() = default;

TStringList& TMxStack::LocalAddressList() {
    if (!FLocalAddressList) FLocalAddressList = std::make_unique<TStringList>();
    return *FLocalAddressList;
}

TStrings* TMxStack::GetLocalAddresses() {
    LocalAddressList();
    RefreshLocalAddresses();
    return FLocalAddressList.get();
}

AnsiString TMxStack::GetLocalAddress() {
    TStrings* addresses = GetLocalAddresses();
    return addresses->GetCount() > 0 ? addresses->Get(0) : AnsiString();
}

namespace {

const char* SocketErrorMessage(int ACode) {
    switch (ACode) {
    case 10004:
        return "Interrupted system call.";
    case 10009:
        return "Bad file number.";
    case 10013:
        return "Access denied.";
    case 10014:
        return "Bad address.";
    case 10022:
        return "Invalid argument.";
    case 10024:
        return "Too many open files.";
    case 10035:
        return "Operation would block. ";
    case 10036:
        return "Operation now in progress.";
    case 10037:
        return "Operation already in progress.";
    case 10038:
        return "Socket operation on non-socket.";
    case 10039:
        return "Destination address required.";
    case 10040:
        return "Message too long.";
    case 10041:
        return "Protocol wrong type for socket.";
    case 10042:
        return "Bad protocol option.";
    case 10043:
        return "Protocol not supported.";
    case 10044:
        return "Socket type not supported.";
    case 10045:
        return "Operation not supported on socket.";
    case 10046:
        return "Protocol family not supported.";
    case 10047:
        return "Address family not supported by protocol family.";
    case 10048:
        return "Address already in use.";
    case 10049:
        return "Cannot assign requested address.";
    case 10050:
        return "Network is down.";
    case 10051:
        return "Network is unreachable.";
    case 10052:
        return "Net dropped connection or reset.";
    case 10053:
        return "Software caused connection abort.";
    case 10054:
        return "Connection reset by peer.";
    case 10055:
        return "No buffer space available.";
    case 10056:
        return "Socket is already connected.";
    case 10057:
        return "Socket is not connected.";
    case 10058:
        return "Cannot send or receive after socket is closed.";
    case 10059:
        return "Too many references, cannot splice.";
    case 10060:
        return "Connection timed out.";
    case 10061:
        return "Connection refused.";
    case 10062:
        return "Too many levels of symbolic links.";
    case 10063:
        return "File name too long.";
    case 10064:
        return "Host is down.";
    case 10065:
        return "No route to host.";
    case 10066:
        return "Directory not empty";
    default:
        return "";
    }
}

} // namespace

AnsiString TMxStack::ErrorText(int ACode) {
    return "Socket Error # " + std::to_string(ACode) + "\r\n" + SocketErrorMessage(ACode);
}

AnsiString TMxStack::AddressBytesToText(const TMxAddressBytes& ABytes) {
    return std::to_string(ABytes[0]) + "." + std::to_string(ABytes[1]) + "." +
           std::to_string(ABytes[2]) + "." + std::to_string(ABytes[3]);
}

TMxAddressBytes TMxStack::TextToAddressBytes(const AnsiString& AText) {
    const TMxParsedAddress parsed = ParseAddressText(AText);
    if (!parsed.Valid) throw EMxInvalidIPAddress(AText + " is not a valid IP address.");
    return parsed.Bytes;
}

bool TMxStack::CheckSocketResult(int AResult, std::initializer_list<int> AIgnore) {
    if (AResult != MxSocketError) return false;
    LastError = SockLastError();
    if (std::find(AIgnore.begin(), AIgnore.end(), LastError) != AIgnore.end()) return true;
    RaiseLastSocketError(LastError);
}

void TMxStack::RaiseLastSocketError(int ACode) {
    throw EMxSocketError(ACode, ErrorText(ACode));
}

TMxSocket TMxStack::AllocateSocket(int AType, int AProtocol) {
    const TMxSocket socket = SockCreate(MxAfInet, AType, AProtocol);
    if (socket == MxInvalidSocket) throw EMxInvalidSocket("Cannot allocate socket.");
    return socket;
}

AnsiString TMxStack::ResolveHostAddress(const AnsiString& AHost) {
    if (SameText(AHost, "LOCALHOST")) return "127.0.0.1";
    if (IsAddressText(AHost)) return AHost;
    return SockHostByName(AHost);
}

bool TMxStack::IsAddressText(const AnsiString& AText) const {
    return ParseAddressText(AText).Kind != 0;
}

std::uint32_t TMxStack::AddressTextToNumber(const AnsiString& AText) {
    const TMxAddressBytes bytes = TextToAddressBytes(AText);
    return (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) |
           (std::uint32_t{bytes[2]} << 8) | std::uint32_t{bytes[3]};
}

TMxStack& Stack() {
    TMxStack* stack = GStack();
    if (!stack) throw EMxException("The socket stack is not running: no mail component exists.");
    return *stack;
}

} // namespace mail
