// The grid model without a window: construction and defaults, columns,
// rows, sparse cell properties, values and checks, and cell buttons.
#include "GridModelFixture.h"

#include "grid/foundation/CellStore.h"
#include "grid/foundation/GridCommonVariant.h"
#include "grid/foundation/ImageList.h"
#include "grid/foundation/IntLists.h"
#include "grid/model/CellButtons.h"
#include "grid/model/CellFacade.h"
#include "grid/model/CellProps.h"
#include "grid/model/Columns.h"
#include "grid/model/ControlWrappers.h"
#include "grid/model/CurrentCell.h"
#include "grid/model/GxGrid.h"
#include "grid/model/Rows.h"
#include "platform/classes/TypInfo.h"
#include "platform/gui/Graphics.h"
#include "platform/rtl/StringList.h"

#include <climits>
#include <set>

using namespace grid;

// ---- construction ---------------------------------------------------------------------------

TEST_F(GridModelTest, ANewGridHasItsDefaults) {
    EXPECT_EQ(Grid->GetGridColCount(), 4);
    EXPECT_EQ(Grid->GetGridRowCount(), 4);
    EXPECT_EQ(Grid->ColCount(), 5);
    EXPECT_EQ(Grid->RowCount(), 5);
    EXPECT_EQ(Grid->ColWidths(0), 14);
    EXPECT_EQ(Grid->RowHeights(0), 15);
    EXPECT_EQ(Grid->GetRowBarWidth(), 14);
    EXPECT_EQ(Grid->GetHeadingHeight(), 15);
    EXPECT_EQ(Grid->DefaultColWidth(), 64);
    EXPECT_EQ(Grid->DefaultRowHeight(), 14);
    EXPECT_EQ(Grid->PrintLinesPerPage(), 40);
    EXPECT_EQ(TgxBaseGrid::GetVersion(), "1.0.0a");
    EXPECT_EQ(Grid->FixedCols(), 1);
    EXPECT_EQ(Grid->FixedRows(), 1);
    EXPECT_EQ(Grid->GridMode(), gmEdit);
    EXPECT_EQ(Grid->ExportDelimiter(), ",");
    EXPECT_FALSE(Grid->StoreData());
    EXPECT_EQ(Grid->DataStore(), nullptr);
    EXPECT_TRUE(Grid->ReportInvalidOps());
    EXPECT_EQ(Grid->SelectionColor(), static_cast<TColor>(0x8000000D));
    EXPECT_EQ(Grid->LineColor(), 0x00C0C0C0);
    // Only the heading row has a row object.
    EXPECT_EQ(Grid->GridRows()->ObjectCount(), 1);
    EXPECT_EQ(Grid->ColSelection().GetSize(), 5);
    EXPECT_EQ(Grid->RowSelection().GetSize(), 5);
    EXPECT_EQ(Grid->VisibleCols().VisibleCount(), 4);
}

TEST_F(GridModelTest, TheHeadingFontStartsAsTheGridFontAndReportsItsChanges) {
    struct Watching : TgxBaseGrid {
        using TgxBaseGrid::TgxBaseGrid;
        int Changes = 0;
        void HeadingFontChanged() override { ++Changes; }
    } Watched(nullptr);
    EXPECT_TRUE(*Watched.HeadingFont() == *Watched.Font());
    Watched.HeadingFont()->SetSize(20);
    EXPECT_GT(Watched.Changes, 0);
}

// ---- checks ---------------------------------------------------------------------------------

TEST_F(GridModelTest, ChecksNameTheGridAndStaySilentWithTheSwitchOff) {
    EXPECT_EQ(GridError([&] { Grid->CheckIndex(itRow, 0, 4, 1); }),
              "Grid1: Row index 0 out of range");
    EXPECT_EQ(GridError([&] { Grid->GetRowHeight(0); }), "Grid1: Row index 0 out of range");
    EXPECT_EQ(GridError([&] { Grid->GetCol(5); }), "Grid1: Column index 5 out of range");
    EXPECT_EQ(GridError([&] { Grid->GetCol("Amount"); }), "Grid1: Unknown field name 'Amount'");
    Grid->SetInCellLoaded(true);
    EXPECT_EQ(GridError([&] { Grid->CheckGetCell(); }),
              "Grid1: Cannot get Cell property value while in OnCellLoaded event");
    Grid->SetReportInvalidOps(false);
    EXPECT_FALSE(Grid->CheckGetCell());
    EXPECT_FALSE(Grid->CheckIndex(itCol, 9, 4, 1));
    EXPECT_EQ(Grid->GetCol(9), nullptr);
    Grid->SetRowColor(9, clRed); // does nothing
    EXPECT_EQ(Grid->GridRows()->ObjectCount(), 1);
}

// A row getter checks its index like the setters: out of range it raises,
// or with the switch off answers what a row without settings has.
TEST_F(GridModelTest, RowGettersWithABadIndexRaiseOrAnswerTheDefault) {
    Grid->SetRowVisible(2, false);
    Grid->SetRowColor(3, clRed);
    for (const int Bad : {0, 5, 99, -1}) {
        SCOPED_TRACE(Bad);
        const std::string Message = "Grid1: Row index " + std::to_string(Bad) + " out of range";
        Grid->SetReportInvalidOps(true);
        EXPECT_EQ(GridError([&] { Grid->GetRowVisible(Bad); }), Message);
        EXPECT_EQ(GridError([&] { Grid->GetRowColor(Bad); }), Message);
        EXPECT_EQ(GridError([&] { Grid->GetRowHeight(Bad); }), Message);
        Grid->SetReportInvalidOps(false);
        EXPECT_TRUE(Grid->GetRowVisible(Bad));
        EXPECT_EQ(Grid->GetRowColor(Bad), clNone);
        EXPECT_EQ(Grid->GetRowHeight(Bad), Grid->DefaultRowHeight());
        // The asking form stays quiet and answers no.
        EXPECT_FALSE(Grid->IsRowVisible(Bad == 0 ? 99 : Bad));
    }
    EXPECT_FALSE(Grid->GetRowVisible(2));
    EXPECT_TRUE(Grid->GetRowVisible(3));
    EXPECT_EQ(Grid->GetRowColor(3), clRed);
}

