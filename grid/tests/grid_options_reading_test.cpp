// The grid's option setters, the grid mode with its insertion row, the
// editor and focus options, the row selection options and the current
// position in data numbers, on a shown grid.
#include "DropDownFixture.h"
#include "GridEditFixture.h"

#include "grid/foundation/OrderedSets.h"
#include "grid/foundation/ImageList.h"
#include "grid/foundation/IntLists.h"
#include "grid/model/Columns.h"
#include "grid/model/CurrentCell.h"
#include "grid/model/InplaceControl.h"

using namespace grid;

namespace {

class GridOptionsReading : public GridEditFixture {
protected:
    std::pair<int, int> Cell(int C, int R) const { return {C, R}; }
    // The grid as it shows now.
    TColor PixelAt(int X, int Y) {
        TBitmap Shot;
        Shot.SetSize(Grid->Width(), Grid->Height());
        Grid->PaintTo(Shot.Canvas());
        return Shot.Canvas()->Pixels(X, Y);
    }
    bool EditorVisible() { return Grid->GridControl() && Grid->GridControl()->GetVisible(); }
};

TEST_F(GridOptionsReading, Defaults) {
    EXPECT_EQ(Grid->GridMode(), gmEdit);
    EXPECT_TRUE(Grid->AlwaysShowEditor());
    EXPECT_FALSE(Grid->AlwaysShowFocus());
    EXPECT_TRUE(Grid->SkipReadOnly());
    EXPECT_EQ(Grid->RowChangedIndicator(), riOn);
    EXPECT_EQ(Grid->ColSelectMode(), csMulti);
    EXPECT_EQ(Grid->RowSelectMode(), rsMulti);
    EXPECT_EQ(Grid->CellSelectMode(), cmRange);
    EXPECT_EQ(Grid->GridLines(), glBoth);
    EXPECT_FALSE(Grid->ThumbTracking());
    EXPECT_FALSE(Grid->Is3D());
    EXPECT_EQ(Grid->EditColor(), clNone);
    EXPECT_EQ(Grid->EditFontColor(), clNone);
    EXPECT_TRUE(Grid->Heading3D());
    EXPECT_TRUE(Grid->SelectFixed());
    EXPECT_EQ(Grid->WordWrap(), uiDefault);
    EXPECT_TRUE(Grid->ReadOnlyButton());
    EXPECT_TRUE(Grid->HeadingParentFont());
    EXPECT_TRUE(Grid->StretchPicture());
    EXPECT_TRUE(Grid->ShrinkPicture());
    EXPECT_TRUE(Grid->CenterPicture());
    EXPECT_FALSE(Grid->KeepAspectRatio());
    EXPECT_EQ(Grid->TransparentColor(), clNone);
    EXPECT_EQ(Grid->LineColor(), clSilver);
    EXPECT_EQ(Grid->FixedLineColor(), clBlack);
    EXPECT_EQ(Grid->HeadingColor(), clBtnFace);
}

TEST_F(GridOptionsReading, GridLinesSetTheLineWidths) {
    struct Case {
        TgxGridLines Lines;
        int Horz, Vert;
    };
    for (const Case& C : {Case{glNone, 0, 0}, Case{glHorzLines, 1, 0}, Case{glVertLines, 0, 1},
                          Case{glBoth, 1, 1}}) {
        Grid->SetGridLines(C.Lines);
        EXPECT_EQ(Grid->HorzLineWidth(), C.Horz) << int(C.Lines);
        EXPECT_EQ(Grid->VertLineWidth(), C.Vert) << int(C.Lines);
    }
}

TEST_F(GridOptionsReading, ANewLineColourIsDrawn) {
    // The vertical line right of data cell (2,2).
    // (The picture holds the border too: the line is looked for.)
    const TRect R = Grid->CellRect(2, 2);
    const int Y = (R.Top + R.Bottom) / 2 + 2;
    int X = R.Right;
    while (X < R.Right + 4 && PixelAt(X, Y) != clSilver)
        ++X;
    EXPECT_EQ(PixelAt(X, Y), clSilver);
    Grid->SetLineColor(clRed);
    QApplication::processEvents();
    EXPECT_EQ(PixelAt(X, Y), clRed);
}

TEST_F(GridOptionsReading, ThumbTrackingFollowsTheBaseOption) {
    Grid->SetThumbTracking(true);
    EXPECT_TRUE(Grid->Options().Contains(goThumbTracking));
    Grid->SetThumbTracking(false);
    EXPECT_FALSE(Grid->Options().Contains(goThumbTracking));
}

TEST_F(GridOptionsReading, SkipReadOnlyOnMovesOffAReadOnlyColumn) {
    Grid->SetSkipReadOnly(false);
    GoTo(2, 2);
    Grid->GetCol(2)->SetReadOnly(true);
    EXPECT_EQ(At(), Cell(2, 2));
    Grid->SetSkipReadOnly(true);
    EXPECT_EQ(At(), Cell(3, 2));
}

TEST_F(GridOptionsReading, RowChangedIndicatorOffAndAutoResetClearTheMarks) {
    for (auto Indicator : {riOff, riAutoReset}) {
        Grid->SetRowChangedIndicator(riOn);
        GoTo(1, 2);
        Type("x");
        Press(Qt::Key_Down);
        ASSERT_TRUE(Grid->IsRowChanged(2));
        Grid->SetRowChangedIndicator(Indicator);
        EXPECT_FALSE(Grid->IsRowChanged(2)) << int(Indicator);
    }
}

TEST_F(GridOptionsReading, PictureOptionsReachTheCurrentCell) {
    Grid->SetStretchPicture(false);
    Grid->SetShrinkPicture(false);
    Grid->SetCenterPicture(false);
    Grid->SetKeepAspectRatio(true);
    EXPECT_FALSE(Grid->CurrentCell()->GetStretchPicture());
    EXPECT_FALSE(Grid->CurrentCell()->GetShrinkPicture());
    EXPECT_FALSE(Grid->CurrentCell()->GetCenterPicture());
    EXPECT_TRUE(Grid->CurrentCell()->GetKeepAspectRatio());
    // Also on the next current cell.
    GoTo(3, 3);
    Type("p");
    EXPECT_FALSE(Grid->CurrentCell()->GetStretchPicture());
    EXPECT_TRUE(Grid->CurrentCell()->GetKeepAspectRatio());
}

TEST_F(GridOptionsReading, HeadingFontPartsFromAndFollowsItsParent) {
    TFont Big;
    Big.SetSize(20);
    Grid->SetHeadingFont(&Big);
    EXPECT_FALSE(Grid->HeadingParentFont());
    EXPECT_EQ(Grid->HeadingFont()->Size(), 20);
    Form->Font()->SetSize(11);
    Grid->SetHeadingParentFont(true);
    EXPECT_TRUE(Grid->HeadingParentFont());
    EXPECT_EQ(Grid->HeadingFont()->Size(), 11);
}

TEST_F(GridOptionsReading, EditInsertAddsAnInsertionRowAndTakesItAway) {
    const int Count = Grid->RowCount();
    Grid->SetGridMode(gmEditInsert);
    EXPECT_EQ(Grid->RowCount(), Count + 1);
    EXPECT_EQ(Grid->GetGridRowCount(), 5);
    EXPECT_TRUE(Grid->InsertionRowShown());
    Grid->SetGridMode(gmEdit);
    EXPECT_EQ(Grid->RowCount(), Count);
    EXPECT_FALSE(Grid->InsertionRowShown());
}

TEST_F(GridOptionsReading, BrowseHidesTheEditorAndDropsTheBufferAndEditShowsItAgain) {
    GoTo(2, 2);
    ASSERT_TRUE(EditorVisible());
    Grid->SetGridMode(gmBrowse);
    EXPECT_FALSE(EditorVisible());
    EXPECT_FALSE(Grid->CurrentCell()->ValueSet(2, 2));
    Grid->SetGridMode(gmEdit);
    EXPECT_TRUE(EditorVisible());
}

TEST_F(GridOptionsReading, ListBoxIsRefusedWhileTheEditCannotEnd) {
    LogEvents();
    GoTo(2, 2);
    Type("v");
    RefuseCell = true;
    Grid->SetGridMode(gmListBox);
    EXPECT_EQ(Grid->GridMode(), gmEdit);
    EXPECT_TRUE(Grid->CellEditing());
    RefuseCell = false;
    Grid->SetGridMode(gmListBox);
    EXPECT_EQ(Grid->GridMode(), gmListBox);
    EXPECT_EQ(Stored(2, 2), "v");
}

TEST_F(GridOptionsReading, OldEditModeTexts) {
    struct Case {
        const char* Text;
        TgxEditMode Mode;
    };
    for (const Case& C :
         {Case{"embrowse", emBrowse}, Case{"EmBrOwSe", emBrowse}, Case{"EMNONE", emNone},
          Case{"emEditInsert", emEditInsert}, Case{"emedit", emEdit}, Case{"", emEdit},
          Case{"browse", emEdit}}) {
        EXPECT_EQ(TgxBaseGrid::EditModeStrValue(C.Text), C.Mode) << C.Text;
    }
    EXPECT_EQ(TgxBaseGrid::EditModeToGridMode(static_cast<TgxEditMode>(9)), gmEdit);
    Grid->SetEditMode(emBrowse);
    EXPECT_EQ(Grid->GridMode(), gmBrowse);
}

TEST_F(GridOptionsReading, InsertRowOffCountsTheInsertionRowAsData) {
    std::vector<std::string> Events;
    Grid->OnRowCountChanged = [&](TObject*, int Old, int New) {
        Events.push_back("count " + std::to_string(Old) + ">" + std::to_string(New));
    };
    Grid->OnInsertRow = [&](TObject*, int R, bool) {
        Events.push_back("insert " + std::to_string(R));
    };
    Grid->SetInsertRowOff(); // not in gmEditInsert: nothing
    EXPECT_EQ(Grid->GetGridRowCount(), 5);
    Grid->SetGridMode(gmEditInsert);
    Events.clear();
    Grid->SetInsertRowOff();
    EXPECT_EQ(Grid->GetGridRowCount(), 6);
    EXPECT_FALSE(Grid->InsertionRowShown());
    EXPECT_EQ(Events, (std::vector<std::string>{"count 5>6", "insert 6"}));
    Grid->SetInsertRowOn();
    EXPECT_TRUE(Grid->InsertionRowShown());
    EXPECT_EQ(Grid->GetGridRowCount(), 6);
}

TEST_F(GridOptionsReading, AlwaysShowEditorOffSelectsTheTextAndF2IsIgnoredWhileOn) {
    Grid->SetCellValue(2, 2, Variant(AnsiString("abc")));
    GoTo(2, 2);
    Grid->SetAlwaysShowEditor(false);
    EXPECT_FALSE(Grid->EditorPermanent());
    EXPECT_TRUE(Grid->CurrentCell()->AllSelected());
    Grid->SetAlwaysShowEditor(true);
    EXPECT_TRUE(Grid->EditorPermanent());
    EXPECT_TRUE(EditorVisible());
}

TEST_F(GridOptionsReading, RowSelectModeNarrowsTheSelection) {
    GoTo(1, 3);
    Grid->SelectRows(2, 4, true);
    ASSERT_EQ(Grid->GridStatus(), grRowSelect);
    Grid->SetRowSelectMode(rsSingle);
    EXPECT_FALSE(Grid->IsRowSelected(2));
    EXPECT_TRUE(Grid->IsRowSelected(3));
    EXPECT_FALSE(Grid->IsRowSelected(4));
    Grid->SetRowSelectMode(rsNone);
    EXPECT_FALSE(Grid->IsRowSelected(3));
    EXPECT_EQ(Grid->GridStatus(), grNormal);
}

TEST_F(GridOptionsReading, RowSelectModeSingleWithoutTheCurrentRowEmptiesTheSelection) {
    GoTo(1, 1);
    Grid->SelectRows(2, 4, true);
    Grid->SetRowSelectMode(rsSingle);
    for (int R = 1; R <= 5; ++R)
        EXPECT_FALSE(Grid->IsRowSelected(R)) << R;
}

TEST_F(GridOptionsReading, SelectFixedOffUnselectsTheFixedRows) {
    Grid->SetFixedRowCount(2);
    GoTo(1, 3);
    Grid->SelectRows(1, 4, true);
    Grid->SetSelectFixed(false);
    EXPECT_FALSE(Grid->IsRowSelected(1));
    EXPECT_FALSE(Grid->IsRowSelected(2));
    EXPECT_TRUE(Grid->IsRowSelected(3));
}

TEST_F(GridOptionsReading, CurrentRowSelected) {
    GoTo(1, 3);
    EXPECT_FALSE(Grid->GetCurrentSelected());
    Grid->SetCurrentSelected();
    EXPECT_TRUE(Grid->GetCurrentSelected());
    EXPECT_TRUE(Grid->IsRowSelected(3));
    EXPECT_TRUE(Grid->GetStartRowSelected());
}

TEST_F(GridOptionsReading, TheCellPropertyIndexesFollowTheCellsWithProperties) {
    Grid->SetCellColor(2, 3, clRed);
    ASSERT_NE(Grid->ColCellProps()->GetItem(2), nullptr);
    EXPECT_TRUE(Grid->ColCellProps()->GetItem(2)->Get(3) != nullptr);
    ASSERT_NE(Grid->RowCellProps()->GetItem(3), nullptr);
    EXPECT_TRUE(Grid->RowCellProps()->GetItem(3)->Get(2) != nullptr);
    Grid->SetCellColor(2, 3, clNone);
    EXPECT_EQ(Grid->ColCellProps()->GetItem(2), nullptr);
    EXPECT_EQ(Grid->RowCellProps()->GetItem(3), nullptr);
}

TEST_F(GridOptionsReading, CurrentDataRowOnTheHeadingIsZero) {
    Grid->SetCurrentCell(1, 0);
    if (Grid->Row() == 0) EXPECT_EQ(Grid->GetCurrentDataRow(), 0);
    EXPECT_EQ(Grid->GetCurrentDataCol(), Grid->Col() == 0 ? 0 : Grid->GetDataCol(Grid->Col()));
}

TEST_F(GridOptionsReading, HeadingButtonsAreFound) {
    EXPECT_FALSE(Grid->HasHeadingButtons());
    Grid->GetCol(3)->SetHeadingButton(cbButton);
    EXPECT_TRUE(Grid->HasHeadingButtons());
}

TEST_F(GridOptionsReading, GridFocusGoesToTheGrid) {
    Grid->SetGridFocus();
    EXPECT_TRUE(Grid->IsFocused());
    EXPECT_TRUE(Grid->CanSetFocus());
}

} // namespace

