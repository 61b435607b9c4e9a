// The collections a grid streams its columns, rows and cells in, read and
// written through real form streams and the saved grid state.
#include "FormTextFixture.h"
#include "ShownGridFixture.h"
#include "StubDateTimeDef.h"

#include "grid/model/CellFacade.h"
#include "grid/model/Columns.h"
#include "grid/model/GridPropCollections.h"
#include "grid/model/Rows.h"
#include "platform/rtl/Streams.h"

#include <gtest/gtest.h>

#include <string>

using namespace grid;

namespace {

class CollectionsReading : public ShownGridFixture {
protected:
    void Name() {
        Form->SetName("Form1");
        Grid->SetName("Grid1");
    }
    // Reads Text into a new form and answers its grid.
    TgxGrid* ReadInto(TForm& Into, const std::string& Text) {
        ReadFormText(Text, Into);
        return dynamic_cast<TgxGrid*>(Into.FindComponent("Grid1"));
    }
};

// A row item makes its row's object, whatever it carries; its display
// position and selection reach the grid.
TEST_F(CollectionsReading, RowItemsMakeTheirRowsAndPlaceThem) {
    ShowGrid(3, 5);
    Name();
    std::string Text = FormText(*Form);
    const std::string At = "    CheckBoxStyle = stCheck\n";
    const auto Pos = Text.find(At);
    ASSERT_NE(Pos, std::string::npos) << Text;
    Text.insert(Pos + At.size(), "    RowProperties = <\n"
                                 "      item\n"
                                 "        DataRow = 3\n"
                                 "      end\n"
                                 "      item\n"
                                 "        DataRow = 5\n"
                                 "        DisplayRow = 1\n"
                                 "        Selected = True\n"
                                 "      end>\n");
    TForm Into(nullptr);
    TgxGrid* Read = ReadInto(Into, Text);
    ASSERT_NE(Read, nullptr);
    EXPECT_NE(Read->GetRow(3), nullptr);
    EXPECT_EQ(Read->GetDisplayRow(5), 1);
    EXPECT_EQ(Read->GetDataRow(1), 5);
    EXPECT_TRUE(Read->GetRowSelected(5));
    EXPECT_EQ(Read->GridStatus(), grRowSelect);
}

// Written, the cell items share one facade; read, each keeps its own, so
// links resolved after the whole form is read land on their own cells.
TEST_F(CollectionsReading, CellItemsKeepTheirOwnCellsWhileAFormIsRead) {
    ShowGrid(3, 3);
    Name();
    TForm Defs(nullptr);
    Defs.SetName("DefForm");
    auto* First = new StubDateTimeDef(&Defs);
    First->SetName("First");
    auto* Second = new StubDateTimeDef(&Defs);
    Second->SetName("Second");
    Grid->SetCellDateTimeDef(1, 2, First);
    Grid->SetCellDateTimeDef(3, 1, Second);
    Grid->SetCellColor(2, 3, clRed);
    {
        auto Written = CreateCellCollection(Grid, true);
        ASSERT_EQ(Written->Count(), 3);
        auto* A = static_cast<TgxCellItem*>(Written->Items(0));
        auto* B = static_cast<TgxCellItem*>(Written->Items(1));
        EXPECT_FALSE(A->OwnsCell());
        EXPECT_EQ(A->Cell(), B->Cell());
    }
    const std::string Text = FormText(*Form);
    EXPECT_NE(Text.find("DefForm.First"), std::string::npos) << Text;
    for (bool AsText : {false, true}) {
        TForm Into(nullptr);
        if (AsText)
            ReadFormText(Text, Into);
        else
            CopyThroughFormFile(*Form, Into);
        auto* Read = dynamic_cast<TgxGrid*>(Into.FindComponent("Grid1"));
        ASSERT_NE(Read, nullptr);
        EXPECT_EQ(Read->GetCellDateTimeDef(1, 2), First) << AsText;
        EXPECT_EQ(Read->GetCellDateTimeDef(3, 1), Second) << AsText;
        EXPECT_EQ(Read->GetCellColor(2, 3), clRed);
        EXPECT_EQ(Read->GetCellDateTimeDef(2, 3), nullptr);
    }
}

// A column item read by number goes to that column; its own field name is
// only kept.
TEST_F(CollectionsReading, ColumnItemsReadByNumber) {
    ShowGrid(3, 3);
    Name();
    Grid->GetCol(2)->SetColor(clRed);
    Grid->GetCol(2)->SetFieldName("Price");
    std::string Text = FormText(*Form);
    const std::string Item = "FieldName = 'Price'\n        Col.";
    const auto Pos = Text.find(Item);
    ASSERT_NE(Pos, std::string::npos) << Text;
    Text.replace(Pos, 19, "FieldName = 'Other'");
    TForm Into(nullptr);
    TgxGrid* Read = ReadInto(Into, Text);
    ASSERT_NE(Read, nullptr);
    EXPECT_EQ(Read->GetCol(2)->Color(), clRed);
    EXPECT_EQ(Read->GetCol(2)->FieldName(), "Price");
}

// A saved state matched by field name: a stored column whose name no
// column has changes nothing and is recorded as matching none.
TEST_F(CollectionsReading, ColumnsMatchedByFieldNameSkipUnknownNames) {
    ShowGrid(3, 3);
    for (int C = 1; C <= 3; ++C)
        Grid->GetCol(C)->SetFieldName("F" + std::to_string(C));
    Grid->GetCol(3)->SetFieldName("Gone");
    Grid->GetCol(3)->SetColor(clBlue);
    Grid->GetCol(2)->SetColor(clRed);
    TMemoryStream Saved;
    Grid->SaveToStream(&Saved, false);

    TgxGrid* Other = new TgxGrid(Form);
    Other->SetParent(Form);
    Other->SetGridColCount(3);
    Other->GetCol(1)->SetFieldName("F2");
    Other->GetCol(2)->SetFieldName("F1");
    Other->GetCol(3)->SetFieldName("F3");
    Other->GetCol(3)->SetColor(clYellow);
    Saved.SetPosition(0);
    Other->LoadFromStream(&Saved, cmaFieldName);
    EXPECT_EQ(Other->GetCol(1)->Color(), clRed);
    EXPECT_EQ(Other->GetCol(2)->Color(), clNone);
    EXPECT_EQ(Other->GetCol(3)->Color(), clYellow);
    EXPECT_EQ(Other->GetCol(3)->FieldName(), "F3");
}

// Numbers a damaged form gives that the grid has no column, row or cell
// for: the read fails with an error, and nothing is touched out of range.
TEST_F(CollectionsReading, NumbersBeyondTheGridAreRefused) {
    ShowGrid(3, 3);
    Name();
    const std::string Text = FormText(*Form);
    const std::string At = "    CheckBoxStyle = stCheck\n";
    const char* Items[] = {
        "    ColProperties = <\n      item\n        DataCol = 99\n        Col.Color = 255\n      "
        "end>\n",
        "    ColProperties = <\n      item\n        DataCol = -1\n        Col.Color = 255\n      "
        "end>\n",
        "    RowProperties = <\n      item\n        DataRow = 99\n        Row.Color = 255\n      "
        "end>\n",
        "    RowProperties = <\n      item\n        DataRow = 0\n        Row.Color = 255\n      "
        "end>\n",
        "    RowProperties = <\n      item\n        DataRow = 2\n        DisplayRow = 99\n      "
        "end>\n",
        "    RowProperties = <\n      item\n        Row.Color = 255\n      end>\n",
        "    CellProperties = <\n      item\n        DataCol = 99\n        DataRow = 1\n        "
        "Cell.Color = 255\n      end>\n",
        "    CellProperties = <\n      item\n        DataCol = 1\n        DataRow = 2000000000\n   "
        "     Cell.Color = 255\n      end>\n",
        "    CellProperties = <\n      item\n        Cell.Color = 255\n      end>\n",
    };
    for (const char* Item : Items) {
        std::string Damaged = Text;
        Damaged.insert(Damaged.find(At) + At.size(), Item);
        TForm Into(nullptr);
        EXPECT_THROW(ReadFormText(Damaged, Into), Exception) << Item;
    }
}

} // namespace
