// What a browse-mode grid of 6 x 100,000 paints, checked with pixel probes
// on its backing image: frozen and hidden columns, a coloured row, a
// wrapped heading, a picture cell, the scaled scroll bar, page-downs, the
// thumb tracked to the end and the focus frame on the last row.
#include "grid/foundation/GridCommonVariant.h"
#include "grid/model/Columns.h"
#include "grid/model/GxGrid.h"
#include "grid/tests/GridShot.h"
#include "grid/model/DrawData.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Messages.h"
#include "platform/gui/QtApp.h"
#include "platform/gui/WindowScroll.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

using namespace grid;

namespace {

constexpr int RowTotal = 100000;

class GridPaint : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        Form = new TForm(nullptr);
        Form->SetBounds(10, 10, 640, 420);
        Grid = new TgxGrid(Form);
        Grid->SetParent(Form);
        Grid->SetBounds(0, 0, 520, 320);
        Form->Show();
        Grid->SetGridMode(gmBrowse);
        Grid->SetStoreData(true);
        Grid->SetGridColCount(6);
        Grid->SetGridRowCount(RowTotal);
        Grid->SetColor(clWhite);
        Grid->SetLineColor(clSilver);
        for (int C = 1; C <= 6; ++C)
            Grid->GetCol(Variant(C))->SetHeading("Col " + std::to_string(C));
        Picture.SetSize(8, 8);
        Picture.Canvas()->Brush()->SetColor(clRed);
        Picture.Canvas()->FillRect(Rect(0, 0, 8, 8));
    }
    void TearDown() override { delete Form; }

    void PaintAll() {
        Grid->Invalidate();
        Grid->Update();
    }
    TColor Pixel(int X, int Y) { return Grid->Canvas()->Pixels(X, Y); }
    // Pixels of a rectangle that are neither of the two background colours.
    int Ink(const TRect& R, TColor Back) {
        int Count = 0;
        for (int Y = R.Top; Y < R.Bottom; ++Y)
            for (int X = R.Left; X < R.Right; ++X)
                if (Pixel(X, Y) != Back) ++Count;
        return Count;
    }
    // Every pixel of a rectangle, after what is due has been painted.
    std::vector<TColor> PixelsOf(const TRect& R) {
        Grid->Update();
        std::vector<TColor> Pixels;
        for (int Y = R.Top; Y < R.Bottom; ++Y)
            for (int X = R.Left; X < R.Right; ++X)
                Pixels.push_back(Pixel(X, Y));
        return Pixels;
    }
    int CountOf(const TRect& R, TColor Color) {
        int Count = 0;
        for (int Y = R.Top; Y < R.Bottom; ++Y)
            for (int X = R.Left; X < R.Right; ++X)
                if (Pixel(X, Y) == Color) ++Count;
        return Count;
    }
    void SaveShot(const char* Name) { SaveControlShot(*Grid, Name); }

    TForm* Form = nullptr;
    TgxGrid* Grid = nullptr;
    TBitmap Picture;
};

} // namespace

