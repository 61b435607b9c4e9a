#include "platform/gui/Forms.h"

#include "platform/gui/Bridge.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Menus.h"
#include "platform/gui/QtApp.h"

#include <QApplication>
#include <QCursor>
#include <QEventLoop>
#include <QPointer>
#include <QScreen>
#include <QStyle>
#include <QWidget>

#include <algorithm>
#include <climits>
#include <cmath>
#include <fstream>
#include <functional>
#include <iterator>
#include <unistd.h>
#include <vector>

// ---- the process-wide objects -------------------------------------------------------

namespace {

// The screen is made first and goes last: the application frees its forms
// as it goes, and they leave the screen's list.
TScreen GScreen(nullptr);
TMouse GMouse;
TApplication GApplication(nullptr);

std::vector<AnsiString>& CommandLine() {
    static std::vector<AnsiString> Args = [] {
        std::vector<AnsiString> Result;
        std::ifstream In("/proc/self/cmdline", std::ios::binary);
        const std::string All((std::istreambuf_iterator<char>(In)),
                              std::istreambuf_iterator<char>());
        std::size_t Start = 0;
        while (Start < All.size()) {
            std::size_t End = All.find('\0', Start);
            if (End == std::string::npos) End = All.size();
            Result.push_back(All.substr(Start, End - Start));
            Start = End + 1;
        }
        return Result;
    }();
    return Args;
}

AnsiString ProgramPath() {
    char Buffer[PATH_MAX];
    const ssize_t N = ::readlink("/proc/self/exe", Buffer, sizeof(Buffer) - 1);
    if (N <= 0) return CommandLine().empty() ? AnsiString() : CommandLine().front();
    return AnsiString(Buffer, static_cast<std::size_t>(N));
}

} // namespace

TApplication* Application = &GApplication;
TScreen* Screen = &GScreen;
TMouse* Mouse = &GMouse;

int ParamCount() {
    const auto& Args = CommandLine();
    return Args.empty() ? 0 : static_cast<int>(Args.size()) - 1;
}

AnsiString ParamStr(int Index) {
    if (Index == 0) return CommandLine().empty() ? ProgramPath() : CommandLine().front();
    const auto& Args = CommandLine();
    if (Index < 0 || Index >= static_cast<int>(Args.size())) return AnsiString();
    return Args[static_cast<std::size_t>(Index)];
}

void SetCommandLine(const std::vector<AnsiString>& Args) {
    CommandLine() = Args;
}

// ---- TCustomForm ---------------------------------------------------------------------

TCustomForm::TCustomForm(TComponent* AOwner) : TWinControl(AOwner) {
    FVisible = false;
    SetParentColor(false);
    FWidth = 320;
    FHeight = 240;
    FNormalRect = BoundsRect();
    ControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    // A constraint that changes without changing the bounds still changes
    // the sizes the window may take.
    Constraints()->OnChange = [this](TObject*) {
        SetBounds(FLeft, FTop, FWidth, FHeight);
        UpdateSizeLimits();
    };
    Screen->FForms.push_back(this);
}

TCustomForm::~TCustomForm() {
    Destroying();
    if (FModalLoop) FModalLoop->quit();
    BeforeDestruction();
    auto& Forms = Screen->FForms;
    Forms.erase(std::remove(Forms.begin(), Forms.end(), this), Forms.end());
    Application->FormDestroyed(this);
    // The children go before the window they live in.
    while (ControlCount() > 0) {
        TControl* Child = Controls(ControlCount() - 1);
        RemoveControl(Child);
        delete Child;
    }
}

void TCustomForm::BeforeDestruction() {
    if (FDestroyFired) return;
    FDestroyFired = true;
    try {
        DoDestroy();
    } catch (...) {
        Application->HandleException(this, std::current_exception());
    }
}

void TCustomForm::AfterConstruction() {
    if (FCreated) return;
    FCreated = true;
    DoCreate();
}

QWidget* TCustomForm::CreateWidget() {
    return new QWidget(nullptr, Qt::Window);
}

void TCustomForm::WidgetCreated() {
    QWidget* Frame = Widget();
    Frame->setWindowTitle(ToQString(FText));
    FClient = new QWidget(Frame);
    FClient->setAttribute(Qt::WA_NoSystemBackground, false);
    WatchWidget(this, FClient);
    ApplyWindowFlags();
    UpdateMenu();
    LayoutClient();
}

