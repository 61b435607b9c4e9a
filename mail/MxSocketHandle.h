#pragma once
// One socket with its local and peer addresses: allocation, binding (to one
// port or the first free port of a range, highest first), connecting,
// transfer and the wait for readable data. Every call goes through the
// process-wide socket stack.
#include "mail/MxStack.h"
#include "platform/classes/Collection.h"

namespace mail {

class TMxSocketHandle : public TCollectionItem {
public:
    explicit TMxSocketHandle(TCollection* ACollection = nullptr);
    // Closes a socket still open.
    ~TMxSocketHandle() override;
    AnsiString ClassName() const override { return "TMxSocketHandle"; }

    TMxSocket Handle() const { return FHandle; }
    bool HandleAllocated() const { return FHandle != MxInvalidSocket; }
    bool SocketOpen() const { return FSocketOpen; }

    AnsiString IP; // local address; empty binds to any
    int Port = 0;  // local port; 0 lets the system choose
    AnsiString RemoteAddress;
    int RemotePort = 0;
    int ClientPortMin = 0; // local port range; 0 and 0 when none
    int ClientPortMax = 0;

    // Closes any open socket, then allocates a new AF_INET one.
    void AllocateHandle(int AType, int AProtocol);
    // Stops sending, then closes; results are ignored.
    void CloseSocketHandle();
    // Connects to RemoteAddress:RemotePort; the stack's result. Success
    // refreshes both address pairs.
    int ConnectPeer(int AFamily);
    // Reads the local and peer addresses back from the socket.
    void UpdateBindings();
    void BindLocal();
    // False when the address is in use; other failures raise.
    bool TryBindLocal();
    bool BindPortRange();
    int ReceiveBytes(void* ABuffer, int ALength);
    int SendBytes(const void* ABuffer, int ALength);
    int ReceiveFrom(void* ABuffer, int ALength, AnsiString& AIP, int& APort);
    void SetOption(int ALevel, int AOption, const void* AValue, int ALength);
    // Accepts a connection of AListener into this handle; false when the
    // listener was closed under the call.
    bool AcceptFrom(TMxSocket AListener);
    // Whether data (or the peer's close) can be read within ATimeout ms
    // (-2: no limit). EMxConnClosedGracefully without a socket.
    bool WaitReadable(int ATimeout);
    void SetPeer(const AnsiString& AIP, int APort);
    // Forgets the socket and the peer, and with AResetLocal the local side.
    void ResetHandle(bool AResetLocal = true);
    void Assign(TPersistent* Source) override;

private:
    bool CheckReadable(int ATimeout);

    TMxSocket FHandle = MxInvalidSocket;
    bool FSocketOpen = false;
};

} // namespace mail
