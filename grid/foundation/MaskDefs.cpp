#include "grid/foundation/MaskDefs.h"

#include "platform/classes/Publish.h"
#include "platform/gui/Dialogs.h"
#include "platform/rtl/StrUtils.h"

#include <algorithm>

namespace grid {

namespace {

bool IsStringVariant(const Variant& V) {
    const TVarType Type = V.Type() & varTypeMask;
    return Type == varString || Type == varOleStr;
}

} // namespace

// TgxMask

TgxMask::TgxMask(TCollection* Collection)
    : TgxMaskItem(Collection), FTextMask(std::make_unique<TgxTextMask>(this)),
      FTextCase(std::make_unique<TgxTextCase>(this)) {
    if (TgxMaskDefs* Defs = ParentComponent())
        FOnParseError = [Defs](TObject* Sender, const AnsiString& Message, bool& Raise) {
            Defs->DoParseError(Sender, Message, Raise);
        };
}

TgxMask::~TgxMask() = default;

TgxMaskDefs* TgxMask::ParentComponent() const {
    auto* Masks = dynamic_cast<TgxMaskCollection*>(Collection());
    return Masks ? Masks->MaskDefs() : nullptr;
}

void TgxMask::EndUpdate() {
    if (FUpdateCount > 0) --FUpdateCount;
    Changed();
}

void TgxMask::Changed() {
    if (FUpdateCount == 0) DoChange();
}

void TgxMask::DoChange() {
    if (FOnChange) FOnChange(this);
}

void TgxMask::SetAutoFill(TgxMaskChecks Value) {
    if (Value == FAutoFill) return;
    FAutoFill = Value;
    Changed();
}

void TgxMask::SetEvaluate(TgxMaskChecks Value) {
    if (Value == FEvaluate) return;
    FEvaluate = Value;
    Changed();
}

void TgxMask::CheckName(const AnsiString& Value) const {
    auto* Masks = dynamic_cast<TgxMaskCollection*>(Collection());
    if (!Masks) return;
    for (int I = 0; I < Masks->Count(); ++I) {
        const TgxMask* Other = Masks->Items(I);
        if (Other != this && AnsiSameText(Other->FName, Value))
            const_cast<TgxMask*>(this)->InvalidOp("Mask '" + Value +
                                                  "' already exists. Mask names must be unique");
    }
}

void TgxMask::SetName(const AnsiString& Value) {
    if (Value == FName) return;
    CheckName(Value);
    FName = Value;
    Changed();
}

void TgxMask::SetPicture(const AnsiString& Value) {
    try {
        FTextMask->SetPicture(Value);
    } catch (const EgxMaskError&) {
        // The picture is kept (and accepts every text) whether or not the
        // error goes on.
        FPicture = FTextMask->Picture();
        Changed();
        if (CheckRaise()) throw;
        return;
    }
    FPicture = FTextMask->Picture();
    Changed();
}

void TgxMask::SetTextCase(TgxTextCase* Value) {
    BeginUpdate();
    try {
        FTextCase->Assign(Value);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TgxMask::Assign(TPersistent* Source) {
    auto* Other = dynamic_cast<TgxMask*>(Source);
    if (!Other) {
        TgxMaskItem::Assign(Source);
        return;
    }
    BeginUpdate();
    try {
        SetAutoFill(Other->FAutoFill);
        SetEvaluate(Other->FEvaluate);
        SetName(Other->FName);
        SetTextCase(Other->FTextCase.get());
        SetPicture(Other->FPicture);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

bool TgxMask::ValidText(const AnsiString& Text, bool FullCompare) {
    if (!FPicture.empty() || (FTextCase->CaseType() != cstNone && !FTextCase->Optional()))
        return FTextMask->ValidText(Text, FullCompare);
    return true;
}

bool TgxMask::ValidInput(const AnsiString& Text, AnsiString& Input, int Caret, bool FullCompare,
                         bool InsertLiterals) {
    if (!FPicture.empty() || FTextCase->CaseType() != cstNone)
        return FTextMask->ValidInput(Text, Input, Caret, FullCompare, InsertLiterals);
    return true;
}

void TgxMask::InvalidOp(const AnsiString& Message) {
    if (TgxMaskDefs* Defs = ParentComponent()) throw EgxMaskError(Defs->Name() + ": " + Message);
    throw EgxMaskError(Message);
}

void TgxMask::DoParseError(const AnsiString& Message, bool& Raise) {
    Raise = true;
    if (FOnParseError) FOnParseError(this, Message, Raise);
}

bool TgxMask::CheckRaise() const {
    TgxMaskDefs* Defs = ParentComponent();
    if (!Defs) return true;
    return !(Defs->IsReading() && Defs->ComponentState().Contains(csDesigning));
}

// TgxMaskCollection

TgxMaskCollection::TgxMaskCollection(TgxMaskDefs* AOwner)
    : TCollection(CollectionItemClass<TgxMask>()), FOwner(AOwner) {}

TPersistent* TgxMaskCollection::GetOwner() const {
    return FOwner;
}

TgxMask* TgxMaskCollection::Add() {
    return static_cast<TgxMask*>(TCollection::Add());
}

TgxMask* TgxMaskCollection::Items(int Index) const {
    return static_cast<TgxMask*>(TCollection::Items(Index));
}

int TgxMaskCollection::NameIndex(const AnsiString& Name) const {
    for (int I = 0; I < Count(); ++I)
        if (AnsiSameText(Items(I)->GetName(), Name)) return I;
    return -1;
}

TgxMask* TgxMaskCollection::GetMask(const Variant& Key) const {
    if (IsStringVariant(Key)) {
        const int Index = NameIndex(Key.AsString());
        return Index >= 0 ? Items(Index) : nullptr;
    }
    return Items(Key.AsInteger());
}

void TgxMaskCollection::SetMask(const Variant& Key, TgxMask* Mask) {
    if (TgxMask* Found = GetMask(Key)) Found->Assign(Mask);
}

AnsiString TgxMaskCollection::FindUniqueName(const TCollectionItem* Item) const {
    int Number = Item->Index();
    while (NameIndex("Mask" + std::to_string(Number)) >= 0)
        ++Number;
    return "Mask" + std::to_string(Number);
}

void TgxMaskCollection::SetItemName(TCollectionItem* Item) {
    if (FOwner && FOwner->IsReading()) return;
    auto* Mask = static_cast<TgxMask*>(Item);
    AnsiString Name = "Mask" + std::to_string(Item->Index());
    const int Taken = NameIndex(Name);
    if (Taken >= 0 && Items(Taken) != Mask) Name = "Mask" + std::to_string(Item->ID());
    // The item is in the collection already: raising here would leave it
    // there without a name, so a name still taken gives way to a free one.
    const int StillTaken = NameIndex(Name);
    if (StillTaken >= 0 && Items(StillTaken) != Mask) Name = FindUniqueName(Item);
    Mask->SetName(Name);
}

void TgxMaskCollection::Update(TCollectionItem* Item) {
    if (FOwner) FOwner->Changed(static_cast<TgxMask*>(Item));
}

// TgxMaskDefs

TgxMaskDefs::TgxMaskDefs(TComponent* AOwner)
    : TgxMaskDefsComponent(AOwner), FMasks(std::make_unique<TgxMaskCollection>(this)) {
    FMasks->SetPropName("Masks");
}

TgxMaskDefs::~TgxMaskDefs() {
    Destroying();
    RemoveLinks();
    FMasks.reset();
}

void TgxMaskDefs::AddLink(TgxMaskLink* Link) {
    FLinks.push_back(Link);
    Link->FMaskDefs = this;
}

void TgxMaskDefs::RemoveLink(TgxMaskLink* Link) {
    Link->FMaskDefs = nullptr;
    const auto At = std::find(FLinks.begin(), FLinks.end(), Link);
    if (At != FLinks.end()) FLinks.erase(At);
}

bool TgxMaskDefs::IsLinked(TgxMaskLink* Link) const {
    return std::find(FLinks.begin(), FLinks.end(), Link) != FLinks.end();
}

void TgxMaskDefs::RemoveLinks() {
    // A link told of the end may let go of others: take them one by one
    // from the end of the list as it stands.
    while (!FLinks.empty()) {
        TgxMaskLink* Link = FLinks.back();
        RemoveLink(Link);
        Link->MaskDefsDeleted();
    }
}

TgxMaskItem* TgxMaskDefs::GetMask(const Variant& Key) const {
    return FMasks->GetMask(Key);
}

void TgxMaskDefs::SetMask(const Variant& Key, TgxMaskItem* Mask) {
    if (auto* Source = dynamic_cast<TgxMask*>(Mask)) FMasks->SetMask(Key, Source);
}

void TgxMaskDefs::Changed(TgxMask* Mask) {
    CheckErrorEvent(Mask);
    // A notified link may remove itself or another one: walk a copy and skip
    // whatever has left the list meanwhile.
    const std::vector<TgxMaskLink*> Snapshot = FLinks;
    for (TgxMaskLink* Link : Snapshot)
        if (IsLinked(Link)) Link->MaskChanged(Mask);
}

void TgxMaskDefs::CheckErrorEvent(TgxMask* Mask) {
    auto Handler = [this](TObject* Sender, const AnsiString& Message, bool& Raise) {
        DoParseError(Sender, Message, Raise);
    };
    if (Mask) {
        Mask->SetOnParseError(Handler);
        return;
    }
    for (int I = 0; I < FMasks->Count(); ++I)
        FMasks->Items(I)->SetOnParseError(Handler);
}

void TgxMaskDefs::DoParseError(TObject* /*Sender*/, const AnsiString& Message, bool& Raise) {
    Raise = true;
    if (IsReading()) {
        Raise = false;
        if (!ComponentState().Contains(csDesigning)) MessageDlg(Message, mtInformation, {mbOK}, 0);
    }
}

bool TgxMaskDefs::IsReading() const {
    return ComponentState().Contains(csReading);
}

// TgxMaskLink

TgxMaskLink::~TgxMaskLink() {
    SetMaskDefs(nullptr);
}

void TgxMaskLink::SetMaskDefs(TgxMaskDefsComponent* Value) {
    if (Value == FMaskDefs) return;
    if (FMaskDefs) FMaskDefs->RemoveLink(this);
    FMaskDefs = nullptr;
    if (Value) Value->AddLink(this);
}

TgxMaskItem* TgxMaskLink::GetMask(const AnsiString& Name) const {
    if (Name.empty() || !FMaskDefs) return nullptr;
    return FMaskDefs->GetMask(Variant(Name));
}

void TgxMaskLink::MaskChanged(TgxMaskItem*) {}

void TgxMaskLink::MaskDefsDeleted() {}

// TgoMaskEntry

AnsiString TgoMaskEntry::GetDisplayName() const {
    return Name + "     (" + Picture + ")";
}

AnsiString TgoMaskEntry::GetStorageText() const {
    return Name + "~" + Picture + "\r";
}

void TgoMaskEntry::SetStorageText(const AnsiString& Text) {
    const std::size_t Tilde = Text.find('~');
    if (Tilde == AnsiString::npos) {
        Name = Text;
        return;
    }
    Name = Text.substr(0, Tilde);
    Picture = Text.substr(Tilde + 1);
    if (!Picture.empty() && Picture.back() == '\r') Picture.pop_back();
}

namespace {

const TTypeInfo& MaskCheckType() {
    static const TTypeInfo Info = MakeEnumType("TgxMaskCheck", {"mcOnEdit", "mcOnExit"});
    return Info;
}

const TTypeInfo& MaskChecksType() {
    static const TTypeInfo Info = MakeSetType("TgxMaskChecks", MaskCheckType());
    return Info;
}

const TTypeInfo& CaseTypeType() {
    static const TTypeInfo Info =
        MakeEnumType("TgxCaseType", {"cstNone", "cstUpper", "cstLower", "cstSentence", "cstTitle"});
    return Info;
}

const TPublished<TgxTextCase, TPersistent> TextCaseClass("TgxTextCase", [](auto& C) {
    C.Property("CaseType", &TgxTextCase::CaseType, &TgxTextCase::SetCaseType, CaseTypeType())
        .Default(cstNone);
    C.Property("Optional", &TgxTextCase::Optional, &TgxTextCase::SetOptional).Default(false);
});

const TgxMaskChecks BothChecks{mcOnEdit, mcOnExit};

const TPublished<TgxMaskItem, TCollectionItem> MaskItemClass("TgxMaskItem", [](auto& C) {
    C.Property("AutoFill", &TgxMaskItem::GetAutoFill, &TgxMaskItem::SetAutoFill, MaskChecksType())
        .Default(BothChecks);
    C.Property("Evaluate", &TgxMaskItem::GetEvaluate, &TgxMaskItem::SetEvaluate, MaskChecksType())
        .Default(BothChecks);
    C.Property("Name", &TgxMaskItem::GetName, &TgxMaskItem::SetName);
    C.Property("Picture", &TgxMaskItem::GetPicture, &TgxMaskItem::SetPicture);
    C.Property("TextCase", &TgxMaskItem::GetTextCase, &TgxMaskItem::SetTextCase);
});

const TPublished<TgxMask, TgxMaskItem> MaskClass("TgxMask", [](auto&) {});

const TPublished<TgxMaskDefs, TComponent> MaskDefsClass(
    "TgxMaskDefs",
    [](auto& C) { C.Property("Masks", &TgxMaskDefs::Masks, &TgxMaskDefs::SetMasks); }, true);

} // namespace

} // namespace grid
