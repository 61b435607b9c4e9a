// Custom controls: a backing image per control, a canvas drawing into it,
// WM_PAINT painting it and a widget showing it.
#include "platform/gui/CustomControl.h"
#include "platform/gui/CustomControlPainter.h"

#include "platform/gui/Buttons.h"
#include "platform/gui/Caret.h"

#include "platform/gui/GdiLines.h"
#include "platform/gui/GraphicsQt.h"
#include "platform/gui/PictureBlit.h"
#include "platform/gui/QtApp.h"

#include "platform/gui/Forms.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QRegion>
#include <QScrollBar>
#include <QWidget>

#include <functional>

// The backing image, the canvas bound to it, and the WM_PAINT handling.
class TControlPainter {
public:
    TControlPainter(TControl& Control, std::function<void()> PaintWindow)
        : FControl(Control), FPaintWindow(std::move(PaintWindow)),
          FCanvas(std::make_unique<TControlCanvas>(*this)) {
        FDc.Image = &FImage;
        // Drawing outside a paint is shown at once, as it is, without
        // painting the control over it.
        FDc.OnDrawn = [this](const QRect& Area) {
            if (FPainting || !FWidget || !FWidget->isVisible()) return;
            FShowOnly = true;
            FWidget->repaint(Area);
            FShowOnly = false;
        };
    }

    ~TControlPainter();

    TCanvas* Canvas() const { return FCanvas.get(); }

    // The image follows the client area's size; new area takes the
    // control's colour and is to be painted.
    void FitImage() {
        const int Width = std::max(0, FControl.ClientWidth());
        const int Height = std::max(0, FControl.ClientHeight());
        if (FImage.width() == Width && FImage.height() == Height) return;
        FInvalid += QRegion(0, 0, Width, Height) - QRegion(FImage.rect());
        FInvalid &= QRect(0, 0, Width, Height);
        FHeld = QRect();
        QImage Resized;
        if (Width > 0 && Height > 0) {
            Resized = QImage(Width, Height, QImage::Format_RGB32);
            Resized.fill(ColorToPixel(FControl.Color()));
            if (!FImage.isNull()) {
                QPainter Painter(&Resized);
                Painter.setCompositionMode(QPainter::CompositionMode_Source);
                Painter.drawImage(0, 0, FImage);
            }
        }
        FImage = Resized;
    }

    // Paints the area Qt asked for, or all of it when the message did not
    // come from Qt; the widget is then shown the new image.
    void WMPaint() {
        FitImage();
        QRect Area = FFromQt ? FQtArea & FImage.rect() : FImage.rect();
        if (FKeepImage && FFromQt) Area = (FInvalid & Area).boundingRect();
        if (FUpdating) Area = (FInvalid & FImage.rect()).boundingRect();
        FInvalid -= Area;
        FHeld = QRect();
        if (Area.isEmpty()) return;
        FPainting = true;
        // The caret comes off the whole image before the clip is set, so
        // that taking it off and putting it back cover the same pixels.
        CaretBeforePaint(&FControl);
        FDc.Clip = Area;
        try {
            FPaintWindow();
        } catch (...) {
            FDc.Clip = QRect();
            CaretAfterPaint(&FControl);
            FPainting = false;
            throw;
        }
        FDc.Clip = QRect();
        CaretAfterPaint(&FControl);
        FPainting = false;
        if (!FFromQt && FWidget) FWidget->update(Area);
    }

    // Called by the widget: paint the area through the control's messages,
    // then show it.
    void PaintEvent(QWidget& Widget, const QRect& Area) {
        if (&Widget != FWidget) {
            // The control's own widget around the client: only the frame.
            QPainter Painter(&Widget);
            Painter.drawImage(Area, FFrameImage, Area);
            return;
        }
        if (!FShowOnly) {
            FQtArea = Area;
            FFromQt = true;
            SafeCall(&FControl, [&] { FControl.Perform(WM_PAINT); });
            FFromQt = false;
        }
        QPainter Painter(&Widget);
        Painter.drawImage(Area, FImage, Area);
    }

    QWidget* CreateWidget();

