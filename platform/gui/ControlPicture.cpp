#include "platform/gui/ControlPicture.h"

#include "platform/gui/PictureBlit.h"

#include <QPainter>
#include <QWidget>

void PutPicture(TDeviceContext& Into, const QImage& Picture, int X, int Y) {
    if (!Into.Image) return;
    const QRect Area = QRect(QPoint(X, Y), Picture.size()) &
                       (Into.Clip.isNull() ? Into.Image->rect() : Into.Clip & Into.Image->rect());
    if (Area.isEmpty()) return;
    {
        QPainter Painter(Into.Image);
        Painter.setCompositionMode(QPainter::CompositionMode_Source);
        Painter.drawImage(Area.topLeft(), Picture, Area.translated(-X, -Y));
    }
    if (Into.OnDrawn) Into.OnDrawn(Area);
}

void PaintWindowPicture(TWinControl* Control, TCanvas* Target, int X, int Y) {
    if (!Control || !Target || !Target->Handle()) return;
    QWidget* Window = Control->Widget();
    QImage Picture(Window->size(), QImage::Format_RGB32);
    if (Picture.isNull()) return;
    Picture.fill(ColorToPixel(Control->Color()));
    // The window's background and its own painting; no child widget.
    Window->render(&Picture, QPoint(), QRegion(), QWidget::DrawWindowBackground);
    PutPicture(*Target->Handle(), Picture, X, Y);
}
