#pragma once
// Pixel reads of a grid as its window shows it, in the grid's client
// coordinates.
#include "ShownGridFixture.h"
#include "platform/gui/tests/GuiTestSupport.h"

#include <QApplication>
#include <QImage>
#include <QWidget>

#include <vector>

class ShownGridPixels : public ShownGridFixture {
protected:
    // Shows the grid focused with the current cell at (2, 2).
    void ShowFocused(int ColCount, int RowCount) {
        ShowGrid(ColCount, RowCount);
        Grid->SetStoreData(true);
        // A browsing grid: no in-place editor takes the focus or covers the frame.
        Grid->SetGridMode(grid::gmBrowse);
        ShowActive(*Form);
        QApplication::processEvents();
        Grid->SetFocus();
        QApplication::processEvents();
        Grid->SetCol(2);
        Grid->SetRow(2);
        QApplication::processEvents();
    }
    QImage Shot() {
        QApplication::processEvents();
        Image = Grid->Widget()->grab().toImage();
        return Image;
    }
    TPoint ClientOrigin() {
        const TPoint Client = Grid->ClientToScreen(Point(0, 0));
        const TPoint Outer = Grid->Parent()->ClientToScreen(Point(Grid->Left(), Grid->Top()));
        return Point(Client.X - Outer.X, Client.Y - Outer.Y);
    }
    // The pixel at client point (X, Y) of the last shot.
    TColor At(int X, int Y) {
        const TPoint O = ClientOrigin();
        const QRgb P = Image.pixel(O.X + X, O.Y + Y);
        return static_cast<TColor>(qRed(P) | qGreen(P) << 8 | qBlue(P) << 16);
    }
    std::vector<TColor> Pixels(const TRect& R) {
        std::vector<TColor> Out;
        for (int Y = R.Top; Y < R.Bottom; ++Y)
            for (int X = R.Left; X < R.Right; ++X) Out.push_back(At(X, Y));
        return Out;
    }
    int CountOf(const TRect& R, TColor C) {
        int N = 0;
        for (const TColor P : Pixels(R)) N += P == C;
        return N;
    }
    QImage Image;
};
