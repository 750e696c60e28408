// The purge only leaves lines out: its new file is the input's lines in order, each followed by
// CR LF, less lines of POBS and RISKTYPE tables; or nothing at all under the new name.
// The input itself never changes.
#include "FuzzSupport.h"
#include "xer/Purge.h"
#include "xer/Survey.h"

#include <algorithm>
#include <cstdio>

using namespace zembrel;

namespace {

// The lines the purge may leave out: those of POBS and RISKTYPE tables, each from its table line
// up to the next line tagged "%T" or "%E". (A RISKTYPE table loses its records that no risk
// refers to, and its table and field-names lines too when it keeps none.)
std::vector<bool> removable(const std::vector<fuzz::Line>& lines) {
    std::vector<bool> may(lines.size(), false);
    bool inside = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view text = lines[i].text;
        if (fuzz::opensTable(text, "POBS") || fuzz::opensTable(text, "RISKTYPE"))
            inside = true;
        else if (fuzz::tagOf(text) == "%T" || fuzz::tagOf(text) == "%E")
            inside = false;
        may[i] = inside;
    }
    return may;
}

// The output's lines: each must end in CR LF.
std::vector<std::string_view> outputLines(std::string_view out) {
    std::vector<std::string_view> lines;
    while (!out.empty()) {
        const auto end = out.find("\r\n");
        fuzz::require(end != out.npos, "every line of the new file ends in CR LF");
        lines.push_back(out.substr(0, end));
        out.remove_prefix(end + 2);
    }
    return lines;
}

// Whether out is in, less some removable lines: the set of output positions reachable after
// each input line, kept small by its nature.
bool onlyLeftOut(std::string_view in, std::string_view outText) {
    const auto lines = fuzz::linesOf(in);
    const auto may = removable(lines);
    const auto out = outputLines(outText);
    std::vector<std::size_t> at{0}, next;
    for (std::size_t i = 0; i < lines.size() && !at.empty(); ++i) {
        next.clear();
        for (const std::size_t j : at) {
            if (may[i])
                next.push_back(j);
            if (j < out.size() && out[j] == lines[i].text)
                next.push_back(j + 1);
        }
        std::sort(next.begin(), next.end());
        next.erase(std::unique(next.begin(), next.end()), next.end());
        at.swap(next);
    }
    return std::find(at.begin(), at.end(), out.size()) != at.end();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    fuzz::Services services(file, fuzz::smallBlockFor(file));
    AppState state;
    state.CurrentXerPath = fuzz::Services::kPath;
    state.CurrentXerName = "PLAN.XER";
    if (xer::PerformSurvey(state, services.platform, services.notices).outcome !=
        xer::SurveyOutcome::Reported)
        return 0;
    const std::string input = services.files.files.at(fuzz::Services::kPath); // as repaired
    const auto outcome = xer::Purge(state, services.platform, services.notices).outcome;

    auto& files = services.files.files;
    fuzz::require(services.files.openHandles == 0, "every file is closed");
    fuzz::require(files.at(fuzz::Services::kPath) == input, "the input never changes");
    const auto made = files.find(fuzz::Services::kNewPath);
    if (outcome != xer::PurgeOutcome::Created) {
        fuzz::require(made == files.end(), "nothing under the new name unless it was created");
        return 0;
    }
    fuzz::require(made != files.end(), "a created file exists");
    if (made->second != input && !onlyLeftOut(input, made->second)) {
        std::fprintf(stderr, "new file:\n%s\n", made->second.c_str()); // for the replay
        fuzz::broken("the new file is the input less whole lines");
    }
    return 0;
}
