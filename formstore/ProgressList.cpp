#include "formstore/ProgressList.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"

#include <vector>

namespace formstore {

namespace {

struct TProgressProp {
    TProgressControlClass ControlClass;
    AnsiString MaxProp;
    AnsiString MinProp;
    AnsiString ProgressProp;
};

enum class TProgressProperty { Max, Min, Position };

std::vector<TProgressProp>& ProgressList() {
    static std::vector<TProgressProp> List;
    return List;
}

const TProgressProp* FindEntry(const TComponent* Control) {
    if (Control == nullptr) return nullptr;
    const auto& List = ProgressList();
    for (auto It = List.rbegin(); It != List.rend(); ++It)
        if (It->ControlClass.Includes(Control)) return &*It;
    return nullptr;
}

bool SetProgressProperty(TComponent* Control, TProgressProperty Which, int Value) {
    const TProgressProp* Entry = FindEntry(Control);
    if (Entry == nullptr) return false;
    const AnsiString& Name = Which == TProgressProperty::Max   ? Entry->MaxProp
                             : Which == TProgressProperty::Min ? Entry->MinProp
                                                               : Entry->ProgressProp;
    return Entry->ControlClass.SetProperty(Control, Name, Value);
}

const AnsiString& CheckName(const AnsiString& Name) {
    if (Name.size() > 63)
        throw EConvertError(Format("Property name '%s' is too long: at most 63 characters", Name));
    return Name;
}

} // namespace

bool SupportsProgressControl(const TComponent* Control) {
    return FindEntry(Control) != nullptr;
}

void RegisterProgressControl(const TProgressControlClass& AClass, const AnsiString& MaxPropName,
                             const AnsiString& MinPropName, const AnsiString& ProgressPropName) {
    ProgressList().push_back(
        {AClass, CheckName(MaxPropName), CheckName(MinPropName), CheckName(ProgressPropName)});
}

void UnRegisterProgressControl(const TProgressControlClass& AClass) {
    std::erase_if(ProgressList(), [&](const TProgressProp& Entry) {
        return Entry.ControlClass.InheritsFrom(AClass);
    });
}

bool SetProgressMax(TComponent* Control, int MaxValue) {
    return SetProgressProperty(Control, TProgressProperty::Max, MaxValue);
}

bool SetProgressMin(TComponent* Control, int MinValue) {
    return SetProgressProperty(Control, TProgressProperty::Min, MinValue);
}

bool SetProgressValue(TComponent* Control, int ProgressValue) {
    return SetProgressProperty(Control, TProgressProperty::Position, ProgressValue);
}

} // namespace formstore
