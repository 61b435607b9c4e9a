// A left press on the current cell while its editor shows goes on to the
// editor: the caret lands where the mouse was pressed, the editor keeps the
// mouse until the release, and the application sees each press once.
#include "GridEditFixture.h"

#include "grid/model/GridMouseTypes.h"
#include "platform/gui/StdCtrls.h"

#include <QApplication>
#include <QWidget>

#include <string>
#include <vector>

using namespace grid;

namespace {

// Run with the editor always shown over the current cell and with the
// editor shown only once the current cell is clicked.
class MouseToControlTest : public GridEditFixture, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        GridEditFixture::SetUp();
        Grid->SetAlwaysShowEditor(GetParam());
        Grid->SetDefaultColWidth(160);
        Grid->SetCellValue(1, 1, Variant(AnsiString("abcdefghijklmnop")));
        Grid->SetCellValue(1, 2, Variant(AnsiString("second row text")));
        GoTo(1, 1);
        W = Grid->Widget();
        Grid->OnMouseDown = [this](TObject*, TMouseButton, TShiftState S, int, int) {
            Events.push_back(S.Contains(ssDouble) ? "double down" : "down");
        };
        Grid->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int, int) {
            Events.push_back("up");
        };
        QApplication::processEvents();
    }
    QPoint ToWidget(int X, int Y) const {
        const int F = Grid->WindowFrameWidth();
        return QPoint(X + F, Y + F);
    }
    // A point in a display cell, Fraction of the way across it.
    QPoint InCell(int DisplayCol, int DisplayRow, double Fraction) const {
        const TRect R = Grid->CellRect(DisplayCol, DisplayRow);
        return QPoint(R.Left + static_cast<int>((R.Right - R.Left) * Fraction),
                      (R.Top + R.Bottom) / 2);
    }
    // The mouse goes where the operator's would: a press to the window
    // under it (the editor when it covers the point), the moves and the
    // release after it to the window that took the press.
    void Mouse(QEvent::Type T, QPoint P, Qt::MouseButtons Held = Qt::NoButton) {
        const QPoint InGrid = ToWidget(P.x(), P.y());
        if (T == QEvent::MouseButtonPress || T == QEvent::MouseButtonDblClick) {
            QWidget* Under = W->childAt(InGrid);
            Pressed = Under ? Under : W;
        }
        QWidget* Target = Pressed ? Pressed : W;
        SendMouse(Target, T, Target->mapFrom(W, InGrid),
                  T == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, Held);
        QApplication::processEvents();
    }
    TgxCustomGridControl* Ctl() const { return Grid->GridControl(); }
    bool EditorHasFocus() const {
        return Ctl() && Ctl()->Control() &&
               QApplication::focusWidget() == Ctl()->Control()->Widget();
    }

    QWidget* W = nullptr;
    QWidget* Pressed = nullptr;
    std::vector<std::string> Events;
};

// A single click at different places across the current cell.
TEST_P(MouseToControlTest, ClickOnCurrentCellPutsTheCaretUnderTheMouse) {
    const int Len = 16;
    int Last = -1;
    for (double Fraction : {0.15, 0.3, 0.5, 0.95}) {
        SCOPED_TRACE(Fraction);
        Events.clear();
        const QPoint P = InCell(1, 1, Fraction);
        Mouse(QEvent::MouseButtonPress, P);
        EXPECT_TRUE(Ctl()->GetMouseCapture()) << "the editor holds the mouse until the release";
        Mouse(QEvent::MouseButtonRelease, P);
        EXPECT_FALSE(Ctl()->GetMouseCapture());
        EXPECT_EQ(Grid->MouseStatus(), msNormal);
        EXPECT_TRUE(EditorHasFocus());
        EXPECT_EQ(Ctl()->GetSelLength(), 0);
        const int Caret = Ctl()->GetSelStart();
        EXPECT_GT(Caret, Last) << "the caret follows the mouse";
        EXPECT_LE(Caret, Len);
        Last = Caret;
        EXPECT_EQ(Events, (std::vector<std::string>{"down", "up"}));
        EXPECT_EQ(Grid->GetCurrentDataCol(), 1);
        EXPECT_EQ(Grid->GetCurrentDataRow(), 1);
        EXPECT_EQ(EditorText(), "abcdefghijklmnop");
    }
    EXPECT_EQ(Last, Len);
}

