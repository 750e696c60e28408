#pragma once

#include "core/AppState.h"
#include "platform/Platform.h"
#include "xer/Notice.h"
#include "xer/Report.h"

namespace zembrel::xer {

// Writes the current XER file's POBS-free copy beside it, keeping only the RISKTYPE records
// that its risks refer to, and makes the copy the current file; says what it does through the
// observer and what it did in its report.
PurgeReport Purge(AppState& state, Platform& platform, OperationObserver& observer);

} // namespace zembrel::xer
