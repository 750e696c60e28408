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

// A click, Space or Enter in a row's box chooses; Tab and the arrow keys only move the focus,
// Tab in the keyboard order (once an option is chosen its group's stop is that one) and the
// arrows round all four options; Enter closes only on Exit.
TEST(FrmVideoSetTest, ClicksSpaceAndEnterInABoxChooseTheKeysThatMoveTheFocusDoNot) {
    FrmVideoSet window(PlayerRows::windows());
    std::vector<int> choices;
    window.onChoice = [&](int option) { choices.push_back(option); };
    const auto focused = [&] { return QApplication::focusWidget()->objectName().toStdString(); };
    // The controls that the keys take the focus to, one after another.
    const auto walk = [&](std::vector<Qt::Key> keys) {
        std::vector<std::string> visited;
        for (const Qt::Key key : keys) {
            QTest::keyClick(QApplication::focusWidget(), key);
            visited.push_back(focused());
        }
        return visited;
    };
    const auto tabs = [](std::size_t n) { return std::vector<Qt::Key>(n, Qt::Key_Tab); };
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    EXPECT_EQ(focused(), "Option1(0)");
    EXPECT_EQ(walk(tabs(7)),
              (std::vector<std::string>{"Option1(1)", "Option1(2)", "txtWindows", "txtReal",
                                        "Option1(3)", "txtOther", "cmdExit"}));
    auto* other = window.findChild<QRadioButton*>(QStringLiteral("Option1(3)"));
    other->click();
    other->click(); // again: a path typed since is taken
    other->setFocus();
    EXPECT_EQ(walk({Qt::Key_Down, Qt::Key_Down, Qt::Key_Up, Qt::Key_Up, Qt::Key_Up}),
              (std::vector<std::string>{"Option1(0)", "Option1(1)", "Option1(0)", "Option1(3)",
                                        "Option1(2)"}));
    EXPECT_EQ(choices, (std::vector<int>{3, 3}));
    EXPECT_TRUE(other->isChecked());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_TRUE(window.findChild<QRadioButton*>(QStringLiteral("Option1(2)"))->isChecked());
    EXPECT_FALSE(other->isChecked());
    // Now the group's Tab stop is the chosen option.
    EXPECT_EQ(walk(tabs(5)), (std::vector<std::string>{"txtWindows", "txtReal", "txtOther",
                                                       "cmdExit", "Option1(2)"}));
    auto* box = window.findChild<QLineEdit*>(QStringLiteral("txtOther"));
    box->setFocus();
    QTest::keyClicks(box, QStringLiteral("/opt/player"));
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(choices, (std::vector<int>{3, 3, 2, 3}));
    EXPECT_EQ(window.rowText(3), "/opt/player");
    EXPECT_TRUE(window.isVisible());
    auto* exit = window.findChild<QPushButton*>(QStringLiteral("cmdExit"));
    exit->setFocus();
    QTest::keyClick(exit, Qt::Key_Enter); // the keypad's Enter too
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

// The About window: the versions, System Info (Enter on it too) and the keys that close it
// (Enter elsewhere, Escape).
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
        auto* sysInfoButton = about.findChild<QPushButton*>(QStringLiteral("cmdSysInfo"));
        sysInfoButton->setFocus();
        QTest::keyClick(sysInfoButton, Qt::Key_Return); // the focused button, not OK
        EXPECT_EQ(sysInfo, 1);
        EXPECT_FALSE(sysInfoButton->isDefault());
        QTimer::singleShot(0, &about, [&] { QTest::keyClick(&about, key); });
        about.exec(); // returns once the key has closed the window
        EXPECT_FALSE(about.isVisible());
    }
}

} // namespace
} // namespace zembrel
