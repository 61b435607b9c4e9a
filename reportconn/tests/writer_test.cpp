#include "ConnectionTest.h"

#include "platform/rtl/Exceptions.h"
#include "reportconn/DcDataSetConnection.h"

#include <cstring>

using namespace reportconn;

using WriterTest = ConnectionTest;

TEST_F(WriterTest, WritersRefuseAnotherTypeAndAColumnTooMany) {
    auto* conn = new TDcCustomConnection(Owner);
    conn->DefineColumn("Name", dtString, "", "", 0);
    conn->DefineColumn("Qty", dtInteger, "", "", 0);
    conn->DefineColumn("When", dtDateTime, "", "", 0);
    EXPECT_EQ(MessageOf<EReportPrinter>([&] { conn->WriteIntegerValue("", 1); }),
              "Attempt to write different data type than defined (Column 1/3).");
    for (int i = 0; i < 3; ++i)
        conn->WriteNullValue();
    EXPECT_EQ(MessageOf<EReportPrinter>([&] { conn->WriteNullValue(); }),
              "Attempt to write more fields than defined.");
}

TEST_F(WriterTest, FailingHandlersAndUnknownCommandsLeaveAnEmptyReply) {
    auto* conn = new TDcCustomConnection(Owner);
    conn->OnGetCols = [](TDcCustomConnection* C) {
        C->DefineColumn("Name", dtString, "", "", 0);
        throw Exception("broken");
    };
    for (const std::int32_t command : {std::int32_t(cmdGetCols), std::int32_t(99)}) {
        std::memset(conn->Buffer().Data(), 0x5a, 64);
        conn->RunCommand(command);
        std::int32_t header[2];
        std::memcpy(header, conn->Buffer().Data(), 8);
        EXPECT_EQ(header[0], 0) << command;
        EXPECT_EQ(header[1], 0) << command;
    }
}

TEST(ExtendedTest, RoundTripsAndMatchesTheWireLayout) {
    for (const double v : {0.0, 1.0, -1.5, 0.1, 123456.789, 1e300, -2.5e-300}) {
        std::uint8_t bytes[10];
        DoubleToExtended(v, bytes);
        EXPECT_EQ(ExtendedToDouble(bytes), v);
    }
    std::uint8_t one[10];
    DoubleToExtended(1.0, one);
    const std::uint8_t expected[10] = {0, 0, 0, 0, 0, 0, 0, 0x80, 0xff, 0x3f};
    EXPECT_EQ(std::memcmp(one, expected, 10), 0);
}

TEST(FieldTypeTest, MapsFieldTypesToColumnTypes) {
    const std::pair<TFieldType, TRPDataType> cases[] = {
        {ftGuid, dtString},    {ftAutoInc, dtInteger}, {ftBoolean, dtBoolean},
        {ftBCD, dtBCD},        {ftTime, dtTime},       {ftMemo, dtMemo},
        {ftLargeint, dtInt64}, {ftFmtMemo, dtBlob},    {ftVarBytes, dtBlob}};
    for (const auto& [field, column] : cases)
        EXPECT_EQ(FieldTypeToRPDataType(field), column) << static_cast<int>(field);
}
