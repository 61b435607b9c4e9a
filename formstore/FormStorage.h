#pragma once
// TFormStorage: a form placement that also keeps named free values
// (StoredValues) and chosen properties (StoredProps) in the placement's
// section, saved right after the placement and restored right after it.
#include "formstore/FormPlacement.h"

#include "platform/classes/Collection.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/Variant.h"

#include <functional>
#include <memory>

namespace formstore {

class TFormStorage;
class TStoredValue;

// The handler may change the value on its way to or from the storage.
using TStoredValueEvent = std::function<void(TStoredValue* Sender, Variant& Value)>;

// One named value. Its text goes to the storage as it is, or, with a
// KeyString, scrambled with it into hexadecimal text. A restored value is a
// string unless OnRestore converts it.
class TStoredValue : public TCollectionItem {
public:
    explicit TStoredValue(TCollection* Collection) : TCollectionItem(Collection) {}
    AnsiString ClassName() const override { return "TStoredValue"; }

    // From another TStoredValue: value, name and key; anything else is ignored.
    void Assign(TPersistent* Source) override;
    AnsiString GetDisplayName() const override;
    // A name another value of the collection has (ignoring case) raises
    // "String list does not allow duplicates" and keeps the old name.
    void SetDisplayName(const AnsiString& Value) override;

    const AnsiString& Name() const { return FName; }
    void SetName(const AnsiString& Value) { SetDisplayName(Value); }
    const Variant& Value() const { return FValue; }
    void SetValue(const Variant& Value) { FValue = Value; }
    const AnsiString& KeyString() const { return FKeyString; }
    void SetKeyString(const AnsiString& Value) { FKeyString = Value; }
    void Clear() { FValue = Variant(); }

    virtual void Save();
    virtual void Restore();

    TStoredValueEvent OnSave;
    TStoredValueEvent OnRestore;

private:
    TFormStorage* Storage() const;

    AnsiString FName;
    Variant FValue;
    AnsiString FKeyString;
};

class TStoredValues : public TOwnedCollection {
public:
    explicit TStoredValues(TPersistent* AOwner);
    AnsiString ClassName() const override { return "TStoredValues"; }

    TFormStorage* Storage() const { return FStorage; }
    void SetStorage(TFormStorage* Value) { FStorage = Value; }

    TStoredValue* Items(int Index) const;
    TStoredValue* Add();
    // The first value of that name, ignoring case; -1 / nullptr when none.
    int IndexOf(const AnsiString& Name) const;
    TStoredValue* GetValue(const AnsiString& Name) const;
    // Assigns Item to the value of that name; nothing when there is none.
    void SetValue(const AnsiString& Name, TStoredValue* Item);
    // The named value, or Null when there is none.
    Variant GetStoredValue(const AnsiString& Name) const;
    // Sets the named value, adding it when there is none.
    void SetStoredValue(const AnsiString& Name, const Variant& Value);

    virtual void SaveValues();
    virtual void RestoreValues();

private:
    TFormStorage* FStorage = nullptr;
};

class TFormStorage : public TFormPlacement {
public:
    explicit TFormStorage(TComponent* AOwner);
    ~TFormStorage() override;
    AnsiString ClassName() const override { return "TFormStorage"; }

    // Lines of "component.property"; each line's object is the component.
    TStringList* StoredProps() const { return FStoredProps.get(); }
    void SetStoredProps(TStrings* Value);
    TStoredValues* StoredValues() const { return FStoredValues.get(); }
    void SetStoredValues(TStoredValues* Value) { FStoredValues->Assign(Value); }
    Variant GetStoredValue(const AnsiString& Name) const;
    void SetStoredValue(const AnsiString& Name, const Variant& Value);

    // Binds the StoredProps lines to the form's components, dropping lines
    // that name none.
    void Loaded() override;
    // Rewrites the lines with their components' current names first.
    void WriteState(TWriter* Writer) override;

    void SavePlacement() override;
    void RestorePlacement() override;
    // The StoredProps properties, in the placement's section. Errors while
    // saving reach the caller; errors while restoring are swallowed.
    virtual void SaveProperties();
    virtual void RestoreProperties();

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    std::unique_ptr<TStringList> FStoredProps;
    std::unique_ptr<TStoredValues> FStoredValues;
};

} // namespace formstore
