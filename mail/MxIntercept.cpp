#include "mail/MxIntercept.h"

#include "mail/MxNetExceptions.h"
#include "platform/rtl/Streams.h"

namespace mail {

TMxConnectionIntercept::TMxConnectionIntercept(TComponent* AOwner) : TMxBaseComponent(AOwner) {}

TMxConnectionIntercept::~TMxConnectionIntercept() {
    Destroying();
}

void TMxConnectionIntercept::SetIntercept(TMxConnectionIntercept* AValue) {
    for (TMxConnectionIntercept* next = AValue; next; next = next->FIntercept) {
        if (next == this)
            throw EMxInterceptCircularLink(ClassName() + ": Circular links are not allowed");
    }
    if (FIntercept) FIntercept->RemoveFreeNotification(this);
    FIntercept = AValue;
    if (FIntercept) FIntercept->FreeNotification(this);
}

void TMxConnectionIntercept::Notification(TComponent* AComponent, TOperation Operation) {
    TMxBaseComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FIntercept) FIntercept = nullptr;
    if (Operation == opRemove && AComponent == FConnection) FConnection = nullptr;
}

void TMxConnectionIntercept::ChainConnect(TComponent* AConnection) {
    if (FIntercept) FIntercept->InterceptConnect(AConnection);
}

void TMxConnectionIntercept::ChainDisconnect() {
    if (FIntercept) FIntercept->InterceptDisconnect();
}

void TMxConnectionIntercept::ChainReceive(TStream* ABuffer) {
    if (FIntercept) FIntercept->InterceptReceive(ABuffer);
}

void TMxConnectionIntercept::ChainSend(TStream* ABuffer) {
    if (FIntercept) FIntercept->InterceptSend(ABuffer);
}

void TMxConnectionIntercept::InterceptConnect(TComponent* AConnection) {
    FConnection = AConnection;
    // A connection freed without a disconnect must not stay remembered.
    // The link is left in place on disconnect: removing it would also
    // remove the connection's own link to this intercept.
    if (FConnection) FConnection->FreeNotification(this);
    if (OnConnect) OnConnect(this);
    ChainConnect(AConnection);
}

void TMxConnectionIntercept::InterceptDisconnect() {
    ChainDisconnect();
    if (OnDisconnect) OnDisconnect(this);
    FConnection = nullptr;
}

void TMxConnectionIntercept::InterceptReceive(TStream* ABuffer) {
    ChainReceive(ABuffer);
    if (OnReceive) OnReceive(this, ABuffer);
    ABuffer->SetPosition(0);
}

void TMxConnectionIntercept::InterceptSend(TStream* ABuffer) {
    if (OnSend) OnSend(this, ABuffer);
    ABuffer->SetPosition(0);
    ChainSend(ABuffer);
}

} // namespace mail
