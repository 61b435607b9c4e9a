// A company grid's column widths and order kept in the registry: what is
// written, how it is read back, and when the grid itself saves and restores.
#include "components/PellworthGrid.h"
#include "components/SaveColumnWidths.h"
#include "grid/model/Columns.h"
#include "platform/classes/Filer.h"
#include "platform/classes/ObjectText.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtApp.h"
#include "platform/registry/Registry.h"
#include "platform/rtl/Streams.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <algorithm>
#include <vector>

using namespace components;

namespace {

// A grid as a designer holds it on the form it edits.
struct TDesignedGrid : TPellworthGrid {
    explicit TDesignedGrid(TComponent* AOwner, bool Designing) : TPellworthGrid(AOwner) {
        if (Designing) SetDesigning(true);
    }
};

class ColumnStore : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        Folder = std::filesystem::temp_directory_path() /
                 ("colstore-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(Folder);
        std::filesystem::create_directories(Folder);
        ::setenv("BEACONMILL_CONFIG", Folder.c_str(), 1);
        Form = new TForm(nullptr);
        Grid = MakeGrid(3);
    }
    void TearDown() override {
        delete Form;
        std::filesystem::remove_all(Folder);
    }
    TPellworthGrid* MakeGrid(int Cols) {
        auto* G = new TPellworthGrid(Form);
        G->SetParent(Form);
        G->SetGridColCount(Cols);
        G->SetGridRowCount(2);
        for (TSavedColumnLayout* L : {static_cast<TSavedColumnLayout*>(G->SaveColumnWidths()),
                                      static_cast<TSavedColumnLayout*>(G->SaveColumnPositions())}) {
            L->SetRegKey(Key);
            L->SetRegSection("Grid");
        }
        return G;
    }
    // Writes values straight into the layout key.
    void Store(int Count, const char* Name, const char* List) {
        TRegistry R;
        ASSERT_TRUE(R.OpenKey(Key + "\\Grid", true));
        if (Count >= 0) R.WriteInteger("ColumnCount", Count);
        R.WriteString(Name, List);
    }
    AnsiString ReadString(const char* Name) {
        TRegistry R;
        if (!R.OpenKey(Key + "\\Grid", false)) return "<no key>";
        if (!R.ValueExists(Name)) return "<none>";
        EXPECT_EQ(R.GetDataType(Name), rdString) << Name;
        return R.ReadString(Name);
    }
    int ReadCount() {
        TRegistry R;
        if (!R.OpenKey(Key + "\\Grid", false) || !R.ValueExists("ColumnCount")) return -1;
        EXPECT_EQ(R.GetDataType("ColumnCount"), rdInteger);
        return R.ReadInteger("ColumnCount");
    }
    std::vector<int> Widths(TPellworthGrid* G) {
        std::vector<int> W;
        for (int C = 1; C <= G->GetGridColCount(); ++C) W.push_back(G->GridCols()->GetCol(C)->Width());
        return W;
    }
    std::vector<int> Places(TPellworthGrid* G) {
        std::vector<int> P;
        for (int C = 1; C <= G->GetGridColCount(); ++C) P.push_back(G->GetDisplayColnr(C));
        return P;
    }
    void SetWidths(TPellworthGrid* G, std::vector<int> W) {
        for (int C = 1; C <= static_cast<int>(W.size()); ++C)
            G->GridCols()->GetCol(C)->SetWidth(W[C - 1]);
    }

    std::filesystem::path Folder;
    const AnsiString Key = "Software\\Pellworth\\Layout";
    TForm* Form = nullptr;
    TPellworthGrid* Grid = nullptr;
};

