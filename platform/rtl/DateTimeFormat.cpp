#include "platform/rtl/DateTimeFormat.h"

#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatSettings.h"

#include <cstddef>

namespace {

char UpCase(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

// Whether text[pos...] starts with word, letters compared without case.
bool MatchesAt(const AnsiString& text, std::size_t pos, const char* word) {
    for (std::size_t i = 0; word[i] != '\0'; ++i) {
        if (pos + i >= text.size() || UpCase(text[pos + i]) != UpCase(word[i])) return false;
    }
    return true;
}

void AppendNumber(AnsiString& out, unsigned number, int digits) {
    // Written backwards into a buffer rather than through a string of its
    // own: a date shown per grid row formats half a dozen numbers.
    if (number < 100 && digits <= 2) {
        // Days, months, hours, minutes and two-digit years: nearly every number.
        if (number >= 10 || digits == 2) out += static_cast<char>('0' + number / 10);
        out += static_cast<char>('0' + number % 10);
        return;
    }
    char text[12];
    int first = 12;
    do {
        text[--first] = static_cast<char>('0' + number % 10);
        number /= 10;
    } while (number != 0);
    while (first > 0 && 12 - first < digits)
        text[--first] = '0';
    out.append(text + first, static_cast<std::size_t>(12 - first));
}

// One pass over a pattern. Patterns that name other patterns (c, ddddd,
// dddddd, t, tt) are expanded one level deep only, so settings that name
// themselves cannot recurse without end.
class Formatter {
public:
    Formatter(TDateTime value, AnsiString& out)
        : Value(value), Out(out), Settings(FormatSettings()) {}

    void Append(const AnsiString& format) {
        if (format.empty() || Depth >= 2) return;
        ++Depth;
        Pass pass;
        std::size_t pos = 0;
        while (pos < format.size())
            pos = Token(format, pos, pass);
        --Depth;
    }

private:
    struct Pass {
        bool DateDecoded = false;
        bool TimeDecoded = false;
        bool Use12HourClock = false;
        char LastToken = ' ';
        Word Year = 0, Month = 0, Day = 0;
        Word Hour = 0, Min = 0, Sec = 0, MSec = 0;
    };

    void GetDate(Pass& pass) {
        if (pass.DateDecoded) return;
        DecodeDate(Value, pass.Year, pass.Month, pass.Day);
        pass.DateDecoded = true;
    }

    void GetTime(Pass& pass) {
        if (pass.TimeDecoded) return;
        DecodeTime(Value, pass.Hour, pass.Min, pass.Sec, pass.MSec);
        pass.TimeDecoded = true;
    }

    // A value outside the calendar has no names to show.
    AnsiString DayName(bool longName, Pass& pass) {
        GetDate(pass);
        if (pass.Year == 0) return {};
        const auto& names =
            longName ? Settings.LongDayNames : Settings.ShortDayNames;
        return names[DayOfWeek(Value) - 1];
    }

    AnsiString MonthName(bool longName, Pass& pass) {
        GetDate(pass);
        if (pass.Month < 1 || pass.Month > 12) return {};
        const auto& names =
            longName ? Settings.LongMonthNames : Settings.ShortMonthNames;
        return names[pass.Month - 1];
    }

    // The hour is on the 12-hour clock when an am/pm marker comes before the
    // next h (markers in quotes do not count), or came earlier in the pattern.
    static bool MarkerFollows(const AnsiString& format, std::size_t pos) {
        bool betweenQuotes = false;
        for (; pos < format.size(); ++pos) {
            const char c = format[pos];
            if ((c == 'a' || c == 'A') && !betweenQuotes)
                return MatchesAt(format, pos, "AM/PM") || MatchesAt(format, pos, "A/P") ||
                       MatchesAt(format, pos, "AMPM");
            if (c == 'h' || c == 'H') return false;
            if (c == '\'' || c == '"') betweenQuotes = !betweenQuotes;
        }
        return false;
    }

    // Handles the token at pos and answers where the next one starts.
    std::size_t Token(const AnsiString& format, std::size_t pos, Pass& pass) {
        const char starter = format[pos];
        std::size_t next = pos + 1;
        std::size_t count = 1;
        const auto getCount = [&] {
            while (next < format.size() && format[next] == starter)
                ++next;
            count = next - pos;
        };

        char token = UpCase(starter);
        if (token >= 'A' && token <= 'Z') {
            if (token == 'M' && pass.LastToken == 'H') token = 'N';
            pass.LastToken = token;
        }

        const TFormatSettings& settings = Settings;
        switch (token) {
        case 'Y':
            getCount();
            GetDate(pass);
            if (count <= 2)
                AppendNumber(Out, pass.Year % 100, 2);
            else
                AppendNumber(Out, pass.Year, 4);
            break;
        case 'M':
            getCount();
            if (count <= 2) {
                GetDate(pass);
                AppendNumber(Out, pass.Month, static_cast<int>(count));
            } else {
                Out += MonthName(count > 3, pass);
            }
            break;
        case 'D':
            getCount();
            if (count <= 2) {
                GetDate(pass);
                AppendNumber(Out, pass.Day, static_cast<int>(count));
            } else if (count <= 4) {
                Out += DayName(count == 4, pass);
            } else {
                Append(count == 5 ? settings.ShortDateFormat : settings.LongDateFormat);
            }
            break;
        case 'H': {
            getCount();
            GetTime(pass);
            if (MarkerFollows(format, next)) pass.Use12HourClock = true;
            unsigned hour = pass.Hour;
            if (pass.Use12HourClock) {
                if (hour == 0)
                    hour = 12;
                else if (hour > 12)
                    hour -= 12;
            }
            AppendNumber(Out, hour, count > 2 ? 2 : static_cast<int>(count));
            break;
        }
        case 'N':
            getCount();
            GetTime(pass);
            AppendNumber(Out, pass.Min, count > 2 ? 2 : static_cast<int>(count));
            break;
        case 'S':
            getCount();
            GetTime(pass);
            AppendNumber(Out, pass.Sec, count > 2 ? 2 : static_cast<int>(count));
            break;
        case 'Z':
            getCount();
            GetTime(pass);
            AppendNumber(Out, pass.MSec, count > 3 ? 3 : static_cast<int>(count));
            break;
        case 'T':
            getCount();
            Append(count == 1 ? settings.ShortTimeFormat : settings.LongTimeFormat);
            break;
        case 'A':
            GetTime(pass);
            if (MatchesAt(format, pos, "AM/PM")) {
                // The marker is copied from the pattern, keeping its case.
                Out.append(format, pass.Hour >= 12 ? pos + 3 : pos, 2);
                next = pos + 5;
                pass.Use12HourClock = true;
            } else if (MatchesAt(format, pos, "A/P")) {
                Out += format[pass.Hour >= 12 ? pos + 2 : pos];
                next = pos + 3;
                pass.Use12HourClock = true;
            } else if (MatchesAt(format, pos, "AMPM")) {
                Out += pass.Hour < 12 ? settings.TimeAMString : settings.TimePMString;
                next = pos + 4;
                pass.Use12HourClock = true;
            } else if (MatchesAt(format, pos, "AAAA")) {
                Out += DayName(true, pass);
                next = pos + 4;
            } else if (MatchesAt(format, pos, "AAA")) {
                Out += DayName(false, pass);
                next = pos + 3;
            } else {
                Out += starter;
            }
            break;
        case 'C':
            getCount();
            Append(settings.ShortDateFormat);
            GetTime(pass);
            if (pass.Hour != 0 || pass.Min != 0 || pass.Sec != 0) {
                Out += ' ';
                Append(settings.LongTimeFormat);
            }
            break;
        case '/':
            if (settings.DateSeparator != '\0') Out += settings.DateSeparator;
            break;
        case ':':
            if (settings.TimeSeparator != '\0') Out += settings.TimeSeparator;
            break;
        case '\'':
        case '"': {
            // Up to the matching quote, or to the end when it is missing.
            const std::size_t close = format.find(starter, next);
            const std::size_t end = close == AnsiString::npos ? format.size() : close;
            Out.append(format, next, end - next);
            next = close == AnsiString::npos ? end : close + 1;
            break;
        }
        default:
            Out += starter;
            break;
        }
        return next;
    }

    TDateTime Value;
    AnsiString& Out;
    // Looked up once for the whole pattern rather than once a token.
    const TFormatSettings& Settings;
    int Depth = 0;
};

// The text scanners the parsers share; pos is 0-based and moves past what
// was read.
void ScanBlanks(const AnsiString& s, std::size_t& pos) {
    while (pos < s.size() && s[pos] == ' ')
        ++pos;
}

bool ScanNumber(const AnsiString& s, std::size_t& pos, Word& number, int& digits) {
    ScanBlanks(s, pos);
    std::size_t i = pos;
    unsigned n = 0;
    // Four digits at most carry a value: a longer run stops being read and
    // what remains fails the text.
    while (i < s.size() && s[i] >= '0' && s[i] <= '9' && n < 1000) {
        n = n * 10 + static_cast<unsigned>(s[i] - '0');
        ++i;
    }
    if (i == pos) return false;
    digits = static_cast<int>(i - pos);
    pos = i;
    number = static_cast<Word>(n);
    return true;
}

bool ScanChar(const AnsiString& s, std::size_t& pos, char c) {
    ScanBlanks(s, pos);
    if (pos < s.size() && s[pos] == c) {
        ++pos;
        return true;
    }
    return false;
}

bool ScanString(const AnsiString& s, std::size_t& pos, const AnsiString& symbol) {
    if (symbol.empty()) return false;
    ScanBlanks(s, pos);
    if (!MatchesAt(s, pos, symbol.c_str())) return false;
    pos += symbol.size();
    return true;
}

enum class DateOrder { MDY, DMY, YMD };

// The first of y, m or d in the pattern decides; month first when none.
DateOrder GetDateOrder(const AnsiString& format) {
    for (const char c : format) {
        switch (UpCase(c)) {
        case 'E':
        case 'Y':
            return DateOrder::YMD;
        case 'M':
            return DateOrder::MDY;
        case 'D':
            return DateOrder::DMY;
        default:
            break;
        }
    }
    return DateOrder::MDY;
}

bool ScanDate(const AnsiString& s, std::size_t& pos, TDateTime& date) {
    const TFormatSettings& settings = FormatSettings();
    const DateOrder order = GetDateOrder(settings.ShortDateFormat);
    Word n1 = 0, n2 = 0, n3 = 0;
    int l1 = 0, l2 = 0, l3 = 0;
    if (!(ScanNumber(s, pos, n1, l1) && ScanChar(s, pos, settings.DateSeparator) &&
          ScanNumber(s, pos, n2, l2)))
        return false;

    int year, month, day;
    if (ScanChar(s, pos, settings.DateSeparator)) {
        if (!ScanNumber(s, pos, n3, l3)) return false;
        int yearLength;
        switch (order) {
        case DateOrder::MDY:
            year = n3, yearLength = l3, month = n1, day = n2;
            break;
        case DateOrder::DMY:
            year = n3, yearLength = l3, month = n2, day = n1;
            break;
        case DateOrder::YMD:
        default:
            year = n1, yearLength = l1, month = n2, day = n3;
            break;
        }
        if (yearLength <= 2) {
            const int window = settings.TwoDigitYearCenturyWindow;
            const int centuryBase = CurrentYear() - window;
            year += centuryBase / 100 * 100;
            if (window > 0 && year < centuryBase) year += 100;
        }
    } else {
        year = CurrentYear();
        if (order == DateOrder::DMY)
            day = n1, month = n2;
        else
            month = n1, day = n2;
    }
    // A separator after the last part is allowed.
    ScanChar(s, pos, settings.DateSeparator);
    ScanBlanks(s, pos);
    return TryEncodeDate(year, month, day, date);
}

bool ScanTime(const AnsiString& s, std::size_t& pos, TDateTime& time) {
    const TFormatSettings& settings = FormatSettings();
    const auto scanMarker = [&](int& baseHour) {
        if (ScanString(s, pos, settings.TimeAMString) || ScanString(s, pos, "AM"))
            baseHour = 0;
        else if (ScanString(s, pos, settings.TimePMString) || ScanString(s, pos, "PM"))
            baseHour = 12;
    };

    int baseHour = -1;
    scanMarker(baseHour);
    if (baseHour >= 0) ScanBlanks(s, pos);
    Word hour = 0, min = 0, sec = 0, msec = 0;
    int digits = 0;
    if (!ScanNumber(s, pos, hour, digits)) return false;
    if (ScanChar(s, pos, settings.TimeSeparator)) {
        if (!ScanNumber(s, pos, min, digits)) return false;
        if (ScanChar(s, pos, settings.TimeSeparator)) {
            if (!ScanNumber(s, pos, sec, digits)) return false;
            if (ScanChar(s, pos, settings.DecimalSeparator) && !ScanNumber(s, pos, msec, digits))
                return false;
        }
    }
    if (baseHour < 0) scanMarker(baseHour);
    int fullHour = hour;
    if (baseHour >= 0) {
        if (hour == 0 || hour > 12) return false;
        fullHour = (hour == 12 ? 0 : hour) + baseHour;
    }
    ScanBlanks(s, pos);
    return TryEncodeTime(fullHour, min, sec, msec, time);
}

[[noreturn]] void InvalidText(const AnsiString& s, const char* what) {
    throw EConvertError("'" + s + "' is not a valid " + what);
}

} // namespace

AnsiString FormatDateTime(const AnsiString& Format, TDateTime DateTime) {
    AnsiString result;
    // Most patterns come out about as long as they are, past the few
    // characters a string holds without allocating.
    result.reserve(Format.size());
    Formatter formatter(DateTime, result);
    formatter.Append(Format.empty() ? AnsiString("C") : Format);
    return result;
}

AnsiString DateToStr(TDateTime Date) {
    return FormatDateTime(FormatSettings().ShortDateFormat, Date);
}

AnsiString TimeToStr(TDateTime Time) {
    return FormatDateTime(FormatSettings().LongTimeFormat, Time);
}

AnsiString DateTimeToStr(TDateTime DateTime) {
    return FormatDateTime("", DateTime);
}

bool TryStrToDate(const AnsiString& S, TDateTime& Value) {
    std::size_t pos = 0;
    TDateTime date;
    if (!ScanDate(S, pos, date) || pos < S.size()) return false;
    Value = date;
    return true;
}

bool TryStrToTime(const AnsiString& S, TDateTime& Value) {
    std::size_t pos = 0;
    TDateTime time;
    if (!ScanTime(S, pos, time) || pos < S.size()) return false;
    Value = time;
    return true;
}

bool TryStrToDateTime(const AnsiString& S, TDateTime& Value) {
    std::size_t pos = 0;
    TDateTime date;
    TDateTime time = 0.0;
    // A date, optionally followed by a time, and nothing after them; or a
    // time alone.
    if (!ScanDate(S, pos, date) ||
        !(pos >= S.size() || (ScanTime(S, pos, time) && pos >= S.size())))
        return TryStrToTime(S, Value);
    Value = date >= 0 ? date + time : date - time;
    return true;
}

TDateTime StrToDate(const AnsiString& S) {
    TDateTime result;
    if (!TryStrToDate(S, result)) InvalidText(S, "date");
    return result;
}

TDateTime StrToTime(const AnsiString& S) {
    TDateTime result;
    if (!TryStrToTime(S, result)) InvalidText(S, "time");
    return result;
}

TDateTime StrToDateTime(const AnsiString& S) {
    TDateTime result;
    if (!TryStrToDateTime(S, result)) InvalidText(S, "date and time");
    return result;
}

TDateTime StrToDateDef(const AnsiString& S, TDateTime Default) {
    TDateTime result;
    return TryStrToDate(S, result) ? result : Default;
}
