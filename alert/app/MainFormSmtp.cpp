// The e-mail choice, the SMTP settings controls and the debug grid's button.
#include "alert/app/AlertMailTransport.h"
#include "alert/app/AlertMailer.h"
#include "alert/app/GeneratedAlertsView.h"
#include "alert/app/MainFormWindow.h"
#include "alert/store/MainDmod.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/StrUtils.h"

void TMainFormWindow::rgEmailTypeClick(TObject*) {
    if (rgEmailType->ItemIndex() == 1) {
        gbSMTP->Show();
        Main().SetEmailTypeSmtp();
    } else {
        gbSMTP->Hide();
        Main().SetEmailTypeOff();
    }
}

void TMainFormWindow::SMTPSettingsChange(TObject*) {
    btSaveSMTPSettings->SetEnabled(true);
}

void TMainFormWindow::btSaveSMTPSettingsClick(TObject*) {
    const int EmailType = rgEmailType->ItemIndex();
    const AnsiString Password = eSMTPPassword->Text();
    const AnsiString Account = Trim(eSMTPAccount->Text());
    const int Port = StrToIntDef(Trim(eSMTPPort->Text()), 25);
    const int Encryption = cboSMTPEncrypt->ItemIndex();
    const AnsiString Server = Trim(eSMTPServer->Text());
    Main().SaveSmtpSettings(Server, Encryption, Port, Account, Password, EmailType);
    btSaveSMTPSettings->SetEnabled(false);
}

bool TMainFormWindow::SmtpSettingsComplete() const {
    SmtpControlValues Values;
    Values.Server = eSMTPServer->Text();
    Values.Port = eSMTPPort->Text();
    Values.Account = eSMTPAccount->Text();
    return MissingSmtpSettings(Values).empty();
}

void TMainFormWindow::btTestConnectionClick(TObject*) {
    if (!SmtpSettingsComplete()) {
        MessageBox(Handle(), "Need an entry for server, port, and account name.", "Error",
                   MB_OK | MB_ICONWARNING | MB_TOPMOST);
        return;
    }
    // A port that is no number is the operator's to correct before any
    // connection is tried.
    StrToInt(Trim(eSMTPPort->Text()));
    if (FMailer) FMailer->TestConnection();
}

void TMainFormWindow::btnClearClick(TObject*) {
    if (FGeneratedView) FGeneratedView->Clear();
}
