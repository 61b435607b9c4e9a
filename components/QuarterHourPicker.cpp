#include "components/QuarterHourPicker.h"

#include "components/Palette.h"
#include "platform/classes/DesignRegistry.h"
#include "platform/classes/Publish.h"
#include "platform/gui/PublishedProps.h"

#include "platform/rtl/DateTime.h"

#include <cmath>

namespace components {

namespace {

constexpr double QuartersPerDay = 96.0;

// A time of day to the nearest quarter hour; a whole day reads as midnight.
double RoundToQuarterHour(double Time) {
    double Rounded = std::floor(QuartersPerDay * Time + 0.5) / QuartersPerDay;
    if (Rounded >= 1.0) Rounded = 0.0;
    return Rounded;
}

} // namespace

TCustomDateTimePicker::TCustomDateTimePicker(TComponent* AOwner) : TDateTimePicker(AOwner) {}

void TCustomDateTimePicker::SetDateTime(TDateTime Value) {
    TDateTimePicker::SetDateTime(Value);
    FPreviousValue = DateTime();
}

void TCustomDateTimePicker::Loaded() {
    TDateTimePicker::Loaded();
    FPreviousValue = DateTime();
}

void TCustomDateTimePicker::Change() {
    const TDateTime Value = DateTime();
    Word Year = 0, Month = 0, Day = 0, Hour = 0, Min = 0, Sec = 0, MSec = 0;
    DecodeDate(Value, Year, Month, Day);
    DecodeTime(Value, Hour, Min, Sec, MSec);
    Word PrevHour = 0, PrevMin = 0;
    DecodeTime(FPreviousValue, PrevHour, PrevMin, Sec, MSec);

    int H = Hour;
    int M = Min;
    // The picker's minute field wraps on its own (59 up to 0, 0 down to
    // 59) without touching the hour, so a one-minute step is read as a
    // step to the next or previous quarter hour, carrying into the hour.
    if (M == PrevMin + 1) {
        if (M < 15)
            M = 15;
        else if (M < 30)
            M = 30;
        else if (M < 45)
            M = 45;
        else {
            M = 0;
            H = (H + 1) % 24;
        }
    } else if (M == (PrevMin + 59) % 60) {
        if (M < 15)
            M = 0;
        else if (M < 30)
            M = 15;
        else if (M < 45)
            M = 30;
        else {
            M = 45;
            H = H == 0 ? 23 : H - 1;
        }
    }

    TDateTime Snapped = EncodeDate(Year, Month, Day);
    ReplaceTime(Snapped, RoundToQuarterHour(EncodeTime(H, M, 0, 0)));
    SetDateTime(Snapped);
    TDateTimePicker::Change();
}

void TCustomDateTimePicker::WndProc(TMessage& Message) {
    // An arrow held down, or Page Up/Down, asks for several minutes at
    // once; one minute at a time is what Change reads as a quarter hour.
    if (Message.Msg == WM_NOTIFY && Message.LParam != 0) {
        auto* Header = reinterpret_cast<NMHDR*>(Message.LParam);
        if (Header->code == UDN_DELTAPOS) {
            auto* UpDown = reinterpret_cast<NMUPDOWN*>(Header);
            if (UpDown->iDelta < 0)
                UpDown->iDelta = -1;
            else if (UpDown->iDelta > 0)
                UpDown->iDelta = 1;
        }
    }
    TDateTimePicker::WndProc(Message);
}

// ---- published properties and registration -----------------------------------------

namespace {

const TTypeInfo& DateTimeKindType() {
    static const TTypeInfo Info = MakeEnumType("TDateTimeKind", {"dtkDate", "dtkTime"});
    return Info;
}
const TTypeInfo& DateModeType() {
    static const TTypeInfo Info = MakeEnumType("TDTDateMode", {"dmComboBox", "dmUpDown"});
    return Info;
}

// The GUI layer does not publish the framework's picker, so the picker's
// settings are published here; the quarter-hour picker adds none of its
// own. Date and Time are each read keeping the other half.
const TPublished<TCustomDateTimePicker, TWinControl> PickerClass(
    "TCustomDateTimePicker",
    [](auto& C) {
        using TPicker = TCustomDateTimePicker;
        C.Property("Kind", &TPicker::Kind, &TPicker::SetKind, DateTimeKindType()).Default(dtkDate);
        C.Property("DateMode", &TPicker::DateMode, &TPicker::SetDateMode, DateModeType())
            .Default(dmComboBox);
        C.Property("ParseInput", &TPicker::ParseInput, &TPicker::SetParseInput).Default(false);
        C.Property(
            "Date", [](const TPicker& P) { return static_cast<double>(P.Date()); },
            [](TPicker& P, double Value) { P.SetDate(TDateTime(Value)); });
        C.Property(
            "Time", [](const TPicker& P) { return static_cast<double>(P.Time()); },
            [](TPicker& P, double Value) { P.SetTime(TDateTime(Value)); });
    },
    true);

} // namespace

namespace tcustomdatetimepicker {

void Register() {
    RegisterComponents(PalettePage, {GetClassInfo(typeid(TCustomDateTimePicker))});
}

} // namespace tcustomdatetimepicker

} // namespace components
