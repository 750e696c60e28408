#pragma once

#include <string>

namespace zembrel {

// What the choice of the video player changes in frmVideoSet: the text boxes of the three
// player rows (1 txtWindows, 2 txtReal, 3 txtOther).
class VideoSetSurface {
public:
    virtual ~VideoSetSurface() = default;
    virtual std::string rowText(int option) const = 0;
    virtual void setRowText(int option, const std::string& text) = 0;
};

} // namespace zembrel
