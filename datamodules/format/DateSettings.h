#pragma once
// The date and time shape the program writes into statements and display
// fields: "yyyy/mm/dd", "hh:mm:ss" with ':' between the parts. The shop
// database stores dates as text in exactly this form, so a date written or
// parsed with any other separator would compare wrongly or fail to read.

// Sets the time separator ':', the long time format "hh:mm:ss" and the short
// date format "yyyy/mm/dd" in the process-wide settings (they stay set).
void ForceDateTimeSettings();

// Holds the process-wide date separator at '/' for its lifetime and puts the
// previous one back afterwards, so that a date going to or coming from the
// database always has slashes while the rest of the program keeps the
// separator it was given.
class TSlashDateSeparator {
public:
    TSlashDateSeparator();
    ~TSlashDateSeparator();
    TSlashDateSeparator(const TSlashDateSeparator&) = delete;
    TSlashDateSeparator& operator=(const TSlashDateSeparator&) = delete;

private:
    char Previous;
};
