#pragma once
// E-mailing the due alerts over SMTP: the selection of the run's class, one
// connection per run, one message per recipient, and a line in the results
// log when the connection or a message fails. Also the operator's
// connection test.
#include "alert/app/AlertEmail.h"
#include "alert/app/AlertMailTransport.h"
#include "alert/app/AlertMailer.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

class TDataSet;
class TMainDmod;

// What the mailer needs of the main window.
class IAlertMailHost {
public:
    virtual ~IAlertMailHost() = default;
    virtual SmtpControlValues SmtpControls() const = 0;
    // The options' DT_PREF: 1 for month-first dates.
    virtual int DatePreference() const = 0;
    // A line for the results log; the host adds the time stamp and ": ".
    virtual void LogLine(const AnsiString& Text) = 0;
    virtual void ShowMessageBox(const AnsiString& Text, const AnsiString& Caption,
                                unsigned Flags) = 0;
};

// A message the server refused, or that could not be made.
struct AlertEmailRefusal {
    std::int32_t Recipient = 0;
    AnsiString Address;
    AnsiString Reason; // the server's reply, or the error
};

// How far one run got.
struct AlertEmailRun {
    // The recipients of the rows, each once, in the order of the rows.
    std::vector<std::int32_t> Recipients;
    // Those whose message the server accepted, in the order sent.
    std::vector<std::int32_t> Accepted;
    // Those whose message was refused; the run went on after each.
    std::vector<AlertEmailRefusal> Refused;
    // The error that ended the run (the connection, the login, a dropped
    // line, a 421), with the server's reply code when it sent one, and the
    // recipient whose message was under way (0 and empty when the run
    // ended before its first message).
    bool Failed = false;
    AnsiString Error;
    std::int32_t FailedRecipient = 0;
    AnsiString FailedAddress;

    // The run reached its last recipient and e-mailed somebody: the window
    // counts such runs.
    bool Completed() const { return !Failed && !Accepted.empty(); }
    // The recipients whose message the server did not accept, in order.
    std::vector<std::int32_t> Unsent() const;
};

// Every row of the open selection, from the first.
std::vector<AlertEmailRow> ReadAlertEmailRows(TDataSet& Selection);

// Whether an employee's alert address names anybody: an empty or blank
// text, or "<>", does not. A text that cannot even be parsed does, so that
// its refusal is reported.
bool HasAlertAddress(const AnsiString& Address);

// Connects (nothing when there are no rows) and sends each recipient's
// message in turn, the rows ordered by recipient. A refused message is
// recorded in Run.Refused (and handed to Refused) and the run goes on with
// the next recipient; Accepted is called for each recipient as soon as the
// server has taken its message. Any other error ends the run and is
// recorded in Run; the connection is closed however the run ends.
void SendAlertEmailRun(AlertMailTransport& Transport, std::span<const AlertEmailRow> Rows,
                       std::uint8_t RunClass, int DatePreference, AlertEmailRun& Run,
                       const std::function<void(std::int32_t Recipient)>& Accepted = {},
                       const std::function<void(const AlertEmailRefusal&)>& Refused = {});

class SmtpAlertMailer : public IAlertMailer {
public:
    SmtpAlertMailer(TMainDmod& Main, std::unique_ptr<IAlertMailHost> Host);
    ~SmtpAlertMailer() override;

    bool SendAlertEmails(std::uint8_t RunClass) override;
    std::vector<std::int32_t> UnsentRecipients() const override { return FUnsent; }
    void TestConnection() override;

    AlertMailTransport& Transport() { return FTransport; }

private:
    TMainDmod& FMain;
    std::unique_ptr<IAlertMailHost> FHost;
    AlertMailTransport FTransport;
    std::vector<std::int32_t> FUnsent;
    // 0 for a recipient not in FSendLast, else its place there from 1.
    int SendLastRank(std::int32_t Recipient) const;
    // Recipients whose message ended a run at the connection level, the
    // latest last: the next runs serve them after everybody else, so that
    // one recipient a server keeps refusing that way (a 421) holds up the
    // others for one run at most. One leaves the list once served. Read
    // from the store at the first run and written back when it changes,
    // so a restart keeps it.
    std::vector<std::int32_t> FSendLast;
    bool FSendLastLoaded = false;
    void SaveSendLast();
};