TEST_F(GridPaint, BrowsingAHundredThousandRowsShowsEveryKindOfCellAndReachesTheEnd) {
    // One frozen column, column 3 hidden, row 4 yellow, a wrapped heading on
    // column 2 and a picture in column 5.
    Grid->SetFixedColCount(1);
    Grid->GetCol(Variant(3))->SetVisible(false);
    Grid->SetRowColor(4, clYellow);
    Grid->SetHeadingHeight(34);
    Grid->GetCol(Variant(2))->SetHeading("A heading long enough to wrap");
    Grid->GetCol(Variant(2))->SetHeadingWordWrap(uiOn);
    Grid->GetCol(Variant(5))->SetControlType(ctPicture);
    Grid->SetCellValue(5, 2, ObjectToVariant(&Picture));
    Grid->SetCellValue(1, 1, Variant(AnsiString("first")));
    Grid->SetCellValue(2, RowTotal, Variant(AnsiString("last row")));
    Grid->SetCellValue(1, RowTotal, Variant(AnsiString("end")));
    Grid->SetFocusBorder(fbSingle);
    Grid->SetFocusBorderColor(clRed);
    Grid->SetFocus();
    ASSERT_TRUE(Grid->Focused());
    Grid->UpdateScrollRange();
    PaintAll();
    SaveShot("grid_top");

    // The hidden column takes no room: column 4 starts where 3 would.
    EXPECT_EQ(Grid->CalcColOffset(4), Grid->CalcColOffset(2) + Grid->ColWidths(2));
    const TRect Yellow = Grid->CellRect(4, 4);
    EXPECT_EQ(Pixel(Yellow.Right - 2, Yellow.Bottom - 2), clYellow);
    EXPECT_EQ(Pixel(Grid->CellRect(4, 5).Right - 2, Grid->CellRect(4, 5).Bottom - 2), clWhite);
    const TRect Pic = Grid->CellRect(5, 2);
    EXPECT_EQ(Pixel((Pic.Left + Pic.Right) / 2, (Pic.Top + Pic.Bottom) / 2), clRed);
    // The wrapped heading has text in its upper and its lower half.
    const TRect Head = Grid->CellRect(2, 0);
    const int Middle = (Head.Top + Head.Bottom) / 2;
    const TColor HeadBack = Pixel(Head.Right - 2, Middle);
    EXPECT_GT(Ink(Rect(Head.Left + 2, Head.Top + 1, Head.Right - 2, Middle), HeadBack), 5);
    EXPECT_GT(Ink(Rect(Head.Left + 2, Middle, Head.Right - 2, Head.Bottom - 2), HeadBack), 5);
    // The current cell, the first after the frozen column, has its frame;
    // the row bar marks the current row.
    ASSERT_EQ(Grid->Col(), 2);
    const TRect First = Grid->CellRect(2, 1);
    // The frame starts one pixel in from the cell's left edge.
    EXPECT_EQ(Pixel(First.Left + 1, (First.Top + First.Bottom) / 2), clRed);
    EXPECT_NE(Pixel(Grid->CellRect(1, 1).Left, (First.Top + First.Bottom) / 2), clRed);
    const TRect Bar = Grid->CellRect(0, 1);
    EXPECT_GT(CountOf(Bar, clBlack), 10);

    // Above 32,767 rows the bar is scaled.
    TScrollInfo Info;
    Info.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(Grid, SB_VERT, Info));
    EXPECT_EQ(Info.nMin, 0);
    EXPECT_EQ(Info.nMax, 32767);

    // Three pages down, then the thumb tracked to its end.
    for (int Page = 0; Page < 3; ++Page)
        Grid->Perform(WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_GT(Grid->TopRow(), 3 * 10);
    EXPECT_GT(GetScrollPos(Grid, SB_VERT), 0);
    Grid->SetThumbTracking(true);
    Grid->Perform(WM_VSCROLL, MakeWParam(SB_THUMBTRACK, 32767), 0);
    EXPECT_EQ(Grid->TopRow(), Grid->GetMaxTopRow());
    EXPECT_EQ(GetScrollPos(Grid, SB_VERT), 32767);
    Grid->SetCurrentCell(2, RowTotal);
    PaintAll();
    SaveShot("grid_end");

    const TRect Last = Grid->CellRect(2, RowTotal);
    ASSERT_FALSE(Last.Right <= Last.Left || Last.Bottom <= Last.Top);
    EXPECT_LE(Last.Bottom, Grid->ClientHeight());
    EXPECT_GT(Ink(Last, clWhite), 10);
    // The frozen column stays at the left with its text; the current cell
    // on the last row is framed.
    const TRect Frozen = Grid->CellRect(1, RowTotal);
    EXPECT_EQ(Frozen.Left, Grid->ColWidths(0));
    EXPECT_GT(Ink(Frozen, clWhite), 5);
    EXPECT_EQ(Last.Left, Frozen.Right + 1);
    EXPECT_EQ(Pixel(Last.Left + 1, (Last.Top + Last.Bottom) / 2), clRed);
    EXPECT_EQ(Pixel(Last.Right - 1, (Last.Top + Last.Bottom) / 2), clRed);
    EXPECT_GT(CountOf(Grid->CellRect(0, RowTotal), clBlack), 10);
}

