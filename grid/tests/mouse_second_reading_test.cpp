// Clicks with Shift and Ctrl on the row bar, the headings, the corner and
// the cells of a shown grid, sent as real mouse events.
#include "ShownGridFixture.h"
#include "grid/model/Columns.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QWidget>

#include <string>
#include <vector>

namespace {

using namespace grid;

class MouseSelectSecondReading : public ShownGridFixture {
protected:
    void Show(TgxGridMode Mode, TgxRowSelectMode Rows) {
        ShowGrid(4, 6);
        Grid->SetGridMode(Mode);
        Grid->SetRowSelectMode(Rows);
        Grid->SetFocus();
        Settle();
    }
    void Settle() {
        QApplication::processEvents();
        Grid->Update();
    }
    QPoint Centre(int DisplayCol, int DisplayRow) const {
        TRect R = Grid->CellRect(DisplayCol, DisplayRow);
        return QPoint((R.Left + R.Right) / 2 + (DisplayCol == 0 ? 0 : 8), (R.Top + R.Bottom) / 2);
    }
    void Send(QEvent::Type Type, QPoint P, Qt::MouseButtons Buttons, Qt::KeyboardModifiers Mods) {
        // As the window system does: to the child under the mouse, if any.
        QWidget* W = Grid->Widget();
        QWidget* Target = W->childAt(P) ? W->childAt(P) : W;
        QPoint Local = Target->mapFrom(W, P);
        QMouseEvent E(Type, QPointF(Local), QPointF(W->mapToGlobal(P)), Qt::LeftButton, Buttons,
                      Mods);
        QApplication::sendEvent(Target, &E);
    }
    void Press(int Col, int Row, Qt::KeyboardModifiers Mods = Qt::NoModifier) {
        Send(QEvent::MouseButtonPress, Centre(Col, Row), Qt::LeftButton, Mods);
    }
    void Release(int Col, int Row, Qt::KeyboardModifiers Mods = Qt::NoModifier) {
        Send(QEvent::MouseButtonRelease, Centre(Col, Row), Qt::NoButton, Mods);
        Settle();
    }
    void Click(int Col, int Row, Qt::KeyboardModifiers Mods = Qt::NoModifier) {
        Press(Col, Row, Mods);
        Release(Col, Row, Mods);
    }
    std::vector<int> SelectedRows() const {
        std::vector<int> R;
        for (int Row = 1; Row <= Grid->GetGridRowCount(); ++Row)
            if (Grid->IsRowSelected(Row)) R.push_back(Row);
        return R;
    }
    std::vector<int> SelectedCols() const {
        std::vector<int> C;
        for (int Col = 1; Col <= Grid->GetGridColCount(); ++Col)
            if (Grid->IsCellSelected(Col, 0) || Grid->ColRangeSelected(Col, Col)) C.push_back(Col);
        return C;
    }
    QImage Shot() {
        Settle();
        return Grid->Widget()->grab().toImage();
    }
    QImage FreshShot() {
        Grid->Invalidate();
        return Shot();
    }
};

using Indexes = std::vector<int>;
constexpr auto CtrlMod = Qt::ControlModifier;
constexpr auto ShiftMod = Qt::ShiftModifier;

TEST_F(MouseSelectSecondReading, RowBarClicksWithModifiersInMultiMode) {
    struct Step { int Row; Qt::KeyboardModifiers Mods; Indexes Expected; int Current; };
    const Step Steps[] = {
        {2, Qt::NoModifier, {2}, 2},
        {4, CtrlMod, {2, 4}, 4},
        {5, ShiftMod, {4, 5}, 5},         // span from the anchor (4), the rest dropped
        {2, ShiftMod | CtrlMod, {2, 3, 4, 5}, 2}, // anchor 5 selected: the span is added
        {3, CtrlMod, {2, 4, 5}, 3},       // toggled off
        {6, Qt::NoModifier, {6}, 6},
    };
    Show(gmEdit, rsMulti);
    for (const auto& S : Steps) {
        SCOPED_TRACE(S.Row);
        Click(0, S.Row, S.Mods);
        EXPECT_EQ(SelectedRows(), S.Expected);
        EXPECT_EQ(Grid->GetCurrentDataRow(), S.Current);
        EXPECT_EQ(Grid->GridStatus(), grRowSelect);
        EXPECT_EQ(Shot(), FreshShot()); // what was inverted is what a repaint shows
    }
}

TEST_F(MouseSelectSecondReading, ShiftClickWithAnUnselectedAnchorOnlyMovesTheCurrentRow) {
    Show(gmEdit, rsMulti);
    Click(0, 2);
    Click(0, 4, CtrlMod);
    Click(0, 4, CtrlMod); // anchor 4, now unselected
    ASSERT_EQ(SelectedRows(), (Indexes{2}));
    Click(0, 6, ShiftMod);
    EXPECT_EQ(SelectedRows(), Indexes{});
    EXPECT_EQ(Grid->GetCurrentDataRow(), 6);
    EXPECT_EQ(Grid->GridStatus(), grNormal);
    EXPECT_EQ(Shot(), FreshShot());
}

TEST_F(MouseSelectSecondReading, CtrlClickInSingleModeActsAsAPlainClick) {
    Show(gmEdit, rsSingle);
    Click(0, 2);
    Click(0, 4, CtrlMod);
    EXPECT_EQ(SelectedRows(), (Indexes{4}));
    EXPECT_EQ(Grid->GetCurrentDataRow(), 4);
}

TEST_F(MouseSelectSecondReading, PlainPressOnASelectedRowStartsMovingWhenAllowed) {
    Show(gmEdit, rsMulti);
    Grid->SetRowMoving(true);
    Click(0, 2);
    Click(0, 3, ShiftMod);
    ASSERT_EQ(SelectedRows(), (Indexes{2, 3}));
    Press(0, 3);
    EXPECT_EQ(Grid->MouseStatus(), msRowMove);
    EXPECT_EQ(SelectedRows(), (Indexes{2, 3}));
    Release(0, 3);
    EXPECT_EQ(Grid->MouseStatus(), msNormal);
    EXPECT_EQ(SelectedRows(), (Indexes{2, 3}));
}

TEST_F(MouseSelectSecondReading, FrozenRowsAndColumnsNeedSelectFixed) {
    Show(gmEdit, rsMulti);
    Grid->SetColSelectMode(csMulti);
    Grid->SetFixedRowCount(1);
    Grid->SetFixedColCount(1);
    Settle();
    Grid->SetSelectFixed(false);
    Click(0, 1);
    EXPECT_EQ(SelectedRows(), Indexes{});
    Click(1, 0);
    EXPECT_EQ(SelectedCols(), Indexes{});
    Grid->SetSelectFixed(true);
    Click(0, 1);
    EXPECT_EQ(SelectedRows(), (Indexes{1}));
}

TEST_F(MouseSelectSecondReading, CornerClickTogglesAllRowsAndSelectAllAlwaysSelects) {
    Show(gmEdit, rsMulti);
    Click(0, 0);
    EXPECT_EQ(SelectedRows(), (Indexes{1, 2, 3, 4, 5, 6}));
    Click(0, 0);
    EXPECT_EQ(SelectedRows(), Indexes{});
    Grid->SelectAll();
    Grid->SelectAll();
    EXPECT_EQ(SelectedRows(), (Indexes{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(Shot(), FreshShot());
}

TEST_F(MouseSelectSecondReading, HeadingClicksSelectColumns) {
    Show(gmEdit, rsMulti);
    Grid->SetColSelectMode(csMulti);
    Click(0, 3); // a row selection is dropped by a column click
    struct Step { int Col; Qt::KeyboardModifiers Mods; Indexes Expected; int Current; };
    const Step Steps[] = {
        {2, Qt::NoModifier, {2}, 2},
        {4, ShiftMod, {2, 3, 4}, 2}, // the current column is the anchor and stays
        {3, CtrlMod, {2, 4}, 3},
        {1, Qt::NoModifier, {1}, 1},
    };
    for (const auto& S : Steps) {
        SCOPED_TRACE(S.Col);
        Click(S.Col, 0, S.Mods);
        EXPECT_EQ(SelectedCols(), S.Expected);
        EXPECT_EQ(SelectedRows(), Indexes{});
        EXPECT_EQ(Grid->GetCurrentDataCol(), S.Current);
        EXPECT_EQ(Grid->GridStatus(), grColSelect);
        EXPECT_EQ(Shot(), FreshShot());
    }
}

TEST_F(MouseSelectSecondReading, PlainCellClickMovesAndDropsTheSelection) {
    Show(gmEdit, rsMulti);
    Click(0, 2);
    Click(0, 4, ShiftMod);
    std::vector<std::string> Log;
    Grid->OnRowChanged = [&](TObject*, int O, int N) {
        Log.push_back("row " + std::to_string(O) + ">" + std::to_string(N));
    };
    Click(3, 5);
    EXPECT_EQ(SelectedRows(), Indexes{});
    EXPECT_EQ(Grid->GridStatus(), grNormal);
    EXPECT_EQ(Grid->GetCurrentDataCol(), 3);
    EXPECT_EQ(Grid->GetCurrentDataRow(), 5);
    EXPECT_EQ(Log, (std::vector<std::string>{"row 4>5"}));
    EXPECT_EQ(Shot(), FreshShot());
}

TEST_F(MouseSelectSecondReading, RangeSelectionStartsAtTheLeftStripAndGrowsWithShift) {
    Show(gmEdit, rsNone);
    Grid->SetCellSelectMode(cmRange);
    TRect R = Grid->CellRect(2, 2);
    QPoint Strip(R.Left + 2, (R.Top + R.Bottom) / 2);
    Send(QEvent::MouseButtonPress, Strip, Qt::LeftButton, Qt::NoModifier);
    EXPECT_EQ(Grid->MouseStatus(), msCellSelect);
    Send(QEvent::MouseButtonRelease, Strip, Qt::NoButton, Qt::NoModifier);
    Settle();
    TRect To = Grid->CellRect(3, 4);
    QPoint ToStrip(To.Left + 2, (To.Top + To.Bottom) / 2);
    Send(QEvent::MouseButtonPress, ToStrip, Qt::LeftButton, ShiftMod);
    Send(QEvent::MouseButtonRelease, ToStrip, Qt::NoButton, ShiftMod);
    Settle();
    EXPECT_FALSE(Grid->IsCellSelected(1, 3));
    EXPECT_TRUE(Grid->IsCellSelected(2, 3));
    EXPECT_TRUE(Grid->IsCellSelected(3, 4));
    EXPECT_FALSE(Grid->IsCellSelected(4, 4));
    EXPECT_EQ(Shot(), FreshShot());
}

TEST_F(MouseSelectSecondReading, ListBoxClicksSelectTheRowAndTheCornerNeedsMultiMode) {
    Show(gmListBox, rsSingle);
    Click(2, 3);
    EXPECT_EQ(SelectedRows(), (Indexes{3}));
    EXPECT_EQ(Grid->GetCurrentDataRow(), 3);
    Click(3, 5, CtrlMod);
    EXPECT_EQ(SelectedRows(), (Indexes{5}));
    Click(0, 0);
    EXPECT_EQ(SelectedRows(), (Indexes{5}));
    EXPECT_EQ(Shot(), FreshShot());
}

TEST_F(MouseSelectSecondReading, ClickOnTheCurrentCheckCellTogglesIt) {
    Show(gmEdit, rsMulti);
    Grid->SetStoreData(true);
    Grid->GetCol(Variant(2))->SetControlType(ctCheck);
    Grid->SetCellValue(2, 2, Variant(0));
    Click(2, 2); // becomes current
    Click(2, 2);
    Settle();
    std::vector<int> Seen{Grid->GetCellValue(2, 2).AsInteger()};
    Click(2, 2);
    Seen.push_back(Grid->GetCellValue(2, 2).AsInteger());
    EXPECT_NE(Seen[0], Seen[1]);
    EXPECT_NE(Seen[0], 2);
}

TEST_F(MouseSelectSecondReading, CursorFollowsWhatAClickThereWouldDo) {
    Show(gmEdit, rsMulti);
    Grid->SetRowMoving(true);
    Click(0, 5); // row 5 selected and movable
    auto Strip = [&](int C, int R) {
        TRect Rc = Grid->CellRect(C, R);
        return QPoint(Rc.Left + 2, (Rc.Top + Rc.Bottom) / 2);
    };
    TRect Last = Grid->CellRect(2, 6);
    struct Case { const char* Where; QPoint At; Qt::CursorShape Shape; } Cases[] = {
        {"row bar", Centre(0, 3), Qt::BitmapCursor},
        {"selected movable row", Centre(0, 5), Qt::ArrowCursor},
        {"heading", Centre(2, 0), Qt::BitmapCursor},
        {"range strip", Strip(2, 3), Qt::BitmapCursor},
        {"text cell", Centre(3, 3), Qt::IBeamCursor},
        {"below the rows", QPoint(Last.Left + 10, Last.Bottom + 20), Qt::ArrowCursor},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Where);
        Send(QEvent::MouseMove, C.At, Qt::NoButton, Qt::NoModifier);
        EXPECT_EQ(Grid->Widget()->cursor().shape(), C.Shape);
    }
}

TEST_F(MouseSelectSecondReading, HeadingWithoutColumnSelectionMovesInTheCurrentRow) {
    Show(gmEdit, rsMulti);
    Click(1, 3);
    Grid->SetColSelectMode(csNone);
    Grid->SetColMoving(false);
    Click(3, 0);
    EXPECT_EQ(Grid->GetCurrentDataCol(), 3);
    EXPECT_EQ(Grid->GetCurrentDataRow(), 3);
    EXPECT_EQ(SelectedCols(), Indexes{});
    EXPECT_EQ(Grid->GridStatus(), grNormal);
}

TEST_F(MouseSelectSecondReading, PlainPressOnASelectedColumnStartsMovingWhenAllowed) {
    Show(gmEdit, rsMulti);
    Grid->SetColSelectMode(csMulti);
    Grid->SetColMoving(true);
    Click(2, 0);
    Click(3, 0, ShiftMod);
    ASSERT_EQ(SelectedCols(), (Indexes{2, 3}));
    Press(3, 0);
    EXPECT_EQ(Grid->MouseStatus(), msColMove);
    Release(3, 0);
    EXPECT_EQ(Grid->MouseStatus(), msNormal);
    EXPECT_EQ(SelectedCols(), (Indexes{2, 3}));
}

} // namespace
