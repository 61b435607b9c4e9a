#include "alert/app/MainFormWindow.h"

#include "alert/DataModuleLookups.h"
#include "alert/app/AboutDlg.h"
#include "alert/app/AlertMailer.h"
#include "alert/app/CommandLine.h"
#include "alert/app/GeneratedAlertsGrid.h"
#include "alert/app/PlacementConversion.h"
#include "alert/store/MainDmod.h"
#include "datamodules/DmodCommon.h"
#include "datamodules/DmodEmp.h"
#include "datamodules/DmodInventory.h"
#include "datamodules/DmodJobForm.h"
#include "datamodules/DmodJobStatus.h"
#include "datamodules/DmodPo.h"
#include "datamodules/format/DateText.h"
#include "formstore/FormStorage.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/DateTimeFormat.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/Format.h"

#include <cstdio>

bool EchoResultsToStderr = false;

TMainFormWindow::TMainFormWindow(TComponent* AOwner) : TForm(AOwner) {
    CreateComponents();
    FGeneratedView = std::make_unique<GeneratedAlertsGrid>(*gridOutput, FOptions);
    Main().LoadOptions(FOptions);
    PeerDmod<TJobFormDmod>(*this, DmodNames::JobForm)
        .SetDecimals(FOptions.QtyDecimals, FOptions.CostDecimals);
    PeerDmod<TPoDmod>(*this, DmodNames::Po)
        .SetDecimals(FOptions.QtyDecimals, FOptions.CostDecimals);
    PeerDmod<TInventoryDmod>(*this, DmodNames::Inventory)
        .SetDecimals(FOptions.QtyDecimals, FOptions.CostDecimals);
    FLookups = std::make_unique<DataModuleLookups>(
        PeerDmod<TJobFormDmod>(*this, DmodNames::JobForm), PeerDmod<TPoDmod>(*this, DmodNames::Po),
        PeerDmod<TEmpDmod>(*this, DmodNames::Emp),
        PeerDmod<TInventoryDmod>(*this, DmodNames::Inventory),
        PeerDmod<TJobStatusDmod>(*this, DmodNames::JobStatus));
    ConvertFormPlacement(FormStorage);
}

TMainFormWindow::~TMainFormWindow() {
    // The timer's handler uses the members below; no tick may come in while
    // they go.
    TimerAutoRun->SetEnabled(false);
}

TMainDmod& TMainFormWindow::Main() const {
    return PeerDmod<TMainDmod>(*this, DmodNames::Main);
}

TDateTime TMainFormWindow::ScheduledTime() const {
    int Hour = 0;
    Hour12To24(FOptions.AlertsProcessAmPm, FOptions.AlertsProcessHour, Hour);
    return EncodeTime(Hour, FOptions.AlertsProcessMin, 0, 0);
}

void TMainFormWindow::FormShow(TObject*) {
    gbDebug->SetVisible(DebugMode);
    TimerAutoRun->SetInterval(60000);
    TimerAutoRun->SetEnabled(true);
    dtpTargetTime->SetTime(ScheduledTime());
    ShowCounters();
    if (FOptions.AlertsGenInd != 0) {
        lblOnOff->SetCaption("On");
        LogLine("Beacon mill on");
    } else {
        lblOnOff->SetCaption("Off");
    }
    cboSMTPEncrypt->Items()->Add("None");
    cboSMTPEncrypt->Items()->Add("SSL");
    cboSMTPEncrypt->Items()->Add("SSL/TLS");
    FillSmtpControls();
    // Filling the edits marked them as changed.
    btSaveSMTPSettings->SetEnabled(false);
    if (rgEmailType->CanFocus()) rgEmailType->SetFocus();
}

void TMainFormWindow::FillSmtpControls() {
    if (!FOptions.SMTPserver.empty()) eSMTPServer->SetText(FOptions.SMTPserver);
    cboSMTPEncrypt->SetItemIndex(FOptions.SMTPencryption);
    eSMTPPort->SetText(IntToStr(FOptions.SMTPport));
    if (!FOptions.SMTPaccount.empty()) eSMTPAccount->SetText(FOptions.SMTPaccount);
    if (!FOptions.SMTPpassword.empty()) eSMTPPassword->SetText(FOptions.SMTPpassword);
    rgEmailType->SetItemIndex(FOptions.AlertsEmailType);
    gbSMTP->SetVisible(rgEmailType->ItemIndex() == 1);
}

void TMainFormWindow::mnuExitClick(TObject*) {
    Close();
}

void TMainFormWindow::mnuAboutClick(TObject*) {
    auto About = std::make_unique<TAboutDlg>(this);
    About->ShowModal();
}

void TMainFormWindow::lblOnOffClick(TObject*) {
    if (lblOnOff->Caption() == "On") {
        Main().TurnAlertsOff();
        lblOnOff->SetCaption("Off");
        LogLine("Beacon mill turned off");
    } else {
        Main().TurnAlertsOn();
        lblOnOff->SetCaption("On");
        LogLine("Beacon mill turned on");
    }
}

void TMainFormWindow::dtpTargetTimeChange(TObject*) {
    Word Hour, Minute, Second, MSec;
    DecodeTime(dtpTargetTime->Time(), Hour, Minute, Second, MSec);
    int Hour12 = Hour;
    if (Hour12 == 0)
        Hour12 = 12;
    else if (Hour12 > 12)
        Hour12 -= 12;
    Main().SaveProcessTime(Hour12, Minute, Hour > 11 ? 1 : 0);
    TimerAutoRun->SetInterval(60000);
}

void TMainFormWindow::ShowCounters() {
    const AnsiString Line =
        Format("Generated alerts: %d, Emailed alerts: %d", FGeneratedCount, FEmailedCount);
    TStrings* Lines = memoResults->Lines();
    if (Lines->Count() == 0)
        Lines->Add(Line);
    else if (Lines->Strings(0) != Line)
        Lines->Put(0, Line);
    else
        return;
    if (EchoResultsToStderr) std::fprintf(stderr, "%s\n", Line.c_str());
}

void TMainFormWindow::LogLine(const AnsiString& Text) {
    const AnsiString Stamp = FormatDateTime(
        FOptions.DT_PREF == 1 ? "h:nn AM/PM mm/dd/yy" : "h:nn AM/PM dd/mm/yy", Now());
    const AnsiString Line = Stamp + ": " + Text;
    TStrings* Lines = memoResults->Lines();
    Lines->Add(Line);
    // Line 0 is the counters; the oldest log line is line 1.
    while (Lines->Count() > MaxResultLines)
        Lines->Delete(1);
    if (EchoResultsToStderr) std::fprintf(stderr, "%s\n", Line.c_str());
}

void TMainFormWindow::AlertGenerated(const AlertTransaction& Alert) {
    ++FGeneratedCount;
    if (gbDebug->Visible() && FGeneratedView) FGeneratedView->AddAlert(Alert);
}

void TMainFormWindow::SetMailer(std::unique_ptr<IAlertMailer> Mailer) {
    FMailer = std::move(Mailer);
}

void TMainFormWindow::SetGeneratedAlertsView(std::unique_ptr<IGeneratedAlertsView> View) {
    FGeneratedView = std::move(View);
}
