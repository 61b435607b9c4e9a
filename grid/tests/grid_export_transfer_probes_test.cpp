// The grid's CSV and XML export and the copying and resetting of grid
// state, reached through the public calls only.
#include "grid/model/Columns.h"
#include "grid/model/GxGrid.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtApp.h"
#include "platform/rtl/Streams.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

using namespace grid;

namespace {

std::string Str(const AnsiString& S) { return std::string(S.c_str()); }

std::string ReadNamedFile(const std::string& Name) {
    std::ifstream In(Name, std::ios::binary);
    std::stringstream SS;
    SS << In.rdbuf();
    return SS.str();
}

std::string RunPython(const std::string& Script) {
    const std::string Py = "/tmp/reader_probe_" + std::to_string(getpid()) + ".py";
    {
        std::ofstream O(Py);
        O << Script;
    }
    std::string Out;
    if (FILE* P = popen(("/usr/bin/python3 " + Py + " 2>&1").c_str(), "r")) {
        char Buf[512];
        while (size_t N = fread(Buf, 1, sizeof Buf, P)) Out.append(Buf, N);
        pclose(P);
    }
    std::remove(Py.c_str());
    return Out;
}

// Records every move the grid reports, whether or not an event is set.
class TMoveLogGrid : public TgxGrid {
public:
    using TgxGrid::TgxGrid;
    std::vector<int> Cols, Rows;
    void DoColMoved(int ToDisplayCol, int Count, bool ByUser) override {
        Cols.push_back(ToDisplayCol);
        EXPECT_EQ(Count, 1);
        EXPECT_FALSE(ByUser);
        TgxGrid::DoColMoved(ToDisplayCol, Count, ByUser);
    }
    void DoRowMoved(int ToDisplayRow, int Count, bool ByUser) override {
        Rows.push_back(ToDisplayRow);
        TgxGrid::DoRowMoved(ToDisplayRow, Count, ByUser);
    }
};

class ExportAndTransfer : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        Form = new TForm(nullptr);
        Form->SetBounds(10, 10, 600, 400);
        Form2 = new TForm(nullptr);
        Tmp = "/tmp/reader_export_" + std::to_string(getpid()) + "_" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name();
    }
    void TearDown() override {
        delete Form;
        delete Form2;
        std::remove((Tmp + ".csv").c_str());
        std::remove((Tmp + ".xml").c_str());
    }
    template <class T = TgxGrid> T* Make(int Cols, int Rows, TForm* On = nullptr) {
        if (!On) On = Form;
        auto* G = new T(On);
        G->SetParent(On);
        G->SetBounds(0, 0, 400, 300);
        G->SetStoreData(true);
        G->SetGridColCount(Cols);
        G->SetGridRowCount(Rows);
        return G;
    }
    // Headings A and B, one row 1, 2.
    TgxGrid* SmallAB() {
        TgxGrid* G = Make(2, 1);
        G->GridCols()->Item(1)->SetHeading("A");
        G->GridCols()->Item(2)->SetHeading("B");
        G->SetCellValue(1, 1, Variant(AnsiString("1")));
        G->SetCellValue(2, 1, Variant(AnsiString("2")));
        return G;
    }
    std::string Csv(TgxGrid* G) {
        G->ExportCSV((Tmp + ".csv").c_str());
        return ReadNamedFile(Tmp + ".csv");
    }
    std::string Xml(TgxGrid* G) {
        G->ExportXML((Tmp + ".xml").c_str());
        return ReadNamedFile(Tmp + ".xml");
    }
    static std::string Saved(TgxGrid* G) {
        TMemoryStream S;
        G->SaveToStream(&S, true);
        return std::string(static_cast<const char*>(S.Memory()), static_cast<std::size_t>(S.GetSize()));
    }
    TForm* Form = nullptr;
    TForm* Form2 = nullptr;
    std::string Tmp;
};

} // namespace

// ---------------------------------------------------------------- CSV

