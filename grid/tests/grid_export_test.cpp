// The custom grid's CSV and data-packet XML export: golden files, Python's
// own readers getting the cells back, delimiters, the file dialog's choice
// and a failed export leaving the older file in place.
#include "grid/model/Columns.h"
#include "grid/tests/FormTextFixture.h"
#include "grid/model/GxGrid.h"
#include "grid/view/GridReport.h"
#include "platform/classes/Filer.h"
#include "platform/classes/Publish.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/Menus.h"
#include "platform/gui/Messages.h"
#include "platform/gui/QtApp.h"
#include "platform/gui/SaveDialog.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

using namespace grid;
namespace fs = std::filesystem;

namespace {

const fs::path Here = fs::path(__FILE__).parent_path() / "export";

std::string ReadFile(const fs::path& Path) {
    std::ifstream File(Path, std::ios::binary);
    return {std::istreambuf_iterator<char>(File), std::istreambuf_iterator<char>()};
}

std::string Unhex(const std::string& Hex) {
    std::string Bytes;
    for (std::size_t I = 0; I + 1 < Hex.size(); I += 2)
        Bytes += static_cast<char>(std::stoi(Hex.substr(I, 2), nullptr, 16));
    return Bytes;
}

using Rows = std::vector<std::vector<std::string>>;

// The rows Python's csv module or xml.etree reads from the file.
Rows PythonRead(const std::string& Kind, const fs::path& File) {
    const std::string Command =
        "python3 '" + (Here / "read_export.py").string() + "' " + Kind + " '" + File.string() + "'";
    std::unique_ptr<FILE, int (*)(FILE*)> Pipe(popen(Command.c_str(), "r"), pclose);
    if (!Pipe) throw std::runtime_error("cannot run " + Command);
    std::string Out;
    char Buffer[4096];
    std::size_t Got = 0;
    while ((Got = fread(Buffer, 1, sizeof Buffer, Pipe.get())) > 0)
        Out.append(Buffer, Got);
    if (pclose(Pipe.release()) != 0) throw std::runtime_error(Command + " failed");
    Rows Result;
    std::size_t Start = 0;
    while (Start < Out.size()) {
        const std::size_t End = Out.find('\n', Start);
        const std::string Line = Out.substr(Start, End - Start);
        std::vector<std::string> Row;
        std::size_t From = 0;
        while (true) {
            const std::size_t Tab = Line.find('\t', From);
            Row.push_back(Unhex(Line.substr(From, Tab - From)));
            if (Tab == std::string::npos) break;
            From = Tab + 1;
        }
        Result.push_back(Row);
        Start = End == std::string::npos ? Out.size() : End + 1;
    }
    return Result;
}

class GridExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        Grid = std::make_unique<TgxGrid>(nullptr);
        Grid->SetName("Grid1");
        Grid->SetStoreData(true);
        Dir = fs::temp_directory_path() /
              ("grid-export-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(Dir);
    }
    void TearDown() override { fs::remove_all(Dir); }

    void Fill(const std::vector<std::string>& Headings, const Rows& Cells) {
        Grid->SetGridColCount(static_cast<int>(Headings.size()));
        Grid->SetGridRowCount(static_cast<int>(Cells.size()));
        for (std::size_t C = 0; C < Headings.size(); ++C)
            Grid->GridCols()->Item(static_cast<int>(C) + 1)->SetHeading(Headings[C]);
        for (std::size_t R = 0; R < Cells.size(); ++R)
            for (std::size_t C = 0; C < Cells[R].size(); ++C)
                Grid->SetCellValue(static_cast<int>(C) + 1, static_cast<int>(R) + 1,
                                   Variant(Cells[R][C]));
    }

    // Columns Name, Unit price, 2nd (moved to the front), Hidden (hidden)
    // and Photo (pictures); three rows with quotes, markup and umlauts.
    void FillSmall() {
        Fill({"Name", "Unit price", "2nd", "Hidden", "Photo"},
             {{"Bolt \"M6\"", "0.10", "a<b", "h1", ""},
              {"Nut & washer", "1,5", "it's", "h2", ""},
              {"Gr\xC3\xB6\xC3\x9F"
               "e",
               "", "x>y", "h3", ""}});
        Grid->GridCols()->Item(3)->SetDisplayCol(1);
        Grid->GridCols()->Item(4)->SetVisible(false);
        Grid->GridCols()->Item(5)->SetControlType(ctPicture);
    }

