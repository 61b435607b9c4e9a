#pragma once
// Message boxes with the platform's flag and result values, the framework's
// message dialog, and the seam through which a test answers them: with an
// answerer installed no window opens, the answerer sees the text, caption
// and flags and gives the result. Without a display (the offscreen
// platform) nobody could answer a box, so it is written to standard error
// and answered with its default button.
#include "platform/classes/SmallSet.h"
#include "platform/gui/Messages.h"
#include "platform/rtl/AnsiString.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

// Buttons.
inline constexpr unsigned MB_OK = 0x00000000;
inline constexpr unsigned MB_OKCANCEL = 0x00000001;
inline constexpr unsigned MB_ABORTRETRYIGNORE = 0x00000002;
inline constexpr unsigned MB_YESNOCANCEL = 0x00000003;
inline constexpr unsigned MB_YESNO = 0x00000004;
inline constexpr unsigned MB_RETRYCANCEL = 0x00000005;
inline constexpr unsigned MB_TYPEMASK = 0x0000000F;
// Icons.
inline constexpr unsigned MB_ICONHAND = 0x00000010;
inline constexpr unsigned MB_ICONQUESTION = 0x00000020;
inline constexpr unsigned MB_ICONEXCLAMATION = 0x00000030;
inline constexpr unsigned MB_ICONASTERISK = 0x00000040;
inline constexpr unsigned MB_ICONWARNING = MB_ICONEXCLAMATION;
inline constexpr unsigned MB_ICONERROR = MB_ICONHAND;
inline constexpr unsigned MB_ICONSTOP = MB_ICONHAND;
inline constexpr unsigned MB_ICONINFORMATION = MB_ICONASTERISK;
inline constexpr unsigned MB_ICONMASK = 0x000000F0;
// The default button.
inline constexpr unsigned MB_DEFBUTTON1 = 0x00000000;
inline constexpr unsigned MB_DEFBUTTON2 = 0x00000100;
inline constexpr unsigned MB_DEFBUTTON3 = 0x00000200;
inline constexpr unsigned MB_DEFBUTTON4 = 0x00000300;
inline constexpr unsigned MB_DEFMASK = 0x00000F00;
// Modality and placement.
inline constexpr unsigned MB_APPLMODAL = 0x00000000;
inline constexpr unsigned MB_SYSTEMMODAL = 0x00001000;
inline constexpr unsigned MB_TASKMODAL = 0x00002000;
inline constexpr unsigned MB_SETFOREGROUND = 0x00010000;
inline constexpr unsigned MB_TOPMOST = 0x00040000;

// Results.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDABORT = 3;
inline constexpr int IDRETRY = 4;
inline constexpr int IDIGNORE = 5;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

// The buttons a box with these flags has, in order, as their results.
std::vector<int> MessageBoxButtons(unsigned Flags);
// The result of the box's default button.
int MessageBoxDefault(unsigned Flags);

// A message box owned by Owner (nullptr: no owner window).
int MessageBox(HWND Owner, const AnsiString& Text, const AnsiString& Caption, unsigned Flags);

enum class TMsgDlgType : std::uint8_t {
    mtWarning,
    mtError,
    mtInformation,
    mtConfirmation,
    mtCustom
};
using enum TMsgDlgType;

enum class TMsgDlgBtn : std::uint8_t {
    mbYes,
    mbNo,
    mbOK,
    mbCancel,
    mbAbort,
    mbRetry,
    mbIgnore,
    mbAll,
    mbNoToAll,
    mbYesToAll,
    mbHelp
};
using enum TMsgDlgBtn;
using TMsgDlgButtons = SmallSet<TMsgDlgBtn>;
inline constexpr TMsgDlgButtons mbYesNoCancel{mbYes, mbNo, mbCancel};
inline constexpr TMsgDlgButtons mbOKCancel{mbOK, mbCancel};
inline constexpr TMsgDlgButtons mbAbortRetryIgnore{mbAbort, mbRetry, mbIgnore};

// The framework's dialog: the caption comes from the type ("Warning",
// "Error", "Information", "Confirm"; the application's title for
// mtCustom); the result is a modal result (mrYes...). It goes through the
// same seam as MessageBox, with the flags that stand for its type and
// buttons.
int MessageDlg(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx);
// The text in a box with an OK button, captioned with the application's title.
void ShowMessage(const AnsiString& Msg);

// ---- the test seam --------------------------------------------------------------

struct TMessageBoxRequest {
    AnsiString Text;
    AnsiString Caption;
    unsigned Flags = 0;
};

using TMessageBoxAnswerer = std::function<int(const TMessageBoxRequest& Request)>;

// Installs an answerer for its lifetime; the previous one comes back after.
class ScopedMessageBoxAnswerer {
public:
    explicit ScopedMessageBoxAnswerer(TMessageBoxAnswerer Answerer);
    ~ScopedMessageBoxAnswerer();
    ScopedMessageBoxAnswerer(const ScopedMessageBoxAnswerer&) = delete;
    ScopedMessageBoxAnswerer& operator=(const ScopedMessageBoxAnswerer&) = delete;

private:
    TMessageBoxAnswerer FPrevious;
};

// An answerer that keeps every box it is shown and answers from a queue of
// results, then with each box's default button. WhileOpen, when set, runs
// as each box is "open" (to show what happens meanwhile).
class TMessageBoxRecorder {
public:
    TMessageBoxRecorder();

    std::vector<TMessageBoxRequest> Boxes;
    std::deque<int> Answers;
    std::function<void(const TMessageBoxRequest&)> WhileOpen;

private:
    ScopedMessageBoxAnswerer FScope;
};
