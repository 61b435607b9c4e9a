// Row heights and column widths kept in step with the base control's pixel
// sizes, the counts of rows and columns that fit, the top-left reports and
// the grid's shared cell buttons and in-place controls.
#include "ShownGridFixture.h"
#include "grid/model/CellButtons.h"
#include "grid/model/Columns.h"
#include "grid/model/ControlWrappers.h"
#include "grid/model/GridControl.h"
#include "grid/model/InplaceControl.h"
#include "grid/model/Rows.h"
#include "platform/gui/Messages.h"
#include "platform/gui/tests/GuiTestSupport.h"

#include <QApplication>

#include <tuple>
#include <vector>

using namespace grid;

namespace {

class SizesVisibleReading : public ShownGridFixture {
protected:
    void Show(int Cols, int Rows) {
        ShowGrid(Cols, Rows);
        QApplication::processEvents();
    }
};

TEST_F(SizesVisibleReading, PixelRowHeightsReachTheRowObjects) {
    Show(4, 10);
    std::vector<int> Resized;
    Grid->OnRowResized = [&](TObject*, int R) { Resized.push_back(R); };
    Grid->SetRowHeights(3, 40);
    EXPECT_EQ(Grid->GetRowHeight(Grid->GetDataRow(3)), 40);
    // A pixel change may touch any row: the report names none.
    EXPECT_EQ(Resized, std::vector<int>{-1});
    EXPECT_EQ(Grid->GetRow(Grid->GetDataRow(3))->SetHeightValue(), 40);
    Grid->SetRowHeights(4, -5);
    EXPECT_EQ(Grid->RowHeights(4), 0);
    EXPECT_EQ(Grid->GetRowHeight(Grid->GetDataRow(4)), 0);
}

TEST_F(SizesVisibleReading, PixelColWidthsReachTheColumnObjects) {
    Show(4, 10);
    std::vector<int> Resized;
    Grid->OnColResized = [&](TObject*, int C) { Resized.push_back(C); };
    Grid->SetColWidths(2, 120);
    EXPECT_EQ(Grid->GetCol(Variant(Grid->GetDataCol(2)))->Width(), 120);
    EXPECT_EQ(Resized, std::vector<int>{-1});
    // The width a reset returns to stays the column's own.
    EXPECT_EQ(Grid->GetCol(Variant(Grid->GetDataCol(2)))->SetWidthValue(), 64);
    Grid->SetColWidths(3, -7);
    EXPECT_EQ(Grid->ColWidths(3), 0);
    EXPECT_EQ(Grid->GetCol(Variant(Grid->GetDataCol(3)))->Width(), 0);
    // A drop-down list grid keeps the widths it is given.
    Grid->SetIsComboGrid(true);
    Grid->SetColWidths(4, 90);
    EXPECT_EQ(Grid->GetCol(Variant(Grid->GetDataCol(4)))->SetWidthValue(), 90);
}

TEST_F(SizesVisibleReading, ZeroDefaultsMakeEveryRowAndColumnOnePixel) {
    Show(4, 6);
    Grid->SetDefaultRowHeight(0);
    EXPECT_EQ(Grid->DefaultRowHeight(), 1);
    for (int R = 1; R <= 6; ++R) {
        EXPECT_EQ(Grid->RowHeights(R), 1) << R;
        EXPECT_EQ(Grid->GetRowHeight(R), 1) << R;
    }
    Grid->SetDefaultColWidth(0);
    EXPECT_EQ(Grid->DefaultColWidth(), 1);
    for (int C = 1; C <= 4; ++C) {
        EXPECT_EQ(Grid->ColWidths(C), 1) << C;
        EXPECT_EQ(Grid->GetCol(Variant(C))->Width(), 1) << C;
    }
}

TEST_F(SizesVisibleReading, HidingKeepsTheStoredSize) {
    Show(4, 6);
    Grid->SetRowHeight(3, 33);
    Grid->SetRowVisible(3, false);
    EXPECT_EQ(Grid->RowHeights(Grid->GetDisplayRow(3)), 0);
    EXPECT_EQ(Grid->GetRowHeight(3), 33);
    Grid->SetRowVisible(3, true);
    EXPECT_EQ(Grid->RowHeights(Grid->GetDisplayRow(3)), 33);

    Grid->GetCol(Variant(2))->SetWidth(77);
    Grid->GetCol(Variant(2))->SetVisible(false);
    EXPECT_EQ(Grid->ColWidths(Grid->GetDisplayCol(2)), 0);
    EXPECT_EQ(Grid->GetCol(Variant(2))->Width(), 77);
    Grid->GetCol(Variant(2))->SetVisible(true);
    EXPECT_EQ(Grid->ColWidths(Grid->GetDisplayCol(2)), 77);
}

TEST_F(SizesVisibleReading, HeadingAndRowBarFollowTheirSwitches) {
    Show(4, 6);
    const int Heading = Grid->GetHeadingHeight();
    const int RowBar = Grid->GetRowBarWidth();
    Grid->SetRowHeights(0, Heading + 20);
    EXPECT_EQ(Grid->RowHeights(0), Heading);
    Grid->SetColWidths(0, RowBar + 20);
    EXPECT_EQ(Grid->ColWidths(0), RowBar);
    Grid->SetHeadingOn(false);
    EXPECT_EQ(Grid->RowHeights(0), 0);
    Grid->SetRowBarOn(false);
    EXPECT_EQ(Grid->ColWidths(0), 0);
}

TEST_F(SizesVisibleReading, FrozenSizesMoveTheFixedArea) {
    Show(6, 10);
    Grid->SetFixedRowCount(1);
    Grid->SetFixedColCount(1);
    const int H = Grid->FixedHeight();
    const int W = Grid->FixedWidth();
    Grid->SetRowHeights(1, Grid->RowHeights(1) + 10);
    EXPECT_EQ(Grid->FixedHeight(), H + 10);
    Grid->SetColWidths(1, Grid->ColWidths(1) + 15);
    EXPECT_EQ(Grid->FixedWidth(), W + 15);
}

TEST_F(SizesVisibleReading, WideColumnsBringTheHorizontalBar) {
    Show(3, 3);
    EXPECT_FALSE(Grid->GetHorzScrollBarVisible());
    Grid->SetColWidths(2, 600);
    EXPECT_TRUE(Grid->GetHorzScrollBarVisible());
    EXPECT_FALSE(Grid->GetVertScrollBarVisible());
    Grid->SetRowHeights(2, 600);
    EXPECT_TRUE(Grid->GetVertScrollBarVisible());
}

struct TTopLeftReport {
    int OldCol, OldRow, NewCol, NewRow;
    bool ByUser;
};

TEST_F(SizesVisibleReading, TopLeftChangesAreReportedOnce) {
    Show(4, 60);
    std::vector<TTopLeftReport> Reports;
    Grid->OnTopLeftChanged = [&](TObject*, int OC, int OR, int NC, int NR, bool U) {
        Reports.push_back({OC, OR, NC, NR, U});
    };
    Grid->SetTopRow(5);
    ASSERT_EQ(Reports.size(), 1u);
    EXPECT_EQ(Reports[0].OldRow, 1);
    EXPECT_EQ(Reports[0].NewRow, 5);
    EXPECT_EQ(Reports[0].OldCol, 1);
    EXPECT_EQ(Reports[0].NewCol, 1);
    EXPECT_FALSE(Reports[0].ByUser);
    EXPECT_EQ(Grid->GetVertScrollPos(), 5);
    Grid->SetTopRow(5);
    EXPECT_EQ(Reports.size(), 1u);

    Grid->SetTopRow(59);
    ASSERT_EQ(Reports.size(), 2u);
    EXPECT_EQ(Reports[1].NewRow, Grid->GetMaxTopRow());
    EXPECT_EQ(Grid->TopRow(), Grid->GetMaxTopRow());

    Grid->SetTopRow(1);
    Reports.clear();
    ShowActive(*Form);
    Grid->SetFocus();
    QApplication::processEvents();
    TypeKey(Grid->Widget(), Qt::Key_PageDown);
    QApplication::processEvents();
    ASSERT_EQ(Reports.size(), 1u);
    EXPECT_TRUE(Reports[0].ByUser);
    EXPECT_EQ(Reports[0].NewRow, Grid->TopRow());
    const int Before = Grid->TopRow();
    Grid->Perform(WM_VSCROLL, SB_LINEDOWN, 0);
    QApplication::processEvents();
    ASSERT_EQ(Reports.size(), 2u);
    EXPECT_TRUE(Reports[1].ByUser);
    EXPECT_EQ(Reports[1].OldRow, Before);
    EXPECT_EQ(Reports[1].NewRow, Before + 1);
    EXPECT_EQ(Grid->GetVertScrollPos(), Before + 1);
}

TEST_F(SizesVisibleReading, AGrowingWindowPullsTheTopLeftBack) {
    Show(4, 30);
    Grid->SetTopRow(Grid->GetMaxTopRow());
    const int Top = Grid->TopRow();
    std::vector<TTopLeftReport> Reports;
    Grid->OnTopLeftChanged = [&](TObject*, int OC, int OR, int NC, int NR, bool U) {
        Reports.push_back({OC, OR, NC, NR, U});
    };
    Grid->SetBounds(0, 0, 400, 380);
    QApplication::processEvents();
    EXPECT_LT(Grid->TopRow(), Top);
    EXPECT_EQ(Grid->TopRow(), Grid->GetMaxTopRow());
    ASSERT_EQ(Reports.size(), 1u);
    EXPECT_EQ(Reports[0].NewRow, Grid->TopRow());
}

TEST_F(SizesVisibleReading, WithoutAWindowNothingIsVisible) {
    EnsureQtApplication();
    TgxGrid Lone(nullptr);
    Lone.SetGridColCount(5);
    Lone.SetGridRowCount(5);
    ASSERT_FALSE(Lone.HandleAllocated());
    const std::vector<std::pair<const char*, int>> Counts = {
        {"LastVisibleCol", Lone.LastVisibleCol(1)},   {"LastVisibleRow", Lone.LastVisibleRow(1)},
        {"CompVisibleCols", Lone.CompVisibleCols(1)}, {"CompVisibleRows", Lone.CompVisibleRows(1)},
        {"PrevVisibleCols", Lone.PrevVisibleCols()},  {"PrevScrollRows", Lone.PrevScrollRows()},
        {"VisibleScrollRows", Lone.VisibleScrollRows()}, {"PrevScrollCols", Lone.PrevScrollCols()},
        {"VisibleScrollCols", Lone.VisibleScrollCols()}, {"MaxVisibleCol", Lone.MaxVisibleCol()},
        {"MaxVisibleRow", Lone.MaxVisibleRow()}};
    for (const auto& [Name, N] : Counts) EXPECT_EQ(N, 0) << Name;
}

// Ten columns of 64 and forty rows of 14 in a client of 382 x 282 with a
// row bar of 14 and a heading of 15, scrolled to column 3 and row 10.
TEST_F(SizesVisibleReading, CountsFollowTheClientArea) {
    Show(10, 40);
    Grid->SetTopRow(10);
    Grid->SetLeftCol(3);
    ASSERT_EQ(Grid->ClientWidth(), 382);
    ASSERT_EQ(Grid->ClientHeight(), 282);
    const std::vector<std::pair<const char*, std::pair<int, int>>> Counts = {
        {"LastVisibleCol", {Grid->LastVisibleCol(3), 8}},
        {"LastVisibleRow", {Grid->LastVisibleRow(10), 29}},
        {"CompVisibleCols", {Grid->CompVisibleCols(3), 5}},
        {"CompVisibleRows", {Grid->CompVisibleRows(10), 19}},
        {"PrevVisibleCols", {Grid->PrevVisibleCols(), 2}},
        {"PrevScrollRows", {Grid->PrevScrollRows(), 9}},
        {"PrevScrollCols", {Grid->PrevScrollCols(), 2}},
        {"VisibleScrollRows", {Grid->VisibleScrollRows(), 19}},
        {"VisibleScrollCols", {Grid->VisibleScrollCols(), 5}},
        {"MaxVisibleCol", {Grid->MaxVisibleCol(), 8}},
        {"MaxVisibleRow", {Grid->MaxVisibleRow(), 29}}};
    for (const auto& [Name, Got] : Counts) EXPECT_EQ(Got.first, Got.second) << Name;

    // Hidden rows take no room in the scroll counts.
    Grid->SetRowVisible(Grid->GetDataRow(5), false);
    Grid->SetRowVisible(Grid->GetDataRow(15), false);
    EXPECT_EQ(Grid->PrevScrollRows(), 8);
    EXPECT_EQ(Grid->VisibleScrollRows(), 19);
    EXPECT_EQ(Grid->LastVisibleRow(10), 30);
}

TEST_F(SizesVisibleReading, LastShownRowAndColumnWhenAllFit) {
    Show(4, 3);
    EXPECT_EQ(Grid->MaxVisibleRow(), 3);
    EXPECT_EQ(Grid->MaxVisibleCol(), 4);
    Grid->GetCol(Variant(Grid->GetDataCol(4)))->SetVisible(false);
    Grid->SetRowVisible(Grid->GetDataRow(3), false);
    EXPECT_EQ(Grid->MaxVisibleCol(), 3);
    EXPECT_EQ(Grid->MaxVisibleRow(), 2);
    Grid->SetRowVisible(Grid->GetDataRow(3), true);
    Grid->SetGridMode(gmEditInsert);
    QApplication::processEvents();
    EXPECT_EQ(Grid->MaxVisibleRow(), Grid->RowCount() - 1);
    EXPECT_EQ(Grid->MaxVisibleRow(), 4);
}

TEST_F(SizesVisibleReading, TheEditorFollowsARowAboveIt) {
    Show(4, 10);
    ShowActive(*Form);
    Grid->SetFocus();
    QApplication::processEvents();
    TypeKey(Grid->Widget(), Qt::Key_Right);
    for (int I = 0; I < 3; ++I) TypeKey(Grid->Widget(), Qt::Key_Down);
    QApplication::processEvents();
    ASSERT_EQ(Grid->Col(), 2);
    ASSERT_EQ(Grid->Row(), 4);
    TgxCustomGridControl* Control = Grid->GridControl();
    ASSERT_NE(Control, nullptr);
    ASSERT_TRUE(Control->GetVisible());
    const int Top = Control->Control()->Top();
    EXPECT_EQ(Top, Grid->CellRect(2, 4).Top);
    Grid->SetRowHeights(2, Grid->RowHeights(2) + 12);
    QApplication::processEvents();
    EXPECT_EQ(Control->Control()->Top(), Top + 12);
    const int Left = Control->Control()->Left();
    Grid->SetColWidths(1, Grid->ColWidths(1) + 9);
    QApplication::processEvents();
    EXPECT_EQ(Control->Control()->Left(), Left + 9);
}

TEST_F(SizesVisibleReading, CheckBoxPicturesShowInTheirStates) {
    Show(3, 3);
    Grid->SetStoreData(true);
    Grid->GetCol(Variant(2))->SetControlType(ctCheck);
    Grid->SetCellValue(2, 1, Variant(1));
    Grid->SetCellValue(2, 2, Variant(0));
    Grid->SetCellValue(2, 3, Variant(2));
    const TColor Faces[3] = {static_cast<TColor>(0x0000FF), static_cast<TColor>(0x00FF00),
                             static_cast<TColor>(0xFF0000)};
    TBitmap Bitmaps[3];
    for (int I = 0; I < 3; ++I) {
        Bitmaps[I].SetSize(13, 13);
        Bitmaps[I].Canvas()->Brush()->SetColor(Faces[I]);
        Bitmaps[I].Canvas()->FillRect(Rect(0, 0, 13, 13));
    }
    QApplication::processEvents();
    Grid->SetCheckBoxOnBitmap(&Bitmaps[0]);
    Grid->SetCheckBoxOffBitmap(&Bitmaps[1]);
    Grid->SetCheckBoxGrayedBitmap(&Bitmaps[2]);
    QApplication::processEvents();
    const QImage Image = Grid->Widget()->grab().toImage();
    const TPoint O = Grid->ClientToScreen(Point(0, 0));
    const TPoint W = Grid->Parent()->ClientToScreen(Point(Grid->Left(), Grid->Top()));
    for (int R = 1; R <= 3; ++R) {
        const TRect Cell = Grid->CellRect(Grid->GetDisplayCol(2), Grid->GetDisplayRow(R));
        int Found[3] = {0, 0, 0};
        for (int Y = Cell.Top; Y < Cell.Bottom; ++Y)
            for (int X = Cell.Left; X < Cell.Right; ++X) {
                const QRgb P = Image.pixel(O.X - W.X + X, O.Y - W.Y + Y);
                const TColor C = static_cast<TColor>(qRed(P) | qGreen(P) << 8 | qBlue(P) << 16);
                for (int I = 0; I < 3; ++I) Found[I] += C == Faces[I];
            }
        for (int I = 0; I < 3; ++I)
            EXPECT_EQ(Found[I] > 0, I == R - 1) << "row " << R << " face " << I;
    }
}

TEST_F(SizesVisibleReading, SharedButtonsByType) {
    Show(4, 4);
    EXPECT_EQ(Grid->GridCellButton(1, btNone), nullptr);
    EXPECT_EQ(Grid->GridCellButton(1, btDefault), nullptr);
    Grid->SetDefaultButtonWidth(12);
    Grid->SetDefaultButtonHeight(8);
    Grid->SetSpinButtonWidth(10);
    Grid->SetSpinButtonHeight(7);
    // A horizontal spin button lies on its side.
    const std::vector<std::tuple<TgxButtonType, const char*, int, int>> Kinds = {
        {btCombo, "TgxComboButton", 12, 8},
        {btNormal, "TgxNormalButton", 12, 8},
        {btVertSpin, "TgxVertSpinButton", 10, 7},
        {btHorzSpin, "TgxHorzSpinButton", 7, 10},
        {btDateTimeDropDown, "TgxDateTimeButton", 12, 8},
        {btDateTimePopup, "TgxDateTimeButton", 12, 8}};
    for (const auto& [Type, Class, Width, Height] : Kinds) {
        TgxCustomButton* B = Grid->GridCellButton(1, Type);
        ASSERT_NE(B, nullptr) << Class;
        EXPECT_EQ(B->ClassName(), AnsiString(Class));
        EXPECT_EQ(B, Grid->GridCellButton(2, Type)) << Class;
        EXPECT_EQ(B->GetWidth(), Width) << Class;
        EXPECT_EQ(B->GetHeight(), Height) << Class;
    }
    auto* Drop = static_cast<TgxDateTimeButton*>(Grid->GridCellButton(1, btDateTimeDropDown));
    auto* Pop = static_cast<TgxDateTimeButton*>(Grid->GridCellButton(1, btDateTimePopup));
    EXPECT_NE(Drop, Pop);
    EXPECT_FALSE(Drop->Popup());
    EXPECT_TRUE(Pop->Popup());
    EXPECT_EQ(Grid->GridCellButton(1, btNone), Grid->GridCellButton(1, btCombo));
    EXPECT_EQ(Grid->GridCellButton(1, btDefault), Grid->GridCellButton(1, btCombo));

    TBitmap Face;
    Face.SetSize(8, 8);
    Grid->GetCol(Variant(2))->CreateButton(&Face, clNone, 8, 8);
    const int Display2 = Grid->GetDisplayCol(2);
    EXPECT_EQ(Grid->GridCellButton(Display2, btNormal), Grid->GetCol(Variant(2))->Button());
    EXPECT_NE(Grid->GridCellButton(Grid->GetDisplayCol(1), btNormal),
              Grid->GetCol(Variant(2))->Button());
}

TEST_F(SizesVisibleReading, ControlsByType) {
    Show(4, 4);
    EXPECT_NE(dynamic_cast<TgxEditGridControl*>(Grid->GridCellControl(ctText)), nullptr);
    EXPECT_NE(dynamic_cast<TgxCheckGridControl*>(Grid->GridCellControl(ctCheck)), nullptr);
    for (const TgxControlType Type : {ctPicture, ctNone, ctDefault})
        EXPECT_NE(dynamic_cast<TgxDefaultGridControl*>(Grid->GridCellControl(Type)), nullptr)
            << static_cast<int>(Type);
    // Pictures have a default control of their own.
    EXPECT_NE(Grid->GridCellControl(ctPicture), Grid->GridCellControl(ctNone));
    EXPECT_EQ(Grid->GridCellControl(ctNone), Grid->GridCellControl(ctDefault));
}

} // namespace
