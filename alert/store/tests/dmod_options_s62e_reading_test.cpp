// The main data module's connection and calculated field, and the options
// row's load and writers, through the module's public calls over a real shop
// database.
#include "StoreTest.h"

#include "platform/data/Database.h"
#include "platform/data/Field.h"
#include "platform/data/StdFields.h"
#include "platform/data/DataSource.h"
#include "platform/data/Query.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/Exceptions.h"

#include <cstdlib>
#include <functional>
#include <filesystem>

namespace {

class DmodOptionsReading : public StoreTest {
protected:
    void SetShort(const char* Column, const char* Value)
    {
        Db.Exec(AnsiString("update DORNWICK_OPTIONS set ") + Column + " = " + Value);
    }
};

TEST_F(DmodOptionsReading, ConnectsAndReconnectsToTheShopDatabase)
{
    EXPECT_TRUE(Dmod->MyDatabase->Connected());
    EXPECT_EQ(Dmod->ConnectDatabase(), 1);
    EXPECT_TRUE(Dmod->MyDatabase->Connected());
    EXPECT_EQ(Dmod->ConnectDatabase(), 1);
    EXPECT_EQ(Dmod->MyDatabase->AliasName(), "Pellworth11");
    EXPECT_EQ(Dmod->MyDatabase->DatabaseName(), "Dornwickdbms");
    EXPECT_FALSE(Dmod->MyDatabase->LoginPrompt());
    ASSERT_EQ(Dmod->MyDatabase->Params()->Count(), 4);
    EXPECT_EQ(Dmod->MyDatabase->Params()->Strings(0), "BLOBS TO CACHE=1024");
    EXPECT_EQ(Dmod->MyDatabase->Params()->Strings(3), "SHAREDMEMSIZE=4096");
}

TEST_F(DmodOptionsReading, AMissingDatabaseLeavesTheModuleBuiltButUnconnected)
{
    Dmod.reset();
    const std::filesystem::path Kept = Db.File().string() + ".kept";
    std::filesystem::rename(Db.File(), Kept);
    TMainDmod Module(nullptr);
    EXPECT_FALSE(Module.MyDatabase->Connected());
    EXPECT_EQ(Module.ConnectDatabase(), -99);
    EXPECT_FALSE(Module.MyDatabase->Connected());
    // The first statement then reports the failure to its caller.
    ShopOptions Options;
    EXPECT_THROW(Module.LoadOptions(Options), Exception);
    EXPECT_FALSE(std::filesystem::exists(Db.File())); // never created by opening
    // Once the database is back, the next attempt connects.
    std::filesystem::rename(Kept, Db.File());
    EXPECT_EQ(Module.ConnectDatabase(), 1);
    EXPECT_NO_THROW(Module.LoadOptions(Options));
    EXPECT_EQ(Options.AlertsProcessHour, 12);
}

TEST_F(DmodOptionsReading, ShowTimeOnFormatsTheLogonTime)
{
    FormatSettings().ShortDateFormat = "yyyy/mm/dd";
    FormatSettings().LongTimeFormat = "hh:mm:ss";
    FormatSettings().TimeSeparator = ':';
    Db.Exec("insert into EMPLOYEE (EmpNbr, Fname, Lname) values (7, 'Ann', 'Lee');"
            "insert into USER_LOGON (USERID, NAME, DORN_USER) values (3, 'ANN', 7);"
            "insert into CURRENT_USERS (UserId, TimeOn, VElmCount, DOrnCount)"
            " values (3, '2024/03/05 14:07:00', 1, 2)");
    Dmod->ActiveUsersQ->Open();
    ASSERT_EQ(Dmod->ActiveUsersQ->RecordCount(), 1);
    EXPECT_EQ(Dmod->ActiveUsersQShowTimeOn->AsString(), "Tue Mar 5 2:07pm");
    EXPECT_EQ(Dmod->ActiveUsersQFname->AsString(), "Ann");
    // A workstation's own date separator does not stop the stored time reading.
    Dmod->ActiveUsersQ->Close();
    FormatSettings().DateSeparator = '-';
    Dmod->ActiveUsersQ->Open();
    EXPECT_EQ(Dmod->ActiveUsersQShowTimeOn->AsString(), "Tue Mar 5 2:07pm");
}

TEST_F(DmodOptionsReading, ALogonWithoutATimeShowsNoTime)
{
    FormatSettings().ShortDateFormat = "yyyy/mm/dd";
    Db.Exec("insert into EMPLOYEE (EmpNbr, Fname, Lname) values (7, 'Ann', 'Lee'), (8, 'Bo', 'Ng');"
            "insert into USER_LOGON (USERID, NAME, DORN_USER) values (3, 'ANN', 7), (4, 'BO', 8);"
            "insert into CURRENT_USERS (UserId, TimeOn) values (3, NULL), (4, '2024/03/05 09:00:00')");
    Dmod->ActiveUsersQ->Open();
    ASSERT_EQ(Dmod->ActiveUsersQ->RecordCount(), 2);
    Dmod->ActiveUsersQ->First();
    EXPECT_EQ(Dmod->ActiveUsersQShowTimeOn->AsString(), "");
    Dmod->ActiveUsersQ->Next();
    EXPECT_EQ(Dmod->ActiveUsersQShowTimeOn->AsString(), "Tue Mar 5 9:00am");
}

TEST_F(DmodOptionsReading, NullDefaultsOfTheAlertMembers)
{
    struct Case {
        const char* Hour;
        int Expected;
    };
    for (const Case& C : {Case{"NULL", 12}, Case{"0", 12}, Case{"7", 7}, Case{"12", 12}}) {
        SetShort("AlertsProcessHour", C.Hour);
        SetShort("AlertsProcessMin", "NULL");
        SetShort("AlertsProcessAmPm", "NULL");
        ShopOptions Options;
        Options.AlertsProcessMin = 33;
        Options.AlertsProcessAmPm = 1;
        Dmod->LoadOptions(Options);
        EXPECT_EQ(Options.AlertsProcessHour, C.Expected) << C.Hour;
        EXPECT_EQ(Options.AlertsProcessMin, 0) << C.Hour;
        EXPECT_EQ(Options.AlertsProcessAmPm, 0) << C.Hour;
    }
}

TEST_F(DmodOptionsReading, NullTextsLoadEmptyOrKeepThePreviousValue)
{
    Db.Exec("update DORNWICK_OPTIONS set SMTPserver = 'mail.example', SMTPaccount = 'ops',"
            " SMTPpassword = 'pw', PoPrefix = 'P', PoSuffix = 'S', TaxAuthName = 'T',"
            " QBImportCode = 'Q', BatchApproveHour = 5");
    ShopOptions Options;
    Dmod->LoadOptions(Options);
    EXPECT_EQ(Options.SMTPserver, "mail.example");
    EXPECT_EQ(Options.BatchApproveHour, 5);
    Db.Exec("update DORNWICK_OPTIONS set SMTPserver = NULL, SMTPaccount = NULL,"
            " SMTPpassword = NULL, PoPrefix = NULL, PoSuffix = NULL, TaxAuthName = NULL,"
            " QBImportCode = NULL, BatchApproveHour = NULL, SMTPport = NULL,"
            " AlertsGenInd = NULL, AlertsEmailType = NULL, SMTPencryption = NULL;"
            "update WU_DFLTS set CustomCode = NULL, QtyDecimals = NULL, DT_PREF = NULL");
    Dmod->LoadOptions(Options);
    EXPECT_EQ(Options.SMTPserver, "mail.example");
    EXPECT_EQ(Options.SMTPaccount, "ops");
    EXPECT_EQ(Options.SMTPpassword, "pw");
    EXPECT_EQ(Options.BatchApproveHour, 5);
    for (const AnsiString* Text : {&Options.PoPrefix, &Options.PoSuffix, &Options.TaxAuthName,
                                   &Options.QBImportCode, &Options.CustomCode})
        EXPECT_EQ(*Text, "");
    EXPECT_EQ(Options.SMTPport, 0);
    EXPECT_EQ(Options.AlertsGenInd, 0);
    EXPECT_EQ(Options.AlertsEmailType, 0);
    EXPECT_EQ(Options.SMTPencryption, 0);
    EXPECT_EQ(Options.QtyDecimals, 0);
    EXPECT_EQ(Options.DT_PREF, 0);
}

TEST_F(DmodOptionsReading, UserDefaultsComeFromTheirOwnTable)
{
    Db.Exec("update WU_DFLTS set CustomCode = 'AB', QtyDecimals = 3, CostDecimals = 4,"
            " DT_PREF = 1, PH_PREF = 2");
    ShopOptions Options;
    Dmod->LoadOptions(Options);
    EXPECT_EQ(Options.CustomCode, "AB");
    EXPECT_EQ(Options.QtyDecimals, 3);
    EXPECT_EQ(Options.CostDecimals, 4);
    EXPECT_EQ(Options.DT_PREF, 1);
    EXPECT_EQ(Options.PH_PREF, 2);
    Db.Exec("delete from WU_DFLTS");
    Dmod->LoadOptions(Options);
    EXPECT_EQ(Options.CustomCode, "");
    EXPECT_EQ(Options.QtyDecimals, 0);
    EXPECT_EQ(Options.CostDecimals, 0);
    EXPECT_EQ(Options.DT_PREF, 0);
    EXPECT_EQ(Options.PH_PREF, 0);
}

TEST_F(DmodOptionsReading, AMissingRowOrARequiredNullRaises)
{
    ShopOptions Options;
    Options.DBMS_Level = "old";
    Db.Exec("delete from DORNWICK_OPTIONS");
    EXPECT_THROW(Dmod->LoadOptions(Options), Exception);
    EXPECT_EQ(Options.DBMS_Level, "old");
    Db.Exec("insert into DORNWICK_OPTIONS (TokenKey, DBMS_Level) values (1, 'L9');"
            "update DORNWICK_OPTIONS set LaborUomRef = NULL");
    EXPECT_THROW(Dmod->LoadOptions(Options), EVariantError);
    EXPECT_EQ(Options.DBMS_Level, "L9");
}

TEST_F(DmodOptionsReading, WritersSetTheirColumnsInEveryRow)
{
    Db.Exec("insert into DORNWICK_OPTIONS (TokenKey) values (2)");
    struct Case {
        std::function<void()> Write;
        const char* Check;
        const char* Expected;
    };
    const Case Cases[] = {
        {[&] { Dmod->TurnAlertsOn(); }, "AlertsGenInd", "1"},
        {[&] { Dmod->TurnAlertsOff(); }, "AlertsGenInd", "0"},
        {[&] { Dmod->SetEmailTypeSmtp(); }, "AlertsEmailType", "1"},
        {[&] { Dmod->SetEmailTypeOff(); }, "AlertsEmailType", "0"},
        {[&] { Dmod->SaveProcessTime(7, 30, 1); },
         "AlertsProcessHour || ',' || AlertsProcessMin || ',' || AlertsProcessAmPm", "7,30,1"},
        {[&] { Dmod->SaveSmtpSettings("smtp.example.com", 2, 587, "o'brien", "a:b:c", 1); },
         "SMTPserver || '|' || SMTPencryption || '|' || SMTPport || '|' || SMTPaccount || '|' ||"
         " SMTPpassword || '|' || AlertsEmailType",
         "smtp.example.com|2|587|o'brien|a:b:c|1"},
    };
    for (const Case& C : Cases) {
        C.Write();
        const auto Rows = Db.Rows(AnsiString("select ") + C.Check + " from DORNWICK_OPTIONS");
        ASSERT_EQ(Rows.size(), 2u);
        for (const auto& Row : Rows)
            EXPECT_EQ(Row[0].AsString(), C.Expected) << C.Check;
    }
}

TEST_F(DmodOptionsReading, SmtpSettingsGoInAsQuotedLiterals)
{
    Dmod->SaveSmtpSettings("smtp.example.com", 1, 465, "o'brien", "a:b", 1);
    EXPECT_EQ(LastStatement(),
              "Update DORNWICK_OPTIONS set SMTPserver = 'smtp.example.com', SMTPencryption = 1, "
              "SMTPport = 465, SMTPaccount = 'o''brien', SMTPpassword = 'a'||CHAR(58)||'b', "
              "AlertsEmailType = 1");
    Dmod->SaveProcessTime(7, 30, 1);
    EXPECT_EQ(LastStatement(), "Update DORNWICK_OPTIONS set AlertsProcessHour = 7, "
                               "AlertsProcessMin = 30, AlertsProcessAmPm = 1");
    // The round trip through the load gives the texts back as typed.
    ShopOptions Options;
    Dmod->LoadOptions(Options);
    EXPECT_EQ(Options.SMTPaccount, "o'brien");
    EXPECT_EQ(Options.SMTPpassword, "a:b");
    EXPECT_EQ(Options.SMTPport, 465);
    EXPECT_EQ(Options.AlertsProcessHour, 7);
}

TEST_F(DmodOptionsReading, ATextThatCannotBeStoredAsItIsChangesNothing)
{
    Dmod->SaveSmtpSettings("smtp.example.com", 0, 25, "ops", "pw", 1);
    const AnsiString WithNul("p\0w", 3);
    try {
        Dmod->SaveSmtpSettings("other.example.com", 2, 587, "ops", WithNul, 0);
        // Stored, it must come back whole.
        EXPECT_EQ(Db.Scalar("select SMTPpassword from DORNWICK_OPTIONS").AsString(), WithNul);
    } catch (const Exception&) {
        EXPECT_EQ(Db.Scalar("select SMTPserver || SMTPport || SMTPpassword from DORNWICK_OPTIONS").AsString(),
                  "smtp.example.com25pw");
    }
}

TEST_F(DmodOptionsReading, ComponentsCarryTheirStatementsAndFields)
{
    struct QueryCase {
        TQuery* Query;
        const char* Name;
        const char* Sql;
    };
    const QueryCase Queries[] = {
        {Dmod->UserLogonQ, "UserLogonQ", "Select USERID, NAME,DORN_USER\nfrom USER_LOGON\nwhere USERID >= 0\norder by NAME"},
        {Dmod->ActiveUsersQ, "ActiveUsersQ",
         "Select CU.UserId, TimeOn, VElmCount, DOrnCount, NAME,\nFname, Lname, DORN_USER \n"
         "from CURRENT_USERS CU, USER_LOGON U, EMPLOYEE E\nwhere CU.UserId = U.USERID\n"
         "and U.DORN_USER = E.EmpNbr \norder by TimeOn"},
        {Dmod->PcProfileListQ, "PcProfileListQ", "select Descr, PcToken \nfrom PC_DATA_COLLECTION_SETUP \norder by Descr"},
        {Dmod->MDCProfileListQ, "MDCProfileListQ", "select Name, ProfileNbr  \nfrom MDC_PROFILE \norder by Name"},
        {Dmod->CommonSql, "CommonSql", ""},
        {Dmod->CommonSql2, "CommonSql2", ""},
        {Dmod->CommonSql3, "CommonSql3", ""},
        {Dmod->AlertTransactionsQ, "AlertTransactionsQ", ""},
    };
    for (const QueryCase& C : Queries) {
        ASSERT_NE(C.Query, nullptr) << C.Name;
        EXPECT_EQ(C.Query->Name(), C.Name);
        EXPECT_EQ(C.Query->DatabaseName(), "Dornwickdbms") << C.Name;
        // The lines as the resource gives them, each with its trailing blanks.
        AnsiString Lines;
        for (int I = 0; I < C.Query->SQL()->Count(); ++I)
            Lines += (I ? "\n" : "") + C.Query->SQL()->Strings(I);
        EXPECT_EQ(Lines, C.Sql) << C.Name;
    }
    EXPECT_EQ(Dmod->DsUserLogon->DataSet(), Dmod->UserLogonQ);
    EXPECT_EQ(Dmod->DsActiveUsers->DataSet(), Dmod->ActiveUsersQ);
    EXPECT_EQ(Dmod->DsPcProfileList->DataSet(), Dmod->PcProfileListQ);
    EXPECT_EQ(Dmod->DsMDCProfileList->DataSet(), Dmod->MDCProfileListQ);

    struct FieldCase {
        TField* Field;
        TDataSet* Owner;
        const char* FieldName;
        const char* Label;
        int Width; // 0: not checked
        bool Visible;
    };
    const FieldCase Fields[] = {
        {Dmod->UserLogonQUSERID, Dmod->UserLogonQ, "USERID", "USERID", 0, false},
        {Dmod->UserLogonQNAME, Dmod->UserLogonQ, "NAME", "User Id", 0, true},
        {Dmod->UserLogonQDORN_USER, Dmod->UserLogonQ, "DORN_USER", "DORN_USER", 0, false},
        {Dmod->StringField1, Dmod->ActiveUsersQ, "NAME", "User Id", 9, true},
        {Dmod->ActiveUsersQFname, Dmod->ActiveUsersQ, "Fname", "First Name", 10, true},
        {Dmod->ActiveUsersQLname, Dmod->ActiveUsersQ, "Lname", "Last Name", 16, true},
        {Dmod->ActiveUsersQShowTimeOn, Dmod->ActiveUsersQ, "ShowTimeOn", "Time Logged On", 20, true},
        {Dmod->ActiveUsersQVElmCount, Dmod->ActiveUsersQ, "VElmCount", "VElm", 5, true},
        {Dmod->ActiveUsersQDOrnCount, Dmod->ActiveUsersQ, "DOrnCount", "DOrn", 5, true},
        {Dmod->ActiveUsersQTimeOn, Dmod->ActiveUsersQ, "TimeOn", "Time Logged On", 21, false},
        {Dmod->SmallintField1, Dmod->ActiveUsersQ, "USERID", "USERID", 0, false},
        {Dmod->IntegerField1, Dmod->ActiveUsersQ, "DORN_USER", "DORN_USER", 0, false},
        {Dmod->PcProfileListQPcToken, Dmod->PcProfileListQ, "PcToken", "PcToken", 0, true},
        {Dmod->PcProfileListQDescr, Dmod->PcProfileListQ, "Descr", "Descr", 0, true},
        {Dmod->MDCProfileListQName, Dmod->MDCProfileListQ, "Name", "Name", 0, true},
        {Dmod->MDCProfileListQProfileNbr, Dmod->MDCProfileListQ, "ProfileNbr", "ProfileNbr", 0, true},
    };
    for (const FieldCase& C : Fields) {
        ASSERT_NE(C.Field, nullptr) << C.FieldName;
        EXPECT_EQ(C.Field->DataSet(), C.Owner) << C.FieldName;
        EXPECT_EQ(C.Field->FieldName(), C.FieldName);
        EXPECT_EQ(C.Field->DisplayLabel(), C.Label) << C.FieldName;
        if (C.Width) EXPECT_EQ(C.Field->DisplayWidth(), C.Width) << C.FieldName;
        EXPECT_EQ(C.Field->Visible(), C.Visible) << C.FieldName;
    }
    EXPECT_TRUE(Dmod->ActiveUsersQShowTimeOn->Calculated());
    // The list queries open over the shop schema with the fields above.
    for (TQuery* Q : {Dmod->UserLogonQ, Dmod->PcProfileListQ, Dmod->MDCProfileListQ})
        EXPECT_NO_THROW(Q->Open()) << Q->Name();
}

TEST_F(DmodOptionsReading, AnUnreadableLogonTimeRaisesOutOfTheCalculatedField)
{
    FormatSettings().ShortDateFormat = "yyyy/mm/dd";
    Db.Exec("insert into EMPLOYEE (EmpNbr, Fname, Lname) values (7, 'Ann', 'Lee');"
            "insert into USER_LOGON (USERID, NAME, DORN_USER) values (3, 'ANN', 7);"
            "insert into CURRENT_USERS (UserId, TimeOn) values (3, 'soon')");
    EXPECT_THROW(Dmod->ActiveUsersQ->Open(), Exception);
}

} // namespace
