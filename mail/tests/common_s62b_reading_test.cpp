// The mail library's shared routines and base component: dates in the
// internet message form, text cutting and searching, stream lines,
// temporary files, and the status and work reports of a component.
#include "mail/MxComponent.h"
#include "mail/MxDates.h"
#include "mail/MxExceptions.h"
#include "mail/MxReadMemoryStream.h"
#include "mail/MxStreamLines.h"
#include "mail/MxTempFiles.h"
#include "mail/MxText.h"
#include "mail/MxThreads.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/Streams.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

using namespace mail;

namespace {

double DateAt(int AYear, int AMonth, int ADay, int AHour, int AMin, int ASec) {
    return EncodeDate(AYear, AMonth, ADay) + EncodeTime(AHour, AMin, ASec, 0);
}

constexpr double Second = 1.0 / 86400.0;

} // namespace

TEST(CommonReading, DatesParseInEveryOrderAndLeaveTheZone) {
    struct Case {
        const char* text;
        double expected;
        const char* rest;
    };
    const std::vector<Case> cases = {
        {"Tue, 3 Jun 2003 14:05:09 +0200", DateAt(2003, 6, 3, 14, 5, 9), "+0200"},
        {"Tue,3 Jun 2003 14:05:09 +0200", DateAt(2003, 6, 3, 14, 5, 9), "+0200"},
        {"  3 Jun 2003 14:05:09 GMT  ", DateAt(2003, 6, 3, 14, 5, 9), "GMT"},
        {"Jun 3 14:05:09 2003", DateAt(2003, 6, 3, 14, 5, 9), ""},
        {"Tue, 03-Jun-2003 14:05 -0500", DateAt(2003, 6, 3, 14, 5, 0), "-0500"},
        {"1 Jan 79 00:00:00", DateAt(2079, 1, 1, 0, 0, 0), ""},
        {"1 Jan 80 00:00:00", DateAt(1980, 1, 1, 0, 0, 0), ""},
        {"1 Jan 99", DateAt(1999, 1, 1, 0, 0, 0), ""},
        {"", 0, ""},
        {"no date here", 0, nullptr},
        {"31 Feb 2003 10:00:00", 0, nullptr},
        {"3 Foo 2003", 0, nullptr},
        {"Jun 3 2003", DateAt(2003, 6, 3, 0, 0, 0), ""},
        {"3 Jun 2003 25:00:00", 0, nullptr},
        // Numbers that cannot be read take their defaults: year 1900, seconds 0.
        {"3 Jun 99999999999999999999 10:00", DateAt(1900, 6, 3, 0, 0, 0), nullptr},
        {"3 Jun 2003 10:00:99999999999999999999", DateAt(2003, 6, 3, 10, 0, 0), ""},
        {"Tue,", 0, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        AnsiString text = c.text;
        const double parsed = Rfc822ToDateTime(text);
        EXPECT_NEAR(parsed, c.expected, Second / 10);
        if (c.rest) {
            EXPECT_EQ(text, c.rest);
        }
    }
}

TEST(CommonReading, OddDateTextsNeverBreakTheParser) {
    for (const char* text : {"Tue", "Tue,", "Tue,x", ",", "Jun", "Jun 3", "3", "3 Jun", "-", "--",
                             "3--", "a-b-c", ":", "3 Jun 2003 ::", "3 Jun 2003 1:2:3:4:5",
                             "Mon, 31 Dec 9999 23:59:59 +1400", "1 Jan 0 0:0:0", "\t3\tJun\t2003"}) {
        AnsiString rest = text;
        const double parsed = Rfc822ToDateTime(rest);
        EXPECT_TRUE(std::isfinite(parsed)) << text;
    }
}

TEST(CommonReading, ZonesTurnIntoOffsetsAndBack) {
    struct Case {
        const char* text;
        double offset;
    };
    const std::vector<Case> toOffset = {
        {"+0200", 2.0 / 24},    {"-0530", -5.5 / 24}, {" +0100 ", 1.0 / 24},
        {"GMT", 0},             {"+ab12", 0},         {"", 0},
        {"-0000", 0},
        {"+2359", (23 + 59.0 / 60) / 24},
        // Hours past 23 or minutes past 59 are no time of day.
        {"+2400", 0},           {"+0060", 0},         {"+99", 0},
    };
    for (const Case& c : toOffset) {
        SCOPED_TRACE(c.text);
        EXPECT_NEAR(ZoneTextToOffset(c.text), c.offset, Second / 10);
    }
    struct TextCase {
        double offset;
        bool useGmt;
        const char* text;
    };
    const std::vector<TextCase> toText = {
        {0, true, "GMT"},         {0, false, "+0000"},         {1.0 / 24, true, "+0100"},
        {-5.0 / 24, false, "-0500"}, {-5.5 / 24, true, "-0530"}, {(9 + 45.0 / 60) / 24, false, "+0945"},
    };
    for (const TextCase& c : toText) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ZoneOffsetText(c.offset, c.useGmt), c.text);
    }
}