TEST_F(ExportAndTransfer, CsvDefaultDelimiterEveryFieldEndsWithCommaAndCrLf) {
    TgxGrid* G = SmallAB();
    EXPECT_EQ(Csv(G), "\"A\",\"B\",\r\n\"1\",\"2\",\r\n");
    const std::string Out = RunPython("import csv\nwith open('" + Tmp +
                                      ".csv', newline='') as f:\n  print(list(csv.reader(f)))\n");
    EXPECT_EQ(Out, "[['A', 'B', ''], ['1', '2', '']]\n");
}

TEST_F(ExportAndTransfer, CsvTabAndMultiCharDelimiters) {
    TgxGrid* G = SmallAB();
    G->SetExportDelimiter("#9");
    EXPECT_EQ(Csv(G), "\"A\"\t\"B\"\t\r\n\"1\"\t\"2\"\t\r\n");
    G->SetExportDelimiter(";;");
    EXPECT_EQ(Csv(G), "\"A\";;\"B\";;\r\n\"1\";;\"2\";;\r\n");
    G->SetExportDelimiter("#10");
    EXPECT_EQ(Str(G->GetCSVRowData(1)), "\"1\"\n\"2\"\n");
    G->SetExportDelimiter("");
    EXPECT_EQ(Str(G->GetCSVRowData(1)), "\"1\"\"2\"");
}

TEST_F(ExportAndTransfer, CsvQuoteDoubledHiddenAndPictureColumnsLeftOut) {
    TgxGrid* G = Make(4, 1);
    for (int C = 1; C <= 4; ++C) G->GridCols()->Item(C)->SetHeading(AnsiString(std::string(1, char('A' + C - 1)).c_str()));
    G->SetCellValue(1, 1, Variant(AnsiString("say \"hi\"")));
    G->SetCellValue(2, 1, Variant(AnsiString("h")));
    G->SetCellValue(4, 1, Variant(AnsiString("d")));
    G->GridCols()->Item(2)->SetVisible(false);
    G->GridCols()->Item(3)->SetControlType(TgxControlType::ctPicture);
    EXPECT_EQ(Csv(G), "\"A\",\"D\",\r\n\"say \"\"hi\"\"\",\"d\",\r\n");
}

TEST_F(ExportAndTransfer, CsvNoRowsWritesHeadingOnlyAndReplacesFile) {
    TgxGrid* G = SmallAB();
    Csv(G);
    G->SetGridRowCount(0);
    EXPECT_EQ(Csv(G), "\"A\",\"B\",\r\n");
}

TEST_F(ExportAndTransfer, CsvInDisplayOrder) {
    TgxGrid* G = SmallAB();
    G->ChangeDisplayCol(1, 2);
    ASSERT_EQ(G->GetDataCol(1), 2);
    EXPECT_EQ(Csv(G), "\"B\",\"A\",\r\n\"2\",\"1\",\r\n");
}

TEST_F(ExportAndTransfer, CsvFileErrorReachesCaller) {
    TgxGrid* G = SmallAB();
    EXPECT_ANY_THROW(G->ExportCSV("/nonexistent_dir_reader/x.csv"));
}

TEST_F(ExportAndTransfer, CsvAllColumnsHiddenGivesEmptyLines) {
    TgxGrid* G = SmallAB();
    G->GridCols()->Item(1)->SetVisible(false);
    G->GridCols()->Item(2)->SetVisible(false);
    EXPECT_EQ(Csv(G), "\r\n\r\n");
}

TEST_F(ExportAndTransfer, XmlRowAttributesNamedFromHeadingsWithBlanksAsUnderscore) {
    TgxGrid* G = Make(2, 1);
    G->GridCols()->Item(1)->SetHeading("Name");
    G->GridCols()->Item(2)->SetHeading("Unit price");
    G->SetCellValue(1, 1, Variant(AnsiString("Bolt")));
    G->SetCellValue(2, 1, Variant(AnsiString("3")));
    EXPECT_EQ(Str(G->GetXMLRowData(1)), "<ROW Name=\"Bolt\" Unit_price=\"3\" />");
}

