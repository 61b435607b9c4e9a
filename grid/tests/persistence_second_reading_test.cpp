// The saved grid state (stream, file, registry) and the grid's form data,
// through real component streams, binary and as form text.
#include "FormTextFixture.h"
#include "grid/model/Columns.h"
#include "grid/model/GxGrid.h"
#include "platform/classes/ObjectText.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtApp.h"
#include "platform/registry/Registry.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

using namespace grid;

namespace {

class GridStatePersistence : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        char Tmpl[] = "/tmp/gridstateXXXXXX";
        Dir = mkdtemp(Tmpl);
        setenv("BEACONMILL_CONFIG", Dir.c_str(), 1);
        Form = new TForm(nullptr);
        Form->SetName("Form1");
        Source = MakeGrid("Grid1", 4, 5);
        Source->GetCol(Variant(3))->SetFieldName("price");
        Source->GetCol(Variant(4))->SetFieldName("name");
    }
    void TearDown() override {
        delete Form;
        unsetenv("BEACONMILL_CONFIG");
        std::filesystem::remove_all(Dir);
    }
    TgxGrid* MakeGrid(const char* Name, int Cols, int Rows) {
        auto* G = new TgxGrid(Form);
        G->SetName(Name);
        G->SetParent(Form);
        G->SetStoreData(true);
        G->SetGridColCount(Cols);
        G->SetGridRowCount(Rows);
        return G;
    }
    static std::string Bytes(TMemoryStream& S) {
        return std::string(static_cast<const char*>(S.Memory()),
                           static_cast<std::size_t>(S.GetSize()));
    }
    // The 5 bytes stored as "Properties".
    static std::string StoredProperties(TMemoryStream& S) {
        const std::string B = Bytes(S);
        const std::size_t At = B.find("\x0aProperties");
        if (At == std::string::npos) return "missing";
        // a string value: its type byte, its length byte, the bytes
        return B.substr(At + 11 + 2, 5);
    }

    // The saved state as form text (the embedded grid stays binary).
    static std::string AsText(TMemoryStream& S) {
        TMemoryStream Text;
        S.SetPosition(0);
        ObjectBinaryToText(&S, &Text);
        S.SetPosition(0);
        return Bytes(Text);
    }

    std::string Dir;
    TForm* Form = nullptr;
    TgxGrid* Source = nullptr;
};

// Saved and loaded whole, binary and through the form text, the grid comes
// back with its counts, column, row and cell properties, grid-level
// properties and values.
TEST_F(GridStatePersistence, WholeStateComesBackThroughBinaryAndTextStreams) {
    Source->GetCol(Variant(2))->SetColor(clRed);
    Source->GetCol(Variant(3))->SetWidth(77);
    Source->SetRowColor(3, clBlue);
    Source->SetCellColor(2, 4, clGreen);
    Source->SetCellValue(1, 2, Variant("apple"));
    Source->SetCellValue(4, 5, Variant(42));
    Source->SetDefaultButtonWidth(17);

    for (bool AsText : {false, true}) {
        TMemoryStream Saved;
        Source->SaveToStream(&Saved, true);
        Saved.SetPosition(0);
        EXPECT_EQ(Bytes(Saved).substr(0, 4), "TPF0");
        EXPECT_NE(Bytes(Saved).find("TgxGridStreamComponent"), std::string::npos);
        TMemoryStream Loaded;
        if (AsText) {
            TMemoryStream Text;
            ObjectBinaryToText(&Saved, &Text);
            Text.SetPosition(0);
            ObjectTextToBinary(&Text, &Loaded);
            Loaded.SetPosition(0);
        }
        TgxGrid* Target = MakeGrid(AsText ? "Text" : "Binary", 2, 2);
        Target->LoadFromStream(AsText ? &Loaded : &Saved, cmaNone);
        SCOPED_TRACE(AsText ? "text" : "binary");
        EXPECT_EQ(Target->GetGridColCount(), 4);
        EXPECT_EQ(Target->GetGridRowCount(), 5);
        EXPECT_EQ(Target->GetCol(Variant(2))->Color(), clRed);
        EXPECT_EQ(Target->GetCol(Variant(3))->Width(), 77);
        EXPECT_EQ(Target->GetCol(Variant(3))->FieldName(), "price");
        EXPECT_EQ(Target->GetRowColor(3), clBlue);
        EXPECT_EQ(Target->GetCellColor(2, 4), clGreen);
        EXPECT_EQ(Target->GetCellValue(1, 2).AsString(), "apple");
        EXPECT_EQ(Target->GetCellValue(4, 5).AsString(), "42");
        EXPECT_EQ(Target->DefaultButtonWidth(), 17);
        EXPECT_EQ(Target->ColMatch(), cmaNone);
        EXPECT_FALSE(Target->Reading());
    }
}

