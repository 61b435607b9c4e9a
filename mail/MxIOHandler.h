#pragma once
// The transport a connection talks through. TMxIOHandler is the abstract
// handler; TMxIOHandlerSocket moves plain bytes over one socket and makes
// the connection (local binding, name look-up, Nagle setting, a connect
// with a time-out, and the SOCKS handshake when a proxy is set). The TLS
// handler derives from TMxIOHandlerSocket and overrides the transfer calls.
#include "mail/MxComponent.h"
#include "mail/MxStack.h"

#include <chrono>
#include <memory>
#include <optional>

namespace mail {

class TMxSocketHandle;
class TMxSocksInfo;

class TMxIOHandler : public TMxComponent {
public:
    explicit TMxIOHandler(TComponent* AOwner = nullptr);
    ~TMxIOHandler() override;
    AnsiString ClassName() const override { return "TMxIOHandler"; }

    bool TransportActive() const { return FTransportActive; }

    // A server handed the handler an accepted socket.
    virtual void OnAccepted() {}
    virtual void CloseTransport();
    virtual void ConnectTransport(const AnsiString& AHost, int APort, int ATimeout,
                                  int ABoundPortMax, int ABoundPortMin, int ABoundPort,
                                  const AnsiString& ABoundIP);
    virtual bool IsConnected();
    virtual void OpenTransport();
    // Whether data (or the peer's close) can be read within ATimeout ms.
    virtual bool WaitReadable(int ATimeout) = 0;
    // Byte counts as the socket calls give them: 0 the peer closed, -1 a
    // failure whose code the stack's SockLastError holds.
    virtual int ReceiveBytes(void* ABuffer, int ALength) = 0;
    virtual int SendBytes(const void* ABuffer, int ALength) = 0;

    // One bound over every wait of the handler (the connect, each read,
    // the TLS handshake), so that a whole phase of a conversation, such
    // as connecting, the greeting and EHLO, has one time-out instead of
    // one per step. Lifted by ClearDeadline.
    void SetDeadline(std::chrono::steady_clock::time_point ADeadline) { FDeadline = ADeadline; }
    void ClearDeadline() { FDeadline.reset(); }
    // A wait of ATimeout ms (negative: no limit of its own) cut to what is
    // left before the deadline; 0 once it has passed.
    int BoundedTimeout(int ATimeout) const;

protected:
    bool FTransportActive = false;
    std::optional<std::chrono::steady_clock::time_point> FDeadline;
};

class TMxIOHandlerSocket : public TMxIOHandler {
public:
    explicit TMxIOHandlerSocket(TComponent* AOwner = nullptr);
    ~TMxIOHandlerSocket() override;
    AnsiString ClassName() const override { return "TMxIOHandlerSocket"; }

    // Made by the first OpenTransport, owned by the handler.
    TMxSocketHandle* SocketBinding() const { return FSocketBinding.get(); }

    bool UseNagle() const { return FUseNagle; }
    // A change is applied at once to an open socket.
    void SetUseNagle(bool AValue);

    // The proxy settings; made on first read when none is set.
    TMxSocksInfo* SocksInfo();
    // Settings with an owner component are referenced; settings without
    // one are copied into the handler's own instance.
    void SetSocksInfo(TMxSocksInfo* AValue);

    void OpenTransport() override;
    void CloseTransport() override;
    bool IsConnected() override;
    bool WaitReadable(int ATimeout) override;
    int ReceiveBytes(void* ABuffer, int ALength) override;
    int SendBytes(const void* ABuffer, int ALength) override;
    void ConnectTransport(const AnsiString& AHost, int APort, int ATimeout, int ABoundPortMax,
                          int ABoundPortMin, int ABoundPort, const AnsiString& ABoundIP) override;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void ApplyNagle();
    // Connects without blocking for longer than ATimeout ms (-2: no
    // limit). EMxConnectTimeout "Connect timed out." on expiry, with the
    // transport closed.
    void TimedConnect(int ATimeout);

private:
    bool WaitConnected(int ATimeout);
    void ReleaseSocksInfo();

    std::unique_ptr<TMxSocketHandle> FSocketBinding;
    bool FUseNagle = true;
    TMxSocksInfo* FSocksInfo = nullptr;
    std::unique_ptr<TMxSocksInfo> FOwnedSocksInfo;
};

// The server side's handler factory; nothing here makes one.
class TMxServerIOHandler : public TMxComponent {
public:
    explicit TMxServerIOHandler(TComponent* AOwner = nullptr) : TMxComponent(AOwner) {}
    AnsiString ClassName() const override { return "TMxServerIOHandler"; }

    virtual void Init() {}
    // A handler for a connection accepted on AListener; none here.
    virtual TMxIOHandler* Accept(TMxSocket AListener);
};

} // namespace mail
