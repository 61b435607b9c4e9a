#include "datamodules/format/RowSearch.h"

#include "platform/data/DBExceptions.h"
#include "platform/data/DataSet.h"

#include <gtest/gtest.h>

namespace {

// A type list held in memory: number and name per row.
class TypeNumberList : public TDataSet {
public:
    explicit TypeNumberList(std::vector<std::pair<Variant, const char*>> rows)
        : TDataSet(nullptr), Rows(std::move(rows)) {}

protected:
    void InternalOpen(TResult& Result) override {
        Result.Columns = {{"TypeNbr", ftInteger, 0}, {"Descr", ftString, 20}};
        for (const auto& [number, name] : Rows)
            Result.Rows.push_back({number, Variant(name)});
    }

private:
    std::vector<std::pair<Variant, const char*>> Rows;
};

TEST(FindRowIndexByValue, LeavesTheCursorOnTheFirstMatch) {
    TypeNumberList list({{Variant(4), "Crate"},
                   {Null(), "Unset"},
                   {Variant(7), "Pallet"},
                   {Variant(7), "Second pallet"}});
    EXPECT_EQ(FindRowIndexByValue(&list, "TypeNbr", 7), 2);
    EXPECT_EQ(list.FieldByName("Descr")->AsString(), "Pallet");
    EXPECT_EQ(FindRowIndexByValue(&list, "typenbr", 4), 0);
    EXPECT_EQ(list.FieldByName("Descr")->AsString(), "Crate");
    // NULL matches nothing, not even 0.
    EXPECT_EQ(FindRowIndexByValue(&list, "TypeNbr", 0), -99);
    EXPECT_TRUE(list.Eof());
}

TEST(FindRowIndexByValue, EmptyListAndUnknownField) {
    TypeNumberList empty({});
    EXPECT_EQ(FindRowIndexByValue(&empty, "TypeNbr", 1), -99);
    EXPECT_TRUE(empty.Active());
    TypeNumberList list({{Variant(4), "Crate"}});
    EXPECT_THROW(FindRowIndexByValue(&list, "Nope", 4), EDatabaseError);
}

} // namespace
