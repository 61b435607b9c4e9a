// Row heights and column widths kept in step with the pixel sizes, the
// visible ranges the scrolling counts on, the top-left report and the
// shared cell buttons and in-place controls, on a shown grid.
#include "GridEditFixture.h"
#include "grid/model/CellButtons.h"
#include "grid/model/ControlWrappers.h"
#include "grid/model/Rows.h"
#include "platform/gui/Colors.h"

#include <QWheelEvent>

#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace grid;

namespace {

class SizesRangesReading : public GridEditFixture {
protected:
    TColor Px(int X, int Y) { return Grid->Canvas()->Pixels(X, Y); }
    int ClientW() { return Grid->ClientRect().Right; }
    int ClientH() { return Grid->ClientRect().Bottom; }
};

TEST_F(SizesRangesReading, DefaultRowHeightZeroMakesEveryRowOnePixel) {
    Grid->SetDefaultRowHeight(0);
    EXPECT_EQ(Grid->DefaultRowHeight(), 1);
    for (int R = 1; R <= Grid->GetGridRowCount(); ++R) {
        EXPECT_EQ(Grid->GetRowHeight(R), 1) << R;
        EXPECT_EQ(Grid->RowHeights(Grid->GetDisplayRow(R)), 1) << R;
    }
}

TEST_F(SizesRangesReading, HiddenRowHasNoPixelsButKeepsItsHeight) {
    Grid->SetRowHeight(3, 30);
    ASSERT_EQ(Grid->RowHeights(3), 30);
    Grid->SetRowVisible(3, false);
    EXPECT_EQ(Grid->RowHeights(3), 0);
    EXPECT_EQ(Grid->GetRowHeight(3), 30);
    Grid->SetRowVisible(3, true);
    EXPECT_EQ(Grid->RowHeights(3), 30);
    // Likewise a column.
    Grid->GetCol(2)->SetWidth(90);
    Grid->GetCol(2)->SetVisible(false);
    EXPECT_EQ(Grid->ColWidths(2), 0);
    EXPECT_EQ(Grid->GetCol(2)->Width(), 90);
    Grid->GetCol(2)->SetVisible(true);
    EXPECT_EQ(Grid->ColWidths(2), 90);
}

TEST_F(SizesRangesReading, HeadingAndRowBarFollowTheirSwitches) {
    const int Heading = Grid->GetHeadingHeight();
    const int Bar = Grid->GetRowBarWidth();
    ASSERT_GT(Heading, 0);
    ASSERT_GT(Bar, 0);
    EXPECT_EQ(Grid->RowHeights(0), Heading);
    EXPECT_EQ(Grid->ColWidths(0), Bar);
    Grid->SetHeadingOn(false);
    Grid->SetRowBarOn(false);
    EXPECT_EQ(Grid->RowHeights(0), 0);
    EXPECT_EQ(Grid->ColWidths(0), 0);
    EXPECT_EQ(Grid->FixedHeight(), 0);
    EXPECT_EQ(Grid->FixedWidth(), 0);
    Grid->SetHeadingOn(true);
    Grid->SetRowBarOn(true);
    EXPECT_EQ(Grid->RowHeights(0), Heading);
    EXPECT_EQ(Grid->ColWidths(0), Bar);
}

// Pixel sizes set on the base control are copied into the column and row
// objects.
TEST_F(SizesRangesReading, PixelSizesReachTheColumnAndRowObjects) {
    std::vector<int> Cols, Rows;
    Grid->OnColResized = [&](TObject*, int C) { Cols.push_back(C); };
    Grid->OnRowResized = [&](TObject*, int R) { Rows.push_back(R); };
    Grid->SetColWidths(Grid->GetDisplayCol(3), 77);
    EXPECT_EQ(Grid->GetCol(3)->Width(), 77);
    Grid->SetRowHeights(Grid->GetDisplayRow(2), 33);
    EXPECT_EQ(Grid->GetRowHeight(2), 33);
    EXPECT_EQ(Grid->GetRow(2)->Height(), 33);
    EXPECT_FALSE(Cols.empty());
    EXPECT_FALSE(Rows.empty());
}

TEST_F(SizesRangesReading, UserSizingAColumnReportsItOnceAndMovesTheScrollRange) {
    Grid->SetGridColCount(8);
    std::vector<int> Cols;
    Grid->OnColResized = [&](TObject*, int C) { Cols.push_back(C); };
    int Count = 0, Max = 0, Last = 0, First = 0;
    bool Scaled = false;
    Grid->GetHorzScrollRange(Count, Max, Scaled, Last, First);
    const int MaxBefore = Max;
    // Drag the right edge of column 2 far to the right.
    const int Edge = Grid->CalcColOffset(2) + Grid->ColWidths(2) - 1;
    const int Y = Grid->RowHeights(0) / 2;
    QWidget* W = Grid->Widget();
    SendMouse(W, QEvent::MouseMove, QPoint(Edge, Y), Qt::NoButton);
    SendMouse(W, QEvent::MouseButtonPress, QPoint(Edge, Y));
    SendMouse(W, QEvent::MouseMove, QPoint(Edge + 150, Y), Qt::NoButton, Qt::LeftButton);
    SendMouse(W, QEvent::MouseButtonRelease, QPoint(Edge + 150, Y));
    QApplication::processEvents();
    ASSERT_GT(Grid->ColWidths(2), 150);
    EXPECT_EQ(Grid->GetCol(2)->Width(), Grid->ColWidths(2));
    EXPECT_EQ(Cols, std::vector<int>{2});
    Grid->GetHorzScrollRange(Count, Max, Scaled, Last, First);
    EXPECT_TRUE(Max != MaxBefore || Last != First) << Max;
}

TEST_F(SizesRangesReading, VisibleRangesCountWhatFitsInTheClientArea) {
    Grid->SetGridColCount(10);
    Grid->SetGridRowCount(40);
    const int W = ClientW(), H = ClientH();
    // The last column starting inside the client area, and the columns that
    // end inside it, worked out from the widths.
    auto Expect = [&](int First, bool Cols, int& Last, int& Whole) {
        const int Fixed = Cols ? Grid->FixedWidth() : Grid->FixedHeight();
        const int Limit = Cols ? W : H;
        const int Line = Cols ? Grid->VertLineWidth() : Grid->HorzLineWidth();
        const int N = Cols ? Grid->ColCount() : Grid->RowCount();
        int Pos = Fixed;
        Last = First;
        for (int I = First; I < N && Pos < Limit; ++I) {
            Last = I;
            Pos += Cols ? Grid->ColWidths(I) : Grid->RowHeights(I);
        }
        Whole = 0;
        Pos = Fixed - Line;
        for (int I = First; I < N; ++I) {
            Pos += Cols ? Grid->ColWidths(I) : Grid->RowHeights(I);
            if (Pos > Limit) break;
            ++Whole;
        }
    };
    for (int First : {1, 3}) {
        int Last = 0, Whole = 0;
        Expect(First, true, Last, Whole);
        EXPECT_EQ(Grid->LastVisibleCol(First), Last) << First;
        EXPECT_EQ(Grid->CompVisibleCols(First), Whole) << First;
        Expect(First, false, Last, Whole);
        EXPECT_EQ(Grid->LastVisibleRow(First), Last) << First;
        EXPECT_EQ(Grid->CompVisibleRows(First), Whole) << First;
    }
    // From the top row on, and above it, hidden rows do not count.
    Grid->SetGridRowCount(80);
    Grid->SetTopRow(40);
    ASSERT_EQ(Grid->TopRow(), 40);
    int Last = 0, Whole = 0;
    Expect(40, false, Last, Whole);
    EXPECT_EQ(Grid->VisibleScrollRows(), Whole);
    Grid->SetRowVisible(Grid->GetDataRow(42), false);
    EXPECT_EQ(Grid->VisibleScrollRows(), Whole);
    EXPECT_EQ(Grid->PrevScrollRows(), Whole);
    Grid->SetRowVisible(Grid->GetDataRow(35), false);
    EXPECT_EQ(Grid->PrevScrollRows(), Whole);
    // Never into the frozen rows: from row 3 only rows 1 and 2 lie above.
    Grid->SetTopRow(3);
    EXPECT_EQ(Grid->PrevScrollRows(), 2);
    Grid->SetTopRow(1);
    EXPECT_EQ(Grid->PrevScrollRows(), 0);
    // Columns likewise.
    Grid->SetLeftCol(1);
    Expect(1, true, Last, Whole);
    EXPECT_EQ(Grid->VisibleScrollCols(), Whole);
    EXPECT_EQ(Grid->PrevScrollCols(), 0);
}

TEST_F(SizesRangesReading, PageLeftCountsColumnsBeforeTheLeftColumn) {
    Grid->SetGridColCount(12);
    for (int C = 1; C <= 12; ++C) Grid->GetCol(C)->SetWidth(100);
    Grid->SetLeftCol(8);
    ASSERT_EQ(Grid->LeftCol(), 8);
    // Columns of 100 (a width holds its line) in the space right of the
    // fixed area; the last column's line may fall outside.
    const int Space = ClientW() - Grid->FixedWidth() + Grid->VertLineWidth();
    EXPECT_EQ(Grid->PrevVisibleCols(), Space / 100);
    EXPECT_EQ(Grid->PrevScrollCols(), Space / 100);
    Grid->SetLeftCol(2);
    EXPECT_EQ(Grid->PrevVisibleCols(), 1);
    EXPECT_EQ(Grid->PrevScrollCols(), 1);
}

TEST_F(SizesRangesReading, LastShownColumnAndRow) {
    // Everything fits: the rightmost column and the bottommost row.
    Grid->SetGridColCount(3);
    Grid->SetGridRowCount(3);
    EXPECT_EQ(Grid->MaxVisibleCol(), 3);
    EXPECT_EQ(Grid->MaxVisibleRow(), 3);
    Grid->GetCol(3)->SetVisible(false);
    Grid->SetRowVisible(3, false);
    EXPECT_EQ(Grid->MaxVisibleCol(), 2);
    EXPECT_EQ(Grid->MaxVisibleRow(), 2);
    // The insertion row is the last row shown.
    Grid->SetRowVisible(3, true);
    Grid->SetGridMode(gmEditInsert);
    EXPECT_EQ(Grid->MaxVisibleRow(), Grid->RowCount() - 1);
    // More than fits: the one under the client area's edge.
    Grid->SetGridMode(gmEdit);
    Grid->SetGridColCount(20);
    Grid->SetGridRowCount(100);
    int C = 0, R = 0;
    Grid->ColFromX(ClientW() - 1, C);
    Grid->RowFromY(ClientH() - 1, R);
    EXPECT_EQ(Grid->MaxVisibleCol(), C);
    EXPECT_EQ(Grid->MaxVisibleRow(), R);
}

TEST_F(SizesRangesReading, WithoutAWindowEveryCountIsZero) {
    TgxGrid Lone(nullptr);
    Lone.SetGridColCount(5);
    Lone.SetGridRowCount(5);
    ASSERT_FALSE(Lone.HandleAllocated());
    EXPECT_EQ(Lone.LastVisibleCol(1), 0);
    EXPECT_EQ(Lone.LastVisibleRow(1), 0);
    EXPECT_EQ(Lone.CompVisibleCols(1), 0);
    EXPECT_EQ(Lone.CompVisibleRows(1), 0);
    EXPECT_EQ(Lone.PrevVisibleCols(), 0);
    EXPECT_EQ(Lone.PrevScrollRows(), 0);
    EXPECT_EQ(Lone.VisibleScrollRows(), 0);
    EXPECT_EQ(Lone.PrevScrollCols(), 0);
    EXPECT_EQ(Lone.VisibleScrollCols(), 0);
    EXPECT_EQ(Lone.GetVisibleColCount(), 0);
    EXPECT_EQ(Lone.GetVisibleRowCount(), 0);
}

TEST_F(SizesRangesReading, TopLeftChangesAreClampedAndReportedOnce) {
    Grid->SetGridRowCount(60);
    struct Report {
        int OldCol, OldRow, NewCol, NewRow;
        bool ByUser;
    };
    std::vector<Report> Log;
    Grid->OnTopLeftChanged = [&](TObject*, int OC, int OR, int NC, int NR, bool U) {
        Log.push_back({OC, OR, NC, NR, U});
    };
    Grid->SetTopRow(5);
    ASSERT_EQ(Log.size(), 1u);
    EXPECT_EQ(Log[0].OldRow, 1);
    EXPECT_EQ(Log[0].NewRow, 5);
    EXPECT_FALSE(Log[0].ByUser);
    Grid->SetTopRow(5);
    EXPECT_EQ(Log.size(), 1u);
    // Beyond the largest top row: clamped.
    Grid->SetTopRow(Grid->RowCount() - 1);
    EXPECT_EQ(Grid->TopRow(), Grid->GetMaxTopRow());
    ASSERT_EQ(Log.size(), 2u);
    EXPECT_EQ(Log[1].NewRow, Grid->GetMaxTopRow());
}

// Scrolling by the user's keys, wheel and scroll bar is reported as the user's.
TEST_F(SizesRangesReading, TopLeftMovedByTheUserIsReportedAsTheUsers) {
    Grid->SetGridRowCount(60);
    std::vector<bool> ByUser;
    Grid->OnTopLeftChanged = [&](TObject*, int, int, int, int, bool U) { ByUser.push_back(U); };
    struct Case {
        const char* What;
        TgxGridMode Mode;
        std::function<void()> Act;
    } Cases[] = {
        {"page key, editing", gmEdit, [&] { Press(Qt::Key_PageDown); }},
        {"page key, browsing", gmBrowse, [&] { Press(Qt::Key_PageDown); }},
        {"wheel", gmBrowse,
         [&] {
             QWheelEvent E(QPointF(50, 50), QPointF(Grid->Widget()->mapToGlobal(QPoint(50, 50))),
                           QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                           Qt::NoScrollPhase, false);
             QApplication::sendEvent(Grid->Widget(), &E);
             QApplication::processEvents();
         }},
    };
    for (const Case& C : Cases) {
        Grid->SetGridMode(C.Mode);
        GoTo(1, 1);
        Grid->SetTopRow(1);
        ByUser.clear();
        C.Act();
        // The wheel scrolls line by line, each line a change of its own.
        ASSERT_FALSE(ByUser.empty()) << C.What;
        for (bool U : ByUser) EXPECT_TRUE(U) << C.What;
    }
}

TEST_F(SizesRangesReading, SharedButtonsByType) {
    Grid->SetDefaultButtonWidth(13);
    Grid->SetDefaultButtonHeight(10);
    EXPECT_EQ(Grid->GridCellButton(1, btNone), nullptr);
    EXPECT_EQ(Grid->GridCellButton(1, btDefault), nullptr);
    TgxCustomButton* Combo = Grid->GridCellButton(1, btCombo);
    ASSERT_NE(Combo, nullptr);
    EXPECT_EQ(Combo->ClassName(), "TgxComboButton");
    EXPECT_EQ(Combo->GetWidth(), 13);
    EXPECT_EQ(Combo->GetHeight(), 10);
    EXPECT_EQ(Grid->GridCellButton(2, btCombo), Combo);
    EXPECT_EQ(Grid->GridCellButton(1, btNone), Combo);
    EXPECT_EQ(Grid->GridCellButton(1, btDefault), Combo);
    struct Case {
        TgxButtonType Type;
        const char* Class;
    } Cases[] = {{btNormal, "TgxNormalButton"},
                 {btVertSpin, "TgxVertSpinButton"},
                 {btHorzSpin, "TgxHorzSpinButton"},
                 {btDateTimeDropDown, "TgxDateTimeButton"},
                 {btDateTimePopup, "TgxDateTimeButton"}};
    std::vector<TgxCustomButton*> Seen{Combo};
    for (const Case& C : Cases) {
        TgxCustomButton* B = Grid->GridCellButton(1, C.Type);
        ASSERT_NE(B, nullptr) << C.Class;
        EXPECT_EQ(B->ClassName(), C.Class);
        EXPECT_EQ(Grid->GridCellButton(3, C.Type), B) << C.Class;
        for (TgxCustomButton* S : Seen) EXPECT_NE(S, B) << C.Class;
        Seen.push_back(B);
    }
    auto* Pop = static_cast<TgxDateTimeButton*>(Grid->GridCellButton(1, btDateTimePopup));
    auto* Drop = static_cast<TgxDateTimeButton*>(Grid->GridCellButton(1, btDateTimeDropDown));
    EXPECT_TRUE(Pop->Popup());
    EXPECT_FALSE(Drop->Popup());
    EXPECT_EQ(Drop->GetBitmap(), Grid->GridCellButton(1, btCombo)->GetBitmap());
    EXPECT_EQ(Pop->GetBitmap(), Grid->GridCellButton(1, btNormal)->GetBitmap());
    // A column with a button of its own answers with it.
    TBitmap Face;
    Face.SetSize(8, 8);
    Grid->GetCol(2)->CreateButton(&Face, clNone, 8, 8);
    TgxCustomButton* Own = Grid->GridCellButton(Grid->GetDisplayCol(2), btNormal);
    EXPECT_EQ(Own, Grid->GetCol(2)->Button());
    EXPECT_NE(Own, Grid->GridCellButton(1, btNormal));
}

TEST_F(SizesRangesReading, InPlaceControlsByType) {
    TgxCustomGridControl* Text = Grid->GridCellControl(ctText);
    TgxCustomGridControl* Check = Grid->GridCellControl(ctCheck);
    TgxCustomGridControl* Picture = Grid->GridCellControl(ctPicture);
    TgxCustomGridControl* Other = Grid->GridCellControl(ctNone);
    for (auto* C : {Text, Check, Picture, Other}) ASSERT_NE(C, nullptr);
    EXPECT_NE(Text, Check);
    EXPECT_NE(Text, Picture);
    EXPECT_NE(Check, Picture);
    EXPECT_EQ(Grid->GridCellControl(ctDefault), Other);
    EXPECT_NE(dynamic_cast<TgxCheckGridControl*>(Check), nullptr);
}

TEST_F(SizesRangesReading, CheckBoxPicturesAreUsedAtOnce) {
    Grid->SetGridMode(gmBrowse);
    Grid->GetCol(2)->SetControlType(ctCheck);
    Grid->SetCellValue(2, 1, 1);
    Grid->SetCellValue(2, 2, 0);
    Grid->SetCellValue(2, 3, 2);
    Grid->Update();
    struct Case {
        int Row;
        void (TgxBaseGrid::*Set)(TBitmap*);
        TColor Color;
    } Cases[] = {{1, &TgxBaseGrid::SetCheckBoxOnBitmap, clRed},
                 {2, &TgxBaseGrid::SetCheckBoxOffBitmap, clLime},
                 {3, &TgxBaseGrid::SetCheckBoxGrayedBitmap, clBlue}};
    for (const Case& C : Cases) {
        TBitmap B;
        B.SetSize(11, 11);
        B.Canvas()->Brush()->SetColor(C.Color);
        B.Canvas()->FillRect(Rect(0, 0, 11, 11));
        (Grid->*C.Set)(&B);
        Grid->Update();
        const TRect R = Grid->CellRect(Grid->GetDisplayCol(2), C.Row);
        int Hits = 0;
        for (int X = R.Left; X < R.Right; ++X)
            for (int Y = R.Top; Y < R.Bottom; ++Y)
                Hits += Grid->Canvas()->Pixels(X, Y) == C.Color;
        EXPECT_GT(Hits, 40) << C.Row;
    }
}

// The editor over the current cell follows its cell when sizes change.
TEST_F(SizesRangesReading, EditorFollowsItsCellWhenSizesChange) {
    GoTo(2, 2);
    ASSERT_NE(Grid->GridControl(), nullptr);
    auto* Editor = Grid->GridControl()->Control();
    ASSERT_NE(Editor, nullptr);
    ASSERT_TRUE(Editor->Visible());
    struct Step {
        const char* What;
        std::function<void()> Change;
    } Steps[] = {
        {"default width", [&] { Grid->SetDefaultColWidth(90); }},
        {"default height", [&] { Grid->SetDefaultRowHeight(30); }},
        {"first column", [&] { Grid->SetColWidths(1, 120); }},
        {"first row", [&] { Grid->SetRowHeights(1, 40); }},
    };
    for (const Step& S : Steps) {
        S.Change();
        QApplication::processEvents();
        const TRect Cell = Grid->CellRect(Grid->Col(), Grid->Row());
        const TRect At = Editor->BoundsRect();
        EXPECT_TRUE(At.Left >= Cell.Left && At.Right <= Cell.Right && At.Top >= Cell.Top &&
                    At.Bottom <= Cell.Bottom && At.Left - Cell.Left < 8 && At.Top - Cell.Top < 8)
            << S.What << ": editor " << At.Left << "," << At.Top << "-" << At.Right << ","
            << At.Bottom << " cell " << Cell.Left << "," << Cell.Top << "-" << Cell.Right << ","
            << Cell.Bottom;
    }
}

// Sizing a frozen column or row moves the edge of the fixed area.
TEST_F(SizesRangesReading, FrozenSizesMoveTheFixedArea) {
    Grid->SetFixedColCount(1);
    Grid->SetFixedRowCount(1);
    ASSERT_EQ(Grid->FixedCols(), 2);
    ASSERT_EQ(Grid->FixedRows(), 2);
    Grid->GetCol(1)->SetWidth(100);
    EXPECT_EQ(Grid->FixedWidth(), Grid->ColWidths(0) + 100);
    Grid->SetRowHeight(1, 40);
    EXPECT_EQ(Grid->FixedHeight(), Grid->RowHeights(0) + 40);
    Grid->SetColWidths(1, 50);
    EXPECT_EQ(Grid->FixedWidth(), Grid->ColWidths(0) + 50);
    EXPECT_EQ(Grid->GetCol(1)->Width(), 50);
}

// Fewer rows than the top row needs: the top-left is pulled back and that is
// reported once.
TEST_F(SizesRangesReading, TopLeftPulledBackByFewerRowsIsReportedOnce) {
    Grid->SetGridRowCount(60);
    Grid->SetTopRow(40);
    ASSERT_EQ(Grid->TopRow(), 40);
    std::vector<int> NewRows;
    Grid->OnTopLeftChanged = [&](TObject*, int, int, int, int NR, bool) { NewRows.push_back(NR); };
    Grid->SetGridRowCount(10);
    EXPECT_EQ(Grid->TopRow(), 1);
    EXPECT_EQ(NewRows, std::vector<int>{1});
}

// A width the user drags, one set on the base control or a new default
// width is not the column's own width: a double-click on the edge brings
// that back.
TEST_F(SizesRangesReading, DoubleClickOnTheEdgeRestoresTheColumnsOwnWidth) {
    Grid->GetCol(2)->SetWidth(90);
    const int Y = Grid->RowHeights(0) / 2;
    QWidget* W = Grid->Widget();
    auto Edge = [&] { return Grid->CalcColOffset(2) + Grid->ColWidths(2) - 1; };
    struct Case {
        const char* What;
        std::function<void()> Size;
    } Cases[] = {
        {"dragged",
         [&] {
             const int E = Edge();
             SendMouse(W, QEvent::MouseMove, QPoint(E, Y), Qt::NoButton);
             SendMouse(W, QEvent::MouseButtonPress, QPoint(E, Y));
             SendMouse(W, QEvent::MouseMove, QPoint(E + 60, Y), Qt::NoButton, Qt::LeftButton);
             SendMouse(W, QEvent::MouseButtonRelease, QPoint(E + 60, Y));
             QApplication::processEvents();
         }},
        {"set on the base control", [&] { Grid->SetColWidths(2, 150); }},
        {"the default width changed", [&] { Grid->SetDefaultColWidth(130); }},
    };
    for (const Case& C : Cases) {
        C.Size();
        ASSERT_GT(Grid->ColWidths(2), 120) << C.What;
        const int E = Edge();
        SendMouse(W, QEvent::MouseMove, QPoint(E, Y), Qt::NoButton);
        SendMouse(W, QEvent::MouseButtonPress, QPoint(E, Y));
        SendMouse(W, QEvent::MouseButtonRelease, QPoint(E, Y));
        SendMouse(W, QEvent::MouseButtonDblClick, QPoint(E, Y));
        SendMouse(W, QEvent::MouseButtonRelease, QPoint(E, Y));
        QApplication::processEvents();
        EXPECT_EQ(Grid->ColWidths(2), 90) << C.What;
        EXPECT_EQ(Grid->GetCol(2)->Width(), 90) << C.What;
    }
}

// Dragging a column's or a row's edge leaves the grid's image as a fresh
// paint shows it, and the editor over its cell.
TEST_F(SizesRangesReading, DraggedEdgesLeaveTheImageAsAFreshPaint) {
    for (int R = 1; R <= 5; ++R) Grid->SetCellValue(1 + R % 3, R, "text");
    GoTo(2, 3);
    QWidget* W = Grid->Widget();
    struct Case {
        const char* What;
        bool Column;
        int Index, By;
    } Cases[] = {{"column wider", true, 1, 40}, {"column narrower", true, 2, -30},
                 {"row taller", false, 1, 12}, {"row lower", false, 2, -5}};
    for (const Case& C : Cases) {
        QPoint From, To;
        if (C.Column) {
            const int E = Grid->CalcColOffset(C.Index) + Grid->ColWidths(C.Index) - 1;
            From = QPoint(E, Grid->RowHeights(0) / 2);
            To = QPoint(E + C.By, From.y());
        } else {
            const int E = Grid->CalcRowOffset(C.Index) + Grid->RowHeights(C.Index) - 1;
            From = QPoint(Grid->ColWidths(0) / 2, E);
            To = QPoint(From.x(), E + C.By);
        }
        SendMouse(W, QEvent::MouseMove, From, Qt::NoButton);
        SendMouse(W, QEvent::MouseButtonPress, From);
        SendMouse(W, QEvent::MouseMove, To, Qt::NoButton, Qt::LeftButton);
        SendMouse(W, QEvent::MouseButtonRelease, To);
        QApplication::processEvents();
        Grid->Update();
        TBitmap Shot;
        Shot.SetSize(Grid->Width(), Grid->Height());
        Grid->PaintTo(Shot.Canvas());
        const int F = Grid->WindowFrameWidth();
        const TRect Client = Grid->ClientRect();
        const TRect Cur = Grid->CellRect(Grid->Col(), Grid->Row());
        int Differ = 0;
        for (int X = 0; X < Client.Right; ++X)
            for (int Y = 0; Y < Client.Bottom; ++Y) {
                // The editor's cell is the editor's to show.
                if (X >= Cur.Left && X < Cur.Right && Y >= Cur.Top && Y < Cur.Bottom) continue;
                Differ += Px(X, Y) != Shot.Canvas()->Pixels(X + F, Y + F);
            }
        EXPECT_EQ(Differ, 0) << C.What;
        const TRect At = Grid->GridControl()->Control()->BoundsRect();
        EXPECT_TRUE(At.Left >= Cur.Left && At.Right <= Cur.Right && At.Top >= Cur.Top &&
                    At.Bottom <= Cur.Bottom)
            << C.What;
    }
}

// Likewise a dragged row height gives way to the row's own.
TEST_F(SizesRangesReading, DoubleClickOnARowEdgeRestoresTheRowsOwnHeight) {
    Grid->SetResizeRows(rrSingle);
    Grid->SetRowHeight(2, 30);
    std::vector<int> Resized;
    Grid->OnRowResized = [&](TObject*, int R) { Resized.push_back(R); };
    QWidget* W = Grid->Widget();
    const int X = Grid->ColWidths(0) / 2;
    auto Edge = [&] { return Grid->CalcRowOffset(2) + Grid->RowHeights(2) - 1; };
    int E = Edge();
    SendMouse(W, QEvent::MouseMove, QPoint(X, E), Qt::NoButton);
    SendMouse(W, QEvent::MouseButtonPress, QPoint(X, E));
    SendMouse(W, QEvent::MouseMove, QPoint(X, E + 20), Qt::NoButton, Qt::LeftButton);
    SendMouse(W, QEvent::MouseButtonRelease, QPoint(X, E + 20));
    QApplication::processEvents();
    ASSERT_EQ(Grid->RowHeights(2), 50);
    EXPECT_EQ(Grid->GetRowHeight(2), 50);
    EXPECT_EQ(Resized, std::vector<int>{2});
    EXPECT_EQ(Grid->RowHeights(3), Grid->DefaultRowHeight());
    E = Edge();
    SendMouse(W, QEvent::MouseMove, QPoint(X, E), Qt::NoButton);
    SendMouse(W, QEvent::MouseButtonPress, QPoint(X, E));
    SendMouse(W, QEvent::MouseButtonRelease, QPoint(X, E));
    SendMouse(W, QEvent::MouseButtonDblClick, QPoint(X, E));
    SendMouse(W, QEvent::MouseButtonRelease, QPoint(X, E));
    QApplication::processEvents();
    EXPECT_EQ(Grid->RowHeights(2), 30);
    EXPECT_EQ(Grid->GetRowHeight(2), 30);
}

} // namespace
