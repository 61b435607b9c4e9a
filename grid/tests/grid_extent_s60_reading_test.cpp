// The grid-level settings that repaint or pass themselves on, the visible
// extent, direct resizing, scaling and the heading's HTML style.
#include "ShownGridPixels.h"
#include "StubDateTimeDef.h"
#include "grid/model/Columns.h"
#include "grid/model/Combo.h"
#include "grid/foundation/ImageList.h"
#include "grid/model/GridLinks.h"
#include "grid/model/Rows.h"
#include "platform/rtl/Exceptions.h"

#include <functional>
#include <string>
#include <vector>

using namespace grid;

namespace {

class GridExtentReading : public ShownGridPixels {
protected:
    // A browsing grid with text in every data cell and the current cell at (2, 2).
    void ShowFilled() {
        ShowFocused(4, 5);
        for (int C = 1; C <= 4; ++C)
            for (int R = 1; R <= 5; ++R) Grid->SetCellValue(C, R, Variant(AnsiString("WWWW")));
        Shot();
    }
    // What the window shows now, and what a full repaint would show.
    void ExpectNoStalePixels(const char* What) {
        const QImage Now = Shot();
        Grid->Invalidate();
        const QImage Full = Shot();
        EXPECT_TRUE(Now == Full) << What << ": the window kept pixels of the old setting";
    }
};

// Each setter has a visible effect, and nothing of the old look stays behind.
TEST_F(GridExtentReading, LookSettersRepaintWhatTheyChange) {
    struct Case {
        const char* Name;
        std::function<void(TgxBaseGrid&)> Prepare;
        std::function<void(TgxBaseGrid&)> Change;
    };
    const auto SelectRow = [](TgxBaseGrid& G) {
        G.SetSelectionType(sltColor);
        G.SetRowSelectMode(rsMulti);
        G.SelectRows(3, 3, true);
        ASSERT_EQ(G.GridStatus(), grRowSelect);
    };
    const std::vector<Case> Cases = {
        {"SelectionColor", SelectRow, [](TgxBaseGrid& G) { G.SetSelectionColor(clRed); }},
        {"SelectionFontColor", SelectRow, [](TgxBaseGrid& G) { G.SetSelectionFontColor(clLime); }},
        {"SelectionType", SelectRow,
         [](TgxBaseGrid& G) {
             G.SetSelectionType(sltInvert);
         }},
        {"FocusColor", nullptr, [](TgxBaseGrid& G) { G.SetFocusColor(clYellow); }},
        {"FocusFontColor", nullptr,
         [](TgxBaseGrid& G) {
             G.SetFocusColor(clYellow);
             G.SetFocusFontColor(clRed);
         }},
        {"FocusBorderColor", [](TgxBaseGrid& G) { G.SetFocusBorder(fbSingle); },
         [](TgxBaseGrid& G) { G.SetFocusBorderColor(clRed); }},
        {"FocusBorder double to dot", [](TgxBaseGrid& G) { G.SetFocusBorder(fbDouble); },
         [](TgxBaseGrid& G) { G.SetFocusBorder(fbDot); }},
        {"FocusBorder none to single", [](TgxBaseGrid& G) { G.SetFocusBorder(fbNone); },
         [](TgxBaseGrid& G) { G.SetFocusBorder(fbSingle); }},
    };
    for (const Case& C : Cases) {
        ShowFilled();
        Grid->SetAlwaysShowFocus(true);
        if (C.Prepare) C.Prepare(*Grid);
        Grid->Invalidate();
        const QImage Before = Shot();
        C.Change(*Grid);
        EXPECT_FALSE(Shot() == Before) << C.Name << ": nothing changed on screen";
        ExpectNoStalePixels(C.Name);
        delete Form;
        Form = nullptr;
    }
}

// A selected picture cell is overlaid with the selection colour; a colour
// given after there was none brings the overlay.
TEST_F(GridExtentReading, SelectionColourReachesPictureCells) {
    ShowFocused(3, 4);
    auto* Pictures = new TgxImageList(Form);
    TgxImage* Image = Pictures->Images()->Add();
    Image->SetRefName("pic");
    TBitmap Bitmap;
    Bitmap.SetSize(40, 12);
    Bitmap.Canvas()->Brush()->SetColor(clWhite);
    Bitmap.Canvas()->FillRect(Rect(0, 0, 40, 12));
    Image->SetBitmap(&Bitmap);
    Grid->SetImageList(Pictures);
    Grid->GridCols()->Item(1)->SetControlType(ctPicture);
    for (int R = 1; R <= 4; ++R) Grid->SetCellValue(1, R, Variant(AnsiString("pic")));
    Grid->SetSelectionType(sltColor);
    Grid->SetSelectionColor(clNone);
    Grid->SetFocusColor(clNone);
    Grid->SetRowSelectMode(rsMulti);
    Grid->SelectRows(3, 3, true);
    const TRect Cell = Grid->CellRect(1, 3);
    Shot();
    ASSERT_EQ(CountOf(Cell, clRed), 0);
    Grid->SetSelectionColor(clRed);
    Shot();
    EXPECT_GT(CountOf(Cell, clRed), 0) << "no overlay in the new selection colour";
    ExpectNoStalePixels("SelectionColor over a picture");
}

TEST_F(GridExtentReading, CheckBoxSettingsReachTheCellsAndTheirControl) {
    ShowFilled();
    Grid->SetName("Grid1");
    Grid->GridCols()->Item(1)->SetControlType(ctCheck);
    Grid->SetCellValue(1, 1, Variant(AnsiString("Yes")));
    Grid->SetCellValue(1, 2, Variant(AnsiString("No")));
    Shot();
    const QImage Before = Shot();
    Grid->SetCheckBoxValues("Yes|No");
    EXPECT_EQ(Grid->CheckBoxValues(), "Yes|No");
    EXPECT_FALSE(Shot() == Before) << "the check cells were not repainted for the new values";
    ExpectNoStalePixels("CheckBoxValues");

    const QImage Styled = Shot();
    Grid->SetCheckBoxStyle(Grid->CheckBoxStyle() == stCross ? stCheck : stCross);
    EXPECT_FALSE(Shot() == Styled) << "the check cells were not repainted for the new style";
    ExpectNoStalePixels("CheckBoxStyle");

    // A text without a bar is refused with the format, and nothing changes.
    for (const char* Bad : {"Yes", "Yes|", "A|B|C|D"}) {
        try {
            Grid->SetCheckBoxValues(Bad);
            ADD_FAILURE() << "accepted '" << Bad << "'";
        } catch (const Exception& E) {
            EXPECT_EQ(E.Message,
                      "Grid1: Invalid CheckBoxValues. CheckBoxValues have the format "
                      "'Checked|Unchecked|Grayed'. The Grayed value is optional")
                << Bad;
        }
        EXPECT_EQ(Grid->CheckBoxValues(), "Yes|No") << Bad;
    }
}

// The shown check control takes the new values and style: a space typed
// into it writes the checked text, and its picture follows the style.
TEST_F(GridExtentReading, CheckControlOfTheCurrentCellTakesTheNewSettings) {
    ShowGrid(3, 3);
    Grid->SetStoreData(true);
    Grid->SetGridMode(gmEdit);
    Grid->GridCols()->Item(1)->SetControlType(ctCheck);
    Grid->SetCheckBoxValues("Yes|No");
    Grid->SetCellValue(1, 1, Variant(AnsiString("No")));
    ShowActive(*Form);
    Grid->SetFocus();
    Grid->SetCol(1);
    Grid->SetRow(1);
    QApplication::processEvents();
    Grid->SetCheckBoxValues("On|No");
    const QImage Before = Shot();
    Grid->SetCheckBoxStyle(Grid->CheckBoxStyle() == stCross ? stCheck : stCross);
    EXPECT_FALSE(Shot() == Before) << "the shown check box kept its old look";
    ExpectNoStalePixels("CheckBoxStyle with the control shown");
    QWidget* Focused = QApplication::focusWidget();
    ASSERT_NE(Focused, nullptr);
    TypeKey(Focused, Qt::Key_Space, " ");
    QApplication::processEvents();
    EXPECT_EQ(Grid->GetCellValue(1, 1), Variant(AnsiString("On")));
}

TEST_F(GridExtentReading, DateTimeDefinitionMovesTheGridsLink) {
    ShowGrid(3, 3);
    auto* First = new StubDateTimeDef(Form);
    auto* Second = new StubDateTimeDef(Form);
    TgxDateTimeLink* Link = Grid->DateTimeLink();
    Grid->SetDateTimeDef(First);
    Grid->SetDateTimeDef(First);
    EXPECT_EQ(First->LinkCount(Link), 1);
    Grid->SetDateTimeDef(Second);
    EXPECT_EQ(First->LinkCount(Link), 0);
    EXPECT_EQ(Second->LinkCount(Link), 1);
    EXPECT_EQ(Grid->DateTimeDef(), Second);
    Grid->SetDateTimeDef(nullptr);
    EXPECT_EQ(Second->LinkCount(Link), 0);
    EXPECT_EQ(Grid->DateTimeDef(), nullptr);
}

TEST_F(GridExtentReading, AlwaysShownScrollBarShowsAtOnce) {
    ShowGrid(2, 2);
    QApplication::processEvents();
    ASSERT_FALSE(Grid->GetVertScrollBarVisible());
    Grid->SetAlwaysShowScrollBar(ssVertical);
    EXPECT_TRUE(Grid->GetVertScrollBarVisible());
    EXPECT_FALSE(Grid->GetHorzScrollBarVisible());
    Grid->SetAlwaysShowScrollBar(ssNone);
    EXPECT_FALSE(Grid->GetVertScrollBarVisible());
}

TEST_F(GridExtentReading, ComboListFollowsItsParentsAutoScale) {
    ShowGrid(2, 2);
    TgxComboGrid* List = Grid->GetCombo()->GetGrid();
    ASSERT_NE(List, nullptr);
    for (const bool On : {true, false}) {
        Grid->SetAutoScale(On);
        EXPECT_EQ(List->GetAutoScale(), On);
        List->SetAutoScale(!On);
        EXPECT_EQ(List->GetAutoScale(), On);
    }
}

TEST_F(GridExtentReading, VisibleExtentWithoutWindowIsZero) {
    EnsureQtApplication();
    TgxGrid Loose(nullptr);
    Loose.SetGridColCount(3);
    Loose.SetGridRowCount(3);
    EXPECT_EQ(Loose.GetVisibleColCount(), 0);
    EXPECT_EQ(Loose.GetVisibleRowCount(), 0);
    EXPECT_EQ(Loose.GetVisibleCols(), 0.0);
    EXPECT_EQ(Loose.GetVisibleRows(), 0.0);
}

// The client area is sized so that the last column (row) shows by half.
TEST_F(GridExtentReading, HalfShownColumnAndRowCountAsAFraction) {
    ShowGrid(6, 20);
    Grid->SetDefaultColWidth(100);
    Grid->SetDefaultRowHeight(20);
    QApplication::processEvents();
    const int Bar = Grid->GetRowBarWidth();
    const int Head = Grid->GetHeadingHeight();
    const int ExtraW = Grid->Width() - Grid->ClientWidth();
    const int ExtraH = Grid->Height() - Grid->ClientHeight();
    Grid->SetAlwaysShowScrollBar(ssNone);
    Grid->SetBounds(0, 0, Bar + 250 + ExtraW, Head + 70 + ExtraH);
    QApplication::processEvents();
    ASSERT_EQ(Grid->ClientWidth(), Bar + 250);
    ASSERT_EQ(Grid->ClientHeight(), Head + 70);
    EXPECT_EQ(Grid->GetVisibleColCount(), 2);
    EXPECT_DOUBLE_EQ(Grid->GetVisibleCols(), 2.5);
    EXPECT_EQ(Grid->GetVisibleRowCount(), 3);
    EXPECT_DOUBLE_EQ(Grid->GetVisibleRows(), 3.5);

    // A hidden column in view is not counted; the next visible one is.
    Grid->GridCols()->Item(2)->SetVisible(false);
    QApplication::processEvents();
    EXPECT_DOUBLE_EQ(Grid->GetVisibleCols(), 2.5);
    // A frozen column counts, and the scrolled columns follow it.
    Grid->GridCols()->Item(2)->SetVisible(true);
    Grid->SetFixedColCount(1);
    Grid->SetLeftCol(4);
    QApplication::processEvents();
    EXPECT_DOUBLE_EQ(Grid->GetVisibleCols(), 2.5);
    // The same for rows: a hidden row is passed over, a frozen one counts.
    Grid->SetRowVisible(2, false);
    QApplication::processEvents();
    EXPECT_DOUBLE_EQ(Grid->GetVisibleRows(), 3.5);
    Grid->SetRowVisible(2, true);
    Grid->SetFixedRowCount(1);
    Grid->SetTopRow(6);
    QApplication::processEvents();
    EXPECT_DOUBLE_EQ(Grid->GetVisibleRows(), 3.5);
    EXPECT_EQ(Grid->GetVisibleRowCount(), 2);
}

TEST_F(GridExtentReading, RowHeightsAnswerZeroOutsideTheGrid) {
    ShowGrid(2, 3);
    Grid->SetDefaultRowHeight(18);
    for (const int Row : {-1, 5, 100}) EXPECT_EQ(Grid->GetGridRowHeights(Row), 0) << Row;
    EXPECT_EQ(Grid->GetGridRowHeights(0), Grid->GetHeadingHeight());
    EXPECT_EQ(Grid->GetGridRowHeights(3), 18);
}

// A hidden column or row stays 0 wide (high) unless the row's change is silent.
TEST_F(GridExtentReading, DirectResizeAnswersWhetherAnythingChanged) {
    ShowGrid(3, 4);
    const int W = Grid->ColWidths(1);
    EXPECT_FALSE(Grid->ResizeCol(1, W));
    EXPECT_TRUE(Grid->ResizeCol(1, W + 30));
    EXPECT_EQ(Grid->ColWidths(1), W + 30);
    EXPECT_FALSE(Grid->ResizeCol(-1, 10));
    EXPECT_FALSE(Grid->ResizeCol(Grid->ColCount(), 10));
    Grid->GridCols()->Item(2)->SetVisible(false);
    ASSERT_EQ(Grid->ColWidths(2), 0);
    Grid->ResizeCol(2, 50);
    EXPECT_EQ(Grid->ColWidths(2), 0);

    const int H = Grid->RowHeights(2);
    EXPECT_FALSE(Grid->ResizeRow(2, H, false));
    EXPECT_TRUE(Grid->ResizeRow(2, H + 9, true));
    EXPECT_EQ(Grid->RowHeights(2), H + 9);
    EXPECT_TRUE(Grid->ResizeRow(2, H + 12, false));
    EXPECT_EQ(Grid->RowHeights(2), H + 12);
    EXPECT_FALSE(Grid->ResizeRow(Grid->RowCount(), 10, false));
    Grid->SetRowVisible(3, false);
    ASSERT_EQ(Grid->RowHeights(3), 0);
    Grid->ResizeRow(3, 30, false);
    EXPECT_EQ(Grid->RowHeights(3), 0);
}

TEST_F(GridExtentReading, ScalingRowsColumnsAndCellFonts) {
    ShowGrid(3, 3);
    Grid->SetDefaultRowHeight(14);
    Grid->SetDefaultColWidth(15);
    Grid->SetRowHeight(2, 20);
    TFont Own;
    Own.SetSize(10);
    Grid->SetRowFont(3, &Own);
    Grid->SetRowParentFont(3, false);
    Grid->GridCols()->Item(2)->SetFont(&Own);
    Grid->GridCols()->Item(2)->SetParentFont(false);
    ASSERT_NE(Grid->GetRow(3), nullptr);
    Grid->GridCols()->Item(3)->SetWidth(31);

    Grid->ScaleRows(2, 2, TScalingFlags{sfHeight, sfFont});
    EXPECT_EQ(Grid->GridDefaultRowHeight(), 14);

    Grid->ScaleRows(3, 2, TScalingFlags{sfHeight});
    EXPECT_EQ(Grid->GridDefaultRowHeight(), 21);
    EXPECT_EQ(Grid->GetRowHeight(2), 30);
    EXPECT_EQ(Grid->RowHeights(2), 30);
    EXPECT_EQ(Grid->RowHeights(1), 21);
    EXPECT_EQ(Grid->GetRow(3)->GetFont()->Size(), 10);
    Grid->ScaleRows(3, 2, TScalingFlags{sfFont});
    EXPECT_EQ(Grid->GetRow(3)->GetFont()->Size(), 15);
    EXPECT_EQ(Grid->GridDefaultRowHeight(), 21);

    // Rounded as MulDiv rounds: half away from zero.
    Grid->ScaleCols(3, 2, TScalingFlags{sfWidth, sfFont});
    EXPECT_EQ(Grid->DefaultColWidth(), 23);
    EXPECT_EQ(Grid->GridCols()->Item(3)->Width(), 47);
    EXPECT_EQ(Grid->ColWidths(3), 47);
    EXPECT_EQ(Grid->ColWidths(1), 23);
    EXPECT_EQ(Grid->GridCols()->Item(2)->GetFont()->Size(), 15);
}

// Own fonts of cells scale, with the font flag only.
TEST_F(GridExtentReading, ScalingReachesOwnCellFonts) {
    ShowGrid(3, 3);
    TFont Own;
    Own.SetSize(10);
    Grid->SetCellFont(2, 2, &Own);
    Grid->SetCellParentFont(2, 2, false);
    Grid->SetCellFont(3, 3, &Own);
    Grid->ScaleCells(3, 2, TScalingFlags{sfHeight});
    EXPECT_EQ(Grid->GetCellFont(2, 2)->Size(), 10);
    Grid->ScaleCells(3, 2, TScalingFlags{sfFont});
    EXPECT_EQ(Grid->GetCellFont(2, 2)->Size(), 15);
}

TEST_F(GridExtentReading, HeadingStyleText) {
    ShowGrid(2, 2);
    Grid->Font()->SetName("Arial");
    Grid->Font()->SetSize(8);
    Grid->Font()->SetStyle(TFontStyles{fsBold});
    Grid->SetHeadingHeight(15);
    const std::string Html = Grid->HTMLFont().c_str();
    EXPECT_EQ(Html.rfind(" style=\"font-family: 'Arial'; font-size: 8; background: ", 0), 0u)
        << Html;
    EXPECT_NE(Html.find("; font-weight: BOLD; height: 15px;\""), std::string::npos) << Html;
    EXPECT_EQ(Html.back(), '"');
    Grid->Font()->SetStyle(TFontStyles{});
    EXPECT_NE(std::string(Grid->HTMLFont().c_str()).find("font-weight: NORMAL;"),
              std::string::npos);
}

} // namespace