TEST_F(GridModelTest, ValueTypesFollowTheControlType) {
    struct Case {
        TgxControlType Type;
        Variant Value;
        TgxValueType Stored;
        bool Accepted;
    } Cases[] = {
        {ctText, Variant(5), vtpString, false},
        {ctText, Variant("a"), vtpString, true},
        {ctCheck, Variant("Yes"), vtpString, true},
        {ctCheck, Variant(1), vtpInteger, true},
        {ctCheck, Variant(true), vtpInteger, false},
        {ctCheck, Null(), vtpNull, true},
        {ctPicture, Variant("Smile"), vtpPictureName, true},
        {ctPicture, Variant(3), vtpPicture, true},
        {ctPicture, Variant(2.5), vtpPicture, false},
        {ctNone, Variant(2.5), vtpNone, true},
    };
    Grid->SetReportInvalidOps(false);
    for (const Case& C : Cases) {
        EXPECT_EQ(TgxBaseGrid::ControlDataType(C.Type, C.Value), C.Stored);
        EXPECT_EQ(Grid->CheckVarType(C.Type, C.Value), C.Accepted);
    }
    Grid->SetReportInvalidOps(true);
    EXPECT_EQ(GridError([&] { Grid->CheckVarType(ctCheck, Variant(true)); }),
              "Grid1: Invalid cell value. A checkbox column requires a value of type "
              "TCheckBoxState or string");
    // In design mode every value is taken.
    Grid->SetInDesignMode(true);
    EXPECT_TRUE(Grid->CheckVarType(ctText, Variant(5)));
}

// ---- values ----------------------------------------------------------------------------------

TEST_F(GridModelTest, StoredValuesNeedStoreData) {
    Grid->SetDataValue(1, 1, ctText, Variant("lost"));
    EXPECT_TRUE(Grid->GetDataValue(1, 1, ctText).IsEmpty());
    Grid->SetStoreData(true);
    ASSERT_NE(Grid->DataStore(), nullptr);
    Grid->SetCellValue(1, 1, Variant(5));
    EXPECT_EQ(Grid->DataStore()->GetValueType(1, 1), vtpString);
    EXPECT_EQ(Grid->GetCellValue(1, 1).AsString(), "5");
    Grid->SetDataValue(2, 1, ctCheck, Null());
    EXPECT_EQ(Grid->DataStore()->GetValueType(2, 1), vtpNull);
    Grid->SetStoreData(false);
    EXPECT_EQ(Grid->DataStore(), nullptr);
    EXPECT_TRUE(Grid->GetCellValue(1, 1).IsEmpty());
}

// A number written to a text cell is kept as the text the Variant gives it,
// replacing whatever the cell held; other cell types keep the number.
TEST_F(GridModelTest, NumbersWrittenToTextCellsReadBackAsTheirVariantText) {
    Grid->SetStoreData(true);
    Grid->SetGridColCount(2);
    Grid->SetGridRowCount(1);
    Grid->GetCol(2)->SetControlType(ctCheck);
    const int Numbers[] = {0, 7, -1, 10, -10, 123456789, INT_MAX, INT_MIN};
    const Variant Before[] = {Variant("a longer text than any number"), Variant(""), Variant()};
    for (const Variant& Old : Before) {
        for (const int N : Numbers) {
            Grid->SetCellValue(1, 1, Old);
            Grid->SetCellValue(1, 1, Variant(N));
            EXPECT_EQ(Grid->DataStore()->GetValueType(1, 1), vtpString);
            EXPECT_EQ(Grid->GetCellValue(1, 1).AsString(), Variant(N).AsString());
            Grid->SetCellValue(2, 1, Variant(N));
            EXPECT_EQ(Grid->DataStore()->GetValueType(2, 1), vtpInteger);
            EXPECT_EQ(Grid->GetCellValue(2, 1).AsInteger(), N);
        }
    }
}

TEST_F(GridModelTest, AChangedControlTypeDropsValuesThatNoLongerFit) {
    Grid->SetStoreData(true);
    for (int R = 1; R <= 3; ++R)
        Grid->SetCellValue(2, R, Variant("x"));
    Grid->SetCellValue(3, 1, Variant("kept"));
    Grid->GetCol(2)->SetControlType(ctCheck);
    EXPECT_EQ(Grid->DataStore()->GetValueType(2, 2), vtpString);
    Grid->GetCol(2)->SetControlType(ctPicture);
    for (int R = 1; R <= 3; ++R)
        EXPECT_EQ(Grid->DataStore()->GetValueType(2, R), vtpNone);
    EXPECT_EQ(Grid->GetCellValue(3, 1).AsString(), "kept");
    // A cell of its own type is checked alone.
    Grid->SetCellValue(3, 2, Variant("y"));
    Grid->SetCellControlType(3, 2, ctPicture);
    EXPECT_EQ(Grid->DataStore()->GetValueType(3, 2), vtpNone);
    EXPECT_EQ(Grid->DataStore()->GetValueType(3, 1), vtpString);
}

// ---- columns ----------------------------------------------------------------------------------

TEST_F(GridModelTest, ANewColumnHasTheBaseWidthAndItsOwnPosition) {
    TgxCol* Col = Grid->GetCol(3);
    EXPECT_EQ(Col->Width(), Grid->ColWidths(3));
    EXPECT_EQ(Col->DisplayCol(), 3);
    EXPECT_TRUE(Col->DefaultProps());
    Col->SetWidth(80);
    EXPECT_EQ(Grid->ColWidths(3), 80);
    EXPECT_FALSE(Col->DefaultProps());
    Col->Reset({prWidth});
    EXPECT_EQ(Col->Width(), 80); // the set width is what a reset restores
}

TEST_F(GridModelTest, ColumnSettersKeepTheirOldStylePairsInStep) {
    TgxCol* Col = Grid->GetCol(1);
    Col->SetHorzAlignment(htaRight);
    EXPECT_EQ(Col->Alignment(), taRightJustify);
    EXPECT_TRUE(Col->Align());
    Col->SetAlign(false);
    EXPECT_EQ(Col->HorzAlignment(), htaDefault);
    Col->SetMaxLength(-5);
    EXPECT_EQ(Col->MaxLength(), 0);
    EXPECT_EQ(GridError([&] { Col->SetCheckBoxValues("Yes"); }),
              "Grid1: Invalid CheckBoxValues. CheckBoxValues have the format "
              "'Checked|Unchecked|Grayed'. The Grayed value is optional");
    EXPECT_EQ(Col->CheckBoxValues(), "");
}

TEST_F(GridModelTest, ColumnTextsForHtmlAndXml) {
    TgxCol* Col = Grid->GetCol(1);
    Col->SetFieldName("Amount");
    EXPECT_EQ(Col->GetHeading(), "Amount");
    EXPECT_EQ(Grid->GetCol("aMOUNT"), Col);
    Col->SetHeading("Net Amount");
    EXPECT_EQ(Col->XMLHeading(), "Amount");
    Col->SetFieldName("");
    EXPECT_EQ(Col->XMLHeading(), "Net_Amount");
    Col->SetHorzAlignment(htaCenter);
    EXPECT_EQ(Col->HTMLCell("7"), "<td align=\"center\">7</td>");
    Col->SetHorzAlignment(htaLeft);
    EXPECT_EQ(Col->HTMLCell("7"), "<td>7</td>");
    Col->SetHorzAlignment(htaRight);
    Col->SetWidth(80);
    EXPECT_EQ(Col->HTMLHeader(), "<th width=80 align=\"right\">Net Amount</th>");
    // A heading alone is not a field name.
    Grid->SetReportInvalidOps(false);
    EXPECT_EQ(Grid->GetCol("Net Amount"), nullptr);
}

