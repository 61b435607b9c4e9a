// The current cell's focus frame and the repaint of one cell off-screen,
// read on the grid's backing image.
#include "ShownGridPixels.h"
#include "grid/model/Columns.h"
#include "grid/model/GridTypes.h"
#include "platform/gui/Colors.h"
#include "platform/gui/StdCtrls.h"

#include <algorithm>
#include <vector>

using namespace grid;

namespace {

class FocusOffscreenGrid : public ShownGridPixels {
protected:
    // Shows the grid focused, current cell (2, 2), with an edit beside it
    // to take the focus away.
    void ShowWithEdit() {
        ShowFocused(6, 8);
        Edit = new TEdit(Form);
        Edit->SetParent(Form);
        Edit->SetBounds(420, 10, 100, 24);
        QApplication::processEvents();
        Grid->SetFocus();
        QApplication::processEvents();
    }
    // The backing image's pixel, as the window holds it now: no repaint.
    TColor Held(int X, int Y) { return ColorToRGB(Grid->Canvas()->Pixels(X, Y)); }
    TColor Centre(int Col, int Row) {
        const TRect R = Grid->CellRect(Col, Row);
        return Held((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
    }
    void Settle() {
        QApplication::processEvents();
        QApplication::processEvents();
    }
    // The bounding box of the pixels of colour C around the cell (one
    // pixel beyond it on each side); empty when none.
    TRect BoxOf(int Col, int Row, TColor C) {
        const TRect R = Grid->CellRect(Col, Row);
        TRect B{10000, 10000, -1, -1};
        for (int Y = R.Top - 1; Y <= R.Bottom; ++Y)
            for (int X = R.Left - 1; X <= R.Right; ++X)
                if (Held(X, Y) == C) {
                    B.Left = std::min(B.Left, X);
                    B.Top = std::min(B.Top, Y);
                    B.Right = std::max(B.Right, X + 1);
                    B.Bottom = std::max(B.Bottom, Y + 1);
                }
        return B;
    }
    bool RingIs(const TRect& B, TColor C) {
        for (int X = B.Left; X < B.Right; ++X)
            if (Held(X, B.Top) != C || Held(X, B.Bottom - 1) != C) return false;
        for (int Y = B.Top; Y < B.Bottom; ++Y)
            if (Held(B.Left, Y) != C || Held(B.Right - 1, Y) != C) return false;
        return true;
    }
    int CountIn(const TRect& B, TColor C) {
        int N = 0;
        for (int Y = B.Top; Y < B.Bottom; ++Y)
            for (int X = B.Left; X < B.Right; ++X)
                N += Held(X, Y) == C;
        return N;
    }
    TEdit* Edit = nullptr;
};

} // namespace

TEST_F(FocusOffscreenGrid, FocusLookIsConfiguredByBorderOrEitherFocusColour) {
    ShowFocused(4, 4);
    EXPECT_EQ(Grid->FocusBorder(), fbDot);
    EXPECT_EQ(Grid->FocusColor(), clNone);
    EXPECT_EQ(Grid->FocusFontColor(), clNone);
    EXPECT_EQ(Grid->FocusBorderColor(), clNone);
    struct Case {
        TgxFocusBorder Border;
        TColor Color, FontColor;
        bool Enabled;
    };
    for (const Case& C : {Case{fbNone, clNone, clNone, false}, Case{fbNone, clYellow, clNone, true},
                          Case{fbNone, clNone, clBlue, true}, Case{fbDot, clNone, clNone, true},
                          Case{fbDash, clNone, clNone, true}, Case{fbSingle, clNone, clNone, true},
                          Case{fbDouble, clNone, clNone, true}}) {
        Grid->SetFocusBorder(C.Border);
        Grid->SetFocusColor(C.Color);
        Grid->SetFocusFontColor(C.FontColor);
        EXPECT_EQ(Grid->FocusEnabled(), C.Enabled) << static_cast<int>(C.Border);
        EXPECT_EQ(Grid->DisplayFocusRect(2, 2), C.Enabled) << static_cast<int>(C.Border);
    }
}

TEST_F(FocusOffscreenGrid, FrameShowsOnlyOnTheFocusedCurrentCellInANormalGrid) {
    ShowWithEdit();
    ASSERT_TRUE(Grid->Focused());
    EXPECT_TRUE(Grid->FocusRectActive());
    EXPECT_TRUE(Grid->DisplayFocusRect(2, 2));
    EXPECT_FALSE(Grid->DisplayFocusRect(3, 2)) << "not the current cell";
    EXPECT_FALSE(Grid->DisplayFocusRect(2, 3)) << "not the current cell";
    EXPECT_FALSE(Grid->FocusRectVisible(0, 2)) << "row bar";
    EXPECT_FALSE(Grid->FocusRectVisible(2, 0)) << "heading";
    EXPECT_TRUE(Grid->CheckCellFocusRect(3, 3, true)) << "all but the current-cell test";

    Grid->SetFocusRectDisabled(true);
    Grid->SetFocusRectDisabled(true);
    Grid->SetFocusRectDisabled(false);
    EXPECT_FALSE(Grid->DisplayFocusRect(2, 2)) << "disable counter nests";
    Grid->SetFocusRectDisabled(false);
    EXPECT_TRUE(Grid->DisplayFocusRect(2, 2));

    Grid->SetGridMode(gmListBox);
    EXPECT_FALSE(Grid->FocusRectActive());
    EXPECT_FALSE(Grid->DisplayFocusRect(Grid->Col(), Grid->Row()));
    Grid->SetGridMode(gmBrowse);
    Grid->SetCol(2);
    Grid->SetRow(2);
    EXPECT_TRUE(Grid->DisplayFocusRect(2, 2));

    Grid->SelectRows(4, 5, true);
    ASSERT_NE(Grid->GridStatus(), grNormal);
    EXPECT_FALSE(Grid->FocusRectActive());
    EXPECT_FALSE(Grid->DisplayFocusRect(Grid->Col(), Grid->Row()));
    Grid->ResetSelection();
    EXPECT_TRUE(Grid->FocusRectActive());

    Edit->SetFocus();
    Settle();
    ASSERT_FALSE(Grid->Focused());
    EXPECT_FALSE(Grid->DisplayFocusRect(2, 2)) << "unfocused";
    EXPECT_TRUE(Grid->DisplayFocusRect(2, 2, false)) << "focus not asked";
    Grid->SetAlwaysShowFocus(true);
    EXPECT_TRUE(Grid->DisplayFocusRect(2, 2)) << "AlwaysShowFocus";
}

TEST_F(FocusOffscreenGrid, InPlaceControlCoversTheFrameOnlyOnAnEditableCell) {
    ShowFocused(4, 4);
    Grid->SetGridMode(gmEdit);
    Grid->SetCol(2);
    Grid->SetRow(2);
    Settle();
    // An editable text cell: the frame gives way to the editor once it shows.
    Grid->SetAlwaysShowFocus(true);
    Grid->SetAlwaysShowEditor(true);
    Settle();
    EXPECT_FALSE(Grid->FocusRectVisible(2, 2));
    EXPECT_FALSE(Grid->DisplayFocusRect(2, 2));
    // A read-only column does not edit in place: the frame shows.
    Grid->GetCol(3)->SetReadOnly(true);
    Grid->SetCol(3);
    Settle();
    EXPECT_TRUE(Grid->FocusRectVisible(3, 2));
    EXPECT_TRUE(Grid->DisplayFocusRect(3, 2));
}

TEST_F(FocusOffscreenGrid, SolidFramesAreOneAndTwoNestedOnePixelRings) {
    ShowWithEdit();
    Grid->SetFocusBorderColor(clRed);
    struct Case {
        TgxFocusBorder Border;
        int Rings;
    };
    for (const Case& C : {Case{fbSingle, 1}, Case{fbDouble, 2}}) {
        Grid->SetFocusBorder(C.Border);
        Settle();
        const TRect Cell = Grid->CellRect(2, 2);
        const TRect B = BoxOf(2, 2, clRed);
        ASSERT_LT(B.Left, B.Right) << "no frame for " << C.Rings;
        EXPECT_GE(B.Width(), Cell.Width() - 2);
        EXPECT_GE(B.Height(), Cell.Height() - 2);
        TRect Ring = B;
        for (int I = 0; I < C.Rings; ++I) {
            EXPECT_TRUE(RingIs(Ring, clRed)) << C.Rings << " ring " << I;
            Ring = TRect{Ring.Left + 1, Ring.Top + 1, Ring.Right - 1, Ring.Bottom - 1};
        }
        EXPECT_EQ(CountIn(Ring, clRed), 0) << C.Rings << ": nothing red inside the rings";
        // Nothing red on a cell that is not current.
        EXPECT_EQ(CountIn(Grid->CellRect(3, 3), clRed), 0);
    }
    // No frame once the grid loses the focus, and back with it.
    Edit->SetFocus();
    Settle();
    EXPECT_EQ(CountIn(Grid->CellRect(2, 2), clRed), 0);
    Grid->SetFocus();
    Settle();
    EXPECT_TRUE(RingIs(BoxOf(2, 2, clRed), clRed));
}

TEST_F(FocusOffscreenGrid, DashedAndDottedFramesMarkTheEdgesNotTheInside) {
    ShowWithEdit();
    const TRect Cell = Grid->CellRect(2, 2);
    Grid->SetFocusBorder(fbNone);
    Settle();
    const TColor Ground = Centre(2, 2);
    std::vector<TColor> Plain;
    for (int X = Cell.Left; X < Cell.Right; ++X)
        Plain.push_back(Held(X, Cell.Top));
    struct Case {
        TgxFocusBorder Border;
        const char* Name;
    };
    for (const Case& C : {Case{fbDot, "dot"}, Case{fbDash, "dash"}}) {
        Grid->SetFocusBorderColor(clRed);
        Grid->SetFocusBorder(C.Border);
        Settle();
        // Along the top edge some pixels are marked and some are not.
        int Marked = 0;
        const int W = Cell.Width();
        for (int X = Cell.Left; X < Cell.Right; ++X)
            Marked += Held(X, Cell.Top) != Plain[static_cast<size_t>(X - Cell.Left)];
        EXPECT_GT(Marked, W / 5) << C.Name;
        EXPECT_LT(Marked, W) << C.Name << ": broken line";
        EXPECT_EQ(Centre(2, 2), Ground) << C.Name << ": inside untouched";
        if (C.Border == fbDash)
            EXPECT_GT(CountIn(Cell, clRed), W / 5) << "dashes in FocusBorderColor";
        // The other cells have no frame.
        int Other = 0;
        const TRect O = Grid->CellRect(3, 3);
        for (int X = O.Left; X < O.Right; ++X)
            Other += Held(X, O.Top) != Held(O.Left + 3, O.Top + 3);
        EXPECT_EQ(Other, 0) << C.Name;
    }
    // fbNone with no focus colours leaves the current cell as any other.
    Grid->SetFocusBorder(fbNone);
    Settle();
    for (int X = Cell.Left; X < Cell.Right; ++X)
        EXPECT_EQ(Held(X, Cell.Top), Plain[static_cast<size_t>(X - Cell.Left)]);
}

TEST_F(FocusOffscreenGrid, FocusColourFollowsRealFocusChanges) {
    ShowWithEdit();
    Grid->SetFocusColor(clYellow);
    Grid->SetFocusFontColor(clBlue);
    Settle();
    const TColor Other = Centre(3, 3);
    EXPECT_EQ(Centre(2, 2), clYellow);
    Edit->SetFocus();
    Settle();
    EXPECT_EQ(Centre(2, 2), Other) << "the focus colour goes with the focus";
    Grid->SetFocus();
    Settle();
    EXPECT_EQ(Centre(2, 2), clYellow);
    Grid->SetAlwaysShowFocus(true);
    Edit->SetFocus();
    Settle();
    EXPECT_EQ(Centre(2, 2), clYellow) << "AlwaysShowFocus keeps it";
}

TEST_F(FocusOffscreenGrid, ClearAndDrawCurrentFocusRectRemoveAndRestoreTheFrame) {
    ShowWithEdit();
    Grid->SetFocusBorderColor(clRed);
    Grid->SetFocusBorder(fbSingle);
    Settle();
    ASSERT_GT(CountIn(Grid->CellRect(2, 2), clRed), 0);
    Grid->ClearCurrentFocusRect(true);
    EXPECT_EQ(CountIn(Grid->CellRect(2, 2), clRed), 0) << "removed at once";
    EXPECT_TRUE(Grid->DisplayFocusRect(2, 2)) << "the disable is not left behind";
    Grid->DrawCurrentFocusRect(true);
    EXPECT_GT(CountIn(Grid->CellRect(2, 2), clRed), 0) << "restored at once";

    // Without updating at once the frame comes back with the next paint.
    Grid->ClearCurrentFocusRect(true);
    ASSERT_EQ(CountIn(Grid->CellRect(2, 2), clRed), 0);
    Grid->DrawCurrentFocusRect(false);
    Settle();
    EXPECT_GT(CountIn(Grid->CellRect(2, 2), clRed), 0) << "restored by the next paint";
}

TEST_F(FocusOffscreenGrid, UpdateGridLeavesTheFrameOutOnlyWhenAsked) {
    ShowWithEdit();
    Grid->SetFocusBorderColor(clRed);
    Grid->SetFocusBorder(fbSingle);
    Settle();
    Grid->InvalidateFocusRect(2, 2, true);
    Grid->UpdateGrid(true);
    EXPECT_EQ(CountIn(Grid->CellRect(2, 2), clRed), 0) << "painted without the frame";
    EXPECT_TRUE(Grid->DisplayFocusRect(2, 2));
    Grid->InvalidateFocusRect(2, 2, true);
    Grid->UpdateGrid(false);
    EXPECT_GT(CountIn(Grid->CellRect(2, 2), clRed), 0);
}

TEST_F(FocusOffscreenGrid, InvalidateFocusRectRepaintsTheWholeSolidFrame) {
    ShowWithEdit();
    Grid->SetFocusBorderColor(clRed);
    Grid->SetFocusBorder(fbSingle);
    Settle();
    const TRect B = BoxOf(2, 2, clRed);
    ASSERT_TRUE(RingIs(B, clRed));
    // Paint over the frame's box and one pixel round it behind the grid's back.
    Grid->Canvas()->Brush()->SetColor(clLime);
    Grid->Canvas()->FillRect(TRect{B.Left - 1, B.Top - 1, B.Right + 1, B.Bottom + 1});
    Grid->InvalidateFocusRect(2, 2, false);
    Grid->Update();
    EXPECT_TRUE(RingIs(B, clRed)) << "the frame is repainted where it reaches";
    EXPECT_EQ(CountIn(TRect{B.Left, B.Top, B.Right, B.Bottom}, clLime), 0);

    // During fast assignment nothing is invalidated.
    Grid->SetFastAssign(true);
    Settle();
    Grid->Canvas()->Brush()->SetColor(clLime);
    Grid->Canvas()->FillRect(TRect{B.Left - 1, B.Top - 1, B.Right + 1, B.Bottom + 1});
    Grid->InvalidateFocusRect(2, 2, true);
    Grid->Update();
    EXPECT_GT(CountIn(B, clLime), 0);
    Grid->SetFastAssign(false);
}

TEST_F(FocusOffscreenGrid, OffScreenCellReachesTheWindowOnlyOnCanvasToScreen) {
    ShowWithEdit();
    Settle();
    const TRect R = Grid->CellRect(3, 3);
    const TColor Before = Centre(3, 3);
    ASSERT_NE(Before, clLime);
    HDC WindowDc = Grid->Canvas()->Handle();
    ASSERT_TRUE(Grid->PrepareCanvas(R));
    EXPECT_TRUE(Grid->PaintingOffScreen());
    HDC MemoryDc = Grid->Canvas()->Handle();
    EXPECT_NE(MemoryDc, WindowDc);
    EXPECT_FALSE(Grid->PrepareCanvas(R)) << "already off-screen";
    EXPECT_EQ(Grid->Canvas()->Handle(), MemoryDc);
    Grid->Canvas()->Brush()->SetColor(clLime);
    Grid->Canvas()->FillRect(R);

    // Application code may take the canvas elsewhere: it is put back.
    TBitmap Bmp;
    Bmp.SetSize(8, 8);
    Grid->BmpHandleNeeded(&Bmp);
    EXPECT_TRUE(Bmp.Canvas()->HandleAllocated());
    EXPECT_EQ(Grid->Canvas()->Handle(), MemoryDc);
    Grid->Canvas()->SetHandle(Bmp.Canvas()->Handle());
    Grid->RestoreHandle();
    EXPECT_EQ(Grid->Canvas()->Handle(), MemoryDc);

    Grid->CanvasToScreen(R);
    EXPECT_FALSE(Grid->PaintingOffScreen());
    EXPECT_EQ(Centre(3, 3), clLime) << "shown at once";
    // The surface is free again.
    ASSERT_TRUE(Grid->PrepareCanvas(R));
    Grid->CanvasToScreen(R);
}

TEST_F(FocusOffscreenGrid, SurfaceHeldByAnotherGridIsRefused) {
    ShowWithEdit();
    auto* Other = new TgxGrid(Form);
    Other->SetParent(Form);
    Other->SetBounds(0, 310, 200, 80);
    Settle();
    const TRect R = Grid->CellRect(2, 2);
    ASSERT_TRUE(Other->PrepareCanvas(Other->CellRect(1, 1)));
    EXPECT_FALSE(Grid->PrepareCanvas(R));
    EXPECT_FALSE(Grid->PaintingOffScreen());
    Other->CanvasToScreen(Other->CellRect(1, 1));
    EXPECT_TRUE(Grid->PrepareCanvas(R));
    Grid->CanvasToScreen(R);
}

TEST_F(FocusOffscreenGrid, CanvasToScreenHoldsTheCopyToTheClientArea) {
    ShowWithEdit();
    Settle();
    const TRect Client = Grid->ClientRect();
    const TRect R{Client.Right - 20, Client.Bottom - 20, Client.Right + 40, Client.Bottom + 40};
    ASSERT_TRUE(Grid->PrepareCanvas(R));
    Grid->Canvas()->Brush()->SetColor(clLime);
    Grid->Canvas()->FillRect(R);
    Grid->CanvasToScreen(R);
    EXPECT_EQ(Held(Client.Right - 5, Client.Bottom - 5), clLime);
    EXPECT_FALSE(Grid->PaintingOffScreen());
}

TEST_F(FocusOffscreenGrid, WrittenSelectedCurrentCellShowsAtOnceWhetherOrNotTheSurfaceIsFree) {
    ShowWithEdit();
    auto* Other = new TgxGrid(Form);
    Other->SetParent(Form);
    Other->SetBounds(0, 310, 200, 80);
    Grid->SelectRows(2, 2, true);
    Settle();
    const TRect R = Grid->CellRect(2, 2);
    const TRect Around{R.Left - 1, R.Top - 1, R.Right + 1, R.Bottom + 1};
    auto Cell = [&] {
        std::vector<TColor> Out;
        for (int Y = Around.Top; Y < Around.Bottom; ++Y)
            for (int X = Around.Left; X < Around.Right; ++X)
                Out.push_back(Held(X, Y));
        return Out;
    };
    const std::vector<TColor> Empty = Cell();
    for (const bool SurfaceHeld : {false, true}) {
        if (SurfaceHeld) ASSERT_TRUE(Other->PrepareCanvas(Other->CellRect(1, 1)));
        Grid->SetCellValue(2, 2, Variant(AnsiString(SurfaceHeld ? "MMMMMM" : "WWWWWW")));
        EXPECT_FALSE(Grid->PaintingOffScreen());
        if (SurfaceHeld) Other->CanvasToScreen(Other->CellRect(1, 1));
        // On the window's image at once, and just as a paint draws it.
        const std::vector<TColor> Written = Cell();
        EXPECT_NE(Written, Empty) << SurfaceHeld;
        Grid->Invalidate();
        Settle();
        EXPECT_EQ(Written, Cell()) << SurfaceHeld;
    }
}

TEST_F(FocusOffscreenGrid, DrawFocusRectOntoAnotherCanvasTakesTheLookAndKeepsTheFontColour) {
    ShowFocused(6, 40);
    Grid->SetFocusBorderColor(clRed);
    const TRect Cell = Grid->CellRect(2, 2);
    struct Case {
        TgxFocusBorder Border;
        TColor Color, FontColor;
        std::vector<TColor> OnEdge; // colours the top edge must show
        bool Marks;
    };
    for (const Case& C :
         {Case{fbNone, clYellow, clBlue, {}, false}, Case{fbSingle, clNone, clNone, {clRed}, true},
          Case{fbDouble, clNone, clNone, {clRed}, true},
          Case{fbDash, clNone, clNone, {clRed}, true},
          Case{fbDot, clYellow, clBlue, {clYellow, clBlue}, true}}) {
        Grid->SetFocusBorder(C.Border);
        Grid->SetFocusColor(C.Color);
        Grid->SetFocusFontColor(C.FontColor);
        TBitmap Bmp;
        Bmp.SetSize(Grid->ClientWidth(), Grid->ClientHeight());
        Bmp.Canvas()->Brush()->SetColor(clWhite);
        Bmp.Canvas()->FillRect(TRect{0, 0, Bmp.Width(), Bmp.Height()});
        Bmp.Canvas()->Font()->SetColor(clGreen);
        Grid->DrawFocusRect(Bmp.Canvas(), 2, 2);
        EXPECT_EQ(Bmp.Canvas()->Font()->Color(), clGreen) << static_cast<int>(C.Border);
        int Marked = 0;
        std::vector<TColor> Seen;
        for (int X = Cell.Left - 1; X <= Cell.Right; ++X) {
            const TColor P = ColorToRGB(Bmp.Canvas()->Pixels(X, Cell.Top));
            Marked += P != clWhite;
            Seen.push_back(P);
        }
        EXPECT_EQ(Marked > 0, C.Marks) << static_cast<int>(C.Border);
        for (const TColor Want : C.OnEdge)
            EXPECT_NE(std::find(Seen.begin(), Seen.end(), Want), Seen.end())
                << static_cast<int>(C.Border) << " lacks " << Want;
        // A cell scrolled out of view has no box: nothing is drawn.
        TBitmap Out;
        Out.SetSize(Grid->ClientWidth(), Grid->ClientHeight());
        Out.Canvas()->Brush()->SetColor(clWhite);
        Out.Canvas()->FillRect(TRect{0, 0, Out.Width(), Out.Height()});
        Grid->DrawFocusRect(Out.Canvas(), 2, 39);
        int Any = 0;
        for (int Y = 0; Y < Out.Height(); Y += 2)
            for (int X = 0; X < Out.Width(); X += 2)
                Any += ColorToRGB(Out.Canvas()->Pixels(X, Y)) != clWhite;
        EXPECT_EQ(Any, 0) << static_cast<int>(C.Border);
    }
}
