#pragma once
// The text of an alert: the definition's message template with its tokens
// replaced from the transaction and the shop records it names.
#include "alert/AlertContext.h"

// Composes the text into Alert.MessageText. Each token is replaced once, where
// it stands in the template (or in the program's own CUSTOM text); text taken
// from the shop database is never searched for tokens again, so a name or
// argument that happens to hold a token name stays as it is. Raises the
// catalogue's error for an alert id it does not know.
void ExpandAlertText(AlertContext& Context, AlertTransaction& Alert);

// The replacement of one token; "UNKNOWN" for a token it does not know.
AnsiString AlertTokenValue(AlertContext& Context, const AlertTransaction& Alert,
                           const AnsiString& Token);

// "3 days away", "1 day away", "today", "1 day ago", "4 days ago" for a day
// count given as text; a text that is not an integer raises EConvertError.
AnsiString DaysAwayText(const AnsiString& DayCount);
