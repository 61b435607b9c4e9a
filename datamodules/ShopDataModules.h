#pragma once
// The main data module and the shop data modules, made in the order the
// program makes them (the later ones look the earlier ones up through their
// common owner) and owned by that owner.
class TComponent;
class TMainDmod;
class TEmpDmod;
class TInventoryDmod;
class TJobStatusDmod;
class TPoDmod;
class TShipDmod;
class TJobFormDmod;
class TVelmDmod;
class TWoTypeDmod;
class TJobTypeDmod;

struct TShopDataModules {
    TMainDmod* Main = nullptr;
    TEmpDmod* Emp = nullptr;
    TInventoryDmod* Inventory = nullptr;
    TJobStatusDmod* JobStatus = nullptr;
    TPoDmod* Po = nullptr;
    TShipDmod* Ship = nullptr;
    TJobFormDmod* JobForm = nullptr;
    TVelmDmod* Velm = nullptr;
    TWoTypeDmod* WoType = nullptr;
    TJobTypeDmod* JobType = nullptr;
};

TShopDataModules CreateShopDataModules(TComponent* Owner);
