// The custom grid's relays as an application meets them: the gated ones
// (current cell and row changes, the top-left cell, rows inserted and
// deleted, the report's print questions) keep quiet while the grid is
// being loaded and speak afterwards; the others speak throughout, and a
// relay without a handler leaves its answer as the table says.
#include "grid/model/Columns.h"
#include "grid/model/Combo.h"
#include "grid/model/GxGrid.h"
#include "grid/tests/ShownGridFixture.h"
#include "grid/tests/FormTextFixture.h"
#include "platform/classes/Filer.h"
#include "platform/classes/Publish.h"
#include "platform/gui/PublishedProps.h"
#include "platform/gui/tests/GuiTestSupport.h"
#include "platform/rtl/Streams.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace grid;

namespace {

// Logs the relays' events of Grid into Log.
void LogEvents(TgxCustomGrid& Grid, std::vector<std::string>& Log) {
    Grid.OnCellChanged = [&Log](TObject*, int OC, int NC, int OR, int NR) {
        Log.push_back("cell " + std::to_string(OC) + "," + std::to_string(OR) + ">" +
                      std::to_string(NC) + "," + std::to_string(NR));
    };
    Grid.OnRowChanged = [&Log](TObject*, int O, int N) {
        Log.push_back("row " + std::to_string(O) + ">" + std::to_string(N));
    };
    Grid.OnTopLeftChanged = [&Log](TObject*, int OC, int OR, int NC, int NR, bool ByUser) {
        Log.push_back("topleft " + std::to_string(OC) + "," + std::to_string(OR) + ">" +
                      std::to_string(NC) + "," + std::to_string(NR) + (ByUser ? " user" : ""));
    };
    Grid.OnPrintGrid = [&Log](TObject*, bool&) { Log.push_back("print grid"); };
    Grid.OnPrintRow = [&Log](TObject*, int R, bool&) {
        Log.push_back("print row " + std::to_string(R));
    };
    Grid.OnPrintCell = [&Log](TObject*, int C, int R, bool&) {
        Log.push_back("print cell " + std::to_string(C) + "," + std::to_string(R));
    };
    Grid.OnStartCellEdit = [&Log](TObject*, int C, int R, bool&) {
        Log.push_back("start cell " + std::to_string(C) + "," + std::to_string(R));
    };
    Grid.OnDeleteRow = [&Log](TObject*, int R, bool) {
        Log.push_back("delete row " + std::to_string(R));
    };
}

// Moves, scrolls, deletes a row and asks as the report component does.
void Exercise(TgxCustomGrid& Grid, int Col, int Row, int Top, int Deleted) {
    Grid.HandleNeeded(); // a window, so that the top-left cell can move
    Grid.SetCurrentCell(Col, Row);
    Grid.SetTopRow(Top);
    Grid.DeleteRows(Deleted, Deleted);
    bool Cancel = false;
    Grid.DoPrintGrid(Cancel);
    Grid.DoPrintRow(2, Cancel);
    Grid.DoPrintCell(3, 2, Cancel);
    Grid.DoStartCellEdit(Col, Row, Cancel); // not gated
}

std::vector<std::string>* ReadLog = nullptr;

// A grid read from a form that is put through its paces in the last step
// of its loading, while it still counts as being loaded.
class LoadedGrid : public TgxGrid {
public:
    explicit LoadedGrid(TComponent* AOwner) : TgxGrid(AOwner) { LogEvents(*this, *ReadLog); }
    AnsiString ClassName() const override { return "LoadedGrid"; }

protected:
    void Loaded() override {
        ReadLog->push_back("loading");
        Exercise(*this, 2, 5, 2, 10);
        ReadLog->push_back("top " + std::to_string(TopRow()));
        ReadLog->push_back("loaded");
        TgxGrid::Loaded();
    }
};

const TPublished<LoadedGrid, TgxGrid> LoadedGridClass("LoadedGrid", [](auto&) {}, true);

class GridRelays : public ShownGridFixture {
protected:
    void SetUp() override {
        ShowGrid(6, 40);
        Grid->SetStoreData(true);
        Grid->SetCurrentCell(1, 1);
        LogEvents(*Grid, Log);
    }
    std::vector<std::string> Log;
};

TEST_F(GridRelays, GatedRelaysKeepQuietWhileTheGridLoads) {
    // A saved state whose current cell is elsewhere.
    TgxGrid Other(nullptr);
    Other.SetParent(Form);
    Other.SetBounds(0, 0, 400, 300);
    Other.SetGridColCount(6);
    Other.SetGridRowCount(40);
    Other.SetCurrentCell(3, 30);
    TMemoryStream Saved;
    Other.SaveToStream(&Saved, true);
    Saved.SetPosition(0);
    Grid->LoadFromStream(&Saved, cmaNone);
    EXPECT_EQ(Grid->Col(), 3);
    EXPECT_EQ(Grid->Row(), 30);
    EXPECT_EQ(Log, std::vector<std::string>{});

    // A grid read from a form: quiet while it loads, heard afterwards.
    std::vector<std::string> Read;
    ReadLog = &Read;
    TForm Source(nullptr);
    Source.SetName("RelayForm");
    Source.SetBounds(0, 0, 500, 400);
    auto* Held = new LoadedGrid(&Source);
    Held->SetName("Grid1");
    Held->SetParent(&Source);
    Held->SetBounds(0, 0, 400, 300);
    Held->SetGridColCount(6);
    Held->SetGridRowCount(40);
    Read.clear();
    TForm Copy(nullptr);
    CopyThroughFormFile(Source, Copy);
    auto* Got = dynamic_cast<LoadedGrid*>(Copy.FindComponent("Grid1"));
    ASSERT_NE(Got, nullptr);
    // Its end reports the top-left move the load put off.
    EXPECT_EQ(Read, (std::vector<std::string>{"loading", "start cell 2,5", "top 2", "loaded",
                                              "topleft 1,1>1,2"}));
    Read.clear();
    Exercise(*Got, 4, 6, 4, 12);
    EXPECT_EQ(Got->TopRow(), 4);
    EXPECT_EQ(Read, (std::vector<std::string>{"row 5>6", "cell 2,5>4,6", "topleft 1,2>1,4",
                                              "delete row 12", "print grid", "print row 2",
                                              "print cell 3,2", "start cell 4,6"}));
    ReadLog = nullptr;
}

TEST_F(GridRelays, ARelayWithoutAHandlerAnswersAsItsTableSays) {
    Grid->OnPrintRow = nullptr;
    Grid->OnStartCellEdit = nullptr;
    Grid->OnInvalidMaskValue = nullptr;
    // The report's answer stands; "go on" and "refuse" for the others.
    bool Cancel = true;
    Grid->DoPrintRow(1, Cancel);
    EXPECT_TRUE(Cancel);
    Grid->DoStartCellEdit(1, 1, Cancel);
    EXPECT_FALSE(Cancel);
    bool Accept = true;
    Grid->DoInvalidMaskValue(1, 1, Accept);
    EXPECT_FALSE(Accept);
    // A top-left move raises its event once, with where it was and is.
    Log.clear();
    Grid->SetTopRow(5);
    Grid->SetTopRow(5);
    EXPECT_EQ(Log, std::vector<std::string>{"topleft 1,1>1,5"});
}

TEST_F(GridRelays, ATopLeftMoveSaysWhetherTheUserMadeIt) {
    const auto TopLeftEntries = [this] {
        std::vector<std::string> Found;
        for (const std::string& Entry : Log)
            if (Entry.rfind("topleft", 0) == 0) Found.push_back(Entry);
        return Found;
    };
    Log.clear();
    TypeKey(Grid->Widget(), Qt::Key_PageDown);
    std::vector<std::string> Moves = TopLeftEntries();
    ASSERT_EQ(Moves.size(), 1u);
    EXPECT_EQ(Moves[0], "topleft 1,1>1," + std::to_string(Grid->TopRow()) + " user");
    Log.clear();
    Grid->SetTopRow(2);
    Moves = TopLeftEntries();
    ASSERT_EQ(Moves.size(), 1u);
    EXPECT_EQ(Moves[0].find(" user"), std::string::npos) << Moves[0];
}

// The application is asked for each row before it joins the selection,
// with the row the selection started from; its answer starts as "go on".
TEST_F(GridRelays, TheApplicationMayKeepRowsOutOfTheSelection) {
    Grid->SetRowSelectMode(rsMulti);
    std::vector<std::pair<int, int>> Asked;
    Grid->OnCanSelectRow = [&Asked](TObject*, int Anchor, int Row, bool& Cancel) {
        EXPECT_FALSE(Cancel);
        Asked.emplace_back(Anchor, Row);
        Cancel = Row == 3;
    };
    Grid->SelectRows(2, 5, true);
    EXPECT_TRUE(Grid->RowSelection().GetSelected(2));
    EXPECT_FALSE(Grid->RowSelection().GetSelected(3));
    EXPECT_TRUE(Grid->RowSelection().GetSelected(4));
    EXPECT_TRUE(Grid->RowSelection().GetSelected(5));
    // Once row 2 is in, it is the anchor of the rows asked after it.
    const auto Row3 = std::find_if(Asked.begin(), Asked.end(),
                                   [](const std::pair<int, int>& A) { return A.second == 3; });
    ASSERT_NE(Row3, Asked.end());
    EXPECT_EQ(Row3->first, 2);
    // A silent handler leaves the answer "go on", whatever it was before.
    Grid->OnCanSelectRow = [](TObject*, int, int, bool&) {};
    bool Cancel = true;
    Grid->DoCanSelectRow(2, Variant(3), Cancel);
    EXPECT_FALSE(Cancel);
}

TEST_F(GridRelays, AListsCellsReachTheGridItServes) {
    TgxCol* Col = Grid->GridCols()->Item(2);
    Col->SetButtonType(btCombo);
    Col->SetParentCombo(false);
    TgxComboGrid* List = Col->GetCombo()->GetGrid();
    List->SetStoreData(true);
    List->SetGridColCount(2);
    List->SetGridRowCount(3);
    List->SetCellValue(2, 3, Variant("bolt"));
    std::vector<std::string> Seen;
    Grid->OnComboCellLoaded = [&](TObject* Sender, TgxComboGrid* Combo, int C, int R,
                                  Variant& Value) {
        EXPECT_EQ(Sender, Grid);
        EXPECT_EQ(Combo, List);
        Seen.push_back(std::to_string(C) + "," + std::to_string(R) + " " + VarToStr(Value));
        Value = Variant(VarToStr(Value) + "!");
    };
    // The list's own handler sees the value first, the grid's after it.
    List->OnCellLoaded = [](TObject*, int, int, Variant& Value) {
        Value = Variant(VarToStr(Value) + "?");
    };
    EXPECT_EQ(VarToStr(List->GetCellValue(2, 3)), "bolt?!");
    EXPECT_EQ(Seen, std::vector<std::string>{"2,3 bolt?"});
}

} // namespace
