// Which level's value of a cell attribute is in force: the cell's own,
// then column and row in DrawOverlap order, then the grid's.
#include "GridModelFixture.h"
#include "grid/model/Columns.h"

using namespace grid;

namespace {

class GridAttributes : public GridModelTest {
protected:
    void SetUp() override {
        GridModelTest::SetUp();
        Grid->SetGridColCount(5);
        Grid->SetGridRowCount(6);
    }
    TgxCol* Col(int N) { return Grid->GetCol(Variant(N)); }
};

} // namespace

TEST_F(GridAttributes, ColourFollowsCellThenOverlapOrderThenGrid) {
    // Nothing set: the window colour, the button face for a raised cell.
    EXPECT_EQ(Grid->GiveCellColor(2, 3, false), clWindow);
    EXPECT_EQ(Grid->GiveCellColor(2, 3, true), clBtnFace);

    Col(2)->SetColor(clRed);
    Grid->SetRowColor(3, clBlue);
    struct Case {
        TgxDrawOverlap Overlap;
        bool CellGreen;
        TColor Expected;
    };
    const Case Cases[] = {{doDrawColOnTop, false, clRed},
                          {doDrawRowOnTop, false, clBlue},
                          {doDrawColOnTop, true, clGreen},
                          {doDrawRowOnTop, true, clGreen}};
    for (const Case& C : Cases) {
        Grid->SetDrawOverlap(C.Overlap);
        Grid->SetCellColor(2, 3, C.CellGreen ? clGreen : clNone);
        EXPECT_EQ(Grid->GiveCellColor(2, 3, false), C.Expected)
            << "overlap " << int(C.Overlap) << " cell green " << C.CellGreen;
    }

    // A grid colour of its own wins over the raised look.
    Grid->SetColor(clYellow);
    EXPECT_EQ(Grid->GiveCellColor(4, 5, false), clYellow);
    EXPECT_EQ(Grid->GiveCellColor(4, 5, true), clYellow);
}

TEST_F(GridAttributes, HeadingCellsTakeHeadingColours) {
    Col(3)->SetHeadingColor(clAqua);
    Col(5)->SetColor(clRed);
    Grid->SetRowColor(5, clBlue);
    EXPECT_EQ(Grid->GiveCellColor(0, 5, false), Grid->HeadingColor());
    EXPECT_EQ(Grid->GiveCellColor(3, 0, false), clAqua);
    EXPECT_EQ(Grid->GiveCellColor(5, 0, false), Grid->HeadingColor());
}

TEST_F(GridAttributes, ButtonAndStyleComeFromOneLevel) {
    // A combo button makes the grid check its combo, which a base grid
    // cannot make: it says so, as for a column, and the button stays.
    EXPECT_THROW(Grid->SetRowButtonType(4, btCombo), EInvalidGridOperation);
    EXPECT_EQ(Grid->GetRowButtonType(4), btCombo);
    Grid->SetRowDropDownStyle(4, ddDropDownList);
    Col(2)->SetButtonType(btNormal);
    TgxDropDownStyle Style = ddDropDown;

    Grid->SetDrawOverlap(doDrawRowOnTop);
    EXPECT_EQ(Grid->GiveCellButton(2, 4, Style), btCombo);
    EXPECT_EQ(Style, ddDropDownList);

    Grid->SetDrawOverlap(doDrawColOnTop);
    EXPECT_EQ(Grid->GiveCellButton(2, 4, Style), btNormal);
    EXPECT_EQ(Style, ddDropDown);

    // Outside the data area and with nothing set there is no button.
    EXPECT_EQ(Grid->GiveCellButton(0, 4, Style), btNone);
    EXPECT_EQ(Grid->GiveCellButton(3, 2, Style), btNone);
    // A read-only cell keeps its button while ReadOnlyButton is on.
    Grid->SetCellReadOnly(2, 4, roOn);
    EXPECT_EQ(Grid->GiveCellButton(2, 4, Style), btNormal);
}