    // Runs a paint into a picture of the client area's size instead of
    // the backing image, then copies it onto Target at (X, Y).
    void PaintTo(TCanvas* Target, int X, int Y) {
        QImage Picture(std::max(0, FControl.ClientWidth()), std::max(0, FControl.ClientHeight()),
                       QImage::Format_RGB32);
        if (Picture.isNull()) return;
        Picture.fill(ColorToPixel(FControl.Color()));
        TDeviceContext Dc;
        Dc.Image = &Picture;
        const bool WasPainting = FPainting;
        FPainting = true;
        FCanvas->SetHandle(&Dc);
        try {
            FPaintWindow();
        } catch (...) {
            FCanvas->SetHandle(&FDc);
            FPainting = WasPainting;
            throw;
        }
        FCanvas->SetHandle(&FDc);
        FPainting = WasPainting;
        TDeviceContext* Into = Target->Handle();
        if (!Into || !Into->Image) return;
        if (FFrame > 0) {
            // The frame as the window shows it, the client inside it.
            QPainter Painter(Into->Image);
            Painter.setCompositionMode(QPainter::CompositionMode_Source);
            if (!Into->Clip.isNull()) Painter.setClipRect(Into->Clip);
            Painter.drawImage(QPoint(X, Y), FFrameImage);
            X += FFrame;
            Y += FFrame;
        }
        PutPicture(*Into, Picture, X, Y);
    }

    void Resized() {
        FitImage();
        LayoutBars();
        LayoutClient();
    }

    // ---- the frame around the client area ----
    void SetFrame(int Width, unsigned Edge, unsigned Flags) {
        Width = std::max(0, Width);
        if (Width == FFrame && Edge == FFrameEdge && Flags == FFrameFlags) return;
        FFrame = Width;
        FFrameEdge = Edge;
        FFrameFlags = Flags;
        FFrameDrawn = false;
        if (!FHost) return; // the widget, once made, takes it
        QWidget* OldClient = FWidget;
        if (FFrame > 0 && FWidget == FHost)
            FWidget = MakeClientWidget(FHost);
        else if (FFrame == 0 && FWidget != FHost)
            FWidget = FHost;
        if (OldClient != FWidget) {
            MoveChildControls(OldClient, FWidget);
            if (OldClient != FHost) DropClientWidget(OldClient);
        }
        LayoutBars();
        FitImage();
        LayoutClient();
        FInvalid += QRect(0, 0, FImage.width(), FImage.height());
        FHost->update();
        if (FWidget != FHost) FWidget->update();
        const TRect C = FControl.ClientRect();
        FControl.Perform(WM_SIZE, SIZE_RESTORED,
                         MakeLParam(static_cast<Word>(C.Width()), static_cast<Word>(C.Height())));
    }
    int Frame() const { return FFrame; }
    // The widget whose coordinates are client coordinates.
    QWidget* ClientWidget() const { return FWidget; }

    // Asks for the area (client coordinates; nullptr: all) to be shown again.
    void UpdateClient(const TRect* R) {
        if (!FWidget) return;
        if (R)
            FWidget->update(ToQRect(*R));
        else
            FWidget->update();
    }

    // ---- the update area (kept when the control asks for it) ----
    void SetKeepImage(bool Value) { FKeepImage = Value; }
    bool KeepImage() const { return FKeepImage; }

    void Invalidate(const TRect* R) {
        // The client rectangle is asked once: a grid without a window is
        // invalidated whole for every row it is given.
        QRect Area;
        if (R) {
            Area = ToQRect(*R);
        } else {
            const TRect Client = FControl.ClientRect();
            Area = QRect(0, 0, Client.Width(), Client.Height());
        }
        // A control invalidated whole over and over (a grid without a
        // window, for every row added) gives the region nothing new.
        if (Area != FHeld) {
            FInvalid += Area;
            FHeld = Area;
        }
        if (FWidget) FWidget->update(Area);
    }

    void Validate(const TRect* R) {
        if (R)
            FInvalid -= ToQRect(*R);
        else
            FInvalid = QRegion();
        FHeld = QRect();
    }

    bool UpdateBounds(TRect& R) const {
        const QRect B = FInvalid.boundingRect();
        R = FromQRect(B);
        return !B.isEmpty();
    }

