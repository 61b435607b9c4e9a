#include "mail/MxMessage.h"

#include "mail/MxDates.h"
#include "mail/MxMessageCoder.h"
#include "mail/MxText.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/StrUtils.h"

#include <algorithm>
#include <array>
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

// What each byte asks of the scan: nothing for the printable ones.
enum class ByteKind : unsigned char { Plain, LineEnd, Control, High };

constexpr std::array<ByteKind, 256> ByteKinds = [] {
    std::array<ByteKind, 256> kinds{};
    for (int b = 0; b < 256; ++b) {
        if (b == '\r' || b == '\n') {
            kinds[b] = ByteKind::LineEnd;
        } else if ((b < 32 && b != '\t') || b == 127) {
            kinds[b] = ByteKind::Control;
        } else if (b > 127) {
            kinds[b] = ByteKind::High;
        }
    }
    return kinds;
}();

TMxMessage::TBodyBytes ScanBody(const TStringList& ABody) {
    TMxMessage::TBodyBytes result;
    for (int i = 0; i < ABody.Count(); ++i) {
        // A line end inside an entry leaves as a line end of its own.
        const AnsiString line = ABody.Strings(i);
        const auto* const first = reinterpret_cast<const unsigned char*>(line.data());
        const auto* const end = first + line.size();
        const unsigned char* lineStart = first;
        for (const unsigned char* at = first; at < end; ++at) {
            const ByteKind kind = ByteKinds[*at];
            if (kind == ByteKind::Plain) continue;
            switch (kind) {
            case ByteKind::Plain:
                break;
            case ByteKind::LineEnd:
                result.LongestLine =
                    std::max(result.LongestLine, static_cast<std::size_t>(at - lineStart));
                lineStart = at + 1;
                break;
            case ByteKind::Control:
                result.Control = true;
                break;
            case ByteKind::High:
                result.High = true;
                break;
            }
        }
        result.LongestLine =
            std::max(result.LongestLine, static_cast<std::size_t>(end - lineStart));
    }
    return result;
}

// RFC 5322's limit for a line without its CR LF.
constexpr std::size_t MaxLineOctets = 998;

AnsiString TransferEncodingOf(const TMxMessage::TBodyBytes& ABytes, bool AEightBitAllowed) {
    if (ABytes.LongestLine > MaxLineOctets || ABytes.Control) return "quoted-printable";
    if (ABytes.High) return AEightBitAllowed ? "8bit" : "quoted-printable";
    return "7bit";
}

AnsiString CharSetOf(const TMxMessage::TBodyBytes& ABytes) {
    return ABytes.High ? "UTF-8" : "us-ascii";
}

// Where a header's value starts on its line: after the name, the colon and
// the space.
std::size_t ValueColumn(const char* AName) {
    return std::strlen(AName) + 2;
}

// Addresses are parsed before their names are decoded: a decoded name may
// hold the commas and quotes that part and delimit addresses.
void ReadAddress(TMxEMailAddressItem& AItem, const AnsiString& AValue) {
    AItem.SetText(AValue);
    AItem.SetName(DecodeMessageHeader(AItem.Name()));
}

void ReadAddressList(TMxEMailAddressList& AList, const AnsiString& AValue) {
    AList.SetAddressText(AValue);
    for (int i = 0; i < AList.Count(); ++i)
        AList.Items(i)->SetName(DecodeMessageHeader(AList.Items(i)->Name()));
}

} // namespace

TMxMessage::TBodyBytesHold::TBodyBytesHold(const TMxMessage& AMsg) : FMsg(AMsg) {
    ++FMsg.FBodyBytesHolds;
}

TMxMessage::TBodyBytesHold::~TBodyBytesHold() {
    if (--FMsg.FBodyBytesHolds == 0) FMsg.FHeldBodyBytes.reset();
}

TMxMessage::TBodyBytes TMxMessage::BodyBytes() const {
    if (FBodyBytesHolds == 0) return ScanBody(*FBody);
    if (!FHeldBodyBytes) FHeldBodyBytes = ScanBody(*FBody);
    return *FHeldBodyBytes;
}

AnsiString TMxMessage::BodyTransferEncoding(bool AEightBitAllowed) const {
    if (!ContentTransferEncoding.empty()) return ContentTransferEncoding;
    if (FEncoding != TMxMessageEncoding::meMIME || FParts->TextPartTotal() > 0) return {};
    return TransferEncodingOf(BodyBytes(), AEightBitAllowed);
}

