// The fixed alert catalogue as its callers read it: every alert id there is
// with its leaf category, the daily run's list, the priority names, and the
// messages for what is not there.
#include "alert/AlertCatalogue.h"
#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

template <class Fn> std::string ErrorOf(Fn&& Call) {
    try {
        Call();
    } catch (const Exception& E) {
        return E.Message.c_str();
    }
    return "(nothing raised)";
}

TEST(CatalogueReading, EveryAlertIdHasALeafCategory) {
    int count = 0;
    for (int id = -1; id <= 90; ++id) {
        SCOPED_TRACE(id);
        const bool known = id >= 1 && id <= 88 && id != 28 && id != 47 && id != 60 && id != 76;
        if (!known) {
            EXPECT_EQ(ErrorOf([id] { GetAlertDefinition(id); }),
                      "An invalid Alert Id ('" + std::to_string(id) + "') was encountered.");
            continue;
        }
        ++count;
        const AlertDefinition& d = GetAlertDefinition(id);
        EXPECT_EQ(d.AlertId, id);
        const AlertCategory& c = GetAlertCategory(d.Category);
        EXPECT_EQ(c.FirstChild, 0);
        EXPECT_NE(c.RecordKindMask, 0);
        EXPECT_NE(std::string(d.MessageTemplate), "");
    }
    EXPECT_EQ(count, 84);
}

TEST(CatalogueReading, SampledDefinitions) {
    struct Case {
        int Id, Category, Kind;
        const char* Template;
    };
    for (const Case& c :
         {Case{1, 14, 0,
               "Job % of labor budget is JOB%BUDGET% which is VAL% higher than percent "
               "complete of JOB%COMPLETE.\nJob: JOBIDDESC."},
          Case{29, 5, 0, "Job deleted.\nJob: ARG1 - ARG2. Deleted by: EMPGEN."},
          Case{83, 7, 0,
               "Change Order Work Order WONBR created.\nJob: JOBIDDESC. Job Item: "
               "JINBRDESC.\nCreated by: EMPGEN."},
          Case{86, 21, 1, "Quote Request's 'request by date' is DAYSAWAY.\nQuote Request: ARG2."},
          Case{88, 17, 3, "EMPNAME weekly hours of ARG1 are under VAL."}}) {
        SCOPED_TRACE(c.Id);
        const AlertDefinition& d = GetAlertDefinition(c.Id);
        EXPECT_EQ(d.Category, c.Category);
        EXPECT_EQ(d.Kind, c.Kind);
        EXPECT_EQ(std::string(d.MessageTemplate), c.Template);
    }
}

TEST(CatalogueReading, Categories) {
    struct Case {
        int Id;
        int ExpectId;
        const char* Name;
        int Mask;
    };
    for (const Case& c : {Case{0, 0, "None", 0}, Case{1, 1, "Events", 0}, Case{5, 5, "Job", 1},
                          Case{12, 12, "PO", 0x10}, Case{17, 17, "Employee", 0x20},
                          Case{21, 21, "Quote Request", 0x80}, Case{256 + 13, 13, "Inventory", 0x40}}) {
        SCOPED_TRACE(c.Id);
        const AlertCategory& cat = GetAlertCategory(c.Id);
        EXPECT_EQ(cat.Id, c.ExpectId);
        EXPECT_EQ(std::string(cat.Name), c.Name);
        EXPECT_EQ(cat.RecordKindMask, c.Mask);
    }
    EXPECT_EQ(GetAlertCategory(2).FirstChild, 9);
    EXPECT_EQ(GetAlertCategory(2).NextSibling, 3);
    for (const auto& [id, message] : std::vector<std::pair<int, std::string>>{
             {19, "An invalid alert category identifier ('19') was encountered."},
             {255, "An invalid alert category identifier ('-1') was encountered."},
             {256 + 19, "An invalid alert category identifier ('19') was encountered."}}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(ErrorOf([id = id] { GetAlertCategory(id); }), message);
    }
}

TEST(CatalogueReading, ScheduledListAndPriorityNames) {
    std::vector<int> ids;
    for (const AlertDefinition& d : GetScheduledAlertDefinitions()) ids.push_back(d.AlertId);
    const std::vector<int> expected = {13, 14, 15, 16, 17, 18, 19, 20, 31,
                                       32, 73, 77, 78, 81, 82, 86, 87, 88};
    EXPECT_EQ(ids, expected);
    // A copy each time: changing one leaves the next call's list whole.
    std::vector<AlertDefinition> copy = GetScheduledAlertDefinitions();
    copy.clear();
    EXPECT_EQ(GetScheduledAlertDefinitions().size(), 18u);

    struct Case {
        int Level;
        const char* Text;
    };
    for (const Case& c : {Case{0, "Low"}, Case{1, "Medium"}, Case{2, "High"}, Case{3, "None"},
                          Case{4, "Invalid priority level (4)"},
                          Case{-1, "Invalid priority level (-1)"},
                          Case{255, "Invalid priority level (-1)"}}) {
        SCOPED_TRACE(c.Level);
        std::string text;
        try {
            text = PriorityName(static_cast<std::int8_t>(c.Level)).c_str();
        } catch (const Exception& E) {
            text = E.Message.c_str();
        }
        EXPECT_EQ(text, c.Text);
    }
}

} // namespace
