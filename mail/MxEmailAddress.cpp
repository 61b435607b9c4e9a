#include "mail/MxEmailAddress.h"

#include "mail/MxExceptions.h"
#include "platform/rtl/StrUtils.h"

#include <algorithm>
#include <cstring>

namespace mail {

namespace {

bool IsAtomChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           (c != '\0' && std::strchr("!#$%&'*+-/=?_`{}|~", c) != nullptr);
}

bool IsNameChar(char c) {
    return c == ' ' || IsAtomChar(c);
}

// A backslash before every backslash and double quote.
AnsiString Escaped(const AnsiString& AText) {
    AnsiString result;
    for (char c : AText) {
        if (c == '\\' || c == '"') result += '\\';
        result += c;
    }
    return result;
}

// Trims spaces and TABs only.
AnsiString TrimBlanks(const AnsiString& AText) {
    const std::size_t first = AText.find_first_not_of(" \t");
    if (first == AnsiString::npos) return AnsiString();
    return AText.substr(first, AText.find_last_not_of(" \t") - first + 1);
}

AnsiString WithoutBlanks(const AnsiString& AText) {
    AnsiString result;
    for (char c : AText) {
        if (c != ' ' && c != '\t') result += c;
    }
    return result;
}

// The value as it can be shown in a message: line ends and NULs spelled out.
AnsiString Printable(const AnsiString& AText) {
    AnsiString result;
    for (char c : AText) {
        if (c == '\r') {
            result += "\\r";
        } else if (c == '\n') {
            result += "\\n";
        } else if (c == '\0') {
            result += "\\0";
        } else {
            result += c;
        }
    }
    return result;
}

} // namespace

void CheckAddressText(const AnsiString& AText) {
    if (AText.find_first_of(AnsiString("\r\n\0", 3)) != AnsiString::npos) {
        throw EMxEmailParseError("Invalid character (CR, LF or NUL) in e-mail address \"" +
                                 Printable(AText) + "\"");
    }
}

