#pragma once
// Controls: TControl (a visual component with bounds, a parent, a font,
// a colour and mouse events) and TWinControl (a control that can hold
// other controls, take the focus and receive keys). Every control stands
// on one Qt widget, made on first need; Qt's input reaches the control as
// window messages through its WindowProc, and what a handler passes on to
// DefaultHandler goes on to the widget's own handling, the way an
// unhandled message goes on to the default window procedure.
#include "platform/classes/Component.h"
#include "platform/classes/SmallSet.h"
#include "platform/gui/Colors.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/Messages.h"
#include "platform/gui/Types.h"
#include "platform/rtl/AnsiString.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QWidget;
class TWinControl;
template <class TBase> class TPaintedControl;
class TCustomForm;
class TPopupMenu;

enum class TAlign : std::uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
using enum TAlign;

enum class TAnchorKind : std::uint8_t { akLeft, akTop, akRight, akBottom };
using enum TAnchorKind;
using TAnchors = SmallSet<TAnchorKind>;

enum class TShiftStateItem : std::uint8_t {
    ssShift,
    ssAlt,
    ssCtrl,
    ssLeft,
    ssRight,
    ssMiddle,
    ssDouble
};
using enum TShiftStateItem;
using TShiftState = SmallSet<TShiftStateItem>;

enum class TMouseButton : std::uint8_t { mbLeft, mbRight, mbMiddle };
using enum TMouseButton;

enum class TAlignment : std::uint8_t { taLeftJustify, taRightJustify, taCenter };
using enum TAlignment;

enum class TTextLayout : std::uint8_t { tlTop, tlCenter, tlBottom };
using enum TTextLayout;

// Reading order and layout of a control's contents.
enum class TBiDiMode : std::uint8_t {
    bdLeftToRight,
    bdRightToLeft,
    bdRightToLeftNoAlign,
    bdRightToLeftReadingOnly
};
using enum TBiDiMode;

enum class TControlStyleItem : std::uint8_t {
    csAcceptsControls,
    csCaptureMouse,
    csDesignInteractive,
    csClickEvents,
    csFramed,
    csSetCaption,
    csOpaque,
    csDoubleClicks,
    csFixedWidth,
    csFixedHeight,
    csNoDesignVisible,
    csReplicatable,
    csNoStdEvents,
};
using enum TControlStyleItem;
using TControlStyle = SmallSet<TControlStyleItem>;

enum class TControlStateItem : std::uint8_t {
    csLButtonDown,
    csClicked,
    csPalette,
    csReadingState,
    csAlignmentNeeded,
    csFocusing,
    csCreating,
    csPaintCopy,
    csCustomPaint,
    csDestroyingHandle,
};
using enum TControlStateItem;
using TControlState = SmallSet<TControlStateItem>;

// Mouse cursors: the framework's numbers.
using TCursor = int;
inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crNone = -1;
inline constexpr TCursor crArrow = -2;
inline constexpr TCursor crCross = -3;
inline constexpr TCursor crIBeam = -4;
inline constexpr TCursor crSizeNESW = -6;
inline constexpr TCursor crSizeNS = -7;
inline constexpr TCursor crSizeNWSE = -8;
inline constexpr TCursor crSizeWE = -9;
inline constexpr TCursor crUpArrow = -10;
inline constexpr TCursor crHourGlass = -11;
inline constexpr TCursor crDrag = -12;
inline constexpr TCursor crNoDrop = -13;
inline constexpr TCursor crHSplit = -14;
inline constexpr TCursor crVSplit = -15;
inline constexpr TCursor crMultiDrag = -16;
inline constexpr TCursor crSQLWait = -17;
inline constexpr TCursor crNo = -18;
inline constexpr TCursor crAppStart = -19;
inline constexpr TCursor crHelp = -20;
inline constexpr TCursor crHandPoint = -21;
inline constexpr TCursor crSizeAll = -22;

