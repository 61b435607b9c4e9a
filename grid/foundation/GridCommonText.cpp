#include "grid/foundation/GridCommonText.h"
#include "grid/foundation/TextChars.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/StringList.h"

namespace grid {

AnsiString CheckForWhiteSpace(const AnsiString& Text) {
    AnsiString Result;
    Result.reserve(Text.size());
    for (char C : Text) {
        switch (C) {
        case '&':
            Result += "&amp;";
            break;
        case '\'':
            Result += "&apos;";
            break;
        case '"':
            Result += "&quot;";
            break;
        // The export writes this text into XML: a bare angle bracket would
        // break the document.
        case '<':
            Result += "&lt;";
            break;
        case '>':
            Result += "&gt;";
            break;
        default:
            Result += C;
        }
    }
    return Result;
}

AnsiString CheckEscapeChars(const AnsiString& Text, char Ch, char Escape) {
    AnsiString Result;
    Result.reserve(Text.size());
    for (char C : Text) {
        if (C == Ch) Result += Escape;
        Result += C;
    }
    return Result;
}

const char* StrNScan(const char* Buffer, char Ch, int Length) {
    if (!Buffer) return nullptr;
    for (int I = 0; I < Length; ++I)
        if (Buffer[I] == Ch) return Buffer + I;
    return nullptr;
}

const char* StrRNScan(const char* Buffer, char Ch, int Length) {
    if (!Buffer) return nullptr;
    for (int I = Length - 1; I >= 0; --I)
        if (Buffer[I] == Ch) return Buffer + I;
    return nullptr;
}

namespace {

// Visits the single-byte characters of the buffer in order, stepping over
// whole multibyte characters; stops when Visit answers true.
template <class F> void ForEachSingleByte(const char* Buffer, int Length, F Visit) {
    if (!Buffer || Length <= 0) return;
    const AnsiString Text(Buffer, static_cast<std::size_t>(Length));
    for (int Pos = 1; Pos <= Length;) {
        const int Size = CharCountAt(Text, Pos);
        if (Size == 1 && Visit(Pos - 1)) return;
        Pos += Size > 0 ? Size : 1;
    }
}

} // namespace

const char* AnsiStrNScan(const char* Buffer, char Ch, int Length) {
    const char* Found = nullptr;
    ForEachSingleByte(Buffer, Length, [&](int Offset) {
        if (Buffer[Offset] != Ch) return false;
        Found = Buffer + Offset;
        return true;
    });
    return Found;
}

const char* AnsiStrRNScan(const char* Buffer, char Ch, int Length) {
    const char* Found = nullptr;
    ForEachSingleByte(Buffer, Length, [&](int Offset) {
        if (Buffer[Offset] == Ch) Found = Buffer + Offset;
        return false;
    });
    return Found;
}

void TextAccelKey(const AnsiString& Text, AnsiString& Result, int& AccelPos) {
    AnsiString Out;
    int Pos = 0;
    for (std::size_t I = 0; I < Text.size(); ++I) {
        if (Text[I] != '&') {
            Out += Text[I];
            continue;
        }
        if (++I >= Text.size()) break; // a trailing mark marks nothing
        if (Text[I] != '&' && Pos == 0) Pos = static_cast<int>(Out.size()) + 1;
        Out += Text[I];
    }
    Result = std::move(Out);
    AccelPos = Pos;
}

void SeparateFirstPart(AnsiString& Text, AnsiString& FirstPart, char Separator) {
    const auto At = Text.find(Separator);
    if (At == AnsiString::npos) {
        FirstPart = std::move(Text);
        Text.clear();
        return;
    }
    FirstPart = Text.substr(0, At);
    Text.erase(0, At + 1);
}

std::unique_ptr<TStringList> CreateStringList(const AnsiString& Text) {
    auto List = std::make_unique<TStringList>();
    AnsiString Rest = Text, Part;
    while (!Rest.empty()) {
        SeparateFirstPart(Rest, Part, ';');
        Part = Trim(Part);
        if (!Part.empty()) List->Add(Part);
    }
    return List;
}

bool StringInList(const AnsiString& Name, TStringList* List) {
    if (!List) return false;
    if (!List->Sorted()) List->SetSorted(true);
    // Every entry is looked at: stopping at the first entry that merely
    // begins like the name would miss the name itself when a shorter entry
    // ("Top") sorts before it ("TopRow").
    for (int I = 0; I < List->Count(); ++I)
        if (SameText(List->Strings(I), Name)) return true;
    return false;
}

namespace {
constexpr char PictureIdSeparator = '\1';
}

AnsiString AddPictureIds(const AnsiString& Name, int First, int Second) {
    return Name + PictureIdSeparator + IntToStr(First) + PictureIdSeparator + IntToStr(Second);
}

void SeparatePictureIds(const AnsiString& Text, AnsiString& Name, int& First, int& Second) {
    First = -1;
    Second = -1;
    AnsiString Rest = Text, Part;
    SeparateFirstPart(Rest, Name, PictureIdSeparator);
    if (Rest.empty()) return;
    SeparateFirstPart(Rest, Part, PictureIdSeparator);
    First = StrToInt(Part);
    SeparateFirstPart(Rest, Part, PictureIdSeparator);
    Second = StrToInt(Part);
}

} // namespace grid