    // Paints the update area now.
    void Flush() {
        FitImage();
        if (FInvalid.isEmpty()) return;
        FUpdating = true;
        try {
            FControl.Perform(WM_PAINT);
        } catch (...) {
            FUpdating = false;
            throw;
        }
        FUpdating = false;
    }

    void Scroll(int DX, int DY, const TRect* ScrollArea, const TRect* ClipArea, bool Invalidate,
                TRect* Uncovered) {
        FitImage();
        QRect Area = ScrollArea ? ToQRect(*ScrollArea) & FImage.rect() : FImage.rect();
        if (ClipArea) Area &= ToQRect(*ClipArea);
        const QRect Dest = Area.translated(DX, DY) & Area;
        QRegion Exposed(Area);
        if (!Dest.isEmpty()) {
            const QImage Moved = FImage.copy(Dest.translated(-DX, -DY));
            QPainter Painter(&FImage);
            Painter.setCompositionMode(QPainter::CompositionMode_Source);
            Painter.drawImage(Dest.topLeft(), Moved);
            Exposed -= Dest;
        }
        // What was waiting to be painted inside the area moves with the pixels.
        const QRegion Waiting = FInvalid & Area;
        FInvalid -= Waiting;
        FInvalid += Waiting.translated(DX, DY) & Area;
        FHeld = QRect();
        if (Invalidate) FInvalid += Exposed;
        if (Uncovered) *Uncovered = FromQRect(Exposed.boundingRect());
        if (FWidget) FWidget->update(Area);
    }

    // ---- the window's own scroll bars ----
    using TBar = TControlPainterBar;

    TBar& Bar(int Which) { return FBars[Which == SB_VERT ? 1 : 0]; }

    static int BarExtent() { return GetSystemMetrics(SM_CXVSCROLL); }

    TRect ClientRect(TRect Whole) const {
        Whole.Right = std::max(Whole.Left, Whole.Right - 2 * FFrame);
        Whole.Bottom = std::max(Whole.Top, Whole.Bottom - 2 * FFrame);
        if (!FBars[0].Shown && !FBars[1].Shown) return Whole;
        // The width the bars were laid out with, so the client area always
        // ends where they start; a grid adding a row comes here a dozen times.
        const int Extent = FBarExtent;
        if (FBars[1].Shown) Whole.Right = std::max(Whole.Left, Whole.Right - Extent);
        if (FBars[0].Shown) Whole.Bottom = std::max(Whole.Top, Whole.Bottom - Extent);
        return Whole;
    }

    void SetBarShown(int Which, bool Show) {
        TBar& B = Bar(Which);
        if (B.Shown == Show) return;
        B.Shown = Show;
        LayoutBars();
        FitImage();
        LayoutClient();
        const TRect C = FControl.ClientRect();
        FControl.Perform(WM_SIZE, SIZE_RESTORED,
                         MakeLParam(static_cast<Word>(C.Width()), static_cast<Word>(C.Height())));
    }

    void ApplyBar(int Which) {
        TBar& B = Bar(Which);
        if (!B.Widget) return;
        QScrollBar* W = B.Widget.data();
        const QSignalBlocker Block(W);
        const int Page = static_cast<int>(B.Page);
        const int Last = std::max(B.Min, B.Max - std::max(Page - 1, 0));
        const int Step = std::max(Page, 1);
        // Setting the page step repaints the bar even when it stays the
        // same, and a grid adding rows moves only the range: only what
        // differs from the widget is set, so a thumb the user dragged is
        // still put back.
        if (W->minimum() != B.Min || W->maximum() != Last) W->setRange(B.Min, Last);
        if (W->pageStep() != Step) W->setPageStep(Step);
        if (W->value() != B.Pos || W->sliderPosition() != B.Pos) W->setValue(B.Pos);
        // The bar's own setting, not what a disabled parent makes of it.
        if (W->testAttribute(Qt::WA_ForceDisabled) == B.Enabled) W->setEnabled(B.Enabled);
    }

