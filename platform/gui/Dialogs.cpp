#include "platform/gui/Dialogs.h"

#include "platform/gui/Forms.h"
#include "platform/gui/QtApp.h"

#include <QMessageBox>
#include <QPushButton>

#include <iostream>

namespace {

TMessageBoxAnswerer& CurrentAnswerer() {
    static TMessageBoxAnswerer Answerer;
    return Answerer;
}

QMessageBox::StandardButton QtButton(int Result) {
    switch (Result) {
    case IDOK:
        return QMessageBox::Ok;
    case IDCANCEL:
        return QMessageBox::Cancel;
    case IDABORT:
        return QMessageBox::Abort;
    case IDRETRY:
        return QMessageBox::Retry;
    case IDIGNORE:
        return QMessageBox::Ignore;
    case IDYES:
        return QMessageBox::Yes;
    default:
        return QMessageBox::No;
    }
}

int ShowQtBox(HWND Owner, const TMessageBoxRequest& R) {
    QWidget* Parent = nullptr;
    if (Owner && Owner->WidgetAllocated()) Parent = Owner->Widget()->window();
    QMessageBox Box(Parent);
    Box.setWindowTitle(ToQString(R.Caption));
    Box.setText(ToQString(R.Text));
    switch (R.Flags & MB_ICONMASK) {
    case MB_ICONHAND:
        Box.setIcon(QMessageBox::Critical);
        break;
    case MB_ICONQUESTION:
        Box.setIcon(QMessageBox::Question);
        break;
    case MB_ICONEXCLAMATION:
        Box.setIcon(QMessageBox::Warning);
        break;
    case MB_ICONASTERISK:
        Box.setIcon(QMessageBox::Information);
        break;
    default:
        break;
    }
    const std::vector<int> Buttons = MessageBoxButtons(R.Flags);
    for (int Result : Buttons)
        Box.addButton(QtButton(Result));
    Box.setDefaultButton(QtButton(MessageBoxDefault(R.Flags)));
    if (R.Flags & (MB_TOPMOST | MB_SYSTEMMODAL)) Box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    Box.exec();
    QAbstractButton* Clicked = Box.clickedButton();
    for (int Result : Buttons)
        if (Clicked && Clicked == Box.button(QtButton(Result))) return Result;
    // Closed without a button: the cancel answer where there is one.
    for (int Result : Buttons)
        if (Result == IDCANCEL) return Result;
    return Buttons.size() == 1 ? Buttons.front() : 0;
}

} // namespace

std::vector<int> MessageBoxButtons(unsigned Flags) {
    switch (Flags & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return {IDOK, IDCANCEL};
    case MB_ABORTRETRYIGNORE:
        return {IDABORT, IDRETRY, IDIGNORE};
    case MB_YESNOCANCEL:
        return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO:
        return {IDYES, IDNO};
    case MB_RETRYCANCEL:
        return {IDRETRY, IDCANCEL};
    default:
        return {IDOK};
    }
}

int MessageBoxDefault(unsigned Flags) {
    const std::vector<int> Buttons = MessageBoxButtons(Flags);
    const std::size_t Index = (Flags & MB_DEFMASK) >> 8;
    return Index < Buttons.size() ? Buttons[Index] : Buttons.front();
}

int MessageBox(HWND Owner, const AnsiString& Text, const AnsiString& Caption, unsigned Flags) {
    const TMessageBoxRequest Request{Text, Caption, Flags};
    if (TMessageBoxAnswerer& Answerer = CurrentAnswerer()) return Answerer(Request);
    if (IsHeadlessPlatform()) {
        const int Result = MessageBoxDefault(Flags);
        std::cerr << Caption << ": " << Text << std::endl;
        return Result;
    }
    return ShowQtBox(Owner, Request);
}

int MessageDlg(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int) {
    AnsiString Caption;
    unsigned Flags = 0;
    switch (DlgType) {
    case mtWarning:
        Caption = "Warning";
        Flags = MB_ICONWARNING;
        break;
    case mtError:
        Caption = "Error";
        Flags = MB_ICONERROR;
        break;
    case mtInformation:
        Caption = "Information";
        Flags = MB_ICONINFORMATION;
        break;
    case mtConfirmation:
        Caption = "Confirm";
        Flags = MB_ICONQUESTION;
        break;
    case mtCustom:
        Caption = Application ? Application->Title() : AnsiString();
        break;
    }
    // The platform's boxes have fixed button sets; take the one that holds
    // the buttons asked for.
    if (Buttons.Contains(mbYes) && Buttons.Contains(mbNo))
        Flags |= Buttons.Contains(mbCancel) ? MB_YESNOCANCEL : MB_YESNO;
    else if (Buttons.Contains(mbAbort) || Buttons.Contains(mbIgnore))
        Flags |= MB_ABORTRETRYIGNORE;
    else if (Buttons.Contains(mbRetry))
        Flags |= MB_RETRYCANCEL;
    else if (Buttons.Contains(mbCancel))
        Flags |= MB_OKCANCEL;
    else
        Flags |= MB_OK;
    // The IDxxx results are the modal results of the same name.
    return MessageBox(nullptr, Msg, Caption, Flags);
}

void ShowMessage(const AnsiString& Msg) {
    MessageBox(nullptr, Msg, Application ? Application->Title() : AnsiString(), MB_OK);
}

ScopedMessageBoxAnswerer::ScopedMessageBoxAnswerer(TMessageBoxAnswerer Answerer)
    : FPrevious(std::move(CurrentAnswerer())) {
    CurrentAnswerer() = std::move(Answerer);
}

ScopedMessageBoxAnswerer::~ScopedMessageBoxAnswerer() {
    CurrentAnswerer() = std::move(FPrevious);
}

TMessageBoxRecorder::TMessageBoxRecorder()
    : FScope([this](const TMessageBoxRequest& Request) {
          Boxes.push_back(Request);
          if (WhileOpen) WhileOpen(Request);
          if (Answers.empty()) return MessageBoxDefault(Request.Flags);
          const int Answer = Answers.front();
          Answers.pop_front();
          return Answer;
      }) {}