TEST(CommonReading, DatesGoOutWithTheLocalZoneAndComeBackInLocalTime) {
    const double local = LocalOffsetFromUtc();
    EXPECT_EQ(DateTimeToRfc822(DateAt(2003, 6, 3, 4, 5, 9)),
              "Tue, 3 Jun 2003 04:05:09 " + ZoneOffsetText(local, false));
    EXPECT_EQ(DateTimeToRfc822(DateAt(1999, 12, 26, 23, 59, 0), true),
              "Sun, 26 Dec 1999 23:59:00 " + ZoneOffsetText(local, true));
    EXPECT_NEAR(Rfc822ToLocalDateTime("Tue, 3 Jun 2003 14:05:09 +0200"),
                DateAt(2003, 6, 3, 12, 5, 9) + local, Second / 10);
    EXPECT_NEAR(Rfc822ToLocalDateTime("Tue, 3 Jun 2003 14:05:09"), DateAt(2003, 6, 3, 14, 5, 9) + local,
                Second / 10);
    EXPECT_NEAR(Rfc822ToLocalDateTime("Tue, 3 Jun 2003 14:05:09 +0200 (CEST)"),
                DateAt(2003, 6, 3, 12, 5, 9) + local, Second / 10);
    EXPECT_NEAR(Rfc822ToLocalDateTime("Tue, 3 Jun 2003 23:05:09 -0130"),
                DateAt(2003, 6, 4, 0, 35, 9) + local, Second / 10);
    EXPECT_NEAR(Rfc822ToLocalDateTime("Tue, 3 Jun 2003 14:05:09 EST"),
                DateAt(2003, 6, 3, 14, 5, 9) + local, Second / 10);
    EXPECT_EQ(Rfc822ToLocalDateTime("not a date"), 0);
}

TEST(CommonReading, TheLocalOffsetFollowsTheProcessZone) {
    struct Case {
        const char* zone; // POSIX form: the offset is west of UTC
        const char* text;
    };
    const std::vector<Case> cases = {
        {"XST-5:30", "+0530"}, {"YST5", "-0500"}, {"UTC0", "+0000"}, {"ZST-9:45", "+0945"}};
    const char* saved = std::getenv("TZ");
    const std::string savedZone = saved ? saved : "";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.zone);
        ::setenv("TZ", c.zone, 1);
        ::tzset();
        EXPECT_EQ(ZoneOffsetText(LocalOffsetFromUtc(), false), c.text);
        const std::string date = DateTimeToRfc822(DateAt(2003, 6, 3, 4, 5, 9));
        EXPECT_EQ(date, std::string("Tue, 3 Jun 2003 04:05:09 ") + c.text);
    }
    if (saved)
        ::setenv("TZ", savedZone.c_str(), 1);
    else
        ::unsetenv("TZ");
    ::tzset();
}

