#include "alert/app/AlertMailTransport.h"

#include "mail/MxEmailAddress.h"
#include "mail/MxExceptions.h"
#include "mail/MxIOHandler.h"
#include "mail/MxMessage.h"
#include "mail/MxNetExceptions.h"
#include "mail/MxSMTP.h"
#include "mail/MxSSLIOHandler.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/StringList.h"

#include <chrono>

using mail::TMxSSLVersion;

AlertMailTransport::AlertMailTransport()
    : FPlainHandler(std::make_unique<mail::TMxIOHandlerSocket>()),
      FTlsHandler(std::make_unique<mail::TMxSSLIOHandlerSocket>()),
      FSmtp(std::make_unique<mail::TMxSMTP>()), FMessage(std::make_unique<mail::TMxMessage>()) {
    // Every command waits for its reply, and the end of a message follows
    // its text at once: held back for an acknowledgement that the server
    // delays, each message would cost the better part of 50 ms.
    FPlainHandler->SetUseNagle(false);
    FTlsHandler->SetUseNagle(false);
    FTlsHandler->SetName("MxSSLIOHandlerSocket1");
    FTlsHandler->SSLOptions()->Method = TMxSSLVersion::sslvSSLv3;
    FTlsHandler->SSLOptions()->Mode = mail::TMxSSLMode::sslmUnassigned;
    FTlsHandler->SSLOptions()->VerifyDepth = 0;

    FSmtp->SetName("MxSMTP1");
    FSmtp->SetPort(25);
    FSmtp->SetAuthenticationType(mail::TAuthenticationType::atLogin);
    FSmtp->MaxLineAction = mail::TMxMaxLineAction::maException;

    FMessage->SetName("MxMessage1");
    FMessage->From()->SetName("Dornwick");
    FMessage->SetEncoding(mail::TMxMessageEncoding::meMIME);
    FMessage->Priority = mail::TMxMessagePriority::mpHigh;
    // Alert texts come from the shop database as UTF-8; without a declared
    // character set mail readers show its accented letters garbled.
    FMessage->ContentType = "text/plain";
    FMessage->CharSet = "UTF-8";
}

AlertMailTransport::~AlertMailTransport() {
    Close();
}

void AlertMailTransport::Configure(const SmtpControlValues& Values) {
    FSmtp->SetHost(Trim(Values.Server));
    FSmtp->SetPort(StrToInt(Trim(Values.Port)));
    FSmtp->Username = Trim(Values.Account);
    FSmtp->Password = Values.Password;
    FEncryption = Values.Encryption;
    switch (Values.Encryption) {
    case 0:
        // A plain socket.
        FSmtp->SetIOHandler(FPlainHandler.get());
        break;
    case 1:
        FTlsHandler->SSLOptions()->Method = TMxSSLVersion::sslvSSLv3;
        FTlsHandler->SetBypassTls(false);
        FSmtp->SetIOHandler(FTlsHandler.get());
        break;
    case 2:
        FTlsHandler->SSLOptions()->Method = TMxSSLVersion::sslvTLSv1;
        FTlsHandler->SetBypassTls(true);
        FSmtp->SetIOHandler(FTlsHandler.get());
        break;
    default:
        // Nothing chosen: the transport stays as the last run left it.
        break;
    }
}

