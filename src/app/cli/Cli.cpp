#include "app/cli/Cli.h"

#include "core/PromptPlayer.h"
#include "platform/Platform.h"
#include "core/AppState.h"
#include "core/Version.h"
#include "core/MainSurface.h"
#include "xer/Purge.h"
#include "xer/Survey.h"

#include <istream>
#include <optional>
#include <ostream>

namespace zembrel {

namespace {

constexpr const char* kUsage =
    "Usage: zembrelpobs-cli survey [--] FILE...\n"
    "       zembrelpobs-cli purge [--yes | --no] [--] FILE...\n"
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
    "Messages go to standard error. Exit status: 0 when every file ended in a report or\n"
    "a new copy, 1 when any did not, 2 for wrong usage.\n";

// Message boxes as lines on standard error; a Yes/No question takes its answer from the
// command line, else from the terminal, else No.
class ConsoleBoxes final : public MessageBoxes {
public:
    ConsoleBoxes(std::ostream& err, std::istream* terminal, std::optional<bool> overwrite)
        : m_err(err), m_terminal(terminal), m_overwrite(overwrite) {}
    MessageAnswer show(const std::string& text, MessageButtons buttons, MessageIcon,
                       const std::string& title) override {
        m_err << (title + ": " + text + '\n') << std::flush; // one write per message
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
    std::optional<bool> m_overwrite;
};

class Silence final : public PromptPlayer {
public:
    void play(std::int16_t) override {}
};

class NoEvents final : public EventPump {
public:
    void processEvents() override {}
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

// Writes one result line; false when standard output cannot take it.
bool report(std::ostream& out, const std::string& text) {
    out << text << '\n' << std::flush;
    return static_cast<bool>(out);
}

// Nothing more is done for a user who cannot see what was done.
int unwritten(std::ostream& err) {
    err << "zembrelpobs-cli: the report cannot be written to standard output\n" << std::flush;
    return 1;
}

// Surveys each file as the window does after it was chosen, and purges it when asked to and
// the survey enables Purge.
int run(const std::vector<std::string>& files, bool purge, std::ostream& out, std::ostream& err,
        Platform& platform) {
    int status = 0;
    Silence silence;
    for (const auto& path : files) {
        AppState state;
        state.CurrentXerPath = path;
        state.CurrentXerName = platform.paths.nameOf(path);
        ConsoleSurface window;
        const xer::SurveyOutcome surveyed = xer::PerformSurvey(state, window, platform);
        if (!report(out, window.results()))
            return unwritten(err);
        if (surveyed != xer::SurveyOutcome::Reported) {
            status = 1;
            continue;
        }
        if (!purge || !window.purgeEnabled())
            continue;
        if (xer::Purge(state, window, platform, silence) != xer::PurgeOutcome::Created)
            status = 1;
        if (!report(out, window.results()))
            return unwritten(err);
    }
    return status;
}

struct Command {
    bool purge = false;
    std::optional<bool> overwrite;
    std::vector<std::string> files;
};

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
        } else if (options && arg->starts_with("--")) {
            return std::nullopt; // an option of the other command, or one given twice
        } else {
            options = false;
            command.files.push_back(*arg);
        }
    }
    if (command.files.empty())
        return std::nullopt;
    return command;
}

} // namespace

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           FileSystem& files, const PathRules& paths, std::istream* terminal) {
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "--version")) {
        if (args[0] == "--help")
            out << kUsage;
        else
            out << kFullVersionText << '\n';
        out.flush();
        return out ? 0 : 1;
    }
    const auto command = parse(args);
    if (!command) {
        err << kUsage;
        return 2;
    }
    ConsoleBoxes boxes(err, terminal, command->overwrite);
    NoEvents events;
    NoPointer pointer;
    Platform platform{files, boxes, events, pointer, Platform::kDefaultBlockSize, paths};
    return run(command->files, command->purge, out, err, platform);
}

} // namespace zembrel
