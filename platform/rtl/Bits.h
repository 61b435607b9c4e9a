#pragma once
// TBits: a growable array of bits, all false until set. Writing past the end
// grows the array; reading past the end is an error.
#include "platform/rtl/Object.h"

#include <vector>

class TBits : public TObject {
public:
    AnsiString ClassName() const override { return "TBits"; }

    int Size() const { return static_cast<int>(FBits.size()); }
    // Bits that come back into range after a shrink read as false.
    void SetSize(int Value);

    // The Bits property: GetBit reads, SetBit writes (growing the array).
    bool GetBit(int Index) const;
    void SetBit(int Index, bool Value);
    bool Bits(int Index) const { return GetBit(Index); }
    bool operator[](int Index) const { return GetBit(Index); }

    // The index of the first false bit, or Size when every bit is set.
    int OpenBit() const;

private:
    std::vector<bool> FBits;
};
