#pragma once
// TPropsStorage: chosen published properties of a form's components as text
// values in a storage section, through three callbacks (read a string, write
// a string, erase a section) so that it owns no storage itself.
//
// Value names: a plain property P of component C in section S is "C_P"; an
// object held in P stores its own property Q as "C_PQ"; a string list goes
// to section "S.C_P" as "Count" and "Item0"...; a collection keeps its count
// as "C_P.Count" in S and item i's property Q as "Item<i>_Q" in "S.C_P"; a
// component reference is the component's name, with its form's name and "."
// in front when it is on another form.
//
// The stored list (TFormStorage::StoredProps) holds lines "Component.Property"
// whose objects are the components they name.
#include "platform/classes/TypInfo.h"
#include "platform/rtl/AnsiString.h"
#include "platform/rtl/Object.h"

#include <functional>
#include <vector>

class TComponent;
class TStrings;
class TStringList;

namespace formstore {

inline constexpr char sPropNameDelimiter[] = "_";

using TReadStrEvent = std::function<AnsiString(const AnsiString& ASection, const AnsiString& Item,
                                               const AnsiString& Default)>;
using TWriteStrEvent = std::function<void(const AnsiString& ASection, const AnsiString& Item,
                                          const AnsiString& Value)>;
using TEraseSectEvent = std::function<void(const AnsiString& ASection)>;

// The published properties of one object, all kinds but events.
class TPropInfoList : public TObject {
public:
    explicit TPropInfoList(const TObject* AObject);
    AnsiString ClassName() const override { return "TPropInfoList"; }

    int Count() const { return static_cast<int>(FList.size()); }
    const TPropInfo* Items(int Index) const { return FList.at(static_cast<std::size_t>(Index)); }
    const TPropInfo* Get(int Index) const { return Items(Index); }
    // A property of the same type and (ignoring case) name.
    bool Contains(const TPropInfo* P) const;
    // By name ignoring case; nullptr when absent.
    const TPropInfo* Find(const AnsiString& AName) const;
    void Delete(int Index);
    // Keeps only the properties List contains too.
    void Intersect(const TPropInfoList* List);

private:
    std::vector<const TPropInfo*> FList;
};

class TPropsStorage : public TObject {
public:
    TPropsStorage();
    AnsiString ClassName() const override { return "TPropsStorage"; }

    TObject* AObject() const { return FObject; }
    void SetAObject(TObject* Value) { FObject = Value; }
    const AnsiString& Prefix() const { return FPrefix; }
    void SetPrefix(const AnsiString& Value) { FPrefix = Value; }
    const AnsiString& Section() const { return FSection; }
    void SetSection(const AnsiString& Value) { FSection = Value; }

    TReadStrEvent OnReadString;
    TWriteStrEvent OnWriteString;
    TEraseSectEvent OnEraseSection;

    // Every property named in StoredList of the components of AComponent.
    // Loading never raises: a value that doesn't fit leaves its property.
    void StoreObjectsProps(TComponent* AComponent, TStrings* StoredList);
    void LoadObjectsProps(TComponent* AComponent, TStrings* StoredList);
    // The named properties of AObject under Prefix in Section (names not
    // found are skipped).
    void StoreProperties(TStrings* PropList);
    void LoadProperties(TStrings* PropList);
    // One property; nullptr does nothing.
    void StoreAnyProperty(const TPropInfo* PropInfo);
    void LoadAnyProperty(const TPropInfo* PropInfo);

protected:
    virtual AnsiString ReadString(const AnsiString& ASection, const AnsiString& Item,
                                  const AnsiString& Default);
    virtual void WriteString(const AnsiString& ASection, const AnsiString& Item,
                             const AnsiString& Value);
    virtual void EraseSection(const AnsiString& ASection);
    // Prefix + APropName.
    virtual AnsiString GetItemName(const AnsiString& APropName) const;
    // A storage for a nested object, sharing the callbacks.
    virtual TPropsStorage* CreateStorage();

private:
    // The text of a plain property, and applying one.
    AnsiString ValueText(const TPropInfo* PropInfo) const;
    void ApplyText(const TPropInfo* PropInfo, const AnsiString& Text);
    AnsiString ComponentText(const TComponent* Component) const;
    void ApplyComponentText(const TPropInfo* PropInfo, const AnsiString& Text);
    // Each (store or load) for the property of each stored line.
    void ForEachStoredItem(TComponent* AComponent, TStrings* StoredList,
                           void (TPropsStorage::*Each)(const TPropInfo*));
    // Each for every published property of Object, through a nested storage.
    void ForEachProperty(TObject* Object, const AnsiString& APrefix, const AnsiString& ASection,
                         void (TPropsStorage::*Each)(const TPropInfo*));
    void StoreStrings(TStrings* Strings, const AnsiString& ASection);
    void LoadStrings(TStrings* Strings, const AnsiString& ASection);

    TObject* FObject = nullptr;
    TComponent* FOwner = nullptr;
    AnsiString FPrefix;
    AnsiString FSection;
    int FDepth = 0;
};

// "Component.Property", or "" when either is empty.
AnsiString CreateStoredItem(const AnsiString& CompName, const AnsiString& PropName);
// Splits at the first "." into trimmed names; true when both are there.
bool ParseStoredItem(const AnsiString& Item, AnsiString& CompName, AnsiString& PropName);
// From the last line to the first: lines that don't parse go; FromForm binds
// each line to the form's component of its name (dropping the line when
// there is none), otherwise each bound line takes its component's current
// name and unbound lines go.
void UpdateStoredList(TComponent* AForm, TStrings* AStoredList, bool FromForm);
// The stored list brought up to date, then a sorted list of the bound
// component names each holding its TPropInfoList; nullptr on failure.
TStringList* CreateInfoList(TComponent* AComponent, TStrings* StoredList);
void FreeInfoLists(TStrings* Info);

} // namespace formstore