namespace {

TEST_F(GridOptionsReading, EditColoursReachTheShownEditor) {
    GoTo(2, 2);
    ASSERT_TRUE(EditorVisible());
    Grid->SetEditColor(clYellow);
    EXPECT_EQ(Grid->GridControl()->GetHandle()->Color(), clYellow);
    Grid->SetEditFontColor(clRed);
    EXPECT_EQ(Grid->GridControl()->GetHandle()->Font()->Color(), clRed);
}

TEST_F(GridOptionsReading, GridModeChangesReportTheGridStatusOnce) {
    std::vector<std::string> Events;
    Grid->OnGridStatusChanged = [&](TObject*, TgxGridStatus Old, TgxGridStatus New) {
        Events.push_back(std::to_string(int(Old)) + ">" + std::to_string(int(New)));
    };
    GoTo(1, 2);
    Grid->SelectRows(2, 3, true);
    ASSERT_EQ(Events, (std::vector<std::string>{"0>2"}));
    Grid->SetGridMode(gmBrowse);
    Grid->SetGridMode(gmEdit);
    EXPECT_EQ(Events.size(), 1u);
}

TEST_F(GridOptionsReading, ListBoxModeValidatesTheCurrentRowAgain) {
    Grid->SetFixedRowCount(2);
    Grid->SetSelectFixed(false);
    Grid->SetRowSelectMode(rsSingle);
    GoTo(1, 1);
    ASSERT_EQ(At().second, 1);
    Grid->SetGridMode(gmListBox);
    EXPECT_EQ(At().second, 3);
}

} // namespace

