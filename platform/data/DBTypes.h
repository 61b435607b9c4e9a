#pragma once
// The enumerations the data layer shares with its callers.
#include "platform/classes/SmallSet.h"

#include <cstdint>

// The kind of value a field or parameter holds. The order is the framework's:
// code that maps a type onto another table of types relies on these names.
enum class TFieldType : std::uint8_t {
    ftUnknown,
    ftString,
    ftSmallint,
    ftInteger,
    ftWord,
    ftBoolean,
    ftFloat,
    ftCurrency,
    ftBCD,
    ftDate,
    ftTime,
    ftDateTime,
    ftBytes,
    ftVarBytes,
    ftAutoInc,
    ftBlob,
    ftMemo,
    ftGraphic,
    ftFmtMemo,
    ftParadoxOle,
    ftDBaseOle,
    ftTypedBinary,
    ftCursor,
    ftFixedChar,
    ftWideString,
    ftLargeint,
    ftADT,
    ftArray,
    ftReference,
    ftDataSet,
    ftOraBlob,
    ftOraClob,
    ftVariant,
    ftInterface,
    ftIDispatch,
    ftGuid,
};
using enum TFieldType;

// A data field reads a column of the result; a calculated field is filled by
// the data set's OnCalcFields handler.
enum class TFieldKind : std::uint8_t { fkData, fkCalculated };
using enum TFieldKind;

// dsCalcFields while OnCalcFields runs (the only time calculated fields may
// be written), dsFilter while a filter looks at a record, dsSetKey while a
// table's fields stand for the key of a range being set.
enum class TDataSetState : std::uint8_t { dsInactive, dsBrowse, dsCalcFields, dsFilter, dsSetKey };
using enum TDataSetState;

enum class TFilterOption : std::uint8_t { foCaseInsensitive, foNoPartialCompare };
using enum TFilterOption;
using TFilterOptions = SmallSet<TFilterOption>;
