// The focus frame of the current cell: when it shows, its looks, and how it
// leaves and comes back as the current cell, the focus and the selection
// change. Read off the grid's own image.
#include "GridEditFixture.h"
#include "platform/gui/Colors.h"
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/FloatFormat.h"
#include "grid/foundation/GridCommonVariant.h"

#include <functional>
#include <vector>

using namespace grid;

namespace {

class FocusFrameReading : public GridEditFixture {
protected:
    // A browsing grid (no in-place editor) with the first data cell current.
    void Browse() {
        Grid->SetGridMode(gmBrowse);
        GoTo(1, 1);
        Grid->Update();
    }
    TColor Px(int X, int Y) { return Grid->Canvas()->Pixels(X, Y); }
    TColor Back() { return ColorToRGB(Grid->Color()); }
    // Pixels of the cell (display col, row) that differ from the grid colour
    // along the horizontal line through its middle, left to right, and the
    // vertical one, top to bottom, inside the cell rectangle.
    int Marks(int DisplayCol, int DisplayRow) {
        const TRect R = Grid->CellRect(DisplayCol, DisplayRow);
        int N = 0;
        for (int X = R.Left; X < R.Right; ++X)
            for (int Y : {R.Top, R.Top + 1, R.Bottom - 2, R.Bottom - 1})
                if (Px(X, Y) != Back()) ++N;
        return N;
    }
};

TEST_F(FocusFrameReading, DefaultsAreADottedFrameWithoutColours) {
    EXPECT_EQ(Grid->FocusBorder(), fbDot);
    EXPECT_EQ(Grid->FocusColor(), clNone);
    EXPECT_EQ(Grid->FocusFontColor(), clNone);
    EXPECT_EQ(Grid->FocusBorderColor(), clNone);
    EXPECT_FALSE(Grid->AlwaysShowFocus());
}

TEST_F(FocusFrameReading, FocusEnabledByBorderOrEitherColour) {
    struct Case {
        TgxFocusBorder Border;
        TColor Color, FontColor;
        bool Enabled;
    } Cases[] = {{fbNone, clNone, clNone, false}, {fbDot, clNone, clNone, true},
                 {fbDash, clNone, clNone, true},  {fbNone, clRed, clNone, true},
                 {fbNone, clNone, clRed, true}};
    for (const Case& C : Cases) {
        Grid->SetFocusBorder(C.Border);
        Grid->SetFocusColor(C.Color);
        Grid->SetFocusFontColor(C.FontColor);
        EXPECT_EQ(Grid->FocusEnabled(), C.Enabled) << int(C.Border);
    }
}

TEST_F(FocusFrameReading, ShowsOnlyOnTheCurrentCellOfAFocusedGridInNormalState) {
    Browse();
    ASSERT_TRUE(Grid->Focused());
    EXPECT_TRUE(Grid->DisplayFocusRect(1, 1));
    EXPECT_FALSE(Grid->DisplayFocusRect(2, 1));
    EXPECT_FALSE(Grid->DisplayFocusRect(1, 2));
    // Disabled for a while (nestable), back after.
    Grid->SetFocusRectDisabled(true);
    Grid->SetFocusRectDisabled(true);
    EXPECT_FALSE(Grid->DisplayFocusRect(1, 1));
    Grid->SetFocusRectDisabled(false);
    EXPECT_FALSE(Grid->DisplayFocusRect(1, 1));
    Grid->SetFocusRectDisabled(false);
    EXPECT_TRUE(Grid->DisplayFocusRect(1, 1));
    // Not in a list-box grid.
    Grid->SetGridMode(gmListBox);
    EXPECT_FALSE(Grid->FocusRectActive());
    EXPECT_FALSE(Grid->DisplayFocusRect(Grid->Col(), Grid->Row()));
    Grid->SetGridMode(gmBrowse);
    EXPECT_TRUE(Grid->FocusRectActive());
    // Not while a selection is active.
    Grid->SelectRows(3, 4, true);
    ASSERT_NE(Grid->GridStatus(), grNormal);
    EXPECT_FALSE(Grid->FocusRectActive());
    EXPECT_FALSE(Grid->DisplayFocusRect(Grid->Col(), Grid->Row()));
}

TEST_F(FocusFrameReading, AnEditingTextCellShowsTheEditorInsteadOfTheFrame) {
    GoTo(1, 1);
    ASSERT_EQ(Grid->GridMode(), gmEdit);
    EXPECT_FALSE(Grid->DisplayFocusRect(1, 1));
    // A read-only cell is not edited in place: the frame shows.
    Grid->GetCol(2)->SetReadOnly(true);
    GoTo(2, 1);
    EXPECT_TRUE(Grid->DisplayFocusRect(2, 1));
}

TEST_F(FocusFrameReading, BorderStylesDrawTheirFrames) {
    // Along the cell's top edge and its left edge, which pixels carry the
    // border colour.
    struct Case {
        TgxFocusBorder Border;
        int TopRows;  // rows at the top fully in the border colour
        int LeftCols; // columns at the left (from left + 1) in the border colour
    } Cases[] = {{fbSingle, 1, 1}, {fbDouble, 2, 2}};
    for (const Case& C : Cases) {
        Grid->SetFocusBorder(C.Border);
        Grid->SetFocusBorderColor(clRed);
        Browse();
        Grid->Invalidate();
        Grid->Update();
        const TRect R = Grid->CellRect(1, 1);
        const int Mid = (R.Top + R.Bottom) / 2;
        const int MidX = (R.Left + R.Right) / 2;
        for (int I = 0; I < 3; ++I) {
            EXPECT_EQ(Px(MidX, R.Top + I), I < C.TopRows ? clRed : Back())
                << int(C.Border) << " top " << I;
            EXPECT_EQ(Px(MidX, R.Bottom - 1 - I), I < C.TopRows ? clRed : Back())
                << int(C.Border) << " bottom " << I;
            EXPECT_EQ(Px(R.Left + 1 + I, Mid), I < C.LeftCols ? clRed : Back())
                << int(C.Border) << " left " << I;
            EXPECT_EQ(Px(R.Right - 1 - I, Mid), I < C.LeftCols ? clRed : Back())
                << int(C.Border) << " right " << I;
        }
        EXPECT_EQ(Px(R.Left, Mid), Back()) << int(C.Border);
    }
}

TEST_F(FocusFrameReading, DashedFrameRunsAroundTheCellInTheBorderColour) {
    Grid->SetFocusBorder(fbDash);
    Grid->SetFocusBorderColor(clBlue);
    Browse();
    const TRect R = Grid->CellRect(1, 1);
    int Top = 0, Bottom = 0, Left = 0, Right = 0, Other = 0;
    for (int X = R.Left + 1; X < R.Right - 1; ++X) {
        Top += Px(X, R.Top) == clBlue;
        Bottom += Px(X, R.Bottom - 1) == clBlue;
    }
    for (int Y = R.Top; Y < R.Bottom; ++Y) {
        Left += Px(R.Left + 1, Y) == clBlue;
        Right += Px(R.Right - 1, Y) == clBlue;
    }
    for (int X = R.Left + 2; X < R.Right - 2; ++X)
        for (int Y = R.Top + 1; Y < R.Bottom - 1; ++Y) Other += Px(X, Y) == clBlue;
    // Dashes: some but not all pixels of each side.
    const int W = R.Right - R.Left - 2, H = R.Bottom - R.Top;
    for (int N : {Top, Bottom}) {
        EXPECT_GT(N, W / 4);
        EXPECT_LT(N, W);
    }
    for (int N : {Left, Right}) EXPECT_GT(N, 0);
    EXPECT_LE(Left, H);
    EXPECT_EQ(Other, 0);
}

TEST_F(FocusFrameReading, DottedFrameIsDrawnAndWithoutLooksNothingIs) {
    Browse();
    EXPECT_GT(Marks(1, 1), 0);
    EXPECT_EQ(Marks(2, 1), 0);
    Grid->SetFocusBorder(fbNone);
    Grid->Update();
    EXPECT_EQ(Marks(1, 1), 0);
}

TEST_F(FocusFrameReading, FocusColoursFillTheFramedCell) {
    Grid->SetCellValue(1, 1, "WWW");
    Grid->SetFocusBorder(fbNone);
    Grid->SetFocusColor(clYellow);
    Grid->SetFocusFontColor(clBlue);
    Browse();
    const TRect R = Grid->CellRect(1, 1);
    EXPECT_EQ(Px(R.Right - 3, R.Bottom - 3), clYellow);
    int Blue = 0;
    for (int X = R.Left; X < R.Right; ++X)
        for (int Y = R.Top; Y < R.Bottom; ++Y) {
            // Blue text, its smoothed edges included.
            const int P = Px(X, Y), Red = P & 0xFF, Green = (P >> 8) & 0xFF, B = (P >> 16) & 0xFF;
            Blue += B > Red + 0x40 && B > Green + 0x40;
        }
    EXPECT_GT(Blue, 5);
    // Another cell keeps the grid colour.
    const TRect R2 = Grid->CellRect(2, 1);
    EXPECT_EQ(Px(R2.Right - 3, R2.Bottom - 3), Back());
    // Moving on takes the colour along.
    Press(Qt::Key_Down);
    Grid->Update();
    EXPECT_EQ(Px(R.Right - 3, R.Bottom - 3), Back());
    const TRect R3 = Grid->CellRect(1, 2);
    EXPECT_EQ(Px(R3.Right - 3, R3.Bottom - 3), clYellow);
}

TEST_F(FocusFrameReading, FrameFollowsTheCurrentCell) {
    Grid->SetFocusBorder(fbSingle);
    Grid->SetFocusBorderColor(clRed);
    Browse();
    const TRect R1 = Grid->CellRect(1, 1);
    EXPECT_EQ(Px(R1.Left + 1, R1.Top + 4), clRed);
    Press(Qt::Key_Right);
    Grid->Update();
    const TRect R2 = Grid->CellRect(2, 1);
    EXPECT_EQ(Px(R1.Left + 1, R1.Top + 4), Back());
    EXPECT_EQ(Px(R1.Right - 1, R1.Top + 4), Back());
    EXPECT_EQ(Px(R2.Left + 1, R2.Top + 4), clRed);
    Press(Qt::Key_Down);
    Grid->Update();
    const TRect R3 = Grid->CellRect(2, 2);
    EXPECT_EQ(Px(R2.Left + 1, R2.Top + 4), Back());
    EXPECT_EQ(Px((R2.Left + R2.Right) / 2, R2.Bottom - 1), Back());
    EXPECT_EQ(Px(R3.Left + 1, R3.Top + 4), clRed);
}

TEST_F(FocusFrameReading, FrameLeavesWithTheFocusUnlessAlwaysShown) {
    Grid->SetFocusBorder(fbSingle);
    Grid->SetFocusBorderColor(clRed);
    Browse();
    auto* Other = new TEdit(Form);
    Other->SetParent(Form);
    Other->SetBounds(450, 10, 80, 20);
    const TRect R = Grid->CellRect(1, 1);
    ASSERT_EQ(Px(R.Left + 1, R.Top + 4), clRed);
    Other->SetFocus();
    QApplication::processEvents();
    Grid->Update();
    ASSERT_FALSE(Grid->Focused());
    EXPECT_FALSE(Grid->DisplayFocusRect(1, 1));
    EXPECT_EQ(Px(R.Left + 1, R.Top + 4), Back());
    Grid->SetFocus();
    QApplication::processEvents();
    Grid->Update();
    EXPECT_EQ(Px(R.Left + 1, R.Top + 4), clRed);
    Grid->SetAlwaysShowFocus(true);
    Other->SetFocus();
    QApplication::processEvents();
    Grid->Update();
    EXPECT_TRUE(Grid->DisplayFocusRect(1, 1));
    EXPECT_EQ(Px(R.Left + 1, R.Top + 4), clRed);
}

TEST_F(FocusFrameReading, FrameGoesWhileASelectionIsActiveAndComesBack) {
    Grid->SetFocusBorder(fbSingle);
    Grid->SetFocusBorderColor(clRed);
    Browse();
    const TRect R = Grid->CellRect(1, 1);
    ASSERT_EQ(Px(R.Left + 1, R.Top + 4), clRed);
    Grid->SelectRows(3, 4, true);
    Grid->Update();
    EXPECT_NE(Px(R.Left + 1, R.Top + 4), clRed);
    Grid->ResetSelection();
    Grid->Update();
    EXPECT_EQ(Px(R.Left + 1, R.Top + 4), clRed);
}

TEST_F(FocusFrameReading, ListBoxGridDrawsNoFrame) {
    Grid->SetFocusBorder(fbSingle);
    Grid->SetFocusBorderColor(clRed);
    Grid->SetGridMode(gmListBox);
    GoTo(2, 2);
    Grid->Invalidate();
    Grid->Update();
    const TRect C = Grid->ClientRect();
    int Red = 0;
    for (int X = 0; X < C.Right; ++X)
        for (int Y = 0; Y < C.Bottom; ++Y) Red += Px(X, Y) == clRed;
    EXPECT_EQ(Red, 0);
}

// A value written into a selected cell that the grid does not keep is drawn
// at once, still inverted, just as a paint of the kept value shows it.
TEST_F(FocusFrameReading, ValueDrawnIntoASelectedCellKeepsItsInversion) {
    Browse();
    Grid->SelectRows(3, 3, true);
    Grid->Update();
    const TRect R = Grid->CellRect(2, 3);
    auto Cell = [&] {
        std::vector<TColor> P;
        for (int X = R.Left; X < R.Right; ++X)
            for (int Y = R.Top; Y < R.Bottom; ++Y) P.push_back(Px(X, Y));
        return P;
    };
    Grid->SetStoreData(false);
    Grid->SetCellValue(2, 3, "Value");
    const std::vector<TColor> Drawn = Cell();
    Grid->SetStoreData(true);
    Grid->SetCellValue(2, 3, "Value");
    Grid->Invalidate();
    Grid->Update();
    ASSERT_NE(Px(R.Right - 2, R.Bottom - 2), Back());
    EXPECT_EQ(Drawn, Cell());
}

TEST_F(FocusFrameReading, InEditModeTheFrameShowsWhereNoInPlaceControlIsActive) {
    struct Case {
        TgxControlType Type;
        bool ReadOnly;
        bool Frame;
    } Cases[] = {{ctText, false, false}, {ctCheck, false, false}, {ctText, true, true},
                 {ctCheck, true, true},  {ctNone, false, false}};
    int Col = 0;
    Grid->SetGridColCount(6);
    for (const Case& C : Cases) {
        ++Col;
        Grid->GetCol(Col)->SetControlType(C.Type);
        Grid->GetCol(Col)->SetReadOnly(C.ReadOnly);
        GoTo(Col, 2);
        ASSERT_EQ(Grid->GetCurrentDataCol(), Col);
        EXPECT_EQ(Grid->DisplayFocusRect(Grid->Col(), Grid->Row()), C.Frame)
            << int(C.Type) << " read-only " << C.ReadOnly;
        // Shown always, the frame still leaves the cell to its control.
        Grid->SetAlwaysShowFocus(true);
        EXPECT_EQ(Grid->DisplayFocusRect(Grid->Col(), Grid->Row()), C.Frame)
            << int(C.Type) << " read-only " << C.ReadOnly << " always";
        Grid->SetAlwaysShowFocus(false);
    }
}

TEST_F(FocusFrameReading, ClearingAndRedrawingTheCurrentFrame) {
    Grid->SetFocusBorder(fbSingle);
    Grid->SetFocusBorderColor(clRed);
    Browse();
    const TRect R = Grid->CellRect(1, 1);
    ASSERT_EQ(Px(R.Left + 1, R.Top + 4), clRed);
    Grid->ClearCurrentFocusRect(true);
    EXPECT_EQ(Px(R.Left + 1, R.Top + 4), Back());
    EXPECT_FALSE(Grid->GetFocusRectDisabled());
    Grid->DrawCurrentFocusRect(true);
    EXPECT_EQ(Px(R.Left + 1, R.Top + 4), clRed);
}

TEST_F(FocusFrameReading, AClickMovesTheFrame) {
    Grid->SetFocusBorder(fbSingle);
    Grid->SetFocusBorderColor(clRed);
    Browse();
    const TRect R1 = Grid->CellRect(1, 1);
    const TRect R2 = Grid->CellRect(2, 3);
    ClickAt(Grid->Widget(), QPoint((R2.Left + R2.Right) / 2, (R2.Top + R2.Bottom) / 2));
    QApplication::processEvents();
    Grid->Update();
    ASSERT_EQ(Grid->GetCurrentDataCol(), 2);
    ASSERT_EQ(Grid->GetCurrentDataRow(), 3);
    EXPECT_EQ(Px(R1.Left + 1, R1.Top + 4), Back());
    EXPECT_EQ(Px(R2.Left + 1, R2.Top + 4), clRed);
}

// Each setter repaints the frame it changes.
TEST_F(FocusFrameReading, SettersRepaintTheFrame) {
    Grid->SetFocusBorder(fbSingle);
    Grid->SetFocusBorderColor(clRed);
    Browse();
    auto* Other = new TEdit(Form);
    Other->SetParent(Form);
    Other->SetBounds(450, 10, 80, 20);
    const TRect R = Grid->CellRect(1, 1);
    const TPoint Outer{R.Left + 1, R.Top + 4}, Inner{R.Left + 2, R.Top + 4};
    struct Step {
        const char* What;
        std::function<void()> Change;
        TColor AtOuter, AtInner;
    } Steps[] = {
        {"colour", [&] { Grid->SetFocusBorderColor(clBlue); }, clBlue, Back()},
        {"double", [&] { Grid->SetFocusBorder(fbDouble); }, clBlue, clBlue},
        {"single", [&] { Grid->SetFocusBorder(fbSingle); }, clBlue, Back()},
        {"focus away",
         [&] {
             Other->SetFocus();
             QApplication::processEvents();
         },
         Back(), Back()},
        {"always shown", [&] { Grid->SetAlwaysShowFocus(true); }, clBlue, Back()},
        {"not always", [&] { Grid->SetAlwaysShowFocus(false); }, Back(), Back()},
        {"focus back",
         [&] {
             Grid->SetFocus();
             QApplication::processEvents();
         },
         clBlue, Back()},
        {"none", [&] { Grid->SetFocusBorder(fbNone); }, Back(), Back()},
    };
    for (const Step& S : Steps) {
        S.Change();
        Grid->Update();
        EXPECT_EQ(Px(Outer.X, Outer.Y), S.AtOuter) << S.What;
        EXPECT_EQ(Px(Inner.X, Inner.Y), S.AtInner) << S.What;
    }
}

// After each step the grid's image is what a fresh paint of it gives: the
// frame leaves no trace where it was and is whole where it is.
TEST_F(FocusFrameReading, FrameStepsLeaveTheImageAsAFreshPaint) {
    Grid->SetGridRowCount(40);
    for (int R = 1; R <= 40; ++R) Grid->SetCellValue(1 + R % 2 * 3, R, "v" + IntToStr(R));
    // Pictures in the third column, which the focus colour goes over.
    Grid->GetCol(3)->SetControlType(ctPicture);
    TBitmap Pic;
    Pic.SetSize(8, 8);
    Pic.Canvas()->Brush()->SetColor(clRed);
    Pic.Canvas()->FillRect(Rect(0, 0, 8, 8));
    for (int R = 1; R <= 40; R += 2) Grid->SetCellValue(3, R, BitmapToVariant(&Pic));
    auto* Other = new TEdit(Form);
    Other->SetParent(Form);
    Other->SetBounds(450, 10, 80, 20);
    struct Step {
        const char* What;
        std::function<void()> Act;
    } Steps[] = {
        {"down", [&] { Press(Qt::Key_Down); }},
        {"right", [&] { Press(Qt::Key_Right); }},
        {"onto a picture", [&] { Press(Qt::Key_Right); }},
        {"next picture", [&] { Press(Qt::Key_Down); }},
        {"page down", [&] { Press(Qt::Key_PageDown); }},
        {"page up", [&] { Press(Qt::Key_PageUp); }},
        {"scrolled away", [&] { Grid->SetTopRow(20); }},
        {"scrolled back", [&] { Grid->SetTopRow(1); }},
        {"focus away",
         [&] {
             Other->SetFocus();
             QApplication::processEvents();
         }},
        {"focus back",
         [&] {
             Grid->SetFocus();
             QApplication::processEvents();
         }},
        {"rows selected", [&] { Grid->SelectRows(2, 3, true); }},
        {"selection gone", [&] { Grid->ResetSelection(); }},
        {"end", [&] { Press(Qt::Key_End, Qt::ControlModifier); }},
        {"home", [&] { Press(Qt::Key_Home, Qt::ControlModifier); }},
    };
    for (TgxFocusBorder Border : {fbDot, fbSingle, fbDouble, fbDash}) {
        Grid->SetFocusBorder(Border);
        Grid->SetFocusBorderColor(clRed);
        Grid->SetFocusColor(Border == fbDot ? clNone : clYellow);
        Browse();
        Grid->Invalidate();
        Grid->Update();
        for (const Step& S : Steps) {
            S.Act();
            Grid->Update();
            TBitmap Shot;
            Shot.SetSize(Grid->Width(), Grid->Height());
            Grid->PaintTo(Shot.Canvas());
            const int F = Grid->WindowFrameWidth();
            const TRect C = Grid->ClientRect();
            int Differ = 0, FirstX = -1, FirstY = -1;
            for (int X = 0; X < C.Right; ++X)
                for (int Y = 0; Y < C.Bottom; ++Y)
                    if (Px(X, Y) != Shot.Canvas()->Pixels(X + F, Y + F) && Differ++ == 0) {
                        FirstX = X;
                        FirstY = Y;
                    }
            EXPECT_EQ(Differ, 0) << int(Border) << " " << S.What << " first at " << FirstX << ","
                                 << FirstY;
        }
    }
}

} // namespace
