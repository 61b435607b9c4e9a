// Headings, fixed cells and cell buttons as drawn and as the mouse finds
// their parts on a shown grid.
#include "ShownGridPixels.h"

#include "grid/model/Columns.h"
#include "grid/model/DrawData.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <vector>

using namespace grid;

namespace {

class HeadingButtons : public ShownGridPixels {
protected:
    TgxDrawData Draw(int Col, int Row) {
        TgxDrawData D;
        Grid->GetDrawData(Col, Row, D, true);
        return D;
    }
    void Press(const TPoint& P) {
        const int F = Grid->WindowFrameWidth();
        SendMouse(Grid->Widget(), QEvent::MouseButtonPress, QPoint(P.X + F, P.Y + F), Qt::LeftButton);
        SendMouse(Grid->Widget(), QEvent::MouseButtonRelease, QPoint(P.X + F, P.Y + F), Qt::LeftButton);
        QApplication::processEvents();
    }
};

TEST_F(HeadingButtons, SpinPartsUnderThePointer) {
    ShowFocused(3, 3);
    Grid->SetGridMode(gmEdit);
    Grid->SetColWidths(1, 80);
    Grid->SetRowHeights(1, 30);
    std::vector<TgxSpinButton> Downs;
    Grid->OnSpinButtonDown = [&](TObject*, int, const Variant&, TgxSpinButton Part) {
        Downs.push_back(Part);
    };
    for (const TgxButtonType Type : {btVertSpin, btHorzSpin}) {
        Grid->SetCellButtonType(1, 1, Type);
        const TgxDrawData D = Draw(1, 1);
        ASSERT_TRUE(D.HasButton);
        const TRect B = D.ButtonRect;
        const int MidX = (B.Left + B.Right) / 2, MidY = (B.Top + B.Bottom) / 2;
        const bool Vert = Type == btVertSpin;
        const TgxSpinButton FirstPart = Vert ? spbIncrement : spbDecrement;
        const TgxSpinButton SecondPart = Vert ? spbDecrement : spbIncrement;
        // Along the button the two parts follow each other without overlap.
        std::vector<int> FirstAt, SecondAt;
        for (int P = Vert ? B.Top : B.Left; P < (Vert ? B.Bottom : B.Right); ++P) {
            const TgxSpinButton Part =
                Vert ? Grid->SpinPartAt(MidX, P, 1, 1) : Grid->SpinPartAt(P, MidY, 1, 1);
            if (Part == FirstPart) FirstAt.push_back(P);
            if (Part == SecondPart) SecondAt.push_back(P);
        }
        ASSERT_GE(FirstAt.size(), 3u);
        ASSERT_GE(SecondAt.size(), 3u);
        EXPECT_LT(FirstAt.back(), SecondAt.front());
        EXPECT_LE(SecondAt.size(), FirstAt.size() + 1) << "halves of one size";
        const int A = FirstAt[FirstAt.size() / 2], Z = SecondAt[SecondAt.size() / 2];
        const TPoint First = Vert ? TPoint{MidX, A} : TPoint{A, MidY};
        const TPoint Second = Vert ? TPoint{MidX, Z} : TPoint{Z, MidY};
        EXPECT_EQ(Grid->SpinPartAt(First.X, First.Y, 1, 1), FirstPart);
        EXPECT_EQ(Grid->SpinPartAt(Second.X, Second.Y, 1, 1), SecondPart);
        EXPECT_EQ(Grid->SpinPartAt(D.InnerRect.Left + 2, MidY, 1, 1), spbNone) << "the text part";
        EXPECT_EQ(Grid->SpinPartAt(First.X, First.Y, 2, 1), spbNone) << "no spin cell";
        Downs.clear();
        Press(First);
        Press(Second);
        EXPECT_EQ(Downs, (std::vector<TgxSpinButton>{FirstPart, SecondPart}));
    }
}

TEST_F(HeadingButtons, SortButtonSitsLeftOfARightAlignedHeading) {
    ShowFocused(3, 3);
    Grid->SetColWidths(1, 100);
    Grid->SetHeadingButton(hbButton);
    TgxCol* Col = Grid->GridCols()->Item(1);
    Col->SetHeading("Name");
    Col->SetSortPicture(spUp);
    const TgxDrawData Plain = Draw(1, 0);
    ASSERT_TRUE(Plain.HasButton);
    const TRect Cell = Grid->CellRect(1, 0);
    EXPECT_EQ(Plain.ButtonRect.Right, Cell.Right);
    EXPECT_GT(Plain.ButtonRect.Left, (Cell.Left + Cell.Right) / 2);

    Col->SetHeadingHorzAlignment(htaRight);
    const TgxDrawData Right = Draw(1, 0);
    ASSERT_TRUE(Right.HasButton);
    EXPECT_EQ(Right.ButtonRect.Left, Right.InnerRect.Left);
    EXPECT_LE(Right.ButtonRect.Width(), 14);
    EXPECT_GE(Right.TextRect.Left, Right.ButtonRect.Right - 2);
}

TEST_F(HeadingButtons, EmptyHeadingShowsOnlyItsBackground) {
    ShowFocused(3, 3);
    Grid->SetHeadingColor(clAqua);
    Grid->GridCols()->Item(1)->SetHeading("");
    Shot();
    const TRect H = Grid->CellRect(1, 0);
    const TRect Inside{H.Left + 2, H.Top + 2, H.Right - 3, H.Bottom - 3};
    EXPECT_EQ(CountOf(Inside, clAqua), Inside.Width() * Inside.Height());
}

TEST_F(HeadingButtons, FixedCellLinesFollowHeading3D) {
    const struct {
        bool Heading3D;
        TColor Line;
    } Cases[] = {{true, TColor(0x808080)}, {false, clBlack}};
    for (const auto& C : Cases) {
        ShowFocused(3, 3);
        Grid->SetHeadingColor(clAqua);
        Grid->SetHeading3D(C.Heading3D);
        Grid->GridCols()->Item(1)->SetHeading("");
        Shot();
        const TRect H = Grid->CellRect(1, 0);
        const int Mid = (H.Left + H.Right) / 2;
        // CellRect leaves out the grid line, where the fixed line is drawn.
        EXPECT_EQ(At(Mid, H.Bottom), C.Line) << C.Heading3D;
        EXPECT_EQ(At(Mid, H.Top), C.Heading3D ? clWhite : clAqua) << "raised edge only in 3D";
        delete Form;
        Form = nullptr;
    }
}

}  // namespace

