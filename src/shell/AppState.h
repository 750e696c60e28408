#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zembrel {

// The values shared by the operations for the whole run. Texts are single-byte text; folders end
// in the platform's separator.
struct AppState {
    std::string ProgramFolder;
    std::string DataFolder;
    std::string SettingsFile;
    std::string SuiteSettingsFile;
    std::string HelpFilePath;
    char QuoteChar = '"';
    char TabChar = '\t';
    bool SoundOn = false;
    std::string XerFolder;
    std::string CurrentXerPath;
    std::string CurrentXerName;
    std::int32_t PobsRecordCount = 0;
    std::int32_t RiskTypeRecordCount = 0;
    std::vector<std::string> ReferencedRiskTypes;
    std::int32_t ReferencedRiskTypeCount = 0;
    std::string VideoPlayerPath;
    // The user's home folder ending in the separator (empty when the platform gives none): the
    // default XER folder on platforms without drive letters.
    std::string HomeFolder;
};

inline constexpr const char* kVersionText = "4.42";
inline constexpr int kVersionMajor = 4;
inline constexpr int kVersionMinor = 42;
inline constexpr int kVersionRevision = 731;

} // namespace zembrel
