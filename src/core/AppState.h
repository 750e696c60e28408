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
};

} // namespace zembrel
