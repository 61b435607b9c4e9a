#pragma once
// Named pictures for grids: an image list component holds bitmaps found by
// index, by name or by "set.name", each with an identifier that never
// changes. Grids hold a link to the list and hear through it when an image
// changes or the list goes away.
#include "platform/classes/Collection.h"
#include "platform/classes/Component.h"
#include "platform/gui/Graphics.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/Variant.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace grid {

class TgxImage;
class TgxImageCollection;
class TgxImageList;
class TgxImageLink;

// The interface of an image.
class TgxImageItem : public TCollectionItem {
public:
    using TCollectionItem::TCollectionItem;
    AnsiString ClassName() const override { return "TgxImageItem"; }

    virtual TBitmap* GetBitmap() const = 0;
    virtual void SetBitmap(TBitmap* Value) = 0;
    virtual AnsiString GetName() const = 0;
    // Sets the name; "set.name" moves the image into that set as well.
    virtual void SetRefName(const AnsiString& Value) = 0;
    virtual AnsiString GetSetName() const = 0;
    virtual void SetSetName(const AnsiString& Value) = 0;
    virtual bool GetTransparent() const = 0;
    virtual void SetTransparent(bool Value) = 0;
    virtual TColor GetTransparentColor() const = 0;
    virtual void SetTransparentColor(TColor Value) = 0;
    virtual TTransparentMode GetTransparentMode() const = 0;
    virtual void SetTransparentMode(TTransparentMode Value) = 0;
    virtual std::int32_t GetID() const = 0;
};

class TgxImage : public TgxImageItem {
public:
    explicit TgxImage(TCollection* Collection);
    ~TgxImage() override;
    AnsiString ClassName() const override { return "TgxImage"; }

    TBitmap* GetBitmap() const override { return FBitmap.get(); }
    // A missing or empty bitmap is ignored; otherwise the image takes a copy.
    void SetBitmap(TBitmap* Value) override;
    AnsiString GetName() const override { return FName; }
    void SetRefName(const AnsiString& Value) override;
    AnsiString GetSetName() const override { return FSetName; }
    void SetSetName(const AnsiString& Value) override;
    bool GetTransparent() const override { return FTransparent; }
    void SetTransparent(bool Value) override;
    // With tmAuto the colour of the bitmap's bottom-left pixel.
    TColor GetTransparentColor() const override;
    void SetTransparentColor(TColor Value) override;
    TTransparentMode GetTransparentMode() const override { return FTransparentMode; }
    void SetTransparentMode(TTransparentMode Value) override;
    std::int32_t GetID() const override { return FID; }
    // The identifier as read back from stored form data.
    void SetID(std::int32_t Value) { FID = Value; }

    // Tells the collection (and so the list and its links) of the change,
    // unless an update of this image is open.
    virtual void Changed();

    // Copies another image, its name, set and identifier included.
    void Assign(TPersistent* Source) override;

    // The collection the image lies in, when it is an image collection.
    TgxImageCollection* ImageCollection() const;

private:
    class TUpdate;

    void ReplaceBitmap(TBitmap* Source);
    void BitmapChanged();
    bool IsReading() const;
    void AddSetName(const AnsiString& Set) const;
    // Raises when another image of the collection has Name in Set.
    void CheckUnique(const AnsiString& Name, const AnsiString& Set) const;

    std::unique_ptr<TBitmap> FBitmap;
    bool FTransparent = false;
    TColor FTransparentColor = clWhite;
    TTransparentMode FTransparentMode = tmAuto;
    AnsiString FName;
    AnsiString FSetName;
    int FUpdateCount = 0;
    std::int32_t FID = 0;
};

class TgxImageCollection : public TCollection {
public:
    explicit TgxImageCollection(TgxImageList* AOwner);
    ~TgxImageCollection() override;
    AnsiString ClassName() const override { return "TgxImageCollection"; }
    TPersistent* GetOwner() const override;
    TgxImageList* ImageList() const { return FOwner; }

    // A new image in the main set, named "Image<n>" with the smallest free
    // n, with the largest identifier so far plus 1.
    TgxImage* Add();
    // The same, placed at Index (0 to Count).
    TgxImage* Insert(int Index);
    TgxImage* Items(int Index) const;

    // "name" (main set) or "set.name", without regard to case and blanks;
    // -1 when absent.
    int NameIndex(const AnsiString& Text) const;
    int IdIndex(std::int32_t ID) const;
    // A string names an image; a number is an index.
    bool IndexExists(const Variant& Index) const;
    // nullptr when the collection is empty; EListError for a name or index
    // that does not exist.
    TgxImage* GetTsImage(const Variant& Index) const;
    void SetTsImage(const Variant& Index, TgxImage* Image);
    // The next (previous) image: after a name, the next one of the same
    // set; after a number, the next index; both wrap around.
    Variant NextIndex(const Variant& Index) const { return GetNextIndex(Index, 1); }
    Variant PrevIndex(const Variant& Index) const { return GetNextIndex(Index, -1); }

