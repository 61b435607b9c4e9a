#include "grid/foundation/GridCommonVariant.h"
#include "platform/gui/Graphics.h"

#include <compare>
#include <vector>

namespace grid {

Variant ObjectToVariant(TObject* Object) {
    return VarFromObject(Object);
}

TObject* VariantToObject(const Variant& Value) {
    return VarToObject(Value);
}

Variant BitmapToVariant(TBitmap* Bitmap) {
    return VarFromObject(Bitmap);
}

TBitmap* VariantToBitmap(const Variant& Value) {
    // A number or a date in a picture cell is no bitmap; it must not fail
    // the cell's loading or painting.
    return dynamic_cast<TBitmap*>(Value.ObjectRef());
}

bool IsNumVar(const Variant& Value) {
    const TVarType Type = VarType(Value);
    return (Type >= varSmallint && Type <= varCurrency) || Type == varByte;
}

bool VariantEqual(const Variant& A, const Variant& B) {
    if (A.IsEmpty() || B.IsEmpty()) return A.IsEmpty() && B.IsEmpty();
    if (VarType(A) != VarType(B)) return false;
    if (A.IsNull()) return true;
    return A == B;
}

bool EqualPropValue(const Variant& A, const Variant& B) {
    if (VariantEqual(A, B)) return true;
    return VarType(A) != VarType(B) && IsNumVar(A) && IsNumVar(B) && A == B;
}

namespace {

// The elements of an array in storage order (the last index running
// fastest); a plain value is its own single element.
void Flatten(const Variant& Value, std::vector<Variant>& Out) {
    if (!Value.IsArray()) {
        Out.push_back(Value);
        return;
    }
    const int Dims = VarArrayDimCount(Value);
    std::vector<int> Index(Dims);
    for (int D = 0; D < Dims; ++D) {
        Index[D] = VarArrayLowBound(Value, D + 1);
        if (Index[D] > VarArrayHighBound(Value, D + 1)) return; // no elements
    }
    for (;;) {
        Out.push_back(VarArrayGet(Value, Index));
        int D = Dims - 1;
        while (D >= 0 && ++Index[D] > VarArrayHighBound(Value, D + 1)) {
            Index[D] = VarArrayLowBound(Value, D + 1);
            --D;
        }
        if (D < 0) return;
    }
}

int CompareArrays(const Variant& A, const Variant& B) {
    std::vector<Variant> EA, EB;
    Flatten(A, EA);
    Flatten(B, EB);
    const std::size_t N = std::min(EA.size(), EB.size());
    for (std::size_t I = 0; I < N; ++I)
        if (const int R = CompareVariant(EA[I], EB[I])) return R;
    if (EA.size() != EB.size()) return EA.size() < EB.size() ? -1 : 1;
    const int DA = A.IsArray() ? VarArrayDimCount(A) : 0;
    const int DB = B.IsArray() ? VarArrayDimCount(B) : 0;
    return DA < DB ? -1 : (DA > DB ? 1 : 0);
}

} // namespace

int CompareVariant(const Variant& A, const Variant& B) {
    // Empty and Null sort first on either side, so that the order stays an
    // order: Compare(x, Empty) is the opposite of Compare(Empty, x).
    if (A.IsEmpty() || B.IsEmpty()) return A.IsEmpty() ? (B.IsEmpty() ? 0 : -1) : 1;
    if (A.IsNull() || B.IsNull()) return A.IsNull() ? (B.IsNull() ? 0 : -1) : 1;
    if (A.IsArray() || B.IsArray()) return CompareArrays(A, B);
    const std::partial_ordering Order = A <=> B;
    if (Order == std::partial_ordering::less) return -1;
    if (Order == std::partial_ordering::equivalent) return 0;
    return 1;
}

} // namespace grid
