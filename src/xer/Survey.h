#pragma once

#include "platform/Platform.h"
#include "core/AppState.h"
#include "core/MainSurface.h"

namespace zembrel::xer {

// How a survey ended: the window shows the same through its label, button and message boxes.
enum class SurveyOutcome {
    Refused,  // no file chosen, or none at the path
    Reported, // the counts are reported
    Broken,   // the file ends inside a POBS or RISKTYPE table
    Failed,   // a file operation failed
    Stopped,  // the program is closing
};

// Surveys the current XER file: counts its POBS and RISKTYPE records, repairs SUB bytes in place
// (one message per repaired byte), reports in the results label and enables Purge when there is
// something to remove.
SurveyOutcome PerformSurvey(AppState& state, MainSurface& window, Platform& platform);

namespace survey_text {
inline constexpr const char* kNotSpecified = "File not specified.";
inline constexpr const char* kNotFound = "ERROR! File not found.";
inline constexpr const char* kOpening = "Opening XER file ";
inline constexpr const char* kNothingFound =
    "The above XER file does not contain any POBS or Risk Type records.";
inline constexpr const char* kBroken = "ERROR: The file is broken and should not be used.";
inline constexpr const char* kBrokenPobs = "POBS record corruption ruined the XER file.";
inline constexpr const char* kBrokenRiskType = "Risk Type record corruption ruined the XER file.";
inline constexpr const char* kReconditioning =
    "The XER file is corrupted and needs to be reconditioned.  Please wait while this process "
    "proceeds (this can take several minutes).";
} // namespace survey_text

} // namespace zembrel::xer
