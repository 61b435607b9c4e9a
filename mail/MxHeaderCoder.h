#pragma once
// Header values outside printable ASCII as RFC 2047 encoded words
// ("=?charset?Q?...?=" / "=?charset?B?...?="), and addresses coded for the
// From, To and Cc headers.
#include "mail/MxEmailAddress.h"
#include "platform/rtl/AnsiString.h"

#include <cstddef>
#include <cstdint>

namespace mail {

enum class TMxTransfer : std::uint8_t { bit7, bit8, iso2022jp };

// The specials of an address's display name.
inline constexpr const char* MxAddressSpecials = "\"(),.:;<>@[]\\";

// Codes the words of AHeader that hold a byte outside printable ASCII (or
// one of AExtraSpecials, or that read like an encoded word). AEncoding is
// 'Q', 'B' or '8' (no coding); in iso2022jp mode the Shift_JIS text is
// converted first. AColumn is where the value starts on its line (the
// header's name, colon and space): the value is folded so that every line
// that holds an encoded word is at most 76 characters and every encoded
// word at most 75. CR and LF are always coded, so a value can never start
// a header line of its own.
AnsiString EncodeHeader(const AnsiString& AHeader, const AnsiString& AExtraSpecials, char AEncoding,
                        const AnsiString& ACharSet, TMxTransfer ATransfer, std::size_t AColumn = 0);

// Unfolds the value and replaces the encoded words of ISO-* and WINDOWS-*
// character sets by their bytes (ISO-2022-JP converted to Shift_JIS). White space between two
// encoded words is dropped; malformed words stay as they stand.
AnsiString DecodeHeader(const AnsiString& AHeader);

// The display name (quoted, or coded when it holds a byte outside
// printable ASCII) and the address form, folded as EncodeHeader folds.
AnsiString EncodeAddressItem(const TMxEMailAddressItem& AItem, char AEncoding,
                             const AnsiString& ACharSet, TMxTransfer ATransfer,
                             std::size_t AColumn = 0);
// The coded items joined by ", ".
AnsiString EncodeAddressList(const TMxEMailAddressList& AList, char AEncoding,
                             const AnsiString& ACharSet, TMxTransfer ATransfer,
                             std::size_t AColumn = 0);

} // namespace mail
