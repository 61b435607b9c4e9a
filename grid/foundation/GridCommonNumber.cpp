#include "grid/foundation/GridCommonNumber.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/StrUtils.h"

#include <algorithm>

namespace grid {

namespace {

bool IsDigit(char C) {
    return C >= '0' && C <= '9';
}

bool IsNumChar(char C) {
    const TFormatSettings& F = FormatSettings();
    return IsDigit(C) || C == '+' || C == '-' || C == F.ThousandSeparator ||
           C == F.DecimalSeparator;
}

template <class P> int Scan(const AnsiString& Text, int Position, int Step, P IsPart) {
    const int Size = static_cast<int>(Text.size());
    while (Position >= 1 && Position <= Size && IsPart(Text[Position - 1]))
        Position += Step;
    return Position;
}

// True when every thousand separator of the text stands in its integer
// digits, between complete groups of three.
bool GroupedByThree(const AnsiString& Text) {
    const char Sep = FormatSettings().ThousandSeparator;
    std::size_t I = Text.find_first_not_of(' ');
    if (I == AnsiString::npos) return false;
    if (Text[I] == '+' || Text[I] == '-') ++I;
    const std::size_t Begin = I;
    while (I < Text.size() && (IsDigit(Text[I]) || Text[I] == Sep))
        ++I;
    const AnsiString Integer = Text.substr(Begin, I - Begin);
    if (std::count(Integer.begin(), Integer.end(), Sep) !=
        std::count(Text.begin(), Text.end(), Sep))
        return false;
    std::size_t GroupStart = 0;
    bool First = true;
    for (;;) {
        const std::size_t End = std::min(Integer.find(Sep, GroupStart), Integer.size());
        const std::size_t Length = End - GroupStart;
        if (First ? (Length < 1 || Length > 3) : Length != 3) return false;
        if (End == Integer.size()) return true;
        First = false;
        GroupStart = End + 1;
    }
}

// Reads the number text; Grouped tells whether thousand separators were
// taken out for it.
bool ReadNumber(const AnsiString& Text, double& Value, bool& Grouped) {
    const char Sep = FormatSettings().ThousandSeparator;
    Grouped = Text.find(Sep) != AnsiString::npos && GroupedByThree(Text);
    AnsiString Plain = Text;
    if (Grouped) Plain.erase(std::remove(Plain.begin(), Plain.end(), Sep), Plain.end());
    return TryStrToFloat(Plain, Value);
}

// Thousand separators every three digits, counted back from the end of the
// leading digits.
AnsiString Group(const AnsiString& Number) {
    const std::size_t Begin = !Number.empty() && (Number[0] == '-' || Number[0] == '+') ? 1 : 0;
    std::size_t End = Begin;
    while (End < Number.size() && IsDigit(Number[End]))
        ++End;
    AnsiString Result = Number;
    for (std::size_t At = End; At > Begin + 3; At -= 3)
        Result.insert(At - 3, 1, FormatSettings().ThousandSeparator);
    return Result;
}

} // namespace

int ScanNum(const AnsiString& Text, int Position, int Step) {
    return Scan(Text, Position, Step, IsDigit);
}

int ScanNumChars(const AnsiString& Text, int Position, int Step) {
    return Scan(Text, Position, Step, IsNumChar);
}

AnsiString IncStrNum(const AnsiString& Text, double Step) {
    if (Text.empty()) return FloatToStr(Step);
    double Value = 0;
    bool Grouped = false;
    if (!ReadNumber(Text, Value, Grouped)) return Text;
    const AnsiString Sum = FloatToStr(Value + Step);
    return Grouped ? Group(Sum) : Sum;
}

void IncStrAtPos(const AnsiString& Text, int Caret, double Step, AnsiString& NewText, int& Start,
                 int& Length) {
    Caret = std::clamp(Caret, 0, static_cast<int>(Text.size()));
    int First = ScanNumChars(Text, Caret, -1) + 1;
    int Last = ScanNumChars(Text, Caret + 1, 1) - 1;
    double Ignored = 0;
    bool Grouped = false;
    if (First > Last ||
        !ReadNumber(Text.substr(static_cast<std::size_t>(First - 1), Last - First + 1), Ignored,
                    Grouped)) {
        // Not one number (a date, a range): the digits at the caret alone,
        // with a sign that is not a separator after other digits.
        First = ScanNum(Text, Caret, -1) + 1;
        Last = ScanNum(Text, Caret + 1, 1) - 1;
        if (First > Last) {
            NewText = Text;
            Start = 0;
            Length = 0;
            return;
        }
        if (First >= 2 && (Text[First - 2] == '+' || Text[First - 2] == '-') &&
            !(First >= 3 && IsDigit(Text[First - 3])))
            --First;
    }
    const AnsiString Number = Text.substr(static_cast<std::size_t>(First - 1), Last - First + 1);
    AnsiString Result = IncStrNum(Number, Step);
    if (Result == Number) {
        NewText = Text;
        Start = First;
        Length = static_cast<int>(Number.size());
        return;
    }
    Result = PadDecimals(Number, Result);
    NewText = Text.substr(0, static_cast<std::size_t>(First - 1)) + Result +
              Text.substr(static_cast<std::size_t>(Last));
    Start = First;
    Length = static_cast<int>(Result.size());
}

AnsiString PadDecimals(const AnsiString& Old, const AnsiString& New) {
    const char Sep = FormatSettings().DecimalSeparator;
    const auto OldAt = Old.find(Sep);
    if (OldAt == AnsiString::npos) return New;
    AnsiString Result = New;
    auto NewAt = Result.find(Sep);
    if (NewAt == AnsiString::npos) {
        Result += Sep;
        NewAt = Result.size() - 1;
    }
    const std::size_t Decimals = Old.size() - OldAt - 1;
    while (Result.size() - NewAt - 1 < Decimals)
        Result += '0';
    return Result;
}

AnsiString PadNumber(const AnsiString& Old, const AnsiString& New) {
    const AnsiString Sep(1, FormatSettings().DecimalSeparator);
    const char Thousands = FormatSettings().ThousandSeparator;
    AnsiString Result = PadDecimals(Old, New);
    const int P = Pos(Sep, Old);
    const int Q = Pos(Sep, Result);
    const int OldLength = static_cast<int>(Old.size());
    while (static_cast<int>(Result.size()) - Q < OldLength - P) {
        const int At = OldLength - static_cast<int>(Result.size()); // 1-based in Old
        const bool Separator = At >= 1 && At <= OldLength && Old[At - 1] == Thousands;
        Result.insert(Result.begin(), Separator ? Thousands : '0');
    }
    return Result;
}

} // namespace grid
