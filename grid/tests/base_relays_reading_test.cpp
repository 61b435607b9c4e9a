// The base grid's own relays: which keep quiet while the grid loads, which
// never do, what the column-changed event reports, and when a right click
// brings up the grid's own menu.
#include "LoadingGrid.h"
#include "ShownGridFixture.h"
#include "grid/view/GridReport.h"

#include "platform/gui/Menus.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QWheelEvent>
#include <QWidget>

#include <functional>
#include <map>
#include <string>

using namespace grid;

namespace {

class BaseRelaysReading : public ShownGridFixture {
protected:
    TLoadingGrid* ShowLoadingGrid(int Cols, int Rows) {
        ShowGrid(Cols, Rows);
        return TLoadingGrid::Replace(Grid, Form, Cols, Rows);
    }
};

// While loading, the relays marked so are silent; the others speak always.
TEST_F(BaseRelaysReading, RelaysGatedByLoadingAndTheOnesThatAreNot) {
    TLoadingGrid* G = ShowLoadingGrid(3, 3);
    std::map<std::string, int> Raised;
    auto Count = [&](const char* Name) { return [&Raised, Name](auto&&...) { ++Raised[Name]; }; };
    G->OnResize = Count("Resize");
    G->OnColMoved = Count("ColMoved");
    G->OnRowMoved = Count("RowMoved");
    G->OnColChanged = Count("ColChanged");
    G->OnSelectChanged = Count("SelectChanged");
    G->OnColCountChanged = Count("ColCountChanged");
    G->OnRowCountChanged = Count("RowCountChanged");
    G->OnColResized = Count("ColResized");
    G->OnRowResized = Count("RowResized");
    G->OnDeleteCol = Count("DeleteCol");
    G->OnInsertCol = Count("InsertCol");
    G->OnPaint = Count("Paint");
    G->OnHeadingDown = Count("HeadingDown");
    G->OnHeadingUp = Count("HeadingUp");
    G->OnHeadingClick = Count("HeadingClick");
    G->OnMouseStatusChanged = Count("MouseStatusChanged");
    G->OnGridStatusChanged = Count("GridStatusChanged");
    G->OnEditTextResized = Count("EditTextResized");
    G->OnComboCompareValue = Count("ComboCompareValue");
    G->OnComboLCompareValue = Count("ComboLCompareValue");
    G->OnKeyDown = Count("KeyDown");
    G->OnKeyUp = Count("KeyUp");
    G->OnKeyPress = Count("KeyPress");
    auto CallAll = [&] {
        int Res = 0;
        Word Key = 'A';
        char Ch = 'a';
        G->DoResize();
        G->DoColMoved(1, 1, true);
        G->DoRowMoved(1, 1, true);
        G->DoColChanged(1);
        G->DoSelectChanged(stRowSelect, true);
        G->DoColCountChanged(3, 4);
        G->DoRowCountChanged(3, 4);
        G->DoColResized(1);
        G->DoRowResized(1);
        G->DoDeleteCol(1, true);
        G->DoInsertCol(1, true);
        G->DoPaint();
        G->DoHeadingDown(1);
        G->DoHeadingUp(1);
        G->DoHeadingClick(1);
        G->DoMouseStatusChanged(msNormal, msRowSelect);
        G->DoGridStatusChanged(grNormal, grRowSelect);
        G->DoEditTextResized(true);
        G->DoComboCompareValue("a", "b", Res);
        G->DoComboLCompareValue("a", "b", 1, Res);
        G->DoKeyDown(Key, TShiftState());
        G->DoKeyUp(Key, TShiftState());
        G->DoKeyPress(Ch);
    };
    const std::vector<std::string> Always = {
        "Paint",         "HeadingDown",        "HeadingUp",          "HeadingClick",
        "MouseStatusChanged", "GridStatusChanged", "EditTextResized", "ComboCompareValue",
        "ComboLCompareValue", "KeyDown",       "KeyUp",              "KeyPress"};
    G->BeginLoad();
    CallAll();
    std::map<std::string, int> Expected;
    for (const auto& Name : Always) Expected[Name] = 1;
    EXPECT_EQ(Raised, Expected);
    G->Loaded();
    Raised.clear();
    CallAll();
    EXPECT_EQ(Raised.size(), 23u);
}

// A column count changed while the form loads is not reported; after it is.
TEST_F(BaseRelaysReading, ColumnCountChangeReportedOnlyAfterLoading) {
    TLoadingGrid* G = ShowLoadingGrid(3, 3);
    int Reported = 0;
    G->OnColCountChanged = [&](TObject*, int, int) { ++Reported; };
    G->BeginLoad();
    G->SetGridColCount(5);
    EXPECT_EQ(Reported, 0);
    G->Loaded();
    Reported = 0;
    G->SetGridColCount(6);
    EXPECT_EQ(Reported, 1);
}

// The grid and mouse status events are raised while loading too.
TEST_F(BaseRelaysReading, StatusEventsAlsoWhileLoading) {
    TLoadingGrid* G = ShowLoadingGrid(3, 3);
    int Mouse = 0;
    G->OnMouseStatusChanged = [&](TObject*, TgxMouseStatus, TgxMouseStatus) { ++Mouse; };
    G->BeginLoad();
    G->SetMouseStatus(msColSelect);
    G->SetMouseStatus(msNormal);
    EXPECT_EQ(Mouse, 2);
    G->Loaded();
}

// The column-changed event names the old column and the current data
// column.
TEST_F(BaseRelaysReading, ColChangedNamesOldAndCurrentColumn) {
    ShowGrid(4, 3);
    Grid->SetCurrentDataCol(3);
    std::pair<int, int> Seen{-1, -1};
    Grid->OnColChanged = [&](TObject*, int Old, int New) { Seen = {Old, New}; };
    Grid->DoColChanged(1);
    EXPECT_EQ(Seen, std::make_pair(1, 3));
}

// A right click shows the grid's own menu only when the grid or its linked
// report provides it.
TEST_F(BaseRelaysReading, RightClickShowsTheGridMenuOnlyWhenProvided) {
    struct Case {
        const char* Name;
        bool GridProvides;
        bool Report;
        bool ReportProvides;
        bool Expected;
    };
    const Case Cases[] = {
        {"nothing provides", false, false, false, false},
        {"grid provides", true, false, false, true},
        {"report without the menu", false, true, false, false},
        {"report provides", false, true, true, true},
    };
    for (const Case& C : Cases) {
        ShowGrid(3, 3);
        TgoCustomGridReport* Report = nullptr;
        if (C.Report) {
            Report = new TgoCustomGridReport(Form);
            Report->SetProvideGridMenu(C.ReportProvides);
            Grid->SetGridReport(Report);
        }
        Grid->SetProvideGridMenu(C.GridProvides);
        QWidget* W = Grid->Widget();
        QContextMenuEvent E(QContextMenuEvent::Mouse, QPoint(30, 30), W->mapToGlobal(QPoint(30, 30)));
        QApplication::sendEvent(W, &E);
        bool MenuShown = false;
        for (QWidget* Top : QApplication::topLevelWidgets())
            if (Top->inherits("QMenu") && Top->isVisible()) {
                MenuShown = true;
                Top->close();
            }
        EXPECT_EQ(MenuShown, C.Expected) << C.Name;
        delete Form;
        Form = nullptr;
    }
}

} // namespace

