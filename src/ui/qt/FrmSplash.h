#pragma once

#include <QPixmap>
#include <QWidget>

namespace zembrel {

// The splash window: borderless, centred, the picture at its top left and the version line.
// It neither takes the focus nor reacts to the mouse or the keyboard.
class FrmSplash final : public QWidget {
public:
    explicit FrmSplash(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_picture;
};

} // namespace zembrel
