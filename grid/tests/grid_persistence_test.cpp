// The grid's saved state: a round trip into a new grid (directly, through a
// form and through assignment) gives the same cells, order, properties,
// selection and current cell; damaged streams are refused by name and leave
// the grid as it was; partial saves carry only the chosen properties.
#include "grid/foundation/CellStore.h"
#include "grid/foundation/DateTimeDefs.h"
#include "grid/model/CellProps.h"
#include "grid/model/Columns.h"
#include "grid/model/Combo.h"
#include "grid/model/GridPersistence.h"
#include "grid/model/GridPropCollections.h"
#include "grid/model/GxGrid.h"
#include "grid/model/Rows.h"
#include "grid/tests/StubDateTimeDef.h"
#include "grid/tests/FormTextFixture.h"
#include "grid/view/GridReport.h"
#include "platform/classes/Filer.h"
#include "platform/classes/ObjectText.h"
#include "platform/classes/Publish.h"
#include "platform/gui/Forms.h"
#include "platform/gui/PublishedProps.h"
#include "platform/gui/QtApp.h"
#include "platform/registry/Registry.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/testing/ScratchConfig.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

using namespace grid;

namespace {

std::string Bytes(TMemoryStream& Stream) {
    return std::string(static_cast<const char*>(Stream.Memory()),
                       static_cast<std::size_t>(Stream.GetSize()));
}

// Writes Form as a form file and reads that into Copy.
// Everything a user could tell two grids apart by.
struct TLook {
    std::string Cells; // the CSV lines: display order, hidden columns left out
    std::string Xml;   // every column in data order
    std::vector<int> Order;
    std::vector<int> SelectedCols, SelectedRows;
    int Col, Row, AnchorCol, AnchorRow;
    TgxGridStatus Status;
    std::vector<std::string> CellProps;
    bool operator==(const TLook&) const = default;
};

void PrintTo(const TLook& L, std::ostream* Out) {
    const auto List = [Out](const char* Name, const auto& Items) {
        *Out << Name << ":";
        for (const auto& I : Items)
            *Out << " " << I;
        *Out << "\n";
    };
    *Out << L.Cells << L.Xml << "\n";
    List("order", L.Order);
    List("cols", L.SelectedCols);
    List("rows", L.SelectedRows);
    *Out << "current " << L.Col << "," << L.Row << " anchor " << L.AnchorCol << "," << L.AnchorRow
         << " status " << static_cast<int>(L.Status) << "\n";
    List("props", L.CellProps);
}

TLook LookOf(TgxGrid& G) {
    TLook L;
    L.Cells = G.GetCSVHeadingData() + "\n";
    for (int R = 1; R <= G.GetGridRowCount(); ++R)
        L.Cells += G.GetCSVRowData(R) + "\n";
    L.Xml = G.GetXMLData();
    for (int D = 1; D <= G.GetGridColCount(); ++D)
        L.Order.push_back(G.GetDataCol(D));
    for (int D = 1; D <= G.GetGridRowCount(); ++D)
        L.Order.push_back(G.GetDataRow(D));
    for (int P = 1; P < G.ColCount(); ++P)
        if (G.ColSelection().GetSelected(P)) L.SelectedCols.push_back(P);
    for (int P = 1; P < G.RowCount(); ++P)
        if (G.RowSelection().GetSelected(P)) L.SelectedRows.push_back(P);
    L.Col = G.Col();
    L.Row = G.Row();
    L.AnchorCol = G.Anchor().X;
    L.AnchorRow = G.Anchor().Y;
    L.Status = G.GridStatus();
    for (TgxCellElement* E : G.CellProps()->Elements())
        L.CellProps.push_back(
            std::to_string(E->DataCol()) + "," + std::to_string(E->DataRow()) + ":" +
            std::to_string(G.GetCellColor(E->DataCol(), E->DataRow())) + "/" +
            std::to_string(static_cast<int>(G.GetCellHorzAlignment(E->DataCol(), E->DataRow()))));
    for (int C = 1; C <= G.GetGridColCount(); ++C) {
        const TgxCol* Col = G.GridCols()->Item(C);
        L.CellProps.push_back("col" + std::to_string(C) + ":" + Col->Heading() + "/" +
                              std::to_string(Col->Width()) + "/" + std::to_string(Col->Color()) +
                              "/" + (Col->Visible() ? "shown" : "hidden"));
    }
    return L;
}

// Values, headings, cell properties, a moved and a hidden column, a moved
// row, a selected row and a cell range ending at the current cell.
void FillGrid(TgxGrid& G) {
    G.SetStoreData(true);
    G.SetGridColCount(5);
    G.SetGridRowCount(6);
    const char* Headings[] = {"Part", "Qty", "Price", "Note", "Bin"};
    for (int C = 1; C <= 5; ++C)
        G.GridCols()->Item(C)->SetHeading(Headings[C - 1]);
    for (int R = 1; R <= 6; ++R)
        for (int C = 1; C <= 5; ++C)
            G.SetCellValue(C, R, Variant("r" + std::to_string(R) + "c" + std::to_string(C)));
    G.SetCellValue(4, 2, Variant("comma, \"quote\"\r\nnext line"));
    G.SetCellColor(2, 3, 0x0000FF);
    G.SetCellHorzAlignment(3, 5, htaRight);
    G.GridCols()->Item(1)->SetColor(0x00FF00);
    G.GridCols()->Item(3)->SetWidth(120);
    G.GridCols()->Item(2)->SetDisplayCol(4);
    G.GridCols()->Item(5)->SetVisible(false);
    G.SetDisplayRownr(6, 2);
    G.SetRowSelected(4, true);
    G.SetSelection(TGridRect{1, 2, 3, 4});
    G.CheckGridStatus();
}

class GridPersistenceTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        PublishGuiClasses();
        Grid = std::make_unique<TgxGrid>(nullptr);
        Grid->SetName("Grid1");
        Fill(*Grid);
    }

    static void Fill(TgxGrid& G) { FillGrid(G); }

    std::string Saved(TgxGrid& G, bool Data = true) {
        TMemoryStream S;
        G.SaveToStream(&S, Data);
        return Bytes(S);
    }

    static void Load(TgxGrid& G, const std::string& Stream, TgxColMatch Match = cmaNone) {
        TMemoryStream S;
        S.WriteBuffer(Stream.data(), static_cast<int>(Stream.size()));
        S.SetPosition(0);
        G.LoadFromStream(&S, Match);
    }

    std::unique_ptr<TgxGrid> Grid;
};

