#pragma once
// A month calendar the grid draws itself, and the date-time definition that
// drops it down (or pops it up) from a date-time cell: a click on a day or
// Enter picks the day, Escape cancels.
#include "grid/foundation/DateTimeDefs.h"
#include "platform/gui/CustomControl.h"

namespace grid {

class TgxMonthCalendar : public TCustomControl {
public:
    explicit TgxMonthCalendar(TComponent* AOwner);
    AnsiString ClassName() const override { return "TgxMonthCalendar"; }

    // The day marked; the month shown follows it.
    TDateTime Date() const { return FDate; }
    void SetDate(TDateTime Value);
    // The first day of the month shown.
    TDateTime MonthShown() const { return FMonth; }
    void ShowMonth(int Year, int Month);
    // The day under a client point; false over the title or empty places.
    bool DayAt(int X, int Y, TDateTime& Day) const;
    // Where a day of the shown month is drawn (empty for another month).
    TRect DayRect(TDateTime Day) const;

    TNotifyEvent OnSelect;
    TNotifyEvent OnCancel;

    static constexpr int CellWidth = 26;
    static constexpr int CellHeight = 18;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(Word& Key, TShiftState Shift) override;

private:
    void Pick();
    // Column of the first day of the shown month (Sunday first).
    int FirstColumn() const;

    TDateTime FDate = 0;
    TDateTime FMonth = 0;
};

class TgxCalendarDateTimeDef : public TgxDateTimeDefComponent {
public:
    explicit TgxCalendarDateTimeDef(TComponent* AOwner);
    AnsiString ClassName() const override { return "TgxCalendarDateTimeDef"; }

    TgxMonthCalendar* Calendar() const { return FCalendar; }
    TWinControl* GetControl() const override;
    void SetSelect(TNotifyEvent Value) override { FOnSelect = std::move(Value); }
    TNotifyEvent GetSelect() const override { return FOnSelect; }
    void SetCancel(TNotifyEvent Value) override { FOnCancel = std::move(Value); }
    TNotifyEvent GetCancel() const override { return FOnCancel; }
    // A date (a date variant); empty for none. Picking a day keeps the
    // time of day the value had.
    void SetDateTime(const Variant& Value) override { FDateTime = Value; }
    Variant GetDateTime() const override { return FDateTime; }
    void SetDateTimeDisplay(TgxDateTimeDisplay Value) override { FDisplay = Value; }
    TgxDateTimeDisplay GetDateTimeDisplay() const override { return FDisplay; }
    void SetPopupForm(bool Value) override { FPopupForm = Value; }
    bool GetPopupForm() const override { return FPopupForm; }
    // The calendar keeps no separate property object.
    void SetDateTimeProps(TgxDateTimeProps*) override {}
    TgxDateTimeProps* GetDateTimeProps() const override { return nullptr; }
    void Assign(TPersistent* Source) override;
    // Shows the month of the value (today's without one).
    void InitializeDisplay() override;
    // A dropped calendar leaves the keyboard with the grid, which hands it
    // the keys; a pop-up takes the focus.
    void InitializeFocus() override;

private:
    void DayPicked();

    TgxMonthCalendar* FCalendar; // owned as a component
    TNotifyEvent FOnSelect;
    TNotifyEvent FOnCancel;
    Variant FDateTime;
    TgxDateTimeDisplay FDisplay = dtDate;
    bool FPopupForm = false;
};

} // namespace grid
