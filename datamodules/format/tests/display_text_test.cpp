#include "datamodules/format/DisplayText.h"

#include <gtest/gtest.h>

namespace {

TEST(DisplayText, DispositionNamesAndColours) {
    struct Case {
        int DispNbr;
        const char* Name;
        TColor Colour;
    };
    const Case cases[] = {
        {0, "", clWhite},        {1, "Ready", clWhite}, {2, "On Time", clLime},
        {3, "Late", clRed},      {4, "Done", clAqua},   {5, "Scheduled", clFuchsia},
        {6, "Removed", clWhite},
    };
    for (const Case& c : cases) {
        AnsiString name = "before";
        TColor colour = clNone;
        DispositionName(c.DispNbr, name, true, colour);
        EXPECT_EQ(name, c.Name) << c.DispNbr;
        EXPECT_EQ(colour, c.Colour) << c.DispNbr;
    }
}

TEST(DisplayText, DispositionLeavesWhatItIsNotAskedFor) {
    AnsiString name = "before";
    TColor colour = clNone;
    DispositionName(3, name, false, colour);
    EXPECT_EQ(name, "Late");
    EXPECT_EQ(colour, clNone);
    for (int unknown : {7, -1}) {
        name = "before";
        DispositionName(unknown, name, true, colour);
        EXPECT_EQ(name, "before");
        EXPECT_EQ(colour, clNone);
    }
}

TEST(DisplayText, WorkOrderStatusNames) {
    const char* names[] = {"Pending",   "Engineering", "Purchasing",   "Ready",    "Released",
                           "Completed", "Shipped",     "Installation", "Invoiced", "Paid"};
    AnsiString text;
    for (int status = 0; status < 10; ++status) {
        WorkOrderStatusName(status, text);
        EXPECT_EQ(text, names[status]);
    }
    for (int bad : {10, -1}) {
        WorkOrderStatusName(bad, text);
        EXPECT_EQ(text, "Bad Status");
    }
}

TEST(DisplayText, PhoneByPreference) {
    struct Case {
        int Preference;
        const char* Phone;
        const char* Expected;
    };
    const Case cases[] = {
        {1, "5551234567", "(555) 123-4567"},
        {2, "5551234567", "5551234567"},
        {3, "0212345678", "(02) 1234 5678"},
        {0, "5551234567", "before"},
        {1, "555123", "555123"}, // not ten digits: shown as typed
        {3, "", ""},
    };
    for (const Case& c : cases) {
        AnsiString text = "before";
        FormatPhoneByPreference(c.Preference, c.Phone, text);
        EXPECT_EQ(text, c.Expected) << c.Preference << " " << c.Phone;
    }
}

TEST(DisplayText, TrimDecimalZeros) {
    struct Case {
        const char* Number;
        const char* Expected;
    };
    const Case cases[] = {
        {"12.5000", "12.50"}, {"12.3450", "12.345"},  {"12.0000", "12.00"},
        {"12.5", "12.5"},     {"3.14159", "3.14159"}, {"12", "12.00"},
        {"7.", "7."},         {"0.1000", "0.10"},     {"", ".00"},
    };
    for (const Case& c : cases) {
        AnsiString text = c.Number;
        TrimDecimalZeros(text);
        EXPECT_EQ(text, c.Expected) << c.Number;
    }
}

TEST(DisplayText, Initials) {
    struct Case {
        const char* First;
        const char* Second;
        const char* Expected;
    };
    const Case cases[] = {
        {"John", "Smith", "J.S."},
        {"", "Smith", ".S."},
        {"John", "", "J.."},
        {"\xC3\x89mile", "Zola", "\xC3\x89.Z."}, // an accented initial stays whole
    };
    for (const Case& c : cases) {
        AnsiString text;
        MakeInitials(c.First, c.Second, text);
        EXPECT_EQ(text, c.Expected);
    }
}

} // namespace
