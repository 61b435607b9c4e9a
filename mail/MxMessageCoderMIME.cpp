#include "mail/MxMessageCoderMIME.h"

#include "mail/MxCoder3to4.h"
#include "mail/MxCoderQuotedPrintable.h"
#include "mail/MxHeaderCoder.h"
#include "mail/MxMessage.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/StrUtils.h"

#include <random>

namespace mail {

namespace {

const AnsiString CRLF = "\r\n";

// One of the 62 digits and letters, from a number 1 to 62.
char Alphanumeric(int AValue) {
    if (AValue <= 10) return static_cast<char>('0' + AValue - 1);
    if (AValue <= 36) return static_cast<char>('A' + AValue - 11);
    return static_cast<char>('a' + AValue - 37);
}

bool IsPlainTransfer(const AnsiString& ATransfer) {
    return SameText(ATransfer, "7bit") || SameText(ATransfer, "8bit") ||
           SameText(ATransfer, "binary");
}

// A boundary line may carry blanks after the delimiter (a relay's
// padding); they do not make it a body line.
bool IsDelimiterLine(const AnsiString& ALine, const AnsiString& ADelimiter) {
    return SameText(TrimRight(ALine), ADelimiter);
}

bool StartsWithText(const AnsiString& AText, const AnsiString& APrefix) {
    return AText.size() >= APrefix.size() && SameText(AText.substr(0, APrefix.size()), APrefix);
}

std::unique_ptr<TMxDecoder> ByteDecoderFor(const AnsiString& ATransfer) {
    if (SameText(ATransfer, "base64")) return std::make_unique<TMxDecoderMIME>();
    if (SameText(ATransfer, "quoted-printable"))
        return std::make_unique<TMxDecoderQuotedPrintable>();
    return nullptr;
}

} // namespace

// ---------------------------------------------------------- boundaries

TMxBoundaries MakeMIMEBoundaries(std::uint32_t ASeed) {
    std::mt19937 random(ASeed);
    std::uniform_int_distribution<int> alphanumeric(1, 62);
    std::uniform_int_distribution<int> position(1, 33);
    std::uniform_int_distribution<int> letter(0, 25);

    TMxBoundaries boundaries;
    for (int i = 0; i < 34; ++i)
        boundaries.Base += Alphanumeric(alphanumeric(random));
    // "=_" can appear in neither base64 nor quoted-printable text, so no
    // coded line can ever be taken for a boundary.
    const int at = position(random);
    boundaries.Base[static_cast<std::size_t>(at - 1)] = '=';
    boundaries.Base[static_cast<std::size_t>(at)] = '_';
    boundaries.Alternative = static_cast<char>('a' + letter(random)) + boundaries.Base;
    boundaries.Related = static_cast<char>('A' + letter(random)) + boundaries.Alternative;
    return boundaries;
}

const TMxBoundaries& MIMEBoundaries() {
    static const TMxBoundaries boundaries = [] {
        std::random_device device;
        return MakeMIMEBoundaries(device() ^ GetTickCount());
    }();
    return boundaries;
}

// ---------------------------------------------------------- encoder

void TMxMessageEncoderMIME::EncodeStream(TStream* ASrc, TStream* ADest) {
    ASrc->SetPosition(0);
    TMxEncoderMIME coder;
    while (true) {
        const AnsiString line = coder.Encode(ASrc, 57);
        if (line.empty()) break;
        const AnsiString text = line + CRLF;
        ADest->WriteBuffer(text.data(), static_cast<int>(text.size()));
    }
}

TMxMessageEncoderInfoMIME::TMxMessageEncoderInfoMIME()
    : TMxMessageEncoderInfo([] { return std::make_unique<TMxMessageEncoderMIME>(); }) {}

void TMxMessageEncoderInfoMIME::PrepareHeaders(TMxMessage* AMsg) {
    const TMxMessageParts* parts = AMsg->Parts();
    const TMxBoundaries& boundaries = MIMEBoundaries();
    if (parts->RelatedAttachmentTotal() > 0) {
        AMsg->ContentType = "multipart/related; type=\"multipart/alternative\"; boundary=\"" +
                            boundaries.Related + "\"";
    } else if (parts->AttachmentTotal() > 0) {
        AMsg->ContentType = "multipart/mixed; boundary=\"" + boundaries.Base + "\"";
    } else if (parts->TextPartTotal() > 0) {
        AMsg->ContentType = "multipart/alternative; boundary=\"" + boundaries.Base + "\"";
    } else if (HeaderParameter(AMsg->ContentType, "boundary").find(boundaries.Base) !=
               AnsiString::npos) {
        // A multipart type an earlier build gave the parts since removed:
        // kept, it would announce parts the plain body does not have.
        AMsg->ContentType.clear();
    }
}

// ---------------------------------------------------------- decoder

std::unique_ptr<TMxMessageDecoder> TMxMessageDecoderInfoMIME::StartsPart(TMxMessage* AMsg,
                                                                         const AnsiString& ALine) {
    const TMxMIMEBoundary* stack = AMsg->BoundaryStack();
    if (stack->Count() == 0) return nullptr;
    if (IsDelimiterLine(ALine, "--" + stack->Boundary()))
        return std::make_unique<TMxMessageDecoderMIME>(AMsg);
    const AnsiString& transfer = AMsg->ContentTransferEncoding;
    if (SameText(transfer, "base64") || SameText(transfer, "quoted-printable")) {
        auto decoder = std::make_unique<TMxMessageDecoderMIME>(AMsg);
        decoder->PendingLine = ALine;
        decoder->HasPendingLine = true;
        return decoder;
    }
    return nullptr;
}

TMxMessageDecoderMIME::TMxMessageDecoderMIME(TMxMessage* AMsg)
    : TMxMessageDecoder(AMsg), Boundary(AMsg->BoundaryStack()->Boundary()) {
    const AnsiString& transfer = AMsg->ContentTransferEncoding;
    WholeBodyCoded = !transfer.empty() && !IsPlainTransfer(transfer);
}

void TMxMessageDecoderMIME::ReadPartHeader() {
    if (WholeBodyCoded) {
        Classify(Message()->ContentType, Message()->ContentDisposition);
        return;
    }
    int lines = 0;
    while (true) {
        const AnsiString line = ReadLine();
        if (line == ".") {
            PartKind = TMxPartKind::pkUnclassified;
            return;
        }
        if (line.empty()) break;
        if (++lines > MxMaxHeaderLines) {
            throw EMxMessageException("A MIME part header has more than " +
                                      std::to_string(MxMaxHeaderLines) + " lines");
        }
        if (line[0] == ' ' || line[0] == '\t') {
            // A folded line continues the header before it.
            const int last = PartHeaderLines.Count() - 1;
            if (last >= 0) PartHeaderLines.Put(last, PartHeaderLines[last] + " " + line.substr(1));
            continue;
        }
        const std::size_t colon = line.find(':');
        if (colon == AnsiString::npos) {
            PartHeaderLines.Add(line);
        } else {
            PartHeaderLines.Add(line.substr(0, colon) + "=" + TrimLeft(line.substr(colon + 1)));
        }
    }
    const AnsiString contentType = PartHeaderLines.Values("Content-Type");
    const AnsiString boundary = HeaderParameter(contentType, "boundary");
    if (!boundary.empty()) {
        Message()->BoundaryStack()->Push(boundary);
        Boundary = boundary;
    }
    Classify(contentType, PartHeaderLines.Values("Content-Disposition"));
}

void TMxMessageDecoderMIME::Classify(const AnsiString& AContentType,
                                     const AnsiString& ADisposition) {
    AnsiString fileName = HeaderParameter(ADisposition, "filename");
    if (fileName.empty()) fileName = HeaderParameter(AContentType, "name");
    PartFileName = DecodeMessageHeader(Trim(fileName));
    AnsiString disposition = ADisposition;
    disposition = Trim(disposition.substr(0, disposition.find(';')));
    const AnsiString contentType = Trim(AContentType);
    if (SameText(disposition, "attachment") || !PartFileName.empty()) {
        PartKind = TMxPartKind::pkAttachment;
    } else if (contentType.empty() || StartsWithText(contentType, "text/") ||
               StartsWithText(contentType, "multipart/")) {
        // A part without a content type is plain text.
        PartKind = TMxPartKind::pkText;
    } else {
        PartKind = TMxPartKind::pkAttachment;
    }
}

std::unique_ptr<TMxMessageDecoder> TMxMessageDecoderMIME::DecodeBody(TStream* ADest,
                                                                     bool& VMsgEnd) {
    VMsgEnd = false;
    const AnsiString transfer = WholeBodyCoded
                                    ? Message()->ContentTransferEncoding
                                    : PartHeaderLines.Values("Content-Transfer-Encoding");
    const std::unique_ptr<TMxDecoder> decoder = ByteDecoderFor(Trim(transfer));
    const bool base64 = SameText(Trim(transfer), "base64");
    // Base64 may be broken into lines anywhere: the characters past the
    // last whole group wait for the next line. What is left when the part
    // ends is decoded all the same, so a cut-off group is an error rather
    // than bytes dropped without a word.
    AnsiString carry;
    const auto flush = [&] {
        if (!carry.empty()) decoder->DecodeToStream(carry, ADest);
    };
    while (true) {
        AnsiString line;
        if (HasPendingLine) {
            line = PendingLine;
            HasPendingLine = false;
            PendingLine.clear();
        } else {
            line = ReadLine();
        }
        if (line == ".") {
            VMsgEnd = true;
            flush();
            return nullptr;
        }
        // The sender doubled every leading dot; take the transparency dot
        // off before the line is looked at or decoded.
        if (!line.empty() && line[0] == '.') line.erase(0, 1);
        if (!Boundary.empty()) {
            if (IsDelimiterLine(line, "--" + Boundary)) {
                flush();
                return std::make_unique<TMxMessageDecoderMIME>(Message());
            }
            if (IsDelimiterLine(line, "--" + Boundary + "--")) {
                flush();
                Message()->BoundaryStack()->Pop();
                return nullptr;
            }
        }
        if (!decoder) {
            const AnsiString text = line + CRLF;
            ADest->WriteBuffer(text.data(), static_cast<int>(text.size()));
        } else if (!base64) {
            decoder->DecodeToStream(line + CRLF, ADest);
        } else if (const AnsiString coded = TrimRight(line); !coded.empty()) {
            // Blanks a relay left at the line's end are not base64 data.
            carry += coded;
            const std::size_t whole = carry.size() / 4 * 4;
            if (whole > 0) {
                decoder->DecodeToStream(carry.substr(0, whole), ADest);
                carry.erase(0, whole);
            }
        }
    }
}

} // namespace mail
