// The grid's own context menu (preview, print, export), the report
// component printing is handed to, and the painting helpers printing uses.
#include "grid/model/GxGrid.h"
#include "grid/view/GridReport.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/Menus.h"
#include "platform/gui/QtApp.h"
#include "platform/gui/tests/GuiTestSupport.h"

#include <QContextMenuEvent>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace grid;

namespace {

// A report that notes what the grid asks of it.
class NotingReport : public TgoCustomGridReport {
public:
    using TgoCustomGridReport::TgoCustomGridReport;
    void Print(TgxCustomGrid* Grid) override { Calls.push_back(Grid == Seen ? "print" : "?"); }
    void PrintPreview(TgxCustomGrid* Grid) override {
        Calls.push_back(Grid == Seen ? "preview" : "?");
    }
    TgxCustomGrid* Seen = nullptr;
    std::vector<std::string> Calls;
};

class GridMenuReading : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        Form = new TForm(nullptr);
        Form->SetBounds(10, 10, 500, 360);
        Grid = new TgxGrid(Form);
        Grid->SetParent(Form);
        Grid->SetBounds(0, 0, 400, 300);
        ShowActive(*Form);
        QApplication::processEvents();
    }
    void TearDown() override { delete Form; }

    NotingReport* NewReport() {
        auto* Report = new NotingReport(Form);
        Report->Seen = Grid;
        return Report;
    }
    // The captions of a menu's items, in order.
    static std::vector<std::string> Captions(TPopupMenu* Menu) {
        std::vector<std::string> Out;
        for (int I = 0; I < Menu->Items()->Count(); ++I)
            Out.push_back(Menu->Items()->Items(I)->Caption().c_str());
        return Out;
    }
    static TMenuItem* ItemCaptioned(TPopupMenu* Menu, const char* Caption) {
        for (int I = 0; I < Menu->Items()->Count(); ++I)
            if (Menu->Items()->Items(I)->Caption() == Caption) return Menu->Items()->Items(I);
        return nullptr;
    }
    // The user's right click (the keyboard's menu key alike) on the grid.
    void ContextRequest(int X, int Y) {
        QContextMenuEvent E(QContextMenuEvent::Mouse, QPoint(X, Y),
                            Grid->Widget()->mapToGlobal(QPoint(X, Y)));
        QApplication::sendEvent(Grid->Widget(), &E);
        QApplication::processEvents();
    }

    TForm* Form = nullptr;
    TgxGrid* Grid = nullptr;
};

} // namespace

TEST_F(GridMenuReading, NewReportHoldsItsDefaults) {
    NotingReport Report(nullptr);
    EXPECT_EQ(Report.DateTimeCaption(), "DateTime:");
    EXPECT_EQ(Report.PageCaption(), "Page:");
    EXPECT_EQ(Report.EndOfReportText(), "*** END OF REPORT ***");
    EXPECT_EQ(Report.RecordsCaption(), "Records");
    EXPECT_EQ(Report.MenuOptionsText(), "Preview...|Print...|Export...");
    // The captions follow the default text from the start.
    EXPECT_EQ(Report.PreviewCaption(), "Preview...");
    EXPECT_EQ(Report.PrintCaption(), "Print...");
    EXPECT_EQ(Report.ExportCaption(), "Export...");
    EXPECT_FALSE(Report.ProvideGridMenu());
    EXPECT_TRUE(Report.PrintDateTime() && Report.PrintPageNumbers() && Report.PrintEndOfReport() &&
                Report.PrintRecordCount() && Report.PrintTitleImage() && Report.PrintHeadings());
    EXPECT_EQ(Report.PrintMode(), 2);
    EXPECT_FALSE(Report.Monochrome());
    EXPECT_EQ(Report.FrameColor(), clNone);
    TgoReportPageMargins* M = Report.Margins();
    EXPECT_EQ((std::vector<int>{M->LeftMargin(), M->RightMargin(), M->TopMargin(),
                                M->BottomMargin()}),
              (std::vector<int>{7, 7, 7, 15}));
}

TEST_F(GridMenuReading, MenuOptionsTextSplitsAtTheFirstTwoBars) {
    struct Case {
        const char* Text;
        const char* Preview;
        const char* Print;
        const char* Export;
    };
    // Each case starts from the captions "p", "q", "r".
    for (const Case& C : {Case{"A|B|C", "A", "B", "C"}, Case{"A|B|C|D", "A", "B", "C|D"},
                          Case{"A|B", "A", "B", "r"}, Case{"A", "A", "q", "r"},
                          Case{"|B|", "", "B", ""}, Case{"", "", "", ""}}) {
        SCOPED_TRACE(C.Text);
        NotingReport Report(nullptr);
        Report.SetMenuOptionsText("p|q|r");
        Report.SetMenuOptionsText(C.Text);
        EXPECT_EQ(Report.MenuOptionsText(), C.Text);
        EXPECT_EQ(Report.PreviewCaption(), C.Preview);
        EXPECT_EQ(Report.PrintCaption(), C.Print);
        EXPECT_EQ(Report.ExportCaption(), C.Export);
    }
}

