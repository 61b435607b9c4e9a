#include "formstore/MinMax.h"

#include "platform/rtl/Exceptions.h"

namespace formstore::minmax_detail {

void EmptyList(const char* Routine) {
    throw ERangeError(AnsiString(Routine) + " needs at least one value");
}

} // namespace formstore::minmax_detail
