#pragma once

namespace zembrel {

// The windows that the logic opens modally: the renderer builds each from its description,
// runs it, and returns when it is closed.
class ModalWindows {
public:
    virtual ~ModalWindows() = default;
    // frmVideoSet, the choice of the video player.
    virtual void showVideoPlayerWindow() = 0;
};

} // namespace zembrel