QWidget* TCustomForm::ClientWidget() {
    Widget();
    return FClient;
}

int TCustomForm::MenuHeight() const {
    if (!FMenu || FMenu->Items()->Count() == 0) return 0;
    QWidget* Bar = FMenu->MenuBarWidget();
    const int H = Bar->sizeHint().height();
    return H > 0 ? H : GetSystemMetrics(SM_CYMENU);
}

void TCustomForm::LayoutClient() {
    if (!WidgetAllocated() || !FClient) return;
    const int MH = MenuHeight();
    if (FMenu) {
        QWidget* Bar = FMenu->MenuBarWidget();
        Bar->setGeometry(0, 0, FWidth, MH);
        Bar->setVisible(MH > 0);
    }
    FClient->setGeometry(0, MH, FWidth, std::max(FHeight - MH, 0));
}

TRect TCustomForm::ClientRect() const {
    return Rect(0, 0, FWidth, std::max(FHeight - MenuHeight(), 0));
}

bool TCustomForm::Showing() const {
    return FVisible;
}

void TCustomForm::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (FWindowState == wsNormal &&
        (!WidgetAllocated() ||
         !(Widget()->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized))))
        FNormalRect = BoundsRect();
}

namespace {

// Sets a flag for the length of a scope, and puts back what it was.
class TFlagScope {
public:
    explicit TFlagScope(bool& Flag) : FFlag(Flag), FSaved(Flag) { Flag = true; }
    ~TFlagScope() { FFlag = FSaved; }
    TFlagScope(const TFlagScope&) = delete;
    TFlagScope& operator=(const TFlagScope&) = delete;

private:
    bool& FFlag;
    bool FSaved;
};

int ToQtSize(int Value) {
    return std::clamp(Value, 0, QWIDGETSIZE_MAX);
}

} // namespace

void TCustomForm::UpdateWidgetBounds() {
    if (!WidgetAllocated()) return;
    QWidget* W = Widget();
    {
        TFlagScope Applying(FApplyingBounds);
        UpdateSizeLimits();
        if (!(W->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)))
            W->setGeometry(FLeft, FTop, FWidth, FHeight);
    }
    LayoutClient();
}

void TCustomForm::UpdateSizeLimits() {
    if (!WidgetAllocated()) return;
    TMinMaxInfo Info{};
    const TRect Work = Screen->WorkAreaRect();
    Info.ptMaxSize = Point(Work.Width(), Work.Height());
    Info.ptMaxPosition = Point(Work.Left, Work.Top);
    Info.ptMinTrackSize = Point(0, 0);
    Info.ptMaxTrackSize = Point(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    Perform(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&Info));
    if (!WidgetAllocated()) return;

    const int MinWidth = ToQtSize(Info.ptMinTrackSize.X);
    const int MinHeight = ToQtSize(Info.ptMinTrackSize.Y);
    const int MaxWidth = std::max(ToQtSize(Info.ptMaxTrackSize.X), MinWidth);
    const int MaxHeight = std::max(ToQtSize(Info.ptMaxTrackSize.Y), MinHeight);
    QWidget* W = Widget();
    {
        // Qt resizes the window to each limit as it is set; only the
        // final size counts.
        TFlagScope Applying(FApplyingBounds);
        W->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        W->setMinimumSize(MinWidth, MinHeight);
        W->setMaximumSize(MaxWidth, MaxHeight);
    }
    // The limits hold against bounds set in code too, as Qt holds the
    // window to them.
    if (W->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)) return;
    const int Width = std::clamp(FWidth, MinWidth, MaxWidth);
    const int Height = std::clamp(FHeight, MinHeight, MaxHeight);
    if (Width != FWidth || Height != FHeight) SetBounds(FLeft, FTop, Width, Height);
}

void TCustomForm::WMGetMinMaxInfo(TMessage& Message) {
    TMinMaxInfo* Info = TWMGetMinMaxInfo(Message).MinMaxInfo();
    if (!Info) return;
    const TSizeConstraints* C = Constraints();
    if (C->MinWidth() > 0) Info->ptMinTrackSize.X = C->MinWidth();
    if (C->MinHeight() > 0) Info->ptMinTrackSize.Y = C->MinHeight();
    if (C->MaxWidth() > 0) Info->ptMaxTrackSize.X = C->MaxWidth();
    if (C->MaxHeight() > 0) Info->ptMaxTrackSize.Y = C->MaxHeight();
}

