#pragma once

#include "fakes/FakePlatform.h"
#include "fakes/FakePromptPlayer.h"
#include "fakes/FakeServices.h"
#include "shell/ShellServices.h"
#include "shell/StartUpWindow.h"

namespace zembrel::test {

// Every service the shell's commands use, as fakes, and the ShellServices that hands them over;
// the program lies in /opt/zembrel, the user's files in /home/ann and /srv. Test fixtures derive
// from it to reach each fake by name.
struct FakeShellServices {
    FakeShellServices() {
        fake.platform.paths = PathRules::posix(environment.homeFolder());
        fake.files.folders = {"/opt",      "/opt/zembrel",      "/home",
                              "/home/ann", "/home/ann/.config", "/srv"};
    }

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

// Tells onCall each window operation by name ("showSplash", "input off" ...).
class FakeStartUpWindow final : public StartUpWindow {
public:
    std::function<void(const std::string&)> onCall;

    void showSplash() override { record("showSplash"); }
    void closeSplash() override { record("closeSplash"); }
    void showMainWindow() override { record("showMainWindow"); }
    void setMainInputEnabled(bool enabled) override { record(enabled ? "input on" : "input off"); }
    void endProgram() override { record("endProgram"); }

private:
    void record(const std::string& name) {
        if (onCall)
            onCall(name);
    }
};

} // namespace zembrel::test
