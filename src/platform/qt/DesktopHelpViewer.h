#pragma once

#include "platform/HelpViewer.h"
#include "platform/Ui.h"

#include <QPointer>
#include <QUrl>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>

namespace zembrel {

// Opens the help file with the desktop's handler for its type where there is one. A plain
// desktop has none for .chm files: the same pages, shipped as HTML in help/ beside the file, are
// then shown in a help window of the program's own; without them a message box says why no help
// comes.
class DesktopHelpViewer final : public HelpViewer {
public:
    struct Desktop {
        // Whether some program opens .chm files.
        std::function<bool()> opensChm;
        std::function<void(const QUrl&)> open;
    };
    explicit DesktopHelpViewer(MessageBoxes& boxes, Desktop desktop = systemDesktop());
    ~DesktopHelpViewer() override;

    void showContents(const std::string& helpFile) override;
    // The program's own help window, once opened.
    QWidget* window() const { return m_window; }

    static Desktop systemDesktop();

private:
    MessageBoxes& m_boxes;
    Desktop m_desktop;
    QPointer<QWidget> m_window;
};

} // namespace zembrel
