// The grid services a program leans on, as it calls them: row counts that
// grow and empty, rows sized to their text, the display-number maps, the
// value checks and their messages, and the defaults a new grid starts with.
#include "GridEditFixture.h"
#include "ShownGridPixels.h"
#include "ShownMouseFixture.h"

#include "grid/model/Columns.h"
#include "grid/model/Combo.h"
#include "grid/model/GxGrid.h"
#include "grid/model/Rows.h"
#include "grid/model/ScalingFlags.h"
#include "grid/model/Selection.h"
#include "grid/model/VisibleItems.h"
#include "platform/gui/Clipboard.h"
#include "platform/gui/Messages.h"
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/FloatFormat.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace grid;

namespace {

class GridServicesReading : public ShownGridPixels {
protected:
    // A debug grid as the alert window keeps one: data kept by the grid,
    // wrapping text, browse mode, no rows yet.
    void ShowLogGrid() {
        ShowGrid(3, 0);
        Grid->SetStoreData(true);
        Grid->SetWordWrap(TgxWordWrap::uiOn);
        Grid->SetGridMode(gmBrowse);
        Grid->GetCol(1)->SetWidth(120);
        Settle();
    }
    // Adds one row the way the alert log does: the count grows by one, the
    // cells are set, then the row gets the height of its first cell's text.
    int AddLogRow(const AnsiString& Text) {
        Grid->SetGridRowCount(Grid->GetGridRowCount() + 1);
        const int R = Grid->GetGridRowCount();
        Grid->SetCellValue(1, R, Text);
        Grid->SetCellValue(2, R, R);
        Grid->SetRowHeight(R, Grid->GetCellTextLines(1, R) * 14);
        return R;
    }
    std::string Text(int C, int R) { return VarToStr(Grid->GetCellValue(C, R)).c_str(); }
};

TEST_F(GridServicesReading, RowCountGrowsShrinksAndEmptiesWithoutStaleValues) {
    ShowLogGrid();
    for (int R = 1; R <= 3; ++R) AddLogRow("row " + IntToStr(R));
    EXPECT_EQ(Grid->GetGridRowCount(), 3);
    EXPECT_EQ(Grid->RowCount(), 4);
    EXPECT_EQ(Text(1, 3), "row 3");
    // A number put into a text cell is kept as its text.
    EXPECT_EQ(VarType(Grid->GetCellValue(2, 3)), varString);
    EXPECT_EQ(Text(2, 3), "3");

    Grid->SetGridRowCount(0);
    Settle();
    EXPECT_EQ(Grid->GetGridRowCount(), 0);
    EXPECT_EQ(Grid->RowCount(), 1);

    // New rows after emptying start blank and at the default height: nothing
    // of the removed rows comes back.
    Grid->SetGridRowCount(3);
    Settle();
    for (int R = 1; R <= 3; ++R) {
        EXPECT_EQ(Text(1, R), "") << R;
        EXPECT_EQ(Grid->GetRowHeight(R), Grid->DefaultRowHeight()) << R;
    }
    // A count below zero empties the grid as 0 does.
    Grid->SetGridRowCount(-2);
    EXPECT_EQ(Grid->GetGridRowCount(), 0);
}

TEST_F(GridServicesReading, EmptyingMovesTheCurrentCellOffRemovedRows) {
    ShowLogGrid();
    for (int R = 1; R <= 4; ++R) AddLogRow("x");
    Grid->SetCol(1);
    Grid->SetRow(4);
    Settle();
    Grid->SetGridRowCount(2);
    Settle();
    EXPECT_LE(Grid->Row(), 2);
    Grid->SetGridRowCount(0);
    Settle();
    EXPECT_EQ(Grid->GetGridRowCount(), 0);
    // Growing again from an empty grid is usable at once.
    AddLogRow("again");
    Settle();
    EXPECT_EQ(Text(1, 1), "again");
}

struct LinesCase {
    const char* Name;
    AnsiString Value;
    TgxWordWrap Wrap;
    int Width;
    int MinLines;
    int MaxLines;
};

TEST_F(GridServicesReading, CellTextLinesFollowTextWrapAndWidth) {
    ShowLogGrid();
    const LinesCase Cases[] = {
        {"short", "one", TgxWordWrap::uiOn, 120, 1, 1},
        {"three breaks", "first\r\nsecond\r\nthird", TgxWordWrap::uiOn, 120, 3, 3},
        {"long wraps", "alpha beta gamma delta epsilon zeta eta theta", TgxWordWrap::uiOn, 60, 3,
         12},
        {"long unwrapped", "alpha beta gamma delta epsilon zeta eta theta", TgxWordWrap::uiOff,
         60, 1, 1},
    };
    for (const auto& C : Cases) {
        Grid->SetGridRowCount(1);
        Grid->GetCol(1)->SetWidth(C.Width);
        Grid->SetCellWordWrap(1, 1, C.Wrap);
        Grid->SetCellValue(1, 1, C.Value);
        const int Lines = Grid->GetCellTextLines(1, 1);
        EXPECT_GE(Lines, C.MinLines) << C.Name;
        EXPECT_LE(Lines, C.MaxLines) << C.Name;
    }
    // A cell outside the grid needs no lines and raises nothing.
    EXPECT_EQ(Grid->GetCellTextLines(1, 9), 0);
    EXPECT_EQ(Grid->GetCellTextLines(9, 1), 0);
}

TEST_F(GridServicesReading, RowHeightSizesTheShownRowAndFollowsItsData) {
    ShowLogGrid();
    AddLogRow("one line");
    AddLogRow("first\r\nsecond\r\nthird");
    AddLogRow("below");
    Settle();
    EXPECT_EQ(Grid->GetRowHeight(2), 42);
    EXPECT_EQ(Grid->RowHeights(2), 42);
    EXPECT_EQ(Grid->RowHeights(1), 14);
    // The row below starts where the sized row ends, on screen too.
    const TRect R2 = Grid->CellRect(1, 2);
    const TRect R3 = Grid->CellRect(1, 3);
    EXPECT_EQ(R3.Top - R2.Top, 42);

    // Moving the data row elsewhere takes its height along.
    Grid->SetDisplayRownr(2, 3);
    Settle();
    EXPECT_EQ(Grid->GetDisplayRownr(2), 3);
    EXPECT_EQ(Grid->RowHeights(3), 42);
    EXPECT_EQ(Grid->RowHeights(2), 14);
}

TEST_F(GridServicesReading, RowHeightRepaintsTheRowsOnScreen) {
    ShowLogGrid();
    Grid->SetLineColor(clRed);
    Grid->SetColor(clWhite);
    for (int R = 1; R <= 3; ++R) AddLogRow("");
    Settle();
    const TRect Before = Grid->CellRect(1, 3);
    const int X = (Before.Left + Before.Right) / 2;
    Shot();
    ASSERT_EQ(At(X, Before.Bottom), clRed);
    Grid->SetRowHeight(1, 40);
    Shot();
    // Row 3 moved down by 26 pixels: where its bottom line was is cell now.
    const TRect After = Grid->CellRect(1, 3);
    EXPECT_EQ(After.Top, Before.Top + 26);
    EXPECT_EQ(At(X, After.Bottom), clRed);
    EXPECT_NE(At(X, Before.Bottom), clRed) << "the old grid line is still drawn";
}

// The messages of a failed check name the grid first, then the bad value.
TEST_F(GridServicesReading, ChecksRaiseNamedMessages) {
    ShowGrid(3, 3);
    Grid->SetName("Log");
    struct Case {
        const char* Name;
        std::function<void()> Call;
        std::string Message;
    };
    const Case Cases[] = {
        {"row index", [&] { Grid->CheckIndex(itRow, 7, 3, 1); }, "Log: Row index 7 out of range"},
        {"col index", [&] { Grid->CheckIndex(itCol, 0, 3, 1); },
         "Log: Column index 0 out of range"},
        {"text value", [&] { Grid->CheckVarType(ctText, 5); },
         "Log: Invalid cell value. A text column requires a value of type string"},
        {"check value", [&] { Grid->CheckVarType(ctCheck, 2.5); },
         "Log: Invalid cell value. A checkbox column requires a value of type TCheckBoxState "
         "or string"},
        {"picture value", [&] { Grid->CheckVarType(ctPicture, 2.5); },
         "Log: Invalid cell value. A picture column requires a value of type TBitmap or string"},
        {"invalid op", [&] { Grid->InvalidOp("Bad thing"); }, "Log: Bad thing"},
    };
    for (const auto& C : Cases) {
        try {
            C.Call();
            ADD_FAILURE() << C.Name << ": nothing raised";
        } catch (const EInvalidGridOperation& E) {
            EXPECT_EQ(std::string(E.Message.c_str()), C.Message) << C.Name;
        }
    }
    // Good values pass; with the check switch off a bad index only answers false.
    EXPECT_TRUE(Grid->CheckIndex(itRow, 3, 3, 1));
    EXPECT_TRUE(Grid->CheckVarType(ctText, AnsiString("x")));
    EXPECT_TRUE(Grid->CheckVarType(ctCheck, Null()));
    EXPECT_TRUE(Grid->CheckVarType(ctCheck, static_cast<unsigned char>(1)));
    EXPECT_TRUE(Grid->CheckVarType(ctPicture, 3));
    Grid->SetReportInvalidOps(false);
    EXPECT_FALSE(Grid->CheckIndex(itCol, 4, 3, 1));
}

TEST_F(GridServicesReading, ReadingACellInsideItsLoadedEventRaises) {
    ShowGrid(2, 2);
    Grid->SetName("Log");
    std::string Seen;
    Grid->OnCellLoaded = [&](TObject*, int, int, Variant&) {
        try {
            Grid->CheckGetCell();
            Seen = "no raise";
        } catch (const EInvalidGridOperation& E) {
            Seen = E.Message.c_str();
        }
    };
    Settle();
    Grid->Invalidate();
    Settle();
    EXPECT_EQ(Seen, "Log: Cannot get Cell property value while in OnCellLoaded event");
    EXPECT_TRUE(Grid->CheckGetCell());
}

TEST_F(GridServicesReading, StrValueTurnsOnlyTextCellValuesIntoText) {
    const Variant Ole = VarAsType(Variant(AnsiString("wide")), varOleStr);
    struct Case {
        const char* Name;
        TgxControlType Type;
        Variant In;
        TVarType OutType;
        std::string OutText;
    };
    const Case Cases[] = {
        {"ole string", ctCheck, Ole, varString, "wide"},
        {"number in text", ctText, 42, varString, "42"},
        {"null in text", ctText, Null(), varNull, ""},
        {"empty in text", ctText, Variant(), varEmpty, ""},
        {"number in check", ctCheck, 1, varInteger, "1"},
    };
    for (const auto& C : Cases) {
        const Variant Out = TgxBaseGrid::CheckStrValue(C.Type, C.In);
        EXPECT_EQ(VarType(Out), C.OutType) << C.Name;
        EXPECT_EQ(std::string(VarToStr(Out).c_str()), C.OutText) << C.Name;
    }
}

TEST_F(GridServicesReading, DisplayNumberMapsAnswerMinusOneOutsideAndIgnoreBadMoves) {
    ShowGrid(3, 3);
    const struct {
        const char* Name;
        int Got;
        int Want;
    } Cases[] = {
        {"data col of 0", Grid->GetDataColnr(0), -1},
        {"data col of 4", Grid->GetDataColnr(4), -1},
        {"data col of 3", Grid->GetDataColnr(3), 3},
        {"data row of 0", Grid->GetDataRownr(0), -1},
        {"data row of 4", Grid->GetDataRownr(4), -1},
        {"display col of 0", Grid->GetDisplayColnr(0), -1},
        {"display col of 4", Grid->GetDisplayColnr(4), -1},
        {"display row of 4", Grid->GetDisplayRownr(4), -1},
        {"display row of 2", Grid->GetDisplayRownr(2), 2},
        {"data col of col 0", Grid->GetDataCol(0), 0},
        {"display row of row 0", Grid->GetDisplayRow(0), 0},
    };
    for (const auto& C : Cases) EXPECT_EQ(C.Got, C.Want) << C.Name;

    int Moves = 0;
    Grid->OnRowMoved = [&](TObject*, int, int, bool) { ++Moves; };
    Grid->SetReportInvalidOps(false);
    Grid->SetDisplayColnr(9, 1);
    Grid->SetDisplayRownr(9, 1);
    Grid->SetDisplayRownr(1, 9);
    Grid->SetDisplayRownr(2, 2);
    EXPECT_EQ(Moves, 0);
    for (int I = 1; I <= 3; ++I) {
        EXPECT_EQ(Grid->GetDataColnr(I), I);
        EXPECT_EQ(Grid->GetDataRownr(I), I);
    }
    Grid->SetDisplayColnr(1, 3);
    EXPECT_EQ(Grid->GetDisplayColnr(1), 3);
    EXPECT_EQ(Grid->GetDataColnr(3), 1);
}

TEST_F(GridServicesReading, MovingADataRowTakesItsMarksAndCurrentRowAndReportsOnce) {
    ShowGrid(3, 4);
    Grid->SetStoreData(true);
    Grid->SetRowSelectMode(rsMulti);
    Grid->SetCellValue(1, 1, AnsiString("first"));
    Grid->SetRowSelected(1, true);
    Grid->SetCol(1);
    Grid->SetRow(1);
    Settle();
    std::vector<int> Reported;
    Grid->OnRowMoved = [&](TObject*, int To, int Count, bool ByUser) {
        Reported.push_back(To);
        EXPECT_EQ(Count, 1);
        EXPECT_FALSE(ByUser);
    };
    Grid->SetDisplayRownr(1, 3);
    Settle();
    EXPECT_EQ(Reported, std::vector<int>{3});
    EXPECT_EQ(Grid->GetDisplayRownr(1), 3);
    EXPECT_EQ(Grid->GetDataRownr(1), 2);
    EXPECT_EQ(Grid->GetDataRownr(2), 3);
    EXPECT_EQ(Grid->GetDataRownr(3), 1);
    EXPECT_TRUE(Grid->IsRowSelected(1));
    EXPECT_TRUE(Grid->RowSelection().GetSelected(3));
    EXPECT_FALSE(Grid->RowSelection().GetSelected(1));
    EXPECT_EQ(Grid->Row(), 3);
}

TEST_F(GridServicesReading, ResettingRowPropertiesClearsEveryMark) {
    ShowGrid(2, 4);
    Grid->SetRowSelectMode(rsMulti);
    for (int R : {1, 3}) {
        Grid->SetRowSelected(R, true);
        Grid->SetRowChanged(R, true);
    }
    Grid->ResetRowProperties(TgxProperties{prSelected});
    for (int R : {1, 3}) {
        EXPECT_FALSE(Grid->IsRowSelected(R)) << R;
        EXPECT_TRUE(Grid->IsRowChanged(R)) << R;
    }
    EXPECT_EQ(Grid->RowSelection().Count(), 0);
    Grid->ResetRowProperties(TgxProperties{prChanged});
    for (int R : {1, 3}) EXPECT_FALSE(Grid->IsRowChanged(R)) << R;
}

TEST_F(GridServicesReading, NewGridDefaultsOfTheViewServices) {
    ShowGrid(2, 2);
    EXPECT_EQ(Grid->ExportDelimiter(), ",");
    EXPECT_EQ(Grid->PrintLinesPerPage(), 40);
    EXPECT_EQ(Grid->PrintOrientation(), pmLandscape);
    EXPECT_TRUE(Grid->PrintTotals());
    EXPECT_TRUE(Grid->PrintWithGridFormats());
    EXPECT_FALSE(Grid->ProvideGridMenu());
    EXPECT_FALSE(Grid->AlwaysDetectButton());
    EXPECT_NE(Grid->XMLExport(), nullptr);
    EXPECT_EQ(Grid->SpinStartDelay(), 500);
    EXPECT_EQ(Grid->SpinRepeatDelay(), 80);
    EXPECT_EQ(Grid->ScrollSpeed(), spVariable);
    EXPECT_EQ(Grid->DropDownRowHeight(), 14);
    EXPECT_TRUE(Grid->WantTabs());
    EXPECT_TRUE(Grid->GetRowVisible(1));
    EXPECT_TRUE(Grid->GetCanProcessKey());
}

TEST_F(GridServicesReading, TimersStartOnceAndStopReportsWhetherOneRan) {
    ShowGrid(2, 2);
    Grid->StartButtonTimer();
    const unsigned First = Grid->ButtonTimerHandle();
    EXPECT_NE(First, 0u);
    Grid->StartButtonTimer();
    EXPECT_EQ(Grid->ButtonTimerHandle(), First);
    unsigned Handle = First;
    EXPECT_TRUE(Grid->StopTimer(Handle));
    EXPECT_EQ(Handle, 0u);
    EXPECT_FALSE(Grid->StopTimer(Handle));

    Grid->StartSpinTimer(true);
    const unsigned Spin = Grid->SpinTimerHandle();
    EXPECT_NE(Spin, 0u);
    Grid->StartSpinTimer(false);
    EXPECT_EQ(Grid->SpinTimerHandle(), Spin);
    // No spin button is held, so a reset stops it.
    Grid->ResetSpinTimer();
    EXPECT_EQ(Grid->SpinTimerHandle(), 0u);
}

TEST_F(GridServicesReading, SelectionAndVisibleListEnds) {
    TgxSelection S;
    S.SetSize(6);
    S.SetSelected(2, true);
    S.SetSelected(4, true);
    EXPECT_EQ(S.Next(2), 4);
    EXPECT_EQ(S.Next(4), -1);
    EXPECT_EQ(S.Previous(4), 2);
    EXPECT_EQ(S.Previous(2), -1);
    EXPECT_EQ(S.RangeCount(5, 1), 2);

    ShowGrid(2, 5);
    bool Found = false;
    // While nothing is hidden every position up to the size is its own.
    EXPECT_EQ(Grid->VisibleRows().Locate(0, Found), 0);
    EXPECT_EQ(Grid->VisibleRows().Locate(99, Found), Grid->VisibleRows().VisibleCount() + 1);
    EXPECT_EQ(Grid->VisibleRows().GetItem(3), 3);
}

TEST_F(GridServicesReading, XmlHeadingIsFieldNameElseHeadingWithUnderscores) {
    ShowGrid(2, 1);
    TgxCol* Col = Grid->GetCol(1);
    Col->SetHeading("Unit price");
    EXPECT_EQ(Col->XMLHeading(), "Unit_price");
    Col->SetFieldName("unit cost");
    EXPECT_EQ(Col->XMLHeading(), "unit_cost");
}

TEST_F(GridServicesReading, VisibleCountsNeedAWindowAndCountHiddenColumns) {
    EnsureQtApplication();
    TgxGrid Loose(nullptr);
    EXPECT_EQ(Loose.GetVisibleColCount(), 0);
    EXPECT_EQ(Loose.GetVisibleRowCount(), 0);
    EXPECT_EQ(Loose.GetVisibleRows(), 0.0);

    ShowGrid(6, 30, 400, 300);
    const int Before = Grid->GetVisibleColCount();
    Grid->GetCol(2)->SetWidth(0);
    Settle();
    // A column of width 0 still counts and frees room for one more.
    EXPECT_GE(Grid->GetVisibleColCount(), Before);
    EXPECT_GT(Grid->GetVisibleRowCount(), 0);
}

// Copy, cut and paste of the current cell by the keys a user presses: text
// cells take part; check and read-only cells keep their values.
class GridEditingReading : public GridEditFixture {};

TEST_F(GridEditingReading, KeysCopyCutAndPasteOnlyWhereTheCellMayChange) {
    Grid->GetCol(3)->SetControlType(ctCheck);
    Grid->GetCol(4)->SetReadOnly(true);
    struct Case {
        const char* Name;
        int Col;
        int Key;
        Qt::KeyboardModifiers Mods;
        const char* Before;
        const char* Clip;
        const char* WantClip;
        const char* WantValue;
    };
    const Case Cases[] = {
        {"copy text", 1, Qt::Key_C, Qt::ControlModifier, "hello", "old", "hello", "hello"},
        {"cut text", 1, Qt::Key_X, Qt::ControlModifier, "hello", "old", "hello", ""},
        {"paste text", 2, Qt::Key_V, Qt::ControlModifier, "hello", "pasted", "pasted", "pasted"},
        {"paste by shift insert", 2, Qt::Key_Insert, Qt::ShiftModifier, "hello", "pasted",
         "pasted", "pasted"},
        {"paste into check", 3, Qt::Key_V, Qt::ControlModifier, "1", "0", "0", "1"},
        {"cut read-only", 4, Qt::Key_X, Qt::ControlModifier, "keep", "old", "old", "keep"},
        {"paste read-only", 4, Qt::Key_V, Qt::ControlModifier, "keep", "pasted", "pasted",
         "keep"},
    };
    int Row = 1;
    for (const auto& C : Cases) {
        Grid->SetCellValue(C.Col, Row, AnsiString(C.Before));
        Clipboard()->SetAsText(C.Clip);
        GoTo(C.Col, Row);
        // Editing starts with the whole text selected, as F2 then select-all gives.
        if (C.Col != 3) {
            Press(Qt::Key_F2);
            Press(Qt::Key_A, Qt::ControlModifier);
        }
        Press(C.Key, C.Mods);
        Press(Qt::Key_Return);
        GoTo(1, Row == 5 ? 1 : Row + 1);
        EXPECT_EQ(std::string(Clipboard()->AsText().c_str()), C.WantClip) << C.Name;
        EXPECT_EQ(std::string(Stored(C.Col, Row).c_str()), C.WantValue) << C.Name;
        Row = Row == 5 ? 1 : Row + 1;
    }
}

TEST_F(GridServicesReading, MovingRowsIntoViewAnswersTheTopRowThatShowsThem) {
    ShowGrid(3, 60, 300, 200);
    Settle();
    Grid->SetTopRow(20);
    Settle();
    const int Shown = Grid->GetVisibleRowCount();
    ASSERT_GT(Shown, 3);
    struct Case {
        const char* Name;
        int Target;
        int WantTop;
    };
    const Case Cases[] = {
        {"already shown", 21, 20},
        {"above the top", 5, 5},
        {"just below", 20 + Shown, 21},
        {"far below", 59, 59 - Shown + 1},
    };
    for (const auto& C : Cases) {
        int Top = -1;
        Grid->MoveRowIntoView(C.Target, Top);
        EXPECT_EQ(Top, C.WantTop) << C.Name;
    }
}

TEST_F(GridServicesReading, PutInViewScrollsAndMakesTheCellCurrent) {
    ShowGrid(12, 60, 300, 200);
    Settle();
    Grid->PutInView(11, 50, TgxViewPosition::vpNone, false, true, ctlBoth);
    Settle();
    EXPECT_EQ(Grid->Col(), 11);
    EXPECT_EQ(Grid->Row(), 50);
    EXPECT_TRUE(Grid->CellVisible(11, 50));
    // Putting a cell in view without making it current only scrolls.
    Grid->PutCellInView(1, 1);
    Settle();
    EXPECT_TRUE(Grid->CellVisible(1, 1));
    EXPECT_EQ(Grid->Row(), 50);
}

TEST_F(GridServicesReading, ColumnOwnListIsMadeSizedAndFreed) {
    ShowGrid(3, 3);
    TgxCol* Col = Grid->GetCol(2);
    Col->SetWidth(80);
    Col->SetDropDownStyle(ddDropDownList);
    EXPECT_TRUE(Col->ParentCombo());
    EXPECT_EQ(Col->GetCombo(), nullptr);
    Col->SetParentCombo(false);
    TgxCombo* Own = Col->GetCombo();
    ASSERT_NE(Own, nullptr);
    EXPECT_NE(Own, Grid->GetCombo());
    EXPECT_EQ(Own->GetDropDownStyle(), ddDropDownList);
    EXPECT_EQ(Own->GetGrid()->DefaultColWidth(), 90);

    // A copy of a list is a list of its own: changing one leaves the other.
    TgxComboGrid* List = Own->GetGrid();
    List->SetStoreData(true);
    List->SetGridColCount(1);
    List->SetGridRowCount(2);
    List->SetCellValue(1, 1, AnsiString("red"));
    List->SetCellValue(1, 2, AnsiString("blue"));
    Grid->GetCol(3)->SetParentCombo(false);
    TgxCombo* Other = Grid->GetCol(3)->GetCombo();
    Other->Assign(Own);
    EXPECT_EQ(VarToStr(Other->GetGrid()->GetCellValue(1, 2)), "blue");
    List->SetCellValue(1, 2, AnsiString("green"));
    EXPECT_EQ(VarToStr(Other->GetGrid()->GetCellValue(1, 2)), "blue");

    Col->SetParentCombo(true);
    EXPECT_EQ(Col->GetCombo(), nullptr);
}

TEST_F(GridServicesReading, RowOwnFontPartsFromTheGridFont) {
    ShowGrid(2, 3);
    EXPECT_TRUE(Grid->GetRowParentFont(2));
    Grid->SetRowParentFont(2, false);
    EXPECT_FALSE(Grid->GetRowParentFont(2));
    TFont* Own = Grid->GetRowFont(2);
    ASSERT_NE(Own, nullptr);
    EXPECT_NE(Own, Grid->Font());
    Own->SetSize(Grid->Font()->Size() + 6);
    EXPECT_NE(Grid->Font()->Size(), Own->Size());
    EXPECT_EQ(Grid->GiveCellFont(1, 2), Own);
    EXPECT_NE(Grid->GiveCellFont(1, 1), Own);
}

// Tab while editing moves within the grid only while the grid wants tabs;
// otherwise the keyboard moves on to the next control of the form.
TEST_F(GridEditingReading, TabWhileEditingStaysInTheGridOnlyWhenItWantsTabs) {
    auto* Next = new TEdit(Form);
    Next->SetParent(Form);
    Next->SetBounds(440, 10, 100, 24);
    Grid->SetTabOrder(0);
    Next->SetTabOrder(1);
    for (const bool Want : {true, false}) {
        Grid->SetWantTabs(Want);
        Grid->SetFocus();
        GoTo(1, 2);
        Press(Qt::Key_F2);
        const bool Editing = Grid->EditorShown();
        ASSERT_TRUE(Editing) << Want;
        const LRESULT Code = Grid->Perform(WM_GETDLGCODE);
        EXPECT_TRUE(Code & DLGC_WANTCHARS) << Want;
        EXPECT_EQ((Code & DLGC_WANTTAB) != 0, Want && Editing) << Want;
        Press(Qt::Key_Tab);
        if (Want) {
            EXPECT_EQ(At(), std::make_pair(2, 2));
            EXPECT_FALSE(Next->Focused());
        } else {
            EXPECT_TRUE(Next->Focused());
        }
    }
}

TEST_F(GridServicesReading, ScrollMessagesMoveTheTopRowAndKeepTheEditorOffWhileScrolling) {
    ShowGrid(3, 40, 300, 200);
    Settle();
    const int Top = Grid->TopRow();
    Grid->Perform(WM_VSCROLL, SB_LINEUP);
    Settle();
    EXPECT_EQ(Grid->TopRow(), Top);
    Grid->Perform(WM_VSCROLL, SB_LINEDOWN);
    Grid->Perform(WM_VSCROLL, SB_ENDSCROLL);
    Settle();
    EXPECT_EQ(Grid->TopRow(), Top + 1);
    Grid->Perform(WM_VSCROLL, SB_PAGEDOWN);
    Grid->Perform(WM_VSCROLL, SB_ENDSCROLL);
    Settle();
    EXPECT_GT(Grid->TopRow(), Top + 2);
    Grid->Perform(WM_VSCROLL, SB_TOP);
    Grid->Perform(WM_VSCROLL, SB_ENDSCROLL);
    Settle();
    EXPECT_EQ(Grid->TopRow(), Top);
}

TEST_F(GridServicesReading, ResizingRaisesOnResizeOncePerChange) {
    ShowGrid(3, 3);
    int Resized = 0;
    Grid->OnResize = [&](TObject*) { ++Resized; };
    Grid->SetBounds(0, 0, 350, 250);
    Settle();
    EXPECT_EQ(Resized, 1);
    Grid->SetBounds(0, 0, 350, 250);
    Settle();
    EXPECT_EQ(Resized, 1);
}

TEST_F(GridServicesReading, HeadingAcceleratorClicksItsHeading) {
    ShowGrid(3, 3);
    Grid->GetCol(2)->SetHeading("&Name");
    ShowActive(*Form);
    Grid->SetFocus();
    Settle();
    std::vector<int> Clicked;
    Grid->OnHeadingClick = [&](TObject*, int DataCol) { Clicked.push_back(DataCol); };
    TypeKey(QApplication::focusWidget() ? QApplication::focusWidget() : Grid->Widget(), Qt::Key_N,
            "n", Qt::AltModifier);
    Settle();
    EXPECT_EQ(Clicked, std::vector<int>{2});
}

// Removing rows or columns takes their values and cell properties with
// them; what lay after them moves up, and nothing comes back on growing.
TEST_F(GridServicesReading, DeletingAndShrinkingTakeValuesAndPropertiesAlong) {
    ShowGrid(4, 5);
    Grid->SetStoreData(true);
    auto Fill = [&] {
        for (int C = 1; C <= 4; ++C)
            for (int R = 1; R <= 5; ++R) {
                Grid->SetCellValue(C, R, AnsiString(IntToStr(C) + "/" + IntToStr(R)));
                Grid->SetCellColor(C, R, static_cast<TColor>(C * 16 + R));
            }
    };
    struct Case {
        const char* Name;
        std::function<void()> Cut;
        int C;
        int R;
        std::string Want;
        TColor WantColor;
    };
    // A cell without its own colour answers the not-set colour.
    const TColor Unset = Grid->GetCellColor(4, 5);
    const Case Cases[] = {
        {"row after deleted moves up", [&] { Grid->DeleteRows(2, 3); }, 1, 2, "1/4",
         static_cast<TColor>(16 + 4)},
        {"col after deleted moves left", [&] { Grid->DeleteCols(1, 1); }, 1, 3, "2/3",
         static_cast<TColor>(32 + 3)},
        {"row count shrink then grow", [&] {
             Grid->SetGridRowCount(2);
             Grid->SetGridRowCount(5);
         },
         3, 4, "", clNone},
        {"col count shrink then grow", [&] {
             Grid->SetGridColCount(2);
             Grid->SetGridColCount(4);
         },
         4, 1, "", clNone},
    };
    for (const auto& C : Cases) {
        Grid->SetGridColCount(4);
        Grid->SetGridRowCount(5);
        Fill();
        C.Cut();
        Settle();
        EXPECT_EQ(std::string(VarToStr(Grid->GetCellValue(C.C, C.R)).c_str()), C.Want) << C.Name;
        EXPECT_EQ(Grid->GetCellColor(C.C, C.R), C.WantColor == clNone ? Unset : C.WantColor)
            << C.Name;
    }
}

// A column counts as visible when its right edge, less its grid line, lies
// inside the client area: exactly at the edge counts, a pixel over does not.
TEST_F(GridServicesReading, VisibleColCountCountsAColumnEndingAtTheClientEdge) {
    ShowGrid(8, 3, 400, 200);
    Settle();
    const int Line = Grid->VertLineWidth();
    const int Room = Grid->ClientWidth() - Grid->FixedWidth();
    for (const int Over : {0, 1}) {
        // Three columns of 100 and a fourth that ends Over pixels past the edge.
        for (int C = 1; C <= 3; ++C) Grid->GetCol(C)->SetWidth(100);
        Grid->GetCol(4)->SetWidth(Room - 300 + Line + Over);
        Settle();
        EXPECT_EQ(Grid->GetVisibleColCount(), Over == 0 ? 4 : 3) << Over;
    }
}

// Growing a grid without rows puts the current cell on the first row;
// emptying it leaves no trace of the old rows on screen.
TEST_F(GridServicesReading, EmptiedGridShowsNoOldRowsAndGrowsFromTheFirst) {
    ShowLogGrid();
    Grid->SetLineColor(clRed);
    AddLogRow("first");
    Settle();
    EXPECT_EQ(Grid->Row(), 1);
    AddLogRow("second");
    Settle();
    const TRect Row2 = Grid->CellRect(1, 2);
    Shot();
    ASSERT_EQ(At(Row2.Left + 5, Row2.Bottom), clRed);
    Grid->SetGridRowCount(0);
    Settle();
    Shot();
    EXPECT_NE(At(Row2.Left + 5, Row2.Bottom), clRed) << "a removed row is still drawn";
    AddLogRow("again");
    Settle();
    EXPECT_EQ(Grid->Row(), 1);
    EXPECT_EQ(Grid->GetRowHeight(1), 14);
}

// The current cell as a program steers its editor: text selection, a value
// set while editing, and the one-cell buffer that ends with the edit.
TEST_F(GridEditingReading, CurrentCellSelectsAndSetsTheEditedText) {
    Grid->SetCellValue(1, 2, AnsiString("hello"));
    GoTo(1, 2);
    Press(Qt::Key_F2);
    ASSERT_TRUE(Grid->EditorShown());
    TgxCurrentCell* Cell = Grid->CurrentCell();
    Cell->SelectAll();
    QApplication::processEvents();
    EXPECT_TRUE(Cell->AllSelected());
    EXPECT_EQ(Grid->GridControl()->GetSelLength(), 5);
    Cell->SetSelStart(1);
    Cell->SetSelLength(2);
    QApplication::processEvents();
    EXPECT_FALSE(Cell->AllSelected());
    EXPECT_EQ(Grid->GridControl()->GetSelStart(), 1);
    EXPECT_EQ(Grid->GridControl()->GetSelLength(), 2);
    EXPECT_EQ(std::string(Cell->GetSelText().c_str()), "el");
    Type("X");
    EXPECT_EQ(std::string(EditorText().c_str()), "hXlo");
    EXPECT_TRUE(Cell->ValueSet(1, 2));
    EXPECT_EQ(std::string(VarToStr(Cell->GetValue()).c_str()), "hXlo");
    // A value set by the program while editing replaces the edited text.
    EXPECT_TRUE(Cell->SetValue(AnsiString("set")));
    QApplication::processEvents();
    EXPECT_EQ(std::string(EditorText().c_str()), "set");
    Press(Qt::Key_Return);
    GoTo(1, 3);
    EXPECT_EQ(std::string(Stored(1, 2).c_str()), "set");
    EXPECT_FALSE(Cell->ValueSet(1, 2));
}

// The grid keeps values only while it stores data: switching it off
// forgets them, and a value that no longer fits its cell's kind is dropped.
TEST_F(GridServicesReading, StoredValuesLiveOnlyWhileTheGridStoresData) {
    ShowGrid(3, 3);
    Grid->SetCellValue(1, 1, AnsiString("lost"));
    EXPECT_TRUE(Grid->GetCellValue(1, 1).IsEmpty());
    Grid->SetStoreData(true);
    Grid->SetCellValue(1, 1, AnsiString("kept"));
    Grid->SetCellValue(2, 1, AnsiString("text"));
    EXPECT_EQ(VarToStr(Grid->GetCellValue(1, 1)), "kept");
    Grid->SetStoreData(false);
    EXPECT_TRUE(Grid->GetCellValue(1, 1).IsEmpty());
    Grid->SetStoreData(true);
    EXPECT_TRUE(Grid->GetCellValue(1, 1).IsEmpty());

    // A text left in a column of another kind stays where that kind takes
    // text (check boxes) and is dropped where it does not (pictures).
    Grid->SetCellValue(2, 1, AnsiString("words"));
    Grid->SetCellValue(3, 1, AnsiString("words"));
    Grid->GetCol(2)->SetControlType(ctCheck);
    Grid->GetCol(3)->SetControlType(ctPicture);
    Grid->CheckGridData(-1, -1);
    EXPECT_EQ(VarToStr(Grid->GetDataValue(2, 1, ctText)), "words");
    EXPECT_TRUE(Grid->GetDataValue(3, 1, ctText).IsEmpty());
}

// What a draw-info handler changes is what the cell is painted with.
TEST_F(GridServicesReading, DrawInfoHandlerColoursItsCellOnly) {
    ShowGrid(3, 3);
    Grid->SetColor(clWhite);
    Grid->OnGetDrawInfo = [](TObject*, int C, int R, TgxDrawInfo& Info) {
        if (C == 2 && R == 2) Info.Color = clLime;
    };
    Grid->Invalidate();
    Settle();
    Shot();
    const TRect Own = Grid->CellRect(2, 2);
    const TRect Next = Grid->CellRect(3, 2);
    EXPECT_EQ(At(Own.Right - 3, Own.Bottom - 3), clLime);
    EXPECT_NE(At(Next.Right - 3, Next.Bottom - 3), clLime);
}

TEST_F(GridServicesReading, VisibleRowsAddsTheFractionOfThePartRow) {
    ShowGrid(2, 40, 300, 200);
    Settle();
    // Room for the heading, ten whole rows and half of the next one.
    const int Row = Grid->RowHeights(1);
    const int Want = Grid->RowHeights(0) + 10 * Row + Row / 2;
    Grid->SetBounds(0, 0, 300, 200 + Want - Grid->ClientHeight());
    Settle();
    ASSERT_EQ(Grid->ClientHeight(), Want);
    EXPECT_NEAR(Grid->GetVisibleRows(), 10 + double(Row / 2) / Row, 0.001);
    EXPECT_EQ(Grid->GetVisibleRowCount(), 10);
}

// A change of scale sizes the default and the own row heights and column
// widths, and the fonts of rows that keep their own; the screen follows.
TEST_F(GridServicesReading, ScalingSizesRowsColumnsAndOwnFonts) {
    ShowGrid(3, 4);
    Grid->SetRowHeight(2, 20);
    Grid->GetCol(2)->SetWidth(80);
    Grid->SetRowParentFont(3, false);
    Grid->GetRowFont(3)->SetSize(10);
    Grid->ScaleRows(3, 3, TScalingFlags{sfHeight, sfFont});
    EXPECT_EQ(Grid->DefaultRowHeight(), 14);
    Grid->ScaleRows(3, 2, TScalingFlags{sfHeight, sfFont});
    Grid->ScaleCols(3, 2, TScalingFlags{sfWidth});
    Settle();
    const struct {
        const char* Name;
        int Got;
        int Want;
    } Cases[] = {
        {"default row height", Grid->DefaultRowHeight(), 21},
        {"own row height", Grid->GetRowHeight(2), 30},
        {"own row on screen", Grid->RowHeights(2), 30},
        {"default row on screen", Grid->RowHeights(1), 21},
        {"own row font", Grid->GetRowFont(3)->Size(), 15},
        {"own column width", Grid->GetCol(2)->Width(), 120},
        {"default column width", Grid->DefaultColWidth(), 96},
        {"column on screen", Grid->CellRect(3, 1).Left - Grid->CellRect(2, 1).Left, 120},
    };
    for (const auto& C : Cases) EXPECT_EQ(C.Got, C.Want) << C.Name;
}

TEST_F(GridServicesReading, ListGridErrorsNameTheirParentGrid) {
    ShowGrid(2, 2);
    Grid->SetName("Orders");
    TgxComboGrid* List = Grid->GetCombo()->GetGrid();
    try {
        List->CheckIndex(itRow, 9, 1, 1);
        ADD_FAILURE() << "nothing raised";
    } catch (const EInvalidGridOperation& E) {
        EXPECT_EQ(std::string(E.Message.c_str()), "Orders.Combo: Row index 9 out of range");
    }
}

// The program hides the editor of the current cell and shows it again; it
// comes back over the cell that is current then.
TEST_F(GridEditingReading, HiddenEditorComesBackOverTheCurrentCell) {
    Grid->SetCellValue(2, 3, AnsiString("there"));
    GoTo(1, 2);
    Press(Qt::Key_F2);
    ASSERT_TRUE(Grid->EditorShown());
    QWidget* Editor = QApplication::focusWidget();
    ASSERT_NE(Editor, nullptr);
    ASSERT_NE(Editor, Grid->Widget());
    Grid->HideGridControl(true);
    QApplication::processEvents();
    EXPECT_FALSE(Editor->isVisible());
    EXPECT_FALSE(Grid->GridControl()->GetVisible());
    Press(Qt::Key_Escape);
    GoTo(2, 3);
    Press(Qt::Key_F2);
    // Where the editor of this cell sits when shown the ordinary way.
    const QRect Placed = Editor->geometry();
    Grid->HideGridControl(true);
    QApplication::processEvents();
    Grid->ShowGridControl();
    QApplication::processEvents();
    EXPECT_TRUE(Grid->GridControl()->GetVisible());
    EXPECT_TRUE(Editor->isVisible());
    EXPECT_EQ(Editor->geometry(), Placed);
    EXPECT_EQ(std::string(EditorText().c_str()), "there");
}

// The program changes the row count while the user edits: an edit in a
// row that goes away ends and leaves nothing behind; an edit in a row that
// stays goes on and is kept in its own row.
TEST_F(GridEditingReading, RowCountChangedDuringAnEditKeepsTheEditWhereItBelongs) {
    struct Case {
        const char* Name;
        int EditRow;
        int NewCount;
    };
    for (const Case& C : {Case{"row removed", 4, 2}, Case{"row kept", 2, 3},
                          Case{"rows added", 2, 8}}) {
        Grid->SetGridRowCount(5);
        for (int R = 1; R <= 5; ++R) Grid->SetCellValue(1, R, AnsiString("v") + IntToStr(R));
        GoTo(1, C.EditRow);
        Press(Qt::Key_F2);
        Press(Qt::Key_A, Qt::ControlModifier);
        Type("typed");
        Grid->SetGridRowCount(C.NewCount);
        QApplication::processEvents();
        Press(Qt::Key_Return);
        GoTo(1, 1);
        Grid->SetGridRowCount(8);
        for (int R = 1; R <= 8; ++R) {
            std::string Want = R <= 5 && R <= C.NewCount ? "v" + std::to_string(R) : "";
            if (R == C.EditRow && C.EditRow <= C.NewCount) Want = "typed";
            EXPECT_EQ(std::string(Stored(1, R).c_str()), Want) << C.Name << " row " << R;
        }
    }
}

TEST_F(GridEditingReading, ColumnCountCutUnderAnEditLeavesNothingBehind) {
    for (int C = 1; C <= 4; ++C) Grid->SetCellValue(C, 2, AnsiString("c") + IntToStr(C));
    GoTo(4, 2);
    Press(Qt::Key_F2);
    Press(Qt::Key_A, Qt::ControlModifier);
    Type("typed");
    Grid->SetGridColCount(2);
    QApplication::processEvents();
    Press(Qt::Key_Return);
    GoTo(1, 1);
    Grid->SetGridColCount(4);
    const char* Want[] = {"c1", "c2", "", ""};
    for (int C = 1; C <= 4; ++C) EXPECT_EQ(std::string(Stored(C, 2).c_str()), Want[C - 1]) << C;
}

// Moving a data row or column, or hiding one, shows at once: the colour of
// the moved line is drawn at its new place and no longer at the old one.
TEST_F(GridServicesReading, MovedAndHiddenLinesAreRedrawnWhereTheyNowAre) {
    struct Case {
        const char* Name;
        std::function<void()> Change;
        int Col;
        int Row;
        bool Lime;
    };
    ShowGrid(4, 4);
    Grid->SetColor(clWhite);
    Grid->SetRowColor(1, clLime);
    Grid->GetCol(1)->SetColor(clAqua);
    Settle();
    auto Inside = [&](int C, int R) {
        const TRect Rc = Grid->CellRect(C, R);
        return At(Rc.Right - 3, Rc.Bottom - 3);
    };
    Shot();
    ASSERT_EQ(Inside(2, 1), clLime);
    ASSERT_EQ(Inside(1, 2), clAqua);

    Grid->SetDisplayRownr(1, 3);
    Shot();
    EXPECT_EQ(Inside(2, 3), clLime) << "row at its new place";
    EXPECT_NE(Inside(2, 1), clLime) << "row at its old place";

    Grid->SetDisplayColnr(1, 3);
    Settle();
    Shot();
    EXPECT_EQ(Inside(3, 2), clAqua) << "column at its new place";
    EXPECT_NE(Inside(1, 2), clAqua) << "column at its old place";

    // Data row 1 is shown third; hiding data row 2 (shown first) moves it up.
    const int Top = Grid->CellRect(2, 3).Top;
    const int Step = Grid->RowHeights(1);
    Grid->SetRowVisible(2, false);
    Settle();
    Shot();
    EXPECT_EQ(Grid->CellRect(2, 3).Top, Top - Step);
    EXPECT_EQ(Inside(2, 3), clLime);
    EXPECT_NE(At(Grid->CellRect(2, 3).Right - 3, Top + Step - 3), clLime) << "old place";
}

// A heading follows the grid's heading font until it is given its own.
TEST_F(GridServicesReading, HeadingFontFollowsTheGridUntilTheColumnHasItsOwn) {
    ShowGrid(3, 2);
    TgxCol* Follows = Grid->GetCol(1);
    TgxCol* Own = Grid->GetCol(2);
    Follows->SetHeading("WWWW");
    Own->SetHeading("WWWW");
    EXPECT_TRUE(Own->HeadingParentFont());
    EXPECT_EQ(Own->GetHeadingFont(), nullptr);
    TFont Blue;
    Blue.Assign(Grid->HeadingFont());
    Blue.SetColor(clBlue);
    Own->SetHeadingFont(&Blue);
    EXPECT_FALSE(Own->HeadingParentFont());
    ASSERT_NE(Own->GetHeadingFont(), nullptr);
    Grid->HeadingFont()->SetColor(clRed);
    Settle();
    EXPECT_EQ(Own->GetHeadingFont()->Color(), clBlue);
    Shot();
    const TRect H1 = Grid->CellRect(1, 0);
    const TRect H2 = Grid->CellRect(2, 0);
    EXPECT_GT(CountOf(H1, clRed), 0);
    EXPECT_EQ(CountOf(H1, clBlue), 0);
    EXPECT_GT(CountOf(H2, clBlue), 0);
    EXPECT_EQ(CountOf(H2, clRed), 0);
    // Following again takes the grid's heading font back.
    Own->SetHeadingParentFont(true);
    Shot();
    EXPECT_GT(CountOf(H2, clRed), 0);
    EXPECT_EQ(CountOf(H2, clBlue), 0);
}

// A grid that inserts rows keeps its insertion row below the data rows,
// whatever the program sets the count to; the row never counts as data.
TEST_F(GridServicesReading, InsertionRowStaysBelowTheDataRowsAtEveryCount) {
    ShowGrid(2, 3);
    Grid->SetStoreData(true);
    Grid->SetGridMode(gmEditInsert);
    Settle();
    for (const int N : {3, 0, 5, 1}) {
        Grid->SetGridRowCount(N);
        Settle();
        EXPECT_EQ(Grid->GetGridRowCount(), N) << N;
        EXPECT_TRUE(Grid->InsertionRowShown()) << N;
        EXPECT_EQ(Grid->RowCount(), N + 2) << N;
        EXPECT_LE(Grid->Row(), N + 1) << N;
    }
}

// Entering the insertion row makes it a row of its own; cut away by the
// program, the current cell moves to the last row left and a fresh
// insertion row is shown below it.
TEST_F(GridServicesReading, AppendedCurrentRowCutAwayLeavesTheLastRowCurrent) {
    ShowGrid(2, 4);
    Grid->SetStoreData(true);
    Grid->SetGridMode(gmEditInsert);
    Settle();
    Grid->SetCol(1);
    Grid->SetRow(5);
    Settle();
    ASSERT_EQ(Grid->Row(), 5);
    EXPECT_EQ(Grid->GetGridRowCount(), 5);
    Grid->SetGridRowCount(2);
    Settle();
    EXPECT_EQ(Grid->Row(), 2);
    EXPECT_EQ(Grid->GetGridRowCount(), 2);
    EXPECT_TRUE(Grid->InsertionRowShown());
    EXPECT_EQ(Grid->RowCount(), 4);
}

// Text typed on the insertion row never lands in a data row when the
// program cuts the rows above it.
TEST_F(GridEditingReading, InsertionRowTextStaysOutOfDataRowsWhenRowsAreCut) {
    Grid->SetGridMode(gmEditInsert);
    Grid->SetGridRowCount(4);
    for (int R = 1; R <= 4; ++R) Grid->SetCellValue(1, R, AnsiString("v") + IntToStr(R));
    QApplication::processEvents();
    Grid->SetCol(1);
    Grid->SetRow(5);
    QApplication::processEvents();
    ASSERT_EQ(Grid->Row(), 5);
    Type("new");
    Grid->SetGridRowCount(2);
    QApplication::processEvents();
    Press(Qt::Key_Escape);
    Press(Qt::Key_Escape);
    EXPECT_EQ(std::string(Stored(1, 1).c_str()), "v1");
    EXPECT_EQ(std::string(Stored(1, 2).c_str()), "v2");
}

// A cell's button takes its width from the text's room.
TEST_F(GridServicesReading, CellTextLinesLeaveRoomForTheCellButton) {
    ShowLogGrid();
    Grid->SetGridRowCount(1);
    Grid->GetCol(1)->SetWidth(120);
    // The longest run of short words that still fits on one line.
    AnsiString Fits = "a";
    for (;;) {
        ASSERT_LT(Fits.length(), 400u) << "the text never wrapped";
        Grid->SetCellValue(1, 1, Fits + " a");
        if (Grid->GetCellTextLines(1, 1) > 1) break;
        Fits += " a";
    }
    Grid->SetCellValue(1, 1, Fits);
    ASSERT_EQ(Grid->GetCellTextLines(1, 1), 1);
    Grid->SetCellButtonType(1, 1, TgxButtonType::btNormal);
    EXPECT_EQ(Grid->GetCellTextLines(1, 1), 2);
}

// A user's drag sizes one column or row; a double-click on the same edge
// gives it back the size the program set.
class GridMouseReading : public ShownMouseFixture {};

TEST_F(GridMouseReading, DoubleClickOnAnEdgeRestoresTheSizeTheProgramSet) {
    ShowFocused(4, 4);
    Grid->SetResizeCols(rcSingle);
    Grid->SetResizeRows(rrSingle);
    Grid->GetCol(2)->SetWidth(70);
    Grid->SetRowHeight(2, 30);
    QApplication::processEvents();
    struct Case {
        const char* Name;
        bool IsCol;
        int Set;
    };
    for (const Case& C : {Case{"column", true, 70}, Case{"row", false, 30}}) {
        auto Size = [&] { return C.IsCol ? Grid->GetCol(2)->Width() : Grid->GetRowHeight(2); };
        const int Edge = C.IsCol ? ColEdge(2) : RowEdge(2);
        const QPoint From = C.IsCol ? QPoint(Edge, 5) : QPoint(5, Edge);
        const QPoint To = C.IsCol ? QPoint(Edge + 25, 5) : QPoint(5, Edge + 25);
        Move(From, Qt::NoButton);
        Press(From);
        Move(To);
        Release(To);
        QApplication::processEvents();
        EXPECT_EQ(Size(), C.Set + 25) << C.Name;
        const int NewEdge = C.IsCol ? ColEdge(2) : RowEdge(2);
        const QPoint At = C.IsCol ? QPoint(NewEdge, 5) : QPoint(5, NewEdge);
        Move(At, Qt::NoButton);
        DoubleClick(At);
        QApplication::processEvents();
        EXPECT_EQ(Size(), C.Set) << C.Name;
    }
}

// A held spin button steps at once and starts the spin timer; each tick
// steps again while it is held, and letting go stops the timer.
TEST_F(GridMouseReading, HeldSpinButtonRepeatsOnTimerTicksUntilReleased) {
    ShowFocused(3, 3);
    Grid->SetStoreData(true);
    Grid->GetCol(1)->SetWidth(80);
    Grid->SetCellButtonType(1, 1, TgxButtonType::btVertSpin);
    Grid->SetCellValue(1, 1, AnsiString("5"));
    Grid->SetCurrentCell(1, 1);
    QApplication::processEvents();
    std::vector<int> Counts;
    Grid->OnSpinRepeat = [&](TObject*, int, const Variant&, int Count, TgxSpinButton) {
        Counts.push_back(Count);
    };
    const TRect Cell = Grid->CellRect(1, 1);
    const QPoint Up(Cell.Right - 3, Cell.Top + 2);
    Move(Up, Qt::NoButton);
    Press(Up);
    QApplication::processEvents();
    ASSERT_NE(Grid->SpinTimerHandle(), 0u);
    Grid->Perform(WM_TIMER, TgxBaseGrid::SpinTimerId);
    Grid->Perform(WM_TIMER, TgxBaseGrid::SpinTimerId);
    // The press itself is the first step; each tick adds one.
    EXPECT_EQ(Counts, (std::vector<int>{1, 2, 3}));
    Release(Up);
    QApplication::processEvents();
    Grid->Perform(WM_TIMER, TgxBaseGrid::SpinTimerId);
    EXPECT_EQ(Counts.size(), 3u);
    EXPECT_EQ(Grid->SpinTimerHandle(), 0u);
    EXPECT_EQ(VarToStr(Grid->GetCellValue(1, 1)), "8");
}

} // namespace
