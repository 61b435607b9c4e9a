// Which attribute value is in force for a cell: the cell, its row and its
// column in DrawOverlap order, then the grid; and the grid-level setters
// that repaint what the answers change.
#include "GridModelFixture.h"
#include "ShownGridPixels.h"
#include "grid/model/Columns.h"
#include "grid/model/Combo.h"
#include "grid/model/GxGrid.h"
#include "platform/gui/Colors.h"

#include <QApplication>

#include <functional>

using namespace grid;

namespace {

class AttrResolve : public GridModelTest {
protected:
    void SetUp() override {
        EnsureQtApplication();
        // The published grid: it can make the drop-down lists a level offers.
        Grid = std::make_unique<TgxGrid>(nullptr);
        Grid->SetName("Grid1");
        Grid->SetGridColCount(5);
        Grid->SetGridRowCount(6);
    }
    TgxCol* Col(int C) { return Grid->GetCol(C); }
};

TEST_F(AttrResolve, ColourFollowsLevelsOverlapAndThreeD) {
    struct Case {
        const char* Name;
        TColor GridColor, ColColor, RowColor, CellColor;
        TgxDrawOverlap Overlap;
        bool Is3D;
        TColor Want;
    };
    const Case Cases[] = {
        {"nothing set", clWindow, clNone, clNone, clNone, doDrawColOnTop, false, clWindow},
        {"nothing set, 3-D", clWindow, clNone, clNone, clNone, doDrawColOnTop, true, clBtnFace},
        {"yellow grid", clYellow, clNone, clNone, clNone, doDrawColOnTop, false, clYellow},
        {"yellow grid, 3-D", clYellow, clNone, clNone, clNone, doDrawColOnTop, true, clYellow},
        {"grid none", clNone, clNone, clNone, clNone, doDrawColOnTop, false, clNone},
        {"grid none, 3-D", clNone, clNone, clNone, clNone, doDrawColOnTop, true, clBtnFace},
        {"column first", clWindow, clRed, clBlue, clNone, doDrawColOnTop, false, clRed},
        {"row first", clWindow, clRed, clBlue, clNone, doDrawRowOnTop, false, clBlue},
        {"row only, column first", clWindow, clNone, clBlue, clNone, doDrawColOnTop, false, clBlue},
        {"cell wins, column first", clWindow, clRed, clBlue, clGreen, doDrawColOnTop, true, clGreen},
        {"cell wins, row first", clWindow, clRed, clBlue, clGreen, doDrawRowOnTop, true, clGreen},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        Grid->SetColor(C.GridColor);
        Grid->SetDrawOverlap(C.Overlap);
        Col(3)->SetColor(C.ColColor);
        Grid->SetRowColor(4, C.RowColor);
        Grid->SetCellColor(3, 4, C.CellColor);
        EXPECT_EQ(Grid->GiveCellColor(3, 4, C.Is3D), C.Want);
        // Asking changes nothing.
        EXPECT_EQ(Grid->GetCellColor(3, 4), C.CellColor);
    }
}

TEST_F(AttrResolve, HeadingAndRowBarColours) {
    Grid->SetHeadingColor(clAqua);
    Col(3)->SetColor(clRed);
    Grid->SetRowColor(5, clBlue);
    EXPECT_EQ(Grid->GiveCellColor(0, 5, false), clAqua);
    EXPECT_EQ(Grid->GiveCellColor(0, 0, true), clAqua);
    EXPECT_EQ(Grid->GiveCellColor(3, 0, false), clAqua);
    Col(3)->SetHeadingColor(clMaroon);
    EXPECT_EQ(Grid->GiveCellColor(3, 0, false), clMaroon);
}

TEST_F(AttrResolve, FontsComeFromTheFirstLevelWithItsOwn) {
    TFont* GridFont = Grid->Font();
    EXPECT_EQ(Grid->GiveCellFont(2, 2), GridFont);
    Grid->SetRowParentFont(2, false);
    Col(2)->SetParentFont(false);
    TFont* RowFont = Grid->GetRowFont(2);
    TFont* ColFont = Col(2)->GetFont();
    ASSERT_NE(RowFont, nullptr);
    ASSERT_NE(ColFont, nullptr);
    EXPECT_EQ(Grid->GiveCellFont(2, 2), ColFont);
    Grid->SetDrawOverlap(doDrawRowOnTop);
    EXPECT_EQ(Grid->GiveCellFont(2, 2), RowFont);
    Grid->SetCellParentFont(2, 2, false);
    EXPECT_EQ(Grid->GiveCellFont(2, 2), Grid->GetCellFont(2, 2));
    // Headings: the column's own heading font, else the grid's.
    EXPECT_EQ(Grid->GiveCellFont(3, 0), Grid->HeadingFont());
    Col(3)->SetHeadingParentFont(false);
    ASSERT_NE(Col(3)->HeadingFontObject(), nullptr);
    EXPECT_EQ(Grid->GiveCellFont(3, 0), Col(3)->HeadingFontObject());
    EXPECT_EQ(Grid->GiveHeadingFont(3), Col(3)->HeadingFontObject());
}

TEST_F(AttrResolve, WordWrapAndVerticalAlignment) {
    EXPECT_EQ(Grid->GiveCellWordWrap(2, 2), uiDefault);
    Grid->SetWordWrap(uiOff);
    EXPECT_EQ(Grid->GiveCellWordWrap(2, 2), uiOff);
    Col(2)->SetWordWrap(uiOn);
    EXPECT_EQ(Grid->GiveCellWordWrap(2, 2), uiOn);
    Grid->SetRowWordWrap(2, uiOff);
    Grid->SetDrawOverlap(doDrawRowOnTop);
    EXPECT_EQ(Grid->GiveCellWordWrap(2, 2), uiOff);
    Grid->SetHeadingWordWrap(uiOn);
    EXPECT_EQ(Grid->GiveCellWordWrap(2, 0), uiOn);
    Col(2)->SetHeadingWordWrap(uiOff);
    EXPECT_EQ(Grid->GiveHeadingWordWrap(2), uiOff);

    EXPECT_EQ(Grid->GiveCellVertAlignment(3, 3), vtaTop);
    EXPECT_EQ(Grid->GiveCellVertAlignment(3, 0), vtaTop);
    Grid->SetVertAlignment(vtaBottom);
    EXPECT_EQ(Grid->GiveCellVertAlignment(3, 3), vtaBottom);
    EXPECT_EQ(Grid->GiveCellVertAlignment(3, 0), vtaBottom);
    Grid->SetHeadingVertAlignment(vtaCenter);
    EXPECT_EQ(Grid->GiveCellVertAlignment(3, 0), vtaCenter);
    Col(3)->SetHeadingVertAlignment(vtaTop);
    EXPECT_EQ(Grid->GiveCellVertAlignment(3, 0), vtaTop);
    Grid->SetRowVertAlignment(3, vtaCenter);
    EXPECT_EQ(Grid->GiveCellVertAlignment(3, 3), vtaCenter);
}

TEST_F(AttrResolve, HorizontalAlignmentNeverDefault) {
    EXPECT_EQ(Grid->GiveCellHorzAlignment(2, 2), htaLeft);
    EXPECT_EQ(Grid->GiveCellHorzAlignment(2, 0), htaLeft);
    EXPECT_EQ(Grid->GiveCellAlignment(2, 2), taLeftJustify);
    // The column's older Alignment comes before the grid's setting.
    Grid->SetHorzAlignment(htaCenter);
    EXPECT_EQ(Grid->GiveCellHorzAlignment(2, 2), htaCenter);
    EXPECT_EQ(Grid->GiveCellHorzAlignment(2, 0), htaCenter);
    Col(2)->SetAlignment(taRightJustify);
    Col(2)->SetHorzAlignment(htaDefault);
    EXPECT_EQ(Grid->GiveCellHorzAlignment(2, 2), htaRight);
    EXPECT_EQ(Grid->GiveCellAlignment(2, 2), taRightJustify);
    Grid->SetRowHorzAlignment(2, htaCenter);
    Grid->SetDrawOverlap(doDrawRowOnTop);
    EXPECT_EQ(Grid->GiveCellAlignment(2, 2), taCenter);
    Grid->SetCellHorzAlignment(2, 2, htaLeft);
    EXPECT_EQ(Grid->GiveCellHorzAlignment(2, 2), htaLeft);
    // Headings: the column's, then the grid's heading setting, then the grid's.
    Grid->SetHeadingHorzAlignment(htaRight);
    EXPECT_EQ(Grid->GiveHeadingHorzAlignment(2), htaRight);
    Col(2)->SetHeadingHorzAlignment(htaLeft);
    EXPECT_EQ(Grid->GiveCellHorzAlignment(2, 0), htaLeft);
}

TEST_F(AttrResolve, HeadingAlignmentKeptInStep) {
    Grid->SetHeadingAlignment(taRightJustify);
    EXPECT_EQ(Grid->HeadingHorzAlignment(), htaRight);
    Grid->SetHeadingAlignment(taLeftJustify);
    EXPECT_EQ(Grid->HeadingHorzAlignment(), htaDefault);
    Grid->SetHorzAlignment(htaCenter);
    EXPECT_EQ(Grid->GiveCellHorzAlignment(1, 0), htaCenter);
    Grid->SetHeadingHorzAlignment(htaCenter);
    EXPECT_EQ(Grid->HeadingAlignment(), taCenter);
    Grid->SetHeadingHorzAlignment(htaLeft);
    EXPECT_EQ(Grid->HeadingAlignment(), taLeftJustify);
}

TEST_F(AttrResolve, ThreeDWhenAnyLevelSaysSo) {
    EXPECT_FALSE(Grid->GiveCell3D(2, 2));
    EXPECT_TRUE(Grid->GiveCell3D(2, 0));
    Grid->SetHeading3D(false);
    EXPECT_FALSE(Grid->GiveCell3D(0, 2));
    Grid->SetRowIs3D(2, true);
    EXPECT_TRUE(Grid->GiveCell3D(2, 2));
    EXPECT_FALSE(Grid->GiveCell3D(3, 3));
    Col(3)->SetIs3D(true);
    EXPECT_TRUE(Grid->GiveCell3D(3, 3));
    Grid->SetCellIs3D(4, 4, true);
    EXPECT_TRUE(Grid->GiveCell3D(4, 4));
    Grid->SetIs3D(true);
    EXPECT_TRUE(Grid->GiveCell3D(1, 1));
}

TEST_F(AttrResolve, ButtonAndStyleFromTheSameLevel) {
    TgxDropDownStyle Style = ddDropDownList;
    EXPECT_EQ(Grid->GiveCellButton(2, 2, Style), btNone);
    EXPECT_EQ(Style, ddDropDown);
    Col(2)->SetButtonType(btNormal);
    Grid->SetRowButtonType(2, btCombo);
    Grid->SetRowDropDownStyle(2, ddDropDownList);
    EXPECT_EQ(Grid->GiveCellButton(2, 2, Style), btNormal);
    EXPECT_EQ(Style, ddDropDown);
    Grid->SetDrawOverlap(doDrawRowOnTop);
    EXPECT_EQ(Grid->GiveCellButton(2, 2, Style), btCombo);
    EXPECT_EQ(Style, ddDropDownList);
    EXPECT_EQ(Grid->GiveCellButtonType(2, 2), btCombo);
    EXPECT_EQ(Grid->GiveCellDropDownStyle(2, 2), ddDropDownList);
    // Headings and the row bar get no button.
    EXPECT_EQ(Grid->GiveCellButton(2, 0, Style), btNone);
    EXPECT_EQ(Grid->GiveCellButton(0, 2, Style), btNone);
    EXPECT_EQ(Style, ddDropDown);
    // A read-only cell keeps its button only while ReadOnlyButton is on.
    Grid->SetCellReadOnly(2, 2, TgxReadOnly::roOn);
    EXPECT_EQ(Grid->GiveCellButton(2, 2, Style), btCombo);
    Grid->SetReadOnlyButton(false);
    EXPECT_EQ(Grid->GiveCellButton(2, 2, Style), btNone);
    EXPECT_EQ(Style, ddDropDown);
    Grid->SetCellButtonType(3, 3, btVertSpin);
    EXPECT_EQ(Grid->GiveCellButtonType(3, 3), btVertSpin);
}

TEST_F(AttrResolve, SpinSettingsComeFromTheLevelWithASpinButton) {
    const TgxSpinOptions ColOpts{TgxSpinOption::spoKeyEdit};
    Col(2)->SetButtonType(btVertSpin);
    Col(2)->SetSpinOptions(ColOpts);
    Col(2)->SetSpinIncrement(2.5);
    Grid->SetRowButtonType(3, btNone);
    Grid->SetRowSpinOptions(3, TgxSpinOptions{TgxSpinOption::spoAutoRepeat});
    Grid->SetRowSpinIncrement(3, 7);
    for (TgxDrawOverlap O : {doDrawColOnTop, doDrawRowOnTop}) {
        Grid->SetDrawOverlap(O);
        EXPECT_EQ(Grid->GiveCellSpinOptions(2, 3), ColOpts);
        EXPECT_EQ(Grid->GiveCellSpinIncrement(2, 3), 2.5);
    }
    // A read-only cell keeps its spin settings; headings and plain cells have none.
    Grid->SetCellReadOnly(2, 3, TgxReadOnly::roOn);
    Grid->SetReadOnlyButton(false);
    EXPECT_EQ(Grid->GiveCellSpinIncrement(2, 3), 2.5);
    EXPECT_EQ(Grid->GiveCellSpinOptions(2, 0), TgxSpinOptions{});
    EXPECT_EQ(Grid->GiveCellSpinIncrement(3, 3), 0.0);
    Grid->SetRowButtonType(3, btHorzSpin);
    EXPECT_EQ(Grid->GiveCellSpinIncrement(3, 3), 7.0);
    EXPECT_EQ(Grid->GiveCellSpinIncrement(2, 3), 7.0); // row first now
}

TEST_F(AttrResolve, MaskControlTypePicturesAndCheckBoxValues) {
    AnsiString Name = "x";
    EXPECT_FALSE(Grid->GiveCellMaskName(2, 2, Name));
    EXPECT_EQ(Name, "");
    Grid->SetRowMaskName(2, "RowMask");
    Col(2)->SetMaskName("ColMask");
    EXPECT_TRUE(Grid->GiveCellMaskName(2, 2, Name));
    EXPECT_EQ(Name, "ColMask");
    Grid->SetDrawOverlap(doDrawRowOnTop);
    Grid->GiveCellMaskName(2, 2, Name);
    EXPECT_EQ(Name, "RowMask");
    Grid->GiveCellMaskName(2, 0, Name);
    EXPECT_EQ(Name, "");

    EXPECT_EQ(Grid->GiveCellControlType(3, 3), ctText);
    EXPECT_EQ(Grid->GiveCellControlType(3, 0), ctNone);
    EXPECT_EQ(Grid->GiveCellControlType(0, 3), ctNone);
    EXPECT_EQ(Grid->GiveCellControlType(6, 3), ctNone);
    Col(3)->SetControlType(ctCheck);
    Grid->SetRowControlType(3, ctPicture);
    EXPECT_EQ(Grid->GiveCellControlType(3, 3), ctPicture);
    Grid->SetDrawOverlap(doDrawColOnTop);
    EXPECT_EQ(Grid->GiveCellControlType(3, 3), ctCheck);

    EXPECT_EQ(Grid->GiveCellStretchPicture(3, 3), dopDefault);
    Grid->SetRowPicture(3, 1, dopOff);
    Col(3)->SetStretchPicture(dopOn);
    Col(3)->SetKeepAspectRatio(dopOn);
    EXPECT_EQ(Grid->GiveCellStretchPicture(3, 3), dopOn);
    EXPECT_EQ(Grid->GiveCellKeepAspectRatio(3, 3), dopOn);
    EXPECT_EQ(Grid->GiveCellStretchPicture(3, 0), dopDefault);
    Grid->SetCellPicture(3, 3, 3, dopOff);
    EXPECT_EQ(Grid->GiveCellCenterPicture(3, 3), dopOff);
    EXPECT_EQ(Grid->GiveCellShrinkPicture(3, 3), dopDefault);

    Grid->SetCheckBoxValues("Y|N");
    EXPECT_EQ(Grid->GiveCellCheckBoxValues(4, 1), "Y|N");
    Col(4)->SetCheckBoxValues("1|0");
    EXPECT_EQ(Grid->GiveCellCheckBoxValues(4, 1), "1|0");
}

TEST_F(AttrResolve, ComboOfTheOfferingLevel) {
    EXPECT_EQ(Grid->GiveCellCombo(2, 2), nullptr);
    Col(2)->SetButtonType(btCombo);
    EXPECT_EQ(Grid->GiveCellCombo(2, 2), nullptr); // follows the grid's list
    Col(2)->SetParentCombo(false);
    TgxCombo* ColCombo = Col(2)->GetCombo();
    ASSERT_NE(ColCombo, nullptr);
    EXPECT_EQ(Grid->GiveCellCombo(2, 2), ColCombo);
    EXPECT_EQ(Grid->GiveCellCombo(2, 0), nullptr);
    Grid->SetRowButtonType(2, btCombo);
    Grid->SetRowParentCombo(2, false);
    TgxCombo* RowCombo = Grid->GetRowCombo(2);
    ASSERT_NE(RowCombo, nullptr);
    EXPECT_EQ(Grid->GiveCellCombo(2, 2), ColCombo);
    EXPECT_EQ(Grid->GiveCellCombo(3, 2), RowCombo);
    Grid->SetDrawOverlap(doDrawRowOnTop);
    EXPECT_EQ(Grid->GiveCellCombo(2, 2), RowCombo);
    Grid->SetCellButtonType(2, 2, btCombo);
    Grid->SetCellParentCombo(2, 2, false);
    TgxCombo* CellCombo = Grid->GetCellCombo(2, 2);
    ASSERT_NE(CellCombo, nullptr);
    EXPECT_EQ(Grid->GiveCellCombo(2, 2), CellCombo);
    EXPECT_EQ(Grid->ActiveCombo(2, Variant(2)), CellCombo);
}

TEST_F(AttrResolve, EditabilityOfColumnsRowsAndCells) {
    struct Case {
        const char* Name;
        bool ColReadOnly, RowReadOnly, ColVisible;
        TgxReadOnly Cell;
        bool Want;
    };
    const Case Cases[] = {
        {"plain", false, false, true, TgxReadOnly::roDefault, true},
        {"column read-only", true, false, true, TgxReadOnly::roDefault, false},
        {"row read-only", false, true, true, TgxReadOnly::roDefault, false},
        {"cell off in a read-only column", true, true, true, TgxReadOnly::roOff, true},
        {"cell on in an editable column", false, false, true, TgxReadOnly::roOn, false},
        {"hidden column", false, false, false, TgxReadOnly::roOff, false},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        Col(2)->SetReadOnly(C.ColReadOnly);
        Col(2)->SetVisible(C.ColVisible);
        Grid->SetRowReadOnly(3, C.RowReadOnly);
        Grid->SetCellReadOnly(2, 3, C.Cell);
        EXPECT_EQ(Grid->CanEditCell(2, 3), C.Want);
        EXPECT_EQ(Grid->CellIsReadOnly(2, 3), !C.Want);
        EXPECT_EQ(Grid->CanEditCol(2), C.ColVisible && !C.ColReadOnly);
        EXPECT_EQ(Grid->CanEditRow(3), !C.RowReadOnly);
    }
    EXPECT_FALSE(Grid->CellIsReadOnly(0, 3));
    EXPECT_FALSE(Grid->CellIsReadOnly(2, 0));
    EXPECT_FALSE(Grid->CellIsReadOnly(9, 3));
    // Designing a grid that keeps its data: every visible cell is editable.
    Col(2)->SetVisible(true);
    Grid->SetCellReadOnly(2, 3, TgxReadOnly::roOn);
    Grid->SetStoreData(true);
    Grid->SetInDesignMode(true);
    EXPECT_TRUE(Grid->CanEditCell(2, 3));
}

TEST_F(AttrResolve, BoundsTestedFormsReportTheBadIndex) {
    EXPECT_EQ(Grid->ActiveControlType(2, Variant(3)), ctText);
    EXPECT_EQ(Grid->ActiveControlType(2, Variant(0)), ctNone);
    EXPECT_EQ(GridError([&] { Grid->ActiveControlType(6, Variant(1)); }),
              "Grid1: Column index 6 out of range");
    EXPECT_EQ(GridError([&] { Grid->ActiveControlType(0, Variant(1)); }),
              "Grid1: Column index 0 out of range");
    EXPECT_EQ(GridError([&] { Grid->ActiveCombo(1, Variant(7)); }),
              "Grid1: Row index 7 out of range");
    Grid->SetReportInvalidOps(false);
    EXPECT_EQ(Grid->ActiveControlType(6, Variant(1)), ctNone);
    EXPECT_EQ(Grid->ActiveCombo(1, Variant(-1)), nullptr);
}

// A derived grid's own answers reach the bounds-tested forms.
class PictureColumnsGrid : public TgxGrid {
public:
    using TgxGrid::TgxGrid;
    TgxControlType GiveCellControlType(int DataCol, int DataRow) override {
        return DataCol == 2 && DataRow > 0 ? ctPicture : TgxGrid::GiveCellControlType(DataCol, DataRow);
    }
};

TEST(AttrDerived, BoundsTestedFormsAskTheDerivedGrid) {
    EnsureQtApplication();
    PictureColumnsGrid G(nullptr);
    G.SetGridColCount(3);
    G.SetGridRowCount(3);
    EXPECT_EQ(G.ActiveControlType(2, Variant(1)), ctPicture);
    EXPECT_EQ(G.ActiveControlType(1, Variant(1)), ctText);
}

TEST_F(AttrResolve, CurrentCellQuestions) {
    Grid->SetCurrentCell(3, 2);
    ASSERT_EQ(Grid->GetCurrentDataCol(), 3);
    ASSERT_EQ(Grid->GetCurrentDataRow(), 2);
    Col(3)->SetMaskName("M");
    Col(3)->SetControlType(ctCheck);
    Col(3)->SetCheckBoxValues("a|b");
    EXPECT_EQ(Grid->CurCellMaskName(), "M");
    EXPECT_EQ(Grid->CurCellControlType(), ctCheck);
    EXPECT_EQ(Grid->CurCellCheckBoxValues(), "a|b");
    EXPECT_FALSE(Grid->CurCellReadOnly());
    // A read-only cell may send the current cell on; the answer follows it.
    Grid->SetCellReadOnly(3, 2, TgxReadOnly::roOn);
    EXPECT_EQ(Grid->CurCellReadOnly(),
              Grid->CellIsReadOnly(Grid->GetCurrentDataCol(), Grid->GetCurrentDataRow()));
}

// The grid-level setters repaint only what their new value can change.
class AttrSetterRepaint : public ShownGridFixture {
protected:
    void SetUp() override {
        ShowGrid(4, 8);
        Grid->SetHeadingOn(true);
        Settle();
    }
    void Settle() {
        QApplication::processEvents();
        Grid->Update();
        QApplication::processEvents();
    }
    // The area waiting to be painted; empty when none.
    TRect Pending() {
        TRect R{0, 0, 0, 0};
        if (!Grid->UpdateAreaBounds(R)) return TRect{0, 0, 0, 0};
        return R;
    }
    bool NoneWaiting() {
        const TRect R = Pending();
        return R.Width() <= 0 || R.Height() <= 0;
    }
    int HeadingBottom() { return Grid->CellRect(1, 0).Bottom; }
};

TEST_F(AttrSetterRepaint, EachSetterRepaintsItsArea) {
    enum Area { Heading, Whole, RowBar };
    struct Case {
        const char* Name;
        std::function<void(TgxBaseGrid&)> Set;
        Area Where;
    };
    const Case Cases[] = {
        {"heading button", [](TgxBaseGrid& G) { G.SetHeadingButton(hbButton); }, Heading},
        {"heading alignment", [](TgxBaseGrid& G) { G.SetHeadingAlignment(taCenter); }, Heading},
        {"heading horizontal", [](TgxBaseGrid& G) { G.SetHeadingHorzAlignment(htaRight); }, Heading},
        {"heading vertical", [](TgxBaseGrid& G) { G.SetHeadingVertAlignment(vtaBottom); }, Heading},
        {"heading wrap", [](TgxBaseGrid& G) { G.SetHeadingWordWrap(uiOn); }, Heading},
        {"horizontal", [](TgxBaseGrid& G) { G.SetHorzAlignment(htaRight); }, Whole},
        {"vertical", [](TgxBaseGrid& G) { G.SetVertAlignment(vtaBottom); }, Whole},
        {"row bar", [](TgxBaseGrid& G) { G.SetRowBarAlignment(vtaCenter); }, RowBar},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        Settle();
        ASSERT_TRUE(NoneWaiting());
        C.Set(*Grid);
        const TRect R = Pending();
        ASSERT_FALSE((R.Width() <= 0 || R.Height() <= 0));
        switch (C.Where) {
        case Heading:
            EXPECT_EQ(R.Top, 0);
            EXPECT_LE(R.Bottom, HeadingBottom() + 2);
            EXPECT_GE(R.Right, Grid->CellRect(3, 0).Right);
            break;
        case Whole:
            EXPECT_GE(R.Bottom, Grid->CellRect(1, 7).Bottom);
            EXPECT_GE(R.Right, Grid->CellRect(4, 1).Right);
            break;
        case RowBar:
            EXPECT_EQ(R.Left, 0);
            EXPECT_LE(R.Right, Grid->CellRect(1, 1).Left + 1);
            EXPECT_GE(R.Bottom, Grid->CellRect(0, 7).Bottom);
            break;
        }
        // The same value again repaints nothing.
        Settle();
        C.Set(*Grid);
        EXPECT_TRUE(NoneWaiting());
    }
}

TEST_F(AttrSetterRepaint, HiddenHeadingsAreNotRepainted) {
    Grid->SetHeadingOn(false);
    Settle();
    Grid->SetHeadingHorzAlignment(htaCenter);
    Grid->SetHeadingVertAlignment(vtaCenter);
    Grid->SetHeadingWordWrap(uiOff);
    EXPECT_TRUE(NoneWaiting());
    EXPECT_EQ(Grid->HeadingHorzAlignment(), htaCenter);
}

TEST_F(AttrSetterRepaint, HeadingFontChangeReachesColumnsAndHeadingRow) {
    Grid->GetCol(2)->SetHeadingParentFont(false);
    Grid->SetHeadingParentFont(true);
    Settle();
    TFont Big;
    Big.Assign(Grid->HeadingFont());
    Big.SetSize(Grid->HeadingFont()->Size() + 6);
    Grid->HeadingFont()->Assign(&Big);
    EXPECT_FALSE(Grid->HeadingParentFont());
    const TRect R = Pending();
    ASSERT_FALSE((R.Width() <= 0 || R.Height() <= 0));
    EXPECT_EQ(R.Top, 0);
    EXPECT_GE(R.Right, Grid->CellRect(3, 0).Right);
}

// What the resolution answers is what the cells show.
class AttrPixels : public ShownGridPixels {};

TEST_F(AttrPixels, CellsArePaintedInTheirResolvedColour) {
    ShowFocused(4, 6);
    Grid->SetIs3D(true);
    Grid->SetRowColor(4, clBlue);
    Grid->GetCol(3)->SetColor(clRed);
    Grid->SetCellColor(3, 5, clLime);
    Shot();
    struct Case {
        int Col, Row;
        TColor Want;
    };
    const Case Cases[] = {
        {1, 3, clBtnFace}, {3, 3, clRed}, {1, 4, clBlue}, {3, 4, clRed}, {3, 5, clLime},
    };
    for (const Case& K : Cases) {
        SCOPED_TRACE(K.Col * 10 + K.Row);
        const TRect R = Grid->CellRect(Grid->GetDisplayCol(K.Col), Grid->GetDisplayRow(K.Row));
        // Beside the text, inside the 3-D edge.
        EXPECT_EQ(At(R.Right - 4, R.Bottom - 4), ColorToRGB(K.Want));
    }
}

} // namespace
