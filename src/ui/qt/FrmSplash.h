#pragma once

#include <QWidget>

namespace zembrel {

// The splash window, built from its description: borderless, centred, the picture at its top
// left and the version line. It neither takes the focus nor reacts to the mouse or the keyboard.
class FrmSplash final : public QWidget {
public:
    explicit FrmSplash(QWidget* parent = nullptr);
};

} // namespace zembrel
