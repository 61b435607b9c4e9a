#pragma once
// The designer's view of one property: the value as text, an optional list
// of values to choose from, and a new value taken as text. An editor reaches
// an ordinal property through a getter and a setter: those of a published
// property (TypInfo.h), or any pair an editor of its own supplies.
// TEnumProperty edits an enumeration by its identifiers.
#include "platform/classes/SmallSet.h"
#include "platform/classes/TypInfo.h"
#include "platform/rtl/AnsiString.h"

#include <cstdint>
#include <functional>
#include <utility>

enum class TPropertyAttribute : std::uint8_t {
    paValueList,
    paSubProperties,
    paDialog,
    paMultiSelect,
    paAutoUpdate,
    paSortList,
    paReadOnly,
    paRevertable,
};
using enum TPropertyAttribute;
using TPropertyAttributes = SmallSet<TPropertyAttribute>;

using TGetStrProc = std::function<void(const AnsiString& S)>;

class TPersistent;

struct TOrdinalProperty {
    std::function<long long()> Get;
    std::function<void(long long)> Set;
};

class TPropertyEditor {
public:
    explicit TPropertyEditor(TOrdinalProperty Property) : FProperty(std::move(Property)) {}
    // Edits the published property PropInfo of Instance.
    TPropertyEditor(TPersistent* Instance, const TPropInfo* PropInfo);
    virtual ~TPropertyEditor() = default;

    // The property's name (empty for an editor built on a getter and setter).
    AnsiString GetName() const { return FPropInfo ? FPropInfo->Name : AnsiString(); }
    const TPropInfo* GetPropInfo() const { return FPropInfo; }
    TPersistent* GetComponent() const { return FInstance; }

    // A property can be set back to its inherited value.
    virtual TPropertyAttributes GetAttributes() const { return TPropertyAttributes{paRevertable}; }
    virtual AnsiString GetValue() const { return "(Unknown)"; }
    virtual void SetValue(const AnsiString&) {}
    // Lists the values a value-list property offers, one call each.
    virtual void GetValues(const TGetStrProc&) const {}

protected:
    long long GetOrdValue() const { return FProperty.Get(); }
    void SetOrdValue(long long Value) { FProperty.Set(Value); }

private:
    TOrdinalProperty FProperty;
    TPersistent* FInstance = nullptr;
    const TPropInfo* FPropInfo = nullptr;
};

// An enumeration by its identifiers: the list of them to choose from, the
// current one as the value; a text naming none raises EPropertyError
// "Invalid property value".
class TEnumProperty : public TPropertyEditor {
public:
    using TPropertyEditor::TPropertyEditor;
    TPropertyAttributes GetAttributes() const override;
    AnsiString GetValue() const override;
    void SetValue(const AnsiString& Value) override;
    void GetValues(const TGetStrProc& Proc) const override;
};
