#pragma once
// Forms and the application: TCustomForm/TForm (a top-level window with a
// caption, a menu, a close protocol, modal showing and a placement),
// TApplication (creates the forms, runs the event loop, shows an
// exception that escapes an event handler and goes on), TScreen (the
// screen and the open forms) and TMouse.
#include "platform/gui/Controls.h"
#include "platform/rtl/Exceptions.h"

#include <exception>
#include <memory>
#include <vector>

class TMainMenu;
class QEventLoop;
struct TCursorImage;

enum class TFormBorderStyle : std::uint8_t {
    bsNone,
    bsSingle,
    bsSizeable,
    bsDialog,
    bsToolWindow,
    bsSizeToolWin
};
using enum TFormBorderStyle;
using TBorderStyle = TFormBorderStyle;

enum class TBorderIcon : std::uint8_t { biSystemMenu, biMinimize, biMaximize, biHelp };
using enum TBorderIcon;
using TBorderIcons = SmallSet<TBorderIcon>;

enum class TFormStyle : std::uint8_t { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
using enum TFormStyle;

enum class TPosition : std::uint8_t {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};
using enum TPosition;

enum class TWindowState : std::uint8_t { wsNormal, wsMinimized, wsMaximized };
using enum TWindowState;

enum class TCloseAction : std::uint8_t { caNone, caHide, caFree, caMinimize };
using enum TCloseAction;

enum class TFormStateItem : std::uint8_t { fsCreating, fsVisible, fsShowing, fsModal, fsActivated };
using enum TFormStateItem;
using TFormState = SmallSet<TFormStateItem>;

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

class TCustomForm : public TWinControl {
public:
    explicit TCustomForm(TComponent* AOwner);
    // Fires OnDestroy while the controls still exist, then frees them.
    ~TCustomForm() override;
    AnsiString ClassName() const override { return "TCustomForm"; }

    // Fires OnCreate once; TApplication::CreateForm calls it after the
    // constructor, and a form made with new gets it at its first show.
    virtual void AfterConstruction();
    // Fires OnDestroy once, while the whole form still exists. The owner
    // and Release call it before freeing the form; a derived form whose
    // OnDestroy handler uses its own members calls it first in its
    // destructor, because the base destructor runs after those are gone.
    virtual void BeforeDestruction();

    TRect ClientRect() const override;
    bool Showing() const override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    // ---- showing and closing
    void Show();
    void Hide() { SetVisible(false); }
    // Asks OnCloseQuery, then OnClose decides: hide (the default), free
    // later, minimise or stay. Closing the main form ends the application.
    void Close();
    virtual bool CloseQuery();
    // Frees the form once the event being handled is done.
    void Release();
    // Shows the form modally and returns its ModalResult once that is set.
    // Raises EInvalidOperation "Cannot make a visible window modal" for a
    // form that is already visible.
    virtual int ShowModal();
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value);
    TFormState FormState() const { return FFormState; }

    // ---- window
    // The state the window is in on screen; for a window not on screen yet
    // (also inside OnShow) the state it will take when shown. The main form
    // is never minimised on its own: minimising it minimises the
    // application, and meanwhile it reads the state it comes back to.
    TWindowState WindowState() const;
    void SetWindowState(TWindowState Value);
    // Sets the state the window will take without acting on it now.
    void SetWindowStateField(TWindowState Value) { FWindowState = Value; }
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition Value);
    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle Value);
    TBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons Value);
    TFormStyle FormStyle() const { return FFormStyle; }
    void SetFormStyle(TFormStyle Value);
    bool KeyPreview() const { return FKeyPreview; }
    void SetKeyPreview(bool Value) { FKeyPreview = Value; }
    int PixelsPerInch() const;

    TMainMenu* Menu() const { return FMenu; }
    void SetMenu(TMainMenu* Value);

    // The control that has or will get the focus on this form.
    TWinControl* ActiveControl() const { return FActiveControl; }
    void SetActiveControl(TWinControl* Control);
    // Called as a control of the form gets the focus: moves the active
    // control and fires the exit and enter events.
    void SetFocusedControl(TWinControl* Control);
    bool Active() const;

    // The placement: show state, minimised and maximised positions and the
    // normal (restored) rectangle.
    TWindowPlacement GetPlacement() const;
    void SetPlacement(const TWindowPlacement& Placement);

    // Asks the form for the sizes the window may take (WM_GETMINMAXINFO:
    // the constraints first, then whoever hooks the form's messages) and
    // holds the window's size to the answer. Done whenever the bounds or the
    // constraints change; whoever changes how it answers calls it too. The
    // maximised size and position are the window manager's to choose.
    void UpdateSizeLimits();

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;

    QWidget* ClientWidget() override;