TEST_F(GridAttributes, SpinSettingsComeFromTheFirstSpinLevel) {
    Col(2)->SetButtonType(btVertSpin);
    Col(2)->SetSpinIncrement(2.5);
    Grid->SetRowButtonType(3, btNone);
    Grid->SetRowSpinIncrement(3, 7);
    for (TgxDrawOverlap Overlap : {doDrawColOnTop, doDrawRowOnTop}) {
        Grid->SetDrawOverlap(Overlap);
        EXPECT_EQ(Grid->GiveCellSpinIncrement(2, 3), 2.5) << int(Overlap);
        EXPECT_EQ(Grid->GiveCellSpinOptions(2, 3), Col(2)->SpinOptions()) << int(Overlap);
    }
    // A row spin button decides first when rows are on top.
    Grid->SetRowButtonType(3, btHorzSpin);
    Grid->SetDrawOverlap(doDrawRowOnTop);
    EXPECT_EQ(Grid->GiveCellSpinIncrement(2, 3), 7);
    Grid->SetDrawOverlap(doDrawColOnTop);
    EXPECT_EQ(Grid->GiveCellSpinIncrement(2, 3), 2.5);
    // No spin level: nothing.
    EXPECT_EQ(Grid->GiveCellSpinIncrement(4, 4), 0);
    EXPECT_TRUE(Grid->GiveCellSpinOptions(4, 4).Empty());
}

TEST_F(GridAttributes, CellReadOnlyFlagOverridesColumnAndRow) {
    Col(2)->SetReadOnly(true);
    Grid->SetCellReadOnly(2, 3, roOff);
    Grid->SetCellReadOnly(4, 3, roOn);
    EXPECT_TRUE(Grid->CanEditCell(2, 3));
    EXPECT_FALSE(Grid->CanEditCell(2, 4));
    EXPECT_FALSE(Grid->CanEditCell(4, 3));
    EXPECT_TRUE(Grid->CanEditCell(4, 4));
    Grid->SetRowReadOnly(5, true);
    EXPECT_FALSE(Grid->CanEditCell(4, 5));
    EXPECT_TRUE(Grid->CellIsReadOnly(4, 5));
    // Outside the data area nothing is read-only.
    EXPECT_FALSE(Grid->CellIsReadOnly(0, 5));
    EXPECT_FALSE(Grid->CellIsReadOnly(4, 7));
    // A hidden column's cells cannot be edited, even when marked editable.
    Col(2)->SetVisible(false);
    EXPECT_FALSE(Grid->CanEditCell(2, 3));
    EXPECT_FALSE(Grid->CanEditCol(2));
}

TEST_F(GridAttributes, AlignmentsNeverAnswerDefault) {
    EXPECT_EQ(Grid->GiveCellHorzAlignment(2, 2), htaLeft);
    EXPECT_EQ(Grid->GiveCellVertAlignment(2, 2), vtaTop);
    // The column's older alignment counts before the grid's.
    Col(3)->SetAlignment(taRightJustify);
    Col(3)->SetHorzAlignment(htaDefault);
    EXPECT_EQ(Grid->GiveCellHorzAlignment(3, 2), htaRight);
    EXPECT_EQ(Grid->GiveCellAlignment(3, 2), taRightJustify);
    // Cell, then column and row in overlap order.
    Grid->SetRowHorzAlignment(2, htaCenter);
    Grid->SetDrawOverlap(doDrawRowOnTop);
    EXPECT_EQ(Grid->GiveCellHorzAlignment(3, 2), htaCenter);
    Grid->SetCellHorzAlignment(3, 2, htaLeft);
    EXPECT_EQ(Grid->GiveCellHorzAlignment(3, 2), htaLeft);
    Grid->SetRowVertAlignment(4, vtaBottom);
    EXPECT_EQ(Grid->GiveCellVertAlignment(1, 4), vtaBottom);
    // Headings follow the column's heading settings, then the grid's.
    Col(1)->SetHeadingHorzAlignment(htaCenter);
    EXPECT_EQ(Grid->GiveCellHorzAlignment(1, 0), htaCenter);
    EXPECT_EQ(Grid->GiveCellHorzAlignment(2, 0), htaLeft);
}

