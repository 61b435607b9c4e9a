// Row emphasis, cell colours and one font size on the company grid, shown
// on a form: what the fonts of rows and cells hold after each operation and
// what the window paints with them.
#include "components/PellworthGrid.h"
#include "components/tests/PellworthCellPixels.h"
#include "grid/model/Columns.h"
#include "grid/model/Combo.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtApp.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace components;

namespace {

constexpr int kCols = 5;
constexpr int kRows = 6;

class RowFontsTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        Form = new TForm(nullptr);
        Form->SetBounds(10, 10, 640, 400);
        Grid = new TPellworthGrid(Form);
        Grid->SetParent(Form);
        Grid->SetBounds(0, 0, 600, 300);
        Form->Show();
        Grid->SetGridColCount(kCols);
        Grid->SetGridRowCount(kRows);
        Grid->Font()->SetColor(clBlack);
    }
    void TearDown() override { delete Form; }

    // Gives data column DataCol a font of its own in Color.
    void OwnColumnFont(int DataCol, TColor Color) {
        TFont F;
        F.Assign(Grid->Font());
        F.SetColor(Color);
        Grid->GetCol(DataCol)->SetFont(&F);
        ASSERT_FALSE(Grid->GetCol(DataCol)->ParentFont());
    }
    bool Own(int DataCol, int DataRow) { return !Grid->GetCellParentFont(DataCol, DataRow); }
    TFont* CellFont(int DataCol, int DataRow) { return Grid->GetCellFont(DataCol, DataRow); }

    TForm* Form = nullptr;
    TPellworthGrid* Grid = nullptr;
};

TEST_F(RowFontsTest, RowStyleAndColourReachTheColumnsUpToTheLastColumn) {
    struct Case {
        int StoredLastCol;
        int StyledRow, ColouredRow;
        int Expected; // columns whose cells follow the row
    } const Cases[] = {{3, 1, 2, 3}, {0, 3, 4, kCols}, {kCols, 5, 6, kCols}};
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.StoredLastCol);
        Grid->SetRowFontStyleLastCol(C.StoredLastCol);
        EXPECT_EQ(Grid->RowFontStyleLastCol(), C.StoredLastCol);
        Grid->SetRowFontStyle(C.StyledRow, {fsBold});
        Grid->SetRowFontColor(C.ColouredRow, clRed);
        EXPECT_FALSE(Grid->GetRowParentFont(C.StyledRow));
        EXPECT_TRUE(Grid->GetRowFont(C.StyledRow)->Style().Contains(fsBold));
        EXPECT_FALSE(Grid->GetRowParentFont(C.ColouredRow));
        EXPECT_EQ(Grid->GetRowFont(C.ColouredRow)->Color(), clRed);
        for (int Col = 1; Col <= kCols; ++Col) {
            SCOPED_TRACE(Col);
            const bool In = Col <= C.Expected;
            EXPECT_EQ(Own(Col, C.StyledRow), In);
            EXPECT_EQ(Own(Col, C.ColouredRow), In);
            if (!In) continue;
            EXPECT_TRUE(CellFont(Col, C.StyledRow)->Style().Contains(fsBold));
            EXPECT_EQ(CellFont(Col, C.StyledRow)->Color(), clBlack);
            EXPECT_EQ(CellFont(Col, C.ColouredRow)->Color(), clRed);
        }
    }
}

TEST_F(RowFontsTest, NewCellFontTakesTheColourOfItsColumnAndKeepsAnOwnColour) {
    OwnColumnFont(2, clGreen);
    Grid->SetCellFontColor(3, 1, clBlue);
    Grid->SetRowFontStyles(1, {fsItalic, fsUnderline}, 0);
    const TColor Expected[kCols + 1] = {clNone, clBlack, clGreen, clBlue, clBlack, clBlack};
    for (int Col = 1; Col <= kCols; ++Col) {
        SCOPED_TRACE(Col);
        ASSERT_TRUE(Own(Col, 1));
        EXPECT_EQ(CellFont(Col, 1)->Color(), Expected[Col]);
        EXPECT_EQ(CellFont(Col, 1)->Style(), (TFontStyles{fsItalic, fsUnderline}));
    }
    EXPECT_EQ(Grid->GetRowFont(1)->Style(), (TFontStyles{fsItalic, fsUnderline}));
}

