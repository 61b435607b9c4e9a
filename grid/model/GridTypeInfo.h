#pragma once
// Identifier tables of the grid's enumerations and sets, for the published
// properties of columns, rows, cells and the saved grid state.
#include "platform/classes/TypInfo.h"

namespace grid {

const TTypeInfo& AlignmentTypeInfo();
const TTypeInfo& HorzAlignmentTypeInfo();
const TTypeInfo& VertAlignmentTypeInfo();
const TTypeInfo& WordWrapTypeInfo();
const TTypeInfo& ControlTypeTypeInfo();
const TTypeInfo& ButtonTypeTypeInfo();
const TTypeInfo& DropDownStyleTypeInfo();
const TTypeInfo& DrawOptionTypeInfo();
const TTypeInfo& SpinOptionsTypeInfo();
const TTypeInfo& ColHeadingButtonTypeInfo();
const TTypeInfo& SortPictureTypeInfo();
const TTypeInfo& ReadOnlyTypeInfo();
const TTypeInfo& PropKindsTypeInfo();

} // namespace grid