TEST(CommonReading, NameTablesAndTextSearches) {
    EXPECT_EQ(DayNameToNumber("sun"), 1);
    EXPECT_EQ(DayNameToNumber("SAT"), 7);
    EXPECT_EQ(DayNameToNumber("Sunday"), 0);
    EXPECT_EQ(MonthNameToNumber("dec"), 12);
    EXPECT_EQ(MonthNameToNumber("Jan"), 1);
    EXPECT_EQ(MonthNameToNumber(""), 0);
    EXPECT_EQ(IndexInTextArray("mar", MxMonthNames, false), 2);
    EXPECT_EQ(IndexInTextArray("mar", MxMonthNames, true), -1);

    struct Fetch {
        std::string input;
        std::string delim;
        bool del;
        bool caseSensitive;
        std::string result;
        std::string rest;
    };
    const std::vector<Fetch> fetches = {
        {"a,b,c", ",", true, true, "a", "b,c"},
        {"a,b,c", ",", false, true, "a", "a,b,c"},
        {"abc", ",", true, true, "abc", ""},
        {"abc", ",", false, true, "abc", "abc"},
        {"oneXtwo", "x", true, false, "one", "two"},
        {"oneXtwo", "x", true, true, "oneXtwo", ""},
        {std::string("a\0b", 3), std::string(1, '\0'), true, true, "a", "b"},
        {"key: value", ": ", true, true, "key", "value"},
        {"abc", "", true, true, "abc", ""},
        {"", ",", true, true, "", ""},
        {"a,", ",", true, true, "a", ""},
    };
    for (const Fetch& f : fetches) {
        SCOPED_TRACE(f.input);
        AnsiString input = f.input;
        EXPECT_EQ(FetchText(input, f.delim, f.del, f.caseSensitive), f.result);
        EXPECT_EQ(input, f.rest);
    }

    TStringList pieces;
    pieces.Add("stale");
    SplitCommaList(&pieces, " a , \"Last, First\" <x@y>, ,b,");
    ASSERT_EQ(pieces.Count(), 3);
    EXPECT_EQ(pieces[0], "a");
    EXPECT_EQ(pieces[1], "\"Last, First\" <x@y>");
    EXPECT_EQ(pieces[2], "b");
    SplitCommaList(&pieces, "\"unclosed, quote");
    ASSERT_EQ(pieces.Count(), 1);
    EXPECT_EQ(pieces[0], "\"unclosed, quote");

    const char block[] = "abcabc";
    EXPECT_EQ(MemoryPos("ca", block, 6), 3);
    EXPECT_EQ(MemoryPos("", block, 6), 0);
    EXPECT_EQ(MemoryPos("abcabcx", block, 6), 0);
    EXPECT_EQ(MemoryPos("c", block, 2), 0);
    EXPECT_EQ(PosFrom("b", "abcabc", 0), 2);
    EXPECT_EQ(PosFrom("b", "abcabc", 3), 5);
    EXPECT_EQ(PosFrom("b", "abcabc", 5), 5);
    EXPECT_EQ(PosFrom("b", "abcabc", 7), 0);
    EXPECT_EQ(PosFrom("", "abcabc", 1), 0);
    EXPECT_EQ(MinInt(-3, 2), -3);
}