TEST_F(GridPaint, DrawInfoAndCellLoadedHandlersChangeWhatIsPainted) {
    Grid->SetGridRowCount(5);
    Grid->SetCellValue(2, 2, Variant(AnsiString("x")));
    int Loaded = 0;
    Grid->OnCellLoaded = [&](TObject*, int DataCol, int DataRow, Variant& Value) {
        ++Loaded;
        if (DataCol == 3 && DataRow == 3) Value = 42; // a number in a text cell comes back as text
    };
    Grid->OnGetDrawInfo = [](TObject*, int DataCol, int DataRow, TgxDrawInfo& Info) {
        if (DataCol == 2 && DataRow == 2) {
            Info.Color = clLime;
            Info.HorzAlignment = htaDefault;
        }
    };
    PaintAll();
    EXPECT_GT(Loaded, 0);
    const TRect Green = Grid->CellRect(2, 2);
    EXPECT_EQ(Pixel(Green.Right - 2, Green.Bottom - 2), clLime);
    // "x" is drawn at the left: nothing but background on the right half.
    EXPECT_EQ(
        Ink(Rect((Green.Left + Green.Right) / 2, Green.Top, Green.Right, Green.Bottom), clLime), 0);
    EXPECT_GT(Ink(Grid->CellRect(3, 3), clWhite), 5);

    // A cancelled cell is left to the handler.
    Grid->OnPaintCell = [](TObject*, int DataCol, int DataRow, TRect, TgxPaintCellState,
                           bool& Cancel) { Cancel = DataCol == 3 && DataRow == 3; };
    Grid->Canvas()->Brush()->SetColor(clNavy);
    Grid->Canvas()->FillRect(Grid->CellRect(3, 3));
    Grid->OnGetDrawInfo = nullptr;
    Grid->InvalidateCell(3, 3);
    Grid->Update();
    const TRect Kept = Grid->CellRect(3, 3);
    EXPECT_EQ(Pixel(Kept.Right - 2, Kept.Bottom - 2), clNavy);
}

TEST_F(GridPaint, TheRowBarMarkFollowsTheCurrentRow) {
    Grid->SetGridRowCount(20);
    PaintAll();
    ASSERT_EQ(Grid->Row(), 1);
    EXPECT_GT(CountOf(Grid->CellRect(0, 1), clBlack), 10);
    Grid->Perform(WM_KEYDOWN, VK_DOWN, 0);
    Grid->Perform(WM_KEYDOWN, VK_DOWN, 0);
    Grid->Update();
    ASSERT_EQ(Grid->Row(), 3);
    EXPECT_EQ(CountOf(Grid->CellRect(0, 1), clBlack), 0);
    EXPECT_EQ(CountOf(Grid->CellRect(0, 2), clBlack), 0);
    EXPECT_GT(CountOf(Grid->CellRect(0, 3), clBlack), 10);
}