TEST_F(GridModelTest, SetDisplayColIgnoresPositionsOutsideTheColumns) {
    int Moves = 0;
    Grid->OnColMoved = [&](TObject*, int, int, bool) { ++Moves; };
    for (int P : {0, -1, 5, 3})
        Grid->GetCol(3)->SetDisplayCol(P);
    EXPECT_EQ(Moves, 0);
    Grid->GetCol(1)->SetDisplayCol(4);
    EXPECT_EQ(Moves, 1);
    EXPECT_EQ(Grid->GetDataCol(4), 1);
    EXPECT_EQ(Grid->GetDataCol(1), 2);
    EXPECT_EQ(Grid->GetCol(2)->DisplayCol(), 1);
}

TEST_F(GridModelTest, HidingTheCurrentColumnNeedsTheEditToEnd) {
    struct Refusing : TgxBaseGrid {
        using TgxBaseGrid::TgxBaseGrid;
        bool Refuse = false;
        bool CheckEndEdit(int, int, bool) override { return !Refuse; }
    } Stubborn(nullptr);
    // Moving there is a move away from an edit too.
    Stubborn.SetCol(2);
    Stubborn.Refuse = true;
    Stubborn.GetCol(2)->SetVisible(false);
    EXPECT_TRUE(Stubborn.GetCol(2)->Visible());
    Stubborn.GetCol(3)->SetVisible(false);
    EXPECT_FALSE(Stubborn.GetCol(3)->Visible());
    EXPECT_EQ(Stubborn.ColWidths(3), 0);
    EXPECT_EQ(Stubborn.GetCol(3)->Width(), 64);
}

TEST_F(GridModelTest, TheBaseGridMakesNoCombosOfItsOwn) {
    EXPECT_EQ(GridError([&] { Grid->GetCol(1)->SetParentCombo(false); }),
              "Grid1: Cannot create combo box. Method CreateCombo has not been not implemented "
              "in derived class");
    EXPECT_TRUE(Grid->GetCol(1)->ParentCombo());
    EXPECT_EQ(Grid->GetCol(1)->GetCombo(), nullptr);
    EXPECT_FALSE(Grid->ComboVisible());
    EXPECT_FALSE(Grid->ComboCreated());
}

// ---- rows
// ----------------------------------------------------------------------------------------

TEST_F(GridModelTest, RowObjectsExistOnlyWhileARowDiffersFromTheDefaults) {
    Grid->SetRowColor(2, clNone);
    EXPECT_EQ(Grid->GridRows()->ObjectCount(), 1);
    Grid->SetRowColor(2, clRed);
    EXPECT_NE(Grid->GetRow(2), nullptr);
    EXPECT_EQ(Grid->GetRowColor(2), clRed);
    Grid->SetRowColor(2, clNone);
    EXPECT_EQ(Grid->GetRow(2), nullptr);
    EXPECT_EQ(Grid->GetRowHeight(3), Grid->DefaultRowHeight());
    Grid->SetRowHeight(3, Grid->DefaultRowHeight());
    EXPECT_EQ(Grid->GridRows()->ObjectCount(), 1);
    Grid->SetRowHeight(3, 42);
    EXPECT_EQ(Grid->RowHeights(3), 42);
    EXPECT_EQ(Grid->GetRowHeight(3), 42);
}

TEST_F(GridModelTest, DisplayRowNumbersAreTheIdentityUntilARowMoves) {
    TgxGridRows* Rows = Grid->GridRows();
    EXPECT_FALSE(Rows->HasDisplayNumbers());
    EXPECT_EQ(Rows->GetDisplayRowNumber(3), 3);
    Rows->CreateDisplayRowNumber();
    for (int R = 0; R < Rows->Count(); ++R)
        EXPECT_EQ(Rows->GetDisplayRowNumber(R), R);
    int Moved = 0;
    Grid->OnRowMoved = [&](TObject*, int To, int Count, bool ByUser) {
        Moved = To;
        EXPECT_EQ(Count, 1);
        EXPECT_FALSE(ByUser);
    };
    for (int P : {2, 0, 5})
        Grid->SetDisplayRownr(2, P);
    EXPECT_EQ(Moved, 0);
    Grid->SetDisplayRownr(1, 4);
    EXPECT_EQ(Moved, 4);
    EXPECT_EQ(Grid->GetDisplayRow(1), 4);
    EXPECT_EQ(Grid->GetDataRow(1), 2);
}

TEST_F(GridModelTest, ANewRowObjectTakesTheHeightShownAtItsPosition) {
    Grid->SetRowHeight(1, 30);
    Grid->SetDisplayRownr(1, 3); // the 30 pixels move to display row 3
    EXPECT_EQ(Grid->RowHeights(3), 30);
    EXPECT_EQ(Grid->GetRow(1)->Height(), 30);
    Grid->SetRowColor(2, clRed); // data row 2 now shows at display row 1
    EXPECT_EQ(Grid->GetRow(2)->Height(), Grid->RowHeights(1));
}

TEST_F(GridModelTest, RowIdentitiesFindTheirRows) {
    const int Id = Grid->GetRowId(3);
    EXPECT_EQ(Grid->GetIdDataRow(Id), 3);
    EXPECT_EQ(Grid->GetIdDataRow(12345), -1);
    EXPECT_EQ(Grid->GetIDDataCol(Grid->GetCol(2)->Id()), 2);
}

// ---- cell properties
// ------------------------------------------------------------------------------

TEST_F(GridModelTest, ACellElementComesAndGoesWithItsProperties) {
    TgxCellPropSet* Props = Grid->CellProps();
    Grid->SetCellColor(2, 3, clNone);
    EXPECT_EQ(Props->Count(), 0);
    Grid->SetCellColor(2, 3, clRed);
    EXPECT_EQ(Props->Count(), 1);
    EXPECT_EQ(Grid->GetCellColor(2, 3), clRed);
    Grid->SetCellIs3D(2, 3, true);
    Grid->SetCellColor(2, 3, clNone);
    EXPECT_EQ(Props->Count(), 1);
    Grid->SetCellIs3D(2, 3, false);
    EXPECT_EQ(Props->Count(), 0);
    EXPECT_EQ(Grid->GetCellElement(2, 3, true), nullptr);
}

