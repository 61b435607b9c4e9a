#include "StoreTest.h"

#include "platform/data/Query.h"
#include "platform/rtl/Exceptions.h"

namespace {

using UnitConversionTest = StoreTest;

TEST_F(UnitConversionTest, LoadsTheRowOfTheSourceUnit) {
    Db.Exec("insert into UNIT_CONV values (1, 4, 9, '*', 12, 'Round Up', NULL, '/', 0.5, '', 3),"
            " (2, 5, 9, '*', 1, '', 2, '*', 1, '', NULL)");
    UnitConversion row;
    row.VelmUomRef = 4;
    ASSERT_TRUE(Dmod->LoadUnitConversion(row));
    EXPECT_EQ(row.UnitConvNbr, 1);
    EXPECT_EQ(row.DornUomRef, 9);
    EXPECT_EQ(row.QtyOperator, "*");
    EXPECT_EQ(row.QtyFactor, 12.0f);
    EXPECT_EQ(row.QtyRounding, "Round Up");
    EXPECT_EQ(row.QtyPrecision, NullPrecision);
    EXPECT_EQ(row.CostOperator, "/");
    EXPECT_EQ(row.CostFactor, 0.5f);
    EXPECT_EQ(row.CostPrecision, 3);

    row.VelmUomRef = 5;
    ASSERT_TRUE(Dmod->LoadUnitConversion(row));
    EXPECT_EQ(row.QtyPrecision, 2);
    EXPECT_EQ(row.CostPrecision, NullPrecision);

    UnitConversion none;
    none.VelmUomRef = 6;
    none.UnitConvNbr = 55;
    EXPECT_FALSE(Dmod->LoadUnitConversion(none));
    EXPECT_EQ(none.UnitConvNbr, 55);
}

TEST_F(UnitConversionTest, NullInARequiredColumnFailsTheLoad) {
    Db.Exec("insert into UNIT_CONV values (1, 4, 9, '*', NULL, '', 2, '*', 1, '', 2)");
    UnitConversion row;
    row.VelmUomRef = 4;
    EXPECT_THROW(Dmod->LoadUnitConversion(row), EVariantTypeCastError);
}

TEST_F(UnitConversionTest, ConversionsByThePositionedRow) {
    Db.Exec("insert into INV_CONV values"
            " (1, '*', 12, '', 2, '*', 1, '', 2),"
            " (2, '/', 0, '', 2, '/', 0, '', 2),"
            " (3, '*', 1, 'Round Up', 2, '*', 1, 'Round Down', 2),"
            " (4, 'x', 3, '', 2, 'x', 3, '', 2),"
            " (5, '/', 3, '', NULL, '+', 0.25, '', 2)");
    TQuery query(nullptr);
    query.SetDatabaseName("Dornwickdbms");
    query.SQL()->Add("select * from INV_CONV where InvConvNbr = :a");
    struct Case {
        int Row;
        double Value, Quantity, Cost, CostBack;
    };
    const Case cases[] = {
        {1, 2.5, 30, 2.5, 2.5},
        {1, 1.23456, 14.81472, 1.235, 1.23456},
        {2, 7, 0, 0, 0},
        {3, 2.01, 3, 2, 2},
        {3, -2.5, -2.5, -2.5, -2.5},
        {4, 5, 0, 0, 0},
        {5, 10, 3.333333333, 10.25, 9.75},
    };
    for (const Case& c : cases) {
        query.Close();
        query.ParamByName("a")->SetAsInteger(c.Row);
        query.Open();
        EXPECT_DOUBLE_EQ(ConvertQtyByRow(query, c.Value), c.Quantity) << c.Row << " " << c.Value;
        EXPECT_DOUBLE_EQ(ConvertCostByRow(query, c.Value), c.Cost) << c.Row << " " << c.Value;
        EXPECT_DOUBLE_EQ(ConvertCostBackByRow(query, c.Value), c.CostBack)
            << c.Row << " " << c.Value;
    }
}

TEST_F(UnitConversionTest, ConverterBySourceUnit) {
    Db.Exec("insert into UNIT_CONV values (1, 4, 9, '*', 12, '', 0, '/', 12, '', 2)");
    std::vector<std::int16_t> asked;
    TUnitConverter converter(*Dmod, [&](std::int16_t uom) {
        asked.push_back(uom);
        return AnsiString("Each");
    });
    std::int16_t target = 0;
    AnsiString name = "none";
    double quantity = -1, cost = -1;
    ASSERT_EQ(converter.ConvertUnits(4, 2.5, 100, target, name, quantity, cost), 1);
    EXPECT_EQ(target, 9);
    EXPECT_EQ(name, "Each");
    EXPECT_EQ(asked, std::vector<std::int16_t>{9});
    EXPECT_DOUBLE_EQ(quantity, 30);
    EXPECT_DOUBLE_EQ(cost, 8.33);

    EXPECT_EQ(converter.ConvertUnits(5, 2.5, 100, target, name, quantity, cost), 0);
    EXPECT_EQ(target, 9);
    EXPECT_DOUBLE_EQ(quantity, 30);
}

} // namespace
