// The form placement component on a real form: shown, closed and freed
// the way a program does it, with what it leaves in the registry read back,
// and the messages of a resize-locked or size-limited form sent through the
// form's window.
#include "FormFixture.h"

#include "formstore/AppStorage.h"
#include "formstore/FormPlacement.h"
#include "formstore/WindowHook.h"

#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"
#include "platform/registry/IniFiles.h"
#include "platform/registry/RegIniFile.h"
#include "platform/registry/Registry.h"
#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <QWidget>

#include <memory>
#include <string>
#include <vector>

namespace {

using namespace formstore_test;
using formstore::TFormPlacement;
using formstore::TIniLink;
using formstore::fpActiveControl;
using formstore::fpPosition;
using formstore::fpState;

class FormPlacementStrictReading : public FormFixture {
protected:
    // A form whose placement component is loaded as from its resource and
    // keeps the main window's registry section.
    TMainFormWindow* MakePlaced(const std::function<void(TMainFormWindow&, TFormPlacement&)>& Setup = {}) {
        auto Form = std::make_unique<TMainFormWindow>(nullptr);
        Form->SetBounds(100, 120, 640, 480);
        auto* P = new TFormPlacement(Form.get());
        P->SetName("Placement");
        P->Loading();
        P->SetIniFileName(MainKey);
        P->SetIniSection(MainSection);
        P->SetUseRegistry(true);
        if (Setup) Setup(*Form, *P);
        P->Loaded();
        Forms.push_back(std::move(Form));
        return Forms.back().get();
    }
    static TFormPlacement* PlacementOf(TCustomForm* Form) {
        return dynamic_cast<TFormPlacement*>(Form->FindComponent("Placement"));
    }
    void Free(TMainFormWindow* Form) {
        for (auto It = Forms.begin(); It != Forms.end(); ++It)
            if (It->get() == Form) {
                Forms.erase(It);
                return;
            }
    }
    static AnsiString Stored(const AnsiString& Name) {
        for (const auto& [N, V] : StoredValues())
            if (N == Name) return V;
        return "<none>";
    }
    static std::vector<AnsiString> StoredNames() {
        std::vector<AnsiString> Names;
        for (const auto& Value : StoredValues()) Names.push_back(Value.first);
        return Names;
    }
};

TEST_F(FormPlacementStrictReading, DefaultsDependOnTheOwner) {
    TForm Form(nullptr);
    TFormPlacement OnForm(&Form);
    EXPECT_TRUE(OnForm.Active());
    EXPECT_EQ(OnForm.Options(), (formstore::TPlacementOptions{fpState, fpPosition}));
    EXPECT_FALSE(OnForm.UseRegistry());
    EXPECT_EQ(OnForm.RegistryRoot(), formstore::prCurrentUser);
    EXPECT_EQ(OnForm.Version(), 0);
    EXPECT_FALSE(OnForm.PreventResize());
    EXPECT_TRUE(OnForm.MinMaxInfo()->DefaultMinMaxInfo());
    EXPECT_EQ(OnForm.GetIniSection(), "TForm");
    EXPECT_EQ(OnForm.GetIniFile(), nullptr);
    TComponent Owner(nullptr);
    TFormPlacement OnOther(&Owner);
    EXPECT_TRUE(OnOther.Options().Empty());
}

TEST_F(FormPlacementStrictReading, ShowRestoresBeforeTheFormsOwnHandler) {
    Store({{"FormVersion", "0"}, {"Flags", "0"}, {"ShowCmd", "1"}, {"PixelsPerInch", "96"},
           {"MinMaxPos(1920x1080)", "-1,-1,-1,-1"},
           {"NormPos(1920x1080)", "40,50,440,350"}});
    std::vector<std::string> Calls;
    auto* Form = MakePlaced([&](TMainFormWindow& F, TFormPlacement& P) {
        F.OnShow = [&](TObject*) {
            Calls.push_back("own show " + std::to_string(F.Left()) + "," + std::to_string(F.Width()));
        };
        P.OnRestorePlacement = [&](TObject* Sender) {
            EXPECT_EQ(Sender, &P);
            EXPECT_NE(P.GetIniFile(), nullptr) << "told while the storage is open";
            Calls.push_back("restored");
        };
    });
    Form->Show();
    EXPECT_EQ(Calls, (std::vector<std::string>{"restored", "own show 40,400"}));
    EXPECT_TRUE(Errors.empty());
}

TEST_F(FormPlacementStrictReading, CloseAndDestroySaveOnceAndSayWhetherVisible) {
    struct TCase {
        const char* Name;
        bool Close;
        bool CloseAllowed;
        const char* Visible;
        int Saves;
        bool ShowAgain = false;
    };
    const TCase Cases[] = {
        {"close then free", true, true, "0", 1},
        {"free without close", false, true, "1", 1},
        {"close refused, then free", true, false, "1", 1},
        {"close, show again, free", true, true, "1", 2, true},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        TRegistry().DeleteKey(MainKey);
        int Saves = 0;
        bool SavedAtClose = false;
        auto* Form = MakePlaced([&](TMainFormWindow& F, TFormPlacement& P) {
            F.OnCloseQuery = [&C](TObject*, bool& CanClose) { CanClose = C.CloseAllowed; };
            P.OnSavePlacement = [&](TObject*) {
                EXPECT_NE(P.GetIniFile(), nullptr) << "told while the storage is open";
                ++Saves;
            };
        });
        Form->Show();
        if (C.Close) {
            Form->Close();
            SavedAtClose = !StoredValues().empty();
            EXPECT_EQ(SavedAtClose, C.CloseAllowed);
        }
        if (C.ShowAgain) Form->Show();
        Free(Form);
        EXPECT_EQ(Saves, C.Saves);
        EXPECT_EQ(Stored("Visible"), C.Visible);
        EXPECT_EQ(StoredNames().front(), "FormVersion");
    }
}

TEST_F(FormPlacementStrictReading, AnOlderStoredVersionIsNotRestoredButOverwritten) {
    Store({{"FormVersion", "1"}, {"Flags", "0"}, {"ShowCmd", "1"}, {"PixelsPerInch", "96"},
           {"MinMaxPos(1920x1080)", "-1,-1,-1,-1"},
           {"NormPos(1920x1080)", "40,50,440,350"}});
    int Restores = 0;
    auto* Form = MakePlaced([&](TMainFormWindow&, TFormPlacement& P) {
        P.SetVersion(2);
        P.OnRestorePlacement = [&](TObject*) { ++Restores; };
    });
    Form->Show();
    EXPECT_EQ(Restores, 0);
    EXPECT_EQ(Form->Left(), 100);
    Form->Close();
    EXPECT_EQ(Stored("FormVersion"), "2");
    EXPECT_EQ(Stored("NormPos(1920x1080)"), "100,120,740,600");
}

TEST_F(FormPlacementStrictReading, AnInactiveComponentLeavesTheFormAlone) {
    Store({{"FormVersion", "0"}, {"Flags", "0"}, {"ShowCmd", "1"}, {"PixelsPerInch", "96"},
           {"MinMaxPos(1920x1080)", "-1,-1,-1,-1"},
           {"NormPos(1920x1080)", "40,50,440,350"}});
    auto* Form = MakePlaced([](TMainFormWindow&, TFormPlacement& P) { P.SetActive(false); });
    Form->Show();
    EXPECT_EQ(Form->Left(), 100);
    Form->SetBounds(10, 20, 300, 200);
    Form->Close();
    EXPECT_EQ(Stored("NormPos(1920x1080)"), "40,50,440,350");
    PlacementOf(Form)->SaveFormPlacement();
    EXPECT_EQ(Stored("NormPos(1920x1080)"), "10,20,310,220");
}

TEST_F(FormPlacementStrictReading, WithoutACompletedRestoreAnActiveComponentDoesNotSave) {
    Free(MakePlaced()); // never shown, so never restored
    EXPECT_TRUE(StoredValues().empty());
    auto* Form = MakePlaced();
    PlacementOf(Form)->SaveFormPlacement();
    EXPECT_TRUE(StoredValues().empty());
    PlacementOf(Form)->RestoreFormPlacement();
    PlacementOf(Form)->SaveFormPlacement();
    EXPECT_EQ(Stored("FormVersion"), "0");
}

TEST_F(FormPlacementStrictReading, TheActiveControlIsKeptWhenAsked) {
    auto Build = [this] {
        return MakePlaced([](TMainFormWindow& F, TFormPlacement& P) {
            P.SetOptions({fpState, fpPosition, fpActiveControl});
            for (const char* Name : {"First", "Second"}) {
                auto* E = new TEdit(&F);
                E->SetName(Name);
                E->SetParent(&F);
            }
        });
    };
    auto* Form = Build();
    Form->Show();
    Form->SetActiveControl(dynamic_cast<TWinControl*>(Form->FindComponent("Second")));
    Form->Close();
    EXPECT_EQ(Stored("ActiveControl"), "Second");
    EXPECT_EQ(StoredNames().back(), "ActiveControl");
    Free(Form);
    auto* Again = Build();
    Again->Show();
    EXPECT_EQ(Again->ActiveControl(), Again->FindComponent("Second"));
    Free(Again);
    // A control that cannot take the focus is not made active.
    auto* Disabled = Build();
    dynamic_cast<TWinControl*>(Disabled->FindComponent("Second"))->SetEnabled(false);
    Disabled->Show();
    EXPECT_NE(Disabled->ActiveControl(), Disabled->FindComponent("Second"));
}

TEST_F(FormPlacementStrictReading, PlainValuesOpenAndCloseTheStorageAroundEachCall) {
    auto* Form = MakePlaced();
    auto* P = PlacementOf(Form);
    P->WriteString("Colour", "blue");
    P->WriteInteger("Count", -12);
    EXPECT_EQ(P->GetIniFile(), nullptr);
    EXPECT_EQ(P->ReadString("Colour", "none"), "blue");
    EXPECT_EQ(P->ReadInteger("Count", 0), -12);
    EXPECT_EQ(P->ReadInteger("Missing", 7), 7);
    EXPECT_EQ(P->GetIniFile(), nullptr);
    EXPECT_EQ(Stored("Count"), "-12");
}

TEST_F(FormPlacementStrictReading, EraseSectionsTakesTheSectionAndItsChildren) {
    for (const char* S : {"Beacon Mill", "Beacon Mill.Grid", "Beacon Mill\\Cols", "Beacon Mills",
                          "BEACON MILL.X", "Other"})
        Store({{"X", "1"}}, S);
    auto* P = PlacementOf(MakePlaced());
    P->IniNeeded(false);
    P->EraseSections(); // nothing while the storage is open
    P->IniFree();
    EXPECT_FALSE(StoredValues("Beacon Mill").empty());
    P->EraseSections();
    EXPECT_EQ(P->GetIniFile(), nullptr);
    for (const char* S : {"Beacon Mill", "Beacon Mill.Grid", "Beacon Mill\\Cols"})
        EXPECT_TRUE(StoredValues(S).empty()) << S;
    for (const char* S : {"Beacon Mills", "BEACON MILL.X", "Other"}) EXPECT_FALSE(StoredValues(S).empty()) << S;
}

TEST_F(FormPlacementStrictReading, LinksAreToldInOrderWithTheStorageOpen) {
    auto* Form = MakePlaced();
    auto* P = PlacementOf(Form);
    std::vector<std::string> Calls;
    TIniLink A, B;
    for (auto [Link, Name] : {std::pair{&A, "A"}, std::pair{&B, "B"}}) {
        Link->OnSave = [&Calls, Link = Link, Name = std::string(Name)](TObject* Sender) {
            EXPECT_EQ(Sender, Link);
            EXPECT_NE(Link->GetIniObject(), nullptr);
            Calls.push_back(Name + " save");
        };
        Link->OnLoad = [&Calls, Name = std::string(Name)](TObject*) {
            Calls.push_back(Name + " load");
        };
        Link->SetStorage(P);
    }
    EXPECT_EQ(A.GetRootSection(), "Beacon Mill\\");
    EXPECT_EQ(A.GetIniObject(), nullptr);
    Form->Show();
    Form->Close();
    EXPECT_EQ(Calls, (std::vector<std::string>{"A load", "B load", "A save", "B save"}));
    B.SetStorage(nullptr);
    EXPECT_EQ(B.GetRootSection(), "");
    Calls.clear();
    P->SaveFormPlacement();
    EXPECT_EQ(Calls, (std::vector<std::string>{"A save"}));
}

TEST_F(FormPlacementStrictReading, PreventResizeLocksTheBordersAndTheMaximiseIcon) {
    struct TCase {
        const char* Name;
        TBorderIcons Icons;
        bool IconBack;
    };
    const TCase Cases[] = {
        {"with the icon", {biSystemMenu, biMinimize, biMaximize}, true},
        {"without it", {biSystemMenu, biMinimize}, false},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        auto* Form = MakePlaced([&](TMainFormWindow& F, TFormPlacement&) { F.SetBorderIcons(C.Icons); });
        auto* P = PlacementOf(Form);
        Form->Show();
        P->SetPreventResize(true);
        EXPECT_FALSE(Form->BorderIcons().Contains(biMaximize));
        // The window itself holds to its size: the borders size nothing.
        EXPECT_EQ(Form->Widget()->minimumSize(), Form->Widget()->maximumSize());
        EXPECT_EQ(Form->Widget()->maximumSize(), Form->Widget()->size());
        TMinMaxInfo Info{};
        EXPECT_EQ(Form->Perform(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&Info)), 1);
        EXPECT_EQ(Info.ptMinTrackSize.X, 640);
        EXPECT_EQ(Info.ptMaxTrackSize.Y, 480);
        P->SetPreventResize(false);
        EXPECT_EQ(Form->BorderIcons().Contains(biMaximize), C.IconBack);
        Free(Form);
    }
}

