#pragma once
// A shop database for a data module test: the temporary database of
// ShopDbTest under the database name every data module uses, connected, and
// a check that a module's fixed queries all run on the schema.
#include "datamodules/DmodCommon.h"
#include "platform/data/DataSource.h"
#include "platform/data/Database.h"
#include "platform/data/Query.h"
#include "platform/data/testing/ShopDbTest.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StrUtils.h"

#include <gtest/gtest.h>

#include <initializer_list>

class ShopModuleTest : public ShopDbTest {
protected:
    void SetUp() override {
        ShopDbTest::SetUp();
        NewDatabase(ShopDatabaseName)->Open();
    }

    // Opens each named select of Module (a detail after its master, taking
    // its parameters from the master's row; any other parameter bound to 1)
    // and compiles each editing statement, so that a column, table or
    // dialect the schema does not have shows as a failure naming the query.
    static void ExpectQueriesRun(const TComponent& Module,
                                 std::initializer_list<const char*> Names) {
        for (const char* name : Names) {
            auto* query = dynamic_cast<TQuery*>(Module.FindComponent(name));
            if (!query) {
                ADD_FAILURE() << Module.Name() << " has no query " << name;
                continue;
            }
            try {
                if (!SameText(Trim(query->SQL()->Text()).substr(0, 6), "select")) {
                    query->Prepare();
                    continue;
                }
                if (query->DataSource())
                    query->DataSource()->DataSet()->Open();
                else
                    for (int i = 0; i < query->ParamCount(); ++i)
                        query->Params()[i]->SetAsInteger(1);
                query->Close();
                query->Open();
            } catch (const Exception& E) {
                ADD_FAILURE() << Module.Name() << "." << name << ": " << E.Message;
            }
        }
    }
};
