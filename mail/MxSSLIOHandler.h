#pragma once
// The I/O handler that runs a connection through TLS. It encrypts from the
// first byte (implicit TLS), or, with the pass-through switch on, talks in
// the clear until the switch is turned off on the open connection, which
// runs the handshake there and then (STARTTLS). The server side's handler
// factory is here too; nothing in the program makes one.
#include "mail/MxIOHandler.h"
#include "mail/MxSSLContext.h"
#include "mail/MxSSLOptions.h"

#include <functional>
#include <memory>

namespace mail {

class TMxSSLSocket;
class TMxX509;
class TMxServerIOHandlerSSL;

using TCallbackEvent = std::function<void(const AnsiString& Msg)>;
using TPasswordEvent = std::function<void(AnsiString& Password)>;
using TVerifyPeerEvent = std::function<bool(TMxX509* Certificate)>;

// How long a handshake may take when nothing else is set (ms).
inline constexpr int MxDefaultHandshakeTimeout = 30000;

class TMxSSLIOHandlerSocket : public TMxIOHandlerSocket, public TMxSSLParent {
public:
    explicit TMxSSLIOHandlerSocket(TComponent* AOwner = nullptr);
    ~TMxSSLIOHandlerSocket() override;
    AnsiString ClassName() const override { return "TMxSSLIOHandlerSocket"; }

    TMxSSLOptions* SSLOptions() { return &FSSLOptions; }
    TCallbackEvent OnStatusInfo;
    TPasswordEvent OnGetPassword;
    TVerifyPeerEvent OnVerifyPeer;
    TNotifyEvent OnBeforeConnect;
    // A handshake that has not finished within this many ms fails.
    int HandshakeTimeout = MxDefaultHandshakeTimeout;

    bool BypassTls() const { return FBypassTls; }
    // Off on an open connection: the handshake runs at once on it (once
    // only); a failed handshake closes the connection and raises. On:
    // data passes in the clear from now on.
    void SetBypassTls(bool AValue);
    // The running session, or nullptr.
    TMxSSLSocket* SSLSocket() const { return FSSLSocket.get(); }

    virtual void NotifyBeforeConnect();
    void NotifyStatusInfo(const AnsiString& AMsg) override;
    void AskPassword(AnsiString& APassword) override;
    // OnVerifyPeer's answer; true when it is not assigned.
    bool VerifyPeer(TMxX509* ACertificate) override;
    virtual int ReceiveEncrypted(void* ABuffer, int ALength);
    virtual int SendEncrypted(const void* ABuffer, int ALength);
    // Starts the client session on the open socket; nothing when one runs.
    virtual void StartTls();

    void OpenTransport() override;
    void ConnectTransport(const AnsiString& AHost, int APort, int ATimeout, int ABoundPortMax,
                          int ABoundPortMin, int ABoundPort, const AnsiString& ABoundIP) override;
    void CloseTransport() override;
    // Decrypted data OpenSSL already holds counts as readable.
    bool WaitReadable(int ATimeout) override;
    int ReceiveBytes(void* ABuffer, int ALength) override;
    int SendBytes(const void* ABuffer, int ALength) override;
    // The server handshake on an accepted socket; a failure closes the
    // handler and raises.
    void OnAccepted() override;

    void CreateClientContext();

private:
    friend class TMxServerIOHandlerSSL;

    void ReleaseTls();

    TMxSSLOptions FSSLOptions;
    bool FBypassTls = false;
    bool FPeer = false; // made by a server handler, whose context it borrows
    std::unique_ptr<TMxSSLContext> FOwnedContext;
    TMxSSLContext* FContext = nullptr;
    std::unique_ptr<TMxSSLSocket> FSSLSocket;
    AnsiString FHost; // the name the server's certificate must carry
};

class TMxServerIOHandlerSSL : public TMxServerIOHandler, public TMxSSLParent {
public:
    explicit TMxServerIOHandlerSSL(TComponent* AOwner = nullptr);
    ~TMxServerIOHandlerSSL() override;
    AnsiString ClassName() const override { return "TMxServerIOHandlerSSL"; }

    TMxSSLOptions* SSLOptions() { return &FSSLOptions; }
    TCallbackEvent OnStatusInfo;
    TPasswordEvent OnGetPassword;
    TVerifyPeerEvent OnVerifyPeer;
    int HandshakeTimeout = MxDefaultHandshakeTimeout;

    // Makes the server context from the options.
    void Init() override;
    // A handler for the next connection of AListener, sharing this
    // handler's context (so it must not outlive it), its handshake still
    // to run with OnAccepted; nullptr when the listener was closed.
    TMxIOHandler* Accept(TMxSocket AListener) override;

    void NotifyStatusInfo(const AnsiString& AMsg) override;
    void AskPassword(AnsiString& APassword) override;
    bool VerifyPeer(TMxX509* ACertificate) override;

private:
    TMxSSLOptions FSSLOptions;
    std::unique_ptr<TMxSSLContext> FContext;
};

} // namespace mail
