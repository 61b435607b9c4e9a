// The grid's own commands on its context menu (preview, print, export), the
// report component printing is handed to, and switching redrawing off
// around bulk changes.
#include "ShownMouseFixture.h"

#include "grid/view/GridReport.h"
#include "platform/gui/Menus.h"

#include <QContextMenuEvent>

#include <string>
#include <vector>

using namespace grid;

namespace {

// A report that notes what it was asked to do.
class NotingGridReport : public TgoCustomGridReport {
public:
    using TgoCustomGridReport::TgoCustomGridReport;
    void Print(TgxCustomGrid* Grid) override { Calls.push_back(Grid == Asked ? "print" : "?"); }
    void PrintPreview(TgxCustomGrid* Grid) override {
        Calls.push_back(Grid == Asked ? "preview" : "?");
    }
    TgxCustomGrid* Asked = nullptr;
    std::vector<std::string> Calls;
};

std::vector<std::string> MenuCaptions(TPopupMenu* Menu) {
    std::vector<std::string> Out;
    for (int I = 0; I < Menu->Items()->Count(); ++I) {
        TMenuItem* Item = Menu->Items()->Items(I);
        Out.push_back(std::string(Item->Caption().c_str()) +
                      (Item->Tag() == TgxCustomGrid::GridMenuTag ? "#" : ""));
    }
    return Out;
}

class GridMenuReport : public ShownMouseFixture {
protected:
    void SetUp() override { ShowFocused(3, 4); }
    NotingGridReport* NewReport() {
        auto* R = new NotingGridReport(Form);
        R->Asked = Grid;
        return R;
    }
    // A right-click's context-menu request at a client point.
    void ContextMenuAt(QPoint P) {
        QContextMenuEvent E(QContextMenuEvent::Mouse, At(P), W->mapToGlobal(At(P)));
        QApplication::sendEvent(W, &E);
    }
};

TEST(GridReportTexts, ANewReportsSettingsAndCopiedObjects) {
    TgoCustomGridReport R(nullptr);
    EXPECT_EQ(R.DateTimeCaption(), "DateTime:");
    EXPECT_EQ(R.PageCaption(), "Page:");
    EXPECT_EQ(R.EndOfReportText(), "*** END OF REPORT ***");
    EXPECT_EQ(R.RecordsCaption(), "Records");
    EXPECT_EQ(R.MenuOptionsText(), "Preview...|Print...|Export...");
    EXPECT_FALSE(R.ProvideGridMenu());
    EXPECT_EQ(R.PrintMode(), 2);
    EXPECT_EQ(R.FrameColor(), clNone);
    const TgoReportPageMargins* M = R.Margins();
    EXPECT_EQ((std::vector<int>{M->LeftMargin(), M->RightMargin(), M->TopMargin(),
                                M->BottomMargin()}),
              (std::vector<int>{7, 7, 7, 15}));
    TgoReportPageMargins Mine;
    Mine.SetTopMargin(30);
    R.SetMargins(&Mine);
    EXPECT_NE(R.Margins(), &Mine);
    EXPECT_EQ(R.Margins()->TopMargin(), 30);
    TFont Font;
    Font.SetSize(21);
    R.SetTitleFont(&Font);
    EXPECT_NE(R.TitleFont(), &Font);
    EXPECT_EQ(R.TitleFont()->Size(), 21);
}

TEST_F(GridMenuReport, PrintingWithoutAReportRaisesAndWithOneHandsTheGridToIt) {
    for (const auto Call : {&TgxCustomGrid::Print, &TgxCustomGrid::PrintPreview}) {
        try {
            (Grid->*Call)();
            ADD_FAILURE() << "no error";
        } catch (const Exception& E) {
            EXPECT_EQ(E.Message, "Cellmoor requires a GridReport component to be associated to "
                                 "this grid to support printing !");
        }
    }
    NotingGridReport* R = NewReport();
    Grid->SetGridReport(R);
    Grid->Print();
    Grid->PrintPreview();
    EXPECT_EQ(R->Calls, (std::vector<std::string>{"print", "preview"}));
    // The report belongs to the form; when it goes the grid forgets it.
    delete R;
    EXPECT_EQ(Grid->GridReport(), nullptr);
    EXPECT_THROW(Grid->Print(), Exception);
}

TEST_F(GridMenuReport, WithoutAPopupMenuTheGridsOwnMenuHasNoSeparator) {
    NotingGridReport* R = NewReport();
    R->SetMenuOptionsText("See|Out|Save");
    Grid->SetGridReport(R);
    Grid->ShowGridMenu(5, 5);
    TPopupMenu* Own = Grid->GridMenu();
    ASSERT_NE(Own, nullptr);
    EXPECT_EQ(Own->PopupComponent(), Grid);
    EXPECT_EQ(MenuCaptions(Own), (std::vector<std::string>{"See#", "Out#", "Save#"}));
    for (int I = 0; I < Own->Items()->Count(); ++I)
        EXPECT_EQ(Own->Items()->Items(I)->Owner(), Grid);
    Own->Items()->Items(0)->Click();
    EXPECT_EQ(R->Calls, (std::vector<std::string>{"preview"}));
    // Configuring again gives a fresh menu with the items once.
    Grid->ConfigureGridMenu();
    ASSERT_NE(Grid->GridMenu(), nullptr);
    EXPECT_EQ(MenuCaptions(Grid->GridMenu()), (std::vector<std::string>{"See#", "Out#", "Save#"}));
}

// The context-menu request shows the grid's menu when the grid or its
// report asks for it.
TEST_F(GridMenuReport, ARightClickShowsTheMenuWhenTheGridOrItsReportProvidesIt) {
    const struct {
        bool GridProvides;
        bool ReportProvides;
        bool Shown;
    } Cases[] = {{false, false, false}, {true, false, true}, {false, true, true}};
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.GridProvides * 2 + C.ReportProvides);
        TearDown();
        SetUp();
        NotingGridReport* R = NewReport();
        R->SetProvideGridMenu(C.ReportProvides);
        Grid->SetGridReport(R);
        Grid->SetProvideGridMenu(C.GridProvides);
        ContextMenuAt(CellMid(1, 1));
        EXPECT_EQ(Grid->GridMenu() != nullptr, C.Shown);
        if (C.Shown) {
            EXPECT_EQ(Grid->GridMenu()->Items()->Count(), 3);
        }
    }
}

TEST_F(GridMenuReport, BeginAndEndUpdateSwitchRedrawingOffAndOnAndNest) {
    Grid->BeginUpdate();
    EXPECT_FALSE(Grid->GetEnableRedraw());
    Grid->BeginUpdate();
    Grid->EndUpdate();
    EXPECT_FALSE(Grid->GetEnableRedraw());
    Grid->EndUpdate();
    EXPECT_TRUE(Grid->GetEnableRedraw());
    Grid->EndUpdate();
    EXPECT_TRUE(Grid->GetEnableRedraw());
}

} // namespace
