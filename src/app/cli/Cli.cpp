#include "app/cli/Cli.h"

#include "platform/Platform.h"
#include "shell/AppState.h"
#include "shell/MainSurface.h"
#include "xer/Survey.h"

#include <ostream>

namespace zembrel {

namespace {

constexpr const char* kUsage =
    "Usage: zembrelpobs-cli survey FILE...\n"
    "       zembrelpobs-cli --help | --version\n"
    "\n"
    "survey  Counts the POBS and RISKTYPE records of each XER file, repairs SUB bytes in\n"
    "        place, and prints the report the window would show. Messages go to standard\n"
    "        error. Exit status: 0 when every file was reported, 1 when any was not,\n"
    "        2 for wrong usage.\n";

class ConsoleBoxes final : public MessageBoxes {
public:
    explicit ConsoleBoxes(std::ostream& err) : m_err(err) {}
    MessageAnswer show(const std::string& text, MessageButtons buttons, MessageIcon,
                       const std::string& title) override {
        m_err << title << ": " << text << '\n' << std::flush;
        return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
    }

private:
    std::ostream& m_err;
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

int survey(const std::vector<std::string>& files, std::ostream& out, Platform& platform) {
    int status = 0;
    for (const auto& path : files) {
        AppState state;
        state.CurrentXerPath = path;
        ConsoleSurface window;
        if (PerformSurvey(state, window, platform) != SurveyOutcome::Reported)
            status = 1;
        out << window.results() << '\n' << std::flush;
    }
    return status;
}

} // namespace

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           FileSystem& files) {
    if (args.size() == 1 && args[0] == "--help") {
        out << kUsage;
        return 0;
    }
    if (args.size() == 1 && args[0] == "--version") {
        out << kVersionMajor << '.' << kVersionMinor << '.' << kVersionRevision << '\n';
        return 0;
    }
    if (args.size() < 2 || args[0] != "survey") {
        err << kUsage;
        return 2;
    }
    ConsoleBoxes boxes(err);
    NoEvents events;
    NoPointer pointer;
    Platform platform{files, boxes, events, pointer};
    return survey({args.begin() + 1, args.end()}, out, platform);
}

} // namespace zembrel
