#pragma once
// A date-time picker whose time keeps to quarter hours: a step of the
// minutes up or down moves to the next or previous quarter hour, and any
// other change of the value is rounded to the nearest quarter hour with the
// seconds dropped.
#include "platform/gui/ComCtrls.h"
#include "platform/rtl/TDateTime.h"

namespace components {

class TCustomDateTimePicker : public ::TDateTimePicker {
public:
    explicit TCustomDateTimePicker(TComponent* AOwner);
    AnsiString ClassName() const override { return "TCustomDateTimePicker"; }

    // A value set in code is also the one the operator's next step starts
    // from, so that the first arrow step after it is read as a step.
    void SetDateTime(TDateTime Value) override;

    void Loaded() override;
    void WndProc(TMessage& Message) override;

protected:
    void Change() override;

private:
    // The value as it was before the operator's change.
    TDateTime FPreviousValue;
};

namespace tcustomdatetimepicker {
// Puts the unit's components on the palette page "Pellworth".
void Register();
} // namespace tcustomdatetimepicker

} // namespace components
