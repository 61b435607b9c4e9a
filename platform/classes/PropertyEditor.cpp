#include "platform/classes/PropertyEditor.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Object.h"
#include "platform/rtl/Persistent.h"

TPropertyEditor::TPropertyEditor(TPersistent* Instance, const TPropInfo* PropInfo)
    : FProperty{
          [Instance, PropInfo] { return static_cast<long long>(GetOrdProp(Instance, PropInfo)); },
          [Instance, PropInfo](long long Value) { SetOrdProp(Instance, PropInfo, Value); }},
      FInstance(Instance), FPropInfo(PropInfo) {}

TPropertyAttributes TEnumProperty::GetAttributes() const {
    return TPropertyEditor::GetAttributes() << paValueList << paSortList;
}

AnsiString TEnumProperty::GetValue() const {
    return GetEnumName(GetPropInfo() ? GetPropInfo()->PropType : nullptr, GetOrdValue());
}

void TEnumProperty::SetValue(const AnsiString& Value) {
    const int Ordinal = GetEnumValue(GetPropInfo() ? GetPropInfo()->PropType : nullptr, Value);
    if (Ordinal < 0) throw EPropertyError("Invalid property value");
    SetOrdValue(Ordinal);
}

void TEnumProperty::GetValues(const TGetStrProc& Proc) const {
    if (!GetPropInfo() || !GetPropInfo()->PropType) return;
    for (const AnsiString& Name : GetPropInfo()->PropType->Names)
        Proc(Name);
}