protected:
    QWidget* CreateWidget() override;
    void WidgetCreated() override;
    void Dispatch(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void UpdateWidgetVisible() override;
    void UpdateWidgetBounds() override;
    AnsiString GetText() const override;
    void SetTextValue(const AnsiString& Value) override;

    virtual void DoCreate();
    virtual void DoDestroy();
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction& Action);
    virtual void Activate();
    virtual void Deactivate();

private:
    friend class TApplication;
    friend class TWinControl;
    friend class TControlBridge;

    int MenuHeight() const;
    void LayoutClient();
    void ApplyWindowFlags();
    void ApplyPosition();
    void CloseModal();
    void UpdateMenu();
    void ShowWidgetInState();
    // The state the window shows on screen, else the state it will take.
    TWindowState ScreenState() const;
    // Qt closed the window (the close box).
    void WidgetCloseRequested();
    // Qt (or the window manager) changed the window's state from Before.
    void WidgetStateChanged(TWindowState Before);
    void WMGetMinMaxInfo(TMessage& Message);

    TModalResult FModalResult = mrNone;
    TFormState FFormState;
    TWindowState FWindowState = wsNormal;
    TPosition FPosition = poDesigned;
    TFormBorderStyle FBorderStyle = bsSizeable;
    TBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize};
    TFormStyle FFormStyle = fsNormal;
    TMainMenu* FMenu = nullptr;
    TWinControl* FActiveControl = nullptr;
    TWinControl* FFocusedControl = nullptr;
    // Counts the focus moves, so a caller can tell whether handlers moved it.
    unsigned FFocusMoves = 0;
    TRect FNormalRect;
    TPoint FMinPosition{-1, -1};
    TPoint FMaxPosition{-1, -1};
    QWidget* FClient = nullptr;
    QEventLoop* FModalLoop = nullptr;
    bool FCreated = false;
    bool FDestroyFired = false;
    bool FKeyPreview = false;
    bool FPositioned = false;
    // Set while the form gives its bounds and limits to the window: the
    // geometry Qt reports meanwhile is a step on the way, not a move.
    bool FApplyingBounds = false;
};

class TForm : public TCustomForm {
public:
    explicit TForm(TComponent* AOwner) : TCustomForm(AOwner) {}
    AnsiString ClassName() const override { return "TForm"; }
};

using TExceptionEvent = std::function<void(TObject* Sender, const Exception& E)>;

class TApplication : public TComponent {
public:
    explicit TApplication(TComponent* AOwner);
    ~TApplication() override;
    AnsiString ClassName() const override { return "TApplication"; }

    // Starts the GUI (Qt) if it isn't running yet; a Terminate before it is
    // forgotten.
    void Initialize();

    // Makes a form or data module owned by the application. The first form
    // made this way becomes the main form.
    template <class T> void CreateForm(T*& Reference) {
        Reference = new T(this);
        Created(Reference);
    }

    // Shows the main form and handles events until the main form closes
    // or Terminate is called.
    void Run();
    void Terminate();
    bool Terminated() const { return FTerminated; }
    // Handles the events waiting now and returns.
    void ProcessMessages();
    // Waits for one event and handles it.
    void HandleMessage();

    TCustomForm* MainForm() const { return FMainForm; }
    bool ShowMainForm() const { return FShowMainForm; }
    void SetShowMainForm(bool Value) { FShowMainForm = Value; }

    // The title; the program file's name without extension until one is set.
    AnsiString Title() const;
    void SetTitle(const AnsiString& Value);
    // The program file's full path.
    AnsiString ExeName() const;

    // The exception being handled (call inside a catch block): OnException
    // when set, else ShowException. EAbort is silent.
    void HandleException(TObject* Sender);
    void HandleException(TObject* Sender, std::exception_ptr Error);
    // The exception's message in an error box, with a full stop added when
    // it ends in a character above '.'.
    void ShowException(const Exception& E);
    TExceptionEvent OnException;

    // A message box over the active form (see Dialogs.h for flags and results).
    int MessageBox(const AnsiString& Text, const AnsiString& Caption, unsigned Flags);

    // The application as a whole minimised to an icon, or restored.
    void Minimize();
    void Restore();
    bool Minimized() const { return FMinimized; }

