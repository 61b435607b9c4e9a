// Cell values read, written and shown through the grid's public path: the
// edit buffer, the grid's own store and the cell-loaded event.
#include "ShownGridFixture.h"
#include "grid/foundation/CustomGrid.h"
#include "grid/model/Columns.h"
#include "grid/model/CurrentCell.h"
#include "grid/model/GridControl.h"
#include "grid/model/InplaceControl.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QWidget>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace grid;

class CellValuesSecondReading : public ShownGridFixture {
protected:
    void Show(int Cols = 4, int Rows = 4) {
        ShowGrid(Cols, Rows);
        Grid->SetName("Values");
        Grid->SetFocus();
        Settle();
    }
    void Settle() {
        QApplication::processEvents();
        Grid->Update();
    }
    QImage Shot() {
        Settle();
        return Grid->Widget()->grab().toImage();
    }
    QImage CellShot(int DisplayCol, int DisplayRow) {
        TRect R = Grid->CellRect(DisplayCol, DisplayRow);
        return Shot().copy(R.Left, R.Top, R.Right - R.Left, R.Bottom - R.Top);
    }
    QImage FreshCellShot(int DisplayCol, int DisplayRow) {
        Grid->Invalidate();
        return CellShot(DisplayCol, DisplayRow);
    }
    // Real key presses and releases, one character at a time.
    static void Type(QWidget* W, const char* Text) {
        for (const char* P = Text; *P; ++P) {
            QString T = QString(QChar(*P));
            int Key = Qt::Key_A + (QChar(*P).toLower().unicode() - 'a');
            QKeyEvent Press(QEvent::KeyPress, Key, Qt::NoModifier, T);
            QApplication::sendEvent(W, &Press);
            QKeyEvent Release(QEvent::KeyRelease, Key, Qt::NoModifier, T);
            QApplication::sendEvent(W, &Release);
        }
    }
    QWidget* Editor() {
        TgxCustomGridControl* C = Grid->GridControl();
        return C && C->Control() && C->GetVisible() ? C->Control()->Widget() : nullptr;
    }
    std::string EditorText() { return Grid->GridControl()->GetValue().AsString(); }
};

TEST_F(CellValuesSecondReading, OutsideTheGridAndForCellsWithoutControlReadsUnassigned) {
    Show();
    Grid->SetStoreData(true);
    Grid->SetCellValue(2, 2, Variant("kept"));
    Grid->SetCellControlType(3, 3, ctNone);
    struct Case { int Col, Row; } Cases[] = {{0, 1}, {5, 1}, {1, 0}, {1, 5}, {-1, -1}, {3, 3}};
    for (const auto& C : Cases) {
        SCOPED_TRACE(std::to_string(C.Col) + "," + std::to_string(C.Row));
        EXPECT_TRUE(Grid->GetCellValue(C.Col, C.Row).IsEmpty());
        Grid->SetCellValue(C.Col, C.Row, Variant("x")); // ignored, no fault
    }
    EXPECT_EQ(Grid->GetCellValue(2, 2).AsString(), "kept");
}

TEST_F(CellValuesSecondReading, EditedCurrentCellReadsTheBufferWithoutAskingTheApplication) {
    Show();
    Grid->SetGridMode(gmEdit);
    Grid->SetStoreData(true);
    Grid->SetCellValue(2, 2, Variant("old"));
    Grid->SetCurrentCell(2, 2);
    Settle();
    std::vector<int> Edits;
    Grid->OnCellEdit = [&](TObject*, int C, int R, bool ByUser) {
        Edits.push_back(C * 10 + R + (ByUser ? 100 : 0));
    };
    ASSERT_NE(Editor(), nullptr);
    Type(Editor(), "new");
    Settle();
    ASSERT_FALSE(Edits.empty());
    EXPECT_EQ(Edits.front(), 122); // data col 2, row 2, by the user
    int Loaded = 0;
    Grid->OnCellLoaded = [&](TObject*, int, int, Variant&) { ++Loaded; };
    const AnsiString Typed = EditorText();
    EXPECT_NE(Typed, "old");
    EXPECT_EQ(Grid->GetCellValue(2, 2).AsString(), Typed);
    EXPECT_EQ(Loaded, 0);
}

// The editor's copy of an untouched current cell is no edit: the
// application is asked, as for every other cell.
TEST_F(CellValuesSecondReading, UntouchedCurrentCellIsReadFromTheApplication) {
    Show();
    Grid->SetGridMode(gmEdit);
    Grid->SetCurrentCell(1, 1);
    Settle();
    ASSERT_NE(Editor(), nullptr);
    AnsiString AppValue = "first";
    int Loaded = 0;
    Grid->OnCellLoaded = [&](TObject*, int, int, Variant& V) { ++Loaded; V = Variant(AppValue); };
    EXPECT_EQ(Grid->GetCellValue(1, 1).AsString(), "first");
    AppValue = "second";
    EXPECT_EQ(Grid->GetCellValue(1, 1).AsString(), "second");
    EXPECT_EQ(Loaded, 2);
}

