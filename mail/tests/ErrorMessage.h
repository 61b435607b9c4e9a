#pragma once
// The text of the error a call raises, for tables of refused inputs.
#include "mail/MxExceptions.h"

#include <string>

namespace mailtest {

// The message of the mail error AF raises, or "(no error)".
template <class F> std::string ErrorMessageOf(F AF) {
    try {
        AF();
    } catch (const mail::EMxException& e) {
        return e.Message;
    }
    return "(no error)";
}

} // namespace mailtest
