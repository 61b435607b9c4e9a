#include "FormFixture.h"

#include "formstore/AppStorage.h"
#include "formstore/PersistUtils.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace formstore;
using namespace formstore_test;

namespace {

class AppStorage : public FormFixture {};

TEST_F(AppStorage, DefaultSectionsByKindOfComponent) {
    TMainFormWindow* Form = MakeForm();
    auto* Panel = new TWinControl(Form);
    Panel->SetName("Panel1");
    Panel->SetParent(Form);
    auto* Grid = new TWinControl(Form);
    Grid->SetName("Grid1");
    Grid->SetParent(Panel);
    TWinControl Loose(nullptr);
    Loose.SetName("Loose");
    TWinControl Inner(nullptr);
    Inner.SetName("Inner");
    Inner.SetParent(&Loose);
    TComponent Plain(nullptr);
    Plain.SetName("Plain");

    EXPECT_EQ(GetDefaultSection(Form), "TMainFormWindow");
    EXPECT_EQ(GetDefaultSection(Grid), "TMainFormWindowGrid1");
    EXPECT_EQ(GetDefaultSection(&Inner), "LooseInner");
    EXPECT_EQ(GetDefaultSection(&Loose), "Loose");
    EXPECT_EQ(GetDefaultSection(StorageOf(Form)), "TMainFormWindow.FormStorage");
    EXPECT_EQ(GetDefaultSection(&Plain), "Plain");
    EXPECT_EQ(GetDefaultSection(nullptr), "");
    Inner.SetParent(nullptr);
}

TEST_F(AppStorage, DefaultStorageNames) {
    const AnsiString Program = std::filesystem::path(Application->ExeName()).stem().string();
    EXPECT_EQ(GetDefaultIniName(), Program + ".INI");
    EXPECT_EQ(GetDefaultIniRegKey(), "Software\\" + Program);

    DefCompanyName = "Pellworth";
    RegUseAppTitle = true;
    Application->SetTitle("Beacon Mill");
    OnGetDefaultIniName = [] { return AnsiString("chosen.ini"); };
    EXPECT_EQ(GetDefaultIniRegKey(), "Software\\Pellworth\\Beacon Mill");
    EXPECT_EQ(GetDefaultIniName(), "chosen.ini");
    DefCompanyName.clear();
    RegUseAppTitle = false;
    Application->SetTitle("");
    OnGetDefaultIniName = nullptr;

    // A placement component without names falls back to these.
    TMainFormWindow* Form = MakeForm([](TMainFormWindow&, TFormStorage& S) {
        S.SetIniFileName("");
        S.SetIniSection("");
    });
    TFormStorage* Storage = StorageOf(Form);
    EXPECT_EQ(Storage->GetIniFileName(), "Software\\" + Program);
    EXPECT_EQ(Storage->GetIniSection(), "TMainFormWindow");
    auto* Grid = new TWinControl(Form);
    Grid->SetName("Grid1");
    Grid->SetParent(Form);
    AnsiString Name, Section;
    GetDefaultIniData(Grid, Name, Section, false);
    EXPECT_EQ(Name, "Software\\" + Program);
    EXPECT_EQ(Section, "TMainFormWindowGrid1");
}

TEST_F(AppStorage, UniqueFileNamesSkipTakenOnes) {
    WriteFile(File("report0.txt"), "x");
    WriteFile(File("report1.txt"), "x");
    EXPECT_EQ(GetUniqueFileNameInDir(Folder, "report%d.txt"), "report2.txt");
    EXPECT_EQ(GetUniqueFileNameInDir(Folder + "/", "other%d.txt"), "other0.txt");

    // A dangling link holds its name, as os.path.lexists sees it.
    std::filesystem::create_symlink(File("missing-target"), File("f0.txt"));
    EXPECT_EQ(GetUniqueFileNameInDir(Folder, "f%d.txt"), "f1.txt");

    // A mask without a number answers at once: its one name, or nothing.
    EXPECT_EQ(GetUniqueFileNameInDir(Folder, "fixed.txt"), "fixed.txt");
    WriteFile(File("fixed.txt"), "x");
    EXPECT_EQ(GetUniqueFileNameInDir(Folder, "fixed.txt"), "");
}

TEST_F(AppStorage, BroadcastReachesEveryFormAndGivesTheLastAnswer) {
    const int Before = Screen->FormCount();
    if (Before == 0) {
        EXPECT_EQ(AppBroadcast(WM_USER, 0, 0), -1);
    }
    std::vector<TCustomForm*> Reached;
    for (int I = 0; I < 2; ++I) {
        TMainFormWindow* Form = MakeForm();
        Form->WindowProc = [Form, &Reached, I](TMessage& Msg) {
            Reached.push_back(Form);
            Msg.Result = 10 + I;
        };
    }
    EXPECT_EQ(AppBroadcast(WM_USER, 1, 2), 11);
    ASSERT_EQ(Reached.size(), 2u);
    EXPECT_EQ(Reached[0], Forms[0].get());
}

TEST_F(AppStorage, FormsAreFoundAndShownByClass) {
    EXPECT_EQ(FindForm<TMainFormWindow>(), nullptr);
    TMainFormWindow* Form = MakeForm();
    Form->SetCaption("Report");
    EXPECT_EQ(FindForm<TMainFormWindow>(), Form);
    EXPECT_EQ(FindForm<TCustomForm>(), Screen->Forms(0));
    EXPECT_EQ(ShowFormOfClass<TMainFormWindow>("Report", true), Form);
    EXPECT_TRUE(Form->Visible());
    EXPECT_EQ(ShowFormOfClass<TMainFormWindow>("", false), Form);
}

TEST_F(AppStorage, WaitCursorNestsAndRestoresTheOneBefore) {
    Screen->SetCursor(crCross);
    StartWait();
    StartWait();
    StopWait();
    EXPECT_EQ(Screen->Cursor(), crHourGlass);
    StopWait();
    EXPECT_EQ(Screen->Cursor(), crCross);
    StopWait();
    EXPECT_EQ(Screen->Cursor(), crCross);
    {
        TWaitCursor Wait;
        EXPECT_EQ(Screen->Cursor(), crHourGlass);
    }
    EXPECT_EQ(Screen->Cursor(), crCross);
    Screen->SetCursor(crDefault);
}

} // namespace
