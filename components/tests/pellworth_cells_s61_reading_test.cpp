// The company grid's defaults, column formats, zero suppression, typed cell
// access and the cell provider, seen through its public calls and a shown
// grid's painting.
#include "components/PellworthGrid.h"
#include "grid/model/Columns.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtApp.h"
#include "platform/gui/tests/GuiTestSupport.h"
#include "PellworthCellPixels.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QWidget>

#include <map>
#include <memory>
#include <vector>

namespace {

using namespace components;
using namespace grid;

class PellworthCells : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        Form = new TForm(nullptr);
        Form->SetBounds(10, 10, 600, 400);
        Grid = new TPellworthGrid(Form);
        Grid->SetName("Grid1");
        Grid->SetParent(Form);
        Grid->SetBounds(0, 0, 400, 300);
        Grid->SetGridColCount(4);
        Grid->SetGridRowCount(4);
    }
    void TearDown() override { delete Form; }
    AnsiString Text(int C, int R) { return Grid->GetCellValue(C, R).AsString(); }

    TForm* Form = nullptr;
    TPellworthGrid* Grid = nullptr;
};

// A store of values beside the grid, as an application may attach one.
class TMapProvider : public TGridCellProvider {
public:
    void GetValue(int DataCol, int DataRow, Variant& Value) override {
        const auto Found = Values.find({DataCol, DataRow});
        Value = Found == Values.end() ? Variant(AnsiString("p?")) : Found->second;
    }
    void SetValue(int DataCol, int DataRow, const Variant& Value) override {
        Values[{DataCol, DataRow}] = Value;
    }
    std::map<std::pair<int, int>, Variant> Values;
};

TEST_F(PellworthCells, ANewGridHasTheCompanyDefaults) {
    EXPECT_FALSE(Grid->RowSelect());
    EXPECT_FALSE(Grid->AlwaysShowEditor());
    EXPECT_EQ(Grid->EditColor(), clYellow);
    EXPECT_EQ(Grid->FocusColor(), clYellow);
    EXPECT_EQ(Grid->LineColor(), clTeal);
    EXPECT_EQ(Grid->ResizeRows(), rrNone);
    EXPECT_EQ(Grid->RowChangedIndicator(), riAutoReset);
    EXPECT_FALSE(Grid->RowMoving());
    EXPECT_FALSE(Grid->SelectFixed());
    EXPECT_EQ(Grid->SelectionType(), sltColor);
    EXPECT_TRUE(Grid->StoreData());
    EXPECT_TRUE(Grid->ThumbTracking());
    EXPECT_EQ(Grid->CellSelectMode(), cmNone);
    EXPECT_EQ(Grid->RowFontStyleLastCol(), 0);
    EXPECT_FALSE(Grid->OnGetCellMinimumWidth);
    EXPECT_EQ(Grid->CellProvider, nullptr);
    ASSERT_NE(Grid->SaveColumnWidths(), nullptr);
    ASSERT_NE(Grid->SaveColumnPositions(), nullptr);
}

TEST_F(PellworthCells, AResetBringsBackTheCompanyDefaultsAndKeepsTheValues) {
    Grid->SetLineColor(clRed);
    Grid->SetEditColor(clBlue);
    Grid->SetRowMoving(true);
    Grid->SetGridDataCell("kept", 2, 2);
    Grid->ResetPropKinds({pkGrid});
    EXPECT_EQ(Grid->LineColor(), clTeal);
    EXPECT_EQ(Grid->EditColor(), clYellow);
    EXPECT_FALSE(Grid->RowMoving());
    EXPECT_TRUE(Grid->StoreData());
    EXPECT_EQ(Text(2, 2), "kept");
}

TEST_F(PellworthCells, GivenColumnSaversAreCopiedIntoTheGridsOwn) {
    TSaveColumnWidths* OwnWidths = Grid->SaveColumnWidths();
    TSaveColumnPositions* OwnPositions = Grid->SaveColumnPositions();
    TSaveColumnWidths Widths(nullptr);
    Widths.SetRegKey("Software\\Other");
    Widths.SetEnabled(true);
    TSaveColumnPositions Positions(nullptr);
    Positions.SetRegSection("Orders");
    Grid->SetSaveColumnWidths(&Widths);
    Grid->SetSaveColumnPositions(&Positions);
    EXPECT_EQ(Grid->SaveColumnWidths(), OwnWidths);
    EXPECT_EQ(Grid->SaveColumnPositions(), OwnPositions);
    EXPECT_EQ(OwnWidths->RegKey(), "Software\\Other");
    EXPECT_TRUE(OwnWidths->Enabled());
    EXPECT_EQ(OwnPositions->RegSection(), "Orders");
}

