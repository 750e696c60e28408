#include "ui/qt/FrmVideoSet.h"

#include "media/FrmVideoSetForm.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace zembrel {

namespace {

QString shown(const std::string& text) {
    return QString::fromLocal8Bit(text);
}

} // namespace

FrmVideoSet::FrmVideoSet(const PlayerRows& players, QWidget* parent)
    : QDialog(parent, FormRenderer::windowFlags(frmVideoSetForm(players))),
      m_description(frmVideoSetForm(players)), m_form(m_description, *this) {
    FormRenderer::nameWindow(m_description, *this);
    setModal(true);
    for (int option = 0; option <= 3; ++option) {
        auto* button = m_form.control<QRadioButton>("Option1(" + std::to_string(option) + ")");
        connect(button, &QRadioButton::clicked, this, [this, option] {
            if (onChoice)
                onChoice(option);
        });
    }
    for (int row = 1; row <= 3; ++row)
        m_boxes[static_cast<std::size_t>(row)] = m_form.control<QLineEdit>(textBoxOfRow(row));
    connect(m_form.control<QPushButton>("cmdExit"), &QPushButton::clicked, this, &QWidget::close);
}

std::string FrmVideoSet::rowText(int option) const {
    const auto row = static_cast<std::size_t>(option);
    const QString text = m_boxes.at(row)->text();
    if (text == shown(m_set.at(row)))
        return m_set.at(row);
    return text.toLocal8Bit().toStdString();
}

void FrmVideoSet::setRowText(int option, const std::string& text) {
    const auto row = static_cast<std::size_t>(option);
    m_set.at(row) = text;
    m_boxes.at(row)->setText(shown(text));
}

} // namespace zembrel
