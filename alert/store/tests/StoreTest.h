#pragma once
// A main data module over a fresh shop database, and the helpers the store
// tests share.
#include "platform/data/testing/ShopDatabase.h"
#include "alert/store/MainDmod.h"

#include "platform/rtl/FormatSettings.h"

#include <gtest/gtest.h>

#include <memory>

class StoreTest : public ::testing::Test {
protected:
    void SetUp() override { Dmod = std::make_unique<TMainDmod>(nullptr); }
    void TearDown() override {
        Dmod.reset();
        ResetFormatSettings();
    }

    // The statement the module last gave its shared query, as one line.
    AnsiString LastStatement() const;

    ShopDatabase Db;
    std::unique_ptr<TMainDmod> Dmod;
};
