// The base grid's model and layout through a draw grid on a shown form:
// defaults, counts, extents, hit tests, moves and what its painting shows.
#include "BaseGridFixture.h"
#include "grid/foundation/DrawGrid.h"

#include "grid/foundation/InplaceEdit.h"
#include "platform/classes/Filer.h"
#include "platform/classes/ObjectText.h"
#include "platform/gui/Colors.h"
#include "platform/rtl/Streams.h"
#include "platform/gui/Forms.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace {

using namespace grid;

QApplication& App() {
    static int Argc = 1;
    static char Name[] = "grid_tests";
    static char* Argv[] = {Name, nullptr};
    static QApplication* Instance =
        qApp ? static_cast<QApplication*>(qApp) : new QApplication(Argc, Argv);
    return *Instance;
}

class ShownDrawGrid : public ::testing::Test {
protected:
    void SetUp() override {
        App();
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, 600, 400);
        Grid = new TDrawGrid_ts(Form.get());
        Grid->SetParent(Form.get());
        Grid->SetBorderStyle(bsNone);
        Grid->SetScrollBars(ssNone);
        Grid->SetBounds(0, 0, 400, 200);
        Form->Show();
        QApplication::processEvents();
    }
    void TearDown() override { Form.reset(); }

    QImage Shot() {
        QApplication::processEvents();
        return Grid->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    static TColor Pixel(const QImage& Image, int X, int Y) {
        const QRgb P = Image.pixel(X, Y);
        return static_cast<TColor>(qRed(P) | (qGreen(P) << 8) | (qBlue(P) << 16));
    }

    std::unique_ptr<TForm> Form;
    TDrawGrid_ts* Grid = nullptr;
};

TEST_F(ShownDrawGrid, CountAndExtentRulesRaiseTheirMessages) {
    struct Case {
        const char* What;
        std::function<void(TDrawGrid_ts&)> Call;
        const char* Message;
    };
    const Case Cases[] = {
        {"fixed cols = count", [](TDrawGrid_ts& G) { G.SetFixedCols(5); },
         "Fixed column count must be less than column count"},
        {"fixed rows = count", [](TDrawGrid_ts& G) { G.SetFixedRows(5); },
         "Fixed row count must be less than row count"},
        {"fixed cols below 0", [](TDrawGrid_ts& G) { G.SetFixedCols(-1); },
         "Grid index out of range"},
        {"fixed rows below 0", [](TDrawGrid_ts& G) { G.SetFixedRows(-1); },
         "Grid index out of range"},
        {"width past count", [](TDrawGrid_ts& G) { G.SetColWidths(5, 10); },
         "Grid index out of range"},
        {"height past count", [](TDrawGrid_ts& G) { G.SetRowHeights(5, 10); },
         "Grid index out of range"},
        {"tab stop past count", [](TDrawGrid_ts& G) { G.SetTabStops(5, false); },
         "Grid index out of range"},
        {"negative width read", [](TDrawGrid_ts& G) { (void)G.ColWidths(-1); },
         "Grid index out of range"},
    };
    for (const auto& C : Cases) {
        TDrawGrid_ts G(nullptr);
        EXPECT_EQ(gridtest::GridErrorText([&] { C.Call(G); }), C.Message) << C.What;
        EXPECT_EQ(G.ColCount(), 5) << C.What;
        EXPECT_EQ(G.FixedCols(), 1) << C.What;
    }
}

TEST_F(ShownDrawGrid, CountsBelowOneAndUnderTheFixedBandAreBroughtIn) {
    TDrawGrid_ts G(nullptr);
    G.SetColCount(0);
    EXPECT_EQ(G.ColCount(), 1);
    EXPECT_EQ(G.FixedCols(), 0);
    G.SetRowCount(-3);
    EXPECT_EQ(G.RowCount(), 1);
    EXPECT_EQ(G.FixedRows(), 0);
    EXPECT_EQ(G.Col(), 0);
    EXPECT_EQ(G.Row(), 0);
}

