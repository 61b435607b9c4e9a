#include "datamodules/format/DateSettings.h"

#include "platform/rtl/FormatSettings.h"

void ForceDateTimeSettings() {
    TFormatSettings& settings = FormatSettings();
    settings.TimeSeparator = ':';
    settings.LongTimeFormat = "hh:mm:ss";
    settings.ShortDateFormat = "yyyy/mm/dd";
}

TSlashDateSeparator::TSlashDateSeparator() : Previous(FormatSettings().DateSeparator) {
    FormatSettings().DateSeparator = '/';
}

TSlashDateSeparator::~TSlashDateSeparator() {
    FormatSettings().DateSeparator = Previous;
}
