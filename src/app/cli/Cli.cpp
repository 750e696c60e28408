#include "app/cli/Cli.h"

#include "app/cli/BatchReport.h"
#include "app/cli/FileList.h"
#include "app/cli/ProgressLine.h"
#include "platform/Text.h"

#include "core/AppState.h"
#include "core/MainSurface.h"
#include "core/PromptPlayer.h"
#include "core/Version.h"
#include "platform/Platform.h"
#include "xer/Purge.h"
#include "xer/Survey.h"

#include <cstdlib>
#include <istream>
#include <new>
#include <optional>
#include <ostream>

namespace zembrel {

namespace {

constexpr const char* kUsage =
    "Usage: zembrelpobs-cli survey [--recursive] [--json] [--] FILE...\n"
    "       zembrelpobs-cli purge [--yes | --no] [--recursive] [--json] [--] FILE...\n"
    "       zembrelpobs-cli --help | --version\n"
    "\n"
    "survey  Counts the POBS and RISKTYPE records of each XER file, repairs SUB bytes in\n"
    "        place, and prints the report the window would show.\n"
    "purge   Surveys each file and, when it holds POBS or RISKTYPE records, writes the\n"
    "        copy without them beside it (Plan.xer gives Plan-POBS.xer) and prints the\n"
    "        survey's report, then the purge's. An existing copy is replaced with --yes,\n"
    "        kept with --no; without either the question is asked on the terminal\n"
    "        (answered No when there is none).\n"
    "\n"
    "--recursive  A folder stands for every *.xer file in it and in its subfolders.\n"
    "--json       One JSON document on standard output instead of the reports: for each\n"
    "             file its outcome, counts, sizes and new file, and the exit status.\n"
    "With several files a table of outcomes follows the reports.\n"
    "\n"
    "Options may follow the files; after -- every argument is a file.\n"
    "Messages go to standard error. Exit status: 0 when every file ended in a report or\n"
    "a new copy, 1 when any did not or a folder could not be read, 2 for wrong usage.\n";

// Message boxes as lines on standard error; a Yes/No question takes its answer from the
// command line, else from the terminal, else No.
class ConsoleBoxes final : public MessageBoxes {
public:
    ConsoleBoxes(const Console& console, std::optional<bool> overwrite, ProgressLine& progress)
        : m_err(console.err), m_terminal(console.answers), m_errShown(console.errIsTerminal),
          m_overwrite(overwrite), m_progress(progress) {}
    MessageAnswer show(const std::string& text, MessageButtons buttons, MessageIcon,
                       const std::string& title) override {
        m_progress.clear();
        // One write per message.
        m_err << shown(title + ": " + text + '\n', m_errShown) << std::flush;
        if (buttons == MessageButtons::Ok)
            return MessageAnswer::Ok;
        if (m_overwrite)
            return *m_overwrite ? MessageAnswer::Yes : MessageAnswer::No;
        if (!m_terminal)
            return MessageAnswer::No;
        m_err << "[Y/n] " << std::flush;
        std::string answer;
        if (!std::getline(*m_terminal, answer))
            return MessageAnswer::No;
        const bool no = !answer.empty() && (answer[0] == 'n' || answer[0] == 'N');
        return no ? MessageAnswer::No : MessageAnswer::Yes; // Yes is the default button
    }

private:
    std::ostream& m_err;
    std::istream* m_terminal;
    bool m_errShown;
    std::optional<bool> m_overwrite;
    ProgressLine& m_progress;
};

class Silence final : public PromptPlayer {
public:
    void play(std::int16_t) override {}
};

class NoPointer final : public BusyPointer {
public:
    void setBusy(bool) override {}
};

// The window's result surface, kept as plain values.
class ConsoleSurface final : public MainSurface {
public:
    void setResults(const std::string& text) override { m_results = text; }
    std::string results() const override { return m_results; }
    void setPurgeEnabled(bool enabled) override { m_purgeEnabled = enabled; }
    void setPurgeCaption(const std::string&) override {}
    void setDoneEnabled(bool) override {}
    void setFileName(const std::string&) override {}
    void setPosition(float, float) override {}
    float top() const override { return 0; }
    float left() const override { return 0; }
    void setVoiceChecked(bool) override {}
    bool purgeEnabled() const { return m_purgeEnabled; }

private:
    std::string m_results;
    bool m_purgeEnabled = false;
};

// Nothing more is done for a user who cannot see what was done.
int unwritten(std::ostream& err) {
    err << "zembrelpobs-cli: the report cannot be written to standard output\n" << std::flush;
    return 1;
}

struct Command {
    bool purge = false;
    std::optional<bool> overwrite;
    bool recursive = false;
    bool json = false;
    std::vector<std::string> files;
};

std::optional<std::uint64_t> sizeOf(FileSystem& files, const std::string& path) {
    auto opened = files.openRead(path);
    return opened ? std::optional((*opened)->size()) : std::nullopt;
}

// The number after label in a report, or 0.
std::int64_t numberAfter(const std::string& report, const std::string& label) {
    const auto at = report.find(label);
    return at == std::string::npos ? 0 : std::atoll(report.c_str() + at + label.size());
}

const char* surveyOutcome(xer::SurveyOutcome outcome, const AppState& state) {
    switch (outcome) {
    case xer::SurveyOutcome::Reported:
        return state.PobsRecordCount + std::int64_t{state.RiskTypeRecordCount} > 0
                   ? "reported"
                   : "nothing found";
    case xer::SurveyOutcome::Refused: return "refused";
    case xer::SurveyOutcome::Broken: return "broken";
    case xer::SurveyOutcome::Failed: return "failed";
    case xer::SurveyOutcome::Stopped: break;
    }
    return "stopped";
}

const char* purgeOutcome(xer::PurgeOutcome outcome) {
    switch (outcome) {
    case xer::PurgeOutcome::Created: return "created";
    case xer::PurgeOutcome::Declined: return "kept existing";
    case xer::PurgeOutcome::Refused: return "refused";
    case xer::PurgeOutcome::Failed: return "failed";
    case xer::PurgeOutcome::Stopped: break;
    }
    return "stopped";
}

// Shows a report as it comes, unless the run ends in JSON; false when standard output cannot
// take it.
struct Reports {
    std::ostream& out;
    bool json;
    bool terminal;
    bool show(const std::string& report) {
        return json || static_cast<bool>(out << shown(report, terminal) << '\n' << std::flush);
    }
};

// One file, as the window surveys it after it was chosen and purges it when asked to and the
// survey enables Purge. Nothing when a report cannot be shown: nothing more is done then.
std::optional<FileResult> runFile(const std::string& path, const Command& command,
                                  Platform& platform, ProgressLine& progress, Reports& reports) {
    AppState state;
    state.CurrentXerPath = path;
    state.CurrentXerName = platform.paths.nameOf(path);
    ConsoleSurface window;
    FileResult result;
    result.file = path;
    result.sizeBefore = sizeOf(platform.files, path);
    progress.begin(shown("Surveying " + path, true));
    const xer::SurveyOutcome surveyed = xer::PerformSurvey(state, window, platform);
    progress.clear();
    result.outcome = surveyOutcome(surveyed, state);
    result.pobs = state.PobsRecordCount;
    result.riskTypes = state.RiskTypeRecordCount;
    result.report = window.results();
    if (!reports.show(window.results()))
        return std::nullopt;
    if (surveyed != xer::SurveyOutcome::Reported || !command.purge || !window.purgeEnabled())
        return result;
    Silence silence;
    progress.begin(shown("Purging " + path, true));
    const xer::PurgeOutcome purged = xer::Purge(state, window, platform, silence);
    progress.clear();
    result.outcome = purgeOutcome(purged);
    result.report += '\n' + window.results();
    result.pobs = numberAfter(window.results(), "Number of POBS Records Removed: ");
    result.riskTypes = numberAfter(window.results(), "Number of Risk Types removed: ");
    if (purged == xer::PurgeOutcome::Created) {
        result.newFile = state.CurrentXerPath;
        result.sizeAfter = sizeOf(platform.files, state.CurrentXerPath);
    }
    if (!reports.show(window.results()))
        return std::nullopt;
    return result;
}

bool succeeded(const FileResult& r, bool purge) {
    if (r.outcome == "nothing found" || r.outcome == "created")
        return true;
    return r.outcome == "reported" && !purge;
}

// What became of a file whose work ran out of memory outside the survey and the purge (they
// end such a file themselves).
FileResult outOfMemory(const std::string& path, std::ostream& err) {
    const std::string text = errorText(makeFailure(failure::OutOfMemory));
    err << (std::string(kAppTitle) + ": " + text + '\n') << std::flush;
    FileResult result;
    result.file = path;
    result.outcome = "failed";
    result.report = text;
    return result;
}

int run(const Command& command, const FileList& list, const Console& console, Platform& platform,
        ProgressLine& progress) {
    int status = 0;
    for (const SkippedEntry& skipped : list.skipped) {
        console.err << shown("zembrelpobs-cli: skipped " + skipped.path + ": " + skipped.reason +
                                 '\n',
                             console.errIsTerminal)
                    << std::flush;
        if (skipped.failure)
            status = 1;
    }
    std::vector<FileResult> results;
    Reports reports{console.out, command.json, console.outIsTerminal};
    for (const auto& path : list.files) {
        std::optional<FileResult> result;
        try {
            result = runFile(path, command, platform, progress, reports);
            if (!result)
                return unwritten(console.err);
        } catch (const std::bad_alloc&) {
            progress.clear();
            result = outOfMemory(path, console.err);
        }
        if (!succeeded(*result, command.purge))
            status = 1;
        results.push_back(std::move(*result));
    }
    if (command.json)
        writeJson(console.out, results, list.skipped, command.purge, status);
    else if (results.size() > 1)
        writeSummary(console.out << '\n', results, command.purge, console.outIsTerminal);
    return console.out.flush() ? status : unwritten(console.err);
}

// The command, its options and its files; nothing when the arguments are not a command.
std::optional<Command> parse(const std::vector<std::string>& args) {
    if (args.empty() || (args[0] != "survey" && args[0] != "purge"))
        return std::nullopt;
    Command command;
    command.purge = args[0] == "purge";
    bool options = true;
    for (auto arg = args.begin() + 1; arg != args.end(); ++arg) {
        if (options && *arg == "--") {
            options = false;
        } else if (options && command.purge && !command.overwrite &&
                   (*arg == "--yes" || *arg == "--no")) {
            command.overwrite = *arg == "--yes";
        } else if (options && *arg == "--recursive" && !command.recursive) {
            command.recursive = true;
        } else if (options && *arg == "--json" && !command.json) {
            command.json = true;
        } else if (options && arg->starts_with("--")) {
            return std::nullopt; // an option of the other command, or one given twice
        } else {
            command.files.push_back(*arg); // options may still follow, as GNU tools take them
        }
    }
    if (command.files.empty())
        return std::nullopt;
    return command;
}

} // namespace

int runCli(const std::vector<std::string>& args, const Console& console, FileSystem& files,
           const PathRules& paths) {
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "--version")) {
        if (args[0] == "--help")
            console.out << kUsage;
        else
            console.out << kFullVersionText << '\n';
        console.out.flush();
        return console.out ? 0 : 1;
    }
    auto command = parse(args);
    if (!command) {
        console.err << kUsage;
        return 2;
    }
    try {
        const FileList list =
            listFiles(command->files, {command->recursive, command->purge}, files, paths);
        ProgressLine progress(console.errIsTerminal ? &console.err : nullptr);
        ConsoleBoxes boxes(console, command->overwrite, progress);
        NoPointer pointer;
        Platform platform{files, boxes, progress, pointer, Platform::kDefaultBlockSize, paths};
        return run(*command, list, console, platform, progress);
    } catch (const std::bad_alloc&) {
        console.err << "zembrelpobs-cli: out of memory\n" << std::flush;
        return 1;
    }
}

} // namespace zembrel