    void Assign(TPersistent* Source) override;

    // The set names in use, one a line.
    TStringList* SetNames() const { return FSetNames.get(); }

protected:
    void Update(TCollectionItem* Item) override;

private:
    Variant GetNextIndex(const Variant& Index, int Step) const;
    AnsiString FreeImageName() const;

    TgxImageList* FOwner;
    std::unique_ptr<TStringList> FSetNames;
};

// The list and the changed image, nullptr when several changed.
using TgxImageListOnChangeEvent = std::function<void(TObject* Sender, TgxImage* Image)>;

// The interface of an image list component.
class TgxImageListComponent : public TComponent {
public:
    using TComponent::TComponent;
    AnsiString ClassName() const override { return "TgxImageListComponent"; }

    virtual void AddLink(TgxImageLink* Link) = 0;
    virtual void RemoveLink(TgxImageLink* Link) = 0;
    virtual TgxImageItem* GetImage(const Variant& Index) const = 0;
    virtual void SetImage(const Variant& Index, TgxImageItem* Item) = 0;
    virtual AnsiString GetGUID() const = 0;
    virtual TgxImageCollection* GetImageCollection() const = 0;
    virtual int IdIndex(std::int32_t ID) const = 0;
    virtual bool IndexExists(const Variant& Index) const = 0;
    virtual int NameIndex(const AnsiString& Text) const = 0;
    virtual Variant NextIndex(const Variant& Index) const = 0;
    virtual Variant PrevIndex(const Variant& Index) const = 0;
};

class TgxImageList : public TgxImageListComponent {
public:
    explicit TgxImageList(TComponent* AOwner);
    ~TgxImageList() override;
    AnsiString ClassName() const override { return "TgxImageList"; }

    void AddLink(TgxImageLink* Link) override;
    void RemoveLink(TgxImageLink* Link) override;
    TgxImageItem* GetImage(const Variant& Index) const override;
    // Only an image of this kind can be stored.
    void SetImage(const Variant& Index, TgxImageItem* Item) override;
    AnsiString GetGUID() const override { return FGUID; }
    TgxImageCollection* GetImageCollection() const override { return FImages.get(); }
    int IdIndex(std::int32_t ID) const override;
    bool IndexExists(const Variant& Index) const override;
    int NameIndex(const AnsiString& Text) const override;
    Variant NextIndex(const Variant& Index) const override;
    Variant PrevIndex(const Variant& Index) const override;

    TgxImageCollection* Images() const { return FImages.get(); }
    void SetImages(TgxImageCollection* Value) { FImages->Assign(Value); }
    // The identifier as read back from stored form data.
    void SetGUID(const AnsiString& Value) { FGUID = Value; }

    TgxImageListOnChangeEvent OnChange;

    // Copies the images of another list.
    void Assign(TPersistent* Source) override;
    // Detaches every link (telling it), then drops the images and set names.
    void Clear();
    // Image (nullptr for several) has changed: the event, then every link.
    virtual void Changed(TgxImage* Image);

    int LinkCount() const { return static_cast<int>(FLinks.size()); }

    // Whether the list is being read from a form.
    bool IsReading() const;

private:
    void RemoveLinks();
    bool IsLinked(TgxImageLink* Link) const;

    std::unique_ptr<TgxImageCollection> FImages;
    std::vector<TgxImageLink*> FLinks;
    AnsiString FGUID;
};

// A user's handle on an image list.
class TgxImageLink : public TPersistent {
public:
    TgxImageLink() = default;
    ~TgxImageLink() override;
    TgxImageLink(const TgxImageLink&) = delete;
    TgxImageLink& operator=(const TgxImageLink&) = delete;
    AnsiString ClassName() const override { return "TgxImageLink"; }

    TgxImageListComponent* ImageList() const { return FImageList; }
    void SetImageList(TgxImageListComponent* Value);
    // The linked list's image; nullptr without a list.
    TgxImageItem* GetTsImage(const Variant& Index) const;

    // Image (nullptr for several) has changed.
    virtual void ImageChanged(TgxImageItem* Image);
    // The list is being destroyed or cleared; the link is already detached.
    virtual void ImageListDeleted();

private:
    friend class TgxImageList;
    TgxImageListComponent* FImageList = nullptr;
};

} // namespace grid
