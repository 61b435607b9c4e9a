// One event filter on the Qt application, there while any hook is
// installed, tells the hooks of presses and activation changes.
#include "platform/gui/InputHook.h"

#include "platform/gui/Controls.h"
#include "platform/gui/QtApp.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>

#include <algorithm>
#include <vector>

struct TInputHook::TEntry {
    TMouseHookProc OnMouse;
    TActivationHookProc OnActivation;
};

namespace {

using TEntryPtr = std::shared_ptr<TInputHook::TEntry>;

// The windowed control a widget belongs to (itself or an ancestor).
HWND WindowOfWidget(QWidget* W) {
    for (; W; W = W->parentWidget())
        if (auto* Win = dynamic_cast<TWinControl*>(TControl::FromWidget(W))) return Win;
    return nullptr;
}

bool IsAncestor(const QWidget* Ancestor, const QWidget* W) {
    for (; W; W = W->parentWidget())
        if (W == Ancestor) return true;
    return false;
}

class THookFilter : public QObject {
public:
    std::vector<TEntryPtr> Entries;
    // Above 0 while hooks are being told.
    static inline int Telling = 0;

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override {
        if (!Watched->isWidgetType()) return false;
        auto* W = static_cast<QWidget*>(Watched);
        switch (Event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::NonClientAreaMouseButtonPress:
        case QEvent::NonClientAreaMouseButtonDblClick:
            Press(W, static_cast<QMouseEvent*>(Event));
            break;
        case QEvent::MouseButtonRelease:
        case QEvent::NonClientAreaMouseButtonRelease:
            FLastPress = nullptr;
            break;
        case QEvent::WindowActivate:
        case QEvent::WindowDeactivate:
            // Qt hands the event on to the window's children too.
            if (W->isWindow()) {
                const TActivationHookInfo Info{WindowOfWidget(W),
                                               Event->type() == QEvent::WindowActivate};
                Tell([&](const TInputHook::TEntry& E) {
                    if (E.OnActivation) E.OnActivation(Info);
                });
            }
            break;
        default:
            break;
        }
        return false;
    }

private:
    void Press(QWidget* W, QMouseEvent* E) {
        const QPoint Global = E->globalPosition().toPoint();
        // A press the widget didn't take goes on to its parent as a copy;
        // that is the same press.
        if (FLastPress && IsAncestor(W, FLastPress) && Global == FLastGlobal &&
            E->button() == FLastButton)
            return;
        FLastPress = W;
        FLastGlobal = Global;
        FLastButton = E->button();

        const bool Frame = E->type() == QEvent::NonClientAreaMouseButtonPress ||
                           E->type() == QEvent::NonClientAreaMouseButtonDblClick;
        const bool Double = E->type() == QEvent::MouseButtonDblClick ||
                            E->type() == QEvent::NonClientAreaMouseButtonDblClick;
        unsigned Msg = 0;
        switch (E->button()) {
        case Qt::LeftButton:
            Msg = Frame ? WM_NCLBUTTONDOWN : Double ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN;
            break;
        case Qt::RightButton:
            Msg = Frame ? WM_NCRBUTTONDOWN : Double ? WM_RBUTTONDBLCLK : WM_RBUTTONDOWN;
            break;
        case Qt::MiddleButton:
            if (Frame) return;
            Msg = Double ? WM_MBUTTONDBLCLK : WM_MBUTTONDOWN;
            break;
        default:
            return;
        }
        HWND Target = WindowOfWidget(W);
        // The control holding the capture gets the press wherever it is.
        if (TControl* Capture = GetCaptureControl()) {
            if (auto* Win = dynamic_cast<TWinControl*>(Capture))
                Target = Win;
            else if (Capture->Parent())
                Target = Capture->Parent();
        }
        const TMouseHookInfo Info{Msg, Target, TPoint{Global.x(), Global.y()}};
        Tell([&](const TInputHook::TEntry& Entry) {
            if (Entry.OnMouse) Entry.OnMouse(Info);
        });
    }

    // Newest first; a hook removed meanwhile is skipped, and an exception
    // goes to the application's handler, not into Qt.
    template <class F> void Tell(F&& Call) {
        ++Telling;
        struct TDone {
            ~TDone() { --Telling; }
        } Done;
        const std::vector<TEntryPtr> Snapshot = Entries;
        for (auto It = Snapshot.rbegin(); It != Snapshot.rend(); ++It) {
            if (std::find(Entries.begin(), Entries.end(), *It) == Entries.end()) continue;
            SafeCall(nullptr, [&] { Call(**It); });
        }
    }

    QPointer<QWidget> FLastPress;
    QPoint FLastGlobal;
    Qt::MouseButton FLastButton = Qt::NoButton;
};

THookFilter*& Filter() {
    static THookFilter* F = nullptr;
    return F;
}

} // namespace

TInputHook::TInputHook(TMouseHookProc OnMouse, TActivationHookProc OnActivation)
    : FEntry(std::make_shared<TEntry>(TEntry{std::move(OnMouse), std::move(OnActivation)})) {
    EnsureQtApplication();
    THookFilter*& F = Filter();
    if (!F) {
        F = new THookFilter;
        qApp->installEventFilter(F);
    }
    F->Entries.push_back(FEntry);
}

TInputHook::TInputHook(TInputHook&& Other) noexcept : FEntry(std::move(Other.FEntry)) {}

TInputHook& TInputHook::operator=(TInputHook&& Other) noexcept {
    if (this != &Other) {
        Remove();
        FEntry = std::move(Other.FEntry);
    }
    return *this;
}

void TInputHook::Remove() {
    if (!FEntry) return;
    THookFilter*& F = Filter();
    if (F) {
        auto& List = F->Entries;
        List.erase(std::remove(List.begin(), List.end(), FEntry), List.end());
        if (List.empty()) {
            if (QCoreApplication::instance()) QCoreApplication::instance()->removeEventFilter(F);
            // Removed by a hook as it is told: freed once Qt is done with it.
            if (THookFilter::Telling > 0)
                F->deleteLater();
            else
                delete F;
            F = nullptr;
        }
    }
    FEntry = nullptr;
}

int InputHookCount() {
    const THookFilter* F = Filter();
    return F ? static_cast<int>(F->Entries.size()) : 0;
}
