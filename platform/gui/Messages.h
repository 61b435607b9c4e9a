#pragma once
// Window messages: the numbers controls and their users exchange through
// Perform, SendMessage, PostMessage and the window procedure, the record
// every message travels in, and typed views that read a message's
// parameters the way each kind packs them. Qt events are turned into these
// messages at the platform boundary, so code above it only sees messages.
#include "platform/gui/Types.h"

#include <cstdint>

class TWinControl;

using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using Word = std::uint16_t;
// A window is the windowed control itself.
using HWND = TWinControl*;

struct TMessage {
    unsigned Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};

constexpr Word LoWord(std::uintptr_t Value) {
    return static_cast<Word>(Value & 0xFFFF);
}
constexpr Word HiWord(std::uintptr_t Value) {
    return static_cast<Word>((Value >> 16) & 0xFFFF);
}
constexpr LPARAM MakeLParam(Word Lo, Word Hi) {
    return static_cast<LPARAM>(static_cast<std::uint32_t>(Lo) |
                               (static_cast<std::uint32_t>(Hi) << 16));
}
constexpr WPARAM MakeWParam(Word Lo, Word Hi) {
    return static_cast<WPARAM>(static_cast<std::uint32_t>(Lo) |
                               (static_cast<std::uint32_t>(Hi) << 16));
}
// A point packed into one parameter as two signed 16-bit halves.
constexpr LPARAM PointToLParam(int X, int Y) {
    return MakeLParam(static_cast<Word>(static_cast<std::int16_t>(X)),
                      static_cast<Word>(static_cast<std::int16_t>(Y)));
}
constexpr int SignedLo(std::uintptr_t Value) {
    return static_cast<std::int16_t>(LoWord(Value));
}
constexpr int SignedHi(std::uintptr_t Value) {
    return static_cast<std::int16_t>(HiWord(Value));
}

// ---- window messages --------------------------------------------------------
inline constexpr unsigned WM_NULL = 0x0000;
inline constexpr unsigned WM_CREATE = 0x0001;
inline constexpr unsigned WM_DESTROY = 0x0002;
inline constexpr unsigned WM_MOVE = 0x0003;
inline constexpr unsigned WM_SIZE = 0x0005;
inline constexpr unsigned WM_ACTIVATE = 0x0006;
inline constexpr unsigned WM_SETFOCUS = 0x0007;
inline constexpr unsigned WM_KILLFOCUS = 0x0008;
inline constexpr unsigned WM_ENABLE = 0x000A;
inline constexpr unsigned WM_SETREDRAW = 0x000B;
inline constexpr unsigned WM_SETTEXT = 0x000C;
inline constexpr unsigned WM_GETTEXT = 0x000D;
inline constexpr unsigned WM_GETTEXTLENGTH = 0x000E;
inline constexpr unsigned WM_PAINT = 0x000F;
inline constexpr unsigned WM_CLOSE = 0x0010;
inline constexpr unsigned WM_QUIT = 0x0012;
inline constexpr unsigned WM_ERASEBKGND = 0x0014;
inline constexpr unsigned WM_SHOWWINDOW = 0x0018;
inline constexpr unsigned WM_CANCELMODE = 0x001F;
inline constexpr unsigned WM_SETCURSOR = 0x0020;
inline constexpr unsigned WM_MOUSEACTIVATE = 0x0021;
inline constexpr unsigned WM_GETMINMAXINFO = 0x0024;
inline constexpr unsigned WM_WINDOWPOSCHANGED = 0x0047;
inline constexpr unsigned WM_NOTIFY = 0x004E;
inline constexpr unsigned WM_CONTEXTMENU = 0x007B;
inline constexpr unsigned WM_NCHITTEST = 0x0084;
inline constexpr unsigned WM_NCPAINT = 0x0085;
inline constexpr unsigned WM_NCACTIVATE = 0x0086;
inline constexpr unsigned WM_GETDLGCODE = 0x0087;
inline constexpr unsigned WM_NCMOUSEMOVE = 0x00A0;
inline constexpr unsigned WM_NCLBUTTONDOWN = 0x00A1;
inline constexpr unsigned WM_NCRBUTTONDOWN = 0x00A4;
inline constexpr unsigned WM_KEYFIRST = 0x0100;
inline constexpr unsigned WM_KEYDOWN = 0x0100;
inline constexpr unsigned WM_KEYUP = 0x0101;
inline constexpr unsigned WM_CHAR = 0x0102;
inline constexpr unsigned WM_SYSKEYDOWN = 0x0104;
inline constexpr unsigned WM_SYSKEYUP = 0x0105;
inline constexpr unsigned WM_SYSCHAR = 0x0106;
inline constexpr unsigned WM_KEYLAST = 0x0108;
inline constexpr unsigned WM_COMMAND = 0x0111;
inline constexpr unsigned WM_SYSCOMMAND = 0x0112;
inline constexpr unsigned WM_TIMER = 0x0113;
inline constexpr unsigned WM_HSCROLL = 0x0114;
inline constexpr unsigned WM_VSCROLL = 0x0115;
inline constexpr unsigned WM_INITMENUPOPUP = 0x0117;
inline constexpr unsigned WM_DRAWITEM = 0x002B;
inline constexpr unsigned WM_MOUSEFIRST = 0x0200;
inline constexpr unsigned WM_MOUSEMOVE = 0x0200;
inline constexpr unsigned WM_LBUTTONDOWN = 0x0201;
inline constexpr unsigned WM_LBUTTONUP = 0x0202;
inline constexpr unsigned WM_LBUTTONDBLCLK = 0x0203;
inline constexpr unsigned WM_RBUTTONDOWN = 0x0204;
inline constexpr unsigned WM_RBUTTONUP = 0x0205;
inline constexpr unsigned WM_RBUTTONDBLCLK = 0x0206;
inline constexpr unsigned WM_MBUTTONDOWN = 0x0207;
inline constexpr unsigned WM_MBUTTONUP = 0x0208;
inline constexpr unsigned WM_MBUTTONDBLCLK = 0x0209;
inline constexpr unsigned WM_MOUSEWHEEL = 0x020A;
inline constexpr unsigned WM_MOUSELAST = 0x020A;
inline constexpr unsigned WM_CAPTURECHANGED = 0x0215;
inline constexpr unsigned WM_CUT = 0x0300;
inline constexpr unsigned WM_COPY = 0x0301;
inline constexpr unsigned WM_PASTE = 0x0302;
inline constexpr unsigned WM_CLEAR = 0x0303;
inline constexpr unsigned WM_UNDO = 0x0304;
inline constexpr unsigned WM_USER = 0x0400;