TEST_F(GridAttributes, MaskNameAndRaisedLook) {
    AnsiString Name;
    EXPECT_FALSE(Grid->GiveCellMaskName(2, 2, Name));
    Col(2)->SetMaskName("Phone");
    Grid->SetRowMaskName(2, "Zip");
    EXPECT_TRUE(Grid->GiveCellMaskName(2, 2, Name));
    EXPECT_EQ(Name, "Phone");
    Grid->SetDrawOverlap(doDrawRowOnTop);
    Grid->GiveCellMaskName(2, 2, Name);
    EXPECT_EQ(Name, "Zip");
    EXPECT_FALSE(Grid->GiveCellMaskName(0, 2, Name));

    // Any level that says raised makes the cell raised; headings follow Heading3D.
    EXPECT_FALSE(Grid->GiveCell3D(3, 3));
    Grid->SetRowIs3D(3, true);
    EXPECT_TRUE(Grid->GiveCell3D(3, 3));
    Grid->SetCellIs3D(4, 4, true);
    EXPECT_TRUE(Grid->GiveCell3D(4, 4));
    EXPECT_EQ(Grid->GiveCell3D(4, 0), Grid->Heading3D());
}

TEST_F(GridAttributes, NextAndPreviousColumnSearches) {
    int Found = 0;
    // From the last column there is nothing more; the walk ends beyond it.
    EXPECT_FALSE(Grid->GetNextCol(5, false, false, Found));
    EXPECT_GT(Found, 5);
    EXPECT_TRUE(Grid->GetNextCol(2, false, false, Found));
    EXPECT_EQ(Found, 3);

    // With the grid's SkipReadOnly off, the forward walk still stops on a
    // read-only column; the backward walk only does when not asked to skip.
    Col(3)->SetReadOnly(true);
    Grid->SetSkipReadOnly(false);
    EXPECT_TRUE(Grid->GetNextCol(2, true, false, Found));
    EXPECT_EQ(Found, 3);
    EXPECT_TRUE(Grid->GetPrevCol(4, true, false, Found));
    EXPECT_EQ(Found, 2);
    Grid->SetSkipReadOnly(true);
    EXPECT_TRUE(Grid->GetNextCol(2, true, false, Found));
    EXPECT_EQ(Found, 4);

    // Hidden columns and rows are passed over.
    Col(4)->SetVisible(false);
    EXPECT_TRUE(Grid->GetNextCol(3, false, false, Found));
    EXPECT_EQ(Found, 5);
    Grid->SetRowVisible(2, false);
    EXPECT_TRUE(Grid->GetNextRow(1, false, false, Found));
    EXPECT_EQ(Found, 3);
    EXPECT_EQ(Grid->RightMostCol(false, false), 5);
    EXPECT_EQ(Grid->LeftMostCol(false, false), 1);
    EXPECT_EQ(Grid->BottomMostRow(false, false), 6);
}

TEST_F(GridAttributes, SettingsScaleCheckValuesAndHeadingStyle) {
    // Scaling by 1 changes nothing; by 3/2 the default height 14 becomes 21.
    const int Before = Grid->DefaultRowHeight();
    Grid->ScaleRows(2, 2, TScalingFlags{sfHeight});
    EXPECT_EQ(Grid->DefaultRowHeight(), Before);
    ASSERT_EQ(Before, 14);
    Grid->ScaleRows(3, 2, TScalingFlags{sfHeight});
    EXPECT_EQ(Grid->DefaultRowHeight(), 21);

    Grid->SetCheckBoxValues("Yes|No");
    EXPECT_EQ(GridError([&] { Grid->SetCheckBoxValues("Yes"); }),
              "Grid1: Invalid CheckBoxValues. CheckBoxValues have the format "
              "'Checked|Unchecked|Grayed'. The Grayed value is optional");
    EXPECT_EQ(Grid->CheckBoxValues(), "Yes|No");

    Grid->Font()->SetSize(8);
    Grid->Font()->SetStyle(TFontStyles{fsBold});
    Grid->SetHeadingHeight(15);
    const AnsiString Style = Grid->HTMLFont();
    EXPECT_EQ(Style.rfind(" style=\"font-family: '", 0), 0u) << Style;
    EXPECT_NE(Style.find("font-size: 8;"), AnsiString::npos) << Style;
    EXPECT_NE(Style.find("font-weight: BOLD;"), AnsiString::npos) << Style;
    EXPECT_NE(Style.find("height: 15px;\""), AnsiString::npos) << Style;
}

