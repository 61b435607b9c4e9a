#pragma once
// A shown, focused grid and real mouse input to it in the grid's client
// coordinates (the grid's frame lies around its client area).
#include "ShownGridFixture.h"

#include "platform/gui/tests/GuiTestSupport.h"

#include <QApplication>
#include <QWidget>

class ShownMouseFixture : public ShownGridFixture {
protected:
    void ShowFocused(int Cols, int Rows) {
        ShowGrid(Cols, Rows);
        ShowActive(*Form);
        Grid->SetFocus();
        W = Grid->Widget();
        // What showing the form queued is handled first: a mouse held
        // still outside the grid sends nothing more.
        QApplication::processEvents();
    }
    QPoint At(QPoint P) const {
        const int F = Grid->WindowFrameWidth();
        return P + QPoint(F, F);
    }
    QPoint CellMid(int DisplayCol, int DisplayRow) const {
        const TRect R = Grid->CellRect(DisplayCol, DisplayRow);
        return QPoint((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
    }
    // The x of a display column's right grid line, the y of a display
    // row's bottom grid line.
    int ColEdge(int DisplayCol) const { return Grid->CellRect(DisplayCol, 0).Right; }
    int RowEdge(int DisplayRow) const { return Grid->CellRect(0, DisplayRow).Bottom; }
    void Press(QPoint P, Qt::MouseButton B = Qt::LeftButton) {
        SendMouse(W, QEvent::MouseButtonPress, At(P), B);
    }
    void Move(QPoint P, Qt::MouseButtons Held = Qt::LeftButton) {
        SendMouse(W, QEvent::MouseMove, At(P), Qt::NoButton, Held);
    }
    void Release(QPoint P, Qt::MouseButton B = Qt::LeftButton) {
        SendMouse(W, QEvent::MouseButtonRelease, At(P), B);
    }
    void DoubleClick(QPoint P) {
        Press(P);
        Release(P);
        SendMouse(W, QEvent::MouseButtonDblClick, At(P));
        Release(P);
    }

    QWidget* W = nullptr;
};
