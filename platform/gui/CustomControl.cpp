// Custom controls: a backing image per control, a canvas drawing into it,
// WM_PAINT painting it and a widget showing it.
#include "platform/gui/CustomControl.h"

#include "platform/gui/Buttons.h"

#include "platform/gui/GraphicsQt.h"
#include "platform/gui/QtApp.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
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
    // control's colour.
    void FitImage() {
        const int Width = std::max(0, FControl.ClientWidth());
        const int Height = std::max(0, FControl.ClientHeight());
        if (FImage.width() == Width && FImage.height() == Height) return;
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
        const QRect Area = FFromQt ? FQtArea & FImage.rect() : FImage.rect();
        FDc.Clip = Area;
        FPainting = true;
        try {
            FPaintWindow();
        } catch (...) {
            FPainting = false;
            FDc.Clip = QRect();
            throw;
        }
        FPainting = false;
        FDc.Clip = QRect();
        if (!FFromQt && FWidget) FWidget->update(Area);
    }

    // Called by the widget: paint the area through the control's messages,
    // then show it.
    void PaintEvent(QWidget& Widget, const QRect& Area) {
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

    void Resized() { FitImage(); }

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
    QPointer<QWidget> FWidget;
    QRect FQtArea;
    bool FFromQt = false;
    bool FShowOnly = false;
    bool FPainting = false;
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
}

QWidget* TControlPainter::CreateWidget() {
    FWidget = new TPaintWidget(*this);
    return FWidget;
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

template <class TBase> QWidget* TPaintedControl<TBase>::CreateWidget() {
    return FPainter->CreateWidget();
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
