#include "platform/gui/ExtCtrls.h"

#include "platform/gui/Forms.h"
#include "platform/gui/QtApp.h"
#include "platform/gui/TimerService.h"
#include "platform/rtl/Exceptions.h"

#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QPainter>
#include <QRadioButton>

#include <algorithm>
#include <functional>
#include <vector>

// ---- TCustomPanel ------------------------------------------------------------------------

// A frame that draws the panel's caption.
class TPanelWidget : public QFrame {
public:
    explicit TPanelWidget(TCustomPanel* APanel) : Panel(APanel) {}
    TCustomPanel* Panel;

protected:
    void paintEvent(QPaintEvent* Event) override {
        QFrame::paintEvent(Event);
        if (!TControl::Exists(Panel, Serial) || Panel->Caption().empty()) return;
        QPainter P(this);
        P.setPen(palette().color(QPalette::WindowText));
        const int Inset = frameWidth();
        const QRect R = rect().adjusted(Inset, Inset, -Inset, -Inset);
        const Qt::Alignment H = Panel->Alignment() == taLeftJustify    ? Qt::AlignLeft
                                : Panel->Alignment() == taRightJustify ? Qt::AlignRight
                                                                       : Qt::AlignHCenter;
        P.drawText(R, static_cast<int>(H | Qt::AlignVCenter), ToQString(Panel->Caption()));
    }

public:
    std::uint64_t Serial = 0;
};

TCustomPanel::TCustomPanel(TComponent* AOwner) : TWinControl(AOwner) {
    FWidth = 185;
    FHeight = 41;
    ControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents,
                    csSetCaption,      csOpaque,       csDoubleClicks};
    SetParentColor(false);
    SetColor(clBtnFace);
}

QWidget* TCustomPanel::CreateWidget() {
    auto* W = new TPanelWidget(this);
    W->Serial = Serial();
    return W;
}

void TCustomPanel::UpdateFrame() {
    if (!WidgetAllocated()) return;
    auto* F = static_cast<QFrame*>(Widget());
    const TBevelCut Cut = FBevelOuter != bvNone ? FBevelOuter : FBevelInner;
    F->setFrameShape(Cut == bvNone || Cut == bvSpace ? QFrame::NoFrame : QFrame::Panel);
    F->setFrameShadow(Cut == bvLowered ? QFrame::Sunken : QFrame::Raised);
    F->setLineWidth(FBevelWidth);
    F->update();
}

void TCustomPanel::SetTextValue(const AnsiString& Value) {
    FText = Value;
    if (WidgetAllocated()) Widget()->update();
}

void TCustomPanel::SetBevelOuter(TBevelCut Value) {
    FBevelOuter = Value;
    UpdateFrame();
    Realign();
}

void TCustomPanel::SetBevelInner(TBevelCut Value) {
    FBevelInner = Value;
    UpdateFrame();
    Realign();
}

void TCustomPanel::SetBevelWidth(int Value) {
    FBevelWidth = std::max(Value, 1);
    UpdateFrame();
    Realign();
}

void TCustomPanel::SetAlignment(TAlignment Value) {
    FAlignment = Value;
    if (WidgetAllocated()) Widget()->update();
}

void TCustomPanel::AdjustClientRect(TRect& R) const {
    int Inset = 0;
    if (FBevelOuter != bvNone) Inset += FBevelWidth;
    if (FBevelInner != bvNone) Inset += FBevelWidth;
    R.Left += Inset;
    R.Top += Inset;
    R.Right -= Inset;
    R.Bottom -= Inset;
}

// ---- TImage -----------------------------------------------------------------------------------

TImage::TImage(TComponent* AOwner)
    : TGraphicControl(AOwner), FPicture(std::make_unique<TPicture>()) {
    FWidth = 105;
    FHeight = 105;
    FPicture->OnChange = [this](TObject*) { PictureChanged(); };
}

TImage::~TImage() {
    FPicture->OnChange = nullptr;
}

void TImage::PictureChanged() {
    if (FAutoSize && FPicture->Width() > 0 && FPicture->Height() > 0)
        SetBounds(FLeft, FTop, FPicture->Width(), FPicture->Height());
    if (TGraphic* G = FPicture->Graphic()) G->SetTransparent(FTransparent);
    Invalidate();
}

TRect TImage::DestRect() const {
    const int PW = FPicture->Width();
    const int PH = FPicture->Height();
    const int CW = ClientWidth();
    const int CH = ClientHeight();
    int W = PW;
    int H = PH;
    if (FStretch || (FProportional && (PW > CW || PH > CH))) {
        if (FProportional && PW > 0 && PH > 0) {
            // The larger of the two ratios decides, so the picture fits.
            if (static_cast<long long>(CW) * PH < static_cast<long long>(CH) * PW) {
                W = CW;
                H = static_cast<int>(static_cast<long long>(PH) * CW / PW);
            } else {
                H = CH;
                W = static_cast<int>(static_cast<long long>(PW) * CH / PH);
            }
        } else {
            W = CW;
            H = CH;
        }
    }
    int X = 0;
    int Y = 0;
    if (FCenter) {
        X = (CW - W) / 2;
        Y = (CH - H) / 2;
    }
    return Rect(X, Y, X + W, Y + H);
}