TEST_F(GridModelTest, SetPropertyReportsTheDeletedElement) {
    TgxCellPropSet* Props = Grid->CellProps();
    TgxCustomElement* Element = nullptr;
    EXPECT_TRUE(
        Props->SetProperty(1, 1, false, 0, prColor, Variant(static_cast<int>(clRed)), Element));
    ASSERT_NE(Element, nullptr);
    EXPECT_FALSE(
        Props->SetProperty(1, 1, false, 0, prColor, Variant(static_cast<int>(clRed)), Element));
    EXPECT_TRUE(
        Props->SetProperty(1, 1, false, 0, prColor, PropertyDefaultValue(prColor), Element));
    EXPECT_EQ(Element, nullptr);
    EXPECT_EQ(Props->Count(), 0);
}

TEST_F(GridModelTest, ResettingAnElementDropsIt) {
    Grid->SetCellColor(1, 2, clRed);
    Grid->SetCellIs3D(1, 2, true);
    Grid->SetCellTag(1, 2, 7);
    Grid->CellProps()->ResetProperties(AllProperties(), true);
    EXPECT_EQ(Grid->CellProps()->Count(), 0);
    EXPECT_EQ(Grid->GetCellTag(1, 2), 0);
}

TEST_F(GridModelTest, ElementsIterateRowFirstThenColumn) {
    Grid->SetCellColor(2, 2, clRed);
    Grid->SetCellColor(1, 2, clRed);
    Grid->SetCellColor(3, 1, clRed);
    std::vector<std::pair<int, int>> Order;
    for (TgxCellElement* E : Grid->CellProps()->Elements())
        Order.emplace_back(E->DataRow(), E->DataCol());
    EXPECT_EQ(Order, (std::vector<std::pair<int, int>>{{1, 3}, {2, 1}, {2, 2}}));
}

TEST_F(GridModelTest, AutoCreateFontKeepsTheElementAndItsCoordinates) {
    TgxCellPropSet* Props = Grid->CellProps();
    TgxCustomElement* Element = nullptr;
    Props->SetAutoCreateFont(2, 3, true, true, Element);
    ASSERT_NE(Element, nullptr);
    int Index = 0, Col = 0, Row = 0;
    EXPECT_TRUE(Grid->CoordList()->NextCoord(Index, Col, Row));
    EXPECT_EQ(std::make_pair(Col, Row), std::make_pair(2, 3));
    Props->SetAutoCreateFont(2, 3, true, false, Element);
    EXPECT_EQ(Element, nullptr);
    EXPECT_EQ(Props->Count(), 0);
    Index = 0;
    EXPECT_FALSE(Grid->CoordList()->NextCoord(Index, Col, Row));
    EXPECT_EQ(std::make_pair(Col, Row), std::make_pair(0, 0));
}

TEST_F(GridModelTest, AssigningACellSetClonesEveryElement) {
    Grid->SetCellColor(1, 1, clRed);
    Grid->SetCellTag(2, 3, 9);
    TgxBaseGrid Other(nullptr);
    Other.CellProps()->Assign(*Grid->CellProps());
    ASSERT_EQ(Other.CellProps()->Count(), 2);
    EXPECT_NE(Other.CellProps()->Find(1, 1), Grid->CellProps()->Find(1, 1));
    EXPECT_EQ(Other.CellProps()->Find(2, 3)->GetPropValue(prTag, 0).AsInteger(), 9);
}

// ---- current cell
// ---------------------------------------------------------------------------------

TEST_F(GridModelTest, TheCurrentCellIsReachedByDataNumbers) {
    Grid->SetStoreData(true);
    Grid->SetCellValue(3, 2, Variant("here"));
    Grid->CurrentCell()->MoveTo(3, 2);
    EXPECT_EQ(Grid->CurrentCell()->GetDataCol(), 3);
    EXPECT_EQ(Grid->CurrentCell()->GetValue().AsString(), "here");
    Grid->SetGridRowCount(0);
    EXPECT_EQ(Grid->CurrentCell()->GetDataCol(), -1);
    EXPECT_TRUE(Grid->CurrentCell()->GetValue().IsEmpty());
}

// ---- cell buttons
// ---------------------------------------------------------------------------------

TEST_F(GridModelTest, SharedButtonsHaveTheirDefaultSizes) {
    struct Case {
        TgxButtonType Type;
        int Width, Height;
    } Cases[] = {{btCombo, 15, 13},    {btNormal, 15, 13},           {btVertSpin, 15, 19},
                 {btHorzSpin, 19, 15}, {btDateTimeDropDown, 15, 13}, {btDateTimePopup, 15, 13}};
    for (const Case& C : Cases) {
        TgxCustomButton* B = Grid->GridCellButton(1, C.Type);
        ASSERT_NE(B, nullptr);
        EXPECT_EQ(B->FullWidth(), C.Width);
        EXPECT_EQ(B->FullHeight(), C.Height);
        EXPECT_EQ(B->GetTransparentColor(), clNone);
        EXPECT_EQ(Grid->GridCellButton(1, C.Type), B); // made once
    }
    EXPECT_EQ(Grid->GridCellButton(1, btNone), Grid->GridCellButton(1, btCombo));
    // Only the spin buttons follow the spin width.
    Grid->SetSpinButtonWidth(13);
    EXPECT_EQ(Grid->GridCellButton(1, btVertSpin)->FullWidth(), 17);
    EXPECT_EQ(Grid->GridCellButton(1, btHorzSpin)->FullHeight(), 17);
    EXPECT_EQ(Grid->GridCellButton(1, btCombo)->FullWidth(), 15);
}

TEST_F(GridModelTest, ButtonFacesAreSharedOrCopied) {
    TgxComboButton Shared(Grid.get(), SharedArrowBitmap(), clNone, 11, 9);
    EXPECT_TRUE(Shared.IsDefault());
    EXPECT_FALSE(Shared.OwnsBitmap());
    TBitmap Face;
    TgxComboButton Own(Grid.get(), &Face, clNone, 11, 9);
    EXPECT_FALSE(Own.IsDefault());
    EXPECT_TRUE(Own.OwnsBitmap());
    EXPECT_NE(Own.GetBitmap(), &Face);
    TgxVertSpinButton Spin(Grid.get(), nullptr, clNone, 11, 8);
    Grid->SetButtonEdgeWidth(5);
    EXPECT_EQ(Spin.FullHeight(), 17);
    EXPECT_EQ(Spin.FullWidth(), 21);
    TgxDateTimeButton Popup(Grid.get(), SharedDetailBitmap(), clNone, 11, 9);
    EXPECT_TRUE(Popup.Popup());
    EXPECT_TRUE(Popup.IsDefault());
}

