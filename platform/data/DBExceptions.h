#pragma once
// The error every failure of the data layer raises: a statement the database
// refused, a connection that could not be made, a field or parameter that is
// not there, an operation the data set's state does not allow.
#include "platform/rtl/Exceptions.h"

RTL_DECLARE_EXCEPTION(EDatabaseError, Exception);
// A statement failed because of the database as a whole, not of the
// statement: the disk is full, the file is read-only or damaged, or reading
// or writing it failed. Every later write fails the same way until someone
// mends the cause, so a caller that works through many rows stops at the
// first rather than reporting each.
RTL_DECLARE_EXCEPTION(EDatabaseUnusable, EDatabaseError);

// Raises EDatabaseError with Message.
[[noreturn]] void DatabaseError(const AnsiString& Message);

// Raises EDatabaseUnusable with Message when SQLite's result code (primary
// or extended) is one of the database-wide failures above, else
// EDatabaseError.
[[noreturn]] void SqliteError(const AnsiString& Message, int ResultCode);