TEST_F(FormPlacementStrictReading, SizingBorderHitsAreTurnedAway) {
    auto* Form = MakePlaced();
    Form->Show();
    PlacementOf(Form)->SetPreventResize(true);
    for (int Code : {1, 9, 10, 13, 17, 18}) {
        // A hook attached later answers first; the placement's answer
        // comes after it.
        formstore::TFsWindowHook Later(nullptr);
        Later.AfterMessage = [Code](TObject*, TMessage& M, bool&) {
            if (M.Msg == WM_NCHITTEST) M.Result = Code;
        };
        Later.SetWinControl(Form);
        EXPECT_EQ(Form->Perform(WM_NCHITTEST), Code >= 10 && Code <= 17 ? 0 : Code) << Code;
    }
}

TEST_F(FormPlacementStrictReading, MinMaxInfoFillsTheSizesThatAreSet) {
    auto* Form = MakePlaced();
    Form->Show();
    auto* P = PlacementOf(Form);
    TMinMaxInfo Info{};
    Info.ptMaxPosition = {7, 8};
    EXPECT_EQ(Form->Perform(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&Info)), 0)
        << "no hook while nothing is set";
    P->MinMaxInfo()->SetMinTrackWidth(300);
    P->MinMaxInfo()->SetMaxTrackHeight(900);
    Info = {};
    Info.ptMinTrackSize = {1, 2};
    Info.ptMaxTrackSize = {3, 4};
    EXPECT_EQ(Form->Perform(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&Info)), 1);
    EXPECT_EQ(Info.ptMinTrackSize.X, 300);
    EXPECT_EQ(Info.ptMinTrackSize.Y, 2);
    EXPECT_EQ(Info.ptMaxTrackSize.X, 3);
    EXPECT_EQ(Info.ptMaxTrackSize.Y, 900);
    EXPECT_EQ(Form->Widget()->minimumWidth(), 300);
    // Back to all zero: the hook goes again.
    P->MinMaxInfo()->SetMinTrackWidth(0);
    P->MinMaxInfo()->SetMaxTrackHeight(0);
    Info = {};
    EXPECT_EQ(Form->Perform(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&Info)), 0);
    // Assigning copies the whole record; another class is refused.
    TForm Other(nullptr);
    TFormPlacement Source(&Other);
    Source.MinMaxInfo()->SetMaxPosLeft(5);
    P->SetMinMaxInfo(Source.MinMaxInfo());
    EXPECT_EQ(P->MinMaxInfo()->MaxPosLeft(), 5);
    TIniLink NotInfo;
    EXPECT_THROW(P->MinMaxInfo()->Assign(&NotInfo), Exception);
    EXPECT_EQ(P->MinMaxInfo()->MaxPosLeft(), 5);
}

