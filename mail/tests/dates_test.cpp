#include "Reference.h"
#include "mail/MxDates.h"
#include "platform/rtl/DateTime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>

using namespace mail;
using mailtest::Reference;

namespace {

// Runs a test in a given time zone and puts the old one back.
class InZone {
public:
    explicit InZone(const char* AZone) {
        const char* old = std::getenv("TZ");
        FHadZone = old != nullptr;
        if (FHadZone) FOldZone = old;
        setenv("TZ", AZone, 1);
        tzset();
    }
    ~InZone() {
        if (FHadZone) {
            setenv("TZ", FOldZone.c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }

private:
    bool FHadZone = false;
    std::string FOldZone;
};

double At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return static_cast<double>(EncodeDate(y, mo, d)) + static_cast<double>(EncodeTime(h, mi, s, 0));
}

void ExpectSameSecond(double AActual, double AExpected, const std::string& AText) {
    EXPECT_LT(std::fabs(AActual - AExpected) * 86400.0, 0.5) << AText;
}

} // namespace

TEST(Rfc822ToDateTime, ParsesTheCommonForms) {
    struct Case {
        AnsiString Text;
        double Expected;
        AnsiString Rest;
    };
    const Case cases[] = {
        {"Tue, 3 Jun 2003 14:05:09 +0200", At(2003, 6, 3, 14, 5, 9), "+0200"},
        {"Tue,3 Jun 2003 14:05:09 GMT", At(2003, 6, 3, 14, 5, 9), "GMT"},
        {"  3 Jun 2003 14:05  ", At(2003, 6, 3, 14, 5), ""},
        {"Jun 3 14:05:09 2003", At(2003, 6, 3, 14, 5, 9), ""},
        {"03-Jun-2003 14:05:09 -0500", At(2003, 6, 3, 14, 5, 9), "-0500"},
        {"3 Jun 79", At(2079, 6, 3), ""},
        {"3 Jun 80", At(1980, 6, 3), ""},
        {"3 Jun 99 23:59:59 EST", At(1999, 6, 3, 23, 59, 59), "EST"},
        {"", 0.0, ""},
        {"hello", 0.0, "hello"},
        {"31 Feb 2003", 0.0, "31 Feb 2003"},
        {"3 Jun 2003 25:00:00", 0.0, "3 Jun 2003 25:00:00"},
    };
    for (const Case& c : cases) {
        AnsiString text = c.Text;
        ExpectSameSecond(Rfc822ToDateTime(text), c.Expected, c.Text);
        EXPECT_EQ(text, c.Rest) << c.Text;
    }
}

TEST(ZoneOffsets, TextBothWays) {
    const double hour = 1.0 / 24;
    EXPECT_EQ(ZoneOffsetText(0.0, true), "GMT");
    EXPECT_EQ(ZoneOffsetText(0.0, false), "+0000");
    EXPECT_EQ(ZoneOffsetText(hour, true), "+0100");
    EXPECT_EQ(ZoneOffsetText(-5 * hour, false), "-0500");
    EXPECT_EQ(ZoneOffsetText(5.5 * hour, false), "+0530");

    struct Case {
        AnsiString Text;
        double Offset;
    };
    const Case cases[] = {{"+0200", 2 * hour}, {" -0530 ", -5.5 * hour}, {"GMT", 0.0},
                          {"+2x00", 0.0},      {"+9900", 0.0},           {"+02", 0.0}};
    for (const Case& c : cases)
        ExpectSameSecond(ZoneTextToOffset(c.Text), c.Offset, c.Text);
}

TEST(Rfc822ToLocalDateTime, MovesTheSendersTimeIntoTheLocalZone) {
    {
        InZone zone("UTC0");
        ExpectSameSecond(Rfc822ToLocalDateTime("Tue, 3 Jun 2003 14:05:09 +0200"),
                         At(2003, 6, 3, 12, 5, 9), "UTC");
        EXPECT_EQ(DateTimeToRfc822(At(2003, 6, 3, 14, 5, 9), true), "Tue, 3 Jun 2003 14:05:09 GMT");
        EXPECT_EQ(DateTimeToRfc822(At(2003, 6, 3, 14, 5, 9)), "Tue, 3 Jun 2003 14:05:09 +0000");
    }
    {
        InZone zone("<+03>-3");
        ExpectSameSecond(Rfc822ToLocalDateTime("Tue, 3 Jun 2003 14:05:09 +0200"),
                         At(2003, 6, 3, 15, 5, 9), "+03");
        EXPECT_EQ(DateTimeToRfc822(At(2003, 1, 12, 9, 0, 0)), "Sun, 12 Jan 2003 09:00:00 +0300");
        // A text that is no date stays no date, whatever the zone.
        EXPECT_EQ(Rfc822ToLocalDateTime("not a date"), 0.0);
    }
}

TEST(Rfc822Dates, AgreeWithPythonsEmailUtils) {
    InZone zone("UTC0");
    const auto rows = Reference("dates");
    ASSERT_GE(rows.size(), 200u);
    const double unixEpoch = At(1970, 1, 1);
    AnsiString ours;
    for (const auto& row : rows) {
        const double stamp = std::stod(row[0]);
        const double utc = unixEpoch + stamp / 86400.0;
        ExpectSameSecond(Rfc822ToLocalDateTime(row[2]), utc, row[2]);
        ours += row[0] + "\t" + DateTimeToRfc822(utc) + "\n";
    }
    const auto disagreements = Reference("check-dates", ours);
    EXPECT_TRUE(disagreements.empty()) << disagreements.front()[0];
}