    void LayoutBars() {
        if (!FBars[0].Shown && !FBars[1].Shown && !FBars[0].Widget && !FBars[1].Widget) return;
        QWidget* Host = FControl.Widget();
        const int Extent = FBarExtent = BarExtent();
        // The bars lie inside the frame.
        const int F = FFrame;
        const int W = FControl.Width() - 2 * F, H = FControl.Height() - 2 * F;
        for (int Which : {SB_HORZ, SB_VERT}) {
            TBar& B = Bar(Which);
            if (B.Shown && !B.Widget) MakeBarWidget(Host, Which);
            if (!B.Widget) continue;
            if (Which == SB_VERT)
                B.Widget->setGeometry(F + W - Extent, F, Extent, H - (FBars[0].Shown ? Extent : 0));
            else
                B.Widget->setGeometry(F, F + H - Extent, W - (FBars[1].Shown ? Extent : 0), Extent);
            B.Widget->setVisible(B.Shown);
            ApplyBar(Which);
        }
    }

    // What the user's input on a bar sends the control.
    void BarAction(int Which, int Action, int SliderPos) {
        const unsigned Msg = Which == SB_VERT ? WM_VSCROLL : WM_HSCROLL;
        auto Send = [this, Msg](int Code, int Pos) {
            FControl.Perform(Msg, MakeWParam(static_cast<Word>(Code),
                                             static_cast<Word>(static_cast<std::int16_t>(Pos))));
        };
        int Code = -1;
        switch (Action) {
        case QAbstractSlider::SliderSingleStepSub:
            Code = SB_LINEUP;
            break;
        case QAbstractSlider::SliderSingleStepAdd:
            Code = SB_LINEDOWN;
            break;
        case QAbstractSlider::SliderPageStepSub:
            Code = SB_PAGEUP;
            break;
        case QAbstractSlider::SliderPageStepAdd:
            Code = SB_PAGEDOWN;
            break;
        case QAbstractSlider::SliderToMinimum:
            Code = SB_TOP;
            break;
        case QAbstractSlider::SliderToMaximum:
            Code = SB_BOTTOM;
            break;
        case QAbstractSlider::SliderMove:
            Bar(Which).TrackPos = SliderPos;
            Send(SB_THUMBTRACK, SliderPos);
            return;
        case QAbstractSlider::SliderNoAction: // the thumb was let go
            Send(SB_THUMBPOSITION, SliderPos);
            Send(SB_ENDSCROLL, SliderPos);
            return;
        default:
            return;
        }
        Send(Code, Bar(Which).Pos);
        Send(SB_ENDSCROLL, Bar(Which).Pos);
    }

private:
    QWidget* MakeClientWidget(QWidget* Host);
    static void DropClientWidget(QWidget* Client);

    // With a frame, the client widget sits inside it and the frame's picture
    // is drawn again at the control's size.
    void LayoutClient() {
        if (!FHost || FWidget == FHost || !FWidget) return;
        const TRect C = FControl.ClientRect();
        FWidget->setGeometry(FFrame, FFrame, C.Width(), C.Height());
        const int W = std::max(0, FControl.Width()), H = std::max(0, FControl.Height());
        if (FFrameImage.width() == W && FFrameImage.height() == H && FFrameDrawn) return;
        TBitmap Picture;
        Picture.SetSize(W, H);
        TCanvas* C2 = Picture.Canvas();
        C2->Brush()->SetColor(clBtnFace);
        C2->FillRect(Rect(0, 0, W, H));
        TRect R = Rect(0, 0, W, H);
        DrawEdge(C2, R, FFrameEdge, FFrameFlags | BF_RECT);
        FFrameImage = TBitmapAccess::Image(Picture).copy();
        FFrameDrawn = true;
        FHost->update();
    }

    // Child controls' widgets go with the client area.
    static void MoveChildControls(QWidget* From, QWidget* To) {
        const QObjectList Children = From->children();
        for (QObject* Child : Children) {
            auto* W = qobject_cast<QWidget*>(Child);
            if (!W || W == To || !TControl::FromWidget(W)) continue;
            const bool Shown = !W->isHidden();
            const QRect Bounds = W->geometry();
            W->setParent(To);
            W->setGeometry(Bounds);
            if (Shown) W->show();
        }
    }

