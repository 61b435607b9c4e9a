#pragma once
// Masks defined once, by name, in a definitions component, and found by
// grids and edit boxes through links that hear when the definitions change
// or go away.
#include "grid/foundation/TextMask.h"
#include "platform/classes/Collection.h"
#include "platform/classes/Component.h"
#include "platform/classes/SmallSet.h"
#include "platform/rtl/Variant.h"

#include <functional>
#include <memory>
#include <vector>

namespace grid {

enum class TgxMaskCheck : std::uint8_t { mcOnEdit, mcOnExit };
using enum TgxMaskCheck;
using TgxMaskChecks = SmallSet<TgxMaskCheck>;

// Sender, message, and whether the error is to be raised.
using TgxParseErrorEvent =
    std::function<void(TObject* Sender, const AnsiString& Message, bool& Raise)>;

class TgxMaskDefs;

// The interface of a mask.
class TgxMaskItem : public TCollectionItem {
public:
    using TCollectionItem::TCollectionItem;
    AnsiString ClassName() const override { return "TgxMaskItem"; }

    virtual TgxMaskChecks GetAutoFill() const = 0;
    virtual void SetAutoFill(TgxMaskChecks Value) = 0;
    virtual TgxMaskChecks GetEvaluate() const = 0;
    virtual void SetEvaluate(TgxMaskChecks Value) = 0;
    virtual AnsiString GetName() const = 0;
    virtual void SetName(const AnsiString& Value) = 0;
    virtual AnsiString GetPicture() const = 0;
    virtual void SetPicture(const AnsiString& Value) = 0;
    virtual TgxTextCase* GetTextCase() const = 0;
    virtual void SetTextCase(TgxTextCase* Value) = 0;
    virtual TNotifyEvent GetOnChange() const = 0;
    virtual void SetOnChange(TNotifyEvent Value) = 0;
    virtual TgxParseErrorEvent GetOnParseError() const = 0;
    virtual void SetOnParseError(TgxParseErrorEvent Value) = 0;
    virtual bool ValidText(const AnsiString& Text, bool FullCompare) = 0;
    virtual bool ValidInput(const AnsiString& Text, AnsiString& Input, int Caret, bool FullCompare,
                            bool InsertLiterals) = 0;
};

class TgxMask : public TgxMaskItem, public TgxMaskOwner {
public:
    explicit TgxMask(TCollection* Collection);
    ~TgxMask() override;
    AnsiString ClassName() const override { return "TgxMask"; }

    TgxMaskChecks GetAutoFill() const override { return FAutoFill; }
    void SetAutoFill(TgxMaskChecks Value) override;
    TgxMaskChecks GetEvaluate() const override { return FEvaluate; }
    void SetEvaluate(TgxMaskChecks Value) override;
    AnsiString GetName() const override { return FName; }
    void SetName(const AnsiString& Value) override;
    AnsiString GetPicture() const override { return FPicture; }
    void SetPicture(const AnsiString& Value) override;
    TgxTextCase* GetTextCase() const override { return FTextCase.get(); }
    void SetTextCase(TgxTextCase* Value) override;
    TNotifyEvent GetOnChange() const override { return FOnChange; }
    void SetOnChange(TNotifyEvent Value) override { FOnChange = std::move(Value); }
    TgxParseErrorEvent GetOnParseError() const override { return FOnParseError; }
    void SetOnParseError(TgxParseErrorEvent Value) override { FOnParseError = std::move(Value); }
    bool ValidText(const AnsiString& Text, bool FullCompare) override;
    bool ValidInput(const AnsiString& Text, AnsiString& Input, int Caret, bool FullCompare,
                    bool InsertLiterals) override;

    // The definitions component when the mask lies in its collection.
    virtual TgxMaskDefs* ParentComponent() const;
    void Changed() override;
    virtual void DoChange();

    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();

    void Assign(TPersistent* Source) override;
    AnsiString GetDisplayName() const override { return FName; }

    [[noreturn]] void InvalidOp(const AnsiString& Message) override;
    void DoParseError(const AnsiString& Message, bool& Raise) override;
    // False while the definitions are being read from a form at design time.
    bool CheckRaise() const;

    TgxTextMask* TextMask() const { return FTextMask.get(); }

private:
    void CheckName(const AnsiString& Value) const;

