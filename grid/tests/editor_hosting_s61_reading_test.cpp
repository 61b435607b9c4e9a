// How a shown grid places, sizes and fills the in-place control of its
// current cell, shows and hides it as the editor, and scrolls a cell into
// view.
#include "ShownGridPixels.h"
#include "grid/model/CellButtons.h"
#include "grid/model/Columns.h"
#include "grid/model/ControlWrappers.h"
#include "grid/model/CurrentCell.h"
#include "grid/model/DrawData.h"
#include "grid/model/EditorHostTypes.h"
#include "grid/model/InplaceControl.h"
#include "platform/rtl/FloatFormat.h"


#include <vector>

using namespace grid;

namespace {

class EditorHosting : public ShownGridPixels {
protected:
    void ShowEditing(int Cols, int Rows) {
        ShowGrid(Cols, Rows);
        ShowActive(*Form);
        QApplication::processEvents();
        Grid->SetFocus();
        QApplication::processEvents();
    }
    // Makes a data cell current, coming from another so the control is
    // placed afresh.
    void GoTo(int DataCol, int DataRow) {
        const int Other = DataCol == 1 ? 2 : 1;
        Grid->SetCurrentCell(Grid->GetDisplayCol(Other), Grid->GetDisplayRow(DataRow));
        Grid->SetCurrentCell(Grid->GetDisplayCol(DataCol), Grid->GetDisplayRow(DataRow));
        QApplication::processEvents();
    }
    TgxGridControl* Window() {
        return static_cast<TgxGridControl*>(Grid->GridControl()->GetHandle());
    }
    TRect Placed() {
        TgxCustomGridControl* C = Grid->GridControl();
        return Rect(C->GetLeft(), C->GetTop(), C->GetLeft() + C->GetWidth(),
                    C->GetTop() + C->GetHeight());
    }
};

TEST_F(EditorHosting, TheTextControlSitsOverTheCellInsetFromTheLeft) {
    ShowEditing(3, 3);
    Grid->SetColWidths(2, 60);
    Grid->SetRowHeights(2, 20);
    GoTo(2, 2);
    ASSERT_NE(Grid->GridControl(), nullptr);
    EXPECT_TRUE(Grid->GridControl()->IsEditControl());
    const TRect Cell = Grid->CellRect(2, 2);
    const TRect R = Placed();
    EXPECT_EQ(R.Left, Cell.Left + 3);
    EXPECT_EQ(R.Top, Cell.Top);
    EXPECT_EQ(R.Right - R.Left, 60 - 1 - 3);
    EXPECT_EQ(R.Bottom - R.Top, 20 - 1);
    EXPECT_TRUE(Grid->GridControl()->GetVisible());
}

// A 3-D cell gives up the pixel of a missing grid line to its border, so
// its control has one size whatever the lines.
TEST_F(EditorHosting, AThreeDCellHasOneControlSizeWithOrWithoutLines) {
    ShowEditing(3, 3);
    Grid->SetColWidths(2, 60);
    Grid->SetRowHeights(2, 20);
    Grid->GetCol(2)->SetIs3D(true);
    std::vector<TRect> Sizes;
    for (const TgxGridLines Lines : {glBoth, glNone, glVertLines, glHorzLines}) {
        Grid->SetGridLines(Lines);
        GoTo(2, 2);
        const TRect R = Placed();
        Sizes.push_back(Rect(0, 0, R.Right - R.Left, R.Bottom - R.Top));
    }
    for (const TRect& S : Sizes) {
        EXPECT_EQ(S.Right, 60 - 4);
        EXPECT_EQ(S.Bottom, 20 - 1);
    }
}

TEST_F(EditorHosting, AButtonTakesItsWidthAndItsStyleDecidesTheKeys) {
    ShowEditing(3, 3);
    Grid->SetColWidths(2, 60);
    struct Case {
        const char* Name;
        TgxButtonType Button;
        bool DropDownList;
        bool SpinKeyEdit;
        bool KeyEdit;
        bool MouseSelect;
    } Cases[] = {
        {"combo", btCombo, false, true, true, true},
        {"combo list", btCombo, true, true, false, false},
        {"date-time list", btDateTimeDropDown, true, true, false, false},
        {"popup list", btDateTimePopup, true, true, false, false},
        {"spin", btVertSpin, false, true, true, true},
        {"spin no keys", btVertSpin, false, false, false, true},
        {"horz spin no keys", btHorzSpin, true, false, false, true},
        {"normal in list style", btNormal, true, true, true, true},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        TgxCol* Col = Grid->GetCol(2);
        Col->SetButtonType(C.Button);
        Col->SetDropDownStyle(C.DropDownList ? ddDropDownList : ddDropDown);
        TgxSpinOptions Options{spoAutoRepeat};
        if (C.SpinKeyEdit) Options.Include(spoKeyEdit);
        Col->SetSpinOptions(Options);
        GoTo(2, 2);
        const int ButtonWidth = Grid->GridCellButton(2, C.Button)->FullWidth();
        EXPECT_EQ(Placed().Right - Placed().Left, 60 - 1 - 3 - ButtonWidth);
        EXPECT_EQ(Window()->KeyEdit(), C.KeyEdit);
        EXPECT_EQ(Window()->MouseSelect(), C.MouseSelect);
    }
}

TEST_F(EditorHosting, AButtonWiderThanTheCellLeavesAControlOfNoWidth) {
    ShowEditing(3, 3);
    Grid->GetCol(2)->SetButtonType(btCombo);
    Grid->SetColWidths(2, 8);
    GoTo(2, 2);
    EXPECT_EQ(Grid->GridControl()->GetWidth(), 0);
}

TEST_F(EditorHosting, TheCellsLooksGoIntoTheControl) {
    ShowEditing(3, 3);
    TgxCol* Col = Grid->GetCol(2);
    Col->SetAlignment(taRightJustify);
    Col->SetMaxLength(7);
    Col->SetColor(clYellow);
    Grid->SetWantTabs(false);
    GoTo(2, 2);
    EXPECT_EQ(Window()->Alignment(), taRightJustify);
    EXPECT_EQ(Grid->GridControl()->GetMaxLength(), 7);
    EXPECT_EQ(Grid->GridControl()->GetColor(), clYellow);
    EXPECT_FALSE(Window()->WantTabs());
    // The grid's edit colours win over the cell's for a text control.
    Grid->SetEditColor(clAqua);
    Grid->SetEditFontColor(clRed);
    GoTo(2, 2);
    EXPECT_EQ(Grid->GridControl()->GetColor(), clAqua);
    EXPECT_EQ(Grid->GridControl()->GetFont()->Color(), clRed);
    // Changing them while hosted reaches the control at once.
    Grid->SetWantTabs(true);
    EXPECT_TRUE(Window()->WantTabs());
    Grid->SetMaxTextLength(Grid->Col(), 3);
    EXPECT_EQ(Grid->GridControl()->GetMaxLength(), 3);
    Grid->SetMaxTextLength(Grid->Col() + 1, 9);
    EXPECT_EQ(Grid->GridControl()->GetMaxLength(), 3);
}

TEST_F(EditorHosting, ACheckCellHostsTheCheckControlWithTheColumnsChoices) {
    ShowEditing(3, 3);
    TgxCol* Col = Grid->GetCol(2);
    Col->SetControlType(ctCheck);
    Col->SetAllowGrayed(true);
    GoTo(2, 2);
    auto* Check = dynamic_cast<TgxCheckGridControl*>(Grid->GridControl());
    ASSERT_NE(Check, nullptr);
    EXPECT_TRUE(Check->CheckBox()->AllowGrayed);
    GoTo(1, 2);
    EXPECT_TRUE(Grid->GridControl()->IsEditControl());
}

TEST_F(EditorHosting, ShowAndHideEditorAskAndTellTheApplication) {
    ShowEditing(3, 3);
    Grid->SetAlwaysShowEditor(false);
    GoTo(2, 2);
    std::vector<AnsiString> Calls;
    bool Refuse = true;
    Grid->OnShowEditor = [&](TObject*, int C, int R, bool& Cancel) {
        Calls.push_back("show " + IntToStr(C) + "," + IntToStr(R));
        Cancel = Refuse;
    };
    Grid->OnHideEditor = [&](TObject*, int C, int R) {
        Calls.push_back("hide " + IntToStr(C) + "," + IntToStr(R));
    };
    ASSERT_FALSE(Grid->EditorShown());
    EXPECT_FALSE(Grid->ShowEditor());
    EXPECT_FALSE(Grid->EditorShown());
    Refuse = false;
    EXPECT_TRUE(Grid->ShowEditor());
    EXPECT_TRUE(Grid->EditorShown());
    EXPECT_FALSE(Grid->ShowEditor()) << "already shown";
    EXPECT_TRUE(Grid->HideEditor());
    EXPECT_FALSE(Grid->EditorShown());
    EXPECT_FALSE(Grid->HideEditor());
    EXPECT_EQ(Calls, (std::vector<AnsiString>{"show 2,2", "show 2,2", "hide 2,2"}));
}

TEST_F(EditorHosting, AnAlwaysShownEditorIsNeverHidden) {
    ShowEditing(3, 3);
    GoTo(2, 2);
    ASSERT_TRUE(Grid->AlwaysShowEditor());
    EXPECT_TRUE(Grid->EditorShown());
    EXPECT_FALSE(Grid->HideEditor());
    EXPECT_TRUE(Grid->EditorShown());
    EXPECT_TRUE(Grid->GridControl()->GetVisible());
}

TEST_F(EditorHosting, TheKeyBlockCountsDownNoFurtherThanNothing) {
    ShowEditing(3, 3);
    Grid->SetCanProcessKey(true);
    EXPECT_TRUE(Grid->GetCanProcessKey());
    Grid->SetCanProcessKey(false);
    Grid->SetCanProcessKey(false);
    Grid->SetCanProcessKey(true);
    EXPECT_FALSE(Grid->GetCanProcessKey());
    Grid->SetCanProcessKey(true);
    EXPECT_TRUE(Grid->GetCanProcessKey());
    // While blocked the grid lets keys pass by.
    GoTo(2, 1);
    Grid->SetCanProcessKey(false);
    TypeKey(Grid->Widget(), Qt::Key_Down);
    QApplication::processEvents();
    EXPECT_EQ(Grid->Row(), 1);
    Grid->SetCanProcessKey(true);
    TypeKey(Grid->Widget(), Qt::Key_Down);
    QApplication::processEvents();
    EXPECT_EQ(Grid->Row(), 2);
}

TEST_F(EditorHosting, PutCellInViewScrollsWithoutMovingTheCurrentCell) {
    ShowEditing(20, 60);
    GoTo(10, 30);
    Grid->SetLeftCol(10);
    Grid->SetTopRow(30);
    const int Col = Grid->Col();
    const int Row = Grid->Row();
    Grid->PutCellInView(3, 30);
    EXPECT_EQ(Grid->LeftCol(), Grid->GetDisplayCol(3));
    EXPECT_EQ(Grid->Col(), Col);
    Grid->PutCellInView(10, 55);
    // The row is whole at the bottom: one row higher up would push it out.
    const TRect Bottom = Grid->CellRect(Grid->GetDisplayCol(10), Grid->GetDisplayRow(55));
    EXPECT_LE(Bottom.Bottom, Grid->ClientHeight());
    EXPECT_GT(Bottom.Bottom + Grid->RowHeights(Grid->TopRow() - 1), Grid->ClientHeight());
    EXPECT_EQ(Grid->Row(), Row);
    EXPECT_EQ(Grid->Col(), Col);
    EXPECT_THROW(Grid->PutCellInView(21, 1), Exception);
    EXPECT_THROW(Grid->PutCellInView(1, 0), Exception);
}

TEST_F(EditorHosting, ARowBarIndicatorChangeRepaintsTheCurrentRowsMarker) {
    ShowEditing(3, 3);
    GoTo(2, 2);
    const TRect Bar = Grid->CellRect(0, 2);
    Shot();
    const std::vector<TColor> With = Pixels(Bar);
    Grid->SetRowBarIndicator(!Grid->RowBarIndicator());
    Shot();
    EXPECT_NE(Pixels(Bar), With);
}


TEST_F(EditorHosting, ShowingTheEditorSelectsTheWholeTextAndHidingItTakesItAway) {
    ShowEditing(3, 3);
    Grid->SetStoreData(true);
    Grid->SetCellValue(2, 2, Variant(AnsiString("hello")));
    Grid->SetAlwaysShowEditor(false);
    GoTo(2, 2);
    ASSERT_FALSE(Grid->EditorShown());
    ASSERT_TRUE(Grid->ShowEditor());
    QApplication::processEvents();
    EXPECT_TRUE(Grid->GridControl()->GetVisible());
    EXPECT_EQ(Grid->GridControl()->GetSelLength(), 5);
    EXPECT_EQ(Grid->ControlSelectMode(), gxAll);
    ASSERT_TRUE(Grid->HideEditor());
    QApplication::processEvents();
    EXPECT_FALSE(Grid->GridControl()->GetVisible());
}

TEST_F(EditorHosting, ABrowsingGridShowsNoControl) {
    ShowEditing(3, 3);
    Grid->SetGridMode(gmBrowse);
    GoTo(2, 2);
    EXPECT_FALSE(Grid->ShowEditor());
    TgxCustomGridControl* C = Grid->GridControl();
    EXPECT_TRUE(C == nullptr || !C->GetVisible());
}

TEST_F(EditorHosting, FlatButtonsRepaintTheGrid) {
    ShowEditing(3, 3);
    Grid->GetCol(1)->SetButtonType(btNormal);
    GoTo(2, 2);
    const TRect Cell = Grid->CellRect(1, 1);
    Shot();
    const std::vector<TColor> Raised = Pixels(Cell);
    Grid->SetFlatButtons(!Grid->FlatButtons());
    Shot();
    EXPECT_NE(Pixels(Cell), Raised);
}


TEST_F(EditorHosting, TheShownControlHasTheFocusAndFollowsTheCellsLooks) {
    ShowEditing(3, 3);
    GoTo(2, 2);
    EXPECT_TRUE(Grid->GridControl()->Focused());
    Grid->SetCellColor(2, 2, clYellow);
    Shot();
    EXPECT_EQ(Grid->GridControl()->GetColor(), clYellow);
}

// What the application's draw-info handler gives the current cell is what
// its editor shows: the control sits over the cell and must not hide it.
TEST_F(EditorHosting, TheApplicationsDrawInfoReachesTheHostedControl) {
    ShowEditing(3, 3);
    GoTo(2, 2);
    int Asked = 0;
    Grid->OnGetDrawInfo = [&Asked](TObject*, int C, int R, TgxDrawInfo& Info) {
        if (C == 2 && R == 2) {
            ++Asked;
            Info.Color = clYellow;
            Info.HorzAlignment = htaRight;
            Info.VertAlignment = vtaBottom;
            Info.Font->SetSize(14);
        }
    };
    Grid->Invalidate();
    Shot();
    TgxCustomGridControl* C = Grid->GridControl();
    EXPECT_EQ(C->GetColor(), clYellow);
    EXPECT_EQ(Window()->Alignment(), taRightJustify);
    EXPECT_EQ(Window()->VertAlignment(), vtaBottom);
    EXPECT_EQ(C->GetFont()->Size(), 14);
    const TRect Inside = Rect(C->GetLeft() + 2, C->GetTop() + 2, C->GetLeft() + 6, C->GetTop() + 4);
    EXPECT_EQ(CountOf(Inside, clYellow), 8);
    // The grid's own edit colours still win over the cell's.
    Grid->SetEditColor(clAqua);
    Grid->SetEditFontColor(clRed);
    GoTo(2, 2);
    Grid->Invalidate();
    Shot();
    EXPECT_EQ(Grid->GridControl()->GetColor(), clAqua);
    EXPECT_EQ(Grid->GridControl()->GetFont()->Color(), clRed);
    EXPECT_EQ(Grid->GridControl()->GetFont()->Size(), 14);
    // Following the cell does not set off painting it again and again.
    const int Settled = Asked;
    QApplication::processEvents();
    QApplication::processEvents();
    EXPECT_EQ(Asked, Settled);
}

// Scrolled away from the current cell, the control is not left over the
// cells that now show there.
TEST_F(EditorHosting, AControlWhoseCellIsOutOfViewIsNotShownOverOtherCells) {
    ShowEditing(5, 60);
    GoTo(2, 2);
    ASSERT_TRUE(Grid->GridControl()->GetVisible());
    Grid->SetTopRow(30);
    QApplication::processEvents();
    TgxCustomGridControl* C = Grid->GridControl();
    const bool OutOfSight = C->GetLeft() + C->GetWidth() <= 0 || C->GetTop() + C->GetHeight() <= 0;
    EXPECT_TRUE(!C->GetVisible() || OutOfSight);
    Grid->SetTopRow(1);
    QApplication::processEvents();
    EXPECT_TRUE(C->GetVisible());
    EXPECT_EQ(C->GetTop(), Grid->CellRect(2, 2).Top);
}

TEST_F(EditorHosting, MaxTextLengthReachesOnlyAnEditingGridsControl) {
    ShowEditing(3, 3);
    GoTo(2, 2);
    Grid->SetMaxTextLength(Grid->Col(), 4);
    ASSERT_EQ(Grid->GridControl()->GetMaxLength(), 4);
    Grid->SetGridMode(gmBrowse);
    Grid->SetMaxTextLength(Grid->Col(), 8);
    EXPECT_EQ(Grid->GridControl()->GetMaxLength(), 4);
}


TEST_F(EditorHosting, TheColumnsFontWrapAndBorderGoIntoTheControl) {
    ShowEditing(3, 3);
    TgxCol* Col = Grid->GetCol(2);
    TFont Big;
    Big.SetSize(15);
    Big.SetColor(clMaroon);
    Col->SetFont(&Big);
    Col->SetWordWrap(uiOff);
    Col->SetVertAlignment(vtaBottom);
    Col->SetIs3D(true);
    Grid->SetAlwaysShowFocus(true);
    GoTo(2, 2);
    EXPECT_EQ(Grid->GridControl()->GetFont()->Size(), 15);
    EXPECT_EQ(Grid->GridControl()->GetFont()->Color(), clMaroon);
    EXPECT_EQ(Window()->WordWrap(), uiOff);
    EXPECT_EQ(Window()->VertAlignment(), vtaBottom);
    EXPECT_TRUE(Window()->Ctl3D());
    EXPECT_TRUE(Grid->GridControl()->GetAlwaysShowFocus());
    GoTo(1, 2);
    EXPECT_FALSE(Window()->Ctl3D());
}

TEST_F(EditorHosting, ACheckControlTakesTheCellsCheckBoxValues) {
    ShowEditing(3, 3);
    Grid->GetCol(2)->SetControlType(ctCheck);
    Grid->GetCol(2)->SetCheckBoxValues("Yes|No");
    GoTo(2, 2);
    auto* Check = dynamic_cast<TgxCheckGridControl*>(Grid->GridControl());
    ASSERT_NE(Check, nullptr);
    EXPECT_EQ(Check->GetCheckBoxValues(), Grid->CurCellCheckBoxValues());
    EXPECT_NE(Check->GetCheckBoxValues(), AnsiString());
}

// A typed character starts the edit: the application is asked once.
TEST_F(EditorHosting, TypingIntoAHiddenEditorShowsItOnce) {
    ShowEditing(3, 3);
    Grid->SetAlwaysShowEditor(false);
    GoTo(2, 2);
    int Shows = 0;
    Grid->OnShowEditor = [&](TObject*, int, int, bool&) { ++Shows; };
    TypeText(Grid->Widget(), "ab");
    QApplication::processEvents();
    EXPECT_TRUE(Grid->EditorShown());
    EXPECT_EQ(Shows, 1);
    EXPECT_TRUE(Grid->GridControl()->GetVisible());
}


// Moving down a row in view: the marker leaves the old row's bar for the
// new one, and the bars of rows passed over look as any other.
TEST_F(EditorHosting, TheRowMarkerMovesWithTheCurrentRow) {
    ShowEditing(3, 6);
    GoTo(2, 2);
    Shot();
    const std::vector<TColor> Plain = Pixels(Grid->CellRect(0, 5));
    const std::vector<TColor> Marked = Pixels(Grid->CellRect(0, 2));
    ASSERT_NE(Plain, Marked);
    TypeKey(Grid->Widget(), Qt::Key_Down);
    QApplication::processEvents();
    ASSERT_EQ(Grid->Row(), 3);
    Shot();
    EXPECT_EQ(Pixels(Grid->CellRect(0, 2)), Plain);
    EXPECT_EQ(Pixels(Grid->CellRect(0, 3)), Marked);
}


// Key editing off in the control means typed text does not reach the cell.
TEST_F(EditorHosting, TypingIntoAListOnlyOrKeylessSpinCellChangesNothing) {
    ShowEditing(3, 3);
    Grid->SetStoreData(true);
    struct Case {
        const char* Name;
        TgxButtonType Button;
        bool ListOnly;
        bool Typed;
    } Cases[] = {
        {"combo list", btCombo, true, false},
        {"spin without keys", btVertSpin, false, false},
        {"combo", btCombo, false, true},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        TgxCol* Col = Grid->GetCol(2);
        Col->SetButtonType(C.Button);
        Col->SetDropDownStyle(C.ListOnly ? ddDropDownList : ddDropDown);
        Col->SetSpinOptions(TgxSpinOptions{spoAutoRepeat});
        Grid->SetCellValue(2, 2, Variant(AnsiString("7")));
        GoTo(2, 2);
        TypeText(Grid->GridControl()->GetHandle()->Widget(), "9");
        QApplication::processEvents();
        const Variant V = Grid->CurrentCell()->GetValue();
        EXPECT_EQ(V.AsString().find('9') != AnsiString::npos, C.Typed) << V.AsString();
    }
}

} // namespace
