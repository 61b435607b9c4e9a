#include "grid/foundation/GridCommonDate.h"
#include "grid/foundation/GridCommonVariant.h"
#include "platform/gui/Graphics.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatSettings.h"

#include <gtest/gtest.h>

using namespace grid;

namespace {

TEST(GridCommonVariant, ObjectReferencesRoundTrip) {
    TBitmap Bitmap;
    const Variant V = BitmapToVariant(&Bitmap);
    EXPECT_EQ(VarType(V), varInteger);
    EXPECT_EQ(VariantToBitmap(V), &Bitmap);
    EXPECT_EQ(VariantToObject(ObjectToVariant(&Bitmap)), &Bitmap);
    TObject Plain;
    EXPECT_EQ(VariantToBitmap(ObjectToVariant(&Plain)), nullptr);
    EXPECT_EQ(VariantToObject(ObjectToVariant(nullptr)), nullptr);
}

TEST(GridCommonVariant, NumericTypes) {
    EXPECT_TRUE(IsNumVar(Variant(short(1))));
    EXPECT_TRUE(IsNumVar(Variant(1)));
    EXPECT_TRUE(IsNumVar(Variant(1.5f)));
    EXPECT_TRUE(IsNumVar(Variant(1.5)));
    EXPECT_TRUE(IsNumVar(Variant(Currency(2))));
    EXPECT_TRUE(IsNumVar(Variant(static_cast<unsigned char>(3))));
    EXPECT_FALSE(IsNumVar(Variant(TDateTime(1.0))));
    EXPECT_FALSE(IsNumVar(Variant("1")));
    EXPECT_FALSE(IsNumVar(Variant(true)));
    EXPECT_FALSE(IsNumVar(Unassigned()));
}

TEST(GridCommonVariant, EqualityOfCellAndPropertyValues) {
    const struct {
        Variant A, B;
        bool Equal, PropEqual;
    } Cases[] = {
        {Unassigned(), Unassigned(), true, true},
        {Unassigned(), Variant(0), false, false},
        {Variant(""), Unassigned(), false, false},
        {Null(), Null(), true, true},
        {Null(), Variant(0), false, false},
        {Variant(3), Variant(3), true, true},
        {Variant(3), Variant(4), false, false},
        {Variant(3), Variant(3.0), false, true},
        {Variant(3), Variant(3.5), false, false},
        {Variant(3), Variant("3"), false, false},
        {Variant("a"), Variant("A"), false, false},
        {Variant(TDateTime(2.0)), Variant(2.0), false, false},
    };
    for (const auto& C : Cases) {
        EXPECT_EQ(VariantEqual(C.A, C.B), C.Equal) << VarToStr(C.A) << " / " << VarToStr(C.B);
        EXPECT_EQ(EqualPropValue(C.A, C.B), C.PropEqual) << VarToStr(C.A) << " / " << VarToStr(C.B);
    }
}

TEST(GridCommonVariant, CompareIsAnOrder) {
    const struct {
        Variant A, B;
        int Result;
    } Cases[] = {
        {Unassigned(), Unassigned(), 0},
        {Unassigned(), Variant(1), -1},
        {Variant(1), Unassigned(), 1},
        {Unassigned(), Null(), -1},
        {Null(), Null(), 0},
        {Null(), Variant(-5), -1},
        {Variant(-5), Null(), 1},
        {Variant(2), Variant(10), -1},
        {Variant(10), Variant(2), 1},
        {Variant(2), Variant(2.0), 0},
        {Variant("b"), Variant("a"), 1},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(CompareVariant(C.A, C.B), C.Result) << VarToStr(C.A) << " / " << VarToStr(C.B);
}

TEST(GridCommonVariant, ArraysCompareElementWise) {
    const Variant A = VarArrayOf({Variant(1), Variant(2)});
    const Variant B = VarArrayOf({Variant(1), Variant(3)});
    const Variant Short = VarArrayOf({Variant(1)});
    EXPECT_EQ(CompareVariant(A, B), -1);
    EXPECT_EQ(CompareVariant(B, A), 1);
    EXPECT_EQ(CompareVariant(A, VarArrayOf({Variant(1), Variant(2)})), 0);
    EXPECT_EQ(CompareVariant(Short, A), -1);
    EXPECT_EQ(CompareVariant(A, Short), 1);
    EXPECT_EQ(CompareVariant(Variant(1), Short), -1); // a plain value: fewer dimensions
    Variant Grid = VarArrayCreate({0, 1, 0, 1}, varVariant);
    for (int I = 0; I < 2; ++I)
        for (int J = 0; J < 2; ++J)
            VarArrayPut(Grid, Variant(I * 2 + J), {I, J});
    EXPECT_EQ(CompareVariant(Grid, VarArrayOf({Variant(0), Variant(1), Variant(2), Variant(3)})),
              1);
    EXPECT_EQ(CompareVariant(Grid, VarArrayOf({Variant(0), Variant(1), Variant(5)})), -1);
}

class GridCommonDate : public ::testing::Test {
protected:
    void TearDown() override { ResetFormatSettings(); }
    void Locale(const char* ShortDate, char Separator = '/') {
        FormatSettings().ShortDateFormat = ShortDate;
        FormatSettings().DateSeparator = Separator;
    }
};

TEST_F(GridCommonDate, OrderAndEditFormat) {
    const struct {
        const char* ShortDate;
        char Separator;
        TgxDateOrder Order;
        const char* Short;
        const char* Long;
    } Cases[] = {
        {"dd/MM/yyyy", '/', doDMY, "DD/MM/YYYY", "DD/MM/YYYY"},
        {"M/d/yy", '/', doMDY, "M/D/YY", "M/D/YYYY"},
        {"yyyy-MM-dd", '-', doYMD, "YYYY-MM-DD", "YYYY-MM-DD"},
        {"ee.M.d", '.', doYMD, "YY.M.D", "YYYY.M.D"},
        {"", '/', doMDY, "M/D/YY", "M/D/YYYY"},
    };
    for (const auto& C : Cases) {
        Locale(C.ShortDate, C.Separator);
        EXPECT_EQ(GetDateOrder(), C.Order) << C.ShortDate;
        EXPECT_EQ(GetEditDateFormat(false), C.Short) << C.ShortDate;
        EXPECT_EQ(GetEditDateFormat(true), C.Long) << C.ShortDate;
    }
}

TEST_F(GridCommonDate, FormatWidening) {
    EXPECT_EQ(LongYearFormat("dd/mm/yy"), "dd/mm/yyyy");
    EXPECT_EQ(LongYearFormat("YY-MM"), "YYyy-MM");
    EXPECT_EQ(LongYearFormat("d/m/yyyy"), "d/m/yyyy");
    EXPECT_EQ(LongYearFormat("d/m/y"), "d/m/y");
    EXPECT_EQ(LongHourFormat("h:nn AM/PM"), "h:nn");
    EXPECT_EQ(LongHourFormat("h:nn a/p"), "h:nn");
    EXPECT_EQ(LongHourFormat("ampm h:nn"), "h:nn");
    EXPECT_EQ(LongHourFormat(" hh:nn "), "hh:nn");
    EXPECT_TRUE(AMPMFormat());
    FormatSettings().TimeAMString = "";
    FormatSettings().TimePMString = "";
    EXPECT_FALSE(AMPMFormat());
}

TEST_F(GridCommonDate, NamesStandingAlone) {
    EXPECT_EQ(DateReplaceMonthName("5 march 2024"), "5 3 2024");
    EXPECT_EQ(DateReplaceMonthName("Sep. 5"), "9. 5");
    // "Mayor" holds "May" but not standing alone; the later one is taken.
    EXPECT_EQ(DateReplaceMonthName("Mayor May 1"), "Mayor 5 1");
    EXPECT_EQ(DateReplaceMonthName("Jan2"), "Jan2");
    EXPECT_EQ(DateRemoveDayName("Monday 3/4/2024"), " 3/4/2024");
    EXPECT_EQ(DateRemoveDayName("tue 3/4/2024"), " 3/4/2024");
    EXPECT_EQ(DateRemoveDayName("Sunny 3/4"), "Sunny 3/4");
}

TEST_F(GridCommonDate, ReadingTypedDates) {
    ManualClock Clock(EncodeDate(2024, 6, 15) + EncodeTime(9, 0, 0, 0));
    ScopedClock Use(Clock);
    Locale("dd/MM/yyyy");
    EXPECT_EQ(StringToDateTime(" 45000 "), TDateTime(45000));
    EXPECT_DOUBLE_EQ(StringToDateTime("12:30"), EncodeTime(12, 30, 0, 0));
    EXPECT_DOUBLE_EQ(StringToDateTime("05/03/2021 10:15"),
                     EncodeDate(2021, 3, 5) + EncodeTime(10, 15, 0, 0));
    EXPECT_DOUBLE_EQ(StringToDateTime("05/03/21"), EncodeDate(2021, 3, 5));
    EXPECT_THROW(StringToDateTime("soon"), EConvertError);
    EXPECT_THROW(StringToDateTime(""), EConvertError);

    EXPECT_DOUBLE_EQ(VariantToDateTime(Variant("05/03/2021")), EncodeDate(2021, 3, 5));
    Locale("dd-MM-yyyy", '-');
    EXPECT_DOUBLE_EQ(StringToDateTime("Friday 05-Mar-2021"), EncodeDate(2021, 3, 5));
    EXPECT_DOUBLE_EQ(StringToDateTime("05-march-21 8:00"),
                     EncodeDate(2021, 3, 5) + EncodeTime(8, 0, 0, 0));
    EXPECT_DOUBLE_EQ(VariantToDateTime(Variant(TDateTime(100.5))), 100.5);
    EXPECT_DOUBLE_EQ(VariantToDateTime(Variant(7.25)), 7.25);
    for (const Variant& V : {Variant("soon"), Variant("  "), Variant(7), Null(), Unassigned()})
        EXPECT_DOUBLE_EQ(VariantToDateTime(V), Clock.Now()) << VarToStr(V);
}

} // namespace
