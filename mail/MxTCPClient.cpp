#include "mail/MxTCPClient.h"

#include "mail/MxIOHandler.h"
#include "mail/MxIntercept.h"
#include "mail/MxNetExceptions.h"

namespace mail {

TMxTCPClient::TMxTCPClient(TComponent* AOwner) : TMxTCPConnection(AOwner) {}

void TMxTCPClient::NotifyConnected() {
    if (OnConnected) OnConnected(this);
}

void TMxTCPClient::Connect(int ATimeout) {
    if (!IOHandler()) {
        auto* handler = new TMxIOHandlerSocket(this);
        SetIOHandler(handler);
        handler->OnStatus = OnStatus;
        SetOwnsIOHandler(true);
    } else if (IOHandler()->IsConnected()) {
        throw EMxAlreadyConnected("Already connected.");
    }
    try {
        TMxIOHandler* handler = IOHandler();
        handler->OpenTransport();
        ResetConnectionState();
        handler->ConnectTransport(FHost, FPort, ATimeout, BoundPortMax, BoundPortMin, BoundPort,
                                  BoundIP);
        if (Intercept()) Intercept()->InterceptConnect(this);
        ReportStatus(TMxStatus::stConnected, FHost);
        NotifyConnected();
    } catch (...) {
        DisconnectTransport();
        throw;
    }
}

AnsiString TMxTCPClient::ConnectReadAllDisconnect() {
    Connect(-1);
    AnsiString data;
    try {
        data = ReadAllData();
    } catch (...) {
        Disconnect();
        throw;
    }
    Disconnect();
    return data;
}

} // namespace mail
