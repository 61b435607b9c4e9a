#include "mail/MxCoder.h"

#include "mail/MxReadMemoryStream.h"

namespace mail {

AnsiString TMxEncoder::EncodeString(const AnsiString& AIn) {
    TMxReadMemoryStream stream;
    stream.SetBlock(AIn.data(), static_cast<std::int64_t>(AIn.size()));
    return Encode(&stream, MxAllBytes);
}

AnsiString TMxDecoder::DecodeString(const AnsiString& AIn) {
    TStringStream stream;
    DecodeToStream(AIn, &stream);
    return stream.DataString();
}

} // namespace mail
