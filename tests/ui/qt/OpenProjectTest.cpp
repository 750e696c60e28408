#include "ui/qt/OpenProject.h"
#include "XerText.h"
#include "fakes/FakeEnvironment.h"
#include "fakes/FakeFileDialog.h"
#include "fakes/FakeHelpViewer.h"
#include "fakes/FakePlatform.h"
#include "fakes/FakeProfileStore.h"
#include "fakes/FakePromptPlayer.h"
#include "platform/qt/QtBusyPointer.h"
#include "shell/GetFilename.h"
#include "shell/MainCommands.h"
#include "ui/qt/QtStartUpWindow.h"

#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>

#include "XerText.h"
#include "fakes/FakeShellServices.h"

#include <gtest/gtest.h>

namespace zembrel {
namespace {

std::string text(const QString& s) {
    return s.toStdString();
}

class OpenProjectTest : public ::testing::Test {
protected:
    template <typename T> T* child(const char* name) {
        T* found = window.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QPushButton* button(const char* name) { return child<QPushButton>(name); }
    QAction* action(const char* name) { return child<QAction>(name); }

    OpenProject window;
};

TEST_F(OpenProjectTest, TheClientAreaBelowTheMenuBarHasItsFixedSize) {
    window.show();
    QWidget* client = window.centralWidget();
    EXPECT_GE(client->y(), window.menuBar()->height());
    EXPECT_EQ(window.height(), client->y() + client->height());
    EXPECT_EQ(window.minimumSize(), window.maximumSize()); // not resizable
}

TEST_F(OpenProjectTest, TheSurfaceShowsWhatTheLogicSets) {
    const std::string report = "A total of 3 POBS records\r\nand 2 Risk Type records";
    window.setResults(report);
    QLabel* results = child<QLabel>("lblResults");
    EXPECT_EQ(window.results(), report); // read back as set, CR LF and all
    EXPECT_EQ(text(results->text()), "A total of 3 POBS records\nand 2 Risk Type records");
    EXPECT_TRUE(results->wordWrap());
    window.setFileName("Pl\xc3\xa4n.xer");
    EXPECT_EQ(child<QLineEdit>("txtFileName")->text(), QString::fromUtf8("Pl\xc3\xa4n.xer"));
    window.setPurgeCaption("working...");
    window.setPurgeEnabled(true);
    window.setDoneEnabled(false);
    EXPECT_EQ(text(button("cmdPurge")->text()), "working...");
    EXPECT_TRUE(button("cmdPurge")->isEnabled());
    EXPECT_FALSE(button("Cancel")->isEnabled());
    QAction* voice = action("mnuFileVoice");
    window.setVoiceChecked(true);
    EXPECT_TRUE(voice->isChecked());
    window.setVoiceChecked(false);
    EXPECT_FALSE(voice->isChecked());
}

TEST_F(OpenProjectTest, TheExplanationWrapsInsideTheLabel) {
    window.show();
    window.setResults(file_selection_text::kExplanation);
    QLabel* results = child<QLabel>("lblResults");
    // Wrapped at the label's width, the whole text fits its height.
    EXPECT_LE(results->heightForWidth(results->width()), results->height());
    EXPECT_GT(results->heightForWidth(results->width()), 4 * results->fontMetrics().height());
}

TEST_F(OpenProjectTest, APositionIsReadBackAsSetWhileTheWindowStaysThere) {
    window.setPosition(1785.4f, 1410.6f);
    window.show();
    EXPECT_EQ(window.top(), 1785.4f);
    EXPECT_EQ(window.left(), 1410.6f);
    EXPECT_EQ(window.pos(), QPoint(94, 119));
    window.move(200, 100); // the user moves it
    EXPECT_EQ(window.top(), 1500.0f);
    EXPECT_EQ(window.left(), 3000.0f);
}

TEST_F(OpenProjectTest, AWindowOffEveryScreenComesBackOntoTheNearest) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    window.setPosition(-48000, -48000); // where a minimised window used to be
    EXPECT_EQ(window.top(), -48000.0f); // nothing changes until it is shown
    window.show();
    EXPECT_TRUE(screen.contains(QRect(window.pos(), window.frameGeometry().size())));
    EXPECT_EQ(window.top(), float(window.pos().y() * 15));
    window.setPosition(1e30f, 1e30f); // any stored number, shown
    EXPECT_TRUE(screen.contains(QRect(window.pos(), window.frameGeometry().size())));
}

// The window wired as the program wires it, over fake services but for the real pointer.
class WindowProgramTest : public ::testing::Test, protected test::FakeShellServices {
protected:
    WindowProgramTest() {
        fake.files.folders = {"/opt",      "/opt/zembrel",      "/home",
                              "/home/ann", "/home/ann/.config", "/srv"};
        std::vector<std::string> lines{"ERMHDR", "%T\tPOBS", "%F\tpobs_id"};
        for (int i = 0; i < 20; ++i)
            lines.push_back("%R\t" + std::to_string(i));
        lines.push_back("%E");
        fake.files.files["/srv/Plan.xer"] = test::crlf(lines);
        window.attach(commands);
    }
    ~WindowProgramTest() override { window.hide(); }
    QPushButton* button(const char* name) {
        return window.findChild<QPushButton*>(QString::fromLatin1(name));
    }
    QAction* action(const char* name) {
        return window.findChild<QAction*>(QString::fromLatin1(name));
    }
    const std::string* saved(const char* key) {
        return profile.get("/home/ann/.config/Plovard/ZembrelPOBS.INI", "OPEN", key);
    }