TEST_F(GridModelTest, AColumnButtonReplacesTheSharedNormalButton) {
    TBitmap Face;
    Grid->GetCol(2)->CreateButton(&Face, clNone, 7, 7);
    EXPECT_EQ(Grid->GridCellButton(2, btNormal), Grid->GetCol(2)->Button());
    EXPECT_NE(Grid->GridCellButton(1, btNormal), Grid->GetCol(2)->Button());
}

TEST_F(GridModelTest, AssigningAColumnCopiesItsButton) {
    TBitmap Face;
    Grid->GetCol(2)->CreateButton(&Face, clNone, 7, 7);
    TgxCol* Target = Grid->GetCol(3);
    Target->AssignProperties(*Grid->GetCol(2));
    ASSERT_NE(Target->Button(), nullptr);
    EXPECT_NE(Target->Button(), Grid->GetCol(2)->Button());
    EXPECT_EQ(Target->Button()->FullWidth(), Grid->GetCol(2)->Button()->FullWidth());
    EXPECT_EQ(Grid->GridCellButton(3, btNormal), Target->Button());
    // A source without a button takes the target's away.
    Target->Assign(Grid->GetCol(1));
    EXPECT_EQ(Target->Button(), nullptr);
}

// ---- the published grid ------------------------------------------------------------------------

TEST_F(GridModelTest, ThePublishedGridShowsItsSettingsWithTheirDefaults) {
    TgxGrid Published(nullptr);
    const TPropInfo* Mode = GetPropInfo(&Published, "GridMode");
    ASSERT_NE(Mode, nullptr);
    EXPECT_TRUE(IsDefaultPropValue(&Published, Mode));
    SetEnumProp(&Published, Mode, "gmBrowse");
    EXPECT_EQ(Published.GridMode(), gmBrowse);
    EXPECT_FALSE(IsDefaultPropValue(&Published, Mode));
    const TPropInfo* Rows = GetPropInfo(&Published, "Rows");
    SetOrdProp(&Published, Rows, 9);
    EXPECT_EQ(Published.GetGridRowCount(), 9);
    const TPropInfo* Version = GetPropInfo(&Published, "Version");
    SetStrProp(&Published, Version, "2.0");
    EXPECT_EQ(GetStrProp(&Published, Version), "1.0.0a");
}

TEST_F(GridModelTest, EveryRowAccessorDropsTheRowObjectWhenBackAtItsDefault) {
    TFont Big;
    Big.SetSize(20);
    const std::vector<std::pair<std::function<void()>, std::function<void()>>> Pairs = {
        {[&] { Grid->SetRowAlignment(2, taCenter); },
         [&] { Grid->SetRowAlignment(2, taLeftJustify); }},
        {[&] { Grid->SetRowAlign(2, true); }, [&] { Grid->SetRowAlign(2, false); }},
        {[&] { Grid->SetRowPicture(2, 3, dopOff); },
         [&] { Grid->SetRowPicture(2, 3, dopDefault); }},
        {[&] { Grid->SetRowSpinOptions(2, {}); },
         [&] {
             Grid->SetRowSpinOptions(2, {spoAutoRepeat, spoAutoIncrement, spoKeyEdit});
         }},
        {[&] { Grid->SetRowSpinIncrement(2, 0.5); }, [&] { Grid->SetRowSpinIncrement(2, 1.0); }},
        {[&] { Grid->SetRowDropDownStyle(2, ddDropDownList); },
         [&] { Grid->SetRowDropDownStyle(2, ddDropDown); }},
        {[&] { Grid->SetRowFont(2, &Big); }, [&] { Grid->SetRowFont(2, nullptr); }},
        {[&] { Grid->SetRowParentFont(2, false); }, [&] { Grid->SetRowParentFont(2, true); }},
        {[&] { Grid->SetRowReadOnly(2, true); }, [&] { Grid->SetRowReadOnly(2, false); }},
        {[&] { Grid->SetRowWordWrap(2, uiOn); }, [&] { Grid->SetRowWordWrap(2, uiDefault); }},
        {[&] { Grid->SetRowControlType(2, ctCheck); },
         [&] { Grid->SetRowControlType(2, ctDefault); }},
        {[&] { Grid->SetRowMaskName(2, "Phone"); }, [&] { Grid->SetRowMaskName(2, ""); }},
    };
    for (std::size_t I = 0; I < Pairs.size(); ++I) {
        Pairs[I].first();
        EXPECT_NE(Grid->GetRow(2), nullptr) << I;
        Pairs[I].second();
        EXPECT_EQ(Grid->GetRow(2), nullptr) << I;
    }
    EXPECT_FALSE(Grid->IsRowReadOnly(9));
    EXPECT_FALSE(Grid->IsRowVisible(9));
}

TEST_F(GridModelTest, EveryCellAccessorDropsTheElementWhenBackAtItsDefault) {
    TFont Big;
    Big.SetSize(20);
    TBitmap Data;
    const std::vector<std::pair<std::function<void()>, std::function<void()>>> Pairs = {
        {[&] { Grid->SetCellAlignment(1, 2, taRightJustify); },
         [&] { Grid->SetCellAlignment(1, 2, taLeftJustify); }},
        {[&] { Grid->SetCellHorzAlignment(1, 2, htaCenter); },
         [&] { Grid->SetCellHorzAlignment(1, 2, htaDefault); }},
        {[&] { Grid->SetCellPicture(1, 2, 4, dopOn); },
         [&] { Grid->SetCellPicture(1, 2, 4, dopDefault); }},
        {[&] { Grid->SetCellSpinIncrement(1, 2, 2.5); },
         [&] { Grid->SetCellSpinIncrement(1, 2, 1.0); }},
        {[&] { Grid->SetCellSpinOptions(1, 2, {spoKeyEdit}); },
         [&] {
             Grid->SetCellSpinOptions(1, 2, {spoAutoRepeat, spoAutoIncrement, spoKeyEdit});
         }},
        {[&] { Grid->SetCellReadOnly(1, 2, roOn); },
         [&] { Grid->SetCellReadOnly(1, 2, roDefault); }},
        {[&] { Grid->SetCellData(1, 2, &Data); }, [&] { Grid->ResetCellData(1, 2); }},
        {[&] { Grid->SetCellFont(1, 2, &Big); }, [&] { Grid->ResetCellFont(1, 2); }},
        {[&] { Grid->SetCellParentFont(1, 2, false); },
         [&] { Grid->SetCellParentFont(1, 2, true); }},
        {[&] { Grid->SetCellMaskName(1, 2, "Zip"); }, [&] { Grid->SetCellMaskName(1, 2, ""); }},
        {[&] { Grid->SetCellButtonType(1, 2, btNormal); },
         [&] { Grid->SetCellButtonType(1, 2, btDefault); }},
    };
    for (std::size_t I = 0; I < Pairs.size(); ++I) {
        Pairs[I].first();
        EXPECT_EQ(Grid->CellProps()->Count(), 1) << I;
        Pairs[I].second();
        EXPECT_EQ(Grid->CellProps()->Count(), 0) << I;
    }
    Grid->SetCellFont(1, 2, &Big);
    EXPECT_EQ(Grid->GetCellFont(1, 2)->Size(), 20);
    EXPECT_FALSE(Grid->GetCellParentFont(1, 2));
    EXPECT_EQ(Grid->IsCellReadOnly(3, 3), roDefault);
}

