#pragma once
// Temporary files for message parts read from a server.
#include "platform/rtl/AnsiString.h"

namespace mail {

// The system's temporary folder ($TMPDIR, else /tmp) with a trailing '/'.
AnsiString TempDirectory();

// Creates a new, empty file with a unique name beginning "Mxt" in
// ADirectory (the temporary folder when empty) and returns its path. The
// file is made exclusively and readable by its owner only, so no other user
// can slip a file or a link in under the name. EMxException on failure.
AnsiString MakeTempFileName(const AnsiString& ADirectory = AnsiString());

} // namespace mail
