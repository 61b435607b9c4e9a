#include "components/MonthCalendarEditor.h"

#include "components/Palette.h"
#include "platform/classes/DesignRegistry.h"

namespace components {

TDayOfWeekEditor::TDayOfWeekEditor(TPWCalendar* Calendar)
    : TPropertyEditor(
          TOrdinalProperty{[Calendar] { return static_cast<long long>(Calendar->StartOfWeek()); },
                           [Calendar](long long Value) {
                               Calendar->SetStartOfWeek(static_cast<DayOfWeek_t>(Value));
                           }}) {}

TPropertyAttributes TDayOfWeekEditor::GetAttributes() const {
    return TPropertyEditor::GetAttributes() << paValueList;
}

AnsiString TDayOfWeekEditor::GetValue() const {
    const long long Value = GetOrdValue();
    // A value no weekday has shows as its number rather than reading past
    // the names.
    if (Value < 0 || Value >= static_cast<long long>(DayOfWeekNames.size()))
        return std::to_string(Value);
    return DayOfWeekNames[static_cast<size_t>(Value)];
}

void TDayOfWeekEditor::SetValue(const AnsiString& Value) {
    for (size_t I = 0; I < DayOfWeekNames.size(); ++I)
        if (Value == DayOfWeekNames[I]) {
            SetOrdValue(static_cast<long long>(I));
            return;
        }
}

void TDayOfWeekEditor::GetValues(const TGetStrProc& Proc) const {
    for (const char* Name : DayOfWeekNames)
        Proc(Name);
}

namespace pwcalendar {

void Register() {
    const TClassInfo* Calendar = GetClassInfo(typeid(TPWCalendar));
    RegisterComponents(PalettePage, {Calendar});
    const TPropInfo* StartOfWeek = GetPropInfo(Calendar, "StartOfWeek");
    RegisterPropertyEditor(StartOfWeek->PropType, Calendar, "StartOfWeek",
                           [](TPersistent* Instance, const TPropInfo* PropInfo) {
                               return std::make_unique<TDayOfWeekEditor>(Instance, PropInfo);
                           });
}

} // namespace pwcalendar

} // namespace components
