#pragma once
// TFormPlacement: keeps its form's window placement in a registry key or an
// INI file. Loaded with its form, it takes over the form's OnShow,
// OnCloseQuery and OnDestroy (calling the form's own handlers too): the
// placement is restored before the form's own show handler and saved once
// the form's own close-query handler allowed the close, or at destruction
// when no save happened since the last restore.
//
// It also lends its section to plain string and integer values, to linked
// objects (TIniLink) told at each save and restore, and to TFormStorage.
// With a minimum/maximum size or PreventResize it watches the form's
// messages through a window hook.
#include "platform/classes/Component.h"
#include "platform/classes/SmallSet.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/Persistent.h"

#include <cstdint>
#include <memory>
#include <vector>

class TCustomIniFile;
class TRegIniFile;

namespace formstore {

class TFormPlacement;
class TFsWindowHook;

enum class TPlacementOption : std::uint8_t { fpState, fpPosition, fpActiveControl };
using enum TPlacementOption;
using TPlacementOptions = SmallSet<TPlacementOption>;

// The registry root the placement lives under; streamed as one byte, so
// the ordinals stay as they are.
enum class TPlacementRegRoot : std::uint8_t {
    prCurrentUser,
    prLocalMachine,
    prCurrentConfig,
    prClassesRoot,
    prUsers,
    prDynData
};
using enum TPlacementRegRoot;

enum class TPlacementOperation : std::uint8_t { poSave, poRestore };
using enum TPlacementOperation;

// The sizes a form may take (the platform's minimum/maximum record); 0
// leaves a value to the platform.
class TWinMinMaxInfo : public TPersistent {
public:
    explicit TWinMinMaxInfo(TFormPlacement* Owner) : FOwner(Owner) {}
    AnsiString ClassName() const override { return "TWinMinMaxInfo"; }
    // Copies another TWinMinMaxInfo; anything else raises the assignment error.
    void Assign(TPersistent* Source) override;

    int MaxPosLeft() const { return FInfo.ptMaxPosition.X; }
    int MaxPosTop() const { return FInfo.ptMaxPosition.Y; }
    int MaxSizeHeight() const { return FInfo.ptMaxSize.Y; }
    int MaxSizeWidth() const { return FInfo.ptMaxSize.X; }
    int MaxTrackHeight() const { return FInfo.ptMaxTrackSize.Y; }
    int MaxTrackWidth() const { return FInfo.ptMaxTrackSize.X; }
    int MinTrackHeight() const { return FInfo.ptMinTrackSize.Y; }
    int MinTrackWidth() const { return FInfo.ptMinTrackSize.X; }
    void SetMaxPosLeft(int Value) { SetValue(FInfo.ptMaxPosition.X, Value); }
    void SetMaxPosTop(int Value) { SetValue(FInfo.ptMaxPosition.Y, Value); }
    void SetMaxSizeHeight(int Value) { SetValue(FInfo.ptMaxSize.Y, Value); }
    void SetMaxSizeWidth(int Value) { SetValue(FInfo.ptMaxSize.X, Value); }
    void SetMaxTrackHeight(int Value) { SetValue(FInfo.ptMaxTrackSize.Y, Value); }
    void SetMaxTrackWidth(int Value) { SetValue(FInfo.ptMaxTrackSize.X, Value); }
    void SetMinTrackHeight(int Value) { SetValue(FInfo.ptMinTrackSize.Y, Value); }
    void SetMinTrackWidth(int Value) { SetValue(FInfo.ptMinTrackSize.X, Value); }

    // All eight values are 0.
    bool DefaultMinMaxInfo() const;
    const TMinMaxInfo& Info() const { return FInfo; }

private:
    void SetValue(int& Field, int Value);

    TFormPlacement* FOwner;
    TMinMaxInfo FInfo{};
};

// An object that keeps values of its own in a form placement's storage:
// told at every save and restore, while the storage is open.
class TIniLink : public TPersistent {
public:
    TIniLink() = default;
    ~TIniLink() override;
    AnsiString ClassName() const override { return "TIniLink"; }

    TFormPlacement* Storage() const { return FStorage; }
    void SetStorage(TFormPlacement* Value);
    // The storage's open ini object (TRegIniFile or TCustomIniFile), or nullptr.
    TObject* GetIniObject() const;
    // The storage's IniSection as set, followed by "\"; empty without one.
    AnsiString GetRootSection() const;

    virtual void SaveToIni();
    virtual void LoadFromIni();

    TNotifyEvent OnSave;
    TNotifyEvent OnLoad;

private:
    friend class TFormPlacement;
    TFormPlacement* FStorage = nullptr;
};

class TFormPlacement : public TComponent {
public:
    explicit TFormPlacement(TComponent* AOwner);
    ~TFormPlacement() override;
    AnsiString ClassName() const override { return "TFormPlacement"; }

    // A form built in code stands in for one read from its resource: mark
    // the component as loading, set its properties, then call Loaded, which
    // takes over the form's handlers.
    using TComponent::Loading;
    void Loaded() override;