// The report copies what it is given and keeps its own objects.
TEST_F(GridMenuReading, ReportSettersCopyIntoTheirOwnObjects) {
    NotingReport Report(nullptr);
    TFont* OwnFont = Report.TitleFont();
    TgoReportPageMargins* OwnMargins = Report.Margins();
    {
        TFont Font;
        Font.SetSize(21);
        Report.SetTitleFont(&Font);
        TgoReportPageMargins Margins;
        Margins.SetLeftMargin(3);
        Margins.SetBottomMargin(30);
        Report.SetMargins(&Margins);
    }
    EXPECT_EQ(Report.TitleFont(), OwnFont);
    EXPECT_EQ(Report.TitleFont()->Size(), 21);
    EXPECT_EQ(Report.Margins(), OwnMargins);
    EXPECT_EQ(Report.Margins()->LeftMargin(), 3);
    EXPECT_EQ(Report.Margins()->BottomMargin(), 30);
    EXPECT_EQ(Report.Margins()->RightMargin(), 7);
}

TEST_F(GridMenuReading, PrintWithoutReportRaisesAndWithOneHandsOver) {
    const AnsiString Message =
        "Cellmoor requires a GridReport component to be associated to this grid to support "
        "printing !";
    for (auto Call : {&TgxCustomGrid::Print, &TgxCustomGrid::PrintPreview}) {
        try {
            (Grid->*Call)();
            ADD_FAILURE() << "no exception";
        } catch (const Exception& E) {
            EXPECT_EQ(E.Message, Message);
        }
    }
    NotingReport* Report = NewReport();
    Grid->SetGridReport(Report);
    Grid->Print();
    Grid->PrintPreview();
    EXPECT_EQ(Report->Calls, (std::vector<std::string>{"print", "preview"}));
    // The grid's link goes with the report.
    delete Report;
    EXPECT_EQ(Grid->GridReport(), nullptr);
    EXPECT_THROW(Grid->Print(), Exception);
}

// On the grid's PopupMenu the items come after a separator, once however
// often the menu shows; the grid's own menu has no separator.
TEST_F(GridMenuReading, ShowingTheMenuAddsTheItemsOnce) {
    auto* Popup = new TPopupMenu(Form);
    auto* Mine = new TMenuItem(Form);
    Mine->SetCaption("Mine");
    Popup->Items()->Add(Mine);
    Grid->SetPopupMenu(Popup);
    Grid->ShowGridMenu(5, 5);
    Grid->ShowGridMenu(5, 5);
    Grid->AddGridMenuItems(Popup);
    EXPECT_EQ(Captions(Popup), (std::vector<std::string>{"Mine", "-", "Preview Grid...",
                                                         "Print Grid...", "Export Grid..."}));
    for (int I = 2; I < 5; ++I) {
        EXPECT_EQ(Popup->Items()->Items(I)->Tag(), TgxCustomGrid::GridMenuTag);
        EXPECT_EQ(Popup->Items()->Items(I)->Owner(), Grid);
    }
    EXPECT_EQ(Popup->Items()->Items(1)->Tag(), TgxCustomGrid::GridMenuTag);
    EXPECT_EQ(Grid->GridMenu(), nullptr);

    Grid->SetPopupMenu(nullptr);
    Grid->ShowGridMenu(5, 5);
    ASSERT_NE(Grid->GridMenu(), nullptr);
    EXPECT_EQ(Captions(Grid->GridMenu()),
              (std::vector<std::string>{"Preview Grid...", "Print Grid...", "Export Grid..."}));
    EXPECT_EQ(Grid->GridMenu()->PopupComponent(), Grid);
}

