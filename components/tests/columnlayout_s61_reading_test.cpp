// A company grid's column layout kept in the registry: what Save writes,
// what Restore reads back, and how stored values that do not fit the grid
// are handled.
#include "components/PellworthGrid.h"
#include "components/SaveColumnWidths.h"
#include "grid/model/Columns.h"
#include "platform/classes/Filer.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtApp.h"
#include "platform/registry/Registry.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/testing/ScratchConfig.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace components;

namespace {

const char* const Key = "Software\\Layout";
const char* const Section = "Orders";
const char* const Path = "Software\\Layout\\Orders";

class ColumnLayoutStore : public ScratchConfig {
protected:
    void SetUp() override {
        ScratchConfig::SetUp();
        EnsureQtApplication();
    }
    std::unique_ptr<TPellworthGrid> MakeGrid(int Cols) {
        auto Grid = std::make_unique<TPellworthGrid>(nullptr);
        Grid->SetGridColCount(Cols);
        Grid->SetGridRowCount(2);
        for (auto* Store : Stores(*Grid)) {
            Store->SetRegKey(Key);
            Store->SetRegSection(Section);
        }
        return Grid;
    }
    static std::vector<TSavedColumnLayout*> Stores(TPellworthGrid& Grid) {
        return {Grid.SaveColumnWidths(), Grid.SaveColumnPositions()};
    }
    static std::vector<int> Widths(TPellworthGrid& Grid) {
        std::vector<int> Result;
        for (int c = 1; c <= Grid.GetGridColCount(); ++c)
            Result.push_back(Grid.GetCol(c)->Width());
        return Result;
    }
    static std::vector<int> Positions(TPellworthGrid& Grid) {
        std::vector<int> Result;
        for (int c = 1; c <= Grid.GetGridColCount(); ++c)
            Result.push_back(Grid.GetDisplayColnr(c));
        return Result;
    }
    // Values written straight into the key, as another run left them.
    static void Put(const AnsiString& Name, const AnsiString& Text) {
        TRegistry Reg;
        ASSERT_TRUE(Reg.OpenKey(Path, true));
        Reg.WriteString(Name, Text);
    }
    static void PutCount(int Count, HKEY Root = HKEY_CURRENT_USER) {
        TRegistry Reg;
        Reg.SetRootKey(Root);
        ASSERT_TRUE(Reg.OpenKey(Path, true));
        Reg.WriteInteger("ColumnCount", Count);
    }
    static AnsiString Text(const AnsiString& Name, HKEY Root = HKEY_CURRENT_USER) {
        TRegistry Reg;
        Reg.SetRootKey(Root);
        if (!Reg.OpenKey(Path, false) || !Reg.ValueExists(Name))
            return "<missing>";
        return Reg.ReadString(Name);
    }
    static int Count(HKEY Root = HKEY_CURRENT_USER) {
        TRegistry Reg;
        Reg.SetRootKey(Root);
        if (!Reg.OpenKey(Path, false) || Reg.GetDataType("ColumnCount") != rdInteger)
            return -1;
        return Reg.ReadInteger("ColumnCount");
    }
};

TEST_F(ColumnLayoutStore, SaveWritesTheCountAndTheListsInDataColumnOrder) {
    auto Grid = MakeGrid(3);
    const int Set[] = {64, 120, 30};
    for (int c = 1; c <= 3; ++c)
        Grid->GetCol(c)->SetWidth(Set[c - 1]);
    // Data column 1 shown third, 2 first, 3 second.
    Grid->SetDisplayColnr(2, 1);
    Grid->SetDisplayColnr(3, 2);
    ASSERT_EQ(Positions(*Grid), (std::vector<int>{3, 1, 2}));

    Grid->SaveColumnWidths()->Save();
    EXPECT_EQ(Count(), 3);
    EXPECT_EQ(Text("ColumnWidths"), "64,120,30");
    Grid->SaveColumnPositions()->Save();
    EXPECT_EQ(Text("ColumnPositions"), "3,1,2");
    EXPECT_EQ(Count(), 3);

    auto Empty = MakeGrid(0);
    Empty->SaveColumnWidths()->Save();
    Empty->SaveColumnPositions()->Save();
    EXPECT_EQ(Count(), 0);
    EXPECT_EQ(Text("ColumnWidths"), "");
    EXPECT_EQ(Text("ColumnPositions"), "");
}

TEST_F(ColumnLayoutStore, RestorePutsEachColumnAtItsStoredPlace) {
    PutCount(3);
    Put("ColumnPositions", "3,1,2");
    auto Grid = MakeGrid(3);
    Grid->SaveColumnPositions()->Restore();
    EXPECT_EQ(Positions(*Grid), (std::vector<int>{3, 1, 2}));

    Grid->SaveColumnPositions()->Reset();
    EXPECT_EQ(Positions(*Grid), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(Text("ColumnPositions"), "3,1,2"); // Reset leaves the store alone
}

TEST_F(ColumnLayoutStore, WidthListsRestoreAsStored) {
    struct Case {
        int Count;
        const char* List;
        std::vector<int> Widths; // of a three-column grid whose columns start 50 wide
    } const Cases[] = {
        {3, "64,120,30", {64, 120, 30}},
        {2, "80 100", {80, 100, 50}},
        {5, "1,2,3,4,5", {1, 2, 3}},
        {3, "64,x,30", {64, 0, 30}},
        {3, "64", {64, 0, 0}},
        {0, "64,120,30", {50, 50, 50}},
    };
    for (const Case& c : Cases) {
        SCOPED_TRACE(c.List);
        PutCount(c.Count);
        Put("ColumnWidths", c.List);
        auto Grid = MakeGrid(3);
        for (int col = 1; col <= 3; ++col)
            Grid->GetCol(col)->SetWidth(50);
        Grid->SaveColumnWidths()->Restore();
        EXPECT_EQ(Widths(*Grid), c.Widths);
    }
}

TEST_F(ColumnLayoutStore, NormalizeDropsPositionsBeyondTheGridAndStoresItsCount) {
    PutCount(5);
    Put("ColumnPositions", "5,1,2,3,4");
    auto Grid = MakeGrid(3);
    Grid->SaveColumnPositions()->Normalize();
    EXPECT_EQ(Count(), 3);
    EXPECT_EQ(Text("ColumnPositions"), "1,2,3,");
}

TEST_F(ColumnLayoutStore, NothingStoredChangesNothingAndLeavesTheKey) {
    auto Grid = MakeGrid(3);
    Grid->GetCol(2)->SetWidth(77);
    Grid->SetDisplayColnr(3, 1);
    const auto WidthsBefore = Widths(*Grid);
    const auto PositionsBefore = Positions(*Grid);
    Grid->SaveColumnWidths()->Restore();
    EXPECT_EQ(Widths(*Grid), WidthsBefore);
    Grid->SaveColumnPositions()->Restore();
    EXPECT_EQ(Positions(*Grid), PositionsBefore);
    TRegistry Reg;
    EXPECT_TRUE(Reg.KeyExists(Path));
}

// A store edited by hand or left by a grid of another shape must not move
// columns that do not exist, onto the row bar, or run without end.
TEST_F(ColumnLayoutStore, PositionsThatDoNotFitTheGridAreIgnored) {
    struct Case {
        int Count;
        const char* List;
        std::vector<int> Positions;
    } const Cases[] = {
        {5, "1,2,3,1,2", {1, 2, 3}},   // more entries than columns
        {3, "0,1,2", {3, 1, 2}},       // display column 0 is the row bar
        {3, "-4,3,1", {2, 3, 1}},      // negative place
        {3, "2,1", {2, 1, 3}},         // fewer entries than columns
        {2000000000, "2,3,1", {2, 3, 1}}, // a count far beyond the list
        {-7, "2,3,1", {1, 2, 3}},
    };
    for (const Case& c : Cases) {
        SCOPED_TRACE(c.List);
        PutCount(c.Count);
        Put("ColumnPositions", c.List);
        auto Grid = MakeGrid(3);
        Grid->SaveColumnPositions()->Restore();
        EXPECT_EQ(Positions(*Grid), c.Positions);
        EXPECT_EQ(Count(), 3);
    }
}

// A damaged store whose count and list run to a hundred thousand entries
// is read in one pass, not once per entry.
TEST_F(ColumnLayoutStore, AVeryLongStoredListIsReadOnce) {
    AnsiString Long;
    for (int i = 0; i < 100000; ++i)
        Long += i == 1 ? "1," : "9,";
    PutCount(100000);
    Put("ColumnPositions", Long);
    Put("ColumnWidths", "70," + Long);
    auto Grid = MakeGrid(3);
    Grid->SaveColumnWidths()->Restore();
    EXPECT_EQ(Widths(*Grid), (std::vector<int>{70, 9, 1}));
    Grid->SaveColumnPositions()->Restore();
    EXPECT_EQ(Text("ColumnPositions"), "1,");
    EXPECT_EQ(Count(), 3);
    EXPECT_EQ(Positions(*Grid), (std::vector<int>{1, 2, 3}));
}

TEST_F(ColumnLayoutStore, WidthsThatDoNotFitAreIgnored) {
    PutCount(2000000000);
    Put("ColumnWidths", "70,80,90");
    auto Grid = MakeGrid(3);
    Grid->SaveColumnWidths()->Restore();
    EXPECT_EQ(Widths(*Grid), (std::vector<int>{70, 80, 90}));
}

// Widths no grid could show are damage: the column keeps its own, and the
// grid on screen never sums them past its pixel range.
TEST_F(ColumnLayoutStore, WidthsBeyondAnyGridAreIgnored) {
    PutCount(3);
    Put("ColumnWidths", "2000000000,-5,65535");
    auto* Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 400, 300);
    auto Grid = MakeGrid(3);
    Grid->SetParent(Form);
    Grid->SetBounds(0, 0, 300, 200);
    Form->Show();
    for (int c = 1; c <= 3; ++c)
        Grid->GetCol(c)->SetWidth(40);
    Grid->SaveColumnWidths()->Restore();
    EXPECT_EQ(Widths(*Grid), (std::vector<int>{40, 40, 65535}));
    Grid->SetLeftCol(3);
    Grid->Invalidate();
    Grid->Update();
    EXPECT_EQ(Grid->LeftCol(), 3);
    Grid->SetParent(nullptr);
    delete Form;
}

TEST_F(ColumnLayoutStore, ValuesOfAnotherTypeReadAsMissing) {
    {
        TRegistry Reg;
        ASSERT_TRUE(Reg.OpenKey(Path, true));
        Reg.WriteString("ColumnCount", "3");
        Reg.WriteInteger("ColumnWidths", 12);
    }
    auto Grid = MakeGrid(3);
    Grid->GetCol(1)->SetWidth(44);
    Grid->SaveColumnWidths()->Restore();
    EXPECT_EQ(Grid->GetCol(1)->Width(), 44);
}

TEST_F(ColumnLayoutStore, TheRootSelectsTheStore) {
    auto Grid = MakeGrid(2);
    Grid->GetCol(1)->SetWidth(11);
    Grid->GetCol(2)->SetWidth(22);
    Grid->SaveColumnWidths()->SetRegRoot(rrLocalMachine);
    Grid->SaveColumnWidths()->Save();
    EXPECT_EQ(Text("ColumnWidths", HKEY_LOCAL_MACHINE), "11,22");
    EXPECT_EQ(Text("ColumnWidths", HKEY_CURRENT_USER), "<missing>");

    // A byte beyond the last root keeps the root the registry object has.
    Grid->SaveColumnWidths()->SetRegRoot(static_cast<TRegistryRoot>(9));
    Grid->GetCol(1)->SetWidth(33);
    Grid->SaveColumnWidths()->Save();
    EXPECT_EQ(Text("ColumnWidths", HKEY_LOCAL_MACHINE), "33,22");
}

TEST_F(ColumnLayoutStore, AssignCopiesTheSettingsOfItsOwnClassOnly) {
    auto Grid = MakeGrid(1);
    TSaveColumnWidths Source(Grid.get());
    Source.SetRegRoot(rrUsers);
    Source.SetRegKey("K");
    Source.SetRegSection("S");
    Source.SetEnabled(true);
    Grid->SetSaveColumnWidths(&Source);
    auto* Own = Grid->SaveColumnWidths();
    EXPECT_NE(Own, &Source);
    EXPECT_EQ(Own->RegRoot(), rrUsers);
    EXPECT_EQ(Own->RegKey(), "K");
    EXPECT_EQ(Own->RegSection(), "S");
    EXPECT_TRUE(Own->Enabled());
    EXPECT_THROW(Grid->SaveColumnPositions()->Assign(&Source), EConvertError);
    EXPECT_THROW(Grid->SetSaveColumnWidths(nullptr), EConvertError);
    EXPECT_THROW(Grid->SetSaveColumnPositions(nullptr), EConvertError);
    EXPECT_EQ(Own->RegKey(), "K");
}

// The grid restores when a form stream has loaded it and saves when it goes,
// each only with Enabled.
TEST_F(ColumnLayoutStore, TheGridRestoresOnLoadAndSavesOnDestructionWhenEnabled) {
    for (const bool Enabled : {false, true}) {
        SCOPED_TRACE(Enabled);
        ScratchConfig::TearDown();
        ScratchConfig::SetUp();
        PutCount(2);
        Put("ColumnWidths", "15,25");
        Put("ColumnPositions", "2,1");

        auto Written = MakeGrid(2);
        for (auto* Store : Stores(*Written))
            Store->SetEnabled(Enabled);
        TMemoryStream Stream;
        WriteComponentRes(&Stream, Written.get());
        Written.reset(); // saves the natural layout when enabled

        Put("ColumnWidths", "15,25");
        Put("ColumnPositions", "2,1");
        auto Read = std::make_unique<TPellworthGrid>(nullptr);
        Stream.SetPosition(0);
        ReadComponentRes(&Stream, Read.get());
        EXPECT_EQ(Read->SaveColumnWidths()->Enabled(), Enabled);
        EXPECT_EQ(Read->SaveColumnPositions()->RegSection(), Section);
        if (Enabled) {
            EXPECT_EQ(Widths(*Read), (std::vector<int>{15, 25}));
            EXPECT_EQ(Positions(*Read), (std::vector<int>{2, 1}));
        } else {
            EXPECT_NE(Widths(*Read), (std::vector<int>{15, 25}));
            EXPECT_EQ(Positions(*Read), (std::vector<int>{1, 2}));
        }
        Read->GetCol(1)->SetWidth(41);
        Read.reset();
        EXPECT_EQ(Text("ColumnWidths"), Enabled ? "41,25" : "15,25");
    }
}

} // namespace
