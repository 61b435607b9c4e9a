#pragma once
// The text of the alert e-mails: one plain-text message per recipient with
// the recipient's alerts in a job, a purchasing, an employee and an
// inventory section, each split into High, Medium and Low groups, and the
// job alerts in one block per job. The body is built as a list of lines with
// marker lines standing for the places where the alerts of a section, job
// block or group go; BuildAlertEmailBody turns the markers into the headings
// and rules of the layout. An alert whose kind or priority the layout has no
// place for goes to an "Other" section or group instead of being dropped.
#include "platform/rtl/AnsiString.h"
#include "platform/rtl/TDateTime.h"

#include <cstdint>
#include <span>
#include <vector>

// One due alert as the e-mail selection gives it.
struct AlertEmailRow {
    std::int32_t AlertNbr = 0;
    AnsiString Descr;
    std::int32_t Priority = 0;
    TDateTime DateGenerated = 0.0;
    AnsiString AlertEmail;
    std::int32_t AlertRecipientNbr = 0;
    std::int32_t JobNbr = -1; // -1 when the row has no job
    AnsiString JobId;
    AnsiString JobDescr;
};

// "mm/dd/yy" for month-first dates (the options' DT_PREF 1), else "dd/mm/yy".
AnsiString AlertEmailDatePattern(int DatePreference);
// "Dornwick Alerts for <today>" for the daily run, "Dornwick Alerts" else.
AnsiString AlertEmailSubject(std::uint8_t RunClass, TDateTime Today, int DatePreference);

// The body being built: text lines and marker lines.
using AlertEmailList = std::vector<AnsiString>;

// Empties the list and puts in the markers of an empty body.
void SeedAlertEmailBody(AlertEmailList& List);
// Replaces the markers of the list with the layout's headings and rules.
// JobMode closes the job block being filled and leaves everything else.
void BuildAlertEmailBody(AlertEmailList& List, bool JobMode);

// Collects one recipient's alerts, in the order of the selection, into the
// marker list, and gives the finished body.
class AlertEmailComposer {
public:
    explicit AlertEmailComposer(int DatePreference);

    void Add(const AlertEmailRow& Row);
    // The body's lines (a line feed inside an alert's text starts a line of
    // its own); the composer is empty again afterwards.
    std::vector<AnsiString> Finish();

private:
    void OpenJobBlock(const AlertEmailRow& Row);

    AnsiString FStampFormat;
    AlertEmailList FList;
    std::int32_t FCurrentJob = 0;
    bool FJobBlockOpen = false;
};

// The body of one recipient's message from that recipient's rows.
std::vector<AnsiString> ComposeAlertEmailBody(std::span<const AlertEmailRow> Rows,
                                              int DatePreference);