    std::unique_ptr<TgxGrid> Grid;
    fs::path Dir;
};

TEST_F(GridExportTest, SmallGridMatchesTheGoldenFiles) {
    FillSmall();
    Grid->ExportCSV((Dir / "small.csv").string());
    Grid->ExportXML((Dir / "small.xml").string());
    EXPECT_EQ(ReadFile(Dir / "small.csv"), ReadFile(Here / "small.csv"));
    EXPECT_EQ(ReadFile(Dir / "small.xml"), ReadFile(Here / "small.xml"));
}

TEST_F(GridExportTest, PythonReadsTheSameCellsBack) {
    const Rows Cells = {{"a,b", "say \"hi\"", "two\r\nlines"},
                        {"<tag> & 'q'",
                         "Gr\xC3\xB6\xC3\x9F"
                         "e \xE2\x82\xAC",
                         "tab\there\nlf"},
                        {"", "\"", ","}};
    Fill({"First col", "9lives", "x:y"}, Cells);
    Grid->ExportCSV((Dir / "cells.csv").string());
    Grid->ExportXML((Dir / "cells.xml").string());

    Rows Expected = {{"First col", "9lives", "x:y"}};
    Expected.insert(Expected.end(), Cells.begin(), Cells.end());
    EXPECT_EQ(PythonRead("csv", Dir / "cells.csv"), Expected);

    // Headings become valid names; the values come back unchanged.
    Expected[0] = {"First_col", "_lives", "x_y"};
    EXPECT_EQ(PythonRead("xml", Dir / "cells.xml"), Expected);
}

// What a reader gets back of a hostile text: XML 1.0 has no place for most
// control characters, and neither format for bytes that are no UTF-8; each
// becomes the stand-in U+FFFD. CSV carries the rest, NUL included.
std::string BackFrom(const std::string& Text, bool Xml) {
    const std::string StandIn = "\xEF\xBF\xBD";
    std::string Result;
    for (unsigned char C : Text) {
        const bool Lost =
            C == 0xFF || (Xml && C < 0x20 && C != '\t' && C != '\n' && C != '\r');
        if (Lost)
            Result += StandIn;
        else
            Result += static_cast<char>(C);
    }
    return Result;
}