TEST_F(ExportAndTransfer, XmlMetadataExactText) {
    TgxGrid* G = Make(2, 0);
    G->GridCols()->Item(1)->SetHeading("Name");
    G->GridCols()->Item(2)->SetHeading("Unit price");
    EXPECT_EQ(Str(G->GetXMLMetaData()),
              "<METADATA><FIELDS><FIELD attrname=\"Name\" fieldtype=\"string\" />"
              "<FIELD attrname=\"Unit_price\" fieldtype=\"string\" /></FIELDS>"
              "<PARAMS LCID=\"1033\"/></METADATA>");
}

TEST_F(ExportAndTransfer, XmlHeadingUsesFieldNameFirst) {
    TgxGrid* G = Make(1, 1);
    G->GridCols()->Item(1)->SetHeading("Shown");
    G->GridCols()->Item(1)->SetFieldName("FIELD A");
    G->SetCellValue(1, 1, Variant(AnsiString("x")));
    EXPECT_EQ(Str(G->GetXMLRowData(1)), "<ROW FIELD_A=\"x\" />");
}

TEST_F(ExportAndTransfer, XmlQuoteAsEntity) {
    TgxGrid* G = Make(1, 1);
    G->GridCols()->Item(1)->SetHeading("V");
    G->SetCellValue(1, 1, Variant(AnsiString("a\"b&c")));
    EXPECT_EQ(Str(G->GetXMLRowData(1)), "<ROW V=\"a&quot;b&amp;c\" />");
}

TEST_F(ExportAndTransfer, XmlHiddenColumnWrittenPictureColumnNot) {
    TgxGrid* G = Make(3, 1);
    G->GridCols()->Item(1)->SetHeading("A");
    G->GridCols()->Item(2)->SetHeading("B");
    G->GridCols()->Item(3)->SetHeading("C");
    G->SetCellValue(1, 1, Variant(AnsiString("1")));
    G->SetCellValue(2, 1, Variant(AnsiString("2")));
    G->GridCols()->Item(2)->SetVisible(false);
    G->GridCols()->Item(3)->SetControlType(TgxControlType::ctPicture);
    EXPECT_EQ(Str(G->GetXMLRowData(1)), "<ROW A=\"1\" B=\"2\" />");
    EXPECT_EQ(Str(G->GetXMLMetaData()),
              "<METADATA><FIELDS><FIELD attrname=\"A\" fieldtype=\"string\" />"
              "<FIELD attrname=\"B\" fieldtype=\"string\" /></FIELDS>"
              "<PARAMS LCID=\"1033\"/></METADATA>");
}

TEST_F(ExportAndTransfer, XmlRowsInDataOrder) {
    TgxGrid* G = SmallAB();
    G->ChangeDisplayCol(1, 2);
    EXPECT_EQ(Str(G->GetXMLRowData(1)), "<ROW A=\"1\" B=\"2\" />");
}

TEST_F(ExportAndTransfer, XmlAllPictureColumnsGivesBareRows) {
    TgxGrid* G = SmallAB();
    G->GridCols()->Item(1)->SetControlType(TgxControlType::ctPicture);
    G->GridCols()->Item(2)->SetControlType(TgxControlType::ctPicture);
    EXPECT_EQ(Str(G->GetXMLRowData(1)), "<ROW />");
    EXPECT_EQ(Str(G->GetXMLMetaData()),
              "<METADATA><FIELDS></FIELDS><PARAMS LCID=\"1033\"/></METADATA>");
}

TEST_F(ExportAndTransfer, XmlHeadWithEncodingBetweenVersionAndStandalone) {
    TgxGrid* G = Make(1, 0);
    G->GridCols()->Item(1)->SetHeading("A");
    G->XMLExport()->SetEncoding("ISO-8859-1");
    G->XMLExport()->SetStandAlone(false);
    const std::string D = Str(G->GetXMLData());
    const std::string Head =
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" standalone=\"no\"?> <DATAPACKET Version=\"2.0\">";
    EXPECT_EQ(D.substr(0, Head.size()), Head);
    EXPECT_NE(D.find("</METADATA> <ROWDATA> </ROWDATA></DATAPACKET>"), std::string::npos) << D;
}

