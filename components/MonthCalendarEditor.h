#pragma once
// TDayOfWeekEditor: the designer's editor of a calendar's StartOfWeek,
// which offers the weekday names "Sun" .. "Sat".
#include "components/MonthCalendar.h"
#include "platform/classes/PropertyEditor.h"

namespace components {

class TDayOfWeekEditor : public TPropertyEditor {
public:
    using TPropertyEditor::TPropertyEditor;
    // Edits StartOfWeek of Calendar.
    explicit TDayOfWeekEditor(TPWCalendar* Calendar);

    TPropertyAttributes GetAttributes() const override;
    // The name of the ordinal value.
    AnsiString GetValue() const override;
    // One of the names stores its ordinal; any other text is ignored.
    void SetValue(const AnsiString& Value) override;
    void GetValues(const TGetStrProc& Proc) const override;
};

namespace pwcalendar {
// Puts the calendar on the palette page "Pellworth" and installs
// TDayOfWeekEditor for its StartOfWeek.
void Register();
} // namespace pwcalendar

} // namespace components