TEST_F(PellworthCells, ColumnFormatsAndZeroDisplayAreKeptPerColumn) {
    EXPECT_EQ(Grid->GetColFormat(2), "");
    Grid->SetColFormat(2, "0.00");
    EXPECT_EQ(Grid->GetColFormat(2), "0.00");
    EXPECT_EQ(Grid->GetColFormat(3), "");
    Grid->SetColFormat(2, "");
    EXPECT_EQ(Grid->GetColFormat(2), "");
    EXPECT_FALSE(Grid->GetColDisplayZero(1));
    Grid->SetColDisplayZero(1, true);
    Grid->SetColDisplayZero(3, true);
    EXPECT_TRUE(Grid->GetColDisplayZero(1));
    Grid->SetColDisplayZero(1, false);
    EXPECT_FALSE(Grid->GetColDisplayZero(1));
    EXPECT_TRUE(Grid->GetColDisplayZero(3));
    Grid->ResetColsDisplayZero();
    EXPECT_FALSE(Grid->GetColDisplayZero(3));
}

TEST_F(PellworthCells, AColumnOutsideTheGridStopsTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (const int Col : {0, 5, -1}) {
        EXPECT_DEATH(Grid->GetColFormat(Col), "DataCol > 0 && DataCol <= Cols") << Col;
        EXPECT_DEATH(Grid->SetColDisplayZero(Col, true), "TPellworthGrid") << Col;
    }
}

TEST_F(PellworthCells, FormatsRewriteTextAsANumberAndLeaveTheRestAlone) {
    struct Case {
        const char* Format;
        const char* Text;
        const char* Shown;
    };
    for (const Case C : {Case{"#,##0.00", "1234.5", "1,234.50"}, Case{"0", "$1,200%", "1200"},
                         Case{"0.00", "12abc", "12.00"}, Case{"0.00", "abc", "0.00"},
                         Case{"0.00", "", ""}, Case{"0.00", "-", "-"},
                         Case{"", "1234.5", "1234.5"}, Case{"0.0", "-2.25", "-2.3"}}) {
        Grid->SetColFormat(2, C.Format);
        AnsiString T = C.Text;
        Grid->FormatCellValue(T, 2);
        EXPECT_EQ(T, C.Shown) << C.Format << " / " << C.Text;
        Grid->SetGridDataCell(C.Text, 2, 3);
        EXPECT_EQ(Grid->FormattedCellValue(2, 3), C.Shown) << C.Text;
        EXPECT_EQ(Text(2, 3), C.Text) << "the stored value stays as written";
    }
}

TEST_F(PellworthCells, ParseGridNumberReadsWhatPeopleType) {
    struct Case {
        const char* Text;
        long double Value;
    };
    for (const Case C : {Case{"$1,200%", 1200}, Case{"12abc", 12}, Case{"abc", 0},
                         Case{"1,5", 15}, Case{"  ", 0}, Case{"-3.5", -3.5}, Case{"", 0}})
        EXPECT_EQ(ParseGridNumber(C.Text), C.Value) << C.Text;
}

TEST_F(PellworthCells, TypedCellAccessConvertsAsEachFormSays) {
    char Buffer[64];
    Grid->SetGridDataCell("hello", 1, 1);
    Grid->GetGridDataCell(Buffer, 1, 1);
    EXPECT_STREQ(Buffer, "hello");

    int I = 7;
    Grid->GetGridDataCell(I, 1, 1);
    EXPECT_EQ(I, 0) << "a text that is no integer reads as 0";
    Grid->SetGridDataCell(0, 1, 2);
    EXPECT_EQ(Text(1, 2), "0");
    Grid->SetGridDataCell(42, 1, 2);
    Grid->GetGridDataCell(I, 1, 2);
    EXPECT_EQ(I, 42);

    double D = 9;
    Grid->SetGridDataCell("   ", 2, 1);
    Grid->GetGridDataCell(D, 2, 1);
    EXPECT_EQ(D, 0.0);
    Grid->SetGridDataCell("1,5", 2, 1);
    Grid->GetGridDataCell(D, 2, 1);
    EXPECT_EQ(D, 15.0);
    Grid->SetGridDataCell(2.5, 2, 2);
    Grid->GetGridDataCell(D, 2, 2);
    EXPECT_EQ(D, 2.5);

    float F = 0;
    Grid->SetGridDataCell(1.5f, 3, 1);
    Grid->GetGridDataCell(F, 3, 1);
    EXPECT_EQ(F, 1.5f);
}

