#pragma once
// The socket stack: the one process-wide, exception-raising layer through
// which the mail transport reaches the network. Socket calls return the
// system's result (-1 on failure) and leave a Winsock-style error code for
// SockLastError; CheckSocketResult turns a failure into EMxSocketError with
// the code and its text. Addresses are dotted IPv4 text, ports host order.
#include "platform/rtl/AnsiString.h"
#include "platform/rtl/Object.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <memory>

class TStringList;
class TStrings;

namespace mail {

using TMxSocket = int;
inline constexpr TMxSocket MxInvalidSocket = -1;
inline constexpr int MxSocketError = -1;

// The numbers the socket calls take (the same on every system we know).
inline constexpr int MxAfInet = 2;
inline constexpr int MxSockStream = 1;
inline constexpr int MxIpProtoTcp = 6;
inline constexpr int MxTcpNoDelay = 1;
inline constexpr int MxShutdownSend = 1;
inline constexpr int MxSolSocket = 1;
// Reads the pending error of a socket, as a Winsock code.
inline constexpr int MxSoError = 4;

// Time-outs in milliseconds: -1 the caller's default, -2 no limit.
inline constexpr int MxTimeoutDefault = -1;
inline constexpr int MxTimeoutInfinite = -2;

// The Winsock error codes the transport tests for by number.
inline constexpr int WSAEINTR = 10004;
inline constexpr int WSAEBADF = 10009;
inline constexpr int WSAEWOULDBLOCK = 10035;
inline constexpr int WSAEINPROGRESS = 10036;
inline constexpr int WSAENOTSOCK = 10038;
inline constexpr int WSAEADDRINUSE = 10048;
inline constexpr int WSAECONNABORTED = 10053;
inline constexpr int WSAECONNRESET = 10054;
inline constexpr int WSAESHUTDOWN = 10058;
inline constexpr int WSAETIMEDOUT = 10060;
inline constexpr int WSAECONNREFUSED = 10061;
inline constexpr int WSAHOST_NOT_FOUND = 11001;
inline constexpr int WSATRY_AGAIN = 11002;
inline constexpr int WSANO_RECOVERY = 11003;
inline constexpr int WSANO_DATA = 11004;

using TMxAddressBytes = std::array<std::uint8_t, 4>;

// What ParseAddressText made of a text: Kind 0 invalid, 1 dotted parts,
// 2 a single number; Class the address class of the dotted forms.
struct TMxParsedAddress {
    bool Valid = false;
    TMxAddressBytes Bytes{};
    int Kind = 0;
    int Class = 0;
};

TMxParsedAddress ParseAddressText(const AnsiString& AText);

// A bounded list of sockets for SockSelect; at most 64 entries.
class TMxSocketList : public TObject {
public:
    AnsiString ClassName() const override { return "TMxSocketList"; }
    // EMxStackSetSizeExceeded for an index outside 0 to count-1.
    virtual TMxSocket SocketAt(int AIndex) const = 0;
    // EMxStackSetSizeExceeded for a 65th entry.
    virtual void AddSocket(TMxSocket ASocket) = 0;
    // The last entry takes the removed one's place.
    virtual void RemoveSocket(TMxSocket ASocket) = 0;
    virtual int SocketCount() const = 0;
    virtual void ClearSockets() = 0;
};

class TMxSocketListPosix : public TMxSocketList {
public:
    static constexpr int MaxSockets = 64;
    AnsiString ClassName() const override { return "TMxSocketListPosix"; }
    TMxSocket SocketAt(int AIndex) const override;
    void AddSocket(TMxSocket ASocket) override;
    void RemoveSocket(TMxSocket ASocket) override;
    int SocketCount() const override { return FCount; }
    void ClearSockets() override;

private:
    int FCount = 0;
    std::array<TMxSocket, MaxSockets> FSockets{};
};

std::unique_ptr<TMxSocketList> CreateSocketList();

class TMxStack : public TObject {
public:
    TMxStack();
    ~TMxStack() override;
    AnsiString ClassName() const override { return "TMxStack"; }

    // The Winsock code of the last failure CheckSocketResult saw.
    std::int32_t LastError = 0;

    // Every IPv4 address of the local host name, in resolver order.
    virtual void RefreshLocalAddresses() = 0;
    virtual AnsiString GetLocalAddress();
    virtual TStrings* GetLocalAddresses();

