#include "mail/MxHeaderCoder.h"

#include "mail/MxCoder3to4.h"
#include "mail/MxJis.h"
#include "platform/rtl/StrUtils.h"

#include <array>
#include <vector>

namespace mail {

namespace {

constexpr std::size_t MaxLine = 75;

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

class RunWriter {
public:
    RunWriter(AnsiString& AOut, std::size_t& ALineLength, char AEncoding,
              const AnsiString& ACharSet, const std::array<bool, 256>& ACoded)
        : FOut(AOut), FLineLength(ALineLength), FEncoding(AEncoding),
          FOpening("=?" + ACharSet + "?" + AEncoding + "?"), FCoded(ACoded) {}

    void Write(const AnsiString& ARun) {
        AnsiString word;
        for (const auto& [start, length] : SplitCharacters(ARun)) {
            const AnsiString unit = ARun.substr(start, length);
            if (!word.empty() && FLineLength + Coded(word + unit).size() + 2 > MaxLine) {
                Flush(word);
                FOut += "\r\n\t";
                FLineLength = 1;
                word.clear();
            }
            word += unit;
        }
        Flush(word);
    }

private:
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

    void Flush(const AnsiString& AWord) {
        const AnsiString coded = Coded(AWord) + "?=";
        FOut += coded;
        FLineLength += coded.size();
    }

    AnsiString& FOut;
    std::size_t& FLineLength;
    char FEncoding;
    AnsiString FOpening;
    const std::array<bool, 256>& FCoded;
};

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
                        const AnsiString& ACharSet, TMxTransfer ATransfer) {
    const AnsiString header =
        ATransfer == TMxTransfer::iso2022jp ? ShiftJisToIso2022Jp(AHeader) : AHeader;
    if (AEncoding == '8') return header;

    std::array<bool, 256> forcing{};
    for (int b = 0; b < 256; ++b)
        forcing[b] = b < 32 || b >= 127;
    for (char c : AExtraSpecials)
        forcing[static_cast<unsigned char>(c)] = true;
    std::array<bool, 256> coded = forcing;
    for (char c : AnsiString("=?_"))
        coded[static_cast<unsigned char>(c)] = true;

    // Alternating white space and words; a word that holds a forcing byte
    // joins the coded run, with the white space between coded words.
    struct Token {
        AnsiString Text;
        bool Space;
        bool NeedsCoding;
    };
    std::vector<Token> tokens;
    for (std::size_t i = 0; i < header.size();) {
        const bool space = IsWordBreak(header[i]);
        std::size_t j = i;
        while (j < header.size() && IsWordBreak(header[j]) == space)
            ++j;
        Token token{header.substr(i, j - i), space, false};
        if (!space) {
            for (char c : token.Text) {
                if (forcing[static_cast<unsigned char>(c)]) token.NeedsCoding = true;
            }
        }
        tokens.push_back(std::move(token));
        i = j;
    }

    AnsiString out;
    std::size_t lineLength = 0;
    RunWriter writer(out, lineLength, AEncoding, ACharSet, coded);
    for (std::size_t i = 0; i < tokens.size();) {
        if (!tokens[i].NeedsCoding) {
            out += tokens[i].Text;
            lineLength += tokens[i].Text.size();
            ++i;
            continue;
        }
        AnsiString run = tokens[i].Text;
        std::size_t next = i + 1;
        // Take white space and a coded word after it while they come in pairs.
        while (next + 1 < tokens.size() && tokens[next].Space && tokens[next + 1].NeedsCoding) {
            run += tokens[next].Text + tokens[next + 1].Text;
            next += 2;
        }
        writer.Write(run);
        i = next;
    }
    return out;
}

AnsiString DecodeHeader(const AnsiString& AHeader) {
    AnsiString text = AHeader;
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

AnsiString EncodeAddressItem(const TMxEMailAddressItem& AItem, char AEncoding,
                             const AnsiString& ACharSet, TMxTransfer ATransfer) {
    const AnsiString& name = AItem.Name();
    if (name.empty()) return AItem.GetAddressForm();
    bool printable = true;
    for (char c : name) {
        if (c < ' ' || c > '~') printable = false;
    }
    AnsiString coded;
    if (!printable) {
        coded = EncodeHeader(name, MxAddressSpecials, AEncoding, ACharSet, ATransfer);
    } else {
        coded = "\"";
        for (char c : name) {
            if (c == '\\' || c == '"') coded += '\\';
            coded += c;
        }
        coded += "\"";
    }
    return coded + " " + AItem.GetAddressForm();
}

AnsiString EncodeAddressList(const TMxEMailAddressList& AList, char AEncoding,
                             const AnsiString& ACharSet, TMxTransfer ATransfer) {
    AnsiString result;
    for (int i = 0; i < AList.Count(); ++i) {
        if (i > 0) result += ", ";
        result += EncodeAddressItem(*AList.Items(i), AEncoding, ACharSet, ATransfer);
    }
    return result;
}

} // namespace mail
