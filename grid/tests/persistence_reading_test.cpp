// A grid's state saved to a stream, a file or the registry and loaded back,
// whole or in part, and its state in a form: what is written, what a load
// keeps, and old forms that still load.
#include "FormTextFixture.h"
#include "ShownGridFixture.h"

#include "grid/foundation/CellStore.h"
#include "grid/model/Columns.h"
#include "grid/model/GxGrid.h"
#include "grid/model/InplaceControl.h"
#include "platform/classes/ObjectText.h"
#include "platform/registry/Registry.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/testing/ScratchConfig.h"

#include <gtest/gtest.h>

#include <string>

using namespace grid;

namespace {

std::string AsText(TMemoryStream& Binary) {
    TMemoryStream Text;
    Binary.SetPosition(0);
    ObjectBinaryToText(&Binary, &Text);
    Binary.SetPosition(0);
    return std::string(static_cast<const char*>(Text.Memory()),
                       static_cast<std::size_t>(Text.GetSize()));
}

std::string StateText(TgxBaseGrid& G, TgxPropKinds Kinds, TgxProperties Props, bool Data) {
    TMemoryStream Binary;
    G.SavePropToStream(&Binary, Kinds, Props, Data);
    return AsText(Binary);
}

bool Has(const std::string& Text, const char* Part) {
    return Text.find(Part) != std::string::npos;
}

class PersistenceReading : public ShownGridFixture {
protected:
    // A grid of 3 columns and 3 rows with something of each kind set.
    void SetUp() override {
        ShowGrid(3, 3);
        Grid->SetName("Grid1");
        Grid->SetStoreData(true);
        Grid->SetCellValue(1, 1, Variant("a"));
        Grid->SetCellValue(3, 2, Variant("b"));
        TgxCol* Col = Grid->GridCols()->GetCol(2);
        Col->SetColor(clRed);
        Col->SetWidth(90);
        Col->SetFieldName("Two");
        Grid->GridCols()->GetCol(1)->SetFieldName("One");
        Grid->GridCols()->GetCol(3)->SetFieldName("Three");
        Grid->SetRowColor(2, clBlue);
        Grid->SetRowHeight(3, 30);
        Grid->SetCellColor(3, 3, clGreen);
        Grid->SetLineColor(clYellow);
    }

