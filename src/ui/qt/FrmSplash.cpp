#include "ui/qt/FrmSplash.h"

#include "info/VersionNotice.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>

// The picture is compiled into this library; a static library must register it itself.
static void registerSplashPicture() {
    Q_INIT_RESOURCE(pictures);
}

namespace zembrel {

namespace {
constexpr int pixels(int twips) {
    return twips / 15;
}
} // namespace

FrmSplash::FrmSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus) {
    registerSplashPicture();
    setObjectName(QStringLiteral("frmSplash"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setFixedSize(pixels(8205), pixels(4845));
    m_picture.load(QStringLiteral(":/splash.png"));

    auto* version = new QLabel(QString::fromStdString(SplashVersionText()), this);
    version->setObjectName(QStringLiteral("lblVersion"));
    version->setGeometry(pixels(5520), pixels(3960), pixels(2535), pixels(255));

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = rect();
        frame.moveCenter(screen->geometry().center());
        move(frame.topLeft());
    }
}

void FrmSplash::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_picture);
}

} // namespace zembrel
