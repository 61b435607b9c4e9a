#pragma once
// The one command-line switch the program knows: "/DEBUG" shows the grid
// of generated alerts.
#include "platform/rtl/AnsiString.h"

// Set by ScanCommandLine, read when the main window is shown.
extern bool DebugMode;

// An argument that begins with '/' and holds "/DEBUG" in any case.
bool IsDebugSwitch(const AnsiString& Arg);

// Sets DebugMode when any argument is the switch. The program's own path is
// not scanned: here every absolute path begins with '/'.
void ScanCommandLine();