    const AnsiString& Hint() const { return FHint; }
    void SetHint(const AnsiString& Value) { FHint = Value; }
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool Value) { FShowHint = Value; }

    TNotifyEvent OnMinimize;
    TNotifyEvent OnRestore;

private:
    friend class TCustomForm;
    void Created(TComponent* Instance);
    void FormDestroyed(TCustomForm* Form);

    TCustomForm* FMainForm = nullptr;
    AnsiString FTitle;
    AnsiString FHint;
    QEventLoop* FRunLoop = nullptr;
    bool FTerminated = false;
    bool FShowMainForm = true;
    bool FShowHint = true;
    bool FMinimized = false;
};

class TScreen : public TComponent {
public:
    explicit TScreen(TComponent* AOwner) : TComponent(AOwner) {}
    AnsiString ClassName() const override { return "TScreen"; }

    int FormCount() const { return static_cast<int>(FForms.size()); }
    TCustomForm* Forms(int Index) const;
    TCustomForm* ActiveForm() const;
    TWinControl* ActiveControl() const;

    // The primary screen in pixels.
    int Width() const;
    int Height() const;
    int PixelsPerInch() const;
    // The part of the primary screen windows may use (without panels).
    TRect WorkAreaRect() const;
    int WorkAreaLeft() const { return WorkAreaRect().Left; }
    int WorkAreaTop() const { return WorkAreaRect().Top; }
    int WorkAreaWidth() const { return WorkAreaRect().Width(); }
    int WorkAreaHeight() const { return WorkAreaRect().Height(); }
    // Every monitor's whole area, in desktop coordinates (with an overridden
    // size, the one screen of that size).
    std::vector<TRect> MonitorRects() const;

    // The cursor shown over every window (crDefault: each control's own).
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor Value);
    // The program's own cursors by number (Cursors.h makes them); nullptr
    // where none is registered. Setting one takes it over and frees the one
    // it replaces; nullptr removes the entry. The list is the process's
    // own, ready before any static object is made, so a unit's start-up may
    // fill it (as TScreen::SetCursors) before the screen object exists.
    static TCursorImage* Cursors(int Index);
    static void SetCursors(int Index, TCursorImage* Value);

    // For tests of code that depends on the screen size: the size Width and
    // Height report (and the work area); 0 x 0 gives the real screen back.
    void OverrideSize(int AWidth, int AHeight);

private:
    friend class TCustomForm;
    friend class TApplication;
    std::vector<TCustomForm*> FForms;
    TCursor FCursor = crDefault;
    int FOverrideWidth = 0;
    int FOverrideHeight = 0;
};

class TMouse {
public:
    TPoint CursorPos() const;
    void SetCursorPos(const TPoint& P);
    HWND Capture() const;
    void SetCapture(HWND Value);
    bool WheelPresent() const { return true; }
};

extern TApplication* Application;
extern TScreen* Screen;
extern TMouse* Mouse;

// The command line: ParamStr(0) is the program's path, 1..ParamCount the
// arguments.
int ParamCount();
AnsiString ParamStr(int Index);
// Replaces the command line the two above report (for tests and for a
// program started from another one's code).
void SetCommandLine(const std::vector<AnsiString>& Args);

// Metrics of the platform's windows (SM_xxx) and the window calls on forms.
inline constexpr int SM_CXSCREEN = 0;
inline constexpr int SM_CYSCREEN = 1;
inline constexpr int SM_CXVSCROLL = 2;
inline constexpr int SM_CYHSCROLL = 3;
inline constexpr int SM_CYCAPTION = 4;
inline constexpr int SM_CXBORDER = 5;
inline constexpr int SM_CYBORDER = 6;
inline constexpr int SM_CXDLGFRAME = 7;
inline constexpr int SM_CYDLGFRAME = 8;
inline constexpr int SM_CYVTHUMB = 9;
inline constexpr int SM_CXHTHUMB = 10;
inline constexpr int SM_CYMENU = 15;
inline constexpr int SM_CXFRAME = 32;
inline constexpr int SM_CYFRAME = 33;
int GetSystemMetrics(int Index);

// The window calls take a form's window; other windows give false.
bool GetWindowPlacement(HWND Wnd, TWindowPlacement* Placement);
bool SetWindowPlacement(HWND Wnd, const TWindowPlacement* Placement);
bool IsIconic(HWND Wnd);
bool IsZoomed(HWND Wnd);
bool IsWindowVisible(HWND Wnd);
