// One cell repainted off-screen: a value written into a selected cell
// reaches the window whole, a nested or failed off-screen paint leaves the
// grid able to paint the next one, and the focus frame's public questions
// and drawing. Read off what the window shows.
#include "ShownGridPixels.h"
#include "platform/gui/StdCtrls.h"

#include <QImage>

#include <functional>
#include <map>
#include <utility>
#include <vector>

using namespace grid;

namespace {

// A grid whose cell-text painter lets the test look in while a cell is
// being drawn, as a derived grid's own painter would run there.
class TProbeGrid : public TgxGrid {
public:
    using TgxGrid::TgxGrid;
    std::function<void()> MidDraw;
    void DrawCellText(const AnsiString& Text, TgxDrawData& Data, bool Selected) override {
        TgxGrid::DrawCellText(Text, Data, Selected);
        if (!MidDraw) return;
        // Once per cell: what MidDraw does may paint cells too.
        auto Run = std::move(MidDraw);
        MidDraw = nullptr;
        Run();
    }
};

class OffScreenCell : public ShownGridPixels {
protected:
    void SetUp() override {
        EnsureQtApplication();
        Form = new TForm(nullptr);
        Form->SetBounds(10, 10, 600, 400);
        Probe = new TProbeGrid(Form);
        Grid = Probe;
        Grid->SetParent(Form);
        Grid->SetBounds(0, 0, 400, 300);
        Grid->SetGridColCount(4);
        Grid->SetGridRowCount(5);
        Grid->SetGridMode(gmBrowse);
        // The application keeps the values; the grid asks for them.
        Grid->OnCellLoaded = [this](TObject*, int C, int R, Variant& Value) {
            const auto It = Values.find({C, R});
            if (It != Values.end()) Value = It->second;
        };
        Other = new TButton(Form);
        Other->SetParent(Form);
        Other->SetBounds(450, 10, 80, 25);
        ShowActive(*Form);
        QApplication::processEvents();
        Grid->SetFocus();
        Grid->SetCol(2);
        Grid->SetRow(2);
        Settle();
    }
    void Settle() {
        QApplication::processEvents();
        Grid->Update();
        Shot();
    }
    // The cell with its right and bottom lines, in client coordinates.
    TRect Outer(int ACol, int ARow) {
        const TRect R = Grid->CellRect(ACol, ARow);
        return Rect(R.Left, R.Top, R.Left + Grid->ColWidths(ACol), R.Top + Grid->RowHeights(ARow));
    }
    std::vector<TColor> ShownNow(const TRect& R) {
        Shot();
        return Pixels(R);
    }

    TProbeGrid* Probe = nullptr;
    TButton* Other = nullptr;
    std::map<std::pair<int, int>, AnsiString> Values;
};

TEST_F(OffScreenCell, AValueWrittenIntoASelectedCellReachesTheWindowWhole) {
    struct Case {
        const char* Name;
        TColor Selection; // clNone: selected cells show inverted
        bool AsText;
    };
    const Case Cases[] = {{"inverted, value", clNone, false},
                          {"inverted, text", clNone, true},
                          {"coloured, value", clYellow, false},
                          {"coloured, text", clYellow, true}};
    int Round = 0;
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        Grid->SetSelectionColor(C.Selection);
        Grid->SelectRows(3, 3, true);
        Values[{2, 3}] = "Before";
        Grid->Invalidate();
        Settle();
        const TRect Cell = Outer(2, 3);
        const std::vector<TColor> Before = Pixels(Cell);
        std::vector<TColor> Midway;
        Probe->MidDraw = [&] { Midway = ShownNow(Cell); };
        const AnsiString Text = "Written " + std::to_string(++Round);
        Values[{2, 3}] = Text;
        if (C.AsText)
            Grid->SetCellPText(2, 3, Text.c_str());
        else
            Grid->SetCellValue(2, 3, Variant(Text));
        ASSERT_FALSE(Midway.empty()) << "the cell was drawn at once";
        EXPECT_EQ(Midway, Before) << "half drawn, the cell is not yet in the window";
        EXPECT_FALSE(Grid->PaintingOffScreen());
        const std::vector<TColor> Written = ShownNow(Cell);
        EXPECT_NE(Written, Before);
        Grid->Invalidate();
        Settle();
        EXPECT_EQ(Written, Pixels(Cell)) << "the written cell, lines and all, is what a paint draws";
        Grid->ResetSelection();
    }
}

