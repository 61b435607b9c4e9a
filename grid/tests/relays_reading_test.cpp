// The custom grid's relays as an application meets them: what a relay
// hands back with no handler, which relays keep quiet while the grid loads,
// the row-loaded event once per row per paint, values a cell-loaded
// handler gives, and the paint-cell hook.
#include "LoadingGrid.h"
#include "ShownGridFixture.h"
#include "grid/model/Columns.h"

#include "platform/gui/Forms.h"

#include <QImage>
#include <QMouseEvent>
#include <QWidget>

#include <map>
#include <vector>

using namespace grid;

namespace {

class RelaysReading : public ShownGridFixture {};

// With no handler the relays leave their out-value as the grid's
// convention wants it: Cancel false ("go on"), Accept false ("refuse"),
// and the print questions as the report set them.
TEST_F(RelaysReading, RelaysWithoutHandlerHandBackTheirDefaults) {
    ShowGrid(3, 3);
    struct Case {
        const char* Relay;
        std::function<void(bool&)> Call;
        bool Start;
        bool Expected;
    };
    const std::vector<Case> Cases = {
        {"StartCellEdit", [&](bool& B) { Grid->DoStartCellEdit(1, 1, B); }, true, false},
        {"StartRowEdit", [&](bool& B) { Grid->DoStartRowEdit(1, B); }, true, false},
        {"EndCellEdit", [&](bool& B) { Grid->DoEndCellEdit(1, 1, B); }, true, false},
        {"EndRowEdit", [&](bool& B) { Grid->DoEndRowEdit(1, B); }, true, false},
        {"ShowEditor", [&](bool& B) { Grid->DoShowEditor(1, 1, B); }, true, false},
        {"InvalidMaskValue", [&](bool& B) { Grid->DoInvalidMaskValue(1, 1, B); }, true, false},
        {"InvalidMaskEdit", [&](bool& B) { Grid->DoInvalidMaskEdit("x", 1, 1, B); }, true, false},
        {"UndoCellEdit", [&](bool& B) { Grid->DoUndoCellEdit(1, 1, true, B); }, true, false},
        {"UndoRowEdit", [&](bool& B) { Grid->DoUndoRowEdit(1, true, B); }, true, false},
        {"CanSelectRow", [&](bool& B) { Grid->DoCanSelectRow(1, Variant(2), B); }, true, false},
        {"PrintRow kept true", [&](bool& B) { Grid->DoPrintRow(1, B); }, true, true},
        {"PrintRow kept false", [&](bool& B) { Grid->DoPrintRow(1, B); }, false, false},
        {"PrintCell kept true", [&](bool& B) { Grid->DoPrintCell(1, 1, B); }, true, true},
    };
    for (const Case& C : Cases) {
        bool Value = C.Start;
        C.Call(Value);
        EXPECT_EQ(Value, C.Expected) << C.Relay;
    }
}

// The end-of-row-edit question is always about the current data row.
TEST_F(RelaysReading, EndRowEditAsksAboutTheCurrentDataRow) {
    ShowGrid(3, 5);
    Grid->SetCurrentDataRow(3);
    int Asked = -1;
    Grid->OnEndRowEdit = [&](TObject*, int DataRow, bool&) { Asked = DataRow; };
    bool Cancel = false;
    Grid->DoEndRowEdit(5, Cancel);
    EXPECT_EQ(Asked, 3);
}

// While the grid loads, the gated relays are silent; the others are not.
TEST_F(RelaysReading, GatedRelaysKeepQuietWhileTheGridLoads) {
    ShowGrid(3, 5);
    TLoadingGrid* Loading = TLoadingGrid::Replace(Grid, Form, 3, 5);
    std::map<std::string, int> Raised;
    Grid->OnCellChanged = [&](TObject*, int, int, int, int) { ++Raised["CellChanged"]; };
    Grid->OnRowChanged = [&](TObject*, int, int) { ++Raised["RowChanged"]; };
    Grid->OnPrintRow = [&](TObject*, int, bool&) { ++Raised["PrintRow"]; };
    Grid->OnPrintCell = [&](TObject*, int, int, bool&) { ++Raised["PrintCell"]; };
    Grid->OnTopLeftChanged = [&](TObject*, int, int, int, int, bool) { ++Raised["TopLeft"]; };
    Grid->OnDeleteRow = [&](TObject*, int, bool) { ++Raised["DeleteRow"]; };
    Grid->OnInsertRow = [&](TObject*, int, bool) { ++Raised["InsertRow"]; };
    Grid->OnStartCellEdit = [&](TObject*, int, int, bool&) { ++Raised["StartCellEdit"]; };
    auto CallAll = [&] {
        bool Cancel = false;
        Grid->DoCellChanged(1, 2, 1, 2);
        Grid->DoRowChanged(1, 2);
        Grid->DoPrintRow(1, Cancel);
        Grid->DoPrintCell(1, 1, Cancel);
        Grid->DoTopLeftChanged(1, 1, 1, 2, true);
        Grid->DoDeleteRow(1, true);
        Grid->DoInsertRow(1, true);
        Grid->DoStartCellEdit(1, 1, Cancel);
    };
    Loading->BeginLoad();
    CallAll();
    EXPECT_EQ(Raised, (std::map<std::string, int>{{"StartCellEdit", 1}}));
    Grid->Loaded();
    Raised.clear();
    CallAll();
    for (const char* Name : {"CellChanged", "RowChanged", "PrintRow", "PrintCell", "TopLeft",
                             "DeleteRow", "InsertRow", "StartCellEdit"})
        EXPECT_EQ(Raised[Name], 1) << Name;
}

// A paint raises the row-loaded event once for each row it paints, and
// the next paint raises it again.
TEST_F(RelaysReading, RowLoadedOncePerRowPerPaint) {
    ShowGrid(4, 3);
    std::map<int, int> Loaded;
    Grid->OnRowLoaded = [&](TObject*, int DataRow) { ++Loaded[DataRow]; };
    Grid->Invalidate();
    Grid->Repaint();
    ASSERT_FALSE(Loaded.empty());
    for (int Row = 1; Row <= 3; ++Row) EXPECT_EQ(Loaded[Row], 1) << Row;
    Loaded.clear();
    Grid->Invalidate();
    Grid->Repaint();
    for (int Row = 1; Row <= 3; ++Row) EXPECT_EQ(Loaded[Row], 1) << Row;
}

// An integer a cell-loaded handler puts into a text cell comes back as
// its text.
TEST_F(RelaysReading, IntegerFromCellLoadedBecomesTextInATextColumn) {
    ShowGrid(2, 2);
    Grid->OnCellLoaded = [](TObject*, int DataCol, int DataRow, Variant& Value) {
        if (DataCol == 1 && DataRow == 2) Value = Variant(42);
    };
    const Variant Value = Grid->GetCellValue(1, 2);
    EXPECT_EQ(Value.Type(), varString);
    EXPECT_EQ(Value.AsString(), AnsiString("42"));
}

// The paint-cell hook: the handler finds the canvas brush in the grid's
// colour (the heading colour on the heading row); data columns only.
TEST_F(RelaysReading, PaintCellHookPreparesTheCanvasPerRow) {
    ShowGrid(2, 2);
    Grid->SetColor(clYellow);
    Grid->SetHeadingColor(clAqua);
    std::vector<std::tuple<int, int, TColor>> Seen;
    Grid->OnPaintCell = [&](TObject*, int DataCol, int DataRow, TRect, TgxPaintCellState,
                            bool& Cancel) {
        Seen.emplace_back(DataCol, DataRow, Grid->Canvas()->Brush()->Color());
        Cancel = false;
    };
    Grid->Invalidate();
    Grid->Repaint();
    ASSERT_FALSE(Seen.empty());
    bool SawHeading = false;
    for (const auto& [Col, Row, Color] : Seen) {
        EXPECT_GT(Col, 0);
        if (Row == 0) SawHeading = true;
        EXPECT_EQ(Color, Row == 0 ? clAqua : clYellow) << Col << "," << Row;
    }
    EXPECT_TRUE(SawHeading);
}

// A handler that paints the cell itself keeps the grid's text off it.
TEST_F(RelaysReading, PaintCellHandlerThatPaintsKeepsTheGridOff) {
    ShowGrid(2, 2);
    Grid->SetStoreData(true);
    Grid->SetCellValue(2, 2, Variant(AnsiString("WWWWWW")));
    Grid->OnPaintCell = [&](TObject*, int DataCol, int DataRow, TRect R, TgxPaintCellState,
                            bool& Cancel) {
        if (DataCol == 2 && DataRow == 2) {
            Grid->Canvas()->Brush()->SetColor(clLime);
            Grid->Canvas()->FillRect(R);
            Cancel = true;
        }
    };
    Grid->Invalidate();
    Grid->Repaint();
    const TRect R = Grid->CellRect(Grid->GetDisplayCol(2), Grid->GetDisplayRow(2));
    const QImage Shot = Grid->Widget()->grab().toImage();
    int Lime = 0, Other = 0;
    for (int Y = R.Top + 3; Y < R.Bottom - 3; ++Y)
        for (int X = R.Left + 3; X < R.Right - 3; ++X)
            (Shot.pixel(X, Y) == qRgb(0, 255, 0) ? Lime : Other)++;
    EXPECT_GT(Lime, 0);
    EXPECT_EQ(Other, 0);
}

// The top-left event comes only on a real change.
TEST_F(RelaysReading, TopLeftEventOnlyOnARealChange) {
    ShowGrid(3, 60);
    int Raised = 0;
    Grid->OnTopLeftChanged = [&](TObject*, int, int, int, int, bool) { ++Raised; };
    Grid->TopLeftChangedEvent(1, 1, false, 1, 1);
    EXPECT_EQ(Raised, 0);
    Grid->TopLeftChangedEvent(1, 1, false, 5, 1);
    EXPECT_EQ(Raised, 1);
}

// The click relay answers whether a handler took the click.
TEST_F(RelaysReading, ClickCellAnswersWhetherAHandlerIsThere) {
    ShowGrid(3, 3);
    EXPECT_FALSE(Grid->DoClickCell(1, Variant(1), 1, Variant(1), cpCell, cpCell));
    Grid->OnClickCell = [](TObject*, int, const Variant&, int, const Variant&, TgxClickPosition,
                           TgxClickPosition) {};
    EXPECT_TRUE(Grid->DoClickCell(1, Variant(1), 1, Variant(1), cpCell, cpCell));
}

} // namespace

