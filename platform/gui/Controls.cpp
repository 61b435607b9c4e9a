#include "platform/gui/Controls.h"

#include "platform/gui/Bridge.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Menus.h"
#include "platform/gui/PendingInput.h"
#include "platform/gui/QtApp.h"
#include "platform/gui/TimerService.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"

#include <QApplication>
#include <QPointer>
#include <QVariant>
#include <QWidget>

#include <algorithm>
#include <deque>
#include <map>
#include <mutex>
#include <unordered_map>

namespace {

const char* const ControlProperty = "beaconmillControl";

std::unordered_map<const TControl*, std::uint64_t>& LiveControls() {
    static std::unordered_map<const TControl*, std::uint64_t> Live;
    return Live;
}

std::uint64_t NextSerial() {
    static std::uint64_t Serial = 0;
    return ++Serial;
}

TControl* GCaptureControl = nullptr;

// The per-window timers: (control, id) -> service timer.
struct TWindowTimer {
    ITimerService* Service;
    int Id;
};

std::map<std::pair<const TControl*, unsigned>, TWindowTimer>& WindowTimers() {
    static std::map<std::pair<const TControl*, unsigned>, TWindowTimer> Timers;
    return Timers;
}

void KillWindowTimers(const TControl* Control) {
    auto& Timers = WindowTimers();
    for (auto It = Timers.begin(); It != Timers.end();) {
        if (It->first.first == Control) {
            It->second.Service->StopTimer(It->second.Id);
            It = Timers.erase(It);
        } else {
            ++It;
        }
    }
}

} // namespace

// ---- TSizeConstraints ---------------------------------------------------------

void TSizeConstraints::Assign(TPersistent* Source) {
    if (auto* S = dynamic_cast<TSizeConstraints*>(Source)) {
        FMinWidth = S->FMinWidth;
        FMinHeight = S->FMinHeight;
        FMaxWidth = S->FMaxWidth;
        FMaxHeight = S->FMaxHeight;
        Change();
        return;
    }
    TPersistent::Assign(Source);
}

void TSizeConstraints::Change() {
    if (OnChange) OnChange(this);
}

void TSizeConstraints::SetMinWidth(int Value) {
    if (Value < 0) Value = 0;
    if (Value == FMinWidth) return;
    FMinWidth = Value;
    if (FMaxWidth > 0 && FMaxWidth < Value) FMaxWidth = Value;
    Change();
}

void TSizeConstraints::SetMinHeight(int Value) {
    if (Value < 0) Value = 0;
    if (Value == FMinHeight) return;
    FMinHeight = Value;
    if (FMaxHeight > 0 && FMaxHeight < Value) FMaxHeight = Value;
    Change();
}

void TSizeConstraints::SetMaxWidth(int Value) {
    if (Value < 0) Value = 0;
    if (Value == FMaxWidth) return;
    FMaxWidth = Value;
    if (Value > 0 && FMinWidth > Value) FMinWidth = Value;
    Change();
}

void TSizeConstraints::SetMaxHeight(int Value) {
    if (Value < 0) Value = 0;
    if (Value == FMaxHeight) return;
    FMaxHeight = Value;
    if (Value > 0 && FMinHeight > Value) FMinHeight = Value;
    Change();
}

// ---- TControl ------------------------------------------------------------------