TEST_F(GridStatePersistence, ValuesStayOutUnlessAskedFor) {
    Source->SetCellValue(2, 2, Variant("secret-value"));
    for (bool SaveData : {false, true}) {
        TMemoryStream Saved;
        Source->SaveToStream(&Saved, SaveData);
        EXPECT_EQ(Bytes(Saved).find("secret-value") != std::string::npos, SaveData);
    }
}

// A load raises none of the grid's change events on the way.
TEST_F(GridStatePersistence, LoadingRaisesNoChangeEvents) {
    Source->GetCol(Variant(2))->SetWidth(90);
    TMemoryStream Saved;
    Source->SaveToStream(&Saved, true);
    Saved.SetPosition(0);
    TgxGrid* Target = MakeGrid("Target", 2, 2);
    int Events = 0;
    Target->OnColCountChanged = [&](TObject*, int, int) { ++Events; };
    Target->OnRowCountChanged = [&](TObject*, int, int) { ++Events; };
    Target->OnColResized = [&](TObject*, int) { ++Events; };
    Target->LoadFromStream(&Saved, cmaNone);
    EXPECT_EQ(Events, 0);
    EXPECT_EQ(Target->GetCol(Variant(2))->Width(), 90);
    EXPECT_TRUE(Target->CanActivateEvent());
}

// A partial save stores its property set as 5 bytes, widens the alignment
// trio, and leaves the grid itself alone.
TEST_F(GridStatePersistence, PartialSaveStoresThePropertySetAndLeavesTheGridAlone) {
    Source->GetCol(Variant(2))->SetColor(clRed);
    Source->GetCol(Variant(3))->SetWidth(77);
    struct TCase {
        TgxProperties Chosen;
        std::string Stored;
    } Cases[] = {
        {{prColor}, std::string("\x01\x00\x00\x00\x00", 5)},
        {{prAlign}, std::string("\xC0\x00\x00\x10\x00", 5)},
        {AllProperties(), std::string("\xFF\xFF\xFF\xFF\x01", 5)},
    };
    for (const auto& C : Cases) {
        TMemoryStream Saved;
        Source->SavePropToStream(&Saved, AllPropKinds, C.Chosen, false);
        EXPECT_EQ(StoredProperties(Saved), C.Stored);
        EXPECT_EQ(Source->GetCol(Variant(3))->Width(), 77);
        EXPECT_EQ(Source->GetCol(Variant(2))->Color(), clRed);
    }
}

// Only the chosen properties travel, and only those are reset on loading.
TEST_F(GridStatePersistence, PartialLoadResetsOnlyTheChosenProperties) {
    Source->GetCol(Variant(2))->SetColor(clRed);
    Source->GetCol(Variant(3))->SetReadOnly(true);
    TMemoryStream Saved;
    Source->SavePropToStream(&Saved, TgxPropKinds{pkCols}, TgxProperties{prColor}, false);
    EXPECT_EQ(AsText(Saved).find("ReadOnly"), std::string::npos) << AsText(Saved);
    EXPECT_TRUE(Source->GetCol(Variant(3))->ReadOnly());

    TgxGrid* Target = MakeGrid("Target", 4, 3);
    Target->GetCol(Variant(3))->SetIs3D(true);
    Target->GetCol(Variant(4))->SetColor(clYellow);
    Target->LoadFromStream(&Saved, cmaNone);
    EXPECT_EQ(Target->GetCol(Variant(2))->Color(), clRed);
    EXPECT_EQ(Target->GetCol(Variant(4))->Color(), clNone);
    EXPECT_TRUE(Target->GetCol(Variant(3))->Is3D());
    EXPECT_FALSE(Target->GetCol(Variant(3))->ReadOnly());
}