TEST_F(ShownDrawGrid, WidthArrayFollowsSetsAndDefault) {
    Grid->SetColWidths(2, 100);
    ASSERT_TRUE(Grid->ColWidthsStored(nullptr));
    EXPECT_EQ(Grid->StoredColWidths(), (std::vector<std::int32_t>{64, 64, 100, 64, 64}));
    EXPECT_EQ(Grid->ColWidths(5), 64) << "a read past the count gives the default";
    Grid->SetColCount(7);
    EXPECT_EQ(Grid->StoredColWidths(), (std::vector<std::int32_t>{64, 64, 100, 64, 64, 64, 64}));
    Grid->SetDefaultColWidth(30);
    EXPECT_FALSE(Grid->ColWidthsStored(nullptr));
    for (int I = 0; I < 7; ++I)
        EXPECT_EQ(Grid->ColWidths(I), 30) << I;
    EXPECT_TRUE(Grid->TabStops(3));
    Grid->SetTabStops(3, false);
    EXPECT_FALSE(Grid->TabStops(3));
    EXPECT_TRUE(Grid->TabStops(2));
}

TEST_F(ShownDrawGrid, GrowingPastTheLimitKeepsTheOldCounts) {
    Grid->SetColWidths(1, 80);
    EXPECT_EQ(gridtest::GridErrorText([&] { Grid->SetColCount(134217726); }), "Grid too large for operation");
    EXPECT_EQ(Grid->ColCount(), 5);
    EXPECT_EQ(Grid->StoredColWidths().size(), 5u);
    EXPECT_EQ(Grid->ColWidths(1), 80);
}

TEST_F(ShownDrawGrid, ShrinkingBelowTheCurrentRowMovesCurrentAndAnchor) {
    Grid->SetRowCount(10);
    Grid->SetRow(7);
    Grid->SetRowCount(4);
    EXPECT_EQ(Grid->Row(), 3);
    EXPECT_EQ(Grid->Anchor().Y, 3);
}

TEST_F(ShownDrawGrid, LayoutQueriesOnTheShownGrid) {
    // 400 x 200 client: fixed col 64+1, then 64+1 each; rows 24+1.
    EXPECT_EQ(Grid->GridWidth(), 5 * 65);
    EXPECT_EQ(Grid->GridHeight(), 5 * 25);
    EXPECT_EQ(Grid->VisibleColCount(), 4);
    EXPECT_EQ(Grid->VisibleRowCount(), 4);
    EXPECT_EQ(Grid->CellRect(1, 1), (TRect{65, 25, 129, 49}));
    EXPECT_EQ(Grid->CellRect(0, 0), (TRect{0, 0, 64, 24}));
    EXPECT_EQ(Grid->BoxRect(1, 1, 2, 2), (TRect{65, 25, 194, 74}));
    EXPECT_EQ(Grid->MouseCoord(64, 24), (TGridCoord{0, 0})) << "the line belongs to its cell";
    EXPECT_EQ(Grid->MouseCoord(65, 25), (TGridCoord{1, 1}));
    EXPECT_EQ(Grid->MouseCoord(390, 10), (TGridCoord{-1, -1}));

    Grid->SetColCount(20);
    Grid->SetLeftCol(4);
    EXPECT_EQ(Grid->CellRect(2, 1), (TRect{})) << "scrolled out of view";
    EXPECT_EQ(Grid->CellRect(15, 1), (TRect{})) << "beyond the last visible + 1";
    EXPECT_EQ(Grid->CellRect(4, 1).Left, 65);
    EXPECT_EQ(Grid->MouseCoord(70, 30), (TGridCoord{4, 1}));
}

TEST_F(ShownDrawGrid, ZeroWidthColumnKeepsItsLineAndIsHit) {
    Grid->SetColWidths(2, 0);
    EXPECT_EQ(Grid->CellRect(3, 1).Left, 65 + 65 + 1);
    EXPECT_EQ(Grid->MouseCoord(130, 30).X, 2);
    EXPECT_EQ(Grid->MouseCoord(131, 30).X, 3);
    int Drawn = 0;
    Grid->OnDrawCell = [&](TObject*, int ACol, int, TRect, TGridDrawState) {
        if (ACol == 2)
            ++Drawn;
    };
    Grid->InvalidateGrid();
    Shot();
    EXPECT_EQ(Drawn, 0);
}

TEST_F(ShownDrawGrid, OptionsRowSelectDropsAlwaysShowEditorAndStretchesTheAnchor) {
    Grid->SetOptions(DefaultGridOptions + TGridOptions{goRowSelect, goAlwaysShowEditor});
    EXPECT_FALSE(Grid->Options().Contains(goAlwaysShowEditor));
    EXPECT_EQ(Grid->Anchor().X, 4);
    EXPECT_EQ(Grid->Selection(), (TGridRect{1, 1, 4, 1}));
    Grid->SetColCount(8);
    EXPECT_EQ(Grid->Anchor().X, 7);
}

