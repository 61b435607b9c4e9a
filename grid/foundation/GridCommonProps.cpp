#include "grid/foundation/GridCommonProps.h"

#include "grid/foundation/GridCommonText.h"
#include "platform/rtl/StringList.h"

namespace grid {

TPropList GetPropertyList(const TObject* Object, TTypeKinds Kinds) {
    TPropList Result;
    for (const TPropInfo* Prop : GetPropList(Object))
        if (Kinds.Contains(Prop->Kind())) Result.push_back(Prop);
    return Result;
}

void FreePropertyList(TPropList& List) {
    List.clear();
    List.shrink_to_fit();
}

void AssignPropertyValue(const TPropInfo* Property, TObject* Destination, const TObject* Source) {
    if (!Property || !Destination || !Source) return;
    const TPropInfo* Target = GetPropInfo(Destination, Property->Name);
    if (!Target || Target->Kind() != Property->Kind() || !Target->Writable()) return;
    switch (Property->Kind()) {
    case tkInteger:
    case tkChar:
    case tkEnumeration:
    case tkSet:
    case tkWChar:
    case tkInt64:
        SetOrdProp(Destination, Target, GetOrdProp(Source, Property));
        return;
    case tkClass:
        SetObjectProp(Destination, Target, GetObjectProp(Source, Property));
        return;
    case tkFloat:
        SetFloatProp(Destination, Target, GetFloatProp(Source, Property));
        return;
    case tkString:
    case tkLString:
    case tkWString:
        SetStrProp(Destination, Target, GetStrProp(Source, Property));
        return;
    case tkVariant:
        SetVariantProp(Destination, Target, GetVariantProp(Source, Property));
        return;
    default: // events and kinds without a value to copy
        return;
    }
}

void AssignNameValue(const AnsiString& Name, TObject* Destination, const TObject* Source) {
    if (!Source) return;
    AssignPropertyValue(GetPropInfo(Source, Name), Destination, Source);
}

void AssignObject(TObject* Destination, const TObject* Source, const AnsiString& Exclusions) {
    if (!Destination || !Source) return;
    const std::unique_ptr<TStringList> Excluded = CreateStringList(Exclusions);
    for (const TPropInfo* Prop : GetPropList(Source)) {
        if (Prop->Kind() == tkMethod || StringInList(Prop->Name, Excluded.get())) continue;
        AssignPropertyValue(Prop, Destination, Source);
    }
}

} // namespace grid
