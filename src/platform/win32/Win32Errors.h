#pragma once

#include "platform/Failure.h"

namespace zembrel {

// The failure for a Windows error code (GetLastError), by the common numbers.
Failure failureFromWin32(unsigned long error);

} // namespace zembrel