TEST_F(GridPersistenceTest, ANewGridLoadsTheSameStateBack) {
    const TLook Before = LookOf(*Grid);
    ASSERT_EQ(Before.Order, (std::vector<int>{1, 3, 4, 2, 5, 1, 6, 2, 3, 4, 5}));
    ASSERT_EQ(Before.Status, grRowSelect);

    TgxGrid Copy(nullptr);
    Load(Copy, Saved(*Grid));
    EXPECT_EQ(LookOf(Copy), Before);
    // Saving changed nothing, and the copy saves the same stream again.
    EXPECT_EQ(LookOf(*Grid), Before);
    EXPECT_EQ(Saved(Copy), Saved(*Grid));

    // The grid's own load keeps its links to other components, and the
    // options of its XML export travel with it.
    TgoCustomGridReport Report(nullptr);
    Grid->SetGridReport(&Report);
    Grid->XMLExport()->SetEncoding("ISO-8859-1");
    Load(*Grid, Saved(*Grid));
    EXPECT_EQ(Grid->GridReport(), &Report);
    Load(Copy, Saved(*Grid));
    EXPECT_NE(Copy.GetXMLData().find("encoding=\"ISO-8859-1\""), std::string::npos);

    // Without the values the rest still arrives, and the cells are empty.
    TgxGrid Bare(nullptr);
    Load(Bare, Saved(*Grid, false));
    EXPECT_EQ(LookOf(Bare).Order, Before.Order);
    EXPECT_EQ(VarToStr(Bare.GetCellValue(1, 1)), "");
}

TEST_F(GridPersistenceTest, AFormHoldingTheGridReadsItBack) {
    TForm Form(nullptr);
    Form.SetName("Form1");
    auto* Held = new TgxGrid(&Form);
    Held->SetName("Grid1");
    Held->SetParent(&Form);
    Fill(*Held);
    const TLook Before = LookOf(*Held);

    TForm Copy(nullptr);
    CopyThroughFormFile(Form, Copy);
    auto* Read = dynamic_cast<TgxGrid*>(Copy.FindComponent("Grid1"));
    ASSERT_NE(Read, nullptr);
    EXPECT_EQ(LookOf(*Read), Before);
}

TEST_F(GridPersistenceTest, AFormKeepsOnlyWhatDiffersAndReadsOlderSizes) {
    TgxGrid Plain(nullptr);
    Plain.SetName("Plain");
    TMemoryStream Binary, Text;
    WriteComponentRes(&Binary, &Plain);
    Binary.SetPosition(0);
    ObjectBinaryToText(&Binary, &Text);
    const std::string Written = Bytes(Text);
    // A new grid's colour (the window colour, not its parent's) is its
    // default too.
    for (const char* Absent : {"ColProperties", "RowProperties", "CellProperties", "CurrentCell",
                               "ColWidths", "RowHeights", "Data", "Color", "ParentColor"})
        EXPECT_EQ(Written.find(Absent), std::string::npos) << Absent << " in\n" << Written;

    // Widths and heights of an older form are still taken; extras dropped.
    const std::string Old = "object Plain: TgxGrid\n"
                            "  ColWidths = (\n    20\n    30\n    40\n    50\n    60\n    70)\n"
                            "  RowHeights = (\n    16\n    17)\n"
                            "  HeadingAlignment = taCenter\n"
                            "  EditMode = emBrowse\n"
                            "end\n";
    TMemoryStream OldText, OldBinary;
    OldText.WriteBuffer(Old.data(), static_cast<int>(Old.size()));
    OldText.SetPosition(0);
    ObjectTextToBinary(&OldText, &OldBinary);
    OldBinary.SetPosition(0);
    TgxGrid Read(nullptr);
    ReadComponentRes(&OldBinary, &Read);
    EXPECT_EQ(Read.ColWidths(1), 30);
    EXPECT_EQ(Read.ColWidths(4), 60);
    EXPECT_EQ(Read.RowHeights(1), 17);
    EXPECT_EQ(Read.HeadingHorzAlignment(), htaCenter);
    EXPECT_EQ(Read.GridMode(), gmBrowse);
}

