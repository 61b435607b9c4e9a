#pragma once
#include "platform/rtl/testing/ChildProcess.h"

namespace mailtest {
using testing_support::ChildProcess;
} // namespace mailtest
