#include "formstore/PropsStorage.h"

#include "platform/classes/Collection.h"
#include "platform/classes/Component.h"
#include "platform/gui/Forms.h"
#include "platform/gui/PublishedProps.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/Variant.h"

#include <memory>

namespace formstore {

namespace {

// Objects held in objects deeper than this are not followed.
constexpr int MaxDepth = 16;
// A stored line count above this is taken for damage, not for a list.
constexpr int MaxStoredLines = 1000000;

int FloatPrecision(const TTypeInfo* Type) {
    switch (Type->FloatType) {
    case ftSingle:
        return 7;
    case ftDouble:
        return 15;
    case ftExtended:
    case ftComp:
        return 18;
    case ftCurr:
        return 19;
    }
    return 15;
}

AnsiString ReplaceChar(AnsiString Text, char From, char To) {
    for (char& C : Text)
        if (C == From) C = To;
    return Text;
}

bool IsStringKind(TTypeKind Kind) {
    return Kind == tkString || Kind == tkLString || Kind == tkWString;
}

// A class name without its leading "T".
AnsiString ShortClassName(const TComponent* Component) {
    AnsiString Name = Component->ClassName();
    if (!Name.empty() && (Name[0] == 'T' || Name[0] == 't')) Name.erase(0, 1);
    return Name;
}

TComponent* FindOpenRoot(const AnsiString& Name) {
    if (!Screen) return nullptr;
    for (int I = 0; I < Screen->FormCount(); ++I)
        if (AnsiSameText(Screen->Forms(I)->Name(), Name)) return Screen->Forms(I);
    return nullptr;
}

} // namespace

// ---- TPropInfoList --------------------------------------------------------------------

TPropInfoList::TPropInfoList(const TObject* AObject) {
    for (const TPropInfo* P : GetPropList(AObject))
        if (P->Kind() != tkMethod && P->Kind() != tkUnknown) FList.push_back(P);
}

bool TPropInfoList::Contains(const TPropInfo* P) const {
    for (const TPropInfo* Q : FList)
        if (Q->PropType == P->PropType && SameText(Q->Name, P->Name)) return true;
    return false;
}

const TPropInfo* TPropInfoList::Find(const AnsiString& AName) const {
    for (const TPropInfo* P : FList)
        if (SameText(P->Name, AName)) return P;
    return nullptr;
}

void TPropInfoList::Delete(int Index) {
    if (Index < 0 || Index >= Count())
        throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
    FList.erase(FList.begin() + Index);
}

void TPropInfoList::Intersect(const TPropInfoList* List) {
    std::erase_if(FList, [List](const TPropInfo* P) { return !List->Contains(P); });
}

// ---- stored items ---------------------------------------------------------------------

AnsiString CreateStoredItem(const AnsiString& CompName, const AnsiString& PropName) {
    if (CompName.empty() || PropName.empty()) return AnsiString();
    return CompName + "." + PropName;
}

bool ParseStoredItem(const AnsiString& Item, AnsiString& CompName, AnsiString& PropName) {
    const std::size_t Dot = Item.find('.');
    if (Dot == AnsiString::npos) return false;
    CompName = Trim(Item.substr(0, Dot));
    PropName = Trim(Item.substr(Dot + 1));
    return !CompName.empty() && !PropName.empty();
}

void UpdateStoredList(TComponent* AForm, TStrings* AStoredList, bool FromForm) {
    if (!AStoredList) return;
    for (int I = AStoredList->Count() - 1; I >= 0; --I) {
        AnsiString CompName, PropName;
        if (!ParseStoredItem(AStoredList->Strings(I), CompName, PropName)) {
            AStoredList->Delete(I);
            continue;
        }
        if (FromForm) {
            TComponent* Component = nullptr;
            if (AForm)
                Component =
                    SameText(AForm->Name(), CompName) ? AForm : AForm->FindComponent(CompName);
            if (Component)
                AStoredList->PutObject(I, Component);
            else
                AStoredList->Delete(I);
        } else if (auto* Component = dynamic_cast<TComponent*>(AStoredList->Objects(I))) {
            AStoredList->Put(I, CreateStoredItem(Component->Name(), PropName));
            AStoredList->PutObject(I, Component);
        } else {
            AStoredList->Delete(I);
        }
    }
}

TStringList* CreateInfoList(TComponent* AComponent, TStrings* StoredList) {
    auto Result = std::make_unique<TStringList>();
    try {
        UpdateStoredList(AComponent, StoredList, false);
        Result->SetSorted(true);
        for (int I = 0; I < StoredList->Count(); ++I) {
            auto* Component = dynamic_cast<TComponent*>(StoredList->Objects(I));
            if (!Component || Result->IndexOf(Component->Name()) >= 0) continue;
            auto Info = std::make_unique<TPropInfoList>(Component);
            Result->AddObject(Component->Name(), Info.get());
            Info.release();
        }
    } catch (const std::exception&) {
        FreeInfoLists(Result.release());
        return nullptr;
    }
    return Result.release();
}

void FreeInfoLists(TStrings* Info) {
    if (!Info) return;
    for (int I = 0; I < Info->Count(); ++I)
        delete Info->Objects(I);
    delete Info;
}

// ---- TPropsStorage --------------------------------------------------------------------

TPropsStorage::TPropsStorage() {
    PublishGuiClasses();
}

AnsiString TPropsStorage::ReadString(const AnsiString& ASection, const AnsiString& Item,
                                     const AnsiString& Default) {
    return OnReadString ? OnReadString(ASection, Item, Default) : AnsiString();
}

void TPropsStorage::WriteString(const AnsiString& ASection, const AnsiString& Item,
                                const AnsiString& Value) {
    if (OnWriteString) OnWriteString(ASection, Item, Value);
}

void TPropsStorage::EraseSection(const AnsiString& ASection) {
    if (OnEraseSection) OnEraseSection(ASection);
}

AnsiString TPropsStorage::GetItemName(const AnsiString& APropName) const {
    return FPrefix + APropName;
}

TPropsStorage* TPropsStorage::CreateStorage() {
    auto* Result = new TPropsStorage();
    Result->OnReadString = OnReadString;
    Result->OnWriteString = OnWriteString;
    Result->OnEraseSection = OnEraseSection;
    return Result;
}

void TPropsStorage::StoreObjectsProps(TComponent* AComponent, TStrings* StoredList) {
    ForEachStoredItem(AComponent, StoredList, &TPropsStorage::StoreAnyProperty);
}

void TPropsStorage::LoadObjectsProps(TComponent* AComponent, TStrings* StoredList) {
    ForEachStoredItem(AComponent, StoredList, &TPropsStorage::LoadAnyProperty);
}

void TPropsStorage::ForEachStoredItem(TComponent* AComponent, TStrings* StoredList,
                                      void (TPropsStorage::*Each)(const TPropInfo*)) {
    std::unique_ptr<TStringList, void (*)(TStringList*)> Info(
        CreateInfoList(AComponent, StoredList), [](TStringList* L) { FreeInfoLists(L); });
    if (!Info) return;
    struct TOwnerScope {
        TComponent*& Owner;
        ~TOwnerScope() { Owner = nullptr; }
    } Scope{FOwner};
    FOwner = AComponent;
    for (int I = 0; I < StoredList->Count(); ++I) {
        AnsiString CompName, PropName;
        if (!ParseStoredItem(StoredList->Strings(I), CompName, PropName)) continue;
        FObject = StoredList->Objects(I);
        FPrefix = CompName;
        const int Index = Info->IndexOf(FPrefix);
        if (Index < 0) continue;
        FPrefix += sPropNameDelimiter;
        (this->*Each)(static_cast<TPropInfoList*>(Info->Objects(Index))->Find(PropName));
    }
}

void TPropsStorage::StoreProperties(TStrings* PropList) {
    const TPropInfoList Props(FObject);
    for (int I = 0; I < PropList->Count(); ++I)
        StoreAnyProperty(Props.Find(PropList->Strings(I)));
}

void TPropsStorage::LoadProperties(TStrings* PropList) {
    const TPropInfoList Props(FObject);
    for (int I = 0; I < PropList->Count(); ++I)
        LoadAnyProperty(Props.Find(PropList->Strings(I)));
}

AnsiString TPropsStorage::ComponentText(const TComponent* Component) const {
    if (!Component) return AnsiString();
    const TComponent* Owner = Component->Owner();
    if (!Owner || Owner == FOwner) return Component->Name();
    const AnsiString OwnerName = Owner->Name().empty() ? ShortClassName(Owner) : Owner->Name();
    return Format("%s.%s", OwnerName, Component->Name());
}

AnsiString TPropsStorage::ValueText(const TPropInfo* P) const {
    switch (P->Kind()) {
    case tkInteger:
    case tkInt64:
        return IntToStr(GetOrdProp(FObject, P));
    case tkChar:
    case tkWChar:
        return AnsiString(1, static_cast<char>(GetOrdProp(FObject, P)));
    case tkEnumeration:
        return GetEnumName(P->PropType, GetOrdProp(FObject, P));
    case tkFloat: {
        const AnsiString Text =
            FloatToStrF(GetFloatProp(FObject, P), ffGeneral, FloatPrecision(P->PropType), 0);
        return ReplaceChar(Text, FormatSettings().DecimalSeparator, '.');
    }
    case tkString:
    case tkLString:
    case tkWString:
        return GetStrProp(FObject, P);
    case tkSet:
        return SetToString(P->PropType, GetOrdProp(FObject, P), true);
    case tkVariant:
        return VarToStr(GetVariantProp(FObject, P));
    case tkClass:
        if (P->PropType->IsComponent)
            return ComponentText(static_cast<TComponent*>(GetObjectProp(FObject, P)));
        return AnsiString();
    default:
        return AnsiString();
    }
}

void TPropsStorage::ApplyText(const TPropInfo* P, const AnsiString& Text) {
    switch (P->Kind()) {
    case tkInteger:
        SetOrdProp(FObject, P, StrToIntDef(Text, 0));
        return;
    case tkInt64:
        SetOrdProp(FObject, P, StrToInt64Def(Text, 0));
        return;
    case tkChar:
    case tkWChar:
        SetOrdProp(FObject, P, Text.empty() ? 0 : static_cast<unsigned char>(Text[0]));
        return;
    case tkEnumeration: {
        const int Value = GetEnumValue(P->PropType, Text);
        if (Value >= 0) SetOrdProp(FObject, P, Value);
        return;
    }
    case tkFloat:
        // Raises on a malformed number, which leaves the property as it was.
        SetFloatProp(FObject, P,
                     StrToFloat(ReplaceChar(Text, '.', FormatSettings().DecimalSeparator)));
        return;
    case tkString:
    case tkLString:
    case tkWString:
        SetStrProp(FObject, P, Text);
        return;
    case tkSet:
        SetOrdProp(FObject, P, StringToSet(P->PropType, Text, true));
        return;
    case tkVariant:
        SetVariantProp(FObject, P, Variant(Text));
        return;
    default:
        return;
    }
}

void TPropsStorage::ApplyComponentText(const TPropInfo* P, const AnsiString& Text) {
    if (!GetObjectProp(FObject, P) || Text.empty()) return;
    if (SameText(Text, "(null)")) {
        SetObjectProp(FObject, P, nullptr);
        return;
    }
    TComponent* Found = nullptr;
    const std::size_t Dot = Text.find('.');
    if (Dot != AnsiString::npos) {
        if (TComponent* Root = FindOpenRoot(Text.substr(0, Dot)))
            Found = Root->FindComponent(Text.substr(Dot + 1));
    } else if (FOwner) {
        Found = FOwner->FindComponent(Text);
    }
    SetObjectProp(FObject, P, Found);
}

void TPropsStorage::StoreStrings(TStrings* Strings, const AnsiString& ASection) {
    EraseSection(ASection);
    if (Strings->Count() <= 0) return;
    WriteString(ASection, "Count", IntToStr(Strings->Count()));
    for (int I = 0; I < Strings->Count(); ++I)
        WriteString(ASection, Format("Item%d", I), Strings->Strings(I));
}

void TPropsStorage::LoadStrings(TStrings* Strings, const AnsiString& ASection) {
    const int Count = StrToIntDef(Trim(ReadString(ASection, "Count", "0")), 0);
    if (Count <= 0 || Count > MaxStoredLines) return;
    TStringList Lines;
    for (int I = 0; I < Count; ++I)
        Lines.Add(ReadString(ASection, Format("Item%d", I), AnsiString()));
    Strings->Assign(static_cast<const TStrings*>(&Lines));
}

void TPropsStorage::ForEachProperty(TObject* Object, const AnsiString& APrefix,
                                    const AnsiString& ASection,
                                    void (TPropsStorage::*Each)(const TPropInfo*)) {
    if (FDepth >= MaxDepth) return;
    std::unique_ptr<TPropsStorage> Nested(CreateStorage());
    Nested->FObject = Object;
    Nested->FOwner = FOwner;
    Nested->FPrefix = APrefix;
    Nested->FSection = ASection;
    Nested->FDepth = FDepth + 1;
    const TPropInfoList Props(Object);
    for (int I = 0; I < Props.Count(); ++I)
        (Nested.get()->*Each)(Props.Items(I));
}

void TPropsStorage::StoreAnyProperty(const TPropInfo* PropInfo) {
    if (!PropInfo || !FObject) return;
    const TTypeKind Kind = PropInfo->Kind();
    AnsiString Text;
    if (Kind == tkClass) {
        TObject* Held = GetObjectProp(FObject, PropInfo);
        if (!Held) return;
        if (PropInfo->PropType->IsComponent) {
            Text = ComponentText(static_cast<TComponent*>(Held));
        } else {
            const AnsiString ItemName = GetItemName(PropInfo->Name);
            const AnsiString SubSection = Format("%s.%s", FSection, ItemName);
            if (auto* Strings = dynamic_cast<TStrings*>(Held)) {
                StoreStrings(Strings, SubSection);
            } else if (auto* Collection = dynamic_cast<TCollection*>(Held)) {
                EraseSection(SubSection);
                WriteString(FSection, Format("%s.%s", ItemName, "Count"),
                            IntToStr(Collection->Count()));
                for (int I = 0; I < Collection->Count(); ++I)
                    ForEachProperty(Collection->Items(I), Format("Item%d", I) + sPropNameDelimiter,
                                    SubSection, &TPropsStorage::StoreAnyProperty);
            }
            ForEachProperty(Held, ItemName, FSection, &TPropsStorage::StoreAnyProperty);
            return;
        }
    } else {
        Text = ValueText(PropInfo);
    }
    if (Text.empty() && !IsStringKind(Kind) && Kind != tkWChar) return;
    WriteString(FSection, GetItemName(PropInfo->Name), Trim(Text));
}

void TPropsStorage::LoadAnyProperty(const TPropInfo* PropInfo) {
    if (!PropInfo || !FObject) return;
    try {
        const TTypeKind Kind = PropInfo->Kind();
        if (Kind == tkClass) {
            TObject* Held = GetObjectProp(FObject, PropInfo);
            if (!Held) return;
            const AnsiString ItemName = GetItemName(PropInfo->Name);
            if (PropInfo->PropType->IsComponent) {
                const AnsiString Default = ValueText(PropInfo);
                ApplyComponentText(PropInfo, Trim(ReadString(FSection, ItemName, Default)));
                return;
            }
            const AnsiString SubSection = Format("%s.%s", FSection, ItemName);
            if (auto* Strings = dynamic_cast<TStrings*>(Held)) {
                LoadStrings(Strings, SubSection);
            } else if (auto* Collection = dynamic_cast<TCollection*>(Held)) {
                const int Count =
                    StrToIntDef(Trim(ReadString(FSection, Format("%s.%s", ItemName, "Count"),
                                                IntToStr(Collection->Count()))),
                                Collection->Count());
                if (Count < 0 || Count > MaxStoredLines) return;
                Collection->BeginUpdate();
                struct TUpdateScope {
                    TCollection* C;
                    ~TUpdateScope() { C->EndUpdate(); }
                } Update{Collection};
                if (Count != Collection->Count()) {
                    Collection->Clear();
                    for (int I = 0; I < Count; ++I)
                        Collection->Add();
                }
                for (int I = 0; I < Collection->Count(); ++I)
                    ForEachProperty(Collection->Items(I), Format("Item%d", I) + sPropNameDelimiter,
                                    SubSection, &TPropsStorage::LoadAnyProperty);
            }
            ForEachProperty(Held, ItemName, FSection, &TPropsStorage::LoadAnyProperty);
            return;
        }
        const AnsiString Default = ValueText(PropInfo);
        AnsiString Text;
        if (!Default.empty() || IsStringKind(Kind) || Kind == tkWChar)
            Text = Trim(ReadString(FSection, GetItemName(PropInfo->Name), Default));
        ApplyText(PropInfo, Text);
    } catch (const std::exception&) {
        // A value that doesn't fit its property leaves it as it was.
    }
}

} // namespace formstore
