#pragma once
// The SMTP client, the message and the TLS handler the alert e-mails go
// through, set up as the main window's form has them: the settings the
// operator typed, the transport the encryption choice asks for (plain, TLS
// from the first byte, or STARTTLS), the connect phase and one message per
// recipient.
#include "platform/rtl/AnsiString.h"
#include "platform/rtl/Exceptions.h"

#include <memory>
#include <vector>

namespace mail {
class TMxIOHandlerSocket;
class TMxMessage;
class TMxSMTP;
class TMxSSLIOHandlerSocket;
} // namespace mail

// The SMTP settings as the window's controls hold them, untrimmed.
struct SmtpControlValues {
    AnsiString Server;
    AnsiString Port;
    AnsiString Account;
    AnsiString Password;
    // 0 "None", 1 "SSL" (TLS from the start), 2 "SSL/TLS" (STARTTLS), -1
    // nothing chosen.
    int Encryption = 0;
};

// The settings a connection cannot do without that are blank: "server",
// "port", "account name", in that order; empty when all are there.
std::vector<AnsiString> MissingSmtpSettings(const SmtpControlValues& Values);

// The server refused one message (a 4xx or 5xx reply to MAIL FROM, RCPT
// TO or the data), or its address has no form an envelope can carry. The
// connection is still good for the next message.
RTL_DECLARE_EXCEPTION(EAlertMessageRefused, Exception);

class AlertMailTransport {
public:
    // How long connecting may take in all (ms): the TCP connect, the
    // greeting, EHLO, STARTTLS with its handshake and the login.
    static constexpr int ConnectTimeout = 2000;

    AlertMailTransport();
    ~AlertMailTransport();
    AlertMailTransport(const AlertMailTransport&) = delete;
    AlertMailTransport& operator=(const AlertMailTransport&) = delete;

    // Host, port, account and password (the password as typed, the rest
    // trimmed) and the transport of the encryption choice; nothing chosen
    // keeps the transport of the last run. A port that is no number raises
    // the conversion error naming it.
    void Configure(const SmtpControlValues& Values);
    // Connects, reads the greeting and says EHLO (HELO when refused); under
    // STARTTLS switches to TLS and says EHLO again; logs in when the server
    // offers the login (AlwaysLogIn: in any case). All of it within
    // ConnectTimeout in all; past it, EMxConnectTimeout naming the server.
    // A failure closes the connection and raises.
    void Open(bool AlwaysLogIn = false);
    // The subject and the sender's name, once per run.
    void SetSubject(const AnsiString& Subject);
    // One message to the address (an address-list text) with the body's
    // lines, from the account's address. A refusal of this message alone
    // raises EAlertMessageRefused (the session is reset, ready for the
    // next); anything else (authentication, a lost connection, a reply out
    // of step) raises as it came, and the connection is not to be used on.
    void Send(const AnsiString& Address, const std::vector<AnsiString>& Body);
    // QUIT when connected and close; never raises.
    void Close() noexcept;

    mail::TMxSMTP& Smtp() { return *FSmtp; }
    mail::TMxMessage& Message() { return *FMessage; }
    mail::TMxSSLIOHandlerSocket& TlsHandler() { return *FTlsHandler; }

private:
    std::unique_ptr<mail::TMxIOHandlerSocket> FPlainHandler;
    std::unique_ptr<mail::TMxSSLIOHandlerSocket> FTlsHandler;
    std::unique_ptr<mail::TMxSMTP> FSmtp;
    std::unique_ptr<mail::TMxMessage> FMessage;
    int FEncryption = 0; // the choice of the last Configure
};
