#pragma once
// TRowReader: the current row of a statement as the engine hands it over,
// for reads that walk a result once and keep none of it (TQuery::ReadRows).
// Nothing is copied into records or fields: each getter reads the column
// where it is. A NULL reads as 0, 0.0 or the empty text, as a field's typed
// getters give it; IsNull is the explicit test.
#include "platform/rtl/AnsiString.h"

#include <cstdint>
#include <optional>

struct sqlite3_stmt;

class TRowReader {
public:
    explicit TRowReader(sqlite3_stmt* Statement) : FStatement(Statement) {}

    int ColumnCount() const;
    // The column's name as the result gives it.
    AnsiString ColumnName(int Column) const;

    bool IsNull(int Column) const;
    // A real is rounded (halves to even); a text must hold a number. A value
    // outside the integer range, or a text that is no number, raises
    // EDatabaseError naming the value and the column.
    int AsInteger(int Column) const;
    std::int64_t AsInt64(int Column) const;
    // As AsInteger, but NULL gives no value: one read of the column for both.
    std::optional<int> AsOptionalInteger(int Column) const;
    // A text must hold a number ('.' decimals), else EDatabaseError.
    double AsFloat(int Column) const;
    // A real in the program's number form, as a string field shows it.
    AnsiString AsString(int Column) const;

private:
    [[noreturn]] void NotA(int Column, const char* Kind) const;

    sqlite3_stmt* FStatement;
};
