#pragma once
// The designer's view of one property: the value as text, an optional list
// of values to choose from, and a new value taken as text. An editor reaches
// an ordinal property through a getter and a setter, which stand in for the
// published-property information a designer would look the property up by.
#include "platform/classes/SmallSet.h"
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

struct TOrdinalProperty {
    std::function<long long()> Get;
    std::function<void(long long)> Set;
};

class TPropertyEditor {
public:
    explicit TPropertyEditor(TOrdinalProperty Property) : FProperty(std::move(Property)) {}
    virtual ~TPropertyEditor() = default;

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
};