TControl::TControl(TComponent* AOwner)
    : TComponent(AOwner), FQt(std::make_unique<TQtState>()), FFont(std::make_unique<TFont>()),
      FConstraints(std::make_unique<TSizeConstraints>()), FSerial(NextSerial()) {
    ControlStyle = {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    WindowProc = [this](TMessage& Message) { WndProc(Message); };
    FFont->OnChange = [this](TObject* Sender) { FontChangedEvent(Sender); };
    FConstraints->OnChange = [this](TObject*) { SetBounds(FLeft, FTop, FWidth, FHeight); };
    LiveControls()[this] = FSerial;
}

TControl::~TControl() {
    Destroying();
    if (GCaptureControl == this) GCaptureControl = nullptr;
    KillWindowTimers(this);
    if (FParent) FParent->RemoveControl(this);
    DestroyWidget();
    LiveControls().erase(this);
}

bool TControl::Exists(const TControl* Control, std::uint64_t Serial) {
    auto It = LiveControls().find(Control);
    return It != LiveControls().end() && It->second == Serial;
}

TComponent* TControl::GetParentComponent() const {
    return FParent;
}

void TControl::SetParent(TWinControl* AParent) {
    if (AParent == FParent) return;
    if (AParent == this) throw EInvalidOperation("A control cannot have itself as its parent");
    if (FParent) FParent->RemoveControl(this);
    if (AParent) AParent->InsertControl(this);
}

void TControl::ReparentWidget() {
    QWidget* W = FQt->Widget;
    if (!W) return;
    QWidget* Target = FParent ? FParent->ClientWidget() : nullptr;
    if (Target && W->parentWidget() != Target) {
        W->setParent(Target);
        UpdateWidgetBounds();
    } else if (!Target && !dynamic_cast<TCustomForm*>(this) && W->parentWidget()) {
        W->hide();
        W->setParent(nullptr);
    }
    UpdateWidgetVisible();
}

QWidget* TControl::CreateWidget() {
    return new QWidget();
}

void TControl::WidgetCreated() {}

bool TControl::WidgetAlive() const {
    return FQt && !FQt->Widget.isNull();
}

TControl* TControl::FromWidget(QWidget* Widget) {
    if (!Widget)
        return nullptr;
    const QVariant V = Widget->property(ControlProperty);
    if (!V.isValid())
        return nullptr;
    auto* C = reinterpret_cast<TControl*>(V.value<quintptr>());
    return LiveControls().count(C) ? C : nullptr;
}

QWidget* TControl::Widget() {
    if (FQt->Widget) return FQt->Widget;
    EnsureQtApplication();
    QWidget* W = CreateWidget();
    FQt->Widget = W;
    FWidgetMade = true;
    W->setProperty(ControlProperty,
                   QVariant::fromValue<quintptr>(reinterpret_cast<quintptr>(this)));
    W->setMouseTracking(true);
    // Mouse input belongs to the control under the mouse, not its parent.
    W->setAttribute(Qt::WA_NoMousePropagation);
    FQt->Bridge = new TControlBridge(this, W);
    W->installEventFilter(FQt->Bridge);
    if (FParent) {
        // The parent's widget first, so this one is made inside it.
        QWidget* Target = FParent->ClientWidget();
        W->setParent(Target);
    }
    UpdateWidgetBounds();
    UpdateWidgetFont();
    UpdateWidgetColor();
    W->setEnabled(FEnabled);
    W->setToolTip(ToQString(FHint));
    if (FCursor != crDefault) W->setCursor(ToQCursor(FCursor));
    WidgetCreated();
    // Children made before this widget move into it now.
    if (auto* Win = dynamic_cast<TWinControl*>(this)) {
        for (TControl* Child : Win->FControls) {
            Child->Widget();
            Child->ReparentWidget();
        }
        Win->UpdateTabChain();
    }
    UpdateWidgetVisible();
    return W;
}

void TControl::DestroyWidget() {
    if (!FQt) return;
    QPointer<QWidget> W = FQt->Widget;
    FQt->Widget = nullptr;
    FWidgetMade = false;
    if (FQt->Bridge) {
        FQt->Bridge->Control = nullptr;
        FQt->Bridge = nullptr;
    }
    if (!W) return;
    W->setProperty(ControlProperty, QVariant());
    W->hide();
    if (TControlBridge::DispatchDepth > 0) {
        // Qt may still be delivering an event to this widget or one inside it.
        W->setParent(nullptr);
        W->deleteLater();
    } else {
        delete W.data();
    }
}

void TControl::UpdateWidgetBounds() {
    if (QWidget* W = FQt->Widget)
        W->setGeometry(FLeft, FTop, std::max(FWidth, 0), std::max(FHeight, 0));
}

void TControl::UpdateWidgetVisible() {
    QWidget* W = FQt->Widget;
    if (!W) return;
    // A control shows only inside a parent; a parentless one stays hidden
    // rather than becoming a window of its own.
    if (W->parentWidget())
        W->setVisible(FVisible);
    else
        W->hide();
}

void TControl::UpdateWidgetFont() {
    QWidget* W = FQt->Widget;
    if (!W) return;
    W->setFont(ToQFont(*FFont));
    QPalette P = W->palette();
    const QColor Text = ToQColor(FFont->Color());
    P.setColor(QPalette::WindowText, Text);
    P.setColor(QPalette::Text, Text);
    P.setColor(QPalette::ButtonText, Text);
    W->setPalette(P);
}

void TControl::UpdateWidgetColor() {
    QWidget* W = FQt->Widget;
    if (!W) return;
    const TColor Back = EffectiveBackground();
    if (Back == clNone) {
        W->setAutoFillBackground(false);
        return;
    }
    QPalette P = W->palette();
    P.setColor(QPalette::Window, ToQColor(Back));
    W->setPalette(P);
    W->setAutoFillBackground(true);
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    if (AWidth < 0) AWidth = 0;
    if (AHeight < 0) AHeight = 0;
    ConstrainedResize(AWidth, AHeight);
    const bool Moved = ALeft != FLeft || ATop != FTop;
    const bool Sized = AWidth != FWidth || AHeight != FHeight;
    if (!Moved && !Sized) return;
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    UpdateWidgetBounds();
    if (!FParent || !FParent->FAligning) UpdateAnchorRules();
    if (Sized) {
        const TRect R = ClientRect();
        Perform(WM_SIZE, SIZE_RESTORED,
                MakeLParam(static_cast<Word>(R.Width()), static_cast<Word>(R.Height())));
    }
    if (Moved) Perform(WM_MOVE, 0, PointToLParam(FLeft, FTop));
    if (FParent && !FParent->FAligning && (FAlign != alNone || Sized || Moved)) FParent->Realign();
}

void TControl::WidgetGeometryChanged(int ALeft, int ATop, int AWidth, int AHeight) {
    if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
    SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TControl::ConstrainedResize(int& AWidth, int& AHeight) {
    const TSizeConstraints& C = *FConstraints;
    if (C.MinWidth() > 0 && AWidth < C.MinWidth()) AWidth = C.MinWidth();
    if (C.MaxWidth() > 0 && AWidth > C.MaxWidth()) AWidth = C.MaxWidth();
    if (C.MinHeight() > 0 && AHeight < C.MinHeight()) AHeight = C.MinHeight();
    if (C.MaxHeight() > 0 && AHeight > C.MaxHeight()) AHeight = C.MaxHeight();
}

TRect TControl::ClientRect() const {
    return Rect(0, 0, FWidth, FHeight);
}

void TControl::SetClientWidth(int Value) {
    SetWidth(FWidth - ClientWidth() + Value);
}

void TControl::SetClientHeight(int Value) {
    SetHeight(FHeight - ClientHeight() + Value);
}

TPoint TControl::ClientOrigin() const {
    auto* Self = const_cast<TControl*>(this);
    if (Self->FQt->Widget) {
        QWidget* Client = Self->FQt->Widget;
        if (auto* Win = dynamic_cast<TWinControl*>(Self)) Client = Win->ClientWidget();
        const QPoint P = Client->mapToGlobal(QPoint(0, 0));
        return Point(P.x(), P.y());
    }
    if (!FParent) return Point(FLeft, FTop);
    const TPoint P = FParent->ClientOrigin();
    return Point(P.X + FLeft, P.Y + FTop);
}

TPoint TControl::ClientToScreen(const TPoint& P) const {
    const TPoint O = ClientOrigin();
    return Point(P.X + O.X, P.Y + O.Y);
}

TPoint TControl::ScreenToClient(const TPoint& P) const {
    const TPoint O = ClientOrigin();
    return Point(P.X - O.X, P.Y - O.Y);
}

void TControl::SetAlign(TAlign Value) {
    if (Value == FAlign) return;
    FAlign = Value;
    if (FParent) FParent->Realign();
}

void TControl::SetAnchors(TAnchors Value) {
    if (Value == FAnchors) return;
    FAnchors = Value;
    UpdateAnchorRules();
}

void TControl::UpdateAnchorRules() {
    if (!FParent) {
        FAnchorsKnown = false;
        return;
    }
    const TRect R = FParent->ClientRect();
    FAnchorBounds = BoundsRect();
    FAnchorParentSize = Point(R.Width(), R.Height());
    FAnchorsKnown = true;
}

void TControl::AnchorTo(int ParentWidth, int ParentHeight) {
    if (!FAnchorsKnown) {
        UpdateAnchorRules();
        return;
    }
    const int DW = ParentWidth - FAnchorParentSize.X;
    const int DH = ParentHeight - FAnchorParentSize.Y;
    int L = FAnchorBounds.Left;
    int T = FAnchorBounds.Top;
    int W = FAnchorBounds.Width();
    int H = FAnchorBounds.Height();
    if (FAnchors.Contains(akLeft) && FAnchors.Contains(akRight))
        W += DW;
    else if (FAnchors.Contains(akRight))
        L += DW;
    else if (!FAnchors.Contains(akLeft))
        L += DW / 2;
    if (FAnchors.Contains(akTop) && FAnchors.Contains(akBottom))
        H += DH;
    else if (FAnchors.Contains(akBottom))
        T += DH;
    else if (!FAnchors.Contains(akTop))
        T += DH / 2;
    SetBounds(L, T, W, H);
}

void TControl::SetEnabled(bool Value) {
    if (Value == FEnabled) return;
    FEnabled = Value;
    if (QWidget* W = FQt->Widget) W->setEnabled(Value);
    Perform(CM_ENABLEDCHANGED);
}

void TControl::SetVisible(bool Value) {
    if (Value == FVisible) return;
    VisibleChanging();
    FVisible = Value;
    UpdateWidgetVisible();
    Perform(CM_VISIBLECHANGED, Value ? 1 : 0);
    if (FParent && FAlign != alNone) FParent->Realign();
}

bool TControl::Showing() const {
    return FVisible && FParent && FParent->Showing();
}

void TControl::FontChangedEvent(TObject*) {
    if (!FUpdatingParentFont) FParentFont = false;
    Perform(CM_FONTCHANGED);
}

void TControl::FontChanged() {
    UpdateWidgetFont();
}

void TControl::ColorChanged() {
    UpdateWidgetColor();
}

void TControl::SetParentFont(bool Value) {
    if (Value == FParentFont) return;
    FParentFont = Value;
    if (Value && FParent) Perform(CM_PARENTFONTCHANGED);
}

void TControl::CMParentFontChanged(TMessage&) {
    if (!FParentFont || !FParent) return;
    FUpdatingParentFont = true;
    try {
        FFont->Assign(FParent->Font());
    } catch (...) {
        FUpdatingParentFont = false;
        throw;
    }
    FUpdatingParentFont = false;
}

void TControl::SetColor(TColor Value) {
    if (Value == FColor) return;
    FColor = Value;
    FParentColor = false;
    Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool Value) {
    if (Value == FParentColor) return;
    FParentColor = Value;
    if (Value && FParent) Perform(CM_PARENTCOLORCHANGED);
}

void TControl::CMParentColorChanged(TMessage&) {
    if (!FParentColor || !FParent || FColor == FParent->Color()) return;
    FColor = FParent->Color();
    Perform(CM_COLORCHANGED);
}

void TControl::SetBiDiMode(TBiDiMode Value) {
    if (Value == FBiDiMode) return;
    FBiDiMode = Value;
    Invalidate();
}

void TControl::SetCursor(TCursor Value) {
    if (Value == FCursor) return;
    FCursor = Value;
    if (QWidget* W = FQt->Widget) {
        if (Value == crDefault)
            W->unsetCursor();
        else
            W->setCursor(ToQCursor(Value));
    }
    Perform(CM_CURSORCHANGED);
}

void TControl::SetHint(const AnsiString& Value) {
    FHint = Value;
    if (QWidget* W = FQt->Widget) W->setToolTip(ToQString(Value));
}

void TControl::SetShowHint(bool Value) {
    FShowHint = Value;
}

void TControl::SetPopupMenu(TPopupMenu* Value) {
    if (Value == FPopupMenu) return;
    if (FPopupMenu) RemoveFreeNotification(FPopupMenu);
    FPopupMenu = Value;
    if (Value) FreeNotification(Value);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FPopupMenu) FPopupMenu = nullptr;
}

AnsiString TControl::GetText() const {
    return FText;
}

void TControl::SetTextValue(const AnsiString& Value) {
    FText = Value;
}

void TControl::SetText(const AnsiString& Value) {
    if (GetText() == Value) return;
    SetTextValue(Value);
    TextChanged();
}

void TControl::TextChanged() {
    Perform(CM_TEXTCHANGED);
}

void TControl::Invalidate() {
    InvalidateWidgetArea(nullptr);
}

void TControl::InvalidateWidgetArea(const TRect* R) {
    if (QWidget* W = FQt->Widget) {
        if (R)
            W->update(R->Left, R->Top, R->Width(), R->Height());
        else
            W->update();
    }
}

void TControl::Update() {
    if (QWidget* W = FQt->Widget) W->repaint();
}

void TControl::Repaint() {
    Invalidate();
    Update();
}

void TControl::BringToFront() {
    if (FParent) {
        auto& List = FParent->FControls;
        List.erase(std::remove(List.begin(), List.end(), this), List.end());
        List.push_back(this);
    }
    if (QWidget* W = FQt->Widget; W && !W->isWindow()) W->raise();
}

void TControl::SendToBack() {
    if (FParent) {
        auto& List = FParent->FControls;
        List.erase(std::remove(List.begin(), List.end(), this), List.end());
        List.insert(List.begin(), this);
    }
    if (QWidget* W = FQt->Widget) W->lower();
}

LRESULT TControl::Perform(unsigned Msg, WPARAM WParam, LPARAM LParam) {
    TMessage Message{Msg, WParam, LParam, 0};
    WindowProc(Message);
    return Message.Result;
}

void TControl::WndProc(TMessage& Message) {
    Dispatch(Message);
}

void TControl::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_MOUSEMOVE: {
        TWMMouse M(Message);
        WMMouseMove(M);
        return;
    }
    case WM_LBUTTONDOWN: {
        TWMMouse M(Message);
        WMLButtonDown(M);
        return;
    }
    case WM_LBUTTONUP: {
        TWMMouse M(Message);
        WMLButtonUp(M);
        return;
    }
    case WM_LBUTTONDBLCLK: {
        TWMMouse M(Message);
        WMLButtonDblClk(M);
        return;
    }
    case WM_RBUTTONDOWN: {
        TWMMouse M(Message);
        WMRButtonDown(M);
        return;
    }
    case WM_RBUTTONUP: {
        TWMMouse M(Message);
        WMRButtonUp(M);
        return;
    }
    case WM_MBUTTONDOWN: {
        TWMMouse M(Message);
        WMMButtonDown(M);
        return;
    }
    case WM_MBUTTONUP: {
        TWMMouse M(Message);
        WMMButtonUp(M);
        return;
    }
    case WM_SIZE:
        DefaultHandler(Message);
        Resize();
        return;
    case CM_FONTCHANGED:
        FontChanged();
        return;
    case CM_COLORCHANGED:
        ColorChanged();
        return;
    case CM_PARENTFONTCHANGED:
        CMParentFontChanged(Message);
        return;
    case CM_PARENTCOLORCHANGED:
        CMParentColorChanged(Message);
        return;
    case WM_CANCELMODE:
    case CM_CANCELMODE:
        if (GCaptureControl == this) SetMouseCapture(false);
        DefaultHandler(Message);
        return;
    case WM_CONTEXTMENU:
        WMContextMenu(Message);
        return;
    default:
        DefaultHandler(Message);
    }
}