    virtual TMxSocket SockAccept(TMxSocket ASocket, AnsiString& AIP, int& APort) = 0;
    // An empty address binds to any address.
    virtual int SockBind(TMxSocket ASocket, int AFamily, const AnsiString& AIP, int APort) = 0;
    virtual int SockClose(TMxSocket ASocket) = 0;
    // AIP must be address text.
    virtual int SockConnect(TMxSocket ASocket, int AFamily, const AnsiString& AIP, int APort) = 0;
    virtual AnsiString SockHostByName(const AnsiString& AHostName) = 0;
    virtual AnsiString SockHostName() = 0;
    virtual AnsiString SockHostByAddress(const AnsiString& AAddress) = 0;
    // A service name or a port number's text.
    virtual int SockServiceByName(const AnsiString& AServiceName) = 0;
    // The service name and its aliases, or nullptr when the port has none.
    virtual std::unique_ptr<TStringList> SockServiceByPort(int APort) = 0;
    virtual std::uint16_t SockHostToNetShort(std::uint16_t AValue) = 0;
    virtual std::uint16_t SockNetToHostShort(std::uint16_t AValue) = 0;
    virtual std::uint32_t SockHostToNetLong(std::uint32_t AValue) = 0;
    virtual std::uint32_t SockNetToHostLong(std::uint32_t AValue) = 0;
    virtual int SockListen(TMxSocket ASocket, int ABacklog) = 0;
    virtual int SockRecv(TMxSocket ASocket, void* ABuffer, int ALength, int AFlags) = 0;
    virtual int SockRecvFrom(TMxSocket ASocket, void* ABuffer, int ALength, int AFlags,
                             AnsiString& AIP, int& APort) = 0;
    // Waits until a socket of the lists is ready or the time-out (ms; -2 or
    // any negative value: no limit) passes. Each list is left holding only
    // its ready sockets; the result counts them, -1 on failure.
    virtual int SockSelect(TMxSocketList* ARead, TMxSocketList* AWrite, TMxSocketList* AError,
                           int ATimeout) = 0;
    virtual int SockSend(TMxSocket ASocket, const void* ABuffer, int ALength, int AFlags) = 0;
    virtual int SockSendTo(TMxSocket ASocket, const void* ABuffer, int ALength, int AFlags,
                           const AnsiString& AIP, int APort) = 0;
    virtual int SockSetOption(TMxSocket ASocket, int ALevel, int AOption, const void* AValue,
                              int ALength) = 0;
    virtual TMxSocket SockCreate(int AFamily, int AType, int AProtocol) = 0;
    virtual int SockShutdown(TMxSocket ASocket, int AHow) = 0;
    // "Socket Error # <code>" CR LF and the code's message.
    virtual AnsiString ErrorText(int ACode);
    virtual int SockLastError() = 0;
    // Raise on failure.
    virtual void SockPeerName(TMxSocket ASocket, int& AFamily, AnsiString& AIP, int& APort) = 0;
    virtual void SockLocalName(TMxSocket ASocket, int& AFamily, AnsiString& AIP, int& APort) = 0;
    virtual int SockGetOption(TMxSocket ASocket, int ALevel, int AOption, void* AValue,
                              int& ALength) = 0;
    // Non-blocking mode, for a connect that waits with a time-out.
    virtual int SockSetNonBlocking(TMxSocket ASocket, bool ANonBlocking) = 0;
    virtual AnsiString AddressBytesToText(const TMxAddressBytes& ABytes);
    // EMxInvalidIPAddress for text that is not an address.
    virtual TMxAddressBytes TextToAddressBytes(const AnsiString& AText);

    // False for any result but -1. For -1: true when the code is one of
    // AIgnore, otherwise EMxSocketError.
    bool CheckSocketResult(int AResult, std::initializer_list<int> AIgnore = {});
    [[noreturn]] void RaiseLastSocketError(int ACode);
    // A socket of family AF_INET; EMxInvalidSocket when none can be made.
    TMxSocket AllocateSocket(int AType, int AProtocol);
    // "localhost" (any case) is 127.0.0.1, address text stays, other names
    // are looked up.
    AnsiString ResolveHostAddress(const AnsiString& AHost);
    bool IsAddressText(const AnsiString& AText) const;
    std::uint32_t AddressTextToNumber(const AnsiString& AText);

protected:
    // Made on first use, owned by the stack.
    TStringList& LocalAddressList();

private:
    std::unique_ptr<TStringList> FLocalAddressList;
};

// The running stack; EMxException when no mail component keeps one alive.
TMxStack& Stack();

} // namespace mail
