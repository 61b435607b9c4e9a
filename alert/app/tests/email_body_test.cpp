// The alert e-mail's text: subject, sections, job blocks and priority
// groups, with no server involved.
#include "alert/app/AlertEmail.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FormatSettings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

const AnsiString D(31, '-');
const AnsiString S(31, '*');
const AnsiString Rule = D + D;

// 9:30 AM on 6 May 2024, a minute later per step.
TDateTime StepAt(int Step) {
    return EncodeDate(2024, 5, 6) + EncodeTime(9, 30 + Step, 0, 0);
}

AlertEmailRow Row(int AlertNbr, int Priority, int JobNbr, const AnsiString& Descr, int Step = 0) {
    AlertEmailRow R;
    R.AlertNbr = AlertNbr;
    R.Priority = Priority;
    R.JobNbr = JobNbr;
    R.Descr = Descr;
    R.DateGenerated = StepAt(Step);
    R.AlertEmail = "ann@shop.example";
    R.AlertRecipientNbr = 4;
    if (JobNbr != -1) {
        R.JobId = "J-" + std::to_string(JobNbr);
        R.JobDescr = JobNbr == 12 ? "Bridge deck" : "Ramp";
    }
    return R;
}

std::string Joined(const std::vector<AnsiString>& Lines) {
    std::string Text;
    for (const AnsiString& Line : Lines)
        Text += Line + "\n";
    return Text;
}

TEST(AlertEmailBody, OneJobAlertAndOnePurchasingAlertLaidOutLineByLine) {
    const std::vector<AlertEmailRow> Rows = {
        Row(27, 2, 12, "Job status changed to Active from Bid.\nJob: J-12 - Bridge deck."),
        Row(31, 1, -1, "Open PO 4410 request by date is tomorrow.", 1),
    };
    const std::vector<AnsiString> Expected = {S,
                                              "Jobs",
                                              S,
                                              "",
                                              D,
                                              "J-12 - Bridge deck",
                                              D,
                                              "",
                                              "    High",
                                              Rule,
                                              "9:30 AM 05/06/24",
                                              "Job status changed to Active from Bid.",
                                              "Job: J-12 - Bridge deck.",
                                              Rule,
                                              "",
                                              "",
                                              S,
                                              "Purchasing",
                                              S,
                                              "",
                                              "    Medium",
                                              Rule,
                                              "9:31 AM 05/06/24",
                                              "Open PO 4410 request by date is tomorrow.",
                                              Rule,
                                              ""};
    EXPECT_EQ(ComposeAlertEmailBody(Rows, 1), Expected);
}

// Every section, two job blocks with groups in High-Medium-Low order, two
// blocks for deleted jobs, alerts of one group in the order of the rows,
// priority 3 under its name "None", and the alerts the layout cannot name
// (a quote request, an alert id and priorities it does not know) under
// "Other".
TEST(AlertEmailBody, AFullRecipientMatchesTheGoldenText) {
    const std::vector<AlertEmailRow> Rows = {
        Row(27, 2, 12, "Job status changed to Active from Bid.\nJob: J-12 - Bridge deck.", 0),
        Row(4, 0, 12, "Job material cost is 112% of estimated material costs.", 1),
        Row(37, 2, 12, "PO opened that has material for job.\nPO 4410. Opened by: Ann Lee.", 2),
        Row(13, 1, 7, "Work Order 7-3 scheduled start date is tomorrow.", 3),
        Row(31, 1, 5, "Open PO 4410 request by date is tomorrow.", 4),
        Row(29, 2, -1, "Job deleted.\nJob: J-3 - Old shed. Deleted by: Ann Lee.", 5),
        Row(29, 2, -1, "Job deleted.\nJob: J-3 - Old shed. Deleted by: Ann Lee.", 6),
        Row(49, 0, -1, "Bob Hay daily hours of 13 exceed 12.\nEdited by: Ann Lee.", 7),
        Row(65, 3, -1, "Insufficient inventory to satisfy inventory pick.", 8),
        Row(86, 1, -1, "Quote Request's 'request by date' is tomorrow.", 9),
        Row(28, 9, -1, "An alert of a later version.", 10),
        Row(32, 1, -1, "Backordered PO 4411 request by date is tomorrow.", 11),
    };
    const std::string Golden =
        (std::filesystem::path(__FILE__).parent_path() / "golden" / "alert_email_body.txt")
            .string();
    std::stringstream Text;
    Text << std::ifstream(Golden, std::ios::binary).rdbuf();
    EXPECT_EQ(Joined(ComposeAlertEmailBody(Rows, 0)), Text.str());
}

