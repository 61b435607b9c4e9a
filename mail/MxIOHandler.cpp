#include "mail/MxIOHandler.h"

#include "mail/MxAntiFreeze.h"
#include "mail/MxNetExceptions.h"
#include "mail/MxSocketHandle.h"
#include "mail/MxSocks.h"

#include <algorithm>

namespace mail {

namespace {
// How long a connect waits between turns of the anti-freeze component.
constexpr int ConnectSlice = 125;
// The connect time-out used when only the anti-freeze component asks for
// a timed connect.
constexpr int AntiFreezeConnectTimeout = 120000;
} // namespace

// ------------------------------------------------------------- TMxIOHandler

TMxIOHandler::TMxIOHandler(TComponent* AOwner) : TMxComponent(AOwner) {}

int TMxIOHandler::BoundedTimeout(int ATimeout) const {
    if (!FDeadline) return ATimeout;
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(*FDeadline - std::chrono::steady_clock::now())
            .count();
    const int remaining = static_cast<int>(std::clamp<decltype(left)>(left, 0, 1 << 30));
    return ATimeout < 0 ? remaining : std::min(ATimeout, remaining);
}

TMxIOHandler::~TMxIOHandler() {
    FTransportActive = false;
}

void TMxIOHandler::CloseTransport() {
    FTransportActive = false;
}

void TMxIOHandler::ConnectTransport(const AnsiString&, int, int, int, int, int, const AnsiString&) {
}

bool TMxIOHandler::IsConnected() {
    return FTransportActive;
}

void TMxIOHandler::OpenTransport() {
    FTransportActive = true;
}

// ------------------------------------------------------- TMxIOHandlerSocket

TMxIOHandlerSocket::TMxIOHandlerSocket(TComponent* AOwner) : TMxIOHandler(AOwner) {}

TMxIOHandlerSocket::~TMxIOHandlerSocket() {
    Destroying();
    try {
        TMxIOHandlerSocket::CloseTransport();
    } catch (...) {
        // Closing ignores the socket's results; nothing to report here.
    }
    ReleaseSocksInfo();
    FSocketBinding.reset();
}

void TMxIOHandlerSocket::OpenTransport() {
    TMxIOHandler::OpenTransport();
    if (FSocketBinding) {
        FSocketBinding->ResetHandle(true);
    } else {
        FSocketBinding = std::make_unique<TMxSocketHandle>();
    }
}

void TMxIOHandlerSocket::CloseTransport() {
    TMxIOHandler::CloseTransport();
    if (FSocketBinding) FSocketBinding->CloseSocketHandle();
}

bool TMxIOHandlerSocket::IsConnected() {
    return FSocketBinding && FSocketBinding->SocketOpen();
}

bool TMxIOHandlerSocket::WaitReadable(int ATimeout) {
    if (!FSocketBinding) throw EMxConnClosedGracefully("Connection Closed Gracefully.");
    return FSocketBinding->WaitReadable(BoundedTimeout(ATimeout));
}

int TMxIOHandlerSocket::ReceiveBytes(void* ABuffer, int ALength) {
    if (!IsConnected()) throw EMxClosedSocket("Disconnected.");
    return FSocketBinding->ReceiveBytes(ABuffer, ALength);
}

int TMxIOHandlerSocket::SendBytes(const void* ABuffer, int ALength) {
    if (!IsConnected()) throw EMxClosedSocket("Disconnected.");
    return FSocketBinding->SendBytes(ABuffer, ALength);
}

void TMxIOHandlerSocket::SetUseNagle(bool AValue) {
    if (AValue == FUseNagle) return;
    FUseNagle = AValue;
    ApplyNagle();
}

void TMxIOHandlerSocket::ApplyNagle() {
    if (!FSocketBinding || !FSocketBinding->HandleAllocated()) return;
    const std::int32_t noDelay = FUseNagle ? 0 : 1;
    FSocketBinding->SetOption(MxIpProtoTcp, MxTcpNoDelay, &noDelay, sizeof noDelay);
}

TMxSocksInfo* TMxIOHandlerSocket::SocksInfo() {
    if (!FSocksInfo) {
        FOwnedSocksInfo = std::make_unique<TMxSocksInfo>();
        FSocksInfo = FOwnedSocksInfo.get();
        FSocksInfo->SetIOHandler(this);
    }
    return FSocksInfo;
}

void TMxIOHandlerSocket::ReleaseSocksInfo() {
    if (FSocksInfo && FSocksInfo != FOwnedSocksInfo.get()) {
        FSocksInfo->RemoveFreeNotification(this);
        if (FSocksInfo->IOHandler() == this) FSocksInfo->SetIOHandler(nullptr);
    }
    FSocksInfo = nullptr;
    FOwnedSocksInfo.reset();
}

void TMxIOHandlerSocket::SetSocksInfo(TMxSocksInfo* AValue) {
    if (AValue == FSocksInfo) return;
    if (AValue && AValue->Owner()) {
        ReleaseSocksInfo();
        FSocksInfo = AValue;
        FSocksInfo->FreeNotification(this);
    } else if (AValue) {
        if (!FOwnedSocksInfo) {
            ReleaseSocksInfo();
            FOwnedSocksInfo = std::make_unique<TMxSocksInfo>();
            FSocksInfo = FOwnedSocksInfo.get();
        }
        FSocksInfo->Assign(AValue);
    } else {
        ReleaseSocksInfo();
        return;
    }
    FSocksInfo->SetIOHandler(this);
}

void TMxIOHandlerSocket::Notification(TComponent* AComponent, TOperation Operation) {
    TMxIOHandler::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FSocksInfo && !FOwnedSocksInfo) FSocksInfo = nullptr;
}