// Pressing and dragging inside the current cell selects text in the editor.
TEST_P(MouseToControlTest, DragOnCurrentCellSelectsTextInTheEditor) {
    const QPoint From = InCell(1, 1, 0.1);
    const QPoint To = InCell(1, 1, 0.95);
    Mouse(QEvent::MouseButtonPress, From);
    const int Anchor = Ctl()->GetSelStart();
    Mouse(QEvent::MouseMove, InCell(1, 1, 0.5), Qt::LeftButton);
    Mouse(QEvent::MouseMove, To, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, To);
    EXPECT_EQ(Ctl()->GetSelStart(), Anchor);
    EXPECT_EQ(Ctl()->GetSelStart() + Ctl()->GetSelLength(), 16);
    EXPECT_EQ(Grid->MouseStatus(), msNormal);
    EXPECT_EQ(Grid->GetCurrentDataRow(), 1) << "the drag stays in the editor";
    EXPECT_EQ(EditorText(), "abcdefghijklmnop");
}

// A click on another cell moves there and selects the whole text.
TEST_P(MouseToControlTest, ClickOnAnotherCellSelectsItsWholeText) {
    const QPoint P = InCell(1, 2, 0.5);
    Mouse(QEvent::MouseButtonPress, P);
    Mouse(QEvent::MouseButtonRelease, P);
    EXPECT_EQ(Grid->GetCurrentDataRow(), 2);
    ASSERT_TRUE(Ctl());
    EXPECT_EQ(Ctl()->GetVisible(), GetParam()) << "a hidden editor waits for a click on its cell";
    if (GetParam()) {
        EXPECT_EQ(EditorText(), "second row text");
        EXPECT_EQ(Ctl()->GetSelStart(), 0);
        EXPECT_EQ(Ctl()->GetSelLength(), 15);
    }
    EXPECT_EQ(Events, (std::vector<std::string>{"down", "up"}));
    EXPECT_FALSE(Ctl()->GetMouseCapture());
    EXPECT_EQ(Grid->MouseStatus(), msNormal);
}

// A double click on the current cell reaches the editor as a double click
// and leaves no capture behind.
TEST_P(MouseToControlTest, DoubleClickOnCurrentCellGoesToTheEditor) {
    int Dbl = 0;
    Grid->OnDblClick = [&](TObject*) { ++Dbl; };
    const QPoint P = InCell(1, 1, 0.5);
    Mouse(QEvent::MouseButtonPress, P);
    Mouse(QEvent::MouseButtonRelease, P);
    Mouse(QEvent::MouseButtonDblClick, P);
    Mouse(QEvent::MouseButtonRelease, P);
    EXPECT_FALSE(Ctl()->GetMouseCapture());
    EXPECT_EQ(Grid->MouseStatus(), msNormal);
    EXPECT_TRUE(EditorHasFocus());
    EXPECT_EQ(Grid->GetCurrentDataRow(), 1);
    EXPECT_EQ(EditorText(), "abcdefghijklmnop");
    EXPECT_EQ(Dbl, 1);
    // Each press and release is seen once by the application.
    EXPECT_EQ(Events.size(), 4u) << ::testing::PrintToString(Events);
}

