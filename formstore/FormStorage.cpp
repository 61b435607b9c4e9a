#include "formstore/FormStorage.h"

#include "formstore/PersistUtils.h"
#include "formstore/PropsStorage.h"
#include "formstore/StorageDispatch.h"

#include "platform/classes/Publish.h"
#include "platform/gui/PublishedProps.h"
#include "platform/rtl/StrUtils.h"

namespace formstore {

// ---- TStoredValue ---------------------------------------------------------------------

TFormStorage* TStoredValue::Storage() const {
    auto* Values = dynamic_cast<TStoredValues*>(Collection());
    return Values ? Values->Storage() : nullptr;
}

void TStoredValue::Assign(TPersistent* Source) {
    auto* Other = dynamic_cast<TStoredValue*>(Source);
    if (!Other || Other == this) return;
    if (Other->FValue.IsEmpty())
        Clear();
    else
        FValue = Other->FValue;
    FName = Other->FName;
    FKeyString = Other->FKeyString;
}

AnsiString TStoredValue::GetDisplayName() const {
    return FName.empty() ? TCollectionItem::GetDisplayName() : FName;
}

void TStoredValue::SetDisplayName(const AnsiString& Value) {
    auto* Values = dynamic_cast<TStoredValues*>(Collection());
    if (!Value.empty() && !AnsiSameText(Value, FName) && Values && Values->IndexOf(Value) >= 0)
        throw EStringListError("String list does not allow duplicates");
    FName = Value;
    TCollectionItem::SetDisplayName(Value);
}

void TStoredValue::Save() {
    TFormStorage* Target = Storage();
    if (!Target) return;
    Variant Saved = FValue;
    if (OnSave) OnSave(this, Saved);
    AnsiString Text = VarToStr(Saved);
    if (!FKeyString.empty()) Text = XorEncode(FKeyString, Text);
    Target->WriteString(FName, Text);
}

void TStoredValue::Restore() {
    TFormStorage* Source = Storage();
    if (!Source) return;
    // Without a stored entry the value comes back as it is, as text: the
    // default goes through the same scrambling as a stored entry.
    AnsiString Default = VarToStr(FValue);
    if (!FKeyString.empty()) Default = XorEncode(FKeyString, Default);
    AnsiString Text = Source->ReadString(FName, Default);
    if (!FKeyString.empty()) Text = XorDecode(FKeyString, Text);
    Variant Restored(Text);
    if (OnRestore) OnRestore(this, Restored);
    FValue = Restored;
}

// ---- TStoredValues --------------------------------------------------------------------

TStoredValues::TStoredValues(TPersistent* AOwner)
    : TOwnedCollection(AOwner, CollectionItemClass<TStoredValue>()) {}

TStoredValue* TStoredValues::Items(int Index) const {
    return static_cast<TStoredValue*>(TCollection::Items(Index));
}

TStoredValue* TStoredValues::Add() {
    return static_cast<TStoredValue*>(TCollection::Add());
}

int TStoredValues::IndexOf(const AnsiString& Name) const {
    for (int I = 0; I < Count(); ++I)
        if (AnsiSameText(Items(I)->Name(), Name)) return I;
    return -1;
}

TStoredValue* TStoredValues::GetValue(const AnsiString& Name) const {
    const int Index = IndexOf(Name);
    return Index < 0 ? nullptr : Items(Index);
}

void TStoredValues::SetValue(const AnsiString& Name, TStoredValue* Item) {
    if (TStoredValue* Target = GetValue(Name)) Target->Assign(Item);
}

Variant TStoredValues::GetStoredValue(const AnsiString& Name) const {
    const TStoredValue* Item = GetValue(Name);
    return Item ? Item->Value() : Null();
}

void TStoredValues::SetStoredValue(const AnsiString& Name, const Variant& Value) {
    TStoredValue* Item = GetValue(Name);
    if (!Item) {
        Item = Add();
        Item->SetName(Name);
    }
    Item->SetValue(Value);
}

void TStoredValues::SaveValues() {
    for (int I = 0; I < Count(); ++I)
        Items(I)->Save();
}

void TStoredValues::RestoreValues() {
    for (int I = 0; I < Count(); ++I)
        Items(I)->Restore();
}

// ---- TFormStorage ---------------------------------------------------------------------

TFormStorage::TFormStorage(TComponent* AOwner)
    : TFormPlacement(AOwner), FStoredProps(std::make_unique<TStringList>()),
      FStoredValues(std::make_unique<TStoredValues>(this)) {
    FStoredValues->SetStorage(this);
}

TFormStorage::~TFormStorage() {
    FStoredValues.reset();
    FStoredProps.reset();
}

void TFormStorage::SetStoredProps(TStrings* Value) {
    FStoredProps->Assign(Value);
    for (int I = 0; I < FStoredProps->Count(); ++I)
        if (auto* Component = dynamic_cast<TComponent*>(FStoredProps->Objects(I)))
            Component->FreeNotification(this);
}

Variant TFormStorage::GetStoredValue(const AnsiString& Name) const {
    return FStoredValues->GetStoredValue(Name);
}

void TFormStorage::SetStoredValue(const AnsiString& Name, const Variant& Value) {
    FStoredValues->SetStoredValue(Name, Value);
}

void TFormStorage::SavePlacement() {
    TFormPlacement::SavePlacement();
    SaveProperties();
    FStoredValues->SaveValues();
}

void TFormStorage::RestorePlacement() {
    TFormPlacement::RestorePlacement();
    SetRestored();
    RestoreProperties();
    FStoredValues->RestoreValues();
}

void TFormStorage::Loaded() {
    TFormPlacement::Loaded();
    UpdateStoredList(Owner(), FStoredProps.get(), true);
}

void TFormStorage::WriteState(TWriter* Writer) {
    UpdateStoredList(Owner(), FStoredProps.get(), false);
    TFormPlacement::WriteState(Writer);
}

void TFormStorage::SaveProperties() {
    TPropsStorage Storage;
    Storage.SetSection(GetIniSection());
    Storage.OnWriteString = [this](const AnsiString& Section, const AnsiString& Item,
                                   const AnsiString& Value) {
        DoWriteString(Section, Item, Value);
    };
    Storage.OnEraseSection = [this](const AnsiString& Section) {
        // The placement's save keeps the storage open; on its own, open it
        // for the one erase.
        const bool Opened = !RegIniFile() && !IniFile();
        if (Opened) IniNeeded(false);
        try {
            IniEraseSection(GetIniFile(), Section);
        } catch (...) {
            if (Opened) IniFree();
            throw;
        }
        if (Opened) IniFree();
    };
    Storage.StoreObjectsProps(Owner(), FStoredProps.get());
}

void TFormStorage::RestoreProperties() {
    TPropsStorage Storage;
    Storage.SetSection(GetIniSection());
    Storage.OnReadString = [this](const AnsiString& Section, const AnsiString& Item,
                                  const AnsiString& Default) {
        return DoReadString(Section, Item, Default);
    };
    try {
        Storage.LoadObjectsProps(Owner(), FStoredProps.get());
    } catch (const std::exception&) {
        // Stored properties that can't be restored keep their values.
    }
}

void TFormStorage::Notification(TComponent* AComponent, TOperation Operation) {
    TFormPlacement::Notification(AComponent, Operation);
    if (Operation != opRemove || ComponentState().Contains(csDestroying) || !FStoredProps) return;
    for (int I = FStoredProps->Count() - 1; I >= 0; --I)
        if (FStoredProps->Objects(I) == AComponent) FStoredProps->Delete(I);
}

// ---- published properties -------------------------------------------------------------
// A form read from a stream brings its placement settings and its stored
// properties and values with it.

namespace {

const TTypeInfo& PlacementOptionType() {
    static const TTypeInfo Info =
        MakeEnumType("TPlacementOption", {"fpState", "fpPosition", "fpActiveControl"});
    return Info;
}
const TTypeInfo& PlacementOptionsType() {
    static const TTypeInfo Info = MakeSetType("TPlacementOptions", PlacementOptionType());
    return Info;
}
const TTypeInfo& PlacementRegRootType() {
    static const TTypeInfo Info =
        MakeEnumType("TPlacementRegRoot", {"prCurrentUser", "prLocalMachine", "prCurrentConfig",
                                           "prClassesRoot", "prUsers", "prDynData"});
    return Info;
}

const TPublished<TWinMinMaxInfo, TPersistent> MinMaxInfoClass("TWinMinMaxInfo", [](auto& C) {
    C.Property("MaxPosLeft", &TWinMinMaxInfo::MaxPosLeft, &TWinMinMaxInfo::SetMaxPosLeft)
        .Default(0);
    C.Property("MaxPosTop", &TWinMinMaxInfo::MaxPosTop, &TWinMinMaxInfo::SetMaxPosTop).Default(0);
    C.Property("MaxSizeHeight", &TWinMinMaxInfo::MaxSizeHeight, &TWinMinMaxInfo::SetMaxSizeHeight)
        .Default(0);
    C.Property("MaxSizeWidth", &TWinMinMaxInfo::MaxSizeWidth, &TWinMinMaxInfo::SetMaxSizeWidth)
        .Default(0);
    C.Property("MaxTrackHeight", &TWinMinMaxInfo::MaxTrackHeight,
               &TWinMinMaxInfo::SetMaxTrackHeight)
        .Default(0);
    C.Property("MaxTrackWidth", &TWinMinMaxInfo::MaxTrackWidth, &TWinMinMaxInfo::SetMaxTrackWidth)
        .Default(0);
    C.Property("MinTrackHeight", &TWinMinMaxInfo::MinTrackHeight,
               &TWinMinMaxInfo::SetMinTrackHeight)
        .Default(0);
    C.Property("MinTrackWidth", &TWinMinMaxInfo::MinTrackWidth, &TWinMinMaxInfo::SetMinTrackWidth)
        .Default(0);
});

const TPublished<TFormPlacement, TComponent> FormPlacementClass(
    "TFormPlacement",
    [](auto& C) {
        C.Property("Active", &TFormPlacement::Active, &TFormPlacement::SetActive).Default(true);
        C.Property("IniFileName", &TFormPlacement::IniFileName, &TFormPlacement::SetIniFileName);
        C.Property("IniSection", &TFormPlacement::IniSection, &TFormPlacement::SetIniSection);
        C.Property("MinMaxInfo", &TFormPlacement::MinMaxInfo, &TFormPlacement::SetMinMaxInfo);
        C.Property("Options", &TFormPlacement::Options, &TFormPlacement::SetOptions,
                   PlacementOptionsType())
            .Default(TPlacementOptions{fpState, fpPosition});
        C.Property("PreventResize", &TFormPlacement::PreventResize,
                   &TFormPlacement::SetPreventResize)
            .Default(false);
        C.Property("RegistryRoot", &TFormPlacement::RegistryRoot, &TFormPlacement::SetRegistryRoot,
                   PlacementRegRootType())
            .Default(prCurrentUser);
        C.Property("UseRegistry", &TFormPlacement::UseRegistry, &TFormPlacement::SetUseRegistry)
            .Default(false);
        C.Property("Version", &TFormPlacement::Version, &TFormPlacement::SetVersion).Default(0);
    },
    true);

const TPublished<TStoredValue, TCollectionItem> StoredValueClass("TStoredValue", [](auto& C) {
    C.Property("Name", &TStoredValue::Name, &TStoredValue::SetName);
    C.Property("Value", &TStoredValue::Value, &TStoredValue::SetValue);
    C.Property("KeyString", &TStoredValue::KeyString, &TStoredValue::SetKeyString);
});

const TPublished<TStoredValues, TOwnedCollection> StoredValuesClass("TStoredValues", [](auto&) {});

const TPublished<TFormStorage, TFormPlacement> FormStorageClass(
    "TFormStorage",
    [](auto& C) {
        C.Property("StoredProps", &TFormStorage::StoredProps, &TFormStorage::SetStoredProps);
        C.Property("StoredValues", &TFormStorage::StoredValues, &TFormStorage::SetStoredValues);
    },
    true);

} // namespace

} // namespace formstore
