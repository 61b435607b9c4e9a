// A grid that goes before the date-time definitions it uses leaves them:
// none of them tells a grid that is gone when it goes itself.
#include "StubDateTimeDef.h"

#include "grid/model/Columns.h"
#include "grid/model/GxGrid.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtApp.h"

#include <gtest/gtest.h>

using namespace grid;

namespace {

TEST(DateTimeLinksReading, AGridGoneFirstLeavesEveryDefinitionItUsed) {
    EnsureQtApplication();
    auto* Grid = new TgxGrid(nullptr);
    StubDateTimeDef GridLevel(nullptr), ColumnLevel(nullptr), CellLevel(nullptr);
    Grid->SetDateTimeDef(&GridLevel);
    Grid->GetCol(2)->SetDateTimeDef(&ColumnLevel);
    Grid->SetCellDateTimeDef(1, 1, &CellLevel);
    ASSERT_GT(GridLevel.LinkEntries(), 0);
    delete Grid;
    EXPECT_EQ(GridLevel.LinkEntries(), 0);
    EXPECT_EQ(ColumnLevel.LinkEntries(), 0);
    EXPECT_EQ(CellLevel.LinkEntries(), 0);
}

TEST(DateTimeLinksReading, AFormWithAGridAndALaterDefinitionClosesCleanly) {
    EnsureQtApplication();
    auto* Form = new TForm(nullptr);
    auto* Grid = new TgxGrid(Form);
    Grid->SetParent(Form);
    auto* Def = new StubDateTimeDef(Form);
    Grid->SetDateTimeDef(Def);
    Form->Show();
    delete Form;
    SUCCEED();
}

TEST(DateTimeLinksReading, ADefinitionGoneFirstIsDroppedByTheGrid) {
    EnsureQtApplication();
    TgxGrid Grid(nullptr);
    auto* Def = new StubDateTimeDef(nullptr);
    Grid.SetDateTimeDef(Def);
    Grid.GetCol(1)->SetDateTimeDef(Def);
    delete Def;
    EXPECT_EQ(Grid.DateTimeDef(), nullptr);
}

} // namespace