// Edit control messages, and the notification an edit sends its parent
// (WM_COMMAND, code in the high word of WParam, the edit in LParam).
inline constexpr unsigned EM_GETSEL = 0x00B0;
inline constexpr unsigned EM_SETSEL = 0x00B1;
inline constexpr unsigned EM_GETRECT = 0x00B2;
inline constexpr unsigned EM_SETRECT = 0x00B3;
inline constexpr unsigned EM_SETRECTNP = 0x00B4;
inline constexpr unsigned EM_SCROLLCARET = 0x00B7;
inline constexpr unsigned EN_CHANGE = 0x0300;
inline constexpr unsigned WM_APP = 0x8000;

// ---- the framework's own control messages -----------------------------------
inline constexpr unsigned CM_BASE = 0xB000;
inline constexpr unsigned CM_ACTIVATE = CM_BASE + 0;
inline constexpr unsigned CM_DEACTIVATE = CM_BASE + 1;
inline constexpr unsigned CM_GOTFOCUS = CM_BASE + 2;
inline constexpr unsigned CM_LOSTFOCUS = CM_BASE + 3;
inline constexpr unsigned CM_CANCELMODE = CM_BASE + 4;
inline constexpr unsigned CM_DIALOGKEY = CM_BASE + 5;
inline constexpr unsigned CM_DIALOGCHAR = CM_BASE + 6;
inline constexpr unsigned CM_FOCUSCHANGED = CM_BASE + 7;
inline constexpr unsigned CM_PARENTFONTCHANGED = CM_BASE + 8;
inline constexpr unsigned CM_PARENTCOLORCHANGED = CM_BASE + 9;
inline constexpr unsigned CM_HITTEST = CM_BASE + 10;
inline constexpr unsigned CM_VISIBLECHANGED = CM_BASE + 11;
inline constexpr unsigned CM_ENABLEDCHANGED = CM_BASE + 12;
inline constexpr unsigned CM_COLORCHANGED = CM_BASE + 13;
inline constexpr unsigned CM_FONTCHANGED = CM_BASE + 14;
inline constexpr unsigned CM_CURSORCHANGED = CM_BASE + 15;
inline constexpr unsigned CM_CTL3DCHANGED = CM_BASE + 16;
inline constexpr unsigned CM_PARENTCTL3DCHANGED = CM_BASE + 17;
inline constexpr unsigned CM_TEXTCHANGED = CM_BASE + 18;
inline constexpr unsigned CM_MOUSEENTER = CM_BASE + 19;
inline constexpr unsigned CM_MOUSELEAVE = CM_BASE + 20;
inline constexpr unsigned CM_MENUCHANGED = CM_BASE + 21;
inline constexpr unsigned CM_BUTTONPRESSED = CM_BASE + 24;
inline constexpr unsigned CM_SHOWINGCHANGED = CM_BASE + 25;
inline constexpr unsigned CM_ENTER = CM_BASE + 26;
inline constexpr unsigned CM_EXIT = CM_BASE + 27;
inline constexpr unsigned CM_DESIGNHITTEST = CM_BASE + 28;
inline constexpr unsigned CM_WANTSPECIALKEY = CM_BASE + 30;
inline constexpr unsigned CM_RELEASE = CM_BASE + 33;
inline constexpr unsigned CM_SHOWHINTCHANGED = CM_BASE + 34;
inline constexpr unsigned CM_TABSTOPCHANGED = CM_BASE + 40;
inline constexpr unsigned CM_CHILDKEY = CM_BASE + 46;
// Messages at CM_BASE + 64 and above are left to users of the platform
// (the window-hook utility uses its own numbers there).