// The result a modal form or message dialog ends with.
using TModalResult = int;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = 1;
inline constexpr TModalResult mrCancel = 2;
inline constexpr TModalResult mrAbort = 3;
inline constexpr TModalResult mrRetry = 4;
inline constexpr TModalResult mrIgnore = 5;
inline constexpr TModalResult mrYes = 6;
inline constexpr TModalResult mrNo = 7;
inline constexpr TModalResult mrAll = 8;
inline constexpr TModalResult mrNoToAll = 9;
inline constexpr TModalResult mrYesToAll = 10;

using TKeyEvent = std::function<void(TObject* Sender, Word& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, char& Key)>;
using TMouseEvent =
    std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TWndMethod = std::function<void(TMessage& Message)>;

// Dragging a control within the application (ControlDrag.h).
enum class TDragMode : std::uint8_t { dmManual, dmAutomatic };
using enum TDragMode;
enum class TDragKind : std::uint8_t { dkDrag, dkDock };
using enum TDragKind;
enum class TDragState : std::uint8_t { dsDragEnter, dsDragLeave, dsDragMove };
using enum TDragState;
class TDragObject;
using TStartDragEvent = std::function<void(TObject* Sender, TDragObject*& DragObject)>;
using TDragOverEvent = std::function<void(TObject* Sender, TObject* Source, int X, int Y,
                                          TDragState State, bool& Accept)>;
using TDragDropEvent = std::function<void(TObject* Sender, TObject* Source, int X, int Y)>;
using TEndDragEvent = std::function<void(TObject* Sender, TObject* Target, int X, int Y)>;
// MousePos in client coordinates; (-1, -1) when the request came from the keyboard.
using TContextPopupEvent = std::function<void(TObject* Sender, TPoint MousePos, bool& Handled)>;

// Minimum and maximum sizes of a control; 0 means no limit.
class TSizeConstraints : public TPersistent {
public:
    AnsiString ClassName() const override { return "TSizeConstraints"; }
    void Assign(TPersistent* Source) override;

    int MinWidth() const { return FMinWidth; }
    int MinHeight() const { return FMinHeight; }
    int MaxWidth() const { return FMaxWidth; }
    int MaxHeight() const { return FMaxHeight; }
    void SetMinWidth(int Value);
    void SetMinHeight(int Value);
    void SetMaxWidth(int Value);
    void SetMaxHeight(int Value);

    TNotifyEvent OnChange;

private:
    void Change();

    int FMinWidth = 0;
    int FMinHeight = 0;
    int FMaxWidth = 0;
    int FMaxHeight = 0;
};

class TControl : public TComponent {
public:
    explicit TControl(TComponent* AOwner);
    ~TControl() override;
    AnsiString ClassName() const override { return "TControl"; }

