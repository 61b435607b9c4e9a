#include "mail/MxHeaderCoder.h"

#include "mail/MxCoder3to4.h"
#include "mail/MxJis.h"
#include "platform/rtl/StrUtils.h"

#include <algorithm>
#include <array>
#include <vector>

namespace mail {

namespace {

// RFC 2047: a line that holds an encoded word is at most 76 characters, an
// encoded word at most 75.
constexpr std::size_t MaxLine = 76;
constexpr std::size_t MaxWord = 75;

bool IsWordBreak(char c) {
    return c == ' ' || c == '\t';
}

// One character of a run: a UTF-8 sequence stays in one encoded word.
std::vector<std::pair<std::size_t, std::size_t>> SplitCharacters(const AnsiString& AText) {
    std::vector<std::pair<std::size_t, std::size_t>> units;
    std::size_t i = 0;
    while (i < AText.size()) {
        const unsigned char lead = static_cast<unsigned char>(AText[i]);
        std::size_t length = 1;
        const std::size_t expected = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        while (length < expected && i + length < AText.size() &&
               (static_cast<unsigned char>(AText[i + length]) & 0xC0) == 0x80) {
            ++length;
        }
        units.emplace_back(i, length);
        i += length;
    }
    return units;
}

const AnsiString JisDoubleIn = "\x1B$B";
const AnsiString JisDoubleOut = "\x1B(B";

// The mode-switching sequence at AText[i], and whether it enters
// double-byte mode (ESC $ B, ESC $ @) or leaves it (ESC ( B, ESC ( J).
bool JisEscapeAt(const AnsiString& AText, std::size_t i, bool& VEntersDouble) {
    if (AText[i] != '\x1B' || i + 2 >= AText.size()) return false;
    if (AText[i + 1] == '$' && (AText[i + 2] == 'B' || AText[i + 2] == '@')) {
        VEntersDouble = true;
        return true;
    }
    if (AText[i + 1] == '(' && (AText[i + 2] == 'B' || AText[i + 2] == 'J')) {
        VEntersDouble = false;
        return true;
    }
    return false;
}

// The characters of ISO-2022-JP text: a JIS pair in double-byte mode, a
// byte outside it; a mode switch goes with the character after it, so a
// piece never ends on an opening switch.
std::vector<std::pair<std::size_t, std::size_t>> SplitJisCharacters(const AnsiString& AText) {
    std::vector<std::pair<std::size_t, std::size_t>> units;
    bool inDouble = false;
    std::size_t i = 0;
    while (i < AText.size()) {
        const std::size_t start = i;
        bool enters = false;
        while (i < AText.size() && JisEscapeAt(AText, i, enters)) {
            inDouble = enters;
            i += 3;
        }
        if (i < AText.size()) i += inDouble ? std::min<std::size_t>(2, AText.size() - i) : 1;
        units.emplace_back(start, i - start);
    }
    return units;
}

// Whether ISO-2022-JP text that starts in the given mode ends in
// double-byte mode.
bool JisEndsDouble(const AnsiString& AText, bool AStartsDouble) {
    bool inDouble = AStartsDouble;
    for (std::size_t i = 0; i < AText.size(); ++i) {
        bool enters = false;
        if (JisEscapeAt(AText, i, enters)) {
            inDouble = enters;
            i += 2;
        }
    }
    return inDouble;
}

// Writes a header value word by word and folds it so that every line
// holding an encoded word stays within MaxLine, counted from the column the
// value starts at (after the header's name). A fold goes in before the
// white space that stood between two words, which unfolding gives back
// exactly; inside a coded run it goes between two encoded words, where
// readers drop white space.
class HeaderWriter {
public:
    HeaderWriter(std::size_t AColumn, char AEncoding, const AnsiString& ACharSet,
                 const std::array<bool, 256>& ACoded, TMxTransfer ATransfer)
        : FColumn(AColumn), FEncoding(AEncoding), FOpening("=?" + ACharSet + "?" + AEncoding + "?"),
          FCoded(ACoded), FJis(ATransfer == TMxTransfer::iso2022jp) {}

    // White space before the next word.
    void Space(const AnsiString& AText) { FPending += AText; }

    // A word that goes as it stands; it cannot be broken.
    void Plain(const AnsiString& AWord) {
        if (FLineEncoded && !Fits(AWord.size())) Fold();
        Put(AWord);
    }

