#pragma once
// Where the program keeps its settings: $BEACONMILL_CONFIG when set (tests
// point it at a scratch folder), else $XDG_CONFIG_HOME/beaconmill, else
// ~/.config/beaconmill. Read afresh on every call so a change of the
// environment takes effect at once.
#include "platform/rtl/AnsiString.h"

AnsiString ConfigFolder();

// Creates the folder and any missing parents (0700). Raises EInOutError
// naming the folder when that fails.
void ForceConfigFolder(const AnsiString& Folder);
