#pragma once

#include "core/AppState.h"
#include "core/MainSurface.h"
#include "core/PromptPlayer.h"
#include "platform/Platform.h"
#include "xer/Notice.h"
#include "xer/Report.h"

namespace zembrel {

// Shows an operation's notices in the main window: message boxes titled with the application
// title, and the results label.
class WindowNotices final : public xer::OperationObserver {
public:
    WindowNotices(MainSurface& window, MessageBoxes& boxes) : m_window(window), m_boxes(boxes) {}
    void notice(const xer::Notice& notice) override;
    bool mayReplace(const xer::Notice& notice) override;

private:
    MainSurface& m_window;
    MessageBoxes& m_boxes;
};

// The survey of the current file, shown in the main window.
xer::SurveyReport SurveyInWindow(AppState& state, MainSurface& window, Platform& platform);

// The purge of the current file, shown in the main window with its voice prompts; the new file,
// once made, is the one the window names.
xer::PurgeReport PurgeInWindow(AppState& state, MainSurface& window, Platform& platform,
                               PromptPlayer& prompts);

} // namespace zembrel
