// The grid's options, its mode and the current position in data numbers,
// through public calls, real keys and pixels of a shown grid.
#include "ShownGridFixture.h"

#include "grid/model/Columns.h"
#include "grid/model/Combo.h"
#include "grid/foundation/ImageList.h"
#include "grid/model/CurrentCell.h"
#include "grid/model/GridControl.h"
#include "grid/model/InplaceControl.h"

#include <QtGui/QImage>
#include <QtGui/QKeyEvent>
#include <QtWidgets/QApplication>
#include <QtWidgets/QWidget>

#include <string>
#include <vector>

using namespace grid;

namespace {

class GridOptionsSecondReading : public ShownGridFixture {
protected:
    void SetUp() override {
        ShowGrid(4, 5);
        Grid->SetFocus();
        QCoreApplication::processEvents();
        Grid->OnGridStatusChanged = [this](TObject*, TgxGridStatus, TgxGridStatus) {
            ++StatusReports;
        };
    }
    void Key(int K, Qt::KeyboardModifiers Mods = Qt::NoModifier, const QString& Text = {}) {
        QWidget* Target = QApplication::focusWidget();
        QKeyEvent Down(QEvent::KeyPress, K, Mods, Text);
        QKeyEvent Up(QEvent::KeyRelease, K, Mods, Text);
        QApplication::sendEvent(Target ? Target : Grid->Widget(), &Down);
        QApplication::sendEvent(Target ? Target : Grid->Widget(), &Up);
        QCoreApplication::processEvents();
    }
    QImage Shot() {
        QCoreApplication::processEvents();
        return Grid->Widget()->grab().toImage();
    }
    // The picture includes the window's border around the client area.
    int BorderOf(const QImage& Img) const { return (Img.width() - Grid->ClientWidth()) / 2; }
    // Whether the vertical line right of a cell shows the colour.
    bool LineRightOfCellIs(int DisplayCol, int DisplayRow, QRgb Want) {
        const QImage Img = Shot();
        const TRect R = Grid->CellRect(DisplayCol, DisplayRow);
        const int Border = BorderOf(Img);
        const int Y = Border + (R.Top + R.Bottom) / 2;
        for (int X = Border + R.Right - 1; X <= Border + R.Right + 1; ++X)
            if ((Img.pixel(X, Y) & 0xFFFFFF) == (Want & 0xFFFFFF)) return true;
        return false;
    }
    bool EditorVisible() const { return Grid->GridControl()->GetVisible(); }
    int StatusReports = 0;
};

TEST_F(GridOptionsSecondReading, PublishedDefaults) {
    EXPECT_EQ(Grid->GridMode(), TgxGridMode::gmEdit);
    EXPECT_TRUE(Grid->AlwaysShowEditor());
    EXPECT_FALSE(Grid->AlwaysShowFocus());
    EXPECT_TRUE(Grid->SkipReadOnly());
    EXPECT_EQ(Grid->RowChangedIndicator(), TgxRowChangedIndicator::riOn);
    EXPECT_EQ(Grid->ColSelectMode(), TgxColSelectMode::csMulti);
    EXPECT_EQ(Grid->RowSelectMode(), TgxRowSelectMode::rsMulti);
    EXPECT_EQ(Grid->CellSelectMode(), TgxCellSelectMode::cmRange);
    EXPECT_EQ(Grid->GridLines(), TgxGridLines::glBoth);
    EXPECT_FALSE(Grid->ThumbTracking());
    EXPECT_FALSE(Grid->Is3D());
    EXPECT_EQ(Grid->EditColor(), clNone);
    EXPECT_EQ(Grid->EditFontColor(), clNone);
    EXPECT_TRUE(Grid->Heading3D());
    EXPECT_TRUE(Grid->SelectFixed());
    EXPECT_EQ(Grid->WordWrap(), TgxWordWrap::uiDefault);
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
    EXPECT_TRUE(Grid->EditorPermanent());
}

TEST_F(GridOptionsSecondReading, LineSettingsRepaintTheLines) {
    Shot();
    Grid->SetLineColor(clRed);
    EXPECT_TRUE(LineRightOfCellIs(2, 2, qRgb(255, 0, 0)));
    struct Case {
        TgxGridLines Lines;
        int Horz, Vert;
    };
    const Case Cases[] = {{TgxGridLines::glNone, 0, 0},
                          {TgxGridLines::glVertLines, 0, 1},
                          {TgxGridLines::glHorzLines, 1, 0},
                          {TgxGridLines::glBoth, 1, 1}};
    for (const Case& T : Cases) {
        Grid->SetGridLines(T.Lines);
        SCOPED_TRACE(static_cast<int>(T.Lines));
        EXPECT_EQ(Grid->HorzLineWidth(), T.Horz);
        EXPECT_EQ(Grid->VertLineWidth(), T.Vert);
    }
    Grid->SetGridLines(TgxGridLines::glHorzLines);
    EXPECT_FALSE(LineRightOfCellIs(2, 2, qRgb(255, 0, 0)));
    Grid->SetThumbTracking(true);
    EXPECT_TRUE(Grid->Options().Contains(goThumbTracking));
    Grid->SetThumbTracking(false);
    EXPECT_FALSE(Grid->Options().Contains(goThumbTracking));
}

TEST_F(GridOptionsSecondReading, HeadingLooksRepaintTheHeading) {
    auto HeadingPixel = [this](int Dx, int Dy) {
        const QImage Img = Shot();
        const int Border = BorderOf(Img);
        const TRect R = Grid->CellRect(2, 0);
        return Img.pixel(Border + R.Left + Dx, Border + R.Top + Dy) & 0xFFFFFF;
    };
    Grid->SetHeadingColor(clRed);
    EXPECT_EQ(HeadingPixel(6, 5), 0xFF0000U);
    Grid->SetHeading3D(true);
    const QRgb Raised = HeadingPixel(0, 0);
    Grid->SetHeading3D(false);
    EXPECT_NE(HeadingPixel(0, 0), Raised);
}

TEST_F(GridOptionsSecondReading, SkipReadOnlyMovesOffAReadOnlyColumn) {
    Grid->SetSkipReadOnly(false);
    Grid->GridCols()->GetCol(2)->SetReadOnly(true);
    Grid->SetCurrentCell(2, 1);
    ASSERT_EQ(Grid->Col(), 2);
    Grid->SetSkipReadOnly(true);
    EXPECT_EQ(Grid->Col(), 3);
}

TEST_F(GridOptionsSecondReading, AutoResetClearsTheChangedMarks) {
    Grid->SetRowChanged(2, true);
    Grid->SetRowChanged(4, true);
    Grid->SetRowChangedIndicator(TgxRowChangedIndicator::riAutoReset);
    EXPECT_FALSE(Grid->IsRowChanged(2));
    EXPECT_FALSE(Grid->IsRowChanged(4));
}

TEST_F(GridOptionsSecondReading, PictureSettingsReachTheCurrentCell) {
    Grid->SetStretchPicture(false);
    Grid->SetShrinkPicture(false);
    Grid->SetCenterPicture(false);
    Grid->SetKeepAspectRatio(true);
    EXPECT_FALSE(Grid->CurrentCell()->GetStretchPicture());
    EXPECT_FALSE(Grid->CurrentCell()->GetShrinkPicture());
    EXPECT_FALSE(Grid->CurrentCell()->GetCenterPicture());
    EXPECT_TRUE(Grid->CurrentCell()->GetKeepAspectRatio());
}

TEST_F(GridOptionsSecondReading, HeadingFontPartsFromTheParentAndFollowsItAgain) {
    TFont Own;
    Own.SetSize(17);
    Grid->SetHeadingFont(&Own);
    EXPECT_FALSE(Grid->HeadingParentFont());
    EXPECT_EQ(Grid->HeadingFont()->Size(), 17);
    Form->Font()->SetSize(13);
    Grid->SetHeadingParentFont(true);
    EXPECT_EQ(Grid->HeadingFont()->Size(), 13);
}

TEST_F(GridOptionsSecondReading, ModeNamesOfOldForms) {
    struct Case {
        const char* Text;
        TgxEditMode Mode;
    };
    const Case Cases[] = {{"emNone", TgxEditMode::emNone},
                          {"EMBROWSE", TgxEditMode::emBrowse},
                          {"EmBrOwSe", TgxEditMode::emBrowse},
                          {"emeditINSERT", TgxEditMode::emEditInsert},
                          {"emEdit", TgxEditMode::emEdit},
                          {"browse", TgxEditMode::emEdit},
                          {"", TgxEditMode::emEdit}};
    for (const Case& T : Cases) {
        SCOPED_TRACE(T.Text);
        EXPECT_EQ(TgxBaseGrid::EditModeStrValue(T.Text), T.Mode);
    }
    EXPECT_EQ(TgxBaseGrid::EditModeToGridMode(static_cast<TgxEditMode>(9)),
              TgxGridMode::gmEdit);
    Grid->SetEditMode(TgxEditMode::emBrowse);
    EXPECT_EQ(Grid->GridMode(), TgxGridMode::gmBrowse);
    EXPECT_EQ(Grid->EditMode(), TgxEditMode::emBrowse);
}

TEST_F(GridOptionsSecondReading, InsertModeAddsAndRemovesTheLastRow) {
    const int Rows = Grid->RowCount();
    StatusReports = 0;
    Grid->SetGridMode(TgxGridMode::gmEditInsert);
    EXPECT_EQ(Grid->RowCount(), Rows + 1);
    EXPECT_EQ(Grid->GetGridRowCount(), 5);
    EXPECT_TRUE(Grid->InsertionRowShown());
    EXPECT_LE(StatusReports, 1);
    Grid->SetGridMode(TgxGridMode::gmEdit);
    EXPECT_EQ(Grid->RowCount(), Rows);
    EXPECT_FALSE(Grid->InsertionRowShown());
    // Taking the insertion row in counts it as a data row and reports it.
    std::vector<std::string> Seen;
    Grid->OnInsertRow = [&](TObject*, int DataRow, bool) {
        Seen.push_back("insert " + std::to_string(DataRow));
    };
    Grid->OnRowCountChanged = [&](TObject*, int Old, int New) {
        Seen.push_back("count " + std::to_string(Old) + ">" + std::to_string(New));
    };
    Grid->SetInsertRowOff(); // not in the insert mode: nothing
    EXPECT_TRUE(Seen.empty());
    Grid->SetGridMode(TgxGridMode::gmEditInsert);
    Seen.clear();
    Grid->SetInsertRowOff();
    EXPECT_EQ(Grid->GetGridRowCount(), 6);
    EXPECT_FALSE(Grid->InsertionRowShown());
    EXPECT_EQ(Seen, (std::vector<std::string>{"count 5>6", "insert 6"}));
    Grid->SetInsertRowOn();
    EXPECT_TRUE(Grid->InsertionRowShown());
    EXPECT_EQ(Grid->GetGridRowCount(), 6);
}

TEST_F(GridOptionsSecondReading, BrowseHidesTheEditorAndDropsTheBuffer) {
    Grid->SetCurrentCell(2, 2);
    ASSERT_TRUE(EditorVisible());
    Key(Qt::Key_X, Qt::NoModifier, "x");
    Grid->SetGridMode(TgxGridMode::gmBrowse);
    EXPECT_FALSE(EditorVisible());
    EXPECT_FALSE(Grid->CurrentCell()->ValueSet(2, 2));
    Grid->SetGridMode(TgxGridMode::gmEdit);
    QCoreApplication::processEvents();
    EXPECT_TRUE(EditorVisible());
}

TEST_F(GridOptionsSecondReading, ListBoxIsRefusedWhileTheEditCannotEnd) {
    Grid->SetCurrentCell(2, 2);
    Grid->OnEndCellEdit = [](TObject*, int, int, bool& Cancel) { Cancel = true; };
    Key(Qt::Key_X, Qt::NoModifier, "x");
    ASSERT_TRUE(Grid->CellEditing());
    Grid->SetGridMode(TgxGridMode::gmListBox);
    EXPECT_EQ(Grid->GridMode(), TgxGridMode::gmEdit);
    Grid->OnEndCellEdit = nullptr;
    Grid->SetGridMode(TgxGridMode::gmListBox);
    EXPECT_EQ(Grid->GridMode(), TgxGridMode::gmListBox);
    EXPECT_EQ(Grid->EditMode(), TgxEditMode::emNone);
    EXPECT_FALSE(EditorVisible());
}

TEST_F(GridOptionsSecondReading, AlwaysShowEditorTurnedOffSelectsTheText) {
    Grid->SetCurrentCell(2, 2);
    Grid->SetAlwaysShowEditor(false);
    EXPECT_FALSE(Grid->AlwaysShowEditor());
    EXPECT_TRUE(Grid->CurrentCell()->AllSelected());
    Grid->CheckDisableControl();
    EXPECT_FALSE(Grid->EditorPermanent());
    Grid->SetAlwaysShowEditor(true);
    Grid->CheckDisableControl();
    EXPECT_TRUE(Grid->EditorPermanent());
}

TEST_F(GridOptionsSecondReading, SingleRowSelectKeepsOnlyTheCurrentRow) {
    Grid->SetCurrentCell(1, 3);
    Grid->AddRowSelection(2, 4);
    ASSERT_EQ(Grid->GridStatus(), TgxGridStatus::grRowSelect);
    ASSERT_TRUE(Grid->GetCurrentSelected());
    Grid->SetRowSelectMode(TgxRowSelectMode::rsSingle);
    EXPECT_EQ(Grid->NumberOfRowsSelected(1, 5), 1);
    EXPECT_TRUE(Grid->GetCurrentSelected());
    EXPECT_TRUE(Grid->GetStartRowSelected());
    // Not on the current row: the selection goes.
    Grid->SetRowSelectMode(TgxRowSelectMode::rsMulti);
    Grid->AddRowSelection(4, 5);
    Grid->DeleteRowSelection(3, 3);
    ASSERT_FALSE(Grid->GetCurrentSelected());
    Grid->SetRowSelectMode(TgxRowSelectMode::rsSingle);
    EXPECT_EQ(Grid->NumberOfRowsSelected(1, 5), 0);
    // To none: everything goes.
    Grid->SetRowSelectMode(TgxRowSelectMode::rsMulti);
    Grid->SetCurrentSelected();
    EXPECT_TRUE(Grid->GetCurrentSelected());
    ASSERT_EQ(Grid->GridStatus(), TgxGridStatus::grRowSelect);
    // Selecting by call leaves the report to the caller; make it first.
    Grid->GridStatusChanged();
    StatusReports = 0;
    Grid->SetRowSelectMode(TgxRowSelectMode::rsNone);
    EXPECT_EQ(Grid->NumberOfRowsSelected(1, 5), 0);
    EXPECT_EQ(Grid->GridStatus(), TgxGridStatus::grNormal);
    EXPECT_EQ(StatusReports, 1);
}

TEST_F(GridOptionsSecondReading, SelectFixedOffDropsTheFixedRows) {
    Grid->SetFixedRowCount(2);
    Grid->AddRowSelection(1, 4);
    Grid->SetSelectFixed(false);
    EXPECT_EQ(Grid->NumberOfRowsSelected(1, 2), 0);
    EXPECT_EQ(Grid->NumberOfRowsSelected(3, 4), 2);
    // In row-select navigation a current fixed row is left for a free one.
    Grid->SetSelectFixed(true);
    Grid->SetGridMode(TgxGridMode::gmListBox);
    Grid->SetRowSelectMode(TgxRowSelectMode::rsSingle);
    Grid->SetCurrentCell(1, 1);
    ASSERT_EQ(Grid->Row(), 1);
    Grid->SetSelectFixed(false);
    EXPECT_EQ(Grid->Row(), 3);
}

TEST_F(GridOptionsSecondReading, WhileDesigningModesDropTheRowSelection) {
    Grid->SetInDesignMode(true);
    Grid->AddRowSelection(2, 3);
    Grid->SetGridMode(TgxGridMode::gmListBox);
    EXPECT_EQ(Grid->NumberOfRowsSelected(1, 5), 2);
    Grid->SetGridMode(TgxGridMode::gmBrowse);
    EXPECT_EQ(Grid->NumberOfRowsSelected(1, 5), 0);
    Grid->AddRowSelection(2, 3);
    Grid->SetRowSelectMode(TgxRowSelectMode::rsNone);
    EXPECT_EQ(Grid->NumberOfRowsSelected(1, 5), 0);
    Grid->SetInDesignMode(false);
}

TEST_F(GridOptionsSecondReading, EditColourReachesTheShownEditor) {
    Grid->SetCurrentCell(2, 2);
    QCoreApplication::processEvents();
    ASSERT_TRUE(EditorVisible());
    Grid->SetEditColor(clRed);
    QCoreApplication::processEvents();
    const QImage Img = Grid->GridControl()->Control()->Widget()->grab().toImage();
    EXPECT_EQ(Img.pixel(Img.width() - 3, Img.height() / 2) & 0xFFFFFF, 0xFF0000U);
}

TEST_F(GridOptionsSecondReading, TheListOfACombo) {
    Grid->GridCols()->GetCol(2)->SetParentCombo(false);
    TgxCombo* Combo = Grid->GridCols()->GetCol(2)->GetCombo();
    ASSERT_NE(Combo, nullptr);
    TgxComboGrid* List = Combo->GetGrid();
    ASSERT_NE(List, nullptr);
    // The list keeps its own mode and row selection outside design.
    const TgxGridMode Mode = List->GridMode();
    const TgxRowSelectMode RowMode = List->RowSelectMode();
    List->SetGridMode(Mode == TgxGridMode::gmEdit ? TgxGridMode::gmBrowse : TgxGridMode::gmEdit);
    EXPECT_EQ(List->GridMode(), Mode);
    List->SetRowSelectMode(RowMode == TgxRowSelectMode::rsNone ? TgxRowSelectMode::rsMulti
                                                               : TgxRowSelectMode::rsNone);
    EXPECT_EQ(List->RowSelectMode(), RowMode);
    // Its pictures are the parent grid's.
    TgxImageList Images(nullptr);
    Grid->SetImageList(&Images);
    EXPECT_EQ(Grid->ImageList(), &Images);
    EXPECT_EQ(List->ImageList(), &Images);
    // A list whose drop-down is not shown takes no focus.
    EXPECT_FALSE(List->CanSetFocus());
    Grid->SetImageList(nullptr);
}

TEST_F(GridOptionsSecondReading, AlwaysShowFocusShowsTheFrameWithoutFocus) {
    auto* Other = new TgxGrid(Form);
    Other->SetParent(Form);
    Other->SetBounds(410, 0, 150, 100);
    Grid->SetCurrentCell(2, 2);
    Grid->SetGridMode(TgxGridMode::gmBrowse);
    Other->SetFocus();
    QCoreApplication::processEvents();
    ASSERT_FALSE(Grid->IsFocused());
    auto CellPicture = [this] {
        const QImage Img = Shot();
        const int Border = BorderOf(Img);
        const TRect R = Grid->CellRect(2, 2);
        return Img.copy(Border + R.Left - 1, Border + R.Top - 1, R.Right - R.Left + 2,
                        R.Bottom - R.Top + 2);
    };
    const QImage Without = CellPicture();
    Grid->SetAlwaysShowFocus(true);
    EXPECT_NE(CellPicture(), Without);
    Grid->SetAlwaysShowFocus(false);
    EXPECT_EQ(CellPicture(), Without);
}

TEST_F(GridOptionsSecondReading, HeadingButtonsOfAnyColumn) {
    EXPECT_FALSE(Grid->HasHeadingButtons());
    Grid->GridCols()->GetCol(3)->SetHeadingButton(TgxColHeadingButton::cbButton);
    EXPECT_TRUE(Grid->HasHeadingButtons());
}

TEST_F(GridOptionsSecondReading, CurrentPositionInDataNumbers) {
    Grid->SetCurrentCell(2, 3);
    EXPECT_EQ(Grid->GetCurrentDataRow(), 3);
    EXPECT_EQ(Grid->GetCurrentDataCol(), 2);
    // Out of range: ignored.
    for (int Bad : {-1, 6, 99}) {
        Grid->SetCurrentDataRow(Bad);
        Grid->SetCurrentDataCol(Bad);
    }
    EXPECT_EQ(Grid->Row(), 3);
    EXPECT_EQ(Grid->Col(), 2);
    // Data numbers go to where the column stands on screen.
    Grid->ChangeDisplayCol(1, 4);
    const int Where = Grid->GetDisplayCol(1);
    Grid->SetCurrentDataCol(1);
    EXPECT_EQ(Grid->Col(), Where);
    EXPECT_EQ(Grid->GetCurrentDataCol(), 1);
    Grid->SetCurrentDataRow(5);
    EXPECT_EQ(Grid->Row(), 5);
    Grid->PositionCell(Grid->Col(), 0);
    EXPECT_EQ(Grid->GetCurrentDataRow(), 0);
}

TEST_F(GridOptionsSecondReading, DataRowZeroGoesToTheHeadingWithoutEditingIt) {
    Grid->SetCurrentCell(2, 3);
    Grid->SetCurrentDataRow(0);
    EXPECT_EQ(Grid->Row(), 0);
    EXPECT_EQ(Grid->GetCurrentDataRow(), 0);
    EXPECT_FALSE(EditorVisible());
    const AnsiString Heading = Grid->GridCols()->GetCol(2)->GetHeading();
    Key(Qt::Key_X, Qt::NoModifier, "x");
    Key(Qt::Key_Return);
    EXPECT_EQ(Grid->GridCols()->GetCol(2)->GetHeading(), Heading);
    EXPECT_FALSE(Grid->CellEditing());
    EXPECT_GE(Grid->Row(), 1);
}

TEST_F(GridOptionsSecondReading, FocusHelpers) {
    EXPECT_TRUE(Grid->CanSetFocus());
    Grid->SetGridFocus();
    QCoreApplication::processEvents();
    EXPECT_TRUE(Grid->IsFocused());
    EXPECT_FALSE(Grid->HasHeadingButtons());
}

} // namespace