    // ---- place in the control tree
    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* AParent);
    bool HasParent() const override { return FParent != nullptr; }
    TComponent* GetParentComponent() const override;

    // ---- bounds, in the parent's client coordinates (screen for a form)
    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetLeft(int Value) { SetBounds(Value, FTop, FWidth, FHeight); }
    void SetTop(int Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
    void SetWidth(int Value) { SetBounds(FLeft, FTop, Value, FHeight); }
    void SetHeight(int Value) { SetBounds(FLeft, FTop, FWidth, Value); }
    // Moves and sizes the control at once, within its constraints; WM_SIZE
    // and WM_MOVE follow when the size or place changed, and the parent
    // realigns its children.
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    TRect BoundsRect() const { return Rect(FLeft, FTop, FLeft + FWidth, FTop + FHeight); }
    void SetBoundsRect(const TRect& R) { SetBounds(R.Left, R.Top, R.Width(), R.Height()); }
    // The client area in the control's own coordinates.
    virtual TRect ClientRect() const;
    int ClientWidth() const { return ClientRect().Width(); }
    int ClientHeight() const { return ClientRect().Height(); }
    void SetClientWidth(int Value);
    void SetClientHeight(int Value);
    TPoint ClientOrigin() const;
    TPoint ClientToScreen(const TPoint& P) const;
    TPoint ScreenToClient(const TPoint& P) const;

    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign Value);
    TAnchors Anchors() const { return FAnchors; }
    void SetAnchors(TAnchors Value);
    TSizeConstraints* Constraints() const { return FConstraints.get(); }

    // ---- state
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible, and every parent up to the form is visible too.
    virtual bool Showing() const;

    // ---- appearance
    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* Value) { FFont->Assign(Value); }
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool Value);
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor Value);
    // Right-to-left controls lay out mirrored (bdRightToLeft) and read
    // right to left (every mode but bdLeftToRight). A change repaints.
    TBiDiMode BiDiMode() const { return FBiDiMode; }
    void SetBiDiMode(TBiDiMode Value);
    bool UseRightToLeftAlignment() const { return FBiDiMode == bdRightToLeft; }
    bool UseRightToLeftReading() const { return FBiDiMode != bdLeftToRight; }
    bool IsRightToLeft() const { return FBiDiMode != bdLeftToRight; }
    const AnsiString& Hint() const { return FHint; }
    void SetHint(const AnsiString& Value);
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool Value);
    // Stored settings a control publishes as the framework's forms expect:
    // whether the hint switch follows the parent's, and the help topic.
    bool ParentShowHint() const { return FParentShowHint; }
    void SetParentShowHint(bool Value) { FParentShowHint = Value; }
    int HelpContext() const { return FHelpContext; }
    void SetHelpContext(int Value) { FHelpContext = Value; }
    TPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TPopupMenu* Value);

    // Caption and Text are one property under two names.
    AnsiString Caption() const { return GetText(); }
    void SetCaption(const AnsiString& Value) { SetText(Value); }
    AnsiString Text() const { return GetText(); }
    void SetText(const AnsiString& Value);

    TControlStyle ControlStyle;
    TControlState ControlState;

    // ---- painting
    void Invalidate();
    virtual void Update();
    void Repaint();
    void Refresh() { Repaint(); }
    void BringToFront();
    void SendToBack();

    // ---- messages
    // Sends a message to the control at once and returns its result.
    LRESULT Perform(unsigned Msg, WPARAM WParam = 0, LPARAM LParam = 0);
    // Where every message to the control goes first; WndProc unless someone
    // has put a procedure of its own in front of it (and calls on to the
    // one it replaced).
    TWndMethod WindowProc;
    virtual void WndProc(TMessage& Message);
    // Calls the handler the class has for the message, else DefaultHandler.
    virtual void Dispatch(TMessage& Message);
    // What happens to a message no handler took: a message that came from
    // Qt input goes on to the widget.
    virtual void DefaultHandler(TMessage& Message);

    // The mouse goes to this control until it is released.
    bool MouseCapture() const;
    void SetMouseCapture(bool Value);

    virtual void Click();

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TNotifyEvent OnResize;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;

    // ---- dragging within the application (ControlDrag.cpp)
    // dmAutomatic starts a drag with a left press; dmManual leaves it to
    // BeginDrag. Docking is not done here: dkDock drags like dkDrag.
    TDragMode DragMode() const { return FDragMode; }
    void SetDragMode(TDragMode Value) { FDragMode = Value; }
    TDragKind DragKind() const { return FDragKind; }
    void SetDragKind(TDragKind Value) { FDragKind = Value; }
    // Shown while the control is dragged over a target that accepts it.
    TCursor DragCursor() const { return FDragCursor; }
    void SetDragCursor(TCursor Value) { FDragCursor = Value; }
    // Starts dragging this control: at once, or once the mouse has moved
    // Threshold pixels (below 0: the platform's distance) with the button
    // held. Nothing while another drag is going on; a form raises
    // EInvalidOperation "Cannot drag a form".
    void BeginDrag(bool Immediate, int Threshold = -1);
    // Ends this control's drag: dropped on the target under the mouse when
    // Drop and the target accepts, else cancelled.
    void EndDrag(bool Drop);
    // This control is being dragged (also before the threshold is passed).
    bool Dragging() const;
    // A drop of Source at (X, Y) in client coordinates: OnDragDrop.
    virtual void DragDrop(TObject* Source, int X, int Y);

    TStartDragEvent OnStartDrag;
    TDragOverEvent OnDragOver;
    TDragDropEvent OnDragDrop;
    TEndDragEvent OnEndDrag;
    // The user asked for a context menu over the control (WM_CONTEXTMENU):
    // OnContextPopup first; unless it handled the request, the control's
    // PopupMenu (with AutoPopup) shows, and without one the request goes
    // on to the parent.
    TContextPopupEvent OnContextPopup;

    // ---- the Qt side (platform code only)
    // The control's widget, made on first call.
    QWidget* Widget();
    // Asked at every step of work on controls that never get a window (a
    // grid filled for a report): those are answered without a call.
    bool WidgetAllocated() const { return FWidgetMade && WidgetAlive(); }
    // The control a widget stands for, or nullptr.
    static TControl* FromWidget(QWidget* Widget);
    // Whether the control still exists (for work queued to it).
    static bool Exists(const TControl* Control, std::uint64_t Serial);
    std::uint64_t Serial() const { return FSerial; }

