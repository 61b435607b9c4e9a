#include "mail/MxSocks.h"

#include "mail/MxIOHandler.h"
#include "mail/MxNetExceptions.h"
#include "mail/MxStack.h"

namespace mail {

namespace {

constexpr std::size_t MaxFieldLength = 255;

AnsiString PortBytes(int APort) {
    AnsiString bytes;
    bytes += static_cast<char>((APort >> 8) & 0xFF);
    bytes += static_cast<char>(APort & 0xFF);
    return bytes;
}

// The proxy protocols carry these fields with a one-byte length (SOCKS 5)
// or end them with a NUL (SOCKS 4): a longer field, or one with a NUL in
// it, would be cut short or run into the next field.
void CheckField(const AnsiString& AValue, const AnsiString& AWhat, bool AShowValue) {
    const AnsiString shown = AShowValue ? ": " + AValue : AnsiString();
    if (AValue.size() > MaxFieldLength)
        throw EMxSocksError("The SOCKS " + AWhat + " is longer than 255 bytes" + shown);
    if (AValue.find('\0') != AnsiString::npos)
        throw EMxSocksError("The SOCKS " + AWhat + " contains a NUL byte");
}

} // namespace

TMxSocksInfo::TMxSocksInfo(TComponent* AOwner) : TMxComponent(AOwner) {}

void TMxSocksInfo::Assign(TPersistent* Source) {
    if (auto* source = dynamic_cast<TMxSocksInfo*>(Source)) {
        Authentication = source->Authentication;
        Host = source->Host;
        Password = source->Password;
        Port = source->Port;
        Username = source->Username;
        Version = source->Version;
        return;
    }
    TMxComponent::Assign(Source);
}

void TMxSocksInfo::RunSocksHandshake(const AnsiString& AHost, int APort) {
    if (Version == TSocksVersion::svNoSocks) return;
    if (APort < 0 || APort > 65535)
        throw EMxSocksError("Invalid target port for the SOCKS server: " + std::to_string(APort));
    switch (Version) {
    case TSocksVersion::svSocks4:
        Socks4(AHost, APort, false);
        break;
    case TSocksVersion::svSocks4A:
        Socks4(AHost, APort, true);
        break;
    case TSocksVersion::svSocks5:
        Socks5(AHost, APort);
        break;
    case TSocksVersion::svNoSocks:
        break;
    }
}

void TMxSocksInfo::Socks4(const AnsiString& AHost, int APort, bool AVersion4A) {
    CheckField(Username, "user name", false);
    if (AVersion4A) CheckField(AHost, "target host name", true);

    AnsiString request;
    request += '\x04';
    request += '\x01';
    request += PortBytes(APort);
    if (AVersion4A) {
        request += AnsiString("\0\0\0\x01", 4);
    } else {
        TMxStack& stack = Stack();
        const TMxAddressBytes address = stack.TextToAddressBytes(stack.ResolveHostAddress(AHost));
        request.append(reinterpret_cast<const char*>(address.data()), address.size());
    }
    request += Username;
    request += '\0';
    if (AVersion4A) {
        request += AHost;
        request += '\0';
    }
    SendAll(request);

    const AnsiString reply = ReceiveAll(8);
    switch (static_cast<std::uint8_t>(reply[1])) {
    case 90:
        return;
    case 91:
        throw EMxSocksRequestFailed("Request rejected or failed.");
    case 92:
        throw EMxSocksRequestServerFailed("Request rejected because SOCKS server cannot connect.");
    case 93:
        throw EMxSocksRequestIdentFailed(
            "Request rejected because the client program and identd report different user-ids.");
    default:
        throw EMxSocksUnknownError("Unknown socks error.");
    }
}

void TMxSocksInfo::Socks5(const AnsiString& AHost, int APort) {
    const bool withPassword = Authentication == TSocksAuthentication::saUsernamePassword;
    if (withPassword) {
        CheckField(Username, "user name", false);
        CheckField(Password, "password", false);
    }
    CheckField(AHost, "target host name", true);

    const char method = withPassword ? '\x02' : '\x00';
    SendAll(AnsiString{'\x05', '\x01', method});
    if (ReceiveAll(2)[1] != method)
        throw EMxSocksAuthMethodError("Invalid socks authentication method.");

    if (withPassword) {
        AnsiString login;
        login += '\x01';
        login += static_cast<char>(Username.size());
        login += Username;
        login += static_cast<char>(Password.size());
        login += Password;
        SendAll(login);
        if (ReceiveAll(2)[1] != '\0')
            throw EMxSocksAuthError("Authentication error to socks server.");
    }

    AnsiString request{'\x05', '\x01', '\x00', '\x03'};
    request += static_cast<char>(AHost.size());
    request += AHost;
    request += PortBytes(APort);
    SendAll(request);

    const AnsiString reply = ReceiveAll(5);
    switch (static_cast<std::uint8_t>(reply[1])) {
    case 0:
        break;
    case 1:
        throw EMxSocksServerGeneralError("General SOCKS server failure.");
    case 2:
        throw EMxSocksServerPermissionError("Connection not allowed by ruleset.");
    case 3:
        throw EMxSocksServerNetUnreachableError("Network unreachable.");
    case 4:
        throw EMxSocksServerHostUnreachableError("Host unreachable.");
    case 5:
        throw EMxSocksServerConnectionRefusedError("Connection refused.");
    case 6:
        throw EMxSocksServerTTLExpiredError("TTL expired.");
    case 7:
        throw EMxSocksServerCommandError("Command not supported.");
    case 8:
        throw EMxSocksServerAddressError("Address type not supported.");
    default:
        throw EMxSocksUnknownError("Unknown socks error.");
    }

    // The bound address and port follow; the fifth byte was the first of
    // the address (or the name's length).
    int rest = 0;
    switch (reply[3]) {
    case 1:
        rest = 4 - 1 + 2;
        break;
    case 3:
        rest = static_cast<std::uint8_t>(reply[4]) + 2;
        break;
    case 4:
        rest = 16 - 1 + 2;
        break;
    default:
        // Without a known size the target's data could not be told apart
        // from the address.
        throw EMxSocksUnknownError("Unknown socks error.");
    }
    ReceiveAll(rest);
}

void TMxSocksInfo::SendAll(const AnsiString& ABytes) {
    std::size_t sent = 0;
    while (sent < ABytes.size()) {
        const int count =
            FIOHandler->SendBytes(ABytes.data() + sent, static_cast<int>(ABytes.size() - sent));
        if (count == 0) throw EMxSocksServerRespondError("Socks server did not respond.");
        Stack().CheckSocketResult(count);
        sent += static_cast<std::size_t>(count);
    }
}

AnsiString TMxSocksInfo::ReceiveAll(int ACount) {
    AnsiString bytes(static_cast<std::size_t>(ACount), '\0');
    int got = 0;
    try {
        while (got < ACount) {
            if (!FIOHandler->WaitReadable(ReplyTimeout)) break;
            const int count = FIOHandler->ReceiveBytes(bytes.data() + got, ACount - got);
            if (count <= 0) break;
            got += count;
        }
    } catch (const EMxException&) {
        // Fall through to the proxy's failure below.
    }
    if (got < ACount) throw EMxSocksServerRespondError("Socks server did not respond.");
    return bytes;
}

} // namespace mail