TEST_F(PellworthCells, AWrittenZeroDoubleIsBlankUnlessTheColumnShowsZeros) {
    struct Case {
        bool DisplayZero;
        const char* Stored;
    };
    for (const Case C : {Case{false, ""}, Case{true, "0"}}) {
        Grid->SetColDisplayZero(3, C.DisplayZero);
        Grid->SetGridDataCell(0.0, 3, 2);
        EXPECT_EQ(Text(3, 2), C.Stored);
        Grid->SetGridDataCell(0.0f, 3, 3);
        EXPECT_EQ(Text(3, 3), C.Stored);
    }
}

TEST_F(PellworthCells, DisplayCellAccessFollowsMovedColumnsAndRows) {
    Grid->GetCol(1)->SetDisplayCol(3); // data column 1 shows at 3
    Grid->ChangeDisplayRow(1, 2);      // data row 1 shows at 2
    Grid->SetGridDisplayCell("moved", 3, 2);
    EXPECT_EQ(Text(1, 1), "moved");
    char Buffer[32];
    Grid->SetGridDataCell("x", 2, 2);
    Grid->GetGridDisplayCell(Buffer, Grid->GetDisplayCol(2), Grid->GetDisplayRow(2));
    EXPECT_STREQ(Buffer, "x");
}

TEST_F(PellworthCells, ACellProviderTakesEveryValueAndTheGridsStoreStaysUntouched) {
    Grid->SetGridDataCell("own", 1, 1);
    TMapProvider Provider;
    Grid->CellProvider = &Provider;
    EXPECT_EQ(Text(1, 1), "p?");
    Grid->SetGridDataCell("given", 1, 1);
    EXPECT_EQ(Provider.Values[std::make_pair(1, 1)].AsString(), "given");
    Grid->SetGridDataCell(0.0, 2, 2);
    EXPECT_EQ(Provider.Values[std::make_pair(2, 2)].AsDouble(), 0.0)
        << "a provider gets the zero itself";
    Variant Loaded(AnsiString("from paint"));
    Grid->DoCellLoaded(1, 1, Loaded);
    EXPECT_EQ(Loaded.AsString(), "given");
    Grid->CellProvider = nullptr;
    EXPECT_EQ(Text(1, 1), "own");
}

// ---- painting ----------------------------------------------------------------------

class PellworthPaint : public PellworthCells {
protected:
    void Show() {
        Grid->SetGridMode(gmBrowse);
        ShowActive(*Form);
        QApplication::processEvents();
    }
    QImage Shot() { return GridPicture(*Grid); }
    int InkIn(const QImage& Image, int C, int R) {
        return CellPixels(*Grid, *Form, Image, C, R, InkPixel);
    }
};

TEST_F(PellworthPaint, CellsPaintTheFormattedTextWhichTheHandlerMayChange) {
    Grid->SetColFormat(2, "#,##0.00");
    Grid->SetGridDataCell("1234.5", 2, 1);
    Grid->SetGridDataCell("1234.5", 3, 1);
    std::vector<AnsiString> Seen;
    Grid->OnDrawCellText = [&](TObject* Sender, AnsiString& CellText, TgxDrawData& Data, bool) {
        EXPECT_EQ(Sender, Grid);
        if (Data.DataRow == 1 && Data.DataCol == 2) Seen.push_back(CellText);
        if (Data.DataRow == 1 && Data.DataCol == 3) CellText = "";
    };
    Show();
    const QImage Image = Shot();
    ASSERT_FALSE(Seen.empty());
    EXPECT_EQ(Seen.back(), "1,234.50");
    EXPECT_GT(InkIn(Image, 2, 1), 0);
    EXPECT_EQ(InkIn(Image, 3, 1), 0) << "the handler blanked what is painted";
    EXPECT_EQ(Text(2, 1), "1234.5");
    EXPECT_EQ(Text(3, 1), "1234.5");
}