TEST_F(GridModelTest, CheckBoxStatesGoThroughTheColumnsValues) {
    Grid->SetStoreData(true);
    Grid->GetCol(2)->SetControlType(ctCheck);
    Grid->GetCol(2)->SetCheckBoxValues("Yes|No");
    Grid->SetCellCheckBoxState(2, 1, cbChecked);
    EXPECT_EQ(Grid->GetCellValue(2, 1).AsString(), "Yes");
    EXPECT_EQ(Grid->GetCellCheckBoxState(2, 1), cbChecked);
    Grid->SetCellValue(2, 2, Variant("No"));
    EXPECT_EQ(Grid->GetCellCheckBoxState(2, 2), cbUnchecked);
}

TEST_F(GridModelTest, ACellIsRaisedWhenAnyLevelSaysSo) {
    EXPECT_FALSE(Grid->DrawCell3D(2, 2));
    Grid->SetRowIs3D(2, true);
    EXPECT_TRUE(Grid->DrawCell3D(3, 2));
    EXPECT_FALSE(Grid->DrawCell3D(3, 3));
    Grid->SetCellIs3D(3, 3, true);
    EXPECT_TRUE(Grid->DrawCell3D(3, 3));
}

TEST_F(GridModelTest, EachControlTypeHasItsInPlaceControl) {
    TgxCustomGridControl* Text = Grid->GridCellControl(ctText);
    ASSERT_NE(Text, nullptr);
    EXPECT_TRUE(Text->IsEditControl());
    EXPECT_EQ(Text->GetGrid(), Grid.get());
    EXPECT_FALSE(Grid->GridCellControl(ctCheck)->IsEditControl());
    EXPECT_NE(Grid->GridCellControl(ctPicture), Grid->GridCellControl(ctNone));
    EXPECT_EQ(Grid->GridCellControl(ctDefault), Grid->GridCellControl(ctNone));
}

TEST_F(GridModelTest, TheCellFacadeReadsAndWritesTheCellsOwnProperties) {
    TgxCell Cell(Grid.get(), 2, 3);
    Cell.SetColor(clRed);
    Cell.SetHorzAlignment(htaRight);
    EXPECT_EQ(Grid->GetCellColor(2, 3), clRed);
    EXPECT_EQ(Cell.Alignment(), taRightJustify);
    Grid->GetCol(2)->SetColor(clTeal);
    EXPECT_EQ(Cell.Color(), clRed); // its own value, not the resolved one
    TgxCell Other(Grid.get(), 4, 4);
    Other.Assign(&Cell);
    EXPECT_EQ(Grid->GetCellColor(4, 4), clRed);
    Cell.SetAutoCreateFont(true);
    EXPECT_TRUE(Cell.AutoCreateFont());
    Cell.SetCell(1, 1);
    EXPECT_FALSE(Cell.AutoCreateFont());
    EXPECT_EQ(Cell.Color(), clNone);
}

TEST_F(GridModelTest, ADesignRowCopiesOrResetsTheRowObject) {
    TgxBaseGrid Source(nullptr);
    Source.SetRowColor(2, clRed);
    TgxDesignRow Target(Grid.get(), 3);
    TgxDesignRow Plain(&Source, 1);
    Target.Assign(&Plain); // neither has a row object
    EXPECT_EQ(Grid->GetRow(3), nullptr);
    TgxDesignRow From(&Source, 2);
    Target.Assign(&From);
    EXPECT_EQ(Grid->GetRowColor(3), clRed);
    TgxDesignRow Empty(&Source, 4);
    Target.Assign(&Empty);
    EXPECT_EQ(Grid->GetRow(3), nullptr);
}

TEST_F(GridModelTest, ADesignRowPublishesTheRowsPropertiesThroughTheGrid) {
    TgxDesignRow Row(Grid.get(), 2);
    std::set<std::string> Names;
    for (const TPropInfo* Prop : GetPropList(&Row))
        Names.insert(Prop->Name);
    const std::set<std::string> Published = {
        "ButtonType",    "CenterPicture",   "Color",       "ControlType",   "DateTimeDef",
        "DisplayRow",    "DropDownStyle",   "Font",        "Height",        "HorzAlignment",
        "Is3D",          "KeepAspectRatio", "MaskName",    "ParentCombo",   "ParentFont",
        "ReadOnly",      "ShrinkPicture",   "SpinOptions", "SpinIncrement", "StretchPicture",
        "VertAlignment", "Visible",         "WordWrap"};
    EXPECT_EQ(Names, Published);

    // Each goes to the grid's row.
    SetOrdProp(&Row, GetPropInfo(&Row, "Color"), clRed);
    EXPECT_EQ(Grid->GetRowColor(2), clRed);
    SetEnumProp(&Row, GetPropInfo(&Row, "WordWrap"), "uiOn");
    EXPECT_EQ(Grid->GetRowWordWrap(2), uiOn);
    Grid->SetRowPicture(2, 3, dopOff);
    EXPECT_EQ(GetEnumProp(&Row, GetPropInfo(&Row, "CenterPicture")), "dopOff");
    SetOrdProp(&Row, GetPropInfo(&Row, "Height"), 31);
    EXPECT_EQ(Grid->GetRowHeight(2), 31);
    // Place and height are always stored, the others only away from their
    // defaults.
    EXPECT_TRUE(IsStoredProp(&Row, GetPropInfo(&Row, "DisplayRow")));
    EXPECT_FALSE(IsDefaultPropValue(&Row, GetPropInfo(&Row, "DisplayRow")));
    EXPECT_FALSE(IsDefaultPropValue(&Row, GetPropInfo(&Row, "Height")));
    EXPECT_FALSE(IsStoredProp(&Row, GetPropInfo(&Row, "SpinIncrement")));
    EXPECT_TRUE(IsDefaultPropValue(&Row, GetPropInfo(&Row, "ReadOnly")));

    // The accessors offered beside them.
    Row.SetAlignment(taRightJustify);
    Row.SetAlign(true);
    EXPECT_EQ(Grid->GetRowHorzAlignment(2), htaRight);
    Row.SetChanged(true);
    EXPECT_TRUE(Grid->GetRowChanged(2));
    Row.SetSelected(true);
    EXPECT_TRUE(Grid->GetRowSelected(2));
    Row.SetAutoCreateFont(true);
    EXPECT_TRUE(Grid->GetRowAutoCreateFont(2));
    EXPECT_EQ(Row.Id(), Grid->GetRowId(2));
    EXPECT_EQ(Row.GetCombo(), nullptr);
}

