#include "mail/MxHeaderList.h"

#include "platform/rtl/StrUtils.h"

#include <algorithm>

namespace mail {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
// Trim would take control characters with it, so a fold only goes between
// characters that unfolding keeps.
bool IsVisible(char c) {
    return static_cast<unsigned char>(c) > ' ';
}

bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}

// The line cut at its line ends (CR LF, CR or LF).
std::vector<AnsiString> SplitAtLineEnds(const AnsiString& ALine) {
    std::vector<AnsiString> segments;
    auto start = ALine.begin();
    while (true) {
        const auto end = std::find_if(start, ALine.end(), IsLineEnd);
        segments.emplace_back(start, end);
        if (end == ALine.end()) return segments;
        start = end + 1;
        if (*end == '\r' && start != ALine.end() && *start == '\n') ++start;
    }
}

} // namespace

TMxHeaderList::TMxHeaderList() = default;

bool TMxHeaderList::IsContinuation(int AIndex) const {
    if (AIndex < 0 || AIndex >= Count()) return false;
    const AnsiString line = Strings(AIndex);
    return !line.empty() && IsBlank(line[0]);
}

void TMxHeaderList::AddEqualsLines(const TStrings* AStrings) {
    for (int i = 0; i < AStrings->Count(); ++i) {
        AnsiString line = AStrings->Strings(i);
        const std::size_t equals = line.find('=');
        if (equals != AnsiString::npos) line.replace(equals, 1, Separator);
        Add(line);
    }
}

AnsiString TMxHeaderList::NameAt(int AIndex) const {
    const AnsiString line = Strings(AIndex);
    const std::size_t colon = line.find(':');
    if (colon == AnsiString::npos) return AnsiString();
    const AnsiString name = line.substr(0, colon);
    return CaseSensitiveNames ? name : UpperCase(name);
}

int TMxHeaderList::FindName(const AnsiString& AName) const {
    for (int i = 0; i < Count(); ++i) {
        const AnsiString line = Strings(i);
        const std::size_t colon = line.find(':');
        if (colon != AnsiString::npos && SameText(line.substr(0, colon), AName)) return i;
    }
    return -1;
}

AnsiString TMxHeaderList::ValueAt(int AIndex) const {
    if (AIndex < 0 || AIndex >= Count()) return AnsiString();
    const AnsiString line = Strings(AIndex);
    const std::size_t colon = line.find(':');
    // Everything after the colon: a header written without the blank after
    // its colon keeps its first character.
    AnsiString value = colon == AnsiString::npos ? line : line.substr(colon + 1);
    if (JoinContinuations) {
        for (int i = AIndex + 1; IsContinuation(i); ++i) {
            value = Trim(value) + " " + Trim(Strings(i));
        }
    }
    return Trim(value);
}

AnsiString TMxHeaderList::ValueOf(const AnsiString& AName) const {
    return ValueAt(FindName(AName));
}

void TMxHeaderList::DeleteContinuations(int AIndex) {
    while (IsContinuation(AIndex + 1))
        Delete(AIndex + 1);
}

void TMxHeaderList::SetValueOf(const AnsiString& AName, const AnsiString& AValue) {
    const int index = FindName(AName);
    // The old value's continuation lines go with it in every case; left
    // behind they would join the new value.
    if (index >= 0) DeleteContinuations(index);
    if (AValue.empty()) {
        if (index >= 0) Delete(index);
        return;
    }
    const AnsiString line = AName + Separator + AValue;
    if (SplitLongLines) {
        WrapAndInsert(line, index >= 0 ? index : Count());
    } else if (index >= 0) {
        Put(index, line);
    } else {
        Add(line);
    }
}

std::vector<AnsiString> TMxHeaderList::WrapLine(const AnsiString& ALine) const {
    // Most lines fit as they are: nothing to cut, fold or trim.
    if (ALine.size() <= static_cast<std::size_t>(std::max(LineLimit, 0)) &&
        (ALine.empty() || IsVisible(ALine.back())) &&
        std::none_of(ALine.begin(), ALine.end(), IsLineEnd))
        return {ALine};
    std::vector<AnsiString> pieces;
    const std::vector<AnsiString> segments = SplitAtLineEnds(ALine);
    for (std::size_t s = 0; s < segments.size(); ++s) {
        AnsiString segment = segments[s];
        // A line end inside a value must not start a header of its own.
        if (s > 0 && (segment.empty() || !IsBlank(segment[0]))) segment.insert(0, " ");

        std::size_t minBreak = 1;
        if (s == 0) {
            const std::size_t colon = segment.find(':');
            minBreak = colon == AnsiString::npos ? 1 : colon + 2;
        }
        // A piece ends after a blank, a TAB or a comma outside quotes; the
        // blanks after it are dropped, and the continuation starts with
        // the one blank folding adds, so an address list joined by bare
        // commas folds as well as one joined by ", ".
        std::size_t pieceStart = 0;
        bool continuation = false;                // the piece gets the leading blank
        std::size_t lastBreak = AnsiString::npos; // where the piece would end
        bool inQuotes = false;
        const std::size_t n = segment.size();
        const std::size_t limit = static_cast<std::size_t>(std::max(LineLimit, 1));
        const auto flush = [&](std::size_t AEnd) {
            pieces.push_back((continuation ? " " : "") +
                             segment.substr(pieceStart, AEnd - pieceStart));
        };
        for (std::size_t i = 0; i < n; ++i) {
            const char c = segment[i];
            // The piece would pass the limit with this character: it ends at
            // the last break seen, if any.
            if (i + 1 - pieceStart + (continuation ? 1 : 0) > limit &&
                lastBreak != AnsiString::npos) {
                flush(lastBreak);
                std::size_t next = lastBreak;
                while (next < n && IsBlank(segment[next]))
                    ++next;
                pieceStart = next;
                continuation = true;
                lastBreak = AnsiString::npos;
                if (next > i) {
                    i = next - 1;
                    continue;
                }
            }
            if (inQuotes) {
                if (c == '\\') {
                    ++i;
                } else if (c == '"') {
                    inQuotes = false;
                }
            } else if (c == '"') {
                inQuotes = true;
            } else if ((IsBlank(c) || c == ',') && i >= minBreak && i > pieceStart) {
                // Only where something visible follows: a break before
                // nothing but blanks would leave an empty continuation.
                std::size_t next = i + 1;
                while (next < n && IsBlank(segment[next]))
                    ++next;
                if (next < n) lastBreak = i + 1;
            }
        }
        if (pieceStart < n || pieces.empty()) flush(n);
    }
    // Trailing blanks go; a continuation with nothing left would be an empty
    // line, which ends the header block, so it goes too.
    std::vector<AnsiString> result;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        AnsiString piece = TrimRight(pieces[i]);
        if (i > 0 && Trim(piece).empty()) continue;
        result.push_back(std::move(piece));
    }
    return result;
}

void TMxHeaderList::WrapAndInsert(const AnsiString& ALine, int AIndex) {
    const std::vector<AnsiString> pieces = WrapLine(ALine);
    if (AIndex < Count()) {
        Put(AIndex, pieces.back());
    } else {
        Add(pieces.back());
    }
    for (std::size_t i = 0; i + 1 < pieces.size(); ++i) {
        Insert(AIndex + static_cast<int>(i), pieces[i]);
    }
}

} // namespace mail
