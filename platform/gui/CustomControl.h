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

// A control that draws itself through its Canvas, windowed (TWinControl)
// or not (TControl): Paint runs for every WM_PAINT with the canvas locked.
template <class TBase> class TPaintedControl : public TBase {
public:
    explicit TPaintedControl(TComponent* AOwner);
    ~TPaintedControl() override;

    TCanvas* Canvas() const;

    void Dispatch(TMessage& Message) override;

    // The client area less the window's own scroll bars (WindowScroll.h).
    TRect ClientRect() const override;
    // With an update area kept (below), paints just that area; otherwise
    // repaints the whole control as before.
    void Update() override;

    // ---- the window services of WindowScroll.h work through these
    void InvalidateClientRect(const TRect* R);
    void ValidateClientRect(const TRect* R);
    bool UpdateAreaBounds(TRect& R) const;
    void ScrollImage(int DX, int DY, const TRect* Scroll, const TRect* Clip, bool Invalidate,
                     TRect* Uncovered);
    TControlPainter& Painter() const { return *FPainter; }

    // Paints the whole control once onto another canvas (a bitmap's, for a
    // printout or a picture of it) with its top-left corner at (X, Y): for
    // the length of the call the control's Canvas draws into a picture of
    // its own size, which then goes onto Target. The control's own image
    // and the screen are left alone.
    void PaintTo(TCanvas* Target, int X = 0, int Y = 0);

    // A frame around the client area, outside the window's own scroll bars
    // (a window's border or client edge): Width pixels on every side drawn
    // with DrawEdge (GdiLines.h) with Edge and Flags plus BF_RECT; Width 0
    // takes it away. The client area shrinks by it, child controls stay in
    // the client area, and WM_SIZE follows. PaintTo draws it too.
    void SetWindowFrame(int Width, unsigned Edge, unsigned Flags);
    int WindowFrameWidth() const;

protected:
    // Draws the control; nothing here.
    virtual void Paint() {}
    // Locks the canvas around Paint.
    virtual void PaintWindow();
    // Keeps the backing image between paints and redraws only the area
    // invalidated since (InvalidateRect, Invalidate, a scroll, a resize):
    // a control that scrolls its pixels repaints just the strip uncovered.
    // Off by default: Qt's own repaint requests then repaint everything.
    void SetKeepImage(bool Value);
    void InvalidateWidgetArea(const TRect* R) override;

    QWidget* CreateWidget() override;

private:
    friend class TControlPainter;
    std::unique_ptr<TControlPainter> FPainter;
};

extern template class TPaintedControl<TWinControl>;
extern template class TPaintedControl<TControl>;

// A windowed control that draws itself: can take the focus and hold
// other controls.
class TCustomControl : public TPaintedControl<TWinControl> {
public:
    using TPaintedControl::TPaintedControl;
    AnsiString ClassName() const override { return "TCustomControl"; }
    // Inside the window frame, when there is one.
    QWidget* ClientWidget() override;
};

// A control without a window of its own that draws itself: it takes no
// focus and holds no controls.
class TGraphicControl : public TPaintedControl<TControl> {
public:
    using TPaintedControl::TPaintedControl;
    AnsiString ClassName() const override { return "TGraphicControl"; }
};