TEST_F(GridPaint, CellButtonsShowTheirPictures) {
    Grid->SetGridRowCount(5);
    Grid->SetGridMode(gmEdit);
    Grid->GetCol(Variant(2))->SetButtonType(btCombo);
    Grid->GetCol(Variant(3))->SetButtonType(btVertSpin);
    Grid->GetCol(Variant(4))->SetButtonType(btNormal);
    Grid->GetCol(Variant(4))->SetReadOnly(true);
    PaintAll();
    SaveShot("grid_buttons");
    // The button sits at the right of the cell: its picture is black there,
    // the text area left of it is not.
    const TRect Combo = Grid->CellRect(2, 3);
    const int ButtonLeft = Combo.Right - 15;
    EXPECT_GT(CountOf(Rect(ButtonLeft, Combo.Top, Combo.Right, Combo.Bottom), clBlack), 4);
    EXPECT_EQ(CountOf(Rect(Combo.Left, Combo.Top, ButtonLeft, Combo.Bottom), clBlack), 0);
    // A spin button shows one arrow in each half.
    const TRect Spin = Grid->CellRect(3, 3);
    const int Middle = (Spin.Top + Spin.Bottom) / 2;
    EXPECT_GT(CountOf(Rect(Spin.Right - 15, Spin.Top, Spin.Right, Middle), clBlack), 2);
    EXPECT_GT(CountOf(Rect(Spin.Right - 15, Middle, Spin.Right, Spin.Bottom), clBlack), 2);
    // A read-only cell of a text column keeps its button (ReadOnlyButton)
    // but only editable text cells draw it: no picture there.
    const TRect Detail = Grid->CellRect(4, 3);
    EXPECT_EQ(CountOf(Detail, clBlack), 0);
}

TEST_F(GridPaint, HeadingsShowSortPicturesAndButtons) {
    Grid->SetGridRowCount(5);
    Grid->SetHeadingHeight(20);
    constexpr TColor Mark = 0x505050; // the sort pictures' colour
    Grid->GetCol(Variant(2))->SetHeadingButton(cbCell);
    Grid->GetCol(Variant(2))->SetSortPicture(spUp);
    Grid->GetCol(Variant(3))->SetHeadingButton(cbCell);
    Grid->GetCol(Variant(3))->SetSortPicture(spDown);
    Grid->GetCol(Variant(3))->SetHeadingHorzAlignment(htaRight);
    Grid->GetCol(Variant(4))->SetSortPicture(spUp); // no heading button: no picture
    Grid->GetCol(Variant(5))->SetHeadingButton(cbButton);
    Grid->GetCol(Variant(6))->SetHeading("");
    PaintAll();
    SaveShot("grid_headings");
    const TRect Up = Grid->CellRect(2, 0);
    const int UpMiddle = (Up.Left + Up.Right) / 2;
    EXPECT_GT(CountOf(Rect(UpMiddle, Up.Top, Up.Right, Up.Bottom), Mark), 10);
    EXPECT_EQ(CountOf(Rect(Up.Left, Up.Top, UpMiddle, Up.Bottom), Mark), 0);
    // A right-aligned heading has its picture at the left.
    const TRect Down = Grid->CellRect(3, 0);
    const int DownMiddle = (Down.Left + Down.Right) / 2;
    EXPECT_GT(CountOf(Rect(Down.Left, Down.Top, DownMiddle, Down.Bottom), Mark), 10);
    EXPECT_EQ(CountOf(Rect(DownMiddle, Down.Top, Down.Right, Down.Bottom), Mark), 0);
    EXPECT_EQ(CountOf(Grid->CellRect(4, 0), Mark), 0);
    // The push button of column 5 has its white top line at the right.
    const TRect Push = Grid->CellRect(5, 0);
    EXPECT_GT(CountOf(Rect(Push.Right - 14, Push.Top + 1, Push.Right, Push.Top + 2), clWhite), 8);
    EXPECT_TRUE(Grid->MouseOverHeadingButton(Push.Right - 5, Push.Top + 5, 5));
    EXPECT_FALSE(Grid->MouseOverHeadingButton(Push.Left + 5, Push.Top + 5, 5));
    EXPECT_FALSE(Grid->MouseOverHeadingButton(Push.Right - 5, Push.Top + 5, 2));
    // Only the push button's top 14 pixels count; a whole-heading button
    // takes any point of the heading.
    Grid->SetHeadingHeight(30);
    const TRect Tall = Grid->CellRect(5, 0);
    EXPECT_TRUE(Grid->MouseOverHeadingButton(Tall.Right - 5, Tall.Top + 13, 5));
    EXPECT_FALSE(Grid->MouseOverHeadingButton(Tall.Right - 5, Tall.Top + 20, 5));
    EXPECT_TRUE(Grid->CanClickHeading(Tall.Right - 5, Tall.Top + 5, 5));
    EXPECT_FALSE(Grid->CanClickHeading(Tall.Left + 5, Tall.Top + 5, 5));
    EXPECT_TRUE(Grid->CanClickHeading(Up.Left + 5, 25, 2));
    EXPECT_FALSE(Grid->CanClickHeading(Up.Left + 5, 25, 4));
    EXPECT_FALSE(Grid->CanClickHeading(Up.Left + 5, 5, 7));
    Grid->SetHeadingHeight(20);
    PaintAll();
    // An empty heading shows only its background.
    const TRect Empty = Grid->CellRect(6, 0);
    const TColor Back = Pixel(Empty.Left + 3, Empty.Top + 5);
    EXPECT_EQ(CountOf(Rect(Empty.Left + 2, Empty.Top + 2, Empty.Right - 2, Empty.Bottom - 2), Back),
              (Empty.Right - Empty.Left - 4) * (Empty.Bottom - Empty.Top - 4));
}

