#pragma once
// The in-memory e-mail: addresses, subject and the other header values, a
// plain body and the MIME parts. BuildHeaders makes the header block a
// message client writes; ApplyHeaders fills the properties from a header
// block that was read.
#include "mail/MxComponent.h"
#include "mail/MxEmailAddress.h"
#include "mail/MxHeaderCoder.h"
#include "mail/MxHeaderList.h"
#include "mail/MxMessageParts.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/TDateTime.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace mail {

enum class TMxMessageEncoding : std::uint8_t { meMIME = 0, meUU = 1 };

// Written as X-Priority: the ordinal plus 1.
enum class TMxMessagePriority : std::uint8_t { mpHighest, mpHigh, mpNormal, mpLow, mpLowest };

// Lets the user change the header coding: transfer mode, coding letter
// ('B', 'Q' or '8' for none) and character set.
using TMxInitializeIsoEvent =
    std::function<void(TMxTransfer& VTransfer, char& VHeaderEncoding, AnsiString& VCharSet)>;

// The header coding the system locale asks for: 8-bit transfer with "B"
// words in the character set of a Chinese, Japanese (ISO-2022-JP transfer)
// or Korean locale, else "Q" words in ISO-8859-1.
void LocaleHeaderCoding(TMxTransfer& VTransfer, char& VHeaderEncoding, AnsiString& VCharSet);

// The encoded words of a header value decoded: those of the UTF-8 set (in
// which headers are written) and those DecodeHeader reads.
AnsiString DecodeMessageHeader(const AnsiString& AText);

class TMxMessage : public TMxBaseComponent {
public:
    explicit TMxMessage(TComponent* AOwner = nullptr);
    ~TMxMessage() override;
    AnsiString ClassName() const override { return "TMxMessage"; }

    // Calls OnInitializeISO when assigned.
    virtual void AdjustHeaderCoding(TMxTransfer& VTransfer, char& VHeaderEncoding,
                                    AnsiString& VCharSet);
    // Clears the header values, the parts and the body.
    virtual void Clear();
    void ClearHeader();

    void RecountParts() { FParts->RecountParts(); }
    // The header block to write before the body. EMxMessageException
    // "Invalid Encoding. UU only allows Body and Attachments" for a UU
    // message with text parts or related attachments. A MIME message always
    // declares MIME-Version; one with a plain body also its type, character
    // set and the transfer encoding of BodyTransferEncoding.
    std::unique_ptr<TMxHeaderList> BuildHeaders(bool AEightBitAllowed = false);
    // The transfer encoding the plain body goes out with: the one set in
    // ContentTransferEncoding, or for a MIME message whose body stands
    // alone or beside attachments the one its bytes need: "7bit",
    // "quoted-printable" for a line over 998 octets or a control byte, and
    // for bytes above 127 "8bit" when AEightBitAllowed (the server takes
    // 8BITMIME), else "quoted-printable". Empty when the body goes out as
    // it stands (a UU message, or one with text parts).
    AnsiString BodyTransferEncoding(bool AEightBitAllowed) const;
    // The character set of the plain body: CharSet, else "us-ascii" for a
    // body of ASCII bytes and "UTF-8" (the process's own) for any other.
    AnsiString BodyCharSet() const;

    // What the plain body's bytes ask of its transfer encoding.
    struct TBodyBytes {
        std::size_t LongestLine = 0;
        bool Control = false; // a byte below 32 but TAB and the line ends, or DEL
        bool High = false;    // a byte above 127
    };
    // Keeps one look at the body's bytes for as long as it lives: a writer
    // that asks about the body several times while it cannot change (the
    // envelope, the header, the body itself) reads the bytes once.
    class TBodyBytesHold {
    public:
        explicit TBodyBytesHold(const TMxMessage& AMsg);
        ~TBodyBytesHold();
        TBodyBytesHold(const TBodyBytesHold&) = delete;
        TBodyBytesHold& operator=(const TBodyBytesHold&) = delete;

    private:
        const TMxMessage& FMsg;
    };
    // Fills the properties from RawHeaders.
    void ApplyHeaders();