TEST_F(GridStatePersistence, RowCountTravelsInsideTheGridWhenBothAreSaved) {
    struct TCase {
        TgxPropKinds Kinds;
        bool RowsWritten;
    } Cases[] = {
        {TgxPropKinds{pkGrid, pkRows}, false},
        {TgxPropKinds{pkRows}, true},
    };
    for (const auto& C : Cases) {
        TMemoryStream Saved;
        Source->SavePropToStream(&Saved, C.Kinds, AllProperties(), false);
        const std::string Text = AsText(Saved);
        EXPECT_EQ(Text.find("  Rows = ") != std::string::npos, C.RowsWritten) << Text;
        Saved.SetPosition(0);
        TgxGrid* Target = MakeGrid(C.RowsWritten ? "RowsOnly" : "GridRows", 4, 2);
        Target->LoadFromStream(&Saved, cmaNone);
        EXPECT_EQ(Target->GetGridRowCount(), 5);
    }
}

// Matching by field name keeps the grid's columns and the properties of
// columns the stream does not speak of.
TEST_F(GridStatePersistence, FieldNameMatchKeepsTheColumnCountAndOtherColumns) {
    Source->GetCol(Variant(3))->SetColor(clRed);
    Source->SetCellValue(3, 1, Variant("x"));
    TMemoryStream Saved;
    Source->SaveToStream(&Saved, true);
    Saved.SetPosition(0);

    TgxGrid* Target = MakeGrid("Target", 2, 2);
    Target->GetCol(Variant(1))->SetFieldName("price");
    Target->GetCol(Variant(2))->SetFieldName("other");
    Target->GetCol(Variant(2))->SetColor(clYellow);
    Target->LoadFromStream(&Saved, cmaFieldName);
    EXPECT_EQ(Target->GetGridColCount(), 2);
    EXPECT_EQ(Target->GetCol(Variant(1))->Color(), clRed);
    EXPECT_EQ(Target->GetCol(Variant(2))->Color(), clYellow);
    EXPECT_EQ(Target->GetCellValue(1, 1).AsString(), "x");
    EXPECT_EQ(Target->ColMatch(), cmaNone);
}

TEST_F(GridStatePersistence, FilesAndRegistryHoldTheState) {
    Source->GetCol(Variant(2))->SetColor(clRed);
    Source->SetCellValue(1, 1, Variant("kept"));
    const AnsiString File = Dir + "/grid.state";
    Source->SaveToFile(File, true);
    TgxGrid* FromFile = MakeGrid("FromFile", 1, 1);
    FromFile->LoadFromFile(File, cmaNone);
    EXPECT_EQ(FromFile->GetCol(Variant(2))->Color(), clRed);
    EXPECT_EQ(FromFile->GetCellValue(1, 1).AsString(), "kept");
    EXPECT_THROW(FromFile->LoadFromFile(Dir + "/missing.state", cmaNone), EFOpenError);
    EXPECT_THROW(Source->SaveToFile(Dir + "/no/such/folder/x", true), EFCreateError);

    const AnsiString Key = "Software\\GridTest";
    Source->SaveToRegistry(Key, "Binary", "", true);
    Source->SaveToRegistry(Key, "Named", Dir + "/named.state", true);
    for (const char* Value : {"Binary", "Named"}) {
        TgxGrid* Target = MakeGrid(Value, 1, 1);
        EXPECT_TRUE(Target->LoadFromRegistry(Key, Value, cmaNone)) << Value;
        EXPECT_EQ(Target->GetCol(Variant(2))->Color(), clRed) << Value;
        EXPECT_EQ(Target->GetCellValue(1, 1).AsString(), "kept") << Value;
    }
    {
        TRegistry Reg;
        ASSERT_TRUE(Reg.OpenKey(Key, true));
        Reg.WriteInteger("Number", 5);
        Reg.WriteString("Empty", "");
    }
    TgxGrid* Untouched = MakeGrid("Untouched", 3, 3);
    for (const char* Value : {"Number", "Empty", "Absent"})
        EXPECT_FALSE(Untouched->LoadFromRegistry(Key, Value, cmaNone)) << Value;
    EXPECT_FALSE(Untouched->LoadFromRegistry("Software\\NoSuchGridKey", "Binary", cmaNone));
    EXPECT_EQ(Untouched->GetGridColCount(), 3);
    EXPECT_EQ(Untouched->GetGridRowCount(), 3);
}