TEST_F(GridPaint, SelectedRowsShowInTheSelectionColourOrInverted) {
    Grid->SetGridRowCount(6);
    Grid->RowSelection().SetSelected(3, true);
    Grid->CheckGridStatus();
    ASSERT_EQ(Grid->GridStatus(), grRowSelect);
    Grid->SetSelectionType(sltColor);
    Grid->SetSelectionColor(clNavy);
    PaintAll();
    const TRect Cell = Grid->CellRect(2, 3);
    EXPECT_EQ(Pixel(Cell.Right - 2, Cell.Bottom - 2), clNavy);
    EXPECT_EQ(Pixel(Grid->CellRect(2, 4).Right - 2, Grid->CellRect(2, 4).Bottom - 2), clWhite);
    // Inverted: white turns black, the silver line under the cell dark grey.
    Grid->SetSelectionType(sltInvert);
    PaintAll();
    EXPECT_EQ(Pixel(Cell.Right - 2, Cell.Bottom - 2), clBlack);
    EXPECT_EQ(Pixel(Cell.Right - 2, Cell.Bottom), 0x3F3F3F);
    EXPECT_EQ(Pixel(Grid->CellRect(2, 4).Right - 2, Grid->CellRect(2, 4).Bottom - 2), clWhite);
}

TEST_F(GridPaint, TheFocusFrameAndColoursShowOnlyWhenConfiguredAndFocused) {
    Grid->SetGridRowCount(5);
    Grid->SetFocusBorder(fbNone);
    Grid->SetFocus();
    ASSERT_TRUE(Grid->Focused());
    PaintAll();
    const TRect Cur = Grid->CellRect(Grid->Col(), Grid->Row());
    EXPECT_EQ(Ink(Cur, clWhite), 0);
    EXPECT_FALSE(Grid->DisplayFocusRect(Grid->Col(), Grid->Row()));
    // A focus colour alone is a focus look: the current cell takes it.
    Grid->SetFocusColor(clYellow);
    PaintAll();
    EXPECT_EQ(Pixel(Cur.Right - 2, Cur.Bottom - 2), clYellow);
    EXPECT_EQ(
        Pixel(Grid->CellRect(Grid->Col(), 3).Right - 2, Grid->CellRect(Grid->Col(), 3).Bottom - 2),
        clWhite);
    // Without the focus, no focus look.
    auto* Other = new TgxGrid(Form);
    Other->SetParent(Form);
    Other->SetBounds(0, 330, 100, 60);
    Other->SetFocus();
    ASSERT_FALSE(Grid->Focused());
    PaintAll();
    EXPECT_EQ(Pixel(Cur.Right - 2, Cur.Bottom - 2), clWhite);
}

