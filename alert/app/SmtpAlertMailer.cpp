#include "alert/app/SmtpAlertMailer.h"

#include "alert/store/MainDmod.h"
#include "mail/MxEmailAddress.h"
#include "platform/data/DataSet.h"
#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "platform/gui/Dialogs.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/StrUtils.h"

#include <algorithm>

namespace {

// Closes the connection however the scope is left.
class ClosingScope {
public:
    explicit ClosingScope(AlertMailTransport& Transport) : FTransport(Transport) {}
    ~ClosingScope() { FTransport.Close(); }
    ClosingScope(const ClosingScope&) = delete;
    ClosingScope& operator=(const ClosingScope&) = delete;

private:
    AlertMailTransport& FTransport;
};

std::vector<std::int32_t> RecipientsOf(std::span<const AlertEmailRow> Rows) {
    std::vector<std::int32_t> Recipients;
    for (std::size_t I = 0; I < Rows.size(); ++I)
        if (I == 0 || Rows[I].AlertRecipientNbr != Rows[I - 1].AlertRecipientNbr)
            Recipients.push_back(Rows[I].AlertRecipientNbr);
    return Recipients;
}

} // namespace

std::vector<std::int32_t> AlertEmailRun::Unsent() const {
    std::vector<std::int32_t> Result;
    for (const std::int32_t Recipient : Recipients)
        if (std::find(Accepted.begin(), Accepted.end(), Recipient) == Accepted.end())
            Result.push_back(Recipient);
    return Result;
}

bool HasAlertAddress(const AnsiString& Address) {
    try {
        mail::TMxEMailAddressList List;
        List.SetAddressText(Address);
        return List.Count() > 0;
    } catch (const Exception&) {
        return true;
    }
}

std::vector<AlertEmailRow> ReadAlertEmailRows(TDataSet& Selection) {
    std::vector<AlertEmailRow> Rows;
    for (Selection.First(); !Selection.Eof(); Selection.Next()) {
        AlertEmailRow Row;
        Row.AlertNbr = Selection.FieldByName("AlertNbr")->AsInteger();
        Row.Descr = Selection.FieldByName("Descr")->AsString();
        Row.Priority = Selection.FieldByName("Priority")->AsInteger();
        Row.DateGenerated = Selection.FieldByName("DateGenerated")->AsDateTime();
        Row.AlertEmail = Selection.FieldByName("AlertEmail")->AsString();
        Row.AlertRecipientNbr = Selection.FieldByName("AlertRecipientNbr")->AsInteger();
        const TField* Job = Selection.FieldByName("JobNbr");
        Row.JobNbr = Job->IsNull() ? -1 : Job->AsInteger();
        Row.JobId = Selection.FieldByName("JobId")->AsString();
        Row.JobDescr = Selection.FieldByName("JobDescr")->AsString();
        Rows.push_back(std::move(Row));
    }
    return Rows;
}

void SendAlertEmailRun(AlertMailTransport& Transport, std::span<const AlertEmailRow> Rows,
                       std::uint8_t RunClass, int DatePreference, AlertEmailRun& Run,
                       const std::function<void(std::int32_t Recipient)>& Accepted,
                       const std::function<void(const AlertEmailRefusal&)>& Refused) {
    Run = AlertEmailRun();
    Run.Recipients = RecipientsOf(Rows);
    if (Rows.empty()) return;
    const auto Fail = [&Run](const Exception& E, const AnsiString& Address) {
        Run.Failed = true;
        Run.Error = E.Message;
        Run.FailedAddress = Address;
    };

    try {
        Transport.Open();
    } catch (const Exception& E) {
        // Nobody got a message: the first recipient's is the one that failed.
        Fail(E, Rows.front().AlertEmail);
        return;
    }
    ClosingScope Closing(Transport);
    Transport.SetSubject(AlertEmailSubject(RunClass, Date(), DatePreference));

    for (std::size_t First = 0, End = 0; First < Rows.size(); First = End) {
        End = First + 1;
        while (End < Rows.size() && Rows[End].AlertRecipientNbr == Rows[First].AlertRecipientNbr)
            ++End;
        const AlertEmailRow& Row = Rows[First];
        try {
            // A body of its own for each message: one that could not be
            // made leaves nothing behind for the next.
            std::vector<AnsiString> Body;
            try {
                Body = ComposeAlertEmailBody(Rows.subspan(First, End - First), DatePreference);
            } catch (const Exception& E) {
                throw EAlertMessageRefused(E.Message);
            }
            Transport.Send(Row.AlertEmail, Body);
        } catch (const EAlertMessageRefused& E) {
            Run.Refused.push_back({Row.AlertRecipientNbr, Row.AlertEmail, E.Message});
            if (Refused) Refused(Run.Refused.back());
            continue;
        } catch (const Exception& E) {
            Fail(E, Row.AlertEmail);
            return;
        }
        Run.Accepted.push_back(Row.AlertRecipientNbr);
        if (Accepted) Accepted(Row.AlertRecipientNbr);
    }
}

