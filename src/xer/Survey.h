#pragma once

#include "core/AppState.h"
#include "platform/Platform.h"
#include "xer/Notice.h"
#include "xer/Report.h"

namespace zembrel::xer {

// Surveys the current XER file: counts its POBS and RISKTYPE records into the shared state,
// repairs SUB bytes in place (one notice per repaired byte) and says what it found.
SurveyReport PerformSurvey(AppState& state, Platform& platform, OperationObserver& observer);

} // namespace zembrel::xer
