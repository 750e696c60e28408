#include "ui/qt/OpenProject.h"

#include "shell/MainCommands.h"
#include "shell/OpenProjectForm.h"
#include "shell/WindowPlacement.h"

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

// Qt scales for high-DPI screens itself: its pixels are at 96 dots per inch.
constexpr int kDpi = 1440 / kTwipsPerPixel;

PixelRect pixelRect(const QRect& r) {
    return {r.left(), r.top(), r.width(), r.height()};
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
    m_purge = m_form.control<QPushButton>("cmdPurge");
    m_fileName = m_form.control<QLineEdit>("txtFileName");
    m_resultsLabel = m_form.control<QLabel>("lblResults");
    m_voice = m_form.action("mnuFileVoice");
    // The client area keeps its size; the menu bar comes on top of it.
    if (form.fixedSize)
        layout()->setSizeConstraint(QLayout::SetFixedSize);
    setAcceptDrops(true);
    m_progress = m_form.control<QProgressBar>("progress");
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
    if (droppedFile(event->mimeData()) && m_commands && !m_commands->running())
        event->acceptProposedAction();
}

void OpenProject::dropEvent(QDropEvent* event) {
    const auto file = droppedFile(event->mimeData());
    if (!file || !m_commands)
        return;
    event->acceptProposedAction();
    m_commands->chooseDroppedFile(*file);
}

void OpenProject::setProgress(std::optional<int> thousandths) {
    m_progress->setVisible(thousandths.has_value());
    if (thousandths)
        m_progress->setValue(*thousandths);
}

void OpenProject::focusFirstControl() {
    const auto order = openProjectForm().keyboardOrder();
    if (!order.empty())
        if (QWidget* first = m_form.control(order.front()->key()))
            first->setFocus();
}

// Every control and menu entry that runs a command forwards to it by its name.
void OpenProject::attach(MainCommands& commands) {
    m_commands = &commands;
    for (const std::string_view name : MainCommands::commandNames()) {
        const std::string key(name);
        auto run = [&commands, key] { commands.invoke(key); };
        if (auto* button = qobject_cast<QPushButton*>(m_form.control(key)))
            connect(button, &QPushButton::clicked, this, run);
        else if (QAction* entry = m_form.action(key))
            connect(entry, &QAction::triggered, this, run);
    }
}

void OpenProject::setResults(const std::string& text) {
    QString shown = fromText(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_resultsLabel->setText(shown);
}

void OpenProject::redrawResults() {
    m_resultsLabel->repaint();
}

void OpenProject::setControlEnabled(std::string_view name, bool enabled) {
    const std::string key(name);
    if (QWidget* control = m_form.control(key))
        control->setEnabled(enabled);
    else if (QAction* entry = m_form.action(key))
        entry->setEnabled(enabled);
}

void OpenProject::closeWindow() {
    close();
}

void OpenProject::setPurgeCaption(const std::string& caption) {
    m_purge->setText(fromText(caption));
}

void OpenProject::setFileName(const std::string& name) {
    m_fileName->setText(fromText(name));
}

void OpenProject::setPosition(float top, float left) {
    m_topTwips = top;
    m_leftTwips = left;
    move(pixelPosition(left, kDpi), pixelPosition(top, kDpi));
    if (isVisible())
        keepReachable();
}

float OpenProject::top() const {
    return positionTwips(pos().y(), m_topTwips, kDpi);
}

float OpenProject::left() const {
    return positionTwips(pos().x(), m_leftTwips, kDpi);
}

void OpenProject::setVoiceChecked(bool checked) {
    m_voice->setChecked(checked);
}

void OpenProject::closeEvent(QCloseEvent* event) {
    if (!m_commands || m_commands->requestClose())
        event->accept();
    else
        event->ignore();
}

void OpenProject::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    keepReachable();
}

void OpenProject::keepReachable() {
    std::vector<PixelRect> areas;
    for (QScreen* screen : QGuiApplication::screens())
        areas.push_back(pixelRect(screen->availableGeometry()));
    if (const auto moved =
            keepTitleBarOnScreen(pixelRect(QRect(pos(), frameGeometry().size())), areas))
        move(moved->x, moved->y);
}

} // namespace zembrel
