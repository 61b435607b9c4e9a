#include "platform/rtl/FormatSettings.h"

TFormatSettings& FormatSettings() {
    static TFormatSettings settings;
    return settings;
}

void ResetFormatSettings() { FormatSettings() = TFormatSettings{}; }