// A report's captions name the items; an empty preview caption leaves the
// preview out. Setting the report takes the old items away.
TEST_F(GridMenuReading, ReportCaptionsNameTheItems) {
    auto* Popup = new TPopupMenu(Form);
    Grid->SetPopupMenu(Popup);
    Grid->ShowGridMenu(5, 5);
    ASSERT_EQ(Captions(Popup).size(), 4u);

    NotingReport* Report = NewReport();
    Report->SetMenuOptionsText("See|Send|Save");
    Grid->SetGridReport(Report);
    EXPECT_TRUE(Captions(Popup).empty());
    Grid->ShowGridMenu(5, 5);
    EXPECT_EQ(Captions(Popup), (std::vector<std::string>{"-", "See", "Send", "Save"}));
    ItemCaptioned(Popup, "See")->Click();
    ItemCaptioned(Popup, "Send")->Click();
    EXPECT_EQ(Report->Calls, (std::vector<std::string>{"preview", "print"}));

    NotingReport* Quiet = NewReport();
    Quiet->SetMenuOptionsText("|Send|Save");
    Grid->SetGridReport(Quiet);
    Grid->ShowGridMenu(5, 5);
    EXPECT_EQ(Captions(Popup), (std::vector<std::string>{"-", "Send", "Save"}));
}

// A right click shows the grid's menu (its PopupMenu with the items, else
// its own) when the grid or its report asks for one and the application's
// handler left the request alone; otherwise nothing of the grid's shows.
TEST_F(GridMenuReading, ContextRequestShowsTheMenuWhenAskedFor) {
    struct Case {
        const char* Name;
        bool GridAsks;
        bool ReportAsks;
        bool HandlerTakes;
        bool OwnPopup;
        int Items;
    };
    for (const Case& C : {Case{"nobody", false, false, false, false, 0},
                          Case{"grid", true, false, false, false, 3},
                          Case{"report", false, true, false, false, 3},
                          Case{"popup menu", true, false, false, true, 5},
                          Case{"handler", true, true, true, false, 0}}) {
        SCOPED_TRACE(C.Name);
        TearDown();
        SetUp();
        Grid->SetProvideGridMenu(C.GridAsks);
        NotingReport* Report = NewReport();
        Report->SetProvideGridMenu(C.ReportAsks);
        Grid->SetGridReport(Report);
        TPopupMenu* Menu = nullptr;
        if (C.OwnPopup) {
            Menu = new TPopupMenu(Form);
            auto* Mine = new TMenuItem(Form);
            Mine->SetCaption("Mine");
            Menu->Items()->Add(Mine);
            Grid->SetPopupMenu(Menu);
        }
        if (C.HandlerTakes) Grid->OnContextPopup = [](TObject*, TPoint, bool& H) { H = true; };
        ContextRequest(30, 30);
        if (!Menu) Menu = Grid->GridMenu();
        EXPECT_EQ(Menu ? Menu->Items()->Count() : 0, C.Items);
    }
}

// BeginUpdate and EndUpdate switch redrawing off and on in pairs.
TEST_F(GridMenuReading, BeginAndEndUpdateNest) {
    Grid->BeginUpdate();
    Grid->BeginUpdate();
    EXPECT_FALSE(Grid->GetEnableRedraw());
    Grid->EndUpdate();
    EXPECT_FALSE(Grid->GetEnableRedraw());
    Grid->EndUpdate();
    EXPECT_TRUE(Grid->GetEnableRedraw());
}

// The whole grid is painted onto the canvas given; the grid forgets the
// canvas afterwards, so painting the window later is safe.
TEST_F(GridMenuReading, PaintToMetaFileCanvasDrawsTheGrid) {
    Grid->SetGridColCount(2);
    Grid->SetGridRowCount(2);
    Grid->SetColor(clWhite);
    {
        auto Bitmap = std::make_unique<TBitmap>();
        Bitmap->SetSize(Grid->Width(), Grid->Height());
        Bitmap->Canvas()->Brush()->SetColor(clRed);
        Bitmap->Canvas()->FillRect(TRect{0, 0, Grid->Width(), Grid->Height()});
        Grid->PaintToMetaFileCanvas(Bitmap->Canvas());
        // A data cell's middle shows the grid's colour where the red was.
        const TRect Cell = Grid->CellRect(1, 1);
        const std::uint32_t Pixel =
            Bitmap->ScanLine((Cell.Top + Cell.Bottom) / 2)[(Cell.Left + Cell.Right) / 2];
        EXPECT_EQ(Pixel & 0xFFFFFFu, 0xFFFFFFu);
    }
    Grid->Invalidate();
    Grid->Widget()->repaint();
    QApplication::processEvents();

    // A paint that raises half way leaves the grid free of the canvas too.
    Grid->OnPaint = [](TObject*) { throw Exception("paint failed"); };
    {
        auto Bitmap = std::make_unique<TBitmap>();
        Bitmap->SetSize(Grid->Width(), Grid->Height());
        EXPECT_THROW(Grid->PaintToMetaFileCanvas(Bitmap->Canvas()), Exception);
    }
    Grid->OnPaint = nullptr;
    Grid->Invalidate();
    Grid->Widget()->repaint();
    QApplication::processEvents();
}