protected:
    // Makes the widget for this control; the base makes a plain widget.
    virtual QWidget* CreateWidget();
    // Runs once the widget exists and carries the control's state: the
    // place to connect the widget's signals.
    virtual void WidgetCreated();
    // Frees the widget (the control's children first).
    void DestroyWidget();

    virtual AnsiString GetText() const;
    virtual void SetTextValue(const AnsiString& Value);
    // The text just changed; CM_TEXTCHANGED goes out.
    virtual void TextChanged();

    virtual void DblClick();
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void Resize();
    // Called by SetBounds before the bounds change, so a class can hold
    // them to its own rules (fixed sizes, auto-size).
    virtual void ConstrainedResize(int& AWidth, int& AHeight);
    virtual void VisibleChanging() {}
    // The font or colour changed (CM_FONTCHANGED / CM_COLORCHANGED).
    virtual void FontChanged();
    virtual void ColorChanged();
    // The colour the widget's background takes; clNone leaves Qt's own.
    virtual TColor EffectiveBackground() const { return FColor; }
    // Applies the control's state to its widget.
    virtual void UpdateWidgetBounds();
    // Asks for the area (client coordinates; nullptr: all) to be repainted.
    virtual void InvalidateWidgetArea(const TRect* R);
    // Whether the message being handled is Qt input on its way to the
    // widget (rather than one sent from code).
    bool FromNativeInput(unsigned Msg) const;
    virtual void UpdateWidgetVisible();
    virtual void UpdateWidgetFont();
    virtual void UpdateWidgetColor();

    void Notification(TComponent* AComponent, TOperation Operation) override;
    void SendCancelMode(TControl* Sender);

    // The drag's steps: OnStartDrag; whether Source may be dropped here
    // (Accept starts false, true once an OnDragOver handler is there to
    // decide); OnEndDrag with the target dropped on or nullptr.
    virtual void DoStartDrag(TDragObject*& DragObject);
    virtual void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept);
    virtual void DoEndDrag(TObject* Target, int X, int Y);
    // The context-menu request: OnContextPopup.
    virtual void DoContextPopup(const TPoint& MousePos, bool& Handled);
    // Remembers the bounds and the parent's client size the anchors work from.
    void UpdateAnchorRules();
    // The bounds the anchors give for the parent's present client size.
    void AnchorTo(int ParentWidth, int ParentHeight);

    TWinControl* FParent = nullptr;
    AnsiString FText;
    int FLeft = 0;
    int FTop = 0;
    int FWidth = 0;
    int FHeight = 0;

