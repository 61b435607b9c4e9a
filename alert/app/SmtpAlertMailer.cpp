#include "alert/app/SmtpAlertMailer.h"

#include "alert/store/MainDmod.h"
#include "platform/data/DataSet.h"
#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "platform/gui/Dialogs.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"
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
    const std::size_t From = std::min(Served, Recipients.size());
    return {Recipients.begin() + static_cast<std::ptrdiff_t>(From), Recipients.end()};
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
                       std::uint8_t RunClass, int DatePreference, AlertEmailRun& Run) {
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

    AlertEmailComposer Composer(DatePreference);
    std::size_t First = 0;
    while (First < Rows.size()) {
        std::size_t End = First + 1;
        while (End < Rows.size() && Rows[End].AlertRecipientNbr == Rows[First].AlertRecipientNbr)
            ++End;
        try {
            for (std::size_t I = First; I < End; ++I)
                Composer.Add(Rows[I]);
            Transport.Send(Rows[First].AlertEmail, Composer.Finish());
        } catch (const Exception& E) {
            Fail(E, Rows[First].AlertEmail);
            return;
        }
        ++Run.Served;
        First = End;
    }
}

SmtpAlertMailer::SmtpAlertMailer(TMainDmod& Main, std::unique_ptr<IAlertMailHost> Host)
    : FMain(Main), FHost(std::move(Host)) {}

SmtpAlertMailer::~SmtpAlertMailer() = default;

bool SmtpAlertMailer::SendAlertEmails(std::uint8_t RunClass) {
    FUnsent.clear();
    if (RunClass == 0 || RunClass == 2) return false;
    FMain.OpenAlertsToEmail(RunClass);
    const std::vector<AlertEmailRow> Rows = ReadAlertEmailRows(*FMain.CommonSql);
    if (Rows.empty()) return false;
    // Until a message is accepted, every recipient of the selection counts
    // as unsent, also when a settings error ends the call here.
    FUnsent = RecipientsOf(Rows);
    FTransport.Configure(FHost->SmtpControls());

    AlertEmailRun Run;
    SendAlertEmailRun(FTransport, Rows, RunClass, FHost->DatePreference(), Run);
    FUnsent = Run.Unsent();
    // A server's reply text ends with its line end, which would leave an
    // empty line in the log.
    if (Run.Failed)
        FHost->LogLine(TrimRight(Run.Error) + "\nUnable to send email to " + Run.FailedAddress);
    return Run.Completed();
}

void SmtpAlertMailer::TestConnection() {
    FTransport.Configure(FHost->SmtpControls());
    ClosingScope Closing(FTransport);
    try {
        FTransport.Open();
        FTransport.Authenticate();
        FHost->ShowMessageBox("Connection attempt successful", "Notice",
                              MB_OK | MB_ICONINFORMATION | MB_TOPMOST);
    } catch (const Exception& E) {
        FHost->ShowMessageBox("Could not connect to server: " + E.Message, "Warning",
                              MB_OK | MB_ICONINFORMATION | MB_TOPMOST);
    }
}