TEST(CommonReading, StreamLinesEndAtAnyLineBreakAndTheStreamEnd) {
    // A CR LF split over the 2048-byte chunks must still count as one break.
    const std::string longLine(2047, 'x');
    TStringStream stream("a\r\nb\nc\rd\r\n\r\n" + longLine + "\r\nafter\r\nlast");
    const std::vector<std::string> expected = {"a", "b", "c", "d", "", longLine, "after", "last"};
    for (const std::string& line : expected) EXPECT_EQ(StreamReadLine(&stream), line);
    EXPECT_EQ(StreamReadLine(&stream, -1, false), "");
    try {
        StreamReadLine(&stream);
        ADD_FAILURE() << "no exception";
    } catch (const EMxEndOfStream& e) {
        EXPECT_STREQ(e.what(), ("End of stream: TStringStream at " +
                                std::to_string(stream.GetSize())).c_str());
    }

    // A lone CR as the last byte of a chunk ends its line; the next byte is
    // the next line's first.
    TStringStream crAtChunkEnd(longLine + "\rdef\r");
    EXPECT_EQ(StreamReadLine(&crAtChunkEnd), longLine);
    EXPECT_EQ(crAtChunkEnd.GetPosition(), 2048);
    EXPECT_EQ(StreamReadLine(&crAtChunkEnd), "def");
    EXPECT_EQ(crAtChunkEnd.GetPosition(), crAtChunkEnd.GetSize());

    TStringStream limited("abcdef\r\nz");
    EXPECT_EQ(StreamReadLine(&limited, 4), "abcd");
    EXPECT_EQ(limited.GetPosition(), 4);
    EXPECT_EQ(StreamReadLine(&limited, 4), "ef");
    EXPECT_EQ(StreamReadLine(&limited, 4), "z");

    TStringStream out;
    StreamWriteLine(&out, "line");
    EXPECT_EQ(out.DataString(), "line\r\n");
}

TEST(CommonReading, ReadMemoryStreamReadsABorrowedBlockAndStoresNothing) {
    const char block[] = "hello";
    TMxReadMemoryStream stream;
    char first[2];
    stream.SetBlock(block, 5);
    EXPECT_EQ(stream.Read(first, 2), 2);
    stream.SetBlock(block, 5);
    EXPECT_EQ(stream.GetPosition(), 0);
    char buffer[8] = {};
    EXPECT_EQ(stream.Write("xx", 2), 0);
    EXPECT_EQ(stream.Read(buffer, 8), 5);
    EXPECT_STREQ(buffer, "hello");
    EXPECT_STREQ(block, "hello");
}

