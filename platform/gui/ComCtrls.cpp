#include "platform/gui/ComCtrls.h"

#include "platform/gui/QtApp.h"
#include "platform/rtl/DateTime.h"

#include <QDateTimeEdit>
#include <QProgressBar>

#include <algorithm>
#include <cmath>

namespace {

QDateTime ToQDateTime(TDateTime Value) {
    Word Y = 0, M = 0, D = 0, H = 0, N = 0, S = 0, Ms = 0;
    DecodeDate(Value, Y, M, D);
    DecodeTime(Value, H, N, S, Ms);
    return QDateTime(QDate(Y, M, D), QTime(H, N, S, Ms));
}

TDateTime FromQDateTime(const QDateTime& Value) {
    const QDate D = Value.date();
    const QTime T = Value.time();
    const double Days = EncodeDate(D.year(), D.month(), D.day());
    const double Time = EncodeTime(T.hour(), T.minute(), T.second(), T.msec());
    return Days >= 0 ? Days + Time : Days - Time;
}

// The picker's edit: every step of its arrows asks the picker first.
class TPickerEdit : public QDateTimeEdit {
public:
    explicit TPickerEdit(TDateTimePicker* APicker) : Picker(APicker), Serial(APicker->Serial()) {
        // The native picker wraps each field on its own.
        setWrapping(true);
    }

    void stepBy(int Steps) override {
        if (!TControl::Exists(Picker, Serial)) return;
        NMUPDOWN Notify;
        Notify.hdr.hwndFrom = Picker;
        Notify.hdr.code = UDN_DELTAPOS;
        Notify.iPos = sectionText(currentSection()).toInt();
        Notify.iDelta = Steps;
        // A handler that throws stops the step, as a refusal would.
        LRESULT Refused = 1;
        SafeCall(Picker, [&] {
            Refused = Picker->Perform(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&Notify));
        });
        if (Refused == 0 && Notify.iDelta != 0) QDateTimeEdit::stepBy(Notify.iDelta);
    }

private:
    TDateTimePicker* Picker;
    std::uint64_t Serial;
};

} // namespace

TDateTimePicker::TDateTimePicker(TComponent* AOwner) : TWinControl(AOwner), FDateTime(::Now()) {
    FWidth = 186;
    FHeight = 21;
    SetTabStop(true);
    SetParentColor(false);
    SetColor(clWindow);
}

QWidget* TDateTimePicker::CreateWidget() {
    return new TPickerEdit(this);
}

void TDateTimePicker::WidgetCreated() {
    auto* E = static_cast<QDateTimeEdit*>(Widget());
    E->setFocusPolicy(TabStop() ? Qt::StrongFocus : Qt::ClickFocus);
    E->setTimeSpec(Qt::LocalTime);
    ApplyKind();
    ApplyValue();
    QObject::connect(E, &QDateTimeEdit::dateTimeChanged, E, [this](const QDateTime&) {
        if (FApplying) return;
        SafeCall(this, [this] { UserChanged(); });
    });
}

void TDateTimePicker::ApplyKind() {
    if (!WidgetAllocated()) return;
    auto* E = static_cast<QDateTimeEdit*>(Widget());
    FApplying = true;
    if (FKind == dtkTime) {
        E->setDisplayFormat(QStringLiteral("HH:mm:ss"));
        E->setCalendarPopup(false);
    } else {
        E->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
        E->setCalendarPopup(FDateMode == dmComboBox);
    }
    FApplying = false;
}

void TDateTimePicker::ApplyValue() {
    if (!WidgetAllocated()) return;
    FApplying = true;
    static_cast<QDateTimeEdit*>(Widget())->setDateTime(ToQDateTime(FDateTime));
    FApplying = false;
}

void TDateTimePicker::UserChanged() {
    const TDateTime Shown = FromQDateTime(static_cast<QDateTimeEdit*>(Widget())->dateTime());
    // The operator edits one part; the other part stays as it was.
    TDateTime Value = FDateTime;
    if (FKind == dtkTime)
        ReplaceTime(Value, Shown);
    else
        ReplaceDate(Value, Shown);
    if (static_cast<double>(Value) == static_cast<double>(FDateTime)) return;
    FDateTime = Value;
    Change();
}

void TDateTimePicker::Change() {
    if (OnChange) OnChange(this);
}

void TDateTimePicker::SetKind(TDateTimeKind Value) {
    FKind = Value;
    ApplyKind();
    ApplyValue();
}

void TDateTimePicker::SetDateMode(TDTDateMode Value) {
    FDateMode = Value;
    ApplyKind();
}

void TDateTimePicker::SetDateTime(TDateTime Value) {
    FDateTime = Value;
    ApplyValue();
}

TDateTime TDateTimePicker::Date() const {
    return std::trunc(static_cast<double>(FDateTime));
}

void TDateTimePicker::SetDate(TDateTime Value) {
    TDateTime V = FDateTime;
    ReplaceDate(V, Value);
    SetDateTime(V);
}

TDateTime TDateTimePicker::Time() const {
    const double V = FDateTime;
    return std::fabs(V - std::trunc(V));
}

void TDateTimePicker::SetTime(TDateTime Value) {
    TDateTime V = FDateTime;
    ReplaceTime(V, Value);
    SetDateTime(V);
}

void TDateTimePicker::UpdateWidgetColor() {
    if (!WidgetAllocated()) return;
    QWidget* W = Widget();
    QPalette P = W->palette();
    P.setColor(QPalette::Base, ToQColor(Color()));
    W->setPalette(P);
}

// ---- TProgressBar --------------------------------------------------------------------------

TProgressBar::TProgressBar(TComponent* AOwner) : TWinControl(AOwner) {
    FWidth = 150;
    FHeight = 16;
}

QWidget* TProgressBar::CreateWidget() {
    return new QProgressBar();
}

void TProgressBar::WidgetCreated() {
    static_cast<QProgressBar*>(Widget())->setTextVisible(false);
    Apply();
}

void TProgressBar::Apply() {
    if (!WidgetAllocated()) return;
    auto* B = static_cast<QProgressBar*>(Widget());
    B->setRange(FMin, FMax);
    B->setValue(FPosition);
}

void TProgressBar::SetMin(int Value) {
    FMin = Value;
    if (FMax < FMin) FMax = FMin;
    FPosition = std::clamp(FPosition, FMin, FMax);
    Apply();
}

void TProgressBar::SetMax(int Value) {
    FMax = Value;
    if (FMin > FMax) FMin = FMax;
    FPosition = std::clamp(FPosition, FMin, FMax);
    Apply();
}

void TProgressBar::SetPosition(int Value) {
    FPosition = std::clamp(Value, FMin, FMax);
    Apply();
}

void TProgressBar::StepBy(int Delta) {
    int P = FPosition + Delta;
    if (P > FMax && FMax > FMin) P = FMin + (P - FMin) % (FMax - FMin);
    SetPosition(P);
}