AnsiString TCustomForm::GetText() const {
    return FText;
}

void TCustomForm::SetTextValue(const AnsiString& Value) {
    FText = Value;
    if (WidgetAllocated()) Widget()->setWindowTitle(ToQString(Value));
}

void TCustomForm::ApplyWindowFlags() {
    if (!WidgetAllocated()) return;
    QWidget* W = Widget();
    Qt::WindowFlags Flags = Qt::Window;
    switch (FBorderStyle) {
    case bsNone:
        Flags |= Qt::FramelessWindowHint;
        break;
    case bsDialog:
        Flags = Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
        break;
    case bsToolWindow:
    case bsSizeToolWin:
        Flags = Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
        break;
    default:
        Flags |= Qt::WindowTitleHint;
        if (FBorderIcons.Contains(biSystemMenu))
            Flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if (FBorderIcons.Contains(biMinimize)) Flags |= Qt::WindowMinimizeButtonHint;
        if (FBorderIcons.Contains(biMaximize) && FBorderStyle == bsSizeable)
            Flags |= Qt::WindowMaximizeButtonHint;
        break;
    }
    if (FFormStyle == fsStayOnTop) Flags |= Qt::WindowStaysOnTopHint;
    if (W->windowFlags() == Flags) return;
    const bool WasVisible = W->isVisible();
    W->setWindowFlags(Flags);
    if (WasVisible) W->show();
}

void TCustomForm::ApplyPosition() {
    if (FPositioned) return;
    FPositioned = true;
    TRect Area;
    switch (FPosition) {
    case poScreenCenter:
    case poDesktopCenter:
        Area = Rect(0, 0, Screen->Width(), Screen->Height());
        break;
    case poMainFormCenter:
    case poOwnerFormCenter: {
        TCustomForm* Center = FPosition == poMainFormCenter ? Application->MainForm()
                                                            : dynamic_cast<TCustomForm*>(Owner());
        if (!Center || Center == this)
            Area = Rect(0, 0, Screen->Width(), Screen->Height());
        else
            Area = Center->BoundsRect();
        break;
    }
    default:
        return;
    }
    SetBounds(Area.Left + (Area.Width() - FWidth) / 2, Area.Top + (Area.Height() - FHeight) / 2,
              FWidth, FHeight);
}

void TCustomForm::ShowWidgetInState() {
    QWidget* W = Widget();
    switch (FWindowState) {
    case wsMinimized:
        W->showMinimized();
        break;
    case wsMaximized:
        W->showMaximized();
        break;
    default:
        if (W->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized))
            W->showNormal();
        else
            W->show();
        break;
    }
}

void TCustomForm::UpdateWidgetVisible() {
    if (!WidgetAllocated()) {
        // Showing makes the window; making it comes back here to show it.
        if (FVisible) Widget();
        return;
    }
    QWidget* W = Widget();
    if (FVisible == W->isVisible()) return;
    if (FVisible) {
        AfterConstruction();
        ApplyWindowFlags();
        ApplyPosition();
        DoShow();
        if (!FVisible) return;
        UpdateWidgetBounds();
        ShowWidgetInState();
        if (!IsHeadlessPlatform()) W->raise();
        if (FActiveControl && FActiveControl->CanFocus())
            SetActiveControl(FActiveControl);
        else if (TWinControl* First = FindNextControl(nullptr, true, true, false))
            SetActiveControl(First);
    } else {
        // A hidden window keeps the state it had on screen: shown again, it
        // comes back in it.
        FWindowState = ScreenState();
        W->hide();
        DoHide();
    }
}

void TCustomForm::Show() {
    SetVisible(true);
    if (WidgetAllocated() && !IsHeadlessPlatform()) Widget()->raise();
}