private:
    friend class TWinControl;
    friend class TCustomForm;
    friend class TControlBridge;
    friend class TDragOperation;

    void FontChangedEvent(TObject* Sender);
    void WMContextMenu(TMessage& Message);
    void DoMouseDown(TWMMouse& Message, TMouseButton Button, TShiftState Shift);
    void DoMouseUp(TWMMouse& Message, TMouseButton Button);
    void WMMouseMove(TWMMouse& Message);
    void WMLButtonDown(TWMMouse& Message);
    void WMLButtonUp(TWMMouse& Message);
    void WMLButtonDblClk(TWMMouse& Message);
    void WMRButtonDown(TWMMouse& Message);
    void WMRButtonUp(TWMMouse& Message);
    void WMMButtonDown(TWMMouse& Message);
    void WMMButtonUp(TWMMouse& Message);
    void CMParentFontChanged(TMessage& Message);
    void CMParentColorChanged(TMessage& Message);
    // Moves the control to its parent's widget.
    void ReparentWidget();
    // Bounds from Qt (the user moved or sized a window).
    void WidgetGeometryChanged(int ALeft, int ATop, int AWidth, int AHeight);

    bool WidgetAlive() const;

    struct TQtState;
    std::unique_ptr<TQtState> FQt;
    // A widget was made and not destroyed here (Qt may still have freed it).
    bool FWidgetMade = false;
    std::unique_ptr<TFont> FFont;
    std::unique_ptr<TSizeConstraints> FConstraints;
    std::uint64_t FSerial = 0;
    TAlign FAlign = alNone;
    TAnchors FAnchors{akLeft, akTop};
    TRect FAnchorBounds;
    TPoint FAnchorParentSize;
    bool FAnchorsKnown = false;
    bool FEnabled = true;
    bool FVisible = true;
    bool FParentFont = true;
    bool FParentColor = true;
    bool FShowHint = false;
    bool FParentShowHint = true;
    int FHelpContext = 0;
    bool FUpdatingParentFont = false;
    TColor FColor = clBtnFace;
    TCursor FCursor = crDefault;
    TCursor FDragCursor = crDrag;
    TDragMode FDragMode = dmManual;
    TDragKind FDragKind = dkDrag;
    TBiDiMode FBiDiMode = bdLeftToRight;
    AnsiString FHint;
    TPopupMenu* FPopupMenu = nullptr;
};

// Tab order position of a windowed control among its parent's.
using TTabOrder = int;

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* AOwner);
    // Frees the child controls first.
    ~TWinControl() override;
    AnsiString ClassName() const override { return "TWinControl"; }

    // ---- children
    int ControlCount() const { return static_cast<int>(FControls.size()); }
    TControl* Controls(int Index) const;
    void InsertControl(TControl* AControl);
    void RemoveControl(TControl* AControl);
    bool ContainsControl(const TControl* Control) const;
    // The visible child under P (client coordinates), or nullptr.
    TControl* ControlAtPos(const TPoint& P, bool AllowDisabled) const;
    // Sends the message to every child.
    void Broadcast(TMessage& Message);
    void NotifyControls(unsigned Msg);

    // ---- the window
    HWND Handle();
    bool HandleAllocated() const { return WidgetAllocated(); }
    // The control as a window that paints itself and keeps its own scroll
    // bars, or nullptr: the window services ask on every call, which a
    // cast down a deep class tree would make costly.
    virtual TPaintedControl<TWinControl>* PaintedWindow() { return nullptr; }
    void HandleNeeded() { Widget(); }

    // ---- focus and keys
    TTabOrder TabOrder() const;
    void SetTabOrder(TTabOrder Value);
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool Value);
    // Whether the 3D look follows the parent's; a stored setting.
    bool ParentCtl3D() const { return FParentCtl3D; }
    void SetParentCtl3D(bool Value) { FParentCtl3D = Value; }
    // Visible and enabled, with every parent up to the form.
    virtual bool CanFocus() const;
    // Raises EInvalidOperation "Cannot focus a disabled or invisible
    // window" when the control can't take the focus.
    virtual void SetFocus();
    virtual bool Focused() const;
    // Child windowed controls in tab order, descending into containers.
    void GetTabOrderList(std::vector<TWinControl*>& List) const;
    // The next (or previous) control in the tab order after CurControl.
    TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop,
                                 bool CheckParent) const;

    // ---- alignment
    void DisableAlign() { ++FAlignLevel; }
    void EnableAlign();
    void Realign();

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;

    // Where the children's widgets live; the widget itself unless a class
    // keeps a client area of its own inside it (a form under its menu bar).
    virtual QWidget* ClientWidget();

