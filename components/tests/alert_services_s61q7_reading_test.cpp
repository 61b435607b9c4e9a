#include "PellworthCellPixels.h"
#include "components/ExtractWord.h"
#include "components/PellworthGrid.h"
#include "components/RegistryRoutines.h"
#include "grid/model/Columns.h"
#include "grid/model/PropDefaults.h"
#include "platform/gui/QtApp.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/testing/ScratchConfig.h"

#include <QMouseEvent>
#include <gtest/gtest.h>

#include <memory>

using namespace components;

namespace {

// The debug grid as the alert processor drives it: columns of text, rows
// added one by one and cleared by a row count of 0.
class AlertGridServicesTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        Grid = std::make_unique<TPellworthGrid>(nullptr);
        Grid->SetGridColCount(2);
    }
    AnsiString Cell(int Col, int Row) { return VarToStr(Grid->GetCellValue(Col, Row)); }

    std::unique_ptr<TPellworthGrid> Grid;
};

TEST_F(AlertGridServicesTest, RowCountGrowsShrinksAndEmpties) {
    Grid->SetGridRowCount(3);
    EXPECT_EQ(Grid->GetGridRowCount(), 3);
    for (int r = 1; r <= 3; ++r) {
        Grid->SetCellValue(1, r, Variant(AnsiString("row") + IntToStr(r)));
        Grid->SetCellValue(2, r, Variant(r * 10));
    }
    EXPECT_EQ(Cell(1, 3), "row3");
    EXPECT_EQ(Grid->GetCellValue(2, 2).AsInteger(), 20);
    EXPECT_EQ(Cell(2, 2), "20");

    Grid->SetGridRowCount(1);
    EXPECT_EQ(Grid->GetGridRowCount(), 1);
    EXPECT_EQ(Cell(1, 1), "row1");

    // A row added again starts empty, not with the value it had before.
    Grid->SetGridRowCount(2);
    EXPECT_EQ(Grid->GetGridRowCount(), 2);
    EXPECT_EQ(Cell(1, 2), "");
    EXPECT_EQ(Cell(2, 2), "");

    Grid->SetGridRowCount(0);
    EXPECT_EQ(Grid->GetGridRowCount(), 0);
    Grid->SetGridRowCount(1);
    EXPECT_EQ(Cell(1, 1), "");
}

// A height for a row the grid does not have is refused, naming the row,
// and no row's height changes.
TEST_F(AlertGridServicesTest, HeightOfAMissingRowIsRefused) {
    Grid->SetGridRowCount(2);
    const int Before = Grid->GetRowHeight(2);
    try {
        Grid->SetRowHeight(3, 40);
        ADD_FAILURE() << "no error";
    } catch (const Exception& E) {
        EXPECT_NE(E.Message.find("Row index 3 out of range"), std::string::npos) << E.Message;
    }
    EXPECT_EQ(Grid->GetGridRowCount(), 2);
    EXPECT_EQ(Grid->GetRowHeight(2), Before);
}

TEST_F(AlertGridServicesTest, TextLinesFollowWrapAndWidthAndSizeTheRow) {
    Grid->SetWordWrap(grid::uiOn);
    Grid->GetCol(1)->SetWidth(60);
    Grid->GetCol(2)->SetWidth(400);
    Grid->SetGridRowCount(2);
    const AnsiString Long = "alpha beta gamma delta epsilon zeta eta theta";
    Grid->SetCellValue(1, 1, Variant(Long));
    Grid->SetCellValue(2, 1, Variant(Long));
    Grid->SetCellValue(1, 2, Variant(AnsiString("x")));

    const int Narrow = Grid->GetCellTextLines(1, 1);
    EXPECT_GT(Narrow, 2);
    EXPECT_EQ(Grid->GetCellTextLines(2, 1), 1);
    EXPECT_EQ(Grid->GetCellTextLines(1, 2), 1);

    // The processor sizes a row from its line count; the height is the row's own.
    const int Other = Grid->GetRowHeight(2);
    Grid->SetRowHeight(1, Narrow * 15);
    EXPECT_EQ(Grid->GetRowHeight(1), Narrow * 15);
    EXPECT_EQ(Grid->GetRowHeight(2), Other);
}

// Text and integer values set on a shown grid are drawn in their cells.
TEST(AlertGridShownTest, SetValuesAreDrawnInTheirCells) {
    EnsureQtApplication();
    std::unique_ptr<TForm> Form(new TForm(nullptr));
    Form->SetBounds(10, 10, 600, 400);
    auto* Grid = new TPellworthGrid(Form.get());
    Grid->SetParent(Form.get());
    Grid->SetBounds(0, 0, 400, 300);
    Form->Show();
    Grid->SetGridColCount(3);
    Grid->SetGridRowCount(2);
    Application->ProcessMessages();

    Grid->SetCellValue(1, 1, Variant(AnsiString("Alert")));
    Grid->SetCellValue(2, 1, Variant(4711));
    Application->ProcessMessages();
    const QImage Image = Grid->Widget()->grab().toImage();
    EXPECT_GT(CellPixels(*Grid, *Form, Image, 1, 1, InkPixel), 0);
    EXPECT_GT(CellPixels(*Grid, *Form, Image, 2, 1, InkPixel), 0);
    EXPECT_EQ(CellPixels(*Grid, *Form, Image, 3, 1, InkPixel), 0);
    EXPECT_EQ(CellPixels(*Grid, *Form, Image, 1, 2, InkPixel), 0);
    EXPECT_EQ(Grid->FormattedCellValue(2, 1), "4711");
}

