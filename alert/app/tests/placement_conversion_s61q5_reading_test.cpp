// A window placement stored in the older form (integers, NormPos as left,
// top, width, height) is rewritten in the form storage's form before the
// window restores it; anything else is left alone.
#include "alert/app/PlacementConversion.h"
#include "formstore/FormPlacement.h"
#include "platform/gui/Forms.h"
#include "platform/registry/Registry.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/testing/ScratchConfig.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace {

const char* const Path = "Software\\Pellworth\\Dornwick\\Beacon Mill";
const char* const Suffixed = "NormPos(1280x1024)";

class PlacementConversion : public ScratchConfig {
protected:
    void SetUp() override {
        ScratchConfig::SetUp();
        Application->Initialize();
        Screen->OverrideSize(1280, 1024);
    }
    void TearDown() override {
        Screen->OverrideSize(0, 0);
        ScratchConfig::TearDown();
    }
    // Opens the section under Root, creating it when asked.
    static bool Open(TRegistry& Reg, HKEY Root, bool Create) {
        Reg.SetRootKey(Root);
        return Reg.OpenKey(Path, Create);
    }
};

struct Stored {
    const char* Name;
    std::optional<int> Integer;
    const char* Text;
};

struct Case {
    const char* Title;
    std::vector<Stored> Before;
    // The values afterwards as strings; a name missing here must be missing.
    std::vector<std::pair<const char*, const char*>> After;
    std::vector<const char*> StillIntegers;
};

TEST_F(PlacementConversion, RewritesTheOlderFormOnly) {
    const Case Cases[] = {
        {"old form, NormPos under the plain name only",
         {{"Flags", 0, ""}, {"PixelsPerInch", 96, ""}, {"ShowCmd", 1, ""}, {"NormPos", {}, "10,20,300,200"}},
         {{"Flags", "0"}, {"PixelsPerInch", "96"}, {"ShowCmd", "1"}, {"NormPos", "10,20,310,220"},
          {Suffixed, "10,20,310,220"}},
         {}},
        {"old form, the suffixed NormPos wins over the plain one",
         {{"Flags", 2, ""}, {Suffixed, {}, "1,2,3,4"}, {"NormPos", {}, "10,20,300,200"}},
         {{"Flags", "2"}, {"NormPos", "1,2,4,6"}, {Suffixed, "1,2,4,6"}},
         {}},
        {"old form without NormPos",
         {{"Flags", 8, ""}, {"PixelsPerInch", 120, ""}, {"ShowCmd", -1, ""}},
         {{"Flags", "8"}, {"PixelsPerInch", "120"}, {"ShowCmd", "-1"}},
         {}},
        {"missing and unreadable words count as 0, blanks split too",
         {{"Flags", 0, ""}, {"NormPos", {}, "5, x 7"}},
         {{"Flags", "0"}, {"NormPos", "5,0,12,0"}, {Suffixed, "5,0,12,0"}},
         {}},
        {"a right edge past the integer range stops at its end",
         {{"Flags", 0, ""}, {"NormPos", {}, "2147483000,-2147483000,1000,-1000"}},
         {{"Flags", "0"},
          {"NormPos", "2147483000,-2147483000,2147483647,-2147483648"},
          {Suffixed, "2147483000,-2147483000,2147483647,-2147483648"}},
         {}},
        {"only the plain names of the integers are converted",
         {{"Flags", 0, ""}, {"ShowCmd(1280x1024)", 3, ""}, {"PixelsPerInch", {}, "96"}},
         {{"Flags", "0"}, {"PixelsPerInch", "96"}},
         {"ShowCmd(1280x1024)"}},
        {"Flags stored as a string: already the new form",
         {{"Flags", {}, "0"}, {"ShowCmd", 1, ""}, {"NormPos", {}, "10,20,300,200"}},
         {{"Flags", "0"}, {"NormPos", "10,20,300,200"}},
         {"ShowCmd"}},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Title);
        {
            TRegistry Reg;
            Reg.SetRootKey(HKEY_CURRENT_USER);
            Reg.DeleteKey(Path);
            ASSERT_TRUE(Open(Reg, HKEY_CURRENT_USER, true));
            for (const Stored& S : C.Before) {
                if (S.Integer) Reg.WriteInteger(S.Name, *S.Integer);
                else Reg.WriteString(S.Name, S.Text);
            }
        }
        TForm Owner(nullptr);
        auto* Placement = new formstore::TFormPlacement(&Owner);
        Placement->SetUseRegistry(true);
        Placement->SetIniFileName("Software\\Pellworth\\Dornwick");
        Placement->SetIniSection("Beacon Mill");
        ConvertFormPlacement(Placement);

        TRegistry Reg;
        ASSERT_TRUE(Open(Reg, HKEY_CURRENT_USER, false));
        for (const auto& [Name, Text] : C.After) {
            EXPECT_EQ(Reg.GetDataType(Name), rdString) << Name;
            EXPECT_EQ(Reg.ReadString(Name), Text) << Name;
        }
        for (const char* Name : C.StillIntegers) EXPECT_EQ(Reg.GetDataType(Name), rdInteger) << Name;
        TStringList Names;
        Reg.GetValueNames(&Names);
        EXPECT_EQ(Names.Count(), int(C.After.size() + C.StillIntegers.size()));
    }
}

TEST_F(PlacementConversion, NoStoredPlacementWritesNothing) {
    ConvertPlacementValues(0, "Software\\Pellworth\\Dornwick", "Beacon Mill");
    TRegistry Reg;
    EXPECT_FALSE(Reg.KeyExists(Path));
    EXPECT_FALSE(Reg.KeyExists("Software"));
}

TEST_F(PlacementConversion, TheStoredRootByteChoosesTheRoot) {
    const std::pair<std::uint8_t, HKEY> Roots[] = {
        {0, HKEY_CURRENT_USER}, {1, HKEY_LOCAL_MACHINE}, {2, HKEY_CURRENT_CONFIG},
        {3, HKEY_CLASSES_ROOT}, {4, HKEY_USERS},         {5, HKEY_DYN_DATA},
        {6, HKEY_CURRENT_USER}, {255, HKEY_CURRENT_USER},
    };
    for (const auto& [Root, Key] : Roots) {
        SCOPED_TRACE(int(Root));
        EXPECT_EQ(PlacementRootKey(Root), Key);
    }
    {
        TRegistry Reg;
        ASSERT_TRUE(Open(Reg, HKEY_LOCAL_MACHINE, true));
        Reg.WriteInteger("Flags", 4);
    }
    // The key path with its backslash already there gets no second one.
    ConvertPlacementValues(1, "Software\\Pellworth\\Dornwick\\", "Beacon Mill");
    TRegistry Reg;
    ASSERT_TRUE(Open(Reg, HKEY_LOCAL_MACHINE, false));
    EXPECT_EQ(Reg.GetDataType("Flags"), rdString);
    EXPECT_EQ(Reg.ReadString("Flags"), "4");
    EXPECT_FALSE(Reg.KeyExists("\\Software\\Pellworth\\Dornwick\\\\Beacon Mill"));
}

TEST_F(PlacementConversion, TheSuffixNamesTheScreenSize) {
    EXPECT_EQ(PlacementSuffix(), "(1280x1024)");
    Screen->OverrideSize(800, 600);
    EXPECT_EQ(PlacementSuffix(), "(800x600)");
}

} // namespace