TEST_F(GridExportTest, HostileTextsComeBackThroughStrictReaders) {
    const std::vector<std::string> Texts = {
        "ctl \x01 and \x1f",
        "\x0b\x0c",
        std::string("nul\0end", 7),
        "quote \"q\" 'a'",
        "sep,;\t|",
        "line\r\nbreak\rcr\nlf",
        "<tag>&amp;</tag>",
        "Gr\xC3\xB6\xC3\x9F"
        "e \xE2\x82\xAC",
        "",
        "  lead and trail  ",
        "bad \xFF byte",
    };
    const std::vector<std::string> Headings = {"Temp \xC2\xB0"
                                               "C",
                                               "L\xC3\x97"
                                               "B",
                                               "Gr\xC3\xB6\xC3\x9F"
                                               "e",
                                               "2nd", "Temp \xC2\xB0"
                                                      "C"};
    Rows Cells;
    for (std::size_t R = 0; R < Texts.size(); ++R) {
        Cells.emplace_back();
        for (std::size_t C = 0; C < Headings.size(); ++C)
            Cells.back().push_back(Texts[(R + C) % Texts.size()]);
    }
    Fill(Headings, Cells);
    const auto Expected = [&](bool Xml, const std::vector<std::string>& Names) {
        Rows Result = {Names};
        for (const auto& Row : Cells) {
            Result.emplace_back();
            for (const std::string& Text : Row)
                Result.back().push_back(BackFrom(Text, Xml));
        }
        return Result;
    };

    Grid->ExportCSV((Dir / "hostile.csv").string());
    EXPECT_EQ(PythonRead("csv", Dir / "hostile.csv"), Expected(false, Headings));

    // Names keep Latin-1 letters; any other character a name cannot hold
    // becomes "_".
    const std::vector<std::string> Names = {"Temp__C", "L_B",
                                            "Gr\xC3\xB6\xC3\x9F"
                                            "e",
                                            "_nd", "Temp__C_5"};
    for (const char* Encoding : {"", "UTF-8", "ISO-8859-1", "US-ASCII"}) {
        SCOPED_TRACE(Encoding);
        Grid->XMLExport()->SetEncoding(Encoding);
        const fs::path File = Dir / "hostile.xml";
        Grid->ExportXML(File.string());
        std::vector<std::string> Want = Names;
        if (std::string(Encoding) == "US-ASCII") Want[2] = "Gr__e";
        EXPECT_EQ(PythonRead("xml", File), Expected(true, Want));
        // The declared encoding is the one written: no UTF-8 sequence in a
        // single-byte file.
        const std::string Bytes = ReadFile(File);
        const bool Multibyte = Bytes.find("\xC3\xB6") != std::string::npos;
        EXPECT_EQ(Multibyte, std::string(Encoding).empty() || std::string(Encoding) == "UTF-8");
    }

    // An encoding the export cannot write is refused by name; no file.
    Grid->XMLExport()->SetEncoding("Shift_JIS");
    try {
        Grid->ExportXML((Dir / "sjis.xml").string());
        ADD_FAILURE() << "an export in Shift_JIS was written";
    } catch (const Exception& E) {
        EXPECT_NE(E.Message.find("Shift_JIS"), std::string::npos) << E.Message;
    }
    EXPECT_FALSE(fs::exists(Dir / "sjis.xml"));
}

TEST_F(GridExportTest, AttributeNamesAreValidAndDistinct) {
    Fill({"Qty", "Qty", "", "-a.b"}, {});
    EXPECT_EQ(Grid->XMLAttributeName(1), "Qty");
    EXPECT_EQ(Grid->XMLAttributeName(2), "Qty_2");
    EXPECT_EQ(Grid->XMLAttributeName(3), "_");
    EXPECT_EQ(Grid->XMLAttributeName(4), "_a.b");
    Grid->GridCols()->Item(1)->SetFieldName("qty field");
    EXPECT_EQ(Grid->XMLAttributeName(1), "qty_field");
}

TEST_F(GridExportTest, DelimitersAndEmptyGrids) {
    struct Case {
        const char* Delimiter;
        const char* Line;
    };
    const Case Cases[] = {{",", "\"1\",\"2\","},     {"#9", "\"1\"\t\"2\"\t"},
                          {"#10", "\"1\"\n\"2\"\n"}, {"#13", "\"1\"\r\"2\"\r"},
                          {";;", "\"1\";;\"2\";;"},  {"", "\"1\"\"2\""}};
    Fill({"A", "B"}, {{"1", "2"}});
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Delimiter);
        Grid->SetExportDelimiter(C.Delimiter);
        EXPECT_EQ(Grid->GetCSVRowData(1), C.Line);
    }

    Grid->SetExportDelimiter(",");
    Grid->SetGridRowCount(0);
    Grid->ExportCSV((Dir / "none.csv").string());
    EXPECT_EQ(ReadFile(Dir / "none.csv"), "\"A\",\"B\",\r\n");
    EXPECT_NE(Grid->GetXMLData().find(" <ROWDATA> </ROWDATA></DATAPACKET>"), std::string::npos);

    // All columns pictures: no fields at all.
    Grid->GridCols()->Item(1)->SetControlType(ctPicture);
    Grid->GridCols()->Item(2)->SetControlType(ctPicture);
    Grid->SetGridRowCount(1);
    EXPECT_EQ(Grid->GetCSVRowData(1), "");
    EXPECT_EQ(Grid->GetXMLRowData(1), "<ROW />");
    EXPECT_EQ(Grid->GetXMLMetaData(),
              "<METADATA><FIELDS></FIELDS><PARAMS LCID=\"1033\"/></METADATA>");
}

