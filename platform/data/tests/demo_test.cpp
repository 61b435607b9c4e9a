#include "platform/data/testing/ShopDbTest.h"

#include "platform/data/Database.h"
#include "platform/data/Query.h"

#include <fstream>
#include <sstream>

namespace {

class DemoTest : public ShopDbTest {};

// Every value of the demo data set reads through its field: numbers fit their
// columns and every date is in a form the date fields read.
TEST_F(DemoTest, EveryTableOfTheDemoDataOpensAndReads) {
    std::ifstream In(std::filesystem::path(BEACONMILL_SOURCE_DIR) / "db" / "demo.sql");
    ASSERT_TRUE(In) << "db/demo.sql is missing";
    std::stringstream Demo;
    Demo << In.rdbuf();
    Exec(Demo.str());

    NewDatabase();
    auto* Tables = new TQuery(Owner);
    Tables->SetDatabaseName("Shop");
    Tables->SQL()->SetText("select name from sqlite_schema where type = 'table' and name not "
                           "like 'sqlite%' order by name");
    Tables->Open();
    ASSERT_GT(Tables->RecordCount(), 50);
    int Rows = 0;
    auto* Table = new TQuery(Owner);
    Table->SetDatabaseName("Shop");
    for (; !Tables->Eof(); Tables->Next()) {
        const AnsiString Name = Tables->FieldByName("name")->AsString();
        SCOPED_TRACE(Name);
        Table->SQL()->SetText("select * from " + Name);
        ASSERT_NO_THROW(Table->Open());
        for (; !Table->Eof(); Table->Next(), ++Rows)
            for (int I = 0; I < Table->FieldCount(); ++I)
                ASSERT_NO_THROW(static_cast<void>(Table->Fields()[I]->Value()))
                    << Table->Fields()[I]->FieldName() << " = " << Table->Fields()[I]->AsString();
        Table->Close();
    }
    EXPECT_GT(Rows, 100);
}

} // namespace