namespace {

class CellButtonLooks : public HeadingButtons {
protected:
    // Inside the button, clear of the focus frame around the cell.
    int DarkIn(const TRect& R) {
        return CountOf(Rect(R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom - 2), clBlack);
    }
};

TEST_F(CellButtonLooks, ButtonFillFollowsSelectionAndFocus) {
    ShowFocused(3, 3);
    Grid->SetGridMode(gmBrowse);  // the focus frame, not an editor, on the current cell
    Grid->SetFocusColor(clLime);
    Grid->SetCellColor(1, 1, clAqua);
    Grid->SetCol(2);
    Grid->SetRow(2);
    const TgxDrawData Current = Draw(2, 2), Other = Draw(1, 1);
    EXPECT_EQ(Grid->ButtonBrushColor(clRed, Other, false), clRed) << "a set colour wins";
    EXPECT_EQ(Grid->ButtonBrushColor(clNone, Other, false), clAqua);
    EXPECT_EQ(Grid->ButtonBrushColor(clNone, Current, false), clLime);
    if (Grid->SelectionColorEnabled())
        EXPECT_EQ(Grid->ButtonBrushColor(clNone, Other, true), Grid->SelectionColor());
}

TEST_F(CellButtonLooks, InactivePictureOnlyOnTheEditableCurrentCell) {
    ShowFocused(3, 3);
    Grid->SetGridMode(gmEdit);
    Grid->SetAlwaysShowEditor(false);
    Grid->SetColWidths(1, 90);
    Grid->SetInactiveButtonState(ibsNone);
    Grid->SetCellButtonType(1, 1, btCombo);
    Grid->SetCellButtonType(1, 2, btCombo);
    Grid->SetCol(1);
    Grid->SetRow(1);
    QApplication::processEvents();
    Shot();
    EXPECT_GT(DarkIn(Draw(1, 1).ButtonRect), 0) << "the current, editable cell shows it";
    EXPECT_EQ(DarkIn(Draw(1, 2).ButtonRect), 0) << "another cell does not";
    Grid->SetCellReadOnly(1, 1, roOn);
    Grid->Invalidate();
    Shot();
    EXPECT_EQ(DarkIn(Draw(1, 1).ButtonRect), 0) << "nor a read-only current cell";
    // With the default state every combo cell shows its picture.
    Grid->SetInactiveButtonState(ibsBackGround);
    Shot();
    EXPECT_GT(DarkIn(Draw(1, 2).ButtonRect), 0);
}

}  // namespace

