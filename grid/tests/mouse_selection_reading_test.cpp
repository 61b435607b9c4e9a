// Clicks with the mouse, as Qt delivers them, on the row bar, the headings,
// the corner and the cells: what each selects and where the current cell
// goes.
#include "GridSelectFixture.h"

#include "grid/model/InplaceControl.h"
#include "grid/view/GridResources.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

#include <set>
#include <vector>

using namespace gridselect;

namespace {

enum class At { Centre, LeftStrip };

class MouseSelection : public SelectionGrid {
protected:
    void SetUp() override {
        SelectionGrid::SetUp();
        Grid->SetSelectionType(sltInvert);
        Grid->Invalidate();
        Grid->Update();
        Grid->SetFocus();
    }
    TPoint PointOf(int Col, int Row, At Where = At::Centre) {
        const TRect R = Grid->CellRect(Col, Row);
        return Where == At::LeftStrip ? TPoint{R.Left + 1, (R.Top + R.Bottom) / 2}
                                      : TPoint{(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2};
    }
    void Send(QEvent::Type Type, TPoint P, Qt::KeyboardModifiers Mods) {
        QWidget* W = Grid->ClientWidget();
        const QPointF Pos(P.X, P.Y);
        const bool Up = Type == QEvent::MouseButtonRelease;
        QMouseEvent E(Type, Pos, W->mapToGlobal(Pos), Qt::LeftButton,
                      Up ? Qt::NoButton : Qt::LeftButton, Mods);
        QApplication::sendEvent(W, &E);
    }
    void Click(int Col, int Row, Qt::KeyboardModifiers Mods = Qt::NoModifier,
               At Where = At::Centre) {
        const TPoint P = PointOf(Col, Row, Where);
        Send(QEvent::MouseButtonPress, P, Mods);
        Send(QEvent::MouseButtonRelease, P, Mods);
    }
    void DoubleClick(int Col, int Row) {
        const TPoint P = PointOf(Col, Row);
        Send(QEvent::MouseButtonPress, P, Qt::NoModifier);
        Send(QEvent::MouseButtonRelease, P, Qt::NoModifier);
        Send(QEvent::MouseButtonDblClick, P, Qt::NoModifier);
        Send(QEvent::MouseButtonRelease, P, Qt::NoModifier);
    }
    std::set<int> Rows() { return Marks(Grid->RowSelection()); }
    std::set<int> Cols() { return Marks(Grid->ColSelection()); }
};

constexpr auto Ctrl = Qt::ControlModifier;
constexpr auto Shift = Qt::ShiftModifier;
const Qt::KeyboardModifiers ShiftCtrl = Qt::ShiftModifier | Qt::ControlModifier;

TEST_F(MouseSelection, RowBarClicksWithTheirModifiers) {
    struct Step {
        int Row;
        Qt::KeyboardModifiers Mods;
        std::set<int> Selected;
        int CurrentRow;
    };
    struct Case {
        const char* Name;
        TgxRowSelectMode Mode;
        std::vector<Step> Steps;
    };
    const Case Cases[] = {
        {"shift spans from the anchor",
         rsMulti,
         {{3, Qt::NoModifier, {3}, 3}, {6, Shift, {3, 4, 5, 6}, 6}, {4, Shift, {3, 4}, 4}}},
        {"ctrl toggles and moves the current row",
         rsMulti,
         {{3, Qt::NoModifier, {3}, 3}, {6, Ctrl, {3, 6}, 6}, {3, Ctrl, {6}, 3}}},
        {"shift+ctrl adds the span from a selected anchor",
         rsMulti,
         {{3, Qt::NoModifier, {3}, 3}, {6, Ctrl, {3, 6}, 6}, {8, ShiftCtrl, {3, 6, 7, 8}, 8}}},
        {"shift from an unselected anchor only moves",
         rsMulti,
         {{3, Qt::NoModifier, {3}, 3}, {5, Ctrl, {3, 5}, 5}, {5, Ctrl, {3}, 5}, {8, Shift, {}, 8}}},
        {"a plain click elsewhere keeps just that row",
         rsMulti,
         {{3, Qt::NoModifier, {3}, 3}, {6, Ctrl, {3, 6}, 6}, {9, Qt::NoModifier, {9}, 9}}},
        {"ctrl in single mode is a plain click",
         rsSingle,
         {{3, Qt::NoModifier, {3}, 3}, {6, Ctrl, {6}, 6}, {7, Shift, {7}, 7}}},
    };
    for (const Case& C : Cases) {
        Grid->SetRowSelectMode(C.Mode);
        Grid->ResetSelection();
        for (const Step& S : C.Steps) {
            Reported.clear();
            Click(0, S.Row, S.Mods);
            EXPECT_EQ(Rows(), S.Selected) << C.Name << ", row " << S.Row;
            EXPECT_EQ(Grid->Row(), S.CurrentRow) << C.Name << ", row " << S.Row;
            EXPECT_EQ(Grid->GridStatus(), S.Selected.empty() ? grNormal : grRowSelect)
                << C.Name << ", row " << S.Row;
            EXPECT_EQ(Grid->MouseStatus(), msNormal) << C.Name;
            if (!Reported.empty()) EXPECT_TRUE(LastByUser) << C.Name;
        }
    }
}

TEST_F(MouseSelection, HeadingClicksWithTheirModifiers) {
    Click(3, 0);
    EXPECT_EQ(Cols(), std::set<int>{3});
    EXPECT_EQ(Grid->Col(), 3);
    EXPECT_EQ(Grid->GridStatus(), grColSelect);
    Click(5, 0, Ctrl);
    EXPECT_EQ(Cols(), (std::set<int>{3, 5}));
    EXPECT_EQ(Grid->Col(), 5);
    Click(7, 0, Shift);
    EXPECT_EQ(Cols(), (std::set<int>{5, 6, 7}));
    Click(3, 0, Ctrl);
    Click(3, 0, Ctrl);
    EXPECT_EQ(Cols(), (std::set<int>{5, 6, 7}));
    Click(4, 0);
    EXPECT_EQ(Cols(), std::set<int>{4});

    // Without column selection or moving a heading click is a click on that column's
    // cell in the current row.
    Grid->SetColSelectMode(csNone);
    Grid->SetColMoving(false);
    Grid->ResetSelection();
    const int Row = Grid->Row();
    Click(6, 0);
    EXPECT_TRUE(Cols().empty());
    EXPECT_EQ(Grid->Col(), 6);
    EXPECT_EQ(Grid->Row(), Row);
}

TEST_F(MouseSelection, FrozenCellsNeedSelectFixed) {
    Grid->SetFixedColCount(1);
    Grid->SetFixedRowCount(1);
    for (bool Fixed : {false, true}) {
        Grid->SetSelectFixed(Fixed);
        Grid->ResetSelection();
        Click(1, 0);
        EXPECT_EQ(Cols().count(1), Fixed ? 1u : 0u) << Fixed;
        Grid->ResetSelection();
        Click(0, 1);
        EXPECT_EQ(Rows().count(1), Fixed ? 1u : 0u) << Fixed;
        Grid->ResetSelection();
        Click(4, 0);
        EXPECT_EQ(Cols(), std::set<int>{4}) << Fixed;
    }
}

TEST_F(MouseSelection, TheCornerSelectsEveryRowOrUnselectsThemAll) {
    Click(0, 0);
    EXPECT_EQ(Grid->RowSelection().Count(), 40);
    EXPECT_TRUE(LastByUser);
    Click(0, 0);
    EXPECT_EQ(Grid->RowSelection().Count(), 0);
    EXPECT_EQ(Grid->GridStatus(), grNormal);
    Grid->SelectAll();
    Grid->SelectAll();
    EXPECT_EQ(Grid->RowSelection().Count(), 40);
}

TEST_F(MouseSelection, APlainClickOnASelectedRowStartsAMoveWithRowMoving) {
    Grid->SetRowMoving(true);
    Click(0, 3);
    const TPoint P = PointOf(0, 3);
    Send(QEvent::MouseButtonPress, P, Qt::NoModifier);
    EXPECT_EQ(Grid->MouseStatus(), msRowMove);
    EXPECT_EQ(Rows(), std::set<int>{3});
    Send(QEvent::MouseButtonRelease, P, Qt::NoModifier);
    EXPECT_EQ(Grid->MouseStatus(), msNormal);
    EXPECT_EQ(Rows(), std::set<int>{3});
    EXPECT_EQ(Grid->GetDataRow(3), 3);
}

TEST_F(MouseSelection, RangesStartInTheCellsLeftStripAndGrowWithShift) {
    Click(2, 2, Qt::NoModifier, At::LeftStrip);
    EXPECT_EQ(Grid->GridStatus(), grCellSelect);
    EXPECT_EQ(Grid->SelectedRange(), (TRect{2, 2, 2, 2}));
    Click(4, 5, Shift, At::LeftStrip);
    EXPECT_EQ(Grid->SelectedRange(), (TRect{2, 2, 4, 5}));
    Click(1, 1, Shift, At::LeftStrip);
    EXPECT_EQ(Grid->SelectedRange(), (TRect{1, 1, 2, 2}));
    EXPECT_TRUE(LastByUser);
    // A plain click ends every selection and moves the current cell.
    Click(6, 7);
    EXPECT_EQ(Grid->GridStatus(), grNormal);
    EXPECT_EQ(Grid->SelectedRange(), (TRect{0, 0, 0, 0}));
    EXPECT_EQ(Grid->Col(), 6);
    EXPECT_EQ(Grid->Row(), 7);
}

TEST_F(MouseSelection, APlainClickDropsRowsAndColumns) {
    Grid->SelectRows(2, 5, true);
    Click(3, 9);
    EXPECT_TRUE(Rows().empty());
    EXPECT_EQ(Grid->GridStatus(), grNormal);
    EXPECT_EQ(Grid->Col(), 3);
    EXPECT_EQ(Grid->Row(), 9);
    Grid->SelectCols(2, 5, true);
    Click(6, 4);
    EXPECT_TRUE(Cols().empty());
    EXPECT_EQ(Grid->GridStatus(), grNormal);
}

TEST_F(MouseSelection, AListBoxClickSelectsTheRowOrOnlyMoves) {
    Grid->SetGridMode(gmListBox);
    Click(3, 4);
    EXPECT_EQ(Rows(), std::set<int>{4});
    EXPECT_EQ(Grid->Row(), 4);
    Grid->SetRowSelectMode(rsNone);
    Click(5, 8);
    EXPECT_EQ(Grid->Row(), 8);
    EXPECT_EQ(Grid->Col(), 5);
    EXPECT_TRUE(Rows().empty());
}

TEST_F(MouseSelection, ADoubleClickOnTheCurrentCellShowsTheEditor) {
    Grid->SetGridMode(gmEdit);
    Grid->SetAlwaysShowEditor(false);
    Click(3, 3);
    ASSERT_EQ(Grid->Col(), 3);
    EXPECT_FALSE(Grid->EditorShown());
    DoubleClick(3, 3);
    EXPECT_TRUE(Grid->EditorShown());
}

TEST_F(MouseSelection, TheCursorTellsWhatAPressWouldDo) {
    Grid->SetGridMode(gmEdit);
    struct Case {
        const char* Name;
        TPoint P;
        int Col, Row;
        TCursor Expected;
    };
    const TRect Cell = Grid->CellRect(2, 2);
    const Case Cases[] = {
        {"row bar", PointOf(0, 4), 0, 4, crGxHorArrowRight},
        {"heading", PointOf(3, 0), 3, 0, crGxVertArrowDown},
        {"left strip", TPoint{Cell.Left + 1, Cell.Top + 4}, 2, 2, crGxArrowRev},
        {"text cell", PointOf(2, 2), 2, 2, crIBeam},
    };
    for (const Case& C : Cases)
        EXPECT_EQ(Grid->ShapeCursor(C.P.X, C.P.Y, C.Row, C.Col), C.Expected) << C.Name;
}

class MouseSelectionLooks : public MouseSelection {
protected:
    TColor CellPixel(int Col, int Row) {
        const TRect R = Grid->CellRect(Col, Row);
        return ColorToRGB(Grid->Canvas()->Pixels(R.Right - 4, (R.Top + R.Bottom) / 2));
    }
};

const TColor White = static_cast<TColor>(0xFFFFFF);
const TColor Black = static_cast<TColor>(0x000000);

TEST_F(MouseSelectionLooks, ClickedSelectionsShowAtOnceInEitherLook) {
    for (TgxSelectionType Look : {sltInvert, sltColor}) {
        Grid->SetSelectionType(Look);
        Grid->SetSelectionColor(clRed);
        Grid->Invalidate();
        Grid->Update();
        const TColor On = Look == sltInvert ? Black : ColorToRGB(clRed);
        Click(0, 3);
        Click(0, 6, Ctrl);
        EXPECT_EQ(CellPixel(2, 3), On) << int(Look);
        EXPECT_EQ(CellPixel(2, 6), On) << int(Look);
        EXPECT_EQ(CellPixel(2, 5), White) << int(Look);
        Click(4, 0);
        EXPECT_EQ(CellPixel(2, 3), White) << int(Look);
        EXPECT_EQ(CellPixel(4, 7), On) << int(Look);
        Click(2, 2, Qt::NoModifier, At::LeftStrip);
        Click(3, 4, Shift, At::LeftStrip);
        EXPECT_EQ(CellPixel(4, 7), White) << int(Look);
        EXPECT_EQ(CellPixel(3, 4), On) << int(Look);
        Click(6, 9);
        EXPECT_EQ(CellPixel(3, 4), White) << int(Look);
    }
}

TEST_F(MouseSelection, ANewRangeStartsAtTheClickedCellAndMakesItCurrent) {
    Click(2, 2, Qt::NoModifier, At::LeftStrip);
    EXPECT_EQ(Grid->Col(), 2);
    EXPECT_EQ(Grid->Row(), 2);
    Click(5, 6, Qt::NoModifier, At::LeftStrip);
    EXPECT_EQ(Grid->SelectedRange(), (TRect{5, 6, 5, 6}));
    EXPECT_EQ(Grid->Col(), 5);
    EXPECT_EQ(Grid->Row(), 6);
}

TEST_F(MouseSelection, WithoutRowSelectionTheRowBarMovesOrPicksUpTheRow) {
    Grid->SetRowSelectMode(rsNone);
    Click(3, 2);
    Click(0, 5);
    EXPECT_EQ(Grid->Row(), 5);
    EXPECT_EQ(Grid->Col(), 3);
    EXPECT_TRUE(Rows().empty());
    Click(0, 0);
    EXPECT_TRUE(Rows().empty());

    Grid->SetRowMoving(true);
    const TPoint P = PointOf(0, 7);
    Send(QEvent::MouseButtonPress, P, Qt::NoModifier);
    EXPECT_EQ(Grid->MouseStatus(), msRowMove);
    EXPECT_EQ(Grid->Row(), 7);
    Send(QEvent::MouseButtonRelease, P, Qt::NoModifier);
    EXPECT_EQ(Grid->MouseStatus(), msNormal);
    EXPECT_TRUE(Rows().empty());
}

TEST_F(MouseSelection, TheCursorOverEachPartByMode) {
    Grid->SetCursor(crCross);
    Grid->GetCol(5)->SetControlType(ctCheck);
    Grid->GetCol(6)->SetControlType(ctPicture);
    Grid->GetCol(7)->SetReadOnly(true);
    struct Case {
        const char* Name;
        TgxGridMode Mode;
        bool AlwaysShowEditor;
        int Col, Row;
        bool Strip;
        TCursor Expected;
    };
    const Case Cases[] = {
        {"browse strip", gmBrowse, true, 2, 2, true, crGxArrowRev},
        {"browse text", gmBrowse, true, 2, 2, false, crCross},
        {"edit text without editor", gmEdit, false, 2, 2, false, crCross},
        {"edit check", gmEdit, true, 5, 2, false, crCross},
        {"edit picture", gmEdit, true, 6, 2, false, crNone},
        {"read-only text", gmEdit, true, 7, 2, false, crCross},
        {"list box strip", gmListBox, true, 2, 2, true, crCross},
    };
    for (const Case& C : Cases) {
        Grid->SetGridMode(C.Mode);
        Grid->SetAlwaysShowEditor(C.AlwaysShowEditor);
        const TRect R = Grid->CellRect(C.Col, C.Row);
        const TPoint P = C.Strip ? TPoint{R.Left + 1, R.Top + 4} : PointOf(C.Col, C.Row);
        EXPECT_EQ(Grid->ShapeCursor(P.X, P.Y, C.Row, C.Col), C.Expected) << C.Name;
    }
    // A selected row or column that can be picked up shows the grid's cursor.
    Grid->SetGridMode(gmEdit);
    Grid->SetRowMoving(true);
    Grid->SetColMoving(true);
    Grid->SelectRows(4, 4, true);
    TPoint P = PointOf(0, 4);
    EXPECT_EQ(Grid->ShapeCursor(P.X, P.Y, 4, 0), crCross);
    Grid->SelectCols(3, 3, true);
    P = PointOf(3, 0);
    EXPECT_EQ(Grid->ShapeCursor(P.X, P.Y, 0, 3), crCross);
    P = PointOf(4, 0);
    EXPECT_EQ(Grid->ShapeCursor(P.X, P.Y, 0, 4), crGxVertArrowDown);
}

TEST_F(MouseSelection, TheSizingStripsOfTheRowBarAndTheHeading) {
    const int W = Grid->GetRowBarWidth();
    const int H = Grid->GetHeadingHeight();
    for (int D : {-2, 0, 2})
        EXPECT_TRUE(Grid->RowBarSizingArea(W + D)) << D;
    EXPECT_FALSE(Grid->RowBarSizingArea(W - 8));
    for (int D : {-2, 0, 2})
        EXPECT_TRUE(Grid->HeadingSizingArea(H + D)) << D;
    EXPECT_FALSE(Grid->HeadingSizingArea(H - 8));
    // A press on the row bar's edge in the heading row sizes the row bar.
    const QPointF At(W - 1, H / 2);
    QWidget* Wd = Grid->ClientWidget();
    QMouseEvent Press(QEvent::MouseButtonPress, At, Wd->mapToGlobal(At), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Wd, &Press);
    EXPECT_EQ(Grid->MouseStatus(), msRowBarResize);
    EXPECT_EQ(Grid->ShapeCursor(W - 1, H / 2, 0, 0), crHSplit);
    QMouseEvent Up(QEvent::MouseButtonRelease, At, Wd->mapToGlobal(At), Qt::LeftButton,
                   Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(Wd, &Up);
    EXPECT_EQ(Grid->MouseStatus(), msNormal);
    EXPECT_EQ(Grid->GetRowBarWidth(), W);
}

TEST_F(MouseSelection, FixedRowsAndColumnsCountAsSelectedFirst) {
    Grid->SetFixedRowCount(1);
    Grid->SetFixedColCount(1);
    EXPECT_FALSE(Grid->FixedRowsSelected());
    Grid->SelectRows(1, 3, true);
    EXPECT_TRUE(Grid->FixedRowsSelected());
    Grid->SelectRows(2, 3, true);
    Grid->SelectRows(1, 1, false);
    EXPECT_FALSE(Grid->FixedRowsSelected());
    Grid->SelectCols(1, 2, true);
    EXPECT_TRUE(Grid->FixedColsSelected());
    EXPECT_TRUE(Grid->ColRangeSelected(1, 2));
    EXPECT_FALSE(Grid->ColRangeSelected(1, 3));
    EXPECT_TRUE(Grid->ColRangeUnselected(3, 12));
    EXPECT_FALSE(Grid->ColRangeUnselected(2, 12));
}

TEST_F(MouseSelection, TheCornerLooksOnlyAtRowsThatCanBeSelected) {
    Grid->SetGridMode(gmEditInsert);
    Grid->SetRowVisible(6, false);
    Click(0, 0);
    EXPECT_EQ(Grid->RowSelection().Count(), 39);
    EXPECT_FALSE(Grid->RowSelection().GetSelected(Grid->RowCount() - 1));
    Click(0, 0);
    EXPECT_EQ(Grid->RowSelection().Count(), 0);
    Grid->SetRowSelectMode(rsSingle);
    Click(0, 0);
    EXPECT_LE(Grid->RowSelection().Count(), 1);
}

TEST_F(MouseSelection, AnAlwaysShownEditorReturnsWhenAClickEndsTheSelection) {
    Grid->SetGridMode(gmEdit);
    Grid->SetAlwaysShowEditor(true);
    Click(2, 2);
    ASSERT_NE(Grid->GridControl(), nullptr);
    ASSERT_TRUE(Grid->GridControl()->GetVisible());
    Click(0, 3);
    EXPECT_FALSE(Grid->GridControl()->GetVisible());
    Click(4, 6);
    EXPECT_EQ(Grid->GridStatus(), grNormal);
    EXPECT_TRUE(Grid->GridControl()->GetVisible());
    const TRect Cell = Grid->CellRect(4, 6);
    EXPECT_TRUE(Grid->GridControl()->GetLeft() >= Cell.Left - 1 &&
                Grid->GridControl()->GetLeft() < Cell.Right);
}

TEST_F(MouseSelection, ReadOnlyColumnsAndTheSingleRowOfAListBox) {
    Grid->SetGridMode(gmEdit);
    Grid->GetCol(7)->SetReadOnly(true);
    Click(2, 2);
    Click(7, 5);
    EXPECT_EQ(Grid->Col(), 2);
    EXPECT_EQ(Grid->Row(), 5);
    Grid->SetSkipReadOnly(false);
    Click(7, 6);
    EXPECT_EQ(Grid->Col(), 7);
    EXPECT_EQ(Grid->Row(), 6);

    Grid->SetGridMode(gmListBox);
    Grid->SetRowSelectMode(rsSingle);
    Click(3, 3);
    EXPECT_EQ(Rows(), std::set<int>{3});
    Click(3, 3, Ctrl);
    EXPECT_EQ(Rows(), std::set<int>{3});
    Click(3, 8, Ctrl);
    EXPECT_EQ(Rows(), std::set<int>{8});
    EXPECT_EQ(Grid->Row(), 8);
}

TEST_F(MouseSelection, ShiftCtrlOnHeadingsAddsOrRemovesTheSpanFromTheCurrentColumn) {
    Click(3, 0);
    Click(6, 0, ShiftCtrl);
    EXPECT_EQ(Cols(), (std::set<int>{3, 4, 5, 6}));
    Click(3, 0, Ctrl);
    EXPECT_EQ(Grid->Col(), 3);
    EXPECT_EQ(Cols(), (std::set<int>{4, 5, 6}));
    Click(5, 0, ShiftCtrl);
    EXPECT_EQ(Cols(), std::set<int>{6});
    Click(8, 0, Shift);
    EXPECT_TRUE(Cols().empty());
    EXPECT_EQ(Grid->Col(), 8);
    EXPECT_EQ(Grid->GridStatus(), grNormal);
}

} // namespace
