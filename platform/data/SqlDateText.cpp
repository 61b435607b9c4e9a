#include "platform/data/SqlDateText.h"

#include "platform/rtl/DateTime.h"

#include <cctype>

namespace {

// Writes Value in decimal, zero-padded to Width digits (as "%0*u" does).
void PutNumber(char*& Out, unsigned Value, int Width) {
    char Digits[10];
    int Count = 0;
    do {
        Digits[Count++] = static_cast<char>('0' + Value % 10);
        Value /= 10;
    } while (Value != 0);
    for (int I = Count; I < Width; ++I)
        *Out++ = '0';
    while (Count > 0)
        *Out++ = Digits[--Count];
}

// Written by hand: every history row carries one, and a formatted print
// costs more than the rest of the row's binding.
AnsiString Formatted(TDateTime Value, bool WithTime) {
    Word Year, Month, Day, Hour, Min, Sec, MSec;
    DecodeDateTime(Value, Year, Month, Day, Hour, Min, Sec, MSec);
    char Buffer[64];
    char* Out = Buffer;
    PutNumber(Out, Year, 4);
    *Out++ = '/';
    PutNumber(Out, Month, 2);
    *Out++ = '/';
    PutNumber(Out, Day, 2);
    if (WithTime) {
        *Out++ = ' ';
        PutNumber(Out, Hour, 2);
        *Out++ = ':';
        PutNumber(Out, Min, 2);
        *Out++ = ':';
        PutNumber(Out, Sec, 2);
    }
    return AnsiString(Buffer, static_cast<std::size_t>(Out - Buffer));
}

// Reads 1..MaxDigits digits at Pos into Value.
bool ReadNumber(const AnsiString& S, std::size_t& Pos, int MaxDigits, int& Value) {
    int Digits = 0;
    Value = 0;
    while (Pos < S.size() && std::isdigit(static_cast<unsigned char>(S[Pos])) &&
           Digits < MaxDigits) {
        Value = Value * 10 + (S[Pos] - '0');
        ++Pos;
        ++Digits;
    }
    return Digits > 0;
}

bool ReadChar(const AnsiString& S, std::size_t& Pos, char C) {
    if (Pos < S.size() && S[Pos] == C) {
        ++Pos;
        return true;
    }
    return false;
}

void SkipBlanks(const AnsiString& S, std::size_t& Pos) {
    while (Pos < S.size() && S[Pos] == ' ')
        ++Pos;
}

struct Parsed {
    TDateTime Value;
    bool HasTime = false;
};

bool Parse(const AnsiString& S, Parsed& Result) {
    std::size_t Pos = 0;
    SkipBlanks(S, Pos);
    int Year, Month, Day;
    if (!ReadNumber(S, Pos, 4, Year) || Pos >= S.size()) return false;
    const char Separator = S[Pos];
    if (Separator != '/' && Separator != '-') return false;
    ++Pos;
    if (!ReadNumber(S, Pos, 2, Month) || !ReadChar(S, Pos, Separator) ||
        !ReadNumber(S, Pos, 2, Day))
        return false;
    TDateTime Date;
    if (!TryEncodeDate(Year, Month, Day, Date)) return false;

    TDateTime Time = 0.0;
    std::size_t AfterDate = Pos;
    if (Pos < S.size() && (S[Pos] == ' ' || S[Pos] == 'T')) {
        ++Pos;
        SkipBlanks(S, Pos);
        int Hour, Min, Sec = 0, MSec = 0;
        if (ReadNumber(S, Pos, 2, Hour)) {
            if (!ReadChar(S, Pos, ':') || !ReadNumber(S, Pos, 2, Min)) return false;
            if (ReadChar(S, Pos, ':')) {
                if (!ReadNumber(S, Pos, 2, Sec)) return false;
                if (ReadChar(S, Pos, '.')) {
                    int Fraction;
                    std::size_t Start = Pos;
                    if (!ReadNumber(S, Pos, 3, Fraction)) return false;
                    for (std::size_t Digits = Pos - Start; Digits < 3; ++Digits)
                        Fraction *= 10;
                    MSec = Fraction;
                    // Digits beyond the millisecond are dropped.
                    while (Pos < S.size() && std::isdigit(static_cast<unsigned char>(S[Pos])))
                        ++Pos;
                }
            }
            if (!TryEncodeTime(Hour, Min, Sec, MSec, Time)) return false;
            Result.HasTime = true;
        } else {
            Pos = AfterDate;
        }
    }
    SkipBlanks(S, Pos);
    if (Pos != S.size()) return false;
    // Before 1899-12-30 the fraction still counts forward from midnight.
    Result.Value = Date >= 0 ? Date + Time : Date - Time;
    return true;
}

} // namespace

AnsiString SqlDateText(TDateTime Value) {
    return Formatted(Value, false);
}

AnsiString SqlDateTimeText(TDateTime Value) {
    return Formatted(Value, true);
}

AnsiString SqlDateTimeTextShort(TDateTime Value) {
    Word Hour, Min, Sec, MSec;
    DecodeTime(Value, Hour, Min, Sec, MSec);
    return Formatted(Value, Hour != 0 || Min != 0 || Sec != 0);
}

bool TryParseSqlDateTime(const AnsiString& S, TDateTime& Value) {
    Parsed Result;
    if (!Parse(S, Result)) return false;
    Value = Result.Value;
    return true;
}

bool SqlTextHasTime(const AnsiString& S) {
    Parsed Result;
    return Parse(S, Result) && Result.HasTime;
}