TEST_F(ColumnStore, SaveWritesCountAndListsInDataColumnOrder) {
    SetWidths(Grid, {64, 120, 30});
    Grid->SetDisplayColnr(1, 3);
    Grid->SetDisplayColnr(2, 1);
    Grid->SetDisplayColnr(3, 2);
    ASSERT_EQ(Places(Grid), (std::vector<int>{3, 1, 2}));
    Grid->SaveColumnWidths()->Save();
    Grid->SaveColumnPositions()->Save();
    EXPECT_EQ(ReadCount(), 3);
    EXPECT_EQ(ReadString("ColumnWidths"), AnsiString("64,120,30"));
    EXPECT_EQ(ReadString("ColumnPositions"), AnsiString("3,1,2"));
    // Moving columns leaves the data-column order of the widths alone.
    EXPECT_EQ(Widths(Grid), (std::vector<int>{64, 120, 30}));

    auto* Other = MakeGrid(3);
    Other->SaveColumnWidths()->Restore();
    Other->SaveColumnPositions()->Restore();
    EXPECT_EQ(Widths(Other), (std::vector<int>{64, 120, 30}));
    EXPECT_EQ(Places(Other), (std::vector<int>{3, 1, 2}));
    // Reset puts every column at its own place without touching the store.
    Other->SaveColumnPositions()->Reset();
    EXPECT_EQ(Places(Other), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(ReadString("ColumnPositions"), AnsiString("3,1,2"));
}

TEST_F(ColumnStore, AGridWithoutColumnsSavesEmptyLists) {
    auto* Empty = MakeGrid(0);
    Empty->SaveColumnWidths()->Save();
    EXPECT_EQ(ReadCount(), 0);
    EXPECT_EQ(ReadString("ColumnWidths"), AnsiString(""));
    Empty->SaveColumnPositions()->Save();
    EXPECT_EQ(ReadString("ColumnPositions"), AnsiString(""));
}

TEST_F(ColumnStore, RestoreReadsWidthListsAsTheyAreStored) {
    struct Case { int Count; const char* List; std::vector<int> Expected; };
    for (const Case& C : {Case{2, "80 100", {80, 100, 50}}, Case{3, "80,x,7", {80, 0, 7}},
                          Case{5, "1,2,3,4,5", {1, 2, 3}}, Case{3, "9", {9, 0, 0}},
                          Case{0, "1,2,3", {50, 50, 50}}, Case{-1, "1,2,3", {50, 50, 50}}}) {
        SetWidths(Grid, {50, 50, 50});
        Store(C.Count, "ColumnWidths", C.List);
        Grid->SaveColumnWidths()->Restore();
        EXPECT_EQ(Widths(Grid), C.Expected) << C.Count << " '" << C.List << "'";
        TRegistry R;
        R.DeleteKey(Key + "\\Grid");
    }
}

TEST_F(ColumnStore, PositionsAreNormalisedToTheGridBeforeRestoring) {
    Store(5, "ColumnPositions", "5,3,1,4,2");
    Grid->SaveColumnPositions()->Restore();
    EXPECT_EQ(ReadCount(), 3);
    EXPECT_EQ(ReadString("ColumnPositions"), AnsiString("3,1,2"));
    EXPECT_EQ(Places(Grid), (std::vector<int>{3, 1, 2}));

    struct Case { int Count; const char* List; const char* Normal; };
    for (const Case& C : {Case{3, "2,3,1", "2,3,1"}, Case{4, "2,3,1,9", "2,3,1,"},
                          Case{2, "2,x", "2,0"}}) {
        Store(C.Count, "ColumnPositions", C.List);
        Grid->SaveColumnPositions()->Normalize();
        EXPECT_EQ(ReadString("ColumnPositions"), AnsiString(C.Normal)) << C.List;
        EXPECT_EQ(ReadCount(), 3);
    }
}

TEST_F(ColumnStore, NothingStoredChangesNothingButCreatesTheKey) {
    SetWidths(Grid, {40, 41, 42});
    Grid->SetDisplayColnr(1, 2);
    const std::vector<int> Before = Places(Grid);
    Grid->SaveColumnWidths()->Restore();
    Grid->SaveColumnPositions()->Restore();
    EXPECT_EQ(Widths(Grid), (std::vector<int>{40, 41, 42}));
    EXPECT_EQ(Places(Grid), Before);
    TRegistry R;
    EXPECT_TRUE(R.KeyExists(Key + "\\Grid"));
}

TEST_F(ColumnStore, AssignCopiesTheFourSettings) {
    TSaveColumnWidths Source(Grid);
    Source.SetRegRoot(rrLocalMachine);
    Source.SetRegKey("Other");
    Source.SetRegSection("Sec");
    Source.SetEnabled(true);
    Grid->SetSaveColumnWidths(&Source);
    EXPECT_EQ(Grid->SaveColumnWidths()->RegRoot(), rrLocalMachine);
    EXPECT_EQ(Grid->SaveColumnWidths()->RegKey(), AnsiString("Other"));
    EXPECT_EQ(Grid->SaveColumnWidths()->RegSection(), AnsiString("Sec"));
    EXPECT_TRUE(Grid->SaveColumnWidths()->Enabled());
    EXPECT_NE(Grid->SaveColumnWidths(), &Source);
    TSaveColumnPositions Wrong(Grid);
    EXPECT_ANY_THROW(Grid->SaveColumnWidths()->Assign(&Wrong));
}

TEST_F(ColumnStore, RootsSelectTheirOwnStore) {
    struct Case { TRegistryRoot Root; HKEY Key; };
    for (const Case& C : {Case{rrCurrentUser, HKEY_CURRENT_USER},
                          Case{rrLocalMachine, HKEY_LOCAL_MACHINE},
                          Case{rrCurrentConfig, HKEY_CURRENT_CONFIG},
                          Case{rrClassesRoot, HKEY_CLASSES_ROOT}, Case{rrUsers, HKEY_USERS},
                          Case{rrDynData, HKEY_DYN_DATA}}) {
        Grid->SaveColumnWidths()->SetRegRoot(C.Root);
        Grid->SaveColumnWidths()->Save();
        EXPECT_EQ(Grid->SaveColumnWidths()->Registry().RootKey(), C.Key) << int(C.Root);
        TRegistry R;
        R.SetRootKey(C.Key);
        EXPECT_TRUE(R.KeyExists(Key + "\\Grid")) << int(C.Root);
    }
    // A byte beyond the table keeps the root the object had.
    Grid->SaveColumnWidths()->SetRegRoot(static_cast<TRegistryRoot>(9));
    Grid->SaveColumnWidths()->Save();
    EXPECT_EQ(Grid->SaveColumnWidths()->Registry().RootKey(), HKEY_DYN_DATA);
}

// The grid restores after loading and saves when destroyed, only when
// enabled and not on a designer's form.
TEST_F(ColumnStore, TheGridRestoresWhenLoadedAndSavesWhenDestroyed) {
    struct Case { bool Enabled, Designing; };
    for (const Case& C : {Case{false, false}, Case{true, true}, Case{true, false}}) {
        const bool Acts = C.Enabled && !C.Designing;
        Store(3, "ColumnWidths", "11,22,33");
        Store(3, "ColumnPositions", "2,3,1");
        const AnsiString On = C.Enabled ? "True" : "False";
        TStringStream Text("object G: TPellworthGrid\n  Cols = 3\n  Rows = 2\n"
                           "  SaveColumnWidths.RegKey = 'Software\\Pellworth\\Layout'\n"
                           "  SaveColumnWidths.RegSection = 'Grid'\n"
                           "  SaveColumnWidths.Enabled = " + On + "\n"
                           "  SaveColumnPositions.RegKey = 'Software\\Pellworth\\Layout'\n"
                           "  SaveColumnPositions.RegSection = 'Grid'\n"
                           "  SaveColumnPositions.Enabled = " + On + "\nend\n");
        TMemoryStream Binary;
        ObjectTextToBinary(&Text, &Binary);
        Binary.SetPosition(0);
        auto* G = new TDesignedGrid(Form, C.Designing);
        G->SetParent(Form);
        ReadComponentRes(&Binary, G);
        ASSERT_EQ(G->GetGridColCount(), 3);
        if (Acts) {
            EXPECT_EQ(Widths(G), (std::vector<int>{11, 22, 33}));
            EXPECT_EQ(Places(G), (std::vector<int>{2, 3, 1}));
        } else {
            EXPECT_NE(Widths(G), (std::vector<int>{11, 22, 33})) << C.Enabled;
            EXPECT_EQ(Places(G), (std::vector<int>{1, 2, 3})) << C.Enabled;
        }
        SetWidths(G, {5, 6, 7});
        G->SetDisplayColnr(1, 1);
        delete G;
        EXPECT_EQ(ReadString("ColumnWidths"), AnsiString(Acts ? "5,6,7" : "11,22,33"))
            << C.Enabled << C.Designing;
        EXPECT_EQ(ReadString("ColumnPositions"), AnsiString(Acts ? "1,3,2" : "2,3,1"))
            << C.Enabled << C.Designing;
    }
}

// Damaged positions never move a column onto the row bar or off the grid.
TEST_F(ColumnStore, DamagedPositionsKeepEveryColumnOnTheGrid) {
    for (const char* List : {"2,x,1", "-1,2,3", "0,0,0", "3,3,3", "2,-7"}) {
        Grid->SaveColumnPositions()->Reset();
        Store(3, "ColumnPositions", List);
        Grid->SaveColumnPositions()->Restore();
        std::vector<int> P = Places(Grid);
        std::sort(P.begin(), P.end());
        EXPECT_EQ(P, (std::vector<int>{1, 2, 3})) << List;
        for (int C = 1; C <= 3; ++C)
            EXPECT_EQ(Grid->GetDataColnr(Grid->GetDisplayColnr(C)), C) << List;
    }
}

} // namespace