    QtBusyPointer pointer;
    Platform platform{fake.files, fake.boxes, fake.events, pointer};
    ShellServices qtServices{platform, environment, profile,  dialog,
                             help,     prompts,     programs, modals};
    AppState state;
    OpenProject window;
    QtStartUpWindow windows{window, pointer, 0};
    MainCommands commands{state, window, windows, qtServices};
};

TEST_F(WindowProgramTest, ACancelledFirstDialogStillOpensTheWindow) {
    bool splashUp = false;
    dialog.onOpen = [&] {
        splashUp = windows.splash() != nullptr;
        EXPECT_FALSE(window.isVisible()); // the dialog comes before the window
    };
    fake.boxes.onShow = [&](const test::ShownBox&) {
        EXPECT_TRUE(window.isVisible());
        EXPECT_FALSE(window.isEnabled()); // the first survey runs with the window disabled
        EXPECT_NE(QGuiApplication::overrideCursor(), nullptr);
    };
    dialog.cancel();
    commands.startUp();
    EXPECT_FALSE(splashUp);
    EXPECT_EQ(window.results(), file_selection_text::kExplanation);
    EXPECT_EQ(fake.boxes.texts(), std::vector<std::string>{"File not specified."});
    EXPECT_FALSE(button("cmdPurge")->isEnabled());
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.isEnabled());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(window.top(), 1785.0f);
    EXPECT_TRUE(action("mnuFileVoice")->isChecked());
}

TEST_F(WindowProgramTest, StartOverAfterASurveyShowsTheNewReport) {
    dialog.choose("/srv/Plan.xer", "Plan.xer");
    commands.startUp();
    EXPECT_TRUE(button("cmdPurge")->isEnabled());
    EXPECT_EQ(window.findChild<QLineEdit*>(QStringLiteral("txtFileName"))->text(),
              QStringLiteral("Plan.xer"));
    fake.files.files["/srv/Empty.xer"] = test::crlf({"ERMHDR", "%T\tTASK", "%R\t1", "%E"});
    dialog.choose("/srv/Empty.xer", "Empty.xer");
    button("cmdAgain")->click();
    EXPECT_EQ(window.results(),
              "The above XER file does not contain any POBS or Risk Type records.");
    EXPECT_FALSE(button("cmdPurge")->isEnabled());
    EXPECT_EQ(*profile.get(state.SuiteSettingsFile, "CONFIGURE", "XER_LOCATION"), "/srv/");
}

TEST_F(WindowProgramTest, WhileASurveyRunsTheOtherOperationsWait) {
    dialog.choose("/srv/Plan.xer", "Plan.xer");
    commands.startUp();
    ASSERT_TRUE(button("cmdPurge")->isEnabled());
    bool checked = false;
    fake.events.onProcess = [&] {
        if (checked)
            return;
        checked = true;
        EXPECT_FALSE(button("cmdAgain")->isEnabled());
        EXPECT_FALSE(action("mnuReset")->isEnabled());
        button("cmdPurge")->click();   // refused
        action("mnuReset")->trigger(); // disabled: no question
        EXPECT_TRUE(fake.boxes.shown.empty());
        window.close(); // waits for the survey
        EXPECT_TRUE(window.isVisible());
    };
    window.setPosition(450, 600);
    dialog.cancel();
    button("cmdAgain")->click();
    EXPECT_TRUE(checked);
    EXPECT_FALSE(window.isVisible()); // shut down once the survey returned
    EXPECT_TRUE(windows.ended());
    EXPECT_EQ(*saved("TOP"), " 450");
    EXPECT_EQ(*saved("LEFT"), " 600");
    // The survey stopped at the close: no report, no purge.
    EXPECT_EQ(window.results(), "Opening XER file /srv/Plan.xer");
    EXPECT_EQ(fake.files.files.count("/srv/Plan-POBS.xer"), 0u);
}

TEST_F(WindowProgramTest, DoneExitAndTheCloseBoxAllSaveThePosition) {
    const std::function<void(OpenProject&)> ways[] = {
        [](OpenProject& w) { w.findChild<QPushButton*>(QStringLiteral("Cancel"))->click(); },
        [](OpenProject& w) { w.findChild<QAction*>(QStringLiteral("mnuFileExit"))->trigger(); },
        [](OpenProject& w) { w.close(); }};
    int run = 0;
    for (const auto& closeIt : ways) {
        ++run;
        AppState s;
        test::FakeProfileStore store;
        ShellServices svc{platform, environment, store, dialog, help, prompts, programs, modals};
        OpenProject w;
        QtStartUpWindow ws{w, pointer, 0};
        MainCommands c{s, w, ws, svc};
        w.attach(c);
        dialog.cancel();
        c.startUp();
        w.setPosition(float(100 * run), float(200 * run));
        closeIt(w);
        EXPECT_FALSE(w.isVisible()) << run;
        EXPECT_TRUE(ws.ended()) << run;
        const std::string* top =
            store.get("/home/ann/.config/Plovard/ZembrelPOBS.INI", "OPEN", "TOP");
        ASSERT_NE(top, nullptr) << run;
        EXPECT_EQ(*top, " " + std::to_string(100 * run));
    }
}

TEST_F(WindowProgramTest, MenuEntriesReachTheirCommands) {
    dialog.cancel();
    commands.startUp();
    fake.boxes.shown.clear();
    action("mnuFileVersion")->trigger();
    EXPECT_EQ(fake.boxes.texts(), std::vector<std::string>{"Version Number 4.42"});
    action("mnuHelpContents")->trigger();
    EXPECT_EQ(help.shown, std::vector<std::string>{"/opt/zembrel/ZembrelPOBS.chm"});
    action("mnuFileVideo")->trigger();
    EXPECT_EQ(modals.opened, std::vector<std::string>{"frmVideoSet"});
    EXPECT_TRUE(programs.started.empty());
    action("mnuFileVoice")->trigger();
    EXPECT_FALSE(state.SoundOn);
    EXPECT_FALSE(action("mnuFileVoice")->isChecked());
    action("mnuFileVoice")->trigger();
    EXPECT_TRUE(state.SoundOn);
    EXPECT_TRUE(action("mnuFileVoice")->isChecked());
    fake.boxes.answers = {MessageAnswer::Yes};
    window.setPosition(0, 0);
    action("mnuReset")->trigger();
    EXPECT_EQ(window.top(), 1785.0f);
    EXPECT_EQ(fake.boxes.shown.back().text, "Program settings have been reset.");
}

TEST_F(WindowProgramTest, TheVideoButtonPlaysTheVideoBesideTheExecutable) {
    dialog.cancel();
    commands.startUp();
    fake.boxes.shown.clear();
    state.VideoPlayerPath = "/usr/bin/mpv";
    fake.files.files["/opt/zembrel/ZembrelPOBS.avi"] = "RIFF";
    button("cmdVideo")->click();
    ASSERT_EQ(programs.started.size(), 1u);
    EXPECT_EQ(programs.started[0].first,
              "\"/usr/bin/mpv\" /play /close \"/opt/zembrel/ZembrelPOBS.avi\"");
    EXPECT_TRUE(modals.opened.empty());
    EXPECT_TRUE(fake.boxes.shown.empty());
}

} // namespace
} // namespace zembrel
