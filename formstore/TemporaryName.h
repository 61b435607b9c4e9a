#pragma once
// Names for files made beside another file and renamed over it at the end.
#include "platform/rtl/AnsiString.h"

namespace formstore {

// A hidden name in Path's folder that this process has not given before:
// ".<name>.<process id>.<count>.tmp". The caller makes the file with an
// exclusive create and asks again when the name is taken.
AnsiString TemporaryNameBeside(const AnsiString& Path);

} // namespace formstore