class AlertRegistryServicesTest : public ScratchConfig {
protected:
    void SetUp() override {
        ScratchConfig::SetUp();
        ASSERT_TRUE(Reg.OpenKey("Software\\Pellworth\\Dornwick", true));
    }
    TRegistry Reg;
};

TEST_F(AlertRegistryServicesTest, StringsReadBackAndMissingGivesDefaultUnwritten) {
    EXPECT_EQ(ReadRegistryString(Reg, "Server", "localhost", false), "localhost");
    EXPECT_FALSE(Reg.ValueExists("Server"));

    WriteRegistryString(Reg, "Server", "db01");
    EXPECT_EQ(Reg.GetDataType("Server"), rdString);
    EXPECT_EQ(ReadRegistryString(Reg, "Server", "localhost", false), "db01");

    WriteRegistryString(Reg, "Server", "");
    EXPECT_EQ(ReadRegistryString(Reg, "Server", "localhost", false), "");

    // A value of another type cannot be read as text: the default.
    Reg.WriteInteger("Port", 5);
    EXPECT_EQ(ReadRegistryString(Reg, "Port", "dflt", false), "dflt");
}

TEST(AlertWordServicesTest, NthWordBetweenAnyDelimiters) {
    const TSysCharSet Delims{',', ';', ' '};
    struct Case {
        int N;
        const char* Text;
        const char* Word;
    } const Cases[] = {
        {1, "a,b;c", "a"},   {2, "a,b;c", "b"},   {3, "a,b;c", "c"},  {4, "a,b;c", ""},
        {1, ",,a,,b", "a"},  {2, ",,a,,b", "b"},  {3, ",,a,,b", ""},  {0, "a,b", ""},
        {-1, "a,b", ""},     {1, "", ""},         {1, ";, ", ""},     {2, "one two", "two"},
        {1, "word", "word"}, {2, "a, b ,c", "b"},
    };
    for (const Case& C : Cases)
        EXPECT_EQ(GetWord(C.N, C.Text, Delims), C.Word) << C.N << " of '" << C.Text << "'";
}

} // namespace

namespace {

// Line counts for texts the processor may hand the grid: an empty text still
// takes a line, and explicit line breaks start new lines.
TEST_F(AlertGridServicesTest, TextLinesOfEmptyAndBrokenTexts) {
    Grid->SetWordWrap(grid::uiOn);
    Grid->GetCol(1)->SetWidth(400);
    Grid->SetGridRowCount(1);
    struct Case {
        const char* Text;
        int Lines;
    } const Cases[] = {{"", 1}, {"one", 1}, {"one\r\ntwo", 2}, {"one\ntwo\nthree", 3},
                       {"one\r\n\r\nthree", 3}};
    for (const Case& C : Cases) {
        Grid->SetCellValue(1, 1, Variant(AnsiString(C.Text)));
        EXPECT_EQ(Grid->GetCellTextLines(1, 1), C.Lines) << "'" << C.Text << "'";
    }
}

// Emptying a shown grid whose current cell sits on a later row, then adding
// rows again, leaves a consistent grid.
TEST(AlertGridShownTest, EmptyingAShownGridWithACurrentRowAndRefilling) {
    EnsureQtApplication();
    std::unique_ptr<TForm> Form(new TForm(nullptr));
    Form->SetBounds(10, 10, 600, 400);
    auto* Grid = new TPellworthGrid(Form.get());
    Grid->SetParent(Form.get());
    Grid->SetBounds(0, 0, 400, 300);
    Form->Show();
    Grid->SetGridColCount(2);
    Grid->SetGridRowCount(5);
    for (int r = 1; r <= 5; ++r)
        Grid->SetCellValue(1, r, Variant(IntToStr(r)));
    Grid->SetFocus();
    Application->ProcessMessages();
    const QPointF At(Grid->CellRect(1, 4).Left + 5, Grid->CellRect(1, 4).Top + 5);
    for (const QEvent::Type T : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent E(T, At, Grid->Widget()->mapToGlobal(At), Qt::LeftButton,
                      T == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, {});
        QApplication::sendEvent(Grid->Widget(), &E);
    }
    Application->ProcessMessages();
    ASSERT_EQ(Grid->GetCurrentDataRow(), 4);

    Grid->SetGridRowCount(0);
    Application->ProcessMessages();
    EXPECT_EQ(Grid->GetGridRowCount(), 0);
    (void)Grid->Widget()->grab();
    Grid->SetGridRowCount(1);
    Grid->SetCellValue(1, 1, Variant(AnsiString("again")));
    Application->ProcessMessages();
    EXPECT_EQ(Grid->GetGridRowCount(), 1);
    EXPECT_EQ(VarToStr(Grid->GetCellValue(1, 1)), "again");
    EXPECT_LE(Grid->GetCurrentDataRow(), 1);
    const QImage Image = Grid->Widget()->grab().toImage();
    EXPECT_GT(CellPixels(*Grid, *Form, Image, 1, 1, InkPixel), 0);
}

TEST_F(AlertRegistryServicesTest, DefaultIsWrittenOnlyWhenAsked) {
    EXPECT_EQ(ReadRegistryString(Reg, "Missing", "dflt", false), "dflt");
    EXPECT_FALSE(Reg.ValueExists("Missing"));
    EXPECT_EQ(ReadRegistryString(Reg, "Missing", "dflt", true), "dflt");
    EXPECT_EQ(Reg.ReadString("Missing"), "dflt");
    EXPECT_EQ(ReadRegistryString(Reg, "Missing", "other", true), "dflt");
}

} // namespace