TEST_F(GridExportTest, DeclarationFollowsTheOptions) {
    Fill({"A"}, {});
    const std::string Default = Grid->GetXMLData();
    EXPECT_EQ(Default.substr(0, Default.find("<METADATA>")),
              "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?> "
              "<DATAPACKET Version=\"2.0\">");
    Grid->XMLExport()->SetEncoding("ISO-8859-1");
    Grid->XMLExport()->SetStandAlone(false);
    Grid->XMLExport()->SetDataPacketVersion("");
    const std::string Changed = Grid->GetXMLData();
    EXPECT_EQ(Changed.substr(0, Changed.find("<METADATA>")),
              "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" standalone=\"no\"?> "
              "<DATAPACKET>");
}

// Every spelling of an encoding the export takes, with and without a
// packet version, gives a file Python's parser reads back whole; the
// declaration names the encoding as readers know it.
TEST_F(GridExportTest, EveryPacketParsesWhateverItsVersionAndEncodingSpelling) {
    const Rows Cells = {{"Gr\xC3\xB6\xC3\x9F"
                         "e",
                         "\xE2\x82\xAC 5"},
                        {"plain", ""}};
    Fill({"Name", "Price"}, Cells);
    struct Case {
        const char* Encoding;
        const char* Declared;
    };
    const Case Cases[] = {{"", "UTF-8"},           {"utf8", "UTF-8"},
                          {"Utf-8", "UTF-8"},      {"latin1", "ISO-8859-1"},
                          {"iso8859-1", "ISO-8859-1"}, {"ascii", "US-ASCII"}};
    Rows Expected = {{"Name", "Price"}};
    Expected.insert(Expected.end(), Cells.begin(), Cells.end());
    for (const char* Version : {"2.0", ""})
        for (const Case& C : Cases) {
            SCOPED_TRACE(std::string("version '") + Version + "', encoding '" + C.Encoding + "'");
            Grid->XMLExport()->SetDataPacketVersion(Version);
            Grid->XMLExport()->SetEncoding(C.Encoding);
            const fs::path File = Dir / "packet.xml";
            Grid->ExportXML(File.string());
            EXPECT_EQ(PythonRead("xml", File), Expected);
            const std::string Head = ReadFile(File).substr(0, 60);
            EXPECT_NE(Head.find(std::string("encoding=\"") + C.Declared + "\""), std::string::npos)
                << Head;
        }
}

TEST_F(GridExportTest, TheChosenNamePicksTheFormat) {
    Fill({"A"}, {{"1"}});
    struct Case {
        std::string Name; // empty: the dialog is cancelled
        const char* Written;
        const char* Start;
    };
    const Case Cases[] = {{"out.XML", "out.XML", "<?xml"},
                          {"out.csv", "out.csv", "\"A\""},
                          {"out.txt", "out.txt", "\"A\""},
                          {"a.c", nullptr, nullptr},
                          {"", nullptr, nullptr}};
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        TFileDialogRequest Seen;
        ScopedFileDialogAnswerer Answer([&](TFileDialogRequest& Request) {
            Seen = Request;
            if (C.Name.empty()) return false;
            // A name of three characters or fewer is taken as it stands.
            Request.FileName = C.Name.size() <= 3 ? C.Name : (Dir / C.Name).string();
            return true;
        });
        const auto Before = std::distance(fs::directory_iterator(Dir), fs::directory_iterator());
        Grid->ExportGrid();
        EXPECT_EQ(Seen.Title, "Grid Export");
        EXPECT_EQ(Seen.Filter, "CSV File (*.csv)|*.csv|XML File (*.xml)|*.xml");
        if (!C.Written) {
            EXPECT_EQ(std::distance(fs::directory_iterator(Dir), fs::directory_iterator()), Before);
            continue;
        }
        EXPECT_EQ(ReadFile(Dir / C.Written).rfind(C.Start, 0), 0u);
        fs::remove(Dir / C.Written);
    }
}

// A grid whose second row cannot be read.
class FailingGrid : public TgxGrid {
public:
    using TgxGrid::TgxGrid;
    Variant GetCellValue(int DataCol, int DataRow) override {
        if (DataRow == 2) throw Exception("row 2 cannot be read");
        return TgxGrid::GetCellValue(DataCol, DataRow);
    }
};