namespace {

// One size change, one resize event; none while loading.
TEST_F(BaseRelaysReading, ResizeReportedOncePerSizeChangeNotWhileLoading) {
    TLoadingGrid* G = ShowLoadingGrid(3, 3);
    int Resized = 0;
    G->OnResize = [&](TObject*) { ++Resized; };
    G->SetBounds(0, 0, 350, 250);
    EXPECT_EQ(Resized, 1);
    G->BeginLoad();
    G->SetBounds(0, 0, 300, 200);
    EXPECT_EQ(Resized, 1);
    G->Loaded();
}

// The wheel scrolls the rows.
TEST_F(BaseRelaysReading, WheelScrollsTheRows) {
    ShowGrid(3, 80);
    const int Top = Grid->TopRow();
    QWidget* W = Grid->Widget();
    QWheelEvent Down(QPointF(50, 50), QPointF(W->mapToGlobal(QPoint(50, 50))), QPoint(),
                     QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(W, &Down);
    EXPECT_GT(Grid->TopRow(), Top);
    const int Scrolled = Grid->TopRow();
    QWheelEvent Up(QPointF(50, 50), QPointF(W->mapToGlobal(QPoint(50, 50))), QPoint(),
                   QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(W, &Up);
    EXPECT_LT(Grid->TopRow(), Scrolled);
}

} // namespace
