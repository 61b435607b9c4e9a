#pragma once
// The text of an alert: the definition's message template with its tokens
// replaced from the transaction and the shop records it names.
#include "alert/AlertContext.h"

// Composes the text into Alert.MessageText. The tokens are replaced in list
// order, so a value (the CUSTOM text, an argument, a name) that holds a later
// token gets it replaced too, while one holding its own token or an earlier
// one keeps it as it stands. Raises the catalogue's error for an alert id it
// does not know.
void ExpandAlertText(AlertContext& Context, AlertTransaction& Alert);

// The replacement of one token; "UNKNOWN" for a token it does not know.
AnsiString AlertTokenValue(AlertContext& Context, const AlertTransaction& Alert,
                           const AnsiString& Token);

// "3 days away", "1 day away", "today", "1 day ago", "4 days ago" for a day
// count given as text; a text that is not an integer raises EConvertError.
AnsiString DaysAwayText(const AnsiString& DayCount);
