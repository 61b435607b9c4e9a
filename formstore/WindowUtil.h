#pragma once
// Window helpers: centring and embedding forms, the screen's work area,
// showing and activating windows, a message-pumping delay, message boxes
// and dialog-unit conversion.
//
// The window calls take the framework's windows (HWND is a windowed
// control).
#include "platform/gui/Controls.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Messages.h"
#include "platform/gui/RunningInstance.h"
#include "platform/gui/Types.h"
#include "platform/rtl/AnsiString.h"

#include <memory>
#include <sys/types.h>

class TForm;
class TCustomForm;

namespace formstore {

// Dialog units: a quarter of the average character width across, an
// eighth of the character height down, in the default font.
int DialogUnitsToPixelsX(int DlgUnits);
int DialogUnitsToPixelsY(int DlgUnits);
int PixelsToDialogUnitsX(int PixUnits);
int PixelsToDialogUnitsY(int PixUnits);

// Centres an MDI child over the main form's client area, any other form
// over the screen, and any other control over its parent's client area;
// negative coordinates become 0.
void CenterControl(TControl* Control);
// Centres the window on the screen, then moves it back inside the screen
// (right and bottom first, then left and top); only its place changes.
void CenterWindow(HWND Wnd);
// Embeds the form in the container: hidden, without border and border
// icons, parented to the container with the alignment (with alNone offset
// by the container's client origin), then shown if Show is set.
void MergeForm(TWinControl* AControl, TForm* AForm, TAlign Align, bool Show);
// The part of the screen windows may use; the whole screen when the system
// does not say.
TRect ScreenWorkArea();

// The window's class name (at most 255 characters); empty for none.
AnsiString WindowClassName(HWND Wnd);

// Shows, hides, minimises, maximises or restores the window by the show
// command (SW_xxx). Qt has no minimise animation to turn off around it.
void ShowWinNoAnimate(HWND Handle, int CmdShow);
// Shows the window and brings it to the front; nothing for none.
void ActivateWindow(HWND Wnd);
// Makes this program findable by FindPrevInstance for as long as the
// result lives, under the main form's class name and its caption as it is
// at the time of the search (a new caption is announced at once); asked by
// another instance, the form comes back from minimised or is shown, and
// comes to the front. See platform/gui/RunningInstance.h.
std::unique_ptr<TRunningInstance> AnnounceInstance(TCustomForm* MainForm);
// Another process's window can't be reached from here, so a previous
// instance is told by its process id: that of another running instance
// announced with the class name and/or title (an empty one matches any),
// 0 for none and when both are empty.
pid_t FindPrevInstance(const AnsiString& MainFormClass, const AnsiString& ATitle);
// Asks that instance to bring its main form to the front; false when there
// is none or it did not answer that it did.
bool ActivatePrevInstance(const AnsiString& MainFormClass, const AnsiString& ATitle);
// Takes one message of that number posted to the window (nullptr: any
// window) out of the queue before it is delivered; when that was the quit
// message (WM_QUIT), it is posted again with its code, so it still comes.
void KillMessage(HWND Wnd, unsigned Msg);
// Whether one of this program's forms is the active window.
bool IsForegroundTask();

// Handles the program's events until MSecs milliseconds of tick count have
// passed (a wrap of the tick counter ends the wait early). It waits for
// events rather than spinning, woken by a timer of the timer service.
void Delay(int MSecs);
// The system's default beep.
void Beep();
// The application's message box: text and caption, the platform's flags
// and result.
int MsgBox(const AnsiString& Caption, const AnsiString& Text, unsigned Flags);
// The framework's message dialog; the result is a modal result.
int MsgDlg(const AnsiString& Msg, TMsgDlgType AType, TMsgDlgButtons AButtons, int HelpCtx);
// Resets the screen cursor, tells the user in an information box that the
// function is not implemented and ends the operation with a silent EAbort.
[[noreturn]] void NotImplemented();

} // namespace formstore
