#include "datamodules/format/DisplayText.h"

#include <algorithm>
#include <array>

namespace {

struct Disposition {
    const char* Name;
    TColor Colour;
};

constexpr std::array<Disposition, 7> Dispositions{{
    {"", clWhite},
    {"Ready", clWhite},
    {"On Time", clLime},
    {"Late", clRed},
    {"Done", clAqua},
    {"Scheduled", clFuchsia},
    {"Removed", clWhite},
}};

constexpr std::array<const char*, 10> WorkOrderStatuses{
    "Pending",   "Engineering", "Purchasing",   "Ready",    "Released",
    "Completed", "Shipped",     "Installation", "Invoiced", "Paid",
};

// The phone layouts expect exactly ten digits; any other text is shown as it
// was typed rather than cut up at the wrong places.
constexpr std::size_t PhoneDigits = 10;

// The first character of a UTF-8 text: its lead byte and the continuation
// bytes after it, so that an accented initial is not cut in half.
AnsiString FirstCharacter(const AnsiString& Text) {
    if (Text.empty()) return {};
    std::size_t length = 1;
    while (length < Text.size() && (static_cast<unsigned char>(Text[length]) & 0xC0) == 0x80)
        ++length;
    return Text.substr(0, length);
}

} // namespace

void DispositionName(int DispNbr, AnsiString& Name, bool WantColour, TColor& Colour) {
    if (DispNbr < 0 || DispNbr >= static_cast<int>(Dispositions.size())) return;
    Name = Dispositions[DispNbr].Name;
    if (WantColour) Colour = Dispositions[DispNbr].Colour;
}

void WorkOrderStatusName(int Status, AnsiString& Output) {
    if (Status >= 0 && Status < static_cast<int>(WorkOrderStatuses.size()))
        Output = WorkOrderStatuses[Status];
    else
        Output = "Bad Status";
}

void FormatPhoneByPreference(int PhonePreference, const AnsiString& Phone, AnsiString& Output) {
    switch (PhonePreference) {
    case 1:
        FormatPhoneNorthAmerican(Phone, Output);
        break;
    case 2:
        Output = Phone;
        break;
    case 3:
        FormatPhoneAreaTwo(Phone, Output);
        break;
    default:
        break;
    }
}

void FormatPhoneNorthAmerican(const AnsiString& Phone, AnsiString& Output) {
    if (Phone.size() != PhoneDigits) {
        Output = Phone;
        return;
    }
    Output = "(" + Phone.substr(0, 3) + ") " + Phone.substr(3, 3) + "-" + Phone.substr(6, 4);
}

void FormatPhoneAreaTwo(const AnsiString& Phone, AnsiString& Output) {
    if (Phone.size() != PhoneDigits) {
        Output = Phone;
        return;
    }
    Output = "(" + Phone.substr(0, 2) + ") " + Phone.substr(2, 4) + " " + Phone.substr(6, 4);
}

void TrimDecimalZeros(AnsiString& Number) {
    const std::size_t point = Number.find('.');
    if (point == AnsiString::npos) {
        Number += ".00";
        return;
    }
    // The first two decimals stay even when they are zeros.
    const std::size_t kept = std::min(Number.size(), point + 3);
    std::size_t end = Number.size();
    while (end > kept && Number[end - 1] == '0')
        --end;
    Number.resize(end);
}

void MakeInitials(const AnsiString& First, const AnsiString& Second, AnsiString& Output) {
    Output = FirstCharacter(First) + "." + FirstCharacter(Second) + ".";
}
