#pragma once

#include "platform/Ui.h"

#include <QPointer>
#include <QWidget>

namespace zembrel {

// Modal message boxes over the main window (over nothing until it exists). Yes is the default
// button of a Yes/No box.
class QtMessageBoxes final : public MessageBoxes {
public:
    void setParentWindow(QWidget* parent) { m_parent = parent; }
    MessageAnswer show(const std::string& text, MessageButtons buttons, MessageIcon icon,
                       const std::string& title) override;

private:
    QPointer<QWidget> m_parent;
};

} // namespace zembrel