TEST_F(PellworthPaint, AFormatWidensWhatIsPainted) {
    Grid->GetCol(2)->SetWidth(120);
    Grid->SetGridDataCell("5", 2, 1);
    Show();
    const int Plain = InkIn(Shot(), 2, 1);
    Grid->SetColFormat(2, "0.0000");
    const int Formatted = InkIn(Shot(), 2, 1);
    EXPECT_GT(Formatted, Plain * 2) << "\"5.0000\" paints more ink than \"5\"";
}


// Typing into a cell and leaving it hands the provider the typed value before
// the application's end-of-edit handler is asked, and even when it refuses.
TEST_F(PellworthPaint, AProviderGetsTheTypedValueBeforeTheEndOfEditHandler) {
    TMapProvider Provider;
    Provider.Values[{2, 2}] = Variant(AnsiString("old"));
    Grid->CellProvider = &Provider;
    AnsiString AtHandler;
    Grid->OnEndCellEdit = [&](TObject*, int C, int R, bool& Cancel) {
        if (C == 2 && R == 2) AtHandler = Provider.Values[{2, 2}].AsString();
        Cancel = true;
    };
    ShowActive(*Form);
    Grid->SetFocus();
    Grid->SetCol(2);
    Grid->SetRow(2);
    QApplication::processEvents();
    auto Press = [](int Key, const QString& T) {
        QWidget* W = QApplication::focusWidget();
        ASSERT_NE(W, nullptr);
        TypeKey(W, Key, T, Qt::NoModifier);
        QApplication::processEvents();
    };
    Press(Qt::Key_N, "n");
    Press(Qt::Key_E, "e");
    Press(Qt::Key_W, "w");
    Press(Qt::Key_Return, "\r");
    EXPECT_EQ(AtHandler, "new");
}

TEST_F(PellworthPaint, WhileAComboCellIsTypedInTheProviderFollowsEachChange) {
    struct Case {
        TgxButtonType Button;
        const char* Seen;
    };
    for (const Case C : {Case{btCombo, "z"}, Case{btDefault, "old"}}) {
        TearDown();
        SetUp();
        TMapProvider Provider;
        Provider.Values[{2, 2}] = Variant(AnsiString("old"));
        Grid->CellProvider = &Provider;
        Grid->GetCol(2)->SetButtonType(C.Button);
        ShowActive(*Form);
        Grid->SetFocus();
        Grid->SetCol(2);
        Grid->SetRow(2);
        QApplication::processEvents();
        QWidget* W = QApplication::focusWidget();
        ASSERT_NE(W, nullptr);
        TypeKey(W, Qt::Key_Z, "z", Qt::NoModifier);
        QApplication::processEvents();
        EXPECT_EQ(Provider.Values[std::make_pair(2, 2)].AsString(), C.Seen);
        Grid->CellProvider = nullptr;
    }
}


// The typed setters follow the grid's own rule: a cell outside the grid is
// passed over.
TEST_F(PellworthCells, TypedSettersPassOverCellsOutsideTheGrid) {
    for (const auto& [Col, Row] : {std::pair{9, 1}, std::pair{1, 7}, std::pair{0, 0}}) {
        EXPECT_NO_THROW(Grid->SetGridDataCell("x", Col, Row));
        EXPECT_NO_THROW(Grid->SetGridDataCell(5, Col, Row));
        EXPECT_NO_THROW(Grid->SetGridDataCell(2.5, Col, Row));
        EXPECT_TRUE(Grid->GetCellValue(Col, Row).IsEmpty()) << Col << "," << Row;
    }
    EXPECT_EQ(Grid->GetGridColCount(), 4);
    EXPECT_EQ(Grid->GetGridRowCount(), 4);
}


TEST_F(PellworthPaint, CellsShowWhatTheProviderHoldsOverTheLoadedEvent) {
    TMapProvider Provider;
    Provider.Values[{2, 2}] = Variant(AnsiString("WWWW"));
    Provider.Values[{3, 2}] = Variant(AnsiString(""));
    Grid->SetGridDataCell("WWWW", 3, 2); // the grid's own store is not read
    Grid->OnCellLoaded = [](TObject*, int C, int R, Variant& Value) {
        if (C == 2 && R == 2) Value = Variant(AnsiString(""));
    };
    Grid->CellProvider = &Provider;
    Show();
    const QImage Image = Shot();
    EXPECT_GT(InkIn(Image, 2, 2), 0);
    EXPECT_EQ(InkIn(Image, 3, 2), 0);
    Grid->CellProvider = nullptr;
}

} // namespace
