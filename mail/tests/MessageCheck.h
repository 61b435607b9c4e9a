#pragma once
// Runs tests/message_check.py (Python's email package as the independent
// reader) on a message's wire text and hands its report back as rows.
#include "PythonRows.h"

#include <string>
#include <vector>

namespace mailtest {

inline std::vector<Row> CheckMessage(const std::string& AWireText, const std::string& AMode = "") {
    return PythonRows("message_check.py", AMode, AWireText);
}

} // namespace mailtest
