#include "platform/gui/Bridge.h"

#include "platform/gui/Forms.h"
#include "platform/gui/Menus.h"
#include "platform/gui/QtApp.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>
#include <QWindowStateChangeEvent>

#include <utility>

int TControlBridge::DispatchDepth = 0;

namespace {

Qt::KeyboardModifiers GModifiers;
Qt::MouseButtons GButtons;
// Where the mouse was with the last mouse input.
QPoint GMousePos;
bool GMousePosKnown = false;

// Marks key events the bridge made itself (a key changed by OnKeyPress),
// which go to the widget untranslated.
bool GResending = false;

struct TDepthGuard {
    TDepthGuard() { ++TControlBridge::DispatchDepth; }
    ~TDepthGuard() { --TControlBridge::DispatchDepth; }
    TDepthGuard(const TDepthGuard&) = delete;
    TDepthGuard& operator=(const TDepthGuard&) = delete;
};

} // namespace

namespace {

// The key that types a printable ASCII character on a US keyboard, named as
// key messages name it: a shifted mark names the key it is on ('!' is the
// 1 key), so that no character reads as a navigation key.
Word CharacterKey(char32_t Ch) {
    if (Ch >= 'a' && Ch <= 'z') return static_cast<Word>(Ch - 'a' + 'A');
    if ((Ch >= 'A' && Ch <= 'Z') || (Ch >= '0' && Ch <= '9')) return static_cast<Word>(Ch);
    if (Ch == ' ') return VK_SPACE;
    static constexpr char DigitShifted[] = ")!@#$%^&*(";
    for (int Digit = 0; Digit < 10; ++Digit)
        if (Ch == static_cast<unsigned char>(DigitShifted[Digit]))
            return static_cast<Word>('0' + Digit);
    static constexpr std::pair<const char*, Word> Marks[] = {
        {";:", VK_OEM_1},      {"=+", VK_OEM_PLUS}, {",<", VK_OEM_COMMA}, {"-_", VK_OEM_MINUS},
        {".>", VK_OEM_PERIOD}, {"/?", VK_OEM_2},    {"`~", VK_OEM_3},     {"[{", VK_OEM_4},
        {"\\|", VK_OEM_5},     {"]}", VK_OEM_6},    {"'\"", VK_OEM_7},
    };
    for (const auto& [Pair, VK] : Marks)
        if (Ch == static_cast<unsigned char>(Pair[0]) || Ch == static_cast<unsigned char>(Pair[1]))
            return VK;
    return 0;
}

// The virtual key of one of Qt's named keys (not a character), 0 for none.
Word NamedKey(int Key) {
    if (Key >= Qt::Key_F1 && Key <= Qt::Key_F12)
        return static_cast<Word>(VK_F1 + (Key - Qt::Key_F1));
    switch (Key) {
    case Qt::Key_Backspace:
        return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return VK_TAB;
    case Qt::Key_Clear:
        return VK_CLEAR;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return VK_RETURN;
    case Qt::Key_Shift:
        return VK_SHIFT;
    case Qt::Key_Control:
        return VK_CONTROL;
    case Qt::Key_Alt:
        return VK_MENU;
    case Qt::Key_Pause:
        return VK_PAUSE;
    case Qt::Key_CapsLock:
        return VK_CAPITAL;
    case Qt::Key_Escape:
        return VK_ESCAPE;
    case Qt::Key_Space:
        return VK_SPACE;
    case Qt::Key_PageUp:
        return VK_PRIOR;
    case Qt::Key_PageDown:
        return VK_NEXT;
    case Qt::Key_End:
        return VK_END;
    case Qt::Key_Home:
        return VK_HOME;
    case Qt::Key_Left:
        return VK_LEFT;
    case Qt::Key_Up:
        return VK_UP;
    case Qt::Key_Right:
        return VK_RIGHT;
    case Qt::Key_Down:
        return VK_DOWN;
    case Qt::Key_Select:
        return VK_SELECT;
    case Qt::Key_Print:
        return VK_PRINT;
    case Qt::Key_Insert:
        return VK_INSERT;
    case Qt::Key_Delete:
        return VK_DELETE;
    case Qt::Key_Help:
        return VK_HELP;
    case Qt::Key_Menu:
        return VK_APPS;
    case Qt::Key_NumLock:
        return VK_NUMLOCK;
    case Qt::Key_ScrollLock:
        return VK_SCROLL;
    default:
        return 0;
    }
}

} // namespace

