#pragma once
// The program's only window and the owner of the alert engine's state: the
// options, the alert-settings cache, the counters and the time of the batch.
// Its timer drives the scheduler; its controls switch generation on and
// off, set the daily run time, choose e-mail and hold the SMTP settings.
#include "alert/AlertHost.h"
#include "alert/app/AlertScheduler.h"
#include "alert/store/ShopOptions.h"
#include "platform/gui/Forms.h"

#include <cstdint>
#include <memory>

class IAlertMailer;
class IGeneratedAlertsView;
class DataModuleLookups;
class TButton;
class TComboBox;
class TDateTimePicker;
class TEdit;
class TGroupBox;
class TLabel;
class TMainDmod;
class TMainMenu;
class TMemo;
class TMenuItem;
class TPanel;
class TRadioGroup;
class TTimer;
namespace components {
class TPellworthGrid;
}
namespace formstore {
class TFormStorage;
}

// Set by the entry when nobody can see the window: the results log then goes
// to standard error as well.
extern bool EchoResultsToStderr;

class TMainFormWindow : public TForm, public IAlertHost {
public:
    // Uses the data modules its owner holds (the main, job-form, purchase-
    // order, inventory, employee and job-status modules); loads the options,
    // which raises when the database cannot be reached.
    explicit TMainFormWindow(TComponent* AOwner);
    ~TMainFormWindow() override;
    AnsiString ClassName() const override { return "TMainFormWindow"; }

    // ---- handlers
    void FormShow(TObject* Sender);
    void mnuExitClick(TObject* Sender);
    void mnuAboutClick(TObject* Sender);
    void lblOnOffClick(TObject* Sender);
    void dtpTargetTimeChange(TObject* Sender);
    void TimerAutoRunTimer(TObject* Sender);
    void btnRunClick(TObject* Sender);
    void btnClearClick(TObject* Sender);
    void rgEmailTypeClick(TObject* Sender);
    void SMTPSettingsChange(TObject* Sender);
    void btTestConnectionClick(TObject* Sender);
    void btSaveSMTPSettingsClick(TObject* Sender);

    // One batch of the frequency class. A failing step is reported in the
    // results log and the batch goes on with the next step.
    void RunAlertBatch(std::uint8_t RunClass, bool DailyRun);
    // The server, port and account edits are each filled in.
    bool SmtpSettingsComplete() const;

    // ---- the engine's host
    AlertSettingsCache& SettingsCache() override { return FSettingsCache; }
    TDateTime BatchStartTime() const override { return FBatchStartTime; }
    void AlertGenerated(const AlertTransaction& Alert) override;
    void LogLine(const AnsiString& Text) override;

    // ---- the parts that plug in
    void SetMailer(std::unique_ptr<IAlertMailer> Mailer);
    // The window shows the alerts in gridOutput unless another view is set.
    void SetGeneratedAlertsView(std::unique_ptr<IGeneratedAlertsView> View);

    // The results memo keeps the counter line and at most this many lines
    // in all; the oldest log lines go first. A program that runs for months
    // must not grow its log, and the time each line costs, without end.
    static constexpr int MaxResultLines = 5000;

    const ShopOptions& Options() const { return FOptions; }
    std::int32_t GeneratedCount() const { return FGeneratedCount; }
    std::int32_t EmailedCount() const { return FEmailedCount; }

    // ---- components
    TMainMenu* MainMenu = nullptr;
    TMenuItem* mnuFile = nullptr;
    TMenuItem* mnuExit = nullptr;
    TMenuItem* mnuHelp = nullptr;
    TMenuItem* mnuAbout = nullptr;
    TPanel* Panel1 = nullptr;
    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* lblOnOff = nullptr;
    TDateTimePicker* dtpTargetTime = nullptr;
    TButton* btnRun = nullptr;
    TRadioGroup* rgEmailType = nullptr;
    TGroupBox* gbSMTP = nullptr;
    TEdit* eSMTPServer = nullptr;
    TEdit* eSMTPPort = nullptr;
    TEdit* eSMTPAccount = nullptr;
    TComboBox* cboSMTPEncrypt = nullptr;
    TEdit* eSMTPPassword = nullptr;
    TButton* btTestConnection = nullptr;
    TButton* btSaveSMTPSettings = nullptr;
    TGroupBox* gbDebug = nullptr;
    components::TPellworthGrid* gridOutput = nullptr;
    TButton* btnClear = nullptr;
    TMemo* memoResults = nullptr;
    TTimer* TimerAutoRun = nullptr;
    formstore::TFormStorage* FormStorage = nullptr;

private:
    // The components and their properties, as the form's resource holds them.
    void CreateComponents();
    void CreateSmtpControls();

    TMainDmod& Main() const;
    // The daily run time of the options as a time of day.
    TDateTime ScheduledTime() const;
    // The SMTP controls and the e-mail choice from the options.
    void FillSmtpControls();
    // Line 0 of the results: the two counters.
    void ShowCounters();
    // One step of a batch; its error goes to the log unless the operator
    // started the batch.
    template <class Step> void RunBatchStep(Step&& Body);

    ShopOptions FOptions;
    AlertSettingsCache FSettingsCache;
    TDateTime FBatchStartTime = 0.0;
    std::int32_t FGeneratedCount = 0;
    std::int32_t FEmailedCount = 0;
    AlertScheduler FScheduler;
    std::unique_ptr<DataModuleLookups> FLookups;
    std::unique_ptr<IAlertMailer> FMailer;
    std::unique_ptr<IGeneratedAlertsView> FGeneratedView;
    // The batch runs for the operator: its errors go to him in a box.
    bool FOperatorBatch = false;
    // A step of this batch failed with the database as a whole: the steps
    // after it are skipped.
    bool FDatabaseUnusable = false;
};
