#include "mail/MxSSLIOHandler.h"

#include "mail/MxNetExceptions.h"
#include "mail/MxSSLExceptions.h"
#include "mail/MxSSLSocket.h"
#include "mail/MxSocketHandle.h"

#include <algorithm>
#include <chrono>

namespace mail {

// ---------------------------------------------------- TMxSSLIOHandlerSocket

TMxSSLIOHandlerSocket::TMxSSLIOHandlerSocket(TComponent* AOwner) : TMxIOHandlerSocket(AOwner) {}

TMxSSLIOHandlerSocket::~TMxSSLIOHandlerSocket() {
    Destroying();
    // The session goes first, while its socket is still open.
    ReleaseTls();
}

void TMxSSLIOHandlerSocket::ReleaseTls() {
    if (FSSLSocket) {
        FSSLSocket->Shutdown();
        FSSLSocket.reset();
    }
    if (!FPeer) {
        FContext = nullptr;
        FOwnedContext.reset();
    }
}

void TMxSSLIOHandlerSocket::NotifyBeforeConnect() {
    if (OnBeforeConnect) OnBeforeConnect(this);
}

void TMxSSLIOHandlerSocket::NotifyStatusInfo(const AnsiString& AMsg) {
    if (OnStatusInfo) OnStatusInfo(AMsg);
}

void TMxSSLIOHandlerSocket::AskPassword(AnsiString& APassword) {
    if (OnGetPassword) OnGetPassword(APassword);
}

bool TMxSSLIOHandlerSocket::VerifyPeer(TMxX509* ACertificate) {
    return OnVerifyPeer ? OnVerifyPeer(ACertificate) : true;
}

void TMxSSLIOHandlerSocket::SetBypassTls(bool AValue) {
    if (!AValue && IsConnected()) {
        if (!FContext) throw EMxOSSLCouldNotLoadSSLLibrary("Could not load SSL library.");
        StartTls();
    }
    FBypassTls = AValue;
}

void TMxSSLIOHandlerSocket::CreateClientContext() {
    auto context = std::make_unique<TMxSSLContext>();
    context->Parent = this;
    context->ApplyOptions(FSSLOptions);
    context->VerifyOn = static_cast<bool>(OnVerifyPeer);
    context->StatusInfoOn = static_cast<bool>(OnStatusInfo);
    context->SetUpContext(TMxSSLContextRole::ctxClient);
    FPeer = false;
    FOwnedContext = std::move(context);
    FContext = FOwnedContext.get();
}

void TMxSSLIOHandlerSocket::StartTls() {
    if (FSSLSocket) return;
    if (!FContext) throw EMxOSSLCouldNotLoadSSLLibrary("Could not load SSL library.");
    if (!SocketBinding() || !SocketBinding()->HandleAllocated())
        throw EMxClosedSocket("Disconnected.");
    auto socket = std::make_unique<TMxSSLSocket>(this);
    try {
        socket->ConnectTls(SocketBinding()->Handle(), FContext, FHost,
                           BoundedTimeout(HandshakeTimeout));
    } catch (...) {
        // Half a handshake leaves the stream unusable in either mode:
        // nothing may go on over it, encrypted or not.
        socket.reset();
        CloseTransport();
        throw;
    }
    FSSLSocket = std::move(socket);
}

void TMxSSLIOHandlerSocket::OpenTransport() {
    ReleaseTls();
    TMxIOHandlerSocket::OpenTransport();
}

void TMxSSLIOHandlerSocket::ConnectTransport(const AnsiString& AHost, int APort, int ATimeout,
                                             int ABoundPortMax, int ABoundPortMin, int ABoundPort,
                                             const AnsiString& ABoundIP) {
    ReleaseTls();
    FHost = AHost;
    TMxIOHandlerSocket::ConnectTransport(AHost, APort, ATimeout, ABoundPortMax, ABoundPortMin,
                                         ABoundPort, ABoundIP);
    NotifyBeforeConnect();
    try {
        CreateClientContext();
    } catch (const EMxOSSLCouldNotLoadSSLLibrary&) {
        // In the clear the connection works without the library; it is
        // missed only when TLS is switched on.
        if (!FBypassTls) throw;
    }
    if (!FBypassTls) StartTls();
}

void TMxSSLIOHandlerSocket::CloseTransport() {
    ReleaseTls();
    TMxIOHandlerSocket::CloseTransport();
}

bool TMxSSLIOHandlerSocket::WaitReadable(int ATimeout) {
    if (FBypassTls || !FSSLSocket) return TMxIOHandlerSocket::WaitReadable(ATimeout);
    using clock = std::chrono::steady_clock;
    const auto deadline = clock::now() + std::chrono::milliseconds(std::max(ATimeout, 0));
    int wait = ATimeout;
    while (true) {
        if (FSSLSocket->ReadReady()) return true;
        if (!TMxIOHandlerSocket::WaitReadable(wait)) return false;
        if (!FSSLSocket) return true; // closed under the wait: the read tells
        if (ATimeout >= 0) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - clock::now());
            wait = static_cast<int>(std::max<std::chrono::milliseconds::rep>(left.count(), 0));
        }
    }
}

