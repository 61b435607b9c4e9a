// How one cell is painted: its background by selection and focus, its text,
// check box or picture, the application's paint and draw-info hooks, and the
// fixed cells' lines. Read off the grid's own image.
#include "GridEditFixture.h"
#include "grid/model/CellButtons.h"
#include "grid/model/DrawData.h"
#include "grid/model/InplaceControl.h"
#include "grid/foundation/GridCommonVariant.h"
#include "platform/gui/Colors.h"

#include <functional>
#include <vector>

using namespace grid;

namespace {

// An 8 x 8 picture all in red.
void FillRed(TBitmap& Pic) {
    Pic.SetSize(8, 8);
    Pic.Canvas()->Brush()->SetColor(clRed);
    Pic.Canvas()->FillRect(Rect(0, 0, 8, 8));
}

class CellPaintingReading : public GridEditFixture {
protected:
    void SetUp() override {
        GridEditFixture::SetUp();
        Grid->SetGridMode(gmBrowse);
        Grid->SetFocusBorder(fbNone);
        GoTo(1, 1);
    }
    TColor Px(int X, int Y) { return Grid->Canvas()->Pixels(X, Y); }
    TColor Back() { return ColorToRGB(Grid->Color()); }
    TRect Cell(int DataCol, int DataRow) {
        return Grid->CellRect(Grid->GetDisplayCol(DataCol), Grid->GetDisplayRow(DataRow));
    }
    void Repaint() {
        Grid->Invalidate();
        Grid->Update();
    }
    // Pixels of a colour inside a rectangle, and the leftmost column holding one.
    int Count(const TRect& R, TColor C, int* Leftmost = nullptr) {
        int N = 0;
        if (Leftmost) *Leftmost = -1;
        for (int X = R.Left; X < R.Right; ++X)
            for (int Y = R.Top; Y < R.Bottom; ++Y)
                if (Px(X, Y) == C) {
                    ++N;
                    if (Leftmost && *Leftmost < 0) *Leftmost = X;
                }
        return N;
    }
    // Pixels of text drawn in red (smoothed edges included).
    int Reddish(const TRect& R) {
        int N = 0;
        for (int X = R.Left; X < R.Right; ++X)
            for (int Y = R.Top; Y < R.Bottom; ++Y) {
                const TColor C = Px(X, Y);
                N += (C & 0xFF) > 0xA0 && ((C >> 8) & 0xFF) < 0x60 && ((C >> 16) & 0xFF) < 0x60;
            }
        return N;
    }
    // Pixels that are not the colour.
    int Ink(const TRect& R, TColor Background) {
        int N = 0;
        for (int X = R.Left; X < R.Right; ++X)
            for (int Y = R.Top; Y < R.Bottom; ++Y) N += Px(X, Y) != Background;
        return N;
    }
};

TEST_F(CellPaintingReading, TextIsDrawnThreePixelsInAndAlignedAsAsked) {
    Grid->GetCol(2)->SetWidth(120);
    Grid->SetCellValue(2, 2, "Wide");
    struct Case {
        TgxHorzAlignment Align;
        int MinLeft, MaxLeft; // of the first ink, relative to the cell's left
    } Cases[] = {{htaLeft, 3, 5}, {htaCenter, 40, 70}, {htaRight, 80, 117}};
    for (const Case& C : Cases) {
        Grid->GetCol(2)->SetHorzAlignment(C.Align);
        Repaint();
        const TRect R = Cell(2, 2);
        int Left = -1;
        for (int X = R.Left; X < R.Right && Left < 0; ++X)
            for (int Y = R.Top; Y < R.Bottom; ++Y)
                if (Px(X, Y) != Back()) {
                    Left = X - R.Left;
                    break;
                }
        EXPECT_GE(Left, C.MinLeft) << int(C.Align);
        EXPECT_LE(Left, C.MaxLeft) << int(C.Align);
    }
}

TEST_F(CellPaintingReading, DrawInfoHandlerChangesTheLooksAndDefaultAlignsLeft) {
    Grid->GetCol(2)->SetWidth(120);
    Grid->GetCol(2)->SetHorzAlignment(htaRight);
    Grid->SetCellValue(2, 2, "Wide");
    bool AskedForFixed = false;
    Grid->OnGetDrawInfo = [&](TObject*, int C, int R, TgxDrawInfo& Info) {
        AskedForFixed = AskedForFixed || C < 1 || R < 1;
        if (C != 2 || R != 2) return;
        Info.HorzAlignment = htaDefault;
        Info.Color = clYellow;
        Info.Font->SetColor(clRed);
    };
    Repaint();
    const TRect R = Cell(2, 2);
    EXPECT_GT(Reddish(R), 5);
    int Left = -1;
    for (int X = R.Left; X < R.Right && Left < 0; ++X)
        for (int Y = R.Top; Y < R.Bottom; ++Y)
            if (Px(X, Y) != clYellow) {
                Left = X;
                break;
            }
    EXPECT_LE(Left - R.Left, 6);
    EXPECT_GT(Count(R, clYellow), (R.Right - R.Left) * (R.Bottom - R.Top) / 2);
    // The grid's own font is untouched, other cells keep their looks.
    EXPECT_NE(Grid->Font()->Color(), clRed);
    EXPECT_EQ(Count(Cell(2, 3), clYellow), 0);
    // Only data cells are asked.
    EXPECT_FALSE(AskedForFixed);
}

TEST_F(CellPaintingReading, PaintCellHandlerSeesTheCellAndMayCancelIt) {
    Grid->SetCellValue(2, 2, "Text");
    Grid->SetCellValue(2, 3, "Text");
    struct Seen {
        int Col, Row;
        TRect Rect;
        TgxPaintCellState State;
    };
    std::vector<Seen> Log;
    Grid->OnPaintCell = [&](TObject*, int C, int R, TRect Rect, TgxPaintCellState S,
                            bool& Cancel) {
        Log.push_back({C, R, Rect, S});
        // The application paints row 2 itself, in the brush it is handed.
        Cancel = R == 2;
        if (Cancel) Grid->Canvas()->FillRect(Rect);
    };
    GoTo(2, 3);
    Grid->SelectRows(2, 2, true);
    Repaint();
    const TRect R2 = Cell(2, 2), R3 = Cell(2, 3);
    // Cancelled: no text, but a selected cell is still inverted.
    EXPECT_EQ(Ink(R2, 0), 0) << "selected, cancelled cell is inverted and without text";
    EXPECT_GT(Ink(R3, Back()), 0);
    bool SawCurrent = false, SawSelected = false, SawFixed = false;
    for (const Seen& S : Log) {
        if (S.Col == 2 && S.Row == 3) {
            SawCurrent = S.State.Contains(psCurrent);
            EXPECT_EQ(S.Rect.Left, R3.Left);
            EXPECT_EQ(S.Rect.Top, R3.Top);
        }
        if (S.Col == 2 && S.Row == 2) SawSelected = S.State.Contains(psSelected);
        if (S.Row == 0 && S.Col == 2) SawFixed = S.State.Contains(psFixed);
    }
    EXPECT_TRUE(SawCurrent);
    EXPECT_TRUE(SawSelected);
    EXPECT_TRUE(SawFixed);
}

TEST_F(CellPaintingReading, CancelledCurrentCellStillGetsItsFrame) {
    Grid->SetFocusBorder(fbSingle);
    Grid->SetFocusBorderColor(clRed);
    Grid->OnPaintCell = [](TObject*, int, int, TRect, TgxPaintCellState, bool& Cancel) {
        Cancel = true;
    };
    Repaint();
    const TRect R = Cell(1, 1);
    EXPECT_EQ(Px(R.Left + 1, (R.Top + R.Bottom) / 2), clRed);
}

TEST_F(CellPaintingReading, SelectedCellsAreColouredOrInverted) {
    Grid->SetCellValue(2, 2, "Text");
    Grid->SelectRows(2, 2, true);
    struct Case {
        TgxSelectionType Type;
        TColor Color, FontColor;
        bool Coloured;
    } Cases[] = {{sltColor, clNone, clNone, false},
                 {sltInvert, clLime, clRed, false},
                 {sltColor, clLime, clRed, true},
                 {sltDefault, clLime, clRed, false}};
    for (const Case& C : Cases) {
        Grid->SetSelectionType(C.Type);
        Grid->SetSelectionColor(C.Color);
        Grid->SetSelectionFontColor(C.FontColor);
        Repaint();
        EXPECT_EQ(Grid->SelectionColorEnabled(), C.Coloured) << int(C.Type);
        const TRect R = Cell(2, 2);
        const TColor Corner = Px(R.Right - 2, R.Bottom - 2);
        if (C.Coloured) {
            EXPECT_EQ(Corner, clLime);
            EXPECT_GT(Reddish(R), 5);
        } else {
            EXPECT_EQ(Corner, 0x000000) << int(C.Type);
        }
    }
}

TEST_F(CellPaintingReading, ChangingTheSelectionLookRepaintsTheSelection) {
    Grid->SelectRows(2, 2, true);
    Grid->Update();
    const TRect R = Cell(2, 2);
    ASSERT_EQ(Px(R.Right - 2, R.Bottom - 2), 0x000000);
    Grid->SetSelectionColor(clLime);
    Grid->SetSelectionType(sltColor);
    Grid->Update();
    EXPECT_EQ(Px(R.Right - 2, R.Bottom - 2), clLime);
    Grid->SetSelectionColor(clAqua);
    Grid->Update();
    EXPECT_EQ(Px(R.Right - 2, R.Bottom - 2), clAqua);
}

TEST_F(CellPaintingReading, EmptyCellsByKind) {
    // An empty check cell shows the grayed box, an empty text or picture
    // cell only its background.
    Grid->GetCol(2)->SetControlType(ctCheck);
    Grid->GetCol(3)->SetControlType(ctPicture);
    Repaint();
    EXPECT_GT(Ink(Cell(2, 2), Back()), 20);
    EXPECT_EQ(Ink(Cell(3, 2), Back()), 0);
    EXPECT_EQ(Ink(Cell(4, 2), Back()), 0);
    // The empty check box is the grayed one.
    Grid->SetCellValue(2, 3, 2);
    Repaint();
    const TRect E = Cell(2, 2), G = Cell(2, 3);
    for (int X = 0; X < E.Right - E.Left; ++X)
        for (int Y = 0; Y < E.Bottom - E.Top; ++Y)
            ASSERT_EQ(Px(E.Left + X, E.Top + Y), Px(G.Left + X, G.Top + Y)) << X << "," << Y;
}

TEST_F(CellPaintingReading, ValueLeftUnassignedByCellLoadedPaintsEmpty) {
    Grid->SetStoreData(false);
    Grid->OnCellLoaded = [](TObject*, int C, int R, Variant& V) {
        if (C == 2 && R == 2) V = Variant("Shown");
    };
    Repaint();
    EXPECT_GT(Ink(Cell(2, 2), Back()), 0);
    EXPECT_EQ(Ink(Cell(2, 3), Back()), 0);
    EXPECT_EQ(Ink(Cell(3, 3), Back()), 0);
}

TEST_F(CellPaintingReading, NarrowTextAreaGetsOnlyItsStrip) {
    Grid->SetCellValue(2, 2, "WWWW");
    Grid->GetCol(2)->SetWidth(4);
    Grid->SetSelectionType(sltColor);
    Grid->SetSelectionColor(clLime);
    Grid->SelectRows(2, 2, true);
    Repaint();
    const TRect R = Cell(2, 2);
    ASSERT_EQ(R.Right - R.Left, 3);
    EXPECT_EQ(Count(R, clLime), 3 * (R.Bottom - R.Top));
}

TEST_F(CellPaintingReading, FixedLinesAreGrayWithRaisedHeadingsElseBlack) {
    struct Case {
        bool Heading3D;
        TColor Line;
    } Cases[] = {{true, clGray}, {false, clBlack}};
    for (const Case& C : Cases) {
        Grid->SetHeading3D(C.Heading3D);
        Repaint();
        const TRect H = Grid->CellRect(2, 0);
        // The heading's bottom line and its right line.
        EXPECT_EQ(Px((H.Left + H.Right) / 2, H.Bottom), C.Line) << C.Heading3D;
        EXPECT_EQ(Px(H.Right, (H.Top + H.Bottom) / 2), C.Line) << C.Heading3D;
        // Raised: a white edge at the top-left inside.
        if (C.Heading3D) EXPECT_EQ(Px((H.Left + H.Right) / 2, H.Top), clWhite);
        const TRect B = Grid->CellRect(0, 2);
        EXPECT_EQ(Px(B.Right, (B.Top + B.Bottom) / 2), C.Line) << C.Heading3D;
    }
}

TEST_F(CellPaintingReading, RaisedCellGetsAnEdgeAtItsTopAndLeft) {
    Grid->GetCol(2)->SetIs3D(true);
    Grid->SetCellValue(2, 2, "x");
    Repaint();
    const TRect R = Cell(2, 2);
    EXPECT_EQ(Px((R.Left + R.Right) / 2, R.Top), clWhite);
    EXPECT_EQ(Px(R.Left, (R.Top + R.Bottom) / 2), clWhite);
}

TEST_F(CellPaintingReading, CheckBoxSitsInTheMiddleOfItsCell) {
    Grid->GetCol(2)->SetControlType(ctCheck);
    Grid->GetCol(2)->SetWidth(80);
    Grid->SetRowHeight(2, 30);
    TBitmap B;
    B.SetSize(11, 11);
    B.Canvas()->Brush()->SetColor(clRed);
    B.Canvas()->FillRect(Rect(0, 0, 11, 11));
    Grid->SetCheckBoxOnBitmap(&B);
    Grid->SetCellValue(2, 2, 1);
    for (bool Raised : {false, true}) {
        Grid->GetCol(2)->SetIs3D(Raised);
        Repaint();
        const TRect C = Cell(2, 2);
        int Left = -1;
        ASSERT_EQ(Count(C, clRed, &Left), 121) << Raised;
        int Top = -1;
        for (int Y = C.Top; Y < C.Bottom && Top < 0; ++Y)
            if (Px(Left, Y) == clRed) Top = Y;
        const int W = C.Right - C.Left, H = C.Bottom - C.Top;
        EXPECT_EQ(Left, std::max(C.Left + 3 + (W - 3 - 11) / 2 - 1, C.Left + 3)) << Raised;
        EXPECT_EQ(Top, std::max(C.Top + (H - 11) / 2 + (Raised ? 1 : 0), C.Top)) << Raised;
    }
}

TEST_F(CellPaintingReading, ButtonTakesTheRightOfTheCell) {
    Grid->GetCol(2)->SetWidth(100);
    Grid->GetCol(2)->SetButtonType(btNormal);
    Grid->GetCol(2)->SetHorzAlignment(htaRight);
    Grid->SetCellValue(2, 2, "Wide");
    Repaint();
    const TRect R = Cell(2, 2);
    // The text (in red) ends left of the button.
    const int Button = Grid->GridCellButton(2, btNormal)->FullWidth();
    Grid->Font()->SetColor(clRed);
    Repaint();
    const TRect Text = Rect(R.Left, R.Top, R.Right - Button, R.Bottom);
    const TRect Room = Rect(R.Right - Button, R.Top, R.Right, R.Bottom);
    EXPECT_GT(Reddish(Text), 5);
    EXPECT_EQ(Reddish(Room), 0);
    int RightInk = -1;
    for (int X = R.Left; X < R.Right; ++X)
        for (int Y = R.Top; Y < R.Bottom; ++Y)
            if (Px(X, Y) != Back() && X < R.Right - Button) RightInk = X;
    EXPECT_GT(RightInk, R.Right - Button - 10);
}

// A selected or focused picture is not filled with its colour: the colour
// goes over it as a checkered overlay.
TEST_F(CellPaintingReading, ColouredPictureCellsGetACheckeredOverlay) {
    Grid->GetCol(2)->SetControlType(ctPicture);
    Grid->SetStretchPicture(true);
    Grid->SetKeepAspectRatio(false);
    TBitmap Pic;
    FillRed(Pic);
    Grid->SetCellValue(2, 2, BitmapToVariant(&Pic));
    Grid->SetCellValue(2, 4, BitmapToVariant(&Pic));
    Grid->SetSelectionType(sltColor);
    Grid->SetSelectionColor(clLime);
    Grid->SetFocusColor(clAqua);
    Grid->SelectRows(2, 3, true);
    Repaint();
    struct Case {
        int Row;
        TColor Under, Over;
    } Cases[] = {{2, clRed, clLime}, {3, Back(), clLime}};
    for (const Case& C : Cases) {
        const TRect R = Cell(2, C.Row);
        int Under = 0, Over = 0, Other = 0;
        for (int X = R.Left + 1; X < R.Right - 1; ++X)
            for (int Y = R.Top + 1; Y < R.Bottom - 1; ++Y) {
                const TColor P = Px(X, Y);
                if (P == C.Under)
                    ++Under;
                else if (P == C.Over)
                    ++Over;
                else
                    ++Other;
                // Neighbours differ: a checker, not a fill.
                if (X > R.Left + 1) ASSERT_NE(P, Px(X - 1, Y)) << C.Row << ": " << X << "," << Y;
            }
        EXPECT_GT(Under, 50) << C.Row;
        EXPECT_GT(Over, 50) << C.Row;
        EXPECT_EQ(Other, 0) << C.Row;
    }
    // The focus colour over the current picture cell, once the selection is gone.
    Grid->ResetSelection();
    GoTo(2, 4);
    Grid->SetFocusBorder(fbNone);
    Repaint();
    ASSERT_TRUE(Grid->DisplayFocusRect(Grid->Col(), Grid->Row()));
    const TRect R = Cell(2, 4);
    EXPECT_GT(Count(R, clAqua), 50);
    EXPECT_GT(Count(R, clRed), 50);
}

TEST_F(CellPaintingReading, EditColoursGoToTheEditedCell) {
    Grid->SetGridMode(gmEdit);
    Grid->SetEditColor(clYellow);
    Grid->SetEditFontColor(clRed);
    Grid->SetCellValue(2, 2, "Text");
    GoTo(2, 2);
    ASSERT_NE(Grid->GridControl(), nullptr);
    EXPECT_EQ(Grid->GridControl()->GetColor(), clYellow);
    EXPECT_EQ(Grid->GridControl()->GetFont()->Color(), clRed);
    // Not the grid's own font, nor another cell.
    EXPECT_NE(Grid->Font()->Color(), clRed);
    Repaint();
    EXPECT_EQ(Count(Cell(3, 2), clYellow), 0);
}

TEST_F(CellPaintingReading, WrappedTextTakesMoreLines) {
    Grid->SetCellValue(2, 2, "one two three four");
    Grid->GetCol(2)->SetWidth(60);
    Grid->SetRowHeight(2, 60);
    auto InkRows = [&] {
        const TRect R = Cell(2, 2);
        int Rows = 0;
        for (int Y = R.Top; Y < R.Bottom; ++Y) {
            bool Any = false;
            for (int X = R.Left; X < R.Right && !Any; ++X) Any = Px(X, Y) != Back();
            Rows += Any;
        }
        return Rows;
    };
    Grid->GetCol(2)->SetWordWrap(uiOff);
    Repaint();
    const int One = InkRows();
    Grid->GetCol(2)->SetWordWrap(uiOn);
    Repaint();
    EXPECT_GT(InkRows(), One + 5);
}

TEST_F(CellPaintingReading, VerticalAlignmentPlacesTheText) {
    Grid->SetCellValue(2, 2, "Text");
    Grid->SetRowHeight(2, 60);
    struct Case {
        TgxVertAlignment Align;
        int MinTop, MaxTop; // of the first ink row, relative to the cell's top
    } Cases[] = {{vtaTop, 0, 6}, {vtaCenter, 18, 30}, {vtaBottom, 38, 52}};
    for (const Case& C : Cases) {
        Grid->GetCol(2)->SetVertAlignment(C.Align);
        Repaint();
        const TRect R = Cell(2, 2);
        int Top = -1;
        for (int Y = R.Top; Y < R.Bottom && Top < 0; ++Y)
            for (int X = R.Left; X < R.Right; ++X)
                if (Px(X, Y) != Back()) {
                    Top = Y - R.Top;
                    break;
                }
        EXPECT_GE(Top, C.MinTop) << int(C.Align);
        EXPECT_LE(Top, C.MaxTop) << int(C.Align);
    }
}

TEST_F(CellPaintingReading, InsertionRowIsPaintedEmpty) {
    Grid->SetStoreData(false);
    Grid->OnCellLoaded = [](TObject*, int, int, Variant& V) { V = Variant("Shown"); };
    Grid->SetGridMode(gmEditInsert);
    GoTo(1, 1);
    Repaint();
    const int Last = Grid->RowCount() - 1;
    ASSERT_TRUE(Grid->IsInsertRow(Last));
    const TRect R = Grid->CellRect(2, Last);
    const TRect Above = Grid->CellRect(2, Last - 1);
    EXPECT_GT(Ink(Above, Back()), 0);
    // No value, and the looks of an empty data cell, not of a heading.
    EXPECT_EQ(Ink(R, Back()), 0);
}

// Tiny cells of every kind, with and without buttons, paint and take the
// mouse without harm; a cell's content stays inside it.
TEST_F(CellPaintingReading, TinyCellsOfEveryKindPaintInsideThemselves) {
    Grid->SetGridColCount(8);
    Grid->SetAlwaysDetectButton(true);
    const TgxButtonType Buttons[] = {btNone, btCombo, btNormal, btVertSpin, btHorzSpin};
    const TgxControlType Types[] = {ctText, ctCheck, ctPicture};
    TBitmap Pic;
    FillRed(Pic);
    for (int C = 1; C <= 8; ++C) {
        Grid->GetCol(C)->SetControlType(Types[C % 3]);
        Grid->GetCol(C)->SetButtonType(Buttons[C % 5]);
        Grid->GetCol(C)->SetIs3D(C % 2 == 0);
        for (int R = 1; R <= 5; ++R)
            Grid->SetCellValue(C, R,
                               Types[C % 3] == ctText      ? Variant("text")
                               : Types[C % 3] == ctCheck   ? Variant(R % 3)
                                                           : BitmapToVariant(&Pic));
    }
    QWidget* W = Grid->Widget();
    for (int Size : {1, 2, 3, 4, 5, 8, 12}) {
        for (int C = 1; C <= 8; ++C) Grid->GetCol(C)->SetWidth(Size + C % 3);
        for (int R = 1; R <= 5; ++R) Grid->SetRowHeight(R, Size + R % 2);
        Grid->SetCellValue(1, 1, "marker");
        Repaint();
        // The column right of the last one is untouched grid background.
        const int Right = Grid->CalcColOffset(8) + Grid->ColWidths(8);
        for (int Y = Grid->FixedHeight(); Y < Grid->FixedHeight() + 20; ++Y)
            EXPECT_EQ(Px(Right + 1, Y), Px(Right + 2, Y)) << Size;
        for (int C = 1; C <= 8; ++C)
            for (int R = 1; R <= 3; ++R) {
                const TRect Cell = Grid->CellRect(C, R);
                const QPoint At((Cell.Left + Cell.Right) / 2, (Cell.Top + Cell.Bottom) / 2);
                SendMouse(W, QEvent::MouseMove, At, Qt::NoButton);
                SendMouse(W, QEvent::MouseButtonPress, At);
                SendMouse(W, QEvent::MouseButtonRelease, At);
            }
        QApplication::processEvents();
        Grid->Update();
    }
}

// A bare transparent bitmap hands its colour to the grid, which then
// draws it transparent with that colour: the red ground of the picture
// lets the cell's colour through, its blue square does not.
TEST_F(CellPaintingReading, TransparentBitmapGivesTheGridItsColour) {
    Grid->GetCol(2)->SetControlType(ctPicture);
    Grid->SetStretchPicture(true);
    Grid->SetKeepAspectRatio(false);
    TBitmap Pic;
    FillRed(Pic);
    Pic.Canvas()->Brush()->SetColor(clBlue);
    Pic.Canvas()->FillRect(Rect(2, 2, 6, 6));
    Pic.SetTransparentColor(clRed);
    Pic.SetTransparent(true);
    Grid->SetCellValue(2, 2, BitmapToVariant(&Pic));
    ASSERT_NE(Grid->TransparentColor(), clRed);
    Repaint();
    EXPECT_EQ(Grid->TransparentColor(), clRed);
    const TRect R = Cell(2, 2);
    int Red = 0, Blue = 0;
    for (int X = R.Left + 1; X < R.Right - 1; ++X)
        for (int Y = R.Top + 1; Y < R.Bottom - 1; ++Y) {
            Red += Px(X, Y) == clRed;
            Blue += Px(X, Y) == clBlue;
        }
    EXPECT_EQ(Red, 0);
    EXPECT_GT(Blue, 0);
}

} // namespace
