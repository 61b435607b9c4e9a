#include "formstore/WindowUtil.h"

#include "formstore/DrawUtil.h"
#include "formstore/WindowHook.h"
#include "platform/gui/Beep.h"
#include "platform/gui/Forms.h"
#include "platform/gui/PendingInput.h"
#include "platform/gui/TimerService.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/Exceptions.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <functional>

namespace formstore {

namespace {

// The dialog base units: the average character width and the height of
// the default font.
TPoint DialogBaseUnits() {
    TBitmap Bitmap;
    Bitmap.SetSize(1, 1);
    const TPoint Size = GetAveCharSize(Bitmap.Canvas());
    return Point(std::max(1, Size.X), std::max(1, Size.Y));
}

void MoveTo(TControl* Control, int Left, int Top) {
    Control->SetBounds(Left, Top, Control->Width(), Control->Height());
}

} // namespace

int DialogUnitsToPixelsX(int DlgUnits) {
    return DlgUnits * DialogBaseUnits().X / 4;
}

int DialogUnitsToPixelsY(int DlgUnits) {
    return DlgUnits * DialogBaseUnits().Y / 8;
}

int PixelsToDialogUnitsX(int PixUnits) {
    return PixUnits * 4 / DialogBaseUnits().X;
}

int PixelsToDialogUnitsY(int PixUnits) {
    return PixUnits * 8 / DialogBaseUnits().Y;
}

void CenterControl(TControl* Control) {
    if (!Control) return;
    int AreaWidth = 0;
    int AreaHeight = 0;
    if (auto* Form = dynamic_cast<TCustomForm*>(Control)) {
        TCustomForm* Main = Application->MainForm();
        if (Form->FormStyle() == fsMDIChild && Main && Main != Form) {
            AreaWidth = Main->ClientWidth();
            AreaHeight = Main->ClientHeight();
        } else {
            AreaWidth = Screen->Width();
            AreaHeight = Screen->Height();
        }
    } else if (Control->Parent()) {
        AreaWidth = Control->Parent()->ClientWidth();
        AreaHeight = Control->Parent()->ClientHeight();
    } else {
        return;
    }
    MoveTo(Control, std::max(0, (AreaWidth - Control->Width()) / 2),
           std::max(0, (AreaHeight - Control->Height()) / 2));
}

void CenterWindow(HWND Wnd) {
    if (!Wnd) return;
    const int ScreenWidth = Screen->Width();
    const int ScreenHeight = Screen->Height();
    const int Width = Wnd->Width();
    const int Height = Wnd->Height();
    int Left = (ScreenWidth - Width) / 2;
    int Top = (ScreenHeight - Height) / 2;
    if (Left + Width > ScreenWidth) Left = ScreenWidth - Width;
    if (Top + Height > ScreenHeight) Top = ScreenHeight - Height;
    MoveTo(Wnd, std::max(0, Left), std::max(0, Top));
}

void MergeForm(TWinControl* AControl, TForm* AForm, TAlign Align, bool Show) {
    if (!AControl || !AForm) return;
    const TRect Client = AControl->ClientRect();
    AForm->Hide();
    AForm->SetBorderStyle(bsNone);
    AForm->SetBorderIcons({});
    AForm->SetParent(AControl);
    AForm->SetAlign(Align);
    if (Align == alNone) MoveTo(AForm, AForm->Left() + Client.Left, AForm->Top() + Client.Top);
    if (Show) AForm->Show();
}

TRect ScreenWorkArea() {
    const TRect Area = Screen->WorkAreaRect();
    if (Area.Width() > 0 && Area.Height() > 0) return Area;
    return Rect(0, 0, Screen->Width(), Screen->Height());
}

AnsiString WindowClassName(HWND Wnd) {
    return Wnd ? Wnd->ClassName().substr(0, 255) : AnsiString();
}

void ShowWinNoAnimate(HWND Handle, int CmdShow) {
    if (!Handle) return;
    auto* Form = dynamic_cast<TCustomForm*>(Handle);
    switch (CmdShow) {
    case SW_HIDE:
        Handle->SetVisible(false);
        return;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
        Handle->SetVisible(true);
        if (Form) Form->SetWindowState(wsMinimized);
        return;
    case SW_SHOWMAXIMIZED:
        Handle->SetVisible(true);
        if (Form) Form->SetWindowState(wsMaximized);
        return;
    case SW_SHOWNORMAL:
    case SW_SHOWNOACTIVATE:
    case SW_RESTORE:
        Handle->SetVisible(true);
        if (Form) Form->SetWindowState(wsNormal);
        return;
    default:
        Handle->SetVisible(true);
        return;
    }
}

void ActivateWindow(HWND Wnd) {
    if (!Wnd) return;
    ShowWinNoAnimate(Wnd, SW_SHOW);
    Wnd->BringToFront();
}

namespace {

// A program's running instance announced under its main form's caption
// as it is now: a change of the caption is announced at once.
class TFormInstance : public TRunningInstance {
public:
    TFormInstance(TCustomForm* MainForm, std::function<void()> OnActivate)
        : TRunningInstance(MainForm->ClassName(), MainForm->Caption(), std::move(OnActivate)),
          FHook(std::make_unique<TFsWindowHook>(nullptr)) {
        FHook->AfterMessage = [this, MainForm](TObject*, TMessage& Msg, bool&) {
            if (Msg.Msg != CM_TEXTCHANGED) return;
            // The caption has changed whatever comes of this; a failure to
            // announce it is shown, not raised into whoever set it.
            try {
                SetTitle(MainForm->Caption());
            } catch (...) {
                Application->HandleException(FHook.get(), std::current_exception());
            }
        };
        FHook->SetWinControl(MainForm);
    }

private:
    std::unique_ptr<TFsWindowHook> FHook;
};

} // namespace

std::unique_ptr<TRunningInstance> AnnounceInstance(TCustomForm* MainForm) {
    auto ComeToFront = [MainForm] {
        // A maximised form stays maximised; a minimised one comes back.
        if (MainForm->WindowState() == wsMinimized) MainForm->SetWindowState(wsNormal);
        ActivateWindow(MainForm);
    };
    return std::make_unique<TFormInstance>(MainForm, ComeToFront);
}

pid_t FindPrevInstance(const AnsiString& MainFormClass, const AnsiString& ATitle) {
    return FindRunningInstance(MainFormClass, ATitle);
}

bool ActivatePrevInstance(const AnsiString& MainFormClass, const AnsiString& ATitle) {
    const pid_t Instance = FindPrevInstance(MainFormClass, ATitle);
    return Instance != 0 && ActivateRunningInstance(Instance);
}

void KillMessage(HWND Wnd, unsigned Msg) {
    TMsg Removed;
    if (RemovePostedMessage(Wnd, Msg, &Removed) && Removed.message == WM_QUIT)
        PostMessage(Removed.hwnd, WM_QUIT, Removed.wParam, 0);
}

bool IsForegroundTask() {
    return Screen->ActiveForm() != nullptr;
}

void Delay(int MSecs) {
    const std::uint32_t First = Clock().TickCount();
    // Wakes the wait for events at least every 10 ms, so the end is seen
    // soon after it comes whatever the timer's and the clock's resolution.
    const int Wake =
        TimerService().StartTimer(static_cast<unsigned>(std::clamp(MSecs, 1, 10)), [] {});
    struct TStopTimer {
        int Id;
        ~TStopTimer() { TimerService().StopTimer(Id); }
    } Stop{Wake};
    for (;;) {
        Application->ProcessMessages();
        const std::uint32_t Now = Clock().TickCount();
        if (Now < First || static_cast<std::int64_t>(Now - First) >= MSecs) return;
        Application->HandleMessage();
    }
}

void Beep() {
    MessageBeep(0);
}

int MsgBox(const AnsiString& Caption, const AnsiString& Text, unsigned Flags) {
    return Application->MessageBox(Text, Caption, Flags);
}

int MsgDlg(const AnsiString& Msg, TMsgDlgType AType, TMsgDlgButtons AButtons, int HelpCtx) {
    return MessageDlg(Msg, AType, AButtons, HelpCtx);
}

void NotImplemented() {
    Screen->SetCursor(crDefault);
    MsgDlg("Функция не реализована", mtInformation, TMsgDlgButtons{mbOK}, 0);
    Abort();
}

} // namespace formstore