int TMxSSLIOHandlerSocket::ReceiveBytes(void* ABuffer, int ALength) {
    return FBypassTls ? TMxIOHandlerSocket::ReceiveBytes(ABuffer, ALength)
                      : ReceiveEncrypted(ABuffer, ALength);
}

int TMxSSLIOHandlerSocket::SendBytes(const void* ABuffer, int ALength) {
    return FBypassTls ? TMxIOHandlerSocket::SendBytes(ABuffer, ALength)
                      : SendEncrypted(ABuffer, ALength);
}

int TMxSSLIOHandlerSocket::ReceiveEncrypted(void* ABuffer, int ALength) {
    if (!FSSLSocket || !IsConnected()) throw EMxClosedSocket("Disconnected.");
    try {
        return FSSLSocket->ReadTls(ABuffer, ALength);
    } catch (...) {
        CloseTransport();
        throw;
    }
}

int TMxSSLIOHandlerSocket::SendEncrypted(const void* ABuffer, int ALength) {
    if (!FSSLSocket || !IsConnected()) throw EMxClosedSocket("Disconnected.");
    try {
        return FSSLSocket->WriteTls(ABuffer, ALength);
    } catch (...) {
        CloseTransport();
        throw;
    }
}

void TMxSSLIOHandlerSocket::OnAccepted() {
    try {
        if (!FSSLSocket) FSSLSocket = std::make_unique<TMxSSLSocket>(this);
        if (!SocketBinding()) throw EMxClosedSocket("Disconnected.");
        FSSLSocket->AcceptTls(SocketBinding()->Handle(), FContext, HandshakeTimeout);
    } catch (...) {
        CloseTransport();
        throw;
    }
}

// ---------------------------------------------------- TMxServerIOHandlerSSL

TMxServerIOHandlerSSL::TMxServerIOHandlerSSL(TComponent* AOwner) : TMxServerIOHandler(AOwner) {}

TMxServerIOHandlerSSL::~TMxServerIOHandlerSSL() = default;

void TMxServerIOHandlerSSL::Init() {
    auto context = std::make_unique<TMxSSLContext>();
    context->Parent = this;
    context->ApplyOptions(FSSLOptions);
    context->VerifyOn = static_cast<bool>(OnVerifyPeer);
    context->StatusInfoOn = static_cast<bool>(OnStatusInfo);
    context->SetUpContext(TMxSSLContextRole::ctxServer);
    FContext = std::move(context);
}

TMxIOHandler* TMxServerIOHandlerSSL::Accept(TMxSocket AListener) {
    if (!FContext) Init();
    auto peer = std::make_unique<TMxSSLIOHandlerSocket>(nullptr);
    peer->FPeer = true;
    peer->OpenTransport();
    if (!peer->SocketBinding()->AcceptFrom(AListener)) return nullptr;
    peer->FSSLOptions.Assign(&FSSLOptions);
    peer->OnStatusInfo = OnStatusInfo;
    peer->OnGetPassword = OnGetPassword;
    peer->OnVerifyPeer = OnVerifyPeer;
    peer->HandshakeTimeout = HandshakeTimeout;
    peer->FContext = FContext.get();
    peer->FSSLSocket = std::make_unique<TMxSSLSocket>(peer.get());
    return peer.release();
}

void TMxServerIOHandlerSSL::NotifyStatusInfo(const AnsiString& AMsg) {
    if (OnStatusInfo) OnStatusInfo(AMsg);
}

void TMxServerIOHandlerSSL::AskPassword(AnsiString& APassword) {
    if (OnGetPassword) OnGetPassword(APassword);
}

bool TMxServerIOHandlerSSL::VerifyPeer(TMxX509* ACertificate) {
    return OnVerifyPeer ? OnVerifyPeer(ACertificate) : true;
}

} // namespace mail
