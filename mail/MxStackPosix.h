#pragma once
// The socket stack over the POSIX socket API. System errors become the
// Winsock codes the transport's messages are written for (ECONNREFUSED is
// 10061 "Connection refused.", a name that does not resolve 11001 "Host not
// found.", ...). Sockets are made close-on-exec, sends never raise SIGPIPE,
// and the first stack makes the process ignore SIGPIPE, so a peer that
// closes mid-write is an error code and never ends the program.
#include "mail/MxStack.h"

namespace mail {

// The Winsock code for an errno value; values without one pass unchanged.
int WinsockCodeOfErrno(int AErrno);
// The Winsock code for a getaddrinfo/getnameinfo result (EAI_SYSTEM reads
// AErrno).
int WinsockCodeOfResolverError(int AResult, int AErrno);

class TMxStackPosix : public TMxStack {
public:
    TMxStackPosix();
    AnsiString ClassName() const override { return "TMxStackPosix"; }

    void RefreshLocalAddresses() override;
    TMxSocket SockAccept(TMxSocket ASocket, AnsiString& AIP, int& APort) override;
    int SockBind(TMxSocket ASocket, int AFamily, const AnsiString& AIP, int APort) override;
    int SockClose(TMxSocket ASocket) override;
    int SockConnect(TMxSocket ASocket, int AFamily, const AnsiString& AIP, int APort) override;
    AnsiString SockHostByName(const AnsiString& AHostName) override;
    AnsiString SockHostName() override;
    AnsiString SockHostByAddress(const AnsiString& AAddress) override;
    int SockServiceByName(const AnsiString& AServiceName) override;
    std::unique_ptr<TStringList> SockServiceByPort(int APort) override;
    std::uint16_t SockHostToNetShort(std::uint16_t AValue) override;
    std::uint16_t SockNetToHostShort(std::uint16_t AValue) override;
    std::uint32_t SockHostToNetLong(std::uint32_t AValue) override;
    std::uint32_t SockNetToHostLong(std::uint32_t AValue) override;
    int SockListen(TMxSocket ASocket, int ABacklog) override;
    int SockRecv(TMxSocket ASocket, void* ABuffer, int ALength, int AFlags) override;
    int SockRecvFrom(TMxSocket ASocket, void* ABuffer, int ALength, int AFlags, AnsiString& AIP,
                     int& APort) override;
    int SockSelect(TMxSocketList* ARead, TMxSocketList* AWrite, TMxSocketList* AError,
                   int ATimeout) override;
    int SockSend(TMxSocket ASocket, const void* ABuffer, int ALength, int AFlags) override;
    int SockSendTo(TMxSocket ASocket, const void* ABuffer, int ALength, int AFlags,
                   const AnsiString& AIP, int APort) override;
    int SockSetOption(TMxSocket ASocket, int ALevel, int AOption, const void* AValue,
                      int ALength) override;
    TMxSocket SockCreate(int AFamily, int AType, int AProtocol) override;
    int SockShutdown(TMxSocket ASocket, int AHow) override;
    // Adds 11001 "Host not found." and the system's own text for the
    // errno values that have no Winsock code.
    AnsiString ErrorText(int ACode) override;
    int SockLastError() override;
    void SockPeerName(TMxSocket ASocket, int& AFamily, AnsiString& AIP, int& APort) override;
    void SockLocalName(TMxSocket ASocket, int& AFamily, AnsiString& AIP, int& APort) override;
    int SockGetOption(TMxSocket ASocket, int ALevel, int AOption, void* AValue,
                      int& ALength) override;
    int SockSetNonBlocking(TMxSocket ASocket, bool ANonBlocking) override;
};

std::shared_ptr<TMxStack> CreateStackPosix();

} // namespace mail