bool TControl::FromNativeInput(unsigned Msg) const {
    return FQt->NativeDepth > 0 && FQt->NativeMsg == Msg;
}

void TControl::DefaultHandler(TMessage& Message) {
    TQtState& Q = *FQt;
    if (Q.NativeDepth > 0 && Message.Msg == Q.NativeMsg) {
        Q.NativeReached = true;
        Q.NativeWParam = Message.WParam;
    }
    switch (Message.Msg) {
    case WM_GETTEXTLENGTH:
        Message.Result = static_cast<LRESULT>(GetText().size());
        break;
    case WM_NCHITTEST: {
        // A point over the control is in its client area.
        const TPoint P = ScreenToClient(Point(SignedLo(static_cast<std::uintptr_t>(Message.LParam)),
                                              SignedHi(static_cast<std::uintptr_t>(Message.LParam))));
        Message.Result = P.X >= 0 && P.Y >= 0 && P.X < FWidth && P.Y < FHeight ? HTCLIENT : HTNOWHERE;
        break;
    }
    default:
        break;
    }
}

namespace {

TShiftState MouseShift(unsigned Keys) {
    TShiftState S;
    if (Keys & MK_SHIFT) S << ssShift;
    if (Keys & MK_CONTROL) S << ssCtrl;
    if (Keys & MK_LBUTTON) S << ssLeft;
    if (Keys & MK_RBUTTON) S << ssRight;
    if (Keys & MK_MBUTTON) S << ssMiddle;
    if (KeyboardStateToShiftState().Contains(ssAlt)) S << ssAlt;
    return S;
}

} // namespace

