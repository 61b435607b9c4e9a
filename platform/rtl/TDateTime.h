#pragma once
// A point in time: whole days since 1899-12-30, the time of day as the
// fraction. It converts to and from double freely, as the framework's does,
// so arithmetic in days reads naturally; being its own type lets Variant and
// overloads tell a date from a plain number.
class TDateTime {
public:
    constexpr TDateTime() = default;
    constexpr TDateTime(double value) : Val(value) {}
    constexpr operator double() const { return Val; }

    double Val = 0.0;
};

// Milliseconds in a day, the scheduler's unit of conversion.
inline constexpr double MSecsPerDay = 86400000.0;
inline constexpr int SecsPerDay = 86400;
inline constexpr int MinsPerDay = 1440;
inline constexpr int HoursPerDay = 24;
// Days between 0001-01-01 and 1899-12-30.
inline constexpr int DateDelta = 693594;