Word KeyEventVirtualKey(const QKeyEvent& E) {
    const int Key = E.key();
    if (E.modifiers() & Qt::KeypadModifier) {
        // The keypad's arithmetic keys are keys of their own.
        switch (Key) {
        case Qt::Key_Asterisk:
            return VK_MULTIPLY;
        case Qt::Key_Plus:
            return VK_ADD;
        case Qt::Key_Minus:
            return VK_SUBTRACT;
        case Qt::Key_Slash:
            return VK_DIVIDE;
        case Qt::Key_Period:
            return VK_DECIMAL;
        default:
            break;
        }
    }
    // Qt's key of a printable ASCII character is the character's code.
    if (Key >= 0x20 && Key < 0x7F) return CharacterKey(static_cast<char32_t>(Key));
    if (const Word VK = NamedKey(Key)) return VK;
    // A key Qt has no name for may still type an ASCII character; any
    // other character reaches the control as a character only.
    const QString Text = E.text();
    if (Text.size() == 1 && Text.at(0).unicode() >= 0x20 && Text.at(0).unicode() < 0x7F)
        return CharacterKey(Text.at(0).unicode());
    return 0;
}

unsigned MouseKeys(Qt::MouseButtons Buttons, Qt::KeyboardModifiers Modifiers) {
    unsigned Keys = 0;
    if (Buttons & Qt::LeftButton) Keys |= MK_LBUTTON;
    if (Buttons & Qt::RightButton) Keys |= MK_RBUTTON;
    if (Buttons & Qt::MiddleButton) Keys |= MK_MBUTTON;
    if (Modifiers & Qt::ShiftModifier) Keys |= MK_SHIFT;
    if (Modifiers & Qt::ControlModifier) Keys |= MK_CONTROL;
    return Keys;
}

namespace {

// The windowed control a widget belongs to (itself or an ancestor), or nullptr.
TWinControl* WindowOf(QWidget* W) {
    for (; W; W = W->parentWidget())
        if (auto* Win = dynamic_cast<TWinControl*>(TControl::FromWidget(W))) return Win;
    return nullptr;
}

// The window that last lost the focus, for the WM_SETFOCUS that follows.
QPointer<QWidget> GFocusLeaving;

// The widget whose coordinates are the control's client coordinates.
QWidget* ClientOf(TControl* Control) {
    if (auto* Win = dynamic_cast<TWinControl*>(Control)) return Win->ClientWidget();
    return Control->Widget();
}

} // namespace

bool LastMouseScreenPos(TPoint& Pos) {
    if (GMousePosKnown) Pos = TPoint{GMousePos.x(), GMousePos.y()};
    return GMousePosKnown;
}

void SetCurrentModifiers(Qt::KeyboardModifiers Modifiers, Qt::MouseButtons Buttons) {
    GModifiers = Modifiers;
    GButtons = Buttons;
}

TShiftState KeyboardStateToShiftState() {
    TShiftState S;
    if (GModifiers & Qt::ShiftModifier) S << ssShift;
    if (GModifiers & Qt::ControlModifier) S << ssCtrl;
    if (GModifiers & Qt::AltModifier) S << ssAlt;
    if (GButtons & Qt::LeftButton) S << ssLeft;
    if (GButtons & Qt::RightButton) S << ssRight;
    if (GButtons & Qt::MiddleButton) S << ssMiddle;
    return S;
}

short GetKeyState(int VirtualKey) {
    bool Down = false;
    switch (VirtualKey) {
    case VK_SHIFT:
        Down = GModifiers & Qt::ShiftModifier;
        break;
    case VK_CONTROL:
        Down = GModifiers & Qt::ControlModifier;
        break;
    case VK_MENU:
        Down = GModifiers & Qt::AltModifier;
        break;
    case VK_LBUTTON:
        Down = GButtons & Qt::LeftButton;
        break;
    case VK_RBUTTON:
        Down = GButtons & Qt::RightButton;
        break;
    case VK_MBUTTON:
        Down = GButtons & Qt::MiddleButton;
        break;
    default:
        break;
    }
    return Down ? static_cast<short>(-128) : static_cast<short>(0);
}

