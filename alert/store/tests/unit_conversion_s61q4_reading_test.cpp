#include "StoreTest.h"

#include "alert/store/UnitConversion.h"
#include "platform/data/Query.h"
#include "platform/rtl/Exceptions.h"

namespace {

class UnitConversionReading : public StoreTest {
protected:
    double Qty = -1, Cost = -1;
    std::int16_t Target = -1;
    AnsiString Name = "untouched";

    int Convert(std::int16_t Source, double Quantity, double CostIn) {
        TUnitConverter Converter(*Dmod, [](std::int16_t Ref) { return AnsiString("uom") + AnsiString(std::to_string(Ref).c_str()); });
        return Converter.ConvertUnits(Source, Quantity, CostIn, Target, Name, Qty, Cost);
    }
};

} // namespace

TEST_F(UnitConversionReading, ByRowEdgeCases) {
    Db.Exec("insert into INV_CONV values"
            " (1, '*', 1, 'Round Down', 7, '-', 1, 'Round Up', 0),"
            " (2, '*', 1, 'round up', 2, '*', 1, 'round down', 2),"
            " (3, '+', 1.5, '', 2, '*', 4, '', 2),"
            " (4, '-', 1, 'Round Up', 2, '/', 4, '', 2),"
            " (5, '*', 1, 'Round Up', 2, '*', 1, 'Round Up', 2)");
    TQuery Q(nullptr);
    Q.SetDatabaseName("Dornwickdbms");
    Q.SQL()->Add("select * from INV_CONV where InvConvNbr = :a");
    struct {
        int Row;
        double Value, Quantity, Cost, CostBack;
    } Cases[] = {
        {1, 2.99, 2, 2, 4},
        {1, 4.0, 4, 3, 5},
        {1, 1.23456789012, 1, 1, 3},
        {2, 2.01, 2.01, 2.01, 2.01},
        {3, 2, 3.5, 8, 0.5},
        {3, 1.23456789, 2.73456789, 4.938, 0.30864},
        {4, 3.5, 3, 0.875, 14},
        {5, 3000000000.5, 3000000001, 3000000001, 3000000001},
        {5, 0.3333333333333, 1, 1, 1},
    };
    for (const auto& C : Cases) {
        Q.Close();
        Q.ParamByName("a")->SetAsInteger(C.Row);
        Q.Open();
        EXPECT_DOUBLE_EQ(ConvertQtyByRow(Q, C.Value), C.Quantity) << C.Row << " " << C.Value;
        EXPECT_DOUBLE_EQ(ConvertCostByRow(Q, C.Value), C.Cost) << C.Row << " " << C.Value;
        EXPECT_DOUBLE_EQ(ConvertCostBackByRow(Q, C.Value), C.CostBack) << C.Row << " " << C.Value;
    }
}

TEST_F(UnitConversionReading, QuantityByRowKeepsTenSignificantDigits) {
    Db.Exec("insert into INV_CONV values (1, '/', 3, '', 0, '*', 1, '', 2)");
    TQuery Q(nullptr);
    Q.SetDatabaseName("Dornwickdbms");
    Q.SQL()->Add("select * from INV_CONV where InvConvNbr = 1");
    Q.Open();
    EXPECT_DOUBLE_EQ(ConvertQtyByRow(Q, 1000), 333.3333333);
    EXPECT_DOUBLE_EQ(ConvertQtyByRow(Q, 1), 0.3333333333);
}

TEST_F(UnitConversionReading, ByRowReadsTheCurrentRowWithoutMovingIt) {
    Db.Exec("insert into INV_CONV values (1, '*', 2, '', 2, '*', 3, '', 2),"
            " (2, '*', 5, '', 2, '*', 7, '', 2)");
    TQuery Q(nullptr);
    Q.SetDatabaseName("Dornwickdbms");
    Q.SQL()->Add("select * from INV_CONV order by InvConvNbr");
    Q.Open();
    Q.Next();
    EXPECT_DOUBLE_EQ(ConvertQtyByRow(Q, 1), 5);
    EXPECT_DOUBLE_EQ(ConvertCostByRow(Q, 1), 7);
    EXPECT_DOUBLE_EQ(ConvertCostBackByRow(Q, 7), 1);
    EXPECT_EQ(Q.RecNo(), 2);
}

