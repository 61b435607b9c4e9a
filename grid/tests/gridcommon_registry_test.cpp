#include "grid/foundation/GridCommonRegistry.h"
#include "platform/rtl/testing/ScratchConfig.h"

#include <gtest/gtest.h>

using namespace grid;

namespace {

class GridCommonRegistry : public ScratchConfig {
protected:
    static void Put(HKEY Root, const AnsiString& Key, const AnsiString& Name,
                    const AnsiString& Value) {
        TRegistry Registry;
        Registry.SetRootKey(Root);
        ASSERT_TRUE(Registry.OpenKey(Key, true));
        Registry.WriteString(Name, Value);
    }
};

TEST_F(GridCommonRegistry, PathsNameRootAndKey) {
    Put(HKEY_LOCAL_MACHINE, "\\Software\\X", "Where", "machine");
    Put(HKEY_CURRENT_USER, "\\Software\\X", "Where", "user");

    auto Machine = OpenRegistryKey("\\\\HKEY_LOCAL_MACHINE\\Software\\X", false);
    ASSERT_NE(Machine, nullptr);
    EXPECT_EQ(Machine->RootKey(), HKEY_LOCAL_MACHINE);
    EXPECT_EQ(Machine->ReadString("Where"), "machine");

    auto Lower = OpenRegistryKey("\\\\hkey_local_machine\\Software\\X", false);
    ASSERT_NE(Lower, nullptr);
    EXPECT_EQ(Lower->ReadString("Where"), "machine");

    auto User = OpenRegistryKey("Software\\X", false);
    ASSERT_NE(User, nullptr);
    EXPECT_EQ(User->RootKey(), HKEY_CURRENT_USER);
    EXPECT_EQ(User->ReadString("Where"), "user");

    EXPECT_NE(OpenRegistryKey("\\\\HKEY_USERS", false), nullptr); // the root itself
    EXPECT_EQ(OpenRegistryKey("\\\\HKEY_CURRENT_USER\\Software\\Missing", false), nullptr);
}

TEST_F(GridCommonRegistry, UnknownRootIsNamedInTheError) {
    try {
        OpenRegistryKey("\\\\HKLM\\X", false);
        FAIL() << "no exception";
    } catch (const ERegistryException& E) {
        EXPECT_EQ(E.Message, "Unknown registry key HKLM");
    }
}

TEST_F(GridCommonRegistry, CreateMakesTheKeyAndWritesThrough) {
    auto Made = OpenRegistryKey("\\\\HKEY_CURRENT_USER\\Software\\Grid\\State", true);
    ASSERT_NE(Made, nullptr);
    Made->WriteString("Layout", "wide");
    Made.reset();
    EXPECT_EQ(GetRegStrValue(HKEY_CURRENT_USER, "\\Software\\Grid\\State", "Layout"), "wide");
    EXPECT_EQ(GetRegStrValue(HKEY_CURRENT_USER, "\\Software\\Grid\\State", "Other"), "");
    EXPECT_EQ(GetRegStrValue(HKEY_CURRENT_USER, "\\Software\\None", "Layout"), "");
    EXPECT_EQ(GetCompilerVersion(), "C4");
}

} // namespace