// Older forms kept the alignments as identifiers of their own; one that
// names no alignment the grid has reads as left, as it always did.
TEST_F(GridPersistenceTest, OlderFormsReadAlignmentsTheGridHasNotAsLeft) {
    const std::string Old = "object Plain: TgxGrid\n"
                            "  Cols = 4\n"
                            "  Rows = 3\n"
                            "  ColProperties = <\n"
                            "    item\n"
                            "      DataCol = 2\n"
                            "      Col.Alignment = taJustify\n"
                            "      Col.Align = True\n"
                            "      Col.HeadingAlignment = taJustify\n"
                            "      Col.HeadingAlign = True\n"
                            "    end\n"
                            "    item\n"
                            "      DataCol = 3\n"
                            "      Col.Alignment = taRightJustify\n"
                            "      Col.Align = True\n"
                            "      Col.HeadingAlignment = TACENTER\n"
                            "      Col.HeadingAlign = True\n"
                            "    end>\n"
                            "  RowProperties = <\n"
                            "    item\n"
                            "      DataRow = 2\n"
                            "      DisplayRow = 2\n"
                            "      Row.Alignment = taJustify\n"
                            "      Row.Align = True\n"
                            "    end>\n"
                            "end\n";
    TgxGrid Read(nullptr);
    ReadFormText(Old, Read);
    const TgxCol* Justified = Read.GetCol(2);
    EXPECT_EQ(Justified->Alignment(), taLeftJustify);
    EXPECT_EQ(Justified->HorzAlignment(), htaLeft);
    EXPECT_EQ(Justified->HeadingHorzAlignment(), htaLeft);
    EXPECT_EQ(Read.GetCol(3)->HorzAlignment(), htaRight);
    EXPECT_EQ(Read.GetCol(3)->HeadingHorzAlignment(), htaCenter);
    EXPECT_EQ(Read.GetRowAlignment(2), taLeftJustify);
    EXPECT_EQ(Read.GetRowHorzAlignment(2), htaLeft);
}

TEST_F(GridPersistenceTest, AnInheritedFormKeepsTheColumnsOnlyWhereTheyDifferFromItsAncestors) {
    using TSetUp = std::function<void(TgxGrid&)>;
    const TSetUp Red = [](TgxGrid& G) { G.GridCols()->Item(2)->SetColor(0x0000FF); };
    const TSetUp RedAndWide = [&](TgxGrid& G) {
        Red(G);
        G.GridCols()->Item(3)->SetWidth(90);
    };
    const TSetUp None = [](TgxGrid&) {};
    struct TCase {
        const char* Name;
        TSetUp Ancestor, Descendant;
        bool Written;
    };
    for (const TCase& C : {TCase{"the same columns", Red, Red, false},
                           TCase{"neither has own columns", None, None, false},
                           TCase{"a column differs", Red, RedAndWide, true},
                           TCase{"only the descendant has own columns", None, Red, true}}) {
        SCOPED_TRACE(C.Name);
        TgxGrid Ancestor(nullptr), Descendant(nullptr), Loaded(nullptr);
        for (TgxGrid* G : {&Ancestor, &Descendant, &Loaded})
            G->SetName("Grid");
        C.Ancestor(Ancestor);
        C.Descendant(Descendant);
        TMemoryStream Base, Delta;
        WriteComponentRes(&Base, &Ancestor);
        {
            TWriter Writer(&Delta);
            Writer.WriteSignature();
            Writer.WriteDescendent(&Descendant, &Ancestor);
        }
        EXPECT_EQ(Bytes(Delta).find("ColProperties") != std::string::npos, C.Written);
        // The ancestor's stream and then the descendant's give the descendant.
        Base.SetPosition(0);
        ReadComponentRes(&Base, &Loaded);
        Delta.SetPosition(0);
        ReadComponentRes(&Delta, &Loaded);
        for (int Col = 1; Col <= 4; ++Col) {
            EXPECT_EQ(Loaded.GridCols()->Item(Col)->Color(), Descendant.GridCols()->Item(Col)->Color());
            EXPECT_EQ(Loaded.GridCols()->Item(Col)->Width(), Descendant.GridCols()->Item(Col)->Width());
        }
    }
}

// A date-time definition a form can hold; the grid needs only its links.
class FormDateTimeDef : public StubDateTimeDef {
public:
    using StubDateTimeDef::StubDateTimeDef;
    AnsiString ClassName() const override { return "FormDateTimeDef"; }
};

