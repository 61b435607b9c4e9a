// What surrounds a cell's value: fixed cells and their colours, heading
// texts and heading buttons with their sort pictures, and the buttons inside
// data cells in their flat, raised and pressed looks. Read off the grid's
// own image.
#include "GridEditFixture.h"
#include "grid/model/CellButtons.h"
#include "platform/gui/Colors.h"

#include <cstdlib>
#include <vector>

using namespace grid;

namespace {

class HeadingsButtonsReading : public GridEditFixture {
protected:
    TColor Px(int X, int Y) { return Grid->Canvas()->Pixels(X, Y); }
    TColor Back() { return ColorToRGB(Grid->Color()); }
    TColor HeadBack() { return ColorToRGB(Grid->HeadingColor()); }
    void Repaint() {
        Grid->Invalidate();
        Grid->Update();
    }
    // Pixels unlike Background in R, their count and their horizontal extent.
    int Ink(const TRect& R, TColor Background, int* Left = nullptr, int* Right = nullptr,
            int* Bottom = nullptr) {
        int N = 0;
        if (Left) *Left = R.Right;
        if (Right) *Right = -1;
        if (Bottom) *Bottom = -1;
        for (int X = R.Left; X < R.Right; ++X)
            for (int Y = R.Top; Y < R.Bottom; ++Y)
                if (Px(X, Y) != Background) {
                    ++N;
                    if (Left && X < *Left) *Left = X;
                    if (Right && X > *Right) *Right = X;
                    if (Bottom && Y > *Bottom) *Bottom = Y;
                }
        return N;
    }
    // The grid's image in R is what a fresh paint of the whole grid gives.
    void SameAsFresh(const TRect& R, const char* What) {
        TBitmap Shot;
        Shot.SetSize(Grid->Width(), Grid->Height());
        Grid->PaintTo(Shot.Canvas());
        const int F = Grid->WindowFrameWidth();
        int Differ = 0;
        for (int X = R.Left; X < R.Right; ++X)
            for (int Y = R.Top; Y < R.Bottom; ++Y)
                Differ += Px(X, Y) != Shot.Canvas()->Pixels(X + F, Y + F);
        EXPECT_EQ(Differ, 0) << What;
    }
    // The heading of a display column without its edges.
    TRect HeadingInside(int DisplayCol) {
        const TRect H = Grid->CellRect(DisplayCol, 0);
        return Rect(H.Left + 1, H.Top + 1, H.Right - 1, H.Bottom - 1);
    }
};

TEST_F(HeadingsButtonsReading, EmptyHeadingWithoutButtonShowsOnlyItsBackground) {
    Grid->GetCol(2)->SetHeading("");
    Grid->GetCol(2)->SetFieldName("");
    Grid->GetCol(3)->SetHeading("Name");
    Repaint();
    EXPECT_EQ(Ink(HeadingInside(2), HeadBack()), 0);
    EXPECT_GT(Ink(HeadingInside(3), HeadBack()), 0);
}

TEST_F(HeadingsButtonsReading, HeadingColoursByColumnAndRowBar) {
    Grid->GetCol(2)->SetHeadingColor(clYellow);
    Repaint();
    const TRect H = HeadingInside(2);
    EXPECT_EQ(Px((H.Left + H.Right) / 2, (H.Top + H.Bottom) / 2), clYellow);
    const TRect O = HeadingInside(3);
    EXPECT_EQ(Px((O.Left + O.Right) / 2, (O.Top + O.Bottom) / 2), HeadBack());
    const TRect B = Grid->CellRect(0, 2);
    EXPECT_EQ(Px(B.Left + 2, B.Bottom - 2), HeadBack());
    const TRect Corner = Grid->CellRect(0, 0);
    EXPECT_EQ(Px(Corner.Left + 3, Corner.Top + 3), HeadBack());
}

TEST_F(HeadingsButtonsReading, SortPictureSitsRightOrLeftWhenRightAligned) {
    Grid->GetCol(2)->SetWidth(120);
    Grid->GetCol(2)->SetHeading("");
    Grid->GetCol(2)->SetHeadingButton(cbCell);
    Grid->GetCol(2)->SetSortPicture(spUp);
    struct Case {
        TgxHorzAlignment Align;
        bool AtLeft;
    } Cases[] = {{htaLeft, false}, {htaCenter, false}, {htaRight, true}};
    for (const Case& C : Cases) {
        Grid->GetCol(2)->SetHeadingHorzAlignment(C.Align);
        Repaint();
        const TRect H = HeadingInside(2);
        int Left = 0, Right = 0;
        ASSERT_GT(Ink(H, HeadBack(), &Left, &Right), 3) << int(C.Align);
        const int Mid = (H.Left + H.Right) / 2;
        if (C.AtLeft) {
            EXPECT_LT(Right, H.Left + 16) << int(C.Align);
        } else {
            EXPECT_GT(Left, Mid) << int(C.Align);
        }
    }
    // No picture, no button: nothing but the background.
    Grid->GetCol(2)->SetSortPicture(spNone);
    Repaint();
    EXPECT_EQ(Ink(HeadingInside(2), HeadBack()), 0);
}

TEST_F(HeadingsButtonsReading, AcceleratorIsUnderlinedNotShown) {
    Grid->GetCol(2)->SetWidth(120);
    Grid->GetCol(3)->SetWidth(120);
    Grid->SetHeadingHeight(24);
    Grid->GetCol(2)->SetHeading("Abc");
    Grid->GetCol(3)->SetHeading("&Abc");
    Repaint();
    int L2 = 0, R2 = 0, B2 = 0, L3 = 0, R3 = 0, B3 = 0;
    const TRect H2 = HeadingInside(2), H3 = HeadingInside(3);
    const int N2 = Ink(H2, HeadBack(), &L2, &R2, &B2);
    const int N3 = Ink(H3, HeadBack(), &L3, &R3, &B3);
    EXPECT_EQ(L2 - H2.Left, L3 - H3.Left);
    // No ampersand drawn: the same width, give or take the pixel the
    // underlined letter's own drawing may cost.
    EXPECT_LE(std::abs((R2 - H2.Left) - (R3 - H3.Left)), 1) << "no ampersand drawn";
    EXPECT_GT(N3, N2) << "underline";
    EXPECT_GT(B3, B2) << "underline below the text";
}

TEST_F(HeadingsButtonsReading, HeldHeadingButtonLooksSunken) {
    Grid->GetCol(2)->SetHeadingButton(cbCell);
    Repaint();
    const TRect H = Grid->CellRect(2, 0);
    const int MidX = (H.Left + H.Right) / 2;
    ASSERT_EQ(Px(MidX, H.Top), clWhite);
    QWidget* W = Grid->Widget();
    const QPoint At(MidX, (H.Top + H.Bottom) / 2);
    Grid->GetCol(2)->SetHeading("Name");
    Repaint();
    int L0 = 0, B0 = 0;
    Ink(HeadingInside(2), HeadBack(), &L0, nullptr, &B0);
    SendMouse(W, QEvent::MouseButtonPress, At);
    QApplication::processEvents();
    Grid->Update();
    EXPECT_NE(Px(MidX, H.Top), clWhite);
    EXPECT_NE(Px(H.Left, (H.Top + H.Bottom) / 2), clWhite);
    // The text goes down and right by a pixel with it.
    int L1 = 0, B1 = 0;
    Ink(Rect(H.Left + 2, H.Top + 2, H.Right - 1, H.Bottom - 1), HeadBack(), &L1, nullptr, &B1);
    EXPECT_EQ(L1, L0 + 1);
    EXPECT_EQ(B1, B0 + 1);
    SendMouse(W, QEvent::MouseButtonRelease, At);
    QApplication::processEvents();
    Grid->Update();
    SameAsFresh(Grid->CellRect(2, 0), "released");
    EXPECT_EQ(Px(MidX, H.Top), clWhite);
}

TEST_F(HeadingsButtonsReading, InactiveButtonPicturesShowOnlyWhereTheCellCanBeEdited) {
    Grid->GetCol(2)->SetWidth(100);
    Grid->GetCol(2)->SetButtonType(btCombo);
    Grid->GetCol(3)->SetButtonType(btCombo);
    Grid->GetCol(3)->SetReadOnly(true);
    auto ButtonInk = [&](int DataCol, int DataRow) {
        const TRect R = Grid->CellRect(Grid->GetDisplayCol(DataCol), DataRow);
        const int Width = Grid->GridCellButton(1, btCombo)->FullWidth();
        // Inside the focus frame's lines.
        return Ink(Rect(R.Right - Width, R.Top + 2, R.Right - 2, R.Bottom - 2), Back());
    };
    GoTo(2, 2);
    Repaint();
    // By default every button shows its picture.
    EXPECT_GT(ButtonInk(2, 3), 0);
    Grid->SetInactiveButtonState(ibsNone);
    Repaint();
    EXPECT_GT(ButtonInk(2, 2), 0) << "the current cell, editable";
    EXPECT_EQ(ButtonInk(2, 3), 0) << "another cell";
    GoTo(3, 2);
    Repaint();
    EXPECT_EQ(ButtonInk(3, 2), 0) << "the current cell, read-only";
}

TEST_F(HeadingsButtonsReading, CellButtonRaisesUnderTheMouseAndSinksWhenPressed) {
    Grid->GetCol(2)->SetWidth(100);
    Grid->GetCol(2)->SetButtonType(btNormal);
    GoTo(1, 1);
    Repaint();
    const TRect R = Grid->CellRect(Grid->GetDisplayCol(2), 3);
    const int Width = Grid->GridCellButton(1, btNormal)->FullWidth();
    const TRect B = Rect(R.Right - Width, R.Top, R.Right, R.Bottom);
    auto Whites = [&] {
        int N = 0;
        for (int X = B.Left; X < B.Right; ++X)
            for (int Y = B.Top; Y < B.Bottom; ++Y) N += Px(X, Y) == clWhite;
        return N;
    };
    const int Flat = Whites();
    QWidget* W = Grid->Widget();
    const QPoint At(B.Right - 4, (B.Top + B.Bottom) / 2);
    SendMouse(W, QEvent::MouseMove, At, Qt::NoButton);
    QApplication::processEvents();
    Grid->Update();
    ASSERT_EQ(Grid->HotButtonCol(), Grid->GetDisplayCol(2));
    EXPECT_LT(Whites(), Flat) << "raised over its face";
    const int Raised = Whites();
    SendMouse(W, QEvent::MouseButtonPress, At);
    QApplication::processEvents();
    Grid->Update();
    EXPECT_NE(Whites(), Raised) << "pressed";
    SendMouse(W, QEvent::MouseButtonRelease, At);
    QApplication::processEvents();
}

TEST_F(HeadingsButtonsReading, SpinButtonInAShortRowKeepsThreePixelHalves) {
    Grid->GetCol(2)->SetButtonType(btVertSpin);
    Grid->SetRowHeight(2, 6);
    Grid->SetRowHeight(3, 40);
    GoTo(2, 3);
    Repaint();
    const TRect R = Grid->CellRect(Grid->GetDisplayCol(2), 2);
    const int Width = Grid->GridCellButton(1, btVertSpin)->FullWidth();
    EXPECT_GT(Ink(Rect(R.Right - Width, R.Top, R.Right, R.Bottom), Back()), 0);
    // Nothing beyond the cell.
    const TRect Below = Grid->CellRect(Grid->GetDisplayCol(2), 3);
    EXPECT_EQ(Px(Below.Right - Width / 2, Below.Top + 1), Px(Below.Right - Width / 2, Below.Top + 2));
}

// A flat button takes the colour of its cell's background: the selection
// colour in a coloured selection, the focus colour in the framed cell.
TEST_F(HeadingsButtonsReading, FlatButtonsFillWithTheCellsBackground) {
    Grid->SetGridMode(gmBrowse);
    Grid->GetCol(2)->SetWidth(100);
    Grid->GetCol(2)->SetButtonType(btNormal);
    Grid->SetAlwaysDetectButton(true);
    Grid->SetSelectionType(sltColor);
    Grid->SetSelectionColor(clLime);
    Grid->SetFocusBorder(fbNone);
    Grid->SetFocusColor(clAqua);
    GoTo(2, 2);
    Grid->SelectRows(3, 3, true);
    Repaint();
    const int Width = Grid->GridCellButton(1, btNormal)->FullWidth();
    struct Case {
        int Row;
        TColor Fill;
    } Cases[] = {{3, clLime}, {4, Back()}};
    for (const Case& C : Cases) {
        const TRect R = Grid->CellRect(Grid->GetDisplayCol(2), C.Row);
        EXPECT_EQ(Px(R.Right - Width + 1, R.Bottom - 2), C.Fill) << C.Row;
        EXPECT_EQ(Px(R.Right - 1, R.Top + 1), C.Fill) << C.Row;
    }
    Grid->ResetSelection();
    Repaint();
    const TRect R = Grid->CellRect(Grid->GetDisplayCol(2), 2);
    ASSERT_TRUE(Grid->DisplayFocusRect(Grid->Col(), Grid->Row()));
    EXPECT_EQ(Px(R.Right - Width + 1, R.Bottom - 2), clAqua);
}

// The button redrawn under the mouse in an inverted selection ends as a
// fresh paint of the grid shows it.
TEST_F(HeadingsButtonsReading, ButtonOfAnInvertedCellRedrawnUnderTheMouseStaysInverted) {
    Grid->SetGridMode(gmBrowse);
    Grid->GetCol(2)->SetWidth(100);
    Grid->GetCol(2)->SetButtonType(btNormal);
    Grid->SetAlwaysDetectButton(true);
    GoTo(1, 1);
    Grid->SelectRows(3, 3, true);
    Repaint();
    const TRect R = Grid->CellRect(Grid->GetDisplayCol(2), 3);
    const int Width = Grid->GridCellButton(1, btNormal)->FullWidth();
    const TRect B = Rect(R.Right - Width - 1, R.Top, R.Right + 1, R.Bottom + 1);
    QWidget* W = Grid->Widget();
    const QPoint Over(B.Right - 5, (B.Top + B.Bottom) / 2);
    SendMouse(W, QEvent::MouseMove, Over, Qt::NoButton);
    QApplication::processEvents();
    SendMouse(W, QEvent::MouseMove, QPoint(R.Left + 5, Grid->CellRect(1, 1).Top + 3),
              Qt::NoButton);
    QApplication::processEvents();
    Grid->Update();
    SameAsFresh(B, "left again");
}

TEST_F(HeadingsButtonsReading, HeadingButtonBoxRaisedAndPressed) {
    Grid->GetCol(2)->SetWidth(100);
    Grid->GetCol(2)->SetHeading("");
    Grid->GetCol(2)->SetHeadingButton(cbButton);
    Repaint();
    const TRect H = Grid->CellRect(2, 0);
    // The box at the right: white lines along its top and left.
    auto Count = [&](TColor C) {
        int N = 0;
        for (int X = H.Right - 16; X < H.Right; ++X)
            for (int Y = H.Top; Y < H.Bottom; ++Y) N += Px(X, Y) == C;
        return N;
    };
    const int WhiteUp = Count(clWhite);
    EXPECT_GT(WhiteUp, 10);
    EXPECT_EQ(Ink(Rect(H.Left + 1, H.Top + 1, H.Right - 20, H.Bottom - 1), HeadBack()), 0);
    QWidget* W = Grid->Widget();
    const QPoint At(H.Right - 6, (H.Top + H.Bottom) / 2);
    SendMouse(W, QEvent::MouseButtonPress, At);
    QApplication::processEvents();
    Grid->Update();
    EXPECT_GT(Count(clBlack), 10) << "pressed: black along top and left";
    EXPECT_LT(Count(clWhite), WhiteUp);
    SendMouse(W, QEvent::MouseButtonRelease, At);
    QApplication::processEvents();
    Grid->Update();
    EXPECT_EQ(Count(clWhite), WhiteUp);
}

// A spin button shows two parts, each with its arrow; pressing one sinks
// that part alone.
TEST_F(HeadingsButtonsReading, SpinButtonPartsSinkOneAtATime) {
    Grid->SetGridMode(gmBrowse);
    Grid->SetAlwaysDetectButton(true);
    Grid->GetCol(2)->SetWidth(100);
    Grid->SetRowHeight(3, 30);
    struct Case {
        TgxButtonType Type;
        bool Vertical;
    } Cases[] = {{btVertSpin, true}, {btHorzSpin, false}};
    for (const Case& C : Cases) {
        Grid->GetCol(2)->SetButtonType(C.Type);
        GoTo(1, 1);
        Repaint();
        const TRect R = Grid->CellRect(Grid->GetDisplayCol(2), 3);
        const int Width = Grid->GridCellButton(1, C.Type)->FullWidth();
        const TRect B = Rect(R.Right - Width, R.Top, R.Right, R.Bottom);
        const int MidX = (B.Left + B.Right) / 2, MidY = (B.Top + B.Bottom) / 2;
        // First part: the upper (vertical) or the left (horizontal) one.
        const TRect First = C.Vertical ? Rect(B.Left, B.Top, B.Right, MidY - 1)
                                       : Rect(B.Left, B.Top, MidX - 1, B.Bottom);
        const TRect Second = C.Vertical ? Rect(B.Left, MidY + 1, B.Right, B.Bottom)
                                        : Rect(MidX + 1, B.Top, B.Right, B.Bottom);
        auto Shot = [&](const TRect& A) {
            std::vector<TColor> P;
            for (int X = A.Left; X < A.Right; ++X)
                for (int Y = A.Top; Y < A.Bottom; ++Y) P.push_back(Px(X, Y));
            return P;
        };
        EXPECT_GT(Ink(First, Back()), 3) << int(C.Type);
        EXPECT_GT(Ink(Second, Back()), 3) << int(C.Type);
        QWidget* W = Grid->Widget();
        const QPoint In = C.Vertical ? QPoint(MidX, (First.Top + First.Bottom) / 2)
                                     : QPoint((First.Left + First.Right) / 2, MidY);
        SendMouse(W, QEvent::MouseMove, In, Qt::NoButton);
        QApplication::processEvents();
        Grid->Update();
        const auto FirstUp = Shot(First), SecondUp = Shot(Second);
        SameAsFresh(B, "hot");
        SendMouse(W, QEvent::MouseButtonPress, In);
        QApplication::processEvents();
        Grid->Update();
        EXPECT_NE(Shot(First), FirstUp) << int(C.Type) << " pressed part";
        SameAsFresh(B, "pressed");
        SendMouse(W, QEvent::MouseButtonRelease, In);
        QApplication::processEvents();
        Grid->Update();
        SameAsFresh(B, "released");
        (void)SecondUp;
        SendMouse(W, QEvent::MouseMove, QPoint(R.Left + 3, R.Top + 3), Qt::NoButton);
        QApplication::processEvents();
    }
}

// Buttons drawn raised when they are not flat; a button redrawn under the
// mouse beside the current cell leaves the cell's frame whole, with and
// without grid lines.
TEST_F(HeadingsButtonsReading, ButtonsBesideTheFramedCellLeaveItsFrameWhole) {
    Grid->SetGridMode(gmBrowse);
    Grid->SetAlwaysDetectButton(true);
    Grid->SetFocusBorder(fbDouble);
    Grid->SetFocusBorderColor(clRed);
    Grid->GetCol(2)->SetWidth(100);
    Grid->GetCol(2)->SetButtonType(btNormal);
    for (TgxGridLines Lines : {glBoth, glNone}) {
        for (bool Flat : {true, false}) {
            Grid->SetGridLines(Lines);
            Grid->SetFlatButtons(Flat);
            GoTo(3, 3);
            Repaint();
            const TRect R = Grid->CellRect(Grid->GetDisplayCol(2), 3);
            const TRect Cur = Grid->CellRect(Grid->Col(), Grid->Row());
            const TRect Area = Rect(R.Left, Grid->CellRect(1, 2).Top, Cur.Right + 1, Cur.Bottom + 1);
            QWidget* W = Grid->Widget();
            for (int Row : {3, 2}) {
                const TRect Near = Grid->CellRect(Grid->GetDisplayCol(2), Row);
                SendMouse(W, QEvent::MouseMove, QPoint(Near.Right - 4, (Near.Top + Near.Bottom) / 2),
                          Qt::NoButton);
                QApplication::processEvents();
                Grid->Update();
                SendMouse(W, QEvent::MouseMove, QPoint(Near.Left + 4, (Near.Top + Near.Bottom) / 2),
                          Qt::NoButton);
                QApplication::processEvents();
                Grid->Update();
                SameAsFresh(Area, Lines == glNone ? (Flat ? "no lines, flat" : "no lines, raised")
                                                  : (Flat ? "lines, flat" : "lines, raised"));
            }
        }
    }
}

// The row bar of a selected row and the heading of a selected column show
// inverted.
TEST_F(HeadingsButtonsReading, FixedCellsOfASelectionShowInverted) {
    Grid->SetGridMode(gmBrowse);
    Grid->GetCol(3)->SetHeading("");
    GoTo(1, 1);
    Grid->SelectRows(3, 3, true);
    Repaint();
    const TColor Inverted = HeadBack() ^ 0xFFFFFF;
    const TRect Bar = Grid->CellRect(0, 3);
    EXPECT_EQ(Px(Bar.Left + 2, Bar.Bottom - 2), Inverted);
    const TRect Other = Grid->CellRect(0, 4);
    EXPECT_EQ(Px(Other.Left + 2, Other.Bottom - 2), HeadBack());
    Grid->ResetSelection();
    Grid->SelectCols(3, 3, true);
    Repaint();
    const TRect H = HeadingInside(3);
    EXPECT_EQ(Px((H.Left + H.Right) / 2, (H.Top + H.Bottom) / 2), Inverted);
    EXPECT_EQ(Px(Bar.Left + 2, Bar.Bottom - 2), HeadBack());
}

// A raised heading shows its edge whether or not it has a text.
TEST_F(HeadingsButtonsReading, RaisedHeadingsKeepTheirEdgeUnderATextToo) {
    Grid->GetCol(2)->SetHeading("");
    Grid->GetCol(3)->SetHeading("Name");
    Grid->GetCol(4)->SetHeading("Name");
    Grid->GetCol(4)->SetHeadingButton(cbCell);
    Repaint();
    for (int C : {2, 3, 4}) {
        const TRect H = Grid->CellRect(C, 0);
        EXPECT_EQ(Px((H.Left + H.Right) / 2, H.Top), clWhite) << C;
        EXPECT_EQ(Px(H.Left, H.Bottom - 2), clWhite) << C;
    }
}

} // namespace