void TImage::Paint() {
    TGraphic* G = FPicture->Graphic();
    if (!G || G->Empty()) return;
    Canvas()->StretchDraw(DestRect(), G);
}

void TImage::SetStretch(bool Value) {
    FStretch = Value;
    Invalidate();
}

void TImage::SetCenter(bool Value) {
    FCenter = Value;
    Invalidate();
}

void TImage::SetProportional(bool Value) {
    FProportional = Value;
    Invalidate();
}

void TImage::SetTransparent(bool Value) {
    FTransparent = Value;
    PictureChanged();
}

void TImage::SetAutoSize(bool Value) {
    FAutoSize = Value;
    PictureChanged();
}

// ---- TCustomRadioGroup
// -----------------------------------------------------------------------------

struct TCustomRadioGroup::TQt {
    std::vector<QRadioButton*> Buttons;
    bool Setting = false;
    // An arrow key is being handled by one of the buttons: a handler that
    // rebuilds the items must not delete that button under its own event.
    bool Stepping = false;
};

namespace {

// A button of a radio group. The arrow keys step to the group's next or
// previous item, round from the last to the first, and choose it, as the
// operator expects of a radio group; Qt's own buttons would only move the
// focus, and only to a button that lies in the arrow's direction.
class TGroupRadioButton : public QRadioButton {
public:
    TGroupRadioButton(const QString& Text, QWidget* Parent, std::function<void(int)> Step)
        : QRadioButton(Text, Parent), FStep(std::move(Step)) {}

protected:
    void keyPressEvent(QKeyEvent* E) override {
        const int Key = E->key();
        if (E->modifiers() & (Qt::ControlModifier | Qt::AltModifier) ||
            (Key != Qt::Key_Up && Key != Qt::Key_Down && Key != Qt::Key_Left &&
             Key != Qt::Key_Right)) {
            QRadioButton::keyPressEvent(E);
            return;
        }
        E->accept();
        FStep(Key == Qt::Key_Up || Key == Qt::Key_Left ? -1 : 1);
    }

private:
    std::function<void(int)> FStep;
};

} // namespace

TCustomRadioGroup::TCustomRadioGroup(TComponent* AOwner)
    : TWinControl(AOwner), FItems(std::make_unique<TStringList>()), FQt(std::make_unique<TQt>()) {
    FWidth = 185;
    FHeight = 105;
    ControlStyle = {csSetCaption, csDoubleClicks};
    SetTabStop(true);
    FItems->OnChange = [this](TObject*) { ItemsChanged(); };
}

TCustomRadioGroup::~TCustomRadioGroup() {
    FItems->OnChange = nullptr;
}

QWidget* TCustomRadioGroup::CreateWidget() {
    auto* G = new QGroupBox();
    G->setTitle(ToQString(FText));
    G->setFocusPolicy(Qt::NoFocus);
    return G;
}

void TCustomRadioGroup::WidgetCreated() {
    ItemsChanged();
}

void TCustomRadioGroup::SetTextValue(const AnsiString& Value) {
    FText = Value;
    if (WidgetAllocated()) static_cast<QGroupBox*>(Widget())->setTitle(ToQString(Value));
}

void TCustomRadioGroup::ItemsChanged() {
    if (FItemIndex >= FItems->Count()) FItemIndex = FItems->Count() - 1;
    if (!WidgetAllocated()) return;
    QWidget* Box = Widget();
    for (QRadioButton* B : FQt->Buttons)
        if (FQt->Stepping) {
            B->hide();
            B->deleteLater();
        } else {
            delete B;
        }
    FQt->Buttons.clear();
    for (int I = 0; I < FItems->Count(); ++I) {
        auto* B = new TGroupRadioButton(ToQString(FItems->Strings(I)), Box, [this, I](int Delta) {
            const int Count = static_cast<int>(FQt->Buttons.size());
            const int To = ((I + Delta) % Count + Count) % Count;
            FQt->Buttons[static_cast<std::size_t>(To)]->setFocus(
                Delta < 0 ? Qt::BacktabFocusReason : Qt::TabFocusReason);
            FQt->Stepping = true;
            SafeCall(this, [this, To] { ButtonClicked(To); });
            FQt->Stepping = false;
        });
        // The group decides which button is checked.
        B->setAutoExclusive(false);
        B->setFocusPolicy(TabStop() ? Qt::StrongFocus : Qt::ClickFocus);
        B->setFont(Box->font());
        B->setPalette(Box->palette());
        QObject::connect(B, &QRadioButton::clicked, B, [this, I](bool) {
            if (FQt->Setting) return;
            SafeCall(this, [this, I] { ButtonClicked(I); });
        });
        B->show();
        FQt->Buttons.push_back(B);
    }
    ArrangeButtons();
    UpdateChecks();
}

