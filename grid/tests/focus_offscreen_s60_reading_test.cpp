// The current cell's focus frame, as the window shows it, and one cell put
// together off-screen before it reaches the window.
#include "ShownGridPixels.h"

#include "grid/model/Columns.h"
#include "grid/model/InplaceControl.h"

#include "platform/gui/StdCtrls.h"

#include <functional>
#include <stdexcept>
#include <vector>

using namespace grid;

namespace {

class FocusOffScreenS60 : public ShownGridPixels {
protected:
    // A focused browsing grid, current cell (2, 2), red solid frames.
    void SetUp() override {
        ShowFocused(4, 4);
        Grid->SetFocusBorderColor(clRed);
        Other = new TEdit(Form);
        Other->SetParent(Form);
        Other->SetBounds(420, 10, 100, 24);
    }
    void FocusOther() {
        Other->SetFocus();
        QApplication::processEvents();
    }
    void FocusGrid() {
        Grid->SetFocus();
        QApplication::processEvents();
    }
    // The cell (2, 2) less its lines: where every look draws.
    TRect Inner() const { return Grid->CellRect(2, 2); }
    // The red pixels of the cell's two outermost rings, and of the two
    // rings inside them, on the window.
    std::vector<int> RedRings() {
        Shot();
        const TRect C = Inner();
        const auto Ring = [&](int In) {
            int N = 0;
            for (int Y = C.Top + In; Y < C.Bottom - In; ++Y)
                for (int X = C.Left + In; X < C.Right - In; ++X) {
                    const bool Edge = Y == C.Top + In || Y == C.Bottom - In - 1 ||
                                      X == C.Left + In || X == C.Right - In - 1;
                    N += Edge && At(X, Y) == clRed;
                }
            return N;
        };
        return {Ring(0) + Ring(1), Ring(2) + Ring(3)};
    }
    bool FrameShown() { return RedRings()[0] > 0; }
    TEdit* Other = nullptr;
};

TEST_F(FocusOffScreenS60, LookQuestionsFollowBorderColoursModeAndSelection) {
    struct Case {
        const char* Name;
        TgxFocusBorder Border;
        TColor Color, FontColor;
        TgxGridMode Mode;
        bool SelectRow;
        bool Enabled, Active, Display;
    };
    const Case Cases[] = {
        {"dot", fbDot, clNone, clNone, gmBrowse, false, true, true, true},
        {"none", fbNone, clNone, clNone, gmBrowse, false, false, false, false},
        {"none with focus colour", fbNone, clYellow, clNone, gmBrowse, false, true, true, true},
        {"none with focus font colour", fbNone, clNone, clBlue, gmBrowse, false, true, true, true},
        {"list box", fbSingle, clNone, clNone, gmListBox, false, true, false, false},
        {"rows selected", fbSingle, clNone, clNone, gmBrowse, true, true, false, false},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        Grid->SetGridMode(C.Mode);
        Grid->SetFocusBorder(C.Border);
        Grid->SetFocusColor(C.Color);
        Grid->SetFocusFontColor(C.FontColor);
        if (C.SelectRow) Grid->SelectRows(3, 3, true);
        EXPECT_EQ(Grid->FocusEnabled(), C.Enabled);
        EXPECT_EQ(Grid->FocusRectActive(), C.Active);
        EXPECT_EQ(Grid->DisplayFocusRect(2, 2), C.Display);
        if (C.SelectRow) Grid->SelectRows(3, 3, false);
        Grid->SetGridMode(gmBrowse);
        FocusGrid();
        Grid->SetCol(2);
        Grid->SetRow(2);
    }
}

TEST_F(FocusOffScreenS60, DisplayFocusRectHoldsOnlyForTheShownCurrentCell) {
    Grid->SetFocusBorder(fbSingle);
    struct Case {
        const char* Name;
        std::function<void()> Set, Undo;
        int Col, Row;
        bool CheckFocus;
        bool Display, CheckCell;
    };
    const auto None = [] {};
    const Case Cases[] = {
        {"current", None, None, 2, 2, true, true, true},
        {"another cell", None, None, 3, 2, true, false, true},
        {"row bar", None, None, 0, 2, true, false, false},
        {"heading", None, None, 2, 0, true, false, false},
        {"frame disabled", [&] { Grid->SetFocusRectDisabled(true); },
         [&] { Grid->SetFocusRectDisabled(false); }, 2, 2, true, false, false},
        {"focus elsewhere", [&] { FocusOther(); }, [&] { FocusGrid(); }, 2, 2, true, false, false},
        {"focus elsewhere, not asked", [&] { FocusOther(); }, [&] { FocusGrid(); }, 2, 2, false,
         true, true},
        {"focus elsewhere, always shown",
         [&] {
             Grid->SetAlwaysShowFocus(true);
             FocusOther();
         },
         [&] {
             Grid->SetAlwaysShowFocus(false);
             FocusGrid();
         },
         2, 2, true, true, true},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        C.Set();
        EXPECT_EQ(Grid->DisplayFocusRect(C.Col, C.Row, C.CheckFocus), C.Display);
        EXPECT_EQ(Grid->CheckCellFocusRect(C.Col, C.Row, C.CheckFocus), C.CheckCell);
        C.Undo();
    }
    EXPECT_FALSE(Grid->GetFocusRectDisabled());
}

TEST_F(FocusOffScreenS60, FocusRectVisibleGivesWayToTheInPlaceEditor) {
    Grid->SetFocusBorder(fbSingle);
    Grid->SetGridMode(gmEdit);
    Grid->SetAlwaysShowEditor(true);
    FocusGrid();
    Grid->SetCol(3);
    Grid->SetCol(2);
    QApplication::processEvents();
    // Shown: the current cell's frame on the window (-1: the read-only
    // cell's editor covers the cell, so the window cannot tell).
    struct Case {
        const char* Name;
        bool ReadOnly, Browse;
        int Col, Row;
        bool Visible;
        int Shown;
    };
    const Case Cases[] = {
        {"editor over the current cell", false, false, 2, 2, false, 0},
        {"read-only current cell", true, false, 2, 2, true, -1},
        {"browsing", false, true, 2, 2, true, 1},
        {"row bar", false, true, 0, 2, false, 1},
        {"heading", false, true, 2, 0, false, 1},
    };
    for (const Case& K : Cases) {
        SCOPED_TRACE(K.Name);
        Grid->GetCol(Grid->GetDataCol(2))->SetReadOnly(K.ReadOnly);
        if (K.Browse) Grid->SetGridMode(gmBrowse);
        Grid->SetCol(3);
        Grid->SetCol(2);
        QApplication::processEvents();
        EXPECT_EQ(Grid->FocusRectVisible(K.Col, K.Row), K.Visible);
        EXPECT_EQ(Grid->DisplayFocusRect(K.Col, K.Row, false),
                  K.Visible && K.Col == 2 && K.Row == 2);
        if (K.Shown >= 0) EXPECT_EQ(FrameShown(), K.Shown == 1);
    }
}

TEST_F(FocusOffScreenS60, EveryLookDrawsItsOwnFrame) {
    struct Case {
        const char* Name;
        TgxFocusBorder Border;
        bool Outer, Inner;
    };
    const Case Cases[] = {
        {"none", fbNone, false, false},
        {"single", fbSingle, true, false},
        {"double", fbDouble, true, true},
        {"dash", fbDash, true, false},
    };
    const TRect C = Inner();
    for (const Case& K : Cases) {
        SCOPED_TRACE(K.Name);
        Grid->SetFocusBorder(K.Border);
        const std::vector<int> Rings = RedRings();
        EXPECT_EQ(Rings[0] > 0, K.Outer);
        EXPECT_EQ(Rings[1] > 0, K.Inner);
        // Nothing red outside the cell: the lines around it stay.
        EXPECT_EQ(CountOf(TRect{C.Left - 1, C.Top - 1, C.Right + 1, C.Top}, clRed), 0);
        EXPECT_EQ(CountOf(TRect{C.Left - 1, C.Top, C.Left, C.Bottom}, clRed), 0);
    }
    // The single frame is closed: left side, top, right at right - 1, bottom at bottom - 1.
    Grid->SetFocusBorder(fbSingle);
    Shot();
    EXPECT_EQ(At(C.Left + 1, C.Top + 5), clRed);
    EXPECT_EQ(At(C.Left + 20, C.Top), clRed);
    EXPECT_EQ(At(C.Right - 1, C.Top + 5), clRed);
    EXPECT_EQ(At(C.Left + 20, C.Bottom - 1), clRed);
    EXPECT_EQ(At(C.Left + 2, C.Top + 2), clWhite);
    // The dashed frame runs along all four sides with gaps in it.
    Grid->SetFocusBorder(fbDash);
    Shot();
    const int Top = CountOf(TRect{C.Left, C.Top, C.Right, C.Top + 1}, clRed);
    EXPECT_GT(Top, 0);
    EXPECT_LT(Top, C.Right - C.Left);
    EXPECT_EQ(At(C.Left + 1, C.Top), clRed);
    EXPECT_GT(CountOf(TRect{C.Right - 1, C.Top, C.Right, C.Bottom}, clRed), 0);
    EXPECT_GT(CountOf(TRect{C.Left, C.Bottom - 1, C.Right, C.Bottom}, clRed), 0);
    EXPECT_GT(CountOf(TRect{C.Left, C.Top, C.Left + 1, C.Bottom}, clRed), 0);
    // The dotted frame is the system's: every other pixel along the top.
    Grid->SetFocusBorder(fbDot);
    Shot();
    EXPECT_NE(At(C.Left + 1, C.Top), At(C.Left + 2, C.Top));
    EXPECT_EQ(At(C.Left + 1, C.Top), At(C.Left + 3, C.Top));
    EXPECT_EQ(RedRings()[0], 0);
}

TEST_F(FocusOffScreenS60, DottedFrameTakesTheFocusColoursOnlyWhenBothAreSet) {
    struct Case {
        const char* Name;
        TColor Color, FontColor;
        TColor Dot, Gap;
    };
    const Case Cases[] = {
        {"grid colours", clNone, clNone, clBlack, clWhite},
        {"focus colour alone", clYellow, clNone, clBlack, clWhite},
        {"both focus colours", clYellow, clBlue, clBlue, clYellow},
    };
    Grid->SetFocusBorder(fbDot);
    const TRect C = Inner();
    for (const Case& K : Cases) {
        SCOPED_TRACE(K.Name);
        Grid->SetFocusColor(K.Color);
        Grid->SetFocusFontColor(K.FontColor);
        Shot();
        const TColor A = At(C.Left + 20, C.Top), B = At(C.Left + 21, C.Top);
        EXPECT_TRUE((A == K.Dot && B == K.Gap) || (A == K.Gap && B == K.Dot));
    }
}

TEST_F(FocusOffScreenS60, FocusColoursPaintTheCurrentCellOnlyWhileFocused) {
    Grid->SetFocusBorder(fbNone);
    Grid->SetFocusColor(clYellow);
    Grid->SetFocusFontColor(clBlue);
    const TRect C = Inner();
    Shot();
    EXPECT_EQ(At(C.Left + 30, C.Top + 5), clYellow);
    FocusOther();
    Shot();
    EXPECT_NE(At(C.Left + 30, C.Top + 5), clYellow);
    FocusGrid();
    Shot();
    EXPECT_EQ(At(C.Left + 30, C.Top + 5), clYellow);
}

TEST_F(FocusOffScreenS60, FrameFollowsRealFocusChangesUnlessAlwaysShown) {
    for (TgxFocusBorder B : {fbSingle, fbDouble}) {
        Grid->SetFocusBorder(B);
        EXPECT_TRUE(FrameShown());
        FocusOther();
        EXPECT_FALSE(FrameShown());
        FocusGrid();
        EXPECT_TRUE(FrameShown());
    }
    Grid->SetAlwaysShowFocus(true);
    FocusOther();
    EXPECT_TRUE(FrameShown());
}

TEST_F(FocusOffScreenS60, ClearAndDrawCurrentFocusRect) {
    Grid->SetFocusBorder(fbSingle);
    ASSERT_TRUE(FrameShown());
    Grid->ClearCurrentFocusRect(true);
    EXPECT_FALSE(FrameShown());
    EXPECT_FALSE(Grid->GetFocusRectDisabled());
    Grid->DrawCurrentFocusRect(true);
    EXPECT_TRUE(FrameShown());
    // Without updating at once the frame waits for the next paint.
    Grid->ClearCurrentFocusRect(false);
    EXPECT_TRUE(FrameShown());
    Grid->DrawCurrentFocusRect(false);
    EXPECT_TRUE(FrameShown());
}

TEST_F(FocusOffScreenS60, WritingTheCurrentCellKeepsItsFrame) {
    Grid->SetFocusBorder(fbSingle);
    ASSERT_TRUE(FrameShown());
    const TRect C = Inner();
    for (bool PText : {false, true}) {
        SCOPED_TRACE(PText);
        if (PText)
            Grid->SetCellPText(Grid->GetDataCol(2), Grid->GetDataRow(2), "WWW");
        else
            Grid->SetCellValue(Grid->GetDataCol(2), Grid->GetDataRow(2),
                               Variant(AnsiString("WWW")));
        EXPECT_TRUE(FrameShown());
        EXPECT_GT(CountOf(TRect{C.Left + 2, C.Top + 2, C.Right - 2, C.Bottom - 2}, clBlack), 0);
    }
}

TEST_F(FocusOffScreenS60, DrawCellFocusRectDrawsOnlyWhereTheFrameShows) {
    Grid->SetFocusBorder(fbSingle);
    for (int Col : {2, 3}) {
        SCOPED_TRACE(Col);
        const TRect C = Grid->CellRect(Col, 2);
        Grid->Canvas()->Brush()->SetColor(clWhite);
        Grid->Canvas()->FillRect(C);
        Grid->DrawCellFocusRect(Col, 2);
        Shot();
        EXPECT_EQ(CountOf(C, clRed) > 0, Col == 2);
    }
}

TEST_F(FocusOffScreenS60, DrawFocusRectDrawsOnAnyCanvasShownOrNot) {
    Grid->SetFocusBorder(fbDouble);
    FocusOther();
    TBitmap Bmp;
    Bmp.SetSize(Grid->ClientWidth(), Grid->ClientHeight());
    Bmp.Canvas()->Brush()->SetColor(clWhite);
    Bmp.Canvas()->FillRect(TRect{0, 0, Bmp.Width(), Bmp.Height()});
    Grid->DrawFocusRect(Bmp.Canvas(), 3, 3);
    const TRect C = Grid->CellRect(3, 3);
    // The dotted and dashed looks lend the canvas the focus colours and
    // give its font colour back.
    for (TgxFocusBorder B : {fbDot, fbDash}) {
        Grid->SetFocusBorder(B);
        Grid->SetFocusColor(clYellow);
        Grid->SetFocusFontColor(clBlue);
        Bmp.Canvas()->Font()->SetColor(clGreen);
        Grid->DrawFocusRect(Bmp.Canvas(), 1, 1);
        EXPECT_EQ(Bmp.Canvas()->Font()->Color(), clGreen);
    }
    EXPECT_EQ(Bmp.Canvas()->Pixels(C.Left + 1, C.Top + 4), clRed);
    EXPECT_EQ(Bmp.Canvas()->Pixels(C.Left + 2, C.Top + 4), clRed);
    EXPECT_EQ(Bmp.Canvas()->Pixels(C.Left + 3, C.Top + 4), clWhite);
}

TEST_F(FocusOffScreenS60, UpdateGridLeavesTheFrameOutOnlyWhenAsked) {
    Grid->SetFocusBorder(fbSingle);
    for (bool Without : {true, false}) {
        SCOPED_TRACE(Without);
        Grid->Invalidate();
        Grid->UpdateGrid(Without);
        EXPECT_FALSE(Grid->GetFocusRectDisabled());
        Image = Grid->Widget()->grab().toImage();
        const TRect C = Inner();
        EXPECT_EQ(At(C.Left + 1, C.Top + 5) == clRed, !Without);
    }
}

TEST_F(FocusOffScreenS60, InvalidateFocusRectReachesIntoTheLinesForSolidFrames) {
    const TRect C = Inner();
    struct Case {
        const char* Name;
        TgxFocusBorder Border;
        bool WholeBox, ByFocusChanged;
        bool LineRepainted, CellRepainted;
    };
    const Case Cases[] = {
        {"single", fbSingle, false, false, true, true},
        {"double", fbDouble, false, false, true, true},
        {"dot", fbDot, false, false, false, true},
        {"dot, whole box", fbDot, true, false, true, true},
        {"focus changed, dot", fbDot, false, true, false, true},
        {"focus changed, dot, whole box", fbDot, true, true, true, true},
        {"focus changed, single", fbSingle, false, true, true, true},
    };
    for (const Case& K : Cases) {
        SCOPED_TRACE(K.Name);
        Grid->SetFocusBorder(K.Border);
        Shot();
        // Marks the line left of the cell and the cell itself.
        Grid->Canvas()->Brush()->SetColor(clLime);
        Grid->Canvas()->FillRect(TRect{C.Left - 1, C.Top + 3, C.Left + 6, C.Top + 6});
        if (K.ByFocusChanged)
            Grid->FocusChanged(K.WholeBox);
        else
            Grid->InvalidateFocusRect(2, 2, K.WholeBox);
        Grid->Update();
        Shot();
        EXPECT_EQ(At(C.Left - 1, C.Top + 4) != clLime, K.LineRepainted);
        EXPECT_EQ(At(C.Left + 4, C.Top + 4) != clLime, K.CellRepainted);
        Grid->Invalidate();
        Grid->Update();
    }
    // During fast assignment nothing is invalidated.
    Grid->SetFocusBorder(fbSingle);
    Grid->Update();
    TRect Pending;
    ASSERT_FALSE(Grid->UpdateAreaBounds(Pending));
    Grid->SetFastAssign(true);
    Grid->InvalidateFocusRect(2, 2, true);
    EXPECT_FALSE(Grid->UpdateAreaBounds(Pending));
    Grid->SetFastAssign(false);
}

// ---- one cell put together off-screen ----------------------------------------------------

TEST_F(FocusOffScreenS60, OffScreenCellReachesTheWindowOnlyWhenCopied) {
    const TRect C = Grid->CellRect(3, 3);
    // The window's own pixels of the cell: what a part-drawn cell keeps.
    Grid->Canvas()->Brush()->SetColor(clNavy);
    Grid->Canvas()->FillRect(C);
    ASSERT_TRUE(Grid->PrepareCanvas(C));
    EXPECT_TRUE(Grid->PaintingOffScreen());
    // A second start while one cell is off-screen is refused.
    EXPECT_FALSE(Grid->PrepareCanvas(C));
    const TRect Part{C.Left, C.Top, C.Left + 10, C.Bottom};
    Grid->Canvas()->Brush()->SetColor(clLime);
    Grid->Canvas()->FillRect(Part);
    Shot();
    EXPECT_EQ(CountOf(C, clLime), 0);
    Grid->CanvasToScreen(C);
    EXPECT_FALSE(Grid->PaintingOffScreen());
    Shot();
    EXPECT_EQ(CountOf(Part, clLime), 10 * (C.Bottom - C.Top));
    EXPECT_EQ(CountOf(C, clNavy), (C.Right - C.Left - 10) * (C.Bottom - C.Top));
    // The canvas is the window's again.
    Grid->Canvas()->Brush()->SetColor(clBlue);
    Grid->Canvas()->FillRect(C);
    Shot();
    EXPECT_EQ(At(C.Left + 2, C.Top + 2), clBlue);
}

TEST_F(FocusOffScreenS60, OffScreenCopyIsHeldToTheClientAndSkippedForAnInvertedRect) {
    const TRect Edge{Grid->ClientWidth() - 10, 40, Grid->ClientWidth() + 50, 60};
    ASSERT_TRUE(Grid->PrepareCanvas(Edge));
    Grid->Canvas()->Brush()->SetColor(clLime);
    Grid->Canvas()->FillRect(Edge);
    Grid->CanvasToScreen(Edge);
    Shot();
    EXPECT_EQ(At(Grid->ClientWidth() - 5, 50), clLime);

    const TRect Inverted{200, 100, 150, 120};
    const TRect Area{150, 100, 200, 120};
    ASSERT_TRUE(Grid->PrepareCanvas(Area));
    Grid->Canvas()->Brush()->SetColor(clFuchsia);
    Grid->Canvas()->FillRect(Area);
    Grid->CanvasToScreen(Inverted);
    EXPECT_FALSE(Grid->PaintingOffScreen());
    Shot();
    EXPECT_EQ(CountOf(Area, clFuchsia), 0);
    // The surface was handed back all the same.
    ASSERT_TRUE(Grid->PrepareCanvas(Area));
    Grid->CanvasToScreen(Area);
}

TEST_F(FocusOffScreenS60, OffScreenCellTakenOffTheSurfaceIsNotCopied) {
    const TRect R = Grid->CellRect(3, 3);
    ASSERT_TRUE(Grid->PrepareCanvas(R));
    const HDC MemoryDc = Grid->Canvas()->Handle();
    Grid->Canvas()->Brush()->SetColor(clLime);
    Grid->Canvas()->FillRect(R);
    TBitmap Bmp;
    Bmp.SetSize(8, 8);
    Grid->Canvas()->SetHandle(Bmp.Canvas()->Handle());
    Grid->CanvasToScreen(R);
    EXPECT_FALSE(Grid->PaintingOffScreen());
    EXPECT_NE(Grid->Canvas()->Handle(), MemoryDc);
    Shot();
    EXPECT_EQ(CountOf(R, clLime), 0);
    ASSERT_TRUE(Grid->PrepareCanvas(R));
    Grid->CanvasToScreen(R);
}

TEST_F(FocusOffScreenS60, AnotherGridWaitsForTheSharedSurface) {
    auto* Second = new TgxGrid(Form);
    Second->SetParent(Form);
    Second->SetBounds(0, 310, 200, 80);
    QApplication::processEvents();
    const TRect R{10, 10, 40, 20};
    ASSERT_TRUE(Grid->PrepareCanvas(R));
    EXPECT_FALSE(Second->PrepareCanvas(R));
    EXPECT_FALSE(Second->PaintingOffScreen());
    Grid->CanvasToScreen(R);
    EXPECT_TRUE(Second->PrepareCanvas(R));
    Second->CanvasToScreen(R);
}

TEST_F(FocusOffScreenS60, RestoreHandleAndBmpHandleNeededPutTheCanvasBack) {
    TCanvas* Canvas = Grid->Canvas();
    const HDC WindowDc = Canvas->Handle();
    // Outside off-screen painting RestoreHandle leaves the canvas alone.
    Grid->RestoreHandle();
    EXPECT_EQ(Canvas->Handle(), WindowDc);

    const TRect R = Grid->CellRect(2, 3);
    ASSERT_TRUE(Grid->PrepareCanvas(R));
    const HDC MemoryDc = Canvas->Handle();
    EXPECT_NE(MemoryDc, WindowDc);
    TBitmap Bmp;
    Bmp.SetSize(8, 8);
    Canvas->SetHandle(Bmp.Canvas()->Handle());
    Grid->RestoreHandle();
    EXPECT_EQ(Canvas->Handle(), MemoryDc);

    TBitmap Fresh;
    Fresh.SetSize(8, 8);
    Grid->BmpHandleNeeded(&Fresh);
    EXPECT_TRUE(Fresh.Canvas()->HandleAllocated());
    EXPECT_EQ(Canvas->Handle(), MemoryDc);
    Grid->CanvasToScreen(R);
    EXPECT_EQ(Canvas->Handle(), WindowDc);
    Grid->BmpHandleNeeded(&Fresh);
    EXPECT_EQ(Canvas->Handle(), WindowDc);
}

// ---- the value writers go through the off-screen cell -------------------------------------

// A grid with its own cell-text painter, as a derived grid has, that notes
// whether the text goes onto the off-screen surface.
class TTextSpyGrid : public TgxGrid {
public:
    using TgxGrid::TgxGrid;
    void DrawCellText(const AnsiString& Text, TgxDrawData& Data, bool Selected) override {
        if (Text == "Wx") {
            OffScreen.push_back(PaintingOffScreen());
            if (Raise) throw std::runtime_error("painter failed");
        }
        TgxGrid::DrawCellText(Text, Data, Selected);
    }
    std::vector<bool> OffScreen;
    bool Raise = false;
};

class ValueWritersOffScreenS60 : public ShownGridPixels {
protected:
    void SetUp() override {
        EnsureQtApplication();
        Form = new TForm(nullptr);
        Form->SetBounds(10, 10, 600, 400);
        Spy = new TTextSpyGrid(Form);
        Grid = Spy;
        Grid->SetParent(Form);
        Grid->SetBounds(0, 0, 400, 300);
        Form->Show();
        Grid->SetGridColCount(4);
        Grid->SetGridRowCount(4);
        Grid->SetGridMode(gmBrowse);
        Grid->SetSelectionType(sltInvert);
        ShowActive(*Form);
        Grid->SetFocus();
        QApplication::processEvents();
        Grid->SetCol(2);
        Grid->SetRow(2);
        QApplication::processEvents();
    }
    TTextSpyGrid* Spy = nullptr;
};

TEST_F(ValueWritersOffScreenS60, ASelectedCellIsPutTogetherOffScreenAndShownSelected) {
    // Blank: the colour of the written cell's blank corner on the window;
    // inverted white without a selection colour, else the selection colour.
    struct Case {
        const char* Name;
        bool StoreData, Current, PText, Coloured;
        TColor Blank;
    };
    const Case Cases[] = {
        {"current, value", false, true, false, false, clBlack},
        {"current, text", false, true, true, false, clBlack},
        {"other, value", false, false, false, false, clBlack},
        {"other, text", false, false, true, false, clBlack},
        {"current, stored value", true, true, false, false, clBlack},
        {"current, stored text", true, true, true, false, clBlack},
        {"other, coloured selection", false, false, false, true, clAqua},
    };
    for (const Case& K : Cases) {
        SCOPED_TRACE(K.Name);
        Grid->SetStoreData(K.StoreData);
        Grid->SetSelectionType(K.Coloured ? sltColor : sltInvert);
        Grid->SetSelectionColor(K.Coloured ? clAqua : clNone);
        const int Row = K.Current ? 2 : 3;
        Grid->SelectRows(Row, Row, true);
        Grid->Invalidate();
        Grid->Update();
        Spy->OffScreen.clear();
        const int DataCol = Grid->GetDataCol(2), DataRow = Grid->GetDataRow(Row);
        if (K.PText)
            Grid->SetCellPText(DataCol, DataRow, "Wx");
        else
            Grid->SetCellValue(DataCol, DataRow, Variant(AnsiString("Wx")));
        ASSERT_EQ(Spy->OffScreen.size(), 1u);
        EXPECT_TRUE(Spy->OffScreen.front());
        EXPECT_FALSE(Grid->PaintingOffScreen());
        Shot();
        const TRect C = Grid->CellRect(2, Row);
        EXPECT_EQ(At(C.Right - 3, C.Bottom - 3), K.Blank);
        EXPECT_GT(CountOf(C, K.Blank), (C.Right - C.Left) * (C.Bottom - C.Top) / 2);
        Grid->SelectRows(Row, Row, false);
        Grid->Invalidate();
        Grid->Update();
    }
}

TEST_F(ValueWritersOffScreenS60, APainterThatRaisesOffScreenLeavesTheSurfaceFree) {
    Grid->SetStoreData(false);
    Grid->SelectRows(3, 3, true);
    Grid->Update();
    Spy->Raise = true;
    EXPECT_THROW(
        Grid->SetCellValue(Grid->GetDataCol(2), Grid->GetDataRow(3), Variant(AnsiString("Wx"))),
        std::runtime_error);
    Spy->Raise = false;
    ASSERT_EQ(Spy->OffScreen.size(), 1u);
    EXPECT_TRUE(Spy->OffScreen.front());
    EXPECT_FALSE(Grid->PaintingOffScreen());
    const TRect R = Grid->CellRect(2, 3);
    EXPECT_TRUE(Grid->PrepareCanvas(R));
    Grid->CanvasToScreen(R);
    EXPECT_FALSE(Grid->GetFocusRectDisabled());
}

TEST_F(ValueWritersOffScreenS60, APaintThatRaisesLeavesTheFrameEnabled) {
    Grid->SetStoreData(true);
    Grid->SetCellValue(Grid->GetDataCol(2), Grid->GetDataRow(2), Variant(AnsiString("Wx")));
    Spy->Raise = true;
    const std::function<void()> Steps[] = {
        [&] { Grid->ClearCurrentFocusRect(true); },
        [&] {
            Grid->Invalidate();
            Grid->UpdateGrid(true);
        },
    };
    for (const auto& Step : Steps) {
        const std::size_t Before = Spy->OffScreen.size();
        EXPECT_THROW(Step(), std::runtime_error);
        EXPECT_GT(Spy->OffScreen.size(), Before);
        EXPECT_FALSE(Grid->GetFocusRectDisabled());
    }
    Spy->Raise = false;
}

} // namespace