TEST_F(ExportAndTransfer, XmlRowsEndWithLfCrAndFileHasRowPerLineWithBlankLine) {
    TgxGrid* G = SmallAB();
    G->SetGridRowCount(2);
    G->SetCellValue(1, 2, Variant(AnsiString("3")));
    G->SetCellValue(2, 2, Variant(AnsiString("4")));
    G->XMLExport()->SetEncoding("UTF-8");
    const std::string D = Str(G->GetXMLData());
    EXPECT_NE(D.find(" <ROWDATA> <ROW A=\"1\" B=\"2\" />\n\r<ROW A=\"3\" B=\"4\" />\n\r</ROWDATA></DATAPACKET>"),
              std::string::npos)
        << D;
    const std::string F = Xml(G);
    const std::string Tail = "<ROW A=\"1\" B=\"2\" />\r\n\r\n<ROW A=\"3\" B=\"4\" />\r\n\r\n</ROWDATA></DATAPACKET>\r\n";
    ASSERT_GE(F.size(), Tail.size());
    EXPECT_EQ(F.substr(F.size() - Tail.size()), Tail);
    EXPECT_EQ(F.find("\r\n"), F.find("<ROW A=\"1\"") + 19) << F;
    const std::string Out = RunPython(
        "import xml.etree.ElementTree as E\nr=E.parse('" + Tmp +
        ".xml').getroot()\nprint(r.tag,[f.get('attrname') for f in r.iter('FIELD')],[dict(x.attrib) for x in r.iter('ROW')])\n");
    EXPECT_EQ(Out, "DATAPACKET ['A', 'B'] [{'A': '1', 'B': '2'}, {'A': '3', 'B': '4'}]\n");
}

TEST_F(ExportAndTransfer, XmlExportRaisesCellLoadedEvent) {
    TgxGrid* G = SmallAB();
    int Loaded = 0;
    G->OnCellLoaded = [&](TObject*, int, int, Variant&) { ++Loaded; };
    G->GetXMLRowData(1);
    EXPECT_GT(Loaded, 0);
}

TEST_F(ExportAndTransfer, XmlExportAssignCopiesFourValues) {
    TgoXMLExport A, B;
    A.SetEncoding("X");
    A.SetVersion("1.1");
    A.SetDataPacketVersion("");
    A.SetStandAlone(false);
    B.Assign(&A);
    EXPECT_EQ(Str(B.Encoding()), "X");
    EXPECT_EQ(Str(B.Version()), "1.1");
    EXPECT_EQ(Str(B.DataPacketVersion()), "");
    EXPECT_FALSE(B.StandAlone());
}

// ---------------------------------------------------------------- state transfer

namespace {
// A grid that differs from a new one in every group.
void MakeDifferent(TgxGrid* G) {
    G->SetColor(clYellow);                                // grid
    G->SetDefaultColWidth(77);
    G->SetDefaultRowHeight(23);
    G->GridCols()->Item(2)->SetHeading("Second");         // cols
    G->GridCols()->Item(3)->SetVisible(false);
    G->SetRowColor(2, clRed);                             // rows
    G->SetRowHeight(3, 40);
    G->SetCellColor(1, 1, clBlue);                        // cells
    G->SetCellValue(2, 2, Variant(AnsiString("v22")));    // data
}
} // namespace

TEST_F(ExportAndTransfer, AssignPropKindsAllGivesSameSavedState) {
    TgxGrid* S = Make(4, 5);
    MakeDifferent(S);
    TgxGrid* T = Make(2, 2, Form2);
    T->AssignPropKinds(S, AllPropKinds, true);
    EXPECT_EQ(T->GetGridColCount(), 4);
    EXPECT_EQ(T->GetGridRowCount(), 5);
    EXPECT_EQ(T->Color(), clYellow);
    EXPECT_EQ(T->DefaultColWidth(), 77);
    EXPECT_EQ(Str(T->GridCols()->Item(2)->Heading()), "Second");
    EXPECT_FALSE(T->GridCols()->Item(3)->Visible());
    EXPECT_EQ(Str(T->GetCellValue(2, 2).AsString()), "v22");
    EXPECT_EQ(Saved(T), Saved(S));
}

