#include "ui/qt/AboutDialog.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace zembrel {
namespace {

QString textOf(const QWidget& window, const char* name) {
    return window.findChild<QLabel*>(QString::fromLatin1(name))->text();
}

TEST(AboutDialogTest, ShowsTheVersionsAndRunsSystemInformation) {
    int sysInfo = 0;
    AboutDialog about([&] { ++sysInfo; });
    EXPECT_EQ(about.objectName(), QStringLiteral("frmAbout"));
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About Plovard"));
    EXPECT_FALSE(about.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_EQ(textOf(about, "lblVersion"), QStringLiteral("Build Number 4.42.731"));
    EXPECT_EQ(textOf(about, "lblDescription"), QStringLiteral("\n\nVersion: 4.42"));
    EXPECT_FALSE(about.findChild<QLabel*>(QStringLiteral("picIcon"))->pixmap().isNull());
    about.findChild<QPushButton*>(QStringLiteral("cmdSysInfo"))->click();
    EXPECT_EQ(sysInfo, 1);
    EXPECT_TRUE(about.findChild<QPushButton*>(QStringLiteral("cmdOK"))->isDefault());
}

TEST(AboutDialogTest, EnterEscapeAndOkCloseTheModalWindow) {
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        AboutDialog about([] {});
        bool shown = false;
        QTimer::singleShot(0, &about, [&] {
            shown = about.isVisible();
            QTest::keyClick(&about, key);
        });
        about.exec(); // returns once a key has closed the window
        EXPECT_TRUE(shown);
        EXPECT_FALSE(about.isVisible());
    }
    AboutDialog about([] {});
    QTimer::singleShot(0, &about,
                       [&] { about.findChild<QPushButton*>(QStringLiteral("cmdOK"))->click(); });
    EXPECT_EQ(about.exec(), QDialog::Accepted);
}

} // namespace
} // namespace zembrel
