#include "components/PellworthGrid.h"
#include "components/SaveColumnWidths.h"
#include "grid/model/Columns.h"
#include "platform/classes/Filer.h"
#include "platform/classes/ObjectText.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtApp.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/testing/ScratchConfig.h"

#include <gtest/gtest.h>

#include <memory>

using namespace components;

namespace {

const char* const WidthsKey = "Software\\Pellworth\\Layout";
const char* const WidthsSection = "Orders";
const char* const WidthsPath = "Software\\Pellworth\\Layout\\Orders";

// A three-column company grid whose savers store under one key, and a
// registry to look at what they wrote.
class ColumnLayoutTest : public ScratchConfig {
protected:
    void SetUp() override {
        ScratchConfig::SetUp();
        EnsureQtApplication();
        Grid = MakeGrid();
    }
    std::unique_ptr<TPellworthGrid> MakeGrid() {
        auto G = std::make_unique<TPellworthGrid>(nullptr);
        G->SetGridColCount(3);
        G->SetGridRowCount(2);
        for (TSavedColumnLayout* Saver :
             {static_cast<TSavedColumnLayout*>(G->SaveColumnWidths()),
              static_cast<TSavedColumnLayout*>(G->SaveColumnPositions())}) {
            Saver->SetRegKey(WidthsKey);
            Saver->SetRegSection(WidthsSection);
        }
        return G;
    }
    void Store(int Count, const AnsiString& Name, const AnsiString& List) {
        TRegistry Reg;
        ASSERT_TRUE(Reg.OpenKey(WidthsPath, true));
        Reg.WriteInteger("ColumnCount", Count);
        Reg.WriteString(Name, List);
    }
    static AnsiString Stored(const AnsiString& Name, HKEY Root = HKEY_CURRENT_USER) {
        TRegistry Reg;
        Reg.SetRootKey(Root);
        if (!Reg.OpenKey(WidthsPath, false) || !Reg.ValueExists(Name)) return "<none>";
        return Reg.GetDataType(Name) == rdInteger ? IntToStr(Reg.ReadInteger(Name))
                                                  : Reg.ReadString(Name);
    }
    std::vector<int> Widths() const {
        return {Grid->GetCol(1)->Width(), Grid->GetCol(2)->Width(), Grid->GetCol(3)->Width()};
    }
    std::vector<int> Positions() const {
        return {Grid->GetDisplayColnr(1), Grid->GetDisplayColnr(2), Grid->GetDisplayColnr(3)};
    }

