#include "ui/qt/FrmSplash.h"

#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QScreen>

#include <gtest/gtest.h>

namespace zembrel {
namespace {

TEST(FrmSplashTest, BorderlessCentredWithPictureAndVersion) {
    FrmSplash splash;
    EXPECT_EQ(splash.size(), QSize(8205 / 15, 4845 / 15));
    EXPECT_TRUE(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(splash.geometry().center(), QGuiApplication::primaryScreen()->geometry().center());
    auto* version = splash.findChild<QLabel*>(QStringLiteral("lblVersion"));
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->text(), QStringLiteral("Zembrel Version 4.42.731"));
    EXPECT_EQ(version->geometry(), QRect(5520 / 15, 3960 / 15, 2535 / 15, 255 / 15));
    EXPECT_TRUE(splash.testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_EQ(splash.focusPolicy(), Qt::NoFocus);
    // The compiled-in picture is painted at the top left: its dark top band, then the page.
    const QImage shown = splash.grab().toImage();
    EXPECT_LT(qGray(shown.pixel(200, 2)), 100);
    EXPECT_GT(qGray(shown.pixel(200, 30)), 200);
    EXPECT_LT(qGray(shown.pixel(200, 309)), 100);
}

} // namespace
} // namespace zembrel
