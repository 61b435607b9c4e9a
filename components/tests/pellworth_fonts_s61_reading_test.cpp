// Row emphasis, cell font colours and the one font size of the company
// grid, seen through its public calls and a shown grid's painting.
#include "components/PellworthGrid.h"
#include "grid/model/Columns.h"
#include "grid/model/Combo.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/QtApp.h"
#include "platform/gui/tests/GuiTestSupport.h"
#include "PellworthCellPixels.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QWidget>

namespace {

using namespace components;
using namespace grid;

class PellworthFonts : public ::testing::Test {
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
        Grid->Font()->SetColor(clNavy);
    }
    void TearDown() override { delete Form; }
    bool Own(int C, int R) { return !Grid->GetCellParentFont(C, R); }
    TFont* CellFont(int C, int R) { return Grid->GetCellFont(C, R); }

    TForm* Form = nullptr;
    TPellworthGrid* Grid = nullptr;
};

TEST_F(PellworthFonts, RowStylesReachTheCellsUpToTheLastColumn) {
    struct Case {
        int LastCol, Reached;
    };
    for (const Case C : {Case{3, 3}, Case{0, 4}}) {
        TearDown();
        SetUp();
        TFont ColumnFont;
        ColumnFont.SetColor(clMaroon);
        Grid->GetCol(2)->SetFont(&ColumnFont);
        ASSERT_FALSE(Grid->GetCol(2)->ParentFont());
        Grid->SetCellFontColor(1, 2, clOlive);
        Grid->SetRowFontStyleLastCol(C.LastCol);
        Grid->SetRowFontStyle(2, TFontStyles{fsBold});
        EXPECT_FALSE(Grid->GetRowParentFont(2));
        EXPECT_EQ(Grid->GetRowFont(2)->Style(), TFontStyles{fsBold});
        for (int Col = 1; Col <= 4; ++Col) {
            EXPECT_EQ(Own(Col, 2), Col <= C.Reached) << C.LastCol << " col " << Col;
            if (Col > C.Reached) continue;
            EXPECT_EQ(CellFont(Col, 2)->Style(), TFontStyles{fsBold}) << Col;
            EXPECT_EQ(CellFont(Col, 2)->Color(),
                      Col == 1 ? clOlive : Col == 2 ? clMaroon : clNavy)
                << "a cell's own font keeps its colour, others take their parent's " << Col;
        }
        EXPECT_FALSE(Own(1, 1)) << "other rows keep their fonts";
    }
}

TEST_F(PellworthFonts, RowColoursReachTheCellsUpToTheLastColumn) {
    Grid->SetRowFontStyleLastCol(2);
    Grid->SetRowFontColor(3, clRed);
    EXPECT_FALSE(Grid->GetRowParentFont(3));
    EXPECT_EQ(Grid->GetRowFont(3)->Color(), clRed);
    EXPECT_EQ(CellFont(1, 3)->Color(), clRed);
    EXPECT_EQ(CellFont(2, 3)->Color(), clRed);
    EXPECT_FALSE(Own(3, 3));
    Grid->SetRowFontColors(3, clGreen, 0);
    for (int Col = 1; Col <= 4; ++Col)
        EXPECT_EQ(CellFont(Col, 3)->Color(), clGreen) << Col;
}

TEST_F(PellworthFonts, AResetGivesCellsBackTheirParentsUnlessTheyHaveAColourOfTheirOwn) {
    TFont ColumnFont;
    ColumnFont.SetColor(clMaroon);
    Grid->GetCol(3)->SetFont(&ColumnFont);
    Grid->SetRowFontStyles(2, TFontStyles{fsBold, fsItalic}, 0);
    Grid->SetCellFontColor(4, 2, clFuchsia);
    Grid->ResetRowFontStyles(2, 0);
    EXPECT_TRUE(Grid->GetRowParentFont(2));
    EXPECT_FALSE(Own(1, 2));
    EXPECT_FALSE(Own(2, 2));
    EXPECT_FALSE(Own(3, 2)) << "the column font's colour is no colour of the cell's own";
    ASSERT_TRUE(Own(4, 2));
    EXPECT_EQ(CellFont(4, 2)->Color(), clFuchsia);
}

TEST_F(PellworthFonts, ACellColourOfTheGridFontIsNoColourOfItsOwn) {
    Grid->SetCellFontColor(2, 2, clRed);
    ASSERT_TRUE(Own(2, 2));
    EXPECT_EQ(CellFont(2, 2)->Color(), clRed);
    Grid->SetCellFontColor(2, 2, clNavy);
    EXPECT_FALSE(Own(2, 2));
}

TEST_F(PellworthFonts, ARowOutsideTheGridStopsTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (const int Row : {0, 5})
        EXPECT_DEATH(Grid->SetRowFontStyles(Row, TFontStyles{fsBold}, 0),
                     "DataRow > 0 && DataRow <= Rows")
            << Row;
}

