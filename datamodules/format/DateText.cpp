#include "datamodules/format/DateText.h"

#include "datamodules/format/DateSettings.h"
#include "platform/rtl/DateTimeFormat.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/StrUtils.h"

#include <array>
#include <cmath>

namespace {

constexpr std::array<const char*, 17> DatePatterns{
    "yyyy/mm/dd",
    "mm/dd/yy h:nnam/pm",
    "mm/dd/yy",
    "yymmdd",
    "h:nn AM/PM",
    "ddd mmm d",
    "mm/dd/yyyy",
    "yyyy/mm/dd hh:nn:ss'.000'",
    "ddd mmm d h:nnam/pm",
    "dd/mm/yy",
    "mmm d h:nnam/pm",
    "mmm d yyyy",
    "dd/mm/yyyy",
    "ddmmyy",
    "mmddyy",
    "dd/mm/yy h:nnam/pm",
    "yyyymmdd",
};

// At least two digits: one leading "0" for a single character.
// A whole number in decimal, at least two characters long. The magnitude
// is wide enough for every whole value a single-precision float can hold
// (below 2^128), so no minute count is ever out of range.
AnsiString TwoDigits(bool Negative, unsigned __int128 Magnitude) {
    AnsiString text;
    do {
        text.insert(text.begin(), static_cast<char>('0' + static_cast<int>(Magnitude % 10)));
        Magnitude /= 10;
    } while (Magnitude != 0);
    if (Negative) text.insert(0, "-");
    if (text.size() < 2) text.insert(0, "0");
    return text;
}

// Hours and minutes of a minute count, truncated toward zero.
AnsiString HoursAndMinutes(float Minutes) {
    // Not a number of minutes at all: say so rather than convert it.
    if (std::isnan(Minutes)) return "NAN";
    if (std::isinf(Minutes)) return Minutes < 0 ? "-INF" : "INF";
    const bool negative = Minutes <= -1.0f;
    const auto whole = static_cast<unsigned __int128>(std::fabs(std::trunc(Minutes)));
    if (Minutes >= 60) return TwoDigits(false, whole / 60) + ":" + TwoDigits(false, whole % 60);
    return TwoDigits(false, 0) + ":" + TwoDigits(negative, whole);
}

} // namespace

void FormatDateByCode(TDateTime Value, AnsiString& Output, int Code) {
    ForceDateTimeSettings();
    if (Code < 1 || Code > static_cast<int>(DatePatterns.size())) return;
    // A slash in a pattern prints the date separator: these texts are for
    // people. A caller writing one into a statement holds the separator at
    // '/' (TSlashDateSeparator) around the call.
    Output = FormatDateTime(DatePatterns[Code - 1], Value);
}

void DateTimeTextToTimeText(const AnsiString& DateTimeText, AnsiString& Output) {
    ForceDateTimeSettings();
    AnsiString text = DateTimeText;
    if (text.size() < 19) text += " 00:00:00";
    const TDateTime time = StrToTime(Copy(text, 12, 8));
    FormatDateByCode(time, Output, 5);
}

void DateTimeTextToDateText(const AnsiString& DateTimeText, AnsiString& Output, int Mode) {
    // Forced before the parse as well: the text is in the stored form,
    // whatever the settings were when the call came.
    TDateTime date;
    ParseDateText(DateTimeText, date);
    FormatDateByCode(date, Output, Mode == 1 ? 3 : 1);
}

void ParseDateText(const AnsiString& DateText, TDateTime& Output) {
    ForceDateTimeSettings();
    TSlashDateSeparator slashes;
    Output = StrToDate(Copy(DateText, 1, 10));
}

void DateTextByPreference(int DatePreference, const AnsiString& DateText, AnsiString& Output) {
    Output.clear();
    if (!DateText.empty()) ConvertDateText(DateText, Output, DatePreference == 1 ? 7 : 9);
}

void ConvertDateText(const AnsiString& DateText, AnsiString& Output, int Conversion) {
    ForceDateTimeSettings();
    // 0-based positions of a yyyy/mm/dd text: year 0-3, month 5-6, day 8-9.
    const auto part = [&](int first, int count) { return Copy(DateText, first + 1, count); };
    if (Conversion == 7)
        Output = part(5, 2) + "/" + part(8, 2) + "/" + part(2, 2);
    else if (Conversion == 9)
        Output = part(8, 2) + "/" + part(5, 2) + "/" + part(2, 2);
}

void FormatMinutes(int Mode, float Minutes, AnsiString& Output) {
    switch (Mode) {
    case 0:
        // Seven significant digits, the precision a single holds: 7.3 shows
        // as 7.3, not as the 7.30000019073486 its binary value spells out.
        Output = FloatToStrF(Minutes, ffGeneral, 7, 0);
        break;
    case 1:
        Output = HoursAndMinutes(Minutes);
        break;
    case 2:
        Output = FloatToStrF(Minutes * 0.016666666666666667, ffFixed, 4, 2);
        break;
    default:
        break;
    }
}

void Hour12To24(int AmPm, int Hour12, int& Hour24) {
    if (AmPm == 1)
        Hour24 = Hour12 == 12 ? 12 : Hour12 + 12;
    else
        Hour24 = Hour12 == 12 ? 0 : Hour12;
}
