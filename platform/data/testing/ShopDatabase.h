#pragma once
// A real shop database for the tests: a fresh SQLite file built from
// db/schema.sql in a folder of its own, with the configuration folder
// pointed there so that the alias "Pellworth11" names the file. The tests
// arrange rows and read results through a connection of their own.
#include "platform/rtl/AnsiString.h"
#include "platform/rtl/Variant.h"

#include <filesystem>
#include <vector>

struct sqlite3;

class ShopDatabase {
public:
    ShopDatabase();
    ~ShopDatabase();
    ShopDatabase(const ShopDatabase&) = delete;
    ShopDatabase& operator=(const ShopDatabase&) = delete;

    // Runs one or more statements; a failure fails the test at once.
    void Exec(const AnsiString& Sql);
    // The rows of a query, each a list of values (NULL as a null Variant).
    std::vector<std::vector<Variant>> Rows(const AnsiString& Sql);
    // The first column of the first row (a null Variant when there is none).
    Variant Scalar(const AnsiString& Sql);

    const std::filesystem::path& File() const { return FFile; }

private:
    std::filesystem::path FFolder;
    std::filesystem::path FFile;
    AnsiString FPreviousConfig;
    bool FHadConfig = false;
    sqlite3* FDb = nullptr;
};
