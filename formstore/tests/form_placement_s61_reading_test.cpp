// The form placement component on its form: when it restores and saves,
// the order against the form's own handlers, its version check, its
// storage calls, links, erasing, and the size limits it puts on the form.
#include "FormFixture.h"

#include "formstore/WindowHook.h"

#include "platform/gui/StdCtrls.h"
#include "platform/registry/Registry.h"

#include <QWidget>

#include <filesystem>
#include <set>

using namespace formstore;
using namespace formstore_test;

namespace {

AnsiString Text(const TRect& R) { return Format("%d,%d,%d,%d", R.Left, R.Top, R.Right, R.Bottom); }

class FormPlacementReading : public FormFixture {};

TEST_F(FormPlacementReading, RestoreRunsBeforeTheFormsShowAndSaveAfterItsCloseQuery) {
    Store({{"NormPos", "10,20,300,400"}});
    std::vector<AnsiString> Trace;
    TMainFormWindow* F = MakeForm([&](TMainFormWindow& Form, TFormStorage& Storage) {
        Form.OnShow = [&, Form = &Form](TObject*) {
            Trace.push_back("show at " + Text(Form->BoundsRect()));
        };
        Form.OnCloseQuery = [&](TObject*, bool&) {
            Trace.push_back("close query, stored " + ValueOf(StoredValues(), "FormVersion"));
        };
        Form.OnDestroy = [&](TObject*) { Trace.push_back("destroy"); };
        Storage.OnRestorePlacement = [&](TObject*) { Trace.push_back("restored"); };
        Storage.OnSavePlacement = [&](TObject*) { Trace.push_back("saved"); };
    });
    F->Show();
    F->Close();
    Forms.clear();
    EXPECT_EQ(Trace, (std::vector<AnsiString>{"restored", "show at 10,20,300,400",
                                              "close query, stored <missing>", "saved",
                                              "destroy"}));
}

TEST_F(FormPlacementReading, SavesOnceFromCloseOrOnceFromDestroyWithVisibleSet) {
    const struct {
        const char* Name;
        bool CloseFirst;
        bool ShowAgain;
        bool Refuse;
        int Saves;
        const char* Visible;
    } Cases[] = {
        {"close then destroy", true, false, false, 1, "0"},
        {"destroy without close", false, false, false, 1, "1"},
        {"close refused, then destroyed", true, false, true, 1, "1"},
        {"close, shown again, destroyed", true, true, false, 2, "1"},
    };
    int Index = 0;
    for (const auto& C : Cases) {
        const AnsiString Section = Format("Case %d", Index++);
        int Saves = 0;
        bool RefusedCloseSaved = false;
        TMainFormWindow* F = MakeForm([&](TMainFormWindow& Form, TFormStorage& Storage) {
            Storage.SetIniSection(Section);
            Storage.OnSavePlacement = [&](TObject*) { ++Saves; };
            if (C.Refuse) Form.OnCloseQuery = [](TObject*, bool& CanClose) { CanClose = false; };
        });
        F->Show();
        if (C.CloseFirst) F->Close();
        if (C.ShowAgain) F->Show();
        if (C.Refuse) RefusedCloseSaved = !StoredValues(Section).empty();
        Forms.clear();
        EXPECT_FALSE(RefusedCloseSaved) << C.Name;
        EXPECT_EQ(Saves, C.Saves) << C.Name;
        EXPECT_EQ(ValueOf(StoredValues(Section), "Visible"), C.Visible) << C.Name;
    }
}

TEST_F(FormPlacementReading, OlderStoredVersionIsIgnoredAndOverwrittenAtClose) {
    Store({{"FormVersion", "1"}, {"NormPos", "10,20,300,400"}});
    bool Restored = false;
    TMainFormWindow* F = MakeForm([&](TMainFormWindow&, TFormStorage& Storage) {
        Storage.SetVersion(2);
        Storage.OnRestorePlacement = [&](TObject*) { Restored = true; };
    });
    F->Show();
    EXPECT_FALSE(Restored);
    EXPECT_EQ(Text(F->BoundsRect()), "100,120,740,600");
    F->Close();
    EXPECT_EQ(ValueOf(StoredValues(), "FormVersion"), "2");
    EXPECT_EQ(ValueOf(StoredValues(), "NormPos"), "100,120,740,600");
}

TEST_F(FormPlacementReading, InactiveComponentNeitherRestoresNorSavesFromTheForm) {
    Store({{"NormPos", "10,20,300,400"}});
    TMainFormWindow* F = MakeForm([](TMainFormWindow&, TFormStorage& Storage) {
        Storage.SetActive(false);
        Storage.SetIniSection("Inactive");
    });
    Store({{"NormPos", "10,20,300,400"}}, "Inactive");
    F->Show();
    EXPECT_EQ(Text(F->BoundsRect()), "100,120,740,600");
    F->Close();
    EXPECT_TRUE(StoredValues("Inactive") == (TValues{{"NormPos", "10,20,300,400"}}));
    StorageOf(F)->SaveFormPlacement();
    EXPECT_EQ(ValueOf(StoredValues("Inactive"), "NormPos"), "100,120,740,600");
    Forms.clear();
    EXPECT_EQ(ValueOf(StoredValues("Inactive"), "Visible"), "0");
}

TEST_F(FormPlacementReading, ComponentMadeInCodeTakesOverNoHandlers) {
    Store({{"NormPos", "10,20,300,400"}});
    TMainFormWindow Form(nullptr);
    Form.SetBounds(100, 120, 640, 480);
    auto* Storage = new TFormStorage(&Form);
    Storage->SetIniFileName(MainKey);
    Storage->SetIniSection(MainSection);
    Storage->SetUseRegistry(true);
    Form.Show();
    EXPECT_EQ(Text(Form.BoundsRect()), "100,120,740,600");
    Storage->SaveFormPlacement();
    EXPECT_TRUE(StoredValues() == (TValues{{"NormPos", "10,20,300,400"}}))
        << "an active component saves only after a restore";
    Storage->RestoreFormPlacement();
    EXPECT_EQ(Text(Form.BoundsRect()), "10,20,300,400");
}

TEST_F(FormPlacementReading, FreeingTheComponentGivesTheFormItsHandlersBack) {
    int OwnShows = 0;
    TMainFormWindow* F = MakeForm([&](TMainFormWindow& Form, TFormStorage&) {
        Form.OnShow = [&](TObject*) { ++OwnShows; };
    });
    delete StorageOf(F);
    F->Show();
    EXPECT_EQ(OwnShows, 1);
    F->Close();
    EXPECT_TRUE(StoredValues().empty());
}

TEST_F(FormPlacementReading, ActiveControlIsKeptByNameWithItsOption) {
    auto Setup = [](TMainFormWindow& Form, TFormStorage& Storage) {
        Storage.SetOptions({fpState, fpPosition, fpActiveControl});
        for (const char* Name : {"First", "Second"}) {
            auto* Edit = new TEdit(&Form);
            Edit->SetName(Name);
            Edit->SetParent(&Form);
        }
    };
    TMainFormWindow* F = MakeForm(Setup);
    F->Show();
    F->SetActiveControl(dynamic_cast<TWinControl*>(F->FindComponent("Second")));
    F->Close();
    EXPECT_EQ(ValueOf(StoredValues(), "ActiveControl"), "Second");

    TMainFormWindow* G = MakeForm(Setup);
    G->Show();
    ASSERT_NE(G->ActiveControl(), nullptr);
    EXPECT_EQ(G->ActiveControl()->Name(), "Second");
}

TEST_F(FormPlacementReading, StoredActiveControlMustBeAWindowedControlThatCanTakeTheFocus) {
    const struct {
        const char* Stored;
        const char* Active;
    } Cases[] = {{"Disabled", "First"}, {"Plain", "First"}, {"Missing", "First"}, {"Second", "Second"}};
    int Index = 0;
    for (const auto& C : Cases) {
        const AnsiString Section = Format("Case %d", Index++);
        Store({{"ActiveControl", C.Stored}}, Section);
        TMainFormWindow* F = MakeForm([&](TMainFormWindow& Form, TFormStorage& Storage) {
            Storage.SetIniSection(Section);
            Storage.SetOptions({fpActiveControl});
            for (const char* Name : {"First", "Second", "Disabled"}) {
                auto* Edit = new TEdit(&Form);
                Edit->SetName(Name);
                Edit->SetParent(&Form);
                if (AnsiString(Name) == "Disabled") Edit->SetEnabled(false);
            }
            (new TComponent(&Form))->SetName("Plain");
        });
        F->Show();
        F->SetActiveControl(dynamic_cast<TWinControl*>(F->FindComponent("First")));
        StorageOf(F)->RestoreFormPlacement();
        ASSERT_NE(F->ActiveControl(), nullptr) << C.Stored;
        EXPECT_EQ(F->ActiveControl()->Name(), C.Active) << C.Stored;
    }
    EXPECT_TRUE(Errors.empty());
}

TEST_F(FormPlacementReading, SaveErrorIsShownAndTheFormStillCloses) {
    TMainFormWindow* F = MakeForm();
    F->Show();
    const AnsiString RegFile = File("HKEY_CURRENT_USER.reg");
    ASSERT_TRUE(std::filesystem::exists(RegFile));
    WriteFile(RegFile, "not a registry file\n");
    F->Close();
    EXPECT_FALSE(F->Visible());
    ASSERT_EQ(Errors.size(), 1u);
    EXPECT_NE(Errors[0].find("HKEY_CURRENT_USER.reg"), AnsiString::npos) << Errors[0];
    EXPECT_EQ(ReadFile(RegFile), "not a registry file\n");
    EXPECT_EQ(StorageOf(F)->GetIniFile(), nullptr);
}

TEST_F(FormPlacementReading, ValuesReadWhileTheStorageIsHeldOpenLeaveItOpen) {
    Store({{"Count", "5"}});
    TMainFormWindow* F = MakeForm();
    TFormStorage* S = StorageOf(F);
    S->IniNeeded(true);
    TObject* Open = S->GetIniFile();
    ASSERT_NE(Open, nullptr);
    EXPECT_EQ(S->ReadInteger("Count", 0), 5);
    EXPECT_EQ(S->ReadString("Count", ""), "5");
    S->IniNeeded(false);
    EXPECT_EQ(S->GetIniFile(), Open);
    S->IniFree();
    EXPECT_EQ(S->GetIniFile(), nullptr);
}

TEST_F(FormPlacementReading, OptionsChooseWhatIsReadAndWritten) {
    const struct {
        const char* Name;
        TPlacementOptions Options;
        const char* Bounds;
        TWindowState State;
        std::vector<AnsiString> Written;
    } Cases[] = {
        {"none", {}, "100,120,740,600", wsNormal, {"FormVersion"}},
        {"state", {fpState}, "100,120,740,600", wsMaximized,
         {"FormVersion", "Flags", "ShowCmd", "PixelsPerInch", "MinMaxPos(1920x1080)", "MinMaxPos",
          "NormPos(1920x1080)", "NormPos", "Visible"}},
        {"position", {fpPosition}, "10,20,300,400", wsNormal,
         {"FormVersion", "Flags", "ShowCmd", "PixelsPerInch", "MinMaxPos(1920x1080)", "MinMaxPos",
          "NormPos(1920x1080)", "NormPos", "Visible"}},
        {"active control", {fpActiveControl}, "100,120,740,600", wsNormal,
         {"FormVersion", "ActiveControl"}},
    };
    int Index = 0;
    for (const auto& C : Cases) {
        const AnsiString Read = Format("Read %d", Index);
        const AnsiString Written = Format("Written %d", Index++);
        Store({{"NormPos", "10,20,300,400"}, {"ShowCmd", "3"}}, Read);
        TMainFormWindow* F = MakeForm([&](TMainFormWindow& Form, TFormStorage& Storage) {
            Storage.SetIniSection(Read);
            Storage.SetOptions(C.Options);
            auto* Edit = new TEdit(&Form);
            Edit->SetName("Edit1");
            Edit->SetParent(&Form);
        });
        F->Show();
        EXPECT_EQ(F->WindowState(), C.State) << C.Name;
        if (C.State == wsNormal) EXPECT_EQ(Text(F->BoundsRect()), C.Bounds) << C.Name;
        StorageOf(F)->SetIniSection(Written);
        F->Close();
        std::vector<AnsiString> Names;
        for (const auto& [N, V] : StoredValues(Written)) Names.push_back(N);
        EXPECT_EQ(Names, C.Written) << C.Name;
    }
}

TEST_F(FormPlacementReading, OptionsDefaultToStateAndPositionOnlyOnAForm) {
    TMainFormWindow Form(nullptr);
    TFormPlacement OnForm(&Form);
    TFormPlacement Loose(nullptr);
    TComponent Holder(nullptr);
    TFormPlacement OnComponent(&Holder);
    TCustomForm Custom(nullptr);
    TFormPlacement OnCustomForm(&Custom);
    EXPECT_TRUE(OnCustomForm.Options().Empty());
    EXPECT_TRUE(OnForm.Options() == (TPlacementOptions{fpState, fpPosition}));
    EXPECT_TRUE(Loose.Options().Empty());
    EXPECT_TRUE(OnComponent.Options().Empty());
    EXPECT_TRUE(OnForm.Active());
    EXPECT_FALSE(OnForm.UseRegistry());
    EXPECT_EQ(OnForm.RegistryRoot(), prCurrentUser);
}

TEST_F(FormPlacementReading, PlainValuesGoToTheSectionAndTheStorageIsClosedAgain) {
    TMainFormWindow* F = MakeForm();
    TFormStorage* S = StorageOf(F);
    S->WriteString("Name", "Value");
    S->WriteInteger("Count", -42);
    EXPECT_EQ(S->GetIniFile(), nullptr);
    EXPECT_TRUE(StoredValues() == (TValues{{"Name", "Value"}, {"Count", "-42"}}));
    EXPECT_EQ(S->ReadString("Name", "x"), "Value");
    EXPECT_EQ(S->ReadString("Missing", "x"), "x");
    EXPECT_EQ(S->ReadInteger("Count", 0), -42);
    EXPECT_EQ(S->ReadInteger("Name", 7), 7);
    EXPECT_EQ(S->GetIniFile(), nullptr);
}

TEST_F(FormPlacementReading, LinksAreToldInOrderWhileTheStorageIsOpen) {
    std::vector<AnsiString> Trace;
    TIniLink A, B;
    auto Watch = [&](TIniLink& Link, const char* Name) {
        Link.OnSave = [&, Name, L = &Link](TObject* Sender) {
            Trace.push_back(AnsiString(Name) + " save " + (L->GetIniObject() ? "open" : "closed") +
                            " " + L->GetRootSection() + (Sender == L ? "" : " wrong sender"));
        };
        Link.OnLoad = [&, Name, L = &Link](TObject*) {
            Trace.push_back(AnsiString(Name) + " load " + (L->GetIniObject() ? "open" : "closed"));
        };
    };
    Watch(A, "A");
    Watch(B, "B");
    TMainFormWindow* F = MakeForm();
    TFormStorage* S = StorageOf(F);
    A.SetStorage(S);
    B.SetStorage(S);
    F->Show();
    F->Close();
    EXPECT_EQ(Trace, (std::vector<AnsiString>{"A load open", "B load open",
                                              "A save open Beacon Mill\\", "B save open Beacon Mill\\"}));
    EXPECT_EQ(A.GetIniObject(), nullptr);

    Trace.clear();
    A.SetStorage(nullptr);
    S->SetIniSection("");
    S->SaveFormPlacement();
    EXPECT_EQ(Trace, (std::vector<AnsiString>{"B save open "}));
    EXPECT_EQ(A.GetRootSection(), "");
}

TEST_F(FormPlacementReading, ComponentOwnedByANonFormKeepsOnlyItsVersionAndLinks) {
    TComponent Holder(nullptr);
    Holder.SetName("Holder");
    TFormPlacement Placement(&Holder);
    Placement.SetUseRegistry(true);
    Placement.SetIniFileName(MainKey);
    EXPECT_EQ(Placement.GetIniSection(), "Holder");
    std::vector<AnsiString> Trace;
    TIniLink Link;
    Link.OnSave = [&](TObject*) { Trace.push_back("save"); };
    Link.OnLoad = [&](TObject*) { Trace.push_back("load"); };
    Link.SetStorage(&Placement);
    Placement.RestoreFormPlacement();
    Placement.SaveFormPlacement();
    EXPECT_EQ(Trace, (std::vector<AnsiString>{"load", "save"}));
    EXPECT_TRUE(StoredValues("Holder") == (TValues{{"FormVersion", "0"}}));
}

TEST_F(FormPlacementReading, LinkOutlivingTheComponentIsLeftUnlinked) {
    TIniLink Link;
    TMainFormWindow* F = MakeForm();
    Link.SetStorage(StorageOf(F));
    EXPECT_EQ(Link.GetRootSection(), "Beacon Mill\\");
    Forms.clear();
    EXPECT_EQ(Link.Storage(), nullptr);
    EXPECT_EQ(Link.GetIniObject(), nullptr);
    EXPECT_EQ(Link.GetRootSection(), "");
}

TEST_F(FormPlacementReading, EraseSectionsInTheRegistryMatchesWithCase) {
    for (const char* Section : {"Beacon Mill", "Beacon Mill.Grid", "Beacon Mill\\Sub", "Beacon Mill2",
                                "beacon mill.grid2"})
        Store({{"A", "1"}}, Section);
    TMainFormWindow* F = MakeForm();
    StorageOf(F)->EraseSections();
    TRegistry Reg(KEY_READ);
    ASSERT_TRUE(Reg.OpenKey(MainKey, false));
    TStringList Keys;
    Reg.GetKeyNames(&Keys);
    std::set<AnsiString> Left;
    for (int I = 0; I < Keys.Count(); ++I) Left.insert(Keys[I]);
    EXPECT_EQ(Left, (std::set<AnsiString>{"Beacon Mill2", "beacon mill.grid2"}));
}

TEST_F(FormPlacementReading, LinkFreedBeforeTheComponentIsForgotten) {
    TMainFormWindow* F = MakeForm();
    TFormStorage* S = StorageOf(F);
    int Saves = 0;
    {
        TIniLink Gone;
        Gone.OnSave = [&](TObject*) { ++Saves; };
        Gone.SetStorage(S);
    }
    F->Show();
    F->Close();
    Forms.clear();
    EXPECT_EQ(Saves, 0);
}

TEST_F(FormPlacementReading, EraseSectionsRemovesTheSectionAndItsChildrenOnly) {
    const AnsiString Name = File("erase.ini");
    WriteFile(Name, "[Beacon Mill]\nA=1\n[Beacon Mill.Grid]\nA=1\n[Beacon Mill\\Sub]\nA=1\n"
                    "[Beacon Mill2]\nA=1\n[Other]\nA=1\n[beacon mill.grid2]\nA=1\n");
    TMainFormWindow* F = MakeForm([&](TMainFormWindow&, TFormStorage& Storage) {
        Storage.SetUseRegistry(false);
        Storage.SetIniFileName(Name);
    });
    TFormStorage* S = StorageOf(F);
    S->IniNeeded(false);
    S->EraseSections();
    S->IniFree();
    EXPECT_NE(ReadFile(Name).find("[Beacon Mill.Grid]"), AnsiString::npos);
    S->EraseSections();
    const AnsiString After = ReadFile(Name);
    for (const char* Gone : {"[Beacon Mill]", "[Beacon Mill.Grid]", "[Beacon Mill\\Sub]"})
        EXPECT_EQ(After.find(Gone), AnsiString::npos) << Gone << " in\n" << After;
    for (const char* Kept : {"[Beacon Mill2]", "[Other]", "[beacon mill.grid2]"})
        EXPECT_NE(After.find(Kept), AnsiString::npos) << Kept << " in\n" << After;
    EXPECT_EQ(S->GetIniFile(), nullptr);
}

TEST_F(FormPlacementReading, RegistryRootChoosesTheRootAndReadingElsewhereCreatesNothing) {
    TMainFormWindow* F = MakeForm([](TMainFormWindow&, TFormStorage& Storage) {
        Storage.SetRegistryRoot(prLocalMachine);
    });
    F->Show();
    {
        TRegistry Machine(KEY_READ);
        Machine.SetRootKey(HKEY_LOCAL_MACHINE);
        EXPECT_FALSE(Machine.OpenKey(MainKey, false));
    }
    F->Close();
    TRegistry Machine(KEY_READ);
    Machine.SetRootKey(HKEY_LOCAL_MACHINE);
    EXPECT_TRUE(Machine.OpenKey(MainKey + "\\" + MainSection, false));
    EXPECT_EQ(Machine.ReadString("NormPos"), "100,120,740,600");
    EXPECT_TRUE(StoredValues().empty());

    TMainFormWindow* G = MakeForm([](TMainFormWindow& Form, TFormStorage& Storage) {
        Form.SetBounds(0, 0, 100, 100);
        Storage.SetRegistryRoot(prLocalMachine);
    });
    G->Show();
    EXPECT_EQ(Text(G->BoundsRect()), "100,120,740,600");
}

TEST_F(FormPlacementReading, MinMaxInfoHoldsTheFormsSize) {
    TMainFormWindow* F = MakeForm([](TMainFormWindow&, TFormStorage& Storage) {
        Storage.MinMaxInfo()->SetMinTrackWidth(500);
        Storage.MinMaxInfo()->SetMinTrackHeight(400);
        Storage.MinMaxInfo()->SetMaxTrackWidth(900);
    });
    F->Show();
    F->SetBounds(100, 120, 200, 200);
    EXPECT_EQ(F->Width(), 500);
    EXPECT_EQ(F->Height(), 400);
    F->SetBounds(100, 120, 1200, 450);
    EXPECT_EQ(F->Width(), 900);
    EXPECT_EQ(F->Height(), 450);

    TMinMaxInfo Info{};
    Info.ptMaxSize = Point(11, 12);
    F->Perform(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&Info));
    EXPECT_EQ(Info.ptMinTrackSize.X, 500);
    EXPECT_EQ(Info.ptMaxTrackSize.X, 900);
    EXPECT_EQ(Info.ptMaxSize.X, 11);