void TCustomForm::Close() {
    if (FFormState.Contains(fsModal)) {
        SetModalResult(mrCancel);
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction Action = FFormStyle == fsMDIChild
                              ? (FBorderIcons.Contains(biMinimize) ? caMinimize : caNone)
                              : caHide;
    DoClose(Action);
    if (Action == caNone) return;
    if (Application->MainForm() == this) {
        Hide();
        Application->Terminate();
    } else if (Action == caHide) {
        Hide();
    } else if (Action == caMinimize) {
        SetWindowState(wsMinimized);
    } else {
        Release();
    }
}

bool TCustomForm::CloseQuery() {
    bool CanClose = true;
    if (OnCloseQuery) OnCloseQuery(this, CanClose);
    return CanClose;
}

void TCustomForm::WidgetCloseRequested() {
    Close();
}

void TCustomForm::Release() {
    EnsureQtApplication();
    Hide();
    const std::uint64_t Id = Serial();
    QMetaObject::invokeMethod(
        qApp,
        [this, Id] {
            if (!TControl::Exists(this, Id)) return;
            BeforeDestruction();
            delete this;
        },
        Qt::QueuedConnection);
}

void TCustomForm::SetModalResult(TModalResult Value) {
    FModalResult = Value;
    if (Value != mrNone && FModalLoop) FModalLoop->quit();
}

void TCustomForm::CloseModal() {
    TCloseAction Action = caNone;
    if (CloseQuery()) {
        Action = caHide;
        DoClose(Action);
    }
    if (Action == caNone)
        FModalResult = mrNone;
    else if (Action == caFree)
        Release();
}

int TCustomForm::ShowModal() {
    if (FVisible || !Enabled() || FFormState.Contains(fsModal))
        throw EInvalidOperation("Cannot make a visible window modal");
    if (TControl* Capture = GetCaptureControl()) Capture->Perform(WM_CANCELMODE);
    FFormState << fsModal;
    FModalResult = mrNone;
    QWidget* W = Widget();
    W->setWindowModality(Qt::ApplicationModal);
    QEventLoop Loop;
    FModalLoop = &Loop;
    const std::uint64_t Id = Serial();
    auto Finish = [this, W] {
        FModalLoop = nullptr;
        FFormState >> fsModal;
        Hide();
        W->setWindowModality(Qt::NonModal);
    };
    try {
        Show();
        for (;;) {
            if (Application->Terminated()) FModalResult = mrCancel;
            if (FModalResult != mrNone) {
                CloseModal();
                if (FModalResult != mrNone) break;
            }
            Loop.exec();
            if (!TControl::Exists(this, Id)) return mrCancel;
        }
    } catch (...) {
        Finish();
        throw;
    }
    Finish();
    return FModalResult;
}

TWindowState TCustomForm::WindowState() const {
    return FVisible ? ScreenState() : FWindowState;
}

TWindowState TCustomForm::ScreenState() const {
    // Qt's state tells only for a window on screen; until then (OnShow runs
    // before the window appears) the state set last is the one it takes.
    if (!WidgetAllocated()) return FWindowState;
    const QWidget* W = const_cast<TCustomForm*>(this)->Widget();
    if (!W->isVisible()) return FWindowState;
    const Qt::WindowStates S = W->windowState();
    if (S & Qt::WindowMinimized) {
        // The main form minimised with the application keeps the state it
        // comes back to.
        if (Application->MainForm() == this && Application->Minimized()) return FWindowState;
        return wsMinimized;
    }
    if (S & Qt::WindowMaximized) return wsMaximized;
    return wsNormal;
}

void TCustomForm::SetWindowState(TWindowState Value) {
    FWindowState = Value;
    if (WidgetAllocated() && FVisible && Widget()->isVisible()) ShowWidgetInState();
}

void TCustomForm::SetPosition(TPosition Value) {
    FPosition = Value;
    if (!FVisible) FPositioned = false;
}

void TCustomForm::SetBorderStyle(TFormBorderStyle Value) {
    FBorderStyle = Value;
    ApplyWindowFlags();
}

void TCustomForm::SetBorderIcons(TBorderIcons Value) {
    FBorderIcons = Value;
    ApplyWindowFlags();
}

void TCustomForm::SetFormStyle(TFormStyle Value) {
    FFormStyle = Value;
    ApplyWindowFlags();
}

int TCustomForm::PixelsPerInch() const {
    return Screen->PixelsPerInch();
}

void TCustomForm::SetMenu(TMainMenu* Value) {
    if (Value == FMenu) return;
    if (FMenu) {
        RemoveFreeNotification(FMenu);
        if (QWidget* Bar = FMenu->MenuBarWidget(); WidgetAllocated()) {
            Bar->hide();
            Bar->setParent(nullptr);
        }
    }
    FMenu = Value;
    if (Value) FreeNotification(Value);
    UpdateMenu();
    Realign();
}

void TCustomForm::UpdateMenu() {
    if (!WidgetAllocated()) return;
    if (FMenu) {
        QWidget* Bar = FMenu->MenuBarWidget();
        if (Bar->parentWidget() != Widget()) Bar->setParent(Widget());
    }
    LayoutClient();
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation) {
    TWinControl::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FMenu) {
        FMenu = nullptr;
        LayoutClient();
    }
}

