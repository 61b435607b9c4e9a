// The main window's components with the properties and handlers its form
// resource gives them.
#include "alert/app/MainFormWindow.h"

#include "alert/app/GeneratedAlertsGrid.h"
#include "components/PellworthGrid.h"
#include "formstore/FormStorage.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Menus.h"
#include "platform/gui/StdCtrls.h"

namespace {

template <class T> T* Make(TComponent* Owner, TWinControl* Parent, const char* Name) {
    auto* C = new T(Owner);
    C->SetName(Name);
    C->SetParent(Parent);
    return C;
}

TLabel* MakeLabel(TComponent* Owner, TWinControl* Parent, const char* Name, const char* Caption,
                  int Left, int Top) {
    auto* L = Make<TLabel>(Owner, Parent, Name);
    L->SetCaption(Caption);
    L->SetLeft(Left);
    L->SetTop(Top);
    return L;
}

TMenuItem* MakeItem(TComponent* Owner, TMenuItem* Parent, const char* Name, const char* Caption) {
    auto* Item = new TMenuItem(Owner);
    Item->SetName(Name);
    Item->SetCaption(Caption);
    Parent->Add(Item);
    return Item;
}

} // namespace

void TMainFormWindow::CreateComponents() {
    SetName("MainFormWindow");
    SetCaption("Beacon Mill");
    SetBounds(Left(), Top(), 750, 515);
    Constraints()->SetMinWidth(750);
    Constraints()->SetMinHeight(515);
    OnShow = [this](TObject* Sender) { FormShow(Sender); };

    MainMenu = new TMainMenu(this);
    MainMenu->SetName("MainMenu");
    mnuFile = MakeItem(this, MainMenu->Items(), "mnuFile", "File");
    mnuExit = MakeItem(this, mnuFile, "mnuExit", "Exit");
    mnuExit->OnClick = [this](TObject* Sender) { mnuExitClick(Sender); };
    mnuHelp = MakeItem(this, MainMenu->Items(), "mnuHelp", "Help");
    mnuAbout = MakeItem(this, mnuHelp, "mnuAbout", "About...");
    mnuAbout->OnClick = [this](TObject* Sender) { mnuAboutClick(Sender); };
    SetMenu(MainMenu);

    Panel1 = Make<TPanel>(this, this, "Panel1");
    Panel1->SetAlign(alClient);
    Panel1->SetBevelOuter(bvNone);
    const int Height = Panel1->ClientHeight();
    const int Width = Panel1->ClientWidth();

    // The alert switch and the daily run.
    Label2 = MakeLabel(this, Panel1, "Label2", "Alerts:", 16, 18);
    lblOnOff = Make<TLabel>(this, Panel1, "lblOnOff");
    lblOnOff->SetAutoSize(false);
    lblOnOff->SetBounds(64, 18, 40, 16);
    lblOnOff->SetAlignment(taCenter);
    lblOnOff->SetParentFont(false);
    lblOnOff->Font()->SetColor(clBlue);
    lblOnOff->Font()->SetStyle({fsUnderline});
    lblOnOff->SetCursor(crHandPoint);
    lblOnOff->SetCaption("On");
    lblOnOff->OnClick = [this](TObject* Sender) { lblOnOffClick(Sender); };

    Label1 = MakeLabel(this, Panel1, "Label1", "Scheduled Run Time", 16, 50);
    dtpTargetTime = Make<TDateTimePicker>(this, Panel1, "dtpTargetTime");
    dtpTargetTime->SetBounds(136, 46, 104, 24);
    dtpTargetTime->SetKind(dtkTime);
    dtpTargetTime->SetDateMode(dmComboBox);
    dtpTargetTime->SetParseInput(false);
    dtpTargetTime->OnChange = [this](TObject* Sender) { dtpTargetTimeChange(Sender); };

    btnRun = Make<TButton>(this, Panel1, "btnRun");
    btnRun->SetBounds(16, 84, 224, 28);
    btnRun->SetCaption("Run Daily Alerts Now");
    btnRun->OnClick = [this](TObject* Sender) { btnRunClick(Sender); };

    rgEmailType = Make<TRadioGroup>(this, Panel1, "rgEmailType");
    rgEmailType->SetBounds(16, 126, 224, 64);
    rgEmailType->SetCaption("Email Alerts");
    rgEmailType->Items()->Add("Off");
    rgEmailType->Items()->Add("SMTP");
    rgEmailType->OnClick = [this](TObject* Sender) { rgEmailTypeClick(Sender); };

    CreateSmtpControls();

    // The results, and the generated alerts beside them under "/DEBUG".
    memoResults = Make<TMemo>(this, Panel1, "memoResults");
    memoResults->SetBounds(16, 248, 464, Height - 256);
    memoResults->SetAnchors({akLeft, akTop, akBottom});
    memoResults->SetReadOnly(true);
    memoResults->SetScrollBars(ssVertical);

    gbDebug = Make<TGroupBox>(this, Panel1, "gbDebug");
    gbDebug->SetBounds(492, 8, Width - 500, Height - 16);
    gbDebug->SetCaption("Generated Alerts");
    gbDebug->SetAnchors({akLeft, akTop, akRight, akBottom});
    gbDebug->SetVisible(false);
    btnClear = Make<TButton>(this, gbDebug, "btnClear");
    btnClear->SetBounds(gbDebug->Width() - 104, 20, 92, 25);
    btnClear->SetAnchors({akTop, akRight});
    btnClear->SetCaption("Clear Results");
    btnClear->OnClick = [this](TObject* Sender) { btnClearClick(Sender); };
    gridOutput = Make<components::TPellworthGrid>(this, gbDebug, "gridOutput");
    gridOutput->SetBounds(8, 52, gbDebug->Width() - 16, gbDebug->Height() - 60);
    gridOutput->SetAnchors({akLeft, akTop, akRight, akBottom});
    SetUpGeneratedAlertsGrid(*gridOutput);

    TimerAutoRun = new TTimer(this);
    TimerAutoRun->SetName("TimerAutoRun");
    TimerAutoRun->SetEnabled(false);
    TimerAutoRun->SetInterval(600000);
    TimerAutoRun->OnTimer = [this](TObject* Sender) { TimerAutoRunTimer(Sender); };

    // Takes over the show handler: the placement is restored before it runs.
    FormStorage = new formstore::TFormStorage(this);
    FormStorage->SetName("FormStorage");
    FormStorage->Loading();
    FormStorage->SetUseRegistry(true);
    FormStorage->SetIniFileName("Software\\Pellworth\\Dornwick");
    FormStorage->SetIniSection("Beacon Mill");
    FormStorage->Loaded();
}

