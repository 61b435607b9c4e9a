#include "platform/registry/RegIniFile.h"

#include "platform/rtl/testing/ScratchConfig.h"
#include "platform/rtl/testing/StringsLines.h"
#include "platform/rtl/StringList.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;

namespace {

class RegIniFileTest : public ScratchConfig {};

TEST_F(RegIniFileTest, SectionsAreSubkeysAndEveryValueIsAString) {
    {
        TRegIniFile ini("Software\\Pellworth\\Dornwick");
        ini.WriteInteger("Beacon Mill", "Flags", -2);
        ini.WriteBool("Beacon Mill", "Visible", true);
        ini.WriteString("Beacon Mill", "NormPos", "10,20,810,620");
    }
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Software\\Pellworth\\Dornwick\\Beacon Mill", false));
    EXPECT_EQ(reg.GetDataType("Flags"), rdString);
    EXPECT_EQ(reg.ReadString("Flags"), "-2");
    EXPECT_EQ(reg.ReadString("Visible"), "1");
    reg.WriteInteger("Dword", 9);
    reg.WriteString("Word", "nine");

    TRegIniFile ini("software\\pellworth\\dornwick");
    EXPECT_EQ(ini.FileName(), "software\\pellworth\\dornwick");
    EXPECT_EQ(ini.ReadInteger("beacon mill", "flags", 0), -2);
    EXPECT_TRUE(ini.ReadBool("Beacon Mill", "Visible", false));
    EXPECT_EQ(ini.ReadString("Beacon Mill", "NormPos", ""), "10,20,810,620");
    // An integer value reads as a number; text that is no number gives the default.
    EXPECT_EQ(ini.ReadInteger("Beacon Mill", "Dword", 0), 9);
    EXPECT_EQ(ini.ReadInteger("Beacon Mill", "Word", 5), 5);
    EXPECT_EQ(ini.ReadString("Missing Section", "Flags", "def"), "def");
    EXPECT_EQ(ini.ReadString("Beacon Mill", "Missing", "def"), "def");
    try {
        ini.ReadString("Beacon Mill", "Dword", "");
        ADD_FAILURE() << "an integer read as text must raise";
    } catch (const ERegistryException& error) {
        EXPECT_EQ(error.Message, "Invalid data type for 'Dword'");
    }
    // The section reads leave the file's key open.
    EXPECT_EQ(ini.CurrentPath(), "software\\pellworth\\dornwick");
}

TEST_F(RegIniFileTest, SectionListingErasingAndDeleting) {
    TRegIniFile ini("Software\\Pellworth\\App");
    ini.WriteString("Main", "Left", "1");
    ini.WriteString("Main", "Top", "");
    ini.WriteString("Grid", "Item0", "64");

    TStringList list;
    ini.ReadSections(&list);
    EXPECT_THAT(Lines(list), ElementsAre("Grid", "Main"));
    ini.ReadSection("main", &list);
    EXPECT_THAT(Lines(list), ElementsAre("Left", "Top"));
    ini.ReadSectionValues("Main", &list);
    EXPECT_THAT(Lines(list), ElementsAre("Left=1", "Top="));

    ini.DeleteKey("Main", "LEFT");
    ini.ReadSection("Main", &list);
    EXPECT_THAT(Lines(list), ElementsAre("Top"));
    ini.EraseSection("GRID");
    ini.ReadSections(&list);
    EXPECT_THAT(Lines(list), ElementsAre("Main"));
    ini.ReadSection("Grid", &list);
    EXPECT_EQ(list.Count(), 0);
}

TEST_F(RegIniFileTest, ReadAccessRefusesWritesWithoutMakingTheSection) {
    TRegIniFile ini("Software\\Pellworth\\ReadOnly");
    EXPECT_TRUE(ini.KeyExists("\\Software\\Pellworth\\ReadOnly")); // made by opening it
    ini.SetAccess(KEY_READ);
    try {
        ini.WriteString("New", "Name", "x");
        ADD_FAILURE() << "a write through a read-only object must raise";
    } catch (const ERegistryException& error) {
        EXPECT_EQ(error.Message, "Failed to set data for 'Name'");
    }
    EXPECT_FALSE(ini.KeyExists("New"));
}

TEST_F(RegIniFileTest, WithItsKeyNotOpenNothingReachesTheRoot) {
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey("Software", true));
        reg.WriteString("Flags", "1");
    }
    TRegIniFile ini("Software\\Pellworth\\Dornwick");
    ini.SetAccess(KEY_READ);
    ini.SetRootKey(HKEY_LOCAL_MACHINE);
    ASSERT_FALSE(ini.OpenKey(ini.FileName(), false));
    ini.SetRootKey(HKEY_CURRENT_USER); // still closed

    EXPECT_EQ(ini.ReadString("Software", "Flags", "default"), "default");
    TStringList list;
    ini.ReadSection("Software", &list);
    EXPECT_EQ(list.Count(), 0);
    ini.EraseSection("Software");
    ini.SetAccess(KEY_ALL_ACCESS);
    EXPECT_THROW(ini.WriteString("Software", "Flags", "2"), ERegistryException);
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Software", false));
    EXPECT_EQ(reg.ReadString("Flags"), "1");
}

} // namespace
