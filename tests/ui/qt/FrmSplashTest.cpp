#include "ui/qt/FrmSplash.h"

#include <QGuiApplication>
#include <QImage>
#include <QScreen>

#include <gtest/gtest.h>

namespace zembrel {
namespace {

TEST(FrmSplashTest, BorderlessCentredUntouchableWithItsPicture) {
    FrmSplash splash;
    EXPECT_TRUE(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(splash.geometry().center(), QGuiApplication::primaryScreen()->geometry().center());
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