TEST_F(OffScreenCell, AFailingCellDrawLeavesTheGridReadyForTheNextOne) {
    Grid->SelectRows(3, 3, true);
    Settle();
    const TRect Cell = Outer(2, 3);
    const std::vector<TColor> Before = Pixels(Cell);
    Probe->MidDraw = [] { throw Exception("draw failed"); };
    EXPECT_THROW(Grid->SetCellValue(2, 3, Variant(AnsiString("Lost"))), Exception);
    EXPECT_FALSE(Grid->PaintingOffScreen());
    EXPECT_EQ(ShownNow(Cell), Before) << "nothing of the failed cell reached the window";
    // The canvas draws into the window again, shown at once.
    const TRect Elsewhere = Outer(1, 1);
    Grid->Canvas()->Brush()->SetStyle(bsSolid);
    Grid->Canvas()->Brush()->SetColor(clLime);
    Grid->Canvas()->FillRect(Elsewhere);
    Shot();
    EXPECT_EQ(CountOf(Elsewhere, clLime), Elsewhere.Width() * Elsewhere.Height());
    // And the next cell goes off-screen and back as ever.
    ASSERT_TRUE(Grid->PrepareCanvas(Cell));
    Grid->Canvas()->Brush()->SetStyle(bsSolid);
    Grid->Canvas()->Brush()->SetColor(clRed);
    Grid->Canvas()->FillRect(Cell);
    EXPECT_EQ(ShownNow(Cell), Before);
    Grid->CanvasToScreen(Cell);
    Shot();
    EXPECT_EQ(CountOf(Cell, clRed), Cell.Width() * Cell.Height());
}

TEST_F(OffScreenCell, WhileOneCellIsOffScreenOthersArePaintedOntoItsCanvas) {
    auto* Second = new TgxGrid(Form);
    Second->SetParent(Form);
    Second->SetBounds(0, 310, 200, 80);
    QApplication::processEvents();
    const TRect Cell = Outer(2, 3);
    Grid->SelectRows(3, 3, true);
    Values[{2, 3}] = "Before";
    Grid->Invalidate();
    Settle();
    const std::vector<TColor> Before = Pixels(Cell);
    ASSERT_TRUE(Grid->PrepareCanvas(Cell));
    EXPECT_FALSE(Grid->PrepareCanvas(Cell)) << "already off-screen";
    EXPECT_FALSE(Second->PrepareCanvas(Second->CellRect(1, 1))) << "the surface is taken";
    // A writer meeting the taken surface draws onto the canvas as it is:
    // into the cell being put together, and it does not end it.
    Values[{2, 3}] = "Nested";
    Grid->SetCellValue(2, 3, Variant(AnsiString("Nested")));
    EXPECT_TRUE(Grid->PaintingOffScreen());
    EXPECT_EQ(ShownNow(Cell), Before);
    Grid->CanvasToScreen(Cell);
    const std::vector<TColor> Written = ShownNow(Cell);
    EXPECT_NE(Written, Before);
    Grid->Invalidate();
    Settle();
    EXPECT_EQ(Written, Pixels(Cell));
    ASSERT_TRUE(Second->PrepareCanvas(Second->CellRect(1, 1))) << "free again";
    Second->CanvasToScreen(Second->CellRect(1, 1));
}

TEST_F(OffScreenCell, ACellPainterThatPrintsTheGridStillDrawsIntoTheCell) {
    Grid->SelectRows(3, 3, true);
    Values[{2, 3}] = "Before";
    Grid->Invalidate();
    Settle();
    const TRect Cell = Outer(2, 3);
    const std::vector<TColor> Before = Pixels(Cell);
    TBitmap Printed;
    Printed.SetSize(Grid->Width(), Grid->Height());
    std::vector<TColor> Midway;
    Probe->MidDraw = [&] {
        // Printing points the canvas at the picture and back at the window.
        Grid->PaintTo(Printed.Canvas());
        Midway = ShownNow(Cell);
    };
    Values[{2, 3}] = "After";
    Grid->SetCellValue(2, 3, Variant(AnsiString("After")));
    EXPECT_EQ(Midway, Before);
    const std::vector<TColor> Written = ShownNow(Cell);
    EXPECT_NE(Written, Before);
    Grid->Invalidate();
    Settle();
    EXPECT_EQ(Written, Pixels(Cell));
}

