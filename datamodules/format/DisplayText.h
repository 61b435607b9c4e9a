#pragma once
// Names, phone numbers, decimal texts and initials for display.
#include "platform/gui/Colors.h"
#include "platform/rtl/AnsiString.h"

// The name of a job or work-order disposition and, when WantColour is set,
// its colour: 0 "" white, 1 "Ready" white, 2 "On Time" lime, 3 "Late" red,
// 4 "Done" aqua, 5 "Scheduled" fuchsia, 6 "Removed" white. An unknown number
// leaves both outputs as they were.
void DispositionName(int DispNbr, AnsiString& Name, bool WantColour, TColor& Colour);

// "Pending", "Engineering", ... "Paid" for 0..9, else "Bad Status".
void WorkOrderStatusName(int Status, AnsiString& Output);

// Preference 1 North American, 2 the text as it is, 3 two-digit area code;
// another preference leaves Output as it was.
void FormatPhoneByPreference(int PhonePreference, const AnsiString& Phone, AnsiString& Output);
// "5551234567" gives "(555) 123-4567".
void FormatPhoneNorthAmerican(const AnsiString& Phone, AnsiString& Output);
// "0212345678" gives "(02) 1234 5678".
void FormatPhoneAreaTwo(const AnsiString& Phone, AnsiString& Output);

// Drops trailing zeros after the second decimal ("12.5000" gives "12.50")
// and gives a text without a point two decimals ("12" gives "12.00").
void TrimDecimalZeros(AnsiString& Number);

// "J." + "S." from "John" and "Smith"; an empty text gives only its ".".
void MakeInitials(const AnsiString& First, const AnsiString& Second, AnsiString& Output);
