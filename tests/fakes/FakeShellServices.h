#pragma once

#include "fakes/FakeEnvironment.h"
#include "fakes/FakeFileDialog.h"
#include "fakes/FakeHelpViewer.h"
#include "fakes/FakeModalWindows.h"
#include "fakes/FakePlatform.h"
#include "fakes/FakeProfileStore.h"
#include "fakes/FakeProgramStarter.h"
#include "fakes/FakePromptPlayer.h"
#include "shell/ShellServices.h"

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

} // namespace zembrel::test