TEST_F(FormPlacementStrictReading, ARestoreErrorIsShownAndTheShowGoesOn) {
    {
        // A value of the wrong type cannot be read as text.
        TRegistry Reg;
        ASSERT_TRUE(Reg.OpenKey(MainKey + "\\" + MainSection, true));
        Reg.WriteInteger("FormVersion", 3);
    }
    bool OwnShow = false;
    auto* Form = MakePlaced([&](TMainFormWindow& F, TFormPlacement&) {
        F.OnShow = [&](TObject*) { OwnShow = true; };
    });
    Form->Show();
    EXPECT_TRUE(OwnShow);
    ASSERT_EQ(Errors.size(), 1u);
    EXPECT_NE(Errors[0].find("FormVersion"), std::string::npos) << Errors[0];
    EXPECT_EQ(PlacementOf(Form)->GetIniFile(), nullptr);
    // The failed restore never completed, so the close saves nothing.
    Form->SetBounds(10, 20, 300, 200);
    Form->Close();
    EXPECT_EQ(Stored("NormPos(1920x1080)"), "<none>");
}

TEST_F(FormPlacementStrictReading, RemovingTheComponentGivesTheFormItsHandlersBack) {
    int OwnShows = 0, OwnDestroys = 0;
    auto* Form = MakePlaced([&](TMainFormWindow& F, TFormPlacement&) {
        F.OnShow = [&](TObject*) { ++OwnShows; };
        F.OnDestroy = [&](TObject*) { ++OwnDestroys; };
    });
    delete PlacementOf(Form);
    Form->Show();
    EXPECT_EQ(OwnShows, 1);
    Free(Form);
    EXPECT_EQ(OwnDestroys, 1);
    EXPECT_TRUE(StoredValues().empty());
}