const TPublished<FormDateTimeDef, TComponent> FormDateTimeDefClass(
    "FormDateTimeDef", [](auto&) {}, true);

TEST_F(GridPersistenceTest, ColumnsKeepTheirHeadingFontsAndDateTimeLinks) {
    TForm Form(nullptr);
    Form.SetName("DefsForm");
    auto* Held = new TgxGrid(&Form);
    Held->SetName("Grid1");
    Held->SetParent(&Form);
    Fill(*Held);
    auto* Def = new FormDateTimeDef(&Form);
    Def->SetName("Dates");
    // A column with nothing but a heading font of its own still travels.
    TFont Heading;
    Heading.SetSize(15);
    Heading.SetStyle({fsItalic});
    Held->GridCols()->Item(4)->SetHeadingFont(&Heading);
    Held->GridCols()->Item(1)->SetDateTimeDef(Def);

    const auto Check = [](TgxGrid& G, TgxDateTimeDefComponent* Expected) {
        const TgxCol* Own = G.GridCols()->Item(4);
        EXPECT_FALSE(Own->HeadingParentFont());
        ASSERT_NE(Own->HeadingFontObject(), nullptr);
        EXPECT_EQ(Own->HeadingFontObject()->Size(), 15);
        EXPECT_EQ(Own->HeadingFontObject()->Style(), TFontStyles{fsItalic});
        EXPECT_TRUE(G.GridCols()->Item(3)->HeadingParentFont());
        EXPECT_EQ(G.GridCols()->Item(1)->DateTimeDef(), Expected);
        EXPECT_EQ(G.GridCols()->Item(2)->DateTimeDef(), nullptr);
    };

    // Through the form: the link is to the read form's own definition.
    {
        TForm Copy(nullptr);
        CopyThroughFormFile(Form, Copy);
        auto* Read = dynamic_cast<TgxGrid*>(Copy.FindComponent("Grid1"));
        ASSERT_NE(Read, nullptr);
        SCOPED_TRACE("form");
        Check(*Read, dynamic_cast<TgxDateTimeDefComponent*>(Copy.FindComponent("Dates")));
    }

    // Through the saved state and through assignment: the same definition.
    TgxGrid Loaded(nullptr);
    Load(Loaded, Saved(*Held));
    {
        SCOPED_TRACE("saved state");
        Check(Loaded, Def);
    }
    TgxGrid Assigned(nullptr);
    Assigned.Assign(Held);
    {
        SCOPED_TRACE("assignment");
        Check(Assigned, Def);
    }
    // The definition going leaves no link behind.
    delete Def;
    EXPECT_EQ(Loaded.GridCols()->Item(1)->DateTimeDef(), nullptr);
    EXPECT_EQ(Assigned.GridCols()->Item(1)->DateTimeDef(), nullptr);
}

TEST_F(GridPersistenceTest, CollectionItemsBindToTheirColumnsRowsAndCells) {
    // Written, the cell items of a grid share one facade, each pointed at
    // its cell when asked.
    auto Cells = CreateCellCollection(Grid.get(), true);
    ASSERT_EQ(Cells->Count(), 2);
    auto* First = static_cast<TgxCellItem*>(Cells->Items(0));
    auto* Second = static_cast<TgxCellItem*>(Cells->Items(1));
    EXPECT_FALSE(First->OwnsCell());
    EXPECT_EQ(First->Cell(), Second->Cell());
    EXPECT_EQ(First->Cell()->Color(), 0x0000FF);
    EXPECT_EQ(Second->Cell()->HorzAlignment(), htaRight);

    // Rows: only the moved and the selected ones, in display order.
    auto Rows = CreateRowCollection(Grid.get(), true);
    std::vector<int> Listed;
    for (int I = 0; I < Rows->Count(); ++I)
        Listed.push_back(static_cast<TgxRowItem*>(Rows->Items(I))->DataRow());
    EXPECT_EQ(Listed, (std::vector<int>{6, 2, 3, 4, 5}));

    // Read, a row item makes its row object even for default properties.
    TgxGrid Target(nullptr);
    Target.SetGridRowCount(6);
    ASSERT_EQ(Target.GridRows()->Item(3), nullptr);
    auto Read = CreateRowCollection(&Target, false);
    static_cast<TgxRowItem*>(Read->Add())->SetDataRow(3);
    EXPECT_NE(Target.GridRows()->Item(3), nullptr);
}

