#pragma once
// Forms with a form storage component loaded as from a resource, on a
// 1920 x 1080 screen, with the registry and INI files in a scratch folder.
#include "platform/rtl/testing/ScratchConfig.h"

#include "formstore/FormStorage.h"

#include "platform/gui/Forms.h"
#include "platform/registry/RegIniFile.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/StringList.h"

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace formstore_test {

class TMainFormWindow : public TForm {
public:
    explicit TMainFormWindow(TComponent* AOwner) : TForm(AOwner) {}
    AnsiString ClassName() const override { return "TMainFormWindow"; }
};

using TValues = std::vector<std::pair<AnsiString, AnsiString>>;

// The value stored under Name, or "<missing>".
inline AnsiString ValueOf(const TValues& Values, const AnsiString& Name) {
    for (const auto& [N, V] : Values)
        if (N == Name) return V;
    return "<missing>";
}

inline const AnsiString MainKey = "Software\\Pellworth\\Dornwick";
inline const AnsiString MainSection = "Beacon Mill";

class FormFixture : public ScratchConfig {
protected:
    void SetUp() override {
        ScratchConfig::SetUp();
        Application->Initialize();
        Screen->OverrideSize(1920, 1080);
        Application->OnException = [this](TObject*, const Exception& E) {
            Errors.push_back(E.Message);
        };
    }
    void TearDown() override {
        Forms.clear();
        Application->ProcessMessages();
        Screen->OverrideSize(0, 0);
        Application->OnException = nullptr;
        ScratchConfig::TearDown();
    }

    using TSetup = std::function<void(TMainFormWindow& Form, formstore::TFormStorage& Storage)>;

    // A form placed at (100, 120) sized 640 x 480 whose storage is set up
    // as the main window's (registry, Software\Pellworth\Dornwick, section
    // "Beacon Mill"), then changed by Setup before it is loaded.
    TMainFormWindow* MakeForm(const TSetup& Setup = {}) {
        auto Form = std::make_unique<TMainFormWindow>(nullptr);
        Form->SetBounds(100, 120, 640, 480);
        auto* Storage = new formstore::TFormStorage(Form.get());
        Storage->SetName("FormStorage");
        Storage->Loading();
        Storage->SetIniFileName(MainKey);
        Storage->SetIniSection(MainSection);
        Storage->SetUseRegistry(true);
        if (Setup) Setup(*Form, *Storage);
        Storage->Loaded();
        Forms.push_back(std::move(Form));
        return Forms.back().get();
    }

    static formstore::TFormStorage* StorageOf(TCustomForm* Form) {
        return dynamic_cast<formstore::TFormStorage*>(Form->FindComponent("FormStorage"));
    }

    // The registry values of the main section, in the order they were written.
    static TValues StoredValues(const AnsiString& Section = MainSection) {
        TValues Result;
        TRegistry Reg(KEY_READ);
        if (!Reg.OpenKey(MainKey + "\\" + Section, false)) return Result;
        TStringList Names;
        Reg.GetValueNames(&Names);
        for (int I = 0; I < Names.Count(); ++I)
            Result.emplace_back(Names[I], Reg.GetDataType(Names[I]) == rdString
                                              ? Reg.ReadString(Names[I])
                                              : AnsiString("<not text>"));
        return Result;
    }

    static void Store(const TValues& Values, const AnsiString& Section = MainSection) {
        TRegIniFile Reg(MainKey);
        for (const auto& [Name, Value] : Values)
            Reg.WriteString(Section, Name, Value);
    }

    // "-x,-y" of the maximised position a sizeable window is given.
    static AnsiString FrameMaxPos() {
        return Format("%d,%d", -GetSystemMetrics(SM_CXFRAME), -GetSystemMetrics(SM_CYFRAME));
    }

    std::vector<std::unique_ptr<TMainFormWindow>> Forms;
    std::vector<AnsiString> Errors;
};

} // namespace formstore_test