TControlBridge::TControlBridge(TControl* AControl, QObject* Parent)
    : QObject(Parent), Control(AControl) {}

void WatchWidget(TControl* Control, QWidget* Widget) {
    auto* Bridge = new TControlBridge(Control, Widget);
    Widget->installEventFilter(Bridge);
    Widget->setMouseTracking(true);
    Widget->setAttribute(Qt::WA_NoMousePropagation);
}

bool TControlBridge::Deliver(TControl* Target, unsigned Msg, WPARAM WParam, LPARAM LParam,
                             WPARAM* FinalWParam) {
    auto& Q = *Target->FQt;
    const unsigned SavedMsg = Q.NativeMsg;
    const bool SavedReached = Q.NativeReached;
    const WPARAM SavedWParam = Q.NativeWParam;
    Q.NativeMsg = Msg;
    Q.NativeReached = false;
    Q.NativeWParam = WParam;
    ++Q.NativeDepth;
    const std::uint64_t Serial = Target->Serial();
    bool Reached = false;
    try {
        Target->Perform(Msg, WParam, LParam);
    } catch (...) {
        if (TControl::Exists(Target, Serial)) --Target->FQt->NativeDepth;
        HandleCallbackException(TControl::Exists(Target, Serial) ? Target : nullptr);
        return false;
    }
    if (!TControl::Exists(Target, Serial)) return false;
    auto& After = *Target->FQt;
    --After.NativeDepth;
    Reached = After.NativeReached;
    if (FinalWParam) *FinalWParam = After.NativeWParam;
    After.NativeMsg = SavedMsg;
    After.NativeReached = SavedReached;
    After.NativeWParam = SavedWParam;
    return Reached;
}

bool TControlBridge::eventFilter(QObject* Watched, QEvent* Event) {
    if (!Control || !Watched->isWidgetType() || GResending) return false;
    TDepthGuard Depth;
    bool Eaten = false;
    try {
        Eaten = Translate(static_cast<QWidget*>(Watched), Event);
    } catch (...) {
        HandleCallbackException(Control);
    }
    return Eaten;
}