TEST_F(ExportAndTransfer, ResetPropKindsAllGivesNewGridState) {
    TgxGrid* S = Make(4, 5);
    TgxGrid* Fresh = Make(4, 5);
    const std::string Before = Saved(Fresh);
    MakeDifferent(S);
    S->SetCellValue(2, 2, Variant());
    ASSERT_NE(Saved(S), Before);
    S->ResetPropKinds(AllPropKinds);
    EXPECT_EQ(S->Color(), Fresh->Color());
    EXPECT_EQ(S->DefaultColWidth(), Fresh->DefaultColWidth());
    EXPECT_TRUE(S->GridCols()->Item(3)->Visible());
    EXPECT_EQ(Str(S->GridCols()->Item(2)->Heading()), "");
}

TEST_F(ExportAndTransfer, AssignPropKindsRowsOnlyLeavesColumnCount) {
    TgxGrid* S = Make(4, 5);
    S->SetDefaultRowHeight(31);
    S->SetColor(clYellow);
    TgxGrid* T = Make(2, 2);
    const TColor Was = T->Color();
    T->AssignPropKinds(S, TgxPropKinds{pkRows}, false);
    EXPECT_EQ(T->GetGridRowCount(), 5);
    EXPECT_EQ(T->GetGridColCount(), 2);
    EXPECT_EQ(T->DefaultRowHeight(), 31);
    EXPECT_EQ(T->Color(), Was);
}

TEST_F(ExportAndTransfer, AssignPropKindsGridOnlyLeavesCountsAndDefaults) {
    TgxGrid* S = Make(4, 5);
    S->SetColor(clYellow);
    S->SetDefaultColWidth(91);
    TgxGrid* T = Make(2, 2);
    const int W = T->DefaultColWidth();
    T->AssignPropKinds(S, TgxPropKinds{pkGrid}, false);
    EXPECT_EQ(T->Color(), clYellow);
    EXPECT_EQ(T->GetGridColCount(), 2);
    EXPECT_EQ(T->GetGridRowCount(), 2);
    EXPECT_EQ(T->DefaultColWidth(), W);
}

TEST_F(ExportAndTransfer, AssignPropKindsWithoutDataKeepsValues) {
    TgxGrid* S = Make(2, 2);
    S->SetCellValue(1, 1, Variant(AnsiString("src")));
    TgxGrid* T = Make(2, 2);
    T->SetCellValue(1, 1, Variant(AnsiString("own")));
    T->AssignPropKinds(S, AllPropKinds, false);
    EXPECT_EQ(Str(T->GetCellValue(1, 1).AsString()), "own");
}

TEST_F(ExportAndTransfer, AssignPropKindsCellsGrowsCountsAndCopiesCellProps) {
    TgxGrid* S = Make(4, 5);
    S->SetCellColor(4, 5, clBlue);
    TgxGrid* T = Make(2, 2);
    T->AssignPropKinds(S, TgxPropKinds{pkCells}, false);
    EXPECT_EQ(T->GetGridColCount(), 4);
    EXPECT_EQ(T->GetGridRowCount(), 5);
    EXPECT_EQ(T->GetCellProperty(4, 5, TgxProperty::prColor).AsInteger(), static_cast<int>(clBlue));
}

TEST_F(ExportAndTransfer, CopyDataDropsExtraStoredRowsAndColumnsAndNothingFromItself) {
    TgxGrid* S = Make(4, 4);
    S->SetCellValue(1, 1, Variant(AnsiString("a")));
    S->SetCellValue(4, 4, Variant(AnsiString("far")));
    S->SetCellValue(1, 4, Variant(AnsiString("row4")));
    S->SetCellValue(4, 1, Variant(AnsiString("col4")));
    TgxGrid* T = Make(2, 2);
    T->CopyData(S);
    EXPECT_EQ(Str(T->GetCellValue(1, 1).AsString()), "a");
    T->SetGridColCount(4);
    T->SetGridRowCount(4);
    EXPECT_TRUE(T->GetCellValue(4, 4).IsEmpty());
    EXPECT_TRUE(T->GetCellValue(1, 4).IsEmpty());
    EXPECT_TRUE(T->GetCellValue(4, 1).IsEmpty());
    S->CopyData(S);
    EXPECT_EQ(Str(S->GetCellValue(4, 4).AsString()), "far");
}