TEST_F(FormPlacementStrictReading, TheStorageKindAndRootChooseWhereValuesGo) {
    struct TCase {
        const char* Name;
        bool Registry;
        formstore::TPlacementRegRoot Root;
        HKEY Key;
    };
    const TCase Cases[] = {
        {"current user", true, formstore::prCurrentUser, HKEY_CURRENT_USER},
        {"local machine", true, formstore::prLocalMachine, HKEY_LOCAL_MACHINE},
        {"ini file", false, formstore::prCurrentUser, HKEY_CURRENT_USER},
    };
    const AnsiString IniName = File("place.ini");
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        auto* Form = MakePlaced([&](TMainFormWindow&, TFormPlacement& P) {
            P.SetUseRegistry(C.Registry);
            P.SetRegistryRoot(C.Root);
            if (!C.Registry) P.SetIniFileName(IniName);
        });
        Form->Show();
        Form->Close();
        if (C.Registry) {
            TRegistry Reg(KEY_READ);
            Reg.SetRootKey(C.Key);
            ASSERT_TRUE(Reg.OpenKey(MainKey + "\\" + MainSection, false));
            EXPECT_EQ(Reg.ReadString("NormPos(1920x1080)"), "100,120,740,600");
            // The placement's maximised position is that of a sizeable border.
            const AnsiString MinMax = Reg.ReadString("MinMaxPos(1920x1080)");
            EXPECT_EQ(MinMax.substr(MinMax.size() - FrameMaxPos().size()), FrameMaxPos()) << MinMax;
            Reg.CloseKey();
            Reg.DeleteKey(MainKey);
        } else {
            TIniFile Ini(IniName);
            EXPECT_EQ(Ini.ReadString(MainSection, "NormPos(1920x1080)", ""), "100,120,740,600");
            EXPECT_EQ(Ini.ReadString(MainSection, "FormVersion", ""), "0");
        }
        EXPECT_TRUE(StoredValues().empty()) << "nothing left under the current user";
        Free(Form);
    }
}

