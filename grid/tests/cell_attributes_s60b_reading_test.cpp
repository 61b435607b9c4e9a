// Which value of a cell attribute is in force when the cell, its row, its
// column and the grid each may say something.
#include "ShownGridFixture.h"

#include "grid/model/Columns.h"

using namespace grid;

namespace {

class CellAttributesS60b : public ShownGridFixture {
protected:
    void SetUp() override { ShowGrid(6, 8); }
    TgxCol* Col(int C) { return Grid->GetCol(C); }
};

TEST_F(CellAttributesS60b, ColourOrderAndFallbacks) {
    EXPECT_EQ(Grid->GiveCellColor(2, 2, false), clWindow);
    EXPECT_EQ(Grid->GiveCellColor(2, 2, true), clBtnFace);
    Col(3)->SetColor(clRed);
    Grid->SetRowColor(5, clBlue);
    EXPECT_EQ(Grid->GiveCellColor(3, 5, false), clRed);
    Grid->SetDrawOverlap(doDrawRowOnTop);
    EXPECT_EQ(Grid->GiveCellColor(3, 5, false), clBlue);
    Grid->SetCellColor(3, 5, clGreen);
    EXPECT_EQ(Grid->GiveCellColor(3, 5, false), clGreen);
    Grid->SetDrawOverlap(doDrawColOnTop);
    EXPECT_EQ(Grid->GiveCellColor(3, 5, false), clGreen);
    Grid->SetColor(clYellow);
    EXPECT_EQ(Grid->GiveCellColor(2, 2, false), clYellow);
    EXPECT_EQ(Grid->GiveCellColor(2, 2, true), clYellow);
    // Headings: the row bar always takes the grid's heading colour.
    Col(3)->SetHeadingColor(clMaroon);
    EXPECT_EQ(Grid->GiveCellColor(0, 5, false), Grid->HeadingColor());
    EXPECT_EQ(Grid->GiveCellColor(3, 0, false), clMaroon);
    EXPECT_EQ(Grid->GiveCellColor(2, 0, false), Grid->HeadingColor());
}

TEST_F(CellAttributesS60b, ThreeD) {
    EXPECT_FALSE(Grid->GiveCell3D(2, 2));
    EXPECT_EQ(Grid->GiveCell3D(2, 0), Grid->Heading3D());
    Grid->SetRowIs3D(2, true);
    EXPECT_TRUE(Grid->GiveCell3D(4, 2));
    EXPECT_FALSE(Grid->GiveCell3D(4, 3));
    Grid->SetIs3D(true);
    EXPECT_TRUE(Grid->GiveCell3D(4, 3));
    EXPECT_EQ(Grid->GiveCellColor(4, 3, Grid->GiveCell3D(4, 3)), clBtnFace);
}

TEST_F(CellAttributesS60b, Alignments) {
    EXPECT_EQ(Grid->GiveCellHorzAlignment(2, 2), htaLeft);
    EXPECT_EQ(Grid->GiveCellVertAlignment(2, 2), vtaTop);
    Col(2)->SetAlignment(taRightJustify);
    Col(2)->SetHorzAlignment(htaDefault);
    EXPECT_EQ(Grid->GiveCellHorzAlignment(2, 2), htaRight);
    EXPECT_EQ(Grid->GiveCellAlignment(2, 2), taRightJustify);
    Grid->SetRowHorzAlignment(3, htaCenter);
    EXPECT_EQ(Grid->GiveCellHorzAlignment(2, 3), htaCenter);
    Grid->SetHorzAlignment(htaCenter);
    EXPECT_EQ(Grid->GiveCellHorzAlignment(4, 4), htaCenter);
    Grid->SetVertAlignment(vtaBottom);
    EXPECT_EQ(Grid->GiveCellVertAlignment(4, 4), vtaBottom);
    Grid->SetRowVertAlignment(4, vtaCenter);
    EXPECT_EQ(Grid->GiveCellVertAlignment(4, 4), vtaCenter);
    // Headings follow the grid's alignment when their own say nothing.
    EXPECT_EQ(Grid->GiveHeadingHorzAlignment(4), htaCenter);
    EXPECT_EQ(Grid->GiveHeadingVertAlignment(4), vtaBottom);
    Grid->SetHeadingAlignment(taRightJustify);
    EXPECT_EQ(Grid->GiveHeadingHorzAlignment(4), htaRight);
    Grid->SetHeadingAlignment(taLeftJustify);
    EXPECT_EQ(Grid->GiveHeadingHorzAlignment(4), htaCenter);
    Grid->SetHeadingHorzAlignment(htaRight);
    EXPECT_EQ(Grid->HeadingAlignment(), taRightJustify);
    Col(4)->SetHeadingHorzAlignment(htaLeft);
    EXPECT_EQ(Grid->GiveHeadingHorzAlignment(4), htaLeft);
}

TEST_F(CellAttributesS60b, ButtonsAndStyles) {
    TgxDropDownStyle Style = ddDropDownList;
    EXPECT_EQ(Grid->GiveCellButton(2, 2, Style), btNone);
    EXPECT_EQ(Style, ddDropDown);
    Grid->SetRowButtonType(3, btCombo);
    Grid->SetRowDropDownStyle(3, ddDropDownList);
    Col(2)->SetButtonType(btNormal);
    EXPECT_EQ(Grid->GiveCellButton(2, 3, Style), btNormal);
    EXPECT_EQ(Style, ddDropDown);
    Grid->SetDrawOverlap(doDrawRowOnTop);
    EXPECT_EQ(Grid->GiveCellButton(2, 3, Style), btCombo);
    EXPECT_EQ(Style, ddDropDownList);
    EXPECT_EQ(Grid->GiveCellDropDownStyle(2, 3), ddDropDownList);
    // Read-only cells keep their button only while the grid allows it.
    Grid->SetCellReadOnly(2, 3, roOn);
    EXPECT_EQ(Grid->GiveCellButtonType(2, 3), btCombo);
    Grid->SetReadOnlyButton(false);
    EXPECT_EQ(Grid->GiveCellButtonType(2, 3), btNone);
    // No button for heading cells or outside the grid.
    EXPECT_EQ(Grid->GiveCellButtonType(2, 0), btNone);
    EXPECT_EQ(Grid->GiveCellButtonType(9, 3), btNone);
}

TEST_F(CellAttributesS60b, SpinOptionsComeFromTheSpinLevel) {
    TgxSpinOptions Opts;
    Opts.Include(spoKeyEdit);
    Col(2)->SetButtonType(btVertSpin);
    Col(2)->SetSpinOptions(Opts);
    Col(2)->SetSpinIncrement(2.5);
    Grid->SetRowButtonType(3, btNone);
    for (TgxDrawOverlap O : {doDrawColOnTop, doDrawRowOnTop}) {
        Grid->SetDrawOverlap(O);
        EXPECT_TRUE(Grid->GiveCellSpinOptions(2, 3) == Opts);
        EXPECT_EQ(Grid->GiveCellSpinIncrement(2, 3), 2.5);
    }
    EXPECT_TRUE(Grid->GiveCellSpinOptions(3, 3) == TgxSpinOptions());
    EXPECT_EQ(Grid->GiveCellSpinIncrement(3, 3), 0.0);
    // A cell's own spin button brings its own options, read-only or not.
    Grid->SetCellButtonType(2, 3, btHorzSpin);
    Grid->SetCellSpinOptions(2, 3, TgxSpinOptions().Include(spoAutoRepeat));
    Grid->SetCellSpinIncrement(2, 3, 0.5);
    Grid->SetCellReadOnly(2, 3, roOn);
    EXPECT_TRUE(Grid->GiveCellSpinOptions(2, 3) == TgxSpinOptions().Include(spoAutoRepeat));
    EXPECT_EQ(Grid->GiveCellSpinIncrement(2, 3), 0.5);
    EXPECT_TRUE(Grid->GiveCellSpinOptions(2, 0) == TgxSpinOptions());
}

TEST_F(CellAttributesS60b, ControlTypeMaskAndPictures) {
    EXPECT_EQ(Grid->GiveCellControlType(2, 2), ctText);
    EXPECT_EQ(Grid->GiveCellControlType(2, 0), ctNone);
    EXPECT_EQ(Grid->GiveCellControlType(0, 2), ctNone);
    EXPECT_EQ(Grid->GiveCellControlType(9, 2), ctNone);
    Grid->SetRowControlType(2, ctCheck);
    Col(2)->SetControlType(ctPicture);
    EXPECT_EQ(Grid->GiveCellControlType(2, 2), ctPicture);
    Grid->SetDrawOverlap(doDrawRowOnTop);
    EXPECT_EQ(Grid->GiveCellControlType(2, 2), ctCheck);
    AnsiString Name = "x";
    EXPECT_FALSE(Grid->GiveCellMaskName(2, 2, Name));
    EXPECT_EQ(Name, "");
    Col(2)->SetMaskName("Digits");
    EXPECT_TRUE(Grid->GiveCellMaskName(2, 2, Name));
    EXPECT_EQ(Name, "Digits");
    EXPECT_FALSE(Grid->GiveCellMaskName(2, 0, Name));
    EXPECT_EQ(Grid->GiveCellStretchPicture(2, 2), dopDefault);
    Col(2)->SetStretchPicture(dopOff);
    EXPECT_EQ(Grid->GiveCellStretchPicture(2, 2), dopOff);
    EXPECT_EQ(Grid->GiveCellStretchPicture(2, 0), dopDefault);
    Grid->SetCellPicture(2, 2, 4, dopOn);
    EXPECT_EQ(Grid->GiveCellKeepAspectRatio(2, 2), dopOn);
}

TEST_F(CellAttributesS60b, WordWrapAndFonts) {
    EXPECT_EQ(Grid->GiveCellWordWrap(2, 2), uiDefault);
    Grid->SetWordWrap(uiOn);
    EXPECT_EQ(Grid->GiveCellWordWrap(2, 2), uiOn);
    Grid->SetRowWordWrap(2, uiOff);
    EXPECT_EQ(Grid->GiveCellWordWrap(2, 2), uiOff);
    Col(3)->SetHeadingWordWrap(uiOn);
    EXPECT_EQ(Grid->GiveHeadingWordWrap(3), uiOn);
    EXPECT_EQ(Grid->GiveHeadingWordWrap(2), Grid->GiveHeadingWordWrap(0));
    EXPECT_EQ(Grid->GiveCellFont(2, 2), Grid->Font());
    EXPECT_EQ(Grid->GiveCellFont(2, 0), Grid->HeadingFont());
    Col(2)->SetParentFont(false);
    EXPECT_EQ(Grid->GiveCellFont(2, 2), Col(2)->GetFont());
}

TEST_F(CellAttributesS60b, Editability) {
    Col(2)->SetReadOnly(true);
    Grid->SetCellReadOnly(2, 3, roOff);
    EXPECT_TRUE(Grid->CanEditCell(2, 3));
    EXPECT_FALSE(Grid->CanEditCell(2, 4));
    EXPECT_TRUE(Grid->CellIsReadOnly(2, 4));
    Grid->SetCellReadOnly(3, 3, roOn);
    EXPECT_FALSE(Grid->CanEditCell(3, 3));
    EXPECT_TRUE(Grid->CanEditCell(3, 4));
    EXPECT_FALSE(Grid->CanEditCol(2));
    EXPECT_TRUE(Grid->CanEditCol(3));
    Grid->SetRowReadOnly(5, true);
    EXPECT_FALSE(Grid->CanEditRow(5));
    EXPECT_FALSE(Grid->CanEditCell(3, 5));
    Col(4)->SetVisible(false);
    EXPECT_FALSE(Grid->CanEditCol(4));
    Grid->SetCellReadOnly(4, 3, roOff);
    EXPECT_FALSE(Grid->CanEditCell(4, 3));
    EXPECT_FALSE(Grid->CellIsReadOnly(9, 3));
    EXPECT_FALSE(Grid->CellIsReadOnly(2, 0));
}

TEST_F(CellAttributesS60b, CheckBoxValuesAndBoundsTestedForms) {
    Grid->SetCheckBoxValues("Y|N");
    EXPECT_EQ(Grid->GiveCellCheckBoxValues(2, 1), "Y|N");
    Col(2)->SetCheckBoxValues("1|0");
    EXPECT_EQ(Grid->GiveCellCheckBoxValues(2, 1), "1|0");
    Grid->SetReportInvalidOps(false);
    EXPECT_EQ(Grid->ActiveControlType(9, Variant(1)), ctNone);
    EXPECT_EQ(Grid->ActiveControlType(2, Variant(99)), ctNone);
    EXPECT_EQ(Grid->ActiveControlType(2, Variant(1)), ctText);
    Grid->SetReportInvalidOps(true);
    EXPECT_THROW(Grid->ActiveControlType(9, Variant(1)), EInvalidGridOperation);
}

TEST_F(CellAttributesS60b, ComboComesFromTheOfferingLevel) {
    Col(2)->SetButtonType(btCombo);
    Col(2)->SetParentCombo(false);
    Grid->SetRowButtonType(3, btCombo);
    Grid->SetRowParentCombo(3, false);
    TgxCombo* ColCombo = Col(2)->GetCombo();
    TgxCombo* RowCombo = Grid->GetRowCombo(3);
    ASSERT_NE(ColCombo, nullptr);
    ASSERT_NE(RowCombo, nullptr);
    EXPECT_EQ(Grid->GiveCellCombo(2, 3), ColCombo);
    EXPECT_EQ(Grid->GiveCellCombo(4, 3), RowCombo);
    EXPECT_EQ(Grid->GiveCellCombo(2, 4), ColCombo);
    EXPECT_EQ(Grid->GiveCellCombo(4, 4), nullptr);
    EXPECT_EQ(Grid->GiveCellCombo(2, 0), nullptr);
    Grid->SetDrawOverlap(doDrawRowOnTop);
    EXPECT_EQ(Grid->GiveCellCombo(2, 3), RowCombo);
    Grid->SetReportInvalidOps(false);
    EXPECT_EQ(Grid->ActiveCombo(2, Variant(3)), RowCombo);
    EXPECT_EQ(Grid->ActiveCombo(9, Variant(3)), nullptr);
}

TEST_F(CellAttributesS60b, ChangedHeadingFontPartsFromItsParent) {
    ASSERT_TRUE(Grid->HeadingParentFont());
    Grid->HeadingFont()->SetSize(Grid->HeadingFont()->Size() + 4);
    EXPECT_FALSE(Grid->HeadingParentFont());
    EXPECT_EQ(Grid->GiveHeadingFont(3), Grid->HeadingFont());
    EXPECT_EQ(Grid->GiveCellFont(3, 0)->Size(), Grid->HeadingFont()->Size());
}

} // namespace