TEST_F(GridPersistenceTest, AColumnsOwnListTravelsWithIt) {
    TForm Form(nullptr);
    Form.SetName("ListForm");
    auto* Held = new TgxGrid(&Form);
    Held->SetName("Grid1");
    Held->SetParent(&Form);
    Fill(*Held);
    TgxCol* Own = Held->GridCols()->Item(2);
    Own->SetButtonType(btCombo);
    Own->SetParentCombo(false);
    TgxComboGrid* List = Own->GetCombo()->GetGrid();
    List->SetStoreData(true);
    List->SetGridColCount(2);
    List->SetGridRowCount(3);
    for (int R = 1; R <= 3; ++R)
        List->SetCellValue(2, R, Variant("choice " + std::to_string(R)));
    List->GridCols()->Item(1)->SetVisible(false);

    const auto Check = [](TgxGrid& G) {
        const TgxCol* Col = G.GridCols()->Item(2);
        ASSERT_NE(Col->GetCombo(), nullptr);
        EXPECT_FALSE(Col->ParentCombo());
        TgxComboGrid* Read = Col->GetCombo()->GetGrid();
        EXPECT_EQ(Read->GetGridRowCount(), 3);
        EXPECT_EQ(Read->GetGridColCount(), 2);
        EXPECT_EQ(VarToStr(Read->GetCellValue(2, 3)), "choice 3");
        EXPECT_FALSE(Read->GridCols()->Item(1)->Visible());
        EXPECT_EQ(Read->Name(), "");
        EXPECT_EQ(G.GridCols()->Item(3)->GetCombo(), nullptr);
    };
    {
        TForm Copy(nullptr);
        CopyThroughFormFile(Form, Copy);
        auto* Read = dynamic_cast<TgxGrid*>(Copy.FindComponent("Grid1"));
        ASSERT_NE(Read, nullptr);
        SCOPED_TRACE("form");
        Check(*Read);
    }
    TgxGrid Loaded(nullptr);
    Load(Loaded, Saved(*Held));
    SCOPED_TRACE("saved state");
    Check(Loaded);
}

TEST_F(GridPersistenceTest, AssignmentAndCopiesTakeTheState) {
    const TLook Before = LookOf(*Grid);
    TgxGrid Other(nullptr);
    Other.SetBounds(5, 6, 70, 80);
    Other.Assign(Grid.get());
    EXPECT_EQ(LookOf(Other), Before);
    EXPECT_EQ(Other.Left(), 5); // where a grid stands is its own
    EXPECT_EQ(Other.Height(), 80);

    // An assignment streams nothing: a source beyond what a grid takes
    // from a stream is taken whole.
    TgxGrid Huge(nullptr);
    Huge.SetGridColCount(TgxBaseGrid::MaxStreamCols + 1);
    TgxGrid Big(nullptr);
    Big.Assign(&Huge);
    EXPECT_EQ(Big.GetGridColCount(), TgxBaseGrid::MaxStreamCols + 1);

    // Only the rows: the column count stays.
    TgxGrid RowsOnly(nullptr);
    RowsOnly.AssignPropKinds(Grid.get(), {pkRows}, false);
    EXPECT_EQ(RowsOnly.GetGridRowCount(), 6);
    EXPECT_EQ(RowsOnly.GetGridColCount(), TgxBaseGrid::DefaultColCount);

    // Values only; a smaller grid drops what lies beyond it.
    TgxGrid Small(nullptr);
    Small.SetGridColCount(2);
    Small.SetGridRowCount(3);
    Small.CopyData(Grid.get());
    EXPECT_EQ(VarToStr(Small.GetCellValue(2, 3)), "r3c2");
    EXPECT_EQ(Small.DataStore()->MaxRowSet(), 3);
    EXPECT_EQ(Small.DataStore()->MaxColValueSet(1), 2);
}