TEST_F(PellworthFonts, OneFontSizeSizesFontsRowsAndHeading) {
    TFont ColumnFont;
    Grid->GetCol(2)->SetFont(&ColumnFont);
    Grid->GetCol(3)->SetParentCombo(false);
    ASSERT_NE(Grid->GetCol(3)->GetCombo(), nullptr);
    Grid->SetRowFontStyles(2, TFontStyles{fsBold}, 0);
    Grid->SetCellFontColor(1, 4, clRed);
    Grid->SetFontSize(12);

    TBitmap Measure;
    Measure.Canvas()->Font()->Assign(Grid->Font());
    const int Height = Measure.Canvas()->TextHeight("Wy");
    EXPECT_EQ(Grid->Font()->Size(), 12);
    EXPECT_EQ(Grid->HeadingFont()->Size(), 12);
    EXPECT_EQ(Grid->DefaultRowHeight(), Height + 2);
    EXPECT_EQ(Grid->GetHeadingHeight(), Height + 2);
    EXPECT_EQ(Grid->GetCol(2)->GetFont()->Size(), 12);
    EXPECT_EQ(Grid->GetRowFont(2)->Size(), 12);
    for (int Col = 1; Col <= 4; ++Col)
        EXPECT_EQ(CellFont(Col, 2)->Size(), 12) << Col;
    EXPECT_EQ(CellFont(1, 4)->Size(), 12);
    EXPECT_EQ(Grid->GetCol(3)->GetCombo()->GetGrid()->DefaultRowHeight(), Height + 2);
    for (int R = 1; R <= 4; ++R)
        EXPECT_EQ(Grid->RowHeights(R), Height + 2) << R;
}

// ---- painting ----------------------------------------------------------------------

class PellworthFontPaint : public PellworthFonts {
protected:
    void Show() {
        Grid->SetGridMode(gmBrowse);
        for (int C = 1; C <= 4; ++C)
            for (int R = 1; R <= 4; ++R)
                Grid->SetGridDataCell("Wide", C, R);
        ShowActive(*Form);
        QApplication::processEvents();
    }
    QImage Shot() { return GridPicture(*Grid); }
    int CountIn(const QImage& Image, int C, int R, const std::function<bool(QRgb)>& Match) {
        return CellPixels(*Grid, *Form, Image, C, R, Match);
    }
    static bool Ink(QRgb P) { return InkPixel(P); }
    static bool Reddish(QRgb P) { return qRed(P) > 150 && qGreen(P) < 80 && qBlue(P) < 80; }
};

TEST_F(PellworthFontPaint, ABoldRowPaintsHeavierAndAResetPaintsItAsBefore) {
    Show();
    const int Plain = CountIn(Shot(), 2, 3, Ink);
    Grid->SetRowFontStyle(3, TFontStyles{fsBold});
    const int Bold = CountIn(Shot(), 2, 3, Ink);
    EXPECT_GT(Bold, Plain);
    Grid->ResetRowFontStyles(3, 0);
    EXPECT_EQ(CountIn(Shot(), 2, 3, Ink), Plain);
}

TEST_F(PellworthFontPaint, ARowColourPaintsItsCellsAndACellColourSurvivesTheReset) {
    Show();
    EXPECT_EQ(CountIn(Shot(), 1, 2, Reddish), 0);
    Grid->SetRowFontColor(2, clRed);
    const QImage Image = Shot();
    for (int C = 1; C <= 4; ++C)
        EXPECT_GT(CountIn(Image, C, 2, Reddish), 0) << C;
    EXPECT_EQ(CountIn(Image, 1, 3, Reddish), 0);

    Grid->SetRowFontStyle(3, TFontStyles{fsBold});
    Grid->SetCellFontColor(4, 3, clRed);
    Grid->ResetRowFontStyles(3, 0);
    const QImage After = Shot();
    EXPECT_EQ(CountIn(After, 1, 3, Reddish), 0);
    EXPECT_GT(CountIn(After, 4, 3, Reddish), 0);
}


// Emphasis changes style or colour only: the cells keep the face and size
// of the font they had.
TEST_F(PellworthFonts, EmphasisKeepsTheFaceAndSizeOfTheCellsFont) {
    Grid->Font()->SetSize(15);
    Grid->Font()->SetName("DejaVu Serif");
    TFont ColumnFont;
    ColumnFont.SetSize(11);
    ColumnFont.SetName("DejaVu Sans Mono");
    Grid->GetCol(2)->SetFont(&ColumnFont);
    Grid->SetRowFontStyles(3, TFontStyles{fsUnderline}, 0);
    Grid->SetRowFontColors(4, clRed, 0);
    for (const int Row : {3, 4}) {
        EXPECT_EQ(CellFont(1, Row)->Size(), 15) << Row;
        EXPECT_EQ(CellFont(1, Row)->Name(), "DejaVu Serif") << Row;
        EXPECT_EQ(CellFont(2, Row)->Size(), 11) << Row;
        EXPECT_EQ(CellFont(2, Row)->Name(), "DejaVu Sans Mono") << Row;
        EXPECT_EQ(Grid->GetRowFont(Row)->Size(), 15) << Row;
    }
    Grid->SetCellFontColor(3, 1, clRed);
    EXPECT_EQ(CellFont(3, 1)->Size(), 15);
}


TEST_F(PellworthFonts, AResetReachesOnlyUpToItsLastColumn) {
    Grid->SetRowFontStyles(2, TFontStyles{fsBold}, 0);
    Grid->ResetRowFontStyles(2, 2);
    EXPECT_TRUE(Grid->GetRowParentFont(2));
    EXPECT_FALSE(Own(1, 2));
    EXPECT_FALSE(Own(2, 2));
    EXPECT_TRUE(Own(3, 2));
    EXPECT_TRUE(Own(4, 2));
    EXPECT_EQ(CellFont(4, 2)->Style(), TFontStyles{fsBold});
}

} // namespace
