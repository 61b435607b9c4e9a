#include "grid/foundation/GridCommonNumber.h"
#include "platform/rtl/FormatSettings.h"

#include <gtest/gtest.h>

using namespace grid;

namespace {

class GridCommonNumber : public ::testing::Test {
protected:
    void TearDown() override { ResetFormatSettings(); }
};

TEST_F(GridCommonNumber, Scans) {
    const AnsiString Text = "ab-1,234.5x";
    EXPECT_EQ(ScanNum(Text, 4, 1), 5);
    EXPECT_EQ(ScanNum(Text, 4, -1), 3);
    EXPECT_EQ(ScanNum(Text, 1, 1), 1);
    EXPECT_EQ(ScanNumChars(Text, 4, 1), 11);
    EXPECT_EQ(ScanNumChars(Text, 10, -1), 2);
    EXPECT_EQ(ScanNumChars(Text, 0, -1), 0);
    EXPECT_EQ(ScanNumChars(Text, 12, 1), 12);
}

TEST_F(GridCommonNumber, IncrementKeepsGroupingWhenItIsValid) {
    const struct {
        const char* Text;
        double Step;
        const char* Result;
    } Cases[] = {
        {"1,999", 1, "2,000"}, {"999", 1, "1000"},    {"12.50", 1, "13.5"},
        {"", 0.5, "0.5"},      {"-1", -1, "-2"},      {"1,234,567", 1, "1,234,568"},
        {"-1,000", 1, "-999"}, {"12,34", 1, "12,34"}, {"1,2345", 1, "1,2345"},
        {"abc", 1, "abc"},     {"0.1", 0.2, "0.3"},   {"1,000.5", 0.5, "1,001"},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(IncStrNum(C.Text, C.Step), C.Result) << C.Text;
}

TEST_F(GridCommonNumber, IncrementFollowsTheSettings) {
    FormatSettings().ThousandSeparator = '.';
    FormatSettings().DecimalSeparator = ',';
    EXPECT_EQ(IncStrNum("1.999,5", 1), "2.000,5");
}

TEST_F(GridCommonNumber, Padding) {
    EXPECT_EQ(PadDecimals("12.50", IncStrNum("12.50", 1)), "13.50");
    EXPECT_EQ(PadDecimals("1.250", "2"), "2.000");
    EXPECT_EQ(PadDecimals("7", "8.5"), "8.5");
    EXPECT_EQ(PadNumber("0099", "100"), "0100");
    EXPECT_EQ(PadNumber("1,000", "999"), "0,999");
    EXPECT_EQ(PadNumber("09.50", "10.5"), "10.50");
    EXPECT_EQ(PadNumber("5", "12"), "12");
}

TEST_F(GridCommonNumber, IncrementAtTheCaret) {
    const struct {
        const char* Text;
        int Caret;
        double Step;
        const char* NewText;
        int Start, Length;
    } Cases[] = {
        {"Qty 12.50 kg", 6, 1, "Qty 13.50 kg", 5, 5},
        {"1,999", 2, 1, "2,000", 1, 5},
        {"2024-05-10", 6, 1, "2024-6-10", 6, 1}, // not one number: the digits only
        {"x -5 y", 3, 1, "x -4 y", 3, 2},        // a sign in front belongs to it
        {"Room 7", 99, -1, "Room 6", 6, 1},      // caret held to the text
        {"no digits", 3, 1, "no digits", 0, 0},
        {"", 0, 1, "", 0, 0},
    };
    for (const auto& C : Cases) {
        AnsiString NewText;
        int Start = -1, Length = -1;
        IncStrAtPos(C.Text, C.Caret, C.Step, NewText, Start, Length);
        EXPECT_EQ(NewText, C.NewText) << C.Text;
        EXPECT_EQ(Start, C.Start) << C.Text;
        EXPECT_EQ(Length, C.Length) << C.Text;
    }
}

} // namespace
