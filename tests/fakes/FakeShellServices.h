#pragma once

#include "fakes/FakePlatform.h"
#include "fakes/FakePromptPlayer.h"
#include "fakes/FakeServices.h"
#include "shell/ShellServices.h"
#include "shell/StartUpWindow.h"

namespace zembrel::test {

// Every service the shell's commands use, as fakes, and the ShellServices that hands them over.
// Test fixtures derive from it to reach each fake by name.
struct FakeShellServices {
    FakeShellServices() { fake.platform.paths = PathRules::posix(environment.homeFolder()); }

    FakePlatform fake;
    FakeEnvironment environment;
    FakeProfileStore profile;
    FakeFileDialog dialog;
    FakeHelpViewer help;
    FakePromptPlayer prompts;
    FakeProgramStarter programs;
    FakeModalWindows modals;
    ShellServices services{fake.platform, environment, profile,  dialog,
                           help,          prompts,     programs, modals};
};

// Tells onCall each window operation by name ("showSplash", "input off" ...) once the state it
// changes has changed, so a test can look at the state at that moment.
class FakeStartUpWindow final : public StartUpWindow {
public:
    std::function<void(const std::string&)> onCall;
    bool mainVisible = false;
    bool inputEnabled = true;
    bool ended = false;

    void showSplash() override { record("showSplash"); }
    void closeSplash() override { record("closeSplash"); }
    void showMainWindow() override { record("showMainWindow", mainVisible = true); }
    void setMainInputEnabled(bool enabled) override {
        record(enabled ? "input on" : "input off", inputEnabled = enabled);
    }
    void endProgram() override { record("endProgram", ended = true); }

private:
    void record(const std::string& name, bool = false) {
        if (onCall)
            onCall(name);
    }
};

} // namespace zembrel::test
