#include "StoreTest.h"

#include "platform/rtl/Exceptions.h"

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
