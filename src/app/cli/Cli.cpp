#include "app/cli/Cli.h"

#include "app/cli/BatchReport.h"
#include "app/cli/FileList.h"
#include "app/cli/ProgressLine.h"
#include "app/cli/TableList.h"

#include "core/AppState.h"
#include "core/Version.h"
#include "platform/Platform.h"
#include "shell/NoticeText.h"
#include "xer/Purge.h"
#include "xer/Survey.h"
#include "xer/TableCensus.h"

#include <istream>
#include <new>
#include <optional>
#include <ostream>

namespace zembrel {

namespace {

constexpr const char* kUsage =
    "Usage: zembrelpobs-cli survey [--recursive] [--json] [--] FILE...\n"
    "       zembrelpobs-cli purge [--yes | --no] [--recursive] [--json] [--] FILE...\n"
    "       zembrelpobs-cli tables [--recursive] [--json] [--] FILE...\n"
    "       zembrelpobs-cli --help | --version\n"
    "\n"
    "survey  Counts the POBS and RISKTYPE records of each XER file, repairs SUB bytes in\n"
    "        place, and prints the report the window would show.\n"
    "purge   Surveys each file and, when it holds POBS or RISKTYPE records, writes the\n"
    "        copy without them beside it (Plan.xer gives Plan-POBS.xer) and prints the\n"
    "        survey's report, then the purge's. An existing copy is replaced with --yes,\n"
    "        kept with --no; without either the question is asked on the terminal\n"
    "        (answered No when there is none).\n"
    "tables  Lists the tables of each file, the biggest first: records, bytes and share\n"
    "        of the file. Only reads: a SUB byte is reported, never repaired.\n"
    "\n"
    "--recursive  A folder stands for every *.xer file in it and in its subfolders.\n"
    "--json       One JSON document on standard output instead of the reports: for each\n"
    "             file its outcome, counts, sizes, new file and messages (tables: each\n"
    "             table's records, bytes and share), and the exit status.\n"
    "With several files a table of outcomes follows the reports.\n"
    "\n"
    "Options may follow the files; after -- every argument is a file.\n"
    "Messages go to standard error. Exit status: 0 when every file ended in a report or\n"
    "a new copy (tables: was read), 1 when any did not or a folder could not be read,\n"
    "2 for wrong usage.\n";

struct Command {
    bool purge = false;
    bool tables = false;
    std::optional<bool> overwrite;
    bool recursive = false;
    bool json = false;
    std::vector<std::string> files;
};

class NoPointer final : public BusyPointer {
public:
    void setBusy(bool) override {}
};

// A notice with the names in it as a terminal may show them.
xer::Notice shownOn(xer::Notice notice, bool terminal) {
    notice.path = shownName(notice.path, terminal);
    notice.newFile = shownName(notice.newFile, terminal);
    notice.newName = shownName(notice.newName, terminal);
    return notice;
}

// The window's notices for one file: message boxes go to standard error as they come ("Plovard:
// " and, in a batch, the file's name first) and into the run's messages; the label's last
// notice is kept for the report. A Yes/No question takes its answer from the command line,
// else from the terminal, else No.
class ConsoleNotices final : public xer::OperationObserver {
public:
    ConsoleNotices(const Console& console, const Command& command, ProgressLine& progress,
                   bool batch, FileRun& run)
        : m_console(console), m_command(command), m_progress(progress), m_batch(batch), m_run(run) {
    }

    void notice(const xer::Notice& notice) override {
        const NoticeText text = noticeText(notice);
        if (text.box)
            say(notice, *text.box);
        if (text.label)
            (m_run.purge || m_purging ? m_run.purgeLabel : m_run.surveyLabel) = notice;
    }

    bool mayReplace(const xer::Notice& notice) override {
        say(notice, *noticeText(notice).box);
        if (m_command.overwrite)
            return *m_command.overwrite;
        if (!m_console.answers)
            return false;
        m_console.err << "[Y/n] " << std::flush;
        std::string answer;
        if (!std::getline(*m_console.answers, answer))
            return false;
        return answer.empty() || (answer[0] != 'n' && answer[0] != 'N'); // Yes is the default
    }

    void purging() { m_purging = true; }

private:
    void say(const xer::Notice& notice, const BoxText& box) {
        m_progress.clear();
        const bool terminal = m_console.errIsTerminal;
        const std::string shown = noticeText(shownOn(notice, terminal)).box->text;
        const std::string file = m_batch ? shownName(m_run.path, terminal) + ": " : "";
        // One write per message.
        m_console.err << (std::string(kAppTitle) + ": " + file + shown + '\n') << std::flush;
        m_run.messages.push_back({notice.kind,
                                  notice.kind == xer::NoticeKind::SurveyFailed ||
                                          notice.kind == xer::NoticeKind::PurgeFailed
                                      ? std::optional(notice.failure.number)
                                      : std::nullopt,
                                  box.text});
    }

    const Console& m_console;
    const Command& m_command;
    ProgressLine& m_progress;
    bool m_batch;
    FileRun& m_run;
    bool m_purging = false;
};

// Nothing more is done for a user who cannot see what was done.
int unwritten(std::ostream& err) {
    err << "zembrelpobs-cli: the report cannot be written to standard output\n" << std::flush;
    return 1;
}

class Runner {
public:
    Runner(const Command& command, const Console& console, Platform& platform,
           ProgressLine& progress, bool batch)
        : m_command(command), m_console(console), m_platform(platform), m_progress(progress),
          m_batch(batch) {}

