#pragma once
// Room for a text of many megabytes built in one piece (an export file).
#include "platform/rtl/AnsiString.h"

#include <cstddef>

// Reserves room for Size bytes in Text. A buffer that large is fresh
// memory each time, and the system backs it page by page as it is first
// written, 4 KB at a time; the room is asked to be backed by large pages
// instead, so that building the text does not stop at every page.
void ReserveLargeText(AnsiString& Text, std::size_t Size);
