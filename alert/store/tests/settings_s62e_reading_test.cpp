// Alert settings with their sources and values, the recipients of an alert
// id and the change markers, through the main data module over a real shop
// database.
#include "StoreTest.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"

#include <map>
#include <set>

namespace {

class SettingsReading : public StoreTest {
protected:
    // A setting of the employee for the alert id; returns its number.
    int AddSetting(int AlertId, int EmpNbr, const char* Frequency = "1")
    {
        Db.Exec(Format("insert into ALERT_SETTING (AlertId, EmpNbr, EmailFrequency, Priority, Source)"
                       " values (%d, %d, %s, 2, 4)",
                       AlertId, EmpNbr, Frequency));
        return Db.Scalar("select max(AlertSettingNbr) from ALERT_SETTING").AsInteger();
    }
    // A receiving employee: defaults not halted and a logon with alerts on.
    void AddRecipient(int EmpNbr, int Halt = 0, int DornAlerts = 1)
    {
        Db.Exec(Format("insert into ALERT_USER_DEFAULTS (EmpNbr, HaltAlertGeneration) values (%d, %d);"
                       "insert into USER_LOGON (USERID, NAME, DORN_USER, DORN_ALERTS)"
                       " values (%d, 'U%d', %d, %d)",
                       EmpNbr, Halt, EmpNbr, EmpNbr, EmpNbr, DornAlerts));
    }
    int AddValueRow(int SettingNbr)
    {
        Db.Exec(Format("insert into ALERT_VALUE (AlertSettingNbr) values (%d)", SettingNbr));
        return Db.Scalar("select max(AlertValueNbr) from ALERT_VALUE").AsInteger();
    }
    void AddSubValue(int ValueNbr, int Sequence, const char* Columns, const char* Values)
    {
        Db.Exec(Format("insert into ALERT_SUB_VALUE (AlertValueNbr, Sequence%s) values (%d, %d%s)",
                       Columns, ValueNbr, Sequence, Values));
    }
};

TEST_F(SettingsReading, LoadsTheSettingWithItsSourcesInRowOrder)
{
    const int Nbr = AddSetting(12, 40, "259");
    Db.Exec(Format("insert into ALERT_SETTING_SOURCE (AlertSettingNbr, EmpNbr, DeptNbr, InvTypeNbr) values"
                   " (%d, 9, 5, NULL), (%d, NULL, 7, 3), (%d, NULL, NULL, 2),"
                   " (%d, NULL, NULL, NULL), (%d, 1, NULL, NULL)",
                   Nbr, Nbr, Nbr, Nbr, Nbr));
    AlertSetting Setting;
    ASSERT_TRUE(Dmod->LoadAlertSetting(12, 40, Setting));
    EXPECT_EQ(Setting.AlertSettingNbr, Nbr);
    EXPECT_EQ(Setting.AlertId, 12);
    EXPECT_EQ(Setting.EmpNbr, 40);
    EXPECT_EQ(Setting.EmailFrequency, 3); // the low byte of 259
    EXPECT_EQ(Setting.Priority, 2);
    EXPECT_EQ(Setting.Source, 4);
    EXPECT_EQ(Setting.SourceIds, (std::vector<std::int32_t>{9, 7, 2, 1}));
    EXPECT_TRUE(Setting.ValueGroups.empty());
}

TEST_F(SettingsReading, AMissingSettingLeavesTheRecordUntouched)
{
    AddSetting(12, 41);
    AlertSetting Setting;
    Setting.AlertSettingNbr = 77;
    Setting.SourceIds = {5};
    EXPECT_FALSE(Dmod->LoadAlertSetting(12, 40, Setting));
    EXPECT_EQ(Setting.AlertSettingNbr, 77);
    EXPECT_EQ(Setting.SourceIds, std::vector<std::int32_t>{5});
}

TEST_F(SettingsReading, ValueRowsFormGroupsAndTakeTheFirstNonNullColumn)
{
    const int Nbr = AddSetting(30, 40);
    const int First = AddValueRow(Nbr);
    const int Second = AddValueRow(Nbr);
    // Stored out of order: the read orders them by value row and sequence.
    AddSubValue(Second, 2, ", JobStatusNbr", ", 8");
    AddSubValue(First, 1, ", IntValue, RealValue, StringValue", ", 0, 2.5, 'X'");
    AddSubValue(First, 0, ", RealValue, StringValue", ", 1.25, 'Y'");
    AddSubValue(Second, 0, ", StringValue", ", 'ABC'");
    AddSubValue(Second, 1, ", WoStatusNbr", ", 4");
    AlertSetting Setting;
    ASSERT_TRUE(Dmod->LoadAlertSetting(30, 40, Setting));
    ASSERT_EQ(Setting.ValueGroups.size(), 2u);
    struct Expected {
        AlertValueKind Kind;
        const char* Text;
        int Sequence;
    };
    const std::vector<std::vector<Expected>> Groups = {
        {{AlertValueKind::RealValue, "1.25", 0}, {AlertValueKind::IntValue, "0", 1}},
        {{AlertValueKind::StringValue, "ABC", 0},
         {AlertValueKind::WoStatusNbr, "4", 1},
         {AlertValueKind::JobStatusNbr, "8", 2}},
    };
    for (std::size_t G = 0; G < Groups.size(); ++G) {
        ASSERT_EQ(Setting.ValueGroups[G].size(), Groups[G].size()) << G;
        for (std::size_t V = 0; V < Groups[G].size(); ++V) {
            const AlertSettingValue& Got = Setting.ValueGroups[G][V];
            EXPECT_EQ(Got.Kind, Groups[G][V].Kind) << G << "," << V;
            EXPECT_EQ(Got.Value.AsString(), Groups[G][V].Text) << G << "," << V;
            EXPECT_EQ(Got.Sequence, Groups[G][V].Sequence) << G << "," << V;
        }
    }
    EXPECT_EQ(Setting.ValueGroups[1][0].Value.Type(), varString);
    EXPECT_EQ(Setting.ValueGroups[0][1].Value.AsInteger(), 0);
}

TEST_F(SettingsReading, AGroupOpensWithoutSequenceZeroAndClosesOnlyOnTheNext)
{
    const int Nbr = AddSetting(30, 40);
    const int First = AddValueRow(Nbr);
    const int Second = AddValueRow(Nbr);
    AddSubValue(First, 1, ", IntValue", ", 10");
    AddSubValue(First, 2, ", IntValue", ", 11");
    AddSubValue(Second, 1, ", IntValue", ", 12");
    AlertSetting Setting;
    ASSERT_TRUE(Dmod->LoadAlertSetting(30, 40, Setting));
    ASSERT_EQ(Setting.ValueGroups.size(), 1u);
    EXPECT_EQ(Setting.ValueGroups[0].size(), 3u);
}

TEST_F(SettingsReading, AnAllNullValueRaisesNamingTheSetting)
{
    AddRecipient(40);
    AddRecipient(41);
    AddSetting(30, 40);
    const int Bad = AddSetting(30, 41);
    AddSubValue(AddValueRow(Bad), 0, "", "");
    AlertSetting Setting;
    try {
        Dmod->LoadAlertSetting(30, 41, Setting);
        FAIL() << "no exception";
    } catch (const Exception& E) {
        EXPECT_EQ(E.Message, Format("Null Alert Value encountered (setting: %d)", Bad));
    }
    // The recipients' list keeps the settings loaded before the bad one.
    std::vector<AlertSetting> Result;
    EXPECT_THROW(Dmod->LoadAlertSettings(30, Result), Exception);
    ASSERT_EQ(Result.size(), 1u);
    EXPECT_EQ(Result[0].EmpNbr, 40);
    // Read for a whole batch, the bad alert id is left out and the others stay.
    AddSetting(31, 40);
    AlertRecipients Recipients;
    Dmod->LoadAlertRecipients(Recipients);
    std::map<std::int32_t, std::vector<AlertSetting>> All;
    Dmod->LoadAllAlertSettings(Recipients, All);
    EXPECT_EQ(All.count(30), 0u);
    ASSERT_EQ(All.count(31), 1u);
    EXPECT_EQ(All[31].size(), 1u);
}

TEST_F(SettingsReading, RecipientsAreTheUnhaltedEmployeesWhoseLogonReceivesAlerts)
{
    AddRecipient(40);
    AddRecipient(41, /*Halt*/ 1);
    AddRecipient(42, 0, /*DornAlerts*/ 0);
    Db.Exec("insert into ALERT_USER_DEFAULTS (EmpNbr, HaltAlertGeneration) values (43, 0);"
            "insert into USER_LOGON (USERID, NAME, DORN_USER, DORN_ALERTS) values (44, 'U44', 44, 1);"
            "insert into USER_LOGON (USERID, NAME, DORN_USER, DORN_ALERTS) values (45, 'X40', 40, 2);"
            "insert into ALERT_USER_DEFAULTS (EmpNbr, HaltAlertGeneration) values (46, NULL);"
            "insert into USER_LOGON (USERID, NAME, DORN_USER, DORN_ALERTS) values (46, 'U46', 46, 1)");
    // 47: one logon receives, one does not; 48: the receiving flag is NULL;
    // 49: a halt flag other than 1 does not halt.
    AddRecipient(47);
    AddRecipient(48);
    AddRecipient(49, /*Halt*/ 2);
    Db.Exec("insert into USER_LOGON (USERID, NAME, DORN_USER, DORN_ALERTS) values (147, 'V47', 47, 0);"
            "update USER_LOGON set DORN_ALERTS = NULL where USERID = 48");
    for (int Emp : {40, 41, 42, 43, 44, 46, 47, 48, 49})
        AddSetting(30, Emp);
    AddSetting(31, 40);

    std::vector<AlertSetting> Direct;
    Dmod->LoadAlertSettings(30, Direct);
    AlertRecipients Recipients;
    Dmod->LoadAlertRecipients(Recipients);
    std::vector<AlertSetting> Shared;
    Dmod->LoadAlertSettings(30, Recipients, Shared);
    std::map<std::int32_t, std::vector<AlertSetting>> All;
    Dmod->LoadAllAlertSettings(Recipients, All);

    // Employee 40 has two receiving logons, so two settings; 46's NULL halt
    // flag fails the test as any NULL does.
    for (const auto* List : {&Direct, &Shared, &All[30]}) {
        std::multiset<std::int32_t> Employees;
        for (const AlertSetting& S : *List) {
            Employees.insert(S.EmpNbr);
            EXPECT_EQ(S.AlertId, 30);
        }
        EXPECT_EQ(Employees, (std::multiset<std::int32_t>{40, 40, 47, 49}));
    }
    ASSERT_EQ(All[31].size(), 2u);
}

TEST_F(SettingsReading, MarkersMoveWhenSettingsAreAddedRemovedOrReplaced)
{
    int Identity0 = 0, Count0 = 0;
    Dmod->GetAlertSettingMarkers(Identity0, Count0);
    EXPECT_EQ(Count0, 0);
    const int Nbr = AddSetting(30, 40);
    int Identity1 = 0, Count1 = 0;
    Dmod->GetAlertSettingMarkers(Identity1, Count1);
    EXPECT_EQ(Count1, 1);
    EXPECT_EQ(Identity1, Nbr + 1);
    // Replaced: same count, new identity.
    Db.Exec(Format("delete from ALERT_SETTING where AlertSettingNbr = %d", Nbr));
    AddSetting(30, 40);
    int Identity2 = 0, Count2 = 0;
    Dmod->GetAlertSettingMarkers(Identity2, Count2);
    EXPECT_EQ(Count2, 1);
    EXPECT_NE(Identity2, Identity1);
}

} // namespace
