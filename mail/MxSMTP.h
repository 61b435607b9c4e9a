#pragma once
// The SMTP client: greeting, EHLO with its capability list (HELO when EHLO
// is refused or not wanted), AUTH LOGIN, one mail transaction per Send
// (RSET, MAIL FROM, RCPT TO, DATA, the message, "."), QUIT, EXPN and VRFY.
// Every refused step raises EMxProtocolReplyError with the server's code
// and text.
#include "mail/MxMessageClient.h"

#include <cstdint>
#include <memory>

class TStringList;

namespace mail {

class TMxMessage;

enum class TAuthenticationType : std::uint8_t { atNone = 0, atLogin = 1 };

class TMxSMTP : public TMxMessageClient {
public:
    explicit TMxSMTP(TComponent* AOwner = nullptr);
    ~TMxSMTP() override;
    AnsiString ClassName() const override { return "TMxSMTP"; }

    // From another TMxSMTP: the authentication type, host, mail agent,
    // password, port and user name.
    void Assign(TPersistent* Source) override;

    bool Authenticated() const { return FAuthenticated; }
    TAuthenticationType AuthenticationType() const { return FAuthenticationType; }
    // atLogin also turns UseEhlo on.
    void SetAuthenticationType(TAuthenticationType AValue);
    bool UseEhlo() const { return FUseEhlo; }
    // Off also sets the authentication type to atNone.
    void SetUseEhlo(bool AValue);
    // The mechanisms the last EHLO reply listed, upper case, each once.
    TStringList* OfferedAuthMechanisms() const { return FOfferedAuthMechanisms.get(); }
    // Whether the last EHLO reply announced 8BITMIME: only then may a body
    // go out as 8bit.
    bool EightBitMime() const { return FEightBitMime; }

    AnsiString MailAgent; // the X-Mailer header of each message sent
    AnsiString HeloName;  // empty: the local host name
    AnsiString Password;
    AnsiString Username;

    // Connects and opens the conversation; on any failure after the TCP
    // connect, disconnects and raises the same error again.
    void Connect(int ATimeout = -1) override;
    // QUIT when connected (no reply is read), then the connection closes
    // and Authenticated is cleared, also when QUIT could not be written.
    void Disconnect() override;

    virtual bool IsAuthMechanismOffered(TAuthenticationType AType);
    // AUTH LOGIN for atLogin (true), nothing otherwise (false); then the
    // connection counts as authenticated.
    virtual bool Authenticate();
    virtual void Send(TMxMessage* AMsg);
    // EXPN; the reply stays in LastCmdResult.
    virtual void Expand(const AnsiString& AUserName);
    // VRFY; the first line of the reply text.
    virtual AnsiString Verify(const AnsiString& AUserName);

    using TMxTCPConnection::SendCommand;
    // A STARTTLS the server accepts discards whatever arrived after its
    // go-ahead and what the server said it could do: both came in the
    // clear. An accepted EHLO replaces the list of mechanisms.
    int SendCommand(const AnsiString& ACommand, const std::vector<int>& ACodes) override;

private:
    void ReadCapabilities();

    bool FAuthenticated = false;
    TAuthenticationType FAuthenticationType = TAuthenticationType::atNone;
    bool FUseEhlo = true;
    bool FEightBitMime = false;
    std::unique_ptr<TStringList> FOfferedAuthMechanisms;
};

} // namespace mail
