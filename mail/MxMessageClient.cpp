#include "mail/MxMessageClient.h"

#include "mail/MxCoderQuotedPrintable.h"
#include "mail/MxMessage.h"
#include "mail/MxMessageCoder.h"
#include "mail/MxMessageCoderMIME.h"
#include "mail/MxMessageOutput.h"
#include "mail/MxTCPStream.h"
#include "mail/MxTempFiles.h"
#include "platform/rtl/StrUtils.h"

#include <cstdio>
#include <vector>

namespace mail {

namespace {

const AnsiString Preamble = "This is a multi-part message in MIME format";
const AnsiString EncodingText = "Encoding text";
const AnsiString EncodingAttachment = "Encoding attachment";
const AnsiString Indent = "        ";

// Ends StartWork's bracket also when an exception leaves it.
class TWorkScope {
public:
    TWorkScope(TMxComponent& AComponent, TWorkMode AMode) : FComponent(AComponent), FMode(AMode) {
        FComponent.StartWork(FMode, 0);
    }
    ~TWorkScope() { FComponent.FinishWork(FMode); }
    TWorkScope(const TWorkScope&) = delete;
    TWorkScope& operator=(const TWorkScope&) = delete;

private:
    TMxComponent& FComponent;
    TWorkMode FMode;
};

// A line of a string list cut at the line ends inside it.
std::vector<AnsiString> SplitLines(const AnsiString& ALine) {
    std::vector<AnsiString> pieces(1);
    for (std::size_t i = 0; i < ALine.size(); ++i) {
        const char c = ALine[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < ALine.size() && ALine[i + 1] == '\n') ++i;
            pieces.emplace_back();
        } else {
            pieces.back() += c;
        }
    }
    return pieces;
}

// A file name as a quoted header parameter. A line end would start a header
// line of its own inside the part header, so it is refused.
AnsiString QuotedFileName(const AnsiString& AName) {
    AnsiString quoted = "\"";
    for (char c : AName) {
        if (c == '\r' || c == '\n' || c == '\0') {
            throw EMxMessageException("The attachment name \"" + AName +
                                      "\" holds a line end or NUL character");
        }
        if (c == '"' || c == '\\') quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

// Decoded text kept in memory, up to a limit.
class TTextSink : public TStream {
public:
    explicit TTextSink(std::size_t ALimit) : FLimit(ALimit) {}
    AnsiString ClassName() const override { return "TTextSink"; }
    int Read(void*, int) override { return 0; }
    std::int64_t Seek(std::int64_t, TSeekOrigin) override { return -1; }
    int Write(const void* Buffer, int Count) override {
        if (Count <= 0) return 0;
        if (static_cast<std::size_t>(Count) > FLimit - Text.size()) {
            throw EMxMessageException("The message's text is larger than " +
                                      std::to_string(MxMaxMessageText) + " bytes");
        }
        Text.append(static_cast<const char*>(Buffer), static_cast<std::size_t>(Count));
        return Count;
    }
    AnsiString Text;

private:
    std::size_t FLimit;
};

} // namespace

// The message output for the outermost write operation: made on entry,
// emptied onto the connection when the operation completes, dropped when
// it fails.
class TMxMessageClient::TOutputScope {
public:
    explicit TOutputScope(TMxMessageClient& AClient)
        : FClient(AClient), FOuter(AClient.FOutput == nullptr) {
        if (FOuter) {
            FClient.FOutput = std::make_unique<TMxMessageOutput>(
                [&AClient](const AnsiString& AText) { AClient.TMxTCPClient::Write(AText); });
        }
    }
    ~TOutputScope() {
        if (FOuter) FClient.FOutput.reset();
    }
    TOutputScope(const TOutputScope&) = delete;
    TOutputScope& operator=(const TOutputScope&) = delete;

    void Finish() {
        if (FOuter) FClient.FOutput->Flush();
    }

private:
    TMxMessageClient& FClient;
    bool FOuter;
};

TMxMessageClient::TMxMessageClient(TComponent* AOwner) : TMxTCPClient(AOwner) {}

TMxMessageClient::~TMxMessageClient() = default;

void TMxMessageClient::Write(const AnsiString& AText) {
    if (FOutput) {
        FOutput->WriteText(AText);
    } else {
        TMxTCPClient::Write(AText);
    }
}

void TMxMessageClient::WriteLine(const AnsiString& AText) {
    if (FOutput) {
        FOutput->WriteLine(AText);
    } else {
        TMxTCPClient::WriteLine(AText);
    }
}

// ---------------------------------------------------------- writing

void TMxMessageClient::WriteMessageWithEnd(TMxMessage* AMsg, const AnsiString& AEndLine) {
    TOutputScope output(*this);
    WriteMessage(AMsg, false);
    FOutput->WriteEnd(AEndLine);
    output.Finish();
}

void TMxMessageClient::WriteMessage(TMxMessage* AMsg, bool AHeadersOnly) {
    TOutputScope output(*this);
    if (AMsg->NoEncode) {
        WriteLines(AMsg->RawHeaders());
        WriteLine("");
        if (!AHeadersOnly) WriteLines(AMsg->Body());
    } else {
        WriteHeader(AMsg);
        WriteLine("");
        if (!AHeadersOnly) WriteBody(AMsg);
    }
    output.Finish();
}

void TMxMessageClient::WriteHeader(TMxMessage* AMsg) {
    TOutputScope output(*this);
    const std::unique_ptr<TMxHeaderList> headers = AMsg->BuildHeaders(FEightBitAllowed);
    WriteLines(headers.get());
    output.Finish();
}

void TMxMessageClient::WriteBodyLines(TMxMessage* AMsg) {
    TOutputScope output(*this);
    const TStringList* body = AMsg->Body();
    if (SameText(AMsg->BodyTransferEncoding(FEightBitAllowed), "quoted-printable")) {
        WriteQuotedPrintable(*body);
    } else {
        for (int i = 0; i < body->Count(); ++i)
            WriteLine(body->Strings(i));
    }
    output.Finish();
}

void TMxMessageClient::WriteQuotedPrintable(const TStringList& ALines) {
    // Each line of the text is coded with its own CR LF; the output
    // dot-stuffs what the coder made.
    TMxEncoderQuotedPrintable coder;
    for (int i = 0; i < ALines.Count(); ++i) {
        for (const AnsiString& line : SplitLines(ALines.Strings(i)))
            Write(coder.EncodeString(line + "\r\n"));
    }
}

void TMxMessageClient::WriteBody(TMxMessage* AMsg) {
    TOutputScope output(*this);
    TWorkScope work(*this, TWorkMode::workWrite);
    AMsg->RecountParts();
    if (AMsg->Encoding() == TMxMessageEncoding::meMIME) {
        WriteMIMEBody(AMsg);
    } else {
        WriteUUBody(AMsg);
    }
    output.Finish();
}

void TMxMessageClient::WriteMIMEBody(TMxMessage* AMsg) {
    const TMxMessageParts* parts = AMsg->Parts();
    const TMxBoundaries& boundaries = MIMEBoundaries();
    std::vector<TMxText*> texts;
    std::vector<TMxAttachment*> attachments;
    for (int i = 0; i < parts->Count(); ++i) {
        if (auto* text = dynamic_cast<TMxText*>(parts->Items(i))) texts.push_back(text);
        if (auto* attachment = dynamic_cast<TMxAttachment*>(parts->Items(i)))
            attachments.push_back(attachment);
    }

    if (attachments.empty()) {
        // Any text part makes the header declare a multipart, so the parts
        // go between boundaries and take the body's place, as they do
        // beside attachments; plain lines under that header would reach the
        // reader as a multipart without parts.
        if (!texts.empty()) {
            WriteLine(Preamble);
            WriteLine("");
            for (TMxText* text : texts) {
                WriteLine("--" + boundaries.Base);
                ReportStatus(TMxStatus::stStatusText, EncodingText);
                WriteTextPart(text);
            }
            WriteLine("--" + boundaries.Base + "--");
        } else {
            ReportStatus(TMxStatus::stStatusText, EncodingText);
            WriteBodyLines(AMsg);
        }
        return;
    }

    const AnsiString& boundary =
        parts->RelatedAttachmentTotal() > 0 ? boundaries.Related : boundaries.Base;
    WriteLine(Preamble);
    WriteLine("");
    WriteLine("--" + boundary);
    if (texts.size() == 1) {
        ReportStatus(TMxStatus::stStatusText, EncodingText);
        WriteTextPart(texts.front());
    } else if (texts.empty()) {
        // The body beside the attachments says how its bytes travel, as a
        // body standing alone does.
        const AnsiString transfer = AMsg->BodyTransferEncoding(FEightBitAllowed);
        WriteLine("Content-Type: text/plain; charset=\"" + AMsg->BodyCharSet() + "\"");
        WriteLine("Content-Transfer-Encoding: " + transfer);
        WriteLine("");
        WriteBodyLines(AMsg);
    } else {
        WriteLine("Content-Type: multipart/alternative; ");
        WriteLine(Indent + "boundary=\"" + boundaries.Alternative + "\"");
        WriteLine("");
        for (TMxText* text : texts) {
            WriteLine("--" + boundaries.Alternative);
            ReportStatus(TMxStatus::stStatusText, EncodingText);
            WriteTextPart(text);
            WriteLine("");
        }
        WriteLine("--" + boundaries.Alternative + "--");
    }
    for (TMxAttachment* attachment : attachments) {
        ReportStatus(TMxStatus::stStatusText, EncodingAttachment);
        WriteAttachmentPart(attachment, boundary);
    }
    WriteLine("--" + boundary + "--");
}

void TMxMessageClient::WriteUUBody(TMxMessage* AMsg) {
    const TMxMessageParts* parts = AMsg->Parts();
    if (parts->AttachmentTotal() == 0) {
        ReportStatus(TMxStatus::stStatusText, EncodingText);
        WriteBodyLines(AMsg);
        return;
    }
    WriteBodyLines(AMsg);
    WriteLine("");
    for (int i = 0; i < parts->Count(); ++i) {
        auto* attachment = dynamic_cast<TMxAttachment*>(parts->Items(i));
        if (attachment == nullptr) continue;
        ReportStatus(TMxStatus::stStatusText, EncodingAttachment);
        attachment->Encode(FOutput.get());
        WriteLine("");
    }
}

void TMxMessageClient::WriteTextPart(TMxText* AText) {
    if (AText->ContentType().empty()) AText->SetContentType("text/plain");
    if (AText->ContentTransfer().empty()) AText->SetContentTransfer("quoted-printable");
    const AnsiString transfer = AText->ContentTransfer();
    WriteLine("Content-Type: " + AText->ContentType());
    WriteLine("Content-Transfer-Encoding: " + transfer);
    if (!AText->ContentID().empty()) WriteLine("Content-Id: " + AText->ContentID());
    WriteLines(AText->ExtraHeaders());
    WriteLine("");
    const TStringList* body = AText->Body();
    if (SameText(transfer, "quoted-printable")) {
        WriteQuotedPrintable(*body);
    } else {
        for (int i = 0; i < body->Count(); ++i)
            WriteLine(body->Strings(i));
    }
    WriteLine("");
}

void TMxMessageClient::WriteAttachmentPart(TMxAttachment* AAttachment,
                                           const AnsiString& ABoundary) {
    AnsiString transfer = AAttachment->ContentTransfer();
    if (transfer.empty()) transfer = "base64";
    AnsiString disposition = AAttachment->ContentDisposition();
    if (disposition.empty()) disposition = "attachment";
    AnsiString contentType = AAttachment->ContentType();
    if (contentType.empty() && SameText(transfer, "base64"))
        contentType = "application/octet-stream";
    const AnsiString fileName = QuotedFileName(FileNamePart(AAttachment->AttachmentName));

    WriteLine("");
    WriteLine("--" + ABoundary);
    WriteLine("Content-Type: " + contentType + ";");
    WriteLine(Indent + "name=" + fileName);
    WriteLine("Content-Transfer-Encoding: " + transfer);
    WriteLine("Content-Disposition: " + disposition + ";");
    WriteLine(Indent + "filename=" + fileName);
    if (!AAttachment->ContentID().empty()) WriteLine("Content-Id: " + AAttachment->ContentID());
    WriteLines(AAttachment->ExtraHeaders());
    WriteLine("");
    AAttachment->Encode(FOutput.get());
    WriteLine("");
}

// ---------------------------------------------------------- reading

void TMxMessageClient::ReadHeader(TMxMessage* AMsg, const AnsiString& AAltTerm) {
    {
        TWorkScope work(*this, TWorkMode::workRead);
        int lines = 0;
        while (true) {
            const AnsiString line = ReadLine();
            if (AAltTerm.empty() ? (line.empty() || line == ".") : line == AAltTerm) break;
            if (line.empty()) continue;
            if (++lines > MxMaxHeaderLines) {
                throw EMxMessageException("The message header has more than " +
                                          std::to_string(MxMaxHeaderLines) + " lines");
            }
            AMsg->RawHeaders()->Add(line);
        }
    }
    AMsg->ApplyHeaders();
}

void TMxMessageClient::ReadBody(TMxMessage* AMsg, const AnsiString& ADelim) {
    if (AMsg->NoDecode) {
        int count = 0;
        CaptureLines(AMsg->Body(), count, true, ADelim);
        return;
    }
    TWorkScope work(*this, TWorkMode::workRead);
    TMxMessageParts* parts = AMsg->Parts();
    std::size_t textSize = 0; // of the body and the text parts together
    std::unique_ptr<TMxMessageDecoder> decoder;
    bool msgEnd = false;
    while (!msgEnd) {
        if (!decoder) {
            AnsiString line = ReadLine();
            if (line == ADelim) break;
            decoder = TMxMessageDecoderList::CheckForStart(AMsg, line);
            if (!decoder) {
                if (line.size() >= 2 && line[0] == '.' && line[1] == '.') line.erase(0, 1);
                textSize += line.size() + 2;
                if (textSize > MxMaxMessageText) {
                    throw EMxMessageException("The message's text is larger than " +
                                              std::to_string(MxMaxMessageText) + " bytes");
                }
                AMsg->Body()->Add(line);
                continue;
            }
        }
        decoder->SetSource(new TMxTCPStream(this), true);
        decoder->ReadPartHeader();
        if (parts->Count() >= MxMaxMessageParts) {
            throw EMxMessageException("The message has more than " +
                                      std::to_string(MxMaxMessageParts) + " parts");
        }
        std::unique_ptr<TMxMessageDecoder> next;
        switch (decoder->PartKind) {
        case TMxPartKind::pkText: {
            TTextSink text(MxMaxMessageText - textSize);
            next = decoder->DecodeBody(&text, msgEnd);
            textSize += text.Text.size();
            auto* part = new TMxText(parts);
            part->RawHeaders()->AddEqualsLines(&decoder->PartHeaderLines);
            part->Body()->SetText(text.Text);
            break;
        }
        case TMxPartKind::pkAttachment: {
            const AnsiString fileName = MakeTempFileName();
            try {
                TFileStream data(fileName, fmCreate);
                next = decoder->DecodeBody(&data, msgEnd);
            } catch (...) {
                std::remove(fileName.c_str());
                throw;
            }
            auto* part = new TMxAttachment(parts, fileName);
            part->AttachmentName = decoder->PartFileName;
            part->DeleteDataFile = AMsg->DeleteTempFiles;
            part->RawHeaders()->AddEqualsLines(&decoder->PartHeaderLines);
            break;
        }
        default:
            throw EMxException("Unknown Message Part Type.");
        }
        decoder = std::move(next);
    }
    // A body that stands alone in quoted-printable, as the writer sends one
    // with long lines, control bytes or (without 8BITMIME) 8-bit text.
    if (parts->Count() == 0 && SameText(Trim(AMsg->ContentTransferEncoding), "quoted-printable")) {
        AnsiString coded;
        for (int i = 0; i < AMsg->Body()->Count(); ++i)
            coded += AMsg->Body()->Strings(i) + "\r\n";
        TTextSink text(MxMaxMessageText);
        TMxDecoderQuotedPrintable().DecodeToStream(coded, &text);
        AMsg->Body()->SetText(text.Text);
    }
}

} // namespace mail
