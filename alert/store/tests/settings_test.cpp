#include "StoreTest.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/Format.h"

#include <algorithm>
#include <map>
#include <random>
#include <tuple>

namespace {

using SettingsTest = StoreTest;

// The values of a setting as (kind, sequence) pairs per group, and the
// values themselves, for compact comparison.
std::vector<std::vector<std::pair<int, int>>> Shape(const AlertSetting& Setting) {
    std::vector<std::vector<std::pair<int, int>>> groups;
    for (const AlertValueGroup& group : Setting.ValueGroups) {
        groups.emplace_back();
        for (const AlertSettingValue& value : group)
            groups.back().emplace_back(static_cast<int>(value.Kind), value.Sequence);
    }
    return groups;
}

// Two reads of one setting agree on its own columns, its sources and the
// shape of its values.
void ExpectSameSetting(const AlertSetting& a, const AlertSetting& b) {
    EXPECT_EQ(std::tie(a.AlertSettingNbr, a.AlertId, a.EmpNbr, a.EmailFrequency, a.Priority,
                       a.Source, a.SourceIds),
              std::tie(b.AlertSettingNbr, b.AlertId, b.EmpNbr, b.EmailFrequency, b.Priority,
                       b.Source, b.SourceIds));
    EXPECT_EQ(Shape(a), Shape(b));
}

TEST_F(SettingsTest, SettingWithSourcesInStoredOrderAndValueGroups) {
    Db.Exec("insert into ALERT_SETTING (AlertSettingNbr, AlertId, EmpNbr, EmailFrequency, Priority,"
            " Source) values (40, 12, 7, 3, 2, 1), (41, 12, 8, 1, 0, 0);"
            // Stored order, not sorted; a row with two ids gives the first of
            // EmpNbr, DeptNbr, InvTypeNbr; a row with none gives nothing.
            "insert into ALERT_SETTING_SOURCE values (40, 30, NULL, NULL), (40, NULL, 5, 6),"
            " (40, NULL, NULL, 2), (40, NULL, NULL, NULL), (40, 12, 99, NULL), (41, 1, NULL, NULL);"
            "insert into ALERT_VALUE (AlertValueNbr, AlertSettingNbr) values (100, 40), (101, 40);"
            // Inserted out of order: the read orders by value row, then sequence.
            "insert into ALERT_SUB_VALUE values"
            " (101, 2, NULL, NULL, NULL, NULL, 4),"
            " (100, 1, NULL, 2.5, 'ignored', NULL, NULL),"
            " (101, 0, NULL, NULL, 'ABC', NULL, NULL),"
            " (100, 0, 0, 9.5, 'x', 3, 4),"
            " (101, 1, NULL, NULL, NULL, 6, NULL);");

    AlertSetting setting;
    ASSERT_TRUE(Dmod->LoadAlertSetting(12, 7, setting));
    EXPECT_EQ(setting.AlertSettingNbr, 40);
    EXPECT_EQ(setting.AlertId, 12);
    EXPECT_EQ(setting.EmpNbr, 7);
    EXPECT_EQ(setting.EmailFrequency, 3);
    EXPECT_EQ(setting.Priority, 2);
    EXPECT_EQ(setting.Source, 1);
    EXPECT_EQ(setting.SourceIds, (std::vector<std::int32_t>{30, 5, 2, 12}));

    using V = std::vector<std::pair<int, int>>;
    EXPECT_EQ(Shape(setting), (std::vector<V>{{{1, 0}, {2, 1}}, {{3, 0}, {6, 1}, {5, 2}}}));
    // An IntValue of 0 wins over every other column; a text stays text.
    EXPECT_EQ(setting.ValueGroups[0][0].Value.Type(), varInteger);
    EXPECT_EQ(setting.ValueGroups[0][0].Value, 0);
    EXPECT_EQ(setting.ValueGroups[0][1].Value, 2.5);
    EXPECT_EQ(setting.ValueGroups[1][0].Value.Type(), varString);
    EXPECT_EQ(setting.ValueGroups[1][0].Value, "ABC");
    EXPECT_EQ(setting.ValueGroups[1][1].Value, 6);
    EXPECT_EQ(setting.ValueGroups[1][2].Value, 4);

    // Loading into a used record replaces its lists.
    ASSERT_TRUE(Dmod->LoadAlertSetting(12, 7, setting));
    EXPECT_EQ(setting.SourceIds.size(), 4u);
    EXPECT_EQ(setting.ValueGroups.size(), 2u);

    AlertSetting bare;
    ASSERT_TRUE(Dmod->LoadAlertSetting(12, 8, bare));
    EXPECT_EQ(bare.SourceIds, std::vector<std::int32_t>{1});
    EXPECT_TRUE(bare.ValueGroups.empty());
}

TEST_F(SettingsTest, GroupIsOnlyClosedByALaterSequenceZero) {
    Db.Exec("insert into ALERT_SETTING (AlertSettingNbr, AlertId, EmpNbr) values (1, 5, 2);"
            "insert into ALERT_VALUE (AlertValueNbr, AlertSettingNbr) values (10, 1), (11, 1);"
            "insert into ALERT_SUB_VALUE (AlertValueNbr, Sequence, IntValue) values"
            " (10, 1, 1), (10, 2, 2), (11, 1, 3);");
    AlertSetting setting;
    ASSERT_TRUE(Dmod->LoadAlertSetting(5, 2, setting));
    using V = std::vector<std::pair<int, int>>;
    EXPECT_EQ(Shape(setting), (std::vector<V>{{{1, 1}, {1, 2}, {1, 1}}}));
}

TEST_F(SettingsTest, MissingSettingLeavesTheRecordAlone) {
    AlertSetting setting;
    setting.AlertSettingNbr = 77;
    setting.SourceIds = {1};
    EXPECT_FALSE(Dmod->LoadAlertSetting(1, 1, setting));
    EXPECT_EQ(setting.AlertSettingNbr, 77);
    EXPECT_EQ(setting.SourceIds, std::vector<std::int32_t>{1});
}

TEST_F(SettingsTest, AllNullValueRowIsAnError) {
    Db.Exec("insert into ALERT_SETTING (AlertSettingNbr, AlertId, EmpNbr) values (9, 5, 2);"
            "insert into ALERT_VALUE (AlertValueNbr, AlertSettingNbr) values (10, 9);"
            "insert into ALERT_SUB_VALUE (AlertValueNbr, Sequence) values (10, 0);");
    AlertSetting setting;
    try {
        Dmod->LoadAlertSetting(5, 2, setting);
        FAIL() << "an all-NULL value was accepted";
    } catch (const Exception& error) {
        EXPECT_EQ(error.Message, "Null Alert Value encountered (setting: 9)");
    }
    EXPECT_EQ(setting.AlertSettingNbr, 0);
}

TEST_F(SettingsTest, RecipientsAreThoseWhoseAlertsAreNotHaltedAndWhoReceiveAlerts) {
    Db.Exec("insert into ALERT_SETTING (AlertId, EmpNbr, EmailFrequency) values"
            " (12, 1, 1), (12, 2, 1), (12, 3, 1), (12, 4, 1), (12, 5, 1), (13, 1, 3);"
            "insert into ALERT_USER_DEFAULTS (EmpNbr, HaltAlertGeneration) values"
            " (1, 0), (2, 1), (3, 0), (5, NULL), (6, 0);"
            "insert into USER_LOGON (USERID, DORN_USER, DORN_ALERTS) values"
            " (1, 1, 1), (2, 2, 1), (3, 3, 0), (4, 4, 1), (5, 5, 1);");
    // 1 qualifies; 2 halted; 3 logon without alerts; 4 no defaults; 5 halt NULL.
    std::vector<AlertSetting> settings;
    Dmod->LoadAlertSettings(12, settings);
    ASSERT_EQ(settings.size(), 1u);
    EXPECT_EQ(settings[0].EmpNbr, 1);
    EXPECT_EQ(settings[0].EmailFrequency, 1);

    // A logon listed twice gives two rows, and two settings; the result is
    // appended to.
    Db.Exec("insert into USER_LOGON (USERID, DORN_USER, DORN_ALERTS) values (9, 1, 2)");
    Dmod->LoadAlertSettings(13, settings);
    ASSERT_EQ(settings.size(), 3u);
    EXPECT_EQ(settings[1].EmailFrequency, 3);
    EXPECT_EQ(settings[2].EmailFrequency, 3);

    // A setting without an employee reaches nobody, not even an employee 0
    // with defaults and a logon; a logon naming its user by text matches no
    // employee and does not stop the read.
    settings.clear();
    Db.Exec("insert into ALERT_SETTING (AlertId, EmpNbr) values (14, NULL), (14, 0), (14, 7);"
            "insert into ALERT_USER_DEFAULTS (EmpNbr, HaltAlertGeneration) values (0, 0), (7, 0);"
            "insert into USER_LOGON (USERID, DORN_USER, DORN_ALERTS) values (10, 0, 1),"
            " (11, 'seven', 1);");
    Dmod->LoadAlertSettings(14, settings);
    ASSERT_EQ(settings.size(), 1u);
    EXPECT_EQ(settings[0].EmpNbr, 0);
}

TEST_F(SettingsTest, FailingSettingKeepsThoseBefore) {
    Db.Exec("insert into ALERT_SETTING (AlertSettingNbr, AlertId, EmpNbr) values (1, 12, 1), (2, "
            "12, 2);"
            "insert into ALERT_USER_DEFAULTS (EmpNbr) values (1), (2);"
            "insert into USER_LOGON (USERID, DORN_USER, DORN_ALERTS) values (1, 1, 1), (2, 2, 1);"
            "insert into ALERT_VALUE (AlertValueNbr, AlertSettingNbr) values (10, 2);"
            "insert into ALERT_SUB_VALUE (AlertValueNbr, Sequence) values (10, 0);");
    std::vector<AlertSetting> settings;
    EXPECT_THROW(Dmod->LoadAlertSettings(12, settings), Exception);
    ASSERT_EQ(settings.size(), 1u);
    EXPECT_EQ(settings[0].EmpNbr, 1);
}

TEST_F(SettingsTest, AllRecipientsAtOnceReadAsEachOnItsOwn) {
    // Employee 2 has two settings for the id (the first counts) and two
    // logons (two entries); 3's setting has neither sources nor values;
    // settings of another id stay out.
    Db.Exec("insert into ALERT_SETTING (AlertSettingNbr, AlertId, EmpNbr, EmailFrequency, Priority,"
            " Source) values (5, 12, 2, 3, 1, 7), (6, 12, 1, 1, 2, 11), (7, 12, 2, 4, 0, 8),"
            " (8, 12, 3, 5, 3, 10), (9, 13, 1, 1, 1, 7);"
            "insert into ALERT_USER_DEFAULTS (EmpNbr) values (1), (2), (3);"
            "insert into USER_LOGON (USERID, DORN_USER, DORN_ALERTS) values (1, 1, 1), (2, 2, 1),"
            " (3, 3, 1), (4, 2, 1);"
            "insert into ALERT_SETTING_SOURCE values (6, NULL, 4, NULL), (5, 30, NULL, NULL),"
            " (7, 31, NULL, NULL), (5, NULL, NULL, 2), (9, 1, NULL, NULL), (6, NULL, 3, NULL);"
            "insert into ALERT_VALUE (AlertValueNbr, AlertSettingNbr) values (100, 6), (101, 5),"
            " (102, 6), (103, 9);"
            "insert into ALERT_SUB_VALUE (AlertValueNbr, Sequence, IntValue, RealValue, "
            "StringValue) values (102, 0, 4, NULL, NULL), (100, 1, NULL, 2.5, NULL),"
            " (100, 0, NULL, NULL, 'a'), (101, 0, 9, NULL, NULL), (103, 0, 1, NULL, NULL);");
    std::vector<AlertSetting> together;
    Dmod->LoadAlertSettings(12, together);
    std::vector<AlertSetting> apart;
    Db.Exec("create table RECIPIENTS as select ALS.EmpNbr from ALERT_SETTING ALS left outer join "
            "ALERT_USER_DEFAULTS ALD on ALS.EmpNbr = ALD.EmpNbr left outer join USER_LOGON UL on "
            "ALS.EmpNbr = UL.DORN_USER where ALS.AlertId = 12 AND ALD.HaltAlertGeneration != 1 "
            "AND UL.DORN_ALERTS > 0");
    for (const auto& row : Db.Rows("select EmpNbr from RECIPIENTS")) {
        apart.emplace_back();
        ASSERT_TRUE(Dmod->LoadAlertSetting(12, row[0].AsInteger(), apart.back()));
    }
    ASSERT_EQ(together.size(), apart.size());
    for (std::size_t i = 0; i < apart.size(); ++i) {
        SCOPED_TRACE(i);
        const AlertSetting& a = together[i];
        const AlertSetting& b = apart[i];
        ExpectSameSetting(a, b);
        for (std::size_t g = 0; g < a.ValueGroups.size() && g < b.ValueGroups.size(); ++g)
            for (std::size_t v = 0; v < a.ValueGroups[g].size() && v < b.ValueGroups[g].size(); ++v)
                EXPECT_EQ(a.ValueGroups[g][v].Value.AsString(),
                          b.ValueGroups[g][v].Value.AsString());
    }
    // Employee 2 always gets the first of its settings, with its sources.
    for (const AlertSetting& setting : together)
        if (setting.EmpNbr == 2) {
            EXPECT_EQ(setting.AlertSettingNbr, 5);
            EXPECT_EQ(setting.SourceIds, (std::vector<std::int32_t>{30, 2}));
        }
}

TEST_F(SettingsTest, ManyRecipientsReadAsTheJoinCountsThem) {
    // Random employees, long enough runs that a recipient's place is
    // searched for as well as stepped to: settings in shuffled employee
    // order (some twice, some without an employee), alerts halted or not
    // (NULL counts as halted), no defaults, zero to two receiving logons.
    std::mt19937 random(12);
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        Db.Exec("delete from ALERT_SETTING; delete from ALERT_USER_DEFAULTS; delete from "
                "USER_LOGON;");
        std::vector<int> employees;
        for (int emp = 1; emp <= 90; ++emp)
            for (unsigned times = random() % 3; times > 0; --times)
                employees.push_back(emp);
        std::shuffle(employees.begin(), employees.end(), random);
        for (const int emp : employees)
            Db.Exec(Format("insert into ALERT_SETTING (AlertId, EmpNbr) values (12, %s)",
                           random() % 15 == 0 ? AnsiString("NULL") : IntToStr(emp)));
        int logon = 0;
        for (int emp = 1; emp <= 90; ++emp) {
            const unsigned halt = random() % 6;
            if (halt < 4)
                Db.Exec(Format("insert into ALERT_USER_DEFAULTS (EmpNbr, HaltAlertGeneration) "
                               "values (%d, %s)",
                               emp, halt == 0 ? "1" : halt == 1 ? "NULL" : "0"));
            for (unsigned logons = random() % 3; logons > 0; --logons)
                Db.Exec(Format("insert into USER_LOGON (USERID, DORN_USER, DORN_ALERTS) values "
                               "(%d, %d, %d)",
                               ++logon, emp, static_cast<int>(random() % 4)));
        }
        std::vector<int> expected;
        for (const auto& row : Db.Rows(
                 "with firsts as (select EmpNbr, min(AlertSettingNbr) First, count(*) N from "
                 "ALERT_SETTING where AlertId = 12 and EmpNbr is not null group by EmpNbr), "
                 "logons as (select DORN_USER EmpNbr, count(*) L from USER_LOGON where "
                 "DORN_ALERTS > 0 group by DORN_USER) select F.First, F.N * L.L from firsts F "
                 "join ALERT_USER_DEFAULTS D on D.EmpNbr = F.EmpNbr and D.HaltAlertGeneration "
                 "!= 1 join logons L on L.EmpNbr = F.EmpNbr order by F.EmpNbr"))
            expected.insert(expected.end(), row[1].AsInteger(), row[0].AsInteger());
        std::vector<AlertSetting> settings;
        Dmod->LoadAlertSettings(12, settings);
        std::vector<int> numbers;
        for (const AlertSetting& setting : settings)
            numbers.push_back(setting.AlertSettingNbr);
        EXPECT_EQ(numbers, expected);
        EXPECT_GT(expected.size(), 15u);
    }
}