namespace {

TEST_F(HeadingButtons, LowSpinCellStillHasBothParts) {
    ShowFocused(3, 3);
    Grid->SetGridMode(gmEdit);
    Grid->SetRowHeights(1, 8);
    Grid->SetCellButtonType(1, 1, btVertSpin);
    const TgxDrawData D = Draw(1, 1);
    ASSERT_TRUE(D.HasButton);
    const int X = (D.ButtonRect.Left + D.ButtonRect.Right) / 2;
    int Inc = 0, Dec = 0;
    for (int Y = D.ButtonRect.Top - 2; Y < D.ButtonRect.Bottom + 2; ++Y) {
        const TgxSpinButton Part = Grid->SpinPartAt(X, Y, 1, 1);
        Inc += Part == spbIncrement;
        Dec += Part == spbDecrement;
    }
    EXPECT_GE(Inc, 3) << "a half is at least 3 pixels";
    EXPECT_GE(Dec, 1) << "the lower half, clipped by the cell, is still there";

    // A press on the drawn lower arrow counts down.
    TRect Up, Down;
    ASSERT_TRUE(Grid->GetSpinRects(D, Up, Down));
    std::vector<TgxSpinButton> Downs;
    Grid->OnSpinButtonDown = [&](TObject*, int, const Variant&, TgxSpinButton Part) {
        Downs.push_back(Part);
    };
    Press(TPoint{X, (Down.Top + Down.Bottom) / 2});
    Press(TPoint{X, (Up.Top + Up.Bottom) / 2});
    EXPECT_EQ(Downs, (std::vector<TgxSpinButton>{spbDecrement, spbIncrement}));
}

}  // namespace

namespace {

TEST_F(HeadingButtons, NarrowSideBySideSpinCountsTheWayItsArrowsPoint) {
    ShowFocused(3, 3);
    Grid->SetGridMode(gmEdit);
    Grid->SetColWidths(1, 14);
    Grid->SetCellButtonType(1, 1, btHorzSpin);
    const TgxDrawData D = Draw(1, 1);
    ASSERT_TRUE(D.HasButton);
    TRect Up, Down;
    ASSERT_TRUE(Grid->GetSpinRects(D, Up, Down));
    const int Y = (Up.Top + Up.Bottom) / 2;
    std::vector<TgxSpinButton> Downs;
    Grid->OnSpinButtonDown = [&](TObject*, int, const Variant&, TgxSpinButton Part) {
        Downs.push_back(Part);
    };
    for (const TRect& R : {Down, Up})
        if (R.Right > R.Left) Press(TPoint{(R.Left + R.Right) / 2, Y});
    EXPECT_EQ(Downs, (std::vector<TgxSpinButton>{spbDecrement, spbIncrement}));
}

}  // namespace