void TCustomForm::SetActiveControl(TWinControl* Control) {
    if (Control && (Control == this || GetParentForm(Control) != this || !Control->CanFocus()))
        throw EInvalidOperation("Cannot focus a disabled or invisible window");
    FActiveControl = Control;
    if (!Control || !FVisible || !WidgetAllocated() || !Widget()->isVisible()) return;
    QWidget* W = Widget();
    if (QApplication::activeWindow() != W) {
        QT_WARNING_PUSH
        QT_WARNING_DISABLE_DEPRECATED
        QApplication::setActiveWindow(W);
        QT_WARNING_POP
    }
    const unsigned MovesBefore = FFocusMoves;
    Control->Widget()->setFocus(Qt::OtherFocusReason);
    // Where the platform keeps the focus elsewhere, the form still moves
    // its focus so that enter and exit events keep their order; but not
    // when an exit handler has already moved it somewhere of its choosing.
    if (FFocusedControl != Control && FFocusMoves == MovesBefore) SetFocusedControl(Control);
}

namespace {

// CM_FOCUSCHANGED to every control below Parent, LParam the control that
// has the focus now: how a push button learns whether it is drawn as the
// one Enter presses.
void NotifyFocusChanged(TWinControl* Parent, TWinControl* Focused) {
    std::vector<TControl*> Children;
    for (int I = 0; I < Parent->ControlCount(); ++I)
        Children.push_back(Parent->Controls(I));
    for (TControl* Child : Children) {
        Child->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(Focused));
        if (auto* Win = dynamic_cast<TWinControl*>(Child)) NotifyFocusChanged(Win, Focused);
    }
}

} // namespace

void TCustomForm::SetFocusedControl(TWinControl* Control) {
    // Being told again which control has the focus still settles it: a
    // control that passes its focus on to another (a grid's in-place
    // editor naming its grid) keeps the form from taking it for the
    // focused control.
    ++FFocusMoves;
    if (Control == FFocusedControl) {
        FActiveControl = Control;
        return;
    }
    TWinControl* Old = FFocusedControl;
    FFocusedControl = Control;
    FActiveControl = Control;
    if (Old) Old->Perform(CM_EXIT);
    if (Control && FFocusedControl == Control) Control->Perform(CM_ENTER);
    if (FFocusedControl == Control) NotifyFocusChanged(this, Control);
}

bool TCustomForm::Active() const {
    return WidgetAllocated() && const_cast<TCustomForm*>(this)->Widget()->isActiveWindow();
}

TWindowPlacement TCustomForm::GetPlacement() const {
    TWindowPlacement P;
    switch (WindowState()) {
    case wsMinimized:
        P.showCmd = SW_SHOWMINIMIZED;
        break;
    case wsMaximized:
        P.showCmd = SW_SHOWMAXIMIZED;
        break;
    default:
        P.showCmd = SW_SHOWNORMAL;
        break;
    }
    P.ptMinPosition = FMinPosition;
    P.ptMaxPosition = FMaxPosition;
    P.rcNormalPosition = WindowState() == wsNormal ? BoundsRect() : FNormalRect;
    return P;
}

void TCustomForm::SetPlacement(const TWindowPlacement& Placement) {
    FMinPosition = Placement.ptMinPosition;
    FMaxPosition = Placement.ptMaxPosition;
    const TRect& R = Placement.rcNormalPosition;
    TWindowState State = WindowState();
    switch (Placement.showCmd) {
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
        State = wsMinimized;
        break;
    case SW_SHOWMAXIMIZED:
        State = wsMaximized;
        break;
    case SW_HIDE:
        break;
    default:
        State = wsNormal;
        break;
    }
    FNormalRect = R;
    if (WidgetAllocated()) {
        // The normal rectangle of a minimised or maximised window is where
        // it goes when restored: the window goes to its normal state to
        // take it, and to the new state after. A window not on screen only
        // drops the state; showing it here would show it before its time.
        QWidget* W = Widget();
        const Qt::WindowStates MinMax = Qt::WindowMinimized | Qt::WindowMaximized;
        if (!W->isVisible())
            W->setWindowState(W->windowState() & ~MinMax);
        else if (WindowState() != wsNormal)
            W->showNormal();
    }
    SetBounds(R.Left, R.Top, R.Width(), R.Height());
    FNormalRect = R;
    if (Placement.showCmd == SW_HIDE) {
        Hide();
        FWindowState = State;
        return;
    }
    SetWindowState(State);
    if (!FVisible) Show();
}