TEST_F(CellValuesSecondReading, ReadingInsideTheCellLoadedHandlerIsRefusedAndTheGridRecovers) {
    Show();
    std::string Message;
    bool Inner = false;
    Grid->OnCellLoaded = [&](TObject*, int C, int R, Variant& V) {
        if (C == 1 && R == 1 && !Inner) {
            Inner = true;
            try {
                Grid->GetCellValue(2, 1);
            } catch (const EInvalidGridOperation& E) {
                Message = E.what();
            }
        }
        V = Variant(AnsiString("app ") + std::to_string(C) + std::to_string(R));
    };
    EXPECT_EQ(Grid->GetCellValue(1, 1).AsString(), "app 11");
    EXPECT_EQ(Message, "Values: Cannot get Cell property value while in OnCellLoaded event");
    EXPECT_EQ(Grid->GetCellValue(2, 1).AsString(), "app 21");
}

TEST_F(CellValuesSecondReading, RowLoadedIsRaisedOnlyWhenTheReadRowChanges) {
    Show();
    std::vector<int> Rows;
    Grid->OnRowLoaded = [&](TObject*, int R) { Rows.push_back(R); };
    Grid->OnCellLoaded = [](TObject*, int, int, Variant& V) { V = Variant("v"); };
    Grid->GetCellValue(1, 2);
    Grid->GetCellValue(2, 2);
    Grid->GetCellValue(1, 3);
    EXPECT_EQ(Rows, (std::vector<int>{2, 3}));
}

TEST_F(CellValuesSecondReading, WrongTypeFromTheHandlerNamesTheColumnKind) {
    Show();
    Grid->GetCol(Variant(2))->SetControlType(ctCheck);
    Grid->GetCol(Variant(3))->SetControlType(ctPicture);
    struct Case { int Col; Variant Value; const char* Message; } Cases[] = {
        {2, Variant(1.5),
         "Invalid cell value. A checkbox column requires a value of type TCheckBoxState or string"},
        {3, Variant(1.5),
         "Invalid cell value. A picture column requires a value of type TBitmap or string"},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Col);
        Grid->OnCellLoaded = [&](TObject*, int, int, Variant& V) { V = C.Value; };
        std::string Got;
        try {
            Grid->GetCellValue(C.Col, 1);
        } catch (const EInvalidGridOperation& E) {
            Got = E.what();
        }
        EXPECT_EQ(Got, std::string("Values: ") + C.Message);
    }
    // the reading flag was restored: a good value reads again
    Grid->OnCellLoaded = [](TObject*, int, int, Variant& V) { V = Variant("fine"); };
    EXPECT_EQ(Grid->GetCellValue(1, 2).AsString(), "fine");
}

TEST_F(CellValuesSecondReading, StoredIntegerInATextCellReadsAsItsText) {
    Show();
    Grid->SetStoreData(true);
    Grid->SetCellValue(2, 2, Variant(42));
    Variant V = Grid->GetCellValue(2, 2);
    EXPECT_EQ(V.Type(), varString);
    EXPECT_EQ(V.AsString(), "42");
}

TEST_F(CellValuesSecondReading, WrittenValueShowsOnANonCurrentCellAndInTheCurrentEditor) {
    Show();
    Grid->SetGridMode(gmEdit);
    for (bool Store : {true, false}) {
        SCOPED_TRACE(Store);
        Grid->SetStoreData(Store);
        Grid->SetCurrentCell(1, 1);
        Settle();
        QImage Empty = CellShot(3, 3);
        Grid->SetCellValue(3, 3, Variant("WWWW"));
        QImage Written = CellShot(3, 3);
        EXPECT_NE(Written, Empty);
        if (Store)
            EXPECT_EQ(Written, FreshCellShot(3, 3));
        Grid->SetCellValue(1, 1, Variant("edit"));
        Settle();
        ASSERT_NE(Editor(), nullptr);
        EXPECT_EQ(EditorText(), "edit");
    }
}

TEST_F(CellValuesSecondReading, WrittenSelectedCellStaysSelectedOnScreen) {
    Show();
    Grid->SetStoreData(true);
    Grid->SetGridMode(gmListBox);
    Grid->SetRowSelectMode(rsMulti);
    Grid->SelectRows(2, 3, true);
    Settle();
    for (int Col : {1, 2}) {
        SCOPED_TRACE(Col);
        Grid->SetCellValue(Col, 2, Variant("WWW"));
        QImage Direct = CellShot(Col, 2);
        EXPECT_EQ(Direct, FreshCellShot(Col, 2));
    }
}

TEST_F(CellValuesSecondReading, CheckAndPictureCellsShowOddValuesAsGrayedAndEmpty) {
    Show();
    Grid->SetStoreData(true);
    Grid->GetCol(Variant(1))->SetControlType(ctCheck);
    Grid->GetCol(Variant(2))->SetControlType(ctPicture);
    Grid->SetCurrentCell(4, 1);
    Grid->SetCellValue(1, 2, Variant(TDateTime{45000.0}));
    Grid->SetCellValue(1, 3, Variant(2));
    Grid->SetCellValue(1, 4, Variant(1));
    QImage Date = FreshCellShot(1, 2);
    EXPECT_EQ(Date, CellShot(1, 3));
    EXPECT_NE(Date, CellShot(1, 4));

    Grid->SetCellValue(2, 2, Variant("no such picture"));
    EXPECT_EQ(FreshCellShot(2, 2), CellShot(2, 3));
}