TEST_F(GridPaint, EmptyAreaTakesTheGridColourAndRaisedCellsGreyLines) {
    Grid->SetGridRowCount(3);
    Grid->SetColor(clAqua);
    Grid->GetCol(Variant(3))->SetIs3D(true);
    PaintAll();
    // Right of the last column and below the last row: the grid's colour.
    const TRect Last = Grid->CellRect(6, 3);
    ASSERT_LT(Last.Right + 2, Grid->ClientWidth());
    ASSERT_LT(Last.Bottom + 2, Grid->ClientHeight());
    EXPECT_EQ(Pixel(Last.Right + 2, Last.Top + 2), clAqua);
    EXPECT_EQ(Pixel(Last.Left + 2, Last.Bottom + 2), clAqua);
    // The line under a raised cell is grey, under a plain one the line colour.
    const TRect Raised = Grid->CellRect(3, 2);
    const TRect Plain = Grid->CellRect(4, 2);
    EXPECT_EQ(Pixel(Raised.Left + 5, Raised.Bottom), clGray);
    EXPECT_EQ(Pixel(Plain.Left + 5, Plain.Bottom), clSilver);
    // A grid colour of its own also colours raised cells; with the window
    // colour a raised cell is in button face.
    EXPECT_EQ(Pixel(Raised.Right - 2, Raised.Bottom - 2), clAqua);
    Grid->SetColor(clWindow);
    PaintAll();
    EXPECT_EQ(Pixel(Raised.Right - 2, Raised.Bottom - 2), ColorToRGB(clBtnFace));
    EXPECT_EQ(Pixel(Plain.Right - 2, Plain.Bottom - 2), ColorToRGB(clWindow));
}

TEST_F(GridPaint, AFocusedPictureCellShowsItsFocusColourCheckeredOverThePicture) {
    Grid->SetGridRowCount(5);
    Grid->GetCol(Variant(2))->SetControlType(ctPicture);
    Grid->SetCellValue(2, 2, ObjectToVariant(&Picture));
    Grid->SetCellValue(2, 3, ObjectToVariant(&Picture));
    Grid->SetFocusColor(clLime);
    Grid->SetFocusBorder(fbNone);
    Grid->SetFocus();
    Grid->SetCurrentCell(2, 2);
    PaintAll();
    const TRect Cell = Grid->CellRect(2, 2);
    const int Y = (Cell.Top + Cell.Bottom) / 2;
    // Every other pixel (counted on the window) takes the colour, the rest
    // keep the picture.
    for (int X = (Cell.Left + Cell.Right) / 2 - 2; X < (Cell.Left + Cell.Right) / 2 + 2; ++X)
        EXPECT_EQ(Pixel(X, Y), (X + Y) % 2 == 0 ? clLime : clRed) << X;
    // The picture cell that is not current shows its picture alone.
    const TRect Other = Grid->CellRect(2, 3);
    EXPECT_EQ(CountOf(Other, clLime), 0);
    EXPECT_GT(CountOf(Other, clRed), 20);
}

TEST_F(GridPaint, CheckBoxStylesDrawTheirOwnLooks) {
    Grid->SetGridRowCount(3);
    Grid->GetCol(Variant(2))->SetControlType(ctCheck);
    Grid->SetCheckBoxValues("Yes|No");
    Grid->SetCellValue(2, 2, Variant(AnsiString("Yes")));
    Grid->SetCurrentCell(1, 1);
    const TRect Box = Grid->CellRect(2, 2);
    auto Look = [&] {
        Grid->Invalidate();
        return PixelsOf(Box);
    };
    EXPECT_EQ(Grid->CheckBoxStyle(), stCheck);
    const auto Tick = Look();
    Grid->SetCheckBoxStyle(stCross);
    const auto Cross = Look();
    Grid->SetCheckBoxStyle(stFlat);
    const auto Flat = Look();
    EXPECT_NE(Tick, Cross);
    EXPECT_NE(Tick, Flat);
    EXPECT_NE(Cross, Flat);
    Grid->SetCheckBoxStyle(stCheck);
    EXPECT_EQ(Look(), Tick);
}