TEST_F(GridModelTest, AssigningARowTakesItsPlaceAndItsProperties) {
    Grid->SetRowColor(2, clRed);
    Grid->SetDisplayRownr(2, 4);
    TgxRow* Target = Grid->GridRows()->CreateDataRow(3);
    Target->Assign(Grid->GetRow(2));
    EXPECT_EQ(Grid->GetDisplayRow(3), 4);
    EXPECT_EQ(Grid->GetRowColor(3), clRed);
}

TEST_F(GridModelTest, TextWidthsAndHeadingLines) {
    Grid->SetStoreData(true);
    Grid->SetCellValue(1, 1, Variant("short\r\na much longer second line"));
    Grid->SetCellValue(1, 2, Variant("a much longer second line"));
    const int Unwrapped = Grid->GetCellTextWidth(1, 1);
    Grid->SetCellWordWrap(1, 1, uiOn);
    const int Wrapped = Grid->GetCellTextWidth(1, 1);
    EXPECT_LT(Wrapped, Unwrapped);
    EXPECT_EQ(Wrapped, Grid->GetCellTextWidth(1, 2));
    EXPECT_EQ(Grid->GetCellTextWidth(9, 9), 0);
    Grid->GetCol(2)->SetHeading("Two\r\nLines");
    EXPECT_EQ(Grid->GetHeadingTextLines(2), 2);
    Grid->GetCol(2)->SetHeading("&One");
    EXPECT_EQ(Grid->GetHeadingTextLines(2), 1);
    EXPECT_TRUE(Grid->CanSelectRow(1, Variant()));
}

TEST_F(GridModelTest, OnlyTheUsersChangeOfAColumnFontStopsItFollowingTheGrid) {
    TgxCol* Col = Grid->GetCol(1);
    EXPECT_EQ(Col->GetFont(), nullptr);
    Col->SetAutoCreateFont(true);
    TFont* Own = Col->GetFont(); // a copy of the grid font, made by the column
    ASSERT_NE(Own, nullptr);
    EXPECT_TRUE(Col->ParentFont());
    Grid->Font()->SetSize(14);
    Col->CheckFont();
    EXPECT_EQ(Own->Size(), 14);
    EXPECT_TRUE(Col->ParentFont());
    Own->SetSize(18); // the user's change
    EXPECT_FALSE(Col->ParentFont());
    Col->SetAutoCreateFont(false);
    EXPECT_EQ(Grid->AutoFontCols()->Count(), 0);
}

TEST_F(GridModelTest, AReadOnlyCurrentColumnHandsTheCurrentCellOn) {
    Grid->SetCol(2);
    std::vector<int> Moves;
    Grid->OnCellChanged = [&Moves](TObject*, int, int NewCol, int, int) {
        Moves.push_back(NewCol);
    };
    Grid->GetCol(2)->SetReadOnly(true);
    EXPECT_EQ(Grid->Col(), 3);
    // The move is the grid's own, reported as any other.
    EXPECT_EQ(Moves, std::vector<int>{3});
    Grid->OnCellChanged = nullptr;
    Grid->GetCol(4)->SetVisible(false);
    Grid->GetCol(3)->SetVisible(false);
    EXPECT_EQ(Grid->Col(), 1);
}

TEST_F(GridModelTest, NewTextMustFitTheColumnsMaxLengthInCharacters) {
    Grid->GetCol(1)->SetMaxLength(5);
    Grid->SetStoreData(true);
    Grid->CurrentCell()->MoveTo(1, 1);
    TgxCurrentCell* Cell = Grid->CurrentCell();
    Cell->SetBuffer(Variant("abc"), false);
    Cell->SetSelLength(2);
    EXPECT_TRUE(Cell->NewlengthOk("wxyz"));
    EXPECT_FALSE(Cell->NewlengthOk("vwxyz"));
    // A multibyte character counts once.
    EXPECT_TRUE(Cell->NewlengthOk("\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9"));
    Grid->GetCol(1)->SetMaxLength(0);
    EXPECT_TRUE(Cell->NewlengthOk(std::string(100, 'x')));
}

TEST_F(GridModelTest, AllSelectedAndPictureOptionsOfTheCurrentCell) {
    Grid->SetStoreData(true);
    Grid->SetCellValue(1, 1, Variant("abcd"));
    Grid->CurrentCell()->MoveTo(1, 1);
    TgxCurrentCell* Cell = Grid->CurrentCell();
    EXPECT_FALSE(Cell->AllSelected());
    Cell->SetSelLength(4);
    EXPECT_TRUE(Cell->AllSelected());
    Grid->GetCol(2)->SetControlType(ctCheck);
    Cell->MoveTo(2, 1);
    Cell->SetSelLength(0);
    EXPECT_TRUE(Cell->AllSelected());
    EXPECT_TRUE(Cell->GetStretchPicture()); // nothing set: the default
    Grid->GetCol(2)->SetStretchPicture(dopOff);
    EXPECT_FALSE(Cell->GetStretchPicture());
    Grid->SetCellPicture(2, 1, 1, dopOn);
    EXPECT_TRUE(Cell->GetStretchPicture());
}

TEST_F(GridModelTest, MoveToInsertRowOnlyInEditInsertMode) {
    Grid->CurrentCell()->MoveToInsertRow(2);
    EXPECT_EQ(Grid->Row(), 1);
    Grid->SetGridMode(gmEditInsert);
    Grid->SetGridRowCount(3);
    Grid->CurrentCell()->MoveToInsertRow(2);
    EXPECT_EQ(Grid->Row(), Grid->RowCount() - 1);
    EXPECT_EQ(Grid->Col(), Grid->GetDisplayCol(2));
}