namespace {

bool IsLetDig(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// Atoms separated by single dots, no dot at either end.
bool IsDotString(const AnsiString& ALocal) {
    if (ALocal.empty() || ALocal.front() == '.' || ALocal.back() == '.') return false;
    for (std::size_t i = 0; i < ALocal.size(); ++i) {
        const char c = ALocal[i];
        if (c == '.' ? ALocal[i + 1] == '.' : !IsAtomChar(c)) return false;
    }
    return true;
}

// Labels of letters, digits and inner hyphens separated by dots, or an
// address literal in square brackets.
bool IsEnvelopeDomain(const AnsiString& ADomain) {
    if (ADomain.size() >= 3 && ADomain.front() == '[' && ADomain.back() == ']') {
        for (std::size_t i = 1; i + 1 < ADomain.size(); ++i) {
            const char c = ADomain[i];
            if (c < '!' || c > '~' || c == '[' || c == ']' || c == '\\') return false;
        }
        return true;
    }
    std::size_t start = 0;
    while (true) {
        const std::size_t end = std::min(ADomain.find('.', start), ADomain.size());
        if (end == start || !IsLetDig(ADomain[start]) || !IsLetDig(ADomain[end - 1])) return false;
        for (std::size_t i = start; i < end; ++i) {
            if (!IsLetDig(ADomain[i]) && ADomain[i] != '-') return false;
        }
        if (end == ADomain.size()) return true;
        start = end + 1;
    }
}

} // namespace

AnsiString EnvelopeAddress(const AnsiString& AAddress) {
    const auto refuse = [&AAddress](const char* AWhy) {
        return EMxEmailParseError("The e-mail address \"" + Printable(AAddress) +
                                  "\" cannot be used: " + AWhy);
    };
    if (AAddress.empty()) throw refuse("it is empty");
    const std::size_t at = AAddress.rfind('@');
    const AnsiString local = at == AnsiString::npos ? AAddress : AAddress.substr(0, at);
    for (char c : local) {
        if (c < ' ' || c > '~') throw refuse("it holds a character outside printable ASCII");
    }
    AnsiString result;
    if (IsDotString(local)) {
        result = local;
    } else {
        if (local.empty()) throw refuse("its local part is empty");
        result = "\"" + Escaped(local) + "\"";
    }
    // A bare local part names a mailbox of the server itself ("postmaster").
    if (at == AnsiString::npos) return result;
    const AnsiString domain = AAddress.substr(at + 1);
    if (!IsEnvelopeDomain(domain)) throw refuse("its domain is not a host name");
    return result + "@" + domain;
}

// --- item ------------------------------------------------------------------

TMxEMailAddressItem::TMxEMailAddressItem(TCollection* ACollection) : TCollectionItem(ACollection) {}

void TMxEMailAddressItem::Assign(TPersistent* ASource) {
    if (auto* source = dynamic_cast<TMxEMailAddressItem*>(ASource)) {
        FAddress = source->FAddress;
        FName = source->FName;
        return;
    }
    TCollectionItem::Assign(ASource);
}

void TMxEMailAddressItem::SetAddress(const AnsiString& AValue) {
    CheckAddressText(AValue);
    FAddress = AValue;
}

void TMxEMailAddressItem::SetName(const AnsiString& AValue) {
    CheckAddressText(AValue);
    FName = AValue;
}

AnsiString TMxEMailAddressItem::GetAddressForm() const {
    if (FAddress.empty()) return FName.empty() ? AnsiString() : AnsiString("<>");
    const std::size_t at = FAddress.rfind('@');
    const AnsiString local = at == AnsiString::npos ? FAddress : FAddress.substr(0, at);
    const AnsiString domain = at == AnsiString::npos ? AnsiString() : FAddress.substr(at);
    // Dots may stand between atoms; any other character outside the atoms
    // (a space, a comma, a quote) needs the quoted form, wherever it stands.
    bool needsQuotes = false;
    for (char c : local) {
        if (!IsAtomChar(c) && c != '.') needsQuotes = true;
    }
    if (needsQuotes) return "<\"" + Escaped(local) + "\"" + domain + ">";
    if (FName.empty()) return local + domain;
    return "<" + local + domain + ">";
}

AnsiString TMxEMailAddressItem::GetText() const {
    if (FName.empty() || FName == UpperCase(FAddress)) return GetAddressForm();
    bool plain = true;
    for (char c : FName) {
        if (!IsNameChar(c)) plain = false;
    }
    if (plain) return FName + " " + GetAddressForm();
    return "\"" + Escaped(FName) + "\" " + GetAddressForm();
}

void TMxEMailAddressItem::SetText(const AnsiString& AValue) {
    CheckAddressText(AValue);
    FAddress.clear();
    FName.clear();

    AnsiString input = Trim(AValue);
    bool inQuotes = false;
    int commentDepth = 0;
    bool bracketSeen = false;
    bool atSeen = false;
    bool collecting = false;
    bool firstSearch = true;
    AnsiString quoted; // the quoted text so far, its escapes resolved

    while (!input.empty()) {
        const char* delimiters = nullptr;
        if (commentDepth > 0) {
            delimiters = "()\\";
        } else if (inQuotes) {
            delimiters = "\"\\";
        } else if (atSeen && bracketSeen) {
            delimiters = ".>(";
        } else if (atSeen) {
            delimiters = ".( ";
        } else if (collecting) {
            delimiters = "\"(@>";
        } else {
            delimiters = "(\"< @\t";
        }
        const std::size_t pos = input.find_first_of(delimiters);
        if (pos == AnsiString::npos) {
            if (firstSearch) {
                FAddress = input;
                input.clear();
            }
            break;
        }
        firstSearch = false;
        const AnsiString before = input.substr(0, pos);
        const char delimiter = input[pos];
        input.erase(0, pos + 1);

        if (commentDepth > 0) {
            // Comment text is dropped; an escaped character cannot end it.
            if (delimiter == '(') {
                ++commentDepth;
            } else if (delimiter == ')') {
                --commentDepth;
            } else if (!input.empty()) {
                input.erase(0, 1);
            }
            continue;
        }

        switch (delimiter) {
        case ' ':
        case '\t':
            if (pos == 0) break;
            if (atSeen) {
                FAddress += Trim(before);
            } else {
                FName += before + " ";
            }
            break;
        case '"':
            if (!inQuotes) {
                (collecting ? FAddress : FName) += before;
                quoted.clear();
                inQuotes = true;
            } else {
                // Trimmed as a whole: a blank after an escaped character stays.
                (bracketSeen ? FAddress : FName) += Trim(quoted + before);
                inQuotes = false;
            }
            break;
        case '\\':
            // Only a delimiter inside quotes: the next character is taken as it is.
            quoted += before;
            if (!input.empty()) {
                quoted += input[0];
                input.erase(0, 1);
            }
            break;
        case '(':
            if (collecting) {
                FAddress += Trim(before);
            } else {
                FName += before;
            }
            ++commentDepth;
            break;
        case '<':
            FName = TrimBlanks(FName + before);
            bracketSeen = true;
            collecting = true;
            break;
        case '>':
            FAddress += WithoutBlanks(Trim(before));
            collecting = false;
            atSeen = false;
            break;
        case '@':
            if (!collecting && bracketSeen) throw EMxEmailParseError("@ Outside address");
            atSeen = true;
            collecting = true;
            // Blanks after "<" are folding room, not part of the local part.
            FAddress += (bracketSeen ? Trim(before) : before) + "@";
            break;
        case '.':
            if (bracketSeen) {
                FAddress += WithoutBlanks(Trim(before)) + ".";
                input = TrimLeft(input);
            } else {
                FAddress += before + ".";
            }
            break;
        default:
            break;
        }
    }
    if (collecting && !bracketSeen) FAddress += Trim(input);
}

// --- list ------------------------------------------------------------------

TMxEMailAddressList::TMxEMailAddressList(TPersistent* AOwner)
    : TOwnedCollection(AOwner, CollectionItemClass<TMxEMailAddressItem>()) {}

TMxEMailAddressItem* TMxEMailAddressList::Add() {
    return static_cast<TMxEMailAddressItem*>(TCollection::Add());
}

TMxEMailAddressItem* TMxEMailAddressList::Items(int AIndex) const {
    return static_cast<TMxEMailAddressItem*>(TCollection::Items(AIndex));
}

AnsiString TMxEMailAddressList::GetAddressText() const {
    AnsiString result;
    for (int i = 0; i < Count(); ++i) {
        if (i > 0) result += ", ";
        result += Items(i)->GetText();
    }
    return result;
}

namespace {

// Adds an item of AText to AList, dropped again when it formats as nothing.
void AddParsed(TMxEMailAddressList& AList, const AnsiString& AText) {
    TMxEMailAddressItem* item = AList.Add();
    item->SetText(AText);
    const AnsiString text = Trim(item->GetText());
    if (text.empty() || text == "<>") AList.Delete(item->Index());
}

} // namespace

void TMxEMailAddressList::SetAddressText(const AnsiString& AValue) {
    CheckAddressText(AValue);
    TMxEMailAddressList parsed;
    const AnsiString text = Trim(AValue);
    if (text.empty()) {
        // nothing to add
    } else if (text.find_first_of(":;(\", \t") == AnsiString::npos) {
        AddParsed(parsed, text);
    } else {
        AnsiString collected;
        bool inQuotes = false;
        int commentDepth = 0;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const char c = text[i];
            if (c == '\\' && (inQuotes || commentDepth > 0)) {
                collected += c;
                if (i + 1 < text.size()) collected += text[++i];
                continue;
            }
            if (commentDepth > 0) {
                if (c == '(') ++commentDepth;
                if (c == ')') --commentDepth;
                collected += c;
                continue;
            }
            if (inQuotes) {
                if (c == '"') inQuotes = false;
                collected += c;
                continue;
            }
            switch (c) {
            case ',':
                AddParsed(parsed, collected);
                collected.clear();
                break;
            case ':':
                collected.clear(); // a group's name
                break;
            case ';':
                if (!Trim(collected).empty()) AddParsed(parsed, TrimLeft(collected));
                collected.clear();
                break;
            case '"':
                inQuotes = true;
                collected += c;
                break;
            case '(':
                ++commentDepth;
                collected += c;
                break;
            default:
                collected += c;
                break;
            }
        }
        AddParsed(parsed, collected);
    }
    Assign(&parsed);
}

} // namespace mail