TEST_F(FormPlacementStrictReading, EmptyNamesFallBackToTheDefaults) {
    auto* P = PlacementOf(MakePlaced([](TMainFormWindow&, TFormPlacement& P) {
        P.SetIniFileName("");
        P.SetIniSection("");
    }));
    EXPECT_EQ(P->GetIniFileName(), formstore::GetDefaultIniRegKey());
    EXPECT_EQ(P->GetIniSection(), "TMainFormWindow");
    P->SetUseRegistry(false);
    EXPECT_EQ(P->GetIniFileName(), formstore::GetDefaultIniName());
    EXPECT_NE(P->GetIniFileName().find(".INI"), std::string::npos) << P->GetIniFileName();
    // A value written under the defaults lands in that file and section.
    P->WriteString("Colour", "red");
    TIniFile Ini(formstore::GetDefaultIniName());
    EXPECT_EQ(Ini.ReadString("TMainFormWindow", "Colour", ""), "red");
}

TEST_F(FormPlacementStrictReading, LimitsReadWithTheFormTakeHoldOnceLoaded) {
    auto* Limited = MakePlaced([](TMainFormWindow&, TFormPlacement& P) {
        P.MinMaxInfo()->SetMinTrackWidth(300);
    });
    auto* Locked = MakePlaced([](TMainFormWindow&, TFormPlacement& P) { P.SetPreventResize(true); });
    Limited->Show();
    Locked->Show();
    TMinMaxInfo Info{};
    EXPECT_EQ(Limited->Perform(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&Info)), 1);
    EXPECT_EQ(Info.ptMinTrackSize.X, 300);
    Info = {};
    EXPECT_EQ(Locked->Perform(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&Info)), 1);
    EXPECT_EQ(Info.ptMaxTrackSize.X, 640);
    EXPECT_FALSE(Locked->BorderIcons().Contains(biMaximize));
    PlacementOf(Locked)->SetPreventResize(false);
    EXPECT_TRUE(Locked->BorderIcons().Contains(biMaximize));
}