    // A second grid, on the same form, to load into.
    TgxGrid* OtherGrid() {
        auto* G = new TgxGrid(Form);
        G->SetParent(Form);
        G->SetBounds(0, 300, 400, 100);
        return G;
    }
};

TEST_F(PersistenceReading, AWholeSaveLoadsBackIntoAnotherGrid) {
    TMemoryStream Stream;
    Grid->SaveToStream(&Stream, true);
    TgxGrid* G = OtherGrid();
    Stream.SetPosition(0);
    G->LoadFromStream(&Stream, cmaNone);
    EXPECT_EQ(G->GetGridColCount(), 3);
    EXPECT_EQ(G->GetGridRowCount(), 3);
    EXPECT_EQ(G->GridCols()->GetCol(2)->Color(), clRed);
    EXPECT_EQ(G->GridCols()->GetCol(2)->Width(), 90);
    EXPECT_EQ(G->GridCols()->GetCol(2)->FieldName(), "Two");
    EXPECT_EQ(G->GetRowColor(2), clBlue);
    EXPECT_EQ(G->GetRowHeight(3), 30);
    EXPECT_EQ(G->GetCellColor(3, 3), clGreen);
    EXPECT_EQ(G->LineColor(), clYellow);
    EXPECT_TRUE(G->StoreData());
    EXPECT_EQ(G->GetCellValue(1, 1).AsString(), "a");
    EXPECT_EQ(G->GetCellValue(3, 2).AsString(), "b");
    EXPECT_FALSE(G->Reading());
    EXPECT_FALSE(G->GetFastAssign());
    EXPECT_EQ(G->ColMatch(), cmaNone);
}

// The current cell's editor shows the value the load brought, not the one
// it held before.
TEST_F(PersistenceReading, TheEditorShowsTheLoadedValueOfTheCurrentCell) {
    TMemoryStream Stream;
    Grid->SaveToStream(&Stream, true);
    Grid->SetCellValue(1, 1, Variant("changed"));
    ASSERT_EQ(Grid->GridControl()->GetValue().AsString(), "changed");
    Stream.SetPosition(0);
    Grid->LoadFromStream(&Stream, cmaNone);
    EXPECT_EQ(Grid->GetCellValue(1, 1).AsString(), "a");
    EXPECT_EQ(Grid->GridControl()->GetValue().AsString(), "a");
}

// A grid on the same form as the one that saved the state loads it without
// taking that grid's name or failing over it.
TEST_F(PersistenceReading, ALoadNeverTakesTheNameOfAnotherComponent) {
    TMemoryStream Stream;
    Grid->SaveToStream(&Stream, true);
    for (const char* Name : {"", "Grid2"}) {
        TgxGrid* G = OtherGrid();
        G->SetName(Name);
        Stream.SetPosition(0);
        G->LoadFromStream(&Stream, cmaNone);
        EXPECT_EQ(G->Name(), Name);
        EXPECT_EQ(G->GridCols()->GetCol(2)->Color(), clRed) << Name;
        EXPECT_EQ(Form->FindComponent("Grid1"), Grid);
    }
    Stream.SetPosition(0);
    Grid->LoadFromStream(&Stream, cmaNone);
    EXPECT_EQ(Grid->Name(), "Grid1");
}

TEST_F(PersistenceReading, APartialSaveTakesOnlyTheChosenPropertiesAndLeavesTheGridAlone) {
    Grid->GridCols()->GetCol(2)->SetReadOnly(true);
    Grid->GridCols()->GetCol(3)->SetHorzAlignment(htaRight);
    Grid->SetRowReadOnly(1, true);
    const std::string Text =
        StateText(*Grid, TgxPropKinds{pkCols, pkRows}, TgxProperties{prColor}, false);
    EXPECT_TRUE(Has(Text, "Properties = #1#0#0#0#0")) << Text;
    EXPECT_TRUE(Has(Text, "AllProperties = False"));
    EXPECT_TRUE(Has(Text, "ResetProps = True"));
    EXPECT_TRUE(Has(Text, "Col.Color = 255"));
    EXPECT_FALSE(Has(Text, "ReadOnly")) << Text;
    EXPECT_FALSE(Has(Text, "Alignment")) << Text;
    EXPECT_FALSE(Has(Text, "CellProperties"));
    EXPECT_FALSE(Has(Text, "Grid = {"));
    EXPECT_FALSE(Has(Text, "Data = {"));
    // The grid keeps what the copy dropped.
    EXPECT_TRUE(Grid->GridCols()->GetCol(2)->ReadOnly());
    EXPECT_TRUE(Grid->GetRowReadOnly(1));
    EXPECT_EQ(Grid->GridCols()->GetCol(3)->HorzAlignment(), htaRight);
    EXPECT_EQ(Grid->GetFastAssign(), false);
    EXPECT_FALSE(Grid->Writing());
}

TEST_F(PersistenceReading, WhatAPartialSaveWritesFollowsTheKindsAndProperties) {
    const TgxProperties AlignThree{prAlign, prAlignment, prHorzAlignment};
    // Any one of the alignment properties takes the other two along.
    for (TgxProperty One : {prAlign, prAlignment, prHorzAlignment}) {
        const std::string Alone = StateText(*Grid, AllPropKinds, TgxProperties{One}, false);
        const std::string Three = StateText(*Grid, AllPropKinds, AlignThree, false);
        const auto Line = [](const std::string& T) {
            const auto P = T.find("Properties = ");
            return T.substr(P, T.find('\n', P) - P);
        };
        EXPECT_EQ(Line(Alone), Line(Three)) << int(One);
    }
    const struct {
        TgxPropKinds Kinds;
        TgxProperties Props;
        bool Rows, Cols, DefaultColWidth, DefaultRowHeight, Grid;
    } Cases[] = {
        {TgxPropKinds{pkGrid, pkRows}, AllProperties(), false, false, false, false, true},
        {TgxPropKinds{pkRows}, AllProperties(), true, false, false, true, false},
        {TgxPropKinds{pkCols}, AllProperties(), false, true, true, false, false},
        {TgxPropKinds{pkCols, pkRows}, TgxProperties{prColor}, true, true, false, false, false},
        {TgxPropKinds{pkGrid, pkCols}, AllProperties(), false, true, false, false, true},
    };
    for (const auto& C : Cases) {
        const std::string T = StateText(*Grid, C.Kinds, C.Props, false);
        EXPECT_EQ(Has(T, "\n  Rows = "), C.Rows) << T;
        EXPECT_EQ(Has(T, "\n  Cols = "), C.Cols) << T;
        EXPECT_EQ(Has(T, "DefaultColWidth"), C.DefaultColWidth) << T;
        EXPECT_EQ(Has(T, "DefaultRowHeight"), C.DefaultRowHeight) << T;
        EXPECT_EQ(Has(T, "Grid = {"), C.Grid) << T;
    }
}

TEST_F(PersistenceReading, ALoadByFieldNameKeepsTheColumnsOfTheGrid) {
    TMemoryStream Stream;
    Grid->SaveToStream(&Stream, false);
    TgxGrid* G = OtherGrid();
    G->SetGridColCount(4);
    G->GridCols()->GetCol(1)->SetFieldName("Two");
    G->GridCols()->GetCol(4)->SetFieldName("Other");
    G->GridCols()->GetCol(4)->SetColor(clAqua);
    Stream.SetPosition(0);
    G->LoadFromStream(&Stream, cmaFieldName);
    EXPECT_EQ(G->GetGridColCount(), 4);
    EXPECT_EQ(G->GridCols()->GetCol(4)->Color(), clAqua);
    EXPECT_EQ(G->GridCols()->GetCol(1)->Color(), clRed);
    EXPECT_EQ(G->GridCols()->GetCol(1)->Width(), 90);
    EXPECT_EQ(G->GetRowColor(2), clBlue);
    EXPECT_EQ(G->ColMatch(), cmaNone);
}

TEST_F(PersistenceReading, ADamagedStreamRaisesAndLeavesTheGridAsItWas) {
    TMemoryStream Stream;
    Grid->SaveToStream(&Stream, true);
    TMemoryStream Cut;
    Cut.WriteBuffer(Stream.Memory(), static_cast<int>(Stream.GetSize() / 2));
    Cut.SetPosition(0);
    EXPECT_THROW(Grid->LoadFromStream(&Cut, cmaNone), Exception);
    EXPECT_FALSE(Grid->Reading());
    EXPECT_FALSE(Grid->GetFastAssign());
    EXPECT_EQ(Grid->ColMatch(), cmaNone);
    EXPECT_EQ(Grid->GridCols()->GetCol(2)->Color(), clRed);
    EXPECT_EQ(Grid->GetCellValue(1, 1).AsString(), "a");
    TMemoryStream NotAStream;
    NotAStream.WriteBuffer("hello world", 11);
    NotAStream.SetPosition(0);
    EXPECT_THROW(Grid->LoadFromStream(&NotAStream, cmaNone), Exception);
    EXPECT_FALSE(Grid->Reading());
    EXPECT_EQ(Grid->GetRowColor(2), clBlue);
}

// ---- forms ---------------------------------------------------------------------------

class PersistenceForm : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        Form.SetName("Form1");
        Grid = new TgxGrid(&Form);
        Grid->SetName("Grid1");
        Grid->SetParent(&Form);
    }
    std::string GridText() {
        const std::string T = FormText(Form);
        return T.substr(T.find("object Grid1"));
    }
    TForm Form{nullptr};
    TgxGrid* Grid = nullptr;
};

