#pragma once
// Header values outside printable ASCII as RFC 2047 encoded words
// ("=?charset?Q?...?=" / "=?charset?B?...?="), and addresses coded for the
// From, To and Cc headers.
#include "mail/MxEmailAddress.h"
#include "platform/rtl/AnsiString.h"

#include <cstdint>

namespace mail {

enum class TMxTransfer : std::uint8_t { bit7, bit8, iso2022jp };

// The specials of an address's display name.
inline constexpr const char* MxAddressSpecials = "\"(),.:;<>@[]\\";

// Codes the words of AHeader that hold a byte outside printable ASCII (or
// one of AExtraSpecials). AEncoding is 'Q', 'B' or '8' (no coding); in
// iso2022jp mode the Shift_JIS text is converted first. Runs that would make
// a line longer than 75 characters continue on a line of their own
// (CR LF TAB). CR and LF are always coded, so a value can never start a
// header line of its own.
AnsiString EncodeHeader(const AnsiString& AHeader, const AnsiString& AExtraSpecials, char AEncoding,
                        const AnsiString& ACharSet, TMxTransfer ATransfer);

// Replaces the encoded words of ISO-* and WINDOWS-* character sets by their
// bytes (ISO-2022-JP converted to Shift_JIS). White space between two
// encoded words is dropped; malformed words stay as they stand.
AnsiString DecodeHeader(const AnsiString& AHeader);

AnsiString EncodeAddressItem(const TMxEMailAddressItem& AItem, char AEncoding,
                             const AnsiString& ACharSet, TMxTransfer ATransfer);
// The coded items joined by ", ".
AnsiString EncodeAddressList(const TMxEMailAddressList& AList, char AEncoding,
                             const AnsiString& ACharSet, TMxTransfer ATransfer);

} // namespace mail
