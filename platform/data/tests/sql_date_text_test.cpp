// The stored text of dates: padded fields, the short form at midnight, and
// text that reads back as the same moment.
#include "platform/data/SqlDateText.h"
#include "platform/rtl/DateTime.h"

#include <gtest/gtest.h>

TEST(SqlDateTextTest, FormsArePaddedAndReadBack) {
    struct Case {
        TDateTime Value;
        const char* Date;
        const char* DateTime;
        const char* Short;
    };
    // Before 1899-12-30 the time of day counts away from zero, as the days do.
    const Case cases[] = {
        {EncodeDate(2024, 5, 6) + EncodeTime(9, 3, 7, 0), "2024/05/06", "2024/05/06 09:03:07",
         "2024/05/06 09:03:07"},
        {EncodeDate(2024, 12, 31), "2024/12/31", "2024/12/31 00:00:00", "2024/12/31"},
        {EncodeDate(987, 1, 2) - EncodeTime(23, 59, 59, 0), "0987/01/02", "0987/01/02 23:59:59",
         "0987/01/02 23:59:59"},
        {EncodeDate(1, 1, 1) - EncodeTime(0, 0, 1, 0), "0001/01/01", "0001/01/01 00:00:01",
         "0001/01/01 00:00:01"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SqlDateText(c.Value), c.Date);
        EXPECT_EQ(SqlDateTimeText(c.Value), c.DateTime);
        EXPECT_EQ(SqlDateTimeTextShort(c.Value), c.Short);
        TDateTime back;
        ASSERT_TRUE(TryParseSqlDateTime(c.DateTime, back)) << c.DateTime;
        EXPECT_EQ(SqlDateTimeText(back), c.DateTime);
    }
}