TEST_F(ExportAndTransfer, ResetColPropertiesEmptySetChangesNothing) {
    TgxGrid* G = Make(3, 2);
    G->GridCols()->Item(2)->SetVisible(false);
    const std::string Before = Saved(G);
    G->ResetColProperties(TgxProperties{});
    EXPECT_EQ(Saved(G), Before);
    G->ResetColProperties(TgxProperties{TgxProperty::prVisible});
    EXPECT_TRUE(G->GridCols()->Item(2)->Visible());
}

TEST_F(ExportAndTransfer, ResetRowPropertiesColorAndHeight) {
    TgxGrid* G = Make(3, 3);
    G->SetRowColor(2, clRed);
    G->SetRowChanged(3, true);
    G->ResetRowProperties(TgxProperties{TgxProperty::prColor, TgxProperty::prChanged});
    EXPECT_FALSE(G->GetRowChanged(3));
    TgxGrid* Fresh = Make(3, 3, Form2);
    EXPECT_EQ(Saved(G), Saved(Fresh));
}

TEST_F(ExportAndTransfer, CheckGridStatusFollowsRowSelection) {
    TgxGrid* G = Make(3, 3);
    G->SetRowSelected(2, true);
    G->CheckGridStatus();
    EXPECT_EQ(G->GridStatus(), TgxGridStatus::grRowSelect);
    G->SetRowSelected(2, false);
    G->CheckGridStatus();
    EXPECT_EQ(G->GridStatus(), TgxGridStatus::grNormal);
}

TEST_F(ExportAndTransfer, AssignSelectionsCopiesRowSelectionAndStatus) {
    TgxGrid* S = Make(3, 3);
    S->SetRowSelected(2, true);
    S->CheckGridStatus();
    TgxGrid* T = Make(3, 3);
    T->AssignPropKinds(S, TgxPropKinds{pkRows}, false);
    EXPECT_TRUE(T->GetRowSelected(2));
    EXPECT_EQ(T->GridStatus(), TgxGridStatus::grRowSelect);
}

TEST_F(ExportAndTransfer, SaveLoadRoundTripOfDifferentGrid) {
    TgxGrid* S = Make(4, 5);
    MakeDifferent(S);
    const std::string Bytes = Saved(S);
    TgxGrid* T = Make(2, 2);
    TMemoryStream M;
    M.WriteBuffer(Bytes.data(), static_cast<int>(Bytes.size()));
    M.SetPosition(0);
    T->LoadFromStream(&M, TgxColMatch::cmaNone);
    EXPECT_EQ(Saved(T), Bytes);
}

TEST_F(ExportAndTransfer, AssignFromNonGridRaises) {
    TgxGrid* G = Make(2, 2);
    TgoXMLExport X;
    EXPECT_ANY_THROW(G->Assign(&X));
}

TEST_F(ExportAndTransfer, DesignModeCopiesCellsToSourceDisplayPositions) {
    TgxGrid* S = Make(3, 3);
    S->SetCellColor(1, 1, clBlue);
    S->SetCellValue(1, 1, Variant(AnsiString("v")));
    S->ChangeDisplayCol(1, 3);
    ASSERT_EQ(S->GetDisplayCol(1), 3);
    TgxGrid* T = Make(3, 3);
    T->SetInDesignMode(true);
    ASSERT_TRUE(T->GetInDesignMode());
    T->AssignCellProperties(S);
    T->AssignGridData(S);
    EXPECT_EQ(T->GetCellProperty(3, 1, TgxProperty::prColor).AsInteger(), static_cast<int>(clBlue));
    EXPECT_EQ(Str(T->GetCellValue(3, 1).AsString()), "v");
}