TEST_F(FormPlacementStrictReading, LinksOutliveTheirPlacement) {
    TIniLink Link;
    int Saves = 0;
    Link.OnSave = [&](TObject*) { ++Saves; };
    {
        TForm Form(nullptr);
        auto* P = new TFormPlacement(&Form);
        Link.SetStorage(P);
        EXPECT_EQ(Link.Storage(), P);
    }
    EXPECT_EQ(Link.Storage(), nullptr);
    EXPECT_EQ(Link.GetIniObject(), nullptr);
    EXPECT_EQ(Link.GetRootSection(), "");
    EXPECT_EQ(Saves, 0);
}

TEST_F(FormPlacementStrictReading, OptionsChooseWhatARestoreApplies) {
    struct TCase {
        const char* Name;
        formstore::TPlacementOptions Options;
        int Left;
        TWindowState State;
    };
    const TCase Cases[] = {
        {"state and position", {fpState, fpPosition}, 40, wsMaximized},
        {"position only", {fpPosition}, 40, wsNormal},
        {"state only", {fpState}, 100, wsMaximized},
        {"neither", {}, 100, wsNormal},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        Store({{"FormVersion", "0"}, {"Flags", "0"}, {"ShowCmd", "3"}, {"PixelsPerInch", "96"},
               {"MinMaxPos(1920x1080)", "-1,-1,-1,-1"},
               {"NormPos(1920x1080)", "40,50,440,350"}});
        auto* Form = MakePlaced([&](TMainFormWindow&, TFormPlacement& P) { P.SetOptions(C.Options); });
        Form->Show();
        EXPECT_EQ(Form->WindowState(), C.State);
        Form->SetWindowState(wsNormal);
        EXPECT_EQ(Form->Left(), C.Left);
        Free(Form);
        TRegistry().DeleteKey(MainKey);
    }
}

TEST_F(FormPlacementStrictReading, PreventResizeNeedsAFormAsOwner) {
    TComponent Owner(nullptr);
    TFormPlacement P(&Owner);
    P.SetPreventResize(true);
    EXPECT_FALSE(P.PreventResize());
}

TEST_F(FormPlacementStrictReading, ARestoreKeepsAHiddenWindowHidden) {
    Store({{"FormVersion", "0"}, {"Flags", "0"}, {"ShowCmd", "1"}, {"PixelsPerInch", "96"},
           {"MinMaxPos(1920x1080)", "-1,-1,-1,-1"},
           {"NormPos(1920x1080)", "40,50,440,350"}});
    auto* Form = MakePlaced();
    Form->HandleNeeded();
    PlacementOf(Form)->RestoreFormPlacement();
    EXPECT_FALSE(Form->Visible());
    EXPECT_FALSE(IsWindowVisible(Form));
    EXPECT_EQ(Form->Left(), 40);
}

TEST_F(FormPlacementStrictReading, ReadingUnderAnotherRootCreatesNothingThere) {
    auto* Form = MakePlaced([](TMainFormWindow&, TFormPlacement& P) {
        P.SetRegistryRoot(formstore::prLocalMachine);
    });
    auto* P = PlacementOf(Form);
    EXPECT_EQ(P->ReadString("Colour", "none"), "none");
    Form->Show();
    TRegistry Reg(KEY_READ);
    Reg.SetRootKey(HKEY_LOCAL_MACHINE);
    EXPECT_FALSE(Reg.KeyExists(MainKey));
    P->WriteString("Colour", "green");
    EXPECT_TRUE(Reg.KeyExists(MainKey));
    EXPECT_EQ(P->ReadString("Colour", "none"), "green");
}

} // namespace