TEST_F(GridAttributes, HeadingAlignmentKeepsTheOlderSettingInStep) {
    Grid->SetHorzAlignment(htaCenter);
    // A left-justified heading follows the grid's alignment.
    Grid->SetHeadingAlignment(taRightJustify);
    EXPECT_EQ(Grid->HeadingHorzAlignment(), htaRight);
    EXPECT_EQ(Grid->GiveCellHorzAlignment(2, 0), htaRight);
    Grid->SetHeadingAlignment(taLeftJustify);
    EXPECT_EQ(Grid->HeadingHorzAlignment(), htaDefault);
    EXPECT_EQ(Grid->GiveCellHorzAlignment(2, 0), htaCenter);
    Grid->SetHeadingHorzAlignment(htaCenter);
    EXPECT_EQ(Grid->HeadingAlignment(), taCenter);
    // Data cells take the grid's alignments last.
    Grid->SetVertAlignment(vtaBottom);
    EXPECT_EQ(Grid->GiveCellHorzAlignment(2, 2), htaCenter);
    EXPECT_EQ(Grid->GiveCellVertAlignment(2, 2), vtaBottom);
    Grid->SetHeadingVertAlignment(vtaCenter);
    EXPECT_EQ(Grid->GiveCellVertAlignment(2, 0), vtaCenter);
    Grid->SetHeadingWordWrap(uiOn);
    EXPECT_EQ(Grid->GiveHeadingWordWrap(2), uiOn);
}

TEST_F(GridAttributes, CurrentCellQuestionsAndTheBoundsTestedControlType) {
    Col(2)->SetControlType(ctCheck);
    Col(2)->SetCheckBoxValues("On|Off");
    Col(2)->SetMaskName("Digits");
    Grid->SetCurrentCell(2, 3);
    EXPECT_EQ(Grid->CurCellControlType(), ctCheck);
    EXPECT_EQ(Grid->CurCellMaskName(), "Digits");
    EXPECT_EQ(Grid->CurCellCheckBoxValues(), "On|Off");
    EXPECT_FALSE(Grid->CurCellReadOnly());
    Grid->SetCellReadOnly(2, 3, roOn);
    EXPECT_TRUE(Grid->CurCellReadOnly());
    EXPECT_FALSE(Grid->CurCellSelected());

    EXPECT_EQ(Grid->ActiveControlType(2, Variant(4)), ctCheck);
    EXPECT_EQ(Grid->ActiveControlType(2, Variant(0)), ctNone); // the heading row is no data cell
    EXPECT_EQ(GridError([&] { Grid->ActiveControlType(9, Variant(1)); }),
              "Grid1: Column index 9 out of range");
    EXPECT_EQ(GridError([&] { Grid->ActiveControlType(1, Variant(7)); }),
              "Grid1: Row index 7 out of range");
    Grid->SetReportInvalidOps(false);
    EXPECT_EQ(Grid->ActiveControlType(9, Variant(1)), ctNone);
}

TEST_F(GridAttributes, ScalingWidthsAndTheFontsOfEveryLevel) {
    Col(2)->SetWidth(40);
    Col(3)->SetParentFont(false);
    Col(3)->GetFont()->SetSize(10);
    Grid->SetCellFont(4, 4, Grid->Font());
    Grid->GetCellFont(4, 4)->SetSize(8);
    const int ColFontBefore = Col(2)->GetFont() ? Col(2)->GetFont()->Size() : 0;
    Grid->ScaleCols(3, 2, TScalingFlags{sfWidth, sfFont});
    Grid->ScaleCells(3, 2, TScalingFlags{sfFont});
    EXPECT_EQ(Col(2)->Width(), 60);
    EXPECT_EQ(Grid->DefaultColWidth(), 96);
    EXPECT_EQ(Col(3)->GetFont()->Size(), 15);
    EXPECT_EQ(Grid->GetCellFont(4, 4)->Size(), 12);
    // A column that follows the grid's font keeps it as it is.
    EXPECT_EQ(Col(2)->GetFont() ? Col(2)->GetFont()->Size() : 0, ColFontBefore);
    // Without the font flag fonts stay.
    Grid->ScaleCells(2, 1, TScalingFlags{sfWidth});
    EXPECT_EQ(Grid->GetCellFont(4, 4)->Size(), 12);

    Grid->SetAutoScale(true);
    EXPECT_TRUE(Grid->GetAutoScale());
}
