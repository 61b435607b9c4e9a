// The operator's SMTP controls on the shown main window, driven by mouse and
// keys: the e-mail choice, the settings edits and "Save settings", the
// connection test against a real server, and the debug grid's clear button.
#include "ProgramWindowTest.h"
#include "StoredOptions.h"
#include "alert/app/MainFormMailer.h"
#include "alert/app/tests/ClosedPort.h"
#include "components/PellworthGrid.h"
#include "datamodules/ShopDataModules.h"
#include "mail/MxSSLIOHandler.h"
#include "mail/tests/Certificates.h"
#include "mail/tests/SmtpPeer.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/StdCtrls.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

constexpr unsigned BoxKind = MB_ICONMASK | MB_TOPMOST | 0x0F;

// What the operator's mouse and keyboard send.
void MouseClick(QWidget* W, QPointF At = {-1, -1}) {
    if (At.x() < 0) At = QRectF(W->rect()).center();
    QMouseEvent Press(QEvent::MouseButtonPress, At, W->mapToGlobal(At), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(W, &Press);
    QMouseEvent Release(QEvent::MouseButtonRelease, At, W->mapToGlobal(At), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(W, &Release);
}
void Key(QWidget* W, int Code, Qt::KeyboardModifiers Modifiers = Qt::NoModifier,
         const QString& Text = QString()) {
    QKeyEvent Press(QEvent::KeyPress, Code, Modifiers, Text);
    QApplication::sendEvent(W, &Press);
    QKeyEvent Release(QEvent::KeyRelease, Code, Modifiers, Text);
    QApplication::sendEvent(W, &Release);
}
void Type(QWidget* W, const std::string& Text) {
    for (char C : Text)
        Key(W, QChar(C).toUpper().unicode(), Qt::NoModifier, QString(QChar(C)));
}

class SmtpOperatorControls : public ProgramWindowTest {
protected:
    void Open() {
        Owner = new TComponent(nullptr);
        CreateShopDataModules(Owner);
        Window = new TMainFormWindow(Owner);
        auto Mailer = CreateMainFormMailer(*Window);
        // The test servers' certificates come from the test's own authority.
        Mailer->Transport().TlsHandler().SSLOptions()->RootCertFile =
            mailtest::Certificates::Get().CA().c_str();
        Window->SetMailer(std::move(Mailer));
        Window->Show();
        QApplication::processEvents();
    }
    void TearDown() override {
        delete Window;
        Window = nullptr;
        delete Owner;
        ProgramWindowTest::TearDown();
    }

    // Replaces the edit's text the way the operator does: select all, type.
    static void TypeInto(TEdit* Edit, const std::string& Text) {
        QWidget* W = Edit->Widget();
        Key(W, Qt::Key_A, Qt::ControlModifier);
        Key(W, Qt::Key_Backspace);
        Type(W, Text);
    }
    static void Click(TControl* Control) { MouseClick(Control->Widget()); }
    void ChooseEmailItem(int Index) {
        auto Buttons = rgWidget()->findChildren<QRadioButton*>();
        ASSERT_GT(Buttons.size(), Index);
        // On the round mark itself, left of the caption.
        MouseClick(Buttons[Index], QPointF(6, Buttons[Index]->height() / 2.0));
    }
    QWidget* rgWidget() { return Window->rgEmailType->Widget(); }
    // Moves the encryption choice to Index by arrow keys.
    void ChooseEncryption(int Index) {
        auto* Combo = qobject_cast<QComboBox*>(Window->cboSMTPEncrypt->Widget());
        ASSERT_NE(Combo, nullptr);
        Combo->setFocus();
        while (Combo->currentIndex() < Index)
            Key(Combo, Qt::Key_Down);
        while (Combo->currentIndex() > Index)
            Key(Combo, Qt::Key_Up);
        ASSERT_EQ(Window->cboSMTPEncrypt->ItemIndex(), Index);
    }
    void FillSettings(const std::string& Server, int Port, const std::string& Account,
                      const std::string& Password) {
        TypeInto(Window->eSMTPServer, Server);
        TypeInto(Window->eSMTPPort, std::to_string(Port));
        TypeInto(Window->eSMTPAccount, Account);
        TypeInto(Window->eSMTPPassword, Password);
    }
    std::string Stored(const std::string& Column) { return StoredOption(DbFile, Column); }

    TComponent* Owner = nullptr;
};

TEST_F(SmtpOperatorControls, EachSettingsControlEnablesSaveWithoutStoringAnything) {
    Open();
    const std::string Before = Stored(
        "SMTPserver||'|'||SMTPport||'|'||SMTPencryption||'|'||SMTPaccount||'|'||SMTPpassword");
    struct Case {
        const char* Name;
        std::function<void()> Change;
    };
    const std::vector<Case> Cases = {
        {"server", [&] { Type(Window->eSMTPServer->Widget(), "x"); }},
        {"port", [&] { Type(Window->eSMTPPort->Widget(), "1"); }},
        {"account", [&] { Type(Window->eSMTPAccount->Widget(), "y"); }},
        {"password", [&] { Type(Window->eSMTPPassword->Widget(), "z"); }},
        {"encryption", [&] { ChooseEncryption(2); }},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        Window->btSaveSMTPSettings->SetEnabled(false);
        C.Change();
        EXPECT_TRUE(Window->btSaveSMTPSettings->Enabled());
        EXPECT_EQ(Stored("SMTPserver||'|'||SMTPport||'|'||SMTPencryption||'|'||SMTPaccount||'|'||"
                         "SMTPpassword"),
                  Before);
        Window->btSaveSMTPSettings->SetEnabled(false);
    }
}

TEST_F(SmtpOperatorControls, SaveStoresTrimmedFieldsAndPortDefault) {
    Open();
    struct Case {
        std::string Server, Port, Account, Password;
        int Encryption;
        std::string Expected; // server|port|encryption|account|password
    };
    const std::vector<Case> Cases = {
        {"  mail.example.com  ", " 587 ", "  bob@example.com ", "  p w  ", 2,
         "mail.example.com|587|2|bob@example.com|  p w  "},
        {"a", "", "b", "c", 1, "a|25|1|b|c"},
        {"a", "twenty", "b", "c", 0, "a|25|0|b|c"},
        {"a", "  ", "b", " ", 0, "a|25|0|b| "},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Expected);
        TypeInto(Window->eSMTPServer, C.Server);
        TypeInto(Window->eSMTPPort, C.Port);
        TypeInto(Window->eSMTPAccount, C.Account);
        TypeInto(Window->eSMTPPassword, C.Password);
        ChooseEncryption(C.Encryption);
        ASSERT_TRUE(Window->btSaveSMTPSettings->Enabled());
        Click(Window->btSaveSMTPSettings);
        EXPECT_FALSE(Window->btSaveSMTPSettings->Enabled());
        EXPECT_EQ(Stored("SMTPserver||'|'||SMTPport||'|'||SMTPencryption||'|'||SMTPaccount||'|'||"
                         "SMTPpassword"),
                  C.Expected);
        EXPECT_EQ(Stored("AlertsEmailType"), std::to_string(Window->rgEmailType->ItemIndex()));
    }
}

TEST_F(SmtpOperatorControls, EmailChoiceShowsTheBoxAndIsStoredAtOnce) {
    Open();
    Window->btSaveSMTPSettings->SetEnabled(false);
    for (int Item : {1, 0, 1, 0}) {
        SCOPED_TRACE(Item);
        ChooseEmailItem(Item);
        EXPECT_EQ(Window->rgEmailType->ItemIndex(), Item);
        EXPECT_EQ(Window->gbSMTP->Visible(), Item == 1);
        EXPECT_EQ(Window->gbSMTP->Widget()->isVisible(), Item == 1);
        EXPECT_EQ(Stored("AlertsEmailType"), std::to_string(Item));
        EXPECT_FALSE(Window->btSaveSMTPSettings->Enabled());
    }
}

TEST_F(SmtpOperatorControls, SaveOrSwitchThatTheDatabaseRefusesIsShown) {
    Open();
    ChooseEmailItem(1);
    TMessageBoxRecorder Boxes;
    TypeInto(Window->eSMTPServer, "other.example.com");
    ASSERT_TRUE(Window->btSaveSMTPSettings->Enabled());
    Exec("DROP TABLE DORNWICK_OPTIONS");
    Click(Window->btSaveSMTPSettings);
    EXPECT_TRUE(Window->btSaveSMTPSettings->Enabled());
    EXPECT_EQ(Boxes.Boxes.size(), 1u);
    ChooseEmailItem(0);
    EXPECT_EQ(Boxes.Boxes.size(), 2u);
}

TEST_F(SmtpOperatorControls, IncompleteSettingsStopTheTestWithAnError) {
    Open();
    struct Case {
        std::string Server, Port, Account;
    };
    const std::vector<Case> Cases = {
        {"   ", "25", "bob"}, {"host", "", "bob"}, {"host", "  ", "bob"}, {"host", "25", " \t "}};
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Server + "|" + C.Port + "|" + C.Account);
        TypeInto(Window->eSMTPServer, C.Server);
        TypeInto(Window->eSMTPPort, C.Port);
        TypeInto(Window->eSMTPAccount, C.Account);
        EXPECT_FALSE(Window->SmtpSettingsComplete());
        TMessageBoxRecorder Boxes;
        Click(Window->btTestConnection);
        ASSERT_EQ(Boxes.Boxes.size(), 1u);
        EXPECT_EQ(Boxes.Boxes[0].Text, "Need an entry for server, port, and account name.");
        EXPECT_EQ(Boxes.Boxes[0].Caption, "Error");
        EXPECT_EQ(Boxes.Boxes[0].Flags & BoxKind, MB_OK | MB_ICONWARNING | MB_TOPMOST);
    }
    TypeInto(Window->eSMTPServer, " h ");
    TypeInto(Window->eSMTPPort, " 1 ");
    TypeInto(Window->eSMTPAccount, " a ");
    EXPECT_TRUE(Window->SmtpSettingsComplete());
}