    std::unique_ptr<TPellworthGrid> Grid;
};

TEST_F(ColumnLayoutTest, WidthsAndPositionsAreSavedAsListsWithTheColumnCount) {
    Grid->GetCol(1)->SetWidth(64);
    Grid->GetCol(2)->SetWidth(120);
    Grid->GetCol(3)->SetWidth(30);
    // Data column 1 shown third, 2 first, 3 second.
    Grid->SetDisplayColnr(1, 3);
    ASSERT_EQ(Positions(), (std::vector<int>{3, 1, 2}));

    Grid->SaveColumnWidths()->Save();
    Grid->SaveColumnPositions()->Save();
    EXPECT_EQ(Stored("ColumnCount"), "3");
    EXPECT_EQ(Stored("ColumnWidths"), "64,120,30");
    EXPECT_EQ(Stored("ColumnPositions"), "3,1,2");

    // A fresh grid in natural order takes the saved layout back.
    Grid = MakeGrid();
    Grid->SaveColumnWidths()->Restore();
    Grid->SaveColumnPositions()->Restore();
    EXPECT_EQ(Widths(), (std::vector<int>{64, 120, 30}));
    EXPECT_EQ(Positions(), (std::vector<int>{3, 1, 2}));
    Grid->SaveColumnPositions()->Reset();
    EXPECT_EQ(Positions(), (std::vector<int>{1, 2, 3}));
}

TEST_F(ColumnLayoutTest, StoredWidthListsAreReadLeniently) {
    struct Case {
        int Count;
        const char* Widths;
        std::vector<int> Expected;
    } Cases[] = {
        {2, "80 100", {80, 100, 64}},        // blanks separate too
        {5, "10,20,30,40,50", {10, 20, 30}}, // more stored than the grid has
        {3, "10,x", {10, 0, 0}},             // a bad or missing number is 0
        {0, "10,20,30", {64, 64, 64}},       // no count: nothing restored
    };
    for (const Case& C : Cases) {
        Grid = MakeGrid();
        Store(C.Count, "ColumnWidths", C.Widths);
        Grid->SaveColumnWidths()->Restore();
        EXPECT_EQ(Widths(), C.Expected) << C.Widths;
    }
}

TEST_F(ColumnLayoutTest, PositionsAreNormalisedToTheGridBeforeTheyAreRestored) {
    Store(5, "ColumnPositions", "2,5,1,4,3");
    Grid->SaveColumnPositions()->Restore();
    EXPECT_EQ(Stored("ColumnCount"), "3");
    EXPECT_EQ(Stored("ColumnPositions"), "2,1,3");
    // The k-th entry of the normalised list places data column k.
    EXPECT_EQ(Positions(), (std::vector<int>{2, 1, 3}));

    // A list whose last entries are dropped keeps its separator, which ends
    // the list when it is read.
    Store(5, "ColumnPositions", "3,1,2,4,5");
    Grid->SaveColumnPositions()->Restore();
    EXPECT_EQ(Stored("ColumnPositions"), "3,1,2,");
    EXPECT_EQ(Positions(), (std::vector<int>{3, 1, 2}));
}

TEST_F(ColumnLayoutTest, ADamagedCountCostsNoMoreThanTheStoredList) {
    // Far more columns than any list holds, as a damaged store may say.
    Store(2000000000, "ColumnPositions", "2,3,1");
    Grid->SaveColumnPositions()->Restore();
    EXPECT_EQ(Stored("ColumnPositions"), "2,3,1");
    EXPECT_EQ(Positions(), (std::vector<int>{2, 3, 1}));
    Store(2000000000, "ColumnWidths", "70,80,90");
    Grid->SaveColumnWidths()->Restore();
    EXPECT_EQ(Widths(), (std::vector<int>{70, 80, 90}));
    // A negative count restores nothing.
    Grid = MakeGrid();
    Store(-5, "ColumnPositions", "2,3,1");
    Grid->SaveColumnPositions()->Restore();
    EXPECT_EQ(Positions(), (std::vector<int>{1, 2, 3}));
}

TEST_F(ColumnLayoutTest, NothingStoredChangesNothingAndCreatesTheKey) {
    Grid->SaveColumnWidths()->Restore();
    Grid->SaveColumnPositions()->Restore();
    EXPECT_EQ(Widths(), (std::vector<int>{64, 64, 64}));
    EXPECT_EQ(Positions(), (std::vector<int>{1, 2, 3}));
    TRegistry Reg;
    EXPECT_TRUE(Reg.KeyExists(WidthsPath));
}

TEST_F(ColumnLayoutTest, TheCountIsAnIntegerAndReadingItAsTextIsRefused) {
    Grid->SaveColumnWidths()->Save();
    TRegistry Reg;
    ASSERT_TRUE(Reg.OpenKey(WidthsPath, false));
    EXPECT_EQ(Reg.GetDataType("ColumnCount"), rdInteger);
    try {
        Reg.ReadString("ColumnCount");
        ADD_FAILURE() << "read as text";
    } catch (const ERegistryException& E) {
        EXPECT_EQ(E.Message, "Invalid data type for 'ColumnCount'");
    }
}

TEST_F(ColumnLayoutTest, TheRootSelectsTheStoreAndAByteBeyondTheLastKeepsTheRoot) {
    TSaveColumnWidths* Widths = Grid->SaveColumnWidths();
    Widths->SetRegRoot(rrLocalMachine);
    Widths->Save();
    EXPECT_EQ(Stored("ColumnWidths", HKEY_LOCAL_MACHINE), "64,64,64");
    EXPECT_EQ(Stored("ColumnWidths"), "<none>");
    EXPECT_TRUE(std::filesystem::exists(File("HKEY_LOCAL_MACHINE.reg")));

    // A stored byte past rrDynData selects nothing: the root in use stays.
    Widths->SetRegRoot(static_cast<TRegistryRoot>(6));
    Grid->GetCol(1)->SetWidth(99);
    Widths->Save();
    EXPECT_EQ(Stored("ColumnWidths", HKEY_LOCAL_MACHINE), "99,64,64");
    EXPECT_EQ(TSaveColumnWidths(nullptr).Registry().RootKey(), HKEY_CURRENT_USER);
}

TEST_F(ColumnLayoutTest, AssignCopiesTheSettingsOfTheSameClassOnly) {
    TSaveColumnWidths Source(nullptr);
    Source.SetRegRoot(rrUsers);
    Source.SetRegKey("K");
    Source.SetRegSection("S");
    Source.SetEnabled(true);
    Grid->SetSaveColumnWidths(&Source);
    TSaveColumnWidths* Own = Grid->SaveColumnWidths();
    EXPECT_NE(Own, &Source);
    EXPECT_EQ(Own->RegRoot(), rrUsers);
    EXPECT_EQ(Own->RegKey(), "K");
    EXPECT_EQ(Own->RegSection(), "S");
    EXPECT_TRUE(Own->Enabled());

    TSaveColumnPositions Other(nullptr);
    EXPECT_THROW(Own->Assign(&Other), EConvertError);
}

TEST_F(ColumnLayoutTest, TheGridRestoresWhenLoadedAndSavesWhenFreedOnlyWhenEnabled) {
    Store(3, "ColumnWidths", "11,22,33");
    Grid->Loaded();
    EXPECT_EQ(Widths(), (std::vector<int>{64, 64, 64})) << "not enabled";

    Grid->SaveColumnWidths()->SetEnabled(true);
    Grid->SaveColumnPositions()->SetEnabled(true);
    Grid->Loaded();
    EXPECT_EQ(Widths(), (std::vector<int>{11, 22, 33}));

    Grid->GetCol(2)->SetWidth(50);
    Grid->SetDisplayColnr(3, 1);
    Grid.reset();
    EXPECT_EQ(Stored("ColumnWidths"), "11,50,33");
    EXPECT_EQ(Stored("ColumnPositions"), "2,3,1");
}

TEST_F(ColumnLayoutTest, ASaverWithoutAGridRefusesToWork) {
    TSaveColumnWidths Loose(nullptr);
    EXPECT_THROW(Loose.Save(), EInvalidOperation);
}

} // namespace