SmtpAlertMailer::SmtpAlertMailer(TMainDmod& Main, std::unique_ptr<IAlertMailHost> Host)
    : FMain(Main), FHost(std::move(Host)) {}

SmtpAlertMailer::~SmtpAlertMailer() = default;

bool SmtpAlertMailer::SendAlertEmails(std::uint8_t RunClass) {
    FUnsent.clear();
    if (RunClass == 0 || RunClass == 2) return false;
    FMain.OpenAlertsToEmail(RunClass);
    std::vector<AlertEmailRow> Rows = ReadAlertEmailRows(*FMain.CommonSql);
    // An employee whose address names nobody is one without an address:
    // no message, and the rows go as theirs do.
    std::erase_if(Rows, [](const AlertEmailRow& Row) { return !HasAlertAddress(Row.AlertEmail); });
    if (Rows.empty()) return false;
    // Until a message is accepted, every recipient of the selection counts
    // as unsent, also when a settings error ends the call here.
    FUnsent = RecipientsOf(Rows);
    const SmtpControlValues Values = FHost->SmtpControls();
    const std::vector<AnsiString> Missing = MissingSmtpSettings(Values);
    if (!Missing.empty()) {
        AnsiString Names = Missing.front();
        for (std::size_t I = 1; I < Missing.size(); ++I)
            Names += (I + 1 == Missing.size() ? " and " : ", ") + Missing[I];
        FHost->LogLine("Unable to send email: the SMTP " + Names +
                       (Missing.size() == 1 ? " is" : " are") + " missing.");
        return false;
    }
    FTransport.Configure(Values);

    // A server's reply text ends with its line end, which would leave an
    // empty line in the log.
    const auto Report = [this](const AnsiString& Error, const AnsiString& Address,
                               std::int32_t Recipient) {
        FHost->LogLine(TrimRight(Error) + "\nUnable to send email to " + Address +
                       (Recipient ? " (employee " + IntToStr(Recipient) + ")" : AnsiString()));
    };
    AlertEmailRun Run;
    SendAlertEmailRun(
        FTransport, Rows, RunClass, FHost->DatePreference(), Run,
        // Marked at once: a run cut off later must not send it again.
        [this, RunClass](std::int32_t Recipient) {
            FMain.MarkRecipientAlertsSent(RunClass, Recipient);
        },
        [&Report](const AlertEmailRefusal& R) { Report(R.Reason, R.Address, R.Recipient); });
    FUnsent = Run.Unsent();
    if (Run.Failed) Report(Run.Error, Run.FailedAddress, 0);
    return Run.Completed();
}

void SmtpAlertMailer::TestConnection() {
    FTransport.Configure(FHost->SmtpControls());
    ClosingScope Closing(FTransport);
    AnsiString Text = "Connection attempt successful";
    AnsiString Caption = "Notice";
    try {
        // The login is part of the test, offered or not.
        FTransport.Open(true);
    } catch (const Exception& E) {
        Text = "Could not connect to server: " + E.Message;
        Caption = "Warning";
    }
    // Closed before the box goes up: while it waits for the operator, a
    // scheduled run must find the connection free.
    FTransport.Close();
    FHost->ShowMessageBox(Text, Caption, MB_OK | MB_ICONINFORMATION | MB_TOPMOST);
}
