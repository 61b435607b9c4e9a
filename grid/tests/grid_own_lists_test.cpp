// A column's, row's and cell's own drop-down list and date-time definition
// travel with the grid: through its saved state, an assignment, and a form
// in binary and in text form.
#include "grid/foundation/DateTimeDefs.h"
#include "grid/foundation/GridCommonVariant.h"
#include "grid/model/Columns.h"
#include "grid/model/Combo.h"
#include "grid/model/GxGrid.h"
#include "grid/model/Rows.h"
#include "grid/tests/FormTextFixture.h"
#include "grid/tests/StubDateTimeDef.h"
#include "platform/classes/Publish.h"
#include "platform/gui/Forms.h"
#include "platform/gui/PublishedProps.h"
#include "platform/gui/QtApp.h"
#include "platform/rtl/Streams.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace grid;

namespace {

class ListsDateTimeDef : public StubDateTimeDef {
public:
    using StubDateTimeDef::StubDateTimeDef;
    AnsiString ClassName() const override { return "ListsDateTimeDef"; }
};

const TPublished<ListsDateTimeDef, TComponent> ListsDateTimeDefClass(
    "ListsDateTimeDef", [](auto&) {}, true);

// One level that can hold a list and a definition of its own.
struct TLevel {
    const char* Name;
    std::function<void(TgxGrid&, TgxButtonType)> SetButton;
    std::function<void(TgxGrid&)> TakeList;
    std::function<TgxCombo*(TgxGrid&)> List;
    std::function<void(TgxGrid&, TgxDateTimeDefComponent*)> SetDef;
    std::function<TgxDateTimeDefComponent*(TgxGrid&)> Def;
};

const std::vector<TLevel>& Levels() {
    static const std::vector<TLevel> List = {
        {"column", [](TgxGrid& G, TgxButtonType B) { G.GetCol(2)->SetButtonType(B); },
         [](TgxGrid& G) { G.GetCol(2)->SetParentCombo(false); },
         [](TgxGrid& G) { return G.GetCol(2)->GetCombo(); },
         [](TgxGrid& G, TgxDateTimeDefComponent* D) { G.GetCol(2)->SetDateTimeDef(D); },
         [](TgxGrid& G) { return G.GetCol(2)->DateTimeDef(); }},
        {"row", [](TgxGrid& G, TgxButtonType B) { G.SetRowButtonType(3, B); },
         [](TgxGrid& G) { G.SetRowParentCombo(3, false); },
         [](TgxGrid& G) { return G.GetRow(3) ? G.GetRow(3)->GetCombo() : nullptr; },
         [](TgxGrid& G, TgxDateTimeDefComponent* D) { G.SetRowDateTimeDef(3, D); },
         [](TgxGrid& G) { return G.GetRowDateTimeDef(3); }},
        {"cell", [](TgxGrid& G, TgxButtonType B) { G.SetCellButtonType(3, 4, B); },
         [](TgxGrid& G) { G.SetCellParentCombo(3, 4, false); },
         [](TgxGrid& G) {
             return dynamic_cast<TgxCombo*>(VariantToObject(G.GetCellProperty(3, 4, prCombo)));
         },
         [](TgxGrid& G, TgxDateTimeDefComponent* D) { G.SetCellDateTimeDef(3, 4, D); },
         [](TgxGrid& G) { return G.GetCellDateTimeDef(3, 4); }},
    };
    return List;
}

std::string ListText(TgxCombo* Combo) {
    if (!Combo) return "(none)";
    TgxComboGrid* List = Combo->GetGrid();
    std::string Text;
    for (int R = 1; R <= List->GetGridRowCount(); ++R)
        Text += (R > 1 ? ";" : "") + std::string(VarToStr(List->GetCellValue(1, R)));
    return Text;
}

class OwnListsTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        PublishGuiClasses();
        Form.SetName("ListsForm");
        Held = new TgxGrid(&Form);
        Held->SetName("Grid1");
        Held->SetParent(&Form);
        Held->SetGridColCount(4);
        Held->SetGridRowCount(5);
        Def = new ListsDateTimeDef(&Form);
        Def->SetName("Dates");
    }

    // Every level gets a list of its own, filled with "<level>-a;<level>-b",
    // and the definition.
    void GiveEveryLevelItsOwn() {
        for (const TLevel& L : Levels()) {
            L.SetButton(*Held, btCombo);
            L.TakeList(*Held);
            ASSERT_NE(L.List(*Held), nullptr) << L.Name;
            TgxComboGrid* List = L.List(*Held)->GetGrid();
            List->SetStoreData(true);
            List->SetGridRowCount(2);
            List->SetCellValue(1, 1, Variant(std::string(L.Name) + "-a"));
            List->SetCellValue(1, 2, Variant(std::string(L.Name) + "-b"));
            L.SetDef(*Held, Def);
        }
    }

    static void Check(TgxGrid& G, TgxDateTimeDefComponent* Expected) {
        for (const TLevel& L : Levels()) {
            SCOPED_TRACE(L.Name);
            EXPECT_EQ(ListText(L.List(G)), std::string(L.Name) + "-a;" + L.Name + "-b");
            EXPECT_EQ(L.Def(G), Expected);
        }
    }

    TForm Form{nullptr};
    TgxGrid* Held = nullptr;
    ListsDateTimeDef* Def = nullptr;
};

} // namespace

TEST_F(OwnListsTest, ListsAndDefinitionsOfEveryLevelTravelEveryWay) {
    GiveEveryLevelItsOwn();
    {
        SCOPED_TRACE("saved state");
        TMemoryStream Stream;
        Held->SaveToStream(&Stream, true);
        Stream.SetPosition(0);
        TgxGrid Loaded(nullptr);
        Loaded.LoadFromStream(&Stream, cmaNone);
        Check(Loaded, Def);
    }
    {
        SCOPED_TRACE("assignment");
        TgxGrid Assigned(nullptr);
        Assigned.Assign(Held);
        Check(Assigned, Def);
    }
    {
        SCOPED_TRACE("form file");
        TForm Copy(nullptr);
        CopyThroughFormFile(Form, Copy);
        auto* Read = dynamic_cast<TgxGrid*>(Copy.FindComponent("Grid1"));
        ASSERT_NE(Read, nullptr);
        Check(*Read, dynamic_cast<TgxDateTimeDefComponent*>(Copy.FindComponent("Dates")));
    }
    {
        SCOPED_TRACE("form text");
        const std::string Text = FormText(Form);
        TForm Copy(nullptr);
        ReadFormText(Text, Copy);
        auto* Read = dynamic_cast<TgxGrid*>(Copy.FindComponent("Grid1"));
        ASSERT_NE(Read, nullptr);
        Check(*Read, dynamic_cast<TgxDateTimeDefComponent*>(Copy.FindComponent("Dates")));
    }
}