TEST_F(RowFontsTest, ResetGivesCellsBackUnlessTheyCarryTheirOwnColour) {
    OwnColumnFont(2, clGreen);
    OwnColumnFont(4, clGreen);
    Grid->SetRowFontStyles(1, {fsBold}, 0);
    Grid->SetCellFontColor(3, 1, clBlue);
    // A grid-coloured cell under a column of its own font goes back as well.
    CellFont(4, 1)->SetColor(clBlack);
    Grid->SetCellFontColor(5, 1, clFuchsia);
    Grid->ResetRowFontStyles(1, 0);
    EXPECT_TRUE(Grid->GetRowParentFont(1));
    const bool KeepsOwn[kCols + 1] = {false, false, false, true, false, true};
    for (int Col = 1; Col <= kCols; ++Col) {
        SCOPED_TRACE(Col);
        EXPECT_EQ(Own(Col, 1), KeepsOwn[Col]);
    }
    EXPECT_EQ(CellFont(3, 1)->Color(), clBlue);
    EXPECT_EQ(CellFont(5, 1)->Color(), clFuchsia);

    // LastCol limits the reset.
    Grid->SetRowFontStyles(2, {fsBold}, 0);
    Grid->ResetRowFontStyles(2, 2);
    for (int Col = 1; Col <= kCols; ++Col)
        EXPECT_EQ(Own(Col, 2), Col > 2) << Col;
}

TEST_F(RowFontsTest, CellColourOfTheGridFontDropsTheOwnFont) {
    Grid->SetCellFontColor(2, 2, clRed);
    ASSERT_TRUE(Own(2, 2));
    EXPECT_EQ(CellFont(2, 2)->Color(), clRed);
    EXPECT_FALSE(Own(1, 2));
    Grid->SetCellFontColor(2, 2, Grid->Font()->Color());
    EXPECT_FALSE(Own(2, 2));
}

TEST_F(RowFontsTest, FontSizeSetsHeightsAndEveryOwnFont) {
    OwnColumnFont(2, clGreen);
    Grid->GetCol(3)->SetParentCombo(false);
    ASSERT_NE(Grid->GetCol(3)->GetCombo(), nullptr);
    Grid->SetRowFontColor(4, clRed);
    Grid->SetCellFontColor(1, 5, clBlue);

    Grid->SetFontSize(12);
    EXPECT_EQ(Grid->Font()->Size(), 12);
    EXPECT_EQ(Grid->HeadingFont()->Size(), 12);
    TFont Probe;
    Probe.Assign(Grid->Font());
    Grid->Canvas()->Font()->Assign(&Probe);
    const int Expected = Grid->Canvas()->TextHeight("Wy") + 2;
    EXPECT_GT(Expected, 2);
    EXPECT_EQ(Grid->GridDefaultRowHeight(), Expected);
    EXPECT_EQ(Grid->GetHeadingHeight(), Expected);
    EXPECT_EQ(Grid->GetCol(2)->GetFont()->Size(), 12);
    EXPECT_EQ(Grid->GetCol(3)->GetCombo()->GetGrid()->GridDefaultRowHeight(), Expected);
    EXPECT_EQ(Grid->GetRowFont(4)->Size(), 12);
    for (int Col = 1; Col <= kCols; ++Col)
        EXPECT_EQ(CellFont(Col, 4)->Size(), 12) << Col;
    EXPECT_EQ(CellFont(1, 5)->Size(), 12);
    EXPECT_EQ(CellFont(1, 5)->Color(), clBlue);
    // The window lays its rows out in the new height.
    EXPECT_EQ(Grid->RowHeights(1), Expected);
    EXPECT_EQ(Grid->RowHeights(0), Expected);
}

TEST_F(RowFontsTest, WindowPaintsRowColourAndEmphasis) {
    for (int Row = 1; Row <= kRows; ++Row)
        for (int Col = 1; Col <= kCols; ++Col)
            Grid->SetCellValue(Col, Row, "WWWWWW");
    Grid->SetRowFontColor(2, clRed);
    Grid->SetRowFontStyles(3, {fsBold}, 0);
    Grid->SetCellFontColor(4, 4, clBlue);
    const QImage Image = GridPicture(*Grid);
    auto Red = [](QRgb P) { return qRed(P) > 180 && qGreen(P) < 80 && qBlue(P) < 80; };
    auto Blue = [](QRgb P) { return qBlue(P) > 120 && qRed(P) < 80 && qGreen(P) < 80; };
    EXPECT_GT(CellPixels(*Grid, *Form, Image, 1, 2, Red), 10);
    EXPECT_EQ(CellPixels(*Grid, *Form, Image, 1, 1, Red), 0);
    EXPECT_GT(CellPixels(*Grid, *Form, Image, 4, 4, Blue), 10);
    EXPECT_EQ(CellPixels(*Grid, *Form, Image, 3, 4, Blue), 0);
    EXPECT_GT(CellPixels(*Grid, *Form, Image, 2, 3, InkPixel),
              CellPixels(*Grid, *Form, Image, 2, 1, InkPixel));

    // A reset keeps colours the cells carry; the row colour is taken back
    // by giving the row the grid's colour first.
    Grid->ResetRowFontStyles(2, 0);
    Grid->ResetRowFontStyles(3, 0);
    EXPECT_GT(CellPixels(*Grid, *Form, GridPicture(*Grid), 1, 2, Red), 10);
    Grid->SetRowFontColor(2, Grid->Font()->Color());
    Grid->ResetRowFontStyles(2, 0);
    const QImage After = GridPicture(*Grid);
    EXPECT_EQ(CellPixels(*Grid, *Form, After, 1, 2, Red), 0);
    EXPECT_GT(CellPixels(*Grid, *Form, After, 4, 4, Blue), 10);
    EXPECT_EQ(CellPixels(*Grid, *Form, After, 2, 3, InkPixel),
              CellPixels(*Grid, *Form, After, 2, 1, InkPixel));
}

