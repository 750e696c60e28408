#include "platform/qt/DesktopHelpViewer.h"

#include "platform/qt/HelpWindow.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace zembrel {

namespace {

// Asks the desktop's MIME database for the default program of the .chm types.
bool desktopOpensChm() {
    for (const char* type : {"application/vnd.ms-htmlhelp", "application/x-chm"}) {
        QProcess query;
        query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"),
                                                 QString::fromLatin1(type)});
        if (query.waitForFinished(2000) && query.exitCode() == 0 &&
            !query.readAllStandardOutput().trimmed().isEmpty())
            return true;
    }
    return false;
}

} // namespace

DesktopHelpViewer::DesktopHelpViewer(MessageBoxes& boxes, Desktop desktop)
    : m_boxes(boxes), m_desktop(std::move(desktop)) {}

DesktopHelpViewer::~DesktopHelpViewer() {
    delete m_window; // closed with the program, like the viewer on Windows
}

DesktopHelpViewer::Desktop DesktopHelpViewer::systemDesktop() {
    return {desktopOpensChm, [](const QUrl& url) { QDesktopServices::openUrl(url); }};
}

void DesktopHelpViewer::showContents(const std::string& helpFile) {
    const QString file = QFile::decodeName(QByteArray::fromStdString(helpFile));
    const QDir pages(QFileInfo(file).absoluteDir().filePath(QStringLiteral("help")));
    if (!m_window) {
        auto contents = HelpWindow::readContents(pages);
        if (!contents.empty())
            m_window = new HelpWindow(pages, std::move(contents));
    }
    if (m_window) {
        // Over a modal window (the file dialog) only another modal window takes input.
        QWidget* modal = QApplication::activeModalWidget();
        m_window->hide();
        m_window->setWindowModality(modal && modal != m_window ? Qt::ApplicationModal
                                                               : Qt::NonModal);
        m_window->show();
        m_window->raise();
        m_window->activateWindow();
        return;
    }
    if (QFileInfo(file).isFile() && m_desktop.opensChm()) {
        m_desktop.open(QUrl::fromLocalFile(file));
        return;
    }
    m_boxes.show("The help cannot be shown: the help pages that come with the program are "
                 "missing from its help folder, and no program on this computer opens " +
                     helpFile + ".",
                 MessageButtons::Ok, MessageIcon::Exclamation, "Help");
}

} // namespace zembrel
