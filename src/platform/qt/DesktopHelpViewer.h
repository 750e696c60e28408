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

// Shows the help's pages, shipped as HTML in help/ beside the help file, in a help window of the
// program's own: the same help on every desktop, whatever it makes of .chm files (Linux viewers
// of compiled help differ in what they show). Without the pages the desktop's handler for .chm
// files opens the help file, where there is one; without either a message box says why no help
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
