#include "alert/AlertCatalogue.h"
#include "alert/AlertCatalogueTables.h"
#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <set>

namespace {

template <class Fn> std::string CaughtMessage(Fn&& Call) {
    try {
        Call();
    } catch (const Exception& E) {
        return E.Message;
    }
    ADD_FAILURE() << "no exception was raised";
    return {};
}

TEST(AlertCatalogue, TablesHoldEveryIdOnceAndPointAtLeafCategories) {
    std::set<int> ids;
    for (const AlertDefinition& row : AlertDefinitionTable) {
        EXPECT_TRUE(ids.insert(row.AlertId).second) << "alert id " << row.AlertId << " twice";
        EXPECT_NE(GetAlertCategory(row.Category).RecordKindMask, 0) << "alert id " << row.AlertId;
        EXPECT_GE(row.Kind, 0);
        EXPECT_LE(row.Kind, 3);
    }
    std::set<int> expected;
    for (int id = 1; id <= 88; ++id)
        if (id != 28 && id != 47 && id != 60 && id != 76) expected.insert(id);
    EXPECT_EQ(ids, expected);
    // The one row out of id order stays where the table has it.
    EXPECT_EQ(AlertDefinitionTable[70].AlertId, 74);
    EXPECT_EQ(AlertDefinitionTable[71].AlertId, 83);
    EXPECT_EQ(AlertDefinitionTable[72].AlertId, 75);
}

TEST(AlertCatalogue, LooksUpDefinitionsAndCategories) {
    EXPECT_STREQ(GetAlertDefinition(83).Description,
                 "A new 'Change Order' work order has been created.");
    EXPECT_EQ(GetAlertDefinition(83).Category, 7);
    // Typographic quotes are kept as the characters they are.
    EXPECT_STREQ(GetAlertDefinition(23).Description,
                 "A work order department\u2019s percent of labor budget is __%.");
    EXPECT_STREQ(GetAlertDefinition(1).MessageTemplate,
                 "Job % of labor budget is JOB%BUDGET% which is VAL% higher than percent "
                 "complete of JOB%COMPLETE.\nJob: JOBIDDESC.");

    EXPECT_STREQ(GetAlertCategory(0).Name, "None");
    EXPECT_EQ(GetAlertCategory(0).RecordKindMask, 0);
    EXPECT_STREQ(GetAlertCategory(21).Name, "Quote Request");
    EXPECT_EQ(GetAlertCategory(21).RecordKindMask, 0x80);
    // Only the low 8 bits of the argument name the category.
    EXPECT_EQ(GetAlertCategory(256 + 12).RecordKindMask, 0x10);
}

TEST(AlertCatalogue, UnknownIdsRaiseTheirMessages) {
    for (const int id : {28, 47, 60, 76, 0, 89, -1})
        EXPECT_EQ(CaughtMessage([id] { GetAlertDefinition(id); }),
                  "An invalid Alert Id ('" + std::to_string(id) + "') was encountered.");
    EXPECT_EQ(CaughtMessage([] { GetAlertCategory(19); }),
              "An invalid alert category identifier ('19') was encountered.");
    // The 8-bit id is shown as a signed number.
    EXPECT_EQ(CaughtMessage([] { GetAlertCategory(200); }),
              "An invalid alert category identifier ('-56') was encountered.");
}

TEST(AlertCatalogue, ScheduledDefinitionsAreTheDailyRunsInTableOrder) {
    std::vector<int> ids;
    for (const AlertDefinition& row : GetScheduledAlertDefinitions())
        ids.push_back(row.AlertId);
    EXPECT_EQ(ids, (std::vector<int>{13, 14, 15, 16, 17, 18, 19, 20, 31, 32, 73, 77, 78, 81, 82, 86,
                                     87, 88}));
}

TEST(AlertCatalogue, PriorityNames) {
    const std::pair<int, const char*> names[] = {
        {0, "Low"}, {1, "Medium"}, {2, "High"}, {3, "None"}};
    for (const auto& [level, name] : names)
        EXPECT_EQ(PriorityName(static_cast<std::int8_t>(level)), name);
    EXPECT_EQ(CaughtMessage([] { PriorityName(4); }), "Invalid priority level (4)");
    EXPECT_EQ(CaughtMessage([] { PriorityName(-1); }), "Invalid priority level (-1)");
}

} // namespace
