#pragma once
// A connection that knows where to connect: host, port and the local
// binding. Connect makes a plain socket handler when none is set.
#include "mail/MxTCPConnection.h"

namespace mail {

class TMxTCPClient : public TMxTCPConnection {
public:
    explicit TMxTCPClient(TComponent* AOwner = nullptr);
    AnsiString ClassName() const override { return "TMxTCPClient"; }

    AnsiString BoundIP;
    int BoundPort = 0;
    int BoundPortMin = 0;
    int BoundPortMax = 0;
    TNotifyEvent OnConnected;

    const AnsiString& Host() const { return FHost; }
    virtual void SetHost(const AnsiString& AValue) { FHost = AValue; }
    int Port() const { return FPort; }
    virtual void SetPort(int AValue) { FPort = AValue; }

    virtual void NotifyConnected();
    // ATimeout in ms: -1 or 0 connect without a time-out of our own, -2
    // waits without limit. EMxAlreadyConnected on a connected handler; any
    // failure closes the transport and is raised again.
    virtual void Connect(int ATimeout = -1);
    // Connect, read until the peer closes, disconnect.
    virtual AnsiString ConnectReadAllDisconnect();

private:
    AnsiString FHost;
    int FPort = 0;
};

} // namespace mail
