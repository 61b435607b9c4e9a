// The generated-alerts grid of a program started with "/DEBUG": one row per
// alert history row a batch writes, what the window shows of them, their
// export, and the button that clears them.
#include "ProgramWindowTest.h"
#include "alert/app/CommandLine.h"
#include "alert/app/GeneratedAlertsGrid.h"
#include "alert/store/ShopOptions.h"
#include "components/PellworthGrid.h"
#include "grid/model/Columns.h"
#include "platform/gui/QtApp.h"
#include "platform/gui/StdCtrls.h"
#include "platform/gui/TimerService.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/DateTimeFormat.h"

#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Rows = std::vector<std::vector<std::string>>;

// Records of a CSV text whose fields are all quoted, as the grid writes
// them: quotes doubled inside, line breaks kept, a delimiter after every
// field and CR LF after every record.
Rows ParseQuotedCsv(const std::string& Text) {
    Rows Result;
    std::vector<std::string> Record;
    std::size_t I = 0;
    while (I < Text.size()) {
        if (Text.compare(I, 2, "\r\n") == 0) {
            Result.push_back(std::move(Record));
            Record.clear();
            I += 2;
            continue;
        }
        if (Text[I] != '"') throw std::runtime_error("unquoted field at " + std::to_string(I));
        std::string Field;
        for (++I; I < Text.size(); ++I) {
            if (Text[I] != '"') {
                Field += Text[I];
            } else if (I + 1 < Text.size() && Text[I + 1] == '"') {
                Field += '"';
                ++I;
            } else {
                break;
            }
        }
        ++I; // the closing quote
        if (I >= Text.size() || Text[I] != ',') throw std::runtime_error("no delimiter");
        ++I;
        Record.push_back(std::move(Field));
    }
    return Result;
}

// The day the demo's dates were written for, at a time of the test's choice.
TDateTime TodayAt(int Hour, int Minute) {
    return static_cast<double>(static_cast<int>(SystemClock().Now())) +
           EncodeTime(Hour, Minute, 0, 0);
}

bool IsInk(QRgb Pixel) {
    return qRed(Pixel) + qGreen(Pixel) + qBlue(Pixel) < 3 * 96;
}

class DebugGridTest : public ProgramWindowTest {
protected:
    void SetUp() override {
        ProgramWindowTest::SetUp();
        SetCommandLine({"/opt/beaconmill/beaconmill", "/DEBUG"});
        ScanCommandLine();
    }
    void TearDown() override {
        DebugMode = false;
        ProgramWindowTest::TearDown();
    }

    void Open() {
        CreateShopDataModules(Owner);
        Window = new TMainFormWindow(Owner);
        Window->Show();
    }
    components::TPellworthGrid& Grid() const { return *Window->gridOutput; }

    // The history rows as the grid shows them, in the order written.
    Rows HistoryRows() const {
        sqlite3* Db = nullptr;
        sqlite3_open(DbFile.c_str(), &Db);
        sqlite3_stmt* Stmt = nullptr;
        // A history row without the employee who triggered it stores NULL
        // for the record's -99.
        sqlite3_prepare_v2(Db,
                           "select Descr, AlertNbr, DateGenerated, "
                           "coalesce(EmpNbrTriggeredAlert, -99), AlertRecipientNbr, Priority "
                           "from ALERT_HISTORY order by rowid",
                           -1, &Stmt, nullptr);
        Rows Result;
        while (sqlite3_step(Stmt) == SQLITE_ROW) {
            std::vector<std::string> Row;
            for (int C = 0; C < 6; ++C) {
                const auto* Text = sqlite3_column_text(Stmt, C);
                Row.emplace_back(Text ? reinterpret_cast<const char*>(Text) : "");
            }
            // Stored as "yyyy/mm/dd hh:nn:ss"; shown with the time first
            // and the date in the options' order (the demo's is month first).
            Row[2] = FormatDateTime("h:nn AM/PM mm/dd/yy", StrToDateTime(Row[2]));
            Result.push_back(std::move(Row));
        }
        sqlite3_finalize(Stmt);
        sqlite3_close(Db);
        return Result;
    }

    Rows ExportedRows() const {
        const auto File = std::filesystem::path(::testing::TempDir()) / "generated_alerts.csv";
        Grid().ExportCSV(File.string());
        std::ifstream In(File, std::ios::binary);
        std::stringstream Text;
        Text << In.rdbuf();
        std::filesystem::remove(File);
        return ParseQuotedCsv(Text.str());
    }

