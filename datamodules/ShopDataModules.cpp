#include "datamodules/ShopDataModules.h"

#include "alert/store/MainDmod.h"
#include "datamodules/DmodEmp.h"
#include "datamodules/DmodInventory.h"
#include "datamodules/DmodJobForm.h"
#include "datamodules/DmodJobStatus.h"
#include "datamodules/DmodJobType.h"
#include "datamodules/DmodPo.h"
#include "datamodules/DmodShip.h"
#include "datamodules/DmodVelm.h"
#include "datamodules/DmodWoType.h"

TShopDataModules CreateShopDataModules(TComponent* Owner) {
    TShopDataModules Modules;
    Modules.Main = new TMainDmod(Owner);
    Modules.Emp = new TEmpDmod(Owner);
    Modules.Inventory = new TInventoryDmod(Owner);
    Modules.JobStatus = new TJobStatusDmod(Owner);
    Modules.Po = new TPoDmod(Owner);
    Modules.Ship = new TShipDmod(Owner);
    Modules.JobForm = new TJobFormDmod(Owner);
    Modules.Velm = new TVelmDmod(Owner);
    Modules.WoType = new TWoTypeDmod(Owner);
    Modules.JobType = new TJobTypeDmod(Owner);
    return Modules;
}
