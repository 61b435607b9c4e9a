// A new grid as a program and a form see it: its counts and sizes, the
// settings a form leaves out because they are at their defaults, its
// heading font, the editor it shows once it has a window, and its end with
// a list still open.
#include "FormTextFixture.h"
#include "ShownGridFixture.h"

#include "grid/model/Columns.h"
#include "grid/model/GxGrid.h"
#include "grid/model/InplaceControl.h"
#include "grid/view/DropDownForm.h"
#include "platform/classes/TypInfo.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtApp.h"

#include <gtest/gtest.h>

#include <string>

using namespace grid;

namespace {

TEST(ConstructionReading, NewGridCountsSizesAndVersion) {
    EnsureQtApplication();
    TForm Form(nullptr);
    auto* G = new TgxGrid(&Form);
    EXPECT_EQ(G->GetGridColCount(), 4);
    EXPECT_EQ(G->GetGridRowCount(), 4);
    EXPECT_EQ(G->ColCount(), 5);
    EXPECT_EQ(G->RowCount(), 5);
    EXPECT_EQ(G->FixedCols(), 1);
    EXPECT_EQ(G->FixedRows(), 1);
    EXPECT_EQ(G->ColWidths(0), 14);
    EXPECT_EQ(G->RowHeights(0), 15);
    EXPECT_EQ(G->DefaultColWidth(), 64);
    EXPECT_EQ(G->DefaultRowHeight(), 14);
    EXPECT_EQ(G->PrintLinesPerPage(), 40);
    EXPECT_EQ(G->GetVersion(), "1.0.0a");
    EXPECT_EQ(G->GridScrollBars(), ssBoth);
    EXPECT_EQ(G->CheckBoxStyle(), stCheck);
    EXPECT_TRUE(G->ReportInvalidOps());
    EXPECT_EQ(G->ColMatch(), cmaNone);
    EXPECT_EQ(G->GridStatus(), grNormal);
    EXPECT_EQ(G->ButtonTimerHandle(), 0u);
    EXPECT_EQ(G->SpinTimerHandle(), 0u);
    EXPECT_FALSE(G->StoreData());
    EXPECT_EQ(G->DataStore(), nullptr);
}

// Every published setting of a new grid is at its stored default, so a
// form keeps only the ones without a default.
TEST(ConstructionReading, NewGridFormHoldsOnlySettingsWithoutDefault) {
    EnsureQtApplication();
    TForm Form(nullptr);
    Form.SetName("Form1");
    auto* G = new TgxGrid(&Form);
    G->SetName("Grid1");
    G->SetParent(&Form);
    for (const TPropInfo* P : GetPropList(G))
        if (P->Default != NoDefault) EXPECT_TRUE(IsDefaultPropValue(G, P)) << P->Name;
    const std::string Text = FormText(Form);
    const auto Start = Text.find("object Grid1: TgxGrid");
    ASSERT_NE(Start, std::string::npos);
    const std::string GridText = Text.substr(Start);
    for (const char* Written : {"Cols = 4", "Rows = 4", "Version = '1.0.0a'",
                                "CheckBoxStyle = stCheck"})
        EXPECT_NE(GridText.find(Written), std::string::npos) << Written;
    for (const char* Left : {"ColProperties", "RowProperties", "CellProperties", "Data",
                             "ColWidths", "RowHeights", "ExportDelimiter", "HeadingFont"})
        EXPECT_EQ(GridText.find(Left), std::string::npos) << Left;
}

class ConstructionShown : public ShownGridFixture {};

TEST_F(ConstructionShown, HeadingFontStartsAsTheGridFontAndRepaintsTheHeadingWhenChanged) {
    ShowGrid(2, 2);
    TFont* H = Grid->HeadingFont();
    EXPECT_EQ(H->Name(), Grid->Font()->Name());
    EXPECT_EQ(H->Size(), Grid->Font()->Size());
    EXPECT_EQ(H->Color(), Grid->Font()->Color());
    EXPECT_TRUE(Grid->HeadingParentFont());
    Grid->GridCols()->GetCol(1)->SetHeading("WWWW");
    Grid->Update();
    const TRect Head = Grid->CellRect(1, 0);
    auto RedPixels = [&] {
        int N = 0;
        for (int X = Head.Left; X < Head.Right; ++X)
            for (int Y = Head.Top; Y < Head.Bottom; ++Y)
                if (Grid->Canvas()->Pixels(X, Y) == clRed) ++N;
        return N;
    };
    EXPECT_EQ(RedPixels(), 0);
    H->SetColor(clRed);
    Grid->Update();
    EXPECT_GT(RedPixels(), 0);
    EXPECT_FALSE(Grid->HeadingParentFont());
}

TEST_F(ConstructionShown, WindowShowsTheEditorOverTheFirstCell) {
    ShowGrid(3, 3);
    TgxCustomGridControl* C = Grid->GridControl();
    ASSERT_NE(C, nullptr);
    EXPECT_TRUE(C->IsEditControl());
    EXPECT_EQ(C->GetParent(), Grid);
    EXPECT_TRUE(C->GetVisible());
    const TRect R = Grid->CellRect(1, 1);
    EXPECT_GE(C->GetLeft(), R.Left);
    EXPECT_GE(C->GetTop(), R.Top);
    EXPECT_LE(C->GetLeft() + C->GetWidth(), R.Right + 1);
}

TEST_F(ConstructionShown, DestroyingAGridWithItsListOpenLeavesNoHookBehind) {
    ShowGrid(2, 2);
    Grid->GridCols()->GetCol(1)->SetButtonType(btCombo);
    Grid->SetFocus();
    Grid->DisplayCombo(1, 1);
    ASSERT_TRUE(Grid->ComboVisible());
    const TgxBaseGrid* Gone = Grid;
    EXPECT_TRUE(GridHooksRegistered(Gone));
    delete Form;
    Form = nullptr;
    EXPECT_FALSE(GridHooksRegistered(Gone));
    EXPECT_FALSE(GridHooksInstalled());
}

} // namespace