namespace {

AnsiString StreamText(TStringStream& Stream) {
    TStringStream In(Stream.DataString()), Out;
    ObjectBinaryToText(&In, &Out);
    return Out.DataString();
}

TEST_F(ColumnLayoutTest, AFormStreamCarriesTheSaversAndLoadingRestoresTheLayout) {
    TForm Form(nullptr);
    Form.SetName("OrdersForm");
    auto* G = new TPellworthGrid(&Form);
    G->SetName("Orders");
    G->SetParent(&Form);
    G->SetGridColCount(3);
    G->SetRowSelect(true);
    G->SaveColumnWidths()->SetRegKey(WidthsKey);
    G->SaveColumnWidths()->SetRegSection(WidthsSection);
    G->SaveColumnWidths()->SetEnabled(true);
    G->SaveColumnPositions()->SetRegRoot(rrLocalMachine);

    TStringStream Stream;
    WriteComponentRes(&Stream, &Form);
    const AnsiString Text = StreamText(Stream);
    for (const char* Line :
         {"  object Orders: TPellworthGrid\n", "    RowSelect = True\n",
          "    SaveColumnWidths.RegKey = 'Software\\Pellworth\\Layout'\n",
          "    SaveColumnWidths.RegSection = 'Orders'\n", "    SaveColumnWidths.Enabled = True\n",
          "    SaveColumnPositions.RegRoot = rrLocalMachine\n"})
        EXPECT_NE(Text.find(Line), AnsiString::npos) << Line << Text;
    EXPECT_EQ(Text.find("StoreData"), AnsiString::npos) << "the company default is not written";

    Store(3, "ColumnWidths", "40,50,60");
    TForm Copy(nullptr);
    Stream.SetPosition(0);
    ReadComponentRes(&Stream, &Copy);
    auto* Read = dynamic_cast<TPellworthGrid*>(Copy.FindComponent("Orders"));
    ASSERT_NE(Read, nullptr);
    EXPECT_TRUE(Read->RowSelect());
    EXPECT_EQ(Read->SaveColumnPositions()->RegRoot(), rrLocalMachine);
    EXPECT_EQ(Read->GetCol(2)->Width(), 50) << "restored when the form finished loading";
}

} // namespace