TEST(CommonReading, TemporaryFilesAreNewAndNamedInTheirFolder) {
    const std::string dir = TempDirectory();
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ(dir.back(), '/');
    const std::filesystem::path own =
        std::filesystem::temp_directory_path() / ("mxt_probe_" + std::to_string(::getpid()));
    std::filesystem::create_directories(own);
    struct Case {
        std::string directory;
        std::string expectedDir;
    };
    const std::vector<Case> cases = {
        {"", dir},
        {own.string(), own.string() + "/"},
        {own.string() + "/", own.string() + "/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.directory);
        const std::string a = MakeTempFileName(c.directory);
        const std::string b = MakeTempFileName(c.directory);
        EXPECT_NE(a, b);
        for (const std::string& name : {a, b}) {
            EXPECT_TRUE(std::filesystem::exists(name)) << name;
            EXPECT_EQ(std::filesystem::file_size(name), 0u);
            EXPECT_EQ(name.substr(0, c.expectedDir.size()), c.expectedDir);
            EXPECT_EQ(std::filesystem::path(name).filename().string().substr(0, 3), "Mxt");
            std::filesystem::remove(name);
        }
    }
    EXPECT_THROW(MakeTempFileName(own.string() + "/missing/sub"), EMxException);
    std::filesystem::remove_all(own);
}

TEST(CommonReading, WorkReportsNestAndStatusTextsFillTheirArgument) {
    TMxComponent component;
    std::vector<std::string> events;
    component.OnWorkBegin = [&](TObject* ASender, TWorkMode AMode, std::int32_t AMax) {
        EXPECT_EQ(ASender, &component);
        events.push_back("begin " + std::to_string(static_cast<int>(AMode)) + " " +
                         std::to_string(AMax));
    };
    component.OnWork = [&](TObject*, TWorkMode AMode, std::int32_t ACount) {
        events.push_back("work " + std::to_string(static_cast<int>(AMode)) + " " +
                         std::to_string(ACount));
    };
    component.OnWorkEnd = [&](TObject*, TWorkMode AMode) {
        events.push_back("end " + std::to_string(static_cast<int>(AMode)));
    };
    component.AdvanceWork(TWorkMode::workRead, 5);
    component.StartWork(TWorkMode::workRead, 100);
    component.StartWork(TWorkMode::workRead, 7);
    component.StartWork(TWorkMode::workWrite, 3);
    component.AdvanceWork(TWorkMode::workRead, 10);
    component.AdvanceWork(TWorkMode::workRead, 5);
    component.FinishWork(TWorkMode::workRead);
    component.FinishWork(TWorkMode::workWrite);
    component.FinishWork(TWorkMode::workRead);
    // A finish too many leaves the next start announced all the same.
    component.FinishWork(TWorkMode::workRead);
    component.StartWork(TWorkMode::workRead, 1);
    component.FinishWork(TWorkMode::workRead);
    EXPECT_EQ(events, (std::vector<std::string>{"begin 0 100", "begin 1 3", "work 0 10", "work 0 15",
                                                "end 1", "end 0", "begin 0 1", "end 0"}));

    std::vector<std::string> texts;
    component.OnStatus = [&](TObject*, TMxStatus, const AnsiString& AText) { texts.push_back(AText); };
    component.ReportStatus(TMxStatus::stResolving, "mx.example");
    component.ReportStatus(TMxStatus::stConnecting, "10.0.0.1");
    component.ReportStatus(TMxStatus::stConnected, "ignored");
    component.ReportStatus(TMxStatus::stDisconnected);
    component.ReportStatus(TMxStatus::stStatusText, "100% done");
    component.ReportStatus(TMxStatus::stStatus8, "eight");
    EXPECT_EQ(texts, (std::vector<std::string>{"Resolving hostname mx.example.", "Connecting to 10.0.0.1.",
                                               "Connected.", "Disconnected.", "100% done", "eight"}));
}

TEST(CommonReading, TheStackLivesWhileAComponentDoes) {
    ASSERT_EQ(MxComponentCount(), 0);
    EXPECT_EQ(GStack(), nullptr);
    {
        TMxComponent first;
        TMxStack* stack = GStack();
        EXPECT_NE(stack, nullptr);
        {
            TMxComponent second;
            EXPECT_EQ(MxComponentCount(), 2);
            EXPECT_EQ(GStack(), stack);
        }
        EXPECT_EQ(GStack(), stack);
        EXPECT_FALSE(TMxComponent::GetLocalHostName().empty());
    }
    EXPECT_EQ(GStack(), nullptr);
    // Components made and freed on several threads at once keep the count right.
    std::vector<std::thread> threads;
    for (int i = 0; i < 4; ++i)
        threads.emplace_back([] {
            for (int j = 0; j < 50; ++j) TMxComponent component;
        });
    for (std::thread& t : threads) t.join();
    EXPECT_EQ(MxComponentCount(), 0);
    EXPECT_EQ(GStack(), nullptr);
    EXPECT_TRUE(InMainThread());
    bool other = true;
    std::thread([&] { other = InMainThread(); }).join();
    EXPECT_FALSE(other);
}

TEST(CommonReading, LocaleNamesGiveTheirCharacterSetFamily) {
    struct Case {
        const char* locale;
        int code;
    };
    const std::vector<Case> cases = {
        {"zh_CN.UTF-8", 0}, {"zh_CN", 0},   {"zh_TW.Big5", 1}, {"zh_HK", 1},
        {"ja_JP.eucJP", 2}, {"ja_JP", 2},   {"ko_KR.UTF-8", 3}, {"en_US.UTF-8", 4},
        {"C", 4},           {"POSIX", 4},   {"", 4},            {"de_DE@euro", 4},
    };
    for (const Case& c : cases) EXPECT_EQ(LocaleCharsetCodeOf(c.locale), c.code) << c.locale;
}
