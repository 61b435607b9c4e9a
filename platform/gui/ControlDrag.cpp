// A drag in progress holds the mouse through an event filter on the Qt
// application: the controls see none of the mouse input until it ends.
#include "platform/gui/ControlDrag.h"

#include "platform/gui/Bridge.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtApp.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include <cstdlib>
#include <memory>

class TDragOperation {
public:
    static inline std::shared_ptr<TDragOperation> Current;

    static void Begin(TControl* Source, bool Immediate, int Threshold);
    // Ends the drag in progress at the screen point.
    static void Finish(bool Drop, const TPoint& Pos);
    // The mouse moved to the screen point (button held).
    void Moved(const TPoint& Pos);

    TControl* Source = nullptr;
    // Where the mouse was last seen (the controls don't see it meanwhile).
    TPoint LastPos;

private:
    bool Alive(TControl* C, std::uint64_t Serial) const { return C && TControl::Exists(C, Serial); }
    TObject* SourceObject() const { return Object ? static_cast<TObject*>(Object) : Source; }
    void MoveTo(const TPoint& Pos);
    void ShowCursor();
    bool StillCurrent() const { return Current.get() == this; }

    std::uint64_t SourceSerial = 0;
    TDragObject* Object = nullptr;
    bool Started = false;
    TPoint StartPos;
    int Threshold = 0;
    TControl* Target = nullptr;
    std::uint64_t TargetSerial = 0;
    bool Accepted = false;
    bool CursorShown = false;
};

namespace {

// The mouse and Escape while a drag is going on.
class TDragFilter : public QObject {
protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override {
        if (!Watched->isWidgetType() || !TDragOperation::Current) return false;
        switch (Event->type()) {
        case QEvent::MouseMove: {
            const QPoint G = static_cast<QMouseEvent*>(Event)->globalPosition().toPoint();
            const auto Op = TDragOperation::Current;
            SafeCall(nullptr, [&] { Op->Moved(TPoint{G.x(), G.y()}); });
            return true;
        }
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            auto* E = static_cast<QMouseEvent*>(Event);
            const QPoint G = E->globalPosition().toPoint();
            // Letting go drops; another button pressed meanwhile cancels.
            const bool Drop = Event->type() == QEvent::MouseButtonRelease;
            SafeCall(nullptr, [&] { TDragOperation::Finish(Drop, TPoint{G.x(), G.y()}); });
            return true;
        }
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent*>(Event)->key() != Qt::Key_Escape) return false;
            SafeCall(nullptr,
                     [&] { TDragOperation::Finish(false, TDragOperation::Current->LastPos); });
            return true;
        default:
            return false;
        }
    }
};

TDragFilter* Filter() {
    static TDragFilter* F = new TDragFilter;
    return F;
}

} // namespace

void TDragOperation::Begin(TControl* Source, bool Immediate, int Threshold) {
    EnsureQtApplication();
    auto Op = std::make_shared<TDragOperation>();
    Op->Source = Source;
    Op->SourceSerial = Source->Serial();
    Op->Threshold = Threshold < 0 ? DragThreshold() : Threshold;
    if (!LastMouseScreenPos(Op->StartPos) && Mouse) Op->StartPos = Mouse->CursorPos();
    Op->LastPos = Op->StartPos;
    Current = Op;
    qApp->installEventFilter(Filter());
    try {
        TDragObject* Object = nullptr;
        Source->DoStartDrag(Object);
        Op->Object = Object;
    } catch (...) {
        if (Current == Op) {
            Current = nullptr;
            qApp->removeEventFilter(Filter());
        }
        throw;
    }
    if (Immediate && Current == Op) {
        Op->Started = true;
        Op->MoveTo(Op->StartPos);
    }
}

void TDragOperation::Moved(const TPoint& Pos) {
    LastPos = Pos;
    if (!Started) {
        if (std::abs(Pos.X - StartPos.X) <= Threshold && std::abs(Pos.Y - StartPos.Y) <= Threshold)
            return;
        Started = true;
    }
    MoveTo(Pos);
}