    std::unique_ptr<TgxTextMask> FTextMask;
    TgxMaskChecks FAutoFill{mcOnEdit, mcOnExit};
    TgxMaskChecks FEvaluate{mcOnEdit, mcOnExit};
    int FUpdateCount = 0;
    AnsiString FName;
    AnsiString FPicture;
    std::unique_ptr<TgxTextCase> FTextCase;
    TNotifyEvent FOnChange;
    TgxParseErrorEvent FOnParseError;
};

class TgxMaskLink;

// The interface of a definitions component.
class TgxMaskDefsComponent : public TComponent {
public:
    using TComponent::TComponent;
    AnsiString ClassName() const override { return "TgxMaskDefsComponent"; }

    virtual void RemoveLink(TgxMaskLink* Link) = 0;
    virtual void AddLink(TgxMaskLink* Link) = 0;
    // By name (a string Variant) or by index (any other Variant).
    virtual TgxMaskItem* GetMask(const Variant& Key) const = 0;
    virtual void SetMask(const Variant& Key, TgxMaskItem* Mask) = 0;
};

class TgxMaskCollection : public TCollection {
public:
    explicit TgxMaskCollection(TgxMaskDefs* AOwner);
    AnsiString ClassName() const override { return "TgxMaskCollection"; }
    TPersistent* GetOwner() const override;
    TgxMaskDefs* MaskDefs() const { return FOwner; }

    TgxMask* Add();
    TgxMask* Items(int Index) const;
    // A string Variant finds by name (without case), nullptr when absent;
    // any other Variant is an index (checked).
    TgxMask* GetMask(const Variant& Key) const;
    int NameIndex(const AnsiString& Name) const;
    void SetMask(const Variant& Key, TgxMask* Mask);
    AnsiString FindUniqueName(const TCollectionItem* Item) const;

protected:
    void SetItemName(TCollectionItem* Item) override;
    void Update(TCollectionItem* Item) override;

private:
    TgxMaskDefs* FOwner;
};

class TgxMaskDefs : public TgxMaskDefsComponent {
public:
    explicit TgxMaskDefs(TComponent* AOwner);
    ~TgxMaskDefs() override;
    AnsiString ClassName() const override { return "TgxMaskDefs"; }

    void RemoveLink(TgxMaskLink* Link) override;
    void AddLink(TgxMaskLink* Link) override;
    TgxMaskItem* GetMask(const Variant& Key) const override;
    void SetMask(const Variant& Key, TgxMaskItem* Mask) override;

    TgxMaskCollection* Masks() const { return FMasks.get(); }
    void SetMasks(TgxMaskCollection* Value) { FMasks->Assign(Value); }
    int LinkCount() const { return static_cast<int>(FLinks.size()); }

    // Mask (or nullptr for all of them) has changed: re-attach the
    // parse-error handler and tell every link.
    virtual void Changed(TgxMask* Mask);
    void CheckErrorEvent(TgxMask* Mask);
    void DoParseError(TObject* Sender, const AnsiString& Message, bool& Raise);

    // Whether the component is being read from a form.
    bool IsReading() const;

private:
    void RemoveLinks();
    bool IsLinked(TgxMaskLink* Link) const;

    std::unique_ptr<TgxMaskCollection> FMasks;
    std::vector<TgxMaskLink*> FLinks;
};

// A user's handle on a definitions component.
class TgxMaskLink : public TPersistent {
public:
    TgxMaskLink() = default;
    ~TgxMaskLink() override;
    AnsiString ClassName() const override { return "TgxMaskLink"; }

    TgxMaskDefsComponent* MaskDefs() const { return FMaskDefs; }
    void SetMaskDefs(TgxMaskDefsComponent* Value);
    // nullptr for an empty name or without definitions.
    TgxMaskItem* GetMask(const AnsiString& Name) const;

    // Mask (or nullptr for all) has changed.
    virtual void MaskChanged(TgxMaskItem* Mask);
    // The definitions are being destroyed; the link is already detached.
    virtual void MaskDefsDeleted();

private:
    friend class TgxMaskDefs;
    TgxMaskDefsComponent* FMaskDefs = nullptr;
};

// A predefined mask as listed to a user and as stored in a text.
class TgoMaskEntry {
public:
    AnsiString Name;
    AnsiString Picture;

    AnsiString GetDisplayName() const;
    AnsiString GetStorageText() const;
    void SetStorageText(const AnsiString& Text);
};

} // namespace grid
