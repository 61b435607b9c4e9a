#include "platform/data/DBExceptions.h"

void DatabaseError(const AnsiString& Message) {
    throw EDatabaseError(Message);
}