AnsiString TMxMessage::BodyCharSet() const {
    if (!CharSet.empty()) return CharSet;
    return CharSetOf(BodyBytes());
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
            // is judged on its own. The body's bytes are looked at once for
            // both.
            TBodyBytes bytes;
            if (CharSet.empty() || ContentTransferEncoding.empty()) bytes = BodyBytes();
            const AnsiString mediaType = Trim(contentType.substr(0, contentType.find(';')));
            const AnsiString charset =
                ";\r\n\tcharset=\"" + (CharSet.empty() ? CharSetOf(bytes) : CharSet) + "\"";
            if (mediaType.find('/') == AnsiString::npos ||
                mediaType.find('=') != AnsiString::npos) {
                contentType = "text/plain" + charset;
            } else if (HeaderParameter(contentType, "charset").empty() &&
                       SameText(mediaType.substr(0, 5), "text/")) {
                contentType += charset;
            }
            if (bodyTransfer.empty()) bodyTransfer = TransferEncodingOf(bytes, AEightBitAllowed);
        }
    }

    TMxTransfer transfer;
    char letter;
    AnsiString charSet;
    LocaleHeaderCoding(transfer, letter, charSet);
    AdjustHeaderCoding(transfer, letter, charSet);

    auto headers = std::make_unique<TMxHeaderList>();
    if (FRawHeaders->Count() > 0) headers->AddStrings(FRawHeaders.get());
    // Each name is set once below: on a list of no raw headers there is
    // nothing to look up and replace, and the header is simply added.
    const bool fresh = headers->Count() == 0;
    const auto set = [&headers, fresh](const char* AName, const AnsiString& AValue) {
        if (!fresh) {
            headers->SetValueOf(AName, AValue);
        } else if (!AValue.empty()) {
            headers->WrapAndInsert(AName + headers->Separator + AValue, headers->Count());
        }
    };
    set("From", EncodeAddressItem(*FFrom, letter, charSet, transfer, ValueColumn("From")));
    set("Subject", EncodeHeader(Subject, "", letter, charSet, transfer, ValueColumn("Subject")));
    set("To", EncodeAddressList(*FRecipients, letter, charSet, transfer, ValueColumn("To")));
    set("Cc", EncodeAddressList(*FCCList, letter, charSet, transfer, ValueColumn("Cc")));
    set("Newsgroups", FNewsGroups->CommaText());
    if (mime) {
        set("Content-Type", contentType);
        set("MIME-Version", "1.0");
        set("Content-Transfer-Encoding", bodyTransfer);
    }
    set("Sender", FSender->GetText());
    set("Reply-To",
        EncodeAddressList(*FReplyTo, letter, charSet, transfer, ValueColumn("Reply-To")));
    set("Organization",
        EncodeHeader(Organization, "", letter, charSet, transfer, ValueColumn("Organization")));
    set("Disposition-Notification-To",
        EncodeAddressItem(*FReceiptRecipient, letter, charSet, transfer,
                          ValueColumn("Disposition-Notification-To")));
    set("References", References);
    set("Date", DateTimeToRfc822(UseNowForDate() ? Now() : Date, false));
    if (Priority != TMxMessagePriority::mpNormal)
        set("X-Priority", IntToStr(static_cast<int>(Priority) + 1));
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
    ReadAddress(*FFrom, raw.ValueOf("From"));
    MessageId = raw.ValueOf("Message-Id");
    SplitCommaList(FNewsGroups.get(), raw.ValueOf("Newsgroups"));
    ReadAddressList(*FRecipients, raw.ValueOf("To"));
    ReadAddressList(*FCCList, raw.ValueOf("Cc"));
    ReadAddressList(*FBccList, raw.ValueOf("Bcc"));
    Organization = DecodeMessageHeader(raw.ValueOf("Organization"));
    ReadAddress(*FReceiptRecipient, raw.ValueOf("Disposition-Notification-To"));
    if (FReceiptRecipient->GetText().empty())
        ReadAddress(*FReceiptRecipient, raw.ValueOf("Return-Receipt-To"));
    References = raw.ValueOf("References");
    ReadAddressList(*FReplyTo, raw.ValueOf("Reply-To"));
    Date = Rfc822ToLocalDateTime(raw.ValueOf("Date"));
    FSender->SetText(raw.ValueOf("Sender"));
    Priority = PriorityOf(raw.FindName("Priority") >= 0 ? raw.ValueOf("Priority")
                                                        : raw.ValueOf("X-Priority"));
    FBoundaryStack->Push(HeaderParameter(ContentType, "boundary"));
}

} // namespace mail