TEST_F(UnitConversionReading, LoadRunsItsStatementAndTakesTheFirstRow) {
    Db.Exec("insert into UNIT_CONV values (1, 4, 9, '*', 2, 'Round Up', NULL, '/', 0.5, '', NULL),"
            " (2, 4, 11, '+', 1, '', 3, '+', 1, '', 3)");
    UnitConversion Row;
    Row.VelmUomRef = 4;
    ASSERT_TRUE(Dmod->LoadUnitConversion(Row));
    EXPECT_EQ(LastStatement(), AnsiString("Select * from UNIT_CONV where VelmUomRef  = :a"));
    EXPECT_EQ(Row.UnitConvNbr, 1);
    EXPECT_EQ(Row.DornUomRef, 9);
    EXPECT_EQ(Row.QtyOperator, AnsiString("*"));
    EXPECT_EQ(Row.QtyRounding, AnsiString("Round Up"));
    EXPECT_EQ(Row.QtyPrecision, NullPrecision);
    EXPECT_EQ(Row.CostOperator, AnsiString("/"));
    EXPECT_FLOAT_EQ(Row.CostFactor, 0.5f);
    EXPECT_EQ(Row.CostPrecision, NullPrecision);

    UnitConversion Missing;
    Missing.VelmUomRef = 5;
    EXPECT_FALSE(Dmod->LoadUnitConversion(Missing));
}

TEST_F(UnitConversionReading, ConverterUsesTheSinglePrecisionFactorAndRowPrecision) {
    Db.Exec("insert into UNIT_CONV values (1, 4, 9, '*', 0.1, '', 11, '*', 3, 'Round Up', 1),"
            " (2, 6, 8, '/', 4, '', 2, '-', 1, '', 0)");
    ASSERT_EQ(Convert(4, 10, 1.01), 1);
    EXPECT_EQ(Target, 9);
    EXPECT_EQ(Name, AnsiString("uom9"));
    EXPECT_DOUBLE_EQ(Qty, 1.0000000149); // 0.1 held in single precision
    EXPECT_DOUBLE_EQ(Cost, 4);

    ASSERT_EQ(Convert(6, 1, 3.456), 1);
    EXPECT_DOUBLE_EQ(Qty, 0.25);
    EXPECT_DOUBLE_EQ(Cost, 2);

    // A NULL precision gives no count of decimals: the figure is kept, not
    // rounded away to 0.
    Db.Exec("insert into UNIT_CONV values (3, 5, 8, '*', 1, '', NULL, '*', 2, '', NULL)");
    ASSERT_EQ(Convert(5, 2.5, 1.25), 1);
    EXPECT_DOUBLE_EQ(Qty, 2.5);
    EXPECT_DOUBLE_EQ(Cost, 2.5);
}

TEST_F(UnitConversionReading, NegativePrecisionRoundsLeftOfThePoint) {
    Db.Exec("insert into UNIT_CONV values (1, 4, 9, '*', 1, '', -2, '+', 0, '', -1)");
    ASSERT_EQ(Convert(4, 1250, 1234), 1);
    EXPECT_DOUBLE_EQ(Qty, 1300);
    EXPECT_DOUBLE_EQ(Cost, 1230);
    ASSERT_EQ(Convert(4, 1e20, -1234), 1);
    EXPECT_DOUBLE_EQ(Qty, 1e20);
    EXPECT_DOUBLE_EQ(Cost, -1230);
}

TEST_F(UnitConversionReading, NoRowLeavesOutputsUntouched) {
    EXPECT_EQ(Convert(7, 10, 10), 0);
    EXPECT_EQ(Target, -1);
    EXPECT_EQ(Name, AnsiString("untouched"));
    EXPECT_EQ(Qty, -1);
    EXPECT_EQ(Cost, -1);
}

TEST_F(UnitConversionReading, NullInARequiredColumnRaisesOutOfTheConverter) {
    const char* Rows[] = {
        "(1, 4, 9, NULL, 2, '', 2, '*', 1, '', 2)",
        "(1, 4, 9, '*', 2, '', 2, '*', NULL, '', 2)",
        "(1, 4, NULL, '*', 2, '', 2, '*', 1, '', 2)",
        "(1, 4, 9, '*', 2, '', 2, '*', 1, NULL, 2)",
    };
    for (const char* Row : Rows) {
        Db.Exec("delete from UNIT_CONV");
        Db.Exec(AnsiString("insert into UNIT_CONV values ") + Row);
        EXPECT_THROW(Convert(4, 1, 1), EVariantError) << Row;
        EXPECT_EQ(Name, AnsiString("untouched")) << Row;
    }
}
