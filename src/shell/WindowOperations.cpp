#include "shell/WindowOperations.h"

#include "shell/NoticeText.h"
#include "xer/Purge.h"
#include "xer/Survey.h"

namespace zembrel {

void WindowNotices::notice(const xer::Notice& notice) {
    const NoticeText shown = noticeText(notice);
    if (shown.box)
        m_boxes.show(shown.box->text, shown.box->buttons, shown.box->icon, kAppTitle);
    if (shown.label)
        m_window.setResults(*shown.label);
}

bool WindowNotices::mayReplace(const xer::Notice& notice) {
    const NoticeText shown = noticeText(notice);
    return m_boxes.show(shown.box->text, shown.box->buttons, shown.box->icon, kAppTitle) ==
           MessageAnswer::Yes;
}

xer::SurveyReport SurveyInWindow(AppState& state, MainSurface& window, Platform& platform) {
    WindowNotices notices(window, platform.boxes);
    return xer::PerformSurvey(state, platform, notices);
}

xer::PurgeReport PurgeInWindow(AppState& state, MainSurface& window, Platform& platform,
                               PromptPlayer& prompts) {
    prompts.play(prompt::PurgeStarted);
    WindowNotices notices(window, platform.boxes);
    const xer::PurgeReport report = xer::Purge(state, platform, notices);
    if (report.outcome == xer::PurgeOutcome::Created)
        window.setFileName(report.newName);
    if (report.reported())
        prompts.play(prompt::XerCreated);
    return report;
}

} // namespace zembrel