    // A run of words to code, white space between them included.
    void Encoded(const AnsiString& ARun) {
        // A run that would fit a line of its own is not broken up just to
        // fill the end of this one.
        const std::size_t whole = Coded(ARun).size() + 2;
        const std::size_t indent = FPending.empty() ? 1 : FPending.size();
        if (!Fits(whole) && whole <= MaxWord && indent + whole <= MaxLine &&
            FColumn + FPending.size() > FLineStart)
            Fold();
        const auto units = FJis ? SplitJisCharacters(ARun) : SplitCharacters(ARun);
        AnsiString word;
        // Each encoded word of ISO-2022-JP text is read on its own, so one
        // that starts or ends inside a double-byte run gets its own switch.
        bool wordStartsDouble = false;
        const auto standAlone = [&](const AnsiString& ABytes) {
            if (!FJis) return ABytes;
            AnsiString bytes = wordStartsDouble ? JisDoubleIn + ABytes : ABytes;
            if (JisEndsDouble(ABytes, wordStartsDouble)) bytes += JisDoubleOut;
            return bytes;
        };
        const auto putWord = [&]() {
            PutWord(standAlone(word));
            wordStartsDouble = FJis && JisEndsDouble(word, wordStartsDouble);
            word.clear();
        };
        for (std::size_t i = 0; i < units.size();) {
            const AnsiString longer = word + ARun.substr(units[i].first, units[i].second);
            const std::size_t length = Coded(standAlone(longer)).size() + 2;
            if (length <= MaxWord && Fits(length)) {
                word = longer;
                ++i;
            } else if (!word.empty()) {
                putWord();
                Fold();
            } else if (FColumn + FPending.size() > FLineStart) {
                Fold();
            } else {
                // Nothing else is on the line; a single character always
                // fits a word of its own.
                word = longer;
                ++i;
            }
        }
        if (!word.empty()) putWord();
    }

    AnsiString Finish() {
        Put(AnsiString());
        return FText;
    }

private:
    bool Fits(std::size_t ALength) const { return FColumn + FPending.size() + ALength <= MaxLine; }

    void Put(const AnsiString& AText) {
        FText += FPending + AText;
        FColumn += FPending.size() + AText.size();
        FPending.clear();
    }

    void PutWord(const AnsiString& ABytes) {
        Put(Coded(ABytes) + "?=");
        FLineEncoded = true;
    }

    void Fold() {
        const AnsiString indent = FPending.empty() ? AnsiString("\t") : FPending;
        FText += "\r\n" + indent;
        FColumn = indent.size();
        FLineStart = FColumn;
        FPending.clear();
        FLineEncoded = false;
    }

    AnsiString Coded(const AnsiString& ABytes) const {
        AnsiString result = FOpening;
        if (FEncoding == 'Q') {
            static const char digits[] = "0123456789ABCDEF";
            for (char c : ABytes) {
                const unsigned char b = static_cast<unsigned char>(c);
                if (c == ' ') {
                    result += '_';
                } else if (FCoded[b]) {
                    result += '=';
                    result += digits[b >> 4];
                    result += digits[b & 15];
                } else {
                    result += c;
                }
            }
        } else {
            result += MxEncodeString<TMxEncoderMIME>(ABytes);
        }
        return result;
    }

