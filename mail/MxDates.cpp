#include "mail/MxDates.h"

#include "mail/MxExceptions.h"
#include "mail/MxText.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/StrUtils.h"

#include <cmath>
#include <cstdio>
#include <ctime>

namespace mail {

const std::array<AnsiString, 7> MxDayNames = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const std::array<AnsiString, 12> MxMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

int DayNameToNumber(const AnsiString& AText) {
    return IndexInTextArray(UpperCase(AText), MxDayNames, false) + 1;
}

int MonthNameToNumber(const AnsiString& AText) {
    return IndexInTextArray(UpperCase(AText), MxMonthNames, false) + 1;
}

TDateTime LocalOffsetFromUtc() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (now == static_cast<std::time_t>(-1) || localtime_r(&now, &local) == nullptr) {
        throw EMxFailedToRetreiveTimeZoneInfo(
            "Failed attempting to retrieve time zone information.");
    }
    // Whole minutes, as zone rules are given.
    const long minutes = local.tm_gmtoff / 60;
    return static_cast<double>(minutes) / MinsPerDay;
}

AnsiString ZoneOffsetText(TDateTime AOffset, bool AUseGMT) {
    const long minutes = std::lround(static_cast<double>(AOffset) * MinsPerDay);
    if (minutes == 0 && AUseGMT) return "GMT";
    const long magnitude = minutes < 0 ? -minutes : minutes;
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%c%02ld%02ld", minutes < 0 ? '-' : '+', magnitude / 60,
                  magnitude % 60);
    return buffer;
}

AnsiString DateTimeToRfc822(TDateTime ADate, bool AUseGMT) {
    Word year = 0, month = 0, day = 0;
    Word hour = 0, minute = 0, second = 0, msec = 0;
    DecodeDate(ADate, year, month, day);
    DecodeTime(ADate, hour, minute, second, msec);
    char time[32];
    std::snprintf(time, sizeof time, "%02u:%02u:%02u", unsigned(hour), unsigned(minute),
                  unsigned(second));
    return MxDayNames[DayOfWeek(ADate) - 1] + ", " + std::to_string(day) + " " +
           MxMonthNames[month - 1] + " " + std::to_string(year) + " " + time + " " +
           ZoneOffsetText(LocalOffsetFromUtc(), AUseGMT);
}

namespace {

AnsiString TrimBlanksLeft(const AnsiString& AText) {
    const std::size_t first = AText.find_first_not_of(' ');
    return first == AnsiString::npos ? AnsiString() : AText.substr(first);
}

TDateTime ParseRfc822(AnsiString& s) {
    if (DayNameToNumber(s.substr(0, 3)) > 0) {
        if (s.size() > 4 && s[3] == ',' && s[4] != ' ') s.insert(4, " ");
        FetchText(s, " ");
        s = TrimBlanksLeft(s);
    }

    const std::size_t dash = s.find('-');
    const std::size_t blank = s.find(' ');
    const AnsiString separator =
        dash != AnsiString::npos && dash >= 1 && blank != AnsiString::npos && dash < blank ? "-"
                                                                                           : " ";

    int day = 0;
    int month = 0;
    if (MonthNameToNumber(s.substr(0, s.find(separator))) > 0) {
        month = MonthNameToNumber(FetchText(s, separator));
        s = TrimBlanksLeft(s);
        day = StrToIntDef(FetchText(s, separator), 1);
        s = TrimBlanksLeft(s);
    } else {
        day = StrToIntDef(FetchText(s, separator), 1);
        s = TrimBlanksLeft(s);
        month = MonthNameToNumber(FetchText(s, separator));
        s = TrimBlanksLeft(s);
    }

    AnsiString token = FetchText(s, " ");
    int year = 0;
    if (!TryStrToInt(token, year)) {
        // The form with the year last: "Jun 3 14:05:09 2003".
        year = StrToIntDef(Trim(s), 1900);
        s = token;
    }
    if (year < 80) {
        year += 2000;
    } else if (year < 100) {
        year += 1900;
    }

    double result = EncodeDate(year, month, day);
    if (s.find(':') != AnsiString::npos) {
        AnsiString timeText = FetchText(s, " ");
        const int hour = StrToIntDef(FetchText(timeText, ":"), 0);
        const int minute = StrToIntDef(FetchText(timeText, ":"), 0);
        const int second = StrToIntDef(FetchText(timeText, ":"), 0);
        result += EncodeTime(hour, minute, second, 0);
    }
    s = TrimBlanksLeft(s);
    return result;
}

} // namespace

TDateTime Rfc822ToDateTime(AnsiString& AText) {
    AText = Trim(AText);
    if (AText.empty()) return 0.0;
    AnsiString work = AText;
    try {
        const TDateTime result = ParseRfc822(work);
        AText = work;
        return result;
    } catch (const Exception&) {
        return 0.0;
    }
}

TDateTime ZoneTextToOffset(const AnsiString& AText) {
    const AnsiString zone = Trim(AText).substr(0, 5);
    if (zone.size() != 5 || (zone[0] != '+' && zone[0] != '-')) return 0.0;
    try {
        const double offset =
            EncodeTime(StrToInt(zone.substr(1, 2)), StrToInt(zone.substr(3, 2)), 0, 0);
        return zone[0] == '-' ? -offset : offset;
    } catch (const Exception&) {
        return 0.0;
    }
}

TDateTime Rfc822ToLocalDateTime(const AnsiString& AText) {
    AnsiString rest = AText;
    const double parsed = Rfc822ToDateTime(rest);
    // A text that is no date stays "no date" instead of becoming the zone offset.
    if (parsed == 0.0) return 0.0;
    const double senderOffset = rest.size() > 4 ? static_cast<double>(ZoneTextToOffset(rest)) : 0.0;
    return parsed - senderOffset + static_cast<double>(LocalOffsetFromUtc());
}

} // namespace mail
