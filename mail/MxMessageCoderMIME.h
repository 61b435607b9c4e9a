#pragma once
// The MIME message coders: attachments as base64 lines, the multipart
// content type with its boundary, and the reader of MIME parts (part
// header, then the body up to the next boundary). The three boundaries are
// made once per run.
#include "mail/MxMessageCoder.h"

#include <cstdint>

namespace mail {

struct TMxBoundaries {
    AnsiString Base;        // 34 characters holding "=_"
    AnsiString Alternative; // a lower-case letter and the base boundary
    AnsiString Related;     // an upper-case letter and the alternative one
};

// The boundaries drawn from ASeed.
TMxBoundaries MakeMIMEBoundaries(std::uint32_t ASeed);
// This run's boundaries, drawn from a random seed on first use.
const TMxBoundaries& MIMEBoundaries();

class TMxMessageEncoderMIME : public TMxMessageEncoder {
public:
    using TMxMessageEncoder::TMxMessageEncoder;
    AnsiString ClassName() const override { return "TMxMessageEncoderMIME"; }

    // 57 bytes to a line of 76 base64 characters.
    void EncodeStream(TStream* ASrc, TStream* ADest) override;
};

class TMxMessageEncoderInfoMIME : public TMxMessageEncoderInfo {
public:
    TMxMessageEncoderInfoMIME();
    AnsiString ClassName() const override { return "TMxMessageEncoderInfoMIME"; }

    // A multipart content type with its boundary when the message has parts.
    void PrepareHeaders(TMxMessage* AMsg) override;
};

class TMxMessageDecoderMIME : public TMxMessageDecoder {
public:
    // Takes the message's top boundary.
    explicit TMxMessageDecoderMIME(TMxMessage* AMsg);
    AnsiString ClassName() const override { return "TMxMessageDecoderMIME"; }

    std::unique_ptr<TMxMessageDecoder> DecodeBody(TStream* ADest, bool& VMsgEnd) override;
    void ReadPartHeader() override;

    AnsiString Boundary;
    bool WholeBodyCoded = false;
    // A body line read before the decoder started; decoded first.
    AnsiString PendingLine;
    bool HasPendingLine = false;

private:
    void Classify(const AnsiString& AContentType, const AnsiString& ADisposition);
};

class TMxMessageDecoderInfoMIME : public TMxMessageDecoderInfo {
public:
    AnsiString ClassName() const override { return "TMxMessageDecoderInfoMIME"; }
    std::unique_ptr<TMxMessageDecoder> StartsPart(TMxMessage* AMsg,
                                                  const AnsiString& ALine) override;
};

} // namespace mail