TEST_F(GridStatePersistence, DamagedStreamRaisesAndLeavesTheGridAsItWas) {
    Source->SetCellValue(1, 1, Variant("before"));
    TMemoryStream Good;
    TgxGrid* Other = MakeGrid("Other", 6, 6);
    Other->SaveToStream(&Good, true);
    const std::string B = Bytes(Good);
    for (std::size_t Cut : {std::size_t(3), B.size() / 2, B.size() - 1}) {
        TMemoryStream Broken;
        Broken.WriteBuffer(B.data(), static_cast<int>(Cut));
        Broken.SetPosition(0);
        EXPECT_ANY_THROW(Source->LoadFromStream(&Broken, cmaNone)) << Cut;
        EXPECT_EQ(Source->GetGridColCount(), 4) << Cut;
        EXPECT_EQ(Source->GetGridRowCount(), 5) << Cut;
        EXPECT_EQ(Source->GetCellValue(1, 1).AsString(), "before") << Cut;
        EXPECT_FALSE(Source->Reading());
        EXPECT_EQ(Source->ColMatch(), cmaNone);
    }
}

TEST_F(GridStatePersistence, SaveAllCounterNestsAndDoesNotGoBelowZero) {
    EXPECT_TRUE(Source->GetSaveAllProps());
    Source->SetSaveAllProps(false);
    Source->SetSaveAllProps(false);
    Source->SetSaveAllProps(true);
    EXPECT_FALSE(Source->GetSaveAllProps());
    Source->SetSaveAllProps(true);
    EXPECT_TRUE(Source->GetSaveAllProps());
    Source->SetSaveAllProps(true);
    Source->SetSaveAllProps(false);
    EXPECT_FALSE(Source->GetSaveAllProps());
    Source->SetSaveAllProps(true);
}