bool TControlBridge::Translate(QWidget* Watched, QEvent* Event) {
    TControl* C = Control;
    switch (Event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
        return MouseEvent(Watched, Event);
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        if (KeyEvent(Event)) return true;
        // Tab belongs to a control that asks for it (WM_GETDLGCODE); it
        // does not move the focus on from there.
        if (auto* K = static_cast<QKeyEvent*>(Event);
            Control && (K->key() == Qt::Key_Tab || K->key() == Qt::Key_Backtab))
            if (auto* Win = dynamic_cast<TWinControl*>(Control);
                Win && (Win->Perform(WM_GETDLGCODE) & (DLGC_WANTTAB | DLGC_WANTALLKEYS)) != 0)
                return true;
        // The widget handles the key itself; a key it ignores does not go
        // on to the parent, whose control did not get it either (Qt passes
        // an ignored key up, so it is marked taken).
        if (Control) static_cast<QObject*>(Watched)->event(Event);
        Event->accept();
        return true;
    case QEvent::Enter:
        Deliver(C, CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(C));
        return false;
    case QEvent::Leave:
        Deliver(C, CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(C));
        return false;
    case QEvent::FocusIn: {
        // WParam: the window that lost the focus.
        auto* Win = dynamic_cast<TWinControl*>(C);
        TWinControl* From = GFocusLeaving ? WindowOf(GFocusLeaving) : nullptr;
        GFocusLeaving = nullptr;
        if (Win) Deliver(Win, WM_SETFOCUS, reinterpret_cast<WPARAM>(From), 0);
        return false;
    }
    case QEvent::FocusOut: {
        // WParam: the window getting the focus (Qt has already moved it).
        auto* Win = dynamic_cast<TWinControl*>(C);
        GFocusLeaving = Watched;
        TWinControl* To = WindowOf(QApplication::focusWidget());
        if (Win) Deliver(Win, WM_KILLFOCUS, reinterpret_cast<WPARAM>(To == Win ? nullptr : To), 0);
        return false;
    }
    case QEvent::Show:
    case QEvent::Hide:
        // The control started or stopped showing (with its window, too).
        if (Watched == C->FQt->Widget) Deliver(C, CM_SHOWINGCHANGED, 0, 0);
        return false;
    case QEvent::Resize:
    case QEvent::Move:
        if (auto* Form = dynamic_cast<TCustomForm*>(C); Form && Form->FApplyingBounds) return false;
        if (Watched == C->FQt->Widget) {
            const QRect G = Watched->geometry();
            C->WidgetGeometryChanged(G.x(), G.y(), G.width(), G.height());
        }
        return false;
    case QEvent::Close:
        if (auto* Form = dynamic_cast<TCustomForm*>(C); Form && Watched->isWindow()) {
            Event->ignore();
            Form->WidgetCloseRequested();
            return true;
        }
        return false;
    case QEvent::WindowStateChange:
        if (auto* Form = dynamic_cast<TCustomForm*>(C); Form && Watched->isWindow()) {
            const Qt::WindowStates Old = static_cast<QWindowStateChangeEvent*>(Event)->oldState();
            Form->WidgetStateChanged(Old & Qt::WindowMinimized   ? wsMinimized
                                     : Old & Qt::WindowMaximized ? wsMaximized
                                                                 : wsNormal);
        }
        return false;
    case QEvent::WindowActivate:
        if (auto* Form = dynamic_cast<TCustomForm*>(C); Form && Watched->isWindow())
            Form->Activate();
        return false;
    case QEvent::WindowDeactivate:
        if (auto* Form = dynamic_cast<TCustomForm*>(C); Form && Watched->isWindow())
            Form->Deactivate();
        return false;
    case QEvent::ContextMenu: {
        // WM_CONTEXTMENU with the screen point, (-1, -1) from the keyboard.
        // What the control leaves to its default handling goes on to the
        // widget, and from there to the parent.
        auto* E = static_cast<QContextMenuEvent*>(Event);
        const QPoint G =
            E->reason() == QContextMenuEvent::Keyboard ? QPoint(-1, -1) : E->globalPos();
        if (!Deliver(C, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(C), PointToLParam(G.x(), G.y())))
            return true;
        // The widget's own menu (an edit's), else the parent is asked.
        E->accept();
        static_cast<QObject*>(Watched)->event(Event);
        if (E->isAccepted() || !Control || !Control->Parent()) return true;
        QWidget* Up = Control->Parent()->ClientWidget();
        QContextMenuEvent Parent(E->reason(), Up->mapFromGlobal(E->globalPos()), E->globalPos(),
                                 E->modifiers());
        QApplication::sendEvent(Up, &Parent);
        return true;
    }
    default:
        return false;
    }
}

bool TControlBridge::MouseEvent(QWidget* Watched, QEvent* Event) {
    (void)Watched;
    TControl* Target = Control;
    // The control holding the capture gets the mouse wherever it is.
    if (TControl* Capture = GetCaptureControl();
        Capture && Capture != Target && Capture->WidgetAllocated())
        Target = Capture;

    if (Event->type() == QEvent::Wheel) {
        auto* E = static_cast<QWheelEvent*>(Event);
        SetCurrentModifiers(E->modifiers(), E->buttons());
        const QPoint G = E->globalPosition().toPoint();
        const WPARAM W =
            MakeWParam(static_cast<Word>(MouseKeys(E->buttons(), E->modifiers())),
                       static_cast<Word>(static_cast<std::int16_t>(E->angleDelta().y())));
        return !Deliver(Target, WM_MOUSEWHEEL, W, PointToLParam(G.x(), G.y()));
    }

    auto* E = static_cast<QMouseEvent*>(Event);
    SetCurrentModifiers(E->modifiers(), E->buttons());
    GMousePos = E->globalPosition().toPoint();
    GMousePosKnown = true;
    const QPoint Local = ClientOf(Target)->mapFromGlobal(E->globalPosition().toPoint());
    const LPARAM L = PointToLParam(Local.x(), Local.y());
    const WPARAM Keys = MouseKeys(E->buttons(), E->modifiers());
    unsigned Msg = WM_MOUSEMOVE;
    const bool Double = Event->type() == QEvent::MouseButtonDblClick &&
                        Target->ControlStyle.Contains(csDoubleClicks);
    switch (Event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        switch (E->button()) {
        case Qt::LeftButton:
            Msg = Double ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN;
            break;
        case Qt::RightButton:
            Msg = Double ? WM_RBUTTONDBLCLK : WM_RBUTTONDOWN;
            break;
        case Qt::MiddleButton:
            Msg = Double ? WM_MBUTTONDBLCLK : WM_MBUTTONDOWN;
            break;
        default:
            return false;
        }
        break;
    case QEvent::MouseButtonRelease:
        switch (E->button()) {
        case Qt::LeftButton:
            Msg = WM_LBUTTONUP;
            break;
        case Qt::RightButton:
            Msg = WM_RBUTTONUP;
            break;
        case Qt::MiddleButton:
            Msg = WM_MBUTTONUP;
            break;
        default:
            return false;
        }
        break;
    default:
        break;
    }
    if (Msg == WM_MOUSEMOVE && Target == Control)
        if (auto* Win = dynamic_cast<TWinControl*>(Target)) {
            // Where the pointer is (WM_NCHITTEST), then the cursor to show
            // there (WM_SETCURSOR); a control that sets none gets its own.
            const QPoint G = E->globalPosition().toPoint();
            const LRESULT Hit = Win->Perform(WM_NCHITTEST, 0, PointToLParam(G.x(), G.y()));
            const LRESULT Set =
                Win->Perform(WM_SETCURSOR, reinterpret_cast<WPARAM>(Win),
                             MakeLParam(static_cast<Word>(Hit), static_cast<Word>(WM_MOUSEMOVE)));
            if (!Set && Win->WidgetAllocated()) {
                if (Win->Cursor() == crDefault)
                    Win->Widget()->unsetCursor();
                else
                    Win->Widget()->setCursor(ToQCursor(Win->Cursor()));
            }
        }
    const bool Passed = Deliver(Target, Msg, Keys, L);
    // Input redirected to the capture control is not the watched widget's.
    return Target != Control || !Passed;
}

