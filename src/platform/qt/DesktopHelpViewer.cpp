#include "platform/qt/DesktopHelpViewer.h"

#include <QDesktopServices>
#include <QFile>
#include <QUrl>

namespace zembrel {

void DesktopHelpViewer::showContents(const std::string& helpFile) {
    QDesktopServices::openUrl(
        QUrl::fromLocalFile(QFile::decodeName(QByteArray::fromStdString(helpFile))));
}

} // namespace zembrel
