#pragma once
// One column a connection has defined for the engine.
#include "reportconn/RPTypes.h"

#include <cstdint>
#include <optional>

namespace reportconn {

// A value the engine filters a column on: text for string columns, else
// the number the wire carries for the column's type.
struct TRPFilterValue {
    AnsiString Text;
    std::int64_t Whole = 0; // integer, Boolean, currency, BCD, int64
    double Real = 0.0;      // float, date, time, date-time
};

class TDataConnectFieldDef {
public:
    AnsiString FieldName;
    TRPDataType DataType = dtString;
    // False when an alias hides the column: it is not listed and takes no
    // value slot, but values still step over it.
    bool Included = true;
    // Slot among the included columns.
    int OutputIndex = 0;
    std::optional<TRPFilterValue> FilterValue;
};

} // namespace reportconn
