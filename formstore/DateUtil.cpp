#include "formstore/DateUtil.h"

#include "platform/rtl/DateTimeFormat.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/StrUtils.h"

#include <array>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <limits>

namespace formstore {

std::uint8_t CenturyOffset = 60;
bool FourDigitYear = UpperCase(FormatSettings().ShortDateFormat).find("YYYY") != AnsiString::npos;

namespace {

constexpr std::array<int, 12> MonthLengths{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

double Trunc(double Value) {
    return std::trunc(Value);
}

void Decode(TDateTime Value, int& Year, int& Month, int& Day) {
    Word Y, M, D;
    DecodeDate(Value, Y, M, D);
    Year = Y;
    Month = M;
    Day = D;
}

bool ValidTriple(int Year, int Month, int Day) {
    return Year >= 1 && Year <= 9999 && Month >= 1 && Month <= 12 && Day >= 1 &&
           Day <= DaysPerMonth(Year, Month);
}

// A two-digit year moved into the window of CenturyOffset years before today.
int ExpandYear(int Year) {
    if (Year >= 100) return Year;
    const int Current = formstore::CurrentYear();
    const int Window = CenturyOffset;
    Year += (Current - Window) / 100 * 100;
    if (Window > 0 && Year < Current - Window) Year += 100;
    return Year;
}

// Decimal digits only; anything else, or too many digits to be a date part,
// reads as -1.
int ReadDecimal(const AnsiString& Digits) {
    if (Digits.size() > 9) return -1;
    int Value = 0;
    for (char C : Digits) {
        if (!std::isdigit(static_cast<unsigned char>(C))) return -1;
        Value = Value * 10 + (C - '0');
    }
    return Value;
}

// One field read by laying the text over the format: the characters of S
// under the first run of Count Letters (and the rest of that run). -1 when
// the run holds no character of the text.
int ExtractFormatField(const AnsiString& DateFormat, const AnsiString& S, char Letter, int Count,
                       int Default) {
    if (S.size() > DateFormat.size()) return Default;
    const AnsiString Upper = UpperCase(DateFormat);
    const auto Start = Upper.find(AnsiString(static_cast<std::size_t>(Count), Letter));
    if (Start == AnsiString::npos) return Default;
    AnsiString Taken;
    for (std::size_t I = Start; I < S.size() && Upper[I] == Letter; ++I)
        if (S[I] != ' ' && Taken.size() < 20) Taken += S[I];
    if (Taken.empty()) return -1;
    if (Count == 1) return ReadDecimal(Taken);
    const int Month = MonthFromName(Taken, static_cast<std::uint8_t>(Taken.size()));
    return Month == 0 ? -1 : Month;
}

bool ScanFormatPositions(const AnsiString& DateFormat, const AnsiString& S, int& Y, int& M,
                         int& D) {
    M = ExtractFormatField(DateFormat, S, 'M', 3, 0);
    if (M == 0) M = ExtractFormatField(DateFormat, S, 'M', 1, 0);
    D = ExtractFormatField(DateFormat, S, 'D', 1, 1);
    Y = ExtractFormatField(DateFormat, S, 'Y', 1, formstore::CurrentYear());
    // A blank year is no year: widening it would turn "12/31/    " into the
    // last year of the previous century.
    if (Y < 0) return false;
    Y = ExpandYear(Y);
    return ValidTriple(Y, M, D);
}

void ScanBlanks(const AnsiString& S, std::size_t& Pos) {
    while (Pos < S.size() && S[Pos] == ' ')
        ++Pos;
}

bool ScanNumber(const AnsiString& S, std::size_t& Pos, int& Number) {
    ScanBlanks(S, Pos);
    const std::size_t Start = Pos;
    Number = 0;
    while (Pos < S.size() && std::isdigit(static_cast<unsigned char>(S[Pos])) && Number < 1000)
        Number = Number * 10 + (S[Pos++] - '0');
    return Pos > Start;
}

bool ScanChar(const AnsiString& S, std::size_t& Pos, char Ch) {
    ScanBlanks(S, Pos);
    if (Pos < S.size() && S[Pos] == Ch) {
        ++Pos;
        return true;
    }
    return false;
}

std::size_t CharLength(const AnsiString& S, std::size_t I) {
    const auto Lead = static_cast<unsigned char>(S[I]);
    const std::size_t Len = Lead >= 0xF0 ? 4 : Lead >= 0xE0 ? 3 : Lead >= 0xC0 ? 2 : 1;
    return std::min(Len, S.size() - I);
}

// The text read as numbers separated by the date separator, in the order of
// the format: two numbers mean the current year.
bool ScanFree(const AnsiString& DateFormat, const AnsiString& S, int& Y, int& M, int& D) {
    const TDateOrder Order = GetDateOrder(DateFormat);
    const char Separator = FormatSettings().DateSeparator;
    std::size_t Pos = 0;
    if (!FormatSettings().ShortDateFormat.empty() && FormatSettings().ShortDateFormat[0] == 'g')
        while (Pos < S.size() && !std::isdigit(static_cast<unsigned char>(S[Pos])))
            Pos += CharLength(S, Pos);
    int N1, N2, N3;
    if (!ScanNumber(S, Pos, N1) || !ScanChar(S, Pos, Separator) || !ScanNumber(S, Pos, N2))
        return false;
    if (ScanChar(S, Pos, Separator)) {
        if (!ScanNumber(S, Pos, N3)) return false;
        switch (Order) {
        case TDateOrder::doMDY:
            Y = N3, M = N1, D = N2;
            break;
        case TDateOrder::doDMY:
            Y = N3, M = N2, D = N1;
            break;
        case TDateOrder::doYMD:
            Y = N1, M = N2, D = N3;
            break;
        }
        Y = ExpandYear(Y);
    } else {
        Y = formstore::CurrentYear();
        if (Order == TDateOrder::doDMY)
            D = N1, M = N2;
        else
            M = N1, D = N2;
    }
    ScanChar(S, Pos, Separator);
    ScanBlanks(S, Pos);
    return ValidTriple(Y, M, D) && Pos == S.size();
}

bool InternalStrToDate(const AnsiString& DateFormat, const AnsiString& S, TDateTime& Value) {
    if (S.empty()) {
        Value = NullDate;
        return true;
    }
    int Y, M, D;
    if (!ScanFormatPositions(DateFormat, S, Y, M, D) && !ScanFree(DateFormat, S, Y, M, D))
        return false;
    return TryEncodeDate(Y, M, D, Value);
}

} // namespace

bool IsLeapYear(int AYear) {
    return (AYear % 4 == 0) && (AYear % 100 != 0 || AYear % 400 == 0);
}

int DaysPerMonth(int AYear, int AMonth) {
    if (AMonth < 1 || AMonth > 12)
        throw EConvertError(Format("Invalid month %d: a month is 1 to 12", AMonth));
    int Result = MonthLengths[static_cast<std::size_t>(AMonth - 1)];
    if (AMonth == 2 && IsLeapYear(AYear)) ++Result;
    return Result;
}

TDateTime FirstDayOfNextMonth() {
    int Y, M, D;
    Decode(Date(), Y, M, D);
    return M == 12 ? EncodeDate(Y + 1, 1, 1) : EncodeDate(Y, M + 1, 1);
}

TDateTime FirstDayOfPrevMonth() {
    int Y, M, D;
    Decode(Date(), Y, M, D);
    return M == 1 ? EncodeDate(Y - 1, 12, 1) : EncodeDate(Y, M - 1, 1);
}

TDateTime LastDayOfPrevMonth() {
    int Y, M, D;
    Decode(Date(), Y, M, D);
    return EncodeDate(Y, M, 1) - 1.0;
}

Word ExtractDay(TDateTime ADate) {
    Word Y, M, D;
    DecodeDate(ADate, Y, M, D);
    return D;
}

Word ExtractMonth(TDateTime ADate) {
    Word Y, M, D;
    DecodeDate(ADate, Y, M, D);
    return M;
}

Word ExtractYear(TDateTime ADate) {
    Word Y, M, D;
    DecodeDate(ADate, Y, M, D);
    return Y;
}

TDateTime IncDate(TDateTime ADate, int Days, int Months, int Years) {
    int Y, M, D;
    Decode(ADate, Y, M, D);
    // Summed wide so that a huge shift cannot overflow; a year outside the
    // calendar becomes 0, which the encoding below refuses with its error.
    std::int64_t Year = std::int64_t(Y) + Years + Months / 12;
    M += Months % 12;
    if (M < 1) {
        M += 12;
        --Year;
    } else if (M > 12) {
        M -= 12;
        ++Year;
    }
    Y = Year < 1 || Year > 9999 ? 0 : static_cast<int>(Year);
    D = std::min(D, DaysPerMonth(Y, M));
    // Before 30 Dec 1899 the time of day counts away from zero, so it is
    // carried over by its size, not added with its sign.
    TDateTime Result = EncodeDate(Y, M, D) + Days;
    ReplaceTime(Result, ADate);
    return Result;
}

TDateTime IncDay(TDateTime ADate, int Delta) {
    return ADate + Delta;
}

TDateTime IncMonth(TDateTime ADate, int Delta) {
    return IncDate(ADate, 0, Delta, 0);
}

TDateTime IncYear(TDateTime ADate, int Delta) {
    return IncDate(ADate, 0, 0, Delta);
}

void DateDiff(TDateTime Date1, TDateTime Date2, Word& Days, Word& Months, Word& Years) {
    if (Date1 > Date2) std::swap(Date1, Date2);
    int Y1, M1, D1, Y2, M2, D2;
    Decode(Date1, Y1, M1, D1);
    Decode(Date2, Y2, M2, D2);
    int Y = Y2 - Y1, M = 0, D = 0;
    if (M2 < M1) {
        M += 12;
        --Y;
    }
    M += M2 - M1;
    if (D2 < D1) {
        D += DaysPerMonth(Y1, M1);
        if (M == 0) {
            --Y;
            M = 11;
        } else {
            --M;
        }
    }
    D += D2 - D1;
    Days = static_cast<Word>(D);
    Months = static_cast<Word>(M);
    Years = static_cast<Word>(Y);
}

double MonthsBetween(TDateTime Date1, TDateTime Date2) {
    Word D, M, Y;
    DateDiff(Date1, Date2, D, M, Y);
    double Result = Y * 12 + M;
    if (D >= 21)
        Result += 1.0;
    else if (D >= 15)
        Result += 0.75;
    else if (D >= 7)
        Result += 0.5;
    else if (D >= 2)
        Result += 0.25;
    return Result;
}

bool ValidDate(TDateTime ADate) {
    int Y, M, D;
    Decode(ADate, Y, M, D);
    return ValidTriple(Y, M, D);
}

int DaysInPeriod(TDateTime Date1, TDateTime Date2) {
    if (!ValidDate(Date1) || !ValidDate(Date2)) return 0;
    return static_cast<int>(std::fabs(Trunc(Date2) - Trunc(Date1))) + 1;
}

int DaysBetween(TDateTime Date1, TDateTime Date2) {
    // Counted as a double first: values far outside the calendar must not
    // overflow the integer.
    const double Result = Trunc(Date2) - Trunc(Date1) + 1;
    if (!(Result >= 0)) return 0;
    return Result >= double(std::numeric_limits<int>::max()) ? std::numeric_limits<int>::max()
                                                              : static_cast<int>(Result);
}

TDateTime IncTime(TDateTime ATime, int Hours, int Minutes, int Seconds, int MSecs) {
    const std::int64_t Span = std::int64_t(Hours % 24) * 3600000 + std::int64_t(Minutes) * 60000 +
                              std::int64_t(Seconds) * 1000 + MSecs;
    double Result = ATime + Hours / 24 + static_cast<double>(Span) / MSecsPerDay;
    if (Result < 0) Result += 1.0;
    return Result;
}

TDateTime IncHour(TDateTime ATime, int Delta) {
    return IncTime(ATime, Delta, 0, 0, 0);
}

TDateTime IncMinute(TDateTime ATime, int Delta) {
    return IncTime(ATime, 0, Delta, 0, 0);
}

TDateTime IncSecond(TDateTime ATime, int Delta) {
    return IncTime(ATime, 0, 0, Delta, 0);
}

TDateTime IncMSec(TDateTime ATime, int Delta) {
    return IncTime(ATime, 0, 0, 0, Delta);
}

TDateTime CutTime(TDateTime ADate) {
    return Trunc(ADate);
}

Word CurrentYear() {
    return ::CurrentYear();
}

TDateOrder GetDateOrder(const AnsiString& DateFormat) {
    for (char C : DateFormat) {
        switch (std::toupper(static_cast<unsigned char>(C))) {
        case 'D':
            return TDateOrder::doDMY;
        case 'E':
        case 'Y':
            return TDateOrder::doYMD;
        case 'M':
            return TDateOrder::doMDY;
        default:
            break;
        }
    }
    return TDateOrder::doDMY;
}

std::uint8_t MonthFromName(const AnsiString& S, std::uint8_t MaxLen) {
    if (S.empty()) return 0;
    const AnsiString Head = S.substr(0, MaxLen);
    const auto& Names = FormatSettings().LongMonthNames;
    for (std::size_t I = 0; I < Names.size(); ++I)
        if (!Names[I].empty() && AnsiSameText(Head, Names[I].substr(0, MaxLen)))
            return static_cast<std::uint8_t>(I + 1);
    return 0;
}

TDateTime StrToDateFmt(const AnsiString& DateFormat, const AnsiString& S) {
    TDateTime Result;
    if (!InternalStrToDate(DateFormat, S, Result))
        throw EConvertError(Format("'%s' is not a valid date", S));
    return Result;
}

TDateTime StrToDateDef(const AnsiString& S, TDateTime Default) {
    return StrToDateFmtDef(FormatSettings().ShortDateFormat, S, Default);
}

TDateTime StrToDateFmtDef(const AnsiString& DateFormat, const AnsiString& S, TDateTime Default) {
    TDateTime Result;
    if (!InternalStrToDate(DateFormat, S, Result)) return Trunc(Default);
    return Result;
}

AnsiString DefDateFormat(bool AFourDigitYear) {
    switch (GetDateOrder(FormatSettings().ShortDateFormat)) {
    case TDateOrder::doMDY:
        return AFourDigitYear ? "MM/DD/YYYY" : "MM/DD/YY";
    case TDateOrder::doDMY:
        return AFourDigitYear ? "DD/MM/YYYY" : "DD/MM/YY";
    case TDateOrder::doYMD:
        break;
    }
    return AFourDigitYear ? "YYYY/MM/DD" : "YY/MM/DD";
}

AnsiString DefDateMask(char BlanksChar, bool AFourDigitYear) {
    AnsiString Mask = "!99/99/99;1;";
    if (AFourDigitYear)
        Mask = GetDateOrder(FormatSettings().ShortDateFormat) == TDateOrder::doYMD
                   ? "!9999/99/99;1;"
                   : "!99/99/9999;1;";
    return Mask + BlanksChar;
}

AnsiString FormatLongDate(TDateTime Value) {
    // The locale has no long form for a value outside the calendar.
    if (!ValidDate(Value)) return AnsiString();
    return TrimRight(FormatDateTime("dddddd", Value));
}

AnsiString FormatLongDateTime(TDateTime Value) {
    if (Value == NullDate) return AnsiString();
    return FormatLongDate(Value) + FormatDateTime(" tt", Value);
}

} // namespace formstore