// Notifications reflected back to the control that caused them.
inline constexpr unsigned CN_BASE = 0xBC00;
inline constexpr unsigned CN_COMMAND = CN_BASE + WM_COMMAND;
inline constexpr unsigned CN_NOTIFY = CN_BASE + WM_NOTIFY;
inline constexpr unsigned CN_KEYDOWN = CN_BASE + WM_KEYDOWN;
inline constexpr unsigned CN_CHAR = CN_BASE + WM_CHAR;
inline constexpr unsigned CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
inline constexpr unsigned CN_HSCROLL = CN_BASE + WM_HSCROLL;
inline constexpr unsigned CN_VSCROLL = CN_BASE + WM_VSCROLL;

// ---- parameter values ---------------------------------------------------------
// Mouse key state in the WParam of mouse messages.
inline constexpr unsigned MK_LBUTTON = 0x0001;
inline constexpr unsigned MK_RBUTTON = 0x0002;
inline constexpr unsigned MK_SHIFT = 0x0004;
inline constexpr unsigned MK_CONTROL = 0x0008;
inline constexpr unsigned MK_MBUTTON = 0x0010;

// Scroll codes of WM_HSCROLL / WM_VSCROLL, and the scroll bar selectors.
inline constexpr int SB_LINEUP = 0;
inline constexpr int SB_LINELEFT = 0;
inline constexpr int SB_LINEDOWN = 1;
inline constexpr int SB_LINERIGHT = 1;
inline constexpr int SB_PAGEUP = 2;
inline constexpr int SB_PAGELEFT = 2;
inline constexpr int SB_PAGEDOWN = 3;
inline constexpr int SB_PAGERIGHT = 3;
inline constexpr int SB_THUMBPOSITION = 4;
inline constexpr int SB_THUMBTRACK = 5;
inline constexpr int SB_TOP = 6;
inline constexpr int SB_LEFT = 6;
inline constexpr int SB_BOTTOM = 7;
inline constexpr int SB_RIGHT = 7;
inline constexpr int SB_ENDSCROLL = 8;
inline constexpr int SB_HORZ = 0;
inline constexpr int SB_VERT = 1;
inline constexpr int SB_CTL = 2;
inline constexpr int SB_BOTH = 3;

// WParam of WM_SIZE.
inline constexpr int SIZE_RESTORED = 0;
inline constexpr int SIZE_MINIMIZED = 1;
inline constexpr int SIZE_MAXIMIZED = 2;

// System commands (WParam of WM_SYSCOMMAND and the system menu's items).
inline constexpr unsigned SC_SIZE = 0xF000;
inline constexpr unsigned SC_MOVE = 0xF010;
inline constexpr unsigned SC_MINIMIZE = 0xF020;
inline constexpr unsigned SC_MAXIMIZE = 0xF030;
inline constexpr unsigned SC_CLOSE = 0xF060;
inline constexpr unsigned SC_RESTORE = 0xF120;