void AlertMailTransport::Open(bool AlwaysLogIn) {
    // Nothing chosen yet in this process: the plain socket the client
    // would make for itself, but one the deadline below reaches.
    if (!FSmtp->IOHandler()) FSmtp->SetIOHandler(FPlainHandler.get());
    // One deadline over the whole phase: a server that accepts the
    // connection and then says nothing (or greets late, or stalls in the
    // TLS handshake or the login) holds the program for ConnectTimeout at
    // most, not for a read time-out per step.
    mail::TMxIOHandler* Handler = FSmtp->IOHandler();
    const auto Deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(ConnectTimeout);
    Handler->SetDeadline(Deadline);
    try {
        FSmtp->Connect(ConnectTimeout);
        if (FEncryption == 2) {
            FSmtp->SendCommand("STARTTLS", 220);
            FTlsHandler->SetBypassTls(false);
            const AnsiString Name =
                FSmtp->HeloName.empty() ? mail::TMxComponent::GetLocalHostName() : FSmtp->HeloName;
            try {
                FSmtp->SendCommand("EHLO " + Name, 250);
            } catch (const mail::EMxProtocolReplyError&) {
                // A server that will not be greeted again under TLS may
                // still take the mail. Only a refusal is passed over: after
                // a lost or timed-out reply the conversation is out of
                // step, and that must end the connection.
            }
        }
        if (!FSmtp->Authenticated() &&
            (AlwaysLogIn || (FSmtp->AuthenticationType() != mail::TAuthenticationType::atNone &&
                             FSmtp->IsAuthMechanismOffered(FSmtp->AuthenticationType()))))
            FSmtp->Authenticate();
    } catch (const Exception& E) {
        // A wait cut short by the deadline may end a moment before it.
        const bool Late =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(20) >= Deadline;
        Handler->ClearDeadline();
        Close();
        if (Late)
            throw mail::EMxConnectTimeout(
                "The server " + FSmtp->Host() + ":" + IntToStr(FSmtp->Port()) +
                " did not finish connecting within " + IntToStr(ConnectTimeout) + " ms (" +
                TrimRight(E.Message) + ").");
        throw;
    } catch (...) {
        Handler->ClearDeadline();
        Close();
        throw;
    }
    Handler->ClearDeadline();
}

void AlertMailTransport::SetSubject(const AnsiString& Subject) {
    FMessage->From()->SetName("Dornwick");
    FMessage->Subject = Subject;
}

void AlertMailTransport::Send(const AnsiString& Address, const std::vector<AnsiString>& Body) {
    // Logging in belongs to the connection, not to one message: a refusal
    // there ends the run.
    if (FSmtp->AuthenticationType() != mail::TAuthenticationType::atNone &&
        FSmtp->IsAuthMechanismOffered(FSmtp->AuthenticationType()) && !FSmtp->Authenticated())
        FSmtp->Authenticate();
    try {
        // Straight into the message's body: a list between would copy
        // every line twice.
        TStrings* Lines = FMessage->Body();
        Lines->Clear();
        for (const AnsiString& Line : Body)
            Lines->Add(Line);
        FMessage->Recipients()->SetAddressText(Address);
        FMessage->From()->SetAddress(FSmtp->Username);
        FSmtp->Send(FMessage.get());
    } catch (const mail::EMxEmailParseError& E) {
        // Nothing of the message was sent.
        throw EAlertMessageRefused(E.Message);
    } catch (const mail::EMxProtocolReplyError& E) {
        // 421: the server is closing the connection, not refusing this
        // message; any code outside 4xx and 5xx means the conversation is
        // out of step.
        if (E.ReplyErrorCode < 400 || E.ReplyErrorCode > 599 || E.ReplyErrorCode == 421) throw;
        const AnsiString Reply = IntToStr(E.ReplyErrorCode) + " " + TrimRight(E.Message);
        // The server may hold a half-built transaction (a refused
        // recipient); the next message starts from a clean one.
        FSmtp->SendCommand("RSET", 250);
        throw EAlertMessageRefused(Reply);
    }
}

std::vector<AnsiString> MissingSmtpSettings(const SmtpControlValues& Values) {
    std::vector<AnsiString> Missing;
    if (Trim(Values.Server).empty()) Missing.push_back("server");
    if (Trim(Values.Port).empty()) Missing.push_back("port");
    if (Trim(Values.Account).empty()) Missing.push_back("account name");
    return Missing;
}

void AlertMailTransport::Close() noexcept {
    try {
        FSmtp->Disconnect();
    } catch (...) {
        // QUIT could not be written; the connection is closed all the same.
    }
}