TEST_F(PersistenceForm, AFormWritesOnlyWhatDiffersFromANewGrid) {
    Grid->GridCols()->GetCol(1)->SetFieldName("");
    std::string T = GridText();
    EXPECT_FALSE(Has(T, "ColProperties"));
    EXPECT_FALSE(Has(T, "RowProperties"));
    EXPECT_FALSE(Has(T, "CellProperties"));
    EXPECT_FALSE(Has(T, "ImageListIds"));
    EXPECT_FALSE(Has(T, "Data = {"));
    Grid->GridCols()->GetCol(2)->SetColor(clRed);
    Grid->SetStoreData(true);
    Grid->SetCellValue(1, 1, Variant("x"));
    Grid->ImageListIds()->Add("{A B}");
    Grid->ImageListIds()->Add("{C}");
    T = GridText();
    EXPECT_TRUE(Has(T, "ColProperties"));
    EXPECT_FALSE(Has(T, "RowProperties"));
    EXPECT_TRUE(Has(T, "Data = {"));
    EXPECT_TRUE(Has(T, "ImageListIds = '\"{A B}\",{C}'")) << T;
    EXPECT_FALSE(Has(T, "ColWidths"));
    EXPECT_FALSE(Has(T, "RowHeights"));
    // And it reads back.
    TForm Form2(nullptr);
    ReadFormText(FormText(Form), Form2);
    auto* G2 = dynamic_cast<TgxGrid*>(Form2.FindComponent("Grid1"));
    ASSERT_NE(G2, nullptr);
    EXPECT_EQ(G2->GridCols()->GetCol(2)->Color(), clRed);
    EXPECT_EQ(G2->GetCellValue(1, 1).AsString(), "x");
    ASSERT_EQ(G2->ImageListIds()->Count(), 2);
    EXPECT_EQ(G2->ImageListIds()->Strings(0), "{A B}");
}