TEST(AlertEmailBody, SectionsAndBlocksOpenOnlyWhereAlertsAre) {
    struct Case {
        const char* Name;
        std::vector<AlertEmailRow> Rows;
        std::vector<AnsiString> Head; // the first lines of the body
        int JobHeadings;              // lines that head a job block
    };
    const AnsiString Deleted = "Job deleted.\nJob: J-3 - Old shed. Deleted by: Ann Lee.";
    const std::vector<Case> Cases = {
        {"purchasing only",
         {Row(31, 1, -1, "PO due")},
         {"", S, "Purchasing", S, "", "    Medium"},
         0},
        {"one job, High above Low",
         {Row(27, 0, 12, "low"), Row(27, 2, 12, "high")},
         {S,
          "Jobs",
          S,
          "",
          D,
          "J-12 - Bridge deck",
          D,
          "",
          "    High",
          Rule,
          "9:30 AM 06/05/24",
          "high",
          Rule,
          "",
          "    Low",
          Rule,
          "9:30 AM 06/05/24",
          "low",
          Rule,
          ""},
         1},
        {"each deleted job its own block",
         {Row(29, 2, -1, Deleted), Row(29, 2, -1, Deleted)},
         {S, "Jobs"},
         2},
        {"nothing due", {}, {}, 0},
        {"a text that reads like a marker",
         {Row(31, 2, -1, "POHigh"), Row(29, 2, -1, "Job: JobIndex. Deleted by: Ann Lee.")},
         {S,
          "Jobs",
          S,
          "",
          D,
          "JobIndex",
          D,
          "",
          "    High",
          Rule,
          "9:30 AM 06/05/24",
          "Job: JobIndex. Deleted by: Ann Lee.",
          Rule,
          "",
          "",
          S,
          "Purchasing",
          S,
          "",
          "    High",
          Rule,
          "9:30 AM 06/05/24",
          "POHigh",
          Rule,
          ""},
         0},
    };
    for (const Case& C : Cases) {
        const std::vector<AnsiString> Body = ComposeAlertEmailBody(C.Rows, 0);
        ASSERT_GE(Body.size(), C.Head.size()) << C.Name;
        EXPECT_EQ(std::vector<AnsiString>(Body.begin(), Body.begin() + C.Head.size()), C.Head)
            << C.Name;
        int Headings = 0;
        for (const AnsiString& Line : Body)
            Headings += Line == "J-12 - Bridge deck" || Line == "J-3 - Old shed";
        EXPECT_EQ(Headings, C.JobHeadings) << C.Name;
    }
}

TEST(AlertEmailBody, TheComposerStartsAfreshForEachRecipient) {
    // The next recipient's first alert is about the job the last one
    // ended with: it still opens a block of its own.
    AlertEmailComposer Composer(0);
    Composer.Add(Row(27, 2, 12, "first"));
    Composer.Finish();
    Composer.Add(Row(27, 0, 12, "second"));
    EXPECT_EQ(Composer.Finish(), ComposeAlertEmailBody(std::vector{Row(27, 0, 12, "second")}, 0));
}

TEST(AlertEmailBody, SubjectCarriesTheDateOnTheDailyRunOnly) {
    const TDateTime Today = EncodeDate(2024, 5, 6);
    struct Case {
        std::uint8_t RunClass;
        int DatePreference;
        const char* Subject;
    };
    for (const Case& C :
         {Case{1, 1, "Dornwick Alerts for 05/06/24"}, Case{1, 0, "Dornwick Alerts for 06/05/24"},
          Case{3, 1, "Dornwick Alerts"}, Case{5, 0, "Dornwick Alerts"}})
        EXPECT_EQ(AlertEmailSubject(C.RunClass, Today, C.DatePreference), C.Subject)
            << int(C.RunClass) << "/" << C.DatePreference;
}

} // namespace