    // Owned sub-objects; the setters copy the given object.
    TStringList* Body() const { return FBody.get(); }
    void SetBody(TStrings* AValue);
    TMxEMailAddressList* Recipients() const { return FRecipients.get(); }
    void SetRecipients(TMxEMailAddressList* AValue);
    TMxEMailAddressList* BccList() const { return FBccList.get(); }
    void SetBccList(TMxEMailAddressList* AValue);
    TMxEMailAddressList* CCList() const { return FCCList.get(); }
    void SetCCList(TMxEMailAddressList* AValue);
    TMxMessageParts* Parts() const { return FParts.get(); }
    TStringList* NewsGroups() const { return FNewsGroups.get(); }
    void SetNewsGroups(TStrings* AValue);
    TMxHeaderList* RawHeaders() const { return FRawHeaders.get(); }
    TMxEMailAddressItem* From() const { return FFrom.get(); }
    void SetFrom(TMxEMailAddressItem* AValue);
    TMxEMailAddressList* ReplyTo() const { return FReplyTo.get(); }
    void SetReplyTo(TMxEMailAddressList* AValue);
    TMxEMailAddressItem* Sender() const { return FSender.get(); }
    void SetSender(TMxEMailAddressItem* AValue);
    TMxHeaderList* ExtraHeaders() const { return FExtraHeaders.get(); }
    void SetExtraHeaders(TStrings* AValue);
    TMxEMailAddressItem* ReceiptRecipient() const { return FReceiptRecipient.get(); }
    void SetReceiptRecipient(TMxEMailAddressItem* AValue);
    TMxMIMEBoundary* BoundaryStack() const { return FBoundaryStack.get(); }

    TMxMessageEncoding Encoding() const { return FEncoding; }
    // Also sets AttachmentEncoding: "UUE" for meUU, else "MIME".
    void SetEncoding(TMxMessageEncoding AValue);
    const AnsiString& AttachmentEncoding() const { return FParts->AttachmentEncoding(); }
    void SetAttachmentEncoding(const AnsiString& AValue) { FParts->SetAttachmentEncoding(AValue); }
    // True exactly when Date is 0 (the time of building is used).
    bool UseNowForDate() const { return Date == 0; }
    void SetUseNowForDate(bool AValue);
    bool IsEncoded() const { return FIsEncoded; }

    AnsiString CharSet;
    AnsiString ContentType;
    AnsiString ContentTransferEncoding;
    AnsiString ContentDisposition;
    TDateTime Date = 0;
    bool DeleteTempFiles = false;
    AnsiString MessageId;
    bool NoEncode = false;
    bool NoDecode = false;
    TMxInitializeIsoEvent OnInitializeISO;
    AnsiString Organization;
    TMxMessagePriority Priority = TMxMessagePriority::mpNormal;
    AnsiString Subject;
    AnsiString References;

private:
    std::unique_ptr<TStringList> FBody;
    std::unique_ptr<TMxEMailAddressList> FRecipients;
    std::unique_ptr<TMxEMailAddressList> FBccList;
    std::unique_ptr<TMxEMailAddressList> FCCList;
    std::unique_ptr<TMxMessageParts> FParts;
    std::unique_ptr<TStringList> FNewsGroups;
    std::unique_ptr<TMxHeaderList> FRawHeaders;
    std::unique_ptr<TMxEMailAddressItem> FFrom;
    std::unique_ptr<TMxEMailAddressList> FReplyTo;
    std::unique_ptr<TMxEMailAddressItem> FSender;
    std::unique_ptr<TMxHeaderList> FExtraHeaders;
    std::unique_ptr<TMxEMailAddressItem> FReceiptRecipient;
    std::unique_ptr<TMxMIMEBoundary> FBoundaryStack;
    TMxMessageEncoding FEncoding = TMxMessageEncoding::meMIME;
    bool FIsEncoded = false;

    TBodyBytes BodyBytes() const;
    mutable int FBodyBytesHolds = 0;
    mutable std::optional<TBodyBytes> FHeldBodyBytes;
};

} // namespace mail