void TCustomForm::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_SYSCOMMAND: {
        TWMSysCommand M(Message);
        switch (M.CmdType()) {
        case SC_MINIMIZE:
            if (Application->MainForm() == this)
                Application->Minimize();
            else
                SetWindowState(wsMinimized);
            return;
        case SC_MAXIMIZE:
            SetWindowState(wsMaximized);
            return;
        case SC_RESTORE:
            if (Application->Minimized() && Application->MainForm() == this)
                Application->Restore();
            else
                SetWindowState(wsNormal);
            return;
        case SC_CLOSE:
            Close();
            return;
        default:
            break;
        }
        TWinControl::Dispatch(Message);
        return;
    }
    case WM_CLOSE:
        Close();
        return;
    case WM_GETMINMAXINFO:
        WMGetMinMaxInfo(Message);
        return;
    case CM_DIALOGKEY:
    case CM_DIALOGCHAR: {
        // A key the focused control doesn't use goes to every control of the
        // form until one takes it (a default or cancel button); so does an
        // accelerator character.
        std::function<bool(TWinControl*)> Offer = [&](TWinControl* Parent) {
            for (int I = 0; I < Parent->ControlCount(); ++I) {
                TControl* C = Parent->Controls(I);
                if (!C->Visible() || !C->Enabled()) continue;
                Message.Result = C->Perform(Message.Msg, Message.WParam, Message.LParam);
                if (Message.Result != 0) return true;
                if (auto* Win = dynamic_cast<TWinControl*>(C); Win && Offer(Win)) return true;
            }
            return false;
        };
        Offer(this);
        return;
    }
    default:
        TWinControl::Dispatch(Message);
    }
}

void TCustomForm::WidgetStateChanged(TWindowState Before) {
    if (Application->MainForm() != this || !FVisible || !WidgetAllocated()) return;
    QWidget* W = Widget();
    if (!W->isVisible()) return;
    const bool Minimised = W->windowState() & Qt::WindowMinimized;
    if (Minimised && !Application->Minimized()) {
        // Minimising the main window minimises the application; the form
        // keeps the state it had.
        if (Before != wsMinimized) FWindowState = Before;
        Application->Minimize();
    } else if (!Minimised && Application->Minimized()) {
        Application->Restore();
    }
}

void TCustomForm::DoCreate() {
    if (OnCreate) OnCreate(this);
}

void TCustomForm::DoDestroy() {
    if (OnDestroy) OnDestroy(this);
}

void TCustomForm::DoShow() {
    if (OnShow) OnShow(this);
}

void TCustomForm::DoHide() {
    if (OnHide) OnHide(this);
}

void TCustomForm::DoClose(TCloseAction& Action) {
    if (OnClose) OnClose(this, Action);
}

void TCustomForm::Activate() {
    if (OnActivate) OnActivate(this);
}

void TCustomForm::Deactivate() {
    if (OnDeactivate) OnDeactivate(this);
}

bool GetWindowPlacement(HWND Wnd, TWindowPlacement* Placement) {
    auto* Form = dynamic_cast<TCustomForm*>(Wnd);
    if (!Form || !Placement) return false;
    *Placement = Form->GetPlacement();
    return true;
}

bool SetWindowPlacement(HWND Wnd, const TWindowPlacement* Placement) {
    auto* Form = dynamic_cast<TCustomForm*>(Wnd);
    if (!Form || !Placement) return false;
    Form->SetPlacement(*Placement);
    return true;
}

bool IsIconic(HWND Wnd) {
    auto* Form = dynamic_cast<TCustomForm*>(Wnd);
    return Form && Form->WindowState() == wsMinimized;
}

bool IsZoomed(HWND Wnd) {
    auto* Form = dynamic_cast<TCustomForm*>(Wnd);
    return Form && Form->WindowState() == wsMaximized;
}

bool IsWindowVisible(HWND Wnd) {
    return Wnd && Wnd->Showing();
}

// ---- TApplication --------------------------------------------------------------------

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner) {}

