#include "components/RegistryRoutines.h"

#include "platform/rtl/StringList.h"
#include "platform/rtl/testing/ScratchConfig.h"

#include <gtest/gtest.h>


namespace {

using components::ReadRegistryInteger;
using components::ReadRegistryString;
using components::WriteRegistryInteger;
using components::WriteRegistryString;

// A registry in a scratch configuration folder, opened on one key.
class RegistryRoutinesTest : public ScratchConfig {
protected:
    void SetUp() override {
        ScratchConfig::SetUp();
        ASSERT_TRUE(Reg.OpenKey("Software\\Pellworth\\Grid", true));
    }
    int ValueCount() {
        TStringList names;
        Reg.GetValueNames(&names);
        return names.Count();
    }

    TRegistry Reg;
};

TEST_F(RegistryRoutinesTest, StoredValuesAreReadAndOthersGiveTheDefault) {
    Reg.WriteString("ColumnWidths", "64,120,30");
    Reg.WriteInteger("ColumnCount", 3);
    EXPECT_EQ(ReadRegistryString(Reg, "ColumnWidths", "", false), "64,120,30");
    EXPECT_EQ(ReadRegistryInteger(Reg, "ColumnCount", 0, false), 3);

    // A value of the other type gives the default and is left as it was, even
    // when the default is to be written.
    EXPECT_EQ(ReadRegistryString(Reg, "ColumnCount", "dflt", true), "dflt");
    EXPECT_EQ(ReadRegistryInteger(Reg, "ColumnWidths", 7, true), 7);
    EXPECT_EQ(Reg.GetDataType("ColumnCount"), rdInteger);
    EXPECT_EQ(Reg.ReadInteger("ColumnCount"), 3);
    EXPECT_EQ(Reg.ReadString("ColumnWidths"), "64,120,30");
}

TEST_F(RegistryRoutinesTest, AMissingValueIsWrittenOnlyWhenAsked) {
    EXPECT_EQ(ReadRegistryString(Reg, "ColumnPositions", "1,2", false), "1,2");
    EXPECT_EQ(ReadRegistryInteger(Reg, "ColumnCount", 5, false), 5);
    EXPECT_EQ(ValueCount(), 0);

    EXPECT_EQ(ReadRegistryString(Reg, "ColumnPositions", "1,2", true), "1,2");
    EXPECT_EQ(ReadRegistryInteger(Reg, "ColumnCount", 5, true), 5);
    EXPECT_EQ(Reg.GetDataType("ColumnPositions"), rdString);
    EXPECT_EQ(Reg.ReadString("ColumnPositions"), "1,2");
    EXPECT_EQ(Reg.GetDataType("ColumnCount"), rdInteger);
    EXPECT_EQ(Reg.ReadInteger("ColumnCount"), 5);
}

TEST_F(RegistryRoutinesTest, WritesSwallowErrorsButTheDefaultWriteDoesNot) {
    WriteRegistryString(Reg, "ColumnWidths", "80,100");
    WriteRegistryInteger(Reg, "ColumnCount", 2);
    EXPECT_EQ(Reg.ReadString("ColumnWidths"), "80,100");
    EXPECT_EQ(Reg.ReadInteger("ColumnCount"), 2);

    ASSERT_TRUE(Reg.OpenKeyReadOnly("\\Software\\Pellworth\\Grid"));
    EXPECT_NO_THROW(WriteRegistryString(Reg, "ColumnWidths", "1"));
    EXPECT_NO_THROW(WriteRegistryInteger(Reg, "ColumnCount", 1));
    EXPECT_EQ(Reg.ReadString("ColumnWidths"), "80,100");
    EXPECT_EQ(Reg.ReadInteger("ColumnCount"), 2);
    EXPECT_THROW(ReadRegistryString(Reg, "Missing", "x", true), ERegistryException);
    EXPECT_THROW(ReadRegistryInteger(Reg, "Missing", 1, true), ERegistryException);

    Reg.CloseKey();
    EXPECT_NO_THROW(WriteRegistryString(Reg, "ColumnWidths", "1"));
}

} // namespace
