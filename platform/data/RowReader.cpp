#include "platform/data/RowReader.h"

#include "platform/data/DBExceptions.h"
#include "platform/data/SqlNumberText.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/StrUtils.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <sqlite3.h>

namespace {

// A connection stays on one thread: the column's value object is read
// without the column calls' per-call checks.
sqlite3_value* ValueOf(sqlite3_stmt* Statement, int Column) {
    return sqlite3_column_value(Statement, Column);
}

AnsiString TextOf(sqlite3_stmt* Statement, int Column) {
    sqlite3_value* Value = ValueOf(Statement, Column);
    const auto* Text = reinterpret_cast<const char*>(sqlite3_value_text(Value));
    return AnsiString(Text ? Text : "", static_cast<std::size_t>(sqlite3_value_bytes(Value)));
}

} // namespace

int TRowReader::ColumnCount() const {
    return sqlite3_column_count(FStatement);
}

AnsiString TRowReader::ColumnName(int Column) const {
    const char* Name = sqlite3_column_name(FStatement, Column);
    return Name ? Name : "";
}

bool TRowReader::IsNull(int Column) const {
    return sqlite3_value_type(ValueOf(FStatement, Column)) == SQLITE_NULL;
}

std::int64_t TRowReader::AsInt64(int Column) const {
    sqlite3_value* Value = ValueOf(FStatement, Column);
    switch (sqlite3_value_type(Value)) {
    case SQLITE_NULL:
        return 0;
    case SQLITE_INTEGER:
        return sqlite3_value_int64(Value);
    case SQLITE_FLOAT: {
        const double Real = sqlite3_value_double(Value);
        if (!std::isfinite(Real) || std::fabs(Real) > 9.2e18) NotA(Column, "an integer");
        return std::llrint(Real);
    }
    default: {
        std::int64_t Whole = 0;
        if (TryParseSqlInteger(TextOf(FStatement, Column), Whole)) return Whole;
        NotA(Column, "an integer");
    }
    }
}

int TRowReader::AsInteger(int Column) const {
    // An integer column, as nearly every one is, read with one look at it.
    sqlite3_value* Value = ValueOf(FStatement, Column);
    const std::int64_t Whole = sqlite3_value_type(Value) == SQLITE_INTEGER
                                   ? sqlite3_value_int64(Value)
                                   : AsInt64(Column);
    if (Whole < INT_MIN || Whole > INT_MAX) NotA(Column, "within the integer range");
    return static_cast<int>(Whole);
}

std::optional<int> TRowReader::AsOptionalInteger(int Column) const {
    sqlite3_value* Value = ValueOf(FStatement, Column);
    switch (sqlite3_value_type(Value)) {
    case SQLITE_NULL:
        return std::nullopt;
    case SQLITE_INTEGER: {
        const sqlite3_int64 Whole = sqlite3_value_int64(Value);
        if (Whole < INT_MIN || Whole > INT_MAX) NotA(Column, "within the integer range");
        return static_cast<int>(Whole);
    }
    default:
        return AsInteger(Column);
    }
}

double TRowReader::AsFloat(int Column) const {
    sqlite3_value* Value = ValueOf(FStatement, Column);
    switch (sqlite3_value_type(Value)) {
    case SQLITE_NULL:
        return 0.0;
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
        return sqlite3_value_double(Value);
    default: {
        double Value = 0.0;
        if (!TryParseSqlNumber(TextOf(FStatement, Column), Value)) NotA(Column, "a number");
        return Value;
    }
    }
}

AnsiString TRowReader::AsString(int Column) const {
    sqlite3_value* Value = ValueOf(FStatement, Column);
    switch (sqlite3_value_type(Value)) {
    case SQLITE_NULL:
        return AnsiString();
    case SQLITE_FLOAT:
        return FloatToStr(sqlite3_value_double(Value));
    default:
        return TextOf(FStatement, Column);
    }
}

void TRowReader::NotA(int Column, const char* Kind) const {
    DatabaseError("Value '" + TextOf(FStatement, Column) + "' of column '" + ColumnName(Column) +
                  "' is not " + Kind);
}