#include "platform/gui/StdCtrls.h"

namespace {

TEST_F(GridOptionsReading, AlwaysShowFocusDrawsTheFrameWithoutTheFocus) {
    auto* Other = new TEdit(Form);
    Other->SetParent(Form);
    Other->SetBounds(440, 150, 100, 24);
    Grid->SetGridMode(gmBrowse);
    GoTo(2, 2);
    Other->SetFocus();
    QApplication::processEvents();
    ASSERT_FALSE(Grid->Focused());
    const TRect R = Grid->CellRect(Grid->Col(), Grid->Row());
    auto Frame = [&] {
        std::vector<TColor> Edge;
        for (int X = R.Left; X < R.Right; ++X)
            Edge.push_back(PixelAt(X + 2, R.Top + 2));
        return Edge;
    };
    const auto Without = Frame();
    Grid->SetAlwaysShowFocus(true);
    QApplication::processEvents();
    EXPECT_NE(Frame(), Without);
    Grid->SetAlwaysShowFocus(false);
    QApplication::processEvents();
    EXPECT_EQ(Frame(), Without);
}

} // namespace

namespace {

TEST_F(GridOptionsReading, SelectFixedOffMovesARowSelectCurrentRowOffTheFixedRows) {
    Grid->SetFixedRowCount(2);
    Grid->SetGridMode(gmListBox);
    Grid->SetRowSelectMode(rsSingle);
    GoTo(1, 1);
    ASSERT_EQ(At().second, 1);
    Grid->SetSelectFixed(false);
    EXPECT_EQ(At().second, 3);
}

} // namespace

namespace {

class ListOptionsReading : public DropDownFixture {};

TEST_F(ListOptionsReading, AListGridShowsItsParentsImagesAndKeepsNoneOfItsOwn) {
    TgxComboGrid* List = GiveColumnList(2, {"apple", "banana"});
    auto* Images = new TgxImageList(Form);
    auto* Other = new TgxImageList(Form);
    Grid->SetImageList(Images);
    EXPECT_EQ(List->ImageList(), Images);
    List->SetImageList(Other);
    EXPECT_EQ(List->ImageList(), Images);
    Grid->SetImageList(nullptr);
    EXPECT_EQ(List->ImageList(), nullptr);
}

} // namespace