TEST_F(GridExportTest, AFailedExportLeavesTheOlderFile) {
    FailingGrid Failing(nullptr);
    Failing.SetStoreData(true);
    Failing.SetGridRowCount(3);
    for (const char* Name : {"old.csv", "old.xml"}) {
        SCOPED_TRACE(Name);
        std::ofstream(Dir / Name, std::ios::binary) << "older";
        const std::string Path = (Dir / Name).string();
        EXPECT_THROW(Path.ends_with("csv") ? Failing.ExportCSV(Path) : Failing.ExportXML(Path),
                     Exception);
        EXPECT_EQ(ReadFile(Dir / Name), "older");
        EXPECT_TRUE(Failing.PaintEnabled());
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(Dir), fs::directory_iterator()), 2);
}

// A report component that counts what the grid hands it.
class CountingReport : public TgoCustomGridReport {
public:
    using TgoCustomGridReport::TgoCustomGridReport;
    void Print(TgxCustomGrid* Grid) override { Printed.push_back(Grid); }
    void PrintPreview(TgxCustomGrid* Grid) override { Previewed.push_back(Grid); }
    std::vector<TgxCustomGrid*> Printed, Previewed;
};

std::vector<std::string> Captions(TMenu& Menu) {
    std::vector<std::string> Result;
    for (int I = 0; I < Menu.Items()->Count(); ++I)
        Result.push_back(Menu.Items()->Items(I)->Caption());
    return Result;
}

TMenuItem* ItemCaptioned(TMenu& Menu, const std::string& Caption) {
    for (int I = 0; I < Menu.Items()->Count(); ++I)
        if (Menu.Items()->Items(I)->Caption() == Caption) return Menu.Items()->Items(I);
    return nullptr;
}

TEST_F(GridExportTest, TheMenuCommandsReachTheReportAndTheExport) {
    Fill({"A"}, {{"1"}});
    try {
        Grid->Print();
        ADD_FAILURE() << "printing without a report";
    } catch (const Exception& E) {
        EXPECT_EQ(E.Message, "Cellmoor requires a GridReport component to be associated to this "
                             "grid to support printing !");
    }

    TPopupMenu Popup(nullptr);
    Grid->SetPopupMenu(&Popup);
    Grid->AddGridMenuItems(&Popup);
    Grid->AddGridMenuItems(&Popup); // once only
    EXPECT_EQ(Captions(Popup), (std::vector<std::string>{"-", "Preview Grid...", "Print Grid...",
                                                         "Export Grid..."}));

    // A report with its own captions and none for preview: the items follow.
    CountingReport Report(nullptr);
    Report.SetMenuOptionsText("|Drucken...|Exportieren...");
    Grid->SetGridReport(&Report);
    EXPECT_TRUE(Captions(Popup).empty());
    Grid->AddGridMenuItems(&Popup);
    EXPECT_EQ(Captions(Popup), (std::vector<std::string>{"-", "Drucken...", "Exportieren..."}));

    ItemCaptioned(Popup, "Drucken...")->Click();
    EXPECT_EQ(Report.Printed, (std::vector<TgxCustomGrid*>{Grid.get()}));
    Grid->PrintPreview();
    EXPECT_EQ(Report.Previewed, (std::vector<TgxCustomGrid*>{Grid.get()}));
    {
        ScopedFileDialogAnswerer Answer([&](TFileDialogRequest& Request) {
            Request.FileName = (Dir / "menu.csv").string();
            return true;
        });
        ItemCaptioned(Popup, "Exportieren...")->Click();
    }
    EXPECT_EQ(ReadFile(Dir / "menu.csv"), "\"A\",\r\n\"1\",\r\n");
    Grid->SetPopupMenu(nullptr);

    // The grid's own menu has no separator; a report that goes is forgotten.
    Grid->ConfigureGridMenu();
    EXPECT_EQ(Captions(*Grid->GridMenu()),
              (std::vector<std::string>{"Drucken...", "Exportieren..."}));
    {
        CountingReport Passing(nullptr);
        Grid->SetGridReport(&Passing);
    }
    EXPECT_EQ(Grid->GridReport(), nullptr);
}

