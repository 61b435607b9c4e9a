#pragma once
// Quoted-printable (RFC 2045): printable ASCII stays readable, every other
// byte becomes "=" and two hex digits, and long lines get soft breaks.
#include "mail/MxCoder.h"

namespace mail {

class TMxEncoderQuotedPrintable : public TMxEncoder {
public:
    using TMxEncoder::TMxEncoder;
    AnsiString ClassName() const override { return "TMxEncoderQuotedPrintable"; }

    // CR LF pairs stay line breaks; every output line is at most 76
    // characters, the soft break's "=" included.
    AnsiString Encode(TStream* ASrcStream, int ABytes = MxAllBytes) override;
};

class TMxDecoderQuotedPrintable : public TMxDecoder {
public:
    using TMxDecoder::TMxDecoder;
    AnsiString ClassName() const override { return "TMxDecoderQuotedPrintable"; }

    void DecodeToStream(const AnsiString& AIn, TStream* ADestStream) override;
    // The same, decoded straight into the result.
    AnsiString DecodeString(const AnsiString& AIn) override;
};

} // namespace mail