    // A screenshot of the whole window, and where a grid cell's rectangle
    // lies in it.
    QImage Shot() const { return Window->Widget()->grab().toImage(); }
    QRect CellInShot(int Col, int Row) const {
        const TRect R = Grid().CellRect(Col, Row);
        const TPoint Screen = Grid().ClientToScreen(Point(R.Left, R.Top));
        const QPoint At = Window->Widget()->mapFromGlobal(QPoint(Screen.X, Screen.Y));
        return QRect(At.x(), At.y(), R.Width(), R.Height());
    }
    static bool HasInk(const QImage& Image, const QRect& Area) {
        for (int Y = Area.top(); Y <= Area.bottom(); ++Y)
            for (int X = Area.left(); X <= Area.right(); ++X)
                if (IsInk(Image.pixel(X, Y))) return true;
        return false;
    }

    ManualClock Clock{TodayAt(5, 58)};
    ScopedClock ClockScope{Clock};
    FakeTimerService Timers{&Clock};
    ScopedTimerService TimerScope{Timers};
};

TEST_F(DebugGridTest, OneBatchShowsOneRowPerAlertWrittenUntilCleared) {
    Open();
    ASSERT_TRUE(Window->gbDebug->Visible());
    ASSERT_EQ(Grid().GetGridRowCount(), 0);
    // At its least size the window shows the text column only: the operator
    // widens it, and the grid grows with it.
    Window->SetBounds(Window->Left(), Window->Top(), 1250, 860);
    Timers.Advance(60000); // the first tick: the pending transactions
    const Rows History = HistoryRows();
    ASSERT_GT(History.size(), 2u);
    ASSERT_EQ(Grid().GetGridRowCount(), static_cast<int>(History.size()));

    // The export holds the headings, then exactly the history rows.
    Rows Exported = ExportedRows();
    ASSERT_FALSE(Exported.empty());
    EXPECT_EQ(Exported.front(),
              (std::vector<std::string>{"HistoryString", "Alert Id", "Date Triggered",
                                        "Triggered By", "Alert Recipient", "Priority"}));
    Exported.erase(Exported.begin());
    EXPECT_EQ(Exported, History);

    // Each row is as high as its text's lines (its line under it
    // included); all of them fit the window.
    const QImage Image = Shot();
    const std::string File = std::string(BEACONMILL_SCREENSHOT_DIR) + "/debug_grid.png";
    EXPECT_TRUE(Image.save(QString::fromStdString(File), "PNG"));
    for (int C = 1; C <= 6; ++C)
        EXPECT_TRUE(HasInk(Image, CellInShot(C, 0).adjusted(2, 2, -2, -2))) << "heading " << C;
    const QRect Client = CellInShot(1, 0).united(CellInShot(6, 0));
    for (int R = 1; R <= Grid().GetGridRowCount(); ++R) {
        const QRect Cell = CellInShot(1, R);
        EXPECT_EQ(Grid().RowHeights(R),
                  Grid().GetCellTextLines(1, R) * GeneratedAlertsGrid::LineHeight)
            << "row " << R;
        ASSERT_LT(Cell.bottom(), Window->Widget()->height()) << "row " << R << " is off screen";
        for (int C = 1; C <= 6; ++C)
            EXPECT_TRUE(HasInk(Image, CellInShot(C, R).adjusted(1, 1, -1, -1)))
                << "row " << R << " column " << C;
        // The line under the row, in the grid's line colour.
        EXPECT_EQ(Image.pixelColor(Cell.center().x(), Cell.bottom() + 1), QColor(0, 128, 128))
            << "row " << R;
    }
    // Below the last row the grid is empty.
    const QRect Last = CellInShot(1, Grid().GetGridRowCount());
    const QRect Below(Client.left(), Last.bottom() + 3, Client.width(), 20);
    EXPECT_FALSE(HasInk(Image, Below));

    Window->btnClear->Click();
    EXPECT_EQ(Grid().GetGridRowCount(), 0);
    EXPECT_EQ(ExportedRows().size(), 1u) << "the headings alone";
    const QImage Cleared = Shot();
    EXPECT_TRUE(HasInk(Cleared, CellInShot(1, 0).adjusted(2, 2, -2, -2)));
    EXPECT_FALSE(HasInk(Cleared, QRect(Client.left(), Client.bottom() + 3, Client.width(),
                                       Last.bottom() - Client.bottom())));
}