TApplication::~TApplication() {
    Destroying();
    for (int I = ComponentCount() - 1; I >= 0; --I)
        if (auto* Form = dynamic_cast<TCustomForm*>(Components(I))) Form->BeforeDestruction();
    DestroyComponents();
}

void TApplication::Initialize() {
    EnsureQtApplication();
    FTerminated = false;
}

void TApplication::Created(TComponent* Instance) {
    auto* Form = dynamic_cast<TCustomForm*>(Instance);
    if (!Form) return;
    if (!FMainForm) FMainForm = Form;
    Form->AfterConstruction();
}

void TApplication::FormDestroyed(TCustomForm* Form) {
    if (FMainForm == Form) FMainForm = nullptr;
}

void TApplication::Run() {
    EnsureQtApplication();
    if (!FMainForm) return;
    if (FShowMainForm) FMainForm->Show();
    QEventLoop Loop;
    FRunLoop = &Loop;
    while (!FTerminated)
        Loop.exec();
    FRunLoop = nullptr;
}

void TApplication::Terminate() {
    FTerminated = true;
    if (FRunLoop) FRunLoop->quit();
    // Modal loops end too and see Terminated.
    for (TCustomForm* Form : Screen->FForms)
        if (Form->FModalLoop) Form->FModalLoop->quit();
}