    AnsiString FText;
    AnsiString FPending;
    std::size_t FColumn;
    // Where the present line's own text starts: the value's first line may
    // be folded before its first word when the header's name leaves no
    // room for it.
    std::size_t FLineStart = 0;
    bool FLineEncoded = false;
    char FEncoding;
    AnsiString FOpening;
    const std::array<bool, 256>& FCoded;
    bool FJis;
};

struct CodingTables {
    std::array<bool, 256> Forcing{};
    std::array<bool, 256> Coded{};
};

CodingTables MakeTables(const AnsiString& AExtraSpecials) {
    CodingTables tables;
    for (int b = 0; b < 256; ++b)
        tables.Forcing[b] = b < 32 || b >= 127;
    for (char c : AExtraSpecials)
        tables.Forcing[static_cast<unsigned char>(c)] = true;
    tables.Coded = tables.Forcing;
    for (char c : AnsiString("=?_"))
        tables.Coded[static_cast<unsigned char>(c)] = true;
    return tables;
}

// Codes AHeader into AWriter: a word that holds a forcing byte, or that a
// reader would take for an encoded word, joins a coded run, with the white
// space between coded words; other words go as they stand.
void WriteHeaderText(HeaderWriter& AWriter, const AnsiString& AHeader,
                     const std::array<bool, 256>& AForcing) {
    struct Token {
        AnsiString Text;
        bool Space;
        bool NeedsCoding;
    };
    std::vector<Token> tokens;
    for (std::size_t i = 0; i < AHeader.size();) {
        const bool space = IsWordBreak(AHeader[i]);
        std::size_t j = i;
        while (j < AHeader.size() && IsWordBreak(AHeader[j]) == space)
            ++j;
        Token token{AHeader.substr(i, j - i), space, false};
        if (!space) {
            token.NeedsCoding = token.Text.find("=?") != AnsiString::npos;
            for (char c : token.Text) {
                if (AForcing[static_cast<unsigned char>(c)]) token.NeedsCoding = true;
            }
        }
        tokens.push_back(std::move(token));
        i = j;
    }

    for (std::size_t i = 0; i < tokens.size();) {
        if (tokens[i].Space) {
            AWriter.Space(tokens[i].Text);
            ++i;
        } else if (!tokens[i].NeedsCoding) {
            AWriter.Plain(tokens[i].Text);
            ++i;
        } else {
            AnsiString run = tokens[i].Text;
            std::size_t next = i + 1;
            // Take white space and a coded word after it while they come in pairs.
            while (next + 1 < tokens.size() && tokens[next].Space && tokens[next + 1].NeedsCoding) {
                run += tokens[next].Text + tokens[next + 1].Text;
                next += 2;
            }
            AWriter.Encoded(run);
            i = next;
        }
    }
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The bytes of an encoded word's text; false when it is not valid base64.
bool DecodeWordText(char AEncoding, const AnsiString& ACoded, AnsiString& AResult) {
    AResult.clear();
    if (AEncoding == 'Q' || AEncoding == 'q') {
        for (std::size_t i = 0; i < ACoded.size(); ++i) {
            const char c = ACoded[i];
            if (c == '_') {
                AResult += ' ';
            } else if (c == '=' && i + 2 < ACoded.size() && HexValue(ACoded[i + 1]) >= 0 &&
                       HexValue(ACoded[i + 2]) >= 0) {
                AResult +=
                    static_cast<char>(HexValue(ACoded[i + 1]) * 16 + HexValue(ACoded[i + 2]));
                i += 2;
            } else {
                AResult += c;
            }
        }
        return true;
    }
    std::uint32_t bits = 0;
    int count = 0;
    for (char c : ACoded) {
        if (c == '=') break;
        const std::size_t value = MxBase64Alphabet.find(c);
        if (value == AnsiString::npos) return false;
        bits = (bits << 6) | static_cast<std::uint32_t>(value);
        count += 6;
        if (count >= 8) {
            count -= 8;
            AResult += static_cast<char>((bits >> count) & 0xFF);
        }
    }
    return true;
}

} // namespace

AnsiString EncodeHeader(const AnsiString& AHeader, const AnsiString& AExtraSpecials, char AEncoding,
                        const AnsiString& ACharSet, TMxTransfer ATransfer, std::size_t AColumn) {
    const AnsiString header =
        ATransfer == TMxTransfer::iso2022jp ? ShiftJisToIso2022Jp(AHeader) : AHeader;
    if (AEncoding == '8') return header;
    const CodingTables tables = MakeTables(AExtraSpecials);
    HeaderWriter writer(AColumn, AEncoding, ACharSet, tables.Coded, ATransfer);
    WriteHeaderText(writer, header, tables.Forcing);
    return writer.Finish();
}

AnsiString DecodeHeader(const AnsiString& AHeader) {
    // A folded value is unfolded first: a line end before white space is
    // no part of the text.
    AnsiString text;
    text.reserve(AHeader.size());
    for (std::size_t i = 0; i < AHeader.size(); ++i) {
        if (AHeader[i] == '\r' && i + 2 < AHeader.size() && AHeader[i + 1] == '\n' &&
            IsWordBreak(AHeader[i + 2])) {
            ++i;
            continue;
        }
        text += AHeader[i];
    }
    std::size_t searchFrom = 0;
    std::size_t lastWordEnd = AnsiString::npos; // where the last decoded word ended
    while (true) {
        const AnsiString upper = UpperCase(text);
        const std::size_t iso = upper.find("=?ISO", searchFrom);
        const std::size_t windows = upper.find("=?WINDOWS", searchFrom);
        const std::size_t start = std::min(iso, windows);
        if (start == AnsiString::npos) break;
        const std::size_t charsetEnd = text.find('?', start + 2);
        const std::size_t encodingEnd =
            charsetEnd == AnsiString::npos ? AnsiString::npos : text.find('?', charsetEnd + 1);
        const std::size_t end =
            encodingEnd == AnsiString::npos ? AnsiString::npos : text.find("?=", encodingEnd + 1);
        if (end == AnsiString::npos) break;

        const AnsiString charset = text.substr(start + 2, charsetEnd - start - 2);
        const AnsiString encoding = text.substr(charsetEnd + 1, encodingEnd - charsetEnd - 1);
        AnsiString decoded;
        if (encoding.size() != 1 ||
            !DecodeWordText(encoding[0], text.substr(encodingEnd + 1, end - encodingEnd - 1),
                            decoded)) {
            searchFrom = start + 2; // malformed: left as it stands
            lastWordEnd = AnsiString::npos;
            continue;
        }
        if (SameText(charset, "ISO-2022-JP")) decoded = Iso2022JpToShiftJis(decoded);

        std::size_t replaceFrom = start;
        // White space between two encoded words belongs to neither.
        if (lastWordEnd != AnsiString::npos && lastWordEnd <= start &&
            text.find_first_not_of(" \t\r\n", lastWordEnd) == start) {
            replaceFrom = lastWordEnd;
        }
        text.replace(replaceFrom, end + 2 - replaceFrom, decoded);
        searchFrom = replaceFrom + decoded.size();
        lastWordEnd = searchFrom;
    }
    AnsiString result;
    for (char c : text) {
        if (c != '\0') result += c;
    }
    return result;
}

namespace {

AnsiString QuotedName(const AnsiString& AName) {
    AnsiString quoted = "\"";
    for (char c : AName) {
        if (c == '\\' || c == '"') quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

bool IsPrintable(const AnsiString& AText) {
    for (char c : AText) {
        if (c < ' ' || c > '~') return false;
    }
    return true;
}

// One address into AWriter: the display name (quoted, or coded when it
// holds a byte outside printable ASCII), then its address form followed by
// ASuffix, which stays on its line.
void WriteAddressItem(HeaderWriter& AWriter, const TMxEMailAddressItem& AItem,
                      const CodingTables& ATables, TMxTransfer ATransfer,
                      const AnsiString& ASuffix) {
    const AnsiString& name = AItem.Name();
    if (!name.empty()) {
        if (IsPrintable(name)) {
            AWriter.Plain(QuotedName(name));
        } else {
            WriteHeaderText(AWriter,
                            ATransfer == TMxTransfer::iso2022jp ? ShiftJisToIso2022Jp(name) : name,
                            ATables.Forcing);
        }
        AWriter.Space(" ");
    }
    AWriter.Plain(AItem.GetAddressForm() + ASuffix);
}

// The item as it stands when no coding is wanted.
AnsiString UncodedAddressItem(const TMxEMailAddressItem& AItem) {
    const AnsiString& name = AItem.Name();
    if (name.empty()) return AItem.GetAddressForm();
    return (IsPrintable(name) ? QuotedName(name) : name) + " " + AItem.GetAddressForm();
}

} // namespace

AnsiString EncodeAddressItem(const TMxEMailAddressItem& AItem, char AEncoding,
                             const AnsiString& ACharSet, TMxTransfer ATransfer,
                             std::size_t AColumn) {
    if (AEncoding == '8') return UncodedAddressItem(AItem);
    const CodingTables tables = MakeTables(MxAddressSpecials);
    HeaderWriter writer(AColumn, AEncoding, ACharSet, tables.Coded, ATransfer);
    WriteAddressItem(writer, AItem, tables, ATransfer, "");
    return writer.Finish();
}

AnsiString EncodeAddressList(const TMxEMailAddressList& AList, char AEncoding,
                             const AnsiString& ACharSet, TMxTransfer ATransfer,
                             std::size_t AColumn) {
    AnsiString uncoded;
    const CodingTables tables = MakeTables(MxAddressSpecials);
    HeaderWriter writer(AColumn, AEncoding, ACharSet, tables.Coded, ATransfer);
    for (int i = 0; i < AList.Count(); ++i) {
        // The comma stays with the address before it.
        const AnsiString suffix = i + 1 < AList.Count() ? "," : "";
        if (AEncoding == '8') {
            uncoded += UncodedAddressItem(*AList.Items(i)) + suffix + (suffix.empty() ? "" : " ");
            continue;
        }
        if (i > 0) writer.Space(" ");
        WriteAddressItem(writer, *AList.Items(i), tables, ATransfer, suffix);
    }
    return AEncoding == '8' ? uncoded : writer.Finish();
}

} // namespace mail