// Hit-test results of WM_NCHITTEST.
inline constexpr int HTERROR = -2;
inline constexpr int HTTRANSPARENT = -1;
inline constexpr int HTNOWHERE = 0;
inline constexpr int HTCLIENT = 1;
inline constexpr int HTCAPTION = 2;
inline constexpr int HTSYSMENU = 3;
inline constexpr int HTSIZE = 4;
inline constexpr int HTMENU = 5;
inline constexpr int HTHSCROLL = 6;
inline constexpr int HTVSCROLL = 7;
inline constexpr int HTMINBUTTON = 8;
inline constexpr int HTMAXBUTTON = 9;
inline constexpr int HTLEFT = 10;
inline constexpr int HTRIGHT = 11;
inline constexpr int HTTOP = 12;
inline constexpr int HTTOPLEFT = 13;
inline constexpr int HTTOPRIGHT = 14;
inline constexpr int HTBOTTOM = 15;
inline constexpr int HTBOTTOMLEFT = 16;
inline constexpr int HTBOTTOMRIGHT = 17;
inline constexpr int HTBORDER = 18;

// What a control asks for in answer to WM_GETDLGCODE.
inline constexpr int DLGC_WANTARROWS = 0x0001;
inline constexpr int DLGC_WANTTAB = 0x0002;
inline constexpr int DLGC_WANTALLKEYS = 0x0004;
inline constexpr int DLGC_WANTMESSAGE = 0x0004;
inline constexpr int DLGC_HASSETSEL = 0x0008;
inline constexpr int DLGC_DEFPUSHBUTTON = 0x0010;
inline constexpr int DLGC_UNDEFPUSHBUTTON = 0x0020;
inline constexpr int DLGC_RADIOBUTTON = 0x0040;
inline constexpr int DLGC_WANTCHARS = 0x0080;
inline constexpr int DLGC_STATIC = 0x0100;
inline constexpr int DLGC_BUTTON = 0x2000;

// Show commands of a window placement.
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_NORMAL = 1;
inline constexpr int SW_SHOWMINIMIZED = 2;
inline constexpr int SW_SHOWMAXIMIZED = 3;
inline constexpr int SW_MAXIMIZE = 3;
inline constexpr int SW_SHOWNOACTIVATE = 4;
inline constexpr int SW_SHOW = 5;
inline constexpr int SW_MINIMIZE = 6;
inline constexpr int SW_SHOWMINNOACTIVE = 7;
inline constexpr int SW_SHOWNA = 8;
inline constexpr int SW_RESTORE = 9;
inline constexpr int SW_SHOWDEFAULT = 10;

// Flags of a window placement.
inline constexpr unsigned WPF_SETMINPOSITION = 0x0001;
inline constexpr unsigned WPF_RESTORETOMAXIMIZED = 0x0002;