namespace {

// Settings given before the grid has a window reach its editor once shown.
TEST(ConstructionReading, SettingsBeforeTheWindowReachTheEditor) {
    EnsureQtApplication();
    TForm Form(nullptr);
    Form.SetBounds(10, 10, 600, 400);
    auto* G = new TgxGrid(&Form);
    G->SetWantTabs(false);
    G->SetParent(&Form);
    G->SetBounds(0, 0, 400, 300);
    Form.Show();
    ASSERT_NE(G->GridControl(), nullptr);
    EXPECT_TRUE(G->GridControl()->IsEditControl());
    EXPECT_FALSE(G->GridControl()->GetWantTabs());
}

} // namespace

namespace {

// The editor a new grid shows writes its text where the cell wrote it.
TEST_F(ConstructionShown, TheEditorsTextLinesUpWithTheCellsText) {
    ShowGrid(2, 3);
    Grid->SetStoreData(true);
    Grid->Font()->SetColor(clBlack);
    Grid->GridCols()->GetCol(1)->SetColor(clWhite);
    Grid->SetCellValue(1, 1, Variant("WWW"));
    Grid->SetCellValue(1, 2, Variant("WWW"));
    Grid->SetCurrentCell(1, 1);
    Grid->Invalidate();
    Grid->Update();
    auto FirstDark = [](TCanvas* C, int X0, int X1, int Y0, int Y1) {
        for (int X = X0; X < X1; ++X)
            for (int Y = Y0; Y < Y1; ++Y)
                if (const unsigned P = static_cast<unsigned>(C->Pixels(X, Y));
                    (P & 0xFF) + ((P >> 8) & 0xFF) + ((P >> 16) & 0xFF) < 500)
                    return X;
        return -1;
    };
    const TRect R2 = Grid->CellRect(1, 2);
    const int CellText = FirstDark(Grid->Canvas(), R2.Left, R2.Right, R2.Top, R2.Bottom) - R2.Left;
    TgxCustomGridControl* E = Grid->GridControl();
    ASSERT_TRUE(E->GetVisible());
    E->Control()->Invalidate();
    E->Control()->Update();
    const TRect R1 = Grid->CellRect(1, 1);
    const int EditText = FirstDark(E->Control()->Canvas(), 0, E->GetWidth(), 0, E->GetHeight()) +
                         E->GetLeft() - R1.Left;
    EXPECT_GE(CellText, 0);
    EXPECT_EQ(EditText, CellText);
}

} // namespace
