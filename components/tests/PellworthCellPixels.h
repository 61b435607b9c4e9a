#pragma once
// Pixel reads of a company grid shown on its form: a picture of the grid as
// its window shows it, and the pixels of one data cell that match a test,
// the cell's frame left out.
#include "components/PellworthGrid.h"
#include "platform/gui/Forms.h"

#include <QApplication>
#include <QImage>
#include <QWidget>

#include <functional>

inline QImage GridPicture(components::TPellworthGrid& Grid) {
    Grid.Invalidate();
    QApplication::processEvents();
    return Grid.Widget()->grab().toImage();
}

inline int CellPixels(components::TPellworthGrid& Grid, TForm& Form, const QImage& Image,
                      int DataCol, int DataRow, const std::function<bool(QRgb)>& Match) {
    const TRect Rect = Grid.CellRect(Grid.GetDisplayCol(DataCol), Grid.GetDisplayRow(DataRow));
    const TPoint Client = Grid.ClientToScreen(Point(0, 0));
    const TPoint Outer = Form.ClientToScreen(Point(Grid.Left(), Grid.Top()));
    int N = 0;
    for (int Y = Rect.Top + 2; Y < Rect.Bottom - 2; ++Y)
        for (int X = Rect.Left + 2; X < Rect.Right - 2; ++X)
            N += Match(Image.pixel(Client.X - Outer.X + X, Client.Y - Outer.Y + Y));
    return N;
}

// Text ink: dark pixels.
inline bool InkPixel(QRgb P) { return qGray(P) < 100; }