    // One file, as the window surveys it after it was chosen and purges it when asked to and
    // the survey found records. Nothing when a report cannot be shown: nothing more is done.
    std::optional<FileRun> file(const std::string& path) {
        FileRun run;
        run.path = path;
        AppState state;
        state.CurrentXerPath = path;
        state.CurrentXerName = m_platform.paths.nameOf(path);
        ConsoleNotices notices(m_console, m_command, m_progress, m_batch, run);
        m_progress.begin("Surveying " + shownName(path, true));
        run.survey = xer::PerformSurvey(state, m_platform, notices);
        m_progress.clear();
        if (!show(run.surveyLabel))
            return std::nullopt;
        if (!m_command.purge || !run.survey.foundRecords())
            return run;
        notices.purging();
        m_progress.begin("Purging " + shownName(path, true));
        run.purge = xer::Purge(state, m_platform, notices);
        m_progress.clear();
        if (!show(run.purgeLabel))
            return std::nullopt;
        return run;
    }

private:
    // Writes the label's last text as a report, unless the run ends in JSON; false when
    // standard output cannot take it.
    bool show(const std::optional<xer::Notice>& label) {
        if (m_command.json || !label)
            return true;
        const auto text = noticeText(shownOn(*label, m_console.outIsTerminal)).label;
        return static_cast<bool>(m_console.out << text.value_or("") << '\n' << std::flush);
    }

    const Command& m_command;
    const Console& m_console;
    Platform& m_platform;
    ProgressLine& m_progress;
    bool m_batch;
};

// What became of a file whose work ran out of memory outside the survey and the purge (they
// end such a file themselves).
FileRun outOfMemory(const std::string& path, std::ostream& err) {
    FileRun run;
    run.path = path;
    run.survey.outcome = xer::SurveyOutcome::Failed;
    run.survey.failure = makeFailure(failure::OutOfMemory);
    const std::string text = errorText(run.survey.failure);
    err << (std::string(kAppTitle) + ": " + path + ": " + text + '\n') << std::flush;
    run.messages.push_back({xer::NoticeKind::SurveyFailed, failure::OutOfMemory, text});
    return run;
}

// Names what a walk left out; 1 when anything could not be looked at.
int reportSkipped(const FileList& list, const Console& console) {
    int status = 0;
    for (const SkippedEntry& skipped : list.skipped) {
        console.err << ("zembrelpobs-cli: skipped " +
                        shownName(skipped.path, console.errIsTerminal) + ": " + skipped.reason +
                        '\n')
                    << std::flush;
        if (skipped.failure)
            status = 1;
    }
    return status;
}

// What fills each file: a table per file, or a JSON document, written as each file is read.
int runTables(const Command& command, const FileList& list, const Console& console,
              Platform& platform, ProgressLine& progress) {
    int status = reportSkipped(list, console);
    std::optional<JsonRunWriter> json;
    if (command.json)
        json.emplace(console.out, "tables");
    bool listed = false;
    for (const auto& path : list.files) {
        progress.begin("Reading " + shownName(path, true));
        const TablesRun run{path, xer::countTables(path, platform)};
        progress.clear();
        if (run.report.outcome != xer::TablesOutcome::Reported) {
            status = 1;
            console.err << ("zembrelpobs-cli: " + shownName(path, console.errIsTerminal) + ": " +
                            errorText(run.report.failure) + '\n')
                        << std::flush;
        }
        if (json) {
            json->file(tablesJson(run));
        } else if (run.report.outcome == xer::TablesOutcome::Reported) {
            if (listed)
                console.out << '\n';
            writeTableList(console.out, run, console.outIsTerminal);
            listed = true;
        }
        if (!console.out.flush())
            return unwritten(console.err);
    }
    if (json)
        json->finish(list.skipped, status);
    return console.out.flush() ? status : unwritten(console.err);
}

int run(const Command& command, const FileList& list, const Console& console, Platform& platform,
        ProgressLine& progress) {
    if (command.tables)
        return runTables(command, list, console, platform, progress);
    int status = reportSkipped(list, console);
    std::vector<FileRun> runs;
    Runner runner(command, console, platform, progress, list.files.size() > 1);
    for (const auto& path : list.files) {
        std::optional<FileRun> result;
        try {
            result = runner.file(path);
            if (!result)
                return unwritten(console.err);
        } catch (const std::bad_alloc&) {
            progress.clear();
            result = outOfMemory(path, console.err);
        }
        if (!result->succeeded(command.purge))
            status = 1;
        runs.push_back(std::move(*result));
    }
    if (command.json)
        writeJson(console.out, command.purge ? "purge" : "survey", runs, list.skipped, status);
    else if (runs.size() > 1)
        writeSummary(console.out << '\n', runs, command.purge, console.outIsTerminal);
    return console.out.flush() ? status : unwritten(console.err);
}

// The command, its options and its files; nothing when the arguments are not a command.
std::optional<Command> parse(const std::vector<std::string>& args) {
    if (args.empty() || (args[0] != "survey" && args[0] != "purge" && args[0] != "tables"))
        return std::nullopt;
    Command command;
    command.purge = args[0] == "purge";
    command.tables = args[0] == "tables";
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
        NoPointer pointer;
        // No box is ever shown: the companion's notices say everything.
        struct NoBoxes final : MessageBoxes {
            MessageAnswer show(const std::string&, MessageButtons, MessageIcon,
                               const std::string&) override {
                return MessageAnswer::No;
            }
        } boxes;
        Platform platform{files, boxes, progress, pointer, Platform::kDefaultBlockSize, paths};
        return run(*command, list, console, platform, progress);
    } catch (const std::bad_alloc&) {
        console.err << "zembrelpobs-cli: out of memory\n" << std::flush;
        return 1;
    }
}

} // namespace zembrel