TEST_F(OffScreenCell, FrameQuestionsFollowTheFocusAndTheCell) {
    ASSERT_TRUE(Grid->Focused());
    EXPECT_TRUE(Grid->DisplayFocusRect(2, 2));
    EXPECT_FALSE(Grid->DisplayFocusRect(3, 3)) << "not the current cell";
    EXPECT_TRUE(Grid->CheckCellFocusRect(3, 3, true)) << "all but the current-cell test";
    for (const TPoint P : {Point(0, 2), Point(2, 0), Point(0, 0)}) {
        EXPECT_FALSE(Grid->FocusRectVisible(P.X, P.Y)) << P.X << "," << P.Y;
        EXPECT_FALSE(Grid->CheckCellFocusRect(P.X, P.Y, false)) << P.X << "," << P.Y;
    }
    Other->SetFocus();
    QApplication::processEvents();
    ASSERT_FALSE(Grid->Focused());
    EXPECT_FALSE(Grid->DisplayFocusRect(2, 2));
    EXPECT_TRUE(Grid->DisplayFocusRect(2, 2, false)) << "the focus left out of the question";
    EXPECT_FALSE(Grid->CheckCellFocusRect(2, 2, true));
    Grid->SetFocus();
    QApplication::processEvents();
    // An editing grid's text cell shows its editor, not the frame.
    Grid->SetGridMode(gmEdit);
    Settle();
    EXPECT_FALSE(Grid->FocusRectVisible(2, 2));
    EXPECT_TRUE(Grid->FocusRectVisible(3, 3));
    EXPECT_FALSE(Grid->DisplayFocusRect(2, 2));
}

TEST_F(OffScreenCell, TheFrameDrawsOntoAnyCanvasInItsLook) {
    Grid->SetFocusBorderColor(clRed);
    const TRect R = Grid->CellRect(2, 2);
    const int L = R.Left + 1, T = R.Top;
    const int Rt = R.Left + Grid->ColWidths(2) - 2, B = R.Top + Grid->RowHeights(2) - 2;
    const int MidY = (T + B) / 2;
    struct Case {
        TgxFocusBorder Border;
        int Frames; // nested one-pixel red frames from the box's left edge
    };
    for (const Case C : {Case{fbNone, 0}, Case{fbSingle, 1}, Case{fbDouble, 2}}) {
        SCOPED_TRACE(C.Frames);
        Grid->SetFocusBorder(C.Border);
        TBitmap Paper;
        Paper.SetSize(Grid->ClientWidth(), Grid->ClientHeight());
        Paper.Canvas()->Brush()->SetColor(clWhite);
        Paper.Canvas()->FillRect(Rect(0, 0, Paper.Width(), Paper.Height()));
        Grid->DrawFocusRect(Paper.Canvas(), 2, 2);
        for (int I = 0; I < 3; ++I) {
            EXPECT_EQ(Paper.Canvas()->Pixels(L + I, MidY) == clRed, I < C.Frames) << I;
            EXPECT_EQ(Paper.Canvas()->Pixels(Rt - I, MidY) == clRed, I < C.Frames) << I;
            EXPECT_EQ(Paper.Canvas()->Pixels((L + Rt) / 2, B - I) == clRed, I < C.Frames) << I;
        }
        EXPECT_EQ(Paper.Canvas()->Pixels(L - 1, MidY), clWhite) << "nothing outside the box";
    }
    // The window's frame comes and goes with the update that draws it.
    Grid->SetFocusBorder(fbSingle);
    Settle();
    ASSERT_EQ(At(L, MidY), clRed);
    Grid->InvalidateCell(2, 2);
    Grid->UpdateGrid(true);
    Shot();
    EXPECT_NE(At(L, MidY), clRed) << "updated without the frame";
    Grid->InvalidateCell(2, 2);
    Grid->UpdateGrid(false);
    Shot();
    EXPECT_EQ(At(L, MidY), clRed);
}

} // namespace
