#include "mail/MxMessage.h"

#include "mail/MxDates.h"
#include "mail/MxMessageCoder.h"
#include "mail/MxText.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/StrUtils.h"

#include <algorithm>
#include <cstring>

namespace mail {

void LocaleHeaderCoding(TMxTransfer& VTransfer, char& VHeaderEncoding, AnsiString& VCharSet) {
    VTransfer = TMxTransfer::bit8;
    // The locale family chooses the coding letter as it always has; the
    // character set is the process's own code page, UTF-8, whatever the
    // language: a legacy set's name on UTF-8 bytes would garble every
    // non-ASCII character (and Shift_JIS conversion would too).
    VHeaderEncoding = LocaleCharsetCode() == 4 ? 'Q' : 'B';
    VCharSet = "UTF-8";
}

namespace {

bool IsWhiteSpace(const AnsiString& AText) {
    return AText.find_first_not_of(" \t\r\n") == AnsiString::npos;
}

} // namespace

// The header decoder reads the words of the ISO and WINDOWS sets and hands
// back their bytes unconverted. Headers are written in UTF-8, the local code
// page, so a UTF-8 word's bytes are local text as they stand: such a word
// goes through the same byte decoding; a malformed one stays as it is.
AnsiString DecodeMessageHeader(const AnsiString& AText) {
    const AnsiString upper = UpperCase(AText);
    const AnsiString prefix = "=?UTF-8?";
    AnsiString result;
    std::size_t from = 0;
    std::size_t lastWordEnd = AnsiString::npos;
    while (true) {
        const std::size_t at = upper.find(prefix, from);
        if (at == AnsiString::npos) break;
        const std::size_t letter = at + prefix.size();
        const std::size_t end = letter + 2 <= AText.size() && AText[letter + 1] == '?'
                                    ? AText.find("?=", letter + 2)
                                    : AnsiString::npos;
        const AnsiString between = AText.substr(from, at - from);
        AnsiString decoded;
        if (end != AnsiString::npos) {
            const AnsiString word = "=?ISO-8859-1?" + AText.substr(letter, end + 2 - letter);
            decoded = DecodeHeader(word);
            if (decoded == word) decoded.clear();
        }
        if (decoded.empty()) {
            result += DecodeHeader(AText.substr(from, letter - from));
            from = letter;
            lastWordEnd = AnsiString::npos;
            continue;
        }
        // White space between two encoded words belongs to neither.
        if (lastWordEnd != from || !IsWhiteSpace(between)) result += DecodeHeader(between);
        result += decoded;
        from = end + 2;
        lastWordEnd = from;
    }
    return result + DecodeHeader(AText.substr(from));
}

TMxMessage::TMxMessage(TComponent* AOwner)
    : TMxBaseComponent(AOwner), FBody(std::make_unique<TStringList>()),
      FRecipients(std::make_unique<TMxEMailAddressList>(this)),
      FBccList(std::make_unique<TMxEMailAddressList>(this)),
      FCCList(std::make_unique<TMxEMailAddressList>(this)),
      FParts(std::make_unique<TMxMessageParts>(this)), FNewsGroups(std::make_unique<TStringList>()),
      FRawHeaders(std::make_unique<TMxHeaderList>()),
      FFrom(std::make_unique<TMxEMailAddressItem>()),
      FReplyTo(std::make_unique<TMxEMailAddressList>(this)),
      FSender(std::make_unique<TMxEMailAddressItem>()),
      FExtraHeaders(std::make_unique<TMxHeaderList>()),
      FReceiptRecipient(std::make_unique<TMxEMailAddressItem>()),
      FBoundaryStack(std::make_unique<TMxMIMEBoundary>()) {
    Clear();
    SetEncoding(TMxMessageEncoding::meMIME);
}

TMxMessage::~TMxMessage() = default;

void TMxMessage::AdjustHeaderCoding(TMxTransfer& VTransfer, char& VHeaderEncoding,
                                    AnsiString& VCharSet) {
    if (OnInitializeISO) OnInitializeISO(VTransfer, VHeaderEncoding, VCharSet);
}

void TMxMessage::ClearHeader() {
    FCCList->Clear();
    FBccList->Clear();
    Date = 0;
    FFrom->SetText("");
    FNewsGroups->Clear();
    Organization.clear();
    References.clear();
    FReplyTo->Clear();
    Subject.clear();
    FRecipients->Clear();
    Priority = TMxMessagePriority::mpNormal;
    FReceiptRecipient->SetText("");
    ContentType.clear();
    CharSet.clear();
    ContentTransferEncoding.clear();
    ContentDisposition.clear();
    FSender->SetText("");
    FRawHeaders->Clear();
    FExtraHeaders->Clear();
    FBoundaryStack->Clear();
    FIsEncoded = false;
    MessageId.clear();
}

void TMxMessage::Clear() {
    ClearHeader();
    FParts->Clear();
    FBody->Clear();
}

void TMxMessage::SetBody(TStrings* AValue) {
    FBody->Assign(AValue);
}
void TMxMessage::SetRecipients(TMxEMailAddressList* AValue) {
    FRecipients->Assign(AValue);
}
void TMxMessage::SetBccList(TMxEMailAddressList* AValue) {
    FBccList->Assign(AValue);
}
void TMxMessage::SetCCList(TMxEMailAddressList* AValue) {
    FCCList->Assign(AValue);
}
void TMxMessage::SetNewsGroups(TStrings* AValue) {
    FNewsGroups->Assign(AValue);
}
void TMxMessage::SetFrom(TMxEMailAddressItem* AValue) {
    FFrom->Assign(AValue);
}
void TMxMessage::SetReplyTo(TMxEMailAddressList* AValue) {
    FReplyTo->Assign(AValue);
}
void TMxMessage::SetSender(TMxEMailAddressItem* AValue) {
    FSender->Assign(AValue);
}
void TMxMessage::SetExtraHeaders(TStrings* AValue) {
    FExtraHeaders->Assign(AValue);
}
void TMxMessage::SetReceiptRecipient(TMxEMailAddressItem* AValue) {
    FReceiptRecipient->Assign(AValue);
}

void TMxMessage::SetEncoding(TMxMessageEncoding AValue) {
    FEncoding = AValue;
    SetAttachmentEncoding(AValue == TMxMessageEncoding::meUU ? "UUE" : "MIME");
}

void TMxMessage::SetUseNowForDate(bool AValue) {
    if (AValue == UseNowForDate()) return;
    Date = AValue ? TDateTime(0) : Now();
}

namespace {

// What the plain body's bytes ask of its transfer encoding.
struct BodyBytes {
    std::size_t LongestLine = 0;
    bool Control = false; // a byte below 32 but TAB and the line ends, or DEL
    bool High = false;    // a byte above 127
};

BodyBytes ScanBody(const TStringList& ABody) {
    BodyBytes result;
    for (int i = 0; i < ABody.Count(); ++i) {
        // A line end inside an entry leaves as a line end of its own.
        std::size_t length = 0;
        for (const char c : ABody.Strings(i)) {
            const unsigned char b = static_cast<unsigned char>(c);
            if (c == '\r' || c == '\n') {
                length = 0;
                continue;
            }
            result.LongestLine = std::max(result.LongestLine, ++length);
            if ((b < 32 && c != '\t') || b == 127) result.Control = true;
            if (b > 127) result.High = true;
        }
    }
    return result;
}

// Where a header's value starts on its line: after the name, the colon and
// the space.
std::size_t ValueColumn(const char* AName) {
    return std::strlen(AName) + 2;
}

// RFC 5322's limit for a line without its CR LF.
constexpr std::size_t MaxLineOctets = 998;

} // namespace

AnsiString TMxMessage::BodyTransferEncoding(bool AEightBitAllowed) const {
    if (!ContentTransferEncoding.empty()) return ContentTransferEncoding;
    if (FEncoding != TMxMessageEncoding::meMIME || FParts->TextPartTotal() > 0) return {};
    const BodyBytes bytes = ScanBody(*FBody);
    if (bytes.LongestLine > MaxLineOctets || bytes.Control) return "quoted-printable";
    if (bytes.High) return AEightBitAllowed ? "8bit" : "quoted-printable";
    return "7bit";
}

AnsiString TMxMessage::BodyCharSet() const {
    if (!CharSet.empty()) return CharSet;
    return ScanBody(*FBody).High ? "UTF-8" : "us-ascii";
}

std::unique_ptr<TMxHeaderList> TMxMessage::BuildHeaders(bool AEightBitAllowed) {
    RecountParts();
    const bool mime = FEncoding == TMxMessageEncoding::meMIME;
    AnsiString contentType = ContentType;
    AnsiString bodyTransfer = ContentTransferEncoding;
    if (!mime) {
        if (FParts->RelatedAttachmentTotal() > 0 || FParts->TextPartTotal() > 0)
            throw EMxMessageException("Invalid Encoding. UU only allows Body and Attachments");
    } else {
        FParts->MessageEncoderInfo()->PrepareHeaders(this);
        // Once only: the same message may be built again for another
        // recipient, and the parameter must not pile up.
        if (!CharSet.empty() && HeaderParameter(ContentType, "charset").empty()) {
            const AnsiString parameter = "charset=\"" + CharSet + "\"";
            ContentType = ContentType.empty() ? parameter : ContentType + ";\r\n\t" + parameter;
        }
        contentType = ContentType;
        if (FParts->Count() == 0) {
            // A body standing alone says what it is: the type, its
            // character set and how its bytes travel. The defaults are
            // worked out per build and never stored, so that the next body
            // is judged on its own.
            const AnsiString mediaType = Trim(contentType.substr(0, contentType.find(';')));
            const AnsiString charset = ";\r\n\tcharset=\"" + BodyCharSet() + "\"";
            if (mediaType.find('/') == AnsiString::npos ||
                mediaType.find('=') != AnsiString::npos) {
                contentType = "text/plain" + charset;
            } else if (HeaderParameter(contentType, "charset").empty() &&
                       SameText(mediaType.substr(0, 5), "text/")) {
                contentType += charset;
            }
            bodyTransfer = BodyTransferEncoding(AEightBitAllowed);
        }
    }

    TMxTransfer transfer;
    char letter;
    AnsiString charSet;
    LocaleHeaderCoding(transfer, letter, charSet);
    AdjustHeaderCoding(transfer, letter, charSet);

    auto headers = std::make_unique<TMxHeaderList>();
    if (FRawHeaders->Count() > 0) headers->AddStrings(FRawHeaders.get());
    headers->SetValueOf("From",
                        EncodeAddressItem(*FFrom, letter, charSet, transfer, ValueColumn("From")));
    headers->SetValueOf(
        "Subject", EncodeHeader(Subject, "", letter, charSet, transfer, ValueColumn("Subject")));
    headers->SetValueOf(
        "To", EncodeAddressList(*FRecipients, letter, charSet, transfer, ValueColumn("To")));
    headers->SetValueOf("Cc",
                        EncodeAddressList(*FCCList, letter, charSet, transfer, ValueColumn("Cc")));
    headers->SetValueOf("Newsgroups", FNewsGroups->CommaText());
    if (mime) {
        headers->SetValueOf("Content-Type", contentType);
        headers->SetValueOf("MIME-Version", "1.0");
        headers->SetValueOf("Content-Transfer-Encoding", bodyTransfer);
    }
    headers->SetValueOf("Sender", FSender->GetText());
    headers->SetValueOf("Reply-To", EncodeAddressList(*FReplyTo, letter, charSet, transfer,
                                                      ValueColumn("Reply-To")));
    headers->SetValueOf("Organization", EncodeHeader(Organization, "", letter, charSet, transfer,
                                                     ValueColumn("Organization")));
    headers->SetValueOf("Disposition-Notification-To",
                        EncodeAddressItem(*FReceiptRecipient, letter, charSet, transfer,
                                          ValueColumn("Disposition-Notification-To")));
    headers->SetValueOf("References", References);
    headers->SetValueOf("Date", DateTimeToRfc822(UseNowForDate() ? Now() : Date, false));
    if (Priority != TMxMessagePriority::mpNormal)
        headers->SetValueOf("X-Priority", IntToStr(static_cast<int>(Priority) + 1));
    if (FExtraHeaders->Count() > 0) headers->AddStrings(FExtraHeaders.get());
    return headers;
}

namespace {

TMxMessagePriority PriorityOf(const AnsiString& AValue) {
    const AnsiString value = LowerCase(AValue);
    // "non-urgent" holds "urgent": the negative forms are looked at first.
    if (value.find("non-priority") != AnsiString::npos ||
        value.find("non-urgent") != AnsiString::npos)
        return TMxMessagePriority::mpLow;
    if (value.find("urgent") != AnsiString::npos) return TMxMessagePriority::mpHigh;
    const AnsiString word = Trim(value).substr(0, Trim(value).find_first_of(" \t"));
    // A level outside 1 to 5 is taken as the nearest one.
    const int level = std::clamp(StrToIntDef(word, 3), 1, 5);
    return static_cast<TMxMessagePriority>(level - 1);
}

} // namespace

void TMxMessage::ApplyHeaders() {
    const TMxHeaderList& raw = *FRawHeaders;
    ContentType = raw.ValueOf("Content-Type");
    CharSet = UpperCase(HeaderParameter(ContentType, "charset"));
    ContentTransferEncoding = raw.ValueOf("Content-Transfer-Encoding");
    ContentDisposition = raw.ValueOf("Content-Disposition");
    Subject = DecodeMessageHeader(raw.ValueOf("Subject"));
    FFrom->SetText(DecodeMessageHeader(raw.ValueOf("From")));
    MessageId = raw.ValueOf("Message-Id");
    SplitCommaList(FNewsGroups.get(), raw.ValueOf("Newsgroups"));
    FRecipients->SetAddressText(DecodeMessageHeader(raw.ValueOf("To")));
    FCCList->SetAddressText(DecodeMessageHeader(raw.ValueOf("Cc")));
    FBccList->SetAddressText(DecodeMessageHeader(raw.ValueOf("Bcc")));
    Organization = DecodeMessageHeader(raw.ValueOf("Organization"));
    FReceiptRecipient->SetText(DecodeMessageHeader(raw.ValueOf("Disposition-Notification-To")));
    if (FReceiptRecipient->GetText().empty())
        FReceiptRecipient->SetText(DecodeMessageHeader(raw.ValueOf("Return-Receipt-To")));
    References = raw.ValueOf("References");
    FReplyTo->SetAddressText(DecodeMessageHeader(raw.ValueOf("Reply-To")));
    Date = Rfc822ToLocalDateTime(raw.ValueOf("Date"));
    FSender->SetText(raw.ValueOf("Sender"));
    Priority = PriorityOf(raw.FindName("Priority") >= 0 ? raw.ValueOf("Priority")
                                                        : raw.ValueOf("X-Priority"));
    FBoundaryStack->Push(HeaderParameter(ContentType, "boundary"));
}

} // namespace mail
