#include "ui/qt/OpenProject.h"

#include "shell/MainCommands.h"
#include "shell/OpenProjectForm.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <optional>

namespace zembrel {

namespace {

// A stored position may hold any number; the window system takes a sane pixel position.
int pixelPosition(float twips) {
    if (std::isnan(twips))
        return 0;
    const double pixels = std::round(double(twips) / kTwipsPerPixel);
    return static_cast<int>(std::clamp(pixels, -1.0e6, 1.0e6));
}

QString fromText(const std::string& text) {
    return QString::fromLocal8Bit(text);
}

} // namespace

OpenProject::OpenProject(QWidget* parent)
    : QMainWindow(parent, FormRenderer::windowFlags(openProjectForm())),
      m_client(new QWidget(this)), m_form(openProjectForm(), *m_client, menuBar()) {
    const FormDescription& form = openProjectForm();
    FormRenderer::nameWindow(form, *this);
    setCentralWidget(m_client);
    m_again = m_form.control<QPushButton>("cmdAgain");
    m_done = m_form.control<QPushButton>("Cancel");
    m_purge = m_form.control<QPushButton>("cmdPurge");
    m_fileName = m_form.control<QLineEdit>("txtFileName");
    m_resultsLabel = m_form.control<QLabel>("lblResults");
    m_voice = m_form.action("mnuFileVoice");
    m_reset = m_form.action("mnuReset");
    // The client area keeps its size; the menu bar comes on top of it.
    if (form.fixedSize)
        layout()->setSizeConstraint(QLayout::SetFixedSize);
    setAcceptDrops(true);
    m_progress = new QProgressBar(m_client);
    m_progress->setObjectName(QStringLiteral("progress"));
    m_progress->setGeometry(twipsToPixels(kProgressRect.left), twipsToPixels(kProgressRect.top),
                            twipsToPixels(kProgressRect.width),
                            twipsToPixels(kProgressRect.height));
    m_progress->setRange(0, 1000);
    m_progress->setTextVisible(false);
    m_progress->hide();
}

namespace {
// The one local file that a drag carries, or nothing.
std::optional<std::string> droppedFile(const QMimeData* data) {
    if (!data || data->urls().size() != 1 || !data->urls().front().isLocalFile())
        return std::nullopt;
    return data->urls().front().toLocalFile().toLocal8Bit().toStdString();
}
} // namespace

void OpenProject::dragEnterEvent(QDragEnterEvent* event) {
    if (droppedFile(event->mimeData()) && !m_running)
        event->acceptProposedAction();
}

void OpenProject::dropEvent(QDropEvent* event) {
    const auto file = droppedFile(event->mimeData());
    if (!file || !m_dropped)
        return;
    event->acceptProposedAction();
    m_dropped(*file);
}

void OpenProject::showProgress(std::uint64_t done, std::uint64_t total) {
    if (!m_running || total == 0 || m_runTime.elapsed() < 500)
        return;
    m_progress->show();
    m_progress->setValue(static_cast<int>(std::min(done, total) * 1000 / total));
}

void OpenProject::focusFirstControl() {
    const auto order = openProjectForm().keyboardOrder();
    if (!order.empty())
        if (QWidget* first = m_form.control(order.front()->key()))
            first->setFocus();
}

void OpenProject::attach(MainCommands& commands) {
    auto action = [this](const char* name) { return m_form.action(name); };
    connect(m_form.control<QPushButton>("cmdVideo"), &QPushButton::clicked, this,
            [&commands] { commands.playVideo(); });
    connect(m_again, &QPushButton::clicked, this, [&commands] { commands.startOver(); });
    connect(m_purge, &QPushButton::clicked, this, [&commands] { commands.purge(); });
    connect(m_done, &QPushButton::clicked, this, &QWidget::close);
    connect(action("mnuFileExit"), &QAction::triggered, this, &QWidget::close);
    connect(action("mnuFileVersion"), &QAction::triggered, this,
            [&commands] { commands.showVersion(); });
    connect(action("mnuFileVideo"), &QAction::triggered, this,
            [&commands] { commands.chooseVideoPlayer(); });
    // The entry's check mark follows the switch, which the command sets.
    connect(m_voice, &QAction::triggered, this, [&commands] { commands.toggleVoicePrompts(); });
    connect(m_reset, &QAction::triggered, this, [&commands] { commands.resetToDefaults(); });
    connect(action("mnuHelpContents"), &QAction::triggered, this,
            [&commands] { commands.showHelp(); });
    connect(action("nmuHelpAbout"), &QAction::triggered, this,
            [&commands] { commands.showAbout(); });
    // While an operation runs, what would change the current file is greyed.
    commands.onRunningChanged = [this](bool running) {
        m_running = running;
        m_runTime.start();
        m_progress->hide();
        m_again->setEnabled(!running);
        m_reset->setEnabled(!running);
    };
    commands.setProgressListener(
        [this](std::uint64_t done, std::uint64_t total) { showProgress(done, total); });
    m_dropped = [&commands](const std::string& path) { commands.chooseDroppedFile(path); };
    m_closeRequested = [&commands] { return commands.requestClose(); };
}

void OpenProject::setResults(const std::string& text) {
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
