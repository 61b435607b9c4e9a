#include "grid/foundation/ImageList.h"
#include "grid/foundation/ImageListNames.h"

#include "platform/classes/Filer.h"
#include "platform/classes/Publish.h"
#include "platform/gui/PublishedProps.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/StrUtils.h"

namespace grid {

// Holds the image's change notices back for a scope; whoever opened it
// decides whether to report afterwards.
class TgxImage::TUpdate {
public:
    explicit TUpdate(TgxImage& Image) : FImage(Image) { ++FImage.FUpdateCount; }
    ~TUpdate() { --FImage.FUpdateCount; }
    TUpdate(const TUpdate&) = delete;
    TUpdate& operator=(const TUpdate&) = delete;

private:
    TgxImage& FImage;
};

TgxImage::TgxImage(TCollection* Collection) : TgxImageItem(Collection) {
    TUpdate Update(*this);
    FBitmap = std::make_unique<TBitmap>();
    FBitmap->OnChange = [this](TObject*) { BitmapChanged(); };
}

TgxImage::~TgxImage() {
    FBitmap.reset();
}

TgxImageCollection* TgxImage::ImageCollection() const {
    return dynamic_cast<TgxImageCollection*>(Collection());
}

bool TgxImage::IsReading() const {
    const TgxImageCollection* Images = ImageCollection();
    return Images && Images->ImageList() && Images->ImageList()->IsReading();
}

void TgxImage::Changed() {
    if (FUpdateCount == 0 && Collection()) TCollectionItem::Changed(false);
}

void TgxImage::BitmapChanged() {
    FTransparentMode = FBitmap->TransparentMode();
    FTransparentColor = FBitmap->TransparentColor();
    FTransparent = FBitmap->Transparent();
    Changed();
}

void TgxImage::ReplaceBitmap(TBitmap* Source) {
    // The copy is made whole before the old bitmap goes, so a failed copy
    // leaves the picture as it was (and Source may be the old bitmap).
    auto Copy = std::make_unique<TBitmap>();
    Copy->Assign(Source);
    Copy->OnChange = [this](TObject*) { BitmapChanged(); };
    FBitmap = std::move(Copy);
    BitmapChanged();
}

void TgxImage::SetBitmap(TBitmap* Value) {
    if (!Value || Value->Empty()) return;
    {
        TUpdate Update(*this);
        ReplaceBitmap(Value);
    }
    Changed();
}

TColor TgxImage::GetTransparentColor() const {
    if (FTransparentMode == tmAuto && !FBitmap->Empty())
        return FBitmap->Canvas()->Pixels(0, FBitmap->Height() - 1);
    return FTransparentColor;
}

// The bitmap's own notice would report each of these a second time; the
// setters report once, after the bitmap has taken the value.
void TgxImage::SetTransparent(bool Value) {
    FTransparent = Value;
    {
        TUpdate Update(*this);
        FBitmap->SetTransparent(Value);
    }
    Changed();
}

void TgxImage::SetTransparentColor(TColor Value) {
    FTransparentColor = Value;
    {
        TUpdate Update(*this);
        FBitmap->SetTransparentColor(Value);
    }
    Changed();
}

void TgxImage::SetTransparentMode(TTransparentMode Value) {
    FTransparentMode = Value;
    {
        TUpdate Update(*this);
        FBitmap->SetTransparentMode(Value);
    }
    FTransparentColor = FBitmap->TransparentColor();
    Changed();
}

void TgxImage::AddSetName(const AnsiString& Set) const {
    TgxImageCollection* Images = ImageCollection();
    if (!Set.empty() && Images && Images->SetNames()->IndexOf(Set) < 0)
        Images->SetNames()->Add(Set);
}

void TgxImage::CheckUnique(const AnsiString& Name, const AnsiString& Set) const {
    const TgxImageCollection* Images = ImageCollection();
    if (!Images) return;
    // Another image is any other object: copies share identifiers, so the
    // identifier can't tell two images apart.
    for (int I = 0; I < Images->Count(); ++I) {
        const TgxImage* Other = Images->Items(I);
        if (Other == this || !SameImageText(Other->FName, Name) ||
            !SameImageText(Other->FSetName, Set))
            continue;
        if (Trim(Set).empty())
            throw EListError(Format("Name '%s' already exists in main set.", Name));
        throw EListError(Format("Name '%s' already exists in set '%s'.", Name, Set));
    }
}

void TgxImage::SetRefName(const AnsiString& Value) {
    if (IsReading()) {
        FName = Value;
        return;
    }
    const TgxImageName Parts = SplitImageName(Value);
    const AnsiString Set = Parts.HasSet ? Parts.SetName : Trim(FSetName);
    if (Parts.Name == Trim(FName) && Set == Trim(FSetName)) return;
    CheckUnique(Parts.Name, Set);
    FName = Parts.Name;
    FSetName = Set;
    AddSetName(Set);
    Changed();
}

void TgxImage::SetSetName(const AnsiString& Value) {
    if (IsReading()) {
        FSetName = Value;
        AddSetName(Value);
        return;
    }
    const AnsiString Set = Trim(Value);
    if (SameImageText(Set, FSetName)) return;
    CheckUnique(FName, Set);
    FSetName = Set;
    AddSetName(Set);
    Changed();
}

void TgxImage::Assign(TPersistent* Source) {
    auto* Other = dynamic_cast<TgxImage*>(Source);
    if (!Other) {
        TgxImageItem::Assign(Source);
        return;
    }
    {
        TUpdate Update(*this);
        ReplaceBitmap(Other->FBitmap.get());
        AddSetName(Other->FSetName);
        // Taken as they stand: a copy is the same image, not a rename.
        FSetName = Other->FSetName;
        FName = Other->FName;
        FID = Other->FID;
        SetTransparent(Other->FTransparent);
        SetTransparentColor(Other->FTransparentColor);
        SetTransparentMode(Other->FTransparentMode);
    }
    Changed();
}

namespace {

const TTypeInfo& TransparentModeType() {
    static const TTypeInfo Info = MakeEnumType("TTransparentMode", {"tmAuto", "tmFixed"});
    return Info;
}

const TPublished<TgxImageItem, TCollectionItem> ImageItemClass("TgxImageItem", [](auto& C) {
    C.Property("Bitmap", &TgxImageItem::GetBitmap, &TgxImageItem::SetBitmap);
    C.Property("Name", &TgxImageItem::GetName, &TgxImageItem::SetRefName);
    C.Property("SetName", &TgxImageItem::GetSetName, &TgxImageItem::SetSetName)
        .Stored([](const TgxImageItem& I) { return !I.GetSetName().empty(); });
    C.Property("Transparent", &TgxImageItem::GetTransparent, &TgxImageItem::SetTransparent)
        .Default(false);
    // With tmAuto the colour comes from the picture; setting it would fix it.
    C.Property("TransparentColor", &TgxImageItem::GetTransparentColor,
               &TgxImageItem::SetTransparentColor)
        .Stored([](const TgxImageItem& I) { return I.GetTransparentMode() == tmFixed; });
    C.Property("TransparentMode", &TgxImageItem::GetTransparentMode,
               &TgxImageItem::SetTransparentMode, TransparentModeType())
        .Default(tmAuto);
});

// The identifier is always written: a grid refers to the image by it.
const TPublished<TgxImage, TgxImageItem> ImageClass("TgxImage", [](auto& C) {
    C.DefineProperties([](TgxImage& Self, TFiler* Filer) {
        Filer->DefineProperty(
            "ID", [&Self](TReader* Reader) { Self.SetID(Reader->ReadInteger()); },
            [&Self](TWriter* Writer) { Writer->WriteInteger(Self.GetID()); }, true);
    });
});

} // namespace

} // namespace grid
