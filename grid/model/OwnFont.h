#pragma once
// A column's, row's or cell's own font, copied from another: the copy runs
// under the part's lock, so it does not count as a change the user made to
// the part's font. The font is made on first need with OnChange as its
// handler. The templates below are the font rules every such part follows;
// CopyIn copies a font into the part's own under its lock.
#include "platform/classes/Component.h"
#include "platform/gui/Graphics.h"

#include <memory>

namespace grid {

void CopyOwnFont(std::unique_ptr<TFont>& Font, int& Lock, TFont* Source, TNotifyEvent OnChange);

// The part takes a copy of Value, or drops its font for none; it follows
// its parent font exactly when it is left without one. False when Value is
// the part's own font already.
template <class Copy>
bool SetOwnFont(std::unique_ptr<TFont>& Font, bool& ParentFont, TFont* Value, Copy CopyIn) {
    if (Value && Value == Font.get()) return false;
    if (Value)
        CopyIn(Value);
    else
        Font.reset();
    ParentFont = !Font;
    return true;
}

// Following again, a part keeps an automatically created font up to date
// with Parent and drops any other; leaving, it takes a copy of Parent.
// False when nothing changed.
template <class Copy>
bool SwitchParentFont(std::unique_ptr<TFont>& Font, bool& ParentFont, bool Value, bool AutoCreate,
                      TFont* Parent, Copy CopyIn) {
    if (Value == ParentFont) return false;
    ParentFont = Value;
    if (Value && !(AutoCreate && Font))
        Font.reset();
    else
        CopyIn(Parent);
    return true;
}

// The part's font as a reader sees it: none while the grid writes a part
// that follows (nothing is stored); a copy of Parent made on demand while
// the grid reads or the part creates its font automatically; a left-over
// copy of a following part is dropped.
template <class Copy>
TFont* ReadOwnFont(std::unique_ptr<TFont>& Font, bool ParentFont, bool AutoCreate,
                   TComponentState State, TFont* Parent, Copy CopyIn) {
    if (State.Contains(csWriting) && ParentFont) return nullptr;
    if (!Font && (State.Contains(csReading) || AutoCreate)) {
        CopyIn(Parent);
        return Font.get();
    }
    if (Font && ParentFont && !AutoCreate && !State.Contains(csReading)) Font.reset();
    return Font.get();
}

} // namespace grid
