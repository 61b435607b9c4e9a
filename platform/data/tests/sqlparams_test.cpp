#include "platform/data/Param.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(ParseSQLTest, FindsParametersOutsideQuotesAndComments) {
    struct Case {
        const char* Sql;
        const char* Expected;
        std::vector<std::string> Names;
    };
    const Case Cases[] = {
        {"select * from T where a = :a", "select * from T where a = ?1", {"a"}},
        {"where a = :a or b = :B or c = :A", "where a = ?1 or b = ?2 or c = ?1", {"a", "B"}},
        {"where t = '12:30' and u = :u1", "where t = '12:30' and u = ?1", {"u1"}},
        {"where \":x\" = 1 and [y:z] = :q", "where \":x\" = 1 and [y:z] = ?1", {"q"}},
        {"a -- :c\n = :d /* :e */", "a -- :c\n = ?1 /* :e */", {"d"}},
        {"select 'it''s :n', :n", "select 'it''s :n', ?1", {"n"}},
        {"x = :", "x = :", {}},
        {"x::y", "x:y", {}},
    };
    for (const Case& C : Cases) {
        TParams Params;
        EXPECT_EQ(ParseSQL(C.Sql, &Params), C.Expected) << C.Sql;
        std::vector<std::string> Names;
        for (int I = 0; I < Params.Count(); ++I)
            Names.push_back(Params[I]->Name());
        EXPECT_EQ(Names, C.Names) << C.Sql;
    }
}

} // namespace