TEST_F(CellValuesSecondReading, PlainTextOnACheckCellIsStoredAsTextAndDrawnAsText) {
    Show();
    Grid->GetCol(Variant(1))->SetControlType(ctCheck);
    Grid->SetCurrentCell(4, 1);
    Settle();
    QImage Before = CellShot(1, 2);
    Grid->SetCellPText(1, 2, "WWWW");
    QImage Direct = CellShot(1, 2);
    EXPECT_NE(Direct, Before); // not the grayed box of an empty check cell
    Grid->SetStoreData(true);
    Grid->SetCellPText(1, 3, "WWWW");
    Variant V = Grid->GetCellValue(1, 3);
    EXPECT_EQ(V.Type(), varString);
    EXPECT_EQ(V.AsString(), "WWWW");
}

TEST_F(CellValuesSecondReading, StateTestsFollowModeAndStatus) {
    Show();
    struct Case { TgxGridMode Mode; bool Edit, GridM; } Cases[] = {
        {gmListBox, false, false}, {gmEdit, true, true}, {gmEditInsert, true, true}, {gmBrowse, false, true}};
    for (const auto& C : Cases) {
        SCOPED_TRACE(static_cast<int>(C.Mode));
        Grid->SetGridMode(C.Mode);
        EXPECT_EQ(Grid->InEditMode(), C.Edit);
        EXPECT_EQ(Grid->InGridMode(), C.GridM);
        EXPECT_EQ(Grid->InEditState(), C.Edit);
        EXPECT_EQ(Grid->InGridState(), C.GridM);
    }
    Grid->SetGridMode(gmEdit);
    Grid->SetRowSelectMode(rsMulti);
    Grid->SelectRows(2, 2, true);
    ASSERT_EQ(Grid->GridStatus(), grRowSelect);
    EXPECT_FALSE(Grid->InEditMode());
    EXPECT_FALSE(Grid->InGridMode());
    Grid->SetGridMode(gmListBox);
    Grid->SetRowSelectMode(rsSingle);
    EXPECT_TRUE(Grid->InRowSelectMode());
    Grid->SetSkipReadOnly(true);
    EXPECT_FALSE(Grid->CanSkipReadOnly());
    Grid->SetGridMode(gmEdit);
    EXPECT_TRUE(Grid->CanSkipReadOnly());
}

TEST_F(CellValuesSecondReading, StartEditDisableNestsAndNeverGoesBelowZero) {
    Show();
    Grid->SetEnableStartEdit(false);
    Grid->SetEnableStartEdit(false);
    Grid->SetEnableStartEdit(true);
    EXPECT_FALSE(Grid->GetEnableStartEdit());
    Grid->SetEnableStartEdit(true);
    EXPECT_TRUE(Grid->GetEnableStartEdit());
    Grid->SetEnableStartEdit(true);
    Grid->SetEnableStartEdit(false);
    EXPECT_FALSE(Grid->GetEnableStartEdit());
}

TEST_F(CellValuesSecondReading, ProgramMoveOfTheCurrentCellReportsOnce) {
    Show();
    Grid->SetGridMode(gmEdit);
    Grid->SetCurrentCell(2, 2);
    Settle();
    std::vector<std::string> Log;
    Grid->OnRowChanged = [&](TObject*, int O, int N) { Log.push_back("row " + std::to_string(O) + ">" + std::to_string(N)); };
    Grid->OnColChanged = [&](TObject*, int O, int N) { Log.push_back("col " + std::to_string(O) + ">" + std::to_string(N)); };
    Grid->SetCurrentCell(3, 3);
    EXPECT_EQ(Grid->GetCurrentDataCol(), 3);
    EXPECT_EQ(Grid->GetCurrentDataRow(), 3);
    std::sort(Log.begin(), Log.end());
    EXPECT_EQ(Log, (std::vector<std::string>{"col 2>3", "row 2>3"}));
    Log.clear();
    Grid->SetCurrentCell(3, 3);
    EXPECT_TRUE(Log.empty());
}

TEST_F(CellValuesSecondReading, TypingIntoTheInsertionRowMakesItARealRow) {
    Show(3, 3);
    Grid->SetGridMode(gmEditInsert);
    Settle();
    ASSERT_TRUE(Grid->InsertionRowShown());
    Grid->SetCurrentCell(1, 4);
    Settle();
    ASSERT_NE(Editor(), nullptr);
    Type(Editor(), "n");
    Settle();
    EXPECT_EQ(Grid->GetGridRowCount(), 4);
    EXPECT_EQ(Grid->GetCellValue(1, 4).AsString(), "n");
}

} // namespace
