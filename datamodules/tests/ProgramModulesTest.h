#pragma once
// Every data module of the program on a test shop database, created in the
// program's order under one owner, so that the modules find each other (and
// the main data module's connection) the way they do in the program.
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
#include "datamodules/ShopDataModules.h"

#include "ShopModuleTest.h"

#include "platform/sys/KernelNames.h"

#include <string>
#include <unistd.h>

class ProgramModulesTest : public ShopModuleTest {
protected:
    void SetUp() override {
        ShopModuleTest::SetUp();
        // The job-form module's report connections listen from its creation:
        // their kernel objects go to a namespace of the test's own.
        Namespace = UniqueKernelNamespace("dm");
        SetKernelNamespace(Namespace);
        // The main data module brings the program's own connection under
        // the same database name.
        delete FindDatabase(ShopDatabaseName);
        const TShopDataModules Modules = CreateShopDataModules(Owner);
        Main = Modules.Main;
        Emp = Modules.Emp;
        Inventory = Modules.Inventory;
        JobStatus = Modules.JobStatus;
        Po = Modules.Po;
        Ship = Modules.Ship;
        JobForm = Modules.JobForm;
        Velm = Modules.Velm;
        WoType = Modules.WoType;
        JobType = Modules.JobType;
    }

    void TearDown() override {
        // The modules (and their listeners) go first.
        ShopModuleTest::TearDown();
        RemoveKernelNamespace(Namespace);
    }

    // The value of the named field on the query's current row, as text; "<null>"
    // for NULL, so that "not set" and "set to empty" read apart.
    static AnsiString Shown(const TDataSet& Query, const char* Field) {
        const TField* field = Query.FieldByName(Field);
        return field->IsNull() ? AnsiString("<null>") : field->AsString();
    }

    // Moves Query to the row whose Key field is Value (failing the test
    // when there is none).
    static void Locate(TDataSet& Query, const char* Key, int Value) {
        if (!Query.Active()) Query.Open();
        for (Query.First(); !Query.Eof(); Query.Next())
            if (Query.FieldByName(Key)->AsInteger() == Value) return;
        ADD_FAILURE() << Query.Name() << " has no row with " << Key << " = " << Value;
    }

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
    std::string Namespace;
};
