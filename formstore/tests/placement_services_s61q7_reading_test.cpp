#include "FormFixture.h"

#include <gtest/gtest.h>

using namespace formstore_test;

namespace {

class PlacementServicesTest : public FormFixture {};

TEST_F(PlacementServicesTest, KeyAndSectionAreTheSetOnesOrNonEmptyDefaults) {
    TMainFormWindow* Form = MakeForm();
    formstore::TFormStorage* Storage = StorageOf(Form);
    EXPECT_EQ(Storage->GetIniFileName(), MainKey);
    EXPECT_EQ(Storage->GetIniSection(), MainSection);
    EXPECT_EQ(Storage->RegistryRoot(), formstore::prCurrentUser);

    Storage->SetIniFileName("");
    Storage->SetIniSection("");
    EXPECT_FALSE(Storage->GetIniFileName().empty());
    EXPECT_FALSE(Storage->GetIniSection().empty());
}

// Each root ordinal names its own hive: the placement the form writes on
// closing lands under that hive and nowhere else.
TEST_F(PlacementServicesTest, RegistryRootOrdinalsPickTheirHive) {
    struct Case {
        int Ordinal;
        HKEY Root;
    } const Cases[] = {{0, HKEY_CURRENT_USER}, {1, HKEY_LOCAL_MACHINE}, {2, HKEY_CURRENT_CONFIG},
                       {3, HKEY_CLASSES_ROOT}, {4, HKEY_USERS},         {5, HKEY_DYN_DATA}};
    const HKEY All[] = {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_CURRENT_CONFIG,
                        HKEY_CLASSES_ROOT, HKEY_USERS, HKEY_DYN_DATA};
    for (const Case& C : Cases) {
        TMainFormWindow* Form = MakeForm([&](TMainFormWindow&, formstore::TFormStorage& S) {
            S.SetRegistryRoot(static_cast<formstore::TPlacementRegRoot>(C.Ordinal));
        });
        Form->Show();
        Form->Close();
        Application->ProcessMessages();
        for (const HKEY Root : All) {
            TRegistry Reg(KEY_ALL_ACCESS);
            Reg.SetRootKey(Root);
            const bool Has = Reg.KeyExists(MainKey + "\\" + MainSection);
            EXPECT_EQ(Has, Root == C.Root) << "ordinal " << C.Ordinal;
            if (Has) Reg.DeleteKey(MainKey);
        }
    }
    EXPECT_TRUE(Errors.empty());
}

// What one run of the window writes on closing the next run restores on
// showing, under the configured key and section.
TEST_F(PlacementServicesTest, PlacementWrittenOnCloseIsRestoredOnShow) {
    TMainFormWindow* First = MakeForm();
    First->Show();
    First->SetBounds(210, 230, 700, 500);
    First->Close();
    Application->ProcessMessages();
    EXPECT_FALSE(StoredValues().empty());

    TMainFormWindow* Second = MakeForm();
    Second->Show();
    Application->ProcessMessages();
    EXPECT_EQ(Second->Left(), 210);
    EXPECT_EQ(Second->Top(), 230);
    EXPECT_EQ(Second->Width(), 700);
    EXPECT_EQ(Second->Height(), 500);
    EXPECT_TRUE(Errors.empty());
}

} // namespace
