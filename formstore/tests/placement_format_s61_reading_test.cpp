// The stored placement values as the main window's form storage writes and
// reads them: names, texts, order, screen-size suffix and what reading
// applies to the window.
#include "FormFixture.h"

#include "formstore/AppStorage.h"
#include "formstore/PlacementFormat.h"

#include "platform/registry/IniFiles.h"
#include "platform/registry/Registry.h"

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace formstore;
using namespace formstore_test;

namespace {

AnsiString RectText(const TRect& R) { return Format("%d,%d,%d,%d", R.Left, R.Top, R.Right, R.Bottom); }

class PlacementFormatReading : public FormFixture {};

TEST_F(PlacementFormatReading, ClosingWritesEveryValueOnceInOrderWithPlainTexts) {
    TMainFormWindow* F = MakeForm();
    F->Show();
    F->Close();
    const TValues Values = StoredValues();
    std::vector<AnsiString> Names;
    for (const auto& [N, V] : Values) Names.push_back(N);
    EXPECT_EQ(Names, (std::vector<AnsiString>{"FormVersion", "Flags", "ShowCmd", "PixelsPerInch",
                                              "MinMaxPos(1920x1080)", "MinMaxPos",
                                              "NormPos(1920x1080)", "NormPos", "Visible"}));
    EXPECT_EQ(ValueOf(Values, "FormVersion"), "0");
    EXPECT_EQ(ValueOf(Values, "Flags"), "0");
    EXPECT_EQ(ValueOf(Values, "ShowCmd"), "1");
    EXPECT_EQ(ValueOf(Values, "PixelsPerInch"), std::to_string(Screen->PixelsPerInch()));
    EXPECT_EQ(ValueOf(Values, "NormPos(1920x1080)"), "100,120,740,600");
    EXPECT_EQ(ValueOf(Values, "NormPos"), "100,120,740,600");
    EXPECT_EQ(ValueOf(Values, "MinMaxPos"), ValueOf(Values, "MinMaxPos(1920x1080)"));
    EXPECT_EQ(ValueOf(Values, "MinMaxPos").find(' '), AnsiString::npos) << ValueOf(Values, "MinMaxPos");
    EXPECT_EQ(ValueOf(Values, "Visible"), "0");
}

TEST_F(PlacementFormatReading, ScreenSizeNamesTheSuffixedValues) {
    Screen->OverrideSize(1024, 768);
    EXPECT_EQ(ScreenSizeSuffix(), "(1024x768)");
    TMainFormWindow* F = MakeForm();
    F->Show();
    F->Close();
    const TValues Values = StoredValues();
    EXPECT_EQ(ValueOf(Values, "MinMaxPos(1024x768)"), ValueOf(Values, "MinMaxPos"));
    EXPECT_EQ(ValueOf(Values, "NormPos(1024x768)"), "100,120,740,600");
}

TEST_F(PlacementFormatReading, PlacementSavedPerScreenSizeIsReadBackAtThatSizeElseThePlainOne) {
    TMainFormWindow* F = MakeForm();
    F->Show();
    F->SetBounds(10, 20, 600, 400);
    F->Close();
    Screen->OverrideSize(1280, 1024);
    F->Show();
    F->SetBounds(30, 40, 500, 300);
    F->Close();
    const TValues Values = StoredValues();
    EXPECT_EQ(ValueOf(Values, "NormPos(1920x1080)"), "10,20,610,420");
    EXPECT_EQ(ValueOf(Values, "NormPos(1280x1024)"), "30,40,530,340");
    EXPECT_EQ(ValueOf(Values, "NormPos"), "30,40,530,340");

    const struct {
        int Width, Height;
        const char* Expected;
    } Cases[] = {{1920, 1080, "10,20,610,420"}, {800, 600, "30,40,530,340"}};
    for (const auto& C : Cases) {
        Screen->OverrideSize(C.Width, C.Height);
        TMainFormWindow* G = MakeForm();
        G->Show();
        EXPECT_EQ(RectText(G->BoundsRect()), C.Expected) << C.Width << "x" << C.Height;
    }
}

// What a stored section does to a form placed at (100, 120) sized 640 x 480.
TEST_F(PlacementFormatReading, ReadingAppliesTheStoredRectangleAndState) {
    const AnsiString OtherPpi = std::to_string(Screen->PixelsPerInch() + 24);
    const struct {
        const char* Name;
        TFormBorderStyle Border;
        TValues Values;
        const char* Bounds;
        TWindowState State;
    } Cases[] = {
        {"plain rectangle", bsSizeable, {{"NormPos", "10,20,300,400"}}, "10,20,300,400", wsNormal},
        {"three words with spaces",
         bsSizeable,
         {{"NormPos", "10, 20, 300"}},
         "10,20,300,600",
         wsNormal},
        {"malformed left takes the form's", bsSizeable, {{"NormPos", "x,20,500,400"}},
         "100,20,500,400", wsNormal},
        {"right not past left", bsSizeable, {{"NormPos", "300,20,300,400"}}, "100,120,740,600",
         wsNormal},
        {"other pixel density keeps the position but takes the state",
         bsSizeable,
         {{"NormPos", "10,20,300,400"}, {"PixelsPerInch", OtherPpi}, {"ShowCmd", "3"}},
         "100,120,740,600",
         wsMaximized},
        {"dialog keeps its size", bsDialog, {{"NormPos", "10,20,300,400"}}, "10,20,650,500",
         wsNormal},
        {"suffixed wins over plain",
         bsSizeable,
         {{"NormPos", "10,20,300,400"}, {"NormPos(1920x1080)", "50,60,450,360"}},
         "50,60,450,360",
         wsNormal},
        {"nothing stored", bsSizeable, {}, "100,120,740,600", wsNormal},
    };
    int Index = 0;
    for (const auto& C : Cases) {
        const AnsiString Section = Format("Case %d", Index++);
        Store(C.Values, Section);
        TMainFormWindow* F = MakeForm([&](TMainFormWindow& Form, TFormStorage& Storage) {
            Form.SetBorderStyle(C.Border);
            Storage.SetIniSection(Section);
        });
        F->Show();
        EXPECT_EQ(RectText(F->BoundsRect()), C.Bounds) << C.Name;
        EXPECT_EQ(F->WindowState(), C.State) << C.Name;
        EXPECT_TRUE(Errors.empty()) << C.Name;
    }
}

TEST_F(PlacementFormatReading, ShowCommandsMapToWindowStates) {
    ASSERT_EQ(Application->MainForm(), nullptr);
    const struct {
        const char* ShowCmd;
        TPosition Position;
        TWindowState State;
    } Cases[] = {
        {"1", poDesigned, wsNormal},  {"5", poDesigned, wsNormal},    {"9", poDesigned, wsNormal},
        {"3", poDesigned, wsMaximized}, {"0", poDesigned, wsNormal},  {"4", poDesigned, wsNormal},
        {"8", poDesigned, wsNormal},  {"42", poDesigned, wsNormal},  {"0", poDefault, wsMaximized},
        {"1", poDefault, wsNormal},
    };
    int Index = 0;
    for (const auto& C : Cases) {
        const AnsiString Section = Format("Case %d", Index++);
        Store({{"ShowCmd", C.ShowCmd}}, Section);
        TMainFormWindow* F = MakeForm([&](TMainFormWindow& Form, TFormStorage& Storage) {
            Form.SetPosition(C.Position);
            Storage.SetIniSection(Section);
        });
        F->Show();
        EXPECT_EQ(F->WindowState(), C.State) << C.ShowCmd << " position " << int(C.Position);
    }
}

TEST_F(PlacementFormatReading, MinimisedShowCommandWithoutMainFormMinimisesTheApplication) {
    ASSERT_EQ(Application->MainForm(), nullptr);
    for (const char* ShowCmd : {"2", "6", "7"}) {
        Store({{"ShowCmd", ShowCmd}});
        TMainFormWindow* F = MakeForm();
        F->Show();
        Application->ProcessMessages();
        EXPECT_TRUE(Application->Minimized()) << ShowCmd;
        EXPECT_EQ(F->WindowState(), wsNormal) << ShowCmd;
        Application->Restore();
        Application->ProcessMessages();
    }
}

// The application's main form, with its storage set up as MakeForm does.
class MainFormPlacementReading : public PlacementFormatReading {
protected:
    TMainFormWindow* MakeMainForm() {
        TMainFormWindow* Main = nullptr;
        Application->CreateForm(Main);
        Forms.emplace_back(Main);
        Main->SetBounds(100, 120, 640, 480);
        auto* Storage = new TFormStorage(Main);
        Storage->SetName("FormStorage");
        Storage->Loading();
        Storage->SetIniFileName(MainKey);
        Storage->SetIniSection(MainSection);
        Storage->SetUseRegistry(true);
        Storage->Loaded();
        return Main;
    }
    void TearDown() override {
        Application->Restore();
        PlacementFormatReading::TearDown();
        EXPECT_EQ(Application->MainForm(), nullptr);
    }
};

TEST_F(MainFormPlacementReading, MinimisedApplicationIsSavedAsMinimisedMainForm) {
    TMainFormWindow* Main = MakeMainForm();
    Main->Show();
    Application->Minimize();
    Application->ProcessMessages();
    StorageOf(Main)->SaveFormPlacement();
    EXPECT_EQ(ValueOf(StoredValues(), "ShowCmd"), "2");
}

TEST_F(MainFormPlacementReading, MinimisedShowCommandMinimisesTheApplicationOnlyForTheMainForm) {
    Store({{"ShowCmd", "2"}});
    TMainFormWindow* Main = MakeMainForm();
    Main->Show();
    Application->ProcessMessages();
    EXPECT_TRUE(Application->Minimized());
    EXPECT_EQ(Main->WindowState(), wsNormal);
    Application->Restore();
    Application->ProcessMessages();

    TMainFormWindow* Other = MakeForm();
    Other->Show();
    Application->ProcessMessages();
    EXPECT_FALSE(Application->Minimized());
    EXPECT_EQ(Other->WindowState(), wsMinimized);
}

TEST_F(MainFormPlacementReading, DefaultPositionMaximisesOnlyTheMainForm) {
    Store({{"ShowCmd", "0"}});
    TMainFormWindow* Main = MakeMainForm();
    Main->SetPosition(poDefault);
    Main->Show();
    EXPECT_EQ(Main->WindowState(), wsMaximized);
    TMainFormWindow* Other = MakeForm([](TMainFormWindow& Form, TFormStorage&) {
        Form.SetPosition(poDefault);
    });
    Other->Show();
    EXPECT_EQ(Other->WindowState(), wsNormal);
}

TEST_F(PlacementFormatReading, SavingAFormNeverShownWritesItsBounds) {
    TMainFormWindow Form(nullptr);
    Form.SetBounds(11, 22, 333, 244);
    fsapputils::SaveFormPlacement(&Form, MainKey, true);
    const TValues Values = StoredValues("TMainFormWindow");
    EXPECT_EQ(ValueOf(Values, "NormPos"), "11,22,344,266");
    EXPECT_EQ(ValueOf(Values, "ShowCmd"), "1");
    EXPECT_FALSE(Form.Visible());
}

TEST_F(PlacementFormatReading, CentredFormTakesTheStoredRectangleAndBecomesDesigned) {
    Store({{"NormPos", "10,20,300,400"}});
    TMainFormWindow* F = MakeForm([](TMainFormWindow& Form, TFormStorage&) {
        Form.SetPosition(poScreenCenter);
    });
    F->Show();
    EXPECT_EQ(F->Position(), poDesigned);
    EXPECT_EQ(RectText(F->BoundsRect()), "10,20,300,400");
}

TEST_F(PlacementFormatReading, ReadingUnderTheCurrentUserCreatesTheKey) {
    MakeForm()->Show();
    TRegistry Reg(KEY_READ);
    EXPECT_TRUE(Reg.OpenKey(MainKey, false));
}

TEST_F(PlacementFormatReading, RestoringAHiddenFormDoesNotShowIt) {
    Store({{"ShowCmd", "1"}, {"NormPos", "10,20,300,400"}});
    TMainFormWindow* F = MakeForm();
    StorageOf(F)->RestoreFormPlacement();
    EXPECT_FALSE(F->Visible());
    EXPECT_FALSE(IsWindowVisible(F->Handle()));
    EXPECT_EQ(RectText(F->BoundsRect()), "10,20,300,400");
}

TEST_F(PlacementFormatReading, HiddenFormTakesTheStoredStateWhenShownLater) {
    Store({{"ShowCmd", "3"}});
    TMainFormWindow* F = MakeForm();
    StorageOf(F)->RestoreFormPlacement();
    EXPECT_FALSE(F->Visible());
    EXPECT_FALSE(IsWindowVisible(F->Handle()));
    EXPECT_EQ(F->WindowState(), wsMaximized);
}

TEST_F(PlacementFormatReading, MinimisedMdiChildSetsTheFirstFlag) {
    TMainFormWindow* F = MakeForm([](TMainFormWindow& Form, TFormStorage&) {
        Form.SetFormStyle(fsMDIChild);
    });
    F->Show();
    F->SetWindowState(wsMinimized);
    StorageOf(F)->SaveFormPlacement();
    EXPECT_EQ(ValueOf(StoredValues(), "Flags"), "1");
}

TEST_F(PlacementFormatReading, MinimisedPositionIsTakenAndMaximisedPositionFollowsTheBorder) {
    Store({{"MinMaxPos", "7 , 8,,9 10"}});
    TMainFormWindow* F = MakeForm();
    F->Show();
    const TWindowPlacement P = F->GetPlacement();
    EXPECT_EQ(P.ptMinPosition.X, 7);
    EXPECT_EQ(P.ptMinPosition.Y, 8);
    EXPECT_EQ(Format("%d,%d", P.ptMaxPosition.X, P.ptMaxPosition.Y), FrameMaxPos());
}

TEST_F(PlacementFormatReading, ValueOfAnotherTypeStopsTheRestoreAndTheCloseLeavesItAlone) {
    {
        TRegistry Reg;
        ASSERT_TRUE(Reg.OpenKey(MainKey + "\\" + MainSection, true));
        Reg.WriteInteger("NormPos", 5);
    }
    int OwnShows = 0;
    TMainFormWindow* F = MakeForm([&](TMainFormWindow& Form, TFormStorage&) {
        Form.OnShow = [&](TObject*) { ++OwnShows; };
    });
    F->Show();
    EXPECT_TRUE(F->Visible());
    EXPECT_EQ(OwnShows, 1);
    ASSERT_EQ(Errors.size(), 1u);
    EXPECT_NE(Errors[0].find("NormPos"), AnsiString::npos) << Errors[0];
    EXPECT_EQ(StorageOf(F)->GetIniFile(), nullptr);
    F->Close();
    EXPECT_EQ(ValueOf(StoredValues(), "NormPos"), "<not text>");
}

TEST_F(PlacementFormatReading, IniFileHoldsTheSameLinesUnderTheSection) {
    const AnsiString Name = File("placement.ini");
    TMainFormWindow* F = MakeForm([&](TMainFormWindow&, TFormStorage& Storage) {
        Storage.SetUseRegistry(false);
        Storage.SetIniFileName(Name);
    });
    F->Show();
    F->Close();
    const AnsiString Stored = ReadFile(Name);
    const char* Lines[] = {"[Beacon Mill]", "FormVersion=0", "Flags=0", "ShowCmd=1",
                           "NormPos(1920x1080)=100,120,740,600", "NormPos=100,120,740,600",
                           "Visible=0"};
    int Last = 0;
    for (const char* Line : Lines) {
        const auto At = Stored.find(Line);
        EXPECT_TRUE(At != AnsiString::npos && int(At) >= Last) << Line << " in\n" << Stored;
        if (At != AnsiString::npos) Last = int(At);
    }

    TMainFormWindow* G = MakeForm([&](TMainFormWindow& Form, TFormStorage& Storage) {
        Form.SetBounds(0, 0, 100, 100);
        Storage.SetUseRegistry(false);
        Storage.SetIniFileName(Name);
    });
    G->Show();
    EXPECT_EQ(RectText(G->BoundsRect()), "100,120,740,600");
}

TEST_F(PlacementFormatReading, DefaultIniFileLivesInTheConfigurationFolder) {
    TMainFormWindow* F = MakeForm([](TMainFormWindow&, TFormStorage& Storage) {
        Storage.SetUseRegistry(false);
        Storage.SetIniFileName("");
    });
    F->Show();
    F->Close();
    const AnsiString Name = StorageOf(F)->GetIniFileName();
    EXPECT_EQ(Name.find('/'), AnsiString::npos) << Name;
    EXPECT_NE(ReadFile(File(Name)).find("NormPos=100,120,740,600"), AnsiString::npos);
}

TEST_F(PlacementFormatReading, FreeFunctionsKeepThePlacementUnderTheFormClass) {
    TMainFormWindow Form(nullptr);
    Form.SetBounds(11, 22, 333, 244);
    Form.Show();
    fsapputils::SaveFormPlacement(&Form, MainKey, true);
    EXPECT_EQ(ValueOf(StoredValues("TMainFormWindow"), "NormPos"), "11,22,344,266");

    TMainFormWindow Other(nullptr);
    Other.SetBounds(0, 0, 100, 100);
    Other.Show();
    fsapputils::RestoreFormPlacement(&Other, MainKey, true);
    EXPECT_EQ(RectText(Other.BoundsRect()), "11,22,344,266");
}

TEST_F(PlacementFormatReading, DefaultNamesComeFromTheProgramAndTheFormClass) {
    const AnsiString Bare = std::filesystem::path(Application->ExeName()).stem().string();
    const AnsiString SavedTitle = Application->Title();
    TMainFormWindow* F = MakeForm([](TMainFormWindow&, TFormStorage& Storage) {
        Storage.SetIniFileName("");
        Storage.SetIniSection("");
    });
    TFormStorage* S = StorageOf(F);
    EXPECT_EQ(S->GetIniSection(), "TMainFormWindow");
    EXPECT_EQ(S->GetIniFileName(), "Software\\" + Bare);
    DefCompanyName = "Pellworth";
    EXPECT_EQ(S->GetIniFileName(), "Software\\Pellworth\\" + Bare);
    RegUseAppTitle = true;
    Application->SetTitle("Beacon Mill");
    EXPECT_EQ(S->GetIniFileName(), "Software\\Pellworth\\Beacon Mill");
    DefCompanyName = "";
    RegUseAppTitle = false;
    Application->SetTitle(SavedTitle);

    S->SetUseRegistry(false);
    EXPECT_EQ(S->GetIniFileName(), Bare + ".INI");
    OnGetDefaultIniName = [] { return AnsiString("hooked.ini"); };
    EXPECT_EQ(S->GetIniFileName(), "hooked.ini");
    OnGetDefaultIniName = nullptr;
}

} // namespace