TEST_F(SmtpOperatorControls, ConnectionTestAgainstServers) {
    const auto& Certs = mailtest::Certificates::Get();
    mailtest::SmtpPeer Plain("plain", Certs.LocalhostCert(), Certs.LocalhostKey());
    mailtest::SmtpPeer StartTls("starttls", Certs.LocalhostCert(), Certs.LocalhostKey());
    mailtest::SmtpPeer Implicit("implicit", Certs.LocalhostCert(), Certs.LocalhostKey());
    Open();
    struct Case {
        const char* Name;
        std::string Server;
        int Port;
        int Encryption;
        std::string Text; // whole text, or the start when it ends with ": "
        std::string Caption;
        std::string Password = "pa55word";
    };
    const std::vector<Case> Cases = {
        {"plain", "  127.0.0.1  ", Plain.Port(), 0, "Connection attempt successful", "Notice"},
        {"starttls", "127.0.0.1", StartTls.Port(), 2, "Connection attempt successful", "Notice"},
        {"implicit", "127.0.0.1", Implicit.Port(), 1, "Connection attempt successful", "Notice"},
        // The server's own reply to STARTTLS.
        {"refused starttls", "127.0.0.1", Plain.Port(), 2,
         "Could not connect to server: TLS not available", "Warning"},
        {"nobody listens", "127.0.0.1", ClosedPort(), 0,
         "Could not connect to server: ", "Warning"},
        {"wrong password", "127.0.0.1", Plain.Port(), 0, "Could not connect to server: ", "Warning",
         "wrong"},
        {"blanks kept in the password", "127.0.0.1", Plain.Port(), 0,
         "Could not connect to server: ", "Warning", " pa55word "},
        // The failed attempts left no connection behind.
        {"plain again", "127.0.0.1", Plain.Port(), 0, "Connection attempt successful", "Notice"},
    };
    const std::string Before = Stored("SMTPserver||'|'||SMTPport");
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        FillSettings(C.Server, C.Port, "alerts", C.Password);
        ChooseEncryption(C.Encryption);
        TMessageBoxRecorder Boxes;
        Click(Window->btTestConnection);
        ASSERT_EQ(Boxes.Boxes.size(), 1u);
        // A server's reply reaches the box with its closing line break.
        std::string Text = Boxes.Boxes[0].Text.c_str();
        while (Text.ends_with('\n') || Text.ends_with('\r'))
            Text.pop_back();
        if (C.Text.ends_with(": ")) {
            EXPECT_EQ(Text.substr(0, C.Text.size()), C.Text);
            EXPECT_GT(Text.size(), C.Text.size());
        } else {
            EXPECT_EQ(Text, C.Text);
        }
        EXPECT_EQ(Boxes.Boxes[0].Caption, C.Caption);
        EXPECT_EQ(Boxes.Boxes[0].Flags & BoxKind, MB_OK | MB_ICONINFORMATION | MB_TOPMOST);
    }
    EXPECT_EQ(Stored("SMTPserver||'|'||SMTPport"), Before);
}

TEST_F(SmtpOperatorControls, PortThatIsNoNumberFailsTheTestBeforeConnecting) {
    Open();
    FillSettings("127.0.0.1", 1, "alerts", "pa55word");
    TypeInto(Window->eSMTPPort, "2x5");
    TMessageBoxRecorder Boxes;
    Click(Window->btTestConnection);
    ASSERT_EQ(Boxes.Boxes.size(), 1u);
    const std::string Text = Boxes.Boxes[0].Text.c_str();
    EXPECT_EQ(Text.find("Could not connect"), std::string::npos);
    EXPECT_NE(Text.find("2x5"), std::string::npos);
}

TEST_F(SmtpOperatorControls, ClearEmptiesTheDebugGrid) {
    Open();
    Window->gridOutput->SetGridRowCount(4);
    ASSERT_EQ(Window->gridOutput->GetGridRowCount(), 4);
    Click(Window->btnClear);
    EXPECT_EQ(Window->gridOutput->GetGridRowCount(), 0);
}

} // namespace
