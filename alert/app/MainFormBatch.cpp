// The scheduler tick, the manual daily run and the batch they start.
#include "alert/AlertContext.h"
#include "alert/AlertIntake.h"
#include "alert/AlertProcessing.h"
#include "alert/DataModuleLookups.h"
#include "alert/DateAlerts.h"
#include "alert/LogText.h"
#include "alert/app/AlertMailer.h"
#include "alert/app/MainFormWindow.h"
#include "alert/store/MainDmod.h"
#include "platform/data/DBExceptions.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/DateTime.h"

#include <cstdint>
#include <exception>
#include <vector>

namespace {

// Nobody is there to answer a box on an unattended machine: a failure the
// tick runs into goes to the results log, and the next tick tries again.
template <class Body> bool Logged(IAlertHost& Host, Body&& Work) {
    try {
        Work();
        return true;
    } catch (const Exception& E) {
        Host.LogLine(EscapedLogText(E.Message));
    } catch (const std::exception& E) {
        Host.LogLine(EscapedLogText(E.what()));
    }
    return false;
}

} // namespace

template <class Step> void TMainFormWindow::RunBatchStep(Step&& Body) {
    // After a failure of the database as a whole (a full disk, a read-only
    // file) every later step would only fail and log the same again.
    if (FDatabaseUnusable) return;
    const auto Watched = [&] {
        try {
            Body();
        } catch (const EDatabaseUnusable&) {
            FDatabaseUnusable = true;
            throw;
        }
    };
    if (FOperatorBatch)
        Watched();
    else
        Logged(*this, Watched);
}

void TMainFormWindow::TimerAutoRunTimer(TObject*) {
    TDateTime Scheduled;
    const bool Loaded = Logged(*this, [&] {
        Main().LoadOptions(FOptions);
        Scheduled = ScheduledTime();
        dtpTargetTime->SetTime(Scheduled);
        if (!btSaveSMTPSettings->Enabled()) {
            FillSmtpControls();
            btSaveSMTPSettings->SetEnabled(false);
        }
    });
    if (!Loaded) return;

    if (FOptions.AlertsGenInd == 0) {
        lblOnOff->SetCaption("Off");
        FGeneratedCount = 0;
        FEmailedCount = 0;
        ShowCounters();
        return;
    }
    lblOnOff->SetCaption("On");

    const TickDecision Decision = FScheduler.Tick(Now(), TimerAutoRun->Interval(), Scheduled);
    if (Decision.AlignInterval) TimerAutoRun->SetInterval(*Decision.AlignInterval);
    if (Decision.LookAheadInterval) TimerAutoRun->SetInterval(*Decision.LookAheadInterval);
    RunAlertBatch(Decision.RunClass, Decision.DailyRun);
}

void TMainFormWindow::btnRunClick(TObject*) {
    const int Answer =
        MessageBox(nullptr, "Check the daily alerts batch ahead of scheduled run time?", "Confirm",
                   MB_YESNO | MB_ICONINFORMATION | MB_DEFBUTTON2 | MB_TOPMOST);
    if (Answer != IDYES) return;
    TimerAutoRun->SetEnabled(false);
    FOperatorBatch = true;
    try {
        RunAlertBatch(RunClassDaily, true);
    } catch (...) {
        FOperatorBatch = false;
        TimerAutoRun->SetEnabled(true);
        throw;
    }
    FOperatorBatch = false;
    TimerAutoRun->SetEnabled(true);
}

void TMainFormWindow::RunAlertBatch(std::uint8_t RunClass, bool DailyRun) {
    FBatchStartTime = Now();
    FDatabaseUnusable = false;
    AlertContext Context(*this, Main(), *FLookups);
    RunBatchStep([&] { CheckAlertSettingMarkers(Context); });
    RunBatchStep([&] { ScanAlertTransactions(Context); });
    if (DailyRun) RunBatchStep([&] { RunDateAlerts(Context); });
    // The alerts whose message the server did not take stay due. A mail
    // step that broke off with an error of its own (a port that is no
    // number, a failed selection) leaves every alert of the class due.
    std::vector<std::int32_t> KeepDue;
    bool MailStepEnded = true;
    if (rgEmailType->ItemIndex() == 1 && FMailer) {
        MailStepEnded = false;
        RunBatchStep([&] {
            if (FMailer->SendAlertEmails(RunClass)) ++FEmailedCount;
            KeepDue = FMailer->UnsentRecipients();
            MailStepEnded = true;
        });
    }
    if (MailStepEnded) RunBatchStep([&] { Main().MarkAlertsSent(RunClass, KeepDue); });
    RunBatchStep([&] { Main().PurgeAlertHistory(); });
    RunBatchStep([&] { Main().RefreshAlertThresholds(); });
    ShowCounters();
}
