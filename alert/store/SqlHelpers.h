#pragma once
// Text values going into statements built with format strings.
#include "platform/rtl/AnsiString.h"

// The value as one SQL string expression that no character of it can break
// out of: every apostrophe is doubled, and since the query layer takes a
// colon followed by a name for a parameter, every colon is spelt as
// '||CHAR(58)||' so that the statement text holds none. CR, LF and NUL are
// spelt the same way (CHAR(13), CHAR(10), CHAR(0)), keeping the statement on
// one line and its text whole. "12:30" gives '12'||CHAR(58)||'30'.
AnsiString QuoteSqlString(const AnsiString& Value);

// Source with every occurrence of Pattern replaced, case counting. An empty
// Pattern changes nothing.
AnsiString ReplaceAll(const AnsiString& Source, const AnsiString& Pattern,
                      const AnsiString& Replacement);