protected:
    void Dispatch(TMessage& Message) override;

    // Lays out the aligned children within Rect, in the order a parent
    // aligns them: top, bottom, left, right, then client.
    virtual void AlignControls(TControl* AControl, TRect& Rect);
    // The part of the client area aligned children may fill.
    virtual void AdjustClientRect(TRect& Rect) const;

    virtual void KeyDown(Word& Key, TShiftState Shift);
    virtual void KeyUp(Word& Key, TShiftState Shift);
    virtual void KeyPress(char& Key);
    // Give the key to the form's preview and to the handlers; true when
    // the key was used up (set to 0).
    bool DoKeyDown(TWMKey& Message);
    bool DoKeyUp(TWMKey& Message);
    bool DoKeyPress(TWMKey& Message);
    virtual void DoEnter();
    virtual void DoExit();
    // Whether the control uses Enter, Escape or Tab itself; keys it
    // doesn't use go to the form (CM_DIALOGKEY), which presses its default
    // or cancel button.
    virtual bool WantsKey(Word Key) const;

    void Resize() override;
    void FontChanged() override;
    void ColorChanged() override;
    void UpdateWidgetFocusPolicy();

private:
    friend class TControl;
    void UpdateTabChain();

    std::vector<TControl*> FControls;
    std::vector<TWinControl*> FTabList;
    int FAlignLevel = 0;
    bool FTabStop = false;
    bool FParentCtl3D = true;
    bool FAligning = false;
};

// The state of the shift keys and mouse buttons with the input being
// handled now (what the keyboard state query reports).
TShiftState KeyboardStateToShiftState();
// Negative when the key or button is down with the input being handled.
short GetKeyState(int VirtualKey);

// The form the control is on, or nullptr.
TCustomForm* GetParentForm(TControl* Control);
// As GetParentForm, raising EInvalidOperation "Control '%s' has no parent
// window" without one.
TCustomForm* ValidParentForm(TControl* Control);

// The control that holds the mouse, or nullptr.
TControl* GetCaptureControl();
void SetCaptureControl(TControl* Control);

// Messages between windows of this process. PostMessage queues the message
// for the event loop; it is dropped when the window is gone by then.
LRESULT SendMessage(HWND Wnd, unsigned Msg, WPARAM WParam = 0, LPARAM LParam = 0);
bool PostMessage(HWND Wnd, unsigned Msg, WPARAM WParam = 0, LPARAM LParam = 0);
struct TMsg; // PendingInput.h
// Takes the first message posted to Wnd (nullptr: any window) with the
// number Msg and not yet delivered out of the queue, so it never is; it is
// copied to Removed (window, number, parameters) when given. False when
// none is waiting.
bool RemovePostedMessage(HWND Wnd, unsigned Msg, TMsg* Removed = nullptr);

// Per-window timers: WM_TIMER with the id every Elapse milliseconds until
// KillTimer. Setting an id again restarts it with the new time.
unsigned SetTimer(HWND Wnd, unsigned IDEvent, unsigned Elapse);
bool KillTimer(HWND Wnd, unsigned IDEvent);
