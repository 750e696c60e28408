#include "platform/qt/QtFileDialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>

namespace zembrel {

QStringList QtFileDialog::nameFilters(const std::string& filter) {
    const QStringList parts = QString::fromLocal8Bit(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return filters;
}

QString QtFileDialog::startFolder(const std::string& folder) {
    QString path = QDir::cleanPath(QFile::decodeName(QByteArray::fromStdString(folder)));
    // A remembered folder may have gone since; open as near to it as still exists. A folder
    // written by another platform ("C:\\") names nothing here.
    if (path.isEmpty() || QFileInfo(path).isRelative())
        return QDir::homePath();
    for (;;) {
        const QFileInfo info(path);
        if (info.isDir())
            return info.absoluteFilePath();
        const QString parent = info.absolutePath();
        if (parent == path)
            return QDir::homePath();
        path = parent;
    }
}

std::optional<FileChoice> QtFileDialog::open(const FileDialogOptions& options) {
    // Over the window that is modal now (the player selection window), else over the main one.
    QWidget* parent = QApplication::activeModalWidget();
    if (!parent && m_parent && m_parent->isVisible())
        parent = m_parent.data();
    QFileDialog dialog(parent, QString::fromLocal8Bit(options.title),
                       startFolder(options.initialFolder));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(options.fileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
#ifndef _WIN32
    dialog.setOption(QFileDialog::DontUseNativeDialog);
#endif
    dialog.setNameFilters(nameFilters(options.filter));
    auto* buttons = dialog.findChild<QDialogButtonBox*>();
    if (buttons && m_help && !options.helpFile.empty()) {
        buttons->addButton(QDialogButtonBox::Help);
        QObject::connect(buttons, &QDialogButtonBox::helpRequested, &dialog,
                         [this, &options] { m_help->showContents(options.helpFile); });
    }
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty())
        return std::nullopt;
    const QString path = QDir::toNativeSeparators(chosen.first());
    const QByteArray fullPath = QFile::encodeName(path);
    const QByteArray name = QFile::encodeName(QFileInfo(chosen.first()).fileName());
    return FileChoice{fullPath.toStdString(), name.toStdString()};
}

} // namespace zembrel
