#include "platform/registry/RegistryText.h"

#include <cstdint>
#include <string_view>

namespace registry_store {

namespace {

const char HexDigits[] = "0123456789abcdef";

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

AnsiString Quoted(const AnsiString& text) {
    AnsiString out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '"':
            out += "\\\"";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (byte < 0x20 || byte == 0x7F) {
                out += "\\x";
                out += HexDigits[byte >> 4];
                out += HexDigits[byte & 15];
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

AnsiString ValueText(const TValue& value) {
    AnsiString out = value.Name.empty() ? AnsiString("@") : Quoted(value.Name);
    out += '=';
    switch (value.Type) {
    case rdString:
        out += Quoted(value.Data);
        break;
    case rdExpandString:
        out += "expand:" + Quoted(value.Data);
        break;
    case rdInteger: {
        std::uint32_t number = 0;
        for (int i = 3; i >= 0; --i)
            number = (number << 8) | static_cast<unsigned char>(value.Data[std::size_t(i)]);
        out += "dword:";
        for (int shift = 28; shift >= 0; shift -= 4)
            out += HexDigits[(number >> shift) & 15];
        break;
    }
    default:
        out += "hex:";
        for (std::size_t i = 0; i < value.Data.size(); ++i) {
            const auto byte = static_cast<unsigned char>(value.Data[i]);
            if (i > 0) out += ',';
            out += HexDigits[byte >> 4];
            out += HexDigits[byte & 15];
        }
    }
    return out;
}

AnsiString JoinPath(const AnsiString& parent, const AnsiString& name) {
    return parent.empty() ? name : parent + "\\" + name;
}

// Keys with values, and keys without subkeys, get a header; the others are
// implied by their descendants.
void WriteKey(const TKey& key, const AnsiString& path, bool isRoot, AnsiString& out) {
    if (!key.Values.empty() || (!isRoot && key.SubKeys.empty())) {
        out += "\n[" + path + "]\n";
        for (const TValue& value : key.Values)
            out += ValueText(value) + "\n";
    }
    for (const auto& [folded, child] : key.SubKeys)
        WriteKey(*child, JoinPath(path, child->Name), false, out);
}

// Reads one line; every fault raises with the file name and line number.
class TLineReader {
public:
    TLineReader(std::string_view line, const AnsiString& fileName, int lineNumber)
        : Line(line), FileName(fileName), LineNumber(lineNumber) {}

    [[noreturn]] void Fail(const AnsiString& reason) const {
        throw ERegistryException("Registry file " + FileName + " is damaged at line " +
                                 std::to_string(LineNumber) + ": " + reason);
    }

    bool AtEnd() const { return Position >= Line.size(); }
    bool Take(std::string_view text) {
        if (Line.substr(Position, text.size()) != text) return false;
        Position += text.size();
        return true;
    }
    void SkipBlanks() {
        while (!AtEnd() && (Line[Position] == ' ' || Line[Position] == '\t'))
            ++Position;
    }
    void ExpectEnd() {
        SkipBlanks();
        if (!AtEnd()) Fail("unexpected text after the value");
    }

    AnsiString QuotedText() {
        if (!Take("\"")) Fail("a quoted text was expected");
        AnsiString text;
        for (;;) {
            if (AtEnd()) Fail("the quoted text has no closing quote");
            const char c = Line[Position++];
            if (c == '"') return text;
            if (c != '\\') {
                if (static_cast<unsigned char>(c) < 0x20 && c != '\t')
                    Fail("a control character stands unescaped in a quoted text");
                text += c;
                continue;
            }
            if (AtEnd()) Fail("the quoted text ends in an escape");
            switch (const char escape = Line[Position++]) {
            case '\\':
                text += '\\';
                break;
            case '"':
                text += '"';
                break;
            case 'n':
                text += '\n';
                break;
            case 'r':
                text += '\r';
                break;
            case 't':
                text += '\t';
                break;
            case 'x': {
                const int high = Position < Line.size() ? HexValue(Line[Position]) : -1;
                const int low = Position + 1 < Line.size() ? HexValue(Line[Position + 1]) : -1;
                if (high < 0 || low < 0) Fail("\\x needs two hexadecimal digits");
                Position += 2;
                text += static_cast<char>(high * 16 + low);
                break;
            }
            default:
                Fail(AnsiString("unknown escape \\") + escape);
            }
        }
    }

    AnsiString DwordData() {
        std::uint32_t number = 0;
        int digits = 0;
        while (!AtEnd() && HexValue(Line[Position]) >= 0) {
            if (++digits > 8) Fail("a dword has more than eight hexadecimal digits");
            number = (number << 4) | static_cast<std::uint32_t>(HexValue(Line[Position++]));
        }
        if (digits == 0) Fail("a dword needs hexadecimal digits");
        AnsiString data(4, '\0');
        for (std::size_t i = 0; i < 4; ++i)
            data[i] = static_cast<char>((number >> (8 * i)) & 0xFF);
        return data;
    }

    AnsiString BinaryData() {
        AnsiString data;
        SkipBlanks();
        if (AtEnd()) return data;
        for (;;) {
            SkipBlanks();
            const int high = !AtEnd() ? HexValue(Line[Position]) : -1;
            const int low = Position + 1 < Line.size() ? HexValue(Line[Position + 1]) : -1;
            if (high < 0 || low < 0) Fail("binary data needs pairs of hexadecimal digits");
            Position += 2;
            data += static_cast<char>(high * 16 + low);
            SkipBlanks();
            if (!Take(",")) return data;
        }
    }

    std::string_view Line;
    std::size_t Position = 0;
    const AnsiString& FileName;
    int LineNumber;
};

} // namespace

std::unique_ptr<TKey> ParseRegistryText(const AnsiString& Text, const AnsiString& FileName) {
    auto root = std::make_unique<TKey>();
    TKey* current = nullptr;
    int lineNumber = 0;
    std::size_t start = 0;
    while (start < Text.size()) {
        std::size_t end = Text.find('\n', start);
        if (end == AnsiString::npos) end = Text.size();
        std::string_view line(Text.data() + start, end - start);
        start = end + 1;
        ++lineNumber;

        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        while (!line.empty() && (line.back() == ' ' || line.back() == '\t'))
            line.remove_suffix(1);
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
            line.remove_prefix(1);
        if (line.empty() || line.front() == ';') continue;

        TLineReader reader(line, FileName, lineNumber);
        if (line.front() == '[') {
            if (line.back() != ']' || line.size() < 2)
                reader.Fail("a key header must end with ']'");
            std::vector<AnsiString> path;
            const AnsiString pathText(line.substr(1, line.size() - 2));
            if (!SplitKeyPath(pathText, path)) reader.Fail("invalid key path '" + pathText + "'");
            bool created = false;
            current = &root->Force(path, created);
            continue;
        }

        if (!current) reader.Fail("a value stands before the first key header");
        const AnsiString name = reader.Take("@") ? AnsiString() : reader.QuotedText();
        reader.SkipBlanks();
        if (!reader.Take("=")) reader.Fail("'=' was expected after the value name");
        reader.SkipBlanks();
        TRegDataType type;
        AnsiString data;
        if (reader.Take("expand:")) {
            type = rdExpandString;
            data = reader.QuotedText();
        } else if (reader.Take("dword:")) {
            type = rdInteger;
            data = reader.DwordData();
        } else if (reader.Take("hex:")) {
            type = rdBinary;
            data = reader.BinaryData();
        } else {
            type = rdString;
            data = reader.QuotedText();
        }
        reader.ExpectEnd();
        if (current->FindValue(name))
            reader.Fail("the value '" + name + "' appears twice in its key");
        current->SetValue(name, type, std::move(data));
    }
    return root;
}

AnsiString RegistryText(const TKey& Root, const AnsiString& RootName) {
    AnsiString out = "; Beaconmill registry: " + RootName + "\n";
    out += "; Values: \"text\", expand:\"text\", dword:<8 hex digits>, hex:<bytes>\n";
    WriteKey(Root, AnsiString(), true, out);
    return out;
}

} // namespace registry_store
