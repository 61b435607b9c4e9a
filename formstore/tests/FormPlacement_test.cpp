#include "FormFixture.h"

#include "formstore/PlacementFormat.h"

#include "platform/registry/IniFiles.h"
#include "platform/rtl/FloatFormat.h"

#include <QWidget>

#include <gtest/gtest.h>

using namespace formstore;
using namespace formstore_test;

namespace {

class FormPlacement : public FormFixture {};

AnsiString ValueOrAbsent(const TValues& Values, const AnsiString& Name) {
    for (const auto& [Key, Value] : Values)
        if (Key == Name) return Value;
    return "<absent>";
}

TEST_F(FormPlacement, AFormShownMovedAndClosedWritesItsPlacementAndANewFormTakesIt) {
    TMainFormWindow* First = MakeForm();
    First->Show();
    First->SetBounds(200, 150, 800, 600);
    First->Close();

    const AnsiString Ppi = IntToStr(Screen->PixelsPerInch());
    const AnsiString MinMax = "-1,-1," + FrameMaxPos();
    EXPECT_EQ(StoredValues(), (TValues{
                                  {"FormVersion", "0"},
                                  {"Flags", "0"},
                                  {"ShowCmd", "1"},
                                  {"PixelsPerInch", Ppi},
                                  {"MinMaxPos(1920x1080)", MinMax},
                                  {"MinMaxPos", MinMax},
                                  {"NormPos(1920x1080)", "200,150,1000,750"},
                                  {"NormPos", "200,150,1000,750"},
                                  {"Visible", "0"},
                              }));

    TMainFormWindow* Second = MakeForm();
    Second->Show();
    EXPECT_EQ(Second->BoundsRect(), Rect(200, 150, 1000, 750));
    EXPECT_EQ(Second->WindowState(), wsNormal);
    EXPECT_TRUE(Errors.empty());
}

TEST_F(FormPlacement, AStoredMaximisedStateGivesAMaximisedWindowAndIsSavedAgain) {
    Store({{"ShowCmd", "3"}, {"NormPos", "30,40,670,520"}});
    TMainFormWindow* Form = MakeForm();
    Form->Show();
    EXPECT_EQ(Form->WindowState(), wsMaximized);
    EXPECT_TRUE(IsZoomed(Form));
    EXPECT_EQ(Form->GetPlacement().rcNormalPosition, Rect(30, 40, 670, 520));
    Form->Close();
    const TValues Saved = StoredValues();
    EXPECT_EQ(ValueOrAbsent(Saved, "ShowCmd"), "3");
    EXPECT_EQ(ValueOrAbsent(Saved, "NormPos"), "30,40,670,520");
    EXPECT_TRUE(Errors.empty());
}

TEST_F(FormPlacement, TheIniFileHoldsTheSameLinesInWritingOrder) {
    const AnsiString Path = File("placement.ini");
    TMainFormWindow* Form = MakeForm([&](TMainFormWindow&, TFormStorage& Storage) {
        Storage.SetUseRegistry(false);
        Storage.SetIniFileName(Path);
    });
    Form->Show();
    Form->Close();
    const AnsiString MinMax = "-1,-1," + FrameMaxPos();
    EXPECT_EQ(ReadFile(Path), "[Beacon Mill]\n"
                              "FormVersion=0\n"
                              "Flags=0\n"
                              "ShowCmd=1\n"
                              "PixelsPerInch=" +
                                  IntToStr(Screen->PixelsPerInch()) +
                                  "\n"
                                  "MinMaxPos(1920x1080)=" +
                                  MinMax +
                                  "\n"
                                  "MinMaxPos=" +
                                  MinMax +
                                  "\n"
                                  "NormPos(1920x1080)=100,120,740,600\n"
                                  "NormPos=100,120,740,600\n"
                                  "Visible=0\n");
}

TEST_F(FormPlacement, AStoredPixelDensityThatDiffersDropsThePositionButNotTheState) {
    Store({{"ShowCmd", "3"},
           {"PixelsPerInch", IntToStr(Screen->PixelsPerInch() + 24)},
           {"NormPos", "10,20,410,320"},
           {"MinMaxPos", "1,2,3,4"}});
    TMainFormWindow* Form = MakeForm();
    // Restored by hand while hidden: the state is taken without showing it.
    StorageOf(Form)->RestoreFormPlacement();
    EXPECT_EQ(Form->WindowState(), wsMaximized);
    const TWindowPlacement Placement = Form->GetPlacement();
    EXPECT_EQ(Placement.rcNormalPosition, Rect(100, 120, 740, 600));
    EXPECT_EQ(Placement.ptMinPosition, Point(-1, -1));
    EXPECT_FALSE(Form->Visible());
}

TEST_F(FormPlacement, ReadingPicksThePositionForTheScreenSize) {
    Store({{"NormPos(1920x1080)", "1,2,401,302"}, {"NormPos", "5,6,405,306"}});
    struct Case {
        int Width;
        int Height;
        TRect Expected;
    } cases[] = {
        {1920, 1080, Rect(1, 2, 401, 302)},
        {800, 600, Rect(5, 6, 405, 306)},
    };
    for (const Case& c : cases) {
        Screen->OverrideSize(c.Width, c.Height);
        TMainFormWindow* Form = MakeForm();
        Form->Show();
        EXPECT_EQ(Form->BoundsRect(), c.Expected) << c.Width << "x" << c.Height;
    }
}

TEST_F(FormPlacement, SavingAtTwoScreenSizesKeepsOnePositionPerSize) {
    TMainFormWindow* Form = MakeForm();
    Form->Show();
    Form->Close();
    Screen->OverrideSize(1280, 1024);
    Form->Show();
    Form->SetBounds(50, 60, 640, 480);
    Form->Close();
    TValues Positions;
    for (const auto& Value : StoredValues())
        if (Value.first.starts_with("NormPos")) Positions.push_back(Value);
    EXPECT_EQ(Positions, (TValues{{"NormPos(1920x1080)", "100,120,740,600"},
                                  {"NormPos", "50,60,690,540"},
                                  {"NormPos(1280x1024)", "50,60,690,540"}}));
}

TEST_F(FormPlacement, StoredRectanglesAreAppliedByTheFormsRules) {
    struct Case {
        const char* Name;
        const char* NormPos;
        TFormBorderStyle Border;
        TRect Expected;
    } cases[] = {
        {"three words: bottom from the form", "10, 20, 330", bsSizeable, Rect(10, 20, 330, 600)},
        {"a dialog keeps its size", "10,20,30,40", bsDialog, Rect(10, 20, 650, 500)},
        {"right not past left is not applied", "300,20,300,400", bsSizeable,
         Rect(100, 120, 740, 600)},
        {"a negative height is not applied", "10,10,500,-5000", bsSizeable,
         Rect(100, 120, 740, 600)},
        {"a zero height is not applied", "10,10,500,10", bsSizeable, Rect(100, 120, 740, 600)},
        {"nor is it for a dialog", "10,10,500,-5000", bsDialog, Rect(100, 120, 740, 600)},
        {"malformed words take the form's values", "x,20,y,z", bsSizeable, Rect(100, 20, 740, 600)},
        {"off every screen comes back", "5000,-3000,5640,-2520", bsSizeable,
         Rect(1280, 0, 1920, 480)},
        {"partly on screen stays", "1800,1000,2440,1480", bsSizeable, Rect(1800, 1000, 2440, 1480)},
        {"a size past the stored extents is ignored", "0,0,16000,16000", bsSizeable,
         Rect(100, 120, 740, 600)},
        {"int extremes are ignored", "-2147483648,0,2147483647,10", bsSizeable,
         Rect(100, 120, 740, 600)},
        {"a left past the extents is ignored", "40000,0,40100,100", bsDialog,
         Rect(100, 120, 740, 600)},
        {"the desktop's size is taken", "0,0,1920,1080", bsSizeable, Rect(0, 0, 1920, 1080)},
        {"a pixel wider than the desktop is ignored", "0,0,1921,100", bsSizeable,
         Rect(100, 120, 740, 600)},
    };
    for (const Case& c : cases) {
        Store({{"NormPos", c.NormPos}});
        TMainFormWindow* Form =
            MakeForm([&](TMainFormWindow& F, TFormStorage&) { F.SetBorderStyle(c.Border); });
        Form->Show();
        EXPECT_EQ(Form->BoundsRect(), c.Expected) << c.Name;
    }
}

TEST_F(FormPlacement, ADamagedRectangleForThisScreenSizeFallsBackToThePlainOne) {
    Store({{"NormPos(1920x1080)", "0,0,60000,60000"}, {"NormPos", "10,20,330,260"}});
    TMainFormWindow* Form = MakeForm();
    Form->Show();
    EXPECT_EQ(Form->BoundsRect(), Rect(10, 20, 330, 260));

    Store({{"NormPos(1920x1080)", "0,0,60000,60000"}, {"NormPos", "0,0,16000,16000"}});
    TMainFormWindow* Other = MakeForm();
    Other->Show();
    EXPECT_EQ(Other->BoundsRect(), Rect(100, 120, 740, 600));

    Store({{"NormPos(1920x1080)", "10,10,500,-5000"}, {"NormPos", "10,20,330,260"}});
    TMainFormWindow* Flat = MakeForm();
    Flat->Show();
    EXPECT_EQ(Flat->BoundsRect(), Rect(10, 20, 330, 260));
    EXPECT_TRUE(Errors.empty());
}

TEST_F(FormPlacement, WorkAreaRescueMovesAndShrinks) {
    const TRect WorkArea = Rect(0, 30, 1000, 700);
    EXPECT_EQ(BringOntoWorkArea(Rect(-900, 40, -100, 240), WorkArea), Rect(0, 40, 800, 240));
    EXPECT_EQ(BringOntoWorkArea(Rect(0, 800, 2000, 1700), WorkArea), Rect(0, 30, 1000, 700));
    EXPECT_EQ(BringOntoWorkArea(Rect(990, 690, 1500, 900), WorkArea), Rect(990, 690, 1500, 900));
    // A window on a second monitor (right of the first) stays where it is;
    // one off both monitors comes back.
    const std::vector<TRect> Monitors = {Rect(0, 0, 1000, 700), Rect(1000, 0, 2280, 1024)};
    EXPECT_EQ(BringOntoWorkArea(Rect(1200, 100, 1800, 500), WorkArea, Monitors),
              Rect(1200, 100, 1800, 500));
    EXPECT_EQ(BringOntoWorkArea(Rect(2400, 100, 3000, 500), WorkArea, Monitors),
              Rect(400, 100, 1000, 500));
}

TEST_F(FormPlacement, AStoredValueOfTheWrongTypeStopsTheRestoreAndLeavesTheStoreAlone) {
    Store({{"FormVersion", "0"}, {"ShowCmd", "3"}, {"MinMaxPos", "junk"}});
    {
        TRegistry Reg;
        ASSERT_TRUE(Reg.OpenKey(MainKey + "\\" + MainSection, true));
        const char Bytes[] = {1, 2, 3};
        Reg.WriteBinaryData("NormPos", Bytes, sizeof Bytes);
    }
    const TValues Before = StoredValues();
    TMainFormWindow* Form = MakeForm();
    Form->Show();
    EXPECT_EQ(Errors, std::vector<AnsiString>{"Invalid data type for 'NormPos'"});
    EXPECT_EQ(Form->BoundsRect(), Rect(100, 120, 740, 600));
    EXPECT_EQ(Form->WindowState(), wsNormal);
    // What could not be read is not saved over, neither at close nor when
    // the form goes.
    Form->SetBounds(300, 310, 640, 480);
    Form->Close();
    Forms.clear();
    EXPECT_EQ(StoredValues(), Before);
}

TEST_F(FormPlacement, ARefusedCloseSavesNothingAndDestructionSavesOnce) {
    TMainFormWindow* Form = MakeForm([](TMainFormWindow& F, TFormStorage&) {
        F.OnCloseQuery = [](TObject*, bool& CanClose) { CanClose = false; };
    });
    Form->Show();
    Form->Close();
    EXPECT_TRUE(Form->Visible());
    EXPECT_TRUE(StoredValues().empty());
    Forms.clear();
    const TValues Saved = StoredValues();
    ASSERT_FALSE(Saved.empty());
    EXPECT_EQ(Saved.back(), (std::pair<AnsiString, AnsiString>{"Visible", "1"}));
}

TEST_F(FormPlacement, ASaveAtDestructionStillFindsTheFormsDefaultSection) {
    MakeForm([](TMainFormWindow&, TFormStorage& S) { S.SetIniSection(""); })->Show();
    Forms.clear();
    EXPECT_TRUE(StoredValues("TCustomForm").empty());
    const TValues Saved = StoredValues("TMainFormWindow");
    ASSERT_FALSE(Saved.empty());
    EXPECT_EQ(Saved.back(), (std::pair<AnsiString, AnsiString>{"Visible", "1"}));
}

TEST_F(FormPlacement, TheRegistryRootChoosesWhereThePlacementLives) {
    TMainFormWindow* Form =
        MakeForm([](TMainFormWindow&, TFormStorage& S) { S.SetRegistryRoot(prLocalMachine); });
    Form->Show();
    Form->SetBounds(7, 8, 640, 480);
    Form->Close();
    EXPECT_TRUE(StoredValues().empty());
    TRegistry Reg(KEY_READ);
    Reg.SetRootKey(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(Reg.OpenKey(MainKey + "\\" + MainSection, false));
    EXPECT_EQ(Reg.ReadString("NormPos"), "7,8,647,488");
    TMainFormWindow* Next =
        MakeForm([](TMainFormWindow&, TFormStorage& S) { S.SetRegistryRoot(prLocalMachine); });
    Next->Show();
    EXPECT_EQ(Next->Left(), 7);
}

TEST_F(FormPlacement, ClosingThenDestroyingSavesOnceAndTheFormsHandlersStillRun) {
    std::vector<std::string> Calls;
    TMainFormWindow* Form = MakeForm([&](TMainFormWindow& F, TFormStorage& S) {
        // The placement is in place before the form's own handler runs.
        F.OnShow = [&Calls, &F](TObject*) {
            Calls.push_back("show at " + std::to_string(F.Left()));
        };
        F.OnDestroy = [&](TObject*) { Calls.push_back("destroy"); };
        S.OnSavePlacement = [&](TObject*) { Calls.push_back("saved"); };
    });
    Store({{"NormPos", "30,40,670,520"}});
    Form->Show();
    Form->Close();
    Forms.clear();
    EXPECT_EQ(Calls, (std::vector<std::string>{"show at 30", "saved", "destroy"}));
    EXPECT_EQ(StoredValues().back().second, "0");
}

TEST_F(FormPlacement, AnOlderStoredVersionIsIgnoredAndOverwritten) {
    Store({{"FormVersion", "1"}, {"NormPos", "10,20,410,320"}});
    TMainFormWindow* Form = MakeForm([](TMainFormWindow&, TFormStorage& S) { S.SetVersion(2); });
    Form->Show();
    EXPECT_EQ(Form->BoundsRect(), Rect(100, 120, 740, 600));
    Form->Close();
    EXPECT_EQ(StoredValues().front(), (std::pair<AnsiString, AnsiString>{"FormVersion", "2"}));
}

TEST_F(FormPlacement, AnInactiveComponentLeavesTheStoreAloneUnlessDrivenByHand) {
    Store({{"NormPos", "10,20,410,320"}});
    TMainFormWindow* Form = MakeForm([](TMainFormWindow&, TFormStorage& S) { S.SetActive(false); });
    Form->Show();
    EXPECT_EQ(Form->Left(), 100);
    Form->Close();
    EXPECT_EQ(StoredValues().size(), 1u);
    StorageOf(Form)->SaveFormPlacement();
    EXPECT_EQ(StoredValues().size(), 9u);
}

TEST_F(FormPlacement, MinimisedShowCommandOnTheMainFormMinimisesTheApplication) {
    Store({{"ShowCmd", "2"}});
    TMainFormWindow* Main = nullptr;
    Application->CreateForm(Main);
    std::unique_ptr<TMainFormWindow> Owned(Main);
    Application->RemoveComponent(Main);
    auto* Storage = new TFormStorage(Main);
    Storage->Loading();
    Storage->SetIniFileName(MainKey);
    Storage->SetIniSection(MainSection);
    Storage->SetUseRegistry(true);
    Storage->Loaded();
    Main->Show();
    EXPECT_FALSE(Application->Minimized());
    Application->ProcessMessages();
    EXPECT_TRUE(Application->Minimized());
    // The form itself keeps the normal state the application comes back to,
    // and a save meanwhile stores the application's minimised state.
    EXPECT_EQ(Main->WindowState(), wsNormal);
    Storage->SaveFormPlacement();
    EXPECT_EQ(ValueOrAbsent(StoredValues(), "ShowCmd"), "2");
    EXPECT_EQ(ValueOrAbsent(StoredValues(), "NormPos"), "0,0,320,240");
    Application->Restore();
    EXPECT_EQ(Main->WindowState(), wsNormal);
}

TEST_F(FormPlacement, FreeFunctionsUseTheFormsClassNameAsSection) {
    TMainFormWindow* Form = MakeForm([](TMainFormWindow&, TFormStorage& S) { S.SetActive(false); });
    Form->SetBounds(11, 22, 333, 444);
    fsapputils::SaveFormPlacement(Form, MainKey, true);
    EXPECT_EQ(StoredValues("TMainFormWindow").back(),
              (std::pair<AnsiString, AnsiString>{"NormPos", "11,22,344,466"}));
    TMainFormWindow* Other =
        MakeForm([](TMainFormWindow&, TFormStorage& S) { S.SetActive(false); });
    Other->Show();
    fsapputils::RestoreFormPlacement(Other, MainKey, true);
    EXPECT_EQ(Other->BoundsRect(), Rect(11, 22, 344, 466));
}

TEST_F(FormPlacement, ValuesLinksAndSectionErasingShareTheStorage) {
    TMainFormWindow* Form = MakeForm();
    TFormStorage* Storage = StorageOf(Form);
    Storage->WriteString("Note", "\"quoted\"");
    Storage->WriteInteger("Count", -3);
    EXPECT_EQ(Storage->ReadString("Note", ""), "\"quoted\"");
    EXPECT_EQ(Storage->ReadInteger("Count", 0), -3);

    TIniLink Link;
    std::vector<std::string> Told;
    Link.OnSave = [&](TObject*) {
        Told.push_back("save");
        EXPECT_NE(Link.GetIniObject(), nullptr);
    };
    Link.OnLoad = [&](TObject*) { Told.push_back("load"); };
    Link.SetStorage(Storage);
    EXPECT_EQ(Link.GetRootSection(), "Beacon Mill\\");
    Form->Show();
    Form->Close();
    EXPECT_EQ(Told, (std::vector<std::string>{"load", "save"}));
    Link.SetStorage(nullptr);
    EXPECT_EQ(Link.GetRootSection(), "");

    Store({{"A", "1"}}, "Beacon Mill.Grid");
    Store({{"A", "1"}}, "Beacon Millstone");
    Storage->EraseSections();
    TRegistry Reg(KEY_READ);
    ASSERT_TRUE(Reg.OpenKey(MainKey, false));
    TStringList Left;
    Reg.GetKeyNames(&Left);
    EXPECT_EQ(Left.CommaText(), "\"Beacon Millstone\"");
}

TEST_F(FormPlacement, MinMaxInfoAndPreventResizeAnswerTheSizeQuestion) {
    TMainFormWindow* Form = MakeForm([](TMainFormWindow&, TFormStorage& S) {
        S.MinMaxInfo()->SetMinTrackWidth(300);
        S.MinMaxInfo()->SetMaxTrackHeight(900);
    });
    Form->Show();
    TMinMaxInfo Info{};
    Info.ptMaxTrackSize = Point(5000, 5000);
    EXPECT_EQ(Form->Perform(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&Info)), 1);
    EXPECT_EQ(Info.ptMinTrackSize, Point(300, 0));
    EXPECT_EQ(Info.ptMaxTrackSize, Point(5000, 900));
    // The window holds to the answer without anyone asking by hand.
    Form->SetBounds(100, 120, 200, 1000);
    EXPECT_EQ(Form->BoundsRect(), Rect(100, 120, 400, 1020));
    Form->SetBounds(100, 120, 640, 480);

    TFormStorage* Storage = StorageOf(Form);
    Storage->SetPreventResize(true);
    EXPECT_FALSE(Form->BorderIcons().Contains(biMaximize));
    Form->Perform(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&Info));
    EXPECT_EQ(Info.ptMinTrackSize, Point(640, 480));
    EXPECT_EQ(Info.ptMaxTrackSize, Point(640, 480));
    // The operator cannot resize the window; code still can.
    Form->Widget()->resize(800, 600);
    EXPECT_EQ(Form->BoundsRect(), Rect(100, 120, 740, 600));
    Form->SetBounds(100, 120, 700, 500);
    EXPECT_EQ(Form->Width(), 700);
    Storage->SetPreventResize(false);
    EXPECT_TRUE(Form->BorderIcons().Contains(biMaximize));
    Form->Widget()->resize(800, 600);
    EXPECT_EQ(Form->BoundsRect(), Rect(100, 120, 900, 720));
}

} // namespace