namespace {

// Showing and hiding the editor names the current data cell both times.
TEST_F(RelaysReading, HideEditorNamesTheCurrentDataCell) {
    ShowGrid(3, 5);
    Grid->SetAlwaysShowEditor(false);
    Grid->SetCurrentDataCol(2);
    Grid->SetCurrentDataRow(4);
    std::vector<std::pair<int, int>> Named;
    Grid->OnShowEditor = [&](TObject*, int DataCol, int DataRow, bool&) {
        Named.emplace_back(DataCol, DataRow);
    };
    Grid->OnHideEditor = [&](TObject*, int DataCol, int DataRow) {
        Named.emplace_back(DataCol, DataRow);
    };
    Grid->HideEditor();
    Named.clear();
    Grid->ShowEditor();
    Grid->HideEditor();
    EXPECT_EQ(Named, (std::vector<std::pair<int, int>>{{2, 4}, {2, 4}}));
}

} // namespace

#include "grid/model/Combo.h"
#include "grid/view/DropDownForm.h"

#include <QApplication>

namespace {

// The cells of a cell's drop-down list, as the list loads them, are handed
// to the owning grid's list cell-loaded event with the list itself.
TEST_F(RelaysReading, ListCellsLoadedReachTheOwningGrid) {
    ShowGrid(3, 4);
    Grid->GetCol(Variant(1))->SetButtonType(btCombo);
    TgxComboGrid* List = Grid->GetCombo()->GetGrid();
    ASSERT_NE(List, nullptr);
    EXPECT_EQ(List->Owner(), Grid->GetComboForm());
    int Loaded = 0;
    TgxComboGrid* Seen = nullptr;
    Grid->OnComboCellLoaded = [&](TObject*, TgxComboGrid* Combo, int, int, Variant&) {
        ++Loaded;
        Seen = Combo;
    };
    Grid->SetCurrentDataRow(2);
    ASSERT_TRUE(Grid->ComboButtonDown(1, 2));
    List->SetGridColCount(1);
    List->SetGridRowCount(3);
    List->Invalidate();
    List->Repaint();
    List->GetCellValue(1, 2);
    EXPECT_GT(Loaded, 0);
    EXPECT_EQ(Seen, List);
    Grid->HideCombo();
}

// A press on a spin button steps once with the count 1.
TEST_F(RelaysReading, SpinPressStepsOnceWithCountOne) {
    ShowGrid(3, 4);
    Grid->GetCol(Variant(2))->SetButtonType(btVertSpin);
    Grid->SetCurrentDataCol(2);
    Grid->SetCurrentDataRow(2);
    std::vector<int> Counts;
    Grid->OnSpinRepeat = [&](TObject*, int, const Variant&, int Count, TgxSpinButton) {
        Counts.push_back(Count);
    };
    const TRect R = Grid->CellRect(Grid->GetDisplayCol(2), Grid->GetDisplayRow(2));
    const int F = Grid->WindowFrameWidth();
    const QPoint Up(R.Right - 4 + F, R.Top + 3 + F);
    QWidget* W = Grid->Widget();
    QMouseEvent Press(QEvent::MouseButtonPress, QPointF(Up), QPointF(W->mapToGlobal(Up)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(W, &Press);
    QMouseEvent Release(QEvent::MouseButtonRelease, QPointF(Up), QPointF(W->mapToGlobal(Up)),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(W, &Release);
    EXPECT_EQ(Counts, std::vector<int>{1});
}

} // namespace

#include <QWheelEvent>

namespace {

// A draw-info handler's colour is the colour the cell is painted in.
TEST_F(RelaysReading, DrawInfoColourPaintsTheCell) {
    ShowGrid(3, 3);
    Grid->OnGetDrawInfo = [](TObject*, int DataCol, int DataRow, TgxDrawInfo& Info) {
        if (DataCol == 2 && DataRow == 3) Info.Color = clLime;
    };
    Grid->Invalidate();
    Grid->Repaint();
    const TRect R = Grid->CellRect(Grid->GetDisplayCol(2), Grid->GetDisplayRow(3));
    const QImage Shot = Grid->Widget()->grab().toImage();
    const int F = Grid->WindowFrameWidth();
    EXPECT_EQ(Shot.pixel(R.Left + 3 + F, R.Top + 3 + F), qRgb(0, 255, 0));
    const TRect Other = Grid->CellRect(Grid->GetDisplayCol(3), Grid->GetDisplayRow(3));
    EXPECT_NE(Shot.pixel(Other.Left + 3 + F, Other.Top + 3 + F), qRgb(0, 255, 0));
}

// The top-left event tells a scroll by the user from one by the program.
TEST_F(RelaysReading, TopLeftEventTellsTheUserFromTheProgram) {
    ShowGrid(3, 80);
    std::vector<bool> ByUser;
    Grid->OnTopLeftChanged = [&](TObject*, int, int, int, int, bool User) {
        ByUser.push_back(User);
    };
    Grid->SetTopRow(5);
    QWidget* W = Grid->Widget();
    QWheelEvent Down(QPointF(50, 50), QPointF(W->mapToGlobal(QPoint(50, 50))), QPoint(),
                     QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(W, &Down);
    ASSERT_GE(ByUser.size(), 2u);
    EXPECT_FALSE(ByUser.front());
    EXPECT_TRUE(ByUser.back());
}

} // namespace