// A double click that reaches the grid itself while the editor shows on the
// current cell (the editor does not cover the whole cell) is handed to the
// editor as a plain press that the application does not hear again; the
// editor then holds the mouse, so the release and its click are the
// editor's, and no capture is left behind.
TEST_P(MouseToControlTest, DoubleClickReachingTheGridGoesToTheEditor) {
    int Clicks = 0;
    Grid->OnClick = [&](TObject*) { ++Clicks; };
    const QPoint P = InCell(1, 1, 0.5);
    Mouse(QEvent::MouseButtonPress, P);
    Mouse(QEvent::MouseButtonRelease, P);
    ASSERT_TRUE(Ctl()->GetVisible());
    const int Caret = Ctl()->GetSelStart();
    Clicks = 0;
    Events.clear();
    Pressed = W;
    SendMouse(W, QEvent::MouseButtonDblClick, ToWidget(P.x(), P.y()));
    QApplication::processEvents();
    Mouse(QEvent::MouseButtonRelease, P);
    EXPECT_EQ(Clicks, 1) << "the editor's click, not a second one of the grid";
    EXPECT_EQ(GetCaptureControl(), nullptr);
    EXPECT_EQ(Grid->MouseStatus(), msNormal);
    EXPECT_TRUE(EditorHasFocus());
    EXPECT_EQ(Grid->GetCurrentDataRow(), 1);
    EXPECT_EQ(EditorText(), "abcdefghijklmnop");
    EXPECT_EQ(Ctl()->GetSelStart(), Caret) << "the caret stays where both presses landed";
    EXPECT_EQ(Events, std::vector<std::string>{"up"})
        << "the press handed on for a double click is not reported as a new press";
}

// A click on the current cell while another control has the keyboard
// brings the keyboard back to the cell's editor, the caret under the mouse.
TEST_P(MouseToControlTest, ClickFromAnotherControlFocusesTheEditorAtTheMouse) {
    auto* Other = new TEdit(Form);
    Other->SetParent(Form);
    Other->SetBounds(450, 10, 100, 24);
    Other->SetFocus();
    QApplication::processEvents();
    ASSERT_FALSE(EditorHasFocus());
    const QPoint P = InCell(1, 1, 0.5);
    Mouse(QEvent::MouseButtonPress, P);
    Mouse(QEvent::MouseButtonRelease, P);
    ASSERT_TRUE(Ctl()->GetVisible());
    EXPECT_TRUE(EditorHasFocus());
    EXPECT_EQ(Ctl()->GetSelLength(), 0) << "the caret, not a selection";
    EXPECT_GT(Ctl()->GetSelStart(), 0);
    EXPECT_LT(Ctl()->GetSelStart(), 16);
    EXPECT_EQ(GetCaptureControl(), nullptr);
    EXPECT_EQ(Grid->MouseStatus(), msNormal);
    EXPECT_EQ(Events, (std::vector<std::string>{"down", "up"}));
}

// A right press on the current cell is the grid's: it neither opens a
// hidden editor nor moves the caret of a shown one.
TEST_P(MouseToControlTest, RightPressOnCurrentCellStaysWithTheGrid) {
    const bool WasShown = Ctl()->GetVisible();
    const int Caret = Ctl()->GetSelStart();
    const int Sel = Ctl()->GetSelLength();
    const QPoint P = ToWidget(InCell(1, 1, 0.5).x(), InCell(1, 1, 0.5).y());
    SendMouse(W, QEvent::MouseButtonPress, P, Qt::RightButton);
    SendMouse(W, QEvent::MouseButtonRelease, P, Qt::RightButton);
    QApplication::processEvents();
    EXPECT_EQ(Ctl()->GetVisible(), WasShown);
    EXPECT_EQ(Ctl()->GetSelStart(), Caret);
    EXPECT_EQ(Ctl()->GetSelLength(), Sel);
    EXPECT_EQ(Events, (std::vector<std::string>{"down", "up"}));
    EXPECT_EQ(GetCaptureControl(), nullptr);
    EXPECT_EQ(Grid->MouseStatus(), msNormal);
}

INSTANTIATE_TEST_SUITE_P(EditorShown, MouseToControlTest, ::testing::Bool(),
                         [](const auto& I) { return I.param ? "Always" : "OnClick"; });

} // namespace
