#include "mail/MxHeaderList.h"

#include <gtest/gtest.h>

using namespace mail;

namespace {

std::vector<AnsiString> LinesOf(const TStrings& AList) {
    std::vector<AnsiString> lines;
    for (int i = 0; i < AList.Count(); ++i)
        lines.push_back(AList.Strings(i));
    return lines;
}

} // namespace

TEST(HeaderList, ReadsNamesAndValues) {
    TMxHeaderList headers;
    for (const char* line : {"Subject: first part", "\tsecond  part ", "  third", "X-Tight:value",
                             "no colon here", "To: a@b.com"}) {
        headers.Add(line);
    }
    EXPECT_EQ(headers.NameAt(0), "SUBJECT");
    EXPECT_EQ(headers.NameAt(4), "");
    EXPECT_EQ(headers.FindName("subject"), 0);
    EXPECT_EQ(headers.FindName("Cc"), -1);
    // Continuations join with single blanks.
    EXPECT_EQ(headers.ValueOf("SUBJECT"), "first part second  part third");
    EXPECT_EQ(headers.ValueOf("x-tight"), "value");
    EXPECT_EQ(headers.ValueOf("Cc"), "");
    EXPECT_EQ(headers.ValueAt(99), "");

    headers.CaseSensitiveNames = true;
    EXPECT_EQ(headers.NameAt(0), "Subject");
    headers.JoinContinuations = false;
    EXPECT_EQ(headers.ValueOf("Subject"), "first part");
}

TEST(HeaderList, FoldsLongValuesAfterBlanksAndCommasAndUnfoldsThem) {
    struct Case {
        AnsiString Value;
        std::size_t Lines;   // 0: folds as needed, every line within 78
        AnsiString Unfolded; // empty: the value itself
    };
    const AnsiString bareList =
        "a@example.com,b@example.com,c@example.com,d@example.com,e@example.com,f@example.com";
    const Case cases[] = {
        // A list joined by bare commas folds after a comma.
        {bareList, 2,
         "a@example.com,b@example.com,c@example.com,d@example.com,e@example.com, f@example.com"},
        {"Alert for job 1234: cost changed from 1,234.00 to 2,345.00 on the main assembly line "
         "for customer Dornwick Metal Works, see the alert history for the details of it",
         0, ""},
        // Not inside quotes.
        {"\"quoted text that may not be folded inside its quotes at all, whatever its length\" "
         "tail",
         2, ""},
        // A run of blanks at the fold goes; the continuation has the one
        // blank folding adds.
        {AnsiString(70, 'x') + "  " + AnsiString(20, 'y'), 2,
         AnsiString(70, 'x') + " " + AnsiString(20, 'y')},
        {AnsiString(70, 'x') + "\t" + AnsiString(20, 'y'), 2,
         AnsiString(70, 'x') + " " + AnsiString(20, 'y')},
        // Nowhere to break before the limit: the first break after it.
        {AnsiString(120, 'x') + " short", 2, ""},
        {AnsiString(120, 'x') + ",short", 2, AnsiString(120, 'x') + ", short"},
    };
    for (const Case& c : cases) {
        TMxHeaderList headers;
        headers.Add("From: someone");
        headers.SetValueOf("To", c.Value);
        const auto lines = LinesOf(headers);
        if (c.Lines == 0) {
            EXPECT_GT(lines.size(), 2u);
        } else {
            EXPECT_EQ(lines.size(), c.Lines + 1) << c.Value;
        }
        // Only a piece with no break before the limit (a long word, a
        // quoted text) may pass it.
        const bool unbreakable =
            c.Value.find(AnsiString(70, 'x')) != AnsiString::npos || c.Value[0] == '"';
        for (std::size_t i = 1; i < lines.size(); ++i) {
            if (!unbreakable) {
                EXPECT_LE(lines[i].size(), 78u) << lines[i];
            }
        }
        for (std::size_t i = 2; i < lines.size(); ++i) {
            EXPECT_TRUE(lines[i][0] == ' ' && lines[i][1] != ' ') << lines[i];
        }
        EXPECT_EQ(headers.ValueOf("To"), c.Unfolded.empty() ? c.Value : c.Unfolded);
    }
}

TEST(HeaderList, SetValueOfReplacesInPlaceAndRemoves) {
    TMxHeaderList headers;
    headers.Add("From: a@b.com");
    headers.SetValueOf("Subject", AnsiString(60, 'a') + " " + AnsiString(60, 'b'));
    headers.Add("Date: today");
    ASSERT_EQ(LinesOf(headers),
              (std::vector<AnsiString>{"From: a@b.com", "Subject: " + AnsiString(60, 'a'),
                                       " " + AnsiString(60, 'b'), "Date: today"}));
    headers.SetValueOf("subject", "short");
    EXPECT_EQ(LinesOf(headers),
              (std::vector<AnsiString>{"From: a@b.com", "subject: short", "Date: today"}));

    headers.SetValueOf("Subject", AnsiString(60, 'a') + " " + AnsiString(60, 'b'));
    headers.SplitLongLines = false;
    headers.SetValueOf("Subject", "");
    EXPECT_EQ(LinesOf(headers), (std::vector<AnsiString>{"From: a@b.com", "Date: today"}));
    headers.SetValueOf("Absent", "");
    EXPECT_EQ(headers.Count(), 2);
}

TEST(HeaderList, ALineEndInAValueNeverStartsAHeaderOrEndsTheBlock) {
    TMxHeaderList headers;
    headers.SetValueOf("Subject", "Hello\r\nBcc: victim@example.com\n\r\nbody?");
    for (int i = 1; i < headers.Count(); ++i) {
        const AnsiString line = headers.Strings(i);
        ASSERT_FALSE(line.empty());
        EXPECT_TRUE(line[0] == ' ' || line[0] == '\t') << line;
    }
    EXPECT_EQ(headers.FindName("Bcc"), -1);
    EXPECT_EQ(headers.ValueOf("Subject"), "Hello Bcc: victim@example.com body?");
}

TEST(HeaderList, AddEqualsLinesAndWrapAndInsert) {
    TStringList source;
    source.Add("Content-Type=text/plain; a=b");
    source.Add("X-Empty=");
    TMxHeaderList headers;
    headers.AddEqualsLines(&source);
    EXPECT_EQ(LinesOf(headers),
              (std::vector<AnsiString>{"Content-Type: text/plain; a=b", "X-Empty: "}));

    headers.WrapAndInsert("X-Long: " + AnsiString(75, 'a') + " tail", 1);
    EXPECT_EQ(LinesOf(headers),
              (std::vector<AnsiString>{"Content-Type: text/plain; a=b",
                                       "X-Long: " + AnsiString(75, 'a'), " tail"}));
}
