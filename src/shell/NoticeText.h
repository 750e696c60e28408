#pragma once

#include "platform/Ui.h"
#include "xer/Notice.h"

#include <optional>
#include <string>

namespace zembrel {

// A message box as the window shows it.
struct BoxText {
    std::string text;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
};

// How the main window shows a notice: a message box first, then the results label's new text.
struct NoticeText {
    std::optional<BoxText> box;
    std::optional<std::string> label;
};

// The one place where the survey's and the purge's texts are made from their values.
NoticeText noticeText(const xer::Notice& notice);

} // namespace zembrel
