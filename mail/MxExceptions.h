#pragma once
// The exception tree of the mail library. Every mail failure is an
// EMxException, so a caller can catch the transport's errors apart from the
// rest; the two coded errors carry the number the network or the server gave.
#include "platform/rtl/Exceptions.h"

#include <cstdint>

namespace mail {

RTL_DECLARE_EXCEPTION(EMxException, Exception);

// Errors that end an operation quietly (the peer closed as agreed).
RTL_DECLARE_EXCEPTION(EMxSilentException, EMxException);
RTL_DECLARE_EXCEPTION(EMxConnClosedGracefully, EMxSilentException);

RTL_DECLARE_EXCEPTION(EMxFailedToRetreiveTimeZoneInfo, EMxException);
RTL_DECLARE_EXCEPTION(EMxEndOfStream, EMxException);
RTL_DECLARE_EXCEPTION(EMxEmailParseError, EMxException);

// A failed socket call, with the Winsock-style error code.
class EMxSocketError : public EMxException {
public:
    EMxSocketError(std::int32_t ALastError, AnsiString AMessage)
        : EMxException(std::move(AMessage)), LastError(ALastError) {}
    const char* ClassName() const noexcept override { return "EMxSocketError"; }

    std::int32_t LastError;
};

// A server reply outside the expected codes, with the reply's code.
class EMxProtocolReplyError : public EMxException {
public:
    EMxProtocolReplyError(std::int32_t AReplyErrorCode, AnsiString AMessage)
        : EMxException(std::move(AMessage)), ReplyErrorCode(AReplyErrorCode) {}
    const char* ClassName() const noexcept override { return "EMxProtocolReplyError"; }

    std::int32_t ReplyErrorCode;
};

} // namespace mail