    // Back to all zero: the hook is gone and the form may be sized freely.
    StorageOf(F)->MinMaxInfo()->SetMinTrackWidth(0);
    StorageOf(F)->MinMaxInfo()->SetMinTrackHeight(0);
    StorageOf(F)->MinMaxInfo()->SetMaxTrackWidth(0);
    F->SetBounds(100, 120, 200, 200);
    EXPECT_EQ(F->Width(), 200);

    TWinMinMaxInfo Given(nullptr);
    Given.SetMinTrackWidth(450);
    StorageOf(F)->SetMinMaxInfo(&Given);
    EXPECT_EQ(StorageOf(F)->MinMaxInfo()->MinTrackWidth(), 450);
    EXPECT_EQ(F->Width(), 450);

    TPersistent Other;
    EXPECT_THROW(StorageOf(F)->MinMaxInfo()->Assign(&Other), Exception);
}

TEST_F(FormPlacementReading, PreventResizeFixesTheSizeDropsBordersAndTheMaximiseIcon) {
    TMainFormWindow* F = MakeForm([](TMainFormWindow&, TFormStorage& Storage) {
        Storage.SetPreventResize(true);
    });
    F->Show();
    TFormStorage* S = StorageOf(F);
    EXPECT_FALSE(F->BorderIcons().Contains(biMaximize));
    // The user drags a border: the window manager asks the window to resize.
    F->Widget()->resize(300, 200);
    Application->ProcessMessages();
    EXPECT_EQ(F->Width(), 640);
    EXPECT_EQ(F->Height(), 480);

    // A later hook reports a sizing border; the component's turns it down.
    TFsWindowHook Border(nullptr);
    Border.AfterMessage = [](TObject*, TMessage& Msg, bool&) {
        if (Msg.Msg == WM_NCHITTEST) Msg.Result = HTLEFT + static_cast<int>(Msg.WParam);
    };
    Border.SetWinControl(F);
    for (int Code = 0; Code < 8; ++Code)
        EXPECT_EQ(F->Perform(WM_NCHITTEST, Code, 0), HTNOWHERE) << Code;
    Border.SetWinControl(nullptr);

    S->SetPreventResize(false);
    EXPECT_TRUE(F->BorderIcons().Contains(biMaximize));
    F->Widget()->resize(300, 200);
    Application->ProcessMessages();
    EXPECT_EQ(F->Width(), 300);

    TMainFormWindow* G = MakeForm([](TMainFormWindow& Form, TFormStorage& Storage) {
        Form.SetBorderIcons({biSystemMenu, biMinimize});
        Storage.SetPreventResize(true);
        Storage.SetIniSection("Other");
    });
    StorageOf(G)->SetPreventResize(false);
    EXPECT_FALSE(G->BorderIcons().Contains(biMaximize));

    // Freeing the component lets the form be sized again.
    StorageOf(G)->SetPreventResize(true);
    G->Show();
    delete StorageOf(G);
    Application->ProcessMessages();
    G->Widget()->resize(300, 200);
    Application->ProcessMessages();
    EXPECT_EQ(G->Width(), 300);
}

} // namespace
