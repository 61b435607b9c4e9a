#include "formstore/ProgressList.h"

#include "platform/gui/ComCtrls.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/StrUtils.h"

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

// The framework's progress bar, with its published Max, Min and Position
// (property names are matched without case, as published names are).
TProgressProp ProgressBarEntry() {
    auto Write = [](TProgressBar& Bar, const AnsiString& Name, int Value) {
        if (SameText(Name, "Max"))
            Bar.SetMax(Value);
        else if (SameText(Name, "Min"))
            Bar.SetMin(Value);
        else if (SameText(Name, "Position"))
            Bar.SetPosition(Value);
        else
            return false;
        return true;
    };
    return {ProgressControlClass<TProgressBar>(Write), "Max", "Min", "Position"};
}

// Made on first use with the progress bar's entry.
std::vector<TProgressProp>& ProgressList() {
    static std::vector<TProgressProp> List{ProgressBarEntry()};
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