TEST_F(ExportAndTransfer, AssignColsCopiesCountWidthAndSelectionLeavesRows) {
    TgxGrid* S = Make(4, 5);
    S->SetDefaultColWidth(88);
    S->GridCols()->Item(3)->SetSelected(true);
    S->CheckGridStatus();
    TgxGrid* T = Make(2, 2);
    T->AssignPropKinds(S, TgxPropKinds{pkCols}, false);
    EXPECT_EQ(T->GetGridColCount(), 4);
    EXPECT_EQ(T->GetGridRowCount(), 2);
    EXPECT_EQ(T->DefaultColWidth(), 88);
    EXPECT_TRUE(T->GridCols()->Item(3)->GetSelected());
    EXPECT_EQ(T->GridStatus(), TgxGridStatus::grColSelect);
}

TEST_F(ExportAndTransfer, AssignRowsCopiesChangedRows) {
    TgxGrid* S = Make(2, 4);
    S->SetRowChanged(3, true);
    TgxGrid* T = Make(2, 4);
    T->SetRowChanged(1, true);
    T->AssignPropKinds(S, TgxPropKinds{pkRows}, false);
    EXPECT_TRUE(T->GetRowChanged(3));
    EXPECT_FALSE(T->GetRowChanged(1));
}

TEST_F(ExportAndTransfer, ResetColsOnlyLeavesRowsAndCells) {
    TgxGrid* G = Make(3, 3);
    G->GridCols()->Item(2)->SetHeading("H");
    G->SetRowColor(2, clRed);
    G->SetCellColor(1, 1, clBlue);
    auto* New = new TgxGrid(Form2);
    G->ResetPropKinds(TgxPropKinds{pkCols});
    EXPECT_EQ(Str(G->GridCols()->Item(2)->Heading()), "");
    EXPECT_EQ(G->GetGridColCount(), New->GetGridColCount());
    EXPECT_EQ(G->GetGridRowCount(), 3);
    EXPECT_EQ(G->GetCellProperty(1, 1, TgxProperty::prColor).AsInteger(), static_cast<int>(clBlue));
}

TEST_F(ExportAndTransfer, ResetColPropertiesSelectedDeselectsAll) {
    TgxGrid* G = Make(3, 3);
    G->GridCols()->Item(2)->SetSelected(true);
    G->ResetColProperties(TgxProperties{TgxProperty::prSelected});
    EXPECT_FALSE(G->GridCols()->Item(2)->GetSelected());
}

// Taking another grid's order reports each column or row that ends
// elsewhere once, at its new place, and none of the steps that put it there.
TEST_F(ExportAndTransfer, TakingAnotherGridsOrderReportsEachMovedColumnAndRowOnce) {
    TgxGrid* S = Make(5, 5);
    S->ChangeDisplayCol(2, 4);
    S->SetDisplayRownr(2, 4);
    auto* Whole = Make<TMoveLogGrid>(5, 5);
    Whole->Assign(S);
    auto* ColsOnly = Make<TMoveLogGrid>(5, 5);
    ColsOnly->AssignColProperties(S);
    auto* RowsOnly = Make<TMoveLogGrid>(5, 5);
    RowsOnly->AssignRowProperties(S);
    for (TMoveLogGrid* G : {Whole, ColsOnly}) {
        EXPECT_EQ(G->Cols, (std::vector<int>{S->GetDisplayCol(2), S->GetDisplayCol(3),
                                             S->GetDisplayCol(4)}));
        for (int C = 1; C <= 5; ++C) EXPECT_EQ(G->GetDisplayCol(C), S->GetDisplayCol(C)) << C;
    }
    for (TMoveLogGrid* G : {Whole, RowsOnly}) {
        EXPECT_EQ(G->Rows, (std::vector<int>{S->GetDisplayRow(2), S->GetDisplayRow(3),
                                             S->GetDisplayRow(4)}));
        for (int R = 1; R <= 5; ++R) EXPECT_EQ(G->GetDisplayRow(R), S->GetDisplayRow(R)) << R;
    }
}
