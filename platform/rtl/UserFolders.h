#pragma once
// Where the program keeps its settings: $BEACONMILL_CONFIG when set (tests
// point it at a scratch folder), else $XDG_CONFIG_HOME/beaconmill, else
// ~/.config/beaconmill. Read afresh on every call so a change of the
// environment takes effect at once.
#include "platform/rtl/AnsiString.h"

AnsiString ConfigFolder();

// Where the program keeps its data when nothing says otherwise:
// $XDG_DATA_HOME/beaconmill, else ~/.local/share/beaconmill.
AnsiString DataFolder();

// Creates the folder and any missing parents (0700). Raises EInOutError
// naming the folder when that fails.
void ForceConfigFolder(const AnsiString& Folder);
