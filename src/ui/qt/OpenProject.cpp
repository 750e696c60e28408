#include "ui/qt/OpenProject.h"

#include "shell/MainCommands.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace zembrel {

namespace {

QRect twipRect(int left, int top, int width, int height) {
    return {OpenProject::pixels(left), OpenProject::pixels(top), OpenProject::pixels(width),
            OpenProject::pixels(height)};
}

// A stored position may hold any number; the window system takes a sane pixel position.
int pixelPosition(float twips) {
    if (std::isnan(twips))
        return 0;
    const double pixels = std::round(double(twips) / OpenProject::kTwipsPerPixel);
    return static_cast<int>(std::clamp(pixels, -1.0e6, 1.0e6));
}

QString fromText(const std::string& text) {
    return QString::fromLocal8Bit(text);
}

} // namespace

OpenProject::OpenProject(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("OpenProject"));
    setWindowTitle(QStringLiteral("Plovard Scourvane Plus"));
    m_client = new QWidget(this);
    m_client->setFixedSize(pixels(5280), pixels(4755));
    setCentralWidget(m_client);

    m_video = addButton("cmdVideo", "&Video", "View a short video on how to run Gantrel.",
                        twipRect(240, 0, 1215, 495));
    m_again = addButton("cmdAgain", "&Start Over", "Look for a new XER file.",
                        twipRect(2040, 0, 1215, 495));
    m_done = addButton("Cancel", "&Done", "Exit Program", twipRect(3840, 0, 1215, 495));

    auto* label4 = new QLabel(QStringLiteral("File Name"), m_client);
    label4->setObjectName(QStringLiteral("Label4"));
    label4->setGeometry(twipRect(240, 600, 1935, 255));

    m_fileName = new QLineEdit(m_client);
    m_fileName->setObjectName(QStringLiteral("txtFileName"));
    m_fileName->setGeometry(twipRect(240, 840, 4815, 585));

    m_resultsLabel = new QLabel(m_client);
    m_resultsLabel->setObjectName(QStringLiteral("lblResults"));
    m_resultsLabel->setGeometry(twipRect(240, 1680, 4815, 2175));
    m_resultsLabel->setTextFormat(Qt::PlainText);
    m_resultsLabel->setWordWrap(true);
    m_resultsLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    m_purge = addButton("cmdPurge", "Purge", nullptr, twipRect(2040, 4080, 1215, 495));
    m_purge->setEnabled(false);

    QWidget::setTabOrder(m_done, m_video);
    QWidget::setTabOrder(m_video, m_again);
    QWidget::setTabOrder(m_again, m_fileName);
    QWidget::setTabOrder(m_fileName, m_purge);
    m_done->setFocus();

    buildMenus();
    // The client area keeps its size; the menu bar comes on top of it.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

QPushButton* OpenProject::addButton(const char* name, const char* caption, const char* tooltip,
                                    QRect geometry) {
    auto* button = new QPushButton(QString::fromLatin1(caption), m_client);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    button->setAutoDefault(false);
    if (tooltip)
        button->setToolTip(QString::fromLatin1(tooltip));
    return button;
}