    void MakeBarWidget(QWidget* Host, int Which) {
        TBar& B = Bar(Which);
        B.Widget = new QScrollBar(Which == SB_VERT ? Qt::Vertical : Qt::Horizontal, Host);
        B.Widget->setFocusPolicy(Qt::NoFocus);
        QScrollBar* W = B.Widget;
        // The bar reports what the user did; its position stays the
        // control's to set.
        QObject::connect(W, &QAbstractSlider::actionTriggered, W, [this, W, Which](int Action) {
            const std::uint64_t Serial = FControl.Serial();
            TControl* Control = &FControl;
            SafeCall(Control, [&] { BarAction(Which, Action, W->sliderPosition()); });
            if (TControl::Exists(Control, Serial) && Action != QAbstractSlider::SliderMove)
                W->setSliderPosition(Bar(Which).Pos);
        });
        QObject::connect(W, &QAbstractSlider::sliderReleased, W, [this, W, Which] {
            const std::uint64_t Serial = FControl.Serial();
            TControl* Control = &FControl;
            SafeCall(Control,
                     [&] { BarAction(Which, QAbstractSlider::SliderNoAction, W->sliderPosition()); });
            if (TControl::Exists(Control, Serial)) {
                const QSignalBlocker Block(W);
                W->setValue(Bar(Which).Pos);
            }
        });
    }

public:

private:
    class TControlCanvas : public TCanvas {
    public:
        explicit TControlCanvas(TControlPainter& Owner) : FOwner(Owner) {}
        AnsiString ClassName() const override { return "TControlCanvas"; }

    protected:
        void CreateHandle() override {
            FOwner.FitImage();
            SetHandle(&FOwner.FDc);
        }

    private:
        TControlPainter& FOwner;
    };

    TControl& FControl;
    std::function<void()> FPaintWindow;
    QImage FImage;
    TDeviceContext FDc;
    std::unique_ptr<TControlCanvas> FCanvas;
    // The control's widget, and the one showing the image: the same one,
    // or with a frame a child of it inside the frame.
    QPointer<QWidget> FHost;
    QPointer<QWidget> FWidget;
    int FFrame = 0;
    unsigned FFrameEdge = 0;
    unsigned FFrameFlags = 0;
    QImage FFrameImage;
    bool FFrameDrawn = false;
    QRect FQtArea;
    bool FFromQt = false;
    bool FShowOnly = false;
    bool FPainting = false;
    bool FKeepImage = false;
    bool FUpdating = false;
    QRegion FInvalid;
    // An area the update region is known to hold whole: the region only
    // grew since it was added.
    QRect FHeld;
    TBar FBars[2];
    int FBarExtent = 0;
};

