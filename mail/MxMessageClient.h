#pragma once
// Writes a message onto a connection (header block, empty line, body in the
// MIME or UU layout) and reads one back into a TMxMessage. Everything it
// writes goes out dot-stuffed with CR LF line ends, coded first, so the
// text can stand between an SMTP "DATA" and its closing "." line.
#include "mail/MxTCPClient.h"

#include <cstddef>
#include <memory>

namespace mail {

class TMxMessage;
class TMxMessageOutput;
class TMxText;
class TMxAttachment;

// What a reader keeps in memory of one message: the text of its body and
// text parts, and the number of its parts. More is refused.
inline constexpr std::size_t MxMaxMessageText = 64u << 20;
inline constexpr int MxMaxMessageParts = 1000;

class TMxMessageClient : public TMxTCPClient {
public:
    explicit TMxMessageClient(TComponent* AOwner = nullptr);
    ~TMxMessageClient() override;
    AnsiString ClassName() const override { return "TMxMessageClient"; }

    // Reads the body lines and parts up to ADelim.
    virtual void ReadBody(TMxMessage* AMsg, const AnsiString& ADelim = ".");
    // Reads header lines up to AAltTerm (empty: up to an empty line or
    // "."), then applies them.
    virtual void ReadHeader(TMxMessage* AMsg, const AnsiString& AAltTerm = AnsiString());
    virtual void WriteBody(TMxMessage* AMsg);
    virtual void WriteHeader(TMxMessage* AMsg);
    virtual void WriteBodyLines(TMxMessage* AMsg);
    virtual void WriteMessage(TMxMessage* AMsg, bool AHeadersOnly = false);

    // While a message is being written its text goes through the message
    // output, whoever writes it.
    void Write(const AnsiString& AText) override;
    void WriteLine(const AnsiString& AText) override;

    // Whether the peer takes 8bit bodies (an SMTP server that announced
    // 8BITMIME); otherwise a body of bytes above 127 goes quoted-printable.
    bool EightBitAllowed() const { return FEightBitAllowed; }
    void SetEightBitAllowed(bool AValue) { FEightBitAllowed = AValue; }

protected:
    // The message, then AEndLine as it stands (not dot-stuffed) on a line
    // of its own, handed to the connection in one write.
    void WriteMessageWithEnd(TMxMessage* AMsg, const AnsiString& AEndLine);

private:
    class TOutputScope;

    void WriteMIMEBody(TMxMessage* AMsg);
    void WriteUUBody(TMxMessage* AMsg);
    void WriteTextPart(TMxText* AText);
    void WriteAttachmentPart(TMxAttachment* AAttachment, const AnsiString& ABoundary);

    void WriteQuotedPrintable(const TStringList& ALines);

    std::unique_ptr<TMxMessageOutput> FOutput;
    bool FEightBitAllowed = false;
};

} // namespace mail