void OpenProject::buildMenus() {
    auto entry = [](QMenu* menu, const char* name, const char* caption) {
        QAction* action = menu->addAction(QString::fromLatin1(caption));
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    auto separator = [](QMenu* menu, const char* name) {
        menu->addSeparator()->setObjectName(QString::fromLatin1(name));
    };
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    file->menuAction()->setObjectName(QStringLiteral("mnuFile"));
    entry(file, "mnuFileVersion", "&Version");
    entry(file, "mnuFileVideo", "Video &Player");
    m_voice = entry(file, "mnuFileVoice", "&Voice Prompts");
    m_voice->setCheckable(true);
    separator(file, "mnuFileDash");
    m_reset = entry(file, "mnuReset", "&Reset to Defaults");
    entry(file, "mnuFileExit", "&Exit");

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    help->menuAction()->setObjectName(QStringLiteral("mnuHelp"));
    entry(help, "mnuHelpContents", "&Contents");
    separator(help, "mnuHelpDash");
    entry(help, "nmuHelpAbout", "&About Scourvane");
}

void OpenProject::attach(MainCommands& commands) {
    auto action = [this](const char* name) {
        return findChild<QAction*>(QString::fromLatin1(name));
    };
    connect(m_again, &QPushButton::clicked, this, [&commands] { commands.startOver(); });
    connect(m_purge, &QPushButton::clicked, this, [&commands] { commands.purge(); });
    connect(m_done, &QPushButton::clicked, this, &QWidget::close);
    connect(action("mnuFileExit"), &QAction::triggered, this, &QWidget::close);
    connect(action("mnuFileVersion"), &QAction::triggered, this,
            [&commands] { commands.showVersion(); });
    // The entry's check mark follows the switch, which the command sets.
    connect(m_voice, &QAction::triggered, this, [&commands] { commands.toggleVoicePrompts(); });
    connect(m_reset, &QAction::triggered, this, [&commands] { commands.resetToDefaults(); });
    connect(action("mnuHelpContents"), &QAction::triggered, this,
            [&commands] { commands.showHelp(); });
    commands.onRunningChanged = [this](bool running) {
        m_again->setEnabled(!running);
        m_reset->setEnabled(!running);
    };
    m_closeRequested = [&commands] { return commands.requestClose(); };
}

void OpenProject::setResults(const std::string& text) {
    m_results = text;
    QString shown = fromText(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_resultsLabel->setText(shown);
}

void OpenProject::redrawResults() {
    m_resultsLabel->repaint();
}

void OpenProject::setPurgeEnabled(bool enabled) {
    m_purge->setEnabled(enabled);
}

void OpenProject::setPurgeCaption(const std::string& caption) {
    m_purge->setText(fromText(caption));
}

void OpenProject::setDoneEnabled(bool enabled) {
    m_done->setEnabled(enabled);
}

void OpenProject::setFileName(const std::string& name) {
    m_fileName->setText(fromText(name));
}

void OpenProject::setPosition(float top, float left) {
    m_topTwips = top;
    m_leftTwips = left;
    move(pixelPosition(left), pixelPosition(top));
    if (isVisible())
        keepReachable();
}

float OpenProject::top() const {
    const int y = pos().y();
    return y == pixelPosition(m_topTwips) ? m_topTwips : float(y * kTwipsPerPixel);
}

float OpenProject::left() const {
    const int x = pos().x();
    return x == pixelPosition(m_leftTwips) ? m_leftTwips : float(x * kTwipsPerPixel);
}

void OpenProject::setVoiceChecked(bool checked) {
    m_voice->setChecked(checked);
}

void OpenProject::closeEvent(QCloseEvent* event) {
    if (!m_closeRequested || m_closeRequested())
        event->accept();
    else
        event->ignore();
}

void OpenProject::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    keepReachable();
}

void OpenProject::keepReachable() {
    const QRect frame(pos(), frameGeometry().size());
    const QRect titleBar(frame.left(), frame.top(), frame.width(), std::min(frame.height(), 30));
    const auto screens = QGuiApplication::screens();
    QScreen* nearest = nullptr;
    double nearestDistance = 0;
    for (QScreen* screen : screens) {
        const QRect area = screen->availableGeometry();
        const QRect seen = area.intersected(titleBar);
        if (seen.width() >= 40 && seen.height() >= 10)
            return;
        const QPoint centre = frame.center();
        const double dx = std::max({area.left() - centre.x(), 0, centre.x() - area.right()});
        const double dy = std::max({area.top() - centre.y(), 0, centre.y() - area.bottom()});
        const double distance = std::hypot(dx, dy);
        if (!nearest || distance < nearestDistance) {
            nearest = screen;
            nearestDistance = distance;
        }
    }
    if (!nearest)
        return;
    const QRect area = nearest->availableGeometry();
    const int x = std::max(area.left(), std::min(frame.left(), area.right() + 1 - frame.width()));
    const int y = std::max(area.top(), std::min(frame.top(), area.bottom() + 1 - frame.height()));
    move(x, y);
}

} // namespace zembrel