// Rows of a cell that hold ink: the height of the painted text.
int InkRows(TPellworthGrid& Grid, TForm& Form, const QImage& Image, int DataCol, int DataRow) {
    int Rows = 0;
    const TRect Rect = Grid.CellRect(Grid.GetDisplayCol(DataCol), Grid.GetDisplayRow(DataRow));
    const TPoint Client = Grid.ClientToScreen(Point(0, 0));
    const TPoint Outer = Form.ClientToScreen(Point(Grid.Left(), Grid.Top()));
    for (int Y = Rect.Top + 1; Y < Rect.Bottom - 1; ++Y) {
        bool Ink = false;
        for (int X = Rect.Left + 2; X < Rect.Right - 2 && !Ink; ++X)
            Ink = InkPixel(Image.pixel(Client.X - Outer.X + X, Client.Y - Outer.Y + Y));
        Rows += Ink;
    }
    return Rows;
}

TEST_F(RowFontsTest, WindowPaintsTheNewFontSize) {
    Grid->SetCellValue(1, 1, "Wy");
    Grid->SetFontSize(8);
    const int Small = InkRows(*Grid, *Form, GridPicture(*Grid), 1, 1);
    Grid->SetFontSize(16);
    const int Large = InkRows(*Grid, *Form, GridPicture(*Grid), 1, 1);
    EXPECT_GT(Small, 0);
    EXPECT_GT(Large, Small + 3);
}

TEST_F(RowFontsTest, ShownGridRepaintsAChangedRow) {
    for (int Col = 1; Col <= kCols; ++Col)
        Grid->SetCellValue(Col, 2, "WWWWWW");
    (void)GridPicture(*Grid);
    Grid->SetRowFontColor(2, clRed);
    QApplication::processEvents();
    const QImage Image = Grid->Widget()->grab().toImage();
    auto Red = [](QRgb P) { return qRed(P) > 180 && qGreen(P) < 80 && qBlue(P) < 80; };
    EXPECT_GT(CellPixels(*Grid, *Form, Image, 2, 2, Red), 10);
}

// A last column beyond the grid is the caller's error: the grid's column
// check names it.
TEST_F(RowFontsTest, LastColumnBeyondTheGridIsNamed) {
    Grid->SetName("Orders");
    for (auto Call : {+[](TPellworthGrid* G) { G->SetRowFontStyles(1, {fsBold}, kCols + 3); },
                      +[](TPellworthGrid* G) { G->SetRowFontColors(2, clRed, kCols + 3); }}) {
        try {
            Call(Grid);
            ADD_FAILURE() << "no error";
        } catch (const grid::EInvalidGridOperation& E) {
            EXPECT_NE(std::string(E.what()).find("Orders"), std::string::npos) << E.what();
            EXPECT_NE(std::string(E.what()).find(std::to_string(kCols + 1)), std::string::npos)
                << E.what();
        }
    }
}

using RowFontsDeathTest = RowFontsTest;

TEST_F(RowFontsDeathTest, RowOutsideTheGridStopsTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(Grid->SetRowFontStyles(0, {fsBold}, 0), "DataRow > 0 && DataRow <= Rows");
    EXPECT_DEATH(Grid->SetRowFontColors(kRows + 1, clRed, 0), "DataRow > 0 && DataRow <= Rows");
    EXPECT_DEATH(Grid->ResetRowFontStyles(kRows + 1, 0), "DataRow > 0 && DataRow <= Rows");
}

} // namespace
