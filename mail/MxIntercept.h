#pragma once
// A filter between a connection and its transport: it sees, and may
// change, every block the connection sends or receives, and hears of the
// connect and the disconnect. Intercepts form a chain through Intercept.
#include "mail/MxComponent.h"

#include <functional>

class TStream;

namespace mail {

using TMxInterceptNotifyEvent = std::function<void(TObject* ASender)>;
using TMxInterceptStreamEvent = std::function<void(TObject* ASender, TStream* AStream)>;

class TMxConnectionIntercept : public TMxBaseComponent {
public:
    explicit TMxConnectionIntercept(TComponent* AOwner = nullptr);
    ~TMxConnectionIntercept() override;
    AnsiString ClassName() const override { return "TMxConnectionIntercept"; }

    TComponent* Connection() const { return FConnection; }
    TMxConnectionIntercept* Intercept() const { return FIntercept; }
    // The next intercept of the chain; EMxInterceptCircularLink when the
    // chain from AValue leads back here.
    void SetIntercept(TMxConnectionIntercept* AValue);

    bool IsClient = true;
    TMxInterceptNotifyEvent OnConnect;
    TMxInterceptNotifyEvent OnDisconnect;
    TMxInterceptStreamEvent OnReceive;
    TMxInterceptStreamEvent OnSend;

    virtual void ChainConnect(TComponent* AConnection);
    virtual void ChainDisconnect();
    virtual void ChainReceive(TStream* ABuffer);
    virtual void ChainSend(TStream* ABuffer);
    // Remembers the connection, fires OnConnect, then the chain.
    virtual void InterceptConnect(TComponent* AConnection);
    // The chain, OnDisconnect, then forgets the connection.
    virtual void InterceptDisconnect();
    // The chain first, then OnReceive; ABuffer is left at position 0.
    virtual void InterceptReceive(TStream* ABuffer);
    // OnSend and a rewind first, then the chain.
    virtual void InterceptSend(TStream* ABuffer);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TComponent* FConnection = nullptr;
    TMxConnectionIntercept* FIntercept = nullptr;
};

} // namespace mail
