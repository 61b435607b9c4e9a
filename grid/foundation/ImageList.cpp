#include "grid/foundation/ImageList.h"
#include "grid/foundation/ImageListNames.h"

#include "platform/classes/Filer.h"
#include "platform/classes/Publish.h"
#include "platform/gui/PublishedProps.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <limits>
#include <random>
#include <set>

namespace grid {

namespace {

bool IsStringVariant(const Variant& V) {
    if (V.IsArray()) return false;
    const TVarType Type = V.Type() & varTypeMask;
    return Type == varString || Type == varOleStr;
}

// A new globally unique identifier in its braced text form.
AnsiString NewGUIDText() {
    std::random_device Device;
    std::array<unsigned, 16> B{};
    for (unsigned& Byte : B)
        Byte = Device() & 0xFFu;
    B[6] = (B[6] & 0x0Fu) | 0x40u; // random (version 4)
    B[8] = (B[8] & 0x3Fu) | 0x80u; // the standard variant
    char Text[40];
    std::snprintf(Text, sizeof Text,
                  "{%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X}", B[0],
                  B[1], B[2], B[3], B[4], B[5], B[6], B[7], B[8], B[9], B[10], B[11], B[12], B[13],
                  B[14], B[15]);
    return Text;
}

} // namespace

// TgxImageCollection

TgxImageCollection::TgxImageCollection(TgxImageList* AOwner)
    : TCollection(CollectionItemClass<TgxImage>()), FOwner(AOwner),
      FSetNames(std::make_unique<TStringList>()) {
    SetPropName("Images");
}

TgxImageCollection::~TgxImageCollection() {
    // The images go while the collection is still whole, without notices.
    BeginUpdate();
    Clear();
}

TPersistent* TgxImageCollection::GetOwner() const {
    return FOwner;
}

TgxImage* TgxImageCollection::Items(int Index) const {
    return static_cast<TgxImage*>(TCollection::Items(Index));
}

AnsiString TgxImageCollection::FreeImageName() const {
    std::set<long long> Taken;
    for (int I = 0; I < Count(); ++I)
        Taken.insert(ImageNameNumber(Items(I)->GetName()));
    long long Number = 1;
    while (Taken.count(Number) > 0)
        ++Number;
    return "Image" + std::to_string(Number);
}

TgxImage* TgxImageCollection::Add() {
    std::int32_t LastID = 0;
    for (int I = 0; I < Count(); ++I)
        LastID = std::max(LastID, Items(I)->GetID());
    if (LastID == std::numeric_limits<std::int32_t>::max())
        throw EListError(Format("Image identifier %d is the largest there can be.", LastID));
    const AnsiString Name = FreeImageName();
    auto* Image = static_cast<TgxImage*>(TCollection::Add());
    Image->SetID(LastID + 1);
    Image->SetRefName(Name);
    return Image;
}

TgxImage* TgxImageCollection::Insert(int Index) {
    if (Index < 0 || Index > Count())
        throw EListError(Format("List index out of bounds (%d)", Index));
    TgxImage* Image = Add();
    Image->SetIndex(Index);
    return Image;
}

int TgxImageCollection::NameIndex(const AnsiString& Text) const {
    const TgxImageName Wanted = SplitImageName(Text);
    for (int I = 0; I < Count(); ++I) {
        const TgxImage* Image = Items(I);
        if (SameImageText(Image->GetName(), Wanted.Name) &&
            SameImageText(Image->GetSetName(), Wanted.SetName))
            return I;
    }
    return -1;
}

int TgxImageCollection::IdIndex(std::int32_t ID) const {
    for (int I = 0; I < Count(); ++I)
        if (Items(I)->GetID() == ID) return I;
    return -1;
}

bool TgxImageCollection::IndexExists(const Variant& Index) const {
    if (Index.IsEmpty() || Index.IsNull()) return false;
    if (IsStringVariant(Index)) return NameIndex(Index.AsString()) != -1;
    std::int64_t Value = 0;
    try {
        Value = Index.AsInt64();
    } catch (const EVariantError&) {
        return false;
    }
    return Value >= 0 && Value < Count();
}

TgxImage* TgxImageCollection::GetTsImage(const Variant& Index) const {
    if (Count() == 0) return nullptr;
    if (IsStringVariant(Index)) {
        const AnsiString Name = Index.AsString();
        const int Found = NameIndex(Name);
        if (Found < 0) throw EListError(Format("Index '%s' not found in imagelist.", Name));
        return Items(Found);
    }
    // The same conversion as IndexExists, so an index it accepts is found.
    const std::int64_t Value = Index.AsInt64();
    if (Value < 0 || Value >= Count())
        throw EListError("Index (" + std::to_string(Value) + ") out of bounds.");
    return Items(static_cast<int>(Value));
}

void TgxImageCollection::SetTsImage(const Variant& Index, TgxImage* Image) {
    if (TgxImage* Found = GetTsImage(Index)) Found->Assign(Image);
}

Variant TgxImageCollection::GetNextIndex(const Variant& Index, int Step) const {
    if (Count() == 0) return Unassigned();
    const int Last = Count() - 1;
    if (IsStringVariant(Index)) {
        const AnsiString Name = Index.AsString();
        if (Name.empty()) return Variant(Step < 1 ? Last : 0);
        const int Start = NameIndex(Name);
        if (Start < 0) return Unassigned();
        const AnsiString Set = Items(Start)->GetSetName();
        int At = Start;
        do {
            At += Step;
            if (At > Last)
                At = 0;
            else if (At < 0)
                At = Last;
        } while (At != Start && Items(At)->GetSetName() != Set);
        return Variant(At);
    }
    if (!Index.IsArray() && VarTypeIsInteger(Index.Type())) {
        const std::int64_t Next = Index.AsInt64() + Step;
        if (Next >= Count()) return Variant(0);
        if (Next < 0) return Variant(Last);
        return Variant(static_cast<int>(Next));
    }
    return Unassigned();
}

void TgxImageCollection::Assign(TPersistent* Source) {
    TCollection::Assign(Source);
    auto* Other = dynamic_cast<TgxImageCollection*>(Source);
    if (Other && Other != this) FSetNames->Assign(Other->FSetNames.get());
}

void TgxImageCollection::Update(TCollectionItem* Item) {
    // An image still being built is not yet one to tell anybody about.
    if (FOwner) FOwner->Changed(dynamic_cast<TgxImage*>(Item));
}

// TgxImageList

TgxImageList::TgxImageList(TComponent* AOwner)
    : TgxImageListComponent(AOwner), FImages(std::make_unique<TgxImageCollection>(this)),
      FGUID(NewGUIDText()) {}

TgxImageList::~TgxImageList() {
    Destroying();
    RemoveLinks();
    FImages.reset();
}

void TgxImageList::AddLink(TgxImageLink* Link) {
    // A link hears from one list only: one still held by another list would
    // be left there, pointing at it, when this one lets it go.
    if (Link->FImageList && Link->FImageList != this) Link->FImageList->RemoveLink(Link);
    if (!IsLinked(Link)) FLinks.push_back(Link);
    Link->FImageList = this;
}

void TgxImageList::RemoveLink(TgxImageLink* Link) {
    if (Link->FImageList == this) Link->FImageList = nullptr;
    const auto At = std::find(FLinks.begin(), FLinks.end(), Link);
    if (At != FLinks.end()) FLinks.erase(At);
}

bool TgxImageList::IsLinked(TgxImageLink* Link) const {
    return std::find(FLinks.begin(), FLinks.end(), Link) != FLinks.end();
}

void TgxImageList::RemoveLinks() {
    // A link told of the end may let go of others: take them one by one
    // from the end of the list as it stands.
    while (!FLinks.empty()) {
        TgxImageLink* Link = FLinks.back();
        RemoveLink(Link);
        Link->ImageListDeleted();
    }
}

TgxImageItem* TgxImageList::GetImage(const Variant& Index) const {
    return FImages->GetTsImage(Index);
}

void TgxImageList::SetImage(const Variant& Index, TgxImageItem* Item) {
    if (auto* Image = dynamic_cast<TgxImage*>(Item)) FImages->SetTsImage(Index, Image);
}

int TgxImageList::IdIndex(std::int32_t ID) const {
    return FImages->IdIndex(ID);
}

bool TgxImageList::IndexExists(const Variant& Index) const {
    return FImages->IndexExists(Index);
}

int TgxImageList::NameIndex(const AnsiString& Text) const {
    return FImages->NameIndex(Text);
}

Variant TgxImageList::NextIndex(const Variant& Index) const {
    return FImages->NextIndex(Index);
}

Variant TgxImageList::PrevIndex(const Variant& Index) const {
    return FImages->PrevIndex(Index);
}

void TgxImageList::Assign(TPersistent* Source) {
    if (auto* Other = dynamic_cast<TgxImageList*>(Source)) {
        FImages->Assign(Other->FImages.get());
        return;
    }
    TgxImageListComponent::Assign(Source);
}

void TgxImageList::Clear() {
    RemoveLinks();
    FImages->Clear();
    FImages->SetNames()->Clear();
    FLinks.clear();
}

void TgxImageList::Changed(TgxImage* Image) {
    if (OnChange) OnChange(this, Image);
    // A notified link may remove itself or another one: walk a copy and skip
    // whatever has left the list meanwhile.
    const std::vector<TgxImageLink*> Snapshot = FLinks;
    for (TgxImageLink* Link : Snapshot)
        if (IsLinked(Link)) Link->ImageChanged(Image);
}

bool TgxImageList::IsReading() const {
    return ComponentState().Contains(csReading);
}

// TgxImageLink

TgxImageLink::~TgxImageLink() {
    SetImageList(nullptr);
}

void TgxImageLink::SetImageList(TgxImageListComponent* Value) {
    if (Value == FImageList) return;
    if (FImageList) FImageList->RemoveLink(this);
    FImageList = nullptr;
    if (Value) Value->AddLink(this);
}

TgxImageItem* TgxImageLink::GetTsImage(const Variant& Index) const {
    return FImageList ? FImageList->GetImage(Index) : nullptr;
}

void TgxImageLink::ImageChanged(TgxImageItem*) {}

void TgxImageLink::ImageListDeleted() {}

namespace {

// The list's identifier and its set names travel with the form even when
// the images alone would not tell them: a set may be empty for now.
const TPublished<TgxImageList, TComponent> ImageListClass(
    "TgxImageList",
    [](auto& C) {
        C.Property("Images", &TgxImageList::Images, &TgxImageList::SetImages);
        C.DefineProperties([](TgxImageList& Self, TFiler* Filer) {
            Filer->DefineProperty(
                "GUID", [&Self](TReader* Reader) { Self.SetGUID(Reader->ReadString()); },
                [&Self](TWriter* Writer) { Writer->WriteString(Self.GetGUID()); }, true);
            Filer->DefineProperty(
                "SetNames",
                [&Self](TReader* Reader) {
                    Self.Images()->SetNames()->SetText(Reader->ReadString());
                },
                [&Self](TWriter* Writer) {
                    Writer->WriteString(Self.Images()->SetNames()->Text());
                },
                Self.Images() != nullptr);
        });
    },
    true);

} // namespace

} // namespace grid
