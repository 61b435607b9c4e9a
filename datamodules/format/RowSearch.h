#pragma once
// Finding a row of a short list (a type list, say) by the number in one of
// its fields.
#include "platform/rtl/AnsiString.h"

class TDataSet;

// Opens DataSet when it is closed and walks it from the first row. At the
// first row whose field FieldName equals Value it returns the row's 0-based
// position and leaves the cursor there, so that the caller can read the
// row's other fields; with no such row it returns -99 with the cursor at the
// end. A NULL in the field matches nothing; an unknown field name raises
// EDatabaseError.
int FindRowIndexByValue(TDataSet* DataSet, const AnsiString& FieldName, int Value);
