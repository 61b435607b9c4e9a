// Which value of a cell attribute is in force: the cell's own, its row's and
// column's in the grid's overlap order, then the grid's; and what the
// grid-level look setters repaint.
#include "ShownGridFixture.h"
#include "grid/model/Columns.h"
#include "grid/model/Combo.h"
#include "grid/model/GridTypes.h"
#include "platform/gui/Colors.h"
#include "platform/rtl/Exceptions.h"

#include <functional>
#include <string>

#include <QApplication>

#include <set>
#include <utility>

namespace {

using namespace grid;

// Notes every cell its paint draws (display numbers, the same as the data
// numbers of a grid nobody reordered).
class TLoggedGrid : public TgxGrid {
public:
    using TgxGrid::TgxGrid;
    void DoDrawCell(int DisplayCol, int DisplayRow, bool Selected, const TRect& Rect) override {
        if (Log) Log->emplace(DisplayCol, DisplayRow);
        TgxGrid::DoDrawCell(DisplayCol, DisplayRow, Selected, Rect);
    }
    std::set<std::pair<int, int>>* Log = nullptr;
};

class CellAttributesReading : public ShownGridFixture {
protected:
    void SetUp() override {
        EnsureQtApplication();
        Form = new TForm(nullptr);
        Form->SetBounds(10, 10, 600, 400);
        Logged = new TLoggedGrid(Form);
        Grid = Logged;
        Grid->SetParent(Form);
        Grid->SetBounds(0, 0, 400, 300);
        Form->Show();
        Grid->SetGridColCount(5);
        Grid->SetGridRowCount(8);
    }
    TgxCol* Col(int DataCol) { return Grid->GetCol(Variant(DataCol)); }
    void Settle() {
        QApplication::processEvents();
        Grid->Update();
    }
    // The cells painted by a step that follows a quiet, fully painted grid.
    std::set<std::pair<int, int>> PaintedBy(const std::function<void()>& Step) {
        Settle();
        std::set<std::pair<int, int>> Cells;
        Logged->Log = &Cells;
        Step();
        Settle();
        Logged->Log = nullptr;
        return Cells;
    }
    TLoggedGrid* Logged = nullptr;
};

TEST_F(CellAttributesReading, DataCellColourFollowsOverlapOrderAndTheThreeDRule) {
    // Nothing set: the window colour, button face for a raised cell.
    EXPECT_EQ(Grid->GiveCellColor(2, 2, false), clWindow);
    EXPECT_EQ(Grid->GiveCellColor(2, 2, true), clBtnFace);
    Grid->SetIs3D(true);
    EXPECT_EQ(Grid->GiveCellColor(2, 2, Grid->GiveCell3D(2, 2)), clBtnFace);
    Grid->SetColor(clYellow);
    EXPECT_EQ(Grid->GiveCellColor(2, 2, true), clYellow);
    EXPECT_EQ(Grid->GiveCellColor(2, 2, false), clYellow);
    Grid->SetColor(clNone);
    EXPECT_EQ(Grid->GiveCellColor(2, 2, true), clBtnFace);
    EXPECT_EQ(Grid->GiveCellColor(2, 2, false), clNone);

    Col(3)->SetColor(clRed);
    Grid->SetRowColor(4, clBlue);
    EXPECT_EQ(Grid->GiveCellColor(3, 4, false), clRed);
    Grid->SetDrawOverlap(doDrawRowOnTop);
    EXPECT_EQ(Grid->GiveCellColor(3, 4, false), clBlue);
    Grid->SetCellColor(3, 4, clGreen);
    EXPECT_EQ(Grid->GiveCellColor(3, 4, false), clGreen);
    Grid->SetDrawOverlap(doDrawColOnTop);
    EXPECT_EQ(Grid->GiveCellColor(3, 4, false), clGreen);
}

TEST_F(CellAttributesReading, HeadingCellsTakeHeadingColours) {
    Grid->SetHeadingColor(clLime);
    Col(3)->SetHeadingColor(clRed);
    Grid->SetRowColor(5, clBlue);
    EXPECT_EQ(Grid->GiveCellColor(0, 5, false), clLime);
    EXPECT_EQ(Grid->GiveCellColor(0, 0, true), clLime);
    EXPECT_EQ(Grid->GiveCellColor(3, 0, false), clRed);
    EXPECT_EQ(Grid->GiveCellColor(2, 0, false), clLime);
}

TEST_F(CellAttributesReading, FontsAreTakenFromTheFirstLevelThatHasItsOwn) {
    EXPECT_EQ(Grid->GiveCellFont(2, 3), Grid->Font());
    Grid->SetRowParentFont(3, false);
    Col(2)->SetParentFont(false);
    EXPECT_EQ(Grid->GiveCellFont(2, 3), Col(2)->GetFont());
    Grid->SetDrawOverlap(doDrawRowOnTop);
    EXPECT_EQ(Grid->GiveCellFont(2, 3), Grid->GetRowFont(3));
    Grid->SetCellParentFont(2, 3, false);
    EXPECT_EQ(Grid->GiveCellFont(2, 3), Grid->GetCellFont(2, 3));
    // Headings: the column's own heading font, else the grid's.
    EXPECT_EQ(Grid->GiveCellFont(1, 0), Grid->HeadingFont());
    EXPECT_EQ(Grid->GiveCellFont(0, 3), Grid->HeadingFont());
    Col(1)->SetHeadingParentFont(false);
    EXPECT_EQ(Grid->GiveHeadingFont(1), Col(1)->GetHeadingFont());
    EXPECT_EQ(Grid->GiveCellFont(1, 0), Col(1)->GetHeadingFont());
}

TEST_F(CellAttributesReading, WordWrapAndAlignmentsResolve) {
    EXPECT_EQ(Grid->GiveCellWordWrap(2, 2), uiDefault);
    Grid->SetWordWrap(uiOff);
    EXPECT_EQ(Grid->GiveCellWordWrap(2, 2), uiOff);
    Grid->SetRowWordWrap(2, uiOn);
    EXPECT_EQ(Grid->GiveCellWordWrap(2, 2), uiOn);
    // Heading cells: the column's heading value, else the grid's.
    Grid->SetHeadingWordWrap(uiOn);
    EXPECT_EQ(Grid->GiveHeadingWordWrap(2), uiOn);
    EXPECT_EQ(Grid->GiveCellWordWrap(3, 0), uiOn);
    EXPECT_EQ(Grid->GiveCellWordWrap(0, 4), uiOn);
    Col(2)->SetHeadingWordWrap(uiOff);
    Grid->SetWordWrap(uiOn);
    EXPECT_EQ(Grid->GiveCellWordWrap(2, 0), uiOff);

    EXPECT_EQ(Grid->GiveCellHorzAlignment(2, 2), htaLeft);
    EXPECT_EQ(Grid->GiveCellAlignment(2, 2), taLeftJustify);
    Col(2)->SetAlignment(taRightJustify);
    Col(2)->SetHorzAlignment(htaDefault);
    EXPECT_EQ(Grid->GiveCellHorzAlignment(2, 2), htaRight);
    EXPECT_EQ(Grid->GiveCellAlignment(2, 2), taRightJustify);
    Grid->SetRowHorzAlignment(2, htaCenter);
    EXPECT_EQ(Grid->GiveCellHorzAlignment(2, 2), htaCenter);
    EXPECT_EQ(Grid->GiveCellAlignment(2, 2), taCenter);
    Grid->SetHorzAlignment(htaRight);
    EXPECT_EQ(Grid->GiveCellHorzAlignment(3, 3), htaRight);
    // The column's older alignment comes before the grid's.
    Col(3)->SetAlignment(taCenter);
    Col(3)->SetHorzAlignment(htaDefault);
    EXPECT_EQ(Grid->GiveCellHorzAlignment(3, 3), htaCenter);
    Col(3)->SetAlignment(taLeftJustify);
    Col(3)->SetHorzAlignment(htaDefault);
    EXPECT_EQ(Grid->GiveCellHorzAlignment(3, 3), htaRight);
    // Headings: the column's, then the grid's heading value, then the grid's.
    EXPECT_EQ(Grid->GiveCellHorzAlignment(3, 0), htaRight);
    Grid->SetHeadingHorzAlignment(htaCenter);
    EXPECT_EQ(Grid->GiveCellHorzAlignment(3, 0), htaCenter);

    EXPECT_EQ(Grid->GiveCellVertAlignment(2, 2), vtaTop);
    EXPECT_EQ(Grid->GiveCellVertAlignment(2, 0), vtaTop);
    Grid->SetVertAlignment(vtaBottom);
    EXPECT_EQ(Grid->GiveCellVertAlignment(2, 2), vtaBottom);
    EXPECT_EQ(Grid->GiveCellVertAlignment(2, 0), vtaBottom);
    Grid->SetHeadingVertAlignment(vtaCenter);
    EXPECT_EQ(Grid->GiveHeadingVertAlignment(2), vtaCenter);
    Col(2)->SetVertAlignment(vtaTop);
    EXPECT_EQ(Grid->GiveCellVertAlignment(2, 2), vtaTop);
}

TEST_F(CellAttributesReading, HeadingAlignmentLeftFollowsTheGrid) {
    Grid->SetHeadingAlignment(taRightJustify);
    EXPECT_EQ(Grid->HeadingHorzAlignment(), htaRight);
    Grid->SetHeadingAlignment(taLeftJustify);
    EXPECT_EQ(Grid->HeadingHorzAlignment(), htaDefault);
    Grid->SetHorzAlignment(htaCenter);
    EXPECT_EQ(Grid->GiveCellHorzAlignment(2, 0), htaCenter);
    Grid->SetHeadingHorzAlignment(htaRight);
    EXPECT_EQ(Grid->HeadingAlignment(), taRightJustify);
    Grid->SetHeadingHorzAlignment(htaCenter);
    EXPECT_EQ(Grid->HeadingAlignment(), taCenter);
    Grid->SetHeadingHorzAlignment(htaDefault);
    EXPECT_EQ(Grid->HeadingAlignment(), taLeftJustify);
}

TEST_F(CellAttributesReading, ThreeDIsTrueWhenAnyLevelSaysSo) {
    EXPECT_FALSE(Grid->GiveCell3D(2, 2));
    EXPECT_TRUE(Grid->GiveCell3D(2, 0));
    Grid->SetHeading3D(false);
    EXPECT_FALSE(Grid->GiveCell3D(2, 0));
    EXPECT_FALSE(Grid->GiveCell3D(0, 3));
    Grid->SetCellIs3D(2, 2, true);
    Grid->SetRowIs3D(3, true);
    Col(4)->SetIs3D(true);
    EXPECT_TRUE(Grid->GiveCell3D(2, 2));
    EXPECT_TRUE(Grid->GiveCell3D(1, 3));
    EXPECT_TRUE(Grid->GiveCell3D(4, 1));
    EXPECT_FALSE(Grid->GiveCell3D(1, 1));
}

TEST_F(CellAttributesReading, ButtonAndStyleComeFromOneLevel) {
    Grid->SetRowButtonType(3, btCombo);
    Grid->SetRowDropDownStyle(3, ddDropDownList);
    Col(2)->SetButtonType(btNormal);
    TgxDropDownStyle Style = ddDropDownList;
    EXPECT_EQ(Grid->GiveCellButton(2, 3, Style), btNormal);
    EXPECT_EQ(Style, ddDropDown);
    Grid->SetDrawOverlap(doDrawRowOnTop);
    EXPECT_EQ(Grid->GiveCellButton(2, 3, Style), btCombo);
    EXPECT_EQ(Style, ddDropDownList);
    EXPECT_EQ(Grid->GiveCellButtonType(2, 3), btCombo);
    EXPECT_EQ(Grid->GiveCellDropDownStyle(2, 3), ddDropDownList);
    // Nothing set anywhere; headings and cells past the grid have none.
    EXPECT_EQ(Grid->GiveCellButton(1, 1, Style), btNone);
    EXPECT_EQ(Style, ddDropDown);
    EXPECT_EQ(Grid->GiveCellButton(2, 0, Style), btNone);
    EXPECT_EQ(Grid->GiveCellButton(2, 9, Style), btNone);
    // A read-only cell keeps its button only while ReadOnlyButton is on.
    Grid->SetCellReadOnly(2, 3, roOn);
    EXPECT_EQ(Grid->GiveCellButton(2, 3, Style), btCombo);
    Grid->SetReadOnlyButton(false);
    EXPECT_EQ(Grid->GiveCellButton(2, 3, Style), btNone);
    EXPECT_EQ(Style, ddDropDown);
}

TEST_F(CellAttributesReading, MaskControlTypeAndPictureOptions) {
    AnsiString Name = "x";
    EXPECT_FALSE(Grid->GiveCellMaskName(2, 2, Name));
    EXPECT_EQ(Name, "");
    Col(2)->SetMaskName("ColMask");
    Grid->SetRowMaskName(2, "RowMask");
    EXPECT_TRUE(Grid->GiveCellMaskName(2, 2, Name));
    EXPECT_EQ(Name, "ColMask");
    Grid->SetDrawOverlap(doDrawRowOnTop);
    Grid->GiveCellMaskName(2, 2, Name);
    EXPECT_EQ(Name, "RowMask");
    EXPECT_FALSE(Grid->GiveCellMaskName(2, 9, Name));

    EXPECT_EQ(Grid->GiveCellControlType(2, 2), ctText);
    EXPECT_EQ(Grid->GiveCellControlType(2, 0), ctNone);
    EXPECT_EQ(Grid->GiveCellControlType(0, 2), ctNone);
    EXPECT_EQ(Grid->GiveCellControlType(6, 2), ctNone);
    Col(3)->SetControlType(ctCheck);
    Grid->SetRowControlType(4, ctPicture);
    EXPECT_EQ(Grid->GiveCellControlType(3, 4), ctPicture);
    Grid->SetDrawOverlap(doDrawColOnTop);
    EXPECT_EQ(Grid->GiveCellControlType(3, 4), ctCheck);

    EXPECT_EQ(Grid->GiveCellStretchPicture(2, 2), dopDefault);
    Col(2)->SetStretchPicture(dopOff);
    Grid->SetRowPicture(2, 1, dopOn);
    EXPECT_EQ(Grid->GiveCellStretchPicture(2, 2), dopOff);
    Grid->SetCellPicture(2, 2, 4, dopOn);
    EXPECT_EQ(Grid->GiveCellKeepAspectRatio(2, 2), dopOn);
    Col(2)->SetKeepAspectRatio(dopOff);
    EXPECT_EQ(Grid->GiveCellKeepAspectRatio(2, 0), dopDefault);
}

TEST_F(CellAttributesReading, SpinSettingsComeFromTheFirstSpinLevel) {
    Col(2)->SetButtonType(btVertSpin);
    Col(2)->SetSpinOptions(TgxSpinOptions{spoKeyEdit});
    Col(2)->SetSpinIncrement(2.5);
    Grid->SetRowButtonType(3, btNone);
    Grid->SetRowSpinOptions(3, TgxSpinOptions{spoAutoRepeat});
    Grid->SetRowSpinIncrement(3, 7);
    for (const TgxDrawOverlap O : {doDrawColOnTop, doDrawRowOnTop}) {
        Grid->SetDrawOverlap(O);
        EXPECT_EQ(Grid->GiveCellSpinOptions(2, 3), TgxSpinOptions{spoKeyEdit});
        EXPECT_EQ(Grid->GiveCellSpinIncrement(2, 3), 2.5);
    }
    Grid->SetRowButtonType(3, btHorzSpin);
    EXPECT_EQ(Grid->GiveCellSpinIncrement(2, 3), 7);
    // The read-only test of the button does not apply to the spin settings.
    Grid->SetReadOnlyButton(false);
    Grid->SetCellReadOnly(2, 3, roOn);
    EXPECT_EQ(Grid->GiveCellSpinIncrement(2, 3), 7);
    EXPECT_EQ(Grid->GiveCellSpinOptions(1, 1), TgxSpinOptions{});
    EXPECT_EQ(Grid->GiveCellSpinIncrement(2, 9), 0);
}

TEST_F(CellAttributesReading, CheckBoxValuesComeFromColumnThenGrid) {
    Grid->SetCheckBoxValues("Y|N");
    EXPECT_EQ(Grid->GiveCellCheckBoxValues(2, 2), "Y|N");
    Col(2)->SetCheckBoxValues("1|0");
    EXPECT_EQ(Grid->GiveCellCheckBoxValues(2, 2), "1|0");
    EXPECT_EQ(Grid->GiveCellCheckBoxValues(3, 2), "Y|N");
}

TEST_F(CellAttributesReading, ComboIsOfferedByTheLevelThatHasOne) {
    Col(2)->SetButtonType(btCombo);
    Col(2)->SetParentCombo(false);
    Grid->SetRowButtonType(3, btCombo);
    Grid->SetRowParentCombo(3, false);
    TgxCombo* ColCombo = Col(2)->GetCombo();
    TgxCombo* RowCombo = Grid->GetRowCombo(3);
    ASSERT_NE(ColCombo, nullptr);
    ASSERT_NE(RowCombo, nullptr);
    EXPECT_EQ(Grid->GiveCellCombo(2, 3), ColCombo);
    EXPECT_EQ(Grid->ActiveCombo(2, Variant(3)), ColCombo);
    Grid->SetDrawOverlap(doDrawRowOnTop);
    EXPECT_EQ(Grid->GiveCellCombo(2, 3), RowCombo);
    // A column using the grid's list does not offer its own.
    Grid->SetDrawOverlap(doDrawColOnTop);
    Col(2)->SetParentCombo(true);
    EXPECT_EQ(Grid->GiveCellCombo(2, 3), RowCombo);
    EXPECT_EQ(Grid->GiveCellCombo(2, 9), nullptr);
    EXPECT_EQ(Grid->GiveCellCombo(1, 1), nullptr);
    // In design mode a combo column answers for its cells even while it
    // uses the grid's list.
    Grid->SetInDesignMode(true);
    EXPECT_EQ(Grid->GiveCellCombo(2, 3), nullptr);
    Grid->SetInDesignMode(false);
}

TEST_F(CellAttributesReading, EditabilityOfColumnsRowsAndCells) {
    Col(2)->SetReadOnly(true);
    Grid->SetRowReadOnly(3, true);
    EXPECT_FALSE(Grid->CanEditCol(2));
    EXPECT_TRUE(Grid->CanEditCol(3));
    EXPECT_FALSE(Grid->CanEditRow(3));
    struct Case {
        int Col, Row;
        TgxReadOnly Own;
        bool Editable;
    };
    for (const Case C : {Case{2, 2, roDefault, false}, Case{2, 2, roOff, true},
                         Case{1, 3, roDefault, false}, Case{1, 3, roOff, true},
                         Case{1, 1, roOn, false}, Case{4, 4, roDefault, true}}) {
        Grid->SetCellReadOnly(C.Col, C.Row, C.Own);
        EXPECT_EQ(Grid->CanEditCell(C.Col, C.Row), C.Editable) << C.Col << "," << C.Row;
        EXPECT_EQ(Grid->CellIsReadOnly(C.Col, C.Row), !C.Editable) << C.Col << "," << C.Row;
    }
    EXPECT_FALSE(Grid->CellIsReadOnly(2, 9));
    // A hidden column or row is never editable.
    Grid->SetCellReadOnly(4, 5, roOff);
    Col(4)->SetVisible(false);
    EXPECT_FALSE(Grid->CanEditCell(4, 5));
    EXPECT_FALSE(Grid->CanEditCol(4));
    Grid->SetRowVisible(6, false);
    EXPECT_FALSE(Grid->CanEditRow(6));
    EXPECT_FALSE(Grid->CanEditCell(1, 6));
    // In design mode a stored-data grid edits every visible cell.
    Grid->SetStoreData(true);
    Grid->SetInDesignMode(true);
    Grid->SetCellReadOnly(1, 1, roOn);
    EXPECT_TRUE(Grid->CanEditCell(1, 1));
    EXPECT_TRUE(Grid->CanEditCell(2, 3));
    EXPECT_FALSE(Grid->CanEditCell(4, 5));
    Grid->SetInDesignMode(false);
}

TEST_F(CellAttributesReading, BoundsTestedFormsCheckTheirIndexes) {
    Col(2)->SetControlType(ctCheck);
    EXPECT_EQ(Grid->ActiveControlType(2, Variant(3)), ctCheck);
    EXPECT_EQ(Grid->ActiveControlType(2, Variant(0)), ctNone);
    struct Case {
        int Col, Row;
        const char* Message;
    };
    for (const Case C : {Case{0, 1, "Column index 0 out of range"},
                         Case{6, 1, "Column index 6 out of range"},
                         Case{1, 9, "Row index 9 out of range"},
                         Case{1, -1, "Row index -1 out of range"}}) {
        try {
            Grid->ActiveControlType(C.Col, Variant(C.Row));
            ADD_FAILURE() << "no error for " << C.Col << "," << C.Row;
        } catch (const Exception& E) {
            EXPECT_NE(std::string(E.what()).find(C.Message), std::string::npos)
                << E.what();
        }
        try {
            Grid->ActiveCombo(C.Col, Variant(C.Row));
            ADD_FAILURE() << "no error for " << C.Col << "," << C.Row;
        } catch (const Exception& E) {
            EXPECT_NE(std::string(E.what()).find(C.Message), std::string::npos)
                << E.what();
        }
    }
    Grid->SetReportInvalidOps(false);
    EXPECT_EQ(Grid->ActiveControlType(6, Variant(1)), ctNone);
    EXPECT_EQ(Grid->ActiveCombo(1, Variant(9)), nullptr);
}

TEST_F(CellAttributesReading, CurrentCellQuestions) {
    Grid->SetStoreData(true);
    Col(3)->SetControlType(ctCheck);
    Col(3)->SetMaskName("M");
    Col(3)->SetCheckBoxValues("T|F");
    Col(3)->SetReadOnly(true);
    Grid->SetCurrentDataCol(3);
    Grid->SetCurrentDataRow(2);
    EXPECT_EQ(Grid->CurCellControlType(), ctCheck);
    EXPECT_EQ(Grid->CurCellMaskName(), "M");
    EXPECT_EQ(Grid->CurCellCheckBoxValues(), "T|F");
    EXPECT_TRUE(Grid->CurCellReadOnly());
}

TEST_F(CellAttributesReading, LookSettersRepaintWhatTheyChange) {
    const auto RowsOf = [](const std::set<std::pair<int, int>>& Cells) {
        std::set<int> R;
        for (const auto& C : Cells) R.insert(C.second);
        return R;
    };
    const auto ColsOf = [](const std::set<std::pair<int, int>>& Cells) {
        std::set<int> R;
        for (const auto& C : Cells) R.insert(C.first);
        return R;
    };
    EXPECT_EQ(RowsOf(PaintedBy([&] { Grid->SetHeadingButton(hbButton); })), std::set<int>{0});
    EXPECT_EQ(RowsOf(PaintedBy([&] { Grid->SetHeadingAlignment(taCenter); })), std::set<int>{0});
    EXPECT_EQ(RowsOf(PaintedBy([&] { Grid->SetHeadingHorzAlignment(htaRight); })),
              std::set<int>{0});
    EXPECT_EQ(RowsOf(PaintedBy([&] { Grid->SetHeadingVertAlignment(vtaBottom); })),
              std::set<int>{0});
    EXPECT_EQ(RowsOf(PaintedBy([&] { Grid->SetHeadingWordWrap(uiOn); })), std::set<int>{0});
    Grid->SetRowBarOn(true);
    EXPECT_EQ(ColsOf(PaintedBy([&] { Grid->SetRowBarAlignment(vtaCenter); })), std::set<int>{0});
    const std::set<int> AllRows = RowsOf(PaintedBy([&] { Grid->SetHorzAlignment(htaCenter); }));
    EXPECT_TRUE(AllRows.count(0) && AllRows.count(1) && AllRows.count(8));
    const std::set<int> AllRows2 = RowsOf(PaintedBy([&] { Grid->SetVertAlignment(vtaCenter); }));
    EXPECT_TRUE(AllRows2.count(0) && AllRows2.count(1) && AllRows2.count(8));
    // Unchanged values repaint nothing.
    EXPECT_TRUE(PaintedBy([&] { Grid->SetHeadingWordWrap(uiOn); }).empty());
    EXPECT_TRUE(PaintedBy([&] { Grid->SetHorzAlignment(htaCenter); }).empty());
    EXPECT_TRUE(PaintedBy([&] { Grid->SetRowBarAlignment(vtaCenter); }).empty());
    // With headings off the heading setters have nothing to repaint.
    Grid->SetHeadingOn(false);
    EXPECT_TRUE(PaintedBy([&] { Grid->SetHeadingVertAlignment(vtaTop); }).empty());
}

TEST_F(CellAttributesReading, HeadingFontChangePartsTheGridFromItsParent) {
    Col(2)->SetHeadingParentFont(false);
    EXPECT_TRUE(Grid->HeadingParentFont());
    const auto Cells = PaintedBy([&] { Grid->HeadingFont()->SetSize(15); });
    EXPECT_FALSE(Grid->HeadingParentFont());
    std::set<int> Rows;
    for (const auto& C : Cells) Rows.insert(C.second);
    EXPECT_TRUE(Rows.count(0));
    // The grid's own heading font changed; the heading font of the column
    // follows it when it kept the grid's look.
    EXPECT_EQ(Grid->GiveHeadingFont(1)->Size(), 15);
}

} // namespace