    bool Active() const { return FActive; }
    void SetActive(bool Value) { FActive = Value; }
    const AnsiString& IniFileName() const { return FIniFileName; }
    void SetIniFileName(const AnsiString& Value) { FIniFileName = Value; }
    const AnsiString& IniSection() const { return FIniSection; }
    void SetIniSection(const AnsiString& Value) { FIniSection = Value; }
    bool UseRegistry() const { return FUseRegistry; }
    void SetUseRegistry(bool Value) { FUseRegistry = Value; }
    TPlacementRegRoot RegistryRoot() const { return FRegistryRoot; }
    void SetRegistryRoot(TPlacementRegRoot Value) { FRegistryRoot = Value; }
    TPlacementOptions Options() const { return FOptions; }
    void SetOptions(TPlacementOptions Value) { FOptions = Value; }
    int Version() const { return FVersion; }
    void SetVersion(int Value) { FVersion = Value; }
    bool PreventResize() const { return FPreventResize; }
    void SetPreventResize(bool Value);
    TWinMinMaxInfo* MinMaxInfo() const { return FMinMaxInfo.get(); }
    void SetMinMaxInfo(TWinMinMaxInfo* Value) { FMinMaxInfo->Assign(Value); }

    // Take over the form's OnShow, OnCloseQuery and OnDestroy / give them back.
    void SetEvents();
    void RestoreEvents();

    void SaveFormPlacement();
    void RestoreFormPlacement();
    virtual void SavePlacement();
    virtual void RestorePlacement();

    // Opens the storage unless it is open already; IniFree closes it.
    void IniNeeded(bool ReadOnly);
    void IniFree();
    // The open registry ini object (with UseRegistry) or INI file object.
    TObject* GetIniFile() const;
    TRegIniFile* RegIniFile() const { return FRegIniFile.get(); }
    TCustomIniFile* IniFile() const { return FIniFile.get(); }

    // IniFileName, else the default name for the storage kind.
    AnsiString GetIniFileName() const;
    // IniSection, else the owner's default section.
    AnsiString GetIniSection() const;

    // Values of the current section, opening and closing the storage around
    // the call when it is not open.
    virtual AnsiString DoReadString(const AnsiString& Section, const AnsiString& Ident,
                                    const AnsiString& Default);
    virtual void DoWriteString(const AnsiString& Section, const AnsiString& Ident,
                               const AnsiString& Value);
    AnsiString ReadString(const AnsiString& Ident, const AnsiString& Default);
    void WriteString(const AnsiString& Ident, const AnsiString& Value);
    int ReadInteger(const AnsiString& Ident, int Default);
    void WriteInteger(const AnsiString& Ident, int Value);
    // Erases the section and every section named after it with "." or "\"
    // and more; nothing while the storage is open.
    void EraseSections();

    void AddLink(TIniLink* Link);
    void RemoveLink(TIniLink* Link);

    // Gives the window's placement the maximised position of its border.
    void UpdatePlacement();

    TNotifyEvent OnSavePlacement;
    TNotifyEvent OnRestorePlacement;

protected:
    virtual void Save();
    virtual void Restore();
    void NotifyLinks(TPlacementOperation Operation);
    TCustomForm* Form() const { return dynamic_cast<TCustomForm*>(Owner()); }
    bool Designing() const { return ComponentState().Contains(csDesigning); }
    bool IsLoading() const { return ComponentState().Contains(csLoading); }
    void SetRestored() { FRestored = true; }

private:
    friend class TWinMinMaxInfo;

    void FormShow(TObject* Sender);
    void FormCloseQuery(TObject* Sender, bool& CanClose);
    void FormDestroy(TObject* Sender);
    void WndMessage(TObject* Sender, TMessage& Msg, bool& Handled);
    void UpdatePreventResize();
    void CheckToggleHook();
    void MinMaxInfoModified();
    TObject* OpenIniObject() const;

    bool FActive = true;
    AnsiString FIniFileName;
    AnsiString FIniSection;
    std::unique_ptr<TCustomIniFile> FIniFile;
    bool FUseRegistry = false;
    std::unique_ptr<TRegIniFile> FRegIniFile;
    TPlacementRegRoot FRegistryRoot = prCurrentUser;
    std::vector<TIniLink*> FLinks;
    TPlacementOptions FOptions;
    int FVersion = 0;
    bool FSaved = false;
    bool FRestored = false;
    bool FDestroying = false;
    bool FPreventResize = false;
    std::unique_ptr<TWinMinMaxInfo> FMinMaxInfo;
    bool FDefMaximize = false;
    // PreventResize took the maximise icon away: the form's icons no longer
    // tell whether it had one.
    bool FMaximizeTaken = false;
    TFsWindowHook* FWinHook = nullptr;
    bool FEventsSet = false;
    TNotifyEvent FSaveFormShow;
    TNotifyEvent FSaveFormDestroy;
    TCloseQueryEvent FSaveFormCloseQuery;
    // The form's default section as last seen whole: while the form is
    // being destroyed its class name no longer tells.
    mutable AnsiString FDefaultSection;
};

} // namespace formstore