TEST_F(GridExportTest, TheContextMenuShowsTheThreeCommands) {
    Fill({"A"}, {{"1"}});
    Grid->SetBounds(0, 0, 200, 100);
    CountingReport Report(nullptr);
    Grid->SetGridReport(&Report);
    const auto RequestMenu = [this] {
        const TPoint At = Grid->ClientToScreen(TPoint{10, 20});
        return Grid->Perform(WM_CONTEXTMENU, 0, PointToLParam(At.X, At.Y));
    };
    // Without the grid's or the report's say-so the request goes on.
    EXPECT_EQ(RequestMenu(), 0);
    EXPECT_EQ(Grid->GridMenu(), nullptr);

    Report.SetProvideGridMenu(true);
    EXPECT_EQ(RequestMenu(), 1);
    ASSERT_NE(Grid->GridMenu(), nullptr);
    TMenu& Menu = *Grid->GridMenu();
    EXPECT_EQ(Captions(Menu),
              (std::vector<std::string>{"Preview...", "Print...", "Export..."}));
    ItemCaptioned(Menu, "Preview...")->Click();
    ItemCaptioned(Menu, "Print...")->Click();
    EXPECT_EQ(Report.Previewed, (std::vector<TgxCustomGrid*>{Grid.get()}));
    EXPECT_EQ(Report.Printed, (std::vector<TgxCustomGrid*>{Grid.get()}));
    {
        ScopedFileDialogAnswerer Answer([&](TFileDialogRequest& Request) {
            Request.FileName = (Dir / "shown.xml").string();
            return true;
        });
        ItemCaptioned(Menu, "Export...")->Click();
    }
    EXPECT_EQ(ReadFile(Dir / "shown.xml").rfind("<?xml", 0), 0u);

    // With a PopupMenu of the application's, the items join it once.
    TPopupMenu Popup(nullptr);
    auto* Own = new TMenuItem(&Popup);
    Own->SetCaption("Copy");
    Popup.Items()->Add(Own);
    Grid->SetPopupMenu(&Popup);
    Grid->SetProvideGridMenu(true);
    Report.SetProvideGridMenu(false);
    Grid->ShowGridMenu(5, 5);
    Grid->ShowGridMenu(5, 5);
    EXPECT_EQ(Captions(Popup), (std::vector<std::string>{"Copy", "-", "Preview...", "Print...",
                                                         "Export..."}));
    ItemCaptioned(Popup, "Print...")->Click();
    EXPECT_EQ(Report.Printed.size(), 2u);
    Grid->SetPopupMenu(nullptr);
}

TEST_F(GridExportTest, LinkingAReportRefillsTheGridsOwnMenu) {
    Fill({"A"}, {{"1"}});
    Grid->SetProvideGridMenu(true);
    Grid->ShowGridMenu(5, 5);
    ASSERT_NE(Grid->GridMenu(), nullptr);
    EXPECT_EQ(Captions(*Grid->GridMenu()),
              (std::vector<std::string>{"Preview Grid...", "Print Grid...", "Export Grid..."}));
    CountingReport Report(nullptr);
    Report.SetMenuOptionsText("Vorschau...|Drucken...|Exportieren...");
    Grid->SetGridReport(&Report);
    for (int Showing = 0; Showing < 2; ++Showing) {
        Grid->ShowGridMenu(5, 5);
        EXPECT_EQ(Captions(*Grid->GridMenu()),
                  (std::vector<std::string>{"Vorschau...", "Drucken...", "Exportieren..."}));
    }
}

