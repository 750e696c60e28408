#include "ui/qt/AboutDialog.h"

#include "info/FrmAbout.h"

#include <QLabel>
#include <QPushButton>

namespace zembrel {

AboutDialog::AboutDialog(std::function<void()> sysInfo, QWidget* parent)
    : QDialog(parent, FormRenderer::windowFlags(frmAboutForm())), m_form(frmAboutForm(), *this) {
    FormRenderer::nameWindow(frmAboutForm(), *this);
    setModal(true);
    connect(m_form.control<QPushButton>("cmdOK"), &QPushButton::clicked, this, &QDialog::accept);
    connect(m_form.control<QPushButton>("cmdSysInfo"), &QPushButton::clicked, this,
            [sysInfo = std::move(sysInfo)] { sysInfo(); });
    OpenAbout(*this);
}

void AboutDialog::setCaption(const std::string& caption) {
    setWindowTitle(QString::fromLocal8Bit(caption));
}

void AboutDialog::setText(const std::string& key, const std::string& text) {
    if (auto* label = m_form.control<QLabel>(key))
        label->setText(QString::fromLocal8Bit(text));
}

std::string AboutDialog::text(const std::string& key) const {
    const auto* label = m_form.control<QLabel>(key);
    return label ? label->text().toLocal8Bit().toStdString() : std::string();
}

} // namespace zembrel
