// Single registry values read with a default and written without fuss, the
// N-th word of a text, and stored lists of integers.
#include "components/ExtractWord.h"
#include "components/RegistryRoutines.h"
#include "components/SavedColumnHelpers.h"
#include "platform/registry/Registry.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/testing/ScratchConfig.h"

#include <gtest/gtest.h>

#include <vector>

using namespace components;

namespace {

class RegistryValues : public ScratchConfig {
protected:
    void SetUp() override {
        ScratchConfig::SetUp();
        ASSERT_TRUE(Reg.OpenKey("Software\\Values", true));
        Reg.WriteString("Text", "stored");
        Reg.WriteInteger("Number", 42);
    }
    int ValueCount() {
        TStringList Names;
        Reg.GetValueNames(&Names);
        return Names.Count();
    }
    TRegistry Reg;
};

TEST_F(RegistryValues, ReadsGiveTheStoredValueOrTheDefault) {
    EXPECT_EQ(ReadRegistryString(Reg, "Text", "d", false), "stored");
    EXPECT_EQ(ReadRegistryInteger(Reg, "Number", 7, false), 42);
    // Another type reads as missing and is left as it is, even with the
    // write-default flag.
    EXPECT_EQ(ReadRegistryString(Reg, "Number", "d", true), "d");
    EXPECT_EQ(ReadRegistryInteger(Reg, "Text", 7, true), 7);
    const char Bytes[] = {1, 2, 3};
    Reg.WriteBinaryData("Binary", Bytes, 3);
    EXPECT_EQ(ReadRegistryString(Reg, "Binary", "d", true), "d");
    EXPECT_EQ(ReadRegistryInteger(Reg, "Binary", 7, true), 7);
    EXPECT_EQ(Reg.GetDataType("Binary"), rdBinary);
    Reg.DeleteValue("Binary");
    EXPECT_EQ(Reg.GetDataType("Number"), rdInteger);
    EXPECT_EQ(Reg.ReadString("Text"), "stored");
    EXPECT_EQ(ValueCount(), 2);

    // A missing value is created only with the flag.
    EXPECT_EQ(ReadRegistryString(Reg, "NewText", "d", false), "d");
    EXPECT_EQ(ReadRegistryInteger(Reg, "NewNumber", 7, false), 7);
    EXPECT_EQ(ValueCount(), 2);
    EXPECT_EQ(ReadRegistryString(Reg, "NewText", "d", true), "d");
    EXPECT_EQ(ReadRegistryInteger(Reg, "NewNumber", 7, true), 7);
    EXPECT_EQ(Reg.ReadString("NewText"), "d");
    EXPECT_EQ(Reg.ReadInteger("NewNumber"), 7);
}

TEST_F(RegistryValues, WritesSwallowTheirErrors) {
    WriteRegistryString(Reg, "Text", "new");
    WriteRegistryInteger(Reg, "Number", -5);
    EXPECT_EQ(Reg.ReadString("Text"), "new");
    EXPECT_EQ(Reg.ReadInteger("Number"), -5);

    TRegistry ReadOnly;
    ASSERT_TRUE(ReadOnly.OpenKeyReadOnly("Software\\Values"));
    EXPECT_NO_THROW(WriteRegistryString(ReadOnly, "Text", "lost"));
    EXPECT_NO_THROW(WriteRegistryInteger(ReadOnly, "Number", 1));
    EXPECT_EQ(Reg.ReadString("Text"), "new");
    EXPECT_EQ(Reg.ReadInteger("Number"), -5);
    TRegistry Closed;
    EXPECT_NO_THROW(WriteRegistryString(Closed, "Text", "lost"));

    // Only the write of a default reaches the caller.
    EXPECT_EQ(ReadRegistryString(ReadOnly, "Missing", "d", false), "d");
    EXPECT_ANY_THROW(ReadRegistryString(ReadOnly, "Missing", "d", true));
    EXPECT_ANY_THROW(ReadRegistryInteger(ReadOnly, "Missing", 1, true));
}

TEST(WordExtraction, FindsTheNthWordBetweenDelimiters) {
    const TSysCharSet Commas{','};
    struct Case {
        int N;
        const char* Text;
        int Position;
        const char* Word;
    } const Cases[] = {
        {1, ",,ab,,cd,", 3, "ab"}, {2, ",,ab,,cd,", 7, "cd"}, {3, ",,ab,,cd,", 0, ""},
        {0, "ab", 0, ""},          {-1, "ab", 0, ""},         {1, "", 0, ""},
        {1, ",,,", 0, ""},         {1, "x", 1, "x"},          {2, "a,b", 3, "b"},
    };
    for (const Case& c : Cases) {
        SCOPED_TRACE(testing::Message() << c.N << " of " << c.Text);
        EXPECT_EQ(GetWordPosition(c.N, c.Text, Commas), c.Position);
        EXPECT_EQ(GetWord(c.N, c.Text, Commas), c.Word);
    }
    // Bytes from 128 up never separate, even when the set holds them.
    const TSysCharSet High{',', '\xC3', '\xA9'};
    EXPECT_EQ(GetWord(1, "caf\xC3\xA9,x", High), "caf\xC3\xA9");
    EXPECT_EQ(GetWord(2, "caf\xC3\xA9,x", High), "x");
}

TEST(IntegerLists, ParseUpToTheFirstWordThatIsNoInteger) {
    struct Case {
        const char* Text;
        std::vector<int> Numbers;
    } const Cases[] = {
        {"3,1,2", {3, 1, 2}},   {"3 1 2", {3, 1, 2}},   {"3, 1 ,2", {3, 1, 2}},
        {"3,x,2", {3}},         {"", {}},               {"10, ,20", {10, 20}},
        {"-1,2", {-1, 2}},      {"1,2,", {1, 2}},       {"99999999999,1", {}},
        {"2147483647,-2147483648", {2147483647, -2147483648}},
    };
    for (const Case& c : Cases) {
        SCOPED_TRACE(c.Text);
        EXPECT_EQ(ParseIntegerList(c.Text), c.Numbers);
    }
}

} // namespace
