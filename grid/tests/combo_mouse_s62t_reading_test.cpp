// Pressing a combo cell's button opens the list and hands the held mouse on
// to it: dragging into the list and releasing on an entry picks that entry.
#include "DropDownFixture.h"

#include "grid/model/GridMouseTypes.h"

#include <QApplication>
#include <QWidget>

using namespace grid;

namespace {

class ComboMouseTest : public DropDownFixture {
protected:
    void SendToGrid(QEvent::Type T, QPoint Client, Qt::MouseButtons Held = Qt::NoButton) {
        const int F = Grid->WindowFrameWidth();
        SendMouse(Grid->Widget(), T, Client + QPoint(F, F),
                  T == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, Held);
        QApplication::processEvents();
    }
    // The grid-client point over the middle of a display row of the list.
    QPoint OverListRow(int DisplayRow) {
        TgxComboGrid* List = DroppedList();
        const TRect R = List->CellRect(1, DisplayRow);
        const int F = List->WindowFrameWidth();
        const QPoint InList((R.Left + R.Right) / 2 + F, (R.Top + R.Bottom) / 2 + F);
        const QPoint Global = List->Widget()->mapToGlobal(InList);
        const int GF = Grid->WindowFrameWidth();
        return Grid->Widget()->mapFromGlobal(Global) - QPoint(GF, GF);
    }
};

TEST_F(ComboMouseTest, PressOnButtonDragIntoListAndReleasePicksTheEntry) {
    GiveColumnList(1, {"alpha", "beta", "gamma", "delta"});
    GoTo(1, 1);
    Grid->SetFocus();
    QApplication::processEvents();
    const TRect Cell = Grid->CellRect(Grid->GetDisplayCol(1), Grid->GetDisplayRow(1));
    const QPoint OnButton(Cell.Right - 5, (Cell.Top + Cell.Bottom) / 2);
    SendToGrid(QEvent::MouseButtonPress, OnButton);
    ASSERT_TRUE(Grid->ComboVisible());

    // The first move over the list hands the held mouse on to it.
    SendToGrid(QEvent::MouseMove, OverListRow(DroppedList()->GetDisplayRow(2)), Qt::LeftButton);
    EXPECT_TRUE(DroppedList()->MouseCapture()) << "the held mouse goes on to the list";
    const QPoint Third = OverListRow(DroppedList()->GetDisplayRow(3));
    SendToGrid(QEvent::MouseMove, Third, Qt::LeftButton);
    EXPECT_EQ(ListRow(), 3) << "the list follows the held mouse";
    SendToGrid(QEvent::MouseButtonRelease, Third);
    EXPECT_FALSE(Grid->ComboVisible());
    EXPECT_EQ(CurrentText(), "gamma");
    EXPECT_EQ(Grid->MouseStatus(), msNormal);
    EXPECT_EQ(DroppedList()->MouseStatus(), msNormal);
    EXPECT_EQ(GetCaptureControl(), nullptr);
}

// In a list-only combo cell the text cannot be typed: a click anywhere on
// the current cell opens the list, with its row on the cell's value when the
// list searches.
TEST_F(ComboMouseTest, ClickOnListOnlyCellOpensTheList) {
    GiveColumnList(1, {"alpha", "beta", "gamma"});
    Grid->GetCol(1)->GetCombo()->SetDropDownStyle(ddDropDownList);
    Grid->GetCol(1)->GetCombo()->SetAutoSearch(asTop);
    Grid->SetStoreData(true);
    Grid->SetCellValue(1, 1, Variant(AnsiString("beta")));
    GoTo(1, 1);
    Grid->SetFocus();
    QApplication::processEvents();
    const TRect Cell = Grid->CellRect(Grid->GetDisplayCol(1), Grid->GetDisplayRow(1));
    const QPoint Mid((Cell.Left + Cell.Right) / 2 - 10, (Cell.Top + Cell.Bottom) / 2);
    // The press lands on whatever window lies under it: the editor or the grid.
    QWidget* Under = Grid->Widget()->childAt(Mid + QPoint(Grid->WindowFrameWidth(),
                                                          Grid->WindowFrameWidth()));
    QWidget* Target = Under ? Under : Grid->Widget();
    const QPoint P = Target->mapFrom(Grid->Widget(), Mid + QPoint(Grid->WindowFrameWidth(),
                                                                  Grid->WindowFrameWidth()));
    SendMouse(Target, QEvent::MouseButtonPress, P);
    QApplication::processEvents();
    SendMouse(Target, QEvent::MouseButtonRelease, P);
    QApplication::processEvents();
    EXPECT_TRUE(Grid->ComboVisible());
    EXPECT_EQ(CurrentText(), "beta");
    if (Grid->ComboVisible()) EXPECT_EQ(ListRow(), 2);
    EXPECT_EQ(GetCaptureControl(), nullptr);
    EXPECT_EQ(Grid->MouseStatus(), msNormal);
}

} // namespace
