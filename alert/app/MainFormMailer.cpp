#include "alert/app/MainFormMailer.h"

#include "alert/app/MainFormWindow.h"
#include "alert/store/MainDmod.h"
#include "datamodules/DmodCommon.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/StdCtrls.h"

namespace {

class MainFormMailHost : public IAlertMailHost {
public:
    explicit MainFormMailHost(TMainFormWindow& Window) : FWindow(Window) {}

    SmtpControlValues SmtpControls() const override {
        SmtpControlValues Values;
        Values.Server = FWindow.eSMTPServer->Text();
        Values.Port = FWindow.eSMTPPort->Text();
        Values.Account = FWindow.eSMTPAccount->Text();
        Values.Password = FWindow.eSMTPPassword->Text();
        Values.Encryption = FWindow.cboSMTPEncrypt->ItemIndex();
        return Values;
    }
    int DatePreference() const override { return FWindow.Options().DT_PREF; }
    void LogLine(const AnsiString& Text) override { FWindow.LogLine(Text); }
    void ShowMessageBox(const AnsiString& Text, const AnsiString& Caption,
                        unsigned Flags) override {
        MessageBox(FWindow.Handle(), Text, Caption, Flags);
    }

private:
    TMainFormWindow& FWindow;
};

} // namespace

std::unique_ptr<SmtpAlertMailer> CreateMainFormMailer(TMainFormWindow& Window) {
    return std::make_unique<SmtpAlertMailer>(PeerDmod<TMainDmod>(Window, DmodNames::Main),
                                             std::make_unique<MainFormMailHost>(Window));
}
