#pragma once
// A column's or a cell's own font, copied from another: the copy runs under
// the part's lock, so it does not count as a change the user made to the
// part's font. The font is made on first need with OnChange as its handler.
#include "platform/gui/Graphics.h"

#include <memory>

namespace grid {

void CopyOwnFont(std::unique_ptr<TFont>& Font, int& Lock, TFont* Source, TNotifyEvent OnChange);

} // namespace grid
