#pragma once

#include "platform/FileDialog.h"
#include "platform/HelpViewer.h"

#include <QPointer>
#include <QWidget>

namespace zembrel {

// The open-file dialog through QFileDialog. Outside Windows it is Qt's own dialog, whose
// patterns match names in any letter case, as the Windows dialog does; its Help button shows
// the help file through the help viewer given.
class QtFileDialog final : public FileDialog {
public:
    void setParentWindow(QWidget* parent) { m_parent = parent; }
    void setHelpViewer(HelpViewer* help) { m_help = help; }
    std::optional<FileChoice> open(const FileDialogOptions& options) override;

    // "P6 XER Files|*.XER" as Qt writes a filter: "P6 XER Files (*.XER)".
    static QStringList nameFilters(const std::string& filter);
    // The folder to open in: the given one, else its nearest existing parent, else home.
    static QString startFolder(const std::string& folder);

private:
    QPointer<QWidget> m_parent;
    HelpViewer* m_help = nullptr;
};

} // namespace zembrel
