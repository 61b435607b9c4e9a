// The lookups the alert processor makes through the shop data modules pass a
// database error to their caller instead of leaving an empty row that reads
// like "not found".
#include "datamodules/DmodEmp.h"
#include "datamodules/DmodInventory.h"
#include "datamodules/DmodJobForm.h"
#include "datamodules/DmodPo.h"
#include "datamodules/DmodVelm.h"
#include "datamodules/ShopDataModules.h"
#include "ShopModuleTest.h"

#include <functional>
#include <string>
#include <vector>

namespace {

class AlertLookupErrors : public ShopModuleTest {};

TEST_F(AlertLookupErrors, AMissingTableRaisesNamingTheStatement) {
    TShopDataModules m = CreateShopDataModules(Owner);
    struct Case {
        const char* Table;
        std::function<void()> Lookup;
    };
    const std::vector<Case> Cases = {
        {"EMPLOYEE", [&] { m.Emp->SelectEmployee(1); }},
        {"INVENTORY_ITEM", [&] { m.Inventory->SelectInventoryItem(1); }},
        {"INV_CONV", [&] { m.Inventory->SelectInvConv(1); }},
        {"PURCHASE_ORDER", [&] { m.Po->SelectPurchaseOrder(1); }},
        {"PO_ITEM", [&] { m.Po->GetPoItemPoNbr(1); }},
        {"PO_ITEM_JOB", [&] { m.Po->OpenPoWorkOrders(1); }},
        {"JOBS", [&] { m.JobForm->SelectJob(1); }},
        {"WO", [&] { m.JobForm->SelectWorkOrder(1); }},
        {"DEPT_EST", [&] { m.JobForm->SelectDeptEstimate(1, 1); }},
        {"PROGRESS_BILLING", [&] { m.JobForm->GetLastProgressBillingNbr(1); }},
        {"COMPANY", [&] { m.Velm->SelectCompany(1, "P"); }},
        {"MAINT_REF", [&] { m.Velm->GetUomName(1); }},
    };
    for (const Case& c : Cases) {
        SCOPED_TRACE(c.Table);
        Exec(std::string("alter table ") + c.Table + " rename to GONE");
        const std::string message = MessageOf<Exception>(c.Lookup);
        EXPECT_NE(message.find(c.Table), std::string::npos) << message;
        Exec(std::string("alter table GONE rename to ") + c.Table);
    }
}

} // namespace
