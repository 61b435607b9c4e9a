// Cell values through the grid's public calls and the keyboard: where a
// value is read from, how it is stored and what the cell then shows.
#include "ShownGridFixture.h"

#include "grid/foundation/GridCommonVariant.h"
#include "grid/model/Columns.h"
#include "grid/model/GridControl.h"
#include "grid/model/InplaceControl.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include <vector>

using namespace grid;

namespace {

class CellValues : public ShownGridFixture {
protected:
    void SetUp() override {
        ShowGrid(6, 12);
        Grid->SetName("ValueGrid");
        Grid->SetColor(clWhite);
        Grid->SetStoreData(true);
        Grid->GetCol(4)->SetControlType(ctCheck);
        Grid->GetCol(5)->SetControlType(ctPicture);
        Grid->Invalidate();
        Grid->Update();
    }
    // The cell's pixels, for comparing what two cells show.
    std::vector<TColor> CellImage(int Col, int Row) {
        const TRect R = Grid->CellRect(Col, Row);
        std::vector<TColor> Result;
        for (int Y = R.Top + 1; Y < R.Bottom - 1; ++Y)
            for (int X = R.Left + 1; X < R.Right - 1; ++X)
                Result.push_back(ColorToRGB(Grid->Canvas()->Pixels(X, Y)));
        return Result;
    }
    int DarkPixels(int Col, int Row) {
        int N = 0;
        for (TColor C : CellImage(Col, Row))
            if ((C & 0xFF) < 0x80 && ((C >> 8) & 0xFF) < 0x80 && ((C >> 16) & 0xFF) < 0x80) ++N;
        return N;
    }
    void Type(const char* Text) {
        for (const char* P = Text; *P; ++P) {
            QWidget* W =
                QApplication::focusWidget() ? QApplication::focusWidget() : Grid->ClientWidget();
            const QString S(QChar::fromLatin1(*P));
            QKeyEvent Down(QEvent::KeyPress, Qt::Key_A + (*P - 'a'), Qt::NoModifier, S);
            QApplication::sendEvent(W, &Down);
            QKeyEvent Up(QEvent::KeyRelease, Qt::Key_A + (*P - 'a'), Qt::NoModifier, S);
            QApplication::sendEvent(W, &Up);
        }
    }
};

TEST_F(CellValues, OutsideTheGridOrInAnEmptyKindOfCellNothingIsRead) {
    Grid->SetCellValue(1, 1, "a");
    Grid->GetCol(2)->SetControlType(ctNone);
    Grid->SetCellValue(2, 1, "b");
    for (auto [Col, Row] : {std::pair{0, 1}, {7, 1}, {1, 0}, {1, 13}, {2, 1}})
        EXPECT_TRUE(Grid->GetCellValue(Col, Row).IsEmpty()) << Col << "," << Row;
    // Writers ignore cells outside and leave the rest alone.
    for (auto [Col, Row] : {std::pair{0, 1}, {7, 1}, {1, 0}, {1, 13}}) {
        Grid->SetCellValue(Col, Row, "x");
        Grid->SetCellPText(Col, Row, "x");
    }
    EXPECT_EQ(Grid->GetCellValue(1, 1).AsString(), "a");
}

TEST_F(CellValues, TextCellsKeepTheTextOfAnyValue) {
    Grid->SetCellValue(1, 2, Variant(42));
    const Variant V = Grid->GetCellValue(1, 2);
    EXPECT_EQ(V.Type(), varString);
    EXPECT_EQ(V.AsString(), "42");
    Grid->SetCellPText(4, 2, "Hello");
    EXPECT_EQ(Grid->GetCellValue(4, 2).Type(), varString);
    EXPECT_EQ(Grid->GetCellValue(4, 2).AsString(), "Hello");
}

TEST_F(CellValues, ReadingACellInsideOnCellLoadedIsRefusedByName) {
    // Not the current cell, whose editor holds its value and asks no one.
    Grid->SetCellValue(3, 3, "a");
    Grid->OnCellLoaded = [this](TObject*, int, int, Variant&) { Grid->GetCellValue(2, 2); };
    try {
        Grid->GetCellValue(3, 3);
        ADD_FAILURE() << "no error";
    } catch (const EInvalidGridOperation& E) {
        EXPECT_NE(E.Message.find("Cannot get Cell property value while in OnCellLoaded event"),
                  AnsiString::npos);
        EXPECT_NE(E.Message.find("ValueGrid"), AnsiString::npos);
    }
    Grid->OnCellLoaded = nullptr;
    // Nothing is left half-read: reading and writing go on as before.
    EXPECT_EQ(Grid->GetCellValue(3, 3).AsString(), "a");
    Grid->SetCellValue(3, 3, "b");
    EXPECT_EQ(Grid->GetCellValue(3, 3).AsString(), "b");
}

TEST_F(CellValues, TheApplicationsValueAndAWriteToTheCellBeingRead) {
    Grid->SetStoreData(false);
    Grid->OnCellLoaded = [](TObject*, int DataCol, int DataRow, Variant& Value) {
        Value = AnsiString("loaded ") + AnsiString(std::to_string(DataCol * 10 + DataRow));
    };
    EXPECT_EQ(Grid->GetCellValue(2, 3).AsString(), "loaded 23");
    Grid->OnCellLoaded = [this](TObject*, int DataCol, int DataRow, Variant&) {
        Grid->SetCellValue(DataCol, DataRow, "written");
    };
    EXPECT_EQ(Grid->GetCellValue(2, 3).AsString(), "written");
}

TEST_F(CellValues, AnEditInProgressWinsAndAsksNoOne) {
    Grid->SetCellValue(2, 2, "stored");
    Grid->SetCurrentCell(2, 2);
    Grid->SetFocus();
    Type("typed");
    int Loaded = 0;
    Grid->OnCellLoaded = [&Loaded](TObject*, int, int, Variant&) { ++Loaded; };
    EXPECT_EQ(Grid->GetCellValue(2, 2).AsString(), "typed");
    EXPECT_EQ(Loaded, 0);
}

TEST_F(CellValues, WritingTheCurrentCellReloadsItsEditor) {
    Grid->SetCurrentCell(2, 2);
    Grid->SetFocus();
    ASSERT_NE(Grid->GridControl(), nullptr);
    Grid->SetCellValue(2, 2, "fresh");
    EXPECT_EQ(Grid->GridControl()->GetValue().AsString(), "fresh");
    EXPECT_EQ(Grid->GetCellValue(2, 2).AsString(), "fresh");
}

TEST_F(CellValues, AWrittenCellShowsItsValue) {
    const auto Blank = CellImage(3, 3);
    Grid->SetCellValue(3, 3, "WWWW");
    Grid->Update();
    EXPECT_GT(DarkPixels(3, 3), 10);
    EXPECT_NE(CellImage(3, 3), Blank);
}

TEST_F(CellValues, CheckAndPictureCellsShowOddValuesAsTheirEmptyLook) {
    Grid->SetCellValue(4, 1, Variant(2));
    Grid->SetCellValue(4, 2, Variant(TDateTime(45000.0)));
    Grid->SetCellValue(4, 3, Variant(1));
    Grid->SetCellValue(5, 2, "no such picture");
    Grid->Invalidate();
    Grid->Update();
    EXPECT_EQ(CellImage(4, 2), CellImage(4, 1));
    EXPECT_NE(CellImage(4, 3), CellImage(4, 1));
    EXPECT_EQ(CellImage(5, 2), CellImage(5, 1));
}

TEST_F(CellValues, WithoutStoredDataAWriteShowsAtOnceAndPTextAsText) {
    Grid->SetStoreData(false);
    Grid->Invalidate();
    Grid->Update();
    const auto Blank = CellImage(4, 5);
    Grid->SetCellPText(4, 5, "Hello");
    EXPECT_GT(DarkPixels(4, 5), 10);
    EXPECT_NE(CellImage(4, 5), Blank);
    Grid->SetCellValue(2, 5, "WWWW");
    EXPECT_GT(DarkPixels(2, 5), 10);
}

TEST_F(CellValues, StateTests) {
    struct Case {
        TgxGridMode Mode;
        bool RowsSelected;
        bool EditMode, GridMode, RowSelectMode, SkipReadOnly;
    };
    const Case Cases[] = {
        {gmEdit, false, true, true, false, true},    {gmEditInsert, false, true, true, false, true},
        {gmBrowse, false, false, true, false, true}, {gmListBox, false, false, false, false, false},
        {gmEdit, true, false, false, false, true},
    };
    for (const Case& C : Cases) {
        Grid->SetRowSelectMode(rsMulti);
        Grid->SetGridMode(C.Mode);
        Grid->ResetSelection();
        if (C.RowsSelected) Grid->SelectRows(3, 4, true);
        EXPECT_EQ(Grid->InEditMode(), C.EditMode) << int(C.Mode) << C.RowsSelected;
        EXPECT_EQ(Grid->InGridMode(), C.GridMode) << int(C.Mode) << C.RowsSelected;
        EXPECT_EQ(Grid->InGridState(), C.GridMode) << int(C.Mode) << C.RowsSelected;
        EXPECT_EQ(Grid->InEditState(), C.EditMode) << int(C.Mode) << C.RowsSelected;
        EXPECT_EQ(Grid->InRowSelectMode(), C.RowSelectMode) << int(C.Mode);
        EXPECT_EQ(Grid->CanSkipReadOnly(), C.SkipReadOnly) << int(C.Mode);
    }
    Grid->SetRowSelectMode(rsSingle);
    Grid->SetGridMode(gmListBox);
    EXPECT_TRUE(Grid->InRowSelectMode());
    Grid->SetGridMode(gmEdit);
    Grid->ResetSelection();
    Grid->SetGridRowCount(0);
    EXPECT_FALSE(Grid->InGridState());
    EXPECT_FALSE(Grid->InEditState());
}

TEST_F(CellValues, StartingEditsIsDisabledAsOftenAsAsked) {
    Grid->SetEnableStartEdit(false);
    Grid->SetEnableStartEdit(false);
    Grid->SetEnableStartEdit(true);
    EXPECT_FALSE(Grid->GetEnableStartEdit());
    Grid->SetEnableStartEdit(true);
    EXPECT_TRUE(Grid->GetEnableStartEdit());
    Grid->SetEnableStartEdit(true);
    Grid->SetEnableStartEdit(false);
    EXPECT_FALSE(Grid->GetEnableStartEdit());
    Grid->SetEnableStartEdit(true);
}

TEST_F(CellValues, SetCurrentCellMovesReportsAndRespectsAnEditThatCannotEnd) {
    std::vector<std::vector<int>> Changes;
    Grid->OnCellChanged = [&Changes](TObject*, int OldCol, int NewCol, int OldRow, int NewRow) {
        Changes.push_back({OldCol, NewCol, OldRow, NewRow});
    };
    Grid->SetCurrentCell(2, 3);
    EXPECT_EQ(Grid->Col(), 2);
    EXPECT_EQ(Grid->Row(), 3);
    ASSERT_EQ(Changes.size(), 1u);
    EXPECT_EQ(Changes.back()[1], 2);
    EXPECT_EQ(Changes.back()[3], 3);
    Grid->SetCurrentCell(2, 3);
    EXPECT_EQ(Changes.size(), 1u);

    Grid->SetFocus();
    Type("x");
    Grid->OnEndCellEdit = [](TObject*, int, int, bool& Cancel) { Cancel = true; };
    Grid->SetCurrentCell(3, 5);
    EXPECT_EQ(Grid->Col(), 2);
    EXPECT_EQ(Grid->Row(), 3);
}

TEST_F(CellValues, SetCurrentCellCarriesTheSingleRowOfAListBox) {
    Grid->SetGridMode(gmListBox);
    Grid->SetRowSelectMode(rsSingle);
    Grid->SetCurrentCell(1, 2);
    Grid->SelectRows(2, 2, true);
    Grid->SetCurrentCell(1, 6);
    EXPECT_FALSE(Grid->RowSelection().GetSelected(2));
    EXPECT_TRUE(Grid->RowSelection().GetSelected(6));
    EXPECT_EQ(Grid->RowSelection().Count(), 1);
}

TEST_F(CellValues, TypingReportsTheEditAndMarksTheRowChanged) {
    std::vector<std::vector<int>> Edits;
    Grid->OnCellEdit = [&Edits](TObject*, int DataCol, int DataRow, bool ByUser) {
        Edits.push_back({DataCol, DataRow, ByUser ? 1 : 0});
    };
    Grid->SetCurrentCell(3, 4);
    Grid->SetFocus();
    Grid->Update();
    const auto RowBar = CellImage(0, 4);
    Type("ab");
    ASSERT_FALSE(Edits.empty());
    EXPECT_EQ(Edits.front(), (std::vector<int>{3, 4, 1}));
    // The row bar shows the row changed.
    EXPECT_NE(CellImage(0, 4), RowBar);
}

TEST_F(CellValues, TypingIntoTheInsertionRowMakesItARow) {
    Grid->SetGridMode(gmEditInsert);
    ASSERT_EQ(Grid->RowCount(), 14);
    int Inserted = 0;
    Grid->OnRowCountChanged = [&Inserted](TObject*, int, int) { ++Inserted; };
    Grid->SetCurrentCell(2, 13);
    Grid->SetFocus();
    Type("n");
    EXPECT_EQ(Grid->GetGridRowCount(), 13);
    EXPECT_EQ(Grid->RowCount(), 15);
    EXPECT_EQ(Grid->GetCellValue(2, 13).AsString(), "n");
    EXPECT_GE(Inserted, 1);
}

TEST_F(CellValues, AValueWrittenIntoASelectedCellShowsSelected) {
    for (TgxSelectionType Look : {sltInvert, sltColor}) {
        Grid->SetStoreData(false);
        Grid->SetSelectionType(Look);
        Grid->SetSelectionColor(clRed);
        Grid->ResetSelection();
        Grid->Invalidate();
        Grid->Update();
        Grid->SelectRows(3, 3, true);
        const TColor On = Look == sltInvert ? TColor(0) : ColorToRGB(clRed);
        const TRect R = Grid->CellRect(2, 3);
        auto Edge = [&] {
            return ColorToRGB(Grid->Canvas()->Pixels(R.Right - 3, (R.Top + R.Bottom) / 2));
        };
        ASSERT_EQ(Edge(), On) << int(Look);
        Grid->SetCellValue(2, 3, "WW");
        EXPECT_EQ(Edge(), On) << int(Look);
        Grid->SetCellPText(2, 3, "MM");
        EXPECT_EQ(Edge(), On) << int(Look);
    }
}

TEST_F(CellValues, TheCurrentCellKeepsItsOwnCopyOfAPicture) {
    for (bool Store : {false, true}) {
        Grid->SetStoreData(Store);
        Grid->SetCurrentCell(5, 2);
        auto* Picture = new TBitmap;
        Picture->SetSize(8, 8);
        Picture->Canvas()->Brush()->SetColor(clRed);
        Picture->Canvas()->FillRect(TRect{0, 0, 8, 8});
        Grid->SetCellValue(5, 2, BitmapToVariant(Picture));
        TBitmap* Held = VariantToBitmap(Grid->GetCellValue(5, 2));
        ASSERT_NE(Held, nullptr) << Store;
        EXPECT_NE(Held, Picture) << Store;
        // Store the cell plain again before the picture goes, as an
        // application must for the values it keeps.
        Grid->SetCellValue(5, 2, Variant());
        delete Picture;
        Grid->Invalidate();
        Grid->Update();
        Grid->SetCurrentCell(1, 1);
    }
}

TEST_F(CellValues, AnEmptyValueEmptiesTheCurrentCellsEditor) {
    Grid->SetCellValue(2, 2, "abc");
    Grid->SetCurrentCell(2, 2);
    ASSERT_EQ(Grid->GridControl()->GetValue().AsString(), "abc");
    Grid->SetCellValue(2, 2, Variant());
    EXPECT_EQ(Grid->GridControl()->GetValue().AsString(), "");
}

TEST_F(CellValues, CheckCellsReadTextsThroughTheirValues) {
    Grid->SetCheckBoxValues("Yes|No");
    Grid->SetCellValue(4, 1, Variant(1));
    Grid->SetCellValue(4, 2, "Yes");
    Grid->SetCellValue(4, 3, Variant(0));
    Grid->SetCellValue(4, 4, "No");
    Grid->Invalidate();
    Grid->Update();
    EXPECT_EQ(CellImage(4, 2), CellImage(4, 1));
    EXPECT_EQ(CellImage(4, 4), CellImage(4, 3));
    EXPECT_NE(CellImage(4, 1), CellImage(4, 3));
}

TEST_F(CellValues, WritesDuringFastAssignShowWhenItEnds) {
    Grid->SetFastAssign(true);
    Grid->SetCellValue(3, 3, "WWWW");
    Grid->SetCellValue(3, 4, "WWWW");
    Grid->SetFastAssign(false);
    Grid->Update();
    EXPECT_GT(DarkPixels(3, 3), 10);
    EXPECT_GT(DarkPixels(3, 4), 10);
}

} // namespace