TEST(PersistenceOldForm, AnOldFormsWidthsHeightsEditModeAndHeadingAlignmentStillLoad) {
    EnsureQtApplication();
    TForm Form(nullptr);
    ReadFormText("object Form1: TForm\n"
                 "  object Grid1: TgxGrid\n"
                 "    Cols = 2\n"
                 "    Rows = 2\n"
                 "    ColWidths = (\n      20\n      30\n      40\n      50\n      60)\n"
                 "    RowHeights = (\n      16\n      25\n      26\n      27)\n"
                 "    EditMode = emBrowse\n"
                 "    HeadingAlignment = taCenter\n"
                 "  end\n"
                 "end\n",
                 Form);
    auto* Grid = dynamic_cast<TgxGrid*>(Form.FindComponent("Grid1"));
    ASSERT_NE(Grid, nullptr);
    EXPECT_EQ(Grid->ColWidths(0), 20);
    EXPECT_EQ(Grid->ColWidths(1), 30);
    EXPECT_EQ(Grid->ColWidths(2), 40);
    EXPECT_EQ(Grid->ColCount(), 3);
    EXPECT_EQ(Grid->RowHeights(0), 16);
    EXPECT_EQ(Grid->GetRowBarWidth(), 20);
    EXPECT_EQ(Grid->GetHeadingHeight(), 16);
    EXPECT_EQ(Grid->RowHeights(1), 25);
    EXPECT_EQ(Grid->RowHeights(2), 26);
    EXPECT_EQ(Grid->RowCount(), 3);
    EXPECT_NE(Grid->GridMode(), gmEdit);
    EXPECT_EQ(Grid->HeadingHorzAlignment(), htaCenter);
}

// ---- the registry and files ---------------------------------------------------------------

class PersistenceRegistry : public ScratchConfig {
protected:
    void SetUp() override {
        ScratchConfig::SetUp();
        EnsureQtApplication();
        Grid = new TgxGrid(&Form);
        Grid->SetName("Grid1");
        Grid->SetStoreData(true);
        Grid->SetCellValue(2, 2, Variant("kept"));
        Grid->GridCols()->GetCol(3)->SetColor(clRed);
    }
    TForm Form{nullptr};
    TgxGrid* Grid = nullptr;
};

