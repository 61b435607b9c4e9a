#include "formstore/FormPlacement.h"

#include "formstore/AppStorage.h"
#include "formstore/PersistUtils.h"
#include "formstore/PlacementFormat.h"
#include "formstore/StorageDispatch.h"
#include "formstore/WindowHook.h"

#include "platform/registry/IniFiles.h"
#include "platform/registry/RegIniFile.h"
#include "platform/rtl/StringList.h"

#include <algorithm>

namespace formstore {

namespace {

// Closes the storage at the end of an operation that opened it, also when
// the operation fails.
class TIniScope {
public:
    TIniScope(TFormPlacement& Placement, bool ReadOnly)
        : FPlacement(Placement), FOpened(!Placement.RegIniFile() && !Placement.IniFile()) {
        if (FOpened) FPlacement.IniNeeded(ReadOnly);
    }
    ~TIniScope() {
        if (FOpened) FPlacement.IniFree();
    }
    TIniScope(const TIniScope&) = delete;
    TIniScope& operator=(const TIniScope&) = delete;

private:
    TFormPlacement& FPlacement;
    bool FOpened;
};

HKEY RootKeyOf(TPlacementRegRoot Root) {
    switch (Root) {
    case prLocalMachine:
        return HKEY_LOCAL_MACHINE;
    case prCurrentConfig:
        return HKEY_CURRENT_CONFIG;
    case prClassesRoot:
        return HKEY_CLASSES_ROOT;
    case prUsers:
        return HKEY_USERS;
    case prDynData:
        return HKEY_DYN_DATA;
    default:
        return HKEY_CURRENT_USER;
    }
}

void HandleError(TObject* Sender) {
    Application->HandleException(Sender);
}

} // namespace

// ---- TWinMinMaxInfo -----------------------------------------------------------------

void TWinMinMaxInfo::Assign(TPersistent* Source) {
    if (auto* Other = dynamic_cast<TWinMinMaxInfo*>(Source)) {
        FInfo = Other->FInfo;
        if (FOwner) FOwner->MinMaxInfoModified();
        return;
    }
    TPersistent::Assign(Source);
}

bool TWinMinMaxInfo::DefaultMinMaxInfo() const {
    return MaxPosLeft() == 0 && MaxPosTop() == 0 && MaxSizeHeight() == 0 && MaxSizeWidth() == 0 &&
           MaxTrackHeight() == 0 && MaxTrackWidth() == 0 && MinTrackHeight() == 0 &&
           MinTrackWidth() == 0;
}

void TWinMinMaxInfo::SetValue(int& Field, int Value) {
    if (Field == Value) return;
    Field = Value;
    if (FOwner) FOwner->MinMaxInfoModified();
}

// ---- TIniLink -------------------------------------------------------------------------

TIniLink::~TIniLink() {
    OnSave = nullptr;
    OnLoad = nullptr;
    SetStorage(nullptr);
}

void TIniLink::SetStorage(TFormPlacement* Value) {
    if (FStorage == Value) return;
    if (FStorage) FStorage->RemoveLink(this);
    if (Value) Value->AddLink(this);
}

TObject* TIniLink::GetIniObject() const {
    return FStorage ? FStorage->GetIniFile() : nullptr;
}

AnsiString TIniLink::GetRootSection() const {
    if (!FStorage || FStorage->IniSection().empty()) return {};
    return FStorage->IniSection() + "\\";
}

void TIniLink::SaveToIni() {
    if (OnSave) OnSave(this);
}

void TIniLink::LoadFromIni() {
    if (OnLoad) OnLoad(this);
}

// ---- TFormPlacement ---------------------------------------------------------------------

TFormPlacement::TFormPlacement(TComponent* AOwner)
    : TComponent(AOwner), FMinMaxInfo(std::make_unique<TWinMinMaxInfo>(this)) {
    if (dynamic_cast<TForm*>(AOwner)) FOptions = {fpState, fpPosition};
    FWinHook = new TFsWindowHook(this);
    FWinHook->AfterMessage = [this](TObject* Sender, TMessage& Msg, bool& Handled) {
        WndMessage(Sender, Msg, Handled);
    };
}

TFormPlacement::~TFormPlacement() {
    IniFree();
    while (!FLinks.empty())
        RemoveLink(FLinks.back());
    // A form being destroyed is past the point where its handlers or its
    // window may be touched; it lets go of the hook by itself.
    TCustomForm* F = Form();
    const bool FormGoing = F && F->ComponentState().Contains(csDestroying);
    if (!Designing() && !FormGoing) {
        FWinHook->SetActive(false);
        RestoreEvents();
    }
    // The hook calls back into this object: it goes first.
    delete FWinHook;
    FWinHook = nullptr;
    FMinMaxInfo.reset();
    // Without the hook the window takes the form's own sizes again.
    if (F && !Designing() && !FormGoing && F->HandleAllocated()) F->UpdateSizeLimits();
}

void TFormPlacement::Loaded() {
    const bool FromResource = IsLoading();
    TComponent::Loaded();
    if (!Designing() && FromResource) SetEvents();
    CheckToggleHook();
}

void TFormPlacement::SetEvents() {
    TCustomForm* F = Form();
    if (!F) return;
    FSaveFormShow = F->OnShow;
    FSaveFormCloseQuery = F->OnCloseQuery;
    FSaveFormDestroy = F->OnDestroy;
    F->OnShow = [this](TObject* Sender) { FormShow(Sender); };
    F->OnCloseQuery = [this](TObject* Sender, bool& CanClose) { FormCloseQuery(Sender, CanClose); };
    F->OnDestroy = [this](TObject* Sender) { FormDestroy(Sender); };
    FEventsSet = true;
    if (!FMaximizeTaken) FDefMaximize = F->BorderIcons().Contains(biMaximize);
    GetIniSection();
    if (FPreventResize) UpdatePreventResize();
}

void TFormPlacement::RestoreEvents() {
    TCustomForm* F = Form();
    // Only handlers taken over are given back: a component driven by hand
    // leaves the form's own handlers alone.
    if (!F || !FEventsSet) return;
    F->OnShow = FSaveFormShow;
    F->OnCloseQuery = FSaveFormCloseQuery;
    F->OnDestroy = FSaveFormDestroy;
    FEventsSet = false;
}

void TFormPlacement::FormShow(TObject* Sender) {
    if (FActive) {
        try {
            RestoreFormPlacement();
        } catch (...) {
            HandleError(this);
        }
    }
    if (FSaveFormShow) FSaveFormShow(Sender);
}

void TFormPlacement::FormCloseQuery(TObject* Sender, bool& CanClose) {
    if (FSaveFormCloseQuery) FSaveFormCloseQuery(Sender, CanClose);
    TCustomForm* F = Form();
    if (CanClose && FActive && F && F->HandleAllocated()) {
        try {
            SaveFormPlacement();
        } catch (...) {
            HandleError(this);
        }
    }
}

void TFormPlacement::FormDestroy(TObject* Sender) {
    if (FActive && !FSaved) {
        FDestroying = true;
        try {
            SaveFormPlacement();
        } catch (...) {
            HandleError(this);
        }
        FDestroying = false;
    }
    if (FSaveFormDestroy) FSaveFormDestroy(Sender);
}

void TFormPlacement::RestoreFormPlacement() {
    FSaved = false;
    {
        TIniScope Scope(*this, true);
        if (ReadInteger("FormVersion", 0) >= FVersion) {
            RestorePlacement();
            FRestored = true;
            Restore();
            TCustomForm* F = Form();
            if (FOptions.Contains(fpActiveControl) && F) {
                const AnsiString Name = ReadString("ActiveControl", AnsiString());
                auto* Control = dynamic_cast<TWinControl*>(F->FindComponent(Name));
                if (Control && Control->CanFocus()) F->SetActiveControl(Control);
            }
        }
        // Also after a placement too old to use, so that the next close
        // writes over it.
        FRestored = true;
    }
    UpdatePlacement();
}

void TFormPlacement::SaveFormPlacement() {
    // An active component whose restore never completed does not save over
    // what it could not read.
    if (!FRestored && FActive) return;
    TIniScope Scope(*this, false);
    WriteInteger("FormVersion", FVersion);
    SavePlacement();
    Save();
    FSaved = true;
}

void TFormPlacement::SavePlacement() {
    if (TCustomForm* F = Form()) {
        TObject* Ini = GetIniFile();
        const AnsiString Section = GetIniSection();
        if (FOptions.Contains(fpState) || FOptions.Contains(fpPosition)) {
            if (FUseRegistry)
                WriteFormPlacementReg(F, FRegIniFile.get(), Section);
            else
                WriteFormPlacement(F, FIniFile.get(), Section);
            IniWriteBool(Ini, Section, "Visible", FDestroying);
        }
        if (FOptions.Contains(fpActiveControl) && F->ActiveControl())
            IniWriteString(Ini, Section, "ActiveControl", F->ActiveControl()->Name());
    }
    NotifyLinks(poSave);
}

void TFormPlacement::RestorePlacement() {
    if (TCustomForm* F = Form()) {
        const bool LoadState = FOptions.Contains(fpState);
        const bool LoadPosition = FOptions.Contains(fpPosition);
        if (FUseRegistry)
            ReadFormPlacementReg(F, FRegIniFile.get(), GetIniSection(), LoadState, LoadPosition);
        else
            ReadFormPlacement(F, FIniFile.get(), GetIniSection(), LoadState, LoadPosition);
    }
    NotifyLinks(poRestore);
}

void TFormPlacement::Save() {
    if (OnSavePlacement) OnSavePlacement(this);
}

void TFormPlacement::Restore() {
    if (OnRestorePlacement) OnRestorePlacement(this);
}

void TFormPlacement::IniNeeded(bool ReadOnly) {
    if (FIniFile || FRegIniFile) return;
    if (!FUseRegistry) {
        FIniFile = std::make_unique<TIniFile>(GetIniFileName());
        return;
    }
    const AnsiString Name = GetIniFileName();
    auto Reg = std::make_unique<TRegIniFile>(Name);
    if (ReadOnly) Reg->SetAccess(KEY_READ);
    const HKEY Root = RootKeyOf(FRegistryRoot);
    if (Root != HKEY_CURRENT_USER) {
        Reg->SetRootKey(Root);
        Reg->OpenKey(Name, !ReadOnly);
    }
    FRegIniFile = std::move(Reg);
}

void TFormPlacement::IniFree() {
    FIniFile.reset();
    FRegIniFile.reset();
}

TObject* TFormPlacement::GetIniFile() const {
    if (FUseRegistry) return FRegIniFile.get();
    return FIniFile.get();
}

TObject* TFormPlacement::OpenIniObject() const {
    if (FRegIniFile) return FRegIniFile.get();
    return FIniFile.get();
}

AnsiString TFormPlacement::GetIniFileName() const {
    if (!FIniFileName.empty() || Designing()) return FIniFileName;
    return FUseRegistry ? GetDefaultIniRegKey() : GetDefaultIniName();
}

AnsiString TFormPlacement::GetIniSection() const {
    if (!FIniSection.empty() || Designing()) return FIniSection;
    const TComponent* O = Owner();
    if (O && O->ComponentState().Contains(csDestroying) && !FDefaultSection.empty())
        return FDefaultSection;
    FDefaultSection = GetDefaultSection(Owner());
    return FDefaultSection;
}

AnsiString TFormPlacement::DoReadString(const AnsiString& Section, const AnsiString& Ident,
                                        const AnsiString& Default) {
    TIniScope Scope(*this, true);
    return IniReadString(OpenIniObject(), Section, Ident, Default);
}

void TFormPlacement::DoWriteString(const AnsiString& Section, const AnsiString& Ident,
                                   const AnsiString& Value) {
    TIniScope Scope(*this, false);
    IniWriteString(OpenIniObject(), Section, Ident, Value);
}

AnsiString TFormPlacement::ReadString(const AnsiString& Ident, const AnsiString& Default) {
    return DoReadString(GetIniSection(), Ident, Default);
}

void TFormPlacement::WriteString(const AnsiString& Ident, const AnsiString& Value) {
    DoWriteString(GetIniSection(), Ident, Value);
}

int TFormPlacement::ReadInteger(const AnsiString& Ident, int Default) {
    TIniScope Scope(*this, true);
    return IniReadInteger(OpenIniObject(), GetIniSection(), Ident, Default);
}

void TFormPlacement::WriteInteger(const AnsiString& Ident, int Value) {
    TIniScope Scope(*this, false);
    IniWriteInteger(OpenIniObject(), GetIniSection(), Ident, Value);
}

void TFormPlacement::EraseSections() {
    if (OpenIniObject()) return;
    TIniScope Scope(*this, false);
    TObject* Ini = OpenIniObject();
    const AnsiString Section = GetIniSection();
    TStringList Sections;
    IniReadSections(Ini, &Sections);
    for (int I = 0; I < Sections.Count(); ++I) {
        const AnsiString Name = Sections[I];
        if (Name == Section || IsWild(Name, Section + ".*", false) ||
            IsWild(Name, Section + "\\*", false))
            IniEraseSection(Ini, Name);
    }
}

void TFormPlacement::AddLink(TIniLink* Link) {
    if (!Link) return;
    if (std::find(FLinks.begin(), FLinks.end(), Link) == FLinks.end()) FLinks.push_back(Link);
    Link->FStorage = this;
}

void TFormPlacement::RemoveLink(TIniLink* Link) {
    if (!Link) return;
    FLinks.erase(std::remove(FLinks.begin(), FLinks.end(), Link), FLinks.end());
    Link->FStorage = nullptr;
}

void TFormPlacement::NotifyLinks(TPlacementOperation Operation) {
    // A link may leave the list while it is told.
    const std::vector<TIniLink*> Links = FLinks;
    for (TIniLink* Link : Links) {
        if (std::find(FLinks.begin(), FLinks.end(), Link) == FLinks.end()) continue;
        if (Operation == poSave)
            Link->SaveToIni();
        else
            Link->LoadFromIni();
    }
}

void TFormPlacement::SetPreventResize(bool Value) {
    if (!Form() || Value == FPreventResize) return;
    FPreventResize = Value;
    UpdatePlacement();
    UpdatePreventResize();
}

void TFormPlacement::UpdatePlacement() {
    TCustomForm* F = Form();
    if (!F || !F->HandleAllocated() || IsLoading() || FPreventResize ||
        !FMinMaxInfo->DefaultMinMaxInfo())
        return;
    TWindowPlacement Placement;
    GetWindowPlacement(F, &Placement);
    if (!IsWindowVisible(F)) Placement.showCmd = SW_HIDE;
    int X = 0;
    int Y = 0;
    switch (F->BorderStyle()) {
    case bsSingle:
    case bsToolWindow:
        X = GetSystemMetrics(SM_CXBORDER);
        Y = GetSystemMetrics(SM_CYBORDER);
        break;
    case bsSizeable:
    case bsSizeToolWin:
        X = GetSystemMetrics(SM_CXFRAME);
        Y = GetSystemMetrics(SM_CYFRAME);
        break;
    case bsDialog:
        X = GetSystemMetrics(SM_CXDLGFRAME);
        Y = GetSystemMetrics(SM_CYDLGFRAME);
        break;
    case bsNone:
        break;
    }
    Placement.ptMaxPosition = Point(-X, -Y);
    SetWindowPlacement(F, &Placement);
}

void TFormPlacement::UpdatePreventResize() {
    TCustomForm* F = Form();
    if (Designing() || !F) return;
    if (FPreventResize && !FMaximizeTaken) FDefMaximize = F->BorderIcons().Contains(biMaximize);
    // Changing the border icons may rebuild the window: no restore or save
    // may run meanwhile.
    struct TInactive {
        bool& Active;
        bool Saved;
        ~TInactive() { Active = Saved; }
    } Inactive{FActive, FActive};
    FActive = false;
    TBorderIcons Icons = F->BorderIcons();
    if (!FPreventResize && FDefMaximize && F->BorderStyle() != bsDialog)
        Icons.Include(biMaximize);
    else
        Icons.Exclude(biMaximize);
    F->SetBorderIcons(Icons);
    FMaximizeTaken = FPreventResize;
    if (!IsLoading()) CheckToggleHook();
}

void TFormPlacement::CheckToggleHook() {
    TCustomForm* F = Form();
    const bool Hook = F && !Designing() && (!FMinMaxInfo->DefaultMinMaxInfo() || FPreventResize);
    if (Hook) {
        FWinHook->SetWinControl(F);
        FWinHook->SetActive(true);
    } else {
        FWinHook->SetActive(false);
    }
    // The window holds to the sizes the form answers; the answer changed.
    if (F && !Designing() && F->HandleAllocated()) F->UpdateSizeLimits();
}

void TFormPlacement::MinMaxInfoModified() {
    UpdatePlacement();
    if (!IsLoading()) CheckToggleHook();
}

void TFormPlacement::WndMessage(TObject*, TMessage& Msg, bool&) {
    TCustomForm* F = Form();
    auto* Info = reinterpret_cast<TMinMaxInfo*>(Msg.LParam);
    if (FPreventResize && F) {
        switch (Msg.Msg) {
        case WM_GETMINMAXINFO:
            if (Info && F->HandleAllocated() && IsWindowVisible(F)) {
                Info->ptMinTrackSize = Point(F->Width(), F->Height());
                Info->ptMaxTrackSize = Point(F->Width(), F->Height());
                Msg.Result = 1;
            }
            break;
        case WM_NCHITTEST:
            if (Msg.Result >= HTLEFT && Msg.Result <= HTBOTTOMRIGHT) Msg.Result = HTNOWHERE;
            break;
        default:
            break;
        }
        return;
    }
    if (Msg.Msg != WM_GETMINMAXINFO) return;
    if (Info) {
        const TWinMinMaxInfo& M = *FMinMaxInfo;
        if (M.DefaultMinMaxInfo()) {
            Info->ptMaxPosition = Point(0, 0);
        } else {
            if (M.MinTrackWidth() != 0) Info->ptMinTrackSize.X = M.MinTrackWidth();
            if (M.MinTrackHeight() != 0) Info->ptMinTrackSize.Y = M.MinTrackHeight();
            if (M.MaxTrackWidth() != 0) Info->ptMaxTrackSize.X = M.MaxTrackWidth();
            if (M.MaxTrackHeight() != 0) Info->ptMaxTrackSize.Y = M.MaxTrackHeight();
            if (M.MaxSizeWidth() != 0) Info->ptMaxSize.X = M.MaxSizeWidth();
            if (M.MaxSizeHeight() != 0) Info->ptMaxSize.Y = M.MaxSizeHeight();
            if (M.MaxPosLeft() != 0) Info->ptMaxPosition.X = M.MaxPosLeft();
            if (M.MaxPosTop() != 0) Info->ptMaxPosition.Y = M.MaxPosTop();
        }
    }
    Msg.Result = 1;
}

} // namespace formstore
