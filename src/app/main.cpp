// The window program.
#include "info/SysInfo.h"
#include "media/PlayerRows.h"
#include "media/VoicePrompts.h"
#include "platform/posix/PosixEnvironment.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/PosixProfileStore.h"
#include "platform/posix/PosixProgramStarter.h"
#include "platform/posix/PosixRegistry.h"
#include "platform/posix/TemporaryNames.h"
#include "platform/qt/DesktopHelpViewer.h"
#include "platform/qt/QtBusyPointer.h"
#include "platform/qt/QtEventPump.h"
#include "platform/qt/QtFileDialog.h"
#include "platform/qt/QtMessageBoxes.h"
#include "platform/qt/QtSoundPlayer.h"
#include "shell/MainCommands.h"
#include "ui/qt/FormRenderer.h"
#include "ui/qt/OpenProject.h"
#include "ui/qt/QtModalWindows.h"
#include "ui/qt/QtStartUpWindow.h"

#include <QApplication>

#include <cstdlib>

namespace {
// Long enough to read the splash window, short enough not to hold anyone up.
constexpr int kMinimumSplashMs = 1200;
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv); // takes Qt's own options off the command line
    QApplication::setApplicationName(QStringLiteral("ZembrelPOBS"));
    // The program ends through its shut-down, not when a window (the splash) closes.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(zembrel::FormRenderer::productIcon());
    using namespace zembrel;
    // A purge interrupted by the session's end leaves no temporary file behind; one that meets
    // a file-size limit fails with a message.
    removeTemporariesOnInterrupt();
    failWritesInsteadOfSignals();

    PosixFileSystem files;
    PosixEnvironment environment(argc, argv);
    PosixProfileStore profile;
    QtSoundPlayer sound;
    QtMessageBoxes boxes;
    QtEventPump events;
    QtBusyPointer pointer;
    QtFileDialog dialog;
    DesktopHelpViewer help(boxes);
    PosixProgramStarter programs;
    // The system information tool: the first of a few known programs on the search path.
    const char* searchPath = std::getenv("PATH");
    PosixRegistry registry(searchPath ? searchPath : "");

    AppState state;
    WavePromptPlayer prompts(state, files, sound);
    Platform platform{files,
                      boxes,
                      events,
                      pointer,
                      Platform::kDefaultBlockSize,
                      withInstalledLayout(PathRules::posix(environment.homeFolder()),
                                          environment.executableFolder())};
    // The players of a Linux desktop; the Windows program offers the Windows ones.
    QtModalWindows modals(state, PlayerRows::posix(), {files, dialog, profile, events},
                          [&] { StartSysInfo(registry, files, programs, boxes); });
    ShellServices services{platform, environment, profile, dialog, help, prompts, programs, modals};

    OpenProject window;
    boxes.setParentWindow(&window);
    dialog.setParentWindow(&window);
    dialog.setHelpViewer(&help);
    modals.setParentWindow(&window);
    QtStartUpWindow windows(window, pointer, kMinimumSplashMs);
    MainCommands commands(state, window, windows, services);
    window.attach(commands);

    commands.startUp();
    if (windows.ended()) // closed during the first survey
        return 0;
    return QApplication::exec();
}