TEST_F(DebugGridTest, WithoutTheSwitchAlertsAreCountedButNotShown) {
    DebugMode = false;
    Open();
    Timers.Advance(60000);
    EXPECT_FALSE(Window->gbDebug->Visible());
    EXPECT_GT(Window->GeneratedCount(), 0);
    EXPECT_EQ(Grid().GetGridRowCount(), 0);
}

// The view on a grid of its own, fed alerts directly.
class GeneratedAlertsGridTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 800, 300);
        Grid = new components::TPellworthGrid(Form);
        Grid->SetParent(Form);
        Grid->SetBounds(0, 0, 780, 280);
        SetUpGeneratedAlertsGrid(*Grid);
        Form->Show();
        View = std::make_unique<GeneratedAlertsGrid>(*Grid, Options);
    }
    void TearDown() override { delete Form; }
    AnsiString Cell(int Col, int Row) { return VarToStr(Grid->GetCellValue(Col, Row)); }

    TForm* Form = nullptr;
    components::TPellworthGrid* Grid = nullptr;
    ShopOptions Options;
    std::unique_ptr<GeneratedAlertsGrid> View;
};

TEST_F(GeneratedAlertsGridTest, ARowPerAlertInTheOptionsDateOrderAndAsHighAsItsLines) {
    struct Case {
        int DatePref;
        const char* Text;
        const char* Shown;
        int Lines;
    };
    const Case Cases[] = {{1, "one line", "9:05 AM 12/31/24", 1},
                          {2, "first\nsecond\nthird", "9:05 AM 31/12/24", 3},
                          {0, "", "9:05 AM 31/12/24", 1}};
    AlertTransaction Alert;
    Alert.AlertNbr = 27;
    Alert.EventTimeStamp = EncodeDate(2024, 12, 31) + EncodeTime(9, 5, 0, 0);
    Alert.EmpNbrGeneratedTrans = -99;
    Alert.RecipientNbr = 104;
    Alert.Priority = -2;
    for (const Case& C : Cases) {
        Options.DT_PREF = C.DatePref;
        Alert.MessageText = C.Text;
        View->AddAlert(Alert);
        const int Row = Grid->GetGridRowCount();
        EXPECT_EQ(Cell(1, Row), C.Text);
        EXPECT_EQ(Cell(3, Row), C.Shown);
        EXPECT_EQ(Grid->GetRowHeight(Row), C.Lines * GeneratedAlertsGrid::LineHeight) << C.Text;
    }
    ASSERT_EQ(Grid->GetGridRowCount(), 3);
    EXPECT_EQ(Cell(2, 1), "27");
    EXPECT_EQ(Cell(4, 1), "-99");
    EXPECT_EQ(Cell(5, 1), "104");
    EXPECT_EQ(Cell(6, 1), "-2");

    View->Clear();
    EXPECT_EQ(Grid->GetGridRowCount(), 0);
    View->AddAlert(Alert);
    EXPECT_EQ(Grid->GetGridRowCount(), 1);
    EXPECT_EQ(Cell(1, 1), Alert.MessageText);
}

TEST_F(GeneratedAlertsGridTest, RowsAddedBelowTheWindowRepaintNoneOfTheRowsAbove) {
    AlertTransaction Alert;
    Alert.MessageText = "text";
    while (Grid->GetVisibleRows() >= Grid->GetGridRowCount())
        View->AddAlert(Alert);
    Grid->Update();
    TRect Pending;
    ASSERT_FALSE(Grid->UpdateAreaBounds(Pending));
    // A change of the row count repaints at most the strip from the last
    // whole row down, where the partly shown row sits.
    const TRect LastWhole = Grid->CellRect(1, Grid->TopRow() + Grid->VisibleRowCount() - 1);
    for (int N = 0; N < 50; ++N)
        View->AddAlert(Alert);
    if (Grid->UpdateAreaBounds(Pending))
        EXPECT_GE(Pending.Top, LastWhole.Top) << Pending.Left << "," << Pending.Top << " - "
                                              << Pending.Right << "," << Pending.Bottom;
    EXPECT_EQ(Grid->TopRow(), 1);
}

} // namespace