void TControl::SendCancelMode(TControl* Sender) {
    if (TCustomForm* Form = GetParentForm(this)) {
        if (Form != Sender && Form->ActiveControl() && Form->ActiveControl() != Sender)
            Form->ActiveControl()->Perform(CM_CANCELMODE, 0, reinterpret_cast<LPARAM>(Sender));
    }
}

void TControl::DoMouseDown(TWMMouse& Message, TMouseButton Button, TShiftState Shift) {
    if (ControlStyle.Contains(csNoStdEvents)) return;
    MouseDown(Button, MouseShift(Message.Keys()) + Shift, Message.XPos(), Message.YPos());
}

void TControl::DoMouseUp(TWMMouse& Message, TMouseButton Button) {
    if (ControlStyle.Contains(csNoStdEvents)) return;
    MouseUp(Button, MouseShift(Message.Keys()), Message.XPos(), Message.YPos());
}

void TControl::WMMouseMove(TWMMouse& Message) {
    DefaultHandler(Message.Message);
    if (!ControlStyle.Contains(csNoStdEvents))
        MouseMove(MouseShift(Message.Keys()), Message.XPos(), Message.YPos());
}

void TControl::WMLButtonDown(TWMMouse& Message) {
    // An automatic drag takes the press: the drag has the mouse from here.
    if (FDragMode == dmAutomatic) {
        BeginDrag(false);
        return;
    }
    SendCancelMode(this);
    DefaultHandler(Message.Message);
    if (ControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
    if (ControlStyle.Contains(csClickEvents)) ControlState << csClicked;
    DoMouseDown(Message, mbLeft, {});
}

void TControl::WMLButtonUp(TWMMouse& Message) {
    DefaultHandler(Message.Message);
    if (ControlStyle.Contains(csCaptureMouse)) SetMouseCapture(false);
    if (ControlState.Contains(csClicked)) {
        ControlState >> csClicked;
        const TRect R = ClientRect();
        if (Message.XPos() >= R.Left && Message.XPos() < R.Right && Message.YPos() >= R.Top &&
            Message.YPos() < R.Bottom)
            Click();
    }
    DoMouseUp(Message, mbLeft);
}

void TControl::WMLButtonDblClk(TWMMouse& Message) {
    SendCancelMode(this);
    DefaultHandler(Message.Message);
    if (ControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
    if (ControlStyle.Contains(csClickEvents)) DblClick();
    DoMouseDown(Message, mbLeft, {ssDouble});
}

void TControl::WMRButtonDown(TWMMouse& Message) {
    DefaultHandler(Message.Message);
    DoMouseDown(Message, mbRight, {});
}

void TControl::WMRButtonUp(TWMMouse& Message) {
    DefaultHandler(Message.Message);
    DoMouseUp(Message, mbRight);
}

void TControl::WMMButtonDown(TWMMouse& Message) {
    DefaultHandler(Message.Message);
    DoMouseDown(Message, mbMiddle, {});
}

void TControl::WMMButtonUp(TWMMouse& Message) {
    DefaultHandler(Message.Message);
    DoMouseUp(Message, mbMiddle);
}

void TControl::Click() {
    if (OnClick) OnClick(this);
}

void TControl::DblClick() {
    if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y) {
    if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TControl::Resize() {
    if (OnResize) OnResize(this);
}

bool TControl::MouseCapture() const {
    return GCaptureControl == this;
}

void TControl::SetMouseCapture(bool Value) {
    if (Value)
        SetCaptureControl(this);
    else if (GCaptureControl == this)
        SetCaptureControl(nullptr);
}

TControl* GetCaptureControl() {
    return GCaptureControl;
}

void SetCaptureControl(TControl* Control) {
    if (Control == GCaptureControl) return;
    TControl* Old = GCaptureControl;
    GCaptureControl = Control;
    if (Old) Old->Perform(WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(Control));
}

// ---- TWinControl ------------------------------------------------------------------

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

TWinControl::~TWinControl() {
    Destroying();
    // A parent frees its children, as the owner would; each one leaves the
    // owner's list as it goes.
    while (!FControls.empty()) {
        TControl* Child = FControls.back();
        RemoveControl(Child);
        delete Child;
    }
    // Leave the parent while this is still a windowed control: by the time
    // the base destructor runs, the parent could no longer tell it is one and
    // would keep it in its tab order.
    if (Parent()) Parent()->RemoveControl(this);
}

TControl* TWinControl::Controls(int Index) const {
    if (Index < 0 || Index >= ControlCount())
        throw EListError(Format("List index out of bounds (%d)", Index));
    return FControls[static_cast<std::size_t>(Index)];
}

void TWinControl::InsertControl(TControl* AControl) {
    if (!AControl || AControl->FParent == this) return;
    if (AControl->FParent) AControl->FParent->RemoveControl(AControl);
    FControls.push_back(AControl);
    AControl->FParent = this;
    if (auto* Win = dynamic_cast<TWinControl*>(AControl)) FTabList.push_back(Win);
    AControl->UpdateAnchorRules();
    if (WidgetAllocated()) {
        AControl->Widget();
        AControl->ReparentWidget();
        UpdateTabChain();
    } else {
        AControl->ReparentWidget();
    }
    AControl->Perform(CM_PARENTFONTCHANGED);
    AControl->Perform(CM_PARENTCOLORCHANGED);
    if (AControl->FAlign != alNone) Realign();
}

void TWinControl::RemoveControl(TControl* AControl) {
    auto It = std::find(FControls.begin(), FControls.end(), AControl);
    if (It == FControls.end()) return;
    FControls.erase(It);
    if (auto* Win = dynamic_cast<TWinControl*>(AControl))
        FTabList.erase(std::remove(FTabList.begin(), FTabList.end(), Win), FTabList.end());
    if (TCustomForm* Form = GetParentForm(this)) {
        if (Form->FActiveControl == AControl ||
            (dynamic_cast<TWinControl*>(AControl) && Form->FActiveControl &&
             static_cast<TWinControl*>(AControl)->ContainsControl(Form->FActiveControl)))
            Form->FActiveControl = nullptr;
        if (Form->FFocusedControl == AControl ||
            (dynamic_cast<TWinControl*>(AControl) && Form->FFocusedControl &&
             static_cast<TWinControl*>(AControl)->ContainsControl(Form->FFocusedControl)))
            Form->FFocusedControl = nullptr;
    }
    AControl->FParent = nullptr;
    AControl->FAnchorsKnown = false;
    if (!ComponentState().Contains(csDestroying)) AControl->ReparentWidget();
    if (AControl->FAlign != alNone && !ComponentState().Contains(csDestroying)) Realign();
}

bool TWinControl::ContainsControl(const TControl* Control) const {
    for (const TControl* C = Control; C; C = C->FParent)
        if (C == this) return true;
    return false;
}

TControl* TWinControl::ControlAtPos(const TPoint& P, bool AllowDisabled) const {
    for (auto It = FControls.rbegin(); It != FControls.rend(); ++It) {
        TControl* C = *It;
        if (!C->Visible() || (!AllowDisabled && !C->Enabled())) continue;
        const TRect R = C->BoundsRect();
        if (P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom) return C;
    }
    return nullptr;
}

void TWinControl::Broadcast(TMessage& Message) {
    const std::vector<TControl*> List = FControls;
    for (TControl* C : List) {
        C->WindowProc(Message);
        if (Message.Result != 0) return;
    }
}

void TWinControl::NotifyControls(unsigned Msg) {
    TMessage Message{Msg, 0, 0, 0};
    Broadcast(Message);
}

HWND TWinControl::Handle() {
    HandleNeeded();
    return this;
}

QWidget* TWinControl::ClientWidget() {
    return Widget();
}

TTabOrder TWinControl::TabOrder() const {
    if (!FParent) return -1;
    const auto& List = FParent->FTabList;
    auto It = std::find(List.begin(), List.end(), this);
    return It == List.end() ? -1 : static_cast<int>(It - List.begin());
}

void TWinControl::SetTabOrder(TTabOrder Value) {
    if (!FParent) return;
    auto& List = FParent->FTabList;
    auto It = std::find(List.begin(), List.end(), this);
    if (It == List.end()) return;
    List.erase(It);
    if (Value < 0) Value = 0;
    if (Value > static_cast<int>(List.size())) Value = static_cast<int>(List.size());
    List.insert(List.begin() + Value, this);
    FParent->UpdateTabChain();
}

void TWinControl::UpdateTabChain() {
    QWidget* Previous = nullptr;
    for (TWinControl* C : FTabList) {
        if (!C->WidgetAllocated()) continue;
        QWidget* W = C->Widget();
        if (Previous && Previous->window() == W->window()) QWidget::setTabOrder(Previous, W);
        Previous = W;
    }
}

void TWinControl::SetTabStop(bool Value) {
    if (Value == FTabStop) return;
    FTabStop = Value;
    UpdateWidgetFocusPolicy();
    Perform(CM_TABSTOPCHANGED);
}

void TWinControl::UpdateWidgetFocusPolicy() {
    if (!WidgetAllocated()) return;
    QWidget* W = Widget();
    if (W->focusPolicy() == Qt::NoFocus) return;
    W->setFocusPolicy(FTabStop ? Qt::StrongFocus : Qt::ClickFocus);
}

bool TWinControl::CanFocus() const {
    TCustomForm* Form = GetParentForm(const_cast<TWinControl*>(this));
    if (!Form) return false;
    for (const TControl* C = this; C && C != Form; C = C->Parent())
        if (!C->Visible() || !C->Enabled()) return false;
    return true;
}

void TWinControl::SetFocus() {
    TCustomForm* Form = ValidParentForm(this);
    Form->SetActiveControl(this);
}

bool TWinControl::Focused() const {
    if (!WidgetAllocated()) return false;
    QWidget* W = const_cast<TWinControl*>(this)->Widget();
    QWidget* Focus = QApplication::focusWidget();
    return Focus && (Focus == W || (W->focusProxy() && Focus == W->focusProxy()) ||
                     (Focus->focusProxy() == W) || (W->isAncestorOf(Focus) && !FromWidget(Focus)));
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& List) const {
    for (TWinControl* C : FTabList) {
        List.push_back(C);
        C->GetTabOrderList(List);
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* CurControl, bool GoForward,
                                          bool CheckTabStop, bool CheckParent) const {
    std::vector<TWinControl*> List;
    GetTabOrderList(List);
    if (List.empty()) return nullptr;
    const int N = static_cast<int>(List.size());
    auto It = std::find(List.begin(), List.end(), CurControl);
    int Start = It == List.end() ? (GoForward ? N - 1 : 0) : static_cast<int>(It - List.begin());
    int I = Start;
    for (int Step = 0; Step < N; ++Step) {
        I = GoForward ? (I + 1) % N : (I - 1 + N) % N;
        TWinControl* C = List[static_cast<std::size_t>(I)];
        if (C == CurControl) continue;
        if ((!CheckTabStop || C->TabStop()) && (!CheckParent || C->Parent() == this) &&
            C->CanFocus())
            return C;
    }
    return nullptr;
}

void TWinControl::EnableAlign() {
    if (FAlignLevel > 0 && --FAlignLevel == 0) Realign();
}

void TWinControl::Realign() {
    if (FAlignLevel > 0 || FAligning || ComponentState().Contains(csDestroying)) return;
    TRect R = ClientRect();
    AdjustClientRect(R);
    FAligning = true;
    try {
        AlignControls(nullptr, R);
    } catch (...) {
        FAligning = false;
        throw;
    }
    FAligning = false;
}

void TWinControl::AdjustClientRect(TRect&) const {}

void TWinControl::AlignControls(TControl*, TRect& R) {
    const TRect Client = ClientRect();
    for (TControl* C : FControls)
        if (C->FAlign == alNone) C->AnchorTo(Client.Width(), Client.Height());

    auto Collect = [this](TAlign A) {
        std::vector<TControl*> List;
        for (TControl* C : FControls)
            if (C->FAlign == A && C->Visible()) List.push_back(C);
        return List;
    };
    auto Top = Collect(alTop);
    std::stable_sort(Top.begin(), Top.end(),
                     [](TControl* A, TControl* B) { return A->Top() < B->Top(); });
    for (TControl* C : Top) {
        C->SetBounds(R.Left, R.Top, R.Width(), C->Height());
        R.Top += C->Height();
    }
    auto Bottom = Collect(alBottom);
    std::stable_sort(Bottom.begin(), Bottom.end(), [](TControl* A, TControl* B) {
        return A->Top() + A->Height() > B->Top() + B->Height();
    });
    for (TControl* C : Bottom) {
        C->SetBounds(R.Left, R.Bottom - C->Height(), R.Width(), C->Height());
        R.Bottom -= C->Height();
    }
    auto LeftList = Collect(alLeft);
    std::stable_sort(LeftList.begin(), LeftList.end(),
                     [](TControl* A, TControl* B) { return A->Left() < B->Left(); });
    for (TControl* C : LeftList) {
        C->SetBounds(R.Left, R.Top, C->Width(), R.Height());
        R.Left += C->Width();
    }
    auto RightList = Collect(alRight);
    std::stable_sort(RightList.begin(), RightList.end(), [](TControl* A, TControl* B) {
        return A->Left() + A->Width() > B->Left() + B->Width();
    });
    for (TControl* C : RightList) {
        C->SetBounds(R.Right - C->Width(), R.Top, C->Width(), R.Height());
        R.Right -= C->Width();
    }
    for (TControl* C : Collect(alClient))
        C->SetBounds(R.Left, R.Top, R.Width(), R.Height());
}

void TWinControl::Resize() {
    Realign();
    TControl::Resize();
}

void TWinControl::FontChanged() {
    TControl::FontChanged();
    NotifyControls(CM_PARENTFONTCHANGED);
}

void TWinControl::ColorChanged() {
    TControl::ColorChanged();
    NotifyControls(CM_PARENTCOLORCHANGED);
}

void TWinControl::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        TWMKey M(Message);
        if (DoKeyDown(M)) return;
        const Word Key = M.CharCode();
        if ((Key == VK_RETURN || Key == VK_ESCAPE) && !WantsKey(Key))
            if (TCustomForm* Form = GetParentForm(this);
                Form && Form != this && Form->Perform(CM_DIALOGKEY, Key) != 0)
                return;
        // Alt and a letter or digit that no one took is an accelerator: the
        // form offers it to its controls as a dialog character.
        if (Message.Msg == WM_SYSKEYDOWN &&
            ((Key >= 'A' && Key <= 'Z') || (Key >= '0' && Key <= '9')))
            if (TCustomForm* Form = GetParentForm(this);
                Form && Form->Perform(CM_DIALOGCHAR, Key) != 0)
                return;
        DefaultHandler(Message);
        return;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP: {
        TWMKey M(Message);
        if (!DoKeyUp(M)) DefaultHandler(Message);
        return;
    }
    case WM_CHAR: {
        TWMKey M(Message);
        if (!DoKeyPress(M)) DefaultHandler(Message);
        return;
    }
    case WM_SETFOCUS:
        DefaultHandler(Message);
        if (TCustomForm* Form = GetParentForm(this))
            if (Form != this) Form->SetFocusedControl(this);
        return;
    case CM_ENTER:
        DoEnter();
        return;
    case CM_EXIT:
        DoExit();
        return;
    default:
        TControl::Dispatch(Message);
    }
}

bool TWinControl::DoKeyDown(TWMKey& Message) {
    TCustomForm* Form = GetParentForm(this);
    if (Form && Form != this && Form->KeyPreview() && Form->DoKeyDown(Message)) return true;
    if (!ControlStyle.Contains(csNoStdEvents)) {
        Word Key = Message.CharCode();
        KeyDown(Key, KeyboardStateToShiftState());
        Message.SetCharCode(Key);
        if (Key == 0) return true;
    }
    return false;
}

bool TWinControl::DoKeyUp(TWMKey& Message) {
    TCustomForm* Form = GetParentForm(this);
    if (Form && Form != this && Form->KeyPreview() && Form->DoKeyUp(Message)) return true;
    if (!ControlStyle.Contains(csNoStdEvents)) {
        Word Key = Message.CharCode();
        KeyUp(Key, KeyboardStateToShiftState());
        Message.SetCharCode(Key);
        if (Key == 0) return true;
    }
    return false;
}

bool TWinControl::DoKeyPress(TWMKey& Message) {
    TCustomForm* Form = GetParentForm(this);
    if (Form && Form != this && Form->KeyPreview() && Form->DoKeyPress(Message)) return true;
    if (!ControlStyle.Contains(csNoStdEvents)) {
        char Ch = static_cast<char>(Message.CharCode());
        KeyPress(Ch);
        Message.SetCharCode(static_cast<unsigned char>(Ch));
        if (Ch == 0) return true;
    }
    return false;
}

void TWinControl::KeyDown(Word& Key, TShiftState Shift) {
    if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(Word& Key, TShiftState Shift) {
    if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(char& Key) {
    if (OnKeyPress) OnKeyPress(this, Key);
}

bool TWinControl::WantsKey(Word) const {
    return false;
}

void TWinControl::DoEnter() {
    if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
    if (OnExit) OnExit(this);
}

// ---- free functions ---------------------------------------------------------------

TCustomForm* GetParentForm(TControl* Control) {
    if (!Control) return nullptr;
    TControl* Top = Control;
    while (Top->Parent())
        Top = Top->Parent();
    return dynamic_cast<TCustomForm*>(Top);
}

TCustomForm* ValidParentForm(TControl* Control) {
    TCustomForm* Form = GetParentForm(Control);
    if (!Form)
        throw EInvalidOperation(
            Format("Control '%s' has no parent window", Control ? Control->Name() : AnsiString()));
    return Form;
}

LRESULT SendMessage(HWND Wnd, unsigned Msg, WPARAM WParam, LPARAM LParam) {
    return Wnd ? Wnd->Perform(Msg, WParam, LParam) : 0;
}

namespace {

// The posted messages not yet delivered, in posting order, so that one can
// be taken out before the event loop gets to it.
struct TPostedMessage {
    std::uint64_t Id;
    HWND Wnd;
    std::uint64_t Serial;
    TMessage Message;
};

struct TPostedQueue {
    std::mutex Lock;
    std::deque<TPostedMessage> Waiting;
    std::uint64_t NextId = 0;
};

TPostedQueue& PostedQueue() {
    static TPostedQueue Queue;
    return Queue;
}

} // namespace

bool PostMessage(HWND Wnd, unsigned Msg, WPARAM WParam, LPARAM LParam) {
    if (!Wnd) return false;
    EnsureQtApplication();
    const std::uint64_t Serial = Wnd->Serial();
    TPostedQueue& Queue = PostedQueue();
    std::uint64_t Id;
    {
        std::lock_guard Guard(Queue.Lock);
        Id = Queue.NextId++;
        Queue.Waiting.push_back({Id, Wnd, Serial, TMessage{Msg, WParam, LParam, 0}});
    }
    QMetaObject::invokeMethod(
        qApp,
        [Wnd, Serial, Msg, WParam, LParam, Id] {
            {
                TPostedQueue& Queue = PostedQueue();
                std::lock_guard Guard(Queue.Lock);
                const auto It = std::find_if(Queue.Waiting.begin(), Queue.Waiting.end(),
                                             [Id](const TPostedMessage& P) { return P.Id == Id; });
                if (It == Queue.Waiting.end()) return; // taken out
                Queue.Waiting.erase(It);
            }
            if (!TControl::Exists(Wnd, Serial)) return;
            SafeCall(Wnd, [&] { Wnd->Perform(Msg, WParam, LParam); });
        },
        Qt::QueuedConnection);
    return true;
}

bool RemovePostedMessage(HWND Wnd, unsigned Msg, TMsg* Removed) {
    TPostedQueue& Queue = PostedQueue();
    std::lock_guard Guard(Queue.Lock);
    const auto It =
        std::find_if(Queue.Waiting.begin(), Queue.Waiting.end(), [&](const TPostedMessage& P) {
            // A message for a window gone since is dropped at delivery anyway.
            return P.Message.Msg == Msg && (!Wnd || P.Wnd == Wnd) &&
                   TControl::Exists(P.Wnd, P.Serial);
        });
    if (It == Queue.Waiting.end()) return false;
    if (Removed) {
        *Removed = TMsg{};
        Removed->hwnd = It->Wnd;
        Removed->message = It->Message.Msg;
        Removed->wParam = It->Message.WParam;
        Removed->lParam = It->Message.LParam;
    }
    Queue.Waiting.erase(It);
    return true;
}

unsigned SetTimer(HWND Wnd, unsigned IDEvent, unsigned Elapse) {
    if (!Wnd) return 0;
    KillTimer(Wnd, IDEvent);
    const std::uint64_t Serial = Wnd->Serial();
    ITimerService& Service = TimerService();
    const int Id = Service.StartTimer(Elapse, [Wnd, Serial, IDEvent] {
        if (!TControl::Exists(Wnd, Serial)) return;
        SafeCall(Wnd, [&] { Wnd->Perform(WM_TIMER, IDEvent, 0); });
    });
    WindowTimers()[{Wnd, IDEvent}] = TWindowTimer{&Service, Id};
    return IDEvent == 0 ? 1 : IDEvent;
}

bool KillTimer(HWND Wnd, unsigned IDEvent) {
    auto& Timers = WindowTimers();
    auto It = Timers.find({Wnd, IDEvent});
    if (It == Timers.end()) return false;
    It->second.Service->StopTimer(It->second.Id);
    Timers.erase(It);
    return true;
}