TEST_F(GridPersistenceTest, SingleGroupsTakeOnlyTheirOwnPart) {
    const TLook Source = LookOf(*Grid);
    TgxGrid Target(nullptr);
    Target.SetStoreData(true);
    Target.SetGridColCount(5);
    Target.SetGridRowCount(6);
    Target.SetCellValue(1, 1, Variant("own"));

    // Columns: their properties and their order, each column that stands
    // elsewhere now reported once at its new place (2 went to 4, pushing 3
    // and 4 one to the left).
    std::vector<int> MovedTo;
    Target.OnColMoved = [&](TObject*, int To, int Count, bool ByUser) {
        EXPECT_EQ(Count, 1);
        EXPECT_FALSE(ByUser);
        MovedTo.push_back(To);
    };
    TFont Heading;
    Heading.SetSize(17);
    Grid->GridCols()->Item(2)->SetHeadingFont(&Heading);
    Target.AssignColProperties(Grid.get());
    EXPECT_EQ(LookOf(Target).Order, (std::vector<int>{1, 3, 4, 2, 5, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(MovedTo, (std::vector<int>{4, 2, 3}));
    ASSERT_NE(Target.GridCols()->Item(2)->HeadingFontObject(), nullptr);
    EXPECT_EQ(Target.GridCols()->Item(2)->HeadingFontObject()->Size(), 17);
    EXPECT_EQ(Target.GridCols()->Item(3)->Width(), 120);
    EXPECT_FALSE(Target.GridCols()->Item(5)->Visible());
    EXPECT_EQ(Target.GridCols()->Item(1)->Color(), 0x00FF00);
    EXPECT_EQ(VarToStr(Target.GetCellValue(1, 1)), "own"); // values are not columns

    // Rows, cells and the selections, each alone.
    std::vector<int> RowsTo;
    Target.OnRowMoved = [&](TObject*, int To, int, bool) { RowsTo.push_back(To); };
    Target.AssignRowProperties(Grid.get());
    EXPECT_EQ(LookOf(Target).Order, Source.Order);
    EXPECT_EQ(RowsTo, (std::vector<int>{3, 4, 5, 6, 2}));
    EXPECT_TRUE(Target.CellProps()->Elements().empty());
    Target.AssignCellProperties(Grid.get());
    EXPECT_EQ(LookOf(Target).CellProps, Source.CellProps);
    EXPECT_TRUE(LookOf(Target).SelectedRows.empty());
    std::vector<TgxSelectType> Announced;
    Target.OnSelectChanged = [&](TObject*, TgxSelectType Type, bool) { Announced.push_back(Type); };
    Target.AssignSelections(Grid.get(), {pkRows, pkCells});
    EXPECT_EQ(Announced, (std::vector<TgxSelectType>{stRowSelect, stCellSelect}));
    Target.AssignGridData(Grid.get());
    EXPECT_EQ(LookOf(Target), Source);

    // In design mode cells and values go where the source shows them:
    // cell (2,3) of the source is shown at column 4, row 4.
    TgxGrid Design(nullptr);
    Design.SetInDesignMode(true);
    Design.SetGridColCount(5);
    Design.SetGridRowCount(6);
    Design.AssignCellProperties(Grid.get());
    Design.AssignGridData(Grid.get());
    EXPECT_EQ(Design.GetCellColor(4, 4), 0x0000FF);
    EXPECT_EQ(VarToStr(Design.GetCellValue(4, 4)), "r3c2");
    EXPECT_EQ(VarToStr(Design.GetCellValue(2, 3)), "r2c3"); // shown there: column 3, row 2
    // So does the whole assignment, its columns and rows in their shown order.
    TgxGrid Whole(nullptr);
    Whole.SetInDesignMode(true);
    Whole.Assign(Grid.get());
    EXPECT_EQ(Whole.GridCols()->Item(2)->Heading(), "Price");
    EXPECT_EQ(Whole.GridCols()->Item(4)->Width(), Grid->GridCols()->Item(2)->Width());
    EXPECT_EQ(LookOf(Whole).Order, (std::vector<int>{1, 2, 3, 4, 5, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(VarToStr(Whole.GetCellValue(4, 4)), "r3c2");
    EXPECT_EQ(Whole.GetCellColor(4, 4), 0x0000FF);

    // Another column count is refused, naming both.
    TgxGrid Narrow(nullptr);
    Narrow.SetGridColCount(2);
    try {
        Narrow.AssignColProperties(Grid.get());
        ADD_FAILURE() << "columns of another count taken";
    } catch (const Exception& E) {
        EXPECT_NE(E.Message.find("5 columns"), std::string::npos) << E.Message;
        EXPECT_NE(E.Message.find("2"), std::string::npos) << E.Message;
    }

    // Grid-level properties, but not the ones listed (in any case) nor
    // where the grid stands.
    Grid->SetDefaultRowHeight(30);
    Grid->SetExportDelimiter(";");
    Grid->SetBounds(1, 2, 300, 200);
    TgxGrid Props(nullptr);
    Props.SetBounds(5, 6, 70, 80);
    Props.AssignProperties(Grid.get(), "exportdelimiter; Cols");
    EXPECT_EQ(Props.DefaultRowHeight(), 30);
    EXPECT_EQ(Props.GetGridRowCount(), 6);
    EXPECT_EQ(Props.GetGridColCount(), TgxBaseGrid::DefaultColCount);
    EXPECT_EQ(Props.ExportDelimiter(), ",");
    EXPECT_EQ(Props.Width(), 70);
    Props.AssignProperties(Grid.get(), "DefaultRowHeight");
    EXPECT_EQ(Props.ExportDelimiter(), ";");
}

TEST_F(GridPersistenceTest, APartialSaveCarriesOnlyTheChosenProperties) {
    const TLook Before = LookOf(*Grid);
    TMemoryStream Stream;
    Grid->SavePropToStream(&Stream, {pkCols, pkRows, pkCells}, {prColor}, false);
    EXPECT_EQ(LookOf(*Grid), Before); // the grid itself is not touched
    const std::string Saved = Bytes(Stream);
    EXPECT_NE(Saved.find(std::string("Properties\x06\x05\x01\x00\x00\x00\x00", 17)),
              std::string::npos);
    // Whether the values were saved is written either way.
    EXPECT_NE(Saved.find(std::string("SaveData") + static_cast<char>(vaFalse)), std::string::npos);

    TgxGrid Target(nullptr);
    Target.SetGridColCount(5);
    Target.SetGridRowCount(6);
    Load(Target, Saved);
    EXPECT_EQ(Target.GridCols()->Item(1)->Color(), 0x00FF00);
    EXPECT_EQ(Target.GetCellColor(2, 3), 0x0000FF);
    // Not chosen: back at their defaults (a heading is no numbered property
    // and always travels).
    EXPECT_TRUE(Target.GridCols()->Item(5)->Visible());
    EXPECT_EQ(Target.GetCellHorzAlignment(3, 5), htaDefault);
    EXPECT_EQ(Target.GridCols()->Item(1)->Heading(), "Part");

    // Choosing one alignment property saves all three.
    TMemoryStream Align;
    Grid->SavePropToStream(&Align, {pkCells}, {prAlign}, false);
    TgxGrid AlignTarget(nullptr);
    AlignTarget.SetGridColCount(5);
    AlignTarget.SetGridRowCount(6);
    Load(AlignTarget, Bytes(Align));
    EXPECT_EQ(AlignTarget.GetCellHorzAlignment(3, 5), htaRight);
}

TEST_F(GridPersistenceTest, MatchingByFieldNameKeepsTheColumnsAndMapsTheValues) {
    Grid->GridCols()->Item(1)->SetFieldName("PART");
    Grid->GridCols()->Item(3)->SetFieldName("PRICE");
    const std::string Saved = this->Saved(*Grid);

    TgxGrid Target(nullptr);
    Target.SetStoreData(true);
    Target.SetGridColCount(2);
    Target.SetGridRowCount(6);
    Target.GridCols()->Item(1)->SetFieldName("PRICE");
    Target.GridCols()->Item(2)->SetFieldName("OTHER");
    Load(Target, Saved, cmaFieldName);
    EXPECT_EQ(Target.GetGridColCount(), 2);
    EXPECT_EQ(Target.GridCols()->Item(1)->Width(), 120); // PRICE's properties
    EXPECT_EQ(Target.GridCols()->Item(2)->Width(), Target.DefaultColWidth());
    EXPECT_EQ(VarToStr(Target.GetCellValue(1, 1)), "r1c3"); // PRICE's values
    EXPECT_EQ(VarToStr(Target.GetCellValue(2, 1)), "");
}

// A stream component written by hand: its published part, then Body.
std::string Handmade(const std::function<void(TWriter&)>& Body,
                     const char* ClassName = "TgxGridStreamComponent") {
    TMemoryStream S;
    {
        TWriter W(&S);
        W.WriteSignature();
        W.WriteStr(ClassName);
        W.WriteStr("");
        Body(W);
        W.WriteListEnd();
        W.WriteListEnd();
    }
    return Bytes(S);
}

TEST_F(GridPersistenceTest, DamagedStreamsAreRefusedAndChangeNothing) {
    const std::string Good = Saved(*Grid);
    const auto Int = [](const char* Name, std::int64_t V) {
        return [=](TWriter& W) {
            W.WriteStr(Name);
            W.WriteInteger(V);
        };
    };
    const auto Items = [](const char* Name, const char* Prop, std::int64_t V) {
        return [=](TWriter& W) {
            W.WriteStr(Name);
            W.WriteValue(vaCollection);
            W.WriteListBegin();
            W.WriteStr(Prop);
            W.WriteInteger(V);
            W.WriteListEnd();
            W.WriteListEnd();
        };
    };
    const auto Current = [](std::vector<int> Values) {
        return [=](TWriter& W) {
            W.WriteStr("CurrentCell");
            W.WriteListBegin();
            for (int V : Values)
                W.WriteInteger(V);
            W.WriteListEnd();
        };
    };
    // The data stream of one value in row 9.
    const auto DataRow9 = [](TWriter& W) {
        TMemoryStream Data;
        Tgx2DStorage Store(0, 0);
        Store.SetValue(1, 9, vtpString, Variant("x"));
        Store.SaveToStream(&Data);
        W.WriteStr("Data");
        W.WriteValue(vaBinary);
        const auto Size = static_cast<std::int32_t>(Data.GetSize());
        W.Write(&Size, 4);
        W.Write(Data.Memory(), Size);
    };
    // A Grid property whose own stream carries column items, which a saved
    // grid keeps beside it.
    const auto ItemsInsideGrid = [&Items](TWriter& W) {
        TMemoryStream Inner;
        {
            TWriter IW(&Inner);
            IW.WriteSignature();
            IW.WriteStr("TgxGrid");
            IW.WriteStr("");
            Items("ColProperties", "DataCol", 1)(IW);
            IW.WriteListEnd();
            IW.WriteListEnd();
        }
        W.WriteStr("Grid");
        W.WriteValue(vaBinary);
        const auto Size = static_cast<std::int32_t>(Inner.GetSize());
        W.Write(&Size, 4);
        W.Write(Inner.Memory(), Size);
    };
    const auto Then = [](auto First, auto Second) {
        return [=](TWriter& W) {
            First(W);
            Second(W);
        };
    };
    struct Case {
        const char* Name;
        std::string Stream;
        const char* Says; // part of the error message
    };
    std::vector<Case> Cases = {
        {"empty", "", "not a saved grid"},
        {"another class", Handmade([](TWriter&) {}, "TForm"), "not 'TForm'"},
        {"too many columns", Handmade(Int("Cols", 20000)), "Cols 20000"},
        {"negative rows", Handmade(Int("Rows", -1)), "Rows -1"},
        {"column beyond the grid", Handmade(Items("ColProperties", "DataCol", 9)), "DataCol 9"},
        {"row beyond the grid", Handmade(Items("RowProperties", "DataRow", 99)), "DataRow 99"},
        {"cell column 0", Handmade(Items("CellProperties", "DataCol", 0)), "DataCol 0"},
        {"current cell outside", Handmade(Current({1, 1, 999, 1})), "anchor column 999"},
        {"current cell short", Handmade(Current({1, 1, 1})), "fewer than 4"},
        {"values beyond the rows", Handmade(DataRow9), "Data holds row 9"},
        {"unknown property", Handmade(Int("Bogus", 1)), "Bogus"},
        {"row width too large", Handmade(Int("DefaultColWidth", 70000)), "DefaultColWidth 70000"},
        {"columns counted after their items",
         Handmade(Then(Items("ColProperties", "DataCol", 5), Int("Cols", 1))),
         "Cols comes again or out of order"},
        {"rows twice", Handmade(Then(Int("Rows", 6), Int("Rows", 2))), "Rows comes again"},
        {"column properties before the column", Handmade(Items("ColProperties", "Col.Tag", 3)),
         "before the column's DataCol"},
        {"column items inside Grid", Handmade(ItemsInsideGrid), "not part of a saved grid's Grid"},
    };
    // Every cut of a good stream, and a damaged byte in each stretch of it.
    for (std::size_t Cut = 0; Cut < Good.size(); Cut += 7)
        Cases.push_back({"cut", Good.substr(0, Cut), ""});
    for (std::size_t At = 4; At < Good.size(); At += 11) {
        std::string Bad = Good;
        Bad[At] = static_cast<char>(Bad[At] ^ 0xA5);
        Cases.push_back({"flipped", Bad, nullptr});
    }

    const std::string Before = Saved(*Grid);
    const TLook LookBefore = LookOf(*Grid);
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        bool Refused = false;
        try {
            Load(*Grid, C.Stream);
        } catch (const Exception& E) {
            Refused = true;
            if (C.Says) EXPECT_NE(E.Message.find(C.Says), std::string::npos) << E.Message;
        }
        // A flipped byte may land where any value is good (a letter of a
        // value); then the grid takes that stream. Anything else is refused.
        if (C.Says) EXPECT_TRUE(Refused);
        if (Refused) {
            EXPECT_EQ(Saved(*Grid), Before);
            EXPECT_EQ(LookOf(*Grid), LookBefore);
        } else {
            Load(*Grid, Before);
        }
    }
}

TEST_F(GridPersistenceTest, FilesHoldTheSameStream) {
    const std::string Path = ::testing::TempDir() + "grid-state-" + std::to_string(::getpid());
    Grid->SaveToFile(Path, true);
    TgxGrid Copy(nullptr);
    Copy.LoadFromFile(Path, cmaNone);
    EXPECT_EQ(LookOf(Copy), LookOf(*Grid));
    std::remove(Path.c_str());
    EXPECT_THROW(Copy.LoadFromFile(Path, cmaNone), Exception);
}

class GridRegistryTest : public ScratchConfig {};

TEST_F(GridRegistryTest, TheStateGoesToAValueOrAFileNamedByOne) {
    EnsureQtApplication();
    TgxGrid Grid(nullptr);
    FillGrid(Grid);
    const TLook Before = LookOf(Grid);
    const AnsiString Key = "\\\\HKEY_CURRENT_USER\\Software\\Shop\\Grids";

    Grid.SaveToRegistry(Key, "Orders", "", true);
    Grid.SaveToRegistry(Key, "OrdersFile", File("orders.grid"), true);
    TRegistry Registry;
    ASSERT_TRUE(Registry.OpenKey("Software\\Shop\\Grids", false));
    EXPECT_EQ(Registry.ReadString("OrdersFile"), File("orders.grid"));
    Registry.WriteInteger("Count", 3);

    for (const char* Value : {"Orders", "OrdersFile"}) {
        SCOPED_TRACE(Value);
        TgxGrid Copy(nullptr);
        EXPECT_TRUE(Copy.LoadFromRegistry(Key, Value, cmaNone));
        EXPECT_EQ(LookOf(Copy), Before);
    }
    // Nothing there, or a value of another type: nothing loaded.
    TgxGrid Untouched(nullptr);
    const TLook Fresh = LookOf(Untouched);
    EXPECT_FALSE(Untouched.LoadFromRegistry("Software\\Missing", "Orders", cmaNone));
    EXPECT_FALSE(Untouched.LoadFromRegistry(Key, "Count", cmaNone));
    EXPECT_FALSE(Untouched.LoadFromRegistry(Key, "Nothing", cmaNone));
    EXPECT_EQ(LookOf(Untouched), Fresh);
}

} // namespace