void TDragOperation::MoveTo(const TPoint& Pos) {
    if (!Alive(Source, SourceSerial)) {
        Finish(false, Pos);
        return;
    }
    TControl* Now = FindDragTarget(Pos, false);
    TControl* Before = Alive(Target, TargetSerial) ? Target : nullptr;
    if (Before && Before != Now) {
        const TPoint P = Before->ScreenToClient(Pos);
        bool Accept = false;
        Target = nullptr;
        Accepted = false;
        Before->DragOver(SourceObject(), P.X, P.Y, dsDragLeave, Accept);
        if (!StillCurrent()) return;
    }
    if (Now) {
        const TPoint P = Now->ScreenToClient(Pos);
        const TDragState State = Now == Before ? dsDragMove : dsDragEnter;
        Target = Now;
        TargetSerial = Now->Serial();
        bool Accept = false;
        Now->DragOver(SourceObject(), P.X, P.Y, State, Accept);
        if (!StillCurrent()) return;
        Accepted = Accept;
    }
    ShowCursor();
}

void TDragOperation::ShowCursor() {
    const QCursor Cursor =
        ToQCursor(Accepted && Alive(Source, SourceSerial) ? Source->DragCursor() : crNoDrop);
    if (CursorShown) {
        QApplication::changeOverrideCursor(Cursor);
    } else {
        QApplication::setOverrideCursor(Cursor);
        CursorShown = true;
    }
}

void TDragOperation::Finish(bool Drop, const TPoint& Pos) {
    const std::shared_ptr<TDragOperation> Op = Current;
    if (!Op) return;
    // Over before anyone is told, so that what they do is outside the drag.
    Current = nullptr;
    qApp->removeEventFilter(Filter());
    if (Op->CursorShown) QApplication::restoreOverrideCursor();

    TControl* Target = Op->Alive(Op->Target, Op->TargetSerial) ? Op->Target : nullptr;
    const TPoint P = Target ? Target->ScreenToClient(Pos) : Point(0, 0);
    const bool Dropped = Drop && Op->Started && Target && Op->Accepted;
    if (Target && !Dropped) {
        bool Accept = false;
        Target->DragOver(Op->SourceObject(), P.X, P.Y, dsDragLeave, Accept);
    }
    try {
        if (Dropped) Target->DragDrop(Op->SourceObject(), P.X, P.Y);
    } catch (...) {
        if (Op->Alive(Op->Source, Op->SourceSerial)) Op->Source->DoEndDrag(nullptr, 0, 0);
        throw;
    }
    if (Op->Alive(Op->Source, Op->SourceSerial))
        Op->Source->DoEndDrag(Dropped ? Target : nullptr, Dropped ? P.X : 0, Dropped ? P.Y : 0);
}

// ---- TControl's side ---------------------------------------------------------------

void TControl::BeginDrag(bool Immediate, int Threshold) {
    if (dynamic_cast<TCustomForm*>(this)) throw EInvalidOperation("Cannot drag a form");
    if (TDragOperation::Current) return;
    TDragOperation::Begin(this, Immediate, Threshold);
}

void TControl::EndDrag(bool Drop) {
    if (!Dragging()) return;
    TDragOperation::Finish(Drop, TDragOperation::Current->LastPos);
}

bool TControl::Dragging() const {
    return TDragOperation::Current && TDragOperation::Current->Source == this;
}

void TControl::DoStartDrag(TDragObject*& DragObject) {
    if (OnStartDrag) OnStartDrag(this, DragObject);
}

void TControl::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) {
    Accept = false;
    if (OnDragOver) {
        Accept = true;
        OnDragOver(this, Source, X, Y, State, Accept);
    }
}

void TControl::DragDrop(TObject* Source, int X, int Y) {
    if (OnDragDrop) OnDragDrop(this, Source, X, Y);
}

void TControl::DoEndDrag(TObject* Target, int X, int Y) {
    if (OnEndDrag) OnEndDrag(this, Target, X, Y);
}

// ---- free functions ------------------------------------------------------------------

TControl* DragSourceControl() {
    return TDragOperation::Current ? TDragOperation::Current->Source : nullptr;
}

bool IsDragging() {
    return TDragOperation::Current != nullptr;
}

TControl* FindDragTarget(const TPoint& Pos, bool AllowDisabled) {
    EnsureQtApplication();
    TControl* Found = nullptr;
    for (QWidget* W = QApplication::widgetAt(Pos.X, Pos.Y); W && !Found; W = W->parentWidget())
        Found = TControl::FromWidget(W);
    // A control without a widget of its own under the point.
    while (auto* Win = dynamic_cast<TWinControl*>(Found)) {
        TControl* Child = Win->ControlAtPos(Win->ScreenToClient(Pos), AllowDisabled);
        if (!Child || Child == Found || !Child->Visible()) break;
        Found = Child;
    }
    if (Found && !AllowDisabled && !Found->Enabled()) return nullptr;
    return Found;
}

int DragThreshold() {
    EnsureQtApplication();
    return QApplication::startDragDistance();
}
