// The shared date-time and number formatting routines, case by case, with
// the process-wide settings they force and the separators they honour.
#include "datamodules/format/DateText.h"
#include "datamodules/format/DisplayText.h"
#include "datamodules/format/RowSearch.h"

#include "platform/data/DataSet.h"
#include "platform/data/Field.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/DateTimeFormat.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatSettings.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

namespace {

class FormatReading : public ::testing::Test {
protected:
    void TearDown() override { ResetFormatSettings(); }
    // Settings a workstation might have, which the forcing routines undo.
    static void Regional()
    {
        FormatSettings().TimeSeparator = '.';
        FormatSettings().LongTimeFormat = "h.nn";
        FormatSettings().ShortDateFormat = "d.m.yy";
    }
    static void ExpectForced()
    {
        EXPECT_EQ(FormatSettings().TimeSeparator, ':');
        EXPECT_EQ(FormatSettings().LongTimeFormat, "hh:mm:ss");
        EXPECT_EQ(FormatSettings().ShortDateFormat, "yyyy/mm/dd");
    }
};

TEST_F(FormatReading, EveryCodeGivesItsPatternAndForcesTheSettings)
{
    const TDateTime Value = EncodeDate(2026, 12, 8) + EncodeTime(14, 5, 9, 0); // a Tuesday
    const char* const Expected[] = {
        nullptr,
        "2026/12/08", "12/08/26 2:05pm", "12/08/26", "261208", "2:05 PM", "Tue Dec 8",
        "12/08/2026", "2026/12/08 14:05:09.000", "Tue Dec 8 2:05pm", "08/12/26",
        "Dec 8 2:05pm", "Dec 8 2026", "08/12/2026", "081226", "120826",
        "08/12/26 2:05pm", "20261208",
    };
    for (int Code = 1; Code <= 17; ++Code) {
        Regional();
        AnsiString Output = "old";
        FormatDateByCode(Value, Output, Code);
        EXPECT_EQ(Output, Expected[Code]) << Code;
        ExpectForced();
    }
    for (int Code : {0, 18, -1}) {
        Regional();
        AnsiString Output = "old";
        FormatDateByCode(Value, Output, Code);
        EXPECT_EQ(Output, "old") << Code;
        ExpectForced();
    }
    // Midnight on the 12-hour clock, and a dash as the date separator.
    AnsiString Output;
    FormatDateByCode(EncodeDate(2026, 12, 8), Output, 2);
    EXPECT_EQ(Output, "12/08/26 12:00am");
    FormatSettings().DateSeparator = '-';
    FormatDateByCode(Value, Output, 1);
    EXPECT_EQ(Output, "2026-12-08");
}

TEST_F(FormatReading, StoredTextsBecomeTimesAndDates)
{
    struct Case {
        const char* Text;
        const char* Time;
        const char* MonthFirst;
        const char* Full;
    };
    const Case Cases[] = {
        {"2026/12/08", "12:00 AM", "12/08/26", "2026/12/08"},
        {"2026/12/08 14:05:09", "2:05 PM", "12/08/26", "2026/12/08"},
        {"2026/01/31 00:00:59", "12:00 AM", "01/31/26", "2026/01/31"},
        {"2026/01/31 12:30:00", "12:30 PM", "01/31/26", "2026/01/31"},
    };
    for (const Case& C : Cases) {
        Regional();
        AnsiString Output;
        DateTimeTextToTimeText(C.Text, Output);
        EXPECT_EQ(Output, C.Time) << C.Text;
        ExpectForced();
        DateTimeTextToDateText(C.Text, Output, 1);
        EXPECT_EQ(Output, C.MonthFirst) << C.Text;
        DateTimeTextToDateText(C.Text, Output, 0);
        EXPECT_EQ(Output, C.Full) << C.Text;
        Regional();
        TDateTime Date = 0;
        ParseDateText(C.Text, Date);
        EXPECT_EQ(FormatDateTime("yyyy/mm/dd hh:nn", Date), AnsiString(C.Full) + " 00:00") << C.Text;
        ExpectForced();
    }
}

TEST_F(FormatReading, UnreadableTextsRaiseTheConversionErrorNamingThem)
{
    AnsiString Output = "old";
    TDateTime Date = 5;
    struct Case {
        std::function<void()> Call;
        const char* Message;
    };
    const Case Cases[] = {
        {[&] { DateTimeTextToTimeText("2026/12/08 25:00:00", Output); }, "'25:00:00' is not a valid time"},
        {[&] { DateTimeTextToDateText("2026/13/08", Output, 1); }, "'2026/13/08' is not a valid date"},
        {[&] { ParseDateText("08.12.2026", Date); }, "'08.12.2026' is not a valid date"},
        {[&] { ParseDateText("", Date); }, "'' is not a valid date"},
        {[&] { DateTimeTextToTimeText("", Output); }, "'' is not a valid time"},
        {[&] { DateTimeTextToTimeText("2026/12/08 1", Output); }, "'1 00:00:' is not a valid time"},
        {[&] { DateTimeTextToDateText("", Output, 1); }, "'' is not a valid date"},
    };
    for (const Case& C : Cases) {
        try {
            C.Call();
            ADD_FAILURE() << C.Message;
        } catch (const EConvertError& E) {
            EXPECT_EQ(E.Message, C.Message);
        }
    }
    EXPECT_EQ(Output, "old");
    EXPECT_EQ(Date, 5);
}

TEST_F(FormatReading, StoredSlashDatesReadUnderAnyDateSeparator)
{
    FormatSettings().DateSeparator = '-';
    TDateTime Date = 0;
    ParseDateText("2026/12/08", Date);
    EXPECT_EQ(Date, EncodeDate(2026, 12, 8));
    AnsiString Output;
    DateTimeTextToDateText("2026/12/08 10:00:00", Output, 1);
    EXPECT_EQ(Output, "12-08-26"); // shown to people with their separator
    DateTimeTextToTimeText("2026/12/08 10:00:00", Output);
    EXPECT_EQ(Output, "10:00 AM");
    EXPECT_EQ(FormatSettings().DateSeparator, '-');
}

TEST_F(FormatReading, MinutesInEachMode)
{
    struct Case {
        int Mode;
        float Minutes;
        const char* Expected;
    };
    const Case Cases[] = {
        {0, 75, "75"},   {0, 7.5f, "7.5"},     {1, 75, "01:15"}, {1, 5, "00:05"},
        {1, 6000, "100:00"}, {1, 59.9f, "00:59"}, {1, 60, "01:00"}, {1, 0, "00:00"},
        {2, 75, "1.25"}, {2, 0, "0.00"},       {3, 75, "old"},   {-1, 75, "old"},
        {2, -75, "-1.25"},
    };
    for (const Case& C : Cases) {
        AnsiString Output = "old";
        FormatMinutes(C.Mode, C.Minutes, Output);
        EXPECT_EQ(Output, C.Expected) << C.Mode << " " << C.Minutes;
    }
    // Minutes beyond the range of a whole number, or no number at all,
    // give text rather than undefined arithmetic.
    for (float Odd : {1e10f, -1e10f, std::numeric_limits<float>::infinity(),
                      std::numeric_limits<float>::quiet_NaN(), 3e38f})
        for (int Mode : {0, 1, 2}) {
            AnsiString Output = "old";
            EXPECT_NO_THROW(FormatMinutes(Mode, Odd, Output)) << Mode << " " << Odd;
            EXPECT_FALSE(Output.empty()) << Mode << " " << Odd;
        }
}

TEST_F(FormatReading, DatesByPreferenceAndByConversion)
{
    struct Case {
        int Preference;
        const char* Text;
        const char* Expected;
    };
    const Case Cases[] = {
        {1, "2026/12/08", "12/08/26"}, {2, "2026/12/08", "08/12/26"},
        {0, "2026/12/08 14:05:09", "08/12/26"}, {1, "", ""}, {2, "", ""},
    };
    for (const Case& C : Cases) {
        FormatSettings().DateSeparator = '-'; // copied characters: always slashes
        AnsiString Output = "old";
        DateTextByPreference(C.Preference, C.Text, Output);
        EXPECT_EQ(Output, C.Expected) << C.Preference << " " << C.Text;
    }
    AnsiString Output;
    ConvertDateText("2026/12/08", Output, 7);
    EXPECT_EQ(Output, "12/08/26");
    ConvertDateText("2026/12/08", Output, 9);
    EXPECT_EQ(Output, "08/12/26");
    // A short text is never read past its end.
    for (const char* Short : {"2026", "2026/1", ""})
        for (int Conversion : {7, 9})
            EXPECT_NO_THROW(ConvertDateText(Short, Output, Conversion));
}

TEST_F(FormatReading, DispositionsAndStatusNames)
{
    struct Case {
        int Nbr;
        const char* Name;
        TColor Colour;
    };
    const Case Cases[] = {
        {0, "", TColor(0xFFFFFF)},       {1, "Ready", TColor(0xFFFFFF)},  {2, "On Time", TColor(0x00FF00)},
        {3, "Late", TColor(0x0000FF)},   {4, "Done", TColor(0xFFFF00)},   {5, "Scheduled", TColor(0xFF00FF)},
        {6, "Removed", TColor(0xFFFFFF)}, {7, "old", TColor(0x123456)},   {-1, "old", TColor(0x123456)},
    };
    for (const Case& C : Cases) {
        AnsiString Name = "old";
        TColor Colour = TColor(0x123456);
        DispositionName(C.Nbr, Name, true, Colour);
        EXPECT_EQ(Name, C.Name) << C.Nbr;
        EXPECT_EQ(Colour, C.Colour) << C.Nbr;
    }
    AnsiString Name;
    TColor Colour = TColor(0x123456);
    DispositionName(3, Name, false, Colour);
    EXPECT_EQ(Name, "Late");
    EXPECT_EQ(Colour, TColor(0x123456));

    const char* const Names[] = {"Pending", "Engineering", "Purchasing", "Ready", "Released",
                                 "Completed", "Shipped", "Installation", "Invoiced", "Paid"};
    for (int Status = -1; Status <= 10; ++Status) {
        AnsiString Output;
        WorkOrderStatusName(Status, Output);
        EXPECT_EQ(Output, Status >= 0 && Status <= 9 ? Names[Status] : "Bad Status") << Status;
    }
}

TEST_F(FormatReading, PhonesByPreference)
{
    struct Case {
        int Preference;
        const char* Phone;
        const char* Expected;
    };
    const Case Cases[] = {
        {1, "5551234567", "(555) 123-4567"}, {2, "5551234567", "5551234567"},
        {3, "0212345678", "(02) 1234 5678"}, {0, "5551234567", "old"}, {4, "5551234567", "old"},
    };
    for (const Case& C : Cases) {
        AnsiString Output = "old";
        FormatPhoneByPreference(C.Preference, C.Phone, Output);
        EXPECT_EQ(Output, C.Expected) << C.Preference;
    }
    // Texts of another length stay inside their bounds.
    for (const char* Odd : {"", "555", "55512345678901"}) {
        AnsiString Output;
        EXPECT_NO_THROW(FormatPhoneNorthAmerican(Odd, Output));
        EXPECT_NO_THROW(FormatPhoneAreaTwo(Odd, Output));
    }
}

TEST_F(FormatReading, TrimsDecimalZerosAfterTheSecondDecimal)
{
    struct Case {
        const char* Text;
        const char* Expected;
    };
    const Case Cases[] = {
        {"12.5000", "12.50"}, {"12.3450", "12.345"}, {"12.0000", "12.00"}, {"12.5", "12.5"},
        {"3.14159", "3.14159"}, {"12", "12.00"}, {"7.", "7."}, {"0.0010", "0.001"},
        {"1.100", "1.10"}, {"-4.2000", "-4.20"}, {"100.00", "100.00"}, {"2.0501", "2.0501"},
        {".", "."}, {"", ".00"}, {"1.2000000000000000000000000000000000000000", "1.20"},
        {"123456789012345678901234567890123456789", "123456789012345678901234567890123456789.00"},
    };
    for (const Case& C : Cases) {
        AnsiString Text = C.Text;
        TrimDecimalZeros(Text);
        EXPECT_EQ(Text, C.Expected) << C.Text;
    }
}

TEST_F(FormatReading, HoursAndInitials)
{
    struct HourCase {
        int AmPm, Hour, Expected;
    };
    for (const HourCase& C : {HourCase{0, 12, 0}, HourCase{1, 12, 12}, HourCase{1, 1, 13},
                              HourCase{0, 11, 11}, HourCase{2, 12, 0}, HourCase{1, 11, 23}}) {
        int Hour24 = -1;
        Hour12To24(C.AmPm, C.Hour, Hour24);
        EXPECT_EQ(Hour24, C.Expected) << C.AmPm << " " << C.Hour;
    }
    struct NameCase {
        const char *First, *Second, *Expected;
    };
    for (const NameCase& C : {NameCase{"John", "Smith", "J.S."}, NameCase{"", "Smith", ".S."},
                              NameCase{"Ann", "", "A.."}, NameCase{"", "", ".."}}) {
        AnsiString Output = "old";
        MakeInitials(C.First, C.Second, Output);
        EXPECT_EQ(Output, C.Expected) << C.First << "/" << C.Second;
    }
}

// A short type list held in memory: number and name per row.
class TypeList : public TDataSet {
public:
    explicit TypeList(std::vector<std::vector<Variant>> Rows) : TDataSet(nullptr), FRows(std::move(Rows)) {}
    int Opens = 0;

protected:
    void InternalOpen(TResult& Result) override
    {
        ++Opens;
        Result.Columns = {{"TypeNbr", ftInteger, 0}, {"Name", ftString, 20}};
        Result.Rows = FRows;
    }

private:
    std::vector<std::vector<Variant>> FRows;
};

TEST_F(FormatReading, FindsTheRowOfANumberAndLeavesTheCursorThere)
{
    TypeList List({{Variant(4), Variant("Four")}, {Null(), Variant("None")},
                   {Variant(7), Variant("Seven")}, {Variant(7), Variant("Again")}});
    EXPECT_EQ(FindRowIndexByValue(&List, "TypeNbr", 7), 2);
    EXPECT_EQ(List.Opens, 1);
    EXPECT_EQ(List.FieldByName("Name")->AsString(), "Seven");
    EXPECT_EQ(FindRowIndexByValue(&List, "TypeNbr", 4), 0); // from the first row again
    EXPECT_EQ(List.FieldByName("Name")->AsString(), "Four");
    EXPECT_EQ(FindRowIndexByValue(&List, "TypeNbr", 0), -99); // the NULL matches nothing
    EXPECT_TRUE(List.Eof());
    EXPECT_EQ(List.Opens, 1);
    EXPECT_THROW(FindRowIndexByValue(&List, "NoSuchField", 4), Exception);

    TypeList Empty({});
    EXPECT_EQ(FindRowIndexByValue(&Empty, "TypeNbr", 4), -99);
}

} // namespace
