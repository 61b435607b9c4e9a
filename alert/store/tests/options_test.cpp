#include "StoreTest.h"

#include "platform/rtl/Exceptions.h"

namespace {

using OptionsTest = StoreTest;

TEST_F(OptionsTest, SeedRowLoadsWithUserDefaults) {
    ShopOptions options;
    Dmod->LoadOptions(options);
    EXPECT_EQ(options.AlertsGenInd, 0);
    EXPECT_EQ(options.AlertsProcessHour, 12);
    EXPECT_EQ(options.LastDayOfWeek, 7);
    EXPECT_EQ(options.QtyDecimals, 2);
    EXPECT_EQ(options.CostDecimals, 2);
    EXPECT_EQ(options.DT_PREF, 1);
    EXPECT_EQ(options.PH_PREF, 1);
}

TEST_F(OptionsTest, NullsFollowEachColumnsRule) {
    Db.Exec("update DORNWICK_OPTIONS set PoPrefix = NULL, PoSuffix = NULL, TaxAuthName = NULL,"
            " QBImportCode = NULL, ActFinChgLevel = NULL, JobRetainagePercent = NULL,"
            " SMTPserver = NULL, SMTPaccount = NULL, SMTPpassword = NULL, BatchApproveHour = NULL,"
            " AlertsProcessHour = NULL, AlertsProcessMin = NULL, AlertsProcessAmPm = NULL,"
            " SMTPport = NULL;"
            "update WU_DFLTS set CustomCode = NULL, QtyDecimals = NULL, DT_PREF = NULL;");
    ShopOptions options;
    options.PoPrefix = options.PoSuffix = options.TaxAuthName = options.QBImportCode = "old";
    options.CustomCode = "old";
    options.ActFinChgLevel = options.QtyDecimals = options.DT_PREF = options.SMTPport = 5;
    options.JobRetainagePercent = 5.5;
    options.SMTPserver = "smtp.old";
    options.SMTPaccount = "old account";
    options.SMTPpassword = "old secret";
    options.BatchApproveHour = 9;
    options.AlertsProcessMin = options.AlertsProcessAmPm = 1;

    Dmod->LoadOptions(options);

    // Empty text.
    EXPECT_EQ(options.PoPrefix, "");
    EXPECT_EQ(options.PoSuffix, "");
    EXPECT_EQ(options.TaxAuthName, "");
    EXPECT_EQ(options.QBImportCode, "");
    EXPECT_EQ(options.CustomCode, "");
    // Zero.
    EXPECT_EQ(options.ActFinChgLevel, 0);
    EXPECT_EQ(options.JobRetainagePercent, 0.0);
    EXPECT_EQ(options.SMTPport, 0);
    EXPECT_EQ(options.QtyDecimals, 0);
    EXPECT_EQ(options.DT_PREF, 0);
    // Unchanged: what the previous load gave stays.
    EXPECT_EQ(options.SMTPserver, "smtp.old");
    EXPECT_EQ(options.SMTPaccount, "old account");
    EXPECT_EQ(options.SMTPpassword, "old secret");
    EXPECT_EQ(options.BatchApproveHour, 9);
    // The run time.
    EXPECT_EQ(options.AlertsProcessHour, 12);
    EXPECT_EQ(options.AlertsProcessMin, 0);
    EXPECT_EQ(options.AlertsProcessAmPm, 0);
}

TEST_F(OptionsTest, RunHourZeroMeansNoon) {
    ShopOptions options;
    for (const auto& [stored, loaded] : {std::pair{0, 12}, {7, 7}, {12, 12}}) {
        Db.Exec("update DORNWICK_OPTIONS set AlertsProcessHour = " + std::to_string(stored));
        Dmod->LoadOptions(options);
        EXPECT_EQ(options.AlertsProcessHour, loaded) << stored;
    }
}

TEST_F(OptionsTest, NullInARequiredColumnFailsNamingIt) {
    // A text, an integer, a small integer and a float column.
    for (const char* column : {"WoCustLabel3", "JobStatusNbr", "LaborUomRef", "AvgLaborCost"}) {
        Db.Exec(AnsiString("update DORNWICK_OPTIONS set ") + column + " = NULL");
        ShopOptions options;
        try {
            Dmod->LoadOptions(options);
            ADD_FAILURE() << column << " NULL was accepted";
        } catch (const EVariantTypeCastError& error) {
            EXPECT_NE(error.Message.find(column), AnsiString::npos) << error.Message;
        }
        Db.Exec(AnsiString("update DORNWICK_OPTIONS set ") + column + " = 0");
    }
}

TEST_F(OptionsTest, FailedLoadKeepsWhatItReadBefore) {
    Db.Exec("update DORNWICK_OPTIONS set DBMS_Level = 'v2', SMTPserver = 'smtp.new',"
            " ConvEquip = NULL");
    ShopOptions options;
    options.SMTPserver = "smtp.old";
    EXPECT_THROW(Dmod->LoadOptions(options), EVariantTypeCastError);
    EXPECT_EQ(options.DBMS_Level, "v2");
    EXPECT_EQ(options.SMTPserver, "smtp.old");
}

TEST_F(OptionsTest, MissingOptionsRowIsReported) {
    Db.Exec("update DORNWICK_OPTIONS set TokenKey = 2");
    ShopOptions options;
    try {
        Dmod->LoadOptions(options);
        FAIL() << "no error without the options row";
    } catch (const Exception& error) {
        EXPECT_EQ(error.Message,
                  "The options row (TokenKey = 1) is missing from DORNWICK_OPTIONS.");
    }
}

TEST_F(OptionsTest, MissingUserDefaultsLoadAsEmpty) {
    Db.Exec("update WU_DFLTS set CustomCode = 'ACME'");
    ShopOptions options;
    Dmod->LoadOptions(options);
    EXPECT_EQ(options.CustomCode, "ACME");
    Db.Exec("delete from WU_DFLTS");
    Dmod->LoadOptions(options);
    EXPECT_EQ(options.CustomCode, "");
    EXPECT_EQ(options.QtyDecimals, 0);
    EXPECT_EQ(options.CostDecimals, 0);
    EXPECT_EQ(options.DT_PREF, 0);
    EXPECT_EQ(options.PH_PREF, 0);
}

TEST_F(OptionsTest, WritersSetEveryRow) {
    Db.Exec("insert into DORNWICK_OPTIONS (TokenKey) values (2)");
    const auto column = [&](const char* name) {
        return Db.Rows(AnsiString("select ") + name + " from DORNWICK_OPTIONS order by TokenKey");
    };
    const auto both = [](int value) {
        return std::vector<std::vector<Variant>>{{Variant(value)}, {Variant(value)}};
    };

    Dmod->TurnAlertsOn();
    EXPECT_EQ(LastStatement(), "Update DORNWICK_OPTIONS set AlertsGenInd = 1");
    EXPECT_EQ(column("AlertsGenInd"), both(1));
    Dmod->TurnAlertsOff();
    EXPECT_EQ(column("AlertsGenInd"), both(0));
    Dmod->SetEmailTypeSmtp();
    EXPECT_EQ(column("AlertsEmailType"), both(1));
    Dmod->SetEmailTypeOff();
    EXPECT_EQ(column("AlertsEmailType"), both(0));

    Dmod->SaveProcessTime(7, 30, 1);
    EXPECT_EQ(LastStatement(), "Update DORNWICK_OPTIONS set AlertsProcessHour = 7, "
                               "AlertsProcessMin = 30, AlertsProcessAmPm = 1");
    EXPECT_EQ(Db.Rows("select AlertsProcessHour, AlertsProcessMin, AlertsProcessAmPm"
                      " from DORNWICK_OPTIONS where TokenKey = 2"),
              (std::vector<std::vector<Variant>>{{Variant(7), Variant(30), Variant(1)}}));
}

TEST_F(OptionsTest, SmtpSettingsArriveAsQuotedLiterals) {
    const AnsiString password("pa:ss'\r\n\0x", 10);
    Dmod->SaveSmtpSettings("mail.example.com", 2, 587, "O'Brien", password, 1);
    EXPECT_EQ(LastStatement(),
              "Update DORNWICK_OPTIONS set SMTPserver = 'mail.example.com', SMTPencryption = 2, "
              "SMTPport = 587, SMTPaccount = 'O''Brien', SMTPpassword = "
              "'pa'||CHAR(58)||'ss'''||CHAR(13)||''||CHAR(10)||''||CHAR(0)||'x', "
              "AlertsEmailType = 1");
    ShopOptions options;
    Dmod->LoadOptions(options);
    EXPECT_EQ(options.SMTPserver, "mail.example.com");
    EXPECT_EQ(options.SMTPaccount, "O'Brien");
    EXPECT_EQ(options.SMTPpassword, password);
    EXPECT_EQ(options.SMTPencryption, 2);
    EXPECT_EQ(options.SMTPport, 587);
    EXPECT_EQ(options.AlertsEmailType, 1);
}

} // namespace
