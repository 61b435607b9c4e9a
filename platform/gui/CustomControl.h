#pragma once
// Custom-drawn controls. Each keeps a backing image of its client area and
// paints into it through its Canvas; the widget only shows that image.
// Paint runs on WM_PAINT (when Qt asks the widget to paint, or when sent
// by Perform) clipped to the area to repaint. Drawing on the canvas outside
// a paint goes into the image too and is shown at once.
#include "platform/gui/Controls.h"
#include "platform/gui/Graphics.h"

#include <memory>

// The painting machinery the two kinds of custom control share.
class TControlPainter;

// A windowed control that draws itself: can take the focus and hold
// other controls.
class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* AOwner);
    ~TCustomControl() override;
    AnsiString ClassName() const override { return "TCustomControl"; }

    TCanvas* Canvas() const;

    void Dispatch(TMessage& Message) override;

protected:
    // Draws the control; nothing here.
    virtual void Paint() {}
    // Locks the canvas around Paint.
    virtual void PaintWindow();

    QWidget* CreateWidget() override;

private:
    friend class TControlPainter;
    std::unique_ptr<TControlPainter> FPainter;
};

// A control without a window of its own that draws itself: it takes no
// focus and holds no controls.
class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* AOwner);
    ~TGraphicControl() override;
    AnsiString ClassName() const override { return "TGraphicControl"; }

    TCanvas* Canvas() const;

    void Dispatch(TMessage& Message) override;

protected:
    virtual void Paint() {}
    virtual void PaintWindow();

    QWidget* CreateWidget() override;

private:
    friend class TControlPainter;
    std::unique_ptr<TControlPainter> FPainter;
};
