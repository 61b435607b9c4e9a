#include "FormFixture.h"

#include "formstore/GridLayout.h"

#include "grid/foundation/DrawGrid.h"
#include "platform/registry/IniFiles.h"
#include "platform/registry/RegIniFile.h"

#include <gtest/gtest.h>

#include <vector>

using namespace formstore;
using namespace formstore_test;

namespace {

class GridLayout : public FormFixture {
protected:
    // A grid named Grid1 on a new form, with three columns of the widths given.
    grid::TDrawGrid_ts* MakeGrid(const std::vector<int>& Widths) {
        TMainFormWindow* Form = MakeForm();
        auto* Grid = new grid::TDrawGrid_ts(Form);
        Grid->SetName("Grid1");
        Grid->SetParent(Form);
        Grid->SetColCount(static_cast<int>(Widths.size()));
        for (int I = 0; I < static_cast<int>(Widths.size()); ++I)
            Grid->SetColWidths(I, Widths[I]);
        return Grid;
    }
    static std::vector<int> WidthsOf(grid::TDrawGrid_ts* Grid) {
        std::vector<int> Result;
        for (int I = 0; I < Grid->ColCount(); ++I)
            Result.push_back(Grid->ColWidths(I));
        return Result;
    }
};

TEST_F(GridLayout, ColumnWidthsGoToTheGridsSectionAndComeBack) {
    grid::TDrawGrid_ts* Saved = MakeGrid({30, 40, 50});
    {
        TIniFile Ini(File("layout.ini"));
        SaveGridLayout(Saved, &Ini);
    }
    EXPECT_EQ(ReadFile(File("layout.ini")),
              "[TMainFormWindowGrid1]\nItem0=30\nItem1=40\nItem2=50\n");
    {
        TRegIniFile Reg(MainKey);
        SaveGridLayoutReg(Saved, &Reg);
        EXPECT_EQ(Reg.ReadString("TMainFormWindowGrid1", "Item2", ""), "50");
    }

    // A grid with a fourth column keeps that one's width; a malformed value
    // keeps the column's own.
    grid::TDrawGrid_ts* FromIni = MakeGrid({10, 10, 10, 10});
    {
        TIniFile Ini(File("layout.ini"));
        Ini.WriteString("TMainFormWindowGrid1", "Item1", "wide");
        RestoreGridLayout(FromIni, &Ini);
    }
    EXPECT_EQ(WidthsOf(FromIni), (std::vector<int>{30, 10, 50, 10}));

    grid::TDrawGrid_ts* FromReg = MakeGrid({10, 10});
    {
        TRegIniFile Reg(MainKey);
        RestoreGridLayoutReg(FromReg, &Reg);
    }
    EXPECT_EQ(WidthsOf(FromReg), (std::vector<int>{30, 40}));
}

// A damaged stored width is ignored like a malformed one: the grid keeps
// the column's own and lays itself out and paints as before.
TEST_F(GridLayout, AStoredWidthOutsideTheGridsRangeKeepsTheColumnsOwn) {
    const struct {
        const char* Stored;
        int Width;
    } cases[] = {
        {"2147483647", 20}, {"-2147483648", 20}, {"32768", 20}, {"-2", 20},
        {"32767", 32767},   {"0", 0},            {"-1", -1},    {"45", 45},
    };
    for (const auto& c : cases) {
        {
            TIniFile Ini(File("layout.ini"));
            Ini.WriteString("TMainFormWindowGrid1", "Item0", c.Stored);
            Ini.WriteString("TMainFormWindowGrid1", "Item1", c.Stored);
        }
        grid::TDrawGrid_ts* Grid = MakeGrid({20, 20});
        Grid->Parent()->Show();
        {
            TIniFile Ini(File("layout.ini"));
            RestoreGridLayout(Grid, &Ini);
        }
        EXPECT_EQ(WidthsOf(Grid), (std::vector<int>{c.Width, c.Width})) << c.Stored;
        Grid->Repaint();
        EXPECT_EQ(Grid->MouseCoord(5, 5).X, c.Width > 5 ? 0 : c.Width > 0 ? 1 : -1) << c.Stored;
    }
}

TEST_F(GridLayout, MDIChildListsHaveNoMDIFormToWorkOn) {
    TMainFormWindow* Form = MakeForm();
    TIniFile Ini(File("mdi.ini"));
    TRegIniFile Reg(MainKey);
    const std::vector<std::function<void()>> Calls{
        [&] { SaveMDIChildren(Form, &Ini); },    [&] { SaveMDIChildrenReg(Form, &Reg); },
        [&] { RestoreMDIChildren(Form, &Ini); }, [&] { RestoreMDIChildrenReg(Form, &Reg); },
        [&] { SaveMDIChildren(nullptr, &Ini); },
    };
    for (const auto& Call : Calls) {
        try {
            Call();
            ADD_FAILURE() << "no error";
        } catch (const EInvalidOperation& E) {
            EXPECT_EQ(E.Message, "Cannot create form. No MDI forms are currently active");
        }
    }
    EXPECT_FALSE(std::filesystem::exists(File("mdi.ini")));
}

} // namespace
