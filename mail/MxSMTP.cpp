#include "mail/MxSMTP.h"

#include "mail/MxCoder3to4.h"
#include "mail/MxEmailAddress.h"
#include "mail/MxHeaderList.h"
#include "mail/MxMessage.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/StringList.h"

#include <algorithm>
#include <cctype>

namespace mail {

namespace {

// A value written into a command line must not end the line early.
const AnsiString& CheckCommandText(const AnsiString& AText, const char* AWhat) {
    if (AText.find_first_of(AnsiString("\r\n\0", 3)) != AnsiString::npos)
        throw EMxException(AnsiString("Invalid character (CR, LF or NUL) in ") + AWhat + " \"" +
                           AText + "\"");
    return AText;
}

AnsiString Upper(AnsiString AText) {
    std::transform(AText.begin(), AText.end(), AText.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return AText;
}

} // namespace

TMxSMTP::TMxSMTP(TComponent* AOwner)
    : TMxMessageClient(AOwner), FOfferedAuthMechanisms(std::make_unique<TStringList>()) {
    FOfferedAuthMechanisms->SetDuplicates(TDuplicates::dupIgnore);
    SetPort(25);
}

TMxSMTP::~TMxSMTP() = default;

void TMxSMTP::Assign(TPersistent* Source) {
    auto* source = dynamic_cast<TMxSMTP*>(Source);
    if (!source) {
        TMxMessageClient::Assign(Source);
        return;
    }
    SetAuthenticationType(source->FAuthenticationType);
    SetHost(source->Host());
    MailAgent = source->MailAgent;
    Password = source->Password;
    SetPort(source->Port());
    Username = source->Username;
}

void TMxSMTP::SetAuthenticationType(TAuthenticationType AValue) {
    FAuthenticationType = AValue;
    if (AValue == TAuthenticationType::atLogin) FUseEhlo = true;
}

void TMxSMTP::SetUseEhlo(bool AValue) {
    FUseEhlo = AValue;
    if (!AValue) FAuthenticationType = TAuthenticationType::atNone;
}

void TMxSMTP::Connect(int ATimeout) {
    TMxMessageClient::Connect(ATimeout);
    try {
        ReadReply({220});
        FOfferedAuthMechanisms->Clear();
        FEightBitMime = false;
        const AnsiString name =
            CheckCommandText(HeloName.empty() ? GetLocalHostName() : HeloName, "HELO name");
        if (FUseEhlo && SendCommand("EHLO " + name, std::vector<int>{}) == 250) return;
        SendCommand("HELO " + name, 250);
    } catch (...) {
        try {
            Disconnect();
        } catch (...) {
            // The failure that ended the conversation is the one to report.
        }
        throw;
    }
}

void TMxSMTP::Disconnect() {
    try {
        if (IsConnected()) WriteLine("QUIT");
    } catch (...) {
        TMxMessageClient::Disconnect();
        FAuthenticated = false;
        throw;
    }
    TMxMessageClient::Disconnect();
    FAuthenticated = false;
}

int TMxSMTP::SendCommand(const AnsiString& ACommand, const std::vector<int>& ACodes) {
    const int code = TMxMessageClient::SendCommand(ACommand, ACodes);
    if (code == 220 && SameText(Trim(ACommand), "STARTTLS")) {
        ResetConnectionState();
        FOfferedAuthMechanisms->Clear();
        FEightBitMime = false;
        FAuthenticated = false;
    } else if (code == 250 && SameText(ACommand.substr(0, 5), "EHLO ")) {
        ReadCapabilities();
    }
    return code;
}

void TMxSMTP::ReadCapabilities() {
    FOfferedAuthMechanisms->Clear();
    FEightBitMime = false;
    const TStringList& lines = LastCmdResult().Text();
    for (int i = 0; i < lines.GetCount(); ++i) {
        const AnsiString line = Upper(lines.Get(i));
        if (Trim(line) == "8BITMIME") FEightBitMime = true;
        if (line.size() < 5 ||
            (line.compare(0, 5, "AUTH ") != 0 && line.compare(0, 5, "AUTH=") != 0))
            continue;
        AnsiString rest = line.substr(4);
        std::replace(rest.begin(), rest.end(), '=', ' ');
        std::size_t start = 0;
        while (start < rest.size()) {
            const std::size_t end = std::min(rest.find(' ', start), rest.size());
            const AnsiString word = rest.substr(start, end - start);
            if (!word.empty() && FOfferedAuthMechanisms->IndexOf(word) < 0)
                FOfferedAuthMechanisms->Add(word);
            start = end + 1;
        }
    }
}

bool TMxSMTP::IsAuthMechanismOffered(TAuthenticationType AType) {
    return AType == TAuthenticationType::atLogin && FOfferedAuthMechanisms->IndexOf("LOGIN") >= 0;
}

bool TMxSMTP::Authenticate() {
    bool result = false;
    if (FAuthenticationType == TAuthenticationType::atLogin) {
        SendCommand("AUTH LOGIN", 334);
        SendCommand(MxEncodeString<TMxEncoderMIME>(Username), 334);
        SendCommand(MxEncodeString<TMxEncoderMIME>(Password), 235);
        result = true;
    }
    FAuthenticated = true;
    return result;
}

void TMxSMTP::Send(TMxMessage* AMsg) {
    // Every address is put in its envelope form before anything is sent:
    // one that has none must not reach a command line, where its text
    // could add parameters of its own.
    const AnsiString& from = AMsg->From()->Address();
    const AnsiString reversePath = from.empty() ? AnsiString() : EnvelopeAddress(from);
    std::vector<AnsiString> forwardPaths;
    for (TMxEMailAddressList* list : {AMsg->Recipients(), AMsg->CCList(), AMsg->BccList()}) {
        for (int i = 0; i < list->Count(); ++i)
            forwardPaths.push_back(EnvelopeAddress(list->Items(i)->Address()));
    }

    // The body stays as it is from the envelope to its last line.
    const TMxMessage::TBodyBytesHold bodyBytes(*AMsg);
    SendCommand("RSET", -1);
    if (FAuthenticationType != TAuthenticationType::atNone &&
        IsAuthMechanismOffered(FAuthenticationType) && !FAuthenticated)
        Authenticate();
    SetEightBitAllowed(FEightBitMime);
    const bool eightBit = SameText(AMsg->BodyTransferEncoding(FEightBitMime), "8bit");
    SendCommand("MAIL FROM:<" + reversePath + ">" + (eightBit ? " BODY=8BITMIME" : ""), 250);
    for (const AnsiString& path : forwardPaths)
        SendCommand("RCPT TO:<" + path + ">", {250, 251});
    SendCommand("DATA", 354);
    AMsg->ExtraHeaders()->SetValueOf("X-Mailer", MailAgent);
    WriteMessageWithEnd(AMsg, ".");
    ReadReply({250});
}

void TMxSMTP::Expand(const AnsiString& AUserName) {
    SendCommand("EXPN " + CheckCommandText(AUserName, "list name"), {250, 251});
}

AnsiString TMxSMTP::Verify(const AnsiString& AUserName) {
    SendCommand("VRFY " + CheckCommandText(AUserName, "user name"), {250, 251});
    const TStringList& text = LastCmdResult().Text();
    return text.GetCount() > 0 ? text.Get(0) : AnsiString();
}

} // namespace mail