TEST_F(GridPaint, TheInsertionRowShowsItsMarkInTheRowBar) {
    Grid->SetGridMode(gmEditInsert);
    Grid->SetGridRowCount(3);
    ASSERT_TRUE(Grid->IsInsertRow(4));
    Grid->SetCurrentCell(1, 1);
    PaintAll();
    const TRect Insert = Grid->CellRect(0, 4);
    const TRect Plain = Grid->CellRect(0, 3);
    EXPECT_GT(CountOf(Insert, clBlack), 10);
    EXPECT_EQ(CountOf(Plain, clBlack), CountOf(Grid->CellRect(0, 2), clBlack));
    // The current row's mark is another picture than the insertion mark.
    EXPECT_GT(CountOf(Grid->CellRect(0, 1), clBlack), 10);
}

TEST_F(GridPaint, ACellButtonIsFlatRaisedUnderTheMouseAndPressedWhileHeld) {
    Grid->SetGridMode(gmEdit);
    Grid->SetGridRowCount(5);
    Grid->SetAlwaysDetectButton(true);
    Grid->SetCellButtonType(2, 2, btNormal);
    Grid->SetFocus();
    PaintAll();
    TgxDrawData Data;
    Grid->GetDrawData(2, 2, Data, true);
    const TRect B = Data.ButtonRect;
    ASSERT_FALSE(B.Right <= B.Left || B.Bottom <= B.Top);
    auto Look = [&] { return PixelsOf(B); };
    const auto Flat = Look();
    const int X = (B.Left + B.Right) / 2;
    const int Y = (B.Top + B.Bottom) / 2;
    Grid->Perform(WM_MOUSEMOVE, 0, PointToLParam(X, Y));
    const auto Hot = Look();
    Grid->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(X, Y));
    ASSERT_EQ(Grid->MouseStatus(), msButtonDown);
    const auto Down = Look();
    EXPECT_NE(Hot, Flat);
    EXPECT_NE(Down, Flat);
    EXPECT_NE(Down, Hot);
    Grid->Perform(WM_LBUTTONUP, 0, PointToLParam(X, Y));
    Grid->Perform(WM_MOUSEMOVE, 0, PointToLParam(Grid->CellRect(1, 4).Left + 2, Y + 40));
    EXPECT_EQ(Look(), Flat);
}

TEST_F(GridPaint, AHeadingHeldDownSinksAndMovesItsText) {
    Grid->SetGridRowCount(5);
    Grid->SetHeadingButton(hbCell);
    PaintAll();
    const TRect Head = Grid->CellRect(3, 0);
    auto Look = [&] { return PixelsOf(Head); };
    const auto Up = Look();
    const int X = (Head.Left + Head.Right) / 2;
    Grid->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(X, 5));
    ASSERT_EQ(Grid->MouseStatus(), msHeadingDown);
    const auto Held = Look();
    // The edge along the top and the left sinks.
    const int W = Head.Right - Head.Left;
    int EdgeChanged = 0;
    for (int Xi = 2; Xi < W - 2; ++Xi)
        if (Held[std::size_t(Xi)] != Up[std::size_t(Xi)]) ++EdgeChanged;
    EXPECT_GT(EdgeChanged, W / 2);
    // The text moved one pixel right and down: the held picture, shifted
    // back, matches the raised one inside the edges.
    int Same = 0;
    int Compared = 0;
    for (int Y = 3; Y < Head.Bottom - Head.Top - 2; ++Y)
        for (int Xi = 3; Xi < W - 3; ++Xi) {
            ++Compared;
            if (Held[std::size_t(Y * W + Xi)] == Up[std::size_t((Y - 1) * W + Xi - 1)]) ++Same;
        }
    EXPECT_EQ(Same, Compared);
    Grid->Perform(WM_LBUTTONUP, 0, PointToLParam(X, 5));
    EXPECT_EQ(Look(), Up);
}
