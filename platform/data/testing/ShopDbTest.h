#pragma once
// A shop database for one test: a temporary folder holding a database file
// made from db/schema.sql, the configuration folder ($BEACONMILL_CONFIG) with
// an aliases.ini that names it under the aliases "Shop" and "Pellworth11", and a data folder
// ($XDG_DATA_HOME) for aliases without an entry. The environment and the
// folder are put back when the fixture ends.
#include "platform/rtl/AnsiString.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

struct sqlite3;
class TDatabase;
class TComponent;

class ShopDbTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs statements on a connection of the test's own, apart from the
    // library under test.
    void Exec(const std::string& Sql) const;
    // Writes aliases.ini with Text.
    void WriteAliases(const std::string& Text) const;
    // A database component "Shop" on alias "Shop" (not yet connected).
    TDatabase* NewDatabase(const AnsiString& DatabaseName = "Shop");

    std::filesystem::path Folder;
    std::filesystem::path ConfigFolder;
    std::filesystem::path DataFolder;
    std::filesystem::path DbFile;
    // Owns the components a test makes.
    TComponent* Owner = nullptr;

private:
    std::string SavedConfig, SavedData;
    bool HadConfig = false, HadData = false;
};

// Runs Call and returns the message of the Exception it raises; fails the
// test when nothing or something else is raised.
template <class Exc, class Fn> std::string MessageOf(Fn&& Call) {
    try {
        Call();
    } catch (const Exc& E) {
        return E.Message;
    }
    ADD_FAILURE() << "no exception was raised";
    return {};
}