void TMxIOHandlerSocket::ConnectTransport(const AnsiString& AHost, int APort, int ATimeout,
                                          int ABoundPortMax, int ABoundPortMin, int ABoundPort,
                                          const AnsiString& ABoundIP) {
    TMxSocksInfo* socks = SocksInfo();
    const bool viaProxy = socks->Version != TSocksVersion::svNoSocks;
    const AnsiString host = viaProxy ? socks->Host : AHost;
    const int port = viaProxy ? socks->Port : APort;

    TMxIOHandler::ConnectTransport(AHost, APort, ATimeout, ABoundPortMax, ABoundPortMin, ABoundPort,
                                   ABoundIP);
    if (!FSocketBinding) FSocketBinding = std::make_unique<TMxSocketHandle>();
    FSocketBinding->AllocateHandle(MxSockStream, 0);
    FSocketBinding->IP = ABoundIP;
    FSocketBinding->Port = ABoundPort;
    FSocketBinding->ClientPortMin = ABoundPortMin;
    FSocketBinding->ClientPortMax = ABoundPortMax;
    FSocketBinding->BindLocal();

    TMxStack& stack = Stack();
    if (!stack.IsAddressText(host)) ReportStatus(TMxStatus::stResolving, host);
    FSocketBinding->SetPeer(stack.ResolveHostAddress(host), port);
    ApplyNagle();
    ReportStatus(TMxStatus::stConnecting, FSocketBinding->RemoteAddress);

    if (FDeadline) {
        TimedConnect(BoundedTimeout(ATimeout > 0 ? ATimeout : MxTimeoutInfinite));
    } else if (ATimeout != MxTimeoutDefault && ATimeout != 0) {
        TimedConnect(ATimeout);
    } else if (TMxAntiFreezeBase::ShouldProcess()) {
        TimedConnect(AntiFreezeConnectTimeout);
    } else {
        stack.CheckSocketResult(FSocketBinding->ConnectPeer(MxAfInet));
    }
    // Settings shared by several handlers talk through the one connecting
    // now, never through another (or a freed) handler that set them last.
    socks->SetIOHandler(this);
    socks->RunSocksHandshake(AHost, APort);
}

bool TMxIOHandlerSocket::WaitConnected(int ATimeout) {
    TMxStack& stack = Stack();
    auto writable = [&](int AWait) {
        std::unique_ptr<TMxSocketList> list = CreateSocketList();
        list->AddSocket(FSocketBinding->Handle());
        const int ready = stack.SockSelect(nullptr, list.get(), nullptr, AWait);
        stack.CheckSocketResult(ready);
        return ready == 1;
    };
    if (!TMxAntiFreezeBase::ShouldProcess()) return writable(ATimeout);

    // Let the user interface have its turn between slices.
    const int slice = std::min(TMxAntiFreezeBase::Instance()->IdleTimeOut, ConnectSlice);
    int remaining = ATimeout;
    while (true) {
        const int wait = ATimeout == MxTimeoutInfinite ? slice : std::min(slice, remaining);
        if (writable(wait)) return true;
        // Waiting on the connect is idle time, so an OnlyWhenIdle
        // component runs here too.
        TMxAntiFreezeBase::ProcessIfDue(true);
        if (ATimeout != MxTimeoutInfinite) {
            remaining -= wait;
            if (remaining <= 0) return false;
        }
    }
}

void TMxIOHandlerSocket::TimedConnect(int ATimeout) {
    TMxStack& stack = Stack();
    const TMxSocket handle = FSocketBinding->Handle();
    try {
        // A non-blocking connect and a wait for the socket to become
        // writable: the caller never waits longer than the time-out, and
        // no second thread touches the socket.
        stack.CheckSocketResult(stack.SockSetNonBlocking(handle, true));
        const int result = stack.SockConnect(handle, MxAfInet, FSocketBinding->RemoteAddress,
                                             FSocketBinding->RemotePort);
        if (result == MxSocketError) {
            const int code = stack.SockLastError();
            if (code != WSAEINPROGRESS && code != WSAEWOULDBLOCK) stack.RaiseLastSocketError(code);
            if (!WaitConnected(ATimeout)) {
                CloseTransport();
                throw EMxConnectTimeout("Connect timed out.");
            }
            std::int32_t pending = 0;
            int length = sizeof pending;
            stack.CheckSocketResult(
                stack.SockGetOption(handle, MxSolSocket, MxSoError, &pending, length));
            if (pending != 0) stack.RaiseLastSocketError(pending);
        }
        stack.CheckSocketResult(stack.SockSetNonBlocking(handle, false));
        FSocketBinding->UpdateBindings();
    } catch (const EMxSocketError&) {
        throw;
    } catch (const EMxConnectTimeout&) {
        throw;
    } catch (const Exception& e) {
        throw EMxConnectException(e.Message);
    }
}

// ------------------------------------------------------- TMxServerIOHandler

TMxIOHandler* TMxServerIOHandler::Accept(TMxSocket) {
    return nullptr;
}

} // namespace mail