void TMainFormWindow::CreateSmtpControls() {
    gbSMTP = Make<TGroupBox>(this, Panel1, "gbSMTP");
    gbSMTP->SetBounds(256, 8, 224, 232);
    gbSMTP->SetCaption("SMTP Settings");

    const auto Changed = [this](TObject* Sender) { SMTPSettingsChange(Sender); };
    const auto MakeEdit = [&](const char* Name, int Left, int Top, int Width) {
        auto* E = Make<TEdit>(this, gbSMTP, Name);
        E->SetBounds(Left, Top, Width, 23);
        E->OnChange = Changed;
        return E;
    };
    MakeLabel(this, gbSMTP, "lblSMTPServer", "SMTP server", 12, 22);
    eSMTPServer = MakeEdit("eSMTPServer", 12, 38, 200);
    MakeLabel(this, gbSMTP, "lblSMTPEncrypt", "Encrypt", 12, 66);
    cboSMTPEncrypt = Make<TComboBox>(this, gbSMTP, "cboSMTPEncrypt");
    cboSMTPEncrypt->SetBounds(12, 82, 104, 23);
    cboSMTPEncrypt->SetStyle(csDropDownList);
    cboSMTPEncrypt->OnChange = Changed;
    MakeLabel(this, gbSMTP, "lblSMTPPort", "Port", 128, 66);
    eSMTPPort = MakeEdit("eSMTPPort", 128, 82, 84);
    MakeLabel(this, gbSMTP, "lblSMTPAccount", "Account", 12, 110);
    eSMTPAccount = MakeEdit("eSMTPAccount", 12, 126, 200);
    MakeLabel(this, gbSMTP, "lblSMTPPassword", "Password", 12, 154);
    eSMTPPassword = MakeEdit("eSMTPPassword", 12, 170, 200);
    eSMTPPassword->SetPasswordChar('*');

    btTestConnection = Make<TButton>(this, gbSMTP, "btTestConnection");
    btTestConnection->SetBounds(12, 200, 98, 25);
    btTestConnection->SetCaption("Test connection");
    btTestConnection->OnClick = [this](TObject* Sender) { btTestConnectionClick(Sender); };
    btSaveSMTPSettings = Make<TButton>(this, gbSMTP, "btSaveSMTPSettings");
    btSaveSMTPSettings->SetBounds(114, 200, 98, 25);
    btSaveSMTPSettings->SetCaption("Save settings");
    btSaveSMTPSettings->SetEnabled(false);
    btSaveSMTPSettings->OnClick = [this](TObject* Sender) { btSaveSMTPSettingsClick(Sender); };
}
