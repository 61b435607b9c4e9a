#include "alert/app/SmtpAlertMailer.h"

#include "alert/LogText.h"
#include "alert/app/ServedLastStore.h"
#include "alert/store/MainDmod.h"
#include "mail/MxEmailAddress.h"
#include "mail/MxExceptions.h"
#include "mail/MxSMTP.h"
#include "platform/data/DataSet.h"
#include "platform/data/Database.h"
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

// An error as the log shows it: a server's refusal with its reply code in
// front of its text ("421 4.7.0 closing"), anything else as it says.
AnsiString ErrorText(const Exception& E) {
    if (const auto* Reply = dynamic_cast<const mail::EMxProtocolReplyError*>(&E))
        return IntToStr(Reply->ReplyErrorCode) + " " + TrimRight(E.Message);
    return TrimRight(E.Message);
}

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
    const auto Fail = [&Run](const Exception& E, const AlertEmailRow* Row) {
        Run.Failed = true;
        Run.Error = ErrorText(E);
        Run.FailedRecipient = Row ? Row->AlertRecipientNbr : 0;
        Run.FailedAddress = Row ? Row->AlertEmail : AnsiString();
    };

    try {
        Transport.Open();
    } catch (const Exception& E) {
        // The connection failed, not a message: nobody's is to blame.
        Fail(E, nullptr);
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
            Fail(E, &Row);
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
    // Those whose message ended an earlier run at the connection level go
    // last, in the order they did so, also when that run was before a
    // restart; everybody else keeps the selection's order.
    if (!FSendLastLoaded) {
        FSendLast = ServedLastStore(FMain.MyDatabase->FileName()).Load();
        FSendLastLoaded = true;
    }
    const std::vector<std::int32_t> SendLastBefore = FSendLast;
    std::stable_sort(
        Rows.begin(), Rows.end(), [this](const AlertEmailRow& A, const AlertEmailRow& B) {
            return SendLastRank(A.AlertRecipientNbr) < SendLastRank(B.AlertRecipientNbr);
        });

    // Addresses come from the database and replies from the server: each
    // is escaped, so that neither can make a line of its own in the log.
    const auto Named = [](const AnsiString& Address, std::int32_t Recipient) {
        return EscapedLogText(Address) + " (employee " + IntToStr(Recipient) + ")";
    };
    AlertEmailRun Run;
    SendAlertEmailRun(
        FTransport, Rows, RunClass, FHost->DatePreference(), Run,
        // Marked at once: a run cut off later must not send it again.
        [this, RunClass](std::int32_t Recipient) {
            FMain.MarkRecipientAlertsSent(RunClass, Recipient);
            std::erase(FSendLast, Recipient);
        },
        [this, &Named](const AlertEmailRefusal& R) {
            FHost->LogLine(EscapedLogText(R.Reason) + "\nUnable to send email to " +
                           Named(R.Address, R.Recipient));
        });
    FUnsent = Run.Unsent();
    if (Run.Failed) {
        // The connection failed: say so, with the server's reply, and who
        // is still due because of it.
        AnsiString Due;
        for (const std::int32_t Recipient : FUnsent) {
            const auto Row =
                std::find_if(Rows.begin(), Rows.end(), [Recipient](const AlertEmailRow& R) {
                    return R.AlertRecipientNbr == Recipient;
                });
            if (std::any_of(
                    Run.Refused.begin(), Run.Refused.end(),
                    [Recipient](const AlertEmailRefusal& R) { return R.Recipient == Recipient; }))
                continue; // reported with its refusal
            Due += (Due.empty() ? "" : ", ") + Named(Row->AlertEmail, Recipient);
        }
        FHost->LogLine("Connection to the SMTP server " + EscapedLogText(FTransport.Smtp().Host()) +
                       ":" + IntToStr(FTransport.Smtp().Port()) + " failed: " +
                       EscapedLogText(Run.Error) + "\nUnable to send email to " + Due);
        if (Run.FailedRecipient) {
            std::erase(FSendLast, Run.FailedRecipient);
            FSendLast.push_back(Run.FailedRecipient);
        }
    }
    if (FSendLast != SendLastBefore) SaveSendLast();
    return Run.Completed();
}

void SmtpAlertMailer::SaveSendLast() {
    try {
        ServedLastStore(FMain.MyDatabase->FileName()).Save(FSendLast);
    } catch (const Exception& E) {
        // The order still holds until the program ends; only a restart
        // would lose it, and the log says so.
        FHost->LogLine("Unable to keep the recipients served last for a restart: " +
                       EscapedLogText(E.Message));
    }
}

int SmtpAlertMailer::SendLastRank(std::int32_t Recipient) const {
    const auto At = std::find(FSendLast.begin(), FSendLast.end(), Recipient);
    return At == FSendLast.end() ? 0 : 1 + static_cast<int>(At - FSendLast.begin());
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