// Virtual key codes (letters and digits are their upper-case ASCII codes).
inline constexpr Word VK_LBUTTON = 0x01;
inline constexpr Word VK_RBUTTON = 0x02;
inline constexpr Word VK_CANCEL = 0x03;
inline constexpr Word VK_MBUTTON = 0x04;
inline constexpr Word VK_BACK = 0x08;
inline constexpr Word VK_TAB = 0x09;
inline constexpr Word VK_CLEAR = 0x0C;
inline constexpr Word VK_RETURN = 0x0D;
inline constexpr Word VK_SHIFT = 0x10;
inline constexpr Word VK_CONTROL = 0x11;
inline constexpr Word VK_MENU = 0x12;
inline constexpr Word VK_PAUSE = 0x13;
inline constexpr Word VK_CAPITAL = 0x14;
inline constexpr Word VK_ESCAPE = 0x1B;
inline constexpr Word VK_SPACE = 0x20;
inline constexpr Word VK_PRIOR = 0x21;
inline constexpr Word VK_NEXT = 0x22;
inline constexpr Word VK_END = 0x23;
inline constexpr Word VK_HOME = 0x24;
inline constexpr Word VK_LEFT = 0x25;
inline constexpr Word VK_UP = 0x26;
inline constexpr Word VK_RIGHT = 0x27;
inline constexpr Word VK_DOWN = 0x28;
inline constexpr Word VK_SELECT = 0x29;
inline constexpr Word VK_PRINT = 0x2A;
inline constexpr Word VK_EXECUTE = 0x2B;
inline constexpr Word VK_SNAPSHOT = 0x2C;
inline constexpr Word VK_INSERT = 0x2D;
inline constexpr Word VK_DELETE = 0x2E;
inline constexpr Word VK_HELP = 0x2F;
inline constexpr Word VK_0 = 0x30;
inline constexpr Word VK_9 = 0x39;
inline constexpr Word VK_A = 0x41;
inline constexpr Word VK_C = 0x43;
inline constexpr Word VK_D = 0x44;
inline constexpr Word VK_U = 0x55;
inline constexpr Word VK_V = 0x56;
inline constexpr Word VK_X = 0x58;
inline constexpr Word VK_Z = 0x5A;
inline constexpr Word VK_LWIN = 0x5B;
inline constexpr Word VK_RWIN = 0x5C;
inline constexpr Word VK_APPS = 0x5D;
inline constexpr Word VK_NUMPAD0 = 0x60;
inline constexpr Word VK_NUMPAD9 = 0x69;
inline constexpr Word VK_MULTIPLY = 0x6A;
inline constexpr Word VK_ADD = 0x6B;
inline constexpr Word VK_SEPARATOR = 0x6C;
inline constexpr Word VK_SUBTRACT = 0x6D;
inline constexpr Word VK_DECIMAL = 0x6E;
inline constexpr Word VK_DIVIDE = 0x6F;
inline constexpr Word VK_F1 = 0x70;
inline constexpr Word VK_F2 = 0x71;
inline constexpr Word VK_F3 = 0x72;
inline constexpr Word VK_F4 = 0x73;
inline constexpr Word VK_F5 = 0x74;
inline constexpr Word VK_F6 = 0x75;
inline constexpr Word VK_F7 = 0x76;
inline constexpr Word VK_F8 = 0x77;
inline constexpr Word VK_F9 = 0x78;
inline constexpr Word VK_F10 = 0x79;
inline constexpr Word VK_F11 = 0x7A;
inline constexpr Word VK_F12 = 0x7B;
inline constexpr Word VK_NUMLOCK = 0x90;
inline constexpr Word VK_SCROLL = 0x91;
// The keys of the punctuation marks (US layout): ;: =+ ,< -_ .> /? `~ [{ \| ]} '"
inline constexpr Word VK_OEM_1 = 0xBA;
inline constexpr Word VK_OEM_PLUS = 0xBB;
inline constexpr Word VK_OEM_COMMA = 0xBC;
inline constexpr Word VK_OEM_MINUS = 0xBD;
inline constexpr Word VK_OEM_PERIOD = 0xBE;
inline constexpr Word VK_OEM_2 = 0xBF;
inline constexpr Word VK_OEM_3 = 0xC0;
inline constexpr Word VK_OEM_4 = 0xDB;
inline constexpr Word VK_OEM_5 = 0xDC;
inline constexpr Word VK_OEM_6 = 0xDD;
inline constexpr Word VK_OEM_7 = 0xDE;

// Bits of the key data (LParam) of key messages.
inline constexpr LPARAM KF_ALTDOWN = 0x20000000;
inline constexpr LPARAM KF_REPEAT = 0x40000000;
inline constexpr LPARAM KF_UP = static_cast<LPARAM>(0x80000000u);

// ---- the record and the typed views -------------------------------------------
// A view reads and writes one message; it refers to the message, so a
// handler's Result goes back to whoever sent it.
class TMessageView {
public:
    explicit TMessageView(TMessage& AMessage) : Message(AMessage) {}
    unsigned Msg() const { return Message.Msg; }
    LRESULT& Result() { return Message.Result; }

    TMessage& Message;
};

// WM_MOUSEMOVE, WM_xBUTTONDOWN/UP/DBLCLK: keys in WParam, client point in LParam.
class TWMMouse : public TMessageView {
public:
    using TMessageView::TMessageView;
    unsigned Keys() const { return static_cast<unsigned>(Message.WParam); }
    int XPos() const { return SignedLo(static_cast<std::uintptr_t>(Message.LParam)); }
    int YPos() const { return SignedHi(static_cast<std::uintptr_t>(Message.LParam)); }
    TPoint Pos() const { return TPoint{XPos(), YPos()}; }
};