bool TControlBridge::KeyEvent(QEvent* Event) {
    auto* E = static_cast<QKeyEvent*>(Event);
    auto* Win = dynamic_cast<TWinControl*>(Control);
    if (!Win) return false;
    SetCurrentModifiers(E->modifiers(), QApplication::mouseButtons());
    const Word VK = KeyEventVirtualKey(*E);
    const bool Alt = E->modifiers() & Qt::AltModifier;
    LPARAM KeyData = 1;
    if (Alt) KeyData |= KF_ALTDOWN;
    if (E->isAutoRepeat()) KeyData |= KF_REPEAT;

    QPointer<QObject> Self(this);
    if (Event->type() == QEvent::KeyRelease) {
        KeyData |= KF_UP | KF_REPEAT;
        if (VK == 0) return false;
        return !Deliver(Win, Alt ? WM_SYSKEYUP : WM_KEYUP, VK, KeyData);
    }

    // Tab reaches a control only when it asks for it (WM_GETDLGCODE);
    // otherwise it moves the focus on, as the dialog manager does.
    if (VK == VK_TAB && (Win->Perform(WM_GETDLGCODE) & (DLGC_WANTTAB | DLGC_WANTALLKEYS)) == 0)
        return false;
    if (VK != 0) {
        WPARAM Final = VK;
        const bool Passed = Deliver(Win, Alt ? WM_SYSKEYDOWN : WM_KEYDOWN, VK, KeyData, &Final);
        if (!Passed || !Self || !Control) return true;
    }

    // The characters the key makes, one WM_CHAR per byte of their UTF-8.
    const QByteArray Bytes = E->text().toUtf8();
    if (Bytes.isEmpty() || Alt) return false;
    QByteArray Kept;
    bool Changed = false;
    for (char Byte : Bytes) {
        WPARAM Final = static_cast<unsigned char>(Byte);
        const bool Passed =
            Deliver(Win, WM_CHAR, static_cast<unsigned char>(Byte), KeyData, &Final);
        if (!Self || !Control) return true;
        if (!Passed || Final == 0) {
            Changed = true;
            continue;
        }
        if (Final != static_cast<unsigned char>(Byte)) Changed = true;
        Kept.append(static_cast<char>(Final));
    }
    if (!Changed) return false;
    if (!Kept.isEmpty()) {
        // A handler changed the character: the widget gets the new one.
        QKeyEvent Replacement(QEvent::KeyPress, 0, E->modifiers(), QString::fromUtf8(Kept));
        GResending = true;
        QApplication::sendEvent(Control->Widget(), &Replacement);
        GResending = false;
    }
    return true;
}