TEST_F(ShownDrawGrid, SelectionSetterNormalises) {
    Grid->SetSelection(TGridRect{1, 1, 3, 2});
    EXPECT_EQ(Grid->Col(), 3);
    EXPECT_EQ(Grid->Row(), 2);
    EXPECT_EQ(Grid->Anchor(), (TGridCoord{1, 1}));
    EXPECT_EQ(Grid->Selection(), (TGridRect{1, 1, 3, 2}));
}

TEST_F(ShownDrawGrid, PaintShowsBackgroundsLinesAndStrips) {
    const QImage I = Shot();
    EXPECT_EQ(Pixel(I, 10, 10), ColorToRGB(clBtnFace)) << "fixed corner";
    EXPECT_EQ(Pixel(I, 100, 60), ColorToRGB(clWindow)) << "data";
    EXPECT_EQ(Pixel(I, 64, 10), ColorToRGB(clBlack)) << "fixed vertical line";
    EXPECT_EQ(Pixel(I, 10, 24), ColorToRGB(clBlack)) << "fixed horizontal line";
    EXPECT_EQ(Pixel(I, 129, 60), ColorToRGB(clSilver)) << "data vertical line";
    EXPECT_EQ(Pixel(I, 100, 49), ColorToRGB(clSilver)) << "data horizontal line";
    EXPECT_EQ(Pixel(I, 350, 60), ColorToRGB(clWindow)) << "strip right of the grid";
    EXPECT_EQ(Pixel(I, 100, 150), ColorToRGB(clWindow)) << "strip below the grid";
}

TEST_F(ShownDrawGrid, SettersRepaintWhatTheyChange) {
    struct Case {
        const char* What;
        std::function<void(TDrawGrid_ts&)> Call;
        int X, Y;
        TColor Expected;
    };
    const Case Cases[] = {
        {"fixed colour", [](TDrawGrid_ts& G) { G.SetFixedColor(clRed); }, 10, 10, clRed},
        {"control colour", [](TDrawGrid_ts& G) { G.SetColor(clYellow); }, 100, 60, clYellow},
        {"silver control draws gray lines", [](TDrawGrid_ts& G) { G.SetColor(clSilver); }, 129, 60,
         clGray},
        {"lines off", [](TDrawGrid_ts& G) { G.SetOptions(TGridOptions{}); }, 129, 60, clWindow},
        {"line width", [](TDrawGrid_ts& G) { G.SetGridLineWidth(3); }, 65, 60, clBlack},
        {"default width", [](TDrawGrid_ts& G) { G.SetDefaultColWidth(40); }, 40, 10, clBlack},
        {"column width", [](TDrawGrid_ts& G) { G.SetColWidths(1, 20); }, 85, 60, clSilver},
        {"row height", [](TDrawGrid_ts& G) { G.SetRowHeights(1, 10); }, 100, 35, clSilver},
        {"fixed cols", [](TDrawGrid_ts& G) { G.SetFixedCols(2); }, 100, 60, clBtnFace},
        {"col count", [](TDrawGrid_ts& G) { G.SetColCount(3); }, 250, 60, clWindow},
        {"left col", [](TDrawGrid_ts& G) {
             G.SetColCount(12);
             G.SetColWidths(2, 10);
             G.SetLeftCol(2);
         },
         75, 60, clSilver},
    };
    for (const auto& C : Cases) {
        SetUp();
        Shot();
        C.Call(*Grid);
        EXPECT_EQ(Pixel(Shot(), C.X, C.Y), ColorToRGB(C.Expected)) << C.What;
        TearDown();
    }
}

TEST_F(ShownDrawGrid, RightToLeftMirrorsLinesCellsAndHits) {
    Grid->SetBiDiMode(bdRightToLeft);
    const QImage I = Shot();
    const int W = Grid->ClientWidth();
    // Left to right the fixed line is at x 64 and the first data line at 129.
    EXPECT_EQ(Pixel(I, W - 1 - 64, 10), ColorToRGB(clBlack));
    EXPECT_EQ(Pixel(I, W - 1 - 129, 60), ColorToRGB(clSilver));
    EXPECT_EQ(Pixel(I, W - 1 - 10, 10), ColorToRGB(clBtnFace));
    EXPECT_EQ(Grid->CellRect(1, 1), (TRect{W - 129, 25, W - 65, 49}));
    EXPECT_EQ(Grid->MouseCoord(W - 1 - 70, 30), (TGridCoord{1, 1}));
    EXPECT_EQ(Grid->MouseCoord(W - 1 - 10, 30), (TGridCoord{0, 1}));
}