TEST_F(GridExportTest, PrintingCodeGetsTheGridOnABitmap) {
    TForm Form(nullptr);
    Form.SetBounds(10, 10, 300, 200);
    auto* Shown = new TgxGrid(&Form);
    Shown->SetParent(&Form);
    Shown->SetBounds(0, 0, 200, 100);
    Form.Show();
    Shown->SetCellColor(2, 1, clLime);
    const TRect Cell = Shown->CellRect(2, 1);
    ASSERT_GT(Cell.Right, Cell.Left + 4);
    TBitmap Page;
    Page.SetSize(200, 100);
    Page.Canvas()->Brush()->SetColor(clWhite);
    Page.Canvas()->FillRect(Rect(0, 0, 200, 100));
    Shown->PaintToMetaFileCanvas(Page.Canvas());
    EXPECT_EQ(Page.Canvas()->Pixels(Cell.Left + 2, Cell.Bottom - 2), clLime);
    // The grid draws into its own image again, not onto the page.
    Shown->SetCellColor(2, 1, clBlue);
    Shown->Repaint();
    EXPECT_EQ(Shown->Canvas()->Pixels(Cell.Left + 2, Cell.Bottom - 2), clBlue);
    EXPECT_EQ(Page.Canvas()->Pixels(Cell.Left + 2, Cell.Bottom - 2), clLime);
}

TEST(GridReport, MenuOptionsTextSplitsAtTheFirstTwoBars) {
    struct Case {
        const char* Text;
        const char* Preview;
        const char* Print;
        const char* Export;
    };
    // Each text is assigned after "p|q|r": a part not given keeps its caption.
    const Case Cases[] = {{"A|B|C", "A", "B", "C"}, {"A|B", "A", "B", "r"},
                          {"A", "A", "q", "r"},     {"A|B|C|D", "A", "B", "C|D"},
                          {"", "", "", ""},         {"|B|", "", "B", ""}};
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Text);
        TgoCustomGridReport Report(nullptr);
        Report.SetMenuOptionsText("p|q|r");
        Report.SetMenuOptionsText(C.Text);
        EXPECT_EQ(Report.PreviewCaption(), C.Preview);
        EXPECT_EQ(Report.PrintCaption(), C.Print);
        EXPECT_EQ(Report.ExportCaption(), C.Export);
    }
    // A new report's captions are those of its default text.
    TgoCustomGridReport Report(nullptr);
    EXPECT_EQ(Report.Margins()->BottomMargin(), 15);
    EXPECT_EQ(Report.MenuOptionsText(), "Preview...|Print...|Export...");
    EXPECT_EQ(Report.PreviewCaption(), "Preview...");
    EXPECT_EQ(Report.ExportCaption(), "Export...");
}

// A report a form file can hold.
class FormReport : public TgoCustomGridReport {
public:
    using TgoCustomGridReport::TgoCustomGridReport;
    AnsiString ClassName() const override { return "FormReport"; }
};
const TPublished<FormReport, TgoCustomGridReport> FormReportClass(
    "FormReport", [](auto&) {}, true);

TEST(GridReport, ThePrintSwitchesModeAndColourTravelWithTheForm) {
    EnsureQtApplication();
    TForm Form(nullptr);
    Form.SetName("ReportForm");
    auto* Report = new FormReport(&Form);
    Report->SetName("Report1");
    EXPECT_TRUE(Report->PrintDateTime() && Report->PrintPageNumbers() &&
                Report->PrintEndOfReport() && Report->PrintRecordCount() &&
                Report->PrintTitleImage() && Report->PrintHeadings());
    EXPECT_EQ(Report->PrintMode(), 2);
    EXPECT_FALSE(Report->Monochrome());
    EXPECT_EQ(Report->FrameColor(), clNone);
    Report->SetPrintPageNumbers(false);
    Report->SetPrintHeadings(false);
    Report->SetPrintMode(1);
    Report->SetMonochrome(true);
    Report->SetFrameColor(0x0000FF);

    TForm Copy(nullptr);
    CopyThroughFormFile(Form, Copy);
    auto* Read = dynamic_cast<FormReport*>(Copy.FindComponent("Report1"));
    ASSERT_NE(Read, nullptr);
    EXPECT_TRUE(Read->PrintDateTime());
    EXPECT_FALSE(Read->PrintPageNumbers());
    EXPECT_FALSE(Read->PrintHeadings());
    EXPECT_EQ(Read->PrintMode(), 1);
    EXPECT_TRUE(Read->Monochrome());
    EXPECT_EQ(Read->FrameColor(), 0x0000FF);
}

} // namespace
