#pragma once
// The settings of an optional SOCKS proxy and the handshake that asks it to
// connect on to the target: SOCKS 4, 4A, or 5 with no authentication or a
// user name and password. The handler opens its TCP connection to the proxy
// and then hands over to RunSocksHandshake.
#include "mail/MxComponent.h"

#include <cstdint>

namespace mail {

class TMxIOHandler;

enum class TSocksVersion : std::uint8_t { svNoSocks, svSocks4, svSocks4A, svSocks5 };
enum class TSocksAuthentication : std::uint8_t { saNoAuthentication, saUsernamePassword };

class TMxSocksInfo : public TMxComponent {
public:
    explicit TMxSocksInfo(TComponent* AOwner = nullptr);
    AnsiString ClassName() const override { return "TMxSocksInfo"; }

    TSocksAuthentication Authentication = TSocksAuthentication::saNoAuthentication;
    AnsiString Host;
    AnsiString Password;
    int Port = 1080;
    AnsiString Username;
    TSocksVersion Version = TSocksVersion::svNoSocks;

    // Copies the six settings from another TMxSocksInfo.
    void Assign(TPersistent* Source) override;

    TMxIOHandler* IOHandler() const { return FIOHandler; }
    void SetIOHandler(TMxIOHandler* AValue) { FIOHandler = AValue; }

    // Asks the proxy to connect to AHost:APort; nothing for svNoSocks.
    void RunSocksHandshake(const AnsiString& AHost, int APort);

    // How long a proxy may keep us waiting for each reply (ms).
    int ReplyTimeout = 120000;

private:
    void Socks4(const AnsiString& AHost, int APort, bool AVersion4A);
    void Socks5(const AnsiString& AHost, int APort);
    void SendAll(const AnsiString& ABytes);
    // Exactly ACount bytes; EMxSocksServerRespondError when the proxy
    // closes, fails or stays silent for ReplyTimeout.
    AnsiString ReceiveAll(int ACount);

    TMxIOHandler* FIOHandler = nullptr;
};

} // namespace mail