TEST_F(ShownDrawGrid, SelectedCellsAreHighlightedButNotTheFocusedOne) {
    Grid->SetSelection(TGridRect{1, 1, 2, 2});
    Grid->SetFocus();
    const QImage I = Shot();
    EXPECT_EQ(Pixel(I, 100, 35), ColorToRGB(clHighlight)) << "anchor cell";
    EXPECT_EQ(Pixel(I, 160, 60), ColorToRGB(clWindow)) << "focused current cell";
    EXPECT_EQ(Pixel(I, 250, 35), ColorToRGB(clWindow)) << "outside";
}

TEST_F(ShownDrawGrid, StoredWidthsRoundTripAndCheckTheirCount) {
    Grid->SetColWidths(3, 33);
    TDrawGrid_ts Copy(nullptr);
    Copy.LoadColWidths(Grid->StoredColWidths());
    EXPECT_EQ(Copy.ColWidths(3), 33);
    EXPECT_ANY_THROW(Copy.LoadColWidths({1, 2, 3}));
}

TEST_F(ShownDrawGrid, FixedCountChangeReinitialisesAndLineOptionsShapeTheLayout) {
    Grid->SetCol(3);
    Grid->SetRow(3);
    Grid->SetFixedCols(2);
    EXPECT_EQ(Grid->Col(), 2);
    EXPECT_EQ(Grid->Row(), 1);
    EXPECT_EQ(Grid->LeftCol(), 2);
    EXPECT_EQ(Grid->Anchor(), (TGridCoord{2, 1}));

    EXPECT_EQ(Grid->MouseCoord(100, 190), (TGridCoord{-1, -1})) << "below the last row";
    TGridDrawInfo Info;
    Grid->CalcDrawInfo(Info);
    EXPECT_EQ(Grid->CalcCoordFromPoint(140, 190, Info), (TGridCoord{2, -1}));

    Grid->SetOptions(TGridOptions{goHorzLine});
    EXPECT_EQ(Grid->CellRect(2, 1), (TRect{128, 25, 192, 49})) << "no vertical line option";
    Grid->SetOptions(TGridOptions{goFixedVertLine, goHorzLine});
    EXPECT_EQ(Grid->CellRect(2, 1), (TRect{130, 25, 194, 49}));
}

TEST_F(ShownDrawGrid, LargestTopLeftFillsTheClient) {
    Grid->SetColCount(20);
    Grid->SetRowCount(20);
    TGridDrawInfo Info;
    Grid->CalcDrawInfo(Info);
    EXPECT_EQ(Info.Horz.LastFullVisibleCell, 5);
    EXPECT_EQ(Info.Horz.GridBoundary, 400);
    EXPECT_EQ(Grid->CalcMaxTopLeft(TGridCoord{19, 19}, Info), (TGridCoord{15, 13}));
    EXPECT_EQ(Grid->CalcMaxTopLeft(TGridCoord{0, 0}, Info), (TGridCoord{0, 0}));
}

TEST_F(ShownDrawGrid, SelectionAndCountChangesRepaintTheirCells) {
    Grid->SetFocus();
    Grid->SetSelection(TGridRect{1, 1, 3, 2});
    EXPECT_EQ(Pixel(Shot(), 170, 35), ColorToRGB(clHighlight));
    Grid->SetCol(1);
    Grid->SetRow(1);
    QImage I = Shot();
    EXPECT_EQ(Pixel(I, 170, 35), ColorToRGB(clWindow)) << "left the selection";
    EXPECT_EQ(Pixel(I, 230, 60), ColorToRGB(clWindow));

    Grid->SetColCount(3);
    Shot();
    Grid->SetColCount(5);
    I = Shot();
    EXPECT_EQ(Pixel(I, 259, 60), ColorToRGB(clSilver)) << "a column come back draws its line";
    Grid->SetRowCount(7);
    EXPECT_EQ(Pixel(Shot(), 100, 149), ColorToRGB(clSilver)) << "a new row draws its line";
}

TEST_F(ShownDrawGrid, FocusDrawingFollowsTheOptions) {
    Grid->SetFocus();
    Grid->SetOptions(DefaultGridOptions + TGridOptions{goDrawFocusSelected});
    EXPECT_EQ(Pixel(Shot(), 100, 35), ColorToRGB(clHighlight)) << "focused and drawn selected";
    Grid->SetOptions(DefaultGridOptions + TGridOptions{goRowSelect});
    const QImage I = Shot();
    EXPECT_EQ(Pixel(I, 100, 35), ColorToRGB(clHighlight));
    EXPECT_EQ(Pixel(I, 300, 35), ColorToRGB(clHighlight)) << "the whole row";
}

