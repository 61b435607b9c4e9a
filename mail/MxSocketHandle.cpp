#include "mail/MxSocketHandle.h"

#include "mail/MxAntiFreeze.h"
#include "mail/MxNetExceptions.h"

namespace mail {

TMxSocketHandle::TMxSocketHandle(TCollection* ACollection) : TCollectionItem(ACollection) {}

TMxSocketHandle::~TMxSocketHandle() {
    try {
        CloseSocketHandle();
    } catch (...) {
        // A destructor must not throw; the descriptor is released anyway.
    }
}

void TMxSocketHandle::AllocateHandle(int AType, int AProtocol) {
    if (HandleAllocated()) {
        CloseSocketHandle();
        ResetHandle();
    }
    FHandle = Stack().AllocateSocket(AType, AProtocol);
    FSocketOpen = true;
}

void TMxSocketHandle::CloseSocketHandle() {
    if (!HandleAllocated()) return;
    FSocketOpen = false;
    const TMxSocket handle = FHandle;
    // Forget the number first: once closed, the system may hand it out again.
    FHandle = MxInvalidSocket;
    TMxStack& stack = Stack();
    stack.SockShutdown(handle, MxShutdownSend);
    stack.SockClose(handle);
}

int TMxSocketHandle::ConnectPeer(int AFamily) {
    const int result = Stack().SockConnect(FHandle, AFamily, RemoteAddress, RemotePort);
    if (result != MxSocketError) UpdateBindings();
    return result;
}

void TMxSocketHandle::UpdateBindings() {
    int family = 0;
    Stack().SockLocalName(FHandle, family, IP, Port);
    Stack().SockPeerName(FHandle, family, RemoteAddress, RemotePort);
}

void TMxSocketHandle::BindLocal() {
    if (Port != 0 || ClientPortMin == 0 || ClientPortMax == 0) {
        if (!TryBindLocal())
            throw EMxCouldNotBindSocket(
                "Could not bind socket. Address and port are already in use.");
        return;
    }
    const AnsiString range =
        "(" + std::to_string(ClientPortMin) + " - " + std::to_string(ClientPortMax) + ")";
    if (ClientPortMax < ClientPortMin) throw EMxInvalidPortRange("Invalid Port Range " + range);
    if (!BindPortRange()) throw EMxCanNotBindPortInRange("Can not bind in port range " + range);
}

bool TMxSocketHandle::TryBindLocal() {
    TMxStack& stack = Stack();
    if (stack.CheckSocketResult(stack.SockBind(FHandle, MxAfInet, IP, Port), {WSAEADDRINUSE}))
        return false;
    int family = 0;
    stack.SockLocalName(FHandle, family, IP, Port);
    return true;
}

bool TMxSocketHandle::BindPortRange() {
    const int wanted = Port;
    for (int port = ClientPortMax; port >= ClientPortMin; --port) {
        Port = port;
        if (TryBindLocal()) return true;
    }
    Port = wanted;
    return false;
}

int TMxSocketHandle::ReceiveBytes(void* ABuffer, int ALength) {
    return Stack().SockRecv(FHandle, ABuffer, ALength, 0);
}

int TMxSocketHandle::SendBytes(const void* ABuffer, int ALength) {
    return Stack().SockSend(FHandle, ABuffer, ALength, 0);
}

int TMxSocketHandle::ReceiveFrom(void* ABuffer, int ALength, AnsiString& AIP, int& APort) {
    return Stack().SockRecvFrom(FHandle, ABuffer, ALength, 0, AIP, APort);
}

void TMxSocketHandle::SetOption(int ALevel, int AOption, const void* AValue, int ALength) {
    TMxStack& stack = Stack();
    stack.CheckSocketResult(stack.SockSetOption(FHandle, ALevel, AOption, AValue, ALength));
}

bool TMxSocketHandle::AcceptFrom(TMxSocket AListener) {
    ResetHandle();
    TMxStack& stack = Stack();
    AnsiString ip;
    int port = 0;
    const TMxSocket accepted = stack.SockAccept(AListener, ip, port);
    // A listener closed before or under the call: POSIX reports the closed
    // descriptor as EBADF where Winsock says "not a socket".
    if (stack.CheckSocketResult(accepted, {WSAEINTR, WSAEBADF, WSAENOTSOCK})) return false;
    FHandle = accepted;
    FSocketOpen = true;
    UpdateBindings();
    return true;
}

bool TMxSocketHandle::WaitReadable(int ATimeout) {
    if (TMxAntiFreezeBase::ShouldProcess()) {
        const int idle = TMxAntiFreezeBase::Instance()->IdleTimeOut;
        if (ATimeout == MxTimeoutInfinite) {
            while (!CheckReadable(idle)) {
            }
            return true;
        }
        if (ATimeout > idle) {
            if (CheckReadable(ATimeout - idle)) return true;
            ATimeout = idle;
        }
    }
    return CheckReadable(ATimeout);
}

bool TMxSocketHandle::CheckReadable(int ATimeout) {
    if (!HandleAllocated()) throw EMxConnClosedGracefully("Connection Closed Gracefully.");
    std::unique_ptr<TMxSocketList> list = CreateSocketList();
    list->AddSocket(FHandle);
    const bool readable = Stack().SockSelect(list.get(), nullptr, nullptr, ATimeout) == 1;
    TMxAntiFreezeBase::ProcessIfDue(!readable);
    return readable;
}

void TMxSocketHandle::SetPeer(const AnsiString& AIP, int APort) {
    RemoteAddress = AIP;
    RemotePort = APort;
}

void TMxSocketHandle::ResetHandle(bool AResetLocal) {
    // Never drop an open descriptor on the floor.
    CloseSocketHandle();
    FHandle = MxInvalidSocket;
    FSocketOpen = false;
    RemoteAddress.clear();
    RemotePort = 0;
    if (AResetLocal) {
        IP.clear();
        Port = 0;
    }
}

void TMxSocketHandle::Assign(TPersistent* Source) {
    if (auto* source = dynamic_cast<TMxSocketHandle*>(Source)) {
        IP = source->IP;
        Port = source->Port;
        RemoteAddress = source->RemoteAddress;
        RemotePort = source->RemotePort;
        return;
    }
    TCollectionItem::Assign(Source);
}

} // namespace mail
