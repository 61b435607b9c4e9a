// Converting a window placement stored in the older form, on a registry in
// a scratch configuration folder.
#include "alert/app/PlacementConversion.h"
#include "formstore/FormPlacement.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/testing/ScratchConfig.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>

namespace {

const AnsiString PlacementKey = "Software\\Pellworth\\Dornwick";
const AnsiString PlacementPath = PlacementKey + "\\Beacon Mill";

// A key's values as "s:text" or "i:number" by name.
using Values = std::map<AnsiString, AnsiString>;

class PlacementTest : public ScratchConfig {
protected:
    void SetUp() override {
        ScratchConfig::SetUp();
        Screen->OverrideSize(1280, 1024);
    }
    void TearDown() override {
        Screen->OverrideSize(0, 0);
        ScratchConfig::TearDown();
    }

    static void Store(HKEY Root, const Values& Stored) {
        TRegistry Reg;
        Reg.SetRootKey(Root);
        ASSERT_TRUE(Reg.OpenKey(PlacementPath, true));
        for (const auto& [Name, Value] : Stored) {
            if (Value.starts_with("i:"))
                Reg.WriteInteger(Name, StrToInt(Value.substr(2)));
            else
                Reg.WriteString(Name, Value.substr(2));
        }
    }
    static Values Read(HKEY Root) {
        TRegistry Reg;
        Reg.SetRootKey(Root);
        Values Result;
        if (!Reg.OpenKeyReadOnly(PlacementPath)) return Result;
        TStringList Names;
        Reg.GetValueNames(&Names);
        for (int I = 0; I < Names.Count(); ++I) {
            const AnsiString Name = Names[I];
            Result[Name] = Reg.GetDataType(Name) == rdInteger
                               ? "i:" + IntToStr(Reg.ReadInteger(Name))
                               : "s:" + Reg.ReadString(Name);
        }
        return Result;
    }

};

TEST_F(PlacementTest, StoredValuesAreConvertedOnlyFromTheOldForm) {
    struct Case {
        const char* Name;
        Values Before;
        Values After;
    };
    const Values NewForm = {{"Flags", "s:0"},
                            {"ShowCmd", "s:1"},
                            {"PixelsPerInch", "s:96"},
                            {"NormPos", "s:10,20,300,200"},
                            {"NormPos(1280x1024)", "s:10,20,300,200"}};
    const Case Cases[] = {
        {"new form: Flags as a string leaves all alone", NewForm, NewForm},
        {"old form with both positions",
         {{"Flags", "i:0"},
          {"ShowCmd", "i:1"},
          {"PixelsPerInch", "i:96"},
          {"NormPos", "s:10,20,300,200"},
          {"NormPos(1280x1024)", "s:10,20,300,200"}},
         {{"Flags", "s:0"},
          {"ShowCmd", "s:1"},
          {"PixelsPerInch", "s:96"},
          {"NormPos", "s:10,20,310,220"},
          {"NormPos(1280x1024)", "s:10,20,310,220"}}},
        {"the suffixed position wins and is written under both names",
         {{"Flags", "i:2"}, {"NormPos", "s:1,1,1,1"}, {"NormPos(1280x1024)", "s:5 6 100 50"}},
         {{"Flags", "s:2"}, {"NormPos", "s:5,6,105,56"}, {"NormPos(1280x1024)", "s:5,6,105,56"}}},
        {"plain position only: the suffixed name is created",
         {{"Flags", "i:0"}, {"NormPos", "s:10,20,300,200"}},
         {{"Flags", "s:0"},
          {"NormPos", "s:10,20,310,220"},
          {"NormPos(1280x1024)", "s:10,20,310,220"}}},
        {"no position: only the integers are rewritten",
         {{"Flags", "i:0"}, {"ShowCmd", "i:3"}, {"PixelsPerInch", "s:120"}},
         {{"Flags", "s:0"}, {"ShowCmd", "s:3"}, {"PixelsPerInch", "s:120"}}},
        {"missing and unreadable words count 0",
         {{"Flags", "i:0"}, {"NormPos", "s:10,x"}},
         {{"Flags", "s:0"}, {"NormPos", "s:10,0,10,0"}, {"NormPos(1280x1024)", "s:10,0,10,0"}}},
        {"a sum past the integer range stops at its end",
         {{"Flags", "i:0"}, {"NormPos", "s:2147483000,0,2000,0"}},
         {{"Flags", "s:0"},
          {"NormPos", "s:2147483000,0,2147483647,0"},
          {"NormPos(1280x1024)", "s:2147483000,0,2147483647,0"}}},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        TRegistry().DeleteKey(PlacementPath);
        Store(HKEY_CURRENT_USER, C.Before);
        ConvertPlacementValues(0, PlacementKey, "Beacon Mill");
        EXPECT_EQ(Read(HKEY_CURRENT_USER), C.After);
    }
}

TEST_F(PlacementTest, NoStoredPlacementWritesNothing) {
    ConvertPlacementValues(0, PlacementKey + "\\", "Beacon Mill");
    EXPECT_FALSE(TRegistry().KeyExists(PlacementKey));
}

TEST_F(PlacementTest, TheRootByteChoosesTheRoot) {
    EXPECT_EQ(PlacementRootKey(0), HKEY_CURRENT_USER);
    EXPECT_EQ(PlacementRootKey(1), HKEY_LOCAL_MACHINE);
    EXPECT_EQ(PlacementRootKey(2), HKEY_CURRENT_CONFIG);
    EXPECT_EQ(PlacementRootKey(3), HKEY_CLASSES_ROOT);
    EXPECT_EQ(PlacementRootKey(4), HKEY_USERS);
    EXPECT_EQ(PlacementRootKey(5), HKEY_DYN_DATA);
    EXPECT_EQ(PlacementRootKey(6), HKEY_CURRENT_USER);

    // The component's root, key and section are the ones converted.
    Store(HKEY_LOCAL_MACHINE, {{"Flags", "i:1"}});
    Store(HKEY_CURRENT_USER, {{"Flags", "i:1"}});
    formstore::TFormPlacement Placement(nullptr);
    Placement.SetUseRegistry(true);
    Placement.SetRegistryRoot(formstore::prLocalMachine);
    Placement.SetIniFileName(PlacementKey);
    Placement.SetIniSection("Beacon Mill");
    ConvertFormPlacement(&Placement);
    EXPECT_EQ(Read(HKEY_LOCAL_MACHINE), (Values{{"Flags", "s:1"}}));
    EXPECT_EQ(Read(HKEY_CURRENT_USER), (Values{{"Flags", "i:1"}}));
}

} // namespace
