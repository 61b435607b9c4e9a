#pragma once
// The error every failure of the data layer raises: a statement the database
// refused, a connection that could not be made, a field or parameter that is
// not there, an operation the data set's state does not allow.
#include "platform/rtl/Exceptions.h"

RTL_DECLARE_EXCEPTION(EDatabaseError, Exception);

// Raises EDatabaseError with Message.
[[noreturn]] void DatabaseError(const AnsiString& Message);
