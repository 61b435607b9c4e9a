#include "grid/foundation/GridCommonDate.h"
#include "grid/foundation/TextChars.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/DateTimeFormat.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/StrUtils.h"

#include <cctype>
#include <vector>

namespace grid {

namespace {

bool IsDigit(char C) {
    return C >= '0' && C <= '9';
}

// A letter or digit, multibyte letters included.
bool IsWordCharAt(const AnsiString& Text, int Pos) {
    const int Size = CharCountAt(Text, Pos);
    if (Size <= 0) return false;
    if (Size == 1) return std::isalnum(static_cast<unsigned char>(Text[Pos - 1])) != 0;
    return IsLetterChar(Text.substr(Pos - 1, Size));
}

// 1-based position of the first occurrence of Name (without regard to
// case) that has no letter or digit directly before or after it; 0 if none.
int FindStandalone(const AnsiString& Text, const AnsiString& Name) {
    if (Name.empty()) return 0;
    // Case pairs keep their byte length, so folded positions are positions
    // in the text.
    const AnsiString Upper = AnsiUpperCase(Text);
    const AnsiString Wanted = AnsiUpperCase(Name);
    for (auto At = Upper.find(Wanted); At != AnsiString::npos; At = Upper.find(Wanted, At + 1)) {
        const int Start = static_cast<int>(At) + 1;
        const int After = Start + static_cast<int>(Wanted.size());
        const int Before = PrevCharPos(Text, Start);
        if ((Before == 0 || !IsWordCharAt(Text, Before)) && !IsWordCharAt(Text, After))
            return Start;
    }
    return 0;
}

// Replaces the first standalone long (else short) name of the list by
// Replace(index); false when none of the names stands in the text.
template <class Names, class F>
bool ReplaceFirstName(AnsiString& Text, const Names& Long, const Names& Short, F Replace) {
    for (std::size_t I = 0; I < Long.size(); ++I) {
        for (const AnsiString* Name : {&Long[I], &Short[I]}) {
            if (const int At = FindStandalone(Text, *Name)) {
                Text.replace(static_cast<std::size_t>(At - 1), Name->size(), Replace(I));
                return true;
            }
        }
    }
    return false;
}

std::vector<AnsiString> NumbersIn(const AnsiString& Text) {
    std::vector<AnsiString> Result;
    for (std::size_t I = 0; I < Text.size();) {
        if (!IsDigit(Text[I])) {
            ++I;
            continue;
        }
        std::size_t End = I;
        while (End < Text.size() && IsDigit(Text[End]))
            ++End;
        Result.push_back(Text.substr(I, End - I));
        I = End;
    }
    return Result;
}

} // namespace

TgxDateOrder GetDateOrder() {
    for (char C : FormatSettings().ShortDateFormat) {
        switch (std::toupper(static_cast<unsigned char>(C))) {
        case 'D':
            return doDMY;
        case 'M':
            return doMDY;
        case 'Y':
        case 'E':
            return doYMD;
        default:
            break;
        }
    }
    return doMDY;
}

AnsiString GetEditDateFormat(bool LongYear) {
    const AnsiString Upper = UpperCase(FormatSettings().ShortDateFormat);
    const AnsiString Day = Pos("DD", Upper) ? "DD" : "D";
    const AnsiString Month = Pos("MM", Upper) ? "MM" : "M";
    const AnsiString Year = LongYear || Pos("YYY", Upper) ? "YYYY" : "YY";
    const AnsiString Sep(1, FormatSettings().DateSeparator);
    switch (GetDateOrder()) {
    case doYMD:
        return Year + Sep + Month + Sep + Day;
    case doDMY:
        return Day + Sep + Month + Sep + Year;
    default:
        return Month + Sep + Day + Sep + Year;
    }
}

AnsiString LongYearFormat(const AnsiString& Format) {
    const int At = Pos("YY", UpperCase(Format));
    if (At == 0) return Format;
    const std::size_t After = static_cast<std::size_t>(At) + 1; // 0-based index after "yy"
    if (After < Format.size() && (Format[After] == 'y' || Format[After] == 'Y')) return Format;
    AnsiString Result = Format;
    Result.insert(After, "yy");
    return Result;
}

AnsiString LongHourFormat(const AnsiString& Format) {
    const AnsiString Upper = UpperCase(Format);
    for (const char* Marker : {"AM/PM", "A/P", "AMPM"}) {
        if (const int At = Pos(Marker, Upper)) {
            AnsiString Result = Format;
            Result.erase(static_cast<std::size_t>(At - 1), AnsiString(Marker).size());
            return Trim(Result);
        }
    }
    return Trim(Format);
}

bool AMPMFormat() {
    return !FormatSettings().TimeAMString.empty() || !FormatSettings().TimePMString.empty();
}

AnsiString DateReplaceMonthName(const AnsiString& Text) {
    AnsiString Result = Text;
    const TFormatSettings& F = FormatSettings();
    ReplaceFirstName(Result, F.LongMonthNames, F.ShortMonthNames,
                     [](std::size_t I) { return IntToStr(static_cast<int>(I) + 1); });
    return Result;
}

AnsiString DateRemoveDayName(const AnsiString& Text) {
    AnsiString Result = Text;
    const TFormatSettings& F = FormatSettings();
    ReplaceFirstName(Result, F.LongDayNames, F.ShortDayNames,
                     [](std::size_t) { return AnsiString(); });
    return Result;
}

TDateTime StringToDateTime(const AnsiString& Text) {
    const AnsiString T = Trim(Text);
    const auto FirstOther = T.find_first_not_of("0123456789");
    if (!T.empty() && FirstOther == AnsiString::npos) return TDateTime(StrToInt(T));
    if (FirstOther != AnsiString::npos && T[FirstOther] == FormatSettings().TimeSeparator)
        return StrToTime(T);

    const AnsiString Named = Trim(DateRemoveDayName(DateReplaceMonthName(T)));
    TDateTime Result = StrToDateTime(Named);
    Word Year, Month, Day;
    DecodeDate(Result, Year, Month, Day);
    if (Year / 100 != CurrentYear() / 100) return Result;

    // The framework put a short year into its window; a year that was
    // written out in full stays as written.
    const std::vector<AnsiString> Numbers = NumbersIn(Named);
    const std::size_t Field = GetDateOrder() == doYMD ? 0 : 2;
    if (Field >= Numbers.size() || Numbers[Field].size() <= 2) return Result;
    const int Written = StrToInt(Numbers[Field].substr(0, 4));
    if (Written != 0) ReplaceDate(Result, EncodeDate(Written, Month, Day));
    return Result;
}

TDateTime VariantToDateTime(const Variant& Value) {
    const TVarType Type = VarType(Value);
    if (Type == varString || Type == varOleStr) {
        const AnsiString Text = Trim(Value.AsString());
        if (!Text.empty()) {
            try {
                return StringToDateTime(Text);
            } catch (const Exception&) {
                return Now();
            }
        }
        return Now();
    }
    if (Type == varDouble || Type == varDate) return TDateTime(Value.AsDouble());
    return Now();
}

} // namespace grid
