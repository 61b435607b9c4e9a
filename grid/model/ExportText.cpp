#include "grid/model/ExportText.h"

#include "platform/rtl/StrUtils.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace grid {

namespace {

constexpr char32_t StandIn = 0xFFFD;

// The code point at Text[At], moving At past it; a byte that starts no
// well-formed sequence (overlong, surrogate, beyond U+10FFFF) gives the
// stand-in and moves one byte.
char32_t NextCodePoint(const AnsiString& Text, std::size_t& At) {
    const auto B = [&Text](std::size_t I) { return static_cast<unsigned char>(Text[I]); };
    const unsigned char Lead = B(At);
    if (Lead < 0x80) {
        ++At;
        return Lead;
    }
    int Length = 0;
    char32_t Cp = 0;
    if (Lead >= 0xC2 && Lead <= 0xDF) {
        Length = 2;
        Cp = Lead & 0x1F;
    } else if (Lead >= 0xE0 && Lead <= 0xEF) {
        Length = 3;
        Cp = Lead & 0x0F;
    } else if (Lead >= 0xF0 && Lead <= 0xF4) {
        Length = 4;
        Cp = Lead & 0x07;
    }
    if (Length == 0 || At + static_cast<std::size_t>(Length) > Text.size()) {
        ++At;
        return StandIn;
    }
    for (int I = 1; I < Length; ++I) {
        const unsigned char Next = B(At + static_cast<std::size_t>(I));
        if ((Next & 0xC0) != 0x80) {
            ++At;
            return StandIn;
        }
        Cp = (Cp << 6) | (Next & 0x3F);
    }
    const bool Overlong = (Length == 3 && Cp < 0x800) || (Length == 4 && Cp < 0x10000);
    if (Overlong || (Cp >= 0xD800 && Cp <= 0xDFFF) || Cp > 0x10FFFF) {
        ++At;
        return StandIn;
    }
    At += static_cast<std::size_t>(Length);
    return Cp;
}

bool XMLCarries(char32_t Cp) {
    if (Cp < 0x20) return Cp == 0x09 || Cp == 0x0A || Cp == 0x0D;
    return Cp != 0xFFFE && Cp != 0xFFFF;
}

bool Latin1Letter(char32_t Cp) {
    return Cp >= 0xC0 && Cp <= 0xFF && Cp != 0xD7 && Cp != 0xF7;
}

bool NameStart(char32_t Cp) {
    return (Cp < 0x80 && (std::isalpha(static_cast<int>(Cp)) || Cp == '_')) || Latin1Letter(Cp);
}

bool NamePart(char32_t Cp) {
    return NameStart(Cp) ||
           (Cp < 0x80 && (std::isdigit(static_cast<int>(Cp)) || Cp == '-' || Cp == '.'));
}

// A character in the charset, or as a character reference.
void AppendIn(AnsiString& Out, char32_t Cp, TgxXMLCharset Charset) {
    const char32_t Limit = Charset == TgxXMLCharset::Latin1 ? 0x100 : 0x80;
    if (Charset == TgxXMLCharset::Utf8 || Cp < 0x80)
        AppendUtf8(Out, Cp);
    else if (Cp < Limit)
        Out += static_cast<char>(Cp);
    else
        Out += "&#" + std::to_string(static_cast<unsigned long>(Cp)) + ";";
}

AnsiString Upper(AnsiString Text) {
    std::transform(Text.begin(), Text.end(), Text.begin(),
                   [](unsigned char C) { return static_cast<char>(std::toupper(C)); });
    return Text;
}

} // namespace

const char* XMLEncodingName(TgxXMLCharset Charset) {
    switch (Charset) {
    case TgxXMLCharset::Latin1:
        return "ISO-8859-1";
    case TgxXMLCharset::Ascii:
        return "US-ASCII";
    default:
        return "UTF-8";
    }
}

bool XMLCharsetFor(const AnsiString& Encoding, TgxXMLCharset& Charset) {
    const AnsiString Name = Upper(Encoding);
    if (Name.empty() || Name == "UTF-8" || Name == "UTF8") {
        Charset = TgxXMLCharset::Utf8;
        return true;
    }
    if (Name == "ISO-8859-1" || Name == "ISO8859-1" || Name == "ISO_8859-1" ||
        Name == "LATIN1" || Name == "LATIN-1") {
        Charset = TgxXMLCharset::Latin1;
        return true;
    }
    if (Name == "US-ASCII" || Name == "ASCII") {
        Charset = TgxXMLCharset::Ascii;
        return true;
    }
    return false;
}

AnsiString XMLAttributeText(const AnsiString& Text, TgxXMLCharset Charset) {
    AnsiString Out;
    Out.reserve(Text.size() + 8);
    for (std::size_t At = 0; At < Text.size();) {
        const char32_t Cp = NextCodePoint(Text, At);
        switch (Cp) {
        case '&':
            Out += "&amp;";
            break;
        case '\'':
            Out += "&apos;";
            break;
        case '"':
            Out += "&quot;";
            break;
        case '<':
            Out += "&lt;";
            break;
        case '>':
            Out += "&gt;";
            break;
        case '\t':
            Out += "&#9;";
            break;
        case '\n':
            Out += "&#10;";
            break;
        case '\r':
            Out += "&#13;";
            break;
        default:
            AppendIn(Out, XMLCarries(Cp) ? Cp : StandIn, Charset);
        }
    }
    return Out;
}

AnsiString XMLNameText(const AnsiString& Heading) {
    AnsiString Out;
    bool First = true;
    for (std::size_t At = 0; At < Heading.size();) {
        const char32_t Cp = NextCodePoint(Heading, At);
        AppendUtf8(Out, (First ? NameStart(Cp) : NamePart(Cp)) ? Cp : U'_');
        First = false;
    }
    return Out.empty() ? AnsiString("_") : Out;
}

AnsiString XMLNameIn(const AnsiString& Name, TgxXMLCharset Charset) {
    if (Charset == TgxXMLCharset::Utf8) return Name;
    AnsiString Out;
    for (std::size_t At = 0; At < Name.size();) {
        const char32_t Cp = NextCodePoint(Name, At);
        if (Cp < 0x80)
            Out += static_cast<char>(Cp);
        else
            Out += Charset == TgxXMLCharset::Latin1 && Cp < 0x100 ? static_cast<char>(Cp) : '_';
    }
    return Out;
}

AnsiString CSVText(const AnsiString& Text) {
    AnsiString Out;
    Out.reserve(Text.size());
    for (std::size_t At = 0; At < Text.size();)
        AppendUtf8(Out, NextCodePoint(Text, At));
    return Out;
}

} // namespace grid