namespace {

// Shows a control's backing image; painting asks the control first.
class TPaintWidget : public QWidget {
public:
    explicit TPaintWidget(TControlPainter& Painter) : FPainter(&Painter) {
        // Every pixel comes from the image: nothing to erase first.
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

    // The control is going; its widget may outlive it for a moment.
    void Detach() { FPainter = nullptr; }

protected:
    void paintEvent(QPaintEvent* Event) override {
        if (FPainter) FPainter->PaintEvent(*this, Event->rect());
    }

private:
    TControlPainter* FPainter;
};

} // namespace

TControlPainter::~TControlPainter() {
    if (FWidget) static_cast<TPaintWidget*>(FWidget.data())->Detach();
    if (FHost && FHost != FWidget) static_cast<TPaintWidget*>(FHost.data())->Detach();
}

QWidget* TControlPainter::CreateWidget() {
    FHost = FWidget = new TPaintWidget(*this);
    if (FFrame > 0) {
        FWidget = MakeClientWidget(FHost);
        // Inside the frame at once, with the frame drawn: a control whose
        // size was set before its window was made gets no resize to do it.
        LayoutClient();
    }
    return FHost;
}

void TControlPainter::DropClientWidget(QWidget* Client) {
    static_cast<TPaintWidget*>(Client)->Detach();
    delete Client;
}

QWidget* TControlPainter::MakeClientWidget(QWidget* Host) {
    auto* Client = new TPaintWidget(*this);
    Client->setParent(Host);
    Client->setFocusPolicy(Qt::NoFocus);
    // Its mouse goes on to the control's widget, which maps it back here.
    Client->setMouseTracking(true);
    Client->show();
    FFrameDrawn = false;
    return Client;
}

// ---- TPaintedControl ---------------------------------------------------------------

template <class TBase>
TPaintedControl<TBase>::TPaintedControl(TComponent* AOwner)
    : TBase(AOwner), FPainter(std::make_unique<TControlPainter>(*this, [this] { PaintWindow(); })) {
}

template <class TBase> TPaintedControl<TBase>::~TPaintedControl() = default;

template <class TBase> TCanvas* TPaintedControl<TBase>::Canvas() const {
    return FPainter->Canvas();
}

template <class TBase> void TPaintedControl<TBase>::PaintWindow() {
    Canvas()->Lock();
    try {
        Paint();
    } catch (...) {
        Canvas()->Unlock();
        throw;
    }
    Canvas()->Unlock();
}

template <class TBase> void TPaintedControl<TBase>::PaintTo(TCanvas* Target, int X, int Y) {
    if (!Target) return;
    FPainter->PaintTo(Target, X, Y);
}

template <class TBase> QWidget* TPaintedControl<TBase>::CreateWidget() {
    return FPainter->CreateWidget();
}

template <class TBase> TRect TPaintedControl<TBase>::ClientRect() const {
    return FPainter->ClientRect(TBase::ClientRect());
}

template <class TBase> void TPaintedControl<TBase>::Update() {
    if (!FPainter->KeepImage()) {
        TBase::Update();
        return;
    }
    FPainter->Flush();
}

template <class TBase> void TPaintedControl<TBase>::SetKeepImage(bool Value) {
    FPainter->SetKeepImage(Value);
}

template <class TBase> void TPaintedControl<TBase>::InvalidateWidgetArea(const TRect* R) {
    if (FPainter->KeepImage())
        FPainter->Invalidate(R);
    else if (FPainter->Frame() > 0)
        FPainter->UpdateClient(R);
    else
        TBase::InvalidateWidgetArea(R);
}

template <class TBase>
void TPaintedControl<TBase>::SetWindowFrame(int Width, unsigned Edge, unsigned Flags) {
    FPainter->SetFrame(Width, Edge, Flags);
}

template <class TBase> int TPaintedControl<TBase>::WindowFrameWidth() const {
    return FPainter->Frame();
}

QWidget* TCustomControl::ClientWidget() {
    Widget();
    return Painter().ClientWidget();
}

template <class TBase> void TPaintedControl<TBase>::InvalidateClientRect(const TRect* R) {
    FPainter->Invalidate(R);
}

template <class TBase> void TPaintedControl<TBase>::ValidateClientRect(const TRect* R) {
    FPainter->Validate(R);
}

template <class TBase> bool TPaintedControl<TBase>::UpdateAreaBounds(TRect& R) const {
    return FPainter->UpdateBounds(R);
}

template <class TBase>
void TPaintedControl<TBase>::ScrollImage(int DX, int DY, const TRect* Scroll, const TRect* Clip,
                                         bool Invalidate, TRect* Uncovered) {
    FPainter->Scroll(DX, DY, Scroll, Clip, Invalidate, Uncovered);
}


template <class TBase> void TPaintedControl<TBase>::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_PAINT:
        FPainter->WMPaint();
        return;
    case WM_SIZE:
        TBase::Dispatch(Message);
        FPainter->Resized();
        return;
    default:
        TBase::Dispatch(Message);
    }
}

template class TPaintedControl<TWinControl>;
template class TPaintedControl<TControl>;
// Owner-drawn bitmap buttons (OwnerDraw.h) paint the same way.
template class TPaintedControl<TBitBtn>;

// ---- what WindowScroll.cpp reaches ------------------------------------------------

TControlPainterBar& ControlPainterBar(TPaintedControl<TWinControl>& Control, int Bar) {
    return Control.Painter().Bar(Bar);
}

void ControlPainterShowBar(TPaintedControl<TWinControl>& Control, int Bar, bool Show) {
    Control.Painter().SetBarShown(Bar, Show);
}

void ControlPainterApplyBar(TPaintedControl<TWinControl>& Control, int Bar) {
    Control.Painter().ApplyBar(Bar);
}

void ControlPainterFlush(TPaintedControl<TWinControl>& Control) {
    Control.Painter().Flush();
}