void TApplication::ProcessMessages() {
    EnsureQtApplication();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (TControlBridge::DispatchDepth == 0)
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void TApplication::HandleMessage() {
    EnsureQtApplication();
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

AnsiString TApplication::Title() const {
    if (!FTitle.empty()) return FTitle;
    AnsiString Name = ExeName();
    const std::size_t Slash = Name.find_last_of('/');
    if (Slash != AnsiString::npos) Name.erase(0, Slash + 1);
    const std::size_t Dot = Name.find_last_of('.');
    if (Dot != AnsiString::npos && Dot > 0) Name.erase(Dot);
    return Name;
}

void TApplication::SetTitle(const AnsiString& Value) {
    FTitle = Value;
}

AnsiString TApplication::ExeName() const {
    return ProgramPath();
}

void TApplication::HandleException(TObject* Sender) {
    HandleException(Sender, std::current_exception());
}

void TApplication::HandleException(TObject* Sender, std::exception_ptr Error) {
    if (!Error) return;
    if (TControl* Capture = GetCaptureControl()) Capture->Perform(WM_CANCELMODE);
    auto Report = [this, Sender](const Exception& E) {
        if (OnException)
            OnException(Sender, E);
        else
            ShowException(E);
    };
    try {
        try {
            std::rethrow_exception(Error);
        } catch (const EAbort&) {
        } catch (const Exception& E) {
            Report(E);
        } catch (const std::exception& E) {
            Report(Exception(E.what()));
        } catch (...) {
            Report(Exception("Unknown exception"));
        }
    } catch (...) {
        // The display itself failed: nothing more can be shown, and the
        // program goes on rather than ending here.
    }
}

void TApplication::ShowException(const Exception& E) {
    AnsiString Msg = E.Message;
    if (!Msg.empty() && static_cast<unsigned char>(Msg.back()) > '.') Msg += '.';
    MessageBox(Msg, Title(), MB_OK | MB_ICONSTOP);
}

int TApplication::MessageBox(const AnsiString& Text, const AnsiString& Caption, unsigned Flags) {
    HWND Owner = Screen->ActiveForm();
    if (!Owner) Owner = FMainForm;
    return ::MessageBox(Owner, Text, Caption, Flags);
}

void TApplication::Minimize() {
    if (FMinimized) return;
    // There is no window of the application's own: its main window goes
    // down to an icon and keeps the state to come back to.
    if (FMainForm && FMainForm->Visible()) {
        const TWindowState State = FMainForm->WindowState();
        if (State != wsMinimized) FMainForm->FWindowState = State;
    }
    FMinimized = true;
    if (FMainForm && FMainForm->WidgetAllocated() && FMainForm->Visible())
        FMainForm->Widget()->showMinimized();
    if (OnMinimize) OnMinimize(this);
}

void TApplication::Restore() {
    if (!FMinimized) return;
    FMinimized = false;
    if (FMainForm && FMainForm->WidgetAllocated() && FMainForm->Visible())
        FMainForm->ShowWidgetInState();
    if (OnRestore) OnRestore(this);
}

// ---- TScreen --------------------------------------------------------------------------

TCustomForm* TScreen::Forms(int Index) const {
    if (Index < 0 || Index >= FormCount())
        throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
    return FForms[static_cast<std::size_t>(Index)];
}

TCustomForm* TScreen::ActiveForm() const {
    if (!QCoreApplication::instance()) return nullptr;
    QWidget* Active = QApplication::activeWindow();
    if (!Active) return nullptr;
    return dynamic_cast<TCustomForm*>(TControl::FromWidget(Active));
}

TWinControl* TScreen::ActiveControl() const {
    TCustomForm* Form = ActiveForm();
    return Form ? Form->ActiveControl() : nullptr;
}

int TScreen::Width() const {
    if (FOverrideWidth > 0) return FOverrideWidth;
    EnsureQtApplication();
    QScreen* S = QGuiApplication::primaryScreen();
    return S ? S->geometry().width() : 0;
}

int TScreen::Height() const {
    if (FOverrideHeight > 0) return FOverrideHeight;
    EnsureQtApplication();
    QScreen* S = QGuiApplication::primaryScreen();
    return S ? S->geometry().height() : 0;
}

int TScreen::PixelsPerInch() const {
    EnsureQtApplication();
    QScreen* S = QGuiApplication::primaryScreen();
    return S ? static_cast<int>(std::lround(S->logicalDotsPerInchY())) : 96;
}

TRect TScreen::WorkAreaRect() const {
    if (FOverrideWidth > 0) return Rect(0, 0, FOverrideWidth, FOverrideHeight);
    EnsureQtApplication();
    QScreen* S = QGuiApplication::primaryScreen();
    if (!S) return Rect(0, 0, 0, 0);
    const QRect R = S->availableGeometry();
    return Rect(R.left(), R.top(), R.left() + R.width(), R.top() + R.height());
}

std::vector<TRect> TScreen::MonitorRects() const {
    if (FOverrideWidth > 0) return {Rect(0, 0, FOverrideWidth, FOverrideHeight)};
    EnsureQtApplication();
    std::vector<TRect> Result;
    for (const QScreen* S : QGuiApplication::screens()) {
        const QRect R = S->geometry();
        Result.push_back(Rect(R.left(), R.top(), R.left() + R.width(), R.top() + R.height()));
    }
    return Result;
}

void TScreen::SetCursor(TCursor Value) {
    if (Value == FCursor) return;
    EnsureQtApplication();
    if (FCursor != crDefault) QApplication::restoreOverrideCursor();
    FCursor = Value;
    if (Value != crDefault) QApplication::setOverrideCursor(ToQCursor(Value));
}

void TScreen::OverrideSize(int AWidth, int AHeight) {
    FOverrideWidth = AWidth > 0 && AHeight > 0 ? AWidth : 0;
    FOverrideHeight = AWidth > 0 && AHeight > 0 ? AHeight : 0;
}

// ---- TMouse ---------------------------------------------------------------------------

TPoint TMouse::CursorPos() const {
    EnsureQtApplication();
    const QPoint P = QCursor::pos();
    return Point(P.x(), P.y());
}

void TMouse::SetCursorPos(const TPoint& P) {
    EnsureQtApplication();
    QCursor::setPos(P.X, P.Y);
}

HWND TMouse::Capture() const {
    return dynamic_cast<TWinControl*>(GetCaptureControl());
}

void TMouse::SetCapture(HWND Value) {
    SetCaptureControl(Value);
}

// ---- metrics ------------------------------------------------------------------------------

int GetSystemMetrics(int Index) {
    switch (Index) {
    case SM_CXSCREEN:
        return Screen->Width();
    case SM_CYSCREEN:
        return Screen->Height();
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVTHUMB:
    case SM_CXHTHUMB:
    {
        // Asked for many times while a grid lays out its rows; the style
        // works it out afresh each time, so it is kept for the style in use.
        EnsureQtApplication();
        thread_local const QStyle* Style = nullptr;
        thread_local int Extent = 0;
        if (QApplication::style() != Style) {
            Style = QApplication::style();
            Extent = Style->pixelMetric(QStyle::PM_ScrollBarExtent);
        }
        return Extent;
    }
    case SM_CYCAPTION:
        return 19;
    case SM_CXBORDER:
    case SM_CYBORDER:
        return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME:
        return 3;
    case SM_CYMENU:
        return 19;
    case SM_CXFRAME:
    case SM_CYFRAME:
        return 4;
    default:
        return 0;
    }
}