void TCustomRadioGroup::ArrangeButtons() {
    if (FQt->Buttons.empty()) return;
    // The framework's arrangement: columns of equal width, the rows sharing
    // the height below the caption.
    const QFontMetrics M(ToQFont(*Font()));
    const int Count = static_cast<int>(FQt->Buttons.size());
    const int PerCol = (Count + FColumns - 1) / FColumns;
    const int ButtonWidth = (FWidth - 10) / FColumns;
    const int Space = FHeight - M.height() - 5;
    const int ButtonHeight = std::max(Space / PerCol, 1);
    const int TopMargin = M.height() + 1 + (Space % PerCol) / 2;
    for (int I = 0; I < Count; ++I)
        FQt->Buttons[static_cast<std::size_t>(I)]->setGeometry(
            (I / PerCol) * ButtonWidth + 8, (I % PerCol) * ButtonHeight + TopMargin,
            std::max(ButtonWidth, 1), ButtonHeight);
}

void TCustomRadioGroup::UpdateChecks() {
    FQt->Setting = true;
    for (std::size_t I = 0; I < FQt->Buttons.size(); ++I)
        FQt->Buttons[I]->setChecked(static_cast<int>(I) == FItemIndex);
    FQt->Setting = false;
}

void TCustomRadioGroup::ButtonClicked(int Index) {
    if (Index == FItemIndex) {
        UpdateChecks();
        return;
    }
    SetItemIndex(Index);
}

void TCustomRadioGroup::SetItemIndex(int Value) {
    if (Value < -1) Value = -1;
    if (Value >= FItems->Count()) Value = FItems->Count() - 1;
    if (Value == FItemIndex) return;
    FItemIndex = Value;
    UpdateChecks();
    if (Value >= 0) Click();
}

void TCustomRadioGroup::SetColumns(int Value) {
    if (Value < 1 || Value > 16) throw EInvalidOperation("Value must be between 1 and 16");
    FColumns = Value;
    ArrangeButtons();
}

void TCustomRadioGroup::Resize() {
    ArrangeButtons();
    TWinControl::Resize();
}

void TCustomRadioGroup::FontChanged() {
    TWinControl::FontChanged();
    if (WidgetAllocated())
        for (QRadioButton* B : FQt->Buttons) {
            B->setFont(Widget()->font());
            B->setPalette(Widget()->palette());
        }
    ArrangeButtons();
}

bool TCustomRadioGroup::CanFocus() const {
    return TWinControl::CanFocus() && FItems->Count() > 0;
}

void TCustomRadioGroup::SetFocus() {
    TWinControl::SetFocus();
    // The checked button (the first without one) takes the keyboard.
    if (!FQt->Buttons.empty() && Widget()->isVisible()) {
        const std::size_t I = FItemIndex >= 0 ? static_cast<std::size_t>(FItemIndex) : 0;
        FQt->Buttons[I]->setFocus(Qt::OtherFocusReason);
    }
}

// ---- TTimer
// -----------------------------------------------------------------------------------------

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner), FAlive(std::make_shared<bool>(true)) {
    UpdateTimer();
}

TTimer::~TTimer() {
    *FAlive = false;
    if (FTimerId != 0) FService->StopTimer(FTimerId);
}

void TTimer::SetInterval(unsigned Value) {
    if (Value == FInterval) return;
    FInterval = Value;
    UpdateTimer();
}

void TTimer::SetEnabled(bool Value) {
    if (Value == FEnabled) return;
    FEnabled = Value;
    UpdateTimer();
}

void TTimer::UpdateTimer() {
    if (FTimerId != 0) {
        FService->StopTimer(FTimerId);
        FTimerId = 0;
    }
    if (FInterval == 0 || !FEnabled || ComponentState().Contains(csDesigning)) return;
    std::weak_ptr<bool> Alive = FAlive;
    FService = &TimerService();
    FTimerId = FService->StartTimer(FInterval, [this, Alive] {
        if (auto A = Alive.lock(); A && *A) Tick();
    });
}

void TTimer::Tick() {
    if (FInTick) return;
    const std::shared_ptr<bool> Alive = FAlive;
    std::exception_ptr Error;
    FInTick = true;
    try {
        Timer();
    } catch (...) {
        Error = std::current_exception();
    }
    // The handler may have freed the timer with its form.
    if (*Alive) FInTick = false;
    if (Error) Application->HandleException(*Alive ? this : nullptr, Error);
}

void TTimer::Timer() {
    if (OnTimer) OnTimer(this);
}
