#pragma once
// Variant helpers of the grid: object references carried in a Variant, and
// the equality and order the grid uses for cell and property values.
#include "platform/rtl/Variant.h"

class TObject;
class TBitmap;

namespace grid {

// An integer Variant holding the object reference, and the reference back.
Variant ObjectToVariant(TObject* Object);
TObject* VariantToObject(const Variant& Value);
Variant BitmapToVariant(TBitmap* Bitmap);
// nullptr when the Variant holds no bitmap.
TBitmap* VariantToBitmap(const Variant& Value);

// Small integer, integer, single, double, currency and byte.
bool IsNumVar(const Variant& Value);

// Equal when both are Empty, or both Null, or of one type and equal by the
// Variant comparison; values of different types are never equal.
bool VariantEqual(const Variant& A, const Variant& B);
// VariantEqual, but two numbers of different numeric types compare by value.
bool EqualPropValue(const Variant& A, const Variant& B);

// -1, 0 or 1. Empty sorts before everything, then Null; arrays compare
// element by element in storage order, then by element count, then by
// dimension count (a plain value counts as an array of one element).
int CompareVariant(const Variant& A, const Variant& B);

} // namespace grid