TEST_F(ShownDrawGrid, FixedCellsOfA3DGridHaveRaisedEdges) {
    const QImage I = Shot();
    EXPECT_EQ(Pixel(I, 70, 0), ColorToRGB(clBtnHighlight)) << "top edge";
    EXPECT_EQ(Pixel(I, 128, 12), ColorToRGB(clBtnShadow)) << "right edge";
    Grid->SetCtl3D(false);
    EXPECT_EQ(Pixel(Shot(), 70, 0), ColorToRGB(clBtnFace));
}

TEST_F(ShownDrawGrid, WideLinesCoverTheirWidthFromTheCellEnd) {
    Grid->SetCtl3D(false); // no raised edges beside the line
    Grid->SetGridLineWidth(3);
    const QImage I = Shot();
    for (int X : {64, 65, 66})
        EXPECT_EQ(Pixel(I, X, 10), ColorToRGB(clBlack)) << X;
    EXPECT_EQ(Pixel(I, 63, 10), ColorToRGB(clBtnFace));
    EXPECT_EQ(Pixel(I, 67, 10), ColorToRGB(clBtnFace));
    EXPECT_EQ(Grid->CellRect(1, 1), (TRect{67, 27, 131, 51}));
}

TEST_F(ShownDrawGrid, OptionsShowAndHideTheEditor) {
    Grid->OnGetEditText = [](TObject*, int, int, AnsiString& Value) { Value = "abc"; };
    Grid->SetOptions(DefaultGridOptions + TGridOptions{goEditing, goAlwaysShowEditor});
    ASSERT_NE(Grid->InplaceEditor(), nullptr);
    EXPECT_TRUE(Grid->InplaceEditor()->Visible());
    EXPECT_TRUE(Grid->EditorMode());
    Grid->SetEditorMode(false);
    Grid->SetOptions(DefaultGridOptions + TGridOptions{goEditing});
    EXPECT_FALSE(Grid->InplaceEditor()->Visible());
    Grid->SetEditorMode(true);
    EXPECT_TRUE(Grid->InplaceEditor()->Visible());
    EXPECT_EQ(Grid->InplaceEditor()->Text(), "abc");
    EXPECT_EQ(Grid->InplaceEditor()->SelStart(), 3);
    EXPECT_EQ(Grid->InplaceEditor()->SelLength(), 0);
}

TEST_F(ShownDrawGrid, TopLeftSettersMoveAndNotify) {
    Grid->SetColCount(20);
    Grid->SetRowCount(20);
    int Told = 0;
    Grid->OnTopLeftChanged = [&](TObject*) { ++Told; };
    Grid->SetLeftCol(3);
    Grid->SetTopRow(4);
    EXPECT_EQ(Grid->LeftCol(), 3);
    EXPECT_EQ(Grid->TopRow(), 4);
    EXPECT_EQ(Told, 2);
    EXPECT_EQ(Grid->MouseCoord(70, 30), (TGridCoord{3, 4}));
}

TEST_F(ShownDrawGrid, FormStreamCarriesOnlySetExtents) {
    auto AsText = [&] {
        TMemoryStream Binary;
        WriteComponentRes(&Binary, Grid);
        Binary.SetPosition(0);
        TStringStream Text;
        ObjectBinaryToText(&Binary, &Text);
        return std::string(Text.DataString().c_str());
    };
    EXPECT_EQ(AsText().find("ColWidths"), std::string::npos);
    Grid->SetColWidths(1, 40);
    const std::string WithWidths = AsText();
    EXPECT_NE(WithWidths.find("ColWidths"), std::string::npos);
    EXPECT_EQ(WithWidths.find("RowHeights"), std::string::npos);
    Grid->SetSaveCellExtents(false);
    EXPECT_EQ(AsText().find("ColWidths"), std::string::npos);
}

TEST_F(ShownDrawGrid, BorderStyleShapesTheClientArea) {
    Grid->SetBorderStyle(bsSingle);
    EXPECT_EQ(Grid->ClientWidth(), 400 - 4);
    Grid->SetCtl3D(false);
    EXPECT_EQ(Grid->ClientWidth(), 400 - 2);
    Grid->SetBorderStyle(bsNone);
    EXPECT_EQ(Grid->ClientWidth(), 400);
}

} // namespace