// On a form: only non-default columns are written; "ColWidths" and
// "RowHeights" are never written but an older form's are read.
TEST_F(GridStatePersistence, FormWritesNoDefaultColumnsAndReadsOldWidthLists) {
    Source->GetCol(Variant(3))->SetFieldName("");
    Source->GetCol(Variant(4))->SetFieldName("");
    std::string Text = FormText(*Form);
    EXPECT_EQ(Text.find("ColProperties"), std::string::npos) << Text;
    EXPECT_EQ(Text.find("ColWidths"), std::string::npos);
    EXPECT_EQ(Text.find("RowHeights"), std::string::npos);
    Source->GetCol(Variant(2))->SetColor(clRed);
    Text = FormText(*Form);
    EXPECT_NE(Text.find("ColProperties"), std::string::npos);
    EXPECT_EQ(Text.find("ColWidths"), std::string::npos);
    // With save-all held off the columns and values stay out.
    Source->SetSaveAllProps(false);
    const std::string Held = FormText(*Form);
    Source->SetSaveAllProps(true);
    EXPECT_EQ(Held.find("ColProperties"), std::string::npos);
    EXPECT_EQ(Held.find(" Data = {"), std::string::npos);
    EXPECT_NE(Text.find(" Data = {"), std::string::npos);

    // An older form: widths for the row bar and all columns and more.
    const std::size_t At = Text.find("object Grid1");
    ASSERT_NE(At, std::string::npos);
    const std::size_t LineEnd = Text.find('\n', At);
    Text.insert(LineEnd + 1, "    ColWidths = (\n      12\n      31\n      41\n      51\n      61\n"
                             "      71\n      81)\n    RowHeights = (\n      19\n      23)\n");
    TForm Older(nullptr);
    ReadFormText(Text, Older);
    auto* Read = dynamic_cast<TgxGrid*>(Older.FindComponent("Grid1"));
    ASSERT_NE(Read, nullptr);
    EXPECT_EQ(Read->ColWidths(1), 31);
    EXPECT_EQ(Read->ColWidths(4), 61);
    EXPECT_EQ(Read->RowHeights(1), 23);
    EXPECT_EQ(Read->GetGridColCount(), 4);
    EXPECT_EQ(Read->GetCol(Variant(2))->Color(), clRed);
}

// A form read back keeps rows, cells, values and the image-list ids, one
// with a blank and a comma among them.
TEST_F(GridStatePersistence, FormTextCarriesRowsCellsValuesAndImageListIds) {
    Source->SetRowColor(2, clBlue);
    Source->SetCellColor(3, 4, clGreen);
    Source->SetCellValue(4, 1, Variant("v"));
    Source->ImageListIds()->Add("plain");
    Source->ImageListIds()->Add("with blank, comma");
    const std::string Text = FormText(*Form);
    TForm Copy(nullptr);
    ReadFormText(Text, Copy);
    auto* Read = dynamic_cast<TgxGrid*>(Copy.FindComponent("Grid1"));
    ASSERT_NE(Read, nullptr);
    EXPECT_EQ(Read->GetRowColor(2), clBlue);
    EXPECT_EQ(Read->GetCellColor(3, 4), clGreen);
    EXPECT_EQ(Read->GetCellValue(4, 1).AsString(), "v");
    ASSERT_EQ(Read->ImageListIds()->Count(), 2);
    EXPECT_EQ(Read->ImageListIds()->Strings(1), "with blank, comma");
}

// An older saved state stored its properties as a set: all are taken.
TEST_F(GridStatePersistence, OlderPropertySetSelectsEveryProperty) {
    Source->GetCol(Variant(2))->SetColor(clRed);
    TMemoryStream Saved;
    Source->SavePropToStream(&Saved, TgxPropKinds{pkCols}, TgxProperties{prColor}, false);
    std::string Text = AsText(Saved);
    const std::size_t At = Text.find("Properties = #1#0#0#0#0");
    ASSERT_NE(At, std::string::npos) << Text;
    Text.replace(At, 23, "Properties = [prColor]");
    TMemoryStream TextStream, Older;
    TextStream.WriteBuffer(Text.data(), static_cast<int>(Text.size()));
    TextStream.SetPosition(0);
    ObjectTextToBinary(&TextStream, &Older);
    Older.SetPosition(0);

    TgxGrid* Target = MakeGrid("Target", 4, 3);
    Target->GetCol(Variant(3))->SetIs3D(true);
    Target->LoadFromStream(&Older, cmaNone);
    EXPECT_EQ(Target->GetCol(Variant(2))->Color(), clRed);
    EXPECT_FALSE(Target->GetCol(Variant(3))->Is3D());
}

TEST_F(GridStatePersistence, AStreamOfAnotherClassIsRefused) {
    TMemoryStream Other;
    WriteComponentRes(&Other, Form);
    Other.SetPosition(0);
    EXPECT_ANY_THROW(Source->LoadFromStream(&Other, cmaNone));
    EXPECT_EQ(Source->GetGridColCount(), 4);
    EXPECT_FALSE(Source->Reading());
}

} // namespace