TEST_F(SettingsTest, EveryAlertIdAtOnceReadsAsEachOnItsOwn) {
    // Two ids with sources, values and an employee with two logons; a third
    // whose value row is all NULL is left out (loaded on its own, it raises).
    Db.Exec("insert into ALERT_SETTING (AlertSettingNbr, AlertId, EmpNbr, EmailFrequency, Priority,"
            " Source) values (5, 12, 2, 3, 1, 7), (6, 12, 1, 1, 2, 11), (7, 12, 2, 4, 0, 8),"
            " (8, 13, 3, 5, 3, 10), (9, 13, 1, 1, 1, 7), (10, 15, 1, 1, 1, 10),"
            " (11, NULL, 1, 1, 1, 10);"
            "insert into ALERT_USER_DEFAULTS (EmpNbr) values (1), (2), (3);"
            "insert into USER_LOGON (USERID, DORN_USER, DORN_ALERTS) values (1, 1, 1), (2, 2, 1),"
            " (3, 3, 1), (4, 2, 1);"
            "insert into ALERT_SETTING_SOURCE values (6, NULL, 4, NULL), (5, 30, NULL, NULL),"
            " (9, 1, NULL, NULL), (5, NULL, NULL, 2);"
            "insert into ALERT_VALUE (AlertValueNbr, AlertSettingNbr) values (100, 6), (103, 9),"
            " (104, 10);"
            "insert into ALERT_SUB_VALUE (AlertValueNbr, Sequence, IntValue, RealValue, "
            "StringValue) values (100, 1, NULL, 2.5, NULL), (100, 0, NULL, NULL, 'a'),"
            " (103, 0, 1, NULL, NULL), (104, 0, NULL, NULL, NULL);");
    AlertRecipients recipients;
    Dmod->LoadAlertRecipients(recipients);
    std::map<std::int32_t, std::vector<AlertSetting>> all;
    Dmod->LoadAllAlertSettings(recipients, all);
    ASSERT_EQ(all.size(), 2u);
    for (const int alertId : {12, 13}) {
        SCOPED_TRACE(alertId);
        std::vector<AlertSetting> own;
        Dmod->LoadAlertSettings(alertId, own);
        const std::vector<AlertSetting>& together = all.at(alertId);
        ASSERT_EQ(together.size(), own.size());
        for (std::size_t i = 0; i < own.size(); ++i) {
            SCOPED_TRACE(i);
            ExpectSameSetting(together[i], own[i]);
        }
    }
    EXPECT_EQ(all.at(12).size(), 5u); // employee 2: two settings times two logons
    std::vector<AlertSetting> failing;
    EXPECT_THROW(Dmod->LoadAlertSettings(15, failing), Exception);
}

TEST_F(SettingsTest, MarkersChangeWhenSettingsAreAddedOrReplaced) {
    int identity = 0, count = 0;
    Dmod->GetAlertSettingMarkers(identity, count);
    EXPECT_EQ(count, 0);
    const int first = identity;

    Db.Exec("insert into ALERT_SETTING (AlertId, EmpNbr) values (1, 1)");
    Dmod->GetAlertSettingMarkers(identity, count);
    EXPECT_EQ(count, 1);
    EXPECT_NE(identity, first);

    // Replaced: same count, new identity.
    const int before = identity;
    Db.Exec("delete from ALERT_SETTING; insert into ALERT_SETTING (AlertId, EmpNbr) values (1, 1)");
    Dmod->GetAlertSettingMarkers(identity, count);
    EXPECT_EQ(count, 1);
    EXPECT_NE(identity, before);
}

} // namespace