// WM_MOUSEWHEEL: keys and signed delta in WParam, screen point in LParam.
class TWMMouseWheel : public TMessageView {
public:
    using TMessageView::TMessageView;
    unsigned Keys() const { return LoWord(Message.WParam); }
    int WheelDelta() const { return SignedHi(Message.WParam); }
    int XPos() const { return SignedLo(static_cast<std::uintptr_t>(Message.LParam)); }
    int YPos() const { return SignedHi(static_cast<std::uintptr_t>(Message.LParam)); }
};

// WM_KEYDOWN/UP, WM_CHAR: the key code or character in WParam, key data in LParam.
class TWMKey : public TMessageView {
public:
    using TMessageView::TMessageView;
    Word CharCode() const { return static_cast<Word>(Message.WParam); }
    void SetCharCode(Word Value) { Message.WParam = Value; }
    LPARAM KeyData() const { return Message.LParam; }
};

// WM_SIZE: the kind of sizing in WParam, the new client width and height in LParam.
class TWMSize : public TMessageView {
public:
    using TMessageView::TMessageView;
    int SizeType() const { return static_cast<int>(Message.WParam); }
    int Width() const { return LoWord(static_cast<std::uintptr_t>(Message.LParam)); }
    int Height() const { return HiWord(static_cast<std::uintptr_t>(Message.LParam)); }
};

// WM_MOVE: the new client origin in LParam.
class TWMMove : public TMessageView {
public:
    using TMessageView::TMessageView;
    int XPos() const { return SignedLo(static_cast<std::uintptr_t>(Message.LParam)); }
    int YPos() const { return SignedHi(static_cast<std::uintptr_t>(Message.LParam)); }
};

// WM_HSCROLL / WM_VSCROLL: scroll code and thumb position in WParam; the
// scroll bar control in LParam (none for a window's own bars).
class TWMScroll : public TMessageView {
public:
    using TMessageView::TMessageView;
    int ScrollCode() const { return static_cast<std::int16_t>(LoWord(Message.WParam)); }
    int Pos() const { return static_cast<std::int16_t>(HiWord(Message.WParam)); }
    HWND ScrollBar() const { return reinterpret_cast<HWND>(Message.LParam); }
};

// WM_TIMER: the timer's id in WParam.
class TWMTimer : public TMessageView {
public:
    using TMessageView::TMessageView;
    int TimerID() const { return static_cast<int>(Message.WParam); }
};

// WM_SETFOCUS / WM_KILLFOCUS: the window losing or getting the focus in WParam.
class TWMFocus : public TMessageView {
public:
    using TMessageView::TMessageView;
    HWND FocusedWnd() const { return reinterpret_cast<HWND>(Message.WParam); }
};
using TWMSetFocus = TWMFocus;
using TWMKillFocus = TWMFocus;

// WM_SYSCOMMAND: the command in WParam.
class TWMSysCommand : public TMessageView {
public:
    using TMessageView::TMessageView;
    unsigned CmdType() const { return static_cast<unsigned>(Message.WParam) & 0xFFF0u; }
};

// WM_NCHITTEST: the screen point in LParam; the answer is the Result.
class TWMNCHitTest : public TMessageView {
public:
    using TMessageView::TMessageView;
    int XPos() const { return SignedLo(static_cast<std::uintptr_t>(Message.LParam)); }
    int YPos() const { return SignedHi(static_cast<std::uintptr_t>(Message.LParam)); }
};

// The sizes a window may take, asked for with WM_GETMINMAXINFO (LParam
// points at one).
struct TMinMaxInfo {
    TPoint ptReserved;
    TPoint ptMaxSize;
    TPoint ptMaxPosition;
    TPoint ptMinTrackSize;
    TPoint ptMaxTrackSize;
};

class TWMGetMinMaxInfo : public TMessageView {
public:
    using TMessageView::TMessageView;
    TMinMaxInfo* MinMaxInfo() const { return reinterpret_cast<TMinMaxInfo*>(Message.LParam); }
};

// A window's placement: how it is shown, its minimised and maximised
// positions and its normal (restored) rectangle.
struct TWindowPlacement {
    unsigned flags = 0;
    unsigned showCmd = SW_SHOWNORMAL;
    TPoint ptMinPosition{-1, -1};
    TPoint ptMaxPosition{-1, -1};
    TRect rcNormalPosition;
};