TEST_F(GridModelTest, PictureNamesSurviveARenameAndAnotherImageList) {
    TgxImageList First(nullptr);
    First.SetGUID("{first}");
    First.Images()->Add()->SetRefName("Smile");
    Grid->SetInDesignMode(true);
    Grid->SetStoreData(true);
    Grid->SetImageList(&First);
    Grid->SetDataValue(1, 1, ctPicture, Variant("Smile"));
    EXPECT_EQ(Grid->DataStore()->GetValueType(1, 1), vtpPictureName);
    EXPECT_NE(Grid->DataStore()->GetValue(1, 1).AsString(), "Smile"); // a reference
    First.Images()->Items(0)->SetRefName("faces.Grin");
    EXPECT_EQ(Grid->GetDataValue(1, 1, ctPicture).AsString(), "faces.Grin");
    // Another list with another identity: the name still reads, and in
    // design mode the reference is bound to the new list by that name.
    TgxImageList Second(nullptr);
    Second.SetGUID("{second}");
    Second.Images()->Add()->SetRefName("faces.Grin");
    Grid->SetImageList(&Second);
    EXPECT_EQ(Grid->GetDataValue(1, 1, ctPicture).AsString(), "faces.Grin");
    EXPECT_EQ(Grid->ImageListIds()->Count(), 2);
}

TEST_F(GridModelTest, TheWidestTextOfAColumnCountsVisibleRowsOnly) {
    Grid->SetStoreData(true);
    EXPECT_EQ(Grid->GetCol(1)->GetMaxTextWidth(), 0);
    Grid->SetCellValue(1, 1, Variant("a"));
    Grid->SetCellValue(1, 2, Variant("a much wider text"));
    const int Wide = Grid->GetCol(1)->GetMaxTextWidth();
    EXPECT_EQ(Wide, Grid->GetCellTextWidth(1, 2));
    Grid->SetRowVisible(2, false);
    EXPECT_LT(Grid->GetCol(1)->GetMaxTextWidth(), Wide);
}

TEST_F(GridModelTest, AUsersChangeOfACellsOwnFontStopsItFollowingTheGrid) {
    TgxCell Cell(Grid.get(), 2, 2);
    Cell.SetAutoCreateFont(true);
    Cell.SetParentFont(false);
    Cell.SetParentFont(true); // follows again, keeping its font object
    TgxCellElement* Element = Grid->CellProps()->Find(2, 2);
    ASSERT_NE(Element->Font(), nullptr);
    Grid->Font()->SetSize(15);
    Grid->UpdateCellFonts();
    EXPECT_EQ(Element->Font()->Size(), 15);
    EXPECT_TRUE(Element->ParentFont());
    Element->Font()->SetSize(19); // the user's change
    EXPECT_FALSE(Element->ParentFont());
}

TEST_F(GridModelTest, AssigningAColumnCopiesItsFontsAndTheirSwitches) {
    TgxCol* Source = Grid->GetCol(1);
    Source->SetAutoCreateFont(true);
    TFont Big;
    Big.Assign(Grid->HeadingFont());
    Big.SetSize(21);
    Source->SetHeadingFont(&Big);
    Source->SetColor(clRed);
    TgxCol* Target = Grid->GetCol(2);
    Target->Assign(Source);
    ASSERT_NE(Target->GetHeadingFont(), nullptr);
    EXPECT_EQ(Target->GetHeadingFont()->Size(), 21);
    EXPECT_FALSE(Target->HeadingParentFont());
    EXPECT_TRUE(Target->AutoCreateFont());
    EXPECT_EQ(Target->Color(), clRed);
    EXPECT_FALSE(Target->DefaultProps());
    // A source that follows the heading font makes the target follow it.
    Target->Assign(Grid->GetCol(3));
    EXPECT_TRUE(Target->HeadingParentFont());
    EXPECT_FALSE(Target->AutoCreateFont());
    EXPECT_EQ(Target->GetHeadingFont(), nullptr);
}

// Row fonts and column heading fonts keep a copy of the grid's (heading)
// font while AutoCreateFont is on; only a change made to that copy from
// outside stops them following.
TEST_F(GridModelTest, AutoCreatedRowAndHeadingFontsFollowUntilTheUserChangesThem) {
    Grid->SetRowAutoCreateFont(3, true);
    TFont* RowFont = Grid->GetRowFont(3);
    ASSERT_NE(RowFont, nullptr);
    EXPECT_TRUE(*RowFont == *Grid->Font());
    EXPECT_TRUE(Grid->GetRowParentFont(3));
    // A new grid font reaches the copies.
    Grid->GetCol(1)->SetAutoCreateFont(true);
    Grid->Font()->SetSize(15);
    EXPECT_EQ(Grid->GetRowFont(3)->Size(), 15);
    EXPECT_EQ(Grid->GetCol(1)->GetFont()->Size(), 15);
    EXPECT_TRUE(Grid->GetRowParentFont(3));
    RowFont->SetSize(19);
    EXPECT_FALSE(Grid->GetRowParentFont(3));
    Grid->Font()->SetSize(11);
    EXPECT_EQ(Grid->GetRowFont(3)->Size(), 19);
    // Without AutoCreateFont a following row has no font of its own.
    EXPECT_EQ(Grid->GetRowFont(4), nullptr);

    TgxCol* Col = Grid->GetCol(2);
    EXPECT_EQ(Col->GetHeadingFont(), nullptr);
    Col->SetAutoCreateFont(true);
    ASSERT_NE(Col->GetHeadingFont(), nullptr);
    EXPECT_TRUE(Col->HeadingParentFont());
    Grid->HeadingFont()->SetSize(17);
    EXPECT_EQ(Col->GetHeadingFont()->Size(), 17);
    EXPECT_TRUE(Col->HeadingParentFont());
    Col->GetHeadingFont()->SetSize(23);
    EXPECT_FALSE(Col->HeadingParentFont());
    Grid->HeadingFont()->SetSize(9);
    EXPECT_EQ(Col->GetHeadingFont()->Size(), 23);
}

TEST_F(GridModelTest, ACellsAutoCreateFontIsListedOnceHoweverOftenItIsSet) {
    TgxCell Cell(Grid.get(), 2, 3);
    Cell.SetAutoCreateFont(true);
    Cell.SetAutoCreateFont(true);
    EXPECT_EQ(Grid->CoordList()->Count(), 2);
    Cell.SetAutoCreateFont(false);
    EXPECT_EQ(Grid->CoordList()->Count(), 0);
    EXPECT_EQ(Grid->CellProps()->Find(2, 3), nullptr);
}

TEST_F(GridModelTest, RowFontsComeAndGoWithTheirRowObjects) {
    Grid->AssignRowFont(3);
    ASSERT_NE(Grid->GetRowFont(3), nullptr);
    EXPECT_FALSE(Grid->GetRowParentFont(3));
    Grid->ResetRowFont(3);
    EXPECT_EQ(Grid->GetRow(3), nullptr);
    Grid->SetRowAutoCreateFont(3, true);
    EXPECT_EQ(Grid->AutoFontRows()->Count(), 1);
    Grid->SetRowAutoCreateFont(3, false);
    EXPECT_EQ(Grid->AutoFontRows()->Count(), 0);
    EXPECT_EQ(Grid->GetRow(3), nullptr);
}
