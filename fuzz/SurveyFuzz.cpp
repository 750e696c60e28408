// The survey changes nothing but SUB bytes, and only in XER text: whatever it meets, the file
// keeps its length, every byte it changes was a SUB byte and is now a space, and every handle
// is closed at its end.
#include "FuzzSupport.h"
#include "xer/Survey.h"

using namespace zembrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    fuzz::Services services(file, fuzz::smallBlockFor(file));
    AppState state;
    state.CurrentXerPath = fuzz::Services::kPath;
    const auto outcome = xer::PerformSurvey(state, services.platform, services.notices).outcome;

    const std::string& after = services.files.files.at(fuzz::Services::kPath);
    fuzz::require(services.files.openHandles == 0, "every file is closed");
    fuzz::require(services.files.files.size() == 1, "no other file is made");
    fuzz::require(after.size() == file.size(), "the length never changes");
    if (!fuzz::isXerText(file))
        fuzz::require(after == file, "a file that is not XER text is never changed");
    for (std::size_t i = 0; i < file.size(); ++i)
        if (after[i] != file[i])
            fuzz::require(file[i] == fuzz::kSub && after[i] == ' ', "only SUB becomes space");
    if (outcome == xer::SurveyOutcome::Reported)
        fuzz::require(state.PobsRecordCount >= 0 && state.RiskTypeRecordCount >= 0,
                      "counts are never negative");
    return 0;
}
