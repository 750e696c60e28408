#include "ui/qt/FrmVideoSet.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeServices.h"
#include "fakes/FakeUi.h"
#include "ui/qt/AboutDialog.h"
#include "ui/qt/QtModalWindows.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace zembrel {
namespace {

TEST(FrmVideoSetTest, EveryClickOnAnOptionIsAChoiceAndExitCloses) {
    FrmVideoSet window(PlayerRows::windows());
    std::vector<int> choices;
    window.onChoice = [&](int option) { choices.push_back(option); };
    auto option = [&](int index) {
        return window.findChild<QRadioButton*>(QStringLiteral("Option1(%1)").arg(index));
    };
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    EXPECT_FALSE(option(0)->isChecked()); // none is chosen on opening
    option(2)->click();
    option(2)->click(); // again: a path typed since is taken
    option(2)->setFocus();
    QTest::keyClick(option(2), Qt::Key_Up); // the arrow keys choose too
    EXPECT_EQ(choices, (std::vector<int>{2, 2, 1}));
    EXPECT_TRUE(option(1)->isChecked());
    window.findChild<QPushButton*>(QStringLiteral("cmdExit"))->click();
    EXPECT_FALSE(window.isVisible());
}

TEST(FrmVideoSetTest, TheBoxesGiveBackTheBytesSetUntilTheUserEdits) {
    FrmVideoSet window(PlayerRows::windows());
    const std::string latin1 = "/opt/vid\xe9o/player"; // a file name that is not UTF-8
    window.setRowText(3, latin1);
    window.setRowText(1, "C:\\wmplayer.exe");
    EXPECT_EQ(window.rowText(3), latin1);
    EXPECT_EQ(window.rowText(2), "");
    auto* box = window.findChild<QLineEdit*>(QStringLiteral("txtWindows"));
    EXPECT_EQ(box->text(), QStringLiteral("C:\\wmplayer.exe"));
    box->setText(QString::fromUtf8("/opt/vid\xc3\xa9o/mpv"));
    EXPECT_EQ(window.rowText(1), "/opt/vid\xc3\xa9o/mpv");
}

TEST(QtModalWindowsTest, TheSelectionWindowOpensWithThePathAndRunsEachChoice) {
    AppState state;
    state.VideoPlayerPath = "/usr/bin/mpv";
    state.SuiteSettingsFile = "/cfg/Zembrel.INI";
    test::FakeFileSystem files;
    test::FakeFileDialog dialog;
    test::FakeProfileStore profile;
    test::FakeEvents events;
    int sysInfo = 0;
    QtModalWindows windows(state, PlayerRows::posix(), {files, dialog, profile, events},
                           [&] { ++sysInfo; });
    dialog.choose("/opt/players/mpv", "mpv");
    std::string shown;
    QTimer::singleShot(0, [&] {
        auto* window = dynamic_cast<FrmVideoSet*>(QApplication::activeModalWidget());
        ASSERT_NE(window, nullptr);
        shown = window->rowText(2);
        window->findChild<QRadioButton*>(QStringLiteral("Option1(2)"))->click();
        window->close();
    });
    windows.showVideoPlayerWindow();
    EXPECT_EQ(shown, "/usr/bin/mpv");
    EXPECT_EQ(state.VideoPlayerPath, "/opt/players/mpv"); // /usr/bin/mpv is not in the fakes
    EXPECT_EQ(*profile.get("/cfg/Zembrel.INI", "CONFIGURE", "VIDEO_PLAYER"), "/opt/players/mpv");
    // The About window opens modally from the same place; its System Info runs the command.
    QTimer::singleShot(0, [&] {
        auto* about = dynamic_cast<AboutDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(about, nullptr);
        about->findChild<QPushButton*>(QStringLiteral("cmdSysInfo"))->click();
        about->close();
    });
    windows.showAboutWindow();
    EXPECT_EQ(sysInfo, 1);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

// The About window: the versions, System Info and the keys that close it (Enter, Escape).
TEST(AboutDialogTest, ShowsTheVersionsRunsSystemInformationAndClosesOnEnterOrEscape) {
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        int sysInfo = 0;
        AboutDialog about([&] { ++sysInfo; });
        const auto label = [&](const char* name) {
            return about.findChild<QLabel*>(QString::fromLatin1(name));
        };
        EXPECT_EQ(about.objectName(), QStringLiteral("frmAbout"));
        EXPECT_EQ(about.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
                  Qt::WindowCloseButtonHint); // a dialog's border
        EXPECT_EQ(about.windowTitle(), QStringLiteral("About Plovard"));
        EXPECT_EQ(label("lblVersion")->text(), QStringLiteral("Build Number 4.42.731"));
        EXPECT_EQ(label("lblDescription")->text(), QStringLiteral("\n\nVersion: 4.42"));
        EXPECT_FALSE(label("picIcon")->pixmap().isNull());
        about.findChild<QPushButton*>(QStringLiteral("cmdSysInfo"))->click();
        EXPECT_EQ(sysInfo, 1);
        QTimer::singleShot(0, &about, [&] { QTest::keyClick(&about, key); });
        about.exec(); // returns once the key has closed the window
        EXPECT_FALSE(about.isVisible());
    }
}

} // namespace
} // namespace zembrel
