#pragma once
// A selection of whole columns or rows by display position: a bit per
// position with the running count and the first and last selected position,
// so that asking, walking and counting stay cheap on large grids. Position 0
// (the heading row or the row-bar column) is never selected.
#include "platform/rtl/Bits.h"

#include <cstdint>

namespace grid {

class TgxSelection : public TObject {
public:
    TgxSelection() = default;
    AnsiString ClassName() const override { return "TgxSelection"; }

    int GetSize() const { return FBits.Size(); }
    // Shrinking forgets the positions cut off; new positions are unselected.
    void SetSize(int Size);
    // False outside 1 .. size-1.
    bool GetSelected(int Index) const;
    // Ignored outside 1 .. size-1.
    void SetSelected(int Index, bool Selected);
    // The lowest selected position above Index, or -1.
    int Next(int Index) const;
    // The highest selected position below Index, or -1.
    int Previous(int Index) const;
    // Selected positions between A and B inclusive, in either order.
    int RangeCount(int A, int B) const;
    void Reset();
    // Takes Source's size and bits; true when any bit changed.
    virtual bool Assign(const TgxSelection& Source);

    int Count() const { return FCount; }
    int First() const { return FFirst; }
    int Last() const { return FLast; }

private:
    TBits FBits;
    int FFirst = -1;
    int FLast = -1;
    int FCount = 0;
};

} // namespace grid