TEST_F(PersistenceRegistry, AStateInTheRegistryLoadsBackAndAnythingElseLoadsNothing) {
    const AnsiString Key = "\\\\HKEY_CURRENT_USER\\Software\\Beaconmill\\Grids";
    Grid->SaveToRegistry(Key, "Binary", "", true);
    Grid->SaveToRegistry(Key, "ByFile", File("grid.state"), true);
    {
        TRegistry Reg;
        ASSERT_TRUE(Reg.OpenKey("Software\\Beaconmill\\Grids", false));
        EXPECT_EQ(Reg.GetDataType("Binary"), rdBinary);
        EXPECT_EQ(Reg.ReadString("ByFile"), File("grid.state"));
        Reg.WriteInteger("Number", 5);
        Reg.WriteString("Empty", "");
    }
    for (const char* Name : {"Binary", "ByFile"}) {
        auto* G = new TgxGrid(&Form);
        EXPECT_TRUE(G->LoadFromRegistry(Key, Name, cmaNone)) << Name;
        EXPECT_EQ(G->GetCellValue(2, 2).AsString(), "kept") << Name;
        EXPECT_EQ(G->GridCols()->GetCol(3)->Color(), clRed) << Name;
    }
    const struct {
        const char* Key;
        const char* Name;
    } Nothing[] = {{"\\\\HKEY_CURRENT_USER\\Software\\Beaconmill\\Missing", "Binary"},
                   {"\\\\HKEY_CURRENT_USER\\Software\\Beaconmill\\Grids", "Number"},
                   {"\\\\HKEY_CURRENT_USER\\Software\\Beaconmill\\Grids", "Empty"},
                   {"\\\\HKEY_CURRENT_USER\\Software\\Beaconmill\\Grids", "NoSuchValue"}};
    for (const auto& N : Nothing) {
        auto* G = new TgxGrid(&Form);
        G->GridCols()->GetCol(1)->SetColor(clBlue);
        EXPECT_FALSE(G->LoadFromRegistry(N.Key, N.Name, cmaNone)) << N.Name;
        EXPECT_EQ(G->GridCols()->GetCol(1)->Color(), clBlue);
        EXPECT_EQ(G->GridCols()->GetCol(3)->Color(), clNone);
    }
}

TEST_F(PersistenceRegistry, AFileSaveLoadsBackAndAMissingFileRaises) {
    Grid->SaveToFile(File("g.state"), true);
    auto* G = new TgxGrid(&Form);
    G->LoadFromFile(File("g.state"), cmaNone);
    EXPECT_EQ(G->GetCellValue(2, 2).AsString(), "kept");
    EXPECT_THROW(G->LoadFromFile(File("missing.state"), cmaNone), Exception);
    EXPECT_FALSE(G->Reading());
}

} // namespace

namespace {

// A part loaded resets just the chosen properties of the chosen groups,
// then takes the stored ones.
TEST_F(PersistenceReading, APartLoadedChangesOnlyTheChosenProperties) {
    TMemoryStream Stream;
    Grid->SavePropToStream(&Stream, TgxPropKinds{pkCols}, TgxProperties{prColor}, false);
    TgxGrid* G = OtherGrid();
    G->GridCols()->GetCol(2)->SetColor(clBlue);
    G->GridCols()->GetCol(3)->SetColor(clGreen);
    G->GridCols()->GetCol(1)->SetReadOnly(true);
    G->SetRowColor(1, clAqua);
    Stream.SetPosition(0);
    G->LoadFromStream(&Stream, cmaNone);
    EXPECT_EQ(G->GridCols()->GetCol(2)->Color(), clRed);
    EXPECT_EQ(G->GridCols()->GetCol(3)->Color(), clNone);
    EXPECT_TRUE(G->GridCols()->GetCol(1)->ReadOnly());
    EXPECT_EQ(G->GetRowColor(1), clAqua);
}

} // namespace

namespace {

// A load is no user's or program's move: the gated events stay quiet.
TEST_F(PersistenceReading, ALoadRaisesNoMoveOrCountEvents) {
    Grid->ChangeDisplayCol(3, 1);
    TMemoryStream Stream;
    Grid->SaveToStream(&Stream, true);
    TgxGrid* G = OtherGrid();
    G->SetGridRowCount(7);
    int Events = 0;
    G->OnColMoved = [&](TObject*, int, int, bool) { ++Events; };
    G->OnRowCountChanged = [&](TObject*, int, int) { ++Events; };
    G->OnColCountChanged = [&](TObject*, int, int) { ++Events; };
    Stream.SetPosition(0);
    G->LoadFromStream(&Stream, cmaNone);
    EXPECT_EQ(G->GetDataCol(1), 3);
    EXPECT_EQ(G->GetGridRowCount(), 3);
    EXPECT_EQ(Events, 0);
}

} // namespace
